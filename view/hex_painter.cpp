// The terrain layers of a hex: ground, buildings, bridges and temporary bridges, the line
// pieces, the marks, the label marker, the hex marks, territories and borderlines.
#include "view/hex_painter.h"

#include <algorithm>
#include <cstring>

#include "document/map_document.h"
#include "document/troop_capacity.h"

namespace kv {

namespace {

constexpr size_t kStackRule = 17;  // スタック
constexpr int kBridgeTerrain = 49;
constexpr int kMaxOwnerColour = 6;
constexpr int kLinePieces = 42;  // pieces per sheet row; the rest five rows further down

// Mark sheet cells.
constexpr int kMarkCellPreview = 0, kMarkCellLabel = 1, kMarkCellOutside = 2, kMarkCellSelected = 3;
constexpr int kEffectDestroyed = 5;

// The parts sheet holds the joined pictures first, then the mega piece members.
int partOf(int picture) {
    return picture < kJoinedFirstPicture ? picture - kMegaFirstPicture + kJoinedPictureCount
                                         : picture - kJoinedFirstPicture;
}

// Owners 1..6 are the factions' colours; anything else is drawn neutral.
int ownerColour(const HexCell& cell) {
    return cell.owner <= kMaxOwnerColour ? cell.owner : 0;
}

}  // namespace

const TerrainLabel* hexLabel(const MapDocument& doc, int col, int row) {
    const int number = doc.labelNumberAt(col, row);
    if (number < 1 || number > MapGrid::kMaxLabels) return nullptr;
    const TerrainLabel& label = doc.mapGrid.labels[size_t(number - 1)];
    if (label.inUse() && label.col == col && label.row == row) return &label;
    return doc.labelAt(col, row);
}

HexDrawOptions HexDrawOptions::of(const MapDocument& doc) {
    const ViewSettings& v = doc.viewSettings;
    HexDrawOptions o;
    o.frame = v.showHexFrame != 0;
    o.troops = v.showTroops != 0;
    o.terrainLabels = v.showTerrainLabels != 0;
    o.victoryLabels = v.showVictoryLabels != 0;
    o.borderlines = v.showBorderlines != 0;
    o.borderMode = v.borderModeActive != 0 || doc.tool.editMode == kEditBorderlines;
    o.unitIcons = v.showUnitIcon != 0;
    o.reinforcements = doc.tool.editMode == kEditReinforcements;
    o.stacking = doc.ruleSettings.value(kStackRule) != 0;
    return o;
}

HexPainter::HexPainter(const MapDocument& doc, const SpriteSheets& sheets, DrawSurface target,
                       const Rect& clip, const HexDrawOptions& options, std::vector<Rect>* dirty)
    : doc_(doc), sheets_(sheets), target_(target), clip_(clip), options_(options), dirty_(dirty) {}

void HexPainter::putPart(const SpriteImage& sprite, const Rect& source, int x, int y) {
    const Rect r = sprite.drawTo(target_, x, y, source, clip_);
    if (dirty_ && r.width() > 0 && r.height() > 0) dirty_->push_back(r);
}

void HexPainter::putCell(Sheet sheet, int col, int row, int x, int y, int down) {
    if (col < 0 || row < 0) return;
    const int s = size();
    putPart(sheet, {col * s, row * s + down, (col + 1) * s, (row + 1) * s + down}, x, y);
}

void HexPainter::drawHex(int col, int row, int x, int y) {
    const HexCell* cell = doc_.cellAt(col, row);
    if (!cell) {
        putCell(Sheet::Mark, kMarkCellOutside, 0, x, y);
        return;
    }
    drawBase(*cell, x, y);
    if (cell->tempBridge == 0) drawRiver(*cell, x, y);
    const TerrainCategory c = doc_.gameDatabase.terrain(cell->terrain).category;
    if (c < TerrainCategory::Building && c != TerrainCategory::Pillbox)
        drawRoadAndSupply(*cell, x, y);
    if (options_.terrainOnly) return;
    drawMarks(col, row, *cell, x, y);
    drawMine(*cell, x, y);
    const HexTroops troops = troopsAt(doc_, col, row, options_);
    drawLabelMarker(col, row, troops, x, y);
    if (options_.troops) drawTroop(troops, x, y);
    drawHexMarks(col, row, x, y);
    if (options_.borderlines) drawBorders(col, row, *cell, x, y);
}

void HexPainter::putPixel(int x, int y, uint32_t rgb) {
    if (!clip_.contains(x, y) || x >= target_.width || y >= target_.height || x < 0 || y < 0)
        return;
    uint8_t* p = target_.row(y) + ptrdiff_t(x) * target_.bytesPerPixel;
    if (target_.bytesPerPixel == 4) {
        const uint32_t argb = 0xff000000u | rgb;
        std::memcpy(p, &argb, 4);
    } else if (target_.bytesPerPixel == 2) {
        const uint16_t v = static_cast<uint16_t>(((rgb >> 19) & 0x1f) << 10 |
                                                 ((rgb >> 11) & 0x1f) << 5 | ((rgb >> 3) & 0x1f));
        std::memcpy(p, &v, 2);
    }
}

void HexPainter::drawMine(const HexCell& cell, int x, int y) {
    if (cell.mineKind == 0) return;
    const int s = size();
    const int r = std::max(2, s / 10);
    const int cx = x + s * 3 / 10, cy = y + s * 7 / 10;
    const uint32_t fill = cell.mineKind == 1 ? 0xb01818u : 0xf0d020u;
    for (int dy = -r - 1; dy <= r + 1; ++dy)
        for (int dx = -r - 1; dx <= r + 1; ++dx) {
            const int d2 = dx * dx + dy * dy;
            if (d2 <= r * r)
                putPixel(cx + dx, cy + dy, fill);
            else if (d2 <= (r + 1) * (r + 1))
                putPixel(cx + dx, cy + dy, 0x101010u);
        }
}

void HexPainter::drawPiece(const HexCell& cell, int x, int y) {
    drawBase(cell, x, y);
    if (cell.tempBridge == 0) drawRiver(cell, x, y);
    const TerrainCategory c = doc_.gameDatabase.terrain(cell.terrain).category;
    if (c < TerrainCategory::Building && c != TerrainCategory::Pillbox)
        drawRoadAndSupply(cell, x, y);
}

int HexPainter::pictureOf(int picture, int terrain) const {
    // The export shows the pieces of joined groups as their terrain's own picture.
    if (options_.terrainOnly && picture >= kMegaFirstPicture)
        return doc_.gameDatabase.terrain(size_t(terrain)).defaultPicture;
    return picture;
}

void HexPainter::drawGround(int n, int x, int y) {
    const int s = size(), frame = options_.frame ? s : 0;
    if (n < kMegaFirstPicture) {
        putCell(Sheet::Base, n % 10, n / 10, x, y, 4 * frame);
    } else {
        const int p = partOf(n);
        putCell(Sheet::Parts, p % 10, p / 10, x, y, 3 * frame);
    }
}

void HexPainter::drawBase(const HexCell& cell, int x, int y) {
    const int s = size(), frame = options_.frame ? s : 0;
    const TerrainCategory c = doc_.gameDatabase.terrain(cell.terrain).category;
    const int n = pictureOf(cell.picture, cell.terrain);
    const int owner = ownerColour(cell);
    const bool destroyed = cell.destroyed == 1;
    if (cell.tempBridge != 0) {
        // Ground, river, then the bridge over both.
        drawGround(n, x, y);
        drawRiver(cell, x, y);
        putCell(Sheet::TempBridge, cell.tempBridge - 1, 0, x, y, frame);
    } else if (c == TerrainCategory::Bridge) {
        const int m = doc_.gameDatabase.terrain(kBridgeTerrain).defaultPicture;
        const int piece = cell.bridgePiece != 0 ? cell.bridgePiece - 1 : n - m;
        putCell(Sheet::Building, m % 10, m / 10, x, y, 3 * s * owner + (destroyed ? 21 * s : 0));
        putCell(Sheet::Bridge, piece, 0, x, y, s * owner + (destroyed ? 7 * s : 0));
    } else if (n >= kMegaFirstPicture) {
        const int p = partOf(n);
        putCell(Sheet::Parts, p % 10, p / 10, x, y, 3 * frame);
    } else if (c >= TerrainCategory::Building) {  // 市街地 and every facility
        putCell(Sheet::Building, n % 10, n / 10, x, y, 3 * s * owner + (destroyed ? 21 * s : 0));
    } else {
        putCell(Sheet::Base, n % 10, n / 10, x, y, 4 * frame);
    }
}

void HexPainter::drawRiver(const HexCell& cell, int x, int y) {
    const int k = cell.river & 63;
    if (k == 0) return;
    const int variant = cell.river >> 6;
    const int down = variant == 1 || variant == 2 ? variant : 0;
    if (k < kLinePieces)
        putCell(Sheet::Road, k, 1 + down, x, y);
    else
        putCell(Sheet::Road, k - kLinePieces, 6 + down, x, y);
}

void HexPainter::drawRoadAndSupply(const HexCell& cell, int x, int y) {
    const int a = cell.roadLinks;
    if (a != 0) {
        if (a < kLinePieces)
            putCell(Sheet::Road, a, 0, x, y);
        else
            putCell(Sheet::Road, a - kLinePieces, 5, x, y);
    }
    if (options_.terrainOnly) return;  // the export shows no supply lines
    const int c = cell.supplyLinks;
    if (c != 0) {
        if (c < kLinePieces)
            putCell(Sheet::Road, c, 4, x, y);
        else
            putCell(Sheet::Road, c - kLinePieces, 9, x, y);
    }
}

void HexPainter::drawMarks(int col, int row, const HexCell& cell, int x, int y) {
    const int s = size();
    const bool small = s == 32, large = s == 48;
    const int mx = x + (large ? 19 : 12), my = y + 2;
    if ((small || large) && options_.troops) {
        bool occupied = false;
        if (options_.reinforcements) {
            const TroopIndexRecord* index = doc_.troopIndexAt(col, row);
            occupied = index && index->stowed != 0;
        } else {
            const HexOverlay* overlay = doc_.overlayAt(col, row);
            occupied = overlay && overlay->occupied != 0;
        }
        if (occupied)
            putPart(Sheet::Digit, large ? Rect{0, 32, 10, 44} : Rect{0, 10, 10, 20}, mx, my);
    }
    if (cell.destroyed == 1) putCell(Sheet::Effect, kEffectDestroyed, 0, x, y);
    if ((small || large) && cell.missile != 0 && cell.shownCount != 0) {
        const int d = std::min<int>(cell.shownCount, 10);
        putPart(Sheet::Digit,
                large ? Rect{10 * (d - 1), 20, 10 * d, 32} : Rect{10 * (d - 1), 0, 10 * d, 10}, mx,
                my);
    }
}

void HexPainter::drawLabelMarker(int col, int row, const HexTroops& troops, int x, int y) {
    bool marked = false;
    if (const TerrainLabel* label = hexLabel(doc_, col, row)) {
        marked = label->kind == 0 ? options_.terrainLabels : options_.victoryLabels;
    }
    if (!marked && options_.victoryLabels) {
        for (const HexTroop& t : troops) {
            const TroopRecord* troop = t.table >= 0 ? doc_.troopAt(t.table, t.slot) : nullptr;
            if (troop && victoryFlags(*troop) != 0) marked = true;
        }
    }
    if (marked) putCell(Sheet::Mark, kMarkCellLabel, 0, x, y);
}

void HexPainter::drawHexMarks(int col, int row, int x, int y) {
    if (!doc_.contains(col, row)) return;
    const size_t index = size_t(col) + size_t(row) * size_t(doc_.width());
    if (index >= doc_.mapGrid.hexMarks.size()) return;
    const uint32_t* marks = &doc_.mapGrid.hexMarks[index];
    if (*marks & kMarkPreview) putCell(Sheet::Mark, kMarkCellPreview, 0, x, y);
    if (*marks & kMarkMoveSource) putCell(Sheet::Mark, kMarkCellSelected, 0, x, y);
    if (*marks & kMarkFlash) putCell(Sheet::Mark, kMarkCellSelected, 0, x, y);
}

void HexPainter::drawBorders(int col, int row, const HexCell& cell, int x, int y) {
    const int t = cell.territory;
    if (t == 0) return;
    if (options_.borderMode) putCell(Sheet::Territory, 0, t - 1, x, y);
    const HexOverlay* overlay = doc_.overlayAt(col, row);
    if (!overlay) return;
    for (int side = 0; side < kDirectionCount; ++side) {
        if ((overlay->borderBits >> side & 1) == 0) continue;
        const bool crossable = cell.borderKind(side) == 2;
        if (side == kNorthWest)
            putCell(Sheet::Border, crossable ? 1 : 3, 5 * t - 1, x, y);
        else
            putCell(Sheet::Border, side, crossable ? 5 * t - 4 : 5 * t - 2, x, y);
    }
}

}  // namespace kv
