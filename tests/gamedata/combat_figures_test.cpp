// The combat comparison's figures against cases worked by hand from the formulas.
#include "gamedata/combat_figures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "gamedata/game_database.h"
#include "support/test_paths.h"

namespace {

using kv::ArmamentRecord;
using kv::CombatFigures;
using kv::CombatSide;
using kv::GameDatabase;
using kv::WeaponRecord;

constexpr int kAttacker = 5001, kDefender = 5002, kArmament = 20001;
constexpr int kAttackerTerrain = 1, kDefenderTerrain = 2;

struct Case {
    const char* name;
    // The attacker's armament and weapon.
    int attack, power, flags, rounds, members, ownDefence, ownEvasion;
    // The defender.
    int defence, evasion, countermeasure, targetMembers, strength;
    CombatFigures expected;
    std::vector<int> left;
};

// Both weapons fly at the highest layer, so target and attack class are 0 on both sides; the
// test moves every value through entry 0 and gives the other entries values that must not be
// picked up.
GameDatabase databaseOf(const Case& c) {
    GameDatabase db;
    std::vector<kv::TerrainType> terrain(3, kv::TerrainType{});
    terrain[kAttackerTerrain].evasion[0] = static_cast<uint8_t>(c.ownEvasion);
    terrain[kDefenderTerrain].evasion[0] = static_cast<uint8_t>(c.evasion);
    terrain[kDefenderTerrain].evasion[1] = 99;
    db.setTerrainTypes(terrain);

    ArmamentRecord arm{};
    arm.attack[0] = static_cast<uint8_t>(c.attack);
    arm.attack[1] = 77;
    arm.power = static_cast<uint8_t>(c.power);
    arm.flags = static_cast<uint8_t>(c.flags);
    EXPECT_TRUE(db.storeUserArmament(kArmament, arm));

    WeaponRecord x;
    x.setId(kAttacker);
    x.setMemberCount(static_cast<uint8_t>(c.members));
    x.setSlotArmament(2, kArmament);
    x.setSlotRounds(2, static_cast<uint8_t>(c.rounds));
    x.setDefence(0, static_cast<uint16_t>(c.ownDefence));
    x.setDefence(1, 66);
    EXPECT_TRUE(db.storeUserWeapon(x));

    WeaponRecord y;
    y.setId(kDefender);
    y.setMemberCount(static_cast<uint8_t>(c.targetMembers));
    y.setMemberStrength(static_cast<uint8_t>(c.strength));
    y.setDefence(0, static_cast<uint16_t>(c.defence));
    y.setCountermeasure(0, 5);
    y.setCountermeasure(3, static_cast<uint8_t>(c.countermeasure));
    EXPECT_TRUE(db.storeUserWeapon(y));
    return db;
}

// power, rounds, members, baseAttack, countermeasure, effectiveAttack, ownDefence, ownEvasion,
// effectiveOwnDefence.
const Case kCases[] = {
    // d = 60 + 60·50/100 = 90; 10·50/100 = 5. Hits 5·2·3/100 = 0: nobody is hurt.
    {"defence raised by evasion",
     50,
     8,
     0,
     3,
     2,
     45,
     30,
     60,
     50,
     0,
     3,
     10,
     {8, 3, 2, 50, 0, 5, 45, 30, 58},
     {10, 10, 10}},
    // d = 80 + 40 = 120, capped at 100: no attack left.
    {"defence capped at 100",
     50,
     8,
     0,
     3,
     2,
     0,
     0,
     80,
     50,
     0,
     2,
     10,
     {8, 3, 2, 50, 0, 0, 0, 0, 0},
     {10, 10}},
    // The largest countermeasure (30 of 5 and 30) takes 10 down to 7 before the defence.
    {"countermeasure with its flag",
     10,
     4,
     0x40,
     1,
     1,
     0,
     0,
     0,
     0,
     30,
     1,
     10,
     {4, 1, 1, 10, 30, 7, 0, 0, 0},
     {10}},
    {"countermeasure ignored without the flag",
     10,
     4,
     0x20,
     1,
     1,
     0,
     0,
     0,
     0,
     30,
     1,
     10,
     {4, 1, 1, 10, 0, 10, 0, 0, 0},
     {10}},
    // Hits 50·2·1/100 = 1; k = 1·3/4 = 0, raised to 1: one point of damage.
    {"power 1 still damages",
     50,
     1,
     0,
     1,
     2,
     0,
     0,
     0,
     0,
     0,
     3,
     10,
     {1, 1, 2, 50, 0, 50, 0, 0, 0},
     {9, 10, 10}},
    // d = 10 + 1 = 11; 89·33/100 = 29. Hits 29·10·5/100 = 14; k = 40·3/4 = 30 capped at 10;
    // damage 140 runs through every member.
    {"truncation and k capped by strength",
     33,
     40,
     0,
     5,
     10,
     7,
     15,
     10,
     15,
     0,
     4,
     10,
     {40, 5, 10, 33, 0, 29, 7, 15, 8},
     {0, 0, 0, 0}},
    // Hits 100·5·1/100 = 5; k = 4·3/4 = 3; damage 15 takes the first member and half the next.
    {"damage carried over members",
     100,
     4,
     0,
     1,
     5,
     0,
     0,
     0,
     0,
     0,
     3,
     10,
     {4, 1, 5, 100, 0, 100, 0, 0, 0},
     {0, 5, 10}},
    // A countermeasure above 100 turns the attack negative; it hurts nobody and heals nobody.
    {"countermeasure above 100",
     20,
     8,
     0x40,
     2,
     2,
     0,
     0,
     0,
     0,
     150,
     2,
     10,
     {8, 2, 2, 20, 150, -10, 0, 0, 0},
     {10, 10}},
};

TEST(CombatFiguresTest, HandWorkedCases) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const GameDatabase db = databaseOf(c);
        const CombatSide x{kAttacker, 2, kAttackerTerrain}, y{kDefender, -1, kDefenderTerrain};
        const CombatFigures f = kv::computeFigures(db, x, y);
        EXPECT_EQ(f, c.expected);
        EXPECT_EQ(kv::membersLeft(db, f, true, kDefender), c.left);
    }
}

