// `kvmap buildings FILE [--json]`: the building count of a map, as the count window shows it.
#pragma once

#include <string>

namespace kv::cli {

// Prints, for every facility kind of the terrain table, the intact and destroyed facilities
// and their income per owner (factions 1–6, neutral, all), and each owner's totals; with
// `json` one object. Returns 0, or 2 when the game data or the map cannot be read.
int runBuildingsCommand(const std::string& path, const std::string& programDir, bool json);

}  // namespace kv::cli
