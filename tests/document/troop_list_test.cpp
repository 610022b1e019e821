// The troop table's rows: every troop in use of the six factions, with its figures.
#include "document/troop_list.h"

#include "document/sample_document.h"
#include "framework/cp932.h"

namespace kvtest {
namespace {

class TroopList : public SampleDocument {};

TEST_F(TroopList, ListsEveryTroopInUseWithItsFigures) {
    kv::TroopRecord a = troop(kTank, 12, 7, 1, "\x82\x60");  // "Ａ"
    a.setUnits(3, 8);
    a.setExperienceTimes10(125);
    putTroop(0, 0, a);
    putTroop(0, 1, kv::TroopRecord());  // an empty slot below the count is no troop
    kv::TroopRecord b = troop(kFighter, 3, 140, 5);
    b.setFlags(kv::kTroopUnplaced);
    putTroop(0, 2, b);
    putTroop(5, 199, troop(kDestroyer, 0, 0, 1));

    const kv::InfoTable table = kv::troopListTable(doc());
    ASSERT_EQ(table.headings.size(), 10u);
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[0].key, 0);
    EXPECT_EQ(table.rows[1].key, 2);
    EXPECT_EQ(table.rows[2].key, 5 * kv::kTroopKeyTable + 199);

    const auto& r = table.rows[0].cells;
    EXPECT_EQ(r[0].text, kv::decodeCp932Lossy(doc().factions[0].name()));
    EXPECT_EQ(r[1].text, "  1");
    EXPECT_EQ(r[2].text, "Ａ");
    EXPECT_EQ(r[3].text, kv::decodeCp932Lossy(doc().gameDatabase.weapon(kTank).name()));
    EXPECT_EQ(r[4].text, " 12,  7");
    EXPECT_EQ(r[5].text, "初期");
    EXPECT_EQ(r[6].text, "3");
    EXPECT_EQ(r[7].text, "24");
    EXPECT_EQ(r[8].text, "12");
    EXPECT_EQ(r[9].text, "");
    EXPECT_EQ(table.rows[1].cells[5].text, "5ターン");
    EXPECT_EQ(table.rows[1].cells[9].text, "待機");
    EXPECT_EQ(table.rows[2].cells[1].text, "200");
    // Coordinates sort by column, then row: (3,140) before (12,7).
    EXPECT_LT(*table.rows[1].cells[4].number, *table.rows[0].cells[4].number);
}

}  // namespace
}  // namespace kvtest
