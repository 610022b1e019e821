// Drawing the layers of one hex from the sprite sheets: terrain, buildings and bridges,
// line pieces, marks, the troop icon, hex marks, territory and borderlines.
#pragma once

#include <array>
#include <vector>

#include "framework/placement.h"
#include "view/sprite_image.h"
#include "view/sprite_sheets.h"

namespace kv {

class MapDocument;
struct HexCell;
struct TerrainLabel;
class TroopRecord;

// What the drawing of a hex shows.
struct HexDrawOptions {
    bool frame = false;
    bool troops = true;
    bool terrainLabels = true;
    bool victoryLabels = true;
    bool borderlines = true;
    bool borderMode = false;      // territories are shown while borderlines are edited
    bool unitIcons = true;        // unit icons rather than weapon-type icons
    bool reinforcements = false;  // the hex's troops come from the reinforcement index
    bool stacking = false;        // three stack positions per hex rather than one
    // Only what the exported bitmap shows: ground, buildings, bridges, rivers and roads,
    // with the terrain's default picture for the pieces of joined groups.
    bool terrainOnly = false;

    static HexDrawOptions of(const MapDocument& doc);
};

// The troops standing on a hex, by stack position.
struct HexTroop {
    int table = -1;  // -1: the position is empty
    int slot = 0;
};
using HexTroops = std::array<HexTroop, 3>;
// The positions of the hex examined for drawing (three with stacking, else one); a position
// naming no troop in use is empty.
HexTroops troopsAt(const MapDocument& doc, int col, int row, const HexDrawOptions& options);
// The terrain label of a hex, found through the hex's label number (a hex without a number
// has none, which keeps the search of the whole label table for the rare stale number).
const TerrainLabel* hexLabel(const MapDocument& doc, int col, int row);
// A troop's victory-condition bits (0 when it has none).
int victoryFlags(const TroopRecord& troop);
// The number of its ten unit-strength slots that hold units.
int unitCount(const TroopRecord& troop);

class HexPainter {
public:
    // Draws on `target` inside `clip`; every sprite copy adds its target rectangle to `dirty`
    // when one is given.
    HexPainter(const MapDocument& doc, const SpriteSheets& sheets, DrawSurface target,
               const Rect& clip, const HexDrawOptions& options, std::vector<Rect>* dirty);

    // Every layer of the hex (col, row) with its cell's top-left at (x, y). A hex outside
    // the map shows the outside mark.
    void drawHex(int col, int row, int x, int y);
    // The terrain of a cell that lies on no map (a palette's piece): ground, building or
    // bridge, river, road and supply line.
    void drawPiece(const HexCell& cell, int x, int y);
    // A troop's icon as the map shows it, in faction `faction`'s colours, at (x, y).
    void drawTroopIcon(const TroopRecord& troop, int faction, int x, int y);

private:
    int size() const { return sheets_.hexSize(); }
    // Cell (col, row) of an S-cell sheet, moved down by `down` pixels.
    void putCell(Sheet sheet, int col, int row, int x, int y, int down = 0);
    void putPart(const SpriteImage& sprite, const Rect& source, int x, int y);
    void putPart(Sheet sheet, const Rect& source, int x, int y) {
        putPart(sheets_[sheet], source, x, y);
    }

    void drawBase(const HexCell& cell, int x, int y);
    void drawGround(int picture, int x, int y);
    void drawRiver(const HexCell& cell, int x, int y);
    void drawRoadAndSupply(const HexCell& cell, int x, int y);
    void drawMarks(int col, int row, const HexCell& cell, int x, int y);
    void drawLabelMarker(int col, int row, const HexTroops& troops, int x, int y);
    void drawHexMarks(int col, int row, int x, int y);
    void drawBorders(int col, int row, const HexCell& cell, int x, int y);

    // The troop icon with its count, layer dots and regiment mark (hex_painter_troops.cpp).
    void drawTroop(const HexTroops& troops, int x, int y);
    void drawRegimentMark(int table, int slot, int x, int y);
    // A laid mine: a small round mark in the hex's lower left, dark red for a land mine and
    // yellow for a sea mine, ringed in black (the art has no picture for mines).
    void drawMine(const HexCell& cell, int x, int y);
    void putPixel(int x, int y, uint32_t rgb);
    int pictureOf(int picture, int terrain) const;

    const MapDocument& doc_;
    const SpriteSheets& sheets_;
    DrawSurface target_;
    Rect clip_;
    HexDrawOptions options_;
    std::vector<Rect>* dirty_;
};

}  // namespace kv
