// Reading anthems, music, production presets and rule sets; saving rule sets.
#include "gamedata/rules.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "framework/cp932.h"
#include "framework/data_paths.h"
#include "framework/disk_file.h"
#include "gamedata/keyed_lines.h"
#include "gamedata/text_table.h"

namespace kv {

namespace {

// The lists store music files under the folder name the game's own lists use.
constexpr std::string_view kMusicFolder = "bgm\\";

enum : size_t { kNameKey, kDateKey, kTimeKey, kAirKey, kLandKey, kSeaKey };

const std::vector<std::string>& presetKeys() {
    static const std::vector<std::string> keys = {"Name",
                                                  "Date",
                                                  "Time",
                                                  cp932OrSame("航空部隊"),
                                                  cp932OrSame("陸上部隊"),
                                                  cp932OrSame("海上部隊")};
    return keys;
}

std::string numberedName(const char* pattern, size_t number) {
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, pattern, static_cast<unsigned>(number));
    return n > 0 ? std::string(buffer) : std::string();
}

// Backslashes and slashes count alike; a backslash inside a double-byte character is its
// trail byte and stays.
std::string withSlashes(std::string_view cp932) {
    std::string out(cp932);
    for (size_t i = 0; i < out.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(out[i]))) {
            ++i;
        } else if (out[i] == '\\') {
            out[i] = '/';
        }
    }
    return out;
}

// A file system name as the lists spell names: CP932 where the UTF-8 name has a CP932
// form, the bytes themselves otherwise.
std::string listedName(const std::string& fileSystemName) {
    const bool ascii = std::all_of(fileSystemName.begin(), fileSystemName.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return fileSystemName;
    std::optional<std::string> encoded = encodeCp932(fileSystemName);
    return encoded ? *encoded : fileSystemName;
}

// The names of the entries of `folder` that are not folders, as the lists spell them.
std::vector<std::string> folderFileNames(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code statError;
        if (it->is_directory(statError)) continue;
        names.push_back(listedName(it->path().filename().string()));
    }
    return names;
}

}  // namespace

ProductionPreset parsePreset(std::string_view bytes, uint8_t number) {
    ProductionPreset preset;
    preset.number = number;
    preset.defined = true;
    for (const std::string& line : splitLines(bytes)) {
        const std::optional<KeyedLine> keyed = matchKeyedLine(line, presetKeys());
        if (!keyed) continue;
        // Shares wrap like a plain conversion to a byte; balancing brings them back.
        const uint8_t share = static_cast<uint8_t>(parseNumber(keyed->value));
        switch (keyed->key) {
            case kNameKey: preset.name = keyed->value; break;
            case kDateKey: preset.date = keyed->value; break;
            case kTimeKey: preset.time = keyed->value; break;
            case kAirKey: preset.airShare = share; break;
            case kLandKey: preset.landShare = share; break;
            case kSeaKey: preset.seaShare = share; break;
        }
    }
    balanceShares(preset);
    return preset;
}

void balanceShares(ProductionPreset& preset) {
    const unsigned sum = preset.airShare + preset.landShare + preset.seaShare;
    if (sum < 100) {
        preset.landShare = static_cast<uint8_t>(preset.landShare + (100 - sum));
    } else if (sum > 100) {
        // Scaled down rather than lowered by thirds of the sum as the game's own reader does,
        // which wraps bytes and can leave shares outside 0 to 100. Scaling keeps the file's
        // proportions; rounding air and sea down leaves land the rest, never below zero.
        preset.airShare = static_cast<uint8_t>(preset.airShare * 100u / sum);
        preset.seaShare = static_cast<uint8_t>(preset.seaShare * 100u / sum);
        preset.landShare = static_cast<uint8_t>(100u - preset.airShare - preset.seaShare);
    }
}

std::string listedFilePath(std::string_view listedFile) {
    const std::string name = withSlashes(listedFile);
    const std::optional<std::string> utf8 = decodeCp932(name);
    return dataPath(utf8 ? *utf8 : name, DataKind::Program);
}

