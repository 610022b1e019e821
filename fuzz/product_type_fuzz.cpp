// Product-type files (producttype.dat, productutype.dat) and update files on arbitrary bytes:
// never crashes, never keeps more records than the tables hold, and an import either stores
// a record that names only known weapons or leaves the slot as it was.
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

#include "fuzz/scratch_program.h"
#include "gamedata/product_types.h"
#include "gamedata/weapons.h"

namespace {

const kv::WeaponData& sampleWeapons() {
    static const kv::WeaponData weapons = [] {
        kv::WeaponData w;
        // A few weapons of each branch, in the layout of weapon.dat.
        w.readWeapons(
            "100,A,\x81\x9B,\x8D\x82\x8B\xF3\r\n"
            "1000,L,\x81\x9B,\x92\x6E\x8F\xE3\r\n"
            "2000,S,\x81\x9B,\x8A\x43\x8F\xE3\r\n");
        return w;
    }();
    return weapons;
}

void writeFile(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& root = kvfuzz::scratchProgram({});
    const kv::WeaponData& weapons = sampleWeapons();

    writeFile(root + "/producttype.dat", data, size);
    writeFile(root + "/productutype.dat", data, size);
    // The editor keeps one table and loads over it, so most inputs reuse the run's table
    // (every load replaces all it holds); one input in sixteen (by its length) gets a new one.
    static kv::ProductTypeData reused;
    std::optional<kv::ProductTypeData> fresh;
    kv::ProductTypeData& table = size % 16 == 0 ? fresh.emplace() : reused;
    table.loadProductTypes(weapons);
    table.loadUserProductTypes();
    table.convertPendingUserRecords(weapons);
    kvfuzz::expect(table.productTypes().size() <= 150);
    kvfuzz::expect(table.userProductTypes().size() == 100);
    table.buildWeaponList(151, weapons);
    table.sortWeaponList(1, false, weapons);

    writeFile(root + "/x.upd", data, size);
    const kv::ProductType before = table.productType(160);
    const int result = table.importUpdateFile(root + "/x.upd", 160, weapons);
    kvfuzz::expect(result == 1 || result == 0 || result == -1);
    if (result != 1) {
        kvfuzz::expect(table.productType(160) == before);
    } else {
        for (int id = 0; id < kv::ProductType::kMaxId; ++id)
            if (table.productType(160).inAnyList(id)) kvfuzz::expect(weapons.hasWeapon(id));
    }
    return 0;
}
