// The map renderer: what one edit redraws, scrolling by one row, the 50-rectangle rule of
// the present, the hex frame, the sheet of every terrain category, temporary bridges, labels
// kept inside the map and in their faction's colour, the three drawing modes with the
// underlay, and hostile maps.
#include <QColor>

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "framework/cp932.h"
#include "render_fixture.h"

namespace kv {
namespace {

using kvtest::RenderFixture;

std::string cp932(const char* utf8) {
    return encodeCp932(utf8).value_or("");
}

// Rectangles where two images differ, as one bounding box per pixel row band is enough
// for these tests: every differing pixel is checked against `allowed`.
template <class Allowed>
bool differencesOnlyWhere(const QImage& a, const QImage& b, int w, int h, Allowed allowed) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && !allowed(x, y)) return false;
    return true;
}

bool inside(const Rect& outer, const Rect& r) {
    return r.left >= outer.left && r.top >= outer.top && r.right <= outer.right &&
           r.bottom <= outer.bottom;
}

using MapRendering = RenderFixture;

TEST_F(MapRendering, OneHexEditDrawsOnlyThatHexAndItsLabelRow) {
    ASSERT_TRUE(doc().setLabel(6, 6, cp932("ミルザ川の渡し"), 0, 0));
    ASSERT_TRUE(doc().setLabel(4, 9, cp932("ベルク"), 0, 0));
    auto r = renderer(32);
    r->drawMap();
    r->present();
    const QImage before = r->mapImage().copy();

    std::vector<HexPos> log;
    r->setDrawLog(&log);
    cell(7, 6).terrain = kvtest::kForest;
    cell(7, 6).picture = kvtest::kForest;
    r->redrawHex(7, 6);

    EXPECT_EQ(log, (std::vector<HexPos>{{7, 6}}));
    const PixelPos p = r->hexToPixel(7, 6);
    const Rect hex{p.x, p.y, p.x + 32, p.y + 32};
    const Rect labelBand{0, p.y + 16 - 8, 640, p.y + 16 + 8};
    for (const Rect& d : r->dirtyRects())
        EXPECT_TRUE(inside(hex, d) || inside(labelBand, d))
            << d.left << "," << d.top << " " << d.right << "," << d.bottom;
    // Only the hex changed; the label over it was put back.
    EXPECT_TRUE(differencesOnlyWhere(before, r->mapImage(), 640, 480,
                                     [&](int x, int y) { return hex.contains(x, y); }));
    const QImage after = r->mapImage();
    int labelPixelsKept = 0;
    for (int y = labelBand.top; y < labelBand.bottom; ++y)
        for (int x = hex.left; x < hex.right; ++x)
            if (before.pixel(x, y) == 0xFFFFFFFFu)
                labelPixelsKept += after.pixel(x, y) == 0xFFFFFFFFu;
    EXPECT_GT(labelPixelsKept, 0);
}

TEST_F(MapRendering, ScrollingByOneRowShiftsThePictureAndDrawsOnlyNewHexes) {
    ASSERT_TRUE(doc().setLabel(5, 5, cp932("アルデナ"), 0, 0));
    for (int row = 0; row < 64; row += 3) cell(row % 11, row).terrain = kvtest::kForest;
    for (int row = 0; row < 64; row += 3) cell(row % 11, row).picture = kvtest::kForest;
    auto r = renderer(32);
    r->drawMap();
    const QImage before = r->mapImage().copy();

    std::vector<HexPos> log;
    r->setDrawLog(&log);
    r->setOrigin({0, 1});
    r->drawMap();
    // Every hex drawn is new or cut by the client edge; no whole hex seen before is drawn.
    auto whollyInside = [](PixelPos p) {
        return p.x >= 0 && p.y >= 0 && p.x + 32 <= 640 && p.y + 32 <= 480;
    };
    const HexPixels g(32);
    for (const HexPos& h : log) {
        const bool wasWhole = whollyInside(g.hexToPixel(h, {0, 0}));
        const bool isWhole = whollyInside(g.hexToPixel(h, {0, 1}));
        EXPECT_FALSE(wasWhole && isWhole) << h.col << "," << h.row;
    }
    EXPECT_FALSE(log.empty());
    // The rest moved up by one row pitch without moving sideways.
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x)
            ASSERT_EQ(r->mapImage().pixel(x, y), before.pixel(x, y + 24)) << x << "," << y;
    EXPECT_TRUE(r->present().whole);
}

