// Looking up user-defined weapons by name, and dropping the user data a map brought.
#include "document/user_data_store.h"

#include <utility>

#include "document/troop_record.h"
#include "framework/cp932.h"

namespace kv {

int UserDataStore::findWeaponByName(std::string_view troopName) const {
    const std::string wanted =
        cutToBytes(fieldText(troopName.data(), troopName.size()), TroopRecord::kNameSize);
    if (wanted.empty()) return 0;
    for (int table = 0; table < 2; ++table) {
        for (const WeaponRecord& w : weapons_.userWeapons(table)) {
            // A troop keeps only the first 32 bytes of its weapon's name.
            if (cutToBytes(w.name(), TroopRecord::kNameSize) == wanted &&
                weapons_.weaponIndex(w.id()) != 0)
                return w.id();
        }
    }
    return 0;
}

void UserDataStore::dropMapData() {
    if (weapons_.userWeapons(1).empty() && weapons_.userArmaments(1).empty()) return;
    // The tables share their index with the standard ones, so the first tables are stored
    // again after everything user-defined is dropped.
    std::vector<WeaponRecord> keptWeapons = weapons_.userWeapons(0);
    std::vector<std::pair<int, ArmamentRecord>> keptArmaments;
    for (int n = WeaponData::kFirstUserArmament; n < WeaponData::kSecondUserArmament; ++n)
        if (weapons_.armamentIndex(n) != 0) keptArmaments.emplace_back(n, weapons_.armament(n));
    weapons_.clearUserTables();
    for (const auto& [number, record] : keptArmaments) weapons_.storeUserArmament(number, record);
    for (const WeaponRecord& w : keptWeapons) weapons_.storeUserWeapon(w);
}

}  // namespace kv
