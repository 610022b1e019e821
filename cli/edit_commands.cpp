// The whole-map edits on the command line: load, edit, save the way the editor saves.
#include "cli/edit_commands.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "cli/check_command.h"
#include "document/bulk_edits.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/errors.h"

namespace kv::cli {

namespace {

std::optional<int> parseNumber(const std::string& s) {
    int v = 0;
    const char* end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, v);
    if (ec != std::errc() || ptr != end || s.empty()) return std::nullopt;
    return v;
}

}  // namespace

bool openMap(MapDocument& doc, const std::string& file, const std::string& programDir) {
    if (!loadProgramData(doc, programDir)) return false;
    if (!loadMapFile(doc, file)) {
        std::fprintf(stderr, "kvmap: %s: cannot be read as a map\n", file.c_str());
        return false;
    }
    return true;
}

// Saves as the editor does; the kind follows the extension of `out`: ".kvn" a normal map,
// ".kvt" an intermediate file, anything else a scenario map (which keeps everything).
bool saveMap(MapDocument& doc, const std::string& out) {
    std::string ext = std::filesystem::path(out).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    try {
        if (ext == ".kvt") {
            writeMapFile(doc, out, MapFileKind::Intermediate);
        } else {
            doc.prepareForSave();
            writeMapFile(doc, out, ext == ".kvn" ? MapFileKind::Normal : MapFileKind::Scenario);
        }
    } catch (const swCError& e) {
        std::fprintf(stderr, "kvmap: %s: %s\n", out.c_str(), e.text().c_str());
        return false;
    }
    return true;
}

int runResizeCommand(const std::string& file, const std::string& width, const std::string& height,
                     const std::string& anchor, const std::string& out,
                     const std::string& programDir) {
    const std::optional<int> w = parseNumber(width), h = parseNumber(height);
    const std::optional<int> a = anchor.empty() ? std::optional<int>(0) : parseNumber(anchor);
    if (!w || !h) {
        std::fprintf(stderr, "kvmap: resize needs --width and --height as numbers\n");
        return 2;
    }
    const std::string_view refusal = mapSizeRefusal(*w, *h);
    if (!refusal.empty()) {
        std::fprintf(stderr, "kvmap: %.*s\n", static_cast<int>(refusal.size()), refusal.data());
        return 2;
    }
    if (!a || *a < 0 || *a >= kAnchorCount) {
        std::fprintf(stderr, "kvmap: --anchor must be 0..8 (row x 3 + column, 0 top left)\n");
        return 2;
    }
    if (out.empty()) {
        std::fprintf(stderr, "kvmap: resize needs --out\n");
        return 2;
    }
    MapDocument doc;
    if (!openMap(doc, file, programDir)) return 2;
    const int oldWidth = doc.width(), oldHeight = doc.height();
    const MapSizeChange c = changeMapSize(doc, *w, *h, *a);
    if (!saveMap(doc, out)) return 2;
    std::printf(
        "%s: %d x %d -> %d x %d, hexes moved by (%d, %d), %d labels dropped, "
        "%d troops deleted\n",
        out.c_str(), oldWidth, oldHeight, doc.width(), doc.height(), c.colOffset, c.rowOffset,
        c.labelsDropped, c.troopsDeleted);
    return 0;
}

int runPackTroopsCommand(const std::string& file, const std::string& out,
                         const std::string& programDir) {
    if (out.empty()) {
        std::fprintf(stderr, "kvmap: pack-troops needs --out\n");
        return 2;
    }
    MapDocument doc;
    if (!openMap(doc, file, programDir)) return 2;
    const int moved = packTroopNumbers(doc);
    if (!saveMap(doc, out)) return 2;
    std::printf("%s: %d troops renumbered\n", out.c_str(), moved);
    return 0;
}

}  // namespace kv::cli
