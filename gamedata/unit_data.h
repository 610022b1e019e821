// The battle data record every weapon carries (58 bytes, opaque to the editor), read from
// rf/unitdata.dat and rf/uunitdata.dat, indexed by weapon id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gamedata/weapon_records.h"

namespace kv {

struct UnitRecord {
    static constexpr size_t kSize = 58;
    uint16_t weaponId;
    uint8_t battleData[56];

    const uint8_t* data() const { return reinterpret_cast<const uint8_t*>(this); }
    // A record from stored bytes: the first 58 of them, missing bytes zero.
    static UnitRecord fromBytes(std::span<const uint8_t> bytes);
    bool operator==(const UnitRecord& other) const;
};
static_assert(sizeof(UnitRecord) == UnitRecord::kSize);
static_assert(offsetof(UnitRecord, battleData) == 2);

class UnitDataTable {
public:
    static constexpr std::string_view kMagic = "RIDUVIDARDATA2  ";
    static constexpr int kIndexSize = 15000;
    static constexpr int kMiddleFirstId = 5000;
    static constexpr int kUserFirstId = 10000;

    UnitDataTable();

    // rf/unitdata.dat and rf/uunitdata.dat of the program folder; then every weapon of
    // `weapons` without a record gets an all-zero one (only when unitdata.dat exists).
    void load(const std::vector<WeaponRecord>& weapons);
    // The same from any two files; a missing file is no error.
    void loadFrom(const std::string& standardPath, const std::string& userPath,
                  const std::vector<WeaponRecord>& weapons);
    // The same from file contents; nullptr for a file that does not exist.
    void read(const std::string* standardBytes, const std::string* userBytes,
              const std::vector<WeaponRecord>& weapons);

    bool hasRecord(int weaponId) const;
    // The record of a weapon id; an all-zero record when it has none.
    const UnitRecord& record(int weaponId) const;
    void copyRecord(int weaponId, UnitRecord& destination) const;
    // Overwrites the record of the same weapon id, or appends it to the table of its id range.
    // False, and nothing stored, for an id of 15000 or more.
    bool store(const UnitRecord& record);

    const std::vector<UnitRecord>& standardUnits() const { return standardUnits_; }
    const std::vector<UnitRecord>& middleUnits() const { return middleUnits_; }
    const std::vector<UnitRecord>& userUnits() const { return userUnits_; }
    // 0 for an id out of range.
    uint16_t unitIndex(int weaponId) const;

    // A unitdata.dat image: the magic and the records.
    static std::string encodeStandardFile(const std::vector<UnitRecord>& records);

private:
    std::vector<UnitRecord>& tableFor(int weaponId);
    const std::vector<UnitRecord>& tableFor(int weaponId) const;
    void append(std::vector<UnitRecord>& table, const UnitRecord& record);
    void readStandard(std::string_view bytes);
    void readUser(std::string_view bytes);

    std::vector<UnitRecord> standardUnits_;
    std::vector<UnitRecord> middleUnits_;
    std::vector<UnitRecord> userUnits_;
    std::vector<uint16_t> unitIndex_;
};

}  // namespace kv
