// The troop palette.
#include "app/troop_palette.h"

#include <QComboBox>
#include <QListWidget>
#include <QSpinBox>

#include <algorithm>
#include <set>

#include "app/main_frame.h"
#include "document/map_document.h"
#include "framework/bitmap_button.h"
#include "framework/button_faces.h"
#include "framework/cp932.h"
#include "gamedata/weapon_enums.h"
#include "view/window_messages.h"

namespace kv {

namespace {
constexpr int kSlots = ProductTypeData::kStandardSlots + ProductTypeData::kUserSlots;
}

TroopPalette::TroopPalette(MainFrame& frame)
    : PaletteWindow(frame, ToolKind::TroopPalette, kClassName, "部隊パレット", 330, 396) {}

int TroopPalette::onInitDialog() {
    addLabel("配置陣営：", 8, 10, 90, 20);
    addCombo(kIdFaction, 100, 8, 222, 22);
    addLabel("生産ﾀｲﾌﾟ：", 8, 36, 90, 20);
    addCombo(kIdProductType, 100, 34, 222, 22);
    addLabel("兵器ﾀｲﾌﾟ：", 8, 62, 90, 20);
    addCombo(kIdWeaponType, 100, 60, 222, 22);
    addLabel("配置機数:", 8, 88, 90, 20);
    addSpin(kIdUnitCount, 100, 86, 60, 22, 1, 10);
    addLabel("Pack選択:", 170, 88, 70, 20);
    addCombo(kIdPack, 240, 86, 82, 22)->setEnabled(false);  // weapon packs: not offered yet
    addList(kIdWeapons, 8, 114, 314, 220);
    const std::pair<int, int> buttons[] = {
        {kIdDirectTroops, faces::DirectTroops}, {kIdWeaponDetail, faces::WeaponDetail},
        {kIdDeploy, faces::DeployWeapon},       {kIdCancelDeploy, faces::CancelDeploy},
        {kIdPlace, faces::PlaceTroop},          {kIdRecall, faces::RecallTroop},
        {kIdTroopDetail, faces::TroopDetail}};
    for (int i = 0; i < 7; ++i) {
        auto* b = newWindow<BitmapButton>(this, FaceSheet::B70x20, buttons[i].second,
                                          buttons[i].first, 8 + (i % 4) * 79, 342 + (i / 4) * 24);
        // The organisation and deployment windows come with the troop windows.
        const int id = buttons[i].first;
        if (b->button())
            b->button()->setEnabled(id == kIdWeaponDetail || id == kIdPlace || id == kIdRecall);
    }
    return 0;
}

int TroopPalette::productSlot() const {
    const auto* c = control<QComboBox>(kIdProductType);
    const int i = c ? c->currentIndex() : -1;
    return i >= 0 && i < int(productSlots_.size()) ? productSlots_[size_t(i)] : -1;
}

void TroopPalette::fillProductTypes() {
    auto* c = control<QComboBox>(kIdProductType);
    if (!c) return;
    productSlots_.clear();
    c->clear();
    int select = 0;
    for (int s = 0; s < kSlots; ++s) {
        const ProductType& p = doc_.gameDatabase.productType(s);
        if (!p.isUsed()) continue;
        if (s == doc_.tool.troopBrush.productType) select = int(productSlots_.size());
        productSlots_.push_back(s);
        c->addItem(QString::fromStdString(decodeCp932Lossy(p.name())));
    }
    c->setCurrentIndex(productSlots_.empty() ? -1 : select);
}

void TroopPalette::fillWeaponTypes() {
    auto* c = control<QComboBox>(kIdWeaponType);
    if (!c) return;
    const int slot = productSlot();
    std::set<int> types;
    if (slot >= 0) {
        const ProductType& p = doc_.gameDatabase.productType(slot);
        for (const WeaponRecord& w : doc_.gameDatabase.weapons())
            if (w.selectable() && p.inAnyList(w.id())) types.insert(w.weaponType());
    }
    weaponTypes_.assign(1, -1);
    weaponTypes_.insert(weaponTypes_.end(), types.begin(), types.end());
    c->clear();
    c->addItem(QStringLiteral("全て"));
    int select = 0;
    for (size_t i = 1; i < weaponTypes_.size(); ++i) {
        c->addItem(QString::fromUtf8(std::string(weaponTypeNames().utf8(weaponTypes_[i]))));
        // The type of the weapon chosen last, once one is.
        if (doc_.tool.troopBrush.valid && weaponTypes_[i] == doc_.tool.troopBrush.weaponType)
            select = int(i);
    }
    c->setCurrentIndex(select);
}

void TroopPalette::fillWeapons() {
    auto* list = control<QListWidget>(kIdWeapons);
    auto* typeBox = control<QComboBox>(kIdWeaponType);
    if (!list || !typeBox) return;
    const int slot = productSlot();
    const int ti = typeBox->currentIndex();
    const int type = ti >= 0 && ti < int(weaponTypes_.size()) ? weaponTypes_[size_t(ti)] : -1;
    listed_.clear();
    list->clear();
    if (slot < 0) return;
    const ProductType& p = doc_.gameDatabase.productType(slot);
    for (const WeaponRecord& w : doc_.gameDatabase.weapons()) {
        if (!w.selectable() || !p.inAnyList(w.id())) continue;
        if (type >= 0 && w.weaponType() != type) continue;
        listed_.push_back(w.id());
        list->addItem(QString::fromStdString(decodeCp932Lossy(w.name())));
    }
    const auto at = std::find(listed_.begin(), listed_.end(), doc_.tool.troopBrush.weaponId);
    list->setCurrentRow(
        doc_.tool.troopBrush.valid && at != listed_.end() ? int(at - listed_.begin()) : -1);
}

void TroopPalette::refresh() {
    filling_ = true;
    TroopBrush& b = doc_.tool.troopBrush;
    if (auto* f = control<QComboBox>(kIdFaction)) {
        f->clear();
        for (int i = 0; i < kFactionCount; ++i)
            f->addItem(QString::fromStdString(decodeCp932Lossy(doc_.factions[size_t(i)].name())));
        f->setCurrentIndex(std::clamp(b.faction, 0, kFactionCount - 1));
    }
    if (auto* s = control<QSpinBox>(kIdUnitCount)) s->setValue(std::clamp(b.unitCount, 1, 10));
    fillProductTypes();
    fillWeaponTypes();
    fillWeapons();
    filling_ = false;
}

int TroopPalette::onCommand(MessageRecord& m, int id, int code) {
    if (filling_ && id >= kIdFaction && id <= kIdWeapons) return 1;
    TroopBrush& b = doc_.tool.troopBrush;
    switch (id) {
        case kIdFaction:
            b.faction = std::clamp(control<QComboBox>(kIdFaction)->currentIndex(), 0, 5);
            return 1;
        case kIdProductType:
            b.productType = std::max(0, productSlot());
            filling_ = true;
            fillWeaponTypes();
            fillWeapons();
            filling_ = false;
            return 1;
        case kIdWeaponType: {
            const int ti = control<QComboBox>(kIdWeaponType)->currentIndex();
            b.weaponType = ti > 0 && ti < int(weaponTypes_.size()) ? weaponTypes_[size_t(ti)] : 0;
            filling_ = true;
            fillWeapons();
            filling_ = false;
            return 1;
        }
        case kIdUnitCount: b.unitCount = control<QSpinBox>(kIdUnitCount)->value(); return 1;
        case kIdWeapons: {
            const int row = control<QListWidget>(kIdWeapons)->currentRow();
            if (row < 0 || row >= int(listed_.size())) return 1;
            // A new troop of the chosen weapon.
            b.valid = 1;
            b.fromList = 0;
            b.weaponId = listed_[size_t(row)];
            frame_.tools().post(ToolKind::ToolWindow, toolmsg::DrawKindChanged);
            return 1;
        }
        case kIdWeaponDetail:
            if (b.weaponId > 0)
                postMessage(&frame_, mainmsg::OpenWeaponDetail, uintptr_t(b.weaponId));
            return 1;
        case kIdPlace: frame_.sendCommand(cmd::TroopPlace); return 1;
        case kIdRecall: frame_.sendCommand(cmd::TroopDelete); return 1;
        default: break;
    }
    return PaletteWindow::onCommand(m, id, code);
}

int TroopPalette::onMessage(MessageRecord& m) {
    if (m.message == trooppalettemsg::NewTroops ||
        m.message == trooppalettemsg::ProductTypesChanged) {
        refresh();
        return 1;
    }
    return PaletteWindow::onMessage(m);
}

}  // namespace kv
