// Writing maps in the earlier editions' formats, record by record from their layouts.
#include "document/legacy_writer.h"

#include <algorithm>
#include <cstring>

#include "document/scenario_texts.h"
#include "framework/byte_cursor.h"
#include "framework/cp932.h"

namespace kv {

namespace {

namespace rt = legacy::rt;
namespace sc = legacy::sc;

// One fixed-size little-endian record.
struct Record {
    std::string bytes;
    explicit Record(size_t size) : bytes(size, '\0') {}
    void u8(size_t at, uint8_t v) { bytes[at] = static_cast<char>(v); }
    void u16(size_t at, uint16_t v) { storeU16(&bytes[at], v); }
    void u32(size_t at, uint32_t v) { storeU32(&bytes[at], v); }
    // Text cut at a character boundary to the field's width (a full field has no NUL).
    void text(size_t at, size_t width, const std::string& cp932) {
        const std::string cut = cutToBytes(cp932, width);
        std::memcpy(&bytes[at], cut.data(), cut.size());
    }
};

struct Section {
    uint32_t recordSize = 0;
    uint32_t count = 0;
    std::string bytes;
};

void add(Section& s, const Record& r) {
    s.recordSize = static_cast<uint32_t>(r.bytes.size());
    ++s.count;
    s.bytes += r.bytes;
}

std::string container(const std::string& magic, const std::vector<Section>& sections) {
    const size_t headerSize = 20 + 12 * sections.size();
    std::string file;
    ByteAppender out(file);
    out.text(magic, 16);
    out.u32(static_cast<uint32_t>(headerSize));
    uint32_t at = static_cast<uint32_t>(headerSize);
    for (const Section& s : sections) {
        out.u32(at);
        out.u32(s.recordSize);
        out.u32(s.count);
        at += static_cast<uint32_t>(s.bytes.size());
    }
    for (const Section& s : sections) out.bytes(s.bytes);
    return file;
}

Record ruleRecord(const LegacyMap& m) {
    Record r(52);
    r.u8(0, m.ruleId);
    for (size_t i = 0; i < m.ruleValues.size(); ++i) r.u8(i + 1, m.ruleValues[i]);
    return r;
}

Record labelRecord(const LegacyLabel& l, size_t size, const sc::LabelLayout& layout) {
    Record r(size);
    r.text(0, layout.textSize, l.text);
    if (layout.wideCoordinates) {
        r.u16(layout.colAt, static_cast<uint16_t>(l.col));
        r.u16(layout.rowAt, static_cast<uint16_t>(l.row));
    } else {
        r.u8(layout.colAt, static_cast<uint8_t>(l.col));
        r.u8(layout.rowAt, static_cast<uint8_t>(l.row));
    }
    r.u8(layout.kindAt, l.kind);
    r.u8(layout.valueAt, l.value);
    return r;
}

// --- kind 1 -----------------------------------------------------------------------------------

std::string realTimeBytes(const LegacyMap& m) {
    std::vector<Section> s(rt::kSectionCount);
    Record h(rt::kHeaderSize);
    h.text(rt::kNameAt, rt::kNameSize, m.name);
    h.u16(rt::kWidthAt, static_cast<uint16_t>(m.width));
    h.u16(rt::kHeightAt, static_cast<uint16_t>(m.height));
    h.u16(rt::kTurnLimitAt, static_cast<uint16_t>(m.turnLimit));
    h.u8(rt::kDifficultyAt, m.difficulty);
    h.u8(rt::kIncomeAt, m.buildingIncome);
    h.text(rt::kMessageAt, rt::kMessageSize, m.message);
    add(s[rt::kHeaderSection], h);
    for (const LegacyFaction& f : m.factions) {
        Record r(rt::kFactionSize);
        r.text(rt::kFactionNameAt, rt::kFactionNameSize, f.name);
        r.u8(rt::kParticipationAt, f.participation);
        r.u8(rt::kBehaviourAt, f.behaviour);
        r.u8(rt::kAlliancesAt, f.alliances);
        r.u8(rt::kProductionTypeAt, f.productionType);
        r.u32(rt::kFundsAt, static_cast<uint32_t>(f.funds));
        r.u16(rt::kProductionLimitAt, f.productionCountLimit);
        add(s[rt::kFactionSection], r);
    }
    add(s[rt::kRuleSection], ruleRecord(m));
    for (const HexCell& c : m.cells) {
        Record r(rt::kCellSize);
        r.u8(rt::kCellTerrainAt, c.terrain);
        r.u8(rt::kCellOwnerAt, c.owner);
        r.u16(rt::kCellPictureAt, c.picture);
        r.u8(rt::kCellRoadAt, c.roadLinks);
        r.u8(rt::kCellRiverAt, c.river);
        r.u8(rt::kCellTerritoryAt, c.territory);
        r.u8(rt::kCellDestroyedAt, c.destroyed);
        add(s[rt::kCellSection], r);
    }
    s[rt::kCellSection].recordSize = rt::kCellSize;
    s[rt::kLabelSection].recordSize = rt::kLabelSize;
    for (const LegacyLabel& l : m.labels)
        add(s[rt::kLabelSection], labelRecord(l, rt::kLabelSize,
                                              {rt::kLabelTextSize, rt::kLabelColAt, rt::kLabelRowAt,
                                               rt::kLabelKindAt, rt::kLabelValueAt, false}));
    return container(legacy::magicOf(m.kind, m.version), s);
}

// --- kinds 2..4 -------------------------------------------------------------------------------

Record textRecord(const LegacyMap& m, const sc::RecordSizes& sizes) {
    Record r(sizes.texts);
    const bool earlier = m.kind == legacy::kEarlier;
    for (size_t f = 0; f < 9; ++f) {
        const sc::TextPlace p = earlier ? sc::kEarlierTexts[f]
                                        : sc::TextPlace{ScenarioTexts::kFields[f].offset,
                                                        ScenarioTexts::kFields[f].size};
        r.text(p.offset, p.size - 1, m.texts[f]);
    }
    for (size_t i = 0; i < 3; ++i) r.u8(sizes.texts - 3 + i, m.displayBytes[i]);
    return r;
}

Record headerRecord(const LegacyMap& m, size_t size) {
    Record h(size);
    h.text(0, 16, legacy::magicOf(m.kind, m.version));
    h.text(sc::kMessageAt, sc::kMessageSize, m.message);
    h.u16(sc::kWord528At, m.word528);
    h.u8(sc::kByte530At, m.byte530);
    h.u8(sc::kByte531At, m.byte531);
    h.u8(sc::kIncomeAt, m.buildingIncome);
    h.u8(sc::kByte534At, m.byte534);
    h.u8(sc::kDifficultyAt, m.difficulty);
    h.u16(sc::kTurnLimitAt, static_cast<uint16_t>(m.turnLimit));
    h.text(sc::kNameAt, sc::kNameSize, m.name);
    h.u16(sc::kWord578At, m.word578);
    h.u16(sc::kWidthAt, static_cast<uint16_t>(m.width));
    h.u16(sc::kHeightAt, static_cast<uint16_t>(m.height));
    return h;
}

Record factionRecord(const LegacyFaction& f, int kind, size_t size) {
    Record r(size);
    r.text(sc::kFactionNameAt, sc::kFactionNameSize, f.name);
    r.u8(sc::kBehaviourAt, f.behaviour);
    r.u8(sc::kParticipationAt, f.participation);
    r.u8(sc::kAlliancesAt, f.alliances);
    r.u8(sc::kProductionTypeAt, f.productionType);
    r.u8(sc::kAnthemAt, f.anthem);
    r.u32(sc::kFundsAt, static_cast<uint32_t>(f.funds));
    if (kind == legacy::kEarlier) {
        for (size_t i = 0; i < sc::kEarlierVictoryBytes; ++i)
            r.u8(sc::kVictoryAt + i, f.victory[i]);
        r.u8(sc::kEarlierByte57At, f.victory[4]);
        r.u16(sc::kEarlierProductionLimitAt, f.productionCountLimit);
        r.text(sc::kEarlierAnthemNameAt, sc::kAnthemNameSize - 1, f.anthemName);
        return r;
    }
    for (size_t i = 0; i < f.victory.size(); ++i) r.u8(sc::kVictoryAt + i, f.victory[i]);
    r.u16(sc::kProductionLimitAt, f.productionCountLimit);
    r.u8(sc::kFactionBitsAt, f.factionBits);
    r.text(sc::kAnthemNameAt, sc::kAnthemNameSize - 1, f.anthemName);
    if (kind == legacy::kDeluxe) r.u8(sc::kPresetAt, f.preset);
    return r;
}

Record troopRecord(const LegacyTroop& t, size_t size) {
    Record r(size);
    r.u32(sc::kTroopTurnAt, static_cast<uint32_t>(t.turn));
    r.text(sc::kTroopNameAt, sc::kTroopNameSize, t.name);
    r.u16(sc::kTroopWeaponAt, t.weaponId);
    r.u8(sc::kTroopColAt, t.col);
    r.u8(sc::kTroopRowAt, t.row);
    r.u8(sc::kTroopGroupAt, t.group);
    for (size_t i = 0; i < sc::kTroopSlotValues; ++i)
        r.u8(sc::kTroopSlotValuesAt + i, t.slotValues[i]);
    r.u16(sc::kTroopGroupWordAt, t.groupWord);
    r.u16(sc::kTroopFlagsAt, t.flags);
    for (size_t i = 0; i < sc::kTroopCargoEntries; ++i)
        r.u16(sc::kTroopCargoAt + 2 * i, t.cargo[i]);
    r.u16(sc::kTroopCarrierSlotAt, t.carrierSlotPlusOne);
    r.u8(sc::kTroopCarrierTableAt, t.carrierFactionPlusOne);
    return r;
}

Record listRecord(const LegacyProductionList& l, int kind, size_t size) {
    Record r(size);
    r.text(0, sc::kListNameSize - 1, l.name);
    const size_t set = kind == legacy::kEarlier ? sc::kListNameSize : sc::kListNameSize + 2;
    if (kind != legacy::kEarlier) r.u16(sc::kListNameSize, l.typeValue);
    for (int id : l.weaponIds) {
        if (id < 0 || id >= static_cast<int>(sc::kListSetBytes * 8)) continue;
        const size_t at = set + static_cast<size_t>(id) / 8;
        r.u8(at, static_cast<uint8_t>(static_cast<uint8_t>(r.bytes[at]) | 1u << (id % 8)));
    }
    return r;
}

Section blobSection(const std::vector<uint8_t>& bytes) {
    Section s;
    s.recordSize = static_cast<uint32_t>(bytes.size());
    s.count = 1;
    s.bytes.assign(bytes.begin(), bytes.end());
    return s;
}

std::string scenarioKindBytes(const LegacyMap& m) {
    const sc::RecordSizes& sizes = sc::sizesOf(m.kind);
    std::vector<Section> s(static_cast<size_t>(sc::sectionCount(m.kind)));
    const bool hasTexts = std::any_of(m.texts.begin(), m.texts.end(),
                                      [](const std::string& t) { return !t.empty(); }) ||
                          m.displayBytes != std::array<uint8_t, 3>{};
    if (hasTexts) add(s[sc::kTextSection], textRecord(m, sizes));
    add(s[sc::kHeaderSection], headerRecord(m, sizes.header));
    for (const LegacyFaction& f : m.factions)
        add(s[sc::kFactionSection], factionRecord(f, m.kind, sizes.faction));
    add(s[sc::kRuleSection], ruleRecord(m));
    Section& cells = s[sc::kCellSection];
    cells.recordSize = sizeof(HexCell);
    cells.count = static_cast<uint32_t>(m.cells.size());
    cells.bytes.assign(reinterpret_cast<const char*>(m.cells.data()),
                       m.cells.size() * sizeof(HexCell));
    const sc::LabelLayout& layout = m.kind == legacy::kModern ? sc::kLabel60 : sc::kLabel36;
    s[sc::kLabelSection].recordSize = static_cast<uint32_t>(sizes.label);
    for (const LegacyLabel& l : m.labels)
        add(s[sc::kLabelSection], labelRecord(l, sizes.label, layout));
    for (int f = 0; f < legacy::kOldFactions; ++f) {
        Section& troops = s[static_cast<size_t>(sc::kFirstTroopSection + f)];
        troops.recordSize = static_cast<uint32_t>(sizes.troop);
        for (const LegacyTroop& t : m.troops[static_cast<size_t>(f)])
            add(troops, troopRecord(t, sizes.troop));
    }
    for (const LegacyProductionList& l : m.productionLists)
        add(s[sc::kListSection], listRecord(l, m.kind, sizes.list));
    const size_t pictures = static_cast<size_t>(sc::pictureSection(m.kind));
    s[pictures] = blobSection(m.briefingPicture);
    s[pictures + 1] = blobSection(m.endingPicture);
    return container(legacy::magicOf(m.kind, m.version), s);
}

}  // namespace

LegacyMap blankLegacyMap(int kind, int version, int width, int height, uint8_t terrain,
                         uint16_t picture) {
    LegacyMap m;
    m.kind = kind;
    m.version = version;
    m.width = width;
    m.height = height;
    HexCell c{};
    c.terrain = terrain;
    c.picture = picture;
    m.cells.assign(static_cast<size_t>(std::max(0, width * height)), c);
    return m;
}

std::string legacyMapBytes(const LegacyMap& map) {
    return map.kind == legacy::kRealTime ? realTimeBytes(map) : scenarioKindBytes(map);
}

}  // namespace kv
