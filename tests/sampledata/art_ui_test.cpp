// The bundled map art: file format, sheet sizes by their addressing, a picture for every
// terrain, weapon and mark the data uses, line pieces that meet their neighbours, and
// faction-coloured parts that the hue rotation recolours without turning them transparent,
// into the colour each default faction is named after.
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "document/faction_record.h"
#include "framework/bitmap_block.h"
#include "framework/data_paths.h"
#include "framework/faction_colours.h"
#include "framework/profile.h"
#include "gamedata/terrain.h"
#include "gamedata/weapons.h"
#include "sampledata/art.h"
#include "sampledata/art_bmp.h"
#include "sampledata/art_canvas.h"
#include "sampledata/art_contact.h"
#include "sampledata/terrain_data.h"
#include "sampledata/weapon_data.h"
#include "support/test_paths.h"

namespace kv::sample {
namespace {

constexpr int S = 48;

bool isKey(QRgb p) {
    return (p | 0xFF000000u) == kKey;
}

int inkCount(const QImage& image, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) n += isKey(image.pixel(x, y)) ? 0 : 1;
    }
    return n;
}

QRect cellRect(int column, int row, int size = S) {
    return QRect(column * size, row * size, size, size);
}

// Every pixel of the hex is drawn and nothing outside it.
::testing::AssertionResult coversHex(const QImage& sheet, int column, int row) {
    for (int y = 0; y < S; ++y) {
        for (int x = 0; x < S; ++x) {
            const bool ink = !isKey(sheet.pixel(column * S + x, row * S + y));
            if (ink != insideHex(x, y)) {
                return ::testing::AssertionFailure()
                       << "cell (" << column << ", " << row << ") pixel (" << x << ", " << y
                       << ") is " << (ink ? "drawn outside" : "empty inside") << " the hex";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// Every drawn pixel lies inside the hex.
::testing::AssertionResult insideTheHex(const QImage& sheet, int column, int row) {
    for (int y = 0; y < S; ++y) {
        for (int x = 0; x < S; ++x) {
            if (!isKey(sheet.pixel(column * S + x, row * S + y)) && !insideHex(x, y)) {
                return ::testing::AssertionFailure()
                       << "cell (" << column << ", " << row << ") draws outside its hex at (" << x
                       << ", " << y << ")";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// The art is drawn once for the suite and written to a program folder together with the
// terrain and weapon tables it illustrates.
class Art : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<kvtest::TempDir>();
        ASSERT_EQ(writeTerrainData(dir_->path()), "");
        ASSERT_EQ(writeWeaponData(dir_->path()), "");
        ASSERT_EQ(writeArt(dir_->path()), "");
        files_ = std::make_unique<std::map<std::string, QImage>>();
        for (ArtFile& f : artFiles())
            (*files_)[f.path] = f.image.convertToFormat(QImage::Format_RGB32);
    }
    static void TearDownTestSuite() {
        files_.reset();
        dir_.reset();
    }
    void SetUp() override { setProgramPath(dir_->file("kvornme")); }
    void TearDown() override { setProgramPath(""); }

    static const QImage& picture(const std::string& path) {
        static const QImage none;
        const auto it = files_->find(path);
        return it != files_->end() ? it->second : none;
    }
    static const std::vector<TerrainType>& terrain() {
        static const std::vector<TerrainType> t = parseTerrainTable(terrainDataBytes());
        return t;
    }

    static std::unique_ptr<kvtest::TempDir> dir_;
    static std::unique_ptr<std::map<std::string, QImage>> files_;
};

std::unique_ptr<kvtest::TempDir> Art::dir_;
std::unique_ptr<std::map<std::string, QImage>> Art::files_;

uint32_t le32(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
           static_cast<uint8_t>(b[at + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

uint16_t le16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1])
                                                                   << 8);
}

TEST_F(Art, FilesAreWellFormed24BitBitmapsHoldingThePictures) {
    ASSERT_GT(files_->size(), 20u);
    for (const auto& [path, image] : *files_) {
        SCOPED_TRACE(path);
        const std::string bytes = kvtest::readFile(dir_->file(path));
        ASSERT_GE(bytes.size(), 54u);
        const uint32_t stride = (static_cast<uint32_t>(image.width()) * 3 + 3) / 4 * 4;
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        EXPECT_EQ(le32(bytes, 2), bytes.size());
        EXPECT_EQ(le32(bytes, 10), 54u);
        EXPECT_EQ(le32(bytes, 14), 40u);
        EXPECT_EQ(static_cast<int>(le32(bytes, 18)), image.width());
        EXPECT_EQ(static_cast<int>(le32(bytes, 22)), image.height());  // positive: bottom-up
        EXPECT_EQ(le16(bytes, 26), 1);
        EXPECT_EQ(le16(bytes, 28), 24);
        EXPECT_EQ(le32(bytes, 30), 0u);
        EXPECT_EQ(le32(bytes, 34), stride * static_cast<uint32_t>(image.height()));
        EXPECT_EQ(bytes.size(), 54 + stride * static_cast<size_t>(image.height()));
        // The editor's own reader gives back every pixel, top row first.
        const BitmapBlock block = readBitmapBlock(
            std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
        const std::vector<uint32_t> pixels = decodeBitmapPixels(block);
        ASSERT_EQ(pixels.size(), static_cast<size_t>(image.width()) * image.height());
        bool same = true;
        for (int y = 0; y < image.height() && same; ++y) {
            for (int x = 0; x < image.width() && same; ++x) {
                same = (pixels[static_cast<size_t>(y * image.width() + x)] & 0xFFFFFF) ==
                       (image.pixel(x, y) & 0xFFFFFF);
            }
        }
        EXPECT_TRUE(same);
    }
}

TEST_F(Art, TwoRunsWriteTheSameBytes) {
    // writeArt drew the art once for the folder, the suite once more in memory.
    size_t written = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_->path())) {
        if (entry.path().extension() == ".bmp") ++written;
    }
    EXPECT_EQ(written, files_->size());
    for (const auto& [path, image] : *files_) {
        EXPECT_TRUE(kvtest::readFile(dir_->file(path)) == bmpBytes(image)) << path;
    }
}

TEST_F(Art, SheetsHaveTheSizesTheirAddressingNeeds) {
    struct Size {
        const char* path;
        int width, height;
    };
    const int weapons = static_cast<int>(sampleWeapons().size());
    const Size sizes[] = {
        // 10 columns; 4 rows of pictures 0..39 and their framed copies.
        {"bmp/land48_base.bmp", 10 * S, 8 * S},
        // Plain rows 0..2, faction-coloured rows 3..5.
        {"bmp/land48_build.bmp", 10 * S, 6 * S},
        // Part indices 0..29, framed 3 rows down.
        {"bmp/land48_parts.bmp", 10 * S, 6 * S},
        // 9 pieces: plain, coloured, destroyed plain, destroyed coloured, temporary and framed.
        {"bmp/bridge48.bmp", 9 * S, 6 * S},
        // Pieces 1..41 in rows 0..4, 42..63 in rows 5..9.
        {"bmp/road_48.bmp", 42 * S, 10 * S},
        {"bmp/markhex_48.bmp", 4 * S, S},
        {"bmp/effect_48.bmp", 6 * S, S},
        // Digits 1..10 ten pixels apart; small marks to y 20, large digits and mark to y 44.
        {"bmp/exnum.bmp", 100, 44},
        // 4-pixel dots at (4j, 0) and 5-pixel dots at (5j, 4), j = 0..5.
        {"bmp/maplayer.bmp", 30, 9},
        // Regiments 0..5 sixteen pixels apart; rows 12u + a, u = 0..2, a = 0, 36, 72.
        {"bmp/regmark.bmp", 96, 108},
        {"bmp/ecmcc48.bmp", S, 7 * S},
        {"bmp/border48.bmp", 5 * S, 35 * S},
        {"bmp/unit48.bmp", 42 * S, 10 * S},
        {"munit/unit01_1.bmp", weapons * 32, 32},
        {"munit/unit01_2.bmp", weapons * 48, 48},
        {"bmp/hqc1.bmp", 7, 1},
        {"bmp/hqc2.bmp", 14, 2},
        {"bmp/panel_fig4.bmp", 660, 460},
        {"bmp/buildcnt.bmp", 526, 404},
    };
    for (const Size& s : sizes) {
        const QImage& image = picture(s.path);
        EXPECT_EQ(image.width(), s.width) << s.path;
        EXPECT_EQ(image.height(), s.height) << s.path;
    }
    // The colour strips: one square per overview colour, two colour rows.
    int squares = 0;
    for (const TerrainType& t : terrain()) squares = std::max(squares, t.overviewColour + 1);
    for (int scale : {1, 2}) {
        const QImage& strip = picture(scale == 1 ? "bmp/hq1.bmp" : "bmp/hq2.bmp");
        EXPECT_GE(strip.width(), squares * scale);
        EXPECT_EQ(strip.height(), 2 * scale);
    }
    for (const char* ui : {"bmp/category.bmp", "bmp/panel_btn.bmp", "bmp/info_btn.bmp",
                           "bmp/panel_fig4.bmp", "bmp/buildcnt.bmp"}) {
        EXPECT_TRUE(hasInk(picture(ui))) << ui;
    }
}

TEST_F(Art, EveryTerrainPictureIsAWholeHex) {
    const QImage& base = picture("bmp/land48_base.bmp");
    const QImage& building = picture("bmp/land48_build.bmp");
    for (const TerrainType& t : terrain()) {
        if (t.name[0] == '\0') continue;
        const int n = t.defaultPicture;
        SCOPED_TRACE(n);
        if (static_cast<int>(t.category) <= 10) {
            ASSERT_LT(n, 40);
            EXPECT_TRUE(coversHex(base, n % 10, n / 10));
            EXPECT_TRUE(coversHex(base, n % 10, n / 10 + 4));
        } else {
            // Ports take their picture and the three after it.
            const int count = t.category == TerrainCategory::Port ? 4 : 1;
            for (int k = n; k < n + count; ++k) {
                ASSERT_LT(k, 30);
                EXPECT_TRUE(coversHex(building, k % 10, k / 10));
                EXPECT_TRUE(insideTheHex(building, k % 10, k / 10 + 3));
            }
        }
    }
}

TEST_F(Art, FramedCellsDarkenOnlyTheBorderOfThePlainOnes) {
    const QImage& base = picture("bmp/land48_base.bmp");
    for (int n : {1, 5, 29}) {
        int changed = 0;
        for (int y = 0; y < S; ++y) {
            for (int x = 0; x < S; ++x) {
                const QRgb plain =
                    base.pixel(cellRect(n % 10, n / 10).x() + x, cellRect(n % 10, n / 10).y() + y);
                const QRgb frame = base.pixel(cellRect(n % 10, n / 10 + 4).x() + x,
                                              cellRect(n % 10, n / 10 + 4).y() + y);
                if (plain == frame) continue;
                ++changed;
                EXPECT_LT(hexInset({x + 0.5, y + 0.5}), 2.0) << n << " at " << x << ", " << y;
                EXPECT_LT(qGray(frame), qGray(plain));
            }
        }
        EXPECT_GT(changed, 100) << n;
    }
}

TEST_F(Art, JoinedPiecesAndMassifsAreWholeHexes) {
    const QImage& parts = picture("bmp/land48_parts.bmp");
    // 2000 + g + j for hills, mountains and snow mountains; 1000..1013 at cell n - 991.
    for (int n = 2000; n <= 2008; ++n) {
        EXPECT_TRUE(coversHex(parts, (n - 2000) % 10, (n - 2000) / 10));
        EXPECT_TRUE(coversHex(parts, (n - 2000) % 10, (n - 2000) / 10 + 3));
    }
    for (int n = 1000; n <= 1013; ++n) {
        EXPECT_TRUE(coversHex(parts, (n - 991) % 10, (n - 991) / 10));
        EXPECT_TRUE(coversHex(parts, (n - 991) % 10, (n - 991) / 10 + 3));
    }
    // A joined piece is its terrain's picture with something added.
    const QImage& base = picture("bmp/land48_base.bmp");
    EXPECT_NE(parts.copy(cellRect(3, 0)), base.copy(cellRect(5, 0)));
    EXPECT_NE(parts.copy(cellRect(0, 0)), parts.copy(cellRect(1, 0)));
}

TEST_F(Art, FacilitiesHaveFactionColouredParts) {
    const QImage& building = picture("bmp/land48_build.bmp");
    for (const TerrainType& t : terrain()) {
        if (static_cast<int>(t.category) <= 11 || t.category == TerrainCategory::Bridge) continue;
        const int n = t.defaultPicture;
        const QRect colour = cellRect(n % 10, n / 10 + 3);
        int ink = 0, greys = 0;
        for (int y = colour.top(); y <= colour.bottom(); ++y) {
            for (int x = colour.left(); x <= colour.right(); ++x) {
                const QRgb p = building.pixel(x, y);
                if (isKey(p)) continue;
                ++ink;
                greys += qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) ? 1 : 0;
            }
        }
        EXPECT_GE(ink, 20) << n;
        // Greys keep their colour under the rotation: the parts must be coloured.
        EXPECT_LT(greys * 10, ink) << n;
    }
}

// The parts that are recoloured per faction: the whole weapon-type sheet, borders,
// territories, the coloured bridge rows, the unit icon pages and the buildings' colour rows.
std::vector<QImage> factionColoured(const std::function<const QImage&(const std::string&)>& get) {
    return {get("bmp/unit48.bmp"),
            get("bmp/border48.bmp"),
            get("bmp/ecmcc48.bmp"),
            get("bmp/bridge48.bmp").copy(0, S, 9 * S, S),
            get("bmp/bridge48.bmp").copy(0, 3 * S, 9 * S, S),
            get("bmp/land48_build.bmp").copy(0, 3 * S, 10 * S, 3 * S),
            get("munit/unit01_1.bmp"),
            get("munit/unit01_2.bmp")};
}

TEST_F(Art, RecolouringNeverTurnsAPixelIntoTheKey) {
    const auto parts =
        factionColoured([](const std::string& p) -> const QImage& { return picture(p); });
    const FactionColourTable defaults;
    for (size_t i = 0; i < parts.size(); ++i) {
        const QImage& image = parts[i];
        std::map<QRgb, bool> seen;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y) & 0xFFFFFF;
                if (p == (kKey & 0xFFFFFF) || seen.count(p)) continue;
                seen[p] = true;
                for (int angle = 0; angle <= 360; angle += 5) {
                    ASSERT_NE(rotateHue(p, angle) & 0xFFFFFF, kColourKey)
                        << "part " << i << " colour " << std::hex << p << std::dec << " angle "
                        << angle;
                }
            }
        }
    }
}

