// A troop (the 312-byte record of one slot) and the troop tables of the six factions with
// their working copies.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/record_bytes.h"

namespace kv {

// Troop flags (the u16 at 50).
inline constexpr uint16_t kTroopLoaded = 0x0002;    // loaded in a carrier
inline constexpr uint16_t kTroopBit2 = 0x0004;      // consulted by the troop tools
inline constexpr uint16_t kTroopStowed = 0x0008;    // stowed in the building at its hex
inline constexpr uint16_t kTroopGathered = 0x0010;  // gathered with its regiment
inline constexpr uint16_t kTroopUnplaced = 0x0200;  // waits in the faction's list
// A troop with any of these flags does not stand in its hex's stack.
inline constexpr uint16_t kTroopOffStack = kTroopLoaded | kTroopStowed | kTroopUnplaced;

class TroopRecord : public ByteRecord<312> {
public:
    static constexpr size_t kTurnAt = 0, kNameAt = 4, kNameSize = 32, kWeaponAt = 38, kColAt = 40,
                            kRowAt = 41, kGroupAt = 42, kSlotValuesAt = 43, kGroupWordAt = 48,
                            kFlagsAt = 50, kWordsAt = 56, kCarrierSlotAt = 68, kCarrierTableAt = 89,
                            kUnitStrengthAt = 90, kExperienceAt = 100, kByte221At = 221,
                            kDivisionAt = 270;
    // The first six of the eight words at 56 name the troops loaded in this one (slot + 1 in
    // the carrier's own table, 0 for an empty place); the seventh is the carrier link.
    static constexpr int kCargoEntries = 6;
    // Ten unit-strength bytes at 90: one per unit of the troop, 0 for a unit it does not have.
    static constexpr int kUnitSlots = 10;

    // 0 empty slot, 1 placed at the start, 2 and above a reinforcement of that turn.
    int32_t appearanceTurn() const { return i32(kTurnAt); }
    void setAppearanceTurn(int32_t v) { setI32(kTurnAt, v); }
    bool inUse() const { return appearanceTurn() >= 1; }
    // The troop's name (its weapon's name unless renamed), CP932.
    std::string name() const { return text(kNameAt, kNameSize); }
    // Cut to 32 bytes at a character boundary; a 32-byte name has no NUL, as stored.
    void setName(std::string_view cp932);
    uint16_t weaponId() const { return u16(kWeaponAt); }
    void setWeaponId(uint16_t v) { setU16(kWeaponAt, v); }
    int col() const { return u8(kColAt); }
    int row() const { return u8(kRowAt); }
    void setPosition(int col, int row) {
        setU8(kColAt, static_cast<uint8_t>(col));
        setU8(kRowAt, static_cast<uint8_t>(row));
    }
    uint16_t flags() const { return u16(kFlagsAt); }
    void setFlags(uint16_t v) { setU16(kFlagsAt, v); }
    bool hasFlag(uint16_t f) const { return (flags() & f) != 0; }
    // Slot + 1 of the troop loaded in cargo place i (0..5), 0 when empty or out of range.
    uint16_t cargoEntry(int i) const {
        return i >= 0 && i < kCargoEntries ? u16(kWordsAt + 2 * static_cast<size_t>(i)) : 0;
    }
    void setCargoEntry(int i, uint16_t v) {
        if (i >= 0 && i < kCargoEntries) setU16(kWordsAt + 2 * static_cast<size_t>(i), v);
    }
    // The carrier of a loaded troop: its slot + 1 and table number + 1 (0: none).
    uint16_t carrierSlotPlusOne() const { return u16(kCarrierSlotAt); }
    uint8_t carrierTablePlusOne() const { return u8(kCarrierTableAt); }
    void setCarrier(int tablePlusOne, int slotPlusOne) {
        setU8(kCarrierTableAt, static_cast<uint8_t>(tablePlusOne));
        setU16(kCarrierSlotAt, static_cast<uint16_t>(slotPlusOne));
    }
    // Strength of unit i (0..9), 0 out of range.
    uint8_t unitStrength(int i) const {
        return i >= 0 && i < kUnitSlots ? u8(kUnitStrengthAt + size_t(i)) : 0;
    }
    // The number of units: the unit slots with a non-zero strength.
    int unitCount() const {
        int n = 0;
        for (int i = 0; i < kUnitSlots; ++i) n += unitStrength(i) != 0;
        return n;
    }
    // Units 1..count get `strength`, the rest none.
    void setUnits(int count, uint8_t strength) {
        for (int i = 0; i < kUnitSlots; ++i)
            setU8(kUnitStrengthAt + size_t(i), i < count ? strength : uint8_t{0});
    }
    // Experience × 10 (the dialogs show 0..250).
    uint16_t experienceTimes10() const { return u16(kExperienceAt); }
    void setExperienceTimes10(uint16_t v) { setU16(kExperienceAt, v); }
    uint8_t byte221() const { return u8(kByte221At); }
    // The division 0..2 the troop belongs to.
    uint8_t division() const { return u8(kDivisionAt); }
    void setDivision(uint8_t v) { setU8(kDivisionAt, v); }
};
static_assert(sizeof(TroopRecord) == TroopRecord::kSize);

// The troops of the six factions (tables 0..5) and an equal second set of working copies
// (tables 100..105, never stored). Every table holds 200 slots, allocated once.
class TroopTable {
public:
    static constexpr int kFactions = 6;
    static constexpr int kSlots = 200;
    static constexpr int kSecondSet = 100;
    static constexpr size_t kWorkBufferSize = 4600;

    TroopTable();

    // One more than the highest slot in use (slots below it may be empty); the second set's
    // counts follow the same rule.
    std::array<int32_t, kFactions> count{};
    std::array<std::vector<TroopRecord>, kFactions> records;
    std::array<int32_t, kFactions> secondCount{};
    std::array<std::vector<TroopRecord>, kFactions> secondRecords;
    std::vector<uint8_t> workBuffer;
    std::array<int32_t, 2> workWords{};

    static bool isTable(int table) {
        return (table >= 0 && table < kFactions) ||
               (table >= kSecondSet && table < kSecondSet + kFactions);
    }
    static bool isSlot(int slot) { return slot >= 0 && slot < kSlots; }
    // The record of (table, slot); null for a table or slot that does not exist.
    TroopRecord* at(int table, int slot);
    const TroopRecord* at(int table, int slot) const;
    // The count of a table; null for a table that does not exist.
    int32_t* countOf(int table);
    // The table's count cut to 0..200, safe to iterate to whatever the count word holds.
    int usedSlots(int table) const;
    // Raises the table's count to slot + 1 if it is not above the slot already.
    void raiseCount(int table, int slot);
    // The counts of the six faction tables from their records.
    void recomputeCounts();
    // All counts 0, all records and the working data zeroed.
    void clear();
};

}  // namespace kv
