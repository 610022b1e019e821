// The terrain edit mode's tools.
#include "view/terrain_tools.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "document/edit_operation.h"
#include "document/map_document.h"
#include "document/terrain_strokes.h"

namespace kv {

namespace {

// What every tool of the two modes shares: the brush, the open operation of the gesture, and
// the redraw bookkeeping of what a stroke (document/terrain_strokes.h) painted. The interaction
// lock is held from press to release, so an undo cannot take back the step being recorded.
class TerrainToolBase : public MapTool {
public:
    TerrainToolBase(TerrainBrush& brush, bool border) : brush_(brush), border_(border) {}
    void release(ToolHost& host, const ToolPoint&) override { end(host); }
    void cancel(ToolHost& host) override { end(host); }

protected:
    void begin(ToolHost& host, const char* name) {
        op_.emplace(host.document(), EditOperation::History::NewStep, border_ ? "国境設定" : name);
        host.document().tool.interactionBusy = 1;
    }
    void end(ToolHost& host) {
        if (!op_) return;
        host.document().tool.interactionBusy = 0;
        op_.reset();
    }
    void queue(ToolHost& host, HexPos h) {
        if (host.document().contains(h.col, h.row)) host.queueHex(h);
    }
    void queueNeighbours(ToolHost& host, HexPos h) {
        for (int d = 0; d < kDirectionCount; ++d) queue(host, neighbourPos(h, d));
    }
    // The palettes' brush, the border mode's territory and the pen kind, as a stroke takes them.
    StrokeBrush strokeBrush(const MapDocument& doc) const {
        return {brush_, doc.tool.borderBrush(), border_, doc.tool.penKind == 1};
    }
    // Queues what a stroke painted with the neighbours (links, borderlines and mega pieces
    // show on them; a demoted label redraws its whole row) and notes what else changed.
    void show(ToolHost& host, const StrokeResult& r, bool neighbours = true) {
        for (HexPos h : r.painted) {
            queue(host, h);
            if (neighbours) queueNeighbours(host, h);
            if (r.labelDemoted) host.queueRow(h.row);
        }
        if (!op_) return;
        if (r.labelDemoted) op_->change().labels = true;
        if (r.buildingsChanged) op_->change().buildings = true;
    }

    TerrainBrush& brush_;
    bool border_;
    std::optional<EditOperation> op_;
};

// A tool that works hex by hex while the button is held: on the press and on every move onto
// another hex of the map.
class StrokeTool : public TerrainToolBase {
public:
    StrokeTool(TerrainBrush& brush, bool border, const char* name)
        : TerrainToolBase(brush, border), name_(name) {}
    void press(ToolHost& host, const ToolPoint& p) override {
        if (!p.inMap) return;
        begin(host, name_);
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
    const char* name_;
    HexPos last_{-1, -1};
};

// Pen: paints on press and on every move onto another hex while the button is held; with a
// mega piece or the mega pen the six neighbours take the group's members.
class PenTool : public StrokeTool {
public:
    PenTool(TerrainBrush& brush, bool border) : StrokeTool(brush, border, "地形配置") {}

protected:
    void visit(ToolHost& host, HexPos h) override {
        MapDocument& doc = host.document();
        StrokeResult r;
        penStroke(doc, strokeBrush(doc), h, r);
        show(host, r);
        host.flush();
    }
};

// Marks hexes with the preview mark (view state: no undo record, only a redraw).
void setPreview(ToolHost& host, const std::vector<HexPos>& hexes, bool show) {
    MapDocument& doc = host.document();
    for (HexPos h : hexes) {
        uint32_t* marks = doc.marksAt(h.col, h.row);
        if (!marks) continue;
        *marks = show ? (*marks | kMarkPreview) : (*marks & ~kMarkPreview);
        host.queueHex(h);
    }
}

std::vector<HexPos> boxHexes(const HexRect& r) {
    std::vector<HexPos> hexes;
    for (int row = r.top; row <= r.bottom; ++row)
        for (int col = r.left; col <= r.right; ++col) hexes.push_back({col, row});
    return hexes;
}

// Line and box: a preview follows the mouse from the anchor while the button is held; the
// release places the brush on every hex of it (a line brush links them along the line).
class RubberBandTool : public TerrainToolBase {
public:
    RubberBandTool(TerrainBrush& brush, bool border, bool box)
        : TerrainToolBase(brush, border), box_(box) {}
    void press(ToolHost& host, const ToolPoint& p) override {
        if (!p.inMap) return;
        begin(host, "地形配置");
        anchor_ = end_ = p.hex;
        setPreview(host, path(), true);
        host.flush();
    }
    void move(ToolHost& host, const ToolPoint& p) override {
        if (!op_ || !p.inMap || p.hex == end_) return;
        setPreview(host, path(), false);
        end_ = p.hex;
        setPreview(host, path(), true);
        host.flush();
    }
    void release(ToolHost& host, const ToolPoint&) override {
        if (!op_) return;
        commit(host);
        host.flush();
        end(host);
    }
    void cancel(ToolHost& host) override {
        if (!op_) return;
        setPreview(host, path(), false);
        host.flush();
        end(host);
    }

private:
    std::vector<HexPos> path() const {
        return box_ ? boxHexes(HexRect::spanning(anchor_, end_)) : hexLine(anchor_, end_);
    }
    void commit(ToolHost& host) {
        MapDocument& doc = host.document();
        for (HexPos h : path())
            if (uint32_t* marks = doc.marksAt(h.col, h.row)) *marks &= ~kMarkPreview;
        StrokeResult r;
        if (box_)
            boxStroke(doc, strokeBrush(doc), anchor_, end_, r);
        else
            lineStroke(doc, strokeBrush(doc), anchor_, end_, r);
        show(host, r);
    }

