// Loading and looking up the armament and weapon tables.
#include "gamedata/weapons.h"

#include <optional>

#include "framework/cp932.h"
#include "framework/data_paths.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/prompter.h"
#include "gamedata/text_table.h"

namespace kv {

namespace {

constexpr size_t kFileLimit = 64u << 20;
// Index entries are 16 bits wide, so a table never grows past this many records.
constexpr size_t kMaxWeaponRecords = 0xFFFF;

// warm.dat columns (0-based).
constexpr size_t kArmNameCol = 0, kArmShortNameCol = 1, kArmValue3Col = 2, kArmPowerCol = 3,
                 kArmValue14Col = 13, kArmKindCol = 14, kArmValue16Col = 15, kArmFlagsCol = 16,
                 kArmValue24Col = 23, kArmValue25Col = 24;
// Columns 5 to 13 hold the attack values in this order of target classes.
constexpr int kArmAttackOrder[] = {0, 1, 2, 3, 6, 4, 5, 7, 8};
constexpr uint8_t kArmFlagBits[] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x40, 0x80};

// weapon.dat columns (0-based).
constexpr size_t kIdCol = 0, kNameCol = 1, kSelectableCol = 2, kLayerCol = 3, kMovementCol = 4,
                 kTypeCol = 5, kValue8Col = 7, kMemberCountCol = 8, kMemberStrengthCol = 9,
                 kValue11Col = 10, kIcon12Col = 11, kIcon15Col = 14, kFlagsCol = 15,
                 kIcon23Col = 22, kFlag24Col = 23, kSightCol = 24, kLayerValuesCol = 27,
                 kValue31Col = 30, kCargoCol = 31, kTransportClassCol = 37, kLandingShipCol = 38,
                 kDefenceCol = 39, kFlags2Col = 42, kLinkedCol = 47, kSlotsCol = 48,
                 kGroupsCol = 68, kWord101Col = 100, kTypeIcon32Col = 101, kUnitIcon32Col = 102,
                 kPictureNumberCol = 103, kTypeIcon16Col = 104, kTypeIcon48Col = 105,
                 kUnitIcon16Col = 106, kUnitIcon48Col = 107;
constexpr uint16_t kWeaponFlagBits[] = {0x0040, 0x0080, 0x0100, 0x1000, 0x0400, 0x0800, 0x2000};
constexpr uint8_t kFlags2Bits[] = {0x02, 0x01, 0x04};

const ArmamentRecord kNoArmament{};
const WeaponRecord kNoWeapon;

ArmamentRecord parseArmament(const FieldRow& row) {
    ArmamentRecord a{};
    copyFieldText(a.name, sizeof a.name, row.text(kArmNameCol));
    copyFieldText(a.shortName, sizeof a.shortName, row.text(kArmShortNameCol));
    a.value3 = row.u8(kArmValue3Col);
    a.power = row.u8(kArmPowerCol);
    for (size_t i = 0; i < std::size(kArmAttackOrder); ++i) {
        a.attack[kArmAttackOrder[i]] = row.u8(kArmPowerCol + 1 + i);
    }
    a.value14 = row.u8(kArmValue14Col);
    a.kind = static_cast<uint8_t>(armamentKindNames().lookup(row.text(kArmKindCol)));
    a.value16 = row.u16(kArmValue16Col);
    for (size_t i = 0; i < std::size(kArmFlagBits); ++i) {
        if (row.circle(kArmFlagsCol + i)) a.flags |= kArmFlagBits[i];
    }
    a.value24 = row.u16(kArmValue24Col);
    a.value25 = row.u8(kArmValue25Col);
    return a;
}

// One value column fills the air layers, one the ground layer, one the sea layers.
template <typename Set>
void fillByBranch(const FieldRow& row, size_t firstCol, Set set) {
    for (int layer = 0; layer < kAltitudeLayerCount; ++layer) {
        const size_t col = firstCol + (layer < 3 ? 0 : layer == 3 ? 1 : 2);
        set(layer, row.u8(col));
    }
}

void parseCargo(const FieldRow& row, WeaponRecord& w) {
    for (int i = 0; i < WeaponRecord::kCargoSlotCount; ++i) {
        const uint8_t accepts = parseCargoSlot(row.text(kCargoCol + i));
        w.setCargoSlot(i, accepts);
        w.setCargoCapacity(i, accepts != 0 ? WeaponRecord::kCargoCapacity : 0);
    }
}

void parseDefence(const FieldRow& row, WeaponRecord& w) {
    const uint16_t air = row.u16(kDefenceCol);
    const uint16_t ground = row.u16(kDefenceCol + 1);
    const uint16_t sea = row.u16(kDefenceCol + 2);
    for (int c = 0; c < 3; ++c) w.setDefence(c, air);
    w.setDefence(static_cast<int>(TargetClass::HardArmour), ground);
    w.setDefence(static_cast<int>(TargetClass::SoftArmour), ground);
    w.setDefence(static_cast<int>(TargetClass::Ship), sea);
    w.setDefence(static_cast<int>(TargetClass::Submarine), sea);
}

void parseSlotsAndGroups(const FieldRow& row, WeaponRecord& w) {
    for (int s = 0; s < WeaponRecord::kSlotCount; ++s) {
        const size_t col = kSlotsCol + 4 * static_cast<size_t>(s);
        w.setSlotName(s, row.text(col));
        w.setSlotShortName(s, row.text(col + 1));
        w.setSlotRounds(s, row.u8(col + 2));
        w.setSlotValue(s, row.u16(col + 3));
    }
    for (int g = 0; g < WeaponRecord::kGroupCount; ++g) {
        const size_t col = kGroupsCol + 8 * static_cast<size_t>(g);
        for (int s = 0; s < WeaponRecord::kSlotCount; ++s) w.setGroupValue(g, s, row.u8(col + s));
        w.setGroupDivisor(g, row.u8(col + 5));
        w.setCountermeasure(g, row.u8(col + 6));
        w.setGroupWord(g, row.u16(col + 7));
    }
}

// The trailing columns: each present one is read, the first missing one and all after it
// take their defaults.
void parseOptional(const FieldRow& row, WeaponRecord& w) {
    w.setPictureNumber(w.id());
    w.setTypeIcon16(w.typeIcon32());
    w.setTypeIcon48(w.typeIcon32());
    w.setUnitIcon16(w.unitIcon32());
    w.setUnitIcon48(w.unitIcon32());
    if (row.size() <= kPictureNumberCol) return;
    w.setPictureNumber(row.u16(kPictureNumberCol));
    if (row.size() <= kTypeIcon16Col) return;
    w.setTypeIcon16(row.u16(kTypeIcon16Col));
    if (row.size() <= kTypeIcon48Col) return;
    w.setTypeIcon48(row.u16(kTypeIcon48Col));
    if (row.size() <= kUnitIcon16Col) return;
    w.setUnitIcon16(row.u16(kUnitIcon16Col));
    if (row.size() <= kUnitIcon48Col) return;
    w.setUnitIcon48(row.u16(kUnitIcon48Col));
}

WeaponRecord parseWeapon(const FieldRow& row, uint16_t id) {
    WeaponRecord w;
    w.setId(id);
    w.setName(row.text(kNameCol));
    w.setSelectable(row.circle(kSelectableCol) ? 1 : 0);
    w.setLayer(static_cast<uint8_t>(altitudeLayerNames().lookup(row.text(kLayerCol))));
    w.setMovementType(static_cast<uint8_t>(movementTypeNames().lookup(row.text(kMovementCol))));
    w.setWeaponType(static_cast<uint8_t>(weaponTypeNames().lookup(row.text(kTypeCol))));
    w.setValue8(row.u8(kValue8Col));
    w.setMemberCount(row.u8(kMemberCountCol));
    w.setMemberStrength(row.u8(kMemberStrengthCol));
    w.setValue11(row.u16(kValue11Col));
    w.setIcon12(row.u8(kIcon12Col));
    w.setIcon13(row.u8(kIcon12Col + 1));
    w.setIcon14(row.u8(kIcon12Col + 2));
    w.setIcon15(row.u8(kIcon15Col));
    uint16_t flags = 0;
    for (size_t i = 0; i < std::size(kWeaponFlagBits); ++i) {
        if (row.circle(kFlagsCol + i)) flags |= kWeaponFlagBits[i];
    }
    w.setIcon23(row.u8(kIcon23Col));
    if (row.circle(kFlag24Col)) flags |= WeaponRecord::kFlag24;
    fillByBranch(row, kSightCol, [&](int l, uint8_t v) { w.setSight(l, v); });
    fillByBranch(row, kLayerValuesCol, [&](int l, uint8_t v) { w.setLayerValue(l, v); });
    w.setValue31(row.i32(kValue31Col));
    parseCargo(row, w);
    w.setTransportClass(transportClassByName(row.text(kTransportClassCol)));
    static const std::string landingShip = encodeCp932("揚陸艦").value_or("");
    if (!landingShip.empty() && row.text(kLandingShipCol) == landingShip) {
        flags |= WeaponRecord::kLandingShip;
    }
    w.setFlags(flags);
    parseDefence(row, w);
    uint8_t flags2 = 0;
    for (size_t i = 0; i < std::size(kFlags2Bits); ++i) {
        if (row.circle(kFlags2Col + i)) flags2 |= kFlags2Bits[i];
    }
    w.setFlags2(flags2);
    // The file names the linked weapon by id; the record keeps id + 1 so that 0 means none.
    const uint16_t linked = row.u16(kLinkedCol);
    w.setLinkedWeapon(linked != 0 ? static_cast<uint16_t>(linked + 1) : 0);
    parseSlotsAndGroups(row, w);
    w.setWord101(row.u16(kWord101Col));
    w.setTypeIcon32(row.u16(kTypeIcon32Col));
    w.setUnitIcon32(row.u16(kUnitIcon32Col));
    parseOptional(row, w);
    w.setDescriptionNumber(id);
    return w;
}

// The whole file. A missing one is reported to the user and raised as an open failure, an
// unreadable one (a folder, too large) as a read failure.
std::string readOrFail(const std::string& path, const char* missingText) {
    if (!fileExists(path)) {
        showMessage("警告", missingText, PromptIcon::Stop);
        throw swCFileError(swCFileError::Open, path);
    }
    std::optional<std::string> bytes = readWholeFile(path, kFileLimit);
    if (!bytes) throw swCFileError(swCFileError::Read, path);
    return std::move(*bytes);
}

}  // namespace

