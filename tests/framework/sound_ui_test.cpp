// Sound on the dummy audio driver: wave sounds by key, MIDI music, the anthem preview.
#include <gtest/gtest.h>

#include "framework/errors.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "framework/sound.h"
#include "support/test_paths.h"

namespace kv {
namespace {

class Sound : public testing::Test {
protected:
    void SetUp() override { setProgramPath(kvtest::distDir() + "/kvornme"); }
    void TearDown() override { setProgramPath(""); }
    std::string bgm(const char* name) { return kvtest::distDir() + "/bgm/" + name; }
    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST(SoundNames, MidiByTheLastFourCharactersInAnyCase) {
    EXPECT_TRUE(isMidiFileName("bgm\\ANTHEM.MID"));
    EXPECT_TRUE(isMidiFileName("a.Mid"));
    EXPECT_FALSE(isMidiFileName("anthem.mid.wav"));
    EXPECT_FALSE(isMidiFileName(".mid"));  // nothing before the extension
    EXPECT_FALSE(isMidiFileName("mid"));
}

TEST_F(Sound, WaveSoundsPlayStopAndGoByKey) {
    SoundPlayer player(nullptr);
    ASSERT_FALSE(player.disabled());
    EXPECT_TRUE(prompts.seen.empty());
    player.add(bgm("field.wav"), 7);
    player.add(bgm("eastern.wav"), 9);
    player.play(7, 2);
    EXPECT_TRUE(player.isPlaying(7));
    EXPECT_FALSE(player.isPlaying(9));
    player.play(7, 0);
    EXPECT_FALSE(player.isPlaying(7));
    player.play(9, 1);
    player.remove(9);
    EXPECT_EQ(player.count(), 1u);
    EXPECT_FALSE(player.isPlaying(9));
    player.play(42, 1);  // no such key: nothing happens
    try {
        player.add(bgm("missing.wav"), 3);
        FAIL() << "a missing wave file must raise";
    } catch (const swCDirectSoundError& e) {
        EXPECT_EQ(e.code, 4);
        EXPECT_EQ(e.caption, bgm("missing.wav"));
    }
    EXPECT_EQ(player.count(), 1u);
    player.removeAll();
    EXPECT_EQ(player.count(), 0u);
}

TEST_F(Sound, AMidiFileThatCannotBeOpenedRaisesTheMultimediaError) {
    try {
        MidiPlayer midi(bgm("nothing.mid"));
        FAIL() << "a missing MIDI file must raise";
    } catch (const swCError& e) {
        EXPECT_EQ(e.code, 0);
        EXPECT_EQ(e.caption, bgm("nothing.mid"));
        EXPECT_EQ(e.text(), "マルチメディアデバイスをオープンできませんでした");
    }
    MidiPlayer midi(bgm("ardena.mid"));
    midi.play(nullptr);
    EXPECT_TRUE(midi.isPlaying());
    midi.stop();
    EXPECT_FALSE(midi.isPlaying());
}

TEST_F(Sound, ThePreviewPlaysOneAnthemAtATime) {
    AnthemPreview preview(nullptr);
    preview.play("bgm\\ardena.mid");
    EXPECT_TRUE(preview.playingMidi());
    // The second press stops the first playback before starting its own.
    preview.play("bgm\\field.wav");
    EXPECT_FALSE(preview.playingMidi());
    EXPECT_TRUE(preview.sounds().isPlaying(1));
    preview.play("bgm\\LAUREN.MID");  // found whatever its case on disk
    EXPECT_TRUE(preview.playingMidi());
    EXPECT_EQ(preview.sounds().count(), 0u);
    EXPECT_TRUE(prompts.seen.empty());
    preview.play("bgm\\gone.mid");
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].text, "マルチメディアデバイスをオープンできませんでした");
    EXPECT_FALSE(preview.playingMidi());
    preview.stop();
}

}  // namespace
}  // namespace kv
