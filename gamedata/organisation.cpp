// Organisation names, commander choice and the regiment messages.
#include "gamedata/organisation.h"

#include <array>
#include <string>

#include "framework/prompter.h"

namespace kv {

namespace {

constexpr std::array<std::string_view, kDivisionKindCount> kDivisionKinds = {"空軍師団", "陸軍師団",
                                                                             "海軍師団"};

constexpr std::array<std::string_view, kRegimentNameCount> kRegiments = {
    "第１連隊", "第２連隊", "第３連隊", "第４連隊", "第５連隊", "第６連隊", "直属部隊"};

constexpr std::array<std::string_view, kCommanderTitleCount> kCommanderTitles = {
    "部隊長", "統合部隊長", "連隊長", "統合連隊長", "師団長", "統合師団長"};

template <size_t N>
std::string_view entry(const std::array<std::string_view, N>& list, size_t index) {
    return index < N ? list[index] : std::string_view();
}

}  // namespace

std::string_view divisionKindName(size_t kind) {
    return entry(kDivisionKinds, kind);
}
std::string_view regimentName(size_t regiment) {
    return entry(kRegiments, regiment);
}
std::string_view commanderTitle(size_t title) {
    return entry(kCommanderTitles, title);
}

std::optional<size_t> chooseCommander(std::span<const RegimentMember> members) {
    if (members.empty()) return std::nullopt;
    std::optional<size_t> lastGathered;
    std::optional<size_t> firstFree;
    for (size_t i = 0; i < members.size(); ++i) {
        const RegimentMember& m = members[i];
        if (m.gathered && !m.loaded) return i;
        if (m.gathered) lastGathered = i;
        if (!m.gathered && !m.loaded && !firstFree) firstFree = i;
    }
    if (lastGathered) return lastGathered;
    if (firstFree) return firstFree;
    return 0;
}

std::string_view gatherRefusedText() {
    return "連隊長の地点へ配置不可能な部隊がいます。";
}

void reportDeploymentIncomplete(const void* owner) {
    showMessage("注意", "すべての部隊を展開できませんでした。", PromptIcon::None, PromptButtons::Ok,
                owner);
}

}  // namespace kv
