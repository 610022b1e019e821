// One editing operation on the document: it opens the undo step, collects what changes while
// it lives, and when it ends marks the map changed and tells the document's observer.
#pragma once

#include <string>
#include <vector>

#include "document/hex_geometry.h"

namespace kv {

class MapDocument;

// What one operation changed, for the windows that show it.
struct EditChange {
    // The hexes marked dirty, in order (a hex may appear more than once); not listed once
    // wholeMap is set.
    std::vector<HexPos> hexes;
    // Too much to list: the view draws whatever the redraw grid marks, the overview and every
    // list window redraw.
    bool wholeMap = false;
    // The map has a new size: the view starts afresh; the list windows redraw.
    bool newSize = false;
    bool troops = false;        // troop records, their stacks or counts
    bool labels = false;        // terrain labels
    bool buildings = false;     // buildings placed, removed or changing owner
    bool organisation = false;  // troops moved to other slots of their organisation
    // The scenario texts, their display bytes or pictures.
    bool scenarioTexts = false;

    bool any() const {
        return !hexes.empty() || wholeMap || newSize || troops || labels || buildings ||
               organisation || scenarioTexts;
    }
    void addHex(int col, int row) {
        if (wholeMap) return;
        // A primitive marks the same hex several times in a row; once is enough.
        if (hexes.empty() || hexes.back() != HexPos{col, row}) hexes.push_back({col, row});
    }
};

// Lives for one operation (a stroke of a tool, a dialog's OK, a whole-map command). An
// operation begun while another is open on the same document is part of that one: it begins
// no step and reports nothing of its own.
class EditOperation {
public:
    enum class History {
        NewStep,  // the usual: both stacks emptied, the operation's records become the step
        Keep,     // an undo or redo, or a command with nothing to record: the history stays
    };

    explicit EditOperation(MapDocument& doc, History history = History::NewStep,
                           std::string stepName = {});
    ~EditOperation();
    EditOperation(const EditOperation&) = delete;
    EditOperation& operator=(const EditOperation&) = delete;

    // Where the operation says what else it changed (the hexes are collected as they are
    // marked dirty).
    EditChange& change();
    // Ends the operation: when anything changed the map is no longer clean and the document's
    // observer hears of it. Later calls, and the destructor after one, do nothing.
    void commit();

private:
    MapDocument& doc_;
    EditChange own_;
    EditChange* change_;
    bool outermost_;
    bool committed_ = false;
};

}  // namespace kv
