// The terrain table: land.dat reader, name lists, hex movement cost and transport permissions.
#include "gamedata/terrain.h"

#include <array>

#include "framework/cp932.h"
#include "framework/data_paths.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/prompter.h"
#include "gamedata/text_table.h"
#include "gamedata/weapon_enums.h"

namespace kv {

namespace {

constexpr std::array<std::string_view, kTerrainCategoryCount> kCategoryNames = {
    "基本地形", "河川",   "深い河",       "凍結河川", "雪原", "浅瀬",     "海",
    "トーチカ", "荒地",   "道路",         "仮設橋",   "建物", "首都",     "大都市",
    "中都市",   "小都市", "空港",         "港",       "工場", "基地",     "橋",
    "油田",     "原発",   "ミサイル基地", "兵器工場", "ダム", "トンネル", "要塞",
};

constexpr std::array<std::string_view, kCarrierKindCount> kCarrierNames = {
    "輸送機",     "輸送ヘリ",   "歩兵戦闘車", "兵員輸送車", "空母",
    "ﾍﾘ空母(空)", "ﾍﾘ空母(陸)", "揚陸艦(空)", "揚陸艦(陸)", "輸送艦",
};

// The file holds CP932; the lists are converted once so a lookup compares bytes.
template <size_t N>
std::array<std::string, N> toCp932(const std::array<std::string_view, N>& names) {
    std::array<std::string, N> out;
    for (size_t i = 0; i < N; ++i) out[i] = encodeCp932(names[i]).value_or(std::string());
    return out;
}

template <size_t N>
int indexOf(const std::array<std::string, N>& names, std::string_view text) {
    for (size_t i = 0; i < N; ++i)
        if (!names[i].empty() && names[i] == text) return static_cast<int>(i);
    return -1;
}

uint16_t maskFrom(const FieldRow& row, size_t first) {
    uint16_t mask = 0;
    for (size_t i = 0; i < 6; ++i)
        if (row.circleStart(first + i)) mask |= static_cast<uint16_t>(1u << i);
    return mask;
}

uint16_t flagsFrom(const FieldRow& row) {
    // Bit 0x40 has no column: the seventh flag column goes to 0x80.
    static constexpr uint16_t kBits[7] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x80};
    uint16_t flags = 0;
    for (size_t i = 0; i < 7; ++i)
        if (row.circle(land_column::kFlags + i)) flags |= kBits[i];
    if (row.circle(land_column::kLandMines)) flags |= kTerrainLandMines;
    if (row.circle(land_column::kSeaMines)) flags |= kTerrainSeaMines;
    return flags;
}

TerrainType terrainFromRow(const FieldRow& row) {
    namespace col = land_column;
    TerrainType t{};
    // An empty second field is a placeholder that only keeps the index positions.
    if (row.text(col::kListOrder).empty()) return t;
    copyFieldText(t.name, sizeof t.name, row.text(col::kName));
    t.listOrder = row.u8(col::kListOrder);
    t.category = terrainCategoryFromName(row.text(col::kCategory));
    for (size_t m = 0; m < kMovementTypeCount; ++m) {
        t.moveCost[m] = row.u8(col::kMoveCost + m);
        t.evasion[m] = row.u8(col::kEvasion + m);
    }
    t.destroyDurability = row.u8(col::kDestroyDurability);
    t.extraValue = row.u8(col::kExtraValue);
    t.captureDurability = row.u8(col::kCaptureDurability);
    t.fuelSupplyMask = maskFrom(row, col::kFuelSupply);
    t.ammoSupplyMask = maskFrom(row, col::kAmmoSupply);
    t.replenishMask = maskFrom(row, col::kReplenish);
    t.repairMask = maskFrom(row, col::kRepair);
    t.extraMask = maskFrom(row, col::kExtraMask);
    for (size_t i = 0; i < 3; ++i) t.sight[i] = row.u8(col::kSight + i);
    t.capacity = row.u8(col::kCapacity);
    t.income = row.u16(col::kIncome);
    t.overviewColour = row.u16(col::kOverviewColour);
    t.defaultPicture = row.u16(col::kDefaultPicture);
    t.flags = flagsFrom(row);
    return t;
}

// Terrain index ranges (inclusive) where each carrier kind may load and unload.
struct Range {
    uint8_t first, last;
};
constexpr Range kTransportHeliRanges[] = {{1, 1}, {6, 7}, {17, 17}, {31, 40}, {43, 43}, {51, 52}};
constexpr Range kGroundCarrierRanges[] = {{1, 10}, {13, 14}, {17, 22}, {25, 28}, {31, 53}};
constexpr Range kCarrierRanges[] = {{28, 30}, {39, 40}, {49, 49}};
constexpr Range kPortRanges[] = {{39, 40}};
constexpr Range kLandingShipRanges[] = {{28, 28}, {39, 40}};
constexpr Range kAirportRanges[] = {{35, 36}};

struct RangeList {
    const Range* begin;
    size_t count;
};
template <size_t N>
constexpr RangeList list(const Range (&r)[N]) {
    return {r, N};
}
constexpr RangeList kTransportRanges[kCarrierKindCount] = {
    list(kAirportRanges),       list(kTransportHeliRanges), list(kGroundCarrierRanges),
    list(kGroundCarrierRanges), list(kCarrierRanges),       list(kCarrierRanges),
    list(kPortRanges),          list(kCarrierRanges),       list(kLandingShipRanges),
    list(kPortRanges),
};

}  // namespace

