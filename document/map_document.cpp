// The map document's construction, start-up resources, new-map state and hex accessors.
#include "document/map_document.h"

#include <algorithm>
#include <cstring>

#include "framework/cp932.h"

namespace kv {

namespace {

constexpr int kNewMapProductionLimit = 198;
constexpr int32_t kNewMapFunds = 999999;

}  // namespace

void MapHeader::setMagic(std::string_view m) {
    for (size_t i = 0; i < kMagicSize; ++i)
        bytes[kMagicOffset + i] = i < m.size() ? static_cast<uint8_t>(m[i]) : 0;
}

MapDocument::MapDocument() {
    viewSettings.readSettings();
}

MapDocument::~MapDocument() {
    if (writesSettingsAtEnd) viewSettings.writeSettings();
}

void MapDocument::loadResources() {
    documentOpen = 0;
    gameDatabase.loadAll();
    factionColours.load();
    if (loadDrawingResources) loadDrawingResources(*this);
}

void MapDocument::resetToNewMap() {
    const int hexesInUse = area().hexCount();
    scenarioTexts.reset();

    mapHeader.clear();
    mapHeader.setMagic(kMapMagic);
    mapHeader.setDifficulty(0);
    mapHeader.setSize(kNewMapSide, kNewMapSide);
    mapHeader.setTurnLimit(MapHeader::kMaxTurnLimit);
    mapHeader.setBuildingIncome(1);
    mapHeader.setMapName(*encodeCp932("新規マップ"));

    ruleSettings = gameDatabase.ruleSets().empty()
                       ? RuleSettings{}
                       : static_cast<const RuleSettings&>(gameDatabase.ruleSets().front());
    resetFactions();

    mapGrid.clear(hexesInUse);
    const HexCell fresh{.terrain = kTerrainNewMap,
                        .picture = gameDatabase.terrain(kTerrainNewMap).defaultPicture};
    // One cell, then copies of what is filled so far: a handful of block copies instead of a
    // step per hex.
    const size_t hexes = static_cast<size_t>(area().hexCount());
    HexCell* const cells = mapGrid.cells.data();
    if (hexes > 0) cells[0] = fresh;
    for (size_t done = 1; done < hexes; done *= 2)
        std::memcpy(cells + done, cells, std::min(done, hexes - done) * sizeof(HexCell));

    resetOrganisation();
    troops.clear();

    renewRedrawGrid();
    history.clear();
    filePath.clear();
    removedWeapons.clear();
    collectingRemovals = 0;
    specChangedTroops = 0;

    userData.dropMapData();
    documentOpen = 1;
}

void MapDocument::resetFactions() {
    const ProductionPreset& preset = gameDatabase.presets().front();
    for (int i = 0; i < kFactionCount; ++i) {
        FactionRecord& f = factions[i];
        f.clear();
        f.setName(factionColourName(i));
        f.setWord48(kNewMapProductionLimit);
        f.setProductionCountLimit(kNewMapProductionLimit);
        f.setFunds(kNewMapFunds);
        f.setFundsLimit(kNewMapFunds);
        productionLists[i] = gameDatabase.productType(f.productionType());
        f.setPreset(preset.number);
        f.setShare(0, preset.airShare);
        f.setShare(1, preset.landShare);
        f.setShare(2, preset.seaShare);
        f.setDefaultDivisionLimits();
    }
    evacuationTargets.clear();
}

void MapDocument::resetOrganisation() {
    for (int f = 0; f < kFactionCount; ++f) {
        for (int k = 0; k < kDivisionsPerFaction; ++k) {
            divisions[f][k].clear();
            divisions[f][k].setIndex(static_cast<uint8_t>(k));
        }
        for (int k = 0; k < kRegimentsPerFaction; ++k) {
            regiments[f][k].clear();
            regiments[f][k].setIndex(static_cast<uint8_t>(k));
        }
    }
}

void MapDocument::refreshProductionLists() {
    for (int i = 0; i < kFactionCount; ++i) {
        const FactionRecord& f = factions[i];
        if (f.takesPart() && f.productionType() < ProductTypeData::kStandardSlots)
            productionLists[i] = gameDatabase.productType(f.productionType());
    }
}

int MapDocument::width() const {
    return std::clamp(mapHeader.width(), 1, MapGrid::kMaxSide);
}

int MapDocument::height() const {
    return std::clamp(mapHeader.height(), 1, MapGrid::kMaxSide);
}

HexCell* MapDocument::cellAt(int col, int row) {
    return contains(col, row) ? &mapGrid.cells[size_t(col + row * width())] : nullptr;
}

const HexCell* MapDocument::cellAt(int col, int row) const {
    return contains(col, row) ? &mapGrid.cells[size_t(col + row * width())] : nullptr;
}

HexOverlay* MapDocument::overlayAt(int col, int row) {
    return contains(col, row) ? &mapGrid.overlays[size_t(col + row * width())] : nullptr;
}

const HexOverlay* MapDocument::overlayAt(int col, int row) const {
    return contains(col, row) ? &mapGrid.overlays[size_t(col + row * width())] : nullptr;
}

uint32_t* MapDocument::marksAt(int col, int row) {
    return contains(col, row) ? &mapGrid.hexMarks[size_t(col + row * width())] : nullptr;
}

TroopIndexRecord* MapDocument::troopIndexAt(int col, int row) {
    return contains(col, row) ? &mapGrid.troopIndex[size_t(col + row * width())] : nullptr;
}

const TroopIndexRecord* MapDocument::troopIndexAt(int col, int row) const {
    return contains(col, row) ? &mapGrid.troopIndex[size_t(col + row * width())] : nullptr;
}

int MapDocument::labelNumberAt(int col, int row) const {
    const HexOverlay* o = overlayAt(col, row);
    return o ? o->labelNumber : 0;
}

bool MapDocument::isUserFaction(int slot) const {
    return slot >= 0 && slot < kFactionCount && factions[slot].participation() == kFactionUser;
}

bool MapDocument::isWeaponInProduct(int weaponId) const {
    return gameDatabase.hasWeapon(weaponId) && gameDatabase.weapon(weaponId).selectable() == 1;
}

void MapDocument::setEditMode(int mode) {
    if (mode != tool.editMode) {
        tool.editMode = mode;
        if (mode == kEditReinforcements) rebuildReinforcementIndex();
        if (mode == kEditBorderlines &&
            (tool.drawKind == kDrawCopy || tool.drawKind == kDrawDeleteLinks))
            tool.drawKind = kDrawPen;
    }
    viewSettings.borderModeActive = mode == kEditBorderlines ? 1 : 0;
}

}  // namespace kv
