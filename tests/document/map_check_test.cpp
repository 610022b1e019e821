// The map check: each finding on a small playable map that is clean to begin with, the
// order of the findings, their texts, and the demo scenario of the sample data.
#include <gtest/gtest.h>

#include <algorithm>

#include "document/map_check.h"
#include "document/map_file.h"
#include "document/troop_capacity.h"
#include "document/troop_slots.h"
#include "framework/profile.h"
#include "sample_document.h"

namespace kv {
namespace {

using kvtest::kFighter;
using kvtest::kTank;
using slots::directSlot;
using slots::regimentSlot;

constexpr int kInfantry = 1220, kApc = 1030, kTroopHeli = 240, kTowedGun = 1070,
              kDeployedGun = 1080, kHeadquarters = 1250, kDestroyer = 2040;
constexpr uint8_t kAirport = 35, kCapital = 31, kCity = 32, kBridge = 49, kSea = 29;

std::vector<int> codes(const std::vector<MapProblem>& problems) {
    std::vector<int> out;
    for (const MapProblem& p : problems) out.push_back(p.code);
    return out;
}

// A map the check passes: BLUE (USER) and RED (computer) take part, each with one capital,
// on land everywhere but a strip of sea along column 0.
class MapCheck : public kvtest::SampleDocument {
protected:
    void SetUp() override {
        SampleDocument::SetUp();
        for (int row = 0; row < doc().height(); ++row)
            for (int col = 0; col < doc().width(); ++col)
                doc().cellAt(col, row)->terrain = col == 0 ? kSea : kTerrainPlain;
        doc().factions[0].setParticipation(kFactionUser);
        doc().factions[1].setParticipation(kFactionComputer);
        building(2, 2, kCapital, 1);
        building(40, 40, kCapital, 2);
    }
    void building(int col, int row, uint8_t terrain, int owner) {
        HexCell* c = doc().cellAt(col, row);
        c->terrain = terrain;
        c->owner = static_cast<uint8_t>(owner);
    }
    // A troop standing on the map at the start.
    void stand(int table, int slot, int weapon, int col, int row) {
        putTroop(table, slot, troop(weapon, col, row));
        ASSERT_TRUE(doc().enterTroopInStack(table, slot));
    }
    void stow(int table, int slot, int weapon, int col, int row, int turn = 1) {
        TroopRecord t = troop(weapon, col, row, turn);
        t.setFlags(kTroopStowed);
        putTroop(table, slot, t);
        doc().enterTroopInStack(table, slot);
    }
    void load(int table, int slot, int weapon, int carrierSlot, int place) {
        const TroopRecord* c = doc().troopAt(table, carrierSlot);
        putTroop(table, slot, troop(weapon, c->col(), c->row()));
        loadInto(table, slot, carrierSlot, place);
    }
    std::vector<MapProblem> check() { return checkMap(doc()); }
};

TEST_F(MapCheck, ANewMapWithoutFactionsGivesFiveThenTen) {
    doc().resetToNewMap();
    const std::vector<MapProblem> p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{5, 10}));
    EXPECT_EQ(p[0].text, "参戦陣営がありません。");
    EXPECT_EQ(p[1].text, "ＵＳＥＲ陣営が存在していません。");
    EXPECT_EQ(checkWindowText(p), "参戦陣営がありません。\r\nＵＳＥＲ陣営が存在していません。");
    EXPECT_EQ(checkWindowText({}), "エラーは発見されませんでした。");
}

TEST_F(MapCheck, TheBaseMapIsCleanAndParticipationIsCounted) {
    EXPECT_TRUE(check().empty()) << checkWindowText(check());
    doc().factions[1].setParticipation(kFactionAbsent);
    doc().cellAt(40, 40)->terrain = kTerrainPlain;
    EXPECT_EQ(codes(check()), (std::vector<int>{6}));
    doc().factions[0].setParticipation(kFactionComputer);
    EXPECT_EQ(codes(check()), (std::vector<int>{6, 10}));
}

