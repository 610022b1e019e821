// Faction colour table: defaults, the 96-byte file and its damaged forms, and the hue
// rotation checked against values worked out by hand and never giving the colour key.
#include "framework/faction_colours.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "framework/disk_file.h"
#include "framework/profile.h"
#include "support/test_paths.h"

namespace kv {
namespace {

uint32_t rgb(int r, int g, int b) {
    return static_cast<uint32_t>(r << 16 | g << 8 | b);
}

class FactionColourFile : public testing::Test {
protected:
    void SetUp() override { setProgramPath(dir.file("kvornme")); }
    void TearDown() override { setProgramPath(""); }
    std::string tableFile() const { return dir.file("cstmcl.dat"); }
    kvtest::TempDir dir;
};

TEST_F(FactionColourFile, WithoutTheFileTheDefaultsServe) {
    FactionColourTable table;
    table.entries[5].hueAngle = 99;
    EXPECT_FALSE(table.load());
    EXPECT_FALSE(fileExists(tableFile()));  // loading never writes
    const int angles[] = {0, 130, 255, 200, 60, 330};
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_EQ(table.hueAngle(FactionColourTable::factionEntry(slot)), angles[slot]) << slot;
    const uint16_t all[] = {335, 120, 225, 175, 0, 130, 255, 200, 60, 330, 170, 80};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(table.entries[i], (FactionColourEntry{all[i], 0, 0}));
}

TEST_F(FactionColourFile, SavedTableLoadsBackWithAllFields) {
    FactionColourTable table;
    for (int i = 0; i < FactionColourTable::kEntryCount; ++i) {
        table.entries[i] = {static_cast<uint16_t>(i * 20), static_cast<uint16_t>(1000 + i),
                            static_cast<uint16_t>(0xFF00 + i)};
    }
    table.save();
    const std::string bytes = kvtest::readFile(tableFile());
    ASSERT_EQ(bytes.size(), 96u);
    // Entry 1: angle 20, second 1001, third 0xFF01, little-endian.
    EXPECT_EQ(bytes.substr(6, 6), std::string("\x14\x00\xE9\x03\x01\xFF", 6));
    FactionColourTable loaded;
    EXPECT_TRUE(loaded.load());
    EXPECT_EQ(loaded, table);
}

TEST_F(FactionColourFile, ShortFileReplacesOnlyTheWholeEntriesItHolds) {
    kvtest::writeFile(tableFile(), std::string("\x2D\x00\x01\x00\x02\x00"
                                               "\x5A\x00\x00\x00\x00\x00"
                                               "\x10\x00\x07",
                                               15));
    FactionColourTable table;
    EXPECT_TRUE(table.load());
    EXPECT_EQ(table.entries[0], (FactionColourEntry{45, 1, 2}));
    EXPECT_EQ(table.entries[1], (FactionColourEntry{90, 0, 0}));
    EXPECT_EQ(table.entries[2].hueAngle, 225);  // half an entry: the default stays
    kvtest::writeFile(tableFile(), "");
    table.load();
    EXPECT_EQ(table, FactionColourTable());
}

TEST_F(FactionColourFile, OversizedFileIsReadForItsFirst96Bytes) {
    std::string bytes(96, '\0');
    bytes[4 * 6] = 7;       // entry 4 (faction slot 0): angle 7
    bytes[15 * 6 + 4] = 9;  // entry 15: third 9
    kvtest::writeFile(tableFile(), bytes + std::string(1000, '\x55'));
    FactionColourTable table;
    EXPECT_TRUE(table.load());
    EXPECT_EQ(table.hueAngle(FactionColourTable::factionEntry(0)), 7);
    EXPECT_EQ(table.entries[15], (FactionColourEntry{0, 0, 9}));
}

TEST(HueRotation, GreysAndWholeTurnsLeaveColoursAsTheyWere) {
    for (int level : {0, 1, 77, 128, 255}) {
        for (int angle = 0; angle <= 360; angle += 5)
            EXPECT_EQ(rotateHue(rgb(level, level, level), angle), rgb(level, level, level));
    }
    std::mt19937 rng(11);
    for (int i = 0; i < 20000; ++i) {
        const uint32_t c = rng() & 0xFFFFFF;
        ASSERT_EQ(rotateHue(c, 360), c);
        ASSERT_EQ(rotateHue(c, 0), c);
        ASSERT_EQ(rotateHue(c, 720), c);
    }
}

TEST(HueRotation, MatchesValuesWorkedOutByHand) {
    // Pure red by 120: hue 0 + 512 steps lands on pure green.
    EXPECT_EQ(rotateHue(rgb(255, 0, 0), 120), rgb(0, 255, 0));
    // (200,100,50) by 60: S = 191, H = 85 + 256 = 341, pure (171,255,0);
    // red (171 + 84·64/255)·200/255 = 150.6, green 200, blue 64·200/255 = 50.2.
    EXPECT_EQ(rotateHue(rgb(200, 100, 50), 60), rgb(150, 200, 50));
    // (10,20,200) by 200: S = 242, H = -2550/190 + 1024 = 1011 (truncated towards zero),
    // + 853 - 1536 = 328, pure (184,255,0); red (184 + 71·13/255)·200/255 = 147.2.
    EXPECT_EQ(rotateHue(rgb(10, 20, 200), 200), rgb(147, 200, 10));
    // (200,50,100) by 10: G < B, so H = -85 + 1536 = 1451, + 42 = 1493, pure (255,0,43);
    // green 64·200/255 = 50.2, blue (43 + 212·64/255)·200/255 = 75.5.
    EXPECT_EQ(rotateHue(rgb(200, 50, 100), 10), rgb(200, 50, 75));
    // Green by 300: H = 512 + 1280 - 1536 = 256, whose pure colour's red of 256 is held at 255.
    EXPECT_EQ(rotateHue(rgb(0, 255, 0), 300), rgb(255, 255, 0));
    // Angles past a turn wrap; the top byte is kept.
    EXPECT_EQ(rotateHue(rgb(200, 100, 50), 420), rgb(150, 200, 50));
    EXPECT_EQ(rotateHue(0xAB000000u | rgb(255, 0, 0), 120), 0xAB000000u | rgb(0, 255, 0));
}

TEST(HueRotation, NoColourOtherThanTheKeyComesOutAsTheKey) {
    // The primaries under the default faction angles: red by 300, green by 180 and blue by
    // 60 land exactly on the key's hue, and step to the next colour on the wheel.
    const FactionColourTable defaults;
    const uint32_t primaries[] = {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255)};
    for (int entry = 0; entry < FactionColourTable::kEntryCount; ++entry) {
        const int angle = defaults.hueAngle(entry);
        for (uint32_t c : primaries) {
            EXPECT_NE(rotateHue(c, angle), kColourKey) << std::hex << c << std::dec << " " << angle;
            std::vector<uint32_t> px = {0xFF000000u | c, 0xFFFF00FFu};
            recolourPixels(px.data(), px.size(), angle);
            EXPECT_NE(px[0], 0xFFFF00FFu) << angle;
            EXPECT_EQ(px[1], 0xFFFF00FFu);
        }
    }
    EXPECT_EQ(rotateHue(rgb(255, 0, 0), 300), rgb(255, 0, 254));
    EXPECT_EQ(rotateHue(rgb(0, 0, 255), 60), rgb(255, 0, 254));
    // (255, 0, 1) has hue 1535 and by 300 reaches 1279, one step short of the key's hue on
    // the blue side, whose pure colour is the key too: it steps the other way.
    EXPECT_EQ(rotateHue(rgb(255, 0, 1), 300), rgb(254, 0, 255));
    EXPECT_EQ(rotateHue(rgb(255, 1, 0), 300), rgb(255, 0, 254));
    // Every vivid colour (one channel full, one empty) at every whole angle.
    for (int k = 0; k < 6 * 256; ++k) {
        const int up = k % 256;
        const uint32_t vivid[6] = {rgb(255, up, 0), rgb(up, 255, 0), rgb(0, 255, up),
                                   rgb(0, up, 255), rgb(up, 0, 255), rgb(255, 0, up)};
        const uint32_t c = vivid[k / 256];
        if (c == kColourKey) continue;
        for (int angle = 0; angle <= 360; ++angle)
            ASSERT_NE(rotateHue(c, angle), kColourKey) << std::hex << c << std::dec << " " << angle;
    }
}

TEST(RecolourPixels, MagentaAndGreysStayAndOthersRotate) {
    const std::vector<uint32_t> source = {0xFFFF00FF, 0xFF808080, 0xFFC86432, 0x00FF00FF};
    for (int angle : {1, 45, 130, 255, 359}) {
        std::vector<uint32_t> px = source;
        recolourPixels(px.data(), px.size(), angle);
        EXPECT_EQ(px[0], source[0]) << angle;
        EXPECT_EQ(px[1], source[1]);
        EXPECT_EQ(px[2], rotateHue(source[2], angle));
        EXPECT_NE(px[2], source[2]);
        EXPECT_EQ(px[3], source[3]);
    }
}

TEST(RecolourPixels, ManyDistinctColoursMatchTheSinglePixelRotation) {
    // More colours than any cache holds, with repeats in between.
    std::mt19937 rng(3);
    std::vector<uint32_t> px(50000);
    for (uint32_t& c : px) c = 0xFF000000u | (rng() % 4 == 0 ? 0x336699 : rng() & 0xFFFFFF);
    std::vector<uint32_t> expected = px;
    for (uint32_t& c : expected)
        if ((c & 0xFFFFFF) != kColourKey) c = rotateHue(c, 255);
    recolourPixels(px.data(), px.size(), 255);
    EXPECT_EQ(px, expected);
}

}  // namespace
}  // namespace kv
