// The demo maps of the sample data: a scenario a new user can open and play through the map
// check, and a normal map of the same country.
#pragma once

#include <functional>
#include <string>

namespace kv {
class MapDocument;
}

namespace kv::sample {

// Loads the game data already written under `root` and writes root/map/demo_scenario.kvs
// and root/map/demo_map.kvn, built through the document's editing operations and saved the
// way the editor saves. The bytes are the same on every run. Returns an error text, empty
// on success.
std::string writeDemoMaps(const std::string& root);

// Runs `build` on a fresh document of the program folder `root` after making root/`folder`;
// no settings file made for the document alone stays behind. `what` names the work in an
// error. Returns build's error text, or the file error raised.
std::string withDemoDocument(const std::string& root, const std::string& folder, const char* what,
                             const std::function<std::string(MapDocument&)>& build);

}  // namespace kv::sample
