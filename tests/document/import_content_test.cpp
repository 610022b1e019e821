// Import of the earlier editions' maps: troops and their carriers, labels, scenario texts and
// pictures, production lists, and the import command's caution.
#include <gtest/gtest.h>

#include "document/import.h"
#include "document/legacy_writer.h"
#include "legacy_fixture.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using kvtest::kDestroyer;
using kvtest::kDrone;
using kvtest::kFighter;
using kvtest::kTank;
using kvtest::LegacyFixture;

constexpr int kIfv = 1020, kInfantry = 1220;

class ImportTroops : public LegacyFixture {};

TEST_F(ImportTroops, FieldsCarriedOverAndTroopsOfMissingWeaponsDropped) {
    LegacyMap m = smallMap(legacy::kDeluxe);
    LegacyTroop fighter = oldTroop(kFighter, 1, 1);
    fighter.name = "EAGLE";
    fighter.group = 2;
    fighter.slotValues = {1, 2, 3, 4, 5};
    fighter.groupWord = 0x0304;
    fighter.flags = 0x0214;  // only 0x000E survives
    putOldTroop(m, 0, 0, fighter);
    LegacyTroop ifv = oldTroop(kIfv, 2, 2);
    ifv.cargo = {68, 70, 0, 0, 0, 0};
    putOldTroop(m, 0, 66, ifv);
    LegacyTroop infantry = oldTroop(kInfantry, 2, 2);
    infantry.flags = 0x0002;
    infantry.carrierSlotPlusOne = 67;
    infantry.carrierFactionPlusOne = 1;
    putOldTroop(m, 0, 67, infantry);
    LegacyTroop drone = infantry;  // carried too, but not in this product
    drone.weaponId = kDrone;
    putOldTroop(m, 0, 69, drone);
    putOldTroop(m, 0, 70, oldTroop(4999, 3, 3));  // no such weapon
    // A carrier that goes takes its cargo along.
    putOldTroop(m, 1, 2, oldTroop(kDrone, 5, 5));
    LegacyTroop passenger = oldTroop(kInfantry, 5, 5);
    passenger.flags = 0x0002;
    passenger.carrierSlotPlusOne = 3;
    passenger.carrierFactionPlusOne = 2;
    putOldTroop(m, 1, 3, passenger);
    putOldTroop(m, 2, 132, oldTroop(kDestroyer, 0, 0));
    ASSERT_TRUE(importMap(m));

    const TroopRecord& f = *doc().troopAt(0, 0);
    EXPECT_EQ(f.appearanceTurn(), 1);
    EXPECT_EQ(f.name(), "EAGLE");
    EXPECT_EQ(f.weaponId(), kFighter);
    EXPECT_EQ(f.col(), 1);
    EXPECT_EQ(f.row(), 1);
    EXPECT_EQ(f.bytes[TroopRecord::kGroupAt], 2);
    EXPECT_EQ(f.bytes[TroopRecord::kSlotValuesAt + 4], 5);
    EXPECT_EQ(f.bytes[TroopRecord::kGroupWordAt], 0x04);
    EXPECT_EQ(f.bytes[TroopRecord::kGroupWordAt + 1], 0x03);
    EXPECT_EQ(f.flags(), 0x0004);
    EXPECT_EQ(doc().troopAt(0, 66)->division(), 1);
    EXPECT_EQ(doc().troopAt(0, 66)->cargoEntry(0), 68);
    EXPECT_EQ(doc().troopAt(0, 66)->cargoEntry(1), 0);  // named the dropped drone
    const TroopRecord& carried = *doc().troopAt(0, 67);
    EXPECT_TRUE(carried.hasFlag(kTroopLoaded));
    EXPECT_EQ(carried.carrierTablePlusOne(), 1);
    EXPECT_EQ(carried.carrierSlotPlusOne(), 67);
    EXPECT_FALSE(doc().troopAt(0, 69)->inUse());
    EXPECT_FALSE(doc().troopAt(0, 70)->inUse());
    EXPECT_FALSE(doc().troopAt(1, 2)->inUse());
    EXPECT_FALSE(doc().troopAt(1, 3)->inUse());
    EXPECT_EQ(doc().troopAt(2, 132)->division(), 2);
    EXPECT_EQ(doc().troops.count[0], 68);
    EXPECT_EQ(doc().troops.count[1], 0);
    EXPECT_EQ(doc().specChangedTroops, 1);
    // The stacks know the troops standing on the map.
    EXPECT_EQ(doc().overlayAt(2, 2)->stackTable[1], 1);
    EXPECT_EQ(doc().overlayAt(2, 2)->stackSlot[1], 66);
}

TEST_F(ImportTroops, TroopsBeyondTheTableAndOfFactionsWithoutSlotsAreDropped) {
    LegacyMap m = smallMap(legacy::kModern);
    putOldTroop(m, 0, 203, oldTroop(kTank, 1, 1));
    ASSERT_TRUE(importMap(m));
    EXPECT_EQ(doc().specChangedTroops, 1);
    EXPECT_EQ(doc().troops.count[0], 0);

    LegacyMap clean = smallMap(legacy::kModern);
    putOldTroop(clean, 1, 66, oldTroop(kTank, 1, 1));
    ASSERT_TRUE(importMap(clean));
    EXPECT_EQ(doc().specChangedTroops, 0);
    EXPECT_EQ(doc().troops.count[1], 67);
}

