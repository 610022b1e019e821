// A map's scenario texts: the fixed block of text fields with its three display bytes, and
// the briefing and ending pictures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/record_bytes.h"

namespace kv {

// The stored 16063 bytes: the 16060-byte block followed by the display bytes, as file
// section 0 holds them. The pictures are complete BMP files; empty when absent.
class ScenarioTexts : public ByteRecord<16063> {
public:
    static constexpr size_t kBlockSize = 16060;
    enum Field {
        BriefingHeadline,
        BriefingSubHeadline,
        BriefingBody,
        OperationName,
        OrderBody,
        VictoryText,
        FactionsText,
        EndingHeadline,
        EndingBody,
    };
    struct FieldPlace {
        size_t offset;
        size_t size;
    };
    static constexpr FieldPlace kFields[] = {{0, 24},      {24, 42},     {66, 4802},
                                             {4868, 62},   {4930, 4802}, {9732, 562},
                                             {10294, 902}, {11196, 62},  {11258, 4802}};
    static constexpr size_t kEndingShownAt = 16060, kBriefingModeAt = 16061, kOrderModeAt = 16062;

    std::vector<uint8_t> briefingPicture;
    std::vector<uint8_t> endingPicture;

    // The CP932 text of a field up to its NUL.
    std::string field(Field f) const { return text(kFields[f].offset, kFields[f].size); }
    void setField(Field f, std::string_view cp932) {
        setText(kFields[f].offset, kFields[f].size, cp932);
    }
    uint8_t endingShown() const { return u8(kEndingShownAt); }
    void setEndingShown(uint8_t v) { setU8(kEndingShownAt, v); }
    uint8_t briefingMode() const { return u8(kBriefingModeAt); }
    void setBriefingMode(uint8_t v) { setU8(kBriefingModeAt, v); }
    uint8_t orderMode() const { return u8(kOrderModeAt); }
    void setOrderMode(uint8_t v) { setU8(kOrderModeAt, v); }

    // Texts and display bytes zeroed, both pictures dropped.
    void reset() {
        clear();
        std::vector<uint8_t>().swap(briefingPicture);
        std::vector<uint8_t>().swap(endingPicture);
    }
    // Empty unless a display byte is set or the victory-condition or participating-factions
    // text holds something.
    bool isEmpty() const {
        return endingShown() == 0 && briefingMode() == 0 && orderMode() == 0 &&
               bytes[kFields[VictoryText].offset] == 0 && bytes[kFields[FactionsText].offset] == 0;
    }
};
static_assert(ScenarioTexts::kBlockSize + 3 == ScenarioTexts::kSize);

}  // namespace kv
