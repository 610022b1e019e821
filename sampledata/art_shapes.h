// Silhouettes of the weapon types, shared by the weapon-type icons, the unit icons and the
// unit pictures: aircraft from above, everything else from the side, facing right.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <vector>

namespace kv::sample {

// One filled part of a silhouette. Tones: 0 body, 1 dark detail (tracks, wheels, rotors),
// 2 light detail (canopies, windows), 3 stores (missiles, rockets, flags).
struct ShapePart {
    QPainterPath path;
    int tone;
};

// The silhouette of weapon-type picture `picture` (0..63; 57..63 are the towed forms) in a
// 100 x 60 box. `variant` changes proportions a little, so weapons of one type differ.
std::vector<ShapePart> weaponShape(int picture, int variant = 0);

// Paints the silhouette fitted into `box` in one body colour with darker details and an
// outline `outline` pixels wide.
void drawFlatShape(QPainter& p, int picture, const QRectF& box, const QColor& body,
                   const QColor& detail, const QColor& outline, double outlineWidth);

// Where a type's silhouette belongs: 0 air, 1 land, 2 sea (surface), 3 under the sea.
int shapeBranch(int picture);

}  // namespace kv::sample
