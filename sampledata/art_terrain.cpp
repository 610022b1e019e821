// The base sheet (natural terrain, waters, the overlays' own pictures) and the parts sheet
// (joined hills and mountains, the two seven-hex mountain massifs).
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "sampledata/art.h"
#include "sampledata/art_canvas.h"
#include "sampledata/art_paint.h"

namespace kv::sample {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Points inside the hex at least `margin` from its border and `spacing` from each other.
std::vector<QPointF> scatter(Rng& rng, int count, double spacing, double margin,
                             QPointF offset = {}) {
    std::vector<QPointF> out;
    for (int tries = 0; tries < 600 && static_cast<int>(out.size()) < count; ++tries) {
        const QPointF q(rng.range(0, kCell), rng.range(0, kCell));
        if (hexInset(q) < margin) continue;
        bool clear = true;
        for (const QPointF& o : out) {
            const QPointF d = o - (q + offset);
            clear = clear && d.x() * d.x() + d.y() * d.y() >= spacing * spacing;
        }
        if (clear) out.push_back(q + offset);
    }
    // Draw from the back (top) to the front (bottom).
    std::sort(out.begin(), out.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
    return out;
}

// Per-pixel painting over the grid coordinates u, v (one hex period is the unit square).
void paintByGrid(QImage& image, const std::function<QRgb(int x, int y, double u, double v)>& f) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double v = y / 36.0, u = x / 48.0 - y / 72.0;
            line[x] = f(x, y, u, v);
        }
    }
}

QRgb tone(const QColor& c, double f) {
    return qRgb(std::clamp(static_cast<int>(c.red() * f), 0, 255),
                std::clamp(static_cast<int>(c.green() * f), 0, 255),
                std::clamp(static_cast<int>(c.blue() * f), 0, 255));
}

double frac(double x) {
    return x - std::floor(x);
}

void waves(QPainter& p, Rng& rng, int count, const QColor& colour, double size) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 1.1, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF& c : scatter(rng, count, size * 2.2, size * 0.9)) {
        QPainterPath w;
        w.moveTo(c - QPointF(size, 0));
        w.quadTo(c - QPointF(size / 2, size * 0.55), c);
        w.quadTo(c + QPointF(size / 2, size * 0.55), c + QPointF(size, 0));
        p.drawPath(w);
    }
}

void boulder(QPainter& p, QPointF c, double r, Rng& rng, const QColor& rock);

void plainPicture(QImage& cell) {
    paintGround(cell, grassGround());
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(101);
    p.setPen(QPen(QColor(104, 146, 60), 1.0, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF& c : scatter(rng, 7, 9, 4)) {
        p.drawLine(c, c + QPointF(-1.5, -3));
        p.drawLine(c, c + QPointF(1.5, -3));
    }
}

void grasslandPicture(QImage& cell) {
    paintGround(cell, {QColor(168, 186, 84), QColor(196, 206, 110), 0.12, 61});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(106);
    p.setPen(QPen(QColor(120, 146, 52), 1.0, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF& c : scatter(rng, 14, 6.5, 3)) {
        for (int k = -1; k <= 1; ++k) p.drawLine(c, c + QPointF(k * 1.6, -3.5 + std::abs(k)));
    }
}

void farmlandPicture(QImage& cell) {
    static const QColor kCrops[] = {QColor(214, 192, 96), QColor(128, 170, 70),
                                    QColor(170, 130, 84), QColor(196, 208, 104)};
    paintByGrid(cell, [](int x, int y, double u, double v) {
        const int fu = static_cast<int>(std::floor(u * 2)),
                  fv = static_cast<int>(std::floor(v * 2));
        const int field =
            static_cast<int>(hashPoint(((fu % 2) + 2) % 2, ((fv % 2) + 2) % 2, 7) % 4);
        const double eu = frac(u * 2), ev = frac(v * 2);
        if (eu < 0.035 || ev < 0.05) return qRgb(84, 110, 52);  // hedgerows
        const bool alongU = (field % 2) == 0;
        const double stripe = frac((alongU ? v : u) * 2 * 7);
        const double grain = 0.94 + gridSpeckle(x, y, 17) * 0.1;
        return tone(kCrops[field], (stripe < 0.5 ? 0.9 : 1.04) * grain);
    });
}

void forestPicture(QImage& cell) {
    paintGround(cell, {QColor(38, 76, 34), QColor(56, 98, 46), 0.12, 21});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(102);
    for (const QPointF& c : scatter(rng, 12, 8.5, 4.5)) {
        drawTree(p, c, rng.range(5.2, 6.4), QColor(48, 110, 44));
    }
}

void woodsPicture(QImage& cell) {
    paintGround(cell, grassGround(31));
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(103);
    for (const QPointF& c : scatter(rng, 5, 13, 6)) {
        drawTree(p, c, rng.range(5, 6), QColor(72, 138, 54));
    }
}

void junglePicture(QImage& cell) {
    paintGround(cell, {QColor(22, 70, 30), QColor(34, 96, 38), 0.12, 23});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(123);
    for (const QPointF& c : scatter(rng, 11, 8.5, 4.5)) {
        const QColor leaf = rng.uniform() < 0.5 ? QColor(40, 140, 50) : QColor(70, 160, 40);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 80));
        p.drawEllipse(c + QPointF(2, 2.5), 5.5, 4);
        for (int k = 0; k < 6; ++k) {
            const double a = k * kPi / 3 + rng.range(-0.3, 0.3);
            QPainterPath leafPath;
            const QPointF tip = c + QPointF(std::cos(a), std::sin(a)) * 6.5;
            const QPointF side(-std::sin(a) * 2.0, std::cos(a) * 2.0);
            leafPath.moveTo(c);
            leafPath.quadTo((c + tip) / 2 + side, tip);
            leafPath.quadTo((c + tip) / 2 - side, c);
            p.setPen(QPen(scaled(leaf, 0.5), 0.6));
            p.setBrush(k < 3 ? leaf : scaled(leaf, 0.8));
            p.drawPath(leafPath);
        }
    }
}

