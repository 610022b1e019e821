// The armament and weapon tables: record layouts, name lists, the two loaders with their
// messages and malformed lines, lookups, per-weapon queries and the bundled arsenal.
#include <gtest/gtest.h>

#include <set>

#include "framework/cp932.h"
#include "framework/errors.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "gamedata/text_table.h"
#include "gamedata/unit_data.h"
#include "gamedata/weapons.h"
#include "sampledata/weapon_data.h"
#include "support/test_paths.h"

namespace kv {
namespace {

std::string sj(std::string_view utf8) {
    return encodeCp932(utf8).value();
}

// One data line built column by column (1-based, as the file layouts count them).
class Row {
public:
    explicit Row(size_t columns) : cells_(columns) {}
    Row& set(size_t column, std::string utf8) {
        if (column > cells_.size()) cells_.resize(column);
        cells_[column - 1] = std::move(utf8);
        return *this;
    }
    Row& set(size_t column, int64_t value) { return set(column, std::to_string(value)); }
    Row& resize(size_t columns) {
        cells_.resize(columns);
        return *this;
    }
    std::string line() const {
        std::string text;
        for (size_t i = 0; i < cells_.size(); ++i) text += (i ? "," : "") + cells_[i];
        return sj(text);
    }

private:
    std::vector<std::string> cells_;
};

Row armamentRow(const std::string& name, const std::string& shortName) {
    Row r(25);
    r.set(1, name).set(2, shortName).set(15, "通常");
    return r;
}

Row weaponRow(int64_t id, const std::string& name) {
    Row r(108);
    r.set(1, id).set(2, name).set(4, "地上").set(5, "車両A").set(6, "主力戦車");
    for (size_t c = 32; c <= 38; ++c) r.set(c, "なし");
    return r;
}

std::string file(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return text;
}

bool allZero(const uint8_t* p, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        if (p[i] != 0) return false;
    }
    return true;
}

uint16_t u16At(const WeaponRecord& w, size_t at) {
    return static_cast<uint16_t>(w.data()[at] | w.data()[at + 1] << 8);
}

// --- records --------------------------------------------------------------------------------

TEST(ArmamentRecordLayout, FieldsSitAtTheirOffsets) {
    ArmamentRecord a{};
    copyFieldText(a.name, sizeof a.name, "NAME");
    copyFieldText(a.shortName, sizeof a.shortName, "SN");
    a.value3 = 3;
    a.power = 4;
    for (int i = 0; i < kTargetClassCount; ++i) a.attack[i] = static_cast<uint8_t>(10 + i);
    a.value14 = 14;
    a.kind = 12;
    a.value16 = 0x1234;
    a.flags = 0xC1;
    a.value24 = 0xABCD;
    a.value25 = 25;
    const uint8_t* b = a.data();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b)), "NAME");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 18)), "SN");
    EXPECT_EQ(b[28], 3);
    EXPECT_EQ(b[29], 4);
    for (int i = 0; i < kTargetClassCount; ++i) EXPECT_EQ(b[30 + i], 10 + i);
    EXPECT_EQ(b[39], 14);
    EXPECT_EQ(b[40], 12);
    EXPECT_EQ(b[42], 0x34);
    EXPECT_EQ(b[43], 0x12);
    EXPECT_EQ(b[44], 0xC1);
    EXPECT_EQ(b[46], 0xCD);
    EXPECT_EQ(b[47], 0xAB);
    EXPECT_EQ(b[48], 25);
    EXPECT_EQ(b[41] | b[45] | b[49], 0);  // pads stay zero

    const ArmamentRecord copy = ArmamentRecord::fromBytes({b, ArmamentRecord::kSize});
    EXPECT_EQ(copy, a);
    EXPECT_EQ(copy.attackOn(8), 18);
    EXPECT_EQ(copy.attackOn(9), 0);
    EXPECT_EQ(copy.attackOn(-1), 0);
    // Short input fills what it has; the rest is zero.
    const ArmamentRecord partial = ArmamentRecord::fromBytes({b, 20});
    EXPECT_EQ(partial.nameText(), "NAME");
    EXPECT_EQ(partial.power, 0);
}

