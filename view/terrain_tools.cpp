// The terrain edit mode's tools.
#include "view/terrain_tools.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "document/edit_operation.h"
#include "document/link_stroke.h"
#include "document/map_document.h"

namespace kv {

namespace {

// Sets the batch flag for the life of a multi-hex placement.
class BatchScope {
public:
    explicit BatchScope(MapDocument& doc) : doc_(doc), old_(doc.tool.batchEdit) {
        doc_.tool.batchEdit = 1;
    }
    ~BatchScope() { doc_.tool.batchEdit = old_; }
    BatchScope(const BatchScope&) = delete;
    BatchScope& operator=(const BatchScope&) = delete;

private:
    MapDocument& doc_;
    uint8_t old_;
};

// What every terrain tool shares: the brush, the open operation of the gesture, and the
// placement of one hex with the redraw bookkeeping.
class TerrainToolBase : public MapTool {
public:
    explicit TerrainToolBase(TerrainBrush& brush) : brush_(brush) {}
    void release(ToolHost&, const ToolPoint&) override { op_.reset(); }
    void cancel(ToolHost&) override { op_.reset(); }

protected:
    void begin(ToolHost& host) { op_.emplace(host.document()); }
    void queue(ToolHost& host, HexPos h) {
        if (host.document().contains(h.col, h.row)) host.queueHex(h);
    }
    void queueNeighbours(ToolHost& host, HexPos h) {
        for (int d = 0; d < kDirectionCount; ++d) queue(host, neighbourPos(h, d));
    }
    // Places the brush on one hex and queues it; a demoted label redraws its whole row.
    void place(ToolHost& host, HexPos h, int megaPosition) {
        MapDocument& doc = host.document();
        const PlacedTerrain placed = doc.setTerrain(h.col, h.row, brush_, megaPosition);
        if (op_) {
            if (placed.labelDemoted) op_->change().labels = true;
            if (placed.buildingAdded || placed.buildingRemoved) op_->change().buildings = true;
        }
        if (placed.labelDemoted) host.queueRow(h.row);
        queue(host, h);
    }

