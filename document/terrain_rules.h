// What a hex allows by its terrain and links: roads, sea supply lines, rivers and mines; and
// the terrain piece the drawing tools place.
#pragma once

#include <cstdint>

#include "document/map_grid.h"
#include "gamedata/terrain.h"

namespace kv {

// The current terrain piece of the terrain palette.
struct TerrainBrush {
    uint8_t valid = 0;   // 1 once chosen
    uint16_t owner = 0;  // colour row 0..6 of the piece, 0 neutral
    uint16_t terrainId = 0;
    uint16_t picture = 0;  // picture number; for a bridge the bridge piece
    uint8_t destroyed = 0;
    uint8_t supplyLine = 0;  // 1: the piece is a sea supply line

    // A piece drawn as links: a supply line, a river kind or a road.
    bool isLineBrush(const TerrainData& terrain) const;
};

// Picture numbers of a cell: below 1000 a terrain's own pictures; 1000..1999 the members of
// mega pieces, in groups of seven around a centre hex; from 2000 the joined pictures of the
// terrains that join with the hexes below them, three per terrain.
inline constexpr int kMegaFirstPicture = 1000;
inline constexpr int kMegaLastPicture = 1999;
inline constexpr int kMegaGroupSize = 7;
inline constexpr int kMegaCentreMember = 3;  // a mega brush's picture is its group's centre
inline constexpr int kJoinedFirstPicture = 2000;
inline constexpr int kJoinedPictureCount = 9;
inline constexpr bool isMegaPicture(int picture) {
    return picture >= kMegaFirstPicture && picture <= kMegaLastPicture;
}
// The side of the centre on which group member 0..6 sits; kDirectionSelf for the centre.
int megaMemberSide(int member);
// The member that sits on side 0..5 of the centre.
int megaMemberOnSide(int side);

// Hills, mountains and snow mountains join with hexes of these terrains below them.
inline constexpr int kTerrainHills = 4, kTerrainMountains = 5, kTerrainSnowMountains = 20;
inline constexpr bool joinsBelow(int terrain) {
    return terrain == kTerrainHills || terrain == kTerrainMountains ||
           terrain == kTerrainSnowMountains;
}
// The picture of such a terrain whose south-west and/or south-east neighbour joins it (at
// least one does; with neither it shows its own default picture).
int joinedPicture(int terrain, bool southWest, bool southEast);

// Mine kinds.
inline constexpr uint8_t kNoMine = 0;
inline constexpr uint8_t kLandMine = 1;
inline constexpr uint8_t kSeaMine = 2;

TerrainCategory categoryOf(const HexCell& cell, const TerrainData& terrain);
// A road stroke may pass through the hex.
bool mayCarryRoad(const HexCell& cell);
// Road links may be set on the hex.
bool roadsMayLink(const HexCell& cell);
bool supplyLinesAllowed(const HexCell& cell);
bool riversAllowed(const HexCell& cell, const TerrainData& terrain);
// A mine of `kind` may lie on the hex; kind 0 (no mine) is always allowed.
bool mineAllowed(const HexCell& cell, int kind, const TerrainData& terrain);

}  // namespace kv