// The hue range (degrees, possibly wrapping past 360) of a faction's colour word.
struct NamedHue {
    std::string_view name;
    int from, to;
};
constexpr NamedHue kNamedHues[] = {{"BLUE", 205, 255}, {"RED", 335, 15},     {"GREEN", 95, 145},
                                   {"YELLOW", 48, 68}, {"PURPLE", 265, 300}, {"CYAN", 175, 200}};

bool inRange(int hue, const NamedHue& n) {
    return n.from <= n.to ? hue >= n.from && hue <= n.to : hue >= n.from || hue <= n.to;
}

TEST_F(Art, EachDefaultFactionShowsTheColourItIsNamedAfter) {
    // Nearly every saturated pixel of the faction-coloured parts, rotated by a faction's
    // default angle, takes the hue of the faction's colour word.
    const auto parts =
        factionColoured([](const std::string& p) -> const QImage& { return picture(p); });
    const FactionColourTable defaults;
    for (int f = 0; f < 6; ++f) {
        const NamedHue& named = kNamedHues[f];
        ASSERT_EQ(factionColourName(f), named.name);
        const int angle = defaults.hueAngle(FactionColourTable::factionEntry(f));
        for (size_t i = 0; i < parts.size(); ++i) {
            const QImage& image = parts[i];
            int saturated = 0, off = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb p = image.pixel(x, y);
                    if (isKey(p)) continue;
                    const QColor c = QColor::fromRgb(rotateHue(p, angle));
                    if (c.hsvSaturation() < 96 || c.value() < 64) continue;
                    ++saturated;
                    off += inRange(c.hsvHue(), named) ? 0 : 1;
                }
            }
            EXPECT_GT(saturated, 0) << i;
            EXPECT_LT(off * 50, saturated)
                << named.name << " part " << i << ": " << off << " of " << saturated;
        }
        // The overview's owner squares too.
        const QColor square = QColor::fromRgb(picture("bmp/hqc1.bmp").pixel(f, 0));
        EXPECT_TRUE(inRange(square.hsvHue(), named)) << named.name << " " << square.hsvHue();
    }
}

