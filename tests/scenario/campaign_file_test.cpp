// Campaign records and files: fields at their offsets, the link depth, the written layout,
// reopening and saving again, hostile directories, and the maps a save cannot find.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "framework/cp932.h"
#include "scenario/campaign_file.h"
#include "support/test_paths.h"
#include "tests/scenario/campaign_fixture.h"

namespace kv {
namespace {

using kvtest::CampaignBuilder;
using kvtest::getU32;
using kvtest::tinyMap;

std::string sjis(const char* utf8) {
    return encodeCp932(utf8).value();
}

TEST(CampaignRecords, FieldsSitAtTheirOffsetsAndTextsStayInsideTheirFields) {
    CampaignData data;
    data.setStageCount(7);
    data.setMapCount(9);
    data.setUserFaction(4);
    data.setOperatingRank(49, 5);
    data.setOperatingRank(50, 1);  // no such slot: nothing changes
    CampaignMap entry;
    entry.setLink(kDrawLink, kLinkMap, 12);
    entry.setLinkedFrom(3);
    entry.setMapName("abc");
    data.setMap(49, entry);
    data.setMap(50, entry);
    CampaignData expected;
    expected.bytes[34] = 7;
    expected.bytes[35] = 9;
    expected.bytes[2486] = 4;
    expected.bytes[2487 + 49] = 5;
    const size_t at = 36 + 49 * 49;
    expected.bytes[at + 1] = kLinkMap;
    expected.bytes[at + 4] = 12;
    expected.bytes[at + 48] = 3;
    std::memcpy(&expected.bytes[at + 6], "abc", 3);
    EXPECT_TRUE(data == expected);
    EXPECT_EQ(data.map(49).linkedSlot(kDrawLink), 12);
    EXPECT_EQ(data.map(49).linkedSlot(kVictoryLink), -1);

    // A name of 40 bytes keeps its first 16 characters (32 bytes) and a terminator.
    const std::string kanji = sjis("漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字");
    data.setName(kanji);
    EXPECT_EQ(data.name(), kanji.substr(0, 32));
    EXPECT_EQ(data.bytes[32], 0);
    // Stored fields without a terminator end at their width, never splitting a character.
    std::memset(&data.bytes[0], 'x', 32);
    data.bytes[32] = 0x88;  // a lead byte whose trail byte is past the field
    EXPECT_EQ(data.name(), std::string(32, 'x'));
    std::memset(&data.bytes[at + 6], 'y', 43);
    EXPECT_EQ(data.map(49).mapName(), std::string(42, 'y'));

    // Stored bytes that name no slot or faction lead nowhere.
    entry.setLink(kVictoryLink, kLinkMap, 50);
    EXPECT_EQ(entry.linkedSlot(kVictoryLink), -1);
    for (int f : {6, 200, 255}) {
        data.setUserFaction(static_cast<uint8_t>(f));
        EXPECT_EQ(data.decidedUserFaction(), -1);
    }
    const CampaignData fresh = CampaignData::newCampaign();
    EXPECT_EQ(fresh.name(), sjis("新規キャンペーン"));
    EXPECT_EQ(fresh.userFaction(), kUserFactionUndecided);
    EXPECT_EQ(fresh.stageCount() + fresh.mapCount(), 0);
}

TEST(CampaignRecords, LinkDepthIsTheLongestShortestChainFromTheFirstMap) {
    CampaignData data;
    CampaignSlotsUsed used{};
    auto link = [&](int from, int kind, int to) {
        CampaignMap m = data.map(from);
        m.setLink(kind, kLinkMap, static_cast<uint8_t>(to));
        data.setMap(from, m);
    };
    used[0] = used[1] = used[2] = true;
    link(0, kVictoryLink, 1);
    link(1, kVictoryLink, 2);
    link(2, kDefeatLink, 0);
    EXPECT_EQ(campaignStageCount(data, used), 3);
    // A shortcut from the first map makes slot 2 a second stage, however it is reached later.
    link(0, kDrawLink, 2);
    EXPECT_EQ(campaignStageCount(data, used), 2);
    EXPECT_EQ(campaignLinkDepths(data, used)[2], 2);
    // Links into unused slots or past the fifty lead nowhere.
    link(2, kVictoryLink, 3);
    link(2, kDrawLink, 200);
    EXPECT_EQ(campaignStageCount(data, used), 2);
    used[0] = false;
    EXPECT_EQ(campaignStageCount(data, used), 0);
    used[0] = used[7] = true;
    updateCampaignCounts(data, used);
    EXPECT_EQ(data.mapCount(), 4);
    EXPECT_EQ(data.stageCount(), 2);
}

TEST(CampaignFile, WritesTheLayoutByteForByte) {
    // No maps: fifty empty entries, all at the end of the campaign data.
    CampaignData data = CampaignData::newCampaign();
    std::array<std::string, kCampaignSlots> maps{};
    const std::string empty = campaignFileBytes(data, maps);
    ASSERT_EQ(empty.size(), 3409u);
    for (int e = 1; e <= 50; ++e) {
        EXPECT_EQ(getU32(empty, 20 + 12 * size_t(e)), 3409u) << e;
        EXPECT_EQ(getU32(empty, 24 + 12 * size_t(e)), 0u) << e;
    }
    // Slots 0 and 2 used: the builder lays the file out independently of the writer.
    CampaignBuilder b;
    b.map(0, tinyMap({0}), "zero").map(2, tinyMap({0}) + "tail", "two", 0).user(0).counts(1, 2);
    std::memcpy(data.data(), b.data.data(), CampaignData::kSize);
    maps[0] = b.maps[0];
    maps[2] = b.maps[2];
    const std::string written = campaignFileBytes(data, maps);
    EXPECT_TRUE(written == b.build());
    EXPECT_EQ(getU32(written, 20 + 12 * 2), getU32(written, 20 + 12 * 3));
    EXPECT_EQ(getU32(written, 24 + 12 * 2), 0u);
    EXPECT_TRUE(empty == CampaignBuilder{.data = empty.substr(872)}.build());

    // Written to disk through a temporary file beside the target.
    kvtest::TempDir dir;
    writeCampaignFile(dir.file("c.kvc"), data, maps);
    EXPECT_TRUE(kvtest::readFile(dir.file("c.kvc")) == written);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(CampaignFile, ReopeningAndSavingAgainWritesTheSameBytes) {
    CampaignBuilder b;
    b.map(0, tinyMap({1}), "first").map(3, tinyMap({1}, "x") + std::string(100, '\x7f'), "last", 0);
    b.link(0, kVictoryLink, kLinkMap, 3).link(3, kDefeatLink, kLinkRetry).user(1).rank(3, 4);
    b.counts(2, 2);
    const std::string file = b.build();
    CampaignContents c;
    ASSERT_TRUE(readCampaignBytes(file, c).ok());
    EXPECT_EQ(c.data.name(), "");
    EXPECT_TRUE(c.maps[3] == b.maps[3]);
    const CampaignSources sources = sourcesOf(c);
    const std::vector<LoadedCampaignMap> loaded = loadedMapsOf(c);
    EXPECT_TRUE(sources[0].used && sources[3].used && !sources[1].used);
    EXPECT_EQ(sources[3].blobIndex, 3);
    EXPECT_TRUE(sources[3].sourcePath.empty());
    EXPECT_EQ(loaded[3].name, "last");
    const GatheredCampaignMaps gathered = gatherCampaignMaps(sources, loaded);
    EXPECT_TRUE(gathered.missing.empty());
    EXPECT_TRUE(campaignFileBytes(c.data, gathered.maps) == file);
}

TEST(CampaignFile, HostileDirectoriesAreRefusedWholeAndNothingOutsideTheFileIsRead) {
    const std::string good = CampaignBuilder().map(0, tinyMap({0})).map(1, tinyMap({0})).build();
    const uint32_t length = static_cast<uint32_t>(good.size());
    struct Case {
        const char* what;
        std::function<void(CampaignBuilder&)> change;
        std::string (*cut)(const std::string&);
        CampaignReadResult::Status status;
        int entry = -1;
    };
    auto keep = [](const std::string& s) { return s; };
    const Case cases[] = {
        {"another magic", [](CampaignBuilder& b) { b.magic = "TALMACAMPAIGN002"; }, keep,
         CampaignReadResult::NotACampaign},
        {"shorter than the magic", [](CampaignBuilder&) {},
         [](const std::string& s) { return s.substr(0, 15); }, CampaignReadResult::NotACampaign},
        {"cut after the magic", [](CampaignBuilder&) {},
         [](const std::string& s) { return s.substr(0, 18); }, CampaignReadResult::BadHeader},
        {"header size 873", [](CampaignBuilder& b) { b.headerSize = 873; }, keep,
         CampaignReadResult::BadHeader},
        {"header without entry 0", [](CampaignBuilder& b) { b.headerSize = 31; }, keep,
         CampaignReadResult::BadHeader},
        {"cut inside the header", [](CampaignBuilder&) {},
         [](const std::string& s) { return s.substr(0, 500); }, CampaignReadResult::BadHeader},
        {"map past the end",
         [&](CampaignBuilder& b) {
             b.entries[2] = {length - 10, 11, 1};
         },
         keep, CampaignReadResult::EntryPastEnd, 2},
        {"size near 2^32",
         [](CampaignBuilder& b) {
             b.entries[1] = {3409, 0xFFFFFFFFu, 1};
         },
         keep, CampaignReadResult::EntryPastEnd, 1},
        {"offset wrapping in 32 bits",
         [](CampaignBuilder& b) {
             b.entries[50] = {0xFFFFFFF0u, 0x20, 1};
         },
         keep, CampaignReadResult::EntryPastEnd, 50},
        {"campaign data past the end",
         [&](CampaignBuilder& b) {
             b.entries[0] = {length, 1, 1};
         },
         keep, CampaignReadResult::EntryPastEnd, 0},
    };
    for (const Case& c : cases) {
        CampaignBuilder b = CampaignBuilder().map(0, tinyMap({0})).map(1, tinyMap({0}));
        c.change(b);
        CampaignContents out;
        out.maps[4] = "left from before";
        out.data.setName("old");
        const CampaignReadResult r = readCampaignBytes(c.cut(b.build()), out);
        EXPECT_EQ(r.status, c.status) << c.what;
        EXPECT_EQ(r.entry, c.entry) << c.what;
        EXPECT_EQ(out.usedSlots(), CampaignSlotsUsed{}) << c.what;
        EXPECT_EQ(out.data.name(), "") << c.what;
        EXPECT_EQ(out.data.decidedUserFaction(), -1) << c.what;
    }

    // What is read lies inside the file, whatever the entries say.
    CampaignBuilder odd = CampaignBuilder().map(0, tinyMap({0})).user(2);
    odd.entries[2] = {872, 100, 7};         // slot 1 overlaps the campaign data
    odd.entries[3] = {3409, 50, 1};         // slot 2 overlaps slot 0
    odd.entries[51] = {0xFFFFFFFFu, 9, 9};  // entries after the fifty maps are never read
    odd.entries[0] = {900, 5000, 1};        // more than 2537 bytes: the first 2537 are taken
    std::string file = odd.build();
    CampaignContents c;
    ASSERT_TRUE(readCampaignBytes(file, c).ok());
    EXPECT_TRUE(c.maps[1] == file.substr(872, 100));
    EXPECT_TRUE(c.maps[2] == file.substr(3409, 50));
    EXPECT_TRUE(std::string(reinterpret_cast<const char*>(c.data.data()), 2537) ==
                file.substr(900, 2537));
    // A short campaign data block leaves the rest zero; a header of entry 0 alone holds no maps.
    odd.entries[0] = {872, 100, 1};
    odd.headerSize = 32;
    ASSERT_TRUE(readCampaignBytes(odd.build(), c).ok());
    EXPECT_EQ(c.usedSlots(), CampaignSlotsUsed{});
    EXPECT_EQ(c.data.userFaction(), 0);

    kvtest::TempDir dir;
    EXPECT_EQ(readCampaignFile(dir.file("missing.kvc"), c).status, CampaignReadResult::Unreadable);
    EXPECT_EQ(readCampaignFile(dir.path(), c).status, CampaignReadResult::Unreadable);
}

TEST(CampaignFile, ASaveListsTheUsedSlotsItHasNoMapFor) {
    kvtest::TempDir dir;
    const std::string map = tinyMap({0});
    kvtest::writeFile(dir.file("a.kvs"), map);
    kvtest::writeFile(dir.file("empty.kvs"), "");
    CampaignSources sources;
    sources[0] = {.used = true, .sourcePath = dir.file("a.kvs")};
    sources[1] = {.used = true, .sourcePath = dir.file("deleted.kvs")};
    sources[2] = {.used = true, .blobIndex = 1};
    sources[3] = {.used = true, .blobIndex = 7};
    sources[4] = {.used = true, .sourcePath = dir.file("empty.kvs")};
    sources[5] = {.used = true, .sourcePath = dir.path()};
    sources[6] = {.used = true, .blobIndex = 0};  // a copy without data
    sources[9] = {.used = false, .sourcePath = dir.file("a.kvs")};
    std::vector<LoadedCampaignMap> loaded(2);
    loaded[1].bytes = "loaded copy";
    const GatheredCampaignMaps g = gatherCampaignMaps(sources, loaded);
    EXPECT_EQ(g.missing, (std::vector<int>{1, 3, 4, 5, 6}));
    EXPECT_TRUE(g.maps[0] == map);
    EXPECT_EQ(g.maps[2], "loaded copy");
    EXPECT_EQ(g.maps[9], "");
}

}  // namespace
}  // namespace kv
