// Regiment commanders, gathering and deploying regiments, and the change of a troop's place in
// its faction's organisation.
#include "document/regiments.h"

#include <algorithm>
#include <optional>

#include "document/edit_operation.h"
#include "document/map_document.h"
#include "document/troop_capacity.h"
#include "document/troop_edit.h"
#include "document/troop_slots.h"

namespace kv {

namespace {

bool validRegiment(int faction, int regiment) {
    return faction >= 0 && faction < kFactionCount && regiment >= 0 &&
           regiment < kRegimentsPerFaction;
}

int regimentSlotOf(int regiment, int unit) {
    return slots::regimentSlot(regiment / slots::kRegiments, regiment % slots::kRegiments, unit);
}

RegimentRecord& record(MapDocument& doc, int faction, int regiment) {
    return doc.regiments[size_t(faction)][size_t(regiment)];
}

TroopRecord& troop(MapDocument& doc, int faction, int slot) {
    return *doc.troopAt(faction, slot);
}

// The formed regiment's stored commander when it is still a member, else the rules' choice.
int currentCommander(const MapDocument& doc, int faction, int regiment,
                     const std::vector<int>& members) {
    const RegimentRecord& r = doc.regiments[size_t(faction)][size_t(regiment)];
    const int stored = r.commanderSlot();
    if (r.formed() != 0 && std::find(members.begin(), members.end(), stored) != members.end())
        return stored;
    return commanderCandidate(doc, faction, regiment);
}

// Loaded in a carrier that is itself a member of the regiment.
bool carriedInRegiment(const TroopRecord& t, int faction, const std::vector<int>& members) {
    if (!t.hasFlag(kTroopLoaded) || t.carrierTablePlusOne() != faction + 1) return false;
    const int carrier = t.carrierSlotPlusOne() - 1;
    return std::find(members.begin(), members.end(), carrier) != members.end();
}

// Every member but the commander can go to the commander's hex: the terrain takes it, and a
// stack position other than the commander's is free there or held by the regiment.
bool gatherAllowed(const MapDocument& doc, int faction, int regiment,
                   const std::vector<int>& members, int commander) {
    const TroopRecord& c = *doc.troopAt(faction, commander);
    const int col = c.col(), row = c.row();
    for (int m : members) {
        const TroopRecord& t = *doc.troopAt(faction, m);
        if (m == commander || carriedInRegiment(t, faction, members)) continue;
        if (!terrainAllows(doc, faction, t.weaponId(), col, row)) return false;
        const int p = doc.stackPositionFor(t);
        if (p == doc.stackPositionFor(c)) continue;
        const TroopAtHex h = stackHolderOfTurn(doc, col, row, p, t.appearanceTurn());
        if (h.table >= 0 && !(h.table == faction && regimentIndexOfSlot(h.slot) == regiment))
            return false;
    }
    return true;
}

void setFlag(MapDocument& doc, int faction, int slot, uint16_t flag, bool on) {
    doc.history.recordTroop(faction, slot);
    TroopRecord& t = troop(doc, faction, slot);
    t.setFlags(static_cast<uint16_t>(on ? t.flags() | flag : t.flags() & ~flag));
}

// The gathering itself, without its check.
void applyGather(MapDocument& doc, int faction, int regiment, const std::vector<int>& members,
                 int commander) {
    doc.history.recordRegiment(faction, regiment);
    RegimentRecord& r = record(doc, faction, regiment);
    r.setFormed(1);
    r.setCommanderSlot(static_cast<uint16_t>(commander));
    const HexPos at{troop(doc, faction, commander).col(), troop(doc, faction, commander).row()};
    std::vector<HexPos> touched{at};
    doc.history.recordHex(at.col, at.row);
    for (int m : members) {
        if (m == commander) continue;
        TroopRecord& t = troop(doc, faction, m);
        const HexPos from{t.col(), t.row()};
        if (std::find(touched.begin(), touched.end(), from) == touched.end()) {
            doc.history.recordHex(from.col, from.row);
            touched.push_back(from);
        }
        if (t.hasFlag(kTroopStowed)) setFlag(doc, faction, m, kTroopStowed, false);
        const bool inRegimentCarrier = carriedInRegiment(t, faction, members);
        if (t.hasFlag(kTroopLoaded) && !inRegimentCarrier) doc.takeOutOfCarrier(faction, m, true);
        // A member in one of the regiment's carriers travels with it.
        if (!inRegimentCarrier) moveWithCargo(doc, faction, m, at.col, at.row);
    }
    for (int m : members) setFlag(doc, faction, m, kTroopGathered, true);
    r.setRegimentFlags(r.regimentFlags() & ~RegimentRecord::kDeployed);
    for (HexPos h : touched) restackHex(doc, h.col, h.row);
}

// The first hex around `centre` where the member may stand, counting the stack places its
// fellow members still hold at the centre as taken unless they are its own.
std::optional<HexPos> deployHex(const MapDocument& doc, int faction, int slot, HexPos centre) {
    const TroopRecord& t = *doc.troopAt(faction, slot);
    const int p = doc.stackPositionFor(t);
    return searchRings(doc.area(), centre, [&](HexPos h) {
        if (!terrainAllows(doc, faction, t.weaponId(), h.col, h.row)) return false;
        const TroopAtHex holder = stackHolderOfTurn(doc, h.col, h.row, p, t.appearanceTurn());
        return holder.table < 0 || (holder.table == faction && holder.slot == slot);
    });
}

void finish(MapDocument& doc, EditOperation& op) {
    op.change().troops = true;
    op.change().organisation = true;
    if (doc.tool.editMode == kEditReinforcements) doc.rebuildReinforcementIndex();
}

}  // namespace

int regimentIndexOfSlot(int slot) {
    const int r = slots::regimentOf(slot);
    if (r < 0 || r == slots::kDirectGroup) return -1;
    return slots::divisionOf(slot) * slots::kRegiments + r;
}

std::vector<int> regimentMembers(const MapDocument& doc, int faction, int regiment) {
    std::vector<int> out;
    if (!validRegiment(faction, regiment)) return out;
    for (int u = 0; u < slots::kUnitsPerRegiment; ++u) {
        const int s = regimentSlotOf(regiment, u);
        const TroopRecord& t = *doc.troopAt(faction, s);
        if (!t.inUse() || t.unitCount() == 0 || t.hasFlag(kTroopUnplaced)) continue;
        if (t.appearanceTurn() == 1 && isOutsideStacks(t)) continue;
        out.push_back(s);
    }
    return out;
}

int commanderCandidate(const MapDocument& doc, int faction, int regiment) {
    if (!validRegiment(faction, regiment)) return -1;
    const std::vector<int> members = regimentMembers(doc, faction, regiment);
    auto flags = [&](int s) { return doc.troopAt(faction, s)->flags(); };
    auto gathered = [&](int s) { return (flags(s) & kTroopGathered) != 0; };
    auto loaded = [&](int s) { return (flags(s) & kTroopLoaded) != 0; };
    for (int s : members)
        if (gathered(s) && !loaded(s)) return s;
    for (auto it = members.rbegin(); it != members.rend(); ++it)
        if (gathered(*it)) return *it;
    for (int s : members)
        if (!gathered(s) && !loaded(s)) return s;
    if (!members.empty()) return members.front();
    for (int u = 0; u < slots::kUnitsPerRegiment; ++u)
        if (doc.troopAt(faction, regimentSlotOf(regiment, u))->inUse())
            return regimentSlotOf(regiment, u);
    return -1;
}

int chooseCommander(MapDocument& doc, int faction, int regiment) {
    if (!validRegiment(faction, regiment)) return -1;
    const int c = commanderCandidate(doc, faction, regiment);
    doc.history.recordRegiment(faction, regiment);
    RegimentRecord& r = record(doc, faction, regiment);
    if (c < 0) {
        const uint8_t index = r.index();
        r.clear();
        r.setIndex(index);
        return -1;
    }
    r.setFormed(1);
    r.setCommanderSlot(static_cast<uint16_t>(c));
    return c;
}

bool regimentOffersGather(const MapDocument& doc, int faction, int regiment) {
    if (!validRegiment(faction, regiment) ||
        doc.regiments[size_t(faction)][size_t(regiment)].formed() == 0)
        return false;
    for (int s : regimentMembers(doc, faction, regiment))
        if (!doc.troopAt(faction, s)->hasFlag(kTroopGathered)) return true;
    return false;
}

RegimentResult gatherRegiment(MapDocument& doc, int faction, int regiment) {
    if (!validRegiment(faction, regiment)) return RegimentResult::NoCommander;
    const std::vector<int> members = regimentMembers(doc, faction, regiment);
    const int commander = currentCommander(doc, faction, regiment, members);
    if (commander < 0 || members.empty()) return RegimentResult::NoCommander;
    if (!gatherAllowed(doc, faction, regiment, members, commander)) return RegimentResult::Refused;
    EditOperation op(doc, EditOperation::History::NewStep, "連隊集結");
    applyGather(doc, faction, regiment, members, commander);
    finish(doc, op);
    return RegimentResult::Done;
}

RegimentResult deployRegiment(MapDocument& doc, int faction, int regiment) {
    if (!validRegiment(faction, regiment)) return RegimentResult::NoCommander;
    const std::vector<int> members = regimentMembers(doc, faction, regiment);
    const int commander = currentCommander(doc, faction, regiment, members);
    if (commander < 0 || members.empty()) return RegimentResult::NoCommander;
    EditOperation op(doc, EditOperation::History::NewStep, "連隊展開");
    TroopRecord& c = troop(doc, faction, commander);
    if (c.hasFlag(kTroopStowed)) {
        for (int m : members) setFlag(doc, faction, m, kTroopGathered, false);
        finish(doc, op);
        return RegimentResult::Done;
    }
    const HexPos centre{c.col(), c.row()};
    bool incomplete = false;
    for (int m : members) {
        if (m == commander) continue;
        TroopRecord& t = troop(doc, faction, m);
        if (t.hasFlag(kTroopLoaded)) {
            setFlag(doc, faction, m, kTroopGathered, false);
            continue;
        }
        doc.history.recordTroop(faction, m);
        t.setAppearanceTurn(c.appearanceTurn());
        const std::optional<HexPos> to = deployHex(doc, faction, m, centre);
        if (!to) {
            incomplete = true;
            continue;
        }
        const HexPos from{t.col(), t.row()};
        doc.history.recordHex(from.col, from.row);
        doc.history.recordHex(to->col, to->row);
        t.setFlags(static_cast<uint16_t>(t.flags() & ~(kTroopGathered | kTroopStowed)));
        moveWithCargo(doc, faction, m, to->col, to->row);
        restackHex(doc, from.col, from.row);
        restackHex(doc, to->col, to->row);
    }
    doc.history.recordRegiment(faction, regiment);
    RegimentRecord& r = record(doc, faction, regiment);
    r.setRegimentFlags(r.regimentFlags() | RegimentRecord::kDeployed);
    if (incomplete) {
        applyGather(doc, faction, regiment, members, commander);
        finish(doc, op);
        return RegimentResult::Incomplete;
    }
    doc.history.recordHex(centre.col, centre.row);
    setFlag(doc, faction, commander, kTroopGathered, false);
    restackHex(doc, centre.col, centre.row);
    finish(doc, op);
    return RegimentResult::Done;
}

}  // namespace kv
