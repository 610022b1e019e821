// The button face sheets: one bitmap per button size, a column per face, rows normal, pushed
// and disabled (no focus row: the buttons draw their own focus mark).
#include <QFont>
#include <QLinearGradient>
#include <QPainter>

#include <functional>
#include <string>

#include "framework/button_faces.h"
#include "sampledata/art.h"

namespace kv::sample {

namespace {

enum Row { Normal, Pushed, Disabled, RowCount };

QFont faceFont(int px) {
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(px);
    f.setStyleStrategy(QFont::NoAntialias);  // crisp at 1x
    return f;
}

void bevel(QPainter& p, const QRect& r, Row row) {
    const QColor face = row == Disabled ? QColor(200, 198, 194) : QColor(214, 211, 204);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, row == Pushed ? face.darker(112) : face.lighter(106));
    g.setColorAt(1, row == Pushed ? face.darker(104) : face.darker(108));
    p.fillRect(r, g);
    const QColor light(252, 252, 252), dark(90, 90, 90);
    const QRect e = r.adjusted(0, 0, -1, -1);
    p.setPen(row == Pushed ? dark : light);
    p.drawLine(e.topLeft(), e.topRight());
    p.drawLine(e.topLeft(), e.bottomLeft());
    p.setPen(row == Pushed ? light : dark);
    p.drawLine(e.bottomLeft(), e.bottomRight());
    p.drawLine(e.topRight(), e.bottomRight());
}

// One face: bevel, an optional accent bar and the caption, shifted a pixel when pushed.
void face(QPainter& p, const QRect& r, Row row, const QString& text, QColor accent, int px) {
    bevel(p, r, row);
    const int shift = row == Pushed ? 1 : 0;
    const QRect inner = r.adjusted(2 + shift, 2 + shift, -2 + shift, -2 + shift);
    if (accent.isValid() && row != Disabled)
        p.fillRect(QRect(inner.left(), inner.bottom() - 1, inner.width(), 2), accent);
    if (text.isEmpty()) return;
    p.setFont(faceFont(px));
    p.setPen(row == Disabled ? QColor(150, 150, 150) : QColor(20, 20, 24));
    p.drawText(inner, Qt::AlignCenter | Qt::TextSingleLine, text);
}

QImage sheet(int w, int h, int count, const std::function<void(QPainter&, QRect, Row, int)>& f) {
    QImage image(w * count, h * RowCount, QImage::Format_RGB32);
    image.fill(QColor(214, 211, 204));
    QPainter p(&image);
    for (int n = 0; n < count; ++n)
        for (int row = 0; row < RowCount; ++row) f(p, QRect(n * w, row * h, w, h), Row(row), n);
    return image;
}

QImage toolSheet() {
    return sheet(26, 26, faces::ToolCount, [](QPainter& p, QRect r, Row row, int n) {
        const faces::ToolFace& f = faces::kToolFaces[n];
        const QString glyph = QString::fromUtf8(f.glyph);
        face(p, r, row, glyph, QColor::fromRgb(f.rgb), glyph.size() > 1 ? 10 : 14);
    });
}

QImage captionSheet(int w, int h, int count, const char* const* captions, int px) {
    return sheet(w, h, count, [&](QPainter& p, QRect r, Row row, int n) {
        face(p, r, row, QString::fromUtf8(captions[n]), QColor(), px);
    });
}

}  // namespace

std::vector<ArtFile> buttonSheets() {
    std::vector<ArtFile> files;
    files.push_back({"bmp/btn26x26.bmp", toolSheet()});
    files.push_back(
        {"bmp/btn48x20.bmp", captionSheet(48, 20, faces::Wide48Count, faces::kWide48Captions, 12)});
    files.push_back(
        {"bmp/btn70x20.bmp", captionSheet(70, 20, faces::Wide70Count, faces::kWide70Captions, 12)});
    const std::pair<int, int> small[] = {{16, 16}, {20, 20}, {24, 20}, {28, 20}, {32, 20}};
    for (auto [w, h] : small)
        files.push_back({"bmp/btn" + std::to_string(w) + "x" + std::to_string(h) + ".bmp",
                         captionSheet(w, h, faces::SmallCount, faces::kSmallGlyphs, 10)});
    const std::pair<int, int> wide[] = {{48, 16}, {55, 20}, {90, 20}, {228, 20}, {230, 20}};
    for (auto [w, h] : wide)
        files.push_back({"bmp/btn" + std::to_string(w) + "x" + std::to_string(h) + ".bmp",
                         captionSheet(w, h, faces::CaptionCount, faces::kCaptions, 12)});
    return files;
}

}  // namespace kv::sample
