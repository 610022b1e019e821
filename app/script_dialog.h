// The editor's script run: the file asked for (its folder remembered), the run on the open map
// as one undo step, and a small window with what the script printed and the error it ended on.
#pragma once

#include <functional>
#include <string>

#include "framework/window.h"

namespace kv {

class MapDocument;

// What a run printed, then its error, shown with an OK button.
class ScriptOutputDialog : public Dialog {
public:
    static constexpr int kTemplateId = 230;
    enum Control : int { kIdText = 1000 };
    ScriptOutputDialog(Window* owner, std::string fileName, std::string text);
    int onInitDialog() override;
    const std::string& text() const { return text_; }

private:
    std::string text_;  // UTF-8
};

// The folder key of the script files.
inline constexpr const char* kScriptFolderKey = "ScriptPath";
inline constexpr const char* kRunScriptStepName = "スクリプト実行";

// Asks for a script file and runs it on the document as one undo step, then shows the output
// window. `mapReplaced` is called when the script opened another map or made a new one.
void runScriptFromMenu(Window* owner, MapDocument& doc, const std::function<void()>& mapReplaced);

}  // namespace kv
