// The main frame's commands through the posted-message recorder, the prompter and the file
// dialog seam: zoom, undo while busy, the save flows and their dialogs' folders and filters,
// opening, the batch conversion, a screen size change, and the tool windows' echoes.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

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

using Filters = std::vector<std::pair<std::string, std::string>>;

TEST_F(Commands, FileDialogsShowEachKindUnderItsExactCaption) {
    answerFileDialogs(std::nullopt);
    frame->sendCommand(40014);
    frame->sendCommand(40043);  // without Shift: one map of an earlier edition
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].filters, (Filters{{"ケステルｿﾞﾙﾃｱ中間ﾃﾞｰﾀ(*.kvt)", "*.kvt"}}));
    EXPECT_EQ(requests[1].filters, (Filters{{"リアルタイム版ケステルドラヴィ1.0(*.wtm)", "*.wtm"},
                                            {"ケステルドラヴィ2.0(*.qus;*.qum)", "*.qus;*.qum"},
                                            {"ケステルドラヴィ2.0DX(*.bxm;*.bxs)", "*.bxm;*.bxs"},
                                            {"ノヴァケステル2005(*.fws;*.fwm)", "*.fws;*.fwm"}}));

    // The map selection's browse button picks a map of every kind it reads, and the map
    // picked is the one opened.
    answerFileDialogs(dir.file("map/demo_map.kvn"));
    Dialog::onModalStart = [](Dialog& d) {
        QTimer::singleShot(0, [&d] {
            d.sendCommand(1001);
            d.sendCommand(1);
        });
    };
    frame->sendCommand(40012);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[2].filters, (Filters{{"ケステルｿﾞﾙﾃｱﾏｯﾌﾟﾃﾞｰﾀ(*.kvn)", "*.kvn"},
                                            {"ケステルｿﾞﾙﾃｱｼﾅﾘｵﾃﾞｰﾀ(*.kvs)", "*.kvs"},
                                            {"ケステルｿﾞﾙﾃｱｼﾝﾌﾟﾙﾓｰﾄﾞﾃﾞｰﾀ(*.ksm)", "*.ksm"},
                                            {"ケステルｿﾞﾙﾃｱ中間ﾃﾞｰﾀ(*.kvt)", "*.kvt"},
                                            {"ケステルｿﾞﾙﾃｱｼﾝﾌﾟﾙﾓｰﾄﾞ中間ﾃﾞｰﾀ(*.kst)", "*.kst"}}));
    EXPECT_EQ(doc->filePath, dir.file("map/demo_map.kvn"));

    // The demo scenario passes the map check: both map saves offer only their own kind.
    answerFileDialogs(std::nullopt);
    requests.clear();
    prompts.script = {PromptAnswer::Yes, PromptAnswer::Yes};
    ASSERT_TRUE(frame->openMapFile(dir.file("map/demo_scenario.kvs")));
    frame->sendCommand(40025);
    frame->sendCommand(40093);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].filters, (Filters{{"ケステルｿﾞﾙﾃｱﾏｯﾌﾟﾃﾞｰﾀ(*.kvn)", "*.kvn"}}));
    EXPECT_EQ(requests[1].filters, (Filters{{"ケステルｿﾞﾙﾃｱｼﾅﾘｵﾃﾞｰﾀ(*.kvs)", "*.kvs"}}));
}

TEST_F(Commands, FolderKeysComeBackAsTheyWereWritten) {
    // Folders are stored as CP932 and must read back as the same UTF-8 names.
    const std::string folder = dir.file("中間データ　保存");
    std::filesystem::create_directories(folder);
    answerFileDialogs(folder + "/北方.kvt");
    prompts.script = {PromptAnswer::Yes};  // overwrite, the second time
    frame->sendCommand(40014);
    frame->sendCommand(40014);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].startFolder, folder);
    EXPECT_EQ(ProfileEntry("Environment", "TmpPath").readValue(), encodeCp932(folder));

    writeFolderKey("OtherPath", dir.file("旧版マップ"));
    writeFolderKey("MapPath", dir.file("地図"));
    answerFileDialogs(std::nullopt);
    frame->sendCommand(40043);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[2].startFolder, dir.file("旧版マップ"));
    std::string mapFolder;
    Dialog::onModalStart = [&mapFolder](Dialog& d) {
        mapFolder = d.handle()->findChild<QLineEdit*>("1000")->text().toStdString();
        QTimer::singleShot(0, [&d] { d.sendCommand(2); });
    };
    frame->sendCommand(40012);
    EXPECT_EQ(mapFolder, dir.file("地図"));
}

