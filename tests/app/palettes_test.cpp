// The tool window and the palettes: their buttons' states, choices reaching the document's
// brushes through the widgets, the window bookkeeping, and the label mode's tool and lists.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPainter>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "app/border_palette.h"
#include "app/label_dialog.h"
#include "app/main_frame.h"
#include "app/mine_palette.h"
#include "app/terrain_palette.h"
#include "app/tool_window.h"
#include "app/troop_palette.h"
#include "document/label_edit.h"
#include "document/map_document.h"
#include "framework/bitmap_button.h"
#include "framework/cp932.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/editor_fixture.h"
#include "support/test_paths.h"
#include "view/label_tool.h"
#include "view/map_tool.h"
#include "view/window_messages.h"

namespace kv {
namespace {

namespace id = toolid;

TEST(ToolButtonStatesTest, EnablingFollowsModeLockPasteAndBrush) {
    ToolWindowInputs in;
    auto s = toolButtonStates(in);
    EXPECT_TRUE(s[id::TerrainMode].latched);
    EXPECT_TRUE(s[id::Pen].enabled && s[id::Copy].enabled && s[id::Flood].enabled);
    EXPECT_FALSE(s[id::TroopPlace].enabled);
    EXPECT_TRUE(s[id::Zoom32].latched && !s[id::Zoom16].latched);
    // A mega piece or a line brush: no line, box or flood fill; a line brush shows the pen.
    in.megaBrush = true;
    s = toolButtonStates(in);
    EXPECT_FALSE(s[id::Line].enabled || s[id::Box].enabled || s[id::Flood].enabled);
    EXPECT_TRUE(s[id::Pen].enabled && s[id::Copy].enabled && s[id::DeleteLinks].enabled);
    in.megaBrush = false;
    in.lineBrush = true;
    in.drawKind = kDrawBox;
    s = toolButtonStates(in);
    EXPECT_TRUE(s[id::Pen].latched);
    EXPECT_FALSE(s[id::Box].latched);
    // Border mode: copy and road/river delete are off.
    in = {};
    in.editMode = kEditBorderlines;
    s = toolButtonStates(in);
    EXPECT_TRUE(s[id::BorderMode].latched);
    EXPECT_TRUE(s[id::Pen].enabled && s[id::Line].enabled && s[id::Box].enabled &&
                s[id::Flood].enabled);
    EXPECT_FALSE(s[id::Copy].enabled || s[id::DeleteLinks].enabled);
    // Troop modes: the troop draw kinds, not the terrain ones; a lock stops mode changes.
    in.editMode = kEditReinforcements;
    in.troopDrawKind = 2;
    in.locked = true;
    s = toolButtonStates(in);
    EXPECT_FALSE(s[id::TerrainMode].enabled || s[id::LabelMode].enabled);
    EXPECT_FALSE(s[id::TroopPlace].enabled);  // locked
    EXPECT_TRUE(s[id::TroopDelete].latched);
    EXPECT_FALSE(s[id::Pen].enabled);
    in.locked = false;
    in.pastePending = true;
    in.editMode = kEditTerrain;
    s = toolButtonStates(in);
    EXPECT_FALSE(s[id::TroopMode].enabled || s[id::Pen].enabled || s[id::Copy].enabled);
    in.openWindows = {id::WeaponList};
    s = toolButtonStates(in);
    EXPECT_TRUE(s[id::WeaponList].latched);
    EXPECT_FALSE(s[id::HqMap].latched);
    EXPECT_EQ(coordinatesText(HexPos{3, 12}, true), "座標(x,y) = (  3, 12)");
    EXPECT_EQ(coordinatesText(HexPos{-1, 12}, false), "座標(x,y) = (---,---)");
}

// A main frame over the sample data, with the palettes' factories installed.
class PalettesTest : public kvtest::SuiteEditorTest {
protected:
    void SetUp() override {
        clearFaceSheetCache();
        SuiteEditorTest::SetUp();
        prompts.seen.clear();
    }
    void TearDown() override {
        SuiteEditorTest::TearDown();
        clearFaceSheetCache();
    }
    template <class T>
    T* open(ToolKind kind) {
        EXPECT_TRUE(frame->tools().open(kind));
        return dynamic_cast<T*>(frame->tools().window(kind));
    }
    static void flush() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    static QPoint cellCentre(int col, int row) {
        return {col * kPaletteCell + 10, row * kPaletteCell + 10};
    }
    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(PalettesTest, ClickingTheTerrainPaletteSetsTheBrushAndLeavesCopyForThePen) {
    auto* palette = open<TerrainPalette>(ToolKind::TerrainPalette);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette->handle()->windowTitle().toStdString(), "地形パレット");
    auto* tabs = palette->control<QTabBar>(TerrainPalette::kIdTabs);
    ASSERT_EQ(tabs->count(), kPaletteTabCount);
    EXPECT_EQ(tabs->tabText(5).toStdString(), "道路/河川/海上補給線");
    QWidget* grid = palette->control<QWidget>(TerrainPalette::kIdGrid);
    ASSERT_NE(grid, nullptr);

