// The application object: single-instance rules, start-up order, the message loop and
// the orderly shut-down.
#pragma once

#include <QIcon>
#include <QLocalServer>
#include <QPointer>
#include <QSize>
#include <QTranslator>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "framework/font.h"
#include "framework/window.h"

class QLocalSocket;

namespace kv {

class MainFrame;
class MapDocument;

// The process-wide document and main frame.
MapDocument* theDocument();
MainFrame* theMainFrame();

// The lock that says the game is running, and the editor's own.
constexpr const char* kGameLockName = "KVORN_MAINWINDOW_CNAME";
constexpr const char* kEditorLockName = "KVORNME_MAINWINDOW_CNAME";

// Loads Qt's own Japanese texts (file dialogs, standard buttons) into the application, which
// owns the translator; null when they are not installed.
QTranslator* installQtTranslations();

// The program's icon at the sizes found in the program folder's icon theme (empty without).
QIcon programIcon();

// Screens of at least 800 × 600 run the editor.
bool screenSizeAccepted(int width, int height);

// The allocation-failure handler: Retry returns (the allocation is tried again), Cancel
// ends the process with exit code −1 through `exitFunction`.
void allocationFailureHandler();
void setExitFunction(void (*exitFunction)(int));

struct StartupOptions {
    std::string runtimeDir;           // where the locks live; empty: the user's runtime folder
    std::optional<QSize> screenSize;  // empty: the primary screen's size
    std::function<void(MainFrame&)> onStarted;  // runs once the loop has started
    // A file to open once the frame is up; a second start hands it to the first instead.
    std::string openFile;
};

class EditorApp {
public:
    EditorApp();
    ~EditorApp();
    // Runs the editor to its end and returns the exit code.
    int run(const StartupOptions& options = {});

    // Lock file paths of the game and of the editor in `runtimeDir`.
    static std::string lockPath(const std::string& runtimeDir, const char* name);
    static std::string serverPath(const std::string& runtimeDir);

    MapDocument* document = nullptr;
    MainFrame* mainFrame = nullptr;
    ModelessList modelessDialogs;
    std::unique_ptr<SharedFonts> fonts;
    int exitCode = 0;

private:
    bool gameRunning(const std::string& runtimeDir);
    bool raiseFirstInstance(const std::string& runtimeDir, const std::string& file);
    void listenForSecondInstances(const std::string& runtimeDir);
    void readRequests(QLocalSocket* socket);
    // Opens the files asked for, one at a time, once no dialog is in the way.
    void openRequestedFiles();

    int instanceLock_ = -1;  // descriptor holding the single-instance lock
    std::unique_ptr<QLocalServer> server_;
    QPointer<QWidget> frameWidget_;  // null once the frame is gone
    std::deque<std::string> requestedFiles_;
    bool openScheduled_ = false;
};

}  // namespace kv
