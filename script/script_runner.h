// Runs a JavaScript file on the open map: the `map`, `brush` and `db` objects, `print`, `open`,
// `newMap` and `args` (docs/scripting.md). Every edit goes through the document operations the
// mouse tools use, and a whole run is one undo step.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace kv {

class MapDocument;

struct ScriptResult {
    bool ok = true;
    bool interrupted = false;  // the time limit ran out
    // "FILE:LINE: message" of the error that ended the script (UTF-8); empty when ok.
    std::string error;
    // open() or newMap() replaced the map (the caller treats it as a new document).
    bool mapReplaced = false;
};

class ScriptRunner {
public:
    explicit ScriptRunner(MapDocument& doc);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Where print() writes, one call per line (UTF-8); standard output when not set.
    void setPrint(std::function<void(const std::string&)> print);
    // The `args` object: --arg k=v of the command line.
    void setArguments(std::map<std::string, std::string> args);
    // A run longer than this is interrupted; 0 or less: no limit.
    void setTimeout(double seconds);
    // The name of the step in the undo history.
    void setStepName(std::string name);

    // Runs source code (UTF-8) under the file name its errors name.
    ScriptResult run(const std::string& source, const std::string& fileName);
    // Reads and runs a script file; an unreadable file is an error of its own.
    ScriptResult runFile(const std::string& path);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The default time limit of a script run, in seconds.
inline constexpr double kDefaultScriptTimeout = 60.0;

}  // namespace kv
