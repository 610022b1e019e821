// The Japanese order of sorted name lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/cp932.h"
#include "framework/japanese_collation.h"

namespace kv {
namespace {

TEST(JapaneseCollation, KanaOfEitherWidthSortTogetherByReadingAndBeforeKanji) {
    // In the order the groups must come, no name of another group sorting between the names
    // of one: each group but the last is one word in different widths and scripts.
    const std::vector<std::vector<const char*>> groups = {
        {"F-15", "Ｆ－１５"},              // Latin of either width
        {"アパッチ", "ｱﾊﾟｯﾁ"},             // katakana of either width
        {"ハリアー", "ﾊﾘｱｰ", "はりあー"},  // and hiragana of the same reading
        {"ミグ", "ﾐｸﾞ"},                   // voiced marks, full and separate
        {"戦車", "歩兵", "対潜哨戒機"},    // kanji last
    };
    std::vector<std::string> names;
    std::vector<size_t> groupOf;
    for (size_t g = 0; g < groups.size(); ++g)
        for (const char* name : groups[g]) {
            names.push_back(*encodeCp932(name));
            groupOf.push_back(g);
        }
    // Listed back to front, so an order kept from the input would show.
    std::reverse(names.begin(), names.end());
    std::reverse(groupOf.begin(), groupOf.end());

    const std::vector<int> ranks = rankNamesJapanese(names);
    ASSERT_EQ(ranks.size(), names.size());
    for (size_t a = 0; a < names.size(); ++a) {
        for (size_t b = 0; b < names.size(); ++b) {
            if (groupOf[a] < groupOf[b]) {
                EXPECT_LT(ranks[a], ranks[b])
                    << decodeCp932Lossy(names[a]) << " / " << decodeCp932Lossy(names[b]);
            }
        }
    }

    // The same name twice shares its rank.
    const std::vector<int> twice = rankNamesJapanese({names[0], names[0]});
    EXPECT_EQ(twice[0], twice[1]);
}

}  // namespace
}  // namespace kv
