// Rule sets, production presets, anthems, music and organisation names: reading, the values
// the program imposes, saving, malformed files and the bundled sample data.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>

#include <sys/resource.h>
#include <sys/stat.h>

#include "framework/cp932.h"
#include "framework/errors.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "gamedata/organisation.h"
#include "gamedata/rules.h"
#include "gamedata/text_table.h"
#include "sampledata/rule_data.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using kvtest::readFile;
using kvtest::TempDir;
using kvtest::writeFile;
using Strings = std::vector<std::string>;

std::string sj(std::string_view utf8) {
    std::optional<std::string> bytes = encodeCp932(utf8);
    EXPECT_TRUE(bytes) << utf8;
    return bytes.value_or("");
}

// A private program folder that dataPath resolves to, with a prompter that records.
class ProgramFolder {
public:
    ProgramFolder() : prompts_(&recorder) {
        setProgramPath(dir_.path() + "/kvornme");
        for (const char* f : {"bgm", "rule", "product"}) mkdir(dir_.file(f).c_str(), 0755);
    }
    ~ProgramFolder() { setProgramPath(""); }
    std::string file(const std::string& name) const { return dir_.file(name); }
    const std::string& path() const { return dir_.path(); }

    RecordingPrompter recorder;

private:
    TempDir dir_;
    ScopedPrompter prompts_;
};

// The rules by what the program does with them.
const std::vector<size_t> kStoredRules = {1,  3,  5,  10, 13, 15, 22, 23, 25,
                                          29, 31, 32, 33, 34, 39, 40, 46};
const std::vector<size_t> kAlwaysOne = {0,  2,  4,  6,  8,  9,  11, 12, 17,
                                        21, 30, 35, 37, 38, 42, 44, 45, 50};
const std::vector<size_t> kAlwaysZero = {7, 14, 16, 18, 19, 20, 24, 26, 27, 28, 36, 43, 49};

// ---- the rule record and its values -----------------------------------------------------

TEST(RuleSettings, RecordIsTheRuleIdThenEachRuleAtItsNumberPlusOne) {
    std::array<uint8_t, 52> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i + 100);
    RuleSettings record;
    std::memcpy(&record, bytes.data(), sizeof record);
    EXPECT_EQ(record.ruleId, 100);
    EXPECT_EQ(record.value(46), 147);  // the last stored rule
    record.setValue(33, 7);
    std::memcpy(bytes.data(), &record, sizeof record);
    EXPECT_EQ(bytes[34], 7);
}

TEST(RuleSettings, ForcedRulesReadTheirValueWhateverIsStored) {
    ASSERT_EQ(kStoredRules.size() + kAlwaysOne.size() + kAlwaysZero.size() + 3, kRuleCount);
    RuleSettings record;
    for (size_t rule = 0; rule < kRuleCount; ++rule)
        record.values[rule] = static_cast<uint8_t>(rule + 7);
    for (size_t rule : kStoredRules) EXPECT_EQ(record.value(rule), rule + 7) << rule;
    for (size_t rule : kAlwaysOne) EXPECT_EQ(record.value(rule), 1) << rule;
    for (size_t rule : kAlwaysZero) EXPECT_EQ(record.value(rule), 0) << rule;
    EXPECT_EQ(record.value(41), record.values[40]);
    EXPECT_EQ(record.value(47), record.values[15]);
    EXPECT_EQ(record.value(48), record.values[29]);
    EXPECT_EQ(record.value(kRuleCount), 0);
    EXPECT_EQ(record.value(1000), 0);
}

TEST(RuleSettings, SetValueStoresOnlyWhatTheRuleAllows) {
    RuleSettings record;
    for (size_t rule : kAlwaysOne) record.setValue(rule, 0);
    for (size_t rule : kAlwaysZero) record.setValue(rule, 1);
    for (size_t rule : kAlwaysOne) EXPECT_EQ(record.values[rule], 1) << rule;
    for (size_t rule : kAlwaysZero) EXPECT_EQ(record.values[rule], 0) << rule;
    for (size_t rule : kStoredRules) {
        record.setValue(rule, 5);
        EXPECT_EQ(record.values[rule], 5) << rule;
    }
    // 47 stores 1 but reads rule 15; numbers past the last rule change nothing.
    record.setValue(15, 0);
    record.setValue(47, 0);
    EXPECT_EQ(record.values[47], 1);
    EXPECT_EQ(record.value(47), 0);
    const RuleSettings before = record;
    record.setValue(kRuleCount, 1);
    record.setValue(SIZE_MAX, 1);
    EXPECT_EQ(std::memcmp(&before, &record, sizeof record), 0);
}

