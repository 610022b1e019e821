// The readers of the earlier editions' map files: the real-time edition (kind 1) and the
// scenario editions (kinds 2 to 4), record by record into the current records. The layouts
// are tabled in legacy_layouts.h.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "document/import.h"
#include "document/import_records.h"
#include "document/map_document.h"

namespace kv::import_detail {

namespace {

namespace rt = legacy::rt;
namespace sc = legacy::sc;

constexpr int32_t kImportedFundsLimit = 99999999;
constexpr uint8_t kHighestEarlierTerrain = 52;
// A port takes its default picture and the three after it.
constexpr int kPortPictures = 4;
// Bridge pieces are numbered 0..8; the cell keeps piece + 1.
constexpr int kBridgePieces = 9;

// Element 0 of a one-record section.
std::vector<uint8_t> single(const Container& file, int section, size_t size) {
    std::vector<uint8_t> buffer(size);
    if (file.count(section, 1) == 1) file.element(section, 0, buffer.data(), size);
    return buffer;
}

// The faction records the file holds (at most eight), each in a zeroed buffer.
std::vector<std::vector<uint8_t>> oldFactions(const Container& file, int section, size_t size) {
    std::vector<std::vector<uint8_t>> out;
    const uint32_t n = file.count(section, legacy::kOldFactions);
    for (uint32_t i = 0; i < n; ++i) {
        out.emplace_back(size);
        file.element(section, i, out.back().data(), size);
    }
    return out;
}

SlotMap slotMapOf(const std::vector<std::vector<uint8_t>>& factions, size_t participationAt) {
    std::vector<bool> takesPart;
    for (const auto& f : factions) takesPart.push_back(f[participationAt] != 0);
    return SlotMap(takesPart);
}

void finishSize(MapDocument& doc) {
    doc.mapHeader.setSize(doc.width(), doc.height());
    doc.mapHeader.clampTurnLimit();
}

// --- kind 1 -----------------------------------------------------------------------------------

void convertRealTimeHeader(MapDocument& doc, OldRecord old) {
    MapHeader& h = doc.mapHeader;
    h.setMapName(old.text(rt::kNameAt, rt::kNameSize));
    h.setMessage(old.text(rt::kMessageAt, rt::kMessageSize));
    h.setSize(old.u16(rt::kWidthAt), old.u16(rt::kHeightAt));
    h.setTurnLimit(old.u16(rt::kTurnLimitAt));
    h.setDifficulty(old.u8(rt::kDifficultyAt));
    h.setBuildingIncome(old.u8(rt::kIncomeAt));
    finishSize(doc);
}

void convertRealTimeFactions(MapDocument& doc, const std::vector<std::vector<uint8_t>>& records,
                             const SlotMap& slots) {
    for (size_t i = 0; i < records.size(); ++i) {
        const OldRecord old{records[i].data(), records[i].size()};
        const int slot = slots.slotOf(static_cast<int>(i));
        if (!slots.takesPart(static_cast<int>(i))) {
            if (slot >= 0) doc.factions[slot].clear();
            continue;
        }
        if (slot < 0) continue;
        FactionRecord& f = doc.factions[slot];
        f.clear();
        f.setName(old.text(rt::kFactionNameAt, rt::kFactionNameSize));
        f.setParticipation(old.u8(rt::kParticipationAt));
        f.setBehaviour(old.u8(rt::kBehaviourAt));
        f.setAlliances(slots.bits(old.u8(rt::kAlliancesAt)));
        f.setProductionType(old.u8(rt::kProductionTypeAt));
        f.setFunds(static_cast<int32_t>(old.u32(rt::kFundsAt)));
        f.setProductionCountLimit(old.u16(rt::kProductionLimitAt));
        f.setFundsLimit(kImportedFundsLimit);
    }
}

// The picture of a converted real-time cell, and its bridge piece for a bridge.
void convertRealTimePicture(HexCell& cell, uint16_t oldPicture, const TerrainData& terrain) {
    const uint16_t base = terrain.terrain(cell.terrain).defaultPicture;
    const int port = cell.terrain == 39 ? 6 : cell.terrain == 40 ? 10 : -1;
    if (port >= 0 && oldPicture >= port && oldPicture < port + kPortPictures) {
        cell.picture = static_cast<uint16_t>(base + oldPicture - port);
        return;
    }
    cell.picture = base;
    if (cell.terrain == kTerrainBridge) {
        const int piece = (oldPicture & 0xFF) - 16;
        cell.bridgePiece = piece >= 1 && piece <= kBridgePieces ? static_cast<uint8_t>(piece) : 0;
    }
}

void convertRealTimeCells(MapDocument& doc, const Container& file, const SlotMap& slots) {
    const TerrainData& terrain = doc.gameDatabase;
    const uint32_t n =
        file.count(rt::kCellSection, static_cast<uint32_t>(doc.width() * doc.height()));
    uint8_t buffer[rt::kCellSize];
    for (uint32_t i = 0; i < n; ++i) {
        if (!file.element(rt::kCellSection, i, buffer, sizeof buffer)) break;
        const OldRecord old{buffer, sizeof buffer};
        HexCell& c = doc.mapGrid.cells[i];
        c = HexCell{};
        const uint8_t t = old.u8(rt::kCellTerrainAt);
        // Ids past the table have no counterpart; they become plain land.
        c.terrain = t < std::size(rt::kTerrain) ? rt::kTerrain[t] : kTerrainPlain;
        convertRealTimePicture(c, old.u16(rt::kCellPictureAt), terrain);
        c.roadLinks = old.u8(rt::kCellRoadAt);
        c.river = old.u8(rt::kCellRiverAt);
        c.destroyed = old.u8(rt::kCellDestroyedAt);
        mapCellFactions(c, old.u8(rt::kCellOwnerAt), old.u8(rt::kCellTerritoryAt), slots, terrain);
    }
}

bool readRealTime(MapDocument& doc, const Container& file) {
    if (file.magic() != legacy::magicOf(legacy::kRealTime, 1)) return false;
    const std::vector<uint8_t> header = single(file, rt::kHeaderSection, rt::kHeaderSize);
    convertRealTimeHeader(doc, {header.data(), header.size()});
    const auto factions = oldFactions(file, rt::kFactionSection, rt::kFactionSize);
    const SlotMap slots = slotMapOf(factions, rt::kParticipationAt);
    convertRealTimeFactions(doc, factions, slots);
    const std::vector<uint8_t> rules = single(file, rt::kRuleSection, sizeof(RuleSettings));
    convertRules(doc, {rules.data(), rules.size()});
    convertRealTimeCells(doc, file, slots);
    convertLabels(doc, file, rt::kLabelSection, rt::kLabelSize,
                  {rt::kLabelTextSize, rt::kLabelColAt, rt::kLabelRowAt, rt::kLabelKindAt,
                   rt::kLabelValueAt, false});
    return true;
}

// --- kinds 2..4 -------------------------------------------------------------------------------

void convertTexts(MapDocument& doc, OldRecord old, int kind) {
    ScenarioTexts& st = doc.scenarioTexts;
    const bool earlier = kind == legacy::kEarlier;
    for (int f = 0; f < 9; ++f) {
        const sc::TextPlace place = earlier ? sc::kEarlierTexts[f]
                                            : sc::TextPlace{ScenarioTexts::kFields[f].offset,
                                                            ScenarioTexts::kFields[f].size};
        st.setField(static_cast<ScenarioTexts::Field>(f), old.text(place.offset, place.size));
    }
    const size_t display = earlier ? sc::kEarlierTextBlock : ScenarioTexts::kBlockSize;
    st.setEndingShown(old.u8(display));
    st.setBriefingMode(old.u8(display + 1));
    st.setOrderMode(old.u8(display + 2));
}

void convertHeader(MapDocument& doc, OldRecord old) {
    MapHeader& h = doc.mapHeader;
    uint8_t* b = h.data();
    copyTextWithTrailer(b + MapHeader::kMessageOffset, old, sc::kMessageAt, sc::kMessageSize, 2);
    copyTextWithTrailer(b + MapHeader::kMapNameOffset, old, sc::kNameAt, sc::kNameSize, 2);
    b[MapHeader::kByte530] = old.u8(sc::kByte530At);
    b[MapHeader::kByte531] = old.u8(sc::kByte531At);
    h.setBuildingIncome(old.u8(sc::kIncomeAt));
    b[MapHeader::kByte533] = old.u8(sc::kByte534At);
    h.setDifficulty(old.u8(sc::kDifficultyAt));
    h.setTurnLimit(old.u16(sc::kTurnLimitAt));
    h.setSize(old.u16(sc::kWidthAt), old.u16(sc::kHeightAt));
    finishSize(doc);
}

void convertFaction(FactionRecord& f, OldRecord old, int kind, const SlotMap& slots) {
    f.clear();
    uint8_t* b = f.data();
    copyTextWithTrailer(b, old, sc::kFactionNameAt, sc::kFactionNameSize, 1);
    for (size_t at = sc::kBehaviourAt; at <= sc::kAnthemAt; ++at) b[at] = old.u8(at);
    f.setAlliances(slots.bits(old.u8(sc::kAlliancesAt)));
    b[sc::kByte48At] = old.u8(sc::kByte48At);
    f.setFunds(static_cast<int32_t>(old.u32(sc::kFundsAt)));
    f.setFundsLimit(kImportedFundsLimit);
    if (kind == legacy::kEarlier) {
        for (size_t i = 0; i < sc::kEarlierVictoryBytes; ++i)
            f.setVictory(static_cast<int>(i), old.u8(sc::kVictoryAt + i));
        f.setVictory(4, old.u8(sc::kEarlierByte57At));
        f.setProductionCountLimit(old.u16(sc::kEarlierProductionLimitAt));
        f.setAnthemName(old.text(sc::kEarlierAnthemNameAt, sc::kAnthemNameSize));
        return;
    }
    for (int i = 0; i < FactionRecord::kVictoryBytes; ++i)
        f.setVictory(i, old.u8(sc::kVictoryAt + static_cast<size_t>(i)));
    f.setProductionCountLimit(old.u16(sc::kProductionLimitAt));
    f.setFactionBits(slots.bits(old.u8(sc::kFactionBitsAt)));
    f.setAnthemName(old.text(sc::kAnthemNameAt, sc::kAnthemNameSize));
    if (kind == legacy::kDeluxe) f.setPreset(old.u8(sc::kPresetAt));
}

void convertFactions(MapDocument& doc, const std::vector<std::vector<uint8_t>>& records, int kind,
                     const SlotMap& slots) {
    for (size_t i = 0; i < records.size(); ++i) {
        const int slot = slots.slotOf(static_cast<int>(i));
        if (slot < 0) continue;
        if (slots.takesPart(static_cast<int>(i)))
            convertFaction(doc.factions[slot], {records[i].data(), records[i].size()}, kind, slots);
        else
            doc.factions[slot].clear();
    }
}

// Kind 2 drew rivers as terrain; they become links on the ground beneath.
void convertEarlierTerrain(uint8_t* cell, int version, const TerrainData& terrain) {
    uint8_t& t = cell[0];
    if (version == 1 && t < std::size(sc::kEarlierV1Terrain)) t = sc::kEarlierV1Terrain[t];
    if (t > kHighestEarlierTerrain) t = kTerrainPlain;
    int variant = -1;
    if (t == kTerrainRiver) variant = 0;
    if (t == kTerrainDeepRiver) variant = 1;
    if (t == kTerrainFrozenRiver) variant = 2;
    if (variant < 0) return;
    t = variant == 2 ? kTerrainSnowField : kTerrainPlain;
    const uint16_t picture = terrain.terrain(t).defaultPicture;
    storeU16(cell + offsetof(HexCell, picture), picture);
    cell[5] = static_cast<uint8_t>((cell[5] & HexCell::kLinkMask) | variant << 6);
}

void convertCells(MapDocument& doc, const Container& file, int kind, int version,
                  const SlotMap& slots) {
    const TerrainData& terrain = doc.gameDatabase;
    const uint32_t n =
        file.count(sc::kCellSection, static_cast<uint32_t>(doc.width() * doc.height()));
    uint8_t old[sizeof(HexCell)];
    for (uint32_t i = 0; i < n; ++i) {
        if (!file.element(sc::kCellSection, i, old, sizeof old)) break;
        if (kind == legacy::kEarlier) convertEarlierTerrain(old, version, terrain);
        HexCell c{};
        std::memcpy(&c, old, sizeof c);
        c.byte18 = 0;
        c.supplyLinks = 0;
        mapCellFactions(c, old[1], old[11], slots, terrain);
        if (c.territory != 0) {
            for (int side = 0; side < kDirectionCount; ++side)
                if (c.borderKind(side) == 1) c.setBorderKind(side, 2);
        } else {
            std::fill(std::begin(c.borderKinds), std::end(c.borderKinds), uint8_t{0});
        }
        doc.mapGrid.cells[i] = c;
    }
}

void convertProductionLists(MapDocument& doc, const Container& file, int kind,
                            const SlotMap& slots) {
    const size_t size = sc::sizesOf(kind).list;
    std::vector<uint8_t> buffer(size);
    uint8_t current[ProductType::kOldSize];
    const uint32_t n = file.count(sc::kListSection, legacy::kOldFactions);
    for (uint32_t i = 0; i < n; ++i) {
        const int slot = slots.slotOf(static_cast<int>(i));
        if (slot < 0 || !file.element(sc::kListSection, i, buffer.data(), size)) continue;
        if (kind == legacy::kEarlier) {
            // Name and set, without the type value of the later form.
            std::memset(current, 0, sizeof current);
            std::memcpy(current, buffer.data(), sc::kListNameSize);
            std::memcpy(current + ProductType::kListOffset, buffer.data() + sc::kListNameSize,
                        sc::kListSetBytes);
        } else {
            std::memcpy(current, buffer.data(), sizeof current);
        }
        doc.productionLists[static_cast<size_t>(slot)] =
            convertOldRecord(current, sizeof current, doc.gameDatabase);
    }
}

bool readScenarioKind(MapDocument& doc, const Container& file, int kind, int version) {
    if (file.magic() != legacy::magicOf(kind, version)) return false;
    const sc::RecordSizes& sizes = sc::sizesOf(kind);
    const std::vector<uint8_t> texts = single(file, sc::kTextSection, sizes.texts);
    convertTexts(doc, {texts.data(), texts.size()}, kind);
    const std::vector<uint8_t> header = single(file, sc::kHeaderSection, sizes.header);
    convertHeader(doc, {header.data(), header.size()});
    const auto factions = oldFactions(file, sc::kFactionSection, sizes.faction);
    const SlotMap slots = slotMapOf(factions, sc::kParticipationAt);
    convertFactions(doc, factions, kind, slots);
    const std::vector<uint8_t> rules = single(file, sc::kRuleSection, sizes.rule);
    convertRules(doc, {rules.data(), rules.size()});
    convertCells(doc, file, kind, version, slots);
    convertLabels(doc, file, sc::kLabelSection, sizes.label,
                  kind == legacy::kModern ? sc::kLabel60 : sc::kLabel36);
    convertTroops(doc, file, sc::kFirstTroopSection, sizes.troop, slots);
    convertProductionLists(doc, file, kind, slots);
    doc.scenarioTexts.briefingPicture = file.blob(sc::pictureSection(kind));
    doc.scenarioTexts.endingPicture = file.blob(sc::pictureSection(kind) + 1);
    return true;
}

}  // namespace

bool readEarlierMap(MapDocument& doc, std::string_view bytes, const MapKindInfo& kind) {
    const size_t kept =
        kind.kind == legacy::kModern ? legacy::kModernHeaderKept : legacy::kHeaderKept;
    const std::optional<Container> file = Container::open(bytes, kept);
    if (!file) return false;
    switch (kind.kind) {
        case legacy::kRealTime: return readRealTime(doc, *file);
        case legacy::kEarlier:
        case legacy::kDeluxe:
        case legacy::kModern: return readScenarioKind(doc, *file, kind.kind, kind.version);
        default: return false;
    }
}

}  // namespace kv::import_detail
