// Exchanging two factions: everything that belongs to their slots changes places.
#include <utility>

#include "document/bulk_edits.h"
#include "document/edit_operation.h"
#include "document/map_document.h"

namespace kv {

namespace {

uint8_t swapBits(uint8_t v, int a, int b) {
    const uint8_t bitA = static_cast<uint8_t>(1u << a), bitB = static_cast<uint8_t>(1u << b);
    const bool hasA = (v & bitA) != 0, hasB = (v & bitB) != 0;
    v = static_cast<uint8_t>(v & ~(bitA | bitB));
    if (hasA) v |= bitB;
    if (hasB) v |= bitA;
    return v;
}

// x when it is neither p nor q, else the other one.
template <typename T>
T exchanged(T x, T p, T q) {
    return x == p ? q : x == q ? p : x;
}

void exchangeTroopTables(TroopTable& troops, int a, int b) {
    std::swap(troops.records[size_t(a)], troops.records[size_t(b)]);
    std::swap(troops.count[size_t(a)], troops.count[size_t(b)]);
    std::swap(troops.secondRecords[size_t(a)], troops.secondRecords[size_t(b)]);
    std::swap(troops.secondCount[size_t(a)], troops.secondCount[size_t(b)]);
    // Loaded troops name their carrier's table (+ 1); those naming a or b follow.
    const auto follow = [](std::vector<TroopRecord>& table, int p, int q) {
        for (TroopRecord& t : table) {
            if (!t.inUse() || !t.hasFlag(kTroopLoaded)) continue;
            const int ct = exchanged(int{t.carrierTablePlusOne()}, p, q);
            t.setCarrier(ct, t.carrierSlotPlusOne());
        }
    };
    for (auto& table : troops.records) follow(table, a + 1, b + 1);
    for (auto& table : troops.secondRecords)
        follow(table, TroopTable::kSecondSet + a + 1, TroopTable::kSecondSet + b + 1);
}

void exchangeHexes(MapDocument& doc, int a, int b) {
    const int pa = a + 1, pb = b + 1;
    const HexArea area = doc.area();
    for (int i = 0; i < area.hexCount(); ++i) {
        HexCell& c = doc.mapGrid.cells[size_t(i)];
        c.owner = static_cast<uint8_t>(exchanged(int{c.owner}, pa, pb));
        HexOverlay& o = doc.mapGrid.overlays[size_t(i)];
        TroopIndexRecord& r = doc.mapGrid.troopIndex[size_t(i)];
        for (int p = 0; p < kStackPositions; ++p) {
            o.stackTable[p] = static_cast<int16_t>(exchanged(int{o.stackTable[p]}, pa, pb));
            r.table[p] = static_cast<int16_t>(exchanged(int{r.table[p]}, pa, pb));
        }
    }
}

}  // namespace

bool exchangeFactions(MapDocument& doc, int a, int b) {
    if (a == b || a < 0 || b < 0 || a >= kFactionCount || b >= kFactionCount) return false;
    EditOperation op(doc);
    op.change().wholeMap = true;
    std::swap(doc.factions[size_t(a)], doc.factions[size_t(b)]);
    for (FactionRecord& f : doc.factions) {
        f.setAlliances(swapBits(f.alliances(), a, b));
        f.setFactionBits(swapBits(f.factionBits(), a, b));
    }
    std::swap(doc.regiments[size_t(a)], doc.regiments[size_t(b)]);
    std::swap(doc.divisions[size_t(a)], doc.divisions[size_t(b)]);
    exchangeTroopTables(doc.troops, a, b);
    std::swap(doc.productionLists[size_t(a)], doc.productionLists[size_t(b)]);
    exchangeHexes(doc, a, b);

    // Territories and terrain stay, so only the troops' derived data changes.
    doc.rebuildTroopStacks();
    if (doc.tool.editMode == kEditReinforcements) doc.rebuildReinforcementIndex();
    doc.renewRedrawGrid();
    // The history cannot hold faction records: the exchange is not undone.
    doc.history.clear("陣営色の入れ替え");
    return true;
}

}  // namespace kv
