// The briefing preview on the demo scenario (offscreen): opening it (texts cut into pages, the
// overview sampled, the page laid out and painted once) and one tick of the marker timer with
// the repaint it asks for. The counter "repainted" is the share of the window a tick repaints.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QWidget>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/briefing_preview.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "qt_bench_main.h"

namespace {

kv::MapDocument& demo() {
    static std::unique_ptr<kv::MapDocument> doc = [] {
        kv::setProgramPath(std::string(KV_DIST_DIR) + "/kvornme");
        auto d = std::make_unique<kv::MapDocument>();
        d->loadResources();
        kv::loadMapFile(*d, std::string(KV_DIST_DIR) + "/map/demo_scenario.kvs");
        return d;
    }();
    return *doc;
}

void BM_OpenBriefingPreview(benchmark::State& state) {
    kv::MapDocument& doc = demo();
    for (auto _ : state) {
        kv::BriefingPreview preview(nullptr, doc);
        preview.createModeless();
        preview.handle()->repaint();
        state.PauseTiming();
        delete preview.handle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenBriefingPreview)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Counts the pixels painted on the page.
struct PaintedArea : QObject {
    long long pixels = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            const QRect r = static_cast<QPaintEvent*>(e)->rect();
            pixels += static_cast<long long>(r.width()) * r.height();
        }
        return false;
    }
};

void BM_MarkerTick(benchmark::State& state) {
    kv::MapDocument& doc = demo();
    doc.scenarioTexts.setBriefingMode(0);  // open on the operation order
    doc.scenarioTexts.setOrderMode(1);
    kv::BriefingPreview preview(nullptr, doc);
    preview.createModeless();
    preview.handle()->repaint();
    QCoreApplication::processEvents();
    QWidget* page = preview.handle()->findChild<QWidget*>("newsCanvas");
    PaintedArea painted;
    page->installEventFilter(&painted);
    long long ticks = 0;
    for (auto _ : state) {
        preview.tick();
        QCoreApplication::processEvents();
        ++ticks;
    }
    page->removeEventFilter(&painted);
    state.counters["repainted"] =
        ticks ? double(painted.pixels) / double(ticks) / (kv::kNewsWidth * kv::kNewsHeight) : 0;
    delete preview.handle();
}
BENCHMARK(BM_MarkerTick)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    return kvbench::runWithQt(argc, argv);
}
