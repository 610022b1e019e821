// The rule editor: lists the user rule sets of the game folder and edits one at a time in the
// rule dialog, saving it with the date and time of the edit.
#pragma once

#include <ctime>
#include <functional>

#include "framework/window.h"
#include "gamedata/rules.h"

namespace kv {

class RuleEditorDialog : public Dialog {
public:
    static constexpr int kTemplateId = 112;
    static constexpr size_t kFirstUserSet = 2;  // rule files 2..21 belong to the user
    enum Control : int { kIdList = 1000, kIdEdit = 1001, kIdClose = 1002 };

    RuleEditorDialog(Window* owner, RuleData& rules);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;

    // Edits rule file `fileNumber` (2..21) in the rule dialog and saves it on OK. False when
    // nothing was saved.
    bool editRuleSet(size_t fileNumber);
    // Test seam: the clock the saved date and time come from.
    std::function<std::time_t()> now = [] { return std::time(nullptr); };

private:
    void refill();
    RuleData& rules_;
};

// The date and time texts of a saved rule set: "%04d/%02d/%02d" and "%02d:%02d:%02d".
void stampRuleSet(RuleSet& set, std::time_t when);

}  // namespace kv
