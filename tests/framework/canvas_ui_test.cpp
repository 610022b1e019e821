// Canvas drawing: exclusive rectangle edges, frames, button edges, keyed and stretched
// copies, single pixels and lines, on an image.
#include "framework/canvas.h"

#include <QImage>
#include <QPoint>

#include <gtest/gtest.h>

#include <vector>

#include "framework/picture.h"

namespace kv {
namespace {

constexpr QRgb kBack = 0xFF204060;
constexpr QRgb kInk = 0xFFF0E0D0;

QImage blank(int w = 8, int h = 6) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kBack);
    return image;
}

// The pixels of `image` that differ from the background, as a row-major string of '#'/'.'.
std::string inked(const QImage& image) {
    std::string s;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) s += image.pixel(x, y) == kBack ? '.' : '#';
        s += '\n';
    }
    return s;
}

TEST(CanvasRectangles, FillStopsBeforeRightAndBottom) {
    QImage image = blank(5, 4);
    Canvas(image).fillRect({1, 1, 4, 3}, kInk);
    EXPECT_EQ(inked(image), ".....\n.###.\n.###.\n.....\n");
    Canvas(image).fillRect({3, 3, 3, 9}, kInk);  // empty: nothing
    EXPECT_EQ(image.pixel(3, 3), kBack);
}

TEST(CanvasRectangles, FrameRunsAlongTheInside) {
    QImage image = blank(6, 5);
    Canvas(image).frameRect({1, 0, 5, 4}, kInk);
    EXPECT_EQ(inked(image), ".####.\n.#..#.\n.#..#.\n.####.\n......\n");
    EXPECT_EQ(image.pixel(1, 0), kInk);
}

TEST(CanvasRectangles, RaisedAndSunkenEdgesSwapLightAndShadow) {
    QImage raised = blank();
    Canvas(raised).edge({0, 0, 8, 6}, true);
    QImage sunken = blank();
    Canvas(sunken).edge({0, 0, 8, 6}, false);
    const auto lightness = [](QRgb c) { return qGray(c); };
    // Outer ring: the top-left is lighter than the bottom-right when raised, darker when sunken.
    EXPECT_GT(lightness(raised.pixel(0, 0)), lightness(raised.pixel(7, 5)));
    EXPECT_LT(lightness(sunken.pixel(0, 0)), lightness(sunken.pixel(7, 5)));
    // Inner ring likewise, and the face inside is left alone.
    EXPECT_GT(lightness(raised.pixel(1, 1)), lightness(raised.pixel(6, 4)));
    EXPECT_LT(lightness(sunken.pixel(1, 1)), lightness(sunken.pixel(6, 4)));
    EXPECT_EQ(raised.pixel(2, 2), kBack);
    EXPECT_EQ(sunken.pixel(5, 3), kBack);
    // The bottom-right colour owns the bottom-left and top-right corners.
    EXPECT_EQ(raised.pixel(0, 5), raised.pixel(7, 5));
    EXPECT_EQ(raised.pixel(7, 0), raised.pixel(7, 5));
    EXPECT_NE(raised.pixel(0, 4), raised.pixel(7, 5));
}

TEST(CanvasCopies, KeyedCopyLeavesTheCanvasUnderMagenta) {
    QImage s(2, 2, QImage::Format_RGB32);
    s.fill(kInk);
    s.setPixel(1, 1, 0xFFFF00FF);
    const Picture source(s);
    QImage image = blank(4, 4);
    Canvas(image).drawKeyed(1, 1, source, {0, 0, 2, 2});
    EXPECT_EQ(inked(image), "....\n.##.\n.#..\n....\n");
}

TEST(CanvasCopies, KeyedCopyDrawsOnlyThePartInsideTheSource) {
    QImage s(2, 2, QImage::Format_RGB32);
    s.fill(kInk);
    QImage image = blank(4, 4);
    Canvas(image).drawKeyed(0, 0, Picture(s), {-1, -1, 3, 3});
    EXPECT_EQ(inked(image), "....\n.##.\n.##.\n....\n");
}

TEST(CanvasCopies, PlainCopyTakesMagentaAsItIs) {
    QImage s(2, 1, QImage::Format_RGB32);
    s.setPixel(0, 0, 0xFFFF00FF);
    s.setPixel(1, 0, kInk);
    QImage image = blank(3, 1);
    Canvas(image).copy(1, 0, Picture(s), {0, 0, 2, 1});
    EXPECT_EQ(image.pixel(1, 0), 0xFFFF00FFu);
    EXPECT_EQ(image.pixel(2, 0), kInk);
}

TEST(CanvasCopies, StretchedCopyFillsTheDestinationRectangle) {
    QImage s(2, 2, QImage::Format_RGB32);
    s.fill(kInk);
    QImage image = blank(8, 6);
    Canvas(image).stretchCopy({2, 1, 6, 5}, Picture(s), {0, 0, 2, 2});
    EXPECT_EQ(inked(image), "........\n..####..\n..####..\n..####..\n..####..\n........\n");
}

TEST(CanvasLines, PixelsAndPolylinesHitWholePixels) {
    QImage image = blank(5, 4);
    Canvas canvas(image);
    canvas.setPixel(0, 3, kInk);
    const std::vector<QPoint> points = {{1, 0}, {3, 0}, {3, 2}};
    canvas.polyline(points, kInk);
    canvas.polyline(std::vector<QPoint>{{4, 3}}, kInk);  // a single point draws nothing
    canvas.painter().end();
    EXPECT_EQ(inked(image), ".###.\n...#.\n...#.\n#....\n");
}

}  // namespace
}  // namespace kv
