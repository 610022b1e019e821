// The main frame's modeless windows: one slot per window with its menu command, visibility
// key and the messages that open and close it, and the weapon detail windows. A window whose
// factory is not installed yet stays closed, exactly like a window the user closed.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace kv {

class Window;

enum class ToolKind {
    ToolWindow,
    HqMap,
    TerrainPalette,
    TroopPalette,
    BorderPalette,
    MinePalette,
    BuildingCount,
    TroopTable,
    WeaponList,
    TerrainLabelList,
    TroopLabelList,
    TerrainInfo,
    TerrainMoveTable,
    TerrainAvoidTable,
    TransportableTerrain,
    UndoHistory,
    Problems,
    Count
};

struct ToolWindowInfo {
    ToolKind kind;
    int menuId;            // 0: no menu item
    const char* key;       // visibility key of "Environment", or null
    uint32_t toolMessage;  // tells the tool window the window's state; 0 none
    uint32_t openMessage, closeMessage;
    bool openPostsToolMessage;  // opening always tells the tool window
};

const ToolWindowInfo& toolInfo(ToolKind kind);
std::optional<ToolKind> toolByMenuId(int menuId);
// The kind a private message opens or closes; `opens` says which.
std::optional<ToolKind> toolByMessage(uint32_t message, bool& opens);

class ToolWindows {
public:
    using Factory = std::function<Window*()>;

    ToolWindows() = default;
    // The windows still open go with the bookkeeping; their keys stay as they are, so the
    // next start reopens them.
    ~ToolWindows();
    ToolWindows(const ToolWindows&) = delete;
    ToolWindows& operator=(const ToolWindows&) = delete;

    // Installs the function that creates a kind's window (with the framework allocator).
    void setFactory(ToolKind kind, Factory f) { slot(kind).factory = std::move(f); }
    Window* window(ToolKind kind) const { return slots_[static_cast<int>(kind)].window; }
    bool isOpen(ToolKind kind) const { return window(kind) != nullptr; }

    // Creates the window if it is closed (its key written as 1) or raises it. False when the
    // window cannot be made.
    bool open(ToolKind kind);
    // Writes the key as 0 and destroys the window.
    void close(ToolKind kind);
    // The window went away by itself: forget it.
    void forget(Window* w);
    // Posts to a kind's window if it is open.
    void post(ToolKind kind, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) const;

    // Weapon detail windows: at most two, keyed by the lowest free number 0..98.
    struct Detail {
        Window* window;
        int key;
        int weaponId;
    };
    using DetailFactory = std::function<Window*(int weaponId, int key)>;
    void setDetailFactory(DetailFactory f) { detailFactory_ = std::move(f); }
    // Raises an open window of the weapon, refuses a third with its message, else opens one.
    void openWeaponDetail(int weaponId);
    void closeWeaponDetail(int key);
    void setDetailWeapon(int key, int weaponId);
    const std::vector<Detail>& details() const { return details_; }
    static int lowestFreeKey(const std::vector<Detail>& details);

private:
    struct Slot {
        Factory factory;
        Window* window = nullptr;
    };
    Slot& slot(ToolKind kind) { return slots_[static_cast<int>(kind)]; }
    std::array<Slot, static_cast<int>(ToolKind::Count)> slots_{};
    DetailFactory detailFactory_;
    std::vector<Detail> details_;
};

}  // namespace kv
