// Test helpers that write bitmap files and FLINK archives byte by byte from their layouts,
// including the malformed variants the readers must survive.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "framework/byte_cursor.h"

namespace kvtest {

using Appender = kv::ByteAppender<std::string>;

// One bitmap file to write. Pixel values are palette indices (1, 4, 8 bits), 16-bit words,
// or 0xRRGGBB (24, 32 bits), top row first; they are packed into padded rows stored bottom
// row first (top row first for a negative height).
struct BitmapFixture {
    uint32_t headerSize = 40;  // 12 writes the old core header
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;  // written as is
    uint32_t clrUsed = 0;
    bool fileHeader = true;
    std::vector<uint32_t> palette;  // 0xRRGGBB entries written in full
    std::vector<uint32_t> masks;    // written after the header when given
    std::vector<uint32_t> pixels;
    uint32_t gap = 0;  // bytes between the colour table and the pixels (file header only)
};

inline std::string packRows(const BitmapFixture& b) {
    const int32_t rows = b.height < 0 ? -b.height : b.height;
    const size_t stride = (static_cast<size_t>(b.bits) * b.width + 31) / 32 * 4;
    std::string out;
    for (int32_t i = 0; i < rows; ++i) {
        const int32_t y = b.height < 0 ? i : rows - 1 - i;
        std::string row(stride, '\0');
        for (int32_t x = 0; x < b.width; ++x) {
            const size_t at = static_cast<size_t>(y) * b.width + x;
            const uint32_t v = at < b.pixels.size() ? b.pixels[at] : 0;
            switch (b.bits) {
                case 1: row[x / 8] = static_cast<char>(row[x / 8] | (v & 1) << (7 - x % 8)); break;
                case 4:
                    row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 ? v & 15 : (v & 15) << 4));
                    break;
                case 8: row[x] = static_cast<char>(v); break;
                case 16: kv::storeU16(&row[2 * x], static_cast<uint16_t>(v)); break;
                default:
                    for (int k = 0; k < b.bits / 8; ++k)
                        row[(b.bits / 8) * x + k] = static_cast<char>(v >> (8 * k) & 0xFF);
            }
        }
        out += row;
    }
    return out;
}

inline std::string makeBitmap(const BitmapFixture& b) {
    std::string header;
    Appender h(header);
    if (b.headerSize == 12) {
        h.u32(12);
        h.u16(static_cast<uint16_t>(b.width));
        h.u16(static_cast<uint16_t>(b.height));
        h.u16(1);
        h.u16(b.bits);
    } else {
        h.u32(b.headerSize);
        h.i32(b.width);
        h.i32(b.height);
        h.u16(1);
        h.u16(b.bits);
        h.u32(b.compression);
        h.u32(b.sizeImage);
        h.u32(2835);
        h.u32(2835);
        h.u32(b.clrUsed);
        h.u32(0);
        if (header.size() < b.headerSize) h.zeros(b.headerSize - header.size());
    }
    for (uint32_t m : b.masks) h.u32(m);
    for (uint32_t c : b.palette) {
        h.u8(static_cast<uint8_t>(c));
        h.u8(static_cast<uint8_t>(c >> 8));
        h.u8(static_cast<uint8_t>(c >> 16));
        if (b.headerSize != 12) h.u8(0);
    }
    std::string pixels = packRows(b);
    if (!b.fileHeader) return header + pixels;
    std::string file = "BM";
    Appender f(file);
    const uint32_t offset = 14 + static_cast<uint32_t>(header.size()) + b.gap;
    f.u32(offset + static_cast<uint32_t>(pixels.size()));
    f.u32(0);
    f.u32(offset);
    return file + header + std::string(b.gap, '\x5A') + pixels;
}

// Run-length coding of `data` in units of 1 or 2 bytes: a run of n ≥ 2 equal units becomes
// the unit twice and the count n (runs longer than a count can say are split).
inline std::string encodeRunLength(const std::string& data, int unit) {
    const size_t units = data.size() / unit;
    const uint32_t maxCount = unit == 1 ? 0xFF : 0xFFFF;
    auto u = [&](size_t i) { return data.substr(i * unit, unit); };
    std::string out;
    Appender counts(out);
    size_t i = 0;
    while (i < units) {
        size_t n = 1;
        while (i + n < units && u(i + n) == u(i) && n < maxCount) ++n;
        out += u(i);
        if (n >= 2) {
            out += u(i);
            if (unit == 1)
                counts.u8(static_cast<uint8_t>(n));
            else
                counts.u16(static_cast<uint16_t>(n));
        }
        i += n;
    }
    return out;
}

inline std::string magic(const char* text) {
    std::string m(text);
    m.resize(16, '\0');
    return m;
}

// A version-1 archive; each entry is (method, decoded size, stored bytes). `count` fills the
// four bytes after the magic.
struct Version1Entry {
    uint8_t method;
    uint32_t decodedSize;
    std::string stored;
};
inline std::string makeVersion1(const std::vector<Version1Entry>& entries) {
    std::string out = magic("FLINK Ver1.00");
    Appender dir(out);
    dir.u32(static_cast<uint32_t>(entries.size()));
    uint32_t offset = static_cast<uint32_t>(20 + 16 * entries.size());
    std::string data;
    for (const Version1Entry& e : entries) {
        dir.u8(e.method);
        dir.zeros(3);
        dir.u32(e.decodedSize);
        dir.u32(static_cast<uint32_t>(e.stored.size()));
        dir.u32(offset + static_cast<uint32_t>(data.size()));
        data += e.stored;
    }
    return out + data;
}

// A version-2 archive; each entry is a list of blocks (method, block data).
using Version2Block = std::pair<uint8_t, std::string>;
inline std::string makeVersion2(const std::vector<std::vector<Version2Block>>& entries) {
    std::string out = magic("FLINK2 ver.00");
    std::string data;
    Appender dir(out), blocksOut(data);
    const uint32_t first = static_cast<uint32_t>(16 + 4 * (entries.size() + 1));
    for (const auto& blocks : entries) {
        dir.u32(first + static_cast<uint32_t>(data.size()));
        for (const auto& [method, bytes] : blocks) {
            blocksOut.u16(static_cast<uint16_t>(bytes.size()));
            blocksOut.u8(method);
            blocksOut.bytes(bytes);
        }
    }
    dir.u32(first + static_cast<uint32_t>(data.size()));
    return out + data;
}

}  // namespace kvtest
