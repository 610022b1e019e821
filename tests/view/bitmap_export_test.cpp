// The bitmap export: size and header, what the picture shows and leaves out, the PNG form
// (the same pixels, the same file for any thread count), `kvmap export`, and failures that
// leave no file behind.
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include <sys/resource.h>

#include "document/map_file.h"
#include "framework/byte_cursor.h"
#include "framework/errors.h"
#include "render_fixture.h"
#include "view/bitmap_export.h"

namespace kv {
namespace {

uint32_t u32(const std::string& s, size_t at) {
    return loadU32(&s[at]);
}
uint16_t u16(const std::string& s, size_t at) {
    return loadU16(&s[at]);
}

TEST(ExportLayout, SixtyFourSquareAtThirtyTwoIs2064By1544) {
    const ExportLayout l = exportLayout(64, 64, 32);
    EXPECT_EQ(l.width, 2064);
    EXPECT_EQ(l.height, 1544);
    EXPECT_EQ(l.stride, 4128u);
    EXPECT_EQ(l.imageBytes, 1544u * 4128u);
    // Rows are padded to four bytes.
    EXPECT_EQ(exportLayout(1, 1, 16).width, 24);
    EXPECT_EQ(exportLayout(1, 1, 16).stride, 48u);
    EXPECT_EQ(exportLayout(3, 1, 48).stride, 3u * 48 * 2 + 48);
}

TEST(ExportLayout, HeaderIsTheTabledFiftyEightBytes) {
    const ExportLayout l = exportLayout(64, 64, 32);
    const std::string h = exportHeader(l);
    ASSERT_EQ(h.size(), 58u);
    EXPECT_EQ(h.substr(0, 2), "BM");
    EXPECT_EQ(u32(h, 2), 1544u * 4128u + 58u);
    EXPECT_EQ(u32(h, 6), 0u);
    EXPECT_EQ(u32(h, 10), 58u);
    EXPECT_EQ(u32(h, 14), 40u);
    EXPECT_EQ(u32(h, 18), 2064u);
    EXPECT_EQ(u32(h, 22), 1544u);  // positive: bottom-up
    EXPECT_EQ(u16(h, 26), 1);
    EXPECT_EQ(u16(h, 28), 16);
    EXPECT_EQ(u32(h, 30), 0u);
    EXPECT_EQ(u32(h, 34), 1544u * 4128u);
    for (size_t i = 38; i < 58; ++i) EXPECT_EQ(h[i], 0) << i;
}

class BitmapExport : public kvtest::RenderFixture {
protected:
    std::string exportBytes(int size) {
        SpriteSheets sheets;
        sheets.build(size, doc().factionColours, false, doc().gameDatabase, true);
        sheets16_ = sheets.toRgb555();
        sheets32_ = std::move(sheets);
        return exportBitmapBytes(doc(), sheets16_);
    }
    SpriteSheets sheets32_, sheets16_;
};

TEST_F(BitmapExport, NewMapAtThirtyTwoHasTheTabledSizeAndShowsTheTerrain) {
    const std::string bytes = exportBytes(32);
    ASSERT_EQ(bytes.size(), 58u + 1544u * 4128u);
    EXPECT_EQ(bytes.substr(0, 58), exportHeader(exportLayout(64, 64, 32)));
    const QImage image = exportImage(bytes);
    ASSERT_EQ(image.size(), QSize(2064, 1544));
    // The centre of hex (0, 0) is the plain picture's centre in 5-5-5 colour; the row
    // ends of even rows beyond the last hex are black.
    const QRgb art = sheets32_[Sheet::Base].pixels().pixel(32 + 16, 16);
    const QRgb shown = image.pixel(16, 16);
    EXPECT_EQ(qRed(shown) >> 3, qRed(art) >> 3);
    EXPECT_EQ(qGreen(shown) >> 3, qGreen(art) >> 3);
    EXPECT_EQ(qBlue(shown) >> 3, qBlue(art) >> 3);
    EXPECT_EQ(image.pixel(2063, 16), 0xFF000000u);
    // Rows are stored bottom-up: picture row 16 is stored 16 rows before the end.
    const size_t row16 = 58 + size_t(1543 - 16) * 4128;
    EXPECT_EQ(u16(bytes, row16 + 2 * 16), toRgb555(art));
}

TEST_F(BitmapExport, TroopsLabelsMarksAndFrameAreLeftOut) {
    const std::string plain = exportBytes(16);
    putTroop(0, 0, troop(kvtest::kTank, 3, 3));
    doc().rebuildTroopStacks();
    ASSERT_TRUE(doc().setLabel(5, 5, "LABEL", 0, 0));
    doc().mapGrid.hexMarks[size_t(7 + 7 * 64)] = kMarkPreview | kMarkFlash;
    cell(9, 9).territory = 1;
    doc().mapGrid.overlays[size_t(9 + 9 * 64)].borderBits = 0x3F;
    cell(11, 11).destroyed = 1;
    cell(12, 12).supplyLinks = 9;
    doc().viewSettings.showHexFrame = 1;
    EXPECT_EQ(exportBytes(16), plain);
}

TEST_F(BitmapExport, PiecesOfJoinedGroupsShowTheirTerrainsOwnPicture) {
    for (HexCell& c : doc().mapGrid.cells) c.terrain = 5, c.picture = 5;  // mountains
    const std::string own = exportBytes(32);
    cell(4, 4).picture = 1003;  // the centre of a massif
    cell(6, 4).picture = 2004;  // a joined piece
    EXPECT_EQ(exportBytes(32), own);
}

TEST_F(BitmapExport, RiversRoadsAndBuildingsAppear) {
    const std::string plain = exportBytes(32);
    cell(2, 2).river = 9;
    EXPECT_NE(exportBytes(32), plain);
    cell(2, 2).river = 0;
    cell(3, 3).roadLinks = 9;
    EXPECT_NE(exportBytes(32), plain);
    cell(3, 3).roadLinks = 0;
    cell(5, 5).terrain = kvtest::kMediumCity;
    cell(5, 5).picture = kvtest::kMediumCityPicture;
    const std::string neutral = exportBytes(32);
    cell(5, 5).owner = 3;
    EXPECT_NE(exportBytes(32), neutral);  // in the owner's colour
}

TEST_F(BitmapExport, PngHoldsExactlyTheBitmapsPixelsAtEverySizeAndThreadCount) {
    kvtest::TempDir dir;
    resize(23, 21);
    cell(2, 2).river = 9;
    cell(3, 3).roadLinks = 9;
    cell(5, 5).terrain = kvtest::kMediumCity;
    cell(5, 5).picture = kvtest::kMediumCityPicture;
    cell(5, 5).owner = 3;
    for (int size : {16, 32, 48}) {
        exportBitmap(doc(), size, dir.file("map.bmp"));
        exportBitmap(doc(), size, dir.file("map.png"));
        const QImage png(QString::fromStdString(dir.file("map.png")));
        EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32),
                  exportImage(kvtest::readFile(dir.file("map.bmp"))))
            << size;
    }
    // At 48 the picture is two bands: one thread or several write the same file.
    const SpriteSheets sheets = exportSheets(doc(), 48);
    std::string one, three;
    auto into = [](std::string& s) {
        return [&s](const uint8_t* data, size_t size) {
            s.append(reinterpret_cast<const char*>(data), size);
        };
    };
    exportPng(doc(), sheets, into(one), {kDefaultPngLevel, 1});
    exportPng(doc(), sheets, into(three), {kDefaultPngLevel, 3});
    ASSERT_GT(exportLayout(23, 21, 48).height, pngBandRows(exportLayout(23, 21, 48).width));
    EXPECT_EQ(one, three);
    EXPECT_EQ(kvtest::readFile(dir.file("map.png")), one);
}

