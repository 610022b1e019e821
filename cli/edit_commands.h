// `kvmap resize` and `kvmap pack-troops`: the whole-map edits for scripted map work.
#pragma once

#include <string>

namespace kv {
class MapDocument;
}

namespace kv::cli {

// Loads the game data and the map FILE, saying on stderr why not.
bool openMap(MapDocument& doc, const std::string& file, const std::string& programDir);
// Saves as the editor does; the kind follows the extension of `out`: ".kvn" a normal map,
// ".kvt" an intermediate file, anything else a scenario map. Says on stderr why not.
bool saveMap(MapDocument& doc, const std::string& out);

// Loads FILE, gives it the new size around `anchor` (0..8, row × 3 + column, 0 top left)
// and writes the result to `out`. Returns 0, or 2 for a bad size or anchor or a map that
// cannot be read or written.
int runResizeCommand(const std::string& file, const std::string& width, const std::string& height,
                     const std::string& anchor, const std::string& out,
                     const std::string& programDir);

// Loads FILE, packs the troop numbers of every organisation group and writes `out`.
// Returns 0, or 2 for a map that cannot be read or written.
int runPackTroopsCommand(const std::string& file, const std::string& out,
                         const std::string& programDir);

}  // namespace kv::cli
