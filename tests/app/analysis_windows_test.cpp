// The analysis windows on a real main frame: the HQ map recolours only the hexes an edit
// touched and scrolls the map view by its frame, the building count follows its messages, and
// the combat comparison keeps its weapons in the settings.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/building_count_window.h"
#include "app/combat_comparison_dialog.h"
#include "app/hq_map_window.h"
#include "app/main_frame.h"
#include "document/edit_operation.h"
#include "document/map_document.h"
#include "framework/picture.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/editor_fixture.h"
#include "view/map_view.h"
#include "view/window_messages.h"

namespace kv {
namespace {

class AnalysisWindows : public kvtest::EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        recordPosts(&posted);
    }
    void TearDown() override {
        HqMapWindow::setColourRowForTesting(0);
        EditorTest::TearDown();
    }
    int terrainOf(TerrainCategory category) const {
        const std::vector<TerrainType>& types = doc->gameDatabase.terrainTypes();
        for (size_t i = 0; i < types.size(); ++i)
            if (types[i].category == category) return int(i);
        return -1;
    }
    void paint(int col, int row, int terrain, int owner) {
        EditOperation op(*doc);
        TerrainBrush brush;
        brush.valid = 1;
        brush.terrainId = uint16_t(terrain);
        brush.owner = uint16_t(owner);
        brush.picture = doc->gameDatabase.terrain(size_t(terrain)).defaultPicture;
        doc->setTerrain(col, row, brush);
    }

    std::vector<PostedMessage> posted;
    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(AnalysisWindows, HqMapRecoloursTheEditedHexAndFollowsItsButtons) {
    ASSERT_TRUE(frame->tools().open(ToolKind::HqMap));
    auto* hq = dynamic_cast<HqMapWindow*>(frame->tools().window(ToolKind::HqMap));
    ASSERT_NE(hq, nullptr);
    EXPECT_EQ(hq->handle()->objectName().toStdString(), HqMapWindow::kClassName);
    const HqLayout layout = HqLayout::of(64, 64);
    ASSERT_EQ(hq->overview().image().size(), QSize(128, 128));
    EXPECT_EQ(hq->handle()->size(), QSize(layout.clientWidth, layout.clientHeight));

    // Every hex of the new map shows the square of its terrain in row 0 of "hq2.bmp".
    const Picture terrainStrip = loadPicture("hq2.bmp"), ownerStrip = loadPicture("hqc2.bmp");
    const TerrainType& plain = doc->gameDatabase.terrain(doc->cellAt(0, 0)->terrain);
    const QRgb plainColour = terrainStrip.image().pixel(plain.overviewColour * 2, 0);
    EXPECT_EQ(hq->overview().image().pixel(33, 91), plainColour);

    // A capital of faction slot 2 at (5, 7): that square turns to the owner colour, nothing
    // else changes.
    const QImage before = hq->overview().image().copy();
    const int capital = terrainOf(TerrainCategory::Capital);
    ASSERT_GE(capital, 0);
    posted.clear();
    paint(5, 7, capital, 3);
    QCoreApplication::processEvents();
    const QImage& after = hq->overview().image();
    const QRgb captured = ownerStrip.image().pixel(2 * 2, 0);
    ASSERT_NE(captured, plainColour);
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x) {
            const bool square = x / 2 == 5 && y / 2 == 7;
            ASSERT_EQ(after.pixel(x, y), square ? captured : before.pixel(x, y)) << x << "," << y;
        }
    int redraws = 0;
    for (const PostedMessage& p : posted) redraws += p.message == hqmsg::Redraw ? 1 : 0;
    EXPECT_EQ(redraws, 0);

    // The colour row buttons: row 1, pressed again stays row 1, back to row 0.
    auto* row0 = hq->control<QPushButton>(HqMapWindow::kIdRow0);
    auto* row1 = hq->control<QPushButton>(HqMapWindow::kIdRow1);
    ASSERT_TRUE(row0 && row1);
    EXPECT_EQ(row0->pos(), QPoint(layout.buttonX(0), layout.buttonY(64)));
    EXPECT_TRUE(row0->isChecked());
    for (int i = 0; i < 2; ++i) {
        row1->click();
        EXPECT_EQ(HqMapWindow::colourRow(), 1);
        EXPECT_TRUE(row1->isChecked());
        EXPECT_FALSE(row0->isChecked());
        EXPECT_EQ(hq->overview().image().pixel(0, 0),
                  terrainStrip.image().pixel(plain.overviewColour * 2, 2));
    }
    row0->click();
    EXPECT_EQ(hq->overview().image().pixel(0, 0), plainColour);
}

TEST_F(AnalysisWindows, HqMapDragScrollsTheViewAndAFittingMapHasNoFrame) {
    widget->resize(500, 400);
    QCoreApplication::processEvents();
    ASSERT_TRUE(frame->tools().open(ToolKind::HqMap));
    auto* hq = dynamic_cast<HqMapWindow*>(frame->tools().window(ToolKind::HqMap));
    ASSERT_NE(hq, nullptr);
    const HexPos visible = frame->mapView()->visibleSize();
    ASSERT_LT(visible.col, 64);
    ASSERT_LT(visible.row, 64);
    EXPECT_TRUE(hq->viewFrame().shown);
    // A drag ending at the bottom-right corner puts the frame's far edges on the map's last
    // column and row.
    const HqLayout l = hq->overview().layout();
    posted.clear();
    hq->mousePress({l.originX + 10, l.originY + 10});
    EXPECT_TRUE(hq->dragging());
    hq->mouseMove({l.originX + 127, l.originY + 127});
    EXPECT_EQ(hq->viewFrame().right, 127);
    hq->mouseRelease();
    EXPECT_FALSE(hq->dragging());
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].target, frame->mapView());
    EXPECT_EQ(posted[0].message, viewmsg::ScrollTo);
    EXPECT_EQ(posted[0].wParam, (uintptr_t(64 - visible.row) << 16) | uintptr_t(64 - visible.col));

    // A new 10 × 10 map fits the view: the window takes the small size, shows no frame and
    // ignores a press.
    doc->mapHeader.setSize(10, 10);
    postMessage(hq, hqmsg::NewMap);
    QCoreApplication::processEvents();
    EXPECT_EQ(hq->handle()->size(), QSize(108, 52));
    EXPECT_FALSE(hq->viewFrame().shown);
    hq->mousePress({HqLayout::of(10, 10).originX + 4, 8});
    EXPECT_FALSE(hq->dragging());
}

