// The building sheet: cities, airports, ports, factories, bases and the other facilities,
// with their faction-coloured parts (roofs, domes, flags) on rows of their own.
#include <QLinearGradient>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <functional>

#include "sampledata/art.h"
#include "sampledata/art_canvas.h"
#include "sampledata/art_paint.h"

namespace kv::sample {

namespace {

namespace bp = building_picture;
constexpr double kPi = 3.14159265358979323846;

// The colour of a building's faction parts: grey in the plain picture, the faction hue in
// the faction-coloured copy.
struct Livery {
    bool faction;
    QColor operator()(double level) const {
        return faction ? factionShade(level) : neutralShade(level);
    }
};

void shadowed(QPainter& p, const QPainterPath& shape, QPointF offset, int alpha = 90) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, alpha));
    p.drawPath(shape.translated(offset));
}

// A building seen from above and a little from the south: roof, south wall, shadow.
void block(QPainter& p, QRectF roof, double wall, const QColor& roofColour,
           const QColor& wallColour = QColor(214, 206, 190)) {
    QPainterPath body;
    body.addRect(roof.adjusted(0, 0, 0, wall));
    shadowed(p, body, {wall * 0.7 + 1, 1.2});
    p.setPen(QPen(QColor(60, 56, 52), 0.8));
    p.setBrush(wallColour);
    p.drawRect(QRectF(roof.left(), roof.bottom(), roof.width(), wall));
    p.setBrush(roofColour);
    p.drawRect(roof);
    p.setPen(QPen(scaled(roofColour, 1.35), 0.8));
    p.drawLine(roof.topLeft() + QPointF(0.8, 0.8), roof.topRight() + QPointF(-0.8, 0.8));
}

// A house with a ridged roof: the lit and the shaded half.
void house(QPainter& p, QPointF c, double w, double h, const QColor& roofColour) {
    const QRectF r(c.x() - w / 2, c.y() - h / 2, w, h);
    QPainterPath body;
    body.addRect(r.adjusted(0, 0, 0, 2));
    shadowed(p, body, {1.6, 1.2});
    p.setPen(QPen(QColor(60, 52, 46), 0.7));
    p.setBrush(QColor(226, 216, 196));
    p.drawRect(QRectF(r.left(), r.bottom(), r.width(), 2));
    p.setBrush(scaled(roofColour, 1.2));
    p.drawRect(QRectF(r.left(), r.top(), r.width(), r.height() / 2));
    p.setBrush(scaled(roofColour, 0.78));
    p.drawRect(QRectF(r.left(), r.center().y(), r.width(), r.height() / 2));
}

void flag(QPainter& p, QPointF foot, double pole, const Livery& L) {
    p.setPen(QPen(QColor(50, 50, 50), 1.0));
    p.drawLine(foot, foot - QPointF(0, pole));
    QPainterPath f;
    const QPointF top = foot - QPointF(0, pole);
    f.moveTo(top);
    f.lineTo(top + QPointF(9, 1.5));
    f.lineTo(top + QPointF(8, 4));
    f.lineTo(top + QPointF(0, 5.5));
    f.closeSubpath();
    p.setPen(QPen(L(0.1), 0.7));
    p.setBrush(L(0.6));
    p.drawPath(f);
}

// Corners of the hex, from the top clockwise.
QPointF corner(int k) {
    static const QPointF kCorners[6] = {{24, 0}, {48, 12}, {48, 36}, {24, 48}, {0, 36}, {0, 12}};
    return kCorners[((k % 6) + 6) % 6];
}

QPointF towardCorner(int k, double t) {
    return kCentre + (corner(k) - kCentre) * t;
}

