// The collation of the Japanese locale for sorted name lists, installed by the editor in
// place of the core's code-point order.
#pragma once

#include <string>
#include <vector>

namespace kv {

// Ranks CP932 names as a Japanese reader sorts them: kana of either width and script
// together by reading, Latin letters of either width together, kanji after the kana.
std::vector<int> rankNamesJapanese(const std::vector<std::string>& cp932);

}  // namespace kv
