// The fixed vocabularies of the weapon and armament data: altitude layers, movement types,
// weapon types, armament kinds, target classes, transport classes and cargo slots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

enum class AltitudeLayer : uint8_t {
    VeryHigh = 0,  // 超高空
    High = 1,      // 高空
    Low = 2,       // 低空
    Ground = 3,    // 地上
    Sea = 4,       // 海上
    UnderSea = 5,  // 海中
};
inline constexpr int kAltitudeLayerCount = 6;

enum class WeaponType : uint8_t {
    Interceptor = 0,
    Fighter,
    FighterAttacker,
    Attacker,
    Vtol,  // 4
    Bomber,
    ElectronicWarfare,
    EarlyWarning,
    Reconnaissance,
    AntiSubmarinePatrol,  // 9
    Transport,
    Tanker,
    BallisticInterceptor,
    AttackHelicopter,  // 13, the first helicopter type
    TroopHelicopter,
    HeavyHelicopter,
    ScoutHelicopter,
    AswHelicopter,   // 17
    AswHelicopter2,  // 18: same name as 17, reachable only by number
    MainBattleTank,
    InfantryFightingVehicle,  // 20
    ArmouredPersonnelCarrier,
    ScoutCar,
    TankDestroyer,
    SelfPropelledGun,
    TowedFieldGun,  // 25
    SelfPropelledRocket,
    SurfaceMissileVehicle,
    AntiAirVehicle,
    TowedAntiAirGun,
    SelfPropelledSam,  // 30
    SamVehicle,
    AntiShipMissileVehicle,
    BallisticMissileVehicle,
    Warhead,  // 34
    RadarVehicle,
    SupplyVehicle,
    Infantry,
    Engineers,
    Headquarters,  // 39
    Battleship,
    AegisCruiser,
    Cruiser,
    AegisDestroyer,
    Destroyer,
    Frigate,  // 45
    Corvette,
    MissileBoat,
    Carrier,
    HelicopterCarrier,
    LandingShip,  // 50
    Hovercraft,
    TransportShip,
    SupplyShip,
    Submarine,
    StrategicSubmarine,
    MidgetSubmarine,  // 56
};
inline constexpr int kWeaponTypeCount = 57;

enum class ArmamentKind : uint8_t {
    Normal = 0,
    Missile,
    CruiseMissile,     // 2
    BallisticMissile,  // 3
    AntiAir,
    Torpedo,
    Supply,  // 6
    Gun,
    Bomb,
    Warhead,
    Ecm,  // 10
    Engineering,
    SelfDestruct,  // 12
};
inline constexpr int kArmamentKindCount = 13;

// A weapon as a target; also the index of an armament's attack values.
enum class TargetClass : uint8_t {
    VeryHigh = 0,          // 超高空
    Aircraft = 1,          // 航空機
    Helicopter = 2,        // ヘリ
    HardArmour = 3,        // 装甲硬
    Ship = 4,              // 艦船
    Submarine = 5,         // 潜水艦
    SoftArmour = 6,        // 装甲軟
    BallisticMissile = 7,  // 弾道ミサイル
    CruiseMissile = 8,     // 巡航ミサイル
};
inline constexpr int kTargetClassCount = 9;
// Attacker classes index a weapon's defence: the target classes 0 to 6.
inline constexpr int kAttackClassCount = 7;

// The bit a weapon occupies as cargo; a cargo slot accepts a set of them.
namespace transport {
inline constexpr uint8_t kNone = 0x00;
inline constexpr uint8_t kCarrierPlane = 0x80;
inline constexpr uint8_t kVtol = 0x40;
inline constexpr uint8_t kHelicopter = 0x20;
inline constexpr uint8_t kHeavyVehicle = 0x10;
inline constexpr uint8_t kVehicle = 0x08;
inline constexpr uint8_t kLightVehicle = 0x04;
inline constexpr uint8_t kInfantry = 0x02;
inline constexpr uint8_t kHovercraft = 0x01;
}  // namespace transport

// A fixed list of names kept in both spellings: UTF-8 for people, CP932 for data files.
class NameList {
public:
    explicit NameList(std::vector<std::string> utf8);
    size_t size() const { return utf8_.size(); }
    // The name at `index`; empty when out of range.
    std::string_view utf8(int index) const;
    std::string_view cp932(int index) const;
    // The first position of a CP932 name, or -1.
    int indexOf(std::string_view cp932) const;
    // The first position of a CP932 name, 0 when it is not in the list (the data files'
    // convention: an unknown name reads as the first entry).
    int lookup(std::string_view cp932) const;

private:
    std::vector<std::string> utf8_;
    std::vector<std::string> cp932_;
};

const NameList& altitudeLayerNames();
// The 14 movement types, the same list the terrain table's columns follow.
const NameList& movementTypeNames();
// 対潜哨戒ﾍﾘ stands at 17 and 18; lookups find 17.
const NameList& weaponTypeNames();
const NameList& armamentKindNames();
// Short display names of the armament kinds, same order.
const NameList& armamentKindShortNames();
const NameList& targetClassNames();

// A transport class name (なし, 艦載機, ... ホバークラフト) to its bit; 0 when unknown.
uint8_t transportClassByName(std::string_view cp932);
// The transport class names with their bits, なし first.
struct TransportClassName {
    std::string_view utf8;
    uint8_t bit;
};
const std::vector<TransportClassName>& transportClassNames();

// The cargo slot names with the transport classes each accepts.
struct CargoSlotName {
    std::string_view utf8;
    uint8_t accepts;
};
const std::vector<CargoSlotName>& cargoSlotNames();

// A cargo slot column to the set of transport classes it accepts: a slot name, "なし" (0),
// or up to eight characters whose first stands for bit 7, each "1" setting its bit.
uint8_t parseCargoSlot(std::string_view cp932);

}  // namespace kv
