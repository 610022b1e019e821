// `kvmap export`: loads a map like the editor opens it and writes the bitmap export.
#include "cli/export_command.h"

#include <charconv>
#include <cstdio>

#include "cli/check_command.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/errors.h"
#include "view/bitmap_export.h"

namespace kv::cli {

int runExportCommand(const std::string& file, const std::string& out, const std::string& hexSize,
                     const std::string& programDir) {
    int size = 32;
    if (!hexSize.empty()) {
        // The whole argument is the number: "48abc" is no size.
        const char* end = hexSize.data() + hexSize.size();
        const auto [ptr, ec] = std::from_chars(hexSize.data(), end, size);
        if (ec != std::errc() || ptr != end) size = 0;
    }
    if (size != 16 && size != 32 && size != 48) {
        std::fprintf(stderr, "kvmap: --hex-size %s: must be 16, 32 or 48\n", hexSize.c_str());
        return 2;
    }
    if (out.empty()) {
        std::fprintf(stderr, "kvmap: export needs the file to write\n");
        return 2;
    }
    MapDocument doc;
    if (!loadProgramData(doc, programDir)) return 2;
    if (!loadMapFile(doc, file)) {
        std::fprintf(stderr, "kvmap: %s: cannot be read as a map\n", file.c_str());
        return 2;
    }
    try {
        exportBitmap(doc, size, out);
    } catch (const swCError& e) {
        std::fprintf(stderr, "kvmap: %s: %s\n", out.c_str(), e.text().c_str());
        return 2;
    }
    return 0;
}

}  // namespace kv::cli
