// Conversions the earlier-edition readers share: the faction slot map, rule ids, the factions
// of a cell, text fields, troops and labels.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "document/import_records.h"
#include "document/map_document.h"
#include "framework/cp932.h"

namespace kv::import_detail {

namespace {

constexpr uint8_t kNeutralTerritory = 7;

}  // namespace

SlotMap::SlotMap(const std::vector<bool>& takesPart) {
    slot_.fill(-1);
    takesPart_.fill(false);
    const int n = std::min<int>(static_cast<int>(takesPart.size()), legacy::kOldFactions);
    std::array<bool, kFactionCount> taken{};
    for (int i = 0; i < n; ++i) {
        takesPart_[i] = takesPart[static_cast<size_t>(i)];
        if (!takesPart_[i]) continue;
        int s = i < kFactionCount ? i : -1;
        for (int free = 0; s < 0 && free < kFactionCount; ++free)
            if (!taken[free]) s = free;
        if (s >= 0) taken[s] = true;
        slot_[i] = s;
    }
    // A faction that does not take part keeps its slot for what refers to it, unless a later
    // faction moved in.
    for (int i = 0; i < std::min(n, kFactionCount); ++i)
        if (!takesPart_[i] && !taken[i]) slot_[i] = i;
}

int SlotMap::slotOf(int oldFaction) const {
    return oldFaction >= 0 && oldFaction < legacy::kOldFactions ? slot_[oldFaction] : -1;
}

bool SlotMap::takesPart(int oldFaction) const {
    return oldFaction >= 0 && oldFaction < legacy::kOldFactions && takesPart_[oldFaction];
}

uint8_t SlotMap::owner(uint8_t old) const {
    if (old == 0) return 0;
    const int s = slotOf(old - 1);
    return s < 0 ? 0 : static_cast<uint8_t>(s + 1);
}

uint8_t SlotMap::territory(uint8_t old) const {
    return old > legacy::kOldFactions ? kNeutralTerritory : owner(old);
}

uint8_t SlotMap::bits(uint8_t old) const {
    uint8_t out = 0;
    for (int j = 0; j < legacy::kOldFactions; ++j)
        if ((old >> j & 1) != 0 && slot_[j] >= 0) out = static_cast<uint8_t>(out | 1 << slot_[j]);
    return out;
}

uint8_t convertRuleId(uint8_t old) {
    if (old <= 2) return old;
    if (old <= 22) return static_cast<uint8_t>(old + 80);
    return kCustomRuleId;
}

void convertRules(MapDocument& doc, OldRecord old) {
    uint8_t* rules = reinterpret_cast<uint8_t*>(&doc.ruleSettings);
    rules[0] = convertRuleId(old.u8(0));
    for (size_t i = 1; i < sizeof(RuleSettings); ++i) rules[i] = old.u8(i);
}

void mapCellFactions(HexCell& cell, uint8_t oldOwner, uint8_t oldTerritory, const SlotMap& slots,
                     const TerrainData& terrain) {
    cell.owner = slots.owner(oldOwner);
    if (oldOwner != 0 && cell.owner == 0 && cell.terrain == kTerrainCapital) {
        cell.terrain = kTerrainCity;
        cell.picture = terrain.terrain(kTerrainCity).defaultPicture;
    }
    cell.territory = slots.territory(oldTerritory);
}

void copyTextWithTrailer(uint8_t* to, OldRecord old, size_t textAt, size_t width,
                         size_t trailerSize) {
    std::memset(to, 0, width + trailerSize);
    const std::string text = cutToBytes(old.text(textAt, width), width);
    std::memcpy(to, text.data(), text.size());
    if (text.size() < width)
        for (size_t i = 0; i < trailerSize; ++i) to[width + i] = old.u8(textAt + width + i);
}

// --- troops -----------------------------------------------------------------------------------

namespace {

namespace sc = legacy::sc;

void convertTroop(TroopRecord& t, OldRecord old, int slot, const SlotMap& slots) {
    t.clear();
    t.setAppearanceTurn(static_cast<int32_t>(old.u32(sc::kTroopTurnAt)));
    std::memcpy(&t.bytes[TroopRecord::kNameAt], old.p + sc::kTroopNameAt, sc::kTroopNameSize);
    t.setWeaponId(old.u16(sc::kTroopWeaponAt));
    t.setPosition(old.u8(sc::kTroopColAt), old.u8(sc::kTroopRowAt));
    t.bytes[TroopRecord::kGroupAt] = old.u8(sc::kTroopGroupAt);
    for (size_t i = 0; i < sc::kTroopSlotValues; ++i)
        t.bytes[TroopRecord::kSlotValuesAt + i] = old.u8(sc::kTroopSlotValuesAt + i);
    t.bytes[TroopRecord::kGroupWordAt] = old.u8(sc::kTroopGroupWordAt);
    t.bytes[TroopRecord::kGroupWordAt + 1] = old.u8(sc::kTroopGroupWordAt + 1);
    t.setFlags(old.u16(sc::kTroopFlagsAt) & sc::kKeptTroopFlags);
    for (int i = 0; i < TroopRecord::kCargoEntries; ++i)
        t.setCargoEntry(i, old.u16(sc::kTroopCargoAt + 2 * static_cast<size_t>(i)));
    const uint8_t carrierFaction = old.u8(sc::kTroopCarrierTableAt);
    const int carrierSlot = carrierFaction == 0 ? -1 : slots.slotOf(carrierFaction - 1);
    t.setCarrier(carrierSlot < 0 ? 0 : carrierSlot + 1,
                 carrierSlot < 0 ? 0 : old.u16(sc::kTroopCarrierSlotAt));
    t.setDivision(static_cast<uint8_t>(slot / 66));
}

// A loaded troop whose carrier is not (or no longer) there goes, with its own cargo.
void dropStrandedCargo(MapDocument& doc) {
    for (int f = 0; f < kFactionCount; ++f) {
        for (int s = 0; s < TroopTable::kSlots; ++s) {
            const TroopRecord& t = doc.troops.records[f][s];
            if (!t.inUse() || !t.hasFlag(kTroopLoaded)) continue;
            const TroopRecord* carrier =
                doc.troopAt(t.carrierTablePlusOne() - 1, t.carrierSlotPlusOne() - 1);
            const bool carried = carrier && carrier->inUse() && carrier != &t &&
                                 t.carrierTablePlusOne() >= 1 &&
                                 t.carrierTablePlusOne() <= kFactionCount;
            if (!carried) {
                doc.deleteTroop(f, s);
                doc.specChangedTroops = 1;
            }
        }
    }
}

// Cargo entries name troops of the carrier's own table loaded in it; others are cleared.
void clearStaleCargoEntries(MapDocument& doc) {
    for (int f = 0; f < kFactionCount; ++f) {
        for (int s = 0; s < TroopTable::kSlots; ++s) {
            TroopRecord& carrier = doc.troops.records[f][s];
            if (!carrier.inUse()) continue;
            for (int i = 0; i < TroopRecord::kCargoEntries; ++i) {
                const int cargoSlot = carrier.cargoEntry(i) - 1;
                const TroopRecord* cargo = doc.troopAt(f, cargoSlot);
                const bool loadedHere = cargo && cargo->inUse() && cargo->hasFlag(kTroopLoaded) &&
                                        cargo->carrierTablePlusOne() == f + 1 &&
                                        cargo->carrierSlotPlusOne() == s + 1;
                if (carrier.cargoEntry(i) != 0 && !loadedHere) carrier.setCargoEntry(i, 0);
            }
        }
    }
}

// Old sections may list more slots than a table holds; any troop there cannot be kept. The
// scan stops at a bound so that a hostile count costs nothing.
bool troopsBeyondTable(const Container& file, int section) {
    constexpr uint32_t kScanLimit = 4096;
    // Only each record's first word (its appearance turn) is read.
    std::array<uint8_t, 4> turn{};
    const uint32_t n = file.count(section, kScanLimit);
    for (uint32_t i = TroopTable::kSlots; i < n; ++i) {
        if (!file.element(section, i, turn.data(), turn.size())) break;
        if (static_cast<int32_t>(loadU32(turn.data())) >= 1) return true;
    }
    return false;
}

}  // namespace

void convertTroops(MapDocument& doc, const Container& file, int firstSection, size_t recordSize,
                   const SlotMap& slots) {
    std::vector<uint8_t> buffer(std::max(recordSize, sc::kTroopCarrierTableAt + 1));
    for (int old = 0; old < legacy::kOldFactions; ++old) {
        const int section = firstSection + old;
        const int table = slots.slotOf(old);
        const uint32_t n = file.count(section, TroopTable::kSlots);
        for (uint32_t slot = 0; slot < n; ++slot) {
            if (!file.element(section, slot, buffer.data(), recordSize)) break;
            const OldRecord rec{buffer.data(), buffer.size()};
            if (static_cast<int32_t>(rec.u32(sc::kTroopTurnAt)) < 1) continue;
            if (table < 0 || !doc.isWeaponInProduct(rec.u16(sc::kTroopWeaponAt))) {
                doc.specChangedTroops = 1;
                continue;
            }
            convertTroop(doc.troops.records[table][slot], rec, static_cast<int>(slot), slots);
            doc.troops.raiseCount(table, static_cast<int>(slot));
        }
        if (troopsBeyondTable(file, section)) doc.specChangedTroops = 1;
    }
    dropStrandedCargo(doc);
    clearStaleCargoEntries(doc);
    doc.troops.recomputeCounts();
}

// --- labels -----------------------------------------------------------------------------------

void convertLabels(MapDocument& doc, const Container& file, int section, size_t recordSize,
                   const legacy::sc::LabelLayout& layout) {
    std::vector<uint8_t> buffer(std::max<size_t>(recordSize, layout.valueAt + 1));
    std::vector<bool> labelled(static_cast<size_t>(MapGrid::kMaxHexes));
    int used = 0;
    // Old tables keep their labels packed like ours, so no more records than we can hold
    // are looked at.
    const uint32_t n = file.count(section, MapGrid::kMaxLabels);
    for (uint32_t i = 0; i < n && used < MapGrid::kMaxLabels; ++i) {
        if (!file.element(section, i, buffer.data(), recordSize)) break;
        const OldRecord rec{buffer.data(), buffer.size()};
        const std::string_view text = rec.text(0, layout.textSize);
        const int col = layout.wideCoordinates ? rec.u16(layout.colAt) : rec.u8(layout.colAt);
        const int row = layout.wideCoordinates ? rec.u16(layout.rowAt) : rec.u8(layout.rowAt);
        if (text.empty() || !doc.contains(col, row)) continue;
        const size_t hex = static_cast<size_t>(col + row * doc.width());
        if (labelled[hex]) continue;
        labelled[hex] = true;
        TerrainLabel& label = doc.mapGrid.labels[static_cast<size_t>(used++)];
        label.setText(text);
        label.col = static_cast<uint8_t>(col);
        label.row = static_cast<uint8_t>(row);
        label.kind = rec.u8(layout.kindAt);
        label.value = rec.u8(layout.valueAt);
    }
}

}  // namespace kv::import_detail
