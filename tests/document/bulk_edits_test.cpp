// The whole-map edits: changing the size around an anchor, exchanging two factions, and
// packing the troop numbers with undo.
#include <gtest/gtest.h>

#include "document/bulk_edits.h"
#include "document/map_check.h"
#include "document/map_file.h"
#include "document/troop_capacity.h"
#include "document/troop_slots.h"
#include "sample_document.h"

namespace kv {
namespace {

using kvtest::kFighter;
using kvtest::kTank;
using slots::directSlot;
using slots::regimentSlot;

constexpr int kInfantry = 1220, kApc = 1030, kTroopHeli = 240;

// Two file images are the same, or where they first differ.
testing::AssertionResult sameBytes(const std::string& a, const std::string& b) {
    if (a == b) return testing::AssertionSuccess();
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return testing::AssertionFailure()
           << "sizes " << a.size() << " and " << b.size() << ", first difference at byte " << i;
}

class BulkEdit : public kvtest::SampleDocument {
protected:
    // Every hex different: terrain, owner, roads and territory from its place.
    void patternMap() {
        for (int row = 0; row < doc().height(); ++row)
            for (int col = 0; col < doc().width(); ++col) {
                HexCell* c = doc().cellAt(col, row);
                c->terrain = static_cast<uint8_t>(1 + (col * 7 + row * 3) % 12);
                c->picture = static_cast<uint16_t>(col + 100 * row);
                c->roadLinks = static_cast<uint8_t>((col ^ row) & 0x3F);
            }
    }
    void stand(int table, int slot, int weapon, int col, int row) {
        doc().cellAt(col, row)->terrain = kTerrainPlain;
        putTroop(table, slot, troop(weapon, col, row));
        ASSERT_TRUE(doc().enterTroopInStack(table, slot));
    }
    void load(int table, int slot, int weapon, int carrierSlot, int place) {
        const TroopRecord* c = doc().troopAt(table, carrierSlot);
        putTroop(table, slot, troop(weapon, c->col(), c->row()));
        loadInto(table, slot, carrierSlot, place);
    }
    std::string fileImage() { return mapFileBytes(doc(), MapFileKind::Intermediate); }
};

using MapSize = BulkEdit;

TEST_F(MapSize, GrowingAroundTheCentreAndShrinkingBackRestoresTheMap) {
    patternMap();
    ASSERT_TRUE(doc().setLabel(5, 6, "A", 0, 0));
    ASSERT_TRUE(doc().setLabel(60, 61, "B", 1, 1));
    stand(0, directSlot(1, 0), kApc, 10, 11);
    load(0, directSlot(1, 1), kInfantry, directSlot(1, 0), 0);
    stand(1, regimentSlot(0, 0, 0), kFighter, 63, 0);
    doc().troopAt(0, directSlot(1, 0))->bytes[kTroopConditionAt] = kConditionTransport;
    doc().troopAt(0, directSlot(1, 0))->bytes[kTroopDestColAt] = 40;
    doc().troopAt(0, directSlot(1, 0))->bytes[kTroopDestRowAt] = 41;
    doc().evacuationTargets.setTarget(0, 3, 4, true);
    doc().recomputeDerivedHexData();
    const std::vector<HexCell> before(doc().mapGrid.cells.begin(),
                                      doc().mapGrid.cells.begin() + 64 * 64);
    const std::string image = fileImage();

    const MapSizeChange grown = changeMapSize(doc(), 128, 128, kAnchorCentre);
    ASSERT_TRUE(grown.changed);
    EXPECT_EQ(grown.colOffset, 32);
    EXPECT_EQ(grown.rowOffset, 32);
    EXPECT_EQ(doc().width(), 128);
    for (int row = 0; row < 64; ++row)
        for (int col = 0; col < 64; ++col)
            ASSERT_EQ(*doc().cellAt(col + 32, row + 32), before[size_t(col + row * 64)]);
    EXPECT_EQ(doc().cellAt(0, 0)->terrain, kTerrainNewMap);
    EXPECT_EQ(doc().cellAt(127, 127)->terrain, kTerrainNewMap);
    EXPECT_STREQ(doc().labelAt(37, 38)->text, "A");
    EXPECT_EQ(doc().labelNumberAt(92, 93), 2);
    const TroopRecord& apc = *doc().troopAt(0, directSlot(1, 0));
    EXPECT_EQ(apc.col(), 42);
    EXPECT_EQ(doc().troopAt(0, directSlot(1, 1))->row(), 43);
    EXPECT_EQ(destinationCol(apc), 72);
    EXPECT_EQ(doc().evacuationTargets.col(0), 35);
    EXPECT_EQ(doc().overlayAt(42, 43)->stackSlot[1], directSlot(1, 0));
    EXPECT_EQ(doc().isClean, 0);
    EXPECT_TRUE(doc().history.undoStack().empty());

    const MapSizeChange shrunk = changeMapSize(doc(), 64, 64, kAnchorCentre);
    EXPECT_EQ(shrunk.colOffset, -32);
    EXPECT_EQ(shrunk.labelsDropped, 0);
    EXPECT_EQ(shrunk.troopsDeleted, 0);
    EXPECT_TRUE(sameBytes(fileImage(), image));
}

TEST_F(MapSize, ShrinkingFromTheTopLeftDropsWhatLiesBeyondTheNewEdges) {
    ASSERT_TRUE(doc().setLabel(1, 1, "keep1", 0, 0));
    ASSERT_TRUE(doc().setLabel(40, 2, "gone", 0, 0));
    ASSERT_TRUE(doc().setLabel(2, 3, "keep2", 0, 0));
    // A helicopter beyond the edge with its cargo; a carrier inside with its cargo.
    stand(0, directSlot(0, 0), kTroopHeli, 50, 10);
    load(0, directSlot(1, 0), kInfantry, directSlot(0, 0), 0);
    stand(0, directSlot(1, 1), kApc, 5, 5);
    load(0, directSlot(1, 2), kInfantry, directSlot(1, 1), 0);
    stand(1, 0, kTank, 31, 31);
    stand(1, 1, kTank, 32, 3);

    const MapSizeChange c = changeMapSize(doc(), 32, 32, 0);
    ASSERT_TRUE(c.changed);
    EXPECT_EQ(c.colOffset, 0);
    EXPECT_EQ(c.labelsDropped, 1);
    EXPECT_EQ(c.troopsDeleted, 3);
    EXPECT_EQ(doc().labelCount(), 2);
    EXPECT_STREQ(doc().mapGrid.labels[0].text, "keep1");
    EXPECT_STREQ(doc().mapGrid.labels[1].text, "keep2");
    EXPECT_EQ(doc().labelNumberAt(2, 3), 2);
    EXPECT_FALSE(doc().troopAt(0, directSlot(0, 0))->inUse());
    EXPECT_FALSE(doc().troopAt(0, directSlot(1, 0))->inUse());
    EXPECT_TRUE(doc().troopAt(0, directSlot(1, 2))->inUse());
    EXPECT_TRUE(doc().troopAt(1, 0)->inUse());
    EXPECT_FALSE(doc().troopAt(1, 1)->inUse());
    EXPECT_EQ(doc().troops.count[1], 1);
}

TEST_F(MapSize, AnchorsChooseThePartKeptAndWhereItLands) {
    struct Case {
        int anchor, width, height, colOffset, rowOffset;
    };
    // From 64 × 64.
    const Case cases[] = {{0, 100, 80, 0, 0},   {2, 100, 80, 36, 0},   {4, 100, 80, 18, 8},
                          {8, 100, 80, 36, 16}, {8, 30, 20, -34, -44}, {4, 31, 31, -16, -16},
                          {6, 64, 10, 0, -54},  {5, 10, 64, -54, 0}};
    for (const Case& k : cases) {
        doc().resetToNewMap();
        doc().cellAt(63, 63)->terrain = kTerrainPlain;
        const MapSizeChange c = changeMapSize(doc(), k.width, k.height, k.anchor);
        EXPECT_EQ(c.colOffset, k.colOffset) << k.anchor << " " << k.width;
        EXPECT_EQ(c.rowOffset, k.rowOffset) << k.anchor << " " << k.height;
        const HexCell* moved = doc().cellAt(63 + k.colOffset, 63 + k.rowOffset);
        if (moved) {
            EXPECT_EQ(moved->terrain, kTerrainPlain);
        }
    }
}

TEST_F(MapSize, SizesOutsideTheRangeAreRefusedAndShrinkingAsksFirst) {
    EXPECT_EQ(mapSizeRefusal(0, 10), kWidthOutOfRangeText);
    EXPECT_EQ(mapSizeRefusal(257, 10), kWidthOutOfRangeText);
    EXPECT_EQ(mapSizeRefusal(10, 257), kHeightOutOfRangeText);
    EXPECT_TRUE(mapSizeRefusal(256, 1).empty());
    EXPECT_FALSE(changeMapSize(doc(), 300, 10, 0).changed);
    EXPECT_FALSE(changeMapSize(doc(), 10, 10, 9).changed);
    EXPECT_EQ(doc().width(), 64);

    EXPECT_FALSE(confirmMapSize(doc(), 0, 64));
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].caption, "注意");
    EXPECT_EQ(prompts.seen[0].text, "マップの横幅が範囲外です。(1～256)");
    EXPECT_TRUE(confirmMapSize(doc(), 128, 64));
    EXPECT_EQ(prompts.seen.size(), 1u);  // growing asks nothing
    prompts.script.push_back(PromptAnswer::No);
    EXPECT_FALSE(confirmMapSize(doc(), 48, 64));
    EXPECT_EQ(prompts.seen.back().caption, "確認");
    EXPECT_EQ(prompts.seen.back().buttons, PromptButtons::YesNo);
    EXPECT_TRUE(confirmMapSize(doc(), 48, 64));
}

