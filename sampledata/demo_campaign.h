// The demo campaign of the sample data: four small scenario maps chained by their victory,
// draw and defeat links.
#pragma once

#include <string>

namespace kv::sample {

// Loads the game data already written under `root`, writes the campaign's scenario maps to
// root/map/campaign/ (each passing the map check) and the campaign holding them to
// root/map/demo_campaign.kvc, the way the editor saves both. The bytes are the same on every
// run. Returns an error text, empty on success.
std::string writeDemoCampaign(const std::string& root);

}  // namespace kv::sample
