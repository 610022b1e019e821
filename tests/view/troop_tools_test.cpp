// The troop tools through the router: the chooser's lines and what each choice does, the move
// with its source mark and interaction lock, recalling with its question, the refusals'
// messages and the troop context menu.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "document/regiments.h"
#include "document/sample_document.h"
#include "document/troop_edit.h"
#include "document/troop_slots.h"
#include "view/troop_tools.h"

namespace kv {
namespace {

using kvtest::kFighter;
using kvtest::kTank;
constexpr int kApc = 1030, kInfantry = 1220;

class TroopToolsTest : public kvtest::SampleDocument, public ToolHost {
protected:
    void SetUp() override {
        SampleDocument::SetUp();
        // Land every troop may cross.
        const auto& types = doc().gameDatabase.terrainTypes();
        for (size_t i = 0; i < types.size(); ++i) {
            bool all = true;
            for (int w : {kTank, kApc, kInfantry})
                all &= doc().gameDatabase.hexMoveCost(
                           {uint8_t(i), 0, 0, 0}, doc().gameDatabase.weapon(w).movementType()) != 0;
            if (!all) continue;
            for (HexCell& c : doc().mapGrid.cells) c.terrain = uint8_t(i);
            break;
        }
        TroopToolHooks hooks;
        hooks.chooser = [this](ToolHost&, const ToolPoint&, ChooserMode mode,
                               const std::vector<TroopChooserEntry>& e) {
            choosers.push_back({mode, e});
            if (answers.empty()) return -1;
            const int a = answers.front();
            answers.pop_front();
            return a;
        };
        installTroopTools(router, hooks);
    }
    MapDocument& document() override { return doc(); }
    void queueHex(HexPos) override {}
    void queueRow(int) override {}
    void flush() override {}
    int contextMenu(HexPos, const std::vector<ToolMenuItem>& items) override {
        menus.push_back(items);
        return menuAnswer;
    }

    void brush(int table, int weapon) {
        doc().tool.troopBrush = TroopBrush{};
        doc().tool.troopBrush.valid = 1;
        doc().tool.troopBrush.faction = table;
        doc().tool.troopBrush.weaponId = weapon;
    }
    void click(int kind, int col, int row) {
        doc().tool.troopDrawKind = kind;
        router.press(*this, {{col, row}, true}, clock += 1000);
        router.release(*this, {{col, row}, true});
    }
    std::vector<std::string> texts(size_t chooser) const {
        std::vector<std::string> out;
        for (const TroopChooserEntry& e : choosers.at(chooser).second) out.push_back(e.text);
        return out;
    }
    std::vector<std::string> promptTexts() const {
        std::vector<std::string> out;
        for (const Prompt& p : prompts.seen) out.push_back(p.text);
        return out;
    }

