// Reading and writing the map container file.
#include "document/map_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

#include "document/import.h"
#include "document/map_document.h"
#include "document/records.h"
#include "framework/byte_cursor.h"
#include "framework/data_paths.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/prompter.h"
#include "gamedata/product_types.h"

namespace kv {

namespace {

static_assert(sizeof(HexCell) == 22);
static_assert(sizeof(TerrainLabel) == 38);
static_assert(sizeof(TroopRecord) == 312);
static_assert(sizeof(FactionRecord) == 356);
static_assert(sizeof(RegimentRecord) == 198);
static_assert(sizeof(ProductionList) == 7534);
static_assert(sizeof(EvacuationTargets) == 10);
static_assert(sizeof(RuleSettings) == 52);

using FileAppender = ByteAppender<std::string>;

template <class T>
void putRecords(FileAppender& out, const T* records, size_t count) {
    out.bytes(records, sizeof(T) * count);
}

// --- writing ---------------------------------------------------------------------------------

struct Layout {
    std::array<SectionDescriptor, MapFileHeader::kSections> d{};
};

Layout layOut(const MapDocument& doc, MapFileKind kind) {
    // Only a normal map leaves out the scenario texts and pictures.
    const bool scenarioParts = kind != MapFileKind::Normal;
    Layout l;
    auto size = [&](int i, uint32_t recordSize, uint32_t count) {
        l.d[i].recordSize = recordSize;
        l.d[i].count = count;
    };
    if (scenarioParts) size(kScenarioTextsSection, ScenarioTexts::kSize, 1);
    size(kMapHeaderSection, MapHeader::kSize, 1);
    size(kFactionSection, FactionRecord::kSize, kFactionCount);
    size(kRuleSection, sizeof(RuleSettings), 1);
    size(kCellSection, sizeof(HexCell), static_cast<uint32_t>(doc.width() * doc.height()));
    size(kLabelSection, sizeof(TerrainLabel), static_cast<uint32_t>(doc.labelCount()));
    for (int f = 0; f < kFactionCount; ++f)
        size(troopSection(f), TroopRecord::kSize, static_cast<uint32_t>(doc.troops.usedSlots(f)));
    size(kProductionListSection, ProductType::kSize, kFactionCount);
    size(kEvacuationSection, EvacuationTargets::kSize, 1);
    const auto pictureSize = [scenarioParts](const std::vector<uint8_t>& picture) {
        return scenarioParts ? static_cast<uint32_t>(picture.size()) : 0;
    };
    size(kBriefingPictureSection, pictureSize(doc.scenarioTexts.briefingPicture), 1);
    size(kEndingPictureSection, pictureSize(doc.scenarioTexts.endingPicture), 1);
    for (int f = 0; f < kFactionCount; ++f)
        size(regimentSection(f), RegimentRecord::kSize, kRegimentsPerFaction);
    // Offsets follow one another from the end of the header; a section of no bytes (and the
    // absent scenario texts) sits where the next one begins, the scenario texts at offset 0.
    uint64_t at = MapFileHeader::kSize;
    for (int i = kMapHeaderSection; i < kFirstReservedSection; ++i) {
        l.d[i].offset = static_cast<uint32_t>(at);
        at += uint64_t{l.d[i].recordSize} * l.d[i].count;
    }
    if (scenarioParts) {
        l.d[kScenarioTextsSection].offset = MapFileHeader::kSize;
        for (int i = kMapHeaderSection; i < kFirstReservedSection; ++i)
            l.d[i].offset += ScenarioTexts::kSize;
    }
    return l;
}

void putHeader(FileAppender& out, std::string_view magic, const Layout& l) {
    out.text(magic, 16);
    out.u32(MapFileHeader::kSize);
    for (const SectionDescriptor& s : l.d) {
        out.u32(s.offset);
        out.u32(s.recordSize);
        out.u32(s.count);
    }
}

void appendFile(FileAppender& out, const std::string& path) {
    const std::optional<std::string> bytes = readWholeFile(path, kMaxMapFileBytes);
    if (!bytes) throw swCFileError(swCFileError::Open, path);
    out.u32(static_cast<uint32_t>(bytes->size()));
    out.bytes(*bytes);
}

// The user-defined weapons of the first user tables, with their pictures, unit data,
// descriptions and icons, for the game.
void appendUserBlock(FileAppender& out, const MapDocument& doc) {
    const GameDatabase& db = doc.gameDatabase;
    const std::vector<ArmamentRecord>& arms = db.userArmaments(0);
    out.u32(static_cast<uint32_t>(arms.size()));
    for (const ArmamentRecord& a : arms) {
        out.u32(ArmamentRecord::kSize);
        out.bytes(a.data(), ArmamentRecord::kSize);
    }
    const std::vector<WeaponRecord>& weapons = db.userWeapons(0);
    out.u32(static_cast<uint32_t>(weapons.size()));
    // Icon numbers of user pictures per field, each once, in order of first appearance.
    std::array<std::vector<int>, 6> icons;
    std::array<std::set<int>, 6> seen;
    for (const WeaponRecord& w : weapons) {
        out.u32(WeaponRecord::kSize);
        out.bytes(w.data(), WeaponRecord::kSize);
        char pictureName[24];
        std::snprintf(pictureName, sizeof pictureName, "t%05d.bmp", w.id());
        const std::string picture = dataPath(pictureName, DataKind::Unit);
        if (w.pictureNumber() >= 20000 && fileExists(picture)) {
            appendFile(out, picture);
        } else {
            out.u32(0);
        }
        out.u32(UnitRecord::kSize);
        out.bytes(db.unitData.record(w.id()).data(), UnitRecord::kSize);
        const std::string text =
            dataPath(descriptionFile(w.descriptionNumber(), UserForm::T), DataKind::Unit);
        const std::optional<std::string> description = readWholeFile(text, 1u << 20);
        out.u32(description ? static_cast<uint32_t>(description->size()) : 0);
        if (description) out.bytes(*description);
        const int numbers[6] = {w.typeIcon16(), w.typeIcon32(), w.typeIcon48(),
                                w.unitIcon16(), w.unitIcon32(), w.unitIcon48()};
        for (int f = 0; f < 6; ++f)
            if (numbers[f] >= 20000 && seen[f].insert(numbers[f]).second)
                icons[f].push_back(numbers[f]);
    }
    const char* const pattern[6] = {"twt%d_16.bmp", "twt%d_32.bmp", "twt%d_48.bmp",
                                    "tmi%d_16.bmp", "tmi%d_32.bmp", "tmi%d_48.bmp"};
    for (int f = 0; f < 6; ++f) {
        out.u32(static_cast<uint32_t>(icons[f].size()));
        for (int number : icons[f]) {
            char name[32];
            std::snprintf(name, sizeof name, pattern[f], number);
            out.u32(static_cast<uint32_t>(number));
            appendFile(out, dataPath(name, DataKind::Unit));
        }
    }
}

// --- reading ---------------------------------------------------------------------------------

// Copies the records of one section into a table of `capacity` records of `memorySize`
// bytes: the first min(count, capacity) records are zeroed and filled with at most
// `readSize` bytes each, as far as the file holds them.
size_t readRecords(std::string_view file, const SectionDescriptor& s, uint8_t* table,
                   size_t memorySize, size_t capacity, size_t readSize) {
    const size_t count = std::min<size_t>(s.count, capacity);
    std::memset(table, 0, count * memorySize);
    const size_t take = std::min<size_t>({s.recordSize, memorySize, readSize});
    ByteReader in(file);
    for (size_t i = 0; i < count; ++i) {
        in.seek(uint64_t{s.offset} + uint64_t{s.recordSize} * i);
        if (in.atEnd()) break;
        in.read(table + i * memorySize, take);  // what the file lacks stays zero
    }
    return count;
}

template <class T>
size_t readTable(std::string_view file, const SectionDescriptor& s, T* table, size_t capacity,
                 size_t readSize = sizeof(T)) {
    return readRecords(file, s, reinterpret_cast<uint8_t*>(table), sizeof(T), capacity, readSize);
}

void readProductionLists(MapDocument& doc, std::string_view file, const SectionDescriptor& s,
                         int version) {
    if (version >= 5) {
        readTable(file, s, doc.productionLists.data(), kFactionCount);
        return;
    }
    // Earlier files keep one list of all weapons per faction.
    const size_t count = std::min<size_t>(s.count, kFactionCount);
    ByteReader in(file);
    for (size_t i = 0; i < count; ++i) {
        doc.productionLists[i] = ProductionList();
        in.seek(uint64_t{s.offset} + uint64_t{s.recordSize} * i);
        if (in.atEnd()) continue;
        uint8_t old[ProductType::kOldSize] = {};
        const size_t n = in.read(old, std::min<size_t>(s.recordSize, sizeof old));
        doc.productionLists[i] = convertOldRecord(old, n, doc.gameDatabase);
    }
}

void readTroops(MapDocument& doc, std::string_view file, const SectionDescriptor& s, int faction,
                int version) {
    std::vector<TroopRecord>& table = doc.troops.records[faction];
    const size_t count = readTable(file, s, table.data(), table.size());
    for (size_t slot = 0; slot < count; ++slot) {
        TroopRecord& t = table[slot];
        if (version < 4) t.setFlags(t.flags() & ~0x0200);
        if (version < 6 && t.appearanceTurn() > 0) t.setDivision(static_cast<uint8_t>(slot / 66));
    }
}

std::optional<std::vector<uint8_t>> pictureOf(std::string_view file, const SectionDescriptor& s) {
    const size_t size = s.count == 0 ? 0 : s.recordSize;
    if (size == 0) return std::nullopt;
    ByteReader in(file);
    in.seek(s.offset);
    const std::span<const uint8_t> picture = in.view(size);
    if (picture.empty()) return std::nullopt;  // not wholly in the file
    return std::vector<uint8_t>(picture.begin(), picture.end());
}

// --- damage ----------------------------------------------------------------------------------

// The part of the map a section holds, as the user knows it (the per-faction sections
// 6..11 and 16..21 are named with their factions by the caller).
const char* sectionName(int section) {
    switch (section) {
        case kScenarioTextsSection: return "シナリオ設定";
        case kMapHeaderSection: return "マップ情報";
        case kFactionSection: return "陣営設定";
        case kRuleSection: return "ルール設定";
        case kCellSection: return "地形";
        case kLabelSection: return "地形ラベル";
        case kProductionListSection: return "生産リスト";
        case kEvacuationSection: return "避難目標";
        case kBriefingPictureSection: return "ブリーフィング画像";
        case kEndingPictureSection: return "エンディング画像";
        default: return "";
    }
}

// The parts of the map that are missing; the per-faction sections are named once with the
// numbers of the factions whose records are missing.
std::string missingPartsText(const std::vector<int>& sections) {
    std::string text;
    const auto add = [&text](const std::string& part) {
        text += (text.empty() ? "" : "、") + part;
    };
    const auto factions = [&sections](int first) {
        std::string list;
        for (int s : sections)
            if (s >= first && s < first + kFactionCount)
                list += (list.empty() ? "" : "・") + std::to_string(s - first + 1);
        return "（陣営" + list + "）";
    };
    bool troops = false, regiments = false;
    for (int s : sections) {
        if (s >= kFirstRegimentSection && s < kFirstRegimentSection + kFactionCount) {
            if (!regiments) add("連隊編成" + factions(kFirstRegimentSection));
            regiments = true;
        } else if (s >= kFirstTroopSection && s < kFirstTroopSection + kFactionCount) {
            if (!troops) add("部隊" + factions(kFirstTroopSection));
            troops = true;
        } else {
            add(sectionName(s));
        }
    }
    return text;
}

// The one message after a load about what is wrong with the file, if anything is.
void tellAboutFile(const std::string& path, const MapReadReport& r) {
    switch (r.outcome) {
        case MapReadReport::Unread: return;  // the file error has been reported
        case MapReadReport::NotAMap: {
            std::string text = path + "\nは、このプログラムのマップファイルではありません。";
            if (r.earlierEdition != legacy::kUnknown)
                text += "\n以前のシリーズのマップは「ケステルｼﾘｰｽﾞﾏｯﾌﾟを開く」で読み込めます。";
            showMessage("エラー", text);
            return;
        }
        case MapReadReport::BadSize:
            showMessage("エラー", path + "\nを読み込めませんでした。\n" + mapDamageText(r));
            return;
        case MapReadReport::Read:
            if (r.damaged())
                showMessage("注意", path + "\n" + mapDamageText(r) +
                                        "\n欠けている部分は空のまま読み込みました。");
            return;
    }
}

}  // namespace

int versionOfMagic(std::string_view magic) {
    if (magic == kMapMagic) return 7;
    if (magic.size() == 16 && magic.substr(0, 15) == "TALMASCENARI000" && magic[15] >= '1' &&
        magic[15] <= '6')
        return magic[15] - '0';
    return -1;
}

std::optional<MapFileHeader> parseMapFileHeader(std::string_view bytes, size_t headerKept) {
    if (bytes.size() < 20) return std::nullopt;
    MapFileHeader h;
    h.magic = std::string(bytes.substr(0, 16));
    h.headerSize = loadU32(bytes.data() + 16);
    // Descriptors are taken only as far as the kept part of the header goes.
    ByteReader header(bytes.substr(0, std::min<size_t>({h.headerSize, headerKept, bytes.size()})));
    header.seek(20);
    for (SectionDescriptor& s : h.sections) {
        if (header.remaining() < 12) break;
        s = {header.u32(), header.u32(), header.u32()};  // braces read left to right
    }
    return h;
}

std::vector<int> sectionsPastEnd(std::string_view bytes, int sectionCount) {
    std::vector<int> cut;
    if (bytes.size() < 20) {
        for (int i = 0; i < sectionCount; ++i) cut.push_back(i);
        return cut;
    }
    ByteReader in(bytes);
    in.seek(16);
    const uint64_t declared = in.u32();
    for (int i = 0; i < sectionCount; ++i) {
        const uint64_t at = 20 + 12 * uint64_t(i);
        if (at + 12 > declared) break;  // not in the header: no such section
        if (!in.contains(at, 12)) {
            cut.push_back(i);
            continue;
        }
        in.seek(at);
        const uint64_t offset = in.u32();
        const uint64_t recordSize = in.u32();
        const uint64_t size = recordSize * in.u32();
        if (size > 0 && !in.contains(offset, size)) cut.push_back(i);
    }
    return cut;
}

std::string mapDamageText(const MapReadReport& report) {
    std::string text;
    if (report.outcome == MapReadReport::BadSize)
        text = "マップの大きさ（" + std::to_string(report.width) + "×" +
               std::to_string(report.height) + "）が正しくありません。幅と高さは1～256です。";
    if (!report.truncated.empty())
        text += (text.empty() ? "" : "\n") + ("ファイルが途中で切れています。欠けているデータ：" +
                                              missingPartsText(report.truncated));
    return text;
}

std::string mapFileBytes(MapDocument& doc, MapFileKind kind) {
    const Layout l = layOut(doc, kind);
    std::string bytes;
    bytes.reserve(l.d[kFirstReservedSection - 1].offset +
                  kRegimentsPerFaction * RegimentRecord::kSize * kFactionCount + 1024);
    FileAppender out(bytes);
    putHeader(out, kMapMagic, l);
    if (l.d[kScenarioTextsSection].count) putRecords(out, &doc.scenarioTexts.bytes, 1);
    putRecords(out, &doc.mapHeader.bytes, 1);
    putRecords(out, doc.factions.data(), kFactionCount);
    putRecords(out, &doc.ruleSettings, 1);
    putRecords(out, doc.mapGrid.cells.data(), l.d[kCellSection].count);
    putRecords(out, doc.mapGrid.labels.data(), l.d[kLabelSection].count);
    for (int f = 0; f < kFactionCount; ++f)
        putRecords(out, doc.troops.records[f].data(), l.d[troopSection(f)].count);
    putRecords(out, doc.productionLists.data(), kFactionCount);
    putRecords(out, &doc.evacuationTargets, 1);
    const auto putPicture = [&](int section, const std::vector<uint8_t>& picture) {
        if (l.d[section].recordSize) putRecords(out, picture.data(), l.d[section].recordSize);
    };
    putPicture(kBriefingPictureSection, doc.scenarioTexts.briefingPicture);
    putPicture(kEndingPictureSection, doc.scenarioTexts.endingPicture);
    for (int f = 0; f < kFactionCount; ++f)
        putRecords(out, doc.regiments[f].data(), kRegimentsPerFaction);
    if (kind != MapFileKind::Intermediate) {
        const uint64_t start = out.size();
        appendUserBlock(out, doc);
        out.u32(static_cast<uint32_t>(start));
    }
    return bytes;
}

std::string intermediateFileBytes(MapDocument& doc) {
    struct RestoreMagic {
        MapDocument& doc;
        ~RestoreMagic() { doc.mapHeader.setMagic(kMapMagic); }
    } restore{doc};
    doc.mapHeader.setMagic(kIntermediateMagic);
    return mapFileBytes(doc, MapFileKind::Intermediate);
}

void writeMapFile(MapDocument& doc, const std::string& path, MapFileKind kind) {
    if (kind != MapFileKind::Intermediate) {
        doc.refreshProductionLists();
        writeFileAtomically(path, mapFileBytes(doc, kind));
    } else {
        writeFileAtomically(path, intermediateFileBytes(doc));
    }
    doc.filePath = path;
}

bool readMapFileBytes(MapDocument& doc, std::string_view file, MapReadReport* report) {
    MapReadReport ignored;
    MapReadReport& r = report ? *report : ignored;
    r = MapReadReport{};
    r.outcome = MapReadReport::NotAMap;
    const std::optional<MapFileHeader> h = parseMapFileHeader(file);
    const int version = h ? versionOfMagic(h->magic) : -1;
    if (version < 0) {
        const int kind = detectMapKindBytes(file).kind;
        if (kind != legacy::kCurrent) r.earlierEdition = kind;
        return false;
    }
    r.outcome = MapReadReport::Read;
    r.version = version;
    r.truncated = sectionsPastEnd(file, MapFileHeader::kReadSections);
    const auto& s = h->sections;

    readTable(file, s[kScenarioTextsSection], &doc.scenarioTexts.bytes, 1);
    // A file without a header record has no map size of its own.
    doc.mapHeader.clear();
    readTable(file, s[kMapHeaderSection], &doc.mapHeader.bytes, 1);
    if (static_cast<uint32_t>(doc.mapHeader.turnLimit()) >= 99) doc.mapHeader.setTurnLimit(99);
    const size_t factions = readTable(file, s[kFactionSection], doc.factions.data(), kFactionCount);
    if (version < 3)
        for (size_t f = 0; f < factions; ++f) doc.factions[f].setDefaultDivisionLimits();
    readTable(file, s[kRuleSection], &doc.ruleSettings, 1);
    doc.mapGrid.noteFilled(s[kCellSection].count);
    readTable(file, s[kCellSection], doc.mapGrid.cells.data(), doc.mapGrid.cells.size());
    readTable(file, s[kLabelSection], doc.mapGrid.labels.data(), doc.mapGrid.labels.size());
    for (int f = 0; f < kFactionCount; ++f) readTroops(doc, file, s[troopSection(f)], f, version);
    for (int f = 0; f < kFactionCount; ++f)
        readTable(file, s[regimentSection(f)], doc.regiments[f].data(), kRegimentsPerFaction);
    readProductionLists(doc, file, s[kProductionListSection], version);
    readTable(file, s[kEvacuationSection], &doc.evacuationTargets, 1);

    auto take = [&](int i, std::vector<uint8_t>& blob) {
        std::optional<std::vector<uint8_t>> p = pictureOf(file, s[i]);
        blob = p ? std::move(*p) : std::vector<uint8_t>();
    };
    take(kBriefingPictureSection, doc.scenarioTexts.briefingPicture);
    take(kEndingPictureSection, doc.scenarioTexts.endingPicture);

    // Cells are laid out in rows of the file's width: under any other width they would
    // land scrambled, so a size the grid cannot have refuses the file.
    r.width = doc.mapHeader.width();
    r.height = doc.mapHeader.height();
    const auto inRange = [](int side) { return side >= 1 && side <= MapGrid::kMaxSide; };
    if (!inRange(r.width) || !inRange(r.height)) {
        r.outcome = MapReadReport::BadSize;
        return false;
    }
    return true;
}

bool loadMapFile(MapDocument& doc, const std::string& path, MapReadReport* report) {
    MapReadReport r;
    const bool loaded = doc.load([&](MapDocument& d) { return readMapFile(d, path, &r); });
    // An intermediate file's header record carries the intermediate magic; in memory the
    // map is always a map of the current format.
    doc.mapHeader.setMagic(kMapMagic);
    tellAboutFile(path, r);
    if (report) *report = std::move(r);
    return loaded;
}

bool readMapFile(MapDocument& doc, const std::string& path, MapReadReport* report) {
    if (!fileExists(path)) throw swCFileError(swCFileError::Open, path);
    const std::optional<std::string> bytes = readWholeFile(path, kMaxMapFileBytes);
    if (!bytes) throw swCFileError(swCFileError::Read);
    return readMapFileBytes(doc, *bytes, report);
}

std::optional<std::vector<uint8_t>> readPictureSection(const std::string& path, int which) {
    if (which != kBriefingPictureSection && which != kEndingPictureSection) return std::nullopt;
    const std::optional<std::string> bytes = readWholeFile(path, kMaxMapFileBytes);
    if (!bytes) return std::nullopt;
    const std::optional<MapFileHeader> h = parseMapFileHeader(*bytes);
    if (!h || versionOfMagic(h->magic) < 0) return std::nullopt;
    return pictureOf(*bytes, h->sections[which]);
}

}  // namespace kv