TEST_F(MapCheck, CapitalsPerFaction) {
    // Missing: a headquarters troop stands in for it.
    doc().cellAt(40, 40)->terrain = kTerrainPlain;
    std::vector<MapProblem> p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{27}));
    EXPECT_EQ(p[0].text, "RED の首都が存在しません。");
    EXPECT_EQ(p[0].subject, 1);
    stand(1, directSlot(1, 0), kHeadquarters, 30, 30);
    EXPECT_TRUE(check().empty());

    // Several, counted; neutral ones reported first.
    building(5, 5, kCapital, 1);
    building(6, 6, kCapital, 0);
    p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{1, 3}));
    EXPECT_EQ(p[0].text, "中立の首都が存在しています(1個存在)。");
    EXPECT_EQ(p[1].text, "BLUE の首都の数が多すぎます(2個存在)。");
    EXPECT_EQ(p[1].detail, 2u);

    // A faction not taking part: capitals before buildings before borderlines.
    building(5, 5, kTerrainPlain, 0);
    building(6, 6, kTerrainPlain, 0);
    building(7, 7, kCapital, 4);
    building(8, 8, kCity, 4);
    doc().cellAt(9, 9)->territory = 4;
    p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{4}));
    EXPECT_EQ(p[0].text, "不参戦陣営 YELLOW の首都が存在しています(1個存在)。");
    building(7, 7, kTerrainPlain, 0);
    EXPECT_EQ(check()[0].text, "不参戦陣営 YELLOW の建物が存在しています(1個存在)。");
    building(8, 8, kTerrainPlain, 0);
    EXPECT_EQ(check()[0].text, "不参戦陣営 YELLOW の国境線が存在しています。");
}

TEST_F(MapCheck, TroopsOnTerrainTheyCannotUse) {
    stand(0, regimentSlot(1, 0, 0), kTank, 0, 6);  // a tank at sea
    std::vector<MapProblem> p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{13}));
    EXPECT_EQ(p[0].text, "移動不可能な地形に部隊がいます。BLUE No.67 (0,6)");
    EXPECT_EQ(p[0].col, 0);
    EXPECT_EQ(p[0].row, 6);
    EXPECT_EQ(p[0].table, 0);
    EXPECT_EQ(p[0].slot, regimentSlot(1, 0, 0));
    // The fighter above it is fine.
    stand(0, regimentSlot(0, 0, 0), kFighter, 0, 6);
    EXPECT_EQ(codes(check()), (std::vector<int>{13}));

    // Bridges: a destroyed one, or one of a faction not allied, closes them to ground troops.
    doc().troopAt(0, regimentSlot(1, 0, 0))->clear();
    doc().rebuildTroopStacks();
    building(10, 10, kBridge, 0);
    stand(0, regimentSlot(1, 0, 1), kTank, 10, 10);
    EXPECT_TRUE(check().empty());
    doc().cellAt(10, 10)->owner = 2;
    EXPECT_EQ(codes(check()), (std::vector<int>{13}));
    doc().factions[0].setAlliances(1u << 1);
    EXPECT_TRUE(check().empty());
    doc().cellAt(10, 10)->destroyed = 1;
    EXPECT_EQ(codes(check()), (std::vector<int>{13}));
}

TEST_F(MapCheck, ATroopMissingFromItsHexStackIsNotOnTheMap) {
    putTroop(0, 3, troop(kTank, 7, 8));  // never entered in the stack
    std::vector<MapProblem> p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{15}));
    EXPECT_EQ(p[0].text, "マップに配置されていない部隊がいます。BLUE No.4 (7,8)");
    // Still waiting in the list, or a reinforcement: no stack to be in.
    doc().troopAt(0, 3)->setFlags(kTroopUnplaced);
    EXPECT_TRUE(check().empty());
    doc().troopAt(0, 3)->setFlags(0);
    doc().troopAt(0, 3)->setAppearanceTurn(4);
    EXPECT_TRUE(check().empty());
}

