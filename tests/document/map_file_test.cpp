// The map container file: layout of what is written, every kind round-tripped, upgrades of
// earlier versions, safe saving, and hostile headers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <numeric>

#include "document/batch_conversion.h"
#include "document/bulk_edits.h"
#include "document/import.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "document/records.h"
#include "framework/byte_cursor.h"
#include "framework/cp932.h"
#include "framework/errors.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/test_paths.h"

namespace kv {
namespace {

uint32_t u32(const std::string& b, size_t at) {
    return loadU32(b.data() + at);
}

SectionDescriptor section(const std::string& file, int i) {
    return {u32(file, 20 + 12 * i), u32(file, 24 + 12 * i), u32(file, 28 + 12 * i)};
}

// Builds a map file of any version from raw sections laid out back to back.
struct FileBuilder {
    std::string magic = "KVORNSCENARI0007";
    uint32_t headerSize = 536;
    std::array<std::pair<uint32_t, std::string>, 43> sections{};  // record size, bytes
    std::array<uint32_t, 43> counts{};

    void set(int i, uint32_t recordSize, uint32_t count, std::string bytes) {
        sections[i] = {recordSize, std::move(bytes)};
        counts[i] = count;
    }
    std::string build() const {
        std::string file;
        ByteAppender out(file);
        out.text(magic, 16);
        out.u32(headerSize);
        uint32_t offset = 536;
        for (int i = 0; i < 43; ++i) {
            out.u32(sections[i].second.empty() && counts[i] == 0 ? 0u : offset);
            out.u32(sections[i].first);
            out.u32(counts[i]);
            offset += static_cast<uint32_t>(sections[i].second.size());
        }
        for (const auto& section : sections) out.bytes(section.second);
        return file;
    }
};

// A map header record (588 bytes) of the given size.
std::string headerRecord(uint16_t width, uint16_t height) {
    std::string h(588, '\0');
    storeU16(&h[582], width);
    storeU16(&h[584], height);
    return h;
}

// A troop record (312 bytes) placed at the start: appearance turn 1, a name, weapon id,
// hex and flags.
std::string troopRecord(int weaponId, int col, int row, uint16_t flags) {
    std::string t(312, '\0');
    t[0] = 1;
    t[4] = 'T';
    storeU16(&t[38], static_cast<uint16_t>(weaponId));
    t[40] = static_cast<char>(col);
    t[41] = static_cast<char>(row);
    storeU16(&t[50], flags);
    return t;
}

// An 8 × 8 map with a troop of faction 0 and the six factions' regiment records.
FileBuilder smallMapFile(int weaponId) {
    FileBuilder b;
    b.set(1, 588, 1, headerRecord(8, 8));
    b.set(2, 356, 6, std::string(356 * 6, '\0'));
    b.set(4, 22, 64, std::string(22 * 64, '\x01'));
    b.set(3, 52, 1, std::string(52, '\0'));
    b.set(6, 312, 1, troopRecord(weaponId, 2, 2, 0));
    b.set(13, 10, 1, std::string(10, '\0'));
    for (int f = 0; f < 6; ++f) b.set(16 + f, 198, 18, std::string(198 * 18, 'R'));
    return b;
}

class MapFile : public testing::Test {
protected:
    void SetUp() override {
        kvtest::copySampleData(dir.path());
        setProgramPath(dir.file("kvornme"));
        doc = std::make_unique<MapDocument>();
        doc->loadResources();
        doc->resetToNewMap();
    }
    void TearDown() override {
        doc.reset();
        setProgramPath("");
    }
    void placeTroop(int faction, int slot, int weaponId, int col, int row) {
        TroopRecord* t = doc->troopAt(faction, slot);
        t->setAppearanceTurn(1);
        t->setWeaponId(static_cast<uint16_t>(weaponId));
        t->setPosition(col, row);
        t->setName(*encodeCp932("第1小隊"));
        doc->troops.raiseCount(faction, slot);
    }
    int anyWeapon() const { return doc->gameDatabase.weapons().front().id(); }

