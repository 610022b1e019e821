// The sprite sheets made from the sample art: their cell grids at every size, the owner
// colour blocks of buildings and bridges, the faction blocks of the weapon-type icons, the
// special colour, the 48-pixel fallback of unit icon pages, custom icons and missing files.
#include <QImage>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "framework/data_paths.h"
#include "framework/disk_file.h"
#include "framework/faction_colours.h"
#include "framework/picture.h"
#include "framework/profile.h"
#include "gamedata/weapons.h"
#include "support/test_paths.h"
#include "view/sheet_cache.h"
#include "view/sprite_sheets.h"

namespace kv {
namespace {

class SpriteSheetsTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new kvtest::TempDir;
        kvtest::copySampleData(dir_->path());
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override { setProgramPath(dir_->file("kvornme")); }
    void TearDown() override { setProgramPath(""); }

    SpriteSheets build(int size, bool unitIcons = true) {
        SpriteSheets s;
        s.build(size, colours_, unitIcons, weapons_);
        return s;
    }
    static QRgb at(const SpriteImage& s, int x, int y) { return s.pixels().pixel(x, y) & 0xFFFFFF; }

    FactionColourTable colours_;
    WeaponData weapons_;
    static inline kvtest::TempDir* dir_ = nullptr;
};

TEST_F(SpriteSheetsTest, EverySheetHasItsCellGridAtEverySize) {
    for (int s : {16, 32, 48}) {
        const SpriteSheets sheets = build(s);
        EXPECT_EQ(sheets.hexSize(), s);
        EXPECT_TRUE(sheets.missingFiles().empty());
        auto size = [&](Sheet sheet) {
            return QSize(sheets[sheet].width(), sheets[sheet].height());
        };
        EXPECT_EQ(size(Sheet::Base).width(), 10 * s);
        EXPECT_EQ(size(Sheet::Building), QSize(10 * s, 42 * s));
        EXPECT_EQ(size(Sheet::Parts).width(), 10 * s);
        EXPECT_EQ(size(Sheet::Bridge), QSize(9 * s, 14 * s));
        EXPECT_EQ(size(Sheet::TempBridge), QSize(9 * s, 2 * s));
        EXPECT_EQ(size(Sheet::Road).width(), 42 * s);
        EXPECT_EQ(size(Sheet::Territory), QSize(s, 7 * s));
        EXPECT_EQ(size(Sheet::Border), QSize(5 * s, 35 * s));
        EXPECT_EQ(size(Sheet::WeaponIcon), QSize(42 * s, 10 * s));
        // The small marks are never scaled.
        EXPECT_EQ(size(Sheet::Digit), QSize(100, 44));
        EXPECT_EQ(size(Sheet::LayerMark), QSize(30, 9));
        EXPECT_EQ(size(Sheet::RegimentMark), QSize(96, 108));
        EXPECT_EQ(sheets.unitPage(0, 1) != nullptr, s > 16);
    }
}

TEST_F(SpriteSheetsTest, BuildingColourBlocksRecolourOnlyTheColouredParts) {
    const SpriteSheets sheets = build(48);
    const SpriteImage& b = sheets[Sheet::Building];
    const Picture art = loadPicture("land48_build.bmp");
    int coloured = 0, plain = 0;
    // Cell 0 (the capital) in every colour block; blocks 21.. are the destroyed copies.
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const bool part = (art.image().pixel(x, 144 + y) & 0xFFFFFF) != kColourKey;
            for (int k = 0; k < 7; ++k)
                ASSERT_EQ(at(b, x, 144 * k + y), at(b, x, 144 * (k + 7) + y)) << k;
            if (part) {
                ++coloured;
                const QRgb own = art.image().pixel(x, 144 + y) & 0xFFFFFF;
                EXPECT_EQ(at(b, x, 144 * 2 + y),
                          rotateHue(own, factionHue(colours_, 2)) & 0xFFFFFF);
                EXPECT_EQ(at(b, x, y), art.image().pixel(x, y) & 0xFFFFFF);  // neutral: plain
            } else if ((art.image().pixel(x, y) & 0xFFFFFF) != kColourKey) {
                ++plain;
                for (int k = 1; k < 7; ++k) ASSERT_EQ(at(b, x, 144 * k + y), at(b, x, y));
            }
        }
    }
    EXPECT_GT(coloured, 20);
    EXPECT_GT(plain, 200);
}

