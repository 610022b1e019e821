// The combat comparison's arithmetic: one weapon's armament slot firing at another weapon
// standing on a terrain, and what is left of the target's members afterwards.
#pragma once

#include <cstdint>
#include <vector>

namespace kv {

class GameDatabase;
class WeaponData;

struct CombatSide {
    int weaponId = 0;
    int slot = -1;  // armament slot 0..4, -1 for none
    int terrain = 1;
};

// All integer divisions truncate toward zero, as the game computes them.
struct CombatFigures {
    int32_t power = 0;
    int32_t rounds = 0;
    int32_t members = 0;
    int32_t baseAttack = 0;
    int32_t countermeasurePercent = 0;
    int32_t effectiveAttack = 0;
    int32_t ownDefence = 0;
    int32_t ownEvasion = 0;
    int32_t effectiveOwnDefence = 0;
    bool operator==(const CombatFigures&) const = default;
};

// The figures of `attacker` firing at `defender`. Without a slot every attack figure is 0;
// the own-defence figures are computed all the same.
CombatFigures computeFigures(const GameDatabase& db, const CombatSide& attacker,
                             const CombatSide& defender);

// The strength left to each of the defender's members after the attack `figures` describes
// (nothing is lost when the attacker has no slot).
std::vector<int> membersLeft(const GameDatabase& db, const CombatFigures& figures,
                             bool attackerHasSlot, int defenderWeaponId);

// The weapon a side starts with: the stored id when it has a weapon, else the lowest id
// below the user range that has one (0 when there is none at all).
int comparisonWeapon(const WeaponData& weapons, int storedId);

// The weapons the comparison offers, in id order: below the user range and selectable.
std::vector<int> comparisonWeapons(const WeaponData& weapons);

}  // namespace kv
