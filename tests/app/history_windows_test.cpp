// The undo history window, the problems panel and autosave with crash recovery, driven through
// the main frame as the user drives them.
#include <QApplication>
#include <QListWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/autosave.h"
#include "app/history_windows.h"
#include "app/main_frame.h"
#include "document/bulk_edits.h"
#include "document/edit_operation.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/editor_fixture.h"

namespace kv {
namespace {

constexpr uint16_t kPlain = 1, kCapital = 31;

class EditorExtras : public kvtest::EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        ASSERT_TRUE(frame->openMapFile(dir.file("map/demo_scenario.kvs")));
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        if (frame && frame->autosave()) frame->autosave()->discard();
        EditorTest::TearDown();
    }
    // Paints one hex with a terrain as the pen does: one named step.
    void paint(int col, int row, uint16_t terrain) {
        EditOperation op(*doc, EditOperation::History::NewStep, "地形配置");
        TerrainBrush b;
        b.valid = 1;
        b.terrainId = terrain;
        b.picture = 1;
        doc->setTerrain(col, row, b);
    }
    std::vector<std::string> rows(QListWidget* list) {
        std::vector<std::string> out;
        for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text().toStdString());
        return out;
    }

    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(EditorExtras, TheHistoryWindowListsTheStepsAndWalksToAChosenOne) {
    frame->sendCommand(cmd::UndoHistoryWindow);
    auto* w = dynamic_cast<HistoryWindow*>(frame->tools().window(ToolKind::UndoHistory));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(ProfileEntry("Environment", "ShowUndoHistory").readInt(0), 1);
    const std::string start = mapFileBytes(*doc, MapFileKind::Intermediate);
    paint(1, 1, kPlain);
    const std::string afterOne = mapFileBytes(*doc, MapFileKind::Intermediate);
    paint(2, 1, kPlain);
    paint(3, 1, kPlain);
    const std::string afterThree = mapFileBytes(*doc, MapFileKind::Intermediate);
    QCoreApplication::processEvents();
    EXPECT_EQ(rows(w->list()),
              (std::vector<std::string>{"(開始)", "地形配置 (1ヘックス)", "地形配置 (1ヘックス)",
                                        "地形配置 (1ヘックス)"}));
    EXPECT_EQ(w->list()->currentRow(), 3);

    w->choose(1);
    EXPECT_EQ(mapFileBytes(*doc, MapFileKind::Intermediate), afterOne);
    EXPECT_EQ(w->list()->count(), 4);  // the undone steps stay listed for redo
    EXPECT_EQ(w->list()->currentRow(), 1);
    w->choose(0);
    EXPECT_EQ(mapFileBytes(*doc, MapFileKind::Intermediate), start);
    w->choose(3);
    EXPECT_EQ(mapFileBytes(*doc, MapFileKind::Intermediate), afterThree);
    // While a troop is being moved the history stays where it is.
    doc->tool.interactionBusy = 1;
    w->choose(0);
    EXPECT_EQ(mapFileBytes(*doc, MapFileKind::Intermediate), afterThree);
    doc->tool.interactionBusy = 0;

    // A new edit after an undo empties redo; a map size change empties all and says so.
    w->choose(2);
    paint(9, 9, kPlain);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->list()->count(), 4);
    changeMapSize(*doc, 40, 40, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(rows(w->list()), std::vector<std::string>{"(ﾏｯﾌﾟｻｲｽﾞの変更 で履歴は消去されました)"});
}

