// The unit data tables: the magic, filler records, repeated ids, short records, the user
// file and storing records later.
#include <gtest/gtest.h>

#include <filesystem>

#include "framework/profile.h"
#include "gamedata/unit_data.h"
#include "support/test_paths.h"

namespace kv {
namespace {

UnitRecord unit(int id, uint8_t fill) {
    UnitRecord r{};
    r.weaponId = static_cast<uint16_t>(id);
    for (uint8_t& b : r.battleData) b = fill;
    return r;
}

std::vector<WeaponRecord> weaponsWithIds(std::initializer_list<int> ids) {
    std::vector<WeaponRecord> out;
    for (int id : ids) {
        WeaponRecord w;
        w.setId(static_cast<uint16_t>(id));
        out.push_back(w);
    }
    return out;
}

std::string userFile(const std::vector<UnitRecord>& records) {
    return UnitDataTable::encodeStandardFile(records).substr(UnitDataTable::kMagic.size());
}

TEST(UnitDataRecord, IsFiftyEightBytesWithTheIdFirst) {
    const UnitRecord r = unit(0x1234, 0xAB);
    EXPECT_EQ(r.data()[0], 0x34);
    EXPECT_EQ(r.data()[1], 0x12);
    EXPECT_EQ(r.data()[2], 0xAB);
    EXPECT_EQ(r.data()[57], 0xAB);
    const std::string file = UnitDataTable::encodeStandardFile({r, unit(1, 0)});
    ASSERT_EQ(file.size(), 16u + 2 * 58);
    EXPECT_EQ(file.substr(0, 16), "RIDUVIDARDATA2  ");
    EXPECT_EQ(UnitRecord::fromBytes({r.data(), 58}), r);
    EXPECT_EQ(UnitRecord::fromBytes({r.data(), 1}).weaponId, 0x34);
}

TEST(UnitDataLoad, RecordsAreIndexedAndWeaponsWithoutOneGetAZeroRecord) {
    UnitDataTable table;
    const std::string file = UnitDataTable::encodeStandardFile({unit(10, 1), unit(20, 2)});
    table.read(&file, nullptr, weaponsWithIds({10, 30, 40}));
    ASSERT_EQ(table.standardUnits().size(), 4u);
    EXPECT_EQ(table.record(10).battleData[0], 1);
    EXPECT_EQ(table.record(20).battleData[55], 2);  // records need no weapon
    EXPECT_TRUE(table.hasRecord(30));
    EXPECT_EQ(table.record(30), unit(30, 0));
    EXPECT_EQ(table.unitIndex(40), 4);
    EXPECT_FALSE(table.hasRecord(50));
    EXPECT_EQ(table.record(50), unit(0, 0));
}

TEST(UnitDataLoad, MagicWithoutRecordsStillGivesEveryWeaponARecord) {
    const std::string magicOnly(UnitDataTable::kMagic);
    const std::string magicAndByte = magicOnly + "x";
    const std::string wrongMagic =
        UnitDataTable::encodeStandardFile({unit(5, 9)}).replace(0, 1, "X");
    const std::string lowerCase = "riduvidardata2  " + userFile({unit(5, 9)});
    for (const std::string* file : {&magicOnly, &magicAndByte, &wrongMagic, &lowerCase}) {
        UnitDataTable table;
        table.read(file, nullptr, weaponsWithIds({5, 6}));
        ASSERT_EQ(table.standardUnits().size(), 2u);
        EXPECT_EQ(table.record(5), unit(5, 0));
        EXPECT_EQ(table.record(6), unit(6, 0));
    }
}

TEST(UnitDataLoad, MissingFileMakesNoFillers) {
    UnitDataTable table;
    table.read(nullptr, nullptr, weaponsWithIds({5, 6}));
    EXPECT_TRUE(table.standardUnits().empty());
    EXPECT_FALSE(table.hasRecord(5));
}

TEST(UnitDataLoad, RepeatedIdsPointAtTheLaterRecord) {
    UnitDataTable table;
    const std::string file =
        UnitDataTable::encodeStandardFile({unit(7, 1), unit(8, 2), unit(7, 3)});
    table.read(&file, nullptr, weaponsWithIds({7, 8}));
    ASSERT_EQ(table.standardUnits().size(), 3u);
    EXPECT_EQ(table.unitIndex(7), 3);
    EXPECT_EQ(table.record(7).battleData[0], 3);
}

TEST(UnitDataLoad, AShortLastRecordIsDropped) {
    const std::string whole = UnitDataTable::encodeStandardFile({unit(1, 1), unit(2, 2)});
    const std::string third = userFile({unit(3, 3)});
    // 16 + 58·2 + 50 bytes: the size over 58 says 3, but the third record is not all there.
    for (size_t extra : {size_t{1}, size_t{42}, size_t{50}, size_t{57}}) {
        const std::string file = whole + third.substr(0, extra);
        UnitDataTable table;
        table.read(&file, nullptr, {});
        EXPECT_EQ(table.standardUnits().size(), 2u) << extra;
        EXPECT_FALSE(table.hasRecord(3)) << extra;
    }
    const std::string user = userFile({unit(10000, 1)}) + "abc";
    UnitDataTable table;
    table.read(nullptr, &user, {});
    EXPECT_EQ(table.userUnits().size(), 1u);
}

TEST(UnitDataLoad, IdsOutsideTheirRangeNeverReachOutside) {
    // 20000 is past the index; 6000 is indexed into the standard table but looked up in the
    // middle one, which is empty.
    const std::string file = UnitDataTable::encodeStandardFile({unit(20000, 1), unit(6000, 2)});
    UnitDataTable table;
    table.read(&file, nullptr, weaponsWithIds({}));
    EXPECT_EQ(table.standardUnits().size(), 2u);
    EXPECT_FALSE(table.hasRecord(20000));
    EXPECT_EQ(table.record(20000), unit(0, 0));
    EXPECT_TRUE(table.hasRecord(6000));
    EXPECT_EQ(table.record(6000), unit(0, 0));
    EXPECT_EQ(table.record(-1), unit(0, 0));
}

TEST(UnitDataLoad, UserRecordsGoToTheUserTable) {
    const std::string user = userFile({unit(10000, 4), unit(10001, 5), unit(3, 6)});
    const std::string standard = UnitDataTable::encodeStandardFile({unit(3, 1)});
    UnitDataTable table;
    table.read(&standard, &user, {});
    EXPECT_EQ(table.userUnits().size(), 3u);
    EXPECT_EQ(table.record(10001).battleData[0], 5);
    // A user record below 10000 is indexed into the user table, which the id does not select.
    EXPECT_EQ(table.unitIndex(3), 3);
    EXPECT_EQ(table.record(3), unit(0, 0));
}

TEST(UnitDataStore, OverwritesOrAppendsByIdRange) {
    const std::string file = UnitDataTable::encodeStandardFile({unit(5, 1)});
    UnitDataTable table;
    table.read(&file, nullptr, {});
    EXPECT_TRUE(table.store(unit(5, 9)));
    EXPECT_EQ(table.standardUnits().size(), 1u);
    EXPECT_EQ(table.record(5).battleData[3], 9);
    EXPECT_TRUE(table.store(unit(6000, 2)));
    EXPECT_TRUE(table.store(unit(12000, 3)));
    EXPECT_TRUE(table.store(unit(6001, 4)));
    EXPECT_EQ(table.middleUnits().size(), 2u);
    EXPECT_EQ(table.userUnits().size(), 1u);
    EXPECT_EQ(table.unitIndex(6001), 2);
    EXPECT_EQ(table.record(12000).battleData[0], 3);
    EXPECT_FALSE(table.store(unit(15000, 1)));
    EXPECT_FALSE(table.hasRecord(15000));
    UnitRecord copy{};
    table.copyRecord(6000, copy);
    EXPECT_EQ(copy, unit(6000, 2));
    table.copyRecord(4, copy);
    EXPECT_EQ(copy, unit(0, 0));
}

TEST(UnitDataLoad, ReadsTheRfFolderOfTheProgramFolder) {
    kvtest::TempDir dir;
    setProgramPath(dir.file("kvornme"));
    ASSERT_TRUE(std::filesystem::create_directory(dir.file("rf")));
    kvtest::writeFile(dir.file("rf/unitdata.dat"), UnitDataTable::encodeStandardFile({unit(1, 7)}));
    kvtest::writeFile(dir.file("rf/UUNITDATA.DAT"), userFile({unit(10002, 8)}));
    UnitDataTable table;
    table.load(weaponsWithIds({1, 2}));
    setProgramPath("");
    EXPECT_EQ(table.record(1).battleData[0], 7);
    EXPECT_EQ(table.record(2), unit(2, 0));
    EXPECT_EQ(table.record(10002).battleData[0], 8);
}

}  // namespace
}  // namespace kv
