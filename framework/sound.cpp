// Sound on SDL2_mixer: one audio device per process, keyed wave chunks, MIDI as music.
#include "framework/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include <unistd.h>

#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/profile.h"
#include "gamedata/rules.h"

namespace kv {

namespace {

int g_deviceUsers = 0;
bool g_deviceOpen = false;
bool g_deviceFailed = false;
QPointer<QWidget> g_musicNotify;

const char* const kSoundFonts[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2",
                                   "/usr/share/sounds/sf2/default-GM.sf2"};

bool openDevice() {
    if (g_deviceOpen) return true;
    if (g_deviceFailed) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
        Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) != 0) {
        g_deviceFailed = true;
        return false;
    }
    Mix_Init(MIX_INIT_MID);
    for (const char* sf : kSoundFonts) {
        if (SDL_RWops* f = SDL_RWFromFile(sf, "rb")) {
            SDL_RWclose(f);
            Mix_SetSoundFonts(sf);
            break;
        }
    }
    // Music ends on the mixer's thread; the notify window hears of it on the UI thread.
    Mix_HookMusicFinished([] {
        QMetaObject::invokeMethod(
            qApp,
            [] {
                if (Window* w = Window::lookup(g_musicNotify)) postMessage(w, kMidiNotifyMessage);
            },
            Qt::QueuedConnection);
    });
    g_deviceOpen = true;
    return true;
}

// A stream over the regular file at `path`, or null. The mixer's own open would wait for
// ever on a FIFO under a sound's name.
SDL_RWops* openSoundFile(const std::string& path) {
    const int fd = openRegularFile(path);
    if (fd < 0) return nullptr;
    FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        ::close(fd);
        return nullptr;
    }
    SDL_RWops* stream = SDL_RWFromFP(f, SDL_TRUE);
    if (!stream) std::fclose(f);
    return stream;
}

void closeDeviceIfUnused() {
    if (g_deviceUsers > 0 || !g_deviceOpen) return;
    Mix_HookMusicFinished(nullptr);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_deviceOpen = false;
}

}  // namespace

// --- SoundPlayer -----------------------------------------------------------------------------

SoundPlayer::SoundPlayer(Window* owner) {
    ++g_deviceUsers;
    const bool alreadyFailed = g_deviceFailed;
    if (!openDevice()) {
        disabled_ = true;
        // Said once: later players stay silent without asking again.
        if (!alreadyFailed) swCDirectSoundError(0).report(owner);
    }
}

SoundPlayer::~SoundPlayer() {
    removeAll();
    --g_deviceUsers;
    closeDeviceIfUnused();
}

SoundPlayer::Entry* SoundPlayer::find(int key) {
    auto it = std::find_if(sounds_.begin(), sounds_.end(),
                           [key](const Entry& e) { return e.key == key; });
    return it == sounds_.end() ? nullptr : &*it;
}

const SoundPlayer::Entry* SoundPlayer::find(int key) const {
    return const_cast<SoundPlayer*>(this)->find(key);
}

void SoundPlayer::add(const std::string& path, int key) {
    if (disabled_) return;
    SDL_RWops* stream = openSoundFile(path);
    Mix_Chunk* chunk = stream ? Mix_LoadWAV_RW(stream, 1) : nullptr;
    if (!chunk) throw swCDirectSoundError(4, path);
    sounds_.push_back({path, key, chunk, -1});
}

void SoundPlayer::stop(Entry& e) {
    if (e.channel >= 0 && Mix_GetChunk(e.channel) == e.chunk) Mix_HaltChannel(e.channel);
    e.channel = -1;
}

void SoundPlayer::play(int key, int mode) {
    if (disabled_) return;
    Entry* e = find(key);
    if (!e) return;
    stop(*e);
    if (mode == 1 || mode == 2) e->channel = Mix_PlayChannel(-1, e->chunk, mode == 2 ? -1 : 0);
}

bool SoundPlayer::isPlaying(int key) const {
    const Entry* e = find(key);
    return e && e->channel >= 0 && Mix_Playing(e->channel) && Mix_GetChunk(e->channel) == e->chunk;
}

void SoundPlayer::remove(int key) {
    auto it = std::find_if(sounds_.begin(), sounds_.end(),
                           [key](const Entry& e) { return e.key == key; });
    if (it == sounds_.end()) return;
    stop(*it);
    Mix_FreeChunk(it->chunk);
    sounds_.erase(it);
}

void SoundPlayer::removeAll() {
    for (Entry& e : sounds_) {
        stop(e);
        Mix_FreeChunk(e.chunk);
    }
    sounds_.clear();
}

// --- MidiPlayer ------------------------------------------------------------------------------

MidiPlayer::MidiPlayer(const std::string& path) : path_(path) {
    ++g_deviceUsers;
    if (openDevice()) {
        if (SDL_RWops* stream = openSoundFile(path)) music_ = Mix_LoadMUS_RW(stream, 1);
    }
    if (!music_) {
        --g_deviceUsers;
        closeDeviceIfUnused();
        throw swCMCIError(0, path);
    }
}

MidiPlayer::~MidiPlayer() {
    close();
    --g_deviceUsers;
    closeDeviceIfUnused();
}

void MidiPlayer::setTimeFormat(int, Window*) {}

void MidiPlayer::play(Window* notifyWindow) {
    if (!music_) return;
    g_musicNotify = notifyWindow ? notifyWindow->handle() : nullptr;
    Mix_PlayMusic(music_, 1);
}

void MidiPlayer::stop() {
    if (music_ && Mix_PlayingMusic()) {
        g_musicNotify = nullptr;  // a stop is no end of playback to report
        Mix_HaltMusic();
    }
}

void MidiPlayer::close() {
    stop();
    if (music_) Mix_FreeMusic(music_);
    music_ = nullptr;
}

bool MidiPlayer::isPlaying() const {
    return music_ && Mix_PlayingMusic();
}

bool isMidiFileName(std::string_view name) {
    if (name.size() <= 4) return false;
    std::string tail(name.substr(name.size() - 4));
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".mid";
}

// --- AnthemPreview ---------------------------------------------------------------------------

AnthemPreview::AnthemPreview(Window* dialog) : dialog_(dialog), sounds_(dialog) {}

AnthemPreview::~AnthemPreview() {
    stop();
}

void AnthemPreview::stop() {
    sounds_.play(1, 0);
    sounds_.remove(1);
    midi_.reset();
}

void AnthemPreview::play(const std::string& file) {
    stop();
    const std::string path = listedFilePath(file);
    try {
        if (isMidiFileName(file)) {
            midi_ = std::make_unique<MidiPlayer>(path);
            midi_->setTimeFormat(0, dialog_);
            midi_->play(dialog_);
        } else {
            sounds_.add(path, 1);
            sounds_.play(1, 2);
        }
    } catch (const swCError& e) {
        e.report(dialog_);
    }
}

}  // namespace kv
