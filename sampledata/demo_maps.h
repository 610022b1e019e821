// The demo maps of the sample data: a scenario a new user can open and play through the map
// check, and a normal map of the same country.
#pragma once

#include <string>

namespace kv::sample {

// Loads the game data already written under `root` and writes root/map/demo_scenario.kvs
// and root/map/demo_map.kvn, built through the document's editing operations and saved the
// way the editor saves. The bytes are the same on every run. Returns an error text, empty
// on success.
std::string writeDemoMaps(const std::string& root);

}  // namespace kv::sample
