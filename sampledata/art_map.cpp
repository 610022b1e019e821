// The map art as the map view uses it, and the contact sheet's test map.
#include "sampledata/art_map.h"

#include <QPainter>

#include <string_view>

#include "document/hex_geometry.h"
#include "framework/faction_colours.h"
#include "gamedata/terrain.h"
#include "sampledata/art.h"
#include "sampledata/art_canvas.h"
#include "sampledata/art_contact.h"
#include "sampledata/terrain_data.h"

namespace kv::sample {

QImage recolouredKeyed(const QImage& picture, int angle) {
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        recolourPixels(reinterpret_cast<uint32_t*>(out.scanLine(y)),
                       static_cast<size_t>(out.width()), angle);
    }
    return out;
}

void drawKeyedPart(QImage& dest, int x, int y, const QImage& src, const QRect& from) {
    for (int sy = 0; sy < from.height(); ++sy) {
        const int dy = y + sy;
        if (dy < 0 || dy >= dest.height()) continue;
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(from.y() + sy));
        auto* out = reinterpret_cast<QRgb*>(dest.scanLine(dy));
        for (int sx = 0; sx < from.width(); ++sx) {
            const int dx = x + sx;
            if (dx < 0 || dx >= dest.width()) continue;
            const QRgb p = in[from.x() + sx] | 0xFF000000u;
            if (p != kKey) out[dx] = p;
        }
    }
}

int factionAngle(int faction) {
    static const FactionColourTable defaults;
    return defaults.hueAngle(FactionColourTable::factionEntry(faction));
}

namespace {

QImage rows(const QImage& sheet, int first, int count) {
    return sheet.copy(0, first * kCell, sheet.width(), count * kCell);
}

// Builds the 48-pixel sheets in the view's colour rows, then scales them.
std::map<int, QImage> scaledSet(const QImage& sheet48) {
    return {{48, sheet48}, {32, shrinkKeyed(sheet48, 32)}, {16, shrinkKeyed(sheet48, 16)}};
}

}  // namespace

MapSheets::MapSheets(const std::map<std::string, QImage>& files) {
    auto file = [&](const char* path) {
        const auto it = files.find(path);
        return it != files.end() ? it->second.convertToFormat(QImage::Format_RGB32) : QImage();
    };
    const QImage build = file("bmp/land48_build.bmp");
    const QImage bridge = file("bmp/bridge48.bmp");
    const QImage icons = file("bmp/unit48.bmp");
    // Buildings: for colour k the plain rows with the colour rows keyed over them.
    QImage building(10 * kCell, 42 * kCell, QImage::Format_RGB32);
    {
        QPainter p(&building);
        for (int k = 0; k < 7; ++k) {
            QImage block = rows(build, 0, 3);
            const QImage over = k == 0 ? rows(build, 0, 3)
                                       : recolouredKeyed(rows(build, 3, 3), factionAngle(k - 1));
            drawKeyedPart(block, 0, 0, over, over.rect());
            p.drawImage(0, 3 * k * kCell, block);
            p.drawImage(0, (21 + 3 * k) * kCell, block);
        }
    }
    QImage bridges(9 * kCell, 14 * kCell, QImage::Format_RGB32);
    {
        QPainter p(&bridges);
        for (int k = 0; k < 7; ++k) {
            const int angle = k == 0 ? 0 : factionAngle(k - 1);
            p.drawImage(0, k * kCell, recolouredKeyed(rows(bridge, k == 0 ? 0 : 1, 1), angle));
            p.drawImage(0, (7 + k) * kCell,
                        recolouredKeyed(rows(bridge, k == 0 ? 2 : 3, 1), angle));
        }
    }
    QImage iconSheet(42 * kCell, 10 * kCell, QImage::Format_RGB32);
    {
        QPainter p(&iconSheet);
        for (int f = 0; f < 6; ++f) {
            const QImage block = icons.copy(7 * f * kCell, 0, 7 * kCell, 10 * kCell);
            p.drawImage(7 * f * kCell, 0, recolouredKeyed(block, factionAngle(f)));
        }
    }
    const auto base = scaledSet(file("bmp/land48_base.bmp"));
    const auto parts = scaledSet(file("bmp/land48_parts.bmp"));
    const auto buildingSets = scaledSet(building);
    const auto bridgeSets = scaledSet(bridges);
    const auto temp = scaledSet(rows(bridge, 4, 2));
    const auto road = scaledSet(file("bmp/road_48.bmp"));
    const auto iconSets = scaledSet(iconSheet);
    const auto effects = scaledSet(file("bmp/effect_48.bmp"));
    for (int size : {48, 32, 16}) {
        sets_[size] = {base.at(size), parts.at(size), buildingSets.at(size), bridgeSets.at(size),
                       temp.at(size), road.at(size),  iconSets.at(size),     effects.at(size)};
    }
}

