// Undo and redo: before-images restored newest first, the after-images kept for redo, the
// troop count left raised, labels restored through their own table.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "document/bulk_edits.h"
#include "document/map_file.h"
#include "document/troop_edit.h"
#include "sample_document.h"

namespace kv {
namespace {

using kvtest::kFighter;
using kvtest::kTank;

class UndoRedo : public kvtest::SampleDocument {
protected:
    TerrainBrush plainBrush() {
        TerrainBrush b;
        b.valid = 1;
        b.terrainId = kTerrainPlain;
        b.picture = 1;
        return b;
    }
    // Places a troop into a slot the way the troop tools do: one operation with the hex
    // and the troop recorded first.
    void placeTroop(int table, int slot, const TroopRecord& t) {
        doc().history.begin();
        doc().history.recordHexAndTroop(t.col(), t.row(), table, slot);
        putTroop(table, slot, t);
        doc().enterTroopInStack(table, slot);
    }
};

TEST_F(UndoRedo, PaintUndoRedoUndoReturnsTheHexExactly) {
    MapDocument& d = doc();
    const HexCell before = *d.cellAt(3, 4);
    const HexOverlay overlayBefore = *d.overlayAt(3, 4);
    d.history.begin();
    d.setTerrain(3, 4, plainBrush());
    const HexCell painted = *d.cellAt(3, 4);
    ASSERT_NE(painted, before);
    d.viewSettings.redrawGrid.markAllClean();

    d.history.undo();
    EXPECT_EQ(*d.cellAt(3, 4), before);
    EXPECT_EQ(*d.overlayAt(3, 4), overlayBefore);
    EXPECT_TRUE(d.viewSettings.redrawGrid.isDirty(3, 4));
    EXPECT_TRUE(d.history.undoStack().empty());
    EXPECT_FALSE(d.history.redoStack().empty());

    d.history.redo();
    EXPECT_EQ(*d.cellAt(3, 4), painted);
    EXPECT_TRUE(d.history.redoStack().empty());
    d.history.undo();
    EXPECT_EQ(*d.cellAt(3, 4), before);
    // Any number of rounds ends the same.
    for (int i = 0; i < 5; ++i) {
        d.history.redo();
        d.history.undo();
    }
    EXPECT_EQ(*d.cellAt(3, 4), before);
}

TEST_F(UndoRedo, SameHexRecordedTwiceEndsAtTheFirstImage) {
    MapDocument& d = doc();
    const HexCell before = *d.cellAt(1, 1);
    d.history.begin();
    d.history.recordHex(1, 1);
    d.cellAt(1, 1)->terrain = 2;
    d.history.recordHex(1, 1);
    d.cellAt(1, 1)->terrain = 3;
    d.history.undo();
    EXPECT_EQ(*d.cellAt(1, 1), before);
    d.history.redo();
    EXPECT_EQ(d.cellAt(1, 1)->terrain, 3);
}

TEST_F(UndoRedo, ANewEditEmptiesTheRedoStack) {
    MapDocument& d = doc();
    d.history.begin();
    d.setTerrain(1, 1, plainBrush());
    d.history.undo();
    ASSERT_FALSE(d.history.redoStack().empty());
    d.history.begin();
    d.setTerrain(2, 2, plainBrush());
    EXPECT_TRUE(d.history.redoStack().empty());
    const HexCell at11 = *d.cellAt(1, 1);
    d.history.redo();  // nothing to redo: nothing changes but the undo stack is emptied
    EXPECT_EQ(*d.cellAt(1, 1), at11);
    EXPECT_TRUE(d.history.undoStack().empty());
    EXPECT_EQ(d.cellAt(2, 2)->terrain, kTerrainPlain);
}

TEST_F(UndoRedo, UndoOfATroopPlacementInANewSlotLeavesTheCountRaised) {
    MapDocument& d = doc();
    placeTroop(3, 12, troop(kTank, 8, 9));
    ASSERT_EQ(d.troops.count[3], 13);
    ASSERT_EQ(d.overlayAt(8, 9)->stackTable[1], 4);
    d.history.undo();
    EXPECT_FALSE(d.troopAt(3, 12)->inUse());
    EXPECT_EQ(*d.troopAt(3, 12), TroopRecord{});
    EXPECT_EQ(d.troops.count[3], 13);
    EXPECT_EQ(*d.overlayAt(8, 9), HexOverlay{});
    d.history.redo();
    EXPECT_EQ(d.troopAt(3, 12)->weaponId(), kTank);
    EXPECT_EQ(d.overlayAt(8, 9)->stackTable[1], 4);
}

TEST_F(UndoRedo, TroopRecordsRestoreAndRebuildTheReinforcementIndex) {
    MapDocument& d = doc();
    d.tool.reinforcementTurn = 5;
    d.setEditMode(kEditReinforcements);
    d.history.begin();
    d.history.recordTroop(1, 0);
    putTroop(1, 0, troop(kFighter, 2, 2, 5));
    d.rebuildReinforcementIndex();
    ASSERT_EQ(d.troopIndexAt(2, 2)->table[0], 2);
    d.history.undo();
    EXPECT_EQ(d.troopIndexAt(2, 2)->table[0], 0);
    d.history.redo();
    EXPECT_EQ(d.troopIndexAt(2, 2)->table[0], 2);
    EXPECT_EQ(d.troopIndexAt(2, 2)->slot[0], 0);
}

TEST_F(UndoRedo, RecordsOfAKindLeaveTheUnusedFieldsZero) {
    MapDocument& d = doc();
    putTroop(0, 3, troop(kTank, 1, 1));
    d.history.begin();
    d.history.recordHex(5, 6);
    d.history.recordTroop(0, 3);
    d.history.recordHexAndTroop(5, 6, 0, 3);
    ASSERT_EQ(d.history.undoStack().size(), 3u);
    EXPECT_EQ(d.history.undoStack()[0].troop, TroopRecord{});
    EXPECT_EQ(d.history.undoStack()[0].col, 5);
    EXPECT_EQ(d.history.undoStack()[1].cell, HexCell{});
    EXPECT_EQ(d.history.undoStack()[1].troop.weaponId(), kTank);
    EXPECT_EQ(d.history.undoStack()[2].kind, UndoRecord::HexAndTroop);
    EXPECT_EQ(d.history.undoStack()[2].slot, 3);
}

TEST_F(UndoRedo, RecordsOfThingsThatDoNotExistAreNotTaken) {
    MapDocument& d = doc();
    d.history.begin();
    d.history.recordHex(64, 0);
    d.history.recordHex(0, -1);
    d.history.recordTroop(6, 0);
    d.history.recordTroop(0, 200);
    d.history.recordLabel(-5, 3);
    EXPECT_TRUE(d.history.undoStack().empty());
    d.history.recordHexAndTroop(64, 64, 0, 0);  // the troop half still counts
    ASSERT_EQ(d.history.undoStack().size(), 1u);
    EXPECT_EQ(d.history.undoStack()[0].kind, UndoRecord::Troop);
}

TEST_F(UndoRedo, HostileRecordsAreSkipped) {
    MapDocument& d = doc();
    UndoRecord bad{};
    bad.kind = UndoRecord::HexAndTroop;
    bad.col = 5000;
    bad.row = -3;
    bad.table = 77;
    bad.slot = 999;
    d.history.append(bad);
    bad.kind = static_cast<UndoRecord::Kind>(9);
    d.history.append(bad);
    d.history.undo();
    d.history.redo();
    EXPECT_TRUE(d.history.redoStack().empty());
}

TEST_F(UndoRedo, LabelEditsAreUndoneWithTheLabelTable) {
    MapDocument& d = doc();
    d.setLabel(1, 1, "A", 0, 0);
    d.setLabel(2, 2, "B", 1, 0);
    d.setLabel(3, 3, "C", 0, 1);
    d.history.begin();
    ASSERT_TRUE(d.deleteLabel(1, 1));
    EXPECT_EQ(d.labelNumberAt(3, 3), 2);
    // The text ran over the hexes beside its own: the undo draws its whole row again.
    d.viewSettings.redrawGrid.markAllClean();
    d.history.undo();
    EXPECT_TRUE(d.viewSettings.redrawGrid.isDirty(d.width() - 1, 1));
    EXPECT_FALSE(d.viewSettings.redrawGrid.isDirty(d.width() - 1, 5));
    ASSERT_NE(d.labelAt(1, 1), nullptr);
    EXPECT_EQ(d.labelAt(1, 1)->textString(), "A");
    EXPECT_EQ(d.labelCount(), 3);
    for (auto [c, r] : {std::pair{1, 1}, {2, 2}, {3, 3}})
        EXPECT_EQ(d.mapGrid.labels[size_t(d.labelNumberAt(c, r) - 1)].col, c);
    d.history.redo();
    EXPECT_EQ(d.labelAt(1, 1), nullptr);
    EXPECT_EQ(d.labelCount(), 2);

    d.history.begin();
    d.setLabel(2, 2, "B2", 0, 0);
    d.history.undo();
    EXPECT_EQ(d.labelAt(2, 2)->textString(), "B");
    EXPECT_EQ(d.labelAt(2, 2)->kind, 1);
}

TEST_F(UndoRedo, WholeMapOperationRoundTrips) {
    MapDocument& d = doc();
    d.mapHeader.setSize(256, 256);
    d.resetToNewMap();
    d.mapHeader.setSize(256, 256);
    const std::vector<HexCell> before = d.mapGrid.cells;
    d.history.begin();
    for (int row = 0; row < 256; ++row)
        for (int col = 0; col < 256; ++col) {
            d.history.recordHex(col, row);
            d.cellAt(col, row)->terrain = static_cast<uint8_t>(col ^ row);
        }
    const std::vector<HexCell> after = d.mapGrid.cells;
    ASSERT_EQ(d.history.undoStack().size(), 65536u);
    d.history.undo();
    EXPECT_EQ(d.mapGrid.cells, before);
    d.history.redo();
    EXPECT_EQ(d.mapGrid.cells, after);
}

class LabelTable : public kvtest::SampleDocument {};

TEST_F(LabelTable, LabelsStayPackedWhenOneIsRemoved) {
    MapDocument& d = doc();
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(d.setLabel(i, 10, std::string(1, char('A' + i)), 0, 0));
    ASSERT_TRUE(d.deleteLabel(1, 10));
    EXPECT_EQ(d.labelCount(), 4);
    EXPECT_EQ(d.mapGrid.labels[1].textString(), "C");
    EXPECT_EQ(d.mapGrid.labels[3].textString(), "E");
    EXPECT_FALSE(d.mapGrid.labels[4].inUse());
    EXPECT_EQ(d.labelNumberAt(4, 10), 4);
    EXPECT_EQ(d.labelNumberAt(1, 10), 0);
    EXPECT_FALSE(d.deleteLabel(1, 10));
    // Empty text deletes; an edit keeps the label's place.
    EXPECT_TRUE(d.setLabel(0, 10, "", 0, 0));
    EXPECT_EQ(d.mapGrid.labels[0].textString(), "C");
    EXPECT_TRUE(d.setLabel(3, 10, "DD", 1, 1));
    EXPECT_EQ(d.labelNumberAt(3, 10), 2);
    EXPECT_EQ(d.labelAt(3, 10)->value, 1);
}

TEST_F(LabelTable, TheThousandAndFirstLabelIsRefused) {
    MapDocument& d = doc();
    d.mapHeader.setSize(100, 100);
    d.resetToNewMap();
    d.mapHeader.setSize(100, 100);
    for (int i = 0; i < 1000; ++i) ASSERT_TRUE(d.setLabel(i % 100, i / 100, "L", 0, 0)) << i;
    EXPECT_EQ(d.labelCount(), 1000);
    d.history.begin();
    EXPECT_FALSE(d.setLabel(50, 50, "X", 0, 0));
    EXPECT_EQ(d.labelNumberAt(50, 50), 0);
    EXPECT_TRUE(d.history.undoStack().empty());
    // Editing one of the thousand is still allowed, and so is a new one after a removal.
    EXPECT_TRUE(d.setLabel(5, 5, "Edited", 0, 0));
    EXPECT_EQ(d.labelAt(5, 5)->textString(), "Edited");
    EXPECT_TRUE(d.deleteLabel(0, 0));
    EXPECT_TRUE(d.setLabel(50, 50, "X", 0, 0));
    EXPECT_EQ(d.labelNumberAt(50, 50), 1000);
    EXPECT_FALSE(d.setLabel(100, 5, "Out", 0, 0));
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// A deep history: 500 random operations of every kind on the demo scenario, then undo all
// gives back the starting file byte for byte and redo all the final one; the memory cap drops
// the oldest steps first, and a depth of 1 keeps only the last operation.
TEST_F(UndoRedo, ADeepHistoryWalksBackToTheStartAndForwardToTheEnd) {
    ASSERT_TRUE(loadMapFile(doc(), kvtest::distDir() + "/map/demo_scenario.kvs"));
    MapDocument& d = doc();
    d.history.setLimits(1000);
    const std::string start = mapFileBytes(d, MapFileKind::Scenario);
    std::mt19937 rng(5);
    auto any = [&](int n) { return int(rng() % unsigned(n)); };
    const int w = d.width(), h = d.height();
    const int weapons[] = {kTank, kFighter, kvtest::kDestroyer};
    for (int i = 0; i < 500; ++i) {
        EditOperation op(d, EditOperation::History::NewStep, "random");
        const HexPos a{any(w), any(h)};
        switch (any(6)) {
            case 0: {
                TerrainBrush b = plainBrush();
                b.terrainId = static_cast<uint16_t>(1 + any(40));
                d.setTerrain(a.col, a.row, b);
                break;
            }
            case 1: d.setBorderline(a.col, a.row, {any(7), 2 + any(2)}); break;
            case 2: {
                const HexRect from = HexRect::spanning(a, {any(w), any(h)});
                if (from.width() * from.height() <= 64) d.pasteCells(from, {any(w), any(h)}, false);
                break;
            }
            case 3: d.setLabel(a.col, a.row, any(2) ? "ABC" : "", any(2), 0); break;
            default: {
                TroopBrush& b = d.tool.troopBrush;
                b = TroopBrush{};
                b.valid = 1;
                b.faction = any(2);
                b.weaponId = weapons[any(3)];
                if (kv::placeTroop(d, a.col, a.row, false) < 0) b = TroopBrush{};
                break;
            }
        }
    }
    const std::string end = mapFileBytes(d, MapFileKind::Scenario);
    ASSERT_NE(start, end);
    int undone = 0;
    while (d.history.canUndo()) {
        d.history.undo();
        ++undone;
    }
    EXPECT_GT(undone, 100);
    EXPECT_TRUE(mapFileBytes(d, MapFileKind::Scenario) == start);
    while (d.history.canRedo()) d.history.redo();
    EXPECT_TRUE(mapFileBytes(d, MapFileKind::Scenario) == end);

    // A cap on memory keeps the newest steps that fit, the newest always.
    const size_t all = d.history.bytes();
    const size_t kept = d.history.doneSteps().size();
    d.history.setLimits(1000, all / 3);
    EXPECT_LE(d.history.bytes(), all / 3 + UndoHistory::bytesOf(d.history.doneSteps().back()));
    EXPECT_LT(d.history.doneSteps().size(), kept);
    EXPECT_GE(d.history.doneSteps().size(), 1u);
    EXPECT_EQ(size_t(d.history.dropped()), kept - d.history.doneSteps().size());
    // Depth 1: only the last operation.
    d.history.setLimits(1);
    EXPECT_EQ(d.history.doneSteps().size(), 1u);
}

// The history list's names: each hex counted once however often a stroke passed it, and a
// history emptied by an operation that cannot be undone says which.
TEST_F(UndoRedo, StepsAreNamedByWhatTheyDidAndAClearSaysWhy) {
    MapDocument& d = doc();
    {
        EditOperation op(d, EditOperation::History::NewStep, "地形配置");
        TerrainBrush b = plainBrush();
        for (int col : {3, 4, 3, 4, 5}) d.setTerrain(col, 2, b);
    }
    EXPECT_EQ(stepCaption(d.history.undoStep()), "地形配置 (3ヘックス)");
    UndoStep unnamed;
    EXPECT_EQ(stepCaption(unnamed), "編集");
    EXPECT_EQ(d.history.origin(), "");
    changeMapSize(d, 20, 20, 0);
    EXPECT_FALSE(d.history.canUndo());
    EXPECT_EQ(d.history.origin(), "ﾏｯﾌﾟｻｲｽﾞの変更");
    d.resetToNewMap();
    EXPECT_EQ(d.history.origin(), "");
}

}  // namespace
}  // namespace kv
