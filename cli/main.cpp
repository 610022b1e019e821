// kvmap: the command-line tool over the editor's core (no display needed).
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli/buildings_command.h"
#include "cli/campaign_command.h"
#include "cli/check_command.h"
#include "cli/convert_command.h"
#include "cli/data_command.h"
#include "cli/edit_commands.h"
#include "cli/export_command.h"
#include "cli/info_command.h"
#include "cli/script_command.h"
#include "cli/texts_command.h"
#include "framework/profile.h"
#include "framework/prompter.h"

namespace {

// Prints what the core tells the user on stderr, but only the first few messages of a kind
// (the same first line of text): a weapon table whose armaments are unknown says so once per
// slot, which for a large table would be hundreds of thousands of lines. The count of what
// was left out is printed when the tool ends.
class CappedStderrPrompter : public kv::Prompter {
public:
    static constexpr int kShownPerKind = 5;

    CappedStderrPrompter() = default;
    CappedStderrPrompter(const CappedStderrPrompter&) = delete;
    CappedStderrPrompter& operator=(const CappedStderrPrompter&) = delete;
    ~CappedStderrPrompter() override {
        for (const auto& [kind, count] : counts_)
            if (count > kShownPerKind)
                std::fprintf(stderr, "kvmap: %d more messages \"%s\" not shown (%d in all)\n",
                             count - kShownPerKind, kind.c_str(), count);
    }
    kv::PromptAnswer ask(const kv::Prompt& prompt) override {
        const std::string kind = prompt.text.substr(0, prompt.text.find('\n'));
        if (++counts_[kind] <= kShownPerKind) return plain_.ask(prompt);
        return kv::defaultAnswer(prompt.buttons);
    }

private:
    kv::StderrPrompter plain_;
    std::map<std::string, int> counts_;
};

}  // namespace

