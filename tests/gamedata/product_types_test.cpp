// Product types: the files, old-record conversion, update files and the weapon list.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "framework/byte_cursor.h"
#include "framework/cp932.h"
#include "framework/name_order.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "gamedata/product_types.h"
#include "gamedata/weapons.h"
#include "support/test_paths.h"

namespace kv {
namespace {

struct W {
    int id;
    const char* name;
    const char* layer;
    const char* type;
    bool selectable = true;
    int members = 1;
    int value31 = 0;
    int linked = 0;   // id as in the file
    int divisor = 0;  // first group's divisor
};

std::string weaponLine(const W& w) {
    std::vector<std::string> c(103, "0");
    c[0] = std::to_string(w.id);
    c[1] = w.name;
    c[2] = w.selectable ? "○" : "";
    c[3] = w.layer;
    c[4] = "車両A";
    c[5] = w.type;
    c[8] = std::to_string(w.members);
    c[30] = std::to_string(w.value31);
    for (int i = 31; i <= 37; ++i) c[i] = "なし";
    c[47] = std::to_string(w.linked);
    for (int s = 0; s < 5; ++s) c[48 + 4 * s] = c[49 + 4 * s] = "";
    if (w.divisor) {
        c[68] = "1";
        c[73] = std::to_string(w.divisor);
    }
    std::string line;
    for (size_t i = 0; i < c.size(); ++i) line += (i ? "," : "") + c[i];
    return *encodeCp932(line) + "\r\n";
}

class ProductTypes : public testing::Test {
protected:
    void SetUp() override {
        setProgramPath(dir.file("kvornme"));
        std::string file;
        for (const W& w : std::vector<W>{{7, "T-7", "地上", "主力戦車", true, 4, 10},
                                         {23, "F-23", "高空", "戦闘機", true, 2, 50},
                                         {24, "H-24", "低空", "対潜哨戒ﾍﾘ", true, 4, 10},
                                         {67, "H-67", "低空", "兵員輸送ﾍﾘ", true, 1, 5},
                                         {80, "WH", "地上", "弾頭"},
                                         {90, "歩兵隊", "地上", "歩兵", false},
                                         {100, "牽引砲", "地上", "牽引野砲", true, 4, 10, 101, 1},
                                         {101, "展開砲", "地上", "自走砲", true, 4, 10, 100, 2},
                                         {120, "S-120", "海上", "駆逐艦", true, 1, 40}})
            file += weaponLine(w);
        weapons.readWeapons(file);
        ASSERT_TRUE(weapons.hasWeapon(101));
    }
    void TearDown() override { setProgramPath(""); }

    ProductType named(const char* name) {
        ProductType r;
        r.setName(*encodeCp932(name));
        return r;
    }

