// The building count: rows, owner columns, recount and single changes.
#include "document/building_count.h"

#include <gtest/gtest.h>

#include "document/map_document.h"

namespace {

using kv::BuildingCount;
using kv::TerrainCategory;
using Cell = BuildingCount::Cell;
using Change = BuildingCount::Change;

constexpr int kCapital = 1, kFactory = 3, kBuilding = 4, kPort = 5;

std::vector<kv::TerrainType> terrainTable() {
    std::vector<kv::TerrainType> types(6, kv::TerrainType{});
    types[kCapital].category = TerrainCategory::Capital;
    types[kCapital].income = 100;
    types[2].category = TerrainCategory::Road;
    types[kFactory].category = TerrainCategory::Factory;
    types[kFactory].income = 30;
    types[kBuilding].category = TerrainCategory::Building;  // a plain building is no facility
    types[kBuilding].income = 50;
    types[kPort].category = TerrainCategory::Port;
    types[kPort].income = 7;
    return types;
}

struct BuildingCountTest : testing::Test {
    void SetUp() override {
        doc.gameDatabase.setTerrainTypes(terrainTable());
        doc.resetToNewMap();
        doc.mapHeader.setSize(10, 5);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 10; ++c) *doc.cellAt(c, r) = kv::HexCell{};
        put(0, 0, kCapital, 0);  // a neutral capital
        put(1, 0, kFactory, 2);  // faction slot 1
        put(2, 0, kFactory, 2, true);
        put(3, 0, kPort, 7);      // the special colour counts as neutral
        put(4, 0, kBuilding, 1);  // not counted
        put(5, 0, 200, 1);        // no such terrain: not counted
        put(9, 4, kCapital, 6);
    }
    void put(int col, int row, int terrain, int owner, bool destroyed = false) {
        kv::HexCell& c = *doc.cellAt(col, row);
        c.terrain = static_cast<uint8_t>(terrain);
        c.owner = static_cast<uint8_t>(owner);
        c.destroyed = destroyed ? 1 : 0;
    }
    // Every cell and total, to compare two counts.
    static std::vector<Cell> snapshot(const BuildingCount& b) {
        std::vector<Cell> all;
        for (int col = 0; col < BuildingCount::kColumns; ++col) {
            for (int row = 0; row < b.rowCount(); ++row) all.push_back(b.cell(col, row));
            all.push_back(b.total(col));
        }
        return all;
    }
    kv::MapDocument doc;
};

TEST_F(BuildingCountTest, RecountFillsOwnerRowAndTotals) {
    BuildingCount count(doc.gameDatabase.terrainTypes());
    ASSERT_EQ(count.rowCount(), 3);
    EXPECT_EQ(count.rowOf(kCapital), 0);
    EXPECT_EQ(count.rowOf(kFactory), 1);
    EXPECT_EQ(count.rowOf(kPort), 2);
    for (int t : {0, 2, kBuilding, 6, 200, -1, 256}) EXPECT_EQ(count.rowOf(t), -1) << t;
    EXPECT_EQ(count.terrainOfRow(2), kPort);
    for (auto [owner, column] : {std::pair{0, 6}, {1, 0}, {6, 5}, {7, 6}, {255, 6}})
        EXPECT_EQ(BuildingCount::columnOf(owner), column) << owner;

    count.recount(doc);
    EXPECT_EQ(count.cell(6, 0), (Cell{1, 0, 100}));  // the neutral capital
    EXPECT_EQ(count.cell(5, 0), (Cell{1, 0, 100}));
    EXPECT_EQ(count.cell(1, 1), (Cell{1, 1, 30}));  // destroyed ones yield nothing
    EXPECT_EQ(count.cell(6, 2), (Cell{1, 0, 7}));
    EXPECT_EQ(count.total(7), (Cell{4, 1, 237}));
    EXPECT_EQ(count.cell(8, 0), Cell{});  // out of range reads empty
    EXPECT_EQ(count.cell(0, 3), Cell{});
    // Column 7 and the totals are sums of the rest.
    for (int row = 0; row < count.rowCount(); ++row) {
        Cell sum;
        for (int col = 0; col < 7; ++col) {
            sum.intact += count.cell(col, row).intact;
            sum.destroyed += count.cell(col, row).destroyed;
            sum.income += count.cell(col, row).income;
        }
        EXPECT_EQ(sum, count.cell(7, row)) << row;
    }
    for (int col = 0; col < BuildingCount::kColumns; ++col) {
        Cell sum;
        for (int row = 0; row < count.rowCount(); ++row) {
            sum.intact += count.cell(col, row).intact;
            sum.destroyed += count.cell(col, row).destroyed;
            sum.income += count.cell(col, row).income;
        }
        EXPECT_EQ(sum, count.total(col)) << col;
    }
    // A recount starts from zero.
    const std::vector<Cell> once = snapshot(count);
    count.recount(doc);
    EXPECT_EQ(snapshot(count), once);
}

TEST_F(BuildingCountTest, SingleChangesAgreeWithARecount) {
    BuildingCount count(doc.gameDatabase.terrainTypes());
    count.recount(doc);
    const std::vector<Cell> before = snapshot(count);

    // Destroying and restoring a facility leaves every count as it was.
    EXPECT_TRUE(count.apply(Change::DestroyedAdded, kFactory, 2));
    EXPECT_TRUE(count.apply(Change::DestroyedRemoved, kFactory, 2));
    EXPECT_TRUE(count.apply(Change::IntactRemoved, kCapital, 0));
    EXPECT_TRUE(count.apply(Change::IntactAdded, kCapital, 0));
    EXPECT_EQ(snapshot(count), before);
    // Terrain without a row changes nothing.
    EXPECT_FALSE(count.apply(Change::IntactAdded, kBuilding, 1));
    EXPECT_FALSE(count.apply(Change::IntactAdded, 999, 1));
    EXPECT_EQ(snapshot(count), before);

    // The intact factory destroyed, a port built for faction 6 and the capital taken away,
    // told one by one, match a recount of the changed map.
    put(1, 0, kFactory, 2, true);
    count.apply(Change::IntactRemoved, kFactory, 2);
    count.apply(Change::DestroyedAdded, kFactory, 2);
    put(7, 3, kPort, 6);
    count.apply(Change::IntactAdded, kPort, 6);
    put(0, 0, 0, 0);
    count.apply(Change::IntactRemoved, kCapital, 0);
    BuildingCount fresh(doc.gameDatabase.terrainTypes());
    fresh.recount(doc);
    EXPECT_EQ(snapshot(count), snapshot(fresh));
}

}  // namespace
