// Canvas drawing over QPainter, without antialiasing so that lines and frames hit whole pixels.
#include "framework/canvas.h"

#include <QPaintDevice>
#include <QPen>
#include <QRect>

#include <algorithm>

#include "framework/picture.h"

namespace kv {

namespace {

QRect toQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

// The edge colours of a classic button face.
constexpr QRgb kHighlight = 0xFFFFFFFF;
constexpr QRgb kLight = 0xFFE3E3E3;
constexpr QRgb kShadow = 0xFFA0A0A0;
constexpr QRgb kDarkShadow = 0xFF696969;

}  // namespace

Canvas::Canvas(QPaintDevice& device) : painter_(&device) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
}

void Canvas::copy(int x, int y, const Picture& source, const Rect& rect) {
    if (source.isNull() || rect.width() <= 0 || rect.height() <= 0) return;
    painter_.drawImage(QPoint(x, y), source.image(), toQRect(rect));
}

void Canvas::stretchCopy(const Rect& destination, const Picture& source, const Rect& rect,
                         bool smooth) {
    if (source.isNull() || rect.width() <= 0 || rect.height() <= 0 || destination.width() <= 0 ||
        destination.height() <= 0)
        return;
    painter_.save();
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter_.drawImage(toQRect(destination), source.image(), toQRect(rect));
    painter_.restore();
}

void Canvas::drawKeyed(int x, int y, const Picture& source, const Rect& rect, QRgb key) {
    // Only the part of `rect` inside the source is drawn, at its own place.
    const Rect inside{std::max(rect.left, 0), std::max(rect.top, 0),
                      std::min(rect.right, source.width()), std::min(rect.bottom, source.height())};
    if (source.isNull() || inside.width() <= 0 || inside.height() <= 0) return;
    painter_.drawImage(QPoint(x + inside.left - rect.left, y + inside.top - rect.top),
                       source.cut(inside).withTransparentKey(key));
}

void Canvas::fillRect(const Rect& rect, QRgb colour) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    painter_.fillRect(toQRect(rect), QColor::fromRgb(colour));
}

void Canvas::frameRect(const Rect& rect, QRgb colour) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    const QColor c = QColor::fromRgb(colour);
    painter_.fillRect(QRect(rect.left, rect.top, rect.width(), 1), c);
    painter_.fillRect(QRect(rect.left, rect.bottom - 1, rect.width(), 1), c);
    painter_.fillRect(QRect(rect.left, rect.top, 1, rect.height()), c);
    painter_.fillRect(QRect(rect.right - 1, rect.top, 1, rect.height()), c);
}

void Canvas::edge(const Rect& rect, bool raised) {
    // Outer ring, then inner ring: top-left colour and bottom-right colour of each.
    const QRgb rings[2][2] = {{raised ? kLight : kShadow, raised ? kDarkShadow : kHighlight},
                              {raised ? kHighlight : kDarkShadow, raised ? kShadow : kLight}};
    Rect r = rect;
    for (const auto& ring : rings) {
        if (r.width() <= 0 || r.height() <= 0) return;
        // The bottom-right colour runs the full length and owns the two shared corners.
        fillRect({r.left, r.bottom - 1, r.right, r.bottom}, ring[1]);
        fillRect({r.right - 1, r.top, r.right, r.bottom}, ring[1]);
        fillRect({r.left, r.top, r.right - 1, r.top + 1}, ring[0]);
        fillRect({r.left, r.top, r.left + 1, r.bottom - 1}, ring[0]);
        r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
}

void Canvas::polyline(std::span<const QPoint> points, QRgb colour) {
    if (points.size() < 2) return;
    painter_.save();
    painter_.setPen(QPen(QColor::fromRgb(colour), 0));  // cosmetic: one pixel at any scale
    painter_.drawPolyline(points.data(), static_cast<int>(points.size()));
    painter_.restore();
}

void Canvas::setPixel(int x, int y, QRgb colour) {
    painter_.fillRect(QRect(x, y, 1, 1), QColor::fromRgb(colour));
}

void Canvas::drawText(const Rect& rect, const QString& text, const QFont& font, QRgb colour,
                      int alignment) {
    painter_.save();
    painter_.setFont(font);
    painter_.setPen(QColor::fromRgb(colour));
    painter_.setBackgroundMode(Qt::TransparentMode);
    painter_.drawText(toQRect(rect), alignment, text);
    painter_.restore();
}

}  // namespace kv
