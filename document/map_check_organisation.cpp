// The map check's organisation step: regiments placed only in part, gaps between regiments
// and between directly attached units, groups beyond the division's limits, and towed
// weapons in regiments that move together.
#include "document/map_check_context.h"
#include "document/troop_slots.h"

namespace kv::check {

namespace {

using slots::kDirectUnits;
using slots::kRegiments;
using slots::kUnitsPerRegiment;

struct RegimentState {
    int inUse = 0;
    int placed = 0;
    bool allGathered = true;
};

RegimentState regimentState(const MapDocument& doc, int f, int d, int r) {
    RegimentState s;
    for (int u = 0; u < kUnitsPerRegiment; ++u) {
        const TroopRecord& t = doc.troops.records[size_t(f)][size_t(slots::regimentSlot(d, r, u))];
        if (!t.inUse()) continue;
        ++s.inUse;
        if (!t.hasFlag(kTroopUnplaced)) ++s.placed;
        if (!t.hasFlag(kTroopGathered)) s.allGathered = false;
    }
    return s;
}

bool directUnitInUse(const MapDocument& doc, int f, int d, int p) {
    return doc.troops.records[size_t(f)][size_t(slots::directSlot(d, p))].inUse();
}

// The first of: a regiment in use at or beyond the limit (39), a regiment in use after an
// unused one (37).
void checkRegimentOrder(Context& c, int f, int d) {
    const int limit = c.doc.factions[size_t(f)].divisionLimit(d);
    bool gap = false;
    for (int r = 0; r < kRegiments; ++r) {
        if (regimentState(c.doc, f, d, r).inUse == 0) {
            gap = true;
            continue;
        }
        if (r >= limit) {
            c.organisation(problem::kTooManyRegiments, f, d, r);
            return;
        }
        if (gap) {
            c.organisation(problem::kRegimentGap, f, d, r);
            return;
        }
    }
}

// The first of: a direct unit in use at or beyond the limit (40), one after an empty
// position (38).
void checkDirectUnitOrder(Context& c, int f, int d) {
    const int limit = c.doc.factions[size_t(f)].divisionLimit(slots::kDivisions + d);
    bool gap = false;
    for (int p = 0; p < kDirectUnits; ++p) {
        if (!directUnitInUse(c.doc, f, d, p)) {
            gap = true;
            continue;
        }
        if (p >= limit) {
            c.organisation(problem::kTooManyDirectUnits, f, d, slots::kDirectGroup,
                           slots::directSlot(d, p));
            return;
        }
        if (gap) {
            c.organisation(problem::kDirectUnitGap, f, d, slots::kDirectGroup,
                           slots::directSlot(d, p));
            return;
        }
    }
}

// The regiment's commander (regiment record u16 at 42) is one of its own troops, in use and
// still waiting to be placed. A regiment that is not formed has no commander.
bool commanderUnplaced(const MapDocument& doc, int f, int d, int r) {
    const RegimentRecord& rec = doc.regiments[size_t(f)][size_t(d * kRegiments + r)];
    if (rec.formed() == 0) return false;
    const int cs = rec.commanderSlot();
    if (cs < slots::regimentSlot(d, r, 0) || cs >= slots::regimentSlot(d, r, kUnitsPerRegiment))
        return false;
    const TroopRecord& t = doc.troops.records[size_t(f)][size_t(cs)];
    return t.inUse() && t.hasFlag(kTroopUnplaced);
}

// A regiment that moves as one (gathered, or led by a commander not yet placed) cannot take
// a weapon in its towed form along.
void checkTowedWeapons(Context& c, int f, int d) {
    const int limit = c.doc.factions[size_t(f)].divisionLimit(d);
    for (int r = 0; r < kRegiments && r < limit; ++r) {
        const RegimentState s = regimentState(c.doc, f, d, r);
        if (s.inUse == 0 || !(s.allGathered || commanderUnplaced(c.doc, f, d, r))) continue;
        for (int u = 0; u < kUnitsPerRegiment; ++u) {
            const int slot = slots::regimentSlot(d, r, u);
            const TroopRecord& t = c.doc.troops.records[size_t(f)][size_t(slot)];
            if (t.inUse() && c.db.isTowedAlternate(t.weaponId()))
                c.organisation(problem::kTowedInGatheredRegiment, f, d, r, slot);
        }
    }
}

}  // namespace

void checkOrganisation(Context& c, int f) {
    for (int d = 0; d < slots::kDivisions; ++d) {
        for (int r = 0; r < kRegiments; ++r) {
            const RegimentState s = regimentState(c.doc, f, d, r);
            if (s.placed > 0 && s.placed < s.inUse)
                c.organisation(problem::kRegimentPartlyPlaced, f, d, r);
        }
    }
    for (int d = 0; d < slots::kDivisions; ++d) {
        checkRegimentOrder(c, f, d);
        checkDirectUnitOrder(c, f, d);
        checkTowedWeapons(c, f, d);
    }
}

}  // namespace kv::check
