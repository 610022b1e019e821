// Loading the game database in its start-up order.
#include "gamedata/game_database.h"

namespace kv {

void GameDatabase::loadAll() {
    loadRuleSets();
    loadTerrain();
    loadUserProductTypes();
    loadPresets();
    loadAnthems();
    loadMusic();
    loadArmaments();
    loadWeapons();
    // User product types in the old form keep their weapons once the weapons exist.
    convertPendingUserRecords(*this);
    loadProductTypes(*this);
    unitData.load(weapons());
    buildWeaponList(0);
    sortWeaponList(0, false);
}

}  // namespace kv
