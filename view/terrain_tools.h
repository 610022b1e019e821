// The terrain and border edit modes' tools: pen (single and mega hex), line, box fill, flood
// fill, copy and paste, and the road/river delete; the right-button pick-up of a hex into the
// brush with the missile base menu, and the borderline menu of the border mode. Each gesture
// from press to release is one undo step; the hexes whose pictures change are queued in the
// view and flushed as the gesture goes.
#pragma once

#include <functional>

#include "document/terrain_rules.h"
#include "view/map_tool.h"

namespace kv {

class MapDocument;
class ToolRouter;

// The draw kind a press acts with: pen, box and flood fill draw a line brush as a line.
int effectiveTerrainDrawKind(const MapDocument& doc, const TerrainBrush& brush);

// The hex's piece as a brush: a bridge gives its bridge piece, a mega member its group's
// centre. Outside the map the brush stays as it is.
void pickUpTerrain(const MapDocument& doc, HexPos hex, TerrainBrush& brush);

// What the tools hand to the editor: the dialogs their context menus open, and the brush a
// pick-up changed (the terrain palette shows it). Any of them may be empty.
struct TerrainToolHooks {
    std::function<void(ToolHost&, HexPos)> missileBaseDialog;
    std::function<void(ToolHost&, HexPos)> borderlineDialog;
    std::function<void()> brushPicked;
};

// The context menu's entry that opens a hex's properties.
inline constexpr int kHexPropertiesItem = 1;

// Registers the tools of the terrain and border edit modes. The tools keep a reference to
// `brush`, which must outlive the router.
void installTerrainTools(ToolRouter& router, TerrainBrush& brush, TerrainToolHooks hooks = {});

}  // namespace kv