TEST(WeaponRecordLayout, FieldsSitAtTheirOffsets) {
    WeaponRecord w;
    w.setPosition(0x0102);
    w.setId(0x0304);
    w.setName("WEAPON");
    w.setSelectable(1);
    w.setLayer(5);
    w.setMovementType(13);
    w.setWeaponType(56);
    w.setValue8(8);
    w.setMemberCount(9);
    w.setFlags(0x6944);
    w.setMemberStrength(10);
    w.setValue11(0x0B0B);
    w.setIcon12(12);
    w.setIcon13(13);
    w.setIcon14(14);
    w.setIcon23(23);
    w.setIcon15(15);
    for (int l = 0; l < 6; ++l) {
        w.setSight(l, static_cast<uint8_t>(20 + l));
        w.setLayerValue(l, static_cast<uint8_t>(30 + l));
    }
    w.setValue31(-2);
    for (int i = 0; i < 6; ++i) {
        w.setCargoSlot(i, static_cast<uint8_t>(0x40 + i));
        w.setCargoCapacity(i, static_cast<uint8_t>(0x50 + i));
    }
    w.setTransportClass(0x84);
    for (int c = 0; c < 7; ++c) w.setDefence(c, static_cast<uint16_t>(0x100 * c + 1));
    w.setFlags2(0x07);
    w.setLinkedWeapon(0x4142);
    for (int s = 0; s < 5; ++s) {
        w.setSlotName(s, "SLOT" + std::to_string(s));
        w.setSlotShortName(s, "S" + std::to_string(s));
        w.setSlotRounds(s, static_cast<uint8_t>(60 + s));
        w.setSlotValue(s, static_cast<uint16_t>(0x700 + s));
        w.setSlotArmament(s, static_cast<uint16_t>(0x800 + s));
    }
    for (int g = 0; g < 4; ++g) {
        for (int s = 0; s < 5; ++s) w.setGroupValue(g, s, static_cast<uint8_t>(g * 5 + s + 1));
        w.setGroupDivisor(g, static_cast<uint8_t>(90 + g));
        w.setCountermeasure(g, static_cast<uint8_t>(95 + g));
        w.setGroupWord(g, static_cast<uint16_t>(0x900 + g));
    }
    w.setPictureNumber(1001);
    w.setWord101(1002);
    w.setTypeIcon32(1003);
    w.setTypeIcon16(1004);
    w.setUnitIcon32(1005);
    w.setTypeIcon48(1006);
    w.setUnitIcon16(1007);
    w.setUnitIcon48(1008);
    w.setDescriptionNumber(1009);

    const uint8_t* b = w.data();
    EXPECT_EQ(u16At(w, 0), 0x0102);
    EXPECT_EQ(u16At(w, 2), 0x0304);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 4)), "WEAPON");
    EXPECT_EQ(b[38], 1);
    EXPECT_EQ(b[39], 5);
    EXPECT_EQ(b[40], 13);
    EXPECT_EQ(b[41], 56);
    EXPECT_EQ(b[42], 8);
    EXPECT_EQ(b[43], 9);
    EXPECT_EQ(u16At(w, 44), 0x6944);
    EXPECT_EQ(b[46], 10);
    EXPECT_EQ(u16At(w, 48), 0x0B0B);
    EXPECT_EQ(b[50], 12);
    EXPECT_EQ(b[51], 13);
    EXPECT_EQ(b[52], 14);
    EXPECT_EQ(b[53], 23);
    EXPECT_EQ(b[54], 15);
    for (int l = 0; l < 6; ++l) {
        EXPECT_EQ(b[55 + l], 20 + l);
        EXPECT_EQ(b[61 + l], 30 + l);
    }
    EXPECT_EQ(b[68], 0xFE);  // -2, little-endian
    EXPECT_EQ(b[71], 0xFF);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(b[72 + i], 0x40 + i);
        EXPECT_EQ(b[78 + i], 0x50 + i);
    }
    EXPECT_EQ(b[84], 0x84);
    for (int c = 0; c < 7; ++c) EXPECT_EQ(u16At(w, 88 + 2 * c), 0x100 * c + 1);
    EXPECT_EQ(b[102], 0x07);
    EXPECT_EQ(u16At(w, 104), 0x4142);
    for (int s = 0; s < 5; ++s) {
        const size_t at = 106 + 34 * s;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + at)), "SLOT" + std::to_string(s));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + at + 18)), "S" + std::to_string(s));
        EXPECT_EQ(b[at + 28], 60 + s);
        EXPECT_EQ(b[at + 29], 0);
        EXPECT_EQ(u16At(w, at + 30), 0x700 + s);
        EXPECT_EQ(u16At(w, at + 32), 0x800 + s);
    }
    for (int g = 0; g < 4; ++g) {
        const size_t at = 276 + 10 * g;
        for (int s = 0; s < 5; ++s) EXPECT_EQ(b[at + s], g * 5 + s + 1);
        EXPECT_EQ(b[at + 5], 90 + g);
        EXPECT_EQ(b[at + 6], 0);
        EXPECT_EQ(b[at + 7], 95 + g);
        EXPECT_EQ(u16At(w, at + 8), 0x900 + g);
    }
    for (int i = 0; i < 9; ++i) EXPECT_EQ(u16At(w, 316 + 2 * i), 1001 + i);
    EXPECT_EQ(b[47] | b[67] | b[85] | b[86] | b[87] | b[103], 0);  // pads stay zero

    EXPECT_EQ(w.value31(), -2);
    EXPECT_EQ(w.typeIcon(16), 1004);
    EXPECT_EQ(w.typeIcon(48), 1006);
    EXPECT_EQ(w.unitIcon(32), 1005);
    EXPECT_EQ(WeaponRecord::fromBytes(w.bytes()), w);
}

TEST(WeaponRecordLayout, OutOfRangeIndicesReadZeroAndWriteNothing) {
    WeaponRecord w;
    w.setSight(6, 1);
    w.setSight(-1, 1);
    w.setCargoSlot(6, 1);
    w.setDefence(7, 1);
    w.setSlotName(5, "X");
    w.setSlotArmament(-1, 7);
    w.setGroupValue(4, 0, 1);
    w.setGroupValue(0, 5, 1);
    w.setGroupDivisor(4, 1);
    EXPECT_TRUE(allZero(w.data(), WeaponRecord::kSize));
    EXPECT_EQ(w.sight(9), 0);
    EXPECT_EQ(w.defence(-1), 0);
    EXPECT_EQ(w.slotName(7), "");
    EXPECT_EQ(w.groupValue(0, 9), 0);
    // Shorter stored bytes leave the rest zero; longer ones are cut.
    const std::vector<uint8_t> many(400, 0x11);
    EXPECT_EQ(WeaponRecord::fromBytes(many).id(), 0x1111);
    EXPECT_EQ(WeaponRecord::fromBytes({many.data(), 3}).id(), 0x0011);
}

TEST(WeaponRecordLayout, TextIsCutAtACharacterBoundary) {
    WeaponRecord w;
    std::string longName;
    for (int i = 0; i < 20; ++i) longName += sj("戦");
    w.setName(longName);
    EXPECT_EQ(w.name().size(), 32u);  // 16 characters; a 17th would leave no room for NUL
    EXPECT_EQ(w.data()[4 + 33], 0);
    w.setSlotShortName(0, sj("あいうえお"));
    EXPECT_EQ(w.slotShortName(0), sj("あいうえ"));
}

// --- name lists -----------------------------------------------------------------------------

