// The map check's troop steps: where each troop of a faction taking part stands, whether
// its carrier and its transport destination are sound, and the carrying and stowing
// capacities.
#include <algorithm>
#include <utility>

#include "document/map_check_context.h"
#include "document/troop_capacity.h"
#include "document/troop_slots.h"

namespace kv::check {

namespace {

constexpr uint8_t kGroundLayer = static_cast<uint8_t>(AltitudeLayer::Ground);
// Target classes whose transport destination must be a hex they can enter: helicopters,
// ships and submarines.
constexpr int kHelicopterClass = 2, kShipClass = 4, kSubmarineClass = 5;

bool carrierListsTroop(const MapDocument& doc, int table, int slot, const TroopRecord& t) {
    const int carrierTable = t.carrierTablePlusOne() - 1;
    const TroopRecord* carrier = doc.troopAt(carrierTable, t.carrierSlotPlusOne() - 1);
    // Cargo entries name slots of the carrier's own table.
    if (!carrier || !carrier->inUse() || carrierTable != table) return false;
    for (int i = 0; i < TroopRecord::kCargoEntries; ++i)
        if (carrier->cargoEntry(i) == slot + 1) return true;
    return false;
}

// The troop is the one its hex's stack holds at its position. A gathered troop also counts
// when its regiment's representative holds the position: the members of a gathered
// regiment share their commander's hex.
bool standsInStack(const MapDocument& doc, int table, int slot, const TroopRecord& t) {
    const HexOverlay* o = doc.overlayAt(t.col(), t.row());
    if (!o) return false;
    const int p = doc.stackPositionFor(t);
    if (o->stackTable[p] != table + 1) return false;
    if (o->stackSlot[p] == slot) return true;
    const int regiment = slots::regimentOf(slot);
    const bool sameRegiment = regiment >= 0 && regiment != slots::kDirectGroup &&
                              slots::divisionOf(slot) == slots::divisionOf(o->stackSlot[p]) &&
                              regiment == slots::regimentOf(o->stackSlot[p]);
    return t.hasFlag(kTroopGathered) && sameRegiment;
}

// A ground troop may not stand on a bridge that is destroyed or belongs to a faction it is
// not allied with, nor on a destroyed dam or tunnel.
bool blockedStructure(const Context& c, int faction, const TroopRecord& t, const HexCell& cell) {
    if (c.db.weapon(t.weaponId()).layer() != kGroundLayer) return false;
    const TerrainCategory cat = c.category(cell);
    if (cat == TerrainCategory::Bridge) {
        const bool foreign =
            cell.owner >= 1 && cell.owner <= kFactionCount && !c.allied(faction, cell.owner - 1);
        return cell.destroyed != 0 || foreign;
    }
    return (cat == TerrainCategory::Dam || cat == TerrainCategory::Tunnel) && cell.destroyed != 0;
}

// A troop neither stowed nor loaded. A troop still waiting in the faction's list has no
// place on the map yet and is not looked at.
void checkStanding(Context& c, int f, int slot, const TroopRecord& t) {
    if (t.hasFlag(kTroopUnplaced)) return;
    const HexCell* cell = c.doc.cellAt(t.col(), t.row());
    if (!cell) {
        c.troop(problem::kNotOnMap, f, slot);
        return;
    }
    const WeaponRecord& w = c.db.weapon(t.weaponId());
    const bool passable = c.moveCost(t.col(), t.row(), w.movementType()) != 0;
    if (!passable) c.troop(problem::kImpassableTerrain, f, slot);
    if (t.appearanceTurn() == 1 && !isOutsideStacks(t) && !standsInStack(c.doc, f, slot, t))
        c.troop(problem::kNotOnMap, f, slot);
    if (passable && blockedStructure(c, f, t, *cell)) c.troop(problem::kImpassableTerrain, f, slot);
}

void checkTransportCondition(Context& c, int f, int slot, const TroopRecord& t) {
    if (!hasTransportCondition(t)) return;
    if (!c.isUser(f)) {
        c.troop(c.alliedWithUser(f) ? problem::kAllyTransportCondition
                                    : problem::kEnemyTransportCondition,
                f, slot);
        return;
    }
    const int col = destinationCol(t), row = destinationRow(t);
    const HexCell* dest = c.doc.cellAt(col, row);
    if (!dest) {
        c.troop(problem::kDestinationOffMap, f, slot);
    } else if (dest->terrain == kTerrainBlank) {
        c.troop(problem::kDestinationBlank, f, slot);
    } else {
        const WeaponRecord& w = c.db.weapon(t.weaponId());
        const int cls = w.targetClass();
        const bool mustEnter =
            cls == kHelicopterClass || cls == kShipClass || cls == kSubmarineClass;
        if (mustEnter && c.moveCost(col, row, w.movementType()) == 0)
            c.troop(problem::kDestinationImpassable, f, slot);
    }
}

void checkCarriers(Context& c) {
    // The weapons loaded in each carrier, found from the cargo's carrier links.
    std::array<std::array<std::vector<int>, TroopTable::kSlots>, kFactionCount> cargo;
    for (int f = 0; f < kFactionCount; ++f) {
        for (const TroopRecord& t : c.doc.troops.records[size_t(f)]) {
            if (!t.inUse() || !t.hasFlag(kTroopLoaded)) continue;
            const int ct = t.carrierTablePlusOne() - 1, cs = t.carrierSlotPlusOne() - 1;
            if (ct >= 0 && ct < kFactionCount && TroopTable::isSlot(cs))
                cargo[size_t(ct)][size_t(cs)].push_back(t.weaponId());
        }
    }
    for (int f = 0; f < kFactionCount; ++f) {
        for (int s = 0; s < TroopTable::kSlots; ++s) {
            const TroopRecord& carrier = c.doc.troops.records[size_t(f)][size_t(s)];
            const std::vector<int>& load = cargo[size_t(f)][size_t(s)];
            if (load.empty() || !carrier.inUse()) continue;
            if (!carrierHolds(c.db, carrier.weaponId(), load))
                c.troop(problem::kCarrierOverloaded, f, s);
        }
    }
}

void checkStowedHexes(Context& c) {
    // (hex index, appearance turn) of every stowed troop: those that appear together share
    // the building.
    std::vector<std::pair<int, int>> stowed;
    const HexArea a = c.doc.area();
    for (int f = 0; f < kFactionCount; ++f)
        for (const TroopRecord& t : c.doc.troops.records[size_t(f)])
            if (t.inUse() && t.hasFlag(kTroopStowed) && !t.hasFlag(kTroopUnplaced) &&
                c.doc.contains(t.col(), t.row()))
                stowed.emplace_back(a.index({t.col(), t.row()}), t.appearanceTurn());
    std::sort(stowed.begin(), stowed.end());
    int lastReported = -1;
    for (size_t i = 0; i < stowed.size();) {
        size_t j = i;
        while (j < stowed.size() && stowed[j] == stowed[i]) ++j;
        const HexPos h = a.at(stowed[i].first);
        const int capacity = stowingCapacity(c.doc, h.col, h.row);
        // A hex that stows nothing is already reported with each troop stowed there.
        if (capacity > 0 && static_cast<int>(j - i) > capacity && lastReported != stowed[i].first) {
            c.hex(problem::kHexOverstowed, h.col, h.row);
            lastReported = stowed[i].first;
        }
        i = j;
    }
}

}  // namespace

void checkTroops(Context& c, int f) {
    int inUse = 0;
    for (int slot = 0; slot < TroopTable::kSlots; ++slot) {
        const TroopRecord& t = c.doc.troops.records[size_t(f)][size_t(slot)];
        if (!t.inUse()) continue;
        ++inUse;
        if (t.hasFlag(kTroopStowed)) {
            if (!t.hasFlag(kTroopUnplaced) && !canStowAt(c.doc, t.weaponId(), t.col(), t.row()))
                c.troop(problem::kCannotStow, f, slot);
        } else if (t.hasFlag(kTroopLoaded)) {
            if (!carrierListsTroop(c.doc, f, slot, t)) c.troop(problem::kNoCarrier, f, slot);
        } else {
            checkStanding(c, f, slot, t);
        }
        checkTransportCondition(c, f, slot, t);
    }
    if (inUse > TroopTable::kSlots) c.faction(problem::kTooManyTroops, f, inUse);
}

void checkCapacities(Context& c) {
    checkCarriers(c);
    checkStowedHexes(c);
}

}  // namespace kv::check