TEST_F(MapRendering, ScrollingAnyWayGivesThePictureOfAFreshDraw) {
    // The picture is moved in place; rows and pixels must be taken in the right order for
    // every direction, or parts of it are smeared.
    for (int row = 0; row < 64; ++row)
        for (int col = (row * 7) % 5; col < 64; col += 5) {
            cell(col, row).terrain = kvtest::kForest;
            cell(col, row).picture = kvtest::kForest;
        }
    ASSERT_TRUE(doc().setLabel(8, 9, cp932("アルデナ"), 0, 0));
    for (int dr = -2; dr <= 2; dr += 2)
        for (int dc = -3; dc <= 3; dc += 3) {
            if (dr == 0 && dc == 0) continue;
            auto moved = renderer(32);
            moved->setOrigin({6, 8});
            moved->drawMap();
            moved->setOrigin({6 + dc, 8 + dr});
            moved->drawMap();
            auto fresh = renderer(32);
            fresh->setOrigin({6 + dc, 8 + dr});
            fresh->drawMap();
            EXPECT_EQ(moved->mapImage().copy(0, 0, 640, 480),
                      fresh->mapImage().copy(0, 0, 640, 480))
                << dc << "," << dr;
        }
}

TEST_F(MapRendering, FiftyChangedRectanglesComposeTheWholeScreen) {
    auto r = renderer(32);
    r->drawMap();
    EXPECT_TRUE(r->present().whole);  // the first present after creation
    for (int i = 0; i < 49; ++i) r->redrawHex(i % 15, 1 + i / 15);
    ASSERT_EQ(r->dirtyRects().size(), 49u);
    const PresentResult some = r->present();
    EXPECT_FALSE(some.whole);
    EXPECT_EQ(some.rects.size(), 49u);
    EXPECT_EQ(r->screenImage().copy(0, 0, 640, 480), r->mapImage().copy(0, 0, 640, 480));
    for (int i = 0; i < 50; ++i) r->redrawHex(i % 15, 1 + i / 15);
    EXPECT_TRUE(r->present().whole);
}

TEST_F(MapRendering, HexFrameComesFromTheFramedRowsWhileBuildingsAndRoadsStay) {
    TerrainBrush city;
    city.valid = 1;
    city.terrainId = kvtest::kMediumCity;
    city.picture = kvtest::kMediumCityPicture;
    city.owner = 2;
    doc().setTerrain(4, 4, city);
    cell(7, 5).roadLinks = 1 << 0 | 1 << 3;  // west to east
    auto r = renderer(32);
    r->drawMap();
    const QImage plain = r->mapImage().copy();
    EXPECT_TRUE(showsCell(*r, Sheet::Base, kvtest::kPlain, 0, 2, 2));
    EXPECT_TRUE(showsCell(*r, Sheet::Building, kvtest::kMediumCityPicture, 3 * 2, 4, 4));
    EXPECT_TRUE(showsCell(*r, Sheet::Road, 9, 0, 7, 5));

    doc().viewSettings.showHexFrame = 1;
    doc().viewSettings.redrawGrid.markAllDirty();
    r->drawMap();
    EXPECT_TRUE(showsCell(*r, Sheet::Base, kvtest::kPlain, 4, 2, 2));
    EXPECT_NE(part(plain, 64, 48, 32, 32), part(r->mapImage(), 64, 48, 32, 32));
    // The building (in its owner's colour block) and the road piece stay as they were.
    EXPECT_TRUE(showsCell(*r, Sheet::Building, kvtest::kMediumCityPicture, 3 * 2, 4, 4));
    EXPECT_TRUE(showsCell(*r, Sheet::Road, 9, 0, 7, 5));
}

