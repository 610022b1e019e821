// The tool router: which tool gets the mouse, and the rules all tools share.
#include "view/map_tool.h"

#include "document/map_document.h"

namespace kv {

int toolKindFor(const MapDocument& doc) {
    switch (doc.tool.editMode) {
        case kEditTroops:
        case kEditReinforcements: return doc.tool.troopDrawKind;
        case kEditLabels: return 0;
        default: return doc.tool.drawKind;
    }
}

void ToolRouter::add(int editMode, int kind, std::shared_ptr<MapTool> tool) {
    tools_[{editMode, kind}] = std::move(tool);
}

MapTool* ToolRouter::toolFor(const MapDocument& doc) const {
    auto it = tools_.find({doc.tool.editMode, toolKindFor(doc)});
    if (it == tools_.end()) it = tools_.find({doc.tool.editMode, kAnyKind});
    return it == tools_.end() ? nullptr : it->second.get();
}

bool ToolRouter::press(ToolHost& host, const ToolPoint& p, int64_t nowMs) {
    // The click that closed a context menu must not edit the map.
    if (nowMs - menuClosedAtMs_ < kMenuGuardMs) return true;
    if (dragTool_) cancel(host);  // a press without the release of the one before
    MapTool* tool = toolFor(host.document());
    if (!tool) return false;
    dragTool_ = tool;
    tool->press(host, p);
    return true;
}

bool ToolRouter::move(ToolHost& host, const ToolPoint& p, bool primaryHeld) {
    if (dragTool_) {
        if (!primaryHeld) {
            // The release went elsewhere (another window took the mouse): the drag is over.
            cancel(host);
            return true;
        }
        if (toolFor(host.document()) != dragTool_) {
            cancel(host);
            return true;
        }
        dragTool_->move(host, p);
        return true;
    }
    MapTool* tool = toolFor(host.document());
    if (!tool) return false;
    tool->hover(host, p);
    return true;
}

bool ToolRouter::release(ToolHost& host, const ToolPoint& p) {
    if (!dragTool_) return false;
    MapTool* tool = dragTool_;
    dragTool_ = nullptr;
    if (toolFor(host.document()) != tool) {
        tool->cancel(host);
        return true;
    }
    tool->release(host, p);
    return true;
}

bool ToolRouter::rightPress(ToolHost& host, const ToolPoint& p) {
    if (dragTool_) return true;  // one button at a time
    MapTool* tool = toolFor(host.document());
    return tool && tool->rightPress(host, p);
}

bool ToolRouter::rightRelease(ToolHost& host, const ToolPoint& p) {
    if (dragTool_) return true;
    MapTool* tool = toolFor(host.document());
    return tool && tool->rightRelease(host, p);
}

void ToolRouter::cancel(ToolHost& host) {
    MapTool* tool = dragTool_;
    dragTool_ = nullptr;
    if (tool) tool->cancel(host);
}

void ToolRouter::reset(ToolHost& host) {
    cancel(host);
    for (auto& [key, tool] : tools_) tool->reset(host);
}

}  // namespace kv
