// The map picture: sheets, the scroll shift and the per-hex redraw of drawMap and redrawHex.
#include "view/map_renderer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <sys/mman.h>

#include "document/map_document.h"
#include "framework/font.h"
#include "view/sheet_cache.h"

namespace kv {

namespace {

constexpr QRgb kLightGrey = 0xFFC0C0C0u;
constexpr int kLabelFontHeight = 14;

void markRowDirty(HexBitGrid& grid, int row, int firstCol, int endCol) {
    for (int col = std::max(firstCol, 0); col < std::min(endCol, grid.width()); ++col)
        grid.markDirty(col, row);
}

}  // namespace

MapRenderer::MapRenderer(MapDocument& doc, QSize screenSize) : doc_(doc) {
    allocate(screenSize);
    // A new picture holds nothing of the map yet.
    doc_.viewSettings.redrawGrid.markAllDirty();
    labelFont_ = createFont(kLabelFontHeight, 400);
    labelFont_.setStyleStrategy(QFont::NoAntialias);
}

MapRenderer::~MapRenderer() = default;

namespace {

// A picture as large as the screen, filled whole at once: on huge pages its memory comes in
// a few steps rather than one fault per 4 KB page (a few milliseconds at start-up).
QImage screenSizedImage(QSize size) {
    constexpr size_t kHugePage = size_t{2} << 20;
    const qsizetype bytesPerLine = qsizetype{4} * size.width();
    const size_t bytes = static_cast<size_t>(bytesPerLine) * static_cast<size_t>(size.height());
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* memory = std::aligned_alloc(kHugePage, rounded);
    if (!memory) return QImage(size, QImage::Format_RGB32);
    ::madvise(memory, rounded, MADV_HUGEPAGE);  // only advice: without it, small pages
    QImage image(
        static_cast<uchar*>(memory), size.width(), size.height(), bytesPerLine,
        QImage::Format_RGB32, [](void* m) { std::free(m); }, memory);
    if (image.isNull()) std::free(memory);
    return image;
}

}  // namespace

void MapRenderer::allocate(QSize screenSize) {
    const QSize size(std::max(screenSize.width(), 1), std::max(screenSize.height(), 1));
    screenImage_ = screenSizedImage(size);
    mapImage_ = screenSizedImage(size);
    screenImage_.fill(kLightGrey);
    mapImage_.fill(kLightGrey);
    clientWidth_ = std::min(clientWidth_, size.width());
    clientHeight_ = std::min(clientHeight_, size.height());
    hasPrevious_ = false;
    fullPresent_ = true;
    dirtyRects_.clear();
}

void MapRenderer::recreate(QSize screenSize) {
    allocate(screenSize);
    doc_.viewSettings.redrawGrid.markAllDirty();
}

HexPixels MapRenderer::pixels() const {
    return HexPixels(doc_.viewSettings.hexSize);
}

void MapRenderer::rebuildSheets() {
    const ViewSettings& v = doc_.viewSettings;
    buildViewSheets(sheets_, pixels().size(), doc_.factionColours, v.showUnitIcon != 0,
                    doc_.gameDatabase);
    labelSprites_.clear();  // the faction colours may have changed
}

void MapRenderer::reloadCustomIcon(int number) {
    sheets_.reloadCustomIcon(number, doc_.factionColours);
}

void MapRenderer::setClientSize(int width, int height) {
    clientWidth_ = std::clamp(width, 0, screenImage_.width());
    clientHeight_ = std::clamp(height, 0, screenImage_.height());
}

void MapRenderer::shiftForScroll() {
    const HexPixels g = pixels();
    const int dx = (origin_.col - previous_.col) * g.size();
    const int dy = (origin_.row - previous_.row) * g.rowPitch();
    if (dx == 0 && dy == 0) return;
    const int w = clientWidth_ - std::abs(dx), h = clientHeight_ - std::abs(dy);
    if (w > 0 && h > 0) {
        // The part that stays visible moves against the scroll direction.
        const int sx = std::max(dx, 0), sy = std::max(dy, 0);
        const int tx = std::max(-dx, 0), ty = std::max(-dy, 0);
        // In place: rows are taken in the order that reads each before it is written over,
        // and memmove copes with a row overlapping itself.
        const size_t bytes = 4 * static_cast<size_t>(w);
        uint8_t* const bits = mapImage_.bits();
        const qsizetype stride = mapImage_.bytesPerLine();
        const auto moveRow = [&](int y) {
            std::memmove(bits + stride * (ty + y) + 4 * tx, bits + stride * (sy + y) + 4 * sx,
                         bytes);
        };
        if (sy >= ty) {
            for (int y = 0; y < h; ++y) moveRow(y);
        } else {
            for (int y = h - 1; y >= 0; --y) moveRow(y);
        }
    }
    fullPresent_ = true;
}

void MapRenderer::drawOneHex(HexPainter& painter, int col, int row, int x, int y) {
    painter.drawHex(col, row, x, y);
    if (drawLog_) drawLog_->push_back({col, row});
}

void MapRenderer::drawMap() {
    const HexPixels g = pixels();
    const int s = g.size(), pitch = g.rowPitch();
    if (doc_.tool.mapDrawMethod == kUnderlayOnly) screenImage_.fill(0xFF000000u);
    const HexPos extent = g.drawnExtent(clientWidth_, clientHeight_);
    originMoved_ = hasPrevious_ && !(origin_ == previous_);
    if (originMoved_) shiftForScroll();

    HexBitGrid& grid = doc_.viewSettings.redrawGrid;
    const int height = doc_.height();
    for (int row = 0; row <= std::min(origin_.row - 2, height - 1); ++row)
        markRowDirty(grid, row, 0, grid.width());

    HexPainter painter(doc_, sheets_, DrawSurface::of(mapImage_), clientRect(),
                       HexDrawOptions::of(doc_), &dirtyRects_);
    for (int i = -1; i < extent.row; ++i) {
        const int row = origin_.row + i;
        const int y = pitch * i;
        for (int j = -1; j < extent.col; ++j) {
            const int col = origin_.col + j;
            const int x = s * j + s / 2 * (row & 1);
            if (grid.isDirty(col, row)) drawOneHex(painter, col, row, x, y);
            const bool inside = x >= 0 && y >= 0 && x + s <= clientWidth_ && y + s <= clientHeight_;
            if (inside)
                grid.markClean(col, row);
            else
                grid.markDirty(col, row);
        }
        if (row >= 0 && row < height) {
            markRowDirty(grid, row, 0, origin_.col - 1);
            markRowDirty(grid, row, origin_.col + extent.col, grid.width());
        }
    }
    for (int row = std::max(origin_.row + extent.row, 0); row < height; ++row)
        markRowDirty(grid, row, 0, grid.width());

    drawLabelsOfRows(origin_.row - 1, origin_.row + extent.row - 1);
    previous_ = origin_;
    hasPrevious_ = true;
}

void MapRenderer::redrawHex(int col, int row, bool withLabels) {
    const HexPixels g = pixels();
    const PixelPos p = g.hexToPixel({col, row}, origin_);
    HexPainter painter(doc_, sheets_, DrawSurface::of(mapImage_), clientRect(),
                       HexDrawOptions::of(doc_), &dirtyRects_);
    drawOneHex(painter, col, row, p.x, p.y);
    // A hex cut by the client edge must be drawn again once it scrolls into view.
    const int s = g.size();
    if (p.x >= 0 && p.y >= 0 && p.x + s <= clientWidth_ && p.y + s <= clientHeight_)
        doc_.viewSettings.redrawGrid.markClean(col, row);
    else
        doc_.viewSettings.redrawGrid.markDirty(col, row);
    if (withLabels) drawLabelRow(row);
}

void MapRenderer::drawLabelRow(int row) {
    drawLabelsOfRows(row, row);
}

void MapRenderer::drawLabelsOnly() {
    const HexPos extent = pixels().drawnExtent(clientWidth_, clientHeight_);
    drawLabelsOfRows(origin_.row - 1, origin_.row + extent.row - 1);
}

}  // namespace kv
