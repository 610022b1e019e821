// Product types: the record, the two product-type files, update files and the weapon list.
#include "gamedata/product_types.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "framework/byte_cursor.h"
#include "framework/cp932.h"
#include "framework/data_paths.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/name_order.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "gamedata/weapons.h"

namespace kv {

namespace {

constexpr int kWarheadType = 34;
const char* const kWeaponBlockTag = "KOBWPN04";
constexpr size_t kMaxFileBytes = 64u << 20;

bool oldSetHas(const uint8_t* set, int id) {
    return (set[id / 8] >> (id % 8)) & 1;
}

// No id of the eight from `id` (a multiple of 8) is in any of the record's lists: the loops
// over every id skip such bytes whole.
bool noneOfEight(const ProductType& r, int id) {
    const size_t at = ProductType::kListOffset + static_cast<size_t>(id / 8);
    return (r.bytes[at] | r.bytes[at + ProductType::kListBytes] |
            r.bytes[at + 2 * ProductType::kListBytes]) == 0;
}

constexpr std::string_view kProductTypesFile = "producttype.dat";
constexpr std::string_view kUserProductTypesFile = "productutype.dat";

}  // namespace

// --- the record ---------------------------------------------------------------------------

std::string ProductType::name() const {
    return fieldText(reinterpret_cast<const char*>(bytes.data()), kNameSize);
}

void ProductType::setName(std::string_view cp932) {
    const std::string cut = cutToBytes(cp932, kNameSize - 1);
    std::memset(bytes.data(), 0, kNameSize);
    std::memcpy(bytes.data(), cut.data(), cut.size());
}

bool ProductType::has(List list, int id) const {
    if (id < 0 || id >= kMaxId) return false;
    return (bytes[kListOffset + list * kListBytes + id / 8] >> (id % 8)) & 1;
}

void ProductType::set(List list, int id, bool on) {
    if (id < 0 || id >= kMaxId) return;
    uint8_t& b = bytes[kListOffset + list * kListBytes + id / 8];
    const uint8_t bit = static_cast<uint8_t>(1u << (id % 8));
    b = on ? (b | bit) : (b & ~bit);
}

bool ProductType::inAnyList(int id) const {
    return has(Air, id) || has(Land, id) || has(Sea, id);
}

ProductType::List productionList(int layer, int weaponType) {
    if (weaponType == 9 || weaponType == 17 || weaponType == 18) return ProductType::Sea;
    if (weaponType == 14 || weaponType == 15) return ProductType::Land;
    if (layer <= 2) return ProductType::Air;
    if (layer == 3) return ProductType::Land;
    return ProductType::Sea;
}

ProductType convertOldRecord(const uint8_t* old, size_t size, const WeaponData& weapons) {
    uint8_t buffer[ProductType::kOldSize] = {};
    std::memcpy(buffer, old, std::min(size, sizeof buffer));
    ProductType r;
    std::memcpy(r.bytes.data(), buffer, ProductType::kListOffset);
    const uint8_t* set = buffer + ProductType::kListOffset;
    for (int id = 0; id < ProductType::kMaxId; ++id) {
        if (set[id / 8] == 0) {
            id |= 7;  // no id of this byte is in the set
            continue;
        }
        if (!oldSetHas(set, id) || !weapons.hasWeapon(id)) continue;
        const WeaponRecord& w = weapons.weapon(id);
        r.set(productionList(w.layer(), w.weaponType()), id);
    }
    return r;
}

int updateFileVersion(std::string_view magic) {
    static const std::pair<const char*, int> kVersions[] = {
        {"WINTRAXUSEPD0000", 3}, {"GLOSSAME2UPD0001", 4}, {"GLOSSAME2UPD0002", 5},
        {"GLOSSAMEQ2BUPD01", 7}, {"FENWICUPD0000001", 8}, {"WINTRAX2USEPD000", 11}};
    if (magic.size() != 16) return 0;
    for (const auto& [m, v] : kVersions)
        if (magic == m) return v;
    return 0;
}

// --- the files -----------------------------------------------------------------------------

std::vector<ProductType> ProductTypeData::readFile(const std::string& path, size_t capacity,
                                                   const WeaponData* weapons,
                                                   std::vector<std::vector<uint8_t>>* old) {
    std::vector<ProductType> records;
    readFileInto(path, capacity, weapons, old, records);
    return records;
}

void ProductTypeData::readFileInto(const std::string& path, size_t capacity,
                                   const WeaponData* weapons,
                                   std::vector<std::vector<uint8_t>>* old,
                                   std::vector<ProductType>& records) {
    records.clear();
    const std::optional<std::string> file = readWholeFile(path, kMaxFileBytes);
    if (!file || file->size() < 4) return;
    // Every record takes 7534 bytes in memory whatever its size on disk, so a size is checked
    // before use and reading stops at the table's capacity: a size of 1 would otherwise
    // turn each byte of the file into a record.
    ByteReader in(*file);
    const size_t s = in.u32();
    if (s == 0 || s > ProductType::kSize) return;
    const size_t n = std::min(file->size() / s, capacity);
    records.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        if (in.atEnd()) break;
        const size_t present = static_cast<size_t>(std::min<uint64_t>(s, in.remaining()));
        const std::span<const uint8_t> record = in.view(present);
        in.skip(s - present);
        const uint8_t* src = record.data();
        if (s == ProductType::kOldSize) {
            static const WeaponData kNoWeapons;
            records.push_back(convertOldRecord(src, present, weapons ? *weapons : kNoWeapons));
            if (old) old->emplace_back(src, src + present);
        } else {
            ProductType r;
            std::memcpy(r.bytes.data(), src, std::min(present, ProductType::kSize));
            records.push_back(r);
            if (old) old->emplace_back();
        }
    }
}

