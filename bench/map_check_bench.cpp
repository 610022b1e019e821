// The map check on the largest map: 256 × 256 hexes of every terrain, six factions taking
// part with 200 troops each (some stowed, some loaded), and 1000 labels.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "document/map_check.h"
#include "document/map_document.h"
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
        kv::HexCell& c = doc->mapGrid.cells[size_t(i)];
        c.terrain = static_cast<uint8_t>(i % 54);
        c.owner = static_cast<uint8_t>(i % 7);
        c.territory = static_cast<uint8_t>(i / 11 % 7);
        c.roadLinks = static_cast<uint8_t>(i % 64);
    }
    const int weapons[] = {110, 1000, 1220, 1030, 2040, 240};
    for (int f = 0; f < kv::kFactionCount; ++f) {
        doc->factions[size_t(f)].setParticipation(f == 0 ? kv::kFactionUser : kv::kFactionComputer);
        doc->factions[size_t(f)].setVictory(0, 1);
        doc->factions[size_t(f)].setVictory(1, 1);
        for (int slot = 0; slot < 200; ++slot) {
            kv::TroopRecord* t = doc->troopAt(f, slot);
            t->setAppearanceTurn(1 + slot % 3);
            t->setWeaponId(static_cast<uint16_t>(weapons[slot % 6]));
            t->setPosition(slot, f * 40 + slot % 5);
            if (slot % 7 == 0) t->setFlags(kv::kTroopStowed);
            if (slot % 6 == 2 && slot >= 2) {
                // Infantry loaded in the personnel carrier next to it.
                t->setFlags(kv::kTroopLoaded);
                t->setCarrier(f + 1, slot + 2);
            }
            doc->troops.raiseCount(f, slot);
        }
    }
    const std::string name = *kv::encodeCp932("地点");
    for (int i = 0; i < 1000; ++i) {
        kv::TerrainLabel& l = doc->mapGrid.labels[size_t(i)];
        l.setText(name);
        l.col = static_cast<uint8_t>(i % 256);
        l.row = static_cast<uint8_t>(i / 256);
        l.kind = static_cast<uint8_t>(i % 2);
    }
    doc->rebuildLabelNumbers();
    doc->rebuildTroopStacks();
    return doc;
}

void BM_CheckLargestMap(benchmark::State& state) {
    kv::RecordingPrompter quiet;
    kv::ScopedPrompter installed(&quiet);
    auto doc = largestMap();
    size_t problems = 0;
    for (auto _ : state) {
        const std::vector<kv::MapProblem> found = kv::checkMap(*doc);
        problems = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["problems"] = static_cast<double>(problems);
}
BENCHMARK(BM_CheckLargestMap)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