    kvtest::TempDir dir;
    WeaponData weapons;
    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(ProductTypes, StandardFileSlotsAndMissingFiles) {
    ProductTypeData data;
    data.loadProductTypes(weapons);
    data.loadUserProductTypes();
    EXPECT_TRUE(data.productTypes().empty());  // missing files are not errors
    EXPECT_EQ(data.userProductTypes().size(), 100u);

    std::vector<ProductType> three = {named("A"), named("B"), named("C")};
    three[1].set(ProductType::Land, 7);
    kvtest::writeFile(dir.file("producttype.dat"), ProductTypeData::serialise(three));
    EXPECT_EQ(kvtest::readFile(dir.file("producttype.dat")).size(), 4u + 3 * 7534);
    data.loadProductTypes(weapons);
    ASSERT_EQ(data.productTypes().size(), 3u);
    EXPECT_TRUE(data.productType(1).has(ProductType::Land, 7));
    EXPECT_EQ(data.productType(3), ProductType());  // past the table: all zero
    EXPECT_EQ(data.productType(-1), ProductType());
    EXPECT_EQ(data.productType(250), ProductType());
}

std::string sizedFile(uint32_t recordSize, size_t bytes, char fill) {
    std::string f(4 + bytes, fill);
    storeU32(f.data(), recordSize);
    return f;
}

TEST_F(ProductTypes, RecordSizesAreCheckedAndReadingStopsAtTheTableCapacity) {
    // Above the record buffer, or no size at all: nothing of the file is a record.
    for (const uint32_t size : {7535u, 10000u, 0xFFFFFFFFu, 0u}) {
        kvtest::writeFile(dir.file("bad.dat"), sizedFile(size, 20000, 'x'));
        EXPECT_TRUE(ProductTypeData::readFile(dir.file("bad.dat"), 150, &weapons).empty()) << size;
    }
    // Size 1 makes every byte a record: the tables take what they hold and no more.
    kvtest::writeFile(dir.file("producttype.dat"), sizedFile(1, 8192, 'a'));
    kvtest::writeFile(dir.file("productutype.dat"), sizedFile(1, 8192, 'b'));
    EXPECT_EQ(ProductTypeData::readFile(dir.file("producttype.dat"), 7, &weapons).size(), 7u);
    ProductTypeData data;
    data.loadProductTypes(weapons);
    data.loadUserProductTypes();
    ASSERT_EQ(data.productTypes().size(), 150u);
    ASSERT_EQ(data.userProductTypes().size(), 100u);
    EXPECT_EQ(data.productType(149).name(), "a");
    EXPECT_EQ(data.productType(249).name(), "b");

    // A truncated last record is not a record: (4 + 2 × 7534 − 100) / 7534.
    std::string cut = ProductTypeData::serialise({named("X"), named("Y")});
    cut.resize(cut.size() - 100);
    kvtest::writeFile(dir.file("cut.dat"), cut);
    const auto records = ProductTypeData::readFile(dir.file("cut.dat"), 150, &weapons);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].name(), "X");
}

std::string oldRecord(const char* name, std::initializer_list<int> ids) {
    std::string r(ProductType::kOldSize, '\0');
    std::memcpy(r.data(), name, std::strlen(name));
    r[32] = 9;
    for (int id : ids) r[34 + id / 8] |= static_cast<char>(1 << (id % 8));
    return r;
}

TEST_F(ProductTypes, OldRecordsGoToTheListTheirWeaponsCallFor) {
    std::string file("\xE6\x09\0\0", 4);  // 2534
    file += oldRecord("OLD", {7, 23, 24, 67, 120, 4000});
    kvtest::writeFile(dir.file("producttype.dat"), file);
    ProductTypeData data;
    data.loadProductTypes(weapons);
    ASSERT_EQ(data.productTypes().size(), 1u);
    const ProductType& r = data.productType(0);
    EXPECT_EQ(r.name(), "OLD");
    EXPECT_EQ(r.typeValue(), 9);
    EXPECT_TRUE(r.has(ProductType::Land, 7));
    EXPECT_FALSE(r.has(ProductType::Air, 7));
    EXPECT_TRUE(r.has(ProductType::Air, 23));
    EXPECT_TRUE(r.has(ProductType::Sea, 24));   // anti-submarine helicopter
    EXPECT_TRUE(r.has(ProductType::Land, 67));  // transport helicopter
    EXPECT_TRUE(r.has(ProductType::Sea, 120));
    EXPECT_FALSE(r.inAnyList(4000));  // not in the weapon table: dropped

    // An old-form user file converts only once the weapons are there.
    kvtest::writeFile(dir.file("productutype.dat"), file);
    data.loadUserProductTypes();
    EXPECT_FALSE(data.productType(150).inAnyList(7));
    data.convertPendingUserRecords(weapons);
    EXPECT_TRUE(data.productType(150).has(ProductType::Land, 7));
}

TEST_F(ProductTypes, ExportThenImportReproducesTheRecordByteForByte) {
    ProductTypeData data;
    ProductType r = named("輸出テスト");
    r.set(ProductType::Land, 7);
    r.set(ProductType::Sea, 120);
    r.bytes[32] = 0x34;
    data.setProductType(151, r);
    const std::string path = dir.file("out/x.upd");
    std::filesystem::create_directories(dir.file("out"));
    ASSERT_TRUE(data.exportUpdateFile(path, 151));
    const std::string bytes = kvtest::readFile(path);
    ASSERT_EQ(bytes.size(), 16u + 4 + 7534 + 8 + 4);
    EXPECT_EQ(bytes.substr(0, 16), "WINTRAX2USEPD000");
    EXPECT_EQ(bytes.substr(20 + 7534, 8), "KOBWPN04");
    EXPECT_EQ(readFolderKey("UserProductPath"), dir.file("out"));

    EXPECT_EQ(data.importUpdateFile(path, 160, weapons), 1);
    EXPECT_EQ(data.productType(160), r);
    EXPECT_TRUE(prompts.seen.empty());

    // An empty standard slot exports its size 0 and imports as an empty record.
    ASSERT_TRUE(data.exportUpdateFile(dir.file("empty.upd"), 5));
    EXPECT_EQ(kvtest::readFile(dir.file("empty.upd")).size(), 16u + 4 + 12);
}

TEST_F(ProductTypes, RejectedMagicsAndMissingWeapons) {
    ProductTypeData data;
    EXPECT_EQ(data.importUpdateFile(dir.file("none.upd"), 150, weapons), 0);
    std::string upd = ProductTypeData::updateFileBytes(nullptr);
    for (const char* magic :
         {"GLOSSAMERUPD0000", "SULKAMPUPD000000", "ORPHEXUPD0000001", "SOMETHINGELSE000"}) {
        upd.replace(0, 16, magic);
        kvtest::writeFile(dir.file("m.upd"), upd);
        EXPECT_EQ(data.importUpdateFile(dir.file("m.upd"), 150, weapons), 0) << magic;
    }
    kvtest::writeFile(dir.file("short.upd"), "WINTRAX2US");
    EXPECT_EQ(data.importUpdateFile(dir.file("short.upd"), 150, weapons), 0);

    ProductType keep = named("KEEP");
    data.setProductType(152, keep);
    ProductType bad = named("BAD");
    bad.set(ProductType::Land, 7);
    bad.set(ProductType::Air, 4999);
    kvtest::writeFile(dir.file("bad.upd"), ProductTypeData::updateFileBytes(&bad));
    EXPECT_EQ(data.importUpdateFile(dir.file("bad.upd"), 152, weapons), -1);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].caption, "注意");
    EXPECT_EQ(prompts.seen[0].text, "本製品に含まれていない兵器データが使用されています。");
    EXPECT_EQ(data.productType(152), keep);
    // A record cut short by the end of the file is no update file; nothing is stored.
    kvtest::writeFile(dir.file("cut.upd"), ProductTypeData::updateFileBytes(&keep).substr(0, 3000));
    EXPECT_EQ(data.importUpdateFile(dir.file("cut.upd"), 150, weapons), 0);
    EXPECT_FALSE(data.productType(150).isUsed());

    // A weapon that is not offered is kept but announced.
    ProductType hidden = named("HIDDEN");
    hidden.set(ProductType::Land, 90);
    kvtest::writeFile(dir.file("hidden.upd"), ProductTypeData::updateFileBytes(&hidden));
    EXPECT_EQ(data.importUpdateFile(dir.file("hidden.upd"), 153, weapons), 1);
    EXPECT_TRUE(data.productType(153).has(ProductType::Land, 90));
    EXPECT_EQ(prompts.seen.back().text, "本製品に登場しない兵器は自動的に除外されます。");
}

