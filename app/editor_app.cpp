// Start-up, the message loop and shut-down of the editor.
#include "app/editor_app.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <new>

#include "app/command_line.h"
#include "app/main_frame.h"
#include "document/map_document.h"
#include "framework/errors.h"
#include "framework/profile.h"
#include "framework/prompter.h"

namespace kv {

namespace {

MapDocument* g_document = nullptr;
MainFrame* g_mainFrame = nullptr;
void (*g_exit)(int) = [](int code) { std::_Exit(code); };

// A request line longer than this is no request: the sender is dropped.
constexpr qint64 kMaxRequestBytes = 64 * 1024;
// How often a file asked for while a dialog is open looks again.
constexpr int kBusyRetryMs = 250;

std::string defaultRuntimeDir() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir.toStdString();
}

}  // namespace

MapDocument* theDocument() {
    return g_document;
}
MainFrame* theMainFrame() {
    return g_mainFrame;
}

QTranslator* installQtTranslations() {
    // The editor speaks Japanese whatever the desktop's language is.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

QIcon programIcon() {
    // Window managers show window icons at 64 pixels or less; the larger pictures are for the
    // desktop's launchers. Each size is decoded when the window is shown, so only those.
    constexpr int kLargestWindowIcon = 64;
    QIcon icon;
    const QDir theme(QString::fromStdString(programFolder() + "icons/hicolor"));
    for (const QString& size : theme.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const int side = size.section(u'x', 0, 0).toInt();
        if (side <= 0 || side > kLargestWindowIcon || size != QStringLiteral("%1x%1").arg(side))
            continue;
        const QString file = theme.filePath(size + "/apps/kvornme.png");
        if (QFile::exists(file)) icon.addFile(file, QSize(side, side));
    }
    return icon;
}

bool screenSizeAccepted(int width, int height) {
    return width >= 800 && height >= 600;
}

void setExitFunction(void (*exitFunction)(int)) {
    g_exit = exitFunction;
}

void allocationFailureHandler() {
    static bool inside = false;
    if (inside) g_exit(-1);  // the box itself could not be shown
    inside = true;
    Prompt p;
    p.text =
        "メモリが足りません。\nいくつかのアプリケーションを終了するか、\n"
        "このプログラムの実行をキャンセルしてください。";
    p.buttons = PromptButtons::RetryCancel;
    p.taskModal = true;
    const PromptAnswer a = prompter().ask(p);
    inside = false;
    if (a != PromptAnswer::Retry) g_exit(-1);
}

EditorApp::EditorApp() = default;

EditorApp::~EditorApp() {
    if (instanceLock_ >= 0) ::close(instanceLock_);
    g_document = nullptr;
    g_mainFrame = nullptr;
}

std::string EditorApp::lockPath(const std::string& runtimeDir, const char* name) {
    return runtimeDir + "/" + name + "." + std::to_string(getuid()) + ".lock";
}

std::string EditorApp::serverPath(const std::string& runtimeDir) {
    return runtimeDir + "/" + kEditorLockName + "." + std::to_string(getuid()) + ".sock";
}

bool EditorApp::gameRunning(const std::string& runtimeDir) {
    const QString path = QString::fromStdString(lockPath(runtimeDir, kGameLockName));
    if (!QFile::exists(path)) return false;
    QLockFile probe(path);
    if (probe.tryLock(0)) {
        // A lock left behind by a game that is gone: clear it again.
        probe.unlock();
        return false;
    }
    return probe.error() == QLockFile::LockFailedError;
}

bool EditorApp::raiseFirstInstance(const std::string& runtimeDir, const std::string& file) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(serverPath(runtimeDir)));
    if (socket.waitForConnected(1000)) {
        socket.write(instanceRequest(file));
        socket.waitForBytesWritten(1000);
        socket.disconnectFromServer();
    }
    return true;
}

void EditorApp::listenForSecondInstances(const std::string& runtimeDir) {
    const QString path = QString::fromStdString(serverPath(runtimeDir));
    QLocalServer::removeServer(path);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(path)) return;
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            QObject::connect(s, &QLocalSocket::readyRead, s, [this, s] { readRequests(s); });
            QObject::connect(s, &QLocalSocket::disconnected, s, [this, s] {
                readRequests(s);  // what came with the goodbye
                s->deleteLater();
            });
            readRequests(s);
        }
    });
}

