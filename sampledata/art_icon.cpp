// The program's icon, drawn as vectors on a 256-unit square and rendered at each size, so the
// small sizes stay as clean as the large one.
#include "sampledata/art_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace kv::sample {

namespace {

constexpr double kUnits = 256.0;

// A hex with a vertex at the top, as the map's hexes stand.
QPolygonF pointyHex(QPointF centre, double radius) {
    QPolygonF hex;
    for (int i = 0; i < 6; ++i) {
        const double a = (-90.0 + 60.0 * i) * M_PI / 180.0;
        hex << QPointF(centre.x() + radius * std::cos(a), centre.y() + radius * std::sin(a));
    }
    return hex;
}

void paintSeaAndLand(QPainter& p) {
    QLinearGradient sea(0, 0, 0, kUnits);
    sea.setColorAt(0, QColor(64, 140, 220));
    sea.setColorAt(1, QColor(24, 70, 150));
    p.fillRect(QRectF(0, 0, kUnits, kUnits), sea);

    QPainterPath land;
    land.moveTo(0, 112);
    land.cubicTo(60, 92, 96, 150, 150, 142);
    land.cubicTo(196, 136, 220, 186, kUnits, 196);
    land.lineTo(kUnits, kUnits);
    land.lineTo(0, kUnits);
    land.closeSubpath();
    p.strokePath(land, QPen(QColor(236, 214, 150), 16));  // the beach
    QLinearGradient green(0, 100, 0, kUnits);
    green.setColorAt(0, QColor(128, 184, 88));
    green.setColorAt(1, QColor(70, 128, 52));
    p.fillPath(land, green);

    // A road from the coast to the flag.
    QPainterPath road;
    road.moveTo(36, kUnits);
    road.cubicTo(60, 210, 110, 200, 142, 168);
    p.strokePath(road, QPen(QColor(214, 200, 170), 9, Qt::SolidLine, Qt::RoundCap));
}

// The map's hex grid, faint, over the whole tile.
void paintGrid(QPainter& p, double width) {
    const double r = 26.0, w = r * std::sqrt(3.0);
    p.setPen(QPen(QColor(255, 255, 255, 70), width));
    p.setBrush(Qt::NoBrush);
    for (int row = -1; row * r * 1.5 < kUnits + r; ++row) {
        const double y = row * r * 1.5;
        const double shift = (row & 1) ? w / 2 : 0;
        for (int col = -1; col * w < kUnits + w; ++col)
            p.drawPolygon(pointyHex({col * w + shift, y}, r));
    }
}

void paintFlag(QPainter& p, double outline) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(QPointF(142, 168), 20, 7);  // the pole's shadow on the ground

    QPainterPath flag;
    flag.moveTo(146, 40);
    flag.cubicTo(172, 26, 196, 58, 226, 44);
    flag.lineTo(226, 100);
    flag.cubicTo(196, 114, 172, 82, 146, 96);
    flag.closeSubpath();
    QLinearGradient red(146, 0, 226, 0);
    red.setColorAt(0, QColor(224, 48, 40));
    red.setColorAt(1, QColor(176, 24, 28));
    p.setPen(QPen(QColor(90, 10, 10), outline));
    p.setBrush(red);
    p.drawPath(flag);

    p.setPen(QPen(QColor(40, 40, 48), std::max(outline * 1.4, 10.0), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(142, 30), QPointF(142, 168));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 210, 80));
    p.drawEllipse(QPointF(142, 28), 9, 9);  // the finial
}

}  // namespace

QImage programIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kUnits, size / kUnits);
    // Lines keep at least about a pixel at the small sizes.
    const double pixel = kUnits / size;
    const QPolygonF tile = pointyHex({118, 138}, 114);

    p.save();
    QPainterPath clip;
    clip.addPolygon(tile);
    p.setClipPath(clip);
    paintSeaAndLand(p);
    if (size >= 48) paintGrid(p, std::max(2.0, pixel));
    p.restore();

    p.setPen(QPen(QColor(28, 36, 56), std::max(8.0, 1.2 * pixel), Qt::SolidLine, Qt::SquareCap,
                  Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(tile);
    paintFlag(p, std::max(4.0, 0.8 * pixel));
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

std::string programIconPath(int size) {
    const std::string n = std::to_string(size);
    return "icons/hicolor/" + n + "x" + n + "/apps/kvornme.png";
}

std::string writeProgramIcons(const std::string& root) {
    for (int size : kProgramIconSizes) {
        const std::filesystem::path path = std::filesystem::path(root) / programIconPath(size);
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        if (ec) return path.parent_path().string() + ": " + ec.message();
        if (!programIcon(size).save(QString::fromStdString(path.string()), "PNG"))
            return path.string() + ": cannot be written";
    }
    return {};
}

}  // namespace kv::sample
