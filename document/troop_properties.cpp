// The property dialog's checks and changes, the armament change and the transformation.
#include "document/troop_properties.h"

#include <algorithm>
#include <cstdio>

#include "document/edit_operation.h"
#include "document/map_document.h"
#include "document/troop_capacity.h"
#include "document/troop_edit.h"

namespace kv {

namespace {

constexpr int kMaxExperience = 250;

const TroopRecord* placedTroop(const MapDocument& doc, int table, int slot) {
    const TroopRecord* t = doc.troopAt(table, slot);
    return t && t->inUse() && table >= 0 && table < kFactionCount ? t : nullptr;
}

// Another standing troop of `turn` holds the troop's stack position on its hex.
bool overlapsInTurn(const MapDocument& doc, int table, int slot, int turn) {
    const TroopRecord& t = *doc.troopAt(table, slot);
    if (t.hasFlag(kTroopOffStack)) return false;
    const TroopAtHex h = stackHolderOfTurn(doc, t.col(), t.row(), doc.stackPositionFor(t), turn);
    return h.table >= 0 && !(h.table == table && h.slot == slot);
}

// The troop (recorded already) and everything loaded in it take the turn.
void setTurnWithCargo(MapDocument& doc, int table, int slot, int turn) {
    TroopRecord& t = *doc.troopAt(table, slot);
    t.setAppearanceTurn(turn);
    moveWithCargo(doc, table, slot, t.col(), t.row());
}

}  // namespace

TroopProperties troopProperties(const MapDocument& doc, int table, int slot) {
    TroopProperties p;
    const TroopRecord* t = doc.troopAt(table, slot);
    if (!t) return p;
    p.name = t->name();
    p.experience = t->experienceTimes10() / 10;
    p.unitCount = std::max(1, t->unitCount());
    p.turn = t->appearanceTurn();
    const uint8_t c = troopCondition(*t);
    p.condition = hasTransportCondition(*t) ? 2 : c != 0 ? 5 : 0;
    p.destCol = destinationCol(*t);
    p.destRow = destinationRow(*t);
    return p;
}

std::string troopPropertiesRefusal(const MapDocument& doc, int table, int slot,
                                   const TroopProperties& p) {
    const TroopRecord* t = placedTroop(doc, table, slot);
    if (!t) return {};
    if (p.name.empty()) return "部隊名を入力してください。";
    if (p.condition == 2 && !doc.contains(p.destCol, p.destRow))
        return "輸送成功条件の輸送先の座標が正しく入力されていません。";
    if (t->appearanceTurn() >= 2) {
        const int limit = doc.mapHeader.turnLimit();
        if (p.turn < 2 || (limit != 0 && p.turn > limit))
            return "配置条件の登場ターンが2未満もしくは最大ターン以上に設定されています。";
        if (p.turn != t->appearanceTurn() && overlapsInTurn(doc, table, slot, p.turn)) {
            char text[96];
            std::snprintf(text, sizeof text,
                          "%dターンの増援部隊と、座標が重なっています。(1部隊存在)", p.turn);
            return text;
        }
    }
    if (p.experience < 0 || p.experience > kMaxExperience)
        return "経験値には0～250までを指定してください。";
    return {};
}

bool applyTroopProperties(MapDocument& doc, int table, int slot, const TroopProperties& p) {
    const TroopRecord* current = placedTroop(doc, table, slot);
    if (!current || !troopPropertiesRefusal(doc, table, slot, p).empty()) return false;
    if (p.unitCount < 1 || p.unitCount > TroopRecord::kUnitSlots) return false;
    EditOperation op(doc, EditOperation::History::NewStep, "部隊プロパティ");
    op.change().troops = true;
    doc.history.recordTroop(table, slot);
    TroopRecord& t = *doc.troopAt(table, slot);
    if (p.name != t.name()) t.setName(cutToBytes(p.name, kTroopNameBytes));
    t.bytes[kTroopConditionAt] = static_cast<uint8_t>(p.condition);
    if (p.condition == 2) {
        t.bytes[kTroopDestColAt] = static_cast<uint8_t>(p.destCol);
        t.bytes[kTroopDestRowAt] = static_cast<uint8_t>(p.destRow);
    }
    const uint8_t strength = doc.gameDatabase.weapon(t.weaponId()).memberStrength();
    t.setUnits(p.unitCount, std::max<uint8_t>(1, strength));
    t.setExperienceTimes10(static_cast<uint16_t>(p.experience * 10));
    // The slot stays: it is the troop's place in the organisation and what links name.
    if (t.appearanceTurn() >= 2 && p.turn != t.appearanceTurn()) {
        setTurnWithCargo(doc, table, slot, p.turn);
        doc.rebuildReinforcementIndex();
    }
    doc.markDirty(t.col(), t.row());
    return true;
}

bool hasAlternativeArmaments(const MapDocument& doc, int weaponId) {
    return doc.gameDatabase.weapon(weaponId).presentGroupCount() > 1;
}

bool changeArmament(MapDocument& doc, int table, int slot, int group) {
    const TroopRecord* current = placedTroop(doc, table, slot);
    if (!current || group < 0 || group >= WeaponRecord::kGroupCount) return false;
    const GameDatabase& db = doc.gameDatabase;
    const WeaponRecord& w = db.weapon(current->weaponId());
    if (!w.groupPresent(group)) return false;
    EditOperation op(doc, EditOperation::History::NewStep, "武装交換");
    op.change().troops = true;
    doc.history.recordTroop(table, slot);
    TroopRecord& t = *doc.troopAt(table, slot);
    t.bytes[TroopRecord::kGroupAt] = static_cast<uint8_t>(group);
    const int linked = w.linkedWeapon() - 1;
    for (int i = 0; i < WeaponRecord::kSlotCount; ++i) {
        uint8_t v = w.groupValue(group, i);
        if (linked >= 0 && db.hasWeapon(linked))
            v = std::max(v, db.weapon(linked).groupValue(group, i));
        t.bytes[TroopRecord::kSlotValuesAt + size_t(i)] = v;
    }
    storeU16(&t.bytes[TroopRecord::kGroupWordAt], w.groupWord(group));
    doc.markDirty(t.col(), t.row());
    return true;
}

int transformTarget(const MapDocument& doc, int weaponId) {
    const int linked = doc.gameDatabase.weapon(weaponId).linkedWeapon();
    if (linked == 0 || !doc.isWeaponInProduct(linked - 1)) return -1;
    return linked - 1;
}

bool transformTroop(MapDocument& doc, int table, int slot) {
    const TroopRecord* current = placedTroop(doc, table, slot);
    if (!current) return false;
    const int target = transformTarget(doc, current->weaponId());
    if (target < 0) return false;
    const int col = current->col(), row = current->row();
    if (!current->hasFlag(kTroopOffStack)) {
        TroopRecord probe = *current;
        probe.setWeaponId(static_cast<uint16_t>(target));
        const int p = doc.stackPositionFor(probe);
        const TroopAtHex h = stackHolderOfTurn(doc, col, row, p, current->appearanceTurn());
        const bool free = h.table < 0 || (h.table == table && h.slot == slot);
        if (!free || !terrainAllows(doc, table, target, col, row)) return false;
    }
    EditOperation op(doc, EditOperation::History::NewStep, "変形");
    op.change().troops = true;
    doc.history.recordHex(col, row);
    doc.history.recordTroop(table, slot);
    doc.troopAt(table, slot)->setWeaponId(static_cast<uint16_t>(target));
    restackHex(doc, col, row);
    if (doc.tool.editMode == kEditReinforcements) doc.rebuildReinforcementIndex();
    doc.markDirty(col, row);
    return true;
}

}  // namespace kv
