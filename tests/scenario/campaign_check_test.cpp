// The campaign check: a sound campaign has no problems; each fault is found at its slot.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <utility>

#include "document/map_document.h"
#include "scenario/campaign_check.h"
#include "tests/scenario/campaign_fixture.h"

namespace kv {
namespace {

using kvtest::CampaignBuilder;
using kvtest::tinyMap;

std::set<std::pair<int, std::string>> found(const CampaignReport& r) {
    std::set<std::pair<int, std::string>> out;
    for (const CampaignProblem& p : r.problems) {
        EXPECT_FALSE(p.text.empty());
        out.insert({p.slot, campaignProblemKindName(p.kind)});
    }
    return out;
}

CampaignReport check(const std::string& file) {
    CampaignContents c;
    EXPECT_TRUE(readCampaignBytes(file, c).ok());
    auto scratch = std::make_unique<MapDocument>();
    return checkCampaign(c, *scratch);
}

TEST(CampaignCheck, ASoundChainHasNoProblems) {
    CampaignBuilder b;
    b.map(0, tinyMap({3})).map(1, tinyMap({3}), "", 0).map(2, tinyMap({3}), "", 1).user(3);
    b.link(0, kVictoryLink, kLinkMap, 1).link(0, kDefeatLink, kLinkRetry);
    b.link(1, kVictoryLink, kLinkMap, 2).link(1, kDrawLink, kLinkEnd);
    b.link(2, kVictoryLink, kLinkEnding).link(2, kDefeatLink, kLinkMap, 0).counts(3, 3);
    const CampaignReport r = check(b.build());
    EXPECT_TRUE(r.problems.empty()) << r.problems.front().text;
    EXPECT_EQ(r.depth, 3);
    EXPECT_EQ(r.count, 3);
    ASSERT_EQ(r.maps.size(), 3u);
    EXPECT_EQ(r.maps[2].slot, 2);
    EXPECT_TRUE(r.maps[2].readable);
    EXPECT_EQ(r.maps[2].userFactions, std::vector<int>{3});
}

TEST(CampaignCheck, EachFaultIsFoundAtItsSlot) {
    CampaignBuilder b;
    b.map(0, tinyMap({0})).user(0).counts(5, 1);
    b.link(0, kVictoryLink, kLinkMap, 1).link(0, kDrawLink, kLinkMap, 2);
    b.link(0, kDefeatLink, kLinkMap, 3).map(1, tinyMap({0}) + "");
    // Slot 1: links to an unused slot, to no slot at all, and of an unknown type.
    b.link(1, kVictoryLink, kLinkMap, 9).link(1, kDrawLink, kLinkMap, 77).link(1, kDefeatLink, 4);
    b.map(2, "not a map file at all");
    b.map(3, tinyMap({0}).substr(0, 1500));  // cut inside the faction records
    b.link(3, kVictoryLink, kLinkMap, 4).link(3, kDrawLink, kLinkMap, 5);
    b.link(3, kDefeatLink, kLinkMap, 6);
    b.map(4, tinyMap({}));
    b.map(5, tinyMap({0, 2}));
    b.map(6, tinyMap({1}));
    b.map(8, tinyMap({0})).rank(8, 6);  // nothing leads here
    const CampaignReport r = check(b.build());
    const std::set<std::pair<int, std::string>> expected = {
        {-1, "stageCount"},   {-1, "mapCount"},   {1, "link"},        {2, "unreadable"},
        {3, "unreadable"},    {4, "userFaction"}, {5, "userFaction"}, {6, "userFaction"},
        {8, "operatingRank"}, {8, "unreachable"}};
    EXPECT_EQ(found(r), expected);
    EXPECT_EQ(
        std::count_if(r.problems.begin(), r.problems.end(),
                      [](const CampaignProblem& p) { return p.kind == CampaignProblem::Link; }),
        3);
    EXPECT_EQ(r.depth, 3);
    EXPECT_EQ(r.count, 8);
    EXPECT_FALSE(r.maps[2].readable);
    EXPECT_EQ(r.maps[5].userFactions, (std::vector<int>{0, 2}));

    // Before any map fixed the player's faction, the campaign says so once.
    b.user(255);
    const std::set<std::pair<int, std::string>> undecided = found(check(b.build()));
    EXPECT_TRUE(undecided.count({-1, "userFaction"}));
    EXPECT_FALSE(undecided.count({6, "userFaction"}));
    EXPECT_TRUE(undecided.count({5, "userFaction"}));
}

}  // namespace
}  // namespace kv
