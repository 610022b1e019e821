// Marks drawn over the map: the preview, label, outside and flash marks, effects and the
// destroyed mark, the digits, altitude-layer dots, regiment marks, territories and borderlines.
#include <QPainterPath>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "sampledata/art.h"
#include "sampledata/art_canvas.h"
#include "sampledata/art_paint.h"

namespace kv::sample {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A hand-set 5 x 7 face for the digits, and narrow forms of 1 and 0 for "10".
const char* const kDigits[10][7] = {
    {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."},
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
    {"####.", "....#", "....#", ".###.", "....#", "....#", "####."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
    {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
    {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
};
const char* const kNarrowOne[7] = {".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"};
const char* const kNarrowZero[7] = {".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."};

// Glyph pixels: `rows` strings, each row stretched by `repeat[r]` lines, bold doubles columns.
struct Glyph {
    std::vector<std::string> rows;
};

Glyph glyphOf(const char* const* rows, int count, bool tall, bool bold) {
    Glyph g;
    for (int r = 0; r < count; ++r) {
        std::string row = rows[r];
        if (bold) {
            std::string wide(row.size() + 1, '.');
            for (size_t i = 0; i < row.size(); ++i) {
                if (row[i] == '#') wide[i] = wide[i + 1] = '#';
            }
            row = wide;
        }
        g.rows.push_back(row);
        // Seven rows become ten: rows 1, 3 and 5 are doubled.
        if (tall && (r == 1 || r == 3 || r == 5)) g.rows.push_back(row);
    }
    return g;
}

// Sets glyph pixels at (x, y) in `ink`, with a one-pixel outline in `edge` around them.
void stamp(QImage& image, int x, int y, const Glyph& g, QRgb ink, QRgb edge) {
    auto at = [&](int gx, int gy) {
        return gy >= 0 && gy < static_cast<int>(g.rows.size()) && gx >= 0 &&
               gx < static_cast<int>(g.rows[gy].size()) && g.rows[gy][gx] == '#';
    };
    const int h = static_cast<int>(g.rows.size());
    const int w = static_cast<int>(g.rows[0].size());
    for (int gy = -1; gy <= h; ++gy) {
        for (int gx = -1; gx <= w; ++gx) {
            const int px = x + gx, py = y + gy;
            if (px < 0 || py < 0 || px >= image.width() || py >= image.height()) continue;
            if (at(gx, gy)) {
                image.setPixel(px, py, ink);
                continue;
            }
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) near = near || at(gx + dx, gy + dy);
            if (near) image.setPixel(px, py, edge);
        }
    }
}

Glyph combine(const Glyph& a, const Glyph& b) {
    Glyph g;
    for (size_t r = 0; r < a.rows.size(); ++r) g.rows.push_back(a.rows[r] + "." + b.rows[r]);
    return g;
}

QImage paintedCell(const std::function<void(QPainter&)>& draw, bool clipToHex = true) {
    QImage cell = blankImage();
    {
        QPainter p(&cell);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
    }
    if (clipToHex) keepHex(cell);
    return keyed(cell);
}

// A band along the inside of the hex border.
void hexRing(QPainter& p, double inset, double width, const QColor& colour) {
    const double s = kCell;
    QPolygonF ring = hexPolygon(s);
    // Shrink towards the centre by `inset`.
    for (QPointF& q : ring) {
        const QPointF d = q - kCentre;
        const double len = std::hypot(d.x(), d.y());
        q = kCentre + d * ((len - inset) / len);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPolygon(ring);
}

void puff(QPainter& p, QPointF c, double r, const QColor& colour) {
    p.setPen(QPen(scaled(colour, 0.6), 0.8));
    p.setBrush(colour);
    p.drawEllipse(c, r, r * 0.85);
    p.setPen(Qt::NoPen);
    p.setBrush(scaled(colour, 1.25));
    p.drawEllipse(c - QPointF(r * 0.3, r * 0.3), r * 0.45, r * 0.35);
}

void flame(QPainter& p, QPointF foot, double h) {
    QPainterPath f;
    f.moveTo(foot + QPointF(-h * 0.35, 0));
    f.quadTo(foot + QPointF(-h * 0.45, -h * 0.6), foot + QPointF(0, -h));
    f.quadTo(foot + QPointF(h * 0.15, -h * 0.55), foot + QPointF(h * 0.35, -h * 0.7));
    f.quadTo(foot + QPointF(h * 0.5, -h * 0.3), foot + QPointF(h * 0.35, 0));
    f.closeSubpath();
    p.setPen(QPen(QColor(160, 30, 0), 0.8));
    p.setBrush(QColor(255, 110, 20));
    p.drawPath(f);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 70));
    p.drawEllipse(foot + QPointF(0, -h * 0.28), h * 0.16, h * 0.26);
}

void burst(QPainter& p, QPointF c, double r) {
    QPainterPath b;
    for (int i = 0; i < 16; ++i) {
        const double a = i * kPi / 8;
        const double rr = i % 2 ? r * 0.5 : r;
        const QPointF q = c + QPointF(std::cos(a) * rr, std::sin(a) * rr);
        if (i == 0)
            b.moveTo(q);
        else
            b.lineTo(q);
    }
    b.closeSubpath();
    p.setPen(QPen(QColor(170, 20, 0), 1.0));
    p.setBrush(QColor(255, 120, 20));
    p.drawPath(b);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 230, 90));
    p.drawEllipse(c, r * 0.38, r * 0.38);
}

}  // namespace

