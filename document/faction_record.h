// The per-faction records of a map: the 356-byte faction record, the production list, the
// division and regiment records, and the civilian faction's evacuation targets.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/record_bytes.h"
#include "gamedata/product_types.h"

namespace kv {

inline constexpr int kFactionCount = 6;

// Participation (byte 43).
inline constexpr uint8_t kFactionAbsent = 0;  // 不参戦
inline constexpr uint8_t kFactionUser = 1;    // USER
inline constexpr uint8_t kFactionComputer = 2;

class FactionRecord : public ByteRecord<356> {
public:
    static constexpr size_t kNameAt = 0, kNameSize = 42, kBehaviourAt = 42, kParticipationAt = 43,
                            kAlliancesAt = 44, kProductionTypeAt = 45, kAnthemAt = 46,
                            kWord48At = 48, kFundsAt = 50, kVictoryAt = 54,
                            kProductionCountLimitAt = 60, kFactionBitsAt = 62, kFundsLimitAt = 64,
                            kAnthemNameAt = 68, kAnthemNameSize = 260, kPresetAt = 328,
                            kSharesAt = 329, kDivisionLimitsAt = 332, kVictoryValuesAt = 340;
    static constexpr int kVictoryBytes = 5, kDivisionLimitCount = 8, kVictoryValueCount = 4;
    // Anthem byte values: 0 automatic, 100 + m the anthem list's entry m.
    static constexpr int kFirstAnthem = 100;
    static constexpr uint8_t kCustomPreset = 200;

    std::string name() const { return text(kNameAt, kNameSize); }
    void setName(std::string_view cp932) { setText(kNameAt, kNameSize, cp932); }
    uint8_t behaviour() const { return u8(kBehaviourAt); }
    void setBehaviour(uint8_t v) { setU8(kBehaviourAt, v); }
    uint8_t participation() const { return u8(kParticipationAt); }
    void setParticipation(uint8_t v) { setU8(kParticipationAt, v); }
    bool takesPart() const { return participation() != kFactionAbsent; }
    uint8_t alliances() const { return u8(kAlliancesAt); }
    void setAlliances(uint8_t v) { setU8(kAlliancesAt, v); }
    uint8_t productionType() const { return u8(kProductionTypeAt); }
    void setProductionType(uint8_t v) { setU8(kProductionTypeAt, v); }
    uint8_t anthem() const { return u8(kAnthemAt); }
    void setAnthem(uint8_t v) { setU8(kAnthemAt, v); }
    uint16_t word48() const { return u16(kWord48At); }
    void setWord48(uint16_t v) { setU16(kWord48At, v); }
    int32_t funds() const { return i32(kFundsAt); }
    void setFunds(int32_t v) { setI32(kFundsAt, v); }
    // Victory condition bytes 54..58 (index 0..4); 0 and no change out of range.
    uint8_t victory(int i) const { return at(kVictoryAt, i, kVictoryBytes); }
    void setVictory(int i, uint8_t v) { put(kVictoryAt, i, kVictoryBytes, v); }
    uint16_t productionCountLimit() const { return u16(kProductionCountLimitAt); }
    void setProductionCountLimit(uint16_t v) { setU16(kProductionCountLimitAt, v); }
    uint8_t factionBits() const { return u8(kFactionBitsAt); }
    void setFactionBits(uint8_t v) { setU8(kFactionBitsAt, v); }
    int32_t fundsLimit() const { return i32(kFundsLimitAt); }
    void setFundsLimit(int32_t v) { setI32(kFundsLimitAt, v); }
    std::string anthemName() const { return text(kAnthemNameAt, kAnthemNameSize); }
    void setAnthemName(std::string_view cp932) { setText(kAnthemNameAt, kAnthemNameSize, cp932); }
    uint8_t preset() const { return u8(kPresetAt); }
    void setPreset(uint8_t v) { setU8(kPresetAt, v); }
    // Production shares in percent: 0 air, 1 land, 2 sea.
    uint8_t share(int branch) const { return at(kSharesAt, branch, 3); }
    void setShare(int branch, uint8_t v) { put(kSharesAt, branch, 3, v); }
    // Division limits 0..7: regiments of the air, army and navy division, units of the three
    // divisions, USER regiments, USER units.
    uint8_t divisionLimit(int i) const { return at(kDivisionLimitsAt, i, kDivisionLimitCount); }
    void setDivisionLimit(int i, uint8_t v) { put(kDivisionLimitsAt, i, kDivisionLimitCount, v); }
    void setDefaultDivisionLimits();
    int32_t victoryValue(int i) const {
        return i >= 0 && i < kVictoryValueCount ? i32(kVictoryValuesAt + 4 * size_t(i)) : 0;
    }
    void setVictoryValue(int i, int32_t v) {
        if (i >= 0 && i < kVictoryValueCount) setI32(kVictoryValuesAt + 4 * size_t(i), v);
    }

private:
    uint8_t at(size_t base, int i, int n) const { return i >= 0 && i < n ? bytes[base + i] : 0; }
    void put(size_t base, int i, int n, uint8_t v) {
        if (i >= 0 && i < n) bytes[base + i] = v;
    }
};
static_assert(sizeof(FactionRecord) == FactionRecord::kSize);

// The names of the colour table by colour index 0..8 (UTF-8; "民間人" is the civilians);
// empty outside.
std::string_view colourName(int index);
// The colour word a faction slot is named after in a new map; empty outside 0..5.
std::string_view factionColourName(int slot);

// A faction's production list has the layout of a product type record.
using ProductionList = ProductType;
static_assert(sizeof(ProductionList) == 7534);

// Division d (0 air, 1 army, 2 navy) of a faction; byte 38 holds the record's index.
class DivisionRecord : public ByteRecord<200> {
public:
    static constexpr size_t kIndexAt = 38;
    uint8_t index() const { return u8(kIndexAt); }
    void setIndex(uint8_t v) { setU8(kIndexAt, v); }
};
static_assert(sizeof(DivisionRecord) == DivisionRecord::kSize);

// Regiment r of division d is record 6d + r of its faction.
class RegimentRecord : public ByteRecord<198> {
public:
    static constexpr size_t kFormedAt = 0, kFlagsAt = 36, kIndexAt = 40, kCommanderAt = 42;
    static constexpr uint32_t kDeployed = 0x2;

