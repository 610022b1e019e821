// The map renderer: a full drawMap of a 1920 × 1080 view at each hex size, a one-hex edit
// up to the present, and scrolling by one row. The map is the demo scenario of the program
// folder when it is there, else a busy generated map.
#include <QGuiApplication>

#include <benchmark/benchmark.h>

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

namespace {

kv::MapDocument& document() {
    static std::unique_ptr<kv::MapDocument> doc = [] {
        kv::setProgramPath(std::string(KV_DIST_DIR) + "/kvornme");
        auto d = std::make_unique<kv::MapDocument>();
        d->loadResources();
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
    auto r = makeRenderer(static_cast<int>(state.range(0)));
    for (auto _ : state) r->rebuildSheets();
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

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
