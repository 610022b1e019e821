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

// What a byte is to the readers, as a table: they test every byte of every game file.
enum ByteKind : uint8_t { kPlain = 0, kLead, kLineEnd, kComma, kNul };

// The line reader's kinds: a lead byte, CR, LF and NUL; everything else is plain.
const std::array<uint8_t, 256>& lineKinds() {
    static const std::array<uint8_t, 256> table = [] {
        std::array<uint8_t, 256> t{};
        for (size_t b = 0; b < t.size(); ++b)
            if (isLeadByte(static_cast<unsigned char>(b))) t[b] = kLead;
        t['\r'] = t['\n'] = t['\0'] = kLineEnd;
        return t;
    }();
    return table;
}

// The field splitter's kinds: a lead byte, a comma and NUL (which ends the text it scans).
const std::array<uint8_t, 256>& fieldKinds() {
    static const std::array<uint8_t, 256> table = [] {
        std::array<uint8_t, 256> t{};
        for (size_t b = 0; b < t.size(); ++b)
            if (isLeadByte(static_cast<unsigned char>(b))) t[b] = kLead;
        t[','] = kComma;
        t['\0'] = kNul;
        return t;
    }();
    return table;
}

}  // namespace

void forEachLine(std::string_view bytes, const std::function<void(std::string_view)>& visit) {
    // A line is handed on as a view of the file. The scan only looks for its end, stepping
    // over double-byte characters; how much of it is kept is worked out once at the end.
    const uint8_t* const kind = lineKinds().data();
    const auto* const p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    size_t start = 0, i = 0;
    auto finish = [&](size_t end, size_t next) {
        size_t kept = end - start;
        if (kept > kMaxLineBytes) {
            // The whole characters that fit; the one that does not and all after it go.
            size_t j = start;
            for (;;) {
                const size_t step = kind[p[j]] == kLead && j + 1 < n ? 2 : 1;
                if (j + step - start > kMaxLineBytes) break;
                j += step;
            }
            kept = j - start;
        }
        visit(std::string_view(bytes.data() + start, kept));
        start = next;
    };
    while (i < n) {
        const uint8_t k = kind[p[i]];
        if (k == kPlain) {
            ++i;
        } else if (k == kLead) {
            i += i + 1 < n ? 2 : 1;  // a trail byte equal to CR or LF never ends a line
        } else if (p[i] != '\r') {
            finish(i, i + 1);  // LF or NUL
            ++i;
        } else if (i + 1 < n && p[i + 1] == '\n') {
            finish(i, i + 2);
            i += 2;
        } else {
            ++i;  // a lone CR is an ordinary byte
        }
    }
    if (start < n) finish(n, n);
}

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    forEachLine(bytes, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

namespace {

// Hands each field of a line to `visit`. The string's terminating NUL stops the scan of
// plain bytes, so a plain byte costs one test.
template <class Visit>
void forEachField(const std::string& line, Visit&& visit) {
    const uint8_t* const kind = fieldKinds().data();
    const auto* const p = reinterpret_cast<const unsigned char*>(line.c_str());
    const size_t n = line.size();
    const char* const text = line.data();
    size_t start = 0, i = 0;
    for (;;) {
        uint8_t k;
        while ((k = kind[p[i]]) == kPlain) ++i;
        if (k == kComma) {
            visit(std::string_view(text + start, i - start));
            start = ++i;
        } else if (k == kLead) {
            i += i + 1 < n ? 2 : 1;  // a trail byte equal to a comma stays in the field
        } else if (i < n) {
            ++i;  // a NUL inside the line is a plain byte
        } else {
            break;
        }
    }
    visit(std::string_view(text + start, n - start));
}

}  // namespace

std::vector<std::string> splitFields(std::string_view line) {
    std::vector<std::string> fields;
    fields.reserve(static_cast<size_t>(std::count(line.begin(), line.end(), ',')) + 1);
    forEachField(std::string(line), [&](std::string_view field) { fields.emplace_back(field); });
    return fields;
}

FieldRow::FieldRow(const std::vector<std::string>& fields) {
    for (const std::string& f : fields) {
        fields_.push_back({line_.size(), f.size()});
        line_ += f;
    }
}

void FieldRow::split(std::string_view line) {
    line_.assign(line);
    fields_.clear();
    const char* const base = line_.data();
    forEachField(line_, [&](std::string_view field) {
        fields_.push_back({static_cast<size_t>(field.data() - base), field.size()});
    });
}

std::vector<std::string> FieldRow::fields() const {
    std::vector<std::string> out;
    out.reserve(fields_.size());
    for (size_t i = 0; i < fields_.size(); ++i) out.emplace_back(text(i));
    return out;
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

std::optional<std::vector<FieldRow>> readTextTable(const std::string& path, size_t limit) {
    std::optional<std::string> bytes = readWholeFile(path, limit);
    if (!bytes) return std::nullopt;
    std::vector<FieldRow> rows;
    forEachLine(*bytes, [&](std::string_view line) { rows.emplace_back().split(line); });
    return rows;
}

void copyFieldText(char* field, size_t width, std::string_view text) {
    if (width == 0) return;
    std::memset(field, 0, width);
    const std::string cut = cutToBytes(fieldText(text.data(), text.size()), width - 1);
    std::memcpy(field, cut.data(), cut.size());
}

}  // namespace kv
