// The HQ map's arithmetic: its scale and window size for a map, the colour square of a hex,
// and the frame of the map view's visible area (where it is drawn, where a drag puts it).
#pragma once

#include <vector>

#include "document/hex_geometry.h"
#include "gamedata/terrain.h"

namespace kv {

struct HexCell;

struct HqLayout {
    int scale = 1;  // pixels per hex: 2 for maps of at most 64 × 64
    int clientWidth = 108, clientHeight = 33;
    int originX = 0, originY = 4;  // top-left of the overview in the window

    static HqLayout of(int mapWidth, int mapHeight);
    // Where the two colour-row buttons sit (the second is `buttonX(1)`).
    int buttonX(int which) const { return clientWidth / 2 + (which == 0 ? -50 : 2); }
    int buttonY(int mapHeight) const { return scale * mapHeight + 8; }
};

// Which square of the strips colours a hex: a terrain square (of the chosen colour row) or,
// for a facility, an owner square (6 for none).
struct HqSquare {
    bool owners = false;
    int index = 0;
    bool operator==(const HqSquare&) const = default;
};
HqSquare hqSquare(const HexCell& cell, const std::vector<TerrainType>& types);

// The frame around the visible area, in overview pixels (right and bottom inclusive). Not
// shown when the view shows the whole map.
struct HqFrame {
    bool shown = false;
    int left = 0, top = 0, right = -1, bottom = -1;
    bool operator==(const HqFrame&) const = default;
};
bool hqFrameShown(int mapWidth, int mapHeight, HexPos visible);
HqFrame hqFrame(const HqLayout& layout, int mapWidth, int mapHeight, HexPos topLeft,
                HexPos visible);
// The frame's top-left hex for a point of the window under the mouse: the frame centred on
// the point, kept inside the map (at 0 when the view is wider or taller than the map).
HexPos hqFrameAt(const HqLayout& layout, int mapWidth, int mapHeight, HexPos visible, int x, int y);

}  // namespace kv