TEST_F(MapCheck, LoadedAndStowedTroopsMustBeWhereTheirRecordsSay) {
    stand(0, directSlot(1, 0), kApc, 12, 12);
    load(0, directSlot(1, 1), kInfantry, directSlot(1, 0), 0);
    EXPECT_TRUE(check().empty());
    // The carrier forgets its cargo.
    doc().troopAt(0, directSlot(1, 0))->setCargoEntry(0, 0);
    std::vector<MapProblem> p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{29}));
    EXPECT_EQ(p[0].text, "搭載元部隊が存在していません。BLUE No." +
                             std::to_string(directSlot(1, 1) + 1) + " (12,12)");
    // The carrier is gone (and its place in the division is a gap now).
    doc().troopAt(0, directSlot(1, 0))->clear();
    doc().rebuildTroopStacks();
    EXPECT_EQ(codes(check()), (std::vector<int>{29, 38}));

    doc().troopAt(0, directSlot(1, 1))->clear();
    building(20, 20, kAirport, 1);
    stow(0, regimentSlot(0, 0, 0), kFighter, 20, 20);
    stow(0, regimentSlot(1, 0, 0), kTank, 20, 20);
    EXPECT_TRUE(check().empty());
    stow(0, regimentSlot(2, 0, 0), kDestroyer, 20, 20);  // ships stow in ports only
    stow(0, regimentSlot(1, 0, 1), kTank, 21, 21);       // plain land stows nothing
    p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{14, 14}));
    EXPECT_EQ(p[0].text, "収納不可能な地形に部隊がいます。BLUE No.68 (21,21)");
    EXPECT_EQ(p[1].slot, regimentSlot(2, 0, 0));
    doc().troopAt(0, regimentSlot(2, 0, 0))->clear();
    doc().troopAt(0, regimentSlot(1, 0, 1))->clear();
    doc().cellAt(20, 20)->destroyed = 1;
    EXPECT_EQ(codes(check()), (std::vector<int>{14, 14}));
}

TEST_F(MapCheck, TransportConditionsAndTheirTargets) {
    const auto setCondition = [&](int table, int slot, int col, int row) {
        TroopRecord* t = doc().troopAt(table, slot);
        t->bytes[kTroopConditionAt] = kConditionTransport;
        t->bytes[kTroopDestColAt] = static_cast<uint8_t>(col);
        t->bytes[kTroopDestRowAt] = static_cast<uint8_t>(row);
    };
    stand(0, directSlot(1, 0), kInfantry, 5, 6);
    setCondition(0, directSlot(1, 0), 30, 31);
    EXPECT_TRUE(check().empty());
    setCondition(0, directSlot(1, 0), 64, 3);
    std::vector<MapProblem> p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{17}));
    EXPECT_EQ(p[0].text, "輸送目標がマップ外に設定されています。BLUE No.103 (5,6)");
    setCondition(0, directSlot(1, 0), 3, 64);
    EXPECT_EQ(codes(check()), (std::vector<int>{17}));
    doc().cellAt(30, 31)->terrain = kTerrainBlank;
    setCondition(0, directSlot(1, 0), 30, 31);
    EXPECT_EQ(codes(check()), (std::vector<int>{18}));
    // A ship must be able to reach its destination; an infantry destination on land is
    // not looked at further.
    stand(0, directSlot(2, 0), kDestroyer, 0, 20);
    setCondition(0, directSlot(2, 0), 9, 20);
    setCondition(0, directSlot(1, 0), 9, 20);
    EXPECT_EQ(codes(check()), (std::vector<int>{19}));
    EXPECT_EQ(check()[0].slot, directSlot(2, 0));

    // Computer factions: an enemy of the user, or its ally; neither looks at the target.
    doc().troopAt(0, directSlot(2, 0))->clear();
    doc().rebuildTroopStacks();
    stand(1, directSlot(1, 0), kInfantry, 41, 41);
    setCondition(1, directSlot(1, 0), 200, 200);
    EXPECT_EQ(codes(check()), (std::vector<int>{22}));
    doc().factions[1].setAlliances(1u << 0);
    p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{25}));
    EXPECT_EQ(p[0].text, "同盟陣営部隊に輸送勝利条件が設定されています。RED No.103 (41,41)");
}

TEST_F(MapCheck, EvacuationTargetsOffTheMap) {
    doc().evacuationTargets.setTarget(0, 70, 5, true);
    doc().evacuationTargets.setTarget(1, 80, 90, false);
    std::vector<MapProblem> p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{20}));
    EXPECT_EQ(p[0].text, "民間人陣営避難目標がマップ外に設定されています。(70,5)");
    EXPECT_EQ(p[0].subject, 70);
    EXPECT_EQ(p[0].detail, 5u);
}

