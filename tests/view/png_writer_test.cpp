// The banded PNG writer: the joined band streams decode to the rows given, at every level
// and thread count the same file; the deflate walker on cut streams; checksum combining.
#include <QImage>

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <stdexcept>
#include <string>

#include "view/png_writer.h"

namespace kv {
namespace {

// Rows that give the compressor every kind of block: noise (stored or literal-heavy
// blocks), runs of one colour and rows repeated from far above (long matches).
uint8_t pixelByte(int x, int y, int channel) {
    const int kind = (y / 97) % 3;
    if (kind == 0)
        return static_cast<uint8_t>((x * 7919 + y * 104729 + channel * 31) * 2654435761u >> 24);
    if (kind == 1) return static_cast<uint8_t>(y / 97 * 40 + channel);
    return static_cast<uint8_t>((x % 13) * 19 + (y % 5) * channel);
}

std::string png(int width, int height, const PngOptions& options) {
    std::string out;
    writePng(
        width, height,
        [&](int y0, int y1, uint8_t* rgb, size_t stride, std::vector<uint8_t>&) {
            for (int y = y0; y < y1; ++y)
                for (int x = 0; x < width; ++x)
                    for (int c = 0; c < 3; ++c)
                        rgb[size_t(y - y0) * stride + size_t(x) * 3 + size_t(c)] =
                            pixelByte(x, y, c);
        },
        [&](const uint8_t* data, size_t size) {
            out.append(reinterpret_cast<const char*>(data), size);
        },
        options);
    return out;
}

TEST(PngWriter, JoinedBandsDecodeToTheRowsAndEveryThreadCountWritesTheSameFile) {
    const int width = 40, height = 3 * pngBandRows(width) + 17;  // four bands, the last short
    for (int level : {kMinPngLevel, kDefaultPngLevel, 9}) {
        const std::string one = png(width, height, {level, 1});
        for (int threads : {2, 3, 7}) EXPECT_EQ(png(width, height, {level, threads}), one) << level;
        const QImage image = QImage::fromData(one, "PNG");
        ASSERT_EQ(image.size(), QSize(width, height)) << level;
        int wrong = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const QRgb p = image.pixel(x, y);
                wrong += qRed(p) != pixelByte(x, y, 0) || qGreen(p) != pixelByte(x, y, 1) ||
                         qBlue(p) != pixelByte(x, y, 2);
            }
        EXPECT_EQ(wrong, 0) << level;
    }
}

TEST(PngWriter, FailuresOfTheSourceOrTheSinkStopTheWorkersAndArePassedOn) {
    const int width = 8, height = 5 * pngBandRows(width);
    auto fill = [](int, int, uint8_t*, size_t, std::vector<uint8_t>&) {};
    auto failingRows = [](int y0, int, uint8_t*, size_t, std::vector<uint8_t>&) {
        if (y0 > 0) throw std::runtime_error("rows");
    };
    auto discard = [](const uint8_t*, size_t) {};
    EXPECT_THROW(writePng(width, height, failingRows, discard, {kDefaultPngLevel, 3}),
                 std::runtime_error);
    size_t written = 0;
    auto failingSink = [&](const uint8_t*, size_t size) {
        written += size;
        if (written > 100) throw std::runtime_error("sink");
    };
    EXPECT_THROW(writePng(width, height, fill, failingSink, {kDefaultPngLevel, 3}),
                 std::runtime_error);
}

TEST(PngWriter, TheDeflateWalkerFindsTheEndOnlyOfWholeStreams) {
    // A stream of one fixed-code block, "a" then the end code, as a zlib-less raw stream:
    // BFINAL 1, type 01; 'a' = 0x61 → code 0x91 (8 bits); end = 0000000 (7 bits).
    const uint8_t fixed[] = {0x4B, 0x04, 0x00};
    const DeflateEnd end = findDeflateEnd(fixed, sizeof fixed);
    ASSERT_TRUE(end.found);
    EXPECT_EQ(end.finalHeaderBit, 0u);
    EXPECT_EQ(end.endBit, 3u + 8 + 7);
    // The band streams the writer makes, cut short anywhere or with flipped bits, are never
    // taken for whole streams ending past their data, and never crash.
    std::string file = png(24, 300, {kDefaultPngLevel, 1});
    std::vector<uint8_t> stream(file.begin() + 8 + 25 + 8 + 2, file.end() - 12 - 16 - 4);
    std::mt19937 random(7);
    for (size_t cut = 0; cut < stream.size(); cut += 1 + cut / 8) {
        const DeflateEnd e = findDeflateEnd(stream.data(), cut);
        EXPECT_TRUE(!e.found || e.endBit <= cut * 8) << cut;
        std::vector<uint8_t> flipped = stream;
        flipped[random() % flipped.size()] ^= static_cast<uint8_t>(1u << (random() % 8));
        const DeflateEnd f = findDeflateEnd(flipped.data(), flipped.size());
        EXPECT_TRUE(!f.found || f.endBit <= flipped.size() * 8);
    }
}

TEST(PngWriter, Adler32OfTwoPiecesCombines) {
    auto adler = [](const std::string& s) {
        uint32_t a = 1, b = 0;
        for (unsigned char c : s) a = (a + c) % 65521, b = (b + a) % 65521;
        return b << 16 | a;
    };
    std::mt19937 random(3);
    for (size_t n : {size_t{0}, size_t{1}, size_t{5552}, size_t{70000}}) {
        std::string first(100, '\xFF'), second(n, '\0');
        for (char& c : second) c = static_cast<char>(random());
        EXPECT_EQ(adler32Combine(adler(first), adler(second), n), adler(first + second)) << n;
    }
}

}  // namespace
}  // namespace kv