TEST_F(SpriteSheetsTest, BridgeRowsHoldEachColourAndItsDestroyedPieces) {
    const SpriteSheets sheets = build(48);
    const SpriteImage& b = sheets[Sheet::Bridge];
    const Picture art = loadPicture("bridge48.bmp");
    int compared = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 9 * 48; ++x) {
            const QRgb whole = art.image().pixel(x, 48 + y) & 0xFFFFFF;
            if (whole == kColourKey) continue;
            ++compared;
            EXPECT_EQ(at(b, x, y), art.image().pixel(x, y) & 0xFFFFFF);
            EXPECT_EQ(at(b, x, 3 * 48 + y), rotateHue(whole, factionHue(colours_, 3)) & 0xFFFFFF);
            const QRgb broken = art.image().pixel(x, 3 * 48 + y) & 0xFFFFFF;
            if (broken != kColourKey) {
                EXPECT_EQ(at(b, x, 10 * 48 + y),
                          rotateHue(broken, factionHue(colours_, 3)) & 0xFFFFFF);
            }
        }
    EXPECT_GT(compared, 100);
}

TEST_F(SpriteSheetsTest, WeaponIconBlocksTakeTheirFactionsHue) {
    const SpriteSheets sheets = build(48);
    const Picture art = loadPicture("unit48.bmp");
    for (int f : {0, 4}) {
        int compared = 0;
        for (int y = 0; y < 480; y += 3)
            for (int x = 336 * f; x < 336 * (f + 1); x += 3) {
                const QRgb own = art.image().pixel(x, y) & 0xFFFFFF;
                if (own == kColourKey) continue;
                ++compared;
                ASSERT_EQ(at(sheets[Sheet::WeaponIcon], x, y),
                          rotateHue(own, factionHue(colours_, f + 1)) & 0xFFFFFF);
            }
        EXPECT_GT(compared, 100);
    }
}

TEST_F(SpriteSheetsTest, ASecondBuildOfTheSameKindKeepsTheSheetsAndAnyChangeRemakesThem) {
    SpriteSheets sheets;
    auto buildingBits = [&] { return sheets[Sheet::Building].pixels().constBits(); };
    sheets.build(32, colours_, true, weapons_);
    const uchar* first = buildingBits();
    sheets.build(32, colours_, true, weapons_);
    EXPECT_EQ(buildingBits(), first);
    // A faction's new hue recolours its blocks; another size or mode makes new sheets.
    colours_.entries[size_t(FactionColourTable::factionEntry(2))].hueAngle += 90;
    sheets.build(32, colours_, true, weapons_);
    EXPECT_NE(buildingBits(), first);
    const int x = 5 * 32 + 16, y = 3 * 3 * 32 + 16;  // a pixel of colour block 3
    EXPECT_EQ(at(sheets[Sheet::Building], x, y), at(build(32)[Sheet::Building], x, y));
    const uchar* recoloured = buildingBits();
    sheets.build(48, colours_, true, weapons_);
    EXPECT_EQ(sheets.hexSize(), 48);
    EXPECT_NE(buildingBits(), recoloured);
}

TEST_F(SpriteSheetsTest, TheSheetCacheGivesBackTheBuiltSheetsOnlyForItsKeyAndAWholeFile) {
    SpriteSheets built;
    built.build(16, colours_, false, weapons_, true);
    const std::string key = exportSheetsKey(colours_, 16);
    const std::string path = dir_->file("sheets.cache");
    ASSERT_TRUE(writeSheetCache(path, key, built));
    const std::optional<SpriteSheets> read = readSheetCache(path, key);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->hexSize(), 16);
    for (int i = 0; i < int(Sheet::Count); ++i) {
        EXPECT_EQ((*read)[Sheet(i)].pixels(), built[Sheet(i)].pixels()) << i;
        EXPECT_EQ((*read)[Sheet(i)].isNull(), built[Sheet(i)].isNull()) << i;
        EXPECT_EQ((*read)[Sheet(i)].runs(), built[Sheet(i)].runs()) << i;
        EXPECT_EQ((*read)[Sheet(i)].rowRuns(), built[Sheet(i)].rowRuns()) << i;
    }
    EXPECT_FALSE(readSheetCache(path, exportSheetsKey(colours_, 32)));
    // Another hue or a renewed art file is another key.
    FactionColourTable other = colours_;
    other.entries[size_t(FactionColourTable::factionEntry(0))].hueAngle += 30;
    EXPECT_NE(exportSheetsKey(other, 16), key);
    const std::string art = dataPath("road_48.bmp", DataKind::Bmp);
    const timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, art.c_str(), times, 0), 0);
    EXPECT_NE(exportSheetsKey(colours_, 16), key);
    // A file cut short anywhere is refused.
    const std::string bytes = kvtest::readFile(path);
    for (size_t cut = 0; cut < bytes.size(); cut = cut * 2 + 7) {
        kvtest::writeFile(path, bytes.substr(0, cut));
        EXPECT_FALSE(readSheetCache(path, key)) << cut;
    }
}

