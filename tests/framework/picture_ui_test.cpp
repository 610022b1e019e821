// Pictures: loading files and archive entries with their errors, cutting mirrored
// rectangles, colour replacement, keyed copies, recolouring and key-aware scaling.
#include "framework/picture.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "framework/archive_reader.h"
#include "framework/errors.h"
#include "framework/faction_colours.h"
#include "framework/profile.h"
#include "support/bitmap_fixture.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using kvtest::BitmapSpec;
using kvtest::makeBitmap;
using kvtest::TempDir;

constexpr QRgb kKey = 0xFFFF00FF;

// A 4 × 3 picture whose pixel (x, y) is 0xFF0000xy.
std::vector<uint32_t> gridPixels() {
    std::vector<uint32_t> px;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) px.push_back(static_cast<uint32_t>(x << 4 | y));
    return px;
}

BitmapSpec gridSpec() {
    BitmapSpec b;
    b.width = 4;
    b.height = 3;
    b.pixels = gridPixels();
    return b;
}

QRgb grid(int x, int y) {
    return 0xFF000000u | static_cast<QRgb>(x << 4 | y);
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
    TempDir dir;
};

TEST_F(PictureFiles, LoadsAsOpaqueThirtyTwoBitImage) {
    Picture p;
    p.loadFile(write("grid.bmp", makeBitmap(gridSpec())));
    ASSERT_FALSE(p.isNull());
    EXPECT_EQ(p.image().format(), QImage::Format_RGB32);
    EXPECT_EQ(p.width(), 4);
    EXPECT_EQ(p.height(), 3);
    EXPECT_EQ(p.image().pixel(3, 0), grid(3, 0));
    EXPECT_EQ(p.image().pixel(1, 2), grid(1, 2));
}

TEST_F(PictureFiles, HeaderlessFileLoads) {
    BitmapSpec b = gridSpec();
    b.fileHeader = false;
    Picture p;
    p.loadFile(write("bare.bmp", makeBitmap(b)));
    EXPECT_EQ(p.image().pixel(2, 1), grid(2, 1));
}

TEST_F(PictureFiles, MissingFileThrowsOpenErrorCaptionedWithTheName) {
    const std::string path = dir.file("land48_base.bmp");
    Picture p;
    const auto [code, caption] = errorOf<swCFileError>([&] { p.loadFile(path); });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(caption, path);
    EXPECT_TRUE(p.isNull());
}

TEST_F(PictureFiles, TruncatedFileThrowsBitmapErrorZero) {
    const std::string whole = makeBitmap(gridSpec());
    for (size_t cut : {size_t{5}, size_t{30}, whole.size() - 1}) {
        const std::string path = write("cut.bmp", whole.substr(0, cut));
        Picture p;
        EXPECT_EQ(errorOf<swCBitmapError>([&] { p.loadFile(path); }).first, 0) << cut;
    }
}

TEST_F(PictureFiles, UnsupportedHeaderSizeGivesAnEmptyPicture) {
    BitmapSpec b = gridSpec();
    b.headerSize = 124;
    Picture p;
    p.loadFile(write("v5.bmp", makeBitmap(gridSpec())));
    ASSERT_FALSE(p.isNull());
    EXPECT_NO_THROW(p.loadFile(write("v5.bmp", makeBitmap(b))));
    EXPECT_TRUE(p.isNull());
}

TEST_F(PictureFiles, LoadFlagsMirrorTheWholePicture) {
    const std::string path = write("grid.bmp", makeBitmap(gridSpec()));
    Picture p;
    p.loadFile(path, MirrorHorizontal);
    EXPECT_EQ(p.image().pixel(0, 0), grid(3, 0));
    p.loadFile(path, MirrorVertical);
    EXPECT_EQ(p.image().pixel(0, 0), grid(0, 2));
    p.loadFile(path, MirrorHorizontal | MirrorVertical);
    EXPECT_EQ(p.image().pixel(0, 0), grid(3, 2));
}

TEST_F(PictureFiles, PicturesComeFromTheBitmapFolder) {
    // A folder copied from another system may spell the name differently.
    const std::string folder = dir.path() + "/bmp";
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    kvtest::writeFile(folder + "/Exnum.BMP", makeBitmap(gridSpec()));
    setProgramPath(dir.file("kvornme"));
    const Picture p = loadPicture("exnum.bmp");
    setProgramPath("");
    EXPECT_EQ(p.width(), 4);
}

