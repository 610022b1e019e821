// `kvmap export`: loads a map like the editor opens it and writes the bitmap export.
#include "cli/export_command.h"

#include <charconv>
#include <cstdio>

#include "cli/check_command.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/errors.h"
#include "view/bitmap_export.h"
#include "view/map_thumbnail.h"
#include "view/sheet_cache.h"

namespace kv::cli {

namespace {

// The whole argument is the number: "48abc" is none (0).
int wholeNumber(const std::string& text) {
    int n = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, n);
    return ec == std::errc() && ptr == end ? n : 0;
}

// Loads the program data and the map, then writes `out` with `write`; 0 or 2 after saying why.
template <class Write>
int exportMap(const std::string& file, const std::string& out, const std::string& programDir,
              Write write) {
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
        write(doc);
    } catch (const swCError& e) {
        std::fprintf(stderr, "kvmap: %s: %s\n", out.c_str(), e.text().c_str());
        return 2;
    }
    return 0;
}

}  // namespace

int runExportCommand(const std::string& file, const std::string& out, const std::string& hexSize,
                     const std::string& pngLevel, const std::string& programDir) {
    const int size = hexSize.empty() ? 32 : wholeNumber(hexSize);
    if (size != 16 && size != 32 && size != 48) {
        std::fprintf(stderr, "kvmap: --hex-size %s: must be 16, 32 or 48\n", hexSize.c_str());
        return 2;
    }
    PngOptions png;
    if (!pngLevel.empty()) png.level = wholeNumber(pngLevel);
    if (png.level < kMinPngLevel || png.level > kMaxPngLevel) {
        std::fprintf(stderr, "kvmap: --png-level %s: must be %d to %d\n", pngLevel.c_str(),
                     kMinPngLevel, kMaxPngLevel);
        return 2;
    }
    return exportMap(file, out, programDir, [&](const MapDocument& doc) {
        exportBitmap(doc, cachedExportSheets(doc, size), out, png);
    });
}

int runThumbnailCommand(const std::string& file, const std::string& out, const std::string& size,
                        const std::string& programDir) {
    const int pixels = wholeNumber(size);
    if (pixels < kMinThumbnailSize || pixels > kMaxThumbnailSize) {
        std::fprintf(stderr, "kvmap: --thumbnail %s: must be %d to %d\n", size.c_str(),
                     kMinThumbnailSize, kMaxThumbnailSize);
        return 2;
    }
    return exportMap(file, out, programDir,
                     [&](const MapDocument& doc) { writeMapThumbnail(doc, pixels, out); });
}

}  // namespace kv::cli
