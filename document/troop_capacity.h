// What carriers and buildings may hold: the carrying rule of a carrier's cargo slots, the
// stowing rule of facilities, and the troop fields of the victory conditions these
// rules' users read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kv {

class GameDatabase;
class MapDocument;
class TroopRecord;

// The victory condition of a troop (byte 86): bit 1 the transport condition, with the
// destination column and row at 87 and 88; the other bits (value 5) the annihilation
// condition that makes the troop a target of the enemy's troop victory.
inline constexpr size_t kTroopConditionAt = 86, kTroopDestColAt = 87, kTroopDestRowAt = 88;
inline constexpr uint8_t kConditionTransport = 0x02;
inline constexpr uint8_t kConditionAnnihilation = 0x05;
// Byte 221 values that keep a troop placed at the start out of its hex's stack.
inline constexpr size_t kTroopByte221At = 221;

uint8_t troopCondition(const TroopRecord& troop);
bool hasTransportCondition(const TroopRecord& troop);
bool hasAnnihilationCondition(const TroopRecord& troop);
int destinationCol(const TroopRecord& troop);
int destinationRow(const TroopRecord& troop);
// Byte 221 holds 25, 26 or 27.
bool isOutsideStacks(const TroopRecord& troop);

// Carrying. Each cargo slot of the carrier's weapon whose capacity is non-zero holds one
// troop, and only one whose weapon's transport class is among the classes the slot accepts
// (a weapon without a transport class fits nowhere). A carrier holds its cargo when every
// cargo troop can be given a slot of its own; more troops than fitting slots is loading
// beyond the carrier's capacity. `cargoWeapons` are the weapon ids of the troops loaded in
// it.
bool carrierHolds(const GameDatabase& db, int carrierWeapon, std::span<const int> cargoWeapons);

// Stowing. A troop may be stowed at a hex while the stowing rule (収納, rule 6) is on, when
// the hex lies on the map and holds an intact facility (category above 11, not destroyed)
// whose terrain has a non-zero capacity and suits the weapon:
//   aircraft (weapon category 0): airports (category 16) only;
//   VTOL aircraft (1): where a VTOL may land: terrain flag 0x04, or a facility at index
//     35 to 40 or 43;
//   helicopters (2): where a helicopter may land: terrain flag 0x08, or any facility but
//     the tunnel at index 48;
//   land troops (3): any such facility;
//   ships and submarines (4): ports (category 17) only.
bool canStowAt(const MapDocument& doc, int weaponId, int col, int row);
// How many troops the hex may hold stowed at once: its terrain's capacity when it is an
// intact facility, else 0. The troops stowed at a hex that appear in the same turn (those
// placed at the start, or the reinforcements of one turn) count together against it.
int stowingCapacity(const MapDocument& doc, int col, int row);

}  // namespace kv
