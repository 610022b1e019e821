// The document's undo history: for each editing operation the before-images its primitives
// took before they changed anything, newest last, and for each operation undone the images that
// redo it. The history keeps at most `depth` operations and about `maxBytes` of images, dropping
// the oldest first; a depth of 1 keeps only the last operation.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "document/undo_record.h"

namespace kv {

class MapDocument;
struct MapSettings;

// One operation's images, oldest first, and the scenario settings from before it when it
// changed them.
struct UndoStep {
    std::string name;  // what the operation was; empty when it was not named
    std::vector<UndoRecord> records;
    std::shared_ptr<const MapSettings> settings;
    bool empty() const { return records.empty() && !settings; }
};

// How the history list names a step: its name with the number of hexes it changed, e.g.
// "地形配置 (12ヘックス)"; "編集" for an unnamed one.
std::string stepCaption(const UndoStep& step);

class UndoHistory {
public:
    explicit UndoHistory(MapDocument& doc) : doc_(doc) {}
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    static constexpr size_t kDefaultMaxBytes = size_t(256) << 20;

    // Starts the step of a new operation: the redo steps go, and the oldest steps beyond the
    // limits. EditOperation calls it.
    void begin(std::string name = {});
    // An operation ended: a step that recorded nothing is dropped, so an undo reaches the
    // step before it.
    void end();
    void clearUndo();
    void clearRedo();
    // Forgets every step. `origin` says why, for the history list (a load or a new map says
    // nothing; an edit that cannot be undone names itself).
    void clear(std::string origin = {}) {
        clearUndo();
        clearRedo();
        origin_ = std::move(origin);
        dropped_ = 0;
    }
    const std::string& origin() const { return origin_; }
    // Steps dropped off the old end by the limits since the last clear.
    int dropped() const { return dropped_; }
    // How many operations and how many bytes of images are kept (at least one operation).
    void setLimits(int depth, size_t maxBytes = kDefaultMaxBytes);
    int depth() const { return depth_; }
    size_t maxBytes() const { return maxBytes_; }
    // The step an undo / a redo would take, empty when there is none.
    const UndoStep& undoStep() const { return done_.empty() ? kNoStep : done_.back(); }
    const UndoStep& redoStep() const { return undone_.empty() ? kNoStep : undone_.back(); }
    const std::vector<UndoRecord>& undoStack() const { return undoStep().records; }
    const std::vector<UndoRecord>& redoStack() const { return redoStep().records; }
    // Every step kept, oldest first / the steps undone, the next to redo last.
    const std::deque<UndoStep>& doneSteps() const { return done_; }
    const std::vector<UndoStep>& undoneSteps() const { return undone_; }
    // The memory the images of the kept steps take.
    size_t bytes() const;
    static size_t bytesOf(const UndoStep& step);
    bool canUndo() const { return !undoStep().empty(); }
    bool canRedo() const { return !redoStep().empty(); }

    // Before-images. One of something that does not exist is not taken.
    void recordHex(int col, int row);
    void recordHexAndTroop(int col, int row, int table, int slot);
    void recordTroop(int table, int slot);
    void recordLabel(int col, int row);
    void recordRegiment(int faction, int regiment);
    void recordTroopCounts();
    // The scenario settings (map header, factions, production lists, rules), once a step.
    void recordSettings();
    // A record as it is; restoring skips whatever in it names nothing that exists.
    void append(const UndoRecord& record) { current().records.push_back(record); }

    // Take the last step back / do it again: an operation of its own that keeps the history,
    // always reported (an empty step too) as touching the whole map.
    void undo();
    void redo();

private:
    static const UndoStep kNoStep;
    UndoStep& current();
    UndoRecord& add(UndoRecord::Kind kind);
    void trim();
    // Walks `from` back into the document, writing the images that reverse it into `to`.
    void replay(UndoStep& from, UndoStep& to);
    void walk(UndoStep& from, UndoStep& to);

    MapDocument& doc_;
    std::deque<UndoStep> done_;
    std::vector<UndoStep> undone_;
    // An emptied record buffer kept for the next walk (its capacity only).
    std::vector<UndoRecord> spare_;
    std::string origin_;
    int dropped_ = 0;
    int depth_ = 1;
    size_t maxBytes_ = kDefaultMaxBytes;
};

}  // namespace kv