TEST(CombatFiguresTest, NoSlotLeavesOnlyTheOwnDefence) {
    const Case& c = kCases[0];
    const GameDatabase db = databaseOf(c);
    for (int slot : {-1, 5, 1}) {  // none, out of range, an empty slot
        SCOPED_TRACE(slot);
        const CombatSide x{kAttacker, slot, kAttackerTerrain}, y{kDefender, -1, kDefenderTerrain};
        const CombatFigures f = kv::computeFigures(db, x, y);
        EXPECT_EQ(f.effectiveOwnDefence, c.expected.effectiveOwnDefence);
        EXPECT_EQ(f.ownDefence, c.expected.ownDefence);
        EXPECT_EQ(f.ownEvasion, c.expected.ownEvasion);
        if (slot == -1 || slot == 5) {
            EXPECT_EQ(f.power + f.rounds + f.members + f.baseAttack + f.effectiveAttack, 0);
            EXPECT_EQ(kv::membersLeft(db, f, false, kDefender), std::vector<int>(3, c.strength));
        }
    }
    // An unknown weapon or terrain reads as zeros instead of past a table.
    const CombatSide ghost{4242, 0, 200}, y{kDefender, -1, -3};
    EXPECT_EQ(kv::computeFigures(db, ghost, y), CombatFigures{});
    EXPECT_TRUE(kv::membersLeft(db, CombatFigures{}, true, 4242).empty());
}

TEST(CombatFiguresTest, StoredWeaponFallsBackToTheLowestStandardId) {
    GameDatabase empty;
    EXPECT_EQ(kv::comparisonWeapon(empty, 1000), 0);
    EXPECT_TRUE(kv::comparisonWeapons(empty).empty());

    GameDatabase db;
    db.loadArmamentsFrom(kvtest::distDir() + "/warm.dat");
    db.loadWeaponsFrom(kvtest::distDir() + "/weapon.dat");
    int lowest = INT_MAX;
    for (const WeaponRecord& w : db.weapons())
        if (w.id() < GameDatabase::kFirstUserWeaponId) lowest = std::min(lowest, int{w.id()});
    ASSERT_NE(lowest, INT_MAX);
    const int existing = db.weapons().back().id();
    EXPECT_EQ(kv::comparisonWeapon(db, existing), existing);
    for (int stored : {-1, 0, 4999, 14999, 70000, INT_MIN})
        if (!db.hasWeapon(stored)) {
            EXPECT_EQ(kv::comparisonWeapon(db, stored), lowest) << stored;
        }

    // The list: selectable standard weapons only, ascending.
    const std::vector<int> listed = kv::comparisonWeapons(db);
    ASSERT_FALSE(listed.empty());
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
    for (const WeaponRecord& w : db.weapons()) {
        const bool in = std::find(listed.begin(), listed.end(), w.id()) != listed.end();
        EXPECT_EQ(in, w.id() < GameDatabase::kFirstUserWeaponId && w.selectable() != 0) << w.id();
    }
}

}  // namespace
