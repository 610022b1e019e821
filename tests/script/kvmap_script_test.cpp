// `kvmap script` as a user runs it on the generated program folder, and the example scripts.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/test_paths.h"

namespace {

using kvtest::CliRun;
using kvtest::runKvmap;

const std::string kExamples = KV_EXAMPLES_DIR;

class KvmapScript : public testing::Test {
protected:
    void SetUp() override {
        kv::setProgramPath(kvtest::distDir() + "/kvmap");
        doc_ = std::make_unique<kv::MapDocument>();
        doc_->loadResources();
        doc_->resetToNewMap();
    }
    void TearDown() override {
        doc_.reset();
        kv::setProgramPath("");
    }
    std::string demo() const { return kvtest::distDir() + "/map/demo_scenario.kvs"; }
    std::string script(const std::string& name, const std::string& source) {
        kvtest::writeFile(dir_.file(name), source);
        return dir_.file(name);
    }
    kv::MapDocument& load(const std::string& path) {
        EXPECT_TRUE(kv::loadMapFile(*doc_, path)) << path;
        return *doc_;
    }
    std::map<int, int> terrainCounts(const kv::MapDocument& d) const {
        std::map<int, int> n;
        for (int r = 0; r < d.height(); ++r)
            for (int c = 0; c < d.width(); ++c) ++n[d.cellAt(c, r)->terrain];
        return n;
    }

    kvtest::TempDir dir_;
    kv::RecordingPrompter quiet_;
    kv::ScopedPrompter installed_{&quiet_};
    std::unique_ptr<kv::MapDocument> doc_;
};

TEST_F(KvmapScript, WritesOnlyWhenAskedAndAnErrorLeavesTheMapFileAlone) {
    const std::string map = dir_.file("m.kvs");
    kvtest::writeFile(map, kvtest::readFile(demo()));
    const std::string original = kvtest::readFile(map);

    const std::string edit =
        script("edit.js", "brush.terrain(1);\nmap.box(0, 0, 5, 5);\nprint('painted', args.who);\n");
    CliRun r = runKvmap("script " + edit + " " + map + " --arg who=me");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out, "painted me\n");
    EXPECT_EQ(kvtest::readFile(map), original) << "no --out, no save(): nothing written";

    r = runKvmap("script " + edit + " " + map + " --arg who=me --out " + dir_.file("out.kvs"));
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(load(dir_.file("out.kvs")).cellAt(5, 5)->terrain, 1);

    const std::string bad = script("bad.js", "brush.terrain(1);\nmap.box(0, 0, 5, 5);\nmap.save('" +
                                                 map + "');\nmap.pen(0, 999);\n");
    kvtest::writeFile(map, original);
    r = runKvmap("script " + bad + " " + map + " --out " + dir_.file("never.kvs"));
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.out.find(bad + ":4: RangeError: hex 0,999 lies outside"), std::string::npos)
        << r.out;
    EXPECT_NE(kvtest::readFile(map), original) << "the script's own save() happened";
    EXPECT_TRUE(kvtest::readFile(dir_.file("never.kvs")).empty()) << "--out is not written";

    r = runKvmap("script " + script("loop.js", "for (;;) {}") + " --timeout 0.3");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.out.find("interrupted"), std::string::npos) << r.out;
    EXPECT_EQ(runKvmap("script " + edit + " --arg novalue").code, 2);
    EXPECT_EQ(runKvmap("script " + edit + " --timeout -1").code, 2);
    EXPECT_EQ(runKvmap("script " + dir_.file("missing.js")).code, 2);

    // Without a map the script starts on a new map.
    r = runKvmap("script " +
                 script("size.js", "print(map.width, map.height, map.cell(9, 9).terrain)"));
    EXPECT_EQ(r.out, "64 64 30\n");
}

