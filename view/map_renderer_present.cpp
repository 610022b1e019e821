// Composing the screen image from the map picture and the underlay in the three drawing
// modes, and taking in the underlay picture.
#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

#include <unistd.h>

#include "document/map_document.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/picture.h"
#include "view/map_renderer.h"

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
    const size_t bytes = 4 * static_cast<size_t>(r.width());
    if (method == kUnderlayOnly) {
        for (int y = r.top; y < r.bottom; ++y)
            std::fill_n(reinterpret_cast<QRgb*>(screenImage_.scanLine(y)) + r.left, r.width(),
                        kBlack);
    } else {
        for (int y = r.top; y < r.bottom; ++y)
            std::memcpy(screenImage_.scanLine(y) + 4 * r.left,
                        mapImage_.constScanLine(y) + 4 * r.left, bytes);
    }
    if (method != kMapOnly) composeUnderlay(r);
}

void MapRenderer::composeUnderlay(const Rect& r) {
    if (!underlayLoaded_ || underlayImage_.isNull()) return;
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
    for (int x = r.left; x < r.right; ++x)
        ux[size_t(x - r.left)] =
            source(x + int64_t{s} * origin_.col, int64_t{underlayOffsetCol_} * s, mapW, uw);
    for (int y = r.top; y < r.bottom; ++y)
        uy[size_t(y - r.top)] = source(y + int64_t{g.rowPitch()} * origin_.row,
                                       int64_t{underlayOffsetRow_} * g.rowPitch(), mapH, uh);

    const bool transparent = doc_.tool.mapDrawMethod == kTransparent;
    const bool tooSmall = uw <= 1 && uh <= 1;
    for (int y = r.top; y < r.bottom; ++y) {
        const int sy = uy[size_t(y - r.top)];
        if (sy < 0 || (!transparent && tooSmall)) continue;  // stays as it is (black)
        const QRgb* in = reinterpret_cast<const QRgb*>(underlayImage_.constScanLine(sy));
        QRgb* out = reinterpret_cast<QRgb*>(screenImage_.scanLine(y));
        for (int x = r.left; x < r.right; ++x) {
            const int sx = ux[size_t(x - r.left)];
            if (sx < 0) continue;
            out[x] = transparent ? transparentMean(out[x], in[sx]) : (kBlack | in[sx]);
        }
    }
}

bool MapRenderer::loadUnderlay(const std::string& path) {
    const std::string ext = std::filesystem::path(path).extension().string();
    if (ext.size() >= 2 && std::tolower(static_cast<unsigned char>(ext[1])) == 'b') {
        Picture p;
        try {
            p.loadFile(path);
        } catch (const swCError&) {
            p.clear();
        }
        // A bitmap file replaces the old picture whatever it held.
        underlayImage_ = p.image();
        underlayLoaded_ = !underlayImage_.isNull();
        fullPresent_ = true;
        return underlayLoaded_;
    }
    // Read through a descriptor of a regular file only: a FIFO under the name would block
    // the reader for ever. The content tells the format.
    const int fd = openRegularFile(path);
    if (fd < 0) return false;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    QImageReader reader(&file);
    const QImage image = reader.read();
    if (image.isNull()) return false;
    setUnderlay(image);
    return true;
}

void MapRenderer::setUnderlay(const QImage& picture) {
    underlayImage_ = picture.convertToFormat(QImage::Format_RGB32);
    underlayLoaded_ = !underlayImage_.isNull();
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
