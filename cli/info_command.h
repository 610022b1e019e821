// `kvmap info FILE`: what a map file holds, as read (upgrades applied, nothing repaired).
#pragma once

#include <string>

namespace kv::cli {

// Prints a summary, or with `json` one object. Returns 0, or 2 for a file that is no map.
int runInfoCommand(const std::string& path, const std::string& programDir, bool json);

}  // namespace kv::cli
