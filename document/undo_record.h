// One before-image of the undo history: a hex, a troop, both, or a terrain label.
#pragma once

#include <cstddef>
#include <cstdint>

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

}  // namespace kv
