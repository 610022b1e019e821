// Faction defaults: the colour words and the default division limits.
#include "document/faction_record.h"

namespace kv {

namespace {

constexpr std::string_view kColourNames[] = {"BLUE", "RED",    "GREEN",   "YELLOW", "PURPLE",
                                             "CYAN", "ORANGE", "MAGENTA", "民間人"};
constexpr uint8_t kDefaultDivisionLimits[FactionRecord::kDivisionLimitCount] = {6,  6,  6, 30,
                                                                                30, 30, 3, 6};

}  // namespace

void FactionRecord::setDefaultDivisionLimits() {
    for (int i = 0; i < kDivisionLimitCount; ++i) setDivisionLimit(i, kDefaultDivisionLimits[i]);
}

std::string_view colourName(int index) {
    return index >= 0 && index < static_cast<int>(std::size(kColourNames)) ? kColourNames[index]
                                                                           : std::string_view{};
}

std::string_view factionColourName(int slot) {
    return slot >= 0 && slot < kFactionCount ? colourName(slot) : std::string_view{};
}

}  // namespace kv