TEST_F(BitmapExport, AFailedWriteLeavesNoFileAndSaysSo) {
    kvtest::TempDir dir;
    auto expectSaveError = [&](const std::string& path) {
        try {
            exportBitmap(doc(), 16, path);
            ADD_FAILURE() << "nothing thrown for " << path;
        } catch (const swCBitmapError& e) {
            EXPECT_EQ(e.code, swCBitmapError::Save) << path;
        }
        EXPECT_FALSE(std::filesystem::exists(path));
    };
    expectSaveError(dir.file("no/such/folder/map.bmp"));
    // A full disk: no file of the process may grow past 4 KiB.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    expectSaveError(dir.file("full.bmp"));
    expectSaveError(dir.file("full.png"));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    // Nothing is left behind, not even the temporary files.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              0);
}

TEST_F(BitmapExport, KvmapExportWritesTheBitmapOfAMapFile) {
    kvtest::TempDir dir;
    resize(20, 10);
    writeMapFile(doc(), dir.file("small.kvn"), MapFileKind::Normal);
    QProcess p;
    p.start(QString::fromStdString(kvtest::distDir() + "/kvmap"),
            {"export", QString::fromStdString(dir.file("small.kvn")),
             QString::fromStdString(dir.file("out.bmp")), "--hex-size", "48", "--program-dir",
             QString::fromStdString(kvtest::distDir())});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const std::string out = kvtest::readFile(dir.file("out.bmp"));
    const ExportLayout l = exportLayout(20, 10, 48);
    ASSERT_EQ(out.size(), 58u + l.imageBytes);
    EXPECT_EQ(u32(out, 18), 20u * 48 + 24);
    EXPECT_EQ(u32(out, 22), 10u * 36 + 12);
    // A size the view does not have is refused.
    p.start(QString::fromStdString(kvtest::distDir() + "/kvmap"),
            {"export", QString::fromStdString(dir.file("small.kvn")),
             QString::fromStdString(dir.file("bad.bmp")), "--hex-size", "20"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.bmp")));
    // So is a compression level outside 1..12.
    p.start(QString::fromStdString(kvtest::distDir() + "/kvmap"),
            {"export", QString::fromStdString(dir.file("small.kvn")),
             QString::fromStdString(dir.file("bad.png")), "--png-level", "13"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.png")));
}

}  // namespace
}  // namespace kv
