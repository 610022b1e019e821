// The export's sprite sheets kept in a cache file beside the program, so that a command-line
// export does not read, colour and scale the art every time it runs.
#pragma once

#include <optional>
#include <string>

#include "view/sprite_sheets.h"

namespace kv {

class FactionColourTable;
class MapDocument;

// What the export's sheets at `hexSize` depend on: the cache format, the size, the owner
// hues and the path, size and modification time of each art file.
std::string exportSheetsKey(const FactionColourTable& colours, int hexSize);

// The 32-bit sheets in the file at `path` when it holds the sheets of `key`; nothing when it
// is missing, made for another key or damaged.
std::optional<SpriteSheets> readSheetCache(const std::string& path, const std::string& key);
// Replaces the file at `path` by the sheets of `key`; false when it cannot be written.
bool writeSheetCache(const std::string& path, const std::string& key, const SpriteSheets& sheets);

// The 16-bit sheets of the export at `hexSize`, from the cache file beside the program when
// it is current; else built and the cache renewed where the folder can be written.
SpriteSheets cachedExportSheets(const MapDocument& doc, int hexSize);

}  // namespace kv
