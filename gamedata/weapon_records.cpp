// Field access and per-weapon rules of the armament and weapon records.
#include "gamedata/weapon_records.h"

#include <algorithm>
#include <cstring>

#include "framework/cp932.h"
#include "gamedata/text_table.h"

namespace kv {

std::string ArmamentRecord::nameText() const {
    return fieldText(name, kNameSize);
}
std::string ArmamentRecord::shortNameText() const {
    return fieldText(shortName, kShortNameSize);
}

int ArmamentRecord::attackOn(int targetClass) const {
    return targetClass >= 0 && targetClass < kTargetClassCount ? attack[targetClass] : 0;
}

ArmamentRecord ArmamentRecord::fromBytes(std::span<const uint8_t> bytes) {
    ArmamentRecord r{};
    if (!bytes.empty()) std::memcpy(&r, bytes.data(), std::min(bytes.size(), kSize));
    return r;
}

bool ArmamentRecord::operator==(const ArmamentRecord& other) const {
    return std::memcmp(this, &other, kSize) == 0;
}

WeaponRecord WeaponRecord::fromBytes(std::span<const uint8_t> bytes) {
    WeaponRecord r;
    std::copy_n(bytes.begin(), std::min(bytes.size(), kSize), r.bytes_.begin());
    return r;
}

std::string WeaponRecord::name() const {
    return fieldText(reinterpret_cast<const char*>(&bytes_[kNameAt]), kNameSize);
}

void WeaponRecord::setName(std::string_view cp932) {
    copyFieldText(reinterpret_cast<char*>(&bytes_[kNameAt]), kNameSize, cp932);
}

int32_t WeaponRecord::value31() const {
    return static_cast<int32_t>(loadU32(&bytes_[kValue31At]));
}

void WeaponRecord::setValue31(int32_t value) {
    storeU32(&bytes_[kValue31At], static_cast<uint32_t>(value));
}

uint16_t WeaponRecord::defence(int attackerClass) const {
    if (attackerClass < 0 || attackerClass >= kAttackClassCount) return 0;
    return u16(kDefenceAt + 2 * static_cast<size_t>(attackerClass));
}

void WeaponRecord::setDefence(int attackerClass, uint16_t v) {
    if (attackerClass < 0 || attackerClass >= kAttackClassCount) return;
    setU16(kDefenceAt + 2 * static_cast<size_t>(attackerClass), v);
}

std::string WeaponRecord::slotName(int slot) const {
    if (!validSlot(slot)) return {};
    return fieldText(reinterpret_cast<const char*>(&bytes_[slotAt(slot) + kSlotNameAt]),
                     ArmamentRecord::kNameSize);
}

void WeaponRecord::setSlotName(int slot, std::string_view cp932) {
    if (!validSlot(slot)) return;
    copyFieldText(reinterpret_cast<char*>(&bytes_[slotAt(slot) + kSlotNameAt]),
                  ArmamentRecord::kNameSize, cp932);
}

std::string WeaponRecord::slotShortName(int slot) const {
    if (!validSlot(slot)) return {};
    return fieldText(reinterpret_cast<const char*>(&bytes_[slotAt(slot) + kSlotShortNameAt]),
                     ArmamentRecord::kShortNameSize);
}

void WeaponRecord::setSlotShortName(int slot, std::string_view cp932) {
    if (!validSlot(slot)) return;
    copyFieldText(reinterpret_cast<char*>(&bytes_[slotAt(slot) + kSlotShortNameAt]),
                  ArmamentRecord::kShortNameSize, cp932);
}

uint8_t WeaponRecord::slotRounds(int slot) const {
    return validSlot(slot) ? bytes_[slotAt(slot) + kSlotRoundsAt] : 0;
}

void WeaponRecord::setSlotRounds(int slot, uint8_t v) {
    if (validSlot(slot)) bytes_[slotAt(slot) + kSlotRoundsAt] = v;
}

uint16_t WeaponRecord::slotValue(int slot) const {
    return validSlot(slot) ? u16(slotAt(slot) + kSlotValueAt) : 0;
}

void WeaponRecord::setSlotValue(int slot, uint16_t v) {
    if (validSlot(slot)) setU16(slotAt(slot) + kSlotValueAt, v);
}

uint16_t WeaponRecord::slotArmament(int slot) const {
    return validSlot(slot) ? u16(slotAt(slot) + kSlotArmamentAt) : 0;
}

void WeaponRecord::setSlotArmament(int slot, uint16_t v) {
    if (validSlot(slot)) setU16(slotAt(slot) + kSlotArmamentAt, v);
}

uint8_t WeaponRecord::groupValue(int group, int slot) const {
    if (!validGroup(group) || !validSlot(slot)) return 0;
    return bytes_[groupAt(group) + kGroupValuesAt + static_cast<size_t>(slot)];
}

void WeaponRecord::setGroupValue(int group, int slot, uint8_t v) {
    if (!validGroup(group) || !validSlot(slot)) return;
    bytes_[groupAt(group) + kGroupValuesAt + static_cast<size_t>(slot)] = v;
}

uint8_t WeaponRecord::groupDivisor(int group) const {
    return validGroup(group) ? bytes_[groupAt(group) + kGroupDivisorAt] : 0;
}

void WeaponRecord::setGroupDivisor(int group, uint8_t v) {
    if (validGroup(group)) bytes_[groupAt(group) + kGroupDivisorAt] = v;
}

uint8_t WeaponRecord::countermeasure(int group) const {
    return validGroup(group) ? bytes_[groupAt(group) + kCountermeasureAt] : 0;
}

void WeaponRecord::setCountermeasure(int group, uint8_t v) {
    if (validGroup(group)) bytes_[groupAt(group) + kCountermeasureAt] = v;
}

uint16_t WeaponRecord::groupWord(int group) const {
    return validGroup(group) ? u16(groupAt(group) + kGroupWordAt) : 0;
}

void WeaponRecord::setGroupWord(int group, uint16_t v) {
    if (validGroup(group)) setU16(groupAt(group) + kGroupWordAt, v);
}

bool WeaponRecord::groupPresent(int group) const {
    for (int s = 0; s < kSlotCount; ++s) {
        if (groupValue(group, s) != 0) return true;
    }
    return false;
}

int WeaponRecord::presentGroupCount() const {
    int n = 0;
    for (int g = 0; g < kGroupCount; ++g) n += groupPresent(g) ? 1 : 0;
    return n;
}

int WeaponRecord::groupShare(int group, int value) const {
    const int divisor = groupDivisor(group);
    if (divisor == 0) return 0;
    return std::max(1, value / divisor);
}

int WeaponRecord::maxCountermeasure() const {
    int best = 0;
    for (int g = 0; g < kGroupCount; ++g) best = std::max(best, int{countermeasure(g)});
    return best;
}

uint16_t WeaponRecord::typeIcon(int scale) const {
    return scale == 16 ? typeIcon16() : scale == 48 ? typeIcon48() : typeIcon32();
}

uint16_t WeaponRecord::unitIcon(int scale) const {
    return scale == 16 ? unitIcon16() : scale == 48 ? unitIcon48() : unitIcon32();
}

namespace {
constexpr int kGround = static_cast<int>(AltitudeLayer::Ground);
constexpr int kSea = static_cast<int>(AltitudeLayer::Sea);
}  // namespace

int WeaponRecord::targetClass() const {
    if (layer() == kGround) return attackClass();
    if (weaponType() == static_cast<int>(WeaponType::Warhead)) {
        return static_cast<int>(movementType() == 1 ? TargetClass::CruiseMissile
                                                    : TargetClass::BallisticMissile);
    }
    return layer();
}

int WeaponRecord::attackClass() const {
    if (layer() != kGround) return layer();
    return static_cast<int>((flags() & kArmoured) ? TargetClass::HardArmour
                                                  : TargetClass::SoftArmour);
}

int WeaponRecord::branch() const {
    if (layer() < kGround) return 0;
    return layer() == kGround ? 1 : 2;
}

int WeaponRecord::weaponCategory() const {
    if (layer() == kGround) return 3;
    if (layer() >= kSea) return 4;
    const int type = weaponType();
    if (type == static_cast<int>(WeaponType::Vtol)) return 1;
    if (type >= static_cast<int>(WeaponType::AttackHelicopter) &&
        type <= static_cast<int>(WeaponType::AswHelicopter2)) {
        return 2;
    }
    return 0;
}

int WeaponRecord::maxSight() const {
    int best = 0;
    for (int l = 0; l < kAltitudeLayerCount; ++l) best = std::max(best, int{sight(l)});
    return best;
}

}  // namespace kv
