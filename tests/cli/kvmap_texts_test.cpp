// kvmap texts and the texts of kvmap info: shown decoded, replaced from UTF-8 files with the
// scenario dialog's conversion and checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/cp932.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/test_paths.h"

namespace {

using kvtest::CliRun;
using F = kv::ScenarioTexts;

class KvmapTexts : public testing::Test {
protected:
    void SetUp() override {
        kvtest::copySampleData(dir_.path());
        kv::setProgramPath(dir_.file("kvornme"));
        demo_ = dir_.file("map/demo_scenario.kvs");
    }
    void TearDown() override { kv::setProgramPath(""); }
    std::string text(const std::string& name, const std::string& utf8) {
        kvtest::writeFile(dir_.file(name), utf8);
        return dir_.file(name);
    }
    CliRun run(const std::string& args) {
        return kvtest::runKvmap(args + " --program-dir " + dir_.path());
    }

    kvtest::TempDir dir_;
    std::string demo_;
    kv::RecordingPrompter quiet_;
    kv::ScopedPrompter installed_{&quiet_};
};

TEST_F(KvmapTexts, InfoAndTextsShowTheDecodedTexts) {
    const CliRun info = run("info --json " + demo_);
    ASSERT_EQ(info.code, 0) << info.out;
    EXPECT_NE(info.out.find("\"briefingHeadline\": \"セルヴィア川に緊張走る\""), std::string::npos)
        << info.out;
    EXPECT_NE(info.out.find("\"operationName\": \"ブルーリバー作戦\""), std::string::npos);
    EXPECT_NE(info.out.find("\"briefingMode\": 1"), std::string::npos);
    const CliRun texts = run("texts " + demo_);
    ASSERT_EQ(texts.code, 0) << texts.out;
    EXPECT_NE(texts.out.find("--- endingHeadline (24 bytes)\nセルヴィア川の戦い、終結\n"),
              std::string::npos)
        << texts.out;
}

TEST_F(KvmapTexts, SetReplacesTextsConvertedAndChecked) {
    const std::string out = dir_.file("new.kvs");
    const std::string body = text("body.txt", "\xEF\xBB\xBF一行目～\r\n二行目\rthree\n");
    const CliRun ok = run("texts " + demo_ + " --set briefingBody=" + body +
                          " --set endingHeadline=" + text("h.txt", "終わり") + " --out " + out);
    ASSERT_EQ(ok.code, 0) << ok.out;
    kv::MapDocument doc;
    doc.loadResources();
    ASSERT_TRUE(kv::loadMapFile(doc, out));
    EXPECT_EQ(doc.scenarioTexts.field(F::BriefingBody),
              kv::encodeCp932("一行目～\n二行目\nthree").value());
    EXPECT_EQ(doc.scenarioTexts.field(F::EndingHeadline), kv::encodeCp932("終わり").value());
    // The rest is as it was.
    kv::MapDocument before;
    before.loadResources();
    ASSERT_TRUE(kv::loadMapFile(before, demo_));
    EXPECT_EQ(doc.scenarioTexts.field(F::OrderBody), before.scenarioTexts.field(F::OrderBody));
    EXPECT_EQ(doc.scenarioTexts.briefingPicture, before.scenarioTexts.briefingPicture);
    EXPECT_EQ(doc.scenarioTexts.orderMode(), before.scenarioTexts.orderMode());

    // Refused, nothing written: a headline of 24 bytes, a body of 4801 bytes whose ten line
    // ends count two each, characters outside CP932; and an unknown field.
    const std::string refused = dir_.file("refused.kvs");
    std::string lines;
    for (int i = 0; i < 10; ++i) lines += std::string(479, 'x') + "\r\n";
    const CliRun bad = run("texts " + demo_ +
                           " --set briefingHeadline=" + text("a.txt", "あいうえおかきくけこさし") +
                           " --set briefingBody=" + text("b.txt", lines + "x") +
                           " --set factionsText=" + text("c.txt", "陣営😀") + " --out " + refused);
    EXPECT_EQ(bad.code, 2);
    EXPECT_NE(bad.out.find("ブリーフィング 見出し文字数が長すぎます。(最大22byte、入力24byte)"),
              std::string::npos)
        << bad.out;
    EXPECT_NE(bad.out.find("ブリーフィング 本文文字数が長すぎます。(最大4800byte、入力4811byte)"),
              std::string::npos)
        << bad.out;
    EXPECT_NE(bad.out.find("参戦陣営"), std::string::npos);
    EXPECT_NE(bad.out.find("😀"), std::string::npos);
    const CliRun unknown = run("texts " + demo_ + " --set title=" + body + " --out " + refused);
    EXPECT_EQ(unknown.code, 2);
    EXPECT_FALSE(std::filesystem::exists(refused));
}

}  // namespace
