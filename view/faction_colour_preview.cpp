// Cutting the preview art once and turning it by the angle being edited.
#include "view/faction_colour_preview.h"

#include <QPainter>

#include "framework/bitmap_block.h"
#include "framework/errors.h"

namespace kv {

namespace {

constexpr int kArt = 48;

Picture loadOrNothing(const char* name) {
    try {
        return loadPicture(name);
    } catch (const swCError&) {
        return {};
    }
}

// `count` cells of row `row` of `sheet` from column `first`; null when the sheet is.
Picture row(const Picture& sheet, int first, int rowIndex, int count) {
    if (sheet.isNull()) return {};
    return sheet.cut(
        {first * kArt, rowIndex * kArt, (first + count) * kArt, (rowIndex + 1) * kArt});
}

// `count` copies of one cell side by side.
Picture repeated(const Picture& cell, int count) {
    if (cell.isNull()) return {};
    QImage out(count * cell.width(), cell.height(), QImage::Format_RGB32);
    QPainter p(&out);
    for (int i = 0; i < count; ++i) p.drawImage(i * cell.width(), 0, cell.image());
    p.end();
    return Picture(out);
}

// The borderline kinds side by side: cell k holds every side piece of row k drawn into one
// hex (the pieces are keyed, so they add up).
Picture borderKinds(const Picture& border) {
    if (border.isNull()) return {};
    QImage out(5 * kArt, kArt, QImage::Format_RGB32);
    out.fill(0xFF000000u | kColourKey);
    for (int kind = 0; kind < 5; ++kind)
        for (int side = 0; side < 5; ++side)
            drawKeyed(out, kind * kArt, 0, border,
                      {side * kArt, kind * kArt, (side + 1) * kArt, (kind + 1) * kArt});
    return Picture(out);
}

}  // namespace

FactionColourPreview::FactionColourPreview() {
    const Picture base = loadOrNothing("land48_base.bmp");
    const Picture build = loadOrNothing("land48_build.bmp");
    const Picture bridge = loadOrNothing("bridge48.bmp");
    const Picture border = loadOrNothing("border48.bmp");
    const Picture territory = loadOrNothing("ecmcc48.bmp");
    const Picture icons = loadOrNothing("unit48.bmp");
    const Picture ground = repeated(row(base, 1, 0, 1), 5);  // grassland
    // Bridges in a faction's colour are on row 1; the coloured parts of buildings on rows
    // 3..5 over their plain rows 0..2; the first borderline block is 5 kinds × 5 sides; the
    // first faction's weapon icons are the first 7 columns.
    parts_[Terrain] = {ground, row(bridge, 0, 1, 5)};
    parts_[Building] = {row(build, 0, 0, 5), row(build, 0, 3, 5)};
    parts_[Borderline] = {ground, borderKinds(border)};
    parts_[Territory] = {ground, repeated(row(territory, 0, 0, 1), 5)};
    parts_[Weapon] = {{}, row(icons, 0, 0, 7)};
}

QImage FactionColourPreview::render(Kind kind, int hueAngle, QRgb background) const {
    const Part& part = parts_[size_t(kind)];
    if (part.coloured.isNull()) return {};
    QImage out(part.coloured.width(), part.coloured.height(), QImage::Format_RGB32);
    out.fill(background);
    if (!part.ground.isNull())
        drawKeyed(out, 0, 0, part.ground, {0, 0, part.ground.width(), part.ground.height()});
    const Picture turned = part.coloured.recoloured(hueAngle);
    drawKeyed(out, 0, 0, turned, {0, 0, turned.width(), turned.height()});
    return out;
}

}  // namespace kv
