// The map view's off-screen drawing: screen-sized images, the per-hex redraw of the map
// picture with the scroll shift, the label pass, and the composition with the underlay
// picture into the image the window shows.
#pragma once

#include <QFont>
#include <QImage>
#include <QSize>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "document/hex_pixels.h"
#include "framework/placement.h"
#include "view/hex_painter.h"
#include "view/sprite_sheets.h"

namespace kv {

class MapDocument;

// The document's map drawing modes.
enum DrawMethod { kUnderlayOnly = 0, kMapOnly = 1, kTransparent = 2 };

// The transparent mode's mix of a map pixel and an underlay pixel: the mean of each channel,
// each first losing its lowest bit.
QRgb transparentMean(QRgb mapPixel, QRgb underlayPixel);

// What a present changed in the screen image: the whole of it, or these rectangles.
struct PresentResult {
    bool whole = false;
    std::vector<Rect> rects;
};

class MapRenderer {
public:
    // From this many changed rectangles on, a present composes the whole screen.
    static constexpr size_t kFullPresentRects = 50;

    // Images of the screen's size, taken once: resizing the window reallocates nothing.
    MapRenderer(MapDocument& doc, QSize screenSize);
    MapRenderer(const MapRenderer&) = delete;
    MapRenderer& operator=(const MapRenderer&) = delete;
    ~MapRenderer();

    // A new screen size (the display mode changed): new images, everything drawn afresh.
    void recreate(QSize screenSize);
    QSize screenSize() const { return screenImage_.size(); }

    // --- sheets ---------------------------------------------------------------------------
    // Rebuilds every sheet for the document's hex size, icon mode and faction colours.
    void rebuildSheets();
    void reloadCustomIcon(int number);
    const SpriteSheets& sheets() const { return sheets_; }

    // --- the view's state, kept in step by the view ---------------------------------------
    // The client size, cut to the screen size.
    void setClientSize(int width, int height);
    int clientWidth() const { return clientWidth_; }
    int clientHeight() const { return clientHeight_; }
    void setOrigin(HexPos origin) { origin_ = origin; }
    HexPos origin() const { return origin_; }
    // Forgets the last drawing's origin: the next drawMap shifts nothing.
    void forgetPreviousOrigin() { hasPrevious_ = false; }
    // Whether the last drawMap found the origin moved since the one before.
    bool originMoved() const { return originMoved_; }

    // --- drawing -------------------------------------------------------------------------
    // Shifts the still-visible picture after scrolling, draws every dirty hex of the view,
    // keeps the redraw bits of everything outside the view set, then the label pass.
    void drawMap();
    // The label pass over the visible area.
    void drawLabelsOnly();
    // Draws one hex at its place (and marks it clean), then the labels of its row unless the
    // caller draws the labels of many hexes' rows at once (drawLabelsOfRows).
    void redrawHex(int col, int row, bool withLabels = true);
    // The labels of the rows firstRow..lastRow across the visible width.
    void drawLabelsOfRows(int firstRow, int lastRow);
    // The labels of one row across the visible width.
    void drawLabelRow(int row);
    // The client-pixel cell of a hex.
    PixelPos hexToPixel(int col, int row) const { return pixels().hexToPixel({col, row}, origin_); }

    // --- present -------------------------------------------------------------------------
    // Composes what changed into the screen image (the underlay as the drawing mode says)
    // and tells what to copy to the window. Clears the changed rectangles.
    PresentResult present();
    void setFullPresent() { fullPresent_ = true; }
    bool fullPresent() const { return fullPresent_; }
    const std::vector<Rect>& dirtyRects() const { return dirtyRects_; }

    // --- underlay ------------------------------------------------------------------------
    // A picture that cannot be read, or is larger than the map allows, keeps the old one
    // (false).
    bool loadUnderlay(const std::string& path);
    // A null picture, or one that cannot be converted, keeps the old one.
    void setUnderlay(const QImage& picture);
    void dropUnderlay();
    // Anchored at a hex at its own size, or fitted over the whole map.
    void setUnderlayPlacement(int offsetCol, int offsetRow, bool actualSize);
    bool underlayLoaded() const { return underlayLoaded_; }
    QSize underlaySize() const { return underlayImage_.size(); }

    const QImage& screenImage() const { return screenImage_; }
    const QImage& mapImage() const { return mapImage_; }
    // The font of the labels.
    const QFont& labelFont() const { return labelFont_; }

    // Test seam: every hex drawn is appended while a log is set.
    void setDrawLog(std::vector<HexPos>* log) { drawLog_ = log; }

private:
    HexPixels pixels() const;
    Rect clientRect() const { return {0, 0, clientWidth_, clientHeight_}; }
    void allocate(QSize screenSize);
    void shiftForScroll();
    void drawOneHex(HexPainter& painter, int col, int row, int x, int y);
    // Label pass (map_renderer_labels.cpp).
    void drawLabelsOfHex(int col, int row, int x, int y);
    void drawLabel(int col, int x, int y, int type, const std::string& name, int colour);
    int factionHueOf(int colour) const;
    SpriteImage labelSprite(const std::string& plain, const std::string& coloured, int colour,
                            int width) const;
    // Composition (map_renderer_present.cpp).
    void compose(const Rect& r);
    // Row y from `left` to `right` as the drawing mode shows it without the underlay.
    void composeBase(int left, int right, int y);
    void composeUnderlay(const Rect& r);
    bool underlayPixel(int sx, int sy, QRgb& out) const;

    MapDocument& doc_;
    QImage screenImage_;
    QImage mapImage_;
    QImage underlayImage_;
    bool underlayLoaded_ = false;
    int underlayOffsetCol_ = 0;
    int underlayOffsetRow_ = 0;
    bool underlayActualSize_ = false;
    SpriteSheets sheets_;
    std::vector<Rect> dirtyRects_;
    bool fullPresent_ = true;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    HexPos origin_;
    HexPos previous_;
    bool hasPrevious_ = false;
    bool originMoved_ = false;
    QFont labelFont_;
    // Each label's picture, drawn once (by type, colour and text).
    std::unordered_map<std::string, SpriteImage> labelSprites_;
    std::vector<HexPos>* drawLog_ = nullptr;
};

}  // namespace kv
