// The editor's command line: reading it, the request a second start sends, and opening the
// file it names at start or in the running editor.
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/editor_app.h"
#include "app/main_frame.h"
#include "document/map_document.h"
#include "framework/cp932.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/test_paths.h"

namespace kv {
namespace {

CommandLine parse(QStringList args) {
    args.prepend("kvornme");
    return parseCommandLine(args);
}

TEST(CommandLineTest, ReadsTheFileHelpVersionAndMistakes) {
    EXPECT_EQ(parse({}).action, CommandLine::Run);
    EXPECT_EQ(parse({}).file, "");
    const CommandLine relative = parse({"maps/a.kvn"});
    EXPECT_EQ(relative.action, CommandLine::Run);
    EXPECT_EQ(relative.file, QDir::currentPath().toStdString() + "/maps/a.kvn");
    // Qt's own window options belong to QApplication, not to the editor.
    const CommandLine withQt = parse({"-platform", "offscreen", "-style", "fusion", "/m/b.kvs"});
    EXPECT_EQ(withQt.action, CommandLine::Run);
    EXPECT_EQ(withQt.file, "/m/b.kvs");
    EXPECT_EQ(parse({"--", "-odd.kvn"}).file, QDir::currentPath().toStdString() + "/-odd.kvn");

    for (const char* v : {"--version", "-v"}) {
        EXPECT_EQ(parse({v}).action, CommandLine::Version);
        EXPECT_EQ(parse({v}).text, "kvornme 1.00a\n");
    }
    for (const char* h : {"--help", "-h"}) {
        const CommandLine help = parse({h, "/m/b.kvs"});
        EXPECT_EQ(help.action, CommandLine::Help);
        EXPECT_NE(help.text.find("Usage: "), std::string::npos) << help.text;
        EXPECT_NE(help.text.find("[options] [FILE]"), std::string::npos) << help.text;
        EXPECT_NE(help.text.find("--version"), std::string::npos) << help.text;
        EXPECT_EQ(help.text.find("-platform"), std::string::npos) << help.text;
    }
    const CommandLine two = parse({"/a.kvn", "/b.kvn"});
    EXPECT_EQ(two.action, CommandLine::Error);
    EXPECT_EQ(two.text.rfind("kvornme: ", 0), 0u) << two.text;
    const CommandLine unknown = parse({"--bogus"});
    EXPECT_EQ(unknown.action, CommandLine::Error);
    EXPECT_NE(unknown.text.find("bogus"), std::string::npos) << unknown.text;
    EXPECT_NE(unknown.text.find("kvornme --help"), std::string::npos) << unknown.text;
}

TEST(CommandLineTest, RequestsCarryAnyPathAndJunkIsIgnored) {
    const std::string paths[] = {"/maps/a b.kvn", "/maps/デモ%41+.kvs", "/x/line\nbreak\r.kvt",
                                 "/x/\xff\x81.kvn"};
    for (const std::string& path : paths) {
        const QByteArray request = instanceRequest(path);
        ASSERT_EQ(request.count('\n'), 1) << path;
        ASSERT_TRUE(request.endsWith('\n'));
        EXPECT_EQ(parseInstanceRequest(request.chopped(1)), path);
    }
    EXPECT_EQ(instanceRequest(""), "raise\n");
    EXPECT_EQ(parseInstanceRequest("raise"), std::string());
    for (const char* junk : {"", "hello", "raise ", "open ", "open relative.kvn", "open /a%00b",
                             "OPEN /a.kvn", "open"})
        EXPECT_EQ(parseInstanceRequest(junk), std::nullopt) << junk;
}

class OpenAtStart : public testing::Test {
protected:
    void SetUp() override {
        kvtest::copySampleData(dir.path());
        setProgramPath(dir.file("kvornme"));
    }
    void TearDown() override {
        Dialog::onModalStart = nullptr;
        setProgramPath("");
    }
    StartupOptions options(const std::string& file, std::function<void(MainFrame&)> onStarted) {
        StartupOptions o;
        o.runtimeDir = runtime.path();
        o.screenSize = QSize(1024, 768);
        o.openFile = file;
        o.onStarted = std::move(onStarted);
        return o;
    }
    struct Seen {
        std::string filePath, title, mapName;
        int isClean = -1;
    };
    // Starts the editor with `file` and reports what it showed once it ran.
    Seen startWith(const std::string& file) {
        Seen seen;
        EditorApp app;
        EXPECT_EQ(
            app.run(options(
                file,
                [&seen](MainFrame& f) {
                    QCoreApplication::sendPostedEvents();  // the title is rebuilt on a message
                    MapDocument& doc = *theDocument();
                    seen = {doc.filePath, f.handle()->windowTitle().toStdString(),
                            doc.mapHeader.mapName(), doc.isClean};
                    doc.isClean = 1;  // closes without the save question
                    postMessage(&f, msg::Close);
                })),
            0);
        return seen;
    }
    std::vector<std::string> captions() const {
        std::vector<std::string> c;
        for (const Prompt& p : prompts.seen) c.push_back(p.caption);
        return c;
    }

