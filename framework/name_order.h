// The order of names in sorted lists. The collation that suits Japanese lives with Qt, so the
// editor installs it here; without one, names sort by the code points of their Unicode form.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kv {

// Given CP932 names, the rank of each in sorted order; names that sort alike share a rank.
using NameRanker = std::function<std::vector<int>(const std::vector<std::string>& cp932)>;

// The ranks of `cp932` under the installed ranker.
std::vector<int> rankNames(const std::vector<std::string>& cp932);
// The ranks by code point, the order used while no ranker is installed.
std::vector<int> rankNamesByCodePoint(const std::vector<std::string>& cp932);
// Installs `ranker` (empty: the code-point order) and returns the previous one.
NameRanker setNameRanker(NameRanker ranker);

// Installs a ranker for the lifetime of the guard.
class ScopedNameRanker {
public:
    explicit ScopedNameRanker(NameRanker ranker) : previous_(setNameRanker(std::move(ranker))) {}
    ~ScopedNameRanker() { setNameRanker(std::move(previous_)); }
    ScopedNameRanker(const ScopedNameRanker&) = delete;
    ScopedNameRanker& operator=(const ScopedNameRanker&) = delete;

private:
    NameRanker previous_;
};

// The ranks of `keys` in sorted order under `less`, equal keys sharing a rank: the step every
// ranker ends with once it has a sort key per name.
template <typename Key, typename Less>
std::vector<int> ranksOf(const std::vector<Key>& keys, Less less) {
    std::vector<size_t> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return less(keys[a], keys[b]); });
    std::vector<int> ranks(keys.size());
    int rank = 0;
    for (size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && less(keys[order[k - 1]], keys[order[k]])) ++rank;
        ranks[order[k]] = rank;
    }
    return ranks;
}

}  // namespace kv