TEST(WeaponEnums, NamesLookUpTheirPositions) {
    EXPECT_EQ(altitudeLayerNames().size(), 6u);
    EXPECT_EQ(movementTypeNames().size(), 14u);
    EXPECT_EQ(weaponTypeNames().size(), 57u);
    EXPECT_EQ(armamentKindNames().size(), 13u);
    EXPECT_EQ(armamentKindShortNames().size(), 13u);
    EXPECT_EQ(targetClassNames().size(), 9u);
    // The anti-submarine helicopter stands twice; a lookup finds the first.
    EXPECT_EQ(weaponTypeNames().lookup(sj("対潜哨戒ﾍﾘ")), 17);
    EXPECT_EQ(weaponTypeNames().utf8(18), "対潜哨戒ﾍﾘ");
    EXPECT_EQ(weaponTypeNames().lookup(sj("特殊潜航艇")), 56);
    EXPECT_EQ(weaponTypeNames().lookup(sj("弾頭")), 34);
    EXPECT_EQ(weaponTypeNames().lookup(sj("ステルス機")), 0);  // unknown → 0
    EXPECT_EQ(weaponTypeNames().indexOf(sj("ステルス機")), -1);
    EXPECT_EQ(weaponTypeNames().lookup(""), 0);
    EXPECT_EQ(altitudeLayerNames().lookup(sj("海中")), 5);
    EXPECT_EQ(movementTypeNames().lookup(sj("海中A")), 13);
    EXPECT_EQ(movementTypeNames().lookup(sj("歩兵A")), 9);
    EXPECT_EQ(armamentKindNames().lookup("ECM"), 10);
    EXPECT_EQ(armamentKindNames().lookup(sj("自爆")), 12);
    EXPECT_EQ(armamentKindShortNames().utf8(2), "巡航");
    EXPECT_EQ(armamentKindShortNames().utf8(13), "");
    EXPECT_EQ(targetClassNames().utf8(6), "装甲軟");
    // Names are whole fields: no prefix or trailing-blank matches.
    EXPECT_EQ(altitudeLayerNames().lookup(sj("地上 ")), 0);
    EXPECT_EQ(movementTypeNames().lookup(sj("車両")), 0);
}

TEST(WeaponEnums, CargoSlotsByNameAndBitString) {
    EXPECT_EQ(parseCargoSlot(sj("艦載")), 0xE0);
    EXPECT_EQ(parseCargoSlot("VTOL"), 0x60);
    EXPECT_EQ(parseCargoSlot(sj("重車両")), 0x1E);
    EXPECT_EQ(parseCargoSlot(sj("軽車両")), 0x06);
    EXPECT_EQ(parseCargoSlot(sj("ホバー")), 0x01);
    EXPECT_EQ(parseCargoSlot(sj("なし")), 0);
    EXPECT_EQ(parseCargoSlot(""), 0);
    // The first character stands for bit 7.
    EXPECT_EQ(parseCargoSlot("00000011"), 0x03);
    EXPECT_EQ(parseCargoSlot("10100000"), 0xA0);
    EXPECT_EQ(parseCargoSlot("1"), 0x80);
    EXPECT_EQ(parseCargoSlot("0000000111"), 0x01);  // only eight characters count
    EXPECT_EQ(parseCargoSlot("x1y1"), 0x50);
    EXPECT_EQ(parseCargoSlot(sj("あ1")), 0x40);  // a double-byte character is one position
    EXPECT_EQ(transportClassByName(sj("ホバークラフト")), 0x01);
    EXPECT_EQ(transportClassByName(sj("艦載機")), 0x80);
    EXPECT_EQ(transportClassByName(sj("艦載")), 0);  // a slot name, not a class
    EXPECT_EQ(transportClassByName(sj("なし")), 0);
}

// --- loading warm.dat -----------------------------------------------------------------------

TEST(ArmamentLoading, ColumnsFillTheRecord) {
    Row r = armamentRow("ﾃｽﾄ砲", "砲");
    for (size_t c = 3; c <= 14; ++c) r.set(c, static_cast<int64_t>(c));
    r.set(15, "魚雷").set(16, 70000).set(24, 4660).set(25, 300);
    r.set(17, "○").set(19, "○").set(22, "○").set(23, "○").set(18, "○ ").set(20, "x");
    WeaponData data;
    data.readArmaments(file({r.line()}));
    ASSERT_EQ(data.armaments().size(), 1u);
    const ArmamentRecord& a = data.armament(1);
    EXPECT_EQ(a.nameText(), sj("ﾃｽﾄ砲"));
    EXPECT_EQ(a.shortNameText(), sj("砲"));
    EXPECT_EQ(a.value3, 3);
    EXPECT_EQ(a.power, 4);
    // Columns 5 to 13 in file order: 超高空, 航空機, ヘリ, 装甲硬, 装甲軟, 艦船, 潜水艦, 弾道,
    // 巡航.
    const int expected[kTargetClassCount] = {5, 6, 7, 8, 10, 11, 9, 12, 13};
    for (int c = 0; c < kTargetClassCount; ++c) EXPECT_EQ(a.attack[c], expected[c]) << c;
    EXPECT_EQ(a.value14, 14);
    EXPECT_EQ(a.kind, static_cast<int>(ArmamentKind::Torpedo));
    EXPECT_EQ(a.value16, 70000 & 0xFFFF);  // truncated to the field
    EXPECT_EQ(a.flags, 0x01 | 0x04 | 0x40 | 0x80);
    EXPECT_EQ(a.value24, 4660);
    EXPECT_EQ(a.value25, 300 & 0xFF);
    EXPECT_EQ(data.armamentIndex(1), 1);
}

TEST(ArmamentLoading, SkipsCommentLinesAndToleratesShortOnes) {
    std::string longName;
    for (int i = 0; i < 12; ++i) longName += "兵";
    WeaponData data;
    data.readArmaments(file({sj(",comment,line"), "", sj("ｶﾞﾝ"), armamentRow(longName, "x").line(),
                             sj("ﾐｻｲﾙ,M,1,2,3,,,,,,,,,,ﾐｻｲﾙ,,,,,,,,,,,,,,,,,,,,,,,,,,,,extra")}));
    ASSERT_EQ(data.armaments().size(), 3u);
    // A line with only a name: every other field zero.
    EXPECT_EQ(data.armament(1).nameText(), sj("ｶﾞﾝ"));
    EXPECT_EQ(data.armament(1).shortNameText(), "");
    EXPECT_EQ(data.armament(1).power, 0);
    EXPECT_EQ(data.armament(2).nameText().size(), 16u);  // cut to whole characters
    EXPECT_EQ(data.armament(3).kind, static_cast<int>(ArmamentKind::Missile));
    EXPECT_EQ(data.armament(3).attack[0], 3);
}

