// The pixel geometry of the map view: where a hex's square cell lies for a hex size and a
// scroll origin, which hex a client pixel hits, how many hexes fit, and how the scroll
// origin is fitted to a map.
#pragma once

#include "document/hex_geometry.h"

namespace kv {

struct PixelPos {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPos&) const = default;
};

// The three hex sizes of the view; anything else reads as the medium one.
inline constexpr int kHexSizeSmall = 16, kHexSizeMedium = 32, kHexSizeLarge = 48;
inline int normalisedHexSize(int size) {
    return size == kHexSizeSmall || size == kHexSizeLarge ? size : kHexSizeMedium;
}

// Hexes stand on a point; every hex picture is an S × S cell; odd rows (by their absolute
// row number) are shifted right by half a hex; rows interlock by the pointed cap, the top
// S/4 pixels of a cell.
class HexPixels {
public:
    explicit HexPixels(int size) : size_(normalisedHexSize(size)) {}

    int size() const { return size_; }
    int columnPitch() const { return size_; }
    int rowPitch() const { return size_ * 3 / 4; }
    int halfShift() const { return size_ / 2; }
    int capHeight() const { return size_ / 4; }

    // Top-left of the hex's cell in client pixels for the scroll origin (the hex drawn at
    // the top-left of the client area).
    PixelPos hexToPixel(HexPos hex, HexPos origin) const;
    // The hex a client pixel hits. In the cap band the upper hex wins two pixels before the
    // exact slanted edge, and the first and last pixel columns of the band always go up. The
    // result may lie outside the map.
    HexPos pixelToHex(int x, int y, HexPos origin) const;

    // Hexes that fit whole into a client area: (columns, rows).
    HexPos visibleSize(int clientWidth, int clientHeight) const;
    // Hexes drawn to cover a client area, the last ones cut: (columns, rows).
    HexPos drawnExtent(int clientWidth, int clientHeight) const;

    // The whole map's picture: S·width + S/2 by S·height·3/4 + S/4 pixels.
    int mapPixelWidth(int mapWidth) const { return size_ * mapWidth + size_ / 2; }
    int mapPixelHeight(int mapHeight) const { return size_ * mapHeight * 3 / 4 + size_ / 4; }

private:
    int size_;
};

// One axis of the scroll bars for a map length and the hexes that fit. A map shorter than
// the view is centred by a negative origin and cannot scroll; otherwise the origin is
// clamped to 0 .. length − visible.
struct ScrollAxis {
    int origin = 0;
    bool scrollable = false;
    int maximum = 0;  // the bar's range is 0 .. maximum (length − 1), with `page` visible
    int page = 0;
};
ScrollAxis fitScrollAxis(int origin, int mapLength, int visible);

// The left edge of a label `textWidth` pixels wide centred on the hex whose cell starts at
// `cellX` (the hex is column `col` of a map `mapWidth` hexes wide): kept inside the map's
// row, the left end winning when the label is wider than the row.
int labelLeft(int cellX, int col, int mapWidth, int hexSize, int textWidth);

}  // namespace kv
