// The generated busy map.
#include "busy_map.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "document/hex_geometry.h"
#include "document/link_stroke.h"
#include "document/map_document.h"
#include "document/troop_capacity.h"
#include "document/troop_slots.h"
#include "framework/cp932.h"
#include "framework/profile.h"

namespace kvbench {

std::unique_ptr<kv::MapDocument> sampleDocument() {
    kv::setProgramPath(std::string(KV_DIST_DIR) + "/kvornme");
    auto d = std::make_unique<kv::MapDocument>();
    d->loadResources();
    d->resetToNewMap();
    return d;
}

namespace {

using kv::HexPos;

// Smooth value noise in 0..1 over hex coordinates.
double hash(int x, int y, int seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}
double noise(double x, double y, int seed) {
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0, fy = y - y0;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double a = hash(x0, y0, seed) + (hash(x0 + 1, y0, seed) - hash(x0, y0, seed)) * sx;
    const double b =
        hash(x0, y0 + 1, seed) + (hash(x0 + 1, y0 + 1, seed) - hash(x0, y0 + 1, seed)) * sx;
    return a + (b - a) * sy;
}
double fractal(double x, double y, int seed) {
    return 0.6 * noise(x / 9, y / 9, seed) + 0.3 * noise(x / 4, y / 4, seed + 1) +
           0.1 * noise(x / 2, y / 2, seed + 2);
}

void setGround(kv::MapDocument& doc, int col, int row, int terrain) {
    kv::HexCell* c = doc.cellAt(col, row);
    c->terrain = static_cast<uint8_t>(terrain);
    c->picture = doc.gameDatabase.terrain(size_t(terrain)).defaultPicture;
}

void place(kv::MapDocument& doc, int col, int row, int terrain, int owner, int picture = -1) {
    if (!doc.contains(col, row)) return;
    kv::TerrainBrush b;
    b.valid = 1;
    b.terrainId = static_cast<uint16_t>(terrain);
    b.owner = static_cast<uint16_t>(owner);
    b.picture = static_cast<uint16_t>(
        picture >= 0 ? picture : doc.gameDatabase.terrain(size_t(terrain)).defaultPicture);
    doc.setTerrain(col, row, b);
}

bool isLand(const kv::MapDocument& doc, int col, int row) {
    const kv::HexCell* c = doc.cellAt(col, row);
    return c && c->terrain != 28 && c->terrain != 29 && c->terrain != 30;
}

void stroke(kv::MapDocument& doc, kv::LinkKind kind, const std::vector<HexPos>& points,
            int variant = 0) {
    kv::LinkStroke s(doc, kind, variant);
    for (size_t i = 0; i + 1 < points.size(); ++i)
        for (const HexPos& h : kv::hexLine(points[i], points[i + 1])) s.visit(h);
}

void paintGround(kv::MapDocument& doc, int w, int h) {
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            const double coast = w * 0.14 + 5 * noise(col / 6.0, row / 6.0, 7) - 2.5;
            const double e = fractal(col, row, 1), v = fractal(col, row, 11);
            int t = 1;
            if (col < coast - 6)
                t = 30;
            else if (col < coast - 1)
                t = 29;
            else if (col < coast)
                t = 28;
            else if (row < h * 0.22 && col > w * 0.55)
                t = e > 0.6 ? 20 : v > 0.55 ? 18 : 17;
            else if (row > h * 0.7 && col > w * 0.6)
                t = e > 0.65 ? 27 : v > 0.7 ? 9 : 13;
            else if (e > 0.72)
                t = 5;
            else if (e > 0.63)
                t = 4;
            else if (v > 0.68)
                t = 2;
            else if (v > 0.6)
                t = 3;
            else if (v < 0.25)
                t = 7;
            else if (v < 0.33)
                t = 6;
            else if (e < 0.2)
                t = 11;
            setGround(doc, col, row, t);
        }
    }
}

struct City {
    HexPos at;
    int faction;
};

std::vector<City> placeCities(kv::MapDocument& doc, int w, int h, std::mt19937& rng) {
    std::vector<City> cities;
    const int step = 11;
    for (int row = 4; row < h - 3; row += step) {
        for (int col = static_cast<int>(w * 0.18) + 3; col < w - 3; col += step) {
            const HexPos p{col + static_cast<int>(rng() % 5) - 2,
                           row + static_cast<int>(rng() % 5) - 2};
            if (!isLand(doc, p.col, p.row)) continue;
            const int faction = (p.col * 3 / std::max(w, 1) + 3 * (p.row * 2 / std::max(h, 1))) % 6;
            const int kinds[] = {32, 33, 34, 37, 38, 35, 41, 45, 42, 51};
            const int terrain = cities.size() < 6 ? 31 : kinds[rng() % std::size(kinds)];
            place(doc, p.col, p.row, terrain, terrain == 51 ? 0 : faction + 1);
            if (rng() % 9 == 0) doc.cellAt(p.col, p.row)->destroyed = 1;
            cities.push_back({p, faction});
        }
    }
    return cities;
}