void hillsPicture(QImage& cell) {
    paintGround(cell, {QColor(132, 150, 80), QColor(156, 170, 94), 0.10, 41});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor light(194, 196, 116), dark(104, 116, 58);
    drawMound(p, {16, 24}, 22, 12, light, dark);
    drawMound(p, {33, 29}, 24, 13, light, dark);
    drawMound(p, {20, 39}, 22, 11, light, dark);
}

// Two small peaks behind a large one, the mountains' and snow mountains' common shape.
void threePeaks(QImage& cell, const Ground& ground, const PeakStyle& style, uint32_t seed) {
    paintGround(cell, ground);
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(seed);
    drawPeak(p, {13, 30}, 20, 15, style, rng);
    drawPeak(p, {34, 31}, 20, 14, style, rng);
    drawPeak(p, {24, 40}, 32, 30, style, rng);
}

void mountainPicture(QImage& cell) {
    threePeaks(cell, {QColor(138, 124, 94), QColor(164, 148, 112), 0.12, 51}, mountainStyle(), 105);
}

void highMountainPicture(QImage& cell) {
    paintGround(cell, {QColor(118, 116, 112), QColor(146, 142, 136), 0.12, 121});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(112);
    const PeakStyle s = highMountainStyle();
    drawPeak(p, {12, 33}, 18, 18, s, rng);
    drawPeak(p, {36, 34}, 18, 19, s, rng);
    drawPeak(p, {24, 43}, 30, 38, s, rng);
}

void snowMountainPicture(QImage& cell) {
    threePeaks(cell, {QColor(214, 222, 236), QColor(238, 242, 250), 0.06, 201}, snowMountainStyle(),
               120);
}

