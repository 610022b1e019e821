// Bitmap file reading: with and without file header, old core headers, repaired sizes and
// colour counts, every pixel depth, and short or impossible files; and the 24-bit writer.
#include "framework/bitmap_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/disk_file.h"
#include "framework/errors.h"
#include "support/bitmap_fixture.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using kvtest::BitmapSpec;
using kvtest::makeBitmap;

BitmapBlock read(const std::string& bytes) {
    return readBitmapBlock(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
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

BitmapSpec rgb24(int w, int h, std::vector<uint32_t> pixels) {
    BitmapSpec b;
    b.width = w;
    b.height = h;
    b.pixels = std::move(pixels);
    return b;
}

TEST(BitmapHeaders, FileHeaderAndBareInfoHeaderGiveTheSamePicture) {
    BitmapSpec b = rgb24(3, 2, {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0xFF00FF});
    const std::vector<uint32_t> expected = opaque(b.pixels);
    EXPECT_EQ(pixelsOf(makeBitmap(b)), expected);
    b.fileHeader = false;
    EXPECT_EQ(pixelsOf(makeBitmap(b)), expected);
}

TEST(BitmapHeaders, PixelOffsetOfTheFileHeaderIsFollowed) {
    BitmapSpec b = rgb24(2, 1, {0x112233, 0x445566});
    b.gap = 10;
    EXPECT_EQ(pixelsOf(makeBitmap(b)), opaque({0x112233, 0x445566}));
}

TEST(BitmapHeaders, CoreHeaderIsConvertedWithItsThreeByteColourTable) {
    for (bool fileHeader : {true, false}) {
        BitmapSpec b;
        b.headerSize = 12;
        b.fileHeader = fileHeader;
        b.width = 3;
        b.height = 1;
        b.bits = 8;
        b.palette.assign(256, 0);
        b.palette[1] = 0x0000FF;
        b.palette[2] = 0x00FF00;
        b.palette[255] = 0xFF0000;
        b.pixels = {255, 1, 2};
        const BitmapBlock block = read(makeBitmap(b));
        EXPECT_EQ(block.header.size, 40u);
        EXPECT_EQ(block.header.bitCount, 8);
        EXPECT_EQ(block.colours.size(), 256u);
        EXPECT_EQ(decodeBitmapPixels(block), opaque({0xFF0000, 0x0000FF, 0x00FF00}))
            << "file header " << fileHeader;
    }
}

TEST(BitmapHeaders, TinyCoreHeaderFileShorterThanAnInfoHeaderLoads) {
    BitmapSpec b = rgb24(1, 1, {0x123456});
    b.headerSize = 12;
    b.fileHeader = false;
    const std::string bytes = makeBitmap(b);
    ASSERT_LT(bytes.size(), 40u);
    EXPECT_EQ(pixelsOf(bytes), opaque({0x123456}));
}

TEST(BitmapHeaders, OtherHeaderSizesGiveNoPictureWithoutError) {
    for (uint32_t size : {0u, 16u, 64u, 108u, 124u}) {
        BitmapSpec b = rgb24(2, 2, {1, 2, 3, 4});
        b.headerSize = size;
        BitmapBlock block;
        EXPECT_NO_THROW(block = read(makeBitmap(b))) << size;
        EXPECT_TRUE(block.empty()) << size;
        EXPECT_TRUE(decodeBitmapPixels(block).empty());
    }
}

TEST(BitmapHeaders, UnknownDepthsAndCompressionsGiveNoPicture) {
    BitmapSpec b = rgb24(2, 2, {1, 2, 3, 4});
    b.bits = 2;
    EXPECT_TRUE(read(makeBitmap(b)).empty());
    b.bits = 8;
    b.compression = 1;  // run-length coded rows
    EXPECT_TRUE(read(makeBitmap(b)).empty());
    b.bits = 24;
    b.compression = 3;  // channel masks are for 16 and 32 bits only
    EXPECT_TRUE(read(makeBitmap(b)).empty());
}

TEST(BitmapRepairs, WrongImageSizeIsRecomputed) {
    for (uint32_t stated : {0u, 1u, 5u, 4096u, 0xFFFFFFFFu}) {
        BitmapSpec b = rgb24(3, 2, {1, 2, 3, 4, 5, 6});
        b.fileHeader = false;  // nothing but the size says where the pixels end
        b.sizeImage = stated;
        const BitmapBlock block = read(makeBitmap(b) + "trailing");
        EXPECT_EQ(block.header.sizeImage, 24u) << stated;  // two rows of 9 + 3 padding
        EXPECT_EQ(block.pixels.size(), 24u);
        EXPECT_EQ(decodeBitmapPixels(block), opaque({1, 2, 3, 4, 5, 6}));
    }
}

TEST(BitmapRepairs, ColourCountZeroReadsTheFullTableOfTheDepth) {
    for (uint16_t bits : {1, 4, 8}) {
        const uint32_t full = 1u << bits;
        BitmapSpec b;
        b.bits = bits;
        b.width = 2;
        b.palette.resize(full);
        for (uint32_t i = 0; i < full; ++i) b.palette[i] = 0x010101 * (i % 256) + 0x100000;
        b.pixels = {full - 1, 0};
        const BitmapBlock block = read(makeBitmap(b));
        EXPECT_EQ(block.header.clrUsed, full) << bits;
        ASSERT_EQ(block.colours.size(), full) << bits;
        EXPECT_EQ(decodeBitmapPixels(block), opaque({b.palette[full - 1], b.palette[0]})) << bits;
    }
}

TEST(BitmapRepairs, IndicesPastAShortTableAreBlack) {
    BitmapSpec b;
    b.bits = 8;
    b.width = 3;
    b.clrUsed = 2;
    b.palette = {0xAABBCC, 0x112233};
    b.pixels = {1, 2, 200};
    EXPECT_EQ(pixelsOf(makeBitmap(b)), opaque({0x112233, 0, 0}));
}

TEST(BitmapPixels, OneAndFourBitPixelsArePackedFromTheHighBit) {
    BitmapSpec one;
    one.bits = 1;
    one.width = 10;
    one.height = 2;
    one.palette = {0x000000, 0xFFFFFF};
    one.pixels = {1, 0, 0, 1, 1, 0, 1, 0, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0};
    std::vector<uint32_t> expected;
    for (uint32_t v : one.pixels) expected.push_back(v ? 0xFFFFFFFF : 0xFF000000);
    EXPECT_EQ(pixelsOf(makeBitmap(one)), expected);

    BitmapSpec four;
    four.bits = 4;
    four.width = 3;
    for (uint32_t i = 0; i < 16; ++i) four.palette.push_back(i * 0x111111);
    four.pixels = {15, 1, 10};
    EXPECT_EQ(pixelsOf(makeBitmap(four)), opaque({0xFFFFFF, 0x111111, 0xAAAAAA}));
}

TEST(BitmapPixels, SixteenBitPixelsUseFiveFiveFiveOrTheirMasks) {
    BitmapSpec b;
    b.bits = 16;
    b.width = 3;
    b.pixels = {0x7C00, 0x03E0, 0x001F};
    EXPECT_EQ(pixelsOf(makeBitmap(b)), opaque({0xFF0000, 0x00FF00, 0x0000FF}));

    b.compression = 3;
    b.masks = {0xF800, 0x07E0, 0x001F};
    b.pixels = {0xF800, 0x0400, 0x0010};  // full red, about half green, about half blue
    EXPECT_EQ(pixelsOf(makeBitmap(b)), opaque({0xFF0000, 0x008100, 0x000083}));
}

TEST(BitmapPixels, ThirtyTwoBitPixelsAndTopDownRows) {
    BitmapSpec b;
    b.bits = 32;
    b.width = 2;
    b.height = -2;
    b.pixels = {0xFF0102, 0x030405, 0x060708, 0x090A0B};
    EXPECT_EQ(pixelsOf(makeBitmap(b)), opaque(b.pixels));
}

TEST(BitmapShortFiles, EveryTruncationThrowsCodeZero) {
    BitmapSpec b;
    b.bits = 8;
    b.width = 4;
    b.height = 3;
    b.palette.assign(256, 0x808080);
    b.pixels.assign(12, 7);
    const std::string whole = makeBitmap(b);
    ASSERT_NO_THROW(read(whole));
    for (size_t cut : {0, 1, 13, 14, 20, 53, 54, 100, 54 + 1024, 54 + 1024 + 11}) {
        EXPECT_EQ(bitmapErrorOf(whole.substr(0, cut)), swCBitmapError::Create) << cut;
    }
}

TEST(BitmapShortFiles, ColourCountBeyondTheFileThrows) {
    BitmapSpec b;
    b.bits = 8;
    b.clrUsed = 0x40000000;
    b.palette = {0, 0};
    EXPECT_EQ(bitmapErrorOf(makeBitmap(b)), swCBitmapError::Create);
}

TEST(BitmapShortFiles, PixelOffsetPastTheEndThrows) {
    std::string bytes = makeBitmap(rgb24(1, 1, {0}));
    bytes[10] = '\x7F';
    bytes[13] = '\x7F';
    EXPECT_EQ(bitmapErrorOf(bytes), swCBitmapError::Create);
}

TEST(BitmapShortFiles, ImpossibleDimensionsThrowWithoutAllocating) {
    const std::pair<int32_t, int32_t> sizes[] = {{0, 1},         {1, 0},        {-5, 3},
                                                 {70000, 1},     {1, 70000},    {INT32_MIN, 1},
                                                 {1, INT32_MIN}, {60000, 60000}};
    for (const auto& [w, h] : sizes) {
        std::string bytes = makeBitmap(rgb24(1, 1, {0}));
        // Patch only the dimensions, so that no huge pixel rows are written.
        for (int k = 0; k < 4; ++k) {
            bytes[18 + k] = static_cast<char>(static_cast<uint32_t>(w) >> (8 * k));
            bytes[22 + k] = static_cast<char>(static_cast<uint32_t>(h) >> (8 * k));
        }
        EXPECT_EQ(bitmapErrorOf(bytes), swCBitmapError::Create) << w << "x" << h;
    }
}

TEST(BitmapFiles, ReadsAtTheFilePositionAndStopsAfterThePixels) {
    kvtest::TempDir dir;
    const std::string bitmap = makeBitmap(rgb24(2, 2, {1, 2, 3, 4}));
    kvtest::writeFile(dir.file("embedded.dat"), "junk!" + bitmap + "tail");
    DiskFile file;
    file.open(dir.file("embedded.dat"), DiskFile::Read);
    file.seek(5, DiskFile::Begin);
    const BitmapBlock block = readBitmapBlock(file);
    EXPECT_EQ(decodeBitmapPixels(block), opaque({1, 2, 3, 4}));
    EXPECT_EQ(file.seek(0, DiskFile::Current), static_cast<int64_t>(5 + bitmap.size()));
}

TEST(BitmapFiles, ShortFileOnDiskThrowsCodeZero) {
    kvtest::TempDir dir;
    kvtest::writeFile(dir.file("short.bmp"), makeBitmap(rgb24(8, 8, {})).substr(0, 60));
    DiskFile file;
    file.open(dir.file("short.bmp"), DiskFile::Read);
    try {
        readBitmapBlock(file);
        ADD_FAILURE() << "no error";
    } catch (const swCBitmapError& e) {
        EXPECT_EQ(e.code, 0);
    }
}

TEST(BitmapColourTable, ReplacementChangesOnlyTheMatchingEntries) {
    BitmapSpec b;
    b.bits = 8;
    b.width = 3;
    b.clrUsed = 3;
    b.palette = {0xFF00FF, 0x00FF00, 0xFF00FF};
    b.pixels = {0, 1, 2};
    BitmapBlock block = read(makeBitmap(b));
    replaceTableColour(block, 0xFF00FF, 0x000000);
    EXPECT_EQ(decodeBitmapPixels(block), opaque({0x000000, 0x00FF00, 0x000000}));
}

TEST(BitmapWriter, WrittenFilesReadBackPixelForPixel) {
    for (int w : {1, 2, 3, 4, 5, 13}) {
        const int h = 3;
        std::vector<uint32_t> px;
        for (int i = 0; i < w * h; ++i)
            px.push_back(static_cast<uint32_t>(i * 0x0F1E2D) & 0xFFFFFF);
        const std::string file = encodeBitmapFile(w, h, px);
        EXPECT_EQ(file.substr(0, 2), "BM");
        EXPECT_EQ(file.size(), 54u + static_cast<size_t>((3 * w + 3) / 4 * 4 * h));
        EXPECT_EQ(pixelsOf(file), opaque(px)) << w;
    }
}

TEST(BitmapWriter, RefusesDimensionsItsPixelsDoNotCover) {
    const std::vector<uint32_t> px(6, 0);
    EXPECT_THROW(encodeBitmapFile(4, 2, px), swCBitmapError);
    EXPECT_THROW(encodeBitmapFile(0, 1, px), swCBitmapError);
    EXPECT_THROW(encodeBitmapFile(3, -2, px), swCBitmapError);
}

}  // namespace
}  // namespace kv