std::string_view terrainCategoryName(int value) {
    return value >= 0 && value < kTerrainCategoryCount ? kCategoryNames[value] : "";
}

TerrainCategory terrainCategoryFromName(std::string_view cp932Name) {
    static const auto names = toCp932(kCategoryNames);
    const int i = indexOf(names, cp932Name);
    return static_cast<TerrainCategory>(i < 0 ? 0 : i);
}

std::string_view movementTypeName(int value) {
    return movementTypeNames().utf8(value);
}

int movementTypeFromName(std::string_view cp932Name) {
    return movementTypeNames().lookup(cp932Name);
}

namespace {

std::optional<TerrainType> terrainFromLine(std::string_view line, FieldRow& row) {
    row.split(line);
    // Comment and blank lines: an empty first field or fewer than three fields.
    if (row.size() < 3 || row.text(land_column::kName).empty()) return std::nullopt;
    return terrainFromRow(row);
}

}  // namespace

std::optional<TerrainType> parseTerrainLine(std::string_view line) {
    FieldRow row;
    return terrainFromLine(line, row);
}

std::vector<TerrainType> parseTerrainTable(std::string_view bytes) {
    std::vector<TerrainType> types;
    FieldRow row;
    forEachLine(bytes, [&](std::string_view line) {
        if (types.size() == kMaxTerrainTypes) return;  // no hex could refer to more
        if (std::optional<TerrainType> t = terrainFromLine(line, row)) types.push_back(*t);
    });
    return types;
}

std::optional<std::vector<TerrainType>> TerrainData::loadTerrainFile(const std::string& path) {
    std::optional<std::string> bytes = readWholeFile(path, 64u << 20);
    if (!bytes) return std::nullopt;
    return parseTerrainTable(*bytes);
}

void TerrainData::loadTerrain() {
    const std::string path = dataPath("land.dat", DataKind::Program);
    if (!fileExists(path)) {
        showMessage("警告", "地形データ land.dat が見つかりません", PromptIcon::Stop);
        throw swCFileError(swCFileError::Open, path);
    }
    std::optional<std::vector<TerrainType>> types = loadTerrainFile(path);
    if (!types) throw swCFileError(swCFileError::Read, path);
    terrainTypes_ = std::move(*types);
}

const TerrainType TerrainData::kNoTerrain{};

void TerrainData::setTerrainTypes(std::vector<TerrainType> types) {
    if (types.size() > kMaxTerrainTypes) types.resize(kMaxTerrainTypes);
    terrainTypes_ = std::move(types);
}

int TerrainData::hexMoveCost(const HexMoveInput& hex, int movementType) const {
    if (movementType < 0 || movementType >= kMovementTypeCount) return 0;
    const size_t m = static_cast<size_t>(movementType);
    const TerrainType& ground = terrain(hex.terrain);
    int base = ground.moveCost[m];
    // Buildings have no road through them, whatever the road mask says.
    int road = 0;
    if ((hex.roadMask & 0x3F) != 0 && ground.category < TerrainCategory::Building)
        road = terrain(kTerrainRoad).moveCost[m];
    if (hex.bridge != 0) {
        base = terrain(kTerrainTempBridge).moveCost[m];
    } else if ((hex.riverByte & 0x3F) != 0) {
        static constexpr int kRiverRecord[4] = {kTerrainRiver, kTerrainDeepRiver,
                                                kTerrainFrozenRiver, -1};
        const int record = kRiverRecord[hex.riverByte >> 6];
        if (record >= 0) base = terrain(static_cast<size_t>(record)).moveCost[m];
    }
    return road != 0 && (base == 0 || road < base) ? road : base;
}

std::string_view carrierKindName(int kind) {
    return kind >= 0 && kind < kCarrierKindCount ? kCarrierNames[kind] : "";
}

uint8_t transportPermission(int terrainIndex, int carrierKind) {
    if (terrainIndex < 0 || terrainIndex >= kFixedTerrainCount) return kTransportNone;
    if (carrierKind < 0 || carrierKind >= kCarrierKindCount) return kTransportNone;
    const RangeList& ranges = kTransportRanges[carrierKind];
    for (size_t i = 0; i < ranges.count; ++i) {
        const Range& r = ranges.begin[i];
        if (terrainIndex >= r.first && terrainIndex <= r.last) return kTransportAllowed;
    }
    return kTransportForbidden;
}

std::string_view transportPermissionText(uint8_t value) {
    switch (value) {
        case kTransportNone: return "－";
        case kTransportAllowed: return "○";
        case kTransportForbidden: return "×";
        default: return "";
    }
}

}  // namespace kv
