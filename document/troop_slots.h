// Where a troop slot sits in a faction's organisation: three divisions of 66 slots, each six
// regiments of six units followed by 30 directly attached units; slots 198 and 199 belong
// to no division.
#pragma once

namespace kv::slots {

inline constexpr int kDivisions = 3;
inline constexpr int kDivisionSlots = 66;
inline constexpr int kRegiments = 6;
inline constexpr int kUnitsPerRegiment = 6;
inline constexpr int kRegimentSlots = kRegiments * kUnitsPerRegiment;  // 36
inline constexpr int kDirectUnits = kDivisionSlots - kRegimentSlots;   // 30
// The directly attached group, where a regiment number is asked for.
inline constexpr int kDirectGroup = kRegiments;

// Unit u (0..5) of regiment r (0..5) of division d (0..2).
constexpr int regimentSlot(int d, int r, int u) {
    return d * kDivisionSlots + r * kUnitsPerRegiment + u;
}
// Directly attached unit p (0..29) of division d.
constexpr int directSlot(int d, int p) {
    return d * kDivisionSlots + kRegimentSlots + p;
}
// The division of a slot, -1 for 198 and 199 (and anything outside 0..197).
constexpr int divisionOf(int slot) {
    return slot >= 0 && slot < kDivisions * kDivisionSlots ? slot / kDivisionSlots : -1;
}
// The regiment 0..5 of a slot, kDirectGroup for a directly attached unit, -1 outside the
// divisions.
constexpr int regimentOf(int slot) {
    if (divisionOf(slot) < 0) return -1;
    const int place = slot % kDivisionSlots;
    return place < kRegimentSlots ? place / kUnitsPerRegiment : kDirectGroup;
}

}  // namespace kv::slots