const MapSheets::Set& MapSheets::at(int size) const {
    return sets_.at(size);
}

namespace {

QImage cut(const QImage& sheet, int column, int row, int size) {
    return sheet.copy(column * size, row * size, size, size);
}

}  // namespace

QImage MapSheets::base(int size, int picture, bool framed) const {
    return cut(at(size).base, picture % 10, picture / 10 + (framed ? 4 : 0), size);
}

QImage MapSheets::parts(int size, int index, bool framed) const {
    return cut(at(size).parts, index % 10, index / 10 + (framed ? 3 : 0), size);
}

QImage MapSheets::building(int size, int colour, int picture, bool destroyed) const {
    return cut(at(size).building, picture % 10, picture / 10 + 3 * colour + (destroyed ? 21 : 0),
               size);
}

QImage MapSheets::bridge(int size, int colour, int piece, bool destroyed) const {
    return cut(at(size).bridge, piece, colour + (destroyed ? 7 : 0), size);
}

QImage MapSheets::tempBridge(int size, int piece, bool framed) const {
    return cut(at(size).temp, piece, framed ? 1 : 0, size);
}

QImage MapSheets::road(int size, int links, int kind) const {
    const int k = links & 63;
    return cut(at(size).road, k < 42 ? k : k - 42, k < 42 ? kind : kind + 5, size);
}

QImage MapSheets::effect(int size, int index) const {
    return cut(at(size).effects, index, 0, size);
}

QImage MapSheets::weaponIcon(int size, int faction, int picture) const {
    return cut(at(size).icons, picture / 10 + 7 * faction, picture % 10, size);
}

namespace {

const std::vector<TerrainType>& terrainTable() {
    static const std::vector<TerrainType> table = parseTerrainTable(terrainDataBytes());
    return table;
}

int categoryOf(int terrain) {
    const auto& t = terrainTable();
    return terrain >= 0 && terrain < static_cast<int>(t.size())
               ? static_cast<int>(t[terrain].category)
               : 0;
}

int defaultPictureOf(int terrain) {
    const auto& t = terrainTable();
    return terrain >= 0 && terrain < static_cast<int>(t.size()) ? t[terrain].defaultPicture : 0;
}

bool roadLinks(const TestHex& h) {
    static const int kNoLink[] = {0, 5, 11, 12, 16, 23, 24, 27, 28, 29, 30};
    if (h.river) return false;
    for (int id : kNoLink) {
        if (h.terrain == id) return false;
    }
    return true;
}

bool riversAllowed(const TestHex& h) {
    static const int kNo[] = {0, 12, 13, 16, 24, 25, 27, 28, 29, 30, 50, 51};
    if (categoryOf(h.terrain) > 11) return false;
    for (int id : kNo) {
        if (h.terrain == id) return false;
    }
    return true;
}

bool supplyAllowed(const TestHex& h) {
    return h.terrain == 28 || h.terrain == 29 || h.terrain == 30 || h.terrain == 39 ||
           h.terrain == 40;
}

enum class Line { Road, River, Supply };

// Links the hexes along a chain of waypoints with the stroke rules of the drawing tools.
void stroke(TestMap& map, std::initializer_list<HexPos> waypoints, Line kind) {
    std::vector<HexPos> path;
    const HexPos* previous = nullptr;
    for (const HexPos& w : waypoints) {
        if (previous) {
            for (const HexPos& h : hexLine(*previous, w)) {
                if (path.empty() || !(path.back() == h)) path.push_back(h);
            }
        }
        previous = &w;
    }
    for (size_t i = 1; i < path.size(); ++i) {
        TestHex& from = map.at(path[i - 1].col, path[i - 1].row);
        TestHex& to = map.at(path[i].col, path[i].row);
        const int d = directionTo(path[i - 1], path[i]);
        if (d < 0) continue;
        const int back = oppositeDirection(d);
        switch (kind) {
            case Line::Road:
                if (roadLinks(from)) from.road |= 1 << d;
                if (roadLinks(to)) to.road |= 1 << back;
                break;
            case Line::River:
                if (riversAllowed(from)) from.river |= 1 << d;
                if (riversAllowed(to)) to.river |= 1 << back;
                break;
            case Line::Supply:
                if (supplyAllowed(from) && supplyAllowed(to)) {
                    from.supply |= 1 << d;
                    to.supply |= 1 << back;
                }
                break;
        }
    }
}

int terrainOfLetter(char c) {
    static const std::pair<char, int> kLetters[] = {
        {'O', 30}, {'S', 29}, {'s', 28}, {'b', 54}, {'p', 1},  {'g', 6},  {'F', 7},  {'f', 2},
        {'w', 3},  {'h', 4},  {'m', 5},  {'M', 12}, {'d', 13}, {'D', 27}, {'r', 9},  {'x', 11},
        {'n', 17}, {'N', 20}, {'e', 18}, {'j', 23}, {'W', 8},  {'u', 51}, {'C', 31}, {'c', 32},
        {'t', 33}, {'T', 34}, {'P', 39}, {'A', 35}, {'a', 36}, {'K', 37}, {'B', 38}, {'o', 41},
        {'L', 44}, {'Z', 49}, {'V', 55}, {'k', 46}, {'H', 43}, {'R', 21}, {'Q', 9},
    };
    for (const auto& [letter, id] : kLetters) {
        if (letter == c) return id;
    }
    return 1;
}

void setMassif(TestMap& map, HexPos centre, int terrain, int first) {
    static const int kMemberOfSide[6] = {2, 5, 6, 4, 1, 0};  // W, SW, SE, E, NE, NW
    TestHex& c = map.at(centre.col, centre.row);
    c.terrain = terrain;
    c.picture = first + 3;
    for (int side = 0; side < 6; ++side) {
        const HexPos n = neighbourPos(centre, side);
        TestHex& h = map.at(n.col, n.row);
        h.terrain = terrain;
        h.picture = first + kMemberOfSide[side];
    }
}

}  // namespace

