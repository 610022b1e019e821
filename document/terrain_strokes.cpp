// The gestures of the terrain and border tools as document operations.
#include "document/terrain_strokes.h"

#include "document/link_stroke.h"
#include "document/map_document.h"

namespace kv {

BatchScope::BatchScope(MapDocument& doc) : doc_(doc), old_(doc.tool.batchEdit) {
    doc_.tool.batchEdit = 1;
}

BatchScope::~BatchScope() {
    doc_.tool.batchEdit = old_;
}

namespace {

// Places the brush on one hex: the terrain piece, or the territory in the border mode.
void place(MapDocument& doc, const StrokeBrush& brush, HexPos h, int megaPosition,
           StrokeResult& result) {
    if (brush.borderMode) {
        doc.setBorderline(h.col, h.row, brush.border);
    } else {
        const PlacedTerrain placed = doc.setTerrain(h.col, h.row, brush.terrain, megaPosition);
        if (placed.labelDemoted) result.labelDemoted = true;
        if (placed.buildingAdded || placed.buildingRemoved) result.buildingsChanged = true;
    }
    result.painted.push_back(h);
}

// The links of a line brush along the hexes: roads, supply lines or a river of its variant.
void linkAlong(MapDocument& doc, const TerrainBrush& brush, const std::vector<HexPos>& hexes,
               StrokeResult& result) {
    LinkKind kind = LinkKind::Road;
    int variant = 0;
    if (brush.supplyLine == 1) {
        kind = LinkKind::SupplyLine;
    } else {
        switch (doc.gameDatabase.terrain(brush.terrainId).category) {
            case TerrainCategory::River: kind = LinkKind::River; break;
            case TerrainCategory::DeepRiver:
                kind = LinkKind::River;
                variant = 1;
                break;
            case TerrainCategory::FrozenRiver:
                kind = LinkKind::River;
                variant = 2;
                break;
            default: break;
        }
    }
    LinkStroke stroke(doc, kind, variant);
    for (HexPos h : hexes) {
        if (!doc.contains(h.col, h.row)) continue;
        stroke.visit(h);
        result.painted.push_back(h);
    }
}

// Line and box: the brush on every hex, with the mega pen on the neighbours too.
void placeEach(MapDocument& doc, const StrokeBrush& brush, const std::vector<HexPos>& hexes,
               StrokeResult& result) {
    for (HexPos h : hexes) {
        if (!doc.contains(h.col, h.row)) continue;
        place(doc, brush, h, kMegaByOtherTool, result);
        if (!brush.megaPen) continue;
        for (int d = 0; d < kDirectionCount; ++d) {
            const HexPos n = neighbourPos(h, d);
            if (doc.contains(n.col, n.row)) place(doc, brush, n, kMegaByOtherTool, result);
        }
    }
}

}  // namespace

void penStroke(MapDocument& doc, const StrokeBrush& brush, HexPos hex, StrokeResult& result) {
    if (!doc.contains(hex.col, hex.row)) return;
    place(doc, brush, hex, kMegaCentre, result);
    if (!brush.megaPen && (brush.borderMode || !isMegaPicture(brush.terrain.picture))) return;
    for (int d = 0; d < kDirectionCount; ++d) {
        const HexPos n = neighbourPos(hex, d);
        if (doc.contains(n.col, n.row)) place(doc, brush, n, d + 1, result);
    }
}

void lineStroke(MapDocument& doc, const StrokeBrush& brush, HexPos from, HexPos to,
                StrokeResult& result) {
    const std::vector<HexPos> hexes = hexLine(from, to);
    if (!brush.borderMode && brush.terrain.isLineBrush(doc.gameDatabase))
        linkAlong(doc, brush.terrain, hexes, result);
    else
        placeEach(doc, brush, hexes, result);
}

void boxStroke(MapDocument& doc, const StrokeBrush& brush, HexPos a, HexPos b,
               StrokeResult& result) {
    const HexRect r = HexRect::spanning(a, b);
    std::vector<HexPos> hexes;
    for (int row = r.top; row <= r.bottom; ++row)
        for (int col = r.left; col <= r.right; ++col) hexes.push_back({col, row});
    BatchScope batch(doc);
    placeEach(doc, brush, hexes, result);
    // The building count counts again after a box.
    if (!brush.borderMode) result.buildingsChanged = true;
}

void floodStroke(MapDocument& doc, const StrokeBrush& brush, HexPos seed, StrokeResult& result) {
    if (!doc.contains(seed.col, seed.row)) return;
    const FilledArea filled = brush.borderMode ? doc.fillTerritory(seed, brush.border)
                                               : doc.fillTerrain(seed, brush.terrain);
    result.painted.insert(result.painted.end(), filled.hexes.begin(), filled.hexes.end());
    if (filled.labelDemoted) result.labelDemoted = true;
    if (!brush.borderMode) result.buildingsChanged = true;
}

bool deleteLinksStroke(MapDocument& doc, HexPos hex, bool megaPen) {
    if (!doc.contains(hex.col, hex.row)) return false;
    bool changed = doc.removeRoad(hex.col, hex.row);
    changed = doc.removeSeaLine(hex.col, hex.row) || changed;
    changed = doc.removeRiver(hex.col, hex.row) || changed;
    if (!megaPen) return changed;
    for (int d = 0; d < kDirectionCount; ++d) {
        const HexPos n = neighbourPos(hex, d);
        if (!doc.contains(n.col, n.row)) continue;
        changed = doc.removeRoad(n.col, n.row) || changed;
        changed = doc.removeSeaLine(n.col, n.row) || changed;
    }
    return changed;
}

int pasteStroke(MapDocument& doc, const HexRect& selection, HexPos cursor, bool ring) {
    const HexPos origin = pasteBlockOrigin(selection, cursor, doc.area());
    BatchScope batch(doc);
    return doc.pasteCells(selection, origin, ring);
}

}  // namespace kv
