// What one gesture of the terrain and border tools does to the map, without a window: the pen
// (single and mega hex), the line, the box, the flood fill, the road/river delete and the
// paste. The tools and scripts both call these, so a stroke is the same however it is made.
#pragma once

#include <cstdint>
#include <vector>

#include "document/hex_geometry.h"
#include "document/terrain_rules.h"
#include "document/tool_state.h"

namespace kv {

class MapDocument;

// Sets the document's batch flag for the life of a multi-hex placement, so single placements
// post no building notifications.
class BatchScope {
public:
    explicit BatchScope(MapDocument& doc);
    ~BatchScope();
    BatchScope(const BatchScope&) = delete;
    BatchScope& operator=(const BatchScope&) = delete;

private:
    MapDocument& doc_;
    uint8_t old_;
};

// The brush a stroke puts down: the terrain piece, or in the border mode the territory and
// kind; `megaPen` is the mega pen (the six neighbours of each hex too).
struct StrokeBrush {
    TerrainBrush terrain;
    BorderBrush border;
    bool borderMode = false;
    bool megaPen = false;
};

// What a stroke painted: every hex it put the brush on, in order (a hex's neighbours show the
// change too), whether a victory-condition label became a terrain label, and whether the
// buildings are to be counted again.
struct StrokeResult {
    std::vector<HexPos> painted;
    bool labelDemoted = false;
    bool buildingsChanged = false;
};

// The pen on one hex: with the mega pen or a mega piece the six neighbours take the group's
// members.
void penStroke(MapDocument& doc, const StrokeBrush& brush, HexPos hex, StrokeResult& result);
// The line tool from `from` to `to`: the brush on every hex of the hex line (the mega pen: and
// on their neighbours), or for a line brush the links along it.
void lineStroke(MapDocument& doc, const StrokeBrush& brush, HexPos from, HexPos to,
                StrokeResult& result);
// The box tool over the rectangle with corners a and b.
void boxStroke(MapDocument& doc, const StrokeBrush& brush, HexPos a, HexPos b,
               StrokeResult& result);
// The flood fill from `seed`: the connected terrain (or territory in the border mode).
void floodStroke(MapDocument& doc, const StrokeBrush& brush, HexPos seed, StrokeResult& result);
// The road/river delete on one hex: its roads, supply lines and rivers; the mega pen also the
// neighbours' roads and supply lines. True when anything was removed.
bool deleteLinksStroke(MapDocument& doc, HexPos hex, bool megaPen);
// Pastes the selection's cells into the block centred on `cursor` (kept inside the map); with
// `ring` the selection's neighbours come along. Returns the number of hexes written.
int pasteStroke(MapDocument& doc, const HexRect& selection, HexPos cursor, bool ring);

}  // namespace kv
