// The batch conversion of a folder of 200 maps of the earlier editions (50 of each kind,
// 64 × 64 hexes with factions, troops, labels and scenario texts) into current map files.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "document/batch_conversion.h"
#include "document/map_document.h"
#include "framework/disk_file.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "sampledata/legacy_maps.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMaps = 200;
constexpr int kSide = 64;

// The example valley of a kind, repeated over a 64 × 64 map.
std::string generatedMap(int kind, int number) {
    kv::LegacyMap m = kv::sample::legacyExampleMap(kind);
    std::vector<kv::HexCell> cells(size_t(kSide * kSide));
    for (int row = 0; row < kSide; ++row)
        for (int col = 0; col < kSide; ++col)
            cells[size_t(col + row * kSide)] =
                m.cells[size_t(col % m.width + (row % m.height) * m.width)];
    m.cells = std::move(cells);
    m.width = m.height = kSide;
    m.name += std::to_string(number);
    return kv::legacyMapBytes(m);
}

struct Folders {
    fs::path root = fs::temp_directory_path() / "kvbench-batch";
    std::string source = (root / "source").string();
    std::string destination = (root / "converted").string();
    Folders() {
        fs::remove_all(root);
        fs::create_directories(source);
        const char* extensions[] = {".wtm", ".qus", ".bxs", ".fws"};
        for (int i = 0; i < kMaps; ++i) {
            const int kind = 1 + i % 4;
            kv::writeFileAtomically(source + "/map" + std::to_string(i) + extensions[kind - 1],
                                    generatedMap(kind, i));
        }
    }
    ~Folders() { fs::remove_all(root); }
};

void BM_BatchConversion(benchmark::State& state) {
    kv::RecordingPrompter quiet;
    kv::ScopedPrompter installed(&quiet);
    kv::setProgramPath(std::string(KV_DIST_DIR) + "/kvornme");
    auto doc = std::make_unique<kv::MapDocument>();
    doc->loadResources();
    doc->resetToNewMap();
    const Folders folders;
    int converted = 0;
    for (auto _ : state) {
        const kv::BatchResult r =
            kv::convertFolder(*doc, folders.source, folders.destination, kv::BatchListener());
        converted += r.converted;
        if (r.converted != kMaps) state.SkipWithError("not every map was converted");
    }
    state.counters["maps_per_second"] = benchmark::Counter(converted, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BatchConversion)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