// Roads come in at every side as roads and go on inside the town as narrower streets.
void streets(QPainter& p) {
    QPainterPath rim;
    rim.addPolygon(hexPolygon());
    QPolygonF inner = hexPolygon();
    for (QPointF& q : inner) q = kCentre + (q - kCentre) * 0.62;
    rim.addPolygon(inner);
    p.save();
    p.setClipPath(rim);
    drawRoadPiece(p, 63);
    p.restore();
    QPainterPath lanes;
    for (int side = 0; side < 6; ++side) {
        lanes.moveTo(kCentre);
        lanes.lineTo(kCentre + (edgeMidpoint(side) - kCentre) * 0.75);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(86, 78, 66), 6, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(lanes);
    p.setPen(QPen(QColor(176, 170, 156), 4, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(lanes);
}

// The built-up blocks of a town: the hex less its streets (and a square in the middle).
QPainterPath townBlocks(double inset, double plaza) {
    QPolygonF hex = hexPolygon();
    for (QPointF& q : hex) {
        const QPointF d = q - kCentre;
        const double len = std::hypot(d.x(), d.y());
        q = kCentre + d * ((len - inset) / len);
    }
    QPainterPath blocks;
    blocks.addPolygon(hex);
    blocks.closeSubpath();
    QPainterPath spokes;
    for (int side = 0; side < 6; ++side) {
        spokes.moveTo(kCentre);
        spokes.lineTo(kCentre + (edgeMidpoint(side) - kCentre) * 1.3);
    }
    QPainterPathStroker stroker;
    stroker.setWidth(7);
    blocks = blocks.subtracted(stroker.createStroke(spokes));
    if (plaza > 0) {
        QPainterPath square;
        square.addEllipse(kCentre, plaza, plaza * 0.85);
        blocks = blocks.subtracted(square);
    }
    return blocks;
}

// Fills the blocks with buildings on a grid: roofs in the livery's shades, south walls of
// `wall` pixels and small shadows. Cells are `w` x `h`.
void townFabric(QPainter& p, const QPainterPath& blocks, const Livery& L, double w, double h,
                double wall, uint32_t seed) {
    p.save();
    p.setClipPath(blocks);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 86, 80));
    p.drawPath(blocks);
    static const double kLevels[4] = {0.28, 0.45, 0.62, 0.8};
    for (int j = 0; j * h < kCell + h; ++j) {
        for (int i = -1; i * w < kCell + w; ++i) {
            const double x = i * w + (j % 2) * w / 2, y = j * h - 1;
            const uint32_t hsh = hashPoint(i, j, seed);
            const double extra = (hsh >> 8) % 3 == 0 ? wall * 0.8 : 0;
            const QRectF roof(x + 0.5, y + 0.5 - extra, w - 1.5, h - 1.5 - wall);
            p.setBrush(QColor(0, 0, 0, 70));
            p.drawRect(roof.translated(1.2, wall + extra + 0.4).adjusted(0, 0, 0, 0));
            p.setBrush(QColor(218, 208, 188));
            p.drawRect(QRectF(roof.left(), roof.bottom(), roof.width(), wall + extra));
            p.setBrush(L(kLevels[hsh % 4]));
            p.drawRect(roof);
            p.setBrush(L(std::min(1.0, kLevels[hsh % 4] + 0.3)));
            p.drawRect(QRectF(roof.left(), roof.top(), roof.width(), 0.9));
        }
    }
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(70, 66, 60), 0.7));
    p.drawPath(blocks);
}

void capital(QPainter& p, const Livery& L) {
    streets(p);
    townFabric(p, townBlocks(1.5, 11), L, 9, 8, 1.8, 31);
    // The square, the palace with its dome, the flag and a gold star.
    p.setPen(QPen(QColor(120, 112, 96), 0.8));
    p.setBrush(QColor(226, 218, 196));
    p.drawEllipse(kCentre, 10.5, 9);
    block(p, QRectF(16, 24, 16, 6), 3, L(0.4), QColor(240, 234, 216));
    QRadialGradient dome(QPointF(21.5, 16.5), 9);
    dome.setColorAt(0, L(1.0));
    dome.setColorAt(0.6, L(0.55));
    dome.setColorAt(1, L(0.1));
    p.setBrush(dome);
    p.setPen(QPen(L(0.0), 0.9));
    p.drawChord(QRectF(17, 14.5, 14, 19), 0, 180 * 16);
    flag(p, QPointF(24, 15), 10, L);
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double a = -kPi / 2 + i * kPi / 5;
        const double r = i % 2 ? 1.7 : 3.8;
        const QPointF q(24 + std::cos(a) * r, 36.5 + std::sin(a) * r);
        if (i == 0)
            star.moveTo(q);
        else
            star.lineTo(q);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(70, 66, 60), 0.8));
    p.setBrush(QColor(244, 240, 228));
    p.drawEllipse(QPointF(24, 36.5), 5.2, 5);
    p.setPen(QPen(QColor(120, 80, 10), 0.7));
    p.setBrush(QColor(255, 206, 40));
    p.drawPath(star);
}

