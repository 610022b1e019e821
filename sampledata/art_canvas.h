// Shared tools of the map art: the hex cell's shape, seeded noise that repeats with the hex
// grid, colour helpers, and the step from a painted cell to a colour-keyed sheet cell.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QPolygonF>

#include <cstdint>

namespace kv::sample {

// Every map picture is drawn at 48 pixels; the renderer scales the sheets down.
inline constexpr int kCell = 48;
// Magenta: the transparent colour of every sheet.
inline constexpr QRgb kKey = 0xFFFF00FFu;
// What an opaque pixel that happens to be magenta becomes, so that it stays visible.
inline constexpr QRgb kNearKey = 0xFFFE00FEu;

// A small seeded generator (splitmix64): the same numbers on every platform.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next();
    double uniform();  // [0, 1)
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }

private:
    uint64_t state_;
};

uint32_t hashPoint(int x, int y, uint32_t seed);

// Value noise that repeats with the hex grid: f(p) = f(p + (48, 0)) = f(p + (24, 36)), so two
// cells painted with it meet without a seam wherever the renderer places them.
class GridNoise {
public:
    GridNoise(uint32_t seed, int lattice);
    double at(double x, double y) const;  // 0..1

private:
    double node(int i, int j) const;
    uint32_t seed_;
    int n_;
};

// Three octaves of GridNoise, 0..1.
double gridFbm(double x, double y, uint32_t seed);
// A per-pixel value 0..1 that repeats with the hex grid.
double gridSpeckle(int x, int y, uint32_t seed);

// Hex geometry of a cell of size s: pointed top and bottom, the cap is the top s/4 rows.
QPolygonF hexPolygon(double s = kCell, QPointF origin = {});
// Whether the pixel (x, y) of a 48-pixel cell belongs to its hex; cells placed by the grid
// cover the plane with every pixel in exactly one hex.
bool insideHex(int x, int y);
// Distance of a point of the 48-pixel cell from the hex's border (negative outside).
double hexInset(QPointF p);
inline const QPointF kCentre{24.0, 24.0};
// Midpoint of side i (0 west, 1 south-west, 2 south-east, 3 east, 4 north-east, 5 north-west).
QPointF edgeMidpoint(int side);
// The centre of the neighbour on side i, relative to this cell's centre.
QPointF neighbourOffset(int side);
// The two corners of side i, in order around the hex.
void sideCorners(int side, QPointF& a, QPointF& b);

// Colours.
QColor mix(const QColor& a, const QColor& b, double t);
QColor scaled(const QColor& c, double factor);  // darker below 1, lighter above
QColor grey(int level);

// A transparent 32-bit picture to paint on.
QImage blankImage(int width = kCell, int height = kCell);
// Clears everything outside the hex of the cell at `origin` of a larger picture.
void keepHex(QImage& image, QPoint origin = {});
// The colour-keyed copy: pixels less than half covered become magenta, the rest opaque.
QImage keyed(const QImage& painted);
// The hex-frame variant of a keyed cell: the border ring of every hex pixel darkened.
QImage framed(const QImage& keyedCell);
// Whether a keyed picture has any pixel that is not the key.
bool hasInk(const QImage& keyedPicture);

// A sheet of cells, filled with the key.
class Sheet {
public:
    Sheet(int columns, int rows, int cell = kCell);
    void put(int column, int row, const QImage& keyedCell);
    const QImage& image() const { return image_; }
    int cellSize() const { return cell_; }

private:
    QImage image_;
    int cell_;
};

}  // namespace kv::sample
