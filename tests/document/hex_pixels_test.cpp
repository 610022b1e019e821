// Pixel geometry of the map view: hit test edge cases at every hex size, the pixel → hex →
// pixel invariants over whole rows, agreement with the neighbour table, fitting sizes and
// scroll origins, and labels kept inside the map.
#include "document/hex_pixels.h"

#include <gtest/gtest.h>

#include <vector>

namespace kv {
namespace {

const int kSizes[] = {16, 32, 48};
// Origins with even, odd and negative rows and columns.
const HexPos kOrigins[] = {{0, 0}, {0, 1}, {3, 2}, {7, 5}, {-4, -3}, {-1, -2}};

TEST(HexPixels, DerivedQuantitiesOfEachSize) {
    EXPECT_EQ(HexPixels(16).rowPitch(), 12);
    EXPECT_EQ(HexPixels(32).rowPitch(), 24);
    EXPECT_EQ(HexPixels(48).rowPitch(), 36);
    EXPECT_EQ(HexPixels(48).capHeight(), 12);
    EXPECT_EQ(HexPixels(48).halfShift(), 24);
    // A size the view does not know falls back to the medium one.
    EXPECT_EQ(HexPixels(0).size(), 32);
    EXPECT_EQ(HexPixels(-16).size(), 32);
    EXPECT_EQ(HexPixels(1000).size(), 32);
}

TEST(HexPixels, HexToPixelKeepsTheAbsoluteRowParity) {
    const HexPixels g(32);
    EXPECT_EQ(g.hexToPixel({0, 0}, {0, 0}), (PixelPos{0, 0}));
    EXPECT_EQ(g.hexToPixel({0, 1}, {0, 0}), (PixelPos{16, 24}));
    EXPECT_EQ(g.hexToPixel({5, 3}, {2, 1}), (PixelPos{3 * 32 + 16, 2 * 24}));
    // Scrolling by an odd number of rows moves every hex up without moving it sideways.
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(g.hexToPixel({4, row}, {0, 0}).x, g.hexToPixel({4, row}, {0, 1}).x);
        EXPECT_EQ(g.hexToPixel({4, row}, {0, 0}).y - 24, g.hexToPixel({4, row}, {0, 1}).y);
    }
}

TEST(HexPixels, FirstPixelOfAnOddRowsCapGoesToTheUpperLeftNeighbour) {
    for (int s : kSizes) {
        const HexPixels g(s);
        for (HexPos origin : {HexPos{0, 0}, HexPos{2, 2}, HexPos{1, 4}}) {
            const HexPos odd{origin.col + 3, origin.row + 1};
            const PixelPos p = g.hexToPixel(odd, origin);
            EXPECT_EQ(g.pixelToHex(p.x, p.y, origin), neighbourPos(odd, 5)) << "size " << s;
            // One pixel further right is still in the upper-left hex's slant, but a pixel
            // in the point of the cap stays in the hex itself.
            EXPECT_EQ(g.pixelToHex(p.x + 1, p.y, origin), neighbourPos(odd, 5));
            EXPECT_EQ(g.pixelToHex(p.x + s / 2, p.y, origin), odd);
        }
    }
}

TEST(HexPixels, LastPixelColumnOfTheCapGoesToTheUpperRightNeighbour) {
    for (int s : kSizes) {
        const HexPixels g(s);
        for (int row : {1, 2}) {  // odd and even rows
            const HexPos hex{4, row};
            const PixelPos p = g.hexToPixel(hex, {0, 0});
            for (int dy = 0; dy < s / 4; ++dy) {
                EXPECT_EQ(g.pixelToHex(p.x + s - 1, p.y + dy, {0, 0}), neighbourPos(hex, 4))
                    << "size " << s << " row " << row << " dy " << dy;
                EXPECT_EQ(g.pixelToHex(p.x, p.y + dy, {0, 0}), neighbourPos(hex, 5));
            }
        }
    }
}

TEST(HexPixels, CapBandSlantIsTwoPixelsEarlierThanTheExactEdge) {
    for (int s : kSizes) {
        const HexPixels g(s);
        const int h = s / 2, q = s / 4;
        const HexPos hex{2, 2};
        const PixelPos p = g.hexToPixel(hex, {0, 0});
        // Top line of the band: only the point h − 2 .. h belongs to the lower hex.
        for (int dx = 0; dx < s; ++dx) {
            const bool own = dx >= h - 2 && dx <= h;
            EXPECT_EQ(g.pixelToHex(p.x + dx, p.y, {0, 0}) == hex, own) << s << " dx " << dx;
        }
        // Last line of the band: everything but the first and last column.
        for (int dx = 0; dx < s; ++dx) {
            const bool own = dx != 0 && dx != s - 1;
            EXPECT_EQ(g.pixelToHex(p.x + dx, p.y + q - 1, {0, 0}) == hex, own) << s << " " << dx;
        }
    }
}

TEST(HexPixels, PointLeftOfAnOddRowsIndentIsInColumnBeforeTheOrigin) {
    for (int s : kSizes) {
        const HexPixels g(s);
        const HexPos origin{5, 3};  // row 3 is odd, at the top of the client area
        const HexPos hit = g.pixelToHex(s / 4, s / 4 + 1, origin);
        EXPECT_EQ(hit, (HexPos{origin.col - 1, origin.row})) << "size " << s;
        // In an even row the same point is in the origin's column.
        EXPECT_EQ(g.pixelToHex(s / 4, s / 4 + 1, {5, 2}), (HexPos{5, 2}));
    }
}

TEST(HexPixels, EveryPixelOfWholeRowsLiesInTheCellOfTheHexItHits) {
    for (int s : kSizes) {
        const HexPixels g(s);
        for (HexPos origin : kOrigins) {
            for (int y = 0; y < 5 * g.rowPitch(); ++y) {
                for (int x = 0; x < 7 * s; ++x) {
                    const HexPos hex = g.pixelToHex(x, y, origin);
                    const PixelPos cell = g.hexToPixel(hex, origin);
                    ASSERT_TRUE(x >= cell.x && x < cell.x + s && y >= cell.y && y < cell.y + s)
                        << "size " << s << " origin " << origin.col << "," << origin.row
                        << " pixel " << x << "," << y;
                }
            }
        }
    }
}

TEST(HexPixels, BodyOfEveryCellMapsBackToItsHex) {
    // Below the cap and above the next row's cap a cell belongs wholly to its hex.
    for (int s : kSizes) {
        const HexPixels g(s);
        for (HexPos origin : kOrigins) {
            for (int row = origin.row; row < origin.row + 4; ++row) {
                for (int col = origin.col; col < origin.col + 5; ++col) {
                    const PixelPos p = g.hexToPixel({col, row}, origin);
                    for (int dy = g.capHeight(); dy < g.rowPitch(); ++dy)
                        for (int dx = 0; dx < s; ++dx)
                            ASSERT_EQ(g.pixelToHex(p.x + dx, p.y + dy, origin), (HexPos{col, row}))
                                << "size " << s << " hex " << col << "," << row;
                }
            }
        }
    }
}

TEST(HexPixels, HitHexesAlongARowOfPixelsAreNeighbours) {
    // Walking right along any pixel row never jumps over a hex.
    for (int s : kSizes) {
        const HexPixels g(s);
        for (int y = 0; y < 3 * g.rowPitch(); ++y) {
            HexPos last = g.pixelToHex(0, y, {0, 0});
            for (int x = 1; x < 6 * s; ++x) {
                const HexPos hex = g.pixelToHex(x, y, {0, 0});
                ASSERT_TRUE(hex == last || directionTo(last, hex) >= 0)
                    << "size " << s << " at " << x << "," << y;
                last = hex;
            }
        }
    }
}

TEST(HexPixels, NeighbourCellsLieInTheirDirection) {
    // The neighbour table and the pixel layout agree on both row parities.
    for (int s : kSizes) {
        const HexPixels g(s);
        const int h = s / 2, v = g.rowPitch();
        const PixelPos offsets[6] = {{-s, 0}, {-h, v}, {h, v}, {s, 0}, {h, -v}, {-h, -v}};
        for (HexPos hex : {HexPos{4, 4}, HexPos{4, 5}}) {
            const PixelPos p = g.hexToPixel(hex, {0, 0});
            for (int d = 0; d < 6; ++d) {
                const PixelPos n = g.hexToPixel(neighbourPos(hex, d), {0, 0});
                EXPECT_EQ((PixelPos{n.x - p.x, n.y - p.y}), offsets[d])
                    << "size " << s << " row " << hex.row << " direction " << d;
            }
        }
    }
}

TEST(HexPixels, VisibleSizeCountsWholeHexesOnly) {
    const HexPixels g(32);
    EXPECT_EQ(g.visibleSize(1000, 600), (HexPos{30, 24}));
    // The last visible hex of an odd row ends inside the client area.
    const HexPos v = g.visibleSize(1000, 600);
    EXPECT_LE(32 * (v.col - 1) + 16 + 32, 1000);
    EXPECT_LE(24 * (v.row - 1) + 32, 600);
    // One pixel less loses a column.
    EXPECT_EQ(g.visibleSize(32 * 30 + 16 - 1, 600).col, 29);
    EXPECT_EQ(g.visibleSize(0, 0), (HexPos{0, 0}));
    EXPECT_EQ(HexPixels(16).drawnExtent(100, 100), (HexPos{7, 9}));
    EXPECT_EQ(HexPixels(48).drawnExtent(96, 72), (HexPos{2, 2}));
}

TEST(HexPixels, MapPixelSizeAddsTheIndentAndTheLastCap) {
    EXPECT_EQ(HexPixels(32).mapPixelWidth(64), 2064);
    EXPECT_EQ(HexPixels(32).mapPixelHeight(64), 1544);
    EXPECT_EQ(HexPixels(16).mapPixelWidth(1), 24);
    EXPECT_EQ(HexPixels(48).mapPixelHeight(1), 48);
}

TEST(ScrollAxis, ShortMapIsCentredByANegativeOriginAndCannotScroll) {
    const ScrollAxis a = fitScrollAxis(7, 10, 30);
    EXPECT_EQ(a.origin, -10);
    EXPECT_FALSE(a.scrollable);
    EXPECT_EQ(fitScrollAxis(0, 10, 31).origin, -10);  // odd difference rounds toward 0
}

TEST(ScrollAxis, LongMapClampsTheOriginToItsLength) {
    EXPECT_EQ(fitScrollAxis(-5, 64, 20).origin, 0);
    EXPECT_EQ(fitScrollAxis(50, 64, 20).origin, 44);
    const ScrollAxis a = fitScrollAxis(12, 64, 20);
    EXPECT_EQ(a.origin, 12);
    EXPECT_TRUE(a.scrollable);
    EXPECT_EQ(a.maximum, 63);
    EXPECT_EQ(a.page, 20);
    // A map exactly as long as the view has nothing to scroll.
    EXPECT_FALSE(fitScrollAxis(3, 20, 20).scrollable);
    EXPECT_EQ(fitScrollAxis(3, 20, 20).origin, 0);
}

TEST(LabelPlacement, LabelsAreKeptInsideTheMapRow) {
    const int s = 32, width = 10;
    // Centred where there is room.
    EXPECT_EQ(labelLeft(5 * s, 5, width, s, 70), 5 * s + 16 - 35);
    // Near the left edge of an even row it starts at the edge ...
    EXPECT_EQ(labelLeft(0, 0, width, s, 70), 0);
    // ... of an odd row at the indent, wherever the view is scrolled.
    EXPECT_EQ(labelLeft(16 - 3 * s, 0, width, s, 70), 16 - 3 * s);
    EXPECT_EQ(labelLeft(16 + s, 1, width, s, 140), 16);
    // Near the right edge it ends at the edge.
    EXPECT_EQ(labelLeft(9 * s, 9, width, s, 70), 10 * s - 70);
    EXPECT_EQ(labelLeft(9 * s + 16, 9, width, s, 70), 10 * s + 16 - 70);
    // Wider than the whole row: the left end wins.
    EXPECT_EQ(labelLeft(0, 0, 2, s, 200), 0);
}

}  // namespace
}  // namespace kv
