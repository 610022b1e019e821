// The rule editor.
#include "app/rule_editor.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <cstdio>

#include "app/rule_dialog.h"
#include "app/text_fields.h"
#include "framework/errors.h"

namespace kv {

void stampRuleSet(RuleSet& set, std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char date[32], time[32];
    std::snprintf(date, sizeof date, "%04d/%02d/%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    set.date = date;
    set.time = time;
}

RuleEditorDialog::RuleEditorDialog(Window* ownerWindow, RuleData& rules)
    : Dialog(kTemplateId, ownerWindow), rules_(rules) {
    title = "ルール作成";
    setFixedClientSize(420, 400);
}

int RuleEditorDialog::onInitDialog() {
    auto* list = add<QTreeWidget>(kIdList, 10, 10, 400, 340);
    list->setColumnCount(3);
    list->setHeaderLabels(
        {QStringLiteral("ルール名"), QStringLiteral("日付"), QStringLiteral("時刻")});
    list->setRootIsDecorated(false);
    list->header()->resizeSection(0, 190);
    list->header()->resizeSection(1, 100);
    QObject::connect(list, &QTreeWidget::itemActivated, list,
                     [this] { sendCommand(kIdEdit, Clicked); });
    addButton(kIdEdit, "編集", 230, 362, 84, 26)->setDefault(true);
    addButton(kIdClose, "閉じる", 326, 362, 84, 26);
    refill();
    if (list->topLevelItemCount() > 0) list->setCurrentItem(list->topLevelItem(0));
    return 0;
}

void RuleEditorDialog::refill() {
    auto* list = control<QTreeWidget>(kIdList);
    if (!list) return;
    const int current = list->indexOfTopLevelItem(list->currentItem());
    list->clear();
    const std::vector<RuleSet>& sets = rules_.ruleSets();
    for (size_t n = kFirstUserSet; n < sets.size(); ++n) {
        auto* item = new QTreeWidgetItem(list);
        QString name = textOfBytes(sets[n].name);
        if (name.isEmpty()) name = QString::asprintf("(%zu)", n);
        item->setText(0, name);
        item->setText(1, textOfBytes(sets[n].date));
        item->setText(2, textOfBytes(sets[n].time));
        item->setData(0, Qt::UserRole, static_cast<int>(n));
    }
    if (current >= 0 && current < list->topLevelItemCount())
        list->setCurrentItem(list->topLevelItem(current));
}

bool RuleEditorDialog::editRuleSet(size_t n) {
    if (n < kFirstUserSet || n >= rules_.ruleSets().size()) return false;
    const RuleSet before = rules_.ruleSets()[n];
    RuleSettingsDialog d(this, rules_, before, RuleSettingsDialog::EditRuleSet);
    if (!d.run() || d.result != kIdOk) return false;
    RuleSet* stored = rules_.ruleSet(ruleIdOfFile(n));
    if (!stored) return false;
    RuleSet edited = d.ruleSet();
    edited.ruleId = before.ruleId;
    stampRuleSet(edited, now());
    *stored = edited;
    try {
        rules_.saveRuleSet(n);
    } catch (const swCError& e) {
        // The file kept what it had; so does the table, so that what the scenario dialogs
        // offer is what the game folder holds.
        *rules_.ruleSet(ruleIdOfFile(n)) = before;
        e.report(this);
        refill();
        return false;
    }
    refill();
    return true;
}

int RuleEditorDialog::onCommand(MessageRecord& m, int id, int code) {
    if (id == kIdEdit) {
        auto* list = control<QTreeWidget>(kIdList);
        if (QTreeWidgetItem* item = list ? list->currentItem() : nullptr)
            editRuleSet(size_t(item->data(0, Qt::UserRole).toInt()));
        return 1;
    }
    if (id == kIdClose) {
        result = 0;
        end();
        return 1;
    }
    return Dialog::onCommand(m, id, code);
}

}  // namespace kv
