// Reading and writing the map container file.
#include "document/map_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

#include "document/import.h"
#include "document/map_document.h"
#include "document/records.h"
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

void putU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}


uint32_t getU32(std::string_view b, size_t at) {
    if (at + 4 > b.size()) return 0;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(b[at + i])) << (8 * i);
    return v;
}

template <class T>
void putRecords(std::string& out, const T* records, size_t count) {
    out.append(reinterpret_cast<const char*>(records), sizeof(T) * count);
}

// --- writing ---------------------------------------------------------------------------------

struct Layout {
    std::array<SectionDescriptor, MapFileHeader::kSections> d{};
};

Layout layOut(const MapDocument& doc, bool scenarioSections, bool pictures) {
    Layout l;
    auto size = [&](int i, uint32_t recordSize, uint32_t count) {
        l.d[i].recordSize = recordSize;
        l.d[i].count = count;
    };
    if (scenarioSections) size(0, ScenarioTexts::kSize, 1);
    size(1, MapHeader::kSize, 1);
    size(2, FactionRecord::kSize, kFactionCount);
    size(3, 52, 1);
    size(4, 22, static_cast<uint32_t>(doc.width() * doc.height()));
    size(5, 38, static_cast<uint32_t>(doc.labelCount()));
    for (int f = 0; f < kFactionCount; ++f)
        size(6 + f, TroopRecord::kSize, static_cast<uint32_t>(doc.troops.usedSlots(f)));
    size(12, ProductType::kSize, kFactionCount);
    size(13, EvacuationTargets::kSize, 1);
    size(14, pictures ? static_cast<uint32_t>(doc.scenarioTexts.briefingPicture.size()) : 0, 1);
    size(15, pictures ? static_cast<uint32_t>(doc.scenarioTexts.endingPicture.size()) : 0, 1);
    for (int f = 0; f < kFactionCount; ++f) size(16 + f, RegimentRecord::kSize, kRegimentsPerFaction);
    // Offsets follow one another from the end of the header; a section of no bytes (and the
    // absent section 0) sits where the next one begins, section 0 at offset 0.
    uint64_t at = MapFileHeader::kSize;
    for (int i = 1; i <= 21; ++i) {
        l.d[i].offset = static_cast<uint32_t>(at);
        at += uint64_t{l.d[i].recordSize} * l.d[i].count;
    }
    if (scenarioSections) {
        l.d[0].offset = MapFileHeader::kSize;
        for (int i = 1; i <= 21; ++i) l.d[i].offset += ScenarioTexts::kSize;
    }
    return l;
}

std::string headerBytes(std::string_view magic, const Layout& l) {
    std::string out(magic.substr(0, 16));
    out.resize(16, '\0');
    putU32(out, MapFileHeader::kSize);
    for (const SectionDescriptor& s : l.d) {
        putU32(out, s.offset);
        putU32(out, s.recordSize);
        putU32(out, s.count);
    }
    return out;
}

void appendFile(std::string& out, const std::string& path) {
    const std::optional<std::string> bytes = readWholeFile(path, kMaxMapFileBytes);
    if (!bytes) throw swCFileError(swCFileError::Open, path);
    putU32(out, static_cast<uint32_t>(bytes->size()));
    out += *bytes;
}

