// The window tests' main: one QApplication on the offscreen platform, and a watchdog that
// fails a test and closes any modal window left unanswered, so nothing hangs.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <string>

#include "framework/font.h"
#include "support/test_paths.h"

namespace {

class Watchdog : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo&) override { ticks_ = 0; }
    void tick() {
        if (!QApplication::activeModalWidget()) {
            ticks_ = 0;
            return;
        }
        if (++ticks_ < 50) return;  // five seconds
        ADD_FAILURE() << "a modal window was left unanswered";
        // Modal windows may live on a caller's stack: end them, never delete them.
        if (QWidget* w = QApplication::activeModalWidget()) {
            if (auto* d = qobject_cast<QDialog*>(w)) {
                d->reject();
            } else {
                w->close();
            }
        }
        ticks_ = 0;
    }

private:
    int ticks_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // A private runtime folder for the single-instance locks of the tests.
    static kvtest::TempDir runtime;
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    // Autosave's recovery folder and anything else under the user's data location.
    static kvtest::TempDir data;
    setenv("XDG_DATA_HOME", data.path().c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    kv::installFontSubstitutions();
    auto* watchdog = new Watchdog;
    testing::UnitTest::GetInstance()->listeners().Append(watchdog);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [watchdog] { watchdog->tick(); });
    timer.start(100);
    return RUN_ALL_TESTS();
}
