// The error family: every code's text, and the report through the prompter.
#include <gtest/gtest.h>

#include "framework/errors.h"
#include "framework/prompter.h"

namespace kv {
namespace {

TEST(Errors, EveryCodeHasItsText) {
    const char* const file[] = {
        "ファイルのオープンに失敗しました", "ファイルの読み込みに失敗しました",
        "ファイルの書き込みに失敗しました", "ファイルのシークに失敗しました",
        "ファイルのクローズに失敗しました", "ファイルエラーが発生しました"};
    for (int code = 0; code < 6; ++code) EXPECT_EQ(swCFileError(code).text(), file[code]) << code;
    EXPECT_EQ(swCFileError(99).text(), "ファイルエラーが発生しました");
    EXPECT_EQ(swCBitmapError(0).text(), "ビットマップの作成に失敗しました");
    EXPECT_EQ(swCBitmapError(1).text(), "ビットマップの保存に失敗しました");
    EXPECT_EQ(swCMCIError(0).text(), "マルチメディアデバイスをオープンできませんでした");
    EXPECT_EQ(swCMCIError(3).text(), "マルチメディアデバイスにエラーが発生しました");
    EXPECT_EQ(swCDirectSoundError(0).text(),
              "DirectSoundの初期化に失敗しました\nサウンドデバイスは使用できません");
    EXPECT_EQ(swCDirectSoundError(1).text(), "DirectSoundでエラーが発生しました");
}

TEST(Errors, ReportShowsTheTextUnderTheCaptionThroughTheBaseClass) {
    RecordingPrompter prompts;
    ScopedPrompter installed(&prompts);
    int owner = 0;
    try {
        throw swCFileError(swCFileError::Open, "/data/land.dat");
    } catch (const swCError& e) {
        e.report(&owner);
    }
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].caption, "/data/land.dat");
    EXPECT_EQ(prompts.seen[0].text, "ファイルのオープンに失敗しました");
    EXPECT_EQ(prompts.seen[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(prompts.seen[0].owner, &owner);
}

TEST(Prompter, ScriptedAnswersThenDefaults) {
    RecordingPrompter prompts;
    ScopedPrompter installed(&prompts);
    prompts.script = {PromptAnswer::No};
    EXPECT_EQ(showMessage("確認", "q", PromptIcon::Question, PromptButtons::YesNo),
              PromptAnswer::No);
    EXPECT_EQ(showMessage("確認", "q", PromptIcon::Question, PromptButtons::YesNoCancel),
              PromptAnswer::Yes);
    EXPECT_EQ(showMessage("", "m", PromptIcon::None, PromptButtons::RetryCancel),
              PromptAnswer::Retry);
    EXPECT_EQ(prompts.seen.size(), 3u);
    {
        RecordingPrompter inner;
        ScopedPrompter nested(&inner);
        showMessage("a", "b");
        EXPECT_EQ(inner.seen.size(), 1u);
    }
    showMessage("a", "b");
    EXPECT_EQ(prompts.seen.size(), 4u);  // the outer prompter is back
}

}  // namespace
}  // namespace kv
