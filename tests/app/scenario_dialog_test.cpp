// The scenario text dialog on the demo scenario: layout and filling, the byte limits and their
// messages, apply as one edit, Cancel after a preview, and the picture buttons.
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "app/briefing_preview.h"
#include "app/scenario_dialog.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/cp932.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using D = ScenarioTextDialog;
using F = ScenarioTexts;

class ScenarioDialogTest : public testing::Test {
protected:
    void SetUp() override {
        kvtest::copySampleData(dir.path());
        setProgramPath(dir.file("kvornme"));
        doc = std::make_unique<MapDocument>();
        doc->loadResources();
        ASSERT_TRUE(loadMapFile(*doc, dir.file("map/demo_scenario.kvs")));
        doc->isClean = 1;
    }
    void TearDown() override {
        setFileDialogHook(nullptr);
        Dialog::onModalStart = nullptr;
        doc.reset();
        setProgramPath("");
    }
    // Runs the dialog, doing `act` once it is up (previews it opens are closed at once, after
    // `onPreview` saw them).
    template <class Act>
    int run(Act act, std::function<void(Dialog&)> onPreview = {}) {
        D dialog(nullptr, *doc);
        Dialog::onModalStart = [&](Dialog& d) {
            if (&d == &dialog) {
                QTimer::singleShot(0, [&] { act(dialog); });
            } else {
                QTimer::singleShot(0, [&d, onPreview] {
                    if (onPreview) onPreview(d);
                    d.end();
                });
            }
        };
        dialog.run();
        Dialog::onModalStart = nullptr;
        return dialog.result;
    }
    static void click(D& d, int id) { d.control<QPushButton>(id)->click(); }
    static void setText(D& d, int id, const QString& text) {
        if (auto* e = d.control<QLineEdit>(id)) e->setText(text);
        if (auto* e = d.control<QPlainTextEdit>(id)) e->setPlainText(text);
    }

