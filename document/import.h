// Maps of the earlier editions: what format a file is in, reading it into the document, and
// the fix-ups that turn the result into a map of this editor.
#pragma once

#include <string>
#include <string_view>

#include "document/legacy_layouts.h"

namespace kv {

class MapDocument;

// The format of a map file by its first 16 bytes (kinds in legacy_layouts.h: 0 unknown,
// 1..4 the earlier editions, 5 this editor's format) and the number its magic ends in.
struct MapKindInfo {
    int kind = legacy::kUnknown;
    int version = 0;
    bool operator==(const MapKindInfo&) const = default;
};

MapKindInfo detectMapKindBytes(std::string_view bytes);
// Kind 0 for a file that cannot be opened or is shorter than 16 bytes.
MapKindInfo detectMapKind(const std::string& path);

// Empties the document for an import: zeroed header with the current magic, zeroed factions,
// production lists, grid, scenario texts and evacuation targets, pictures and the previous
// map's user data dropped, the second rule set in force, organisation reset, troops cleared,
// no redraw grid, no undo history, specChangedTroops = 0.
void clearForImport(MapDocument& doc);

// Reads a file of kind 1..4 into a document emptied by clearForImport and brings the derived
// tables up to date. False for kinds 0 and 5 and for a magic that is not one of the kind's
// versions (nothing read then). A file that cannot be read is reported through the prompter
// (the framework's file error) and gives false.
bool importEarlierMap(MapDocument& doc, const std::string& path);
// The same on a file's bytes; never reports anything.
bool importEarlierMapBytes(MapDocument& doc, std::string_view bytes);

// Makes an imported map one of this editor: participating factions get anthems in slot order,
// the first production preset, the default division limits, production count limit 198 where
// it is 0 and 200 in the word at 48; production lists are refreshed and the first rule set is
// put in force (the converted rule record is not kept); unused terrain 50 becomes plain land,
// cell byte 10 is cleared and plain terrain gets its own picture; derived per-hex data,
// labels, troop stacks and the redraw grid are rebuilt, undo history cleared.
void finishImport(MapDocument& doc, int kind);

// The import command on a chosen file: no file path, detect, clear, import, finish, every hex
// to be redrawn, isClean = 0; when troops had to change, the caution below is shown once and
// specChangedTroops is cleared. True when the file was read; otherwise (a file error already
// reported, or no map of an earlier edition) the document holds a new map.
bool openEarlierMap(MapDocument& doc, const std::string& path);

inline constexpr const char* kImportCautionCaption = "注意";
inline constexpr const char* kSpecChangedTroopsText =
    "仕様の変更に伴い、一部の初期配置部隊が変更されました。";

// The open dialog of the import command.
inline constexpr const char* kEarlierMapDialogTitle = "ケステルｼﾘｰｽﾞﾏｯﾌﾟを開く";
inline constexpr const char* kEarlierMapFolderKey = "OtherPath";
struct EarlierMapFilter {
    const char* label;
    const char* patterns;  // separated by ';'
};
inline constexpr EarlierMapFilter kEarlierMapFilters[4] = {
    {"リアルタイム版ケステルドラヴィ1.0(*.wtm)", "*.wtm"},
    {"ケステルドラヴィ2.0(*.qus;*.qum)", "*.qus;*.qum"},
    {"ケステルドラヴィ2.0DX(*.bxm;*.bxs)", "*.bxm;*.bxs"},
    {"ノヴァケステル2005(*.fws;*.fwm)", "*.fws;*.fwm"},
};

}  // namespace kv