// Ink near the midpoint of `side`, a little inside the hex.
bool inkAtSide(const QImage& sheet, const QRect& cell, int side) {
    const QPointF mid = edgeMidpoint(side);
    const QPointF in = (kCentre - mid) / std::hypot(kCentre.x() - mid.x(), kCentre.y() - mid.y());
    const QPointF q = mid + in * 2.5;
    return !isKey(
        sheet.pixel(cell.x() + static_cast<int>(q.x()), cell.y() + static_cast<int>(q.y())));
}

TEST_F(Art, LinePiecesReachExactlyTheirLinkedSides) {
    const QImage& road = picture("bmp/road_48.bmp");
    for (int kind = 0; kind < 5; ++kind) {
        for (int k = 1; k < 64; ++k) {
            const QRect cell = k < 42 ? cellRect(k, kind) : cellRect(k - 42, kind + 5);
            EXPECT_TRUE(insideTheHex(road, cell.x() / S, cell.y() / S));
            for (int side = 0; side < 6; ++side) {
                EXPECT_EQ(inkAtSide(road, cell, side), ((k >> side) & 1) != 0)
                    << "kind " << kind << " piece " << k << " side " << side;
            }
        }
    }
    // Cells the view never addresses stay empty: piece 0 and rows 5..9 past piece 63.
    for (int kind = 0; kind < 5; ++kind) {
        EXPECT_EQ(inkCount(road, cellRect(0, kind)), 0);
        EXPECT_EQ(inkCount(road, cellRect(22, kind + 5)), 0);
    }
}

