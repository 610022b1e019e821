// The face numbers of the button face sheets and what each face shows: shared by the windows
// that make the buttons and the generator that draws the sheets.
#pragma once

namespace kv::faces {

// "btn26x26.bmp": the tool window's square buttons.
enum Tool : int {
    HqMap,
    TerrainPalette,
    TroopPalette,
    BorderPalette,
    BuildingCount,
    TroopTable,
    WeaponList,
    TerrainLabelList,
    TroopLabelList,
    TerrainInfo,
    TerrainMoveTable,
    TerrainAvoidTable,
    TransportableTerrain,
    HexFrame,
    Zoom48,
    Zoom32,
    Zoom16,
    TerrainMode,
    TroopMode,
    ReinforcementMode,
    LabelMode,
    BorderMode,
    Pen,
    Line,
    Box,
    Copy,
    DeleteLinks,
    Flood,
    TroopPlace,
    TroopMove,
    TroopDelete,
    PenSingle,
    PenMega,
    UnderlayOnly,
    MapOnly,
    Transparent,
    ShowTroops,
    ShowTerrainLabels,
    ShowVictoryLabels,
    ShowBorderlines,
    ToolCount
};
// The glyph drawn on each tool face (UTF-8, one or two characters) and its accent colour.
struct ToolFace {
    const char* glyph;
    unsigned rgb;
};
inline constexpr ToolFace kToolFaces[ToolCount] = {
    {"HQ", 0x2060C0}, {"地", 0x308030}, {"部", 0xC04020}, {"国", 0x8040A0}, {"建", 0x806020},
    {"表", 0xC04020}, {"兵", 0x606060}, {"ラ", 0x308030}, {"ラ", 0xC04020}, {"情", 0x308030},
    {"移", 0x308030}, {"避", 0x308030}, {"輸", 0x2060C0}, {"枠", 0x404040}, {"小", 0x2060C0},
    {"中", 0x2060C0}, {"大", 0x2060C0}, {"地", 0x308030}, {"部", 0xC04020}, {"増", 0xC08020},
    {"ラ", 0x2080A0}, {"国", 0x8040A0}, {"ペ", 0x404040}, {"線", 0x404040}, {"箱", 0x404040},
    {"写", 0x404040}, {"消", 0xA02020}, {"塗", 0x404040}, {"置", 0xC04020}, {"移", 0xC04020},
    {"回", 0xC04020}, {"単", 0x404040}, {"メ", 0x404040}, {"下", 0x806020}, {"図", 0x308030},
    {"透", 0x2060C0}, {"部", 0xC04020}, {"ラ", 0x308030}, {"勝", 0xC08020}, {"境", 0x8040A0},
};

// "btn48x20.bmp": captioned buttons of the tool window.
enum Wide48 : int { ShowExtended, HideExtended, Wide48Count };
inline constexpr const char* kWide48Captions[Wide48Count] = {"拡張▼", "拡張▲"};

// "btn70x20.bmp": the troop and mine palettes' captioned buttons.
enum Wide70 : int {
    DirectTroops,
    WeaponDetail,
    DeployWeapon,
    CancelDeploy,
    PlaceTroop,
    RecallTroop,
    TroopDetail,
    LandMine,
    SeaMine,
    DeleteMine,
    Wide70Count
};
inline constexpr const char* kWide70Captions[Wide70Count] = {
    "直属部隊", "兵器詳細", "兵器配備", "配備取消", "部隊配置",
    "部隊回収", "部隊詳細", "地雷",     "機雷",     "削除"};

// The small square sheets ("btn16x16.bmp", "btn20x20.bmp", "btn24x20.bmp", "btn28x20.bmp",
// "btn32x20.bmp"): plain, arrows and signs.
enum Small : int { Plain, Left, Right, Up, Down, Plus, Minus, Cross, SmallCount };
inline constexpr const char* kSmallGlyphs[SmallCount] = {"", "◀", "▶", "▲", "▼", "＋", "－", "×"};

// The other wide sheets ("btn48x16.bmp", "btn55x20.bmp", "btn90x20.bmp", "btn228x20.bmp",
// "btn230x20.bmp"): face 0 is plain for a window text drawn over it, then fixed captions.
enum Caption : int { CaptionPlain, CaptionOk, CaptionCancel, CaptionCount };
inline constexpr const char* kCaptions[CaptionCount] = {"", "OK", "キャンセル"};

}  // namespace kv::faces