TEST_F(ImportTroops, TheCommandShowsTheCautionOnceAndLeavesAnUnsavedMap) {
    kvtest::TempDir dir;
    LegacyMap m = smallMap(legacy::kDeluxe);
    putOldTroop(m, 0, 66, oldTroop(kDrone, 1, 1));
    kvtest::writeFile(dir.file("old.bxs"), legacyMapBytes(m));
    doc().filePath = "before.kvn";
    doc().isClean = 1;
    ASSERT_TRUE(openEarlierMap(doc(), dir.file("old.bxs")));
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].caption, "注意");
    EXPECT_EQ(prompts.seen[0].text, "仕様の変更に伴い、一部の初期配置部隊が変更されました。");
    EXPECT_EQ(doc().specChangedTroops, 0);
    EXPECT_EQ(doc().isClean, 0);
    EXPECT_EQ(doc().filePath, "");
    EXPECT_EQ(doc().mapHeader.mapName(), "OLD");

    putOldTroop(m, 0, 66, oldTroop(kTank, 1, 1));
    kvtest::writeFile(dir.file("clean.bxs"), legacyMapBytes(m));
    ASSERT_TRUE(openEarlierMap(doc(), dir.file("clean.bxs")));
    EXPECT_EQ(prompts.seen.size(), 1u);
}

class ImportLabels : public LegacyFixture {};

TEST_F(ImportLabels, KeptOncePerHexOnTheMapWithTextsCut) {
    const std::string longText = sjis("あいうえおかきくけこさしすせそたちつてと");  // 40 bytes
    for (int kind : {legacy::kDeluxe, legacy::kModern}) {
        SCOPED_TRACE(kind);
        LegacyMap m = smallMap(kind);
        m.labels = {{"A", 1, 1, 1, 1}, {"", 2, 2, 0, 0},       {"OFF", 8, 1, 0, 0},
                    {"B", 1, 1, 0, 0}, {longText, 3, 4, 0, 0}, {"C", 7, 5, 0, 0}};
        ASSERT_TRUE(importMap(m));
        EXPECT_EQ(doc().labelCount(), 3);
        ASSERT_NE(doc().labelAt(1, 1), nullptr);
        EXPECT_EQ(doc().labelAt(1, 1)->textString(), "A");
        EXPECT_EQ(doc().labelAt(1, 1)->kind, 1);
        EXPECT_EQ(doc().labelAt(1, 1)->value, 1);
        // A 32-byte field keeps 16 of the characters; the 48-byte field's text is cut to fit
        // at a character boundary.
        ASSERT_NE(doc().labelAt(3, 4), nullptr);
        EXPECT_EQ(doc().labelAt(3, 4)->textString(), longText.substr(0, 32));
        EXPECT_EQ(doc().labelNumberAt(7, 5), 3);
    }
    LegacyMap wide = smallMap(legacy::kModern);
    wide.labels = {{"FAR", 256 + 1, 1, 0, 0}};  // would wrap to column 1 in a byte
    ASSERT_TRUE(importMap(wide));
    EXPECT_EQ(doc().labelCount(), 0);
}

class ImportTexts : public LegacyFixture {};

TEST_F(ImportTexts, ScenarioTextsAndPicturesOfEachKind) {
    for (int kind : {legacy::kEarlier, legacy::kDeluxe, legacy::kModern}) {
        SCOPED_TRACE(kind);
        LegacyMap m = smallMap(kind);
        for (size_t f = 0; f < 9; ++f) m.texts[f] = "text" + std::to_string(f);
        m.texts[2] = std::string(2000, 'b');
        m.displayBytes = {1, 2, 3};
        m.briefingPicture.assign(100, 'p');
        m.endingPicture.assign(50, 'q');
        ASSERT_TRUE(importMap(m));
        const ScenarioTexts& st = doc().scenarioTexts;
        for (int f = 0; f < 9; ++f)
            EXPECT_EQ(st.field(static_cast<ScenarioTexts::Field>(f)), m.texts[size_t(f)]) << f;
        EXPECT_EQ(st.endingShown(), 1);
        EXPECT_EQ(st.briefingMode(), 2);
        EXPECT_EQ(st.orderMode(), 3);
        EXPECT_EQ(st.briefingPicture, m.briefingPicture);
        EXPECT_EQ(st.endingPicture, m.endingPicture);
    }
}

class ImportLists : public LegacyFixture {};

TEST_F(ImportLists, ListsAreSplitByBranchAndFollowTheirFaction) {
    for (int kind : {legacy::kEarlier, legacy::kModern}) {
        SCOPED_TRACE(kind);
        LegacyMap m = smallMap(kind);
        m.factions[0].productionType = 150;  // a user type: the map's list stays
        m.factions[1].productionType = 1;    // a built-in type: refreshed from the data
        m.productionLists = {{"MINE", 9, {kFighter, kTank, kDestroyer, 4999}}, {"OLD", 0, {kTank}}};
        ASSERT_TRUE(importMap(m));
        const ProductionList& mine = doc().productionLists[0];
        EXPECT_EQ(mine.name(), "MINE");
        EXPECT_EQ(mine.typeValue(), kind == legacy::kEarlier ? 0 : 9);
        EXPECT_TRUE(mine.has(ProductType::Air, kFighter));
        EXPECT_TRUE(mine.has(ProductType::Land, kTank));
        EXPECT_TRUE(mine.has(ProductType::Sea, kDestroyer));
        EXPECT_FALSE(mine.inAnyList(4999));
        EXPECT_FALSE(mine.has(ProductType::Air, kTank));
        EXPECT_EQ(doc().productionLists[1], doc().gameDatabase.productType(1));
    }
}

}  // namespace
}  // namespace kv