int main(int argc, char* argv[]) {
    auto app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName("kvmap");
    QCoreApplication::setApplicationVersion("1.00a");
    kv::setProgramPath(QCoreApplication::applicationFilePath().toStdString());
    CappedStderrPrompter prompter;
    kv::ScopedPrompter installed(&prompter);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Map tool of the editor: reads the game data and the map files of a program folder.\n"
        "Commands:\n"
        "  data        load the game database and print a summary (--json: every table)\n"
        "  info FILE   what a map file holds (--json: one object)\n"
        "  check FILE...  the map check of each map (exit 0 clean, 1 problems, 2 unreadable)\n"
        "  resize FILE --width W --height H [--anchor 0..8] --out OUT\n"
        "              change the map size around the anchor (row x 3 + column, 0 top left)\n"
        "  pack-troops FILE --out OUT\n"
        "              move every organisation group's troops to its first positions\n"
        "  convert SRC... --out DIR [--force]\n"
        "              convert maps of earlier editions and versions (files or folders)\n"
        "              into current map files in DIR (exit 1 when any file failed; a file\n"
        "              cut short fails unless --force)\n"
        "  export FILE OUT [--hex-size 16|32|48] [--png-level 1..12]\n"
        "              the map's terrain as a 16-bit bitmap file (OUT.png: the same as PNG)\n"
        "  export FILE OUT --thumbnail SIZE\n"
        "              the whole map fitted into a SIZE-pixel square, as PNG (thumbnailers)\n"
        "  campaign FILE [--extract DIR [--force]]\n"
        "              a campaign file's maps and links and what is wrong with them (exit 0\n"
        "              clean, 1 problems, 2 no campaign file); --extract writes its maps\n"
        "  texts FILE  the scenario texts and display bytes of a map\n"
        "  texts FILE --set FIELD=TEXT.txt [--set ...] --out OUT\n"
        "              replace scenario texts from UTF-8 files (FIELD: briefingHeadline,\n"
        "              briefingSubHeadline, briefingBody, operationName, orderBody,\n"
        "              victoryText, factionsText, endingHeadline, endingBody); exit 2 for a\n"
        "              text too long for its field or with characters outside Shift-JIS\n"
        "  script SCRIPT.js [MAP] [--out OUT] [--arg K=V]... [--timeout S]\n"
        "              run a JavaScript file on MAP or on a new map (docs/scripting.md);\n"
        "              exit 2 for a script error or when it runs longer than S seconds\n"
        "              (default 60); a map is written only by save() or --out\n"
        "  buildings FILE  the facilities of every kind per owner: intact, destroyed, income\n"
        "              (--json: one object)\n"
        "  paths       print the program folder and the settings file");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        "command",
        "data | info FILE | check FILE... | resize FILE | pack-troops FILE "
        "| convert SRC... | export FILE OUT | campaign FILE | texts FILE | script SCRIPT.js "
        "| buildings FILE | paths");
    QCommandLineOption programDir(
        "program-dir", "The program folder to read (default: the folder of kvmap).", "DIR");
    QCommandLineOption json("json", "Print every table as JSON.");
    // The map size and the file or folder a command writes.
    QCommandLineOption width("width", "resize: the new width, 1..256.", "W");
    QCommandLineOption height("height", "resize: the new height, 1..256.", "H");
    QCommandLineOption anchor("anchor", "resize: the part kept, 0..8 (default 0, top left).", "A");
    QCommandLineOption out("out", "The file (resize, pack-troops) or folder to write.", "OUT");
    parser.addOption(programDir);
    parser.addOption(json);
    parser.addOption(width);
    parser.addOption(height);
    parser.addOption(anchor);
    parser.addOption(out);
    QCommandLineOption hexSize("hex-size", "export: the hex size, 16, 32 or 48 (default 32).", "S");
    parser.addOption(hexSize);
    QCommandLineOption pngLevel(
        "png-level", "export: PNG compression, 1 (fastest) to 12 (smallest); default 4.", "L");
    parser.addOption(pngLevel);
    QCommandLineOption thumbnail("thumbnail", "export: a PNG thumbnail fitted into SIZE pixels.",
                                 "SIZE");
    parser.addOption(thumbnail);
    QCommandLineOption force("force",
                             "convert: also convert files cut short (what they hold); "
                             "campaign --extract: replace existing files.");
    parser.addOption(force);
    QCommandLineOption extract("extract", "campaign: write each embedded map into DIR.", "DIR");
    parser.addOption(extract);
    QCommandLineOption set("set", "texts: replace FIELD from a UTF-8 text file.", "FIELD=FILE");
    parser.addOption(set);
    QCommandLineOption scriptArg("arg", "script: a value the script reads as args.KEY.", "K=V");
    parser.addOption(scriptArg);
    QCommandLineOption timeout("timeout", "script: the time limit in seconds (default 60).", "S");
    parser.addOption(timeout);
    parser.process(*app);

    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    if (command == "data")
        return kv::cli::runDataCommand(parser.value(programDir).toStdString(), parser.isSet(json));
    if (command == "info") {
        if (args.size() != 2) {
            std::fprintf(stderr, "kvmap: info needs one map file\n");
            return 2;
        }
        return kv::cli::runInfoCommand(args[1].toStdString(),
                                       parser.value(programDir).toStdString(), parser.isSet(json));
    }
    const std::string dir = parser.value(programDir).toStdString();
    if (command == "check") {
        std::vector<std::string> files;
        for (qsizetype i = 1; i < args.size(); ++i) files.push_back(args[i].toStdString());
        return kv::cli::runCheckCommand(files, dir);
    }
    if (command == "resize" || command == "pack-troops") {
        if (args.size() != 2) {
            std::fprintf(stderr, "kvmap: %s needs one map file\n", qPrintable(command));
            return 2;
        }
        const std::string file = args[1].toStdString();
        const std::string target = parser.value(out).toStdString();
        if (command == "pack-troops") return kv::cli::runPackTroopsCommand(file, target, dir);
        return kv::cli::runResizeCommand(file, parser.value(width).toStdString(),
                                         parser.value(height).toStdString(),
                                         parser.value(anchor).toStdString(), target, dir);
    }
    if (command == "convert") {
        std::vector<std::string> sources;
        for (qsizetype i = 1; i < args.size(); ++i) sources.push_back(args[i].toStdString());
        return kv::cli::runConvertCommand(sources, parser.value(out).toStdString(), dir,
                                          parser.isSet(force));
    }
    if (command == "export") {
        if (args.size() != 3) {
            std::fprintf(stderr, "kvmap: export needs a map file and the file to write\n");
            return 2;
        }
        // Images are drawn without a GUI application: no platform plugin, no display.
        if (parser.isSet(thumbnail)) {
            if (parser.isSet(hexSize)) {
                std::fprintf(stderr, "kvmap: --thumbnail and --hex-size exclude each other\n");
                return 2;
            }
            return kv::cli::runThumbnailCommand(args[1].toStdString(), args[2].toStdString(),
                                                parser.value(thumbnail).toStdString(), dir);
        }
        return kv::cli::runExportCommand(args[1].toStdString(), args[2].toStdString(),
                                         parser.value(hexSize).toStdString(),
                                         parser.value(pngLevel).toStdString(), dir);
    }
    if (command == "campaign") {
        if (args.size() != 2) {
            std::fprintf(stderr, "kvmap: campaign needs one campaign file\n");
            return 2;
        }
        return kv::cli::runCampaignCommand(args[1].toStdString(), parser.isSet(json),
                                           parser.value(extract).toStdString(),
                                           parser.isSet(force));
    }
    if (command == "texts") {
        if (args.size() != 2) {
            std::fprintf(stderr, "kvmap: texts needs one map file\n");
            return 2;
        }
        std::vector<std::string> sets;
        for (const QString& v : parser.values(set)) sets.push_back(v.toStdString());
        return kv::cli::runTextsCommand(args[1].toStdString(), sets,
                                        parser.value(out).toStdString(), dir);
    }
    if (command == "script") {
        if (args.size() != 2 && args.size() != 3) {
            std::fprintf(stderr, "kvmap: script needs a script file and at most one map file\n");
            return 2;
        }
        std::vector<std::string> values;
        for (const QString& v : parser.values(scriptArg)) values.push_back(v.toStdString());
        return kv::cli::runScriptCommand(args[1].toStdString(), args.value(2).toStdString(), values,
                                         parser.value(timeout).toStdString(),
                                         parser.value(out).toStdString(), dir);
    }
    if (command == "buildings") {
        if (args.size() != 2) {
            std::fprintf(stderr, "kvmap: buildings needs one map file\n");
            return 2;
        }
        return kv::cli::runBuildingsCommand(args[1].toStdString(), dir, parser.isSet(json));
    }
    if (command == "paths") {
        std::printf("program folder: %s\nsettings file: %s\n", kv::programFolder().c_str(),
                    kv::settingsFile().c_str());
        return 0;
    }
    std::fprintf(stderr, "kvmap: unknown command '%s'\n\n", qPrintable(command));
    parser.showHelp(2);
}
