// Example maps in the formats of the earlier editions, for trying the import and the batch
// conversion at once.
#pragma once

#include <string>

#include "document/legacy_writer.h"

namespace kv::sample {

// The example map of an earlier edition (kind 1..4): a coast with a port, a river under a
// bridge and a road, capitals and cities of the factions, labels; the scenario kinds also
// troops (one carried), production lists and scenario texts. The deluxe map holds a troop
// whose weapon is not in this product; the modern map eight factions, one of them moved into
// a free slot. Needs the terrain table and rule sets of the sample data.
LegacyMap legacyExampleMap(int kind);

// Writes root/map/legacy/realtime.wtm, earlier.qus, deluxe.bxs and modern.fws. Returns an
// error text, or empty on success. The bytes are the same on every run.
std::string writeLegacyMaps(const std::string& root);

}  // namespace kv::sample