TEST_F(ProductTypes, OlderUpdateVersionsConvertTheirRecords) {
    ProductTypeData data;
    // Version 3: old id i means weapon number i + 1 of the conversion (1 → number 2 → 7).
    std::string v3 = "WINTRAXUSEPD0000";
    v3 += std::string("\xE6\x09\0\0", 4) + oldRecord("V3", {1, 2, 3, 4});
    kvtest::writeFile(dir.file("v3.upd"), v3);
    EXPECT_EQ(data.importUpdateFile(dir.file("v3.upd"), 150, weapons), 1);
    const ProductType& r3 = data.productType(150);
    EXPECT_TRUE(r3.has(ProductType::Land, 7));
    EXPECT_TRUE(r3.has(ProductType::Air, 23));
    EXPECT_TRUE(r3.has(ProductType::Sea, 24));
    EXPECT_TRUE(r3.has(ProductType::Land, 67));
    EXPECT_FALSE(r3.inAnyList(1));
    EXPECT_EQ(convertVersion3WeaponNumber(5), 67);
    EXPECT_EQ(convertVersion3WeaponNumber(1), 0);
    EXPECT_EQ(convertVersion3WeaponNumber(1009), 0);

    // Version 8 reads the old record as it stands; a size above 2534 is cut to it.
    std::string v8 = "FENWICUPD0000001";
    v8 += std::string("\x10\x27\0\0", 4) + oldRecord("V8", {7, 120}) + std::string(9000, '\xFF');
    kvtest::writeFile(dir.file("v8.upd"), v8);
    EXPECT_EQ(data.importUpdateFile(dir.file("v8.upd"), 151, weapons), 1);
    EXPECT_TRUE(data.productType(151).has(ProductType::Land, 7));
    EXPECT_TRUE(data.productType(151).has(ProductType::Sea, 120));
    EXPECT_FALSE(data.productType(151).inAnyList(121));
}

