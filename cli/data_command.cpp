// `kvmap data`: the game database of a program folder as a summary or as JSON.
#include "cli/data_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

#include "framework/cp932.h"
#include "framework/errors.h"
#include "framework/profile.h"
#include "gamedata/game_database.h"

namespace kv::cli {

namespace {

QString text(std::string_view cp932) {
    return QString::fromStdString(decodeCp932Lossy(fieldText(cp932.data(), cp932.size())));
}

template <class T, size_t N>
QJsonArray numbers(const T (&values)[N]) {
    QJsonArray a;
    for (const T& v : values) a.append(static_cast<int>(v));
    return a;
}

QJsonObject terrainJson(const TerrainType& t) {
    return {{"name", text(std::string_view(t.name, sizeof t.name))},
            {"listOrder", t.listOrder},
            {"category", static_cast<int>(t.category)},
            {"moveCost", numbers(t.moveCost)},
            {"evasion", numbers(t.evasion)},
            {"destroyDurability", t.destroyDurability},
            {"extraValue", t.extraValue},
            {"captureDurability", t.captureDurability},
            {"fuelSupplyMask", t.fuelSupplyMask},
            {"ammoSupplyMask", t.ammoSupplyMask},
            {"replenishMask", t.replenishMask},
            {"repairMask", t.repairMask},
            {"extraMask", t.extraMask},
            {"sight", numbers(t.sight)},
            {"capacity", t.capacity},
            {"income", t.income},
            {"overviewColour", t.overviewColour},
            {"defaultPicture", t.defaultPicture},
            {"flags", t.flags}};
}

QJsonObject armamentJson(int number, const ArmamentRecord& a) {
    return {{"number", number},
            {"name", text(a.nameText())},
            {"shortName", text(a.shortNameText())},
            {"value3", a.value3},
            {"power", a.power},
            {"attack", numbers(a.attack)},
            {"value14", a.value14},
            {"kind", a.kind},
            {"value16", a.value16},
            {"flags", a.flags},
            {"value24", a.value24},
            {"value25", a.value25}};
}

QJsonObject weaponJson(const WeaponRecord& w) {
    QJsonArray sight, layerValues, cargoSlots, cargoCapacity, defence, slotList, groups;
    for (int i = 0; i < kAltitudeLayerCount; ++i) {
        sight.append(w.sight(i));
        layerValues.append(w.layerValue(i));
    }
    for (int i = 0; i < 6; ++i) {
        cargoSlots.append(w.cargoSlot(i));
        cargoCapacity.append(w.cargoCapacity(i));
    }
    for (int i = 0; i < kAttackClassCount; ++i) defence.append(w.defence(i));
    for (int s = 0; s < 5; ++s)
        slotList.append(QJsonObject{{"name", text(w.slotName(s))},
                                    {"shortName", text(w.slotShortName(s))},
                                    {"rounds", w.slotRounds(s)},
                                    {"slotValue", w.slotValue(s)},
                                    {"armament", w.slotArmament(s)}});
    for (int g = 0; g < 4; ++g) {
        QJsonArray values;
        for (int s = 0; s < 5; ++s) values.append(w.groupValue(g, s));
        groups.append(QJsonObject{{"groupValues", values},
                                  {"groupDivisor", w.groupDivisor(g)},
                                  {"countermeasure", w.countermeasure(g)},
                                  {"groupWord", w.groupWord(g)}});
    }
    return {{"id", w.id()},
            {"position", w.position()},
            {"name", text(w.name())},
            {"selectable", w.selectable()},
            {"layer", w.layer()},
            {"movementType", w.movementType()},
            {"weaponType", w.weaponType()},
            {"value8", w.value8()},
            {"memberCount", w.memberCount()},
            {"memberStrength", w.memberStrength()},
            {"flags", w.flags()},
            {"value11", w.value11()},
            {"sight", sight},
            {"layerValues", layerValues},
            {"value31", w.value31()},
            {"cargoSlots", cargoSlots},
            {"cargoCapacity", cargoCapacity},
            {"transportClass", w.transportClass()},
            {"defence", defence},
            {"flags2", w.flags2()},
            {"linkedWeapon", w.linkedWeapon()},
            {"slots", slotList},
            {"groups", groups},
            {"pictureNumber", w.pictureNumber()},
            {"typeIcon16", w.typeIcon16()},
            {"typeIcon32", w.typeIcon32()},
            {"typeIcon48", w.typeIcon48()},
            {"unitIcon16", w.unitIcon16()},
            {"unitIcon32", w.unitIcon32()},
            {"unitIcon48", w.unitIcon48()},
            {"descriptionNumber", w.descriptionNumber()}};
}

QJsonObject productTypeJson(int slot, const ProductType& p) {
    QJsonArray lists[3];
    for (int id = 0; id < ProductType::kMaxId; ++id)
        for (int l = 0; l < 3; ++l)
            if (p.has(ProductType::List(l), id)) lists[l].append(id);
    return {{"slot", slot},           {"name", text(p.name())},  {"typeValue", p.typeValue()},
            {"airWeapons", lists[0]}, {"landWeapons", lists[1]}, {"seaWeapons", lists[2]}};
}

QJsonArray texts(const std::vector<std::string>& list) {
    QJsonArray a;
    for (const std::string& s : list) a.append(text(s));
    return a;
}

QJsonObject toJson(const GameDatabase& db) {
    QJsonArray terrain, armaments, weapons, products, rules, presets;
    for (const TerrainType& t : db.terrainTypes()) terrain.append(terrainJson(t));
    for (size_t i = 0; i < db.armaments().size(); ++i)
        armaments.append(armamentJson(static_cast<int>(i + 1), db.armaments()[i]));
    for (const WeaponRecord& w : db.weapons()) weapons.append(weaponJson(w));
    for (size_t i = 0; i < db.productTypes().size(); ++i)
        products.append(productTypeJson(static_cast<int>(i), db.productTypes()[i]));
    for (size_t i = 0; i < db.userProductTypes().size(); ++i)
        if (db.userProductTypes()[i].isUsed())
            products.append(productTypeJson(static_cast<int>(150 + i), db.userProductTypes()[i]));
    for (const RuleSet& r : db.ruleSets()) {
        QJsonArray values;
        for (size_t n = 0; n < kRuleCount; ++n) values.append(r.value(n));
        rules.append(QJsonObject{{"ruleId", r.ruleId},
                                 {"name", text(r.name)},
                                 {"date", text(r.date)},
                                 {"time", text(r.time)},
                                 {"values", values}});
    }
    for (const ProductionPreset& p : db.presets())
        presets.append(QJsonObject{{"number", p.number},
                                   {"name", text(p.name)},
                                   {"date", text(p.date)},
                                   {"time", text(p.time)},
                                   {"airShare", p.airShare},
                                   {"landShare", p.landShare},
                                   {"seaShare", p.seaShare},
                                   {"defined", p.defined}});
    QJsonArray weaponList;
    for (int id : db.weaponList()) weaponList.append(id);
    return {{"terrainTypes", terrain},
            {"armaments", armaments},
            {"weapons", weapons},
            {"productTypes", products},
            {"ruleSets", rules},
            {"presets", presets},
            {"anthemNames", texts(db.anthemNames())},
            {"anthemFiles", texts(db.anthemFiles())},
            {"musicNames", texts(db.musicNames())},
            {"musicFiles", texts(db.musicFiles())},
            {"weaponList", weaponList},
            {"unitDataCount",
             static_cast<int>(db.unitData.standardUnits().size() +
                              db.unitData.middleUnits().size() + db.unitData.userUnits().size())}};
}

void printSummary(const GameDatabase& db) {
    int usedProducts = 0;
    for (const ProductType& p : db.productTypes()) usedProducts += p.isUsed() ? 1 : 0;
    std::printf("program folder: %s\n", programFolder().c_str());
    std::printf("terrain types:  %zu\n", db.terrainTypes().size());
    std::printf("armaments:      %zu\n", db.armaments().size());
    std::printf("weapons:        %zu (%zu offered)\n", db.weapons().size(), db.weaponList().size());
    std::printf("product types:  %d\n", usedProducts);
    std::printf("rule sets:      %zu\n", db.ruleSets().size());
    std::printf("anthems:        %zu\n", db.anthemNames().size());
    std::printf("music:          %zu\n", db.musicNames().size());
    std::printf("unit data:      %zu\n", db.unitData.standardUnits().size());
}

}  // namespace

int runDataCommand(const std::string& programDir, bool json) {
    if (!programDir.empty()) {
        std::string dir = programDir;
        if (dir.back() != '/') dir += '/';
        setProgramPath(dir + "kvmap");
    }
    GameDatabase db;
    try {
        db.loadAll();
    } catch (const swCError& e) {
        // The loader has shown its message already.
        std::fprintf(stderr, "kvmap: %s%s%s\n", e.caption.c_str(), e.caption.empty() ? "" : ": ",
                     e.text().c_str());
        return 2;
    }
    if (json) {
        std::fputs(QJsonDocument(toJson(db)).toJson(QJsonDocument::Indented).constData(), stdout);
    } else {
        printSummary(db);
    }
    return 0;
}

}  // namespace kv::cli
