// The sheet cache file: "KVSHEETS", the format version, the key, the hex size, then each
// sheet's width, height and 32-bit pixels row by row (0 × 0 for an empty sheet).
#include "view/sheet_cache.h"

#include <QImage>

#include <sys/stat.h>

#include <array>
#include <cstring>
#include <string_view>

#include "document/hex_pixels.h"
#include "document/map_document.h"
#include "framework/byte_cursor.h"
#include "framework/data_paths.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/faction_colours.h"

namespace kv {

namespace {

constexpr std::string_view kMagic = "KVSHEETS";
// Raised whenever the sheets the export draws from are made differently.
constexpr uint32_t kVersion = 1;
constexpr size_t kMaxCacheBytes = size_t{256} << 20;
constexpr uint32_t kMaxSide = 1u << 15;

std::string cacheName(int hexSize) {
    std::string name = "kvmap-sheets-";
    name.append(std::to_string(hexSize)).append(".cache");
    return name;
}

}  // namespace

std::string exportSheetsKey(const FactionColourTable& colours, int hexSize) {
    std::string key;
    auto add = [&key](std::string_view text) { key.append(text); };
    add("v");
    add(std::to_string(kVersion));
    add(" size ");
    add(std::to_string(hexSize));
    add(" hues");
    for (int k = 0; k < 7; ++k) {
        add(" ");
        add(std::to_string(factionHue(colours, k)));
    }
    for (const std::string& name : SpriteSheets::artFiles(true)) {
        const std::string path = dataPath(name, DataKind::Bmp);
        add("\n");
        add(path);
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) {
            add(" missing");
            continue;
        }
        for (long long v :
             {static_cast<long long>(st.st_size), static_cast<long long>(st.st_mtim.tv_sec),
              static_cast<long long>(st.st_mtim.tv_nsec)}) {
            add(" ");
            add(std::to_string(v));
        }
    }
    return key;
}

std::optional<SpriteSheets> readSheetCache(const std::string& path, const std::string& key) {
    const std::optional<std::string> bytes = readWholeFile(path, kMaxCacheBytes);
    if (!bytes) return std::nullopt;
    ByteReader in(*bytes);
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
    const int hexSize = static_cast<int>(in.u32());
    if (in.u32() != uint32_t(Sheet::Count) || in.shortfall()) return std::nullopt;
    std::array<Picture, size_t(Sheet::Count)> pictures;
    for (Picture& picture : pictures) {
        const uint32_t w = in.u32(), h = in.u32();
        if (in.shortfall() || w > kMaxSide || h > kMaxSide) return std::nullopt;
        if (w == 0 || h == 0) continue;
        const uint64_t rowBytes = uint64_t{w} * 4;
        if (!in.contains(in.position(), rowBytes * h)) return std::nullopt;
        QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
        if (image.isNull()) return std::nullopt;
        for (uint32_t y = 0; y < h; ++y)
            in.read(image.scanLine(static_cast<int>(y)), static_cast<size_t>(rowBytes));
        picture = Picture(image);
    }
    if (!in.atEnd()) return std::nullopt;
    return SpriteSheets::fromPictures(hexSize, pictures);
}

bool writeSheetCache(const std::string& path, const std::string& key, const SpriteSheets& sheets) {
    std::string bytes;
    ByteAppender out(bytes);
    out.bytes(kMagic);
    out.u32(kVersion);
    out.u32(static_cast<uint32_t>(key.size()));
    out.bytes(key);
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
        for (int y = 0; y < image.height(); ++y)
            out.bytes(std::string_view(reinterpret_cast<const char*>(image.constScanLine(y)),
                                       size_t(image.width()) * 4));
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

SpriteSheets cachedExportSheets(const MapDocument& doc, int hexSize) {
    hexSize = normalisedHexSize(hexSize);
    const std::string key = exportSheetsKey(doc.factionColours, hexSize);
    const std::string path = dataPath(cacheName(hexSize), DataKind::Program);
    if (std::optional<SpriteSheets> cached = readSheetCache(path, key)) return cached->toRgb555();
    SpriteSheets sheets;
    sheets.build(hexSize, doc.factionColours, false, doc.gameDatabase, true);
    try {
        writeSheetCache(writableDataPath(cacheName(hexSize), DataKind::Program), key, sheets);
    } catch (const swCError&) {
        // No writable place: the next export builds the sheets again.
    }
    return sheets.toRgb555();
}

}  // namespace kv
