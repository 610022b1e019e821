// The reference lists as texts: terrain information cells by category and option, the move
// and avoid tables, transportable terrain and the weapon list in the database's order.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/cp932.h"
#include "gamedata/product_types.h"
#include "gamedata/reference_tables.h"
#include "gamedata/terrain.h"
#include "gamedata/weapons.h"

namespace kv {
namespace {

TerrainType named(const char* utf8, uint8_t order, TerrainCategory c) {
    TerrainType t{};
    const std::string name = encodeCp932(utf8).value();
    std::memcpy(t.name, name.data(), std::min(name.size(), kTerrainNameBytes - 1));
    t.listOrder = order;
    t.category = c;
    return t;
}

std::vector<std::string> texts(const InfoTable::Row& row) {
    std::vector<std::string> out;
    for (const InfoCell& c : row.cells) out.push_back(c.text);
    return out;
}

// A table of 54 types: most unnamed; a few placed where the landing rules look at indices.
TerrainData sampleTerrain() {
    std::vector<TerrainType> types(kFixedTerrainCount);
    TerrainType plain = named("平地", 5, TerrainCategory::Basic);
    plain.moveCost[2] = 1;
    plain.evasion[2] = 10;
    plain.evasion[3] = 30;  // impassable for movement type 3: shown "-"
    plain.flags = kTerrainConcealment | kTerrainHeliLanding;
    types[1] = plain;
    TerrainType hill = named("丘", 3, TerrainCategory::Basic);
    hill.destroyDurability = 7;
    hill.fuelSupplyMask = 0x20;
    types[2] = hill;
    TerrainType house = named("建物", 5, TerrainCategory::Building);  // ties 平地 on order
    house.income = 15;
    house.sight[0] = 1, house.sight[1] = 2, house.sight[2] = 3;
    house.capacity = 2;
    types[7] = house;
    TerrainType airport = named("空港", 1, TerrainCategory::Airport);
    airport.income = 1234;
    airport.capacity = 4;
    airport.captureDurability = 3;
    types[35] = airport;
    TerrainType harbour = named("港湾", 2, TerrainCategory::Port);
    harbour.capacity = 4;
    types[48] = harbour;  // the one facility index that lands no helicopter
    TerrainType empty = named("倉庫", 9, TerrainCategory::Factory);  // no capacity
    types[44] = empty;
    TerrainData data;
    data.setTerrainTypes(types);
    return data;
}

TEST(TerrainLists, OrderFormatsAndLandingRules) {
    const TerrainData terrain = sampleTerrain();
    // Only named types, by list order; equal orders keep the table's order.
    EXPECT_EQ(terrainListOrder(terrain), (std::vector<int>{35, 48, 2, 1, 7, 44}));

    auto cell = [&terrain](int index, int column) {
        return terrainListCell(terrain.terrain(size_t(index)), index, column);
    };
    // Facilities and buildings show their figures; other terrain only a destroy durability.
    EXPECT_EQ(cell(35, kListIncome), "1234");
    EXPECT_EQ(cell(7, kListIncome), "  15");
    EXPECT_EQ(cell(7, kListSight), "1/2/3");
    EXPECT_EQ(cell(35, kListCaptureDurability), " 3");
    EXPECT_EQ(cell(35, kListDestroyDurability), " 0");
    EXPECT_EQ(cell(7, kListCapacity), "2");
    EXPECT_EQ(cell(1, kListIncome), "");
    EXPECT_EQ(cell(1, kListSight), "");
    EXPECT_EQ(cell(1, kListCapacity), "");
    EXPECT_EQ(cell(1, kListDestroyDurability), "-");
    EXPECT_EQ(cell(2, kListDestroyDurability), " 7");
    // Masks count any bit, flags their own.
    EXPECT_EQ(cell(2, kListFuelSupply), "○");
    EXPECT_EQ(cell(1, kListFuelSupply), "×");
    EXPECT_EQ(cell(1, kListConcealment), "○");
    EXPECT_EQ(cell(1, kListAirborne), "×");
    // Landing: the flag shows a circle below category 12; a facility holding units shows
    // 味 (helicopters anywhere but 48, VTOL at 35..40 and 43).
    EXPECT_EQ(cell(1, kListHeliLanding), "○");
    EXPECT_EQ(cell(1, kListVtolLanding), "×");
    EXPECT_EQ(cell(35, kListHeliLanding), "味");
    EXPECT_EQ(cell(35, kListVtolLanding), "味");
    EXPECT_EQ(cell(48, kListHeliLanding), "×");
    EXPECT_EQ(cell(48, kListVtolLanding), "×");
    EXPECT_EQ(cell(44, kListHeliLanding), "×");  // no capacity
    EXPECT_EQ(cell(7, kListHeliLanding), "×");   // a building is no facility

    // The option bits choose the columns; トーチカ never shows.
    const InfoTable all = terrainInfoTable(terrain, 0xFFFFFFFFu);
    EXPECT_EQ(all.headings.size(), 2u + kTerrainListColumnCount - 1);
    EXPECT_EQ(std::count(all.headings.begin(), all.headings.end(), "トーチカ"), 0);
    const InfoTable some = terrainInfoTable(
        terrain, (1u << kListIncome) | (1u << kListHeliLanding) | (1u << kListPillbox));
    EXPECT_EQ(some.headings, (std::vector<std::string>{"地形", "種類", "収入", "ヘリ着陸"}));
    ASSERT_EQ(some.rows.size(), 6u);
    EXPECT_EQ(some.rows[0].key, 35);
    EXPECT_EQ(texts(some.rows[0]), (std::vector<std::string>{"空港", "空港", "1234", "味"}));
    EXPECT_EQ(some.rows[0].cells[2].number, 1234);  // sorts as a number

    // Move and avoid tables: "-" where the movement type cannot enter.
    const InfoTable move = terrainMoveTable(terrain);
    const InfoTable avoid = terrainAvoidTable(terrain);
    ASSERT_EQ(move.headings.size(), 1u + kMovementTypeCount);
    EXPECT_EQ(move.rows[3].key, 1);
    EXPECT_EQ(move.rows[3].cells[3].text, "1");
    EXPECT_EQ(move.rows[3].cells[4].text, "-");
    EXPECT_EQ(avoid.rows[3].cells[3].text, "10");
    EXPECT_EQ(avoid.rows[3].cells[4].text, "-");

    // Transportable terrain: the fixed table's marks; past index 53 nothing is defined.
    const InfoTable transport = transportableTerrainTable(terrain);
    ASSERT_EQ(transport.headings.size(), 1u + kCarrierKindCount);
    EXPECT_EQ(transport.rows[0].key, 35);
    EXPECT_EQ(transport.rows[0].cells[1].text, "○");  // 輸送機 at the airport
    EXPECT_EQ(transport.rows[3].cells[1].text, "×");  // not on the plain
    std::vector<TerrainType> more = terrain.terrainTypes();
    more.push_back(named("遠方", 0, TerrainCategory::Basic));
    TerrainData wide;
    wide.setTerrainTypes(more);
    EXPECT_EQ(transportableTerrainTable(wide).rows[0].cells[1].text, "－");
}

TEST(WeaponListTable, FollowsTheDatabaseOrderWithItsFigures) {
    WeaponData weapons;
    // Columns 1..31 of a weapon line; the rest take their defaults.
    auto line = [](int id, const char* name, const char* type, int members, int cost) {
        std::vector<std::string> f(31, "0");
        f[0] = std::to_string(id);
        f[1] = encodeCp932(name).value();
        f[2] = encodeCp932("○").value();
        f[3] = encodeCp932("地上").value();
        f[4] = encodeCp932("車両A").value();
        f[5] = encodeCp932(type).value();
        f[8] = std::to_string(members);
        f[30] = std::to_string(cost);
        std::string text;
        for (const std::string& field : f) text += (text.empty() ? "" : ",") + field;
        return text + "\r\n";
    };
    weapons.readWeapons(line(12, "戦車甲", "主力戦車", 4, 25) + line(9, "装甲車", "偵察車", 4, 10) +
                        line(30, "戦車乙", "主力戦車", 2, 50));
    ProductTypeData products;
    products.buildWeaponList(0, weapons);
    products.sortWeaponList(0, false, weapons);
    const InfoTable table = weaponListTable(products, weapons);
    ASSERT_EQ(table.rows.size(), 3u);
    // By type, ties by file position: 戦車甲 (line 0) before 戦車乙 (line 2).
    EXPECT_EQ(table.rows[0].key, 12);
    EXPECT_EQ(table.rows[1].key, 30);
    EXPECT_EQ(table.rows[2].key, 9);
    EXPECT_EQ(texts(table.rows[0]), (std::vector<std::string>{"  12", "戦車甲", "主力戦車", "地上",
                                                              "車両A", "4", "100"}));
    products.sortWeaponList(0, true, weapons);  // the reverse rule
    EXPECT_EQ(weaponListTable(products, weapons).rows[0].key, 9);
}

}  // namespace
}  // namespace kv
