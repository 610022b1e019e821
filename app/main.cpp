// The editor's entry point.
#include <QApplication>

#include "app/editor_app.h"
#include "framework/message_box_prompter.h"
#include "framework/profile.h"

int main(int argc, char* argv[]) {
    QApplication qapp(argc, argv);
    kv::setProgramPath(QCoreApplication::applicationFilePath().toStdString());
    kv::MessageBoxPrompter prompter;
    kv::ScopedPrompter installed(&prompter);
    kv::EditorApp app;
    return app.run();
}