void RuleData::loadAnthems() {
    anthemNames_.clear();
    anthemFiles_.clear();
    const std::optional<std::string> bytes =
        readDataText(dataPath("anthem.lst", DataKind::Program));
    if (!bytes) return;
    for (const std::string& line : splitLines(*bytes)) {
        std::vector<std::string> fields = splitFields(line);
        if (fields.size() != 2) continue;
        anthemNames_.push_back(std::move(fields[0]));
        anthemFiles_.push_back(foldAsciiLower(fields[1]));
    }
}

void RuleData::loadMusic() {
    musicNames_.clear();
    musicFiles_.clear();
    const std::vector<std::string> entries = folderFileNames(dataPath("", DataKind::Bgm));
    for (std::string_view extension : {".wav", ".mid"}) {
        // The folder's own order is not stable across file systems; name order is.
        std::vector<std::string> names;
        for (const std::string& entry : entries) {
            std::string name = foldAsciiLower(entry);
            if (name.ends_with(extension)) names.push_back(std::move(name));
        }
        std::sort(names.begin(), names.end());
        // Names differing only in case are one file to the game.
        names.erase(std::unique(names.begin(), names.end()), names.end());
        for (std::string& name : names) {
            std::string file = std::string(kMusicFolder) + name;
            if (isAnthemFile(file)) continue;
            musicNames_.push_back(std::move(name));
            musicFiles_.push_back(std::move(file));
        }
    }
}

void RuleData::loadPresets() {
    for (size_t n = 0; n < kPresetCount; ++n) {
        const uint8_t number = static_cast<uint8_t>(n);
        const std::string path = dataPath(numberedName("prodef%02u.dat", n), DataKind::Product);
        const std::optional<std::string> bytes = readDataText(path);
        if (bytes) {
            presets_[n] = parsePreset(*bytes, number);
        } else {
            // Balanced too, so every preset's shares add up to 100 as maps expect.
            presets_[n] = ProductionPreset{};
            presets_[n].number = number;
            balanceShares(presets_[n]);
        }
    }
}

void RuleData::loadRuleSets() {
    ruleSets_.clear();
    for (size_t n = 0; n < kRuleSetCount; ++n) {
        const std::string path = dataPath(numberedName("class%u.rul", n), DataKind::Rule);
        const std::optional<std::string> bytes = readDataText(path);
        RuleSet set = bytes ? parseRuleFile(*bytes, ruleIdOfFile(n)) : RuleSet{};
        set.ruleId = ruleIdOfFile(n);
        ruleSets_.push_back(std::move(set));
    }
}

bool RuleData::saveRuleSet(size_t fileNumber) const {
    if (fileNumber >= kRuleSetCount || fileNumber >= ruleSets_.size()) return false;
    const std::string path =
        writableDataPath(numberedName("class%u.rul", fileNumber), DataKind::Rule);
    writeFileAtomically(path, formatRuleFile(ruleSets_[fileNumber]));
    return true;
}

bool RuleData::isAnthemFile(std::string_view file) const {
    const std::string wanted = withSlashes(file);
    return std::any_of(anthemFiles_.begin(), anthemFiles_.end(),
                       [&](const std::string& f) { return withSlashes(f) == wanted; });
}

const ProductionPreset* RuleData::preset(int number) const {
    for (const ProductionPreset& p : presets_) {
        if (p.number == number) return &p;
    }
    return nullptr;
}

const RuleSet* RuleData::ruleSet(unsigned ruleId) const {
    const std::optional<size_t> position = ruleSetPosition(ruleId);
    return position && *position < ruleSets_.size() ? &ruleSets_[*position] : nullptr;
}

RuleSet* RuleData::ruleSet(unsigned ruleId) {
    return const_cast<RuleSet*>(std::as_const(*this).ruleSet(ruleId));
}

}  // namespace kv
