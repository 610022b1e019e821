// The document's undo history: the before-images of the last editing operation, taken by the
// primitives before they change anything, and once it is undone the images that redo it.
#pragma once

#include <string>
#include <vector>

#include "document/undo_record.h"

namespace kv {

class MapDocument;

// One operation's images, oldest first.
struct UndoStep {
    std::string name;  // what the operation was; empty when it was not named
    std::vector<UndoRecord> records;
};

class UndoHistory {
public:
    explicit UndoHistory(MapDocument& doc) : doc_(doc) {}
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // Starts the step of a new operation: both stacks emptied. EditOperation calls it.
    void begin(std::string name = {});
    void clearUndo();
    void clearRedo();
    void clear() {
        clearUndo();
        clearRedo();
    }
    const UndoStep& undoStep() const { return undo_; }
    const UndoStep& redoStep() const { return redo_; }
    const std::vector<UndoRecord>& undoStack() const { return undo_.records; }
    const std::vector<UndoRecord>& redoStack() const { return redo_.records; }
    bool canUndo() const { return !undo_.records.empty(); }
    bool canRedo() const { return !redo_.records.empty(); }

    // Before-images. One of something that does not exist is not taken.
    void recordHex(int col, int row);
    void recordHexAndTroop(int col, int row, int table, int slot);
    void recordTroop(int table, int slot);
    void recordLabel(int col, int row);
    void recordRegiment(int faction, int regiment);
    void recordTroopCounts();
    // A record as it is; restoring skips whatever in it names nothing that exists.
    void append(const UndoRecord& record) { undo_.records.push_back(record); }

    // Take the last step back / do it again: an operation of its own that keeps the history,
    // always reported (an empty step too) as touching the whole map.
    void undo();
    void redo();

private:
    UndoRecord& add(UndoRecord::Kind kind);
    void replay(UndoStep& from, UndoStep& to);
    void walk(UndoStep& from, UndoStep& to);

    MapDocument& doc_;
    UndoStep undo_;
    UndoStep redo_;
};

}  // namespace kv
