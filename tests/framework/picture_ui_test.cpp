// Pictures: loading files and archive entries with their errors, cutting mirrored
// rectangles, colour replacement, keyed copies, recolouring and key-aware scaling.
#include "framework/picture.h"

#include <QImage>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "framework/archive_reader.h"
#include "framework/errors.h"
#include "framework/faction_colours.h"
#include "support/bitmap_fixture.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using kvtest::BitmapFixture;
using kvtest::makeBitmap;

constexpr QRgb kKey = 0xFFFF00FF;

// A 4 × 3 picture whose pixel (x, y) is grid(x, y).
QRgb grid(int x, int y) {
    return 0xFF000000u | static_cast<QRgb>(x << 4 | y);
}

std::string gridFile(bool fileHeader = true) {
    BitmapFixture b;
    b.width = 4;
    b.height = 3;
    b.fileHeader = fileHeader;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) b.pixels.push_back(grid(x, y) & 0xFFFFFF);
    return makeBitmap(b);
}

std::vector<QRgb> pixelsOf(const Picture& p) {
    std::vector<QRgb> out;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) out.push_back(p.image().pixel(x, y));
    return out;
}

template <typename Error, typename F>
std::pair<int, std::string> errorOf(F f) {
    try {
        f();
    } catch (const Error& e) {
        return {e.code, e.caption};
    }
    ADD_FAILURE() << "nothing thrown";
    return {-1, {}};
}

class PictureFiles : public testing::Test {
protected:
    std::string write(const std::string& name, const std::string& bytes) {
        kvtest::writeFile(dir.file(name), bytes);
        return dir.file(name);
    }
    kvtest::TempDir dir;
};

TEST_F(PictureFiles, LoadsWithOrWithoutFileHeaderAsOpaqueImage) {
    for (bool fileHeader : {true, false}) {
        Picture p;
        p.loadFile(write("grid.bmp", gridFile(fileHeader)));
        EXPECT_EQ(p.image().format(), QImage::Format_RGB32);
        EXPECT_EQ(p.width(), 4);
        EXPECT_EQ(p.image().pixel(3, 0), grid(3, 0));
        EXPECT_EQ(p.image().pixel(1, 2), grid(1, 2));
        p.loadFile(dir.file("grid.bmp"), MirrorHorizontal | MirrorVertical);
        EXPECT_EQ(p.image().pixel(0, 0), grid(3, 2));
    }
}

TEST_F(PictureFiles, MissingShortAndUnknownFilesAreReportedAsTheyShouldBe) {
    const std::string missing = dir.file("land48_base.bmp");
    Picture p;
    EXPECT_EQ(errorOf<swCFileError>([&] { p.loadFile(missing); }), std::make_pair(0, missing));
    const std::string whole = gridFile();
    for (size_t cut : {size_t{5}, size_t{30}, whole.size() - 1}) {
        const std::string path = write("cut.bmp", whole.substr(0, cut));
        EXPECT_EQ(errorOf<swCBitmapError>([&] { p.loadFile(path); }).first, 0) << cut;
    }
    std::string v5 = whole;
    v5[14] = 124;  // a header of another generation
    p.loadFile(write("grid.bmp", whole));
    EXPECT_NO_THROW(p.loadFile(write("v5.bmp", v5)));
    EXPECT_TRUE(p.isNull());
}

// loadRect cuts in the source's coordinates; a mirror flag mirrors the cut part.
TEST_F(PictureFiles, LoadRectCutsAndMirrorsTheRectangle) {
    const std::string path = write("grid.bmp", gridFile());
    const Rect r{1, 0, 3, 2};  // columns 1–2, rows 0–1
    const QRgb a = grid(1, 0), b = grid(2, 0), c = grid(1, 1), d = grid(2, 1);
    const std::pair<int, std::vector<QRgb>> cases[] = {
        {0, {a, b, c, d}},
        {MirrorHorizontal, {b, a, d, c}},
        {MirrorVertical, {c, d, a, b}},
        {MirrorHorizontal | MirrorVertical, {d, c, b, a}},
    };
    Picture p;
    for (const auto& [flags, expected] : cases) {
        p.loadRect(path, r, flags);
        EXPECT_EQ(pixelsOf(p), expected) << flags;
    }
    p.loadRect(path, {3, 2, 5, 4});  // partly beyond the picture: black there
    EXPECT_EQ(pixelsOf(p), (std::vector<QRgb>{grid(3, 2), 0xFF000000, 0xFF000000, 0xFF000000}));
}

