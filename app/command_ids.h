// The menu command ids of the main frame, and its menus, by name. The numbers are the ones the
// menu carries and the tool window sends; nothing outside this header spells them as numbers.
#pragma once

namespace kv::cmd {

enum Command : int {
    // File
    NewMap = 40007,
    OpenUnderlay = 40048,
    PasteUnderlay = 40053,
    MoveUnderlay = 40085,
    OpenMap = 40012,
    OpenEarlierEdition = 40043,  // with Shift: batch conversion
    SaveIntermediate = 40013,
    SaveIntermediateAs = 40014,
    SaveNormalMap = 40025,
    SaveScenarioMap = 40093,
    NewCampaign = 40072,
    EditCampaign = 40073,
    ExportBitmap = 40084,
    EditProductTypes = 40063,
    EditRules = 40054,
    Exit = 40008,
    // Edit
    Undo = 40026,
    Redo = 40027,
    TerrainMode = 40055,
    TroopMode = 40056,
    LabelMode = 40057,
    BorderMode = 40095,
    ReinforcementMode = 40075,  // no menu item; sent by the tool window
    LabelModeAlt1 = 40101,      // no menu item; label mode
    LabelModeAlt2 = 40102,      // no menu item; label mode
    MapSize = 40044,
    PackTroopNumbers = 40066,
    ExchangeFactionColours = 40083,
    MapSettings = 40028,
    ScenarioSettings = 40070,
    BriefingPreview = 40071,
    EndingPreview = 40074,
    MapCheck = 40034,
    CombatComparison = 40103,
    // Window
    ToolWindow = 40031,
    HqMap = 40022,
    TerrainPalette = 40032,
    TroopPalette = 40058,
    BorderPalette = 40096,
    MinePalette = 40097,
    BuildingCount = 40030,
    UndoHistoryWindow = 40210,  // the editor's own windows, beyond the game's menu
    ProblemsPanel = 40211,
    RunScript = 40212,  // runs a script file on the open map
    TroopTable = 40059,
    WeaponList = 40060,
    TerrainLabelList = 40067,
    TroopLabelList = 40077,
    TerrainInfo = 40003,
    TerrainMoveTable = 40052,
    TerrainAvoidTable = 40081,
    TransportableTerrain = 40061,
    // View
    Zoom16 = 40011,
    Zoom32 = 40009,
    Zoom48 = 40091,
    ShowHexFrame = 40010,
    ShowTroops = 40068,
    ShowTerrainLabels = 40069,
    ShowVictoryLabels = 40076,
    ShowBorderlines = 40094,
    UnitIconPictures = 40098,
    UnitIconWeaponTypes = 40099,
    CustomiseFactionColours = 40100,
    // Tools
    DrawPen = 40035,
    DrawLine = 40036,
    DrawBox = 40037,
    DrawFlood = 40045,
    DrawCopy = 40038,
    DrawDeleteLinks = 40039,
    PenSingle = 40041,
    PenMega = 40042,
    TroopPlace = 40078,
    TroopMove = 40079,
    TroopDelete = 40080,
    DrawUnderlayOnly = 40049,
    DrawMapOnly = 40050,
    DrawTransparent = 40051,
    // Help
    About = 40033,
};

// The menus by name: the six of the menu bar, in order, then the sub-menus.
enum class Menu {
    File,
    Edit,
    Window,
    View,
    Tools,
    Help,
    UnitIcon,
    DrawKind,
    PenKind,
    TroopDrawKind,
    MapDrawMethod
};

}  // namespace kv::cmd
