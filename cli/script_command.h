// `kvmap script`: runs a JavaScript file on a map (or a new map) without a display.
#pragma once

#include <string>
#include <vector>

namespace kv::cli {

// Runs SCRIPT on MAP (a new 64 x 64 map when `map` is empty) with the `args` "k=v" pairs and
// the time limit in seconds ("" the default), then writes the map to `out` when given (the
// kind by its extension, as resize does). A map file is written only by the script's save()
// or by `out`. Returns 0, or 2 for a script error (printed as FILE:LINE: message), a time
// limit reached, a bad argument, or a map that cannot be read or written.
int runScriptCommand(const std::string& script, const std::string& map,
                     const std::vector<std::string>& args, const std::string& timeout,
                     const std::string& out, const std::string& programDir);

}  // namespace kv::cli
