// Hex ↔ pixel geometry of the map view and the fitting of the scroll origin.
#include "document/hex_pixels.h"

namespace kv {

namespace {

bool isOdd(int v) {
    return (v & 1) != 0;  // two's complement: right for negative rows too
}

// Floor division and its remainder, for points left of or above the client area.
int floorDiv(int a, int b) {
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
int floorMod(int a, int b) {
    return a - floorDiv(a, b) * b;
}

}  // namespace

PixelPos HexPixels::hexToPixel(HexPos hex, HexPos origin) const {
    return {size_ * (hex.col - origin.col) + halfShift() * (hex.row & 1),
            (hex.row - origin.row) * rowPitch()};
}

HexPos HexPixels::pixelToHex(int x, int y, HexPos origin) const {
    const int h = halfShift(), q = capHeight(), pitch = size_ - q;
    int band = floorDiv(y, pitch);
    const int dy = floorMod(y, pitch);
    const bool odd = isOdd(origin.row + band);
    const int px = odd ? x - h : x;
    int col = floorDiv(px, size_);
    const int dx = floorMod(px, size_);
    if (dy < q) {
        if (dx < h) {
            if (dx == 0 || dx < 2 * (q - dy) - 2) {
                --band;
                if (isOdd(origin.row + band)) --col;
            }
        } else if (dx == size_ - 1 || dx - h > 2 * dy) {
            if (odd) ++col;
            --band;
        }
    }
    return {origin.col + col, origin.row + band};
}

HexPos HexPixels::visibleSize(int clientWidth, int clientHeight) const {
    const int cols = (clientWidth - halfShift()) / size_;
    const int rows = (clientHeight - capHeight()) / rowPitch();
    return {cols > 0 ? cols : 0, rows > 0 ? rows : 0};
}

HexPos HexPixels::drawnExtent(int clientWidth, int clientHeight) const {
    const int cols = clientWidth > 0 ? (clientWidth + size_ - 1) / size_ : 0;
    const int rows = clientHeight > 0 ? (clientHeight + rowPitch() - 1) / rowPitch() : 0;
    return {cols, rows};
}

ScrollAxis fitScrollAxis(int origin, int mapLength, int visible) {
    ScrollAxis a;
    if (mapLength < visible) {
        a.origin = -((visible - mapLength) / 2);
        a.maximum = 1;
        a.page = 2;
        return a;
    }
    a.origin = origin < 0 ? 0 : origin > mapLength - visible ? mapLength - visible : origin;
    a.scrollable = mapLength > visible;
    a.maximum = mapLength - 1;
    a.page = visible;
    return a;
}

int labelLeft(int cellX, int col, int mapWidth, int hexSize, int textWidth) {
    const int left = cellX + hexSize / 2 - textWidth / 2;
    const int leftEdge = cellX - col * hexSize;
    const int rightEdge = cellX + (mapWidth - col) * hexSize;
    if (left < leftEdge) return leftEdge;
    if (left + textWidth > rightEdge) return rightEdge - textWidth;
    return left;
}

}  // namespace kv
