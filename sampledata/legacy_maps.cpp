// The example maps of the earlier editions: one river valley between a coast and the hills,
// drawn once in the current terrain numbering and written in each old format.
#include "sampledata/legacy_maps.h"

#include <filesystem>
#include <system_error>

#include "document/hex_geometry.h"
#include "framework/cp932.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "gamedata/rule_set.h"
#include "gamedata/terrain.h"
#include "sampledata/terrain_data.h"

namespace kv::sample {

namespace {

constexpr int kWidth = 20, kHeight = 14;
constexpr int kRiverCol = 12, kRoadRow = 7;
constexpr HexPos kBridge{kRiverCol, kRoadRow};

// Weapons of the sample arsenal.
constexpr uint16_t kFighter = 110, kDrone = 185, kTank = 1000, kHeavyTank = 1010, kIfv = 1020,
                   kInfantry = 1220, kDestroyer = 2040;

std::string sjis(const char* utf8) {
    return encodeCp932(utf8).value_or(std::string());
}

// The valley in current terrain ids; owners and territories as old faction + 1.
struct Place {
    HexPos at;
    uint8_t terrain;
    uint8_t owner;
};
constexpr Place kPlaces[] = {
    {{4, 6}, 39, 1},  {{7, 4}, 31, 1},   {{8, 6}, 35, 1},   {{17, 4}, 31, 2},
    {{15, 9}, 33, 0}, {{10, 11}, 31, 3}, {{18, 12}, 32, 7}, {kBridge, kTerrainBridge, 0},
};

uint8_t groundAt(int col, int row) {
    if (col <= 2) return 29;                            // sea
    if (col == 3) return 28;                            // shallows
    if (col >= 5 && col <= 7 && row >= 9) return 2;     // forest
    if (col >= 14 && col <= 16 && row >= 11) return 4;  // hills
    if (col >= 17 && row <= 2) return 5;                // mountains
    return kTerrainPlain;
}

uint8_t territoryAt(int col, int row) {
    if (row <= 6 && col >= 4 && col <= 11) return 1;
    if (row <= 6 && col >= 13) return 2;
    if (row >= 9 && col >= 6 && col <= 11) return 3;
    return 0;
}

// Links between each hex of a path and the next, both ways.
void link(std::vector<HexCell>& cells, const std::vector<HexPos>& path, uint8_t HexCell::*mask) {
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        const int d = directionTo(path[i], path[i + 1]);
        if (d < 0) continue;
        cells[size_t(path[i].col + path[i].row * kWidth)].*mask |= static_cast<uint8_t>(1 << d);
        cells[size_t(path[i + 1].col + path[i + 1].row * kWidth)].*mask |=
            static_cast<uint8_t>(1 << oppositeDirection(d));
    }
}

std::vector<HexCell> valley(const std::vector<TerrainType>& terrain) {
    auto picture = [&](uint8_t t) { return t < terrain.size() ? terrain[t].defaultPicture : 0; };
    std::vector<HexCell> cells(size_t(kWidth * kHeight));
    for (int row = 0; row < kHeight; ++row)
        for (int col = 0; col < kWidth; ++col) {
            HexCell& c = cells[size_t(col + row * kWidth)];
            c.terrain = groundAt(col, row);
            c.picture = picture(c.terrain);
            c.territory = territoryAt(col, row);
        }
    std::vector<HexPos> river, road;
    for (int row = 0; row < kHeight; ++row) river.push_back({kRiverCol, row});
    for (int col = 5; col < kWidth - 1; ++col) road.push_back({col, kRoadRow});
    link(cells, river, &HexCell::river);
    link(cells, road, &HexCell::roadLinks);
    for (const Place& p : kPlaces) {
        HexCell& c = cells[size_t(p.at.col + p.at.row * kWidth)];
        c.terrain = p.terrain;
        c.picture = picture(p.terrain);
        c.owner = p.owner;
    }
    // The bridge carries the road over the river: its own links go, the neighbours keep theirs.
    HexCell& bridge = cells[size_t(kBridge.col + kBridge.row * kWidth)];
    bridge.river = 0;
    bridge.roadLinks = 0;
    bridge.bridgePiece = 1;
    return cells;
}

// The real-time edition numbers its terrain differently and draws ports and bridges by their
// picture numbers.
void toRealTime(std::vector<HexCell>& cells) {
    for (HexCell& c : cells) {
        int old = -1;
        for (size_t i = 0; i < std::size(legacy::rt::kTerrain) && old < 0; ++i)
            if (legacy::rt::kTerrain[i] == c.terrain) old = static_cast<int>(i);
        if (c.terrain == kTerrainBridge) c.picture = static_cast<uint16_t>(16 + c.bridgePiece);
        if (c.terrain == 39) c.picture = 6;
        // Mountains have no counterpart there; its high mountains stand in.
        if (c.terrain == 5) old = 9;
        c.terrain = static_cast<uint8_t>(old < 0 ? 1 : old);
    }
}

// The earlier edition draws rivers as terrain with the links in byte 5.
void toEarlier(std::vector<HexCell>& cells, const std::vector<TerrainType>& terrain) {
    for (HexCell& c : cells)
        if (c.riverLinks() != 0 && c.terrain == kTerrainPlain) {
            c.terrain = kTerrainRiver;
            c.picture = terrain.size() > kTerrainRiver ? terrain[kTerrainRiver].defaultPicture : 0;
        }
}

LegacyFaction faction(const char* name, uint8_t participation, uint8_t productionType,
                      int32_t funds) {
    LegacyFaction f;
    f.name = sjis(name);
    f.participation = participation;
    f.productionType = productionType;
    f.funds = funds;
    f.productionCountLimit = 150;
    return f;
}

LegacyTroop troop(uint16_t weapon, int col, int row, const char* name) {
    LegacyTroop t;
    t.weaponId = weapon;
    t.col = static_cast<uint8_t>(col);
    t.row = static_cast<uint8_t>(row);
    t.name = sjis(name);
    return t;
}

void placeTroop(LegacyMap& m, int faction, int slot, const LegacyTroop& t) {
    auto& table = m.troops[size_t(faction)];
    if (table.size() <= size_t(slot)) table.resize(size_t(slot) + 1, LegacyTroop{.turn = 0});
    table[size_t(slot)] = t;
}

void addTroops(LegacyMap& m) {
    placeTroop(m, 0, 0, troop(kFighter, 8, 6, "第1航空隊"));
    placeTroop(m, 0, 66, troop(kTank, 8, 5, "第1戦車隊"));
    LegacyTroop ifv = troop(kIfv, 9, 5, "第1機械化歩兵");
    ifv.cargo[0] = 69;  // the infantry in slot 68
    placeTroop(m, 0, 67, ifv);
    LegacyTroop infantry = troop(kInfantry, 9, 5, "第1歩兵");
    infantry.flags = 0x0002;
    infantry.carrierSlotPlusOne = 68;
    infantry.carrierFactionPlusOne = 1;
    placeTroop(m, 0, 68, infantry);
    placeTroop(m, 1, 132, troop(kDestroyer, 1, 6, "北方艦隊"));
    placeTroop(m, 1, 66, troop(kHeavyTank, 16, 5, "北方戦車隊"));
    placeTroop(m, 2, 66, troop(kInfantry, 10, 10, "山岳歩兵"));
    if (m.kind == legacy::kDeluxe) placeTroop(m, 1, 1, troop(kDrone, 15, 3, "標的機"));
    if (m.kind == legacy::kModern) placeTroop(m, 6, 66, troop(kTank, 18, 11, "東方戦車隊"));
}

void addFactions(LegacyMap& m) {
    m.factions = {faction("アルデナ共和国", 1, 1, 80000),
                  faction("北ローレン連邦", 2, 2, 60000),
                  faction("セルヴィア王国", 2, 3, 40000),
                  faction("予備", 0, 0, 0),
                  faction("予備", 0, 0, 0),
                  faction("予備", 0, 0, 0)};
    m.factions[1].alliances = 0x04;
    m.factions[2].alliances = 0x02;
    m.factions[2].productionCountLimit = 0;
    if (m.kind == legacy::kModern) {
        // A seventh faction moves into the first free slot.
        m.factions.push_back(faction("東方同盟", 2, 4, 30000));
        m.factions.push_back(faction("予備", 0, 0, 0));
    }
}

void addLabels(LegacyMap& m) {
    const struct {
        HexPos at;
        const char* text;
        uint8_t kind;
    } labels[] = {{{4, 6}, "港町", 0},
                  {{7, 4}, "首都アルデナ", 1},
                  {kBridge, "大橋", 0},
                  {{17, 1}, "北部山地", 0},
                  {{10, 8}, "中央平原", 0}};
    for (const auto& l : labels) m.labels.push_back({sjis(l.text), l.at.col, l.at.row, l.kind, 0});
}

void addScenario(LegacyMap& m) {
    const char* texts[9] = {"河畔の戦い",
                            "演習シナリオ",
                            "大河をはさんで両国の軍が対峙している。",
                            "作戦名：渡河",
                            "大橋を確保し、敵首都へ進撃せよ。",
                            "敵首都の占領",
                            "アルデナ共和国 対 北ローレン連邦・セルヴィア王国",
                            "作戦終了",
                            "大河の戦いは終わった。"};
    for (size_t i = 0; i < 9; ++i) m.texts[i] = sjis(texts[i]);
    const struct {
        const char* name;
        std::vector<int> weapons;
    } lists[] = {{"アルデナ共和国", {kFighter, kTank, kIfv, kInfantry}},
                 {"北ローレン連邦", {kDestroyer, kHeavyTank}},
                 {"セルヴィア王国", {kInfantry}}};
    for (const auto& l : lists) m.productionLists.push_back({sjis(l.name), 0, l.weapons});
}

std::array<uint8_t, 51> sampleRuleValues(const std::string& root) {
    const std::optional<std::string> file = readWholeFile(root + "/rule/class0.rul", 1 << 20);
    const RuleSet rules = parseRuleFile(file.value_or(std::string()), 0);
    return rules.values;
}

const char* fileNameOf(int kind) {
    switch (kind) {
        case legacy::kRealTime: return "realtime.wtm";
        case legacy::kEarlier: return "earlier.qus";
        case legacy::kDeluxe: return "deluxe.bxs";
        default: return "modern.fws";
    }
}

}  // namespace

