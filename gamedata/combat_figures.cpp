// The combat comparison's arithmetic.
#include "gamedata/combat_figures.h"

#include <algorithm>

#include "gamedata/game_database.h"

namespace kv {

namespace {

constexpr int kSlots = WeaponRecord::kSlotCount;

// Evasion percent of a terrain for a weapon's movement type; 0 for anything out of range.
int evasionOf(const GameDatabase& db, int terrain, const WeaponRecord& w) {
    if (terrain < 0 || w.movementType() >= kMovementTypeCount) return 0;
    return db.terrain(size_t(terrain)).evasion[w.movementType()];
}

}  // namespace

CombatFigures computeFigures(const GameDatabase& db, const CombatSide& attacker,
                             const CombatSide& defender) {
    CombatFigures f;
    const WeaponRecord& x = db.weapon(attacker.weaponId);
    const WeaponRecord& y = db.weapon(defender.weaponId);
    if (attacker.slot >= 0 && attacker.slot < kSlots) {
        const ArmamentRecord& arm = db.slotArmament(attacker.weaponId, attacker.slot);
        f.power = arm.power;
        f.rounds = x.slotRounds(attacker.slot);
        f.members = x.memberCount();
        f.baseAttack = arm.attackOn(y.targetClass());
        if ((arm.flags & ArmamentRecord::kCountermeasured) != 0)
            f.countermeasurePercent = y.maxCountermeasure();
        int32_t d = y.defence(x.attackClass());
        d = d + d * evasionOf(db, defender.terrain, y) / 100;
        d = std::min(d, 100);
        int32_t a = f.baseAttack;
        if (f.countermeasurePercent > 0) a = (100 - f.countermeasurePercent) * a / 100;
        f.effectiveAttack = (100 - d) * a / 100;
    }
    f.ownDefence = x.defence(y.attackClass());
    f.ownEvasion = evasionOf(db, attacker.terrain, x);
    f.effectiveOwnDefence = f.ownDefence + f.ownDefence * f.ownEvasion / 100;
    return f;
}

std::vector<int> membersLeft(const GameDatabase& db, const CombatFigures& figures,
                             bool attackerHasSlot, int defenderWeaponId) {
    const WeaponRecord& y = db.weapon(defenderWeaponId);
    const int strength = y.memberStrength();
    int64_t damage = 0;
    if (attackerHasSlot) {
        const int64_t hits =
            int64_t{figures.effectiveAttack} * figures.members * figures.rounds / 100;
        int k = figures.power * 3 / 4;
        if (k > strength) k = strength;
        if (k < 1) k = 1;
        // An attack pushed below zero (a countermeasure above 100 %) heals nobody.
        damage = std::max<int64_t>(0, hits * k);
    }
    std::vector<int> left;
    left.reserve(y.memberCount());
    for (int i = 0; i < y.memberCount(); ++i) {
        if (strength > damage) {
            left.push_back(strength - static_cast<int>(damage));
            damage = 0;
        } else {
            left.push_back(0);
            damage -= strength;
        }
    }
    return left;
}

int comparisonWeapon(const WeaponData& weapons, int storedId) {
    if (weapons.hasWeapon(storedId)) return storedId;
    for (int id = 0; id < WeaponData::kFirstUserWeaponId; ++id)
        if (weapons.hasWeapon(id)) return id;
    return 0;
}

std::vector<int> comparisonWeapons(const WeaponData& weapons) {
    std::vector<int> ids;
    for (int id = 0; id < WeaponData::kFirstUserWeaponId; ++id)
        if (weapons.hasWeapon(id) && weapons.weapon(id).selectable() != 0) ids.push_back(id);
    return ids;
}

}  // namespace kv
