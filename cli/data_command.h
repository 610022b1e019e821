// `kvmap data`: loads the game database of a program folder and prints it.
#pragma once

#include <string>

namespace kv::cli {

// Prints a summary, or with `json` every table. Returns the exit code: 0, or 2 when the
// database could not be loaded.
int runDataCommand(const std::string& programDir, bool json);

}  // namespace kv::cli
