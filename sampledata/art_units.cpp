// Troop pictures: the weapon-type icons (unit48.bmp), the unit icon pages of 32 and 48
// pixels, and the unit picture of every weapon.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include "gamedata/weapons.h"
#include "sampledata/art.h"
#include "sampledata/art_canvas.h"
#include "sampledata/art_paint.h"
#include "sampledata/art_shapes.h"
#include "sampledata/weapon_data.h"

namespace kv::sample {

namespace {

enum class Look { Flat, Shaded, Natural };

QBrush toneBrush(int tone, Look look, int branch, const QRectF& box) {
    if (look == Look::Flat) {
        static const int kGrey[4] = {246, 64, 168, 214};
        return QBrush(grey(kGrey[tone]));
    }
    if (look == Look::Shaded) {
        if (tone == 0) {
            QLinearGradient g(box.topLeft(), box.bottomLeft());
            g.setColorAt(0, grey(222));
            g.setColorAt(1, grey(120));
            return QBrush(g);
        }
        static const int kGrey[4] = {0, 52, 236, 250};
        return QBrush(grey(kGrey[tone]));
    }
    static const QColor kBody[4] = {QColor(206, 210, 216), QColor(108, 116, 70),
                                    QColor(140, 148, 158), QColor(62, 66, 76)};
    switch (tone) {
        case 0: return QBrush(kBody[branch]);
        case 1: return QBrush(QColor(40, 40, 40));
        case 2: return QBrush(branch == 1 ? QColor(84, 92, 60) : QColor(120, 176, 214));
        default: return QBrush(QColor(236, 232, 220));
    }
}

// Draws a silhouette fitted into `box`, with an outline of `outline` pixels.
void drawShape(QPainter& p, int picture, int variant, const QRectF& box, Look look,
               double outline) {
    const std::vector<ShapePart> parts = weaponShape(picture, variant);
    const double scale = std::min(box.width() / 100, box.height() / 60);
    p.save();
    p.translate(box.center().x() - 50 * scale, box.center().y() - 30 * scale);
    p.scale(scale, scale);
    const QRectF designBox(0, 0, 100, 60);
    const int branch = shapeBranch(picture);
    // One outline around the whole silhouette, then the parts over it.
    p.setPen(QPen(grey(look == Look::Natural ? 30 : 28), 2 * outline / scale, Qt::SolidLine,
                  Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    for (const ShapePart& part : parts) p.drawPath(part.path);
    p.setPen(Qt::NoPen);
    for (const ShapePart& part : parts) {
        p.setBrush(toneBrush(part.tone, look, branch, designBox));
        p.drawPath(part.path);
    }
    p.restore();
}

int pictureOf(const SampleWeapon& w) {
    if (w.towedAlternate) {
        for (const auto& [from, to] : WeaponData::kTowedPictures) {
            if (from == w.weaponType) return to;
        }
    }
    return w.weaponType;
}

// A weapon-type icon: a counter in the faction colour with the type in white.
QImage typeIcon(int picture) {
    QImage cell = blankImage();
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate(4, 9.5, 40, 29);
    QLinearGradient g(plate.topLeft(), plate.bottomLeft());
    g.setColorAt(0, factionShade(0.72));
    g.setColorAt(1, factionShade(0.32));
    p.setPen(QPen(factionShade(0.05), 1.4));
    p.setBrush(g);
    p.drawRoundedRect(plate, 5, 5);
    drawShape(p, picture, 0, QRectF(5, 11, 38, 26), Look::Flat, 0.9);
    p.end();
    return keyed(cell);
}

// A unit icon: the weapon in metal greys over a plate of the faction colour.
QImage unitIcon(const SampleWeapon& w, int size) {
    QImage cell = blankImage(size, size);
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    const QRectF plate(3, 15, 42, 24);
    QLinearGradient g(plate.topLeft(), plate.bottomLeft());
    g.setColorAt(0, factionShade(0.85));
    g.setColorAt(1, factionShade(0.4));
    p.setPen(QPen(factionShade(0.05), 1.3));
    p.setBrush(g);
    p.drawRoundedRect(plate, 11, 11);
    drawShape(p, pictureOf(w), w.id, QRectF(1, 5, 46, 32), Look::Shaded, size == 48 ? 0.8 : 1.0);
    p.end();
    return keyed(cell);
}

}  // namespace

QImage weaponIconImage() {
    Sheet block(7, 10);
    for (int picture = 0; picture < WeaponData::kWeaponPictureCount; ++picture) {
        block.put(picture / 10, picture % 10, typeIcon(picture));
    }
    // One block per faction; every block is recoloured with its faction's hue when loaded.
    QImage image(42 * kCell, 10 * kCell, QImage::Format_RGB32);
    QPainter p(&image);
    for (int f = 0; f < 6; ++f) p.drawImage(f * 7 * kCell, 0, block.image());
    return image;
}

QImage unitIconPage(int size) {
    const auto& weapons = sampleWeapons();
    Sheet page(static_cast<int>(weapons.size()), 1, size);
    for (size_t i = 0; i < weapons.size(); ++i) {
        page.put(static_cast<int>(i), 0, unitIcon(weapons[i], size));
    }
    return page.image();
}

QImage unitPicture(int weaponId) {
    QImage image(kUnitPictureWidth, kUnitPictureHeight, QImage::Format_RGB32);
    const SampleWeapon* weapon = nullptr;
    for (const SampleWeapon& w : sampleWeapons()) {
        if (w.id == weaponId) weapon = &w;
    }
    image.fill(grey(40));
    if (!weapon) return image;
    const int picture = pictureOf(*weapon);
    const int branch = shapeBranch(picture);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = kUnitPictureWidth, h = kUnitPictureHeight;
    // The scene: sky, with land, sea or deep water below.
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(96, 150, 214));
    sky.setColorAt(1, QColor(200, 224, 244));
    p.fillRect(QRectF(0, 0, w, h), sky);
    if (branch == 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 252, 255, 200));
        p.drawEllipse(QPointF(14, 30), 12, 4);
        p.drawEllipse(QPointF(62, 8), 10, 3);
    } else if (branch == 1) {
        p.fillRect(QRectF(0, h * 0.72, w, h * 0.28), QColor(120, 140, 80));
        p.fillRect(QRectF(0, h * 0.72, w, 1.5), QColor(92, 110, 60));
    } else if (branch == 2) {
        p.fillRect(QRectF(0, h * 0.7, w, h * 0.3), QColor(40, 96, 160));
        p.fillRect(QRectF(0, h * 0.7, w, 1), QColor(170, 206, 236));
    } else {
        QLinearGradient deep(0, 0, 0, h);
        deep.setColorAt(0, QColor(40, 110, 170));
        deep.setColorAt(1, QColor(8, 30, 70));
        p.fillRect(QRectF(0, 0, w, h), deep);
    }
    const QRectF box = branch == 0 ? QRectF(8, 2, 64, 36) : QRectF(4, 0, 72, 38);
    drawShape(p, picture, weapon->id, box, Look::Natural, 0.7);
    p.setPen(QPen(grey(30), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    return image;
}

}  // namespace kv::sample
