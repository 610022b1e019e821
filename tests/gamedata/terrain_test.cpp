// The terrain table: land.dat reading, hex movement cost, name lists, transport permissions
// and the bundled land.dat.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

#include "framework/cp932.h"
#include "framework/errors.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "gamedata/terrain.h"
#include "sampledata/terrain_data.h"
#include "support/test_paths.h"

namespace kv {
namespace {

namespace col = land_column;

std::string sj(std::string_view utf8) {
    return encodeCp932(utf8).value();
}

// A full data line: every column "0" except the ones given.
std::string landLine(const std::map<size_t, std::string>& columns) {
    std::string line;
    for (size_t i = 0; i < col::kCount; ++i) {
        if (i) line += ',';
        auto it = columns.find(i);
        line += it != columns.end() ? it->second : "0";
    }
    return line;
}

std::vector<TerrainType> parse(const std::string& bytes) {
    return parseTerrainTable(bytes);
}

TEST(TerrainReader, FillsEveryColumnInItsField) {
    // Each numeric column holds its own 1-based column number, so a shifted field shows.
    // Mask columns 35..64 hold a circle in the first column of each group of six, shifted by
    // one per group; the flag columns 72..80 hold a circle at 72, 78, 79.
    std::string line = sj("ダム") + ",2," + sj("ダム");
    for (int c = 4; c <= 80; ++c) {
        const bool mask = c >= 35 && c <= 64;
        const bool flag = c >= 72;
        std::string field = std::to_string(c);
        if (mask) field = (c - 35) % 7 == 0 ? sj("○") : sj("×");
        if (flag) field = c == 72 || c == 78 || c == 79 ? sj("○") : sj("×");
        line += "," + field;
    }
    const auto t = parse(line);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(std::string(t[0].name), sj("ダム"));
    EXPECT_EQ(t[0].listOrder, 2);
    EXPECT_EQ(t[0].category, TerrainCategory::Dam);
    for (int m = 0; m < kMovementTypeCount; ++m) {
        EXPECT_EQ(t[0].moveCost[m], 4 + m);
        EXPECT_EQ(t[0].evasion[m], 18 + m);
    }
    EXPECT_EQ(t[0].destroyDurability, 32);
    EXPECT_EQ(t[0].extraValue, 33);
    EXPECT_EQ(t[0].captureDurability, 34);
    EXPECT_EQ(t[0].fuelSupplyMask, 0x01);
    EXPECT_EQ(t[0].ammoSupplyMask, 0x02);
    EXPECT_EQ(t[0].replenishMask, 0x04);
    EXPECT_EQ(t[0].repairMask, 0x08);
    EXPECT_EQ(t[0].extraMask, 0x10);
    EXPECT_EQ(t[0].sight[0], 65);
    EXPECT_EQ(t[0].sight[2], 67);
    EXPECT_EQ(t[0].capacity, 68);
    EXPECT_EQ(t[0].income, 69);
    EXPECT_EQ(t[0].overviewColour, 70);
    EXPECT_EQ(t[0].defaultPicture, 71);
    EXPECT_EQ(t[0].flags, kTerrainConcealment | kTerrainRoadFacility | kTerrainLandMines);
}

TEST(TerrainReader, PlaceholderLineKeepsTheIndicesOfLaterRecords) {
    const std::string bytes = landLine({{0, "a"}, {1, "1"}}) + "\r\n" + "b,,9,9,9\r\n" +
                              landLine({{0, "c"}, {1, "3"}}) + "\r\n";
    const auto t = parse(bytes);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_STREQ(t[1].name, "");  // nothing of the line is taken, not even the name
    EXPECT_EQ(t[1].moveCost[0], 0);
    EXPECT_STREQ(t[2].name, "c");
    EXPECT_EQ(t[2].listOrder, 3);
}

TEST(TerrainReader, CommentBlankAndShortLinesAreSkipped) {
    const std::string bytes =
        "; comment, with one comma\r\n"
        "\r\n"
        ",header,line,of,titles\r\n"
        "two,fields\r\n"
        "x,1,bogus\r\n";
    const auto t = parse(bytes);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_STREQ(t[0].name, "x");
    EXPECT_EQ(t[0].category, TerrainCategory::Basic);  // unknown category name
}

TEST(TerrainReader, ShortLineLoadsWithMissingColumnsZero) {
    const auto t = parse("x,5," + sj("港") + ",1,2,3\n");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].category, TerrainCategory::Port);
    EXPECT_EQ(t[0].moveCost[2], 3);
    EXPECT_EQ(t[0].moveCost[3], 0);
    EXPECT_EQ(t[0].income, 0);
    EXPECT_EQ(t[0].flags, 0);
    // Numbers are cut to their field's width.
    const auto n = parse("x,300,y,12abc,abc,70000\n");
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0].listOrder, 44);
    EXPECT_EQ(n[0].moveCost[0], 12);
    EXPECT_EQ(n[0].moveCost[1], 0);
    EXPECT_EQ(n[0].moveCost[2], 4464 & 0xFF);
}

