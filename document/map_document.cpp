// The map document's construction, new-map state and settings round trip.
#include "document/map_document.h"

#include "framework/cp932.h"
#include "framework/profile.h"

namespace kv {

void MapHeader::setMagic(std::string_view m) {
    for (size_t i = 0; i < kMagicSize; ++i)
        bytes[kMagicOffset + i] = i < m.size() ? static_cast<uint8_t>(m[i]) : 0;
}

std::string MapHeader::mapName() const {
    return fieldText(reinterpret_cast<const char*>(&bytes[kMapNameOffset]), kMapNameSize);
}

void MapHeader::setMapName(std::string_view cp932) {
    const std::string cut = cutToBytes(cp932, kMapNameSize - 1);
    std::memset(&bytes[kMapNameOffset], 0, kMapNameSize);
    std::memcpy(&bytes[kMapNameOffset], cut.data(), cut.size());
}

void ViewSettings::readSettings() {
    troopListOption = readEnvInt("TroopListOption");
    showUnitIcon = readEnvBool("ShowUnitIcon") ? 1 : 0;
    landListOption = readEnvInt("LandListOption");
    showQuickTroop = readEnvBool("ShowQuickTroop") ? 1 : 0;
    showQuickLand = readEnvBool("ShowQuickLand") ? 1 : 0;
    showTimeQuickInfo = readEnvInt("ShowTimeQuickInfo");
}

void ViewSettings::writeSettings() const {
    writeEnvInt("TroopListOption", troopListOption);
    writeEnvBool("ShowUnitIcon", showUnitIcon == 1);
    writeEnvInt("LandListOption", landListOption);
    writeEnvBool("SimpleMode", false);
    writeEnvBool("ShowQuickTroop", showQuickTroop == 1);
    writeEnvBool("ShowQuickLand", showQuickLand == 1);
    writeEnvInt("ShowTimeQuickInfo", showTimeQuickInfo);
}

MapDocument::MapDocument() { viewSettings.readSettings(); }

MapDocument::~MapDocument() { viewSettings.writeSettings(); }

void MapDocument::loadResources() {
    documentOpen = 0;
    gameDatabase.loadAll();
}

void MapDocument::resetToNewMap() {
    mapHeader.clear();
    mapHeader.setMagic("KVORNSCENARI0007");
    mapHeader.setSize(64, 64);
    mapHeader.setTurnLimit(99);
    mapHeader.bytes[MapHeader::kBuildingIncomeOffset] = 1;
    mapHeader.setMapName(*encodeCp932("新規マップ"));
    filePath.clear();
    documentOpen = 1;
}

void MapDocument::setEditMode(int mode) { editMode = mode; }

}  // namespace kv
