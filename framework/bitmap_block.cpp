// Bitmap file reading over a file or a memory image, pixel decoding and 24-bit writing.
#include "framework/bitmap_block.h"

#include <algorithm>
#include <cstring>

#include "framework/byte_cursor.h"
#include "framework/disk_file.h"
#include "framework/errors.h"

namespace kv {

namespace {

[[noreturn]] void tooShort() {
    throw swCBitmapError(swCBitmapError::Create);
}

// Where the bytes come from: a file at its position, or a memory image.
class Source {
public:
    virtual ~Source() = default;
    // Reads up to `count` bytes; fewer only at the end.
    virtual size_t read(uint8_t* out, size_t count) = 0;
    virtual uint64_t position() = 0;
    // `pos` is never past size().
    virtual void seek(uint64_t pos) = 0;
    virtual uint64_t size() = 0;

    uint64_t remaining() {
        uint64_t pos = position();
        uint64_t total = size();
        return pos < total ? total - pos : 0;
    }
};

class FileSource : public Source {
public:
    explicit FileSource(DiskFile& file) : file_(file), size_(static_cast<uint64_t>(file.size())) {}
    size_t read(uint8_t* out, size_t count) override { return file_.read(out, count); }
    uint64_t position() override { return static_cast<uint64_t>(file_.seek(0, DiskFile::Current)); }
    void seek(uint64_t pos) override { file_.seek(static_cast<int64_t>(pos), DiskFile::Begin); }
    uint64_t size() override { return size_; }

private:
    DiskFile& file_;
    uint64_t size_;
};

class MemorySource : public Source {
public:
    explicit MemorySource(std::span<const uint8_t> data) : data_(data) {}
    size_t read(uint8_t* out, size_t count) override {
        size_t n = std::min(count, data_.size() - pos_);
        if (n > 0) std::memcpy(out, data_.data() + pos_, n);
        pos_ += n;
        return n;
    }
    uint64_t position() override { return pos_; }
    void seek(uint64_t pos) override {
        pos_ = static_cast<size_t>(std::min<uint64_t>(pos, data_.size()));
    }
    uint64_t size() override { return data_.size(); }

private:
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};

uint64_t rowBytes(uint32_t bitCount, int64_t width) {
    return (static_cast<uint64_t>(bitCount) * static_cast<uint64_t>(width) + 31) / 32 * 4;
}

uint32_t defaultColourCount(uint32_t bitCount) {
    return bitCount <= 8 ? 1u << bitCount : 0;
}

bool knownFormat(const BitmapInfoHeader& h) {
    switch (h.bitCount) {
        case 1:
        case 4:
        case 8:
        case 24: return h.compression == kBitmapRgb;
        case 16:
        case 32: return h.compression == kBitmapRgb || h.compression == kBitmapBitFields;
        default: return false;
    }
}

BitmapInfoHeader parseInfoHeader(const uint8_t* p) {
    ByteReader in(p, kBitmapInfoHeaderSize);
    BitmapInfoHeader h;
    h.size = in.u32();
    h.width = in.i32();
    h.height = in.i32();
    h.planes = in.u16();
    h.bitCount = in.u16();
    h.compression = in.u32();
    h.sizeImage = in.u32();
    h.xPelsPerMeter = in.i32();
    h.yPelsPerMeter = in.i32();
    h.clrUsed = in.u32();
    h.clrImportant = in.u32();
    return h;
}

// The old core header: 16-bit width, height, planes and bit count, the rest zero.
BitmapInfoHeader convertCoreHeader(const uint8_t* p) {
    ByteReader in(p, kBitmapCoreHeaderSize);
    in.skip(4);  // its size
    BitmapInfoHeader h;
    h.size = kBitmapInfoHeaderSize;
    h.width = in.u16();
    h.height = in.u16();
    h.planes = in.u16();
    h.bitCount = in.u16();
    return h;
}

void setDefaultMasks(BitmapBlock& block) {
    if (block.header.bitCount == 16) {
        block.masks[0] = 0x7C00, block.masks[1] = 0x03E0, block.masks[2] = 0x001F;
    } else {
        block.masks[0] = 0xFF0000, block.masks[1] = 0x00FF00, block.masks[2] = 0x0000FF;
    }
}

void readExactly(Source& src, uint8_t* out, uint64_t count) {
    if (count > src.remaining() || src.read(out, static_cast<size_t>(count)) != count) tooShort();
}

BitmapBlock readBlock(Source& src) {
    const uint64_t start = src.position();
    uint8_t fileHeader[kBitmapFileHeaderSize];
    if (src.read(fileHeader, sizeof fileHeader) < sizeof fileHeader) tooShort();
    uint64_t pixelOffset = 0;
    if (fileHeader[0] == 'B' && fileHeader[1] == 'M') {
        pixelOffset = loadU32(fileHeader + 10);
    } else {
        src.seek(start);  // a bare information header
    }

    uint8_t raw[kBitmapInfoHeaderSize] = {};
    const size_t got = src.read(raw, sizeof raw);
    if (got < 4) tooShort();
    BitmapBlock block;
    uint32_t entryBytes = 4;
    const uint32_t headerSize = loadU32(raw);
    if (headerSize == kBitmapCoreHeaderSize) {
        if (got < kBitmapCoreHeaderSize) tooShort();
        block.header = convertCoreHeader(raw);
        entryBytes = 3;
        src.seek(src.position() - (got - kBitmapCoreHeaderSize));
    } else if (headerSize == kBitmapInfoHeaderSize) {
        if (got < kBitmapInfoHeaderSize) tooShort();
        block.header = parseInfoHeader(raw);
    } else {
        return {};  // a header of another generation: no picture
    }

    BitmapInfoHeader& h = block.header;
    if (!knownFormat(h)) return {};
    const int64_t height = h.height < 0 ? -static_cast<int64_t>(h.height) : h.height;
    if (h.width <= 0 || h.width > kMaxBitmapSide || height == 0 || height > kMaxBitmapSide ||
        h.width * height > kMaxBitmapPixels)
        throw swCBitmapError(swCBitmapError::Create);
    const uint64_t imageSize = rowBytes(h.bitCount, h.width) * static_cast<uint64_t>(height);
    if (imageSize > UINT32_MAX) throw swCBitmapError(swCBitmapError::Create);
    h.sizeImage = static_cast<uint32_t>(imageSize);
    if (h.clrUsed == 0) h.clrUsed = defaultColourCount(h.bitCount);

    if (h.compression == kBitmapBitFields) {
        uint8_t masks[12];
        readExactly(src, masks, sizeof masks);
        for (int i = 0; i < 3; ++i) block.masks[i] = loadU32(masks + 4 * i);
    } else if (h.bitCount == 16 || h.bitCount == 32) {
        setDefaultMasks(block);
    }

    const uint64_t tableBytes = static_cast<uint64_t>(h.clrUsed) * entryBytes;
    if (tableBytes > src.remaining()) tooShort();
    std::vector<uint8_t> table(static_cast<size_t>(tableBytes));
    readExactly(src, table.data(), tableBytes);
    block.colours.resize(h.clrUsed);
    for (uint32_t i = 0; i < h.clrUsed; ++i) {
        const uint8_t* e = table.data() + static_cast<size_t>(i) * entryBytes;
        block.colours[i] = static_cast<uint32_t>(e[2]) << 16 | e[1] << 8 | e[0];
    }

    if (pixelOffset != 0) {
        if (pixelOffset > src.size() - start) tooShort();
        src.seek(start + pixelOffset);
    }
    if (imageSize > src.remaining()) tooShort();
    block.pixels.resize(static_cast<size_t>(imageSize));
    readExactly(src, block.pixels.data(), imageSize);
    return block;
}

// One channel of a masked 16- or 32-bit pixel, widened to 0..255.
uint32_t channel(uint32_t value, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!(mask >> shift & 1)) ++shift;
    const uint64_t top = mask >> shift;
    return static_cast<uint32_t>(((value & mask) >> shift) * 255ull / top);
}

}  // namespace