    kvtest::TempDir dir;
    std::unique_ptr<MapDocument> doc;
    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(MapFile, ANewMapSavedAsANormalMap) {
    const std::string path = dir.file("new.kvn");
    writeMapFile(*doc, path, MapFileKind::Normal);
    EXPECT_EQ(doc->filePath, path);
    const std::string f = kvtest::readFile(path);
    EXPECT_EQ(f.substr(0, 16), "KVORNSCENARI0007");
    EXPECT_EQ(u32(f, 16), 536u);
    EXPECT_EQ(section(f, 0), SectionDescriptor{});
    EXPECT_EQ(section(f, 1), (SectionDescriptor{536, 588, 1}));
    EXPECT_EQ(section(f, 2), (SectionDescriptor{536 + 588, 356, 6}));
    EXPECT_EQ(section(f, 4).count, 4096u);
    EXPECT_EQ(section(f, 4).recordSize, 22u);
    // No labels: section 5 is empty and sits where section 6 starts.
    EXPECT_EQ(section(f, 5).count, 0u);
    EXPECT_EQ(section(f, 5).offset, section(f, 6).offset);
    const SectionDescriptor s13 = section(f, 13);
    for (int i : {14, 15})
        EXPECT_EQ(section(f, i), (SectionDescriptor{s13.offset + 10, 0, 1})) << i;
    EXPECT_EQ(section(f, 16), (SectionDescriptor{s13.offset + 10, 198, 18}));
    for (int i = 22; i < 43; ++i) EXPECT_EQ(section(f, i), SectionDescriptor{});
    // The trailing block: its start is the end of section 21, found through the last word.
    const SectionDescriptor s21 = section(f, 21);
    const uint32_t block = u32(f, f.size() - 4);
    EXPECT_EQ(block, s21.offset + 198 * 18);
    EXPECT_EQ(u32(f, block), 0u);      // no user armaments
    EXPECT_EQ(u32(f, block + 4), 0u);  // no user weapons
    EXPECT_EQ(f.size(), block + 8 + 6 * 4 + 4);
    // The cells hold terrain 30.
    EXPECT_EQ(static_cast<uint8_t>(f[section(f, 4).offset]), 30);
}

TEST_F(MapFile, TroopSectionsHoldSlotsUpToTheLastInUse) {
    placeTroop(2, 0, anyWeapon(), 3, 4);
    placeTroop(2, 7, anyWeapon(), 5, 6);
    const std::string path = dir.file("troops.kvs");
    writeMapFile(*doc, path, MapFileKind::Scenario);
    const std::string f = kvtest::readFile(path);
    EXPECT_EQ(section(f, 8).count, 8u);
    EXPECT_EQ(section(f, 6).count, 0u);
    EXPECT_EQ(section(f, 0), (SectionDescriptor{536, 16063, 1}));
    const SectionDescriptor s8 = section(f, 8);
    for (int slot = 1; slot < 7; ++slot)
        EXPECT_EQ(u32(f, s8.offset + 312 * slot), 0u) << slot;  // empty: appearance turn 0
}

TEST_F(MapFile, EveryKindRoundTripsItsRecords) {
    doc->mapHeader.setMapName(*encodeCp932("往復試験"));
    doc->mapHeader.setTurnLimit(42);
    doc->mapGrid.cells[5].terrain = 1;
    doc->mapGrid.cells[5].roadLinks = 0x09;
    doc->setLabel(2, 3, *encodeCp932("北の橋"), 0, 0);
    placeTroop(0, 3, anyWeapon(), 1, 1);
    doc->scenarioTexts.bytes[100] = 'x';
    doc->scenarioTexts.bytes[ScenarioTexts::kOrderModeAt] = 2;
    doc->scenarioTexts.briefingPicture = {1, 2, 3, 4, 5};
    doc->scenarioTexts.endingPicture = {9, 8, 7};
    doc->ruleSettings.values[4] = 1;
    doc->regiments[3][5].bytes[7] = 0x5A;
    doc->evacuationTargets.bytes[1] = 12;
    doc->factions[4].bytes[200] = 0x77;

    struct Kind {
        const char* file;
        MapFileKind how;
    };
    for (Kind k : {Kind{"a.kvn", MapFileKind::Normal}, Kind{"a.kvs", MapFileKind::Scenario},
                   Kind{"a.kvt", MapFileKind::Intermediate}}) {
        const std::string path = dir.file(k.file);
        writeMapFile(*doc, path, k.how);
        MapDocument back;
        back.loadResources();
        back.resetToNewMap();
        ASSERT_TRUE(readMapFile(back, path)) << k.file;
        EXPECT_EQ(back.mapHeader.mapName(), doc->mapHeader.mapName());
        EXPECT_EQ(back.mapHeader.turnLimit(), 42);
        EXPECT_EQ(back.mapGrid.cells[5].roadLinks, 0x09);
        EXPECT_EQ(back.mapGrid.labels[0], doc->mapGrid.labels[0]);
        EXPECT_EQ(back.troops.records[0][3], doc->troops.records[0][3]);
        EXPECT_EQ(back.regiments[3][5], doc->regiments[3][5]);
        EXPECT_EQ(back.evacuationTargets, doc->evacuationTargets);
        EXPECT_EQ(back.factions[4], doc->factions[4]);
        EXPECT_EQ(back.productionLists, doc->productionLists);
        EXPECT_EQ(back.ruleSettings.values, doc->ruleSettings.values);
        const bool scenario = k.how != MapFileKind::Normal;
        EXPECT_EQ(back.scenarioTexts.bytes == doc->scenarioTexts.bytes, scenario) << k.file;
        EXPECT_EQ(back.scenarioTexts.briefingPicture.size(), scenario ? 5u : 0u);
        EXPECT_EQ(back.scenarioTexts.endingPicture,
                  scenario ? doc->scenarioTexts.endingPicture : std::vector<uint8_t>{});
        // The intermediate magic lives only in the file; memory keeps the current one.
        EXPECT_EQ(back.mapHeader.magic(),
                  k.how == MapFileKind::Intermediate ? "SULKAMPTMP000000" : "KVORNSCENARI0007");
        EXPECT_EQ(doc->mapHeader.magic(), "KVORNSCENARI0007");
        auto picture = readPictureSection(path, 15);
        EXPECT_EQ(picture.has_value(), scenario);
    }
    // The document's load puts the current magic back.
    ASSERT_TRUE(loadMapFile(*doc, dir.file("a.kvt")));
    EXPECT_EQ(doc->mapHeader.magic(), "KVORNSCENARI0007");
    EXPECT_EQ(doc->filePath, "");  // the open command sets the path, not the load
}

TEST_F(MapFile, TurnLimitsAboveNinetyNineReadAsNinetyNine) {
    for (uint32_t limit : {150u, 99u, 0xFFFFFFFFu}) {
        doc->mapHeader.setTurnLimit(static_cast<int>(limit));
        writeMapFile(*doc, dir.file("t.kvn"), MapFileKind::Normal);
        MapDocument back;
        ASSERT_TRUE(readMapFile(back, dir.file("t.kvn")));
        EXPECT_EQ(back.mapHeader.turnLimit(), 99) << limit;
    }
}

std::string oldList(const char* name, std::initializer_list<int> ids) {
    std::string r(2534, '\0');
    std::memcpy(r.data(), name, std::strlen(name));
    for (int id : ids) r[34 + id / 8] |= static_cast<char>(1 << (id % 8));
    return r;
}

TEST_F(MapFile, EarlierVersionsAreUpgraded) {
    const int weapon = anyWeapon();
    FactionRecord faction;
    faction.bytes[0] = 'R';
    for (int i = 332; i < 340; ++i) faction.bytes[i] = 1;
    TroopRecord troop;
    troop.setAppearanceTurn(3);
    troop.setWeaponId(static_cast<uint16_t>(weapon));
    troop.setFlags(0x0201);
    std::string troops(312 * 140, '\0');
    std::memcpy(troops.data() + 312 * 139, troop.data(), 312);

    auto build = [&](int version, bool oldLists) {
        FileBuilder b;
        b.magic = version == 7 ? "KVORNSCENARI0007" : "TALMASCENARI000" + std::to_string(version);
        std::string header(588, '\0');
        header[582] = 8;
        header[584] = 8;
        b.set(1, 588, 1, header);
        std::string factions;
        for (int i = 0; i < 6; ++i)
            factions.append(reinterpret_cast<const char*>(faction.data()), 356);
        b.set(2, 356, 6, factions);
        b.set(4, 22, 64, std::string(22 * 64, '\0'));
        b.set(7, 312, 140, troops);
        std::string lists;
        for (int i = 0; i < 6; ++i)
            lists += oldLists ? oldList("OLD", {weapon}) : std::string(7534, '\0');
        b.set(12, oldLists ? 2534 : 7534, 6, lists);
        return b.build();
    };

    for (int version = 1; version <= 7; ++version) {
        kvtest::writeFile(dir.file("v.kvn"), build(version, version <= 4));
        MapDocument back;
        back.loadResources();
        ASSERT_TRUE(readMapFile(back, dir.file("v.kvn"))) << version;
        const uint8_t* limits = back.factions[2].data() + 332;
        if (version < 3) {
            EXPECT_EQ(std::vector<uint8_t>(limits, limits + 8),
                      (std::vector<uint8_t>{6, 6, 6, 30, 30, 30, 3, 6}));
        } else {
            EXPECT_EQ(limits[0], 1);
        }
        const TroopRecord& t = back.troops.records[1][139];
        EXPECT_EQ(t.flags(), version < 4 ? 0x0001 : 0x0201) << version;
        EXPECT_EQ(t.division(), version < 6 ? 2 : 0) << version;  // slot 139 / 66
        const ProductionList& list = back.productionLists[3];
        if (version <= 4) {
            EXPECT_EQ(list.name(), "OLD");
            EXPECT_TRUE(list.inAnyList(weapon)) << version;
        } else {
            EXPECT_FALSE(list.inAnyList(weapon));
        }
    }
}

TEST_F(MapFile, AFailedSaveLeavesThePreviousFileByteIdentical) {
    const std::string path = dir.file("keep.kvs");
    writeMapFile(*doc, path, MapFileKind::Scenario);
    const std::string before = kvtest::readFile(path);

    // A user weapon naming an icon file that is missing fails the save.
    WeaponRecord user;
    user.setId(5001);
    user.setName(*encodeCp932("試作戦車"));
    user.setTypeIcon32(20001);
    ASSERT_TRUE(doc->gameDatabase.storeUserWeapon(user));
    doc->mapHeader.setMapName("changed");
    EXPECT_THROW(writeMapFile(*doc, path, MapFileKind::Scenario), swCFileError);
    EXPECT_EQ(kvtest::readFile(path), before);
    // So does a folder that is not there; nothing is left behind in either case.
    EXPECT_THROW(writeMapFile(*doc, dir.file("no/such/x.kvt"), MapFileKind::Intermediate),
                 swCFileError);
    EXPECT_EQ(doc->mapHeader.magic(), "KVORNSCENARI0007");
    size_t files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path()))
        files += e.path().extension() == ".kvs";
    EXPECT_EQ(files, 1u);

