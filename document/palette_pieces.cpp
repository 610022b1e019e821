// The terrain palette's pieces by tab.
#include "document/palette_pieces.h"

#include <algorithm>

#include "framework/cp932.h"

namespace kv {

namespace {

using TC = TerrainCategory;

constexpr int kGridWidth = 18;  // columns of the visible 360-pixel grid
constexpr int kPortPictures = 4;
constexpr int kPieceCount = 9;  // bridge and temporary bridge pieces
// A straight link through the hex (sides 0 and 3) for the line pieces.
constexpr uint8_t kStraight = 0x09;

const char* const kTabNames[kPaletteTabCount] = {"基本地形",   "建物Ａ",     "建物Ｂ",
                                                 "橋",         "仮設橋",     "道路/河川/海上補給線",
                                                 "破壊建物Ａ", "破壊建物Ｂ", "破壊橋"};

std::string cp932(const char* utf8) {
    return encodeCp932(utf8).value_or(std::string());
}

std::string terrainName(const TerrainData& t, int id) {
    return fieldText(t.terrain(size_t(id)).name, kTerrainNameBytes);
}

// Terrain ids in sort-key order (ties by id), filtered.
template <class Pred>
std::vector<int> sortedTerrains(const TerrainData& t, Pred keep) {
    std::vector<int> ids;
    for (size_t i = 0; i < t.terrainCount() && i < kMaxTerrainTypes; ++i)
        // A record without a name is a reserved place in the table, not a terrain.
        if (t.terrain(i).name[0] != 0 && keep(t.terrain(i))) ids.push_back(static_cast<int>(i));
    std::stable_sort(ids.begin(), ids.end(), [&t](int a, int b) {
        return t.terrain(size_t(a)).listOrder < t.terrain(size_t(b)).listOrder;
    });
    return ids;
}

PalettePiece piece(int col, int row, int terrainId, int picture, int owner, bool destroyed) {
    PalettePiece p;
    p.col = col;
    p.row = row;
    p.brush.valid = 1;
    p.brush.owner = static_cast<uint16_t>(owner);
    p.brush.terrainId = static_cast<uint16_t>(terrainId);
    p.brush.picture = static_cast<uint16_t>(picture);
    p.brush.destroyed = destroyed ? 1 : 0;
    p.cell.terrain = static_cast<uint8_t>(terrainId);
    p.cell.owner = static_cast<uint8_t>(owner);
    p.cell.picture = static_cast<uint16_t>(picture);
    p.cell.destroyed = destroyed ? 1 : 0;
    return p;
}

int firstOfCategory(const TerrainData& t, TC c, int fallback) {
    for (size_t i = 0; i < t.terrainCount() && i < kMaxTerrainTypes; ++i)
        if (t.terrain(i).category == c) return static_cast<int>(i);
    return fallback;
}

bool isNatural(TC c) {
    switch (c) {
        case TC::River:
        case TC::DeepRiver:
        case TC::FrozenRiver:
        case TC::Road:
        case TC::TempBridge: return false;
        default: return c <= TC::Building;
    }
}

void basicTab(const TerrainData& t, std::vector<PalettePiece>& out) {
    int n = 0;
    auto add = [&](PalettePiece p) {
        p.col = n % kGridWidth;
        p.row = n / kGridWidth;
        ++n;
        out.push_back(std::move(p));
    };
    for (int id : sortedTerrains(t, [](const TerrainType& x) { return isNatural(x.category); })) {
        PalettePiece p = piece(0, 0, id, t.terrain(size_t(id)).defaultPicture, 0, false);
        p.name = terrainName(t, id);
        add(std::move(p));
    }
    // The two mega pieces: mountains and snow mountains joined over seven hexes.
    const std::pair<int, const char*> mega[] = {{5, "山岳（連結）"}, {20, "雪山岳（連結）"}};
    for (int g = 0; g < 2; ++g) {
        const int centre = kMegaFirstPicture + g * kMegaGroupSize + kMegaCentreMember;
        PalettePiece p = piece(0, 0, mega[g].first, centre, 0, false);
        p.name = cp932(mega[g].second);
        add(std::move(p));
    }
}

bool inSet(TC c, bool setA) {
    const int k = static_cast<int>(c);
    if (setA) return (k >= 12 && k <= 19) || k == 23;
    return k == 21 || k == 22 || (k >= 24 && k <= 27);
}

void buildingTab(const TerrainData& t, bool setA, bool destroyed, std::vector<PalettePiece>& out) {
    int col = 0;
    for (int id :
         sortedTerrains(t, [setA](const TerrainType& x) { return inSet(x.category, setA); })) {
        const TerrainType& type = t.terrain(size_t(id));
        const bool port = type.category == TC::Port;
        const bool capital = type.category == TC::Capital;
        const int columns = port ? kPortPictures : 1;
        for (int k = 0; k < columns; ++k, ++col) {
            if (col >= kPaletteColumns) return;
            if (capital && destroyed) continue;  // a capital is never shown destroyed
            for (int row = capital ? 1 : 0; row < kPaletteColourRows; ++row) {
                PalettePiece p = piece(col, row, id, type.defaultPicture + k, row, destroyed);
                p.name = terrainName(t, id);
                p.ownerRows = true;
                out.push_back(std::move(p));
            }
        }
    }
}

void bridgeTab(const TerrainData& t, bool destroyed, std::vector<PalettePiece>& out) {
    for (int row = 0; row < kPaletteColourRows; ++row) {
        for (int k = 0; k < kPieceCount; ++k) {
            PalettePiece p = piece(k, row, kTerrainBridge, k, row, destroyed);
            p.cell.picture = t.terrain(kTerrainBridge).defaultPicture;
            p.cell.bridgePiece = static_cast<uint8_t>(k + 1);
            p.name = terrainName(t, kTerrainBridge);
            p.ownerRows = true;
            out.push_back(std::move(p));
        }
    }
}

void tempBridgeTab(const TerrainData& t, std::vector<PalettePiece>& out) {
    for (int k = 0; k < kPieceCount; ++k) {
        PalettePiece p = piece(k, 0, kTerrainTempBridge, k, 0, false);
        p.cell.terrain = kTerrainPlain;
        p.cell.picture = t.terrain(kTerrainPlain).defaultPicture;
        p.cell.tempBridge = static_cast<uint8_t>(k + 1);
        p.name = terrainName(t, kTerrainTempBridge);
        out.push_back(std::move(p));
    }
}

void linesTab(const TerrainData& t, std::vector<PalettePiece>& out) {
    const int plain = kTerrainPlain, plainPicture = t.terrain(kTerrainPlain).defaultPicture;
    int col = 0;
    {
        PalettePiece p =
            piece(col++, 0, kTerrainRoad, t.terrain(kTerrainRoad).defaultPicture, 0, false);
        p.cell.terrain = static_cast<uint8_t>(plain);
        p.cell.picture = static_cast<uint16_t>(plainPicture);
        p.cell.roadLinks = kStraight;
        p.name = terrainName(t, kTerrainRoad);
        out.push_back(std::move(p));
    }
    const std::pair<int, int> rivers[] = {
        {kTerrainRiver, 0}, {kTerrainDeepRiver, 1}, {kTerrainFrozenRiver, 2}};
    for (auto [id, variant] : rivers) {
        PalettePiece p = piece(col++, 0, id, t.terrain(size_t(id)).defaultPicture, 0, false);
        p.cell.terrain = static_cast<uint8_t>(plain);
        p.cell.picture = static_cast<uint16_t>(plainPicture);
        p.cell.river = static_cast<uint8_t>(kStraight | variant << 6);
        p.name = terrainName(t, id);
        out.push_back(std::move(p));
    }
    const int sea = firstOfCategory(t, TC::Sea, plain);
    PalettePiece p = piece(col, 0, 0, 0, 0, false);
    p.brush.supplyLine = 1;
    p.cell.terrain = static_cast<uint8_t>(sea);
    p.cell.picture = t.terrain(size_t(sea)).defaultPicture;
    p.cell.supplyLinks = kStraight;
    p.name = cp932("海上補給線");
    out.push_back(std::move(p));
}

}  // namespace

const char* paletteTabName(PaletteTab tab) {
    const int i = static_cast<int>(tab);
    return i >= 0 && i < kPaletteTabCount ? kTabNames[i] : "";
}

std::vector<PalettePiece> palettePieces(PaletteTab tab, const TerrainData& terrain) {
    std::vector<PalettePiece> out;
    switch (tab) {
        case PaletteTab::Basic: basicTab(terrain, out); break;
        case PaletteTab::BuildingsA: buildingTab(terrain, true, false, out); break;
        case PaletteTab::BuildingsB: buildingTab(terrain, false, false, out); break;
        case PaletteTab::Bridges: bridgeTab(terrain, false, out); break;
        case PaletteTab::TempBridges: tempBridgeTab(terrain, out); break;
        case PaletteTab::Lines: linesTab(terrain, out); break;
        case PaletteTab::DestroyedA: buildingTab(terrain, true, true, out); break;
        case PaletteTab::DestroyedB: buildingTab(terrain, false, true, out); break;
        case PaletteTab::DestroyedBridges: bridgeTab(terrain, true, out); break;
        case PaletteTab::Count: break;
    }
    std::erase_if(out, [](const PalettePiece& p) {
        return p.col >= kPaletteColumns || p.row >= kPaletteRows;
    });
    return out;
}

const PalettePiece* pieceAt(const std::vector<PalettePiece>& pieces, int col, int row) {
    for (const PalettePiece& p : pieces)
        if (p.col == col && p.row == row) return &p;
    return nullptr;
}

bool sameBrush(const TerrainBrush& a, const TerrainBrush& b) {
    if (a.supplyLine != b.supplyLine) return false;
    if (a.supplyLine == 1) return true;
    return a.owner == b.owner && a.terrainId == b.terrainId && a.picture == b.picture &&
           a.destroyed == b.destroyed;
}

std::string brushName(const TerrainBrush& brush, const TerrainData& terrain) {
    if (!brush.valid) return {};
    if (brush.supplyLine == 1) return cp932("海上補給線");
    if (isMegaPicture(brush.picture))
        return cp932((brush.picture - kMegaFirstPicture) / kMegaGroupSize == 0 ? "山岳（連結）"
                                                                               : "雪山岳（連結）");
    return terrainName(terrain, brush.terrainId);
}

}  // namespace kv
