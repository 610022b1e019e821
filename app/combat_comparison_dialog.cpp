// The combat comparison dialog.
#include "app/combat_comparison_dialog.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <cstdio>

#include "framework/cp932.h"
#include "framework/data_paths.h"
#include "framework/errors.h"
#include "framework/font.h"
#include "framework/picture.h"
#include "framework/profile.h"
#include "gamedata/game_database.h"

namespace kv {

namespace {

constexpr int kSlots = WeaponRecord::kSlotCount;
constexpr int kIconSize = 16, kIconSheetCell = 48;
constexpr int kMemberBoxes = 10;  // as many as fit beside each other
const QColor kWhite(255, 255, 255), kLightBlue(150, 200, 255), kRed(255, 80, 80);
const QColor kHighlight(40, 70, 130);

const char* const kWeaponKeys[2] = {"SimAttackUidA", "SimAttackUidB"};

QString text(const std::string& cp932) {
    return QString::fromStdString(decodeCp932Lossy(cp932));
}

QString format(const char* pattern, int value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return QString::fromLatin1(buffer);
}

QImage pictureOrNothing(const std::string& name, DataKind kind) {
    try {
        return loadPicture(name, kind).withTransparentKey();
    } catch (const swCError&) {
        return {};
    }
}

// Paints through the dialog, beneath its buttons and lists.
class ComparisonCanvas : public QWidget {
public:
    ComparisonCanvas(QWidget* parent, CombatComparisonDialog* dialog)
        : QWidget(parent), dialog_(dialog) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        dialog_->paint(p);
    }

private:
    CombatComparisonDialog* dialog_;
};

void draw(QPainter& p, int x1, int y1, int x2, int y2, const QString& s, Qt::Alignment align,
          const QColor& colour = kWhite) {
    p.setPen(colour);
    p.drawText(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), align | Qt::AlignVCenter, s);
}

}  // namespace

CombatComparisonDialog::CombatComparisonDialog(Window* owner, const GameDatabase& db)
    : Dialog(kTemplateId, owner), db_(db) {
    title = "戦闘比較";
    setClassName(kPlacementName);
    setFixedClientSize(kClientWidth, kClientHeight);
    for (int s = 0; s < 2; ++s) {
        const int stored = ProfileEntry("Environment", kWeaponKeys[s]).readInt(0);
        sides_[size_t(s)] = CombatSide{comparisonWeapon(db_, stored), -1, 1};
    }
}

