// "Key=value" lines as the rule and production preset files hold them, and CP932 helpers
// shared by their readers and writers.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kv {

// The bytes of a small data text file; nothing when it is missing, unreadable or far larger
// than such a file can be.
std::optional<std::string> readDataText(const std::string& path);

struct KeyedLine {
    size_t key;              // index into the key list
    std::string_view value;  // the rest of the line after "="
};

// The first key of `keys` that `line` starts with and that is followed directly by "=".
// A key is only a prefix of the line, so "AB=1" never matches the key "A".
std::optional<KeyedLine> matchKeyedLine(std::string_view line, std::span<const std::string> keys);

// The text of `value` up to its first NUL, CR or LF; a lead byte left without its trail byte
// is dropped too. Written as a value, the text then reads back as one line.
std::string singleLineText(std::string_view value);

// UTF-8 text in CP932; the UTF-8 bytes themselves when it has no CP932 form.
std::string cp932OrSame(std::string_view utf8);

// Single-byte A to Z become a to z; double-byte characters are kept as they are.
std::string foldAsciiLower(std::string_view cp932);

}  // namespace kv
