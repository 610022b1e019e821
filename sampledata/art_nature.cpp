// Grounds and natural features shared by the terrain and building pictures.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "sampledata/art_canvas.h"
#include "sampledata/art_paint.h"

namespace kv::sample {

void paintGround(QImage& image, const Ground& g, QPoint world) {
    const int lr = g.low.red(), lg = g.low.green(), lb = g.low.blue();
    const int dr = g.high.red() - lr, dg = g.high.green() - lg, db = g.high.blue() - lb;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int wx = x + world.x(), wy = y + world.y();
            const double n = gridFbm(wx, wy, g.seed);
            const double s = 1 + (gridSpeckle(wx, wy, g.seed + 7) - 0.5) * g.grain;
            auto channel = [&](int base, int delta) {
                return std::clamp(static_cast<int>((base + delta * n) * s), 0, 255);
            };
            line[x] = qRgb(channel(lr, dr), channel(lg, dg), channel(lb, db));
        }
    }
}

Ground grassGround(uint32_t seed) {
    return {QColor(120, 160, 72), QColor(158, 192, 96), 0.10, seed};
}

Ground paveGround(uint32_t seed) {
    return {QColor(150, 148, 140), QColor(178, 175, 166), 0.08, seed};
}

Ground seaGround(uint32_t seed) {
    return {QColor(34, 92, 170), QColor(58, 122, 196), 0.05, seed};
}

void drawTree(QPainter& p, QPointF c, double r, const QColor& crown) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 80));
    p.drawEllipse(c + QPointF(r * 0.35, r * 0.45), r * 0.95, r * 0.8);
    QRadialGradient g(c - QPointF(r * 0.35, r * 0.45), r * 1.5);
    g.setColorAt(0, scaled(crown, 1.45));
    g.setColorAt(0.5, crown);
    g.setColorAt(1, scaled(crown, 0.55));
    p.setBrush(g);
    p.setPen(QPen(scaled(crown, 0.45), 0.8));
    p.drawEllipse(c, r, r);
}

void drawConifer(QPainter& p, QPointF c, double h, const QColor& body, bool snow) {
    // c is the foot of the trunk.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(c + QPointF(h * 0.2, 0), h * 0.32, h * 0.12);
    const double w = h * 0.34;
    for (int tier = 0; tier < 2; ++tier) {
        const double top = c.y() - h + tier * h * 0.3;
        const double bottom = c.y() - h * 0.12 - (1 - tier) * h * 0.3;
        const double half = w * (tier == 0 ? 0.75 : 1.0);
        QPainterPath t;
        t.moveTo(c.x(), top);
        t.lineTo(c.x() + half, bottom);
        t.lineTo(c.x() - half, bottom);
        t.closeSubpath();
        p.setPen(QPen(scaled(body, 0.5), 0.8));
        p.setBrush(body);
        p.drawPath(t);
        QPainterPath lit;
        lit.moveTo(c.x(), top);
        lit.lineTo(c.x() - half, bottom);
        lit.lineTo(c.x(), bottom);
        lit.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(snow ? QColor(240, 245, 252) : scaled(body, 1.3));
        p.drawPath(lit);
    }
}

PeakStyle mountainStyle() {
    return {QColor(196, 176, 142), QColor(112, 94, 72), QColor(72, 60, 46), QColor(), 0};
}

PeakStyle highMountainStyle() {
    return {QColor(176, 170, 162), QColor(92, 88, 86), QColor(56, 54, 52), QColor(246, 248, 252),
            0.42};
}

PeakStyle snowMountainStyle() {
    return {QColor(252, 253, 255), QColor(150, 170, 200), QColor(104, 118, 146), QColor(), 0};
}

