// The scenario settings: alliance groups, the checks of the settings dialog, storing them as one
// edit, and the victory-condition block's layout.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "document/map_file.h"
#include "document/map_settings.h"
#include "sample_document.h"
#include "scenario/victory_block.h"

namespace kv {
namespace {

constexpr uint8_t set(std::initializer_list<int> slots) {
    uint8_t s = 0;
    for (int i : slots) s = static_cast<uint8_t>(s | (1u << i));
    return s;
}

TEST(AllianceGroups, TickingJoinsGroupsButNeverEveryParticipant) {
    // Factions 0, 1 and 2 take part, each alone.
    const uint8_t part = set({0, 1, 2});
    AllianceGroups g{1, 2, 4, 0, 0, 0};
    joinAlliance(g, part, 0, 1);
    EXPECT_EQ(g, (AllianceGroups{set({0, 1}), set({0, 1}), 4, 0, 0, 0}));
    // All three would be one group: the lowest other member (1) is split off.
    joinAlliance(g, part, 0, 2);
    EXPECT_EQ(g, (AllianceGroups{set({0, 2}), set({1}), set({0, 2}), 0, 0, 0}));
    leaveAlliance(g, 0, 2);
    EXPECT_EQ(g, (AllianceGroups{set({0}), set({1}), set({2}), 0, 0, 0}));

    // A new map's bytes hold no own bit, and a slot that does not take part is no member.
    AllianceGroups fresh{0, 0, 0, set({0, 3}), 0, 0};
    const uint8_t four = set({0, 1, 2, 4});
    joinAlliance(fresh, four, 0, 1);
    EXPECT_EQ(fresh[0], set({0, 1}));
    EXPECT_EQ(fresh[1], set({0, 1}));
    joinAlliance(fresh, four, 2, 4);
    EXPECT_EQ(fresh[2], set({2, 4}));
    EXPECT_EQ(fresh[4], set({2, 4}));

    // Leaving: the others of p's group follow p's group without j.
    AllianceGroups trio{set({0, 1, 2}), set({0, 1, 2}), set({0, 1, 2}), 0, 0, 0};
    leaveAlliance(trio, 1, 2);
    EXPECT_EQ(trio, (AllianceGroups{set({0, 1}), set({0, 1}), set({2}), 0, 0, 0}));
}

TEST(AllianceGroups, WithdrawalSplitsTheLowestWhenTheRestAreOneGroup) {
    // 0, 1, 2 allied against 3; 3 withdraws: 0 leaves the others.
    AllianceGroups g{set({0, 1, 2}), set({0, 1, 2}), set({0, 1, 2}), set({3}), 0, 0};
    afterWithdrawal(g, set({0, 1, 2}));
    EXPECT_EQ(g, (AllianceGroups{set({0}), set({1, 2}), set({1, 2}), set({3}), 0, 0}));
    // Still two groups: nothing changes; one participant left: nothing either.
    const AllianceGroups before = g;
    afterWithdrawal(g, set({0, 1, 2}));
    EXPECT_EQ(g, before);
    afterWithdrawal(g, set({1}));
    EXPECT_EQ(g, before);

    // Boxes: never one's own, only between participants, and only with more than two of them.
    for (int p = 0; p < kFactionCount; ++p)
        for (int j = 0; j < kFactionCount; ++j)
            EXPECT_FALSE(allianceBoxEnabled(set({p, j}), p, j)) << p << j;
    EXPECT_TRUE(allianceBoxEnabled(set({0, 1, 5}), 0, 5));
    EXPECT_FALSE(allianceBoxEnabled(set({0, 1, 5}), 0, 0));
    EXPECT_FALSE(allianceBoxEnabled(set({0, 1, 5}), 0, 3));
}

FactionNumbers goodRow() {
    FactionNumbers n;
    n.funds = 1000;
    n.fundsLimit = 5000;
    n.productionCountLimit = 10;
    n.shares = {40, 30, 30};
    n.divisionLimits = {6, 6, 6, 30, 30, 30, 3, 6};
    return n;
}

TEST(MapSettingsChecks, EachRangeIsCheckedBeforeAnythingIsNarrowed) {
    EXPECT_EQ(checkFactionRow(goodRow()), "");
    const std::string shares = "生産割合の設定で空陸海の合計が100になるよう設定してください。";
    const std::string regiments = "各師団の最大連隊数は0～6までを指定してください。";
    const std::string units = "各師団の最大部隊数は0～30までを指定してください。";
    struct Case {
        void (*change)(FactionNumbers&);
        std::string message;
    } cases[] = {
        {[](FactionNumbers& n) {
             n.shares = {40, 30, 31};
         },
         shares},
        {[](FactionNumbers& n) {
             n.shares = {356, 0, 0};
         },
         shares},  // 356 & 0xFF = 100
        {[](FactionNumbers& n) {
             n.shares = {120, -20, 0};
         },
         shares},
        {[](FactionNumbers& n) { n.divisionLimits[1] = 7; }, regiments},
        {[](FactionNumbers& n) { n.divisionLimits[2] = 262; }, regiments},  // would wrap to 6
        {[](FactionNumbers& n) { n.divisionLimits[5] = 31; }, units},
        {[](FactionNumbers& n) {
             n.divisionLimits[0] = 7;
             n.divisionLimits[3] = 31;
         },
         regiments},  // division by division, regiments first
        {[](FactionNumbers& n) { n.divisionLimits[6] = 4; },
         "USER連隊数は0～3までを指定してください。"},
        {[](FactionNumbers& n) { n.divisionLimits[7] = 7; },
         "USER部隊数は0～6までを指定してください。"},
    };
    for (const Case& c : cases) {
        FactionNumbers n = goodRow();
        c.change(n);
        EXPECT_EQ(checkFactionRow(n), c.message);
    }

    std::array<FactionNumbers, kFactionCount> all;
    all.fill(goodRow());
    const uint8_t part = set({0, 2});
    EXPECT_EQ(checkFactionTotals(all, part, true), "");
    all[2].fundsLimit = all[2].funds;  // equal is accepted
    EXPECT_EQ(checkFactionTotals(all, part, true), "");
    all[2].fundsLimit = all[2].funds - 1;
    EXPECT_EQ(checkFactionTotals(all, part, true),
              "軍資金上限には資金より大きい金額を設定してください。");
    all[2] = goodRow();
    all[1].fundsLimit = 0;  // slot 1 does not take part: never checked
    all[1].productionCountLimit = 0;
    all[1].shares = {0, 0, 0};
    EXPECT_EQ(checkFactionTotals(all, part, true), "");
    all[0].productionCountLimit = 0;
    all[0].fundsLimit = 0;  // the production limit is reported first
    EXPECT_EQ(checkFactionTotals(all, part, true), "生産数制限には1～999までを指定してください。");
    all[0].fundsLimit = 5000;
    EXPECT_EQ(checkFactionTotals(all, part, false), "");

    EXPECT_EQ(checkTurnLimit(0, 0), "ターン制限に０が設定されています。");
    EXPECT_EQ(checkTurnLimit(20, 21), "ターン制限に増援ターン数以下の数値が設定されています。");
    EXPECT_EQ(checkTurnLimit(20, 20), "");
}

using MapSettingsStore = kvtest::SampleDocument;

TEST_F(MapSettingsStore, OneEditStoresEveryValueAndTheLatestReinforcementCounts) {
    putTroop(0, 0, troop(kvtest::kTank, 3, 3, 1));
    putTroop(2, 5, troop(kvtest::kTank, 4, 4, 21));
    EXPECT_EQ(latestAppearanceTurn(doc()), 21);

    MapSettings s = mapSettingsOf(doc());
    s.mapName = "\x83\x65\x83\x58\x83\x67";  // テスト
    s.message = "line1\r\nline2";
    s.turnLimit = 30;
    s.difficulty = 4;
    s.buildingIncome = 1;
    s.settingsLocked = 1;
    s.operationRank = 6;
    s.factions[3].setParticipation(kFactionComputer);
    s.factions[3].setFunds(777);
    s.productionLists[3].bytes[0] = 0x41;
    s.rules.ruleId = 200;
    s.rules.setValue(1, 1);
    int edits = 0;
    EditChange seen;
    doc().onEdited = [&](const EditChange& c) {
        ++edits;
        seen = c;
    };
    doc().isClean = 1;
    const std::string before = mapFileBytes(doc(), MapFileKind::Scenario);
    applyMapSettings(doc(), s);
    const std::string after = mapFileBytes(doc(), MapFileKind::Scenario);
    EXPECT_EQ(edits, 1);
    EXPECT_TRUE(seen.wholeMap);
    EXPECT_EQ(doc().isClean, 0);
    // One undo step takes every setting back, byte for byte, and redo brings them again.
    ASSERT_TRUE(doc().history.canUndo());
    doc().history.undo();
    EXPECT_TRUE(mapFileBytes(doc(), MapFileKind::Scenario) == before);
    ASSERT_TRUE(doc().history.canRedo());
    doc().history.redo();
    EXPECT_TRUE(mapFileBytes(doc(), MapFileKind::Scenario) == after);

    const MapHeader& h = doc().mapHeader;
    EXPECT_EQ(h.mapName(), s.mapName);
    EXPECT_EQ(h.message(), s.message);
    EXPECT_EQ(h.turnLimit(), 30);
    EXPECT_EQ(h.difficulty(), 4);
    EXPECT_EQ(h.buildingIncome(), 1);
    EXPECT_EQ(h.settingsLocked(), 1);
    EXPECT_EQ(h.operationRank(), 6);
    EXPECT_EQ(doc().factions[3].bytes, s.factions[3].bytes);
    EXPECT_EQ(doc().productionLists[3].bytes[0], 0x41);
    EXPECT_EQ(0, std::memcmp(&doc().ruleSettings, &s.rules, sizeof(RuleSettings)));

    // Numbers store cut to their fields only after the checks passed.
    FactionNumbers n = goodRow();
    n.funds = 123456789;
    FactionRecord f;
    n.storeInto(f);
    EXPECT_EQ(f.funds(), 123456789);
    EXPECT_EQ(f.share(0), 40);
    EXPECT_EQ(f.divisionLimit(7), 6);
    EXPECT_EQ(FactionNumbers::of(f).funds, 123456789);
}

TEST(VictoryBlockLayout, FiveBytesPerSlotThenSixteenFromThirtyAndBackUnchanged) {
    std::array<FactionRecord, kFactionCount> factions{};
    for (int s = 0; s < kFactionCount; ++s)
        for (size_t i = 0; i < FactionRecord::kSize; ++i)
            factions[size_t(s)].bytes[i] = static_cast<uint8_t>(s * 31 + i);
    const VictoryBlock b = VictoryBlock::of(factions);
    for (int s = 0; s < kFactionCount; ++s) {
        for (size_t i = 0; i < 5; ++i)
            EXPECT_EQ(b.bytes[5 * size_t(s) + i], factions[size_t(s)].bytes[54 + i]);
        for (size_t i = 0; i < 16; ++i)
            EXPECT_EQ(b.bytes[30 + 16 * size_t(s) + i], factions[size_t(s)].bytes[340 + i]);
    }
    VictoryBlock edited = b;
    edited.setVictory(4, VictoryBlock::Transport, 100);
    edited.setValue(5, 3, 654321);
    EXPECT_EQ(edited.value(5, 3), 654321);
    std::array<FactionRecord, kFactionCount> back = factions;
    edited.writeTo(back);
    EXPECT_EQ(back[4].victory(VictoryBlock::Transport), 100);
    EXPECT_EQ(back[5].victoryValue(3), 654321);
    // Nothing outside the victory bytes moved.
    back[4].setVictory(VictoryBlock::Transport, factions[4].victory(VictoryBlock::Transport));
    back[5].setVictoryValue(3, factions[5].victoryValue(3));
    for (int s = 0; s < kFactionCount; ++s)
        EXPECT_EQ(back[size_t(s)].bytes, factions[size_t(s)].bytes);
}

}  // namespace
}  // namespace kv