TEST(TerrainReader, MasksNeedALeadingCircleFlagsAnExactOne) {
    const std::string circle = sj("○");
    const auto t = parse(landLine({{0, "x"},
                                   {1, "1"},
                                   {col::kFuelSupply, circle + "x"},
                                   {col::kFuelSupply + 1, " " + circle},
                                   {col::kFlags, circle + " "},
                                   {col::kFlags + 1, circle},
                                   {col::kFlags + 6, circle},
                                   {col::kFlags + 2, sj("×")}}));
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].fuelSupplyMask, 0x01);
    // The seventh flag column is 0x80; nothing ever sets 0x40.
    EXPECT_EQ(t[0].flags, kTerrainFlag02 | kTerrainRoadFacility);
}

TEST(TerrainReader, MineColumnsAreOptional) {
    const std::string circle = sj("○");
    const std::string full =
        landLine({{0, "x"}, {1, "1"}, {col::kLandMines, circle}, {col::kSeaMines, circle}});
    auto dropLastColumns = [](std::string line, int n) {
        while (n-- > 0) line.resize(line.rfind(','));
        return line;
    };
    const auto t =
        parse(full + "\n" + dropLastColumns(full, 1) + "\n" + dropLastColumns(full, 2) + "\n");
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].flags, kTerrainLandMines | kTerrainSeaMines);
    EXPECT_EQ(t[1].flags, kTerrainLandMines);
    EXPECT_EQ(t[2].flags, 0);
}

TEST(TerrainReader, CommaInATrailByteDoesNotSplitTheName) {
    const std::string name(
        "\x81\x2C"
        "ab",
        4);
    const auto t = parse(landLine({{0, name}, {1, "9"}}));
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(std::string(t[0].name), name);
    EXPECT_EQ(t[0].listOrder, 9);
}

TEST(TerrainReader, LfOnlyReadsLikeCrLf) {
    const std::string a = landLine({{0, "a"}, {1, "1"}, {col::kIncome, "5"}});
    const std::string b = landLine({{0, "b"}, {1, "2"}, {col::kFlags, sj("○")}});
    const auto crlf = parse(a + "\r\n" + b + "\r\n");
    const auto lf = parse(a + "\n" + b);
    ASSERT_EQ(crlf.size(), 2u);
    ASSERT_EQ(lf.size(), 2u);
    EXPECT_TRUE(crlf == lf);
    EXPECT_EQ(lf[0].income, 5);
    EXPECT_EQ(lf[1].flags, kTerrainConcealment);
}

TEST(TerrainReader, LongNamesAreCutAtACharacterBoundary) {
    const auto t = parse("ABCDEFGHIJKLMNOP,1,x\n" + sj("あいうえおかきく") + ",1,x\n");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(std::string(t[0].name), "ABCDEFGHIJKLM");
    EXPECT_EQ(std::string(t[1].name), sj("あいうえおか"));  // 13 bytes would split き
}

TEST(TerrainReader, KeepsAtMost256Records) {
    std::string bytes;
    for (int i = 0; i < 300; ++i) bytes += "t" + std::to_string(i) + ",1,x\n";
    const auto t = parse(bytes);
    ASSERT_EQ(t.size(), kMaxTerrainTypes);
    EXPECT_STREQ(t[255].name, "t255");
}