TEST_F(PictureFiles, ArchiveEntryNumberSelectsAnEntryAndMinusOneAPlainFile) {
    const std::string bitmap = gridFile();
    const std::string path = write(
        "pictures.dat", kvtest::makeVersion1({{7, 3, "xyz"},
                                              {RunLengthBytes, static_cast<uint32_t>(bitmap.size()),
                                               kvtest::encodeRunLength(bitmap, 1)}}));
    Picture fromArchive, plain;
    fromArchive.loadFile(path, 0, 1);
    plain.loadFile(write("grid.bmp", bitmap), 0, -1);
    EXPECT_EQ(pixelsOf(fromArchive), pixelsOf(plain));
    EXPECT_EQ(pixelsOf(plain).size(), 12u);
    // An entry that is no bitmap, one that is not there, a plain file read as an archive.
    EXPECT_EQ(errorOf<swCBitmapError>([&] { plain.loadFile(path, 0, 0); }).first, 0);
    EXPECT_EQ(errorOf<swCBitmapError>([&] { plain.loadFile(path, 0, 2); }).first, 0);
    EXPECT_EQ(errorOf<swCBitmapError>([&] { plain.loadFile(dir.file("grid.bmp"), 0, 0); }).first,
              0);
}

TEST(PictureMemory, ColourReplacementChangesThePaletteColour) {
    BitmapFixture b;
    b.bits = 8;
    b.width = 3;
    b.clrUsed = 2;
    b.palette = {0xFF00FF, 0x00FF00};
    b.pixels = {0, 1, 0};
    const std::string bytes = makeBitmap(b);
    const std::span<const uint8_t> image(reinterpret_cast<const uint8_t*>(bytes.data()),
                                         bytes.size());
    Picture p;
    p.fromMemory(image, qRgb(255, 0, 255), qRgb(0, 0, 0));
    EXPECT_EQ(pixelsOf(p), (std::vector<QRgb>{0xFF000000, 0xFF00FF00, 0xFF000000}));
    p.fromMemory(image);  // no replacement
    EXPECT_EQ(pixelsOf(p), (std::vector<QRgb>{kKey, 0xFF00FF00, kKey}));
}

// A 5 × 4 destination, and a 3 × 2 blue source with magenta at (0,0) and (2,1).
struct KeyedScene {
    KeyedScene() : destination(5, 4, QImage::Format_RGB32) {
        destination.fill(0xFF102030);
        QImage s(3, 2, QImage::Format_RGB32);
        s.fill(0xFF0000FF);
        s.setPixel(0, 0, kKey);
        s.setPixel(2, 1, kKey);
        source = Picture(s);
    }
    std::string inked() const {
        std::string s;
        for (int y = 0; y < 4; ++y, s += '/')
            for (int x = 0; x < 5; ++x) s += destination.pixel(x, y) == 0xFF102030 ? '.' : '#';
        return s;
    }
    QImage destination;
    Picture source;
};

TEST(DrawKeyed, MagentaLeavesTheDestinationAndCopiesAreClipped) {
    KeyedScene scene;
    drawKeyed(scene.destination, 1, 1, scene.source, {0, 0, 3, 2});
    EXPECT_EQ(scene.inked(), "...../..##./.##../...../");
    EXPECT_EQ(scene.destination.pixel(2, 1), 0xFF0000FFu);
    KeyedScene corners;
    drawKeyed(corners.destination, -2, -1, corners.source, {0, 0, 3, 2});
    drawKeyed(corners.destination, 3, 3, corners.source, {0, 0, 3, 2});
    drawKeyed(corners.destination, 100, 100, corners.source, {0, 0, 3, 2});
    EXPECT_EQ(corners.inked(), "...../...../...../....#/");
    KeyedScene beyond;  // a source rectangle reaching outside the source
    drawKeyed(beyond.destination, 0, 0, beyond.source, {-1, -1, 5, 5});
    EXPECT_EQ(beyond.inked(), "...../..##./.##../...../");
}

