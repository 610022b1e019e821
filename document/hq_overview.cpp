// The HQ map's arithmetic.
#include "document/hq_overview.h"

#include <algorithm>

#include "document/map_grid.h"

namespace kv {

namespace {

// The terrains that stand for a river of each variant on the overview.
constexpr int kRiverTerrain = 14, kRiverTerrainVariant1 = 15, kRiverTerrainVariant2 = 26;
constexpr int kNoOwnerSquare = 6;

}  // namespace

HqLayout HqLayout::of(int mapWidth, int mapHeight) {
    HqLayout l;
    l.scale = mapWidth <= 64 && mapHeight <= 64 ? 2 : 1;
    l.clientWidth = l.scale * mapWidth >= 100 ? l.scale * mapWidth + 8 : 108;
    l.clientHeight = l.scale * mapHeight + 32;
    l.originX = (l.clientWidth - mapWidth * l.scale) / 2;
    l.originY = 4;
    return l;
}

HqSquare hqSquare(const HexCell& cell, const std::vector<TerrainType>& types) {
    int terrain = cell.terrain;
    if (cell.riverLinks() != 0) {
        const int variant = cell.riverVariant();
        terrain = variant == 1   ? kRiverTerrainVariant1
                  : variant == 2 ? kRiverTerrainVariant2
                                 : kRiverTerrain;
    }
    // A terrain the table lacks is drawn as square 0 rather than read past the table.
    if (terrain >= int(types.size())) return {false, 0};
    const TerrainType& type = types[size_t(terrain)];
    if (type.category < TerrainCategory::Capital) return {false, type.overviewColour};
    const int owner = cell.owner >= 1 && cell.owner <= 7 ? cell.owner - 1 : kNoOwnerSquare;
    return {true, owner};
}

bool hqFrameShown(int mapWidth, int mapHeight, HexPos visible) {
    return visible.col < mapWidth || visible.row < mapHeight;
}

HqFrame hqFrame(const HqLayout& layout, int mapWidth, int mapHeight, HexPos topLeft,
                HexPos visible) {
    HqFrame f;
    f.shown = hqFrameShown(mapWidth, mapHeight, visible);
    if (!f.shown) return f;
    const int s = layout.scale;
    f.left = topLeft.col * s;
    f.top = topLeft.row * s;
    f.right = std::min(mapWidth * s, (topLeft.col + visible.col) * s) - 1;
    f.bottom = std::min(mapHeight * s, (topLeft.row + visible.row) * s) - 1;
    return f;
}

HexPos hqFrameAt(const HqLayout& layout, int mapWidth, int mapHeight, HexPos visible, int x,
                 int y) {
    const int s = std::max(1, layout.scale);
    const int col = (x - layout.originX) / s - visible.col / 2;
    const int row = (y - layout.originY) / s - visible.row / 2;
    return {std::max(0, std::min(col, mapWidth - visible.col)),
            std::max(0, std::min(row, mapHeight - visible.row))};
}

}  // namespace kv