TEST(ArmamentLookup, UnknownNumbersGiveTheAllZeroRecord) {
    WeaponData data;
    data.readArmaments(file({armamentRow("A", "a").line()}));
    for (int n : {0, 2, -1, 19999, 20000, 25000, 40000, 59999, 60000, 1 << 20}) {
        const ArmamentRecord& a = data.armament(n);
        EXPECT_TRUE(allZero(a.data(), ArmamentRecord::kSize)) << n;
    }
}

TEST(ArmamentLookup, SameNameIsToldApartByShortName) {
    WeaponData data;
    data.readArmaments(file({armamentRow("ｸﾚｽﾄ", "空対空").set(4, 8).line(),
                             armamentRow("ｸﾚｽﾄ", "艦対空").set(4, 9).line(),
                             armamentRow("ｸﾚｽﾄ", "艦対空").set(4, 7).line()}));
    EXPECT_EQ(data.findArmament(sj("ｸﾚｽﾄ"), sj("空対空")), 1);
    EXPECT_EQ(data.findArmament(sj("ｸﾚｽﾄ"), sj("艦対空")), 2);
    EXPECT_EQ(data.findArmament(sj("ｸﾚｽﾄ"), sj("艦対空"), false, 2), 3);  // skipping 2
    EXPECT_EQ(data.findArmament(sj("ｸﾚｽﾄ"), sj("空対空"), false, 1), 0);
    EXPECT_EQ(data.findArmament(sj("ｸﾚｽﾄ"), ""), 0);
    EXPECT_EQ(data.findArmament(sj("ｸﾚｽ"), sj("空対空")), 0);

    data.readWeapons(file({weaponRow(7, "艦").set(49, "ｸﾚｽﾄ").set(50, "艦対空").line()}));
    EXPECT_EQ(data.weapon(7).slotArmament(0), 2);
    EXPECT_EQ(data.slotPower(7, 0), 9);
}

TEST(ArmamentLookup, UserTablesAreSearchedAfterTheStandardOne) {
    WeaponData data;
    data.readArmaments(file({armamentRow("A", "a").line()}));
    ArmamentRecord user{};
    copyFieldText(user.name, sizeof user.name, "U");
    copyFieldText(user.shortName, sizeof user.shortName, "u");
    user.power = 5;
    EXPECT_TRUE(data.storeUserArmament(20005, user));
    user.power = 6;
    EXPECT_TRUE(data.storeUserArmament(40001, user));
    EXPECT_FALSE(data.storeUserArmament(19999, user));
    EXPECT_FALSE(data.storeUserArmament(60000, user));
    EXPECT_EQ(data.findArmament("U", "u"), 20005);
    EXPECT_EQ(data.findArmament("U", "u", false, 20005), 0);
    EXPECT_EQ(data.findArmament("U", "u", true, 20005), 40001);
    EXPECT_EQ(data.armament(40001).power, 6);
    EXPECT_EQ(data.armament(20005).power, 5);
    EXPECT_EQ(data.armament(20006).power, 0);
    data.clearUserTables();
    EXPECT_EQ(data.findArmament("U", "u", true), 0);
    EXPECT_EQ(data.armament(1).nameText(), "A");
}

// --- loading weapon.dat ---------------------------------------------------------------------

TEST(WeaponLoading, ColumnsFillTheRecord) {
    WeaponData data;
    data.readArmaments(file({armamentRow("機関砲A", "A").line()}));
    Row r = weaponRow(42, "ﾃｽﾄ艦");
    r.set(3, "○").set(4, "海上").set(5, "海上B").set(6, "駆逐艦").set(7, 999);
    r.set(8, 7).set(9, 3).set(10, 11).set(11, 500).set(12, 1).set(13, 2).set(14, 3).set(15, 4);
    r.set(16, "○").set(17, "○ ").set(18, "○").set(21, "○").set(22, "○").set(23, 45);
    r.set(24, "○").set(25, 9).set(26, 5).set(27, 6).set(28, 1).set(29, 2).set(30, 3);
    r.set(31, -1234567).set(32, "艦載").set(34, "00000011").set(35, "ヘリ").set(36, "");
    r.set(37, "xyz").set(38, "ヘリ").set(39, "揚陸艦").set(40, 30).set(41, 40).set(42, 50);
    r.set(43, "○").set(45, "○").set(46, 7).set(47, 8);
    r.set(49, "機関砲A").set(50, "A").set(51, 20).set(52, 300);
    r.set(69, 1).set(71, 2).set(74, 3).set(75, 25).set(76, 777).set(101, 4242);
    r.set(102, 12).set(103, 150);
    data.readWeapons(file({r.line()}));

    const WeaponRecord& w = data.weapon(42);
    EXPECT_EQ(w.id(), 42);
    EXPECT_EQ(w.position(), 0);
    EXPECT_EQ(w.name(), sj("ﾃｽﾄ艦"));
    EXPECT_EQ(w.selectable(), 1);
    EXPECT_EQ(w.layer(), 4);
    EXPECT_EQ(w.movementType(), 11);
    EXPECT_EQ(w.weaponType(), 44);
    EXPECT_EQ(w.value8(), 7);
    EXPECT_EQ(w.memberCount(), 3);
    EXPECT_EQ(w.memberStrength(), 11);
    EXPECT_EQ(w.value11(), 500);
    EXPECT_EQ(w.icon12(), 1);
    EXPECT_EQ(w.icon13(), 2);
    EXPECT_EQ(w.icon14(), 3);
    EXPECT_EQ(w.icon15(), 4);
    EXPECT_EQ(w.icon23(), 45);
    // 16, 18, 21, 22 → 0x0040, 0x0100, 0x0800, 0x2000; 24 → 0x0004; "揚陸艦" → 0x4000.
    // Column 17 holds "○ ", which is not exactly "○".
    EXPECT_EQ(w.flags(), 0x0040 | 0x0100 | 0x0800 | 0x2000 | 0x0004 | 0x4000);
    const int sight[6] = {9, 9, 9, 5, 6, 6};
    const int values[6] = {1, 1, 1, 2, 3, 3};
    for (int l = 0; l < 6; ++l) {
        EXPECT_EQ(w.sight(l), sight[l]);
        EXPECT_EQ(w.layerValue(l), values[l]);
    }
    EXPECT_EQ(w.maxSight(), 9);
    EXPECT_EQ(w.value31(), -1234567);
    const int cargo[6] = {0xE0, 0, 0x03, 0x20, 0, 0};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(w.cargoSlot(i), cargo[i]) << i;
        EXPECT_EQ(w.cargoCapacity(i), cargo[i] ? 10 : 0) << i;
    }
    EXPECT_EQ(w.transportClass(), 0x20);
    const int defence[7] = {30, 30, 30, 40, 50, 50, 40};
    for (int c = 0; c < 7; ++c) EXPECT_EQ(w.defence(c), defence[c]) << c;
    EXPECT_EQ(w.flags2(), 0x02 | 0x04);
    EXPECT_EQ(w.slotName(0), sj("機関砲A"));
    EXPECT_EQ(w.slotShortName(0), "A");
    EXPECT_EQ(w.slotRounds(0), 20);
    EXPECT_EQ(w.slotValue(0), 300);
    EXPECT_EQ(w.slotArmament(0), 1);
    EXPECT_FALSE(w.hasArmament(1));
    EXPECT_EQ(w.groupValue(0, 0), 1);
    EXPECT_EQ(w.groupValue(0, 2), 2);
    EXPECT_EQ(w.groupDivisor(0), 3);
    EXPECT_EQ(w.countermeasure(0), 25);
    EXPECT_EQ(w.groupWord(0), 777);
    EXPECT_EQ(w.presentGroupCount(), 1);
    EXPECT_EQ(w.word101(), 4242);
    EXPECT_EQ(w.typeIcon32(), 12);
    EXPECT_EQ(w.unitIcon32(), 150);
    EXPECT_EQ(w.descriptionNumber(), 42);
}

