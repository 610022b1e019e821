// Regiments on the map: their members, the choice of their commander, gathering them at the
// commander's hex and deploying them around it again, and moving a troop to another place of
// its faction's organisation.
#pragma once

#include <vector>

namespace kv {

class MapDocument;

// The texts the callers show for a refused gathering and an incomplete deployment.
inline constexpr const char* kGatherRefusedText = "連隊長の地点へ配置不可能な部隊がいます。";
inline constexpr const char* kDeployIncompleteText = "すべての部隊を展開できませんでした。";

enum class RegimentResult {
    Done,
    NoCommander,  // the regiment has no troop at all (its record was cleared)
    Refused,      // gathering: a member cannot go to the commander's hex; nothing changed
    Incomplete,   // deploying: a member found no hex, so the regiment was gathered again
};

// The regiment record index 0..17 (6 × division + regiment) of a troop slot; -1 for a
// directly attached slot or one outside the divisions.
int regimentIndexOfSlot(int slot);
// The members of regiment `regiment` (0..17) of faction `faction` in slot order: its troops
// in use with at least one unit, leaving out those waiting in the list and those kept out of
// the stacks.
std::vector<int> regimentMembers(const MapDocument& doc, int faction, int regiment);
// The commander the rules choose among the members; when there are none, the first troop in
// use of the regiment's slots; -1 when it has no troop.
int commanderCandidate(const MapDocument& doc, int faction, int regiment);
// Chooses and stores the commander (recording the regiment for undo); with no troop at all the
// record is cleared (its own index kept) and -1 returned.
int chooseCommander(MapDocument& doc, int faction, int regiment);
// The troop menu offers gathering (true) rather than deploying: the regiment is formed and
// has a member that is not gathered.
bool regimentOffersGather(const MapDocument& doc, int faction, int regiment);

// Gathers the regiment at its commander's hex; one undo step.
RegimentResult gatherRegiment(MapDocument& doc, int faction, int regiment);
// Deploys a gathered regiment: each member on the first hex around the commander where it may
// stand; one undo step.
RegimentResult deployRegiment(MapDocument& doc, int faction, int regiment);

// Moves the troop in slot `from` to the place `to` of the faction's organisation, exchanging
// it with whatever troop is there; carrier links, stacks and the regiments' commanders
// follow. False (nothing changed) for the same slot or a slot that does not exist.
bool changeAffiliation(MapDocument& doc, int faction, int from, int to);

}  // namespace kv
