// Shared tools of the map art.
#include "sampledata/art_canvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kv::sample {

uint64_t Rng::next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::uniform() {
    return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
}

uint32_t hashPoint(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^
                 static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

GridNoise::GridNoise(uint32_t seed, int lattice) : seed_(seed), n_(lattice) {}

double GridNoise::node(int i, int j) const {
    const int a = ((i % n_) + n_) % n_;
    const int b = ((j % n_) + n_) % n_;
    return (hashPoint(a, b, seed_) & 0xFFFFu) / 65535.0;
}

double GridNoise::at(double x, double y) const {
    // Grid coordinates: one period of the hex grid is the unit square.
    const double v = y / 36.0;
    const double u = x / 48.0 - y / 72.0;
    const double fu = u * n_, fv = v * n_;
    const double iu = std::floor(fu), iv = std::floor(fv);
    double tu = fu - iu, tv = fv - iv;
    tu = tu * tu * (3 - 2 * tu);
    tv = tv * tv * (3 - 2 * tv);
    const int i = static_cast<int>(iu), j = static_cast<int>(iv);
    const double top = node(i, j) + (node(i + 1, j) - node(i, j)) * tu;
    const double bottom = node(i, j + 1) + (node(i + 1, j + 1) - node(i, j + 1)) * tu;
    return top + (bottom - top) * tv;
}

double gridFbm(double x, double y, uint32_t seed) {
    const GridNoise a(seed, 3), b(seed + 1, 6), c(seed + 2, 12);
    return 0.5 * a.at(x, y) + 0.3 * b.at(x, y) + 0.2 * c.at(x, y);
}

double gridSpeckle(int x, int y, uint32_t seed) {
    // Reduce to one period: (0, 72) and (48, 0) are periods, (24, 36) swaps the halves.
    int py = ((y % 72) + 72) % 72;
    int px = x;
    if (py >= 36) {
        py -= 36;
        px -= 24;
    }
    px = ((px % 48) + 48) % 48;
    return (hashPoint(px, py, seed) & 0xFFFFu) / 65535.0;
}

QPolygonF hexPolygon(double s, QPointF o) {
    return QPolygonF({o + QPointF(s / 2, 0), o + QPointF(s, s / 4), o + QPointF(s, s * 3 / 4),
                      o + QPointF(s / 2, s), o + QPointF(0, s * 3 / 4), o + QPointF(0, s / 4)});
}

bool insideHex(int x, int y) {
    const double cx = x + 0.5, cy = y + 0.5;
    if (cx < 0 || cx > kCell || cy < 0 || cy > kCell) return false;
    return cy >= 12 - cx / 2 && cy >= cx / 2 - 12 && cy <= 36 + cx / 2 && cy <= 60 - cx / 2;
}

double hexInset(QPointF p) {
    // Edge lines as a·x + b·y + c >= 0 inside, with (a, b) of unit length.
    const double k = 1.0 / std::sqrt(1.25);  // normal length of the slanted edges
    const double d[6] = {
        p.x(),                           // west
        (36 + p.x() / 2 - p.y()) * k,    // south-west
        (60 - p.x() / 2 - p.y()) * k,    // south-east
        kCell - p.x(),                   // east
        (p.y() - (p.x() / 2 - 12)) * k,  // north-east
        (p.y() - (12 - p.x() / 2)) * k,  // north-west
    };
    return *std::min_element(std::begin(d), std::end(d));
}

QPointF edgeMidpoint(int side) {
    static const QPointF kMid[6] = {{0, 24}, {12, 42}, {36, 42}, {48, 24}, {36, 6}, {12, 6}};
    return kMid[((side % 6) + 6) % 6];
}

QPointF neighbourOffset(int side) {
    static const QPointF kOff[6] = {{-48, 0}, {-24, 36}, {24, 36}, {48, 0}, {24, -36}, {-24, -36}};
    return kOff[((side % 6) + 6) % 6];
}

void sideCorners(int side, QPointF& a, QPointF& b) {
    static const QPointF kCorner[6] = {{0, 12}, {0, 36}, {24, 48}, {48, 36}, {48, 12}, {24, 0}};
    // Side 0 runs from corner 0 to 1, side 1 from 1 to 2, ... side 5 from 5 to 0.
    const int s = ((side % 6) + 6) % 6;
    a = kCorner[s];
    b = kCorner[(s + 1) % 6];
}

QColor mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t),
                            static_cast<float>(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor scaled(const QColor& c, double f) {
    if (f <= 1) {
        return QColor(static_cast<int>(c.red() * f), static_cast<int>(c.green() * f),
                      static_cast<int>(c.blue() * f), c.alpha());
    }
    return mix(c, QColor(255, 255, 255, c.alpha()), f - 1);
}

QColor grey(int level) {
    return QColor(level, level, level);
}

QImage blankImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void keepHex(QImage& image, QPoint origin) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (!insideHex(x - origin.x(), y - origin.y())) line[x] = 0;
        }
    }
}

QImage keyed(const QImage& painted) {
    const QImage src = painted.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const QRgb p = in[x];
            if (qAlpha(p) < 128) {
                line[x] = kKey;
                continue;
            }
            const QRgb opaque = 0xFF000000u | (p & 0xFFFFFFu);
            line[x] = opaque == kKey ? kNearKey : opaque;
        }
    }
    return out;
}

QImage framed(const QImage& cell) {
    QImage out = cell.copy();
    auto hex = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < kCell && y < kCell && insideHex(x, y);
    };
    for (int y = 0; y < cell.height(); ++y) {
        for (int x = 0; x < cell.width(); ++x) {
            const QRgb p = cell.pixel(x, y);
            if (p == kKey || !hex(x, y)) continue;
            if (hex(x - 1, y) && hex(x + 1, y) && hex(x, y - 1) && hex(x, y + 1)) continue;
            out.setPixel(x, y, qRgb(qRed(p) * 9 / 20, qGreen(p) * 9 / 20, qBlue(p) * 9 / 20));
        }
    }
    return out;
}

bool hasInk(const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if ((picture.pixel(x, y) | 0xFF000000u) != kKey) return true;
        }
    }
    return false;
}

Sheet::Sheet(int columns, int rows, int cell)
    : image_(columns * cell, rows * cell, QImage::Format_RGB32), cell_(cell) {
    image_.fill(kKey);
}

void Sheet::put(int column, int row, const QImage& keyedCell) {
    QPainter p(&image_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(column * cell_, row * cell_, keyedCell);
}

}  // namespace kv::sample
