// Troop records and the troop tables: slot addressing, counts and clearing.
#include "document/troop_record.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace kv {

void TroopRecord::setName(std::string_view cp932) {
    const std::string cut = cutToBytes(cp932, kNameSize);
    std::fill_n(&bytes[kNameAt], kNameSize, uint8_t{0});
    std::copy(cut.begin(), cut.end(), &bytes[kNameAt]);
}

TroopTable::TroopTable() : workBuffer(kWorkBufferSize) {
    for (auto& table : records) table.resize(kSlots);
    for (auto& table : secondRecords) table.resize(kSlots);
}

TroopRecord* TroopTable::at(int table, int slot) {
    if (!isSlot(slot)) return nullptr;
    if (table >= 0 && table < kFactions) return &records[table][slot];
    if (table >= kSecondSet && table < kSecondSet + kFactions)
        return &secondRecords[table - kSecondSet][slot];
    return nullptr;
}

const TroopRecord* TroopTable::at(int table, int slot) const {
    return const_cast<TroopTable*>(this)->at(table, slot);
}

int32_t* TroopTable::countOf(int table) {
    if (table >= 0 && table < kFactions) return &count[table];
    if (table >= kSecondSet && table < kSecondSet + kFactions)
        return &secondCount[table - kSecondSet];
    return nullptr;
}

int TroopTable::usedSlots(int table) const {
    const int32_t* c = const_cast<TroopTable*>(this)->countOf(table);
    return c ? std::clamp(*c, 0, kSlots) : 0;
}

void TroopTable::raiseCount(int table, int slot) {
    int32_t* c = countOf(table);
    if (c && isSlot(slot) && *c <= slot) *c = slot + 1;
}

void TroopTable::recomputeCounts() {
    for (int f = 0; f < kFactions; ++f) {
        count[f] = 0;
        for (int s = kSlots - 1; s >= 0; --s) {
            if (records[f][s].inUse()) {
                count[f] = s + 1;
                break;
            }
        }
    }
}

void TroopTable::clear() {
    count.fill(0);
    secondCount.fill(0);
    // Every reset of the document comes here: zeroing each table as one block is many
    // times faster than record by record.
    static_assert(std::is_trivially_copyable_v<TroopRecord>);
    auto zero = [](std::vector<TroopRecord>& table) {
        std::memset(static_cast<void*>(table.data()), 0, table.size() * sizeof(TroopRecord));
    };
    for (auto& table : records) zero(table);
    for (auto& table : secondRecords) zero(table);
    std::fill(workBuffer.begin(), workBuffer.end(), uint8_t{0});
    workWords.fill(0);
}

}  // namespace kv
