// Terrain editing primitives: placing a piece, road/river/supply-line links kept symmetric,
// mines, territories and borderlines, and the per-hex data derived from the terrain.
#include "document/map_document.h"

#include <utility>
#include <vector>

namespace kv {

namespace {

constexpr uint8_t kMissileInterval = 5;
constexpr uint8_t kMissileCount = 2;
constexpr uint8_t kWarheadType = 34;
constexpr uint8_t kTerrainKeepsRiverNeighbours = 47;

uint8_t bit(int direction) {
    return static_cast<uint8_t>(1u << direction);
}

}  // namespace

void MapDocument::validateMine(int col, int row) {
    HexCell* c = cellAt(col, row);
    if (!c || mineAllowed(*c, c->mineKind, gameDatabase)) return;
    c->mineKind = c->mineCount = c->mineSeenBy = 0;
    markDirty(col, row);
}

bool MapDocument::setMine(int col, int row, const MineBrush& brush) {
    HexCell* c = cellAt(col, row);
    if (!c || !mineAllowed(*c, brush.kind, gameDatabase)) return false;
    history.recordHex(col, row);
    c->mineKind = brush.kind;
    c->mineCount = brush.kind == kNoMine ? 0 : brush.count;
    c->mineSeenBy = brush.kind == kNoMine ? 0 : brush.seenBy;
    markDirty(col, row);
    return true;
}

bool MapDocument::addRoadLinks(int col, int row, uint8_t mask) {
    HexCell* c = cellAt(col, row);
    mask &= HexCell::kLinkMask;
    if (!c || (c->roadLinks | mask) == c->roadLinks) return false;
    history.recordHex(col, row);
    c->roadLinks |= mask;
    markDirty(col, row);
    return true;
}

bool MapDocument::addSeaLineLinks(int col, int row, uint8_t mask) {
    HexCell* c = cellAt(col, row);
    mask &= HexCell::kLinkMask;
    if (!c || (c->supplyLinks | mask) == c->supplyLinks) return false;
    history.recordHex(col, row);
    c->supplyLinks |= mask;
    markDirty(col, row);
    return true;
}

bool MapDocument::addRiverLinks(int col, int row, uint8_t mask, int variant) {
    HexCell* c = cellAt(col, row);
    if (!c || categoryOf(*c, gameDatabase) > TerrainCategory::Building) return false;
    const uint8_t river =
        static_cast<uint8_t>(((c->river | mask) & HexCell::kLinkMask) | (variant & 3) << 6);
    if (river == c->river) return false;
    history.recordHex(col, row);
    c->river = river;
    markDirty(col, row);
    fixLinksAfterChange(col, row);
    validateMine(col, row);
    return true;
}

void MapDocument::fixLinksAfterChange(int col, int row) {
    const HexCell* c = cellAt(col, row);
    if (!c) return;
    if (c->roadLinks != 0 && !roadsMayLink(*c)) removeRoad(col, row);
    if (c->supplyLinks != 0 && !supplyLinesAllowed(*c)) removeSeaLine(col, row);
}

bool MapDocument::deleteLinks(int col, int row, uint8_t HexCell::*field) {
    HexCell* c = cellAt(col, row);
    if (!c || ((*c).*field & HexCell::kLinkMask) == 0) return false;
    history.recordHex(col, row);
    (*c).*field = 0;
    markDirty(col, row);
    for (int d = 0; d < kDirectionCount; ++d) {
        const HexPos n = neighbourPos({col, row}, d);
        HexCell* nc = cellAt(n.col, n.row);
        const uint8_t towards = bit(oppositeDirection(d));
        if (!nc || ((*nc).*field & towards) == 0) continue;
        // The neighbour's image is taken before its link to this hex goes.
        history.recordHex(n.col, n.row);
        (*nc).*field = static_cast<uint8_t>((*nc).*field & ~towards);
        markDirty(n.col, n.row);
    }
    validateMine(col, row);
    return true;
}

bool MapDocument::removeRoad(int col, int row) {
    return deleteLinks(col, row, &HexCell::roadLinks);
}

bool MapDocument::removeSeaLine(int col, int row) {
    return deleteLinks(col, row, &HexCell::supplyLinks);
}

bool MapDocument::removeRiver(int col, int row, bool keepNeighbours) {
    HexCell* c = cellAt(col, row);
    if (!c || c->riverLinks() == 0) return false;
    history.recordHex(col, row);
    c->river = 0;
    c->tempBridge = 0;
    markDirty(col, row);
    if (!keepNeighbours) {
        for (int d = 0; d < kDirectionCount; ++d) {
            const HexPos n = neighbourPos({col, row}, d);
            HexCell* nc = cellAt(n.col, n.row);
            const uint8_t towards = bit(oppositeDirection(d));
            if (!nc || (nc->river & towards) == 0) continue;
            history.recordHex(n.col, n.row);
            nc->river = static_cast<uint8_t>(nc->river & ~towards);  // the variant stays
            if (nc->riverLinks() == 0) nc->tempBridge = 0;
            markDirty(n.col, n.row);
        }
    }
    validateMine(col, row);
    return true;
}

PlacedTerrain MapDocument::setTerrain(int col, int row, const TerrainBrush& brush,
                                      int megaPosition) {
    PlacedTerrain result;
    HexCell* c = cellAt(col, row);
    if (!c || brush.terrainId >= kMaxTerrainTypes) return result;
    history.recordHex(col, row);
    const TerrainType& type = gameDatabase.terrain(brush.terrainId);
    int picture = brush.picture;
    if (isMegaPicture(picture)) {
        if (megaPosition == kMegaByOtherTool)
            picture = type.defaultPicture;
        else if (megaPosition >= 1 && megaPosition <= kDirectionCount)
            picture += megaMemberOnSide(megaPosition - 1) - kMegaCentreMember;
    }
    switch (type.category) {
        case TerrainCategory::River:
        case TerrainCategory::DeepRiver:
        case TerrainCategory::FrozenRiver:
        case TerrainCategory::Road: break;  // line pieces are drawn as links
        case TerrainCategory::TempBridge:
            if (c->riverLinks() != 0) c->tempBridge = static_cast<uint8_t>(picture + 1);
            break;
        default: placeFullPiece(col, row, *c, brush, picture, result); break;
    }
    validateMine(col, row);
    fixLinksAfterChange(col, row);
    recomputeJoinedPictures(col, row, true);
    markDirty(col, row);
    return result;
}

void MapDocument::placeFullPiece(int col, int row, HexCell& c, const TerrainBrush& brush,
                                 int picture, PlacedTerrain& result) {
    if (isMegaPicture(c.picture)) breakUpMegaGroup(col, row);
    result.oldTerrain = c.terrain;
    result.oldOwner = c.owner;
    result.oldDestroyed = c.destroyed;
    result.buildingRemoved = categoryOf(c, gameDatabase) > TerrainCategory::Building;

    const TerrainType& type = gameDatabase.terrain(brush.terrainId);
    c.owner = static_cast<uint8_t>(brush.owner);
    c.terrain = static_cast<uint8_t>(brush.terrainId);
    c.missile = 0;
    c.bridgePiece = 0;
    c.shownCount = 0;
    if (type.category == TerrainCategory::Bridge) {
        c.picture = type.defaultPicture;
        c.bridgePiece = static_cast<uint8_t>(picture + 1);
    } else {
        c.picture = static_cast<uint16_t>(picture);
    }
    c.destroyed = brush.destroyed;
    result.buildingAdded = type.category > TerrainCategory::Building;

    const int number = labelNumberAt(col, row);
    if (number >= 1 && number <= MapGrid::kMaxLabels) {
        TerrainLabel& label = mapGrid.labels[size_t(number - 1)];
        if (label.inUse() && label.kind != 0 &&
            (type.category < TerrainCategory::Building || c.destroyed != 0)) {
            history.recordLabel(col, row);
            label.kind = 0;
            result.labelDemoted = true;
        }
    }
    if (type.category == TerrainCategory::MissileBase) {
        const std::vector<uint16_t> missiles = missileWeaponIds();
        if (!missiles.empty()) c.missile = static_cast<uint16_t>(missiles.front() + 1);
        c.bridgePiece = kMissileInterval;
        c.shownCount = kMissileCount;
    }
    fixLinksAfterChange(col, row);
    if (c.riverLinks() != 0 && !riversAllowed(c, gameDatabase))
        removeRiver(col, row,
                    c.terrain == kTerrainBridge || c.terrain == kTerrainKeepsRiverNeighbours);
    if (c.tempBridge != 0 && c.riverLinks() == 0) c.tempBridge = 0;
}

void MapDocument::breakUpMegaGroup(int col, int row) {
    const HexCell* c = cellAt(col, row);
    if (!c || !isMegaPicture(c->picture)) return;
    const int member = (c->picture - kMegaFirstPicture) % kMegaGroupSize;
    const int base = c->picture - member;
    const uint8_t terrain = c->terrain;
    const int side = megaMemberSide(member);
    const HexPos centre = side == kDirectionSelf
                              ? HexPos{col, row}
                              : neighbourPos({col, row}, oppositeDirection(side));
    for (int k = 0; k < kMegaGroupSize; ++k) {
        const int s = megaMemberSide(k);
        const HexPos h = s == kDirectionSelf ? centre : neighbourPos(centre, s);
        HexCell* m = cellAt(h.col, h.row);
        if (!m || m->terrain != terrain || m->picture != base + k) continue;
        if (h != HexPos{col, row}) history.recordHex(h.col, h.row);
        m->picture = gameDatabase.terrain(m->terrain).defaultPicture;
        markDirty(h.col, h.row);
    }
    connectedTerrainTouched = 1;
}

void MapDocument::recomputeJoinedPictures(int col, int row, bool record) {
    const HexPos hexes[] = {
        {col, row}, neighbourPos({col, row}, kNorthWest), neighbourPos({col, row}, kNorthEast)};
    for (HexPos h : hexes) {
        HexCell* c = cellAt(h.col, h.row);
        // A member of a mega piece keeps its picture.
        if (!c || !joinsBelow(c->terrain) || isMegaPicture(c->picture)) continue;
        const HexPos below[] = {neighbourPos(h, kSouthWest), neighbourPos(h, kSouthEast)};
        const HexCell* sw = cellAt(below[0].col, below[0].row);
        const HexCell* se = cellAt(below[1].col, below[1].row);
        const bool joinSw = sw && joinsBelow(sw->terrain);
        const bool joinSe = se && joinsBelow(se->terrain);
        const int picture = joinSw || joinSe ? joinedPicture(c->terrain, joinSw, joinSe)
                                             : gameDatabase.terrain(c->terrain).defaultPicture;
        if (picture == c->picture) continue;
        if (record) history.recordHex(h.col, h.row);
        c->picture = static_cast<uint16_t>(picture);
        markDirty(h.col, h.row);
    }
}

uint8_t MapDocument::borderBitsFor(HexPos h) const {
    const HexCell* c = cellAt(h.col, h.row);
    uint8_t bits = 0;
    if (c && c->territory != 0) {
        for (int d = 0; d < kDirectionCount; ++d) {
            const HexPos n = neighbourPos(h, d);
            const HexCell* nc = cellAt(n.col, n.row);
            if (nc && nc->territory != c->territory) bits |= bit(d);
        }
    }
    return bits;
}

bool MapDocument::recomputeBorderlines(int col, int row) {
    HexOverlay* o = overlayAt(col, row);
    if (!o) return false;
    const uint8_t bits = borderBitsFor({col, row});
    if (bits == o->borderBits) return false;
    o->borderBits = bits;
    markDirty(col, row);
    return true;
}

void MapDocument::recomputeDerivedHexData() {
    // Every load and size change comes here, so the whole map is done in one pass over the
    // grid with its size read once. Borderlines depend only on territories and a joined
    // picture only on terrains, and this changes neither, so each hex is worked out once
    // (an edit also redoes the two hexes above the one it changed).
    const int w = width(), h = height();
    HexCell* const cells = mapGrid.cells.data();
    HexOverlay* const overlays = mapGrid.overlays.data();
    const auto cell = [&](HexPos p) -> const HexCell* {
        return p.col >= 0 && p.row >= 0 && p.col < w && p.row < h ? &cells[p.col + p.row * w]
                                                                  : nullptr;
    };
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            const int index = col + row * w;
            HexCell& c = cells[index];
            uint8_t bits = 0;
            if (c.territory != 0) {
                for (int d = 0; d < kDirectionCount; ++d) {
                    const HexCell* n = cell(neighbourPos({col, row}, d));
                    if (n && n->territory != c.territory) bits |= bit(d);
                }
            }
            HexOverlay& o = overlays[index];
            if (bits != o.borderBits) {
                o.borderBits = bits;
                markDirty(col, row);
            }
            // A member of a mega piece keeps its picture.
            if (!joinsBelow(c.terrain) || isMegaPicture(c.picture)) continue;
            const HexCell* sw = cell(neighbourPos({col, row}, kSouthWest));
            const HexCell* se = cell(neighbourPos({col, row}, kSouthEast));
            const bool joinSw = sw && joinsBelow(sw->terrain);
            const bool joinSe = se && joinsBelow(se->terrain);
            const int picture = joinSw || joinSe ? joinedPicture(c.terrain, joinSw, joinSe)
                                                 : gameDatabase.terrain(c.terrain).defaultPicture;
            if (picture == c.picture) continue;
            c.picture = static_cast<uint16_t>(picture);
            markDirty(col, row);
        }
    }
}

