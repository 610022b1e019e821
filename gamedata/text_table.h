// The one reader of the game's comma-separated text files: lines end at CR LF, LF or NUL,
// a double-byte character's two bytes always stay together (a trail byte equal to CR, LF
// or comma never ends a line or a field), lines hold at most 1023 bytes, and fields are
// split at ASCII commas with no quoting and no trimming.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

constexpr size_t kMaxLineBytes = 1023;

// Hands each line of a whole file to `visit`, as splitLines cuts them, without copying.
void forEachLine(std::string_view bytes, const std::function<void(std::string_view)>& visit);

// Splits a whole file into lines. A longer line keeps its first 1023 bytes (cut at a
// character boundary); the rest of it up to its end is dropped.
std::vector<std::string> splitLines(std::string_view bytes);

// Splits a line into fields at every ASCII comma outside double-byte characters.
std::vector<std::string> splitFields(std::string_view line);

// Decimal conversion: leading blanks skipped, an optional sign, digits up to the first
// non-digit; text that is not a number gives 0. Saturates instead of overflowing.
int64_t parseNumber(std::string_view field);

// "○" (CP932 0x81 0x9B).
inline constexpr std::string_view kCircle = "\x81\x9B";
// The field's first two bytes are "○" (mask columns).
bool startsWithCircle(std::string_view field);
// The whole field is exactly "○" (flag columns).
bool isCircle(std::string_view field);

// A row of fields with safe access: a column that is not there reads as empty.
class FieldRow {
public:
    FieldRow() = default;
    explicit FieldRow(const std::vector<std::string>& fields);
    // Makes the row the fields of `line`, as splitFields cuts them, reusing the row's storage
    // (a reader that keeps one row for a whole file allocates nothing per line).
    void split(std::string_view line);
    size_t size() const { return fields_.size(); }
    // Column i (0-based); empty when missing.
    std::string_view text(size_t i) const {
        return i < fields_.size()
                   ? std::string_view(line_.data() + fields_[i].start, fields_[i].size)
                   : std::string_view();
    }
    int64_t number(size_t i) const { return parseNumber(text(i)); }
    // The number truncated to the field's width, as a plain conversion does.
    uint8_t u8(size_t i) const { return static_cast<uint8_t>(number(i)); }
    uint16_t u16(size_t i) const { return static_cast<uint16_t>(number(i)); }
    int32_t i32(size_t i) const { return static_cast<int32_t>(number(i)); }
    bool circleStart(size_t i) const { return startsWithCircle(text(i)); }
    bool circle(size_t i) const { return isCircle(text(i)); }
    std::vector<std::string> fields() const;

private:
    // The row keeps its line once and each field as a place in it: a line of a hundred
    // fields costs one copy, not a hundred.
    struct Field {
        size_t start, size;
    };
    std::string line_;
    std::vector<Field> fields_;
};

// Reads a whole text file and splits it into rows of fields. Nothing when the file
// cannot be read (missing, a folder, larger than `limit`).
std::optional<std::vector<FieldRow>> readTextTable(const std::string& path,
                                                   size_t limit = 64u << 20);

// Copies text into a fixed-width NUL-terminated field of `width` bytes, cut at a character
// boundary so that at least one NUL follows.
void copyFieldText(char* field, size_t width, std::string_view text);

}  // namespace kv
