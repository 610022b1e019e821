// The script API: each call does what the document operation it stands for does (the same
// file bytes), a run is one undo step, every misuse is a JavaScript error with its message,
// and the time limit stops an endless loop.
#include <gtest/gtest.h>

#include <string>

#include "document/bulk_edits.h"
#include "document/label_edit.h"
#include "document/map_file.h"
#include "document/terrain_strokes.h"
#include "document/troop_edit.h"
#include "framework/cp932.h"
#include "script/script_runner.h"
#include "tests/document/sample_document.h"

namespace {

using namespace kv;

std::string bytesOf(MapDocument& doc) {
    return mapFileBytes(doc, MapFileKind::Intermediate);
}

// Where two file images part, for a failure message of one line rather than megabytes.
testing::AssertionResult sameBytes(const std::string& a, const std::string& b) {
    if (a == b) return testing::AssertionSuccess();
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    return testing::AssertionFailure()
           << "sizes " << a.size() << " and " << b.size() << ", first difference at byte " << at;
}

class ScriptApi : public kvtest::SampleDocument {
protected:
    ScriptResult run(const std::string& source) {
        ScriptRunner runner(doc());
        runner.setPrint([this](const std::string& line) { printed_ += line + "\n"; });
        runner.setTimeout(timeout_);
        return runner.run(source, "test.js");
    }
    StrokeBrush terrain(int id, int owner = 0) {
        StrokeBrush b;
        b.terrain.valid = 1;
        b.terrain.terrainId = uint16_t(id);
        b.terrain.owner = uint16_t(owner);
        b.terrain.picture = doc().gameDatabase.terrain(size_t(id)).defaultPicture;
        return b;
    }
    int place(int faction, int weapon, int col, int row, int units = 10, int experience = 0) {
        TroopBrush& b = doc().tool.troopBrush;
        b = TroopBrush{};
        b.valid = 1;
        b.faction = faction;
        b.weaponId = weapon;
        b.unitCount = units;
        b.experience = experience;
        return placeTroop(doc(), col, row, false);
    }