TEST_F(MapRendering, EveryTerrainCategoryDrawsFromItsOwnSheet) {
    // One extra terrain type per category, all showing picture 5, which is mountains on the
    // base sheet and an airfield on the building sheet. Categories up to 10 are ground; from
    // 11 (市街地) on they are built and come in their owner's colour block; bridges stand on
    // the bridge ground.
    std::vector<TerrainType> types = doc().gameDatabase.terrainTypes();
    const int first = static_cast<int>(types.size());
    for (int c = 0; c < kTerrainCategoryCount; ++c) {
        TerrainType t = types[kvtest::kPlain];
        t.category = static_cast<TerrainCategory>(c);
        t.defaultPicture = 5;
        types.push_back(t);
    }
    doc().gameDatabase.setTerrainTypes(types);
    const int owner = 2;
    for (int c = 0; c < kTerrainCategoryCount; ++c) {
        HexCell& h = cell(c % 10, 2 * (c / 10) + 1);
        h.terrain = static_cast<uint8_t>(first + c);
        h.picture = 5;
        h.owner = owner;
        h.bridgePiece = 1;
    }
    for (int size : {16, 32, 48}) {
        auto r = renderer(size);
        r->drawMap();
        for (int c = 0; c < kTerrainCategoryCount; ++c) {
            const int col = c % 10, row = 2 * (c / 10) + 1;
            const bool built = c >= 11, bridge = c == 20;
            EXPECT_EQ(showsCell(*r, Sheet::Base, 5, 0, col, row), !built)
                << "category " << c << " size " << size;
            EXPECT_EQ(showsCell(*r, Sheet::Building, 5, 3 * owner, col, row), built && !bridge)
                << "category " << c << " size " << size;
            EXPECT_EQ(showsCell(*r, Sheet::Bridge, 0, owner, col, row), bridge)
                << "category " << c << " size " << size;
        }
    }
}

// The parts sheet holds the nine joined pictures first and then the members of the mega
// pieces, ten to a row; a hex of either kind draws exactly its own cell.
TEST_F(MapRendering, JoinedAndMegaPiecesDrawTheirOwnPartsCell) {
    const struct {
        int picture, partCol, partRow;
    } pieces[] = {{2000, 0, 0}, {2004, 4, 0}, {2008, 8, 0}, {1000, 9, 0}, {1013, 2, 2}};
    for (size_t i = 0; i < std::size(pieces); ++i)
        cell(2 * int(i), 1).picture = uint16_t(pieces[i].picture);
    auto r = renderer(32);
    r->drawMap();
    for (size_t i = 0; i < std::size(pieces); ++i)
        for (size_t j = 0; j < std::size(pieces); ++j)
            EXPECT_EQ(
                showsCell(*r, Sheet::Parts, pieces[j].partCol, pieces[j].partRow, 2 * int(i), 1),
                i == j)
                << pieces[i].picture << " against the cell of " << pieces[j].picture;
}

TEST_F(MapRendering, TemporaryBridgeStaysOnTopOfTheRiver) {
    cell(5, 5).river = 1 << 0 | 1 << 3;  // river piece 9 from west to east
    cell(5, 5).tempBridge = 1;           // bridge piece 0, west to east
    auto r = renderer(32);
    r->drawMap();
    EXPECT_TRUE(showsCell(*r, Sheet::TempBridge, 0, 0, 5, 5));
    // The river is there where the bridge leaves it visible.
    const SpriteImage& road = r->sheets()[Sheet::Road];
    const SpriteImage& bridge = r->sheets()[Sheet::TempBridge];
    const PixelPos p = r->hexToPixel(5, 5);
    int riverShown = 0;
    for (int dy = 0; dy < 32; ++dy)
        for (int dx = 0; dx < 32; ++dx)
            if (road.isOpaque(9 * 32 + dx, 32 + dy) && !bridge.isOpaque(dx, dy))
                riverShown += (r->mapImage().pixel(p.x + dx, p.y + dy) & 0xFFFFFF) ==
                              (road.pixels().pixel(9 * 32 + dx, 32 + dy) & 0xFFFFFF);
    EXPECT_GT(riverShown, 0);
}