TEST_F(SpriteSheetsTest, TheViewTakesItsSheetsFromTheCacheAndBuildsWhenItIsDamaged) {
    auto sameSheets = [](const SpriteSheets& a, const SpriteSheets& b) {
        for (int i = 0; i < int(Sheet::Count); ++i)
            if (a[Sheet(i)].pixels() != b[Sheet(i)].pixels() ||
                a[Sheet(i)].runs() != b[Sheet(i)].runs() ||
                a[Sheet(i)].rowRuns() != b[Sheet(i)].rowRuns())
                return false;
        return a.missingFiles() == b.missingFiles();
    };
    const std::string path = dir_->file("kvornme-view-32.cache");
    std::remove(path.c_str());
    SpriteSheets built;
    buildViewSheets(built, 32, colours_, true, weapons_);
    ASSERT_TRUE(fileExists(path));
    // From the cache: the same sheets, and the unit pages and custom icons made besides.
    SpriteSheets cached;
    buildViewSheets(cached, 32, colours_, true, weapons_);
    EXPECT_TRUE(sameSheets(cached, built));
    ASSERT_NE(cached.unitPage(2, 1), nullptr);
    EXPECT_EQ(cached.unitPage(2, 1)->pixels(), built.unitPage(2, 1)->pixels());
    EXPECT_FALSE(cached.needsBuild(32, colours_, true, weapons_));

    // What the file holds is what the view gets: sheets of other hues under this key show.
    FactionColourTable other = colours_;
    other.entries[size_t(FactionColourTable::factionEntry(2))].hueAngle += 120;
    SpriteSheets otherHues;
    otherHues.build(32, other, true, weapons_);
    const std::string key = sheetsKey(colours_, 32, false);
    ASSERT_TRUE(writeSheetCache(path, key, otherHues));
    SpriteSheets fromFile;
    buildViewSheets(fromFile, 32, colours_, true, weapons_);
    EXPECT_TRUE(sameSheets(fromFile, otherHues));

    // Runs that leave their row make the file unusable: the sheets are built and the cache
    // made again.
    std::string bytes = kvtest::readFile(path);
    const size_t runsOfFirstSheet = 8 + 4 + 4 + key.size() + (4 - key.size() % 4) % 4 + 8 + 8 + 4;
    bytes.replace(runsOfFirstSheet + 4, 4, std::string("\xff\xff\x00\x00", 4));
    kvtest::writeFile(path, bytes);
    EXPECT_FALSE(readSheetCache(path, key));
    SpriteSheets rebuilt;
    buildViewSheets(rebuilt, 32, colours_, true, weapons_);
    EXPECT_TRUE(sameSheets(rebuilt, built));
    const std::optional<SpriteSheets> renewed = readSheetCache(path, key);
    ASSERT_TRUE(renewed);
    EXPECT_TRUE(sameSheets(*renewed, built));
}

TEST_F(SpriteSheetsTest, ACacheWrittenFromTheLayoutReadsBackWithItsRunsAndMissingFiles) {
    // The fuzzing seed, written byte by byte by the sample data generator.
    const std::optional<SpriteSheets> read =
        readSheetCache(kvtest::distDir() + "/fuzzseeds/sheet_cache_fuzz/view.cache",
                       "v2 view size 16 hues 0 0 0 0 0 0 0");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->hexSize(), 16);
    const SpriteImage& base = (*read)[Sheet::Base];
    ASSERT_EQ(base.width(), 4);
    ASSERT_EQ(base.height(), 3);
    std::string opaque;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) opaque += base.isOpaque(x, y) ? '#' : '.';
    EXPECT_EQ(opaque, "#.##.....##.");
    EXPECT_EQ(at(base, 2, 0), 0x336699u);
    EXPECT_EQ(at((*read)[Sheet::WeaponIcon], 1, 0), 0x405060u);
    EXPECT_TRUE((*read)[Sheet::Road].isNull());
    EXPECT_EQ(read->missingFiles(), std::vector<std::string>{"border48.bmp"});
}

