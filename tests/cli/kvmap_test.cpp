// The command-line tool on the generated program folder and on a broken one.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>

#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/byte_cursor.h"
#include "framework/profile.h"
#include "support/test_paths.h"

namespace {

namespace fs = std::filesystem;

using kvtest::CliRun;

CliRun run(const std::string& args) {
    return kvtest::runKvmap(args);
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The numbers of the JSON array under `key` in indented output.
std::vector<int> jsonNumbers(const std::string& json, const std::string& key) {
    std::vector<int> numbers;
    size_t at = json.find("\"" + key + "\": [");
    if (at == std::string::npos) return {-1};
    const size_t end = json.find(']', at);
    for (at = json.find('[', at) + 1; at < end; ++at)
        if (std::isdigit(static_cast<unsigned char>(json[at]))) {
            size_t used = 0;
            numbers.push_back(std::stoi(json.substr(at), &used));
            at += used;
        }
    return numbers;
}

uint32_t u32At(const std::string& b, size_t at) {
    return kv::loadU32(&b[at]);
}

TEST(KvmapData, SummaryAndJsonOfTheSampleData) {
    const CliRun summary = run("data");
    EXPECT_EQ(summary.code, 0) << summary.out;
    EXPECT_NE(summary.out.find("terrain types:"), std::string::npos);
    const CliRun json = run("data --json");
    ASSERT_EQ(json.code, 0);
    for (const char* key : {"\"terrainTypes\"", "\"armaments\"", "\"weapons\"", "\"productTypes\"",
                            "\"ruleSets\"", "\"presets\"", "\"anthemNames\"", "\"musicFiles\"",
                            "\"unitDataCount\"", "\"首都\"", "\"moveCost\""})
        EXPECT_NE(json.out.find(key), std::string::npos) << key;
}

TEST(KvmapData, AMissingRequiredFileIsReportedWithExitCodeTwo) {
    kvtest::TempDir dir;
    // A program folder with terrain but no armaments.
    std::filesystem::copy_file(kvtest::distDir() + "/land.dat", dir.file("land.dat"));
    const CliRun r = run("data --program-dir " + dir.path());
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.out.find("兵装データ warm.dat が見つかりません"), std::string::npos) << r.out;
    const CliRun empty = run("data --program-dir " + dir.path() + "/nothing");
    EXPECT_EQ(empty.code, 2);
    EXPECT_NE(empty.out.find("地形データ land.dat が見つかりません"), std::string::npos);
    EXPECT_EQ(run("frobnicate").code, 2);
}

TEST(KvmapInfo, DescribesAMapFileAndRefusesOthers) {
    kvtest::TempDir dir;
    kvtest::copySampleData(dir.path());
    kv::setProgramPath(dir.file("kvornme"));
    {
        kv::MapDocument doc;
        doc.loadResources();
        doc.resetToNewMap();
        doc.scenarioTexts.briefingPicture.assign(1234, 7);
        kv::writeMapFile(doc, dir.file("m.kvs"), kv::MapFileKind::Scenario);
        kv::writeMapFile(doc, dir.file("m.kvt"), kv::MapFileKind::Intermediate);
        kv::writeMapFile(doc, dir.file("m.kvn"), kv::MapFileKind::Normal);
    }
    kv::setProgramPath("");
    const CliRun json = run("info --json " + dir.file("m.kvs"));
    ASSERT_EQ(json.code, 0) << json.out;
    for (const char* key : {"\"kind\": \"scenario\"", "\"version\": 7", "\"name\": \"新規マップ\"",
                            "\"briefing\": 1234", "\"divisionLimits\"", "\"ruleSettings\""})
        EXPECT_NE(json.out.find(key), std::string::npos) << key << json.out.substr(0, 400);
    EXPECT_NE(run("info --json " + dir.file("m.kvt")).out.find("\"kind\": \"intermediate\""),
              std::string::npos);
    EXPECT_NE(run("info --json " + dir.file("m.kvn")).out.find("\"kind\": \"normal\""),
              std::string::npos);
    const CliRun summary = run("info " + dir.file("m.kvn"));
    EXPECT_EQ(summary.code, 0);
    EXPECT_NE(summary.out.find("64 x 64"), std::string::npos) << summary.out;

    kvtest::writeFile(dir.file("x.kvn"), "this is not a map file at all");
    const CliRun bad = run("info " + dir.file("x.kvn"));
    EXPECT_EQ(bad.code, 2);
    EXPECT_NE(bad.out.find("not a map file"), std::string::npos);
    EXPECT_EQ(run("info " + dir.file("missing.kvn")).code, 2);
}

TEST(KvmapInfo, SaysWhatKeepsAFileFromBeingAMap) {
    kvtest::TempDir dir;
    fs::create_directories(dir.file("folder.kvn"));
    ASSERT_EQ(::mkfifo(dir.file("fifo.kvn").c_str(), 0600), 0);
    kvtest::writeFile(dir.file("huge.kvn"), "");
    fs::resize_file(dir.file("huge.kvn"), (std::uintmax_t{1} << 30) + 1);  // sparse
    kvtest::writeFile(dir.file("empty.kvn"), "");
    const struct {
        const char* file;
        const char* says;
    } cases[] = {{"folder.kvn", "a folder"},
                 {"fifo.kvn", "not a regular file"},
                 {"huge.kvn", "too large to be a map file"},
                 {"empty.kvn", "an empty file"},
                 {"missing.kvn", "no such file"}};
    for (const auto& c : cases) {
        const CliRun r = run("info " + dir.file(c.file));
        EXPECT_EQ(r.code, 2) << c.file;
        EXPECT_TRUE(contains(r.out, c.says)) << c.file << ": " << r.out;
        EXPECT_FALSE(contains(r.out, "オープン")) << r.out;
    }
    // A map of an earlier edition is one `convert` takes: described, not refused.
    const CliRun old = run("info " + kvtest::distDir() + "/map/legacy/deluxe.bxs");
    EXPECT_EQ(old.code, 0) << old.out;
    EXPECT_TRUE(contains(old.out, "earlier edition, ケステルドラヴィ2.0DX (version 4")) << old.out;
    const CliRun oldJson = run("info --json " + kvtest::distDir() + "/map/legacy/modern.fws");
    EXPECT_TRUE(contains(oldJson.out, "\"kind\": \"earlierEdition\"")) << oldJson.out;
    EXPECT_EQ(jsonNumbers(oldJson.out, "truncated"), std::vector<int>{});

    // The hex size is a whole number or nothing.
    const std::string map = kvtest::distDir() + "/map/demo_map.kvn";
    const CliRun size = run("export " + map + " " + dir.file("x.bmp") + " --hex-size 48abc");
    EXPECT_EQ(size.code, 2);
    EXPECT_TRUE(contains(size.out, "48abc")) << size.out;
    EXPECT_FALSE(fs::exists(dir.file("x.bmp")));
}

TEST(KvmapInfo, FilesCutShortOrPointingPastTheEndAreReportedNotTrusted) {
    kvtest::TempDir dir;
    const std::string good = kvtest::readFile(kvtest::distDir() + "/map/demo_map.kvn");
    ASSERT_GT(good.size(), 600u);
    // Cut inside the regiments of faction 0.
    kvtest::writeFile(dir.file("cut.kvn"), good.substr(0, u32At(good, 20 + 12 * 16) + 100));
    // Section 1 at an offset whose sum with its size passes 2^32.
    std::string wrap = good;
    for (int k = 0; k < 4; ++k) wrap[32 + size_t(k)] = k ? '\xFF' : '\xF0';
    kvtest::writeFile(dir.file("wrap.kvn"), wrap);

    EXPECT_EQ(
        jsonNumbers(run("info --json " + kvtest::distDir() + "/map/demo_map.kvn").out, "truncated"),
        std::vector<int>{});
    const CliRun cut = run("info --json " + dir.file("cut.kvn"));
    EXPECT_EQ(cut.code, 0) << cut.out;
    EXPECT_EQ(jsonNumbers(cut.out, "truncated"), (std::vector<int>{16, 17, 18, 19, 20, 21}));
    const CliRun wrapped = run("info --json " + dir.file("wrap.kvn"));
    EXPECT_EQ(wrapped.code, 0) << wrapped.out;
    EXPECT_EQ(jsonNumbers(wrapped.out, "truncated"), std::vector<int>{1});
    EXPECT_TRUE(contains(wrapped.out, "\"sizeOutOfRange\": true"));

    // The check counts a file cut short as a problem.
    const CliRun check = run("check " + dir.file("cut.kvn"));
    EXPECT_EQ(check.code, 1) << check.out;
    EXPECT_TRUE(contains(check.out, "ファイルが途中で切れています。")) << check.out;
    EXPECT_TRUE(contains(check.out, "連隊編成（陣営1・2・3・4・5・6）")) << check.out;
}

TEST(Kvmap, CommandsThatOnlyReadWriteNoSettingsAndCutRepeatedMessagesShort) {
    kvtest::TempDir program, work;
    kvtest::copySampleData(program.path());
    const std::string map = program.file("map/demo_map.kvn");
    const std::string dirOption = " --program-dir " + program.path();
    // A table of armaments that none of the weapons' slots name.
    const std::string armaments = kvtest::readFile(program.file("warm.dat"));
    kvtest::writeFile(program.file("warm.dat"), armaments.substr(0, armaments.find('\n') + 1) +
                                                    "XX,XX,1,4,0,30,45,10,40,5,0,0,10,0,a,40\r\n");
    for (const std::string& args : {"info " + map, "check " + map, std::string("data"),
                                    "export " + map + " " + work.file("m.bmp"),
                                    "convert " + map + " --out " + work.file("out")}) {
        const CliRun r = run(args + dirOption);
        EXPECT_FALSE(fs::exists(program.file("kvmap.ini"))) << args << r.out;
        if (args != "data") continue;
        // One slot after another has no armament: a few are shown and the rest counted.
        size_t shown = 0;
        for (size_t at = r.out.find("一致する武装"); at != std::string::npos;
             at = r.out.find("一致する武装", at + 1))
            ++shown;
        EXPECT_EQ(shown, 6u) << r.out;  // five messages and the line that counts the rest
        EXPECT_TRUE(
            contains(r.out, "more messages \"一致する武装がみつかりませんでした。\" not shown"))
            << r.out;
    }
}

}  // namespace
