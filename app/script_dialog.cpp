// The script run of the Tools menu and its output window.
#include "app/script_dialog.h"

#include <QApplication>
#include <QPlainTextEdit>

#include <filesystem>
#include <optional>
#include <utility>

#include "document/map_document.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "script/script_runner.h"

namespace kv {

ScriptOutputDialog::ScriptOutputDialog(Window* ownerWindow, std::string fileName, std::string text)
    : Dialog(kTemplateId, ownerWindow), text_(std::move(text)) {
    title = "スクリプト実行 - " + fileName;
    setFixedClientSize(480, 300);
}

int ScriptOutputDialog::onInitDialog() {
    QPlainTextEdit* edit = addMultiLineEdit(kIdText, 10, 10, 460, 244);
    edit->setReadOnly(true);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setPlainText(QString::fromStdString(text_));
    addButton(kIdOk, "OK", 200, 264, 80, 26)->setDefault(true);
    return 0;
}

void runScriptFromMenu(Window* owner, MapDocument& doc, const std::function<void()>& mapReplaced) {
    FileDialogRequest r;
    r.kind = FileDialogRequest::Open;
    r.title = "スクリプト実行";
    r.startFolder = readFolderKey(kScriptFolderKey);
    r.filters = {{"JavaScript(*.js)", "*.js"}, {"すべてのファイル(*.*)", "*"}};
    const std::optional<std::string> path = askForFile(r, owner);
    if (!path) return;
    writeFolderKey(kScriptFolderKey, std::filesystem::path(*path).parent_path().string());

    std::string output;
    ScriptRunner runner(doc);
    runner.setStepName(kRunScriptStepName);
    runner.setPrint([&output](const std::string& line) { output += line + "\n"; });
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ScriptResult result = runner.runFile(*path);
    QApplication::restoreOverrideCursor();
    if (result.mapReplaced) {
        doc.isClean = 0;
        if (mapReplaced) mapReplaced();
    }
    if (!result.ok) output += "エラー: " + result.error + "\n";
    if (output.empty()) output = "(出力はありません)\n";
    ScriptOutputDialog d(owner, std::filesystem::path(*path).filename().string(), output);
    d.run();
}

}  // namespace kv
