// Drawing on an image or a widget with pictures, in the editor's terms: rectangles with
// exclusive right and bottom edges, colours as QRgb, pixel-exact lines.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QRgb>
#include <QString>

#include <span>

#include "framework/bitmap_block.h"
#include "framework/placement.h"

class QPaintDevice;

namespace kv {

class Picture;

class Canvas {
public:
    // Paints on `device` until the canvas ends.
    explicit Canvas(QPaintDevice& device);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    QPainter& painter() { return painter_; }

    // The part `rect` of `source` at (x, y), as it is.
    void copy(int x, int y, const Picture& source, const Rect& rect);
    // The part `rect` of `source` stretched over `destination`; `smooth` filters.
    void stretchCopy(const Rect& destination, const Picture& source, const Rect& rect,
                     bool smooth = false);
    // The part `rect` of `source` at (x, y), leaving the canvas where the source has `key`.
    void drawKeyed(int x, int y, const Picture& source, const Rect& rect, QRgb key = kColourKey);
    void fillRect(const Rect& rect, QRgb colour);
    // A one-pixel frame along the inside of `rect`.
    void frameRect(const Rect& rect, QRgb colour);
    // The two-pixel edge of a raised or sunken button face, inside `rect`.
    void edge(const Rect& rect, bool raised);
    // Connected one-pixel-wide segments through `points`.
    void polyline(std::span<const QPoint> points, QRgb colour);
    void setPixel(int x, int y, QRgb colour);
    // Text in `rect` with a transparent background; `alignment` is a combination of
    // Qt::AlignmentFlag and Qt::TextFlag.
    void drawText(const Rect& rect, const QString& text, const QFont& font, QRgb colour,
                  int alignment = Qt::AlignLeft | Qt::AlignTop);

private:
    QPainter painter_;
};

}  // namespace kv
