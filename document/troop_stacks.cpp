// Troops on the map: hex stacks and occupancy, the reinforcement index, carriers and the
// deletion of a troop with everything it carries.
#include "document/map_document.h"

#include <algorithm>

#include "document/troop_slots.h"

namespace kv {

namespace {

constexpr size_t kStackRule = 17;  // スタック

int firstTableOfSet(int table) {
    return table < TroopTable::kSecondSet ? 0 : TroopTable::kSecondSet;
}

}  // namespace

int MapDocument::stackPositionFor(const TroopRecord& troop) const {
    if (ruleSettings.value(kStackRule) == 0) return 0;
    return std::clamp(gameDatabase.branch(troop.weaponId()), 0, kStackPositions - 1);
}

bool MapDocument::enterTroopInStack(int table, int slot) {
    const TroopRecord* t = troopAt(table, slot);
    if (!t || t->appearanceTurn() != 1) return true;
    HexOverlay* o = overlayAt(t->col(), t->row());
    if (!o) return true;
    if (t->hasFlag(kTroopStowed)) {
        o->occupied = 1;
        markDirty(t->col(), t->row());
        return true;
    }
    if (t->hasFlag(kTroopOffStack)) return true;
    const int p = stackPositionFor(*t);
    const bool self = o->stackTable[p] == table + 1 && o->stackSlot[p] == slot;
    if (o->stackTable[p] != 0 && !self) return false;
    o->stackTable[p] = static_cast<int16_t>(table + 1);
    o->stackSlot[p] = static_cast<int16_t>(slot);
    markDirty(t->col(), t->row());
    return true;
}

void MapDocument::liftTroopFromStack(int table, int slot) {
    const TroopRecord* t = troopAt(table, slot);
    HexOverlay* o = t ? overlayAt(t->col(), t->row()) : nullptr;
    if (!o) return;
    for (int p = 0; p < kStackPositions; ++p) {
        if (o->stackTable[p] == table + 1 && o->stackSlot[p] == slot) {
            o->stackTable[p] = 0;
            o->stackSlot[p] = 0;
        }
    }
    markDirty(t->col(), t->row());
}

void MapDocument::updateOccupancy(int col, int row) {
    HexOverlay* o = overlayAt(col, row);
    if (!o) return;
    o->occupied = 0;
    for (int f = 0; f < kFactionCount && !o->occupied; ++f)
        for (const TroopRecord& t : troops.records[f])
            if (t.appearanceTurn() == 1 && t.hasFlag(kTroopStowed) && t.col() == col &&
                t.row() == row) {
                o->occupied = 1;
                break;
            }
    markDirty(col, row);
}

void MapDocument::takeOutOfCarrier(int table, int slot, bool record) {
    TroopRecord* t = troopAt(table, slot);
    if (!t) return;
    const int carrierTable = t->carrierTablePlusOne() - 1;
    const int carrierSlot = t->carrierSlotPlusOne() - 1;
    TroopRecord* carrier = troopAt(carrierTable, carrierSlot);
    if (carrier && carrierTable == table) {
        if (record) history.recordTroop(carrierTable, carrierSlot);
        for (int i = 0; i < TroopRecord::kCargoEntries; ++i)
            if (carrier->cargoEntry(i) == slot + 1) carrier->setCargoEntry(i, 0);
    }
    if (record) history.recordTroop(table, slot);
    t->setFlags(static_cast<uint16_t>(t->flags() & ~kTroopLoaded));
    t->setCarrier(0, 0);
}

void MapDocument::deleteTroop(int table, int slot, bool record) {
    deleteTroopAndCargo(table, slot, 1, record);
}

void MapDocument::deleteTroopAndCargo(int table, int slot, uint8_t unknownWeapon, bool record) {
    TroopRecord* t = troopAt(table, slot);
    if (!t || !t->inUse()) return;
    const int col = t->col(), row = t->row();
    if (record) {
        if (contains(col, row))
            history.recordHexAndTroop(col, row, table, slot);
        else
            history.recordTroop(table, slot);
    }
    if (collectingRemovals) {
        removedWeapons.push_back(
            {table % TroopTable::kSecondSet, slot, col, row, t->name(), unknownWeapon});
    }
    liftTroopFromStack(table, slot);
    if (t->hasFlag(kTroopLoaded)) takeOutOfCarrier(table, slot, record);
    const bool stowed = t->hasFlag(kTroopStowed);
    const bool reinforcement = t->appearanceTurn() >= 2;
    t->clear();
    if (stowed) updateOccupancy(col, row);

    // Everything loaded in this troop goes with it. The record is already cleared, so a
    // loop of carriers in a broken file ends here.
    const int first = firstTableOfSet(table);
    for (int ct = first; ct < first + kFactionCount; ++ct) {
        for (int cs = 0; cs < TroopTable::kSlots; ++cs) {
            const TroopRecord* c = troopAt(ct, cs);
            if (c->inUse() && c->hasFlag(kTroopLoaded) && c->carrierTablePlusOne() == table + 1 &&
                c->carrierSlotPlusOne() == slot + 1)
                deleteTroopAndCargo(ct, cs, 0, record);
        }
    }
    if (reinforcement && tool.editMode == kEditReinforcements) rebuildReinforcementIndex();
}

void MapDocument::rebuildTroopStacks() {
    const HexArea a = area();
    HexOverlay* const overlays = mapGrid.overlays.data();
    // Each hex keeps its label number and borderlines; its stack places and stowed mark are
    // emptied (one store of the whole record).
    for (int i = 0, hexes = a.hexCount(); i < hexes; ++i) {
        HexOverlay& o = overlays[i];
        o = HexOverlay{.labelNumber = o.labelNumber, .borderBits = o.borderBits};
    }
    for (int f = 0; f < kFactionCount; ++f)
        for (int s = 0; s < TroopTable::kSlots; ++s)
            if (!enterTroopInStack(f, s) && !shareGatheredStack(f, s)) deleteTroop(f, s);
}

bool MapDocument::shareGatheredStack(int table, int slot) {
    if (table < 0 || table >= kFactionCount) return false;
    const TroopRecord* t = troopAt(table, slot);
    HexOverlay* o = t ? overlayAt(t->col(), t->row()) : nullptr;
    if (!o || !t->hasFlag(kTroopGathered)) return false;
    const int p = stackPositionFor(*t);
    const int holder = o->stackSlot[p];
    const int regiment = slots::regimentOf(slot);
    const bool sameRegiment = o->stackTable[p] == table + 1 && regiment >= 0 &&
                              regiment != slots::kDirectGroup &&
                              slots::divisionOf(slot) == slots::divisionOf(holder) &&
                              regiment == slots::regimentOf(holder);
    if (!sameRegiment) return false;
    // The commander represents its gathered regiment on the hex when it stands there.
    const RegimentRecord& r =
        regiments[size_t(table)][size_t(slots::divisionOf(slot) * slots::kRegiments + regiment)];
    const TroopRecord* h = troopAt(table, holder);
    const bool holderGathered = h && h->hasFlag(kTroopGathered);
    if (r.formed() != 0 && r.commanderSlot() == slot && holderGathered)
        o->stackSlot[p] = static_cast<int16_t>(slot);
    return true;
}

void MapDocument::rebuildReinforcementIndex() {
    std::fill(mapGrid.troopIndex.begin(), mapGrid.troopIndex.end(), TroopIndexRecord{});
    for (int f = 0; f < kFactionCount; ++f) {
        for (int s = 0; s < TroopTable::kSlots; ++s) {
            const TroopRecord& t = troops.records[f][s];
            if (!t.inUse() || t.appearanceTurn() != tool.reinforcementTurn) continue;
            TroopIndexRecord* r = troopIndexAt(t.col(), t.row());
            if (!r) continue;
            if (t.hasFlag(kTroopStowed)) {
                r->stowed = 1;
                continue;
            }
            // Loaded troops travel in their carrier; unplaced ones wait in the list.
            if (t.hasFlag(kTroopLoaded | kTroopUnplaced)) continue;
            const int p = stackPositionFor(t);
            if (r->table[p] != 0) continue;
            r->table[p] = static_cast<int16_t>(f + 1);
            r->slot[p] = static_cast<int16_t>(s);
        }
    }
    viewSettings.redrawGrid.markAllDirty();
}

}  // namespace kv
