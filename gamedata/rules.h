// The small tables scenario settings choose from: anthems, background music, production
// presets and rule sets, read at start-up from the program folder.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gamedata/rule_set.h"

namespace kv {

constexpr size_t kPresetCount = 10;

// One production preset ("prodef%02d.dat"). Texts are CP932; the shares add up to 100.
struct ProductionPreset {
    uint8_t number = 0;
    std::string name;
    std::string date;
    std::string time;
    uint8_t airShare = 0;
    uint8_t landShare = 0;
    uint8_t seaShare = 0;
    bool defined = false;  // its file was there
};

// Reads a preset file's bytes ("Name", "Date", "Time" and the three share lines) and
// balances the shares.
ProductionPreset parsePreset(std::string_view bytes, uint8_t number);
// Makes the shares add up to 100, each within 0 to 100: short of 100, land takes the rest;
// over 100, air and sea are scaled down in proportion and land takes the rest.
void balanceShares(ProductionPreset& preset);

// The path of a file that a list names relative to the program folder (such as
// "bgm\\anthem.mid"): backslashes become slashes, CP932 becomes the file system's UTF-8,
// and a name copied from Windows with another letter case is found.
std::string listedFilePath(std::string_view listedFile);

class RuleData {
public:
    // "anthem.lst": lines of exactly two fields, a name and a file (folded to lower case).
    void loadAnthems();
    // The "*.wav" then "*.mid" files of the music folder that are not anthems; call after
    // loadAnthems.
    void loadMusic();
    // "prodef00.dat" to "prodef09.dat"; a missing file gives an empty preset.
    void loadPresets();
    // "class0.rul" to "class21.rul"; a missing file gives an empty rule set.
    void loadRuleSets();

    // Writes rule file `fileNumber` from the table. False when there is no such rule set;
    // throws swCFileError when the file cannot be written (the old file is kept).
    bool saveRuleSet(size_t fileNumber) const;

    // True when `file` names an anthem's file ('/' and '\\' count alike).
    bool isAnthemFile(std::string_view file) const;
    // The preset numbered `number`, or null.
    const ProductionPreset* preset(int number) const;
    // The rule set of a rule id (see ruleSetPosition), or null.
    const RuleSet* ruleSet(unsigned ruleId) const;
    RuleSet* ruleSet(unsigned ruleId);

    const std::vector<std::string>& anthemNames() const { return anthemNames_; }
    const std::vector<std::string>& anthemFiles() const { return anthemFiles_; }
    const std::vector<std::string>& musicNames() const { return musicNames_; }
    const std::vector<std::string>& musicFiles() const { return musicFiles_; }
    const std::array<ProductionPreset, kPresetCount>& presets() const { return presets_; }
    const std::vector<RuleSet>& ruleSets() const { return ruleSets_; }

private:
    std::vector<std::string> anthemNames_;
    std::vector<std::string> anthemFiles_;
    std::vector<std::string> musicNames_;
    std::vector<std::string> musicFiles_;
    std::array<ProductionPreset, kPresetCount> presets_{};
    std::vector<RuleSet> ruleSets_;
};

}  // namespace kv