    bool box_;
    HexPos anchor_{-1, -1}, end_{-1, -1};
};

// Flood fill: the connected hexes of the seed's terrain (of its owner too when the seed is
// a building) take the brush, all at the press; in the border mode the connected hexes of
// the seed's territory take the territory.
class FloodFillTool : public TerrainToolBase {
public:
    using TerrainToolBase::TerrainToolBase;
    void press(ToolHost& host, const ToolPoint& p) override {
        if (!p.inMap) return;
        MapDocument& doc = host.document();
        begin(host, "塗りつぶし");
        StrokeResult r;
        floodStroke(doc, strokeBrush(doc), p.hex, r);
        show(host, r, border_);
        host.flush();
    }
};

// Road/river delete: removes the hex's roads, supply lines and rivers; the mega pen also
// the neighbours' roads and supply lines.
class DeleteLinksTool : public StrokeTool {
public:
    explicit DeleteLinksTool(TerrainBrush& brush) : StrokeTool(brush, false, "道路・河川削除") {}

protected:
    void visit(ToolHost& host, HexPos h) override {
        MapDocument& doc = host.document();
        const bool mega = doc.tool.penKind == 1;
        const bool changed = deleteLinksStroke(doc, h, mega);
        if (changed || mega) {
            queue(host, h);
            queueNeighbours(host, h);
        }
        // The neighbours' links reach the hexes around them.
        if (changed && mega)
            for (int d = 0; d < kDirectionCount; ++d) queueNeighbours(host, neighbourPos(h, d));
        host.flush();
    }
};

// Mines: while the mine palette is shown the pen lays the palette's mine on every hex it passes
// that allows it (kind 0 removes mines).
class MineTool : public StrokeTool {
public:
    explicit MineTool(TerrainBrush& brush) : StrokeTool(brush, false, "地雷配置") {}

protected:
    void visit(ToolHost& host, HexPos h) override {
        MapDocument& doc = host.document();
        if (doc.setMine(h.col, h.row, doc.tool.mineBrush())) queue(host, h);
        host.flush();
    }
};

// Copy and paste: a drag selects a rectangle; then an outline of its size follows the mouse
// until a click pastes the cells there (one undo step) or the right button gives up.
class CopyTool : public TerrainToolBase {
public:
    explicit CopyTool(TerrainBrush& brush) : TerrainToolBase(brush, false) {}
    bool pending() const { return pending_; }