TestMap sampleTestMap() {
    static const char* const kRows[] = {
        "OOOSSsbppffhhm", "OOSSsbpFFfwhmm", "OOSSPtpFpwhmmm", "OOSsbppgppwhmM",
        "OSSsbpCppxwhmm", "OSSsApggpffhhm", "OSssbpKBpwfnNN", "SSsbppTpgwennN",
        "SSsddpLooWnnNN", "SsbDDddorWnnee", "SsDDdddrrVnnne",
    };
    TestMap map;
    map.width = 14;
    map.height = 11;
    map.hexes.resize(static_cast<size_t>(map.width * map.height));
    for (int row = 0; row < map.height; ++row) {
        for (int col = 0; col < map.width; ++col) {
            TestHex& h = map.at(col, row);
            h.terrain = terrainOfLetter(kRows[row][col]);
            h.picture = defaultPictureOf(h.terrain);
        }
    }
    setMassif(map, {12, 2}, 5, parts_picture::kMegaMountains);
    setMassif(map, {12, 8}, 20, parts_picture::kMegaSnowMountains);
    // Owners: colour rows 1..6 are the faction slots 0..5.
    const struct {
        HexPos at;
        int owner;
    } owners[] = {
        {{6, 4}, 1}, {{5, 2}, 2}, {{4, 2}, 1}, {{4, 5}, 1}, {{6, 6}, 3}, {{7, 6}, 3},
        {{6, 7}, 4}, {{6, 8}, 5}, {{7, 8}, 6}, {{8, 8}, 6}, {{7, 4}, 1},
    };
    for (const auto& o : owners) map.at(o.at.col, o.at.row).owner = o.owner;
    map.at(8, 8).destroyed = true;
    // The bridge over the river east of the capital.
    TestHex& bridge = map.at(7, 4);
    bridge.terrain = 49;
    bridge.picture = defaultPictureOf(49);
    stroke(map, {{11, 4}, {10, 4}, {9, 4}, {8, 4}, {7, 4}, {6, 5}, {5, 5}, {5, 6}, {4, 6}, {3, 6}},
           Line::River);
    // The river came in from the east and leaves south-west; the road crosses west to
    // north-east on bridge piece 7 (sides 4 and 0).
    bridge.river = 0;
    bridge.bridgePiece = 7;
    stroke(map, {{4, 2}, {5, 2}, {6, 3}, {6, 4}, {7, 4}, {8, 3}, {9, 2}, {10, 1}}, Line::Road);
    stroke(map, {{6, 4}, {6, 5}, {6, 6}, {6, 7}, {6, 8}, {7, 8}, {8, 9}}, Line::Road);
    stroke(map, {{6, 4}, {5, 4}, {4, 5}}, Line::Road);
    stroke(map, {{6, 7}, {4, 7}, {3, 8}}, Line::Road);
    // A temporary bridge where the southern road meets the river.
    map.at(6, 5).tempBridge = 8 + 1;  // sides 5 and 1
    stroke(map, {{4, 2}, {3, 2}, {2, 2}, {1, 3}, {1, 5}, {0, 7}}, Line::Supply);
    // Joined hills and mountains.
    for (int row = 0; row < map.height; ++row) {
        for (int col = 0; col < map.width; ++col) {
            TestHex& h = map.at(col, row);
            const int g = h.terrain == 4 ? 0 : h.terrain == 5 ? 3 : h.terrain == 20 ? 6 : -1;
            if (g < 0 || (h.picture >= 1000 && h.picture < 2000)) continue;
            auto joins = [&](int side) {
                const HexPos n = neighbourPos({col, row}, side);
                if (n.col < 0 || n.row < 0 || n.col >= map.width || n.row >= map.height)
                    return false;
                const int t = map.at(n.col, n.row).terrain;
                return t == 4 || t == 5 || t == 20;
            };
            const bool sw = joins(1), se = joins(2);
            h.picture = sw && se ? 2002 + g
                        : sw     ? 2001 + g
                        : se     ? 2000 + g
                                 : defaultPictureOf(h.terrain);
        }
    }
    // A few troops.
    const struct {
        HexPos at;
        int icon, faction;
    } troops[] = {
        {{8, 2}, 19, 0},  {{2, 4}, 44, 1}, {{9, 6}, 1, 2},  {{4, 8}, 37, 3},
        {{10, 9}, 13, 4}, {{1, 8}, 54, 5}, {{3, 5}, 25, 0}, {{8, 5}, 57, 2},
    };
    for (const auto& t : troops) {
        map.at(t.at.col, t.at.row).icon = t.icon;
        map.at(t.at.col, t.at.row).faction = t.faction;
    }
    return map;
}

