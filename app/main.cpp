// The editor's entry point.
#include <QApplication>

#include "app/editor_app.h"
#include "framework/japanese_collation.h"
#include "framework/message_box_prompter.h"
#include "framework/name_order.h"
#include "framework/profile.h"

int main(int argc, char* argv[]) {
    QApplication qapp(argc, argv);
    kv::installQtTranslations();
    kv::setProgramPath(QCoreApplication::applicationFilePath().toStdString());
    kv::MessageBoxPrompter prompter;
    kv::ScopedPrompter installed(&prompter);
    kv::ScopedNameRanker japanese(kv::rankNamesJapanese);
    kv::EditorApp app;
    return app.run();
}