    // Building A, faction 2's row: the brush of that piece, in that colour.
    doc->tool.drawKind = kDrawCopy;
    tabs->setCurrentIndex(int(PaletteTab::BuildingsA));
    EXPECT_EQ(palette->currentTab(), int(PaletteTab::BuildingsA));
    QTest::mouseClick(grid, Qt::LeftButton, {}, cellCentre(1, 2));
    const PalettePiece* piece = pieceAt(palette->pieces(int(PaletteTab::BuildingsA)), 1, 2);
    ASSERT_NE(piece, nullptr);
    EXPECT_TRUE(sameBrush(frame->terrainBrush(), piece->brush));
    EXPECT_EQ(frame->terrainBrush().owner, 2);
    EXPECT_EQ(doc->tool.drawKind, kDrawPen);
    EXPECT_EQ(palette->tooltipAt(1, 2),
              decodeCp932Lossy(doc->factions[1].name()) + ":" + decodeCp932Lossy(piece->name));
    EXPECT_EQ(palette->tooltipAt(1, 0).rfind("中立:", 0), 0u);
    // The chosen cell is drawn sunken: it differs from the all-raised picture.
    QImage shown(grid->size(), QImage::Format_RGB32);
    QPainter p(&shown);
    palette->paintGrid(p);
    p.end();
    const QRect cell(20, 40, 20, 20);
    EXPECT_NE(shown.copy(cell), palette->tabImage(int(PaletteTab::BuildingsA)).copy(cell));
    EXPECT_EQ(shown.copy(QRect(0, 40, 20, 20)),
              palette->tabImage(int(PaletteTab::BuildingsA)).copy(QRect(0, 40, 20, 20)));

