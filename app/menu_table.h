// The main frame's menu bar as data: every item's caption and command id, which items carry a
// check mark, with the separators and sub-menus in their places.
#pragma once

#include <string>
#include <vector>

#include "app/command_ids.h"

namespace kv {

struct MenuEntry {
    enum Kind { Item, Separator, SubMenu } kind = Item;
    int id = 0;              // command id of an item
    std::string caption;     // UTF-8; "\t" precedes the shortcut text, which is also the key
    bool checkable = false;  // carries a check mark (radio choices, flags, window toggles)
    cmd::Menu menu = cmd::Menu::File;  // which menu a sub-menu is
    std::vector<MenuEntry> children;   // entries of a sub-menu
};

// The six top-level menus: ﾌｧｲﾙ, 編集, ｳｨﾝﾄﾞｳ, 表示, ﾂｰﾙ, ﾍﾙﾌﾟ.
const std::vector<MenuEntry>& menuBarTable();

// The items with a keyboard shortcut, which their caption shows after the tab ("Ctrl+N").
struct MenuShortcut {
    int id;
    std::string key;
};
std::vector<MenuShortcut> menuShortcuts();

}  // namespace kv
