// What the steps of the map check share: the document, the problem list being filled, the
// faction relations and the text of each kind of finding.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "document/map_document.h"
#include "document/map_problem.h"

namespace kv::check {

class Context {
public:
    Context(const MapDocument& document, std::vector<MapProblem>& problems);

    const MapDocument& doc;
    const GameDatabase& db;
    std::vector<MapProblem>& out;

    bool takesPart(int slot) const { return doc.factions[slot].takesPart(); }
    bool isUser(int slot) const { return doc.isUserFaction(slot); }
    // Slot `other` is among the alliances of slot `slot` (a faction counts as its own ally).
    bool allied(int slot, int other) const;
    bool alliedWithUser(int slot) const;
    TerrainCategory category(const HexCell& cell) const { return categories_[cell.terrain]; }
    // The movement cost of the hex for a movement type; 0 impassable or off the map.
    int moveCost(int col, int row, int movementType) const;

    // The colour word that names a faction slot in the findings.
    static std::string factionName(int slot);
    // "第%d連隊" for regiments 0..5, "師団直属" for the directly attached group (6).
    static std::string regimentText(int regiment);
    static std::string divisionText(int division);

    void add(MapProblem p) { out.push_back(std::move(p)); }
    // A finding without arguments.
    void plain(uint16_t code);
    // A faction finding: the faction's name and, where the text has one, a count.
    void faction(uint16_t code, int slot, int count = 0);
    // A finding on a troop: faction, troop number, the troop's hex.
    void troop(uint16_t code, int table, int slot);
    // A finding on a hex: its column and row.
    void hex(uint16_t code, int col, int row);
    // An organisation finding of codes 36..41 on division `division` and regiment
    // `regiment` (6 for the directly attached group); `troopSlot` locates a troop, or -1.
    void organisation(uint16_t code, int slot, int division, int regiment, int troopSlot = -1);

private:
    std::array<TerrainCategory, 256> categories_{};
};

// The steps beyond the map-wide ones, each in its own file.
void checkTroops(Context& c, int faction);        // step 7, one faction taking part
void checkOrganisation(Context& c, int faction);  // step 8, one faction taking part
void checkCapacities(Context& c);                 // step 10

}  // namespace kv::check
