// From a menu command to its posted notifications handled, in the editor's main window
// (offscreen) with the demo map: a zoom change until the view has repainted, and a view flag.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/main_frame.h"
#include "document/map_document.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "qt_bench_main.h"
#include "view/map_view.h"

namespace {

struct Editor {
    std::unique_ptr<kv::MapDocument> doc;
    kv::MainFrame* frame = nullptr;
};

Editor& editor() {
    static Editor e = [] {
        Editor ed;
        kv::setProgramPath(std::string(KV_DIST_DIR) + "/kvornme");
        ed.doc = std::make_unique<kv::MapDocument>();
        ed.doc->loadResources();
        ed.doc->resetToNewMap();
        ed.frame = kv::newWindow<kv::MainFrame>(*ed.doc);
        ed.frame->create();
        ed.frame->handle()->resize(1600, 1000);
        ed.frame->openMapFile(std::string(KV_DIST_DIR) + "/map/demo_scenario.kvs");
        QCoreApplication::processEvents();
        return ed;
    }();
    return e;
}

// The command, then every posted message and the repaint it asked for.
void runCommand(kv::MainFrame& frame, int id) {
    frame.sendCommand(id);
    QCoreApplication::processEvents();
    frame.mapView()->handle()->repaint();
}

void BM_ZoomCommandToRepaintedView(benchmark::State& state) {
    Editor& e = editor();
    bool large = false;
    for (auto _ : state) {
        runCommand(*e.frame, large ? 40009 : 40091);  // 32 ↔ 48 pixels
        large = !large;
    }
}
BENCHMARK(BM_ZoomCommandToRepaintedView)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_HexFrameToggleToRepaintedView(benchmark::State& state) {
    Editor& e = editor();
    for (auto _ : state) runCommand(*e.frame, 40010);
}
BENCHMARK(BM_HexFrameToggleToRepaintedView)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    return kvbench::runWithQt(argc, argv);
}
