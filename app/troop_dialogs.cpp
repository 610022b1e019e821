// The chooser, the troop property dialog, the armament change and the hooks of the troop tools.
#include "app/troop_dialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>

#include <cstdio>
#include <utility>

#include "document/map_document.h"
#include "document/troop_capacity.h"
#include "document/troop_properties.h"
#include "framework/cp932.h"
#include "framework/prompter.h"
#include "view/map_view.h"

namespace kv {

namespace {

constexpr int kChooserWidth = 180, kChooserLine = 18;
// The chooser opens this far to the left of the cursor.
constexpr int kChooserLeftOfCursor = 130;
constexpr int kMaxExperienceDigits = 3;
// Weapon ids from here on are user-defined weapons a map brought along.
constexpr int kMapUserWeaponIds = 10000;

QString qt(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

void caution(const std::string& text) {
    showMessage("注意", text, PromptIcon::Exclamation);
}

// Holds the document's interaction flag while a troop window is open.
class BusyWhileOpen {
public:
    explicit BusyWhileOpen(MapDocument& doc) : doc_(doc) { doc_.tool.interactionBusy = 1; }
    ~BusyWhileOpen() { doc_.tool.interactionBusy = 0; }
    BusyWhileOpen(const BusyWhileOpen&) = delete;
    BusyWhileOpen& operator=(const BusyWhileOpen&) = delete;

private:
    MapDocument& doc_;
};

void showDetails(const MapDocument& doc, int table, int slot) {
    const TroopRecord* t = doc.troopAt(table, slot);
    if (!t) return;
    char text[256];
    std::snprintf(text, sizeof text,
                  "兵器：%s\n位置：[%3d,%3d]\n部隊数：%d\n経験値：%d\n登場ターン：%d",
                  decodeCp932Lossy(doc.gameDatabase.weapon(t->weaponId()).name()).c_str(), t->col(),
                  t->row(), t->unitCount(), t->experienceTimes10() / 10, t->appearanceTurn());
    showMessage(decodeCp932Lossy(t->name()), text, PromptIcon::Information);
}

}  // namespace

// --- chooser ---------------------------------------------------------------------------------

TroopChooser::TroopChooser(Window* owner, std::vector<TroopChooserEntry> entries,
                           QPoint globalTopLeft)
    : Dialog(kTemplateId, owner), entries_(std::move(entries)), at_(globalTopLeft) {
    title = "";
    setFixedClientSize(kChooserWidth, kChooserLine * int(entries_.size()) + 4);
}

int TroopChooser::onInitDialog() {
    QListWidget* list =
        addList(kIdList, 0, 0, kChooserWidth, kChooserLine * int(entries_.size()) + 4);
    list->setStyleSheet(
        "QListWidget { background: white; color: black; border: 1px solid black; }"
        "QListWidget::item:selected { background: black; color: white; }");
    for (const TroopChooserEntry& e : entries_) {
        auto* item = new QListWidgetItem(qt(e.text), list);
        item->setSizeHint(QSize(kChooserWidth, kChooserLine));
        if (e.kind == TroopChooserEntry::Heading) item->setFlags(Qt::NoItemFlags);
    }
    // As tall as its lines, whatever the font makes of them.
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int height = list->sizeHintForRow(0) * list->count() + 2 * list->frameWidth();
    list->setFixedHeight(height);
    if (dialog()) dialog()->setFixedSize(kChooserWidth, height);
    QObject::connect(list, &QListWidget::itemClicked,
                     [this, list](QListWidgetItem* item) { choose(list->row(item)); });
    QObject::connect(list, &QListWidget::itemActivated,
                     [this, list](QListWidgetItem* item) { choose(list->row(item)); });
    if (dialog()) dialog()->move(at_);
    return 0;
}

void TroopChooser::choose(int row) {
    if (row < 0 || row >= int(entries_.size()) ||
        entries_[size_t(row)].kind == TroopChooserEntry::Heading)
        return;
    chosen = row;
    result = kIdOk;
    end();
}

// --- property dialog ---------------------------------------------------------------------------

TroopPropertyDialog::TroopPropertyDialog(Window* owner, MapDocument& doc, int table, int slot)
    : Dialog(kTemplateId, owner), doc_(doc), table_(table), slot_(slot) {
    title = "部隊プロパティ";
    setClassName("PropartyTroop");
    setFixedClientSize(360, 290);
}

bool TroopPropertyDialog::reinforcement() const {
    const TroopRecord* t = doc_.troopAt(table_, slot_);
    return t && t->appearanceTurn() >= 2;
}

std::string TroopPropertyDialog::levelText(const QString& experience) {
    bool ok = false;
    const qlonglong v = experience.toLongLong(&ok);
    if (!ok || v < 0 || v > 250) return "Lv：－";
    return "Lv：" + std::to_string(v / 50);
}

int TroopPropertyDialog::onInitDialog() {
    filling_ = true;
    const TroopRecord& t = *doc_.troopAt(table_, slot_);
    const TroopProperties p = troopProperties(doc_, table_, slot_);
    addLabel("兵器名称：", 10, 12, 90, 20);
    addLabel(kIdWeapon, "", 100, 12, 250, 20)
        ->setText(qt(decodeCp932Lossy(doc_.gameDatabase.weapon(t.weaponId()).name())));
    addLabel("部隊名称：", 10, 40, 90, 20);
    addEdit(kIdName, 100, 38, 200, 22)->setText(qt(decodeCp932Lossy(p.name)));
    addLabel("経験値：", 10, 68, 90, 20);
    QLineEdit* exp = addEdit(kIdExperience, 100, 66, 60, 22);
    exp->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), exp));
    exp->setMaxLength(kMaxExperienceDigits);
    exp->setText(QString::number(p.experience));
    addLabel(kIdLevel, levelText(exp->text()).c_str(), 170, 68, 80, 20);
    addLabel("部隊数：", 10, 96, 90, 20);
    QComboBox* units = addCombo(kIdUnits, 100, 94, 60, 22);
    for (int n = 1; n <= TroopRecord::kUnitSlots; ++n) units->addItem(QString::number(n));
    units->setCurrentIndex(p.unitCount - 1);
    if (reinforcement()) {
        addLabel("増援ﾀｰﾝ：", 10, 124, 90, 20);
        addSpin(kIdTurn, 100, 122, 60, 22, 0, 999)->setValue(p.turn);
        addLabel("ﾀｰﾝに登場", 170, 124, 90, 20);
    }
    addLabel("勝敗条件：", 10, 152, 90, 20);
    addRadio(kIdNoCondition, "設定なし", 20, 172, 320, 20)->setChecked(p.condition == 0);
    addRadio(kIdTransport, "この部隊の輸送を成功条件に加える", 20, 192, 320, 20)
        ->setChecked(p.condition == 2);
    addLabel("輸送先の座標(x,y)：", 40, 214, 140, 20);
    addSpin(kIdDestCol, 180, 212, 60, 22, 0, 999)->setValue(p.destCol);
    addSpin(kIdDestRow, 250, 212, 60, 22, 0, 999)->setValue(p.destRow);
    addRadio(kIdAnnihilation, "この部隊の全滅を勝敗条件に加える", 20, 236, 320, 20)
        ->setChecked(p.condition == 5);
    addButton(kIdOk, "OK", 180, 260, 80, 24)->setDefault(true);
    addButton(kIdCancel, "ｷｬﾝｾﾙ", 270, 260, 80, 24);
    enableDestination();
    restorePlacement(false, false);
    filling_ = false;
    return 0;
}

