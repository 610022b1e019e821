// Files in the formats of the earlier editions, written from a plain description of their
// content with the layouts of legacy_layouts.h: for tests, the example maps of the sample
// data and the seeds of the import fuzzer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "document/legacy_layouts.h"
#include "document/map_grid.h"

namespace kv {

// Texts are CP932; owners, territories, alliance bits and carrier factions name old factions
// (index + 1, bit j for faction j), as the old files do.
struct LegacyFaction {
    std::string name;
    uint8_t participation = 0;  // 0 not taking part, 1 user, 2 computer
    uint8_t behaviour = 0;
    uint8_t alliances = 0;
    uint8_t productionType = 0;
    uint8_t anthem = 0;
    std::string anthemName;
    int32_t funds = 0;
    std::array<uint8_t, 5> victory{};  // kind 2 keeps bytes 0..2 and 4
    uint16_t productionCountLimit = 0;
    uint8_t factionBits = 0;  // kinds 3 and 4
    uint8_t preset = 0;       // kind 3
};

struct LegacyTroop {
    int32_t turn = 1;
    std::string name;
    uint16_t weaponId = 0;
    uint8_t col = 0, row = 0;
    uint8_t group = 0;
    std::array<uint8_t, 5> slotValues{};
    uint16_t groupWord = 0;
    uint16_t flags = 0;
    std::array<uint16_t, 6> cargo{};  // slot + 1 of each loaded troop of the same faction
    uint16_t carrierSlotPlusOne = 0;
    uint8_t carrierFactionPlusOne = 0;
};

struct LegacyLabel {
    std::string text;
    int col = 0, row = 0;
    uint8_t kind = 0, value = 0;
};

struct LegacyProductionList {
    std::string name;
    uint16_t typeValue = 0;      // not stored by kind 2
    std::vector<int> weaponIds;  // 0..19999
};

struct LegacyMap {
    int kind = legacy::kDeluxe;
    int version = 1;
    std::string name;
    std::string message;
    int width = 0, height = 0;
    int turnLimit = 0;
    uint8_t difficulty = 0;
    uint8_t buildingIncome = 0;
    // Header fields carried through by the scenario kinds (old offsets 528, 530, 531, 534,
    // 578).
    uint16_t word528 = 0, word578 = 0;
    uint8_t byte530 = 0, byte531 = 0, byte534 = 0;
    std::vector<LegacyFaction> factions;  // up to 8
    uint8_t ruleId = 0;
    std::array<uint8_t, 51> ruleValues{};
    // Row-major, in the file's own terrain numbering. Kind 1 keeps terrain, owner, picture,
    // road and river links, territory and the destroyed flag.
    std::vector<HexCell> cells;
    std::vector<LegacyLabel> labels;
    std::array<std::vector<LegacyTroop>, legacy::kOldFactions> troops;  // by slot
    std::vector<LegacyProductionList> productionLists;                  // by old faction
    std::array<std::string, 9> texts;  // in the order of the current scenario text fields
    std::array<uint8_t, 3> displayBytes{};
    std::vector<uint8_t> briefingPicture, endingPicture;
};

// A map of `width` × `height` hexes of `terrain`, each with `picture`.
LegacyMap blankLegacyMap(int kind, int version, int width, int height, uint8_t terrain,
                         uint16_t picture);

// The file of the map's kind and version. Sections follow the header back to back.
std::string legacyMapBytes(const LegacyMap& map);

}  // namespace kv