// The extent of ink along side `side` of a hex at `origin`, sampled `depth` pixels inside it;
// as shares 0..1 of the side from its first corner, or {-1, -1} without ink.
std::pair<double, double> inkAlongSide(const QImage& canvas, QPoint origin, int side,
                                       double depth) {
    QPointF a, b;
    sideCorners(side, a, b);
    const QPointF mid = (a + b) / 2;
    const QPointF in = (kCentre - mid) / std::hypot(kCentre.x() - mid.x(), kCentre.y() - mid.y());
    double first = -1, last = -1;
    for (int i = 0; i <= 400; ++i) {
        const double t = i / 400.0;
        const QPointF q = origin + a + (b - a) * t + in * depth;
        const int x = static_cast<int>(std::floor(q.x())), y = static_cast<int>(std::floor(q.y()));
        if (!insideHex(x - origin.x(), y - origin.y())) continue;
        if (isKey(canvas.pixel(x, y))) continue;
        if (first < 0) first = t;
        last = t;
    }
    return {first, last};
}

TEST_F(Art, LinePiecesMeetTheirNeighboursAcrossEverySide) {
    const QImage& road = picture("bmp/road_48.bmp");
    for (int kind = 0; kind < 5; ++kind) {
        for (int side = 0; side < 6; ++side) {
            // This hex links to its neighbour on `side`, the neighbour links back.
            const int mine = 1 << side, theirs = 1 << ((side + 3) % 6);
            QImage canvas(3 * S, 3 * S, QImage::Format_RGB32);
            canvas.fill(kKey);
            const QPoint here(S, S);
            const QPoint there = here + neighbourOffset(side).toPoint();
            for (const auto& [at, k] : {std::pair{here, mine}, std::pair{there, theirs}}) {
                const QRect cell = k < 42 ? cellRect(k, kind) : cellRect(k - 42, kind + 5);
                for (int y = 0; y < S; ++y) {
                    for (int x = 0; x < S; ++x) {
                        const QRgb p = road.pixel(cell.x() + x, cell.y() + y);
                        if (!isKey(p)) canvas.setPixel(at.x() + x, at.y() + y, p);
                    }
                }
            }
            const auto [a0, a1] = inkAlongSide(canvas, here, side, 1.2);
            // The same side seen from the neighbour runs the other way round.
            const auto [b0, b1] = inkAlongSide(canvas, there, (side + 3) % 6, 1.2);
            ASSERT_GE(a0, 0) << kind << " " << side;
            ASSERT_GE(b0, 0) << kind << " " << side;
            const double length = side == 0 || side == 3 ? 24 : std::hypot(24, 12);
            const double tolerance = 1.6 / length;
            EXPECT_NEAR(a0, 1 - b1, tolerance) << "kind " << kind << " side " << side;
            EXPECT_NEAR(a1, 1 - b0, tolerance) << "kind " << kind << " side " << side;
            // Further in, the line goes on in the same direction on both sides of the edge:
            // its centre is as far along the side from either hex (no kink at the edge).
            const auto [c0, c1] = inkAlongSide(canvas, here, side, 5);
            const auto [d0, d1] = inkAlongSide(canvas, there, (side + 3) % 6, 5);
            EXPECT_NEAR((c0 + c1) / 2, (d0 + d1) / 2, tolerance)
                << "kind " << kind << " side " << side;
        }
    }
}

