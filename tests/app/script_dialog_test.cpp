// The Tools menu's script run: the chosen file runs on the open map as one undo step, and the
// output window shows what it printed and the error it ended on.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/script_dialog.h"
#include "document/map_file.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "tests/document/sample_document.h"

namespace {

using namespace kv;

class ScriptMenu : public kvtest::SampleDocument {
protected:
    void TearDown() override {
        setFileDialogHook(nullptr);
        Dialog::onModalStart = nullptr;
        SampleDocument::TearDown();
    }
    // Runs `source` as the chosen file; the text the output window showed.
    std::string runScript(const std::string& source, bool* replaced = nullptr) {
        const std::string path = dir_.file("edit.js");
        kvtest::writeFile(path, source);
        setFileDialogHook([&](FileDialogRequest& r) {
            startFolder_ = r.startFolder;
            return std::optional<std::string>(path);
        });
        std::string shown;
        Dialog::onModalStart = [&shown](Dialog& d) {
            QTimer::singleShot(0, [&d, &shown] {
                shown = d.control<QPlainTextEdit>(ScriptOutputDialog::kIdText)
                            ->toPlainText()
                            .toStdString();
                d.handle()->findChild<QPushButton*>(QString::number(kIdOk))->click();
            });
        };
        runScriptFromMenu(nullptr, doc(), [replaced] {
            if (replaced) *replaced = true;
        });
        return shown;
    }

    kvtest::TempDir dir_;
    std::string startFolder_;
};

TEST_F(ScriptMenu, ARunIsOneUndoStepAndItsOutputAndErrorAreShown) {
    const std::string before = mapFileBytes(doc(), MapFileKind::Intermediate);
    const std::string shown = runScript(
        "brush.terrain(1);\n"
        "for (var c = 0; c < 20; ++c) map.pen(c, 3);\n"
        "map.placeTroop(0, 1000, 4, 3);\n"
        "map.setLabel(5, 3, 'ここ');\n"
        "print('painted', map.troops(0).length);\n");
    EXPECT_EQ(shown, "painted 1\n");
    ASSERT_EQ(doc().history.doneSteps().size(), 1u);
    EXPECT_EQ(doc().history.undoStep().name, kRunScriptStepName);
    EXPECT_EQ(doc().isClean, 0);
    doc().history.undo();
    EXPECT_EQ(mapFileBytes(doc(), MapFileKind::Intermediate), before);
    EXPECT_EQ(readFolderKey(kScriptFolderKey), dir_.path()) << "the folder is remembered";

    // An error ends the run; what it did before stays as one step, and the window names the
    // line.
    const std::string failed =
        runScript("print('start');\nbrush.terrain(1);\nmap.pen(1, 1);\nmap.pen(1, 99);\n");
    EXPECT_EQ(startFolder_, dir_.path());
    EXPECT_NE(failed.find("start\nエラー: " + dir_.file("edit.js") + ":4: RangeError"),
              std::string::npos)
        << failed;
    EXPECT_EQ(doc().history.doneSteps().size(), 1u);

    bool replaced = false;
    runScript("newMap();\nprint(map.width);\n", &replaced);
    EXPECT_TRUE(replaced);
}

}  // namespace
