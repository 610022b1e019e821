// The bundled arsenal and the writers of warm.dat, weapon.dat and rf/unitdata.dat.
#include "sampledata/weapon_data.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

#include "framework/cp932.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "gamedata/unit_data.h"
#include "gamedata/weapon_enums.h"
#include "gamedata/weapons.h"

namespace kv::sample {

namespace {

using K = ArmamentKind;
using T = WeaponType;

// Layers and movement types by their positions in the name lists.
enum Layer { kVeryHigh, kHigh, kLow, kGround, kSea, kUnderSea };
enum Move {
    kMHigh,
    kMLow,
    kTrackA,
    kTrackB,
    kTrackC,
    kTrackD,
    kCarA,
    kCarB,
    kCarC,
    kFoot,
    kSeaA,
    kSeaB,
    kSeaC,
    kSub
};

struct ArmDef {
    const char* name;
    const char* shortName;
    ArmamentKind kind;
    int power;
    std::array<int, kTargetClassCount> attack;  // by TargetClass
    int range = 1;
    bool indirect = false;         // fires beyond sight
    bool countermeasured = false;  // the target's countermeasures reduce it
};

// Armaments by their place in the table below.
enum Arm {
    kGun20,
    kMg127,
    kChain30,
    kRifle,
    kAamAir,
    kSamShip,
    kAtgm,
    kAsm,
    kSsm,
    kSamLand,
    kAbm,
    kCruise,
    kBallistic,
    kAaGun,
    kCiws,
    kTorpedo,
    kAswTorpedo,
    kSupply,
    kTankGun,
    kHowitzer,
    kNavalGun,
    kRocket,
    kMainGun,
    kBomb,
    kGuidedBomb,
    kWarheadStd,
    kWarheadCluster,
    kJammerPod,
    kJammer,
    kEngineering,
    kSelfDestruct,
    kSlbm,
};

// Attack values: 超高空, 航空機, ヘリ, 装甲硬, 艦船, 潜水艦, 装甲軟, 弾道ミサイル, 巡航ミサイル.
// Two families share a name and differ in their short names: ｸﾚｽﾄ (air- and ship-launched)
// and ﾃﾝﾍﾟｽﾄ (land- and submarine-launched).
const std::vector<ArmDef>& armamentCatalogue() {
    static const std::vector<ArmDef> arms = {
        {"20mm機関砲", "機関砲", K::Normal, 4, {0, 30, 45, 10, 5, 0, 40, 0, 10}},
        {"12.7mm機銃", "機銃", K::Normal, 2, {0, 5, 20, 2, 2, 0, 35, 0, 0}},
        {"30mm機関砲", "ﾁｪｰﾝｶﾞﾝ", K::Normal, 5, {0, 10, 35, 25, 10, 0, 55, 0, 0}},
        {"小銃", "小銃", K::Normal, 1, {0, 0, 10, 0, 0, 0, 30, 0, 0}},
        {"ｸﾚｽﾄ", "空対空", K::Missile, 8, {40, 70, 60, 0, 0, 0, 0, 0, 20}, 3, false, true},
        {"ｸﾚｽﾄ", "艦対空", K::Missile, 9, {55, 65, 55, 0, 0, 0, 0, 10, 45}, 5, false, true},
        {"ﾌｧﾙｹﾝ", "対戦車", K::Missile, 9, {0, 0, 30, 70, 15, 0, 50, 0, 0}, 2, false, true},
        {"ﾃﾞｨｰﾌﾟｽﾋﾟｱ", "空対艦", K::Missile, 12, {0, 0, 0, 10, 75, 0, 10, 0, 0}, 4, false, true},
        {"ｼｰｻｰﾍﾟﾝﾄ", "艦対艦", K::Missile, 12, {0, 0, 0, 10, 80, 0, 10, 0, 0}, 6, false, true},
        {"ｽｶｲｳｫｰﾙ", "地対空", K::Missile, 9, {60, 70, 60, 0, 0, 0, 0, 5, 40}, 5, false, true},
        {"ﾊﾛｰ迎撃弾", "迎撃", K::Missile, 10, {70, 30, 0, 0, 0, 0, 0, 65, 30}, 6, false, true},
        {"ｸﾞﾚｲｳﾞｧｲﾝ", "巡航", K::CruiseMissile, 15, {0, 0, 0, 40, 55, 0, 60, 0, 0}, 12, true, true},
        {"ﾃﾝﾍﾟｽﾄ", "弾道", K::BallisticMissile, 20, {0, 0, 0, 60, 40, 0, 80, 0, 0}, 20, true},
        {"35mm連装機関砲", "対空砲", K::AntiAir, 5, {5, 40, 60, 0, 0, 0, 20, 0, 25}, 2},
        {"CIWS", "CIWS", K::AntiAir, 4, {0, 35, 40, 0, 5, 0, 0, 0, 60}},
        {"ﾒｰﾙｽﾄﾛｰﾑ", "魚雷", K::Torpedo, 14, {0, 0, 0, 0, 70, 60, 0, 0, 0}, 3},
        {"対潜短魚雷", "短魚雷", K::Torpedo, 10, {0, 0, 0, 0, 30, 65, 0, 0, 0}, 2},
        {"燃料弾薬補給", "補給", K::Supply, 0, {}},
        {"120mm滑腔砲", "戦車砲", K::Gun, 10, {0, 0, 15, 60, 20, 0, 70, 0, 0}},
        {"155mm榴弾砲", "榴弾砲", K::Gun, 12, {0, 0, 0, 35, 20, 0, 70, 0, 0}, 3, true},
        {"127mm艦砲", "艦砲", K::Gun, 10, {0, 20, 20, 30, 40, 0, 55, 0, 10}, 3, true},
        {"多連装ﾛｹｯﾄ", "ﾛｹｯﾄ", K::Gun, 14, {0, 0, 0, 30, 10, 0, 80, 0, 0}, 4, true},
        {"406mm主砲", "主砲", K::Gun, 18, {0, 0, 0, 60, 70, 0, 75, 0, 0}, 4, true},
        {"無誘導爆弾", "爆弾", K::Bomb, 14, {0, 0, 0, 45, 40, 0, 70, 0, 0}},
        {"誘導爆弾", "GBU", K::Bomb, 16, {0, 0, 0, 65, 60, 0, 70, 0, 0}, 1, false, true},
        {"通常弾頭", "弾頭", K::Warhead, 20, {0, 0, 0, 50, 50, 0, 70, 0, 0}},
        {"子弾散布弾頭", "ｸﾗｽﾀｰ", K::Warhead, 16, {0, 0, 0, 35, 20, 0, 90, 0, 0}},
        {"ｼﾞｬﾏｰﾎﾟｯﾄﾞ", "ECM", K::Ecm, 0, {}, 3},
        {"電子妨害装置", "妨害", K::Ecm, 0, {}, 5},
        {"架橋・爆破", "工作", K::Engineering, 2, {0, 0, 0, 5, 0, 0, 10, 0, 0}},
        {"突入爆薬", "自爆", K::SelfDestruct, 20, {0, 0, 0, 0, 80, 30, 0, 0, 0}},
        {"ﾃﾝﾍﾟｽﾄ", "潜水艦", K::BallisticMissile, 20, {0, 0, 0, 60, 40, 0, 80, 0, 0}, 24, true},
    };
    return arms;
}

struct Slot {
    Arm armament;
    int rounds;
};

struct Group {
    std::array<int, 5> values;  // per armament slot
    int countermeasure;
};

struct WeaponDef {
    int id;
    const char* name;
    WeaponType type;
    Layer layer;
    Move move;
    int members;
    int strength;
    int cost;                    // per member
    std::array<int, 3> sight;    // air, ground, sea layers
    std::array<int, 3> defence;  // against air, ground, sea attackers
    std::vector<Slot> slots;
    // Without groups, one group uses every slot.
    std::vector<Group> groups = {};
    int countermeasure = 0;
    const char* transportClass = "なし";
    std::vector<const char*> cargo = {};
    bool armoured = false;
    int linked = 0;   // id of the other form of a transforming pair
    int divisor = 1;  // of the first group; the towed form's is the smaller
    bool selectable = true;
};

// Air 100-299, land 1000-1299, sea 2000-2199, warheads 3000-3099; gaps left for more.
// One weapon per paragraph reads better than one field per line.
// clang-format off
const std::vector<WeaponDef>& weaponCatalogue() {
    static const std::vector<WeaponDef> weapons = {
        {.id = 100, .name = "KI-7 ﾎﾜｲﾄｽｺｰﾙ", .type = T::Interceptor, .layer = kVeryHigh,
         .move = kMHigh, .members = 4, .strength = 10, .cost = 90, .sight = {5, 2, 2},
         .defence = {40, 20, 20}, .slots = {{kGun20, 8}, {kAamAir, 4}}, .countermeasure = 20},
        {.id = 110, .name = "KF-9 ｼﾙﾌｨｰﾄﾞ", .type = T::Fighter, .layer = kHigh, .move = kMHigh,
         .members = 4, .strength = 10, .cost = 80, .sight = {4, 2, 2}, .defence = {35, 15, 15},
         .slots = {{kGun20, 8}, {kAamAir, 6}}, .countermeasure = 25,
         .transportClass = "艦載機"},
        {.id = 120, .name = "KF-12 ｽﾄｰﾑｶｲﾄ", .type = T::FighterAttacker, .layer = kHigh,
         .move = kMHigh, .members = 4, .strength = 10, .cost = 85, .sight = {4, 3, 3},
         .defence = {35, 15, 15},
         .slots = {{kGun20, 6}, {kAamAir, 4}, {kAsm, 2}, {kGuidedBomb, 4}},
         .groups = {{{1, 1, 0, 0, 0}, 25}, {{1, 1, 0, 1, 0}, 20}, {{1, 1, 1, 0, 0}, 20}},
         .transportClass = "艦載機"},
        {.id = 130, .name = "KA-4 ﾊﾝﾏｰﾍｯﾄﾞ", .type = T::Attacker, .layer = kHigh, .move = kMHigh,
         .members = 4, .strength = 12, .cost = 70, .sight = {3, 3, 2}, .defence = {30, 25, 15},
         .slots = {{kChain30, 10}, {kAtgm, 4}, {kBomb, 6}}, .countermeasure = 15},
        {.id = 140, .name = "KV-3 ﾄﾞﾗｺﾞﾝﾌﾗｲ", .type = T::Vtol, .layer = kHigh, .move = kMHigh,
         .members = 4, .strength = 10, .cost = 75, .sight = {3, 3, 3}, .defence = {30, 20, 15},
         .slots = {{kGun20, 6}, {kAamAir, 2}, {kBomb, 4}},
         .groups = {{{1, 1, 0, 0, 0}, 15}, {{1, 0, 1, 0, 0}, 15}}, .transportClass = "VTOL"},
        {.id = 150, .name = "KB-2 ﾅｲﾄﾎｰﾝ", .type = T::Bomber, .layer = kHigh, .move = kMHigh,
         .members = 3, .strength = 16, .cost = 150, .sight = {3, 3, 2}, .defence = {30, 25, 20},
         .slots = {{kBomb, 12}, {kGuidedBomb, 8}, {kCruise, 2}},
         .groups = {{{1, 0, 0, 0, 0}, 30}, {{0, 1, 0, 0, 0}, 30}, {{0, 0, 1, 0, 0}, 30}}},
        {.id = 160, .name = "KE-6 ｴｺｰﾍﾞｲﾝ", .type = T::ElectronicWarfare, .layer = kHigh,
         .move = kMHigh, .members = 2, .strength = 10, .cost = 120, .sight = {5, 4, 4},
         .defence = {20, 10, 10}, .slots = {{kJammer, 1}}},
        {.id = 170, .name = "KW-1 ｽｶｲｱｲ", .type = T::EarlyWarning, .layer = kHigh,
         .move = kMHigh, .members = 1, .strength = 12, .cost = 200, .sight = {8, 5, 6},
         .defence = {15, 10, 10}, .slots = {}},
        {.id = 180, .name = "KR-5 ﾐﾗｰｼﾞｭ", .type = T::Reconnaissance, .layer = kVeryHigh,
         .move = kMHigh, .members = 2, .strength = 8, .cost = 60, .sight = {6, 6, 6},
         .defence = {45, 20, 20}, .slots = {}},
        {.id = 185, .name = "KQ-1 ﾀｰｹﾞｯﾄﾄﾞﾛｰﾝ", .type = T::Reconnaissance, .layer = kLow,
         .move = kMLow, .members = 1, .strength = 4, .cost = 5, .sight = {2, 2, 2},
         .defence = {5, 5, 5}, .slots = {}, .selectable = false},
        {.id = 190, .name = "KP-8 ｼｰｳｫｯﾁ", .type = T::AntiSubmarinePatrol, .layer = kHigh,
         .move = kMHigh, .members = 2, .strength = 12, .cost = 110, .sight = {3, 2, 6},
         .defence = {20, 10, 15}, .slots = {{kAswTorpedo, 4}, {kAsm, 2}}},
        {.id = 200, .name = "KC-10 ﾍﾟﾘｶﾝ", .type = T::Transport, .layer = kHigh, .move = kMHigh,
         .members = 1, .strength = 16, .cost = 140, .sight = {2, 2, 2}, .defence = {10, 10, 10},
         .slots = {}, .cargo = {"重車両", "重車両", "歩兵", "00000110"}},
        {.id = 210, .name = "KT-3 ｵｱｼｽ", .type = T::Tanker, .layer = kHigh, .move = kMHigh,
         .members = 1, .strength = 14, .cost = 130, .sight = {2, 2, 2}, .defence = {10, 10, 10},
         .slots = {{kSupply, 6}}},
        {.id = 220, .name = "KX-1 ﾊﾛｰ", .type = T::BallisticInterceptor, .layer = kVeryHigh,
         .move = kMHigh, .members = 2, .strength = 10, .cost = 160, .sight = {8, 2, 2},
         .defence = {40, 20, 20}, .slots = {{kAbm, 4}}},
        {.id = 230, .name = "AH-9 ﾏﾝﾃｨｽ", .type = T::AttackHelicopter, .layer = kLow,
         .move = kMLow, .members = 4, .strength = 10, .cost = 60, .sight = {2, 3, 2},
         .defence = {20, 25, 15}, .slots = {{kChain30, 12}, {kAtgm, 8}, {kAamAir, 2}},
         .groups = {{{1, 1, 0, 0, 0}, 10}, {{1, 0, 1, 0, 0}, 10}}, .transportClass = "ヘリ"},
        {.id = 240, .name = "UH-4 ｽﾄｰｸ", .type = T::TroopHelicopter, .layer = kLow,
         .move = kMLow, .members = 4, .strength = 8, .cost = 40, .sight = {2, 2, 2},
         .defence = {15, 15, 10}, .slots = {{kMg127, 6}}, .transportClass = "ヘリ",
         .cargo = {"歩兵", "歩兵", "軽車両"}},
        {.id = 250, .name = "CH-7 ﾏﾝﾓｽ", .type = T::HeavyHelicopter, .layer = kLow,
         .move = kMLow, .members = 2, .strength = 12, .cost = 70, .sight = {2, 2, 2},
         .defence = {15, 15, 10}, .slots = {}, .transportClass = "ヘリ",
         .cargo = {"車両", "歩兵", "歩兵"}},
        {.id = 260, .name = "OH-2 ﾋﾊﾞﾘ", .type = T::ScoutHelicopter, .layer = kLow,
         .move = kMLow, .members = 2, .strength = 6, .cost = 25, .sight = {3, 4, 3},
         .defence = {25, 20, 10}, .slots = {{kMg127, 4}}, .transportClass = "ヘリ"},
        {.id = 270, .name = "SH-5 ｶﾜｾﾐ", .type = T::AswHelicopter, .layer = kLow, .move = kMLow,
         .members = 2, .strength = 8, .cost = 55, .sight = {2, 2, 5}, .defence = {15, 15, 10},
         .slots = {{kAswTorpedo, 2}, {kMg127, 4}}, .transportClass = "ヘリ"},

        {.id = 1000, .name = "MT-4 ｸﾞﾘｽﾞﾘｰ", .type = T::MainBattleTank, .layer = kGround,
         .move = kTrackA, .members = 4, .strength = 12, .cost = 40, .sight = {1, 2, 1},
         .defence = {10, 55, 30}, .slots = {{kTankGun, 8}, {kMg127, 10}},
         .transportClass = "重車両", .armoured = true},
        {.id = 1010, .name = "MT-2 ﾊﾞｲｿﾝ", .type = T::MainBattleTank, .layer = kGround,
         .move = kTrackB, .members = 4, .strength = 10, .cost = 25, .sight = {1, 2, 1},
         .defence = {10, 45, 25}, .slots = {{kTankGun, 6}, {kMg127, 8}},
         .transportClass = "重車両", .armoured = true},
        {.id = 1020, .name = "IF-6 ﾊﾞｼﾞｬｰ", .type = T::InfantryFightingVehicle,
         .layer = kGround, .move = kTrackC, .members = 4, .strength = 10, .cost = 20,
         .sight = {1, 2, 1}, .defence = {15, 35, 20}, .slots = {{kChain30, 10}, {kAtgm, 2}},
         .transportClass = "車両", .cargo = {"歩兵", "歩兵"}, .armoured = true},
        {.id = 1030, .name = "PC-3 ﾋﾞｰﾊﾞｰ", .type = T::ArmouredPersonnelCarrier,
         .layer = kGround, .move = kCarA, .members = 4, .strength = 8, .cost = 12,
         .sight = {1, 2, 1}, .defence = {10, 25, 15}, .slots = {{kMg127, 8}},
         .transportClass = "車両", .cargo = {"歩兵", "歩兵", "軽車両"}, .armoured = true},
        {.id = 1040, .name = "RV-1 ﾌｪﾚｯﾄ", .type = T::ScoutCar, .layer = kGround, .move = kCarB,
         .members = 4, .strength = 6, .cost = 8, .sight = {2, 4, 2}, .defence = {10, 15, 10},
         .slots = {{kMg127, 6}}, .transportClass = "軽車両"},
        {.id = 1050, .name = "TD-5 ｳﾙﾌﾞｽﾞ", .type = T::TankDestroyer, .layer = kGround,
         .move = kCarC, .members = 4, .strength = 9, .cost = 18, .sight = {1, 2, 1},
         .defence = {10, 30, 15}, .slots = {{kAtgm, 8}, {kMg127, 6}}, .transportClass = "車両",
         .armoured = true},
        {.id = 1060, .name = "SP-8 ﾗｲﾉ", .type = T::SelfPropelledGun, .layer = kGround,
         .move = kTrackD, .members = 4, .strength = 10, .cost = 30, .sight = {1, 2, 1},
         .defence = {10, 35, 20}, .slots = {{kHowitzer, 10}, {kMg127, 4}},
         .transportClass = "重車両", .armoured = true},
        {.id = 1070, .name = "FH-7 ﾏｰﾄﾚﾝ(牽引)", .type = T::TowedFieldGun, .layer = kGround,
         .move = kCarC, .members = 4, .strength = 8, .cost = 10, .sight = {1, 2, 1},
         .defence = {10, 15, 10}, .slots = {{kMg127, 2}}, .transportClass = "車両",
         .linked = 1080, .divisor = 1},
        {.id = 1080, .name = "FH-7 ﾏｰﾄﾚﾝ(展開)", .type = T::TowedFieldGun, .layer = kGround,
         .move = kCarC, .members = 4, .strength = 8, .cost = 10, .sight = {1, 2, 1},
         .defence = {10, 20, 10}, .slots = {{kHowitzer, 8}}, .transportClass = "車両",
         .linked = 1070, .divisor = 2},
        {.id = 1090, .name = "RL-3 ﾎﾟｰｷｭﾊﾟｲﾝ", .type = T::SelfPropelledRocket, .layer = kGround,
         .move = kCarA, .members = 4, .strength = 8, .cost = 35, .sight = {1, 2, 1},
         .defence = {10, 20, 15}, .slots = {{kRocket, 6}}, .transportClass = "重車両"},
        {.id = 1100, .name = "SM-2 ﾗﾝｽ", .type = T::SurfaceMissileVehicle, .layer = kGround,
         .move = kCarB, .members = 2, .strength = 8, .cost = 60, .sight = {1, 2, 1},
         .defence = {10, 20, 15}, .slots = {{kCruise, 2}}, .transportClass = "車両"},
        {.id = 1110, .name = "AA-4 ﾎｰﾈｯﾄ", .type = T::AntiAirVehicle, .layer = kGround,
         .move = kTrackC, .members = 4, .strength = 9, .cost = 25, .sight = {3, 2, 1},
         .defence = {20, 30, 15}, .slots = {{kAaGun, 12}}, .transportClass = "車両",
         .armoured = true},
        {.id = 1120, .name = "TA-2 ｽﾊﾟｲﾀﾞｰ(牽引)", .type = T::TowedAntiAirGun, .layer = kGround,
         .move = kCarC, .members = 4, .strength = 6, .cost = 6, .sight = {2, 2, 1},
         .defence = {10, 15, 10}, .slots = {{kMg127, 2}}, .transportClass = "軽車両",
         .linked = 1130, .divisor = 1},
        {.id = 1130, .name = "TA-2 ｽﾊﾟｲﾀﾞｰ(展開)", .type = T::TowedAntiAirGun, .layer = kGround,
         .move = kCarC, .members = 4, .strength = 6, .cost = 6, .sight = {3, 2, 1},
         .defence = {15, 15, 10}, .slots = {{kAaGun, 10}}, .transportClass = "軽車両",
         .linked = 1120, .divisor = 2},
        {.id = 1140, .name = "SA-6 ｸﾛｳ", .type = T::SelfPropelledSam, .layer = kGround,
         .move = kTrackD, .members = 4, .strength = 8, .cost = 35, .sight = {4, 2, 1},
         .defence = {20, 25, 15}, .slots = {{kSamLand, 4}, {kMg127, 4}},
         .transportClass = "車両", .armoured = true},
        {.id = 1150, .name = "SA-9 ﾚｲﾌﾞﾝ(移動)", .type = T::SamVehicle, .layer = kGround,
         .move = kCarB, .members = 2, .strength = 8, .cost = 50, .sight = {2, 2, 1},
         .defence = {10, 15, 10}, .slots = {}, .transportClass = "車両", .linked = 1160,
         .divisor = 1},
        {.id = 1160, .name = "SA-9 ﾚｲﾌﾞﾝ(展開)", .type = T::SamVehicle, .layer = kGround,
         .move = kCarB, .members = 2, .strength = 8, .cost = 50, .sight = {6, 2, 1},
         .defence = {15, 15, 10}, .slots = {{kSamLand, 6}}, .transportClass = "車両",
         .linked = 1150, .divisor = 2},
        {.id = 1170, .name = "SS-4 ｼｬｰｸﾌｨﾝ", .type = T::AntiShipMissileVehicle,
         .layer = kGround, .move = kCarB, .members = 2, .strength = 8, .cost = 45,
         .sight = {1, 2, 4}, .defence = {10, 15, 10}, .slots = {{kSsm, 4}},
         .transportClass = "車両"},
        {.id = 1180, .name = "BM-1 ﾀｲﾀﾝ(移動)", .type = T::BallisticMissileVehicle,
         .layer = kGround, .move = kCarA, .members = 1, .strength = 10, .cost = 120,
         .sight = {1, 2, 1}, .defence = {10, 20, 10}, .slots = {}, .transportClass = "重車両",
         .linked = 1190, .divisor = 1},
        {.id = 1190, .name = "BM-1 ﾀｲﾀﾝ(発射)", .type = T::BallisticMissileVehicle,
         .layer = kGround, .move = kCarA, .members = 1, .strength = 10, .cost = 120,
         .sight = {1, 2, 1}, .defence = {10, 20, 10}, .slots = {{kBallistic, 1}},
         .transportClass = "重車両", .linked = 1180, .divisor = 2},
        {.id = 1200, .name = "RD-2 ｱｳﾙ", .type = T::RadarVehicle, .layer = kGround,
         .move = kCarB, .members = 1, .strength = 6, .cost = 40, .sight = {8, 4, 4},
         .defence = {10, 15, 10}, .slots = {}, .transportClass = "車両"},
        {.id = 1210, .name = "LV-5 ﾐｭｰﾙ", .type = T::SupplyVehicle, .layer = kGround,
         .move = kCarA, .members = 4, .strength = 6, .cost = 10, .sight = {1, 2, 1},
         .defence = {5, 10, 5}, .slots = {{kSupply, 4}}, .transportClass = "車両"},
        {.id = 1220, .name = "歩兵分隊", .type = T::Infantry, .layer = kGround, .move = kFoot,
         .members = 8, .strength = 6, .cost = 3, .sight = {1, 2, 1}, .defence = {15, 20, 10},
         .slots = {{kRifle, 10}}, .transportClass = "歩兵"},
        {.id = 1230, .name = "対戦車歩兵", .type = T::Infantry, .layer = kGround, .move = kFoot,
         .members = 6, .strength = 6, .cost = 5, .sight = {1, 2, 1}, .defence = {15, 20, 10},
         .slots = {{kAtgm, 4}, {kRifle, 8}}, .transportClass = "歩兵"},
        {.id = 1240, .name = "工兵中隊", .type = T::Engineers, .layer = kGround, .move = kFoot,
         .members = 6, .strength = 6, .cost = 6, .sight = {1, 2, 1}, .defence = {15, 20, 10},
         .slots = {{kEngineering, 4}, {kRifle, 6}}, .transportClass = "歩兵"},
        {.id = 1250, .name = "野戦司令部", .type = T::Headquarters, .layer = kGround,
         .move = kCarA, .members = 1, .strength = 10, .cost = 50, .sight = {2, 3, 2},
         .defence = {15, 20, 10}, .slots = {{kMg127, 4}}, .transportClass = "車両"},

        {.id = 2000, .name = "ｸﾞﾗﾝﾄﾞﾊﾞﾙｸ級戦艦", .type = T::Battleship, .layer = kSea,
         .move = kSeaA, .members = 1, .strength = 40, .cost = 400, .sight = {3, 4, 4},
         .defence = {25, 40, 50},
         .slots = {{kMainGun, 9}, {kNavalGun, 12}, {kCruise, 4}, {kCiws, 20}},
         .countermeasure = 20},
        {.id = 2010, .name = "ｱｽﾄﾗﾙ級ｲｰｼﾞｽ巡洋艦", .type = T::AegisCruiser, .layer = kSea,
         .move = kSeaA, .members = 1, .strength = 30, .cost = 300, .sight = {8, 3, 5},
         .defence = {45, 30, 35},
         .slots = {{kSamShip, 16}, {kSsm, 8}, {kNavalGun, 10}, {kCiws, 20}, {kCruise, 4}},
         .groups = {{{1, 1, 1, 1, 0}, 35}, {{1, 0, 1, 1, 1}, 35}}},
        {.id = 2020, .name = "ｾﾚｽﾀ級巡洋艦", .type = T::Cruiser, .layer = kSea, .move = kSeaA,
         .members = 1, .strength = 28, .cost = 220, .sight = {5, 3, 5}, .defence = {30, 30, 30},
         .slots = {{kSamShip, 8}, {kSsm, 8}, {kNavalGun, 10}, {kCiws, 16}},
         .countermeasure = 20},
        {.id = 2030, .name = "ｵﾘｵﾝ級ｲｰｼﾞｽ駆逐艦", .type = T::AegisDestroyer, .layer = kSea,
         .move = kSeaB, .members = 1, .strength = 22, .cost = 240, .sight = {8, 3, 5},
         .defence = {40, 25, 30},
         .slots = {{kSamShip, 12}, {kSsm, 4}, {kNavalGun, 8}, {kAswTorpedo, 4}, {kCiws, 16}},
         .countermeasure = 30},
        {.id = 2040, .name = "ﾍﾟﾙｾｳｽ級駆逐艦", .type = T::Destroyer, .layer = kSea,
         .move = kSeaB, .members = 1, .strength = 20, .cost = 150, .sight = {4, 3, 5},
         .defence = {25, 25, 30},
         .slots = {{kSamShip, 6}, {kSsm, 4}, {kNavalGun, 8}, {kAswTorpedo, 6}},
         .countermeasure = 15},
        {.id = 2050, .name = "ﾐﾓｻﾞ級ﾌﾘｹﾞｰﾄ", .type = T::Frigate, .layer = kSea, .move = kSeaB,
         .members = 1, .strength = 16, .cost = 100, .sight = {3, 3, 6}, .defence = {20, 20, 25},
         .slots = {{kSamShip, 4}, {kAswTorpedo, 6}, {kNavalGun, 6}}, .countermeasure = 10},
        {.id = 2060, .name = "ｻｻﾞﾝｶ級ｺﾙﾍﾞｯﾄ", .type = T::Corvette, .layer = kSea, .move = kSeaC,
         .members = 1, .strength = 12, .cost = 60, .sight = {2, 2, 5}, .defence = {15, 15, 20},
         .slots = {{kSsm, 2}, {kNavalGun, 6}, {kAswTorpedo, 2}}},
        {.id = 2070, .name = "ｳﾐﾂﾊﾞﾒ型ﾐｻｲﾙ艇", .type = T::MissileBoat, .layer = kSea,
         .move = kSeaC, .members = 2, .strength = 8, .cost = 30, .sight = {1, 2, 3},
         .defence = {10, 10, 15}, .slots = {{kSsm, 2}, {kGun20, 6}}},
        {.id = 2080, .name = "ﾌｪﾆｯｸｽ級空母", .type = T::Carrier, .layer = kSea, .move = kSeaA,
         .members = 1, .strength = 45, .cost = 500, .sight = {6, 3, 5}, .defence = {30, 30, 40},
         .slots = {{kCiws, 20}, {kSamShip, 8}}, .countermeasure = 25,
         .cargo = {"艦載", "艦載", "艦載", "艦載", "10100000", "ヘリ"}},
        {.id = 2090, .name = "ｱﾙｺﾞ級ﾍﾘ空母", .type = T::HelicopterCarrier, .layer = kSea,
         .move = kSeaA, .members = 1, .strength = 30, .cost = 260, .sight = {4, 3, 5},
         .defence = {25, 25, 30}, .slots = {{kCiws, 16}},
         .cargo = {"ヘリ", "ヘリ", "VTOL", "VTOL", "重車両", "歩兵"}},
        {.id = 2100, .name = "ﾏﾘﾅ級揚陸艦", .type = T::LandingShip, .layer = kSea, .move = kSeaB,
         .members = 1, .strength = 25, .cost = 180, .sight = {2, 3, 3}, .defence = {20, 20, 25},
         .slots = {{kNavalGun, 4}, {kCiws, 10}},
         .cargo = {"重車両", "重車両", "車両", "ホバー", "ヘリ", "歩兵"}},
        {.id = 2110, .name = "LC-2 ﾏﾝﾀ", .type = T::Hovercraft, .layer = kSea, .move = kSeaC,
         .members = 2, .strength = 8, .cost = 25, .sight = {1, 2, 2}, .defence = {10, 10, 10},
         .slots = {{kMg127, 4}}, .transportClass = "ホバークラフト",
         .cargo = {"車両", "歩兵"}},
        {.id = 2120, .name = "ｷｬﾗﾊﾞﾝ級輸送艦", .type = T::TransportShip, .layer = kSea,
         .move = kSeaB, .members = 1, .strength = 20, .cost = 80, .sight = {1, 2, 3},
         .defence = {10, 15, 20}, .slots = {{kMg127, 4}},
         .cargo = {"重車両", "重車両", "重車両", "歩兵", "歩兵"}},
        {.id = 2130, .name = "ﾍﾞﾙｶﾞ級補給艦", .type = T::SupplyShip, .layer = kSea,
         .move = kSeaB, .members = 1, .strength = 20, .cost = 90, .sight = {1, 2, 3},
         .defence = {10, 15, 20}, .slots = {{kSupply, 10}, {kCiws, 8}}},
        {.id = 2140, .name = "ｼｰﾗｶﾝｽ級潜水艦", .type = T::Submarine, .layer = kUnderSea,
         .move = kSub, .members = 1, .strength = 18, .cost = 200, .sight = {1, 1, 5},
         .defence = {5, 5, 40}, .slots = {{kTorpedo, 12}, {kSsm, 4}},
         .groups = {{{1, 0, 0, 0, 0}, 0}, {{1, 1, 0, 0, 0}, 0}}},
        {.id = 2150, .name = "ﾘｳﾞｧｲｱｻﾝ級戦略潜水艦", .type = T::StrategicSubmarine,
         .layer = kUnderSea, .move = kSub, .members = 1, .strength = 24, .cost = 600,
         .sight = {1, 1, 4}, .defence = {5, 5, 45}, .slots = {{kSlbm, 4}, {kTorpedo, 6}}},
        {.id = 2160, .name = "SD-1 ｳﾂﾎﾞ", .type = T::MidgetSubmarine, .layer = kUnderSea,
         .move = kSub, .members = 2, .strength = 6, .cost = 20, .sight = {1, 1, 3},
         .defence = {5, 5, 20}, .slots = {{kSelfDestruct, 1}, {kTorpedo, 2}}},

        // Warheads a missile base can be armed with.
        {.id = 3000, .name = "ﾃﾝﾍﾟｽﾄ通常弾頭", .type = T::Warhead, .layer = kVeryHigh,
         .move = kMHigh, .members = 1, .strength = 20, .cost = 80, .sight = {0, 0, 0},
         .defence = {20, 0, 0}, .slots = {{kWarheadStd, 1}}},
        {.id = 3010, .name = "ﾃﾝﾍﾟｽﾄ子弾弾頭", .type = T::Warhead, .layer = kVeryHigh,
         .move = kMHigh, .members = 1, .strength = 20, .cost = 90, .sight = {0, 0, 0},
         .defence = {20, 0, 0}, .slots = {{kWarheadCluster, 1}}},
        {.id = 3020, .name = "ｸﾞﾚｲｳﾞｧｲﾝ弾頭", .type = T::Warhead, .layer = kLow, .move = kMLow,
         .members = 1, .strength = 15, .cost = 50, .sight = {0, 0, 0}, .defence = {15, 0, 0},
         .slots = {{kWarheadStd, 1}}},
    };
    return weapons;
}
// clang-format on

const WeaponDef* findDef(int id) {
    for (const WeaponDef& w : weaponCatalogue()) {
        if (w.id == id) return &w;
    }
    return nullptr;
}

int branchOf(int layer) {
    return layer < kGround ? 0 : layer == kGround ? 1 : 2;
}

bool isTowed(const WeaponDef& w) {
    const WeaponDef* other = w.linked != 0 ? findDef(w.linked) : nullptr;
    return other && w.divisor < other->divisor;
}

int towedPicture(int type) {
    for (const auto& [from, to] : WeaponData::kTowedPictures) {
        if (from == type) return to;
    }
    return type;
}

// Lines are built in UTF-8 and encoded at the end.
class Line {
public:
    Line& add(std::string_view text) {
        if (!first_) text_ += ',';
        first_ = false;
        text_ += text;
        return *this;
    }
    Line& add(int value) { return add(std::to_string(value)); }
    Line& circle(bool on) { return add(on ? "○" : ""); }
    const std::string& text() const { return text_; }

private:
    std::string text_;
    bool first_ = true;
};

std::string armamentLine(const ArmDef& a) {
    Line line;
    line.add(a.name).add(a.shortName).add(a.range).add(a.power);
    for (int c : {0, 1, 2, 3, 6, 4, 5, 7, 8}) line.add(a.attack[c]);
    line.add(a.indirect ? 1 : 0).add(armamentKindNames().utf8(static_cast<int>(a.kind)));
    line.add(a.power * 10);
    for (int col = 17; col <= 23; ++col) line.circle(col == 22 && a.countermeasured);
    bool attacks = false;
    for (int v : a.attack) attacks = attacks || v > 0;
    line.add(a.power > 0 && attacks ? 1 : 0).add(0);
    return line.text();
}

// Whether any slot attacks targets of a branch (air, ground, sea).
std::array<int, 3> reach(const WeaponDef& w) {
    static constexpr int kBranchOfClass[kTargetClassCount] = {0, 0, 0, 1, 2, 2, 1, 0, 0};
    std::array<int, 3> r{};
    for (const Slot& s : w.slots) {
        const ArmDef& a = armamentCatalogue()[s.armament];
        for (int c = 0; c < kTargetClassCount; ++c) {
            if (a.attack[c] > 0) r[kBranchOfClass[c]] = 1;
        }
    }
    return r;
}

std::vector<Group> groupsOf(const WeaponDef& w) {
    if (!w.groups.empty()) return w.groups;
    Group g{{}, w.countermeasure};
    for (size_t s = 0; s < w.slots.size() && s < 5; ++s) g.values[s] = 1;
    return {g};
}

void addSlotsAndGroups(Line& line, const WeaponDef& w) {
    for (size_t s = 0; s < 5; ++s) {
        if (s < w.slots.size()) {
            const ArmDef& a = armamentCatalogue()[w.slots[s].armament];
            line.add(a.name).add(a.shortName).add(w.slots[s].rounds).add(w.slots[s].rounds * 2);
        } else {
            line.add("").add("").add(0).add(0);
        }
    }
    const std::vector<Group> groups = groupsOf(w);
    for (size_t g = 0; g < 4; ++g) {
        const bool present = g < groups.size();
        for (size_t s = 0; s < 5; ++s) line.add(present ? groups[g].values[s] : 0);
        line.add(g == 0 ? w.divisor : present ? 1 : 0);
        line.add(present ? groups[g].countermeasure : 0).add(0);
    }
}

std::string weaponLine(const WeaponDef& w, int unitIcon) {
    static constexpr int kMovePoints[] = {14, 12, 8, 5, 6, 4};
    const int type = static_cast<int>(w.type);
    const int branch = branchOf(w.layer);
    const bool perMember = branch != 2;
    Line line;
    line.add(w.id).add(w.name).circle(w.selectable).add(altitudeLayerNames().utf8(w.layer));
    line.add(movementTypeNames().utf8(w.move)).add(weaponTypeNames().utf8(type)).add(0);
    line.add(kMovePoints[w.layer]).add(w.members).add(w.strength).add(branch == 0 ? 60 : 120);
    line.add(1 + w.layer).add(1 + w.move).add(0).add(w.armoured ? 1 : 0);
    for (int col = 16; col <= 20; ++col) line.circle(false);
    line.circle(perMember).circle(w.armoured).add(10 * (1 + branch)).circle(false);
    for (int v : w.sight) line.add(v);
    for (int v : reach(w)) line.add(v);
    line.add(w.cost);
    for (size_t i = 0; i < 6; ++i) line.add(i < w.cargo.size() ? w.cargo[i] : "なし");
    line.add(w.transportClass).add(w.type == T::LandingShip ? "揚陸艦" : "");
    for (int v : w.defence) line.add(v);
    line.circle(false).circle(false).circle(false).add(0).add(0).add(w.linked);
    addSlotsAndGroups(line, w);
    const int picture = isTowed(w) ? towedPicture(type) : type;
    line.add(0).add(picture).add(unitIcon).add(w.id);
    line.add(picture).add(picture).add(unitIcon).add(unitIcon);
    return line.text();
}

UnitRecord unitRecordOf(int id) {
    UnitRecord r{};
    r.weaponId = static_cast<uint16_t>(id);
    for (size_t k = 0; k < sizeof r.battleData; ++k) {
        r.battleData[k] = static_cast<uint8_t>(id * 31 + static_cast<int>(k) * 17 + 5);
    }
    return r;
}

// Encodes UTF-8 lines as one CP932 file with CR LF line ends.
std::optional<std::string> encodeFile(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) {
        std::optional<std::string> bytes = encodeCp932(l);
        if (!bytes) return std::nullopt;
        out += *bytes;
        out += "\r\n";
    }
    return out;
}

}  // namespace

