// The HQ map's picture: one square per hex from the colour strips, built whole or one hex
// at a time.
#pragma once

#include <QImage>

#include <array>
#include <vector>

#include "document/hq_overview.h"

namespace kv {

class MapDocument;

class HqOverviewImage {
public:
    // The pixels of one square, row by row (up to 2 × 2).
    using Square = std::array<QRgb, 4>;

    // The four strips of the bitmap folder ("hq1.bmp", "hq2.bmp", "hqc1.bmp", "hqc2.bmp");
    // a missing one draws its squares black.
    void loadStrips();
    // The same from pictures in hand: terrain and owner strips of 1- and 2-pixel squares.
    void setStrips(QImage terrain1, QImage terrain2, QImage owners1, QImage owners2);

    // Sizes the picture for the document's map and builds it.
    void reset(const MapDocument& doc, int colourRow);
    // Chooses the terrain strips' row (0 or 1); the caller rebuilds.
    void setColourRow(int row);
    int colourRow() const { return colourRow_; }
    void rebuild(const MapDocument& doc);
    // Recolours one hex; false for a hex outside the map.
    bool updateHex(const MapDocument& doc, int col, int row);

    const HqLayout& layout() const { return layout_; }
    int mapWidth() const { return mapWidth_; }
    int mapHeight() const { return mapHeight_; }
    const QImage& image() const { return image_; }

private:
    void cutSquares();
    void put(int col, int row, const Square& s);
    const Square& squareOf(const MapDocument& doc, const HexCell& cell) const;

    std::array<QImage, 4> strips_;
    std::vector<Square> terrainSquares_;
    std::array<Square, 7> ownerSquares_{};
    HqLayout layout_;
    int mapWidth_ = 0, mapHeight_ = 0;
    int colourRow_ = 0;
    QImage image_;
};

}  // namespace kv
