// The building count.
#include "document/building_count.h"

#include "document/map_document.h"

namespace kv {

BuildingCount::BuildingCount(const std::vector<TerrainType>& types) {
    rowOfTerrain_.fill(-1);
    for (size_t i = 0; i < types.size() && i < rowOfTerrain_.size(); ++i) {
        if (!isFacility(types[i].category)) continue;
        rowOfTerrain_[i] = static_cast<int16_t>(terrainOfRow_.size());
        terrainOfRow_.push_back(int(i));
        incomeOfRow_.push_back(types[i].income);
    }
    cells_.resize(terrainOfRow_.size());
}

int BuildingCount::rowOf(int terrainId) const {
    return terrainId >= 0 && terrainId < int(rowOfTerrain_.size())
               ? rowOfTerrain_[size_t(terrainId)]
               : -1;
}

int BuildingCount::columnOf(int owner) {
    return owner >= 1 && owner <= 6 ? owner - 1 : kNeutralColumn;
}

void BuildingCount::add(int column, int row, const Cell& delta) {
    for (Cell* c : {&cells_[size_t(row)][size_t(column)], &cells_[size_t(row)][kAllColumn],
                    &totals_[size_t(column)], &totals_[kAllColumn]}) {
        c->intact += delta.intact;
        c->destroyed += delta.destroyed;
        c->income += delta.income;
    }
}

void BuildingCount::recount(const MapDocument& doc) {
    for (auto& row : cells_) row.fill(Cell{});
    totals_.fill(Cell{});
    const int width = doc.width(), height = doc.height();
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            const HexCell* cell = doc.cellAt(c, r);
            const int row = cell ? rowOfTerrain_[cell->terrain] : -1;
            if (row < 0) continue;
            const Cell delta =
                cell->destroyed == 1 ? Cell{0, 1, 0} : Cell{1, 0, incomeOfRow_[size_t(row)]};
            add(columnOf(cell->owner), row, delta);
        }
    }
}

bool BuildingCount::apply(Change change, int terrainId, int owner) {
    const int row = rowOf(terrainId);
    if (row < 0) return false;
    const int64_t income = incomeOfRow_[size_t(row)];
    Cell delta;
    switch (change) {
        case Change::IntactRemoved: delta = {-1, 0, -income}; break;
        case Change::IntactAdded: delta = {1, 0, income}; break;
        case Change::DestroyedRemoved: delta = {0, -1, 0}; break;
        case Change::DestroyedAdded: delta = {0, 1, 0}; break;
    }
    add(columnOf(owner), row, delta);
    return true;
}

const BuildingCount::Cell& BuildingCount::cell(int column, int row) const {
    static const Cell kEmpty{};
    if (column < 0 || column >= kColumns || row < 0 || row >= rowCount()) return kEmpty;
    return cells_[size_t(row)][size_t(column)];
}

const BuildingCount::Cell& BuildingCount::total(int column) const {
    static const Cell kEmpty{};
    return column >= 0 && column < kColumns ? totals_[size_t(column)] : kEmpty;
}

}  // namespace kv
