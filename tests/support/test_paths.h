// Test helpers: the built program folder and private temporary folders.
#pragma once

#include <string>

namespace kvtest {

// The laid-out program folder of this build (executables and generated data).
std::string distDir();
// The folder of the built helper executables.
std::string binDir();

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// Copies the generated game data (not the executables) into `folder`.
void copySampleData(const std::string& folder);

// The built kvmap run with `args` (stdout and stderr together) and its exit code.
struct CliRun {
    int code;
    std::string out;
};
CliRun runKvmap(const std::string& args);

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

}  // namespace kvtest
