// The troop operations: placing a troop and recalling it again on a faction that holds 200
// troops, placing a new troop and undoing it, and gathering and deploying a regiment of six.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "document/map_document.h"
#include "document/regiments.h"
#include "document/troop_edit.h"
#include "document/troop_slots.h"
#include "framework/profile.h"
#include "framework/prompter.h"

namespace {

constexpr int kTank = 1000;

// A 64 × 64 map of land a tank may cross.
std::unique_ptr<kv::MapDocument> landMap() {
    kv::setProgramPath(std::string(KV_DIST_DIR) + "/kvornme");
    auto doc = std::make_unique<kv::MapDocument>();
    doc->loadResources();
    doc->resetToNewMap();
    const int move = doc->gameDatabase.weapon(kTank).movementType();
    for (size_t i = 0; i < doc->gameDatabase.terrainCount(); ++i) {
        if (doc->gameDatabase.hexMoveCost({uint8_t(i), 0, 0, 0}, move) == 0) continue;
        for (kv::HexCell& c : doc->mapGrid.cells) c.terrain = uint8_t(i);
        break;
    }
    return doc;
}

void putTank(kv::MapDocument& doc, int slot, int col, int row, uint16_t flags = 0) {
    kv::TroopRecord& t = *doc.troopAt(0, slot);
    t.clear();
    t.setAppearanceTurn(1);
    t.setWeaponId(kTank);
    t.setPosition(col, row);
    t.setUnits(10, 10);
    t.setFlags(flags);
    doc.troops.raiseCount(0, slot);
}

// 199 tanks on the map and one waiting in the list.
std::unique_ptr<kv::MapDocument> fullFaction() {
    auto doc = landMap();
    for (int s = 0; s < kv::TroopTable::kSlots; ++s)
        putTank(*doc, s, s % 64, s / 64, s == 102 ? kv::kTroopUnplaced : 0);
    doc->rebuildTroopStacks();
    return doc;
}

void BM_PlaceAndRecallIn200Troops(benchmark::State& state) {
    kv::RecordingPrompter quiet;
    kv::ScopedPrompter installed(&quiet);
    auto doc = fullFaction();
    kv::TroopBrush brush;
    brush.valid = 1;
    brush.fromList = 1;
    brush.faction = 0;
    brush.item = 102;
    for (auto _ : state) {
        doc->tool.troopBrush = brush;
        const int slot = kv::placeTroop(*doc, 30, 30, false);
        if (slot < 0 || !kv::recallTroop(*doc, 0, slot)) {
            state.SkipWithError("placing or recalling was refused");
            break;
        }
    }
}
BENCHMARK(BM_PlaceAndRecallIn200Troops)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A new troop (the 200th) made, placed and undone.
void BM_PlaceNewAndUndo(benchmark::State& state) {
    kv::RecordingPrompter quiet;
    kv::ScopedPrompter installed(&quiet);
    auto doc = fullFaction();
    doc->troopAt(0, 102)->clear();
    kv::TroopBrush brush;
    brush.valid = 1;
    brush.weaponId = kTank;
    for (auto _ : state) {
        doc->tool.troopBrush = brush;
        if (kv::placeTroop(*doc, 30, 30, false) < 0) {
            state.SkipWithError("placing was refused");
            break;
        }
        doc->history.undo();
    }
}
BENCHMARK(BM_PlaceNewAndUndo)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_GatherAndDeploySixTroops(benchmark::State& state) {
    kv::RecordingPrompter quiet;
    kv::ScopedPrompter installed(&quiet);
    auto doc = landMap();
    for (int u = 0; u < kv::slots::kUnitsPerRegiment; ++u)
        putTank(*doc, kv::slots::regimentSlot(1, 0, u), 20 + u, 20 + u % 2);
    kv::RegimentRecord& r = doc->regiments[0][6];
    r.setFormed(1);
    r.setCommanderSlot(static_cast<uint16_t>(kv::slots::regimentSlot(1, 0, 0)));
    doc->rebuildTroopStacks();
    for (auto _ : state) {
        if (kv::gatherRegiment(*doc, 0, 6) != kv::RegimentResult::Done ||
            kv::deployRegiment(*doc, 0, 6) != kv::RegimentResult::Done) {
            state.SkipWithError("the regiment did not gather and deploy");
            break;
        }
    }
}
BENCHMARK(BM_GatherAndDeploySixTroops)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
