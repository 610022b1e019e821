// Data folder paths and weapon file names.
#include "framework/data_paths.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

#include <dirent.h>

#include "framework/disk_file.h"
#include "framework/profile.h"

namespace kv {

namespace {

template <typename... Args>
std::string formatName(const char* pattern, Args... args) {
    char buffer[64];
    int n = std::snprintf(buffer, sizeof buffer, pattern, args...);
    return n > 0 ? std::string(buffer, std::min(static_cast<size_t>(n), sizeof buffer - 1))
                 : std::string();
}

// Of `names`, the first that exists as a file in `folder` ignoring case; the folder is read
// once rather than once per name. Returns names.size() when none exists.
template <size_t N>
size_t firstExisting(const std::string& folder, const std::array<std::string, N>& names) {
    size_t best = N;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return best;
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_type == DT_DIR) continue;
        std::string_view entry(e->d_name);
        for (size_t i = 0; i < best; ++i) {
            if (equalsIgnoringAsciiCase(entry, names[i]) && fileExists(folder + e->d_name)) {
                best = i;
                break;
            }
        }
    }
    ::closedir(dir);
    return best;
}

std::string pathIn(std::string folder, std::string_view fileName, DataKind kind) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    folder += dataSubFolder(kind);
    folder += fileName;
    return folder;
}

}  // namespace

std::string_view dataSubFolder(DataKind kind) {
    switch (kind) {
        case DataKind::Bmp: return "bmp/";
        case DataKind::Unit: return "unit/";
        case DataKind::Wave: return "wave/";
        case DataKind::Map: return "map/";
        case DataKind::Rf: return "rf/";
        case DataKind::NetSave: return "NetSave/";
        case DataKind::MUnit: return "munit/";
        case DataKind::Bgm: return "bgm/";
        case DataKind::Rule: return "rule/";
        case DataKind::Product: return "product/";
        default: return "";
    }
}

std::string dataPath(std::string_view fileName, DataKind kind) {
    if (!fileName.empty() && programFolderReadOnly()) {
        std::string own = findFileCaseInsensitive(pathIn(userDataFolder(), fileName, kind));
        if (fileExists(own)) return own;
    }
    return findFileCaseInsensitive(pathIn(programFolder(), fileName, kind));
}

std::string writableDataPath(std::string_view fileName, DataKind kind) {
    if (!programFolderReadOnly()) return dataPath(fileName, kind);
    const std::string path = findFileCaseInsensitive(pathIn(userDataFolder(), fileName, kind));
    // A folder that cannot be made shows as the writer's own error.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    return path;
}

std::string unitPictureFile(int weaponId, int pictureNumber, int& pictureKind) {
    if (weaponId >= 5000 && weaponId <= 9999 && pictureNumber >= 20000)
        return formatName("t%05d.bmp", weaponId);
    // Suffix order beats size: a plain "h" picture wins over a large "p" one.
    static const char* const kSuffixes[] = {"h", "p", "a", "s", ""};
    static const int kKinds[] = {1, 2, 3, 4, 0};
    std::array<std::string, 10> names;
    for (size_t i = 0; i < 5; ++i) {
        names[2 * i] = formatName("%04d%s_L.bmp", pictureNumber, kSuffixes[i]);
        names[2 * i + 1] = formatName("%04d%s.bmp", pictureNumber, kSuffixes[i]);
    }
    size_t found = firstExisting(dataPath("", DataKind::Unit), names);
    if (found == names.size()) return formatName("%04d.bmp", pictureNumber);
    pictureKind = kKinds[found / 2];
    return names[found];
}

std::string smallIconFile(int number, int size, UserForm form) {
    if (number <= 19999) return {};
    return formatName(form == UserForm::E ? "emi%d_%d.bmp" : "tmi%d_%d.bmp", number, size);
}

std::string typeIconFile(int number, int size, UserForm form) {
    if (number <= 19999) return {};
    return formatName(form == UserForm::E ? "ewt%d_%d.bmp" : "twt%d_%d.bmp", number, size);
}

std::string descriptionFile(int textNumber, UserForm form) {
    if (textNumber <= 4999) return formatName("%04d.txt", textNumber);
    return formatName(form == UserForm::E ? "edc%05d.txt" : "tdc%05d.txt", textNumber);
}

}  // namespace kv
