// The hex grid's tables: allocation at their largest size, clearing and label packing.
#include "document/map_grid.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

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

namespace {

// The zero value of these records is all zero bytes, so a table prefix clears with memset.
template <class T>
void zeroPrefix(std::vector<T>& table, size_t n) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::memset(static_cast<void*>(table.data()), 0, std::min(n, table.size()) * sizeof(T));
}

}  // namespace

void MapGrid::clear(int hexesInUse) {
    // Clearing all 65536 hexes of every table costs more than a whole load of a small map.
    const size_t n = std::max(filled_, static_cast<size_t>(std::clamp(hexesInUse, 0, kMaxHexes)));
    zeroPrefix(cells, n);
    zeroPrefix(overlays, n);
    zeroPrefix(hexMarks, n);
    zeroPrefix(troopIndex, n);
    zeroPrefix(labels, labels.size());
    filled_ = 0;
}

void MapGrid::noteFilled(size_t hexes) {
    filled_ = std::max(filled_, std::min(hexes, static_cast<size_t>(kMaxHexes)));
}

int MapGrid::labelCount() const {
    for (int i = kMaxLabels - 1; i >= 0; --i)
        if (labels[i].inUse()) return i + 1;
    return 0;
}

void MapGrid::packLabels() {
    // The labels in use keep their order at the front; every place after them is emptied.
    const auto end = std::remove_if(labels.begin(), labels.end(),
                                    [](const TerrainLabel& l) { return !l.inUse(); });
    std::fill(end, labels.end(), TerrainLabel{});
}

}  // namespace kv
