// Opening the weapon list with every offered weapon of the sample data, and the troop table
// with all six factions full (6 × 200 troops), offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <memory>

#include "app/main_frame.h"
#include "bench_editor.h"
#include "document/map_document.h"
#include "framework/profile.h"
#include "qt_bench_main.h"

namespace {

struct Editor : kvbench::Editor {
    void fillTroops() {
        const std::vector<int>& ids = doc->gameDatabase.weaponList();
        for (int t = 0; t < kv::TroopTable::kFactions; ++t)
            for (int s = 0; s < kv::TroopTable::kSlots; ++s) {
                kv::TroopRecord* r = doc->troopAt(t, s);
                const int weapon = ids[size_t(t * kv::TroopTable::kSlots + s) % ids.size()];
                r->setAppearanceTurn(1 + s % 5);
                r->setWeaponId(uint16_t(weapon));
                r->setName(doc->gameDatabase.weapon(weapon).name());
                r->setPosition(s % 64, (s / 64) * 8 + t);
                r->setUnits(1 + s % 10, 10);
                doc->troops.raiseCount(t, s);
            }
    }
    void time(benchmark::State& state, kv::ToolKind kind) {
        for (auto _ : state) {
            frame->tools().open(kind);
            state.PauseTiming();
            frame->tools().close(kind);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            state.ResumeTiming();
        }
    }
};

void BM_OpenWeaponList(benchmark::State& state) {
    Editor e;
    state.counters["weapons"] = double(e.doc->gameDatabase.weaponList().size());
    e.time(state, kv::ToolKind::WeaponList);
}
BENCHMARK(BM_OpenWeaponList)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();

void BM_OpenTroopTable1200(benchmark::State& state) {
    Editor e;
    e.fillTroops();
    e.time(state, kv::ToolKind::TroopTable);
}
BENCHMARK(BM_OpenTroopTable1200)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
    return kvbench::runWithQt(argc, argv);
}
