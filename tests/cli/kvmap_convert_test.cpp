// `kvmap convert` on the example maps of the earlier editions and on folders with failures.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <filesystem>

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

TEST(KvmapConvert, ConvertsTheExampleMapsOfEveryEarlierEdition) {
    kvtest::TempDir dir;
    const std::string legacy = kvtest::distDir() + "/map/legacy";
    const CliRun r = run("convert " + legacy + " --out " + dir.file("out"));
    EXPECT_EQ(r.code, 0) << r.out;
    for (const char* name : {"realtime.kvn", "earlier.kvs", "deluxe.kvs", "modern.kvs"})
        EXPECT_TRUE(fs::is_regular_file(dir.file("out/") + name)) << name << r.out;
    EXPECT_TRUE(contains(r.out, "マップ名 [大河の谷]を変換")) << r.out;
    EXPECT_TRUE(contains(r.out, "変換を完了しました。\nマップ数 4 枚")) << r.out;
    EXPECT_TRUE(contains(r.out, "troops of the initial deployment were dropped")) << r.out;
    // Not on a terminal: no progress bar.
    EXPECT_FALSE(contains(r.out, "\r[")) << r.out;
}

TEST(KvmapConvert, FailuresAreReportedAndTheExitCodeSaysSo) {
    kvtest::TempDir dir;
    const std::string src = dir.file("src/");
    fs::create_directories(src);
    fs::copy_file(kvtest::distDir() + "/map/legacy/deluxe.bxs", src + "good.bxs");
    kvtest::writeFile(src + "broken.qus", "QUISCENARIO00009 and nothing else");
    kvtest::writeFile(src + "readme.txt", "skipped without a word");
    const CliRun r = run("convert " + src + "good.bxs " + src + "broken.qus " + src +
                         "readme.txt " + src + "missing.fws --out " + dir.file("out"));
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_TRUE(fs::is_regular_file(dir.file("out/good.kvs")));
    EXPECT_TRUE(contains(r.out, "failed:    " + src + "broken.qus")) << r.out;
    EXPECT_TRUE(contains(r.out, "failed:    " + src + "missing.fws")) << r.out;
    EXPECT_FALSE(contains(r.out, "readme.txt")) << r.out;
    EXPECT_TRUE(contains(r.out, "converted 1, failed 2, skipped 1")) << r.out;
}

TEST(KvmapConvert, RefusesToWriteIntoTheSourceFolder) {
    kvtest::TempDir dir;
    fs::copy_file(kvtest::distDir() + "/map/legacy/modern.fws", dir.file("m.fws"));
    const CliRun same = run("convert " + dir.path() + " --out " + dir.path());
    EXPECT_EQ(same.code, 2) << same.out;
    EXPECT_FALSE(fs::exists(dir.file("m.kvs")));
    EXPECT_EQ(run("convert " + dir.file("m.fws") + " --out " + dir.file("sub")).code, 2);
    EXPECT_FALSE(fs::exists(dir.file("sub")));
    EXPECT_EQ(run("convert " + dir.file("m.fws")).code, 2);  // no --out
}

TEST(KvmapConvert, FilesCutShortAreRefusedUnlessForced) {
    kvtest::TempDir dir;
    const std::string src = dir.file("src/");
    fs::create_directories(src);
    const std::string good = kvtest::readFile(kvtest::distDir() + "/map/demo_map.kvn");
    kvtest::writeFile(src + "cut.kvn", good.substr(0, good.size() - 5000));
    kvtest::writeFile(src + "header.kvn", good.substr(0, 20));
    const CliRun refused = run("convert " + src + " --out " + dir.file("out"));
    EXPECT_EQ(refused.code, 1) << refused.out;
    EXPECT_TRUE(
        contains(refused.out, "failed:    " + src + "cut.kvn: ファイルが途中で切れています"))
        << refused.out;
    EXPECT_TRUE(contains(refused.out, "failed:    " + src + "header.kvn")) << refused.out;
    EXPECT_TRUE(contains(refused.out, "--force")) << refused.out;
    EXPECT_FALSE(fs::exists(dir.file("out/cut.kvn")));
    EXPECT_FALSE(fs::exists(dir.file("out/header.kvn")));

    // Forced, what the file holds is converted; a file without a map header never is.
    const CliRun forced = run("convert " + src + " --force --out " + dir.file("forced"));
    EXPECT_EQ(forced.code, 1) << forced.out;
    EXPECT_TRUE(contains(forced.out, "converted: " + src + "cut.kvn")) << forced.out;
    EXPECT_TRUE(fs::is_regular_file(dir.file("forced/cut.kvn")));
    EXPECT_TRUE(contains(forced.out, "failed:    " + src + "header.kvn: マップの大きさ（0×0）"))
        << forced.out;
}

}  // namespace
