// One finding of the map check: its code with the stored subject and detail, the line the
// check window shows, and the hex or troop a window can jump to.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Problem codes. 2, 7, 11, 21, 23, 24, 26 and 33 have texts for the result list but the
// check never finds them; there is no code 28.
namespace problem {
inline constexpr uint16_t kNeutralCapital = 1;
inline constexpr uint16_t kNoCapitalText = 2;
inline constexpr uint16_t kTooManyCapitals = 3;
inline constexpr uint16_t kAbsentFactionCapital = 4;
inline constexpr uint16_t kNoFactionTakesPart = 5;
inline constexpr uint16_t kOneFactionTakesPart = 6;
inline constexpr uint16_t kVictoryLabelsOneSide = 7;
inline constexpr uint16_t kAbsentFactionBuildings = 8;
inline constexpr uint16_t kAbsentFactionBorderline = 9;
inline constexpr uint16_t kNoUserFaction = 10;
inline constexpr uint16_t kSeveralHumanFactions = 11;
inline constexpr uint16_t kAbsentFactionTroops = 12;
inline constexpr uint16_t kImpassableTerrain = 13;
inline constexpr uint16_t kCannotStow = 14;
inline constexpr uint16_t kNotOnMap = 15;
inline constexpr uint16_t kTooManyTroops = 16;
inline constexpr uint16_t kDestinationOffMap = 17;
inline constexpr uint16_t kDestinationBlank = 18;
inline constexpr uint16_t kDestinationImpassable = 19;
inline constexpr uint16_t kEvacuationOffMap = 20;
inline constexpr uint16_t kEnemyDefeatCondition = 21;
inline constexpr uint16_t kEnemyTransportCondition = 22;
inline constexpr uint16_t kOwnVictoryCondition = 23;
inline constexpr uint16_t kAllyVictoryCondition = 24;
inline constexpr uint16_t kAllyTransportCondition = 25;
inline constexpr uint16_t kEnemyBuildingDefeat = 26;
inline constexpr uint16_t kNoCapital = 27;
inline constexpr uint16_t kNoCarrier = 29;
inline constexpr uint16_t kNoVictoryBuilding = 30;
inline constexpr uint16_t kNoVictoryTroop = 31;
inline constexpr uint16_t kNoTransportTroop = 32;
inline constexpr uint16_t kCiviliansNotAllied = 33;
inline constexpr uint16_t kCarrierOverloaded = 34;
inline constexpr uint16_t kHexOverstowed = 35;
inline constexpr uint16_t kRegimentPartlyPlaced = 36;
inline constexpr uint16_t kRegimentGap = 37;
inline constexpr uint16_t kDirectUnitGap = 38;
inline constexpr uint16_t kTooManyRegiments = 39;
inline constexpr uint16_t kTooManyDirectUnits = 40;
inline constexpr uint16_t kTowedInGatheredRegiment = 41;
inline constexpr uint16_t kLastCode = 41;
}  // namespace problem

struct MapProblem {
    // The stored finding: a faction slot or a column in `subject`; a count, a troop slot or
    // a row in `detail`. For the organisation codes 36..41 `detail` holds the division in
    // its low 16 bits and the regiment (6: the directly attached group) in its high 16 bits.
    uint16_t code = 0;
    int32_t subject = 0;
    uint32_t detail = 0;
    // The line the check window shows (UTF-8; a few texts hold a CR LF of their own).
    std::string text;
    // Where the finding is: a hex (col, row) and a troop (table, slot); -1 where none.
    int col = -1;
    int row = -1;
    int table = -1;
    int slot = -1;

    bool operator==(const MapProblem&) const = default;
};

// The text of a code with its format arguments unfilled (UTF-8); empty for a code that has
// none.
std::string_view mapProblemFormat(int code);
// The code's text filled with printf arguments in the order of its format (%s as UTF-8
// text, %d as int); empty for a code without text.
std::string formatMapProblem(int code, ...);

// What the check window shows when the map has no problem.
inline constexpr std::string_view kNoProblemsText = "エラーは発見されませんでした。";

// The check window's text: one line per problem, separated by CR LF, or kNoProblemsText.
std::string checkWindowText(const std::vector<MapProblem>& problems);

// The lines of a problem list for a terminal: the window's text with every CR LF turned into
// a line feed, ending with one.
std::string checkReportLines(const std::vector<MapProblem>& problems);

}  // namespace kv
