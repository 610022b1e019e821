// Hex geometry: neighbours and directions on odd and even rows, distances, lines, rings and
// flood fills, checked by the invariants the tools rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "document/hex_geometry.h"

namespace kv {
namespace {

bool adjacentOrSame(HexPos a, HexPos b) {
    return a == b || directionTo(a, b) >= 0;
}

TEST(HexGeometry, NeighboursFollowTheRowParity) {
    // Even row: the rows above and below lean left.
    EXPECT_EQ(neighbourPos({5, 4}, 0), (HexPos{4, 4}));
    EXPECT_EQ(neighbourPos({5, 4}, 1), (HexPos{4, 5}));
    EXPECT_EQ(neighbourPos({5, 4}, 2), (HexPos{5, 5}));
    EXPECT_EQ(neighbourPos({5, 4}, 3), (HexPos{6, 4}));
    EXPECT_EQ(neighbourPos({5, 4}, 4), (HexPos{5, 3}));
    EXPECT_EQ(neighbourPos({5, 4}, 5), (HexPos{4, 3}));
    // Odd row: shifted right by half a hex, so they lean right.
    EXPECT_EQ(neighbourPos({5, 3}, 1), (HexPos{5, 4}));
    EXPECT_EQ(neighbourPos({5, 3}, 2), (HexPos{6, 4}));
    EXPECT_EQ(neighbourPos({5, 3}, 4), (HexPos{6, 2}));
    EXPECT_EQ(neighbourPos({5, 3}, 5), (HexPos{5, 2}));
    EXPECT_EQ(neighbourPos({5, 3}, kDirectionSelf), (HexPos{5, 3}));
}

TEST(HexGeometry, OppositeNeighbourLeadsBack) {
    for (int row = -3; row < 8; ++row)
        for (int col = -2; col < 6; ++col)
            for (int d = 0; d < kDirectionCount; ++d) {
                const HexPos h{col, row};
                const HexPos n = neighbourPos(h, d);
                EXPECT_EQ(neighbourPos(n, oppositeDirection(d)), h)
                    << col << "," << row << " " << d;
                EXPECT_EQ(directionTo(h, n), d);
                EXPECT_EQ(directionTo(n, h), oppositeDirection(d));
                EXPECT_EQ(hexDistance(h, n), 1);
            }
    EXPECT_EQ(oppositeDirection(0), 3);
    EXPECT_EQ(oppositeDirection(5), 2);
}

TEST(HexGeometry, EdgeHexesHaveFewerNeighbours) {
    const HexArea area(4, 3);
    auto count = [&](HexPos h) {
        int n = 0;
        for (int d = 0; d < kDirectionCount; ++d) n += area.neighbour(h, d).has_value();
        return n;
    };
    EXPECT_EQ(count({0, 0}), 2);  // east and south-east
    EXPECT_EQ(count({3, 1}), 3);  // odd row at the right edge: west, north-west, south-west
    EXPECT_EQ(count({0, 1}), 5);  // odd row at the left edge keeps its lower and upper left
    EXPECT_EQ(count({1, 1}), 6);
    EXPECT_FALSE(area.neighbour({1, 1}, 7).has_value());
    EXPECT_FALSE(area.neighbour({1, 1}, -1).has_value());
}

TEST(HexGeometry, DistanceCountsSteps) {
    EXPECT_EQ(hexDistance({0, 0}, {0, 0}), 0);
    EXPECT_EQ(hexDistance({0, 0}, {3, 0}), 3);
    EXPECT_EQ(hexDistance({0, 0}, {0, 4}), 4);  // zig-zag down one column
    EXPECT_EQ(hexDistance({0, 0}, {2, 4}), 4);
    EXPECT_EQ(hexDistance({0, 0}, {3, 4}), 5);
    EXPECT_EQ(hexDistance({3, 4}, {0, 0}), 5);
}

TEST(HexGeometry, LinesOfTheToolsAreChainsOfNeighbours) {
    // Every pair within a 12 × 12 area: starts and ends right, each step is a neighbour (or a
    // repeated hex), and never wanders outside the pair's bounding box.
    for (int r0 = 0; r0 < 12; ++r0)
        for (int c0 = 0; c0 < 12; ++c0)
            for (int r1 = 0; r1 < 12; ++r1)
                for (int c1 = 0; c1 < 12; ++c1) {
                    const auto line = hexLine({c0, r0}, {c1, r1});
                    ASSERT_FALSE(line.empty());
                    ASSERT_EQ(line.front(), (HexPos{c0, r0}));
                    ASSERT_EQ(line.back(), (HexPos{c1, r1}))
                        << c0 << "," << r0 << " -> " << c1 << "," << r1;
                    for (size_t i = 1; i < line.size(); ++i)
                        ASSERT_TRUE(adjacentOrSame(line[i - 1], line[i]))
                            << c0 << "," << r0 << " -> " << c1 << "," << r1 << " step " << i;
                    for (HexPos h : line) {
                        ASSERT_GE(h.col, std::min(c0, c1));
                        ASSERT_LE(h.col, std::max(c0, c1));
                    }
                }
}

TEST(HexGeometry, ShallowAndSteepLinesVisitTheExpectedHexes) {
    EXPECT_EQ(hexLine({2, 2}, {5, 3}),
              (std::vector<HexPos>{{2, 2}, {3, 2}, {4, 2}, {4, 3}, {5, 3}}));
    const auto steep = hexLine({2, 2}, {3, 6});
    EXPECT_EQ(steep.front(), (HexPos{2, 2}));
    EXPECT_EQ(steep.back(), (HexPos{3, 6}));
    EXPECT_EQ(hexLine({4, 4}, {4, 4}), (std::vector<HexPos>{{4, 4}}));
    EXPECT_EQ(hexLine({4, 1}, {4, 3}), (std::vector<HexPos>{{4, 1}, {4, 2}, {4, 3}}));
    EXPECT_EQ(hexLine({6, 0}, {3, 0}), (std::vector<HexPos>{{6, 0}, {5, 0}, {4, 0}, {3, 0}}));
}

TEST(HexGeometry, RingsHoldSixKHexesAtDistanceK) {
    for (HexPos centre : {HexPos{10, 10}, HexPos{9, 11}}) {
        EXPECT_EQ(hexRing(centre, 0), (std::vector<HexPos>{centre}));
        for (int k = 1; k <= 6; ++k) {
            const auto ring = hexRing(centre, k);
            ASSERT_EQ(ring.size(), size_t(6 * k));
            std::set<std::pair<int, int>> distinct;
            for (size_t i = 0; i < ring.size(); ++i) {
                EXPECT_EQ(hexDistance(centre, ring[i]), k);
                distinct.insert({ring[i].col, ring[i].row});
                // A closed walk: each hex touches the next, the last the first.
                EXPECT_EQ(hexDistance(ring[i], ring[(i + 1) % ring.size()]), 1);
            }
            EXPECT_EQ(distinct.size(), ring.size());
        }
    }
    // The walk starts up-left of the hex k steps down-left of the centre.
    EXPECT_EQ(hexRing({10, 10}, 1).front(), (HexPos{9, 10}));
}

TEST(HexGeometry, RingSearchFindsTheNearestAcceptedHexInsideTheMap) {
    const HexArea area(8, 8);
    EXPECT_EQ(searchRings(area, {3, 3}, [](HexPos) { return true; }), (HexPos{3, 3}));
    const auto far = searchRings(area, {0, 0}, [](HexPos h) { return h.col == 7; });
    EXPECT_EQ(far, (HexPos{7, 0}));
    // Nearer rings come first: of two accepted hexes the closer one wins.
    const auto nearer = searchRings(area, {4, 4}, [](HexPos h) {
        return h == HexPos{4, 7} || h == HexPos{5, 5};
    });
    EXPECT_EQ(nearer, (HexPos{5, 5}));
    // The search reaches as far as the larger side of the map, not to every corner.
    EXPECT_FALSE(searchRings(area, {0, 0}, [](HexPos h) { return h == HexPos{7, 7}; }).has_value());
    EXPECT_FALSE(searchRings(area, {0, 0}, [](HexPos) { return false; }).has_value());
    // Hexes outside the map are never offered.
    searchRings(area, {0, 0}, [&](HexPos h) {
        EXPECT_TRUE(area.contains(h));
        return false;
    });
}

TEST(HexGeometry, FloodFillStaysInItsRegionAndComesBackInRowOrder) {
    const HexArea area(6, 5);
    // A wall along column 3 splits the map.
    const auto fill = floodFill(area, {1, 1}, [](HexPos h) { return h.col != 3; });
    EXPECT_EQ(fill.size(), 15u);
    for (HexPos h : fill) EXPECT_LT(h.col, 3);
    EXPECT_TRUE(std::is_sorted(fill.begin(), fill.end(),
                               [&](HexPos a, HexPos b) { return area.index(a) < area.index(b); }));
    // The seed is filled even when it does not match itself.
    EXPECT_EQ(floodFill(area, {3, 2}, [](HexPos h) { return h.col != 3; }).size(), 30u - 5u + 1u);
    EXPECT_TRUE(floodFill(area, {6, 0}, [](HexPos) { return true; }).empty());
    EXPECT_EQ(floodFill(area, {0, 0}, [](HexPos) { return true; }).size(), 30u);
}

}  // namespace
}  // namespace kv
