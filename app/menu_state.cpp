// The menus' greying, check and radio rules.
#include "app/menu_state.h"

#include <initializer_list>
#include <utility>

namespace kv {

namespace {

bool idle(const MenuInputs& in) { return in.documentOpen && !in.interactionBusy; }

void radio(MenuState& s, std::initializer_list<std::pair<int, int>> idByValue, int value) {
    for (const auto& [id, v] : idByValue) s.items[id].checked = v == value;
}

void fileMenu(const MenuInputs& in, MenuState& s) {
    const bool i = idle(in);
    s.items[40008].enabled = true;
    for (int id : {40007, 40012, 40048, 40043, 40014, 40025, 40093, 40072, 40073, 40084, 40054,
                   40063})
        s.items[id].enabled = i;
    s.items[40053].enabled = i && in.clipboardHasBitmap;
    s.items[40085].enabled = i && in.underlayLoaded;
    s.items[40013].enabled = saveIntermediateEnabled(in);
}

void editMenu(const MenuInputs& in, MenuState& s) {
    const bool i = idle(in);
    s.items[40026].enabled = i && in.canUndo;
    s.items[40027].enabled = i && in.canRedo;
    for (int id : {40044, 40066, 40083, 40028, 40034, 40070, 40071, 40103}) s.items[id].enabled = i;
    s.items[40074].enabled = i && in.scenarioHasEnding;
    for (int id : {40055, 40056, 40057, 40095}) {
        s.items[id].enabled = i && !in.areaSelectActive;
        s.items[id].checked = false;
    }
    if (i) radio(s, {{40055, 0}, {40056, 1}, {40057, 3}, {40095, 4}}, in.editMode);
}

void windowMenu(const MenuInputs& in, MenuState& s) {
    for (int id : {40031, 40022, 40032, 40058, 40096, 40030, 40059, 40060, 40067, 40077, 40003,
                   40052, 40081, 40061})
        s.items[id].checked = in.openWindows.count(id) > 0;
    s.items[40032].enabled = in.editMode == 0;
    s.items[40058].enabled = in.editMode == 1 || in.editMode == 2;
    s.items[40096].enabled = in.editMode == 4;
}

void viewMenu(const MenuInputs& in, MenuState& s) {
    for (int id : {40091, 40009, 40011, 40010, 40068, 40069, 40076, 40094})
        s.items[id].enabled = in.documentOpen;
    if (in.documentOpen) {
        s.items[40091].checked = in.hexSize >= 48;
        s.items[40009].checked = in.hexSize >= 32 && in.hexSize < 48;
        s.items[40011].checked = in.hexSize < 32;
        s.items[40010].checked = in.showHexFrame;
        s.items[40068].checked = in.showTroops;
        s.items[40069].checked = in.showTerrainLabels;
        s.items[40076].checked = in.showVictoryLabels;
        s.items[40094].checked = in.showBorderlines;
    }
    radio(s, {{40098, 1}, {40099, 0}}, in.showUnitIcon);
}

void toolMenu(const MenuInputs& in, MenuState& s) {
    radio(s, {{40035, 0}, {40036, 1}, {40037, 2}, {40045, 5}, {40038, 3}, {40039, 4}}, in.drawKind);
    s.items[40038].enabled = in.editMode == 0;
    s.items[40039].enabled = in.editMode != 4;
    radio(s, {{40041, 0}, {40042, 1}}, in.penKind);
    const bool penGreyed =
        in.editMode == 4 || (in.editMode == 0 && in.drawKind != 3 && !in.penChoiceOffered);
    s.items[40041].enabled = s.items[40042].enabled = !penGreyed;
    radio(s, {{40078, 0}, {40079, 1}, {40080, 2}}, in.troopDrawKind);
    for (int id : {40078, 40079, 40080}) s.items[id].enabled = !in.interactionBusy;
    radio(s, {{40049, 0}, {40050, 1}, {40051, 2}}, in.mapDrawMethod);

    const bool terrainOrBorder = (in.editMode == 0 || in.editMode == 4) && !in.areaSelectActive;
    s.toolSubMenuEnabled[0] = terrainOrBorder;
    s.toolSubMenuEnabled[1] = terrainOrBorder;
    s.toolSubMenuEnabled[2] = !in.interactionBusy && (in.editMode == 1 || in.editMode == 2);
    s.toolSubMenuEnabled[3] = in.editMode == 0;
}

}  // namespace

bool saveIntermediateEnabled(const MenuInputs& in) {
    const std::string& p = in.filePath;
    return idle(in) && !in.isClean && !p.empty() && in.fileExists && p.size() >= 3 &&
           p.compare(p.size() - 3, 3, "kvt") == 0;
}

MenuState computeMenuState(const MenuInputs& in) {
    MenuState s;
    fileMenu(in, s);
    editMenu(in, s);
    windowMenu(in, s);
    viewMenu(in, s);
    toolMenu(in, s);
    return s;
}

}  // namespace kv
