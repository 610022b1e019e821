// Troop placement, loading, moving and recalling, regiments and the change of affiliation:
// refusals leave the document as it was, undo restores whole tables, and a long random
// sequence on the demo scenario keeps stacks, counts, the reinforcement index and the carrier
// links consistent.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "document/map_check.h"
#include "document/map_file.h"
#include "document/map_problem.h"
#include "document/regiments.h"
#include "document/troop_capacity.h"
#include "document/troop_edit.h"
#include "document/troop_properties.h"
#include "document/troop_slots.h"
#include "sample_document.h"
#include "support/test_paths.h"

namespace {

using namespace kv;
using kvtest::kDestroyer;
using kvtest::kFighter;
using kvtest::kTank;

constexpr int kInfantry = 1220, kApc = 1030, kTroopHeli = 240;

// Everything a troop operation may change.
struct TroopState {
    std::array<int32_t, TroopTable::kFactions> count{};
    std::array<std::vector<TroopRecord>, TroopTable::kFactions> records;
    std::vector<HexOverlay> overlays;
    std::vector<TroopIndexRecord> index;
    std::array<std::array<RegimentRecord, kRegimentsPerFaction>, kFactionCount> regiments{};
    size_t undoRecords = 0;
    bool operator==(const TroopState&) const = default;