size_t BitmapBlock::stride() const {
    return header.width > 0 ? static_cast<size_t>(rowBytes(header.bitCount, header.width)) : 0;
}

BitmapBlock readBitmapBlock(DiskFile& file) {
    FileSource src(file);
    return readBlock(src);
}

BitmapBlock readBitmapBlock(std::span<const uint8_t> data) {
    MemorySource src(data);
    return readBlock(src);
}

void replaceTableColour(BitmapBlock& block, uint32_t from, uint32_t to) {
    for (uint32_t& c : block.colours) {
        if (c == (from & 0xFFFFFF)) c = to & 0xFFFFFF;
    }
}

std::vector<uint32_t> decodeBitmapPixels(const BitmapBlock& block) {
    if (block.empty() || block.width() <= 0 || block.height() <= 0) return {};
    const size_t w = static_cast<size_t>(block.width());
    const size_t h = static_cast<size_t>(block.height());
    const size_t stride = block.stride();
    if (block.pixels.size() < stride * h) return {};
    const unsigned bits = block.header.bitCount;
    const bool topDown = block.header.height < 0;
    std::vector<uint32_t> out(w * h);
    auto indexed = [&](uint32_t i) {
        return 0xFF000000u | (i < block.colours.size() ? block.colours[i] : 0u);
    };
    for (size_t y = 0; y < h; ++y) {
        const uint8_t* row = block.pixels.data() + (topDown ? y : h - 1 - y) * stride;
        uint32_t* dst = out.data() + y * w;
        for (size_t x = 0; x < w; ++x) {
            switch (bits) {
                case 1: dst[x] = indexed(row[x / 8] >> (7 - x % 8) & 1); break;
                case 4: dst[x] = indexed(x % 2 ? row[x / 2] & 0x0F : row[x / 2] >> 4); break;
                case 8: dst[x] = indexed(row[x]); break;
                case 24: {
                    const uint8_t* p = row + 3 * x;
                    dst[x] = 0xFF000000u | static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
                    break;
                }
                default: {
                    const uint32_t v = bits == 16 ? loadU16(row + 2 * x) : loadU32(row + 4 * x);
                    dst[x] = 0xFF000000u | channel(v, block.masks[0]) << 16 |
                             channel(v, block.masks[1]) << 8 | channel(v, block.masks[2]);
                }
            }
        }
    }
    return out;
}