TEST_F(MapCheck, RegimentsWithGapsAndBeyondTheirLimits) {
    // Army regiment 1 in use while regiment 0 is empty; direct units 0 and 2.
    stand(0, regimentSlot(1, 1, 0), kTank, 10, 10);
    stand(0, directSlot(1, 0), kTank, 11, 10);
    stand(0, directSlot(1, 2), kTank, 12, 10);
    std::vector<MapProblem> p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{37, 38}));
    EXPECT_EQ(p[0].text,
              "参加陣営 BLUE の 陸軍師団の連隊間に空欄があります。\r\n　詰めて配備してください。");
    EXPECT_EQ(p[0].detail, (1u << 16) | 1u);
    EXPECT_EQ(p[1].text,
              "参加陣営 BLUE の 陸軍師団の部隊間に空欄があります。\r\n　詰めて配備してください。");
    EXPECT_EQ(p[1].slot, directSlot(1, 2));

    // Beyond the division's limits, which come first in each group.
    doc().factions[0].setDivisionLimit(1, 1);
    doc().factions[0].setDivisionLimit(4, 2);
    p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{39, 40}));
    EXPECT_EQ(p[0].text, "参加陣営 BLUE の 陸軍師団に設定数以上の連隊が存在しています");
    EXPECT_EQ(p[1].text, "参加陣営 BLUE の 陸軍師団に設定数以上の部隊が存在しています");
}

TEST_F(MapCheck, RegimentsPlacedInPartAndTowedGunsInGatheredRegiments) {
    stand(0, regimentSlot(1, 0, 0), kTank, 10, 10);
    TroopRecord waiting = troop(kTank, 0, 0);
    waiting.setFlags(kTroopUnplaced);
    putTroop(0, regimentSlot(1, 0, 1), waiting);
    std::vector<MapProblem> p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{36}));
    EXPECT_EQ(p[0].text, "陣営 BLUE の 陸軍師団第1連隊の一部の部隊のみが配置されています。");
    EXPECT_EQ(p[0].detail, 1u);
    doc().troopAt(0, regimentSlot(1, 0, 1))->clear();

    // A towed gun moves with a gathered regiment only in its deployed form.
    stand(0, regimentSlot(1, 0, 1), kTowedGun, 11, 10);
    EXPECT_TRUE(check().empty());
    for (int u = 0; u < 2; ++u) {
        TroopRecord* t = doc().troopAt(0, regimentSlot(1, 0, u));
        t->setFlags(static_cast<uint16_t>(t->flags() | kTroopGathered));
    }
    p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{41}));
    EXPECT_EQ(p[0].text,
              "参加陣営 BLUE の 集結状態陸軍師団第1連隊に\r\n　移動できない部隊が含まれています。");
    EXPECT_EQ(p[0].slot, regimentSlot(1, 0, 1));
    doc().troopAt(0, regimentSlot(1, 0, 1))->setWeaponId(kDeployedGun);
    EXPECT_TRUE(check().empty());
}

TEST_F(MapCheck, CarriersAndHexesLoadedBeyondTheirCapacity) {
    // Two infantry places and one for light vehicles or infantry: three fit, four do not.
    stand(0, directSlot(1, 0), kApc, 12, 12);
    for (int i = 0; i < 3; ++i) load(0, directSlot(1, 1 + i), kInfantry, directSlot(1, 0), i);
    EXPECT_TRUE(check().empty());
    load(0, directSlot(1, 4), kInfantry, directSlot(1, 0), 3);
    std::vector<MapProblem> p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{34}));
    EXPECT_EQ(p[0].text, "搭載容量を越えて搭載をおこなっています。BLUE No." +
                             std::to_string(directSlot(1, 0) + 1) + " (12,12)");
    // A tank fits in no place of a troop helicopter.
    stand(0, directSlot(0, 0), kTroopHeli, 14, 14);
    load(0, directSlot(1, 5), kTank, directSlot(0, 0), 0);
    EXPECT_EQ(codes(check()), (std::vector<int>{34, 34}));

    for (int s = 1; s <= 5; ++s) doc().troopAt(0, directSlot(1, s))->clear();
    for (int s : {directSlot(1, 0), directSlot(0, 0)})
        for (int i = 0; i < TroopRecord::kCargoEntries; ++i)
            doc().troopAt(0, s)->setCargoEntry(i, 0);
    // Ten aircraft fill an airport; the reinforcements of a later turn count apart.
    building(20, 20, kAirport, 1);
    for (int u = 0; u < 6; ++u) stow(0, regimentSlot(0, 0, u), kFighter, 20, 20);
    for (int u = 0; u < 4; ++u) stow(0, regimentSlot(0, 1, u), kFighter, 20, 20);
    for (int u = 4; u < 6; ++u) stow(0, regimentSlot(0, 1, u), kFighter, 20, 20, 5);
    EXPECT_TRUE(check().empty());
    stow(0, regimentSlot(0, 2, 0), kFighter, 20, 20);
    p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{35}));
    EXPECT_EQ(p[0].text, "収納容量を越えて収納をおこなっています。(20, 20)");
}

