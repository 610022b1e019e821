// The bundled arsenal: a fictional modern-warfare catalogue of armaments and weapons written
// as warm.dat, weapon.dat and rf/unitdata.dat.
#pragma once

#include <string>
#include <vector>

namespace kv::sample {

// What other generators need to know about a weapon of the catalogue.
struct SampleWeapon {
    int id;               // below 5000, with gaps between groups of weapons
    const char* name;     // UTF-8
    int layer;            // AltitudeLayer
    int movementType;     // MovementType
    int weaponType;       // WeaponType
    int branch;           // 0 air, 1 land, 2 sea (by layer)
    bool selectable;      // offered by the palettes and the combat comparison
    int linkedWeapon;     // id of the form this one transforms into, 0 for none
    bool towedAlternate;  // the travelling form of a transforming pair
};

// Every weapon in id order.
const std::vector<SampleWeapon>& sampleWeapons();

// Writes root/warm.dat, root/weapon.dat and root/rf/unitdata.dat (creating root/rf).
// Returns an error text, empty on success.
std::string writeWeaponData(const std::string& root);

}  // namespace kv::sample
