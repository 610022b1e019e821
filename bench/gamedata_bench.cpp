// Loading the whole game database from the generated program folder, and generating it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/profile.h"
#include "framework/prompter.h"
#include "gamedata/game_database.h"
#include "sampledata/product_data.h"
#include "sampledata/program_folder.h"
#include "sampledata/rule_data.h"
#include "sampledata/terrain_data.h"
#include "sampledata/weapon_data.h"

namespace {

void BM_LoadAll(benchmark::State& state) {
    kv::setProgramPath(std::string(KV_DIST_DIR) + "/kvornme");
    kv::RecordingPrompter quiet;
    kv::ScopedPrompter installed(&quiet);
    for (auto _ : state) {
        kv::GameDatabase db;
        db.loadAll();
        benchmark::DoNotOptimize(db.weaponList().size());
    }
    if (!quiet.seen.empty()) state.SkipWithError("the loaders reported problems");
}
BENCHMARK(BM_LoadAll)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_GenerateSampleData(benchmark::State& state) {
    const std::string root = std::filesystem::temp_directory_path() / "kvbench-sampledata";
    for (auto _ : state) {
        kv::sample::layOutProgramFolder(root);
        kv::sample::writeTerrainData(root);
        kv::sample::writeWeaponData(root);
        kv::sample::writeProductData(root);
        kv::sample::writeRuleData(root);
    }
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_GenerateSampleData)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