QImage markSheetImage() {
    Sheet sheet(4, 1);
    // 0: the tools' preview of the hexes an action will change.
    sheet.put(0, 0, paintedCell([](QPainter& p) {
                  hexRing(p, 2.0, 3.0, QColor(255, 226, 40));
                  hexRing(p, 4.2, 1.0, QColor(90, 60, 0));
                  p.setPen(QPen(QColor(255, 226, 40), 1.0));
                  for (int k = -48; k < 48; k += 8) p.drawLine(QPointF(k, 48), QPointF(k + 48, 0));
              }));
    // 1: the hex carries a label.
    sheet.put(1, 0, paintedCell([](QPainter& p) {
                  p.setPen(QPen(QColor(30, 30, 30), 1.4));
                  p.drawLine(QPointF(33, 17), QPointF(33, 4));
                  QPainterPath f;
                  f.moveTo(33, 4);
                  f.lineTo(42, 6.5);
                  f.lineTo(33, 10);
                  f.closeSubpath();
                  p.setPen(QPen(QColor(255, 255, 255), 1.0));
                  p.setBrush(QColor(226, 30, 30));
                  p.drawPath(f);
              }));
    // 2: outside the map.
    sheet.put(2, 0, paintedCell([](QPainter& p) {
                  p.fillRect(QRectF(0, 0, 48, 48), QColor(52, 54, 60));
                  p.setPen(QPen(QColor(72, 74, 82), 1.0));
                  for (int k = -48; k < 48; k += 6) {
                      p.drawLine(QPointF(k, 48), QPointF(k + 48, 0));
                      p.drawLine(QPointF(k, 0), QPointF(k + 48, 48));
                  }
              }));
    // 3: a selected or flashing hex.
    sheet.put(3, 0, paintedCell([](QPainter& p) {
                  hexRing(p, 1.8, 3.4, QColor(255, 255, 255));
                  hexRing(p, 4.2, 1.4, QColor(20, 20, 20));
              }));
    return sheet.image();
}

