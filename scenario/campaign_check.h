// The check of a campaign as the game will play it: every link leads to a map, every map
// reads and has the campaign's player faction, the stored counts agree, and every map can
// be reached from the first one.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "document/faction_record.h"
#include "scenario/campaign_file.h"

namespace kv {

class MapDocument;

// What one embedded map file is, as the map reader takes it.
struct CampaignMapInfo {
    int slot = -1;
    bool readable = false;          // reads as a map, whole
    std::string damage;             // UTF-8, why it does not read when it does not
    bool scenario = false;          // holds scenario texts
    std::vector<int> userFactions;  // the factions marked USER
    std::array<std::string, kFactionCount> factionNames{};  // CP932
};

struct CampaignProblem {
    enum Kind { Link, Unreadable, UserFaction, StageCount, MapCount, Unreachable, OperatingRank };
    Kind kind;
    int slot = -1;     // -1 for the campaign as a whole
    std::string text;  // UTF-8, English with the stored names
};
// "link", "unreadable", "userFaction", "stageCount", "mapCount", "unreachable",
// "operatingRank".
const char* campaignProblemKindName(CampaignProblem::Kind kind);

// Reads a map file's bytes into `scratch` (whose records are overwritten) to tell whether
// it reads and which factions the player commands. Needs no game data.
CampaignMapInfo inspectCampaignMap(std::string_view mapFile, MapDocument& scratch);

struct CampaignReport {
    int depth = 0;                      // the link depth the file should store as `stageCount`
    int count = 0;                      // the used slots the file should store as `mapCount`
    std::vector<CampaignMapInfo> maps;  // the used slots, in slot order
    std::vector<CampaignProblem> problems;
};
// Checks a campaign read from a file; `scratch` reads each embedded map in turn.
CampaignReport checkCampaign(const CampaignContents& campaign, MapDocument& scratch);

}  // namespace kv