    std::string printed_;
    double timeout_ = 30;
};

TEST_F(ScriptApi, TerrainCallsDoWhatTheToolOperationsDoAsOneUndoStep) {
    const std::string before = bytesOf(doc());
    const ScriptResult r = run(R"js(
        brush.terrain(2);
        map.pen(3, 3);
        map.megaPen(10, 10);
        brush.terrain(33, {owner: 2});
        map.pen(20, 5);
        brush.pen("mega");
        brush.terrain(5);
        map.line(1, 20, 12, 26);
        brush.pen("single");
        brush.terrain(1);
        map.box(40, 36, 30, 30);
        brush.terrain(6);
        map.fill(35, 33);
        brush.terrain(52);
        map.line(30, 31, 40, 35);
        map.pen(31, 33);
        brush.supplyLine();
        map.line(50, 50, 55, 58);
        brush.terrain(14);
        map.line(32, 34, 38, 30);
        map.deleteLines(34, 33);
        map.copy(0, 0, 12, 12);
        map.paste(50, 20);
        map.setTerritory(5, 40, 3, 2);
        brush.border(2, 1);
        map.pen(6, 41);
        map.fill(20, 45);
        map.setMine(31, 31, 1, 3, 5);
    )js");
    ASSERT_TRUE(r.ok) << r.error;
    const std::string scripted = bytesOf(doc());
    EXPECT_NE(scripted, before);
    ASSERT_EQ(doc().history.doneSteps().size(), 1u);
    doc().history.undo();
    EXPECT_TRUE(sameBytes(bytesOf(doc()), before)) << "one undo takes the whole run back";

    doc().resetToNewMap();
    MapDocument& d = doc();
    StrokeResult s;
    StrokeBrush b = terrain(2);
    penStroke(d, b, {3, 3}, s);
    StrokeBrush mega = b;
    mega.megaPen = true;
    penStroke(d, mega, {10, 10}, s);
    penStroke(d, terrain(33, 2), {20, 5}, s);
    b = terrain(5);
    b.megaPen = true;
    lineStroke(d, b, {1, 20}, {12, 26}, s);
    boxStroke(d, terrain(1), {40, 36}, {30, 30}, s);
    floodStroke(d, terrain(6), {35, 33}, s);
    lineStroke(d, terrain(52), {30, 31}, {40, 35}, s);
    lineStroke(d, terrain(52), {31, 33}, {31, 33}, s);  // a click with a line brush
    StrokeBrush supply;
    supply.terrain.valid = 1;
    supply.terrain.supplyLine = 1;
    lineStroke(d, supply, {50, 50}, {55, 58}, s);
    lineStroke(d, terrain(14), {32, 34}, {38, 30}, s);
    deleteLinksStroke(d, {34, 33}, false);
    pasteStroke(d, HexRect::spanning({0, 0}, {12, 12}), {50, 20}, false);
    d.setBorderline(5, 40, BorderBrush{3, 2});
    StrokeBrush border = terrain(14);
    border.borderMode = true;
    border.border = BorderBrush{2, 1};
    penStroke(d, border, {6, 41}, s);
    floodStroke(d, border, {20, 45}, s);
    d.setMine(31, 31, MineBrush{1, 3, 5});
    EXPECT_TRUE(sameBytes(bytesOf(d), scripted));
}

TEST_F(ScriptApi, TroopLabelAndWholeMapCallsDoWhatTheirOperationsDo) {
    const ScriptResult r = run(R"js(
        brush.terrain(1);
        map.box(0, 0, 20, 20);
        var t = map.placeTroop(0, 1000, 5, 5, {unitCount: 4, experience: 30});
        if (t.weaponId !== 1000 || t.col !== 5 || t.unitCount !== 4) throw new Error("troop " + JSON.stringify(t));
        map.placeTroop(1, 1220, 6, 5, {turn: 3});
        map.moveTroop(0, t.slot, 7, 7);
        var u = map.placeTroop(0, 110, 8, 8);
        map.recallTroop(0, u.slot);
        map.setLabel(2, 2, "北の丘", {victory: true, progress: true});
        map.setLabel(3, 2, "消える");
        map.deleteLabel(3, 2);
        print(map.troops(0).length, map.labels().length, map.cell(2, 2).label.text);
        map.exchangeFactions(0, 1);
        print(map.packTroops());
        var c = map.resize(40, 30, 4);
        print(map.width, map.height, c.colOffset, c.rowOffset);
    )js");
    ASSERT_TRUE(r.ok) << r.error;
    const std::string scripted = bytesOf(doc());

    doc().resetToNewMap();
    MapDocument& d = doc();
    StrokeResult s;
    boxStroke(d, terrain(1), {0, 0}, {20, 20}, s);
    const int t = place(0, 1000, 5, 5, 4, 30);
    ASSERT_GE(t, 0);
    d.tool.reinforcementTurn = 3;
    d.setEditMode(kEditReinforcements);
    ASSERT_GE(place(1, 1220, 6, 5), 0);
    d.setEditMode(kEditTerrain);
    ASSERT_GE(moveTroop(d, 0, t, 7, 7, false), 0);
    const int u = place(0, 110, 8, 8);
    ASSERT_TRUE(recallTroop(d, 0, u));
    applyLabelEdit(d, {2, 2}, *encodeCp932("北の丘"), true, true);
    applyLabelEdit(d, {3, 2}, *encodeCp932("消える"), false, false);
    deleteLabelAt(d, {3, 2});
    exchangeFactions(d, 0, 1);
    const int packed = packTroopNumbers(d);
    const MapSizeChange c = changeMapSize(d, 40, 30, 4);
    EXPECT_TRUE(sameBytes(bytesOf(d), scripted));
    EXPECT_EQ(printed_, "2 1 北の丘\n" + std::to_string(packed) + "\n40 30 " +
                            std::to_string(c.colOffset) + " " + std::to_string(c.rowOffset) + "\n");
}

TEST_F(ScriptApi, EveryMisuseIsAJavaScriptErrorWithItsMessageAndLine) {
    struct Case {
        std::string script;
        std::string message;
    };
    const std::string tank = "brush.terrain(1); map.box(0, 0, 9, 9);\n";
    const Case cases[] = {
        {"\nmap.pen(64, 0);", "test.js:2: RangeError: hex 64,0 lies outside the 64 x 64 map"},
        {"map.cell(1, -1);", "test.js:1: RangeError: hex 1,-1 lies outside"},
        {"map.pen('a', 1);", "test.js:1: TypeError: col must be an integer, not a"},
        {"map.line(0, 0, 2.5, 1);", "TypeError: col must be an integer, not 2.5"},
        {"map.pen(1, 1);", "no brush chosen"},
        {"brush.terrain(56);", "RangeError: terrain id must be 0..55, not 56"},
        {"brush.pen('huge');", "pen kind must be \"single\" or \"mega\""},
        {"map.paste(1, 1);", "nothing copied"},
        {"map.placeTroop(0, 99999, 1, 1);", "weapon 99999 is no weapon of this game data"},
        {"map.placeTroop(6, 1000, 1, 1);", "faction must be 0..5, not 6"},
        {"map.placeTroop(0, 1000, 30, 30);", troopRefusalText(kTroopCannotStand)},
        {tank + "map.placeTroop(0, 1000, 1, 1);\nmap.placeTroop(2, 1010, 1, 1);",
         std::string("test.js:3: Error: ") + troopRefusalText(kTroopHexTaken)},
        {"map.recallTroop(0, 5);", "faction 0 has no placed troop in slot 5"},
        {"map.setLabel(1, 1, '\\u{1F600}');", "Shift-JIS"},
        {"for (var i = 0; i <= 1000; ++i) map.setLabel(i % 64, i >> 6, 'L' + i);", kLabelLimitText},
        {"map.resize(300, 10);", std::string(kWidthOutOfRangeText)},
        {"map.resize(10, 0);", std::string(kHeightOutOfRangeText)},
        {"map.resize(10, 10, 9);", "anchor must be 0..8"},
        {"map.exchangeFactions(2, 2);", "two different factions"},
        {"map.save('/tmp/x.kvs', 'odd');", "kind must be"},
        {"open('/nonexistent/x.kvs');", "/nonexistent/x.kvs: cannot be read as a map"},
        {"var x = ;", "test.js:1: SyntaxError"},
        {"\n\nthrow 'plain';", "test.js:3: plain"},
    };
    for (const Case& c : cases) {
        doc().resetToNewMap();
        const std::string before = bytesOf(doc());
        const ScriptResult r = run(c.script);
        EXPECT_FALSE(r.ok) << c.script;
        EXPECT_NE(r.error.find(c.message), std::string::npos) << c.script << "\n" << r.error;
        EXPECT_EQ(r.error.rfind("test.js", 0), 0u) << r.error;
        // A refusal changes nothing; a script that edited before its error leaves one step.
        const std::string& script = c.script;
        if (script.find("box") == std::string::npos &&
            script.find("setLabel(i") == std::string::npos) {
            EXPECT_TRUE(sameBytes(bytesOf(doc()), before)) << c.script;
        }
        EXPECT_LE(doc().history.doneSteps().size(), 1u) << c.script;
    }
}

TEST_F(ScriptApi, TheTimeLimitInterruptsEndlessLoops) {
    timeout_ = 0.2;
    for (const char* script : {"for (;;) {}", "while (true) map.cell(0, 0);"}) {
        const ScriptResult r = run(script);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.interrupted) << r.error;
        EXPECT_NE(r.error.find("interrupted"), std::string::npos) << r.error;
    }
    // The engine of the next run is not left interrupted.
    EXPECT_TRUE(run("print(map.width)").ok);
}

