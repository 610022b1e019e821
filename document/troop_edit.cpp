// Placing, loading, moving and recalling troops, and the hex questions the troop tools ask.
#include "document/troop_edit.h"

#include <algorithm>

#include "document/edit_operation.h"
#include "document/map_document.h"
#include "document/terrain_rules.h"
#include "document/troop_capacity.h"
#include "document/troop_slots.h"

namespace kv {

namespace {

bool isFactionTable(int table) {
    return table >= 0 && table < kFactionCount;
}

bool isPlaced(const TroopRecord& t) {
    return t.inUse() && !t.hasFlag(kTroopUnplaced);
}

bool isCarrierOf(const TroopRecord& cargo, int table, int slot) {
    return cargo.inUse() && cargo.hasFlag(kTroopLoaded) &&
           cargo.carrierTablePlusOne() == table + 1 && cargo.carrierSlotPlusOne() == slot + 1;
}

// The troops loaded in (table, slot); cargo always belongs to its carrier's table.
std::vector<int> cargoOf(const MapDocument& doc, int table, int slot) {
    std::vector<int> out;
    if (!isFactionTable(table)) return out;
    const auto& records = doc.troops.records[size_t(table)];
    for (int s = 0; s < doc.troops.usedSlots(table); ++s)
        if (s != slot && isCarrierOf(records[size_t(s)], table, slot)) out.push_back(s);
    return out;
}

// The stowed troops of a turn at a hex, one of them left out.
int stowedCount(const MapDocument& doc, int col, int row, int turn, int skipTable, int skipSlot) {
    int n = 0;
    for (int f = 0; f < kFactionCount; ++f) {
        for (int s = 0; s < doc.troops.usedSlots(f); ++s) {
            const TroopRecord& t = doc.troops.records[size_t(f)][size_t(s)];
            if (isPlaced(t) && t.hasFlag(kTroopStowed) && t.appearanceTurn() == turn &&
                t.col() == col && t.row() == row && !(f == skipTable && s == skipSlot))
                ++n;
        }
    }
    return n;
}

bool mayStowExcept(const MapDocument& doc, int weaponId, int col, int row, int skipTable,
                   int skipSlot) {
    if (!canStowAt(doc, weaponId, col, row)) return false;
    return stowedCount(doc, col, row, currentTroopTurn(doc), skipTable, skipSlot) <
           stowingCapacity(doc, col, row);
}

// The stack position of a turn is free on the hex, or held by the troop itself.
bool positionFreeFor(const MapDocument& doc, int col, int row, int position, int turn, int table,
                     int slot) {
    const TroopAtHex h = stackHolderOfTurn(doc, col, row, position, turn);
    return h.table < 0 || (h.table == table && h.slot == slot);
}

// The brush's troop as it would be placed: its table, slot (-1 for a new troop) and weapon;
// false when the brush names nothing that can be placed.
struct BrushTroop {
    int table = -1;
    int slot = -1;
    int weapon = 0;
};

bool brushTroop(const MapDocument& doc, BrushTroop& out) {
    const TroopBrush& b = doc.tool.troopBrush;
    if (!b.valid || !isFactionTable(b.faction)) return false;
    if (doc.tool.editMode == kEditReinforcements && doc.tool.reinforcementTurn < 2) return false;
    out.table = b.faction;
    if (b.fromList) {
        const TroopRecord* t = doc.troopAt(b.faction, b.item);
        if (!t || !t->inUse() || !t->hasFlag(kTroopUnplaced)) return false;
        out.slot = b.item;
        out.weapon = t->weaponId();
        return true;
    }
    // A new troop must be loadable again: its weapon belongs to this product.
    if (!doc.isWeaponInProduct(b.weaponId)) return false;
    out.weapon = b.weaponId;
    return true;
}

// The slot a new troop of the brush takes, or a refusal.
int newTroopSlot(const MapDocument& doc, const BrushTroop& bt) {
    if (troopsInUse(doc, bt.table) >= kMaxTroopsPerFaction) return kTroopFactionFull;
    const int slot = freeOrganisationSlot(doc, bt.table, bt.weapon);
    return slot < 0 ? kTroopDivisionFull : slot;
}

// Fills a free slot with a new troop of the brush, forming its regiment when it is the first.
void makeNewTroop(MapDocument& doc, int table, int slot, int weaponId, int turn) {
    const TroopBrush& b = doc.tool.troopBrush;
    const WeaponRecord& w = doc.gameDatabase.weapon(weaponId);
    doc.history.recordTroopCounts();
    doc.history.recordTroop(table, slot);
    TroopRecord& t = *doc.troopAt(table, slot);
    t.clear();
    t.setAppearanceTurn(turn);
    t.setName(w.name());
    t.setWeaponId(static_cast<uint16_t>(weaponId));
    t.setDivision(static_cast<uint8_t>(std::max(0, slots::divisionOf(slot))));
    // The first armament group.
    for (int i = 0; i < WeaponRecord::kSlotCount; ++i)
        t.bytes[TroopRecord::kSlotValuesAt + size_t(i)] = w.groupValue(0, i);
    storeU16(&t.bytes[TroopRecord::kGroupWordAt], w.groupWord(0));
    const uint8_t strength = std::max<uint8_t>(1, w.memberStrength());
    t.setUnits(std::clamp(b.unitCount, 1, TroopRecord::kUnitSlots), strength);
    t.setExperienceTimes10(static_cast<uint16_t>(std::clamp(b.experience, 0, 250) * 10));
    doc.troops.raiseCount(table, slot);

    const int regiment = slots::regimentOf(slot);
    if (regiment >= 0 && regiment != slots::kDirectGroup) {
        const int k = slots::divisionOf(slot) * slots::kRegiments + regiment;
        RegimentRecord& r = doc.regiments[size_t(table)][size_t(k)];
        if (r.formed() == 0) {
            doc.history.recordRegiment(table, k);
            r.setFormed(1);
            r.setCommanderSlot(static_cast<uint16_t>(slot));
            r.setRegimentFlags(0);
        }
    }
}

// The end of every change: the reinforcement index follows the tables in edit mode 2.
void finishTroopChange(MapDocument& doc, EditOperation& op) {
    op.change().troops = true;
    if (doc.tool.editMode == kEditReinforcements) doc.rebuildReinforcementIndex();
}

// Stacks of the hexes a change touched, each recorded for undo.
void recordHexes(MapDocument& doc, std::initializer_list<HexPos> hexes) {
    for (HexPos h : hexes) doc.history.recordHex(h.col, h.row);
}

}  // namespace

const char* troopRefusalText(int result) {
    switch (result) {
        case kTroopCannotStand: return "この地点に兵器を配置することができません。";
        case kTroopFactionFull: return "選択陣営の配置部隊数が最大に達しています。";
        case kTroopDivisionFull: return "この師団はこれ以上部隊を支配下におくことはできません。";
        case kTroopHexTaken: return "この地点はすでに部隊が配置されています。";
        default: return nullptr;
    }
}

int currentTroopTurn(const MapDocument& doc) {
    return doc.tool.editMode == kEditReinforcements ? doc.tool.reinforcementTurn : 1;
}

std::vector<TroopAtHex> troopsAtHex(const MapDocument& doc, int col, int row) {
    std::vector<TroopAtHex> standing, loaded, stowed;
    if (!doc.contains(col, row)) return standing;
    const int turn = currentTroopTurn(doc);
    for (int f = 0; f < kFactionCount; ++f) {
        for (int s = 0; s < doc.troops.usedSlots(f); ++s) {
            const TroopRecord& t = doc.troops.records[size_t(f)][size_t(s)];
            if (!isPlaced(t) || t.appearanceTurn() != turn || t.col() != col || t.row() != row)
                continue;
            if (t.hasFlag(kTroopStowed))
                stowed.push_back({f, s, -1, true});
            else if (t.hasFlag(kTroopLoaded))
                loaded.push_back({f, s, t.carrierSlotPlusOne() - 1, false});
            else
                standing.push_back({f, s, -1, false});
        }
    }
    standing.insert(standing.end(), loaded.begin(), loaded.end());
    standing.insert(standing.end(), stowed.begin(), stowed.end());
    return standing;
}

std::vector<TroopAtHex> stowedTroopsAt(const MapDocument& doc, int col, int row) {
    std::vector<TroopAtHex> all = troopsAtHex(doc, col, row);
    std::erase_if(all, [](const TroopAtHex& t) { return !t.stowed; });
    return all;
}

TroopAtHex stackHolderOfTurn(const MapDocument& doc, int col, int row, int position, int turn) {
    if (turn == 1) {
        const HexOverlay* o = doc.overlayAt(col, row);
        if (!o || position < 0 || position >= kStackPositions || o->stackTable[position] == 0)
            return {};
        return {o->stackTable[position] - 1, o->stackSlot[position], -1, false};
    }
    // Reinforcements: the first troop of the turn at the position, as the index takes them.
    for (int f = 0; f < kFactionCount; ++f) {
        for (int s = 0; s < doc.troops.usedSlots(f); ++s) {
            const TroopRecord& t = doc.troops.records[size_t(f)][size_t(s)];
            if (t.inUse() && t.appearanceTurn() == turn && t.col() == col && t.row() == row &&
                !t.hasFlag(kTroopOffStack) && doc.stackPositionFor(t) == position)
                return {f, s, -1, false};
        }
    }
    return {};
}

int stackPositionOfWeapon(const MapDocument& doc, int weaponId) {
    TroopRecord probe;
    probe.setWeaponId(static_cast<uint16_t>(weaponId));
    return doc.stackPositionFor(probe);
}

bool terrainAllows(const MapDocument& doc, int table, int weaponId, int col, int row) {
    const HexCell* cell = doc.cellAt(col, row);
    if (!cell) return false;
    const GameDatabase& db = doc.gameDatabase;
    const WeaponRecord& w = db.weapon(weaponId);
    if (db.hexMoveCost({cell->terrain, cell->roadLinks, cell->river, cell->tempBridge},
                       w.movementType()) == 0)
        return false;
    if (w.layer() != static_cast<uint8_t>(AltitudeLayer::Ground)) return true;
    const TerrainCategory cat = categoryOf(*cell, db);
    if (cat == TerrainCategory::Bridge) {
        const int owner = cell->owner - 1;
        const bool foreign = owner >= 0 && owner < kFactionCount && owner != table &&
                             (doc.factions[size_t(table)].alliances() >> owner & 1) == 0;
        return cell->destroyed == 0 && !foreign;
    }
    return !((cat == TerrainCategory::Dam || cat == TerrainCategory::Tunnel) && cell->destroyed);
}

bool mayStandAt(const MapDocument& doc, int table, int weaponId, int col, int row) {
    return terrainAllows(doc, table, weaponId, col, row) &&
           stackHolderOfTurn(doc, col, row, stackPositionOfWeapon(doc, weaponId),
                             currentTroopTurn(doc))
                   .table < 0;
}

bool mayStowAt(const MapDocument& doc, int weaponId, int col, int row) {
    return mayStowExcept(doc, weaponId, col, row, -1, -1);
}

bool mayLoadInto(const MapDocument& doc, int table, int carrierSlot, int weaponId) {
    const TroopRecord* carrier = doc.troopAt(table, carrierSlot);
    if (!isFactionTable(table) || !carrier || !isPlaced(*carrier) ||
        carrier->hasFlag(kTroopLoaded | kTroopStowed))
        return false;
    bool freeEntry = false;
    for (int i = 0; i < TroopRecord::kCargoEntries; ++i) freeEntry |= carrier->cargoEntry(i) == 0;
    if (!freeEntry) return false;
    std::vector<int> weapons;
    for (int s : cargoOf(doc, table, carrierSlot))
        weapons.push_back(doc.troopAt(table, s)->weaponId());
    weapons.push_back(weaponId);
    return carrierHolds(doc.gameDatabase, carrier->weaponId(), weapons);
}

int troopsInUse(const MapDocument& doc, int table) {
    if (!isFactionTable(table)) return 0;
    int n = 0;
    for (int s = 0; s < doc.troops.usedSlots(table); ++s)
        n += doc.troops.records[size_t(table)][size_t(s)].inUse() ? 1 : 0;
    return n;
}

int freeOrganisationSlot(const MapDocument& doc, int table, int weaponId) {
    if (!isFactionTable(table)) return -1;
    const int d = std::clamp(doc.gameDatabase.branch(weaponId), 0, slots::kDivisions - 1);
    const FactionRecord& f = doc.factions[size_t(table)];
    const auto& records = doc.troops.records[size_t(table)];
    const int units = std::min<int>(f.divisionLimit(slots::kDivisions + d), slots::kDirectUnits);
    for (int p = 0; p < units; ++p)
        if (!records[size_t(slots::directSlot(d, p))].inUse()) return slots::directSlot(d, p);
    const int regiments = std::min<int>(f.divisionLimit(d), slots::kRegiments);
    for (int r = 0; r < regiments; ++r) {
        bool used = false;
        for (int u = 0; u < slots::kUnitsPerRegiment; ++u)
            used |= records[size_t(slots::regimentSlot(d, r, u))].inUse();
        if (!used) return slots::regimentSlot(d, r, 0);
    }
    return -1;
}

int placeTroop(MapDocument& doc, int col, int row, bool stow) {
    BrushTroop bt;
    if (!brushTroop(doc, bt)) return kTroopFactionFull;
    if (!doc.contains(col, row)) return kTroopCannotStand;
    if (stow) {
        if (!mayStowAt(doc, bt.weapon, col, row)) return kTroopCannotStand;
    } else {
        if (!positionFreeFor(doc, col, row, stackPositionOfWeapon(doc, bt.weapon),
                             currentTroopTurn(doc), -1, -1))
            return kTroopHexTaken;
        if (!terrainAllows(doc, bt.table, bt.weapon, col, row)) return kTroopCannotStand;
    }
    int slot = bt.slot;
    if (slot < 0) {
        slot = newTroopSlot(doc, bt);
        if (slot < 0) return slot;
    }

    EditOperation op(doc, EditOperation::History::NewStep, "部隊配置");
    const int turn = currentTroopTurn(doc);
    recordHexes(doc, {{col, row}});
    if (bt.slot < 0) {
        makeNewTroop(doc, bt.table, slot, bt.weapon, turn);
        op.change().organisation = true;
    }
    TroopRecord& t = *doc.troopAt(bt.table, slot);
    if (t.hasFlag(kTroopLoaded)) doc.takeOutOfCarrier(bt.table, slot, true);
    doc.history.recordTroop(bt.table, slot);
    t.setAppearanceTurn(turn);
    uint16_t flags = t.flags() & ~(kTroopUnplaced | kTroopStowed | kTroopGathered);
    if (stow) flags |= kTroopStowed;
    t.setFlags(flags);
    moveWithCargo(doc, bt.table, slot, col, row);
    restackHex(doc, col, row);
    doc.markDirty(col, row);
    finishTroopChange(doc, op);
    doc.tool.troopBrush.valid = 0;
    return slot;
}

int loadTroop(MapDocument& doc, int table, int carrierSlot) {
    BrushTroop bt;
    if (!brushTroop(doc, bt)) return kTroopFactionFull;
    if (table != bt.table || !mayLoadInto(doc, table, carrierSlot, bt.weapon) ||
        bt.slot == carrierSlot)
        return kTroopCannotStand;
    // A troop carrying others is not loaded into a third.
    if (bt.slot >= 0 && !cargoOf(doc, table, bt.slot).empty()) return kTroopCannotStand;
    int slot = bt.slot;
    if (slot < 0) {
        slot = newTroopSlot(doc, bt);
        if (slot < 0) return slot;
    }

    EditOperation op(doc, EditOperation::History::NewStep, "部隊搭載");
    TroopRecord& carrier = *doc.troopAt(table, carrierSlot);
    const int turn = carrier.appearanceTurn();
    recordHexes(doc, {{carrier.col(), carrier.row()}});
    if (bt.slot < 0) {
        makeNewTroop(doc, table, slot, bt.weapon, turn);
        op.change().organisation = true;
    }
    TroopRecord& t = *doc.troopAt(table, slot);
    if (t.hasFlag(kTroopLoaded)) doc.takeOutOfCarrier(table, slot, true);
    doc.history.recordTroop(table, slot);
    doc.history.recordTroop(table, carrierSlot);
    t.setAppearanceTurn(turn);
    t.setFlags(static_cast<uint16_t>(
        (t.flags() & ~(kTroopUnplaced | kTroopStowed | kTroopGathered)) | kTroopLoaded));
    t.setCarrier(table + 1, carrierSlot + 1);
    t.setPosition(carrier.col(), carrier.row());
    for (int i = 0; i < TroopRecord::kCargoEntries; ++i) {
        if (carrier.cargoEntry(i) != 0) continue;
        carrier.setCargoEntry(i, static_cast<uint16_t>(slot + 1));
        break;
    }
    doc.markDirty(carrier.col(), carrier.row());
    finishTroopChange(doc, op);
    doc.tool.troopBrush.valid = 0;
    return slot;
}

int moveTroop(MapDocument& doc, int table, int slot, int col, int row, bool stow) {
    const TroopRecord* source = doc.troopAt(table, slot);
    if (!isFactionTable(table) || !source || !isPlaced(*source) || !doc.contains(col, row))
        return kTroopCannotStand;
    const int weapon = source->weaponId();
    if (stow) {
        if (!mayStowExcept(doc, weapon, col, row, table, slot)) return kTroopCannotStand;
    } else {
        if (!positionFreeFor(doc, col, row, stackPositionOfWeapon(doc, weapon),
                             source->appearanceTurn(), table, slot))
            return kTroopHexTaken;
        if (!terrainAllows(doc, table, weapon, col, row)) return kTroopCannotStand;
    }

    EditOperation op(doc, EditOperation::History::NewStep, "部隊移動");
    const HexPos from{source->col(), source->row()};
    recordHexes(doc, {from, {col, row}});
    if (source->hasFlag(kTroopLoaded)) doc.takeOutOfCarrier(table, slot, true);
    doc.history.recordTroop(table, slot);
    TroopRecord& t = *doc.troopAt(table, slot);
    uint16_t flags = t.flags() & ~(kTroopStowed | kTroopGathered);
    if (stow) flags |= kTroopStowed;
    t.setFlags(flags);
    moveWithCargo(doc, table, slot, col, row);
    restackHex(doc, from.col, from.row);
    restackHex(doc, col, row);
    doc.markDirty(from.col, from.row);
    doc.markDirty(col, row);
    finishTroopChange(doc, op);
    return slot;
}

bool recallTroop(MapDocument& doc, int table, int slot) {
    const TroopRecord* source = doc.troopAt(table, slot);
    if (!isFactionTable(table) || !source || !isPlaced(*source)) return false;

    EditOperation op(doc, EditOperation::History::NewStep, "部隊回収");
    const HexPos at{source->col(), source->row()};
    recordHexes(doc, {at});
    if (source->hasFlag(kTroopLoaded)) doc.takeOutOfCarrier(table, slot, true);
    // The troop and whatever it carries wait in the list together, still loaded.
    std::vector<int> pending{slot};
    while (!pending.empty()) {
        const int s = pending.back();
        pending.pop_back();
        doc.history.recordTroop(table, s);
        TroopRecord& t = *doc.troopAt(table, s);
        t.setFlags(
            static_cast<uint16_t>((t.flags() & ~(kTroopStowed | kTroopGathered)) | kTroopUnplaced));
        for (int c : cargoOf(doc, table, s))
            if (!doc.troopAt(table, c)->hasFlag(kTroopUnplaced)) pending.push_back(c);
    }
    restackHex(doc, at.col, at.row);
    doc.markDirty(at.col, at.row);
    finishTroopChange(doc, op);
    return true;
}

void moveWithCargo(MapDocument& doc, int table, int slot, int col, int row) {
    std::vector<int> pending{slot};
    std::vector<int> done;
    while (!pending.empty()) {
        const int s = pending.back();
        pending.pop_back();
        // A loop of carrier links in a broken file is walked once.
        if (std::find(done.begin(), done.end(), s) != done.end()) continue;
        done.push_back(s);
        TroopRecord* t = doc.troopAt(table, s);
        if (!t) continue;
        doc.history.recordTroop(table, s);
        doc.markDirty(t->col(), t->row());
        t->setPosition(col, row);
        const uint16_t unplaced = t->flags() & kTroopUnplaced;
        if (s != slot && unplaced) t->setFlags(static_cast<uint16_t>(t->flags() & ~unplaced));
        if (s != slot) t->setAppearanceTurn(doc.troopAt(table, slot)->appearanceTurn());
        for (int c : cargoOf(doc, table, s)) pending.push_back(c);
    }
    doc.markDirty(col, row);
}

void restackHex(MapDocument& doc, int col, int row) {
    HexOverlay* o = doc.overlayAt(col, row);
    if (!o) return;
    const HexOverlay before = *o;
    std::fill(std::begin(o->stackTable), std::end(o->stackTable), int16_t{0});
    std::fill(std::begin(o->stackSlot), std::end(o->stackSlot), int16_t{0});
    o->occupied = 0;
    // The same rules, in the same order, as the stacks a load builds.
    for (int f = 0; f < kFactionCount; ++f) {
        for (int s = 0; s < doc.troops.usedSlots(f); ++s) {
            const TroopRecord& t = doc.troops.records[size_t(f)][size_t(s)];
            if (t.appearanceTurn() != 1 || t.col() != col || t.row() != row) continue;
            if (t.hasFlag(kTroopStowed)) {
                o->occupied = 1;
                continue;
            }
            if (t.hasFlag(kTroopOffStack)) continue;
            const int p = doc.stackPositionFor(t);
            if (o->stackTable[p] == 0) {
                o->stackTable[p] = static_cast<int16_t>(f + 1);
                o->stackSlot[p] = static_cast<int16_t>(s);
                continue;
            }
            // A gathered regiment shares one place, its commander representing it there.
            const int holder = o->stackSlot[p];
            const int regiment = slots::regimentOf(s);
            if (!t.hasFlag(kTroopGathered) || o->stackTable[p] != f + 1 || regiment < 0 ||
                regiment == slots::kDirectGroup ||
                slots::divisionOf(s) != slots::divisionOf(holder) ||
                regiment != slots::regimentOf(holder))
                continue;
            const RegimentRecord& r =
                doc.regiments[size_t(f)]
                             [size_t(slots::divisionOf(s) * slots::kRegiments + regiment)];
            const TroopRecord* h = doc.troopAt(f, holder);
            if (r.formed() != 0 && r.commanderSlot() == s && h && h->hasFlag(kTroopGathered))
                o->stackSlot[p] = static_cast<int16_t>(s);
        }
    }
    if (!(before == *o)) doc.markDirty(col, row);
}

}  // namespace kv
