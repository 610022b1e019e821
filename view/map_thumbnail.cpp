// Map thumbnails. Drawing 65536 hexes and scaling them down would take far longer than a file
// manager waits, so large maps are sampled hex by hex from the HQ map's overview colours.
#include "view/map_thumbnail.h"

#include <QBuffer>
#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "document/map_document.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/picture.h"
#include "view/bitmap_export.h"
#include "view/sheet_cache.h"
#include "view/sprite_sheets.h"

namespace kv {

namespace {

// The terrain is drawn while its 16-pixel picture's longer side is at most this, or at most
// twice the thumbnail's: maps up to about 64 hexes across, and more for large thumbnails.
constexpr int kMaxDrawnSide = 1040;
constexpr int kHexSizes[] = {16, 32, 48};
constexpr QRgb kNoHex = 0xFF000000u;  // black, as the export leaves what no hex covers
constexpr QRgb kUnknown = 0xFF808080u;

int longerSide(const MapDocument& doc, int hexSize) {
    const ExportLayout l = exportLayout(doc.width(), doc.height(), hexSize);
    return std::max(l.width, l.height);
}

// The smallest hex size whose picture reaches the thumbnail's size, else the largest.
int drawingHexSize(const MapDocument& doc, int size) {
    for (int s : kHexSizes)
        if (longerSide(doc, s) >= size) return s;
    return kHexSizes[std::size(kHexSizes) - 1];
}

QImage drawnTerrain(const MapDocument& doc, int hexSize) {
    return exportImage(exportBitmapBytes(doc, cachedExportSheets(doc, hexSize)));
}

// A picture of the bitmap folder, or nothing when it is missing or broken.
Picture optionalPicture(std::string_view name) {
    try {
        return loadPicture(name);
    } catch (const swCError&) {
        return {};
    }
}

QRgb pixelOr(const Picture& p, int x, int y, QRgb fallback) {
    return x >= 0 && y >= 0 && x < p.width() && y < p.height() ? p.image().pixel(x, y) : fallback;
}

// Each hex's colour on the HQ map: its terrain's overview colour, a facility in its owner's.
std::vector<QRgb> hexColours(const MapDocument& doc) {
    const Picture strip = optionalPicture("hq1.bmp");
    const Picture owners = optionalPicture("hqc1.bmp");
    const std::vector<TerrainType>& types = doc.gameDatabase.terrainTypes();
    std::vector<QRgb> byTerrain(256, kUnknown);
    for (size_t i = 0; i < types.size() && i < byTerrain.size(); ++i)
        byTerrain[i] = pixelOr(strip, types[i].overviewColour, 0, kUnknown);
    std::vector<QRgb> colours(size_t(doc.width()) * size_t(doc.height()), kUnknown);
    for (int row = 0; row < doc.height(); ++row) {
        for (int col = 0; col < doc.width(); ++col) {
            const HexCell* cell = doc.cellAt(col, row);
            if (!cell) continue;
            QRgb c = byTerrain[cell->terrain];
            const bool owned = cell->owner >= 1 && cell->owner <= 7 &&
                               cell->terrain < types.size() &&
                               isFacility(types[cell->terrain].category);
            if (owned) c = pixelOr(owners, cell->owner - 1, 0, c);
            colours[size_t(row) * size_t(doc.width()) + size_t(col)] = c;
        }
    }
    return colours;
}

// One pixel per hex or a few: each pixel takes the colour of the hex it falls in, rows
// overlapping by a quarter as the drawn map's do.
QImage overview(const MapDocument& doc, int size) {
    const int w = doc.width(), h = doc.height();
    // The hex width: the drawn map is s·(w + ½) wide and s·(¾h + ¼) high.
    const double s = std::min(size / (w + 0.5), size / (0.75 * h + 0.25));
    const int iw = std::clamp(static_cast<int>(std::lround(s * (w + 0.5))), 1, size);
    const int ih = std::clamp(static_cast<int>(std::lround(s * (0.75 * h + 0.25))), 1, size);
    QImage image(iw, ih, QImage::Format_RGB32);
    if (image.isNull()) throw swCBitmapError(swCBitmapError::Create);
    const std::vector<QRgb> colours = hexColours(doc);
    const double pitch = 0.75 * s;
    for (int y = 0; y < ih; ++y) {
        const int row = std::min(h - 1, static_cast<int>((y + 0.5) / pitch));
        const double shift = (row & 1) ? s / 2 : 0.0;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < iw; ++x) {
            const double fx = (x + 0.5 - shift) / s;
            line[x] = fx < 0 || fx >= w ? kNoHex : colours[size_t(row) * size_t(w) + size_t(fx)];
        }
    }
    return image;
}

}  // namespace

QImage mapThumbnail(const MapDocument& doc, int size) {
    size = std::clamp(size, kMinThumbnailSize, kMaxThumbnailSize);
    QImage picture = longerSide(doc, kHexSizes[0]) <= std::max(kMaxDrawnSide, 2 * size)
                         ? drawnTerrain(doc, drawingHexSize(doc, size))
                         : overview(doc, size);
    if (picture.isNull()) throw swCBitmapError(swCBitmapError::Create);
    if (std::max(picture.width(), picture.height()) > size)
        picture = picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return picture;
}

void writeMapThumbnail(const MapDocument& doc, int size, const std::string& path) {
    const QImage image = mapThumbnail(doc, size);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) throw swCBitmapError(swCBitmapError::Create, path);
    try {
        writeFileAtomically(path, std::string_view(png.constData(), size_t(png.size())));
    } catch (const swCError&) {
        throw swCBitmapError(swCBitmapError::Save, path);
    }
}

}  // namespace kv
