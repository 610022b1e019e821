// The tree control wrapper.
#include "framework/tree_view.h"

#include <QHeaderView>

namespace kv {

namespace {
constexpr int kDataRole = Qt::UserRole + 1;
}

TreeView::TreeView(Window* parentWindow, int id)
    : ChildControl("SysTreeView32", parentWindow, id, [](QWidget* parentWidget) -> QWidget* {
          auto* t = new FrameworkWidget<QTreeWidget>(parentWidget);
          t->setHeaderHidden(true);
          t->setColumnCount(1);
          return t;
      }) {}

TreeView::Item TreeView::insertItem(const std::string& text, Item parent, Item insertAfter,
                                    intptr_t data) {
    QTreeWidget* t = tree();
    if (!t) return nullptr;
    auto* item = new QTreeWidgetItem(QStringList(QString::fromStdString(text)));
    item->setData(0, kDataRole, QVariant::fromValue<qlonglong>(data));
    const int count = parent ? parent->childCount() : t->topLevelItemCount();
    int at = count;
    if (insertAfter == kFirst) {
        at = 0;
    } else if (insertAfter) {
        const int i =
            parent ? parent->indexOfChild(insertAfter) : t->indexOfTopLevelItem(insertAfter);
        if (i >= 0) at = i + 1;
    }
    if (parent) {
        parent->insertChild(at, item);
    } else {
        t->insertTopLevelItem(at, item);
    }
    return item;
}

intptr_t TreeView::itemData(Item item) const {
    return item ? static_cast<intptr_t>(item->data(0, kDataRole).toLongLong()) : 0;
}

void TreeView::setItemData(Item item, intptr_t data) {
    if (item) item->setData(0, kDataRole, QVariant::fromValue<qlonglong>(data));
}

void TreeView::setItemText(Item item, const std::string& text) {
    if (item) item->setText(0, QString::fromStdString(text));
}

}  // namespace kv