TEST(WeaponLoading, LinkedWeaponIsStoredAsIdPlusOne) {
    WeaponData data;
    data.readWeapons(file({weaponRow(1, "A").set(48, 12).line(), weaponRow(2, "B").line(),
                           weaponRow(3, "C").set(48, "x").line()}));
    EXPECT_EQ(data.weapon(1).linkedWeapon(), 13);
    EXPECT_EQ(data.weapon(2).linkedWeapon(), 0);
    EXPECT_EQ(data.weapon(3).linkedWeapon(), 0);
}

TEST(WeaponLoading, OptionalColumnsTakeTheirDefaults) {
    auto row = [](int id) {
        Row r = weaponRow(id, "W");
        r.set(102, 31).set(103, 41).set(104, 900).set(105, 32).set(106, 33).set(107, 42);
        return r.set(108, 43);
    };
    WeaponData data;
    data.readWeapons(file({row(1).resize(103).line(), row(2).resize(105).line(), row(3).line(),
                           row(4).resize(104).set(104, "").line()}));
    const WeaponRecord& w1 = data.weapon(1);
    EXPECT_EQ(w1.pictureNumber(), 1);
    EXPECT_EQ(w1.typeIcon16(), 31);
    EXPECT_EQ(w1.typeIcon48(), 31);
    EXPECT_EQ(w1.unitIcon16(), 41);
    EXPECT_EQ(w1.unitIcon48(), 41);
    // Present columns are read, the first missing one and all after it default.
    const WeaponRecord& w2 = data.weapon(2);
    EXPECT_EQ(w2.pictureNumber(), 900);
    EXPECT_EQ(w2.typeIcon16(), 32);
    EXPECT_EQ(w2.typeIcon48(), 31);
    EXPECT_EQ(w2.unitIcon16(), 41);
    const WeaponRecord& w3 = data.weapon(3);
    EXPECT_EQ(w3.typeIcon48(), 33);
    EXPECT_EQ(w3.unitIcon16(), 42);
    EXPECT_EQ(w3.unitIcon48(), 43);
    // A present but empty column is a present column: it reads as 0.
    EXPECT_EQ(data.weapon(4).pictureNumber(), 0);
    EXPECT_EQ(data.weapon(4).descriptionNumber(), 4);
}

TEST(WeaponLoading, UnknownArmamentIsReportedOncePerSlotAndLoadingGoesOn) {
    RecordingPrompter prompts;
    ScopedPrompter guard(&prompts);
    WeaponData data;
    data.readArmaments(file({armamentRow("砲", "a").line()}));
    data.readWeapons(file({weaponRow(5, "ﾃｽﾄ艦")
                               .set(49, "ﾐｽﾃﾘｰ")
                               .set(50, "謎")
                               .set(53, "砲")
                               .set(54, "a")
                               .set(57, "砲")
                               .set(58, "b")
                               .set(62, "")
                               .set(61, "")
                               .line(),
                           weaponRow(6, "次").set(49, "砲").set(50, "a").line()}));
    ASSERT_EQ(prompts.seen.size(), 2u);
    EXPECT_EQ(prompts.seen[0].caption, "ﾃｽﾄ艦");
    EXPECT_EQ(prompts.seen[0].text, "一致する武装がみつかりませんでした。\nﾐｽﾃﾘｰ 謎");
    EXPECT_EQ(prompts.seen[0].icon, PromptIcon::None);
    EXPECT_EQ(prompts.seen[1].text, "一致する武装がみつかりませんでした。\n砲 b");
    const WeaponRecord& w = data.weapon(5);
    EXPECT_EQ(w.slotArmament(0), 0);
    EXPECT_EQ(w.slotName(0), sj("ﾐｽﾃﾘｰ"));
    EXPECT_EQ(w.slotArmament(1), 1);
    EXPECT_EQ(w.slotArmament(2), 0);
    EXPECT_EQ(data.weapon(6).slotArmament(0), 1);
}

TEST(WeaponLoading, IdsOutsideTheStandardRangeAreRefused) {
    WeaponData data;
    data.readWeapons(file({weaponRow(15000, "A").line(), weaponRow(70000, "B").line(),
                           weaponRow(5000, "C").line(), weaponRow(-1, "D").line(),
                           weaponRow(4999, "E").line(), weaponRow(0, "F").line()}));
    ASSERT_EQ(data.weapons().size(), 2u);
    EXPECT_EQ(data.weapon(4999).name(), "E");
    EXPECT_EQ(data.weapon(4999).position(), 0);
    EXPECT_EQ(data.weapon(0).position(), 1);
    // 70000 must not have been truncated into the table as 4464.
    EXPECT_FALSE(data.hasWeapon(4464));
    EXPECT_FALSE(data.hasWeapon(5000));
    EXPECT_EQ(data.weaponIndex(15000), 0);
}