TEST_F(EditorExtras, TheProblemsPanelFollowsTheEdits) {
    frame->sendCommand(cmd::ProblemsPanel);
    auto* w = dynamic_cast<ProblemsWindow*>(frame->tools().window(ToolKind::Problems));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->list()->topLevelItemCount(), 0);  // the demo scenario passes the check
    int capitals = 0;
    HexPos capital{-1, -1};
    for (int row = 0; row < doc->height(); ++row)
        for (int col = 0; col < doc->width(); ++col)
            if (doc->cellAt(col, row)->terrain == kCapital && doc->cellAt(col, row)->owner == 1) {
                capital = {col, row};
                ++capitals;
            }
    ASSERT_EQ(capitals, 1);
    // Painting over the only capital of a faction is a problem, found after the pause.
    paint(capital.col, capital.row, kPlain);
    QCoreApplication::processEvents();
    EXPECT_TRUE(w->recheckPending());
    w->recheck();
    ASSERT_GE(w->list()->topLevelItemCount(), 1);
    EXPECT_FALSE(w->list()->topLevelItem(0)->text(1).isEmpty());
    frame->sendCommand(cmd::Undo);
    QCoreApplication::processEvents();
    w->recheck();
    EXPECT_EQ(w->list()->topLevelItemCount(), 0);
}

// Autosave: nothing before the interval, the map after it (through a clock the test moves),
// gone after a clean save; a run that ended without saving offers it at the next start, and
// the restored map is unsaved and saves to where it came from.
TEST_F(EditorExtras, AutosaveWritesAfterTheIntervalAndTheNextStartOffersIt) {
    auto now = std::chrono::steady_clock::time_point{};
    const std::string folder = dir.file("recovery");
    Autosave a(*doc, folder, [&now] { return now; });
    a.setIntervalMinutes(3);
    paint(4, 4, kPlain);
    a.noteEdit();
    now += std::chrono::minutes(2);
    EXPECT_FALSE(a.poll());
    now += std::chrono::minutes(1);
    EXPECT_TRUE(a.poll());
    EXPECT_EQ(a.lastError(), "");
    const std::optional<Autosave::Recovery> r = Autosave::find(folder);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->originalPath, dir.file("map/demo_scenario.kvs"));
    EXPECT_EQ(kvtest::readFile(r->mapPath), intermediateFileBytes(*doc));
    EXPECT_EQ(doc->filePath, dir.file("map/demo_scenario.kvs"));  // the user's path stays
    now += std::chrono::minutes(10);
    EXPECT_FALSE(a.poll());  // nothing changed since
    a.discard();
    EXPECT_FALSE(Autosave::find(folder));

    // The editor's own autosave: written, then removed by a clean save.
    Autosave& own = *frame->autosave();
    paint(5, 5, kPlain);
    ASSERT_TRUE(own.write());
    own.waitForWriter();
    ASSERT_TRUE(Autosave::find(own.folder()));
    setFileDialogHook([this](FileDialogRequest&) { return dir.file("saved.kvt"); });
    ASSERT_TRUE(frame->saveIntermediateAs());
    EXPECT_FALSE(Autosave::find(own.folder()));

    // A killed run: the autosave stays; the next start restores it when asked.
    paint(6, 6, kPlain);
    const std::string edited = intermediateFileBytes(*doc);
    ASSERT_TRUE(own.write());
    own.waitForWriter();
    delete widget.data();
    QCoreApplication::processEvents();
    doc = std::make_unique<MapDocument>();
    doc->loadResources();
    doc->resetToNewMap();
    frame = newWindow<MainFrame>(*doc);
    ASSERT_TRUE(frame->create());
    widget = frame->handle();
    prompts.script = {PromptAnswer::Yes};
    ASSERT_TRUE(frame->offerRecovery());
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_NE(prompts.seen[0].text.find("の自動保存"), std::string::npos);
    EXPECT_EQ(intermediateFileBytes(*doc), edited);
    EXPECT_EQ(doc->filePath, dir.file("saved.kvt"));
    EXPECT_EQ(doc->isClean, 0);
    // Declined, it is gone for good.
    ASSERT_TRUE(frame->autosave()->write());
    frame->autosave()->waitForWriter();
    prompts.script = {PromptAnswer::No};
    EXPECT_FALSE(frame->offerRecovery());
    EXPECT_FALSE(Autosave::find(frame->autosave()->folder()));
}

}  // namespace
}  // namespace kv
