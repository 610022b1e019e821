// The bundled map art: the list of every picture file and its writer.
#include "sampledata/art.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "sampledata/art_bmp.h"
#include "sampledata/weapon_data.h"

namespace kv::sample {

std::vector<ArtFile> artFiles() {
    std::vector<ArtFile> files;
    const QImage base = baseSheetImage();
    const QImage building = buildingSheetImage();
    files.push_back({"bmp/land48_base.bmp", base});
    files.push_back({"bmp/land48_build.bmp", building});
    files.push_back({"bmp/land48_parts.bmp", partsSheetImage()});
    files.push_back({"bmp/bridge48.bmp", bridgeSheetImage()});
    files.push_back({"bmp/road_48.bmp", roadSheetImage()});
    files.push_back({"bmp/markhex_48.bmp", markSheetImage()});
    files.push_back({"bmp/effect_48.bmp", effectSheetImage()});
    files.push_back({"bmp/exnum.bmp", digitSheetImage()});
    files.push_back({"bmp/maplayer.bmp", layerMarkImage()});
    files.push_back({"bmp/regmark.bmp", regimentMarkImage()});
    files.push_back({"bmp/ecmcc48.bmp", territoryImage()});
    files.push_back({"bmp/border48.bmp", borderImage()});
    files.push_back({"bmp/unit48.bmp", weaponIconImage()});
    files.push_back({"bmp/hq1.bmp", overviewStrip(1, base, building)});
    files.push_back({"bmp/hq2.bmp", overviewStrip(2, base, building)});
    files.push_back({"bmp/hqc1.bmp", ownerStrip(1)});
    files.push_back({"bmp/hqc2.bmp", ownerStrip(2)});
    for (ArtFile& f : interfaceBitmaps()) files.push_back(std::move(f));
    for (ArtFile& f : newspaperBitmaps()) files.push_back(std::move(f));
    for (ArtFile& f : pictureDialogBitmaps()) files.push_back(std::move(f));
    for (ArtFile& f : buttonSheets()) files.push_back(std::move(f));
    for (ArtFile& f : analysisBitmaps()) files.push_back(std::move(f));
    files.push_back({"munit/unit01_1.bmp", unitIconPage(32)});
    files.push_back({"munit/unit01_2.bmp", unitIconPage(48)});
    for (const SampleWeapon& w : sampleWeapons()) {
        // The weapons' picture numbers are their ids; "%04d.bmp" is the plain form.
        char name[32];
        std::snprintf(name, sizeof name, "unit/%04d.bmp", w.id);
        files.push_back({name, unitPicture(w.id)});
    }
    return files;
}

std::string writeArt(const std::string& root) {
    std::error_code ec;
    for (const char* folder : {"bmp", "munit", "unit"}) {
        std::filesystem::create_directories(std::filesystem::path(root) / folder, ec);
        if (ec) return root + "/" + folder + ": " + ec.message();
    }
    for (const ArtFile& f : artFiles()) {
        const std::string error = writeBmp(root + "/" + f.path, f.image);
        if (!error.empty()) return error;
    }
    return {};
}

}  // namespace kv::sample
