// The one map document: every record of the map, the game database it refers to, the
// editor's tool state and the undo history, with the editing primitives all views use.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "document/edit_operation.h"
#include "document/faction_record.h"
#include "document/hex_geometry.h"
#include "document/map_grid.h"
#include "document/map_header.h"
#include "document/scenario_texts.h"
#include "document/terrain_rules.h"
#include "document/tool_state.h"
#include "document/troop_record.h"
#include "document/undo_history.h"
#include "document/user_data_store.h"
#include "document/view_settings.h"
#include "framework/faction_colours.h"
#include "gamedata/game_database.h"
#include "gamedata/rule_set.h"

namespace kv {

// setTerrain's place of the piece in a mega piece: the centre or a single hex (0), the member
// on side 1..6, or laid by a tool other than the pen, which puts a mega piece's terrain down
// with the terrain's own picture.
inline constexpr int kMegaCentre = 0, kMegaByOtherTool = -1;

// A troop that loading dropped because its user-defined weapon was missing (unknownWeapon 1)
// or because it was loaded in such a troop (0).
struct RemovedWeapon {
    int faction = 0;
    int troopNumber = 0;
    int col = 0;
    int row = 0;
    std::string name;  // CP932
    uint8_t unknownWeapon = 0;
};

// What placing a terrain piece did beyond the hex itself.
// A missile base's settings: the stationed missile (weapon id + 1, 0 none), the launch interval
// and the number of missiles.
struct MissileSettings {
    uint16_t missile = 0;
    uint8_t interval = 0;
    uint8_t count = 0;
};

// What a flood fill painted.
struct FilledArea {
    std::vector<HexPos> hexes;  // in row order
    bool labelDemoted = false;
    bool buildingsChanged = false;
};

struct PlacedTerrain {
    bool labelDemoted = false;     // a victory-condition label became a terrain label
    bool buildingRemoved = false;  // a building (category above 11) was replaced
    bool buildingAdded = false;
    uint8_t oldTerrain = 0, oldOwner = 0, oldDestroyed = 0;
};

class MapDocument {
public:
    static constexpr int kNewMapSide = 64;
    static constexpr int kLabelVictory = 1;

    MapDocument();
    ~MapDocument();
    MapDocument(const MapDocument&) = delete;
    MapDocument& operator=(const MapDocument&) = delete;

    // --- Start-up, new map, load and save -------------------------------------------------
    // Loads the shared tables: the whole game database of the program folder, then whatever
    // the drawing layer installed (fonts, faction colours, icon strip, shared bitmaps). A
    // missing terrain, armament or weapon file is reported and raises swCError.
    void loadResources();
    std::function<void(MapDocument&)> loadDrawingResources;
    // The new-map state: 64 × 64 hexes of terrain 30 named "新規マップ", six factions named
    // after their colours; empty undo history and file path; documentOpen = 1.
    void resetToNewMap();
    // Loads a map: a fresh new map, then `readFile` fills the stored records (scenario texts
    // and pictures, header, factions, rule record, cells, labels, troops, regiments,
    // production lists, evacuation targets) and returns false for a file that is no map.
    // A swCError it raises is reported and leaves a new map. Then finishLoad. True when the
    // file's map is in the document.
    bool load(const std::function<bool(MapDocument&)>& readFile);
    // The first step of a load: working state reset and a new map.
    void beginLoad();
    // The rest of a load once the stored records are in place: size and turn limit made
    // safe, anthems, labels, troop counts, user-defined weapons re-bound (one message for
    // those dropped), derived per-hex data and troop stacks, the weapon check (a new map
    // when it fails, with its message). Always ends with all hexes dirty and no undo
    // history. False when the weapon check replaced the map.
    bool finishLoad();
    // The cell fix-up before a normal or scenario save: lone river terrain becomes land, roads
    // on buildings go.
    void prepareForSave();
    // Production lists of the participating factions with a built-in production type are
    // copied afresh from the game database.
    void refreshProductionLists();

    // --- The map's hexes ------------------------------------------------------------------
    // The map size, always 1..256 each way whatever the header holds.
    int width() const;
    int height() const;
    HexArea area() const { return HexArea(width(), height()); }
    bool contains(int col, int row) const {
        return col >= 0 && row >= 0 && col < width() && row < height();
    }
    // Pointers into the grid's tables; null outside the map.
    HexCell* cellAt(int col, int row);
    const HexCell* cellAt(int col, int row) const;
    HexOverlay* overlayAt(int col, int row);
    const HexOverlay* overlayAt(int col, int row) const;
    uint32_t* marksAt(int col, int row);
    TroopIndexRecord* troopIndexAt(int col, int row);
    const TroopIndexRecord* troopIndexAt(int col, int row) const;
    // The hex's terrain label number (index + 1), 0 outside the map.
    int labelNumberAt(int col, int row) const;
    // Marks a changed hex for redrawing; an open edit operation collects it.
    void markDirty(int col, int row) {
        viewSettings.redrawGrid.markDirty(col, row);
        if (openChange_ && contains(col, row)) openChange_->addHex(col, row);
    }
    // A new redraw grid for the map's size, every hex dirty.
    void renewRedrawGrid() { viewSettings.redrawGrid.reset(width(), height()); }

