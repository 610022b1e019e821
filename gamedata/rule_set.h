// Rule sets: the 52-byte rule record a map keeps, the values the program imposes on it, and
// the text of the rule files ("class%d.rul").
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

constexpr size_t kRuleCount = 51;
// Rule files "class0.rul" to "class21.rul".
constexpr size_t kRuleSetCount = 22;
// The rule id a map stores when its rules are not one of the rule sets.
constexpr uint8_t kCustomRuleId = 200;

// The rule record in force for a map: byte 0 the rule id, byte n + 1 the stored value of
// rule n. All bytes, so the struct is the record byte for byte.
struct RuleSettings {
    uint8_t ruleId = 0;
    std::array<uint8_t, kRuleCount> values{};

    // The effective value of `rule`: the stored value, the value the program imposes, or the
    // value of the rule it follows. 0 for a number that is not a rule.
    uint8_t value(size_t rule) const;
    // Stores what `rule` allows: a forced rule stores its forced value, 47 stores 1, and
    // 41 and 48 (which only follow other rules) as well as unknown numbers are ignored.
    void setValue(size_t rule, uint8_t value);
};
static_assert(sizeof(RuleSettings) == 52);
static_assert(offsetof(RuleSettings, values) == 1);

// One rule file's rule set. Texts are CP932 as the file holds them.
struct RuleSet : RuleSettings {
    std::string name;
    std::string date;
    std::string time;
};

// The key of `rule` in a rule file (CP932); empty for a number that is not a rule.
std::string_view ruleKey(size_t rule);
// The same key as UTF-8, for showing.
std::string_view ruleName(size_t rule);

// The rule id that scenarios store for rule file `fileNumber`: 0 and 1 for the first two
// files, 100 upwards for the rest.
uint8_t ruleIdOfFile(size_t fileNumber);
// The table position of a rule id: ids below 100 are positions themselves, the others are
// id - 98. Nothing when the position lies outside the table.
std::optional<size_t> ruleSetPosition(unsigned ruleId);

// Reads a rule file's bytes into a rule set with `ruleId`: "Name", "Date" and "Time" lines
// give the texts, each rule's line its value (through setValue); other lines are ignored.
RuleSet parseRuleFile(std::string_view bytes, uint8_t ruleId);
// The text of a rule file: the three texts, then every rule's effective value, CR LF lines.
std::string formatRuleFile(const RuleSet& ruleSet);

}  // namespace kv