std::string ProductTypeData::serialise(const std::vector<ProductType>& records) {
    std::string file;
    file.reserve(4 + records.size() * ProductType::kSize);
    ByteAppender out(file);
    out.u32(ProductType::kSize);
    for (const ProductType& r : records) out.bytes(r.bytes);
    return file;
}

void ProductTypeData::loadProductTypes(const WeaponData& weapons) {
    readFileInto(dataPath(kProductTypesFile, DataKind::Program), kStandardSlots, &weapons, nullptr,
                 productTypes_);
}

void ProductTypeData::loadUserProductTypes() {
    std::vector<std::vector<uint8_t>> old;
    readFileInto(dataPath(kUserProductTypesFile, DataKind::Program), kUserSlots, nullptr, &old,
                 userProductTypes_);
    userProductTypes_.resize(kUserSlots);
    pendingOldUser_.clear();
    for (size_t i = 0; i < old.size(); ++i)
        if (!old[i].empty()) pendingOldUser_.emplace_back(static_cast<int>(i), std::move(old[i]));
}

void ProductTypeData::convertPendingUserRecords(const WeaponData& weapons) {
    // Old-form user records keep their weapons only once the weapon table exists.
    for (const auto& [slot, bytes] : pendingOldUser_)
        userProductTypes_[slot] = convertOldRecord(bytes.data(), bytes.size(), weapons);
    pendingOldUser_.clear();
}

const ProductType& ProductTypeData::productType(int slot) const {
    static const ProductType kEmpty;
    if (slot >= kStandardSlots) {
        const int u = slot - kStandardSlots;
        return u < kUserSlots ? userProductTypes_[u] : kEmpty;
    }
    if (slot >= 0 && slot < static_cast<int>(productTypes_.size())) return productTypes_[slot];
    return kEmpty;
}

void ProductTypeData::setProductType(int slot, const ProductType& record) {
    if (slot < 0) return;
    if (slot < kStandardSlots) {
        if (static_cast<int>(productTypes_.size()) <= slot) productTypes_.resize(slot + 1);
        productTypes_[slot] = record;
    } else if (slot < kStandardSlots + kUserSlots) {
        userProductTypes_[slot - kStandardSlots] = record;
    }
}