TEST_F(KvmapScript, ReplaceTerrainExampleRepaintsEveryHexOfTheTerrain) {
    const std::map<int, int> before = terrainCounts(load(demo()));
    ASSERT_GT(before.count(2), 0u) << "the demo map has forest";
    const CliRun r = runKvmap("script " + kExamples + "/replace_terrain.js " + demo() +
                              " --arg from=森林 --arg to=3 --out " + dir_.file("out.kvs"));
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out, "森林 -> 林: " + std::to_string(before.at(2)) + " hexes\n");
    std::map<int, int> after = terrainCounts(load(dir_.file("out.kvs")));
    EXPECT_EQ(after[2], 0);
    EXPECT_EQ(after[3], before.at(2) + (before.count(3) ? before.at(3) : 0));
}

TEST_F(KvmapScript, GarrisonExamplePutsATroopAtEveryOwnedCapital) {
    kv::MapDocument& d = load(demo());
    int capitals = 0, infantryBefore = 0;
    for (int r = 0; r < d.height(); ++r)
        for (int c = 0; c < d.width(); ++c)
            if (d.cellAt(c, r)->terrain == kv::kTerrainCapital && d.cellAt(c, r)->owner >= 1 &&
                d.cellAt(c, r)->owner <= 6)
                ++capitals;
    for (int f = 0; f < 6; ++f)
        for (int s = 0; s < d.troops.usedSlots(f); ++s)
            infantryBefore += d.troopAt(f, s)->inUse() && d.troopAt(f, s)->weaponId() == 1220;
    ASSERT_GT(capitals, 0);
    const CliRun r = runKvmap("script " + kExamples + "/garrison.js " + demo() +
                              " --arg weapon=1220 --out " + dir_.file("out.kvs"));
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find(std::to_string(capitals) + " garrisons placed\n"), std::string::npos)
        << r.out;
    kv::MapDocument& out = load(dir_.file("out.kvs"));
    int infantry = 0;
    for (int f = 0; f < 6; ++f)
        for (int s = 0; s < out.troops.usedSlots(f); ++s)
            infantry += out.troopAt(f, s)->inUse() && out.troopAt(f, s)->weaponId() == 1220;
    EXPECT_EQ(infantry, infantryBefore + capitals);
}

TEST_F(KvmapScript, IslandExampleIsTheSameIslandForTheSameSeed) {
    auto make = [&](const std::string& seed, const std::string& name) {
        const CliRun r = runKvmap("script " + kExamples + "/island.js --arg seed=" + seed +
                                  " --arg size=40 --out " + dir_.file(name));
        EXPECT_EQ(r.code, 0) << r.out;
        return kvtest::readFile(dir_.file(name));
    };
    const std::string a = make("7", "a.kvs"), b = make("7", "b.kvs"), c = make("8", "c.kvs");
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    kv::MapDocument& d = load(dir_.file("a.kvs"));
    EXPECT_EQ(d.width(), 40);
    const std::map<int, int> n = terrainCounts(d);
    EXPECT_GT(n.count(1) ? n.at(1) : 0, 0) << "plains";
    EXPECT_GT(n.count(29) ? n.at(29) : 0, 0) << "sea";
    EXPECT_EQ(d.cellAt(0, 0)->terrain, kv::kTerrainNewMap) << "open sea beyond the coast";
}

TEST_F(KvmapScript, FolderCheckExampleFailsWhenAnyMapBreaksTheRules) {
    const std::string folder = dir_.file("maps");
    std::filesystem::create_directory(folder);
    kvtest::writeFile(folder + "/a_demo.kvs", kvtest::readFile(demo()));
    kv::writeMapFile(*doc_, folder + "/b_new.kvs", kv::MapFileKind::Scenario);
    const std::string cmd = "script " + kExamples + "/check_folder.js --arg folder=" + folder;
    CliRun r = runKvmap(cmd);
    EXPECT_EQ(r.code, 2) << r.out;
    EXPECT_NE(r.out.find(folder + "/a_demo.kvs: OK\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(folder + "/b_new.kvs: "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("2 maps, 1 with problems\n"), std::string::npos) << r.out;
    std::filesystem::remove(folder + "/b_new.kvs");
    r = runKvmap(cmd);
    EXPECT_EQ(r.code, 0) << r.out;
}

}  // namespace
