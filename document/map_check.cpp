// The map check: the map-wide steps (factions, capitals, buildings and borderlines,
// evacuation targets, troops of factions not taking part, victory conditions) and the order
// in which all steps run.
#include "document/map_check.h"

#include "document/map_check_context.h"
#include "document/troop_capacity.h"
#include "gamedata/organisation.h"

namespace kv {

namespace check {

namespace {

constexpr int kOwners = 8;  // 0 neutral, 1..6 slot + 1, 7 the special colour
constexpr uint8_t kHeadquartersType = static_cast<uint8_t>(WeaponType::Headquarters);
constexpr int kBuildingVictory = 0, kTroopVictory = 1, kTransportVictory = 2;

// What one pass over the hexes and troops counts (step 2) and which owners hold a
// victory-condition label (step 5).
struct MapCounts {
    std::array<int, kOwners> capitals{};
    std::array<int, kOwners> buildings{};
    std::array<int, kOwners> territoryHexes{};
    std::array<int, kFactionCount> headquarters{};
    std::array<bool, kOwners> victoryLabelOwner{};
};

void checkParticipation(Context& c) {
    int taking = 0, users = 0;
    for (int f = 0; f < kFactionCount; ++f) {
        if (c.takesPart(f)) ++taking;
        if (c.isUser(f)) ++users;
    }
    if (taking == 0) c.plain(problem::kNoFactionTakesPart);
    if (taking == 1) c.plain(problem::kOneFactionTakesPart);
    if (users == 0) c.plain(problem::kNoUserFaction);
}

MapCounts countMap(const Context& c) {
    MapCounts n;
    const HexArea a = c.doc.area();
    const HexCell* const cells = c.doc.mapGrid.cells.data();
    for (int i = 0, hexes = a.hexCount(); i < hexes; ++i) {
        const HexCell& cell = cells[i];
        const TerrainCategory cat = c.category(cell);
        const int owner = cell.owner < kOwners ? cell.owner : 0;
        if (cat == TerrainCategory::Capital) ++n.capitals[size_t(owner)];
        if (cat > TerrainCategory::Capital) ++n.buildings[size_t(owner)];
        if (cell.territory < kOwners) ++n.territoryHexes[cell.territory];
    }
    for (int f = 0; f < kFactionCount; ++f)
        for (const TroopRecord& t : c.doc.troops.records[size_t(f)])
            if (t.inUse() && c.db.weapon(t.weaponId()).weaponType() == kHeadquartersType)
                ++n.headquarters[size_t(f)];
    for (const TerrainLabel& l : c.doc.mapGrid.labels) {
        if (!l.inUse() || l.kind == 0) continue;
        if (const HexCell* cell = c.doc.cellAt(l.col, l.row))
            if (cell->owner < kOwners) n.victoryLabelOwner[cell->owner] = true;
    }
    return n;
}

void checkCapitals(Context& c, const MapCounts& n) {
    if (n.capitals[0] > 0) {
        c.add({.code = problem::kNeutralCapital,
               .subject = 0,
               .detail = static_cast<uint32_t>(n.capitals[0]),
               .text = formatMapProblem(problem::kNeutralCapital, n.capitals[0])});
    }
    for (int j = 0; j < kFactionCount; ++j) {
        const size_t owner = size_t(j) + 1;
        if (c.takesPart(j)) {
            if (n.capitals[owner] == 0 && n.headquarters[size_t(j)] == 0)
                c.faction(problem::kNoCapital, j);
            else if (n.capitals[owner] > 1)
                c.faction(problem::kTooManyCapitals, j, n.capitals[owner]);
        } else if (n.capitals[owner] > 0) {
            c.faction(problem::kAbsentFactionCapital, j, n.capitals[owner]);
        } else if (n.buildings[owner] > 0) {
            c.faction(problem::kAbsentFactionBuildings, j, n.buildings[owner]);
        } else if (n.territoryHexes[owner] > 0) {
            c.faction(problem::kAbsentFactionBorderline, j);
        }
    }
}

void checkEvacuationTargets(Context& c) {
    for (int t = 0; t < 2; ++t) {
        const EvacuationTargets& e = c.doc.evacuationTargets;
        if (e.enabled(t) && !c.doc.contains(e.col(t), e.row(t)))
            c.hex(problem::kEvacuationOffMap, e.col(t), e.row(t));
    }
}

void checkAbsentFactionTroops(Context& c) {
    for (int f = 0; f < kFactionCount; ++f) {
        if (c.takesPart(f)) continue;
        int inUse = 0;
        for (const TroopRecord& t : c.doc.troops.records[size_t(f)])
            if (t.inUse()) ++inUse;
        if (inUse > 0) c.faction(problem::kAbsentFactionTroops, f, inUse);
    }
}

bool enemyHasVictoryBuilding(const Context& c, const MapCounts& n, int f) {
    if (n.victoryLabelOwner[0]) return true;
    for (int g = 0; g < kFactionCount; ++g)
        if (!c.allied(f, g) && n.victoryLabelOwner[size_t(g) + 1]) return true;
    return false;
}

bool enemyHasVictoryTroop(const Context& c, int f) {
    for (int g = 0; g < kFactionCount; ++g) {
        if (c.allied(f, g) || !c.takesPart(g)) continue;
        for (const TroopRecord& t : c.doc.troops.records[size_t(g)])
            if (t.inUse() && hasAnnihilationCondition(t)) return true;
    }
    return false;
}

bool hasTransportTroop(const Context& c, int f) {
    for (const TroopRecord& t : c.doc.troops.records[size_t(f)])
        if (t.inUse() && hasTransportCondition(t)) return true;
    return false;
}

void checkVictoryConditions(Context& c, const MapCounts& n) {
    for (int f = 0; f < kFactionCount; ++f) {
        if (!c.takesPart(f)) continue;
        const FactionRecord& r = c.doc.factions[size_t(f)];
        if (r.victory(kBuildingVictory) != 0 && !enemyHasVictoryBuilding(c, n, f))
            c.faction(problem::kNoVictoryBuilding, f);
        if (r.victory(kTroopVictory) != 0 && !enemyHasVictoryTroop(c, f))
            c.faction(problem::kNoVictoryTroop, f);
        if (r.victory(kTransportVictory) != 0 && !hasTransportTroop(c, f))
            c.faction(problem::kNoTransportTroop, f);
    }
}

}  // namespace

Context::Context(const MapDocument& document, std::vector<MapProblem>& problems)
    : doc(document), db(document.gameDatabase), out(problems) {
    for (size_t i = 0; i < categories_.size(); ++i) categories_[i] = db.terrain(i).category;
}

bool Context::allied(int slot, int other) const {
    if (slot == other) return true;
    if (slot < 0 || slot >= kFactionCount || other < 0 || other >= kFactionCount) return false;
    return (doc.factions[size_t(slot)].alliances() >> other & 1) != 0;
}

bool Context::alliedWithUser(int slot) const {
    for (int u = 0; u < kFactionCount; ++u)
        if (u != slot && isUser(u) && allied(slot, u)) return true;
    return false;
}

int Context::moveCost(int col, int row, int movementType) const {
    const HexCell* cell = doc.cellAt(col, row);
    if (!cell) return 0;
    return db.hexMoveCost({cell->terrain, cell->roadLinks, cell->river, cell->tempBridge},
                          movementType);
}

std::string Context::factionName(int slot) {
    return std::string(colourName(slot));
}

std::string Context::regimentText(int regiment) {
    if (regiment >= 0 && regiment < static_cast<int>(kRegimentCount))
        return "第" + std::to_string(regiment + 1) + "連隊";
    return "師団直属";
}

std::string Context::divisionText(int division) {
    return std::string(divisionKindName(static_cast<size_t>(division)));
}

void Context::plain(uint16_t code) {
    add({.code = code, .text = formatMapProblem(code)});
}

void Context::faction(uint16_t code, int slot, int count) {
    add({.code = code,
         .subject = slot,
         .detail = static_cast<uint32_t>(count),
         .text = formatMapProblem(code, factionName(slot).c_str(), count)});
}

void Context::troop(uint16_t code, int table, int slot) {
    const TroopRecord* t = doc.troopAt(table, slot);
    const int col = t ? t->col() : 0, row = t ? t->row() : 0;
    add({.code = code,
         .subject = table,
         .detail = static_cast<uint32_t>(slot),
         .text = formatMapProblem(code, factionName(table % TroopTable::kSecondSet).c_str(),
                                  slot + 1, col, row),
         .col = col,
         .row = row,
         .table = table,
         .slot = slot});
}

void Context::hex(uint16_t code, int col, int row) {
    add({.code = code,
         .subject = col,
         .detail = static_cast<uint32_t>(row),
         .text = formatMapProblem(code, col, row),
         .col = col,
         .row = row});
}

void Context::organisation(uint16_t code, int slot, int division, int regiment, int troopSlot) {
    MapProblem p{
        .code = code,
        .subject = slot,
        .detail = static_cast<uint32_t>(regiment) << 16 | static_cast<uint32_t>(division),
        .text = formatMapProblem(code, factionName(slot).c_str(), divisionText(division).c_str(),
                                 regimentText(regiment).c_str())};
    if (const TroopRecord* t = troopSlot >= 0 ? doc.troopAt(slot, troopSlot) : nullptr) {
        p.col = t->col();
        p.row = t->row();
        p.table = slot;
        p.slot = troopSlot;
    }
    add(std::move(p));
}

}  // namespace check

std::vector<MapProblem> checkMap(const MapDocument& doc) {
    std::vector<MapProblem> problems;
    check::Context c(doc, problems);
    check::checkParticipation(c);                        // step 1
    const check::MapCounts counts = check::countMap(c);  // steps 2 and 5
    check::checkCapitals(c, counts);                     // steps 3 and 4
    check::checkEvacuationTargets(c);                    // step 6
    for (int f = 0; f < kFactionCount; ++f)
        if (c.takesPart(f)) check::checkTroops(c, f);  // step 7
    for (int f = 0; f < kFactionCount; ++f)
        if (c.takesPart(f)) check::checkOrganisation(c, f);  // step 8
    check::checkAbsentFactionTroops(c);                      // step 9
    check::checkCapacities(c);                               // step 10
    check::checkVictoryConditions(c, counts);                // step 11
    return problems;
}

}  // namespace kv
