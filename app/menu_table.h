// The main frame's menu bar as data: every item's caption and command id, which items carry a
// check mark, with the separators and sub-menus in their places.
#pragma once

#include <string>
#include <vector>

namespace kv {

struct MenuEntry {
    enum Kind { Item, Separator, SubMenu } kind = Item;
    int id = 0;               // command id of an item
    std::string caption;      // UTF-8; "\t" precedes the shortcut text
    bool checkable = false;   // carries a check mark (radio choices, flags, window toggles)
    std::vector<MenuEntry> children;  // entries of a sub-menu
};

// The six top-level menus: ﾌｧｲﾙ, 編集, ｳｨﾝﾄﾞｳ, 表示, ﾂｰﾙ, ﾍﾙﾌﾟ.
const std::vector<MenuEntry>& menuBarTable();

// The item removed from the Window menu when the main frame is created.
constexpr int kRemovedMenuItem = 40097;

}  // namespace kv