TEST_F(Art, BridgePiecesRunBetweenTheirTwoSides) {
    const QImage& bridge = picture("bmp/bridge48.bmp");
    for (int piece = 0; piece < kBridgePieces; ++piece) {
        int a, b;
        bridgePieceSides(piece, a, b);
        for (int row : {0, 1, 4, 5}) {
            const QRect cell = cellRect(piece, row);
            EXPECT_TRUE(insideTheHex(bridge, piece, row));
            for (int side = 0; side < 6; ++side) {
                EXPECT_EQ(inkAtSide(bridge, cell, side), side == a || side == b)
                    << "piece " << piece << " row " << row << " side " << side;
            }
        }
        // Destroyed pieces are drawn, and broken: they differ from the whole ones.
        for (int row : {2, 3}) {
            EXPECT_GT(inkCount(bridge, cellRect(piece, row)), 100);
            EXPECT_NE(bridge.copy(cellRect(piece, row)), bridge.copy(cellRect(piece, row - 2)));
        }
    }
}

TEST_F(Art, MarksDigitsLayerDotsAndRegimentMarksArePresent) {
    const QImage& marks = picture("bmp/markhex_48.bmp");
    for (int i = 0; i < 4; ++i) EXPECT_GT(inkCount(marks, cellRect(i, 0)), 20) << i;
    // The outside-the-map hex covers its hex.
    EXPECT_TRUE(coversHex(marks, 2, 0));
    EXPECT_GT(inkCount(picture("bmp/effect_48.bmp"), cellRect(5, 0)), 100);
    const QImage& digits = picture("bmp/exnum.bmp");
    for (int n = 1; n <= 10; ++n) {
        const int x = (n - 1) * 10;
        EXPECT_GT(inkCount(digits, QRect(x, 0, 10, 10)), 10) << n;
        EXPECT_GT(inkCount(digits, QRect(x, 20, 10, 12)), 15) << n;
        // Each digit differs from the one before.
        if (n > 1) {
            EXPECT_NE(digits.copy(x, 0, 10, 10), digits.copy(x - 10, 0, 10, 10));
            EXPECT_NE(digits.copy(x, 20, 10, 12), digits.copy(x - 10, 20, 10, 12));
        }
    }
    EXPECT_GT(inkCount(digits, QRect(0, 10, 10, 10)), 10);
    EXPECT_GT(inkCount(digits, QRect(0, 32, 10, 12)), 10);
    const QImage& layers = picture("bmp/maplayer.bmp");
    for (int j = 0; j < 6; ++j) {
        EXPECT_GE(inkCount(layers, QRect(4 * j, 0, 4, 4)), 12) << j;
        EXPECT_GE(inkCount(layers, QRect(5 * j, 4, 5, 5)), 21) << j;
    }
    const QImage& regiments = picture("bmp/regmark.bmp");
    for (int a : {0, 36, 72}) {
        for (int u = 0; u < 3; ++u) {
            for (int t = 0; t < 6; ++t) {
                EXPECT_GT(inkCount(regiments, QRect(16 * t, 12 * u + a, 16, 12)), 60)
                    << a << " " << u << " " << t;
            }
        }
    }
}

