// The demo country: a coast to the west and south, a mountain range in the north, the
// river Servia with a tributary, roads with bridges, the three nations' towns, their
// territories, place names and a small minefield.
#include <algorithm>
#include <set>
#include <vector>

#include "document/link_stroke.h"
#include "document/map_document.h"
#include "framework/cp932.h"
#include "sampledata/demo_build.h"

namespace kv::sample::demo {

namespace {

constexpr uint8_t kPlain = 1, kForest = 2, kWoods = 3, kHills = 4, kMountains = 5, kGrass = 6,
                  kFarmland = 7, kMarsh = 11, kHighMountain = 12, kShallows = 28, kSea = 29,
                  kOcean = 30, kCapital = 31, kLargeCity = 32, kMediumCity = 33, kSmallCity = 34,
                  kAirport = 35, kAirfield = 36, kFactory = 37, kBase = 38, kPort = 39,
                  kNavalPort = 40, kOilField = 41, kHeliport = 43, kMissileBase = 44,
                  kArmsFactory = 45, kBridge = 49, kTempBridge = 53;

// The first land column of each row and the first sea row of each column, in steps of
// four hexes so that the coast runs in smooth bends.
int westCoast(int row) {
    constexpr int kCoast[] = {7, 6, 6, 7, 8, 8, 7, 6, 6};
    return kCoast[std::clamp(row / 4, 0, 8)];
}

int southCoast(int col) {
    constexpr int kCoast[] = {31, 31, 32, 32, 31, 30, 30, 31, 32, 32, 31, 31};
    return kCoast[std::clamp(col / 4, 0, 11)];
}

bool isSea(int col, int row) {
    return col < westCoast(row) || row >= southCoast(col);
}

uint8_t seaTerrain(int col, int row) {
    if (col < westCoast(row) - 3 || row >= southCoast(col) + 2) return kOcean;
    const bool coastal = (col == westCoast(row) - 1 && row < southCoast(col)) ||
                         (row == southCoast(col) && col >= westCoast(row));
    return coastal ? kShallows : kSea;
}

uint8_t landTerrain(int col, int row) {
    if (col == 20 && row == 1) return kHighMountain;
    if (col == 27 && row == 2) return kHighMountain;
    if (col >= 14 && col <= 32 && row >= 1 && row <= 5) {
        if (row <= 2) return kMountains;
        if (row <= 4) return (col + row) % 3 == 0 ? kMountains : kHills;
        if (col % 2 == 0) return kHills;
    }
    if (row >= 29 && col >= 23 && col <= 29 && (col + row) % 3 == 0) return kMarsh;
    if (col >= 9 && col <= 16 && row >= 26 && row <= 30 && (col + row) % 4 == 0) return kFarmland;
    if (col >= 36 && row >= 14 && row <= 20 && (col * row) % 5 == 0) return kGrass;
    const int h = (col * 7 + row * 13) % 17;
    if (h == 0 || h == 5) return kForest;
    if (h == 9) return kWoods;
    return kPlain;
}

struct Building {
    HexPos at;
    uint8_t terrain;
    uint16_t owner;  // faction slot + 1, 0 neutral
};

std::vector<Building> buildings() {
    return {
        {kBlueCapital, kCapital, 1},  {kBlueAirport, kAirport, 1},  {bluePort(), kPort, 1},
        {{12, 29}, kMediumCity, 1},   {{16, 26}, kFactory, 1},      {{9, 19}, kBase, 1},
        {kRedCapital, kCapital, 2},   {kRedAirfield, kAirfield, 2}, {kRedCity, kLargeCity, 2},
        {{41, 5}, kHeliport, 2},      {{31, 9}, kSmallCity, 2},     {{44, 9}, kBase, 2},
        {kGreenCapital, kCapital, 3}, {greenPort(), kNavalPort, 3}, {{43, 22}, kMediumCity, 3},
        {{44, 28}, kMissileBase, 3},  {{41, 29}, kArmsFactory, 3},  {{20, 16}, kLargeCity, 0},
        {{31, 22}, kOilField, 0},     {{21, 28}, kSmallCity, 0},
    };
}

// The hexes from waypoint to waypoint, each a neighbour of the one before.
std::vector<HexPos> path(std::initializer_list<HexPos> waypoints) {
    std::vector<HexPos> out;
    const HexPos* previous = nullptr;
    for (const HexPos& w : waypoints) {
        if (previous) {
            std::vector<HexPos> leg = hexLine(*previous, w);
            out.insert(out.end(), out.empty() ? leg.begin() : leg.begin() + 1, leg.end());
        }
        previous = &w;
    }
    return out;
}

TerrainBrush brush(const MapDocument& doc, uint8_t terrain, uint16_t owner = 0, int picture = -1) {
    TerrainBrush b;
    b.valid = 1;
    b.terrainId = terrain;
    b.owner = owner;
    b.picture = static_cast<uint16_t>(
        picture >= 0 ? picture : doc.gameDatabase.terrain(terrain).defaultPicture);
    return b;
}

void paintGround(MapDocument& doc) {
    for (int row = 0; row < kHeight; ++row)
        for (int col = 0; col < kWidth; ++col)
            doc.setTerrain(
                col, row,
                brush(doc, isSea(col, row) ? seaTerrain(col, row) : landTerrain(col, row)));
    for (const Building& b : buildings())
        doc.setTerrain(b.at.col, b.at.row, brush(doc, b.terrain, b.owner));
    doc.history.clear();
}

void drawLinks(MapDocument& doc, LinkKind kind, const std::vector<HexPos>& hexes, int variant = 0) {
    LinkStroke stroke(doc, kind, variant);
    for (HexPos h : hexes) stroke.visit(h);
    doc.history.clear();
}

// The bridge piece that joins the two sides a road enters and leaves by: pieces 0..2 run
// straight across (sides p and p + 3), pieces 3..8 bend (sides p - 3 and p - 1).
int bridgePiece(int sideA, int sideB) {
    if (sideA < 0 || sideB < 0) return 0;
    if ((sideA + 3) % 6 == sideB) return std::min(sideA, sideB);
    if ((sideA + 2) % 6 == sideB) return sideA + 3;
    if ((sideB + 2) % 6 == sideA) return sideB + 3;
    return 0;
}

// Where a road meets a river it crosses on a bridge (the main river) or a temporary bridge
// (the tributary), laid before the road is drawn.
void bridgeCrossings(MapDocument& doc, const std::vector<HexPos>& road,
                     const std::set<std::pair<int, int>>& river, bool temporary) {
    for (size_t i = 1; i + 1 < road.size(); ++i) {
        const HexPos h = road[i];
        if (!river.count({h.col, h.row})) continue;
        const int piece = bridgePiece(directionTo(h, road[i - 1]), directionTo(h, road[i + 1]));
        doc.setTerrain(h.col, h.row, brush(doc, temporary ? kTempBridge : kBridge, 0, piece));
    }
    doc.history.clear();
}

std::set<std::pair<int, int>> hexSet(const std::vector<HexPos>& hexes) {
    std::set<std::pair<int, int>> s;
    for (HexPos h : hexes) s.insert({h.col, h.row});
    return s;
}

void drawWaters(MapDocument& doc) {
    const std::vector<HexPos> river =
        path({{24, 4}, {24, 9}, {22, 14}, {23, 21}, {26, 27}, {26, 34}});
    const std::vector<HexPos> tributary = path({{44, 17}, {35, 18}, {23, 21}});
    drawLinks(doc, LinkKind::River, river);
    drawLinks(doc, LinkKind::River, tributary);

    const std::vector<HexPos> roads[] = {
        path({kBlueCapital, {17, 23}, {30, 23}, kGreenCapital}),
        path({{17, 23}, {20, 16}, {31, 9}, kRedCapital}),
        path({kRedCapital, kRedCity, {43, 22}, kGreenCapital}),
        path({kBlueCapital, bluePort()}),
        path({kBlueCapital, kBlueAirport}),
        path({kRedCapital, kRedAirfield}),
    };
    const auto mainRiver = hexSet(river), branch = hexSet(tributary);
    for (const std::vector<HexPos>& road : roads) {
        bridgeCrossings(doc, road, mainRiver, false);
        bridgeCrossings(doc, road, branch, true);
        drawLinks(doc, LinkKind::Road, road);
    }
    const HexPos bp = bluePort(), gp = greenPort();
    drawLinks(doc, LinkKind::SupplyLine, path({bp, {bp.col - 5, bp.row}}));
    drawLinks(doc, LinkKind::SupplyLine, path({gp, {gp.col, gp.row + 3}}));
}

// The territory a land hex belongs to: slot + 1, 0 for the strip between the nations.
int territoryOf(int col, int row) {
    if (isSea(col, row)) return 0;
    if (col < 21 && row >= 12) return kBlue + 1;
    if (col >= 27 && row < 17) return kRed + 1;
    if (col >= 27) return kGreen + 1;
    return 0;
}

void drawTerritories(MapDocument& doc) {
    constexpr int kCrossable = 2;
    for (int row = 0; row < kHeight; ++row) {
        for (int col = 0; col < kWidth; ++col) {
            const int t = territoryOf(col, row);
            if (t == 0) continue;
            doc.setBorderline(col, row, BorderBrush{t, kCrossable});
        }
        doc.history.clear();
    }
}

std::string placeLabels(MapDocument& doc) {
    struct Label {
        HexPos at;
        const char* text;
        int kind;
        int progress;
    };
    const Label labels[] = {
        {{2, 29}, "アルデナ湾", 0, 0},
        {{20, 2}, "ローレン山脈", 0, 0},
        {{22, 13}, "セルヴィア川", 0, 0},
        {{40, 19}, "東部平原", 0, 0},
        {{30, 34}, "南海", 0, 0},
        {kBlueCapital, "首都アルデナ", 1, 0},
        {kRedCapital, "首都ローレン", 1, 0},
        {kGreenCapital, "首都セルヴィア", 1, 0},
        {{20, 16}, "自由都市ミラン", 1, 1},
    };
    for (const Label& l : labels)
        if (!doc.setLabel(l.at.col, l.at.row, cp932(l.text), l.kind, l.progress))
            return std::string("label not placed: ") + l.text;
    doc.history.clear();
    return {};
}

std::string layMines(MapDocument& doc) {
    const MineBrush mine{kLandMine, 3, 1u << kBlue};
    for (HexPos h : {HexPos{18, 29}, HexPos{19, 29}, HexPos{18, 30}})
        if (!doc.setMine(h.col, h.row, mine))
            return "a land mine is not allowed where the demo lays it";
    doc.history.clear();
    return {};
}

}  // namespace

HexPos bluePort() {
    return {westCoast(27), 27};
}

HexPos greenPort() {
    return {34, southCoast(34) - 1};
}

std::string cp932(std::string_view utf8) {
    return encodeCp932(utf8).value_or(std::string());
}

std::string buildCountry(MapDocument& doc) {
    doc.mapHeader.setSize(kWidth, kHeight);
    doc.mapGrid.clear();
    doc.renewRedrawGrid();
    paintGround(doc);
    drawWaters(doc);
    drawTerritories(doc);
    if (std::string e = placeLabels(doc); !e.empty()) return e;
    return layMines(doc);
}

}  // namespace kv::sample::demo
