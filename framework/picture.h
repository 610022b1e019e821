// Pictures: bitmap files and archive entries as 32-bit images, cells cut from sheets,
// colour-keyed copies, faction recolouring and key-aware scaling of sheets.
#pragma once

#include <QImage>
#include <QRgb>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "framework/bitmap_block.h"
#include "framework/data_paths.h"
#include "framework/placement.h"

namespace kv {

// Flags of loading and cutting.
enum PictureFlag {
    MirrorHorizontal = 1,
    MirrorVertical = 2,
    // Accepted for the colour transform of the scaling path, which pictures here do not need.
    ColourTransform = 4,
};

// An opaque 32-bit image (QImage::Format_RGB32) or nothing. Magenta (kColourKey) pixels are
// the transparent ones of sheets and icons.
class Picture {
public:
    Picture() = default;
    // Takes any image; pixels less than half covered become the colour key.
    explicit Picture(const QImage& image);

    bool isNull() const { return image_.isNull(); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    const QImage& image() const { return image_; }
    QImage& image() { return image_; }
    void clear() { image_ = QImage(); }

    // Loads the bitmap file `path`, or with `entry` ≥ 0 that entry of the FLINK archive
    // `path`. A missing file throws swCFileError(Open) captioned with the path, data short of
    // its headers or pixels swCBitmapError(Create); an unknown header leaves the picture
    // empty.
    void loadFile(const std::string& path, int flags = 0, int entry = -1);
    // Loads the file and keeps the part in `rect`, mirrored as `flags` say. Parts of `rect`
    // outside the file's picture are black.
    void loadRect(const std::string& path, const Rect& rect, int flags = 0, int entry = -1);
    // A bitmap file image in memory (with or without its file header); `replaceColour` is
    // replaced by `byColour` in the colour table when the two differ. Errors as loadFile.
    void fromMemory(std::span<const uint8_t> bitmapFileImage, QRgb replaceColour = 0,
                    QRgb byColour = 0);
    // Converts a block read from a file.
    void fromBlock(BitmapBlock block, int flags = 0, QRgb replaceColour = 0, QRgb byColour = 0);

    // The part in `rect` (black outside this picture), mirrored as `flags` say.
    Picture cut(const Rect& rect, int flags = 0) const;
    // Every pixel but the key rotated by `hueAngle` degrees.
    void recolour(int hueAngle);
    Picture recoloured(int hueAngle) const;
    // The whole picture scaled by toSize / fromSize (cell sizes, so the cells of a sheet stay
    // aligned), averaging only the covered pixels so that no key colour bleeds into the art.
    Picture scaledCells(int fromSize, int toSize) const;
    // A premultiplied copy in which the key pixels are fully transparent, for painters.
    QImage withTransparentKey(QRgb key = kColourKey) const;

private:
    QImage image_;
};

// The rectangle of cell (col, row) of a sheet of `size`-pixel cells.
inline Rect cellRect(int col, int row, int size) {
    return {col * size, row * size, (col + 1) * size, (row + 1) * size};
}

// Loads `fileName` from a data folder (the bitmap folder unless said); errors as loadFile.
Picture loadPicture(std::string_view fileName, DataKind kind = DataKind::Bmp, int flags = 0);

// Copies the part `rect` of `source` to (x, y) of `destination`, leaving the destination
// where the source has the colour `key`. Both are clipped; a destination that is not 32-bit
// is converted to Format_RGB32 first.
void drawKeyed(QImage& destination, int x, int y, const Picture& source, const Rect& rect,
               QRgb key = kColourKey);

}  // namespace kv
