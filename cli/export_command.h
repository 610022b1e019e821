// `kvmap export FILE OUT`: the map's terrain as the editor's bitmap export writes it.
#pragma once

#include <string>

namespace kv::cli {

// Loads the map and writes its export at `hexSize` (16, 32 or 48; empty for 32) to `out`: a
// 16-bit bitmap file, or a PNG of the same picture when `out` ends in ".png". Returns 0, or 2
// (after saying why) for a bad size, an unreadable map or a failed write.
int runExportCommand(const std::string& file, const std::string& out, const std::string& hexSize,
                     const std::string& programDir);

}  // namespace kv::cli
