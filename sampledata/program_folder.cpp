// Lays out a program folder.
#include "sampledata/program_folder.h"

#include <filesystem>
#include <system_error>

namespace kv::sample {

const std::vector<std::string>& dataFolders() {
    static const std::vector<std::string> folders = {
        "bmp", "unit", "wave", "map", "rf", "NetSave", "munit", "bgm", "rule", "product", "data"};
    return folders;
}

std::string layOutProgramFolder(const std::string& root) {
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    if (ec) return root + ": " + ec.message();
    for (const std::string& f : dataFolders()) {
        std::filesystem::create_directories(std::filesystem::path(root) / f, ec);
        if (ec) return root + "/" + f + ": " + ec.message();
    }
    return {};
}

}  // namespace kv::sample
