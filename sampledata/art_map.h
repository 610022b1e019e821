// The map art as the map view uses it: sheets scaled to 48, 32 or 16 pixels and recoloured
// per faction, and a small test map drawn cell by cell in the view's layer order.
#pragma once

#include <QImage>

#include <map>
#include <string>
#include <vector>

namespace kv::sample {

// Rotates every pixel but the key by `angle` degrees (the faction colour rotation).
QImage recolouredKeyed(const QImage& picture, int angle);
// Copies the part `from` of `src` to (x, y) of `dest`, leaving `dest` alone under the key.
void drawKeyedPart(QImage& dest, int x, int y, const QImage& src, const QRect& from);
// The hue angle of faction slot 0..5 in the default colour table.
int factionAngle(int faction);

// Cells of the sheets at a hex size, in the colour rows the view draws from.
class MapSheets {
public:
    // `files`: the art by its path in the program folder ("bmp/land48_base.bmp", ...).
    explicit MapSheets(const std::map<std::string, QImage>& files);

    QImage base(int size, int picture, bool framed) const;
    QImage parts(int size, int index, bool framed) const;
    // Colour row 0 neutral, 1..6 the factions.
    QImage building(int size, int colour, int picture, bool destroyed) const;
    QImage bridge(int size, int colour, int piece, bool destroyed) const;
    QImage tempBridge(int size, int piece, bool framed) const;
    // kind 0 road, 1..3 river, deep river, frozen river, 4 sea supply line.
    QImage road(int size, int links, int kind) const;
    QImage weaponIcon(int size, int faction, int picture) const;
    QImage effect(int size, int index) const;

private:
    struct Set {
        QImage base, parts, building, bridge, temp, road, icons, effects;
    };
    const Set& at(int size) const;
    std::map<int, Set> sets_;
};

// A hex of the test map: the fields of a map cell the view draws from.
struct TestHex {
    int terrain = 30;
    int picture = 30;
    int owner = 0;
    int road = 0, river = 0, supply = 0;
    int bridgePiece = -1;
    int tempBridge = 0;
    bool destroyed = false;
    int icon = -1;  // weapon-type picture of a troop standing here
    int faction = 0;
};

struct TestMap {
    int width = 0, height = 0;
    std::vector<TestHex> hexes;
    TestHex& at(int col, int row) { return hexes[static_cast<size_t>(row * width + col)]; }
    const TestHex& at(int col, int row) const {
        return hexes[static_cast<size_t>(row * width + col)];
    }
};

// Sea and coast, plains, forest, hills, both massifs, snow, desert, a river with a bridge and
// a temporary bridge, roads, a sea supply line, cities, a port, an airport and a few troops.
TestMap sampleTestMap();

// Draws the map at hex size `size` as the view places its cells (odd rows half a hex to the
// right), with or without the hex frame.
QImage renderTestMap(const TestMap& map, const MapSheets& sheets, int size, bool frame);

}  // namespace kv::sample