    // Destroyed pieces set the flag; an empty cell and a pending paste choose nothing.
    tabs->setCurrentIndex(int(PaletteTab::DestroyedBridges));
    QTest::mouseClick(grid, Qt::LeftButton, {}, cellCentre(0, 0));
    EXPECT_EQ(frame->terrainBrush().destroyed, 1);
    EXPECT_EQ(frame->terrainBrush().terrainId, kTerrainBridge);
    const TerrainBrush before = frame->terrainBrush();
    QTest::mouseClick(grid, Qt::LeftButton, {}, cellCentre(20, 8));
    doc->tool.areaSelectActive = 1;
    QTest::mouseClick(grid, Qt::LeftButton, {}, cellCentre(1, 1));
    EXPECT_TRUE(sameBrush(frame->terrainBrush(), before));
    doc->tool.areaSelectActive = 0;
    // A pick-up elsewhere shows the piece's tab.
    frame->terrainBrush() = palette->pieces(int(PaletteTab::Lines)).back().brush;
    postMessage(palette, terrainpalettemsg::ShowBrush);
    flush();
    EXPECT_EQ(palette->currentTab(), int(PaletteTab::Lines));
    EXPECT_EQ(palette->control<QLabel>(TerrainPalette::kIdBrushName)->text().toStdString(),
              "海上補給線");
}

TEST_F(PalettesTest, BorderAndMinePalettesWriteTheDocumentsSelections) {
    auto* border = open<BorderPalette>(ToolKind::BorderPalette);
    ASSERT_NE(border, nullptr);
    EXPECT_EQ(border->handle()->windowTitle().toStdString(), "国境線パレット");
    auto* faction = border->control<QComboBox>(BorderPalette::kIdFaction);
    auto* kind = border->control<QComboBox>(BorderPalette::kIdKind);
    ASSERT_EQ(faction->count(), 8);
    EXPECT_EQ(faction->itemText(6).toStdString(), "中立");
    EXPECT_EQ(faction->itemText(7).toStdString(), "削除");
    faction->setCurrentIndex(2);
    kind->setCurrentIndex(1);
    EXPECT_EQ(doc->tool.borderFaction, 3);
    EXPECT_EQ(doc->tool.borderKind, 3);
    faction->setCurrentIndex(6);
    EXPECT_EQ(doc->tool.borderFaction, 7);
    EXPECT_TRUE(kind->isEnabled());
    faction->setCurrentIndex(7);
    EXPECT_EQ(doc->tool.borderFaction, 0);
    EXPECT_FALSE(kind->isEnabled());

    auto* mines = open<MinePalette>(ToolKind::MinePalette);
    ASSERT_NE(mines, nullptr);
    QTest::mouseClick(mines->control<QRadioButton>(MinePalette::kIdSeaMine), Qt::LeftButton);
    EXPECT_EQ(doc->tool.mineKind, kSeaMine);
    mines->control<QComboBox>(MinePalette::kIdCount)->setCurrentIndex(4);
    EXPECT_EQ(doc->tool.mineCount, 5);
    QTest::mouseClick(mines->control<QCheckBox>(MinePalette::kIdSeenBy + 1), Qt::LeftButton, {},
                      QPoint(6, 10));
    QTest::mouseClick(mines->control<QCheckBox>(MinePalette::kIdSeenBy + 5), Qt::LeftButton, {},
                      QPoint(6, 10));
    EXPECT_EQ(doc->tool.mineSeenBy, 0b100010);
    QTest::mouseClick(mines->control<QCheckBox>(MinePalette::kIdSeenBy + 1), Qt::LeftButton, {},
                      QPoint(6, 10));
    EXPECT_EQ(doc->tool.mineSeenBy, 0b100000);
    QTest::mouseClick(mines->control<QRadioButton>(MinePalette::kIdDelete), Qt::LeftButton);
    EXPECT_EQ(doc->tool.mineKind, kNoMine);
}

TEST_F(PalettesTest, TheTroopPalettesWeaponBecomesTheTroopBrush) {
    auto* palette = open<TroopPalette>(ToolKind::TroopPalette);
    ASSERT_NE(palette, nullptr);
    palette->control<QComboBox>(TroopPalette::kIdFaction)->setCurrentIndex(3);
    palette->control<QSpinBox>(TroopPalette::kIdUnitCount)->setValue(4);
    auto* list = palette->control<QListWidget>(TroopPalette::kIdWeapons);
    auto* types = palette->control<QComboBox>(TroopPalette::kIdWeaponType);
    auto* products = palette->control<QComboBox>(TroopPalette::kIdProductType);
    // A product type with weapons of several types.
    for (int i = 0; i < products->count() && types->count() < 3; ++i) products->setCurrentIndex(i);
    ASSERT_GE(types->count(), 3);
    const int all = list->count();
    // A weapon type narrows the list to weapons of that type.
    types->setCurrentIndex(1);
    ASSERT_GT(list->count(), 0);
    EXPECT_LT(list->count(), all);
    for (int id : palette->listed())
        EXPECT_EQ(doc->gameDatabase.weapon(id).weaponType(), doc->tool.troopBrush.weaponType);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    const TroopBrush& b = doc->tool.troopBrush;
    EXPECT_EQ(b.valid, 1);
    EXPECT_EQ(b.fromList, 0);
    EXPECT_EQ(b.faction, 3);
    EXPECT_EQ(b.unitCount, 4);
    EXPECT_EQ(b.weaponId, palette->listed()[0]);
}

TEST_F(PalettesTest, ToolWindowButtonsDriveTheFrameAndFollowIt) {
    auto* tools = open<ToolWindow>(ToolKind::ToolWindow);
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->handle()->windowTitle().toStdString(), "ツール");
    EXPECT_EQ(tools->tooltip(id::DeleteLinks), "道路/河川の削除");
    EXPECT_EQ(tools->button(id::Zoom16)->button()->toolTip().toStdString(), "大範囲表示");
    QTest::mouseClick(tools->button(id::BorderMode)->button(), Qt::LeftButton);
    flush();
    EXPECT_EQ(doc->tool.editMode, kEditBorderlines);
    EXPECT_TRUE(tools->button(id::BorderMode)->latched);
    EXPECT_FALSE(tools->button(id::Copy)->button()->isEnabled());
    // The zoom of the current size does nothing; another changes the size.
    std::vector<PostedMessage> posts;
    recordPosts(&posts);
    const int size = doc->viewSettings.hexSize;
    const int current = size >= 48 ? id::Zoom48 : size >= 32 ? id::Zoom32 : id::Zoom16;
    QTest::mouseClick(tools->button(current)->button(), Qt::LeftButton);
    EXPECT_TRUE(posts.empty());
    recordPosts(nullptr);
    QTest::mouseClick(tools->button(id::Zoom48 == current ? id::Zoom16 : id::Zoom48)->button(),
                      Qt::LeftButton);
    flush();
    EXPECT_NE(doc->viewSettings.hexSize, size);
    // A window button opens its window, and follows the menu.
    recordPosts(&posts);
    posts.clear();
    QTest::mouseClick(tools->button(id::TerrainPalette)->button(), Qt::LeftButton);
    recordPosts(nullptr);
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].message, mainmsg::OpenTerrainPalette);
    flush();
    EXPECT_TRUE(frame->tools().isOpen(ToolKind::TerrainPalette));
    EXPECT_TRUE(tools->button(id::TerrainPalette)->latched);
    frame->sendCommand(cmd::TerrainPalette);
    flush();
    EXPECT_FALSE(frame->tools().isOpen(ToolKind::TerrainPalette));
    EXPECT_FALSE(tools->button(id::TerrainPalette)->latched);
    // Reinforcements with a turn limit of 1 are refused and the mode stays.
    doc->mapHeader.setTurnLimit(1);
    QTest::mouseClick(tools->button(id::ReinforcementMode)->button(), Qt::LeftButton);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].text, "ターン制限が１になっています。\n増援部隊は配置できません。");
    EXPECT_EQ(doc->tool.editMode, kEditBorderlines);
    // With a limit of 5, the reinforcement mode edits turn 2 first, then the turn chosen.
    doc->mapHeader.setTurnLimit(5);
    QTest::mouseClick(tools->button(id::ReinforcementMode)->button(), Qt::LeftButton);
    flush();
    EXPECT_EQ(doc->tool.editMode, kEditReinforcements);
    EXPECT_EQ(doc->tool.reinforcementTurn, 2);
    auto* turn = tools->control<QSpinBox>(id::ReinforcementTurn);
    ASSERT_NE(turn, nullptr);
    EXPECT_EQ(turn->maximum(), 5);
    turn->setValue(4);
    EXPECT_EQ(doc->tool.reinforcementTurn, 4);
    turn->setValue(9);
    EXPECT_EQ(doc->tool.reinforcementTurn, 5);
    // The hex under the mouse.
    frame->hexUnderMouse({7, 9});
    flush();
    EXPECT_EQ(tools->text(id::Coordinates), "座標(x,y) = (  7,  9)");
    frame->hexUnderMouse({-1, 3});
    flush();
    EXPECT_EQ(tools->text(id::Coordinates), "座標(x,y) = (---,---)");
    // Shortcuts of the main window still work from the tool window.
    applyLabelEdit(*doc, {1, 1}, "A", false, false);
    widget->show();
    tools->handle()->show();
    QApplication::setActiveWindow(tools->handle());
    QTest::keyClick(tools->handle(), Qt::Key_Z, Qt::ControlModifier);
    flush();
    EXPECT_EQ(doc->labelAt(1, 1), nullptr);
}

