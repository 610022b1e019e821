// Editing the scenario texts: the limits of the nine fields, their line-end forms, the check
// made before storing them and the store itself with the briefing and ending pictures.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/scenario_texts.h"

namespace kv {

class MapDocument;

inline constexpr int kScenarioTextFieldCount = 9;

// A field's limits in bytes: what an edit control takes, and what the check accepts (line
// ends counted as CR LF, two bytes). `name` starts its messages (UTF-8).
struct TextFieldRule {
    ScenarioTexts::Field field;
    size_t editLimit;
    size_t checkLimit;
    const char* name;
};
// The nine fields in their stored order.
std::span<const TextFieldRule> textFieldRules();

// A stored text (LF line ends) as an edit control holds it: every LF becomes CR LF.
std::string toEditText(std::string_view stored);
// An edit control's text as it is stored: every CR immediately before an LF is dropped.
std::string toStoredText(std::string_view edit);

// "…文字数が長すぎます。(最大%dbyte、入力%dbyte)" for field `i` (0..8) and its measured length.
std::string tooLongMessage(int i, size_t measured);
// The message for a text holding characters without a CP932 form, naming the field and them.
std::string unencodableMessage(int i, std::string_view characters);

// UTF-8 text in CP932, or (without bytes) the characters that have no CP932 form.
struct Cp932Text {
    std::optional<std::string> bytes;
    std::string unencodable;  // UTF-8, each character once, in order of appearance
};
Cp932Text toCp932(std::string_view utf8);

// What the scenario dialog hands over: the nine texts as edit controls hold them (CP932, CR LF
// line ends) and the three display bytes.
struct ScenarioTextInput {
    std::array<std::string, kScenarioTextFieldCount> editTexts;
    uint8_t briefingMode = 0;
    uint8_t orderMode = 0;
    uint8_t endingShown = 0;
};

// The messages of the fields longer than their check limit, in field order; empty when all fit.
std::vector<std::string> checkScenarioTexts(const ScenarioTextInput& input);

// Zeroes the block and the display bytes, then stores the texts and the display bytes. The
// pictures stay. Call only after checkScenarioTexts found nothing.
void storeScenarioTexts(ScenarioTexts& texts, const ScenarioTextInput& input);

// The whole bytes of a picture file. Raises swCFileError when it cannot be read.
std::vector<uint8_t> readPictureFile(const std::string& path);

// Stores the texts and display bytes as one editing operation and, where a path is given,
// replaces the briefing or ending picture with that file. A picture that cannot be read is left
// empty and its swCFileError raised.
void applyScenarioTexts(MapDocument& doc, const ScenarioTextInput& input,
                        const std::string& briefingPicturePath = {},
                        const std::string& endingPicturePath = {});

}  // namespace kv
