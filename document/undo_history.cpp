// The undo history: before-images taken by the editing primitives, step by step, undone newest
// first with the after-images kept for redo.
#include "document/undo_history.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <utility>

#include "document/edit_operation.h"
#include "document/map_document.h"
#include "document/map_settings.h"

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

const UndoStep UndoHistory::kNoStep;

void UndoHistory::begin(std::string name) {
    clearRedo();
    // A step that recorded nothing is not worth keeping.
    if (done_.empty() || !done_.back().empty()) done_.emplace_back();
    done_.back().name = std::move(name);
    trim();
}

void UndoHistory::end() {
    if (!done_.empty() && done_.back().empty()) done_.pop_back();
}

void UndoHistory::clearUndo() {
    done_.clear();
}

void UndoHistory::clearRedo() {
    undone_.clear();
}

void UndoHistory::setLimits(int depth, size_t maxBytes) {
    depth_ = depth < 1 ? 1 : depth;
    maxBytes_ = maxBytes;
    trim();
}

size_t UndoHistory::bytesOf(const UndoStep& step) {
    return step.records.capacity() * sizeof(UndoRecord) + step.name.capacity() + sizeof(UndoStep) +
           (step.settings ? sizeof(MapSettings) : 0);
}

size_t UndoHistory::bytes() const {
    size_t total = 0;
    for (const UndoStep& s : done_) total += bytesOf(s);
    for (const UndoStep& s : undone_) total += bytesOf(s);
    return total;
}

void UndoHistory::trim() {
    while (done_.size() > size_t(depth_)) {
        done_.pop_front();
        ++dropped_;
    }
    // The newest step stays whatever its size.
    size_t total = bytes();
    while (total > maxBytes_ && done_.size() > 1) {
        total -= bytesOf(done_.front());
        done_.pop_front();
        ++dropped_;
    }
}

std::string stepCaption(const UndoStep& step) {
    std::string caption = step.name.empty() ? "編集" : step.name;
    // A stroke records a hex again each time it passes; count each hex once.
    std::vector<uint32_t> hexes;
    for (const UndoRecord& r : step.records)
        if (r.kind == UndoRecord::Hex || r.kind == UndoRecord::HexAndTroop)
            hexes.push_back(uint32_t(uint16_t(r.col)) << 16 | uint16_t(r.row));
    std::sort(hexes.begin(), hexes.end());
    const auto count = std::unique(hexes.begin(), hexes.end()) - hexes.begin();
    if (count > 0) caption += " (" + std::to_string(count) + "ヘックス)";
    return caption;
}

UndoStep& UndoHistory::current() {
    if (done_.empty()) done_.emplace_back();
    return done_.back();
}

UndoRecord& UndoHistory::add(UndoRecord::Kind kind) {
    UndoRecord& r = current().records.emplace_back();
    r.kind = kind;
    return r;
}

void UndoHistory::recordHex(int col, int row) {
    const HexCell* c = doc_.cellAt(col, row);
    if (!c) return;
    UndoRecord& r = add(UndoRecord::Hex);
    r.col = static_cast<int16_t>(col);
    r.row = static_cast<int16_t>(row);
    r.cell = *c;
    r.overlay = *doc_.overlayAt(col, row);
}

void UndoHistory::recordHexAndTroop(int col, int row, int table, int slot) {
    const HexCell* c = doc_.cellAt(col, row);
    const TroopRecord* t = doc_.troopAt(table, slot);
    if (!c || !t) {
        // Whichever half exists is still worth keeping.
        if (c) recordHex(col, row);
        if (t) recordTroop(table, slot);
        return;
    }
    UndoRecord& r = add(UndoRecord::HexAndTroop);
    r.table = static_cast<int16_t>(table);
    r.slot = static_cast<int16_t>(slot);
    r.troop = *t;
    r.col = static_cast<int16_t>(col);
    r.row = static_cast<int16_t>(row);
    r.cell = *c;
    r.overlay = *doc_.overlayAt(col, row);
}

void UndoHistory::recordTroop(int table, int slot) {
    const TroopRecord* t = doc_.troopAt(table, slot);
    if (!t) return;
    UndoRecord& r = add(UndoRecord::Troop);
    r.table = static_cast<int16_t>(table);
    r.slot = static_cast<int16_t>(slot);
    r.troop = *t;
}

void UndoHistory::recordLabel(int col, int row) {
    if (!doc_.contains(col, row)) return;
    UndoRecord& r = add(UndoRecord::Label);
    r.col = static_cast<int16_t>(col);
    r.row = static_cast<int16_t>(row);
    copyLabelInto(r.troop, doc_.labelAt(col, row));
}

void UndoHistory::recordRegiment(int faction, int regiment) {
    if (faction < 0 || faction >= kFactionCount || regiment < 0 || regiment >= kRegimentsPerFaction)
        return;
    UndoRecord& r = add(UndoRecord::Regiment);
    r.table = static_cast<int16_t>(faction);
    r.slot = static_cast<int16_t>(regiment);
    std::memcpy(r.troop.data(), doc_.regiments[size_t(faction)][size_t(regiment)].data(),
                sizeof(RegimentRecord));
}

void UndoHistory::recordSettings() {
    UndoStep& step = current();
    if (!step.settings) step.settings = std::make_shared<const MapSettings>(mapSettingsOf(doc_));
}

