// `kvmap export FILE OUT`: the map's terrain as the editor's bitmap export writes it, or as a
// file manager's thumbnail.
#pragma once

#include <string>

namespace kv::cli {

// Loads the map and writes its export at `hexSize` (16, 32 or 48; empty for 32) to `out`: a
// 16-bit bitmap file, or a PNG of the same picture when `out` ends in ".png", compressed at
// `pngLevel` (1..12; empty for the default). Returns 0, or 2 (after saying why) for a bad
// size or level, an unreadable map or a failed write.
int runExportCommand(const std::string& file, const std::string& out, const std::string& hexSize,
                     const std::string& pngLevel, const std::string& programDir);
// Loads the map and writes its thumbnail, fitted into a `size`-pixel square (16..1024), to
// `out` as PNG whatever its name. Returns 0, or 2 (after saying why) as runExportCommand.
int runThumbnailCommand(const std::string& file, const std::string& out, const std::string& size,
                        const std::string& programDir);

}  // namespace kv::cli
