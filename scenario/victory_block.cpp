// The victory-condition block, gathered from and written back to the faction records.
#include "scenario/victory_block.h"

#include <cstring>

namespace kv {

namespace {

bool validSlot(int slot) {
    return slot >= 0 && slot < kFactionCount;
}

}  // namespace

VictoryBlock VictoryBlock::of(const std::array<FactionRecord, kFactionCount>& factions) {
    VictoryBlock b;
    for (int s = 0; s < kFactionCount; ++s) {
        const FactionRecord& f = factions[size_t(s)];
        for (int i = 0; i < FactionRecord::kVictoryBytes; ++i) b.setVictory(s, i, f.victory(i));
        std::memcpy(&b.bytes[kValuesAt + kValueStride * size_t(s)],
                    &f.bytes[FactionRecord::kVictoryValuesAt], kValueStride);
    }
    return b;
}

void VictoryBlock::writeTo(std::array<FactionRecord, kFactionCount>& factions) const {
    for (int s = 0; s < kFactionCount; ++s) {
        FactionRecord& f = factions[size_t(s)];
        for (int i = 0; i < FactionRecord::kVictoryBytes; ++i) f.setVictory(i, victory(s, i));
        std::memcpy(&f.bytes[FactionRecord::kVictoryValuesAt],
                    &bytes[kValuesAt + kValueStride * size_t(s)], kValueStride);
    }
}

uint8_t VictoryBlock::victory(int slot, int i) const {
    if (!validSlot(slot) || i < 0 || i >= FactionRecord::kVictoryBytes) return 0;
    return bytes[size_t(FactionRecord::kVictoryBytes * slot + i)];
}

void VictoryBlock::setVictory(int slot, int i, uint8_t v) {
    if (!validSlot(slot) || i < 0 || i >= FactionRecord::kVictoryBytes) return;
    bytes[size_t(FactionRecord::kVictoryBytes * slot + i)] = v;
}

int32_t VictoryBlock::value(int slot, int i) const {
    if (!validSlot(slot) || i < 0 || i >= FactionRecord::kVictoryValueCount) return 0;
    const size_t o = kValuesAt + kValueStride * size_t(slot) + 4 * size_t(i);
    uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | bytes[o + size_t(k)];
    return static_cast<int32_t>(v);
}

void VictoryBlock::setValue(int slot, int i, int32_t v) {
    if (!validSlot(slot) || i < 0 || i >= FactionRecord::kVictoryValueCount) return;
    const size_t o = kValuesAt + kValueStride * size_t(slot) + 4 * size_t(i);
    const uint32_t u = static_cast<uint32_t>(v);
    for (size_t k = 0; k < 4; ++k) bytes[o + k] = static_cast<uint8_t>(u >> (8 * k));
}

}  // namespace kv
