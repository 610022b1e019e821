// The troop table's rows.
#include "document/troop_list.h"

#include <cstdio>
#include <unordered_map>

#include "document/map_document.h"
#include "framework/cp932.h"

namespace kv {

namespace {

InfoCell number(int64_t value, const char* f = "%d") {
    char buf[32];
    std::snprintf(buf, sizeof buf, f, static_cast<int>(value));
    return {buf, value};
}

const char* stateOf(const TroopRecord& t) {
    if (t.hasFlag(kTroopLoaded)) return "搭載";
    if (t.hasFlag(kTroopStowed)) return "収容";
    if (t.hasFlag(kTroopUnplaced)) return "待機";
    return "";
}

}  // namespace

InfoTable troopListTable(const MapDocument& doc) {
    InfoTable table;
    table.headings = {"陣営", "番号",   "部隊名", "兵器", "座標",
                      "登場", "部隊数", "兵力",   "経験", "状態"};
    const GameDatabase& db = doc.gameDatabase;
    // Many troops share a weapon: its name is decoded once.
    std::unordered_map<int, std::string> weaponNames;
    auto weaponName = [&](int id) -> const std::string& {
        auto [it, added] = weaponNames.try_emplace(id);
        if (added) it->second = decodeCp932Lossy(db.weapon(id).name());
        return it->second;
    };
    for (int f = 0; f < TroopTable::kFactions; ++f) {
        const std::string faction = decodeCp932Lossy(doc.factions[size_t(f)].name());
        for (int s = 0; s < doc.troops.usedSlots(f); ++s) {
            const TroopRecord* t = doc.troopAt(f, s);
            if (!t || !t->inUse()) continue;
            char at[24];
            std::snprintf(at, sizeof at, "%3d,%3d", t->col(), t->row());
            const int turn = t->appearanceTurn();
            char when[24];
            std::snprintf(when, sizeof when, "%dターン", turn);
            int strength = 0;
            for (int u = 0; u < TroopRecord::kUnitSlots; ++u) strength += t->unitStrength(u);
            table.rows.push_back({f * kTroopKeyTable + s,
                                  {{faction, f},
                                   number(s + 1, "%3d"),
                                   {decodeCp932Lossy(t->name()), std::nullopt},
                                   {weaponName(t->weaponId()), t->weaponId()},
                                   {at, int64_t(t->col()) * 1000 + t->row()},
                                   {turn == 1 ? std::string("初期") : std::string(when), turn},
                                   number(t->unitCount()),
                                   number(strength),
                                   number(t->experienceTimes10() / 10),
                                   {stateOf(*t), std::nullopt}}});
        }
    }
    return table;
}

}  // namespace kv
