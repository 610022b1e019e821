// One before-image of the undo history: a hex, a troop, both, a terrain label, a regiment or
// the troop counts.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/faction_record.h"
#include "document/map_grid.h"
#include "document/troop_record.h"

namespace kv {

struct UndoRecord {
    enum Kind : int16_t {
        Hex = 0,          // col, row, cell and overlay
        HexAndTroop = 1,  // all fields
        Troop = 2,        // table, slot and troop
        // The terrain label of the hex (col, row), kept in the first 38 bytes of `troop`:
        // labels live in their own packed table, which the hex images do not cover.
        Label = 3,
        // Regiment `slot` of faction `table`, kept in the first 198 bytes of `troop`: packing
        // the troop numbers moves regiment commanders along with their troops.
        Regiment = 4,
        // The six faction tables' counts, kept in the first 24 bytes of `troop`. Restoring a
        // troop only ever raises a count; an operation that lowers one records them all.
        TroopCounts = 5,
    };

    int16_t kind;
    int16_t table;
    int16_t slot;
    TroopRecord troop;
    int16_t col;
    int16_t row;
    HexCell cell;
    HexOverlay overlay;
};
static_assert(sizeof(UndoRecord) == 360);
static_assert(offsetof(UndoRecord, troop) == 6 && offsetof(UndoRecord, col) == 318);
static_assert(offsetof(UndoRecord, cell) == 322 && offsetof(UndoRecord, overlay) == 344);
static_assert(sizeof(TerrainLabel) <= TroopRecord::kSize);
static_assert(sizeof(RegimentRecord) <= TroopRecord::kSize);
static_assert(sizeof(TroopTable::count) <= TroopRecord::kSize);

}  // namespace kv
