// `kvmap campaign FILE [--json] [--extract DIR [--force]]`: what a campaign file holds and
// what is wrong with it.
#pragma once

#include <string>

namespace kv::cli {

// Prints the campaign (name, player faction, stored and computed counts, each used slot with
// its links, whether its map reads and its USER faction) and its problems, or with `json` one
// object. With `extractDir` each embedded map is also written there as a map file named after
// its slot and map name; an existing file is replaced only with `force`. Returns 0 without
// problems, 1 with problems or a map that could not be extracted, 2 when the file cannot be
// read or is no campaign file (saying why).
int runCampaignCommand(const std::string& path, bool json, const std::string& extractDir,
                       bool force);

}  // namespace kv::cli
