// Sprite sheets kept in a cache file beside the program, so that neither a command-line export
// nor the editor's start reads, colours and scales the art every time.
#pragma once

#include <optional>
#include <string>

#include "view/sprite_sheets.h"

namespace kv {

class FactionColourTable;
class MapDocument;
class WeaponData;

// What the sheets at `hexSize` depend on: the cache format, the size, the owner hues, which
// set (the export's terrain only, or the view's whole set) and the path, size and
// modification time of each art file of that set and of the running program.
std::string sheetsKey(const FactionColourTable& colours, int hexSize, bool terrainOnly);
inline std::string exportSheetsKey(const FactionColourTable& colours, int hexSize) {
    return sheetsKey(colours, hexSize, true);
}

// The 32-bit sheets in the file at `path` when it holds the sheets of `key`; nothing when it
// is missing, made for another key or damaged.
std::optional<SpriteSheets> readSheetCache(const std::string& path, const std::string& key);
// Replaces the file at `path` by the sheets of `key`; false when it cannot be written.
bool writeSheetCache(const std::string& path, const std::string& key, const SpriteSheets& sheets);

// The 32-bit sheets of ground, buildings, bridges and line pieces at `hexSize` (a terrain-only
// build), from the cache file beside the program when it is current; else built and the
// cache renewed where the folder can be written.
SpriteSheets cachedTerrainSheets(const FactionColourTable& colours, int hexSize);

// The 16-bit sheets of the export at `hexSize`, from the cache file beside the program when
// it is current; else built and the cache renewed where the folder can be written.
SpriteSheets cachedExportSheets(const MapDocument& doc, int hexSize);

// Makes `sheets` the map view's sheets at `hexSize` (see SpriteSheets::build), taking them
// from the cache file beside the program when it is current; else they are built and the
// cache renewed where the folder can be written. Nothing is done when `sheets` are current.
void buildViewSheets(SpriteSheets& sheets, int hexSize, const FactionColourTable& colours,
                     bool unitIcons, const WeaponData& weapons);

}  // namespace kv
