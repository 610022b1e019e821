// Window placement rules that need no window system.
#include "framework/placement.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "framework/profile.h"

namespace kv {

Rect keepReachable(Rect r, const Rect& w) {
    auto shiftY = [&r](int dy) {
        r.top += dy;
        r.bottom += dy;
    };
    auto shiftX = [&r](int dx) {
        r.left += dx;
        r.right += dx;
    };
    if (r.top > w.bottom - 20) shiftY(w.bottom - 20 - r.top);
    if (r.bottom < 20) shiftY(20 - r.bottom);
    if (r.left > w.right - 20) shiftX(w.right - 20 - r.left);
    if (r.right < 30) shiftX(30 - r.right);
    return r;
}

bool adjustWithin(int& x, int& y, int width, int height, const Rect& w, int mode) {
    const int ox = x, oy = y;
    switch (mode) {
        case 1:
            x = std::max(x, w.left);
            if (x + width > w.right) x = std::max(w.right - width, w.left);
            y = std::max(y, w.top);
            if (y + height > w.bottom) y = std::max(w.bottom - height, w.top);
            break;
        case 2:
            if (x < w.left) x = w.left;
            if (x >= w.right) x = w.right - 1;
            if (y < w.top) y = w.top;
            if (y >= w.bottom) y = w.bottom - 1;
            break;
        case 3: {
            const int r = x + width - 1, b = y + height - 1;
            const bool anyCorner =
                w.contains(x, y) || w.contains(r, y) || w.contains(x, b) || w.contains(r, b);
            if (!anyCorner) {
                x = w.left;
                y = w.top;
            }
            break;
        }
        default: break;
    }
    return x != ox || y != oy;
}

std::string numberText(int value, int scale) {
    char buf[32];
    const int digits = scale == 1000 ? 3 : scale == 100 ? 2 : scale == 10 ? 1 : 0;
    if (digits == 0) {
        std::snprintf(buf, sizeof buf, "%d", value);
        return buf;
    }
    const long long v = value;
    std::snprintf(buf, sizeof buf, "%lld.%0*lld", v / scale, digits, std::llabs(v % scale));
    return buf;
}

namespace {
const char* const kPlacementKeys[6] = {"WindowZoomed", "WindowIconic",   "WindowPosLeft",
                                       "WindowPosTop", "WindowPosRight", "WindowPosBottom"};
}

void writePlacement(const std::string& className, const SavedPlacement& p) {
    const int values[6] = {p.zoomed ? 1 : 0, p.iconic ? 1 : 0, p.normal.left,
                           p.normal.top,     p.normal.right,   p.normal.bottom};
    for (int i = 0; i < 6; ++i)
        ProfileEntry("WindowInfo", className + kPlacementKeys[i]).writeInt(values[i]);
}

std::optional<SavedPlacement> readPlacement(const std::string& className) {
    int v[6];
    bool complete = true;
    for (int i = 0; i < 6; ++i) {
        v[i] = ProfileEntry("WindowInfo", className + kPlacementKeys[i]).readInt(-1);
        if (v[i] == -1) complete = false;
    }
    if (!complete) return std::nullopt;
    SavedPlacement p;
    p.zoomed = v[0] == 1;
    p.iconic = v[1] == 1;
    p.normal = {v[2], v[3], v[4], v[5]};
    return p;
}

}  // namespace kv
