// The game database: every reference table of the game, read from the program folder at
// start-up and read-only afterwards (product types and rule sets are saved by their editors).
#pragma once

#include "gamedata/product_types.h"
#include "gamedata/rules.h"
#include "gamedata/terrain.h"
#include "gamedata/unit_data.h"
#include "gamedata/weapons.h"

namespace kv {

class GameDatabase : public TerrainData,
                     public WeaponData,
                     public ProductTypeData,
                     public RuleData {
public:
    // Loads every table in order: rule sets, terrain, user product types, production
    // presets, anthems, music, armaments, weapons, standard product types, unit data; then
    // builds the weapon list of all weapons sorted by type. A missing terrain, armament or
    // weapon file is reported and raises swCError (the program cannot start without them).
    void loadAll();

    void buildWeaponList(int productTypeNumber) {
        ProductTypeData::buildWeaponList(productTypeNumber, *this);
    }
    void sortWeaponList(int order, bool reverse) {
        ProductTypeData::sortWeaponList(order, reverse, *this);
    }
    int importUpdateFile(const std::string& path, int destination) {
        return ProductTypeData::importUpdateFile(path, destination, *this);
    }

    UnitDataTable unitData;
};

}  // namespace kv