TEST_F(AnalysisWindows, BuildingCountFollowsItsMessagesAndClosesOnARightClick) {
    const int capital = terrainOf(TerrainCategory::Capital);
    ASSERT_GE(capital, 0);
    paint(3, 3, capital, 0);
    ASSERT_TRUE(frame->tools().open(ToolKind::BuildingCount));
    auto* window =
        dynamic_cast<BuildingCountWindow*>(frame->tools().window(ToolKind::BuildingCount));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->handle()->size(), QSize(526, 404));
    // With no saved place it opens at the client area's corner, leaving the menu bar free.
    EXPECT_EQ(window->handle()->pos(), frame->mapView()->handle()->mapToGlobal(QPoint(0, 0)));
    const int row = window->count().rowOf(capital);
    ASSERT_GE(row, 0);
    // The neutral capital stands in the neutral column.
    const BuildingCount::Cell neutral = window->count().cell(BuildingCount::kNeutralColumn, row);
    EXPECT_GE(neutral.intact, 1);

    // Destroyed and restored: every count as before.
    postMessage(window, buildingmsg::DestroyedAdded, uintptr_t(capital), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->count().cell(BuildingCount::kNeutralColumn, row).destroyed,
              neutral.destroyed + 1);
    postMessage(window, buildingmsg::DestroyedRemoved, uintptr_t(capital), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->count().cell(BuildingCount::kNeutralColumn, row), neutral);

    // A recount sees what the map holds now.
    paint(4, 4, capital, 2);
    postMessage(window, buildingmsg::Recount);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->count().cell(1, row).intact, 1);
    EXPECT_EQ(window->count().total(BuildingCount::kAllColumn).intact,
              window->count().total(1).intact +
                  window->count().total(BuildingCount::kNeutralColumn).intact +
                  window->count().total(0).intact + window->count().total(2).intact +
                  window->count().total(3).intact + window->count().total(4).intact +
                  window->count().total(5).intact);

    QWidget* canvas = window->handle()->childAt(200, 200);
    ASSERT_NE(canvas, nullptr);
    posted.clear();
    QTest::mouseClick(canvas, Qt::RightButton, {}, QPoint(200, 200));
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, mainmsg::CloseBuildingCount);
    EXPECT_EQ(posted[0].wParam, mainmsg::FromCloseBox);
}

TEST_F(AnalysisWindows, CombatComparisonStartsFromTheSettingsAndWritesThemBack) {
    const GameDatabase& db = doc->gameDatabase;
    int lowest = 0;
    while (lowest < 5000 && !db.hasWeapon(lowest)) ++lowest;
    ASSERT_LT(lowest, 5000);
    const int tank = 1000;
    ASSERT_TRUE(db.hasWeapon(tank));
    ProfileEntry("Environment", "SimAttackUidA").writeInt(tank);
    ProfileEntry("Environment", "SimAttackUidB").writeInt(4999);  // no such weapon
    ASSERT_FALSE(db.hasWeapon(4999));

    CombatComparisonDialog d(frame, db);
    int other = -1;
    Dialog::onModalStart = [&](Dialog&) {
        QTimer::singleShot(0, [&] {
            EXPECT_EQ(d.side(0).weaponId, tank);
            EXPECT_EQ(d.side(1).weaponId, lowest);
            EXPECT_EQ(d.side(0).slot, -1);
            EXPECT_EQ(d.side(0).terrain, 1);
            // The first slot that can hurt the other side.
            int slot = 0;
            while (slot < 5 && !d.slotUsable(0, slot)) ++slot;
            if (slot < 5) {
                auto* button = d.control<QPushButton>(CombatComparisonDialog::kIdSlotA + slot);
                ASSERT_NE(button, nullptr);
                button->click();
                EXPECT_EQ(d.side(0).slot, slot);
                EXPECT_FALSE(button->isEnabled());
                EXPECT_EQ(d.figures(0).power, db.slotArmament(tank, slot).power);
                // The same weapon again keeps the slot; another weapon drops it.
                d.chooseWeapon(0, tank);
                EXPECT_EQ(d.side(0).slot, slot);
            }
            for (int id : comparisonWeapons(db))
                if (id != tank) other = id;
            d.chooseWeapon(0, other);
            EXPECT_EQ(d.side(0).slot, -1);
            d.control<QPushButton>(CombatComparisonDialog::kIdCancelButton)->click();
        });
    };
    d.run();
    EXPECT_EQ(d.result, 0);
    ASSERT_GE(other, 0);
    EXPECT_EQ(ProfileEntry("Environment", "SimAttackUidA").readInt(-1), other);
    EXPECT_EQ(ProfileEntry("Environment", "SimAttackUidB").readInt(-1), lowest);
}

}  // namespace
}  // namespace kv
