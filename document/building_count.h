// The building count: intact and destroyed facilities of every kind per owner, with the
// income the intact ones yield. A recount visits every hex; single changes adjust the counts.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "gamedata/terrain.h"

namespace kv {

class MapDocument;

class BuildingCount {
public:
    // Owner columns: the six factions, the neutral one (owner 0 or anything else), all owners.
    static constexpr int kColumns = 8, kNeutralColumn = 6, kAllColumn = 7;
    // Rows the window has room for; the totals stand below them.
    static constexpr int kShownRows = 19;

    struct Cell {
        int32_t intact = 0;
        int32_t destroyed = 0;
        int64_t income = 0;  // 65536 hexes of income 65535 pass 32 bits
        bool operator==(const Cell&) const = default;
    };
    enum class Change { IntactRemoved, IntactAdded, DestroyedRemoved, DestroyedAdded };

    // Rows 0, 1, 2, … for the facility types of the table in table order.
    explicit BuildingCount(const std::vector<TerrainType>& types);

    int rowCount() const { return int(terrainOfRow_.size()); }
    // The row of a terrain id, -1 for none (not a facility, or no such terrain).
    int rowOf(int terrainId) const;
    int terrainOfRow(int row) const { return terrainOfRow_.at(size_t(row)); }
    static int columnOf(int owner);

    void recount(const MapDocument& doc);
    // One facility more or less; false (nothing changed) when the terrain has no row.
    bool apply(Change change, int terrainId, int owner);

    // Column 0..7 and row 0..rowCount() - 1; an empty cell out of range.
    const Cell& cell(int column, int row) const;
    // Each owner's total over every row.
    const Cell& total(int column) const;

private:
    void add(int column, int row, const Cell& delta);

    std::array<int16_t, 256> rowOfTerrain_;
    std::vector<int> terrainOfRow_;
    std::vector<uint16_t> incomeOfRow_;
    std::vector<std::array<Cell, kColumns>> cells_;
    std::array<Cell, kColumns> totals_{};
};

}  // namespace kv