TEST(SpriteImageRuns, RunsFromAFileAreTakenOnlyWhenTheyLieInsideTheirRowsInOrder) {
    using Run = SpriteImage::Run;
    QImage pixels(4, 2, QImage::Format_RGB32);
    pixels.fill(0xFF336699u);
    struct Case {
        std::vector<Run> runs;
        std::vector<uint32_t> rows;
        bool taken;
    };
    const Case cases[] = {
        {{{0, 1}, {2, 4}}, {0, 2, 2}, true},
        {{{0, 4}, {1, 3}}, {0, 1, 2}, true},
        {{{0, 1}}, {0, 5, 1}, false},  // a middle entry past the run count (found by fuzzing)
        {{{0, 1}, {2, 4}}, {0, 2, 1}, false},
        {{{2, 4}, {0, 1}}, {0, 2, 2}, false},
        {{{0, 3}, {2, 4}}, {0, 2, 2}, false},
        {{{0, 5}}, {0, 1, 1}, false},
        {{{-1, 2}}, {0, 1, 1}, false},
        {{{1, 1}}, {0, 1, 1}, false},
        {{{0, 1}}, {0, 1}, false},
        {{{0, 1}}, {1, 1, 1}, false},
    };
    for (const Case& c : cases) {
        const SpriteImage sprite = SpriteImage::fromRuns(pixels, c.runs, c.rows);
        ASSERT_EQ(!sprite.isNull(), c.taken) << c.rows[1];
        if (!c.taken) continue;
        QImage target(8, 4, QImage::Format_RGB32);
        target.fill(0);
        DrawSurface surface = DrawSurface::of(target);
        sprite.drawTo(surface, 1, 1, {0, 0, 4, 2}, {0, 0, 8, 4});
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ((target.pixel(x + 1, y + 1) & 0xFFFFFF) != 0, sprite.isOpaque(x, y))
                    << x << "," << y;
    }
}

TEST_F(SpriteSheetsTest, SpecialColourIsGrey) {
    const SpriteSheets sheets = build(32);
    const SpriteImage& t = sheets[Sheet::Territory];
    int greys = 0;
    for (int y = 6 * 32; y < 7 * 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (!t.isOpaque(x, y)) continue;
            const QRgb p = at(t, x, y);
            EXPECT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p));
            ++greys;
        }
    EXPECT_GT(greys, 0);
}

TEST_F(SpriteSheetsTest, LargeUnitIconsFallBackToTheSmallPageCentred) {
    kvtest::TempDir dir;
    kvtest::copySampleData(dir.path());
    std::filesystem::remove(dir.file("munit/unit01_2.bmp"));
    setProgramPath(dir.file("kvornme"));
    const SpriteSheets sheets = build(48);
    const SpriteImage* page = sheets.unitPage(2, 1);
    ASSERT_NE(page, nullptr);
    const Picture small =
        loadPicture("unit01_1.bmp", DataKind::MUnit).recoloured(factionHue(colours_, 3));
    EXPECT_EQ(page->height(), 48);
    EXPECT_EQ(page->width(), small.width() / 32 * 48);
    for (int cell : {0, 3}) {
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) {
                const bool inner = x >= 8 && x < 40 && y >= 8 && y < 40;
                if (!inner) {
                    ASSERT_FALSE(page->isOpaque(48 * cell + x, y));
                } else {
                    const QRgb src = small.image().pixel(32 * cell + x - 8, y - 8) & 0xFFFFFF;
                    if (src != kColourKey) {
                        ASSERT_EQ(at(*page, 48 * cell + x, y), src);
                    }
                }
            }
    }
    EXPECT_EQ(sheets.unitPage(0, 2), nullptr);  // there is no second page
}

