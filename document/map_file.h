// The map container file: a 536-byte header with 43 section descriptors, the document's
// records section by section, and (in normal and scenario map files) a trailing block of
// user-defined weapon data found through the file's last four bytes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/map_header.h"

namespace kv {

class MapDocument;

struct SectionDescriptor {
    uint32_t offset = 0;
    uint32_t recordSize = 0;
    uint32_t count = 0;
    bool operator==(const SectionDescriptor&) const = default;
};

// The sections of a map file in the order they follow the header. Troops and regiments take
// one section per faction slot.
enum MapSection : int {
    kScenarioTextsSection = 0,
    kMapHeaderSection = 1,
    kFactionSection = 2,
    kRuleSection = 3,
    kCellSection = 4,
    kLabelSection = 5,
    kFirstTroopSection = 6,  // .. 11
    kProductionListSection = 12,
    kEvacuationSection = 13,
    kBriefingPictureSection = 14,
    kEndingPictureSection = 15,
    kFirstRegimentSection = 16,  // .. 21
    kFirstReservedSection = 22,  // .. 42, always empty
    kSectionCount = 43,
};
inline constexpr int troopSection(int faction) {
    return kFirstTroopSection + faction;
}
inline constexpr int regimentSection(int faction) {
    return kFirstRegimentSection + faction;
}

// What a map file holds: a normal map leaves out the scenario texts and pictures; a
// scenario map holds everything; both end with the user-weapon block. An intermediate file
// holds every section, no block, and carries its own magic in the header record.
enum class MapFileKind { Normal, Scenario, Intermediate };

struct MapFileHeader {
    static constexpr size_t kSize = 536;
    static constexpr int kSections = kSectionCount;
    // The sections before the reserved ones hold the map.
    static constexpr int kReadSections = kFirstReservedSection;
    std::string magic;  // 16 bytes
    uint32_t headerSize = 0;
    std::array<SectionDescriptor, kSections> sections{};
};

// No map file comes near this size; anything larger is refused before it is read.
inline constexpr size_t kMaxMapFileBytes = size_t{1} << 30;

// What reading a map file came to besides its records. A file whose sections run past its
// end still reads (what is there is taken, the rest stays zero), but the caller knows.
struct MapReadReport {
    enum Outcome {
        Unread,   // the file could not be read at all (a file error)
        NotAMap,  // empty, or a magic that is none of the seven
        BadSize,  // width or height outside 1..256: the cells cannot be laid out
        Read,
    };
    Outcome outcome = Unread;
    int version = -1;
    int earlierEdition = 0;      // NotAMap: the kind (1..4) of an earlier edition's map
    int width = 0, height = 0;   // as the file holds them
    std::vector<int> truncated;  // sections 0..21 that run past the end of the file
    bool damaged() const { return outcome == BadSize || !truncated.empty(); }
};

// 1..6 for "TALMASCENARI0001".."TALMASCENARI0006", 7 for "KVORNSCENARI0007", else -1.
int versionOfMagic(std::string_view magic16);

// The header of a file's bytes: its size word, and at most `headerKept` bytes of it (no more
// than the header size says or the file holds) taken for the descriptors. Nothing for a file
// shorter than 20 bytes. Earlier editions share the container and keep less of the header.
std::optional<MapFileHeader> parseMapFileHeader(std::string_view bytes,
                                                size_t headerKept = MapFileHeader::kSize);

// The sections 0..sectionCount-1 of a container file (this format's or an earlier edition's:
// 20 header bytes, then 12-byte descriptors) that the bytes do not hold whole: a section
// running past the end, or a descriptor the header declares but the file cuts off.
std::vector<int> sectionsPastEnd(std::string_view bytes, int sectionCount);

// What is wrong with a damaged file, a line each (UTF-8; empty when nothing is): the size it
// cannot have, and the parts of the map that were cut off.
std::string mapDamageText(const MapReadReport& report);

// The file image of a document as a file of `kind`; a normal or scenario file raises
// swCFileError when an icon file a weapon names is missing.
std::string mapFileBytes(MapDocument& doc, MapFileKind kind);

// The image of an intermediate file (with the intermediate magic in its header record) as
// writeMapFile writes it; the document is left as it was.
std::string intermediateFileBytes(MapDocument& doc);

// Writes a map file of `kind`. A normal or scenario map first takes fresh production lists;
// an intermediate file is written with the intermediate magic in its header record, which is
// always switched back afterwards. The file is written whole to a temporary file beside the
// target and renamed over it, so a failure leaves the old file as it was; failures raise
// swCFileError. On success `filePath` becomes the path.
void writeMapFile(MapDocument& doc, const std::string& path, MapFileKind kind);

// Reads sections 0..13 and 16..21 of a map file into the document's records (upgrading
// files of versions 1..6) and sections 14 and 15 into its pictures. False, with nothing
// read, when the magic is unknown; false after reading when the map size is outside
// 1..256 (the caller discards what was read). A file that cannot be read raises
// swCFileError. Nothing is ever written outside the document's tables. `report`, when
// given, receives the outcome and the sections cut off.
bool readMapFile(MapDocument& doc, const std::string& path, MapReadReport* report = nullptr);
bool readMapFileBytes(MapDocument& doc, std::string_view bytes, MapReadReport* report = nullptr);

// Loads a map file into the document the way the open command does: a new map, the file's
// records, then the repairs of a load. False (and a new map) when the file is no map, has
// an impossible size, could not be read, or names weapons this game data lacks. Whatever
// is wrong with the file is told once, after the load: a file that is not a map of this
// program or has an impossible size (caption "エラー"), a file cut short (caption "注意";
// the map keeps what the file holds).
bool loadMapFile(MapDocument& doc, const std::string& path, MapReadReport* report = nullptr);

// The bytes of section 14 (briefing picture) or 15 (ending picture); nothing when its size
// is 0, the magic is unknown or the file cannot be read.
std::optional<std::vector<uint8_t>> readPictureSection(const std::string& path, int which);

}  // namespace kv