TEST_F(PalettesTest, ClosingSavesThePlaceAndTheCloseBoxAsksTheFrame) {
    auto* palette = open<BorderPalette>(ToolKind::BorderPalette);
    ASSERT_NE(palette, nullptr);
    palette->handle()->move(123, 145);
    frame->tools().close(ToolKind::BorderPalette);
    flush();
    const std::string name = BorderPalette::kClassName;
    const int left = ProfileEntry("WindowInfo", name + "WindowPosLeft").readInt(-1);
    EXPECT_EQ(left, 123);
    EXPECT_EQ(ProfileEntry("Environment", "ShowBorderLinePaletteWin").readInt(-1), 0);
    palette = open<BorderPalette>(ToolKind::BorderPalette);
    EXPECT_EQ(palette->handle()->x(), 123);
    // Dragged far right, it stops with its left edge 20 pixels inside the work area.
    palette->handle()->move(workArea().right + 500, 100);
    flush();
    EXPECT_EQ(palette->handle()->frameGeometry().left(), workArea().right - 20);
    // The close box: the frame closes it and writes the key.
    palette->handle()->close();
    flush();
    EXPECT_FALSE(frame->tools().isOpen(ToolKind::BorderPalette));
    EXPECT_EQ(ProfileEntry("Environment", "ShowBorderLinePaletteWin").readInt(-1), 0);
}

