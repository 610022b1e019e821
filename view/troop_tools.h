// The tools of the troop and reinforcement modes: place (onto the hex, stowed in its building or
// loaded into a carrier there), move and recall, and the troop context menu of the right
// button. Where a hex offers several choices the chooser asks first; every refusal is a
// message and leaves the map as it was.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "view/map_tool.h"

namespace kv {

class MapDocument;

// One line of the chooser.
struct TroopChooserEntry {
    enum Kind { Place, Stow, Load, Troop, Heading };
    Kind kind = Heading;
    int table = -1;  // the troop of Load and Troop lines
    int slot = -1;
    std::string text;  // UTF-8, as drawn
    bool operator==(const TroopChooserEntry&) const = default;
};

// Why the chooser opens: placing, choosing the troop of the context menu, of a recall, or the
// troop to move.
enum class ChooserMode { Place = 0, Menu = 1, Recall = 2, MoveTarget = 3, MoveSource = 5 };

// The troop context menu's entries; affiliation entries are kAffiliationItem + slot.
enum TroopMenuItem : int {
    kTroopProperties = 1,
    kTroopDetails,
    kTroopArmament,
    kTroopTransform,
    kTroopRegiment,
    kTroopRecall,
    kAffiliationItem = 1000,
};

// What the tools hand to the editor. The chooser opens at the view pixel and returns the
// index of the entry chosen, -1 for none; `troopCommand` opens the dialogs of the menu's
// first three entries.
struct TroopToolHooks {
    std::function<int(ToolHost&, const ToolPoint&, ChooserMode,
                      const std::vector<TroopChooserEntry>&)>
        chooser;
    std::function<void(ToolHost&, int table, int slot, int command)> troopCommand;
};

// "name  n": a troop's name and its unit count as the chooser lists it.
std::string troopLine(const MapDocument& doc, int table, int slot);
// The chooser's lines for a placement at the hex: place, stow in the building, load into
// each troop there (empty when the brush goes straight down).
std::vector<TroopChooserEntry> placementChoices(const MapDocument& doc, HexPos hex);
// The troops of the hex as chooser lines, the stowed ones under the building's name.
std::vector<TroopChooserEntry> troopChoices(const MapDocument& doc, HexPos hex);
// The context menu of a troop: its commands and the places of its division.
std::vector<ToolMenuItem> troopMenu(const MapDocument& doc, int table, int slot);

// Registers the place, move and delete tools of the troop and reinforcement modes.
void installTroopTools(ToolRouter& router, TroopToolHooks hooks = {});

}  // namespace kv