WeaponData::WeaponData()
    : armamentIndex_(kArmamentIndexSize, 0), weaponIndex_(kWeaponIndexSize, 0) {}

void WeaponData::loadArmaments() {
    loadArmamentsFrom(dataPath("warm.dat", DataKind::Program));
}

void WeaponData::loadWeapons() {
    loadWeaponsFrom(dataPath("weapon.dat", DataKind::Program));
}

void WeaponData::loadArmamentsFrom(const std::string& path) {
    readArmaments(readOrFail(path, "兵装データ warm.dat が見つかりません"));
}

void WeaponData::loadWeaponsFrom(const std::string& path) {
    readWeapons(readOrFail(path, "兵器データ weapon.dat が見つかりません"));
}

namespace {

// Hands each row of a data file whose first field is not empty to `take`, in order, until
// `take` answers false (its table is full).
template <class Take>
void forEachNamedRow(std::string_view bytes, Take take) {
    bool full = false;
    FieldRow row;
    forEachLine(bytes, [&](std::string_view line) {
        if (full) return;
        row.split(line);
        if (!row.text(0).empty()) full = !take(row);
    });
}

}  // namespace

void WeaponData::readArmaments(std::string_view bytes) {
    forEachNamedRow(bytes, [this](const FieldRow& row) {
        // Numbers from 20000 on address the user tables; the standard table stops short.
        if (armaments_.size() + 1 >= static_cast<size_t>(kFirstUserArmament)) return false;
        appendArmament(parseArmament(row));
        return true;
    });
}

