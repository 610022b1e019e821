// The editor's entry point.
#include <QApplication>

#include "app/command_line.h"
#include "app/editor_app.h"
#include "framework/japanese_collation.h"
#include "framework/message_box_prompter.h"
#include "framework/name_order.h"
#include "framework/profile.h"

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(kv::kEditorName);
    QCoreApplication::setApplicationVersion(kv::kEditorVersion);
    kv::CommandLine line;
    {
        // Read without a display: --help, --version and mistakes need none.
        QCoreApplication core(argc, argv);
        line = kv::parseCommandLine(QCoreApplication::arguments());
    }
    if (line.action != kv::CommandLine::Run) return kv::answerCommandLine(line);
    QApplication qapp(argc, argv);
    kv::installQtTranslations();
    kv::setProgramPath(QCoreApplication::applicationFilePath().toStdString());
    QApplication::setWindowIcon(kv::programIcon());
    kv::MessageBoxPrompter prompter;
    kv::ScopedPrompter installed(&prompter);
    kv::ScopedNameRanker japanese(kv::rankNamesJapanese);
    kv::EditorApp app;
    kv::StartupOptions options;
    options.openFile = line.file;
    return app.run(options);
}
