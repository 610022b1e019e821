// A tree of texts with a number kept per item, over the platform's tree control.
#pragma once

#include <QTreeWidget>

#include <cstdint>

#include "framework/window.h"

namespace kv {

class TreeView : public ChildControl {
public:
    using Item = QTreeWidgetItem*;
    // insertItem's `insertAfter`: at the front or the end of the parent's children.
    static inline const Item kFirst = reinterpret_cast<Item>(intptr_t(-1));
    static constexpr Item kLast = nullptr;

    TreeView(Window* parentWindow, int id);

    // Adds an item (text UTF-8) under `parent` (null: a top-level item) after `insertAfter`
    // (kFirst, kLast or one of the parent's children; any other item counts as kLast).
    Item insertItem(const std::string& text, Item parent, Item insertAfter, intptr_t data);
    intptr_t itemData(Item item) const;
    void setItemData(Item item, intptr_t data);
    void setItemText(Item item, const std::string& text);
    QTreeWidget* tree() const { return qobject_cast<QTreeWidget*>(handle()); }
};

}  // namespace kv
