// The user-defined weapons and armaments a map can use, kept in the game database's user
// tables: the first tables (weapon ids 5000..9999) hold the editor's own user data, the
// second (ids 10000..14999) what a map brought along.
#pragma once

#include <string_view>
#include <vector>

#include "gamedata/weapons.h"

namespace kv {

class UserDataStore {
public:
    explicit UserDataStore(WeaponData& weapons) : weapons_(weapons) {}

    // The id of the first user-defined weapon whose name matches a troop's 32-byte name
    // field (CP932, compared over the 32 bytes the troop keeps); 0 when there is none.
    int findWeaponByName(std::string_view troopName) const;
    // Drops the second user tables (weapons 10000..14999, armaments 40000..59999), keeping
    // the first.
    void dropMapData();
    const std::vector<WeaponRecord>& weapons(int table) const {
        return weapons_.userWeapons(table);
    }

private:
    WeaponData& weapons_;
};

}  // namespace kv
