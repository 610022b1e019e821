// Hostile and broken files of the earlier editions: headers pointing anywhere, absurd sizes
// and counts, truncations and corruptions never take the import outside its tables.
#include <gtest/gtest.h>

#include <cstdint>

#include "document/import.h"
#include "document/legacy_writer.h"
#include "legacy_fixture.h"
#include "sampledata/legacy_maps.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using kvtest::LegacyFixture;

class ImportHostile : public LegacyFixture {
protected:
    // What must hold after any import, whatever the file said.
    void expectSane() {
        EXPECT_GE(doc().width(), 1);
        EXPECT_GE(doc().height(), 1);
        EXPECT_EQ(doc().mapHeader.width(), doc().width());
        EXPECT_EQ(doc().mapHeader.height(), doc().height());
        EXPECT_LE(doc().mapHeader.turnLimit(), 99);
        EXPECT_LE(doc().labelCount(), MapGrid::kMaxLabels);
        for (int l = 0; l < doc().labelCount(); ++l) {
            const TerrainLabel& label = doc().mapGrid.labels[size_t(l)];
            EXPECT_TRUE(doc().contains(label.col, label.row));
        }
        for (int f = 0; f < kFactionCount; ++f) EXPECT_LE(doc().troops.count[f], 200);
    }
    // A file that is not read leaves the emptied document to its caller; one that is read
    // must come out sane.
    void importAndCheck(const std::string& file) {
        if (importBytes(file)) expectSane();
    }
    static void setU32(std::string& file, size_t at, uint32_t v) { storeU32(&file[at], v); }
    static int sectionsOf(int kind) {
        return kind == legacy::kRealTime ? legacy::rt::kSectionCount
                                         : legacy::sc::sectionCount(kind);
    }
};

TEST_F(ImportHostile, HeadersThatPointAnywhere) {
    for (int kind = legacy::kRealTime; kind <= legacy::kModern; ++kind) {
        SCOPED_TRACE(kind);
        const std::string good = legacyMapBytes(sample::legacyExampleMap(kind));
        const int sections = sectionsOf(kind);
        const uint32_t huge = 0xFFFFFFFFu;
        std::vector<std::string> variants;
        for (uint32_t headerSize : {0u, 19u, 21u, huge}) {
            variants.push_back(good);
            setU32(variants.back(), 16, headerSize);
        }
        const auto everySection = [&](size_t field, uint32_t value) {
            std::string f = good;
            for (int s = 0; s < sections; ++s) setU32(f, 20 + 12 * size_t(s) + field, value);
            variants.push_back(f);
        };
        everySection(0, huge - 15);  // offsets past the end
        everySection(0, uint32_t(good.size()) - 3);
        everySection(4, huge);  // record sizes
        everySection(4, 0);
        everySection(8, huge);  // counts
        std::string both = good;
        for (int s = 0; s < sections; ++s) {
            setU32(both, 24 + 12 * size_t(s), 0);
            setU32(both, 28 + 12 * size_t(s), huge);
        }
        variants.push_back(both);
        for (const std::string& v : variants) importAndCheck(v);
    }
}

TEST_F(ImportHostile, SizesAndCountsTheTablesCannotHold) {
    LegacyMap m = smallMap(legacy::kModern, 300, 300);  // 90000 cells in the file
    m.cells.resize(70000);
    for (int i = 0; i < 1200; ++i) m.labels.push_back({"L", i % 256, i / 256, 0, 0});
    putOldTroop(m, 0, 260, oldTroop(kvtest::kTank, 1, 1));
    m.productionLists.resize(12);
    ASSERT_TRUE(importMap(m));
    expectSane();
    EXPECT_EQ(doc().width(), 256);
    EXPECT_EQ(doc().height(), 256);
    EXPECT_EQ(doc().labelCount(), MapGrid::kMaxLabels);

    // Far more factions than the table of old factions.
    std::string file = legacyMapBytes(smallMap(legacy::kDeluxe));
    setU32(file, 20 + 12 * legacy::sc::kFactionSection + 8, 0xFFFFFFFFu);
    importAndCheck(file);
}

TEST_F(ImportHostile, EveryTruncationOfTheExampleMaps) {
    for (int kind = legacy::kRealTime; kind <= legacy::kModern; ++kind) {
        SCOPED_TRACE(kind);
        const std::string good = legacyMapBytes(sample::legacyExampleMap(kind));
        const size_t header = 20 + 12 * size_t(sectionsOf(kind));
        for (size_t n = 0; n < good.size(); n += n < header ? 7 : good.size() / 40 + 1)
            importAndCheck(good.substr(0, n));
    }
}

TEST_F(ImportHostile, RandomlyCorruptedBytes) {
    uint32_t state = 12345;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int kind = legacy::kRealTime; kind <= legacy::kModern; ++kind) {
        SCOPED_TRACE(kind);
        const std::string good = legacyMapBytes(sample::legacyExampleMap(kind));
        for (int round = 0; round < 40; ++round) {
            std::string f = good;
            // Mostly in the header and the first records, where sizes and counts live.
            for (int i = 0; i < 16; ++i) {
                const size_t at = 16 + next() % (i % 2 ? f.size() - 16 : 700);
                f[at] = static_cast<char>(next());
            }
            importAndCheck(f);
        }
    }
}

TEST_F(ImportHostile, TheCommandLeavesANewMapWhenNothingCouldBeRead) {
    kvtest::TempDir dir;
    kvtest::writeFile(dir.file("text.bxs"), "no map here");
    EXPECT_FALSE(openEarlierMap(doc(), dir.file("text.bxs")));
    EXPECT_EQ(utf8(doc().mapHeader.mapName()), "新規マップ");
    EXPECT_EQ(doc().width(), 64);
    EXPECT_EQ(doc().isClean, 1);
    EXPECT_TRUE(prompts.seen.empty());

    EXPECT_FALSE(openEarlierMap(doc(), dir.file("missing.fws")));
    ASSERT_EQ(prompts.seen.size(), 1u);  // the file error, reported once
    EXPECT_EQ(prompts.seen[0].text, "ファイルのオープンに失敗しました");
    EXPECT_EQ(doc().width(), 64);
}

}  // namespace
}  // namespace kv
