// Preset files of arbitrary content: reading never crashes and the shares always add up to
// 100 with each within 0 to 100.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/disk_file.h"
#include "framework/errors.h"
#include "fuzz/scratch_program.h"
#include "gamedata/rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using kvfuzz::expect;
    const std::string& root = kvfuzz::scratchProgram({"product"});
    const std::string input(reinterpret_cast<const char*>(data), size);
    try {
        kv::writeFileAtomically(root + "/product/prodef00.dat", input);
    } catch (const kv::swCError&) {
        std::abort();
    }

    kv::RuleData rules;
    rules.loadPresets();
    for (const kv::ProductionPreset& p : rules.presets()) {
        expect(p.airShare <= 100 && p.landShare <= 100 && p.seaShare <= 100);
        expect(p.airShare + p.landShare + p.seaShare == 100);
    }
    const kv::ProductionPreset* first = rules.preset(0);
    expect(first && first->defined);
    const kv::ProductionPreset direct = kv::parsePreset(input, 0);
    expect(direct.name == first->name && direct.airShare == first->airShare &&
           direct.landShare == first->landShare && direct.seaShare == first->seaShare);
    return 0;
}