// The label mode through the real map view's router.
struct Host : ToolHost {
    explicit Host(MapDocument& d) : doc(d) {}
    MapDocument& document() override { return doc; }
    void queueHex(HexPos) override {}
    void queueRow(int row) override { rows.push_back(row); }
    void flush() override {}
    int contextMenu(HexPos, const std::vector<ToolMenuItem>& items) override {
        menus.push_back(items);
        return answer;
    }
    MapDocument& doc;
    std::vector<int> rows;
    std::vector<std::vector<ToolMenuItem>> menus;
    int answer = 0;
};

TEST_F(PalettesTest, TheLabelToolOpensTheDialogAndItsMenuDeletesAfterAsking) {
    frame->sendCommand(cmd::LabelMode);
    ToolRouter& router = frame->mapView()->tools();
    Host host(*doc);
    ToolPoint at;
    at.hex = {4, 6};
    at.inMap = true;
    // The dialog: a name typed and the victory box ticked.
    Dialog::onModalStart = [](Dialog& d) {
        auto* dialog = dynamic_cast<LabelDialog*>(&d);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->control<QLabel>(LabelDialog::kIdPosition)->text().toStdString(), "[4,6]");
        dialog->control<QLineEdit>(LabelDialog::kIdName)->setText(QStringLiteral("  北の橋  "));
        dialog->control<QCheckBox>(LabelDialog::kIdVictory)->setChecked(true);
        QTimer::singleShot(0, dialog->dialog(), [&d] { d.sendCommand(kIdOk); });
    };
    std::vector<PostedMessage> posts;
    recordPosts(&posts);
    router.press(host, at, 1000000);
    router.release(host, at);
    recordPosts(nullptr);
    Dialog::onModalStart = nullptr;
    const TerrainLabel* label = doc->labelAt(4, 6);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(decodeCp932(label->textString()), "北の橋");
    EXPECT_EQ(label->kind, 1);
    EXPECT_EQ(host.rows, std::vector<int>{6});

    // The right button: 削除, answered No then Yes.
    host.answer = kLabelDeleteItem;
    prompts.script = {PromptAnswer::No, PromptAnswer::Yes};
    EXPECT_TRUE(router.rightPress(host, at));
    router.rightRelease(host, at);
    EXPECT_NE(doc->labelAt(4, 6), nullptr);
    EXPECT_TRUE(router.rightPress(host, at));
    router.rightRelease(host, at);
    EXPECT_EQ(doc->labelAt(4, 6), nullptr);
    ASSERT_EQ(prompts.seen.size(), 2u);
    EXPECT_EQ(prompts.seen[1].caption, "削除確認");
    EXPECT_EQ(prompts.seen[1].text, "ラベルを削除します。\nよろしいですか？");
    ASSERT_FALSE(host.menus.empty());
    EXPECT_EQ(host.menus[0][0].caption, "プロパティ");

    // The list shows the labels and refreshes after an edit.
    auto* list = open<LabelList>(ToolKind::TerrainLabelList);
    ASSERT_NE(list, nullptr);
    applyLabelEdit(*doc, {2, 3}, *encodeCp932("港"), true, false);
    flush();
    EXPECT_EQ(list->control<QLabel>(LabelList::kIdCount)->text().toStdString(),
              "ラベル数    1/1000");
    ASSERT_EQ(list->list()->topLevelItemCount(), 1);
    EXPECT_EQ(list->list()->topLevelItem(0)->text(0).toStdString(), "  2,  3");
    EXPECT_EQ(list->list()->topLevelItem(0)->text(2).toStdString(), "勝敗条件");
    // A click on the name's header sorts by name; a row chosen then names its own hex.
    applyLabelEdit(*doc, {10, 1}, *encodeCp932("川"), false, false);
    flush();
    ASSERT_EQ(list->list()->topLevelItemCount(), 2);
    EXPECT_EQ(list->list()->topLevelItem(0)->text(0).toStdString(), "  2,  3");
    QHeaderView* header = list->list()->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    EXPECT_EQ(list->list()->topLevelItem(0)->text(1).toStdString(), "川");
    recordPosts(&posts);
    posts.clear();
    list->choose(0);
    recordPosts(nullptr);
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[1].message, viewmsg::FlashHex);
    EXPECT_EQ(posts[1].wParam, 10u);
    EXPECT_EQ(posts[1].lParam, 1);
}

}  // namespace
}  // namespace kv