    kvtest::TempDir dir;
    std::unique_ptr<MapDocument> doc;
    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(ScenarioDialogTest, ControlsSitAtTheirPlacesFilledFromTheDocument) {
    doc->scenarioTexts.setBriefingMode(2);
    doc->scenarioTexts.setOrderMode(0);
    // Set by the program, a 60-byte operation name is not cut to the edit's 40.
    doc->scenarioTexts.setField(F::OperationName, std::string(60, 'n'));
    run([&](D& d) {
        EXPECT_EQ(d.handle()->windowTitle(), "シナリオ設定");
        EXPECT_EQ(d.handle()->size(), QSize(590, 654));
        struct Place {
            int id;
            const char* caption;
            QRect rect;
        };
        const Place places[] = {
            {1002, "ブリーフィング", {8, 6, 354, 178}},
            {1027, "ブリーフィングを表示する", {12, 23, 168, 16}},
            {1029, "スクロール", {252, 23, 84, 16}},
            {1003, "見出し：", {12, 45, 60, 14}},
            {1004, nullptr, {76, 40, 168, 24}},
            {1008, nullptr, {76, 96, 280, 80}},
            {1009, "作戦指令書", {8, 187, 574, 134}},
            {1031, "ページ", {180, 204, 72, 16}},
            {1013, nullptr, {76, 248, 500, 66}},
            {1017, "参戦陣営：", {12, 398, 60, 14}},
            {1018, nullptr, {76, 393, 500, 52}},
            {1026, "エンディングを表示する", {12, 472, 156, 16}},
            {1025, nullptr, {64, 516, 290, 80}},
            {1033, "ブリーフィング", {142, 622, 104, 24}},
            {1034, "エンディング", {254, 622, 104, 24}},
            {1000, "OK", {366, 622, 104, 24}},
            {1001, "キャンセル", {478, 622, 104, 24}},
        };
        for (const Place& p : places) {
            QWidget* w = d.control<QWidget>(p.id);
            ASSERT_NE(w, nullptr) << p.id;
            EXPECT_EQ(w->geometry(), p.rect) << p.id;
            QString caption;
            if (auto* b = qobject_cast<QAbstractButton*>(w)) caption = b->text();
            if (auto* l = qobject_cast<QLabel*>(w)) caption = l->text();
            if (auto* g = qobject_cast<QGroupBox*>(w)) caption = g->title();
            if (p.caption) {
                EXPECT_EQ(caption, QString::fromUtf8(p.caption)) << p.id;
            }
        }
        EXPECT_EQ(d.control<QWidget>(D::kIdBriefingPicture)->pos(), QPoint(364, 18));
        EXPECT_EQ(d.control<QWidget>(D::kIdEndingPicture)->pos(), QPoint(364, 454));
        // Modes: briefing scrolling, no order, ending shown; the groups follow their checks.
        EXPECT_TRUE(d.control<QCheckBox>(D::kIdShowBriefing)->isChecked());
        EXPECT_TRUE(d.control<QRadioButton>(D::kIdBriefingScroll)->isChecked());
        EXPECT_FALSE(d.control<QCheckBox>(D::kIdShowOrder)->isChecked());
        EXPECT_TRUE(d.control<QRadioButton>(D::kIdOrderPages)->isChecked());
        EXPECT_FALSE(d.control<QWidget>(D::kIdOrderBody)->isEnabled());
        EXPECT_TRUE(d.control<QWidget>(D::kIdEndingBody)->isEnabled());
        d.control<QCheckBox>(D::kIdShowEnding)->click();
        EXPECT_FALSE(d.control<QWidget>(D::kIdEndingBody)->isEnabled());
        EXPECT_FALSE(d.control<QWidget>(D::kIdEndingPicture)->isEnabled());
        // The texts, line ends as line breaks.
        const QString body = d.control<QPlainTextEdit>(D::kIdBriefingBody)->toPlainText();
        EXPECT_EQ(body.toStdString(),
                  decodeCp932(doc->scenarioTexts.field(F::BriefingBody)).value());
        EXPECT_GT(body.count('\n'), 3);
        EXPECT_EQ(d.control<QLineEdit>(D::kIdOperationName)->text().size(), 60);
        // Typing is held to the edit limit in bytes: 22 for the headline (11 full-width).
        auto* headline = d.control<QLineEdit>(D::kIdHeadline);
        headline->clear();
        headline->setFocus();
        // One character at a time, as the input method commits them.
        for (QChar c : QString::fromUtf8("あいうえおかきくけこさしすせそ")) {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QCoreApplication::sendEvent(headline, &commit);
        }
        EXPECT_EQ(headline->text(), QString::fromUtf8("あいうえおかきくけこさ"));
        click(d, D::kIdCancelButton);
    });
}

TEST_F(ScenarioDialogTest, TooLongAndUnencodableTextsStopTheApplyWithAMessageEach) {
    // 4800 bytes as stored, but in the edit every line end counts two; the ending headline
    // read from a file may be longer than the edit takes.
    std::string stored;
    for (int i = 0; i < 10; ++i) stored += std::string(479, 'x') + "\n";
    doc->scenarioTexts.setField(F::BriefingBody, stored);
    doc->scenarioTexts.setField(F::EndingHeadline, std::string(61, 'e'));
    const ScenarioTexts before = doc->scenarioTexts;
    const int result = run([&](D& d) {
        QString body = d.control<QPlainTextEdit>(D::kIdBriefingBody)->toPlainText();
        ASSERT_EQ(body.size(), 4800);
        setText(d, D::kIdOperationName, QString::fromUtf8("作戦😀"));
        click(d, D::kIdOkButton);
        EXPECT_TRUE(d.handle()->isVisible());
        ASSERT_EQ(prompts.seen.size(), 3u);
        EXPECT_EQ(prompts.seen[0].caption, "警告");
        EXPECT_EQ(prompts.seen[0].text,
                  "ブリーフィング 本文文字数が長すぎます。(最大4800byte、入力4810byte)");
        EXPECT_NE(prompts.seen[1].text.find("作戦指令書 作戦名"), std::string::npos);
        EXPECT_NE(prompts.seen[1].text.find("😀"), std::string::npos);
        EXPECT_EQ(prompts.seen[2].text,
                  "エンディング 見出し文字数が長すぎます。(最大60byte、入力61byte)");
        EXPECT_EQ(doc->scenarioTexts.bytes, before.bytes);
        EXPECT_EQ(doc->isClean, 1);
        // Fixed, OK stores everything as one edit.
        body.chop(1);
        setText(d, D::kIdBriefingBody, body.left(4790));
        setText(d, D::kIdOperationName, QString::fromUtf8("作戦"));
        setText(d, D::kIdEndingHeadline, QString(60, 'e'));
        d.control<QRadioButton>(D::kIdOrderScroll)->click();
        click(d, D::kIdOkButton);
    });
    EXPECT_EQ(result, kIdOk);
    EXPECT_EQ(prompts.seen.size(), 3u);
    EXPECT_EQ(doc->isClean, 0);
    EXPECT_FALSE(doc->history.canUndo());
    const std::string body = doc->scenarioTexts.field(F::BriefingBody);
    EXPECT_EQ(body.size(), 4790u);
    EXPECT_EQ(std::count(body.begin(), body.end(), '\n'), 9);
    EXPECT_EQ(body.find('\r'), std::string::npos);
    EXPECT_EQ(doc->scenarioTexts.field(F::OperationName), encodeCp932("作戦").value());
    EXPECT_EQ(doc->scenarioTexts.field(F::EndingHeadline), std::string(60, 'e'));
    EXPECT_EQ(doc->scenarioTexts.orderMode(), 2);
    EXPECT_EQ(doc->scenarioTexts.briefingPicture, before.briefingPicture);
}

TEST_F(ScenarioDialogTest, CancelAfterAPreviewRestoresEveryTextAndDisplayByte) {
    const ScenarioTexts before = doc->scenarioTexts;
    int previews = 0;
    int shownSection = -1;
    std::string previewBody;
    const int result = run(
        [&](D& d) {
            setText(d, D::kIdBriefingBody, "changed");
            setText(d, D::kIdVictoryText, "v");
            d.control<QCheckBox>(D::kIdShowBriefing)->click();  // off
            d.control<QCheckBox>(D::kIdShowEnding)->click();    // off
            click(d, D::kIdBriefingPreview);
            click(d, D::kIdEndingPreview);
            // The previews saw the applied texts.
            previewBody = doc->scenarioTexts.field(F::BriefingBody);
            EXPECT_EQ(doc->scenarioTexts.briefingMode(), 0);
            EXPECT_EQ(doc->scenarioTexts.endingShown(), 0);
            click(d, D::kIdCancelButton);
        },
        [&](Dialog& preview) {
            ++previews;
            if (auto* b = dynamic_cast<BriefingPreview*>(&preview)) shownSection = b->section();
        });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(previews, 2);
    EXPECT_EQ(shownSection, BriefingPreview::kOrder);  // the briefing is off now
    EXPECT_EQ(previewBody, "changed");
    EXPECT_EQ(doc->scenarioTexts.bytes, before.bytes);
    EXPECT_EQ(doc->isClean, 1);
}

TEST_F(ScenarioDialogTest, PictureButtonsChooseAFileFromTheRememberedFolder) {
    const std::string pictures = dir.file("pictures");
    std::filesystem::create_directories(pictures);
    const std::string path = pictures + "/front.bmp";
    std::filesystem::copy_file(dir.file("bmp/news2.bmp"), path);
    writeFolderKey("BriefingBmpPath", dir.file("bmp"));
    std::vector<FileDialogRequest> asked;
    setFileDialogHook([&](FileDialogRequest& r) -> std::optional<std::string> {
        asked.push_back(r);
        return asked.size() == 1 ? std::optional<std::string>(path) : std::nullopt;
    });
    const std::vector<uint8_t> ending = doc->scenarioTexts.endingPicture;
    const int result = run([&](D& d) {
        click(d, D::kIdBriefingPicture);
        EXPECT_EQ(d.briefingPicturePath(), path);
        d.control<QCheckBox>(D::kIdShowEnding)->setChecked(true);
        click(d, D::kIdEndingPicture);  // cancelled: nothing chosen
        EXPECT_TRUE(d.endingPicturePath().empty());
        // A preview does not take the picture into the document.
        click(d, D::kIdBriefingPreview);
        EXPECT_NE(doc->scenarioTexts.briefingPicture.size(), std::filesystem::file_size(path));
        click(d, D::kIdOkButton);
    });
    EXPECT_EQ(result, kIdOk);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].title, "ﾌﾞﾘｰﾌｨﾝｸﾞ画面ﾋﾞｯﾄﾏｯﾌﾟの設定");
    EXPECT_EQ(asked[1].title, "ｴﾝﾃﾞｨﾝｸﾞ画面ﾋﾞｯﾄﾏｯﾌﾟの設定");
    EXPECT_EQ(asked[0].startFolder, dir.file("bmp"));
    ASSERT_EQ(asked[0].filters.size(), 1u);
    EXPECT_EQ(asked[0].filters[0].first, "ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ(*.bmp)");
    EXPECT_EQ(asked[0].filters[0].second, "*.bmp");
    EXPECT_EQ(readFolderKey("BriefingBmpPath"), pictures);
    const std::string bytes = kvtest::readFile(path);
    EXPECT_EQ(doc->scenarioTexts.briefingPicture, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_EQ(doc->scenarioTexts.endingPicture, ending);
}

}  // namespace
}  // namespace kv