void MapDocument::setTerritory(int col, int row, int territory, int kind) {
    HexCell* c = cellAt(col, row);
    if (!c) return;
    history.recordHex(col, row);
    recordNeighbours(col, row);
    c->territory = static_cast<uint8_t>(territory);
    for (int side = 0; side < kDirectionCount; ++side)
        c->setBorderKind(side, territory == 0 ? 0 : kind);
    markDirty(col, row);
    recomputeBorderlines(col, row);
    for (int d = 0; d < kDirectionCount; ++d) {
        const HexPos n = neighbourPos({col, row}, d);
        recomputeBorderlines(n.col, n.row);
    }
}

void MapDocument::recordNeighbours(int col, int row) {
    for (int d = 0; d < kDirectionCount; ++d) {
        const HexPos n = neighbourPos({col, row}, d);
        if (contains(n.col, n.row)) history.recordHex(n.col, n.row);
    }
}

void MapDocument::setBorderline(int col, int row, const BorderBrush& brush) {
    setTerritory(col, row, brush.faction, brush.kind);
}

void MapDocument::clearBorderline(int col, int row) {
    setTerritory(col, row, 0, 0);
}

void MapDocument::setBorderlineKind(int col, int row, int side, int kind) {
    HexCell* c = cellAt(col, row);
    if (!c || side < 0 || side >= kDirectionCount) return;
    history.recordHex(col, row);
    c->setBorderKind(side, kind);
    markDirty(col, row);
}