TEST_F(MapSize, TargetsThatLeaveTheMapAreMovedOffItForTheCheckToReport) {
    doc().factions[0].setParticipation(kFactionUser);
    stand(0, directSlot(1, 0), kInfantry, 5, 5);
    TroopRecord* t = doc().troopAt(0, directSlot(1, 0));
    t->bytes[kTroopConditionAt] = kConditionTransport;
    t->bytes[kTroopDestColAt] = 60;
    t->bytes[kTroopDestRowAt] = 6;
    doc().evacuationTargets.setTarget(1, 7, 62, true);
    changeMapSize(doc(), 32, 32, 0);
    EXPECT_EQ(destinationCol(*t), 255);
    EXPECT_EQ(destinationRow(*t), 6);
    EXPECT_EQ(doc().evacuationTargets.row(1), 255);
    std::vector<int> found;
    for (const MapProblem& p : checkMap(doc())) found.push_back(p.code);
    EXPECT_NE(std::find(found.begin(), found.end(), problem::kDestinationOffMap), found.end());
    EXPECT_NE(std::find(found.begin(), found.end(), problem::kEvacuationOffMap), found.end());
}

using FactionExchange = BulkEdit;

TEST_F(FactionExchange, SwappingTwiceRestoresEveryByte) {
    patternMap();
    for (int i = 0; i < 6; ++i) doc().cellAt(i, 1)->owner = static_cast<uint8_t>(i + 1);
    doc().factions[0].setParticipation(kFactionUser);
    doc().factions[0].setAlliances(0b000110);
    doc().factions[2].setAlliances(0b000001);
    doc().factions[2].setFactionBits(0b100100);
    doc().factions[2].setFunds(1234);
    doc().regiments[2][3].setFormed(1);
    stand(0, directSlot(1, 0), kApc, 10, 11);
    load(0, directSlot(1, 1), kInfantry, directSlot(1, 0), 0);
    stand(2, regimentSlot(0, 0, 0), kFighter, 10, 11);
    const std::string image = fileImage();

    ASSERT_TRUE(exchangeFactions(doc(), 0, 2));
    EXPECT_FALSE(sameBytes(fileImage(), image));
    EXPECT_EQ(doc().factions[0].funds(), 1234);
    EXPECT_EQ(doc().factions[2].participation(), kFactionUser);
    EXPECT_EQ(doc().factions[2].alliances(), 0b000011);  // was 1 and 2: now 1 and 0
    EXPECT_EQ(doc().factions[0].alliances(), 0b000100);
    EXPECT_EQ(doc().factions[0].factionBits(), 0b100001);
    EXPECT_EQ(doc().regiments[0][3].formed(), 1);
    EXPECT_EQ(doc().cellAt(0, 1)->owner, 3);
    EXPECT_EQ(doc().cellAt(2, 1)->owner, 1);
    EXPECT_EQ(doc().cellAt(1, 1)->owner, 2);
    EXPECT_EQ(doc().isClean, 0);
    EXPECT_TRUE(doc().history.undoStack().empty());

    ASSERT_TRUE(exchangeFactions(doc(), 0, 2));
    EXPECT_TRUE(sameBytes(fileImage(), image));
}

