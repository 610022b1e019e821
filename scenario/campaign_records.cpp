// The campaign data block's map entries and the breadth-first link depth.
#include "scenario/campaign_records.h"

#include <algorithm>
#include <cstring>
#include <deque>

#include "framework/cp932.h"

namespace kv {

CampaignData CampaignData::newCampaign() {
    CampaignData data;
    data.setName(encodeCp932("新規キャンペーン").value_or(std::string()));
    data.setUserFaction(kUserFactionUndecided);
    return data;
}

CampaignMap CampaignData::map(int slot) const {
    CampaignMap entry;
    if (validSlot(slot))
        std::memcpy(entry.data(), data() + kMapsAt + CampaignMap::kSize * size_t(slot),
                    CampaignMap::kSize);
    return entry;
}

void CampaignData::setMap(int slot, const CampaignMap& entry) {
    if (validSlot(slot))
        std::memcpy(data() + kMapsAt + CampaignMap::kSize * size_t(slot), entry.data(),
                    CampaignMap::kSize);
}

std::array<int, kCampaignSlots> campaignLinkDepths(const CampaignData& data,
                                                   const CampaignSlotsUsed& used) {
    std::array<int, kCampaignSlots> depth{};
    if (!used[0]) return depth;
    depth[0] = 1;
    std::deque<int> queue{0};
    while (!queue.empty()) {
        const int slot = queue.front();
        queue.pop_front();
        const CampaignMap entry = data.map(slot);
        for (int kind = 0; kind < kLinkKinds; ++kind) {
            const int next = entry.linkedSlot(kind);
            if (next < 0 || !used[size_t(next)] || depth[size_t(next)] != 0) continue;
            depth[size_t(next)] = depth[size_t(slot)] + 1;
            queue.push_back(next);
        }
    }
    return depth;
}

int campaignStageCount(const CampaignData& data, const CampaignSlotsUsed& used) {
    const std::array<int, kCampaignSlots> depth = campaignLinkDepths(data, used);
    return *std::max_element(depth.begin(), depth.end());
}

void updateCampaignCounts(CampaignData& data, const CampaignSlotsUsed& used) {
    data.setMapCount(static_cast<uint8_t>(std::count(used.begin(), used.end(), true)));
    data.setStageCount(static_cast<uint8_t>(campaignStageCount(data, used)));
}

}  // namespace kv