int MapDocument::pasteCells(const HexRect& selection, HexPos origin, bool ring) {
    const HexArea a = area();
    if (selection.empty() || a.hexCount() == 0) return 0;
    std::vector<uint8_t> taken(size_t(a.hexCount()), 0);
    std::vector<std::pair<HexPos, HexCell>> writes;
    auto take = [&](HexPos source) {
        if (!a.contains(source) || taken[size_t(a.index(source))]) return;
        taken[size_t(a.index(source))] = 1;
        const HexPos target = pasteTarget(selection, origin, source);
        if (a.contains(target)) writes.emplace_back(target, *cellAt(source.col, source.row));
    };
    for (int r = selection.top; r <= selection.bottom; ++r)
        for (int c = selection.left; c <= selection.right; ++c) take({c, r});
    if (ring) {
        for (int r = selection.top; r <= selection.bottom; ++r)
            for (int c = selection.left; c <= selection.right; ++c)
                for (int d = 0; d < kDirectionCount; ++d) take(neighbourPos({c, r}, d));
    }
    // Old mega pieces are reset before anything is written, so a pasted piece is never taken
    // for the remains of one.
    for (const auto& w : writes) {
        history.recordHex(w.first.col, w.first.row);
        breakUpMegaGroup(w.first.col, w.first.row);
    }
    for (const auto& w : writes) {
        *cellAt(w.first.col, w.first.row) = w.second;
        markDirty(w.first.col, w.first.row);
    }
    for (int i = 0; i < a.hexCount(); ++i) {
        const HexPos h = a.at(i);
        HexCell* c = cellAt(h.col, h.row);
        const bool bridgeGoes = c->tempBridge != 0 && c->riverLinks() == 0;
        if (bridgeGoes || borderBitsFor(h) != overlayAt(h.col, h.row)->borderBits) {
            history.recordHex(h.col, h.row);
            if (bridgeGoes) c->tempBridge = 0;
            recomputeBorderlines(h.col, h.row);
            markDirty(h.col, h.row);
        }
    }
    return static_cast<int>(writes.size());
}

