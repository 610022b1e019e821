// `kvmap script`: the script runner over a map loaded as the other commands load it.
#include "cli/script_command.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "cli/check_command.h"
#include "cli/edit_commands.h"
#include "document/map_document.h"
#include "script/script_runner.h"

namespace kv::cli {

int runScriptCommand(const std::string& script, const std::string& map,
                     const std::vector<std::string>& args, const std::string& timeout,
                     const std::string& out, const std::string& programDir) {
    std::map<std::string, std::string> values;
    for (const std::string& a : args) {
        const size_t eq = a.find('=');
        if (eq == std::string::npos || eq == 0) {
            std::fprintf(stderr, "kvmap: --arg needs KEY=VALUE, not '%s'\n", a.c_str());
            return 2;
        }
        values[a.substr(0, eq)] = a.substr(eq + 1);
    }
    double limit = kDefaultScriptTimeout;
    if (!timeout.empty()) {
        char* end = nullptr;
        limit = std::strtod(timeout.c_str(), &end);
        if (end == timeout.c_str() || *end != '\0' || !(limit > 0)) {
            std::fprintf(stderr, "kvmap: --timeout needs a number of seconds above 0\n");
            return 2;
        }
    }
    MapDocument doc;
    if (map.empty() ? !loadProgramData(doc, programDir) : !openMap(doc, map, programDir)) return 2;
    ScriptRunner runner(doc);
    runner.setArguments(std::move(values));
    runner.setTimeout(limit);
    const ScriptResult r = runner.runFile(script);
    std::fflush(stdout);
    if (!r.ok) {
        std::fprintf(stderr, "kvmap: %s\n", r.error.c_str());
        return 2;
    }
    if (!out.empty() && !saveMap(doc, out)) return 2;
    return 0;
}

}  // namespace kv::cli
