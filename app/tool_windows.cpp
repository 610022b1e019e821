// The main frame's modeless windows and their bookkeeping.
#include "app/tool_windows.h"

#include <QWidget>

#include "framework/profile.h"
#include "framework/prompter.h"
#include "framework/window.h"

namespace kv {

namespace {

using K = ToolKind;

const ToolWindowInfo kInfos[] = {
    {K::ToolWindow, 40031, "ShowToolWin", 0, 1138, 1139, false},
    {K::HqMap, 40022, "ShowHq", 1129, 1134, 1135, false},
    {K::TerrainPalette, 40032, "ShowLandPaletteWin", 1134, 1140, 1141, false},
    {K::TroopPalette, 40058, "ShowTroopPaletteWin", 1135, 1142, 1143, false},
    {K::BorderPalette, 40096, "ShowBorderLinePaletteWin", 1158, 1164, 1165, false},
    {K::MinePalette, 0, "ShowMinePaletteWin", 1159, 1166, 1167, false},
    {K::BuildingCount, 40030, "ShowBuildCnt", 1131, 1136, 1137, false},
    {K::TroopTable, 40059, nullptr, 1147, 1152, 1153, true},
    {K::WeaponList, 40060, nullptr, 1146, 1148, 1149, true},
    {K::TerrainLabelList, 40067, nullptr, 1149, 1156, 1157, true},
    {K::TroopLabelList, 40077, nullptr, 1150, 1158, 1159, true},
    {K::TerrainInfo, 40003, "ShowLandList", 1130, 1130, 1131, false},
    {K::TerrainMoveTable, 40052, "ShowLandMoveList", 1132, 1132, 1133, false},
    {K::TerrainAvoidTable, 40081, nullptr, 1133, 1160, 1161, false},
    {K::TransportableTerrain, 40061, "ShowLandTransportList", 1148, 1154, 1155, false},
};
static_assert(std::size(kInfos) == static_cast<size_t>(ToolKind::Count));

void writeKey(ToolKind kind, int value) {
    if (const char* key = toolInfo(kind).key) ProfileEntry("Environment", key).writeInt(value);
}

}  // namespace

const ToolWindowInfo& toolInfo(ToolKind kind) { return kInfos[static_cast<int>(kind)]; }

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
