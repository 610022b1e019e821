// File and folder selection. The editor shows Qt's file dialogs; tests install a hook that
// answers for the user.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kv {

class Window;

struct FileDialogRequest {
    enum Kind { Open, Save, Folder } kind = Open;
    std::string title;        // UTF-8
    std::string startFolder;  // where the dialog opens
    // (caption, patterns): the caption is shown as it is, e.g. "ノヴァケステル2005(*.fws;*.fwm)";
    // the patterns, separated by ';' or blanks, pick the files listed under it.
    std::vector<std::pair<std::string, std::string>> filters;
    int filterIndex = 0;        // the filter chosen first; the chosen one comes back here
    std::string defaultSuffix;  // added to a typed name without one ("kvt")
};

// The chosen path (a folder for Folder requests), or nothing when cancelled.
std::optional<std::string> askForFile(FileDialogRequest& request, Window* owner);

// Test seam: answers every request instead of a dialog while installed.
using FileDialogHook = std::function<std::optional<std::string>(FileDialogRequest&)>;
void setFileDialogHook(FileDialogHook hook);

}  // namespace kv