void addTroops(kv::MapDocument& doc, const std::vector<City>& cities, std::mt19937& rng) {
    const int land[] = {1000, 1010, 1020, 1030, 1050, 1060, 1090, 1110, 1140, 1220, 1240, 1250};
    const int air[] = {100, 110, 120, 130, 230, 240};
    std::vector<int> next(6, 0);
    for (const City& c : cities) {
        for (int k = 0; k < 4; ++k) {
            const HexPos p = kv::neighbourPos(c.at, static_cast<int>(rng() % 6));
            if (!isLand(doc, p.col, p.row)) continue;
            const int slot = next[size_t(c.faction)]++;
            if (slot >= 198) continue;
            kv::TroopRecord* t = doc.troopAt(c.faction, slot);
            const bool flying = k == 3;
            const int weapon = flying ? air[rng() % std::size(air)] : land[rng() % std::size(land)];
            t->setAppearanceTurn(1);
            t->setWeaponId(static_cast<uint16_t>(weapon));
            t->setName(doc.gameDatabase.weapon(weapon).name());
            t->setPosition(p.col, p.row);
            const int units = 4 + static_cast<int>(rng() % 7);
            for (int u = 0; u < units; ++u) t->bytes[90 + size_t(u)] = 10;
            if (rng() % 7 == 0) t->bytes[kv::kTroopConditionAt] = kv::kConditionAnnihilation;
            doc.troops.raiseCount(c.faction, slot);
        }
    }
    doc.rebuildTroopStacks();
}

}  // namespace

void makeBusyMap(kv::MapDocument& doc, int width, int height) {
    doc.resetToNewMap();
    doc.mapHeader.setSize(width, height);
    doc.renewRedrawGrid();
    const int w = doc.width(), h = doc.height();
    std::mt19937 rng(static_cast<uint32_t>(w * 1000 + h));
    paintGround(doc, w, h);

    // Rivers from the hills to the sea, with temporary bridges here and there.
    for (int r = 0; r < std::max(1, h / 24); ++r) {
        std::vector<HexPos> points;
        int col = w - 3 - static_cast<int>(rng() % std::max(1, w / 4));
        int row = 2 + r * 24 + static_cast<int>(rng() % 8);
        for (int k = 0; k < 8 && col > 0; ++k) {
            points.push_back({col, std::clamp(row, 0, h - 1)});
            col -= 3 + static_cast<int>(rng() % std::max(1, w / 10));
            row += static_cast<int>(rng() % 9) - 4;
        }
        points.push_back({0, std::clamp(row, 0, h - 1)});
        stroke(doc, kv::LinkKind::River, points, r % 5 == 4 ? 1 : 0);
    }
    const std::vector<City> cities = placeCities(doc, w, h, rng);
    // Roads joining each city with the next ones of its row and column.
    for (size_t i = 0; i + 1 < cities.size(); ++i) {
        if (kv::hexDistance(cities[i].at, cities[i + 1].at) < 16)
            stroke(doc, kv::LinkKind::Road, {cities[i].at, cities[i + 1].at});
    }
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            kv::HexCell* c = doc.cellAt(col, row);
            if (c->riverLinks() != 0 && c->roadLinks != 0)
                place(doc, col, row, 53, 0, static_cast<int>(rng() % 3));
        }
    // Sea supply lines along the coast.
    stroke(doc, kv::LinkKind::SupplyLine, {{2, 1}, {std::max(w / 12, 2), h / 2}, {2, h - 2}});
    // Territories of the first two factions with a borderline between them.
    for (int row = 0; row < h; ++row)
        for (int col = w / 5; col < w; ++col) {
            const kv::BorderBrush border{col < w * 3 / 5 ? 1 : 2, (row / 6) % 2 == 0 ? 2 : 3};
            doc.setBorderline(col, row, border);
        }
    addTroops(doc, cities, rng);
    static const char* const names[] = {"アルデナ", "ローレン", "北部山地", "セルヴィア",
                                        "東方港",   "ミルザ川", "ベルク",   "カイン平原"};
    for (size_t i = 0; i < cities.size() && i < 60; ++i) {
        const std::string name = kv::encodeCp932(names[i % std::size(names)]).value_or("X");
        doc.setLabel(cities[i].at.col, cities[i].at.row, name, i % 4 == 0 ? 1 : 0, 0);
    }
    doc.recomputeDerivedHexData();
    doc.history.clear();
    doc.viewSettings.redrawGrid.markAllDirty();
}

}  // namespace kvbench