TEST(WeaponLoading, MalformedLinesStayInBounds) {
    RecordingPrompter prompts;
    ScopedPrompter guard(&prompts);
    std::string longLine = sj("9,長い行");
    for (int i = 0; i < 700; ++i) longLine += ",1";
    std::string bytes = file({"1", "2,", sj(",,見出し"), longLine,
                              weaponRow(3, "x").resize(300).set(300, "z").line(),
                              std::string("4,\x81", 4), weaponRow(1, "again").line()});
    bytes += std::string("\x82", 1);  // a lead byte at the very end
    WeaponData data;
    data.readWeapons(bytes);
    ASSERT_EQ(data.weapons().size(), 7u);
    // A line with only an id: the record is zero but for the id and the defaults.
    const WeaponRecord& w2 = data.weapon(2);
    EXPECT_EQ(w2.name(), "");
    EXPECT_EQ(w2.pictureNumber(), 2);
    EXPECT_EQ(w2.descriptionNumber(), 2);
    EXPECT_EQ(w2.presentGroupCount(), 0);
    EXPECT_EQ(data.weapon(9).name(), sj("長い行"));
    EXPECT_EQ(data.weapon(3).name(), "x");
    // A repeated id points at the later record.
    EXPECT_EQ(data.weapon(1).name(), "again");
    EXPECT_EQ(data.weapon(1).position(), 5);
    EXPECT_EQ(data.weaponIndex(1), 6);
    // Text where a number belongs reads as 0: the stray last byte makes a weapon 0.
    EXPECT_TRUE(data.hasWeapon(0));
    EXPECT_EQ(data.weapon(0).position(), 6);
}

TEST(WeaponLookup, UnknownIdsGiveTheAllZeroRecord) {
    WeaponData data;
    data.readWeapons(file({weaponRow(10, "A").line()}));
    for (int id : {0, 11, -5, 4999, 5000, 9999, 10000, 14999, 15000, 65536}) {
        const WeaponRecord& w = data.weapon(id);
        EXPECT_TRUE(allZero(w.data(), WeaponRecord::kSize)) << id;
        EXPECT_EQ(w.name(), "");
        EXPECT_FALSE(data.hasArmament(id, 0));
        EXPECT_EQ(data.slotAttack(id, 0, 3), 0);
    }
}

TEST(WeaponLookup, UserTablesShareTheIndex) {
    WeaponData data;
    data.readWeapons(file({weaponRow(10, "std").line()}));
    WeaponRecord user;
    user.setId(6000);
    user.setName("first");
    EXPECT_TRUE(data.storeUserWeapon(user));
    user.setId(12000);
    user.setName("second");
    EXPECT_TRUE(data.storeUserWeapon(user));
    user.setId(10);
    EXPECT_FALSE(data.storeUserWeapon(user));
    EXPECT_EQ(data.weapon(6000).name(), "first");
    EXPECT_EQ(data.weapon(12000).name(), "second");
    EXPECT_EQ(data.userWeapons(0).size(), 1u);
    EXPECT_EQ(data.userWeapons(2).size(), 0u);
    user.setId(6000);
    user.setName("replaced");
    EXPECT_TRUE(data.storeUserWeapon(user));
    EXPECT_EQ(data.userWeapons(0).size(), 1u);
    EXPECT_EQ(data.weapon(6000).name(), "replaced");
    data.clearUserTables();
    EXPECT_FALSE(data.hasWeapon(6000));
    EXPECT_EQ(data.weapon(12000).name(), "");
    EXPECT_EQ(data.weapon(10).name(), "std");
}

// --- queries --------------------------------------------------------------------------------

TEST(WeaponQueries, TargetAttackBranchAndCategory) {
    WeaponData data;
    data.readWeapons(file({
        weaponRow(1, "tank").set(22, "○").line(),
        weaponRow(2, "truck").line(),
        weaponRow(3, "cruise").set(4, "低空").set(5, "低空").set(6, "弾頭").line(),
        weaponRow(4, "ballistic").set(4, "超高空").set(5, "高空").set(6, "弾頭").line(),
        weaponRow(5, "ship").set(4, "海上").set(5, "海上A").set(6, "駆逐艦").line(),
        weaponRow(6, "sub").set(4, "海中").set(5, "海中A").set(6, "潜水艦").line(),
        weaponRow(7, "vtol").set(4, "高空").set(5, "高空").set(6, "VTOL").line(),
        weaponRow(8, "heli").set(4, "低空").set(5, "低空").set(6, "対潜哨戒ﾍﾘ").line(),
        weaponRow(9, "abm").set(4, "超高空").set(5, "高空").set(6, "弾道弾迎撃機").line(),
    }));
    struct Expect {
        int id, target, attack, branch, category;
    };
    for (const Expect& e : {Expect{1, 3, 3, 1, 3}, Expect{2, 6, 6, 1, 3}, Expect{3, 8, 2, 0, 0},
                            Expect{4, 7, 0, 0, 0}, Expect{5, 4, 4, 2, 4}, Expect{6, 5, 5, 2, 4},
                            Expect{7, 1, 1, 0, 1}, Expect{8, 2, 2, 0, 2}, Expect{9, 0, 0, 0, 0}}) {
        EXPECT_EQ(data.targetClass(e.id), e.target) << e.id;
        EXPECT_EQ(data.attackClass(e.id), e.attack) << e.id;
        EXPECT_EQ(data.branch(e.id), e.branch) << e.id;
        EXPECT_EQ(data.weaponCategory(e.id), e.category) << e.id;
    }
}

