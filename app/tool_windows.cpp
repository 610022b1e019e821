// The main frame's modeless windows and their bookkeeping.
#include "app/tool_windows.h"

#include <utility>

#include <QWidget>

#include "app/command_ids.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "framework/window.h"
#include "view/window_messages.h"

namespace kv {

namespace {

using K = ToolKind;

// Each window's menu command, visibility key, its button's message to the tool window, and the
// main frame's messages that open and close it.
const ToolWindowInfo kInfos[] = {
    {K::ToolWindow, cmd::ToolWindow, "ShowToolWin", 0, mainmsg::OpenToolWindow,
     mainmsg::CloseToolWindow, false},
    {K::HqMap, cmd::HqMap, "ShowHq", toolmsg::HqMapToggled, mainmsg::OpenHqMap, mainmsg::CloseHqMap,
     false},
    {K::TerrainPalette, cmd::TerrainPalette, "ShowLandPaletteWin", toolmsg::TerrainPaletteToggled,
     mainmsg::OpenTerrainPalette, mainmsg::CloseTerrainPalette, false},
    {K::TroopPalette, cmd::TroopPalette, "ShowTroopPaletteWin", toolmsg::TroopPaletteToggled,
     mainmsg::OpenTroopPalette, mainmsg::CloseTroopPalette, false},
    {K::BorderPalette, cmd::BorderPalette, "ShowBorderLinePaletteWin",
     toolmsg::BorderPaletteToggled, mainmsg::OpenBorderPalette, mainmsg::CloseBorderPalette, false},
    {K::MinePalette, cmd::MinePalette, "ShowMinePaletteWin", toolmsg::MinePaletteToggled,
     mainmsg::OpenMinePalette, mainmsg::CloseMinePalette, false},
    {K::BuildingCount, cmd::BuildingCount, "ShowBuildCnt", toolmsg::BuildingCountToggled,
     mainmsg::OpenBuildingCount, mainmsg::CloseBuildingCount, false},
    {K::TroopTable, cmd::TroopTable, nullptr, toolmsg::TroopTableToggled, mainmsg::OpenTroopTable,
     mainmsg::CloseTroopTable, true},
    {K::WeaponList, cmd::WeaponList, nullptr, toolmsg::WeaponListToggled, mainmsg::OpenWeaponList,
     mainmsg::CloseWeaponList, true},
    {K::TerrainLabelList, cmd::TerrainLabelList, nullptr, toolmsg::TerrainLabelListToggled,
     mainmsg::OpenTerrainLabelList, mainmsg::CloseTerrainLabelList, true},
    {K::TroopLabelList, cmd::TroopLabelList, nullptr, toolmsg::TroopLabelListToggled,
     mainmsg::OpenTroopLabelList, mainmsg::CloseTroopLabelList, true},
    {K::TerrainInfo, cmd::TerrainInfo, "ShowLandList", toolmsg::TerrainInfoToggled,
     mainmsg::OpenTerrainInfo, mainmsg::CloseTerrainInfo, false},
    {K::TerrainMoveTable, cmd::TerrainMoveTable, "ShowLandMoveList",
     toolmsg::TerrainMoveTableToggled, mainmsg::OpenTerrainMoveTable,
     mainmsg::CloseTerrainMoveTable, false},
    {K::TerrainAvoidTable, cmd::TerrainAvoidTable, nullptr, toolmsg::TerrainAvoidTableToggled,
     mainmsg::OpenTerrainAvoidTable, mainmsg::CloseTerrainAvoidTable, false},
    {K::TransportableTerrain, cmd::TransportableTerrain, "ShowLandTransportList",
     toolmsg::TransportableTerrainToggled, mainmsg::OpenTransportableTerrain,
     mainmsg::CloseTransportableTerrain, false},
    {K::UndoHistory, cmd::UndoHistoryWindow, "ShowUndoHistory", 0, mainmsg::OpenUndoHistory,
     mainmsg::CloseUndoHistory, false},
    {K::Problems, cmd::ProblemsPanel, "ShowProblems", 0, mainmsg::OpenProblems,
     mainmsg::CloseProblems, false},
};
static_assert(std::size(kInfos) == static_cast<size_t>(ToolKind::Count));

void writeKey(ToolKind kind, int value) {
    if (const char* key = toolInfo(kind).key) ProfileEntry("Environment", key).writeInt(value);
}

}  // namespace

const ToolWindowInfo& toolInfo(ToolKind kind) {
    return kInfos[static_cast<int>(kind)];
}

std::optional<ToolKind> toolByMenuId(int menuId) {
    for (const ToolWindowInfo& s : kInfos)
        if (s.menuId == menuId && menuId != 0) return s.kind;
    return std::nullopt;
}

std::optional<ToolKind> toolByMessage(uint32_t message, bool& opens) {
    for (const ToolWindowInfo& s : kInfos) {
        if (s.openMessage == message) {
            opens = true;
            return s.kind;
        }
        if (s.closeMessage == message) {
            opens = false;
            return s.kind;
        }
    }
    return std::nullopt;
}

bool ToolWindows::open(ToolKind kind) {
    Slot& s = slot(kind);
    if (s.window) {
        if (QWidget* w = s.window->handle()) {
            w->raise();
            w->activateWindow();
        }
        return true;
    }
    if (!s.factory) return false;
    s.window = s.factory();
    if (!s.window) return false;
    writeKey(kind, 1);
    return true;
}

ToolWindows::~ToolWindows() {
    for (Slot& s : slots_)
        if (Window* w = std::exchange(s.window, nullptr)) w->destroy();
    const std::vector<Detail> details = std::move(details_);
    details_.clear();
    for (const Detail& d : details)
        if (d.window) d.window->destroy();
}

void ToolWindows::close(ToolKind kind) {
    Slot& s = slot(kind);
    writeKey(kind, 0);
    Window* w = s.window;
    s.window = nullptr;
    if (w) w->destroy();
}

void ToolWindows::forget(Window* w) {
    for (Slot& s : slots_)
        if (s.window == w) s.window = nullptr;
    std::erase_if(details_, [w](const Detail& d) { return d.window == w; });
}

void ToolWindows::post(ToolKind kind, uint32_t message, uintptr_t wParam, intptr_t lParam) const {
    if (Window* w = window(kind)) postMessage(w, message, wParam, lParam);
}

int ToolWindows::lowestFreeKey(const std::vector<Detail>& details) {
    for (int key = 0; key <= 98; ++key) {
        bool used = false;
        for (const Detail& d : details) used = used || d.key == key;
        if (!used) return key;
    }
    return 99;
}

void ToolWindows::openWeaponDetail(int weaponId) {
    for (const Detail& d : details_) {
        if (d.weaponId != weaponId) continue;
        if (QWidget* w = d.window ? d.window->handle() : nullptr) {
            w->raise();
            w->activateWindow();
        }
        return;
    }
    if (details_.size() >= 2) {
        Prompt p;
        p.caption = "注意";
        p.text = "これ以上兵器詳細ウィンドウを開くことはできません。";
        p.taskModal = true;
        prompter().ask(p);
        return;
    }
    const int key = lowestFreeKey(details_);
    Window* w = detailFactory_ ? detailFactory_(weaponId, key) : nullptr;
    if (w) details_.push_back({w, key, weaponId});
}

void ToolWindows::closeWeaponDetail(int key) {
    for (auto it = details_.begin(); it != details_.end(); ++it) {
        if (it->key != key) continue;
        Window* w = it->window;
        details_.erase(it);
        if (w) w->destroy();
        return;
    }
}

void ToolWindows::setDetailWeapon(int key, int weaponId) {
    for (Detail& d : details_)
        if (d.key == key) d.weaponId = weaponId;
}

}  // namespace kv
