// Settings file naming, private-profile reading and writing, the "Environment" keys and the
// drawing option.
#include "framework/profile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>

#include "framework/disk_file.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using kvtest::readFile;
using kvtest::TempDir;
using kvtest::writeFile;
using namespace std::string_literals;

TEST(ProgramPaths, DefaultIsTheRunningProgram) {
    setProgramPath("");
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer);
    ASSERT_GT(n, 0);
    EXPECT_EQ(programPath(), std::string(buffer, static_cast<size_t>(n)));
    EXPECT_EQ(programFolder().back(), '/');
}

TEST(ProgramPaths, SettingsFileReplacesOnlyTheFileNamesExtension) {
    setProgramPath("/opt/a.b/kvornme");
    EXPECT_EQ(programFolder(), "/opt/a.b/");
    EXPECT_EQ(settingsFile(), "/opt/a.b/kvornme.ini");
    setProgramPath("/x/editor.exe");
    EXPECT_EQ(settingsFile(), "/x/editor.ini");
    setProgramPath("/x/editor.v2.exe");
    EXPECT_EQ(settingsFile(), "/x/editor.v2.ini");
    setProgramPath("/x/editor.");
    EXPECT_EQ(settingsFile(), "/x/editor.ini");
    setProgramPath("");
    EXPECT_NE(programPath(), "/x/editor.");
}

// Each test gets a program "kvornme" in a fresh folder, so its settings file is kvornme.ini.
class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override { setProgramPath(dir.file("kvornme")); }
    void TearDown() override { setProgramPath(""); }

    std::string ini() const { return dir.file("kvornme.ini"); }
    std::string read(const std::string& section, const std::string& key,
                     std::string def = "<default>") const {
        ProfileEntry(section, key).readString(def);
        return def;
    }

    TempDir dir;
};

TEST_F(ProfileTest, RenamedProgramUsesItsOwnSettingsFile) {
    writeEnvInt("ShowTimeQuickInfo", 7);
    EXPECT_NE(readFile(ini()).find("ShowTimeQuickInfo=7"), std::string::npos);
    setProgramPath(dir.file("renamed"));
    EXPECT_EQ(settingsFile(), dir.file("renamed.ini"));
    EXPECT_EQ(readEnvInt("ShowTimeQuickInfo"), 50);
    writeEnvInt("ShowTimeQuickInfo", 9);
    setProgramPath(dir.file("kvornme"));
    EXPECT_EQ(readEnvInt("ShowTimeQuickInfo"), 7);
}

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(read("Environment", "MapPath"), "<default>");
    writeFile(ini(), "[Other]\r\nMapPath=/x\r\n");
    EXPECT_EQ(read("Environment", "MapPath"), "<default>");
    EXPECT_EQ(read("Other", "TmpPath"), "<default>");
    EXPECT_EQ(read("Other", "MapPath"), "/x");
}

TEST_F(ProfileTest, NamesIgnoreCaseAndBlanksAroundKeysAndValuesDoNotCount) {
    writeFile(ini(), "  [ environment ]  \nSHOWHQ = 1 \n\tmappath\t=\t/m a p/\t\n");
    EXPECT_EQ(ProfileEntry("Environment", "ShowHq").readInt(0), 1);
    EXPECT_EQ(read("ENVIRONMENT", "MapPath"), "/m a p/");
}

TEST_F(ProfileTest, DoubleByteNamesAreComparedExactly) {
    // ア is 0x83 0x41 and ヂ 0x83 0x61: their trail bytes are 'A' and 'a'.
    writeFile(ini(), "[S]\n\x83\x41=one\n");
    EXPECT_EQ(read("S", "\x83\x41"), "one");
    EXPECT_EQ(read("S", "\x83\x61"), "<default>");
}

TEST_F(ProfileTest, ValuesAreRawBytesWithQuotesRemoved) {
    writeFile(ini(),
              "[S]\na=\"quoted value\"\nb=\"open\nc=\x83\x7D\x83\x62\x83\x76\nd=\"\"\n"
              "e=\"\n");
    EXPECT_EQ(read("S", "a"), "quoted value");
    EXPECT_EQ(read("S", "b"), "\"open");
    EXPECT_EQ(read("S", "c"), "\x83\x7D\x83\x62\x83\x76");
    EXPECT_EQ(read("S", "d"), "");
    EXPECT_EQ(read("S", "e"), "\"");
}