int CombatComparisonDialog::onInitDialog() {
    background_ = pictureOrNothing("panel_fig4.bmp", DataKind::Bmp);
    iconSheet_ = pictureOrNothing("unit48.bmp", DataKind::Bmp);
    canvas_ = new ComparisonCanvas(handle(), this);
    canvas_->setGeometry(0, 0, kClientWidth, kClientHeight);
    canvas_->setFont(createFont(14, 400));
    for (int s = 0; s < 2; ++s) {
        const int dx = kSideOffset * s;
        for (int slot = 0; slot < kSlots; ++slot) {
            QPushButton* b = addButton((s == 0 ? kIdSlotA : kIdSlotB) + slot, "", 24 + dx,
                                       140 + 26 * slot, 18, 18);
            b->setCheckable(true);
            b->setAutoDefault(false);
            slotButtons_[size_t(s)][size_t(slot)] = b;
        }
        addButton(s == 0 ? kIdWeaponDropA : kIdWeaponDropB, "▼", 298 + dx, 24, 18, 18)
            ->setAutoDefault(false);
        addButton(s == 0 ? kIdTerrainDropA : kIdTerrainDropB, "▼", 180 + dx, 303, 18, 18)
            ->setAutoDefault(false);
        loadPictures(s);
    }
    addButton(kIdOkButton, "OK", 220, 424, 100, 28)->setDefault(true);
    addButton(kIdCancelButton, "ｷｬﾝｾﾙ", 340, 424, 100, 28)->setAutoDefault(false);
    weaponList_ = addList(kIdWeaponList, 104, 45, 216, 320);
    terrainList_ = addList(kIdTerrainList, 76, 322, 118, kClientHeight - 322 - 4);
    for (QListWidget* l : {weaponList_, terrainList_}) {
        l->hide();
        QObject::connect(l, &QListWidget::itemClicked, l, [this, l](QListWidgetItem* item) {
            const int value = item->data(Qt::UserRole).toInt();
            hideLists();
            if (l == weaponList_)
                chooseWeapon(listSide_, value);
            else
                chooseTerrain(listSide_, value);
        });
    }
    updateSlotButtons();
    // Centred over the owner, unless a placement was kept.
    if (QWidget* w = handle()) {
        QRect area;
        if (owner && owner->handle())
            area = QRect(owner->handle()->mapToGlobal(QPoint(0, 0)), owner->handle()->size());
        else if (QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->geometry();
        if (area.isValid()) w->move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
    }
    restorePlacement(false, true);
    return 0;
}

CombatFigures CombatComparisonDialog::figures(int s) const {
    return computeFigures(db_, sides_[size_t(s & 1)], sides_[size_t((s + 1) & 1)]);
}

std::vector<int> CombatComparisonDialog::targetLeft(int s) const {
    const CombatSide& x = sides_[size_t(s & 1)];
    return membersLeft(db_, figures(s), x.slot >= 0, sides_[size_t((s + 1) & 1)].weaponId);
}

bool CombatComparisonDialog::slotUsable(int s, int slot) const {
    const CombatSide& x = sides_[size_t(s & 1)];
    const CombatSide& y = sides_[size_t((s + 1) & 1)];
    if (!db_.hasArmament(x.weaponId, slot)) return false;
    return db_.slotArmament(x.weaponId, slot).attackOn(db_.targetClass(y.weaponId)) > 0;
}

void CombatComparisonDialog::loadPictures(int s) {
    const WeaponRecord& w = db_.weapon(sides_[size_t(s)].weaponId);
    int kind = 0;
    pictures_[size_t(s)] =
        pictureOrNothing(unitPictureFile(w.id(), w.pictureNumber(), kind), DataKind::Unit);
    typeIcons_[size_t(s)] = QImage();
    const int icon = db_.weaponPicture(w.id(), true);
    const QRect cell((icon / 10) * kIconSheetCell, (icon % 10) * kIconSheetCell, kIconSheetCell,
                     kIconSheetCell);
    if (!iconSheet_.isNull() && iconSheet_.rect().contains(cell))
        typeIcons_[size_t(s)] = iconSheet_.copy(cell).scaled(
            kIconSize, kIconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void CombatComparisonDialog::updateSlotButtons() {
    for (int s = 0; s < 2; ++s) {
        for (int slot = 0; slot < kSlots; ++slot) {
            QPushButton* b = slotButtons_[size_t(s)][size_t(slot)];
            if (!b) continue;
            const bool selected = sides_[size_t(s)].slot == slot;
            b->setVisible(slotUsable(s, slot));
            b->setChecked(selected);
            b->setEnabled(!selected);
        }
    }
    if (canvas_) canvas_->update();
}

void CombatComparisonDialog::chooseWeapon(int s, int weaponId) {
    CombatSide& side = sides_[size_t(s & 1)];
    if (side.weaponId == weaponId) return;  // the same weapon keeps its slot
    side.weaponId = weaponId;
    side.slot = -1;
    loadPictures(s & 1);
    updateSlotButtons();
}

void CombatComparisonDialog::chooseTerrain(int s, int terrain) {
    sides_[size_t(s & 1)].terrain = terrain;
    if (canvas_) canvas_->update();
}

void CombatComparisonDialog::chooseSlot(int s, int slot) {
    if (slot < 0 || slot >= kSlots || !db_.hasArmament(sides_[size_t(s & 1)].weaponId, slot))
        return;
    sides_[size_t(s & 1)].slot = slot;
    updateSlotButtons();
}

void CombatComparisonDialog::hideLists() {
    if (weaponList_) weaponList_->hide();
    if (terrainList_) terrainList_->hide();
}

void CombatComparisonDialog::showWeaponList(int s) {
    hideLists();
    listSide_ = s;
    filling_ = true;
    weaponList_->clear();
    for (int id : comparisonWeapons(db_)) {
        auto* item = new QListWidgetItem(text(db_.weapon(id).name()), weaponList_);
        item->setData(Qt::UserRole, id);
        if (id == sides_[size_t(s)].weaponId) weaponList_->setCurrentItem(item);
    }
    filling_ = false;
    weaponList_->move(104 + kSideOffset * s, 45);
    weaponList_->show();
    weaponList_->raise();
    weaponList_->setFocus();
    if (weaponList_->currentItem()) weaponList_->scrollToItem(weaponList_->currentItem());
}

void CombatComparisonDialog::showTerrainList(int s) {
    hideLists();
    listSide_ = s;
    filling_ = true;
    terrainList_->clear();
    const std::vector<TerrainType>& types = db_.terrainTypes();
    for (size_t i = 0; i < types.size(); ++i) {
        const std::string name(types[i].name, strnlen(types[i].name, sizeof types[i].name));
        if (name.empty()) continue;
        auto* item = new QListWidgetItem(text(name), terrainList_);
        item->setData(Qt::UserRole, int(i));
        if (int(i) == sides_[size_t(s)].terrain) terrainList_->setCurrentItem(item);
    }
    filling_ = false;
    terrainList_->move(76 + kSideOffset * s, 322);
    terrainList_->show();
    terrainList_->raise();
    terrainList_->setFocus();
}

void CombatComparisonDialog::writeBack() const {
    for (int s = 0; s < 2; ++s)
        ProfileEntry("Environment", kWeaponKeys[s]).writeInt(sides_[size_t(s)].weaponId);
    savePlacement();
}

int CombatComparisonDialog::onCommand(MessageRecord& m, int id, int code) {
    if (id == kIdOk || id == kIdOkButton || id == kIdCancel || id == kIdCancelButton) {
        writeBack();
        const bool ok = id == kIdOk || id == kIdOkButton;
        return Dialog::onCommand(m, ok ? kIdOk : kIdCancel, code);
    }
    if (id >= kIdSlotA && id < kIdSlotA + 2 * kSlots) {
        hideLists();
        const int s = (id - kIdSlotA) / kSlots;
        chooseSlot(s, (id - kIdSlotA) % kSlots);
        return 1;
    }
    if (id == kIdWeaponDropA || id == kIdWeaponDropB) {
        showWeaponList(id - kIdWeaponDropA);
        return 1;
    }
    if (id == kIdTerrainDropA || id == kIdTerrainDropB) {
        showTerrainList(id - kIdTerrainDropA);
        return 1;
    }
    if (id == kIdWeaponList || id == kIdTerrainList) return 1;  // chosen by a click
    return Dialog::onCommand(m, id, code);
}

void CombatComparisonDialog::paint(QPainter& p) {
    p.fillRect(QRect(0, 0, kClientWidth, kClientHeight), QColor(24, 30, 40));
    if (!background_.isNull()) p.drawImage(0, 0, background_);
    p.setFont(canvas_ ? canvas_->font() : createFont(14, 400));
    for (int s = 0; s < 2; ++s) paintSide(p, s);
}

void CombatComparisonDialog::paintSide(QPainter& p, int s) {
    const CombatSide& x = sides_[size_t(s)];
    const CombatSide& y = sides_[size_t(1 - s)];
    const WeaponRecord& w = db_.weapon(x.weaponId);
    const CombatFigures f = figures(s);
    p.save();
    p.translate(kSideOffset * s, 0);

    if (!pictures_[size_t(s)].isNull())
        p.drawImage(QRect(28, 28, 80, 40), pictures_[size_t(s)],
                    QRect(QPoint(0, 0), pictures_[size_t(s)].size().boundedTo(QSize(80, 40))));
    const QFontMetrics metrics(p.font());
    const QString name = metrics.elidedText(text(w.name()), Qt::ElideRight, 208);
    draw(p, 108, 25, 316, 41, name, Qt::AlignLeft);
    draw(p, 108, 49, 316, 65, name, Qt::AlignLeft);
    draw(p, 44, 73, 172, 89, QString::fromUtf8(weaponTypeNames().utf8(w.weaponType())),
         Qt::AlignLeft);
    if (!typeIcons_[size_t(s)].isNull()) p.drawImage(24, 72, typeIcons_[size_t(s)]);

    // What the other side's fire leaves of this side's members.
    const std::vector<int> left = targetLeft(1 - s);
    for (size_t i = 0; i < left.size() && i < size_t(kMemberBoxes); ++i) {
        const int bx = 84 + 24 * int(i);
        draw(p, bx, 97, bx + 16, 113, format("%2d", left[i]), Qt::AlignRight);
    }

    const int targetClass = db_.targetClass(y.weaponId);
    for (int slot = 0; slot < kSlots; ++slot) {
        if (!db_.hasArmament(x.weaponId, slot)) continue;
        const ArmamentRecord& arm = db_.slotArmament(x.weaponId, slot);
        const int ry = 145 + 26 * slot;
        p.fillRect(QRect(76, ry - 1, 240, 18), kHighlight);
        draw(p, 80, ry, 208, ry + 16, metrics.elidedText(text(arm.nameText()), Qt::ElideRight, 128),
             Qt::AlignLeft, kLightBlue);
        draw(p, 224, ry, 240, ry + 16, format("%2d", arm.attackOn(targetClass)), Qt::AlignRight,
             kLightBlue);
        draw(p, 260, ry, 276, ry + 16, format("%2d", arm.power), Qt::AlignRight, kLightBlue);
        draw(p, 296, ry, 312, ry + 16, format("%2d", w.slotRounds(slot)), Qt::AlignRight,
             kLightBlue);
    }

    draw(p, 76, 277, 100, 293, format("%3d", f.power), Qt::AlignRight);
    draw(p, 184, 277, 200, 293, format("%2d", f.rounds), Qt::AlignRight);
    draw(p, 280, 277, 312, 293, QStringLiteral(" -"), Qt::AlignRight);
    const TerrainType& terrain = db_.terrain(size_t(std::max(0, x.terrain)));
    draw(p, 80, 304, 176, 320,
         text(std::string(terrain.name, strnlen(terrain.name, sizeof terrain.name))),
         Qt::AlignLeft);

    draw(p, 76, 344, 100, 360, format("%3d", f.effectiveAttack), Qt::AlignRight);
    draw(p, 116, 344, 148, 360, format("%4d", f.baseAttack), Qt::AlignRight);
    if (f.countermeasurePercent > 0)
        draw(p, 168, 344, 200, 360, format("-%2d%%", f.countermeasurePercent), Qt::AlignRight,
             kRed);
    else
        draw(p, 168, 344, 200, 360, QStringLiteral("  0"), Qt::AlignRight);
    draw(p, 224, 344, 256, 360, QStringLiteral(" --"), Qt::AlignRight);
    draw(p, 280, 344, 312, 360, QStringLiteral(" --"), Qt::AlignRight);

    draw(p, 76, 384, 100, 400, format("%3d", f.effectiveOwnDefence), Qt::AlignRight);
    draw(p, 116, 384, 148, 400, format("%4d", f.ownDefence), Qt::AlignRight);
    if (f.ownEvasion > 0)
        draw(p, 168, 384, 200, 400, format("+%2d%%", f.ownEvasion), Qt::AlignRight, kLightBlue);
    else
        draw(p, 168, 384, 200, 400, QStringLiteral("  0"), Qt::AlignRight);
    draw(p, 224, 384, 256, 400, QStringLiteral(" --"), Qt::AlignRight);
    draw(p, 280, 384, 312, 400, QStringLiteral(" --"), Qt::AlignRight);
    p.restore();
}

}  // namespace kv
