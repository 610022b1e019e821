// The terrain edit mode's tools: pen (single and mega hex), line, box fill, flood fill and the
// road/river delete, and the right-button pick-up of a hex into the brush. Each gesture from
// press to release is one undo step; the hexes whose pictures change are queued in the view
// and flushed as the gesture goes.
#pragma once

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

// Registers the terrain tools for the terrain edit mode. The tools keep a reference to
// `brush`, which must outlive the router.
void installTerrainTools(ToolRouter& router, TerrainBrush& brush);

}  // namespace kv
