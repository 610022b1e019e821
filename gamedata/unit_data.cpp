// Reading, indexing and storing the per-weapon battle data records.
#include "gamedata/unit_data.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "framework/data_paths.h"
#include "framework/disk_file.h"

namespace kv {

namespace {

constexpr size_t kFileLimit = 64u << 20;
// Index entries are 16 bits wide, so no table grows past this many records.
constexpr size_t kMaxRecords = 0xFFFF;

const UnitRecord kNoRecord{};

}  // namespace

UnitRecord UnitRecord::fromBytes(std::span<const uint8_t> bytes) {
    UnitRecord r{};
    if (!bytes.empty()) std::memcpy(&r, bytes.data(), std::min(bytes.size(), kSize));
    return r;
}

bool UnitRecord::operator==(const UnitRecord& other) const {
    return std::memcmp(this, &other, kSize) == 0;
}

UnitDataTable::UnitDataTable() : unitIndex_(kIndexSize, 0) {}

void UnitDataTable::load(const std::vector<WeaponRecord>& weapons) {
    loadFrom(dataPath("unitdata.dat", DataKind::Rf), dataPath("uunitdata.dat", DataKind::Rf),
             weapons);
}

void UnitDataTable::loadFrom(const std::string& standardPath, const std::string& userPath,
                             const std::vector<WeaponRecord>& weapons) {
    // A file that exists but cannot be read counts as present and empty.
    auto contents = [](const std::string& path) -> std::optional<std::string> {
        if (!fileExists(path)) return std::nullopt;
        return readWholeFile(path, kFileLimit).value_or(std::string());
    };
    const std::optional<std::string> standard = contents(standardPath);
    const std::optional<std::string> user = contents(userPath);
    read(standard ? &*standard : nullptr, user ? &*user : nullptr, weapons);
}

void UnitDataTable::read(const std::string* standardBytes, const std::string* userBytes,
                         const std::vector<WeaponRecord>& weapons) {
    if (standardBytes) {
        readStandard(*standardBytes);
        for (const WeaponRecord& w : weapons) {
            if (hasRecord(w.id())) continue;
            UnitRecord filler{};
            filler.weaponId = w.id();
            append(standardUnits_, filler);
        }
    }
    if (userBytes) readUser(*userBytes);
}

void UnitDataTable::readStandard(std::string_view bytes) {
    if (bytes.size() <= kMagic.size() || bytes.substr(0, kMagic.size()) != kMagic) return;
    // The count is the whole size over the record size; a short last record is dropped.
    const size_t n = std::min(bytes.size() / UnitRecord::kSize,
                              (bytes.size() - kMagic.size()) / UnitRecord::kSize);
    const auto* base = reinterpret_cast<const uint8_t*>(bytes.data()) + kMagic.size();
    for (size_t i = 0; i < n; ++i) {
        append(standardUnits_,
               UnitRecord::fromBytes({base + i * UnitRecord::kSize, UnitRecord::kSize}));
    }
}

void UnitDataTable::readUser(std::string_view bytes) {
    const size_t n = bytes.size() / UnitRecord::kSize;
    const auto* base = reinterpret_cast<const uint8_t*>(bytes.data());
    for (size_t i = 0; i < n; ++i) {
        append(userUnits_,
               UnitRecord::fromBytes({base + i * UnitRecord::kSize, UnitRecord::kSize}));
    }
}

// Appends and points the record's index entry at it, whatever table its id range selects:
// the files are trusted that far, and lookups check the bounds.
void UnitDataTable::append(std::vector<UnitRecord>& table, const UnitRecord& record) {
    if (table.size() >= kMaxRecords) return;
    table.push_back(record);
    if (record.weaponId < kIndexSize) {
        unitIndex_[record.weaponId] = static_cast<uint16_t>(table.size());
    }
}

std::vector<UnitRecord>& UnitDataTable::tableFor(int weaponId) {
    return weaponId >= kUserFirstId     ? userUnits_
           : weaponId >= kMiddleFirstId ? middleUnits_
                                        : standardUnits_;
}

const std::vector<UnitRecord>& UnitDataTable::tableFor(int weaponId) const {
    return const_cast<UnitDataTable*>(this)->tableFor(weaponId);
}

uint16_t UnitDataTable::unitIndex(int weaponId) const {
    return weaponId >= 0 && weaponId < kIndexSize ? unitIndex_[weaponId] : 0;
}

bool UnitDataTable::hasRecord(int weaponId) const {
    return unitIndex(weaponId) != 0;
}

const UnitRecord& UnitDataTable::record(int weaponId) const {
    const size_t entry = unitIndex(weaponId);
    const std::vector<UnitRecord>& table = tableFor(weaponId);
    return entry != 0 && entry <= table.size() ? table[entry - 1] : kNoRecord;
}

void UnitDataTable::copyRecord(int weaponId, UnitRecord& destination) const {
    std::memcpy(&destination, &record(weaponId), UnitRecord::kSize);
}

bool UnitDataTable::store(const UnitRecord& r) {
    const int id = r.weaponId;
    if (id >= kIndexSize) return false;
    std::vector<UnitRecord>& table = tableFor(id);
    const size_t entry = unitIndex_[id];
    if (entry != 0 && entry <= table.size()) {
        table[entry - 1] = r;
        return true;
    }
    if (table.size() >= kMaxRecords) return false;
    append(table, r);
    return true;
}

std::string UnitDataTable::encodeStandardFile(const std::vector<UnitRecord>& records) {
    std::string bytes(kMagic);
    for (const UnitRecord& r : records) {
        bytes.append(reinterpret_cast<const char*>(r.data()), UnitRecord::kSize);
    }
    return bytes;
}

}  // namespace kv
