// Import of the earlier editions' maps: recognising the formats, faction slots, rules, header,
// cells and rivers, the real-time edition's terrain and pictures, and the fix-ups that follow.
#include <gtest/gtest.h>

#include <cstring>

#include "document/import.h"
#include "document/legacy_writer.h"
#include "legacy_fixture.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using kvtest::kTank;
using kvtest::LegacyFixture;

TEST(ImportDetect, KindAndVersionComeFromTheMagic) {
    const struct {
        const char* magic;
        int kind, version;
    } cases[] = {
        {"WINTRAXMAP000001", 1, 1}, {"QUISCENARIO00006", 2, 6},  {"BREXOSCENARI0004", 3, 4},
        {"FENWICSCENARI002", 4, 2}, {"TALMASCENARI0003", 5, 3},  {"KVORNSCENARI0007", 5, 7},
        {"BREXOSCENARxxxxx", 3, 0}, {"FENWICSCENxxxx12", 4, 12}, {"SULKAMPTMP000000", 0, 0},
        {"QUISCENARI000001", 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(detectMapKindBytes(std::string(c.magic) + "tail"),
                  (MapKindInfo{c.kind, c.version}))
            << c.magic;
    EXPECT_EQ(detectMapKindBytes("WINTRAXMAP00000"), MapKindInfo{});  // 15 bytes

    kvtest::TempDir dir;
    EXPECT_EQ(detectMapKind(dir.file("missing")), MapKindInfo{});
    EXPECT_EQ(detectMapKind(dir.path()), MapKindInfo{});
    kvtest::writeFile(dir.file("m.bxs"), "BREXOSCENARI0002");
    EXPECT_EQ(detectMapKind(dir.file("m.bxs")), (MapKindInfo{3, 2}));
}

class ImportFormat : public LegacyFixture {};

TEST_F(ImportFormat, OnlyTheKindsOwnVersionsAreRead) {
    std::string file = legacyMapBytes(smallMap(legacy::kDeluxe));
    ASSERT_TRUE(importBytes(file));
    file.replace(0, 16, "BREXOSCENARI0005");
    EXPECT_FALSE(importBytes(file));
    EXPECT_EQ(doc().mapHeader.mapName(), "");  // nothing read
    file.replace(0, 16, "KVORNSCENARI0007");
    EXPECT_FALSE(importBytes(file));
    EXPECT_FALSE(importBytes("plain text that is no map at all"));
}

class ImportFactions : public LegacyFixture {};

TEST_F(ImportFactions, EightFactionsOfWhichSevenTakePart) {
    LegacyMap m = smallMap(legacy::kModern);
    m.factions.clear();
    for (int i = 0; i < 8; ++i) {
        LegacyFaction f;
        f.name = "F" + std::to_string(i);
        f.participation = i < 7 ? 2 : 0;
        m.factions.push_back(f);
    }
    m.factions[0].alliances = 0x42;                                  // old factions 1 and 6
    m.factions[0].factionBits = 0xC1;                                // 0, 6 and 7
    oldCell(m, 0, 0) = {.terrain = 31, .owner = 7, .territory = 7};  // the dropped faction's
    oldCell(m, 1, 0) = {.terrain = 31, .owner = 6, .territory = 6};
    oldCell(m, 2, 0) = {.terrain = 1, .owner = 8, .territory = 9};
    oldCell(m, 3, 0) = {.terrain = 1, .territory = 8};
    putOldTroop(m, 6, 66, oldTroop(kTank, 4, 4));
    ASSERT_TRUE(importMap(m));

    for (int s = 0; s < 6; ++s) {
        EXPECT_EQ(doc().factions[s].name(), "F" + std::to_string(s));
        EXPECT_TRUE(doc().factions[s].takesPart());
    }
    EXPECT_EQ(cell(0, 0).owner, 0);
    EXPECT_EQ(cell(0, 0).terrain, kTerrainCity);
    EXPECT_EQ(cell(0, 0).picture, doc().gameDatabase.terrain(kTerrainCity).defaultPicture);
    EXPECT_EQ(cell(0, 0).territory, 0);
    EXPECT_EQ(cell(1, 0).owner, 6);
    EXPECT_EQ(cell(1, 0).terrain, kTerrainCapital);
    EXPECT_EQ(cell(1, 0).territory, 6);
    EXPECT_EQ(cell(2, 0).owner, 0);
    EXPECT_EQ(cell(2, 0).territory, 7);  // 9 and above: neutral
    EXPECT_EQ(cell(3, 0).territory, 0);
    EXPECT_EQ(doc().factions[0].alliances(), 0x02);
    EXPECT_EQ(doc().factions[0].factionBits(), 0x01);
    EXPECT_EQ(doc().specChangedTroops, 1);  // the dropped faction's tank
    for (int f = 0; f < kFactionCount; ++f) EXPECT_EQ(doc().troops.count[f], 0);
}

TEST_F(ImportFactions, LaterFactionsTakeTheSlotsOfThoseNotTakingPart) {
    LegacyMap m = smallMap(legacy::kDeluxe);
    m.factions.clear();
    for (int i = 0; i < 8; ++i) {
        LegacyFaction f;
        f.name = "F" + std::to_string(i);
        f.participation = (i == 2 || i == 4 || i == 5) ? 0 : 1;
        m.factions.push_back(f);
    }
    oldCell(m, 0, 0) = {.terrain = 1, .owner = 7};   // old 6 → slot 2
    oldCell(m, 1, 0) = {.terrain = 1, .owner = 8};   // old 7 → slot 4
    oldCell(m, 2, 0) = {.terrain = 31, .owner = 3};  // old 2: its slot went to old 6
    oldCell(m, 3, 0) = {.terrain = 1, .owner = 6};   // old 5 keeps slot 5
    putOldTroop(m, 6, 66, oldTroop(kTank, 4, 4));
    putOldTroop(m, 2, 67, oldTroop(kTank, 5, 4));
    m.productionLists.resize(8);
    m.productionLists[6] = {"L6", 0, {kTank}};
    ASSERT_TRUE(importMap(m));

    EXPECT_EQ(doc().factions[2].name(), "F6");
    EXPECT_EQ(doc().factions[4].name(), "F7");
    EXPECT_FALSE(doc().factions[5].takesPart());
    EXPECT_EQ(doc().factions[5].name(), "");  // cleared
    EXPECT_EQ(cell(0, 0).owner, 3);
    EXPECT_EQ(cell(1, 0).owner, 5);
    EXPECT_EQ(cell(2, 0).owner, 0);
    EXPECT_EQ(cell(2, 0).terrain, kTerrainCity);
    EXPECT_EQ(cell(3, 0).owner, 6);
    EXPECT_EQ(doc().troopAt(2, 66)->weaponId(), kTank);
    EXPECT_FALSE(doc().troopAt(2, 67)->inUse());
    EXPECT_EQ(doc().specChangedTroops, 1);
}

TEST_F(ImportFactions, RecordFieldsOfEachKindAndTheFinishingValues) {
    for (int kind : {legacy::kEarlier, legacy::kDeluxe}) {
        SCOPED_TRACE(kind);
        LegacyMap m = smallMap(kind);
        for (int i = 0; i < 5; ++i) m.factions[static_cast<size_t>(i)].participation = 1;
        LegacyFaction& f = m.factions[0];
        f.behaviour = 2;
        f.productionType = 3;
        f.funds = 123456;
        f.victory = {1, 2, 30, 4, 2};
        f.productionCountLimit = 77;
        f.factionBits = 0x06;
        f.anthemName = "A";
        f.preset = 7;
        m.factions[1].productionCountLimit = 0;
        ASSERT_TRUE(importMap(m, false));
        const FactionRecord& r = doc().factions[0];
        EXPECT_EQ(r.behaviour(), 2);
        EXPECT_EQ(r.participation(), 1);
        EXPECT_EQ(r.productionType(), 3);
        EXPECT_EQ(r.funds(), 123456);
        EXPECT_EQ(r.fundsLimit(), 99999999);
        EXPECT_EQ(r.productionCountLimit(), 77);
        EXPECT_EQ(r.anthemName(), "A");
        const bool earlier = kind == legacy::kEarlier;
        EXPECT_EQ(r.victory(2), 30);
        EXPECT_EQ(r.victory(3), earlier ? 0 : 4);  // the earlier edition keeps bytes 0..2 and 4
        EXPECT_EQ(r.victory(4), 2);
        EXPECT_EQ(r.factionBits(), earlier ? 0 : 0x06);
        EXPECT_EQ(r.preset(), earlier ? 0 : 7);

        finishImport(doc(), kind);
        const std::vector<std::string>& anthems = doc().gameDatabase.anthemNames();
        ASSERT_EQ(anthems.size(), 4u);
        for (int s = 0; s < 5; ++s) {
            const FactionRecord& g = doc().factions[s];
            EXPECT_EQ(g.anthem(), 100 + s % 4);  // in slot order, round the list again
            EXPECT_EQ(g.anthemName(), anthems[static_cast<size_t>(s % 4)]);
            EXPECT_EQ(g.preset(), doc().gameDatabase.presets().front().number);
            EXPECT_EQ(g.share(1), doc().gameDatabase.presets().front().landShare);
            EXPECT_EQ(g.divisionLimit(3), 30);
            EXPECT_EQ(g.divisionLimit(7), 6);
            EXPECT_EQ(g.word48(), 200);
        }
        EXPECT_EQ(doc().factions[0].productionCountLimit(), 77);
        EXPECT_EQ(doc().factions[1].productionCountLimit(), 198);
        EXPECT_EQ(doc().factions[5].anthem(), 0);  // not taking part
        EXPECT_EQ(doc().factions[5].divisionLimit(0), 0);
    }
}

class ImportRules : public LegacyFixture {};

TEST_F(ImportRules, TheReaderRenumbersAndTheFinishPutsTheFirstRuleSetInForce) {
    const std::vector<RuleSet>& sets = doc().gameDatabase.ruleSets();
    ASSERT_GE(sets.size(), 5u);
    const struct {
        uint8_t old, now;
    } ids[] = {{0, 0}, {2, 2}, {3, 83}, {5, 85}, {20, 100}, {22, 102}, {23, 200}, {25, 200}};
    for (const auto& id : ids) {
        LegacyMap m = smallMap(legacy::kDeluxe);
        m.ruleId = id.old;
        for (size_t i = 0; i < m.ruleValues.size(); ++i)
            m.ruleValues[i] = static_cast<uint8_t>(i + 1);
        ASSERT_TRUE(importMap(m, false));
        EXPECT_EQ(doc().ruleSettings.ruleId, id.now) << int(id.old);
        EXPECT_EQ(doc().ruleSettings.values[0], 1);
        EXPECT_EQ(doc().ruleSettings.values[50], 51);

        // Whatever the old id named, the finished map claims no rule set it was not made for.
        finishImport(doc(), legacy::kDeluxe);
        EXPECT_EQ(std::memcmp(&doc().ruleSettings, &sets.front(), sizeof(RuleSettings)), 0)
            << int(id.old);
    }
}

class ImportHeader : public LegacyFixture {};

TEST_F(ImportHeader, FieldsMoveToTheirPlacesAndTextsKeepTheirTerminators) {
    LegacyMap m = smallMap(legacy::kDeluxe, 30, 20);
    m.name = "short";
    m.message = "hello";
    m.word528 = 0x4142;
    m.word578 = 0x4344;
    m.byte530 = 5;
    m.byte531 = 6;
    m.byte534 = 7;
    m.buildingIncome = 1;
    m.difficulty = 4;
    m.turnLimit = 150;
    ASSERT_TRUE(importMap(m));
    const MapHeader& h = doc().mapHeader;
    EXPECT_EQ(h.magic(), "KVORNSCENARI0007");
    EXPECT_EQ(h.mapName(), "short");
    EXPECT_EQ(h.message(), "hello");
    EXPECT_EQ(h.data()[528], 0x42);
    EXPECT_EQ(h.data()[580], 0x44);
    EXPECT_EQ(h.byte530(), 5);
    EXPECT_EQ(h.byte531(), 6);
    EXPECT_EQ(h.byte533(), 7);
    EXPECT_EQ(h.buildingIncome(), 1);
    EXPECT_EQ(h.difficulty(), 4);
    EXPECT_EQ(h.turnLimit(), 99);
    EXPECT_EQ(doc().width(), 30);
    EXPECT_EQ(doc().height(), 20);

    // Texts that fill their old fields: the words after them would run into the text.
    m.name = std::string(40, 'N');
    m.message = std::string(512, 'M');
    m.turnLimit = 98;
    ASSERT_TRUE(importMap(m));
    EXPECT_EQ(h.mapName(), std::string(40, 'N'));
    EXPECT_EQ(h.message(), std::string(512, 'M'));
    EXPECT_EQ(h.data()[580], 0);
    EXPECT_EQ(h.data()[528], 0);
    EXPECT_EQ(h.turnLimit(), 98);
}

class ImportCells : public LegacyFixture {};

TEST_F(ImportCells, ScenarioKindsCarryTheCellBytesOver) {
    LegacyMap m = smallMap(legacy::kModern);
    HexCell& c = oldCell(m, 2, 1);
    c = {.terrain = 2,
         .owner = 1,
         .picture = 777,
         .roadLinks = 0x21,
         .river = 0x45,
         .missile = 0x0102,
         .bridgePiece = 3,
         .shownCount = 2,
         .byte10 = 9,
         .territory = 2,
         .borderKinds = {0x21, 0x10, 0x13},
         .mineKind = 1,
         .mineCount = 3,
         .mineSeenBy = 5,
         .byte18 = 7,
         .destroyed = 1,
         .tempBridge = 2,
         .supplyLinks = 0x3F};
    oldCell(m, 3, 1) = {.terrain = 1, .borderKinds = {0x11, 0x11, 0x11}};
    oldCell(m, 4, 1) = {.terrain = 50, .picture = 50};
    ASSERT_TRUE(importMap(m, false));
    const HexCell& got = cell(2, 1);
    EXPECT_EQ(got.terrain, 2);
    EXPECT_EQ(got.owner, 1);
    EXPECT_EQ(got.picture, 777);
    EXPECT_EQ(got.roadLinks, 0x21);
    EXPECT_EQ(got.river, 0x45);
    EXPECT_EQ(got.missile, 0x0102);
    EXPECT_EQ(got.bridgePiece, 3);
    EXPECT_EQ(got.shownCount, 2);
    EXPECT_EQ(got.territory, 2);
    const int kinds[6] = {2, 2, 0, 2, 3, 2};  // 1 becomes 2 within a territory
    for (int side = 0; side < 6; ++side) EXPECT_EQ(got.borderKind(side), kinds[side]) << side;
    EXPECT_EQ(got.mineKind, 1);
    EXPECT_EQ(got.mineCount, 3);
    EXPECT_EQ(got.mineSeenBy, 5);
    EXPECT_EQ(got.byte18, 0);
    EXPECT_EQ(got.destroyed, 1);
    EXPECT_EQ(got.tempBridge, 2);
    EXPECT_EQ(got.supplyLinks, 0);
    EXPECT_EQ(cell(3, 1).borderKind(0), 0);  // no territory, no borderlines

    finishImport(doc(), legacy::kModern);
    EXPECT_EQ(cell(2, 1).byte10, 0);
    EXPECT_EQ(cell(2, 1).picture, doc().gameDatabase.terrain(2).defaultPicture);
    EXPECT_EQ(cell(4, 1).terrain, kTerrainPlain);
    EXPECT_EQ(cell(4, 1).picture, doc().gameDatabase.terrain(kTerrainPlain).defaultPicture);
}

TEST_F(ImportCells, EarlierEditionRiverTerrainsBecomeLinks) {
    LegacyMap m = smallMap(legacy::kEarlier);
    oldCell(m, 0, 0) = {.terrain = 14, .picture = 14, .river = 0x09};
    oldCell(m, 1, 0) = {.terrain = 15, .picture = 15, .river = 0x12};
    oldCell(m, 2, 0) = {.terrain = 26, .picture = 26, .river = 0xE4};
    oldCell(m, 3, 0) = {.terrain = 60, .picture = 60};
    oldCell(m, 4, 0) = {.terrain = 52, .picture = 52};
    ASSERT_TRUE(importMap(m));
    EXPECT_EQ(cell(0, 0).terrain, kTerrainPlain);
    EXPECT_EQ(cell(0, 0).river, 0x09);
    EXPECT_EQ(cell(1, 0).terrain, kTerrainPlain);
    EXPECT_EQ(cell(1, 0).river, 0x40 | 0x12);
    EXPECT_EQ(cell(2, 0).terrain, kTerrainSnowField);
    EXPECT_EQ(cell(2, 0).river, 0x80 | 0x24);
    EXPECT_EQ(cell(2, 0).picture, doc().gameDatabase.terrain(kTerrainSnowField).defaultPicture);
    EXPECT_EQ(cell(3, 0).terrain, kTerrainPlain);
    EXPECT_EQ(cell(4, 0).terrain, kTerrainRoad);

    // Version 1 numbered its terrain differently; its 11 is the later river.
    m.version = 1;
    oldCell(m, 0, 0) = {.terrain = 11, .river = 0x03};
    oldCell(m, 1, 0) = {.terrain = 43};
    oldCell(m, 2, 0) = {.terrain = 49};
    oldCell(m, 3, 0) = {.terrain = 4};
    ASSERT_TRUE(importMap(m));
    EXPECT_EQ(cell(0, 0).terrain, kTerrainPlain);
    EXPECT_EQ(cell(0, 0).river, 0x03);
    EXPECT_EQ(cell(1, 0).terrain, 46);
    EXPECT_EQ(cell(2, 0).terrain, 43);
    EXPECT_EQ(cell(3, 0).terrain, 2);
}

class ImportRealTime : public LegacyFixture {};

TEST_F(ImportRealTime, TerrainPicturesAndTheRestOfTheMap) {
    LegacyMap m = smallMap(legacy::kRealTime);
    m.name = "RT";
    m.message = "go";
    m.turnLimit = 200;
    m.difficulty = 3;
    m.factions[1].funds = 5000;
    m.factions[1].alliances = 0x01;
    oldCell(m, 0, 0) = {.terrain = 4};
    oldCell(m, 1, 0) = {.terrain = 32, .picture = 7};   // port 39, second piece
    oldCell(m, 2, 0) = {.terrain = 32, .picture = 3};   // no port piece
    oldCell(m, 3, 0) = {.terrain = 33, .picture = 12};  // port 40, third piece
    oldCell(m, 4, 0) = {.terrain = 37, .picture = 19};  // bridge, piece 2
    oldCell(m, 5, 0) = {.terrain = 37, .picture = 10};  // bridge without a piece
    oldCell(m, 6, 0) = {.terrain = 44};
    oldCell(m, 7, 0) = {.terrain = 45};
    oldCell(m, 0, 1) = {.terrain = 25,
                        .owner = 8,
                        .roadLinks = 0x09,
                        .river = 0x42,
                        .territory = 2,
                        .destroyed = 1};
    oldCell(m, 1, 1) = {.terrain = 25, .owner = 2};
    m.labels = {{"here", 1, 1, 1, 0}};
    ASSERT_TRUE(importMap(m));
    const GameDatabase& db = doc().gameDatabase;
    EXPECT_EQ(doc().mapHeader.mapName(), "RT");
    EXPECT_EQ(doc().mapHeader.message(), "go");
    EXPECT_EQ(doc().mapHeader.turnLimit(), 99);
    EXPECT_EQ(doc().mapHeader.difficulty(), 3);
    EXPECT_EQ(doc().factions[1].funds(), 5000);
    EXPECT_EQ(doc().factions[1].alliances(), 0x01);
    EXPECT_EQ(doc().factions[1].fundsLimit(), 99999999);
    EXPECT_EQ(cell(0, 0).terrain, 2);
    EXPECT_EQ(cell(1, 0).terrain, 39);
    EXPECT_EQ(cell(1, 0).picture, db.terrain(39).defaultPicture + 1);
    EXPECT_EQ(cell(2, 0).picture, db.terrain(39).defaultPicture);
    EXPECT_EQ(cell(3, 0).terrain, 40);
    EXPECT_EQ(cell(3, 0).picture, db.terrain(40).defaultPicture + 2);
    EXPECT_EQ(cell(4, 0).terrain, kTerrainBridge);
    EXPECT_EQ(cell(4, 0).bridgePiece, 3);
    EXPECT_EQ(cell(4, 0).picture, db.terrain(kTerrainBridge).defaultPicture);
    EXPECT_EQ(cell(5, 0).bridgePiece, 0);
    EXPECT_EQ(cell(6, 0).terrain, 42);
    EXPECT_EQ(cell(7, 0).terrain, kTerrainPlain);  // beyond the table
    EXPECT_EQ(cell(0, 1).terrain, kTerrainCity);   // its owner has no faction
    EXPECT_EQ(cell(0, 1).owner, 0);
    EXPECT_EQ(cell(0, 1).roadLinks, 0x09);
    EXPECT_EQ(cell(0, 1).river, 0x42);
    EXPECT_EQ(cell(0, 1).territory, 2);
    EXPECT_EQ(cell(0, 1).destroyed, 1);
    EXPECT_EQ(cell(1, 1).owner, 2);
    EXPECT_EQ(cell(1, 1).terrain, kTerrainCapital);
    ASSERT_NE(doc().labelAt(1, 1), nullptr);
    EXPECT_EQ(doc().labelAt(1, 1)->textString(), "here");
    EXPECT_TRUE(doc().scenarioTexts.isEmpty());
}

}  // namespace
}  // namespace kv
