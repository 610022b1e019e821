// The terrain table read from land.dat: terrain types, their categories and movement types,
// the movement cost of a hex and the fixed transport permission table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// What kind of terrain a type is. Everything above Building is a facility a faction can own.
enum class TerrainCategory : uint8_t {
    Basic = 0,            // 基本地形
    River = 1,            // 河川
    DeepRiver = 2,        // 深い河
    FrozenRiver = 3,      // 凍結河川
    SnowField = 4,        // 雪原
    Shallows = 5,         // 浅瀬
    Sea = 6,              // 海
    Pillbox = 7,          // トーチカ
    Wasteland = 8,        // 荒地
    Road = 9,             // 道路
    TempBridge = 10,      // 仮設橋
    Building = 11,        // 建物
    Capital = 12,         // 首都
    LargeCity = 13,       // 大都市
    MediumCity = 14,      // 中都市
    SmallCity = 15,       // 小都市
    Airport = 16,         // 空港
    Port = 17,            // 港
    Factory = 18,         // 工場
    Base = 19,            // 基地
    Bridge = 20,          // 橋
    OilField = 21,        // 油田
    NuclearPlant = 22,    // 原発
    MissileBase = 23,     // ミサイル基地
    WeaponsFactory = 24,  // 兵器工場
    Dam = 25,             // ダム
    Tunnel = 26,          // トンネル
    Fortress = 27,        // 要塞
};
inline constexpr int kTerrainCategoryCount = 28;

// The name of a category (UTF-8); empty for a value outside the list.
std::string_view terrainCategoryName(int value);
// The category whose name is `cp932Name` (file text); Basic when there is none.
TerrainCategory terrainCategoryFromName(std::string_view cp932Name);
// A category a faction can own (首都 to 要塞).
constexpr bool isFacility(TerrainCategory c) {
    return c > TerrainCategory::Building;
}

// How a troop moves; the column order of `moveCost` and `evasion`.
enum class MovementType : uint8_t {
    HighAir = 0,  // 高空
    LowAir,       // 低空
    TrackA,       // キャタピラA
    TrackB,
    TrackC,
    TrackD,
    VehicleA,  // 車両A
    VehicleB,
    VehicleC,
    InfantryA,  // 歩兵A
    SeaA,       // 海上A
    SeaB,
    SeaC,
    UnderseaA,  // 海中A
};
inline constexpr int kMovementTypeCount = 14;

// The name of a movement type (UTF-8); empty for a value outside the list.
std::string_view movementTypeName(int value);
// The movement type whose name is `cp932Name` (file text); 0 (高空) when there is none.
int movementTypeFromName(std::string_view cp932Name);

// Bits of `TerrainType::flags`.
inline constexpr uint16_t kTerrainConcealment = 0x0001;   // 隠蔽
inline constexpr uint16_t kTerrainFlag02 = 0x0002;        // kept, no meaning here
inline constexpr uint16_t kTerrainVtolLanding = 0x0004;   // VTOL着陸
inline constexpr uint16_t kTerrainHeliLanding = 0x0008;   // ヘリ着陸
inline constexpr uint16_t kTerrainAirborne = 0x0010;      // 空挺
inline constexpr uint16_t kTerrainBridging = 0x0020;      // 架橋
inline constexpr uint16_t kTerrainRoadFacility = 0x0080;  // 道路施設
inline constexpr uint16_t kTerrainLandMines = 0x0100;     // 地雷: land mines may be laid
inline constexpr uint16_t kTerrainSeaMines = 0x0200;      // 機雷: sea mines may be laid

// Terrain indices the program itself relies on; land.dat must list these types there.
inline constexpr uint8_t kTerrainBlank = 0;         // blank terrain, nothing stands on it
inline constexpr uint8_t kTerrainPlain = 1;         // what a hex becomes when its river goes
inline constexpr uint8_t kTerrainRiver = 14;        // river overlay, variant 0
inline constexpr uint8_t kTerrainDeepRiver = 15;    // river overlay, variant 1
inline constexpr uint8_t kTerrainSnowField = 17;    // what a frozen river hex becomes
inline constexpr uint8_t kTerrainFrozenRiver = 26;  // river overlay, variant 2
inline constexpr uint8_t kTerrainNewMap = 30;       // every hex of a new map
inline constexpr uint8_t kTerrainCapital = 31;
inline constexpr uint8_t kTerrainCity = 32;  // a capital that lost its faction
inline constexpr uint8_t kTerrainBridge = 49;
inline constexpr uint8_t kTerrainRoad = 52;
inline constexpr uint8_t kTerrainTempBridge = 53;
inline constexpr int kFixedTerrainCount = 54;    // indices 0..53 have fixed meanings
inline constexpr size_t kMaxTerrainTypes = 256;  // a hex stores the index in one byte

inline constexpr size_t kTerrainNameBytes = 14;

