// One bit per hex of the map: the redraw flags of the map view.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv {

// Bit (index mod 8) of byte index / 8, index = row × width + col. Positions outside the map
// read as set and are never stored.
class HexBitGrid {
public:
    HexBitGrid() = default;
    HexBitGrid(int width, int height) { reset(width, height); }

    // A grid for a map of this size with every hex set. Sizes below 1 make an empty grid.
    void reset(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int col, int row) const {
        return col >= 0 && row >= 0 && col < width_ && row < height_;
    }

    void markDirty(int col, int row) {
        if (contains(col, row)) bits_[index(col, row) / 8] |= bit(col, row);
    }
    void markClean(int col, int row) {
        if (contains(col, row)) bits_[index(col, row) / 8] &= static_cast<uint8_t>(~bit(col, row));
    }
    bool isDirty(int col, int row) const {
        return !contains(col, row) || (bits_[index(col, row) / 8] & bit(col, row)) != 0;
    }
    void markAllDirty() { std::fill(bits_.begin(), bits_.end(), uint8_t{0xFF}); }
    void markAllClean() { std::fill(bits_.begin(), bits_.end(), uint8_t{0}); }
    const std::vector<uint8_t>& bytes() const { return bits_; }

private:
    size_t index(int col, int row) const { return size_t(row) * size_t(width_) + size_t(col); }
    uint8_t bit(int col, int row) const {
        return static_cast<uint8_t>(1u << (index(col, row) % 8));
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> bits_;
};

inline void HexBitGrid::reset(int width, int height) {
    width_ = width > 0 && height > 0 ? width : 0;
    height_ = width > 0 && height > 0 ? height : 0;
    bits_.assign((size_t(width_) * size_t(height_) + 7) / 8, uint8_t{0xFF});
}

}  // namespace kv
