// The terrain tools driven by mouse events on a real map view (offscreen), each including the
// undo records and the redraw of the changed hexes: a flood fill of a whole 256 × 256 map of
// one terrain and its undo, a pen drag across 100 hexes (time per hex), and the paste of a
// 64 × 64 block.
#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "document/edit_operation.h"
#include "document/map_document.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "qt_bench_main.h"
#include "view/map_view.h"
#include "view/terrain_tools.h"

namespace {

constexpr int kPlain = 1, kForest = 2;

struct Bench {
    kv::MapDocument doc;
    kv::TerrainBrush brush;
    std::unique_ptr<kv::MapView> view;
};

// One document of 256 × 256 plain hexes with a view of 1920 × 1080 at the small hex size.
Bench& bench() {
    static std::unique_ptr<Bench> b = [] {
        kv::setProgramPath(std::string(KV_DIST_DIR) + "/kvornme");
        auto x = std::make_unique<Bench>();
        x->doc.loadResources();
        x->doc.resetToNewMap();
        x->doc.mapHeader.setSize(256, 256);
        x->doc.renewRedrawGrid();
        for (kv::HexCell& c : x->doc.mapGrid.cells) c = kv::HexCell{.terrain = kPlain};
        x->doc.viewSettings.hexSize = 16;
        x->view = std::make_unique<kv::MapView>(nullptr, x->doc, nullptr);
        x->view->width = 1920;
        x->view->height = 1080;
        x->view->create();
        x->view->handle()->show();
        x->view->scrollTo(0, 0);
        kv::installTerrainTools(x->view->tools(), x->brush);
        x->brush.valid = 1;
        QApplication::processEvents();
        return x;
    }();
    return *b;
}

void mouse(QEvent::Type type, kv::HexPos h, Qt::MouseButton button, Qt::MouseButtons buttons) {
    kv::MapView& v = *bench().view;
    const kv::PixelPos p = v.hexToPixel(h.col, h.row);
    const QPoint q(p.x + 8, p.y + 8);
    QMouseEvent e(type, q, v.handle()->mapToGlobal(q), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(v.handle(), &e);
}

void click(kv::HexPos h) {
    mouse(QEvent::MouseButtonPress, h, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, h, Qt::LeftButton, Qt::NoButton);
}

// The fill alternates between two terrains, so every run fills the whole map.
void BM_FloodFillWholeMap(benchmark::State& state) {
    Bench& b = bench();
    b.doc.tool.drawKind = kv::kDrawFlood;
    int terrain = b.doc.cellAt(0, 0)->terrain;
    for (auto _ : state) {
        terrain = terrain == kPlain ? kForest : kPlain;
        b.brush.terrainId = static_cast<uint16_t>(terrain);
        click({10, 10});
    }
    // What one such step keeps in the undo history.
    state.counters["step_bytes"] =
        static_cast<double>(kv::UndoHistory::bytesOf(b.doc.history.undoStep()));
}
BENCHMARK(BM_FloodFillWholeMap)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_UndoFloodFillWholeMap(benchmark::State& state) {
    Bench& b = bench();
    b.doc.tool.drawKind = kv::kDrawFlood;
    for (auto _ : state) {
        state.PauseTiming();
        b.brush.terrainId = b.doc.cellAt(0, 0)->terrain == kPlain ? kForest : kPlain;
        click({10, 10});
        state.ResumeTiming();
        b.doc.history.undo();
        b.view->flushChangedHexes();
    }
}
BENCHMARK(BM_UndoFloodFillWholeMap)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Press, 99 moves and the release over 100 hexes (to and fro over three rows of the view);
// the time reported is per hex.
void BM_PenDragPerHex(benchmark::State& state) {
    Bench& b = bench();
    b.doc.tool.drawKind = kv::kDrawPen;
    b.doc.tool.penKind = 0;
    std::vector<kv::HexPos> path;
    for (int c = 2; c < 42; ++c) path.push_back({c, 20});
    for (int c = 41; c >= 2; --c) path.push_back({c, 21});
    for (int c = 2; c < 22; ++c) path.push_back({c, 22});
    int terrain = kPlain;
    for (auto _ : state) {
        terrain = terrain == kPlain ? kForest : kPlain;
        b.brush.terrainId = static_cast<uint16_t>(terrain);
        mouse(QEvent::MouseButtonPress, path.front(), Qt::LeftButton, Qt::LeftButton);
        for (size_t i = 1; i < path.size(); ++i)
            mouse(QEvent::MouseMove, path[i], Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, path.back(), Qt::LeftButton, Qt::NoButton);
    }
    if (b.doc.cellAt(21, 22)->terrain != terrain) state.SkipWithError("the drag painted nothing");
    state.SetItemsProcessed(state.iterations() * int64_t(path.size()));
}
BENCHMARK(BM_PenDragPerHex)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A 64 × 64 block is more than the offscreen view shows, so the paste is timed as the tool
// runs it after the click: the document operation, its undo records and the redraw.
void BM_Paste64x64(benchmark::State& state) {
    Bench& b = bench();
    const kv::HexRect selection{0, 0, 63, 63};
    for (auto _ : state) {
        kv::EditOperation op(b.doc, kv::EditOperation::History::NewStep, "paste");
        b.doc.pasteCells(selection, {101, 70}, false);
        b.view->flushChangedHexes();
    }
}
BENCHMARK(BM_Paste64x64)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    return kvbench::runWithQt(argc, argv, [] { bench().view.reset(); });
}
