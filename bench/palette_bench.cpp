// Opening the terrain palette (the pictures of all nine tabs in every owner colour) and
// switching its tabs, on the sample game data, offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>

#include <memory>

#include "app/main_frame.h"
#include "app/terrain_palette.h"
#include "bench_editor.h"
#include "document/map_document.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "qt_bench_main.h"

namespace {

using kvbench::Editor;

void BM_OpenTerrainPalette(benchmark::State& state) {
    Editor e;
    for (auto _ : state) {
        e.frame->tools().open(kv::ToolKind::TerrainPalette);
        state.PauseTiming();
        e.frame->tools().close(kv::ToolKind::TerrainPalette);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenTerrainPalette)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_SwitchTerrainPaletteTab(benchmark::State& state) {
    Editor e;
    e.frame->tools().open(kv::ToolKind::TerrainPalette);
    auto* palette =
        dynamic_cast<kv::TerrainPalette*>(e.frame->tools().window(kv::ToolKind::TerrainPalette));
    QImage target(kv::TerrainPalette::kClientWidth, kv::TerrainPalette::kClientHeight,
                  QImage::Format_RGB32);
    int tab = 0;
    for (auto _ : state) {
        tab = (tab + 1) % kv::kPaletteTabCount;
        palette->selectTab(tab);
        QPainter p(&target);
        palette->paintGrid(p);  // what the window paints after the switch
    }
}
BENCHMARK(BM_SwitchTerrainPaletteTab)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return kvbench::runWithQt(argc, argv);
}