TEST_F(SpriteSheetsTest, CustomIconsOfUserWeaponsAreColumnsOfSixFactionCopies) {
    kvtest::TempDir dir;
    kvtest::copySampleData(dir.path());
    QImage icon(32, 32, QImage::Format_RGB32);
    icon.fill(0xFFFF00FFu);
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 24; ++x) icon.setPixel(x, y, 0xFFC03020u);
    ASSERT_TRUE(icon.save(QString::fromStdString(dir.file("unit/twt20001_32.bmp")), "BMP"));
    setProgramPath(dir.file("kvornme"));
    WeaponRecord w;
    w.setId(5001);
    w.setTypeIcon32(20001);
    w.setUnitIcon32(20002);  // no file: not loaded
    ASSERT_TRUE(weapons_.storeUserWeapon(w));
    const SpriteSheets sheets = build(32);
    const SpriteImage* column = sheets.customIcon(IconKind::WeaponType, 20001);
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(QSize(column->width(), column->height()), QSize(32, 6 * 32));
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(at(*column, 16, 32 * f + 16),
                  rotateHue(0xC03020, factionHue(colours_, f + 1)) & 0xFFFFFF);
        EXPECT_FALSE(column->isOpaque(2, 32 * f + 2));
    }
    EXPECT_EQ(sheets.customIcon(IconKind::Unit, 20002), nullptr);
    EXPECT_EQ(sheets.customIcon(IconKind::Unit, 20001), nullptr);
}

TEST_F(SpriteSheetsTest, MissingArtLeavesItsSheetEmptyAndIsListed) {
    kvtest::TempDir dir;
    kvtest::copySampleData(dir.path());
    std::filesystem::remove(dir.file("bmp/border48.bmp"));
    setProgramPath(dir.file("kvornme"));
    const SpriteSheets sheets = build(32);
    EXPECT_TRUE(sheets[Sheet::Border].isNull());
    EXPECT_FALSE(sheets[Sheet::Base].isNull());
    EXPECT_EQ(sheets.missingFiles(), std::vector<std::string>{"border48.bmp"});
    // Drawing from an empty sheet draws nothing.
    QImage target(64, 64, QImage::Format_RGB32);
    target.fill(0xFF123456u);
    DrawSurface surface = DrawSurface::of(target);
    EXPECT_EQ(sheets[Sheet::Border].drawTo(surface, 0, 0, {0, 0, 32, 32}, {0, 0, 64, 64}).width(),
              0);
    EXPECT_EQ(target.pixel(10, 10), 0xFF123456u);
}

TEST(SpriteImage, KeyedCopyByRunsIsClippedOnEverySide) {
    QImage art(8, 2, QImage::Format_RGB32);
    art.fill(0xFFFF00FFu);
    for (int x : {1, 2, 5}) art.setPixel(x, 0, 0xFF000000u | uint32_t(x));
    art.setPixel(7, 1, 0xFF0000AAu);
    const SpriteImage sprite{Picture(art)};
    QImage target(6, 3, QImage::Format_RGB32);
    target.fill(0xFFFFFFFFu);
    DrawSurface s = DrawSurface::of(target);
    // Source from x = 1, drawn at x = -1: only source columns 2.. land, from target x 0.
    const Rect r = sprite.drawTo(s, -1, 0, {1, 0, 8, 2}, {0, 0, 6, 3});
    EXPECT_EQ(r, (Rect{0, 0, 6, 2}));
    EXPECT_EQ(target.pixel(0, 0), 0xFF000002u);  // source x 2
    EXPECT_EQ(target.pixel(1, 0), 0xFFFFFFFFu);  // key: left alone
    EXPECT_EQ(target.pixel(3, 0), 0xFF000005u);
    EXPECT_EQ(target.pixel(5, 1), 0xFF0000AAu);  // source x 7 of the second row
    EXPECT_EQ(target.pixel(0, 2), 0xFFFFFFFFu);
    // Outside the clip nothing is drawn at all.
    EXPECT_EQ(sprite.drawTo(s, 0, 0, {0, 0, 8, 2}, {0, 0, 0, 3}).width(), 0);
    // A 16-bit copy keeps the runs and converts the colours.
    QImage target16(8, 2, QImage::Format_RGB555);
    target16.fill(0);
    DrawSurface s16 = DrawSurface::of(target16);
    sprite.toRgb555().drawTo(s16, 0, 0, {0, 0, 8, 2}, {0, 0, 8, 2});
    EXPECT_EQ(reinterpret_cast<const uint16_t*>(target16.constScanLine(1))[7], toRgb555(0xAA));
    EXPECT_EQ(reinterpret_cast<const uint16_t*>(target16.constScanLine(0))[0], 0);
}

}  // namespace
}  // namespace kv
