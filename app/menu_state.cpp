// The menus' greying, check and radio rules.
#include "app/menu_state.h"

#include <initializer_list>
#include <utility>

#include "document/map_document.h"
#include "view/map_renderer.h"

namespace kv {

namespace {

bool idle(const MenuInputs& in) {
    return in.documentOpen && !in.interactionBusy;
}

void radio(MenuState& s, std::initializer_list<std::pair<int, int>> idByValue, int value) {
    for (const auto& [id, v] : idByValue) s.items[id].checked = v == value;
}

void fileMenu(const MenuInputs& in, MenuState& s) {
    const bool i = idle(in);
    s.items[cmd::Exit].enabled = true;
    for (int id :
         {cmd::NewMap, cmd::OpenMap, cmd::OpenUnderlay, cmd::OpenEarlierEdition,
          cmd::SaveIntermediateAs, cmd::SaveNormalMap, cmd::SaveScenarioMap, cmd::NewCampaign,
          cmd::EditCampaign, cmd::ExportBitmap, cmd::EditRules, cmd::EditProductTypes})
        s.items[id].enabled = i;
    s.items[cmd::PasteUnderlay].enabled = i && in.clipboardHasBitmap;
    s.items[cmd::MoveUnderlay].enabled = i && in.underlayLoaded;
    s.items[cmd::SaveIntermediate].enabled = saveIntermediateEnabled(in);
}

void editMenu(const MenuInputs& in, MenuState& s) {
    const bool i = idle(in);
    s.items[cmd::Undo].enabled = i && in.canUndo;
    s.items[cmd::Redo].enabled = i && in.canRedo;
    for (int id :
         {cmd::MapSize, cmd::PackTroopNumbers, cmd::ExchangeFactionColours, cmd::MapSettings,
          cmd::MapCheck, cmd::ScenarioSettings, cmd::BriefingPreview, cmd::CombatComparison})
        s.items[id].enabled = i;
    s.items[cmd::EndingPreview].enabled = i && in.scenarioHasEnding;
    for (int id : {cmd::TerrainMode, cmd::TroopMode, cmd::LabelMode, cmd::BorderMode}) {
        s.items[id].enabled = i && !in.areaSelectActive;
        s.items[id].checked = false;
    }
    if (i)
        radio(s,
              {{cmd::TerrainMode, kEditTerrain},
               {cmd::TroopMode, kEditTroops},
               {cmd::LabelMode, kEditLabels},
               {cmd::BorderMode, kEditBorderlines}},
              in.editMode);
}

void windowMenu(const MenuInputs& in, MenuState& s) {
    for (int id : {cmd::ToolWindow, cmd::HqMap, cmd::TerrainPalette, cmd::TroopPalette,
                   cmd::BorderPalette, cmd::MinePalette, cmd::BuildingCount, cmd::TroopTable,
                   cmd::WeaponList, cmd::TerrainLabelList, cmd::TroopLabelList, cmd::TerrainInfo,
                   cmd::TerrainMoveTable, cmd::TerrainAvoidTable, cmd::TransportableTerrain,
                   cmd::UndoHistoryWindow, cmd::ProblemsPanel})
        s.items[id].checked = in.openWindows.count(id) > 0;
    s.items[cmd::TerrainPalette].enabled = in.editMode == kEditTerrain;
    s.items[cmd::TroopPalette].enabled =
        in.editMode == kEditTroops || in.editMode == kEditReinforcements;
    s.items[cmd::BorderPalette].enabled = in.editMode == kEditBorderlines;
    s.items[cmd::MinePalette].enabled = in.editMode == kEditTerrain;
}

void viewMenu(const MenuInputs& in, MenuState& s) {
    for (int id : {cmd::Zoom48, cmd::Zoom32, cmd::Zoom16, cmd::ShowHexFrame, cmd::ShowTroops,
                   cmd::ShowTerrainLabels, cmd::ShowVictoryLabels, cmd::ShowBorderlines})
        s.items[id].enabled = in.documentOpen;
    if (in.documentOpen) {
        s.items[cmd::Zoom48].checked = in.hexSize >= 48;
        s.items[cmd::Zoom32].checked = in.hexSize >= 32 && in.hexSize < 48;
        s.items[cmd::Zoom16].checked = in.hexSize < 32;
        s.items[cmd::ShowHexFrame].checked = in.showHexFrame;
        s.items[cmd::ShowTroops].checked = in.showTroops;
        s.items[cmd::ShowTerrainLabels].checked = in.showTerrainLabels;
        s.items[cmd::ShowVictoryLabels].checked = in.showVictoryLabels;
        s.items[cmd::ShowBorderlines].checked = in.showBorderlines;
    }
    radio(s, {{cmd::UnitIconPictures, 1}, {cmd::UnitIconWeaponTypes, 0}}, in.showUnitIcon);
}

void toolMenu(const MenuInputs& in, MenuState& s) {
    radio(s,
          {{cmd::DrawPen, kDrawPen},
           {cmd::DrawLine, kDrawLine},
           {cmd::DrawBox, kDrawBox},
           {cmd::DrawFlood, kDrawFlood},
           {cmd::DrawCopy, kDrawCopy},
           {cmd::DrawDeleteLinks, kDrawDeleteLinks}},
          in.drawKind);
    s.items[cmd::DrawCopy].enabled = in.editMode == kEditTerrain;
    s.items[cmd::DrawDeleteLinks].enabled = in.editMode != kEditBorderlines;
    radio(s, {{cmd::PenSingle, 0}, {cmd::PenMega, 1}}, in.penKind);
    const bool penGreyed =
        in.editMode == kEditBorderlines ||
        (in.editMode == kEditTerrain && in.drawKind != kDrawCopy && !in.penChoiceOffered);
    s.items[cmd::PenSingle].enabled = s.items[cmd::PenMega].enabled = !penGreyed;
    radio(s, {{cmd::TroopPlace, 0}, {cmd::TroopMove, 1}, {cmd::TroopDelete, 2}}, in.troopDrawKind);
    for (int id : {cmd::TroopPlace, cmd::TroopMove, cmd::TroopDelete})
        s.items[id].enabled = !in.interactionBusy;
    radio(s,
          {{cmd::DrawUnderlayOnly, kUnderlayOnly},
           {cmd::DrawMapOnly, kMapOnly},
           {cmd::DrawTransparent, kTransparent}},
          in.mapDrawMethod);

    const bool troopModes = in.editMode == kEditTroops || in.editMode == kEditReinforcements;
    const bool terrainOrBorder =
        (in.editMode == kEditTerrain || in.editMode == kEditBorderlines) && !in.areaSelectActive;
    s.menusEnabled[cmd::Menu::DrawKind] = terrainOrBorder;
    s.menusEnabled[cmd::Menu::PenKind] = terrainOrBorder;
    s.menusEnabled[cmd::Menu::TroopDrawKind] = !in.interactionBusy && troopModes;
    s.menusEnabled[cmd::Menu::MapDrawMethod] = in.editMode == kEditTerrain;
    s.items[cmd::RunScript].enabled = idle(in);
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
