// Terrain labels: kept packed at the front of the label table, one per hex, numbered in the
// hexes' overlays.
#include "document/map_document.h"

#include <algorithm>

namespace kv {

namespace {

bool labelIsAt(const TerrainLabel& l, int col, int row) {
    return l.inUse() && l.col == col && l.row == row;
}

// The index of the label at the hex, or -1. The hex's number is tried first; while an undo
// step restores old overlays it may be stale, and the table is searched.
int labelIndexAt(const MapDocument& doc, int col, int row) {
    if (!doc.contains(col, row)) return -1;
    const auto& labels = doc.mapGrid.labels;
    const int number = doc.labelNumberAt(col, row);
    if (number >= 1 && number <= MapGrid::kMaxLabels &&
        labelIsAt(labels[size_t(number - 1)], col, row))
        return number - 1;
    for (int k = 0; k < MapGrid::kMaxLabels; ++k)
        if (labelIsAt(labels[size_t(k)], col, row)) return k;
    return -1;
}

}  // namespace

const TerrainLabel* MapDocument::labelAt(int col, int row) const {
    const int i = labelIndexAt(*this, col, row);
    return i < 0 ? nullptr : &mapGrid.labels[size_t(i)];
}

void MapDocument::rebuildLabelNumbers() {
    const HexArea a = area();
    HexOverlay* const overlays = mapGrid.overlays.data();
    for (int i = 0, hexes = a.hexCount(); i < hexes; ++i) overlays[i].labelNumber = 0;
    for (int k = 0; k < MapGrid::kMaxLabels; ++k) {
        const TerrainLabel& l = mapGrid.labels[size_t(k)];
        if (HexOverlay* o = l.inUse() ? overlayAt(l.col, l.row) : nullptr)
            o->labelNumber = static_cast<int16_t>(k + 1);
    }
}

bool MapDocument::setLabel(int col, int row, std::string_view cp932, int kind, int progress) {
    if (!contains(col, row)) return false;
    TerrainLabel label{};
    label.setText(cp932);
    if (!label.inUse()) {
        deleteLabel(col, row);
        return true;
    }
    const int existing = labelIndexAt(*this, col, row);
    if (existing < 0 && labelCount() >= MapGrid::kMaxLabels) return false;
    label.col = static_cast<uint8_t>(col);
    label.row = static_cast<uint8_t>(row);
    label.kind = static_cast<uint8_t>(kind);
    label.value = static_cast<uint8_t>(progress);
    history.recordLabel(col, row);
    placeLabelRecord(col, row, label);
    return true;
}

bool MapDocument::deleteLabel(int col, int row) {
    if (labelIndexAt(*this, col, row) < 0) return false;
    history.recordLabel(col, row);
    placeLabelRecord(col, row, TerrainLabel{});
    return true;
}

void MapDocument::placeLabelRecord(int col, int row, const TerrainLabel& label) {
    if (!contains(col, row)) return;
    auto& labels = mapGrid.labels;
    const int index = labelIndexAt(*this, col, row);
    if (label.inUse()) {
        const int target = index >= 0 ? index : labelCount();
        if (target >= MapGrid::kMaxLabels) return;
        labels[size_t(target)] = label;
        labels[size_t(target)].col = static_cast<uint8_t>(col);
        labels[size_t(target)].row = static_cast<uint8_t>(row);
        overlayAt(col, row)->labelNumber = static_cast<int16_t>(target + 1);
    } else if (index >= 0) {
        // The later labels move down one place and the last slot is cleared.
        std::move(labels.begin() + index + 1, labels.end(), labels.begin() + index);
        labels.back() = TerrainLabel{};
        rebuildLabelNumbers();
    }
    markDirty(col, row);
}

}  // namespace kv
