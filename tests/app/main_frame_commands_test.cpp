// The main frame's commands through the posted-message recorder, the prompter and the file
// dialog seam: zoom, undo while busy, the save flows, opening, and the tool windows' echoes.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/main_frame.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/cp932.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/test_paths.h"
#include "view/map_view.h"

namespace kv {
namespace {

struct FakeTool : Window {
    FakeTool() { setClassName("KOBMEC_TOOLWINDOW_CNAME"); }
};

class Commands : public testing::Test {
protected:
    void SetUp() override {
        kvtest::copySampleData(dir.path());
        setProgramPath(dir.file("kvornme"));
        doc = std::make_unique<MapDocument>();
        doc->loadResources();
        doc->resetToNewMap();
        frame = newWindow<MainFrame>(*doc);
        ASSERT_TRUE(frame->create());
        widget = frame->handle();
        QCoreApplication::processEvents();
        recordPosts(&posted);
    }
    void TearDown() override {
        recordPosts(nullptr);
        setFileDialogHook(nullptr);
        Dialog::onModalStart = nullptr;
        if (widget) delete widget.data();
        QCoreApplication::processEvents();
        doc.reset();
        setProgramPath("");
    }
    std::vector<uint32_t> postedTo(Window* w) const {
        std::vector<uint32_t> out;
        for (const PostedMessage& p : posted)
            if (p.target == w) out.push_back(p.message);
        return out;
    }
    void answerFileDialogs(std::optional<std::string> path) {
        setFileDialogHook([this, path](FileDialogRequest& r) {
            requests.push_back(r);
            return path;
        });
    }

    kvtest::TempDir dir;
    std::unique_ptr<MapDocument> doc;
    MainFrame* frame = nullptr;
    QPointer<QWidget> widget;
    std::vector<PostedMessage> posted;
    std::vector<FileDialogRequest> requests;
    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(Commands, TheActiveZoomPostsNothingAnotherRepaints) {
    doc->viewSettings.hexSize = 32;
    doc->viewSettings.redrawGrid.markAllClean();
    frame->sendCommand(40009);
    EXPECT_TRUE(posted.empty());
    EXPECT_FALSE(doc->viewSettings.redrawGrid.isDirty(5, 5));
    frame->sendCommand(40091);
    EXPECT_EQ(doc->viewSettings.hexSize, 48);
    EXPECT_EQ(postedTo(frame->mapView()), (std::vector<uint32_t>{1141, 1129}));
    EXPECT_TRUE(doc->viewSettings.redrawGrid.isDirty(5, 5));
}

TEST_F(Commands, UndoAndRedoWaitWhileATroopIsMoved) {
    doc->recordHex(3, 3);
    doc->cellAt(3, 3)->terrain = 1;
    doc->interactionBusy = 1;
    frame->sendCommand(40026);
    widget->show();
    QApplication::setActiveWindow(widget);
    QTest::keyClick(widget, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(doc->cellAt(3, 3)->terrain, 1);
    EXPECT_EQ(doc->undoStack.size(), 1u);
    doc->interactionBusy = 0;
    QTest::keyClick(widget, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(doc->cellAt(3, 3)->terrain, 30);
    EXPECT_EQ(doc->isClean, 0);
    QTest::keyClick(widget, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(doc->cellAt(3, 3)->terrain, 1);
}

TEST_F(Commands, SaveOnAScenarioPathOffersTheIntermediateName) {
    const std::string path = dir.file("map/north.kvs");
    std::filesystem::create_directories(dir.file("map"));
    doc->filePath = path;
    doc->isClean = 0;
    prompts.script = {PromptAnswer::No};
    frame->sendCommand(40013);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].text, "中間ファイル north.kvt として保存しますか？");
    // No: the intermediate data goes to the .kvs path itself.
    const std::string written = kvtest::readFile(path);
    ASSERT_GT(written.size(), 600u);
    EXPECT_EQ(written.substr(536 + 16063, 16), "SULKAMPTMP000000");  // the map header record
    EXPECT_EQ(doc->isClean, 1);
    prompts.script = {PromptAnswer::Yes};
    doc->isClean = 0;
    frame->sendCommand(40013);
    EXPECT_TRUE(std::filesystem::exists(dir.file("map/north.kvt")));
    EXPECT_EQ(doc->filePath, dir.file("map/north.kvt"));
}

TEST_F(Commands, SavingAsAMapChecksAndAsksAboutTheScenarioSettings) {
    // The new map fails the check: the check dialog shows and nothing is written.
    std::vector<std::string> dialogs;
    Dialog::onModalStart = [&dialogs](Dialog& d) {
        dialogs.push_back(d.handle()->windowTitle().toStdString());
        QTimer::singleShot(0, [&d] { d.sendCommand(1); });
    };
    answerFileDialogs(dir.file("out.kvn"));
    frame->sendCommand(40025);
    EXPECT_EQ(dialogs, std::vector<std::string>{"マップチェック"});
    EXPECT_TRUE(requests.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.kvn")));

    // The demo scenario passes; saving it as a normal map asks once about its texts.
    ASSERT_TRUE(frame->openMapFile(dir.file("map/demo_scenario.kvs")));
    dialogs.clear();
    prompts.script = {PromptAnswer::Yes};
    frame->sendCommand(40025);
    EXPECT_TRUE(dialogs.empty());
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].text,
              "シナリオ設定が入力されているデータを、マップデータとして保存しようとしています。"
              "\nシナリオ設定は保存されませんが、よろしいですか？");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "ﾉｰﾏﾙﾏｯﾌﾟﾌｧｲﾙとして保存");
    EXPECT_TRUE(std::filesystem::exists(dir.file("out.kvn")));
    EXPECT_EQ(doc->filePath, dir.file("map/demo_scenario.kvs"));  // unchanged by this save
    EXPECT_EQ(readFolderKey("MapPath"), dir.path());
}

TEST_F(Commands, OpenLoadsTheChosenMapAndTellsTheViews) {
    QStringList kinds, files;
    Dialog::onModalStart = [&](Dialog& d) {
        QTimer::singleShot(0, [&] {
            auto* tree = d.handle()->findChild<QTreeWidget*>("1002");
            for (int k = 0; k < tree->topLevelItemCount(); ++k) {
                QTreeWidgetItem* top = tree->topLevelItem(k);
                kinds << top->text(0);
                for (int i = 0; i < top->childCount(); ++i) {
                    files << top->child(i)->text(0);
                    if (top->child(i)->text(0) == "demo_scenario.kvs")
                        tree->setCurrentItem(top->child(i));
                }
            }
            d.sendCommand(1);
        });
    };
    frame->sendCommand(40012);
    EXPECT_EQ(kinds, QStringList({"ノーマル", "シナリオ", "シンプル", "中間データ"}));
    EXPECT_EQ(files, QStringList({"demo_map.kvn", "demo_scenario.kvs"}));
    EXPECT_EQ(doc->filePath, dir.file("map/demo_scenario.kvs"));
    EXPECT_EQ(doc->isClean, 1);
    EXPECT_EQ(doc->width(), 48);
    const std::vector<uint32_t> toView = postedTo(frame->mapView());
    EXPECT_NE(std::find(toView.begin(), toView.end(), 1131u), toView.end());
    QCoreApplication::processEvents();
    EXPECT_NE(widget->windowTitle().toStdString().find(" - " + dir.file("map/demo_scenario.kvs")),
              std::string::npos);
}

TEST_F(Commands, YesToTheSaveQuestionSavesFirstAndGoesOnOnlyWhenSaved) {
    auto answer = [](int id) {
        Dialog::onModalStart = [id](Dialog& d) {
            QTimer::singleShot(0, [&d, id] {
                d.handle()->findChild<QPushButton*>(QString::number(id))->click();
            });
        };
    };
    doc->cellAt(1, 1)->terrain = 1;
    doc->isClean = 0;
    answer(6);                  // はい
    answerFileDialogs(std::nullopt);  // ... but the save dialog is cancelled
    frame->sendCommand(40007);
    EXPECT_EQ(doc->cellAt(1, 1)->terrain, 1);  // nothing lost, no new map
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "中間ﾌｧｲﾙで名前を付けて保存");

