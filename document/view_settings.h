// The display options of the views, with the six options kept in the settings file.
#pragma once

#include <cstdint>

#include "document/hex_bit_grid.h"

namespace kv {

struct ViewSettings {
    int hexSize = 32;  // 16, 32 or 48 pixels
    uint8_t showHexFrame = 0;
    uint8_t showTroops = 1;
    uint8_t showTerrainLabels = 1;
    uint8_t showVictoryLabels = 1;
    uint8_t borderModeActive = 0;  // 1 while the edit mode is 4
    uint8_t flag = 1;
    uint8_t showBorderlines = 1;
    HexBitGrid redrawGrid;
    // Read from the settings when the document is made, written back when it ends.
    int troopListOption = -1;
    int landListOption = -1;
    uint8_t showUnitIcon = 1;
    uint8_t showQuickTroop = 1;
    uint8_t showQuickLand = 1;
    int quickInfoDelay = 50;

    void readSettings();
    void writeSettings() const;
};

}  // namespace kv