TEST_F(FactionExchange, CarrierReferencesAndStacksFollowTheirTroops) {
    doc().cellAt(10, 11)->territory = 1;
    stand(1, directSlot(1, 0), kApc, 10, 11);
    load(1, directSlot(1, 1), kInfantry, directSlot(1, 0), 0);
    stand(4, regimentSlot(0, 0, 0), kFighter, 10, 11);
    ASSERT_TRUE(exchangeFactions(doc(), 1, 4));
    const TroopRecord& cargo = *doc().troopAt(4, directSlot(1, 1));
    EXPECT_TRUE(cargo.inUse());
    EXPECT_EQ(cargo.carrierTablePlusOne(), 5);
    EXPECT_EQ(cargo.carrierSlotPlusOne(), directSlot(1, 0) + 1);
    EXPECT_EQ(doc().troops.count[4], directSlot(1, 1) + 1);
    const HexOverlay& o = *doc().overlayAt(10, 11);
    EXPECT_EQ(o.stackTable[0], 2);  // the fighter, now faction 1's
    EXPECT_EQ(o.stackTable[1], 5);
    EXPECT_EQ(doc().cellAt(10, 11)->territory, 1);  // territories stay
    for (const MapProblem& p : checkMap(doc())) EXPECT_NE(p.code, problem::kNoCarrier);

    EXPECT_FALSE(exchangeFactions(doc(), 2, 2));
    EXPECT_FALSE(exchangeFactions(doc(), 0, 6));
    EXPECT_FALSE(exchangeFactions(doc(), -1, 0));
}

