// Bitmap file reading: with and without file header, old core headers, repaired sizes and
// colour counts, every pixel depth, short or impossible files; and the 24-bit writer.
#include "framework/bitmap_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/errors.h"
#include "support/bitmap_fixture.h"

namespace kv {
namespace {

using kvtest::BitmapFixture;
using kvtest::makeBitmap;

BitmapBlock read(const std::string& bytes) {
    return readBitmapBlock({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

std::vector<uint32_t> pixelsOf(const std::string& bytes) {
    return decodeBitmapPixels(read(bytes));
}

std::vector<uint32_t> opaque(std::vector<uint32_t> rgb) {
    for (uint32_t& c : rgb) c |= 0xFF000000u;
    return rgb;
}

// The code of the swCBitmapError that reading `bytes` throws, or -1.
int bitmapErrorOf(const std::string& bytes) {
    try {
        read(bytes);
    } catch (const swCBitmapError& e) {
        return e.code;
    }
    return -1;
}

BitmapFixture fixture(uint16_t bits, int w, int h, std::vector<uint32_t> pixels) {
    BitmapFixture b;
    b.bits = bits;
    b.width = w;
    b.height = h;
    b.pixels = std::move(pixels);
    return b;
}

TEST(BitmapHeaders, FileHeaderIsOptionalAndItsPixelOffsetFollowed) {
    BitmapFixture b =
        fixture(24, 3, 2, {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0xFF00FF});
    const std::vector<uint32_t> expected = opaque(b.pixels);
    EXPECT_EQ(pixelsOf(makeBitmap(b)), expected);
    b.gap = 10;
    EXPECT_EQ(pixelsOf(makeBitmap(b)), expected);
    b.fileHeader = false;
    EXPECT_EQ(pixelsOf(makeBitmap(b)), expected);
}

TEST(BitmapHeaders, CoreHeaderIsConvertedWithItsThreeByteColourTable) {
    for (bool fileHeader : {true, false}) {
        BitmapFixture b = fixture(8, 3, 1, {255, 1, 2});
        b.headerSize = 12;
        b.fileHeader = fileHeader;
        b.palette.assign(256, 0);
        b.palette[1] = 0x0000FF, b.palette[2] = 0x00FF00, b.palette[255] = 0xFF0000;
        const BitmapBlock block = read(makeBitmap(b));
        EXPECT_EQ(block.header.size, 40u);
        EXPECT_EQ(decodeBitmapPixels(block), opaque({0xFF0000, 0x0000FF, 0x00FF00})) << fileHeader;
    }
}

TEST(BitmapHeaders, UnknownHeadersDepthsAndCompressionsGiveNoPictureWithoutError) {
    std::vector<BitmapFixture> unknown;
    for (uint32_t size : {0u, 16u, 64u, 108u, 124u}) {
        unknown.push_back(fixture(24, 2, 2, {1, 2, 3, 4}));
        unknown.back().headerSize = size;
    }
    unknown.push_back(fixture(2, 2, 2, {}));
    unknown.push_back(fixture(8, 2, 2, {}));
    unknown.back().compression = 1;  // run-length coded rows
    unknown.push_back(fixture(24, 2, 2, {}));
    unknown.back().compression = 3;  // channel masks belong to 16 and 32 bits
    for (const BitmapFixture& b : unknown) {
        BitmapBlock block;
        EXPECT_NO_THROW(block = read(makeBitmap(b))) << b.headerSize;
        EXPECT_TRUE(block.empty()) << b.headerSize << " " << b.bits;
    }
}

TEST(BitmapRepairs, WrongImageSizeIsRecomputed) {
    for (uint32_t stated : {0u, 5u, 4096u, 0xFFFFFFFFu}) {
        BitmapFixture b = fixture(24, 3, 2, {1, 2, 3, 4, 5, 6});
        b.fileHeader = false;  // nothing but the size says where the pixels end
        b.sizeImage = stated;
        const BitmapBlock block = read(makeBitmap(b) + "trailing");
        EXPECT_EQ(block.header.sizeImage, 24u) << stated;  // two rows of 9 + 3 padding
        EXPECT_EQ(decodeBitmapPixels(block), opaque({1, 2, 3, 4, 5, 6}));
    }
}

TEST(BitmapRepairs, ColourCountZeroReadsTheFullTableOfTheDepth) {
    for (uint16_t bits : {1, 4, 8}) {
        const uint32_t full = 1u << bits;
        BitmapFixture b = fixture(bits, 2, 1, {full - 1, 0});
        for (uint32_t i = 0; i < full; ++i) b.palette.push_back(0x010101 * i + 0x100000);
        const BitmapBlock block = read(makeBitmap(b));
        EXPECT_EQ(block.colours.size(), full) << bits;
        EXPECT_EQ(decodeBitmapPixels(block), opaque({b.palette[full - 1], b.palette[0]})) << bits;
    }
    BitmapFixture shortTable = fixture(8, 2, 1, {1, 200});
    shortTable.clrUsed = 2;
    shortTable.palette = {0xAABBCC, 0x112233};
    EXPECT_EQ(pixelsOf(makeBitmap(shortTable)), opaque({0x112233, 0}));  // past the table: black
}

TEST(BitmapPixels, EveryDepthDecodes) {
    BitmapFixture one =
        fixture(1, 10, 2, {1, 0, 0, 1, 1, 0, 1, 0, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0});
    one.palette = {0x000000, 0xFFFFFF};
    std::vector<uint32_t> expected;
    for (uint32_t v : one.pixels) expected.push_back(v ? 0xFFFFFFFF : 0xFF000000);
    EXPECT_EQ(pixelsOf(makeBitmap(one)), expected);

    BitmapFixture four = fixture(4, 3, 1, {15, 1, 10});
    for (uint32_t i = 0; i < 16; ++i) four.palette.push_back(i * 0x111111);
    EXPECT_EQ(pixelsOf(makeBitmap(four)), opaque({0xFFFFFF, 0x111111, 0xAAAAAA}));

    BitmapFixture sixteen = fixture(16, 3, 1, {0x7C00, 0x03E0, 0x001F});  // 5-5-5 without masks
    EXPECT_EQ(pixelsOf(makeBitmap(sixteen)), opaque({0xFF0000, 0x00FF00, 0x0000FF}));
    sixteen.compression = 3;
    sixteen.masks = {0xF800, 0x07E0, 0x001F};
    sixteen.pixels = {0xF800, 0x0400, 0x0010};  // 32 of 63 green, 16 of 31 blue
    EXPECT_EQ(pixelsOf(makeBitmap(sixteen)), opaque({0xFF0000, 0x008100, 0x000083}));

    const BitmapFixture topDown = fixture(32, 2, -2, {0xFF0102, 0x030405, 0x060708, 0x090A0B});
    EXPECT_EQ(pixelsOf(makeBitmap(topDown)), opaque(topDown.pixels));
}

TEST(BitmapShortFiles, EveryTruncationThrowsCodeZero) {
    BitmapFixture b = fixture(8, 4, 3, std::vector<uint32_t>(12, 7));
    b.palette.assign(256, 0x808080);
    const std::string whole = makeBitmap(b);
    ASSERT_EQ(bitmapErrorOf(whole), -1);  // reads whole
    for (size_t cut : {0, 13, 14, 20, 53, 54, 100, 54 + 1024, 54 + 1024 + 11})
        EXPECT_EQ(bitmapErrorOf(whole.substr(0, cut)), swCBitmapError::Create) << cut;
    b.clrUsed = 0x40000000;  // a colour table larger than the file
    EXPECT_EQ(bitmapErrorOf(makeBitmap(b)), swCBitmapError::Create);
    std::string farOffset = whole;
    farOffset[13] = '\x7F';
    EXPECT_EQ(bitmapErrorOf(farOffset), swCBitmapError::Create);
}

TEST(BitmapShortFiles, ImpossibleDimensionsThrowWithoutAllocating) {
    const std::pair<int32_t, int32_t> sizes[] = {
        {0, 1}, {1, 0}, {-5, 3}, {70000, 1}, {INT32_MIN, 1}, {1, INT32_MIN}, {60000, 60000}};
    for (const auto& [w, h] : sizes) {
        // Only the dimensions are patched, so no huge rows are written.
        std::string bytes = makeBitmap(fixture(24, 1, 1, {0}));
        storeU32(&bytes[18], static_cast<uint32_t>(w));
        storeU32(&bytes[22], static_cast<uint32_t>(h));
        EXPECT_EQ(bitmapErrorOf(bytes), swCBitmapError::Create) << w << "x" << h;
    }
}

TEST(BitmapWriter, WrittenFilesReadBackPixelForPixel) {
    for (int w : {1, 2, 3, 4, 5, 13}) {
        std::vector<uint32_t> px;
        for (int i = 0; i < w * 3; ++i)
            px.push_back(static_cast<uint32_t>(i * 0x0F1E2D) & 0xFFFFFF);
        const std::string file = encodeBitmapFile(w, 3, px);
        EXPECT_EQ(file.size(), 54u + static_cast<size_t>((3 * w + 3) / 4 * 4 * 3));
        EXPECT_EQ(pixelsOf(file), opaque(px)) << w;
    }
    EXPECT_THROW(encodeBitmapFile(4, 2, std::vector<uint32_t>(7)), swCBitmapError);
}

}  // namespace
}  // namespace kv