TEST_F(ProfileTest, LongValuesAreCutAt1023BytesOnACharacterBoundary) {
    std::string value(1022, 'x');
    value += "\x82\xA0";  // あ would end at byte 1024
    writeFile(ini(), "[S]\nk=" + value + "\n");
    EXPECT_EQ(read("S", "k"), std::string(1022, 'x'));
}

TEST_F(ProfileTest, FirstSectionAndFirstKeyOfANameCount) {
    writeFile(ini(), "k=orphan\n[S]\nk=1\nk=2\n[T]\n[S]\nk=3\nj=4\n");
    EXPECT_EQ(read("S", "k"), "1");
    EXPECT_EQ(read("S", "j"), "<default>");
}

TEST_F(ProfileTest, IntegersReadLeadingDigitsOnly) {
    writeFile(ini(),
              "[Environment]\nShowTimeQuickInfo=abc\nA=12x\nB=\nC=-5\nD=\"42\"\nE=+3\n"
              "F=4294967297\n");
    EXPECT_EQ(readEnvInt("ShowTimeQuickInfo"), 0);
    ProfileEntry a("Environment", "A"), b("Environment", "B"), c("Environment", "C");
    EXPECT_EQ(a.readInt(99), 12);
    EXPECT_EQ(b.readInt(99), 0);
    EXPECT_EQ(c.readInt(99), -5);
    EXPECT_EQ(ProfileEntry("Environment", "D").readInt(99), 42);
    EXPECT_EQ(ProfileEntry("Environment", "E").readInt(99), 3);
    EXPECT_EQ(ProfileEntry("Environment", "F").readInt(99), 1);  // wraps at 32 bits
    EXPECT_EQ(ProfileEntry("Environment", "Absent").readInt(99), 99);
}

TEST_F(ProfileTest, OnlyOneIsTrue) {
    writeFile(ini(), "[Environment]\nShowHq=2\nShowToolWin=1\nShowUnitIcon=0\n");
    EXPECT_FALSE(readEnvBool("ShowHq"));
    EXPECT_TRUE(readEnvBool("ShowToolWin"));
    EXPECT_FALSE(readEnvBool("ShowUnitIcon"));
    EXPECT_TRUE(readEnvBool("ShowQuickLand"));  // absent: its default
    EXPECT_FALSE(readEnvBool("ShowMinePaletteWin"));
}

TEST_F(ProfileTest, MalformedFilesGiveDefaultsWithoutFailing) {
    const std::pair<std::string, int> cases[] = {
        {"[Environment\nShowTimeQuickInfo=1\n", 50},  // "[" without "]"
        {"[Environment]\nShowTimeQuickInfo\n", 50},   // no "="
        {"\0\0[Env\0]\n\xFF\xFE=\0"s, 50},
        {"[Environment]\nShowTimeQuickInfo=\0"
         "7\n"s,
         0},  // the value ends at the NUL
        {std::string(600000, '['), 50},
        {"\xFF\xFE[\0E\0n\0v\0]\0"s, 50},  // UTF-16 is not read
        {"=\n[]\n[Environment]]\n=5\n", 50},
    };
    for (const auto& [text, expected] : cases) {
        writeFile(ini(), text);
        EXPECT_EQ(readEnvInt("ShowTimeQuickInfo"), expected);
        EXPECT_EQ(readFolderKey("MapPath"), dir.file("map/"));
    }
}

TEST_F(ProfileTest, LastLineWithoutLineEndAndHugeLinesAreRead) {
    writeFile(ini(), "[Environment]\r\nA=" + std::string(500000, 'y') + "\r\nShowHq=1");
    EXPECT_TRUE(readEnvBool("ShowHq"));
    EXPECT_EQ(read("Environment", "A").size(), 1023u);
}

TEST_F(ProfileTest, OversizedFileIsNeitherReadNorReplaced) {
    std::string big = "[Environment]\nShowHq=1\n" + std::string(2 << 20, ';');
    writeFile(ini(), big);
    EXPECT_FALSE(readEnvBool("ShowHq"));
    writeEnvBool("ShowHq", false);
    EXPECT_EQ(readFile(ini()), big);
}

TEST_F(ProfileTest, NewFileIsWrittenWithCrLf) {
    writeEnvBool("ShowHq", true);
    EXPECT_EQ(readFile(ini()), "[Environment]\r\nShowHq=1\r\n");
    EXPECT_TRUE(readEnvBool("ShowHq"));
}

