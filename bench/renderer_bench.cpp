// The map renderer: a full drawMap of a 1920 × 1080 view at each hex size, a one-hex edit
// up to the present, and scrolling by one row. The map is the demo scenario of the program
// folder when it is there, else a busy generated map.
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "busy_map.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/disk_file.h"
#include "framework/profile.h"
#include "view/bitmap_export.h"
#include "view/map_renderer.h"
#include "view/sheet_cache.h"

namespace {

kv::MapDocument& document() {
    static std::unique_ptr<kv::MapDocument> doc = [] {
        auto d = kvbench::sampleDocument();
        const std::string demo = std::string(KV_DIST_DIR) + "/map/demo_scenario.kvs";
        if (!kv::fileExists(demo) || !kv::loadMapFile(*d, demo) || d->width() < 80)
            kvbench::makeBusyMap(*d, 160, 120);
        return d;
    }();
    return *doc;
}

std::unique_ptr<kv::MapRenderer> makeRenderer(int hexSize) {
    kv::MapDocument& doc = document();
    doc.viewSettings.hexSize = hexSize;
    auto r = std::make_unique<kv::MapRenderer>(doc, QSize(1920, 1080));
    r->setClientSize(1920, 1080);
    r->setOrigin({2, 2});
    r->rebuildSheets();
    return r;
}

void BM_DrawMap(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    auto r = makeRenderer(size);
    for (auto _ : state) {
        document().viewSettings.redrawGrid.markAllDirty();
        r->drawMap();
        r->present();
    }
}
BENCHMARK(BM_DrawMap)->Arg(16)->Arg(32)->Arg(48)->Unit(benchmark::kMillisecond);

void BM_OneHexEditToPresent(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    auto r = makeRenderer(size);
    r->drawMap();
    r->present();
    kv::MapDocument& doc = document();
    const int col = 8, row = 7;
    kv::HexCell& cell = *doc.cellAt(col, row);
    const kv::HexCell original = cell;
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        cell.terrain = flip ? 2 : original.terrain;
        cell.picture = flip ? 2 : original.picture;
        r->redrawHex(col, row);
        benchmark::DoNotOptimize(r->present());
    }
    cell = original;
}
BENCHMARK(BM_OneHexEditToPresent)->Arg(16)->Arg(32)->Arg(48)->Unit(benchmark::kMicrosecond);

void BM_ScrollOneRow(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    auto r = makeRenderer(size);
    r->drawMap();
    r->present();
    bool down = false;
    for (auto _ : state) {
        down = !down;
        r->setOrigin({2, down ? 3 : 2});
        r->drawMap();
        r->present();
    }
}
BENCHMARK(BM_ScrollOneRow)->Arg(16)->Arg(32)->Arg(48)->Unit(benchmark::kMillisecond);

void BM_RebuildSheets(benchmark::State& state) {
    kv::MapDocument& doc = document();
    // Fresh sheets each time: asked again for the same kind, sheets keep what they have.
    for (auto _ : state) {
        kv::SpriteSheets sheets;
        sheets.build(static_cast<int>(state.range(0)), doc.factionColours, true, doc.gameDatabase);
        benchmark::DoNotOptimize(sheets.hexSize());
    }
}
BENCHMARK(BM_RebuildSheets)->Arg(16)->Arg(32)->Arg(48)->Unit(benchmark::kMillisecond);

void BM_ExportPicture(benchmark::State& state) {
    kv::MapDocument& doc = document();
    kv::SpriteSheets sheets;
    sheets.build(32, doc.factionColours, false, doc.gameDatabase, true);
    const kv::SpriteSheets sheets16 = sheets.toRgb555();
    for (auto _ : state) benchmark::DoNotOptimize(kv::exportBitmapBytes(doc, sheets16));
}
BENCHMARK(BM_ExportPicture)->Unit(benchmark::kMillisecond);

// The PNG export at 32 into memory: one worker thread, then one per processor.
void BM_ExportPng(benchmark::State& state) {
    kv::MapDocument& doc = document();
    const kv::SpriteSheets sheets16 = kv::exportSheets(doc, 32);
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        kv::exportPng(doc, sheets16, [&](const uint8_t*, size_t size) { bytes += size; },
                      {kv::kDefaultPngLevel, static_cast<int>(state.range(0))});
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ExportPng)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// The export's sheets at 16: built from the art, or read from the cache file.
void BM_ExportSheets(benchmark::State& state) {
    kv::MapDocument& doc = document();
    const bool cached = state.range(0) != 0;
    const std::string path = std::string(KV_DIST_DIR) + "/bench-sheets.cache";
    const std::string key = kv::exportSheetsKey(doc.factionColours, 16);
    kv::writeSheetCache(path, key, [&] {
        kv::SpriteSheets s;
        s.build(16, doc.factionColours, false, doc.gameDatabase, true);
        return s;
    }());
    for (auto _ : state) {
        if (cached)
            benchmark::DoNotOptimize(kv::readSheetCache(path, key)->toRgb555());
        else
            benchmark::DoNotOptimize(kv::exportSheets(doc, 16));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_ExportSheets)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