LegacyMap legacyExampleMap(int kind) {
    const std::vector<TerrainType> terrain = parseTerrainTable(terrainDataBytes());
    LegacyMap m;
    m.kind = kind;
    m.version = legacy::lastVersion(kind);
    m.name = sjis("大河の谷");
    m.message = sjis("河を越えて敵の首都を目指せ。");
    m.width = kWidth;
    m.height = kHeight;
    m.turnLimit = 30;
    m.difficulty = 2;
    m.buildingIncome = 1;
    m.cells = valley(terrain);
    addFactions(m);
    addLabels(m);
    if (kind == legacy::kRealTime) {
        toRealTime(m.cells);
        return m;
    }
    if (kind == legacy::kEarlier) toEarlier(m.cells, terrain);
    addTroops(m);
    addScenario(m);
    return m;
}

std::string writeLegacyMaps(const std::string& root) {
    const std::filesystem::path folder = std::filesystem::path(root) / "map" / "legacy";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return folder.string() + ": " + ec.message();
    const std::array<uint8_t, 51> rules = sampleRuleValues(root);
    for (int kind = legacy::kRealTime; kind <= legacy::kModern; ++kind) {
        LegacyMap m = legacyExampleMap(kind);
        m.ruleValues = rules;
        const std::string path = (folder / fileNameOf(kind)).string();
        try {
            writeFileAtomically(path, legacyMapBytes(m));
        } catch (const swCError& e) {
            return path + ": " + e.text();
        }
    }
    return {};
}

}  // namespace kv::sample