QImage effectSheetImage() {
    Sheet sheet(6, 1);
    sheet.put(0, 0, paintedCell([](QPainter& p) { burst(p, kCentre, 15); }, false));
    sheet.put(1, 0,
              paintedCell(
                  [](QPainter& p) {
                      puff(p, {18, 30}, 8, QColor(130, 130, 130));
                      puff(p, {29, 26}, 9, QColor(150, 150, 150));
                      puff(p, {23, 17}, 8, QColor(170, 170, 170));
                  },
                  false));
    sheet.put(2, 0,
              paintedCell(
                  [](QPainter& p) {
                      flame(p, {17, 38}, 16);
                      flame(p, {29, 38}, 22);
                      flame(p, {23, 40}, 12);
                  },
                  false));
    sheet.put(3, 0,
              paintedCell(
                  [](QPainter& p) {
                      p.setPen(QPen(QColor(80, 130, 190), 1.0));
                      p.setBrush(QColor(236, 246, 255));
                      for (int k = 0; k < 7; ++k) {
                          const double a = kPi + k * kPi / 6;
                          QPainterPath s;
                          const QPointF foot(24 + std::cos(a) * 4, 36);
                          s.moveTo(foot - QPointF(2, 0));
                          s.lineTo(24 + std::cos(a) * 14, 36 + std::sin(a) * 22);
                          s.lineTo(foot + QPointF(2, 0));
                          s.closeSubpath();
                          p.drawPath(s);
                      }
                      p.drawEllipse(QPointF(24, 37), 12, 3.5);
                  },
                  false));
    sheet.put(4, 0, paintedCell([](QPainter& p) {
                  p.setPen(QPen(QColor(60, 44, 30), 1.0));
                  p.setBrush(QColor(150, 120, 86));
                  p.drawEllipse(kCentre + QPointF(0, 2), 14, 10);
                  p.setBrush(QColor(60, 46, 34));
                  p.drawEllipse(kCentre + QPointF(0, 3), 9, 6);
              }));
    // 5: destroyed: scorched rubble, fires and a plume of smoke.
    sheet.put(5, 0, paintedCell([](QPainter& p) {
                  Rng rng(5);
                  p.setPen(Qt::NoPen);
                  for (int k = 0; k < 9; ++k) {
                      const QPointF c(rng.range(10, 38), rng.range(16, 40));
                      p.setBrush(k % 3 ? QColor(46, 40, 36) : QColor(86, 76, 66));
                      QPainterPath b;
                      for (int i = 0; i < 6; ++i) {
                          const double a = i * kPi / 3;
                          const double r = rng.range(2.0, 4.5);
                          const QPointF q = c + QPointF(std::cos(a) * r, std::sin(a) * r * 0.7);
                          if (i == 0)
                              b.moveTo(q);
                          else
                              b.lineTo(q);
                      }
                      b.closeSubpath();
                      p.drawPath(b);
                  }
                  p.setPen(QPen(QColor(20, 18, 16), 1.4, Qt::SolidLine, Qt::RoundCap));
                  p.drawLine(QPointF(11, 22), QPointF(20, 30));
                  p.drawLine(QPointF(20, 30), QPointF(17, 38));
                  p.drawLine(QPointF(30, 18), QPointF(27, 27));
                  p.drawLine(QPointF(27, 27), QPointF(36, 33));
                  flame(p, {16, 34}, 11);
                  flame(p, {32, 38}, 13);
                  puff(p, {28, 14}, 6, QColor(60, 60, 60));
                  puff(p, {35, 9}, 5, QColor(84, 84, 84));
                  puff(p, {21, 9}, 4.5, QColor(72, 72, 72));
              }));
    return sheet.image();
}

QImage digitSheetImage() {
    QImage image(100, 44, QImage::Format_RGB32);
    image.fill(kKey);
    const QRgb ink = qRgb(255, 255, 255), edge = qRgb(16, 16, 16);
    for (int n = 1; n <= 10; ++n) {
        const int x = (n - 1) * 10;
        if (n < 10) {
            stamp(image, x + 2, 1, glyphOf(kDigits[n], 7, false, false), ink, edge);
            stamp(image, x + 2, 21, glyphOf(kDigits[n], 7, true, true), ink, edge);
        } else {
            const Glyph small = combine(glyphOf(kNarrowOne, 7, false, false),
                                        glyphOf(kNarrowZero, 7, false, false));
            const Glyph large =
                combine(glyphOf(kNarrowOne, 7, true, false), glyphOf(kNarrowZero, 7, true, false));
            stamp(image, x + 1, 1, small, ink, edge);
            stamp(image, x + 1, 21, large, ink, edge);
        }
    }
    // The occupancy marks: a yellow diamond, small and large.
    auto diamond = [&](int top, int height) {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        const double h = height / 2.0;
        const QPolygonF d({QPointF(5, top), QPointF(9.5, top + h), QPointF(5, top + height - 0.5),
                           QPointF(0.5, top + h)});
        p.setPen(QPen(QColor(16, 16, 16), 1.0));
        p.setBrush(QColor(255, 220, 40));
        p.drawPolygon(d);
    };
    diamond(10, 10);
    diamond(32, 12);
    return image;
}

QImage layerMarkImage() {
    QImage image(30, 9, QImage::Format_RGB32);
    image.fill(kKey);
    static const QColor kLayer[6] = {QColor(250, 250, 255), QColor(110, 186, 255),
                                     QColor(100, 220, 100), QColor(236, 150, 50),
                                     QColor(50, 100, 236),  QColor(150, 80, 210)};
    auto dot = [&](int x0, int y0, int size, const QColor& c) {
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const bool cornerPixel = (x == 0 || x == size - 1) && (y == 0 || y == size - 1);
                if (cornerPixel) continue;
                const bool rim = x == 0 || y == 0 || x == size - 1 || y == size - 1;
                image.setPixel(x0 + x, y0 + y, rim ? scaled(c, 0.45).rgb() : c.rgb());
            }
        }
    };
    for (int j = 0; j < 6; ++j) {
        dot(4 * j, 0, 4, kLayer[j]);
        dot(5 * j, 4, 5, kLayer[j]);
    }
    return image;
}

