// The HQ map's layout, hex colours and the frame of the visible area.
#include "document/hq_overview.h"

#include <gtest/gtest.h>

#include "document/map_grid.h"

namespace {

using kv::HexPos;
using kv::HqFrame;
using kv::HqLayout;
using kv::HqSquare;
using kv::TerrainCategory;

TEST(HqOverviewTest, LayoutFollowsTheMapSize) {
    struct Row {
        int w, h, scale, clientWidth, clientHeight, originX;
    };
    // Worked from the rules: 2-pixel squares up to 64 × 64, a client at least 108 wide.
    for (const Row& r :
         {Row{64, 64, 2, 136, 160, 4}, Row{65, 10, 1, 108, 42, 21}, Row{10, 65, 1, 108, 97, 49},
          Row{50, 50, 2, 108, 132, 4}, Row{49, 7, 2, 108, 46, 5}, Row{256, 256, 1, 264, 288, 4},
          Row{1, 1, 2, 108, 34, 53}}) {
        SCOPED_TRACE(testing::Message() << r.w << "x" << r.h);
        const HqLayout l = HqLayout::of(r.w, r.h);
        EXPECT_EQ(l.scale, r.scale);
        EXPECT_EQ(l.clientWidth, r.clientWidth);
        EXPECT_EQ(l.clientHeight, r.clientHeight);
        EXPECT_EQ(l.originX, r.originX);
        EXPECT_EQ(l.originY, 4);
    }
    const HqLayout l = HqLayout::of(64, 64);
    EXPECT_EQ(l.buttonX(0), 18);
    EXPECT_EQ(l.buttonX(1), 70);
    EXPECT_EQ(l.buttonY(64), 136);
}

TEST(HqOverviewTest, SquareOfAHex) {
    std::vector<kv::TerrainType> types(27, kv::TerrainType{});
    for (size_t i = 0; i < types.size(); ++i) types[i].overviewColour = uint16_t(40 + i);
    types[5].category = TerrainCategory::Capital;
    types[6].category = TerrainCategory::Building;
    types[7].category = TerrainCategory::Fortress;
    auto square = [&](int terrain, int owner = 0, int river = 0) {
        kv::HexCell c{};
        c.terrain = uint8_t(terrain);
        c.owner = uint8_t(owner);
        c.river = uint8_t(river);
        return kv::hqSquare(c, types);
    };
    EXPECT_EQ(square(0), (HqSquare{false, 40}));
    EXPECT_EQ(square(6, 3), (HqSquare{false, 46}));  // a plain building keeps its colour
    // A river over anything shows the river of its variant.
    EXPECT_EQ(square(0, 0, 0x01), (HqSquare{false, 54}));
    EXPECT_EQ(square(0, 0, 0x41), (HqSquare{false, 55}));
    EXPECT_EQ(square(0, 0, 0x82), (HqSquare{false, 66}));
    EXPECT_EQ(square(5, 2, 0xE0 | 0x3F), (HqSquare{false, 54}));
    EXPECT_EQ(square(0, 0, 0xC0), (HqSquare{false, 40}));  // variant bits without links
    // Facilities in their owner's colour: a captured city, a neutral one, the special colour.
    EXPECT_EQ(square(5, 3), (HqSquare{true, 2}));
    EXPECT_EQ(square(7, 6), (HqSquare{true, 5}));
    EXPECT_EQ(square(5, 0), (HqSquare{true, 6}));
    EXPECT_EQ(square(5, 7), (HqSquare{true, 6}));
    EXPECT_EQ(square(5, 200), (HqSquare{true, 6}));
    // A terrain the table lacks, and a river terrain the table lacks.
    EXPECT_EQ(square(200), (HqSquare{false, 0}));
    types.resize(10);
    EXPECT_EQ(square(0, 0, 0x81), (HqSquare{false, 0}));
}

TEST(HqOverviewTest, FrameAndDragging) {
    const HqLayout l = HqLayout::of(100, 80);
    ASSERT_EQ(l.scale, 1);
    EXPECT_EQ(kv::hqFrame(l, 100, 80, {10, 5}, {30, 20}), (HqFrame{true, 10, 5, 39, 24}));
    // Near the far edges the frame stops at the map's last pixel.
    EXPECT_EQ(kv::hqFrame(l, 100, 80, {90, 70}, {30, 20}), (HqFrame{true, 90, 70, 99, 79}));
    // A map that fits the view shows no frame; one that fits only across shows one.
    EXPECT_FALSE(kv::hqFrame(l, 100, 80, {0, 0}, {100, 80}).shown);
    EXPECT_FALSE(kv::hqFrameShown(100, 80, {120, 90}));
    EXPECT_TRUE(kv::hqFrameShown(100, 80, {120, 10}));
    const HqLayout l2 = HqLayout::of(64, 64);
    EXPECT_EQ(kv::hqFrame(l2, 64, 64, {3, 4}, {10, 8}), (HqFrame{true, 6, 8, 25, 23}));

    // The frame is centred on the point; a click at the last column puts its right edge there.
    const HexPos visible{30, 20};
    EXPECT_EQ(kv::hqFrameAt(l, 100, 80, visible, l.originX + 99, l.originY + 40), (HexPos{70, 30}));
    EXPECT_EQ(kv::hqFrameAt(l, 100, 80, visible, l.originX + 50, l.originY + 79), (HexPos{35, 60}));
    EXPECT_EQ(kv::hqFrameAt(l, 100, 80, visible, 0, 0), (HexPos{0, 0}));
    // A view wider than the map keeps the frame at column 0.
    EXPECT_EQ(kv::hqFrameAt(l, 100, 80, {120, 20}, l.originX + 90, l.originY + 30),
              (HexPos{0, 20}));
    // Two pixels a hex: pixel 41 from the origin is column 20.
    EXPECT_EQ(kv::hqFrameAt(l2, 64, 64, {10, 8}, l2.originX + 41, l2.originY + 20),
              (HexPos{15, 6}));
}

}  // namespace