void TroopPropertyDialog::enableDestination() {
    const bool on = control<QRadioButton>(kIdTransport)->isChecked();
    control<QSpinBox>(kIdDestCol)->setEnabled(on);
    control<QSpinBox>(kIdDestRow)->setEnabled(on);
}

int TroopPropertyDialog::onCommand(MessageRecord& m, int id, int code) {
    if (filling_) return 1;
    if (id == kIdNoCondition || id == kIdTransport || id == kIdAnnihilation) {
        enableDestination();
        return 1;
    }
    if (id == kIdExperience && code == TextChanged) {
        control<QLabel>(kIdLevel)->setText(
            qt(levelText(control<QLineEdit>(kIdExperience)->text())));
        return 1;
    }
    if (id == kIdTurn && code != Clicked) {
        QSpinBox* turn = control<QSpinBox>(kIdTurn);
        const int limit = doc_.mapHeader.turnLimit();
        if (limit != 0 && turn->value() > limit) {
            caution("ターン制限数を超えています。");
            turn->setValue(limit);
        }
        return 1;
    }
    if (id == kIdCancel) savePlacement();
    if (id != kIdOk) return Dialog::onCommand(m, id, code);

    TroopProperties p = troopProperties(doc_, table_, slot_);
    const QString shownName = control<QLineEdit>(kIdName)->text();
    // An untouched name keeps its stored bytes.
    if (shownName != qt(decodeCp932Lossy(p.name))) {
        const std::optional<std::string> bytes = encodeCp932(shownName.toStdString());
        if (!bytes) {
            caution("部隊名に使用できない文字が含まれています。");
            return 1;
        }
        p.name = cutToBytes(*bytes, kTroopNameBytes);
    }
    bool ok = false;
    const qlonglong exp = control<QLineEdit>(kIdExperience)->text().toLongLong(&ok);
    p.experience = !ok ? -1 : exp > 100000 ? 100000 : static_cast<int>(exp);
    p.unitCount = control<QComboBox>(kIdUnits)->currentIndex() + 1;
    if (QSpinBox* turn = control<QSpinBox>(kIdTurn)) p.turn = turn->value();
    p.condition = control<QRadioButton>(kIdTransport)->isChecked()      ? 2
                  : control<QRadioButton>(kIdAnnihilation)->isChecked() ? 5
                                                                        : 0;
    p.destCol = control<QSpinBox>(kIdDestCol)->value();
    p.destRow = control<QSpinBox>(kIdDestRow)->value();
    const std::string refusal = troopPropertiesRefusal(doc_, table_, slot_, p);
    if (!refusal.empty()) {
        caution(refusal);
        return 1;
    }
    // A troop of a weapon the map brought along is found again by its name when the map is
    // loaded: renamed, it would be dropped then.
    const TroopRecord& t = *doc_.troopAt(table_, slot_);
    if (t.weaponId() >= kMapUserWeaponIds && p.name != t.name() &&
        showMessage("確認",
                    "ユーザー定義兵器の部隊名を変更すると、次に読み込んだときに\n"
                    "この部隊は削除されます。よろしいですか？",
                    PromptIcon::Question, PromptButtons::YesNo) != PromptAnswer::Yes)
        return 1;
    applyTroopProperties(doc_, table_, slot_, p);
    savePlacement();
    result = kIdOk;
    end();
    return 1;
}

