// The product type editor and its list dialog.
#include "app/product_type_editor.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>

#include "app/text_fields.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "gamedata/game_database.h"

namespace kv {

namespace {

constexpr int kWarheadType = 34;
constexpr int kAllSlots = ProductTypeData::kStandardSlots + ProductTypeData::kUserSlots;
const char* const kFilter = "ユーザ定義生産タイプ(*.upd)";

bool isUserSlot(int slot) {
    return slot >= ProductTypeData::kStandardSlots && slot < kAllSlots;
}

FileDialogRequest updateFileRequest(FileDialogRequest::Kind kind) {
    FileDialogRequest r;
    r.kind = kind;
    r.title =
        kind == FileDialogRequest::Open ? "ユーザ定義生産タイプ読込" : "ユーザ定義生産タイプ書出";
    r.startFolder = readFolderKey("UserProductPath");
    r.filters = {{kFilter, "*.upd"}};
    r.defaultSuffix = "upd";
    return r;
}

}  // namespace

ProductTypeFigures productTypeFigures(const GameDatabase& db, const ProductType& record) {
    ProductTypeFigures f;
    for (int id = 0; id < ProductType::kMaxId; ++id) {
        if (!record.inAnyList(id)) continue;
        ++f.weapons;
        const WeaponRecord& w = db.weapon(id);
        f.price += static_cast<long long>(w.memberCount()) * w.value31();
    }
    return f;
}

// --- the editor ----------------------------------------------------------------------------

ProductTypeEditor::ProductTypeEditor(Window* ownerWindow, GameDatabase& db)
    : Dialog(kTemplateId, ownerWindow), db_(db) {
    title = "生産タイプ編集";
    setFixedClientSize(520, 420);
}

int ProductTypeEditor::onInitDialog() {
    auto* list = add<QTreeWidget>(kIdList, 10, 10, 400, 400);
    list->setHeaderLabels({QStringLiteral("番号"), QStringLiteral("生産タイプ名"),
                           QStringLiteral("兵器数"), QStringLiteral("総価格")});
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->header()->resizeSection(0, 44);
    list->header()->resizeSection(1, 180);
    list->header()->resizeSection(2, 60);
    list->header()->setStretchLastSection(true);
    QObject::connect(list, &QTreeWidget::currentItemChanged, list, [this] { updateButtons(); });
    QObject::connect(list, &QTreeWidget::itemActivated, list,
                     [this] { sendCommand(kIdEdit, Clicked); });
    const char* const captions[] = {"編集", "コピー", "削除", "読込", "書出", "閉じる"};
    for (int i = 0; i < 6; ++i)
        addButton(kIdEdit + i, captions[i], 420, i == 5 ? 384 : 10 + i * 34, 90, 26);
    refill();
    selectSlot(ProductTypeData::kStandardSlots);
    return 0;
}

void ProductTypeEditor::refill() {
    auto* list = control<QTreeWidget>(kIdList);
    if (!list) return;
    const int current = currentSlot();
    list->clear();
    for (int slot = 0; slot < kAllSlots; ++slot) {
        const ProductType& p = db_.productType(slot);
        // Every user slot can take a type; standard slots show only the types they hold.
        if (!isUserSlot(slot) && !p.isUsed()) continue;
        auto* item = new QTreeWidgetItem(list);
        item->setText(0, QString::number(slot));
        item->setData(0, Qt::UserRole, slot);
        if (!p.isUsed()) {
            item->setText(1, QStringLiteral("(未使用)"));
            continue;
        }
        const ProductTypeFigures f = productTypeFigures(db_, p);
        item->setText(1, textOfBytes(p.name()));
        item->setText(2, QString::number(f.weapons));
        item->setText(3, QString::number(f.price));
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    }
    selectSlot(current);
    updateButtons();
}

int ProductTypeEditor::currentSlot() const {
    auto* list = control<QTreeWidget>(kIdList);
    QTreeWidgetItem* item = list ? list->currentItem() : nullptr;
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

void ProductTypeEditor::selectSlot(int slot) {
    auto* list = control<QTreeWidget>(kIdList);
    if (!list) return;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->data(0, Qt::UserRole).toInt() == slot) {
            list->setCurrentItem(list->topLevelItem(i));
            list->scrollToItem(list->currentItem());
            return;
        }
}

void ProductTypeEditor::updateButtons() {
    const int slot = currentSlot();
    const bool used = slot >= 0 && db_.productType(slot).isUsed();
    // The game's own types are read here, never changed.
    auto enable = [this](int id, bool on) {
        if (auto* b = control<QPushButton>(id)) b->setEnabled(on);
    };
    enable(kIdEdit, isUserSlot(slot));
    enable(kIdCopy, used);
    enable(kIdDelete, used && isUserSlot(slot));
    enable(kIdImport, isUserSlot(slot));
    enable(kIdExport, used);
}

void ProductTypeEditor::editCurrent() {
    const int slot = currentSlot();
    if (!isUserSlot(slot)) return;
    ProductTypeEditDialog d(this, db_, db_.productType(slot));
    if (!d.run() || d.result != kIdOk) return;
    const ProductType before = db_.productType(slot);
    db_.setProductType(slot, d.record());
    if (!db_.saveUserProductTypes()) {
        db_.setProductType(slot, before);
        showMessage("警告", "productutype.dat に書き込めませんでした。", PromptIcon::Exclamation);
    }
    refill();
}

void ProductTypeEditor::copyCurrent() {
    const int source = currentSlot();
    if (source < 0 || !db_.productType(source).isUsed()) return;
    int destination = -1;
    for (int s = ProductTypeData::kStandardSlots; s < kAllSlots && destination < 0; ++s)
        if (!db_.productType(s).isUsed()) destination = s;
    if (destination < 0) {
        showMessage("注意", "ユーザ定義生産タイプに空きがありません。", PromptIcon::Exclamation);
        return;
    }
    db_.copyProductType(destination, source);
    refill();
    selectSlot(destination);
}

void ProductTypeEditor::deleteCurrent() {
    const int slot = currentSlot();
    if (!isUserSlot(slot) || !db_.productType(slot).isUsed()) return;
    const std::string question = "生産タイプ「" +
                                 textOfBytes(db_.productType(slot).name()).toStdString() +
                                 "」を削除しますか？";
    if (showMessage("確認", question, PromptIcon::Question, PromptButtons::YesNo) !=
        PromptAnswer::Yes)
        return;
    db_.clearProductType(slot);
    refill();
}

void ProductTypeEditor::importIntoCurrent() {
    const int slot = currentSlot();
    if (!isUserSlot(slot)) return;
    if (db_.productType(slot).isUsed() &&
        showMessage("確認", "既存の生産タイプに上書きしますか？", PromptIcon::Question,
                    PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    FileDialogRequest request = updateFileRequest(FileDialogRequest::Open);
    const std::optional<std::string> path = askForFile(request, this);
    if (!path) return;
    const int result = db_.importUpdateFile(*path, slot);
    if (result == 1) {
        if (!db_.saveUserProductTypes())
            showMessage("警告", "productutype.dat に書き込めませんでした。",
                        PromptIcon::Exclamation);
    } else if (result == 0) {
        showMessage("警告", "選択されたファイルはユーザ定義生産タイプデータではありません。",
                    PromptIcon::Exclamation);
    }
    refill();
}

void ProductTypeEditor::exportCurrent() {
    const int slot = currentSlot();
    if (slot < 0 || !db_.productType(slot).isUsed()) return;
    FileDialogRequest request = updateFileRequest(FileDialogRequest::Save);
    const std::optional<std::string> path = askForFile(request, this);
    if (!path) return;
    if (!db_.exportUpdateFile(*path, slot))
        showMessage("警告", "ファイルに書き込めませんでした。", PromptIcon::Exclamation);
}

int ProductTypeEditor::onCommand(MessageRecord& m, int id, int code) {
    if (code != Clicked) return Dialog::onCommand(m, id, code);
    switch (id) {
        case kIdEdit: editCurrent(); return 1;
        case kIdCopy: copyCurrent(); return 1;
        case kIdDelete: deleteCurrent(); return 1;
        case kIdImport: importIntoCurrent(); return 1;
        case kIdExport: exportCurrent(); return 1;
        case kIdClose:
            result = kIdCancel;
            end();
            return 1;
        default: return Dialog::onCommand(m, id, code);
    }
}

// --- the list dialog -----------------------------------------------------------------------

ProductTypeEditDialog::ProductTypeEditDialog(Window* ownerWindow, const GameDatabase& db,
                                             const ProductType& record)
    : Dialog(kTemplateId, ownerWindow), db_(db), record_(record) {
    title = "生産タイプ";
    setFixedClientSize(660, 460);
}

int ProductTypeEditDialog::onInitDialog() {
    addLabel("生産タイプ名", 10, 12, 90, 20);
    limitToBytes(addEdit(kIdName, 100, 10, 260, 22), ProductType::kNameSize - 1);
    const char* const headings[] = {"航空兵器", "陸上兵器", "艦船"};
    for (int l = 0; l < 3; ++l) {
        addLabel(headings[l], 10 + l * 216, 42, 200, 18);
        fillList(add<QListWidget>(kIdAir + l, 10 + l * 216, 62, 208, 350), l);
    }
    addLabel(kIdTotal, "", 10, 424, 360, 20);
    addButton(kIdOk, "OK", 460, 420, 90, 28)->setDefault(true);
    addButton(kIdCancel, "ｷｬﾝｾﾙ", 560, 420, 90, 28);
    exchangeData(false);
    showTotal();
    return 0;
}

void ProductTypeEditDialog::fillList(QListWidget* list, int which) {
    filling_ = true;
    const auto listKind = static_cast<ProductType::List>(which);
    for (const WeaponRecord& w : db_.weapons()) {
        const int id = w.id();
        const bool fits = w.selectable() && w.weaponType() != kWarheadType &&
                          productionList(w.layer(), w.weaponType()) == listKind;
        // A weapon already in the list stays visible, so it can be taken out.
        if (!fits && !record_.has(listKind, id)) continue;
        auto* item = new QListWidgetItem(textOfBytes(w.name()), list);
        item->setData(Qt::UserRole, id);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(record_.has(listKind, id) ? Qt::Checked : Qt::Unchecked);
    }
    QObject::connect(list, &QListWidget::itemChanged, list, [this, listKind](QListWidgetItem* i) {
        if (filling_) return;
        record_.set(listKind, i->data(Qt::UserRole).toInt(), i->checkState() == Qt::Checked);
        showTotal();
    });
    filling_ = false;
}

void ProductTypeEditDialog::showTotal() {
    const ProductTypeFigures f = productTypeFigures(db_, record_);
    if (auto* l = control<QLabel>(kIdTotal))
        l->setText(QStringLiteral("兵器数 %1   総価格 %2").arg(f.weapons).arg(f.price));
}

void ProductTypeEditDialog::exchangeData(bool toObject) {
    auto* edit = control<QLineEdit>(kIdName);
    if (!edit) return;
    if (!toObject) {
        edit->setText(textOfBytes(record_.name()));
        return;
    }
    if (edit->text() == textOfBytes(record_.name())) return;  // unchanged: keep the bytes
    if (const std::optional<std::string> bytes = bytesOfText(edit->text())) record_.setName(*bytes);
}

int ProductTypeEditDialog::onCommand(MessageRecord& m, int id, int code) {
    if (id == kIdOk && code == Clicked) {
        auto* edit = control<QLineEdit>(kIdName);
        if (edit && edit->text().trimmed().isEmpty()) {
            showMessage("注意", "生産タイプ名を入力してください。", PromptIcon::Exclamation);
            return 1;
        }
        if (edit && !bytesOfText(edit->text())) {
            showMessage("注意", "生産タイプ名に使えない文字が含まれています。",
                        PromptIcon::Exclamation);
            return 1;
        }
    }
    return Dialog::onCommand(m, id, code);
}

}  // namespace kv