TEST_F(MapCheck, VictoryConditionsNeedSomethingToWin) {
    doc().factions[0].setVictory(0, 1);
    doc().factions[0].setVictory(1, 1);
    doc().factions[0].setVictory(2, 1);
    std::vector<MapProblem> p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{30, 31, 32}));
    EXPECT_EQ(p[0].text,
              "参加陣営 BLUE に建物勝利条件が設定されていますが、\r\n    "
              "敵中立陣営に勝利条件建物は存在しません。");
    // A victory label on the enemy's capital, an enemy troop to destroy, a troop to bring.
    ASSERT_TRUE(doc().setLabel(40, 40, "X", 1, 0));
    stand(1, directSlot(1, 0), kTank, 39, 39);
    doc().troopAt(1, directSlot(1, 0))->bytes[kTroopConditionAt] = kConditionAnnihilation;
    stand(0, directSlot(1, 0), kInfantry, 5, 5);
    TroopRecord* carried = doc().troopAt(0, directSlot(1, 0));
    carried->bytes[kTroopConditionAt] = kConditionTransport;
    carried->bytes[kTroopDestColAt] = 20;
    carried->bytes[kTroopDestRowAt] = 20;
    EXPECT_TRUE(check().empty());
    // An ally's label and troops do not count.
    doc().factions[0].setAlliances(1u << 1);
    EXPECT_EQ(codes(check()), (std::vector<int>{30, 31}));
}

TEST_F(MapCheck, TroopsOfFactionsNotTakingPartAndTheOrderOfTheSteps) {
    stand(3, 0, kTank, 30, 3);
    stand(3, 1, kTank, 31, 3);
    stand(0, 5, kTank, 0, 9);  // at sea
    doc().evacuationTargets.setTarget(1, 1, 99, true);
    building(33, 33, kCapital, 0);
    const std::vector<MapProblem> p = check();
    ASSERT_EQ(codes(p), (std::vector<int>{1, 20, 13, 12}));
    EXPECT_EQ(p[3].text, "不参戦陣営 YELLOW の部隊が存在しています(2部隊存在)。");
}

TEST(MapProblemTexts, EveryCodeButTwentyEightHasItsText) {
    for (int code = 1; code <= problem::kLastCode; ++code)
        EXPECT_EQ(mapProblemFormat(code).empty(), code == 28) << code;
    EXPECT_TRUE(mapProblemFormat(0).empty());
    EXPECT_TRUE(mapProblemFormat(42).empty());
    EXPECT_EQ(formatMapProblem(problem::kNoCapital, "CYAN"), "CYAN の首都が存在しません。");
    EXPECT_EQ(checkReportLines({MapProblem{.text = "a\r\nb"}, MapProblem{.text = "c"}}),
              "a\nb\nc\n");
}

TEST(MapCheckDemo, TheDemoMapsOfTheSampleDataAreClean) {
    RecordingPrompter quiet;
    ScopedPrompter installed(&quiet);
    setProgramPath(kvtest::distDir() + "/kvornme");
    {
        MapDocument doc;
        doc.loadResources();
        for (const char* name : {"/map/demo_scenario.kvs", "/map/demo_map.kvn"}) {
            ASSERT_TRUE(loadMapFile(doc, kvtest::distDir() + name)) << name;
            EXPECT_EQ(checkWindowText(checkMap(doc)), kNoProblemsText) << name;
        }
        // Three factions with troops in all three branches, some carried and some stowed.
        int loaded = 0, stowed = 0;
        std::array<bool, 3> branches{};
        for (int f = 0; f < 3; ++f) {
            EXPECT_TRUE(doc.factions[size_t(f)].takesPart());
            for (const TroopRecord& t : doc.troops.records[size_t(f)]) {
                if (!t.inUse()) continue;
                loaded += t.hasFlag(kTroopLoaded) ? 1 : 0;
                stowed += t.hasFlag(kTroopStowed) ? 1 : 0;
                branches[size_t(doc.gameDatabase.branch(t.weaponId()))] = true;
            }
        }
        EXPECT_GE(loaded, 3);
        EXPECT_GE(stowed, 3);
        EXPECT_EQ(branches, (std::array<bool, 3>{true, true, true}));
    }
    setProgramPath("");
}

}  // namespace
}  // namespace kv
