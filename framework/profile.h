// The editor's settings: the program's own path, the INI settings file beside it with its
// "Environment" keys, and the drawing option file shared with an earlier product.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kv {

// The running program's full path (/proc/self/exe) unless overridden.
std::string programPath();
// Overrides programPath(); an empty path removes the override.
void setProgramPath(std::string path);
// The folder of programPath(), ending in '/'.
std::string programFolder();
// Whether the program folder exists but may not be written to: an installed copy (under
// /opt). What the program writes then goes to the user's folders below instead; a missing
// folder is no installation and keeps the program folder's paths.
bool programFolderReadOnly();
// Pretends the program folder is (not) read-only, for tests; nullopt asks the file system.
void setProgramFolderReadOnly(std::optional<bool> readOnly);
// The user's folders for this program, ending in '/': "kvornme/" under $XDG_CONFIG_HOME
// (default ~/.config) and under $XDG_DATA_HOME (default ~/.local/share).
std::string userConfigFolder();
std::string userDataFolder();
// The settings file beside the program: programPath() with the file name's extension
// replaced by "ini" (".ini" added if it has none).
std::string programSettingsFile();
// The settings file in use: programSettingsFile(), or while the program folder is read-only
// the file of the same name in userConfigFolder().
std::string settingsFile();

// One key of an INI file with the semantics of the platform's private-profile functions:
// section and key names ignore ASCII case, blanks around keys and values do not count, values
// are raw bytes, and every read and write goes to the file at once. Missing or broken files
// give defaults; failed writes are ignored. A key of the settings file that the user's copy
// lacks is read from the program folder's file, so settings shipped with a read-only install
// still count.
class ProfileEntry {
public:
    // A key of the settings file; its name is derived anew on every access.
    ProfileEntry(std::string section, std::string key);
    // A key of the INI file at `file`.
    ProfileEntry(std::string section, std::string key, std::string file);

    // The value (without surrounding double quotes, at most 1023 bytes), or nullopt when the
    // key is absent.
    std::optional<std::string> readValue() const;
    // `out` holds the default on entry and receives the value.
    void readString(std::string& out) const;
    void writeString(std::string_view value) const;
    // The leading decimal number of the value (0 when there is none); `def` when absent.
    int readInt(int def) const;
    void writeInt(int value) const;
    // Only the value 1 is true.
    bool readBool(bool def) const;
    void writeBool(bool value) const;

private:
    std::string path() const;

    std::string section_;
    std::string key_;
    std::string file_;  // empty: the settings file
};

// The keys of the settings file's "Environment" section.
enum class EnvType { Folder, Int, Bool, WriteOnly };

struct EnvKey {
    std::string_view key;
    EnvType type;
    std::string_view folder;  // Folder keys: the default, relative to the program folder
    int value;                // Int and Bool keys: the default
};

// Every "Environment" key in file order.
std::span<const EnvKey> environmentKeys();
// The entry of `key`, or null for a key that is not in the table.
const EnvKey* findEnvironmentKey(std::string_view key);
// The default folder of a Folder key (the program folder for any other key).
std::string defaultFolder(std::string_view key);

// A folder key as a UTF-8 path (the stored CP932 converted; raw bytes if that fails).
std::string readFolderKey(std::string_view key);
// Stores a folder as CP932 (as raw bytes when it has no CP932 form).
void writeFolderKey(std::string_view key, const std::string& folderUtf8);
int readEnvInt(std::string_view key);
void writeEnvInt(std::string_view key, int value);
bool readEnvBool(std::string_view key);
void writeEnvBool(std::string_view key, bool value);

// The "HEL" value of the drawing option file "glossamer2.ini" (up to 30 bytes, default "1").
std::string readDrawingOption();
// The drawing option is on when its value starts with '1'.
bool drawingOptionOn();

}  // namespace kv
