// The reference lists on the game data as plain tables of texts: terrain information, the
// terrain move and avoid tables, transportable terrain and the weapon list. The windows only
// show them; the formats and orders live here so they can be checked without a window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class TerrainData;
class WeaponData;
class ProductTypeData;
struct TerrainType;

// One cell: its text (UTF-8) and, for a number, the value it sorts by.
struct InfoCell {
    std::string text;
    std::optional<int64_t> number;
};

// A list as shown: column headings and rows of cells; `key` names what a row stands for (a
// terrain index, a weapon id, a troop's table × 1000 + slot).
struct InfoTable {
    std::vector<std::string> headings;
    struct Row {
        int key = 0;
        std::vector<InfoCell> cells;
    };
    std::vector<Row> rows;
};

// The optional columns of terrain information, bits 0..15 of the setting "LandListOption".
enum TerrainListColumn : int {
    kListIncome = 0,
    kListSight,
    kListCaptureDurability,
    kListDestroyDurability,
    kListCapacity,
    kListReplenish,
    kListRepair,
    kListAmmoSupply,
    kListFuelSupply,
    kListConcealment,
    kListAirborne,
    kListHeliLanding,
    kListVtolLanding,
    kListBridging,
    kListPillbox,  // never offered
    kListRoadFacility,
    kTerrainListColumnCount
};
// Every offered column shown.
inline constexpr uint32_t kDefaultLandListOption = 0xFFFFu & ~(1u << kListPillbox);

std::string_view terrainListHeading(int column);
bool terrainListColumnOffered(int column);
// The text of an optional column for terrain `index`.
std::string terrainListCell(const TerrainType& t, int index, int column);
// "%d", or "-" for 0.
std::string terrainMoveCell(const TerrainType& t, int movementType);
// "%d" where the movement type can enter, "-" elsewhere.
std::string terrainAvoidCell(const TerrainType& t, int movementType);

// The named terrain types by `listOrder` (ties by index).
std::vector<int> terrainListOrder(const TerrainData& terrain);

// 名前, 種類 and the offered columns whose bit `options` holds.
InfoTable terrainInfoTable(const TerrainData& terrain, uint32_t options);
InfoTable terrainMoveTable(const TerrainData& terrain);
InfoTable terrainAvoidTable(const TerrainData& terrain);
InfoTable transportableTerrainTable(const TerrainData& terrain);
// Every field of one terrain type as (item, value) rows, for the companion window.
InfoTable terrainDetailTable(const TerrainData& terrain, int index);

// The weapon list in its current order (ProductTypeData::weaponList).
InfoTable weaponListTable(const ProductTypeData& products, const WeaponData& weapons);

}  // namespace kv

namespace kv {

// What a scenario designer reads to choose a weapon: its fields as (item, value) rows, and
// one row per armament with its kind, rounds, range, power and attack on each target class.
struct WeaponDetailText {
    InfoTable fields;
    InfoTable armaments;
};
WeaponDetailText weaponDetailText(const WeaponData& weapons, int weaponId);

}  // namespace kv