    void press(ToolHost& host, const ToolPoint& p) override {
        if (pending_) {
            // The paste happens on the release; a press outside the map pastes nowhere.
            pressedInMap_ = p.inMap;
            return;
        }
        if (!p.inMap) return;
        selecting_ = true;
        anchor_ = end_ = p.hex;
        setPreview(host, boxHexes(HexRect::spanning(anchor_, end_)), true);
        host.flush();
    }
    void move(ToolHost& host, const ToolPoint& p) override {
        if (pending_) {
            follow(host, p);
            return;
        }
        if (!selecting_ || !p.inMap || p.hex == end_) return;
        setPreview(host, boxHexes(HexRect::spanning(anchor_, end_)), false);
        end_ = p.hex;
        setPreview(host, boxHexes(HexRect::spanning(anchor_, end_)), true);
        host.flush();
    }
    void hover(ToolHost& host, const ToolPoint& p) override {
        if (pending_) follow(host, p);
    }
    void release(ToolHost& host, const ToolPoint& p) override {
        MapDocument& doc = host.document();
        if (selecting_) {
            selecting_ = false;
            selection_ = HexRect::spanning(anchor_, end_);
            setPreview(host, boxHexes(selection_), false);
            host.flush();
            pending_ = true;
            doc.tool.areaSelectActive = 1;
            host.pasteStateChanged();
            follow(host, p);
            return;
        }
        if (!pending_ || !pressedInMap_) return;
        pressedInMap_ = false;
        if (p.inMap) follow(host, p);
        hideOutline(host);
        {
            EditOperation op(doc, EditOperation::History::NewStep, "貼り付け");
            BatchScope batch(doc);
            doc.pasteCells(selection_, origin_, doc.tool.penKind == 1);
            // Pasted buildings are counted again, as after a box or a fill.
            op.change().buildings = true;
            host.flush();
        }
        finish(host);
    }
    void cancel(ToolHost& host) override {
        if (selecting_) {
            selecting_ = false;
            setPreview(host, boxHexes(HexRect::spanning(anchor_, end_)), false);
            host.flush();
        }
        pressedInMap_ = false;
    }
    bool rightRelease(ToolHost& host, const ToolPoint&) override {
        if (!pending_) return false;
        hideOutline(host);
        host.flush();
        finish(host);
        return true;
    }
    void reset(ToolHost& host) override {
        cancel(host);
        if (!pending_) return;
        hideOutline(host);
        host.flush();
        finish(host);
    }

private:
    // Moves the outline to the block centred on the mouse's hex.
    void follow(ToolHost& host, const ToolPoint& p) {
        if (!p.inMap) return;
        const HexPos origin = pasteBlockOrigin(selection_, p.hex, host.document().area());
        if (!outline_.empty() && origin == origin_) return;
        hideOutline(host);
        origin_ = origin;
        for (HexPos source : boxHexes(selection_)) {
            const HexPos target = pasteTarget(selection_, origin_, source);
            if (host.document().contains(target.col, target.row)) outline_.push_back(target);
        }
        setPreview(host, outline_, true);
        host.flush();
    }
    void hideOutline(ToolHost& host) {
        setPreview(host, outline_, false);
        outline_.clear();
    }
    void finish(ToolHost& host) {
        pending_ = false;
        host.document().tool.areaSelectActive = 0;
        host.pasteStateChanged();
    }

