// The campaign file: a magic, an 872-byte header of 71 directory entries, the campaign data
// block and the map files of the used slots byte for byte, in slot order. Reading trusts no
// directory entry; writing gathers every map first and replaces the file atomically.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/campaign_records.h"

namespace kv {

inline constexpr std::string_view kCampaignMagic = "TALMACAMPAIGN001";
inline constexpr uint32_t kCampaignHeaderSize = 872;
inline constexpr int kCampaignEntries = 71;
// Where the first map block starts in a file written here.
inline constexpr uint32_t kCampaignMapsOffset = kCampaignHeaderSize + CampaignData::kSize;
// Fifty maps of the largest size the map reader takes would not fit the 32-bit directory;
// a file larger than this is refused before it is read.
inline constexpr size_t kMaxCampaignFileBytes = size_t{1} << 31;

struct CampaignEntry {
    uint32_t offset = 0;
    uint32_t size = 0;
    uint32_t count = 0;
    bool operator==(const CampaignEntry&) const = default;
};

// What a campaign file holds: the campaign data and the embedded map file of each slot
// (empty for a slot without one; such a slot is unused).
struct CampaignContents {
    CampaignData data;
    std::array<std::string, kCampaignSlots> maps;
    std::array<CampaignEntry, kCampaignEntries> directory{};  // as the file holds it
    bool used(int slot) const {
        return CampaignData::validSlot(slot) && !maps[size_t(slot)].empty();
    }
    CampaignSlotsUsed usedSlots() const;
};

struct CampaignReadResult {
    enum Status {
        Read,
        Unreadable,    // missing, not a regular file, unreadable or too large
        NotACampaign,  // shorter than the magic, or another magic
        BadHeader,     // a header size outside 32..872, or a header the file cuts short
        EntryPastEnd,  // a directory entry whose block does not lie within the file
    };
    Status status = Unreadable;
    uint32_t headerSize = 0;  // BadHeader, EntryPastEnd: the header size the file states
    int entry = -1;           // EntryPastEnd: the directory entry
    CampaignEntry bad;        // EntryPastEnd: that entry
    uint64_t fileSize = 0;
    bool ok() const { return status == Read; }
};

// Reads a campaign file's bytes. The magic and the header size are checked before anything
// else; every entry the reader uses (0 and 1..50 with a size) must lie within the bytes,
// computed in 64 bits, or the whole file is refused; at most 2537 bytes are taken for the
// campaign data. On failure `out` is an empty campaign: no name, no maps, no player faction.
CampaignReadResult readCampaignBytes(std::string_view file, CampaignContents& out);
CampaignReadResult readCampaignFile(const std::string& path, CampaignContents& out);

// The file image of a campaign: `maps[k]` is the map file of slot k, empty for an unused
// slot. Raises swCFileError(Write) when the maps do not fit the 32-bit directory.
std::string campaignFileBytes(const CampaignData& data,
                              const std::array<std::string, kCampaignSlots>& maps);
// Writes the image through a temporary file renamed over `path`, so a failed write leaves
// the old file as it was. Raises swCFileError on failure.
void writeCampaignFile(const std::string& path, const CampaignData& data,
                       const std::array<std::string, kCampaignSlots>& maps);

// --- the editor's slots ---------------------------------------------------------------------

// Where a used slot's map comes from when the campaign is saved: a map file on disk, or (with
// no path) one of the map copies read from the opened campaign file.
struct CampaignSlotSource {
    bool used = false;
    std::string sourcePath;
    int blobIndex = -1;
};
using CampaignSources = std::array<CampaignSlotSource, kCampaignSlots>;

// A map file read from an opened campaign, kept while the editor is open.
struct LoadedCampaignMap {
    std::string bytes;
    std::string name;  // CP932, the map entry's name
    bool placed = false;
};

// An opened campaign as the editor takes it: slot k of each map the file holds is used and
// refers to loaded copy k, which is named after the slot's map entry.
CampaignSources sourcesOf(const CampaignContents& contents);
std::vector<LoadedCampaignMap> loadedMapsOf(const CampaignContents& contents);

// Every used slot's map file read into memory before anything is written, and the used
// slots that have none: a source file that is missing, unreadable, empty or too large to be
// a map, or no loaded copy with data. A save names those to the user before writing, rather
// than storing a map of no bytes that reads back as an unused slot.
struct GatheredCampaignMaps {
    std::array<std::string, kCampaignSlots> maps;
    std::vector<int> missing;
};
GatheredCampaignMaps gatherCampaignMaps(const CampaignSources& sources,
                                        const std::vector<LoadedCampaignMap>& loaded);

}  // namespace kv
