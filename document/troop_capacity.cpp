// The carrying rule of carriers and the stowing rule of facilities.
#include "document/troop_capacity.h"

#include <array>
#include <vector>

#include "document/map_document.h"

namespace kv {

namespace {

constexpr size_t kStowingRule = 6;  // 収納
constexpr int kVtolLandingFirst = 35, kVtolLandingLast = 40, kHeliportIndex = 43;
constexpr int kTunnelIndex = 48;
constexpr int kCategoryAircraft = 0, kCategoryVtol = 1, kCategoryHelicopter = 2, kCategoryLand = 3,
              kCategorySea = 4;

// The facility at the hex, when it is intact and has room.
const TerrainType* intactFacility(const MapDocument& doc, int col, int row) {
    const HexCell* c = doc.cellAt(col, row);
    if (!c || c->destroyed != 0) return nullptr;
    const TerrainType& t = doc.gameDatabase.terrain(c->terrain);
    if (!isFacility(t.category) || t.capacity == 0) return nullptr;
    return &t;
}

// Augmenting path of the cargo-to-slot matching: troop `i` takes a free slot, or one whose
// holder can move to another slot.
bool placeCargo(size_t i, const std::vector<uint8_t>& classes, const WeaponRecord& carrier,
                std::array<int, WeaponRecord::kCargoSlotCount>& holder,
                std::array<bool, WeaponRecord::kCargoSlotCount>& tried) {
    for (int s = 0; s < WeaponRecord::kCargoSlotCount; ++s) {
        if (tried[s] || carrier.cargoCapacity(s) == 0) continue;
        if ((carrier.cargoSlot(s) & classes[i]) == 0) continue;
        tried[s] = true;
        if (holder[s] < 0 ||
            placeCargo(static_cast<size_t>(holder[s]), classes, carrier, holder, tried)) {
            holder[s] = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

}  // namespace

uint8_t troopCondition(const TroopRecord& troop) {
    return troop.bytes[kTroopConditionAt];
}

bool hasTransportCondition(const TroopRecord& troop) {
    return (troopCondition(troop) & kConditionTransport) != 0;
}

bool hasAnnihilationCondition(const TroopRecord& troop) {
    return (troopCondition(troop) & kConditionAnnihilation) != 0;
}

int destinationCol(const TroopRecord& troop) {
    return troop.bytes[kTroopDestColAt];
}

int destinationRow(const TroopRecord& troop) {
    return troop.bytes[kTroopDestRowAt];
}

bool isOutsideStacks(const TroopRecord& troop) {
    const uint8_t b = troop.bytes[kTroopByte221At];
    return b == 25 || b == 26 || b == 27;
}

bool carrierHolds(const GameDatabase& db, int carrierWeapon, std::span<const int> cargoWeapons) {
    if (cargoWeapons.empty()) return true;
    if (cargoWeapons.size() > static_cast<size_t>(WeaponRecord::kCargoSlotCount)) return false;
    const WeaponRecord& carrier = db.weapon(carrierWeapon);
    std::vector<uint8_t> classes;
    classes.reserve(cargoWeapons.size());
    for (int id : cargoWeapons) classes.push_back(db.weapon(id).transportClass());
    std::array<int, WeaponRecord::kCargoSlotCount> holder;
    holder.fill(-1);
    for (size_t i = 0; i < classes.size(); ++i) {
        std::array<bool, WeaponRecord::kCargoSlotCount> tried{};
        if (!placeCargo(i, classes, carrier, holder, tried)) return false;
    }
    return true;
}

bool canStowAt(const MapDocument& doc, int weaponId, int col, int row) {
    if (doc.ruleSettings.value(kStowingRule) == 0) return false;
    const TerrainType* t = intactFacility(doc, col, row);
    if (!t) return false;
    const int index = doc.cellAt(col, row)->terrain;
    switch (doc.gameDatabase.weaponCategory(weaponId)) {
        case kCategoryAircraft: return t->category == TerrainCategory::Airport;
        case kCategoryVtol:
            return (t->flags & kTerrainVtolLanding) != 0 ||
                   (index >= kVtolLandingFirst && index <= kVtolLandingLast) ||
                   index == kHeliportIndex;
        case kCategoryHelicopter:
            return (t->flags & kTerrainHeliLanding) != 0 || index != kTunnelIndex;
        case kCategoryLand: return true;
        case kCategorySea: return t->category == TerrainCategory::Port;
        default: return false;
    }
}

int stowingCapacity(const MapDocument& doc, int col, int row) {
    const TerrainType* t = intactFacility(doc, col, row);
    return t ? t->capacity : 0;
}

}  // namespace kv
