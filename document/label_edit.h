// What the label dialog and the label context menu do to the map: the text trimmed, the
// terrain's name for an empty text with a box ticked, deletion by emptying, and the 1000-label
// limit. Each is one undo step.
#pragma once

#include <string>
#include <string_view>

#include "document/hex_geometry.h"

namespace kv {

class MapDocument;

// The refusal's caption and text when the map has no room for another label.
inline constexpr const char* kLabelLimitCaption = "注意";
inline constexpr const char* kLabelLimitText =
    "これ以上地形ラベルを貼ることはできません。\n地形ラベルは１０００までです。";

// The text without ASCII blanks and full-width spaces at either end (CP932).
std::string trimLabelText(std::string_view cp932);
// A label may be placed on the hex: it has one already, or the map has room for another.
bool labelPlaceable(const MapDocument& doc, HexPos hex);

enum class LabelEdit { Stored, Deleted, Nothing, Refused };
// The dialog's OK: stores the trimmed text (kind 1 when `victory`, the progress flag), or
// deletes the hex's label when the text is empty and no box is ticked.
LabelEdit applyLabelEdit(MapDocument& doc, HexPos hex, std::string_view cp932, bool victory,
                         bool progress);
// The context menu's 削除 after the question was answered Yes.
bool deleteLabelAt(MapDocument& doc, HexPos hex);

}  // namespace kv