TEST_F(Art, BorderlinesLieAlongTheSidesTheViewDrawsThemFor) {
    const QImage& border = picture("bmp/border48.bmp");
    const QImage& territory = picture("bmp/ecmcc48.bmp");
    for (int t = 1; t <= 7; ++t) {
        EXPECT_GT(inkCount(territory, cellRect(0, t - 1)), 200) << t;
        // (column, row) of side i: sides 0..4 at column i, row 5t-4 crossable and 5t-2 not;
        // side 5 at row 5t-1, column 1 crossable and 3 not.
        for (int crossable = 0; crossable < 2; ++crossable) {
            for (int side = 0; side < 6; ++side) {
                const int column = side < 5 ? side : crossable ? 1 : 3;
                const int row = side < 5 ? (crossable ? 5 * t - 4 : 5 * t - 2) : 5 * t - 1;
                const QRect cell = cellRect(column, row);
                double sx = 0, sy = 0;
                int n = 0;
                for (int y = 0; y < S; ++y) {
                    for (int x = 0; x < S; ++x) {
                        if (isKey(border.pixel(cell.x() + x, cell.y() + y))) continue;
                        sx += x + 0.5;
                        sy += y + 0.5;
                        ++n;
                    }
                }
                ASSERT_GT(n, 20) << t << " " << side << " " << crossable;
                // The ink's centre lies nearest the midpoint of its own side.
                const QPointF centre(sx / n, sy / n);
                int nearest = -1;
                double best = 1e9;
                for (int s = 0; s < 6; ++s) {
                    const QPointF d = centre - edgeMidpoint(s);
                    const double dist = std::hypot(d.x(), d.y());
                    if (dist < best) best = dist, nearest = s;
                }
                EXPECT_EQ(nearest, side) << "colour " << t << (crossable ? " crossable" : "");
                EXPECT_TRUE(insideTheHex(border, column, row));
            }
        }
    }
}

