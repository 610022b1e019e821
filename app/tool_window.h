// The tool window: buttons for every window, edit mode, draw kind, pen, zoom, view switch and
// map drawing mode, the current brush's caption, the hex under the mouse and, when extended,
// that hex's terrain and troops.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/palette_window.h"
#include "document/hex_geometry.h"

class QLabel;

namespace kv {

class BitmapButton;
class SpriteSheets;
class ToolTips;

// The tool window's control ids.
namespace toolid {
constexpr int HqMap = 1000, TerrainPalette = 1001, TroopPalette = 1002, BorderPalette = 1003;
constexpr int BuildingCount = 1005, TroopTable = 1006, WeaponList = 1007;
constexpr int TerrainLabelList = 1008, TroopLabelList = 1009, TerrainInfo = 1010;
constexpr int HexFrame = 1011, Zoom48 = 1012, Zoom32 = 1013, Zoom16 = 1014;
constexpr int TerrainMoveTable = 1015, TerrainAvoidTable = 1016, TransportableTerrain = 1017;
constexpr int TerrainMode = 1018, TroopMode = 1019, ReinforcementMode = 1020, LabelMode = 1021,
              BorderMode = 1022;
constexpr int Pen = 1025, Line = 1026, Box = 1027, Copy = 1028, DeleteLinks = 1029, Flood = 1030;
constexpr int TroopPlace = 1031, TroopMove = 1032, TroopDelete = 1033;
constexpr int PenSingle = 1034, PenMega = 1035;
constexpr int BrushCaption = 1036, Coordinates = 1039;
constexpr int UnderlayOnly = 1043, MapOnly = 1044, Transparent = 1045;
constexpr int ShowExtended = 1046, HideExtended = 1047;
constexpr int ReinforcementTurn = 1070;  // the turn whose reinforcements are edited
constexpr int ShowTroops = 1062, ShowTerrainLabels = 1063, ShowVictoryLabels = 1064,
              ShowBorderlines = 1065;
}  // namespace toolid

// What the buttons' states depend on.
struct ToolWindowInputs {
    int editMode = 0, drawKind = 0, penKind = 0, troopDrawKind = 0, mapDrawMethod = 1;
    int hexSize = 32;
    bool showHexFrame = false, showTroops = true, showTerrainLabels = true,
         showVictoryLabels = true, showBorderlines = true;
    bool locked = false;        // a troop picked up for a move, a troop dialog
    bool pastePending = false;  // a copied area waits to be pasted
    bool megaBrush = false, lineBrush = false;
    std::vector<int> openWindows;  // the window buttons' ids whose windows are open
};
struct ToolButtonState {
    bool enabled = true;
    bool latched = false;
};
// Every button's state, by control id.
std::map<int, ToolButtonState> toolButtonStates(const ToolWindowInputs& in);
// "座標(x,y) = (%3d,%3d)", or "(---,---)" outside the map.
std::string coordinatesText(std::optional<HexPos> hex, bool inMap);

class ToolWindow : public PaletteWindow {
public:
    static constexpr const char* kClassName = "KOBMEC_TOOLWINDOW_CNAME";
    static constexpr int kWidth = 384, kHeight = 166, kExtendedHeight = 166 + 136;

    explicit ToolWindow(MainFrame& frame);
    ~ToolWindow() override;
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    int onMessage(MessageRecord& m) override;

    BitmapButton* button(int id) const;
    std::string text(int id) const;  // a caption's text (UTF-8)
    bool extended() const { return extended_; }
    std::string tooltip(int id) const;

protected:
    void refresh() override;
    QPoint defaultOffset() const override { return {60, 60}; }

private:
    void addButtons();
    void setExtended(bool on);
    void setReinforcementTurn(int turn);
    void showHex(std::optional<HexPos> hex);
    ToolWindowInputs inputs() const;

    std::map<int, BitmapButton*> buttons_;
    std::map<int, std::string> tooltips_;
    ToolTips* tips_ = nullptr;
    // The pictures of the extended area, made when it is first shown.
    std::unique_ptr<SpriteSheets> sheets_;
    bool sheetsUnitIcons_ = false;
    bool extended_ = false;
    std::optional<HexPos> hex_;
};

}  // namespace kv