    TerrainBrush& brush_;
    std::optional<EditOperation> op_;
};

// A tool that works hex by hex while the button is held: on the press and on every move onto
// another hex of the map.
class StrokeTool : public TerrainToolBase {
public:
    using TerrainToolBase::TerrainToolBase;
    void press(ToolHost& host, const ToolPoint& p) override {
        if (!p.inMap) return;
        begin(host);
        last_ = p.hex;
        visit(host, p.hex);
    }
    void move(ToolHost& host, const ToolPoint& p) override {
        if (!op_ || !p.inMap || p.hex == last_) return;
        last_ = p.hex;
        visit(host, p.hex);
    }

protected:
    virtual void visit(ToolHost& host, HexPos h) = 0;

private:
    HexPos last_{-1, -1};
};

// Pen: paints on press and on every move onto another hex while the button is held; with a
// mega piece or the mega pen the six neighbours take the group's members.
class PenTool : public StrokeTool {
public:
    using StrokeTool::StrokeTool;

protected:
    void visit(ToolHost& host, HexPos h) override {
        MapDocument& doc = host.document();
        place(host, h, kMegaCentre);
        if (isMegaPicture(brush_.picture) || doc.tool.penKind == 1) {
            for (int d = 0; d < kDirectionCount; ++d) {
                const HexPos n = neighbourPos(h, d);
                if (!doc.contains(n.col, n.row)) continue;
                place(host, n, d + 1);
                queueNeighbours(host, n);
            }
        } else {
            queueNeighbours(host, h);
        }
        host.flush();
    }
};

// Line and box: a preview follows the mouse from the anchor while the button is held; the
// release places the brush on every hex of it (a line brush links them along the line).
class RubberBandTool : public TerrainToolBase {
public:
    RubberBandTool(TerrainBrush& brush, bool box) : TerrainToolBase(brush), box_(box) {}
    void press(ToolHost& host, const ToolPoint& p) override {
        if (!p.inMap) return;
        begin(host);
        anchor_ = end_ = p.hex;
        showPreview(host, true);
        host.flush();
    }
    void move(ToolHost& host, const ToolPoint& p) override {
        if (!op_ || !p.inMap || p.hex == end_) return;
        showPreview(host, false);
        end_ = p.hex;
        showPreview(host, true);
        host.flush();
    }
    void release(ToolHost& host, const ToolPoint&) override {
        if (!op_) return;
        commit(host);
        host.flush();
        op_.reset();
    }
    void cancel(ToolHost& host) override {
        if (!op_) return;
        showPreview(host, false);
        host.flush();
        op_.reset();
    }

private:
    std::vector<HexPos> path() const {
        if (!box_) return hexLine(anchor_, end_);
        std::vector<HexPos> hexes;
        for (int r = std::min(anchor_.row, end_.row); r <= std::max(anchor_.row, end_.row); ++r)
            for (int c = std::min(anchor_.col, end_.col); c <= std::max(anchor_.col, end_.col); ++c)
                hexes.push_back({c, r});
        return hexes;
    }
    // The preview marks are view state: no undo record, only a redraw.
    void showPreview(ToolHost& host, bool show) {
        MapDocument& doc = host.document();
        for (HexPos h : path()) {
            uint32_t* marks = doc.marksAt(h.col, h.row);
            if (!marks) continue;
            *marks = show ? (*marks | kMarkPreview) : (*marks & ~kMarkPreview);
            host.queueHex(h);
        }
    }
    void commit(ToolHost& host) {
        MapDocument& doc = host.document();
        const std::vector<HexPos> hexes = path();
        if (!box_ && brush_.isLineBrush(doc.gameDatabase)) {
            linkAlong(host, hexes);
            return;
        }
        std::optional<BatchScope> batch;
        if (box_) batch.emplace(doc);
        const bool mega = doc.tool.penKind == 1;
        for (HexPos h : hexes) {
            uint32_t* marks = doc.marksAt(h.col, h.row);
            if (!marks) continue;
            *marks &= ~kMarkPreview;
            place(host, h, kMegaByOtherTool);
            queueNeighbours(host, h);
            if (!mega) continue;
            for (int d = 0; d < kDirectionCount; ++d) {
                const HexPos n = neighbourPos(h, d);
                if (!doc.contains(n.col, n.row)) continue;
                place(host, n, kMegaByOtherTool);
                queueNeighbours(host, n);
            }
        }
        // The building count window counts again after a box.
        if (box_) op_->change().buildings = true;
    }
    void linkAlong(ToolHost& host, const std::vector<HexPos>& hexes) {
        MapDocument& doc = host.document();
        LinkKind kind = LinkKind::Road;
        int variant = 0;
        if (brush_.supplyLine == 1) {
            kind = LinkKind::SupplyLine;
        } else {
            switch (doc.gameDatabase.terrain(brush_.terrainId).category) {
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
            stroke.visit(h);
            queue(host, h);
            // A link changes the hex linked before too, and a river its banks.
            queueNeighbours(host, h);
        }
    }

    bool box_;
    HexPos anchor_{-1, -1}, end_{-1, -1};
};

// Flood fill: the connected hexes of the seed's terrain (of its owner too when the seed is
// a building) take the brush, all at the press.
class FloodFillTool : public TerrainToolBase {
public:
    using TerrainToolBase::TerrainToolBase;
    void press(ToolHost& host, const ToolPoint& p) override {
        if (!p.inMap) return;
        MapDocument& doc = host.document();
        begin(host);
        const HexCell seed = *doc.cellAt(p.hex.col, p.hex.row);
        const bool building = categoryOf(seed, doc.gameDatabase) > TerrainCategory::Building;
        const std::vector<HexPos> hexes =
            floodFill(HexArea(doc.width(), doc.height()), p.hex, [&](HexPos h) {
                const HexCell& c = *doc.cellAt(h.col, h.row);
                return c.terrain == seed.terrain && !(building && c.owner != seed.owner);
            });
        {
            BatchScope batch(doc);
            for (HexPos h : hexes) place(host, h, kMegaByOtherTool);
            doc.connectedTerrainTouched = 1;
            host.flush();
        }
        op_->change().buildings = true;
    }
};

// Road/river delete: removes the hex's roads, supply lines and rivers; the mega pen also
// the neighbours' roads and supply lines.
class DeleteLinksTool : public StrokeTool {
public:
    using StrokeTool::StrokeTool;

protected:
    void visit(ToolHost& host, HexPos h) override {
        MapDocument& doc = host.document();
        bool changed = doc.removeRoad(h.col, h.row);
        changed = doc.removeSeaLine(h.col, h.row) || changed;
        changed = doc.removeRiver(h.col, h.row) || changed;
        const bool mega = doc.tool.penKind == 1;
        if (changed || mega) {
            queue(host, h);
            queueNeighbours(host, h);
        }
        if (mega) {
            for (int d = 0; d < kDirectionCount; ++d) {
                const HexPos n = neighbourPos(h, d);
                if (!doc.contains(n.col, n.row)) continue;
                bool around = doc.removeRoad(n.col, n.row);
                around = doc.removeSeaLine(n.col, n.row) || around;
                if (around) queueNeighbours(host, n);
            }
        }
        host.flush();
    }
};

// The terrain mode's tool: picks the draw kind's tool at the press (a line brush draws pen,
// box and fill as a line) and keeps it for the gesture; the right button picks up a hex.
class TerrainModeTool : public MapTool {
public:
    explicit TerrainModeTool(TerrainBrush& brush)
        : brush_(brush),
          pen_(brush),
          line_(brush, false),
          box_(brush, true),
          fill_(brush),
          erase_(brush) {}
    void press(ToolHost& host, const ToolPoint& p) override {
        active_ = toolFor(effectiveTerrainDrawKind(host.document(), brush_));
        if (active_) active_->press(host, p);
    }
    void move(ToolHost& host, const ToolPoint& p) override {
        if (active_) active_->move(host, p);
    }
    void release(ToolHost& host, const ToolPoint& p) override {
        if (active_) active_->release(host, p);
        active_ = nullptr;
    }
    void cancel(ToolHost& host) override {
        if (active_) active_->cancel(host);
        active_ = nullptr;
    }
    bool rightPress(ToolHost& host, const ToolPoint& p) override {
        if (active_ || !p.inMap) return false;
        pickUpTerrain(host.document(), p.hex, brush_);
        return true;
    }

private:
    MapTool* toolFor(int kind) {
        switch (kind) {
            case kDrawPen: return &pen_;
            case kDrawLine: return &line_;
            case kDrawBox: return &box_;
            case kDrawFlood: return &fill_;
            case kDrawDeleteLinks: return &erase_;
            default: return nullptr;  // copy and paste are not tools of their own yet
        }
    }