void ProductTypeData::clearProductType(int slot) {
    if (slot < 0 || slot >= kStandardSlots + kUserSlots) return;
    if (slot < kStandardSlots) {
        if (slot >= static_cast<int>(productTypes_.size())) return;
        productTypes_[slot] = ProductType();
        saveProductTypes();
    } else {
        userProductTypes_[slot - kStandardSlots] = ProductType();
        saveUserProductTypes();
    }
}

void ProductTypeData::copyProductType(int destination, int source) {
    auto valid = [this](int s) {
        return (s >= 0 && s < static_cast<int>(productTypes_.size())) ||
               (s >= kStandardSlots && s < kStandardSlots + kUserSlots);
    };
    if (!valid(source) || destination < 0 || destination >= kStandardSlots + kUserSlots) return;
    const ProductType copy = productType(source);
    setProductType(destination, copy);
    if (destination < kStandardSlots) {
        saveProductTypes();
    } else {
        saveUserProductTypes();
    }
}

bool ProductTypeData::saveProductTypes() const {
    try {
        writeFileAtomically(writableDataPath(kProductTypesFile, DataKind::Program),
                            serialise(productTypes_));
        return true;
    } catch (const swCError&) {
        return false;
    }
}

bool ProductTypeData::saveUserProductTypes() const {
    try {
        writeFileAtomically(writableDataPath(kUserProductTypesFile, DataKind::Program),
                            serialise(userProductTypes_));
        return true;
    } catch (const swCError&) {
        return false;
    }
}

// --- update files --------------------------------------------------------------------------

std::string ProductTypeData::updateFileBytes(const ProductType* record) {
    std::string file;
    ByteAppender out(file);
    out.bytes(std::string_view(kUpdateMagic));
    if (!record) {
        out.u32(0);  // an empty standard slot
    } else {
        out.u32(ProductType::kSize);
        out.bytes(record->bytes);
    }
    out.bytes(std::string_view(kWeaponBlockTag));
    out.u32(0);  // no user weapons follow
    return file;
}

bool ProductTypeData::exportUpdateFile(const std::string& path, int slot) const {
    writeFolderKey("UserProductPath", std::filesystem::path(path).parent_path().string());
    const bool emptyStandard =
        slot >= 0 && slot < kStandardSlots && slot >= static_cast<int>(productTypes_.size());
    try {
        writeFileAtomically(path, updateFileBytes(emptyStandard ? nullptr : &productType(slot)));
    } catch (const swCError&) {
        return false;
    }
    return true;
}

