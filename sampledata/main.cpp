// kvsampledata: writes the bundled game data into a program folder, or renders the contact
// sheet of its map art.
#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sampledata/art.h"
#include "sampledata/art_contact.h"
#include "sampledata/art_icon.h"
#include "sampledata/demo_campaign.h"
#include "sampledata/demo_maps.h"
#include "sampledata/fuzz_seeds.h"
#include "sampledata/legacy_maps.h"
#include "sampledata/product_data.h"
#include "sampledata/program_folder.h"
#include "sampledata/rule_data.h"
#include "sampledata/terrain_data.h"
#include "sampledata/weapon_data.h"

namespace {

void usage() {
    std::fprintf(stderr,
                 "usage: kvsampledata PROGRAM_FOLDER\n"
                 "       kvsampledata --contact-sheet OUT.png [PROGRAM_FOLDER]\n");
}

// The contact sheet's captions need fonts, so this mode runs a (windowless) application.
int contactSheet(int argc, char* argv[]) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    const std::string error = kv::sample::writeContactSheet(argv[2], argc > 3 ? argv[3] : "");
    if (!error.empty()) {
        std::fprintf(stderr, "kvsampledata: %s\n", error.c_str());
        return 1;
    }
    std::printf("kvsampledata: wrote the contact sheet %s\n", argv[2]);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc >= 3 && argc <= 4 && std::strcmp(argv[1], "--contact-sheet") == 0) {
        return contactSheet(argc, argv);
    }
    if (argc != 2) {
        usage();
        return 2;
    }
    // Captions drawn into the interface art need fonts: a windowless application provides them.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    const auto start = std::chrono::steady_clock::now();
    const std::string root = argv[1];
    // The product types are drawn from the arsenal, so the weapons come first; the demo maps
    // load the game data written before them.
    using Writer = std::string (*)(const std::string&);
    const Writer writers[] = {kv::sample::layOutProgramFolder, kv::sample::writeTerrainData,
                              kv::sample::writeWeaponData,     kv::sample::writeProductData,
                              kv::sample::writeRuleData,       kv::sample::writeDemoMaps,
                              kv::sample::writeDemoCampaign,   kv::sample::writeArt,
                              kv::sample::writeProgramIcons,   kv::sample::writeLegacyMaps,
                              kv::sample::writeFuzzSeeds};
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