TEST(RuleSettings, AlliedRepairFollowsAlliedReplenishmentAndCannotBeSet) {
    RuleSettings record;
    record.setValue(40, 1);
    record.setValue(41, 0);
    EXPECT_EQ(record.value(41), 1);
    EXPECT_EQ(record.values[41], 0);
    record.setValue(40, 0);
    EXPECT_EQ(record.value(41), 0);
    record.setValue(48, 1);
    EXPECT_EQ(record.values[48], 0);
}

TEST(RuleSetPosition, IdsBelowHundredArePositionsTheOthersCountFromHundred) {
    for (size_t n = 0; n < kRuleSetCount; ++n) EXPECT_EQ(ruleSetPosition(ruleIdOfFile(n)), n) << n;
    EXPECT_EQ(ruleIdOfFile(2), 100);
    EXPECT_EQ(ruleSetPosition(21), 21u);
    for (unsigned id : {22u, 99u, 120u, unsigned{kCustomRuleId}})
        EXPECT_EQ(ruleSetPosition(id), std::nullopt) << id;
}

// ---- rule files -----------------------------------------------------------------------------

TEST(RuleFile, AKeyCountsOnlyWhenFollowedDirectlyByEquals) {
    // 索敵 is a prefix of 索敵階層化: the longer key's line sets rule 4, whose value stays 1.
    RuleSet set = parseRuleFile(sj("索敵=1\r\n索敵階層化=0\r\nZOC=1\r\nZOC攻撃武器必要=0\r\n"), 5);
    EXPECT_EQ(set.ruleId, 5);
    EXPECT_EQ(set.value(3), 1);
    EXPECT_EQ(set.value(4), 1);
    EXPECT_EQ(set.value(1), 1);
    set = parseRuleFile(sj("索敵=1\r\nZOC =1\r\n ZOC=1\r\nZOC\r\n爆撃=1=2\r\n"), 0);
    EXPECT_EQ(set.value(3), 1);
    EXPECT_EQ(set.value(1), 0);   // blanks around the key do not match
    EXPECT_EQ(set.value(15), 1);  // the number stops at the second "="
    // 生産 is a prefix of several keys; each line reaches its own rule.
    set = parseRuleFile(sj("生産数制限=0\n生産=1\n生産可能建物の首都から距離=3\n"), 0);
    EXPECT_EQ(set.value(33), 1);
    EXPECT_EQ(set.value(13), 3);
    EXPECT_EQ(set.value(50), 1);
    // Allied repair reads allied replenishment, whatever its own line says.
    set = parseRuleFile(sj("同盟国での修理=0\r\n同盟国での補充=1\r\n"), 0);
    EXPECT_EQ(set.value(41), 1);
}

TEST(RuleFile, TextsAreTheRestOfTheLine) {
    RuleSet set = parseRuleFile(
        sj("Name=標準,ルール=改\r\nDate=2024/01/02\nTime=\r\nNameless=x\r\nname=lower\r\n"), 0);
    EXPECT_EQ(set.name, sj("標準,ルール=改"));
    EXPECT_EQ(set.date, "2024/01/02");
    EXPECT_EQ(set.time, "");
    // A NUL ends a line; a line past 1023 bytes keeps only its start; a lead byte may end a file.
    set = parseRuleFile(std::string("Name=a\0ZOC=1\r\n", 14) + "Date=" + std::string(2000, 'd'), 0);
    EXPECT_EQ(set.name, "a");
    EXPECT_EQ(set.value(1), 1);
    EXPECT_EQ(set.date, std::string(1018, 'd'));
    EXPECT_EQ(parseRuleFile("Name=\x83", 0).name, "\x83");
}

TEST(RuleFile, MalformedNumbersAndLinesLoadWithoutHarm) {
    std::string text = sj("ZOC=99999999999999999999\r\n索敵=300\r\n隠蔽=-1\r\n補充=abc\r\n");
    text += sj("爆撃=");  // a last line without its number or line end
    const RuleSet set = parseRuleFile(text, 0);
    EXPECT_EQ(set.value(1), 255);  // wraps like a conversion to a byte
    EXPECT_EQ(set.value(3), 44);
    EXPECT_EQ(set.value(10), 255);
    EXPECT_EQ(set.value(29), 0);
    EXPECT_EQ(set.value(15), 0);
}

