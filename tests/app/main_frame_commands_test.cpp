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

#include "app/batch_dialog.h"
#include "app/main_frame.h"
#include "app/map_open_dialog.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/cp932.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/editor_fixture.h"
#include "view/map_view.h"
#include "view/window_messages.h"

namespace kv {
namespace {

struct FakeTool : Window {
    FakeTool() { setClassName("KOBMEC_TOOLWINDOW_CNAME"); }
};

class Commands : public kvtest::EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        recordPosts(&posted);
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

    std::vector<PostedMessage> posted;
    std::vector<FileDialogRequest> requests;
    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(Commands, TheActiveZoomPostsNothingAnotherRepaints) {
    doc->viewSettings.hexSize = 32;
    doc->viewSettings.redrawGrid.markAllClean();
    frame->sendCommand(cmd::Zoom32);
    EXPECT_TRUE(posted.empty());
    EXPECT_FALSE(doc->viewSettings.redrawGrid.isDirty(5, 5));
    frame->sendCommand(cmd::Zoom48);
    EXPECT_EQ(doc->viewSettings.hexSize, 48);
    EXPECT_EQ(postedTo(frame->mapView()),
              (std::vector<uint32_t>{viewmsg::RebuildSheets, viewmsg::Redraw}));
    EXPECT_TRUE(doc->viewSettings.redrawGrid.isDirty(5, 5));
}

TEST_F(Commands, UndoAndRedoWaitWhileATroopIsMoved) {
    doc->history.recordHex(3, 3);
    doc->cellAt(3, 3)->terrain = 1;
    doc->tool.interactionBusy = 1;
    frame->sendCommand(cmd::Undo);
    widget->show();
    QApplication::setActiveWindow(widget);
    QTest::keyClick(widget, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(doc->cellAt(3, 3)->terrain, 1);
    EXPECT_EQ(doc->history.undoStack().size(), 1u);
    doc->tool.interactionBusy = 0;
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
    frame->sendCommand(cmd::SaveIntermediate);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].text, "中間ファイル north.kvt として保存しますか？");
    // No: the intermediate data goes to the .kvs path itself.
    const std::string written = kvtest::readFile(path);
    ASSERT_GT(written.size(), 600u);
    EXPECT_EQ(written.substr(536 + 16063, 16), "SULKAMPTMP000000");  // the map header record
    EXPECT_EQ(doc->isClean, 1);
    prompts.script = {PromptAnswer::Yes};
    doc->isClean = 0;
    frame->sendCommand(cmd::SaveIntermediate);
    EXPECT_TRUE(std::filesystem::exists(dir.file("map/north.kvt")));
    EXPECT_EQ(doc->filePath, dir.file("map/north.kvt"));
}

TEST_F(Commands, SavingAsAMapChecksAndAsksAboutTheScenarioSettings) {
    // The new map fails the check: the check dialog shows and nothing is written.
    std::vector<std::string> dialogs;
    Dialog::onModalStart = [&dialogs](Dialog& d) {
        dialogs.push_back(d.handle()->windowTitle().toStdString());
        QTimer::singleShot(0, [&d] { d.sendCommand(kIdOk); });
    };
    answerFileDialogs(dir.file("out.kvn"));
    frame->sendCommand(cmd::SaveNormalMap);
    EXPECT_EQ(dialogs, std::vector<std::string>{"マップチェック"});
    EXPECT_TRUE(requests.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.kvn")));

    // The demo scenario passes; saving it as a normal map asks once about its texts.
    ASSERT_TRUE(frame->openMapFile(dir.file("map/demo_scenario.kvs")));
    dialogs.clear();
    prompts.script = {PromptAnswer::Yes};
    frame->sendCommand(cmd::SaveNormalMap);
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
            d.sendCommand(kIdOk);
        });
    };
    frame->sendCommand(cmd::OpenMap);
    EXPECT_EQ(kinds, QStringList({"ノーマル", "シナリオ", "シンプル", "中間データ"}));
    EXPECT_EQ(files, QStringList({"demo_map.kvn", "demo_scenario.kvs"}));
    EXPECT_EQ(doc->filePath, dir.file("map/demo_scenario.kvs"));
    EXPECT_EQ(doc->isClean, 1);
    EXPECT_EQ(doc->width(), 48);
    const std::vector<uint32_t> toView = postedTo(frame->mapView());
    EXPECT_NE(std::find(toView.begin(), toView.end(), viewmsg::NewMap), toView.end());
    QCoreApplication::processEvents();
    EXPECT_NE(widget->windowTitle().toStdString().find(" - " + dir.file("map/demo_scenario.kvs")),
              std::string::npos);
}

