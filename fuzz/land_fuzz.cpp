// land.dat reading on arbitrary file content, followed by movement costs over the table read:
// never crashes, never keeps more records than a hex can name.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <unistd.h>

#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/profile.h"
#include "fuzz/scratch_program.h"
#include "gamedata/terrain.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& folder = kvfuzz::scratchProgram({});
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kv::TerrainData table;
    // Through the file for one input in eight (by its length), from the bytes otherwise,
    // which is many times faster and reads them the same way.
    if (size % 8 == 0) {
        try {
            kv::writeFileAtomically(folder + "/land.dat", bytes);
            table.loadTerrain();
        } catch (const kv::swCError&) {
            std::abort();  // the file is there, so it must load
        }
    } else {
        table.setTerrainTypes(kv::parseTerrainTable(bytes));
    }
    kvfuzz::expect(table.terrainCount() <= kv::kMaxTerrainTypes);
    for (const kv::TerrainType& t : table.terrainTypes()) {
        kvfuzz::expect(t.name[kv::kTerrainNameBytes - 1] == '\0');
        kvfuzz::expect(static_cast<int>(t.category) < kv::kTerrainCategoryCount);
    }

    // Hex fields taken from the input itself, over indices inside and past the table.
    const uint8_t road = size > 0 ? data[0] : 0;
    const uint8_t river = size > 1 ? data[1] : 0x41;
    for (int terrain : {0, 1, 14, 31, 52, 53, 255}) {
        for (int m = -1; m <= kv::kMovementTypeCount; ++m) {
            const int c = table.hexMoveCost({static_cast<uint8_t>(terrain), road, river, 0}, m);
            kvfuzz::expect(c >= 0 && c <= 255);
            table.hexMoveCost({static_cast<uint8_t>(terrain), road, river, 1}, m);
        }
    }
    return 0;
}
