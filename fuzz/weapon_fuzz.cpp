// warm.dat and weapon.dat reading on arbitrary content, then every lookup and query over the
// tables read: never crashes, and every index entry names a record of the right id. The input
// holds warm.dat, a 0xFF byte and weapon.dat; without a 0xFF it serves as both files.
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/prompter.h"
#include "gamedata/weapons.h"
#include "scratch_program.h"

using kvfuzz::expect;

namespace {

void checkWeapon(const kv::WeaponData& data, const kv::WeaponRecord& w) {
    expect(w.id() < kv::WeaponData::kFirstUserWeaponId);
    expect(data.weapon(w.id()).id() == w.id());
    expect(w.name().size() < kv::WeaponRecord::kNameSize);
    for (int s = -1; s <= kv::WeaponRecord::kSlotCount; ++s) {
        const int number = w.slotArmament(s);
        expect(number == 0 || static_cast<size_t>(number) <= data.armaments().size());
        for (int c = -1; c <= kv::kTargetClassCount; ++c) data.slotAttack(w.id(), s, c);
        data.slotPower(w.id(), s);
        data.slotKind(w.id(), s);
    }
    for (int g = -1; g <= kv::WeaponRecord::kGroupCount; ++g) w.groupShare(g, 1000);
    // Layers read from the file are names of the list, so the classes stay in range.
    const int target = data.targetClass(w.id());
    expect(target >= 0 && target < kv::kTargetClassCount);
    const int attacker = data.attackClass(w.id());
    expect(attacker >= 0 && attacker < kv::kAttackClassCount);
    expect(data.branch(w.id()) >= 0 && data.branch(w.id()) <= 2);
    expect(data.weaponCategory(w.id()) >= 0 && data.weaponCategory(w.id()) <= 4);
    // A repeated id answers with its last record.
    const int picture = data.weaponPicture(w.id(), true);
    expect(picture == data.weapon(w.id()).weaponType() || picture >= 57);
    data.maxSight(w.id());
}

constexpr size_t kCheckedWeapons = 32;

void readAndCheck(kv::WeaponData& data, const std::string& root, std::string_view warm,
                  std::string_view weapon, size_t size, uint64_t inputHash) {
    // The files are read as the bytes they hold: through the files for one input in eight
    // (by its length), directly otherwise, which is many times faster.
    if (size % 8 == 0) {
        try {
            kv::writeFileAtomically(root + "/warm.dat", warm);
            kv::writeFileAtomically(root + "/weapon.dat", weapon);
            data.loadArmaments();
            data.loadWeapons();
        } catch (const kv::swCError&) {
            std::abort();  // both files are there, so both must load
        }
    } else {
        data.readArmaments(warm);
        data.readWeapons(weapon);
    }
    expect(data.armaments().size() < kv::WeaponData::kFirstUserArmament);
    for (size_t n = 1; n <= data.armaments().size(); ++n) {
        expect(data.armamentIndex(static_cast<int>(n)) == n);
        const kv::ArmamentRecord& a = data.armament(static_cast<int>(n));
        expect(data.findArmament(a.nameText(), a.shortNameText()) <= static_cast<int>(n));
    }
    // Every record goes through the same queries, so a bounded sample of them (the first, the
    // last and up to 32 chosen by the input's hash) checks the same paths at a fraction of
    // the cost of checking each.
    const std::vector<kv::WeaponRecord>& weapons = data.weapons();
    if (weapons.size() <= kCheckedWeapons + 2) {
        for (const kv::WeaponRecord& w : weapons) checkWeapon(data, w);
    } else {
        checkWeapon(data, weapons.front());
        checkWeapon(data, weapons.back());
        uint64_t x = inputHash;
        for (size_t k = 0; k < kCheckedWeapons; ++k) {
            x = x * 6364136223846793005u + 1442695040888963407u;
            checkWeapon(data, weapons[size_t(x >> 33) % weapons.size()]);
        }
    }
    for (int id : {-1, 0, 4999, 5000, 10000, 14999, 15000, 65535}) {
        data.weapon(id);
        data.isTowedAlternate(id);
        data.weaponPicture(id, true);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string& root = kvfuzz::scratchProgram({});
    const std::string_view input(reinterpret_cast<const char*>(bytes), size);
    const size_t split = input.find('\xFF');
    const std::string_view warm = split == std::string_view::npos ? input : input.substr(0, split);
    const std::string_view weapon =
        split == std::string_view::npos ? input : input.substr(split + 1);
    const uint64_t inputHash = std::hash<std::string_view>{}(input);
    kv::RecordingPrompter prompts;
    kv::ScopedPrompter guard(&prompts);
    // A new table costs more than reading most inputs (its indices cover every id), so most
    // inputs use the run's table, set back to an empty one by assignment after each input
    // (which keeps the storage); one input in sixteen (by its length) gets a new table.
    static const kv::WeaponData empty;
    static kv::WeaponData reused;
    if (size % 16 == 4) {
        kv::WeaponData fresh;
        readAndCheck(fresh, root, warm, weapon, size, inputHash);
    } else {
        readAndCheck(reused, root, warm, weapon, size, inputHash);
        reused = empty;
    }
    return 0;
}
