// The underlay in the transparent drawing mode: composing a whole 1920 × 1080 view from the
// map picture and the underlay (fitted, and at actual size); and the faction colour dialog's
// update while its track bar is dragged (angle, field, swatches and the five previews).
#include <benchmark/benchmark.h>

#include <QSlider>

#include <memory>
#include <string>

#include "app/faction_colour_dialog.h"
#include "busy_map.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/disk_file.h"
#include "framework/profile.h"
#include "qt_bench_main.h"
#include "view/map_renderer.h"

namespace {

kv::MapDocument& document() {
    static std::unique_ptr<kv::MapDocument> doc = [] {
        auto d = kvbench::sampleDocument();
        const std::string demo = std::string(KV_DIST_DIR) + "/map/demo_scenario.kvs";
        if (kv::fileExists(demo)) kv::loadMapFile(*d, demo);
        return d;
    }();
    return *doc;
}

void BM_TransparentCompose(benchmark::State& state) {
    const bool actualSize = state.range(0) != 0;
    kv::MapDocument& doc = document();
    doc.viewSettings.hexSize = 32;
    doc.tool.mapDrawMethod = kv::kTransparent;
    kv::MapRenderer r(doc, QSize(1920, 1080));
    r.setClientSize(1920, 1080);
    r.rebuildSheets();
    // A scanned-looking picture: a gradient, so no run of equal pixels helps.
    QImage picture(2000, 1400, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) line[x] = qRgb(x & 255, y & 255, (x + y) & 255);
    }
    r.setUnderlay(picture);
    doc.viewSettings.redrawGrid.markAllDirty();
    r.drawMap();
    for (auto _ : state) {
        r.setUnderlayPlacement(0, 0, actualSize);  // the whole view is composed again
        benchmark::DoNotOptimize(r.present());
    }
    doc.tool.mapDrawMethod = kv::kMapOnly;
}
BENCHMARK(BM_TransparentCompose)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_HuePreviewUpdate(benchmark::State& state) {
    kv::FactionColourDialog d(nullptr, document());
    d.createModeless();
    auto* bar = d.control<QSlider>(kv::FactionColourDialog::kIdHueBar);
    int angle = 0;
    for (auto _ : state) {
        angle = (angle + 7) % 361;
        bar->setValue(angle);
    }
    d.end();
}
BENCHMARK(BM_HuePreviewUpdate)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return kvbench::runWithQt(argc, argv);
}