    ToolRouter router;
    int64_t clock = 0;
    std::deque<int> answers;
    std::vector<std::pair<ChooserMode, std::vector<TroopChooserEntry>>> choosers;
    std::vector<std::vector<ToolMenuItem>> menus;
    int menuAnswer = 0;
};

TEST_F(TroopToolsTest, PlacingAsksWhereThereAreChoicesAndReportsRefusals) {
    MapDocument& d = doc();
    d.setEditMode(kEditTroops);
    brush(0, kApc);
    click(0, 4, 4);  // an empty hex: straight down, no chooser
    ASSERT_TRUE(choosers.empty());
    ASSERT_EQ(troopsAtHex(d, 4, 4).size(), 1u);
    const int apc = troopsAtHex(d, 4, 4)[0].slot;
    click(0, 5, 5);  // the brush was cleared: nothing, silently
    EXPECT_TRUE(troopsAtHex(d, 5, 5).empty());
    EXPECT_TRUE(prompts.seen.empty());

    // The infantry may only load into the carrier (its ground place is taken).
    brush(0, kInfantry);
    answers = {1};
    click(0, 4, 4);
    ASSERT_EQ(choosers.size(), 1u);
    EXPECT_EQ(choosers[0].first, ChooserMode::Place);
    EXPECT_EQ(texts(0), (std::vector<std::string>{"ここに搭載", troopLine(d, 0, apc)}))
        << "no place line: the ground position is taken";
    ASSERT_EQ(troopsAtHex(d, 4, 4).size(), 2u);
    EXPECT_EQ(troopsAtHex(d, 4, 4)[1].carrier, apc);

    brush(0, kFighter);
    answers = {0};
    click(0, 4, 4);
    EXPECT_EQ(texts(1).front(), "ここに配置");
    EXPECT_EQ(troopsAtHex(d, 4, 4).size(), 3u);

    // Loading a tank into the APC is refused with the placing message.
    brush(0, kTank);
    answers = {2};
    click(0, 4, 4);
    EXPECT_EQ(promptTexts(),
              (std::vector<std::string>{"この地点に兵器を配置することができません。"}));
    EXPECT_EQ(prompts.seen.back().caption, "警告");
    // Reinforcements of turn 1 cannot be placed: the click does nothing.
    d.setEditMode(kEditReinforcements);
    d.tool.reinforcementTurn = 1;
    brush(0, kTank);
    click(0, 9, 9);
    EXPECT_TRUE(troopsAtHex(d, 9, 9).empty());
}

TEST_F(TroopToolsTest, MovingMarksTheSourceLocksUndoAndEndsEitherWay) {
    MapDocument& d = doc();
    d.setEditMode(kEditTroops);
    brush(0, kTank);
    click(0, 3, 3);
    brush(0, kTank);
    click(0, 6, 6);
    const int tank = troopsAtHex(d, 3, 3)[0].slot;

    // The press that picks the troop up loses its release (to the chooser, in the editor): the
    // troop stays picked up.
    d.tool.troopDrawKind = 1;
    router.press(*this, {{3, 3}, true}, clock += 1000);
    router.move(*this, {{4, 3}, true}, false);
    EXPECT_NE(*d.marksAt(3, 3) & kMarkMoveSource, 0u);
    EXPECT_EQ(d.tool.interactionBusy, 1);
    click(1, 3, 3);  // the source itself: nothing
    EXPECT_EQ(d.tool.interactionBusy, 1);
    click(1, 6, 6);  // taken by the other tank: refused, and the move is over
    EXPECT_EQ(promptTexts(), (std::vector<std::string>{"ここに部隊を移動できません。"}));
    EXPECT_EQ(prompts.seen.back().caption, "注意");
    EXPECT_EQ(*d.marksAt(3, 3) & kMarkMoveSource, 0u);
    EXPECT_EQ(d.tool.interactionBusy, 0);

    click(1, 3, 3);
    router.reset(*this);  // message 1136 or another tool
    EXPECT_EQ(d.tool.interactionBusy, 0);
    EXPECT_EQ(*d.marksAt(3, 3) & kMarkMoveSource, 0u);

    click(1, 3, 3);
    click(1, 10, 3);
    EXPECT_EQ(d.troopAt(0, tank)->col(), 10);
    EXPECT_EQ(d.tool.interactionBusy, 0);
    EXPECT_TRUE(d.history.canUndo());
}

TEST_F(TroopToolsTest, RecallAsksFirstAndTheMenuOffersTheTroopsCommands) {
    MapDocument& d = doc();
    d.setEditMode(kEditTroops);
    brush(0, kTank);
    click(0, 3, 3);
    const int tank = troopsAtHex(d, 3, 3)[0].slot;
    prompts.script = {PromptAnswer::No};
    click(2, 3, 3);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].caption, "回収確認");
    EXPECT_EQ(prompts.seen[0].text, "部隊を回収します。\nよろしいですか？");
    EXPECT_FALSE(d.troopAt(0, tank)->hasFlag(kTroopUnplaced));
    click(2, 3, 3);  // the default answer: yes
    EXPECT_TRUE(d.troopAt(0, tank)->hasFlag(kTroopUnplaced));

    brush(0, kTank);
    click(0, 3, 3);
    const int again = troopsAtHex(d, 3, 3)[0].slot;
    menuAnswer = kAffiliationItem + slots::regimentSlot(1, 0, 0);
    router.rightPress(*this, {{3, 3}, true});
    ASSERT_EQ(menus.size(), 1u);
    std::vector<std::string> captions;
    for (const ToolMenuItem& i : menus[0]) captions.push_back(i.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"プロパティ", "詳細", "武装交換", "変形",
                                                  "所属変更", "連隊展開", "回収"}));
    const ToolMenuItem& affiliation = menus[0][4];
    ASSERT_FALSE(affiliation.submenu.empty());
    EXPECT_EQ(affiliation.submenu[0].caption, "第1連隊");
    EXPECT_EQ(affiliation.submenu.back().caption, "師団直属");
    EXPECT_EQ(affiliation.submenu[0].submenu[0].caption, "-空き-");
    bool ownChecked = false;
    for (const ToolMenuItem& i : affiliation.submenu.back().submenu)
        ownChecked |= i.checked && i.id == kAffiliationItem + again;
    EXPECT_TRUE(ownChecked);
    // The chosen place takes the troop, and its regiment is formed around it.
    EXPECT_FALSE(d.troopAt(0, again)->inUse());
    EXPECT_TRUE(d.troopAt(0, slots::regimentSlot(1, 0, 0))->inUse());
    EXPECT_EQ(d.regiments[0][6].formed(), 1);
}

}  // namespace
}  // namespace kv
