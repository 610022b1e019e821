// Sprite pixels with their opaque runs, and the keyed copy by runs.
#include "view/sprite_image.h"

#include <algorithm>
#include <cstring>

#include "framework/bitmap_block.h"
#include "framework/picture.h"

namespace kv {

DrawSurface DrawSurface::of(QImage& image) {
    DrawSurface s;
    if (image.isNull()) return s;
    s.origin = image.bits();
    s.stride = image.bytesPerLine();
    s.width = image.width();
    s.height = image.height();
    s.bytesPerPixel = image.depth() / 8;
    return s;
}

SpriteImage::SpriteImage(const Picture& picture) {
    if (picture.isNull()) return;
    setPixels(picture.image().convertToFormat(QImage::Format_RGB32));
    findRuns(pixels_);
}

SpriteImage SpriteImage::fromRuns(QImage pixels, std::vector<Run> runs,
                                  std::vector<uint32_t> rowRuns) {
    if (pixels.isNull() || pixels.format() != QImage::Format_RGB32) return {};
    const size_t rows = static_cast<size_t>(pixels.height());
    if (rowRuns.size() != rows + 1 || rowRuns[0] != 0 || rowRuns[rows] != runs.size()) return {};
    // Rising from 0 to the run count, so every row's runs lie inside the list.
    if (!std::is_sorted(rowRuns.begin(), rowRuns.end())) return {};
    for (size_t y = 0; y < rows; ++y) {
        int32_t previousEnd = 0;
        for (uint32_t i = rowRuns[y]; i < rowRuns[y + 1]; ++i) {
            const Run& r = runs[i];
            if (r.start < previousEnd || r.end <= r.start || r.end > pixels.width()) return {};
            previousEnd = r.end;
        }
    }
    SpriteImage out;
    out.setPixels(std::move(pixels));
    out.runs_ = std::move(runs);
    out.rowRuns_ = std::move(rowRuns);
    return out;
}

void SpriteImage::findRuns(const QImage& image) {
    runs_.clear();
    rowRuns_.assign(static_cast<size_t>(image.height()) + 1, 0);
    for (int y = 0; y < image.height(); ++y) {
        rowRuns_[static_cast<size_t>(y)] = static_cast<uint32_t>(runs_.size());
        const QRgb* p = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int x = 0;
        const int w = image.width();
        while (x < w) {
            while (x < w && (p[x] & 0xFFFFFF) == kColourKey) ++x;
            const int start = x;
            while (x < w && (p[x] & 0xFFFFFF) != kColourKey) ++x;
            if (x > start) runs_.push_back({start, x});
        }
    }
    rowRuns_[static_cast<size_t>(image.height())] = static_cast<uint32_t>(runs_.size());
}

void SpriteImage::setPixels(QImage image) {
    pixels_ = std::move(image);
    bits_ = pixels_.isNull() ? nullptr : pixels_.constBits();
    stride_ = pixels_.bytesPerLine();
}

SpriteImage SpriteImage::toRgb555() const {
    SpriteImage out;
    if (isNull() || bytesPerPixel_ != 4) return *this;
    const int w = width();
    QImage pixels(w, height(), QImage::Format_RGB555);
    if (pixels.isNull()) return {};
    for (int y = 0; y < height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(pixels_.constScanLine(y));
        uint16_t* o = reinterpret_cast<uint16_t*>(pixels.scanLine(y));
        for (int x = 0; x < w; ++x) o[x] = kv::toRgb555(in[x]);
    }
    out.setPixels(std::move(pixels));
    out.bytesPerPixel_ = 2;
    out.runs_ = runs_;
    out.rowRuns_ = rowRuns_;
    return out;
}

bool SpriteImage::isOpaque(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return false;
    const auto first = runs_.begin() + rowRuns_[static_cast<size_t>(y)];
    const auto last = runs_.begin() + rowRuns_[static_cast<size_t>(y) + 1];
    return std::any_of(first, last, [x](const Run& r) { return x >= r.start && x < r.end; });
}

Rect SpriteImage::drawTo(DrawSurface& target, int x, int y, const Rect& source,
                         const Rect& clip) const {
    if (isNull() || target.origin == nullptr || target.bytesPerPixel != bytesPerPixel_) return {};
    // Work in 64 bits: hostile numbers must not wrap.
    int64_t sx0 = source.left, sy0 = source.top, sx1 = source.right, sy1 = source.bottom;
    int64_t dx = x, dy = y;
    if (sx0 < 0) dx -= sx0, sx0 = 0;
    if (sy0 < 0) dy -= sy0, sy0 = 0;
    sx1 = std::min<int64_t>(sx1, width());
    sy1 = std::min<int64_t>(sy1, height());
    const int64_t cx0 = std::max(clip.left, 0), cy0 = std::max(clip.top, 0);
    const int64_t cx1 = std::min(clip.right, target.width);
    const int64_t cy1 = std::min(clip.bottom, target.height);
    if (dx < cx0) sx0 += cx0 - dx, dx = cx0;
    if (dy < cy0) sy0 += cy0 - dy, dy = cy0;
    sx1 = std::min(sx1, sx0 + cx1 - dx);
    sy1 = std::min(sy1, sy0 + cy1 - dy);
    if (sx0 >= sx1 || sy0 >= sy1) return {};

    const int bpp = bytesPerPixel_;
    for (int64_t sy = sy0; sy < sy1; ++sy) {
        const uint8_t* src = bits_ + stride_ * sy;
        uint8_t* dst = target.row(static_cast<int>(dy + sy - sy0)) + (dx - sx0) * bpp;
        const auto first = runs_.begin() + rowRuns_[static_cast<size_t>(sy)];
        const auto last = runs_.begin() + rowRuns_[static_cast<size_t>(sy) + 1];
        // The first run that ends past the left edge, then every run that starts before
        // the right edge.
        auto r = std::upper_bound(first, last, sx0,
                                  [](int64_t v, const Run& run) { return v < run.end; });
        for (; r != last && r->start < sx1; ++r) {
            const int64_t a = std::max<int64_t>(r->start, sx0);
            const int64_t b = std::min<int64_t>(r->end, sx1);
            std::memcpy(dst + a * bpp, src + a * bpp, static_cast<size_t>((b - a) * bpp));
        }
    }
    return {static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(dx + sx1 - sx0),
            static_cast<int>(dy + sy1 - sy0)};
}

}  // namespace kv
