// The campaign check: the links, the embedded maps and their player factions, the stored
// counts and the maps no chain reaches.
#include "scenario/campaign_check.h"

#include <algorithm>
#include <optional>

#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/cp932.h"

namespace kv {

namespace {

const char* linkName(int kind) {
    static const char* const names[kLinkKinds] = {"victory", "draw", "defeat"};
    return names[kind];
}

std::string factionText(const CampaignMapInfo& info, int faction) {
    const std::string name = decodeCp932Lossy(info.factionNames[size_t(faction)]);
    return std::to_string(faction) + (name.empty() ? "" : " (" + name + ")");
}

class Checker {
public:
    Checker(const CampaignContents& c, CampaignReport& r)
        : c_(c), r_(r), used_(c.usedSlots()), user_(c.data.decidedUserFaction()) {}

    void campaignWide() {
        r_.count = static_cast<int>(std::count(used_.begin(), used_.end(), true));
        r_.depth = campaignStageCount(c_.data, used_);
        if (r_.count > 0 && user_ < 0)
            add(CampaignProblem::UserFaction, -1,
                "the campaign's USER faction is not decided (stored " +
                    std::to_string(c_.data.userFaction()) + ")");
        if (c_.data.stageCount() != r_.depth)
            add(CampaignProblem::StageCount, -1,
                "stored stageCount " + std::to_string(c_.data.stageCount()) +
                    " differs from the link depth " + std::to_string(r_.depth));
        if (c_.data.mapCount() != r_.count)
            add(CampaignProblem::MapCount, -1,
                "stored mapCount " + std::to_string(c_.data.mapCount()) +
                    " differs from the maps held, " + std::to_string(r_.count));
    }

    void slot(int k, const CampaignMapInfo& info, int depth) {
        links(k);
        if (!info.readable) {
            add(CampaignProblem::Unreadable, k,
                "the embedded map (" + std::to_string(c_.maps[size_t(k)].size()) +
                    " bytes) cannot be read: " + info.damage);
        } else {
            userFaction(k, info);
        }
        if (c_.data.operatingRank(k) >= kOperatingRanks)
            add(CampaignProblem::OperatingRank, k,
                "operating rank " + std::to_string(c_.data.operatingRank(k)) +
                    " is none of the rule classes 0..5");
        if (depth == 0)
            add(CampaignProblem::Unreachable, k, "no chain of links from the first map reaches it");
    }

private:
    void links(int k) {
        const CampaignMap entry = c_.data.map(k);
        for (int kind = 0; kind < kLinkKinds; ++kind) {
            const int type = entry.linkType(kind);
            const int target = entry.linkTarget(kind);
            if (type > kLinkMap)
                add(CampaignProblem::Link, k,
                    std::string(linkName(kind)) + " link has the unknown type " +
                        std::to_string(type));
            else if (type == kLinkMap && (target >= kCampaignSlots || !used_[size_t(target)]))
                add(CampaignProblem::Link, k,
                    std::string(linkName(kind)) + " link leads to slot " + std::to_string(target) +
                        ", which holds no map");
        }
    }

    void userFaction(int k, const CampaignMapInfo& info) {
        const std::vector<int>& users = info.userFactions;
        if (users.empty()) {
            add(CampaignProblem::UserFaction, k, "the map has no USER faction");
        } else if (users.size() > 1) {
            std::string list;
            for (int f : users) list += (list.empty() ? "" : ", ") + factionText(info, f);
            add(CampaignProblem::UserFaction, k,
                "the map has " + std::to_string(users.size()) + " USER factions: " + list);
        } else if (user_ >= 0 && users.front() != user_) {
            add(CampaignProblem::UserFaction, k,
                "the map's USER faction is " + factionText(info, users.front()) +
                    ", the campaign's is " + std::to_string(user_));
        }
    }

    void add(CampaignProblem::Kind kind, int slot, std::string text) {
        r_.problems.push_back({kind, slot, std::move(text)});
    }

    const CampaignContents& c_;
    CampaignReport& r_;
    const CampaignSlotsUsed used_;
    const int user_;
};

}  // namespace

const char* campaignProblemKindName(CampaignProblem::Kind kind) {
    switch (kind) {
        case CampaignProblem::Link: return "link";
        case CampaignProblem::Unreadable: return "unreadable";
        case CampaignProblem::UserFaction: return "userFaction";
        case CampaignProblem::StageCount: return "stageCount";
        case CampaignProblem::MapCount: return "mapCount";
        case CampaignProblem::Unreachable: return "unreachable";
        case CampaignProblem::OperatingRank: return "operatingRank";
    }
    return "";
}

CampaignMapInfo inspectCampaignMap(std::string_view mapFile, MapDocument& scratch) {
    CampaignMapInfo info;
    // A file with fewer faction records than six leaves the rest as it finds them.
    for (FactionRecord& f : scratch.factions) f.clear();
    MapReadReport report;
    const bool read = readMapFileBytes(scratch, mapFile, &report);
    info.readable = read && !report.damaged();
    if (report.outcome == MapReadReport::NotAMap)
        info.damage = "not a map file of this program";
    else if (!info.readable)
        info.damage = mapDamageText(report);
    const std::optional<MapFileHeader> header = parseMapFileHeader(mapFile);
    info.scenario = header && versionOfMagic(header->magic) > 0 &&
                    header->sections[kScenarioTextsSection].count > 0;
    for (int f = 0; f < kFactionCount; ++f) {
        info.factionNames[size_t(f)] = scratch.factions[size_t(f)].name();
        if (scratch.factions[size_t(f)].participation() == kFactionUser)
            info.userFactions.push_back(f);
    }
    return info;
}

CampaignReport checkCampaign(const CampaignContents& campaign, MapDocument& scratch) {
    CampaignReport report;
    Checker check(campaign, report);
    check.campaignWide();
    const std::array<int, kCampaignSlots> depths =
        campaignLinkDepths(campaign.data, campaign.usedSlots());
    for (int k = 0; k < kCampaignSlots; ++k) {
        if (!campaign.used(k)) continue;
        CampaignMapInfo info = inspectCampaignMap(campaign.maps[size_t(k)], scratch);
        info.slot = k;
        check.slot(k, info, depths[size_t(k)]);
        report.maps.push_back(std::move(info));
    }
    return report;
}

}  // namespace kv
