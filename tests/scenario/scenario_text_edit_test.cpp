// The scenario texts' check limits (line ends count two bytes), line-end forms, characters
// without a CP932 form, and the store as one editing operation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "document/map_document.h"
#include "framework/cp932.h"
#include "framework/errors.h"
#include "scenario/scenario_text_edit.h"

namespace kv {
namespace {

using F = ScenarioTexts;

TEST(ScenarioTextEditTest, LineEndsAreCrLfInTheEditAndLfWhenStored) {
    // "メ" (83 81) and "表" (95 5C) around line ends; a lone CR stays.
    const std::string stored = "\x83\x81\n\x95\x5C\na\rb\n";
    EXPECT_EQ(toEditText(stored), "\x83\x81\r\n\x95\x5C\r\na\rb\r\n");
    EXPECT_EQ(toStoredText(toEditText(stored)), stored);
    EXPECT_EQ(toStoredText("a\r\r\nb\r"), "a\r\nb\r");
}

TEST(ScenarioTextEditTest, CheckCountsLineEndsAsTwoBytesAndTestsEveryField) {
    ScenarioTextInput in;
    // 4800 stored bytes with ten line ends measure 4810 in the edit.
    std::string body;
    for (int i = 0; i < 10; ++i) body += std::string(479, 'x') + "\n";
    ASSERT_EQ(body.size(), 4800u);
    in.editTexts[2] = toEditText(body);
    // The operation name is cut at 40 by the edit but checked against 60.
    in.editTexts[3] = std::string(60, 'n');
    in.editTexts[0] = std::string(23, 'h');
    in.editTexts[7] = std::string(61, 'e');
    const std::vector<std::string> problems = checkScenarioTexts(in);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0], "ブリーフィング 見出し文字数が長すぎます。(最大22byte、入力23byte)");
    EXPECT_EQ(problems[1], "ブリーフィング 本文文字数が長すぎます。(最大4800byte、入力4810byte)");
    EXPECT_EQ(problems[2], "エンディング 見出し文字数が長すぎます。(最大60byte、入力61byte)");
    // Each limit itself passes.
    for (int i = 0; i < kScenarioTextFieldCount; ++i)
        in.editTexts[size_t(i)] = std::string(textFieldRules()[size_t(i)].checkLimit, 'a');
    EXPECT_TRUE(checkScenarioTexts(in).empty());
    // The edit limits stay within the fields' widths.
    for (const TextFieldRule& r : textFieldRules()) {
        EXPECT_LT(r.checkLimit, F::kFields[r.field].size);
        EXPECT_LE(r.editLimit, r.checkLimit);
    }
}

TEST(ScenarioTextEditTest, CharactersWithoutCp932FormAreNamedNeverDropped) {
    const Cp932Text ok = toCp932("作戦～①");
    ASSERT_TRUE(ok.bytes.has_value());
    EXPECT_EQ(decodeCp932(*ok.bytes), "作戦～①");
    const Cp932Text bad = toCp932("作戦😀開始😀🚀");
    EXPECT_FALSE(bad.bytes.has_value());
    EXPECT_EQ(bad.unencodable, "😀🚀");
    const std::string m = unencodableMessage(4, bad.unencodable);
    EXPECT_NE(m.find("作戦指令書 本文"), std::string::npos);
    EXPECT_NE(m.find("😀🚀"), std::string::npos);
    // Bytes that are no UTF-8 at all are shown as the replacement character.
    EXPECT_EQ(toCp932("a\xFF").unencodable, "\xEF\xBF\xBD");
}

class ScenarioApplyTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kv_scenario_apply_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string writeFile(const char* name, const std::string& bytes) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::filesystem::path dir_;
};

TEST_F(ScenarioApplyTest, ApplyStoresEverythingAsOneOperation) {
    MapDocument doc;
    // Whatever was there is zeroed first: a longer old text leaves no tail.
    doc.scenarioTexts.setField(F::BriefingBody, std::string(300, 'o'));
    doc.scenarioTexts.setField(F::OrderBody, "old");
    doc.scenarioTexts.setEndingShown(1);
    doc.scenarioTexts.endingPicture = {9, 9};
    int edits = 0;
    bool reported = false;
    doc.onEdited = [&](const EditChange& c) {
        ++edits;
        reported = c.scenarioTexts;
    };
    doc.isClean = 1;
    ScenarioTextInput in;
    in.editTexts[2] = "line1\r\nline2";
    in.editTexts[5] = "\x83\x81\r\n";
    in.briefingMode = 2;
    in.orderMode = 1;
    const std::string picture = writeFile("brief.bmp", std::string("BM\0\x01\x02", 5));
    applyScenarioTexts(doc, in, picture, "");
    const ScenarioTexts& st = doc.scenarioTexts;
    EXPECT_EQ(st.field(F::BriefingBody), "line1\nline2");
    EXPECT_EQ(st.field(F::VictoryText), "\x83\x81\n");
    EXPECT_EQ(st.field(F::OrderBody), "");
    const size_t at = F::kFields[F::BriefingBody].offset;
    for (size_t i = at + 11; i < at + 300; ++i) ASSERT_EQ(st.bytes[i], 0) << i;
    EXPECT_EQ(st.briefingMode(), 2);
    EXPECT_EQ(st.orderMode(), 1);
    EXPECT_EQ(st.endingShown(), 0);
    EXPECT_EQ(st.briefingPicture, (std::vector<uint8_t>{'B', 'M', 0, 1, 2}));
    EXPECT_EQ(st.endingPicture, (std::vector<uint8_t>{9, 9}));  // no new path: kept
    EXPECT_EQ(edits, 1);
    EXPECT_TRUE(reported);
    EXPECT_EQ(doc.isClean, 0);

    // A picture that cannot be read: the texts are in, that blob is empty, the error raised.
    in.editTexts[0] = "new";
    EXPECT_THROW(applyScenarioTexts(doc, in, "", (dir_ / "missing.bmp").string()), swCFileError);
    EXPECT_EQ(doc.scenarioTexts.field(F::BriefingHeadline), "new");
    EXPECT_TRUE(doc.scenarioTexts.endingPicture.empty());
    EXPECT_EQ(doc.scenarioTexts.briefingPicture.size(), 5u);
}

}  // namespace
}  // namespace kv
