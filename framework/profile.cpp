// Program path, INI settings file access with private-profile semantics, the "Environment"
// key table and the drawing option.
#include "framework/profile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/cp932.h"
#include "framework/disk_file.h"
#include "framework/errors.h"

namespace kv {

namespace {

std::string g_programPathOverride;
std::optional<bool> g_readOnlyOverride;

// Larger files are not settings files; they are neither parsed nor rewritten.
constexpr size_t kMaxProfileSize = 1 << 20;
constexpr size_t kMaxValueBytes = 1023;
constexpr std::string_view kEnvironment = "Environment";
constexpr std::string_view kLineBreakOrNul("\0\r\n", 3);

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares names ignoring ASCII case in single-byte characters only: a trail byte that
// happens to be a letter belongs to a double-byte character and must match exactly.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size();) {
        if (isLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            i += 2;
        } else {
            if (asciiLower(a[i]) != asciiLower(b[i])) return false;
            ++i;
        }
    }
    return true;
}

// One line of the file: [begin, contentEnd) is its text without the line end, `next` the
// offset of the following line. Only the last line can lack its '\n'.
struct Line {
    size_t begin;
    size_t contentEnd;
    size_t next;
    bool hasNewline;
};

enum class LineKind { Blank, Section, Key, Other };

struct Classified {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key value, trimmed
};

Classified classify(std::string_view text) {
    Classified c;
    std::string_view t = trim(text);
    if (t.empty()) {
        c.kind = LineKind::Blank;
    } else if (t.front() == '[') {
        size_t close = t.find(']');
        if (close != std::string_view::npos) {
            c.kind = LineKind::Section;
            c.name = trim(t.substr(1, close - 1));
        }
    } else if (t.front() != ';') {
        size_t eq = t.find('=');
        if (eq != std::string_view::npos) {
            c.kind = LineKind::Key;
            c.name = trim(t.substr(0, eq));
            c.value = trim(t.substr(eq + 1));
        }
    }
    return c;
}

// Iterates over the lines of a file; a UTF-8 byte order mark before the first line is
// skipped (and kept when the file is rewritten).
class LineScanner {
public:
    explicit LineScanner(std::string_view text) : text_(text) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    }
    bool next(Line& line) {
        if (pos_ >= text_.size()) return false;
        size_t nl = text_.find('\n', pos_);
        size_t end = nl == std::string_view::npos ? text_.size() : nl;
        line.begin = pos_;
        line.next = nl == std::string_view::npos ? text_.size() : nl + 1;
        line.contentEnd = end > pos_ && text_[end - 1] == '\r' ? end - 1 : end;
        line.hasNewline = nl != std::string_view::npos;
        pos_ = line.next;
        return true;
    }
    std::string_view text(const Line& line) const {
        return text_.substr(line.begin, line.contentEnd - line.begin);
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

// Where a key is, or where it would go. Only the first section of a name is searched, and
// the first key of a name in it counts.
struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine{};
    std::string_view keyName;  // as spelled in the file
    std::string_view value;
    size_t insertAt = 0;          // after the section's last non-blank line
    bool insertNeedsEol = false;  // that line is the file's last and has no line end
};

Location locate(std::string_view text, std::string_view section, std::string_view key) {
    Location loc;
    LineScanner scanner(text);
    Line line;
    bool inSection = false;
    while (scanner.next(line)) {
        Classified c = classify(scanner.text(line));
        if (c.kind == LineKind::Section) {
            if (inSection) break;  // the end of the section
            if (sameName(c.name, section)) {
                inSection = loc.sectionFound = true;
                loc.insertAt = line.next;
                loc.insertNeedsEol = !line.hasNewline;
            }
            continue;
        }
        if (!inSection) continue;
        if (c.kind == LineKind::Key && sameName(c.name, key)) {
            loc.keyFound = true;
            loc.keyLine = line;
            loc.keyName = c.name;
            loc.value = c.value;
            return loc;
        }
        if (c.kind != LineKind::Blank) {
            loc.insertAt = line.next;
            loc.insertNeedsEol = !line.hasNewline;
        }
    }
    return loc;
}

std::optional<std::string> readProfileValue(const std::string& file, std::string_view section,
                                            std::string_view key) {
    std::optional<std::string> text = readWholeFile(file, kMaxProfileSize);
    if (!text) return std::nullopt;
    Location loc = locate(*text, section, key);
    if (!loc.keyFound) return std::nullopt;
    std::string_view v = loc.value;
    v = v.substr(0, v.find('\0'));  // values are C strings to the platform
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return cutToBytes(v, kMaxValueBytes);
}

// True when the last line of `text` (which ends with a line end) holds only blanks.
bool endsWithBlankLine(std::string_view text) {
    std::string_view body = text.substr(0, text.size() - 1);
    size_t nl = body.rfind('\n');
    return trim(nl == std::string_view::npos ? body : body.substr(nl + 1)).empty();
}

// The line end the file already uses; CRLF for a new file.
std::string_view lineEnd(std::string_view text) {
    size_t nl = text.find('\n');
    return nl != std::string_view::npos && (nl == 0 || text[nl - 1] != '\r') ? "\n" : "\r\n";
}