void drawPeak(QPainter& p, QPointF base, double w, double h, const PeakStyle& s, Rng& rng) {
    const QPointF left = base - QPointF(w / 2, 0), right = base + QPointF(w / 2, 0);
    const QPointF top = base + QPointF(rng.range(-0.08, 0.08) * w, -h);
    // Jagged slopes: a few points along each side, pushed in and out.
    QPainterPath outline;
    outline.moveTo(left);
    for (int i = 1; i < 4; ++i) {
        const double t = i / 4.0;
        QPointF q = left + (top - left) * t;
        q += QPointF(rng.range(-0.06, 0.02) * w, rng.range(-0.04, 0.06) * h);
        outline.lineTo(q);
    }
    outline.lineTo(top);
    for (int i = 1; i < 4; ++i) {
        const double t = i / 4.0;
        QPointF q = top + (right - top) * t;
        q += QPointF(rng.range(-0.02, 0.06) * w, rng.range(-0.04, 0.06) * h);
        outline.lineTo(q);
    }
    outline.lineTo(right);
    outline.closeSubpath();
    // Light from the upper left: the face left of the ridge is lit.
    const QPointF ridgeFoot = base + QPointF(w * 0.12, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(s.shade);
    p.drawPath(outline);
    QPainterPath litFace;
    litFace.moveTo(left - QPointF(2, 0));
    litFace.lineTo(top);
    litFace.lineTo(top + (ridgeFoot - top) * 0.45 + QPointF(rng.range(-2, 0), 0));
    litFace.lineTo(ridgeFoot);
    litFace.lineTo(left - QPointF(2, 2));
    litFace.closeSubpath();
    p.setBrush(s.lit);
    p.drawPath(outline.intersected(litFace));
    // Gullies down both faces.
    p.setBrush(Qt::NoBrush);
    for (int g = 0; g < 4; ++g) {
        const bool litSide = g < 2;
        const double t = rng.range(0.25, 0.6);
        const QPointF from = top + ((litSide ? left : right) - top) * t * 0.9;
        const QPointF to = from + QPointF((litSide ? 1 : -1) * w * rng.range(0.02, 0.1),
                                          (base.y() - from.y()) * rng.range(0.55, 0.85));
        p.setPen(QPen(litSide ? mix(s.lit, s.shade, 0.5) : mix(s.shade, s.outline, 0.5),
                      std::max(0.6, w / 40), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(from, to);
    }
    p.setPen(Qt::NoPen);
    if (s.snow.isValid()) {
        const double line = top.y() + h * s.snowLine;
        QPainterPath cap;
        cap.moveTo(left.x() - 2, top.y() - 2);
        cap.lineTo(right.x() + 2, top.y() - 2);
        cap.lineTo(right.x() + 2, line);
        for (int i = 1; i < 6; ++i) {
            const double x = right.x() - w * i / 6.0;
            cap.lineTo(x, line + ((i % 2) ? h * 0.12 : -h * 0.02));
        }
        cap.lineTo(left.x() - 2, line);
        cap.closeSubpath();
        const QPainterPath snow = outline.intersected(cap);
        p.setBrush(s.snow);
        p.drawPath(snow);
        p.setBrush(mix(s.snow, s.shade, 0.35));
        p.drawPath(snow.subtracted(litFace));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(s.outline, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(outline);
}

void drawMound(QPainter& p, QPointF base, double w, double h, const QColor& light,
               const QColor& dark) {
    QPainterPath m;
    m.moveTo(base - QPointF(w / 2, 0));
    m.cubicTo(base + QPointF(-w * 0.36, -h * 1.05), base + QPointF(w * 0.2, -h * 1.35),
              base + QPointF(w / 2, 0));
    m.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 45));
    p.drawEllipse(base + QPointF(w * 0.1, -1), w * 0.52, h * 0.28);
    QLinearGradient g(base + QPointF(-w * 0.3, -h), base + QPointF(w * 0.35, 0));
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.setBrush(g);
    p.setPen(QPen(scaled(dark, 0.7), 0.9));
    p.drawPath(m);
}

QColor factionShade(double level) {
    // kFactionHue at every level: blue the largest, red the smallest, green a third of the
    // way between. The default faction angles then turn it into blue, red, green,
    // yellow, purple and cyan, the colours the factions are named after. Bright and
    // saturated, so that every rotation (yellow and cyan too) stays vivid.
    level = std::clamp(level, 0.0, 1.0);
    const int v = static_cast<int>(138 + 114 * level);
    const int rest = static_cast<int>(v * (0.05 + 0.5 * level * level));
    return QColor(rest, rest + (v - rest) / 3, v);
}

bool nearFactionHue(const QColor& c, int degrees) {
    const int off = std::abs(c.hsvHue() - kFactionHue) % 360;
    return c.hsvSaturation() < 40 || std::min(off, 360 - off) <= degrees;
}

QColor neutralShade(double level) {
    return grey(static_cast<int>(112 + 120 * std::clamp(level, 0.0, 1.0)));
}

}  // namespace kv::sample
