// Test helpers: the built program folder and private temporary folders.
#include "support/test_paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <sys/wait.h>
#include <cstdio>

namespace kvtest {

std::string distDir() {
    return KV_DIST_DIR;
}
std::string binDir() {
    return KV_BIN_DIR;
}

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kvtest-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const {
    return path_ + "/" + name;
}

void copySampleData(const std::string& folder) {
    namespace fs = std::filesystem;
    for (const fs::directory_entry& e : fs::directory_iterator(distDir())) {
        const std::string name = e.path().filename().string();
        // The fuzz seeds are no game data.
        if (name == "kvornme" || name == "kvmap" || name == "fuzzseeds" || name.ends_with(".ini") ||
            name[0] == '.')
            continue;
        fs::copy(e.path(), fs::path(folder) / name,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
}

CliRun runKvmap(const std::string& args) {
    const std::string cmd = distDir() + "/kvmap " + args + " 2>&1";
    CliRun r{-1, {}};
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int status = pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace kvtest