TEST_F(MapRendering, TroopIconCarriesItsUnitCountLayerDotAndRegimentMark) {
    // Unit 2 of regiment 1 of division 1: slot 66 + 6 + 2. Five units, flag bit 2, gathered.
    const int slot = 74;
    TroopRecord t = troop(kvtest::kTank, 3, 3);
    for (size_t u = 0; u < 5; ++u) t.bytes[90 + u] = 10;
    t.setFlags(kTroopBit2 | kTroopGathered);
    putTroop(1, slot, t);
    doc().rebuildTroopStacks();
    auto r = renderer(48);
    r->drawMap();
    const SpriteSheets& s = r->sheets();
    const PixelPos p = r->hexToPixel(3, 3);
    // Unit icon 120: cell 19 of page 1 in faction 1's colour.
    ASSERT_NE(s.unitPage(1, 1), nullptr);
    EXPECT_TRUE(showsPart(*r, *s.unitPage(1, 1), {19 * 48, 0, 20 * 48, 48}, p.x, p.y, 0.8));
    EXPECT_FALSE(showsPart(*r, *s.unitPage(0, 1), {19 * 48, 0, 20 * 48, 48}, p.x, p.y, 0.8));
    EXPECT_TRUE(showsPart(*r, s[Sheet::Digit], {40, 20, 50, 32}, p.x, p.y + 24));     // 5
    EXPECT_TRUE(showsPart(*r, s[Sheet::Digit], {0, 32, 10, 44}, p.x + 19, p.y + 2));  // mark
    // With the stacking rule the dot is the stack position: 1 for a ground troop.
    EXPECT_TRUE(showsPart(*r, s[Sheet::LayerMark], {5, 4, 10, 9}, p.x + 36, p.y + 25));
    // The mark reaches into the next row's caps, which are drawn after it.
    EXPECT_TRUE(showsPart(*r, s[Sheet::RegimentMark], {16, 12, 32, 24}, p.x + 16, p.y + 36, 0.8));
    // A member out of the regiment: the others show the deployed member's mark.
    TroopRecord other = troop(kvtest::kTank, 9, 9);
    putTroop(1, slot + 1, other);
    doc().rebuildTroopStacks();
    doc().viewSettings.redrawGrid.markAllDirty();
    r->drawMap();
    EXPECT_TRUE(showsPart(*r, s[Sheet::RegimentMark], {16, 84, 32, 96}, p.x + 16, p.y + 36, 0.8));
    // At the smallest size only the weapon-type icon (type 19) is drawn.
    auto small = renderer(16);
    small->drawMap();
    const PixelPos q = small->hexToPixel(3, 3);
    // Above the next row's caps the icon is whole.
    EXPECT_TRUE(showsPart(*small, small->sheets()[Sheet::WeaponIcon],
                          {(1 + 7) * 16, 9 * 16, (2 + 7) * 16, 9 * 16 + 12}, q.x, q.y));
}

TEST_F(MapRendering, LabelsArePushedInsideTheMapAtBothEdges) {
    resize(10, 6);
    // A view wider than the map, which starts three hexes in.
    auto r = renderer(32, 640, 240, {-3, 0});
    r->drawMap();
    const QImage before = r->mapImage().copy();
    const std::string wide = cp932("ＡＢＣＤＥＦＧＨ");  // 16 bytes: 112 pixels
    ASSERT_TRUE(doc().setLabel(0, 2, wide, 0, 0));
    ASSERT_TRUE(doc().setLabel(9, 3, wide, 0, 0));
    r->drawMap();
    const int left = 3 * 32;                  // the map's left edge in even row 2
    const int right = 3 * 32 + 10 * 32 + 16;  // its right edge in odd row 3
    const int top2 = 2 * 24 + 16 - 8, top3 = 3 * 24 + 16 - 8;
    int changedInside = 0;
    for (int y = top2; y < top3 + 16; ++y) {
        for (int x = 0; x < 640; ++x) {
            const bool changed = r->mapImage().pixel(x, y) != before.pixel(x, y);
            if (y < top2 + 16 && x < left) {
                EXPECT_FALSE(changed) << x << "," << y;
            }
            if (y >= top3 && x >= right) {
                EXPECT_FALSE(changed) << x << "," << y;
            }
            changedInside += changed;
        }
    }
    EXPECT_GT(changedInside, 200);
}

