// The rule dialog: chooses the rules of a scenario (a rule set or each rule by hand), or edits
// one of the user rule sets for the rule editor.
#pragma once

#include <array>
#include <bitset>

#include "app/picture_dialog.h"
#include "gamedata/rules.h"

namespace kv {

class RuleSettingsDialog : public PictureDialog {
public:
    static constexpr int kWidth = 840, kHeight = 560;
    enum Control : int {
        kIdRuleSet = 1000,
        kIdFirstLeft = 1001,   // + rule number: the rule on
        kIdFirstRight = 1052,  // + rule number: the rule off
        kIdOkButton = 1103,
        kIdCancelButton = 1104,
        kIdName = 1105,
    };
    enum Mode : int { ChooseForScenario = 0, EditRuleSet = 1 };

    // One row of the dialog: the rule, where its two buttons are, and its face pair.
    struct Row {
        int rule;
        int x, y;
        int face;  // left face 100 × face, right face 100 × (face + 1)
    };
    static const std::array<Row, 17> kRows;
    // The rule whose value 0 means "on".
    static constexpr int kInvertedRule = 25;

    // `rules` offers the rule sets (mode 0); `ruleSet` is edited on a copy.
    RuleSettingsDialog(Window* owner, const RuleData& rules, RuleSet ruleSet, Mode mode);
    void addControls() override;
    int onCommand(MessageRecord& m, int id, int code) override;

    // After OK: the edited name and record.
    const RuleSet& ruleSet() const { return ruleSet_; }
    // Whether the rule buttons can be changed now.
    bool editable() const;

private:
    void fill();
    // The rules that need another shown off while it is off; -1 at filling, else the rule
    // just clicked (turning it on enables its dependent again).
    void applyDependencies(int changedRule);
    void store();
    void clickRule(int rule, bool on);
    bool shownOn(int rule) const;
    int rowOf(int rule) const;

    const RuleData& rules_;
    RuleSet ruleSet_;
    Mode mode_;
    // Rows the user set by hand; only they (and the rules shown off by a rule they depend
    // on) are stored, so that a value kept as it was stays byte for byte.
    std::bitset<kRuleCount> touched_;
    bool filling_ = false;
};

}  // namespace kv
