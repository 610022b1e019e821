// The stored forms of an armament (50 bytes) and a weapon (334 bytes), copied byte for byte
// into map and update files, with named accessors for their fields.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "framework/byte_cursor.h"
#include "gamedata/weapon_enums.h"

namespace kv {

static_assert(std::endian::native == std::endian::little,
              "records are stored in the host's byte order");

// Every field sits at its natural alignment, so the record is a plain struct with explicit
// pad members (zero in files).
struct ArmamentRecord {
    static constexpr size_t kSize = 50;
    static constexpr size_t kNameSize = 18;
    static constexpr size_t kShortNameSize = 10;
    // Flag 0x40: the target's countermeasure percentage reduces this armament's attack.
    static constexpr uint8_t kCountermeasured = 0x40;

    char name[kNameSize];
    char shortName[kShortNameSize];
    uint8_t value3;
    uint8_t power;
    uint8_t attack[kTargetClassCount];  // by TargetClass
    uint8_t value14;
    uint8_t kind;  // ArmamentKind
    uint8_t pad41;
    uint16_t value16;
    uint8_t flags;
    uint8_t pad45;
    uint16_t value24;
    uint8_t value25;
    uint8_t pad49;

    // The CP932 text of the name fields, up to their NUL.
    std::string nameText() const;
    std::string shortNameText() const;
    // The attack value against a target class; 0 for a class out of range.
    int attackOn(int targetClass) const;

    const uint8_t* data() const { return reinterpret_cast<const uint8_t*>(this); }
    // A record from stored bytes: the first 50 of them, missing bytes zero.
    static ArmamentRecord fromBytes(std::span<const uint8_t> bytes);
    bool operator==(const ArmamentRecord& other) const;
};

static_assert(sizeof(ArmamentRecord) == ArmamentRecord::kSize);
static_assert(offsetof(ArmamentRecord, shortName) == 18);
static_assert(offsetof(ArmamentRecord, value3) == 28);
static_assert(offsetof(ArmamentRecord, power) == 29);
static_assert(offsetof(ArmamentRecord, attack) == 30);
static_assert(offsetof(ArmamentRecord, value14) == 39);
static_assert(offsetof(ArmamentRecord, kind) == 40);
static_assert(offsetof(ArmamentRecord, value16) == 42);
static_assert(offsetof(ArmamentRecord, flags) == 44);
static_assert(offsetof(ArmamentRecord, value24) == 46);
static_assert(offsetof(ArmamentRecord, value25) == 48);

// The weapon record's 4-byte field makes a struct 336 bytes long, so the record is a byte
// array and every field is read and written at its fixed offset.
class WeaponRecord {
public:
    static constexpr size_t kSize = 334;
    static constexpr size_t kNameSize = 34;
    static constexpr int kSlotCount = 5;
    static constexpr int kGroupCount = 4;
    static constexpr int kCargoSlotCount = 6;
    static constexpr uint8_t kCargoCapacity = 10;

    // Bits of `flags`.
    static constexpr uint16_t kFlag24 = 0x0004;
    static constexpr uint16_t kValue11PerMember = 0x0800;  // value11 counts per member
    static constexpr uint16_t kArmoured = 0x2000;          // 装甲硬 rather than 装甲軟
    static constexpr uint16_t kLandingShip = 0x4000;

    // Field offsets.
    static constexpr size_t kPositionAt = 0, kIdAt = 2, kNameAt = 4, kSelectableAt = 38,
                            kLayerAt = 39, kMovementTypeAt = 40, kWeaponTypeAt = 41, kValue8At = 42,
                            kMemberCountAt = 43, kFlagsAt = 44, kMemberStrengthAt = 46,
                            kValue11At = 48, kIcon12At = 50, kIcon13At = 51, kIcon14At = 52,
                            kIcon23At = 53, kIcon15At = 54, kSightAt = 55, kLayerValuesAt = 61,
                            kValue31At = 68, kCargoSlotsAt = 72, kCargoCapacityAt = 78,
                            kTransportClassAt = 84, kDefenceAt = 88, kFlags2At = 102,
                            kLinkedWeaponAt = 104, kSlotsAt = 106, kGroupsAt = 276,
                            kPictureNumberAt = 316, kWord101At = 318, kTypeIcon32At = 320,
                            kTypeIcon16At = 322, kUnitIcon32At = 324, kTypeIcon48At = 326,
                            kUnitIcon16At = 328, kUnitIcon48At = 330, kDescriptionNumberAt = 332;
    // Inside one 34-byte armament slot.
    static constexpr size_t kSlotSize = 34, kSlotNameAt = 0, kSlotShortNameAt = 18,
                            kSlotRoundsAt = 28, kSlotValueAt = 30, kSlotArmamentAt = 32;
    // Inside one 10-byte armament group.
    static constexpr size_t kGroupSize = 10, kGroupValuesAt = 0, kGroupDivisorAt = 5,
                            kCountermeasureAt = 7, kGroupWordAt = 8;

