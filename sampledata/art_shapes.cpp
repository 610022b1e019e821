// Silhouettes of the weapon types.
#include "sampledata/art_shapes.h"

#include <QPainterPathStroker>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace kv::sample {

namespace {

using Points = std::initializer_list<QPointF>;
constexpr double kPi = 3.14159265358979323846;

QPainterPath poly(Points points) {
    QPainterPath p;
    bool first = true;
    for (const QPointF& q : points) {
        if (first)
            p.moveTo(q);
        else
            p.lineTo(q);
        first = false;
    }
    p.closeSubpath();
    return p;
}

QPainterPath rect(double x, double y, double w, double h, double r = 0) {
    QPainterPath p;
    if (r > 0)
        p.addRoundedRect(QRectF(x, y, w, h), r, r);
    else
        p.addRect(QRectF(x, y, w, h));
    return p;
}

QPainterPath ellipse(double cx, double cy, double rx, double ry) {
    QPainterPath p;
    p.addEllipse(QPointF(cx, cy), rx, ry);
    return p;
}

QPainterPath bar(QPointF a, QPointF b, double width) {
    QPainterPath line;
    line.moveTo(a);
    line.lineTo(b);
    QPainterPathStroker s;
    s.setWidth(width);
    s.setCapStyle(Qt::FlatCap);
    return s.createStroke(line);
}

// A bar from `a` of `length` at `degrees` above the horizontal (to the right).
QPainterPath raised(QPointF a, double length, double degrees, double width) {
    const double r = degrees * kPi / 180;
    return bar(a, a + QPointF(std::cos(r) * length, -std::sin(r) * length), width);
}

// A box rotated about its lower-left corner `foot` by `degrees` upwards.
QPainterPath tilted(QPointF foot, double length, double height, double degrees) {
    QTransform t;
    t.translate(foot.x(), foot.y());
    t.rotate(-degrees);
    return t.map(rect(0, -height, length, height));
}

QPainterPath mirrored(const QPainterPath& p, double axisY) {
    QTransform t(1, 0, 0, -1, 0, 2 * axisY);
    return t.map(p);
}

class Shape {
public:
    void add(const QPainterPath& p, int tone = 0) { parts_.push_back({p, tone}); }
    void addSym(const QPainterPath& p, int tone = 0) {
        add(p, tone);
        add(mirrored(p, 30), tone);
    }
    std::vector<ShapePart> take() { return std::move(parts_); }

private:
    std::vector<ShapePart> parts_;
};

// --- aircraft from above, nose to the right, on the axis y = 30 ---

struct Jet {
    double nose = 88, tail = 14, width = 4.5;
    double wingRoot = 58, rootChord = 22, span = 24, sweep = 14, tipChord = 6;
    double tailRoot = 26, tailChord = 10, tailSpan = 11, tailSweep = 6;
    int engines = 0;  // pods per wing
    bool props = false, radome = false, boom = false, canards = false, stores = false;
    bool tipPods = false, rearEngines = false;
};

void jet(Shape& s, const Jet& j) {
    const double w = j.width;
    const auto half = [&](double x0, double chord, double span, double sweep, double tip) {
        return poly({{x0, 30 - w + 0.5},
                     {x0 - sweep, 30 - span},
                     {x0 - sweep - tip, 30 - span},
                     {x0 - chord, 30 - w + 0.5}});
    };
    s.addSym(half(j.wingRoot, j.rootChord, j.span, j.sweep, j.tipChord));
    if (j.tailSpan > 0)
        s.addSym(half(j.tailRoot, j.tailChord, j.tailSpan, j.tailSweep, j.tailChord * 0.45));
    if (j.canards)
        s.addSym(poly({{j.nose - 16, 30 - w}, {j.nose - 22, 30 - w - 6}, {j.nose - 24, 30 - w}}));
    QPainterPath body;
    body.moveTo(j.tail, 30 - w * 0.7);
    body.lineTo(j.nose - 16, 30 - w);
    body.cubicTo(j.nose - 6, 30 - w, j.nose, 30 - w * 0.4, j.nose, 30);
    body.cubicTo(j.nose, 30 + w * 0.4, j.nose - 6, 30 + w, j.nose - 16, 30 + w);
    body.lineTo(j.tail, 30 + w * 0.7);
    body.closeSubpath();
    s.add(body);
    for (int e = 0; e < j.engines; ++e) {
        const double along = j.engines == 1 ? 0.42 : 0.32 + 0.3 * e;
        const double y = 30 - w - (j.span - w) * along;
        const double x = j.wingRoot - j.sweep * along - 2;
        s.addSym(ellipse(x, y, 5.5, 1.9), 1);
        if (j.props) s.addSym(bar({x + 5.5, y - 4.5}, {x + 5.5, y + 4.5}, 1.2), 1);
    }
    if (j.stores) {
        for (double along : {0.35, 0.65}) {
            const double y = 30 - w - (j.span - w) * along;
            s.addSym(ellipse(j.wingRoot - j.sweep * along - j.rootChord * 0.35, y, 4.5, 1.4), 3);
        }
    }
    if (j.tipPods) s.addSym(ellipse(j.wingRoot - j.sweep - j.tipChord / 2, 30 - j.span, 5, 1.5), 3);
    if (j.rearEngines) s.addSym(ellipse(j.tail + 12, 30 - w - 3, 6, 2.6), 1);
    if (j.radome) {
        s.add(ellipse(j.tail + (j.nose - j.tail) * 0.38, 30, 9, 9), 2);
        s.add(bar({j.tail + (j.nose - j.tail) * 0.38 - 9, 30},
                  {j.tail + (j.nose - j.tail) * 0.38 + 9, 30}, 1.6),
              1);
    }
    if (j.boom) s.add(bar({j.tail + 2, 30}, {j.tail - 10, 30}, 1.6), 1);
    s.add(ellipse(j.nose - 13, 30, 5.5, w * 0.55), 2);
}

std::vector<ShapePart> aircraft(int type, double v) {
    Shape s;
    Jet j;
    switch (type) {
        case 0:  // interceptor: a slim delta with canards
            j = {.nose = 94,
                 .tail = 14,
                 .width = 4,
                 .wingRoot = 66,
                 .rootChord = 40,
                 .span = 21,
                 .sweep = 34,
                 .tipChord = 3,
                 .tailSpan = 0,
                 .canards = true};
            break;
        case 1: break;
        case 2:
            j.stores = true;
            j.rootChord = 24;
            break;
        case 3:  // straight-winged ground attacker with its engines at the back
            j = {.nose = 86,
                 .tail = 12,
                 .width = 4.5,
                 .wingRoot = 56,
                 .rootChord = 13,
                 .span = 28,
                 .sweep = 1,
                 .tipChord = 10,
                 .tailRoot = 20,
                 .tailChord = 8,
                 .tailSpan = 11,
                 .tailSweep = 1,
                 .stores = true,
                 .rearEngines = true};
            break;
        case 4:  // jump jet
            j = {.nose = 84,
                 .tail = 20,
                 .width = 5.5,
                 .wingRoot = 58,
                 .rootChord = 19,
                 .span = 21,
                 .sweep = 11,
                 .tipChord = 7,
                 .tailRoot = 30,
                 .tailChord = 8,
                 .tailSpan = 10};
            s.addSym(rect(48, 30 - 5.5 - 2.5, 8, 2.5), 1);
            break;
        case 5:  // bomber
            j = {.nose = 96,
                 .tail = 6,
                 .width = 5,
                 .wingRoot = 62,
                 .rootChord = 26,
                 .span = 29,
                 .sweep = 24,
                 .tipChord = 6,
                 .tailRoot = 18,
                 .tailChord = 10,
                 .tailSpan = 12,
                 .tailSweep = 8,
                 .engines = 2};
            break;
        case 6:
            j.tipPods = true;
            j.width = 5;
            break;
        case 7:
        case 9:
        case 10:
        case 11:  // the large aircraft
            j = {.nose = 92,
                 .tail = 10,
                 .width = type == 10 ? 6.5 : 5,
                 .wingRoot = 60,
                 .rootChord = type == 11 ? 18.0 : 14.0,
                 .span = 29,
                 .sweep = type == 11 ? 14.0 : 4.0,
                 .tipChord = 7,
                 .tailRoot = 22,
                 .tailChord = 9,
                 .tailSpan = 12,
                 .tailSweep = 4,
                 .engines = type == 11 ? 1 : 2,
                 .props = type != 11,
                 .radome = type == 7,
                 .boom = type == 9 || type == 11};
            break;
        case 8:  // high-flying reconnaissance glider
            j = {.nose = 86,
                 .tail = 14,
                 .width = 3.2,
                 .wingRoot = 54,
                 .rootChord = 9,
                 .span = 29,
                 .sweep = 2,
                 .tipChord = 5,
                 .tailRoot = 22,
                 .tailChord = 7,
                 .tailSpan = 9,
                 .tailSweep = 2};
            break;
        default: {  // 12: the ballistic-missile interceptor, a large missile
            s.addSym(poly({{14, 30}, {6, 30}, {6, 18}, {18, 26}}));
            s.addSym(poly({{60, 30}, {54, 30}, {52, 24}, {60, 27}}));
            QPainterPath body;
            body.addRoundedRect(QRectF(8, 26, 74, 8), 3, 3);
            s.add(body);
            s.add(poly({{80, 26}, {96, 30}, {80, 34}}), 3);
            return s.take();
        }
    }
    // Small differences between weapons of one type.
    j.span *= 1 - 0.06 * v;
    j.nose -= 3 * v;
    jet(s, j);
    return s.take();
}

// --- helicopters from the side ---

void rotor(Shape& s, double x0, double x1, double y, double mastX, double mastTop) {
    s.add(bar({x0, y}, {x1, y}, 1.8), 1);
    s.add(rect(mastX - 1.5, y, 3, mastTop - y), 1);
}

void tailBoom(Shape& s, double fromX, double y, double toX) {
    s.add(poly({{fromX, y - 3}, {toX, y - 6}, {toX, y - 2}, {fromX, y + 4}}));
    s.add(poly({{toX + 1, y - 4}, {toX - 4, y - 14}, {toX - 1, y - 14}, {toX + 5, y - 4}}));
    QPainterPath ring;
    ring.addEllipse(QPointF(toX + 1, y - 8), 5, 5);
    ring.addEllipse(QPointF(toX + 1, y - 8), 3.6, 3.6);
    s.add(ring, 1);
}

void skids(Shape& s, double x0, double x1, double y) {
    s.add(bar({x0, y}, {x1, y}, 1.8), 1);
    s.add(bar({x0 + 8, y}, {x0 + 10, y - 6}, 1.6), 1);
    s.add(bar({x1 - 10, y}, {x1 - 12, y - 6}, 1.6), 1);
}

std::vector<ShapePart> helicopter(int type, double v) {
    Shape s;
    switch (type) {
        case 13:  // attack: narrow body, tandem canopy, stub wing with pods
            tailBoom(s, 36, 30, 8);
            s.add(poly({{34, 24}, {70, 24}, {86, 32}, {84, 38}, {66, 42}, {36, 38}}));
            s.add(poly({{56, 24}, {62, 17}, {72, 18}, {80, 26}}), 2);
            s.add(rect(44, 33, 16, 3), 0);
            s.add(rect(44, 36, 14, 5, 2), 3);
            s.add(bar({80, 40}, {92, 41}, 1.6), 1);
            s.add(ellipse(50, 46, 3, 3), 1);
            s.add(ellipse(74, 45, 2.6, 2.6), 1);
            rotor(s, 12 + 4 * v, 92, 14, 54, 24);
            break;
        case 15:  // heavy: two rotors
            s.add(poly({{10, 22}, {82, 22}, {92, 30}, {90, 42}, {12, 42}, {6, 30}}));
            s.add(poly({{4, 22}, {6, 12}, {20, 12}, {22, 22}}));
            for (int i = 0; i < 6; ++i) s.add(rect(26 + i * 9, 27, 5, 5), 2);
            s.add(poly({{80, 24}, {88, 26}, {90, 32}, {82, 32}}), 2);
            s.add(ellipse(26, 46, 3.5, 3.5), 1);
            s.add(ellipse(74, 46, 3.5, 3.5), 1);
            rotor(s, 0, 38, 9, 13, 12);
            rotor(s, 60, 100, 16, 84, 22);
            break;
        case 16:  // scout: bubble and a thin boom
            tailBoom(s, 52, 30, 14);
            s.add(ellipse(62, 31, 14, 11));
            s.add(ellipse(68, 29, 10, 8), 2);
            skids(s, 46, 80, 46);
            rotor(s, 24, 96, 16, 60, 20);
            break;
        default: {  // 14 troop, 17 and 18 submarine hunters
            tailBoom(s, 32, 30, 8);
            s.add(poly({{30, 22}, {74, 22}, {90, 30}, {88, 38}, {80, 44}, {30, 44}}));
            s.add(poly({{74, 24}, {86, 30}, {76, 31}}), 2);
            for (int i = 0; i < 3; ++i) s.add(rect(38 + i * 10, 28, 6, 5), 2);
            if (type == 14) {
                skids(s, 32, 84, 49);
            } else {
                s.add(ellipse(42, 48, 3, 3), 1);
                s.add(ellipse(76, 48, 3, 3), 1);
                if (type == 17)
                    s.add(rect(54, 44, 6, 10, 2), 3);
                else
                    s.add(rect(44, 45, 22, 4, 2), 3);
            }
            rotor(s, 10 + 3 * v, 94, 15, 54, 22);
            break;
        }
    }
    return s.take();
}

// --- ground vehicles from the side, standing on y = 52 ---

void tracks(Shape& s, double x0, double x1, double top = 40) {
    s.add(rect(x0, top, x1 - x0, 52 - top, (52 - top) / 2), 1);
    const double r = (52 - top) / 2 - 2;
    const int n = static_cast<int>((x1 - x0 - 4) / (2 * r + 2));
    for (int i = 0; i < n; ++i) {
        const double cx = x0 + r + 3 + i * (x1 - x0 - 2 * r - 6) / std::max(1, n - 1);
        s.add(ellipse(cx, (52 + top) / 2, r, r), 2);
    }
}

void wheels(Shape& s, std::initializer_list<double> xs, double r = 6) {
    for (double x : xs) {
        s.add(ellipse(x, 52 - r, r, r), 1);
        s.add(ellipse(x, 52 - r, r * 0.4, r * 0.4), 2);
    }
}

// A truck: cab at the front (right), bed behind it, wheels.
void truck(Shape& s, double x0 = 8, double x1 = 92, int axles = 3) {
    s.add(poly({{x1 - 20, 44}, {x1 - 20, 24}, {x1 - 6, 24}, {x1, 34}, {x1, 44}}));
    s.add(poly({{x1 - 16, 26}, {x1 - 7, 26}, {x1 - 3, 33}, {x1 - 16, 33}}), 2);
    s.add(rect(x0, 38, x1 - 22 - x0, 6));
    if (axles == 2)
        wheels(s, {x0 + 14, x1 - 12});
    else if (axles == 3)
        wheels(s, {x0 + 10, x0 + 24, x1 - 12});
    else
        wheels(s, {x0 + 8, x0 + 21, x0 + 34, x0 + 47, x1 - 12});
}

void soldier(Shape& s, double x, double scale, bool shovel) {
    const double y = 52;
    auto at = [&](double dx, double dy) { return QPointF(x + dx * scale, y + dy * scale); };
    s.add(ellipse(x + 1 * scale, y - 34 * scale, 4.5 * scale, 4 * scale));
    s.add(poly({at(-5, -36), at(7, -36), at(5, -33), at(-3, -33)}), 1);
    s.add(poly({at(-4, -30), at(5, -30), at(6, -14), at(-4, -14)}));
    s.add(poly({at(-4, -14), at(1, -14), at(-3, 0), at(-8, 0)}));
    s.add(poly({at(1, -14), at(6, -14), at(10, 0), at(5, 0)}));
    if (shovel) {
        s.add(bar(at(-8, -2), at(12, -38), 1.8 * scale), 1);
        s.add(ellipse(x - 9 * scale, y - 1 * scale, 4 * scale, 2.5 * scale), 1);
    } else {
        s.add(bar(at(-6, -20), at(16, -30), 2.2 * scale), 1);
    }
}

std::vector<ShapePart> vehicle(int type, double v) {
    Shape s;
    switch (type) {
        case 19:  // main battle tank
            tracks(s, 12, 88);
            s.add(poly({{6, 40}, {10, 33}, {88, 33}, {95, 40}}));
            s.add(poly({{34, 33}, {38, 23}, {66, 23}, {73, 28}, {73, 33}}));
            s.add(bar({70, 27}, {99, 26}, 2.8));
            s.add(rect(42, 19, 8, 4), 1);
            break;
        case 20:  // infantry fighting vehicle
            tracks(s, 12, 86);
            s.add(poly({{8, 40}, {10, 25}, {76, 25}, {92, 37}, {92, 40}}));
            s.add(poly({{40, 25}, {43, 19}, {60, 19}, {62, 25}}));
            s.add(bar({58, 21}, {84, 20}, 2.0));
            s.add(rect(16, 29, 5, 4), 2);
            break;
        case 21:  // armoured personnel carrier on wheels
            s.add(poly({{8, 44}, {9, 26}, {72, 24}, {92, 34}, {92, 44}}));
            wheels(s, {22, 38, 62, 78}, 6.5);
            s.add(rect(40, 19, 8, 5), 1);
            s.add(bar({46, 21}, {62, 21}, 1.4), 1);
            s.add(rect(76, 30, 8, 4), 2);
            break;
        case 22:  // scout car
            s.add(poly({{16, 44}, {18, 32}, {66, 30}, {84, 38}, {84, 44}}));
            s.add(poly({{38, 30}, {40, 24}, {54, 24}, {56, 30}}));
            s.add(bar({54, 26}, {72, 25}, 1.6));
            wheels(s, {30, 70}, 7.5);
            break;
        case 23:  // tank destroyer: a low casemate with a long gun
            tracks(s, 12, 86);
            s.add(poly({{6, 40}, {8, 28}, {58, 26}, {86, 34}, {92, 40}}));
            s.add(bar({70, 31}, {99, 30}, 3.0));
            break;
        case 24:  // self-propelled gun
            tracks(s, 10, 86);
            s.add(poly({{6, 40}, {8, 32}, {84, 32}, {92, 40}}));
            s.add(rect(18, 18, 36, 14, 1));
            s.add(raised({52, 24}, 46, 22, 3.0));
            break;
        case 25:  // towed field gun, deployed: split trail, raised barrel
            s.add(bar({50, 40}, {6, 51}, 3.0));
            s.add(poly({{44, 26}, {58, 22}, {60, 40}, {46, 42}}));
            s.add(raised({52, 32}, 48, 30, 3.4));
            s.add(ellipse(50, 44, 8, 8), 1);
            s.add(ellipse(50, 44, 3, 3), 2);
            break;
        case 26:  // rocket launcher
            tracks(s, 10, 88);
            s.add(poly({{6, 40}, {8, 32}, {88, 32}, {94, 40}}));
            s.add(poly({{68, 32}, {70, 20}, {86, 20}, {92, 32}}));
            s.add(poly({{73, 22}, {84, 22}, {88, 29}, {73, 29}}), 2);
            s.add(tilted({12, 30}, 50, 12, 14), 3);
            break;
        case 27:  // surface-to-surface missile on a truck
            truck(s);
            s.add(tilted({18, 38}, 50, 4, 22));
            s.add(tilted({20, 34}, 52, 5, 22), 3);
            break;
        case 28:  // anti-aircraft gun vehicle
            tracks(s, 12, 88);
            s.add(poly({{6, 40}, {8, 32}, {88, 32}, {94, 40}}));
            s.add(rect(34, 20, 30, 12, 2));
            s.add(raised({58, 24}, 36, 42, 2.2));
            s.add(raised({54, 26}, 36, 42, 2.2));
            s.add(ellipse(40, 14, 7, 3), 1);
            s.add(bar({40, 17}, {40, 20}, 1.5), 1);
            break;
        case 29:  // towed anti-aircraft gun, deployed
            s.add(bar({14, 49}, {86, 49}, 3.0), 1);
            s.add(poly({{38, 48}, {42, 34}, {60, 34}, {64, 48}}));
            s.add(raised({56, 36}, 40, 48, 2.2));
            s.add(raised({50, 38}, 40, 48, 2.2));
            s.add(rect(34, 36, 8, 4), 2);
            break;
        case 30:  // self-propelled surface-to-air missiles
            tracks(s, 12, 88);
            s.add(poly({{6, 40}, {8, 32}, {88, 32}, {94, 40}}));
            s.add(rect(40, 24, 18, 8));
            for (int i = 0; i < 2; ++i) s.add(tilted({30 + i * 4.0, 26 - i * 5.0}, 48, 3.4, 28), 3);
            break;
        case 31:  // surface-to-air missiles in canisters on a truck
            truck(s);
            s.add(tilted({16, 38}, 46, 14, 55));
            s.add(bar({24, 32}, {44, 4}, 1.2), 1);
            break;
        case 32:  // anti-ship missiles on a truck
            truck(s);
            s.add(tilted({12, 38}, 54, 7, 18));
            s.add(tilted({14, 31}, 54, 7, 18));
            break;
        case 33:  // ballistic missile erected on its launcher
            truck(s, 6, 94, 5);
            s.add(poly({{12, 38}, {20, 38}, {36, 10}, {30, 8}}), 1);
            s.add(tilted({14, 36}, 40, 7, 66), 3);
            s.add(poly({{32, 2}, {26, 4}, {31, 0}}), 3);
            break;
        case 34: {  // a warhead: the missile standing
            QPainterPath m;
            m.moveTo(50, 2);
            m.quadTo(58, 8, 58, 18);
            m.lineTo(58, 46);
            m.lineTo(42, 46);
            m.lineTo(42, 18);
            m.quadTo(42, 8, 50, 2);
            s.add(m, 3);
            s.add(poly({{42, 34}, {34, 50}, {42, 46}}));
            s.add(poly({{58, 34}, {66, 50}, {58, 46}}));
            s.add(rect(42, 20, 16, 3), 1);
            break;
        }
        case 35:  // radar on a truck
            truck(s);
            s.add(bar({34, 38}, {34, 28}, 2.5), 1);
            s.add(tilted({16, 30}, 36, 18, 12), 2);
            for (int i = 1; i < 4; ++i) s.add(tilted({16 + i * 9.0, 30 - i * 1.9}, 1.2, 18, 12), 1);
            break;
        case 36:  // supply truck with its load under a cover
            truck(s);
            s.add(rect(8, 20, 62, 18, 3));
            s.add(rect(33, 25, 12, 10), 3);
            s.add(rect(37, 22, 4, 16), 1);
            break;
        case 37:  // infantry
            soldier(s, 22, 0.9, false);
            soldier(s, 48, 1.0, false);
            soldier(s, 74, 0.9, false);
            break;
        case 38:  // engineers
            soldier(s, 30, 1.0, true);
            soldier(s, 66, 1.0, false);
            s.add(poly({{50, 52}, {54, 44}, {82, 44}, {86, 52}}), 1);
            break;
        case 39:  // headquarters: a command vehicle with aerials and a flag
            s.add(poly({{8, 44}, {9, 26}, {72, 24}, {92, 34}, {92, 44}}));
            wheels(s, {22, 40, 62, 78}, 6.5);
            s.add(bar({16, 26}, {12, 2}, 1.2), 1);
            s.add(bar({28, 26}, {30, 8}, 1.2), 1);
            s.add(bar({60, 25}, {60, 4}, 1.6), 1);
            s.add(poly({{61, 4}, {80, 7}, {78, 12}, {61, 14}}), 3);
            break;
        default: break;
    }
    (void)v;
    return s.take();
}

// The travelling forms: a truck (right) towing or carrying the folded weapon (left).
std::vector<ShapePart> towed(int picture) {
    Shape s;
    const int type = picture;
    switch (type) {
        case 57:  // field gun behind a truck
            s.add(poly({{60, 44}, {60, 24}, {80, 24}, {88, 34}, {88, 44}}));
            s.add(poly({{64, 26}, {79, 26}, {84, 33}, {64, 33}}), 2);
            wheels(s, {68, 82}, 5.5);
            s.add(bar({24, 40}, {60, 42}, 2.0), 1);
            s.add(poly({{26, 28}, {34, 26}, {36, 42}, {28, 42}}));
            s.add(bar({4, 32}, {34, 32}, 3.0));
            s.add(ellipse(30, 45, 7, 7), 1);
            s.add(ellipse(30, 45, 2.6, 2.6), 2);
            break;
        case 59:  // twin anti-aircraft gun on its wheels
            s.add(poly({{62, 44}, {62, 24}, {82, 24}, {90, 34}, {90, 44}}));
            s.add(poly({{66, 26}, {81, 26}, {86, 33}, {66, 33}}), 2);
            wheels(s, {70, 84}, 5.5);
            s.add(bar({40, 42}, {62, 42}, 2.0), 1);
            s.add(rect(14, 34, 28, 8, 1));
            s.add(bar({8, 30}, {40, 30}, 2.0));
            s.add(bar({8, 27}, {40, 27}, 2.0));
            wheels(s, {20, 36}, 5.5);
            break;
        default: {  // loaded on a truck, lying flat
            truck(s, 8, 92, type == 62 ? 5 : 3);
            if (type == 58) {
                s.add(rect(12, 30, 56, 5, 2), 3);
                s.add(rect(14, 35, 50, 3));
            } else if (type == 60) {
                s.add(rect(12, 24, 56, 14, 1));
                s.add(bar({12, 31}, {68, 31}, 1.0), 1);
            } else if (type == 61) {
                s.add(rect(10, 31, 58, 7, 1));
                s.add(rect(10, 24, 58, 7, 1));
            } else if (type == 62) {
                s.add(rect(8, 29, 72, 7, 3), 3);
                s.add(poly({{80, 29}, {88, 32.5}, {80, 36}}), 3);
            } else {  // 63: radar folded down
                s.add(rect(12, 30, 52, 6), 2);
                s.add(rect(20, 30, 1.5, 6), 1);
                s.add(rect(36, 30, 1.5, 6), 1);
                s.add(rect(52, 30, 1.5, 6), 1);
            }
            break;
        }
    }
    return s.take();
}

// --- ships from the side, waterline y = 46 ---

void hull(Shape& s, double x0, double x1, double deck, double keel = 46) {
    s.add(poly({{x0, deck + 1}, {x1, deck - 2}, {x1 - 8, keel}, {x0 + 3, keel}}));
}

void turret(Shape& s, double x, double deck, double dir = 1, int guns = 1) {
    s.add(rect(x - 4, deck - 4, 8, 4, 1));
    for (int g = 0; g < guns; ++g)
        s.add(bar({x, deck - 2.5 + g * 1.6}, {x + dir * 10, deck - 3 + g * 1.6}, 1.4));
}

void mast(Shape& s, double x, double top, double foot) {
    s.add(bar({x, foot}, {x, top}, 1.4), 1);
    s.add(bar({x - 4, top + 4}, {x + 4, top + 4}, 1.2), 1);
}

void windows(Shape& s, double x0, double x1, double y) {
    for (double x = x0; x < x1; x += 4) s.add(rect(x, y, 2, 1.6), 1);
}

std::vector<ShapePart> ship(int type, double v) {
    Shape s;
    switch (type) {
        case 40:  // battleship
            hull(s, 4, 96, 34);
            turret(s, 72, 34, 1, 2);
            turret(s, 82, 33, 1, 2);
            turret(s, 20, 35, -1, 2);
            s.add(poly({{40, 34}, {42, 22}, {48, 14}, {54, 14}, {58, 24}, {60, 34}}));
            s.add(rect(32, 20, 6, 14));
            windows(s, 44, 56, 20);
            mast(s, 51, 4, 14);
            break;
        case 41:  // aegis cruiser: a tall block of flat radar faces
            hull(s, 6, 94, 34);
            s.add(rect(34, 18, 32, 16));
            s.add(poly({{40, 20}, {50, 20}, {50, 30}, {40, 30}}), 2);
            turret(s, 78, 33);
            turret(s, 20, 35, -1);
            mast(s, 58, 4, 18);
            s.add(rect(26, 28, 6, 6), 3);
            break;
        case 42:  // cruiser
            hull(s, 6, 94, 34);
            turret(s, 76, 33, 1, 2);
            turret(s, 20, 35, -1, 2);
            s.add(rect(40, 22, 22, 12));
            s.add(rect(44, 16, 8, 6));
            windows(s, 42, 60, 25);
            s.add(rect(34, 22, 5, 12));
            mast(s, 50, 4, 16);
            break;
        case 43:  // aegis destroyer: stepped pyramid
            hull(s, 10, 92, 35);
            s.add(poly({{36, 35}, {40, 24}, {46, 18}, {58, 18}, {62, 26}, {66, 35}}));
            s.add(poly({{44, 22}, {52, 22}, {52, 30}, {44, 30}}), 2);
            turret(s, 78, 34);
            mast(s, 54, 6, 18);
            break;
        case 44:  // destroyer
            hull(s, 10, 92, 35);
            turret(s, 78, 34);
            s.add(rect(52, 24, 14, 11));
            windows(s, 54, 64, 26);
            s.add(rect(38, 22, 8, 13));
            s.add(rect(24, 28, 12, 7));
            mast(s, 58, 8, 24);
            break;
        case 45:  // frigate
            hull(s, 14, 88, 36);
            turret(s, 76, 35);
            s.add(rect(44, 26, 18, 10));
            s.add(rect(28, 28, 14, 8));
            windows(s, 46, 60, 28);
            mast(s, 54, 10, 26);
            break;
        case 46:  // corvette
            hull(s, 22, 84, 37);
            turret(s, 72, 36);
            s.add(rect(44, 28, 16, 9));
            windows(s, 46, 58, 30);
            mast(s, 52, 14, 28);
            break;
        case 47:  // missile boat
            hull(s, 24, 82, 39, 45);
            s.add(rect(48, 31, 14, 8));
            s.add(poly({{50, 33}, {60, 33}, {60, 36}, {50, 36}}), 2);
            s.add(tilted({28, 38}, 16, 3.5, 12), 3);
            s.add(tilted({28, 34}, 16, 3.5, 12), 3);
            mast(s, 56, 20, 31);
            break;
        case 48:  // aircraft carrier: a flat deck and its island
            s.add(poly({{2, 30}, {98, 28}, {96, 32}, {88, 46}, {8, 46}, {6, 33}}));
            s.add(rect(62, 16, 10, 12));
            mast(s, 67, 4, 16);
            s.add(poly({{20, 26}, {30, 26}, {32, 28}, {18, 28}}), 2);
            s.add(poly({{38, 26}, {48, 26}, {50, 28}, {36, 28}}), 2);
            s.add(poly({{78, 26}, {88, 26}, {90, 28}, {76, 28}}), 2);
            break;
        case 49:  // helicopter carrier
            s.add(poly({{6, 31}, {94, 30}, {92, 33}, {86, 46}, {10, 46}, {8, 33}}));
            s.add(rect(56, 18, 10, 12));
            mast(s, 61, 6, 18);
            s.add(rect(22, 26, 12, 4, 1), 2);
            s.add(bar({18, 25}, {38, 25}, 1.0), 1);
            s.add(rect(76, 26, 10, 4, 1), 2);
            s.add(bar({72, 25}, {90, 25}, 1.0), 1);
            break;
        case 50:  // landing ship
            s.add(poly({{8, 35}, {84, 34}, {94, 40}, {90, 46}, {10, 46}}));
            s.add(rect(12, 20, 22, 15));
            windows(s, 14, 32, 23);
            mast(s, 24, 6, 20);
            s.add(rect(48, 28, 14, 6, 1), 1);
            s.add(rect(66, 28, 12, 6, 1), 1);
            break;
        case 51:  // hovercraft
            s.add(rect(12, 38, 76, 10, 5), 1);
            s.add(poly({{16, 38}, {18, 28}, {78, 28}, {86, 38}}));
            s.add(rect(54, 22, 18, 6));
            s.add(poly({{58, 23}, {70, 23}, {70, 26}, {58, 26}}), 2);
            s.add(ellipse(22, 20, 7, 7), 1);
            s.add(ellipse(38, 20, 7, 7), 1);
            s.add(ellipse(22, 20, 2, 2), 2);
            s.add(ellipse(38, 20, 2, 2), 2);
            break;
        case 52:  // transport ship with containers
            hull(s, 6, 94, 33);
            s.add(rect(10, 16, 14, 17));
            windows(s, 12, 22, 18);
            for (int i = 0; i < 5; ++i) {
                s.add(rect(30 + i * 11, 24, 10, 9), i % 2 ? 3 : 2);
                s.add(rect(30 + i * 11, 16, 10, 8), i % 2 ? 2 : 3);
            }
            break;
        case 53:  // replenishment ship: kingposts and booms
            hull(s, 6, 94, 33);
            s.add(rect(10, 16, 16, 17));
            windows(s, 12, 24, 18);
            for (int i = 0; i < 3; ++i) {
                const double x = 38 + i * 16;
                s.add(bar({x, 33}, {x, 12}, 2.0), 1);
                s.add(bar({x, 14}, {x + 10, 24}, 1.2), 1);
                s.add(rect(x + 3, 27, 10, 6), 3);
            }
            break;
        default: break;
    }
    (void)v;
    return s.take();
}

std::vector<ShapePart> submarine(int type) {
    Shape s;
    if (type == 56) {
        s.add(rect(24, 32, 52, 11, 5.5));
        s.add(rect(50, 24, 8, 9, 1.5));
        s.add(poly({{24, 37}, {18, 31}, {18, 43}}));
        return s.take();
    }
    const bool strategic = type == 55;
    const double x0 = strategic ? 4 : 8, x1 = strategic ? 96 : 92;
    QPainterPath h;
    h.moveTo(x0 + 6, 32);
    h.lineTo(x1 - 12, 32);
    h.cubicTo(x1 - 2, 32, x1, 36, x1, 38);
    h.cubicTo(x1, 41, x1 - 2, 44, x1 - 12, 44);
    h.lineTo(x0 + 6, 44);
    h.cubicTo(x0 + 2, 44, x0, 40, x0, 38);
    h.cubicTo(x0, 36, x0 + 2, 32, x0 + 6, 32);
    s.add(h);
    s.add(poly({{x0 + 1, 38}, {x0 - 3, 28}, {x0 + 4, 28}, {x0 + 8, 36}}));
    s.add(rect(58, 20, 9, 13, 2));
    s.add(bar({55, 24}, {70, 24}, 1.4));
    if (strategic) {
        s.add(rect(24, 28, 30, 5, 2));
        for (int i = 0; i < 5; ++i) s.add(rect(27 + i * 5.5, 29, 3, 2), 1);
    }
    s.add(bar({62, 20}, {62, 14}, 1.0), 1);
    return s.take();
}

}  // namespace