// Runs a command with Shift held down.
void withShift(MainFrame* frame, int id) {
    QTest::keyPress(frame->handle(), Qt::Key_Shift, Qt::ShiftModifier);
    frame->sendCommand(id);
    QTest::keyRelease(frame->handle(), Qt::Key_Shift, Qt::NoModifier);
}

TEST_F(Commands, ABatchAsksToSaveFirstAndLeavesANewMapToEdit) {
    std::filesystem::create_directories(dir.file("out"));
    doc->cellAt(1, 1)->terrain = 1;
    doc->isClean = 0;
    std::vector<std::string> dialogs;
    int answer = 2;  // ｷｬﾝｾﾙ to the save question: no batch
    Dialog::onModalStart = [&](Dialog& d) {
        dialogs.push_back(d.handle()->windowTitle().toStdString());
        QTimer::singleShot(0, [&d, &answer, this] {
            if (d.templateId() != 172) {
                d.handle()->findChild<QPushButton*>(QString::number(answer))->click();
                return;
            }
            d.handle()->findChild<QLineEdit*>("1002")->setText(
                QString::fromStdString(dir.file("map/legacy")));
            d.handle()->findChild<QLineEdit*>("1004")->setText(
                QString::fromStdString(dir.file("out")));
            d.sendCommand(1006);
            d.sendCommand(2);
        });
    };
    withShift(frame, 40043);
    EXPECT_EQ(dialogs, std::vector<std::string>{"確認"});
    EXPECT_EQ(doc->cellAt(1, 1)->terrain, 1);

    answer = 7;  // いいえ
    dialogs.clear();
    withShift(frame, 40043);
    EXPECT_EQ(dialogs, (std::vector<std::string>{"確認", "マップ一括変換"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("out")),
                            std::filesystem::directory_iterator()),
              4);
    // A new map to edit, the menus working and the title naming no converted file.
    EXPECT_EQ(doc->documentOpen, 1);
    EXPECT_EQ(doc->isClean, 1);
    EXPECT_TRUE(doc->filePath.empty());
    EXPECT_EQ(doc->mapHeader.mapName(), *encodeCp932("新規マップ"));
    for (int menu : {0, 1, 3}) emit frame->topMenu(menu)->aboutToShow();
    for (int id : {40007, 40012, 40014, 40025, 40044, 40066, 40034, 40009, 40010})
        EXPECT_TRUE(frame->action(id)->isEnabled()) << id;
    QCoreApplication::processEvents();
    EXPECT_EQ(widget->windowTitle().toStdString(), MainFrame::titleFor(*doc));
    EXPECT_EQ(widget->windowTitle().toStdString().find(" - "), std::string::npos);
}

TEST_F(Commands, PackingTheTroopNumbersMarksTheMapChanged) {
    ASSERT_EQ(doc->isClean, 1);
    frame->sendCommand(40066);
    EXPECT_EQ(doc->isClean, 0);
}

TEST_F(Commands, AScreenSizeChangeDrawsTheMapAnewAndTellsTheHqMap) {
    frame->tools().setFactory(ToolKind::HqMap, [] {
        FakeTool* t = newWindow<FakeTool>();
        t->create();
        return t;
    });
    frame->sendCommand(40022);
    Window* hq = frame->tools().window(ToolKind::HqMap);
    ASSERT_NE(hq, nullptr);
    doc->viewSettings.redrawGrid.markAllClean();
    posted.clear();
    QScreen* screen = widget->windowHandle()->screen();
    ASSERT_NE(screen, nullptr);
    emit screen->geometryChanged(screen->geometry());
    EXPECT_EQ(postedTo(hq), std::vector<uint32_t>{1131});
    // Hexes out of sight are left to be drawn when they come into view.
    ASSERT_FALSE(frame->mapView()->isHexVisible(63, 63));
    EXPECT_TRUE(doc->viewSettings.redrawGrid.isDirty(63, 63));
    frame->sendCommand(40022);
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
