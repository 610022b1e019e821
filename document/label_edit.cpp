// Label editing as the dialog and the context menu do it.
#include "document/label_edit.h"

#include "document/edit_operation.h"
#include "document/map_document.h"
#include "framework/cp932.h"

namespace kv {

namespace {

// The length of a blank starting at `i`: an ASCII blank or a full-width space.
size_t blankAt(std::string_view s, size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') return 1;
    if (c == 0x81 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x40) return 2;
    return 0;
}

}  // namespace

std::string trimLabelText(std::string_view s) {
    // Walk by characters, so that a trail byte 0x40 or 0x20 is never taken for a blank.
    size_t start = 0, end = 0, i = 0;
    bool seen = false;
    while (i < s.size()) {
        if (s[i] == '\0') break;
        const size_t blank = blankAt(s, i);
        const size_t step =
            blank ? blank
                  : (isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1);
        if (!blank) {
            if (!seen) start = i;
            seen = true;
            end = i + step;
        }
        i += step;
    }
    return seen ? std::string(s.substr(start, end - start)) : std::string();
}

bool labelPlaceable(const MapDocument& doc, HexPos hex) {
    return doc.labelAt(hex.col, hex.row) != nullptr || doc.labelCount() < MapGrid::kMaxLabels;
}

LabelEdit applyLabelEdit(MapDocument& doc, HexPos hex, std::string_view cp932, bool victory,
                         bool progress) {
    if (!doc.contains(hex.col, hex.row)) return LabelEdit::Nothing;
    std::string text = trimLabelText(cp932);
    if (text.empty() && (victory || progress))
        text = fieldText(doc.gameDatabase.terrain(doc.cellAt(hex.col, hex.row)->terrain).name,
                         kTerrainNameBytes);
    const TerrainLabel* old = doc.labelAt(hex.col, hex.row);
    if (text.empty()) {
        if (!old) return LabelEdit::Nothing;
        deleteLabelAt(doc, hex);
        return LabelEdit::Deleted;
    }
    if (!labelPlaceable(doc, hex)) return LabelEdit::Refused;
    TerrainLabel wanted{};
    wanted.setText(text);
    wanted.col = static_cast<uint8_t>(hex.col);
    wanted.row = static_cast<uint8_t>(hex.row);
    wanted.kind = victory ? 1 : 0;
    wanted.value = progress ? 1 : 0;
    if (old && *old == wanted) return LabelEdit::Nothing;  // OK without a change: no undo step
    EditOperation op(doc, EditOperation::History::NewStep, "ラベル");
    doc.setLabel(hex.col, hex.row, text, wanted.kind, wanted.value);
    op.change().labels = true;
    return LabelEdit::Stored;
}

bool deleteLabelAt(MapDocument& doc, HexPos hex) {
    if (!doc.labelAt(hex.col, hex.row)) return false;
    EditOperation op(doc, EditOperation::History::NewStep, "ラベル削除");
    doc.deleteLabel(hex.col, hex.row);
    op.change().labels = true;
    return true;
}

}  // namespace kv
