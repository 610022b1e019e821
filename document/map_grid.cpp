// The hex grid's tables: allocation at their largest size, clearing and label packing.
#include "document/map_grid.h"

#include <algorithm>
#include <cstring>

#include "framework/cp932.h"

namespace kv {

std::string TerrainLabel::textString() const {
    return fieldText(text, kTextSize);
}

void TerrainLabel::setText(std::string_view cp932) {
    const std::string cut = cutToBytes(cp932, kTextSize - 1);
    std::memset(text, 0, kTextSize);
    std::memcpy(text, cut.data(), cut.size());
}

MapGrid::MapGrid()
    : cells(kMaxHexes),
      overlays(kMaxHexes),
      hexMarks(kMaxHexes),
      troopIndex(kMaxHexes),
      labels(kMaxLabels) {}

void MapGrid::clear() {
    std::fill(cells.begin(), cells.end(), HexCell{});
    std::fill(overlays.begin(), overlays.end(), HexOverlay{});
    std::fill(hexMarks.begin(), hexMarks.end(), 0u);
    std::fill(troopIndex.begin(), troopIndex.end(), TroopIndexRecord{});
    std::fill(labels.begin(), labels.end(), TerrainLabel{});
}

int MapGrid::labelCount() const {
    for (int i = kMaxLabels - 1; i >= 0; --i)
        if (labels[i].inUse()) return i + 1;
    return 0;
}

void MapGrid::packLabels() {
    auto end = std::stable_partition(labels.begin(), labels.end(),
                                     [](const TerrainLabel& l) { return l.inUse(); });
    std::fill(end, labels.end(), TerrainLabel{});
}

}  // namespace kv
