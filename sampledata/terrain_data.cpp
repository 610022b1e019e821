// The bundled terrain table. Indices 0..53 carry the meanings the editor's rules rely on
// (rivers, road, bridges, waters, capital and city, airports, ports); see README.md.
#include "sampledata/terrain_data.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "framework/cp932.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "gamedata/terrain.h"

namespace kv::sample {

namespace {

// Flag letters of the table below.
enum : uint16_t {
    C = kTerrainConcealment,
    V = kTerrainVtolLanding,
    H = kTerrainHeliLanding,
    A = kTerrainAirborne,
    B = kTerrainBridging,
    R = kTerrainRoadFacility,
    L = kTerrainLandMines,
    S = kTerrainSeaMines,
};

// Evasion by movement group: high air, low air, the eight ground types, the three surface
// ship types, submarines.
struct Evasion {
    uint8_t high, low, ground, sea, sub;
};

struct Row {
    const char* name;  // UTF-8; null for a placeholder line
    uint8_t order;
    TerrainCategory category;
    uint8_t move[kMovementTypeCount];
    Evasion evasion;
    uint8_t destroy, capture;
    uint8_t fuel, ammo, replenish, repair;  // 6-bit masks
    uint8_t sight[3];
    uint8_t capacity;
    uint16_t income, colour, picture, flags;
};

using TC = TerrainCategory;

// Movement columns: 高空 低空 | キャタピラA-D | 車両A-C | 歩兵A | 海上A-C | 海中A.
#define GROUND(ta, tb, tc, td, va, vb, vc, inf) \
    { 1, 1, ta, tb, tc, td, va, vb, vc, inf, 0, 0, 0, 0 }
#define TOWN \
    { 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0 }

// clang-format off
const Row kRows[] = {
    // 0..13: base terrain
    {"空白", 29, TC::Basic, {}, {}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 0, 0, 0},
    {"平地", 1, TC::Basic, GROUND(1, 1, 1, 1, 1, 1, 2, 1),
     {}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 1, 1, V | H | A | L},
    {"森林", 5, TC::Basic, GROUND(2, 2, 3, 3, 3, 4, 0, 2),
     {0, 10, 30, 0, 0}, 10, 0, 0, 0, 0, 0, {}, 0, 0, 2, 2, C | L},
    {"林", 4, TC::Basic, GROUND(1, 2, 2, 2, 2, 3, 4, 1),
     {0, 5, 15, 0, 0}, 5, 0, 0, 0, 0, 0, {}, 0, 0, 3, 3, C | H | L},
    {"丘陵", 7, TC::Basic, GROUND(2, 2, 3, 3, 2, 3, 4, 2),
     {0, 10, 20, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 4, 4, H | L},
    {"山地", 8, TC::Basic, {1, 2, 4, 5, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0},
     {0, 20, 40, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 5, 5, C | L},
    {"草原", 2, TC::Basic, GROUND(1, 1, 1, 1, 1, 1, 2, 1),
     {0, 0, 5, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 6, 6, V | H | A | L},
    {"農地", 3, TC::Basic, GROUND(1, 1, 2, 2, 2, 2, 3, 1),
     {0, 0, 5, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 7, 7, V | H | A | L},
    {"荒地", 12, TC::Wasteland, GROUND(2, 2, 2, 2, 2, 3, 4, 2),
     {0, 0, 10, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 8, 8, H | L},
    {"岩石地帯", 11, TC::Wasteland, GROUND(3, 3, 4, 4, 3, 4, 0, 2),
     {0, 5, 25, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 9, 9, C | L},
    {"泥地", 14, TC::Basic, GROUND(3, 3, 4, 2, 4, 5, 0, 2),
     {}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 10, 10, L},
    {"湿地", 15, TC::Basic, GROUND(4, 4, 0, 2, 0, 0, 0, 3),
     {0, 0, 5, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 11, 11, L},
    {"高山", 9, TC::Basic, {1, 3, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0},
     {0, 30, 50, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 12, 12, C},
    {"砂漠", 16, TC::Basic, GROUND(2, 2, 2, 2, 2, 3, 4, 2),
     {}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 13, 13, V | H | A | L},
    // 14, 15: river overlays (river variants 0 and 1); small craft can use them
    {"河川", 31, TC::River, {1, 1, 3, 4, 5, 2, 0, 0, 0, 3, 2, 0, 0, 0},
     {0, 0, 0, 5, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 14, 14, B},
    {"深い河", 32, TC::DeepRiver, {1, 1, 0, 0, 0, 3, 0, 0, 0, 0, 1, 2, 0, 0},
     {0, 0, 0, 5, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 15, 15, B},
    {"断崖", 10, TC::Basic, {1, 2, 0, 0, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0},
     {0, 20, 40, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 16, 16, 0},
    // 17..25: snow and ice, with the pillbox and two rough kinds between them
    {"雪原", 18, TC::SnowField, GROUND(2, 2, 3, 3, 3, 4, 5, 2),
     {}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 17, 17, V | H | A | L},
    {"雪林", 20, TC::SnowField, GROUND(3, 3, 4, 4, 4, 5, 0, 3),
     {0, 10, 25, 0, 0}, 10, 0, 0, 0, 0, 0, {}, 0, 0, 18, 18, C | L},
    {"凍土", 19, TC::SnowField, GROUND(2, 2, 2, 2, 2, 3, 3, 2),
     {0, 0, 5, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 19, 19, V | H | A | L},
    {"雪山", 21, TC::SnowField, {1, 2, 5, 6, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0},
     {0, 20, 40, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 20, 20, C},
    {"廃墟", 13, TC::Wasteland, GROUND(2, 2, 3, 3, 3, 3, 4, 1),
     {0, 5, 30, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 21, 21, C | H | L},
    {"トーチカ", 27, TC::Pillbox, GROUND(2, 2, 2, 2, 2, 2, 3, 1),
     {0, 10, 50, 0, 0}, 30, 0, 0, 0, 0, 0, {}, 0, 0, 22, 22, C},
    {"密林", 6, TC::Basic, GROUND(3, 4, 0, 4, 0, 0, 0, 3),
     {0, 15, 35, 0, 0}, 10, 0, 0, 0, 0, 0, {}, 0, 0, 23, 23, C | L},
    {"氷河", 23, TC::SnowField, {1, 2, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0},
     {0, 10, 10, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 24, 24, 0},
    {"氷原", 22, TC::SnowField, GROUND(2, 2, 3, 3, 3, 3, 4, 2),
     {}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 25, 25, V | H | L},
    // 26: river overlay, variant 2
    {"凍結河川", 33, TC::FrozenRiver, GROUND(3, 3, 4, 2, 4, 5, 0, 2),
     {}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 26, 26, 0},
    {"砂丘", 17, TC::Basic, GROUND(3, 3, 4, 3, 4, 5, 0, 3),
     {0, 0, 10, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 27, 27, H | L},
    // 28..30: waters; 30 fills a new map
    {"浅瀬", 24, TC::Shallows, {1, 1, 0, 0, 0, 3, 0, 0, 0, 0, 1, 2, 0, 0},
     {}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 28, 28, S},
    {"海", 25, TC::Sea, {1, 1, 0, 0, 0, 4, 0, 0, 0, 0, 1, 1, 1, 1},
     {0, 0, 0, 10, 20}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 29, 29, S},
    {"外洋", 26, TC::Sea, {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 1, 1},
     {0, 0, 0, 20, 30}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 30, 30, S},
    // 31..49: the nineteen facility types
    {"首都", 40, TC::Capital, TOWN,
     {0, 10, 40, 0, 0}, 60, 30, 0x0E, 0x0E, 0x0E, 0x0E, {3, 3, 2}, 8, 300, 31, 0, C},
    {"大都市", 41, TC::LargeCity, TOWN,
     {0, 10, 30, 0, 0}, 50, 25, 0x0C, 0x0C, 0x0C, 0x0C, {3, 2, 2}, 6, 200, 32, 1, C},
    {"中都市", 42, TC::MediumCity, TOWN,
     {0, 5, 25, 0, 0}, 40, 20, 0x0C, 0x0C, 0x08, 0, {2, 2, 1}, 4, 120, 33, 2, C},
    {"小都市", 43, TC::SmallCity, TOWN,
     {0, 5, 20, 0, 0}, 30, 15, 0x0C, 0, 0x08, 0, {2, 2, 1}, 2, 60, 34, 3, C},
    {"空港", 44, TC::Airport, TOWN,
     {0, 0, 10, 0, 0}, 40, 20, 0x03, 0x03, 0x03, 0x03, {3, 3, 1}, 10, 80, 35, 4, 0},
    {"飛行場", 45, TC::Airport, TOWN,
     {0, 0, 5, 0, 0}, 30, 15, 0x03, 0x03, 0x01, 0x01, {3, 2, 1}, 6, 40, 36, 5, 0},
    {"工場", 48, TC::Factory, TOWN,
     {0, 5, 20, 0, 0}, 40, 20, 0, 0, 0, 0x0C, {1, 1, 1}, 2, 150, 37, 6, 0},
    {"基地", 50, TC::Base, TOWN,
     {0, 10, 30, 0, 0}, 50, 25, 0x0E, 0x0E, 0x0E, 0x0E, {3, 2, 2}, 8, 50, 38, 7, 0},
    // ports: four pictures each (default picture and the three after it)
    {"港", 46, TC::Port, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
     {0, 0, 10, 10, 0}, 40, 20, 0x30, 0x30, 0x10, 0x10, {2, 2, 2}, 8, 80, 39, 10, S},
    {"軍港", 47, TC::Port, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
     {0, 5, 20, 15, 10}, 50, 25, 0x38, 0x38, 0x30, 0x30, {3, 2, 3}, 10, 60, 40, 14, S},
    {"油田", 54, TC::OilField, GROUND(2, 2, 2, 2, 2, 2, 2, 1),
     {}, 20, 15, 0x3F, 0, 0, 0, {1, 1, 1}, 0, 200, 41, 8, 0},
    {"原子力発電所", 55, TC::NuclearPlant, TOWN,
     {0, 0, 10, 0, 0}, 70, 30, 0, 0, 0, 0, {1, 1, 1}, 0, 250, 42, 9, 0},
    {"ヘリポート", 51, TC::Base, TOWN,
     {0, 0, 10, 0, 0}, 30, 15, 0x02, 0x02, 0x02, 0x02, {2, 2, 1}, 4, 30, 43, 18, 0},
    {"ミサイル基地", 52, TC::MissileBase, TOWN,
     {0, 10, 30, 0, 0}, 50, 25, 0, 0, 0, 0, {4, 4, 2}, 0, 0, 44, 19, 0},
    {"兵器工場", 49, TC::WeaponsFactory, TOWN,
     {0, 5, 20, 0, 0}, 50, 25, 0, 0x0C, 0x0C, 0x0E, {1, 1, 1}, 3, 100, 45, 20, 0},
    {"要塞", 53, TC::Fortress, GROUND(2, 2, 2, 2, 2, 2, 3, 1),
     {0, 20, 60, 0, 0}, 80, 40, 0, 0x0C, 0x08, 0, {4, 3, 2}, 6, 0, 46, 21, C},
    {"ダム", 56, TC::Dam, TOWN, {0, 0, 10, 0, 0}, 60, 20, 0, 0, 0, 0, {2, 2, 1}, 0, 100, 47, 22, R},
    {"トンネル", 57, TC::Tunnel, TOWN,
     {0, 0, 30, 0, 0}, 40, 20, 0, 0, 0, 0, {1, 1, 0}, 4, 0, 48, 23, C | R},
    {"橋", 58, TC::Bridge, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0},
     {}, 30, 10, 0, 0, 0, 0, {1, 1, 1}, 0, 0, 49, 24, R},
    // 50: reserved; maps of earlier editions that use it are converted to plain land
    {nullptr, 0, TC::Basic, {}, {}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 0, 0, 0},
    {"市街地", 28, TC::Building, GROUND(1, 1, 1, 1, 1, 1, 2, 1),
     {0, 5, 20, 0, 0}, 20, 0, 0, 0, 0, 0, {}, 0, 0, 51, 25, C | H | L},
    // 52, 53: the road overlay and the temporary bridge
    {"道路", 30, TC::Road, TOWN, {}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 52, 31, V | H | R},
    {"仮設橋", 34, TC::TempBridge, GROUND(1, 1, 2, 1, 1, 1, 2, 1),
     {}, 5, 0, 0, 0, 0, 0, {}, 0, 0, 53, 32, R},
    // free indices
    {"砂浜", 59, TC::Basic, GROUND(2, 2, 2, 1, 2, 3, 4, 1),
     {}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 54, 33, H | L},
    {"火山", 60, TC::Basic, {1, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     {0, 30, 0, 0, 0}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 55, 34, 0},
};
// clang-format on

#undef GROUND
#undef TOWN

constexpr const char* kMarkSet = "○";
constexpr const char* kMarkClear = "×";

void addNumber(std::string& line, unsigned value) {
    line += ',';
    line += std::to_string(value);
}

void addMark(std::string& line, bool set) {
    line += ',';
    line += set ? kMarkSet : kMarkClear;
}

void addMask(std::string& line, unsigned mask) {
    for (unsigned i = 0; i < 6; ++i) addMark(line, (mask >> i) & 1u);
}

// The column titles; the leading comma leaves the first field empty, so readers skip it.
std::string headerLine() {
    std::string line = ",並び順,分類";
    for (int m = 0; m < kMovementTypeCount; ++m) (line += ",移動") += movementTypeName(m);
    for (int m = 0; m < kMovementTypeCount; ++m) (line += ",回避") += movementTypeName(m);
    line += ",破壊耐久度,予備,占領耐久度";
    for (const char* group : {"燃料補給", "弾薬補給", "補充", "修理", "予備"})
        for (int i = 1; i <= 6; ++i) ((line += ',') += group) += std::to_string(i);
    line += ",視界1,視界2,視界3,収容,収入,概況色,画像";
    line += ",隠蔽,予備,VTOL着陸,ヘリ着陸,空挺,架橋,道路施設,地雷,機雷";
    return line;
}

std::string dataLine(const Row& r) {
    if (!r.name) return "（予備）,,";  // an empty second field keeps the index free
    std::string line = r.name;
    addNumber(line, r.order);
    (line += ',') += terrainCategoryName(static_cast<int>(r.category));
    for (uint8_t cost : r.move) addNumber(line, cost);
    for (int m = 0; m < kMovementTypeCount; ++m) {
        const Evasion& e = r.evasion;
        addNumber(line, m == 0   ? e.high
                        : m == 1 ? e.low
                        : m < 10 ? e.ground
                        : m < 13 ? e.sea
                                 : e.sub);
    }
    addNumber(line, r.destroy);
    addNumber(line, 0);  // kept by readers, unused
    addNumber(line, r.capture);
    addMask(line, r.fuel);
    addMask(line, r.ammo);
    addMask(line, r.replenish);
    addMask(line, r.repair);
    addMask(line, 0);
    for (uint8_t s : r.sight) addNumber(line, s);
    addNumber(line, r.capacity);
    addNumber(line, r.income);
    addNumber(line, r.colour);
    addNumber(line, r.picture);
    for (uint16_t bit : {kTerrainConcealment, kTerrainFlag02, kTerrainVtolLanding,
                         kTerrainHeliLanding, kTerrainAirborne, kTerrainBridging,
                         kTerrainRoadFacility, kTerrainLandMines, kTerrainSeaMines})
        addMark(line, (r.flags & bit) != 0);
    return line;
}

}  // namespace

std::string terrainDataBytes() {
    std::string text = "; 地形データ: 一行に一種類、行の順番が地形番号 (0から)\r\n";
    text += headerLine() + "\r\n";
    for (const Row& r : kRows) text += dataLine(r) + "\r\n";
    return encodeCp932(text).value_or(std::string());
}

std::string writeTerrainData(const std::string& root) {
    const std::string bytes = terrainDataBytes();
    if (bytes.empty()) return "land.dat: the terrain names have no CP932 form";
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    if (ec) return root + ": " + ec.message();
    const std::string path = root + "/land.dat";
    try {
        writeFileAtomically(path, bytes);
    } catch (const swCError& e) {
        return path + ": " + e.text();
    }
    return {};
}

}  // namespace kv::sample
