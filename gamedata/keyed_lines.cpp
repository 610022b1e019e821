// "Key=value" lines and CP932 helpers of the rule and preset files.
#include "gamedata/keyed_lines.h"

#include "framework/cp932.h"
#include "framework/disk_file.h"

namespace kv {

namespace {

// These files hold a few dozen short lines; anything far larger is not one of them.
constexpr size_t kTextFileLimit = 16u << 20;

bool endsLine(char c) {
    return c == '\0' || c == '\r' || c == '\n';
}

}  // namespace

std::optional<std::string> readDataText(const std::string& path) {
    return readWholeFile(path, kTextFileLimit);
}

std::optional<KeyedLine> matchKeyedLine(std::string_view line, std::span<const std::string> keys) {
    for (size_t i = 0; i < keys.size(); ++i) {
        const std::string& key = keys[i];
        if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == '=')
            return KeyedLine{i, line.substr(key.size() + 1)};
    }
    return std::nullopt;
}

std::string singleLineText(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (endsLine(c)) break;
        if (isLeadByte(static_cast<unsigned char>(c))) {
            // A trail byte that is really a line end would glue the lines together.
            if (i + 1 >= value.size() || endsLine(value[i + 1])) break;
            out.append(value.substr(i, 2));
            ++i;
            continue;
        }
        out.push_back(c);
    }
    return out;
}

std::string cp932OrSame(std::string_view utf8) {
    std::optional<std::string> encoded = encodeCp932(utf8);
    return encoded ? *encoded : std::string(utf8);
}

std::string foldAsciiLower(std::string_view cp932) {
    std::string out(cp932);
    for (size_t i = 0; i < out.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(out[i]);
        if (isLeadByte(c)) {
            ++i;  // the trail byte may look like a capital letter
        } else if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

}  // namespace kv
