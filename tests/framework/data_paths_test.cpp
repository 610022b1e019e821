// Data folder paths and the file names of weapon pictures, icons and descriptions.
#include "framework/data_paths.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "framework/profile.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using kvtest::TempDir;
using kvtest::writeFile;

class DataPathsTest : public ::testing::Test {
protected:
    void SetUp() override { setProgramPath(dir.file("kvornme")); }
    void TearDown() override { setProgramPath(""); }

    // Creates an empty file under the program folder.
    void touch(const std::string& relative) { writeFile(dir.file(relative), ""); }
    void folder(const std::string& relative) { mkdir(dir.file(relative).c_str(), 0755); }
    std::string unitPicture(int weaponId, int pictureNumber, int& kind) {
        return unitPictureFile(weaponId, pictureNumber, kind);
    }

    TempDir dir;
};

TEST_F(DataPathsTest, EachKindHasItsFolder) {
    const std::pair<int, const char*> table[] = {
        {0, ""},        {1, ""},      {2, "bmp/"},   {3, "unit/"},     {4, "wave/"},
        {5, ""},        {6, ""},      {7, "map/"},   {8, "rf/"},       {9, "NetSave/"},
        {10, "munit/"}, {11, "bgm/"}, {12, "rule/"}, {13, "product/"},
    };
    for (const auto& [kind, sub] : table) {
        EXPECT_EQ(dataPath("f.dat", static_cast<DataKind>(kind)), dir.path() + "/" + sub + "f.dat")
            << "kind " << kind;
    }
    EXPECT_EQ(dataPath("", DataKind::Map), dir.file("map/"));
    EXPECT_EQ(dataPath("x", static_cast<DataKind>(99)), dir.file("x"));
}

TEST_F(DataPathsTest, FindsFilesCopiedWithAnotherCase) {
    folder("BMP");
    touch("BMP/Land48_Base.BMP");
    EXPECT_EQ(dataPath("land48_base.bmp", DataKind::Bmp), dir.file("BMP/Land48_Base.BMP"));
    EXPECT_EQ(dataPath("missing.bmp", DataKind::Bmp), dir.file("bmp/missing.bmp"));
    folder("Map");
    EXPECT_EQ(dataPath("", DataKind::Map), dir.file("Map/"));
}

TEST_F(DataPathsTest, SuffixOrderBeatsTheLargeForm) {
    folder("unit");
    touch("unit/0123h.bmp");
    touch("unit/0123p_L.bmp");
    int kind = -1;
    EXPECT_EQ(unitPicture(100, 123, kind), "0123h.bmp");
    EXPECT_EQ(kind, 1);
}

TEST_F(DataPathsTest, LargeFormComesFirstWithinASuffix) {
    folder("unit");
    touch("unit/0042a.bmp");
    touch("unit/0042a_L.bmp");
    touch("unit/0042s.bmp");
    int kind = -1;
    EXPECT_EQ(unitPicture(1, 42, kind), "0042a_L.bmp");
    EXPECT_EQ(kind, 3);
}

TEST_F(DataPathsTest, EachSuffixGivesItsKind) {
    folder("unit");
    const std::pair<const char*, int> cases[] = {
        {"p", 2},
        {"s", 4},
        {"", 0},
    };
    int number = 1;
    for (const auto& [suffix, expected] : cases) {
        const std::string name = "000" + std::to_string(number) + suffix + ".bmp";
        touch("unit/" + name);
        int kind = -1;
        EXPECT_EQ(unitPicture(1, number, kind), name);
        EXPECT_EQ(kind, expected) << name;
        ++number;
    }
}

TEST_F(DataPathsTest, NoPictureKeepsTheKindAndNamesThePlainFile) {
    int kind = 7;
    EXPECT_EQ(unitPicture(1, 55, kind), "0055.bmp");  // no unit folder at all
    folder("unit");
    folder("unit/0055h.bmp");  // a folder is not a picture
    EXPECT_EQ(unitPicture(1, 55, kind), "0055.bmp");
    EXPECT_EQ(kind, 7);
}

TEST_F(DataPathsTest, PicturesCopiedWithAnotherCaseAreFound) {
    folder("UNIT");
    touch("UNIT/0123S.BMP");
    int kind = -1;
    const std::string name = unitPicture(1, 123, kind);
    EXPECT_EQ(kind, 4);
    EXPECT_EQ(dataPath(name, DataKind::Unit), dir.file("UNIT/0123S.BMP"));
}

TEST_F(DataPathsTest, UserWeaponsWithUserPicturesUseTheWeaponId) {
    folder("unit");
    touch("unit/20000h.bmp");
    int kind = -1;
    EXPECT_EQ(unitPicture(5000, 20000, kind), "t05000.bmp");
    EXPECT_EQ(unitPicture(9999, 25000, kind), "t09999.bmp");
    EXPECT_EQ(kind, -1);
    EXPECT_EQ(unitPicture(4999, 20000, kind), "20000h.bmp");
    EXPECT_EQ(kind, 1);
    EXPECT_EQ(unitPicture(10000, 20000, kind), "20000h.bmp");
    EXPECT_EQ(unitPicture(5000, 19999, kind), "19999.bmp");
}

TEST(WeaponFileNames, IconsExistOnlyForUserNumbers) {
    EXPECT_EQ(smallIconFile(19999, 16, UserForm::T), "");
    EXPECT_EQ(smallIconFile(20000, 16, UserForm::T), "tmi20000_16.bmp");
    EXPECT_EQ(smallIconFile(20001, 48, UserForm::E), "emi20001_48.bmp");
    EXPECT_EQ(typeIconFile(19999, 32, UserForm::E), "");
    EXPECT_EQ(typeIconFile(20000, 32, UserForm::E), "ewt20000_32.bmp");
    EXPECT_EQ(typeIconFile(21000, 16, UserForm::T), "twt21000_16.bmp");
}

TEST(WeaponFileNames, DescriptionsSwitchFormAbove4999) {
    EXPECT_EQ(descriptionFile(7, UserForm::E), "0007.txt");
    EXPECT_EQ(descriptionFile(4999, UserForm::T), "4999.txt");
    EXPECT_EQ(descriptionFile(5000, UserForm::T), "tdc05000.txt");
    EXPECT_EQ(descriptionFile(20000, UserForm::E), "edc20000.txt");
}

}  // namespace
}  // namespace kv
