// Writes the demo campaign: four small scenario maps of the user's Ardena against Loren,
// each built over the game data and checked, saved as the editor saves them, then chained
// (a first battle, a main and a fallback second battle, a final one) into one campaign file.
#include "sampledata/demo_campaign.h"

#include <array>
#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>

#include "document/map_check.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "document/troop_slots.h"
#include "framework/errors.h"
#include "framework/profile.h"
#include "sampledata/demo_build.h"
#include "sampledata/demo_maps.h"
#include "scenario/campaign_file.h"

namespace kv::sample {

namespace {

constexpr uint8_t kPlain = 1, kForest = 2, kHills = 4, kCapital = 31, kMediumCity = 33;
constexpr int kTankA = 1000, kIfv = 1020, kInfantry = 1220, kHeadquarters = 1250;
constexpr int kArmy = 1;
constexpr int kUser = 0, kEnemy = 1;  // faction slots

struct Link {
    uint8_t type;
    uint8_t target = 0;
};

struct Chapter {
    const char* name;
    const char* message;
    int width, height;
    HexPos userCapital, enemyCapital;
    const char* headline;  // at most 11 full-width characters
    const char* body;
    uint8_t rank;
    Link links[kLinkKinds];  // victory, draw, defeat
    uint8_t linkedFrom;
};

// Slot k of the campaign is chapter k.
const Chapter kChapters[] = {
    {"第一章「国境の町」",
     "国境の町ハルトを巡る最初の戦い。",
     16,
     12,
     {2, 6},
     {13, 5},
     "国境に敵部隊現る",
     "ローレン軍が国境を越え、町ハルトに迫っている。\n町を守り、敵の拠点を奪え。",
     0,
     {{kLinkMap, 1}, {kLinkRetry}, {kLinkMap, 2}},
     kNoCampaignSlot},
    {"第二章「川沿いの平原」",
     "ハルトの勝利に続き、平原を東へ進む。",
     20,
     14,
     {2, 7},
     {17, 6},
     "平原の決戦",
     "ハルトを守り抜いた我が軍は東へ進撃する。\n平原の敵拠点を制圧せよ。",
     1,
     {{kLinkMap, 3}, {kLinkMap, 2}, {kLinkRetry}},
     0},
    {"第二章「撤退戦」",
     "ハルトを失い、丘陵地帯で態勢を立て直す。",
     18,
     12,
     {3, 5},
     {15, 6},
     "丘陵への撤退",
     "ハルトは敵の手に落ちた。\n丘陵地帯で敵を食い止め、反撃の拠点を奪え。",
     1,
     {{kLinkMap, 3}, {kLinkEnd}, {kLinkEnd}},
     0},
    {"最終章「首都ローレン」",
     "敵の首都ローレンを攻略する最後の戦い。",
     22,
     16,
     {2, 8},
     {19, 7},
     "首都攻略作戦",
     "ついに敵の首都ローレンを目前にした。\n首都を占領し、戦争を終わらせよ。",
     2,
     {{kLinkEnding}, {kLinkRetry}, {kLinkEnd}},
     1},
};
constexpr int kChapterCount = static_cast<int>(std::size(kChapters));

TerrainBrush brush(const MapDocument& doc, uint8_t terrain, uint16_t owner = 0) {
    TerrainBrush b;
    b.valid = 1;
    b.terrainId = terrain;
    b.owner = owner;
    b.picture = static_cast<uint16_t>(doc.gameDatabase.terrain(terrain).defaultPicture);
    return b;
}

// Open plain around the capitals, a band of hills across the middle, scattered forest.
uint8_t groundAt(const Chapter& c, int col, int row) {
    for (HexPos capital : {c.userCapital, c.enemyCapital})
        if (hexDistance(capital, {col, row}) <= 2) return kPlain;
    if (col == c.width / 2 && row % 3 != 1) return kHills;
    return (col * 5 + row * 3) % 11 == 0 ? kForest : kPlain;
}

void paintCountry(MapDocument& doc, const Chapter& c) {
    doc.mapHeader.setSize(c.width, c.height);
    doc.mapGrid.clear();
    doc.renewRedrawGrid();
    for (int row = 0; row < c.height; ++row)
        for (int col = 0; col < c.width; ++col)
            doc.setTerrain(col, row, brush(doc, groundAt(c, col, row)));
    doc.setTerrain(c.userCapital.col, c.userCapital.row, brush(doc, kCapital, kUser + 1));
    doc.setTerrain(c.enemyCapital.col, c.enemyCapital.row, brush(doc, kCapital, kEnemy + 1));
    doc.setTerrain(c.width / 2 + 1, c.height - 3, brush(doc, kMediumCity));
    doc.history.clear();
}

// A troop of the army's directly attached units on the first free hex near `near` where its
// weapon may stand.
std::string stand(MapDocument& doc, int f, int slot, int weapon, HexPos near) {
    TroopRecord& t = *doc.troopAt(f, slot);
    t.clear();
    t.setAppearanceTurn(1);
    t.setName(doc.gameDatabase.weapon(weapon).name());
    t.setWeaponId(static_cast<uint16_t>(weapon));
    t.setDivision(static_cast<uint8_t>(slots::divisionOf(slot)));
    doc.troops.raiseCount(f, slot);
    if (!doc.isWeaponInProduct(weapon)) return "demo campaign: a weapon not in the product";
    const int move = doc.gameDatabase.weapon(weapon).movementType();
    const std::optional<HexPos> h = searchRings(doc.area(), near, [&](HexPos p) {
        const HexCell& cell = *doc.cellAt(p.col, p.row);
        if (doc.gameDatabase.hexMoveCost({cell.terrain, cell.roadLinks, cell.river, 0}, move) == 0)
            return false;
        return doc.overlayAt(p.col, p.row)->stackTable[doc.stackPositionFor(t)] == 0;
    });
    if (!h) return "demo campaign: no hex for a troop";
    t.setPosition(h->col, h->row);
    if (!doc.enterTroopInStack(f, slot)) return "demo campaign: stack taken";
    return {};
}

std::string placeForces(MapDocument& doc, const Chapter& c) {
    struct Nation {
        const char* name;
        uint8_t participation;
        int32_t funds;
        HexPos capital;
        std::array<int, 4> weapons;
    };
    const Nation nations[] = {
        {"アルデナ共和国",
         kFactionUser,
         30000,
         c.userCapital,
         {kHeadquarters, kTankA, kTankA, kInfantry}},
        {"北ローレン連邦",
         kFactionComputer,
         30000 + 10000 * c.rank,
         c.enemyCapital,
         {kHeadquarters, kTankA, kIfv, kInfantry}},
    };
    for (int f = kUser; f <= kEnemy; ++f) {
        const Nation& n = nations[f];
        FactionRecord& r = doc.factions[size_t(f)];
        r.setName(demo::cp932(n.name));
        r.setParticipation(n.participation);
        r.setFunds(n.funds);
        r.setVictory(0, 1);  // take the enemy's victory buildings
        int slot = slots::directSlot(kArmy, 0);
        for (int weapon : n.weapons)
            if (std::string e = stand(doc, f, slot++, weapon, n.capital); !e.empty()) return e;
        if (!doc.setLabel(n.capital.col, n.capital.row, demo::cp932(f == kUser ? "首都" : "敵拠点"),
                          1, 0))
            return "demo campaign: label not placed";
    }
    doc.troops.recomputeCounts();
    doc.history.clear();
    return {};
}

void writeTexts(MapDocument& doc, const Chapter& c) {
    doc.mapHeader.setMapName(demo::cp932(c.name));
    doc.mapHeader.setMessage(demo::cp932(c.message));
    doc.mapHeader.setTurnLimit(20);
    doc.mapHeader.setOperationRank(c.rank);
    ScenarioTexts& s = doc.scenarioTexts;
    using F = ScenarioTexts;
    s.setField(F::BriefingHeadline, demo::cp932(c.headline));
    s.setField(F::BriefingBody, demo::cp932(c.body));
    s.setField(F::VictoryText,
               demo::cp932("勝利条件：敵の拠点を占領する。\n敗北条件：首都を失う。"));
    s.setField(F::FactionsText, demo::cp932("アルデナ共和国（ＢＬＵＥ）　プレイヤー\n"
                                            "北ローレン連邦（ＲＥＤ）　　コンピュータ"));
    s.setBriefingMode(1);
    s.setOrderMode(0);
}

std::string buildChapter(MapDocument& doc, const Chapter& c, const std::string& path) {
    doc.resetToNewMap();
    paintCountry(doc, c);
    if (std::string e = placeForces(doc, c); !e.empty()) return e;
    writeTexts(doc, c);
    doc.recomputeDerivedHexData();
    const std::vector<MapProblem> problems = checkMap(doc);
    if (!problems.empty())
        return std::string("the demo campaign map ") + c.name + " fails the map check:\n" +
               checkReportLines(problems);
    doc.prepareForSave();
    writeMapFile(doc, path, MapFileKind::Scenario);
    return {};
}

std::string writeCampaign(MapDocument& doc, const std::string& folder) {
    CampaignData data = CampaignData::newCampaign();
    data.setName(demo::cp932("アルデナ防衛戦役"));
    data.setUserFaction(kUser);
    CampaignSources sources;
    for (int k = 0; k < kChapterCount; ++k) {
        const Chapter& c = kChapters[k];
        const std::string path = folder + "campaign/chapter" + std::to_string(k + 1) + ".kvs";
        if (std::string e = buildChapter(doc, c, path); !e.empty()) return e;
        CampaignMap entry;
        entry.setMapName(doc.mapHeader.mapName());
        for (int kind = 0; kind < kLinkKinds; ++kind)
            entry.setLink(kind, c.links[kind].type, c.links[kind].target);
        entry.setLinkedFrom(c.linkedFrom);
        data.setMap(k, entry);
        data.setOperatingRank(k, c.rank);
        sources[size_t(k)] = {.used = true, .sourcePath = path};
    }
    const GatheredCampaignMaps maps = gatherCampaignMaps(sources, {});
    if (!maps.missing.empty()) return "demo campaign: a chapter's map file is missing";
    CampaignSlotsUsed used{};
    for (int k = 0; k < kChapterCount; ++k) used[size_t(k)] = true;
    updateCampaignCounts(data, used);
    writeCampaignFile(folder + "demo_campaign.kvc", data, maps.maps);
    return {};
}

}  // namespace

std::string writeDemoCampaign(const std::string& root) {
    return withDemoDocument(root, "map/campaign", "demo campaign", [&](MapDocument& doc) {
        doc.loadResources();
        return writeCampaign(doc, root + "/map/");
    });
}

}  // namespace kv::sample
