// A stroke of the road, sea supply line or river tool: each hex visited is linked with the
// one visited before it, on both sides where the terrain allows.
#pragma once

#include <optional>

#include "document/hex_geometry.h"

namespace kv {

class MapDocument;

enum class LinkKind { Road, SupplyLine, River };

class LinkStroke {
public:
    // `riverVariant` 0 river, 1 deep river, 2 frozen river (river strokes only).
    LinkStroke(MapDocument& document, LinkKind kind, int riverVariant = 0)
        : doc_(document), kind_(kind), riverVariant_(riverVariant) {}

    // Visits a hex of the map: links it with the previous hex when the two are neighbours,
    // clears its preview mark and marks it dirty. True when a river link was set on the hex
    // (its neighbours' pictures change too). Hexes outside the map are ignored.
    bool visit(HexPos hex);
    // The next visit starts a new stroke.
    void restart() { previous_.reset(); }

private:
    bool linkRoads(HexPos h, HexPos p, int towardsPrevious);
    bool linkSupplyLines(HexPos h, HexPos p, int towardsPrevious);
    bool linkRivers(HexPos h, HexPos p, int towardsPrevious);

    MapDocument& doc_;
    LinkKind kind_;
    int riverVariant_;
    std::optional<HexPos> previous_;
};

}  // namespace kv