TEST(RuleFile, WritesTheTextsThenEveryRulesEffectiveValue) {
    RuleSet set;
    set.name = sj("上級");
    set.date = "2024/05/06";
    set.time = "07:08:09";
    set.values.fill(0);
    set.setValue(15, 1);
    set.setValue(40, 1);
    const std::string text = formatRuleFile(set);
    const std::vector<std::string> lines = splitLines(text);
    ASSERT_EQ(lines.size(), 3 + kRuleCount);
    EXPECT_EQ(lines[0], "Name=" + sj("上級"));
    EXPECT_EQ(lines[1], "Date=2024/05/06");
    EXPECT_EQ(lines[2], "Time=07:08:09");
    EXPECT_EQ(lines[3], sj("最低燃料消費=1"));  // forced, though zero is stored
    EXPECT_EQ(lines[3 + 41], sj("同盟国での修理=1"));
    EXPECT_EQ(lines[3 + 47], sj("補強=1"));
    EXPECT_EQ(lines[3 + 50], sj("生産数制限=1"));
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
              std::count(text.begin(), text.end(), '\r'));
    for (size_t rule = 0; rule < kRuleCount; ++rule)
        EXPECT_EQ(decodeCp932(ruleKey(rule)), std::string(ruleName(rule))) << rule;
}

TEST(RuleFile, ATextWithLineBreaksCannotAddLines) {
    RuleSet set;
    set.name = "a\r\n" + sj("爆撃=1");
    set.date = "x\x83\r\nZOC=1";  // a lead byte that would swallow the line end
    const RuleSet back = parseRuleFile(formatRuleFile(set), 0);
    EXPECT_EQ(back.name, "a");
    EXPECT_EQ(back.date, "x");
    EXPECT_EQ(back.value(15), 0);
    EXPECT_EQ(back.value(1), 0);
}

// ---- the rule table -------------------------------------------------------------------------

TEST(RuleData, LoadsTwentyTwoRuleSetsWithMissingFilesEmpty) {
    ProgramFolder folder;
    writeFile(folder.file("rule/class5.rul"), sj("Name=五番\r\nZOC=1\r\n"));
    writeFile(folder.file("rule/CLASS0.RUL"), "Name=zero\r\n");  // copied from Windows
    RuleData data;
    data.loadRuleSets();
    ASSERT_EQ(data.ruleSets().size(), kRuleSetCount);
    for (size_t n = 0; n < kRuleSetCount; ++n)
        EXPECT_EQ(data.ruleSets()[n].ruleId, ruleIdOfFile(n));
    ASSERT_NE(data.ruleSet(103), nullptr);
    EXPECT_EQ(data.ruleSet(103)->name, sj("五番"));
    EXPECT_EQ(data.ruleSet(103)->value(1), 1);
    EXPECT_EQ(data.ruleSet(0)->name, "zero");
    // An id below 100 is a position: id 5 reaches rule file 5 as well.
    EXPECT_EQ(data.ruleSet(5), data.ruleSet(103));
    const RuleSet* empty = data.ruleSet(119);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->name, "");
    EXPECT_EQ(empty->value(1), 0);
    EXPECT_EQ(empty->value(0), 1);
    EXPECT_EQ(data.ruleSet(kCustomRuleId), nullptr);
    EXPECT_TRUE(folder.recorder.seen.empty());
}

TEST(RuleData, SavedRuleSetReadsBackAsSaved) {
    ProgramFolder folder;
    writeFile(folder.file("rule/class2.rul"), sj("Name=旧\r\n索敵=1\r\n"));
    RuleData data;
    data.loadRuleSets();
    RuleSet* set = data.ruleSet(100);
    ASSERT_NE(set, nullptr);
    set->name = sj("新ルール");
    set->date = "2025/01/31";
    set->time = "23:59:59";
    for (size_t rule : kStoredRules) set->setValue(rule, rule % 2);
    ASSERT_TRUE(data.saveRuleSet(2));
    EXPECT_EQ(readFile(folder.file("rule/class2.rul")), formatRuleFile(*set));

    RuleData again;
    again.loadRuleSets();
    const RuleSet* back = again.ruleSet(100);
    EXPECT_EQ(back->name, set->name);
    EXPECT_EQ(back->date, set->date);
    EXPECT_EQ(back->time, set->time);
    for (size_t rule = 0; rule < kRuleCount; ++rule)
        EXPECT_EQ(back->value(rule), set->value(rule)) << rule;
    EXPECT_FALSE(data.saveRuleSet(kRuleSetCount));
    EXPECT_FALSE(RuleData().saveRuleSet(0));  // nothing loaded, nothing written
    EXPECT_FALSE(std::filesystem::exists(folder.file("rule/class0.rul")));
}