// --- armament change ----------------------------------------------------------------------------

ArmamentChangeDialog::ArmamentChangeDialog(Window* owner, const MapDocument& doc, int weaponId,
                                           int current)
    : Dialog(kTemplateId, owner), doc_(doc), weaponId_(weaponId), current_(current) {
    title = "武装交換";
    setClassName("ArmChange");
    setFixedClientSize(300, 40 + 30 * WeaponRecord::kGroupCount);
}

int ArmamentChangeDialog::onInitDialog() {
    const WeaponRecord& w = doc_.gameDatabase.weapon(weaponId_);
    int y = 10;
    for (int g = 0; g < WeaponRecord::kGroupCount; ++g) {
        if (!w.groupPresent(g)) continue;
        std::string text = "武装" + std::to_string(g + 1) + "：";
        for (int s = 0; s < WeaponRecord::kSlotCount; ++s)
            if (w.groupValue(g, s) != 0 && w.hasArmament(s))
                text += decodeCp932Lossy(w.slotShortName(s)) + " ";
        QPushButton* b = addButton(kIdFirstGroup + g, text.c_str(), 10, y, 280, 24);
        b->setCheckable(true);
        b->setChecked(g == current_);
        y += 30;
    }
    addButton(kIdCancel, "ｷｬﾝｾﾙ", 210, y + 4, 80, 24);
    restorePlacement(false, false);
    return 0;
}

int ArmamentChangeDialog::onCommand(MessageRecord& m, int id, int code) {
    if (id == kIdCancel) savePlacement();
    if (id >= kIdFirstGroup && id < kIdFirstGroup + WeaponRecord::kGroupCount) {
        savePlacement();
        group = id - kIdFirstGroup;
        result = kIdOk;
        end();
        return 1;
    }
    return Dialog::onCommand(m, id, code);
}

// --- hooks --------------------------------------------------------------------------------------

TroopToolHooks troopToolHooks(Window* owner, MapDocument& doc) {
    TroopToolHooks hooks;
    hooks.chooser = [owner, &doc](ToolHost& host, const ToolPoint& p, ChooserMode,
                                  const std::vector<TroopChooserEntry>& entries) {
        QPoint at(p.x - kChooserLeftOfCursor, p.y);
        if (auto* view = dynamic_cast<MapView*>(&host); view && view->handle())
            at = view->handle()->mapToGlobal(at);
        BusyWhileOpen busy(doc);
        TroopChooser chooser(owner, entries, at);
        chooser.run();
        return chooser.chosen;
    };
    hooks.troopCommand = [owner, &doc](ToolHost&, int table, int slot, int command) {
        BusyWhileOpen busy(doc);
        if (command == kTroopProperties) {
            TroopPropertyDialog dialog(owner, doc, table, slot);
            dialog.run();
        } else if (command == kTroopArmament) {
            const TroopRecord& t = *doc.troopAt(table, slot);
            ArmamentChangeDialog dialog(owner, doc, t.weaponId(), t.bytes[TroopRecord::kGroupAt]);
            dialog.run();
            if (dialog.result == kIdOk && dialog.group >= 0)
                changeArmament(doc, table, slot, dialog.group);
        } else if (command == kTroopDetails) {
            showDetails(doc, table, slot);
        }
    };
    return hooks;
}

}  // namespace kv