int shapeBranch(int picture) {
    if (picture <= 12) return 0;
    if (picture <= 18) return 0;
    if (picture >= 54 && picture <= 56) return 3;
    if (picture >= 40 && picture <= 53) return 2;
    return 1;
}

void drawFlatShape(QPainter& p, int picture, const QRectF& box, const QColor& body,
                   const QColor& detail, const QColor& outline, double outlineWidth) {
    const std::vector<ShapePart> parts = weaponShape(picture);
    const double scale = std::min(box.width() / 100, box.height() / 60);
    p.save();
    p.translate(box.center().x() - 50 * scale, box.center().y() - 30 * scale);
    p.scale(scale, scale);
    p.setPen(QPen(outline, 2 * outlineWidth / scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    for (const ShapePart& part : parts) p.drawPath(part.path);
    p.setPen(Qt::NoPen);
    for (const ShapePart& part : parts) {
        p.setBrush(part.tone == 1 ? detail : body);
        p.drawPath(part.path);
    }
    p.restore();
}

std::vector<ShapePart> weaponShape(int picture, int variant) {
    const double v = (variant % 5) / 4.0;
    if (picture <= 12) return aircraft(picture, v);
    if (picture <= 18) return helicopter(picture, v);
    if (picture <= 39) return vehicle(picture, v);
    if (picture <= 53) return ship(picture, v);
    if (picture <= 56) return submarine(picture);
    return towed(picture);
}

}  // namespace kv::sample