void UndoHistory::recordTroopCounts() {
    UndoRecord& r = add(UndoRecord::TroopCounts);
    std::memcpy(r.troop.data(), doc_.troops.count.data(), sizeof(doc_.troops.count));
}

namespace {

template <class Steps>
UndoStep takeLast(Steps& steps) {
    UndoStep step = std::move(steps.back());
    steps.pop_back();
    return step;
}

}  // namespace

// With nothing to take back or do again, the report of an empty step still goes out.
// A single-step history swaps its two steps, so there an undo with nothing to undo empties the
// redo step (and a redo with nothing to redo the undo step), as it always has.
void UndoHistory::undo() {
    if (!canUndo() && depth_ == 1) clearRedo();
    UndoStep step = canUndo() ? takeLast(done_) : UndoStep{};
    UndoStep inverse;
    // The images of a large step (a whole-map fill) take tens of megabytes: the inverse reuses
    // the buffer of the step walked before instead of asking the system for fresh pages.
    inverse.records = std::move(spare_);
    replay(step, inverse);
    spare_ = std::move(step.records);
    if (!inverse.empty()) undone_.push_back(std::move(inverse));
}

void UndoHistory::redo() {
    if (!canRedo() && depth_ == 1) clearUndo();
    UndoStep step = canRedo() ? takeLast(undone_) : UndoStep{};
    UndoStep inverse;
    // The images of a large step (a whole-map fill) take tens of megabytes: the inverse reuses
    // the buffer of the step walked before instead of asking the system for fresh pages.
    inverse.records = std::move(spare_);
    replay(step, inverse);
    spare_ = std::move(step.records);
    if (!inverse.empty()) done_.push_back(std::move(inverse));
}

void UndoHistory::replay(UndoStep& from, UndoStep& to) {
    // A step may hold anything; the windows redraw whatever it was, an empty one too.
    EditOperation op(doc_, EditOperation::History::Keep);
    op.change().wholeMap = true;
    walk(from, to);
}

void UndoHistory::walk(UndoStep& from, UndoStep& to) {
    MapDocument& d = doc_;
    to.records.clear();
    to.records.reserve(from.records.size());
    to.name = from.name;
    to.settings.reset();
    if (from.settings) {
        to.settings = std::make_shared<const MapSettings>(mapSettingsOf(d));
        setMapSettings(d, *from.settings);
    }
    bool rebuildIndex = false;
    bool labelsTouched = false;
    // Counts go back as a whole once every troop is back, since restoring a troop raises its
    // table's count; the inverse keeps the counts from before this walk for the same reason.
    const std::array<int32_t, TroopTable::kFactions> countsBefore = d.troops.count;
    std::optional<std::array<int32_t, TroopTable::kFactions>> countsAfter;
    for (size_t k = from.records.size(); k-- > 0;) {
        const UndoRecord& r = from.records[k];
        UndoRecord& inverse = to.records.emplace_back();
        inverse.kind = r.kind;
        if (r.kind == UndoRecord::Hex || r.kind == UndoRecord::HexAndTroop) {
            if (HexCell* c = d.cellAt(r.col, r.row)) {
                HexOverlay* o = d.overlayAt(r.col, r.row);
                inverse.col = r.col;
                inverse.row = r.row;
                inverse.cell = *c;
                inverse.overlay = *o;
                *c = r.cell;
                *o = r.overlay;
                d.markDirty(r.col, r.row);
                labelsTouched = true;
            }
        }
        if (r.kind == UndoRecord::HexAndTroop || r.kind == UndoRecord::Troop) {
            if (TroopRecord* t = d.troopAt(r.table, r.slot)) {
                inverse.table = r.table;
                inverse.slot = r.slot;
                inverse.troop = *t;
                d.markDirty(t->col(), t->row());
                *t = r.troop;
                d.markDirty(t->col(), t->row());
                // A count only marks the highest slot used; it is never lowered here.
                d.troops.raiseCount(r.table, r.slot);
                if (d.tool.editMode == kEditReinforcements) rebuildIndex = true;
            }
        }
        if (r.kind == UndoRecord::Label && d.contains(r.col, r.row)) {
            inverse.col = r.col;
            inverse.row = r.row;
            copyLabelInto(inverse.troop, d.labelAt(r.col, r.row));
            d.placeLabelRecord(r.col, r.row, labelFrom(r.troop));
            labelsTouched = true;
            // A label's text runs over the hexes beside its own: the row is drawn again, as
            // the label tool does.
            for (int col = 0; col < d.width(); ++col) d.markDirty(col, r.row);
        }
        if (r.kind == UndoRecord::Regiment && r.table >= 0 && r.table < kFactionCount &&
            r.slot >= 0 && r.slot < kRegimentsPerFaction) {
            RegimentRecord& regiment = d.regiments[size_t(r.table)][size_t(r.slot)];
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
    if (countsAfter) d.troops.count = *countsAfter;
    if (rebuildIndex) d.rebuildReinforcementIndex();
    // Restored overlays carry label numbers of their time; the label table decides.
    if (labelsTouched) d.rebuildLabelNumbers();
    from.records.clear();
    from.name.clear();
    from.settings.reset();
}

}  // namespace kv
