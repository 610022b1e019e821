// kvmap: the command-line tool over the editor's core (no display needed).
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

#include "cli/data_command.h"
#include "cli/info_command.h"
#include "framework/profile.h"
#include "framework/prompter.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("kvmap");
    QCoreApplication::setApplicationVersion("1.00a");
    kv::setProgramPath(QCoreApplication::applicationFilePath().toStdString());
    kv::StderrPrompter prompter;
    kv::ScopedPrompter installed(&prompter);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Map tool of the editor: reads the game data and the map files of a program folder.\n"
        "Commands:\n"
        "  data        load the game database and print a summary (--json: every table)\n"
        "  info FILE   what a map file holds (--json: one object)\n"
        "  paths       print the program folder and the settings file");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("command", "data | info FILE | paths");
    QCommandLineOption programDir("program-dir", "The program folder to read (default: the folder of kvmap).",
                                  "DIR");
    QCommandLineOption json("json", "Print every table as JSON.");
    parser.addOption(programDir);
    parser.addOption(json);
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    if (command == "data") return kv::cli::runDataCommand(parser.value(programDir).toStdString(),
                                                          parser.isSet(json));
    if (command == "info") {
        if (args.size() != 2) {
            std::fprintf(stderr, "kvmap: info needs one map file\n");
            return 2;
        }
        return kv::cli::runInfoCommand(args[1].toStdString(), parser.value(programDir).toStdString(),
                                       parser.isSet(json));
    }
    if (command == "paths") {
        std::printf("program folder: %s\nsettings file: %s\n", kv::programFolder().c_str(),
                    kv::settingsFile().c_str());
        return 0;
    }
    std::fprintf(stderr, "kvmap: unknown command '%s'\n\n", qPrintable(command));
    parser.showHelp(2);
}
