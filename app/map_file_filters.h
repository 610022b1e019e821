// The file dialogs' filters of the map file kinds: the caption each dialog shows, and the
// pattern that picks its files.
#pragma once

#include <string>
#include <utility>

namespace kv {

struct MapFileFilter {
    const char* caption;  // UTF-8, shown as it is
    const char* pattern;
};

inline constexpr MapFileFilter kNormalMapFilter{"ケステルｿﾞﾙﾃｱﾏｯﾌﾟﾃﾞｰﾀ(*.kvn)", "*.kvn"};
inline constexpr MapFileFilter kScenarioMapFilter{"ケステルｿﾞﾙﾃｱｼﾅﾘｵﾃﾞｰﾀ(*.kvs)", "*.kvs"};
inline constexpr MapFileFilter kSimpleMapFilter{"ケステルｿﾞﾙﾃｱｼﾝﾌﾟﾙﾓｰﾄﾞﾃﾞｰﾀ(*.ksm)", "*.ksm"};
inline constexpr MapFileFilter kIntermediateFilter{"ケステルｿﾞﾙﾃｱ中間ﾃﾞｰﾀ(*.kvt)", "*.kvt"};
inline constexpr MapFileFilter kSimpleIntermediateFilter{"ケステルｿﾞﾙﾃｱｼﾝﾌﾟﾙﾓｰﾄﾞ中間ﾃﾞｰﾀ(*.kst)",
                                                         "*.kst"};

// Every kind the map selection reads.
inline constexpr MapFileFilter kReadableMapFilters[] = {kNormalMapFilter, kScenarioMapFilter,
                                                        kSimpleMapFilter, kIntermediateFilter,
                                                        kSimpleIntermediateFilter};

inline std::pair<std::string, std::string> dialogFilter(const MapFileFilter& f) {
    return {f.caption, f.pattern};
}

}  // namespace kv