void WeaponData::readWeapons(std::string_view bytes) {
    forEachNamedRow(bytes, [this](const FieldRow& row) {
        // Ids from 5000 on address the user tables, which share the index: a standard weapon
        // there would be unreachable and would clobber a user entry.
        const int64_t id = row.number(kIdCol);
        if (id < 0 || id >= kFirstUserWeaponId) return true;
        if (weapons_.size() >= kMaxWeaponRecords) return false;
        WeaponRecord w = parseWeapon(row, static_cast<uint16_t>(id));
        resolveSlots(w);
        appendWeapon(std::move(w));
        return true;
    });
}

void WeaponData::appendArmament(const ArmamentRecord& record) {
    armaments_.push_back(record);
    const auto number = static_cast<uint16_t>(armaments_.size());
    armamentIndex_[number] = number;
    firstArmament_.emplace(lookupKey(record.nameText(), record.shortNameText()), number);
}

void WeaponData::appendWeapon(WeaponRecord record) {
    record.setPosition(static_cast<uint16_t>(weapons_.size()));
    weapons_.push_back(record);
    weaponIndex_[record.id()] = static_cast<uint16_t>(weapons_.size());
}

void WeaponData::resolveSlots(WeaponRecord& w) const {
    for (int s = 0; s < WeaponRecord::kSlotCount; ++s) {
        const std::string name = w.slotName(s);
        if (name.empty()) continue;
        const std::string shortName = w.slotShortName(s);
        const int number = findArmament(name, shortName);
        w.setSlotArmament(s, static_cast<uint16_t>(number));
        if (number == 0) {
            showMessage(decodeCp932Lossy(w.name()), "一致する武装がみつかりませんでした。\n" +
                                                        decodeCp932Lossy(name) + " " +
                                                        decodeCp932Lossy(shortName));
        }
    }
}

