// The weapon list and the weapon detail windows.
#include <QComboBox>
#include <QDialog>
#include <QPushButton>

#include "app/info_windows.h"
#include "app/main_frame.h"
#include "document/map_document.h"
#include "framework/cp932.h"
#include "framework/data_paths.h"
#include "framework/errors.h"
#include "framework/picture.h"
#include "framework/profile.h"
#include "view/window_messages.h"

namespace kv {

// --- the weapon list -----------------------------------------------------------------------

WeaponListWindow::WeaponListWindow(MainFrame& frame)
    : InfoListWindow(frame, ToolKind::WeaponList, kClassName, "兵器一覧", 560, 420, 60) {}

int WeaponListWindow::onInitDialog() {
    addLabel("生産タイプ", 6, 8, 70, 18);
    addCombo(kIdProductType, 80, 4, 240, 24);
    const char* const orders[] = {"種別順", "名前順", "構成数順", "価格順"};
    for (int i = 0; i < 4; ++i) addButton(kIdOrder0 + i, orders[i], 4 + i * 86, 32, 82, 24);
    const int result = InfoListWindow::onInitDialog();
    fillProductTypes();
    return result;
}

void WeaponListWindow::fillProductTypes() {
    auto* c = control<QComboBox>(kIdProductType);
    if (!c) return;
    filling_ = true;
    c->clear();
    numbers_.assign(1, 0);
    c->addItem(QStringLiteral("すべての兵器"));
    GameDatabase& db = doc_.gameDatabase;
    int select = 0;
    for (int s = 0; s < ProductTypeData::kStandardSlots + ProductTypeData::kUserSlots; ++s) {
        const ProductType& p = db.productType(s);
        // Standard slots are numbered from 1 here, user slots by themselves, so the last
        // standard slot has no number of its own.
        if (!p.isUsed() || s == ProductTypeData::kStandardSlots - 1) continue;
        const int number = s < ProductTypeData::kStandardSlots ? s + 1 : s;
        if (number == db.weaponListProductType()) select = int(numbers_.size());
        numbers_.push_back(number);
        c->addItem(QString::fromStdString(decodeCp932Lossy(p.name())));
    }
    c->setCurrentIndex(select);
    filling_ = false;
}

void WeaponListWindow::rebuildList() {
    GameDatabase& db = doc_.gameDatabase;
    auto* c = control<QComboBox>(kIdProductType);
    const int i = c ? c->currentIndex() : 0;
    db.buildWeaponList(i >= 0 && i < int(numbers_.size()) ? numbers_[size_t(i)] : 0);
    db.sortWeaponList(db.weaponListOrder(), false);
    if (list_) list_->clearSort();
    refresh();
}

void WeaponListWindow::pressOrder(int order) {
    GameDatabase& db = doc_.gameDatabase;
    // The order in force once more turns the list round.
    db.sortWeaponList(order, order == db.weaponListOrder());
    if (list_) list_->clearSort();
    refresh();
}

InfoTable WeaponListWindow::build() {
    return weaponListTable(doc_.gameDatabase, doc_.gameDatabase);
}

void WeaponListWindow::rowActivated(int key) {
    postMessage(&frame_, mainmsg::OpenWeaponDetail, uintptr_t(key));
}

int WeaponListWindow::onCommand(MessageRecord& m, int id, int code) {
    if (id >= kIdOrder0 && id <= kIdOrder3 && code == Clicked) {
        pressOrder(id - kIdOrder0);
        return 1;
    }
    if (id == kIdProductType && code == SelectionChanged) {
        if (!filling_) rebuildList();
        return 1;
    }
    return InfoListWindow::onCommand(m, id, code);
}

int WeaponListWindow::onMessage(MessageRecord& m) {
    if (m.message == weaponlistmsg::ProductTypesChanged) {
        fillProductTypes();
        rebuildList();
        return 1;
    }
    if (m.message == weaponlistmsg::MapFileChanged) {
        rebuildList();  // the map's user weapons came or went
        return 1;
    }
    return InfoListWindow::onMessage(m);
}

// --- the weapon detail windows -------------------------------------------------------------

WeaponDetailWindow::WeaponDetailWindow(MainFrame& frame, int weaponId, int key)
    : Dialog(0, &frame), frame_(frame), weaponId_(weaponId), key_(key) {
    setClassName(kClassName);
    title = "兵器詳細";
    setFixedClientSize(640, 440);
}

QWidget* WeaponDetailWindow::createWidget(QWidget* parentWidget) {
    QWidget* w = Dialog::createWidget(parentWidget);
    w->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowCloseButtonHint);
    if (auto* d = qobject_cast<QDialog*>(w)) d->setModal(false);
    return w;
}

