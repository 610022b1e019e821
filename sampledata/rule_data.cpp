// The bundled rule data: anthems with short generated tunes, music, presets and rule sets.
#include "sampledata/rule_data.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <vector>

#include "framework/cp932.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "gamedata/rule_set.h"

namespace kv::sample {

namespace {

// ---- generated sound --------------------------------------------------------------------

struct Tone {
    unsigned hertz;
    unsigned millis;
};

void putLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void putBe(std::string& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// 8 kHz, 8-bit mono PCM: each tone a triangle wave fading out. Integer arithmetic only, so
// the bytes never depend on the floating-point library.
std::string waveFile(const std::vector<Tone>& tones) {
    constexpr uint32_t kRate = 8000;
    std::string samples;
    for (const Tone& tone : tones) {
        const uint32_t count = kRate * tone.millis / 1000;
        const uint64_t step = (static_cast<uint64_t>(tone.hertz) << 32) / kRate;
        uint64_t phase = 0;
        for (uint32_t i = 0; i < count; ++i) {
            const int p = static_cast<int>((phase >> 24) & 0xFF);
            const int triangle = (p < 128 ? p * 2 : (255 - p) * 2) - 127;  // -127..127
            const int amplitude = 40 + static_cast<int>(160 * (count - i) / count);
            samples.push_back(static_cast<char>(128 + triangle * amplitude / 256));
            phase = (phase + step) & 0xFFFFFFFFu;
        }
    }
    std::string out = "RIFF";
    putLe(out, static_cast<uint32_t>(36 + samples.size()), 4);
    out += "WAVEfmt ";
    putLe(out, 16, 4);     // format chunk size
    putLe(out, 1, 2);      // PCM
    putLe(out, 1, 2);      // mono
    putLe(out, kRate, 4);  // sample rate
    putLe(out, kRate, 4);  // bytes per second
    putLe(out, 1, 2);      // block align
    putLe(out, 8, 2);      // bits per sample
    out += "data";
    putLe(out, static_cast<uint32_t>(samples.size()), 4);
    out += samples;
    return out;
}

struct Note {
    uint8_t key;      // MIDI note number
    uint8_t eighths;  // length in eighth notes
};

void putVariableLength(std::string& out, uint32_t value) {
    std::array<uint8_t, 5> bytes{};
    int n = 0;
    bytes[n++] = value & 0x7F;
    while (value >>= 7) bytes[n++] = static_cast<uint8_t>((value & 0x7F) | 0x80);
    while (n > 0) out.push_back(static_cast<char>(bytes[--n]));
}

// A format-0 Standard MIDI File playing `notes` on one instrument.
std::string midiFile(const std::vector<Note>& notes, uint8_t program, uint32_t microsPerQuarter) {
    constexpr uint32_t kTicksPerQuarter = 96;
    std::string track;
    putVariableLength(track, 0);
    track += "\xFF\x51\x03";  // tempo
    putBe(track, microsPerQuarter, 3);
    putVariableLength(track, 0);
    track.push_back('\xC0');  // program change, channel 0
    track.push_back(static_cast<char>(program));
    for (const Note& note : notes) {
        putVariableLength(track, 0);
        track += '\x90';
        track.push_back(static_cast<char>(note.key));
        track.push_back('\x60');
        putVariableLength(track, note.eighths * kTicksPerQuarter / 2);
        track += '\x80';
        track.push_back(static_cast<char>(note.key));
        track.push_back('\x40');
    }
    putVariableLength(track, 0);
    track += std::string("\xFF\x2F\x00", 3);  // end of track

    std::string out = "MThd";
    putBe(out, 6, 4);
    putBe(out, 0, 2);  // format 0
    putBe(out, 1, 2);  // one track
    putBe(out, kTicksPerQuarter, 2);
    out += "MTrk";
    putBe(out, static_cast<uint32_t>(track.size()), 4);
    out += track;
    return out;
}

// ---- text files ---------------------------------------------------------------------------

std::string cp932(std::string_view utf8) {
    std::optional<std::string> bytes = encodeCp932(utf8);
    if (!bytes) throw std::runtime_error("no CP932 form: " + std::string(utf8));
    return *bytes;
}

std::string twoDigits(size_t n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

struct Anthem {
    std::string_view name;
    std::string_view file;  // under bgm/
    std::string content;
};

std::vector<Anthem> anthems() {
    return {
        {"アルデナ共和国国歌", "ardena.mid",
         midiFile({{60, 2}, {64, 2}, {67, 2}, {72, 4}, {71, 2}, {67, 2}, {69, 2}, {72, 6}}, 61,
                  600000)},
        {"北ローレン連邦国歌", "lauren.mid",
         midiFile({{57, 3}, {60, 1}, {64, 4}, {62, 2}, {60, 2}, {59, 2}, {57, 6}}, 19, 700000)},
        {"セルヴィア王国国歌", "selvia.wav",
         waveFile({{392, 200}, {494, 200}, {587, 200}, {784, 400}})},
        {"東方同盟歌", "eastern.wav", waveFile({{330, 250}, {440, 250}, {523, 250}, {440, 250}})},
    };
}

// Music of the folder that no anthem uses.
std::vector<std::pair<std::string_view, std::string>> otherMusic() {
    return {
        {"field.wav", waveFile({{262, 150}, {330, 150}, {392, 150}, {523, 350}})},
        {"briefing.mid", midiFile({{48, 4}, {55, 4}, {53, 2}, {52, 2}, {50, 4}}, 48, 800000)},
        {"march.mid",
         midiFile({{67, 1}, {67, 1}, {72, 2}, {67, 1}, {72, 1}, {76, 4}, {74, 2}, {72, 4}}, 56,
                  500000)},
    };
}

std::string anthemList() {
    std::string out = cp932("; 国歌一覧\r\n");
    for (const Anthem& a : anthems()) {
        out += cp932(a.name);
        out += ",bgm\\";
        out += a.file;
        out += "\r\n";
    }
    return out;
}

struct PresetText {
    std::string_view name;
    int air, land, sea;
};

constexpr std::array<PresetText, 10> kPresets = {{
    {"標準配分", 30, 40, 30},
    {"航空重視", 50, 30, 20},
    {"陸上重視", 20, 60, 20},
    {"海上重視", 20, 30, 50},
    {"空陸均等", 40, 40, 20},
    {"陸海均等", 10, 45, 45},
    {"航空特化", 70, 20, 10},
    {"陸上特化", 10, 80, 10},
    {"海上特化", 10, 20, 70},
    {"三軍均等", 33, 34, 33},
}};

std::string presetFile(size_t n) {
    const PresetText& p = kPresets[n];
    std::string out = "Name=" + cp932(p.name) + "\r\n";
    out += "Date=2024/04/" + twoDigits(n + 1) + "\r\n";
    out += "Time=10:" + twoDigits(n * 5) + ":00\r\n";
    out += cp932("航空部隊=") + std::to_string(p.air) + "\r\n";
    out += cp932("陸上部隊=") + std::to_string(p.land) + "\r\n";
    out += cp932("海上部隊=") + std::to_string(p.sea) + "\r\n";
    return out;
}

// The rules a scenario designer chooses, as (rule, value) pairs over the standard set.
struct RuleVariant {
    std::string_view name;
    std::vector<std::pair<size_t, uint8_t>> changes;
};

enum : size_t {
    kZoc = 1,
    kSearch = 3,
    kCaptureDurability = 5,
    kConcealment = 10,
    kProductionDistance = 13,
    kBombing = 15,
    kCritical = 22,
    kAllyCapture = 23,
    kCapitalOwnership = 25,
    kReplenish = 29,
    kIntercept = 31,
    kOpenInformation = 32,
    kProduction = 33,
    kCapitalDestruction = 34,
    kAllyProduction = 39,
    kAllyReplenish = 40,
    kIndirectTarget = 46
};

const std::vector<std::pair<size_t, uint8_t>> kStandard = {{kZoc, 1},
                                                           {kSearch, 1},
                                                           {kCaptureDurability, 1},
                                                           {kConcealment, 1},
                                                           {kProductionDistance, 1},
                                                           {kBombing, 1},
                                                           {kCritical, 1},
                                                           {kAllyCapture, 0},
                                                           {kCapitalOwnership, 0},
                                                           {kReplenish, 1},
                                                           {kIntercept, 1},
                                                           {kOpenInformation, 0},
                                                           {kProduction, 1},
                                                           {kCapitalDestruction, 1},
                                                           {kAllyProduction, 0},
                                                           {kAllyReplenish, 1},
                                                           {kIndirectTarget, 1}};

std::vector<RuleVariant> ruleVariants() {
    return {
        {"標準ルール", {}},
        {"上級ルール", {{kAllyReplenish, 0}, {kCapitalOwnership, 1}, {kIndirectTarget, 0}}},
        {"初心者ルール",
         {{kZoc, 0}, {kSearch, 0}, {kConcealment, 0}, {kCritical, 0}, {kOpenInformation, 1}}},
        {"索敵なし", {{kSearch, 0}, {kConcealment, 0}}},
        {"電撃戦", {{kZoc, 0}, {kCaptureDurability, 0}}},
        {"持久戦", {{kProductionDistance, 0}, {kAllyProduction, 1}}},
        {"同盟協力", {{kAllyProduction, 1}, {kAllyReplenish, 1}, {kAllyCapture, 0}}},
        {"首都決戦", {{kCapitalOwnership, 1}, {kCapitalDestruction, 1}}},
        {"空爆なし", {{kBombing, 0}, {kCapitalDestruction, 0}}},
        {"補充なし", {{kReplenish, 0}, {kAllyReplenish, 0}}},
        {"生産なし", {{kProduction, 0}, {kAllyProduction, 0}}},
        {"迎撃なし", {{kIntercept, 0}}},
        {"情報公開", {{kOpenInformation, 1}}},
        {"直接射撃のみ", {{kIndirectTarget, 0}}},
        {"ＺＯＣなし", {{kZoc, 0}}},
        {"乱戦", {{kCritical, 1}, {kAllyCapture, 1}, {kOpenInformation, 1}}},
        {"占領重視", {{kCaptureDurability, 1}, {kCapitalOwnership, 1}}},
        {"ユーザー１", {}},
        {"ユーザー２", {}},
        {"ユーザー３", {}},
        {"ユーザー４", {}},
        {"ユーザー５", {}},
    };
}

std::string ruleFile(size_t n, const RuleVariant& variant) {
    RuleSet set;
    set.ruleId = ruleIdOfFile(n);
    set.name = cp932(variant.name);
    set.date = "2024/05/" + twoDigits(n + 1);
    set.time = "09:" + twoDigits(n * 2) + ":00";
    // Forced rules store their forced values whatever is passed.
    for (size_t rule = 0; rule < kRuleCount; ++rule) set.setValue(rule, 1);
    for (const auto& [rule, value] : kStandard) set.setValue(rule, value);
    for (const auto& [rule, value] : variant.changes) set.setValue(rule, value);
    return formatRuleFile(set);
}

void makeFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) throw std::runtime_error(folder.string() + ": " + ec.message());
}

void writeAll(const std::string& root) {
    namespace fs = std::filesystem;
    const fs::path base(root);
    makeFolder(base / "bgm");
    makeFolder(base / "product");
    makeFolder(base / "rule");

    writeFileAtomically((base / "anthem.lst").string(), anthemList());
    for (const Anthem& a : anthems())
        writeFileAtomically((base / "bgm" / a.file).string(), a.content);
    for (const auto& [file, content] : otherMusic())
        writeFileAtomically((base / "bgm" / file).string(), content);

    for (size_t n = 0; n < kPresets.size(); ++n)
        writeFileAtomically((base / "product" / ("prodef" + twoDigits(n) + ".dat")).string(),
                            presetFile(n));

    const std::vector<RuleVariant> variants = ruleVariants();
    for (size_t n = 0; n < variants.size() && n < kRuleSetCount; ++n)
        writeFileAtomically((base / "rule" / ("class" + std::to_string(n) + ".rul")).string(),
                            ruleFile(n, variants[n]));
}

}  // namespace

std::string writeRuleData(const std::string& root) {
    try {
        writeAll(root);
    } catch (const swCError& e) {
        return e.caption + ": " + e.text();
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

}  // namespace kv::sample
