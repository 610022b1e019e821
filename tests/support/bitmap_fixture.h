// Test helpers that write bitmap files and FLINK archives byte by byte from their layouts,
// including the malformed variants the readers must survive.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kvtest {

inline void put16(std::string& s, uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8 & 0xFF));
}
inline void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

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
                case 16:
                    row[2 * x] = static_cast<char>(v & 0xFF);
                    row[2 * x + 1] = static_cast<char>(v >> 8 & 0xFF);
                    break;
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
    if (b.headerSize == 12) {
        put32(header, 12);
        put16(header, static_cast<uint32_t>(b.width));
        put16(header, static_cast<uint32_t>(b.height));
        put16(header, 1);
        put16(header, b.bits);
    } else {
        put32(header, b.headerSize);
        put32(header, static_cast<uint32_t>(b.width));
        put32(header, static_cast<uint32_t>(b.height));
        put16(header, 1);
        put16(header, b.bits);
        put32(header, b.compression);
        put32(header, b.sizeImage);
        put32(header, 2835);
        put32(header, 2835);
        put32(header, b.clrUsed);
        put32(header, 0);
        while (header.size() < b.headerSize) header.push_back('\0');
    }
    for (uint32_t m : b.masks) put32(header, m);
    for (uint32_t c : b.palette) {
        header.push_back(static_cast<char>(c & 0xFF));
        header.push_back(static_cast<char>(c >> 8 & 0xFF));
        header.push_back(static_cast<char>(c >> 16 & 0xFF));
        if (b.headerSize != 12) header.push_back('\0');
    }
    std::string pixels = packRows(b);
    if (!b.fileHeader) return header + pixels;
    std::string file = "BM";
    const uint32_t offset = 14 + static_cast<uint32_t>(header.size()) + b.gap;
    put32(file, offset + static_cast<uint32_t>(pixels.size()));
    put32(file, 0);
    put32(file, offset);
    return file + header + std::string(b.gap, '\x5A') + pixels;
}

// Run-length coding of `data` in units of 1 or 2 bytes: a run of n ≥ 2 equal units becomes
// the unit twice and the count n (runs longer than a count can say are split).
inline std::string encodeRunLength(const std::string& data, int unit) {
    const size_t units = data.size() / unit;
    const uint32_t maxCount = unit == 1 ? 0xFF : 0xFFFF;
    auto u = [&](size_t i) { return data.substr(i * unit, unit); };
    std::string out;
    size_t i = 0;
    while (i < units) {
        size_t n = 1;
        while (i + n < units && u(i + n) == u(i) && n < maxCount) ++n;
        out += u(i);
        if (n >= 2) {
            out += u(i);
            if (unit == 1)
                out.push_back(static_cast<char>(n));
            else
                put16(out, static_cast<uint32_t>(n));
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
    put32(out, static_cast<uint32_t>(entries.size()));
    uint32_t offset = static_cast<uint32_t>(20 + 16 * entries.size());
    std::string data;
    for (const Version1Entry& e : entries) {
        out.push_back(static_cast<char>(e.method));
        out.append(3, '\0');
        put32(out, e.decodedSize);
        put32(out, static_cast<uint32_t>(e.stored.size()));
        put32(out, offset + static_cast<uint32_t>(data.size()));
        data += e.stored;
    }
    return out + data;
}

// A version-2 archive; each entry is a list of blocks (method, block data).
using Version2Block = std::pair<uint8_t, std::string>;
inline std::string makeVersion2(const std::vector<std::vector<Version2Block>>& entries) {
    std::string out = magic("FLINK2 ver.00");
    std::string data;
    const uint32_t first = static_cast<uint32_t>(16 + 4 * (entries.size() + 1));
    for (const auto& blocks : entries) {
        put32(out, first + static_cast<uint32_t>(data.size()));
        for (const auto& [method, bytes] : blocks) {
            put16(data, static_cast<uint32_t>(bytes.size()));
            data.push_back(static_cast<char>(method));
            data += bytes;
        }
    }
    put32(out, first + static_cast<uint32_t>(data.size()));
    return out + data;
}

}  // namespace kvtest