using TroopNumbers = BulkEdit;

TEST_F(TroopNumbers, PositionsZeroTwoFiveBecomeZeroOneTwoWithCarrierLinksFollowed) {
    const int r0 = regimentSlot(1, 2, 0);
    stand(0, r0, kTank, 5, 5);
    stand(0, r0 + 5, kApc, 6, 6);
    load(0, r0 + 2, kInfantry, r0 + 5, 1);
    // Direct unit 4 of the air division, a helicopter carrying direct unit 9 of the army.
    stand(0, directSlot(0, 4), kTroopHeli, 7, 7);
    load(0, directSlot(1, 9), kInfantry, directSlot(0, 4), 0);
    doc().regiments[0][6 + 2].setFormed(1);
    doc().regiments[0][6 + 2].setCommanderSlot(static_cast<uint16_t>(r0 + 5));
    doc().troops.recomputeCounts();

    EXPECT_EQ(packTroopNumbers(doc()), 4);
    const TroopRecord& apc = *doc().troopAt(0, r0 + 2);
    const TroopRecord& inf = *doc().troopAt(0, r0 + 1);
    EXPECT_EQ(doc().troopAt(0, r0)->weaponId(), kTank);
    EXPECT_EQ(apc.weaponId(), kApc);
    EXPECT_EQ(inf.weaponId(), kInfantry);
    EXPECT_FALSE(doc().troopAt(0, r0 + 5)->inUse());
    EXPECT_EQ(apc.cargoEntry(1), r0 + 1 + 1);
    EXPECT_EQ(inf.carrierSlotPlusOne(), r0 + 2 + 1);
    EXPECT_EQ(doc().overlayAt(6, 6)->stackSlot[1], r0 + 2);
    EXPECT_EQ(doc().regiments[0][8].commanderSlot(), r0 + 2);
    const TroopRecord& heli = *doc().troopAt(0, directSlot(0, 0));
    EXPECT_EQ(heli.weaponId(), kTroopHeli);
    EXPECT_EQ(heli.cargoEntry(0), directSlot(1, 0) + 1);
    EXPECT_EQ(doc().troopAt(0, directSlot(1, 0))->carrierSlotPlusOne(), directSlot(0, 0) + 1);
    for (const MapProblem& p : checkMap(doc())) {
        EXPECT_NE(p.code, problem::kNoCarrier);
        EXPECT_NE(p.code, problem::kNotOnMap);
        EXPECT_NE(p.code, problem::kDirectUnitGap);
    }
    // Packed already: nothing moves, and the history stays.
    const size_t recorded = doc().history.undoStack().size();
    EXPECT_EQ(packTroopNumbers(doc()), 0);
    EXPECT_EQ(doc().history.undoStack().size(), recorded);
}

TEST_F(TroopNumbers, OneUndoRestoresEverythingThePackChangedAndRedoPacksAgain) {
    const int r0 = regimentSlot(1, 0, 0);
    stand(0, r0 + 3, kTank, 5, 5);
    stand(0, r0 + 4, kApc, 6, 6);
    load(0, r0 + 1, kInfantry, r0 + 4, 0);
    stand(3, directSlot(2, 2), 2040, 0, 9);
    doc().cellAt(0, 9)->terrain = 29;
    doc().regiments[0][6].setFormed(1);  // division 1, regiment 0, led by the carrier
    doc().regiments[0][6].setCommanderSlot(static_cast<uint16_t>(r0 + 4));
    doc().troops.recomputeCounts();
    doc().troops.raiseCount(0, 150);  // as a deleted troop leaves it
    const std::string before = fileImage();
    const auto overlaysBefore = doc().mapGrid.overlays;

    ASSERT_EQ(packTroopNumbers(doc()), 4);
    const std::string packed = fileImage();
    const auto overlaysPacked = doc().mapGrid.overlays;
    ASSERT_NE(packed, before);
    for (int round = 0; round < 2; ++round) {
        doc().history.undo();
        EXPECT_TRUE(sameBytes(fileImage(), before)) << round;
        EXPECT_TRUE(doc().mapGrid.overlays == overlaysBefore) << round;
        doc().history.redo();
        EXPECT_TRUE(sameBytes(fileImage(), packed)) << round;
        EXPECT_TRUE(doc().mapGrid.overlays == overlaysPacked) << round;
    }
}

}  // namespace
}  // namespace kv