TEST_F(MapRendering, LabelsOfEachFactionTakeTheColourItIsNamedAfter) {
    // Transport targets of factions 0..5 (BLUE, RED, GREEN, YELLOW, PURPLE, CYAN): the squares
    // of each label's coloured frame, under the default colour table, in hue ranges (degrees).
    const int named[6][2] = {{205, 255}, {335, 15}, {95, 145}, {48, 68}, {265, 300}, {175, 200}};
    const size_t width = size_t(doc().width());
    for (int f = 0; f < 6; ++f)
        doc().mapGrid.hexMarks[6 + size_t(1 + 2 * f) * width] |= 1u << (4 + f);
    doc().viewSettings.showVictoryLabels = 0;
    auto r = renderer(32);
    r->drawMap();
    const QImage without = r->mapImage().copy();
    doc().viewSettings.showVictoryLabels = 1;
    doc().viewSettings.redrawGrid.markAllDirty();
    r->drawMap();
    for (int f = 0; f < 6; ++f) {
        const int top = r->hexToPixel(6, 1 + 2 * f).y + 16 - 7;
        int coloured = 0, off = 0;
        for (int y = top; y < top + 14; ++y)
            for (int x = 0; x < 640; ++x) {
                const QColor c = QColor::fromRgb(r->mapImage().pixel(x, y));
                if (r->mapImage().pixel(x, y) == without.pixel(x, y) || c.hsvSaturation() < 96)
                    continue;
                ++coloured;
                const int h = c.hsvHue(), from = named[f][0], to = named[f][1];
                off += (from <= to ? h >= from && h <= to : h >= from || h <= to) ? 0 : 1;
            }
        EXPECT_GT(coloured, 20) << f;
        EXPECT_EQ(off, 0) << f;
    }
}

TEST_F(MapRendering, OutsideTheMapShowsTheOutsideMark) {
    resize(4, 4);
    auto r = renderer(32, 320, 240, {-2, -2});
    r->drawMap();
    EXPECT_TRUE(showsCell(*r, Sheet::Mark, 2, 0, -1, -1));
    EXPECT_TRUE(showsCell(*r, Sheet::Mark, 2, 0, 4, 1));
    EXPECT_TRUE(showsCell(*r, Sheet::Base, kvtest::kPlain, 0, 0, 0));
}

TEST(TransparentMode, MeanDropsTheLowBitOfEachChannel) {
    EXPECT_EQ(transparentMean(0xFF102030u, 0xFF030507u), 0xFF09121Bu);
    EXPECT_EQ(transparentMean(0xFFFFFFFFu, 0xFFFFFFFFu), 0xFFFEFEFEu);
    EXPECT_EQ(transparentMean(0xFF010101u, 0xFF010101u), 0xFF000000u);
    // No channel carries into the next.
    EXPECT_EQ(transparentMean(0xFF00FF00u, 0xFF00FF00u), 0xFF00FE00u);
}

TEST_F(MapRendering, TransparentModeMixesMapAndUnderlay) {
    auto r = renderer(32);
    QImage underlay(400, 300, QImage::Format_RGB32);
    underlay.fill(0xFF204060u);
    r->setUnderlay(underlay);
    r->setUnderlayPlacement(0, 0, false);
    doc().tool.mapDrawMethod = kTransparent;
    r->drawMap();
    r->present();
    for (QPoint p : {QPoint(10, 40), QPoint(300, 200), QPoint(600, 450)})
        EXPECT_EQ(r->screenImage().pixel(p), transparentMean(r->mapImage().pixel(p), 0xFF204060u));
}

