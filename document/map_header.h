// The 588-byte map header record: magic, message, flags, turn limit, map name and size.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kv {

class MapHeader {
public:
    static constexpr size_t kSize = 588;
    static constexpr size_t kMagicOffset = 0, kMagicSize = 16;
    static constexpr size_t kMessageOffset = 16, kMessageSize = 514;
    static constexpr size_t kBuildingIncomeOffset = 532;
    static constexpr size_t kDifficultyOffset = 534;
    static constexpr size_t kTurnLimitOffset = 536;
    static constexpr size_t kMapNameOffset = 540, kMapNameSize = 42;
    static constexpr size_t kWidthOffset = 582, kHeightOffset = 584;

    std::array<uint8_t, kSize> bytes{};

    void clear() { bytes.fill(0); }
    std::string magic() const { return std::string(reinterpret_cast<const char*>(&bytes[0]), 16); }
    void setMagic(std::string_view m);
    // The map name's CP932 bytes up to its terminating NUL.
    std::string mapName() const;
    // Stores CP932 bytes, cut at a character boundary to leave room for the NUL.
    void setMapName(std::string_view cp932);
    int turnLimit() const { return static_cast<int>(u32(kTurnLimitOffset)); }
    void setTurnLimit(int v) { setU32(kTurnLimitOffset, static_cast<uint32_t>(v)); }
    int width() const { return u16(kWidthOffset); }
    int height() const { return u16(kHeightOffset); }
    void setSize(int w, int h) {
        setU16(kWidthOffset, static_cast<uint16_t>(w));
        setU16(kHeightOffset, static_cast<uint16_t>(h));
    }

private:
    uint16_t u16(size_t o) const { return static_cast<uint16_t>(bytes[o] | bytes[o + 1] << 8); }
    uint32_t u32(size_t o) const {
        return static_cast<uint32_t>(bytes[o]) | static_cast<uint32_t>(bytes[o + 1]) << 8 |
               static_cast<uint32_t>(bytes[o + 2]) << 16 | static_cast<uint32_t>(bytes[o + 3]) << 24;
    }
    void setU16(size_t o, uint16_t v) {
        bytes[o] = static_cast<uint8_t>(v);
        bytes[o + 1] = static_cast<uint8_t>(v >> 8);
    }
    void setU32(size_t o, uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[o + i] = static_cast<uint8_t>(v >> (8 * i));
    }
};

}  // namespace kv
