// The steps that build the demo maps: the country (terrain, buildings, rivers, roads,
// territories, labels, mines) and the forces (factions, troops, scenario texts).
#pragma once

#include <string>
#include <string_view>

#include "document/hex_geometry.h"

namespace kv {
class MapDocument;
}

namespace kv::sample::demo {

inline constexpr int kWidth = 48;
inline constexpr int kHeight = 36;

// The three factions taking part.
inline constexpr int kBlue = 0;   // USER
inline constexpr int kRed = 1;    // computer, allied with green
inline constexpr int kGreen = 2;  // computer, allied with red

// Where the forces gather.
inline constexpr HexPos kBlueCapital{11, 24};
inline constexpr HexPos kBlueAirport{14, 20};
inline constexpr HexPos kRedCapital{38, 8};
inline constexpr HexPos kRedAirfield{34, 12};
inline constexpr HexPos kRedCity{42, 13};
inline constexpr HexPos kGreenCapital{38, 26};
// The two ports lie on the coast; their places follow the coastline.
HexPos bluePort();
HexPos greenPort();

// The CP932 form of UTF-8 text the generator wrote (its texts all have one).
std::string cp932(std::string_view utf8);

// Paints the country onto a fresh 48 × 36 map. Returns an error text, empty on success.
std::string buildCountry(MapDocument& doc);
// Sets up the three factions, their troops and the scenario texts. Returns an error text.
std::string buildForces(MapDocument& doc);
// The briefing, operation order, victory, factions and ending texts and the briefing picture.
// Returns an error text when one would not pass the scenario dialog's check.
std::string setUpScenarioTexts(MapDocument& doc);

}  // namespace kv::sample::demo
