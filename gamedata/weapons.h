// The armament and weapon tables of the game database: loading warm.dat and weapon.dat,
// lookups by weapon id and armament number, and the per-weapon queries other code uses.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "gamedata/weapon_enums.h"
#include "gamedata/weapon_records.h"

namespace kv {

class WeaponData {
public:
    static constexpr int kWeaponIndexSize = 15000;
    static constexpr int kArmamentIndexSize = 60000;
    // Weapon ids from here on belong to the first and second user weapon tables.
    static constexpr int kFirstUserWeaponId = 5000;
    static constexpr int kSecondUserWeaponId = 10000;
    // Armament numbers from here on belong to the first and second user armament tables.
    static constexpr int kFirstUserArmament = 20000;
    static constexpr int kSecondUserArmament = 40000;
    // The picture shown for a towed alternate: picture kTowedPictures[i].second for type
    // kTowedPictures[i].first.
    static constexpr std::pair<int, int> kTowedPictures[] = {{25, 57}, {27, 58}, {29, 59}, {31, 60},
                                                             {32, 61}, {33, 62}, {35, 63}};
    // Weapon-type pictures run from 0 to this count - 1.
    static constexpr int kWeaponPictureCount = 64;

    WeaponData();

    // warm.dat and weapon.dat of the program folder. A missing file is reported (caption
    // "警告") and raises swCFileError(Open); an unreadable one raises swCFileError(Read)
    // unreported. Bad content never fails a load.
    void loadArmaments();
    void loadWeapons();
    // The same for files anywhere (tools, fuzzing).
    void loadArmamentsFrom(const std::string& path);
    void loadWeaponsFrom(const std::string& path);
    // Appends the data lines of a file's content. A weapon naming an armament that does not
    // exist is reported with the weapon's name as caption, and loading goes on.
    void readArmaments(std::string_view bytes);
    void readWeapons(std::string_view bytes);

    // Standard tables in file order; armament number n is armaments()[n - 1].
    const std::vector<ArmamentRecord>& armaments() const { return armaments_; }
    const std::vector<WeaponRecord>& weapons() const { return weapons_; }
    // Index entries; 0 for an id or number out of range.
    uint16_t weaponIndex(int id) const;
    uint16_t armamentIndex(int number) const;
    bool hasWeapon(int id) const { return weaponIndex(id) != 0; }

    // The record of a weapon id or armament number from the table its range selects, or an
    // all-zero record when there is none.
    const WeaponRecord& weapon(int id) const;
    const ArmamentRecord& armament(int number) const;
    // The number of the armament whose name and short name (CP932) both match exactly, or 0.
    // Searches the standard table, then the first user table, and with `widen` the second;
    // the number `skip` is passed over.
    int findArmament(std::string_view name, std::string_view shortName, bool widen = false,
                     int skip = 0) const;

    // User-defined weapons (ids 5000-14999) and armaments (numbers 20000-59999) brought by
    // product data and maps. A record already stored under the id or number is replaced.
    // False, and nothing stored, for an id or number outside those ranges.
    bool storeUserWeapon(const WeaponRecord& record);
    bool storeUserArmament(int number, const ArmamentRecord& record);
    void clearUserTables();
    // Table 0 or 1; an empty table for anything else.
    const std::vector<WeaponRecord>& userWeapons(int table) const;
    const std::vector<ArmamentRecord>& userArmaments(int table) const;

    // Queries by weapon id (an unknown id answers for the all-zero record).
    int targetClass(int id) const { return weapon(id).targetClass(); }
    int attackClass(int id) const { return weapon(id).attackClass(); }
    int branch(int id) const { return weapon(id).branch(); }
    int weaponCategory(int id) const { return weapon(id).weaponCategory(); }
    int maxSight(int id) const { return weapon(id).maxSight(); }
    bool hasArmament(int id, int slot) const { return weapon(id).hasArmament(slot); }
    int slotRounds(int id, int slot) const { return weapon(id).slotRounds(slot); }
    // The armament of a slot (all-zero when empty).
    const ArmamentRecord& slotArmament(int id, int slot) const;
    int slotAttack(int id, int slot, int targetClass) const;
    int slotPower(int id, int slot) const { return slotArmament(id, slot).power; }
    int slotKind(int id, int slot) const { return slotArmament(id, slot).kind; }

    // A weapon with a linked weapon whose first group's divisor is below the linked
    // weapon's: the towed (travelling) form of a transforming pair.
    bool isTowedAlternate(int id) const;
    // The weapon-type picture: the weapon type, or for a towed alternate asked for its towed
    // picture, the towed variant of its type.
    int weaponPicture(int id, bool towed) const;

private:
    void appendArmament(const ArmamentRecord& record);
    void appendWeapon(WeaponRecord record);
    void resolveSlots(WeaponRecord& record) const;
    static std::string lookupKey(std::string_view name, std::string_view shortName);

    std::vector<ArmamentRecord> armaments_;
    std::vector<WeaponRecord> weapons_;
    std::vector<uint16_t> armamentIndex_;
    std::vector<uint16_t> weaponIndex_;
    std::vector<WeaponRecord> userWeapons_[2];
    std::vector<ArmamentRecord> userArmaments_[2];
    // (name, short name) to the first standard armament number carrying them.
    std::unordered_map<std::string, uint16_t> firstArmament_;
};

}  // namespace kv
