// The generated sample game data for a whole fuzzing run: its folder, and one document with
// the whole game database loaded once, so that troops, labels and stacks of the inputs pass
// the weapon check and reach the work after a load.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "document/map_document.h"
#include "framework/errors.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "fuzz/scratch_program.h"

namespace kvfuzz {

// Takes the default answer and keeps nothing, so a long run's memory does not grow with
// the messages its inputs cause.
class QuietPrompter : public kv::Prompter {
public:
    kv::PromptAnswer ask(const kv::Prompt& prompt) override {
        ++count;
        return kv::defaultAnswer(prompt.buttons);
    }
    size_t count = 0;
};

inline QuietPrompter& quietPrompter() {
    static QuietPrompter quiet;
    return quiet;
}

// KV_FUZZ_DATA, else the dist folder of the build the target belongs to (bin/../dist).
inline std::string sampleDataFolder() {
    if (const char* env = std::getenv("KV_FUZZ_DATA"); env && *env) return env;
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (exe.parent_path().parent_path() / "dist").string();
}

// The program path points at the sample data (which is only read); the targets that use
// this write their scratch files to scratchFolder().
inline kv::MapDocument& sampleDocument() {
    static const std::unique_ptr<kv::MapDocument> doc = [] {
        kv::setPrompter(&quietPrompter());
        const std::string folder = sampleDataFolder();
        if (!std::filesystem::exists(folder + "/weapon.dat")) {
            std::fprintf(stderr,
                         "fuzz: no sample game data in %s (set KV_FUZZ_DATA to a folder "
                         "kvsampledata wrote)\n",
                         folder.c_str());
            std::abort();
        }
        kv::setProgramPath(folder + "/kvornme");
        auto d = std::make_unique<kv::MapDocument>();
        try {
            d->gameDatabase.loadAll();
        } catch (const kv::swCError&) {
            std::abort();
        }
        d->factionColours.load();
        d->resetToNewMap();
        return d;
    }();
    return *doc;
}

}  // namespace kvfuzz
