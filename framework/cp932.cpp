// CP932 conversion through glibc iconv, and lead-byte-aware cutting and trimming.
#include "framework/cp932.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <iconv.h>

namespace kv {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// One iconv handle per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != kNoConverter) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != kNoConverter; }
    iconv_t handle() const { return cd_; }

private:
    iconv_t cd_;
};

Converter& decoder() {
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

Converter& encoder() {
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

enum class Stop { Done, Invalid, Incomplete };

struct Progress {
    size_t consumed;
    Stop stop;
};

// Converts as much of `in` as possible, appending the output to `out`.
Progress convert(iconv_t cd, std::string_view in, std::string& out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh state for every call
    if (in.empty()) return {0, Stop::Done};
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[1024];
    for (;;) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        int err = errno;
        out.append(buffer, static_cast<size_t>(dst - buffer));
        size_t consumed = in.size() - srcLeft;
        if (r != static_cast<size_t>(-1)) return {consumed, Stop::Done};
        if (err == E2BIG) continue;
        return {consumed, err == EINVAL ? Stop::Incomplete : Stop::Invalid};
    }
}

bool isTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Length of the character starting at s[i]: a lead byte takes the next byte with it.
size_t charLength(std::string_view s, size_t i) {
    return isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

}  // namespace

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::optional<std::string> decodeCp932(std::string_view bytes) {
    Converter& c = decoder();
    if (!c.ok()) return std::nullopt;
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    if (convert(c.handle(), bytes, out).stop != Stop::Done) return std::nullopt;
    return out;
}

std::string decodeCp932Lossy(std::string_view bytes) {
    std::string out;
    Converter& c = decoder();
    if (!c.ok()) {
        // Without a converter only ASCII can be shown faithfully.
        for (char ch : bytes) {
            if (static_cast<unsigned char>(ch) < 0x80)
                out += ch;
            else
                out += kReplacement;
        }
        return out;
    }
    std::string_view rest = bytes;
    while (!rest.empty()) {
        Progress p = convert(c.handle(), rest, out);
        if (p.stop == Stop::Done) break;
        out += kReplacement;
        if (p.stop == Stop::Incomplete) break;  // only a truncated character was left
        size_t at = p.consumed;
        // An unmapped pair is one bad character; a lead byte followed by a byte that cannot
        // be a trail byte is bad alone, and the following byte is shown as what it is.
        size_t skip = 1;
        if (isLeadByte(static_cast<unsigned char>(rest[at])) && at + 1 < rest.size() &&
            isTrailByte(static_cast<unsigned char>(rest[at + 1])))
            skip = 2;
        rest.remove_prefix(at + skip);
    }
    return out;
}

std::optional<std::string> encodeCp932(std::string_view utf8) {
    Converter& c = encoder();
    if (!c.ok()) return std::nullopt;
    std::string out;
    out.reserve(utf8.size());
    if (convert(c.handle(), utf8, out).stop != Stop::Done) return std::nullopt;
    return out;
}

std::string cutToBytes(std::string_view s, size_t maxBytes) {
    size_t end = 0;
    while (end < s.size()) {
        bool lead = isLeadByte(static_cast<unsigned char>(s[end]));
        if (lead && end + 1 >= s.size()) break;  // a lone lead byte is no character
        size_t next = end + (lead ? 2 : 1);
        if (next > maxBytes) break;
        end = next;
    }
    return std::string(s.substr(0, end));
}

std::string trimTrailingBlanks(std::string_view s) {
    s = s.substr(0, std::min(s.size(), s.find('\0')));
    size_t keep = 0;  // end of the last character that is not a blank
    for (size_t i = 0; i < s.size();) {
        size_t len = charLength(s, i);
        bool blank =
            len == 1 ? s[i] == ' ' : s[i] == '\x81' && s[i + 1] == '\x40';  // full-width space
        i += len;
        if (!blank) keep = i;
    }
    return std::string(s.substr(0, keep));
}

std::string fieldText(const char* field, size_t width) {
    if (!field) return {};
    const void* nul = std::memchr(field, '\0', width);
    size_t len = nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : width;
    return std::string(field, len);
}

}  // namespace kv
