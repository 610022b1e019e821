// rf/unitdata.dat and rf/uunitdata.dat reading on arbitrary content: never crashes, every
// weapon ends up with a record, and a stored record is the one read back. The input is the
// standard file; its bytes from 16 on serve as the user file, and its first words as weapon ids.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "framework/disk_file.h"
#include "framework/errors.h"
#include "gamedata/unit_data.h"
#include "scratch_program.h"

using kvfuzz::expect;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string& root = kvfuzz::scratchProgram({"rf"});
    const std::string_view input(reinterpret_cast<const char*>(bytes), size);
    try {
        kv::writeFileAtomically(root + "/rf/unitdata.dat", input);
        kv::writeFileAtomically(root + "/rf/uunitdata.dat",
                                input.substr(std::min<size_t>(16, size)));
    } catch (const kv::swCError&) {
        std::abort();
    }

    std::vector<kv::WeaponRecord> weapons;
    for (size_t i = 0; i + 1 < size && i < 32; i += 2) {
        kv::WeaponRecord w;
        w.setId(static_cast<uint16_t>((bytes[i] | bytes[i + 1] << 8) % 5000));
        weapons.push_back(w);
    }
    kv::UnitDataTable table;
    table.load(weapons);
    for (const kv::WeaponRecord& w : weapons) expect(table.hasRecord(w.id()));
    for (const kv::UnitRecord& r : table.standardUnits()) table.record(r.weaponId);
    for (const kv::UnitRecord& r : table.userUnits()) table.record(r.weaponId);

    kv::UnitRecord copy{};
    for (int id : {-1, 0, 4999, 5000, 9999, 10000, 14999, 15000, 65535}) {
        table.copyRecord(id, copy);
        kv::UnitRecord r{};
        r.weaponId = static_cast<uint16_t>(id);
        r.battleData[0] = 0x5A;
        const bool stored = table.store(r);
        expect(stored == (id >= 0 && id < kv::UnitDataTable::kIndexSize));
        if (stored) {
            table.copyRecord(id, copy);
            expect(copy == r);
        }
    }
    return 0;
}
