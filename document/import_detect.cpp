// Recognising a map file's format by its magic, and the bounded view of an old file's
// sections that every earlier-edition reader reads through.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "document/import.h"
#include "document/import_records.h"
#include "framework/disk_file.h"
#include "framework/errors.h"

namespace kv {

namespace {

struct KindPrefix {
    int kind;
    std::string_view prefix;
};
// Compared over the prefix only; the full magic is the reader's to check.
constexpr KindPrefix kPrefixes[] = {
    {legacy::kRealTime, "WINTRAXMAP"}, {legacy::kEarlier, "QUISCENARIO"},
    {legacy::kDeluxe, "BREXOSCENAR"},  {legacy::kModern, "FENWICSCEN"},
    {legacy::kCurrent, "TALMASCENAR"}, {legacy::kCurrent, "KVORNSCENAR"},
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number formed by the digits at the end of the magic (for kinds 3 and 5 the three
// characters at 13..15).
int versionOf(int kind, std::string_view magic) {
    size_t from = magic.size();
    if (kind == legacy::kDeluxe || kind == legacy::kCurrent) {
        from = 13;
        for (size_t i = 13; i < 16; ++i)
            if (!isDigit(magic[i])) return 0;
    } else {
        while (from > 0 && isDigit(magic[from - 1])) --from;
    }
    int version = 0;
    for (size_t i = from; i < magic.size(); ++i) version = version * 10 + (magic[i] - '0');
    return version;
}

}  // namespace

namespace legacy {

std::string magicOf(int kind, int version) {
    if (version < 1 || version > lastVersion(kind)) return {};
    const std::string digit(1, static_cast<char>('0' + version));
    switch (kind) {
        case kRealTime: return "WINTRAXMAP000001";
        case kEarlier: return "QUISCENARIO0000" + digit;
        case kDeluxe: return "BREXOSCENARI000" + digit;
        case kModern: return "FENWICSCENARI00" + digit;
        default: return {};
    }
}

int lastVersion(int kind) {
    switch (kind) {
        case kRealTime: return 1;
        case kEarlier: return 6;
        case kDeluxe: return 4;
        case kModern: return 2;
        default: return 0;
    }
}

}  // namespace legacy

MapKindInfo detectMapKindBytes(std::string_view bytes) {
    if (bytes.size() < 16) return {};
    const std::string_view magic = bytes.substr(0, 16);
    for (const KindPrefix& k : kPrefixes)
        if (magic.substr(0, k.prefix.size()) == k.prefix) return {k.kind, versionOf(k.kind, magic)};
    return {};
}

MapKindInfo detectMapKind(const std::string& path) {
    // Only regular files: opening a FIFO for reading would wait for a writer.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return {};
    char magic[16];
    size_t got = 0;
    try {
        DiskFile f;
        f.open(path, DiskFile::Read);
        got = f.read(magic, sizeof magic);
    } catch (const swCError&) {
        return {};
    }
    return detectMapKindBytes(std::string_view(magic, got));
}

namespace import_detail {

std::string_view OldRecord::text(size_t o, size_t width) const {
    if (o >= size) return {};
    width = std::min(width, size - o);
    const void* nul = std::memchr(p + o, 0, width);
    const size_t len =
        nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - (p + o)) : width;
    return {reinterpret_cast<const char*>(p + o), len};
}

std::optional<Container> Container::open(std::string_view file, size_t headerKept) {
    const std::optional<MapFileHeader> header = parseMapFileHeader(file, headerKept);
    if (!header) return std::nullopt;
    Container c;
    c.file_ = file;
    c.sections_ = header->sections;
    return c;
}

uint32_t Container::count(int s, uint32_t capacity) const {
    return std::min(section(s).count, capacity);
}

bool Container::element(int s, uint32_t i, uint8_t* buffer, size_t size) const {
    std::memset(buffer, 0, size);
    const SectionDescriptor& d = section(s);
    ByteReader in(file_);
    in.seek(uint64_t{d.offset} + uint64_t{d.recordSize} * i);
    if (in.atEnd()) return false;
    in.read(buffer, std::min<size_t>(d.recordSize, size));  // what the file lacks stays zero
    return true;
}

std::vector<uint8_t> Container::blob(int s) const {
    const SectionDescriptor& d = section(s);
    ByteReader in(file_);
    in.seek(d.offset);
    // Empty for no picture, and for one the file does not hold whole.
    const std::span<const uint8_t> bytes = in.view(d.count == 0 ? 0 : d.recordSize);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace import_detail
}  // namespace kv
