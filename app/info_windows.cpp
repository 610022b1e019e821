// The troop table, the terrain windows and the factories of all information windows.
#include "app/info_windows.h"

#include <QCheckBox>
#include <QPushButton>

#include "app/main_frame.h"
#include "document/map_document.h"
#include "document/troop_list.h"
#include "framework/cp932.h"
#include "view/map_view.h"
#include "view/window_messages.h"

namespace kv {

namespace {

// The (item, value) rows of one troop for the troop table's companion.
InfoTable troopDetail(const MapDocument& doc, int key) {
    InfoTable detail;
    detail.headings = {"項目", "値"};
    const TroopRecord* t = doc.troopAt(key / kTroopKeyTable, key % kTroopKeyTable);
    if (key < 0 || !t || !t->inUse()) return detail;
    auto add = [&detail](std::string item, std::string value) {
        detail.rows.push_back(
            {int(detail.rows.size()), {{std::move(item), {}}, {std::move(value), {}}}});
    };
    add("部隊名", decodeCp932Lossy(t->name()));
    std::string units;
    for (int u = 0; u < TroopRecord::kUnitSlots; ++u)
        if (t->unitStrength(u))
            units += (units.empty() ? "" : " ") + std::to_string(t->unitStrength(u));
    add("各部隊の兵力", units);
    if (t->carrierTablePlusOne() != 0)
        add("搭載先", std::to_string(t->carrierTablePlusOne()) + "-" +
                          std::to_string(t->carrierSlotPlusOne()));
    add("師団", std::to_string(t->division()));
    for (const InfoTable::Row& r : weaponDetailText(doc.gameDatabase, t->weaponId()).fields.rows)
        detail.rows.push_back({int(detail.rows.size()), r.cells});
    return detail;
}

}  // namespace

// --- the troop table -----------------------------------------------------------------------

TroopTableWindow::TroopTableWindow(MainFrame& frame)
    : InfoListWindow(frame, ToolKind::TroopTable, kClassName, "部隊表", 640, 320, 30) {}

int TroopTableWindow::onInitDialog() {
    addLabel(kIdCount, "", 6, 6, 300, 18);
    addButton(kIdCompanion, "詳細", 560, 3, 72, 24);
    return InfoListWindow::onInitDialog();
}

InfoTable TroopTableWindow::build() {
    InfoTable table = troopListTable(doc_);
    char count[48];
    std::snprintf(count, sizeof count, "部隊数 %4d", int(table.rows.size()));
    if (auto* l = control<QLabel>(kIdCount)) l->setText(QString::fromUtf8(count));
    return table;
}

void TroopTableWindow::rowChosen(int key) {
    const TroopRecord* t = doc_.troopAt(key / kTroopKeyTable, key % kTroopKeyTable);
    if (key < 0 || !t) return;
    const int col = t->col(), row = t->row();
    postMessage(frame_.mapView(), viewmsg::ScrollTo,
                uintptr_t((col & 0xFFFF) | (row & 0xFFFF) << 16));
    postMessage(frame_.mapView(), viewmsg::FlashHex, uintptr_t(col), row);
}

void TroopTableWindow::rowActivated(int key) {
    if (const TroopRecord* t = doc_.troopAt(key / kTroopKeyTable, key % kTroopKeyTable))
        postMessage(&frame_, mainmsg::OpenWeaponDetail, t->weaponId());
}

void TroopTableWindow::fillCompanion(int key) {
    if (CompanionWindow* c = openCompanion()) c->show(troopDetail(doc_, key));
}

void TroopTableWindow::toggleCompanion() {
    toggleCompanionWindow("KOBMEC_TROOPLISTSUBWINDOW_CNAME", "部隊詳細",
                          mainmsg::ToggleTroopTableCompanion);
}

int TroopTableWindow::onCommand(MessageRecord& m, int id, int code) {
    if (id == kIdCompanion && code == Clicked) {
        postMessage(&frame_, mainmsg::ToggleTroopTableCompanion);
        return 1;
    }
    return InfoListWindow::onCommand(m, id, code);
}

int TroopTableWindow::onMessage(MessageRecord& m) {
    switch (m.message) {
        case trooptablemsg::Redraw:
        case trooptablemsg::NewMap:
        case trooptablemsg::EditModeChanged:
        case trooptablemsg::MapSettingsChanged: refresh(); return 1;
        default: return InfoListWindow::onMessage(m);
    }
}

// --- terrain information -------------------------------------------------------------------

TerrainInfoWindow::TerrainInfoWindow(MainFrame& frame)
    : InfoListWindow(frame, ToolKind::TerrainInfo, kClassName, "地形情報", 720, 360, 30) {}

int TerrainInfoWindow::onInitDialog() {
    addButton(kIdOptions, "表示項目", 4, 3, 90, 24);
    addButton(kIdCompanion, "詳細", 100, 3, 72, 24);
    return InfoListWindow::onInitDialog();
}

bool TerrainInfoWindow::open() {
    if (!InfoListWindow::open()) return false;
    if (list_ && list_->proxy()->rowCount() > 0)
        list_->setCurrentIndex(list_->proxy()->index(0, 0));
    // The companion opens beside the list and goes with it.
    toggleCompanion();
    return true;
}

InfoTable TerrainInfoWindow::build() {
    return terrainInfoTable(doc_.gameDatabase, uint32_t(doc_.viewSettings.landListOption));
}

void TerrainInfoWindow::fillCompanion(int key) {
    if (CompanionWindow* c = openCompanion()) c->show(terrainDetailTable(doc_.gameDatabase, key));
}

void TerrainInfoWindow::toggleCompanion() {
    toggleCompanionWindow("KOBMEC_LANDLISTSUBWINDOW_CNAME", "地形詳細",
                          mainmsg::ToggleTerrainInfoCompanion);
}

int TerrainInfoWindow::onCommand(MessageRecord& m, int id, int code) {
    if (id == kIdOptions && code == Clicked) {
        TerrainListOptionDialog d(this, uint32_t(doc_.viewSettings.landListOption));
        if (d.run() && d.result == kIdOk) {
            doc_.viewSettings.landListOption = int(d.options);
            refresh();
        }
        return 1;
    }
    if (id == kIdCompanion && code == Clicked) {
        postMessage(&frame_, mainmsg::ToggleTerrainInfoCompanion);
        return 1;
    }
    return InfoListWindow::onCommand(m, id, code);
}

TerrainListOptionDialog::TerrainListOptionDialog(Window* owner, uint32_t options)
    : Dialog(kTemplateId, owner), options(options) {
    title = "表示項目";
    setFixedClientSize(260, 250);
}

int TerrainListOptionDialog::onInitDialog() {
    int n = 0;
    for (int c = 0; c < kTerrainListColumnCount; ++c) {
        if (!terrainListColumnOffered(c)) continue;
        const std::string heading(terrainListHeading(c));
        addCheck(kFirstCheck + c, heading.c_str(), 12 + (n / 8) * 120, 10 + (n % 8) * 24, 110, 20);
        ++n;
    }
    addButton(kIdOk, "OK", 40, 212, 80, 26)->setDefault(true);
    addButton(kIdCancel, "ｷｬﾝｾﾙ", 140, 212, 80, 26);
    exchangeData(false);
    return 0;
}

void TerrainListOptionDialog::exchangeData(bool toObject) {
    for (int c = 0; c < kTerrainListColumnCount; ++c) {
        auto* box = control<QCheckBox>(kFirstCheck + c);
        if (!box) continue;
        if (toObject) {
            options = box->isChecked() ? options | (1u << c) : options & ~(1u << c);
        } else {
            box->setChecked(options >> c & 1u);
        }
    }
}

// --- the per-movement-type tables and transportable terrain ---------------------------------

namespace {

const char* tableClass(ToolKind kind) {
    if (kind == ToolKind::TerrainAvoidTable) return TerrainTableWindow::kAvoidClassName;
    if (kind == ToolKind::TransportableTerrain) return TerrainTableWindow::kTransportClassName;
    return TerrainTableWindow::kMoveClassName;
}

const char* tableCaption(ToolKind kind) {
    if (kind == ToolKind::TerrainAvoidTable) return "地形回避表";
    if (kind == ToolKind::TransportableTerrain) return "輸送可能地形";
    return "地形移動表";
}

}  // namespace

TerrainTableWindow::TerrainTableWindow(MainFrame& frame, ToolKind kind)
    : InfoListWindow(frame, kind, tableClass(kind), tableCaption(kind), 760, 360, 4) {}

QPoint TerrainTableWindow::defaultOffset() const {
    // The three tables open staggered, so each can be seen.
    if (kind_ == ToolKind::TerrainAvoidTable) return {140, 180};
    if (kind_ == ToolKind::TransportableTerrain) return {180, 220};
    return {100, 140};
}

InfoTable TerrainTableWindow::build() {
    if (kind_ == ToolKind::TerrainAvoidTable) return terrainAvoidTable(doc_.gameDatabase);
    if (kind_ == ToolKind::TransportableTerrain)
        return transportableTerrainTable(doc_.gameDatabase);
    return terrainMoveTable(doc_.gameDatabase);
}

// --- the factories -------------------------------------------------------------------------

namespace {

template <class T, class... Args>
ToolWindows::Factory factoryOf(MainFrame& frame, Args... args) {
    return [&frame, args...]() -> Window* {
        T* w = newWindow<T>(frame, args...);
        if (w->open()) return w;
        delete w;
        return nullptr;
    };
}

}  // namespace

void installInfoWindowFactories(MainFrame& frame) {
    ToolWindows& tools = frame.tools();
    tools.setFactory(ToolKind::TroopTable, factoryOf<TroopTableWindow>(frame));
    tools.setFactory(ToolKind::WeaponList, factoryOf<WeaponListWindow>(frame));
    tools.setFactory(ToolKind::TerrainInfo, factoryOf<TerrainInfoWindow>(frame));
    for (ToolKind k :
         {ToolKind::TerrainMoveTable, ToolKind::TerrainAvoidTable, ToolKind::TransportableTerrain})
        tools.setFactory(k, factoryOf<TerrainTableWindow>(frame, k));
    tools.setDetailFactory([&frame](int weaponId, int key) -> Window* {
        auto* w = newWindow<WeaponDetailWindow>(frame, weaponId, key);
        if (w->open()) return w;
        delete w;
        return nullptr;
    });
}

}  // namespace kv
