// What `kvmap info` reads of arbitrary bytes: the header parse, the earlier-edition
// description and the records read without the repairs of a load, walked the way the
// command prints them. Nothing may be trusted here that a load would have repaired.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/import.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/cp932.h"
#include "fuzz/sample_game.h"
#include "scenario/scenario_text_edit.h"

namespace {

using kvfuzz::expect;

void describeEarlierEdition(std::string_view bytes, const kv::MapKindInfo& kind) {
    const int sections = kv::legacy::containerSections(kind.kind);
    const std::vector<int> truncated = kv::sectionsPastEnd(bytes, sections);
    for (int s : truncated) expect(s >= 0 && s < sections);
    kv::MapReadReport report;
    report.truncated = truncated;
    kv::mapDamageText(report);
}

void walkRecords(const kv::MapDocument& doc) {
    for (int f = 0; f < kv::kFactionCount; ++f) {
        kv::decodeCp932Lossy(doc.factions[f].name());
        kv::decodeCp932Lossy(doc.factions[f].anthemName());
        const int used = doc.troops.usedSlots(f);
        expect(used >= 0 && used <= kv::TroopTable::kSlots);
        for (int slot = 0; slot < used; ++slot) {
            const kv::TroopRecord& t = doc.troops.records[f][size_t(slot)];
            if (t.inUse()) kv::decodeCp932Lossy(t.name());
        }
    }
    for (const kv::TerrainLabel& l : doc.mapGrid.labels)
        if (l.inUse()) kv::decodeCp932Lossy(l.textString());
    kv::decodeCp932Lossy(doc.mapHeader.mapName());
    kv::decodeCp932Lossy(doc.mapHeader.message());
    for (const kv::TextFieldRule& rule : kv::textFieldRules())
        kv::decodeCp932Lossy(doc.scenarioTexts.field(rule.field));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kv::MapDocument& doc = kvfuzz::sampleDocument();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<kv::MapFileHeader> h = kv::parseMapFileHeader(bytes);
    if (!h || kv::versionOfMagic(h->magic) < 0) {
        const kv::MapKindInfo kind = kv::detectMapKindBytes(bytes);
        if (kind.kind >= kv::legacy::kRealTime && kind.kind <= kv::legacy::kModern)
            describeEarlierEdition(bytes, kind);
        return 0;
    }
    expect(h->magic.size() == 16);
    doc.resetToNewMap();
    kv::MapReadReport report;
    kv::readMapFileBytes(doc, bytes, &report);
    doc.troops.recomputeCounts();
    for (int s : report.truncated) expect(s >= 0 && s < kv::MapFileHeader::kReadSections);
    if (report.damaged()) expect(!kv::mapDamageText(report).empty());
    walkRecords(doc);
    return 0;
}