// loadRect cuts in the source's coordinates; a mirror flag mirrors the cut part.
TEST_F(PictureFiles, LoadRectCutsAndMirrorsTheRectangle) {
    const std::string path = write("grid.bmp", makeBitmap(gridSpec()));
    const Rect r{1, 0, 3, 2};  // columns 1–2, rows 0–1
    Picture p;
    p.loadRect(path, r);
    EXPECT_EQ(pixelsOf(p), (std::vector<QRgb>{grid(1, 0), grid(2, 0), grid(1, 1), grid(2, 1)}));
    p.loadRect(path, r, MirrorHorizontal);
    EXPECT_EQ(pixelsOf(p), (std::vector<QRgb>{grid(2, 0), grid(1, 0), grid(2, 1), grid(1, 1)}));
    p.loadRect(path, r, MirrorVertical);
    EXPECT_EQ(pixelsOf(p), (std::vector<QRgb>{grid(1, 1), grid(2, 1), grid(1, 0), grid(2, 0)}));
    p.loadRect(path, r, MirrorHorizontal | MirrorVertical);
    EXPECT_EQ(pixelsOf(p), (std::vector<QRgb>{grid(2, 1), grid(1, 1), grid(2, 0), grid(1, 0)}));
}

TEST_F(PictureFiles, LoadRectBeyondThePictureIsBlackThere) {
    Picture p;
    p.loadRect(write("grid.bmp", makeBitmap(gridSpec())), {3, 2, 5, 4});
    EXPECT_EQ(pixelsOf(p), (std::vector<QRgb>{grid(3, 2), 0xFF000000, 0xFF000000, 0xFF000000}));
    p.loadRect(dir.file("grid.bmp"), {2, 2, 2, 3});
    EXPECT_TRUE(p.isNull());
}

TEST_F(PictureFiles, ArchiveEntryNumberSelectsAnEntryAndMinusOneAPlainFile) {
    const std::string bitmap = makeBitmap(gridSpec());
    const std::string archive = kvtest::makeVersion1({
        {7, 3, "xyz"},
        {RunLengthBytes, static_cast<uint32_t>(bitmap.size()), kvtest::encodeRunLength(bitmap, 1)},
    });
    const std::string path = write("pictures.dat", archive);
    Picture p;
    p.loadFile(path, 0, 1);
    EXPECT_EQ(pixelsOf(p), pixelsOf([&] {
                  Picture q;
                  q.loadFile(write("grid.bmp", bitmap), 0, -1);
                  return q;
              }()));
    p.loadRect(path, {0, 0, 1, 1}, 0, 1);
    EXPECT_EQ(p.image().pixel(0, 0), grid(0, 0));
    // An entry that is no bitmap, and one that is not there.
    EXPECT_EQ(errorOf<swCBitmapError>([&] { p.loadFile(path, 0, 0); }).first, 0);
    EXPECT_EQ(errorOf<swCBitmapError>([&] { p.loadFile(path, 0, 2); }).first, 0);
    // A plain bitmap file read as an archive has no entries.
    EXPECT_EQ(errorOf<swCBitmapError>([&] { p.loadFile(dir.file("grid.bmp"), 0, 0); }).first, 0);
}

TEST(PictureMemory, ColourReplacementChangesThePaletteColour) {
    BitmapSpec b;
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
    p.fromMemory(image, qRgb(0, 0, 0), qRgb(0, 0, 0));  // no replacement
    EXPECT_EQ(p.image().pixel(0, 0), kKey);
    p.fromMemory(image);
    EXPECT_EQ(p.image().pixel(2, 0), kKey);
}

