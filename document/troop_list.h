// The troop table as a table of texts: every troop of the six factions with its weapon,
// place, appearance turn, units, strength, experience and state.
#pragma once

#include "gamedata/reference_tables.h"

namespace kv {

class MapDocument;

// A row's key: table × kTroopKeyTable + slot.
inline constexpr int kTroopKeyTable = 1000;

InfoTable troopListTable(const MapDocument& doc);

}  // namespace kv