void city(QPainter& p, const Livery& L, int density) {
    streets(p);
    if (density == 2) {
        townFabric(p, townBlocks(1.5, 0), L, 8, 8, 2.4, 32);
        // Towers in the middle.
        block(p, QRectF(19, 13, 10, 8), 9, L(0.72), QColor(190, 200, 214));
        p.setPen(QPen(QColor(110, 140, 176), 0.8));
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(20, 23 + i * 2.6), QPointF(28, 23 + i * 2.6));
    } else {
        townFabric(p, townBlocks(3, 6), L, 10, 9, 1.8, 33);
        block(p, QRectF(20, 19, 8, 6), 3, L(0.7));
    }
}

void smallCity(QPainter& p, const Livery& L) {
    streets(p);
    const int sectors[] = {0, 1, 3, 4, 5};
    for (int k : sectors) {
        house(p, towardCorner(k, 0.52), 8.5, 7, L(0.45 + 0.1 * (k % 3)));
    }
    house(p, towardCorner(2, 0.55), 6.5, 5.5, L(0.75));
}

void urbanArea(QPainter& p) {
    streets(p);
    const QColor roofs[] = {QColor(150, 84, 60), QColor(110, 110, 120), QColor(170, 120, 80)};
    for (int k = 0; k < 6; ++k) {
        house(p, towardCorner(k, 0.45), 6.5, 5.5, roofs[k % 3]);
        house(p, towardCorner(k, 0.8), 6, 5, roofs[(k + 1) % 3]);
    }
}

