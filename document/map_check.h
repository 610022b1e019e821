// The map check: everything that would make a map unplayable, found without changing it.
#pragma once

#include <vector>

#include "document/map_problem.h"

namespace kv {

class MapDocument;

// Runs every check in order (factions, capitals and buildings, evacuation targets, the
// troops of each faction taking part, the organisation, troops of factions not taking part,
// carrying and stowing capacities, victory conditions) and returns the problems in the
// order found. Empty means the map may be saved. The document is not changed.
std::vector<MapProblem> checkMap(const MapDocument& doc);

}  // namespace kv