// A table with the fixed records the movement cost uses, each cost distinct.
class TerrainMoveCost : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<TerrainType> types(kFixedTerrainCount);
        auto cost = [&](size_t index, uint8_t c, TerrainCategory k = TerrainCategory::Basic) {
            types[index].moveCost[kTruck] = c;
            types[index].category = k;
        };
        cost(1, 3);
        cost(5, 0);  // impassable mountains
        cost(kTerrainRiver, 6, TerrainCategory::River);
        cost(kTerrainDeepRiver, 0, TerrainCategory::DeepRiver);
        cost(kTerrainFrozenRiver, 4, TerrainCategory::FrozenRiver);
        cost(31, 1, TerrainCategory::Capital);
        cost(51, 2, TerrainCategory::Building);
        cost(kTerrainRoad, 2, TerrainCategory::Road);
        cost(kTerrainTempBridge, 5, TerrainCategory::TempBridge);
        data.setTerrainTypes(types);
    }
    int cost(uint8_t terrain, uint8_t road, uint8_t river, uint8_t bridge = 0) const {
        return data.hexMoveCost(HexMoveInput{terrain, road, river, bridge}, kTruck);
    }
    static constexpr int kTruck = static_cast<int>(MovementType::VehicleB);
    TerrainData data;
};

TEST_F(TerrainMoveCost, RiverVariantsChooseTheirRecords) {
    EXPECT_EQ(cost(1, 0, 0), 3);
    EXPECT_EQ(cost(1, 0, 0x01), 6);
    EXPECT_EQ(cost(1, 0, 0x40 | 0x02), 0);  // deep river stops trucks
    EXPECT_EQ(cost(1, 0, 0x80 | 0x04), 4);
    EXPECT_EQ(cost(1, 0, 0xC0 | 0x08), 3);  // variant 3 keeps the ground's cost
    EXPECT_EQ(cost(1, 0, 0xC0), 3);         // variant bits without links are no river
}

TEST_F(TerrainMoveCost, RoadIsTakenWhenCheaperOrTheOnlyWay) {
    EXPECT_EQ(cost(1, 0x09, 0), 2);
    EXPECT_EQ(cost(1, 0x09, 0x01), 2);         // road beats the river
    EXPECT_EQ(cost(1, 0x09, 0x40 | 0x01), 2);  // and crosses the impassable deep river
    EXPECT_EQ(cost(5, 0x01, 0), 2);            // and the impassable mountain
    EXPECT_EQ(cost(1, 0x40, 0), 3);            // a stray high bit is no road link
}

TEST_F(TerrainMoveCost, RoadDearerThanTheGroundIsIgnored) {
    std::vector<TerrainType> types = data.terrainTypes();
    types[1].moveCost[kTruck] = 1;
    data.setTerrainTypes(types);
    EXPECT_EQ(cost(1, 0x01, 0), 1);
}

TEST_F(TerrainMoveCost, BridgeIgnoresTheRiver) {
    EXPECT_EQ(cost(1, 0, 0x40 | 0x09, 1), 5);
    EXPECT_EQ(cost(1, 0x09, 0x09, 3), 2);  // a road over the bridge is cheaper still
}

TEST_F(TerrainMoveCost, RoadsDoNotCountOnBuildings) {
    EXPECT_EQ(cost(31, 0x3F, 0), 1);
    EXPECT_EQ(cost(51, 0x3F, 0), 2);
    std::vector<TerrainType> types = data.terrainTypes();
    types[51].moveCost[kTruck] = 0;
    data.setTerrainTypes(types);
    EXPECT_EQ(cost(51, 0x3F, 0), 0);
}

TEST_F(TerrainMoveCost, OutOfRangeInputIsImpassable) {
    EXPECT_EQ(data.hexMoveCost({1, 0, 0, 0}, -1), 0);
    EXPECT_EQ(data.hexMoveCost({1, 0, 0, 0}, kMovementTypeCount), 0);
    EXPECT_EQ(cost(200, 0, 0), 0);  // past the table
    EXPECT_EQ(data.terrain(9999).category, TerrainCategory::Basic);
    TerrainData small;
    small.setTerrainTypes(std::vector<TerrainType>(3));
    EXPECT_EQ(small.hexMoveCost({2, 0x3F, 0xBF, 1}, kTruck), 0);
}

TEST(TerrainNames, CategoriesAndMovementTypesRoundTrip) {
    for (int i = 0; i < kTerrainCategoryCount; ++i) {
        const std::string name = sj(terrainCategoryName(i));
        EXPECT_EQ(static_cast<int>(terrainCategoryFromName(name)), i) << i;
    }
    for (int i = 0; i < kMovementTypeCount; ++i)
        EXPECT_EQ(movementTypeFromName(sj(movementTypeName(i))), i) << i;
    EXPECT_EQ(terrainCategoryName(23), "ミサイル基地");
    EXPECT_EQ(movementTypeName(13), "海中A");
    EXPECT_EQ(terrainCategoryName(28), "");
    EXPECT_EQ(movementTypeName(-1), "");
    // Lookups take the file's CP932, not UTF-8, and want the whole name.
    EXPECT_EQ(terrainCategoryFromName("道路"), TerrainCategory::Basic);
    EXPECT_EQ(terrainCategoryFromName(sj("道路") + " "), TerrainCategory::Basic);
    EXPECT_EQ(movementTypeFromName(sj("海上")), 0);
}

