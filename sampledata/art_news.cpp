// The newspaper art of the briefing and ending previews: the front page ("news.bmp"), its
// masthead banner ("news2.bmp") and the back / next / finish button faces ("news_btn.bmp").
#include <QPainter>
#include <QPainterPath>

#include <cmath>

#include "sampledata/art.h"
#include "sampledata/art_canvas.h"

namespace kv::sample {

namespace {

constexpr int kPageWidth = 640, kPageHeight = 512;
const QColor kInk(38, 36, 34);

// Newsprint at page position (x, y): warm off-white, faint fibres and grain, yellowed towards
// the edges. The banner and buttons take the paper of the place they are drawn at, so they
// sit on the page without a seam.
QRgb paper(int x, int y) {
    const double fibre = gridFbm(x / 23.0, y / 7.0, 401) - 0.5;
    const double grain = gridSpeckle(x, y, 402) - 0.5;
    const double dx = (x - kPageWidth / 2.0) / (kPageWidth / 2.0);
    const double dy = (y - kPageHeight / 2.0) / (kPageHeight / 2.0);
    const double edge = std::pow(std::max(std::abs(dx), std::abs(dy)), 6.0);
    const double light = 1.0 + 0.035 * fibre + 0.03 * grain;
    const int r = std::clamp(static_cast<int>((246 - 8 * edge) * light), 0, 255);
    const int g = std::clamp(static_cast<int>((242 - 14 * edge) * light), 0, 255);
    const int b = std::clamp(static_cast<int>((230 - 26 * edge) * light), 0, 255);
    return qRgb(r, g, b);
}

QImage paperAt(int left, int top, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = paper(left + x, top + y);
    }
    return image;
}

void rule(QPainter& p, double x1, double x2, double y, double width) {
    p.fillRect(QRectF(x1, y, x2 - x1, width), kInk);
}

// The front page: a double frame and the rules under the masthead and over the footer. The
// text areas stay plain paper.
QImage frontPage() {
    QImage image = paperAt(0, 0, kPageWidth, kPageHeight);
    QPainter p(&image);
    p.setPen(QPen(kInk, 2));
    p.drawRect(QRectF(5, 5, kPageWidth - 10, kPageHeight - 10));
    p.setPen(QPen(kInk, 1));
    p.drawRect(QRectF(9.5, 9.5, kPageWidth - 19, kPageHeight - 19));
    rule(p, 16, kPageWidth - 16, 86, 1);
    rule(p, 16, kPageWidth - 16, 88.5, 0.6);
    rule(p, 16, kPageWidth - 16, 502, 1);
    return image;
}

// The masthead banner drawn at (16, 12): thick and thin rules above and below the headline's
// band, an emblem of a globe at the left and a compass star at the right.
QImage banner() {
    constexpr int kWidth = 608, kHeight = 70;
    QImage image = paperAt(16, 12, kWidth, kHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    rule(p, 0, kWidth, 0, 3);
    rule(p, 0, kWidth, 5, 1);
    rule(p, 0, kWidth, kHeight - 6, 1);
    rule(p, 0, kWidth, kHeight - 3, 3);
    // Globe: circle, meridians and parallels.
    const QPointF globe(20, kHeight / 2.0);
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(globe, 15, 15);
    p.setPen(QPen(kInk, 0.9));
    p.drawEllipse(globe, 7, 15);
    p.drawLine(globe + QPointF(0, -15), globe + QPointF(0, 15));
    for (double dy : {-8.0, 0.0, 8.0}) {
        const double half = std::sqrt(15.0 * 15.0 - dy * dy);
        p.drawLine(globe + QPointF(-half, dy), globe + QPointF(half, dy));
    }
    // Compass star: eight points, the main four long.
    const QPointF star(kWidth - 20, kHeight / 2.0);
    QPainterPath path;
    for (int i = 0; i < 16; ++i) {
        const double a = i * M_PI / 8 - M_PI / 2;
        const double r = i % 4 == 0 ? 16 : i % 2 == 0 ? 9 : 4;
        const QPointF pt = star + QPointF(std::cos(a) * r, std::sin(a) * r);
        if (i == 0) {
            path.moveTo(pt);
        } else {
            path.lineTo(pt);
        }
    }
    path.closeSubpath();
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(kInk);
    p.drawPath(path);
    p.setBrush(QColor(paper(16 + kWidth - 20, 12 + kHeight / 2)));
    p.drawEllipse(star, 2.5, 2.5);
    // Thin columns of dots between the emblems and the headline band.
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    for (int y = 14; y < kHeight - 12; y += 6) {
        p.drawEllipse(QPointF(41, y), 1, 1);
        p.drawEllipse(QPointF(kWidth - 41, y), 1, 1);
    }
    return image;
}

// A button face of 120 × 32 at page position `at`: an inked frame with rounded corners and
// its sign — a double chevron back (0) or on (1), or a closing square (2).
void buttonFace(QPainter& p, int index, QPoint at) {
    const QRectF cell(index * 120, 0, 120, 32);
    p.drawImage(cell.topLeft(), paperAt(at.x(), at.y(), 120, 32));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(cell.adjusted(3, 3, -3, -3), 5, 5);
    p.setPen(QPen(kInk, 0.8));
    p.drawRoundedRect(cell.adjusted(6, 6, -6, -6), 3, 3);
    const QPointF c = cell.center();
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    if (index == 2) {
        p.drawRect(QRectF(c.x() - 6, c.y() - 6, 12, 12));
        return;
    }
    const double dir = index == 0 ? -1 : 1;
    for (double shift : {-7.0, 5.0}) {
        const double x = c.x() + dir * shift;
        const QPointF tip(x + dir * 6, c.y());
        const QPointF chevron[6] = {tip,
                                    {x - dir * 3, c.y() - 9},
                                    {x - dir * 7, c.y() - 9},
                                    {x + dir * 2, c.y()},
                                    {x - dir * 7, c.y() + 9},
                                    {x - dir * 3, c.y() + 9}};
        p.drawPolygon(chevron, 6);
    }
}

QImage buttonFaces() {
    QImage image(360, 32, QImage::Format_RGB32);
    QPainter p(&image);
    // Back sits at (380, 468); next and finish share (508, 468).
    buttonFace(p, 0, {380, 468});
    buttonFace(p, 1, {508, 468});
    buttonFace(p, 2, {508, 468});
    return image;
}

}  // namespace

std::vector<ArtFile> newspaperBitmaps() {
    return {{"bmp/news.bmp", frontPage()},
            {"bmp/news2.bmp", banner()},
            {"bmp/news_btn.bmp", buttonFaces()}};
}

}  // namespace kv::sample
