// The writer of earlier-edition files: records at the offsets of the old layouts, and the
// example maps of the sample data, which import into complete maps.
#include <gtest/gtest.h>

#include "document/legacy_writer.h"
#include "legacy_fixture.h"
#include "sampledata/legacy_maps.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using kvtest::LegacyFixture;

uint16_t u16At(const std::string& f, size_t at) {
    return loadU16(&f[at]);
}

class LegacyWriter : public LegacyFixture {};

TEST_F(LegacyWriter, RecordsSitAtTheOffsetsOfTheOldLayouts) {
    LegacyMap m = smallMap(legacy::kDeluxe, 5, 4);
    m.name = "NAME";
    m.turnLimit = 42;
    m.difficulty = 3;
    m.factions[1].funds = 0x01020304;
    m.ruleId = 9;
    putOldTroop(m, 2, 1, oldTroop(kvtest::kTank, 3, 2));
    const std::string f = legacyMapBytes(m);
    EXPECT_EQ(f.substr(0, 16), "BREXOSCENARI0004");
    // Sections follow the header back to back.
    const size_t sections = 17;
    EXPECT_EQ(u32At(f, 16), 20 + 12 * sections);
    size_t next = 20 + 12 * sections;
    for (size_t s = 0; s < sections; ++s) {
        EXPECT_EQ(u32At(f, 20 + 12 * s), next) << s;
        next += size_t{u32At(f, 24 + 12 * s)} * u32At(f, 28 + 12 * s);
    }
    EXPECT_EQ(next, f.size());

    const size_t header = sectionOffset(f, 1);
    EXPECT_EQ(u32At(f, 24 + 12), 584u);
    EXPECT_EQ(f.substr(header + 538, 5), std::string("NAME\0", 5));
    EXPECT_EQ(u16At(f, header + 536), 42);
    EXPECT_EQ(f[header + 535], 3);
    EXPECT_EQ(u16At(f, header + 580), 5);
    EXPECT_EQ(u16At(f, header + 582), 4);
    const size_t faction1 = sectionOffset(f, 2) + 332;
    EXPECT_EQ(f[faction1 + 43], 2);
    EXPECT_EQ(u32At(f, faction1 + 50), 0x01020304u);
    EXPECT_EQ(f[sectionOffset(f, 3)], 9);
    EXPECT_EQ(u32At(f, 20 + 12 * 4 + 8), 20u);  // 5 × 4 cells of 22 bytes
    EXPECT_EQ(u32At(f, 20 + 12 * 4 + 4), 22u);
    const size_t troop = sectionOffset(f, 8) + 160;  // old faction 2, slot 1
    EXPECT_EQ(u32At(f, troop), 1u);
    EXPECT_EQ(u16At(f, troop + 36), kvtest::kTank);
    EXPECT_EQ(f[troop + 38], 3);
    EXPECT_EQ(f[troop + 39], 2);
}

class LegacyExampleMaps : public LegacyFixture {};

TEST_F(LegacyExampleMaps, EachKindImportsIntoTheSameValley) {
    for (int kind = legacy::kRealTime; kind <= legacy::kModern; ++kind) {
        SCOPED_TRACE(kind);
        ASSERT_TRUE(importMap(sample::legacyExampleMap(kind)));
        EXPECT_EQ(utf8(doc().mapHeader.mapName()), "大河の谷");
        EXPECT_EQ(doc().width(), 20);
        EXPECT_EQ(doc().height(), 14);
        EXPECT_EQ(doc().labelCount(), 5);
        EXPECT_EQ(cell(4, 6).terrain, 39);  // the port
        EXPECT_EQ(cell(7, 4).terrain, kTerrainCapital);
        EXPECT_EQ(cell(7, 4).owner, 1);
        EXPECT_EQ(cell(12, 7).terrain, kTerrainBridge);
        EXPECT_EQ(cell(12, 7).bridgePiece, 1);
        // The river runs down column 12 as links on plain land, into the bridge from above.
        EXPECT_EQ(cell(12, 3).terrain, kTerrainPlain);
        EXPECT_EQ(cell(12, 3).riverLinks(), 0x22);
        EXPECT_EQ(cell(12, 3).riverVariant(), 0);
        EXPECT_NE(cell(12, 6).riverLinks() & 0x04, 0);
        EXPECT_EQ(cell(11, 7).roadLinks, 0x09);
        const bool modern = kind == legacy::kModern;
        EXPECT_EQ(cell(18, 12).owner, modern ? 4 : 0);  // the seventh faction's city
        EXPECT_EQ(doc().factions[3].takesPart(), modern);
        if (kind == legacy::kRealTime) {
            EXPECT_EQ(doc().troops.count[0], 0);
            EXPECT_TRUE(doc().scenarioTexts.isEmpty());
            continue;
        }
        EXPECT_EQ(doc().troops.count[0], 69);
        EXPECT_TRUE(doc().troopAt(0, 68)->hasFlag(kTroopLoaded));
        EXPECT_EQ(doc().specChangedTroops, kind == legacy::kDeluxe ? 1 : 0);
        EXPECT_FALSE(doc().scenarioTexts.isEmpty());
        EXPECT_EQ(modern ? doc().troopAt(3, 66)->weaponId() : 0, modern ? kvtest::kTank : 0);
    }
}

}  // namespace
}  // namespace kv
