// `kvmap check`: loads maps the way the editor opens them and prints their map check.
#include "cli/check_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

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

std::string whyUnreadable(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (!fs::exists(st)) return "no such file";
    if (fs::is_directory(st)) return "a folder, not a map file";
    if (!fs::is_regular_file(st)) return "not a regular file (a FIFO, device or socket)";
    const uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > kMaxMapFileBytes)
        return "too large to be a map file (" + std::to_string(size) + " bytes; at most " +
               std::to_string(kMaxMapFileBytes) + ")";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::string("cannot be opened: ") + std::strerror(errno);
    ::close(fd);
    return "cannot be read";
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
        MapReadReport report;
        if (!loadMapFile(doc, path, &report)) {
            const std::string why = report.outcome == MapReadReport::Unread
                                        ? whyUnreadable(path)
                                        : "cannot be read as a map";
            std::fprintf(stderr, "kvmap: %s: %s\n", path.c_str(), why.c_str());
            result = 2;
            continue;
        }
        const std::vector<MapProblem> problems = checkMap(doc);
        // What the file lacks is a problem the check of the records cannot see.
        if (report.damaged()) std::printf("%s\n", mapDamageText(report).c_str());
        if (!report.damaged() || !problems.empty())
            std::fputs(checkReportLines(problems).c_str(), stdout);
        if ((report.damaged() || !problems.empty()) && result == 0) result = 1;
    }
    std::fflush(stdout);
    return result;
}

}  // namespace kv::cli
