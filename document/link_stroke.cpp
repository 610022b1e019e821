// Linking the hexes of a line-piece stroke, pair by pair.
#include "document/link_stroke.h"

#include "document/map_document.h"

namespace kv {

namespace {

uint8_t bit(int direction) {
    return static_cast<uint8_t>(1u << direction);
}

}  // namespace

bool LinkStroke::visit(HexPos h) {
    if (!doc_.contains(h.col, h.row)) return false;
    bool riverSet = false;
    if (previous_) {
        // Only neighbours are linked: a link bit always names an adjacent hex.
        const int e = directionTo(h, *previous_);
        if (e >= 0) {
            switch (kind_) {
                case LinkKind::Road: linkRoads(h, *previous_, e); break;
                case LinkKind::SupplyLine: linkSupplyLines(h, *previous_, e); break;
                case LinkKind::River: riverSet = linkRivers(h, *previous_, e); break;
            }
        }
    }
    *doc_.marksAt(h.col, h.row) &= ~kMarkPreview;
    doc_.markDirty(h.col, h.row);
    if (riverSet) {
        for (int d = 0; d < kDirectionCount; ++d) {
            const HexPos n = neighbourPos(h, d);
            doc_.markDirty(n.col, n.row);
        }
    }
    previous_ = h;
    return riverSet;
}

bool LinkStroke::linkRoads(HexPos h, HexPos p, int e) {
    const HexCell& ch = *doc_.cellAt(h.col, h.row);
    const HexCell& cp = *doc_.cellAt(p.col, p.row);
    if (!mayCarryRoad(cp) || !mayCarryRoad(ch)) return false;
    const bool linkH = roadsMayLink(ch), linkP = roadsMayLink(cp);
    if (linkH) doc_.addRoadLinks(h.col, h.row, bit(e));
    if (linkP) doc_.addRoadLinks(p.col, p.row, bit(oppositeDirection(e)));
    return linkH || linkP;
}

bool LinkStroke::linkSupplyLines(HexPos h, HexPos p, int e) {
    const bool linkH = supplyLinesAllowed(*doc_.cellAt(h.col, h.row));
    const bool linkP = supplyLinesAllowed(*doc_.cellAt(p.col, p.row));
    if (!linkH || !linkP) return false;
    doc_.addSeaLineLinks(h.col, h.row, bit(e));
    doc_.addSeaLineLinks(p.col, p.row, bit(oppositeDirection(e)));
    return true;
}

bool LinkStroke::linkRivers(HexPos h, HexPos p, int e) {
    const TerrainData& terrain = doc_.gameDatabase;
    const bool onH = riversAllowed(*doc_.cellAt(h.col, h.row), terrain);
    const bool onP = riversAllowed(*doc_.cellAt(p.col, p.row), terrain);
    const bool setH = onH && doc_.addRiverLinks(h.col, h.row, bit(e), riverVariant_);
    if (onP) doc_.addRiverLinks(p.col, p.row, bit(oppositeDirection(e)), riverVariant_);
    return setH;
}

}  // namespace kv
