// Start-up: refusal while the game runs, the single instance, the screen-size check,
// the allocation-failure handler, Qt's own texts in Japanese and the orderly shut-down.
#include <QApplication>
#include <QFile>
#include <QLockFile>
#include <QSysInfo>
#include <QTimer>

#include <filesystem>

#include <gtest/gtest.h>

#include "app/editor_app.h"
#include "app/main_frame.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/test_paths.h"

namespace kv {
namespace {

class Startup : public testing::Test {
protected:
    void SetUp() override {
        kvtest::copySampleData(dir.path());
        setProgramPath(dir.file("kvornme"));
    }
    void TearDown() override { setProgramPath(""); }

    StartupOptions options(std::function<void(MainFrame&)> onStarted = closeAtOnce) {
        StartupOptions o;
        o.runtimeDir = runtime.path();
        o.screenSize = QSize(1024, 768);
        o.onStarted = std::move(onStarted);
        return o;
    }
    static void closeAtOnce(MainFrame& f) { postMessage(&f, msg::Close); }
    int topLevelFrames() const {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == MainFrame::kClassName) ++n;
        return n;
    }

    kvtest::TempDir dir, runtime;
    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(Startup, RefusesWhileTheGameRunsWithoutWindowOrLock) {
    QLockFile game(QString::fromStdString(EditorApp::lockPath(runtime.path(), kGameLockName)));
    ASSERT_TRUE(game.tryLock(0));
    EditorApp app;
    bool started = false;
    EXPECT_EQ(app.run(options([&started](MainFrame& f) {
        started = true;
        closeAtOnce(f);
    })),
              0);
    EXPECT_FALSE(started);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].caption, "中止");
    EXPECT_EQ(prompts.seen[0].text,
              "マップエディタは、ゲームと同時に起動する事は出来ません。\n"
              "ゲームを終了させてから、再起動してください。");
    EXPECT_EQ(prompts.seen[0].icon, PromptIcon::Stop);
    EXPECT_TRUE(prompts.seen[0].systemModal);
    EXPECT_EQ(topLevelFrames(), 0);
    EXPECT_FALSE(QFile::exists(
        QString::fromStdString(EditorApp::lockPath(runtime.path(), kEditorLockName))));
    // Nothing was written either: no document was made.
    EXPECT_FALSE(QFile::exists(QString::fromStdString(settingsFile())));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir.file("land.dat"))));

    // Once the game is gone (its lock released, or left behind by a dead game) the editor runs.
    game.unlock();
    kvtest::writeFile(EditorApp::lockPath(runtime.path(), kGameLockName),
                      "999999\nkvgame\n" + QSysInfo::machineHostName().toStdString() + "\n");
    EditorApp again;
    EXPECT_EQ(again.run(options()), 0);
    EXPECT_EQ(prompts.seen.size(), 1u);
}

TEST_F(Startup, AMissingDataFileEndsTheStartAfterItsMessage) {
    std::filesystem::remove(dir.file("weapon.dat"));
    EditorApp app;
    bool started = false;
    EXPECT_EQ(app.run(options([&started](MainFrame& f) {
        started = true;
        closeAtOnce(f);
    })),
              0);
    EXPECT_FALSE(started);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].caption, "警告");
    EXPECT_EQ(prompts.seen[0].text, "兵器データ weapon.dat が見つかりません");
    EXPECT_EQ(topLevelFrames(), 0);
    EXPECT_EQ(theDocument(), nullptr);
}

TEST_F(Startup, ScreenSizeCheck) {
    EXPECT_TRUE(screenSizeAccepted(800, 600));
    EXPECT_TRUE(screenSizeAccepted(1024, 600));
    EXPECT_FALSE(screenSizeAccepted(799, 600));
    EXPECT_FALSE(screenSizeAccepted(800, 599));

    for (QSize s : {QSize(799, 600), QSize(800, 599)}) {
        prompts.seen.clear();
        EditorApp app;
        StartupOptions o = options();
        o.screenSize = s;
        EXPECT_EQ(app.run(o), 0);
        ASSERT_EQ(prompts.seen.size(), 1u);
        EXPECT_EQ(prompts.seen[0].caption, "警告");
        EXPECT_EQ(prompts.seen[0].text,
                  "このゲームの実行に必要な画面サイズは、800×600以上です。\n"
                  "画面サイズを800×600以上に変更してこのゲームを起動してください。");
        EXPECT_EQ(prompts.seen[0].icon, PromptIcon::Exclamation);
        EXPECT_EQ(topLevelFrames(), 0);
    }
    prompts.seen.clear();
    EditorApp app;
    StartupOptions o = options();
    o.screenSize = QSize(800, 600);
    bool started = false;
    o.onStarted = [&started](MainFrame& f) {
        started = true;
        closeAtOnce(f);
    };
    EXPECT_EQ(app.run(o), 0);
    EXPECT_TRUE(started);
    EXPECT_TRUE(prompts.seen.empty());
}