TEST(WeaponQueries, SlotFiguresComeFromTheSlotArmament) {
    WeaponData data;
    data.readArmaments(file({armamentRow("gun", "g").set(4, 6).set(9, 44).set(15, "大砲").line(),
                             armamentRow("aa", "a").set(4, 3).set(6, 50).line()}));
    data.readWeapons(file({weaponRow(1, "W")
                               .set(49, "aa")
                               .set(50, "a")
                               .set(51, 8)
                               .set(53, "gun")
                               .set(54, "g")
                               .set(55, 4)
                               .set(25, 2)
                               .set(26, 7)
                               .set(27, 3)
                               .line()}));
    EXPECT_TRUE(data.hasArmament(1, 0));
    EXPECT_TRUE(data.hasArmament(1, 1));
    EXPECT_FALSE(data.hasArmament(1, 2));
    EXPECT_EQ(data.slotAttack(1, 1, static_cast<int>(TargetClass::SoftArmour)), 44);
    EXPECT_EQ(data.slotAttack(1, 0, static_cast<int>(TargetClass::Aircraft)), 50);
    EXPECT_EQ(data.slotAttack(1, 0, 9), 0);
    EXPECT_EQ(data.slotPower(1, 1), 6);
    EXPECT_EQ(data.slotKind(1, 1), static_cast<int>(ArmamentKind::Gun));
    EXPECT_EQ(data.slotRounds(1, 0), 8);
    EXPECT_EQ(data.slotRounds(1, 5), 0);
    EXPECT_EQ(data.slotPower(1, 4), 0);
    EXPECT_EQ(data.maxSight(1), 7);
}

TEST(WeaponQueries, TowedAlternatesAndTheirPictures) {
    auto row = [](int id, const char* type, int linked, int divisor) {
        return weaponRow(id, "w").set(6, type).set(48, linked).set(74, divisor).line();
    };
    WeaponData data;
    data.readWeapons(
        file({row(10, "牽引野砲", 11, 1), row(11, "牽引野砲", 10, 2), row(20, "ﾚｰﾀﾞｰ車両", 21, 0),
              row(21, "ﾚｰﾀﾞｰ車両", 20, 3), row(30, "主力戦車", 31, 1), row(31, "主力戦車", 30, 2),
              row(40, "対空ﾐｻｲﾙ車両", 41, 1), row(41, "対空ﾐｻｲﾙ車両", 40, 1),
              row(50, "牽引対空砲", 99, 1)}));
    EXPECT_TRUE(data.isTowedAlternate(10));
    EXPECT_FALSE(data.isTowedAlternate(11));
    EXPECT_EQ(data.weaponPicture(10, true), 57);
    EXPECT_EQ(data.weaponPicture(10, false), 25);
    EXPECT_EQ(data.weaponPicture(11, true), 25);
    EXPECT_EQ(data.weaponPicture(20, true), 63);
    // A type without a towed picture keeps its own.
    EXPECT_TRUE(data.isTowedAlternate(30));
    EXPECT_EQ(data.weaponPicture(30, true), 19);
    // Equal divisors: neither form is the towed one.
    EXPECT_FALSE(data.isTowedAlternate(40));
    EXPECT_FALSE(data.isTowedAlternate(41));
    // A link to a weapon that does not exist compares against the all-zero record.
    EXPECT_FALSE(data.isTowedAlternate(50));
    EXPECT_EQ(data.weaponPicture(50, true), 29);
    EXPECT_EQ(data.weaponPicture(777, true), 0);
}

TEST(WeaponQueries, GroupsAndTheirShares) {
    WeaponRecord w;
    EXPECT_EQ(w.presentGroupCount(), 0);
    w.setGroupDivisor(0, 3);  // a divisor alone does not make a group present
    EXPECT_EQ(w.presentGroupCount(), 0);
    w.setGroupValue(0, 4, 1);
    w.setGroupValue(2, 0, 1);
    w.setCountermeasure(1, 30);
    w.setCountermeasure(3, 10);
    EXPECT_EQ(w.presentGroupCount(), 2);
    EXPECT_TRUE(w.groupPresent(2));
    EXPECT_FALSE(w.groupPresent(1));
    EXPECT_EQ(w.maxCountermeasure(), 30);
    EXPECT_EQ(w.groupShare(0, 10), 3);
    EXPECT_EQ(w.groupShare(0, 2), 1);   // at least 1
    EXPECT_EQ(w.groupShare(1, 10), 0);  // no divisor
    EXPECT_EQ(w.groupShare(7, 10), 0);
}

// --- files ----------------------------------------------------------------------------------

class WeaponFiles : public ::testing::Test {
protected:
    void SetUp() override { setProgramPath(dir.file("kvornme")); }
    void TearDown() override { setProgramPath(""); }
    kvtest::TempDir dir;
    RecordingPrompter prompts;
    ScopedPrompter guard{&prompts};
};

TEST_F(WeaponFiles, MissingFilesAreReportedAndRaise) {
    WeaponData data;
    EXPECT_THROW(data.loadArmaments(), swCFileError);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].caption, "警告");
    EXPECT_EQ(prompts.seen[0].text, "兵装データ warm.dat が見つかりません");
    EXPECT_EQ(prompts.seen[0].icon, PromptIcon::Stop);
    EXPECT_THROW(data.loadWeapons(), swCFileError);
    ASSERT_EQ(prompts.seen.size(), 2u);
    EXPECT_EQ(prompts.seen[1].caption, "警告");
    EXPECT_EQ(prompts.seen[1].text, "兵器データ weapon.dat が見つかりません");
    EXPECT_EQ(prompts.seen[1].icon, PromptIcon::Stop);
}

TEST_F(WeaponFiles, LoadsFromTheProgramFolderWithAnyLineEnds) {
    kvtest::writeFile(dir.file("WARM.DAT"), armamentRow("A", "a").line() + "\n");
    kvtest::writeFile(dir.file("weapon.dat"), weaponRow(3, "W").set(49, "A").set(50, "a").line() +
                                                  "\n" + weaponRow(4, "V").line());
    WeaponData data;
    data.loadArmaments();
    data.loadWeapons();
    EXPECT_TRUE(prompts.seen.empty());
    EXPECT_EQ(data.weapon(3).slotArmament(0), 1);
    EXPECT_EQ(data.weapon(4).name(), "V");
}

