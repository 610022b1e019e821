// Taking the scenario settings from a document, checking them and putting them back.
#include "document/map_settings.h"

#include <algorithm>
#include <bit>

#include "document/edit_operation.h"
#include "document/map_document.h"

namespace kv {

namespace {

constexpr uint8_t bit(int slot) {
    return static_cast<uint8_t>(1u << slot);
}

bool within(int64_t v, int64_t lo, int64_t hi) {
    return v >= lo && v <= hi;
}

template <typename T>
T narrowed(int64_t v, int64_t lo, int64_t hi) {
    return static_cast<T>(std::clamp(v, lo, hi));
}

}  // namespace

MapSettings mapSettingsOf(const MapDocument& doc) {
    MapSettings s;
    const MapHeader& h = doc.mapHeader;
    s.mapName = h.mapName();
    s.message = h.message();
    s.turnLimit = h.turnLimit();
    s.difficulty = h.difficulty();
    s.buildingIncome = h.buildingIncome();
    s.settingsLocked = h.settingsLocked();
    s.operationRank = h.operationRank();
    s.factions = doc.factions;
    s.productionLists = doc.productionLists;
    s.rules = doc.ruleSettings;
    return s;
}

void applyMapSettings(MapDocument& doc, const MapSettings& s) {
    EditOperation op(doc, EditOperation::History::NewStep, "マップ設定");
    op.change().wholeMap = true;
    op.change().troops = true;
    doc.history.recordSettings();
    setMapSettings(doc, s);
}

void setMapSettings(MapDocument& doc, const MapSettings& s) {
    MapHeader& h = doc.mapHeader;
    h.setMapName(s.mapName);
    h.setMessage(s.message);
    h.setTurnLimit(s.turnLimit);
    h.setDifficulty(s.difficulty);
    h.setBuildingIncome(s.buildingIncome);
    h.setSettingsLocked(s.settingsLocked);
    h.setOperationRank(s.operationRank);
    doc.factions = s.factions;
    doc.productionLists = s.productionLists;
    doc.ruleSettings = s.rules;
    doc.viewSettings.redrawGrid.markAllDirty();
}

int latestAppearanceTurn(const MapDocument& doc) {
    int latest = 0;
    for (const auto* set : {&doc.troops.records, &doc.troops.secondRecords})
        for (const std::vector<TroopRecord>& table : *set)
            for (const TroopRecord& t : table)
                if (t.inUse()) latest = std::max(latest, int{t.appearanceTurn()});
    return latest;
}

// --- numbers and checks ----------------------------------------------------------------------

FactionNumbers FactionNumbers::of(const FactionRecord& f) {
    FactionNumbers n;
    n.funds = f.funds();
    n.fundsLimit = f.fundsLimit();
    n.productionCountLimit = f.productionCountLimit();
    for (int i = 0; i < 3; ++i) n.shares[size_t(i)] = f.share(i);
    for (int i = 0; i < FactionRecord::kDivisionLimitCount; ++i)
        n.divisionLimits[size_t(i)] = f.divisionLimit(i);
    return n;
}

void FactionNumbers::storeInto(FactionRecord& f) const {
    f.setFunds(narrowed<int32_t>(funds, 0, INT32_MAX));
    f.setFundsLimit(narrowed<int32_t>(fundsLimit, 0, INT32_MAX));
    f.setProductionCountLimit(narrowed<uint16_t>(productionCountLimit, 0, 999));
    for (int i = 0; i < 3; ++i) f.setShare(i, narrowed<uint8_t>(shares[size_t(i)], 0, 100));
    for (int i = 0; i < FactionRecord::kDivisionLimitCount; ++i)
        f.setDivisionLimit(i, narrowed<uint8_t>(divisionLimits[size_t(i)], 0, 255));
}

std::string checkFactionRow(const FactionNumbers& n) {
    // Each share on its own first, so that 356 + 0 + 0 cannot wrap into a sum of 100.
    const bool sharesInRange =
        std::all_of(n.shares.begin(), n.shares.end(), [](int64_t s) { return within(s, 0, 100); });
    if (!sharesInRange || n.shares[0] + n.shares[1] + n.shares[2] != 100)
        return "生産割合の設定で空陸海の合計が100になるよう設定してください。";
    for (int d = 0; d < 3; ++d) {
        if (!within(n.divisionLimits[size_t(d)], 0, 6))
            return "各師団の最大連隊数は0～6までを指定してください。";
        if (!within(n.divisionLimits[size_t(d + 3)], 0, 30))
            return "各師団の最大部隊数は0～30までを指定してください。";
    }
    if (!within(n.divisionLimits[6], 0, 3)) return "USER連隊数は0～3までを指定してください。";
    if (!within(n.divisionLimits[7], 0, 6)) return "USER部隊数は0～6までを指定してください。";
    return {};
}

std::string checkFactionTotals(const std::array<FactionNumbers, kFactionCount>& numbers,
                               uint8_t participating, bool productionLimited) {
    for (int s = 0; s < kFactionCount; ++s) {
        if (!(participating & bit(s))) continue;
        const int64_t limit = numbers[size_t(s)].productionCountLimit;
        // Without the rule the number is kept, but it must still fit its field.
        if (!within(limit, productionLimited ? 1 : 0, 999))
            return "生産数制限には1～999までを指定してください。";
    }
    for (int s = 0; s < kFactionCount; ++s) {
        if (!(participating & bit(s))) continue;
        const FactionNumbers& n = numbers[size_t(s)];
        if (n.fundsLimit < n.funds || !within(n.funds, 0, INT32_MAX) ||
            !within(n.fundsLimit, 0, INT32_MAX))
            return "軍資金上限には資金より大きい金額を設定してください。";
    }
    return {};
}

std::string checkTurnLimit(int turnLimit, int latestTurn) {
    if (turnLimit == 0) return "ターン制限に０が設定されています。";
    if (latestTurn > turnLimit) return "ターン制限に増援ターン数以下の数値が設定されています。";
    return {};
}

// --- alliance groups -------------------------------------------------------------------------

uint8_t participatingSlots(const std::array<FactionRecord, kFactionCount>& factions) {
    uint8_t set = 0;
    for (int s = 0; s < kFactionCount; ++s)
        if (factions[size_t(s)].takesPart()) set |= bit(s);
    return set;
}

int memberCount(uint8_t set) {
    return std::popcount(set);
}

bool allianceBoxEnabled(uint8_t participating, int p, int j) {
    return j != p && (participating & bit(p)) && (participating & bit(j)) &&
           memberCount(participating) > 2;
}

void joinAlliance(AllianceGroups& g, uint8_t participating, int p, int j) {
    // A group read from a map need not hold its own slot; only factions that take part count.
    uint8_t b = static_cast<uint8_t>((bit(p) | bit(j) | g[size_t(p)] | g[size_t(j)]) &
                                     (participating | bit(p) | bit(j)));
    if (memberCount(b) >= memberCount(participating)) {
        // Everyone in one group would leave no enemy: the lowest other member goes alone.
        for (int s = 0; s < kFactionCount; ++s) {
            if (s == p || s == j || !(b & bit(s))) continue;
            g[size_t(s)] = bit(s);
            b = static_cast<uint8_t>(b & ~bit(s));
            break;
        }
    }
    for (int s = 0; s < kFactionCount; ++s)
        if (b & bit(s)) g[size_t(s)] = b;
}

void leaveAlliance(AllianceGroups& g, int p, int j) {
    g[size_t(j)] = bit(j);
    g[size_t(p)] = static_cast<uint8_t>(g[size_t(p)] & ~bit(j));
    for (int s = 0; s < kFactionCount; ++s)
        if (s != p && (g[size_t(p)] & bit(s))) g[size_t(s)] = g[size_t(p)];
}

void afterWithdrawal(AllianceGroups& g, uint8_t participating) {
    if (memberCount(participating) < 2) return;
    const int lowest = std::countr_zero(participating);
    if (memberCount(static_cast<uint8_t>(g[size_t(lowest)] & participating)) !=
        memberCount(participating))
        return;
    g[size_t(lowest)] = bit(lowest);
    for (int s = 0; s < kFactionCount; ++s)
        if (s != lowest) g[size_t(s)] = static_cast<uint8_t>(g[size_t(s)] & ~bit(lowest));
}

}  // namespace kv
