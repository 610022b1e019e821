// Composing the screen image from the map picture and the underlay in the three drawing
// modes, and taking in the underlay picture.
#include <algorithm>
#include <cstring>
#include <utility>

#include "document/map_document.h"
#include "view/map_renderer.h"
#include "view/underlay_picture.h"

namespace kv {

namespace {

constexpr QRgb kBlack = 0xFF000000u;
// Each channel loses its lowest bit before two pixels are added, so the sum never carries
// into the next channel.
constexpr QRgb kMeanMask = 0x00FEFEFEu;

Rect intersect(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

}  // namespace

QRgb transparentMean(QRgb a, QRgb b) {
    return kBlack | (((a & kMeanMask) + (b & kMeanMask)) >> 1);
}

PresentResult MapRenderer::present() {
    const int method = doc_.tool.mapDrawMethod;
    PresentResult result;
    result.whole = fullPresent_ || dirtyRects_.size() >= kFullPresentRects ||
                   (method == kTransparent && underlayActualSize_);
    if (result.whole) {
        compose(clientRect());
    } else {
        for (const Rect& r : dirtyRects_) {
            const Rect inside = intersect(r, clientRect());
            if (inside.width() <= 0 || inside.height() <= 0) continue;
            compose(inside);
            result.rects.push_back(inside);
        }
    }
    fullPresent_ = false;
    dirtyRects_.clear();
    return result;
}

void MapRenderer::compose(const Rect& r) {
    if (r.width() <= 0 || r.height() <= 0) return;
    const int method = doc_.tool.mapDrawMethod;
    if (method != kMapOnly && underlayLoaded_ && !underlayImage_.isNull()) {
        composeUnderlay(r);
        return;
    }
    for (int y = r.top; y < r.bottom; ++y) composeBase(r.left, r.right, y);
}

void MapRenderer::composeBase(int left, int right, int y) {
    if (left >= right) return;
    QRgb* out = reinterpret_cast<QRgb*>(screenImage_.scanLine(y));
    if (doc_.tool.mapDrawMethod == kUnderlayOnly) {
        std::fill(out + left, out + right, kBlack);
    } else {
        std::memcpy(out + left, mapImage_.constScanLine(y) + 4 * left,
                    4 * static_cast<size_t>(right - left));
    }
}

void MapRenderer::composeUnderlay(const Rect& r) {
    const HexPixels g = pixels();
    const int s = g.size();
    const int uw = underlayImage_.width(), uh = underlayImage_.height();
    // The underlay pixel of each column and row of the rectangle, −1 where there is none.
    std::vector<int> ux(static_cast<size_t>(r.width()));
    std::vector<int> uy(static_cast<size_t>(r.height()));
    const int64_t mapW = g.mapPixelWidth(doc_.width()), mapH = g.mapPixelHeight(doc_.height());
    auto source = [&](int64_t m, int64_t anchor, int64_t mapLength, int length) -> int {
        if (underlayActualSize_) {
            const int64_t d = m - anchor;
            const int64_t u = d < 0 ? -1 : d * 32 / s;
            return u >= 0 && u < length ? static_cast<int>(u) : -1;
        }
        if (m < 0 || m >= mapLength) return -1;
        return static_cast<int>(m * length / mapLength);
    };
    // The columns with an underlay pixel are one run: [first, last).
    int first = r.right, last = r.right;
    for (int x = r.left; x < r.right; ++x) {
        const int u =
            source(x + int64_t{s} * origin_.col, int64_t{underlayOffsetCol_} * s, mapW, uw);
        ux[size_t(x - r.left)] = u;
        if (u < 0) continue;
        if (first == r.right) first = x;
        last = x + 1;
    }
    for (int y = r.top; y < r.bottom; ++y)
        uy[size_t(y - r.top)] = source(y + int64_t{g.rowPitch()} * origin_.row,
                                       int64_t{underlayOffsetRow_} * g.rowPitch(), mapH, uh);

    // Each pixel is written once: the map (or black) beside the picture, the mix or the
    // picture over it.
    const bool transparent = doc_.tool.mapDrawMethod == kTransparent;
    const bool tooSmall = uw <= 1 && uh <= 1;
    const int* sx = ux.data() - r.left;
    for (int y = r.top; y < r.bottom; ++y) {
        const int sy = uy[size_t(y - r.top)];
        if (sy < 0 || first >= last || (!transparent && tooSmall)) {
            composeBase(r.left, r.right, y);  // black in the underlay-only mode
            continue;
        }
        composeBase(r.left, first, y);
        composeBase(last, r.right, y);
        const QRgb* in = reinterpret_cast<const QRgb*>(underlayImage_.constScanLine(sy));
        QRgb* out = reinterpret_cast<QRgb*>(screenImage_.scanLine(y));
        if (transparent) {
            const QRgb* map = reinterpret_cast<const QRgb*>(mapImage_.constScanLine(y));
            for (int x = first; x < last; ++x)
                out[x] = kBlack | (((map[x] & kMeanMask) + (in[sx[x]] & kMeanMask)) >> 1);
        } else {
            for (int x = first; x < last; ++x) out[x] = kBlack | in[sx[x]];
        }
    }
}

bool MapRenderer::loadUnderlay(const std::string& path) {
    // Whatever the format, a picture that cannot be read or is too large keeps the old one.
    UnderlayRead read = readUnderlayFile(path, maximumUnderlaySize(doc_.width(), doc_.height()));
    if (read.problem != UnderlayRead::None) return false;
    setUnderlay(read.image);
    return true;
}

void MapRenderer::setUnderlay(const QImage& picture) {
    QImage converted = picture.convertToFormat(QImage::Format_RGB32);
    if (converted.isNull()) return;
    underlayImage_ = std::move(converted);
    underlayLoaded_ = true;
    fullPresent_ = true;
}

void MapRenderer::dropUnderlay() {
    underlayImage_ = QImage();
    underlayLoaded_ = false;
    fullPresent_ = true;
}

void MapRenderer::setUnderlayPlacement(int offsetCol, int offsetRow, bool actualSize) {
    underlayOffsetCol_ = offsetCol;
    underlayOffsetRow_ = offsetRow;
    underlayActualSize_ = actualSize;
    fullPresent_ = true;
}

}  // namespace kv
