// `kvmap convert SRC... --out DIR`: the batch conversion of maps into current map files.
#pragma once

#include <string>
#include <vector>

namespace kv::cli {

// SRC are map files or folders (every file of a folder, not its sub-folders). Prints a line
// per converted or failed file, a progress bar when stderr is a terminal, and a summary.
// A file cut short fails unless `force` (then what it holds is converted). Returns 0 when
// every map was converted, 1 when any file failed, 2 when the batch could not run (no game
// data, no destination, a destination that is a source folder).
int runConvertCommand(const std::vector<std::string>& sources, const std::string& outDir,
                      const std::string& programDir, bool force = false);

}  // namespace kv::cli
