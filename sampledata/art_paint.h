// Painters shared by the map art's sheets: grounds, trees and peaks, and the line pieces
// (roads, rivers, supply lines, temporary bridges) that other pictures reuse.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>

#include <cstdint>

namespace kv::sample {

class Rng;

// A ground: two colours blended by grid noise, with a little per-pixel grain.
struct Ground {
    QColor low, high;
    double grain;  // brightness spread of the grain, 0..1
    uint32_t seed;
};

// Paints `ground` over the whole picture; its pixel (0, 0) lies at `world` on the map grid, so
// grounds painted at different origins still meet seamlessly.
void paintGround(QImage& image, const Ground& ground, QPoint world = {});

// Grounds by terrain picture number, reused by buildings standing on them.
Ground grassGround(uint32_t seed = 11);
Ground paveGround(uint32_t seed = 91);
Ground seaGround(uint32_t seed = 29);

// Paints the whole base picture `n` (ground and features) into a 48 x 48 cell picture.
void paintBasePicture(int n, QImage& cell);

// Natural features, in cell coordinates.
void drawTree(QPainter& p, QPointF c, double r, const QColor& crown);
void drawConifer(QPainter& p, QPointF c, double h, const QColor& body, bool snow);
struct PeakStyle {
    QColor lit, shade, outline;
    QColor snow;      // invalid: no snow cap
    double snowLine;  // share of the height under snow
};
void drawPeak(QPainter& p, QPointF base, double width, double height, const PeakStyle& s, Rng& rng);
void drawMound(QPainter& p, QPointF base, double width, double height, const QColor& light,
               const QColor& dark);
PeakStyle mountainStyle();
PeakStyle highMountainStyle();
PeakStyle snowMountainStyle();

// Line pieces: `links` is a 6-bit set of sides, drawn from the centre to the midpoints of
// those sides and a little past them, so neighbours' pieces meet exactly.
void drawRoadPiece(QPainter& p, int links);
void drawRiverPiece(QPainter& p, int links, int variant);  // 0 river, 1 deep, 2 frozen
void drawSupplyPiece(QPainter& p, int links);
void drawTempBridgePiece(QPainter& p, int piece);
void drawBridgePiece(QPainter& p, int piece, const QColor& girder, bool destroyed);

// The faction colour: one blue hue in a few shades, which the hue rotation turns into each
// faction's colour. Neutral parts stay grey (equal red, green and blue).
inline constexpr int kFactionHue = 220;  // degrees
QColor factionShade(double level);       // 0 dark .. 1 light
// Whether a colour is grey-ish or within `degrees` of the faction hue.
bool nearFactionHue(const QColor& c, int degrees);
QColor neutralShade(double level);

}  // namespace kv::sample