TEST(DrawKeyed, BlackKeyWorksTheSameWay) {
    QImage d(2, 1, QImage::Format_RGB32);
    d.fill(0xFFAAAAAA);
    QImage s(2, 1, QImage::Format_RGB32);
    s.setPixel(0, 0, 0xFF000000);
    s.setPixel(1, 0, 0xFF00FF00);
    drawKeyed(d, 0, 0, Picture(s), {0, 0, 2, 1}, qRgb(0, 0, 0));
    EXPECT_EQ(d.pixel(0, 0), 0xFFAAAAAAu);
    EXPECT_EQ(d.pixel(1, 0), 0xFF00FF00u);
}

TEST(PictureRecolour, RotatesAllButMagentaAndGrey) {
    QImage s(4, 1, QImage::Format_RGB32);
    s.setPixel(0, 0, kKey);
    s.setPixel(1, 0, 0xFF777777);
    s.setPixel(2, 0, 0xFFC86432);
    s.setPixel(3, 0, 0xFFFF0000);
    const Picture plain(s);
    for (int angle : {0, 60, 130, 255, 360}) {
        const Picture p = plain.recoloured(angle);
        EXPECT_EQ(p.image().pixel(0, 0), kKey);
        EXPECT_EQ(p.image().pixel(1, 0), 0xFF777777u);
        EXPECT_EQ(p.image().pixel(2, 0), 0xFF000000u | rotateHue(0xC86432, angle));
    }
    EXPECT_EQ(plain.recoloured(120).image().pixel(3, 0), 0xFF00FF00u);
    EXPECT_EQ(plain.image().pixel(3, 0), 0xFFFF0000u);  // the original is untouched
}

TEST(PictureFromImage, PixelsLessThanHalfCoveredBecomeTheKey) {
    QImage s(3, 1, QImage::Format_ARGB32);
    s.setPixel(0, 0, 0x00123456);
    s.setPixel(1, 0, 0x7F123456);
    s.setPixel(2, 0, 0xFF123456);
    const Picture p(s);
    EXPECT_EQ(pixelsOf(p), (std::vector<QRgb>{kKey, kKey, 0xFF123456}));
    EXPECT_EQ(qAlpha(p.withTransparentKey().pixel(0, 0)), 0);
}

TEST(PictureScaling, CellsKeepTheirPlaceAndNoKeyColourBleeds) {
    // A solid red cell, and a magenta cell with a blue square in the middle.
    QImage s(96, 48, QImage::Format_RGB32);
    s.fill(0xFFFF0000);
    for (int y = 0; y < 48; ++y)
        for (int x = 48; x < 96; ++x)
            s.setPixel(x, y, x >= 60 && x < 84 && y >= 12 && y < 36 ? 0xFF0000FF : kKey);
    const Picture sheet(s);
    for (int size : {32, 16}) {
        const Picture p = sheet.scaledCells(48, size);
        ASSERT_EQ(p.width(), 2 * size);
        ASSERT_EQ(p.height(), size);
        const std::vector<QRgb> first = pixelsOf(p.cut(cellRect(0, 0, size)));
        EXPECT_EQ(std::set<QRgb>(first.begin(), first.end()), std::set<QRgb>{0xFFFF0000});
        const std::vector<QRgb> second = pixelsOf(p.cut(cellRect(1, 0, size)));
        EXPECT_EQ(std::set<QRgb>(second.begin(), second.end()), (std::set<QRgb>{kKey, 0xFF0000FF}));
        EXPECT_EQ(second[size * size / 2 + size / 2], 0xFF0000FFu) << size;
    }
    EXPECT_TRUE(sheet.scaledCells(48, 0).isNull());
}

}  // namespace
}  // namespace kv
