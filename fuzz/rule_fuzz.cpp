// Rule files of arbitrary content: reading never crashes, and a saved rule set reads back
// with the same texts and values.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/disk_file.h"
#include "framework/errors.h"
#include "fuzz/scratch_program.h"
#include "gamedata/keyed_lines.h"
#include "gamedata/rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using kvfuzz::expect;
    const std::string input(reinterpret_cast<const char*>(data), size);

    // The text read, written and read again gives the same texts and values.
    const kv::RuleSet read = kv::parseRuleFile(input, 0);
    const kv::RuleSet back = kv::parseRuleFile(kv::formatRuleFile(read), 0);
    expect(back.name == kv::singleLineText(read.name));
    expect(back.date == kv::singleLineText(read.date));
    expect(back.time == kv::singleLineText(read.time));
    for (size_t rule = 0; rule < kv::kRuleCount; ++rule)
        expect(back.value(rule) == read.value(rule));

    // The whole table through the files for one input in eight (by its length): the first
    // file and one of the later numbering read like the text, and a save reads back.
    if (size % 8 != 0) return 0;
    const std::string& root = kvfuzz::scratchProgram({"rule"});
    try {
        kv::writeFileAtomically(root + "/rule/class0.rul", input);
        kv::writeFileAtomically(root + "/rule/class21.rul", input);
    } catch (const kv::swCError&) {
        std::abort();
    }
    kv::RuleData rules;
    rules.loadRuleSets();
    expect(rules.ruleSets().size() == kv::kRuleSetCount);
    expect(rules.ruleSet(119)->ruleId == 119);
    for (size_t rule = 0; rule < kv::kRuleCount; ++rule) {
        expect(rules.ruleSet(0)->value(rule) == read.value(rule));
        expect(rules.ruleSet(119)->value(rule) == read.value(rule));
    }
    try {
        expect(rules.saveRuleSet(0));
    } catch (const kv::swCError&) {
        std::abort();
    }
    kv::RuleData again;
    again.loadRuleSets();
    for (size_t rule = 0; rule < kv::kRuleCount; ++rule)
        expect(again.ruleSet(0)->value(rule) == read.value(rule));
    return 0;
}