TEST(RuleData, FailedSaveKeepsTheOldFile) {
    ProgramFolder folder;
    const std::string path = folder.file("rule/class3.rul");
    const std::string old = sj("Name=元のルール\r\nZOC=1\r\n");
    writeFile(path, old);
    RuleData data;
    data.loadRuleSets();
    data.ruleSet(101)->setValue(1, 0);

    // Files may not grow past a few bytes: the new file cannot be written completely.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        data.saveRuleSet(3);
    } catch (const swCFileError& e) {
        threw = e.code == swCFileError::Write;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(threw);
    EXPECT_EQ(readFile(path), old);
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder.file("rule")))
        ++entries;
    EXPECT_EQ(entries, 1u);  // no temporary file left behind
    // Without a rule folder the save fails as well.
    std::filesystem::remove_all(folder.file("rule"));
    EXPECT_THROW(data.saveRuleSet(3), swCFileError);
}

// ---- production presets ---------------------------------------------------------------------

ProductionPreset shares(int air, int land, int sea) {
    ProductionPreset p;
    p.airShare = static_cast<uint8_t>(air);
    p.landShare = static_cast<uint8_t>(land);
    p.seaShare = static_cast<uint8_t>(sea);
    balanceShares(p);
    return p;
}

std::array<int, 3> triple(const ProductionPreset& p) {
    return {p.airShare, p.landShare, p.seaShare};
}

TEST(PresetShares, LandTakesWhatIsMissingUpToHundred) {
    EXPECT_EQ(triple(shares(30, 30, 30)), (std::array<int, 3>{30, 40, 30}));
    EXPECT_EQ(triple(shares(0, 0, 0)), (std::array<int, 3>{0, 100, 0}));
    EXPECT_EQ(triple(shares(99, 0, 0)), (std::array<int, 3>{99, 1, 0}));
    EXPECT_EQ(triple(shares(20, 50, 30)), (std::array<int, 3>{20, 50, 30}));
}

TEST(PresetShares, OverHundredIsScaledDownToHundred) {
    EXPECT_EQ(triple(shares(50, 50, 50)), (std::array<int, 3>{33, 34, 33}));
    EXPECT_EQ(triple(shares(200, 0, 0)), (std::array<int, 3>{100, 0, 0}));
    EXPECT_EQ(triple(shares(0, 0, 101)), (std::array<int, 3>{0, 0, 100}));
    EXPECT_EQ(triple(shares(1, 1, 101)), (std::array<int, 3>{0, 2, 98}));
    EXPECT_EQ(triple(shares(80, 40, 0)), (std::array<int, 3>{66, 34, 0}));
    EXPECT_EQ(triple(shares(255, 255, 255)), (std::array<int, 3>{33, 34, 33}));
    // Every combination ends at 100 with each share in 0..100.
    for (int a = 0; a < 256; a += 15) {
        for (int l = 0; l < 256; l += 17) {
            for (int s = 0; s < 256; s += 13) {
                const auto [air, land, sea] = triple(shares(a, l, s));
                ASSERT_EQ(air + land + sea, 100) << a << ' ' << l << ' ' << s;
                ASSERT_LE(std::max({air, land, sea}), 100);
                if (a + l + s <= 100) {
                    ASSERT_TRUE(air == a && sea == s);
                }
            }
        }
    }
}