TEST_F(Art, EveryWeaponTypeHasAnIconInEveryFactionBlock) {
    const QImage& icons = picture("bmp/unit48.bmp");
    for (int o = 0; o < WeaponData::kWeaponPictureCount; ++o) {
        const QImage first = icons.copy(cellRect(o / 10, o % 10));
        EXPECT_GT(inkCount(icons, cellRect(o / 10, o % 10)), 400) << o;
        for (int f = 1; f < 6; ++f)
            EXPECT_EQ(icons.copy(cellRect(o / 10 + 7 * f, o % 10)), first) << o;
    }
    // Towed forms have pictures of their own.
    for (const auto& [type, towed] : WeaponData::kTowedPictures) {
        EXPECT_NE(icons.copy(cellRect(towed / 10, towed % 10)),
                  icons.copy(cellRect(type / 10, type % 10)));
    }
    // Distinct types look different.
    for (int o = 1; o < WeaponData::kWeaponPictureCount; ++o) {
        if (o == 18) continue;  // shares its name, and nearly its picture, with 17
        EXPECT_NE(icons.copy(cellRect(o / 10, o % 10)),
                  icons.copy(cellRect((o - 1) / 10, (o - 1) % 10)))
            << o;
    }
}

TEST_F(Art, EveryWeaponHasItsUnitIconsTypeIconAndUnitPicture) {
    WeaponData data;
    data.loadArmaments();
    data.loadWeapons();
    ASSERT_EQ(data.weapons().size(), sampleWeapons().size());
    const QImage& icons = picture("bmp/unit48.bmp");
    for (const WeaponRecord& w : data.weapons()) {
        SCOPED_TRACE(w.id());
        for (int size : {32, 48}) {
            const int m = w.unitIcon(size);
            ASSERT_LT(m, 20000);
            char name[32];
            std::snprintf(name, sizeof name, "munit/unit%02d_%d.bmp", m / 100, size == 32 ? 1 : 2);
            const QImage& page = picture(name);
            ASSERT_FALSE(page.isNull()) << name;
            const QRect cell = cellRect(m % 100 - 1, 0, size);
            ASSERT_LE(cell.right(), page.width() - 1);
            EXPECT_GT(inkCount(page, cell), size * size / 5);
        }
        for (int size : {16, 32, 48}) {
            const int o = w.typeIcon(size);
            ASSERT_LT(o, WeaponData::kWeaponPictureCount);
            EXPECT_GT(inkCount(icons, cellRect(o / 10, o % 10)), 400);
        }
        int kind = -1;
        const std::string file = unitPictureFile(w.id(), w.pictureNumber(), kind);
        EXPECT_TRUE(std::filesystem::exists(dataPath(file, DataKind::Unit))) << file;
        EXPECT_EQ(kind, 0);
        const QImage shown(QString::fromStdString(dataPath(file, DataKind::Unit)));
        EXPECT_EQ(shown.size(), QSize(kUnitPictureWidth, kUnitPictureHeight));
    }
}

