// Test fixture of the map drawing: the sample game data, a plain map, renderers of a given
// hex size and view, and comparisons of drawn pixels with sheet cells.
#pragma once

#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/hex_pixels.h"
#include "document/sample_document.h"
#include "view/map_renderer.h"

namespace kvtest {

// Terrain indices and pictures of the sample data.
inline constexpr int kPlain = 1, kForest = 2, kRiverTerrain = 14, kSea = 29, kMediumCity = 33,
                     kMediumCityPicture = 2, kBridgeTerrain = 49, kTempBridgeTerrain = 53;

class RenderFixture : public SampleDocument {
protected:
    void SetUp() override {
        SampleDocument::SetUp();
        for (kv::HexCell& c : doc().mapGrid.cells) {
            c.terrain = kPlain;
            c.picture = kPlain;
        }
        doc().viewSettings.showHexFrame = 0;
    }
    kv::HexCell& cell(int col, int row) { return *doc().cellAt(col, row); }
    // A map of another size, every hex plain land.
    void resize(int width, int height) {
        doc().mapHeader.setSize(width, height);
        doc().renewRedrawGrid();
    }
    // A renderer of the document at `size` for a view of w × h pixels with that origin.
    std::unique_ptr<kv::MapRenderer> renderer(int size, int w = 640, int h = 480,
                                              kv::HexPos origin = {0, 0}) {
        doc().viewSettings.hexSize = size;
        auto r = std::make_unique<kv::MapRenderer>(doc(), QSize(800, 600));
        r->setClientSize(w, h);
        r->setOrigin(origin);
        r->rebuildSheets();
        return r;
    }
    // Whether every opaque pixel of the sheet cell (col, row) of `sheet` appears at the
    // cell's place of hex (hexCol, hexRow) in the map picture.
    static bool showsCell(const kv::MapRenderer& r, kv::Sheet sheet, int col, int row, int hexCol,
                          int hexRow, int down = 0) {
        const kv::SpriteImage& s = r.sheets()[sheet];
        const int size = r.sheets().hexSize();
        const kv::PixelPos p = r.hexToPixel(hexCol, hexRow);
        int opaque = 0;
        for (int dy = 0; dy < size; ++dy)
            for (int dx = 0; dx < size; ++dx) {
                const int sx = col * size + dx, sy = row * size + dy + down;
                if (!s.isOpaque(sx, sy)) continue;
                ++opaque;
                if ((r.mapImage().pixel(p.x + dx, p.y + dy) & 0xFFFFFF) !=
                    (s.pixels().pixel(sx, sy) & 0xFFFFFF))
                    return false;
            }
        return opaque > 0;
    }
    // Whether every opaque pixel of `source` in `sprite` appears at (x, y) of the map picture.
    // With `share` below 1 that share of them is enough (later layers cover the rest).
    static bool showsPart(const kv::MapRenderer& r, const kv::SpriteImage& sprite,
                          const kv::Rect& source, int x, int y, double share = 1.0) {
        int opaque = 0, same = 0;
        for (int sy = source.top; sy < source.bottom; ++sy)
            for (int sx = source.left; sx < source.right; ++sx) {
                if (!sprite.isOpaque(sx, sy)) continue;
                ++opaque;
                same += (r.mapImage().pixel(x + sx - source.left, y + sy - source.top) &
                         0xFFFFFF) == (sprite.pixels().pixel(sx, sy) & 0xFFFFFF);
            }
        return opaque > 0 && same >= share * opaque;
    }
    // The part of an image inside a rectangle.
    static QImage part(const QImage& image, int x, int y, int w, int h) {
        return image.copy(x, y, w, h);
    }
};

}  // namespace kvtest