TEST(PresetFile, ReadsTextsAndSharesByKey) {
    const ProductionPreset p =
        parsePreset(sj("Name=航空重視\r\nDate=2024/04/02\r\nTime=10:05:00\r\n航空部隊=50\r\n"
                       "陸上部隊 =40\r\n海上部隊=20\r\n陸上部隊=30\r\nコメント=なし\r\n"),
                    4);
    EXPECT_EQ(p.number, 4);
    EXPECT_TRUE(p.defined);
    EXPECT_EQ(p.name, sj("航空重視"));
    EXPECT_EQ(p.date, "2024/04/02");
    EXPECT_EQ(p.time, "10:05:00");
    EXPECT_EQ(triple(p), (std::array<int, 3>{50, 30, 20}));
    // Numbers wrap to a byte before balancing; empty and broken files are all land.
    EXPECT_EQ(triple(parsePreset(sj("航空部隊=300\n海上部隊=-1"), 0)),
              (std::array<int, 3>{14, 1, 85}));
    EXPECT_EQ(triple(parsePreset("", 0)), (std::array<int, 3>{0, 100, 0}));
    EXPECT_EQ(triple(parsePreset(std::string("\0\x81\0=,,", 6), 0)),
              (std::array<int, 3>{0, 100, 0}));
}

TEST(PresetData, TenPresetsNumberedByFileMissingOnesEmpty) {
    ProgramFolder folder;
    writeFile(folder.file("product/prodef00.dat"),
              sj("Name=標準\r\n航空部隊=30\r\n陸上部隊=30\r\n海上部隊=30\r\n"));
    writeFile(folder.file("product/PRODEF07.DAT"), sj("Name=七\n海上部隊=70\n"));
    writeFile(folder.file("product/prodef7.dat"), "Name=wrong\n");
    RuleData data;
    data.loadPresets();
    for (int n = 0; n < 10; ++n) {
        const ProductionPreset* p = data.preset(n);
        ASSERT_NE(p, nullptr) << n;
        EXPECT_EQ(p->number, n);
        EXPECT_EQ(p->defined, n == 0 || n == 7) << n;
        EXPECT_EQ(p->airShare + p->landShare + p->seaShare, 100) << n;
    }
    EXPECT_EQ(triple(*data.preset(0)), (std::array<int, 3>{30, 40, 30}));
    EXPECT_EQ(data.preset(7)->name, sj("七"));
    EXPECT_EQ(triple(*data.preset(7)), (std::array<int, 3>{0, 30, 70}));
    EXPECT_EQ(data.preset(3)->name, "");
    EXPECT_EQ(data.preset(10), nullptr);
    EXPECT_EQ(data.preset(-1), nullptr);
    EXPECT_TRUE(folder.recorder.seen.empty());
}

// ---- anthems and music ----------------------------------------------------------------------

TEST(AnthemList, OnlyLinesWithExactlyTwoFieldsCount) {
    ProgramFolder folder;
    writeFile(folder.file("anthem.lst"), sj("; 国歌一覧\r\n") + sj("第一国歌,BGM\\First.MID\r\n") +
                                             sj("三つ,bgm\\a.mid,x\r\n") + "\r\n" +
                                             sj("二番,bgm\\アB.wav\n") + ",\r\n" +
                                             std::string(2000, 'x') + ",y");
    RuleData data;
    data.loadAnthems();
    EXPECT_EQ(data.anthemNames(), (Strings{sj("第一国歌"), sj("二番"), ""}));
    // Capital letters fold, except a trail byte that looks like one (ア is 0x83 0x41).
    EXPECT_EQ(data.anthemFiles(), (Strings{"bgm\\first.mid", sj("bgm\\アb.wav"), ""}));
    EXPECT_TRUE(data.isAnthemFile("bgm\\first.mid"));
    EXPECT_TRUE(data.isAnthemFile("bgm/first.mid"));
    EXPECT_FALSE(data.isAnthemFile("bgm\\First.MID"));
    EXPECT_FALSE(data.isAnthemFile("bgm\\a.mid"));
    EXPECT_TRUE(folder.recorder.seen.empty());
}

TEST(AnthemList, MissingFileLeavesTheListsEmpty) {
    ProgramFolder folder;
    RuleData data;
    writeFile(folder.file("anthem.lst"), "a,bgm\\a.mid\r\n");
    data.loadAnthems();
    ASSERT_EQ(data.anthemNames().size(), 1u);
    std::filesystem::remove(folder.file("anthem.lst"));
    data.loadAnthems();
    EXPECT_TRUE(data.anthemNames().empty());
    EXPECT_TRUE(data.anthemFiles().empty());
    EXPECT_FALSE(data.isAnthemFile(""));
}