TEST_F(MapRendering, ActualSizeUnderlayIsAnchoredAtItsHexAndScaledWithTheZoom) {
    QImage underlay(64, 48, QImage::Format_RGB32);
    underlay.fill(0xFF0000FFu);
    underlay.setPixel(0, 0, 0xFFFF0000u);
    doc().tool.mapDrawMethod = kUnderlayOnly;
    for (int size : {16, 32, 48}) {
        auto r = renderer(size);
        r->setUnderlay(underlay);
        r->setUnderlayPlacement(2, 4, true);
        r->drawMap();
        r->present();
        const int x = 2 * size, y = 4 * (size * 3 / 4);
        const QImage& s = r->screenImage();
        EXPECT_EQ(s.pixel(x, y), 0xFFFF0000u) << size;
        EXPECT_EQ(s.pixel(x - 1, y), 0xFF000000u) << size;  // left of the picture: black
        // The red pixel covers S/32 screen pixels each way.
        EXPECT_EQ(s.pixel(x + 1, y), size == 48 ? 0xFFFF0000u : 0xFF0000FFu) << size;
        // The picture ends 64 · S/32 pixels further right.
        EXPECT_EQ(s.pixel(x + 64 * size / 32 - 1, y + 4), 0xFF0000FFu) << size;
        EXPECT_EQ(s.pixel(x + 64 * size / 32, y + 4), 0xFF000000u) << size;
    }
}

TEST_F(MapRendering, FittedUnderlayCoversTheWholeMap) {
    resize(10, 8);
    QImage underlay(4, 4, QImage::Format_RGB32);
    underlay.fill(0xFF00FF00u);
    underlay.setPixel(0, 0, 0xFFFF0000u);
    underlay.setPixel(3, 3, 0xFF0000FFu);
    doc().tool.mapDrawMethod = kUnderlayOnly;
    auto r = renderer(32);
    r->setUnderlay(underlay);
    r->drawMap();
    r->present();
    const int w = 10 * 32 + 16, h = 8 * 24 + 8;
    EXPECT_EQ(r->screenImage().pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(r->screenImage().pixel(w - 1, h - 1), 0xFF0000FFu);
    EXPECT_EQ(r->screenImage().pixel(w, 10), 0xFF000000u);
    // Dropping it leaves black.
    r->dropUnderlay();
    r->present();
    EXPECT_EQ(r->screenImage().pixel(0, 0), 0xFF000000u);
}

TEST_F(MapRendering, HostileMapDrawsWithoutReadingOutsideItsTables) {
    std::mt19937 rng(7);
    auto bytes = [&](void* p, size_t n) {
        auto* b = static_cast<uint8_t*>(p);
        for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(rng());
    };
    const size_t hexes = size_t(doc().width()) * size_t(doc().height());
    bytes(doc().mapGrid.cells.data(), hexes * sizeof(HexCell));
    bytes(doc().mapGrid.overlays.data(), hexes * sizeof(HexOverlay));
    bytes(doc().mapGrid.hexMarks.data(), hexes * sizeof(uint32_t));
    bytes(doc().mapGrid.troopIndex.data(), hexes * sizeof(TroopIndexRecord));
    for (int f = 0; f < 6; ++f)
        for (int s = 0; s < 200; ++s) bytes(doc().troopAt(f, s)->bytes.data(), TroopRecord::kSize);
    bytes(doc().mapGrid.labels.data(), 50 * sizeof(TerrainLabel));
    doc().rebuildLabelNumbers();
    doc().viewSettings.showUnitIcon = 0;
    for (int mode : {kEditTerrain, kEditReinforcements, kEditBorderlines}) {
        doc().tool.editMode = mode;
        for (int size : {16, 32, 48}) {
            doc().viewSettings.showHexFrame = size == 32;
            doc().viewSettings.redrawGrid.markAllDirty();
            auto r = renderer(size, 640, 480, {-1, -1});
            r->drawMap();
            r->redrawHex(3, 3);
            EXPECT_TRUE(r->present().whole);
        }
    }
}

}  // namespace
}  // namespace kv
