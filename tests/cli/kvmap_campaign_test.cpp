// `kvmap campaign` on the demo campaign, on campaigns with problems and on hostile files.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "scenario/campaign_file.h"
#include "support/test_paths.h"
#include "tests/scenario/campaign_fixture.h"

namespace {

namespace fs = std::filesystem;

using kvtest::CampaignBuilder;
using kvtest::CliRun;
using kvtest::tinyMap;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The number under `"key": ` in indented JSON; -1 when there is none.
int jsonNumber(const std::string& json, const std::string& key) {
    std::smatch m;
    if (!std::regex_search(json, m, std::regex("\"" + key + "\": (-?[0-9]+)"))) return -1;
    return std::stoi(m[1]);
}

int occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(KvmapCampaign, TheDemoCampaignIsCleanAndItsMapsExtractByteForByte) {
    const std::string demo = kvtest::distDir() + "/map/demo_campaign.kvc";
    const CliRun text = kvtest::runKvmap("campaign " + demo);
    EXPECT_EQ(text.code, 0) << text.out;
    EXPECT_TRUE(contains(text.out, "no problems found")) << text.out;
    const CliRun json = kvtest::runKvmap("campaign --json " + demo);
    ASSERT_EQ(json.code, 0) << json.out;
    EXPECT_TRUE(std::regex_search(json.out, std::regex("\"problems\": \\[\\s*\\]"))) << json.out;
    const int maps = jsonNumber(json.out, "mapCount");
    EXPECT_GE(maps, 3);
    EXPECT_EQ(jsonNumber(json.out, "count"), maps);
    EXPECT_EQ(jsonNumber(json.out, "depth"), jsonNumber(json.out, "stageCount"));
    EXPECT_EQ(occurrences(json.out, "\"readable\": true"), maps);
    for (const char* type : {"\"type\": \"map\"", "\"type\": \"retry\"", "\"type\": \"end\""})
        EXPECT_TRUE(contains(json.out, type)) << type;

    kv::CampaignContents c;
    ASSERT_TRUE(kv::readCampaignFile(demo, c).ok());
    kvtest::TempDir dir;
    const std::string out = dir.file("maps");
    ASSERT_EQ(kvtest::runKvmap("campaign " + demo + " --extract " + out).code, 0);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(out)) names.push_back(e.path().filename().string());
    ASSERT_EQ(static_cast<int>(names.size()), maps);
    for (const std::string& name : names) {
        const int slot = std::stoi(name.substr(0, 2));
        EXPECT_EQ(name[2], '-') << name;
        EXPECT_EQ(fs::path(name).extension(), ".kvs") << name;
        EXPECT_TRUE(kvtest::readFile(out + "/" + name) == c.maps[size_t(slot)]) << name;
    }
    // An existing file is replaced only with --force.
    const std::string first = out + "/" + names.front();
    kvtest::writeFile(first, "edited");
    const CliRun again = kvtest::runKvmap("campaign " + demo + " --extract " + out);
    EXPECT_EQ(again.code, 1);
    EXPECT_TRUE(contains(again.out, "--force")) << again.out;
    EXPECT_EQ(kvtest::readFile(first), "edited");
    EXPECT_EQ(kvtest::runKvmap("campaign " + demo + " --extract " + out + " --force").code, 0);
    EXPECT_NE(kvtest::readFile(first), "edited");
}

TEST(KvmapCampaign, ProblemsAreListedWithTheirSlotAndKind) {
    kvtest::TempDir dir;
    CampaignBuilder b;
    b.map(0, tinyMap({0}), "start").user(0).counts(1, 2);
    b.link(0, kv::kVictoryLink, kv::kLinkMap, 5);
    b.map(1, tinyMap({0}), "stray", 0);
    // Slot 2 overlaps the campaign data: it reads, as bytes that are no map.
    b.map(2, tinyMap({0}));
    b.entries[3] = {872, 2000, 1};
    kvtest::writeFile(dir.file("bad.kvc"), b.build());
    const CliRun r = kvtest::runKvmap("campaign --json " + dir.file("bad.kvc"));
    EXPECT_EQ(r.code, 1) << r.out;
    for (const char* kind : {"link", "unreachable", "unreadable", "mapCount"})
        EXPECT_TRUE(contains(r.out, std::string("\"kind\": \"") + kind + "\"")) << kind;
    EXPECT_EQ(jsonNumber(r.out, "stageCount"), 1);
    EXPECT_EQ(jsonNumber(r.out, "count"), 3);
    const CliRun text = kvtest::runKvmap("campaign " + dir.file("bad.kvc"));
    EXPECT_EQ(text.code, 1);
    EXPECT_TRUE(contains(text.out, "slot 0 [link]: victory link leads to slot 5")) << text.out;
}

TEST(KvmapCampaign, FilesThatAreNoSoundCampaignAreRefusedWithExitCodeTwo) {
    kvtest::TempDir dir;
    const CampaignBuilder good = CampaignBuilder().map(0, tinyMap({0})).map(1, tinyMap({0}));
    const uint32_t length = static_cast<uint32_t>(good.build().size());
    struct Case {
        const char* name;
        CampaignBuilder file;
        const char* says;
    };
    CampaignBuilder header = good, pastEnd = good, huge = good;
    header.headerSize = 873;
    pastEnd.entries[2] = {length - 4, 5, 1};
    huge.entries[1] = {0xFFFFFFF0u, 0xFFFFFFF0u, 1};
    for (const Case& c :
         {Case{"header.kvc", header, "header size 873"},
          Case{"past.kvc", pastEnd, "entry 2 (the map of slot 1) runs past the end"},
          Case{"huge.kvc", huge, "entry 1 (the map of slot 0) runs past the end"}}) {
        kvtest::writeFile(dir.file(c.name), c.file.build());
        const CliRun r = kvtest::runKvmap("campaign --json " + dir.file(c.name));
        EXPECT_EQ(r.code, 2) << c.name;
        EXPECT_TRUE(contains(r.out, c.says)) << r.out;
    }
    kvtest::writeFile(dir.file("map.kvc"), tinyMap({0}));
    EXPECT_TRUE(
        contains(kvtest::runKvmap("campaign " + dir.file("map.kvc")).out, "not a campaign file"));
    const CliRun missing = kvtest::runKvmap("campaign " + dir.file("none.kvc"));
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(contains(missing.out, "no such file")) << missing.out;
    EXPECT_EQ(kvtest::runKvmap("campaign").code, 2);
}

}  // namespace