void EditorApp::readRequests(QLocalSocket* s) {
    while (s->canReadLine()) {
        QByteArray line = s->readLine(kMaxRequestBytes);
        if (!line.endsWith('\n')) {
            s->abort();
            return;
        }
        line.chop(1);
        const std::optional<std::string> file = parseInstanceRequest(line);
        if (!file) continue;
        if (QWidget* w = frameWidget_.data()) {
            // Brought to the front; a minimised window stays minimised.
            if (!w->isMinimized()) {
                w->raise();
                w->activateWindow();
            }
        }
        if (!file->empty()) {
            requestedFiles_.push_back(*file);
            openRequestedFiles();
        }
    }
    if (s->bytesAvailable() > kMaxRequestBytes) s->abort();
}

void EditorApp::openRequestedFiles() {
    if (openScheduled_ || requestedFiles_.empty() || !server_) return;
    openScheduled_ = true;
    // Never under a dialog: it shows the map that opening would replace.
    const bool busy = !frameWidget_ || QApplication::activeModalWidget();
    QTimer::singleShot(busy ? kBusyRetryMs : 0, server_.get(), [this] {
        openScheduled_ = false;
        if (!frameWidget_ || !mainFrame || QApplication::activeModalWidget()) {
            openRequestedFiles();
            return;
        }
        const std::string file = requestedFiles_.front();
        requestedFiles_.pop_front();
        openFileFromCommandLine(*mainFrame, file);
        openRequestedFiles();
    });
}

int EditorApp::run(const StartupOptions& options) {
    std::set_new_handler(&allocationFailureHandler);
    std::srand(static_cast<unsigned>(QDateTime::currentMSecsSinceEpoch()));
    const std::string runtimeDir =
        options.runtimeDir.empty() ? defaultRuntimeDir() : options.runtimeDir;

    if (gameRunning(runtimeDir)) {
        Prompt p;
        p.caption = "中止";
        p.text =
            "マップエディタは、ゲームと同時に起動する事は出来ません。\n"
            "ゲームを終了させてから、再起動してください。";
        p.icon = PromptIcon::Stop;
        p.systemModal = true;
        prompter().ask(p);
        return 0;
    }

    // The kernel's lock on an open file: it goes with the process however that ends, and
    // taking it writes nothing (a lock file with contents would be synced to disk first).
    const std::string lock = lockPath(runtimeDir, kEditorLockName);
    instanceLock_ = ::open(lock.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (instanceLock_ >= 0 && ::flock(instanceLock_, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(instanceLock_);
        instanceLock_ = -1;
        if (held) {
            raiseFirstInstance(runtimeDir, options.openFile);
            return 0;
        }
    }
    // Without the lock (the runtime folder is not writable, or has no locks) the editor runs
    // without the single-instance guard.
    listenForSecondInstances(runtimeDir);

    try {
        document = new MapDocument();
    } catch (const swCError&) {
        return 0;
    }
    document->writesSettingsAtEnd = true;
    g_document = document;
    fonts = std::make_unique<SharedFonts>();
    try {
        document->loadResources();
    } catch (const swCError&) {
        // The loader has told the user which data file is missing; the editor cannot run.
        delete document;
        document = g_document = nullptr;
        return 0;
    }

    QSize screen = options.screenSize.value_or(QSize(0, 0));
    if (!options.screenSize) {
        if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->size();
    }
    if (!screenSizeAccepted(screen.width(), screen.height())) {
        showMessage("警告",
                    "このゲームの実行に必要な画面サイズは、800×600以上です。\n"
                    "画面サイズを800×600以上に変更してこのゲームを起動してください。",
                    PromptIcon::Exclamation);
        delete document;
        document = g_document = nullptr;
        return 0;
    }

    mainFrame = newWindow<MainFrame>(*document);
    g_mainFrame = mainFrame;
    QPointer<QWidget> frameWidget;
    if (mainFrame->create()) frameWidget = mainFrame->handle();
    frameWidget_ = frameWidget;
    // A map restored from the autosave of a run that did not end cleanly comes first; a file
    // named on the command line would only ask to save it away again.
    const bool restored = frameWidget && mainFrame->offerRecovery();
    if (frameWidget && !restored && !options.openFile.empty()) {
        requestedFiles_.push_back(options.openFile);
        openRequestedFiles();
    }
    if (options.onStarted && mainFrame->handle()) {
        MainFrame* frame = mainFrame;
        QTimer::singleShot(0, frame->handle(), [frame, f = options.onStarted] { f(*frame); });
    }
    if (frameWidget) {
        exitCode = QApplication::exec();
    } else {
        delete mainFrame;
    }
    mainFrame = g_mainFrame = nullptr;
    frameWidget_.clear();
    requestedFiles_.clear();
    openScheduled_ = false;

    if (!loopError()) {
        delete document;
    }
    document = g_document = nullptr;
    server_.reset();
    if (instanceLock_ >= 0) ::close(instanceLock_);
    instanceLock_ = -1;
    return exitCode;
}

}  // namespace kv