void cliffPicture(QImage& cell) {
    paintGround(cell, {QColor(146, 136, 100), QColor(170, 160, 120), 0.12, 161});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    // An escarpment across the hex: a jagged rim, the rock face below it, and the lower
    // ground in its shadow.
    QPolygonF rim;
    for (int i = 0; i <= 12; ++i) {
        const double x = -2 + i * 4.35;
        rim << QPointF(x, 17 + x * 0.16 + ((i * 5) % 3) * 1.3 - (i % 2) * 1.6);
    }
    QPainterPath below;
    below.moveTo(rim.first());
    for (const QPointF& q : rim) below.lineTo(q);
    below.lineTo(50, 50);
    below.lineTo(-2, 50);
    below.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 30, 20, 70));
    p.drawPath(below);
    QPainterPath face;
    face.moveTo(rim.first());
    for (const QPointF& q : rim) face.lineTo(q);
    for (int i = rim.size() - 1; i >= 0; --i) {
        face.lineTo(rim[i] + QPointF(((i * 3) % 4) - 1.5, 9 + ((i * 7) % 4)));
    }
    face.closeSubpath();
    p.setBrush(QColor(104, 88, 68));
    p.setPen(QPen(QColor(60, 50, 38), 0.9));
    p.drawPath(face);
    p.setPen(QPen(QColor(74, 62, 48), 1.0));
    for (int i = 0; i < rim.size(); ++i) {
        p.drawLine(rim[i] + QPointF(1.5, 2), rim[i] + QPointF(0.5 + (i % 3), 9));
    }
    p.setPen(QPen(QColor(222, 210, 172), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(rim);
    Rng rng(116);
    for (const QPointF& c : scatter(rng, 5, 7, 4)) {
        if (c.y() < 32) continue;
        boulder(p, c, rng.range(1.6, 2.6), rng, QColor(150, 140, 120));
    }
}

void wastelandPicture(QImage& cell) {
    paintGround(cell, {QColor(176, 156, 108), QColor(204, 184, 134), 0.14, 81});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(108);
    for (const QPointF& c : scatter(rng, 9, 8, 3)) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(112, 118, 64));
        p.drawEllipse(c, 2.2, 1.6);
        p.setBrush(QColor(140, 146, 80));
        p.drawEllipse(c - QPointF(0.6, 0.6), 1.2, 0.9);
    }
    p.setBrush(QColor(140, 124, 96));
    for (const QPointF& c : scatter(rng, 8, 5, 3)) p.drawEllipse(c, 0.9, 0.7);
}

void boulder(QPainter& p, QPointF c, double r, Rng& rng, const QColor& rock) {
    QPainterPath b;
    for (int k = 0; k < 7; ++k) {
        const double a = k * 2 * kPi / 7;
        const double rr = r * rng.range(0.75, 1.1);
        const QPointF q = c + QPointF(std::cos(a) * rr, std::sin(a) * rr * 0.8);
        if (k == 0)
            b.moveTo(q);
        else
            b.lineTo(q);
    }
    b.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawPath(b.translated(1.2, 1.2));
    QLinearGradient g(c - QPointF(r, r), c + QPointF(r, r));
    g.setColorAt(0, scaled(rock, 1.3));
    g.setColorAt(1, scaled(rock, 0.65));
    p.setBrush(g);
    p.setPen(QPen(scaled(rock, 0.5), 0.7));
    p.drawPath(b);
}

void rockyPicture(QImage& cell) {
    paintGround(cell, {QColor(150, 140, 120), QColor(176, 166, 144), 0.14, 91});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(109);
    for (const QPointF& c : scatter(rng, 8, 9, 4.5))
        boulder(p, c, rng.range(2.8, 4.6), rng, QColor(150, 144, 136));
}

void mudPicture(QImage& cell) {
    paintGround(cell, {QColor(112, 86, 56), QColor(140, 110, 72), 0.14, 101});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(110);
    for (const QPointF& c : scatter(rng, 5, 12, 5)) {
        p.setPen(QPen(QColor(86, 64, 42), 0.8));
        p.setBrush(QColor(96, 88, 70));
        p.drawEllipse(c, rng.range(3.5, 5.5), rng.range(1.8, 2.8));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 146, 128));
        p.drawEllipse(c - QPointF(1.2, 0.7), 1.4, 0.6);
    }
    p.setPen(QPen(QColor(92, 70, 46), 0.9));
    for (const QPointF& c : scatter(rng, 6, 8, 4)) p.drawLine(c, c + QPointF(4, 1));
}