TEST(TerrainTransport, FollowsTheFixedTable) {
    // Allowed terrain per carrier kind, counted, and the edges of a few ranges.
    const int allowed[kCarrierKindCount] = {2, 17, 45, 45, 6, 6, 2, 6, 3, 2};
    for (int kind = 0; kind < kCarrierKindCount; ++kind) {
        int n = 0;
        for (int t = 0; t < kFixedTerrainCount; ++t) {
            const uint8_t p = transportPermission(t, kind);
            EXPECT_TRUE(p == kTransportAllowed || p == kTransportForbidden);
            n += p == kTransportAllowed;
        }
        EXPECT_EQ(n, allowed[kind]) << kind;
    }
    EXPECT_EQ(transportPermission(52, 1), kTransportAllowed);
    EXPECT_EQ(transportPermission(53, 1), kTransportForbidden);
    EXPECT_EQ(transportPermission(28, 3), kTransportAllowed);
    EXPECT_EQ(transportPermission(29, 3), kTransportForbidden);
    EXPECT_EQ(transportPermission(49, 4), kTransportAllowed);
    EXPECT_EQ(transportPermission(28, 8), kTransportAllowed);
    EXPECT_EQ(transportPermission(kFixedTerrainCount, 2), kTransportNone);
    EXPECT_EQ(transportPermission(-1, 2), kTransportNone);
    EXPECT_EQ(transportPermission(1, kCarrierKindCount), kTransportNone);
    EXPECT_EQ(carrierKindName(5), "ﾍﾘ空母(空)");
    EXPECT_EQ(carrierKindName(10), "");
    EXPECT_EQ(transportPermissionText(kTransportNone), "－");
    EXPECT_EQ(transportPermissionText(kTransportAllowed), "○");
    EXPECT_EQ(transportPermissionText(kTransportForbidden), "×");
    EXPECT_EQ(transportPermissionText(kTransportBlank), "");
}

// Points the program folder at a private folder for one test.
class LandDat : public ::testing::Test {
protected:
    void SetUp() override { setProgramPath(dir.file("kvornme")); }
    void TearDown() override { setProgramPath(""); }
    kvtest::TempDir dir;
};

TEST_F(LandDat, MissingFileIsReportedAndThrown) {
    RecordingPrompter prompts;
    ScopedPrompter scope(&prompts);
    TerrainData data;
    try {
        data.loadTerrain();
        FAIL() << "no error";
    } catch (const swCFileError& e) {
        EXPECT_EQ(e.code, swCFileError::Open);
        EXPECT_EQ(e.caption, dir.file("land.dat"));
    }
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].caption, "警告");
    EXPECT_EQ(prompts.seen[0].text, "地形データ land.dat が見つかりません");
    EXPECT_EQ(prompts.seen[0].icon, PromptIcon::Stop);
    EXPECT_EQ(data.terrainCount(), 0u);
}

TEST_F(LandDat, FoundWhateverTheLetterCaseAndLoadedOnce) {
    kvtest::writeFile(dir.file("LAND.DAT"), "a,1,x\nb,2,x\n");
    TerrainData data;
    data.loadTerrain();
    data.loadTerrain();  // loading again replaces the table
    ASSERT_EQ(data.terrainCount(), 2u);
    EXPECT_STREQ(data.terrain(1).name, "b");
    EXPECT_FALSE(TerrainData::loadTerrainFile(dir.file("none.dat")).has_value());
}

