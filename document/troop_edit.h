// The troop operations of the troop modes: placing the troop brush's troop (on a hex, stowed in
// its building or loaded into a carrier), moving and recalling troops, and the questions the
// tools ask first (which troops are at a hex, may a weapon stand or be stowed there). Each
// operation checks everything before it changes anything, so a refusal leaves the document and
// its undo history as they were; a change is one undo step.
#pragma once

#include <vector>

namespace kv {

class MapDocument;
class TroopRecord;

// Refusals of placeTroop, loadTroop and moveTroop; any other result is the troop's slot.
inline constexpr int kTroopCannotStand = -1;   // terrain, building or carrier does not take it
inline constexpr int kTroopFactionFull = -2;   // 200 troops already, or no valid brush
inline constexpr int kTroopDivisionFull = -3;  // no free place in its division
inline constexpr int kTroopHexTaken = -4;      // its stack position on the hex is held

// The warning a refusal shows (caption "警告"); null for any other result.
const char* troopRefusalText(int result);

// The most troops a faction has in use.
inline constexpr int kMaxTroopsPerFaction = 200;

// A troop at a hex: its table and slot, the slot of the carrier it is loaded in (-1 when it
// is not loaded) and whether it is stowed in the hex's building.
struct TroopAtHex {
    int table = -1;
    int slot = -1;
    int carrier = -1;
    bool stowed = false;
    bool operator==(const TroopAtHex&) const = default;
};

// The appearance turn the troop modes work on: 1, or the reinforcement turn in edit mode 2.
int currentTroopTurn(const MapDocument& doc);
// The placed troops of the current turn at the hex, in table and slot order: those standing
// there, then those loaded in carriers there (stowed: false), then the stowed ones.
std::vector<TroopAtHex> troopsAtHex(const MapDocument& doc, int col, int row);
// Only the stowed ones of those.
std::vector<TroopAtHex> stowedTroopsAt(const MapDocument& doc, int col, int row);

// The troop of appearance turn `turn` holding stack position `position` (0..2) on the hex,
// as (table, slot); table -1 when the position is free. Turn 1 reads the hex's stack, later
// turns the troop tables as the reinforcement index takes them.
TroopAtHex stackHolderOfTurn(const MapDocument& doc, int col, int row, int position, int turn);
// The stack position a weapon takes (0 without the stacking rule).
int stackPositionOfWeapon(const MapDocument& doc, int weaponId);
// Faction `table` (0..5) may stand a troop of the weapon on the hex as far as the terrain
// goes: the hex is passable for its movement type, and a surface troop does not stand on a
// destroyed or foreign bridge, nor a destroyed dam or tunnel.
bool terrainAllows(const MapDocument& doc, int table, int weaponId, int col, int row);
// ... and its stack position there is free.
bool mayStandAt(const MapDocument& doc, int table, int weaponId, int col, int row);
// A troop of the weapon may be stowed at the hex in the current turn: the stowing rule is on,
// the building takes the weapon and has room left.
bool mayStowAt(const MapDocument& doc, int weaponId, int col, int row);
// A troop of the weapon fits into the carrier (table, slot) beside what it carries already.
bool mayLoadInto(const MapDocument& doc, int table, int carrierSlot, int weaponId);

// The troops in use of a table.
int troopsInUse(const MapDocument& doc, int table);
// Where a new troop of the weapon goes in the faction's organisation: the division of its
// branch, the first free directly attached place within the division's limit, else the first
// unused regiment within the limit; -1 when there is none.
int freeOrganisationSlot(const MapDocument& doc, int table, int weaponId);

// Places the troop brush's troop on the hex (stowed in its building with `stow`): the troop's
// slot, or a refusal. A new troop gets its place in the organisation, its weapon's name, the
// weapon's full strength in as many units as the brush says, the brush's experience and the
// current turn; a troop of the list that carries others takes them along. Clears the brush.
int placeTroop(MapDocument& doc, int col, int row, bool stow);
// Loads the troop brush's troop into the carrier (table, slot) of the brush's faction.
int loadTroop(MapDocument& doc, int table, int carrierSlot);
// Moves a placed troop (out of its carrier, if loaded) with what it carries to the hex, onto
// it or stowed in its building. The troop leaves a gathered regiment.
int moveTroop(MapDocument& doc, int table, int slot, int col, int row, bool stow);
// Takes a placed troop off the map back into its faction's list, with everything loaded in
// it. False when there is no placed troop in the slot.
bool recallTroop(MapDocument& doc, int table, int slot);

// The stack and occupancy of one hex from the troop tables, as a load builds them; marks the
// hex when they changed. The caller records the hex for undo first.
void restackHex(MapDocument& doc, int col, int row);
// Sets the position of a troop and, through the carrier links, of everything loaded in it,
// recording each for undo.
void moveWithCargo(MapDocument& doc, int table, int slot, int col, int row);

}  // namespace kv
