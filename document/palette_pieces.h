// What the terrain palette offers: its nine tabs and, for each, the pieces at their grid cells
// as the brushes that choosing them sets.
#pragma once

#include <string>
#include <vector>

#include "document/terrain_rules.h"

namespace kv {

enum class PaletteTab : int {
    Basic,
    BuildingsA,
    BuildingsB,
    Bridges,
    TempBridges,
    Lines,
    DestroyedA,
    DestroyedB,
    DestroyedBridges,
    Count
};
inline constexpr int kPaletteTabCount = static_cast<int>(PaletteTab::Count);
// The tab's caption (UTF-8).
const char* paletteTabName(PaletteTab tab);

// The grid: 20-pixel cells, at most 30 columns and 9 rows.
inline constexpr int kPaletteCell = 20;
inline constexpr int kPaletteColumns = 30, kPaletteRows = 9;
// Colour rows of the building and bridge tabs: 0 neutral, 1..6 the factions.
inline constexpr int kPaletteColourRows = 7;

struct PalettePiece {
    int col = 0, row = 0;
    TerrainBrush brush;  // valid = 1
    // The piece as a hex cell, for drawing its picture.
    HexCell cell{};
    // The terrain's name or the piece's own (CP932).
    std::string name;
    // Listed once per colour row: the tooltip names the owner.
    bool ownerRows = false;
};

// The pieces of a tab, row by row.
std::vector<PalettePiece> palettePieces(PaletteTab tab, const TerrainData& terrain);
// The piece at a cell of a tab, or null.
const PalettePiece* pieceAt(const std::vector<PalettePiece>& pieces, int col, int row);
// The same piece: owner, terrain, picture, destroyed and supply-line flag agree.
bool sameBrush(const TerrainBrush& a, const TerrainBrush& b);
// The brush's name for captions (CP932): "海上補給線" for the supply line, the mega pieces'
// own names, else the terrain's name.
std::string brushName(const TerrainBrush& brush, const TerrainData& terrain);

}  // namespace kv
