// The picture dialogs' art: the rule dialog's and the victory-condition dialog's backgrounds
// with the captions of their rows, and the sheet of every face of their buttons. The
// positions are the ones the dialogs place their controls at.
#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "sampledata/art.h"

namespace kv::sample {

namespace {

// Four looks per face, 32 pixels apart: normal, checked, pressed, disabled.
enum Look { Normal, Checked, Pressed, Disabled, LookCount };
constexpr int kLookStep = 32;

const QColor kPanelTop(58, 66, 52), kPanelBottom(30, 35, 28);
const QColor kPlate(76, 86, 68), kPlateEdge(120, 132, 104);
const QColor kCaption(236, 232, 214), kHeading(226, 196, 120);

QFont artFont(int px, bool bold = false) {
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(px);
    f.setBold(bold);
    f.setStyleStrategy(QFont::NoAntialias);  // crisp at 1x, like the other interface art
    return f;
}

// The largest size up to `px` at which `text` fits in `width`.
QFont fittingFont(const QString& text, int px, int width, bool bold = false) {
    QFont f = artFont(px, bold);
    while (px > 10 && QFontMetrics(f).horizontalAdvance(text) > width) f = artFont(--px, bold);
    return f;
}

void panel(QPainter& p, int w, int h, const QString& title) {
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, kPanelTop);
    g.setColorAt(1, kPanelBottom);
    p.fillRect(0, 0, w, h, g);
    p.setPen(QPen(kPlateEdge, 2));
    p.drawRoundedRect(QRectF(3, 3, w - 6, h - 6), 8, 8);
    p.setFont(artFont(20, true));
    p.setPen(kHeading);
    p.drawText(QRect(16, 12, w - 32, 28), Qt::AlignLeft | Qt::AlignVCenter, title);
}

// A caption plate left of a row of buttons.
void plate(QPainter& p, const QRect& r, const QString& text) {
    p.setPen(kPlateEdge);
    p.setBrush(kPlate);
    p.drawRoundedRect(r.adjusted(0, 0, -1, -1), 4, 4);
    p.setBrush(Qt::NoBrush);
    p.setPen(kCaption);
    p.setFont(fittingFont(text, 15, r.width() - 12));
    p.drawText(r.adjusted(6, 0, -6, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
}

void heading(QPainter& p, int x, int y, int w, const QString& text) {
    p.setFont(artFont(14, true));
    p.setPen(kHeading);
    p.drawText(QRect(x, y, w, 20), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.setPen(QPen(kHeading.darker(140), 1));
    const int textEnd = x + QFontMetrics(artFont(14, true)).horizontalAdvance(text) + 8;
    p.drawLine(textEnd, y + 10, x + w, y + 10);
}

// The rows of the rule dialog: rule caption, the left x of the buttons, y.
struct RuleRow {
    const char* caption;
    int x, y;
};
constexpr RuleRow kRuleRows[] = {
    {"陣営情報公開", 200, 56},
    {"生産", 200, 96},
    {"生産可能建物の首都から距離", 200, 136},
    {"占領耐久度", 200, 176},
    {"爆撃", 200, 216},
    {"首都破壊", 200, 256},
    {"首都占領時の建物所属", 200, 296},
    {"ZOC", 200, 376},
    {"補充", 200, 416},
    {"索敵", 200, 456},
    {"隠蔽", 200, 496},
    {"迎撃", 608, 96},
    {"クリティカルヒット", 608, 136},
    {"間接地上攻撃地点目標", 608, 176},
    {"同盟国での生産", 608, 256},
    {"同盟国での補充", 608, 296},
    {"同盟国への攻撃占領", 608, 336},
};

QImage ruleBackground() {
    QImage image(840, 560, QImage::Format_RGB32);
    QPainter p(&image);
    panel(p, 840, 560, QStringLiteral("ルール設定"));
    heading(p, 10, 344, 386, QStringLiteral("移動・索敵"));
    heading(p, 418, 70, 400, QStringLiteral("戦闘"));
    heading(p, 418, 230, 400, QStringLiteral("同盟国"));
    for (const RuleRow& r : kRuleRows)
        plate(p, QRect(r.x - 192, r.y, 186, 32), QString::fromUtf8(r.caption));
    // The box of the rule set, under the last rule row: the drop-down or the name edit sits
    // in it at (668, 392).
    p.setPen(kPlateEdge);
    p.setBrush(kPlate.darker(120));
    p.drawRoundedRect(QRect(656, 374, 176, 60), 6, 6);
    p.setBrush(Qt::NoBrush);
    p.setFont(artFont(12, true));
    p.setPen(kHeading);
    p.drawText(QRect(664, 376, 160, 15), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("ルールセット"));
    p.setPen(QPen(kPlateEdge, 1));
    p.drawLine(416, 506, 824, 506);
    return image;
}

QImage victoryBackground() {
    QImage image(432, 600, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, 600);
    g.setColorAt(0, kPanelTop);
    g.setColorAt(1, kPanelBottom);
    p.fillRect(0, 0, 432, 600, g);
    p.setPen(QPen(kPlateEdge, 2));
    p.drawRoundedRect(QRectF(3, 3, 426, 594), 8, 8);
    // The slot buttons take the top row; the title sits under them.
    p.setFont(artFont(18, true));
    p.setPen(kHeading);
    p.drawText(QRect(20, 56, 392, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("勝利条件設定"));
    plate(p, QRect(20, 88, 110, 32), QStringLiteral("建物占領"));
    plate(p, QRect(20, 128, 110, 32), QStringLiteral("部隊全滅"));
    plate(p, QRect(20, 168, 110, 32), QStringLiteral("部隊輸送"));
    p.setFont(artFont(12));
    p.setPen(kCaption);
    p.drawText(QRect(312, 179, 46, 22), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("機数"));
    p.drawText(QRect(386, 179, 40, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("機"));
    heading(p, 20, 262, 392, QStringLiteral("オプション"));
    heading(p, 20, 346, 392, QStringLiteral("条件値"));
    for (int v = 0; v < 4; ++v) {
        const int y = 376 + 40 * v;
        plate(p, QRect(20, y, 110, 32), QStringLiteral("条件値%1").arg(v + 1));
        const int edit = v < 2 ? 368 : 344, width = v < 2 ? 24 : 48;
        p.setPen(kPlateEdge);
        p.drawRect(QRect(edit - 2, y + 11, width + 3, 21));
    }
    p.setPen(QPen(kPlateEdge, 1));
    p.drawLine(16, 546, 416, 546);
    return image;
}

// `colour`: a faction's face, which keeps its colour when checked and gains a frame instead.
void bevelFace(QPainter& p, const QRect& r, Look look, QColor face, bool colour) {
    if (look == Disabled) face = colour ? face.darker(220) : QColor(150, 150, 146);
    if (look == Checked && !colour) face = QColor(222, 186, 96);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, look == Pressed ? face.darker(115) : face.lighter(110));
    g.setColorAt(1, look == Pressed ? face.darker(104) : face.darker(112));
    p.fillRect(r, g);
    const QRect e = r.adjusted(0, 0, -1, -1);
    const bool sunk = look == Pressed || look == Checked;
    p.setPen(sunk ? QColor(60, 56, 40) : QColor(250, 250, 244));
    p.drawLine(e.topLeft(), e.topRight());
    p.drawLine(e.topLeft(), e.bottomLeft());
    p.setPen(sunk ? QColor(250, 250, 244) : QColor(60, 60, 56));
    p.drawLine(e.bottomLeft(), e.bottomRight());
    p.drawLine(e.topRight(), e.bottomRight());
    if (colour && look == Checked) {
        p.setPen(QPen(QColor(255, 255, 255), 2));
        p.drawRect(QRectF(r).adjusted(3, 3, -3, -3));
    }
}

// Every look of one face at (x, y) of the sheet.
void button(QPainter& p, int x, int y, int w, const QString& text, QColor colour = QColor()) {
    for (int look = 0; look < LookCount; ++look) {
        const QRect r(x, y + look * kLookStep, w, 32);
        bevelFace(p, r, Look(look), colour.isValid() ? colour : QColor(214, 211, 204),
                  colour.isValid());
        if (text.isEmpty()) continue;
        const int shift = look == Pressed ? 1 : 0;
        p.setFont(fittingFont(text, 15, w - 8, look == Checked));
        p.setPen(look == Disabled ? QColor(104, 104, 100) : QColor(20, 20, 24));
        p.drawText(r.adjusted(2 + shift, 1 + shift, -2 + shift, shift), Qt::AlignCenter, text);
    }
}

QImage buttonSheet() {
    QImage image(920, 384, QImage::Format_RGB32);
    image.fill(QColor(30, 35, 28));
    QPainter p(&image);
    // Rule rows: the face pairs (on, off).
    const char* ruleFaces[8] = {"公開",     "非公開",   "あり",     "なし",
                                "制限あり", "制限なし", "占領側へ", "そのまま"};
    for (int f = 0; f < 8; ++f) button(p, 100 * f, 0, 100, QString::fromUtf8(ruleFaces[f]));
    button(p, 800, 0, 120, QStringLiteral("なし"));  // the three-way option's "none"
    // Victory conditions.
    button(p, 0, 128, 88, QStringLiteral("条件１"));
    button(p, 88, 128, 88, QStringLiteral("条件２"));
    button(p, 176, 128, 88, QStringLiteral("あり"));
    button(p, 264, 128, 88, QStringLiteral("なし"));
    button(p, 352, 128, 76, QStringLiteral("有効"));
    button(p, 428, 128, 76, QStringLiteral("無効"));
    button(p, 504, 128, 180, QStringLiteral("すべて満たす"));
    button(p, 684, 128, 180, QStringLiteral("いずれか満たす"));
    button(p, 0, 256, 120, QStringLiteral("方式１"));
    button(p, 120, 256, 120, QStringLiteral("方式２"));
    button(p, 240, 256, 48, QString());
    button(p, 288, 256, 96, QStringLiteral("OK"));
    button(p, 384, 256, 96, QStringLiteral("ｷｬﾝｾﾙ"));
    button(p, 480, 256, 176, QString());
    // The six faction slots in their colours.
    const QColor slotColours[6] = {QColor(60, 110, 220), QColor(220, 60, 50),
                                   QColor(60, 170, 70),  QColor(230, 210, 60),
                                   QColor(150, 80, 190), QColor(60, 200, 210)};
    for (int i = 0; i < 6; ++i) button(p, 656 + 32 * i, 256, 32, QString(), slotColours[i]);
    return image;
}

}  // namespace

std::vector<ArtFile> pictureDialogBitmaps() {
    return {{"bmp/rule.bmp", ruleBackground()},
            {"bmp/victory.bmp", victoryBackground()},
            {"bmp/rule_btn.bmp", buttonSheet()}};
}

}  // namespace kv::sample