void marshPicture(QImage& cell) {
    paintGround(cell, {QColor(96, 126, 78), QColor(122, 148, 92), 0.12, 111});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(111);
    for (const QPointF& c : scatter(rng, 5, 12, 5)) {
        p.setPen(QPen(QColor(70, 96, 70), 0.8));
        p.setBrush(QColor(74, 126, 150));
        p.drawEllipse(c, rng.range(4, 6), rng.range(2, 3));
    }
    p.setPen(QPen(QColor(62, 92, 40), 1.0, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF& c : scatter(rng, 10, 6, 3)) {
        p.drawLine(c, c + QPointF(-1.2, -4));
        p.drawLine(c, c + QPointF(0.3, -4.5));
        p.drawLine(c, c + QPointF(1.6, -3.5));
    }
}

void sandPicture(QImage& cell, const QColor& low, const QColor& high, uint32_t seed, int ku, int kv,
                 double depth) {
    paintByGrid(cell, [=](int x, int y, double u, double v) {
        const double n = gridFbm(x, y, seed);
        const double phase = 2 * kPi * (ku * u + kv * v) + 2.5 * n;
        const double ripple = std::sin(phase);
        const double slope = std::cos(phase);
        const double f = 1 + depth * (ripple > 0.75 ? 0.6 : 0) - depth * (slope < -0.6 ? 1 : 0);
        const QColor c = mix(low, high, n);
        return tone(c, f * (0.97 + 0.06 * gridSpeckle(x, y, seed + 3)));
    });
}

void desertPicture(QImage& cell) {
    sandPicture(cell, QColor(220, 196, 128), QColor(238, 218, 156), 131, 3, 5, 0.07);
}

void dunesPicture(QImage& cell) {
    sandPicture(cell, QColor(206, 150, 78), QColor(232, 182, 104), 271, 2, 3, 0.14);
}

void snowfieldPicture(QImage& cell) {
    paintGround(cell, {QColor(222, 230, 242), QColor(246, 248, 252), 0.05, 171});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(117);
    p.setPen(QPen(QColor(196, 208, 228), 1.0, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF& c : scatter(rng, 6, 11, 5)) {
        QPainterPath d;
        d.moveTo(c - QPointF(4, 0));
        d.quadTo(c + QPointF(0, -2), c + QPointF(4, 0));
        p.drawPath(d);
    }
}

void snowForestPicture(QImage& cell) {
    paintGround(cell, {QColor(218, 226, 238), QColor(242, 246, 252), 0.05, 181});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(118);
    for (const QPointF& c : scatter(rng, 9, 9.5, 4)) {
        drawConifer(p, c + QPointF(0, 6), rng.range(12, 14), QColor(36, 84, 60), true);
    }
}

// Cells of a periodic Voronoi pattern: distance to the nearest and second seed.
void voronoi(double x, double y, uint32_t seed, int seeds, double& d1, double& d2, int& id) {
    d1 = d2 = 1e9;
    id = 0;
    for (int s = 0; s < seeds; ++s) {
        const double su = (hashPoint(s, 1, seed) & 0xFFFF) / 65536.0;
        const double sv = (hashPoint(s, 2, seed) & 0xFFFF) / 65536.0;
        const double sx = su * 48 + sv * 24, sy = sv * 36;
        for (int m = -2; m <= 2; ++m) {
            for (int n = -2; n <= 2; ++n) {
                const double dx = x - (sx + m * 48 + n * 24), dy = y - (sy + n * 36);
                const double d = std::sqrt(dx * dx + dy * dy);
                if (d < d1) {
                    d2 = d1;
                    d1 = d;
                    id = s;
                } else if (d < d2) {
                    d2 = d;
                }
            }
        }
    }
}

void crackedPicture(QImage& cell, const QColor& low, const QColor& high, const QColor& crack,
                    uint32_t seed, int seeds) {
    paintByGrid(cell, [=](int x, int y, double, double) {
        double d1, d2;
        int id;
        voronoi(x + 0.5, y + 0.5, seed, seeds, d1, d2, id);
        if (d2 - d1 < 1.1) return crack.rgb();
        const double plate = (hashPoint(id, 9, seed) & 0xFF) / 255.0;
        const QColor c = mix(low, high, 0.3 + 0.7 * plate);
        return tone(c, 0.97 + 0.05 * gridSpeckle(x, y, seed) - (d2 - d1 < 2.2 ? 0.07 : 0));
    });
}

void frozenGroundPicture(QImage& cell) {
    crackedPicture(cell, QColor(176, 172, 160), QColor(222, 224, 226), QColor(130, 122, 108), 191,
                   7);
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(119);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 132, 100));
    for (const QPointF& c : scatter(rng, 6, 9, 4)) p.drawEllipse(c, 2.4, 1.3);
}

