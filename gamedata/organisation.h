// The fixed names of the military organisation (divisions, regiments, commander titles),
// the choice of a regiment's commander and the messages of gathering and deploying.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kv {

constexpr size_t kDivisionKindCount = 3;                   // air, army, navy
constexpr size_t kRegimentCount = 6;                       // regiments per division
constexpr size_t kRegimentNameCount = kRegimentCount + 1;  // and the directly attached group
constexpr size_t kCommanderTitleCount = 6;

// The names as UTF-8 text; empty for an index outside the list.
std::string_view divisionKindName(size_t kind);
// 0 to 5 the numbered regiments, 6 the troops directly under the division.
std::string_view regimentName(size_t regiment);
std::string_view commanderTitle(size_t title);

// What choosing a commander needs to know of one member of a regiment.
struct RegimentMember {
    bool gathered = false;  // troop flag 0x0010
    bool loaded = false;    // loaded in a carrier (troop flag 0x0002)
};

// The member (index into `members`, in member order) that commands the regiment: the first
// gathered member not loaded, else the last gathered member, else the first member neither
// gathered nor loaded, else the first member. Nothing when there are no members.
std::optional<size_t> chooseCommander(std::span<const RegimentMember> members);

// The text with which gathering a regiment refuses when a member cannot stand at the
// commander's hex; the caller shows it.
std::string_view gatherRefusedText();
// Tells the user that deploying a regiment left some of its units undeployed.
void reportDeploymentIncomplete(const void* owner = nullptr);

}  // namespace kv
