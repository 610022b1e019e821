// kvsampledata: writes the bundled game data into a program folder.
#include <cstdio>
#include <string>

#include "sampledata/program_folder.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kvsampledata PROGRAM_FOLDER\n");
        return 2;
    }
    const std::string root = argv[1];
    const std::string error = kv::sample::layOutProgramFolder(root);
    if (!error.empty()) {
        std::fprintf(stderr, "kvsampledata: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