    TerrainBrush& brush_;
    PenTool pen_;
    RubberBandTool line_, box_;
    FloodFillTool fill_;
    DeleteLinksTool erase_;
    MapTool* active_ = nullptr;
};

}  // namespace

int effectiveTerrainDrawKind(const MapDocument& doc, const TerrainBrush& brush) {
    const int kind = doc.tool.drawKind;
    if ((kind == kDrawPen || kind == kDrawBox || kind == kDrawFlood) &&
        brush.isLineBrush(doc.gameDatabase))
        return kDrawLine;
    return kind;
}

void pickUpTerrain(const MapDocument& doc, HexPos hex, TerrainBrush& brush) {
    const HexCell* c = doc.cellAt(hex.col, hex.row);
    if (!c) return;
    brush.owner = c->owner;
    brush.terrainId = c->terrain;
    int picture = c->picture;
    if (c->terrain == kTerrainBridge)
        picture = std::max(0, c->bridgePiece - 1);
    else if (isMegaPicture(picture))
        picture = kMegaFirstPicture +
                  kMegaGroupSize * ((picture - kMegaFirstPicture) / kMegaGroupSize) +
                  kMegaCentreMember;
    brush.picture = static_cast<uint16_t>(picture);
    brush.destroyed = c->destroyed;
    brush.supplyLine = 0;
    brush.valid = 1;
}

void installTerrainTools(ToolRouter& router, TerrainBrush& brush) {
    router.add(kEditTerrain, ToolRouter::kAnyKind, std::make_shared<TerrainModeTool>(brush));
}

}  // namespace kv
