// Scripts against the core: the pen on every hex of a 256 × 256 map one call at a time (the
// per-call cost of the script API), and a flood fill of the whole map from a script and from
// the core directly. Each script run includes starting its engine.
#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "document/bulk_edits.h"
#include "document/edit_operation.h"
#include "document/map_document.h"
#include "document/terrain_strokes.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "script/script_runner.h"

namespace {

constexpr int kSide = 256;
constexpr int kPlain = 1, kGrass = 6;

std::unique_ptr<kv::MapDocument> bigMap() {
    kv::setProgramPath(std::string(KV_DIST_DIR) + "/kvmap");
    auto doc = std::make_unique<kv::MapDocument>();
    doc->loadResources();
    doc->resetToNewMap();
    kv::changeMapSize(*doc, kSide, kSide, 0);
    doc->history.clear();
    return doc;
}

kv::StrokeBrush brushOf(const kv::MapDocument& doc, int terrain) {
    kv::StrokeBrush b;
    b.terrain.valid = 1;
    b.terrain.terrainId = uint16_t(terrain);
    b.terrain.picture = doc.gameDatabase.terrain(size_t(terrain)).defaultPicture;
    return b;
}

void run(benchmark::State& state, kv::MapDocument& doc, const std::string& source) {
    kv::ScriptRunner runner(doc);
    const kv::ScriptResult r = runner.run(source, "bench.js");
    if (!r.ok) state.SkipWithError(r.error.c_str());
}

// The pen on every hex, one call each, alternating two terrains so every call paints.
void BM_ScriptPenEveryHex(benchmark::State& state) {
    auto doc = bigMap();
    int terrain = kPlain;
    for (auto _ : state) {
        run(state, *doc,
            "brush.terrain(" + std::to_string(terrain) +
                ");\n"
                "for (var r = 0; r < map.height; ++r)\n"
                "    for (var c = 0; c < map.width; ++c) map.pen(c, r);\n");
        state.PauseTiming();
        doc->history.clear();
        terrain = terrain == kPlain ? kGrass : kPlain;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_ScriptPenEveryHex)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DirectPenEveryHex(benchmark::State& state) {
    auto doc = bigMap();
    int terrain = kPlain;
    for (auto _ : state) {
        {
            kv::EditOperation op(*doc, kv::EditOperation::History::NewStep, "bench");
            const kv::StrokeBrush b = brushOf(*doc, terrain);
            kv::StrokeResult s;
            for (int r = 0; r < kSide; ++r)
                for (int c = 0; c < kSide; ++c) {
                    s.painted.clear();
                    kv::penStroke(*doc, b, {c, r}, s);
                }
        }
        state.PauseTiming();
        doc->history.clear();
        terrain = terrain == kPlain ? kGrass : kPlain;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_DirectPenEveryHex)->Unit(benchmark::kMillisecond)->UseRealTime();

// An empty script: what starting the engine with the map, brush and db objects costs.
void BM_ScriptEmptyRun(benchmark::State& state) {
    auto doc = bigMap();
    for (auto _ : state) run(state, *doc, "");
}
BENCHMARK(BM_ScriptEmptyRun)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScriptFillWholeMap(benchmark::State& state) {
    auto doc = bigMap();
    int terrain = kPlain;
    for (auto _ : state) {
        run(state, *doc, "brush.terrain(" + std::to_string(terrain) + ");\nmap.fill(0, 0);\n");
        state.PauseTiming();
        doc->history.clear();
        terrain = terrain == kPlain ? kGrass : kPlain;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ScriptFillWholeMap)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DirectFillWholeMap(benchmark::State& state) {
    auto doc = bigMap();
    int terrain = kPlain;
    for (auto _ : state) {
        {
            kv::EditOperation op(*doc, kv::EditOperation::History::NewStep, "bench");
            kv::StrokeResult s;
            kv::floodStroke(*doc, brushOf(*doc, terrain), {0, 0}, s);
        }
        state.PauseTiming();
        doc->history.clear();
        terrain = terrain == kPlain ? kGrass : kPlain;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DirectFillWholeMap)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    kv::RecordingPrompter quiet;
    kv::ScopedPrompter installed(&quiet);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
