// The editor's tool state kept in the document: the edit mode and draw kinds the menus and the
// tool window set, the palettes' selections, and the flags a mouse operation raises.
#pragma once

#include <cstdint>

namespace kv {

// Edit modes.
inline constexpr int kEditTerrain = 0, kEditTroops = 1, kEditReinforcements = 2, kEditLabels = 3,
                     kEditBorderlines = 4;
// Draw kinds.
inline constexpr int kDrawPen = 0, kDrawLine = 1, kDrawBox = 2, kDrawCopy = 3, kDrawDeleteLinks = 4,
                     kDrawFlood = 5;

// What a mine placement lays: kind 0 none (clears), 1 land mine, 2 sea mine; the activation
// count; bit f set for each faction f that sees the mine.
struct MineBrush {
    uint8_t kind = 0;
    uint8_t count = 0;
    uint8_t seenBy = 0;
};

// What a borderline placement sets: the territory (faction slot + 1, 0 none) and the kind of
// all six sides.
struct BorderBrush {
    int faction = 0;
    int kind = 0;
};

// What the troop place tool puts down, chosen in the troop palette or the troop list. A new
// troop (fromList 0) is made of `weaponId` with the brush's experience (0..250) and unit count
// (1..10); with fromList 1 the unplaced troop in slot `item` of the table is put on the map.
// `faction` is the troop table (0..5). Cleared (valid 0) after every placement.
struct TroopBrush {
    uint8_t valid = 0;
    uint8_t fromList = 0;
    int faction = 0;
    int item = 2;  // the troop slot when fromList is 1
    // The palette's selection the weapon was taken from.
    int productType = 0;
    int weaponType = 0;
    int weaponId = 0;
    int experience = 0;
    int unitCount = 10;
};

struct ToolState {
    int editMode = kEditTerrain;
    int drawKind = kDrawPen;
    int penKind = 0;        // 0 single hex, 1 mega hex
    int troopDrawKind = 0;  // 0 place, 1 move, 2 delete
    int mapDrawMethod = 1;  // 0 underlay only, 1 map only, 2 transparent
    // The appearance turn shown and edited in the reinforcement mode.
    int reinforcementTurn = 0;
    // Set while a troop is picked up or a troop dialog runs: undo and redo wait.
    uint8_t interactionBusy = 0;
    // Set while a copied area waits to be pasted.
    uint8_t areaSelectActive = 0;
    // Set while a multi-hex tool runs, so single placements post no building notifications.
    uint8_t batchEdit = 0;
    // Set while the mine palette is shown: the terrain mode's pen lays and removes mines.
    uint8_t minePlacement = 0;
    // The borderline and mine palettes' selections.
    int borderFaction = 0;
    int borderKind = 0;
    uint8_t mineKind = 0;
    uint8_t mineCount = 0;
    uint8_t mineSeenBy = 0;
    TroopBrush troopBrush;

    BorderBrush borderBrush() const { return {borderFaction, borderKind}; }
    MineBrush mineBrush() const { return {mineKind, mineCount, mineSeenBy}; }
};

}  // namespace kv