    kvtest::TempDir dir, runtime;
    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(OpenAtStart, OpensAMapImportsAnEarlierEditionAndSaysWhatIsWrongWithAnythingElse) {
    const std::string scenario = dir.file("map/demo_scenario.kvs");
    const Seen map = startWith(scenario);
    EXPECT_EQ(map.filePath, scenario);
    EXPECT_EQ(map.isClean, 1);
    EXPECT_TRUE(map.title.ends_with("]  - " + scenario)) << map.title;
    EXPECT_TRUE(prompts.seen.empty());

    // A map of an earlier edition goes the way of "open earlier edition": imported, no path.
    const Seen earlier = startWith(dir.file("map/legacy/earlier.qus"));
    EXPECT_EQ(earlier.filePath, "");
    EXPECT_EQ(earlier.isClean, 0);
    EXPECT_NE(earlier.mapName, *encodeCp932("新規マップ"));
    for (const std::string& c : captions()) EXPECT_NE(c, "エラー");

    // Anything else is told as Open tells it, and the editor goes on with a new map.
    kvtest::writeFile(dir.file("notes.kvn"), "not a map at all");
    for (const std::string& bad : {dir.file("notes.kvn"), dir.file("missing.kvn"), dir.path()}) {
        prompts.seen.clear();
        const Seen seen = startWith(bad);
        EXPECT_EQ(seen.filePath, "") << bad;
        EXPECT_EQ(seen.mapName, *encodeCp932("新規マップ")) << bad;
        ASSERT_EQ(prompts.seen.size(), 1u) << bad;
        const std::string told = prompts.seen[0].caption + "\n" + prompts.seen[0].text;
        EXPECT_NE(told.find(bad), std::string::npos) << told;
    }
}

TEST_F(OpenAtStart, ASecondStartHandsItsFileToTheFirstWhichAsksToSaveFirst) {
    const std::string map = dir.file("map/demo_map.kvn");
    const std::string scenario = dir.file("map/demo_scenario.kvs");
    std::vector<std::string> asked;
    int answer = kIdCancel;
    Dialog::onModalStart = [&](Dialog& d) {
        asked.push_back(d.handle()->windowTitle().toStdString());
        QTimer::singleShot(0, [&d, answer] {
            d.handle()->findChild<QPushButton*>(QString::number(answer))->click();
        });
    };
    const auto handOver = [this](const std::string& file) {
        EditorApp second;
        bool started = false;
        EXPECT_EQ(second.run(options(file, [&started](MainFrame&) { started = true; })), 0);
        EXPECT_FALSE(started);
    };
    EditorApp first;
    const int code = first.run(options("", [&](MainFrame& f) {
        MapDocument& doc = *theDocument();
        doc.isClean = 0;
        // Cancel keeps the map being edited.
        handOver(map);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !asked.empty(); }, 10000));
        EXPECT_EQ(doc.filePath, "");
        EXPECT_EQ(doc.isClean, 0);
        // "いいえ" lets the handed file in.
        answer = kIdNo;
        handOver(scenario);
        EXPECT_TRUE(QTest::qWaitFor([&] { return doc.filePath == scenario; }, 10000));
        EXPECT_EQ(asked, (std::vector<std::string>{"確認", "確認"}));
        EXPECT_EQ(doc.isClean, 1);
        // A clean map is replaced without a question.
        handOver(map);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return f.handle()->windowTitle().endsWith(QString::fromStdString(" - " + map)); },
            10000));
        EXPECT_EQ(doc.filePath, map);
        EXPECT_EQ(asked.size(), 2u);
        postMessage(&f, msg::Close);
    }));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(prompts.seen.empty());
}

}  // namespace
}  // namespace kv
