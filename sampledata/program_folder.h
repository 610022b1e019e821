// Lays out a program folder: the data sub-folders the editor reads from.
#pragma once

#include <string>
#include <vector>

namespace kv::sample {

// The data sub-folders of a program folder.
const std::vector<std::string>& dataFolders();
// Creates `root` and its data sub-folders; returns an error text or empty on success.
std::string layOutProgramFolder(const std::string& root);

}  // namespace kv::sample