TEST_F(ProductTypes, SetClearAndCopySaveTheirFiles) {
    ProductTypeData data;
    data.setProductType(4, named("FOUR"));
    EXPECT_EQ(data.productTypes().size(), 5u);
    EXPECT_FALSE(data.productType(2).isUsed());
    data.copyProductType(155, 4);
    EXPECT_EQ(data.productType(155).name(), "FOUR");
    ProductTypeData reread;
    reread.loadUserProductTypes();
    EXPECT_EQ(reread.productType(155).name(), "FOUR");
    EXPECT_EQ(kvtest::readFile(dir.file("productutype.dat")).size(), 4u + 753400);

    data.copyProductType(1, 4);
    data.clearProductType(4);
    reread.loadProductTypes(weapons);
    ASSERT_EQ(reread.productTypes().size(), 5u);
    EXPECT_EQ(reread.productType(1).name(), "FOUR");
    EXPECT_FALSE(reread.productType(4).isUsed());
    // Out-of-range slots do nothing.
    data.copyProductType(3, 120);
    data.copyProductType(300, 4);
    data.clearProductType(-1);
    EXPECT_EQ(data.productTypes().size(), 5u);
}

TEST_F(ProductTypes, WeaponListFiltersAndSorts) {
    ProductTypeData data;
    data.buildWeaponList(0, weapons);
    // Not offered: the warhead, the unselectable infantry and the towed form of the gun.
    EXPECT_EQ(data.weaponList(), (std::vector<int>{7, 23, 24, 67, 101, 120}));

    ProductType r = named("P");
    r.set(ProductType::Air, 23);
    r.set(ProductType::Sea, 120);
    r.set(ProductType::Land, 80);
    data.setProductType(2, r);
    data.buildWeaponList(3, weapons);  // standard slot 2
    EXPECT_EQ(data.weaponList(), (std::vector<int>{23, 120}));
    data.setProductType(170, r);
    data.buildWeaponList(170, weapons);
    EXPECT_EQ(data.weaponList(), (std::vector<int>{23, 120}));

    data.buildWeaponList(0, weapons);
    data.sortWeaponList(0, false, weapons);  // by type: 戦闘機 1, ﾍﾘ 14/17, 戦車 19, 自走砲 24
    EXPECT_EQ(data.weaponList(), (std::vector<int>{23, 67, 24, 7, 101, 120}));
    data.sortWeaponList(2, false, weapons);  // members; ties by file position
    EXPECT_EQ(data.weaponList(), (std::vector<int>{67, 120, 23, 7, 24, 101}));
    data.sortWeaponList(3, false, weapons);  // members × value: 5, 40, 40, 40, 100, 40
    EXPECT_EQ(data.weaponList(), (std::vector<int>{67, 7, 24, 101, 120, 23}));
    data.sortWeaponList(3, true, weapons);
    EXPECT_EQ(data.weaponList(), (std::vector<int>{23, 120, 101, 24, 7, 67}));
    EXPECT_EQ(data.weaponListOrder(), 3);
    data.sortWeaponList(1, false, weapons);
    EXPECT_EQ(data.weaponList().front(), 23);  // "F-23" first by name

    // The name order is the installed ranker's; names it ties keep their places.
    ScopedNameRanker onlyTheDestroyerFirst([](const std::vector<std::string>& names) {
        std::vector<int> ranks;
        for (const std::string& n : names) ranks.push_back(n == "S-120" ? 0 : 1);
        return ranks;
    });
    std::vector<int> expected = data.weaponList();
    std::erase(expected, 120);
    expected.insert(expected.begin(), 120);
    data.sortWeaponList(1, false, weapons);
    EXPECT_EQ(data.weaponList(), expected);
}

}  // namespace
}  // namespace kv
