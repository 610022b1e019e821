// The command-line tool on the generated program folder and on a broken one.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/profile.h"
#include "support/test_paths.h"

namespace {

using kvtest::CliRun;

CliRun run(const std::string& args) { return kvtest::runKvmap(args); }

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
        kv::writeMapFile(doc, dir.file("m.kvs"), true);
        kv::writeIntermediateFile(doc, dir.file("m.kvt"));
        kv::writeMapFile(doc, dir.file("m.kvn"), false);
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

}  // namespace
