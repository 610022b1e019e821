// Anthem lists of arbitrary content: reading never crashes, the two lists stay parallel,
// file names are folded, and the music list never holds an anthem.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "framework/cp932.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "fuzz/scratch_program.h"
#include "gamedata/rules.h"

namespace {

bool hasCapital(const std::string& cp932) {
    for (size_t i = 0; i < cp932.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(cp932[i]);
        if (kv::isLeadByte(c)) {
            ++i;
        } else if (c >= 'A' && c <= 'Z') {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using kvfuzz::expect;
    const std::string& root = kvfuzz::scratchProgram({"bgm"});
    static const bool musicLaidOut = [&] {
        for (const char* name : {"a.wav", "B.WAV", "c.mid", "Anthem.MID"})
            kv::writeFileAtomically(root + "/bgm/" + name, "x");
        return true;
    }();
    expect(musicLaidOut);
    try {
        kv::writeFileAtomically(root + "/anthem.lst",
                                std::string(reinterpret_cast<const char*>(data), size));
    } catch (const kv::swCError&) {
        std::abort();
    }

    kv::RuleData rules;
    rules.loadAnthems();
    rules.loadMusic();
    expect(rules.anthemNames().size() == rules.anthemFiles().size());
    for (const std::string& file : rules.anthemFiles()) expect(!hasCapital(file));
    expect(rules.musicNames().size() == rules.musicFiles().size());
    static const std::set<std::string> kMusic = {"a.wav", "b.wav", "c.mid", "anthem.mid"};
    for (size_t i = 0; i < rules.musicNames().size(); ++i) {
        expect(kMusic.count(rules.musicNames()[i]) == 1);
        expect(rules.musicFiles()[i] == "bgm\\" + rules.musicNames()[i]);
        expect(!rules.isAnthemFile(rules.musicFiles()[i]));
    }
    return 0;
}
