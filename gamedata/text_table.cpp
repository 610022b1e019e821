// The one reader of the game's comma-separated text files.
#include "gamedata/text_table.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "framework/cp932.h"
#include "framework/disk_file.h"

namespace kv {

namespace {

// isLeadByte as a table: the readers test every byte of every game file.
const std::array<bool, 256>& leadBytes() {
    static const std::array<bool, 256> table = [] {
        std::array<bool, 256> t{};
        for (size_t b = 0; b < t.size(); ++b) t[b] = isLeadByte(static_cast<unsigned char>(b));
        return t;
    }();
    return table;
}

}  // namespace

void forEachLine(std::string_view bytes, const std::function<void(std::string_view)>& visit) {
    // A line keeps a prefix of its bytes, so it is handed on as a view of the file.
    size_t start = 0, kept = 0;
    bool full = false;  // the line reached its limit; drop the rest of it
    size_t i = 0;
    const bool* const lead = leadBytes().data();
    auto finish = [&](size_t next) {
        visit(bytes.substr(start, kept));
        start = next;
        kept = 0;
        full = false;
    };
    while (i < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (lead[c] && i + 1 < bytes.size()) {
            if (!full && kept + 2 <= kMaxLineBytes) {
                kept += 2;
            } else {
                full = true;
            }
            i += 2;
            continue;
        }
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            finish(i + 2);
            i += 2;
            continue;
        }
        if (c == '\n' || c == '\0') {
            finish(i + 1);
            ++i;
            continue;
        }
        if (!full && kept + 1 <= kMaxLineBytes) {
            ++kept;
        } else {
            full = true;
        }
        ++i;
    }
    if (kept != 0) visit(bytes.substr(start, kept));
}

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    forEachLine(bytes, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

namespace {

// Hands each field of a line to `visit`.
template <class Visit>
void forEachField(std::string_view line, Visit&& visit) {
    const bool* const lead = leadBytes().data();
    size_t start = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (lead[c] && i + 1 < line.size()) {
            ++i;  // a trail byte equal to a comma stays in the field
        } else if (c == ',') {
            visit(line.substr(start, i - start));
            start = i + 1;
        }
    }
    visit(line.substr(start));
}

}  // namespace

std::vector<std::string> splitFields(std::string_view line) {
    std::vector<std::string> fields;
    fields.reserve(static_cast<size_t>(std::count(line.begin(), line.end(), ',')) + 1);
    forEachField(line, [&](std::string_view field) { fields.emplace_back(field); });
    return fields;
}

void FieldRow::split(std::string_view line) {
    size_t n = 0;
    forEachField(line, [&](std::string_view field) {
        if (n == fields_.size()) fields_.emplace_back();
        fields_[n++].assign(field);
    });
    fields_.resize(n);
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
