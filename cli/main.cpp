// kvmap: the command-line tool over the editor's core (no display needed).
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

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
    parser.setApplicationDescription("Map tool of the editor: inspects and converts map files.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("command", "paths: print the program and settings paths");
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.value(0) == "paths") {
        std::printf("program folder: %s\nsettings file: %s\n", kv::programFolder().c_str(),
                    kv::settingsFile().c_str());
        return 0;
    }
    parser.showHelp(args.isEmpty() ? 0 : 2);
}