// One terrain type, one data line of land.dat. All zero is a valid, unnamed record.
struct TerrainType {
    char name[kTerrainNameBytes];  // CP932, NUL-terminated, at most 13 bytes of text
    uint8_t listOrder;             // sort key of the terrain lists and the palette
    TerrainCategory category;
    uint8_t moveCost[kMovementTypeCount];  // per MovementType; 0 = impassable
    uint8_t evasion[kMovementTypeCount];   // per MovementType, percent
    uint8_t destroyDurability;
    uint8_t extraValue;
    uint8_t captureDurability;
    uint16_t fuelSupplyMask;  // low 6 bits used by each mask
    uint16_t ammoSupplyMask;
    uint16_t replenishMask;
    uint16_t repairMask;
    uint16_t extraMask;
    uint8_t sight[3];
    uint8_t capacity;
    uint16_t income;
    uint16_t overviewColour;
    uint16_t defaultPicture;
    uint16_t flags;

    bool operator==(const TerrainType&) const = default;
};

// Column numbers of land.dat, 0-based (the name is column 0).
namespace land_column {
inline constexpr size_t kName = 0;
inline constexpr size_t kListOrder = 1;
inline constexpr size_t kCategory = 2;
inline constexpr size_t kMoveCost = 3;  // 14 columns
inline constexpr size_t kEvasion = 17;  // 14 columns
inline constexpr size_t kDestroyDurability = 31;
inline constexpr size_t kExtraValue = 32;
inline constexpr size_t kCaptureDurability = 33;
inline constexpr size_t kFuelSupply = 34;  // 6 columns each from here on
inline constexpr size_t kAmmoSupply = 40;
inline constexpr size_t kReplenish = 46;
inline constexpr size_t kRepair = 52;
inline constexpr size_t kExtraMask = 58;
inline constexpr size_t kSight = 64;  // 3 columns
inline constexpr size_t kCapacity = 67;
inline constexpr size_t kIncome = 68;
inline constexpr size_t kOverviewColour = 69;
inline constexpr size_t kDefaultPicture = 70;
inline constexpr size_t kFlags = 71;  // 7 columns: bits 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x80
inline constexpr size_t kLandMines = 78;  // optional
inline constexpr size_t kSeaMines = 79;   // optional
inline constexpr size_t kCount = 80;
}  // namespace land_column

// The record of one data line; nullopt for a line that holds no record (comment, blank line).
std::optional<TerrainType> parseTerrainLine(std::string_view line);
// Every record of a whole land.dat, in file order, at most kMaxTerrainTypes.
std::vector<TerrainType> parseTerrainTable(std::string_view bytes);

// The fields of a hex that decide its movement cost.
struct HexMoveInput {
    uint8_t terrain;    // terrain index
    uint8_t roadMask;   // road links, bits 0..5
    uint8_t riverByte;  // river links in bits 0..5, river variant in bits 6..7
    uint8_t bridge;     // non-zero: the hex carries a temporary bridge
};

// The terrain table of the game database.
class TerrainData {
public:
    // Reads land.dat from the program folder, replacing the table. A missing file is reported
    // to the user and thrown as swCFileError(Open, path); an unreadable one is thrown as
    // swCFileError(Read, path).
    void loadTerrain();
    // The records of the file at `path`; nullopt when it cannot be read.
    static std::optional<std::vector<TerrainType>> loadTerrainFile(const std::string& path);

    size_t terrainCount() const { return terrainTypes_.size(); }
    // The record at `index`; an index past the table gives an all-zero record. Inline: the
    // whole-map passes ask it for every hex.
    const TerrainType& terrain(size_t index) const {
        return index < terrainTypes_.size() ? terrainTypes_[index] : kNoTerrain;
    }
    const std::vector<TerrainType>& terrainTypes() const { return terrainTypes_; }
    void setTerrainTypes(std::vector<TerrainType> types);

    // The cost for `movementType` to enter a hex; 0 = impassable (also for a movement type
    // outside the list).
    int hexMoveCost(const HexMoveInput& hex, int movementType) const;

private:
    static const TerrainType kNoTerrain;
    std::vector<TerrainType> terrainTypes_;
};

// Transport permission: where a carrier may load and unload troops. Fixed in the program.
inline constexpr int kCarrierKindCount = 10;
inline constexpr uint8_t kTransportNone = 0;       // shown "－"
inline constexpr uint8_t kTransportAllowed = 1;    // shown "○"
inline constexpr uint8_t kTransportForbidden = 2;  // shown "×"
inline constexpr uint8_t kTransportBlank = 9;      // shown empty

// The name of carrier kind 0..9 (UTF-8); empty outside.
std::string_view carrierKindName(int kind);
// 1 or 2 for terrain 0..53 and carrier kinds 0..9; 0 for anything else.
uint8_t transportPermission(int terrainIndex, int carrierKind);
// The cell text (UTF-8) of a permission value.
std::string_view transportPermissionText(uint8_t value);

}  // namespace kv
