// The main frame: the menu bar against the command table, check marks, accelerators, the
// frame's size, the title rule, the version dialog and the exit flow.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/main_frame.h"
#include "app/menu_state.h"
#include "document/map_document.h"
#include "framework/cp932.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/test_paths.h"
#include "view/map_view.h"

namespace kv {
namespace {

struct Item {
    int id;
    const char* caption;
};

// Every menu item, menu by menu, in order (separators and sub-menu titles aside). The ids are
// numbers here on purpose: this pins the command ids themselves.
// clang-format off
const std::vector<std::vector<Item>> kExpectedMenus = {
    {{40007, "新規作成(&N)\tCtrl+N"}, {40048, "下絵を開く(&D)"}, {40053, "下絵を貼り付ける(&U)"},
     {40085, "下絵を移動する(&M)"}, {40012, "ﾏｯﾌﾟを開く(&O)\tCtrl+O"},
     {40043, "ケステルｼﾘｰｽﾞﾏｯﾌﾟを開く(&E)"}, {40013, "中間ﾌｧｲﾙで上書き保存(&S)\tCtrl+S"},
     {40014, "中間ﾌｧｲﾙで名前を付けて保存(&A)"}, {40025, "ﾉｰﾏﾙﾏｯﾌﾟﾌｧｲﾙとして保存(&W)"},
     {40093, "ｼﾅﾘｵﾏｯﾌﾟﾌｧｲﾙとして保存(&Y)"}, {40072, "ｷｬﾝﾍﾟｰﾝ新規作成(&C)"},
     {40073, "ｷｬﾝﾍﾟｰﾝ編集(&F)"}, {40084, "ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙへの出力(&B)"},
     {40063, "生産ﾀｲﾌﾟ編集(&P)"}, {40054, "ﾙｰﾙ作成(&R)"}, {40008, "終了(&X)"}},
    {{40026, "元に戻す(&U)\tCtrl+Z"}, {40027, "やり直し(&R)\tCtrl+Y"}, {40055, "地形配置ﾓｰﾄﾞ(&A)"},
     {40056, "部隊配置ﾓｰﾄﾞ(&B)"}, {40057, "ﾗﾍﾞﾙ配置ﾓｰﾄﾞ(&D)"}, {40095, "国境線配置ﾓｰﾄﾞ(&E)"},
     {40044, "ﾏｯﾌﾟｻｲｽﾞの変更(&Z)"}, {40066, "部隊番号の整列(&Q)"}, {40083, "陣営色の入れ替え(&X)"},
     {40028, "ﾏｯﾌﾟ設定(&M)"}, {40070, "ｼﾅﾘｵ設定(&S)"}, {40071, "ﾌﾞﾘｰﾌｨﾝｸﾞﾌﾟﾚﾋﾞｭｰ(&P)"},
     {40074, "ｴﾝﾃﾞｨﾝｸﾞﾌﾟﾚﾋﾞｭｰ(&E)"}, {40034, "ﾏｯﾌﾟﾁｪｯｸ(&H)"}, {40103, "戦闘比較(&G)"}},
    {{40031, "ﾂｰﾙ(&O)"}, {40022, "HQﾏｯﾌﾟ(&H)"}, {40032, "地形ﾊﾟﾚｯﾄ(&P)"}, {40058, "部隊ﾊﾟﾚｯﾄ(&T)"},
     {40096, "国境線ﾊﾟﾚｯﾄ(&K)"}, {40097, "地雷機雷ﾊﾟﾚｯﾄ(&M)"}, {40030, "建物数情報(&C)"}, {40059, "部隊表(&B)"},
     {40060, "兵器一覧(&W)"}, {40067, "地形ﾗﾍﾞﾙ一覧(&L)"}, {40077, "部隊ﾗﾍﾞﾙ一覧(&U)"},
     {40003, "地形情報(&D)"}, {40052, "地形移動表(&M)"}, {40081, "地形回避表(&A)"},
     {40061, "輸送可能地形(&Y)"}, {40210, "操作履歴(&R)"}, {40211, "問題一覧(&E)"}},
    {{40011, "大範囲表示(&L)"}, {40009, "中範囲表示(&M)"}, {40091, "小範囲表示(&S)"},
     {40010, "ヘックス枠(&F)"}, {40068, "部隊表示(&T)"}, {40069, "地形ﾗﾍﾞﾙ表示(&P)"},
     {40076, "勝敗条件ﾗﾍﾞﾙ表示(&W)"}, {40094, "国境線表示(&B)"}, {40098, "ﾕﾆｯﾄ(&U)"},
     {40099, "兵器ﾀｲﾌﾟ(&T)"}, {40100, "陣営色のｶｽﾀﾏｲｽﾞ(&C)"}},
    {{40035, "ﾍﾟﾝ(&P)"}, {40036, "線(&L)"}, {40037, "箱塗り(&B)"}, {40045, "塗りつぶし(&A)"},
     {40038, "ｺﾋﾟｰ(&C)"}, {40039, "道路/河川削除(&R)"}, {40041, "ｼﾝｸﾞﾙﾍｯｸｽ(&S)"},
     {40042, "ﾒｶﾞﾍｯｸｽ(&M)"}, {40078, "部隊配置(&P)"}, {40079, "部隊移動(&M)"},
     {40080, "部隊削除(&D)"}, {40049, "下絵のみ(&U)"}, {40050, "ﾏｯﾌﾟのみ(&M)"}, {40051, "透過(&T)"},
     {40212, "スクリプト実行..."}},
    {{40033, "ﾊﾞｰｼﾞｮﾝ情報(&A)"}},
};
// clang-format on

const cmd::Menu kTopMenus[] = {cmd::Menu::File, cmd::Menu::Edit,  cmd::Menu::Window,
                               cmd::Menu::View, cmd::Menu::Tools, cmd::Menu::Help};

void collect(QMenu* menu, std::vector<std::pair<int, std::string>>& out) {
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        if (a->menu()) {
            collect(a->menu(), out);
            continue;
        }
        out.emplace_back(a->data().toInt(), a->text().toStdString());
    }
}

// A main frame that records the commands it receives.
struct RecordingFrame : MainFrame {
    using MainFrame::MainFrame;
    int onCommand(MessageRecord& m, int id, int code) override {
        commands.push_back(id);
        return MainFrame::onCommand(m, id, code);
    }
    std::vector<int> commands;
};

class MainFrameTest : public testing::Test {
protected:
    void SetUp() override {
        setProgramPath(dir.file("kvornme"));
        doc = std::make_unique<MapDocument>();
        frame = newWindow<RecordingFrame>(*doc);
        ASSERT_TRUE(frame->create());
        widget = frame->handle();
    }
    void TearDown() override {
        if (widget) delete widget.data();  // deletes the frame with it
        QCoreApplication::processEvents();
        doc.reset();
        setProgramPath("");
    }
    kvtest::TempDir dir;
    std::unique_ptr<MapDocument> doc;
    RecordingFrame* frame = nullptr;
    QPointer<QWidget> widget;
    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(MainFrameTest, MenuBarHasEveryItemWithItsCaptionAndId) {
    QMenuBar* bar = static_cast<QMainWindow*>(frame->handle())->menuBar();
    const QStringList tops = {"ﾌｧｲﾙ(&F)", "編集(&E)", "ｳｨﾝﾄﾞｳ(&W)",
                              "表示(&V)", "ﾂｰﾙ(&T)",  "ﾍﾙﾌﾟ(&H)"};
    ASSERT_EQ(bar->actions().size(), tops.size());
    for (int i = 0; i < tops.size(); ++i) {
        EXPECT_EQ(bar->actions()[i]->text(), tops[i]);
        EXPECT_EQ(bar->actions()[i]->menu(), frame->menu(kTopMenus[i]));
        std::vector<std::pair<int, std::string>> items;
        collect(frame->menu(kTopMenus[i]), items);
        ASSERT_EQ(items.size(), kExpectedMenus[i].size()) << "menu " << i;
        for (size_t k = 0; k < items.size(); ++k) {
            EXPECT_EQ(items[k].first, kExpectedMenus[i][k].id);
            EXPECT_EQ(items[k].second, kExpectedMenus[i][k].caption);
        }
    }
    // The mine palette keeps its item (the only way to lay mines); the product type editor sits
    // at position 19.
    EXPECT_NE(frame->action(cmd::MinePalette), nullptr);
    EXPECT_EQ(frame->menu(cmd::Menu::File)->actions()[19]->data().toInt(), cmd::EditProductTypes);
    // Sub-menu titles, and the draw method sub-menu last of the game's items in the tool menu,
    // the script run below it.
    QMenu* tool = frame->menu(cmd::Menu::Tools);
    QStringList subs;
    for (QAction* a : tool->actions())
        if (a->menu()) subs << a->text();
    EXPECT_EQ(subs, QStringList(
                        {"描画種類(&D)", "ﾍﾟﾝ種類(&P)", "部隊描画種類(&T)", "ﾏｯﾌﾟの描画方法(&M)"}));
    const qsizetype n = tool->actions().size();
    ASSERT_GE(n, 3);
    EXPECT_EQ(tool->actions()[n - 3]->text(), "ﾏｯﾌﾟの描画方法(&M)");
    EXPECT_TRUE(tool->actions()[n - 2]->isSeparator());
    EXPECT_EQ(tool->actions()[n - 1]->data().toInt(), cmd::RunScript);
    bool unitIconSub = false;
    for (QAction* a : frame->menu(cmd::Menu::View)->actions())
        if (a->menu() && a->text() == "部隊ｱｲｺﾝ（&U)") unitIconSub = true;
    EXPECT_TRUE(unitIconSub);
}

TEST_F(MainFrameTest, MenuItemsAndAcceleratorsSendTheirCommands) {
    int fileDialogs = 0;
    setFileDialogHook([&fileDialogs](FileDialogRequest&) {
        ++fileDialogs;
        return std::optional<std::string>();
    });
    std::vector<std::string> dialogs;  // the map selection is cancelled
    Dialog::onModalStart = [&dialogs](Dialog& d) {
        dialogs.push_back(d.handle()->windowTitle().toStdString());
        QTimer::singleShot(0, [&d] { d.sendCommand(kIdCancel); });
    };
    frame->commands.clear();
    frame->action(cmd::Zoom32)->trigger();
    EXPECT_EQ(frame->commands, std::vector<int>{cmd::Zoom32});

    widget->show();
    QApplication::setActiveWindow(widget);
    frame->commands.clear();
    for (Qt::Key k : {Qt::Key_N, Qt::Key_O, Qt::Key_S, Qt::Key_Y, Qt::Key_Z}) {
        QApplication::setActiveWindow(widget);  // a dialog before may have taken it
        QTest::keyClick(widget, k, Qt::ControlModifier);
    }
    EXPECT_EQ(frame->commands, (std::vector<int>{cmd::NewMap, cmd::OpenMap, cmd::SaveIntermediate,
                                                 cmd::Redo, cmd::Undo}));
    EXPECT_EQ(dialogs, std::vector<std::string>{"マップを開く"});
    EXPECT_EQ(fileDialogs, 1);  // save-as, for a map never saved
    setFileDialogHook(nullptr);
    Dialog::onModalStart = nullptr;
}

// Every action of a menu and its sub-menus, after the menus worked out their states.
std::vector<QAction*> openAndCollect(QMenu* menu) {
    emit menu->aboutToShow();
    std::vector<QAction*> out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        if (a->menu()) {
            const std::vector<QAction*> inner = openAndCollect(a->menu());
            out.insert(out.end(), inner.begin(), inner.end());
        } else {
            out.push_back(a);
        }
    }
    return out;
}

TEST_F(MainFrameTest, OnlyItemsWhoseStateTheMenuShowsCarryACheckMark) {
    // The ids some state checks, over states that between them select every choice, set every
    // flag and open every window.
    std::set<int> checkedSomewhere;
    for (int v = 0; v < 6; ++v) {
        MenuInputs in;
        in.documentOpen = true;
        in.editMode = in.drawKind = v;
        in.penKind = in.showUnitIcon = v % 2;
        in.troopDrawKind = in.mapDrawMethod = v % 3;
        in.hexSize = 16 * (v % 3 + 1);
        in.showHexFrame = in.showTroops = in.showTerrainLabels = in.showVictoryLabels =
            in.showBorderlines = true;
        for (int k = 0; k < static_cast<int>(ToolKind::Count); ++k)
            in.openWindows.insert(toolInfo(static_cast<ToolKind>(k)).menuId);
        for (const auto& [id, item] : computeMenuState(in).items)
            if (item.checked) checkedSomewhere.insert(id);
    }
    doc->viewSettings.hexSize = 32;
    int checkable = 0;
    for (int i = 0; i < 6; ++i) {
        for (QAction* a : openAndCollect(frame->menu(kTopMenus[i]))) {
            const int id = a->data().toInt();
            EXPECT_EQ(a->isCheckable(), checkedSomewhere.count(id) > 0) << id;
            checkable += a->isCheckable() ? 1 : 0;
        }
    }
    EXPECT_EQ(checkable, static_cast<int>(checkedSomewhere.size()));
    EXPECT_TRUE(frame->action(cmd::Zoom32)->isChecked());
    EXPECT_FALSE(frame->action(cmd::Zoom48)->isChecked());
}

TEST_F(MainFrameTest, TheToolSubMenusAreGreyedByEditMode) {
    using M = cmd::Menu;
    const std::pair<int, std::vector<M>> cases[] = {
        {cmd::LabelMode, {}},
        {cmd::TroopMode, {M::TroopDrawKind}},
        {cmd::TerrainMode, {M::DrawKind, M::PenKind, M::MapDrawMethod}},
        {cmd::BorderMode, {M::DrawKind, M::PenKind}}};
    for (const auto& [mode, enabled] : cases) {
        frame->sendCommand(mode);
        emit frame->menu(M::Tools)->aboutToShow();
        for (M m : {M::DrawKind, M::PenKind, M::TroopDrawKind, M::MapDrawMethod})
            EXPECT_EQ(frame->menu(m)->menuAction()->isEnabled(),
                      std::find(enabled.begin(), enabled.end(), m) != enabled.end())
                << mode << " " << static_cast<int>(m);
    }
    EXPECT_TRUE(frame->menu(M::UnitIcon)->menuAction()->isEnabled());
}

TEST_F(MainFrameTest, AcceleratorsWorkFromEveryWindowButNotUnderAModalDialog) {
    doc->isClean = 1;
    widget->show();
    // A tool window or palette is a window of its own.
    QWidget palette;
    palette.setWindowTitle("palette");
    palette.show();
    QApplication::setActiveWindow(&palette);
    frame->commands.clear();
    QTest::keyClick(&palette, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&palette, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(frame->commands, (std::vector<int>{cmd::Undo, cmd::Redo}));

    QDialog modal(widget);
    modal.setModal(true);
    modal.show();
    QApplication::setActiveWindow(&modal);
    frame->commands.clear();
    QTest::keyClick(&modal, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&modal, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(frame->commands.empty());
    modal.hide();
}

TEST_F(MainFrameTest, TheFrameDecorationsIncludedFillsTheWorkArea) {
    widget->show();
    QCoreApplication::processEvents();
    const Rect a = workArea();
    EXPECT_EQ(widget->frameGeometry(), QRect(a.left, a.top, a.width(), a.height()));
    // The platform frames windows here, so this says something.
    EXPECT_NE(widget->frameGeometry(), widget->geometry());
}

TEST_F(MainFrameTest, TitleOfANewMapAndOfASavedOne) {
    QCoreApplication::processEvents();  // the new map's title message
    EXPECT_EQ(widget->windowTitle().toStdString(), "ケステルゾルテア マップエディタ [新規マップ] ");

    doc->mapHeader.setMapName(*encodeCp932("北方戦線　 　"));
    doc->filePath = "/maps/north.kvt";
    postMessage(frame, mainmsg::RebuildTitle);
    EXPECT_NE(widget->windowTitle().toStdString(), MainFrame::titleFor(*doc));  // posted, not yet
    QCoreApplication::processEvents();
    EXPECT_EQ(widget->windowTitle().toStdString(),
              "ケステルゾルテア マップエディタ [北方戦線]  - /maps/north.kvt");

    // "メ@" ends in the bytes of a full-width blank, but they belong to two characters.
    doc->mapHeader.setMapName(std::string("\x83\x81\x40 ", 4));
    doc->filePath.clear();
    EXPECT_EQ(MainFrame::titleFor(*doc), "ケステルゾルテア マップエディタ [メ@] ");
}

TEST_F(MainFrameTest, VersionDialogShowsTitleAndVersion) {
    std::vector<QString> labels;
    Dialog::onModalStart = [&labels](Dialog& d) {
        EXPECT_EQ(d.handle()->windowTitle(), "バージョン情報");
        for (QLabel* l : d.handle()->findChildren<QLabel*>()) labels.push_back(l->text());
        QTimer::singleShot(0, [&d] { d.sendCommand(kIdOk); });
    };
    frame->sendCommand(cmd::About);
    Dialog::onModalStart = nullptr;
    EXPECT_EQ(labels, (std::vector<QString>{"ケステルゾルテア マップエディタ", "Version 1.00a"}));
}

// Answers the save question (dialog 129) with the button `id` each time it comes up.
struct SaveQuestion {
    explicit SaveQuestion(int id) {
        Dialog::onModalStart = [this, id](Dialog& d) {
            asked.push_back(d.handle()->windowTitle().toStdString());
            QTimer::singleShot(
                0, [&d, id] { d.handle()->findChild<QPushButton*>(QString::number(id))->click(); });
        };
    }
    ~SaveQuestion() { Dialog::onModalStart = nullptr; }
    std::vector<std::string> asked;
};

TEST_F(MainFrameTest, ExitAsksOnlyForAChangedMapAndCancelKeepsTheWindow) {
    doc->isClean = 0;
    {
        SaveQuestion cancel(kIdCancel);
        frame->sendCommand(cmd::Exit);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(cancel.asked, std::vector<std::string>{"確認"});
        ASSERT_FALSE(widget.isNull());
    }
    {
        // The close box runs the same flow; "いいえ" lets it close.
        SaveQuestion no(kIdNo);
        widget->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(no.asked.size(), 1u);
        EXPECT_TRUE(widget.isNull());
    }
}

TEST_F(MainFrameTest, ANewMapResetsTheDocumentWithoutAskingWhenClean) {
    doc->mapHeader.setMapName("x");
    doc->filePath = "/a/b.kvt";
    frame->sendCommand(cmd::NewMap);
    EXPECT_TRUE(prompts.seen.empty());
    EXPECT_EQ(doc->mapHeader.mapName(), *encodeCp932("新規マップ"));
    EXPECT_EQ(doc->mapHeader.width(), 64);
    EXPECT_TRUE(doc->filePath.empty());
    EXPECT_EQ(doc->isClean, 1);
    EXPECT_EQ(doc->documentOpen, 1);
}

}  // namespace
}  // namespace kv
