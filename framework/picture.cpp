// Picture loading, cutting, keyed copying, recolouring and key-aware scaling.
#include "framework/picture.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "framework/archive_reader.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/faction_colours.h"

namespace kv {

namespace {

constexpr QRgb kOpaque = 0xFF000000u;

// Pixels less than half covered become the key; the rest become opaque in their own colour.
QImage flattenToKey(const QImage& image) {
    QImage src = image.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    const int w = src.width();  // not asked per pixel: a call into the library each time
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x)
            dst[x] = qAlpha(in[x]) < 128 ? kOpaque | kColourKey : kOpaque | in[x];
    }
    return out;
}

QImage mirrored(QImage image, int flags) {
    const bool horizontal = flags & MirrorHorizontal;
    const bool vertical = flags & MirrorVertical;
    if (!horizontal && !vertical) return image;
    return image.mirrored(horizontal, vertical);
}

}  // namespace

Picture::Picture(const QImage& image) {
    if (image.isNull()) return;
    image_ =
        image.hasAlphaChannel() ? flattenToKey(image) : image.convertToFormat(QImage::Format_RGB32);
}

void Picture::loadFile(const std::string& path, int flags, int entry) {
    clear();
    if (entry >= 0) {
        ArchiveReader archive;
        archive.open(path);
        const uint8_t* data = nullptr;
        const size_t size = archive.entry(entry, data);
        fromBlock(readBitmapBlock(std::span<const uint8_t>(data, size)), flags);
        return;
    }
    DiskFile file;
    file.open(path, DiskFile::Read);
    BitmapBlock block = readBitmapBlock(file);
    file.close();
    fromBlock(std::move(block), flags);
}

void Picture::loadRect(const std::string& path, const Rect& rect, int flags, int entry) {
    Picture whole;
    whole.loadFile(path, 0, entry);
    *this = whole.isNull() ? Picture() : whole.cut(rect, flags);
}

void Picture::fromMemory(std::span<const uint8_t> bitmapFileImage, QRgb replaceColour,
                         QRgb byColour) {
    clear();
    fromBlock(readBitmapBlock(bitmapFileImage), 0, replaceColour, byColour);
}

void Picture::fromBlock(BitmapBlock block, int flags, QRgb replaceColour, QRgb byColour) {
    clear();
    if (block.empty()) return;
    if ((replaceColour & 0xFFFFFF) != (byColour & 0xFFFFFF))
        replaceTableColour(block, replaceColour, byColour);
    const std::vector<uint32_t> pixels = decodeBitmapPixels(block);
    if (pixels.empty()) return;
    QImage image(block.width(), block.height(), QImage::Format_RGB32);
    if (image.isNull()) throw swCBitmapError(swCBitmapError::Create);  // out of memory
    const size_t rowBytes = static_cast<size_t>(block.width()) * sizeof(uint32_t);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), pixels.data() + static_cast<size_t>(y) * block.width(),
                    rowBytes);
    image_ = mirrored(std::move(image), flags);
}

Picture Picture::cut(const Rect& rect, int flags) const {
    Picture part;
    if (rect.width() <= 0 || rect.height() <= 0) return part;
    QImage out(rect.width(), rect.height(), QImage::Format_RGB32);
    if (out.isNull()) return part;
    out.fill(kOpaque);
    const int left = std::max(rect.left, 0), right = std::min(rect.right, width());
    const int top = std::max(rect.top, 0), bottom = std::min(rect.bottom, height());
    for (int y = top; y < bottom && left < right; ++y) {
        std::memcpy(out.scanLine(y - rect.top) + 4 * (left - rect.left),
                    image_.constScanLine(y) + 4 * left, 4 * static_cast<size_t>(right - left));
    }
    part.image_ = mirrored(std::move(out), flags);
    return part;
}

void Picture::recolour(int hueAngle) {
    for (int y = 0; y < image_.height(); ++y) {
        recolourPixels(reinterpret_cast<uint32_t*>(image_.scanLine(y)),
                       static_cast<size_t>(image_.width()), hueAngle);
    }
}

Picture Picture::recoloured(int hueAngle) const {
    Picture copy = *this;
    copy.recolour(hueAngle);
    return copy;
}

Picture Picture::scaledCells(int fromSize, int toSize) const {
    if (isNull() || fromSize <= 0 || toSize <= 0) return {};
    if (fromSize == toSize) return *this;
    const int w = static_cast<int>(static_cast<int64_t>(width()) * toSize / fromSize);
    const int h = static_cast<int>(static_cast<int64_t>(height()) * toSize / fromSize);
    if (w <= 0 || h <= 0) return {};
    return Picture(
        withTransparentKey().scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QImage Picture::withTransparentKey(QRgb key) const {
    if (isNull()) return {};
    QImage out(image_.size(), QImage::Format_ARGB32_Premultiplied);
    const int w = image_.width();
    for (int y = 0; y < image_.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
        QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x)
            dst[x] = (in[x] & 0xFFFFFF) == (key & 0xFFFFFF) ? 0 : kOpaque | in[x];
    }
    return out;
}

Picture loadPicture(std::string_view fileName, DataKind kind, int flags) {
    Picture picture;
    picture.loadFile(dataPath(fileName, kind), flags);
    return picture;
}

void drawKeyed(QImage& destination, int x, int y, const Picture& source, const Rect& rect,
               QRgb key) {
    if (source.isNull() || destination.isNull()) return;
    if (destination.depth() != 32) destination.convertTo(QImage::Format_RGB32);
    // Clip the source rectangle to the source, moving the destination point along.
    int64_t sx0 = rect.left, sy0 = rect.top, sx1 = rect.right, sy1 = rect.bottom;
    int64_t dx = x, dy = y;
    if (sx0 < 0) dx -= sx0, sx0 = 0;
    if (sy0 < 0) dy -= sy0, sy0 = 0;
    sx1 = std::min<int64_t>(sx1, source.width());
    sy1 = std::min<int64_t>(sy1, source.height());
    // Then to the destination.
    if (dx < 0) sx0 -= dx, dx = 0;
    if (dy < 0) sy0 -= dy, dy = 0;
    sx1 = std::min<int64_t>(sx1, sx0 + destination.width() - dx);
    sy1 = std::min<int64_t>(sy1, sy0 + destination.height() - dy);
    if (sx0 >= sx1 || sy0 >= sy1) return;
    const QRgb keyRgb = key & 0xFFFFFF;
    const QImage& src = source.image();
    for (int64_t sy = sy0; sy < sy1; ++sy) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(static_cast<int>(sy)));
        QRgb* out = reinterpret_cast<QRgb*>(destination.scanLine(static_cast<int>(dy + sy - sy0)));
        out += dx;
        for (int64_t sx = sx0; sx < sx1; ++sx) {
            if ((in[sx] & 0xFFFFFF) != keyRgb) out[sx - sx0] = in[sx];
        }
    }
}

}  // namespace kv