std::vector<uint16_t> MapDocument::missileWeaponIds() const {
    std::vector<uint16_t> ids;
    for (const WeaponRecord& w : gameDatabase.weapons())
        if (w.weaponType() == kWarheadType && w.selectable() == 1) ids.push_back(w.id());
    return ids;
}

bool MapDocument::setMissileBase(int col, int row, const MissileSettings& settings) {
    HexCell* c = cellAt(col, row);
    if (!c || categoryOf(*c, gameDatabase) != TerrainCategory::MissileBase) return false;
    const bool none = settings.missile == 0;
    const uint16_t missile = settings.missile;
    const uint8_t interval = none ? 0 : settings.interval;
    const uint8_t count = none ? 0 : settings.count;
    if (c->missile == missile && c->bridgePiece == interval && c->shownCount == count) return false;
    history.recordHex(col, row);
    c->missile = missile;
    c->bridgePiece = interval;
    c->shownCount = count;
    markDirty(col, row);
    return true;
}

FilledArea MapDocument::fillTerrain(HexPos seed, const TerrainBrush& brush) {
    FilledArea out;
    const HexCell* s = cellAt(seed.col, seed.row);
    if (!s) return out;
    const HexCell first = *s;
    const bool building = categoryOf(first, gameDatabase) > TerrainCategory::Building;
    out.hexes = floodFill(area(), seed, [&](HexPos h) {
        const HexCell& c = *cellAt(h.col, h.row);
        return c.terrain == first.terrain && !(building && c.owner != first.owner);
    });
    const uint8_t batch = tool.batchEdit;
    tool.batchEdit = 1;
    for (HexPos h : out.hexes) {
        const PlacedTerrain placed = setTerrain(h.col, h.row, brush, kMegaByOtherTool);
        out.labelDemoted = out.labelDemoted || placed.labelDemoted;
        out.buildingsChanged =
            out.buildingsChanged || placed.buildingAdded || placed.buildingRemoved;
    }
    tool.batchEdit = batch;
    connectedTerrainTouched = 1;
    return out;
}

FilledArea MapDocument::fillTerritory(HexPos seed, const BorderBrush& brush) {
    FilledArea out;
    const HexCell* s = cellAt(seed.col, seed.row);
    if (!s) return out;
    const uint8_t territory = s->territory;
    out.hexes = floodFill(area(), seed,
                          [&](HexPos h) { return cellAt(h.col, h.row)->territory == territory; });
    const uint8_t batch = tool.batchEdit;
    tool.batchEdit = 1;
    for (HexPos h : out.hexes) setBorderline(h.col, h.row, brush);
    tool.batchEdit = batch;
    return out;
}

}  // namespace kv