// The user-defined weapons of the first user tables, with their pictures, unit data,
// descriptions and icons, for the game.
void appendUserBlock(std::string& out, const MapDocument& doc) {
    const GameDatabase& db = doc.gameDatabase;
    const std::vector<ArmamentRecord>& arms = db.userArmaments(0);
    putU32(out, static_cast<uint32_t>(arms.size()));
    for (const ArmamentRecord& a : arms) {
        putU32(out, ArmamentRecord::kSize);
        out.append(reinterpret_cast<const char*>(a.data()), ArmamentRecord::kSize);
    }
    const std::vector<WeaponRecord>& weapons = db.userWeapons(0);
    putU32(out, static_cast<uint32_t>(weapons.size()));
    // Icon numbers of user pictures per field, each once, in order of first appearance.
    std::array<std::vector<int>, 6> icons;
    std::array<std::set<int>, 6> seen;
    for (const WeaponRecord& w : weapons) {
        putU32(out, WeaponRecord::kSize);
        out.append(reinterpret_cast<const char*>(w.data()), WeaponRecord::kSize);
        char pictureName[24];
        std::snprintf(pictureName, sizeof pictureName, "t%05d.bmp", w.id());
        const std::string picture = dataPath(pictureName, DataKind::Unit);
        if (w.pictureNumber() >= 20000 && fileExists(picture)) {
            appendFile(out, picture);
        } else {
            putU32(out, 0);
        }
        putU32(out, UnitRecord::kSize);
        out.append(reinterpret_cast<const char*>(db.unitData.record(w.id()).data()),
                   UnitRecord::kSize);
        const std::string text = dataPath(descriptionFile(w.descriptionNumber(), UserForm::T),
                                          DataKind::Unit);
        const std::optional<std::string> description = readWholeFile(text, 1u << 20);
        putU32(out, description ? static_cast<uint32_t>(description->size()) : 0);
        if (description) out += *description;
        const int numbers[6] = {w.typeIcon16(), w.typeIcon32(), w.typeIcon48(),
                                w.unitIcon16(), w.unitIcon32(), w.unitIcon48()};
        for (int f = 0; f < 6; ++f)
            if (numbers[f] >= 20000 && seen[f].insert(numbers[f]).second)
                icons[f].push_back(numbers[f]);
    }
    const char* const pattern[6] = {"twt%d_16.bmp", "twt%d_32.bmp", "twt%d_48.bmp",
                                    "tmi%d_16.bmp", "tmi%d_32.bmp", "tmi%d_48.bmp"};
    for (int f = 0; f < 6; ++f) {
        putU32(out, static_cast<uint32_t>(icons[f].size()));
        for (int number : icons[f]) {
            char name[32];
            std::snprintf(name, sizeof name, pattern[f], number);
            putU32(out, static_cast<uint32_t>(number));
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
    for (size_t i = 0; i < count; ++i) {
        const uint64_t at = uint64_t{s.offset} + uint64_t{s.recordSize} * i;
        if (at >= file.size()) break;
        const size_t n = static_cast<size_t>(std::min<uint64_t>(take, file.size() - at));
        std::memcpy(table + i * memorySize, file.data() + at, n);
    }
    return count;
}

template <class T>
size_t readTable(std::string_view file, const SectionDescriptor& s, T* table, size_t capacity,
                 size_t readSize = sizeof(T)) {
    return readRecords(file, s, reinterpret_cast<uint8_t*>(table), sizeof(T), capacity, readSize);
}

void setDefaultDivisionLimits(FactionRecord& f) {
    static const uint8_t kLimits[8] = {6, 6, 6, 30, 30, 30, 3, 6};
    std::memcpy(f.data() + 332, kLimits, sizeof kLimits);
}

void readProductionLists(MapDocument& doc, std::string_view file, const SectionDescriptor& s,
                         int version) {
    if (version >= 5) {
        readTable(file, s, doc.productionLists.data(), kFactionCount);
        return;
    }
    // Earlier files keep one list of all weapons per faction.
    const size_t count = std::min<size_t>(s.count, kFactionCount);
    for (size_t i = 0; i < count; ++i) {
        doc.productionLists[i] = ProductionList();
        const uint64_t at = uint64_t{s.offset} + uint64_t{s.recordSize} * i;
        if (at >= file.size()) continue;
        const size_t n = static_cast<size_t>(std::min<uint64_t>(
            std::min<uint64_t>(s.recordSize, ProductType::kOldSize), file.size() - at));
        doc.productionLists[i] = convertOldRecord(
            reinterpret_cast<const uint8_t*>(file.data() + at), n, doc.gameDatabase);
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
    const uint64_t size = uint64_t{s.recordSize} * std::min<uint32_t>(s.count, 1);
    if (size == 0 || s.offset > file.size() || size > file.size() - s.offset) return std::nullopt;
    const auto* p = reinterpret_cast<const uint8_t*>(file.data() + s.offset);
    return std::vector<uint8_t>(p, p + size);
}

// --- damage ----------------------------------------------------------------------------------

constexpr int kFirstTroopSection = 6, kFirstRegimentSection = 16;

// The part of the map a section holds, as the user knows it (the per-faction sections
// 6..11 and 16..21 are named with their factions by the caller).
const char* sectionName(int section) {
    switch (section) {
        case 0: return "シナリオ設定";
        case 1: return "マップ情報";
        case 2: return "陣営設定";
        case 3: return "ルール設定";
        case 4: return "地形";
        case 5: return "地形ラベル";
        case 12: return "生産リスト";
        case 13: return "避難目標";
        case 14: return "ブリーフィング画像";
        case 15: return "エンディング画像";
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

std::optional<MapFileHeader> parseMapFileHeader(std::string_view bytes) {
    if (bytes.size() < 20) return std::nullopt;
    MapFileHeader h;
    h.magic = std::string(bytes.substr(0, 16));
    h.headerSize = getU32(bytes, 16);
    // At most 536 bytes of the header are kept, and no more than the file holds.
    const size_t kept = std::min<size_t>({h.headerSize, MapFileHeader::kSize, bytes.size()});
    for (int i = 0; i < MapFileHeader::kSections; ++i) {
        const size_t at = 20 + 12 * static_cast<size_t>(i);
        if (at + 12 > kept) break;
        h.sections[i] = {getU32(bytes, at), getU32(bytes, at + 4), getU32(bytes, at + 8)};
    }
    return h;
}

std::vector<int> sectionsPastEnd(std::string_view bytes, int sectionCount) {
    std::vector<int> cut;
    if (bytes.size() < 20) {
        for (int i = 0; i < sectionCount; ++i) cut.push_back(i);
        return cut;
    }
    const uint64_t declared = getU32(bytes, 16);
    for (int i = 0; i < sectionCount; ++i) {
        const uint64_t at = 20 + 12 * uint64_t(i);
        if (at + 12 > declared) break;  // not in the header: no such section
        if (at + 12 > bytes.size()) {
            cut.push_back(i);
            continue;
        }
        const uint64_t offset = getU32(bytes, at);
        const uint64_t size = uint64_t{getU32(bytes, at + 4)} * getU32(bytes, at + 8);
        if (size > 0 && offset + size > bytes.size()) cut.push_back(i);
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

std::string mapFileBytes(MapDocument& doc, bool scenarioSections, bool pictures,
                         bool trailingBlock) {
    const Layout l = layOut(doc, scenarioSections, pictures);
    std::string out = headerBytes(kMapMagic, l);
    out.reserve(l.d[21].offset + 18 * RegimentRecord::kSize * kFactionCount + 1024);
    if (scenarioSections) putRecords(out, &doc.scenarioTexts.bytes, 1);
    putRecords(out, &doc.mapHeader.bytes, 1);
    putRecords(out, doc.factions.data(), kFactionCount);
    putRecords(out, &doc.ruleSettings, 1);
    putRecords(out, doc.mapGrid.cells.data(), l.d[4].count);
    putRecords(out, doc.mapGrid.labels.data(), l.d[5].count);
    for (int f = 0; f < kFactionCount; ++f)
        putRecords(out, doc.troops.records[f].data(), l.d[6 + f].count);
    putRecords(out, doc.productionLists.data(), kFactionCount);
    putRecords(out, &doc.evacuationTargets, 1);
    if (l.d[14].recordSize) putRecords(out, doc.scenarioTexts.briefingPicture.data(), l.d[14].recordSize);
    if (l.d[15].recordSize) putRecords(out, doc.scenarioTexts.endingPicture.data(), l.d[15].recordSize);
    for (int f = 0; f < kFactionCount; ++f)
        putRecords(out, doc.regiments[f].data(), kRegimentsPerFaction);
    if (trailingBlock) {
        const size_t start = out.size();
        appendUserBlock(out, doc);
        putU32(out, static_cast<uint32_t>(start));
    }
    return out;
}

void writeMapFile(MapDocument& doc, const std::string& path, bool asScenario) {
    doc.refreshProductionLists();
    writeFileAtomically(path, mapFileBytes(doc, asScenario, asScenario, true));
    doc.filePath = path;
}

void writeIntermediateFile(MapDocument& doc, const std::string& path) {
    struct RestoreMagic {
        MapDocument& doc;
        ~RestoreMagic() { doc.mapHeader.setMagic(kMapMagic); }
    } restore{doc};
    doc.mapHeader.setMagic(kIntermediateMagic);
    writeFileAtomically(path, mapFileBytes(doc, true, true, false));
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

    readTable(file, s[0], &doc.scenarioTexts.bytes, 1);
    // A file without a header record has no map size of its own.
    doc.mapHeader.clear();
    readTable(file, s[1], &doc.mapHeader.bytes, 1);
    if (static_cast<uint32_t>(doc.mapHeader.turnLimit()) >= 99) doc.mapHeader.setTurnLimit(99);
    const size_t factions = readTable(file, s[2], doc.factions.data(), kFactionCount);
    if (version < 3)
        for (size_t f = 0; f < factions; ++f) setDefaultDivisionLimits(doc.factions[f]);
    readTable(file, s[3], &doc.ruleSettings, 1);
    readTable(file, s[4], doc.mapGrid.cells.data(), doc.mapGrid.cells.size());
    readTable(file, s[5], doc.mapGrid.labels.data(), doc.mapGrid.labels.size());
    for (int f = 0; f < kFactionCount; ++f) readTroops(doc, file, s[6 + f], f, version);
    for (int f = 0; f < kFactionCount; ++f)
        readTable(file, s[16 + f], doc.regiments[f].data(), kRegimentsPerFaction);
    readProductionLists(doc, file, s[12], version);
    readTable(file, s[13], &doc.evacuationTargets, 1);

    auto take = [&](int i, std::vector<uint8_t>& blob) {
        std::optional<std::vector<uint8_t>> p = pictureOf(file, s[i]);
        blob = p ? std::move(*p) : std::vector<uint8_t>();
    };
    take(14, doc.scenarioTexts.briefingPicture);
    take(15, doc.scenarioTexts.endingPicture);

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
    if (which != 14 && which != 15) return std::nullopt;
    const std::optional<std::string> bytes = readWholeFile(path, kMaxMapFileBytes);
    if (!bytes) return std::nullopt;
    const std::optional<MapFileHeader> h = parseMapFileHeader(*bytes);
    if (!h || versionOfMagic(h->magic) < 0) return std::nullopt;
    return pictureOf(*bytes, h->sections[which]);
}

}  // namespace kv
