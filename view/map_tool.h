// Editing tools as objects. The map view turns mouse input into tool calls through the router;
// a tool turns them into document operations and tells the view which hexes to redraw. A tool
// never writes records itself: everything it does, the core can do without a window.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document/hex_geometry.h"

namespace kv {

class MapDocument;

// Where the mouse is, for a tool.
struct ToolPoint {
    HexPos hex;          // the hex under the mouse; may lie outside the map
    bool inMap = false;  // hex is a hex of the map
    int x = 0, y = 0;    // client pixels of the map view
    bool shift = false;
    bool control = false;
};

// One entry of a context menu a tool opens on the map: id 0 is a separator; an entry with a
// submenu is not chosen itself.
struct ToolMenuItem {
    int id = 0;
    std::string caption;  // UTF-8
    bool enabled = true;
    bool checked = false;
    std::vector<ToolMenuItem> submenu;
};

// What a tool may ask of the view it works in.
class ToolHost {
public:
    virtual ~ToolHost() = default;
    virtual MapDocument& document() = 0;
    // Hexes whose pictures changed, drawn again at the next flush.
    virtual void queueHex(HexPos hex) = 0;
    virtual void queueRow(int row) = 0;
    virtual void flush() = 0;
    // Opens a context menu at the hex's centre and waits for it to close: the chosen entry's
    // id, 0 when none was chosen. A press just after it closed is ignored (the router's guard).
    virtual int contextMenu(HexPos at, const std::vector<ToolMenuItem>& items) {
        (void)at;
        (void)items;
        return 0;
    }
    // A copied area started or stopped waiting to be pasted (the tool window shows it).
    virtual void pasteStateChanged() {}
};

// One editing tool. The router calls press, then move for every move while the primary button
// is held, then release — or cancel when the drag is broken off (the mouse capture was lost, or
// the edit mode changed under it). hover is a move with no button held. The right button has
// its own pair; a tool that handles it returns true so the view does nothing else with it.
class MapTool {
public:
    virtual ~MapTool() = default;
    virtual void press(ToolHost&, const ToolPoint&) {}
    virtual void move(ToolHost&, const ToolPoint&) {}
    virtual void release(ToolHost&, const ToolPoint&) {}
    virtual void cancel(ToolHost&) {}
    virtual void hover(ToolHost&, const ToolPoint&) {}
    virtual bool rightPress(ToolHost&, const ToolPoint&) { return false; }
    virtual bool rightRelease(ToolHost&, const ToolPoint&) { return false; }
    // The edit mode or draw kind changed, or a new map came: drop whatever waits between
    // gestures (a copied area waiting to be pasted).
    virtual void reset(ToolHost&) {}
};

// Chooses the tool for the document's edit mode and draw kind (the troop draw kind in the troop
// modes), and keeps the rules every tool shares: a press just after a context menu closed is
// ignored, a drag belongs to the tool it started with, and a drag broken off is cancelled once.
class ToolRouter {
public:
    // A primary-button press this soon after a context menu closed is ignored.
    static constexpr int64_t kMenuGuardMs = 200;
    // Registers the tool of an edit mode for one kind, or for every kind with kAnyKind.
    static constexpr int kAnyKind = -1;
    void add(int editMode, int kind, std::shared_ptr<MapTool> tool);
    // The tool for the document's current state, or null.
    MapTool* toolFor(const MapDocument& doc) const;

    // Each returns true when a tool took the input.
    bool press(ToolHost& host, const ToolPoint& p, int64_t nowMs);
    bool move(ToolHost& host, const ToolPoint& p, bool primaryHeld);
    bool release(ToolHost& host, const ToolPoint& p);
    bool rightPress(ToolHost& host, const ToolPoint& p);
    bool rightRelease(ToolHost& host, const ToolPoint& p);
    // The drag is broken off (capture lost, edit mode or tool changed, a new map).
    void cancel(ToolHost& host);
    // Cancels a drag and resets every tool (see MapTool::reset).
    void reset(ToolHost& host);
    void contextMenuClosed(int64_t nowMs) { menuClosedAtMs_ = nowMs; }
    // A drag is under way: the mouse belongs to the view until it ends.
    bool dragging() const { return dragTool_ != nullptr; }

private:
    std::map<std::pair<int, int>, std::shared_ptr<MapTool>> tools_;
    MapTool* dragTool_ = nullptr;
    int64_t menuClosedAtMs_ = INT64_MIN / 2;
};

// The kind that selects a tool within an edit mode: the troop draw kind in the troop modes,
// nothing in the label mode, the draw kind otherwise.
int toolKindFor(const MapDocument& doc);

}  // namespace kv
