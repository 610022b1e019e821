// The largest map: writing it as a scenario file, reading it back, undoing and redoing an
// operation that recorded every one of its 65536 hexes, and autosave's serialisation.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "document/map_document.h"
#include "document/map_file.h"
#include "document/records.h"
#include "framework/cp932.h"
#include "framework/profile.h"
#include "framework/prompter.h"

namespace {

std::unique_ptr<kv::MapDocument> largestMap() {
    kv::setProgramPath(std::string(KV_DIST_DIR) + "/kvornme");
    auto doc = std::make_unique<kv::MapDocument>();
    doc->loadResources();
    doc->resetToNewMap();
    doc->mapHeader.setSize(256, 256);
    for (int i = 0; i < 65536; ++i) {
        kv::HexCell& c = doc->mapGrid.cells[i];
        c.terrain = static_cast<uint8_t>(i % 54);
        c.roadLinks = static_cast<uint8_t>(i % 64);
    }
    const int weapon = doc->gameDatabase.weapons().front().id();
    for (int f = 0; f < kv::kFactionCount; ++f)
        for (int slot = 0; slot < 200; ++slot) {
            kv::TroopRecord* t = doc->troopAt(f, slot);
            t->setAppearanceTurn(1 + slot % 3);
            t->setWeaponId(static_cast<uint16_t>(weapon));
            t->setPosition(slot, f * 40);
            doc->troops.raiseCount(f, slot);
        }
    const std::string name = *kv::encodeCp932("地点");
    for (int i = 0; i < 1000; ++i) {
        kv::TerrainLabel& l = doc->mapGrid.labels[i];
        l.setText(name);
        l.col = static_cast<uint8_t>(i % 256);
        l.row = static_cast<uint8_t>(i / 256);
    }
    doc->scenarioTexts.bytes.fill('a');
    doc->scenarioTexts.briefingPicture.assign(100 * 1024, 1);
    doc->scenarioTexts.endingPicture.assign(100 * 1024, 2);
    return doc;
}

std::string benchFile() {
    return (std::filesystem::temp_directory_path() / "kvbench-largest.kvs").string();
}

void BM_WriteScenarioFile(benchmark::State& state) {
    kv::RecordingPrompter quiet;
    kv::ScopedPrompter installed(&quiet);
    auto doc = largestMap();
    for (auto _ : state) kv::writeMapFile(*doc, benchFile(), kv::MapFileKind::Scenario);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(benchFile()));
}
BENCHMARK(BM_WriteScenarioFile)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_ReadScenarioFile(benchmark::State& state) {
    kv::RecordingPrompter quiet;
    kv::ScopedPrompter installed(&quiet);
    auto doc = largestMap();
    kv::writeMapFile(*doc, benchFile(), kv::MapFileKind::Scenario);
    for (auto _ : state) benchmark::DoNotOptimize(kv::readMapFile(*doc, benchFile()));
    std::filesystem::remove(benchFile());
}
BENCHMARK(BM_ReadScenarioFile)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_UndoRedoWholeMap(benchmark::State& state) {
    kv::RecordingPrompter quiet;
    kv::ScopedPrompter installed(&quiet);
    auto doc = largestMap();
    doc->history.clear();
    for (int row = 0; row < 256; ++row)
        for (int col = 0; col < 256; ++col) doc->history.recordHex(col, row);
    for (auto _ : state) {
        doc->history.undo();  // one undo and one redo of the whole-map operation per iteration
        doc->history.redo();
    }
}
BENCHMARK(BM_UndoRedoWholeMap)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// What autosave does on the UI thread before its worker writes: the intermediate file image.
void BM_AutosaveSerialise(benchmark::State& state) {
    kv::RecordingPrompter quiet;
    kv::ScopedPrompter installed(&quiet);
    auto doc = largestMap();
    size_t bytes = 0;
    for (auto _ : state) bytes = kv::intermediateFileBytes(*doc).size();
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_AutosaveSerialise)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