    uint8_t formed() const { return u8(kFormedAt); }
    void setFormed(uint8_t v) { setU8(kFormedAt, v); }
    uint32_t regimentFlags() const { return u32(kFlagsAt); }
    void setRegimentFlags(uint32_t v) { setU32(kFlagsAt, v); }
    uint8_t index() const { return u8(kIndexAt); }
    void setIndex(uint8_t v) { setU8(kIndexAt, v); }
    uint16_t commanderSlot() const { return u16(kCommanderAt); }
    void setCommanderSlot(uint16_t v) { setU16(kCommanderAt, v); }
};
static_assert(sizeof(RegimentRecord) == RegimentRecord::kSize);

inline constexpr int kDivisionsPerFaction = 3;
inline constexpr int kRegimentsPerFaction = 18;

// The civilian faction's two evacuation targets.
class EvacuationTargets : public ByteRecord<10> {
public:
    static constexpr size_t kColAt = 1, kRowAt = 3, kEnabledAt = 8;
    // Target 0 or 1; 0 and no change for another index.
    uint8_t col(int t) const { return valid(t) ? u8(kColAt + t) : 0; }
    uint8_t row(int t) const { return valid(t) ? u8(kRowAt + t) : 0; }
    bool enabled(int t) const { return valid(t) && u8(kEnabledAt + t) == 1; }
    void setTarget(int t, uint8_t col, uint8_t row, bool enabled) {
        if (!valid(t)) return;
        setU8(kColAt + t, col);
        setU8(kRowAt + t, row);
        setU8(kEnabledAt + t, enabled ? 1 : 0);
    }

private:
    static bool valid(int t) { return t == 0 || t == 1; }
};
static_assert(sizeof(EvacuationTargets) == EvacuationTargets::kSize);

}  // namespace kv
