// Packing the troop numbers: the troops of each organisation group move forward to the
// group's first positions, and every reference to them follows.
#include <array>
#include <vector>

#include "document/bulk_edits.h"
#include "document/edit_operation.h"
#include "document/map_document.h"
#include "document/troop_slots.h"

namespace kv {

namespace {

using SlotMap = std::array<std::array<int, TroopTable::kSlots>, kFactionCount>;

// Moves the troops in use of one group (its slots in order) forward.
void packGroup(const std::vector<TroopRecord>& table, const std::vector<int>& group,
               std::array<int, TroopTable::kSlots>& map) {
    size_t next = 0;
    for (int s : group)
        if (table[size_t(s)].inUse()) map[size_t(s)] = group[next++];
}

std::vector<int> groupSlots(int d, int r) {
    std::vector<int> g;
    if (r < slots::kRegiments) {
        for (int u = 0; u < slots::kUnitsPerRegiment; ++u)
            g.push_back(slots::regimentSlot(d, r, u));
    } else {
        for (int p = 0; p < slots::kDirectUnits; ++p) g.push_back(slots::directSlot(d, p));
    }
    return g;
}

// The old-slot-to-new-slot table of every faction; true when any troop moves.
bool planMoves(const MapDocument& doc, SlotMap& map) {
    bool any = false;
    for (int f = 0; f < kFactionCount; ++f) {
        for (int s = 0; s < TroopTable::kSlots; ++s) map[size_t(f)][size_t(s)] = s;
        for (int d = 0; d < slots::kDivisions; ++d)
            for (int r = 0; r <= slots::kRegiments; ++r)
                packGroup(doc.troops.records[size_t(f)], groupSlots(d, r), map[size_t(f)]);
        for (int s = 0; s < TroopTable::kSlots; ++s) any |= map[size_t(f)][size_t(s)] != s;
    }
    return any;
}

// The faction tables after the move, with carrier links and cargo entries renumbered.
std::array<std::vector<TroopRecord>, kFactionCount> movedTables(const MapDocument& doc,
                                                                const SlotMap& map) {
    std::array<std::vector<TroopRecord>, kFactionCount> out;
    for (int f = 0; f < kFactionCount; ++f) {
        const std::vector<TroopRecord>& old = doc.troops.records[size_t(f)];
        out[size_t(f)] = old;
        for (int s = 0; s < TroopTable::kSlots; ++s)
            if (map[size_t(f)][size_t(s)] != s) out[size_t(f)][size_t(s)].clear();
        for (int s = 0; s < TroopTable::kSlots; ++s)
            if (map[size_t(f)][size_t(s)] != s)
                out[size_t(f)][size_t(map[size_t(f)][size_t(s)])] = old[size_t(s)];
    }
    for (int f = 0; f < kFactionCount; ++f) {
        for (TroopRecord& t : out[size_t(f)]) {
            if (!t.inUse()) continue;
            const int ct = t.carrierTablePlusOne() - 1, cs = t.carrierSlotPlusOne() - 1;
            if (t.hasFlag(kTroopLoaded) && ct >= 0 && ct < kFactionCount && TroopTable::isSlot(cs))
                t.setCarrier(ct + 1, map[size_t(ct)][size_t(cs)] + 1);
            for (int i = 0; i < TroopRecord::kCargoEntries; ++i) {
                const int e = t.cargoEntry(i) - 1;
                if (TroopTable::isSlot(e))
                    t.setCargoEntry(i, static_cast<uint16_t>(map[size_t(f)][size_t(e)] + 1));
            }
        }
    }
    return out;
}

// The hex's troop stack with its slots renumbered.
HexOverlay movedOverlay(HexOverlay o, const SlotMap& map) {
    for (int p = 0; p < kStackPositions; ++p) {
        const int table = o.stackTable[p] - 1;
        if (table >= 0 && table < kFactionCount && TroopTable::isSlot(o.stackSlot[p]))
            o.stackSlot[p] = static_cast<int16_t>(map[size_t(table)][size_t(o.stackSlot[p])]);
    }
    return o;
}

void moveCommanders(MapDocument& doc, const SlotMap& map) {
    for (int f = 0; f < kFactionCount; ++f) {
        for (int k = 0; k < kRegimentsPerFaction; ++k) {
            RegimentRecord& r = doc.regiments[size_t(f)][size_t(k)];
            const int cs = r.commanderSlot();
            if (r.formed() == 0 || !TroopTable::isSlot(cs) || map[size_t(f)][size_t(cs)] == cs)
                continue;
            doc.history.recordRegiment(f, k);
            r.setCommanderSlot(static_cast<uint16_t>(map[size_t(f)][size_t(cs)]));
        }
    }
}

}  // namespace

int packTroopNumbers(MapDocument& doc) {
    SlotMap map;
    const bool moves = planMoves(doc, map);
    // The troop lists are told even when nothing moves; only a move is a step to undo.
    EditOperation op(doc, moves ? EditOperation::History::NewStep : EditOperation::History::Keep);
    op.change().troops = true;
    op.change().organisation = true;
    if (!moves) return 0;
    const auto tables = movedTables(doc, map);

    // Packing lowers the counts, which restoring the troops alone would not undo.
    doc.history.recordTroopCounts();
    int moved = 0;
    for (int f = 0; f < kFactionCount; ++f) {
        for (int s = 0; s < TroopTable::kSlots; ++s) {
            moved += map[size_t(f)][size_t(s)] != s ? 1 : 0;
            if (!(tables[size_t(f)][size_t(s)] == doc.troops.records[size_t(f)][size_t(s)]))
                doc.history.recordTroop(f, s);
        }
    }
    const HexArea area = doc.area();
    for (int i = 0; i < area.hexCount(); ++i) {
        HexOverlay& o = doc.mapGrid.overlays[size_t(i)];
        const HexOverlay renumbered = movedOverlay(o, map);
        if (renumbered == o) continue;
        const HexPos h = area.at(i);
        doc.history.recordHex(h.col, h.row);
        o = renumbered;
        doc.markDirty(h.col, h.row);
    }
    for (int f = 0; f < kFactionCount; ++f) {
        for (int s = 0; s < TroopTable::kSlots; ++s) {
            TroopRecord& t = doc.troops.records[size_t(f)][size_t(s)];
            if (t == tables[size_t(f)][size_t(s)]) continue;
            doc.markDirty(t.col(), t.row());
            t = tables[size_t(f)][size_t(s)];
            doc.markDirty(t.col(), t.row());
        }
    }
    moveCommanders(doc, map);
    doc.troops.recomputeCounts();
    if (doc.tool.editMode == kEditReinforcements) doc.rebuildReinforcementIndex();
    return moved;
}

}  // namespace kv