    // With the icon present the block carries it.
    std::filesystem::create_directories(dir.file("unit"));
    kvtest::writeFile(dir.file("unit/twt20001_32.bmp"), "ICON");
    writeMapFile(*doc, path, MapFileKind::Scenario);
    const std::string f = kvtest::readFile(path);
    const uint32_t block = u32(f, f.size() - 4);
    EXPECT_EQ(u32(f, block + 4), 1u);  // one user weapon
    EXPECT_NE(f.find("ICON", block), std::string::npos);
}

TEST_F(MapFile, UnknownMagicsReadNothing) {
    std::string f = FileBuilder().build();
    f.replace(0, 16, "GLOSSAMESCENARI0");
    kvtest::writeFile(dir.file("x.kvn"), f);
    doc->mapHeader.setMapName("keep");
    EXPECT_FALSE(readMapFile(*doc, dir.file("x.kvn")));
    EXPECT_EQ(doc->mapHeader.mapName(), "keep");
    kvtest::writeFile(dir.file("short.kvn"), "KVORNSCENARI00");
    EXPECT_FALSE(readMapFile(*doc, dir.file("short.kvn")));
    EXPECT_FALSE(readPictureSection(dir.file("x.kvn"), 14));
    EXPECT_THROW(readMapFile(*doc, dir.file("missing.kvn")), swCFileError);
    EXPECT_EQ(versionOfMagic("TALMASCENARI0003"), 3);
    EXPECT_EQ(versionOfMagic("TALMASCENARI0007"), -1);
    EXPECT_EQ(versionOfMagic("KVORNSCENARI0007"), 7);
    EXPECT_EQ(versionOfMagic("SULKAMPTMP000000"), -1);
}

TEST_F(MapFile, HostileHeadersStayInsideTheTables) {
    FileBuilder b;
    b.headerSize = 100000;  // only 536 bytes of it count
    std::string header(588, '\x01');
    storeU16(&header[582], 16);
    storeU16(&header[584], 16);
    b.set(1, 588, 1, header);
    b.set(2, 100000, 1000, std::string(3000, '\x02'));  // huge records and counts, short data
    b.set(4, 22, 0xFFFFFFFF, std::string(500, '\x03'));
    b.set(5, 38, 5000, std::string(38 * 3, 'L'));
    b.set(6, 9999, 100000, std::string(100, '\x04'));
    b.set(12, 0xFFFFFFFF, 0xFFFFFFFF, "x");
    b.set(13, 0xFFFF, 0xFFFF, "ev");
    b.set(16, 198, 1000, "rr");
    std::string f = b.build();
    // Point section 14 far past the end and section 15 at a size past it.
    for (int k = 0; k < 4; ++k) {
        f[20 + 12 * 14 + k] = '\x7F';
        f[24 + 12 * 15 + k] = '\x7F';
    }
    f[28 + 12 * 14] = 1;
    f[28 + 12 * 15] = 1;
    kvtest::writeFile(dir.file("h.kvs"), f);
    ASSERT_TRUE(readMapFile(*doc, dir.file("h.kvs")));
    EXPECT_TRUE(doc->scenarioTexts.briefingPicture.empty());
    EXPECT_FALSE(readPictureSection(dir.file("h.kvs"), 15));
    // The document's load turns it into a usable map.
    EXPECT_NO_THROW(loadMapFile(*doc, dir.file("h.kvs")));
    EXPECT_GE(doc->width(), 1);
    EXPECT_LE(doc->width() * doc->height(), 65536);

    // Offsets whose sum with a size passes 2^32 are past the end, not wrapped to the start.
    std::string wrapped = smallMapFile(anyWeapon()).build();
    for (int i : {1, 6, 16})
        for (int k = 0; k < 4; ++k) wrapped[20 + 12 * size_t(i) + size_t(k)] = k ? '\xFF' : '\xF0';
    MapReadReport report;
    EXPECT_FALSE(readMapFileBytes(*doc, wrapped, &report));  // no header record: no size
    EXPECT_EQ(report.outcome, MapReadReport::BadSize);
    EXPECT_EQ(report.truncated, (std::vector<int>{1, 6, 16}));
}

// Clearing the grid writes only the hexes a map can have used; whatever way a map put
// something past the next map's area, a new map, an import and a size change find nothing.
TEST_F(MapFile, NothingOfAMapStaysPastTheAreaOfTheNext) {
    auto expectEmptyFrom = [&](size_t first, const char* after) {
        const MapGrid& g = doc->mapGrid;
        size_t stale = 0;
        for (size_t i = first; i < size_t(MapGrid::kMaxHexes); ++i)
            stale += !(g.cells[i] == HexCell{}) || !(g.overlays[i] == HexOverlay{}) ||
                     g.hexMarks[i] != 0 || !(g.troopIndex[i] == TroopIndexRecord{});
        EXPECT_EQ(stale, 0u) << after;
    };
    // An 8 × 8 map whose cell section holds 5000 records: the reader takes them all.
    FileBuilder b = smallMapFile(anyWeapon());
    b.set(4, 22, 5000, std::string(22 * 5000, '\x01'));
    MapReadReport report;
    readMapFileBytes(*doc, b.build(), &report);
    ASSERT_EQ(doc->mapGrid.cells[4999].terrain, 1);
    doc->resetToNewMap();
    expectEmptyFrom(64 * 64, "a new map after a file with cells past its area");

    // Edits at the far corner of a 256 × 256 map, then a smaller size and an import.
    changeMapSize(*doc, 256, 256, 0);
    doc->mapGrid.cells[65535].terrain = 3;
    doc->mapGrid.overlays[65535].labelNumber = 7;
    doc->mapGrid.hexMarks[65534] = 1;
    doc->mapGrid.troopIndex[65533].table[0] = 2;
    changeMapSize(*doc, 10, 10, 0);
    expectEmptyFrom(10 * 10, "a smaller size");
    changeMapSize(*doc, 256, 256, 0);
    doc->mapGrid.cells[65535].terrain = 3;
    clearForImport(*doc);
    expectEmptyFrom(1, "clearing for an import");
    doc->resetToNewMap();
    expectEmptyFrom(64 * 64, "a new map");
}

TEST_F(MapFile, AGatheredRegimentKeepsEveryMemberThroughLoadSaveAndConversion) {
    // Faction 0, regiment 0 of division 0 (slots 0..5), gathered on (3, 3) around its
    // commander in slot 2. Slot 4 stands on the same place without being gathered, and slot
    // 40 (attached directly to the division) is gathered but in no regiment: both lose it.
    constexpr uint16_t kGathered = 0x0010;
    const int weapon = anyWeapon();
    std::string troops;
    for (int slot = 0; slot <= 40; ++slot) {
        const bool member = slot <= 3 || slot == 40;
        troops += member || slot == 4 ? troopRecord(weapon, 3, 3, member ? kGathered : 0)
                                      : std::string(312, '\0');
    }
    FileBuilder b = smallMapFile(weapon);
    b.set(6, 312, 41, troops);
    std::string regiments(198 * 18, '\0');
    regiments[0] = 1;             // formed
    storeU16(&regiments[42], 2);  // commander slot
    b.set(16, 198, 18, regiments);
    kvtest::writeFile(dir.file("g.kvn"), b.build());

    ASSERT_TRUE(loadMapFile(*doc, dir.file("g.kvn")));
    EXPECT_TRUE(prompts.seen.empty());
    for (int slot = 0; slot <= 3; ++slot) EXPECT_TRUE(doc->troopAt(0, slot)->inUse()) << slot;
    EXPECT_FALSE(doc->troopAt(0, 4)->inUse());
    EXPECT_FALSE(doc->troopAt(0, 40)->inUse());
    const HexOverlay* o = doc->overlayAt(3, 3);
    const int p = doc->stackPositionFor(*doc->troopAt(0, 0));
    EXPECT_EQ(o->stackTable[p], 1);
    EXPECT_EQ(o->stackSlot[p], 2);  // the commander represents the regiment

    // Saved, and converted from the file, the four members are all there.
    writeMapFile(*doc, dir.file("saved.kvn"), MapFileKind::Normal);
    kvtest::TempDir out;
    const BatchResult converted = convertMaps(*doc, {dir.file("g.kvn")}, out.path(), {});
    ASSERT_EQ(converted.written.size(), 1u) << converted.refusal;
    for (const std::string& path : {dir.file("saved.kvn"), converted.written[0]}) {
        const std::string f = kvtest::readFile(path);
        const SectionDescriptor s6 = section(f, 6);
        ASSERT_EQ(s6.count, 4u) << path;
        for (uint32_t slot = 0; slot < 4; ++slot) {
            EXPECT_EQ(u32(f, s6.offset + 312 * slot), 1u) << path << slot;
            EXPECT_EQ(static_cast<uint8_t>(f[s6.offset + 312 * slot + 50]), kGathered);
        }
    }
}

TEST_F(MapFile, AFileCutShortReadsWhatItHoldsAndSaysWhatIsMissing) {
    const std::string full = smallMapFile(anyWeapon()).build();
    MapReadReport report;
    ASSERT_TRUE(readMapFileBytes(*doc, full, &report));
    EXPECT_TRUE(report.truncated.empty());
    EXPECT_FALSE(report.damaged());

    // Cut anywhere after the map header: read, and never taken for complete.
    const uint32_t headerEnd = section(full, 1).offset + 588;
    for (size_t n = headerEnd; n < full.size(); n += 311) {
        ASSERT_TRUE(readMapFileBytes(*doc, std::string_view(full).substr(0, n), &report)) << n;
        EXPECT_FALSE(report.truncated.empty()) << n;
        EXPECT_TRUE(std::is_sorted(report.truncated.begin(), report.truncated.end()));
    }
    // Cut inside the header itself: sections whose descriptor is cut off are missing too
    // (section 0, empty in a normal map file, is whole).
    readMapFileBytes(*doc, std::string_view(full).substr(0, 20 + 12 * 3 + 5), &report);
    EXPECT_EQ(report.outcome, MapReadReport::BadSize);
    std::vector<int> allButTexts(21);
    std::iota(allButTexts.begin(), allButTexts.end(), 1);
    EXPECT_EQ(report.truncated, allButTexts);

    // Cut inside the troop record: the sections from there on are missing; those that hold
    // nothing (7..11, 12, 14, 15 here) are not; what came before is read.
    const std::string cut = full.substr(0, section(full, 6).offset + 100);
    kvtest::writeFile(dir.file("cut.kvn"), cut);
    ASSERT_TRUE(loadMapFile(*doc, dir.file("cut.kvn"), &report));
    EXPECT_EQ(report.truncated, (std::vector<int>{6, 13, 16, 17, 18, 19, 20, 21}));
    EXPECT_EQ(doc->width(), 8);
    EXPECT_EQ(doc->mapGrid.cells[63].terrain, 1);
    EXPECT_EQ(doc->regiments[0][0].bytes[5], 0);  // missing: empty, not made up
    ASSERT_EQ(prompts.seen.size(), 1u);           // told once, after the load
    EXPECT_EQ(prompts.seen[0].caption, "注意");
    const std::string& text = prompts.seen[0].text;
    EXPECT_EQ(text.rfind(dir.file("cut.kvn"), 0), 0u) << text;
    for (const char* part : {"部隊（陣営1）", "避難目標", "連隊編成（陣営1・2・3・4・5・6）"})
        EXPECT_NE(text.find(part), std::string::npos) << part << text;
    EXPECT_EQ(text.find("地形"), std::string::npos) << text;
}

TEST_F(MapFile, FilesThatAreNoMapsOrHaveNoPossibleSizeLeaveANewMapAndSaySo) {
    const std::string good = smallMapFile(anyWeapon()).build();
    FileBuilder earlier = smallMapFile(anyWeapon());
    earlier.magic = "BREXOSCENARI0004";
    struct Case {
        const char* name;
        std::string bytes;
        const char* says;
    };
    std::string wide = good, flat = good;
    storeU16(&wide[section(good, 1).offset + 582], 257);
    storeU16(&flat[section(good, 1).offset + 584], 0);
    const Case cases[] = {
        {"empty.kvn", "", "このプログラムのマップファイルではありません"},
        {"text.kvn", "this is not a map file at all",
         "このプログラムのマップファイルではありません"},
        {"old.kvs", earlier.build(), "「ケステルｼﾘｰｽﾞﾏｯﾌﾟを開く」"},
        {"wide.kvn", wide, "マップの大きさ（257×8）"},
        {"flat.kvn", flat, "マップの大きさ（8×0）"},
        {"header.kvn", good.substr(0, 20), "ファイルが途中で切れています"},
    };
    for (const Case& c : cases) {
        doc->mapHeader.setMapName("previous");
        prompts.seen.clear();
        kvtest::writeFile(dir.file(c.name), c.bytes);
        EXPECT_FALSE(loadMapFile(*doc, dir.file(c.name))) << c.name;
        EXPECT_EQ(doc->width(), 64) << c.name;
        EXPECT_EQ(decodeCp932Lossy(doc->mapHeader.mapName()), "新規マップ") << c.name;
        ASSERT_EQ(prompts.seen.size(), 1u) << c.name;
        EXPECT_EQ(prompts.seen[0].caption, "エラー");
        EXPECT_EQ(prompts.seen[0].text.rfind(dir.file(c.name), 0), 0u) << prompts.seen[0].text;
        EXPECT_NE(prompts.seen[0].text.find(c.says), std::string::npos) << prompts.seen[0].text;
    }
    // A file error is reported as one, not again as no map.
    prompts.seen.clear();
    EXPECT_FALSE(loadMapFile(*doc, dir.file("missing.kvn")));
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].text, "ファイルのオープンに失敗しました");
}

}  // namespace
}  // namespace kv