const std::vector<SampleWeapon>& sampleWeapons() {
    static const std::vector<SampleWeapon> list = [] {
        std::vector<SampleWeapon> out;
        for (const WeaponDef& w : weaponCatalogue()) {
            out.push_back({w.id, w.name, w.layer, w.move, static_cast<int>(w.type),
                           branchOf(w.layer), w.selectable, w.linked, isTowed(w)});
        }
        return out;
    }();
    return list;
}

std::string writeWeaponData(const std::string& root) {
    std::vector<std::string> armLines = {",兵装データ"};
    for (const ArmDef& a : armamentCatalogue()) armLines.push_back(armamentLine(a));
    std::vector<std::string> weaponLines = {",兵器データ"};
    std::vector<UnitRecord> units;
    // Unit icons 101, 102, ...: cell 0, 1, ... of icon page 1 (munit/unit01_*.bmp), in
    // catalogue order.
    int unitIcon = 100;
    for (const WeaponDef& w : weaponCatalogue()) {
        weaponLines.push_back(weaponLine(w, ++unitIcon));
        units.push_back(unitRecordOf(w.id));
    }
    const std::optional<std::string> warm = encodeFile(armLines);
    const std::optional<std::string> weapon = encodeFile(weaponLines);
    if (!warm || !weapon) return "the weapon catalogue has text without a CP932 form";

    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(root) / "rf", ec);
    if (ec) return root + "/rf: " + ec.message();
    try {
        writeFileAtomically(root + "/warm.dat", *warm);
        writeFileAtomically(root + "/weapon.dat", *weapon);
        writeFileAtomically(root + "/rf/unitdata.dat", UnitDataTable::encodeStandardFile(units));
    } catch (const swCError& e) {
        return e.caption + ": " + e.text();
    }
    return {};
}

}  // namespace kv::sample
