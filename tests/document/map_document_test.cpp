// The document's records and its new-map state: every default, the accessors at their
// offsets, and hostile values that must never reach outside a table.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/cp932.h"
#include "sample_document.h"

namespace kv {
namespace {

using kvtest::kFighter;
using kvtest::kTank;
using kvtest::SampleDocument;

std::string sj(const char* utf8) {
    return *encodeCp932(utf8);
}

class MapNewMap : public SampleDocument {};

TEST_F(MapNewMap, HeaderDefaults) {
    const MapHeader& h = doc().mapHeader;
    EXPECT_EQ(h.magic(), "KVORNSCENARI0007");
    EXPECT_EQ(h.width(), 64);
    EXPECT_EQ(h.height(), 64);
    EXPECT_EQ(h.turnLimit(), 99);
    EXPECT_EQ(h.mapName(), sj("新規マップ"));
    EXPECT_EQ(h.buildingIncome(), 1);
    EXPECT_EQ(h.difficulty(), 0);
    EXPECT_EQ(h.message(), "");
    EXPECT_EQ(h.settingsLocked(), 0);
    EXPECT_EQ(h.operationRank(), 0);
    EXPECT_EQ(doc().documentOpen, 1);
    EXPECT_TRUE(doc().filePath.empty());
    EXPECT_TRUE(doc().scenarioTexts.isEmpty());
    EXPECT_TRUE(doc().scenarioTexts.briefingPicture.empty());
}

TEST_F(MapNewMap, EveryHexIsOpenOceanAndNothingElse) {
    const uint16_t picture = doc().gameDatabase.terrain(30).defaultPicture;
    for (int row = 0; row < 64; ++row)
        for (int col = 0; col < 64; ++col) {
            const HexCell* c = doc().cellAt(col, row);
            ASSERT_NE(c, nullptr);
            HexCell expected{};
            expected.terrain = 30;
            expected.picture = picture;
            ASSERT_EQ(*c, expected) << col << "," << row;
            ASSERT_EQ(*doc().overlayAt(col, row), HexOverlay{});
            ASSERT_TRUE(doc().viewSettings.redrawGrid.isDirty(col, row));
        }
    // Cells past the 64 × 64 map are untouched zeros.
    EXPECT_EQ(doc().mapGrid.cells[4096], HexCell{});
    EXPECT_EQ(doc().cellAt(64, 0), nullptr);
    EXPECT_EQ(doc().cellAt(0, -1), nullptr);
    EXPECT_EQ(doc().labelCount(), 0);
    EXPECT_EQ(doc().labelNumberAt(99, 99), 0);
}

TEST_F(MapNewMap, FactionsAreNamedByColourWithFullFunds) {
    const char* names[] = {"BLUE", "RED", "GREEN", "YELLOW", "PURPLE", "CYAN"};
    const ProductionPreset& preset = doc().gameDatabase.presets().front();
    for (int i = 0; i < kFactionCount; ++i) {
        const FactionRecord& f = doc().factions[i];
        EXPECT_EQ(f.name(), names[i]);
        EXPECT_EQ(f.participation(), 0);
        EXPECT_FALSE(doc().isUserFaction(i));
        EXPECT_EQ(f.funds(), 999999);
        EXPECT_EQ(f.fundsLimit(), 999999);
        EXPECT_EQ(f.word48(), 198);
        EXPECT_EQ(f.productionCountLimit(), 198);
        EXPECT_EQ(f.productionType(), 0);
        EXPECT_EQ(f.anthem(), 0);
        EXPECT_EQ(f.preset(), preset.number);
        EXPECT_EQ(f.share(0) + f.share(1) + f.share(2), 100);
        EXPECT_EQ(f.share(1), preset.landShare);
        const int limits[] = {6, 6, 6, 30, 30, 30, 3, 6};
        for (int k = 0; k < 8; ++k) EXPECT_EQ(f.divisionLimit(k), limits[k]);
        EXPECT_EQ(doc().productionLists[i], doc().gameDatabase.productType(0));
        EXPECT_EQ(doc().troops.count[i], 0);
    }
    EXPECT_EQ(doc().evacuationTargets, EvacuationTargets{});
}

TEST_F(MapNewMap, OrganisationRecordsCarryTheirIndex) {
    for (int f = 0; f < kFactionCount; ++f) {
        for (int k = 0; k < 3; ++k) EXPECT_EQ(doc().divisions[f][k].index(), k);
        for (int k = 0; k < 18; ++k) {
            EXPECT_EQ(doc().regiments[f][k].index(), k);
            EXPECT_EQ(doc().regiments[f][k].formed(), 0);
        }
    }
}

TEST_F(MapNewMap, RulesComeFromTheFirstRuleSet) {
    const RuleSettings& first = doc().gameDatabase.ruleSets().front();
    EXPECT_EQ(std::memcmp(&doc().ruleSettings, &first, sizeof(RuleSettings)), 0);
}

TEST_F(MapNewMap, ResetDropsWhatTheLastMapHad) {
    MapDocument& d = doc();
    d.mapHeader.setSize(100, 20);
    d.cellAt(5, 5)->roadLinks = 9;
    d.setLabel(1, 1, "A", 0, 0);
    putTroop(2, 7, troop(kTank, 3, 3));
    d.scenarioTexts.briefingPicture.assign(10, 1);
    d.scenarioTexts.setBriefingMode(1);
    d.filePath = "/tmp/x.kvn";
    d.history.begin();
    d.history.recordHex(0, 0);
    d.resetToNewMap();
    EXPECT_EQ(d.width(), 64);
    EXPECT_EQ(d.cellAt(5, 5)->roadLinks, 0);
    EXPECT_EQ(d.labelCount(), 0);
    EXPECT_EQ(d.labelNumberAt(1, 1), 0);
    EXPECT_FALSE(d.troopAt(2, 7)->inUse());
    EXPECT_EQ(d.troops.count[2], 0);
    EXPECT_TRUE(d.scenarioTexts.briefingPicture.empty());
    EXPECT_TRUE(d.scenarioTexts.isEmpty());
    EXPECT_TRUE(d.filePath.empty());
    EXPECT_TRUE(d.history.undoStack().empty());
}

TEST(MapDocumentWithoutData, ResetNeedsNoGameData) {
    // The main window can start a new map before any game data is read.
    kvtest::TempDir dir;
    setProgramPath(dir.file("kvornme"));
    {
        MapDocument d;
        d.resetToNewMap();
        EXPECT_EQ(d.width(), 64);
        EXPECT_EQ(d.cellAt(63, 63)->terrain, 30);
        EXPECT_EQ(d.factions[5].name(), "CYAN");
        EXPECT_TRUE(d.finishLoad());
    }
    setProgramPath("");
}

TEST(MapRecords, FactionFieldsSitAtTheirOffsets) {
    FactionRecord f;
    f.setFunds(0x01020304);
    EXPECT_EQ(f.bytes[50], 0x04);
    EXPECT_EQ(f.bytes[53], 0x01);
    f.setFundsLimit(-2);
    EXPECT_EQ(f.bytes[64], 0xFE);
    EXPECT_EQ(f.bytes[67], 0xFF);
    f.setProductionCountLimit(999);
    EXPECT_EQ(f.bytes[60] | f.bytes[61] << 8, 999);
    f.setVictoryValue(3, 7);
    EXPECT_EQ(f.bytes[352], 7);
    f.setDivisionLimit(7, 9);
    EXPECT_EQ(f.bytes[339], 9);
    f.setShare(2, 40);
    EXPECT_EQ(f.bytes[331], 40);
    // Indices outside a field never touch a neighbour.
    const auto before = f.bytes;
    f.setDivisionLimit(8, 1);
    f.setVictoryValue(4, 1);
    f.setShare(-1, 1);
    f.setVictory(5, 1);
    EXPECT_EQ(f.bytes, before);
    EXPECT_EQ(f.divisionLimit(8), 0);
}

TEST(MapRecords, TextFieldsAreCutAtCharacterBoundaries) {
    FactionRecord f;
    // 21 double-byte characters are 42 bytes; the 42-byte field keeps 20 and a NUL.
    std::string name;
    for (int i = 0; i < 21; ++i) name += sj("青");
    f.setName(name);
    EXPECT_EQ(f.name().size(), 40u);
    EXPECT_EQ(f.bytes[40], 0);
    EXPECT_EQ(f.bytes[41], 0);
    MapHeader h;
    h.setMapName(std::string(50, 'x'));
    EXPECT_EQ(h.mapName(), std::string(41, 'x'));
    TerrainLabel l{};
    l.setText(std::string(33, 'a') + sj("山"));
    EXPECT_EQ(l.textString(), std::string(33, 'a'));
    TroopRecord t;
    t.setName(std::string(40, 'z'));
    EXPECT_EQ(t.name(), std::string(32, 'z'));  // a full 32-byte name keeps no NUL
}

TEST(MapRecords, TurnLimitAtOrAboveNinetyNineIsCut) {
    MapHeader h;
    for (int v : {150, 99, 1000000}) {
        h.setTurnLimit(v);
        h.clampTurnLimit();
        EXPECT_EQ(h.turnLimit(), 99) << v;
    }
    h.setTurnLimit(-1);  // negative counts as huge
    h.clampTurnLimit();
    EXPECT_EQ(h.turnLimit(), 99);
    h.setTurnLimit(98);
    h.clampTurnLimit();
    EXPECT_EQ(h.turnLimit(), 98);
    h.setTurnLimit(0);
    h.clampTurnLimit();
    EXPECT_EQ(h.turnLimit(), 0);
}

TEST(MapRecords, HexCellBorderKindsUseNibbles) {
    HexCell c{};
    c.setBorderKind(0, 3);
    c.setBorderKind(1, 2);
    c.setBorderKind(5, 1);
    EXPECT_EQ(c.borderKinds[0], 0x23);
    EXPECT_EQ(c.borderKinds[2], 0x10);
    EXPECT_EQ(c.borderKind(1), 2);
    c.setBorderKind(6, 3);
    c.setBorderKind(-1, 3);
    EXPECT_EQ(c.borderKinds[1], 0);
    EXPECT_EQ(c.borderKind(6), 0);
    c.river = 0x80 | 0x05;
    EXPECT_EQ(c.riverLinks(), 5);
    EXPECT_EQ(c.riverVariant(), 2);
}

TEST(MapRecords, ScenarioTextsCountAsEmptyByTheirDisplayBytesAndTwoTexts) {
    ScenarioTexts s;
    EXPECT_TRUE(s.isEmpty());
    s.setField(ScenarioTexts::OperationName, "X");
    EXPECT_TRUE(s.isEmpty());  // only the display bytes and two texts count
    s.setField(ScenarioTexts::FactionsText, "A");
    EXPECT_FALSE(s.isEmpty());
    EXPECT_EQ(s.bytes[10294], 'A');
    s.reset();
    s.setOrderMode(2);
    EXPECT_EQ(s.bytes[16062], 2);
    EXPECT_FALSE(s.isEmpty());
}

class TroopTables : public SampleDocument {};

TEST_F(TroopTables, AddressingCoversBothSetsAndNothingElse) {
    TroopTable& t = doc().troops;
    EXPECT_NE(t.at(0, 0), nullptr);
    EXPECT_NE(t.at(105, 199), nullptr);
    EXPECT_NE(t.at(0, 199), t.at(100, 199));
    for (auto [table, slot] : {std::pair{6, 0}, {99, 0}, {106, 0}, {-1, 0}, {0, 200}, {0, -1}})
        EXPECT_EQ(t.at(table, slot), nullptr) << table << " " << slot;
    EXPECT_EQ(t.countOf(6), nullptr);
    t.raiseCount(7, 5);  // no such table: nothing happens
    t.raiseCount(0, 250);
    EXPECT_EQ(t.count[0], 0);
}

TEST_F(TroopTables, CountsMarkTheHighestSlotInUse) {
    putTroop(1, 0, troop(kTank, 1, 1));
    putTroop(1, 7, troop(kTank, 2, 1));
    *doc().troopAt(1, 9) = troop(kTank, 3, 1, 0);  // turn 0: empty
    doc().troops.count[1] = 0;
    doc().troops.recomputeCounts();
    EXPECT_EQ(doc().troops.count[1], 8);
    doc().troops.raiseCount(1, 3);
    EXPECT_EQ(doc().troops.count[1], 8);
    doc().troops.raiseCount(1, 8);
    EXPECT_EQ(doc().troops.count[1], 9);
}

TEST_F(TroopTables, HostileCountsAreCutWhenUsed) {
    TroopTable& t = doc().troops;
    t.count[0] = 5000;
    t.count[1] = -7;
    t.secondCount[2] = 201;
    EXPECT_EQ(t.usedSlots(0), 200);
    EXPECT_EQ(t.usedSlots(1), 0);
    EXPECT_EQ(t.usedSlots(102), 200);
    EXPECT_EQ(t.usedSlots(42), 0);
    // The document's passes over the tables survive the same values.
    putTroop(0, 199, troop(kTank, 250, 250));  // outside the map
    doc().rebuildTroopStacks();
    doc().tool.reinforcementTurn = 1;
    doc().setEditMode(kEditReinforcements);
    EXPECT_TRUE(doc().finishLoad());
    EXPECT_EQ(t.count[0], 200);
    EXPECT_EQ(t.count[1], 0);
}

class MapEditMode : public SampleDocument {};

TEST_F(MapEditMode, BorderModeSwitchesCopyAndDeleteToPen) {
    doc().tool.drawKind = kDrawCopy;
    doc().setEditMode(kEditBorderlines);
    EXPECT_EQ(doc().tool.drawKind, kDrawPen);
    EXPECT_EQ(doc().viewSettings.borderModeActive, 1);
    doc().setEditMode(kEditTerrain);
    EXPECT_EQ(doc().viewSettings.borderModeActive, 0);
    doc().tool.drawKind = kDrawFlood;
    doc().setEditMode(kEditBorderlines);
    EXPECT_EQ(doc().tool.drawKind, kDrawFlood);
    // Setting the same mode again keeps the tool, whatever it is.
    doc().tool.drawKind = kDrawDeleteLinks;
    doc().setEditMode(kEditBorderlines);
    EXPECT_EQ(doc().tool.drawKind, kDrawDeleteLinks);
}

TEST_F(MapEditMode, ReinforcementIndexHoldsTheTurnsTroops) {
    putTroop(0, 0, troop(kTank, 4, 4, 3));
    putTroop(1, 5, troop(kFighter, 4, 4, 3));
    putTroop(2, 0, troop(kTank, 4, 4, 3));  // same position as the first: not entered
    putTroop(3, 0, troop(kTank, 6, 6, 4));  // another turn
    putTroop(4, 0, troop(kTank, 7, 7, 3));
    doc().troopAt(4, 0)->setFlags(kTroopStowed);
    putTroop(5, 0, troop(kTank, 8, 8, 3));
    doc().troopAt(5, 0)->setFlags(kTroopLoaded);
    doc().tool.reinforcementTurn = 3;
    doc().setEditMode(kEditReinforcements);
    const TroopIndexRecord* r = doc().troopIndexAt(4, 4);
    EXPECT_EQ(r->table[1], 1);
    EXPECT_EQ(r->slot[1], 0);
    EXPECT_EQ(r->table[0], 2);
    EXPECT_EQ(r->slot[0], 5);
    EXPECT_EQ(r->table[2], 0);
    EXPECT_EQ(*doc().troopIndexAt(6, 6), TroopIndexRecord{});
    EXPECT_EQ(doc().troopIndexAt(7, 7)->stowed, 1);
    EXPECT_EQ(doc().troopIndexAt(7, 7)->table[1], 0);
    EXPECT_EQ(*doc().troopIndexAt(8, 8), TroopIndexRecord{});
}

}  // namespace
}  // namespace kv