// --- the bundled arsenal --------------------------------------------------------------------

class WeaponSampleData : public WeaponFiles {};

TEST_F(WeaponSampleData, CoversEveryTypeLayerMovementAndKind) {
    ASSERT_EQ(sample::writeWeaponData(dir.path()), "");
    WeaponData data;
    data.loadArmaments();
    data.loadWeapons();
    EXPECT_TRUE(prompts.seen.empty()) << prompts.seen[0].text;  // every armament resolves
    UnitDataTable units;
    units.load(data.weapons());

    std::set<int> kinds, layers, moves, types;
    for (const ArmamentRecord& a : data.armaments()) kinds.insert(a.kind);
    EXPECT_EQ(kinds.size(), 13u);
    // Two armaments share a name and differ in their short names, and weapons use both.
    std::set<int> usedArmaments;
    for (const WeaponRecord& w : data.weapons()) {
        layers.insert(w.layer());
        moves.insert(w.movementType());
        types.insert(w.weaponType());
        for (int s = 0; s < 5; ++s) usedArmaments.insert(w.slotArmament(s));
        EXPECT_LT(w.id(), 5000);
        EXPECT_TRUE(units.hasRecord(w.id())) << w.id();
        EXPECT_EQ(units.record(w.id()).weaponId, w.id());
        // Written records, not the all-zero fillers the loader adds for missing ones.
        EXPECT_FALSE(allZero(units.record(w.id()).battleData, 56)) << w.id();
    }
    EXPECT_EQ(units.standardUnits().size(), data.weapons().size());
    bool sharedNameUsedTwice = false;
    for (size_t i = 0; i < data.armaments().size(); ++i) {
        for (size_t j = i + 1; j < data.armaments().size(); ++j) {
            const ArmamentRecord& a = data.armaments()[i];
            const ArmamentRecord& b = data.armaments()[j];
            if (a.nameText() == b.nameText() && a.shortNameText() != b.shortNameText() &&
                usedArmaments.count(static_cast<int>(i + 1)) &&
                usedArmaments.count(static_cast<int>(j + 1))) {
                sharedNameUsedTwice = true;
            }
        }
    }
    EXPECT_TRUE(sharedNameUsedTwice);
    EXPECT_EQ(layers.size(), 6u);
    EXPECT_EQ(moves.size(), 14u);
    // Every type name is used; the second 対潜哨戒ﾍﾘ (18) is reachable only by number.
    EXPECT_EQ(types.size(), 56u);
    EXPECT_FALSE(types.count(18));
    EXPECT_EQ(*types.rbegin(), 56);
}

TEST_F(WeaponSampleData, HasCarriersPairsWarheadsAndAHeadquarters) {
    ASSERT_EQ(sample::writeWeaponData(dir.path()), "");
    WeaponData data;
    data.loadArmaments();
    data.loadWeapons();
    std::set<int> carrierTypes;
    int towedPairs = 0, multiGroup = 0, countered = 0, selectableWarheads = 0, hq = 0;
    bool landingShip = false;
    for (const WeaponRecord& w : data.weapons()) {
        for (int i = 0; i < 6; ++i) {
            if (w.cargoCapacity(i) != 0) carrierTypes.insert(w.weaponType());
        }
        if (data.isTowedAlternate(w.id())) {
            ++towedPairs;
            const WeaponRecord& other = data.weapon(w.linkedWeapon() - 1);
            EXPECT_EQ(other.linkedWeapon(), w.id() + 1);
            EXPECT_NE(data.weaponPicture(w.id(), true), w.weaponType());
        }
        multiGroup += w.presentGroupCount() > 1 ? 1 : 0;
        countered += w.maxCountermeasure() > 0 ? 1 : 0;
        if (w.weaponType() == 34 && w.selectable()) ++selectableWarheads;
        hq += w.weaponType() == 39 ? 1 : 0;
        landingShip = landingShip || (w.flags() & WeaponRecord::kLandingShip);
    }
    for (int type : {14, 20, 48, 49, 50}) EXPECT_TRUE(carrierTypes.count(type)) << type;
    EXPECT_GE(towedPairs, 2);
    EXPECT_GE(multiGroup, 2);
    EXPECT_GE(countered, 2);
    EXPECT_GE(selectableWarheads, 2);
    EXPECT_GE(hq, 1);
    EXPECT_TRUE(landingShip);

    // The exported catalogue describes the same weapons.
    ASSERT_EQ(sample::sampleWeapons().size(), data.weapons().size());
    for (const sample::SampleWeapon& s : sample::sampleWeapons()) {
        const WeaponRecord& w = data.weapon(s.id);
        EXPECT_EQ(decodeCp932(w.name()), s.name);
        EXPECT_EQ(w.layer(), s.layer);
        EXPECT_EQ(w.movementType(), s.movementType);
        EXPECT_EQ(w.weaponType(), s.weaponType);
        EXPECT_EQ(w.branch(), s.branch);
        EXPECT_EQ(w.selectable() != 0, s.selectable);
        EXPECT_EQ(w.linkedWeapon(), s.linkedWeapon ? s.linkedWeapon + 1 : 0);
        EXPECT_EQ(data.isTowedAlternate(s.id), s.towedAlternate);
    }
}

TEST_F(WeaponSampleData, TwoRunsWriteIdenticalBytes) {
    kvtest::TempDir other;
    ASSERT_EQ(sample::writeWeaponData(dir.path()), "");
    ASSERT_EQ(sample::writeWeaponData(other.path()), "");
    for (const char* name : {"warm.dat", "weapon.dat", "rf/unitdata.dat"}) {
        const std::string a = kvtest::readFile(dir.file(name));
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_EQ(a, kvtest::readFile(other.file(name))) << name;
    }
    // CP932 with CR LF line ends: every LF follows a CR.
    const std::string weapons = kvtest::readFile(dir.file("weapon.dat"));
    for (size_t i = 0; i < weapons.size(); ++i) {
        if (weapons[i] == '\n') {
            ASSERT_TRUE(i > 0 && weapons[i - 1] == '\r');
        }
    }
    EXPECT_TRUE(decodeCp932(weapons).has_value());
}

}  // namespace
}  // namespace kv
