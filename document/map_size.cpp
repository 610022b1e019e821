// Changing the map's size around an anchor: the kept part of the old map, and the labels,
// troops and targets that move with it.
#include <algorithm>
#include <vector>

#include "document/bulk_edits.h"
#include "document/edit_operation.h"
#include "document/map_document.h"
#include "document/troop_capacity.h"
#include "framework/prompter.h"

namespace kv {

namespace {

constexpr uint8_t kOffMap = 255;
// How deep a chain of carriers inside carriers is followed (a loop in a broken file ends).
constexpr int kMaxCarrierDepth = 8;

// The first old column (row) kept, and where it lands, for anchor column (row) `a` of 0..2.
int sourceOffset(int a, int oldSize, int newSize) {
    if (a == 0 || newSize >= oldSize) return 0;
    return a == 1 ? (oldSize - newSize) / 2 : oldSize - newSize;
}

int destinationOffset(int a, int oldSize, int newSize) {
    if (a == 0 || oldSize >= newSize) return 0;
    return a == 1 ? (newSize - oldSize) / 2 : newSize - oldSize;
}

struct Shift {
    int oldWidth, oldHeight, col, row;
    // A coordinate of the old map moved onto the new one; kOffMap for an axis it leaves.
    std::pair<int, int> apply(const MapDocument& doc, int c, int r) const {
        const int nc = c + col, nr = r + row;
        return {nc >= 0 && nc < doc.width() ? nc : kOffMap,
                nr >= 0 && nr < doc.height() ? nr : kOffMap};
    }
    bool wasOnMap(int c, int r) const { return c < oldWidth && r < oldHeight; }
};

int troopsInUse(const MapDocument& doc) {
    int n = 0;
    for (const auto& table : doc.troops.records)
        for (const TroopRecord& t : table) n += t.inUse() ? 1 : 0;
    return n;
}

void copyKeptCells(MapDocument& doc, const std::vector<HexCell>& old, int oldWidth, int oldHeight,
                   int anchor) {
    const int w = doc.width(), h = doc.height();
    const int sx = sourceOffset(anchor % 3, oldWidth, w),
              dx = destinationOffset(anchor % 3, oldWidth, w);
    const int sy = sourceOffset(anchor / 3, oldHeight, h),
              dy = destinationOffset(anchor / 3, oldHeight, h);
    for (int y = 0; y < std::min(oldHeight, h); ++y)
        for (int x = 0; x < std::min(oldWidth, w); ++x)
            doc.mapGrid.cells[size_t(dx + x + (dy + y) * w)] =
                old[size_t(sx + x + (sy + y) * oldWidth)];
}

int moveLabels(MapDocument& doc, const std::vector<TerrainLabel>& old, const Shift& s) {
    int kept = 0, dropped = 0;
    for (const TerrainLabel& l : old) {
        if (!l.inUse()) continue;
        const auto [c, r] = s.apply(doc, l.col, l.row);
        if (c == kOffMap || r == kOffMap) {
            ++dropped;
            continue;
        }
        TerrainLabel& moved = doc.mapGrid.labels[size_t(kept++)];
        moved = l;
        moved.col = static_cast<uint8_t>(c);
        moved.row = static_cast<uint8_t>(r);
    }
    return dropped;
}

void moveDestination(MapDocument& doc, TroopRecord& t, const Shift& s) {
    const int c = t.bytes[kTroopDestColAt], r = t.bytes[kTroopDestRowAt];
    if (!hasTransportCondition(t) || !s.wasOnMap(c, r)) return;
    const auto [nc, nr] = s.apply(doc, c, r);
    t.bytes[kTroopDestColAt] = static_cast<uint8_t>(nc);
    t.bytes[kTroopDestRowAt] = static_cast<uint8_t>(nr);
}

// The troop at the top of the chain of carriers a loaded troop sits in; null when the chain
// is broken.
const TroopRecord* outermostCarrier(const MapDocument& doc, int table, const TroopRecord& t) {
    const int first = table < TroopTable::kSecondSet ? 0 : TroopTable::kSecondSet;
    const TroopRecord* at = &t;
    for (int depth = 0; depth < kMaxCarrierDepth && at->hasFlag(kTroopLoaded); ++depth) {
        const int ct = at->carrierTablePlusOne() - 1;
        if (ct < first || ct >= first + kFactionCount) return nullptr;
        at = doc.troopAt(ct, at->carrierSlotPlusOne() - 1);
        if (!at || !at->inUse()) return nullptr;
    }
    return at->hasFlag(kTroopLoaded) ? nullptr : at;
}

void moveTroops(MapDocument& doc, const Shift& s) {
    const int tables[] = {0, 1, 2, 3, 4, 5, 100, 101, 102, 103, 104, 105};
    std::vector<std::pair<int, int>> leaving;
    // Free troops first, so that the carried ones find their carriers' new hexes.
    for (int table : tables) {
        for (int slot = 0; slot < TroopTable::kSlots; ++slot) {
            TroopRecord& t = *doc.troopAt(table, slot);
            if (!t.inUse()) continue;
            moveDestination(doc, t, s);
            if (t.hasFlag(kTroopLoaded) && outermostCarrier(doc, table, t)) continue;
            const auto [c, r] = s.apply(doc, t.col(), t.row());
            if (c == kOffMap || r == kOffMap)
                leaving.emplace_back(table, slot);
            else
                t.setPosition(c, r);
        }
    }
    for (const auto& [table, slot] : leaving) doc.deleteTroop(table, slot);
    for (int table : tables) {
        for (int slot = 0; slot < TroopTable::kSlots; ++slot) {
            TroopRecord& t = *doc.troopAt(table, slot);
            if (!t.inUse() || !t.hasFlag(kTroopLoaded)) continue;
            if (const TroopRecord* carrier = outermostCarrier(doc, table, t))
                t.setPosition(carrier->col(), carrier->row());
        }
    }
}

void moveEvacuationTargets(MapDocument& doc, const Shift& s) {
    EvacuationTargets& e = doc.evacuationTargets;
    for (int t = 0; t < 2; ++t) {
        if (!s.wasOnMap(e.col(t), e.row(t))) continue;
        const auto [c, r] = s.apply(doc, e.col(t), e.row(t));
        e.setTarget(t, static_cast<uint8_t>(c), static_cast<uint8_t>(r), e.enabled(t));
    }
}

}  // namespace

std::string_view mapSizeRefusal(int width, int height) {
    if (width < 1 || width > MapGrid::kMaxSide) return kWidthOutOfRangeText;
    if (height < 1 || height > MapGrid::kMaxSide) return kHeightOutOfRangeText;
    return {};
}

bool mapSizeShrinks(const MapDocument& doc, int width, int height) {
    return width < doc.width() || height < doc.height();
}

bool confirmMapSize(const MapDocument& doc, int width, int height) {
    const std::string_view refusal = mapSizeRefusal(width, height);
    if (!refusal.empty()) {
        showMessage(std::string(kMapSizeCaution), std::string(refusal), PromptIcon::Exclamation);
        return false;
    }
    if (!mapSizeShrinks(doc, width, height)) return true;
    return showMessage(std::string(kMapSizeConfirm), std::string(kShrinkQuestionText),
                       PromptIcon::Question, PromptButtons::YesNo) == PromptAnswer::Yes;
}

MapSizeChange changeMapSize(MapDocument& doc, int width, int height, int anchor) {
    MapSizeChange result;
    if (!mapSizeRefusal(width, height).empty() || anchor < 0 || anchor >= kAnchorCount)
        return result;
    const int oldWidth = doc.width(), oldHeight = doc.height();
    const int ac = anchor % 3, ar = anchor / 3;
    const Shift shift{
        oldWidth, oldHeight,
        destinationOffset(ac, oldWidth, width) - sourceOffset(ac, oldWidth, width),
        destinationOffset(ar, oldHeight, height) - sourceOffset(ar, oldHeight, height)};
    const std::vector<HexCell> oldCells(doc.mapGrid.cells.begin(),
                                        doc.mapGrid.cells.begin() + oldWidth * oldHeight);
    const std::vector<TerrainLabel> oldLabels = doc.mapGrid.labels;
    const int troopsBefore = troopsInUse(doc);

    EditOperation op(doc);
    op.change().newSize = true;
    doc.mapHeader.setSize(width, height);
    doc.mapGrid.clear(oldWidth * oldHeight);
    const HexCell fresh{.terrain = kTerrainNewMap,
                        .picture = doc.gameDatabase.terrain(kTerrainNewMap).defaultPicture};
    std::fill_n(doc.mapGrid.cells.begin(), width * height, fresh);
    copyKeptCells(doc, oldCells, oldWidth, oldHeight, anchor);
    result.labelsDropped = moveLabels(doc, oldLabels, shift);
    moveTroops(doc, shift);
    moveEvacuationTargets(doc, shift);

    doc.troops.recomputeCounts();
    doc.rebuildLabelNumbers();
    doc.recomputeDerivedHexData();
    doc.rebuildTroopStacks();
    doc.troops.recomputeCounts();
    if (doc.tool.editMode == kEditReinforcements) doc.rebuildReinforcementIndex();
    doc.renewRedrawGrid();
    // The history holds no images of a map of another size.
    doc.history.clear("ﾏｯﾌﾟｻｲｽﾞの変更");

    result.changed = true;
    result.colOffset = shift.col;
    result.rowOffset = shift.row;
    result.troopsDeleted = troopsBefore - troopsInUse(doc);
    return result;
}

}  // namespace kv
