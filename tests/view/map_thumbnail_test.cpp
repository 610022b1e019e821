// Map thumbnails: the whole map fitted into the square with the colours the map shows, drawn
// for small maps and sampled hex by hex for large ones; and `kvmap export --thumbnail`.
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "view/bitmap_export.h"
#include "view/map_thumbnail.h"
#include "view/render_fixture.h"

namespace kv {
namespace {

using kvtest::kPlain;
using kvtest::kSea;

struct Mean {
    double r = 0, g = 0, b = 0;
    double distance(const Mean& o) const {
        return std::max({std::abs(r - o.r), std::abs(g - o.g), std::abs(b - o.b)});
    }
};

// The mean colour of the picture between the fractions x0..x1 of its width (middle rows).
Mean meanOf(const QImage& image, double x0, double x1) {
    Mean m;
    int n = 0;
    for (int y = image.height() / 4; y < image.height() * 3 / 4; ++y)
        for (int x = int(x0 * image.width()); x < int(x1 * image.width()); ++x) {
            const QRgb p = image.pixel(x, y);
            m.r += qRed(p), m.g += qGreen(p), m.b += qBlue(p), ++n;
        }
    if (n) m.r /= n, m.g /= n, m.b /= n;
    return m;
}

class MapThumbnail : public kvtest::RenderFixture {
protected:
    // The western third of the map sea, the rest plain land.
    void paintCoast() {
        for (int row = 0; row < doc().height(); ++row)
            for (int col = 0; col < doc().width() / 3; ++col) {
                cell(col, row).terrain = kSea;
                cell(col, row).picture = kSea;
            }
    }
};

TEST_F(MapThumbnail, FitsTheMapIntoTheSquareWithTheColoursItShows) {
    paintCoast();
    // The regions as the export draws them at 16 pixels.
    SpriteSheets sheets;
    sheets.build(16, doc().factionColours, false, doc().gameDatabase, true);
    const QImage drawn = exportImage(exportBitmapBytes(doc(), sheets.toRgb555()));
    const Mean sea = meanOf(drawn, 0.05, 0.25), land = meanOf(drawn, 0.45, 0.95);
    ASSERT_GT(sea.distance(land), 40);

    const auto check = [&](const QImage& t, int size, int mapWidth, int mapHeight) {
        ASSERT_FALSE(t.isNull());
        EXPECT_EQ(std::max(t.width(), t.height()), size);
        const ExportLayout l = exportLayout(mapWidth, mapHeight, 16);
        EXPECT_NEAR(double(t.width()) / t.height(), double(l.width) / l.height, 0.03);
        EXPECT_LT(meanOf(t, 0.05, 0.25).distance(sea), 24) << mapWidth << " x " << mapHeight;
        EXPECT_LT(meanOf(t, 0.45, 0.95).distance(land), 24) << mapWidth << " x " << mapHeight;
    };
    for (int size : {128, 256}) check(mapThumbnail(doc(), size), size, 64, 64);
    // Too large to draw: one overview colour per hex, in the same places.
    resize(200, 150);
    paintCoast();
    for (int size : {128, 256}) check(mapThumbnail(doc(), size), size, 200, 150);
    resize(256, 256);
    paintCoast();
    check(mapThumbnail(doc(), 256), 256, 256, 256);

    // A map smaller than the square even at the largest hex size is not enlarged.
    resize(1, 1);
    const QImage tiny = mapThumbnail(doc(), 256);
    EXPECT_EQ(tiny.size(), QSize(exportLayout(1, 1, 48).width, exportLayout(1, 1, 48).height));
}

TEST(KvmapThumbnail, WritesAPngUnderAnyNameAndRefusesBadSizesAndFiles) {
    kvtest::TempDir out;
    const std::string demo = kvtest::distDir() + "/map/demo_scenario.kvs";
    const std::string thumb = out.file("thumb");  // no extension, as file managers name it
    const kvtest::CliRun ok = kvtest::runKvmap("export " + demo + " " + thumb + " --thumbnail 128");
    ASSERT_EQ(ok.code, 0) << ok.out;
    QImageReader reader(QString::fromStdString(thumb));
    EXPECT_EQ(reader.format(), "png");
    const QImage image = reader.read();
    EXPECT_EQ(std::max(image.width(), image.height()), 128);

    kvtest::writeFile(out.file("notes.kvs"), "no map");
    const std::string bad = out.file("bad");
    for (const std::string& args :
         {demo + " " + bad + " --thumbnail 0", demo + " " + bad + " --thumbnail 1025",
          demo + " " + bad + " --thumbnail 12x", demo + " " + bad + " --thumbnail 64 --hex-size 16",
          out.file("notes.kvs") + " " + bad + " --thumbnail 64"}) {
        const kvtest::CliRun r = kvtest::runKvmap("export " + args);
        EXPECT_EQ(r.code, 2) << args << "\n" << r.out;
        EXPECT_FALSE(std::filesystem::exists(bad)) << args;
    }
}

}  // namespace
}  // namespace kv