    // --- Terrain editing (each primitive records undo and marks what it changes) ----------
    // Places a terrain piece on a hex with every fix-up of the hex and its neighbours.
    // megaPosition: kMegaCentre, 1..6 the member on side megaPosition - 1, or kMegaByOtherTool.
    PlacedTerrain setTerrain(int col, int row, const TerrainBrush& brush,
                             int megaPosition = kMegaCentre);
    // OR a link mask into the road, sea supply line or river links. Rivers only on hexes of
    // category 11 or less, with `variant` (0 river, 1 deep, 2 frozen) in the top bits;
    // roads and supply lines that the river forbids go. False when nothing changed.
    bool addRoadLinks(int col, int row, uint8_t mask);
    bool addSeaLineLinks(int col, int row, uint8_t mask);
    bool addRiverLinks(int col, int row, uint8_t mask, int variant);
    // Clear the links and each neighbour's link towards the hex. A river removal with
    // keepNeighbours leaves the neighbours alone. False when there was nothing to remove.
    bool removeRoad(int col, int row);
    bool removeSeaLine(int col, int row);
    bool removeRiver(int col, int row, bool keepNeighbours = false);
    // Removes a mine the hex no longer allows (no undo record of its own).
    void validateMine(int col, int row);
    // The brush's mine on the hex when the hex allows it; kind 0 clears.
    bool setMine(int col, int row, const MineBrush& brush);
    // Territory and the six borderline kinds from the brush (territory 0 clears the kinds) /
    // all zero; the borderline bits of the hex and its neighbours follow.
    void setBorderline(int col, int row, const BorderBrush& brush);
    void clearBorderline(int col, int row);
    // One side's kind, kept by the borderline dialog.
    void setBorderlineKind(int col, int row, int side, int kind);
    // The hex's borderline bits from the territories; true when they changed.
    bool recomputeBorderlines(int col, int row);
    // Hills, mountains and snow mountains joined with those below them (hex and its north
    // neighbours); `record` takes undo images of changed hexes.
    void recomputeJoinedPictures(int col, int row, bool record);
    // Flood fills from `seed` over the connected hexes of its terrain (and of its owner when
    // it is a building) with the brush / over the connected hexes of its territory with the
    // brush's territory and kinds. Breadth-first, no recursion; the batch flag is held while
    // the hexes are painted. Nothing outside the map.
    FilledArea fillTerrain(HexPos seed, const TerrainBrush& brush);
    FilledArea fillTerritory(HexPos seed, const BorderBrush& brush);
    // The weapons a missile base can hold (selectable warheads), in the weapon table's order;
    // a new missile base takes the first.
    std::vector<uint16_t> missileWeaponIds() const;
    // Stores a missile base's settings (missile 0 stores no interval and no count). False
    // when the hex is no missile base or nothing changed.
    bool setMissileBase(int col, int row, const MissileSettings& settings);
    // Borderline bits and joined pictures of every hex, without undo.
    void recomputeDerivedHexData();
    // Copies the selection's cells whole (with `ring`, also the six neighbours of every
    // selected hex, each source hex once) into the block whose top-left is `origin`, placed
    // by pasteTarget; sources and targets outside the map are skipped, and the sources are
    // read before any target is written, so the block may overlap the selection. A mega piece
    // a target cuts is reset first; afterwards every hex's borderlines follow the territories
    // and a temporary bridge left without a river goes. Returns the number of hexes written.
    int pasteCells(const HexRect& selection, HexPos origin, bool ring);

    // --- Terrain labels -----------------------------------------------------------------
    int labelCount() const { return mapGrid.labelCount(); }
    const TerrainLabel* labelAt(int col, int row) const;
    // Sets the hex's label (kind 0 terrain, 1 victory condition; progress 1 a progress
    // target); a new label goes after the last. False (nothing changed) when all 1000 are
    // in use and the hex has none, or outside the map. Empty text deletes the label.
    bool setLabel(int col, int row, std::string_view cp932, int kind, int progress);
    // Removes the hex's label, moving the later ones down. False when it had none.
    bool deleteLabel(int col, int row);
    // The label numbers of every hex from the label table.
    void rebuildLabelNumbers();

