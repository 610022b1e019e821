// Campaign files of arbitrary content: the reader takes only blocks that lie within the
// file, the check reads every embedded map without touching memory outside the tables, and
// what was read writes out and reads back the same.
#include <cstdint>
#include <string>
#include <string_view>

#include "document/map_document.h"
#include "fuzz/sample_game.h"
#include "fuzz/scratch_program.h"
#include "scenario/campaign_check.h"
#include "scenario/campaign_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using kvfuzz::expect;
    kv::MapDocument& scratch = kvfuzz::sampleDocument();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kv::CampaignContents campaign;
    const kv::CampaignReadResult read = kv::readCampaignBytes(bytes, campaign);
    if (!read.ok()) {
        for (const std::string& map : campaign.maps) expect(map.empty());
        expect(campaign.data.decidedUserFaction() < 0);
        return 0;
    }
    for (int k = 0; k < kv::kCampaignSlots; ++k) {
        const kv::CampaignEntry& e = campaign.directory[size_t(k) + 1];
        const std::string& map = campaign.maps[size_t(k)];
        expect(map.size() == e.size);
        expect(map.empty() || bytes.substr(e.offset, e.size) == map);
    }

    const kv::CampaignReport report = kv::checkCampaign(campaign, scratch);
    expect(report.count == static_cast<int>(report.maps.size()));
    expect(report.depth >= 0 && report.depth <= report.count);
    for (const kv::CampaignProblem& p : report.problems)
        expect(p.slot >= -1 && p.slot < kv::kCampaignSlots && !p.text.empty());

    kv::CampaignContents again;
    expect(kv::readCampaignBytes(kv::campaignFileBytes(campaign.data, campaign.maps), again).ok());
    expect(again.data == campaign.data);
    expect(again.maps == campaign.maps);
    return 0;
}
