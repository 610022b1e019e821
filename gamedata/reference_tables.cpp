// The reference lists on the game data as tables of texts.
#include "gamedata/reference_tables.h"

#include <algorithm>
#include <cstdio>

#include "framework/cp932.h"
#include "gamedata/product_types.h"
#include "gamedata/terrain.h"
#include "gamedata/weapon_enums.h"
#include "gamedata/weapons.h"

namespace kv {

namespace {

const char* const kListHeadings[kTerrainListColumnCount] = {
    "収入",     "視界", "占領耐久度", "破壊耐久度", "収容",     "補充", "修理",     "弾薬補給",
    "燃料補給", "隠蔽", "空挺",       "ヘリ着陸",   "VTOL着陸", "架橋", "トーチカ", "道路施設"};

std::string format(const char* f, int v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, f, v);
    return buf;
}

InfoCell numberCell(std::string text, int64_t value) {
    return {std::move(text), value};
}

InfoCell textCell(std::string text) {
    return {std::move(text), std::nullopt};
}

std::string nameOf(const TerrainType& t) {
    return decodeCp932Lossy(fieldText(t.name, kTerrainNameBytes));
}

// Income, sight, the durabilities and the capacity belong to buildings and facilities.
bool keepsFacilityFigures(const TerrainType& t) {
    return static_cast<int>(t.category) > 10;
}

// The two landing columns also count facilities that can hold units.
bool landingAllowed(const TerrainType& t, int index, bool vtol) {
    if (t.flags & (vtol ? kTerrainVtolLanding : kTerrainHeliLanding)) return true;
    if (!isFacility(t.category) || t.capacity == 0) return false;
    if (vtol) return (index >= 35 && index <= 40) || index == 43;
    return index != 48;
}

const char* mark(bool set) {
    return set ? "○" : "×";
}

// A per-movement-type table of the named terrain types.
InfoTable movementTable(const TerrainData& terrain, std::string (*cell)(const TerrainType&, int)) {
    InfoTable table;
    table.headings.push_back("地形");
    for (int m = 0; m < kMovementTypeCount; ++m) table.headings.emplace_back(movementTypeName(m));
    for (int index : terrainListOrder(terrain)) {
        const TerrainType& t = terrain.terrain(size_t(index));
        InfoTable::Row row{index, {textCell(nameOf(t))}};
        for (int m = 0; m < kMovementTypeCount; ++m) {
            const std::string text = cell(t, m);
            row.cells.push_back(text == "-" ? numberCell(text, -1)
                                            : numberCell(text, std::atoi(text.c_str())));
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

}  // namespace

std::string_view terrainListHeading(int column) {
    return column >= 0 && column < kTerrainListColumnCount ? kListHeadings[column] : "";
}

bool terrainListColumnOffered(int column) {
    return column >= 0 && column < kTerrainListColumnCount && column != kListPillbox;
}

std::string terrainListCell(const TerrainType& t, int index, int column) {
    const bool facility = keepsFacilityFigures(t);
    switch (column) {
        case kListIncome: return facility ? format("%4d", t.income) : "";
        case kListSight:
            if (!facility) return "";
            {
                char buf[48];
                std::snprintf(buf, sizeof buf, "%d/%d/%d", t.sight[0], t.sight[1], t.sight[2]);
                return buf;
            }
        case kListCaptureDurability: return facility ? format("%2d", t.captureDurability) : "";
        case kListDestroyDurability:
            if (facility || t.destroyDurability != 0) return format("%2d", t.destroyDurability);
            return "-";
        case kListCapacity: return facility ? format("%d", t.capacity) : "";
        case kListReplenish: return mark(t.replenishMask != 0);
        case kListRepair: return mark(t.repairMask != 0);
        case kListAmmoSupply: return mark(t.ammoSupplyMask != 0);
        case kListFuelSupply: return mark(t.fuelSupplyMask != 0);
        case kListConcealment: return mark(t.flags & kTerrainConcealment);
        case kListAirborne: return mark(t.flags & kTerrainAirborne);
        case kListBridging: return mark(t.flags & kTerrainBridging);
        case kListRoadFacility: return mark(t.flags & kTerrainRoadFacility);
        case kListHeliLanding:
        case kListVtolLanding:
            if (!landingAllowed(t, index, column == kListVtolLanding)) return "×";
            // A facility lands troops of its own side only.
            return static_cast<int>(t.category) < 12 ? "○" : "味";
        default: return "";
    }
}

std::string terrainMoveCell(const TerrainType& t, int m) {
    if (m < 0 || m >= kMovementTypeCount || t.moveCost[m] == 0) return "-";
    return format("%d", t.moveCost[m]);
}

std::string terrainAvoidCell(const TerrainType& t, int m) {
    if (m < 0 || m >= kMovementTypeCount || t.moveCost[m] == 0) return "-";
    return format("%d", t.evasion[m]);
}

std::vector<int> terrainListOrder(const TerrainData& terrain) {
    std::vector<int> order;
    for (size_t i = 0; i < terrain.terrainCount(); ++i)
        if (terrain.terrain(i).name[0] != 0) order.push_back(static_cast<int>(i));
    std::stable_sort(order.begin(), order.end(), [&terrain](int a, int b) {
        return terrain.terrain(size_t(a)).listOrder < terrain.terrain(size_t(b)).listOrder;
    });
    return order;
}

InfoTable terrainInfoTable(const TerrainData& terrain, uint32_t options) {
    InfoTable table;
    table.headings = {"地形", "種類"};
    std::vector<int> columns;
    for (int c = 0; c < kTerrainListColumnCount; ++c)
        if (terrainListColumnOffered(c) && (options >> c & 1u)) {
            columns.push_back(c);
            table.headings.emplace_back(kListHeadings[c]);
        }
    for (int index : terrainListOrder(terrain)) {
        const TerrainType& t = terrain.terrain(size_t(index));
        InfoTable::Row row{
            index,
            {textCell(nameOf(t)),
             numberCell(std::string(terrainCategoryName(int(t.category))), int(t.category))}};
        for (int c : columns) {
            std::string text = terrainListCell(t, index, c);
            // Numbers sort as numbers ("-" below 0), marks and blanks as texts.
            const bool numeric = c <= kListCapacity && c != kListSight && !text.empty();
            const int value = text == "-" ? -1 : std::atoi(text.c_str());
            row.cells.push_back(numeric ? numberCell(text, value) : textCell(std::move(text)));
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

InfoTable terrainMoveTable(const TerrainData& terrain) {
    return movementTable(terrain, terrainMoveCell);
}

InfoTable terrainAvoidTable(const TerrainData& terrain) {
    return movementTable(terrain, terrainAvoidCell);
}

InfoTable transportableTerrainTable(const TerrainData& terrain) {
    InfoTable table;
    table.headings.push_back("地形");
    for (int k = 0; k < kCarrierKindCount; ++k) table.headings.emplace_back(carrierKindName(k));
    for (int index : terrainListOrder(terrain)) {
        InfoTable::Row row{index, {textCell(nameOf(terrain.terrain(size_t(index))))}};
        for (int k = 0; k < kCarrierKindCount; ++k)
            row.cells.push_back(
                textCell(std::string(transportPermissionText(transportPermission(index, k)))));
        table.rows.push_back(std::move(row));
    }
    return table;
}

InfoTable terrainDetailTable(const TerrainData& terrain, int index) {
    InfoTable table;
    table.headings = {"項目", "値"};
    if (index < 0 || size_t(index) >= terrain.terrainCount()) return table;
    const TerrainType& t = terrain.terrain(size_t(index));
    auto add = [&table](std::string item, std::string value) {
        table.rows.push_back({int(table.rows.size()), {textCell(item), textCell(value)}});
    };
    add("地形", nameOf(t));
    add("番号", format("%d", index));
    add("種類", std::string(terrainCategoryName(int(t.category))));
    for (int c = 0; c < kTerrainListColumnCount; ++c)
        if (terrainListColumnOffered(c)) add(kListHeadings[c], terrainListCell(t, index, c));
    for (int m = 0; m < kMovementTypeCount; ++m)
        add(std::string(movementTypeName(m)),
            "移動 " + terrainMoveCell(t, m) + " / 回避 " + terrainAvoidCell(t, m));
    return table;
}

InfoTable weaponListTable(const ProductTypeData& products, const WeaponData& weapons) {
    InfoTable table;
    table.headings = {"番号", "兵器名", "兵器種別", "高度", "移動", "構成数", "価格"};
    table.rows.reserve(products.weaponList().size());
    for (int id : products.weaponList()) {
        const WeaponRecord& w = weapons.weapon(id);
        const int64_t price = int64_t(w.memberCount()) * w.value31();
        table.rows.push_back(
            {id,
             {numberCell(format("%4d", id), id), textCell(decodeCp932Lossy(w.name())),
              numberCell(std::string(weaponTypeNames().utf8(w.weaponType())), w.weaponType()),
              numberCell(std::string(altitudeLayerNames().utf8(w.layer())), w.layer()),
              numberCell(std::string(movementTypeNames().utf8(w.movementType())), w.movementType()),
              numberCell(format("%d", w.memberCount()), w.memberCount()),
              numberCell(std::to_string(price), price)}});
    }
    return table;
}

}  // namespace kv

namespace kv {

namespace {

std::string transportClassText(uint8_t bits) {
    if (bits == 0) return "なし";
    std::string text;
    for (const TransportClassName& c : transportClassNames())
        if (c.bit != 0 && (bits & c.bit)) text += (text.empty() ? "" : "・") + std::string(c.utf8);
    return text;
}

std::string cargoText(const WeaponRecord& w) {
    std::string text;
    for (int i = 0; i < WeaponRecord::kCargoSlotCount; ++i) {
        const uint8_t accepts = w.cargoSlot(i);
        if (accepts == 0) continue;
        std::string name;
        for (const CargoSlotName& c : cargoSlotNames())
            if (c.accepts == accepts) name = std::string(c.utf8);
        if (name.empty()) name = "(" + transportClassText(accepts) + ")";
        text += (text.empty() ? "" : " ") + name;
    }
    return text.empty() ? "なし" : text;
}

}  // namespace

WeaponDetailText weaponDetailText(const WeaponData& weapons, int id) {
    WeaponDetailText d;
    d.fields.headings = {"項目", "値"};
    auto add = [&d](std::string item, std::string value) {
        d.fields.rows.push_back({int(d.fields.rows.size()), {textCell(item), textCell(value)}});
    };
    const WeaponRecord& w = weapons.weapon(id);
    add("兵器名", decodeCp932Lossy(w.name()));
    add("番号", format("%d", id));
    add("兵器種別", std::string(weaponTypeNames().utf8(w.weaponType())));
    add("高度", std::string(altitudeLayerNames().utf8(w.layer())));
    add("移動タイプ", std::string(movementTypeNames().utf8(w.movementType())));
    add("構成数", format("%d", w.memberCount()));
    add("耐久力", format("%d", w.memberStrength()));
    add("価格", std::to_string(int64_t(w.memberCount()) * w.value31()));
    std::string sight;
    for (int l = 0; l < kAltitudeLayerCount; ++l)
        sight += (l ? "/" : "") + std::to_string(w.sight(l));
    add("視界", sight);
    std::string defence;
    for (int c = 0; c < kAttackClassCount; ++c)
        defence += (c ? "/" : "") + std::to_string(w.defence(c));
    add("防御", defence);
    add("輸送区分", transportClassText(w.transportClass()));
    add("搭載", cargoText(w));
    const int linked = w.linkedWeapon();
    add("変形", linked == 0 ? "なし"
                            : decodeCp932Lossy(weapons.weapon(linked - 1).name()) + " (" +
                                  std::to_string(linked - 1) + ")");
    add("武装交換", format("%d", w.presentGroupCount()));
    add("選択", w.selectable() ? "可" : "不可");

    d.armaments.headings = {"武装", "種類", "弾数", "射程", "威力"};
    for (int c = 0; c < kTargetClassCount; ++c)
        d.armaments.headings.emplace_back(targetClassNames().utf8(c));
    for (int s = 0; s < WeaponRecord::kSlotCount; ++s) {
        if (w.slotName(s).empty() && !w.hasArmament(s)) continue;
        const ArmamentRecord& a = weapons.slotArmament(id, s);
        InfoTable::Row row{s,
                           {textCell(decodeCp932Lossy(w.slotName(s))),
                            textCell(std::string(armamentKindShortNames().utf8(a.kind))),
                            numberCell(format("%d", w.slotRounds(s)), w.slotRounds(s)),
                            numberCell(format("%d", a.value3), a.value3),
                            numberCell(format("%d", a.power), a.power)}};
        for (int c = 0; c < kTargetClassCount; ++c)
            row.cells.push_back(numberCell(format("%d", a.attackOn(c)), a.attackOn(c)));
        d.armaments.rows.push_back(std::move(row));
    }
    return d;
}

}  // namespace kv
