// A busy map made in code for the renderer's benchmarks and screenshots: coasts and seas,
// forests, hills, snow and desert, rivers with temporary bridges, roads between cities of
// every faction, troops, territories with borderlines, and labels.
#pragma once

#include <memory>

namespace kv {
class MapDocument;
}

namespace kvbench {

// A document over the build's sample game data with a new map.
std::unique_ptr<kv::MapDocument> sampleDocument();

// Replaces the document's map with a generated one of width × height hexes (1..256). The
// same size always gives the same map.
void makeBusyMap(kv::MapDocument& doc, int width, int height);

}  // namespace kvbench