TEST(MusicList, WavesThenMidisInLowerCaseWithoutAnthems) {
    ProgramFolder folder;
    for (const char* f : {"B.WAV", "a.wav", "Theme.MID", "Anthem.mid", "notes.txt", "x.wav.bak",
                          "Solo.Mid", "other.mid"})
        writeFile(folder.file("bgm/") + f, "x");
    std::filesystem::create_directory(folder.file("bgm/folder.wav"));
    writeFile(folder.file("anthem.lst"), "A,BGM\\ANTHEM.MID\r\nO,bgm/other.mid\r\n");
    RuleData data;
    data.loadAnthems();
    data.loadMusic();
    EXPECT_EQ(data.musicNames(), (Strings{"a.wav", "b.wav", "solo.mid", "theme.mid"}));
    EXPECT_EQ(data.musicFiles(),
              (Strings{"bgm\\a.wav", "bgm\\b.wav", "bgm\\solo.mid", "bgm\\theme.mid"}));
    // The listed names lead back to the files as they are spelled on disk.
    EXPECT_EQ(listedFilePath(data.musicFiles()[1]), folder.file("bgm/B.WAV"));
    EXPECT_EQ(listedFilePath("bgm\\theme.mid"), folder.file("bgm/Theme.MID"));
}

TEST(MusicList, MissingFolderNamesInCapitalsAndDoubles) {
    ProgramFolder folder;
    std::filesystem::remove_all(folder.file("bgm"));
    RuleData data;
    data.loadMusic();
    EXPECT_TRUE(data.musicNames().empty());
    // A folder copied from Windows in capitals; two names differing only in case.
    std::filesystem::create_directory(folder.file("BGM"));
    writeFile(folder.file("BGM/Song.wav"), "1");
    writeFile(folder.file("BGM/SONG.WAV"), "2");
    writeFile(folder.file("BGM/") + sj("行進曲.MID"), "3");  // not a UTF-8 name on disk
    data.loadMusic();
    EXPECT_EQ(data.musicNames(), (Strings{"song.wav", sj("行進曲.mid")}));
    EXPECT_EQ(data.musicFiles().size(), data.musicNames().size());
}

TEST(MusicList, JapaneseFileNamesMatchTheirAnthemEntries) {
    ProgramFolder folder;
    // On disk the name is UTF-8; the list holds CP932.
    writeFile(folder.file("bgm/国歌.mid"), "x");
    writeFile(folder.file("bgm/行進.wav"), "x");
    writeFile(folder.file("anthem.lst"), sj("国歌,bgm\\国歌.mid\r\n"));
    RuleData data;
    data.loadAnthems();
    data.loadMusic();
    EXPECT_EQ(data.musicNames(), Strings{sj("行進.wav")});
    EXPECT_EQ(listedFilePath(data.anthemFiles()[0]), folder.file("bgm/国歌.mid"));
}

// ---- organisation -------------------------------------------------------------------------

TEST(Organisation, FixedNamesByIndex) {
    EXPECT_EQ(divisionKindName(0), "空軍師団");
    EXPECT_EQ(divisionKindName(2), "海軍師団");
    EXPECT_EQ(divisionKindName(3), "");
    EXPECT_EQ(regimentName(0), "第１連隊");
    EXPECT_EQ(regimentName(5), "第６連隊");
    EXPECT_EQ(regimentName(6), "直属部隊");
    EXPECT_EQ(regimentName(7), "");
    EXPECT_EQ(commanderTitle(0), "部隊長");
    EXPECT_EQ(commanderTitle(5), "統合師団長");
    EXPECT_EQ(commanderTitle(SIZE_MAX), "");
}

TEST(Organisation, CommanderIsTheFirstGatheredMemberStandingFree) {
    using M = RegimentMember;
    EXPECT_EQ(chooseCommander({}), std::nullopt);
    const std::vector<M> freeGathered = {
        {false, false}, {true, true}, {true, false}, {true, false}};
    EXPECT_EQ(chooseCommander(freeGathered), 2u);
    const std::vector<M> allLoaded = {{false, true}, {true, true}, {false, false}, {true, true}};
    EXPECT_EQ(chooseCommander(allLoaded), 3u);  // the last gathered one
    const std::vector<M> noneGathered = {{false, true}, {false, false}, {false, false}};
    EXPECT_EQ(chooseCommander(noneGathered), 1u);
    const std::vector<M> onlyLoaded = {{false, true}, {false, true}};
    EXPECT_EQ(chooseCommander(onlyLoaded), 0u);
}