TEST_F(ProfileTest, WritingReplacesTheValueAndKeepsEveryOtherByte) {
    const std::string before =
        "; my settings\r\n[WindowInfo]\r\nX=1\r\n\r\n[Environment]\r\n"
        "  showhq = 0 ; old\r\nMapPath=/maps/\r\n\r\n[Tail]\r\nY=2";
    writeFile(ini(), before);
    writeEnvBool("ShowHq", true);
    EXPECT_EQ(readFile(ini()),
              "; my settings\r\n[WindowInfo]\r\nX=1\r\n\r\n[Environment]\r\n"
              "  showhq=1\r\nMapPath=/maps/\r\n\r\n[Tail]\r\nY=2");
}

TEST_F(ProfileTest, NewKeyGoesToTheEndOfItsSection) {
    writeFile(ini(), "[Environment]\nMapPath=/m/\n\n[Tail]\nY=2\n");
    writeEnvInt("FilterIndex", 3);
    EXPECT_EQ(readFile(ini()), "[Environment]\nMapPath=/m/\nFilterIndex=3\n\n[Tail]\nY=2\n");
    EXPECT_EQ(readEnvInt("FilterIndex"), 3);
    EXPECT_EQ(read("Tail", "Y"), "2");
}

TEST_F(ProfileTest, NewSectionGoesToTheEndOfTheFile) {
    writeFile(ini(), "[WindowInfo]\nX=1");
    writeEnvInt("SimAttackUidA", 1234);
    EXPECT_EQ(readFile(ini()), "[WindowInfo]\nX=1\n\n[Environment]\nSimAttackUidA=1234\n");
    writeFile(ini(), "[S]\r\nX=1\r\n");
    writeEnvInt("SimAttackUidA", 5);
    EXPECT_EQ(readFile(ini()), "[S]\r\nX=1\r\n\r\n[Environment]\r\nSimAttackUidA=5\r\n");
}

TEST_F(ProfileTest, LastLineEndingInACarriageReturnIsEndedBeforeANewKey) {
    writeFile(ini(), "[Environment]\r");
    writeEnvInt("FilterIndex", 4);
    EXPECT_EQ(readEnvInt("FilterIndex"), 4);
    EXPECT_EQ(readFile(ini()), "[Environment]\r\r\nFilterIndex=4\r\n");
}

TEST_F(ProfileTest, ValuesCannotBreakTheLineStructure) {
    writeFile(ini(), "[S]\nk=1\nnext=2\n");
    ProfileEntry("S", "k").writeString("a\r\n[Evil]\nx=1");
    EXPECT_EQ(readFile(ini()), "[S]\nk=a\nnext=2\n");
}

TEST_F(ProfileTest, EveryReadSeesTheFileAsItIsNow) {
    ProfileEntry entry("Environment", "ShowHq");
    entry.writeBool(true);
    EXPECT_TRUE(entry.readBool(false));
    writeFile(ini(), "[Environment]\nShowHq=0\n");
    EXPECT_FALSE(entry.readBool(true));
}

TEST_F(ProfileTest, FailedWritesAreIgnored) {
    // Root may write anywhere; a folder that does not exist or is a file stops everyone.
    setProgramPath(dir.file("missing/kvornme"));
    EXPECT_NO_THROW(writeEnvBool("ShowHq", true));
    EXPECT_FALSE(readEnvBool("ShowHq"));
    writeFile(dir.file("plain"), "file");
    setProgramPath(dir.file("plain/kvornme"));
    EXPECT_NO_THROW(writeFolderKey("MapPath", "/m/"));
    EXPECT_NO_THROW(ProfileEntry("S", "k").writeString("v"));
    EXPECT_EQ(readFile(dir.file("plain")), "file");
}

