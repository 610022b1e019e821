// The label dialog and the label lists.
#include "app/label_dialog.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include <cstdio>

#include "app/main_frame.h"
#include "document/label_edit.h"
#include "document/map_document.h"
#include "framework/cp932.h"
#include "framework/prompter.h"
#include "view/hex_painter.h"
#include "view/label_tool.h"
#include "view/map_view.h"
#include "view/window_messages.h"

namespace kv {

LabelDialog::LabelDialog(Window* owner, MapDocument& doc, HexPos hex)
    : Dialog(0, owner), doc_(doc), hex_(hex) {
    title = "ラベル";
    setFixedClientSize(300, 128);
    focusControlId = kIdName;
}

int LabelDialog::onInitDialog() {
    char position[32];
    std::snprintf(position, sizeof position, "[%d,%d]", hex_.col, hex_.row);
    addLabel(kIdPosition, position, 10, 8, 120, 18);
    addLabel("ラベル名", 10, 32, 70, 20);
    addEdit(kIdName, 80, 30, 210, 22);
    addCheck(kIdVictory, "勝敗条件ラベルとする", 10, 58, 200, 20);
    addCheck(kIdProgress, "進行目標とする", 10, 78, 200, 20);
    addButton(kIdOk, "OK", 120, 100, 80, 24)->setDefault(true);
    addButton(kIdCancel, "ｷｬﾝｾﾙ", 210, 100, 80, 24);
    return 0;
}

void LabelDialog::exchangeData(bool toObject) {
    auto* edit = control<QLineEdit>(kIdName);
    auto* v = control<QCheckBox>(kIdVictory);
    auto* p = control<QCheckBox>(kIdProgress);
    if (!edit || !v || !p) return;
    if (!toObject) {
        const TerrainLabel* label = doc_.labelAt(hex_.col, hex_.row);
        shownText_ = label ? decodeCp932Lossy(label->textString()) : std::string();
        edit->setText(QString::fromStdString(shownText_));
        v->setChecked(label && label->kind != 0);
        p->setChecked(label && label->value == 1);
        return;
    }
    victory = v->isChecked();
    progress = p->isChecked();
}

int LabelDialog::onCommand(MessageRecord& m, int id, int code) {
    auto* edit = control<QLineEdit>(kIdName);
    if (id == kIdName && code == TextChanged && edit) {
        // The field holds 33 bytes: a longer name is cut at a character boundary.
        const std::optional<std::string> bytes = encodeCp932(edit->text().toStdString());
        if (bytes && bytes->size() > kMaxNameBytes) {
            const QSignalBlocker block(edit);
            edit->setText(QString::fromStdString(
                decodeCp932(cutToBytes(*bytes, kMaxNameBytes)).value_or(std::string())));
        }
        return 1;
    }
    if (id == kIdOk && edit) {
        const std::string utf8 = edit->text().toStdString();
        if (utf8 == shownText_) {
            // Unchanged: the stored bytes stay as they are, even ones that do not decode.
            const TerrainLabel* label = doc_.labelAt(hex_.col, hex_.row);
            text = label ? label->textString() : std::string();
        } else {
            const std::optional<std::string> bytes = encodeCp932(utf8);
            if (!bytes) {
                showMessage("注意", "ラベル名に使えない文字が含まれています。",
                            PromptIcon::Exclamation, PromptButtons::Ok, this);
                return 1;
            }
            text = cutToBytes(*bytes, kMaxNameBytes);
        }
    }
    return Dialog::onCommand(m, id, code);
}

void runLabelDialog(Window* owner, MapDocument& doc, HexPos hex) {
    LabelDialog d(owner, doc, hex);
    if (!d.run() || d.result != kIdOk) return;
    if (applyLabelEdit(doc, hex, d.text, d.victory, d.progress) == LabelEdit::Refused)
        showMessage(kLabelLimitCaption, kLabelLimitText, PromptIcon::Exclamation);
}

// --- the label lists ---------------------------------------------------------------------

LabelList::LabelList(MainFrame& frame, bool troops)
    : PaletteWindow(frame, troops ? ToolKind::TroopLabelList : ToolKind::TerrainLabelList,
                    troops ? kTroopClassName : kTerrainClassName,
                    troops ? "部隊ラベル一覧" : "地形ラベル一覧", 300, 360),
      troops_(troops) {
    resizable_ = true;
}

int LabelList::onInitDialog() {
    addLabel(kIdCount, "", 6, 4, 200, 18);
    list_ = add<QTreeWidget>(kIdList, 4, 24, 292, 332);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setStyleSheet(QStringLiteral("QTreeView::item { height: 18px; }"));
    list_->setHeaderLabels(troops_ ? QStringList{"座標", "部隊名", "陣営"}
                                   : QStringList{"座標", "ラベル名", "種類"});
    list_->setSortingEnabled(true);  // the header's buttons sort by their column
    list_->sortByColumn(0, Qt::AscendingOrder);
    list_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    QObject::connect(list_, &QTreeWidget::itemClicked, list_,
                     [this](QTreeWidgetItem* item) { choose(list_->indexOfTopLevelItem(item)); });
    return 0;
}

void LabelList::refresh() {
    if (!list_) return;
    list_->setSortingEnabled(false);
    list_->clear();
    auto add = [this](int col, int row, const std::string& text, const std::string& marker) {
        char at[16];
        std::snprintf(at, sizeof at, "%3d,%3d", col, row);
        auto* item = new QTreeWidgetItem({QString::fromLatin1(at), QString::fromStdString(text),
                                          QString::fromStdString(marker)});
        item->setData(0, Qt::UserRole, col);
        item->setData(0, Qt::UserRole + 1, row);
        list_->addTopLevelItem(item);
    };
    int count = 0, limit = MapGrid::kMaxLabels;
    if (troops_) {
        limit = kFactionCount * TroopTable::kSlots;
        for (int t = 0; t < kFactionCount; ++t)
            for (int s = 0; s < doc_.troops.usedSlots(t); ++s) {
                const TroopRecord* troop = doc_.troopAt(t, s);
                if (!troop || !troop->inUse() || victoryFlags(*troop) == 0) continue;
                add(troop->col(), troop->row(), decodeCp932Lossy(troop->name()),
                    decodeCp932Lossy(doc_.factions[size_t(t)].name()));
                ++count;
            }
    } else {
        for (const TerrainLabel& l : doc_.mapGrid.labels) {
            if (!l.inUse()) continue;
            add(l.col, l.row, decodeCp932Lossy(l.textString()), l.kind != 0 ? "勝敗条件" : "");
            ++count;
        }
    }
    list_->setSortingEnabled(true);
    char header[48];
    std::snprintf(header, sizeof header, "ラベル数 %4d/%4d", count, limit);
    if (auto* l = control<QLabel>(kIdCount)) l->setText(QString::fromUtf8(header));
}

void LabelList::choose(int index) {
    QTreeWidgetItem* item = list_ ? list_->topLevelItem(index) : nullptr;
    if (!item) return;
    const int col = item->data(0, Qt::UserRole).toInt(),
              row = item->data(0, Qt::UserRole + 1).toInt();
    list_->setCurrentItem(item);
    postMessage(frame_.mapView(), viewmsg::ScrollTo,
                uintptr_t((col & 0xFFFF) | (row & 0xFFFF) << 16));
    postMessage(frame_.mapView(), viewmsg::FlashHex, uintptr_t(col), row);
}

int LabelList::onMessage(MessageRecord& m) {
    if (m.message == labellistmsg::Redraw) {
        refresh();
        return 1;
    }
    return PaletteWindow::onMessage(m);
}

void installLabelEditing(MainFrame& frame) {
    if (!frame.mapView()) return;
    installLabelTool(frame.mapView()->tools(), {[&frame](ToolHost&, HexPos hex) {
                         runLabelDialog(&frame, frame.document(), hex);
                     }});
}

}  // namespace kv
