// The one reader of the game's comma-separated text files.
#include "gamedata/text_table.h"

#include <cstring>
#include <limits>

#include "framework/cp932.h"
#include "framework/disk_file.h"

namespace kv {

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool full = false;  // the line reached its limit; drop the rest of it
    size_t i = 0;
    auto finish = [&] {
        lines.push_back(std::move(line));
        line.clear();
        full = false;
    };
    while (i < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (isLeadByte(c) && i + 1 < bytes.size()) {
            if (!full && line.size() + 2 <= kMaxLineBytes) {
                line.append(bytes.substr(i, 2));
            } else {
                full = true;
            }
            i += 2;
            continue;
        }
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            finish();
            i += 2;
            continue;
        }
        if (c == '\n' || c == '\0') {
            finish();
            ++i;
            continue;
        }
        if (!full && line.size() + 1 <= kMaxLineBytes) {
            line.push_back(static_cast<char>(c));
        } else {
            full = true;
        }
        ++i;
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

std::vector<std::string> splitFields(std::string_view line) {
    std::vector<std::string> fields;
    std::string field;
    for (size_t i = 0; i < line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (isLeadByte(c) && i + 1 < line.size()) {
            field.append(line.substr(i, 2));
            ++i;
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
        } else {
            field.push_back(static_cast<char>(c));
        }
    }
    fields.push_back(std::move(field));
    return fields;
}

int64_t parseNumber(std::string_view f) {
    size_t i = 0;
    while (i < f.size() && (f[i] == ' ' || f[i] == '\t')) ++i;
    bool negative = false;
    if (i < f.size() && (f[i] == '-' || f[i] == '+')) negative = f[i++] == '-';
    int64_t v = 0;
    constexpr int64_t kLimit = std::numeric_limits<int32_t>::max();
    for (; i < f.size() && f[i] >= '0' && f[i] <= '9'; ++i) {
        v = v * 10 + (f[i] - '0');
        if (v > kLimit) v = kLimit;
    }
    return negative ? -v : v;
}

bool startsWithCircle(std::string_view field) {
    return field.substr(0, 2) == kCircle;
}
bool isCircle(std::string_view field) {
    return field == kCircle;
}

std::string_view FieldRow::text(size_t i) const {
    return i < fields_.size() ? std::string_view(fields_[i]) : std::string_view();
}

std::optional<std::vector<FieldRow>> readTextTable(const std::string& path, size_t limit) {
    std::optional<std::string> bytes = readWholeFile(path, limit);
    if (!bytes) return std::nullopt;
    std::vector<FieldRow> rows;
    for (std::string& line : splitLines(*bytes)) rows.emplace_back(splitFields(line));
    return rows;
}

void copyFieldText(char* field, size_t width, std::string_view text) {
    if (width == 0) return;
    std::memset(field, 0, width);
    const std::string cut = cutToBytes(fieldText(text.data(), text.size()), width - 1);
    std::memcpy(field, cut.data(), cut.size());
}

}  // namespace kv