    WeaponRecord() { bytes_.fill(0); }
    // A record from stored bytes: the first 334 of them, missing bytes zero.
    static WeaponRecord fromBytes(std::span<const uint8_t> bytes);
    const std::array<uint8_t, kSize>& bytes() const { return bytes_; }
    const uint8_t* data() const { return bytes_.data(); }
    bool operator==(const WeaponRecord& other) const { return bytes_ == other.bytes_; }

    uint16_t position() const { return u16(kPositionAt); }
    void setPosition(uint16_t v) { setU16(kPositionAt, v); }
    uint16_t id() const { return u16(kIdAt); }
    void setId(uint16_t v) { setU16(kIdAt, v); }
    // CP932 text up to its NUL.
    std::string name() const;
    // Cut at a character boundary to 33 bytes.
    void setName(std::string_view cp932);
    uint8_t selectable() const { return bytes_[kSelectableAt]; }
    void setSelectable(uint8_t v) { bytes_[kSelectableAt] = v; }
    uint8_t layer() const { return bytes_[kLayerAt]; }
    void setLayer(uint8_t v) { bytes_[kLayerAt] = v; }
    uint8_t movementType() const { return bytes_[kMovementTypeAt]; }
    void setMovementType(uint8_t v) { bytes_[kMovementTypeAt] = v; }
    uint8_t weaponType() const { return bytes_[kWeaponTypeAt]; }
    void setWeaponType(uint8_t v) { bytes_[kWeaponTypeAt] = v; }
    uint8_t value8() const { return bytes_[kValue8At]; }
    void setValue8(uint8_t v) { bytes_[kValue8At] = v; }
    uint8_t memberCount() const { return bytes_[kMemberCountAt]; }
    void setMemberCount(uint8_t v) { bytes_[kMemberCountAt] = v; }
    uint16_t flags() const { return u16(kFlagsAt); }
    void setFlags(uint16_t v) { setU16(kFlagsAt, v); }
    uint8_t memberStrength() const { return bytes_[kMemberStrengthAt]; }
    void setMemberStrength(uint8_t v) { bytes_[kMemberStrengthAt] = v; }
    uint16_t value11() const { return u16(kValue11At); }
    void setValue11(uint16_t v) { setU16(kValue11At, v); }
    uint8_t icon12() const { return bytes_[kIcon12At]; }
    void setIcon12(uint8_t v) { bytes_[kIcon12At] = v; }
    uint8_t icon13() const { return bytes_[kIcon13At]; }
    void setIcon13(uint8_t v) { bytes_[kIcon13At] = v; }
    uint8_t icon14() const { return bytes_[kIcon14At]; }
    void setIcon14(uint8_t v) { bytes_[kIcon14At] = v; }
    uint8_t icon15() const { return bytes_[kIcon15At]; }
    void setIcon15(uint8_t v) { bytes_[kIcon15At] = v; }
    uint8_t icon23() const { return bytes_[kIcon23At]; }
    void setIcon23(uint8_t v) { bytes_[kIcon23At] = v; }
    // Per AltitudeLayer; 0 (and no change) for a layer out of range.
    uint8_t sight(int layer) const { return at(kSightAt, layer, kAltitudeLayerCount); }
    void setSight(int layer, uint8_t v) { put(kSightAt, layer, kAltitudeLayerCount, v); }
    uint8_t layerValue(int layer) const { return at(kLayerValuesAt, layer, kAltitudeLayerCount); }
    void setLayerValue(int layer, uint8_t v) { put(kLayerValuesAt, layer, kAltitudeLayerCount, v); }
    int32_t value31() const;
    void setValue31(int32_t v);
    // Accepted transport classes of a cargo slot 0..5.
    uint8_t cargoSlot(int i) const { return at(kCargoSlotsAt, i, kCargoSlotCount); }
    void setCargoSlot(int i, uint8_t v) { put(kCargoSlotsAt, i, kCargoSlotCount, v); }
    uint8_t cargoCapacity(int i) const { return at(kCargoCapacityAt, i, kCargoSlotCount); }
    void setCargoCapacity(int i, uint8_t v) { put(kCargoCapacityAt, i, kCargoSlotCount, v); }
    uint8_t transportClass() const { return bytes_[kTransportClassAt]; }
    void setTransportClass(uint8_t v) { bytes_[kTransportClassAt] = v; }
    // Defence against an attacker class 0..6; 0 out of range.
    uint16_t defence(int attackerClass) const;
    void setDefence(int attackerClass, uint16_t v);
    uint8_t flags2() const { return bytes_[kFlags2At]; }
    void setFlags2(uint8_t v) { bytes_[kFlags2At] = v; }
    // The weapon this one transforms into, as its id + 1; 0 for none.
    uint16_t linkedWeapon() const { return u16(kLinkedWeaponAt); }
    void setLinkedWeapon(uint16_t v) { setU16(kLinkedWeaponAt, v); }