TEST_F(LandDat, SampleFileHoldsTheFixedTerrainTypes) {
    ASSERT_EQ(sample::writeTerrainData(dir.path()), "");
    TerrainData data;
    data.loadTerrain();
    ASSERT_GE(data.terrainCount(), static_cast<size_t>(kFixedTerrainCount));
    auto category = [&](size_t i) { return data.terrain(i).category; };
    EXPECT_EQ(category(kTerrainRiver), TerrainCategory::River);
    EXPECT_EQ(category(kTerrainDeepRiver), TerrainCategory::DeepRiver);
    EXPECT_EQ(category(kTerrainFrozenRiver), TerrainCategory::FrozenRiver);
    EXPECT_EQ(category(kTerrainSnowField), TerrainCategory::SnowField);
    EXPECT_EQ(category(kTerrainRoad), TerrainCategory::Road);
    EXPECT_EQ(category(kTerrainTempBridge), TerrainCategory::TempBridge);
    EXPECT_EQ(category(kTerrainCapital), TerrainCategory::Capital);
    EXPECT_EQ(category(kTerrainCity), TerrainCategory::LargeCity);
    EXPECT_EQ(category(35), TerrainCategory::Airport);
    EXPECT_EQ(category(36), TerrainCategory::Airport);
    EXPECT_EQ(category(39), TerrainCategory::Port);
    EXPECT_EQ(category(40), TerrainCategory::Port);
    EXPECT_EQ(category(kTerrainBridge), TerrainCategory::Bridge);
    EXPECT_EQ(category(kTerrainNewMap), TerrainCategory::Sea);
    EXPECT_STREQ(data.terrain(kTerrainBlank).name, sj("空白").c_str());

    // Every facility kind once at least, and no more facility types than a count has rows.
    std::set<TerrainCategory> facilities;
    int facilityTypes = 0;
    for (const TerrainType& t : data.terrainTypes()) {
        if (!isFacility(t.category)) continue;
        facilities.insert(t.category);
        ++facilityTypes;
        EXPECT_GT(t.captureDurability, 0) << t.name;
    }
    EXPECT_EQ(facilities.size(), 16u);
    EXPECT_LE(facilityTypes, 19);
}

TEST_F(LandDat, SampleTerrainMovesSensibly) {
    ASSERT_EQ(sample::writeTerrainData(dir.path()), "");
    TerrainData data;
    data.loadTerrain();
    const int air = static_cast<int>(MovementType::HighAir);
    const int ship = static_cast<int>(MovementType::SeaB);
    const int sub = static_cast<int>(MovementType::UnderseaA);
    const int truck = static_cast<int>(MovementType::VehicleB);
    for (size_t i = 0; i < data.terrainCount(); ++i) {
        const TerrainType& t = data.terrain(i);
        if (t.name[0] == 0 || i == kTerrainBlank) {
            EXPECT_EQ(t.moveCost[air], 0) << i;
            continue;
        }
        EXPECT_GT(t.moveCost[air], 0) << i;
        // Submarines only under open water; mines only where their kind belongs.
        const bool water =
            t.category == TerrainCategory::Sea || t.category == TerrainCategory::Port;
        if (!water) {
            EXPECT_EQ(t.moveCost[sub], 0) << i;
        }
        if (t.flags & kTerrainLandMines) {
            EXPECT_LE(t.category, TerrainCategory::Building) << i;
        }
        EXPECT_LE(std::strlen(t.name), 13u);
    }
    for (size_t i : {28, 29, 30, 39, 40}) EXPECT_TRUE(data.terrain(i).flags & kTerrainSeaMines);
    EXPECT_GT(data.terrain(kTerrainNewMap).moveCost[ship], 0);
    EXPECT_EQ(data.terrain(kTerrainPlain).moveCost[ship], 0);
    // A road over a river hex is the way across for wheels; a temporary bridge too.
    EXPECT_EQ(data.hexMoveCost({kTerrainPlain, 0, 0x12, 0}, truck), 0);
    EXPECT_GT(data.hexMoveCost({kTerrainPlain, 0x09, 0x12, 0}, truck), 0);
    EXPECT_GT(data.hexMoveCost({kTerrainPlain, 0, 0x12, 1}, truck), 0);
}

TEST_F(LandDat, SampleBytesAreTheSameOnEveryRun) {
    ASSERT_EQ(sample::writeTerrainData(dir.path()), "");
    const std::string first = kvtest::readFile(dir.file("land.dat"));
    ASSERT_EQ(sample::writeTerrainData(dir.path()), "");
    EXPECT_EQ(kvtest::readFile(dir.file("land.dat")), first);
    // Every line ends in CR LF, and the text is valid CP932.
    for (size_t i = first.find('\n'); i != std::string::npos; i = first.find('\n', i + 1))
        ASSERT_TRUE(i > 0 && first[i - 1] == '\r') << i;
    EXPECT_TRUE(decodeCp932(first).has_value());
    EXPECT_NE(sample::writeTerrainData(dir.file("land.dat")), "");  // a file, not a folder
}

}  // namespace
}  // namespace kv
