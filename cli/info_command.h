// `kvmap info FILE`: what a map file holds, as read (upgrades applied, nothing repaired).
#pragma once

#include <string>

namespace kv::cli {

// Prints a summary, or with `json` one object; the sections a damaged file cuts off are listed
// ("truncated"). A map of an earlier edition is described by edition and version only.
// Returns 0, or 2 (saying why) for a file that cannot be read or is no map.
int runInfoCommand(const std::string& path, const std::string& programDir, bool json);

}  // namespace kv::cli