int ProductTypeData::importUpdateFile(const std::string& path, int destination,
                                      const WeaponData& weapons) {
    const std::optional<std::string> file = readWholeFile(path, kMaxFileBytes);
    if (!file || file->size() < 16) return 0;
    const int version = updateFileVersion(std::string_view(*file).substr(0, 16));
    if (version == 0) return 0;
    ByteReader in(*file);
    in.seek(16);
    const size_t s = in.u32();
    const size_t available = static_cast<size_t>(in.remaining());
    // A record cut short by the end of the file, or a current record larger than a record,
    // marks a damaged file: nothing is stored.
    if (in.shortfall() || s > available || (version > 10 && s > ProductType::kSize)) return 0;
    const auto* src =
        reinterpret_cast<const uint8_t*>(file->data() + std::min<size_t>(20, file->size()));

    ProductType record;
    if (version > 10) {
        std::memcpy(record.bytes.data(), src, std::min({s, available, ProductType::kSize}));
    } else {
        uint8_t old[ProductType::kOldSize] = {};
        std::memcpy(old, src, std::min({s, available, ProductType::kOldSize}));
        if (version == 3) {
            // Earlier weapon numbers: old id i stands for number i + 1 of the conversion.
            uint8_t* set = old + ProductType::kListOffset;
            bool was[2000];
            for (int i = 0; i < 2000; ++i) was[i] = oldSetHas(set, i);
            std::memset(set, 0, 2000 / 8);
            for (int i = 0; i < 2000; ++i) {
                if (!was[i]) continue;
                const int id = convertVersion3WeaponNumber(i + 1);
                if (id > 0 && id < ProductType::kMaxId)
                    set[id / 8] |= static_cast<uint8_t>(1u << (id % 8));
            }
        }
        record = convertOldRecord(old, sizeof old, weapons);
        for (int id = 0; id < ProductType::kMaxId; ++id) {
            if (id % 8 == 0 && noneOfEight(record, id)) {
                id += 7;
                continue;
            }
            for (int list = 0; list < 3; ++list)
                if (record.has(ProductType::List(list), id) &&
                    (id >= 5000 || !weapons.hasWeapon(id)))
                    record.set(ProductType::List(list), id, false);
        }
    }

    bool unselectable = false;
    for (int id = 0; id < ProductType::kMaxId; ++id) {
        if (id % 8 == 0 && noneOfEight(record, id)) {
            id += 7;
            continue;
        }
        if (!record.inAnyList(id)) continue;
        if (!weapons.hasWeapon(id)) {
            showMessage("注意", "本製品に含まれていない兵器データが使用されています。");
            return -1;
        }
        if (weapons.weapon(id).selectable() == 0) unselectable = true;
    }
    setProductType(destination, record);
    if (unselectable) showMessage("注意", "本製品に登場しない兵器は自動的に除外されます。");
    return 1;
}

// --- the weapon list -------------------------------------------------------------------------

void ProductTypeData::buildWeaponList(int number, const WeaponData& weapons) {
    weaponListNumber_ = number;
    weaponList_.clear();
    const ProductType* filter = nullptr;
    if (number >= 1 && number < kStandardSlots) filter = &productType(number - 1);
    if (number >= kStandardSlots) filter = &productType(number);
    for (int id = 0; id < WeaponData::kWeaponIndexSize; ++id) {
        if (filter && id % 8 == 0 && noneOfEight(*filter, id)) {
            id += 7;
            continue;
        }
        if (filter && !filter->inAnyList(id)) continue;
        if (!weapons.hasWeapon(id)) continue;
        const WeaponRecord& w = weapons.weapon(id);
        if (!w.selectable() || w.weaponType() == kWarheadType || weapons.isTowedAlternate(id))
            continue;
        weaponList_.push_back(id);
    }
}

void ProductTypeData::sortWeaponList(int order, bool reverse, const WeaponData& weapons) {
    if (reverse) {
        std::reverse(weaponList_.begin(), weaponList_.end());
        return;
    }
    weaponListOrder_ = order;
    auto key = [&weapons, order](int id) -> int64_t {
        const WeaponRecord& w = weapons.weapon(id);
        switch (order) {
            case 0: return w.weaponType();
            case 2: return w.memberCount();
            case 3: return static_cast<int64_t>(w.memberCount()) * w.value31();
            default: return 0;
        }
    };
    if (order == 1) {
        // In the order a Japanese reader expects (half-width katakana with their full-width
        // and hiragana peers), as ranked by the installed collation; no tie-break.
        std::vector<std::string> names;
        names.reserve(weaponList_.size());
        for (int id : weaponList_) names.push_back(weapons.weapon(id).name());
        const std::vector<int> ranks = rankNames(names);
        std::vector<std::pair<int, int>> ranked;
        ranked.reserve(weaponList_.size());
        for (size_t i = 0; i < weaponList_.size(); ++i)
            ranked.emplace_back(ranks[i], weaponList_[i]);
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (size_t i = 0; i < ranked.size(); ++i) weaponList_[i] = ranked[i].second;
        return;
    }
    std::stable_sort(weaponList_.begin(), weaponList_.end(), [&](int a, int b) {
        const int64_t ka = key(a), kb = key(b);
        if (ka != kb) return ka < kb;
        return weapons.weapon(a).position() < weapons.weapon(b).position();
    });
}

}  // namespace kv
