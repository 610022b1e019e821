// The scenario texts' limits, line-end forms, check and store.
#include "scenario/scenario_text_edit.h"

#include <algorithm>
#include <cstdio>

#include "document/edit_operation.h"
#include "document/map_document.h"
#include "framework/cp932.h"
#include "framework/disk_file.h"
#include "framework/errors.h"

namespace kv {

namespace {

using F = ScenarioTexts;

constexpr TextFieldRule kRules[kScenarioTextFieldCount] = {
    {F::BriefingHeadline, 22, 22, "ブリーフィング 見出し"},
    {F::BriefingSubHeadline, 40, 40, "ブリーフィング 小見出し"},
    {F::BriefingBody, 4800, 4800, "ブリーフィング 本文"},
    {F::OperationName, 40, 60, "作戦指令書 作戦名"},
    {F::OrderBody, 4800, 4800, "作戦指令書 本文"},
    {F::VictoryText, 560, 560, "勝敗条件"},
    {F::FactionsText, 900, 900, "参戦陣営"},
    {F::EndingHeadline, 40, 60, "エンディング 見出し"},
    {F::EndingBody, 4800, 4800, "エンディング 本文"},
};

// The length of the UTF-8 sequence that starts with `b` (1 for a stray byte).
size_t sequenceLength(unsigned char b) {
    if (b >= 0xF0 && b < 0xF8) return 4;
    if (b >= 0xE0) return 3;
    if (b >= 0xC0) return 2;
    return 1;
}

// Whether `ch` is one whole UTF-8 sequence, so that it can be shown in a message.
bool wellFormed(std::string_view ch) {
    if (ch.size() != sequenceLength(static_cast<unsigned char>(ch[0]))) return false;
    if (ch.size() == 1) return static_cast<unsigned char>(ch[0]) < 0x80;
    for (size_t k = 1; k < ch.size(); ++k)
        if ((static_cast<unsigned char>(ch[k]) & 0xC0) != 0x80) return false;
    return true;
}

}  // namespace

std::span<const TextFieldRule> textFieldRules() {
    return kRules;
}

std::string toEditText(std::string_view stored) {
    std::string out;
    out.reserve(stored.size() + stored.size() / 16);
    for (size_t i = 0; i < stored.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(stored[i]);
        if (isLeadByte(c) && i + 1 < stored.size()) {
            out.append(stored.substr(i++, 2));  // a trail byte is never LF
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

std::string toStoredText(std::string_view edit) {
    std::string out;
    out.reserve(edit.size());
    for (size_t i = 0; i < edit.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(edit[i]);
        if (isLeadByte(c) && i + 1 < edit.size()) {
            out.append(edit.substr(i++, 2));
        } else if (!(c == '\r' && i + 1 < edit.size() && edit[i + 1] == '\n')) {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

std::string tooLongMessage(int i, size_t measured) {
    char buffer[200];
    std::snprintf(buffer, sizeof buffer, "%s文字数が長すぎます。(最大%dbyte、入力%dbyte)",
                  kRules[i].name, static_cast<int>(kRules[i].checkLimit),
                  static_cast<int>(measured));
    return buffer;
}

std::string unencodableMessage(int i, std::string_view characters) {
    return std::string(kRules[i].name) + "にシフトJISで表せない文字があります。(" +
           std::string(characters) + ")";
}

Cp932Text toCp932(std::string_view utf8) {
    Cp932Text out;
    out.bytes = encodeCp932(utf8);
    if (out.bytes) return out;
    // Name each character that fails, once.
    for (size_t i = 0; i < utf8.size();) {
        const size_t n =
            std::min(sequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        const std::string_view ch = utf8.substr(i, n);
        if (!encodeCp932(ch) && out.unencodable.find(ch) == std::string::npos) {
            out.unencodable += wellFormed(ch) ? std::string(ch) : std::string("\xEF\xBF\xBD");
        }
        i += n;
    }
    if (out.unencodable.empty()) out.unencodable = "\xEF\xBF\xBD";
    return out;
}

std::vector<std::string> checkScenarioTexts(const ScenarioTextInput& input) {
    std::vector<std::string> problems;
    for (int i = 0; i < kScenarioTextFieldCount; ++i) {
        const size_t measured = input.editTexts[size_t(i)].size();
        if (measured > kRules[i].checkLimit) problems.push_back(tooLongMessage(i, measured));
    }
    return problems;
}

void storeScenarioTexts(ScenarioTexts& texts, const ScenarioTextInput& input) {
    std::fill(texts.bytes.begin(), texts.bytes.end(), uint8_t{0});
    for (int i = 0; i < kScenarioTextFieldCount; ++i)
        texts.setField(kRules[i].field, toStoredText(input.editTexts[size_t(i)]));
    texts.setBriefingMode(input.briefingMode);
    texts.setOrderMode(input.orderMode);
    texts.setEndingShown(input.endingShown);
}

std::vector<uint8_t> readPictureFile(const std::string& path) {
    DiskFile file;
    file.open(path, DiskFile::Read);
    const int64_t size = file.size();
    // A picture larger than a map file may be is no briefing picture.
    if (size < 0 || size > (int64_t{1} << 30)) throw swCFileError(swCFileError::Size, path);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (file.read(bytes.data(), bytes.size()) != bytes.size())
        throw swCFileError(swCFileError::Read, path);
    return bytes;
}

void applyScenarioTexts(MapDocument& doc, const ScenarioTextInput& input,
                        const std::string& briefingPicturePath,
                        const std::string& endingPicturePath) {
    EditOperation op(doc, EditOperation::History::NewStep, "シナリオ設定");
    op.change().scenarioTexts = true;
    storeScenarioTexts(doc.scenarioTexts, input);
    auto replace = [](std::vector<uint8_t>& blob, const std::string& path) {
        if (path.empty()) return;
        std::vector<uint8_t>().swap(blob);
        blob = readPictureFile(path);
    };
    replace(doc.scenarioTexts.briefingPicture, briefingPicturePath);
    replace(doc.scenarioTexts.endingPicture, endingPicturePath);
}

}  // namespace kv
