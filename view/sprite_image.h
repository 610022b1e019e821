// A sprite sheet as the map drawing uses it: its pixels with the opaque runs of every row
// found once, so that a colour-keyed copy is a few block copies per row; and the drawing
// surface it is copied to.
#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/placement.h"

namespace kv {

class Picture;

// Where sprites are drawn: 32-bit pixels (QImage::Format_RGB32) or 16-bit 5-5-5 pixels.
// The stride may be negative (rows stored bottom-up).
struct DrawSurface {
    uint8_t* origin = nullptr;  // the first byte of row 0
    ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
    int bytesPerPixel = 4;

    uint8_t* row(int y) const { return origin + stride * y; }
    static DrawSurface of(QImage& image);
};

class SpriteImage {
public:
    // The opaque pixels [start, end) of a row.
    struct Run {
        int32_t start;
        int32_t end;  // exclusive
        bool operator==(const Run&) const = default;
    };

    SpriteImage() = default;
    // The picture's pixels; the colour key (magenta) marks the transparent ones.
    explicit SpriteImage(const Picture& picture);
    // 32-bit pixels with their runs as runs() and rowRuns() gave them (kept in a file): null
    // unless the runs lie inside the image, in order, each row's after the last.
    static SpriteImage fromRuns(QImage pixels, std::vector<Run> runs,
                                std::vector<uint32_t> rowRuns);

    bool isNull() const { return pixels_.isNull(); }
    int width() const { return pixels_.width(); }
    int height() const { return pixels_.height(); }
    int bytesPerPixel() const { return bytesPerPixel_; }
    const QImage& pixels() const { return pixels_; }
    // The same sprite with 16-bit 5-5-5 pixels (the transparent runs stay as they are).
    SpriteImage toRgb555() const;
    // Whether (x, y) is an opaque pixel.
    bool isOpaque(int x, int y) const;
    // The opaque runs, and where each row's begin (one entry more than the rows).
    const std::vector<Run>& runs() const { return runs_; }
    const std::vector<uint32_t>& rowRuns() const { return rowRuns_; }

    // Copies the opaque pixels of `source` (in this sprite) to (x, y) of `target`, inside
    // `clip` (a rectangle of the target). The source is clipped to the sprite and the target;
    // pixel sizes must agree. Returns the target rectangle covered (empty when nothing).
    Rect drawTo(DrawSurface& target, int x, int y, const Rect& source, const Rect& clip) const;

private:
    void findRuns(const QImage& image);
    // Keeps the pixel address and row stride, so drawing asks the image nothing per row.
    void setPixels(QImage image);

    QImage pixels_;  // never changed once set: bits_ stays valid
    const uint8_t* bits_ = nullptr;
    ptrdiff_t stride_ = 0;
    int bytesPerPixel_ = 4;
    std::vector<Run> runs_;
    std::vector<uint32_t> rowRuns_;  // runs of row y: rowRuns_[y] .. rowRuns_[y + 1]
};

// 5-5-5 of a 0x??RRGGBB colour.
inline uint16_t toRgb555(uint32_t rgb) {
    return static_cast<uint16_t>((rgb >> 9 & 0x7C00) | (rgb >> 6 & 0x03E0) | (rgb >> 3 & 0x001F));
}

}  // namespace kv
