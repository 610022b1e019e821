// A private program folder for a whole fuzzing run, in memory where possible, that the data
// readers find through the program path.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <system_error>

#include <unistd.h>

#include "framework/profile.h"

namespace kvfuzz {

inline std::string& scratchRoot() {
    static std::string root;
    return root;
}

inline void removeScratchProgram() {
    std::error_code ec;
    std::filesystem::remove_all(scratchRoot(), ec);
}

// A private folder for the run's scratch files, removed at exit; it does not change the
// program path.
inline const std::string& scratchFolder() {
    static const std::string& root = []() -> const std::string& {
        std::string tmpl = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        tmpl += "/kvfuzz-XXXXXX";
        if (!::mkdtemp(tmpl.data())) std::abort();
        scratchRoot() = tmpl;
        std::atexit(removeScratchProgram);
        return scratchRoot();
    }();
    return root;
}

// Creates the folder with `subFolders` on first use and points the program path into it.
inline const std::string& scratchProgram(std::initializer_list<const char*> subFolders) {
    static const std::string& root = [&]() -> const std::string& {
        const std::string& folder = scratchFolder();
        for (const char* sub : subFolders) {
            std::error_code ec;
            std::filesystem::create_directories(folder + "/" + sub, ec);
            if (ec) std::abort();
        }
        kv::setProgramPath(folder + "/kvornme");
        return folder;
    }();
    return root;
}

inline void expect(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace kvfuzz
