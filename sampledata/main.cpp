// kvsampledata: writes the bundled game data into a program folder.
#include <chrono>
#include <cstdio>
#include <string>

#include "sampledata/product_data.h"
#include "sampledata/program_folder.h"
#include "sampledata/rule_data.h"
#include "sampledata/terrain_data.h"
#include "sampledata/weapon_data.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kvsampledata PROGRAM_FOLDER\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const std::string root = argv[1];
    // The product types are drawn from the arsenal, so the weapons come first.
    using Writer = std::string (*)(const std::string&);
    const Writer writers[] = {kv::sample::layOutProgramFolder, kv::sample::writeTerrainData,
                              kv::sample::writeWeaponData, kv::sample::writeProductData,
                              kv::sample::writeRuleData};
    for (Writer w : writers) {
        const std::string error = w(root);
        if (!error.empty()) {
            std::fprintf(stderr, "kvsampledata: %s\n", error.c_str());
            return 1;
        }
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    std::printf("kvsampledata: wrote the program folder %s in %lld ms\n", root.c_str(),
                static_cast<long long>(ms));
    return 0;
}
