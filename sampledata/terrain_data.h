// The bundled terrain table: writes land.dat into a program folder.
#pragma once

#include <string>

namespace kv::sample {

// Writes root + "/land.dat" (CP932, CR LF); returns an error text or empty on success.
// The bytes are the same on every run.
std::string writeTerrainData(const std::string& root);

// The bytes writeTerrainData writes.
std::string terrainDataBytes();

}  // namespace kv::sample