    // Armament slots 0..4; out-of-range slots read as empty and ignore writes.
    std::string slotName(int slot) const;
    void setSlotName(int slot, std::string_view cp932);
    std::string slotShortName(int slot) const;
    void setSlotShortName(int slot, std::string_view cp932);
    uint8_t slotRounds(int slot) const;
    void setSlotRounds(int slot, uint8_t v);
    uint16_t slotValue(int slot) const;
    void setSlotValue(int slot, uint16_t v);
    // The resolved armament number; 0 for none.
    uint16_t slotArmament(int slot) const;
    void setSlotArmament(int slot, uint16_t v);
    bool hasArmament(int slot) const { return slotArmament(slot) != 0; }

    // Armament groups 0..3, each with one value per armament slot.
    uint8_t groupValue(int group, int slot) const;
    void setGroupValue(int group, int slot, uint8_t v);
    uint8_t groupDivisor(int group) const;
    void setGroupDivisor(int group, uint8_t v);
    uint8_t countermeasure(int group) const;
    void setCountermeasure(int group, uint8_t v);
    uint16_t groupWord(int group) const;
    void setGroupWord(int group, uint16_t v);
    // A group is present when any of its values is non-zero.
    bool groupPresent(int group) const;
    int presentGroupCount() const;
    // `value` shared out by the group's divisor: at least 1, or 0 without a divisor.
    int groupShare(int group, int value) const;
    // The largest countermeasure percentage of the four groups.
    int maxCountermeasure() const;

    uint16_t pictureNumber() const { return u16(kPictureNumberAt); }
    void setPictureNumber(uint16_t v) { setU16(kPictureNumberAt, v); }
    uint16_t word101() const { return u16(kWord101At); }
    void setWord101(uint16_t v) { setU16(kWord101At, v); }
    uint16_t typeIcon16() const { return u16(kTypeIcon16At); }
    void setTypeIcon16(uint16_t v) { setU16(kTypeIcon16At, v); }
    uint16_t typeIcon32() const { return u16(kTypeIcon32At); }
    void setTypeIcon32(uint16_t v) { setU16(kTypeIcon32At, v); }
    uint16_t typeIcon48() const { return u16(kTypeIcon48At); }
    void setTypeIcon48(uint16_t v) { setU16(kTypeIcon48At, v); }
    uint16_t unitIcon16() const { return u16(kUnitIcon16At); }
    void setUnitIcon16(uint16_t v) { setU16(kUnitIcon16At, v); }
    uint16_t unitIcon32() const { return u16(kUnitIcon32At); }
    void setUnitIcon32(uint16_t v) { setU16(kUnitIcon32At, v); }
    uint16_t unitIcon48() const { return u16(kUnitIcon48At); }
    void setUnitIcon48(uint16_t v) { setU16(kUnitIcon48At, v); }
    // The icon numbers for a map scale of 16, 32 or 48 pixels (any other scale reads as 32).
    uint16_t typeIcon(int scale) const;
    uint16_t unitIcon(int scale) const;
    uint16_t descriptionNumber() const { return u16(kDescriptionNumberAt); }
    void setDescriptionNumber(uint16_t v) { setU16(kDescriptionNumberAt, v); }

    // The weapon as a target (TargetClass) and as an attacker (index into defence).
    int targetClass() const;
    int attackClass() const;
    // 0 air, 1 land, 2 sea.
    int branch() const;
    // 0 aircraft, 1 VTOL, 2 helicopter, 3 land, 4 sea.
    int weaponCategory() const;
    int maxSight() const;

private:
    uint16_t u16(size_t offset) const { return loadU16(&bytes_[offset]); }
    void setU16(size_t offset, uint16_t v) { storeU16(&bytes_[offset], v); }
    uint8_t at(size_t base, int i, int count) const {
        return i >= 0 && i < count ? bytes_[base + i] : 0;
    }
    void put(size_t base, int i, int count, uint8_t v) {
        if (i >= 0 && i < count) bytes_[base + i] = v;
    }
    static bool validSlot(int slot) { return slot >= 0 && slot < kSlotCount; }
    static bool validGroup(int group) { return group >= 0 && group < kGroupCount; }
    static size_t slotAt(int slot) { return kSlotsAt + kSlotSize * static_cast<size_t>(slot); }
    static size_t groupAt(int group) { return kGroupsAt + kGroupSize * static_cast<size_t>(group); }

    std::array<uint8_t, kSize> bytes_;
};

static_assert(WeaponRecord::kSlotsAt + WeaponRecord::kSlotCount * WeaponRecord::kSlotSize ==
              WeaponRecord::kGroupsAt);
static_assert(WeaponRecord::kGroupsAt + WeaponRecord::kGroupCount * WeaponRecord::kGroupSize ==
              WeaponRecord::kPictureNumberAt);
static_assert(WeaponRecord::kDescriptionNumberAt + 2 == WeaponRecord::kSize);

}  // namespace kv