TEST_F(ScriptApi, ReadsTheMapAndTheDatabaseAsPlainObjects) {
    const ScriptResult r = run(R"js(
        brush.terrain(1);
        map.box(2, 2, 6, 4);
        brush.terrain(14);
        map.line(3, 3, 5, 3);
        var c = map.cell(4, 3);
        print(c.rivers, c.riverVariant, c.roads, c.terrain === map.cell(2, 2).terrain);
        print(map.name, map.factions.length, map.factions[0].takesPart === true || map.factions[0].takesPart === false);
        print(db.terrain(52).name, db.weaponByName(db.weapon(1000).name).id, db.weapon(1) === null);
        print(db.terrains.length, db.ruleSets.length > 0, db.productTypes.length > 0, db.armaments.length > 0);
        print(args.missing === undefined, typeof newMap, typeof open);
    )js");
    ASSERT_TRUE(r.ok) << r.error;
    const HexCell& c = *doc().cellAt(4, 3);
    const std::string first = std::to_string(c.riverLinks()) + " 0 0 true\n";
    EXPECT_EQ(printed_.substr(0, first.size()), first);
    EXPECT_NE(c.riverLinks(), 0);
    EXPECT_NE(printed_.find(
                  "新規マップ 6 true\n道路 1000 true\n56 true true true\ntrue function function\n"),
              std::string::npos)
        << printed_;
}

}  // namespace
