// Window placement rules that need no window system: work-area clamping, the saved
// placement decision and the numeric text of controls.
#pragma once

#include <optional>
#include <string>

namespace kv {

// Edges as the platform stores them: right and bottom are exclusive.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Rect&) const = default;
};

// Shifts a dragged tool window (without resizing) so that it stays reachable in the
// work area: top ≤ bottom − 20, bottom ≥ 20, left ≤ right − 20, right ≥ 30, in that order.
Rect keepReachable(Rect r, const Rect& workArea);

// Adjusts a window position against the work area. Mode 1 keeps the whole window inside,
// mode 2 the top-left corner, mode 3 some corner; other modes change nothing.
// Returns whether an adjustment was needed.
bool adjustWithin(int& x, int& y, int width, int height, const Rect& workArea, int mode);

// "value/scale" with 3, 2 or 1 decimals for scale 1000, 100 or 10; a negative
// remainder is shown without its sign.
std::string numberText(int value, int scale);

// The saved placement of a window under its class name (section "WindowInfo").
struct SavedPlacement {
    bool zoomed = false;
    bool iconic = false;
    Rect normal;
};
void writePlacement(const std::string& className, const SavedPlacement& p);
// Reads the six keys; nothing when any one of them is missing.
std::optional<SavedPlacement> readPlacement(const std::string& className);

}  // namespace kv
