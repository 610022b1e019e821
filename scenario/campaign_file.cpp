// Reading and writing campaign files, and the map bytes a save gathers from the slots.
#include "scenario/campaign_file.h"

#include <algorithm>
#include <optional>

#include "document/map_file.h"
#include "framework/byte_cursor.h"
#include "framework/disk_file.h"
#include "framework/errors.h"

namespace kv {

namespace {

// Entry 0 is the campaign data; entry k + 1 the map of slot k.
constexpr int kDataEntry = 0;
constexpr int kFirstMapEntry = 1;
constexpr uint32_t kEntryBytes = 12;
// The header must at least hold the magic, its size and entry 0.
constexpr uint32_t kSmallestHeader = 20 + kEntryBytes;

CampaignContents emptyCampaign() {
    CampaignContents empty;
    empty.data.setUserFaction(kUserFactionUndecided);
    return empty;
}

// The entries the first `headerSize` bytes hold; the rest stay zero.
std::array<CampaignEntry, kCampaignEntries> readDirectory(std::string_view file,
                                                          uint32_t headerSize) {
    std::array<CampaignEntry, kCampaignEntries> directory{};
    ByteReader in(file.substr(0, headerSize));
    in.seek(20);
    for (CampaignEntry& e : directory) {
        if (in.remaining() < kEntryBytes) break;
        e.offset = in.u32();
        e.size = in.u32();
        e.count = in.u32();
    }
    return directory;
}

}  // namespace

CampaignSlotsUsed CampaignContents::usedSlots() const {
    CampaignSlotsUsed used{};
    for (int k = 0; k < kCampaignSlots; ++k) used[size_t(k)] = this->used(k);
    return used;
}

CampaignReadResult readCampaignBytes(std::string_view file, CampaignContents& out) {
    out = emptyCampaign();
    CampaignReadResult r;
    r.fileSize = file.size();
    if (file.size() < kCampaignMagic.size() ||
        file.substr(0, kCampaignMagic.size()) != kCampaignMagic) {
        r.status = CampaignReadResult::NotACampaign;
        return r;
    }
    ByteReader in(file);
    in.seek(16);
    r.headerSize = in.u32();
    if (in.shortfall() || r.headerSize < kSmallestHeader || r.headerSize > kCampaignHeaderSize ||
        !in.contains(0, r.headerSize)) {
        r.status = CampaignReadResult::BadHeader;
        return r;
    }
    const std::array<CampaignEntry, kCampaignEntries> directory = readDirectory(file, r.headerSize);
    // Every block the reader takes is checked before anything is copied.
    for (int e = kDataEntry; e < kFirstMapEntry + kCampaignSlots; ++e) {
        const CampaignEntry& entry = directory[size_t(e)];
        if (e != kDataEntry && entry.size == 0) continue;
        if (!in.contains(entry.offset, entry.size)) {
            r.status = CampaignReadResult::EntryPastEnd;
            r.entry = e;
            r.bad = entry;
            return r;
        }
    }
    const CampaignEntry& block = directory[kDataEntry];
    out.data.clear();  // what a short block leaves out is zero
    in.seek(block.offset);
    in.read(out.data.data(), std::min<size_t>(block.size, CampaignData::kSize));
    for (int k = 0; k < kCampaignSlots; ++k) {
        const CampaignEntry& entry = directory[size_t(kFirstMapEntry + k)];
        if (entry.size > 0)
            out.maps[size_t(k)] = std::string(file.substr(entry.offset, entry.size));
    }
    out.directory = directory;
    r.status = CampaignReadResult::Read;
    return r;
}

CampaignReadResult readCampaignFile(const std::string& path, CampaignContents& out) {
    const std::optional<std::string> bytes = readWholeFile(path, kMaxCampaignFileBytes);
    if (!bytes) {
        out = emptyCampaign();
        return CampaignReadResult{};
    }
    return readCampaignBytes(*bytes, out);
}

std::string campaignFileBytes(const CampaignData& data,
                              const std::array<std::string, kCampaignSlots>& maps) {
    std::string image;
    ByteAppender<std::string> out(image);
    out.text(kCampaignMagic, kCampaignMagic.size());
    out.u32(kCampaignHeaderSize);
    out.u32(kCampaignHeaderSize);
    out.u32(CampaignData::kSize);
    out.u32(1);
    uint64_t at = kCampaignMapsOffset;
    for (const std::string& map : maps) {
        if (map.size() > UINT32_MAX || at > UINT32_MAX) throw swCFileError(swCFileError::Write);
        out.u32(static_cast<uint32_t>(at));
        out.u32(static_cast<uint32_t>(map.size()));
        out.u32(1);
        at += map.size();
    }
    out.zeros(size_t{kEntryBytes} * (kCampaignEntries - kFirstMapEntry - kCampaignSlots));
    out.bytes(data.data(), CampaignData::kSize);
    for (const std::string& map : maps) out.bytes(map);
    return image;
}

void writeCampaignFile(const std::string& path, const CampaignData& data,
                       const std::array<std::string, kCampaignSlots>& maps) {
    writeFileAtomically(path, campaignFileBytes(data, maps));
}

CampaignSources sourcesOf(const CampaignContents& contents) {
    CampaignSources sources;
    for (int k = 0; k < kCampaignSlots; ++k)
        if (contents.used(k)) sources[size_t(k)] = {.used = true, .blobIndex = k};
    return sources;
}

std::vector<LoadedCampaignMap> loadedMapsOf(const CampaignContents& contents) {
    std::vector<LoadedCampaignMap> loaded(kCampaignSlots);
    for (int k = 0; k < kCampaignSlots; ++k) {
        if (!contents.used(k)) continue;
        loaded[size_t(k)] = {.bytes = contents.maps[size_t(k)],
                             .name = contents.data.map(k).mapName(),
                             .placed = true};
    }
    return loaded;
}

GatheredCampaignMaps gatherCampaignMaps(const CampaignSources& sources,
                                        const std::vector<LoadedCampaignMap>& loaded) {
    GatheredCampaignMaps out;
    for (int k = 0; k < kCampaignSlots; ++k) {
        const CampaignSlotSource& s = sources[size_t(k)];
        if (!s.used) continue;
        std::string& bytes = out.maps[size_t(k)];
        if (!s.sourcePath.empty()) {
            bytes = readWholeFile(s.sourcePath, kMaxMapFileBytes).value_or(std::string());
        } else if (s.blobIndex >= 0 && static_cast<size_t>(s.blobIndex) < loaded.size()) {
            bytes = loaded[size_t(s.blobIndex)].bytes;
        }
        if (bytes.empty()) out.missing.push_back(k);
    }
    return out;
}

}  // namespace kv
