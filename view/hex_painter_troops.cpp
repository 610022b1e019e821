// The troop layer of a hex: which troops stand there, the icon of the first one, its unit
// count, the altitude-layer dots of every occupied position and its regiment mark.
#include <algorithm>

#include "document/map_document.h"
#include "document/troop_capacity.h"
#include "document/troop_slots.h"
#include "view/hex_painter.h"

// Qt's keyword macro would swallow the organisation's namespace name.
#undef slots

namespace kv {

namespace {

constexpr int kCustomIcon = 20000;
constexpr int kLayerCount = 6;
// Rows of the regiment mark sheet: a regiment out in the field, its leader and the others.
constexpr int kMarkDeployedLeader = 36, kMarkDeployedMember = 72;

// The faction 0..5 of a troop table (the working copies count from 100).
int factionOfTable(int table) {
    return table >= TroopTable::kSecondSet ? table - TroopTable::kSecondSet : table;
}

bool troopInUse(const MapDocument& doc, int table, int slot) {
    const TroopRecord* t = doc.troopAt(table, slot);
    return t && t->inUse();
}

}  // namespace

int victoryFlags(const TroopRecord& troop) {
    return troopCondition(troop) & 7;
}

int unitCount(const TroopRecord& troop) {
    return troop.unitCount();
}

HexTroops troopsAt(const MapDocument& doc, int col, int row, const HexDrawOptions& options) {
    HexTroops out;
    const int positions = options.stacking ? kStackPositions : 1;
    for (int p = 0; p < positions; ++p) {
        int table = 0, slot = 0;
        if (options.reinforcements) {
            const TroopIndexRecord* index = doc.troopIndexAt(col, row);
            if (!index) return out;
            table = index->table[p] - 1;
            slot = index->slot[p];
        } else {
            const HexOverlay* overlay = doc.overlayAt(col, row);
            if (!overlay) return out;
            table = overlay->stackTable[p] - 1;
            slot = overlay->stackSlot[p];
        }
        if (table >= 0 && troopInUse(doc, table, slot)) out[size_t(p)] = {table, slot};
    }
    return out;
}

void HexPainter::drawTroop(const HexTroops& troops, int x, int y) {
    const auto shown =
        std::find_if(troops.begin(), troops.end(), [](const HexTroop& t) { return t.table >= 0; });
    if (shown == troops.end()) return;
    const TroopRecord& troop = *doc_.troopAt(shown->table, shown->slot);
    drawTroopIcon(troop, factionOfTable(shown->table), x, y);

    const int s = size();
    if (s != 32 && s != 48) return;
    const bool large = s == 48;
    const int count = unitCount(troop);
    if (count > 0) {
        putPart(Sheet::Digit,
                large ? Rect{10 * (count - 1), 20, 10 * count, 32}
                      : Rect{10 * (count - 1), 0, 10 * count, 10},
                x, y + (large ? 24 : 14));
    }
    if (troop.hasFlag(kTroopBit2))
        putPart(Sheet::Digit, large ? Rect{0, 32, 10, 44} : Rect{0, 10, 10, 20},
                x + (large ? 19 : 12), y + 2);
    for (size_t p = 0; p < troops.size(); ++p) {
        if (troops[p].table < 0) continue;
        const TroopRecord& t = *doc_.troopAt(troops[p].table, troops[p].slot);
        const int j = options_.stacking ? int(p) : doc_.gameDatabase.weapon(t.weaponId()).layer();
        if (j < 0 || j >= kLayerCount) continue;
        if (large)
            putPart(Sheet::LayerMark, {5 * j, 4, 5 * j + 5, 9}, x + 36 + 6 * (j / 3),
                    y + 19 + 6 * (j % 3));
        else
            putPart(Sheet::LayerMark, {4 * j, 0, 4 * j + 4, 4}, x + 24 + 4 * (j / 3),
                    y + 12 + 4 * (j % 3));
    }
    drawRegimentMark(shown->table, shown->slot, x, y);
}

void HexPainter::drawTroopIcon(const TroopRecord& troop, int f, int x, int y) {
    const int s = size();
    const WeaponRecord& weapon = doc_.gameDatabase.weapon(troop.weaponId());
    const int unitIcon = weapon.unitIcon(s);
    // Unit icon pages exist at 32 and 48 only: at 16 the weapon-type icons stand in.
    const bool typeIcon = !options_.unitIcons || s == 16;
    if (typeIcon) {
        const int o = weapon.typeIcon(s);
        if (o < 100)
            putCell(Sheet::WeaponIcon, o / 10 + 7 * f, o % 10, x, y);
        else if (o < kCustomIcon)
            putCell(Sheet::WeaponIcon, o - 100, 0, x, y);
        else if (const SpriteImage* icon = sheets_.customIcon(IconKind::WeaponType, o))
            putPart(*icon, {0, f * s, s, (f + 1) * s}, x, y);
        return;
    }
    if (unitIcon < kCustomIcon) {
        const int cell = unitIcon % 100 - 1;
        if (const SpriteImage* page = sheets_.unitPage(f, unitIcon / 100); page && cell >= 0)
            putPart(*page, {cell * s, 0, (cell + 1) * s, s}, x, y);
    } else if (const SpriteImage* icon = sheets_.customIcon(IconKind::Unit, unitIcon)) {
        putPart(*icon, {0, f * s, s, (f + 1) * s}, x, y);
    }
}

void HexPainter::drawRegimentMark(int table, int slot, int x, int y) {
    const int u = slots::divisionOf(slot);
    const int t = slots::regimentOf(slot);
    if (u < 0 || t < 0 || t >= slots::kRegiments) return;
    // Out in the field while any member is not gathered with the regiment.
    bool deployed = false;
    for (int i = 0; i < slots::kUnitsPerRegiment; ++i) {
        const TroopRecord* m = doc_.troopAt(table, slots::regimentSlot(u, t, i));
        if (m && m->inUse() && !m->hasFlag(kTroopGathered)) deployed = true;
    }
    int a = 0;
    if (deployed) {
        const int f = factionOfTable(table);
        const RegimentRecord& regiment = doc_.regiments[size_t(f)][size_t(6 * u + t)];
        a = regiment.commanderSlot() == slot ? kMarkDeployedLeader : kMarkDeployedMember;
    }
    const int s = size();
    putPart(Sheet::RegimentMark, {16 * t, 12 * u + a, 16 * t + 16, 12 * u + a + 12},
            x + (s - 16) / 2, y + s - 12);
}

}  // namespace kv
