// The fuzz seeds: small files of each format, made from the sample data where it has them and
// laid out byte by byte where it does not (archives, settings, product-type record forms).
#include "sampledata/fuzz_seeds.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "document/bulk_edits.h"
#include "document/legacy_writer.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/archive_reader.h"
#include "framework/bitmap_block.h"
#include "framework/byte_cursor.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/faction_colours.h"
#include "gamedata/product_types.h"
#include "sampledata/demo_maps.h"
#include "sampledata/legacy_maps.h"

namespace kv::sample {

namespace {

class SeedWriter {
public:
    explicit SeedWriter(const std::string& root) : root_(root + "/fuzzseeds/") {}
    void write(const std::string& target, const std::string& name, std::string_view bytes) {
        std::filesystem::create_directories(root_ + target);
        writeFileAtomically(root_ + target + "/" + name, bytes);
    }

private:
    std::string root_;
};

// The demo scenario cut to a small map around its centre, in each kind of map file.
std::string writeSmallMaps(const std::string& root, SeedWriter& out) {
    return withDemoDocument(root, "map", "the small fuzz maps", [&](MapDocument& doc) {
        doc.loadResources();
        if (!loadMapFile(doc, root + "/map/demo_scenario.kvs")) return std::string("no demo map");
        changeMapSize(doc, 20, 16, kAnchorCentre);
        packTroopNumbers(doc);
        // Pictures would take most of a seed; the picture target has its own.
        doc.scenarioTexts.briefingPicture.clear();
        doc.scenarioTexts.endingPicture.clear();
        const std::string scenario = mapFileBytes(doc, MapFileKind::Scenario);
        const std::string normal = mapFileBytes(doc, MapFileKind::Normal);
        doc.mapHeader.setMagic(kIntermediateMagic);
        const std::string intermediate = mapFileBytes(doc, MapFileKind::Intermediate);
        doc.mapHeader.setMagic(kMapMagic);
        for (const char* target : {"map_file_fuzz", "map_info_fuzz", "map_render_fuzz"}) {
            out.write(target, "small.kvs", scenario);
            out.write(target, "small.kvn", normal);
            out.write(target, "small.kvt", intermediate);
        }
        const std::string texts(reinterpret_cast<const char*>(doc.scenarioTexts.bytes.data()),
                                doc.scenarioTexts.bytes.size());
        out.write("scenario_text_fuzz", "demo_texts.bin", texts);
        return std::string();
    });
}

// The earlier editions' example maps cut to their top-left corner, in every version.
void writeSmallEarlierMaps(SeedWriter& out) {
    for (int kind = legacy::kRealTime; kind <= legacy::kModern; ++kind) {
        const LegacyMap example = legacyExampleMap(kind);
        LegacyMap m = example;
        m.width = std::min(example.width, 12);
        m.height = std::min(example.height, 10);
        m.cells.clear();
        for (int row = 0; row < m.height; ++row)
            for (int col = 0; col < m.width; ++col)
                m.cells.push_back(example.cells[size_t(row * example.width + col)]);
        for (int version = 1; version <= legacy::lastVersion(kind); ++version) {
            m.version = version;
            out.write("import_fuzz",
                      "kind" + std::to_string(kind) + "-v" + std::to_string(version) + ".map",
                      legacyMapBytes(m));
        }
    }
}

// FLINK archives of both formats (after their 16-byte magic) with an entry of each method,
// the first a small bitmap file.
std::string archiveVersion1(const std::string& picture) {
    const std::string runBytes = std::string("AA") + '\x05' + "BC";  // A six times, B, C
    const std::string runWords("\x01\x02\x01\x02\x03\x00", 6);
    const std::string* stored[] = {&picture, &runBytes, &runWords};
    const uint8_t methods[] = {2, RunLengthBytes, RunLengthWords};
    const uint32_t decoded[] = {uint32_t(picture.size()), 8, 6};
    std::string out;
    ByteAppender a(out);
    a.u32(3);  // the entry count; the directory follows it
    uint32_t offset = 16 + 4 + 16 * 3;
    for (size_t i = 0; i < 3; ++i) {
        a.u8(methods[i]), a.u8(0), a.u8(0), a.u8(0);
        a.u32(decoded[i]);
        a.u32(uint32_t(stored[i]->size()));
        a.u32(offset);
        offset += uint32_t(stored[i]->size());
    }
    for (const std::string* s : stored) out += *s;
    return out;
}

// The offsets of the entries and of the end, then each entry's blocks of a length word, a
// method byte and the data.
std::string archiveVersion2(const std::string& picture) {
    std::string first, second;
    ByteAppender b0(first), b1(second);
    b0.u16(uint16_t(picture.size())), b0.u8(2), first += picture;
    b1.u16(5), b1.u8(RunLengthBytes), second += std::string("AA") + '\x05' + "BC";
    b1.u16(6), b1.u8(RunLengthWords), second += std::string("\x01\x02\x01\x02\x03\x00", 6);
    std::string out;
    ByteAppender c(out);
    const uint32_t start = 16 + 4 * 3;
    c.u32(start);
    c.u32(start + uint32_t(first.size()));
    c.u32(start + uint32_t(first.size() + second.size()));
    return out + first + second;
}

void writeArchives(SeedWriter& out) {
    std::vector<uint32_t> pixels(4 * 3, 0x336699);
    pixels[1] = kColourKey;
    const std::string picture = encodeBitmapFile(4, 3, pixels);
    const std::string magic1("FLINK Ver1.00\0\0\0", 16), magic2("FLINK2 ver.00\0\0\0", 16);
    // The archive target takes the choice of magic from the first byte (0 the first format, 1
    // the second) and the archive after its magic from the rest.
    out.write("archive_fuzz", "flink1.bin", std::string(1, '\0') + archiveVersion1(picture));
    out.write("archive_fuzz", "flink2.bin", std::string(1, '\1') + archiveVersion2(picture));
    out.write("picture_fuzz", "flink1.dat", magic1 + archiveVersion1(picture));
    out.write("picture_fuzz", "flink2.dat", magic2 + archiveVersion2(picture));
    out.write("picture_fuzz", "small.bmp", picture);
}

// Product-type files of both record forms: the current 7534-byte records and the old
// 2534-byte ones (one list of all weapons), naming weapons of the target's small table.
void writeProductTypes(SeedWriter& out) {
    for (const size_t size : {ProductType::kSize, ProductType::kOldSize}) {
        std::string file;
        ByteAppender a(file);
        a.u32(uint32_t(size));
        for (int r = 0; r < 2; ++r) {
            std::string record(size, '\0');
            record.replace(0, 5, r == 0 ? "TypeA" : "TypeB");
            record[ProductType::kTypeValueOffset] = char(r + 1);
            for (int id : {100, 1000, 2000, 19999})
                record[ProductType::kListOffset + size_t(id / 8)] |= char(1 << (id % 8));
            file += record;
        }
        out.write("product_type_fuzz", "form" + std::to_string(size) + ".dat", file);
    }
}

void writeSmallFiles(SeedWriter& out) {
    out.write("profile_fuzz", "settings.ini",
              "[Environment]\r\nMapPath=/maps/\r\nSHOWHQ=1\r\nHEL=0\r\n\r\n[WindowInfo]\r\n"
              "KVORNME_MAINWINDOW_CNAMEWindowPosLeft=120\r\n"
              "KVORNME_MAINWINDOW_CNAMEWindowPosTop=-8\r\n");
    FactionColourTable colours;
    colours.entries[4].hueAngle = 120;
    colours.entries[9].hueAngle = 359;
    out.write("faction_colour_fuzz", "cstmcl.dat", colours.toBytes());
}

// A sheet cache as the map view keeps it, with two small sheets: one with runs and a
// transparent row, one all opaque; every other sheet empty, one missing art file named.
void writeSheetCache(SeedWriter& out) {
    std::string file;
    ByteAppender a(file);
    a.bytes("KVSHEETS");
    a.u32(2);
    const std::string key = "v2 view size 16 hues 0 0 0 0 0 0 0";
    a.u32(static_cast<uint32_t>(key.size()));
    a.bytes(key);
    a.bytes(std::string((4 - key.size() % 4) % 4, '\0'));
    a.u32(16);  // hex size
    a.u32(14);  // sheets
    for (int sheet = 0; sheet < 14; ++sheet) {
        if (sheet == 0) {  // 4 × 3: runs [0,1) [2,4) / none / [1,3)
            a.u32(4);
            a.u32(3);
            a.u32(3);
            for (uint32_t v : {0u, 1u, 2u, 4u, 1u, 3u}) a.u32(v);
            for (uint32_t v : {0u, 2u, 2u, 3u}) a.u32(v);
            for (int i = 0; i < 12; ++i)
                a.u32(i == 0 || i == 2 || i == 3 || i == 9 || i == 10 ? 0x00336699u : 0x00FF00FFu);
        } else if (sheet == 13) {  // 2 × 1, opaque
            a.u32(2);
            a.u32(1);
            a.u32(1);
            a.u32(0);
            a.u32(2);
            a.u32(0);
            a.u32(1);
            a.u32(0x00102030u);
            a.u32(0x00405060u);
        } else {
            a.u32(0);
            a.u32(0);
        }
    }
    a.u32(1);
    a.u32(12);
    a.bytes("border48.bmp");
    out.write("sheet_cache_fuzz", "view.cache", file);
}

}  // namespace

std::string writeFuzzSeeds(const std::string& root) {
    SeedWriter out(root);
    try {
        if (std::string e = writeSmallMaps(root, out); !e.empty()) return e;
        writeSmallEarlierMaps(out);
        writeArchives(out);
        writeProductTypes(out);
        writeSmallFiles(out);
        writeSheetCache(out);
    } catch (const swCError& e) {
        return "the fuzz seeds: " + e.text();
    } catch (const std::filesystem::filesystem_error& e) {
        return std::string("the fuzz seeds: ") + e.what();
    }
    return {};
}

}  // namespace kv::sample
