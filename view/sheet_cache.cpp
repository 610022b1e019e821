// The sheet cache file, numbers 32-bit little-endian: "KVSHEETS", the format version, the key
// (length and bytes, zero-padded to a multiple of 4), the hex size, the sheet count, then each
// sheet's width and height (0 × 0 for an empty sheet), its opaque runs (count, then start and
// end of each), where each row's runs begin (height + 1 entries) and its 32-bit pixels row by
// row; last the count and names (length and bytes) of the art files that were missing.
#include "view/sheet_cache.h"

#include <QImage>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <memory>
#include <string_view>

#include "document/hex_pixels.h"
#include "document/map_document.h"
#include "framework/byte_cursor.h"
#include "framework/data_paths.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/faction_colours.h"
#include "framework/profile.h"
#include "gamedata/weapons.h"

namespace kv {

namespace {

constexpr std::string_view kMagic = "KVSHEETS";
// Raised whenever the sheets are made differently.
constexpr uint32_t kVersion = 2;
constexpr size_t kMaxCacheBytes = size_t{256} << 20;
constexpr uint32_t kMaxSide = 1u << 15;
constexpr uint32_t kMaxNames = 64;

// The cache file mapped into memory: the sheets' pixels are used where they lie, and only the
// pages drawn from are ever read. The mapping lives as long as any sheet made from it. The
// file is only ever replaced whole (by renaming a new one over it), never cut short in place,
// so the mapped pages stay valid.
class MappedFile {
public:
    static std::shared_ptr<const MappedFile> open(const std::string& path) {
        const int fd = openRegularFile(path);
        if (fd < 0) return nullptr;
        struct stat st {};
        void* data = MAP_FAILED;
        if (::fstat(fd, &st) == 0 && st.st_size > 0 &&
            static_cast<uint64_t>(st.st_size) <= kMaxCacheBytes)
            data = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        ::close(fd);
        if (data == MAP_FAILED) return nullptr;
        return std::shared_ptr<const MappedFile>(
            new MappedFile(static_cast<const char*>(data), static_cast<size_t>(st.st_size)));
    }
    ~MappedFile() { ::munmap(const_cast<char*>(data_), size_); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    std::string_view bytes() const { return {data_, size_}; }

private:
    MappedFile(const char* data, size_t size) : data_(data), size_(size) {}
    const char* data_;
    size_t size_;
};

// Zero bytes after the key, so that every number and pixel after it is 4-byte aligned in the
// file (and in memory, where the pixels are used in place).
size_t paddingAfter(size_t keyLength) {
    return (4 - keyLength % 4) % 4;
}

// Named after the program that makes it (its key holds that program), the set and the size:
// "kvmap-sheets-32.cache", "kvornme-view-32.cache".
std::string cacheName(int hexSize, bool terrainOnly) {
    std::string program = programPath();
    program = program.substr(program.find_last_of('/') + 1);
    if (program.empty()) program = "kvornme";
    return program + (terrainOnly ? "-sheets-" : "-view-") + std::to_string(hexSize) + ".cache";
}

}  // namespace

std::string sheetsKey(const FactionColourTable& colours, int hexSize, bool terrainOnly) {
    std::string key;
    auto add = [&key](std::string_view text) { key.append(text); };
    add("v");
    add(std::to_string(kVersion));
    add(terrainOnly ? " terrain" : " view");
    add(" size ");
    add(std::to_string(hexSize));
    add(" hues");
    for (int k = 0; k < 7; ++k) {
        add(" ");
        add(std::to_string(factionHue(colours, k)));
    }
    // The art files, and the program itself: a new build may make the sheets differently.
    auto addFile = [&add](const std::string& path) {
        add("\n");
        add(path);
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) {
            add(" missing");
            return;
        }
        for (long long v :
             {static_cast<long long>(st.st_size), static_cast<long long>(st.st_mtim.tv_sec),
              static_cast<long long>(st.st_mtim.tv_nsec)}) {
            add(" ");
            add(std::to_string(v));
        }
    };
    for (const std::string& name : SpriteSheets::artFiles(terrainOnly))
        addFile(dataPath(name, DataKind::Bmp));
    addFile(programPath());
    return key;
}

std::optional<SpriteSheets> readSheetCache(const std::string& path, const std::string& key) {
    const std::shared_ptr<const MappedFile> file = MappedFile::open(path);
    if (!file) return std::nullopt;
    ByteReader in(file->bytes());
    const auto magic = in.view(kMagic.size());
    if (magic.size() != kMagic.size() ||
        std::memcmp(magic.data(), kMagic.data(), kMagic.size()) != 0)
        return std::nullopt;
    if (in.u32() != kVersion) return std::nullopt;
    const uint32_t keyLength = in.u32();
    if (!in.contains(in.position(), keyLength)) return std::nullopt;
    const auto storedKey = in.view(keyLength);
    if (keyLength != key.size() ||
        (keyLength > 0 && std::memcmp(storedKey.data(), key.data(), keyLength) != 0))
        return std::nullopt;
    in.skip(paddingAfter(keyLength));
    const int hexSize = static_cast<int>(in.u32());
    if (in.u32() != uint32_t(Sheet::Count) || in.shortfall()) return std::nullopt;
    std::array<SpriteImage, size_t(Sheet::Count)> sprites;
    for (SpriteImage& sprite : sprites) {
        const uint32_t w = in.u32(), h = in.u32();
        if (in.shortfall() || w > kMaxSide || h > kMaxSide) return std::nullopt;
        if (w == 0 || h == 0) continue;
        const uint32_t runCount = in.u32();
        if (in.shortfall() || !in.contains(in.position(), uint64_t{runCount} * 8 + (h + 1) * 4))
            return std::nullopt;
        std::vector<SpriteImage::Run> runs(runCount);
        for (SpriteImage::Run& r : runs) {
            r.start = static_cast<int32_t>(in.u32());
            r.end = static_cast<int32_t>(in.u32());
        }
        std::vector<uint32_t> rowRuns(size_t{h} + 1);
        for (uint32_t& first : rowRuns) first = in.u32();
        const uint64_t rowBytes = uint64_t{w} * 4;
        if (!in.contains(in.position(), rowBytes * h)) return std::nullopt;
        const auto* pixels = reinterpret_cast<const uchar*>(file->bytes().data() + in.position());
        in.skip(static_cast<size_t>(rowBytes * h));
        auto* keep = new std::shared_ptr<const MappedFile>(file);
        QImage image(
            pixels, static_cast<int>(w), static_cast<int>(h), static_cast<qsizetype>(rowBytes),
            QImage::Format_RGB32,
            [](void* kept) { delete static_cast<std::shared_ptr<const MappedFile>*>(kept); }, keep);
        if (image.isNull()) {
            delete keep;
            return std::nullopt;
        }
        sprite = SpriteImage::fromRuns(std::move(image), std::move(runs), std::move(rowRuns));
        if (sprite.isNull()) return std::nullopt;
    }
    const uint32_t missingCount = in.u32();
    if (in.shortfall() || missingCount > kMaxNames) return std::nullopt;
    std::vector<std::string> missing;
    for (uint32_t i = 0; i < missingCount; ++i) {
        const uint32_t length = in.u32();
        if (in.shortfall() || !in.contains(in.position(), length)) return std::nullopt;
        const auto name = in.view(length);
        missing.emplace_back(name.begin(), name.end());
    }
    if (!in.atEnd()) return std::nullopt;
    SpriteSheets sheets = SpriteSheets::fromSprites(hexSize, std::move(sprites));
    sheets.setMissingFiles(std::move(missing));
    return sheets;
}

bool writeSheetCache(const std::string& path, const std::string& key, const SpriteSheets& sheets) {
    std::string bytes;
    ByteAppender out(bytes);
    out.bytes(kMagic);
    out.u32(kVersion);
    out.u32(static_cast<uint32_t>(key.size()));
    out.bytes(key);
    out.bytes(std::string(paddingAfter(key.size()), '\0'));
    out.u32(static_cast<uint32_t>(sheets.hexSize()));
    out.u32(uint32_t(Sheet::Count));
    for (size_t i = 0; i < size_t(Sheet::Count); ++i) {
        const SpriteImage& sheet = sheets[Sheet(i)];
        if (sheet.isNull() || sheet.bytesPerPixel() != 4) {
            out.u32(0);
            out.u32(0);
            continue;
        }
        const QImage& image = sheet.pixels();
        out.u32(static_cast<uint32_t>(image.width()));
        out.u32(static_cast<uint32_t>(image.height()));
        out.u32(static_cast<uint32_t>(sheet.runs().size()));
        for (const SpriteImage::Run& r : sheet.runs()) {
            out.u32(static_cast<uint32_t>(r.start));
            out.u32(static_cast<uint32_t>(r.end));
        }
        for (uint32_t first : sheet.rowRuns()) out.u32(first);
        for (int y = 0; y < image.height(); ++y)
            out.bytes(std::string_view(reinterpret_cast<const char*>(image.constScanLine(y)),
                                       size_t(image.width()) * 4));
    }
    out.u32(static_cast<uint32_t>(sheets.missingFiles().size()));
    for (const std::string& name : sheets.missingFiles()) {
        out.u32(static_cast<uint32_t>(name.size()));
        out.bytes(name);
    }
    try {
        SaveOptions options;
        options.durable = false;  // a lost cache is only made again
        writeFileAtomically(path, bytes, options);
        return true;
    } catch (const swCError&) {
        return false;
    }
}

namespace {

void renewCache(int hexSize, bool terrainOnly, const std::string& key, const SpriteSheets& sheets) {
    try {
        writeSheetCache(writableDataPath(cacheName(hexSize, terrainOnly), DataKind::Program), key,
                        sheets);
    } catch (const swCError&) {
        // No writable place: the sheets are built again next time.
    }
}

}  // namespace

SpriteSheets cachedTerrainSheets(const FactionColourTable& colours, int hexSize) {
    hexSize = normalisedHexSize(hexSize);
    const std::string key = exportSheetsKey(colours, hexSize);
    const std::string path = dataPath(cacheName(hexSize, true), DataKind::Program);
    if (std::optional<SpriteSheets> cached = readSheetCache(path, key);
        cached && cached->hexSize() == hexSize)
        return std::move(*cached);
    SpriteSheets sheets;
    sheets.build(hexSize, colours, false, WeaponData(), true);
    renewCache(hexSize, true, key, sheets);
    return sheets;
}

SpriteSheets cachedExportSheets(const MapDocument& doc, int hexSize) {
    return cachedTerrainSheets(doc.factionColours, hexSize).toRgb555();
}

void buildViewSheets(SpriteSheets& sheets, int hexSize, const FactionColourTable& colours,
                     bool unitIcons, const WeaponData& weapons) {
    hexSize = normalisedHexSize(hexSize);
    if (!sheets.needsBuild(hexSize, colours, unitIcons, weapons)) return;
    const std::string key = sheetsKey(colours, hexSize, false);
    const std::string path = dataPath(cacheName(hexSize, false), DataKind::Program);
    if (std::optional<SpriteSheets> cached = readSheetCache(path, key);
        cached && cached->hexSize() == hexSize) {
        sheets.adopt(std::move(*cached), colours, unitIcons, weapons);
        return;
    }
    sheets.build(hexSize, colours, unitIcons, weapons);
    renewCache(hexSize, false, key, sheets);
}

}  // namespace kv
