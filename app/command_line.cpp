// The command line of the editor and of its second starts.
#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

#include "app/main_frame.h"
#include "document/import.h"

namespace kv {

namespace {

constexpr const char* kOpenRequest = "open ";
constexpr const char* kRaiseRequest = "raise";

// QGuiApplication's and QApplication's own options, with and without a value.
void addQtWindowOptions(QCommandLineParser& parser) {
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                             "qmljsdebugger", "qwindowgeometry", "qwindowicon", "qwindowtitle",
                             "session", "display", "geometry", "style", "stylesheet"}) {
        QCommandLineOption o(name, QString(), "value");
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption o(name);
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "ケステルゾルテア マップエディタ: the map and scenario editor.\n"
        "FILE is opened at start: a map file (.kvn .kvs .kvt .ksm .kst) or a map of an earlier\n"
        "edition. When the editor already runs, it is handed the file and asks to save the\n"
        "map being edited first.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument("FILE", "The map file to open.", "[FILE]");
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    addQtWindowOptions(parser);
    CommandLine line;
    const auto error = [&line](const QString& why) {
        line.action = CommandLine::Error;
        line.text = std::string(kEditorName) + ": " + why.toStdString() + "\nTry '" + kEditorName +
                    " --help' for more information.\n";
        return line;
    };
    if (!parser.parse(arguments)) return error(parser.errorText());
    if (parser.isSet(help) || parser.isSet("help-all")) {
        line.action = CommandLine::Help;
        line.text = parser.helpText().toStdString();
        return line;
    }
    if (parser.isSet(version)) {
        line.action = CommandLine::Version;
        line.text = std::string(kEditorName) + " " + kEditorVersion + "\n";
        return line;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) return error("one file at most");
    // A second start runs in another folder than the first: the path must stand on its own.
    if (!files.isEmpty())
        line.file = QFile::encodeName(QFileInfo(files[0]).absoluteFilePath()).toStdString();
    return line;
}

int answerCommandLine(const CommandLine& line) {
    std::FILE* out = line.action == CommandLine::Error ? stderr : stdout;
    std::fputs(line.text.c_str(), out);
    std::fflush(out);
    return line.action == CommandLine::Error ? 2 : 0;
}

QByteArray instanceRequest(const std::string& file) {
    if (file.empty()) return QByteArray(kRaiseRequest) + '\n';
    // Percent-encoded, so that any byte of a file name (a line end too) survives the line.
    return QByteArray(kOpenRequest) + QByteArray::fromStdString(file).toPercentEncoding() + '\n';
}

std::optional<std::string> parseInstanceRequest(const QByteArray& line) {
    if (line == kRaiseRequest) return std::string();
    if (!line.startsWith(kOpenRequest)) return std::nullopt;
    const QByteArray path =
        QByteArray::fromPercentEncoding(line.mid(qsizetype(std::strlen(kOpenRequest))));
    // Only a whole path names a file: the sender made it absolute.
    if (!path.startsWith('/') || path.contains('\0')) return std::nullopt;
    return path.toStdString();
}

bool openFileFromCommandLine(MainFrame& frame, const std::string& path) {
    if (!frame.confirmSave()) return false;
    const int kind = detectMapKind(path).kind;
    if (kind >= legacy::kRealTime && kind <= legacy::kModern) {
        frame.openEarlierFile(path);
    } else {
        frame.openMapFile(path);
    }
    return true;
}

}  // namespace kv
