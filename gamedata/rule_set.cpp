// Rule sets: forced values, rule file reading and writing.
#include "gamedata/rule_set.h"

#include <vector>

#include "gamedata/keyed_lines.h"
#include "gamedata/text_table.h"

namespace kv {

namespace {

// How the program treats a rule's stored value.
enum class RuleKind : uint8_t {
    Stored,     // as stored
    Always0,    // forced to 0
    Always1,    // forced to 1
    Follows,    // reads another rule; setting it does nothing
    FollowsSet  // reads another rule; setting it stores 1
};

struct RuleEntry {
    const char* name;  // UTF-8
    RuleKind kind;
    uint8_t followed;  // the rule read by Follows and FollowsSet
};

using K = RuleKind;
constexpr std::array<RuleEntry, kRuleCount> kRules = {{
    {"最低燃料消費", K::Always1, 0},
    {"ZOC", K::Stored, 0},
    {"ZOC攻撃武器必要", K::Always1, 0},
    {"索敵", K::Stored, 0},
    {"索敵階層化", K::Always1, 0},
    {"占領耐久度", K::Stored, 0},
    {"収納", K::Always1, 0},
    {"補給フェイズ", K::Always0, 0},
    {"補給軍事費消費", K::Always1, 0},
    {"相場", K::Always1, 0},
    {"隠蔽", K::Stored, 0},
    {"疲労度", K::Always1, 0},
    {"経験値", K::Always1, 0},
    {"生産可能建物の首都から距離", K::Stored, 0},
    {"首都隣接ヘックスでの生産", K::Always0, 0},
    {"爆撃", K::Stored, 0},
    {"ミサイルフェイズ", K::Always0, 0},
    {"スタック", K::Always1, 0},
    {"合流", K::Always0, 0},
    {"高速移動", K::Always0, 0},
    {"誤射", K::Always0, 0},
    {"包囲効果", K::Always1, 0},
    {"クリティカルヒット", K::Stored, 0},
    {"同盟国への攻撃占領", K::Stored, 0},
    {"壊滅建物の所属", K::Always0, 0},
    {"首都占領時の建物所属", K::Stored, 0},
    {"搭載可能となる建物所属", K::Always0, 0},
    {"搭載機数制限", K::Always0, 0},
    {"分散", K::Always0, 0},
    {"補充", K::Stored, 0},
    {"誤射による味方ダメージ", K::Always1, 0},
    {"迎撃", K::Stored, 0},
    {"陣営情報公開", K::Stored, 0},
    {"生産", K::Stored, 0},
    {"首都破壊", K::Stored, 0},
    {"昼夜区別", K::Always1, 0},
    {"部隊行動設定時", K::Always0, 0},
    {"初期生産", K::Always1, 0},
    {"補給線", K::Always1, 0},
    {"同盟国での生産", K::Stored, 0},
    {"同盟国での補充", K::Stored, 0},
    {"同盟国での修理", K::Follows, 40},
    {"同盟国での弾薬補給", K::Always1, 0},
    {"陣営フェーズランダム", K::Always0, 0},
    {"先制攻撃", K::Always1, 0},
    {"生産カウント", K::Always1, 0},
    {"間接地上攻撃地点目標", K::Stored, 0},
    {"補強", K::FollowsSet, 15},
    {"修理", K::Follows, 29},
    {"同一陣営フェイズの連続", K::Always0, 0},
    {"生産数制限", K::Always1, 0},
}};

// A rule file's keys in matching order: the three texts, then rules 0 to 50, in CP932.
enum : size_t { kNameKey, kDateKey, kTimeKey, kFirstRuleKey };

const std::vector<std::string>& fileKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k = {"Name", "Date", "Time"};
        for (const RuleEntry& r : kRules) k.push_back(cp932OrSame(r.name));
        return k;
    }();
    return keys;
}

void appendLine(std::string& out, std::string_view key, std::string_view value) {
    out.append(key);
    out.push_back('=');
    out.append(value);
    out.append("\r\n");
}

}  // namespace

uint8_t RuleSettings::value(size_t rule) const {
    if (rule >= kRuleCount) return 0;
    const RuleEntry& r = kRules[rule];
    switch (r.kind) {
        case K::Stored: return values[rule];
        case K::Always0: return 0;
        case K::Always1: return 1;
        case K::Follows:
        case K::FollowsSet: return values[r.followed];
    }
    return 0;
}

void RuleSettings::setValue(size_t rule, uint8_t value) {
    if (rule >= kRuleCount) return;
    switch (kRules[rule].kind) {
        case K::Stored: values[rule] = value; break;
        case K::Always0: values[rule] = 0; break;
        case K::Always1: values[rule] = 1; break;
        case K::Follows: break;
        // Kept for the game, which reads the byte itself; the editor reads the followed rule.
        case K::FollowsSet: values[rule] = 1; break;
    }
}

std::string_view ruleKey(size_t rule) {
    return rule < kRuleCount ? std::string_view(fileKeys()[kFirstRuleKey + rule])
                             : std::string_view();
}

std::string_view ruleName(size_t rule) {
    return rule < kRuleCount ? std::string_view(kRules[rule].name) : std::string_view();
}

uint8_t ruleIdOfFile(size_t fileNumber) {
    return static_cast<uint8_t>(fileNumber < 2 ? fileNumber : 98 + fileNumber);
}

std::optional<size_t> ruleSetPosition(unsigned ruleId) {
    const size_t position = ruleId < 100 ? ruleId : ruleId - 98;
    if (position >= kRuleSetCount) return std::nullopt;
    return position;
}

RuleSet parseRuleFile(std::string_view bytes, uint8_t ruleId) {
    RuleSet set;
    set.ruleId = ruleId;
    for (const std::string& line : splitLines(bytes)) {
        const std::optional<KeyedLine> keyed = matchKeyedLine(line, fileKeys());
        if (!keyed) continue;
        switch (keyed->key) {
            case kNameKey: set.name = keyed->value; break;
            case kDateKey: set.date = keyed->value; break;
            case kTimeKey: set.time = keyed->value; break;
            default:
                // Out-of-range numbers wrap like a plain conversion to a byte.
                set.setValue(keyed->key - kFirstRuleKey,
                             static_cast<uint8_t>(parseNumber(keyed->value)));
        }
    }
    return set;
}

std::string formatRuleFile(const RuleSet& ruleSet) {
    const std::vector<std::string>& keys = fileKeys();
    std::string out;
    appendLine(out, keys[kNameKey], singleLineText(ruleSet.name));
    appendLine(out, keys[kDateKey], singleLineText(ruleSet.date));
    appendLine(out, keys[kTimeKey], singleLineText(ruleSet.time));
    for (size_t rule = 0; rule < kRuleCount; ++rule)
        appendLine(out, keys[kFirstRuleKey + rule], std::to_string(ruleSet.value(rule)));
    return out;
}

}  // namespace kv