std::string WeaponData::lookupKey(std::string_view name, std::string_view shortName) {
    std::string key(name);
    key += '\0';
    key += shortName;
    return key;
}

uint16_t WeaponData::weaponIndex(int id) const {
    return id >= 0 && id < kWeaponIndexSize ? weaponIndex_[id] : 0;
}

uint16_t WeaponData::armamentIndex(int number) const {
    return number >= 0 && number < kArmamentIndexSize ? armamentIndex_[number] : 0;
}

const WeaponRecord& WeaponData::weapon(int id) const {
    const size_t entry = weaponIndex(id);
    const std::vector<WeaponRecord>& table = id >= kSecondUserWeaponId  ? userWeapons_[1]
                                             : id >= kFirstUserWeaponId ? userWeapons_[0]
                                                                        : weapons_;
    return entry != 0 && entry <= table.size() ? table[entry - 1] : kNoWeapon;
}

const ArmamentRecord& WeaponData::armament(int number) const {
    const size_t entry = armamentIndex(number);
    const std::vector<ArmamentRecord>& table = number >= kSecondUserArmament  ? userArmaments_[1]
                                               : number >= kFirstUserArmament ? userArmaments_[0]
                                                                              : armaments_;
    return entry != 0 && entry <= table.size() ? table[entry - 1] : kNoArmament;
}