    bool selecting_ = false, pending_ = false, pressedInMap_ = false;
    HexPos anchor_{-1, -1}, end_{-1, -1}, origin_{-1, -1};
    HexRect selection_;
    std::vector<HexPos> outline_;
};

// The tool of the terrain and border modes: picks the draw kind's tool at the press (a line
// brush draws pen, box and fill as a line) and keeps it for the gesture. The right button
// picks up a hex (terrain mode, with the missile base menu) or opens the borderline menu.
class TerrainModeTool : public MapTool {
public:
    TerrainModeTool(TerrainBrush& brush, TerrainToolHooks hooks)
        : brush_(brush),
          hooks_(std::move(hooks)),
          pen_{{brush, false}, {brush, true}},
          line_{{brush, false, false}, {brush, true, false}},
          box_{{brush, false, true}, {brush, true, true}},
          fill_{{brush, false}, {brush, true}},
          erase_(brush),
          mine_(brush),
          copy_(brush) {}
    void press(ToolHost& host, const ToolPoint& p) override {
        const int kind = effectiveTerrainDrawKind(host.document(), brush_);
        if (copy_.pending() && (kind != kDrawCopy || !host.document().tool.areaSelectActive))
            copy_.reset(host);
        const MapDocument& doc = host.document();
        active_ = doc.tool.minePlacement && doc.tool.editMode == kEditTerrain ? &mine_
                                                                              : toolFor(doc, kind);
        if (active_) active_->press(host, p);
    }
    void move(ToolHost& host, const ToolPoint& p) override {
        if (active_) active_->move(host, p);
    }
    void hover(ToolHost& host, const ToolPoint& p) override {
        if (copy_.pending()) copy_.hover(host, p);
    }
    void release(ToolHost& host, const ToolPoint& p) override {
        if (active_) active_->release(host, p);
        active_ = nullptr;
    }
    void cancel(ToolHost& host) override {
        if (active_) active_->cancel(host);
        active_ = nullptr;
    }
    void reset(ToolHost& host) override {
        cancel(host);
        copy_.reset(host);
    }
    bool rightPress(ToolHost& host, const ToolPoint& p) override {
        if (active_) return false;
        if (copy_.pending()) return true;  // the release gives the paste up
        if (!p.inMap) return false;
        MapDocument& doc = host.document();
        const HexCell* c = doc.cellAt(p.hex.col, p.hex.row);
        if (doc.tool.editMode == kEditBorderlines) {
            if (c->territory == 0) return false;
            const HexOverlay* o = doc.overlayAt(p.hex.col, p.hex.row);
            const int chosen = host.contextMenu(
                p.hex, {{kHexPropertiesItem, "プロパティ", o->borderBits != 0, false, {}}});
            if (chosen == kHexPropertiesItem && hooks_.borderlineDialog)
                hooks_.borderlineDialog(host, p.hex);
            return true;
        }
        pickUpTerrain(doc, p.hex, brush_);
        if (hooks_.brushPicked) hooks_.brushPicked();
        if (categoryOf(*c, doc.gameDatabase) == TerrainCategory::MissileBase) {
            const int chosen =
                host.contextMenu(p.hex, {{kHexPropertiesItem, "プロパティ", true, false, {}}});
            if (chosen == kHexPropertiesItem && hooks_.missileBaseDialog)
                hooks_.missileBaseDialog(host, p.hex);
        }
        return true;
    }
    bool rightRelease(ToolHost& host, const ToolPoint& p) override {
        return copy_.rightRelease(host, p);
    }

private:
    MapTool* toolFor(const MapDocument& doc, int kind) {
        const int b = doc.tool.editMode == kEditBorderlines ? 1 : 0;
        switch (kind) {
            case kDrawPen: return &pen_[b];
            case kDrawLine: return &line_[b];
            case kDrawBox: return &box_[b];
            case kDrawFlood: return &fill_[b];
            // The border mode neither copies nor deletes links.
            case kDrawDeleteLinks: return b ? nullptr : &erase_;
            case kDrawCopy: return b ? nullptr : &copy_;
            default: return nullptr;
        }
    }

    TerrainBrush& brush_;
    TerrainToolHooks hooks_;
    PenTool pen_[2];
    RubberBandTool line_[2], box_[2];
    FloodFillTool fill_[2];
    DeleteLinksTool erase_;
    MineTool mine_;
    CopyTool copy_;
    MapTool* active_ = nullptr;
};

}  // namespace

int effectiveTerrainDrawKind(const MapDocument& doc, const TerrainBrush& brush) {
    const int kind = doc.tool.drawKind;
    if (doc.tool.editMode == kEditTerrain &&
        (kind == kDrawPen || kind == kDrawBox || kind == kDrawFlood) &&
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

void installTerrainTools(ToolRouter& router, TerrainBrush& brush, TerrainToolHooks hooks) {
    auto tool = std::make_shared<TerrainModeTool>(brush, std::move(hooks));
    router.add(kEditTerrain, ToolRouter::kAnyKind, tool);
    router.add(kEditBorderlines, ToolRouter::kAnyKind, tool);
}

}  // namespace kv
