// Work-area clamping, numeric text and saved placements.
#include <gtest/gtest.h>

#include "framework/placement.h"
#include "framework/profile.h"
#include "support/test_paths.h"

namespace kv {
namespace {

const Rect kWork{0, 0, 1024, 768};

TEST(KeepReachable, StopsTwentyPixelsInsideEachEdge) {
    // Dragged far right: the left edge stops 20 pixels inside the right edge.
    EXPECT_EQ(keepReachable({2000, 100, 2200, 300}, kWork), (Rect{1004, 100, 1204, 300}));
    // Far down: the top stops 20 pixels above the bottom.
    EXPECT_EQ(keepReachable({10, 900, 210, 1000}, kWork), (Rect{10, 748, 210, 848}));
    // Far up: the bottom stays 20 below the top; far left: the right edge stays at 30.
    EXPECT_EQ(keepReachable({-500, -500, -300, -400}, kWork), (Rect{-170, -80, 30, 20}));
    // A rectangle inside is left alone, and the size never changes.
    EXPECT_EQ(keepReachable({100, 100, 300, 250}, kWork), (Rect{100, 100, 300, 250}));
}

TEST(AdjustWithin, ModeOneKeepsTheWholeWindowInside) {
    int x = 900, y = 700;
    EXPECT_TRUE(adjustWithin(x, y, 300, 200, kWork, 1));
    EXPECT_EQ(x, 724);
    EXPECT_EQ(y, 568);
    x = -50, y = 10;
    EXPECT_TRUE(adjustWithin(x, y, 300, 200, kWork, 1));
    EXPECT_EQ(x, 0);
    // A window larger than the work area goes to its left/top edge.
    x = 100, y = 100;
    EXPECT_TRUE(adjustWithin(x, y, 2000, 2000, kWork, 1));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    x = 10, y = 10;
    EXPECT_FALSE(adjustWithin(x, y, 300, 200, kWork, 1));
}

TEST(AdjustWithin, ModeTwoKeepsTheCornerAndModeThreeSomeCorner) {
    int x = 1024, y = -3;
    EXPECT_TRUE(adjustWithin(x, y, 300, 200, kWork, 2));
    EXPECT_EQ(x, 1023);
    EXPECT_EQ(y, 0);
    // Mode 3: one corner visible is enough.
    x = -299, y = -199;
    EXPECT_FALSE(adjustWithin(x, y, 300, 200, kWork, 3));
    x = -300, y = 50;
    EXPECT_TRUE(adjustWithin(x, y, 300, 200, kWork, 3));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    // Unknown modes never move.
    x = 5000, y = 5000;
    EXPECT_FALSE(adjustWithin(x, y, 10, 10, kWork, 0));
    EXPECT_FALSE(adjustWithin(x, y, 10, 10, kWork, 4));
}

TEST(NumberText, ScalesAndDropsTheRemaindersSign) {
    EXPECT_EQ(numberText(12345, 1000), "12.345");
    EXPECT_EQ(numberText(1205, 100), "12.05");
    EXPECT_EQ(numberText(7, 10), "0.7");
    EXPECT_EQ(numberText(42, 1), "42");
    EXPECT_EQ(numberText(42, 7), "42");
    EXPECT_EQ(numberText(-1234, 100), "-12.34");
    EXPECT_EQ(numberText(-5, 10), "0.5");  // the integer part carries no sign here
}

class PlacementStore : public testing::Test {
protected:
    void SetUp() override { setProgramPath(dir.file("kvornme")); }
    void TearDown() override { setProgramPath(""); }
    kvtest::TempDir dir;
};

TEST_F(PlacementStore, RoundTripsAllSixKeys) {
    writePlacement("KOBMEC_TOOLWINDOW_CNAME", {true, false, {10, 20, 310, 420}});
    auto p = readPlacement("KOBMEC_TOOLWINDOW_CNAME");
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->zoomed);
    EXPECT_FALSE(p->iconic);
    EXPECT_EQ(p->normal, (Rect{10, 20, 310, 420}));
    const std::string ini = kvtest::readFile(settingsFile());
    EXPECT_NE(ini.find("[WindowInfo]"), std::string::npos);
    EXPECT_NE(ini.find("KOBMEC_TOOLWINDOW_CNAMEWindowPosBottom=420"), std::string::npos);
}

TEST_F(PlacementStore, OneMissingKeyDiscardsTheWholePlacement) {
    kvtest::writeFile(settingsFile(),
                      "[WindowInfo]\r\nXWindowZoomed=0\r\nXWindowIconic=0\r\nXWindowPosLeft=5\r\n"
                      "XWindowPosTop=6\r\nXWindowPosRight=100\r\n");
    EXPECT_FALSE(readPlacement("X"));
    kvtest::writeFile(settingsFile(), std::string("garbage\0\xff[[[=", 13));
    EXPECT_FALSE(readPlacement("X"));
}

}  // namespace
}  // namespace kv