std::string encodeBitmapFile(int width, int height, std::span<const uint32_t> pixels) {
    if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide ||
        pixels.size() < static_cast<uint64_t>(width) * static_cast<uint64_t>(height))
        throw swCBitmapError(swCBitmapError::Save);
    const uint64_t stride = rowBytes(24, width);
    const uint64_t imageSize = stride * static_cast<uint64_t>(height);
    if (imageSize > UINT32_MAX - 54) throw swCBitmapError(swCBitmapError::Save);
    std::string file;
    file.reserve(static_cast<size_t>(54 + imageSize));
    ByteAppender out(file);
    out.bytes(std::string_view("BM"));
    out.u32(static_cast<uint32_t>(54 + imageSize));
    out.u32(0);
    out.u32(54);
    out.u32(kBitmapInfoHeaderSize);
    out.i32(width);
    out.i32(height);
    out.u16(1);
    out.u16(24);
    out.u32(kBitmapRgb);
    out.u32(static_cast<uint32_t>(imageSize));
    out.u32(2835);  // 72 dots per inch
    out.u32(2835);
    out.u32(0);
    out.u32(0);
    const size_t pad = static_cast<size_t>(stride) - 3 * static_cast<size_t>(width);
    for (int y = height - 1; y >= 0; --y) {
        const uint32_t* row = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x) {
            out.u8(static_cast<uint8_t>(row[x]));
            out.u8(static_cast<uint8_t>(row[x] >> 8));
            out.u8(static_cast<uint8_t>(row[x] >> 16));
        }
        out.zeros(pad);
    }
    return file;
}

}  // namespace kv