    // The grid tables as far as the map reaches.
    explicit TroopState(const MapDocument& doc)
        : count(doc.troops.count),
          records(doc.troops.records),
          overlays(doc.mapGrid.overlays.begin(),
                   doc.mapGrid.overlays.begin() + doc.area().hexCount()),
          index(doc.mapGrid.troopIndex.begin(),
                doc.mapGrid.troopIndex.begin() + doc.area().hexCount()),
          regiments(doc.regiments),
          undoRecords(doc.history.undoStack().size()) {}
    bool sameTroops(const TroopState& o) const {
        return count == o.count && records == o.records && overlays == o.overlays &&
               index == o.index && regiments == o.regiments;
    }
};

class TroopEditTest : public kvtest::SampleDocument {
protected:
    // The new map's terrain carries no land troops: every hex becomes land they may cross.
    void SetUp() override {
        SampleDocument::SetUp();
        const int land = terrainWhere([&](const TerrainType&, int i) {
            for (int w : {kTank, kApc, kInfantry})
                if (doc().gameDatabase.hexMoveCost(
                        {uint8_t(i), 0, 0, 0}, doc().gameDatabase.weapon(w).movementType()) == 0)
                    return false;
            return true;
        });
        for (HexCell& c : doc().mapGrid.cells) c.terrain = static_cast<uint8_t>(land);
    }
    void setBrush(int table, int weapon, int units = 10, int experience = 0) {
        TroopBrush& b = doc().tool.troopBrush;
        b = TroopBrush{};
        b.valid = 1;
        b.faction = table;
        b.weaponId = weapon;
        b.unitCount = units;
        b.experience = experience;
    }
    void setListBrush(int table, int slot) {
        setBrush(table, 0);
        doc().tool.troopBrush.fromList = 1;
        doc().tool.troopBrush.item = slot;
    }
    int place(int table, int weapon, int col, int row, bool stow = false) {
        setBrush(table, weapon);
        return placeTroop(doc(), col, row, stow);
    }
    // The first terrain of the game data that has a category and a capacity, or none.
    int terrainWhere(const std::function<bool(const TerrainType&, int)>& pick) {
        const auto& types = doc().gameDatabase.terrainTypes();
        for (size_t i = 0; i < types.size(); ++i)
            if (pick(types[i], int(i))) return int(i);
        ADD_FAILURE() << "no such terrain";
        return 0;
    }
    void setCellTerrain(int col, int row, int terrain) {
        doc().cellAt(col, row)->terrain = static_cast<uint8_t>(terrain);
    }
    int impassableFor(int weapon) {
        const int move = doc().gameDatabase.weapon(weapon).movementType();
        return terrainWhere([&](const TerrainType&, int i) {
            return doc().gameDatabase.hexMoveCost({uint8_t(i), 0, 0, 0}, move) == 0;
        });
    }
    int airport() {
        return terrainWhere([](const TerrainType& t, int) {
            return t.category == TerrainCategory::Airport && t.capacity >= 2;
        });
    }
    bool loadDemo() { return loadMapFile(doc(), kvtest::distDir() + "/map/demo_scenario.kvs"); }
    // The first hex around `near` where the weapon may stand for the table.
    HexPos freeHex(int table, int weapon, HexPos near) {
        const auto h = searchRings(doc().area(), near, [&](HexPos p) {
            return mayStandAt(doc(), table, weapon, p.col, p.row);
        });
        EXPECT_TRUE(h.has_value());
        return h.value_or(HexPos{});
    }
};

// --- Placing: the refusals in their order, each leaving everything as it was -----------------

TEST_F(TroopEditTest, PlacingRefusesInOrderAndLeavesTheDocumentAsItWas) {
    MapDocument& d = doc();
    // A different stack position takes a second troop; the same one refuses.
    const int fighter = place(0, kFighter, 5, 5);
    ASSERT_GE(fighter, 0);
    EXPECT_EQ(doc().tool.troopBrush.valid, 0) << "the brush is cleared after a placement";
    EXPECT_EQ(placeTroop(d, 6, 6, false), kTroopFactionFull) << "a cleared brush places nothing";
    const int tank = place(0, kTank, 5, 5);
    ASSERT_GE(tank, 0);
    EXPECT_NE(d.stackPositionFor(*d.troopAt(0, fighter)), d.stackPositionFor(*d.troopAt(0, tank)));

    setCellTerrain(7, 7, impassableFor(kTank));
    const TroopState before(d);
    EXPECT_EQ(place(0, kTank, 5, 5), kTroopHexTaken);
    EXPECT_EQ(place(1, kTank, 5, 5), kTroopHexTaken) << "another faction's troop holds it too";
    EXPECT_EQ(place(0, kTank, 7, 7), kTroopCannotStand);
    EXPECT_EQ(place(0, kTank, 5, 5, true), kTroopCannotStand) << "no building to stow in";
    EXPECT_EQ(place(0, kTank, 64, 0), kTroopCannotStand);
    EXPECT_EQ(place(0, kvtest::kDrone, 9, 9), kTroopFactionFull) << "weapon not in the product";
    EXPECT_EQ(place(6, kTank, 9, 9), kTroopFactionFull);
    doc().tool.editMode = kEditReinforcements;
    doc().tool.reinforcementTurn = 1;
    EXPECT_EQ(place(0, kTank, 9, 9), kTroopFactionFull) << "no reinforcements in turn 1";
    doc().tool.editMode = kEditTroops;
    EXPECT_TRUE(TroopState(d) == before);

    // The army's direct places within the limit (the first holds the tank at 5,5), then its
    // free regiments within theirs.
    d.factions[0].setDivisionLimit(slots::kDivisions + 1, 3);
    d.factions[0].setDivisionLimit(1, 2);
    std::vector<int> slotsTaken;
    for (int i = 0; i < 4; ++i) slotsTaken.push_back(place(0, kTank, 10 + i, 10));
    EXPECT_EQ(slotsTaken,
              (std::vector<int>{slots::directSlot(1, 1), slots::directSlot(1, 2),
                                slots::regimentSlot(1, 0, 0), slots::regimentSlot(1, 1, 0)}));
    EXPECT_EQ(d.regiments[0][6].formed(), 1);
    EXPECT_EQ(d.regiments[0][6].commanderSlot(), slots::regimentSlot(1, 0, 0));
    const TroopState full(d);
    EXPECT_EQ(place(0, kTank, 20, 20), kTroopDivisionFull);
    EXPECT_TRUE(TroopState(d) == full);

    // 200 troops in use: the faction is full before the division is.
    for (int s = 0; s < TroopTable::kSlots; ++s)
        if (!d.troopAt(1, s)->inUse()) putTroop(1, s, troop(kFighter, 0, 0, 2));
    const TroopState crowded(d);
    EXPECT_EQ(place(1, kTank, 20, 20), kTroopFactionFull);
    EXPECT_TRUE(TroopState(d) == crowded);
}

TEST_F(TroopEditTest, ANewTroopTakesItsWeaponTheBrushAndTheTurn) {
    MapDocument& d = doc();
    d.setEditMode(kEditReinforcements);
    d.tool.reinforcementTurn = 4;
    setBrush(2, kTank, 3, 17);
    const int slot = placeTroop(d, 8, 9, false);
    ASSERT_GE(slot, 0);
    const TroopRecord& t = *d.troopAt(2, slot);
    const WeaponRecord& w = d.gameDatabase.weapon(kTank);
    EXPECT_EQ(t.appearanceTurn(), 4);
    EXPECT_EQ(t.weaponId(), kTank);
    EXPECT_EQ(t.name(), w.name().substr(0, TroopRecord::kNameSize));
    EXPECT_EQ(t.unitCount(), 3);
    for (int i = 0; i < TroopRecord::kUnitSlots; ++i)
        EXPECT_EQ(t.unitStrength(i), i < 3 ? w.memberStrength() : 0) << i;
    EXPECT_EQ(t.experienceTimes10(), 170);
    EXPECT_EQ(t.division(), 1);
    EXPECT_EQ(t.flags() & kTroopUnplaced, 0);
    // The reinforcement index has it; the stacks of the start do not.
    const int p = d.stackPositionFor(t);
    EXPECT_EQ(d.troopIndexAt(8, 9)->table[p], 3);
    EXPECT_EQ(d.troopIndexAt(8, 9)->slot[p], slot);
    EXPECT_EQ(d.overlayAt(8, 9)->stackTable[p], 0);
    // Another turn does not block the hex; the same turn does.
    EXPECT_EQ(place(2, kTank, 8, 9), kTroopHexTaken);
    d.tool.reinforcementTurn = 5;
    d.rebuildReinforcementIndex();
    EXPECT_GE(place(2, kTank, 8, 9), 0);
}

// --- Undo: every operation is one step that restores the whole tables -----------------------

TEST_F(TroopEditTest, UndoOfEveryOperationRestoresTheTablesAndRedoRepeatsIt) {
    ASSERT_TRUE(loadDemo());
    MapDocument& d = doc();
    const HexPos base = freeHex(0, kApc, {24, 18});
    setCellTerrain(base.col, base.row, airport());
    const HexPos a = freeHex(0, kApc, {base.col + 2, base.row});
    const int carrier = place(0, kApc, a.col, a.row);
    ASSERT_GE(carrier, 0);
    const HexPos b = freeHex(0, kInfantry, a);
    const int regimentCarrierSlot = slots::regimentSlot(1, 0, 2);  // Ardena's IFV, carrying
    ASSERT_TRUE(d.troopAt(0, regimentCarrierSlot)->inUse());

    int placed = -1;
    const std::vector<std::pair<const char*, std::function<bool()>>> ops = {
        {"place", [&] { return (placed = place(0, kInfantry, b.col, b.row)) >= 0; }},
        {"stow", [&] { return place(0, kFighter, base.col, base.row, true) >= 0; }},
        {"load",
         [&] {
             setBrush(0, kInfantry);
             return loadTroop(d, 0, carrier) >= 0;
         }},
        {"move",
         [&] {
             const HexPos to = freeHex(0, kApc, {a.col + 3, a.row});
             return moveTroop(d, 0, carrier, to.col, to.row, false) >= 0;
         }},
        {"move and stow", [&] { return moveTroop(d, 0, placed, base.col, base.row, true) >= 0; }},
        {"unload by moving",
         [&] {
             const TroopRecord& ifv = *d.troopAt(0, regimentCarrierSlot);
             const int cargo = ifv.cargoEntry(0) - 1;
             const HexPos to = freeHex(0, kInfantry, {ifv.col(), ifv.row()});
             return moveTroop(d, 0, cargo, to.col, to.row, false) >= 0;
         }},
        {"recall a carrier", [&] { return recallTroop(d, 0, carrier); }},
        {"place from the list",
         [&] {
             setListBrush(0, carrier);
             const HexPos to = freeHex(0, kApc, {a.col, a.row + 3});
             return placeTroop(d, to.col, to.row, false) >= 0;
         }},
        {"gather", [&] { return gatherRegiment(d, 0, 6) == RegimentResult::Done; }},
        {"deploy", [&] { return deployRegiment(d, 0, 6) == RegimentResult::Done; }},
        {"affiliation",
         [&] { return changeAffiliation(d, 0, regimentCarrierSlot, slots::directSlot(1, 20)); }},
    };
    for (const auto& [name, op] : ops) {
        SCOPED_TRACE(name);
        const TroopState before(d);
        ASSERT_TRUE(op());
        const TroopState after(d);
        EXPECT_FALSE(after.sameTroops(before));
        d.history.undo();
        EXPECT_TRUE(TroopState(d).sameTroops(before));
        d.history.redo();
        EXPECT_TRUE(TroopState(d).sameTroops(after));
    }
}

// --- Carriers ------------------------------------------------------------------------------

TEST_F(TroopEditTest, ACarrierTakesWhatFitsAndTravelsWithItsCargo) {
    MapDocument& d = doc();
    const int apc = place(0, kApc, 10, 10);
    ASSERT_GE(apc, 0);
    std::vector<int> cargo;
    for (;;) {
        setBrush(0, kInfantry);
        const TroopState before(d);
        const int r = loadTroop(d, 0, apc);
        if (r < 0) {
            EXPECT_EQ(r, kTroopCannotStand);
            EXPECT_TRUE(TroopState(d) == before);
            break;
        }
        cargo.push_back(r);
        ASSERT_LE(cargo.size(), size_t(TroopRecord::kCargoEntries));
    }
    ASSERT_FALSE(cargo.empty());
    std::vector<int> weapons(cargo.size(), kInfantry);
    EXPECT_TRUE(carrierHolds(d.gameDatabase, kApc, weapons));
    setBrush(1, kInfantry);
    EXPECT_EQ(loadTroop(d, 0, apc), kTroopCannotStand) << "another faction's carrier";
    setBrush(0, kTank);
    EXPECT_EQ(loadTroop(d, 0, cargo[0]), kTroopCannotStand) << "not a carrier";

    // The carrier goes back to the list with its cargo and comes back with it.
    ASSERT_TRUE(recallTroop(d, 0, apc));
    for (int c : cargo) {
        const TroopRecord& t = *d.troopAt(0, c);
        EXPECT_TRUE(t.hasFlag(kTroopUnplaced) && t.hasFlag(kTroopLoaded));
        EXPECT_EQ(t.carrierSlotPlusOne(), apc + 1);
    }
    EXPECT_TRUE(troopsAtHex(d, 10, 10).empty());
    setListBrush(0, apc);
    ASSERT_EQ(placeTroop(d, 12, 14, false), apc);
    const std::vector<TroopAtHex> there = troopsAtHex(d, 12, 14);
    ASSERT_EQ(there.size(), cargo.size() + 1);
    EXPECT_EQ(there[0], (TroopAtHex{0, apc, -1, false}));
    for (size_t i = 0; i < cargo.size(); ++i) EXPECT_EQ(there[i + 1].carrier, apc);
    // A weapon that vanished from the database still lists and recalls.
    d.troopAt(0, cargo[0])->setWeaponId(9999);
    EXPECT_EQ(troopsAtHex(d, 12, 14).size(), cargo.size() + 1);
    EXPECT_TRUE(recallTroop(d, 0, cargo[0]));
    EXPECT_EQ(d.troopAt(0, apc)->cargoEntry(0), 0);
}

// --- Regiments -------------------------------------------------------------------------------

TEST_F(TroopEditTest, CommanderChoiceFollowsTheMembersStates) {
    MapDocument& d = doc();
    const int k = 6;  // army regiment 0
    auto put = [&](int u, uint16_t flags) {
        TroopRecord t = troop(kTank, 3 + u, 3);
        t.setUnits(1, 5);
        t.setFlags(flags);
        putTroop(0, slots::regimentSlot(1, 0, u), t);
    };
    EXPECT_EQ(commanderCandidate(d, 0, k), -1);
    d.regiments[0][k].setFormed(1);
    d.regiments[0][k].setCommanderSlot(3);
    EXPECT_EQ(chooseCommander(d, 0, k), -1);
    EXPECT_EQ(d.regiments[0][k].formed(), 0);
    EXPECT_EQ(d.regiments[0][k].index(), k) << "the record keeps its own index";

    put(0, kTroopUnplaced);  // not a member
    EXPECT_EQ(commanderCandidate(d, 0, k), slots::regimentSlot(1, 0, 0)) << "no members";
    put(1, kTroopLoaded);
    EXPECT_EQ(commanderCandidate(d, 0, k), slots::regimentSlot(1, 0, 1)) << "the first member";
    put(2, 0);
    EXPECT_EQ(commanderCandidate(d, 0, k), slots::regimentSlot(1, 0, 2)) << "free, not loaded";
    put(3, kTroopGathered | kTroopLoaded);
    put(4, kTroopGathered | kTroopLoaded);
    EXPECT_EQ(commanderCandidate(d, 0, k), slots::regimentSlot(1, 0, 4)) << "the last gathered";
    put(5, kTroopGathered);
    EXPECT_EQ(commanderCandidate(d, 0, k), slots::regimentSlot(1, 0, 5)) << "gathered, free";
    d.troopAt(0, slots::regimentSlot(1, 0, 5))->setUnits(0, 0);
    EXPECT_EQ(commanderCandidate(d, 0, k), slots::regimentSlot(1, 0, 4)) << "no units: no member";
}

TEST_F(TroopEditTest, GatherThenDeployRestoresARegimentAndSurvivesSaveAndLoad) {
    ASSERT_TRUE(loadDemo());
    MapDocument& d = doc();
    const int k = 6;  // Ardena's first army regiment: two tanks and an IFV carrying a squad
    const std::vector<int> members = regimentMembers(d, 0, k);
    ASSERT_GE(members.size(), 4u);
    ASSERT_TRUE(regimentOffersGather(d, 0, k));
    ASSERT_EQ(gatherRegiment(d, 0, k), RegimentResult::Done);
    EXPECT_FALSE(regimentOffersGather(d, 0, k));
    const TroopRecord& c = *d.troopAt(0, d.regiments[0][k].commanderSlot());
    for (int m : members) {
        const TroopRecord& t = *d.troopAt(0, m);
        EXPECT_TRUE(t.hasFlag(kTroopGathered)) << m;
        EXPECT_EQ(std::pair(t.col(), t.row()), std::pair(c.col(), c.row())) << m;
    }
    EXPECT_EQ(d.regiments[0][k].regimentFlags() & RegimentRecord::kDeployed, 0u);
    EXPECT_TRUE(checkMap(d).empty());

    // Saved and loaded, every member is still there and gathered.
    kvtest::TempDir dir;
    writeMapFile(d, dir.file("g.kvs"), MapFileKind::Scenario);
    const TroopState gathered(d);
    ASSERT_TRUE(loadMapFile(d, dir.file("g.kvs")));
    EXPECT_EQ(TroopState(d).records, gathered.records);
    EXPECT_EQ(TroopState(d).overlays, gathered.overlays);

    ASSERT_EQ(deployRegiment(d, 0, k), RegimentResult::Done);
    std::set<std::pair<int, int>> placesTaken;
    for (int m : members) {
        const TroopRecord& t = *d.troopAt(0, m);
        EXPECT_FALSE(t.hasFlag(kTroopGathered)) << m;
        if (t.hasFlag(kTroopLoaded)) continue;
        EXPECT_LE(hexDistance({t.col(), t.row()}, {c.col(), c.row()}), 2) << m;
        EXPECT_TRUE(placesTaken.insert({t.col() * 1000 + t.row(), d.stackPositionFor(t)}).second);
    }
    EXPECT_NE(d.regiments[0][k].regimentFlags() & RegimentRecord::kDeployed, 0u);
    EXPECT_TRUE(regimentOffersGather(d, 0, k));
    EXPECT_TRUE(checkMap(d).empty());
}

TEST_F(TroopEditTest, GatheringRefusesAndDeployingFallsBackWhenThereIsNoRoom) {
    MapDocument& d = doc();
    d.mapHeader.setSize(3, 1);
    d.renewRedrawGrid();
    // Three tanks of one regiment on a 1 × 3 map, gathered by hand at the middle hex.
    for (int u = 0; u < 3; ++u) {
        TroopRecord t = troop(kTank, u, 0);
        t.setUnits(2, 5);
        putTroop(0, slots::regimentSlot(1, 0, u), t);
    }
    d.regiments[0][6].setFormed(1);
    d.regiments[0][6].setCommanderSlot(static_cast<uint16_t>(slots::regimentSlot(1, 0, 1)));
    d.rebuildTroopStacks();
    ASSERT_EQ(gatherRegiment(d, 0, 6), RegimentResult::Done);
    // A fourth troop takes a hex: deploying finds no room for one member and gathers again.
    TroopRecord other = troop(kTank, 0, 0);
    other.setUnits(1, 5);
    putTroop(0, slots::directSlot(1, 0), other);
    d.rebuildTroopStacks();
    EXPECT_EQ(deployRegiment(d, 0, 6), RegimentResult::Incomplete);
    for (int u = 0; u < 3; ++u) {
        const TroopRecord& t = *d.troopAt(0, slots::regimentSlot(1, 0, u));
        EXPECT_TRUE(t.hasFlag(kTroopGathered));
        EXPECT_EQ(t.col(), 1);
    }
    // An impassable commander's hex for one member refuses gathering, changing nothing.
    ASSERT_EQ(deployRegiment(d, 0, 6), RegimentResult::Incomplete);
    d.troopAt(0, slots::regimentSlot(1, 0, 2))->setWeaponId(static_cast<uint16_t>(kDestroyer));
    for (int u = 0; u < 3; ++u) d.troopAt(0, slots::regimentSlot(1, 0, u))->setFlags(0);
    const TroopState before(d);
    EXPECT_EQ(gatherRegiment(d, 0, 6), RegimentResult::Refused);
    EXPECT_TRUE(TroopState(d) == before);
}

TEST_F(TroopEditTest, ChangeOfAffiliationKeepsCarrierLinksAndCommanders) {
    ASSERT_TRUE(loadDemo());
    MapDocument& d = doc();
    const int ifv = slots::regimentSlot(1, 0, 2);  // carries the squad in unit 3
    const int squad = slots::regimentSlot(1, 0, 3);
    const int free = slots::directSlot(1, 20);
    ASSERT_EQ(d.troopAt(0, squad)->carrierSlotPlusOne(), ifv + 1);
    const TroopRecord carrier = *d.troopAt(0, ifv);
    ASSERT_TRUE(changeAffiliation(d, 0, ifv, free));
    EXPECT_EQ(d.troopAt(0, free)->weaponId(), carrier.weaponId());
    EXPECT_FALSE(d.troopAt(0, ifv)->inUse());
    EXPECT_EQ(d.troopAt(0, squad)->carrierSlotPlusOne(), free + 1);
    EXPECT_EQ(d.troopAt(0, free)->cargoEntry(0), squad + 1);
    EXPECT_GE(d.troops.count[0], free + 1);
    // The cargo itself moves: its carrier's entry follows.
    ASSERT_TRUE(changeAffiliation(d, 0, squad, ifv));
    EXPECT_EQ(d.troopAt(0, free)->cargoEntry(0), ifv + 1);
    EXPECT_EQ(d.troopAt(0, ifv)->carrierSlotPlusOne(), free + 1);
    // A regiment emptied is no longer formed; the commander is always a troop of it.
    const int k = 6;
    for (int u = 0; u < slots::kUnitsPerRegiment; ++u)
        if (d.troopAt(0, slots::regimentSlot(1, 0, u))->inUse())
            changeAffiliation(d, 0, slots::regimentSlot(1, 0, u), slots::directSlot(1, 21 + u));
    EXPECT_EQ(d.regiments[0][k].formed(), 0);
    ASSERT_TRUE(changeAffiliation(d, 0, slots::directSlot(1, 21), slots::regimentSlot(1, 0, 4)));
    EXPECT_EQ(d.regiments[0][k].formed(), 1);
    EXPECT_EQ(d.regiments[0][k].commanderSlot(), slots::regimentSlot(1, 0, 4));
    EXPECT_FALSE(changeAffiliation(d, 0, 5, 5));
}

// --- The property dialog's checks, armament change and transformation ----------------------

TEST_F(TroopEditTest, PropertiesAreCheckedInOrderAndStored) {
    MapDocument& d = doc();
    d.setEditMode(kEditReinforcements);
    d.tool.reinforcementTurn = 3;
    const int a = place(0, kTank, 4, 4), b = place(0, kTank, 6, 6);
    d.tool.reinforcementTurn = 4;
    const int c = place(0, kTank, 4, 4);
    ASSERT_TRUE(a >= 0 && b >= 0 && c >= 0);
    d.mapHeader.setTurnLimit(20);
    TroopProperties p = troopProperties(d, 0, a);
    EXPECT_EQ(p.turn, 3);
    auto refusal = [&](TroopProperties q) { return troopPropertiesRefusal(d, 0, a, q); };
    TroopProperties bad = p;
    bad.name.clear();
    bad.condition = 2;
    bad.destCol = 64;
    bad.turn = 1;
    bad.experience = 251;
    EXPECT_EQ(refusal(bad), "部隊名を入力してください。");
    bad.name = "A";
    EXPECT_EQ(refusal(bad), "輸送成功条件の輸送先の座標が正しく入力されていません。");
    bad.destCol = 63;
    EXPECT_EQ(refusal(bad),
              "配置条件の登場ターンが2未満もしくは最大ターン以上に設定されています。");
    bad.turn = 21;
    EXPECT_NE(refusal(bad), "") << "above the turn limit";
    bad.turn = 4;
    EXPECT_EQ(refusal(bad), "4ターンの増援部隊と、座標が重なっています。(1部隊存在)");
    bad.turn = 5;
    EXPECT_EQ(refusal(bad), "経験値には0～250までを指定してください。");
    const TroopState before(d);
    EXPECT_FALSE(applyTroopProperties(d, 0, a, bad));
    EXPECT_TRUE(TroopState(d) == before);

    bad.experience = 250;
    bad.unitCount = 4;
    bad.name = std::string(40, 'N');
    ASSERT_TRUE(applyTroopProperties(d, 0, a, bad));
    const TroopRecord& t = *d.troopAt(0, a);
    EXPECT_EQ(t.experienceTimes10(), 2500);
    EXPECT_EQ(t.unitCount(), 4);
    EXPECT_EQ(t.name(), std::string(kTroopNameBytes, 'N'));
    EXPECT_EQ(t.appearanceTurn(), 5);
    EXPECT_TRUE(hasTransportCondition(t));
    EXPECT_EQ(destinationCol(t), 63);
    EXPECT_EQ(troopProperties(d, 0, a),
              (TroopProperties{std::string(kTroopNameBytes, 'N'), 250, 4, 5, 2, 63, 0}));
    // Turn limit 0 sets no upper bound.
    d.mapHeader.setTurnLimit(0);
    bad.turn = 150;
    EXPECT_EQ(refusal(bad), "");
}

TEST_F(TroopEditTest, ArmamentAndTransformationFollowTheWeapon) {
    MapDocument& d = doc();
    const GameDatabase& db = d.gameDatabase;
    int armed = -1, transforming = -1;
    for (const WeaponRecord& w : db.weapons()) {
        if (!d.isWeaponInProduct(w.id())) continue;
        if (armed < 0 && w.presentGroupCount() > 1) armed = w.id();
        if (transforming < 0 && transformTarget(d, w.id()) >= 0 &&
            db.weapon(transformTarget(d, w.id())).layer() == w.layer())
            transforming = w.id();
    }
    ASSERT_TRUE(armed >= 0 && transforming >= 0);
    const int s = place(0, armed, 5, 5);
    ASSERT_GE(s, 0);
    EXPECT_FALSE(changeArmament(d, 0, s, 4));
    int group = 1;
    while (!db.weapon(armed).groupPresent(group)) ++group;
    ASSERT_TRUE(changeArmament(d, 0, s, group));
    const TroopRecord& t = *d.troopAt(0, s);
    EXPECT_EQ(t.bytes[TroopRecord::kGroupAt], group);
    for (int i = 0; i < WeaponRecord::kSlotCount; ++i)
        EXPECT_GE(t.bytes[TroopRecord::kSlotValuesAt + size_t(i)],
                  db.weapon(armed).groupValue(group, i));
    EXPECT_EQ(loadU16(&t.bytes[TroopRecord::kGroupWordAt]), db.weapon(armed).groupWord(group));

    const int u = place(0, transforming, 8, 8);
    ASSERT_GE(u, 0);
    ASSERT_TRUE(transformTroop(d, 0, u));
    EXPECT_EQ(d.troopAt(0, u)->weaponId(), transformTarget(d, transforming));
    EXPECT_TRUE(d.history.canUndo());
}

// --- A long random sequence keeps every invariant ---------------------------------------------

// The troop tables agree with themselves: counts, carrier links both ways, and the stacks and
// reinforcement index equal to the ones a load would build.
void expectConsistent(MapDocument& d, const std::string& where) {
    SCOPED_TRACE(where);
    for (int f = 0; f < kFactionCount; ++f) {
        int highest = -1, inUse = 0;
        for (int s = 0; s < TroopTable::kSlots; ++s) {
            const TroopRecord& t = *d.troopAt(f, s);
            if (!t.inUse()) continue;
            highest = s;
            ++inUse;
            if (t.hasFlag(kTroopLoaded)) {
                const TroopRecord* c =
                    d.troopAt(t.carrierTablePlusOne() - 1, t.carrierSlotPlusOne() - 1);
                ASSERT_TRUE(c && c->inUse() && t.carrierTablePlusOne() == f + 1) << s;
                int named = 0;
                for (int i = 0; i < TroopRecord::kCargoEntries; ++i)
                    named += c->cargoEntry(i) == s + 1;
                EXPECT_EQ(named, 1) << s;
                EXPECT_EQ(std::pair(t.col(), t.row()), std::pair(c->col(), c->row())) << s;
                EXPECT_EQ(t.hasFlag(kTroopUnplaced), c->hasFlag(kTroopUnplaced)) << s;
            }
            for (int i = 0; i < TroopRecord::kCargoEntries; ++i) {
                const int e = t.cargoEntry(i) - 1;
                if (e < 0) continue;
                const TroopRecord* cargo = d.troopAt(f, e);
                ASSERT_TRUE(cargo && cargo->inUse() && cargo->hasFlag(kTroopLoaded)) << s;
                EXPECT_EQ(cargo->carrierSlotPlusOne(), s + 1);
            }
        }
        EXPECT_GE(d.troops.count[f], highest + 1);
        EXPECT_LE(inUse, kMaxTroopsPerFaction);
    }
    const TroopState before(d);
    d.rebuildTroopStacks();
    if (d.tool.editMode == kEditReinforcements) d.rebuildReinforcementIndex();
    EXPECT_TRUE(TroopState(d).sameTroops(before)) << "stacks or index differ from a rebuild";
}

TEST_F(TroopEditTest, ARandomThousandOperationsKeepEveryInvariant) {
    ASSERT_TRUE(loadDemo());
    MapDocument& d = doc();
    ASSERT_TRUE(checkMap(d).empty());
    std::mt19937 random(14);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    const std::vector<int> weapons = {kFighter, kTroopHeli, kTank, kApc, kInfantry, kDestroyer};
    auto anyTroop = [&](bool placed) -> std::pair<int, int> {
        for (int tries = 0; tries < 50; ++tries) {
            const int f = pick(3), s = pick(TroopTable::kSlots);
            const TroopRecord& t = *d.troopAt(f, s);
            if (t.inUse() && t.hasFlag(kTroopUnplaced) != placed) return {f, s};
        }
        return {-1, -1};
    };
    auto near = [&](int c) { return c - 4 + pick(9); };
    int done = 0;
    for (int step = 0; step < 1000; ++step) {
        if (step % 250 == 125) {
            d.tool.reinforcementTurn = 5;
            d.setEditMode(kEditReinforcements);
        } else if (step % 250 == 0) {
            d.setEditMode(kEditTroops);
        }
        const auto [f, s] = anyTroop(true);
        const TroopRecord* t = f >= 0 ? d.troopAt(f, s) : nullptr;
        const int col = t ? near(t->col()) : pick(d.width()),
                  row = t ? near(t->row()) : pick(d.height());
        bool changed = false;
        switch (pick(8)) {
            case 0:
            case 1:
                setBrush(pick(3), weapons[size_t(pick(int(weapons.size())))]);
                changed = placeTroop(d, col, row, pick(4) == 0) >= 0;
                break;
            case 2: {
                const auto [lf, ls] = anyTroop(false);
                if (lf < 0) break;
                setListBrush(lf, ls);
                changed = placeTroop(d, col, row, pick(3) == 0) >= 0;
                break;
            }
            case 3:
                if (!t) break;
                setBrush(f, pick(2) ? kInfantry : kTank);
                changed = loadTroop(d, f, s) >= 0;
                break;
            case 4:
            case 5:
                if (t) changed = moveTroop(d, f, s, col, row, pick(4) == 0) >= 0;
                break;
            case 6:
                if (t) changed = recallTroop(d, f, s);
                break;
            case 7:
                if (t && regimentIndexOfSlot(s) >= 0) {
                    const int k = regimentIndexOfSlot(s);
                    const RegimentResult r = regimentOffersGather(d, f, k)
                                                 ? gatherRegiment(d, f, k)
                                                 : deployRegiment(d, f, k);
                    changed = r == RegimentResult::Done || r == RegimentResult::Incomplete;
                }
                break;
        }
        done += changed ? 1 : 0;
        if (changed && pick(10) == 0) d.history.undo();
        expectConsistent(d, "step " + std::to_string(step));
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(done, 300);
    // Nothing the operations guard against: impassable or unstacked troops, bad stowing,
    // broken carrier links, overloaded carriers or buildings.
    d.setEditMode(kEditTroops);
    for (const MapProblem& p : checkMap(d)) {
        static const std::set<uint16_t> guarded = {
            problem::kImpassableTerrain, problem::kCannotStow, problem::kNotOnMap,
            problem::kTooManyTroops,     problem::kNoCarrier,  problem::kCarrierOverloaded,
            problem::kHexOverstowed};
        EXPECT_EQ(guarded.count(p.code), 0u) << p.text;
    }
}

}  // namespace