QImage renderTestMap(const TestMap& map, const MapSheets& sheets, int size, bool frame) {
    const int pitch = size * 3 / 4;
    QImage image(map.width * size + size / 2, (map.height - 1) * pitch + size,
                 QImage::Format_RGB32);
    image.fill(QColor(20, 20, 24));
    const QRect all(0, 0, size, size);
    for (int row = 0; row < map.height; ++row) {
        for (int col = 0; col < map.width; ++col) {
            const TestHex& h = map.at(col, row);
            const int x = col * size + (size / 2) * (row & 1), y = row * pitch;
            const int category = categoryOf(h.terrain);
            const int n = h.picture;
            auto ground = [&] {
                if (n >= 1000) {
                    drawKeyedPart(image, x, y,
                                  sheets.parts(size, n < 2000 ? n - 991 : n - 2000, frame), all);
                } else {
                    drawKeyedPart(image, x, y, sheets.base(size, n, frame), all);
                }
            };
            const bool riverLine = h.river != 0 && h.tempBridge == 0;
            if (h.tempBridge) {
                ground();
                drawKeyedPart(image, x, y, sheets.road(size, h.river, 1), all);
                drawKeyedPart(image, x, y, sheets.tempBridge(size, h.tempBridge - 1, frame), all);
            } else if (category == 20) {
                drawKeyedPart(image, x, y,
                              sheets.building(size, h.owner, defaultPictureOf(49), h.destroyed),
                              all);
                drawKeyedPart(image, x, y, sheets.bridge(size, h.owner, h.bridgePiece, h.destroyed),
                              all);
            } else if (n >= 1000 || category <= 10) {
                ground();
            } else {
                drawKeyedPart(image, x, y, sheets.building(size, h.owner, n, h.destroyed), all);
            }
            if (riverLine) drawKeyedPart(image, x, y, sheets.road(size, h.river, 1), all);
            if (category < 11 && category != 7) {
                if (h.road) drawKeyedPart(image, x, y, sheets.road(size, h.road, 0), all);
                if (h.supply) drawKeyedPart(image, x, y, sheets.road(size, h.supply, 4), all);
            }
            if (h.destroyed) drawKeyedPart(image, x, y, sheets.effect(size, 5), all);
            if (h.icon >= 0)
                drawKeyedPart(image, x, y, sheets.weaponIcon(size, h.faction, h.icon), all);
        }
    }
    return image;
}

}  // namespace kv::sample