QImage regimentMarkImage() {
    QImage image(96, 108, QImage::Format_RGB32);
    image.fill(kKey);
    static const QColor kDivision[3] = {QColor(60, 132, 214), QColor(112, 124, 44),
                                        QColor(28, 48, 120)};
    const QRgb white = qRgb(255, 255, 255);
    for (int state = 0; state < 3; ++state) {
        for (int u = 0; u < 3; ++u) {
            for (int t = 0; t < 6; ++t) {
                const int x0 = 16 * t, y0 = 36 * state + 12 * u;
                const QColor fill = state == 2 ? QColor(250, 250, 250) : kDivision[u];
                const QColor border = state == 1   ? QColor(255, 204, 30)
                                      : state == 2 ? kDivision[u]
                                                   : scaled(kDivision[u], 0.5);
                for (int y = 1; y <= 10; ++y) {
                    for (int x = 1; x <= 14; ++x) {
                        const bool cornerPixel = (x == 1 || x == 14) && (y == 1 || y == 10);
                        if (cornerPixel) continue;
                        const bool rim = x == 1 || y == 1 || x == 14 || y == 10 ||
                                         (state == 1 && (x == 2 || x == 13 || y == 2 || y == 9));
                        image.setPixel(x0 + x, y0 + y, rim ? border.rgb() : fill.rgb());
                    }
                }
                const QRgb ink = state == 2 ? kDivision[u].rgb() : white;
                const Glyph g = glyphOf(kDigits[t + 1], 7, false, false);
                for (int gy = 0; gy < 7; ++gy) {
                    for (int gx = 0; gx < 5; ++gx) {
                        if (g.rows[gy][gx] == '#') image.setPixel(x0 + 6 + gx, y0 + 2 + gy, ink);
                    }
                }
            }
        }
    }
    return image;
}

QImage territoryImage() {
    const QImage cell = paintedCell([](QPainter& p) {
        p.setPen(QPen(factionShade(0.6), 1.4));
        for (int k = -48; k < 48; k += 7) p.drawLine(QPointF(k, 48), QPointF(k + 48, 0));
        hexRing(p, 1.6, 3.0, factionShade(0.5));
    });
    Sheet sheet(1, 7);
    for (int row = 0; row < 7; ++row) sheet.put(0, row, cell);
    return sheet.image();
}

namespace {

// A borderline along side i: a solid band (not crossable) or dashes (crossable).
QImage borderCell(int side, bool crossable) {
    return paintedCell([&](QPainter& p) {
        QPointF a, b;
        sideCorners(side, a, b);
        const QPointF along = (b - a) / std::hypot(b.x() - a.x(), b.y() - a.y());
        QPointF in = kCentre - (a + b) / 2;
        in /= std::hypot(in.x(), in.y());
        // The band lies inside the side; its ends run past the corners and are cut there.
        const double width = crossable ? 3.5 : 5.0;
        const QPointF shift = in * (width / 2);
        const QPointF mid = (a + b) / 2 + shift;
        const double half = std::hypot(b.x() - a.x(), b.y() - a.y()) / 2 + 4;
        if (crossable) {
            for (int k = -3; k <= 3; ++k) {
                const QPointF c = mid + along * (k * 8.0);
                p.setPen(QPen(factionShade(0.15), width + 1.4, Qt::SolidLine, Qt::FlatCap));
                p.drawLine(c - along * 3.2, c + along * 3.2);
                p.setPen(QPen(factionShade(0.7), width - 0.6, Qt::SolidLine, Qt::FlatCap));
                p.drawLine(c - along * 2.5, c + along * 2.5);
            }
        } else {
            p.setPen(QPen(factionShade(0.1), width + 1.4, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(mid - along * half, mid + along * half);
            p.setPen(QPen(factionShade(0.5), width - 0.8, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(mid - along * half, mid + along * half);
            p.setPen(QPen(factionShade(0.9), 1.0, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(mid - along * half - shift * 0.55, mid + along * half - shift * 0.55);
        }
    });
}

}  // namespace

QImage borderImage() {
    Sheet block(5, 5);
    for (int side = 0; side < 5; ++side) {
        block.put(side, 1, borderCell(side, true));
        block.put(side, 3, borderCell(side, false));
    }
    block.put(1, 4, borderCell(5, true));
    block.put(3, 4, borderCell(5, false));
    // Seven equal colour blocks, one per territory colour; each is recoloured on loading.
    QImage image(5 * kCell, 35 * kCell, QImage::Format_RGB32);
    QPainter p(&image);
    for (int k = 0; k < 7; ++k) p.drawImage(0, k * 5 * kCell, block.image());
    return image;
}

}  // namespace kv::sample
