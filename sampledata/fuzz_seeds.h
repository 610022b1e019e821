// Small files of every format the fuzz targets read, to start them where the formats are.
#pragma once

#include <string>

namespace kv::sample {

// Writes root/fuzzseeds/TARGET/...: small maps of this editor (scenario, normal and
// intermediate) cut from the demo scenario, small maps of every earlier edition and version,
// FLINK archives of both formats, a settings file, product-type files of both record forms,
// a faction colour table and a scenario text block. Needs the game data and demo maps written
// before it. Returns an error text, empty on success.
std::string writeFuzzSeeds(const std::string& root);

}  // namespace kv::sample
