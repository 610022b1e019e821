// The analysis windows' backgrounds: the combat comparison's panel (both sides' boxes, rows
// and captions) and the building count's table with the facility kinds of the bundled
// terrain table and the owner columns. The positions are the ones the windows draw at.
#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include "framework/cp932.h"
#include "gamedata/terrain.h"
#include "sampledata/art.h"
#include "sampledata/terrain_data.h"

namespace kv::sample {

namespace {

const QColor kPanelTop(40, 52, 70), kPanelBottom(18, 24, 34);
const QColor kBox(8, 10, 14), kBoxEdge(96, 112, 136);
const QColor kCaption(226, 232, 240), kHeading(236, 200, 120);

QFont artFont(int px, bool bold = false) {
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(px);
    f.setBold(bold);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

QFont fittingFont(const QString& text, int px, int width) {
    QFont f = artFont(px);
    while (px > 8 && QFontMetrics(f).horizontalAdvance(text) > width) f = artFont(--px);
    return f;
}

void background(QPainter& p, int w, int h) {
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, kPanelTop);
    g.setColorAt(1, kPanelBottom);
    p.fillRect(0, 0, w, h, g);
}

// A sunken box the window writes into.
void box(QPainter& p, const QRect& r) {
    p.fillRect(r, kBox);
    p.setPen(kBoxEdge);
    p.drawRect(r.adjusted(-1, -1, 0, 0));
}

void caption(QPainter& p, const QRect& r, const QString& text, int px = 12,
             Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter, QColor colour = kCaption) {
    p.setFont(fittingFont(text, px, r.width()));
    p.setPen(colour);
    p.drawText(r, align, text);
}

// One side of the comparison, 320 pixels wide, at x offset `dx`.
void comparisonSide(QPainter& p, int dx, const QString& title) {
    p.translate(dx, 0);
    caption(p, QRect(8, 4, 300, 18), title, 13, Qt::AlignLeft | Qt::AlignVCenter, kHeading);
    // Picture, names, type.
    p.setPen(kBoxEdge);
    p.drawRect(QRect(27, 27, 81, 41));
    box(p, QRect(108, 25, 208, 16));
    box(p, QRect(108, 49, 208, 16));
    box(p, QRect(44, 73, 128, 16));
    // Members.
    caption(p, QRect(24, 97, 56, 16), QStringLiteral("兵員"));
    for (int i = 0; i < 10; ++i) box(p, QRect(84 + 24 * i, 97, 16, 16));
    // Armament table.
    caption(p, QRect(80, 124, 120, 16), QStringLiteral("武装"), 12, Qt::AlignLeft, kHeading);
    caption(p, QRect(216, 124, 32, 16), QStringLiteral("攻撃"), 12, Qt::AlignCenter, kHeading);
    caption(p, QRect(252, 124, 32, 16), QStringLiteral("威力"), 12, Qt::AlignCenter, kHeading);
    caption(p, QRect(288, 124, 32, 16), QStringLiteral("弾数"), 12, Qt::AlignCenter, kHeading);
    for (int s = 0; s < 5; ++s) p.fillRect(QRect(76, 142 + 26 * s, 240, 22), QColor(28, 36, 50));
    // Figures.
    p.setPen(kBoxEdge);
    p.drawLine(16, 270, 312, 270);
    caption(p, QRect(24, 277, 48, 16), QStringLiteral("威力"));
    box(p, QRect(76, 277, 24, 16));
    caption(p, QRect(124, 277, 56, 16), QStringLiteral("弾数"));
    box(p, QRect(184, 277, 16, 16));
    box(p, QRect(280, 277, 32, 16));
    caption(p, QRect(24, 304, 48, 16), QStringLiteral("地形"));
    box(p, QRect(80, 304, 96, 16));
    caption(p, QRect(76, 326, 28, 16), QStringLiteral("実効"), 11, Qt::AlignCenter, kHeading);
    caption(p, QRect(116, 326, 32, 16), QStringLiteral("基本"), 11, Qt::AlignCenter, kHeading);
    caption(p, QRect(164, 326, 40, 16), QStringLiteral("補正"), 11, Qt::AlignCenter, kHeading);
    caption(p, QRect(24, 344, 48, 16), QStringLiteral("攻撃"));
    caption(p, QRect(24, 384, 48, 16), QStringLiteral("防御"));
    for (int y : {344, 384}) {
        box(p, QRect(76, y, 24, 16));
        box(p, QRect(116, y, 32, 16));
        box(p, QRect(168, y, 32, 16));
        box(p, QRect(224, y, 32, 16));
        box(p, QRect(280, y, 32, 16));
    }
    p.translate(-dx, 0);
}

QImage comparisonPanel() {
    QImage image(660, 460, QImage::Format_RGB32);
    QPainter p(&image);
    background(p, 660, 460);
    comparisonSide(p, 0, QStringLiteral("Ａ側"));
    comparisonSide(p, 320, QStringLiteral("Ｂ側"));
    p.setPen(QPen(kBoxEdge, 2));
    p.drawLine(322, 8, 322, 410);
    p.drawLine(8, 414, 652, 414);
    return image;
}

// The y of row d of the building count (the window's own rule).
int countRowY(int d) {
    if (d <= 3) return 40 + 28 * d;
    if (d <= 15) return 96 + 14 * d;
    if (d <= 18) return 110 + 14 * d;
    return 377;
}

QImage buildingCountPanel() {
    constexpr int kWidth = 526, kHeight = 404;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    background(p, kWidth, kHeight);
    const char* const columns[] = {"陣営１", "陣営２", "陣営３", "陣営４",
                                   "陣営５", "陣営６", "中立",   "全体"};
    for (int a = 0; a < 8; ++a) {
        const int x = 58 + 59 * a + (a == 7 ? 1 : 0);
        caption(p, QRect(x, 6, 54, 16), QString::fromUtf8(columns[a]), 12, Qt::AlignCenter,
                kHeading);
        box(p, QRect(x, 26, 54, 12));
    }
    caption(p, QRect(4, 26, 52, 12), QStringLiteral("総数"), 12, Qt::AlignLeft | Qt::AlignVCenter,
            kHeading);
    // The facility kinds of the bundled terrain table, in table order.
    std::vector<QString> kinds;
    for (const TerrainType& t : parseTerrainTable(terrainDataBytes()))
        if (isFacility(t.category))
            kinds.push_back(QString::fromStdString(decodeCp932Lossy(t.name)));
    for (int d = 0; d <= 19; ++d) {
        const int y = countRowY(d);
        const bool income = d <= 3 || d == 15 || d == 19;
        const QString name = d == 19                    ? QStringLiteral("合計")
                             : size_t(d) < kinds.size() ? kinds[size_t(d)]
                                                        : QString();
        if (d % 2 == 1 && d < 19)
            p.fillRect(QRect(2, y - 1, kWidth - 4, 14), QColor(255, 255, 255, 14));
        caption(p, QRect(4, y, 52, 12), name, 12);
        if (income)
            caption(p, QRect(10, y + 14, 46, 12), QStringLiteral("収入"), 11,
                    Qt::AlignLeft | Qt::AlignVCenter, QColor(150, 200, 255));
        for (int a = 0; a < 8; ++a) {
            const int x = 58 + 59 * a + (a == 7 ? 1 : 0);
            box(p, QRect(x, y, 54, 12));
            if (income) box(p, QRect(x, y + 14, 54, 12));
        }
    }
    p.setPen(kBoxEdge);
    p.drawLine(4, 372, kWidth - 4, 372);
    return image;
}

}  // namespace

std::vector<ArtFile> analysisBitmaps() {
    return {{"bmp/panel_fig4.bmp", comparisonPanel()}, {"bmp/buildcnt.bmp", buildingCountPanel()}};
}

}  // namespace kv::sample
