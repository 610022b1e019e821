// kvmap check, resize and pack-troops, run as a user runs them on the generated program
// folder.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <memory>

#include "document/map_document.h"
#include "document/map_file.h"
#include "document/troop_slots.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/test_paths.h"

namespace {

using kvtest::CliRun;

CliRun run(const std::string& args) {
    return kvtest::runKvmap(args);
}

const std::string kDemo = "/map/demo_scenario.kvs";

// Map files made for the commands in a folder of their own.
class KvmapEdit : public testing::Test {
protected:
    void SetUp() override {
        kvtest::copySampleData(dir_.path());
        kv::setProgramPath(dir_.file("kvornme"));
        doc_ = std::make_unique<kv::MapDocument>();
        doc_->loadResources();
        doc_->resetToNewMap();
    }
    void TearDown() override {
        doc_.reset();
        kv::setProgramPath("");
    }
    std::string write(const std::string& name) {
        kv::writeMapFile(*doc_, dir_.file(name), kv::MapFileKind::Scenario);
        return dir_.file(name);
    }
    kv::MapDocument& reload(const std::string& path) {
        EXPECT_TRUE(kv::loadMapFile(*doc_, path)) << path;
        return *doc_;
    }

    kvtest::TempDir dir_;
    kv::RecordingPrompter quiet_;
    kv::ScopedPrompter installed_{&quiet_};
    std::unique_ptr<kv::MapDocument> doc_;
};

TEST_F(KvmapEdit, CheckPrintsTheProblemLinesAndExitsByTheWorstMap) {
    const std::string demo = kvtest::distDir() + kDemo;
    const CliRun clean = run("check " + demo);
    EXPECT_EQ(clean.code, 0) << clean.out;
    EXPECT_EQ(clean.out, "エラーは発見されませんでした。\n");

    const std::string fresh = write("new.kvs");
    const CliRun problems = run("check " + fresh);
    EXPECT_EQ(problems.code, 1);
    EXPECT_EQ(problems.out, "参戦陣営がありません。\nＵＳＥＲ陣営が存在していません。\n");

    const CliRun both = run("check " + demo + " " + fresh);
    EXPECT_EQ(both.code, 1);
    EXPECT_EQ(both.out, demo + ":\nエラーは発見されませんでした。\n" + fresh +
                            ":\n参戦陣営がありません。\nＵＳＥＲ陣営が存在していません。\n");

    kvtest::writeFile(dir_.file("junk.kvs"), "not a map at all, just some text");
    EXPECT_EQ(run("check " + demo + " " + dir_.file("junk.kvs")).code, 2);
    EXPECT_EQ(run("check " + dir_.file("missing.kvs")).code, 2);
    EXPECT_EQ(run("check").code, 2);
}

TEST_F(KvmapEdit, ResizeWritesTheMapAtItsNewSize) {
    const std::string out = dir_.file("big.kvs");
    const CliRun r = run("resize " + kvtest::distDir() + kDemo +
                         " --width 64 --height 60 --anchor 4 --out " + out);
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("48 x 36 -> 64 x 60, hexes moved by (8, 12)"), std::string::npos) << r.out;
    kv::MapDocument& d = reload(out);
    EXPECT_EQ(d.width(), 64);
    EXPECT_EQ(d.height(), 60);
    EXPECT_EQ(d.cellAt(0, 0)->terrain, kv::kTerrainNewMap);
    EXPECT_EQ(run("check " + out).code, 0);
    // Back to the old size around the centre: the very same file.
    const std::string back = dir_.file("back.kvs");
    ASSERT_EQ(run("resize " + out + " --width 48 --height 36 --anchor 4 --out " + back).code, 0);
    EXPECT_EQ(kvtest::readFile(back), kvtest::readFile(kvtest::distDir() + kDemo));

    const CliRun wide = run("resize " + out + " --width 300 --height 10 --out " + back);
    EXPECT_EQ(wide.code, 2);
    EXPECT_NE(wide.out.find("マップの横幅が範囲外です。(1～256)"), std::string::npos);
    EXPECT_EQ(run("resize " + out + " --width 10 --height 10 --anchor 9 --out " + back).code, 2);
    EXPECT_EQ(run("resize " + out + " --width 10 --height x --out " + back).code, 2);
    EXPECT_EQ(run("resize " + out + " --width 10 --height 10").code, 2);
}

TEST_F(KvmapEdit, PackTroopsMovesEachGroupForward) {
    kv::MapDocument& d = *doc_;
    d.factions[0].setParticipation(kv::kFactionUser);
    for (int slot : {kv::slots::regimentSlot(1, 0, 1), kv::slots::regimentSlot(1, 0, 4)}) {
        kv::TroopRecord* t = d.troopAt(0, slot);
        t->setAppearanceTurn(1);
        t->setWeaponId(1000);
        t->setPosition(slot - 60, 3);
        d.troops.raiseCount(0, slot);
    }
    const std::string in = write("gaps.kvs");
    const std::string out = dir_.file("packed.kvn");
    const CliRun r = run("pack-troops " + in + " --out " + out);
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("2 troops renumbered"), std::string::npos) << r.out;
    const kv::MapDocument& packed = reload(out);
    EXPECT_TRUE(packed.troopAt(0, kv::slots::regimentSlot(1, 0, 0))->inUse());
    EXPECT_EQ(packed.troopAt(0, kv::slots::regimentSlot(1, 0, 1))->col(), 10);
    EXPECT_FALSE(packed.troopAt(0, kv::slots::regimentSlot(1, 0, 4))->inUse());
    EXPECT_EQ(run("pack-troops " + in).code, 2);
    EXPECT_EQ(run("pack-troops " + dir_.file("missing.kvs") + " --out " + out).code, 2);
}

}  // namespace