    answerFileDialogs(dir.file("kept.kvt"));
    frame->sendCommand(40007);
    EXPECT_TRUE(std::filesystem::exists(dir.file("kept.kvt")));
    EXPECT_EQ(readFolderKey("TmpPath"), dir.path());
    EXPECT_EQ(doc->cellAt(1, 1)->terrain, 30);  // saved, then the new map
    EXPECT_EQ(doc->isClean, 1);
    MapDocument back;
    back.loadResources();
    ASSERT_TRUE(readMapFile(back, dir.file("kept.kvt")));
    EXPECT_EQ(back.cellAt(1, 1)->terrain, 1);
}

TEST_F(Commands, AClosedPaletteTellsTheToolWindowOnlyFromItsCloseBox) {
    frame->tools().setFactory(ToolKind::ToolWindow, [] {
        FakeTool* t = newWindow<FakeTool>();
        t->create();
        return t;
    });
    frame->tools().setFactory(ToolKind::TerrainPalette, [] {
        FakeTool* t = newWindow<FakeTool>();
        t->create();
        return t;
    });
    frame->sendCommand(40031);  // the tool window
    Window* tool = frame->tools().window(ToolKind::ToolWindow);
    ASSERT_NE(tool, nullptr);
    frame->sendCommand(40032);  // open the terrain palette from the menu
    EXPECT_EQ(postedTo(tool), std::vector<uint32_t>{1134});
    posted.clear();
    postMessage(frame, 1141, 1);  // its close box
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame->tools().isOpen(ToolKind::TerrainPalette));
    EXPECT_EQ(postedTo(tool), std::vector<uint32_t>{1134});
    EXPECT_EQ(ProfileEntry("Environment", "ShowLandPaletteWin").readInt(-1), 0);
    posted.clear();
    postMessage(frame, 1140, 0);  // opened by someone else: no echo
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->tools().isOpen(ToolKind::TerrainPalette));
    EXPECT_TRUE(postedTo(tool).empty());
}

}  // namespace
}  // namespace kv
