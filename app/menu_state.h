// The menus' greying, check and radio rules as one function of the editor's state, applied
// whenever a menu is about to open.
#pragma once

#include <map>
#include <set>
#include <string>

#include "app/command_ids.h"

namespace kv {

struct MenuInputs {
    bool documentOpen = false;
    bool interactionBusy = false;
    bool areaSelectActive = false;
    bool isClean = true;
    std::string filePath;
    bool fileExists = false;  // a file exists at filePath
    bool clipboardHasBitmap = false;
    bool underlayLoaded = false;  // an underlay picture with positive width and height
    bool canUndo = false;
    bool canRedo = false;
    bool scenarioHasEnding = false;
    bool penChoiceOffered = true;  // the terrain palette's selection offers single/mega
    int editMode = 0;              // kEditTerrain...
    int drawKind = 0;              // kDrawPen...
    int penKind = 0;
    int troopDrawKind = 0;
    int mapDrawMethod = 1;
    int hexSize = 32;
    bool showHexFrame = false, showTroops = false, showTerrainLabels = false,
         showVictoryLabels = false, showBorderlines = false;
    int showUnitIcon = 1;
    std::set<int> openWindows;  // toggle command ids whose windows are open
};

struct ItemState {
    bool enabled = true;
    bool checked = false;
    bool operator==(const ItemState&) const = default;
};

struct MenuState {
    std::map<int, ItemState> items;  // by command id
    // The sub-menus greyed as a whole: the tool menu's four.
    std::map<cmd::Menu, bool> menusEnabled;
};

// The Save command's rule: idle, changed, a path that still names a file, ending in "kvt".
bool saveIntermediateEnabled(const MenuInputs& in);

MenuState computeMenuState(const MenuInputs& in);

}  // namespace kv
