// The bundled product types: each nation's air, land and sea lists drawn from the arsenal.
#include "sampledata/product_data.h"

#include <filesystem>
#include <fstream>

#include "framework/cp932.h"
#include "gamedata/product_types.h"
#include "sampledata/weapon_data.h"

namespace kv::sample {

namespace {

struct Nation {
    const char* name;
    // Which weapons of the arsenal the nation builds: every weapon whose id, divided by
    // `stride`, leaves `keep` — nations share the common weapons and differ in the rest.
    int stride;
    int keep;
};

// The first type offers everything; the others draw overlapping halves and thirds.
const Nation kNations[] = {
    {"統合軍標準", 1, 0},     {"アルデナ共和国", 2, 0}, {"北ローレン連邦", 2, 1},
    {"セルヴィア王国", 3, 0}, {"東方同盟", 3, 1},
};

bool offered(const Nation& n, const SampleWeapon& w) {
    // Headquarters, supply and infantry are everyone's; so are the warheads of missile bases.
    if (w.weaponType == 34 || w.weaponType == 36 || w.weaponType == 37 || w.weaponType == 39)
        return true;
    return (w.id / 10) % n.stride == n.keep;
}

ProductType nationRecord(const Nation& n, uint16_t typeValue) {
    ProductType r;
    r.setName(*encodeCp932(n.name));
    r.bytes[ProductType::kTypeValueOffset] = static_cast<uint8_t>(typeValue);
    for (const SampleWeapon& w : sampleWeapons()) {
        if (!offered(n, w)) continue;
        r.set(productionList(w.layer, w.weaponType), w.id);
        // A transforming pair is produced together.
        if (w.linkedWeapon) r.set(productionList(w.layer, w.weaponType), w.linkedWeapon);
    }
    return r;
}

bool writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

std::string writeProductData(const std::string& root) {
    std::vector<ProductType> records;
    uint16_t value = 1;
    for (const Nation& n : kNations) records.push_back(nationRecord(n, value++));
    const std::filesystem::path dir(root);
    if (!writeBytes(dir / "producttype.dat", ProductTypeData::serialise(records)))
        return root + "/producttype.dat: cannot write";

    // An example user product type to import: a small coastal-defence force.
    ProductType coastal;
    coastal.setName(*encodeCp932("沿岸防衛隊"));
    for (const SampleWeapon& w : sampleWeapons()) {
        const bool coastalWeapon =
            w.branch == 2 ? w.weaponType >= 44
                          : w.weaponType == 32 || w.weaponType == 37 || w.weaponType == 39;
        if (coastalWeapon && w.selectable) coastal.set(productionList(w.layer, w.weaponType), w.id);
    }
    std::error_code ec;
    std::filesystem::create_directories(dir / "data", ec);
    if (!writeBytes(dir / "data" / "sample.upd", ProductTypeData::updateFileBytes(&coastal)))
        return root + "/data/sample.upd: cannot write";
    return {};
}

}  // namespace kv::sample
