// Scenario texts of arbitrary bytes (the stored block of a map file's first section): every
// field lays out into briefing, order, scrolling and victory pages without splitting a
// double-byte character, and the texts pass through the scenario dialog's forms unchanged.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "document/scenario_texts.h"
#include "framework/cp932.h"
#include "fuzz/scratch_program.h"
#include "scenario/scenario_text_edit.h"
#include "scenario/text_layout.h"

namespace {

using kvfuzz::expect;

void expectWholeCharacters(const std::string& line, size_t width) {
    expect(line.size() <= width);
    for (size_t i = 0; i < line.size(); ++i)
        if (kv::isLeadByte(static_cast<unsigned char>(line[i]))) expect(++i < line.size());
}

void layOut(const std::string& text) {
    for (const kv::TextPage& page : kv::paginate(text, kv::briefingLineWidths())) {
        expect(page.lines.size() <= kv::briefingLineWidths().size());
        for (size_t i = 0; i < page.lines.size(); ++i)
            expectWholeCharacters(page.lines[i], kv::briefingLineWidths()[i]);
    }
    expect(kv::paginate(text, kv::orderLineWidths()).size() <= kv::kMaxTextPages);
    const kv::ScrolledText scrolled =
        kv::scrollText(text, kv::briefingLineWidths(), kv::kScrollLineWidth);
    for (const std::string& line : scrolled.scrollLines)
        expectWholeCharacters(line, kv::kScrollLineWidth);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kv::ScenarioTexts texts;
    std::memcpy(texts.bytes.data(), data, std::min(size, texts.bytes.size()));

    kv::ScenarioTextInput input;
    for (const kv::TextFieldRule& rule : kv::textFieldRules()) {
        const std::string stored = texts.field(rule.field);
        expect(stored.size() <= kv::ScenarioTexts::kFields[rule.field].size);
        layOut(stored);
        const std::string edit = kv::toEditText(stored);
        expect(kv::toStoredText(edit) == stored || stored.find('\r') != std::string::npos);
        input.editTexts[size_t(&rule - kv::textFieldRules().data())] = edit;
        kv::decodeCp932Lossy(stored);
    }
    for (const kv::VictoryPage& page :
         kv::victoryPages(texts.field(kv::ScenarioTexts::VictoryText),
                          texts.field(kv::ScenarioTexts::FactionsText)))
        for (const kv::VictoryLine& line : page.lines) {
            expect(line.row >= 0 && line.row < kv::kVictoryPageLines);
            expect(line.text == 0 || line.text == 1);
        }

    // Texts the check accepts are stored as they were read, but for a lead byte left without
    // its trail byte at a field's end, which a field never keeps.
    input.briefingMode = texts.briefingMode();
    input.orderMode = texts.orderMode();
    input.endingShown = texts.endingShown();
    if (kv::checkScenarioTexts(input).empty()) {
        kv::ScenarioTexts stored;
        kv::storeScenarioTexts(stored, input);
        for (const kv::TextFieldRule& rule : kv::textFieldRules()) {
            const std::string read = texts.field(rule.field);
            expect(stored.field(rule.field) == kv::cutToBytes(read, read.size()) ||
                   read.find('\r') != std::string::npos);
        }
        expect(stored.briefingMode() == texts.briefingMode());
    }
    return 0;
}