TEST_F(ProfileTest, SettingsFileInTheWayAsAFolderIsLeftAlone) {
    mkdir(ini().c_str(), 0755);
    EXPECT_NO_THROW(writeEnvInt("FilterIndex", 2));
    EXPECT_EQ(readEnvInt("FilterIndex"), 1);
    struct stat st;
    ASSERT_EQ(stat(ini().c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(ProfileTest, ExplicitFileIsUsedInsteadOfTheSettingsFile) {
    const std::string other = dir.file("other.ini");
    ProfileEntry("Environment", "HEL", other).writeString("0");
    EXPECT_EQ(readFile(other), "[Environment]\r\nHEL=0\r\n");
    EXPECT_FALSE(fileExists(ini()));
}

TEST(EnvironmentKeys, TableOrderTypesAndDefaults) {
    std::span<const EnvKey> keys = environmentKeys();
    ASSERT_EQ(keys.size(), 29u);
    EXPECT_EQ(keys.front().key, "UserProductPath");
    EXPECT_EQ(keys[5].key, "FilterIndex");
    EXPECT_EQ(keys[8].type, EnvType::WriteOnly);
    EXPECT_EQ(keys[20].key, "TroopListOption");
    EXPECT_EQ(keys.back().key, "ShowTimeQuickInfo");
    EXPECT_EQ(findEnvironmentKey("SimpleMode")->type, EnvType::WriteOnly);
    EXPECT_EQ(findEnvironmentKey("showhq"), nullptr);
}

TEST_F(ProfileTest, DefaultsComeFromTheTable) {
    EXPECT_EQ(readFolderKey("UserProductPath"), dir.file("data"));
    EXPECT_EQ(readFolderKey("TmpPath"), dir.file("map/"));
    EXPECT_EQ(readFolderKey("CampaignPath"), dir.file("map/"));
    EXPECT_EQ(readFolderKey("OtherPath"), dir.path() + "/");
    EXPECT_EQ(readFolderKey("EbauchePath"), dir.path() + "/");
    EXPECT_EQ(readEnvInt("FilterIndex"), 1);
    EXPECT_EQ(readEnvInt("TroopListOption"), -1);
    EXPECT_EQ(readEnvInt("LandListOption"), -1);
    EXPECT_EQ(readEnvInt("ShowTimeQuickInfo"), 50);
    EXPECT_TRUE(readEnvBool("ShowUnitIcon"));
    EXPECT_TRUE(readEnvBool("ShowQuickTroop"));
    EXPECT_FALSE(readEnvBool("ShowHq"));
    EXPECT_FALSE(fileExists(ini()));
}

TEST_F(ProfileTest, FolderKeysAreStoredAsCp932) {
    writeFolderKey("MapPath", "/home/ユーザー/マップ/");
    const std::string file = readFile(ini());
    EXPECT_NE(file.find("MapPath=/home/\x83\x86\x81\x5B\x83\x55\x81\x5B/"), std::string::npos);
    EXPECT_EQ(readFolderKey("MapPath"), "/home/ユーザー/マップ/");
    // A name with no CP932 form is kept as it is, and read back the same way.
    writeFolderKey("TmpPath", "/tmp/\xFF\xFE/");
    EXPECT_EQ(readFolderKey("TmpPath"), "/tmp/\xFF\xFE/");
}

TEST_F(ProfileTest, FolderWithoutCp932FormIsReadBackWhenItExists) {
    // UTF-8 "é" is also valid CP932 (two half-width katakana); the existing folder decides.
    const std::string cafe = dir.file("café");
    mkdir(cafe.c_str(), 0755);
    writeFolderKey("OtherPath", cafe + "/");
    EXPECT_NE(readFile(ini()).find("OtherPath=" + cafe + "/"), std::string::npos);
    EXPECT_EQ(readFolderKey("OtherPath"), cafe + "/");
}

TEST_F(ProfileTest, EmptyStoredFolderIsKeptEmpty) {
    writeFile(ini(), "[Environment]\nMapPath=\n");
    EXPECT_EQ(readFolderKey("MapPath"), "");
}

TEST_F(ProfileTest, DrawingOptionIsOnUnlessItStartsWithSomethingElse) {
    const std::string option = dir.file("glossamer2.ini");
    EXPECT_EQ(readDrawingOption(), "1");
    EXPECT_TRUE(drawingOptionOn());
    writeFile(option, "[Environment]\nHEL=10\n");
    EXPECT_TRUE(drawingOptionOn());
    writeFile(option, "[Environment]\nHEL=\n");
    EXPECT_FALSE(drawingOptionOn());
    writeFile(option, "[Environment]\nHEL=0\n");
    EXPECT_FALSE(drawingOptionOn());
    writeFile(option, "[Environment]\nOTHER=0\n");
    EXPECT_TRUE(drawingOptionOn());
    writeFile(option, "[Environment]\nHEL=" + std::string(40, '1') + "\n");
    EXPECT_EQ(readDrawingOption(), std::string(30, '1'));
}

TEST_F(ProfileTest, DrawingOptionFileKeepsItsNameWhenTheProgramIsRenamed) {
    writeFile(dir.file("Glossamer2.INI"), "[environment]\nhel=0\n");
    setProgramPath(dir.file("renamed.bin"));
    EXPECT_FALSE(drawingOptionOn());
    EXPECT_FALSE(fileExists(dir.file("renamed.ini")));
}

}  // namespace
}  // namespace kv
