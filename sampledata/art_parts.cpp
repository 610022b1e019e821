// The parts sheet: hills and mountains joined to their neighbours below, and the two massifs
// of seven hexes, each painted as one picture and cut into its members.
#include <QPainter>

#include <vector>

#include "sampledata/art.h"
#include "sampledata/art_canvas.h"
#include "sampledata/art_paint.h"

namespace kv::sample {

namespace {

// The picture of terrain 4, 5 or 20 with a spur running down to the south-east side (j = 0),
// the south-west side (1) or both (2).
QImage joinedPicture(int terrain, int j) {
    QImage cell = blankImage();
    paintBasePicture(terrain, cell);
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(static_cast<uint64_t>(terrain * 10 + j));
    for (int side : {2, 1}) {
        if (!(j == 2 || (j == 0 && side == 2) || (j == 1 && side == 1))) continue;
        const double dir = side == 2 ? 1 : -1;
        if (terrain == 4) {
            drawMound(p, {24 + dir * 8, 41}, 17, 9, QColor(194, 196, 116), QColor(104, 116, 58));
            drawMound(p, {24 + dir * 13, 47}, 15, 6, QColor(194, 196, 116), QColor(104, 116, 58));
        } else {
            const PeakStyle s = terrain == 5 ? mountainStyle() : snowMountainStyle();
            drawPeak(p, {24 + dir * 8, 42}, 17, 14, s, rng);
            drawPeak(p, {24 + dir * 13, 48}, 13, 9, s, rng);
        }
    }
    return cell;
}

// Where the members of a seven-hex group lie in the group's picture (144 x 120), in member
// order: north-west, north-east, west, centre, east, south-west, south-east.
const QPoint kMemberOrigin[7] = {{24, 0}, {72, 0}, {0, 36}, {48, 36}, {96, 36}, {24, 72}, {72, 72}};

std::vector<QImage> massif(bool snow) {
    QImage canvas = blankImage(144, 120);
    // The centre member sits at (48, 36): the ground lines up with the single hexes'.
    const Ground ground = snow ? Ground{QColor(214, 222, 236), QColor(238, 242, 250), 0.06, 201}
                               : Ground{QColor(138, 124, 94), QColor(164, 148, 112), 0.12, 51};
    paintGround(canvas, ground, QPoint(-48, -36));
    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::Antialiasing);
        Rng rng(snow ? 1007 : 1000);
        PeakStyle main = snow ? snowMountainStyle() : mountainStyle();
        if (!snow) {
            main.snow = QColor(248, 248, 250);
            main.snowLine = 0.28;
        }
        const PeakStyle side = snow ? snowMountainStyle() : mountainStyle();
        drawPeak(p, {48, 36}, 30, 22, side, rng);
        drawPeak(p, {96, 36}, 30, 22, side, rng);
        drawPeak(p, {27, 70}, 28, 20, side, rng);
        drawPeak(p, {117, 70}, 28, 20, side, rng);
        drawPeak(p, {72, 80}, 66, 60, main, rng);
        drawPeak(p, {44, 88}, 24, 18, side, rng);
        drawPeak(p, {100, 88}, 24, 18, side, rng);
        drawPeak(p, {52, 106}, 28, 17, side, rng);
        drawPeak(p, {94, 106}, 28, 17, side, rng);
    }
    std::vector<QImage> members;
    for (const QPoint& o : kMemberOrigin) {
        QImage cell = canvas.copy(o.x(), o.y(), kCell, kCell);
        keepHex(cell);
        members.push_back(cell);
    }
    return members;
}

}  // namespace

QImage partsSheetImage() {
    Sheet sheet(10, 6);
    auto put = [&](int index, QImage cell) {
        keepHex(cell);
        const QImage k = keyed(cell);
        sheet.put(index % 10, index / 10, k);
        sheet.put(index % 10, index / 10 + 3, framed(k));
    };
    const int terrains[3] = {4, 5, 20};
    for (int g = 0; g < 3; ++g) {
        for (int j = 0; j < 3; ++j) put(3 * g + j, joinedPicture(terrains[g], j));
    }
    for (int group = 0; group < 2; ++group) {
        const std::vector<QImage> members = massif(group == 1);
        const int first =
            (group == 0 ? parts_picture::kMegaMountains : parts_picture::kMegaSnowMountains) - 991;
        for (int m = 0; m < 7; ++m) put(first + m, members[m]);
    }
    return sheet.image();
}

}  // namespace kv::sample
