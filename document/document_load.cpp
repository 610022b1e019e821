// Loading a map into the document (the steps around the file reader) and the cell fix-up
// before a save.
#include "document/map_document.h"

#include <cstdio>

#include "framework/cp932.h"
#include "framework/errors.h"
#include "framework/prompter.h"

namespace kv {

namespace {

constexpr const char* kCautionCaption = "注意";
constexpr const char* kNotInProductText = "本製品に含まれていない兵器データが使用されています。";
constexpr const char* kRemovedHeadText =
    "以下のユーザー定義兵器はデータが正常に取得出来なかった為、\n削除されました。\n";
constexpr const char* kRemovedCargoText =
    "\n下記兵器は、上記ユーザー定義兵器に搭載されていた為、\n削除されました。\n";

std::string removedLine(const std::string& faction, const RemovedWeapon& r) {
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "No.%d [%3d,%3d] ", r.troopNumber, r.col, r.row);
    return decodeCp932Lossy(faction) + "\n" + numbers + decodeCp932Lossy(r.name) + "\n";
}

}  // namespace

void MapDocument::beginLoad() {
    // The game database keeps no per-map working state beyond the user data, which the
    // reset drops.
    resetToNewMap();
}

bool MapDocument::load(const std::function<bool(MapDocument&)>& readFile) {
    beginLoad();
    bool read = false;
    try {
        read = readFile(*this);
    } catch (const swCError& e) {
        e.report();
        read = false;
    }
    if (!read) {
        // Nothing of a partly read file stays.
        resetToNewMap();
        return false;
    }
    return finishLoad();
}

bool MapDocument::finishLoad() {
    makeSizeSafe();
    renumberAnthems();
    mapGrid.packLabels();
    rebuildLabelNumbers();
    troops.recomputeCounts();

    collectingRemovals = 1;
    rebindUserWeapons();
    reportRemovedWeapons();

    recomputeDerivedHexData();
    rebuildTroopStacks();
    troops.recomputeCounts();

    const bool passed = weaponCheckPasses();
    if (!passed) {
        showMessage(kCautionCaption, kNotInProductText);
        resetToNewMap();
    }
    if (tool.editMode == kEditReinforcements) rebuildReinforcementIndex();
    renewRedrawGrid();
    history.clear();
    return passed;
}

void MapDocument::makeSizeSafe() {
    // A size the grid cannot hold would make every hex index unsafe; the nearest size it
    // holds is kept instead.
    mapHeader.setSize(width(), height());
    mapHeader.clampTurnLimit();
}

void MapDocument::renumberAnthems() {
    const std::vector<std::string>& names = gameDatabase.anthemNames();
    for (FactionRecord& f : factions) {
        if (f.anthem() < FactionRecord::kFirstAnthem) continue;
        const std::string wanted = f.anthemName();
        int found = -1;
        for (size_t j = 0; j < names.size() && found < 0; ++j)
            if (names[j] == wanted) found = static_cast<int>(j);
        if (found >= 0 && found + FactionRecord::kFirstAnthem <= 255) {
            f.setAnthem(static_cast<uint8_t>(found + FactionRecord::kFirstAnthem));
        } else {
            f.setAnthemName("");
            f.setAnthem(0);
        }
    }
}

void MapDocument::rebindUserWeapons() {
    for (int f = 0; f < kFactionCount; ++f) {
        for (int s = 0; s < TroopTable::kSlots; ++s) {
            TroopRecord& t = troops.records[f][s];
            if (!t.inUse() || t.weaponId() < WeaponData::kSecondUserWeaponId) continue;
            const std::string_view name(
                reinterpret_cast<const char*>(&t.bytes[TroopRecord::kNameAt]),
                TroopRecord::kNameSize);
            if (const int id = userData.findWeaponByName(name)) {
                t.setWeaponId(static_cast<uint16_t>(id));
                continue;
            }
            if (t.hasFlag(kTroopLoaded)) takeOutOfCarrier(f, s);
            deleteTroopAndCargo(f, s, 1, false);
        }
    }
}

void MapDocument::reportRemovedWeapons() {
    if (!removedWeapons.empty()) {
        std::string text = kRemovedHeadText;
        bool anyCargo = false;
        for (const RemovedWeapon& r : removedWeapons) {
            if (r.unknownWeapon == 1)
                text += removedLine(factions[r.faction].name(), r);
            else
                anyCargo = true;
        }
        if (anyCargo) {
            text += kRemovedCargoText;
            for (const RemovedWeapon& r : removedWeapons)
                if (r.unknownWeapon != 1) text += removedLine(factions[r.faction].name(), r);
        }
        showMessage(kCautionCaption, text);
    }
    removedWeapons.clear();
    collectingRemovals = 0;
}

bool MapDocument::weaponCheckPasses() const {
    for (int f = 0; f < kFactionCount; ++f)
        for (const TroopRecord& t : troops.records[f])
            if (t.inUse() && !isWeaponInProduct(t.weaponId())) return false;
    return true;
}

void MapDocument::prepareForSave() {
    const HexArea a = area();
    for (int i = 0, hexes = a.hexCount(); i < hexes; ++i) {
        HexCell& c = mapGrid.cells[size_t(i)];
        const HexPos p = a.at(i);
        const bool loneRiver = (c.terrain == kTerrainRiver || c.terrain == kTerrainDeepRiver ||
                                c.terrain == kTerrainFrozenRiver) &&
                               c.riverLinks() == 0;
        if (loneRiver) {
            c.terrain = c.terrain == kTerrainFrozenRiver ? kTerrainSnowField : kTerrainPlain;
            c.picture = gameDatabase.terrain(c.terrain).defaultPicture;
            markDirty(p.col, p.row);
        }
        if (c.roadLinks != 0 && categoryOf(c, gameDatabase) > TerrainCategory::Building) {
            c.roadLinks = 0;
            markDirty(p.col, p.row);
        }
    }
}

}  // namespace kv
