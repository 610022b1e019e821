// The analysis windows' work on a busy 256 × 256 map: the HQ map built whole and one hex
// recoloured, and a full building recount.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "busy_map.h"
#include "document/building_count.h"
#include "document/map_document.h"
#include "framework/profile.h"
#include "view/hq_overview_image.h"

namespace {

kv::MapDocument& document() {
    static std::unique_ptr<kv::MapDocument> doc = [] {
        auto d = kvbench::sampleDocument();
        kvbench::makeBusyMap(*d, 256, 256);
        return d;
    }();
    return *doc;
}

kv::HqOverviewImage& overview() {
    static kv::HqOverviewImage image = [] {
        kv::HqOverviewImage o;
        o.loadStrips();
        o.reset(document(), 0);
        return o;
    }();
    return image;
}

void BM_HqMapFullBuild(benchmark::State& state) {
    kv::HqOverviewImage& o = overview();
    for (auto _ : state) {
        o.rebuild(document());
        benchmark::DoNotOptimize(o.image().constBits());
    }
}
BENCHMARK(BM_HqMapFullBuild)->Unit(benchmark::kMillisecond);

void BM_HqMapOneHex(benchmark::State& state) {
    kv::HqOverviewImage& o = overview();
    int i = 0;
    for (auto _ : state) {
        // Walks the map so that no hex stays in the cache.
        i = (i + 7919) % (256 * 256);
        benchmark::DoNotOptimize(o.updateHex(document(), i % 256, i / 256));
    }
}
BENCHMARK(BM_HqMapOneHex)->Unit(benchmark::kMicrosecond);

void BM_BuildingRecount(benchmark::State& state) {
    kv::BuildingCount count(document().gameDatabase.terrainTypes());
    for (auto _ : state) {
        count.recount(document());
        benchmark::DoNotOptimize(count.total(kv::BuildingCount::kAllColumn));
    }
}
BENCHMARK(BM_BuildingRecount)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
