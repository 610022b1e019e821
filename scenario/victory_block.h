// The victory-condition block: the victory bytes and values of the six factions gathered into
// the 126 bytes the victory-condition dialog edits, and written back.
#pragma once

#include <array>
#include <cstdint>

#include "document/faction_record.h"

namespace kv {

class VictoryBlock {
public:
    static constexpr size_t kSize = 126;
    static constexpr size_t kValuesAt = 30, kValueStride = 16;
    // Byte meanings of a slot (index into victory()).
    enum Byte : int { Building = 0, Troop = 1, Transport = 2, Options = 3, ThreeWay = 4 };
    static constexpr uint8_t kTwoWayBit = 0x02;

    static VictoryBlock of(const std::array<FactionRecord, kFactionCount>& factions);
    void writeTo(std::array<FactionRecord, kFactionCount>& factions) const;

    // Slot 0..5, byte 0..4 / value 0..3; 0 and no change outside.
    uint8_t victory(int slot, int i) const;
    void setVictory(int slot, int i, uint8_t v);
    int32_t value(int slot, int i) const;
    void setValue(int slot, int i, int32_t v);

    bool operator==(const VictoryBlock&) const = default;
    std::array<uint8_t, kSize> bytes{};
};

}  // namespace kv
