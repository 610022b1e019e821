// The one map document: the map header, the view settings and the editor's state words.
#pragma once

#include <cstdint>
#include <string>

#include "document/map_header.h"
#include "gamedata/game_database.h"

namespace kv {

// Display options of the views. The six list and quick-information options are read from
// the settings when the document is created and written back when it is destroyed.
struct ViewSettings {
    int hexSize = 32;
    uint8_t showHexFrame = 1;
    uint8_t showTroops = 1;
    uint8_t showTerrainLabels = 1;
    uint8_t showVictoryLabels = 1;
    uint8_t showBorderlines = 1;
    uint8_t showUnitIcon = 1;
    int troopListOption = -1;
    int landListOption = -1;
    uint8_t showQuickTroop = 1;
    uint8_t showQuickLand = 1;
    int showTimeQuickInfo = 50;

    void readSettings();
    void writeSettings() const;
};

class MapDocument {
public:
    MapDocument();
    ~MapDocument();
    MapDocument(const MapDocument&) = delete;
    MapDocument& operator=(const MapDocument&) = delete;

    // Loads the shared tables: the whole game database of the program folder. A missing
    // terrain, armament or weapon file is reported and raises swCError.
    void loadResources();
    // The new-map state: a 64 × 64 map named "新規マップ".
    void resetToNewMap();
    void setEditMode(int mode);

    MapHeader mapHeader;
    ViewSettings viewSettings;
    GameDatabase gameDatabase;

    uint8_t documentOpen = 0;
    std::string filePath;
    int editMode = 0;
    int reinforcementTurn = 0;
    int drawKind = 0;
    int troopDrawKind = 0;
    uint8_t interactionBusy = 0;
    int penKind = 0;
    uint8_t areaSelectActive = 0;
    int mapDrawMethod = 1;
    uint8_t isClean = 1;
};

}  // namespace kv
