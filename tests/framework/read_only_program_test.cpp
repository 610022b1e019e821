// A read-only program folder (an installed copy): what the program writes goes to the user's
// folders and is read from there first; a writable folder keeps the game-folder layout.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "framework/data_paths.h"
#include "framework/disk_file.h"
#include "framework/faction_colours.h"
#include "framework/profile.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using kvtest::readFile;
using kvtest::TempDir;
using kvtest::writeFile;

// Sets an environment variable for the test's life.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class ReadOnlyProgram : public testing::Test {
protected:
    void SetUp() override {
        setProgramPath(prog.file("kvornme"));
        setProgramFolderReadOnly(true);
    }
    void TearDown() override {
        setProgramFolderReadOnly(std::nullopt);
        setProgramPath("");
    }
    std::string config(const std::string& name) const {
        return user.file("config/kvornme/" + name);
    }
    std::string data(const std::string& name) const { return user.file("data/kvornme/" + name); }

    TempDir prog, user;
    ScopedEnv configHome{"XDG_CONFIG_HOME", user.file("config")};
    ScopedEnv dataHome{"XDG_DATA_HOME", user.file("data")};
};

TEST_F(ReadOnlyProgram, SettingsAreWrittenToTheUserFolderAndReadFromThereFirst) {
    const std::string shipped = "[Environment]\r\nShowToolWin=1\r\nShowHq=1\r\n";
    writeFile(prog.file("kvornme.ini"), shipped);
    EXPECT_EQ(settingsFile(), config("kvornme.ini"));
    EXPECT_EQ(programSettingsFile(), prog.file("kvornme.ini"));
    // Keys the user never wrote still come from the program folder's file.
    EXPECT_TRUE(readEnvBool("ShowToolWin"));
    EXPECT_TRUE(readEnvBool("ShowHq"));

    writeEnvBool("ShowHq", false);  // the user's folder is made on the way
    EXPECT_EQ(readFile(config("kvornme.ini")), "[Environment]\r\nShowHq=0\r\n");
    EXPECT_EQ(readFile(prog.file("kvornme.ini")), shipped);
    EXPECT_FALSE(readEnvBool("ShowHq"));
    EXPECT_TRUE(readEnvBool("ShowToolWin"));
    // The user's product files default to the user's data folder.
    EXPECT_EQ(readFolderKey("UserProductPath"), data("data"));
    EXPECT_EQ(readFolderKey("MapPath"), prog.file("map/"));

    // The same folder writable: the file beside the program, as in a game folder.
    setProgramFolderReadOnly(false);
    EXPECT_EQ(settingsFile(), prog.file("kvornme.ini"));
    EXPECT_TRUE(readEnvBool("ShowHq"));
    EXPECT_EQ(readFolderKey("UserProductPath"), prog.file("data"));

    // Without an override the file system decides; a folder that is not there is no
    // installation, and its settings never land in the user's folder.
    setProgramFolderReadOnly(std::nullopt);
    EXPECT_FALSE(programFolderReadOnly());
    setProgramPath(prog.file("gone/kvornme"));
    EXPECT_FALSE(programFolderReadOnly());
    EXPECT_EQ(settingsFile(), prog.file("gone/kvornme.ini"));
}

TEST_F(ReadOnlyProgram, DataFilesTheProgramWritesMoveToTheUserDataFolder) {
    writeFile(prog.file("land.dat"), "shipped");
    std::filesystem::create_directories(prog.file("rule"));
    writeFile(prog.file("rule/class1.rul"), "shipped");
    EXPECT_EQ(dataPath("land.dat", DataKind::Program), prog.file("land.dat"));
    EXPECT_EQ(dataPath("class1.rul", DataKind::Rule), prog.file("rule/class1.rul"));

    FactionColourTable colours;
    colours.entries[3].hueAngle = 77;
    colours.save();
    EXPECT_FALSE(fileExists(prog.file(FactionColourTable::kFileName)));
    EXPECT_EQ(readFile(data(FactionColourTable::kFileName)), colours.toBytes());
    FactionColourTable loaded;
    EXPECT_TRUE(loaded.load());
    EXPECT_EQ(loaded.toBytes(), colours.toBytes());

    // A rule file written by the user hides the shipped one; its folder is made for it.
    const std::string own = writableDataPath("class1.rul", DataKind::Rule);
    EXPECT_EQ(own, data("rule/class1.rul"));
    writeFile(own, "own");
    EXPECT_EQ(dataPath("class1.rul", DataKind::Rule), own);
    EXPECT_EQ(dataPath("", DataKind::Rule), prog.file("rule/"));

    // Writable again: the program folder's files, whatever the user's folder holds.
    setProgramFolderReadOnly(false);
    EXPECT_EQ(dataPath("class1.rul", DataKind::Rule), prog.file("rule/class1.rul"));
    EXPECT_EQ(writableDataPath("class1.rul", DataKind::Rule), prog.file("rule/class1.rul"));
    EXPECT_FALSE(loaded.load());
}

}  // namespace
}  // namespace kv