void glacierPicture(QImage& cell) {
    paintGround(cell, {QColor(186, 214, 232), QColor(226, 240, 250), 0.05, 241});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(70, 130, 170), 1.2, Qt::SolidLine, Qt::RoundCap));
    Rng rng(124);
    for (const QPointF& c : scatter(rng, 7, 10, 6)) {
        QPainterPath crevasse;
        crevasse.moveTo(c - QPointF(4, -1.5));
        crevasse.quadTo(c + QPointF(0, -1), c + QPointF(4, 1.5));
        p.drawPath(crevasse);
    }
}

void iceFieldPicture(QImage& cell) {
    crackedPicture(cell, QColor(200, 226, 240), QColor(236, 246, 252), QColor(140, 182, 210), 251,
                   6);
}

void ruinsPicture(QImage& cell) {
    paintGround(cell, {QColor(140, 132, 114), QColor(166, 158, 138), 0.16, 211});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor wall(186, 180, 168), shadow(0, 0, 0, 90);
    struct Wall {
        QPointF a, b, c;
    };
    const Wall walls[] = {{{9, 18}, {20, 18}, {20, 24}},
                          {{27, 14}, {38, 14}, {38, 22}},
                          {{12, 31}, {12, 38}, {22, 38}},
                          {{29, 29}, {38, 29}, {38, 37}}};
    for (const Wall& w : walls) {
        QPainterPath path;
        path.moveTo(w.a);
        path.lineTo(w.b);
        path.lineTo(w.c);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(shadow, 3.2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.drawPath(path.translated(1.2, 1.2));
        p.setPen(QPen(wall, 2.6, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.drawPath(path);
    }
    Rng rng(121);
    for (const QPointF& c : scatter(rng, 10, 5, 3))
        boulder(p, c, rng.range(1.2, 2.0), rng, QColor(170, 164, 154));
}

void pillboxPicture(QImage& cell) {
    paintGround(cell, grassGround(221));
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    // Sandbags in a ring, then the concrete bunker with its firing slit.
    p.setPen(QPen(QColor(120, 104, 70), 0.8));
    p.setBrush(QColor(196, 176, 122));
    for (int k = 0; k < 12; ++k) {
        const double a = k * kPi / 6;
        p.drawEllipse(QPointF(24 + std::cos(a) * 14, 26 + std::sin(a) * 10), 3.2, 2.2);
    }
    QPolygonF bunker;
    for (int k = 0; k < 6; ++k) {
        const double a = k * kPi / 3 + kPi / 6;
        bunker << QPointF(24 + std::cos(a) * 10, 25 + std::sin(a) * 8);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPolygon(bunker.translated(1.5, 2));
    QLinearGradient g(14, 17, 34, 33);
    g.setColorAt(0, QColor(206, 204, 196));
    g.setColorAt(1, QColor(128, 126, 120));
    p.setBrush(g);
    p.setPen(QPen(QColor(70, 70, 66), 1));
    p.drawPolygon(bunker);
    p.setBrush(QColor(30, 30, 30));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(17, 27, 14, 2.4));
}

void blankPicture(QImage& cell) {
    paintGround(cell, {QColor(30, 30, 36), QColor(46, 46, 54), 0.1, 1});
}

void shallowsPicture(QImage& cell) {
    paintGround(cell, {QColor(84, 170, 190), QColor(132, 204, 206), 0.05, 281});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(128);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(196, 208, 170, 110));
    for (const QPointF& c : scatter(rng, 4, 12, 6))
        p.drawEllipse(c, rng.range(4, 6), rng.range(2, 3));
    waves(p, rng, 5, QColor(210, 240, 244), 3.2);
}

void seaPicture(QImage& cell) {
    paintGround(cell, seaGround());
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(129);
    waves(p, rng, 5, QColor(120, 170, 222), 3.5);
}

void oceanPicture(QImage& cell) {
    paintGround(cell, {QColor(18, 50, 112), QColor(30, 70, 140), 0.05, 301});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(130);
    waves(p, rng, 6, QColor(70, 112, 180), 3.8);
}

void beachPicture(QImage& cell) {
    sandPicture(cell, QColor(226, 208, 156), QColor(242, 230, 186), 331, 1, 4, 0.05);
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(133);
    p.setPen(Qt::NoPen);
    for (const QPointF& c : scatter(rng, 8, 7, 3)) {
        p.setBrush(rng.uniform() < 0.5 ? QColor(250, 246, 236) : QColor(176, 160, 128));
        p.drawEllipse(c, 1.2, 0.9);
    }
}

void volcanoPicture(QImage& cell) {
    paintGround(cell, {QColor(58, 52, 50), QColor(84, 76, 70), 0.16, 341});
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath cone;
    cone.moveTo(5, 40);
    cone.lineTo(18, 15);
    cone.lineTo(30, 15);
    cone.lineTo(43, 40);
    cone.closeSubpath();
    QLinearGradient g(8, 16, 40, 40);
    g.setColorAt(0, QColor(120, 108, 100));
    g.setColorAt(1, QColor(44, 38, 36));
    p.setPen(QPen(QColor(30, 26, 24), 1));
    p.setBrush(g);
    p.drawPath(cone);
    p.setPen(QPen(QColor(255, 120, 20), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(21, 17), QPointF(16, 32));
    p.drawLine(QPointF(27, 17), QPointF(31, 36));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 70, 10));
    p.drawEllipse(QPointF(24, 15.5), 6.5, 2.6);
    p.setBrush(QColor(255, 200, 60));
    p.drawEllipse(QPointF(24, 15.5), 3.5, 1.3);
    p.setBrush(QColor(150, 146, 150, 200));
    p.drawEllipse(QPointF(27, 8), 5, 3.5);
    p.drawEllipse(QPointF(33, 5.5), 4, 3);
}

}  // namespace

