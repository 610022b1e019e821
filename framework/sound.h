// Sound: keyed wave sounds and MIDI music (the anthem preview of the map settings).
// Playback runs on SDL2_mixer; without an audio device the editor goes on silently.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/window.h"

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace kv {

// The message a notify window receives when MIDI playback has ended.
constexpr uint32_t kMidiNotifyMessage = 0x03B9;

class SoundPlayer {
public:
    // Opens the audio device (one per process, shared by all players). When it cannot be
    // opened the player reports it once, with `owner` as owner, and does nothing after.
    explicit SoundPlayer(Window* owner);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Loads a wave file under `key`; a file that cannot be loaded raises swCDirectSoundError
    // code 4 (with the path as caption).
    void add(const std::string& path, int key);
    // Mode 0 stops, 1 plays once, 2 plays looping.
    void play(int key, int mode);
    void remove(int key);
    void removeAll();

    bool disabled() const { return disabled_; }
    size_t count() const { return sounds_.size(); }
    bool isPlaying(int key) const;

private:
    struct Entry {
        std::string path;
        int key;
        Mix_Chunk* chunk;
        int channel;
    };
    Entry* find(int key);
    const Entry* find(int key) const;
    void stop(Entry& e);

    std::vector<Entry> sounds_;
    bool disabled_ = false;
};

class MidiPlayer {
public:
    // Opens a MIDI file; failure raises swCMCIError code 0 with the path as caption.
    explicit MidiPlayer(const std::string& path);
    ~MidiPlayer();
    MidiPlayer(const MidiPlayer&) = delete;
    MidiPlayer& operator=(const MidiPlayer&) = delete;

    // 0 waits for completion; kept for callers that pass it.
    void setTimeFormat(int format, Window* notifyWindow);
    // Plays once; `notifyWindow` receives kMidiNotifyMessage when playback ends.
    void play(Window* notifyWindow);
    void stop();
    void close();
    bool isPlaying() const;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    Mix_Music* music_ = nullptr;
};

// A file name plays as MIDI when its last four characters are ".mid" in any case and it is
// longer than that.
bool isMidiFileName(std::string_view name);

// The anthem preview of a dialog: one anthem at a time, as wave sound 1 (looping) or MIDI.
class AnthemPreview {
public:
    explicit AnthemPreview(Window* dialog);
    ~AnthemPreview();
    // Stops what plays and plays `file` (a path in the program folder as the anthem list
    // names it). Errors are reported with the dialog as owner.
    void play(const std::string& file);
    void stop();
    bool playingMidi() const { return midi_ != nullptr; }
    SoundPlayer& sounds() { return sounds_; }

private:
    Window* dialog_;
    SoundPlayer sounds_;
    std::unique_ptr<MidiPlayer> midi_;
};

}  // namespace kv