void runway(QPainter& p, QPointF a, QPointF b, double width) {
    p.setPen(QPen(QColor(60, 60, 60), width + 1.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
    p.setPen(QPen(QColor(96, 96, 98), width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
    QPen dash(QColor(240, 240, 240), 1.0, Qt::SolidLine, Qt::FlatCap);
    dash.setDashPattern({2.5, 2.5});
    p.setPen(dash);
    p.drawLine(a, b);
}

void jet(QPainter& p, QPointF c, double s, double angle) {
    p.save();
    p.translate(c);
    p.rotate(angle);
    p.scale(s, s);
    QPainterPath j;
    j.moveTo(0, -5);
    j.lineTo(0.8, -2);
    j.lineTo(5, 1);
    j.lineTo(5, 2);
    j.lineTo(0.8, 1);
    j.lineTo(0.7, 3.5);
    j.lineTo(2, 4.6);
    j.lineTo(-2, 4.6);
    j.lineTo(-0.7, 3.5);
    j.lineTo(-0.8, 1);
    j.lineTo(-5, 2);
    j.lineTo(-5, 1);
    j.lineTo(-0.8, -2);
    j.closeSubpath();
    p.setPen(QPen(QColor(60, 64, 70), 0.35));
    p.setBrush(QColor(220, 224, 230));
    p.drawPath(j);
    p.restore();
}

void airport(QPainter& p, const Livery& L) {
    runway(p, QPointF(-2, 20), QPointF(50, 20), 7);
    runway(p, QPointF(9, 44), QPointF(38, 3), 5);
    // Apron, terminal and tower.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 150, 146));
    p.drawRect(QRectF(8, 27, 22, 10));
    block(p, QRectF(9, 29, 18, 5), 3, L(0.45));
    block(p, QRectF(32, 28, 5, 5), 6, L(0.8), QColor(200, 206, 214));
    p.setPen(QPen(QColor(40, 60, 80), 0.8));
    p.setBrush(QColor(120, 180, 220));
    p.drawRect(QRectF(32, 28, 5, 2));
    jet(p, QPointF(36, 40), 1.0, 200);
}

void airfield(QPainter& p, const Livery& L) {
    runway(p, QPointF(4, 38), QPointF(44, 10), 5.5);
    // An arched hangar.
    QPainterPath hangar;
    hangar.addRoundedRect(QRectF(8, 12, 14, 9), 4, 4);
    shadowed(p, hangar, {2, 1.5});
    QLinearGradient g(8, 12, 8, 21);
    g.setColorAt(0, L(0.95));
    g.setColorAt(1, L(0.25));
    p.setBrush(g);
    p.setPen(QPen(L(0.0), 0.8));
    p.drawPath(hangar);
    p.setPen(QPen(L(0.1), 0.6));
    for (int i = 1; i < 4; ++i) p.drawLine(QPointF(8 + i * 3.5, 12.5), QPointF(8 + i * 3.5, 20.5));
    block(p, QRectF(30, 30, 6, 5), 4, L(0.6));
    jet(p, QPointF(14, 32), 0.9, 60);
}

void chimney(QPainter& p, QPointF foot, double h, bool smoke) {
    p.setPen(QPen(QColor(70, 40, 30), 0.8));
    p.setBrush(QColor(160, 80, 60));
    p.drawRect(QRectF(foot.x() - 1.6, foot.y() - h, 3.2, h));
    if (smoke) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 150, 150, 210));
        p.drawEllipse(foot + QPointF(1.5, -h - 2.5), 3.2, 2.4);
        p.setBrush(QColor(180, 180, 180, 190));
        p.drawEllipse(foot + QPointF(5, -h - 5), 3.6, 2.6);
    }
}

void sawtoothHall(QPainter& p, QRectF r, const Livery& L, int teeth) {
    QPainterPath body;
    body.addRect(r.adjusted(0, 0, 0, 3));
    shadowed(p, body, {2.5, 1.5});
    p.setPen(QPen(QColor(60, 56, 52), 0.8));
    p.setBrush(QColor(200, 190, 170));
    p.drawRect(QRectF(r.left(), r.bottom(), r.width(), 3));
    const double w = r.width() / teeth;
    for (int i = 0; i < teeth; ++i) {
        const QRectF t(r.left() + i * w, r.top(), w, r.height());
        p.setBrush(L(0.7));
        p.drawRect(QRectF(t.left(), t.top(), w * 0.6, t.height()));
        p.setBrush(L(0.25));
        p.drawRect(QRectF(t.left() + w * 0.6, t.top(), w * 0.4, t.height()));
    }
}

void factory(QPainter& p, const Livery& L) {
    streets(p);
    sawtoothHall(p, QRectF(7, 20, 26, 12), L, 5);
    chimney(p, QPointF(37, 30), 16, true);
    chimney(p, QPointF(31, 19), 10, true);
    block(p, QRectF(12, 35, 12, 5), 2, L(0.5));
}

void tank(QPainter& p, QPointF c, double s, const QColor& body) {
    p.save();
    p.translate(c);
    p.scale(s, s);
    p.setPen(QPen(QColor(30, 34, 24), 0.5));
    p.setBrush(QColor(60, 60, 56));
    p.drawRoundedRect(QRectF(-6, -3.6, 12, 7.2), 1.2, 1.2);
    p.setBrush(body);
    p.drawRect(QRectF(-5, -2.6, 10, 5.2));
    p.setBrush(scaled(body, 1.2));
    p.drawEllipse(QPointF(-0.5, 0), 2.8, 2.4);
    p.setPen(QPen(QColor(30, 34, 24), 1.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(2, 0), QPointF(8, 0));
    p.restore();
}

void base(QPainter& p, const Livery& L) {
    // Fence, barracks, parade ground, flag.
    QPainterPath fence;
    fence.addRoundedRect(QRectF(7, 10, 34, 30), 3, 3);
    p.setBrush(QColor(170, 160, 120));
    p.setPen(QPen(QColor(90, 80, 60), 1.6, Qt::DashLine));
    p.drawPath(fence);
    for (int i = 0; i < 3; ++i) block(p, QRectF(10, 12.5 + i * 8, 13, 4.5), 2, L(0.35 + i * 0.15));
    tank(p, QPointF(32, 33), 1.0, QColor(96, 108, 64));
    flag(p, QPointF(33, 24), 11, L);
}

void storageTank(QPainter& p, QPointF c, double r, const Livery& L) {
    shadowed(p,
             [&] {
                 QPainterPath e;
                 e.addEllipse(c, r, r * 0.7);
                 return e;
             }(),
             {1.8, 1.5});
    p.setPen(QPen(QColor(80, 80, 80), 0.8));
    p.setBrush(QColor(236, 236, 232));
    p.drawRect(QRectF(c.x() - r, c.y(), 2 * r, r * 0.6));
    p.drawEllipse(QPointF(c.x(), c.y() + r * 0.6), r, r * 0.45);
    p.setBrush(L(0.55));
    p.drawEllipse(c, r, r * 0.45);
}

void pumpjack(QPainter& p, QPointF foot) {
    p.setPen(QPen(QColor(40, 40, 44), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(foot, foot + QPointF(3, -6));
    p.drawLine(foot + QPointF(6, 0), foot + QPointF(3, -6));
    p.setPen(QPen(QColor(40, 40, 44), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(foot + QPointF(-3, -5), foot + QPointF(9, -7.5));
    p.setBrush(QColor(40, 40, 44));
    p.setPen(Qt::NoPen);
    p.drawEllipse(foot + QPointF(-3.5, -4.2), 1.8, 2.4);
}

void oilField(QPainter& p, const Livery& L) {
    p.setPen(QPen(QColor(90, 90, 90), 1.0));
    p.drawLine(QPointF(10, 34), QPointF(38, 34));
    p.drawLine(QPointF(24, 34), QPointF(24, 20));
    storageTank(p, QPointF(15, 30), 5, L);
    storageTank(p, QPointF(33, 30), 5, L);
    pumpjack(p, QPointF(11, 20));
    pumpjack(p, QPointF(28, 16));
    // A derrick.
    p.setPen(QPen(QColor(50, 50, 54), 0.9));
    p.drawLine(QPointF(20, 44), QPointF(24, 30));
    p.drawLine(QPointF(28, 44), QPointF(24, 30));
    p.drawLine(QPointF(21.3, 39), QPointF(26.7, 39));
    p.drawLine(QPointF(22.5, 35), QPointF(25.5, 35));
    flag(p, QPointF(39, 22), 8, L);
}

void coolingTower(QPainter& p, QPointF foot, double h) {
    QPainterPath t;
    t.moveTo(foot + QPointF(-6, 0));
    t.quadTo(foot + QPointF(-3, -h * 0.55), foot + QPointF(-4.2, -h));
    t.lineTo(foot + QPointF(4.2, -h));
    t.quadTo(foot + QPointF(3, -h * 0.55), foot + QPointF(6, 0));
    t.closeSubpath();
    shadowed(p, t, {3, 1});
    QLinearGradient g(foot.x() - 6, 0, foot.x() + 6, 0);
    g.setColorAt(0, QColor(236, 236, 232));
    g.setColorAt(1, QColor(150, 150, 146));
    p.setBrush(g);
    p.setPen(QPen(QColor(90, 90, 90), 0.8));
    p.drawPath(t);
    p.setBrush(QColor(90, 90, 90));
    p.drawEllipse(foot + QPointF(0, -h), 4.2, 1.3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 245, 250, 220));
    p.drawEllipse(foot + QPointF(1, -h - 3.5), 5, 3);
}

void nuclearPlant(QPainter& p, const Livery& L) {
    coolingTower(p, QPointF(13, 30), 16);
    coolingTower(p, QPointF(26, 27), 14);
    block(p, QRectF(24, 31, 14, 6), 3, L(0.45));
    // Reactor dome.
    QRadialGradient dome(QPointF(34, 21), 8);
    dome.setColorAt(0, QColor(250, 250, 250));
    dome.setColorAt(1, QColor(150, 150, 150));
    p.setPen(QPen(QColor(80, 80, 80), 0.8));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(29, 22, 10, 5));
    p.setBrush(dome);
    p.drawChord(QRectF(29, 17, 10, 10), 0, 180 * 16);
    p.setPen(QPen(L(0.5), 1.6));
    p.drawLine(QPointF(29, 23.5), QPointF(39, 23.5));
    // The trefoil sign.
    p.setPen(QPen(QColor(40, 40, 40), 0.6));
    p.setBrush(QColor(255, 214, 30));
    p.drawEllipse(QPointF(14, 38), 3.6, 3.6);
    p.setBrush(QColor(30, 30, 30));
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 3; ++k) {
        p.drawPie(QRectF(10.9, 34.9, 6.2, 6.2), (90 + k * 120 - 30) * 16, 60 * 16);
    }
    p.setBrush(QColor(255, 214, 30));
    p.drawEllipse(QPointF(14, 38), 0.9, 0.9);
}

// The water side of a port: 0 west, 1 south, 2 east, 3 north.
QPainterPath waterSide(int side) {
    QPainterPath w;
    switch (side) {
        case 0: w.addRect(QRectF(-1, -1, 17, 50)); break;
        case 1: w.addRect(QRectF(-1, 31, 50, 18)); break;
        case 2: w.addRect(QRectF(32, -1, 17, 50)); break;
        default: w.addRect(QRectF(-1, -1, 50, 18)); break;
    }
    return w;
}

void crane(QPainter& p, QPointF foot, double dir) {
    p.setPen(QPen(QColor(120, 90, 10), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(foot, foot + QPointF(0, -9));
    p.setPen(QPen(QColor(230, 180, 30), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(foot + QPointF(-2 * dir, -9), foot + QPointF(8 * dir, -10));
    p.setPen(QPen(QColor(60, 60, 60), 0.5));
    p.drawLine(foot + QPointF(7 * dir, -10), foot + QPointF(7 * dir, -5));
}

void ship(QPainter& p, QPointF c, double length, bool vertical, const QColor& hull,
          const QColor& deck) {
    p.save();
    p.translate(c);
    if (vertical) p.rotate(90);
    QPainterPath h;
    h.moveTo(-length / 2, -2.2);
    h.lineTo(length / 2 - 3, -2.2);
    h.lineTo(length / 2, 0);
    h.lineTo(length / 2 - 3, 2.2);
    h.lineTo(-length / 2, 2.2);
    h.closeSubpath();
    p.setPen(QPen(QColor(30, 30, 30), 0.7));
    p.setBrush(hull);
    p.drawPath(h);
    p.setBrush(deck);
    p.drawRect(QRectF(-length / 2 + 2, -1.2, length * 0.3, 2.4));
    p.drawRect(QRectF(length * 0.05, -1, 2, 2));
    p.restore();
}

void port(QPainter& p, QImage& sea, int side, bool naval, const Livery& L) {
    const QPainterPath water = waterSide(side);
    p.save();
    p.setClipPath(water);
    p.drawImage(0, 0, sea);
    p.restore();
    p.setPen(QPen(QColor(210, 220, 230), 1.0));
    p.setBrush(Qt::NoBrush);
    // Quay along the shore and piers into the water.
    const bool vertical = side == 0 || side == 2;
    const double dir = side == 0 || side == 3 ? -1 : 1;
    const QColor concrete = naval ? QColor(150, 154, 160) : QColor(176, 170, 158);
    p.setPen(QPen(QColor(70, 70, 70), 0.8));
    p.setBrush(concrete);
    for (int i = 0; i < 2; ++i) {
        const double at = 16 + i * 16;
        QRectF pier = vertical ? QRectF(dir < 0 ? 2 : 32, at - 2, 14, 4)
                               : QRectF(at - 2, dir < 0 ? 2 : 32, 4, 14);
        p.drawRect(pier);
        const QPointF shipAt =
            vertical ? QPointF(dir < 0 ? 8 : 40, at + 5) : QPointF(at + 5, dir < 0 ? 8 : 40);
        if (naval)
            ship(p, shipAt, 12, !vertical, QColor(120, 126, 134), QColor(170, 176, 184));
        else if (i == 0)
            ship(p, shipAt, 12, !vertical, QColor(150, 46, 40), QColor(220, 200, 120));
    }
    // Warehouses on the land side, cranes on the quay.
    const QPointF land = vertical ? QPointF(dir < 0 ? 31 : 17, 24) : QPointF(24, dir < 0 ? 31 : 17);
    if (vertical) {
        block(p, QRectF(land.x() - 6, 12, 12, 6), 3, L(0.4));
        block(p, QRectF(land.x() - 6, 27, 12, 6), 3, L(0.6));
        crane(p, QPointF(dir < 0 ? 18 : 30, 26), dir);
    } else {
        block(p, QRectF(11, land.y() - 5, 11, 6), 3, L(0.4));
        block(p, QRectF(27, land.y() - 5, 11, 6), 3, L(0.6));
        crane(p, QPointF(24, dir < 0 ? 21 : 33), 1);
    }
    if (naval) {
        // An anchor emblem in the faction colour.
        const QPointF a =
            vertical ? QPointF(land.x(), 39)
                     : QPointF(land.x() + (dir < 0 ? 12 : -12), land.y() + (dir < 0 ? 8 : -8));
        p.setPen(QPen(L(0.2), 1.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawLine(a + QPointF(0, -4), a + QPointF(0, 3.5));
        p.drawLine(a + QPointF(-2, -2.5), a + QPointF(2, -2.5));
        p.drawArc(QRectF(a.x() - 3.5, a.y() - 1, 7, 5), 180 * 16, 180 * 16);
    }
}

void heliport(QPainter& p, const Livery& L) {
    p.setPen(QPen(QColor(240, 240, 240), 1.2));
    p.setBrush(QColor(92, 92, 96));
    p.drawEllipse(QPointF(22, 26), 11, 9.5);
    p.setPen(QPen(QColor(250, 250, 250), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(18.5, 21), QPointF(18.5, 31));
    p.drawLine(QPointF(25.5, 21), QPointF(25.5, 31));
    p.drawLine(QPointF(18.5, 26), QPointF(25.5, 26));
    block(p, QRectF(34, 19, 8, 10), 3, L(0.5));
    // A windsock.
    p.setPen(QPen(QColor(50, 50, 50), 0.8));
    p.drawLine(QPointF(12, 41), QPointF(12, 35));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 140, 20));
    p.drawRect(QRectF(12, 35, 5, 2));
}

void missileBase(QPainter& p, const Livery& L) {
    p.setPen(QPen(QColor(90, 90, 80), 1.2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(24, 26), 18, 14);
    for (const QPointF c : {QPointF(14, 30), QPointF(22, 36)}) {
        p.setPen(QPen(QColor(60, 60, 60), 0.8));
        p.setBrush(QColor(170, 170, 166));
        p.drawEllipse(c, 4, 3);
        p.setBrush(QColor(110, 110, 106));
        p.drawEllipse(c, 2.2, 1.6);
    }
    block(p, QRectF(27, 30, 10, 5), 2, L(0.45));
    // A missile standing on its launcher.
    QPainterPath m;
    m.moveTo(20, 4);
    m.quadTo(22.5, 6, 22.5, 10);
    m.lineTo(22.5, 25);
    m.lineTo(17.5, 25);
    m.lineTo(17.5, 10);
    m.quadTo(17.5, 6, 20, 4);
    shadowed(p, m, {4, 2});
    p.setPen(QPen(QColor(60, 60, 60), 0.8));
    p.setBrush(QColor(236, 236, 232));
    p.drawPath(m);
    QPainterPath nose;
    nose.moveTo(20, 4);
    nose.quadTo(22.5, 6, 22.5, 10);
    nose.lineTo(17.5, 10);
    nose.quadTo(17.5, 6, 20, 4);
    p.setBrush(L(0.5));
    p.drawPath(nose);
    p.setBrush(QColor(70, 70, 70));
    for (const double dx : {-4.5, 2.5}) {
        QPainterPath fin;
        fin.moveTo(20 + (dx < 0 ? -2.5 : 2.5), 20);
        fin.lineTo(20 + dx + (dx < 0 ? 0 : 2), 26);
        fin.lineTo(20 + (dx < 0 ? -2.5 : 2.5), 25);
        fin.closeSubpath();
        p.drawPath(fin);
    }
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.drawLine(QPointF(14, 27), QPointF(26, 27));
}

void weaponsFactory(QPainter& p, const Livery& L) {
    streets(p);
    sawtoothHall(p, QRectF(6, 14, 24, 11), L, 4);
    chimney(p, QPointF(35, 24), 12, true);
    tank(p, QPointF(19, 35), 1.15, QColor(96, 108, 64));
    // Shells stacked in front.
    p.setPen(QPen(QColor(80, 60, 20), 0.6));
    p.setBrush(QColor(200, 160, 60));
    for (int i = 0; i < 3; ++i) p.drawRoundedRect(QRectF(31 + i * 2.6, 31, 2.2, 7), 1, 1);
}

void fortress(QPainter& p, const Livery& L) {
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double a = -kPi / 2 + i * kPi / 5;
        const double r = i % 2 ? 10.5 : 17.5;
        const QPointF q(24 + std::cos(a) * r, 25 + std::sin(a) * r * 0.85);
        if (i == 0)
            star.moveTo(q);
        else
            star.lineTo(q);
    }
    star.closeSubpath();
    shadowed(p, star, {2, 2});
    p.setPen(QPen(QColor(70, 66, 60), 1.0));
    p.setBrush(QColor(176, 168, 150));
    p.drawPath(star);
    p.setBrush(QColor(120, 140, 80));
    p.drawEllipse(QPointF(24, 25), 8.5, 7.5);
    block(p, QRectF(18.5, 19, 11, 8), 4, L(0.45), QColor(190, 182, 164));
    flag(p, QPointF(24, 19), 10, L);
}

void dam(QPainter& p, QImage& water, const Livery& L) {
    QPainterPath lake;
    lake.moveTo(-1, -1);
    lake.lineTo(49, -1);
    lake.lineTo(49, 22);
    lake.quadTo(24, 30, -1, 22);
    lake.closeSubpath();
    p.save();
    p.setClipPath(lake);
    p.drawImage(0, 0, water);
    p.restore();
    drawRiverPiece(p, 0b000110, 0);
    // The curved wall.
    QPainterPath wall;
    wall.moveTo(-1, 22);
    wall.quadTo(24, 30, 49, 22);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(90, 90, 90), 6, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(wall);
    p.setPen(QPen(QColor(206, 204, 198), 4, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(wall);
    p.setPen(QPen(QColor(220, 240, 255), 1.6));
    p.drawLine(QPointF(22, 27.5), QPointF(22, 31));
    p.drawLine(QPointF(26, 27.5), QPointF(26, 31));
    block(p, QRectF(33, 31, 8, 5), 3, L(0.5));
}

void tunnel(QPainter& p, const Livery& L) {
    drawRoadPiece(p, 63);
    Rng rng(48);
    drawPeak(p, QPointF(24, 34), 40, 28, mountainStyle(), rng);
    // The portal.
    QPainterPath arch;
    arch.moveTo(18, 36);
    arch.lineTo(18, 29);
    arch.arcTo(QRectF(18, 24, 12, 10), 180, -180);
    arch.lineTo(30, 36);
    arch.closeSubpath();
    p.setPen(QPen(QColor(60, 58, 54), 0.8));
    p.setBrush(L(0.5));
    p.drawPath(arch);
    QPainterPath hole;
    hole.moveTo(20, 36);
    hole.lineTo(20, 30);
    hole.arcTo(QRectF(20, 26, 8, 8), 180, -180);
    hole.lineTo(28, 36);
    hole.closeSubpath();
    p.setBrush(QColor(20, 18, 16));
    p.drawPath(hole);
}

Ground groundOf(int n) {
    switch (n) {
        case bp::kCapital:
        case bp::kLargeCity:
        case bp::kMediumCity:
        case bp::kFactory:
        case bp::kWeaponsFactory: return paveGround();
        case bp::kOilField: return {QColor(204, 180, 124), QColor(226, 204, 146), 0.1, 131};
        case bp::kTunnel: return {QColor(138, 124, 94), QColor(164, 148, 112), 0.12, 51};
        case bp::kBridgeWater: return {QColor(56, 118, 196), QColor(82, 146, 218), 0.04, 241};
        default: return grassGround(11 + static_cast<uint32_t>(n));
    }
}

void paintBuilding(int n, QImage& cell, const Livery& L) {
    paintGround(cell, groundOf(n));
    QImage water = blankImage();
    paintGround(water, n == bp::kDam ? groundOf(bp::kBridgeWater) : seaGround());
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    switch (n) {
        case bp::kCapital: capital(p, L); break;
        case bp::kLargeCity: city(p, L, 2); break;
        case bp::kMediumCity: city(p, L, 1); break;
        case bp::kSmallCity: smallCity(p, L); break;
        case bp::kAirport: airport(p, L); break;
        case bp::kAirfield: airfield(p, L); break;
        case bp::kFactory: factory(p, L); break;
        case bp::kBase: base(p, L); break;
        case bp::kOilField: oilField(p, L); break;
        case bp::kNuclearPlant: nuclearPlant(p, L); break;
        case bp::kHeliport: heliport(p, L); break;
        case bp::kMissileBase: missileBase(p, L); break;
        case bp::kWeaponsFactory: weaponsFactory(p, L); break;
        case bp::kFortress: fortress(p, L); break;
        case bp::kDam: dam(p, water, L); break;
        case bp::kTunnel: tunnel(p, L); break;
        case bp::kBridgeWater: break;
        case bp::kUrbanArea: urbanArea(p); break;
        default:
            if (n >= bp::kPort && n < bp::kPort + 4) port(p, water, n - bp::kPort, false, L);
            if (n >= bp::kNavalPort && n < bp::kNavalPort + 4) {
                port(p, water, n - bp::kNavalPort, true, L);
            }
            break;
    }
}

}  // namespace

QImage buildingSheetImage() {
    Sheet sheet(10, 6);
    for (int n = 0; n < bp::kCount; ++n) {
        QImage plain = blankImage(), coloured = blankImage();
        paintBuilding(n, plain, Livery{false});
        paintBuilding(n, coloured, Livery{true});
        keepHex(plain);
        keepHex(coloured);
        const QImage a = keyed(plain);
        QImage b = keyed(coloured);
        // The faction-coloured copy keeps what differs from the plain picture and carries the
        // faction hue; edge pixels blended with other colours would turn into odd colours
        // when rotated, so there the plain picture's edge shows instead.
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < kCell; ++x) {
                const bool factionHue = nearFactionHue(QColor::fromRgb(b.pixel(x, y)), 25);
                if (a.pixel(x, y) == b.pixel(x, y) || !factionHue) b.setPixel(x, y, kKey);
            }
        }
        sheet.put(n % 10, n / 10, a);
        sheet.put(n % 10, n / 10 + 3, b);
    }
    return sheet.image();
}

}  // namespace kv::sample
