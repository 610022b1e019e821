// Edit operations: one undo step per operation, the changed hexes collected and reported once
// when it ends, nested operations joined, and what undo, redo and the whole-map commands report.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "document/bulk_edits.h"
#include "sample_document.h"

namespace kv {
namespace {

class EditOperations : public kvtest::SampleDocument {
protected:
    void SetUp() override {
        SampleDocument::SetUp();
        doc().onEdited = [this](const EditChange& c) { reports.push_back(c); };
    }
    static TerrainBrush plain() {
        TerrainBrush b;
        b.valid = 1;
        b.terrainId = kTerrainPlain;
        b.picture = 1;
        return b;
    }
    void paint(int col, int row) {
        EditOperation op(doc());
        doc().setTerrain(col, row, plain());
    }

    std::vector<EditChange> reports;
};

TEST_F(EditOperations, AnOperationIsOneStepReportedOnceWhenItEnds) {
    MapDocument& d = doc();
    paint(9, 9);
    d.history.undo();
    ASSERT_TRUE(d.history.canRedo());
    reports.clear();
    d.isClean = 1;
    {
        EditOperation op(d, EditOperation::History::NewStep, "paint");
        EXPECT_FALSE(d.history.canRedo());  // the step before is gone
        d.setTerrain(3, 4, plain());
        d.markDirty(70, -1);  // off the map: redrawn nowhere, listed nowhere
        {
            EditOperation inner(d);  // joins the open one: no step of its own
            inner.change().labels = true;
            d.setTerrain(5, 5, plain());
        }
        EXPECT_TRUE(reports.empty());
        EXPECT_EQ(d.isClean, 1);
        op.commit();
        op.commit();
    }
    ASSERT_EQ(reports.size(), 1u);
    const EditChange& c = reports[0];
    EXPECT_TRUE(c.labels);
    EXPECT_FALSE(c.wholeMap || c.troops || c.newSize);
    const std::set<std::pair<int, int>> hexes = [&] {
        std::set<std::pair<int, int>> s;
        for (HexPos h : c.hexes) s.insert({h.col, h.row});
        return s;
    }();
    EXPECT_EQ(hexes, (std::set<std::pair<int, int>>{{3, 4}, {5, 5}}));
    EXPECT_EQ(std::adjacent_find(c.hexes.begin(), c.hexes.end()), c.hexes.end());
    EXPECT_EQ(d.isClean, 0);
    EXPECT_EQ(d.history.undoStep().name, "paint");
    // Both hexes are in the one step, and the name goes with it to the redo side.
    d.history.undo();
    EXPECT_EQ(d.cellAt(3, 4)->terrain, kTerrainNewMap);
    EXPECT_EQ(d.cellAt(5, 5)->terrain, kTerrainNewMap);
    EXPECT_EQ(d.history.redoStep().name, "paint");

    // An operation that changes nothing still begins its step, but tells no one.
    reports.clear();
    d.isClean = 1;
    { EditOperation idle(d); }
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(d.isClean, 1);
    EXPECT_FALSE(d.history.canRedo());
}

TEST_F(EditOperations, UndoRedoAndWholeMapCommandsReportWhatTheyTouch) {
    MapDocument& d = doc();
    paint(2, 2);
    // Nothing to pack: the troop lists still hear of it, and the painted step stays.
    reports.clear();
    d.isClean = 1;
    EXPECT_EQ(packTroopNumbers(d), 0);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].troops && reports[0].organisation);
    EXPECT_FALSE(reports[0].wholeMap);
    EXPECT_EQ(d.isClean, 0);
    EXPECT_TRUE(d.history.canUndo());

    // Undo and redo may touch anything; an empty one is reported too.
    reports.clear();
    d.history.undo();
    d.history.redo();
    d.history.clear();
    d.isClean = 1;
    d.history.undo();
    ASSERT_EQ(reports.size(), 3u);
    for (const EditChange& c : reports) EXPECT_TRUE(c.wholeMap);
    EXPECT_EQ(d.isClean, 0);

    // The size change and the faction exchange cannot be undone: the history is emptied.
    reports.clear();
    changeMapSize(d, 32, 40, 0);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].newSize);
    EXPECT_FALSE(d.history.canUndo());
    paint(2, 2);
    reports.clear();
    ASSERT_TRUE(exchangeFactions(d, 0, 1));
    ASSERT_FALSE(exchangeFactions(d, 1, 1));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].wholeMap);
    EXPECT_FALSE(d.history.canUndo());
}

}  // namespace
}  // namespace kv
