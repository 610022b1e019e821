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

// Mega pieces: pictures 1000..1999 in groups of seven around a centre hex.
inline constexpr int kMegaFirstPicture = 1000;
inline constexpr int kMegaLastPicture = 1999;
inline constexpr bool isMegaPicture(int picture) {
    return picture >= kMegaFirstPicture && picture <= kMegaLastPicture;
}
// The side of the centre on which group member 0..6 sits; kDirectionSelf for the centre.
int megaMemberSide(int member);
// The member that sits on side 0..5 of the centre.
int megaMemberOnSide(int side);

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
