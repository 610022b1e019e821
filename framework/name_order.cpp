// The installed name ranker and the code-point order used without one.
#include "framework/name_order.h"

#include "framework/cp932.h"

namespace kv {

namespace {

NameRanker& installed() {
    static NameRanker ranker;
    return ranker;
}

}  // namespace

std::vector<int> rankNamesByCodePoint(const std::vector<std::string>& cp932) {
    // UTF-8 bytes compare in code point order.
    std::vector<std::string> keys;
    keys.reserve(cp932.size());
    for (const std::string& name : cp932) keys.push_back(decodeCp932Lossy(name));
    return ranksOf(keys, std::less<std::string>());
}

std::vector<int> rankNames(const std::vector<std::string>& cp932) {
    const NameRanker& ranker = installed();
    if (!ranker) return rankNamesByCodePoint(cp932);
    std::vector<int> ranks = ranker(cp932);
    // A ranker that answers for the wrong number of names is not trusted with the order.
    return ranks.size() == cp932.size() ? ranks : rankNamesByCodePoint(cp932);
}

NameRanker setNameRanker(NameRanker ranker) {
    NameRanker previous = std::move(installed());
    installed() = std::move(ranker);
    return previous;
}

}  // namespace kv