void writeProfileValue(const std::string& file, std::string_view section, std::string_view key,
                       std::string_view value) {
    // A value cannot span lines, and the platform's strings end at a NUL.
    value = value.substr(0, std::min(value.size(), value.find_first_of(kLineBreakOrNul)));
    std::string text;
    struct stat st;
    if (::stat(file.c_str(), &st) == 0) {
        // Never replace a file that cannot be read back: it would lose its content.
        std::optional<std::string> old = readWholeFile(file, kMaxProfileSize);
        if (!old) return;
        text = std::move(*old);
    }
    std::string_view eol = lineEnd(text);
    Location loc = locate(text, section, key);
    std::string entry = std::string(key) + "=" + std::string(value);
    if (loc.keyFound) {
        size_t keyStart = loc.keyName.empty()
                              ? loc.keyLine.begin
                              : static_cast<size_t>(loc.keyName.data() - text.data());
        std::string replaced = std::string(loc.keyName) + "=" + std::string(value);
        text.replace(keyStart, loc.keyLine.contentEnd - keyStart, replaced);
    } else if (loc.sectionFound) {
        std::string insert = loc.insertNeedsEol ? std::string(eol) : std::string();
        insert += entry;
        insert += eol;
        text.insert(loc.insertAt, insert);
    } else {
        if (!text.empty() && text.back() != '\n') text += eol;
        // A blank line between sections, as the platform writes them.
        if (!text.empty() && !endsWithBlankLine(text)) text += eol;
        text += "[" + std::string(section) + "]" + std::string(eol);
        text += entry;
        text += eol;
    }
    try {
        writeFileAtomically(file, text);
    } catch (const swCError&) {
        // Settings are a convenience: a read-only place keeps the old values.
    }
}

// The platform's integer reading: blanks, a sign, leading decimal digits; no digits is 0.
// Overflow wraps as the platform's 32-bit conversion does.
int parseLeadingInt(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    uint32_t n = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) n = n * 10u + uint32_t(s[i] - '0');
    if (negative) n = 0u - n;
    return static_cast<int>(n);
}

constexpr EnvKey kEnvironmentKeys[] = {
    {"UserProductPath", EnvType::Folder, "data", 0},
    {"TmpPath", EnvType::Folder, "map/", 0},
    {"MapPath", EnvType::Folder, "map/", 0},
    {"CampaignPath", EnvType::Folder, "map/", 0},
    {"OtherPath", EnvType::Folder, "", 0},
    {"FilterIndex", EnvType::Int, "", 1},
    {"BriefingBmpPath", EnvType::Folder, "", 0},
    {"ShowHq", EnvType::Bool, "", 0},
    {"ShowLandList", EnvType::WriteOnly, "", 0},
    {"ShowLandMoveList", EnvType::WriteOnly, "", 0},
    {"ShowLandTransportList", EnvType::WriteOnly, "", 0},
    {"ShowBuildCnt", EnvType::WriteOnly, "", 0},
    {"ShowToolWin", EnvType::Bool, "", 0},
    {"ShowLandPaletteWin", EnvType::Bool, "", 0},
    {"ShowTroopPaletteWin", EnvType::Bool, "", 0},
    {"ShowBorderLinePaletteWin", EnvType::Bool, "", 0},
    {"ShowMinePaletteWin", EnvType::Bool, "", 0},
    {"BatchSrcFolder", EnvType::Folder, "", 0},
    {"BatchDstFolder", EnvType::Folder, "", 0},
    {"EbauchePath", EnvType::Folder, "", 0},
    {"TroopListOption", EnvType::Int, "", -1},
    {"ShowUnitIcon", EnvType::Bool, "", 1},
    {"SimAttackUidA", EnvType::Int, "", 0},
    {"SimAttackUidB", EnvType::Int, "", 0},
    {"LandListOption", EnvType::Int, "", -1},
    {"SimpleMode", EnvType::WriteOnly, "", 0},
    {"ShowQuickTroop", EnvType::Bool, "", 1},
    {"ShowQuickLand", EnvType::Bool, "", 1},
    {"ShowTimeQuickInfo", EnvType::Int, "", 50},
};

bool isDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int envDefault(std::string_view key) {
    const EnvKey* k = findEnvironmentKey(key);
    return k ? k->value : 0;
}

}  // namespace

std::string programPath() {
    if (!g_programPathOverride.empty()) return g_programPathOverride;
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof buffer) return {};
    return std::string(buffer, static_cast<size_t>(n));
}

void setProgramPath(std::string path) {
    g_programPathOverride = std::move(path);
}

std::string programFolder() {
    std::string path = programPath();
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

bool programFolderReadOnly() {
    if (g_readOnlyOverride) return *g_readOnlyOverride;
    const std::string folder = programFolder();
    return ::access(folder.c_str(), F_OK) == 0 && ::access(folder.c_str(), W_OK) != 0;
}

void setProgramFolderReadOnly(std::optional<bool> readOnly) {
    g_readOnlyOverride = readOnly;
}

namespace {

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/tmp";
}

// The program's folder under an XDG base folder; a relative value does not count.
std::string xdgFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    std::string base = value && value[0] == '/' ? std::string(value) : homeFolder() + underHome;
    if (base.back() != '/') base += '/';
    return base + "kvornme/";
}

}  // namespace

