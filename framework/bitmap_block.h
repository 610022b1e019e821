// Device-independent bitmap files read into an in-memory block (header, colour table, pixel
// rows) and decoded to 32-bit pixels; also the writer of plain 24-bit bitmap files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kv {

class DiskFile;

// Magenta, 0x00RRGGBB: the transparent colour of every sprite sheet and icon.
constexpr uint32_t kColourKey = 0xFF00FF;

// The 40-byte information header as it is stored, little-endian.
struct BitmapInfoHeader {
    uint32_t size = 0;
    int32_t width = 0;
    int32_t height = 0;  // negative: rows stored top-down
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};

constexpr uint32_t kBitmapInfoHeaderSize = 40;
constexpr uint32_t kBitmapCoreHeaderSize = 12;
constexpr uint32_t kBitmapFileHeaderSize = 14;
constexpr uint32_t kBitmapRgb = 0;        // uncompressed
constexpr uint32_t kBitmapBitFields = 3;  // uncompressed, with channel masks (16, 32 bits)
// Larger pictures are refused rather than allocated.
constexpr int32_t kMaxBitmapSide = 65536;
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 28;

// A bitmap as read from a file. `colours` is the colour table as 0x00RRGGBB (the stored
// blue, green, red, reserved bytes); `pixels` the rows as stored: padded to 4 bytes, bottom
// row first unless the height is negative. `masks` are the red, green and blue masks of 16-
// and 32-bit pixels. An empty block (header.size 0) stands for "no picture".
struct BitmapBlock {
    BitmapInfoHeader header;
    std::vector<uint32_t> colours;
    uint32_t masks[3] = {0, 0, 0};
    std::vector<uint8_t> pixels;

    bool empty() const { return header.size == 0; }
    int width() const { return header.width; }
    int height() const { return header.height < 0 ? -header.height : header.height; }
    // Bytes of one stored row.
    size_t stride() const;
};

// Reads a bitmap at the file's position, with or without the 14-byte file header; the old
// 12-byte core header is converted. Throws swCBitmapError(Create) when the data is shorter
// than its headers, colour table or pixels, or states an impossible size; returns an empty
// block for a header size, bit count or compression it does not know. File failures throw
// swCFileError. The file is left after the pixel data.
BitmapBlock readBitmapBlock(DiskFile& file);
// The same over a bitmap file image in memory.
BitmapBlock readBitmapBlock(std::span<const uint8_t> data);

// Replaces colour `from` by `to` (0x00RRGGBB) in the colour table.
void replaceTableColour(BitmapBlock& block, uint32_t from, uint32_t to);

// The block's pixels as 0xFFRRGGBB, top row first, width × height values. Indices past the
// colour table give black. An empty block gives none.
std::vector<uint32_t> decodeBitmapPixels(const BitmapBlock& block);

// A complete 24-bit bitmap file of `pixels` (0x??RRGGBB, top row first, width × height
// values). Used by the art generator and the map export.
std::string encodeBitmapFile(int width, int height, std::span<const uint32_t> pixels);

}  // namespace kv
