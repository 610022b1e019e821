// Writes the demo maps: builds the country and the forces in a document over the game data
// just written, checks the result with the map check, and saves it as the editor saves.
#include "sampledata/demo_maps.h"

#include <filesystem>
#include <memory>

#include "document/map_check.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/errors.h"
#include "framework/profile.h"
#include "sampledata/demo_build.h"

namespace kv::sample {

namespace {

// The editor's save: the cell fix-up, then the file.
void save(MapDocument& doc, const std::string& path, MapFileKind kind) {
    doc.prepareForSave();
    writeMapFile(doc, path, kind);
}

std::string buildAndWrite(MapDocument& doc, const std::string& root) {
    doc.loadResources();
    doc.resetToNewMap();
    if (std::string e = demo::buildCountry(doc); !e.empty()) return e;
    if (std::string e = demo::buildForces(doc); !e.empty()) return e;
    doc.recomputeDerivedHexData();
    const std::vector<MapProblem> problems = checkMap(doc);
    if (!problems.empty())
        return "the demo scenario fails the map check:\n" + checkReportLines(problems);
    const std::string folder = root + "/map/";
    save(doc, folder + "demo_scenario.kvs", MapFileKind::Scenario);
    // The normal map: the same country and forces, without the scenario's texts.
    doc.mapHeader.setMapName(demo::cp932("演習場「セルヴィア川」"));
    doc.mapHeader.setMessage(demo::cp932("三国の国境を流れるセルヴィア川の演習用マップ。"));
    save(doc, folder + "demo_map.kvn", MapFileKind::Normal);
    return {};
}

}  // namespace

std::string withDemoDocument(const std::string& root, const std::string& folder, const char* what,
                             const std::function<std::string(MapDocument&)>& build) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(root) / folder, ec);
    if (ec) return root + "/" + folder + ": " + ec.message();
    setProgramPath(root + "/kvornme");
    // The document keeps its view options in the editor's settings file; a file the
    // generator made for that alone does not stay behind.
    const std::string settings = settingsFile();
    const bool hadSettings = std::filesystem::exists(settings, ec);
    std::string error;
    try {
        auto doc = std::make_unique<MapDocument>();
        error = build(*doc);
    } catch (const swCError& e) {
        error = std::string(what) + ": " + e.text();
    }
    if (!hadSettings) std::filesystem::remove(settings, ec);
    return error;
}

std::string writeDemoMaps(const std::string& root) {
    return withDemoDocument(root, "map", "demo maps",
                            [&](MapDocument& doc) { return buildAndWrite(doc, root); });
}

}  // namespace kv::sample
