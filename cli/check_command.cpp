// `kvmap check`: loads maps the way the editor opens them and prints their map check.
#include "cli/check_command.h"

#include <cstdio>

#include "document/map_check.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/errors.h"
#include "framework/profile.h"

namespace kv::cli {

bool loadProgramData(MapDocument& doc, const std::string& programDir) {
    if (!programDir.empty())
        setProgramPath(programDir + (programDir.back() == '/' ? "" : "/") + "kvmap");
    try {
        doc.loadResources();
    } catch (const swCError& e) {
        // The loader has shown its message already.
        std::fprintf(stderr, "kvmap: %s%s%s\n", e.caption.c_str(), e.caption.empty() ? "" : ": ",
                     e.text().c_str());
        return false;
    }
    doc.resetToNewMap();
    return true;
}

int runCheckCommand(const std::vector<std::string>& files, const std::string& programDir) {
    if (files.empty()) {
        std::fprintf(stderr, "kvmap: check needs at least one map file\n");
        return 2;
    }
    MapDocument doc;
    if (!loadProgramData(doc, programDir)) return 2;
    int result = 0;
    for (const std::string& path : files) {
        if (files.size() > 1) std::printf("%s:\n", path.c_str());
        if (!loadMapFile(doc, path)) {
            std::fprintf(stderr, "kvmap: %s: cannot be read as a map\n", path.c_str());
            result = 2;
            continue;
        }
        const std::vector<MapProblem> problems = checkMap(doc);
        std::fputs(checkReportLines(problems).c_str(), stdout);
        if (!problems.empty() && result == 0) result = 1;
    }
    std::fflush(stdout);
    return result;
}

}  // namespace kv::cli
