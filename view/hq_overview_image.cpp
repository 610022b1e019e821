// The HQ map's picture.
#include "view/hq_overview_image.h"

#include <algorithm>

#include "document/map_document.h"
#include "framework/errors.h"
#include "framework/picture.h"

namespace kv {

namespace {

constexpr QRgb kNoColour = qRgb(0, 0, 0);

QImage stripOrNothing(const char* name) {
    try {
        return loadPicture(name).image();
    } catch (const swCError&) {
        return {};
    }
}

}  // namespace

void HqOverviewImage::loadStrips() {
    setStrips(stripOrNothing("hq1.bmp"), stripOrNothing("hq2.bmp"), stripOrNothing("hqc1.bmp"),
              stripOrNothing("hqc2.bmp"));
}

void HqOverviewImage::setStrips(QImage terrain1, QImage terrain2, QImage owners1, QImage owners2) {
    strips_ = {terrain1.convertToFormat(QImage::Format_RGB32),
               terrain2.convertToFormat(QImage::Format_RGB32),
               owners1.convertToFormat(QImage::Format_RGB32),
               owners2.convertToFormat(QImage::Format_RGB32)};
    cutSquares();
}

// Reads every square of the strips for the scale and colour row once, so that drawing a hex
// is a table look-up and a few pixel writes.
void HqOverviewImage::cutSquares() {
    const int s = layout_.scale;
    auto cut = [s](const QImage& strip, int index, int row) {
        Square sq;
        sq.fill(kNoColour);
        const int x0 = index * s, y0 = row * s;
        for (int y = 0; y < s; ++y)
            for (int x = 0; x < s; ++x)
                if (x0 + x < strip.width() && y0 + y < strip.height())
                    sq[size_t(y * 2 + x)] = strip.pixel(x0 + x, y0 + y);
        return sq;
    };
    const QImage& terrain = strips_[s == 2 ? 1 : 0];
    const QImage& owners = strips_[s == 2 ? 3 : 2];
    terrainSquares_.assign(size_t(std::max(0, terrain.width() / s)), Square{});
    for (size_t i = 0; i < terrainSquares_.size(); ++i)
        terrainSquares_[i] = cut(terrain, int(i), colourRow_);
    for (size_t i = 0; i < ownerSquares_.size(); ++i) ownerSquares_[i] = cut(owners, int(i), 0);
}

void HqOverviewImage::reset(const MapDocument& doc, int colourRow) {
    mapWidth_ = doc.width();
    mapHeight_ = doc.height();
    layout_ = HqLayout::of(mapWidth_, mapHeight_);
    colourRow_ = colourRow == 1 ? 1 : 0;
    image_ = QImage(std::max(1, mapWidth_ * layout_.scale), std::max(1, mapHeight_ * layout_.scale),
                    QImage::Format_RGB32);
    cutSquares();
    rebuild(doc);
}

void HqOverviewImage::setColourRow(int row) {
    colourRow_ = row == 1 ? 1 : 0;
    cutSquares();
}

const HqOverviewImage::Square& HqOverviewImage::squareOf(const MapDocument& doc,
                                                         const HexCell& cell) const {
    static const Square kNone = [] {
        Square s;
        s.fill(kNoColour);
        return s;
    }();
    const HqSquare sq = hqSquare(cell, doc.gameDatabase.terrainTypes());
    if (sq.owners)
        return sq.index >= 0 && size_t(sq.index) < ownerSquares_.size()
                   ? ownerSquares_[size_t(sq.index)]
                   : kNone;
    return sq.index >= 0 && size_t(sq.index) < terrainSquares_.size()
               ? terrainSquares_[size_t(sq.index)]
               : kNone;
}

void HqOverviewImage::put(int col, int row, const Square& s) {
    const int scale = layout_.scale;
    for (int y = 0; y < scale; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(row * scale + y)) + col * scale;
        for (int x = 0; x < scale; ++x) line[x] = s[size_t(y * 2 + x)];
    }
}

void HqOverviewImage::rebuild(const MapDocument& doc) {
    if (image_.isNull() || doc.width() != mapWidth_ || doc.height() != mapHeight_) return;
    for (int row = 0; row < mapHeight_; ++row)
        for (int col = 0; col < mapWidth_; ++col)
            if (const HexCell* cell = doc.cellAt(col, row)) put(col, row, squareOf(doc, *cell));
}

bool HqOverviewImage::updateHex(const MapDocument& doc, int col, int row) {
    if (image_.isNull() || col < 0 || row < 0 || col >= mapWidth_ || row >= mapHeight_)
        return false;
    const HexCell* cell = doc.cellAt(col, row);
    if (!cell) return false;
    put(col, row, squareOf(doc, *cell));
    return true;
}

}  // namespace kv