TEST_F(Commands, YesToTheSaveQuestionSavesFirstAndGoesOnOnlyWhenSaved) {
    auto answer = [](int id) {
        Dialog::onModalStart = [id](Dialog& d) {
            QTimer::singleShot(
                0, [&d, id] { d.handle()->findChild<QPushButton*>(QString::number(id))->click(); });
        };
    };
    doc->cellAt(1, 1)->terrain = 1;
    doc->isClean = 0;
    answer(kIdYes);
    answerFileDialogs(std::nullopt);  // ... but the save dialog is cancelled
    frame->sendCommand(cmd::NewMap);
    EXPECT_EQ(doc->cellAt(1, 1)->terrain, 1);  // nothing lost, no new map
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "中間ﾌｧｲﾙで名前を付けて保存");

    answerFileDialogs(dir.file("kept.kvt"));
    frame->sendCommand(cmd::NewMap);
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
    frame->sendCommand(cmd::SaveIntermediateAs);
    frame->sendCommand(cmd::OpenEarlierEdition);  // without Shift: one map of an earlier edition
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
            d.sendCommand(MapOpenDialog::kIdBrowse);
            d.sendCommand(kIdOk);
        });
    };
    frame->sendCommand(cmd::OpenMap);
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
    frame->sendCommand(cmd::SaveNormalMap);
    frame->sendCommand(cmd::SaveScenarioMap);
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
    frame->sendCommand(cmd::SaveIntermediateAs);
    frame->sendCommand(cmd::SaveIntermediateAs);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].startFolder, folder);
    EXPECT_EQ(ProfileEntry("Environment", "TmpPath").readValue(), encodeCp932(folder));

    writeFolderKey("OtherPath", dir.file("旧版マップ"));
    writeFolderKey("MapPath", dir.file("地図"));
    answerFileDialogs(std::nullopt);
    frame->sendCommand(cmd::OpenEarlierEdition);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[2].startFolder, dir.file("旧版マップ"));
    std::string mapFolder;
    Dialog::onModalStart = [&mapFolder](Dialog& d) {
        mapFolder = d.handle()->findChild<QLineEdit*>("1000")->text().toStdString();
        QTimer::singleShot(0, [&d] { d.sendCommand(kIdCancel); });
    };
    frame->sendCommand(cmd::OpenMap);
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
    int answer = kIdCancel;  // to the save question: no batch
    Dialog::onModalStart = [&](Dialog& d) {
        dialogs.push_back(d.handle()->windowTitle().toStdString());
        QTimer::singleShot(0, [&d, &answer, this] {
            if (d.templateId() != BatchDialog::kTemplateId) {
                d.handle()->findChild<QPushButton*>(QString::number(answer))->click();
                return;
            }
            d.handle()->findChild<QLineEdit*>("1002")->setText(
                QString::fromStdString(dir.file("map/legacy")));
            d.handle()->findChild<QLineEdit*>("1004")->setText(
                QString::fromStdString(dir.file("out")));
            d.sendCommand(BatchDialog::kIdStart);
            d.sendCommand(kIdCancel);
        });
    };
    withShift(frame, cmd::OpenEarlierEdition);
    EXPECT_EQ(dialogs, std::vector<std::string>{"確認"});
    EXPECT_EQ(doc->cellAt(1, 1)->terrain, 1);

    answer = kIdNo;
    dialogs.clear();
    withShift(frame, cmd::OpenEarlierEdition);
    EXPECT_EQ(dialogs, (std::vector<std::string>{"確認", "マップ一括変換"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("out")),
                            std::filesystem::directory_iterator()),
              4);
    // A new map to edit, the menus working and the title naming no converted file.
    EXPECT_EQ(doc->documentOpen, 1);
    EXPECT_EQ(doc->isClean, 1);
    EXPECT_TRUE(doc->filePath.empty());
    EXPECT_EQ(doc->mapHeader.mapName(), *encodeCp932("新規マップ"));
    for (cmd::Menu menu : {cmd::Menu::File, cmd::Menu::Edit, cmd::Menu::View})
        emit frame->menu(menu)->aboutToShow();
    for (int id :
         {cmd::NewMap, cmd::OpenMap, cmd::SaveIntermediateAs, cmd::SaveNormalMap, cmd::MapSize,
          cmd::PackTroopNumbers, cmd::MapCheck, cmd::Zoom32, cmd::ShowHexFrame})
        EXPECT_TRUE(frame->action(id)->isEnabled()) << id;
    QCoreApplication::processEvents();
    EXPECT_EQ(widget->windowTitle().toStdString(), MainFrame::titleFor(*doc));
    EXPECT_EQ(widget->windowTitle().toStdString().find(" - "), std::string::npos);
}

TEST_F(Commands, PackingTheTroopNumbersMarksTheMapChanged) {
    ASSERT_EQ(doc->isClean, 1);
    frame->sendCommand(cmd::PackTroopNumbers);
    EXPECT_EQ(doc->isClean, 0);
}

