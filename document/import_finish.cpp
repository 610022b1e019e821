// The import of an earlier edition's map as the document sees it: emptying the document,
// running the reader of the file's kind, and making the result a map of this editor.
#include <algorithm>

#include "document/import.h"
#include "document/import_records.h"
#include "document/map_document.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/prompter.h"

namespace kv {

namespace {

constexpr size_t kMaxImportBytes = size_t{1} << 30;
constexpr uint16_t kImportedProductionLimit = 198;
constexpr uint16_t kImportedWord48 = 200;
constexpr uint8_t kUnusedTerrain = 50;

// Anthems are handed out in slot order: 100 + m names entry m of the anthem list, whose name
// the record keeps, so the map settings and later loads find it.
void numberAnthems(MapDocument& doc) {
    const std::vector<std::string>& names = doc.gameDatabase.anthemNames();
    const size_t usable = std::min<size_t>(names.size(), 255 - FactionRecord::kFirstAnthem + 1);
    size_t next = 0;
    for (FactionRecord& f : doc.factions) {
        if (!f.takesPart()) continue;
        if (usable == 0) {
            f.setAnthem(0);
            f.setAnthemName("");
            continue;
        }
        const size_t m = next++ % usable;
        f.setAnthem(static_cast<uint8_t>(FactionRecord::kFirstAnthem + m));
        f.setAnthemName(names[m]);
    }
}

void finishFactions(MapDocument& doc) {
    numberAnthems(doc);
    const ProductionPreset& preset = doc.gameDatabase.presets().front();
    for (FactionRecord& f : doc.factions) {
        if (!f.takesPart()) continue;
        f.setPreset(preset.number);
        f.setShare(0, preset.airShare);
        f.setShare(1, preset.landShare);
        f.setShare(2, preset.seaShare);
        f.setDefaultDivisionLimits();
        if (f.productionCountLimit() == 0) f.setProductionCountLimit(kImportedProductionLimit);
        f.setWord48(kImportedWord48);
    }
}

void finishCells(MapDocument& doc) {
    const TerrainData& terrain = doc.gameDatabase;
    const int hexes = doc.area().hexCount();
    HexCell* const cells = doc.mapGrid.cells.data();
    for (int i = 0; i < hexes; ++i) {
        HexCell& c = cells[i];
        if (c.terrain == kUnusedTerrain) {
            c.terrain = kTerrainPlain;
            c.picture = terrain.terrain(kTerrainPlain).defaultPicture;
        }
        c.byte10 = 0;
        // One look-up serves both the category and the picture.
        const TerrainType& type = terrain.terrain(c.terrain);
        if (type.category < TerrainCategory::Building) c.picture = type.defaultPicture;
    }
}

int troopsInUse(const MapDocument& doc) {
    int n = 0;
    for (const auto& table : doc.troops.records)
        n += static_cast<int>(std::count_if(table.begin(), table.end(),
                                            [](const TroopRecord& t) { return t.inUse(); }));
    return n;
}

}  // namespace

void clearForImport(MapDocument& doc) {
    const int hexesInUse = doc.area().hexCount();
    doc.mapHeader.clear();
    doc.mapHeader.setMagic(kMapMagic);
    for (FactionRecord& f : doc.factions) f.clear();
    for (ProductionList& l : doc.productionLists) l = ProductionList();
    doc.evacuationTargets.clear();
    doc.mapGrid.clear(hexesInUse);
    doc.scenarioTexts.reset();
    const std::vector<RuleSet>& rules = doc.gameDatabase.ruleSets();
    doc.ruleSettings = rules.size() > 1 ? static_cast<const RuleSettings&>(rules[1])
                       : rules.empty()  ? RuleSettings{}
                                        : static_cast<const RuleSettings&>(rules[0]);
    for (int f = 0; f < kFactionCount; ++f) {
        for (int k = 0; k < kDivisionsPerFaction; ++k) {
            doc.divisions[f][k].clear();
            doc.divisions[f][k].setIndex(static_cast<uint8_t>(k));
        }
        for (int k = 0; k < kRegimentsPerFaction; ++k) {
            doc.regiments[f][k].clear();
            doc.regiments[f][k].setIndex(static_cast<uint8_t>(k));
        }
    }
    doc.troops.clear();
    // The imported map brings no user-defined weapons; those of the map before go.
    doc.userData.dropMapData();
    doc.removedWeapons.clear();
    doc.collectingRemovals = 0;
    doc.viewSettings.redrawGrid.reset(0, 0);
    doc.history.clear();
    doc.specChangedTroops = 0;
}

bool importEarlierMapBytes(MapDocument& doc, std::string_view bytes) {
    const MapKindInfo kind = detectMapKindBytes(bytes);
    if (kind.kind < legacy::kRealTime || kind.kind > legacy::kModern) return false;
    if (!import_detail::readEarlierMap(doc, bytes, kind)) return false;
    doc.mapGrid.packLabels();
    doc.rebuildLabelNumbers();
    doc.troops.recomputeCounts();
    return true;
}

bool importEarlierMap(MapDocument& doc, const std::string& path) {
    try {
        if (!fileExists(path)) throw swCFileError(swCFileError::Open, path);
        const std::optional<std::string> bytes = readWholeFile(path, kMaxImportBytes);
        if (!bytes) throw swCFileError(swCFileError::Read, path);
        return importEarlierMapBytes(doc, *bytes);
    } catch (const swCError& e) {
        e.report();
        return false;
    }
}

void finishImport(MapDocument& doc, int /*kind*/) {
    finishFactions(doc);
    doc.refreshProductionLists();
    // The earlier editions numbered their own rule sets: a converted id names no rule file of
    // this game (83..99) or a different one (100..102), so the map takes the first rule set,
    // as a new map does, rather than claim rules it was not made for.
    const std::vector<RuleSet>& rules = doc.gameDatabase.ruleSets();
    doc.ruleSettings =
        rules.empty() ? RuleSettings{} : static_cast<const RuleSettings&>(rules.front());
    doc.mapHeader.setSize(doc.width(), doc.height());
    doc.mapHeader.clampTurnLimit();
    finishCells(doc);

    doc.recomputeDerivedHexData();
    doc.mapGrid.packLabels();
    doc.rebuildLabelNumbers();
    doc.troops.recomputeCounts();
    const int before = troopsInUse(doc);
    doc.rebuildTroopStacks();
    if (troopsInUse(doc) != before) doc.specChangedTroops = 1;
    doc.troops.recomputeCounts();
    if (doc.tool.editMode == kEditReinforcements) doc.rebuildReinforcementIndex();
    doc.renewRedrawGrid();
    doc.history.clear();
}

bool openEarlierMap(MapDocument& doc, const std::string& path) {
    doc.filePath.clear();
    const MapKindInfo kind = detectMapKind(path);
    clearForImport(doc);
    const bool read = importEarlierMap(doc, path);
    if (!read) {
        // Nothing of the file is in the document (the whole file is read before any record
        // is converted), so a new map is left rather than an emptied one.
        doc.resetToNewMap();
        doc.isClean = 1;
        return false;
    }
    finishImport(doc, kind.kind);
    doc.renewRedrawGrid();
    doc.isClean = 0;
    if (doc.specChangedTroops) {
        showMessage(kImportCautionCaption, kSpecChangedTroopsText);
        doc.specChangedTroops = 0;
    }
    return read;
}

}  // namespace kv
