// Line pieces (roads, the three river kinds, sea supply lines), bridges and temporary bridges,
// and the two sheets that hold them.
#include <QPainterPath>

#include <cmath>
#include <vector>

#include "sampledata/art.h"
#include "sampledata/art_canvas.h"
#include "sampledata/art_paint.h"

namespace kv::sample {

namespace {

// How far a piece runs past the midpoint of its side; the hex's edge cuts it there.
constexpr double kOverrun = 7.0;

QPointF unit(QPointF v) {
    const double len = std::hypot(v.x(), v.y());
    return len > 0 ? v / len : v;
}

QPointF rotated(QPointF v, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return {v.x() * c - v.y() * s, v.x() * s + v.y() * c};
}

std::vector<int> sidesOf(int links) {
    std::vector<int> out;
    for (int i = 0; i < 6; ++i) {
        if (links & (1 << i)) out.push_back(i);
    }
    return out;
}

// The direction a piece enters the hex at side i: towards the centre, turned by `bend`. Every
// piece turns the same way, so two neighbours' pieces leave their shared point in opposite
// directions and the line runs on smoothly.
QPointF inward(int side, double bend) {
    return rotated(unit(kCentre - edgeMidpoint(side)), bend);
}

// One stroke per side from beyond the side's midpoint into the centre; with two sides, one
// smooth stroke from side to side.
QPainterPath linePath(int links, double bend) {
    const std::vector<int> sides = sidesOf(links);
    QPainterPath path;
    if (sides.size() == 2) {
        const QPointF a = edgeMidpoint(sides[0]), b = edgeMidpoint(sides[1]);
        const QPointF ta = inward(sides[0], bend), tb = inward(sides[1], bend);
        const double la = std::hypot(a.x() - 24, a.y() - 24) * 0.62;
        const double lb = std::hypot(b.x() - 24, b.y() - 24) * 0.62;
        path.moveTo(a - ta * kOverrun);
        path.lineTo(a);
        path.cubicTo(a + ta * la, b + tb * lb, b);
        path.lineTo(b - tb * kOverrun);
        return path;
    }
    for (int side : sides) {
        const QPointF a = edgeMidpoint(side);
        const QPointF t = inward(side, bend);
        const double l = std::hypot(a.x() - 24, a.y() - 24) * 0.5;
        path.moveTo(a - t * kOverrun);
        path.lineTo(a);
        path.quadTo(a + t * l, kCentre);
    }
    return path;
}

void strokeTwice(QPainter& p, const QPainterPath& path, const QColor& edge, double outer,
                 const QColor& fill, double inner) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(edge, outer, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(fill, inner, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

struct RiverStyle {
    QColor bank, water, shine;
    double width, pond;
};

RiverStyle riverStyle(int variant) {
    switch (variant) {
        case 1: return {QColor(20, 46, 104), QColor(34, 82, 172), QColor(70, 120, 206), 11.5, 7.5};
        case 2:
            return {QColor(70, 110, 160), QColor(180, 214, 242), QColor(246, 252, 255), 9.5, 6.5};
        default:
            return {QColor(36, 84, 150), QColor(70, 136, 212), QColor(130, 184, 238), 7.5, 5.5};
    }
}

}  // namespace

void drawRoadPiece(QPainter& p, int links) {
    if ((links & 63) == 0) return;
    const QPainterPath path = linePath(links, 0);
    strokeTwice(p, path, QColor(86, 78, 66), 8.0, QColor(218, 206, 170), 5.0);
    if (sidesOf(links).size() == 1) {
        p.setPen(QPen(QColor(86, 78, 66), 1.2));
        p.setBrush(QColor(218, 206, 170));
        p.drawEllipse(kCentre, 4.5, 4.5);
    }
}

void drawRiverPiece(QPainter& p, int links, int variant) {
    if ((links & 63) == 0) return;
    const RiverStyle s = riverStyle(variant);
    const QPainterPath path = linePath(links, 0.42);
    const bool spring = sidesOf(links).size() == 1;
    strokeTwice(p, path, s.bank, s.width + 2.5, s.water, s.width);
    if (spring) {
        p.setPen(QPen(s.bank, 1.25));
        p.setBrush(s.water);
        p.drawEllipse(kCentre, s.pond, s.pond * 0.8);
        p.setPen(Qt::NoPen);
    }
    // A thin light thread along the middle: current on water, a crack on ice.
    QPen shine(s.shine, variant == 2 ? 1.0 : 1.2, variant == 2 ? Qt::DashLine : Qt::SolidLine,
               Qt::RoundCap);
    if (variant != 2) shine.setDashPattern({3, 4});
    p.setBrush(Qt::NoBrush);
    p.setPen(variant == 2 ? QPen(QColor(246, 252, 255), 1.1) : shine);
    p.drawPath(path);
}

void drawSupplyPiece(QPainter& p, int links) {
    const std::vector<int> sides = sidesOf(links);
    if (sides.empty()) return;
    // Dashes at fixed shares of each half line, mirrored at the side's midpoint, so the dash
    // across a side is whole.
    static const double kDash[][2] = {{-0.3, 0.16}, {0.38, 0.62}, {0.84, 1.0}};
    QPainterPath dashes;
    for (int side : sides) {
        const QPointF a = edgeMidpoint(side);
        for (const auto& d : kDash) {
            dashes.moveTo(a + (kCentre - a) * d[0]);
            dashes.lineTo(a + (kCentre - a) * d[1]);
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 36, 70), 5.5, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(dashes);
    p.setPen(QPen(QColor(255, 214, 70), 3.0, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(dashes);
    if (sides.size() == 1) {
        p.setPen(QPen(QColor(30, 36, 70), 1.5));
        p.setBrush(QColor(255, 214, 70));
        p.drawEllipse(kCentre, 4.2, 4.2);
        p.setBrush(QColor(30, 36, 70));
        p.drawEllipse(kCentre, 1.5, 1.5);
    }
}

void bridgePieceSides(int piece, int& a, int& b) {
    if (piece < 3) {
        a = piece;
        b = piece + 3;
    } else {
        a = (piece - 3) % 6;
        b = (a + 2) % 6;
    }
}

namespace {

QPainterPath bridgePath(int piece) {
    int a, b;
    bridgePieceSides(piece, a, b);
    return linePath((1 << a) | (1 << b), 0);
}

// The path cut open around the middle of its length.
QPainterPath brokenPath(const QPainterPath& path, bool firstHalf) {
    QPainterPath out;
    const int steps = 40;
    const double from = firstHalf ? 0.0 : 0.62, to = firstHalf ? 0.38 : 1.0;
    for (int i = 0; i <= steps; ++i) {
        const QPointF q = path.pointAtPercent(from + (to - from) * i / steps);
        if (i == 0)
            out.moveTo(q);
        else
            out.lineTo(q);
    }
    return out;
}

}  // namespace

void drawTempBridgePiece(QPainter& p, int piece) {
    const QPainterPath path = bridgePath(piece);
    // Pontoons across the deck near the middle.
    p.setPen(QPen(QColor(40, 48, 30), 1.0));
    p.setBrush(QColor(92, 108, 62));
    for (double t : {0.33, 0.5, 0.67}) {
        const QPointF c = path.pointAtPercent(t);
        const double angle = path.angleAtPercent(t);
        p.save();
        p.translate(c);
        p.rotate(-angle + 90);
        p.drawRoundedRect(QRectF(-2.6, -8.5, 5.2, 17), 2.4, 2.4);
        p.restore();
    }
    strokeTwice(p, path, QColor(64, 50, 32), 9.0, QColor(172, 140, 92), 6.5);
    // Planks.
    p.setPen(QPen(QColor(120, 94, 60), 0.9));
    const double length = path.length();
    for (double s = 3; s < length; s += 3) {
        const double t = path.percentAtLength(s);
        const QPointF c = path.pointAtPercent(t);
        const double angle = path.angleAtPercent(t) * 3.14159265358979 / 180;
        const QPointF n(std::sin(angle) * 3.0, std::cos(angle) * 3.0);
        p.drawLine(c - n, c + n);
    }
}

void drawBridgePiece(QPainter& p, int piece, const QColor& girder, bool destroyed) {
    const QPainterPath full = bridgePath(piece);
    // Piers under the deck.
    p.setPen(QPen(grey(70), 1.0));
    p.setBrush(grey(150));
    for (double t : {0.3, 0.7}) {
        const QPointF c = full.pointAtPercent(t);
        p.save();
        p.translate(c);
        p.rotate(-full.angleAtPercent(t) + 90);
        p.drawRect(QRectF(-2.5, -9, 5, 18));
        p.restore();
    }
    std::vector<QPainterPath> spans;
    if (destroyed) {
        spans = {brokenPath(full, true), brokenPath(full, false)};
    } else {
        spans = {full};
    }
    for (const QPainterPath& span : spans) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(scaled(girder, 0.55), 14, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        p.drawPath(span);
        p.setPen(QPen(girder, 12, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        p.drawPath(span);
        p.setPen(QPen(grey(92), 7.5, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        p.drawPath(span);
        QPen line(grey(236), 1.0, Qt::SolidLine, Qt::FlatCap);
        line.setDashPattern({3, 3});
        p.setPen(line);
        p.drawPath(span);
    }
    if (destroyed) {
        // Broken ends and wreckage in the gap.
        Rng rng(static_cast<uint64_t>(piece) + 77);
        p.setPen(QPen(grey(50), 0.8));
        for (int k = 0; k < 6; ++k) {
            const QPointF c = full.pointAtPercent(rng.range(0.38, 0.62)) +
                              QPointF(rng.range(-5, 5), rng.range(-5, 5));
            p.setBrush(k % 2 ? grey(110) : scaled(girder, 0.7));
            p.drawRect(QRectF(c, QSizeF(rng.range(2, 4), rng.range(1.5, 3))));
        }
    }
}

QImage roadSheetImage() {
    Sheet sheet(42, 10);
    for (int k = 1; k < 64; ++k) {
        for (int kind = 0; kind < 5; ++kind) {
            QImage cell = blankImage();
            {
                QPainter p(&cell);
                p.setRenderHint(QPainter::Antialiasing);
                if (kind == 0)
                    drawRoadPiece(p, k);
                else if (kind == 4)
                    drawSupplyPiece(p, k);
                else
                    drawRiverPiece(p, k, kind - 1);
            }
            keepHex(cell);
            sheet.put(k < 42 ? k : k - 42, k < 42 ? kind : kind + 5, keyed(cell));
        }
    }
    return sheet.image();
}

QImage bridgeSheetImage() {
    Sheet sheet(kBridgePieces, 6);
    for (int piece = 0; piece < kBridgePieces; ++piece) {
        for (int row = 0; row < 5; ++row) {
            QImage cell = blankImage();
            {
                QPainter p(&cell);
                p.setRenderHint(QPainter::Antialiasing);
                if (row < 4) {
                    const QColor girder = row % 2 ? factionShade(0.55) : neutralShade(0.75);
                    drawBridgePiece(p, piece, girder, row >= 2);
                } else {
                    drawTempBridgePiece(p, piece);
                }
            }
            keepHex(cell);
            const QImage k = keyed(cell);
            sheet.put(piece, row, k);
            if (row == 4) sheet.put(piece, 5, framed(k));
        }
    }
    return sheet.image();
}

}  // namespace kv::sample