TEST_F(Commands, EditsTellOnlyTheWindowsThatShowWhatChanged) {
    const ToolKind kinds[] = {
        ToolKind::HqMap,      ToolKind::BuildingCount,  ToolKind::TerrainLabelList,
        ToolKind::TroopTable, ToolKind::TroopLabelList, ToolKind::TroopPalette};
    for (ToolKind k : kinds) {
        frame->tools().setFactory(k, [] {
            FakeTool* t = newWindow<FakeTool>();
            t->create();
            return t;
        });
        ASSERT_TRUE(frame->tools().open(k));
    }
    auto told = [this](ToolKind k) { return postedTo(frame->tools().window(k)); };
    using V = std::vector<uint32_t>;
    // An undo, even of nothing, may have touched anything.
    posted.clear();
    frame->sendCommand(cmd::Undo);
    EXPECT_EQ(postedTo(frame->mapView()), V{viewmsg::Redraw});
    EXPECT_EQ(told(ToolKind::HqMap), V{hqmsg::Redraw});
    EXPECT_EQ(told(ToolKind::BuildingCount), V{buildingmsg::Recount});
    EXPECT_EQ(told(ToolKind::TerrainLabelList), V{labellistmsg::Redraw});
    EXPECT_EQ(told(ToolKind::TroopTable), V{trooptablemsg::Redraw});
    EXPECT_EQ(told(ToolKind::TroopLabelList), V{labellistmsg::Redraw});
    EXPECT_TRUE(told(ToolKind::TroopPalette).empty());
    // Packing the troop numbers concerns the troop windows only.
    posted.clear();
    frame->sendCommand(cmd::PackTroopNumbers);
    EXPECT_TRUE(postedTo(frame->mapView()).empty());
    EXPECT_TRUE(told(ToolKind::HqMap).empty());
    EXPECT_TRUE(told(ToolKind::BuildingCount).empty());
    EXPECT_EQ(told(ToolKind::TroopTable), V{trooptablemsg::Redraw});
    EXPECT_EQ(told(ToolKind::TroopLabelList), V{labellistmsg::Redraw});
    EXPECT_EQ(told(ToolKind::TroopPalette), V{trooppalettemsg::NewTroops});
    // A hex painted is drawn at once; only the overview is told to recolour it.
    posted.clear();
    ASSERT_TRUE(frame->mapView()->isHexVisible(2, 2));
    {
        EditOperation op(*doc);
        TerrainBrush plain;
        plain.valid = 1;
        plain.terrainId = kTerrainPlain;
        plain.picture = 1;
        doc->setTerrain(2, 2, plain);
        EXPECT_TRUE(doc->viewSettings.redrawGrid.isDirty(2, 2));
    }
    EXPECT_FALSE(doc->viewSettings.redrawGrid.isDirty(2, 2));
    EXPECT_TRUE(frame->mapView()->changedHexes().empty());
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(told(ToolKind::HqMap), V{hqmsg::RedrawHex});
    EXPECT_EQ(posted[0].wParam, 2u);
    EXPECT_EQ(posted[0].lParam, 2);
    for (ToolKind k : kinds) frame->tools().close(k);
}

TEST_F(Commands, AScreenSizeChangeDrawsTheMapAnewAndTellsTheHqMap) {
    frame->tools().setFactory(ToolKind::HqMap, [] {
        FakeTool* t = newWindow<FakeTool>();
        t->create();
        return t;
    });
    frame->sendCommand(cmd::HqMap);
    Window* hq = frame->tools().window(ToolKind::HqMap);
    ASSERT_NE(hq, nullptr);
    doc->viewSettings.redrawGrid.markAllClean();
    posted.clear();
    QScreen* screen = widget->windowHandle()->screen();
    ASSERT_NE(screen, nullptr);
    emit screen->geometryChanged(screen->geometry());
    EXPECT_EQ(postedTo(hq), std::vector<uint32_t>{hqmsg::ViewMoved});
    // Hexes out of sight are left to be drawn when they come into view.
    ASSERT_FALSE(frame->mapView()->isHexVisible(63, 63));
    EXPECT_TRUE(doc->viewSettings.redrawGrid.isDirty(63, 63));
    frame->sendCommand(cmd::HqMap);
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
    frame->sendCommand(cmd::ToolWindow);  // the tool window
    Window* tool = frame->tools().window(ToolKind::ToolWindow);
    ASSERT_NE(tool, nullptr);
    frame->sendCommand(cmd::TerrainPalette);  // open the terrain palette from the menu
    EXPECT_EQ(postedTo(tool), std::vector<uint32_t>{toolmsg::TerrainPaletteToggled});
    posted.clear();
    postMessage(frame, mainmsg::CloseTerrainPalette, mainmsg::FromCloseBox);
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame->tools().isOpen(ToolKind::TerrainPalette));
    EXPECT_EQ(postedTo(tool), std::vector<uint32_t>{toolmsg::TerrainPaletteToggled});
    EXPECT_EQ(ProfileEntry("Environment", "ShowLandPaletteWin").readInt(-1), 0);
    posted.clear();
    postMessage(frame, mainmsg::OpenTerrainPalette, 0);  // opened by someone else: no echo
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->tools().isOpen(ToolKind::TerrainPalette));
    EXPECT_TRUE(postedTo(tool).empty());
}

}  // namespace
}  // namespace kv
