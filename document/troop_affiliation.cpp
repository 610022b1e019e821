// The change of a troop's place in its faction's organisation: two slots exchange their
// troops, and every carrier link, stack entry and regiment commander follows.
#include <algorithm>
#include <optional>
#include <vector>

#include "document/edit_operation.h"
#include "document/map_document.h"
#include "document/regiments.h"
#include "document/troop_edit.h"
#include "document/troop_slots.h"

namespace kv {

namespace {

bool refersTo(const TroopRecord& t, int a, int b) {
    auto named = [&](int plusOne) { return plusOne == a + 1 || plusOne == b + 1; };
    if (t.hasFlag(kTroopLoaded) && named(t.carrierSlotPlusOne())) return true;
    for (int i = 0; i < TroopRecord::kCargoEntries; ++i)
        if (named(t.cargoEntry(i))) return true;
    return false;
}

void addHex(std::vector<HexPos>& hexes, const TroopRecord& t) {
    const HexPos h{t.col(), t.row()};
    if (std::find(hexes.begin(), hexes.end(), h) == hexes.end()) hexes.push_back(h);
}

// A troop that came into a formed regiment joins it the way the regiment stands: gathered at
// the commander's hex when every other troop of it is gathered and it may stand there.
void joinRegiment(MapDocument& doc, int faction, int slot, int regiment,
                  std::vector<HexPos>& hexes) {
    TroopRecord& t = *doc.troopAt(faction, slot);
    if (!t.inUse()) return;
    doc.history.recordTroop(faction, slot);
    t.setFlags(static_cast<uint16_t>(t.flags() & ~kTroopGathered));
    const int commander = chooseCommander(doc, faction, regiment);
    bool othersGathered = true;
    for (int u = 0; u < slots::kUnitsPerRegiment; ++u) {
        const int s =
            slots::regimentSlot(regiment / slots::kRegiments, regiment % slots::kRegiments, u);
        const TroopRecord& o = *doc.troopAt(faction, s);
        if (s != slot && o.inUse() && !o.hasFlag(kTroopGathered)) othersGathered = false;
    }
    const TroopRecord* c = doc.troopAt(faction, commander);
    if (!othersGathered || !c || commander == slot || t.hasFlag(kTroopOffStack)) return;
    const HexPos at{c->col(), c->row()};
    const TroopAtHex holder =
        stackHolderOfTurn(doc, at.col, at.row, doc.stackPositionFor(t), t.appearanceTurn());
    const bool placeFree = holder.table < 0 || (holder.table == faction &&
                                                regimentIndexOfSlot(holder.slot) == regiment);
    if (!terrainAllows(doc, faction, t.weaponId(), at.col, at.row) || !placeFree) return;
    doc.history.recordHex(at.col, at.row);
    addHex(hexes, *c);
    t.setFlags(static_cast<uint16_t>(t.flags() | kTroopGathered));
    moveWithCargo(doc, faction, slot, at.col, at.row);
}

// Step after the exchange for the regiment of one of the two slots.
void settleRegiment(MapDocument& doc, int faction, int slot, std::vector<HexPos>& hexes) {
    const int k = regimentIndexOfSlot(slot);
    if (k < 0) {
        // Directly attached troops are never gathered.
        TroopRecord& t = *doc.troopAt(faction, slot);
        if (t.inUse() && t.hasFlag(kTroopGathered)) {
            doc.history.recordTroop(faction, slot);
            t.setFlags(static_cast<uint16_t>(t.flags() & ~kTroopGathered));
        }
        return;
    }
    RegimentRecord& r = doc.regiments[size_t(faction)][size_t(k)];
    bool anyInUse = false;
    for (int u = 0; u < slots::kUnitsPerRegiment; ++u)
        anyInUse |= doc.troopAt(faction, slots::regimentSlot(k / slots::kRegiments,
                                                             k % slots::kRegiments, u))
                        ->inUse();
    if (!anyInUse) {
        doc.history.recordRegiment(faction, k);
        r.setFormed(0);
        return;
    }
    if (r.formed() == 0) {
        chooseCommander(doc, faction, k);
        TroopRecord& t = *doc.troopAt(faction, slot);
        if (t.inUse()) {
            doc.history.recordTroop(faction, slot);
            t.setFlags(static_cast<uint16_t>(t.flags() & ~kTroopGathered));
        }
        return;
    }
    joinRegiment(doc, faction, slot, k, hexes);
}

// A troop standing on the map that lost its place in its hex's stack (it left a gathered
// regiment whose hex it shared) goes to the nearest hex where it may stand.
void relocateIfUnstacked(MapDocument& doc, int faction, int slot) {
    TroopRecord& t = *doc.troopAt(faction, slot);
    if (!t.inUse() || t.appearanceTurn() != 1 || t.hasFlag(kTroopOffStack)) return;
    if (!doc.contains(t.col(), t.row())) return;
    const HexPos from{t.col(), t.row()};
    const int p = doc.stackPositionFor(t);
    const TroopAtHex h = stackHolderOfTurn(doc, from.col, from.row, p, 1);
    const bool shares = t.hasFlag(kTroopGathered) && h.table == faction &&
                        regimentIndexOfSlot(h.slot) >= 0 &&
                        regimentIndexOfSlot(h.slot) == regimentIndexOfSlot(slot);
    if ((h.table == faction && h.slot == slot) || shares) return;
    const std::optional<HexPos> to = searchRings(doc.area(), from, [&](HexPos x) {
        return terrainAllows(doc, faction, t.weaponId(), x.col, x.row) &&
               stackHolderOfTurn(doc, x.col, x.row, p, 1).table < 0;
    });
    if (!to) return;
    doc.history.recordHex(to->col, to->row);
    doc.history.recordTroop(faction, slot);
    t.setFlags(static_cast<uint16_t>(t.flags() & ~kTroopGathered));
    moveWithCargo(doc, faction, slot, to->col, to->row);
    restackHex(doc, to->col, to->row);
    doc.markDirty(to->col, to->row);
}

}  // namespace

bool changeAffiliation(MapDocument& doc, int faction, int from, int to) {
    if (faction < 0 || faction >= kFactionCount || !TroopTable::isSlot(from) ||
        !TroopTable::isSlot(to) || from == to)
        return false;
    EditOperation op(doc, EditOperation::History::NewStep, "所属変更");
    op.change().troops = true;
    op.change().organisation = true;
    auto& table = doc.troops.records[size_t(faction)];
    std::vector<HexPos> hexes;
    for (int s : {from, to}) {
        if (!table[size_t(s)].inUse()) continue;
        addHex(hexes, table[size_t(s)]);
        doc.history.recordHex(table[size_t(s)].col(), table[size_t(s)].row());
    }
    doc.history.recordTroopCounts();
    for (int s = 0; s < TroopTable::kSlots; ++s) {
        const TroopRecord& t = table[size_t(s)];
        if (s == from || s == to || (t.inUse() && refersTo(t, from, to)))
            doc.history.recordTroop(faction, s);
    }

    std::swap(table[size_t(from)], table[size_t(to)]);
    auto remap = [&](int plusOne) {
        if (plusOne == from + 1) return to + 1;
        if (plusOne == to + 1) return from + 1;
        return plusOne;
    };
    for (TroopRecord& t : table) {
        if (!t.inUse()) continue;
        if (t.hasFlag(kTroopLoaded) && t.carrierTablePlusOne() == faction + 1)
            t.setCarrier(faction + 1, remap(t.carrierSlotPlusOne()));
        for (int i = 0; i < TroopRecord::kCargoEntries; ++i)
            if (t.cargoEntry(i) != 0)
                t.setCargoEntry(i, static_cast<uint16_t>(remap(t.cargoEntry(i))));
    }
    for (int s : {from, to}) {
        TroopRecord& t = table[size_t(s)];
        if (t.inUse() && slots::divisionOf(s) >= 0)
            t.setDivision(static_cast<uint8_t>(slots::divisionOf(s)));
    }
    const int high = std::max(from, to);
    if (table[size_t(high)].inUse()) doc.troops.raiseCount(faction, high);

    settleRegiment(doc, faction, from, hexes);
    settleRegiment(doc, faction, to, hexes);
    for (HexPos h : hexes) {
        restackHex(doc, h.col, h.row);
        doc.markDirty(h.col, h.row);
    }
    relocateIfUnstacked(doc, faction, from);
    relocateIfUnstacked(doc, faction, to);
    if (doc.tool.editMode == kEditReinforcements) doc.rebuildReinforcementIndex();
    return true;
}

}  // namespace kv