TEST(Organisation, RegimentMessages) {
    RecordingPrompter recorder;
    ScopedPrompter scope(&recorder);
    reportDeploymentIncomplete();
    ASSERT_EQ(recorder.seen.size(), 1u);
    EXPECT_EQ(recorder.seen[0].caption, "注意");
    EXPECT_EQ(recorder.seen[0].text, "すべての部隊を展開できませんでした。");
    EXPECT_EQ(recorder.seen[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(gatherRefusedText(), "連隊長の地点へ配置不可能な部隊がいます。");
}

// ---- the bundled data -----------------------------------------------------------------------

std::map<std::string, std::string> folderContents(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        if (e.is_regular_file()) {
            files[std::filesystem::relative(e.path(), root).string()] = readFile(e.path().string());
        }
    }
    return files;
}

uint32_t le(const std::string& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b.at(at + i));
    return v;
}

TEST(RuleSampleData, WritesWhatTheReadersLoad) {
    ProgramFolder folder;
    ASSERT_EQ(sample::writeRuleData(folder.path()), "");
    RuleData data;
    data.loadPresets();
    data.loadAnthems();
    data.loadMusic();
    data.loadRuleSets();

    ASSERT_EQ(data.ruleSets().size(), 22u);
    for (const RuleSet& set : data.ruleSets()) {
        EXPECT_FALSE(set.name.empty());
        EXPECT_EQ(set.date.size(), 10u);
        EXPECT_EQ(set.time.size(), 8u);
        // Searching off hides nothing: concealment is off with it.
        if (set.value(3) == 0) {
            EXPECT_EQ(set.value(10), 0) << set.name;
        }
    }
    EXPECT_EQ(decodeCp932(data.ruleSet(0)->name), "標準ルール");
    EXPECT_EQ(decodeCp932(data.ruleSet(1)->name), "上級ルール");
    for (const ProductionPreset& p : data.presets()) {
        EXPECT_TRUE(p.defined);
        EXPECT_FALSE(p.name.empty());
        // The files already add up to 100; nothing is corrected on reading.
        EXPECT_EQ(p.airShare + p.landShare + p.seaShare, 100);
    }
    ASSERT_GE(data.anthemNames().size(), 2u);
    bool wave = false, midi = false;
    for (const std::string& file : data.anthemFiles()) {
        const std::string bytes = readFile(listedFilePath(file));
        ASSERT_GE(bytes.size(), 44u) << file;
        if (bytes.starts_with("RIFF")) {
            wave = true;
            EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
            EXPECT_EQ(le(bytes, 20, 2), 1u);  // PCM
            EXPECT_EQ(le(bytes, 22, 2), 1u);  // mono
            const uint32_t rate = le(bytes, 24, 4);
            EXPECT_TRUE(rate >= 8000 && rate <= 16000);
            EXPECT_EQ(le(bytes, 40, 4), bytes.size() - 44);
            EXPECT_LE(bytes.size() - 44, 2 * rate);  // about a second
        } else {
            midi = true;
            EXPECT_EQ(bytes.substr(0, 4), "MThd");
            EXPECT_EQ(bytes.substr(8, 2), std::string("\0\0", 2));  // format 0
            EXPECT_EQ(bytes.substr(14, 4), "MTrk");
            EXPECT_EQ(bytes.substr(bytes.size() - 3), std::string("\xFF\x2F\x00", 3));
        }
    }
    EXPECT_TRUE(wave && midi);
    EXPECT_FALSE(data.musicNames().empty());
    for (const std::string& file : data.musicFiles()) EXPECT_FALSE(data.isAnthemFile(file));
    EXPECT_TRUE(folder.recorder.seen.empty());
}

TEST(RuleSampleData, TwoRunsWriteTheSameBytes) {
    TempDir first;
    TempDir second;
    ASSERT_EQ(sample::writeRuleData(first.path()), "");
    ASSERT_EQ(sample::writeRuleData(second.path() + "/nested/root"), "");
    const auto a = folderContents(first.path());
    EXPECT_EQ(a, folderContents(second.path() + "/nested/root"));
    EXPECT_EQ(a.size(), 1u + 10u + 22u + 7u);
    // Writing over existing data gives the same bytes again.
    ASSERT_EQ(sample::writeRuleData(first.path()), "");
    EXPECT_EQ(a, folderContents(first.path()));
    // A root that cannot be a folder gives an error text.
    writeFile(first.file("plain"), "x");
    EXPECT_NE(sample::writeRuleData(first.file("plain")), "");
}

}  // namespace
}  // namespace kv
