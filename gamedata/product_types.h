// Product types: named air, land and sea lists of the weapons a faction may produce; the
// standard and user files, update files, and the weapon list offered by the palettes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/byte_cursor.h"

namespace kv {

class WeaponData;

// One 7534-byte product type record, the same in memory and on disk.
class ProductType {
public:
    static constexpr size_t kSize = 7534;
    static constexpr size_t kOldSize = 2534;
    static constexpr size_t kNameSize = 32;
    static constexpr size_t kTypeValueOffset = 32;
    static constexpr size_t kListOffset = 34;
    static constexpr size_t kListBytes = 2500;
    static constexpr int kMaxId = 20000;  // ids 0..19999 fit a list
    enum List { Air = 0, Land = 1, Sea = 2 };

    std::array<uint8_t, kSize> bytes{};

    bool isUsed() const { return bytes[0] != 0; }
    // CP932 bytes of the name up to its NUL.
    std::string name() const;
    void setName(std::string_view cp932);
    uint16_t typeValue() const { return loadU16(&bytes[kTypeValueOffset]); }
    bool has(List list, int id) const;
    void set(List list, int id, bool on = true);
    bool inAnyList(int id) const;
    bool operator==(const ProductType&) const = default;
};

// The production list of a weapon by its layer and type.
ProductType::List productionList(int layer, int weaponType);

// Converts an old 2534-byte record (name, type value, one list of all weapons): each id that
// the weapon table holds goes to the list its layer and type call for; others are dropped.
ProductType convertOldRecord(const uint8_t* old, size_t size, const WeaponData& weapons);

// Update-file versions by magic; 0 for a rejected magic.
int updateFileVersion(std::string_view magic16);
inline constexpr const char* kUpdateMagic = "WINTRAX2USEPD000";
// The current id of a version-3 weapon number; 0 when the number has none.
int convertVersion3WeaponNumber(int oldNumber);

class ProductTypeData {
public:
    static constexpr int kStandardSlots = 150;
    static constexpr int kUserSlots = 100;

    // Reads producttype.dat into slots 0..149 (needs the weapon table for old records).
    void loadProductTypes(const WeaponData& weapons);
    // Reads productutype.dat into slots 150..249, padded to 100 records. Old-form records
    // are kept aside until `convertPendingUserRecords`, once the weapons are loaded.
    void loadUserProductTypes();
    void convertPendingUserRecords(const WeaponData& weapons);

    const ProductType& productType(int slot) const;
    void setProductType(int slot, const ProductType& record);
    void clearProductType(int slot);
    void copyProductType(int destination, int source);
    // Save through the safe-save path; false when the file could not be written.
    bool saveProductTypes() const;
    bool saveUserProductTypes() const;

    // The update file of a record (none: an empty standard slot).
    static std::string updateFileBytes(const ProductType* record);
    bool exportUpdateFile(const std::string& path, int slot) const;
    // 1 stored, 0 not an update file, -1 refused (names weapons this data lacks).
    int importUpdateFile(const std::string& path, int destination, const WeaponData& weapons);

    // The weapon ids offered for a product type (0 none, 1..149 standard slot + 1,
    // 150..249 user slot).
    void buildWeaponList(int productTypeNumber, const WeaponData& weapons);
    // Order 0 type, 1 name (by the installed name ranker), 2 member count, 3 member count ×
    // value; `reverse` reverses instead.
    void sortWeaponList(int order, bool reverse, const WeaponData& weapons);

    const std::vector<ProductType>& productTypes() const { return productTypes_; }
    const std::vector<ProductType>& userProductTypes() const { return userProductTypes_; }
    const std::vector<int>& weaponList() const { return weaponList_; }
    int weaponListProductType() const { return weaponListNumber_; }
    int weaponListOrder() const { return weaponListOrder_; }

    // Reads at most `capacity` records of a product-type file (converting old ones against
    // `weapons` when given, else returning them raw in `old`); none when the record size is 0
    // or above 7534. Used by the loaders and by tests.
    static std::vector<ProductType> readFile(const std::string& path, size_t capacity,
                                             const WeaponData* weapons,
                                             std::vector<std::vector<uint8_t>>* old = nullptr);
    static std::string serialise(const std::vector<ProductType>& records);

private:
    // readFile into `records`, which keeps its storage (a table is over a megabyte).
    static void readFileInto(const std::string& path, size_t capacity, const WeaponData* weapons,
                             std::vector<std::vector<uint8_t>>* old,
                             std::vector<ProductType>& records);

    std::vector<ProductType> productTypes_;
    std::vector<ProductType> userProductTypes_ = std::vector<ProductType>(kUserSlots);
    std::vector<std::pair<int, std::vector<uint8_t>>> pendingOldUser_;
    std::vector<int> weaponList_;
    int weaponListNumber_ = 0;
    int weaponListOrder_ = 0;
};

}  // namespace kv