void paintBasePicture(int n, QImage& cell) {
    // Pictures that show an overlay on plain land: the overlay's own picture.
    auto overlay = [&](auto draw) {
        plainPicture(cell);
        QPainter p(&cell);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
    };
    switch (n) {
        case 0: blankPicture(cell); break;
        case 1: plainPicture(cell); break;
        case 2: forestPicture(cell); break;
        case 3: woodsPicture(cell); break;
        case 4: hillsPicture(cell); break;
        case 5: mountainPicture(cell); break;
        case 6: grasslandPicture(cell); break;
        case 7: farmlandPicture(cell); break;
        case 8: wastelandPicture(cell); break;
        case 9: rockyPicture(cell); break;
        case 10: mudPicture(cell); break;
        case 11: marshPicture(cell); break;
        case 12: highMountainPicture(cell); break;
        case 13: desertPicture(cell); break;
        case 14: overlay([](QPainter& p) { drawRiverPiece(p, 0b001001, 0); }); break;
        case 15: overlay([](QPainter& p) { drawRiverPiece(p, 0b001001, 1); }); break;
        case 16: cliffPicture(cell); break;
        case 17: snowfieldPicture(cell); break;
        case 18: snowForestPicture(cell); break;
        case 19: frozenGroundPicture(cell); break;
        case 20: snowMountainPicture(cell); break;
        case 21: ruinsPicture(cell); break;
        case 22: pillboxPicture(cell); break;
        case 23: junglePicture(cell); break;
        case 24: glacierPicture(cell); break;
        case 25: iceFieldPicture(cell); break;
        case 26: {
            snowfieldPicture(cell);
            QPainter p(&cell);
            p.setRenderHint(QPainter::Antialiasing);
            drawRiverPiece(p, 0b001001, 2);
            break;
        }
        case 27: dunesPicture(cell); break;
        case 28: shallowsPicture(cell); break;
        case 29: seaPicture(cell); break;
        case 30: oceanPicture(cell); break;
        case base_picture::kRoad: overlay([](QPainter& p) { drawRoadPiece(p, 0b001001); }); break;
        case base_picture::kTempBridge:
            overlay([](QPainter& p) {
                drawRiverPiece(p, 0b100100, 0);
                drawTempBridgePiece(p, 0);
            });
            break;
        case base_picture::kBeach: beachPicture(cell); break;
        case base_picture::kVolcano: volcanoPicture(cell); break;
        default: break;
    }
}

QImage baseSheetImage() {
    Sheet sheet(10, 8);
    for (int n = 0; n < base_picture::kCount; ++n) {
        QImage cell = blankImage();
        paintBasePicture(n, cell);
        keepHex(cell);
        const QImage k = keyed(cell);
        sheet.put(n % 10, n / 10, k);
        sheet.put(n % 10, n / 10 + 4, framed(k));
    }
    return sheet.image();
}

}  // namespace kv::sample
