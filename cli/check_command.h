// `kvmap check FILE...`: the map check of each map, as the check window lists it.
#pragma once

#include <string>
#include <vector>

namespace kv {
class MapDocument;
}

namespace kv::cli {

// Points the program folder at `programDir` (when given) and loads its game data into the
// document, with a new map. False, after printing why, when the data cannot be loaded.
bool loadProgramData(MapDocument& doc, const std::string& programDir);

// Why the file at `path` cannot be read as a map (English, for the command line): missing,
// a folder, not a regular file, too large to be a map, or the system's reason.
std::string whyUnreadable(const std::string& path);

// Loads each map and prints its problems (UTF-8, one per line; a title line per map when
// there are several), or "エラーは発見されませんでした。". A file cut short is a problem of
// its own, listed first. Returns 0 when every map is clean, 1 when any has problems, 2 when
// a map or the game data cannot be read.
int runCheckCommand(const std::vector<std::string>& files, const std::string& programDir);

}  // namespace kv::cli