int WeaponDetailWindow::onInitDialog() {
    auto* picture = addLabel(kIdPicture, "", 4, 4, 200, 150);
    picture->setAlignment(Qt::AlignCenter);
    picture->setStyleSheet(QStringLiteral("background: #202020;"));
    addLabel(kIdName, "", 212, 4, 300, 20);
    fields_ = add<InfoListView>(kIdFields, 212, 28, 424, 230);
    armaments_ = add<InfoListView>(kIdArmaments, 4, 264, 632, 140);
    addButton(kIdTransform, "変形", 4, 410, 90, 26);
    showWeapon(weaponId_);
    return 0;
}

void WeaponDetailWindow::showWeapon(int weaponId) {
    weaponId_ = weaponId;
    const GameDatabase& db = frame_.document().gameDatabase;
    const WeaponRecord& w = db.weapon(weaponId);
    const WeaponDetailText text = weaponDetailText(db, weaponId);
    if (fields_) {
        fields_->tableModel()->setTable(text.fields);
        fields_->resizeColumnToContents(0);
    }
    if (armaments_) {
        armaments_->tableModel()->setTable(text.armaments);
        for (int c = 0; c < armaments_->tableModel()->columnCount(); ++c)
            armaments_->resizeColumnToContents(c);
    }
    if (auto* l = control<QLabel>(kIdName))
        l->setText(QString::fromStdString(decodeCp932Lossy(w.name())));
    if (auto* l = control<QLabel>(kIdPicture)) {
        QPixmap pixmap;
        try {
            int kind = 0;
            Picture p;
            p.loadFile(
                dataPath(unitPictureFile(weaponId, w.pictureNumber(), kind), DataKind::Unit));
            if (!p.isNull())
                pixmap = QPixmap::fromImage(p.image()).scaled(l->size(), Qt::KeepAspectRatio,
                                                              Qt::SmoothTransformation);
        } catch (const swCError&) {
            // A weapon without a picture is still worth reading about.
        }
        l->setPixmap(pixmap);
        if (pixmap.isNull()) l->setText(QStringLiteral("(画像なし)"));
    }
    // Transformation is offered only towards a weapon that exists.
    const int linked = w.linkedWeapon();
    if (auto* b = control<QPushButton>(kIdTransform))
        b->setEnabled(linked != 0 && db.hasWeapon(linked - 1));
}

bool WeaponDetailWindow::open() {
    if (!createModeless()) return false;
    QWidget* w = handle();
    const int left = ProfileEntry("WindowInfo", className() + "WindowPosLeft").readInt(INT32_MIN);
    const int top = ProfileEntry("WindowInfo", className() + "WindowPosTop").readInt(INT32_MIN);
    // The second window opens a little further on, so both can be seen.
    const QPoint offset(24 * key_, 24 * key_);
    if (left != INT32_MIN && top != INT32_MIN) {
        w->move(QPoint(left, top) + offset);
    } else if (QWidget* main = frame_.handle()) {
        w->move(main->geometry().topLeft() + QPoint(200, 120) + offset);
    }
    w->show();
    w->raise();
    return true;
}

void WeaponDetailWindow::destroy() {
    if (QWidget* w = handle()) {
        ProfileEntry("WindowInfo", className() + "WindowPosLeft").writeInt(w->x() - 24 * key_);
        ProfileEntry("WindowInfo", className() + "WindowPosTop").writeInt(w->y() - 24 * key_);
    }
    Window::destroy();
}

int WeaponDetailWindow::onCommand(MessageRecord& m, int id, int code) {
    if (id == kIdCancel) {
        postMessage(&frame_, mainmsg::CloseWeaponDetail, uintptr_t(key_));
        return 1;
    }
    if (id == kIdOk) return 1;
    if (id == kIdTransform && code == Clicked) {
        const int linked = frame_.document().gameDatabase.weapon(weaponId_).linkedWeapon();
        if (linked == 0) return 1;
        showWeapon(linked - 1);
        frame_.tools().setDetailWeapon(key_, weaponId_);
        return 1;
    }
    return Dialog::onCommand(m, id, code);
}

}  // namespace kv