TEST_F(Startup, RunsShowsTheFrameAndShutsDownInOrder) {
    ProfileEntry("Environment", "ShowToolWin").writeInt(1);
    ProfileEntry("Environment", "ShowHq").writeInt(2);  // only 1 reopens
    ProfileEntry("Environment", "ShowMinePaletteWin").writeInt(1);
    EditorApp app;
    std::string title;
    std::vector<std::string> reopened;
    bool visible = false;
    const int code = app.run(options([&](MainFrame& f) {
        title = f.handle()->windowTitle().toStdString();
        visible = f.handle()->isVisible();
        reopened = f.reopenedAtStart();
        EXPECT_EQ(theMainFrame(), &f);
        EXPECT_NE(theDocument(), nullptr);
        closeAtOnce(f);
    }));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(visible);
    EXPECT_EQ(title, "ケステルゾルテア マップエディタ [新規マップ] ");
    EXPECT_EQ(reopened, (std::vector<std::string>{"ShowMinePaletteWin", "ShowToolWin"}));
    EXPECT_EQ(theMainFrame(), nullptr);
    EXPECT_EQ(theDocument(), nullptr);
    EXPECT_EQ(topLevelFrames(), 0);
    // The document wrote its options when it was deleted.
    EXPECT_EQ(ProfileEntry("Environment", "SimpleMode").readInt(-5), 0);
    EXPECT_EQ(ProfileEntry("Environment", "ShowTimeQuickInfo").readInt(-5), 50);
    // The instance lock is released: a new start runs.
    EditorApp next;
    EXPECT_EQ(next.run(options()), 0);
}

TEST(QtTexts, StandardDialogsAndButtonsSpeakJapanese) {
    QTranslator* translator = installQtTranslations();
    ASSERT_NE(translator, nullptr) << "Qt's Japanese translations are not installed";
    const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
    const QString look = QCoreApplication::translate("QFileDialog", "Look in:");
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_EQ(cancel, "キャンセル");
    EXPECT_NE(look, "Look in:");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
}

TEST_F(Startup, ASecondInstanceRaisesTheFirstAndExits) {
    EditorApp first;
    int secondCode = -1;
    int framesDuringSecond = 0;
    const int code = first.run(options([&](MainFrame& f) {
        EditorApp second;
        bool secondStarted = false;
        secondCode = second.run(options([&secondStarted](MainFrame& g) {
            secondStarted = true;
            closeAtOnce(g);
        }));
        EXPECT_FALSE(secondStarted);
        framesDuringSecond = topLevelFrames();
        closeAtOnce(f);
    }));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(secondCode, 0);
    EXPECT_EQ(framesDuringSecond, 1);
    EXPECT_TRUE(prompts.seen.empty());
}

int g_exitCode = 1;
void recordExit(int code) {
    g_exitCode = code;
}

TEST_F(Startup, AllocationFailureRetriesOrEndsWithMinusOne) {
    setExitFunction(&recordExit);
    prompts.script = {PromptAnswer::Retry};
    g_exitCode = 1;
    allocationFailureHandler();
    EXPECT_EQ(g_exitCode, 1);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].caption, "");
    EXPECT_EQ(prompts.seen[0].text,
              "メモリが足りません。\nいくつかのアプリケーションを終了するか、\n"
              "このプログラムの実行をキャンセルしてください。");
    EXPECT_EQ(prompts.seen[0].buttons, PromptButtons::RetryCancel);
    prompts.script = {PromptAnswer::Cancel};
    allocationFailureHandler();
    EXPECT_EQ(g_exitCode, -1);
    setExitFunction([](int c) { std::_Exit(c); });
}

}  // namespace
}  // namespace kv