    // --- Troops -----------------------------------------------------------------------------
    TroopRecord* troopAt(int table, int slot) { return troops.at(table, slot); }
    const TroopRecord* troopAt(int table, int slot) const { return troops.at(table, slot); }
    // The stack position 0..2 a troop's weapon takes on its hex (0 without the stacking rule).
    int stackPositionFor(const TroopRecord& troop) const;
    // Puts a troop placed at the start into its hex's stack (a stowed one sets the hex's
    // occupancy); false when its position there is already held by another troop.
    bool enterTroopInStack(int table, int slot);
    void liftTroopFromStack(int table, int slot);
    // Clears the carrier link of a loaded troop and the carrier's cargo entry naming it.
    void takeOutOfCarrier(int table, int slot, bool record = false);
    // Deletes a troop and everything loaded in it; `record` takes undo images first.
    void deleteTroop(int table, int slot, bool record = false);
    // The stacks and occupancy of every hex from the troops placed at the start; a troop
    // whose position is taken is deleted, unless it is a gathered member of the regiment
    // that holds the position (a gathered regiment shares one hex and one representative,
    // its commander where it stands there).
    void rebuildTroopStacks();
    // The reinforcement index of edit mode 2 for tool.reinforcementTurn.
    void rebuildReinforcementIndex();
    // Slot 0..5 is played by the user.
    bool isUserFaction(int slot) const;
    // The game database has the weapon and it belongs to this product.
    bool isWeaponInProduct(int weaponId) const;

    // --- Edit state ---------------------------------------------------------------------------
    // The edit mode, with the reinforcement index of mode 2 and the draw kinds the border
    // mode does not offer.
    void setEditMode(int mode);
    // Told of every edit operation that changed something, when it ends (the editor redraws
    // and notifies its windows).
    std::function<void(const EditChange&)> onEdited;

    // --- Members, in the order of the map's records ------------------------------------------
    ScenarioTexts scenarioTexts;
    TroopTable troops;
    RuleSettings ruleSettings;
    std::array<std::array<DivisionRecord, kDivisionsPerFaction>, kFactionCount> divisions{};
    std::array<std::array<RegimentRecord, kRegimentsPerFaction>, kFactionCount> regiments{};
    std::array<FactionRecord, kFactionCount> factions{};
    std::array<ProductionList, kFactionCount> productionLists{};
    EvacuationTargets evacuationTargets;
    MapHeader mapHeader;
    ViewSettings viewSettings;
    MapGrid mapGrid;
    GameDatabase gameDatabase;
    UserDataStore userData{gameDatabase};
    // The hue angles of the faction colours ("cstmcl.dat"), read with the shared tables.
    FactionColourTable factionColours;

    // The editor's document writes the view options back to the settings file when it is
    // destroyed. Off for every other user (command line, benchmarks, tests), so that reading
    // a map never leaves a settings file behind.
    bool writesSettingsAtEnd = false;
    uint8_t documentOpen = 0;
    std::string filePath;
    ToolState tool;
    UndoHistory history{*this};
    uint8_t isClean = 1;
    uint8_t specChangedTroops = 0;
    uint8_t connectedTerrainTouched = 0;
    std::vector<RemovedWeapon> removedWeapons;
    uint8_t collectingRemovals = 0;

private:
    friend class EditOperation;
    friend class UndoHistory;

    void resetFactions();
    void resetOrganisation();
    void renumberAnthems();
    void rebindUserWeapons();
    void reportRemovedWeapons();
    bool weaponCheckPasses() const;
    void makeSizeSafe();
    void recordNeighbours(int col, int row);
    void clearNeighbourLinks(int col, int row, uint8_t HexCell::*field);
    bool deleteLinks(int col, int row, uint8_t HexCell::*field);
    void fixLinksAfterChange(int col, int row);
    void breakUpMegaGroup(int col, int row);
    uint8_t borderBitsFor(HexPos h) const;
    void placeFullPiece(int col, int row, HexCell& cell, const TerrainBrush& brush, int picture,
                        PlacedTerrain& result);
    void setTerritory(int col, int row, int territory, int kind);
    void placeLabelRecord(int col, int row, const TerrainLabel& label);
    void deleteTroopAndCargo(int table, int slot, uint8_t unknownWeapon, bool record);
    bool shareGatheredStack(int table, int slot);
    void updateOccupancy(int col, int row);

    // The change of the edit operation under way, null between operations.
    EditChange* openChange_ = nullptr;
};

}  // namespace kv
