// The terrain rules by terrain index and category; the indices are fixed meanings of the
// terrain table.
#include "document/terrain_rules.h"

#include <algorithm>
#include <initializer_list>

#include "document/hex_geometry.h"

namespace kv {

namespace {

bool isOneOf(int id, std::initializer_list<int> ids) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// Member m of a mega group sits on this side of the centre.
constexpr int kMemberSide[kMegaGroupSize] = {kNorthWest, kNorthEast, kWest,     kDirectionSelf,
                                             kEast,      kSouthWest, kSouthEast};

// The first of a joining terrain's three joined pictures, counted from kJoinedFirstPicture.
int joinedGroup(int terrain) {
    switch (terrain) {
        case kTerrainHills: return 0;
        case kTerrainMountains: return 3;
        case kTerrainSnowMountains: return 6;
        default: return -1;
    }
}

}  // namespace

bool TerrainBrush::isLineBrush(const TerrainData& terrain) const {
    if (supplyLine == 1) return true;
    const TerrainCategory k = terrain.terrain(terrainId).category;
    return k == TerrainCategory::River || k == TerrainCategory::DeepRiver ||
           k == TerrainCategory::FrozenRiver || k == TerrainCategory::Road;
}

int megaMemberSide(int member) {
    return member >= 0 && member < kMegaGroupSize ? kMemberSide[member] : kDirectionSelf;
}

int megaMemberOnSide(int side) {
    for (int m = 0; m < kMegaGroupSize; ++m)
        if (kMemberSide[m] == side) return m;
    return kMegaCentreMember;
}

int joinedPicture(int terrain, bool southWest, bool southEast) {
    const int step = southWest && southEast ? 2 : southWest ? 1 : 0;
    return kJoinedFirstPicture + joinedGroup(terrain) + step;
}

TerrainCategory categoryOf(const HexCell& cell, const TerrainData& terrain) {
    return terrain.terrain(cell.terrain).category;
}

bool mayCarryRoad(const HexCell& cell) {
    if (cell.tempBridge != 0) return true;
    if (cell.riverLinks() != 0) return false;
    return !isOneOf(cell.terrain, {0, 12, 16, 24, 27, 28, 29, 30});
}

bool roadsMayLink(const HexCell& cell) {
    return cell.riverLinks() == 0 &&
           !isOneOf(cell.terrain, {0, 5, 11, 12, 16, 23, 24, 27, 28, 29, 30});
}

bool supplyLinesAllowed(const HexCell& cell) {
    return isOneOf(cell.terrain, {28, 29, 30, 39, 40});
}

bool riversAllowed(const HexCell& cell, const TerrainData& terrain) {
    return categoryOf(cell, terrain) <= TerrainCategory::Building &&
           !isOneOf(cell.terrain, {0, 12, 13, 16, 24, 25, 27, 28, 29, 30, 50, 51});
}

bool mineAllowed(const HexCell& cell, int kind, const TerrainData& terrain) {
    const uint16_t flags = terrain.terrain(cell.terrain).flags;
    switch (kind) {
        case kNoMine: return true;
        case kLandMine:
            return cell.tempBridge == 0 && cell.riverLinks() == 0 &&
                   categoryOf(cell, terrain) <= TerrainCategory::Building &&
                   (flags & kTerrainLandMines) != 0;
        case kSeaMine:
            return cell.tempBridge == 0 && cell.river == 0 && (flags & kTerrainSeaMines) != 0;
        default: return false;
    }
}

}  // namespace kv
