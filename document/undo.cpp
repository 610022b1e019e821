// The one-operation undo history: before-images taken by the editing primitives, undone
// newest first with the after-images kept for redo.
#include "document/map_document.h"

#include <array>
#include <cstring>
#include <optional>

namespace kv {

namespace {

void copyLabelInto(TroopRecord& troop, const TerrainLabel* label) {
    if (label) std::memcpy(troop.data(), label, sizeof(TerrainLabel));
}

TerrainLabel labelFrom(const TroopRecord& troop) {
    TerrainLabel label;
    std::memcpy(&label, troop.data(), sizeof(TerrainLabel));
    return label;
}

}  // namespace

void MapDocument::recordHex(int col, int row) {
    const HexCell* c = cellAt(col, row);
    if (!c) return;
    UndoRecord& r = undoStack.emplace_back();
    r.kind = UndoRecord::Hex;
    r.col = static_cast<int16_t>(col);
    r.row = static_cast<int16_t>(row);
    r.cell = *c;
    r.overlay = *overlayAt(col, row);
}

void MapDocument::recordHexAndTroop(int col, int row, int table, int slot) {
    const HexCell* c = cellAt(col, row);
    const TroopRecord* t = troopAt(table, slot);
    if (!c || !t) {
        // Whichever half exists is still worth keeping.
        if (c) recordHex(col, row);
        if (t) recordTroop(table, slot);
        return;
    }
    UndoRecord& r = undoStack.emplace_back();
    r.kind = UndoRecord::HexAndTroop;
    r.table = static_cast<int16_t>(table);
    r.slot = static_cast<int16_t>(slot);
    r.troop = *t;
    r.col = static_cast<int16_t>(col);
    r.row = static_cast<int16_t>(row);
    r.cell = *c;
    r.overlay = *overlayAt(col, row);
}

void MapDocument::recordTroop(int table, int slot) {
    const TroopRecord* t = troopAt(table, slot);
    if (!t) return;
    UndoRecord& r = undoStack.emplace_back();
    r.kind = UndoRecord::Troop;
    r.table = static_cast<int16_t>(table);
    r.slot = static_cast<int16_t>(slot);
    r.troop = *t;
}

void MapDocument::recordLabel(int col, int row) {
    if (!contains(col, row)) return;
    UndoRecord& r = undoStack.emplace_back();
    r.kind = UndoRecord::Label;
    r.col = static_cast<int16_t>(col);
    r.row = static_cast<int16_t>(row);
    copyLabelInto(r.troop, labelAt(col, row));
}

void MapDocument::recordRegiment(int faction, int regiment) {
    if (faction < 0 || faction >= kFactionCount || regiment < 0 || regiment >= kRegimentsPerFaction)
        return;
    UndoRecord& r = undoStack.emplace_back();
    r.kind = UndoRecord::Regiment;
    r.table = static_cast<int16_t>(faction);
    r.slot = static_cast<int16_t>(regiment);
    std::memcpy(r.troop.data(), regiments[size_t(faction)][size_t(regiment)].data(),
                sizeof(RegimentRecord));
}

void MapDocument::recordTroopCounts() {
    UndoRecord& r = undoStack.emplace_back();
    r.kind = UndoRecord::TroopCounts;
    std::memcpy(r.troop.data(), troops.count.data(), sizeof(troops.count));
}

void MapDocument::undo() {
    walkUndo(undoStack, redoStack);
}

void MapDocument::redo() {
    walkUndo(redoStack, undoStack);
}

void MapDocument::walkUndo(std::vector<UndoRecord>& from, std::vector<UndoRecord>& to) {
    to.clear();
    to.reserve(from.size());
    bool rebuildIndex = false;
    bool labelsTouched = false;
    // Counts go back as a whole once every troop is back, since restoring a troop raises its
    // table's count; the inverse keeps the counts from before this walk for the same reason.
    const std::array<int32_t, TroopTable::kFactions> countsBefore = troops.count;
    std::optional<std::array<int32_t, TroopTable::kFactions>> countsAfter;
    for (size_t k = from.size(); k-- > 0;) {
        const UndoRecord& r = from[k];
        UndoRecord& inverse = to.emplace_back();
        inverse.kind = r.kind;
        if (r.kind == UndoRecord::Hex || r.kind == UndoRecord::HexAndTroop) {
            if (HexCell* c = cellAt(r.col, r.row)) {
                HexOverlay* o = overlayAt(r.col, r.row);
                inverse.col = r.col;
                inverse.row = r.row;
                inverse.cell = *c;
                inverse.overlay = *o;
                *c = r.cell;
                *o = r.overlay;
                markDirty(r.col, r.row);
                labelsTouched = true;
            }
        }
        if (r.kind == UndoRecord::HexAndTroop || r.kind == UndoRecord::Troop) {
            if (TroopRecord* t = troopAt(r.table, r.slot)) {
                inverse.table = r.table;
                inverse.slot = r.slot;
                inverse.troop = *t;
                markDirty(t->col(), t->row());
                *t = r.troop;
                markDirty(t->col(), t->row());
                // A count only marks the highest slot used; it is never lowered here.
                troops.raiseCount(r.table, r.slot);
                if (editMode == kEditReinforcements) rebuildIndex = true;
            }
        }
        if (r.kind == UndoRecord::Label && contains(r.col, r.row)) {
            inverse.col = r.col;
            inverse.row = r.row;
            copyLabelInto(inverse.troop, labelAt(r.col, r.row));
            placeLabelRecord(r.col, r.row, labelFrom(r.troop));
            labelsTouched = true;
        }
        if (r.kind == UndoRecord::Regiment && r.table >= 0 && r.table < kFactionCount &&
            r.slot >= 0 && r.slot < kRegimentsPerFaction) {
            RegimentRecord& regiment = regiments[size_t(r.table)][size_t(r.slot)];
            inverse.table = r.table;
            inverse.slot = r.slot;
            std::memcpy(inverse.troop.data(), regiment.data(), sizeof(RegimentRecord));
            std::memcpy(regiment.data(), r.troop.data(), sizeof(RegimentRecord));
        }
        if (r.kind == UndoRecord::TroopCounts) {
            std::memcpy(inverse.troop.data(), countsBefore.data(), sizeof(countsBefore));
            countsAfter.emplace();
            std::memcpy(countsAfter->data(), r.troop.data(), sizeof(countsBefore));
        }
    }
    if (countsAfter) troops.count = *countsAfter;
    if (rebuildIndex) rebuildReinforcementIndex();
    // Restored overlays carry label numbers of their time; the label table decides.
    if (labelsTouched) rebuildLabelNumbers();
    from.clear();
}

}  // namespace kv
