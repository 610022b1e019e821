// The private messages of the editor's windows, one namespace per receiver. The same number
// means different things to different receivers, so a sender always names the receiver's set.
// The sets live here because senders and receivers sit in different folders (a palette posts to
// the main frame, the main frame to the tool window); the map view's set is in map_view.h.
#pragma once

#include <cstdint>

namespace kv {

// The main frame. Both parameters are 0 unless stated. A window closed from its own close box
// posts its close message with wParam FromCloseBox, so that the tool window's button follows.
namespace mainmsg {
constexpr uintptr_t FromCloseBox = 1;  // wParam of a close message
constexpr uint32_t Exit = 1129;
constexpr uint32_t OpenTerrainInfo = 1130, CloseTerrainInfo = 1131;
constexpr uint32_t OpenTerrainMoveTable = 1132, CloseTerrainMoveTable = 1133;
constexpr uint32_t OpenHqMap = 1134, CloseHqMap = 1135;
constexpr uint32_t OpenBuildingCount = 1136, CloseBuildingCount = 1137;
constexpr uint32_t OpenToolWindow = 1138, CloseToolWindow = 1139;
constexpr uint32_t OpenTerrainPalette = 1140, CloseTerrainPalette = 1141;
constexpr uint32_t OpenTroopPalette = 1142, CloseTroopPalette = 1143;
constexpr uint32_t RebuildTitle = 1146;
constexpr uint32_t EditModeChanged = 1147;
constexpr uint32_t OpenWeaponList = 1148, CloseWeaponList = 1149;
constexpr uint32_t OpenWeaponDetail = 1150;   // wParam weapon id
constexpr uint32_t CloseWeaponDetail = 1151;  // wParam the detail window's key
constexpr uint32_t OpenTroopTable = 1152, CloseTroopTable = 1153;
constexpr uint32_t OpenTransportableTerrain = 1154, CloseTransportableTerrain = 1155;
constexpr uint32_t OpenTerrainLabelList = 1156, CloseTerrainLabelList = 1157;
constexpr uint32_t OpenTroopLabelList = 1158, CloseTroopLabelList = 1159;
constexpr uint32_t OpenTerrainAvoidTable = 1160, CloseTerrainAvoidTable = 1161;
constexpr uint32_t ToggleTroopTableCompanion = 1162;
constexpr uint32_t ToggleTerrainInfoCompanion = 1163;
constexpr uint32_t OpenBorderPalette = 1164, CloseBorderPalette = 1165;
constexpr uint32_t OpenMinePalette = 1166, CloseMinePalette = 1167;
constexpr uint32_t OpenUndoHistory = 1180, CloseUndoHistory = 1181;
constexpr uint32_t OpenProblems = 1182, CloseProblems = 1183;
}  // namespace mainmsg

// The tool window. "...Toggled": a window opened or closed, its button follows; "Show...Changed":
// a view flag changed, its button follows.
namespace toolmsg {
constexpr uint32_t HqMapToggled = 1129;
constexpr uint32_t TerrainInfoToggled = 1130;
constexpr uint32_t BuildingCountToggled = 1131;
constexpr uint32_t TerrainMoveTableToggled = 1132;
constexpr uint32_t TerrainAvoidTableToggled = 1133;
constexpr uint32_t TerrainPaletteToggled = 1134;
constexpr uint32_t TroopPaletteToggled = 1135;
constexpr uint32_t ShowHexFrameChanged = 1137;
constexpr uint32_t HexSizeChanged = 1138;
constexpr uint32_t RefreshWeaponPreview = 1139;
constexpr uint32_t ShowHexCoordinates = 1140;  // wParam column, lParam row
constexpr uint32_t DrawKindChanged = 1141;     // also after an edit mode change
constexpr uint32_t PenKindChanged = 1142;
constexpr uint32_t MapDrawMethodChanged = 1143;
constexpr uint32_t EditModeChanged = 1144;
constexpr uint32_t RefreshUnitPreview = 1145;
constexpr uint32_t WeaponListToggled = 1146;
constexpr uint32_t TroopTableToggled = 1147;
constexpr uint32_t TransportableTerrainToggled = 1148;
constexpr uint32_t TerrainLabelListToggled = 1149;
constexpr uint32_t TroopLabelListToggled = 1150;
constexpr uint32_t ShowTroopsChanged = 1151;
constexpr uint32_t ShowTerrainLabelsChanged = 1152;
constexpr uint32_t ShowVictoryLabelsChanged = 1153;
constexpr uint32_t ShowBorderlinesChanged = 1154;
constexpr uint32_t ReshowHexCoordinates = 1155;
constexpr uint32_t TroopDrawKindChanged = 1156;
constexpr uint32_t TroopMoveChanged = 1157;
constexpr uint32_t BorderPaletteToggled = 1158;
constexpr uint32_t MinePaletteToggled = 1159;  // the tool window has no button for it
}  // namespace toolmsg

// The terrain palette.
namespace terrainpalettemsg {
constexpr uint32_t ShowBrush = 1129;  // the brush changed elsewhere (a pick-up): show it
constexpr uint32_t Recolour = 1130;   // the faction colours changed: draw the pieces again
}  // namespace terrainpalettemsg

// The HQ map (the overview of the whole map).
namespace hqmsg {
constexpr uint32_t Redraw = 1129;
constexpr uint32_t RedrawHex = 1130;  // wParam column, lParam row
constexpr uint32_t ViewMoved = 1131;  // the map view scrolled or changed size
constexpr uint32_t NewMap = 1132;
}  // namespace hqmsg

// The building count. wParam terrain id, lParam owner for the single changes.
namespace buildingmsg {
constexpr uint32_t Recount = 1129;
constexpr uint32_t IntactRemoved = 1130, IntactAdded = 1131;
constexpr uint32_t DestroyedRemoved = 1132, DestroyedAdded = 1133;
}  // namespace buildingmsg

// The troop table.
namespace trooptablemsg {
constexpr uint32_t Redraw = 1129;
constexpr uint32_t NewMap = 1130;
constexpr uint32_t EditModeChanged = 1132;
constexpr uint32_t MapSettingsChanged = 1133;
}  // namespace trooptablemsg

// The troop palette.
namespace trooppalettemsg {
constexpr uint32_t ProductTypesChanged = 1129;
constexpr uint32_t NewTroops = 1130;  // a new map, or the troops were renumbered
}  // namespace trooppalettemsg

// The weapon list.
namespace weaponlistmsg {
constexpr uint32_t ProductTypesChanged = 1129;
constexpr uint32_t MapFileChanged = 1130;  // a map file was saved or loaded
}  // namespace weaponlistmsg

// The undo history window and the problems panel.
namespace historymsg {
constexpr uint32_t Refresh = 1129;  // the history changed
}  // namespace historymsg
namespace problemsmsg {
constexpr uint32_t Recheck = 1129;  // the map changed: check again after a pause
}  // namespace problemsmsg

// The terrain label list and the troop label list.
namespace labellistmsg {
constexpr uint32_t Redraw = 1129;
}  // namespace labellistmsg

}  // namespace kv
