// Autosave and crash recovery: while the map has unsaved changes, an intermediate file of it is
// written now and then into a recovery folder of the user's own (never over the user's file),
// so that a crash or a killed editor loses a few minutes of work at most; the next start offers
// it back.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace kv {

class MapDocument;

class Autosave {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr int kDefaultMinutes = 3;
    static constexpr const char* kMinutesKey = "AutoSaveMinutes";  // "Environment"; 0 is off
    static constexpr const char* kMapFile = "autosave.kvt";
    static constexpr const char* kInfoFile = "autosave.txt";

    // What a recovery folder holds: the map, the path the map had (empty for a new map), its
    // name and when it was written.
    struct Recovery {
        std::string mapPath;
        std::string originalPath;
        std::string mapName;
        std::string savedAt;
    };

    Autosave(MapDocument& doc, std::string folder, Clock clock = std::chrono::steady_clock::now);
    // Waits for a write under way.
    ~Autosave();
    Autosave(const Autosave&) = delete;
    Autosave& operator=(const Autosave&) = delete;

    // The folder under the user's data location.
    static std::string defaultFolder();
    // The recovery a folder holds; nullopt when it holds none (or only half of one).
    static std::optional<Recovery> find(const std::string& folder);

    void setIntervalMinutes(int minutes) { minutes_ = minutes < 0 ? 0 : minutes; }
    int intervalMinutes() const { return minutes_; }
    const std::string& folder() const { return folder_; }
    // The map changed.
    void noteEdit();
    // The timer's tick: writes when the map is unsaved, changed since the last write, and the
    // interval has passed since the first change after the last write. True when it wrote.
    bool poll();
    // Serialises the map now (on the caller's thread, the map must not change meanwhile) and
    // writes it on a worker. False when the map could not be serialised.
    bool write();
    // The map was saved or replaced, or the editor ends cleanly: the recovery this run wrote
    // (or took over) goes. One left by an earlier run stays until it is offered.
    void discard();
    // The recovery left by an earlier run is this run's now (it was restored).
    void adopt() { owns_ = true; }
    // Removes whatever recovery the folder holds.
    static void remove(const std::string& folder);
    // Waits for the worker.
    void waitForWriter();
    // The outcome of the last write the worker finished: empty, or the error's text.
    std::string lastError();

private:
    MapDocument& doc_;
    std::string folder_;
    Clock clock_;
    int minutes_ = kDefaultMinutes;
    bool pending_ = false;
    bool owns_ = false;  // the folder's recovery is this run's
    std::chrono::steady_clock::time_point since_;
    std::thread writer_;
    std::string error_;
};

}  // namespace kv
