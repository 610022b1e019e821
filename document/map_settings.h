// The scenario settings that are not texts: the map-wide values of the header, the six faction
// records with their production lists and the rules, taken from a document as one value, checked
// and put back in one edit operation; and the alliance-group rules of the settings dialog.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "document/faction_record.h"
#include "gamedata/rule_set.h"

namespace kv {

class MapDocument;

struct MapSettings {
    std::string mapName;  // CP932
    std::string message;  // CP932
    int turnLimit = 0;
    uint8_t difficulty = 0;
    uint8_t buildingIncome = 0;
    uint8_t settingsLocked = 0;
    uint8_t operationRank = 0;
    std::array<FactionRecord, kFactionCount> factions{};
    std::array<ProductionList, kFactionCount> productionLists{};
    RuleSettings rules;
};

MapSettings mapSettingsOf(const MapDocument& doc);
// Stores every value in one edit operation (the whole map is redrawn), the settings from before
// recorded, so it is one undo step.
void applyMapSettings(MapDocument& doc, const MapSettings& settings);
// Writes the values into the document, nothing else (the history restores them with it).
void setMapSettings(MapDocument& doc, const MapSettings& settings);

// The highest turn in which a troop of any faction arrives; 1 when every troop starts on the map,
// 0 without troops.
int latestAppearanceTurn(const MapDocument& doc);

// The numbers a faction row is typed with, wide enough that nothing wraps before it is checked.
struct FactionNumbers {
    int64_t funds = 0;
    int64_t fundsLimit = 0;
    int64_t productionCountLimit = 0;
    std::array<int64_t, 3> shares{};  // air, land, sea
    std::array<int64_t, FactionRecord::kDivisionLimitCount> divisionLimits{};

    static FactionNumbers of(const FactionRecord& f);
    // Stores the numbers, each cut to its field (call after the checks passed).
    void storeInto(FactionRecord& f) const;
};

// The first message of the row checks of one faction (shares, division limits, USER
// regiments and units); empty when they pass.
std::string checkFactionRow(const FactionNumbers& n);
// The checks over all participants after the rows: the production count limit while the rule
// that limits production is in force, then the funds limit against the funds.
std::string checkFactionTotals(const std::array<FactionNumbers, kFactionCount>& numbers,
                               uint8_t participating, bool productionLimited);
// The turn limit against the reinforcements; empty when it is accepted.
std::string checkTurnLimit(int turnLimit, int latestTurn);

// --- Alliance groups -------------------------------------------------------------------------
// groups[s] is the set of slots (bit per slot) in slot s's alliance group; `participating` the
// set of slots that take part.
using AllianceGroups = std::array<uint8_t, kFactionCount>;

uint8_t participatingSlots(const std::array<FactionRecord, kFactionCount>& factions);
int memberCount(uint8_t set);
// Whether box j of slot p's row can be changed.
bool allianceBoxEnabled(uint8_t participating, int p, int j);
// Box j of slot p's row ticked / cleared.
void joinAlliance(AllianceGroups& groups, uint8_t participating, int p, int j);
void leaveAlliance(AllianceGroups& groups, int p, int j);
// A slot stopped taking part (`participating` without it): when the remaining factions would
// all be one group, the lowest of them is split off.
void afterWithdrawal(AllianceGroups& groups, uint8_t participating);

}  // namespace kv
