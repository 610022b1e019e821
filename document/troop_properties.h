// What the troop dialogs change: the properties of the property dialog with their checks, the
// armament group and the transformation into the linked weapon. Each change is one undo step.
#pragma once

#include <string>

namespace kv {

class MapDocument;

// The editable properties of a troop, as the property dialog shows them.
struct TroopProperties {
    std::string name;    // CP932
    int experience = 0;  // 0..250 (stored × 10)
    int unitCount = 1;   // 1..10
    int turn = 1;        // appearance turn; 2 and above for a reinforcement
    int condition = 0;   // 0 none, 2 transport to the destination, 5 annihilation
    int destCol = 0;
    int destRow = 0;
    bool operator==(const TroopProperties&) const = default;
};

// The longest troop name in bytes: the 32-byte field keeps its terminator.
inline constexpr int kTroopNameBytes = 31;

TroopProperties troopProperties(const MapDocument& doc, int table, int slot);
// The message of the first check that fails (UTF-8), in the dialog's order: the name, the
// transport destination, a reinforcement's turn and its hex in that turn, the experience.
// Empty when all pass.
std::string troopPropertiesRefusal(const MapDocument& doc, int table, int slot,
                                   const TroopProperties& p);
// Stores the properties when they pass the checks; false (nothing changed) otherwise.
bool applyTroopProperties(MapDocument& doc, int table, int slot, const TroopProperties& p);

// The weapon offers more than one armament group.
bool hasAlternativeArmaments(const MapDocument& doc, int weaponId);
// Gives the troop armament group `group` (0..3, present in its weapon): the group's per-slot
// values, raised to the linked weapon's where those are larger, and the group word.
bool changeArmament(MapDocument& doc, int table, int slot, int group);

// The weapon a troop of `weaponId` transforms into; -1 when it has none, or when that weapon
// is missing or not in this product (the map could not be loaded again).
int transformTarget(const MapDocument& doc, int weaponId);
// Transforms the troop; false (nothing changed) when it cannot transform or its new form may
// not stand where it is.
bool transformTroop(MapDocument& doc, int table, int slot);

}  // namespace kv