TEST_F(Art, OwnerColoursAreTheSixFactionsAndAGreyForNoOwner) {
    const QImage& owners = picture("bmp/hqc2.bmp");
    for (int f = 0; f < 6; ++f) {
        const QColor c = QColor::fromRgb(owners.pixel(2 * f, 0));
        EXPECT_GT(c.hsvSaturation(), 100) << f;
        for (int g = 0; g < f; ++g) EXPECT_NE(owners.pixel(2 * f, 1), owners.pixel(2 * g, 1));
        EXPECT_EQ(picture("bmp/hqc1.bmp").pixel(f, 0), owners.pixel(2 * f + 1, 1));
    }
    const QRgb none = owners.pixel(12, 0);
    EXPECT_TRUE(qRed(none) == qGreen(none) && qGreen(none) == qBlue(none));
}

TEST_F(Art, OverviewSquaresFollowTheTerrainsOwnColours) {
    const QImage& strip = picture("bmp/hq1.bmp");
    const QImage& base = picture("bmp/land48_base.bmp");
    // Sea is blue, forest green, snow light, in colour row 0.
    auto square = [&](int terrainIndex) {
        return QColor::fromRgb(strip.pixel(terrain()[terrainIndex].overviewColour, 0));
    };
    EXPECT_GT(square(29).blue(), square(29).red() + 60);
    EXPECT_GT(square(2).green(), square(2).red() + 20);
    EXPECT_GT(square(17).lightness(), 200);
    // A river shows its water, not the ground its picture runs through.
    EXPECT_GT(square(14).blue(), square(14).green() + 40);
    // Row 1 is a different scheme.
    int differ = 0;
    for (int i = 0; i < 31; ++i) differ += strip.pixel(i, 0) != strip.pixel(i, 1) ? 1 : 0;
    EXPECT_GT(differ, 25);
    (void)base;
}

TEST_F(Art, ScaledCellsStillTileWithoutGaps) {
    // Plain land placed the way the map view places hexes, at 32 and 16 pixels, leaves no
    // transparent pixel inside the covered area.
    const QImage& base = picture("bmp/land48_base.bmp");
    for (int size : {32, 16}) {
        const QImage cell = shrinkKeyed(base.copy(cellRect(1, 0)), size);
        QImage canvas(6 * size, 6 * size, QImage::Format_RGB32);
        canvas.fill(kKey);
        for (int row = 0; row < 11; ++row) {
            for (int col = 0; col < 8; ++col) {
                const int x = col * size + (size / 2) * (row & 1) - size / 2;
                const int y = row * (size * 3 / 4) - size / 2;
                for (int cy = 0; cy < size; ++cy) {
                    for (int cx = 0; cx < size; ++cx) {
                        const QRgb p = cell.pixel(cx, cy);
                        const int px = x + cx, py = y + cy;
                        if (isKey(p) || px < 0 || py < 0 || px >= canvas.width() ||
                            py >= canvas.height())
                            continue;
                        canvas.setPixel(px, py, p);
                    }
                }
            }
        }
        EXPECT_EQ(inkCount(canvas, canvas.rect()), canvas.width() * canvas.height()) << size;
    }
}

}  // namespace
}  // namespace kv::sample
