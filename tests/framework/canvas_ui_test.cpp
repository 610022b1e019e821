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

QImage blank(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kBack);
    return image;
}

// The pixels of `image` that differ from the background, row by row, as '#' and '.'.
std::string inked(const QImage& image) {
    std::string s;
    for (int y = 0; y < image.height(); ++y, s += '/')
        for (int x = 0; x < image.width(); ++x) s += image.pixel(x, y) == kBack ? '.' : '#';
    return s;
}

Picture inkPicture(int w, int h) {
    QImage s(w, h, QImage::Format_RGB32);
    s.fill(kInk);
    return Picture(s);
}

TEST(CanvasRectangles, FillsAndFramesStopBeforeRightAndBottom) {
    QImage image = blank(6, 5);
    Canvas(image).fillRect({1, 1, 4, 3}, kInk);
    EXPECT_EQ(inked(image), "....../.###../.###../....../....../");
    image = blank(6, 5);
    Canvas(image).frameRect({1, 0, 5, 4}, kInk);
    EXPECT_EQ(inked(image), ".####./.#..#./.#..#./.####./....../");
}

TEST(CanvasRectangles, RaisedAndSunkenEdgesSwapLightAndShadow) {
    QImage raised = blank(8, 6), sunken = blank(8, 6);
    Canvas(raised).edge({0, 0, 8, 6}, true);
    Canvas(sunken).edge({0, 0, 8, 6}, false);
    // Both rings: top-left lighter than bottom-right when raised, darker when sunken.
    for (int ring : {0, 1}) {
        EXPECT_GT(qGray(raised.pixel(ring, ring)), qGray(raised.pixel(7 - ring, 5 - ring)));
        EXPECT_LT(qGray(sunken.pixel(ring, ring)), qGray(sunken.pixel(7 - ring, 5 - ring)));
    }
    EXPECT_EQ(raised.pixel(2, 2), kBack);  // the face is left alone
    // The bottom-right colour owns the bottom-left and top-right corners.
    EXPECT_EQ(raised.pixel(0, 5), raised.pixel(7, 5));
    EXPECT_EQ(raised.pixel(7, 0), raised.pixel(7, 5));
    EXPECT_NE(raised.pixel(0, 4), raised.pixel(7, 5));
}

TEST(CanvasCopies, KeyedCopiesLeaveTheCanvasUnderMagentaAndOutsideTheSource) {
    Picture source = inkPicture(2, 2);
    source.image().setPixel(1, 1, 0xFFFF00FF);
    QImage image = blank(4, 4);
    Canvas(image).drawKeyed(1, 1, source, {0, 0, 2, 2});
    EXPECT_EQ(inked(image), "..../.##./.#../..../");
    image = blank(4, 4);
    Canvas(image).drawKeyed(0, 0, inkPicture(2, 2), {-1, -1, 3, 3});
    EXPECT_EQ(inked(image), "..../.##./.##./..../");
}

TEST(CanvasCopies, PlainAndStretchedCopiesTakeEveryPixel) {
    Picture source = inkPicture(2, 2);
    source.image().setPixel(0, 0, 0xFFFF00FF);
    QImage image = blank(3, 2);
    Canvas(image).copy(1, 0, source, {0, 0, 2, 1});
    EXPECT_EQ(image.pixel(1, 0), 0xFFFF00FFu);
    EXPECT_EQ(image.pixel(2, 0), kInk);
    image = blank(8, 6);
    Canvas(image).stretchCopy({2, 1, 6, 5}, inkPicture(2, 2), {0, 0, 2, 2});
    EXPECT_EQ(inked(image), "......../..####../..####../..####../..####../......../");
}

TEST(CanvasLines, PixelsAndPolylinesHitWholePixels) {
    QImage image = blank(5, 4);
    Canvas canvas(image);
    canvas.setPixel(0, 3, kInk);
    canvas.polyline(std::vector<QPoint>{{1, 0}, {3, 0}, {3, 2}}, kInk);
    canvas.polyline(std::vector<QPoint>{{4, 3}}, kInk);  // a single point draws nothing
    canvas.painter().end();
    EXPECT_EQ(inked(image), ".###./...#./...#./#..../");
}

}  // namespace
}  // namespace kv
