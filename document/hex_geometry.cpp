// Hex neighbours, distances, lines, rings and flood fills.
#include "document/hex_geometry.h"

#include <algorithm>
#include <cstdlib>
#include <deque>

namespace kv {

HexPos neighbourPos(HexPos h, int direction) {
    const int s = h.row & 1;  // also right for negative rows (two's complement)
    switch (direction) {
        case kWest: return {h.col - 1, h.row};
        case kSouthWest: return {h.col + s - 1, h.row + 1};
        case kSouthEast: return {h.col + s, h.row + 1};
        case kEast: return {h.col + 1, h.row};
        case kNorthEast: return {h.col + s, h.row - 1};
        case kNorthWest: return {h.col + s - 1, h.row - 1};
        default: return h;
    }
}

int directionTo(HexPos from, HexPos to) {
    for (int d = 0; d < kDirectionCount; ++d)
        if (neighbourPos(from, d) == to) return d;
    return -1;
}

namespace {

// Cube coordinates of the offset layout.
struct Cube {
    int x, y, z;
};

Cube toCube(HexPos h) {
    const int x = h.col - (h.row - (h.row & 1)) / 2;
    return {x, -x - h.row, h.row};
}

}  // namespace

int hexDistance(HexPos a, HexPos b) {
    const Cube p = toCube(a), q = toCube(b);
    return std::max({std::abs(p.x - q.x), std::abs(p.y - q.y), std::abs(p.z - q.z)});
}

std::optional<HexPos> HexArea::neighbour(HexPos hex, int direction) const {
    if (direction < 0 || direction >= kDirectionCount) return std::nullopt;
    const HexPos n = neighbourPos(hex, direction);
    if (!contains(n)) return std::nullopt;
    return n;
}

namespace {

bool isOdd(int v) {
    return (v & 1) != 0;
}

void steepLine(HexPos a, int adc, int adr, int colStep, int rowStep, std::vector<HexPos>& out) {
    int c = a.col, r = a.row, e = 0;
    for (int k = 0; k <= adr; ++k) {
        int adj = 0;
        if (e >= adr) {
            e -= 2 * adr;
            if ((isOdd(r) && colStep == 1) || (!isOdd(r) && colStep == -1)) {
                if (e + 2 * adc >= adr)
                    out.push_back({c, r});
                else
                    adj = -colStep;
            }
            c += colStep;
        }
        out.push_back({c + adj, r});
        r += rowStep;
        e += 2 * adc;
    }
}

void shallowLine(HexPos a, int adc, int adr, int colStep, int rowStep, std::vector<HexPos>& out) {
    int c = a.col, r = a.row, e = 0;
    for (int k = 0; k <= adc; ++k) {
        if (e >= adc) {
            e -= adc;
            if (isOdd(r) && colStep == -1) out.push_back({c, r});
            r += rowStep;
            if (isOdd(r) && colStep == 1) out.push_back({c - 1, r});
        }
        out.push_back({c, r});
        c += colStep;
        e += adr;
    }
}

}  // namespace

std::vector<HexPos> hexLine(HexPos from, HexPos to) {
    const int dc = to.col - from.col, dr = to.row - from.row;
    const int adc = std::abs(dc), adr = std::abs(dr);
    const int colStep = dc < 0 ? -1 : 1, rowStep = dr < 0 ? -1 : 1;
    std::vector<HexPos> out;
    if (dc == 0) {
        // The column stays; on screen the line zig-zags between neighbours.
        for (int k = 0; k <= adr; ++k) out.push_back({from.col, from.row + k * rowStep});
    } else if (dr == 0) {
        for (int k = 0; k <= adc; ++k) out.push_back({from.col + k * colStep, from.row});
    } else if (adc < adr) {
        steepLine(from, adc, adr, colStep, rowStep, out);
    } else {
        shallowLine(from, adc, adr, colStep, rowStep, out);
    }
    return out;
}

std::vector<HexPos> hexRing(HexPos centre, int radius) {
    if (radius <= 0) return {centre};
    std::vector<HexPos> out;
    out.reserve(size_t(6) * size_t(radius));
    HexPos h = centre;
    for (int k = 0; k < radius; ++k) h = neighbourPos(h, kSouthWest);
    constexpr int kWalk[kDirectionCount] = {kNorthWest, kNorthEast, kEast,
                                            kSouthEast, kSouthWest, kWest};
    for (int d : kWalk) {
        for (int k = 0; k < radius; ++k) {
            h = neighbourPos(h, d);
            out.push_back(h);
        }
    }
    return out;
}

std::optional<HexPos> searchRings(const HexArea& area, HexPos centre,
                                  const std::function<bool(HexPos)>& accept) {
    const int radius = std::max(area.width(), area.height());
    for (int e = 0; e <= radius; ++e)
        for (HexPos h : hexRing(centre, e))
            if (area.contains(h) && accept(h)) return h;
    return std::nullopt;
}

std::vector<HexPos> floodFill(const HexArea& area, HexPos seed,
                              const std::function<bool(HexPos)>& belongs) {
    if (!area.contains(seed)) return {};
    enum : uint8_t { Unseen = 0, Boundary = 1, Fill = 2 };
    std::vector<uint8_t> state(size_t(area.hexCount()), Unseen);
    std::deque<HexPos> queue{seed};
    state[size_t(area.index(seed))] = Fill;
    constexpr int kOrder[kDirectionCount] = {kWest,      kEast,      kNorthWest,
                                             kSouthWest, kNorthEast, kSouthEast};
    while (!queue.empty()) {
        const HexPos h = queue.front();
        queue.pop_front();
        for (int d : kOrder) {
            const HexPos n = neighbourPos(h, d);
            if (!area.contains(n)) continue;
            uint8_t& s = state[size_t(area.index(n))];
            if (s != Unseen) continue;
            s = belongs(n) ? Fill : Boundary;
            if (s == Fill) queue.push_back(n);
        }
    }
    std::vector<HexPos> out;
    for (int i = 0; i < area.hexCount(); ++i)
        if (state[size_t(i)] == Fill) out.push_back(area.at(i));
    return out;
}

HexRect HexRect::spanning(HexPos a, HexPos b) {
    return {std::min(a.col, b.col), std::min(a.row, b.row), std::max(a.col, b.col),
            std::max(a.row, b.row)};
}

HexPos pasteBlockOrigin(const HexRect& selection, HexPos cursor, const HexArea& area) {
    const int w = selection.width() - 1, h = selection.height() - 1;
    const int left = std::clamp(cursor.col - w / 2, 0, std::max(area.width() - w - 1, 0));
    const int top = std::clamp(cursor.row - h / 2, 0, std::max(area.height() - h - 1, 0));
    return {left, top};
}

HexPos pasteTarget(const HexRect& selection, HexPos origin, HexPos source) {
    const int dr = source.row - selection.top;
    int shift = 0;
    if ((dr & 1) != 0 && (selection.top & 1) != (origin.row & 1))
        shift = (selection.top & 1) != 0 ? -1 : +1;
    return {origin.col + (source.col - selection.left) + shift, origin.row + dr};
}

}  // namespace kv