std::string userConfigFolder() {
    return xdgFolder("XDG_CONFIG_HOME", "/.config");
}

std::string userDataFolder() {
    return xdgFolder("XDG_DATA_HOME", "/.local/share");
}

std::string settingsFile() {
    std::string beside = programSettingsFile();
    if (!programFolderReadOnly()) return beside;
    return userConfigFolder() + beside.substr(beside.rfind('/') + 1);
}

std::string programSettingsFile() {
    std::string path = programPath();
    size_t slash = path.rfind('/');
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return path + ".ini";
    return path.substr(0, dot + 1) + "ini";
}

ProfileEntry::ProfileEntry(std::string section, std::string key)
    : section_(std::move(section)), key_(std::move(key)) {}

ProfileEntry::ProfileEntry(std::string section, std::string key, std::string file)
    : section_(std::move(section)), key_(std::move(key)), file_(std::move(file)) {}

std::string ProfileEntry::path() const {
    return file_.empty() ? settingsFile() : file_;
}

std::optional<std::string> ProfileEntry::readValue() const {
    const std::string file = path();
    std::optional<std::string> value = readProfileValue(file, section_, key_);
    if (value || !file_.empty()) return value;
    const std::string shipped = programSettingsFile();
    return file == shipped ? value : readProfileValue(shipped, section_, key_);
}

void ProfileEntry::readString(std::string& out) const {
    if (std::optional<std::string> v = readValue()) out = std::move(*v);
}

void ProfileEntry::writeString(std::string_view value) const {
    const std::string file = path();
    if (file_.empty() && file != programSettingsFile()) {
        // The user's folder is made on the first write; failing that, the write fails quietly.
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ignored);
    }
    writeProfileValue(file, section_, key_, value);
}

int ProfileEntry::readInt(int def) const {
    std::optional<std::string> v = readValue();
    return v ? parseLeadingInt(*v) : def;
}

void ProfileEntry::writeInt(int value) const {
    writeString(std::to_string(value));
}

bool ProfileEntry::readBool(bool def) const {
    return readInt(def ? 1 : 0) == 1;
}

void ProfileEntry::writeBool(bool value) const {
    writeInt(value ? 1 : 0);
}

std::span<const EnvKey> environmentKeys() {
    return kEnvironmentKeys;
}

const EnvKey* findEnvironmentKey(std::string_view key) {
    for (const EnvKey& k : kEnvironmentKeys)
        if (k.key == key) return &k;
    return nullptr;
}

std::string defaultFolder(std::string_view key) {
    const EnvKey* k = findEnvironmentKey(key);
    // The user's product files are written into their folder: with a read-only program
    // folder it moves to the user's data folder.
    const bool written = key == "UserProductPath" && programFolderReadOnly();
    std::string folder = written ? userDataFolder() : programFolder();
    if (k && k->type == EnvType::Folder) folder += k->folder;
    return folder;
}

std::string readFolderKey(std::string_view key) {
    std::optional<std::string> stored =
        ProfileEntry(std::string(kEnvironment), std::string(key)).readValue();
    if (!stored) return defaultFolder(key);
    std::optional<std::string> utf8 = decodeCp932(*stored);
    if (!utf8) return *stored;
    // A folder without a CP932 form was stored as its own bytes, which may still decode as
    // CP932 (é in UTF-8 reads as two half-width katakana): the name that exists wins.
    if (*utf8 != *stored && !isDirectory(*utf8) && isDirectory(*stored)) return *stored;
    return *utf8;
}

void writeFolderKey(std::string_view key, const std::string& folderUtf8) {
    std::optional<std::string> cp932 = encodeCp932(folderUtf8);
    ProfileEntry(std::string(kEnvironment), std::string(key))
        .writeString(cp932 ? *cp932 : folderUtf8);
}

int readEnvInt(std::string_view key) {
    return ProfileEntry(std::string(kEnvironment), std::string(key)).readInt(envDefault(key));
}

void writeEnvInt(std::string_view key, int value) {
    ProfileEntry(std::string(kEnvironment), std::string(key)).writeInt(value);
}

bool readEnvBool(std::string_view key) {
    return ProfileEntry(std::string(kEnvironment), std::string(key)).readBool(envDefault(key) != 0);
}

void writeEnvBool(std::string_view key, bool value) {
    ProfileEntry(std::string(kEnvironment), std::string(key)).writeBool(value);
}

std::string readDrawingOption() {
    // The file comes from an earlier product and may have been copied with another case.
    std::string file = findFileCaseInsensitive(programFolder() + "glossamer2.ini");
    std::string value = "1";
    ProfileEntry(std::string(kEnvironment), "HEL", file).readString(value);
    return cutToBytes(value, 30);
}

bool drawingOptionOn() {
    std::string value = readDrawingOption();
    return !value.empty() && value.front() == '1';
}

}  // namespace kv
