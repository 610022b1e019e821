// Hex coordinates on the offset layout of the maps (odd rows shifted right by half a hex):
// neighbours and directions, distances, lines, rings and flood fills over a map's size.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace kv {

struct HexPos {
    int col = 0;
    int row = 0;
    bool operator==(const HexPos&) const = default;
};

// The six directions from a hex to its neighbours, in the order link bits and border sides
// are numbered; 6 stands for the hex itself. Functions take them as plain ints.
enum HexDirection : int {
    kWest = 0,
    kSouthWest = 1,
    kSouthEast = 2,
    kEast = 3,
    kNorthEast = 4,
    kNorthWest = 5,
};
inline constexpr int kDirectionCount = 6;
inline constexpr int kDirectionSelf = 6;
inline constexpr int oppositeDirection(int direction) {
    return (direction + 3) % 6;
}

// The neighbour in `direction` (0..5; the hex itself for any other value), inside the map
// or not.
HexPos neighbourPos(HexPos hex, int direction);
// The direction 0..5 in which `to` is a neighbour of `from`; -1 when it is none.
int directionTo(HexPos from, HexPos to);
// The number of steps between two hexes.
int hexDistance(HexPos a, HexPos b);

// The size of a map: 1..256 hexes each way, at most 65536 in all.
class HexArea {
public:
    HexArea(int width, int height) : width_(width), height_(height) {}
    int width() const { return width_; }
    int height() const { return height_; }
    int hexCount() const { return width_ > 0 && height_ > 0 ? width_ * height_ : 0; }
    bool contains(HexPos h) const {
        return h.col >= 0 && h.row >= 0 && h.col < width_ && h.row < height_;
    }
    int index(HexPos h) const { return h.col + h.row * width_; }
    HexPos at(int index) const { return {index % width_, index / width_}; }
    // The neighbour in `direction` when it lies inside the map.
    std::optional<HexPos> neighbour(HexPos hex, int direction) const;

private:
    int width_;
    int height_;
};

// The hexes the line tools visit from `from` to `to`, in order: every hex is the same as or a
// neighbour of the one before (the extra visits fill the zig-zag), the first is `from` and
// the last `to`.
std::vector<HexPos> hexLine(HexPos from, HexPos to);

// The ring of hexes at distance `radius` around `centre` (only the centre for radius 0), in
// the walking order of the placement search: from the hex `radius` steps down-left of the
// centre, `radius` steps each up-left, up-right, right, down-right, down-left and left.
// Hexes outside any map are included.
std::vector<HexPos> hexRing(HexPos centre, int radius);

// The first hex inside `area` accepted by `accept`, searching `centre` and then ring after
// ring up to the larger side of the map.
std::optional<HexPos> searchRings(const HexArea& area, HexPos centre,
                                  const std::function<bool(HexPos)>& accept);

// Breadth-first fill from `seed` over the hexes for which `belongs` is true, stepping west,
// east, north-west, south-west, north-east, south-east. The filled hexes come back in row
// order, left to right. Nothing when the seed lies outside the area.
std::vector<HexPos> floodFill(const HexArea& area, HexPos seed,
                              const std::function<bool(HexPos)>& belongs);

// An inclusive rectangle of hexes in (column, row) space.
struct HexRect {
    int left = 0, top = 0, right = -1, bottom = -1;
    // The rectangle with corners a and b, whichever way they lie.
    static HexRect spanning(HexPos a, HexPos b);
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool empty() const { return right < left || bottom < top; }
    bool contains(HexPos h) const {
        return h.col >= left && h.col <= right && h.row >= top && h.row <= bottom;
    }
};

// The top-left hex of a block the size of `selection` centred on `cursor`, kept inside an
// area of the given size.
HexPos pasteBlockOrigin(const HexRect& selection, HexPos cursor, const HexArea& area);
// Where a hex of the selection lands in a block whose top-left is `origin`: the rows keep
// their distance, and a row at an odd distance from the top moves one column when the
// selection's top row and the block's top row differ in parity, so the shape stays the same
// on the staggered rows (−1 from an odd onto an even row, +1 the other way). This is the
// translation of the whole hex grid, so neighbours land on neighbours.
HexPos pasteTarget(const HexRect& selection, HexPos origin, HexPos source);

}  // namespace kv