int WeaponData::findArmament(std::string_view name, std::string_view shortName, bool widen,
                             int skip) const {
    auto matches = [&](const ArmamentRecord& a) {
        return a.nameText() == name && a.shortNameText() == shortName;
    };
    const auto first = firstArmament_.find(lookupKey(name, shortName));
    if (first != firstArmament_.end() && first->second != skip) return first->second;
    if (first != firstArmament_.end()) {
        // The first match is skipped; a later one may still carry the same names.
        for (size_t i = first->second; i < armaments_.size(); ++i) {
            if (matches(armaments_[i])) return static_cast<int>(i + 1);
        }
    }
    auto searchUser = [&](int from, int to, const std::vector<ArmamentRecord>& table) {
        if (table.empty()) return 0;
        for (int n = from; n < to; ++n) {
            if (n != skip && armamentIndex_[n] != 0 && matches(armament(n))) return n;
        }
        return 0;
    };
    if (int n = searchUser(kFirstUserArmament, kSecondUserArmament, userArmaments_[0])) return n;
    if (widen) return searchUser(kSecondUserArmament, kArmamentIndexSize, userArmaments_[1]);
    return 0;
}

bool WeaponData::storeUserWeapon(const WeaponRecord& record) {
    const int id = record.id();
    if (id < kFirstUserWeaponId || id >= kWeaponIndexSize) return false;
    std::vector<WeaponRecord>& table = userWeapons_[id >= kSecondUserWeaponId ? 1 : 0];
    const uint16_t entry = weaponIndex_[id];
    if (entry != 0 && entry <= table.size()) {
        table[entry - 1] = record;
        return true;
    }
    if (table.size() >= kMaxWeaponRecords) return false;
    table.push_back(record);
    weaponIndex_[id] = static_cast<uint16_t>(table.size());
    return true;
}

bool WeaponData::storeUserArmament(int number, const ArmamentRecord& record) {
    if (number < kFirstUserArmament || number >= kArmamentIndexSize) return false;
    std::vector<ArmamentRecord>& table = userArmaments_[number >= kSecondUserArmament ? 1 : 0];
    const uint16_t entry = armamentIndex_[number];
    if (entry != 0 && entry <= table.size()) {
        table[entry - 1] = record;
        return true;
    }
    table.push_back(record);
    armamentIndex_[number] = static_cast<uint16_t>(table.size());
    return true;
}

void WeaponData::clearUserTables() {
    for (int id = kFirstUserWeaponId; id < kWeaponIndexSize; ++id) weaponIndex_[id] = 0;
    for (int n = kFirstUserArmament; n < kArmamentIndexSize; ++n) armamentIndex_[n] = 0;
    for (auto& t : userWeapons_) t.clear();
    for (auto& t : userArmaments_) t.clear();
}

const std::vector<WeaponRecord>& WeaponData::userWeapons(int table) const {
    static const std::vector<WeaponRecord> none;
    return table == 0 || table == 1 ? userWeapons_[table] : none;
}

const std::vector<ArmamentRecord>& WeaponData::userArmaments(int table) const {
    static const std::vector<ArmamentRecord> none;
    return table == 0 || table == 1 ? userArmaments_[table] : none;
}

const ArmamentRecord& WeaponData::slotArmament(int id, int slot) const {
    const int number = weapon(id).slotArmament(slot);
    return number != 0 ? armament(number) : kNoArmament;
}

int WeaponData::slotAttack(int id, int slot, int targetClass) const {
    return slotArmament(id, slot).attackOn(targetClass);
}

bool WeaponData::isTowedAlternate(int id) const {
    const WeaponRecord& w = weapon(id);
    if (w.linkedWeapon() == 0) return false;
    return w.groupDivisor(0) < weapon(w.linkedWeapon() - 1).groupDivisor(0);
}

int WeaponData::weaponPicture(int id, bool towed) const {
    const int type = weapon(id).weaponType();
    if (!towed || !isTowedAlternate(id)) return type;
    for (const auto& [from, to] : kTowedPictures) {
        if (from == type) return to;
    }
    return type;
}

}  // namespace kv
