// The editor's command line (`kvornme [FILE]`, --help, --version), the request a second start
// sends to the running editor, and opening the file either names.
#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>
#include <string>

namespace kv {

class MainFrame;

inline constexpr const char* kEditorName = "kvornme";
inline constexpr const char* kEditorVersion = "1.00a";

struct CommandLine {
    enum Action { Run, Help, Version, Error };
    Action action = Run;
    std::string file;  // Run: the file to open, as an absolute path; empty for none
    std::string text;  // Help, Version: the text for stdout; Error: the message for stderr
};

// Reads the arguments (the program's name first). Needs a QCoreApplication; Qt's own window
// options (-platform, -style, ...) are accepted and left to QApplication, so the command line
// can be read, and --help, --version and mistakes answered, before a display is opened.
CommandLine parseCommandLine(const QStringList& arguments);

// Prints what a Help, Version or Error command line says and returns the exit code
// (0, or 2 for an error).
int answerCommandLine(const CommandLine& line);

// The line a second start sends to the running editor: open `file`, or only come to the
// front when `file` is empty.
QByteArray instanceRequest(const std::string& file);
// What a request line (without its line end) asks: nullopt for anything unknown, an empty
// path to come to the front, else the file to open.
std::optional<std::string> parseInstanceRequest(const QByteArray& line);

// Opens `path` as the open commands do once their dialog has chosen it: the save question
// first (Cancel opens nothing); a map of an earlier edition is imported like "open earlier
// edition", anything else is read as a map file, which says what is wrong with a bad one.
// False when the save question was cancelled.
bool openFileFromCommandLine(MainFrame& frame, const std::string& path);

}  // namespace kv
