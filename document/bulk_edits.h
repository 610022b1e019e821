// Edits of the whole map: changing its size, exchanging two factions, and packing the troop
// numbers of every organisation group.
#pragma once

#include <string_view>

namespace kv {

class MapDocument;

// --- Map size ----------------------------------------------------------------------------
inline constexpr std::string_view kMapSizeCaution = "注意";
inline constexpr std::string_view kMapSizeConfirm = "確認";
inline constexpr std::string_view kWidthOutOfRangeText = "マップの横幅が範囲外です。(1～256)";
inline constexpr std::string_view kHeightOutOfRangeText = "マップの縦幅が範囲外です。(1～256)";
inline constexpr std::string_view kShrinkQuestionText =
    "マップサイズが小さくなるため、一部地形が削除されます。\nサイズを変更してよろしいですか？";
// Anchors 0..8: row × 3 + column of the 3 × 3 buttons, 0 the top left, 4 the centre.
inline constexpr int kAnchorCount = 9;
inline constexpr int kAnchorCentre = 4;

// The refusal of a size outside 1..256 (the width's first), empty for a size the map takes.
std::string_view mapSizeRefusal(int width, int height);
// The map gets narrower or lower.
bool mapSizeShrinks(const MapDocument& doc, int width, int height);
// What the OK button of the map size dialog asks before the change: a size out of range
// is refused (caption "注意"); a smaller map asks whether to go on (caption "確認", Yes/No).
// True when the change may be made; false keeps the dialog open.
bool confirmMapSize(const MapDocument& doc, int width, int height);

struct MapSizeChange {
    bool changed = false;
    int colOffset = 0;  // how far the old hexes moved
    int rowOffset = 0;
    int labelsDropped = 0;
    int troopsDeleted = 0;  // troops of the six factions, cargo included
};

// Gives the map the new size, keeping the part of the old map the anchor chooses: the old
// hexes move by the offsets of the anchor (the rest of the map is new ocean); labels, troops
// not carried, transport destinations and evacuation targets move with them. A label that
// leaves the map is dropped; a troop that leaves it is deleted with everything it carries;
// carried troops follow their carriers; a destination or target that leaves the map is put
// off the map (255 on the side it left), where the map check reports it. Label numbers,
// troop stacks and the derived hex data are rebuilt, every hex is dirty and isClean is 0.
// The undo history cannot hold a size change, so it is emptied. Nothing happens for a size
// outside 1..256 or an anchor outside 0..8.
MapSizeChange changeMapSize(MapDocument& doc, int width, int height, int anchor);

// --- Faction exchange --------------------------------------------------------------------
// Swaps everything that belongs to faction slots a and b: their faction records, their
// bits in every faction's alliances and per-faction bits, their regiments, their troop
// tables (and working copies) with counts, the carrier references of loaded troops that
// point into them, their production lists, and in every hex the owners a + 1 and b + 1 and
// those table numbers in the troop stacks and the reinforcement index. Territories,
// borderline kinds, mines and labels stay. The derived data is rebuilt, every hex is dirty,
// isClean is 0 and the undo history (which cannot hold faction records) is emptied. False,
// with nothing changed, unless a and b are two different slots 0..5.
bool exchangeFactions(MapDocument& doc, int a, int b);

// --- Troop numbers -----------------------------------------------------------------------
// For each faction and division, moves the troops in use of each group (regiments 0..5 of
// six units, then the 30 directly attached units) forward in slot order to the group's
// first positions and clears the freed ones; carrier links, cargo entries, regiment
// commanders and the hexes' troop stacks follow the troops to their new slots. One undoable
// operation (the troops, hexes, regiments and counts it changes are recorded). Returns how
// many troops moved; 0 changes nothing, not even the history, yet is reported as an edit of
// the troops so that their lists refresh.
int packTroopNumbers(MapDocument& doc);

}  // namespace kv