TEST(PictureMemory, ShortImageThrowsBitmapErrorZero) {
    const std::string bytes = makeBitmap(gridSpec()).substr(0, 40);
    Picture p;
    EXPECT_EQ(errorOf<swCBitmapError>([&] {
                  p.fromMemory({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
              }).first,
              0);
}

// A destination and a source of distinct colours, with magenta in the source's corners.
struct KeyedScene {
    KeyedScene() : destination(5, 4, QImage::Format_RGB32) {
        destination.fill(0xFF102030);
        QImage s(3, 2, QImage::Format_RGB32);
        s.fill(0xFF0000FF);
        s.setPixel(0, 0, kKey);
        s.setPixel(2, 1, kKey);
        source = Picture(s);
    }
    QImage destination;
    Picture source;
};

TEST(DrawKeyed, MagentaLeavesTheDestinationAndOtherPixelsAreCopied) {
    KeyedScene scene;
    drawKeyed(scene.destination, 1, 1, scene.source, {0, 0, 3, 2});
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            const bool covered = x >= 1 && x < 4 && y >= 1 && y < 3;
            const bool keyed = (x == 1 && y == 1) || (x == 3 && y == 2);
            const QRgb expected = covered && !keyed ? 0xFF0000FF : 0xFF102030;
            EXPECT_EQ(scene.destination.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(DrawKeyed, CopiesAreClippedOnEverySide) {
    KeyedScene scene;
    drawKeyed(scene.destination, -2, -1, scene.source, {0, 0, 3, 2});
    EXPECT_EQ(scene.destination.pixel(0, 0), 0xFF102030u);  // source (2,1) is magenta
    EXPECT_EQ(scene.destination.pixel(1, 0), 0xFF102030u);
    drawKeyed(scene.destination, 4, 3, scene.source, {0, 0, 3, 2});
    EXPECT_EQ(scene.destination.pixel(4, 3), 0xFF102030u);  // source (0,0) is magenta
    drawKeyed(scene.destination, 3, 3, scene.source, {0, 0, 3, 2});
    EXPECT_EQ(scene.destination.pixel(4, 3), 0xFF0000FFu);
    // A source rectangle reaching outside the source copies only what is there.
    KeyedScene other;
    drawKeyed(other.destination, 0, 0, other.source, {-1, -1, 5, 5});
    EXPECT_EQ(other.destination.pixel(0, 0), 0xFF102030u);
    EXPECT_EQ(other.destination.pixel(2, 1), 0xFF0000FFu);
    EXPECT_EQ(other.destination.pixel(4, 3), 0xFF102030u);
    drawKeyed(other.destination, 100, 100, other.source, {0, 0, 3, 2});
    drawKeyed(other.destination, -100, 0, other.source, {0, 0, 3, 2});
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
        EXPECT_EQ(p.image().pixel(3, 0), 0xFF000000u | rotateHue(0xFF0000, angle));
    }
    EXPECT_EQ(plain.recoloured(120).image().pixel(3, 0), 0xFF00FF00u);
    EXPECT_EQ(plain.image().pixel(3, 0), 0xFFFF0000u);  // the original is untouched
}

TEST(PictureFromImage, TransparentPixelsBecomeTheKey) {
    QImage s(3, 1, QImage::Format_ARGB32);
    s.setPixel(0, 0, 0x00123456);
    s.setPixel(1, 0, 0x7F123456);
    s.setPixel(2, 0, 0xFF123456);
    const Picture p(s);
    EXPECT_EQ(p.image().format(), QImage::Format_RGB32);
    EXPECT_EQ(pixelsOf(p), (std::vector<QRgb>{kKey, kKey, 0xFF123456}));
    const QImage keyed = p.withTransparentKey();
    EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
    EXPECT_EQ(keyed.pixel(2, 0), 0xFF123456u);
}

// Two 48-pixel cells: a solid red one, and a magenta one with a blue square in the middle.
Picture twoCellSheet() {
    QImage s(96, 48, QImage::Format_RGB32);
    s.fill(0xFFFF0000);
    for (int y = 0; y < 48; ++y)
        for (int x = 48; x < 96; ++x)
            s.setPixel(x, y, x >= 60 && x < 84 && y >= 12 && y < 36 ? 0xFF0000FF : kKey);
    return Picture(s);
}

TEST(PictureScaling, CellsKeepTheirPlaceAndNoKeyColourBleeds) {
    const Picture sheet = twoCellSheet();
    for (int size : {32, 16}) {
        const Picture p = sheet.scaledCells(48, size);
        ASSERT_EQ(p.width(), 2 * size);
        ASSERT_EQ(p.height(), size);
        std::set<QRgb> colours;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) EXPECT_EQ(p.image().pixel(x, y), 0xFFFF0000u);
            for (int x = size; x < 2 * size; ++x) colours.insert(p.image().pixel(x, y));
        }
        // Only the key and the square's blue: the averaging never mixes the two.
        EXPECT_EQ(colours, (std::set<QRgb>{kKey, 0xFF0000FF})) << size;
        const int mid = size + size / 2;
        EXPECT_EQ(p.image().pixel(mid, size / 2), 0xFF0000FFu);
        EXPECT_EQ(p.image().pixel(size, 0), kKey);
    }
    EXPECT_TRUE(sheet.scaledCells(48, 0).isNull());
    EXPECT_EQ(sheet.scaledCells(48, 48).image(), sheet.image());
}

TEST(PictureCells, CellRectanglesTileTheSheet) {
    EXPECT_EQ(cellRect(0, 0, 48), (Rect{0, 0, 48, 48}));
    EXPECT_EQ(cellRect(3, 2, 32), (Rect{96, 64, 128, 96}));
    const Picture cell = twoCellSheet().cut(cellRect(1, 0, 48));
    EXPECT_EQ(cell.image().pixel(0, 0), kKey);
    EXPECT_EQ(cell.image().pixel(24, 24), 0xFF0000FFu);
}

}  // namespace
}  // namespace kv
