// The records of a campaign: the 2537-byte campaign data block and its fifty 49-byte map
// entries (outcome links, map name, where the entry was linked from), and the link depth.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/record_bytes.h"

namespace kv {

inline constexpr int kCampaignSlots = 50;

// The three outcomes of a map, in the order their links are stored.
inline constexpr int kVictoryLink = 0, kDrawLink = 1, kDefeatLink = 2, kLinkKinds = 3;
// What an outcome leads to.
inline constexpr uint8_t kLinkEnd = 0, kLinkEnding = 1, kLinkRetry = 2, kLinkMap = 3;
// `linkedFrom` of the first map, and `userFaction` before any map has fixed it.
inline constexpr uint8_t kNoCampaignSlot = 255;
inline constexpr uint8_t kUserFactionUndecided = 255;
inline constexpr int kOperatingRanks = 6;

class CampaignMap : public ByteRecord<49> {
public:
    static constexpr size_t kLinkTypeAt = 0, kLinkTargetAt = 3, kMapNameAt = 6, kMapNameSize = 42,
                            kLinkedFromAt = 48;

    // Link kind 0..2; 0 and no change for another kind.
    uint8_t linkType(int kind) const { return validKind(kind) ? u8(kLinkTypeAt + kind) : 0; }
    uint8_t linkTarget(int kind) const { return validKind(kind) ? u8(kLinkTargetAt + kind) : 0; }
    void setLink(int kind, uint8_t type, uint8_t target) {
        if (!validKind(kind)) return;
        setU8(kLinkTypeAt + kind, type);
        setU8(kLinkTargetAt + kind, target);
    }
    void clearLinks() {
        for (int k = 0; k < kLinkKinds; ++k) setLink(k, kLinkEnd, 0);
    }
    // The slot a map link leads to; -1 for the other link types and for a target that is no
    // slot at all, so a stored byte never indexes past the fifty entries.
    int linkedSlot(int kind) const {
        const int target = linkTarget(kind);
        return linkType(kind) == kLinkMap && target < kCampaignSlots ? target : -1;
    }
    // CP932; the field ends at its first NUL or its width, a lead byte cut off at the end dropped.
    std::string mapName() const { return cutToBytes(text(kMapNameAt, kMapNameSize), kMapNameSize); }
    void setMapName(std::string_view cp932) { setText(kMapNameAt, kMapNameSize, cp932); }
    uint8_t linkedFrom() const { return u8(kLinkedFromAt); }
    void setLinkedFrom(uint8_t slot) { setU8(kLinkedFromAt, slot); }

private:
    static bool validKind(int kind) { return kind >= 0 && kind < kLinkKinds; }
};
static_assert(sizeof(CampaignMap) == CampaignMap::kSize);

class CampaignData : public ByteRecord<2537> {
public:
    static constexpr size_t kNameAt = 0, kNameSize = 33, kStageCountAt = 34, kMapCountAt = 35,
                            kMapsAt = 36, kUserFactionAt = 2486, kOperatingRanksAt = 2487;
    static_assert(kMapsAt + CampaignMap::kSize * kCampaignSlots == kUserFactionAt);
    static_assert(kOperatingRanksAt + kCampaignSlots == kSize);

    // A new campaign: all zero, named "新規キャンペーン", no player faction yet.
    static CampaignData newCampaign();

    std::string name() const { return cutToBytes(text(kNameAt, kNameSize), kNameSize); }
    // Clears the whole name field first, so no byte of a longer old name stays behind.
    void setName(std::string_view cp932) { setText(kNameAt, kNameSize, cp932); }
    uint8_t stageCount() const { return u8(kStageCountAt); }
    void setStageCount(uint8_t v) { setU8(kStageCountAt, v); }
    uint8_t mapCount() const { return u8(kMapCountAt); }
    void setMapCount(uint8_t v) { setU8(kMapCountAt, v); }

    // Entry `slot` (0..49) as a copy; an empty entry for another slot.
    CampaignMap map(int slot) const;
    void setMap(int slot, const CampaignMap& entry);

    uint8_t userFaction() const { return u8(kUserFactionAt); }
    void setUserFaction(uint8_t v) { setU8(kUserFactionAt, v); }
    // The player's faction 0..5, or -1 while undecided (any stored value above 5).
    int decidedUserFaction() const {
        const int f = userFaction();
        return f < 6 ? f : -1;
    }
    // The rule class of slot 0..49; 0 and no change for another slot.
    uint8_t operatingRank(int slot) const {
        return validSlot(slot) ? u8(kOperatingRanksAt + size_t(slot)) : 0;
    }
    void setOperatingRank(int slot, uint8_t rank) {
        if (validSlot(slot)) setU8(kOperatingRanksAt + size_t(slot), rank);
    }

    static bool validSlot(int slot) { return slot >= 0 && slot < kCampaignSlots; }
};
static_assert(sizeof(CampaignData) == CampaignData::kSize);

// Which of the fifty slots hold a map.
using CampaignSlotsUsed = std::array<bool, kCampaignSlots>;

// The depth of each slot on the shortest chain of map links from slot 0 (which has depth 1);
// 0 for a slot no chain reaches. Only links into used slots are followed, and nothing is
// reached when slot 0 is unused.
std::array<int, kCampaignSlots> campaignLinkDepths(const CampaignData& data,
                                                   const CampaignSlotsUsed& used);
// The stored stage count: the largest depth of any slot, 0 when none is reached.
int campaignStageCount(const CampaignData& data, const CampaignSlotsUsed& used);
// Sets `mapCount` to the number of used slots and `stageCount` to the link depth, as a save
// does.
void updateCampaignCounts(CampaignData& data, const CampaignSlotsUsed& used);

}  // namespace kv
