// The overview colour strips of the HQ map and the briefing preview, and the small
// interface bitmaps loaded at start-up.
#include <QLinearGradient>
#include <QPainter>

#include "framework/faction_colours.h"
#include "gamedata/terrain.h"
#include "sampledata/art.h"
#include "sampledata/art_canvas.h"
#include "sampledata/art_paint.h"
#include "sampledata/art_shapes.h"
#include "sampledata/terrain_data.h"

namespace kv::sample {

namespace {

constexpr int kOverviewSquares = 64;

// The mean colour of the hex pixels of a sheet cell.
QColor meanColour(const QImage& sheet, int column, int row) {
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            const QRgb p = sheet.pixel(column * kCell + x, row * kCell + y);
            if ((p | 0xFF000000u) == kKey) continue;
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
            ++n;
        }
    }
    if (n == 0) return grey(128);
    return QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

// Colour row 1: how a truck crosses the terrain; waters and rivers in blues.
QColor trafficColour(const TerrainType& t) {
    switch (t.category) {
        case TerrainCategory::River: return QColor(60, 160, 250);
        case TerrainCategory::DeepRiver: return QColor(30, 90, 220);
        case TerrainCategory::FrozenRiver: return QColor(170, 220, 255);
        case TerrainCategory::Shallows: return QColor(120, 190, 230);
        case TerrainCategory::Sea:
            return t.moveCost[10] > 1 ? QColor(20, 60, 140) : QColor(40, 110, 200);
        default: break;
    }
    switch (t.moveCost[static_cast<int>(MovementType::VehicleB)]) {
        case 0:
            return t.moveCost[static_cast<int>(MovementType::InfantryA)] ? QColor(110, 80, 60)
                                                                         : QColor(56, 56, 60);
        case 1: return QColor(236, 226, 180);
        case 2: return QColor(214, 190, 120);
        case 3: return QColor(186, 140, 70);
        default: return QColor(150, 96, 50);
    }
}

void fillSquare(QImage& image, int index, int row, int scale, const QColor& c) {
    for (int y = 0; y < scale; ++y) {
        for (int x = 0; x < scale; ++x) image.setPixel(index * scale + x, row * scale + y, c.rgb());
    }
}

}  // namespace

QImage overviewStrip(int scale, const QImage& baseSheet, const QImage& buildingSheet) {
    QImage image(kOverviewSquares * scale, 2 * scale, QImage::Format_RGB32);
    image.fill(grey(128));
    const std::vector<TerrainType> table = parseTerrainTable(terrainDataBytes());
    for (const TerrainType& t : table) {
        if (t.name[0] == '\0' || t.overviewColour >= kOverviewSquares) continue;
        const int n = t.defaultPicture;
        const bool built = static_cast<int>(t.category) > 10;
        // A river's picture is mostly the ground it runs through: its square shows the water.
        const bool river = t.category == TerrainCategory::River ||
                           t.category == TerrainCategory::DeepRiver ||
                           t.category == TerrainCategory::FrozenRiver;
        const QColor own = river   ? trafficColour(t)
                           : built ? meanColour(buildingSheet, n % 10, n / 10)
                                   : meanColour(baseSheet, n % 10, n / 10);
        fillSquare(image, t.overviewColour, 0, scale, own);
        fillSquare(image, t.overviewColour, 1, scale, trafficColour(t));
    }
    return image;
}

QImage ownerStrip(int scale) {
    QImage image(7 * scale, scale, QImage::Format_RGB32);
    const FactionColourTable defaults;
    for (int f = 0; f < 6; ++f) {
        const int angle = defaults.hueAngle(FactionColourTable::factionEntry(f));
        const QColor c = QColor::fromRgb(rotateHue(factionShade(0.6).rgb(), angle) | 0xFF000000u);
        fillSquare(image, f, 0, scale, c);
    }
    fillSquare(image, 6, 0, scale, grey(232));
    return image;
}

namespace {

// Six 16-pixel category icons, one per altitude layer: very high, high, low, ground, sea,
// under the sea.
QImage categoryBitmap() {
    QImage image(96, 16, QImage::Format_RGB32);
    image.fill(kKey);
    static const QColor kLayer[6] = {QColor(120, 120, 200), QColor(70, 140, 220),
                                     QColor(60, 170, 90),   QColor(150, 120, 50),
                                     QColor(40, 90, 200),   QColor(40, 50, 110)};
    static const int kPicture[6] = {0, 1, 13, 19, 44, 54};
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 6; ++i) {
        const QRectF cell(i * 16 + 0.5, 0.5, 15, 15);
        p.setPen(QPen(scaled(kLayer[i], 0.5), 1));
        p.setBrush(kLayer[i]);
        p.drawRoundedRect(cell, 3, 3);
        drawFlatShape(p, kPicture[i], cell.adjusted(1.5, 2, -1.5, -2), grey(250), grey(60),
                      scaled(kLayer[i], 0.4), 0.5);
    }
    return image;
}

void bevel(QPainter& p, const QRectF& r, bool pressed, bool enabled) {
    const QColor face = enabled ? grey(212) : grey(196);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, pressed ? scaled(face, 0.88) : scaled(face, 1.08));
    g.setColorAt(1, pressed ? face : scaled(face, 0.9));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRect(r);
    const QColor light = grey(250), dark = grey(96);
    p.setPen(pressed ? dark : light);
    p.drawLine(r.topLeft(), r.topRight() - QPointF(1, 0));
    p.drawLine(r.topLeft(), r.bottomLeft() - QPointF(0, 1));
    p.setPen(pressed ? light : dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

// Three plain button faces of 72 x 22: up, down, disabled.
QImage panelButtonBitmap() {
    QImage image(216, 22, QImage::Format_RGB32);
    QPainter p(&image);
    for (int i = 0; i < 3; ++i) bevel(p, QRectF(i * 72, 0, 71, 21), i == 1, i != 2);
    return image;
}

// Four faces of 20 x 20 of the information button: up, down, lit, disabled.
QImage infoButtonBitmap() {
    QImage image(80, 20, QImage::Format_RGB32);
    QPainter p(&image);
    for (int i = 0; i < 4; ++i) {
        const QRectF r(i * 20, 0, 19, 19);
        bevel(p, r, i == 1, i != 3);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor disc = i == 3   ? grey(150)
                            : i == 2 ? QColor(70, 150, 240)
                                     : QColor(40, 100, 200);
        const QPointF c = r.center() + (i == 1 ? QPointF(0.5, 0.5) : QPointF());
        p.setPen(QPen(scaled(disc, 0.6), 1));
        p.setBrush(disc);
        p.drawEllipse(c, 7, 7);
        p.setPen(Qt::NoPen);
        p.setBrush(grey(255));
        p.drawEllipse(c + QPointF(0, -3.5), 1.3, 1.3);
        p.drawRect(QRectF(c.x() - 1.1, c.y() - 1.2, 2.2, 5.5));
        p.setRenderHint(QPainter::Antialiasing, false);
    }
    return image;
}

}  // namespace

std::vector<ArtFile> interfaceBitmaps() {
    return {{"bmp/category.bmp", categoryBitmap()},
            {"bmp/panel_btn.bmp", panelButtonBitmap()},
            {"bmp/info_btn.bmp", infoButtonBitmap()}};
}

}  // namespace kv::sample
