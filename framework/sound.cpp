// Sound on SDL2_mixer: one audio device per process, keyed wave chunks, MIDI as music. The
// mixer library (with SDL and its many codec libraries) is loaded the first time a sound is
// played, not when the editor starts: most sessions play none.
#include "framework/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

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

// The mixer functions used here, resolved from the library at run time.
// clang-format off
#define KV_MIXER_FUNCTIONS(X) \
    X(SDL_InitSubSystem) \
    X(SDL_QuitSubSystem) \
    X(SDL_RWFromFile) \
    X(SDL_RWclose) \
    X(SDL_RWFromFP) \
    X(Mix_OpenAudio) \
    X(Mix_Init) \
    X(Mix_Quit) \
    X(Mix_SetSoundFonts) \
    X(Mix_HookMusicFinished) \
    X(Mix_CloseAudio) \
    X(Mix_LoadWAV_RW) \
    X(Mix_GetChunk) \
    X(Mix_HaltChannel) \
    X(Mix_PlayChannel) \
    X(Mix_Playing) \
    X(Mix_FreeChunk) \
    X(Mix_LoadMUS_RW) \
    X(Mix_PlayMusic) \
    X(Mix_PlayingMusic) \
    X(Mix_HaltMusic) \
    X(Mix_FreeMusic)
// clang-format on

struct Mixer {
#define KV_MIXER_FIELD(name) decltype(&::name) name = nullptr;
    KV_MIXER_FUNCTIONS(KV_MIXER_FIELD)
#undef KV_MIXER_FIELD
};

// The loaded library's functions, or null when it (or one of them) is missing: the editor
// then runs silent, as without an audio device.
const Mixer* mixer() {
    static const Mixer* const loaded = []() -> const Mixer* {
        void* library = ::dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library) return nullptr;
        static Mixer m;
        bool complete = true;
#define KV_MIXER_RESOLVE(name)                                             \
    m.name = reinterpret_cast<decltype(&::name)>(::dlsym(library, #name)); \
    complete = complete && m.name != nullptr;
        KV_MIXER_FUNCTIONS(KV_MIXER_RESOLVE)
#undef KV_MIXER_RESOLVE
        return complete ? &m : nullptr;
    }();
    return loaded;
}

// Only called once the device is open, so the library is loaded.
const Mixer& mx() {
    return *mixer();
}

int g_deviceUsers = 0;
bool g_deviceOpen = false;
bool g_deviceFailed = false;
QPointer<QWidget> g_musicNotify;

const char* const kSoundFonts[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2",
                                   "/usr/share/sounds/sf2/default-GM.sf2"};

bool openDevice() {
    if (g_deviceOpen) return true;
    if (g_deviceFailed) return false;
    const Mixer* loaded = mixer();
    if (!loaded) {
        g_deviceFailed = true;
        return false;
    }
    const Mixer& m = *loaded;
    if (m.SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
        m.Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) != 0) {
        g_deviceFailed = true;
        return false;
    }
    m.Mix_Init(MIX_INIT_MID);
    for (const char* sf : kSoundFonts) {
        if (SDL_RWops* f = m.SDL_RWFromFile(sf, "rb")) {
            m.SDL_RWclose(f);
            m.Mix_SetSoundFonts(sf);
            break;
        }
    }
    // Music ends on the mixer's thread; the notify window hears of it on the UI thread.
    m.Mix_HookMusicFinished([] {
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
    SDL_RWops* stream = mx().SDL_RWFromFP(f, SDL_TRUE);
    if (!stream) std::fclose(f);
    return stream;
}

void closeDeviceIfUnused() {
    if (g_deviceUsers > 0 || !g_deviceOpen) return;
    mx().Mix_HookMusicFinished(nullptr);
    mx().Mix_CloseAudio();
    mx().Mix_Quit();
    mx().SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
    Mix_Chunk* chunk = stream ? mx().Mix_LoadWAV_RW(stream, 1) : nullptr;
    if (!chunk) throw swCDirectSoundError(4, path);
    sounds_.push_back({path, key, chunk, -1});
}

void SoundPlayer::stop(Entry& e) {
    if (e.channel >= 0 && mx().Mix_GetChunk(e.channel) == e.chunk) mx().Mix_HaltChannel(e.channel);
    e.channel = -1;
}

void SoundPlayer::play(int key, int mode) {
    if (disabled_) return;
    Entry* e = find(key);
    if (!e) return;
    stop(*e);
    if (mode == 1 || mode == 2) e->channel = mx().Mix_PlayChannel(-1, e->chunk, mode == 2 ? -1 : 0);
}

bool SoundPlayer::isPlaying(int key) const {
    const Entry* e = find(key);
    return e && e->channel >= 0 && mx().Mix_Playing(e->channel) &&
           mx().Mix_GetChunk(e->channel) == e->chunk;
}

void SoundPlayer::remove(int key) {
    auto it = std::find_if(sounds_.begin(), sounds_.end(),
                           [key](const Entry& e) { return e.key == key; });
    if (it == sounds_.end()) return;
    stop(*it);
    mx().Mix_FreeChunk(it->chunk);
    sounds_.erase(it);
}

void SoundPlayer::removeAll() {
    for (Entry& e : sounds_) {
        stop(e);
        mx().Mix_FreeChunk(e.chunk);
    }
    sounds_.clear();
}

// --- MidiPlayer ------------------------------------------------------------------------------

MidiPlayer::MidiPlayer(const std::string& path) : path_(path) {
    ++g_deviceUsers;
    if (openDevice()) {
        if (SDL_RWops* stream = openSoundFile(path)) music_ = mx().Mix_LoadMUS_RW(stream, 1);
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
    mx().Mix_PlayMusic(music_, 1);
}

void MidiPlayer::stop() {
    if (music_ && mx().Mix_PlayingMusic()) {
        g_musicNotify = nullptr;  // a stop is no end of playback to report
        mx().Mix_HaltMusic();
    }
}

void MidiPlayer::close() {
    stop();
    if (music_) mx().Mix_FreeMusic(music_);
    music_ = nullptr;
}

bool MidiPlayer::isPlaying() const {
    return music_ && mx().Mix_PlayingMusic();
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
