// The save question, map check result, map size, colour exchange, batch and map selection
// dialogs.
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>

#include <gtest/gtest.h>

#include "app/batch_dialog.h"
#include "app/map_open_dialog.h"
#include "app/whole_map_dialogs.h"
#include "document/batch_conversion.h"
#include "document/faction_record.h"
#include "document/map_document.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/test_paths.h"

namespace kv {
namespace {

// Runs `dialog`, doing `act` once it is up; the dialog's result comes back.
template <class D, class F>
int runWith(D& dialog, F act) {
    Dialog::onModalStart = [&act](Dialog& d) {
        QTimer::singleShot(0, [&d, &act] { act(static_cast<D&>(d)); });
    };
    dialog.run();
    Dialog::onModalStart = nullptr;
    return dialog.result;
}

void click(Dialog& d, int id) {
    d.handle()->findChild<QPushButton*>(QString::number(id))->click();
}

TEST(ConfirmSaveDialogTest, EachButtonEndsItWithItsId) {
    for (int id : {6, 7, 2}) {
        ConfirmSaveDialog d(nullptr);
        bool closeGreyed = false;
        EXPECT_EQ(runWith(d,
                          [&](ConfirmSaveDialog& dlg) {
                              closeGreyed =
                                  !(dlg.handle()->windowFlags() & Qt::WindowCloseButtonHint);
                              EXPECT_EQ(dlg.handle()->windowTitle(), "確認");
                              click(dlg, id);
                          }),
                  id);
        EXPECT_TRUE(closeGreyed);
    }
}

TEST(MapCheckDialogTest, LinesJoinedByCrLfOrTheCleanText) {
    EXPECT_EQ(MapCheckDialog::textOf({}), "エラーは発見されませんでした。");
    EXPECT_EQ(MapCheckDialog::textOf({"a", "b\r\nc"}), "a\r\nb\r\nc");
    MapCheckDialog d(nullptr, {"首都がありません", "二行目"});
    QString shown;
    runWith(d, [&](MapCheckDialog& dlg) {
        shown = dlg.handle()->findChild<QPlainTextEdit*>()->toPlainText();
        click(dlg, 1);
    });
    EXPECT_EQ(shown, "首都がありません\n二行目");
}

TEST(MapSizeDialogTest, RangeAndShrinkQuestionsKeepTheDialogOpen) {
    RecordingPrompter prompts;
    ScopedPrompter installed(&prompts);
    int applied = 0, w = 0, h = 0, anchor = -1;
    MapSizeDialog d(nullptr, 64, 64, [&](int nw, int nh, int a) {
        ++applied;
        w = nw;
        h = nh;
        anchor = a;
    });
    prompts.script = {PromptAnswer::Ok, PromptAnswer::No, PromptAnswer::Yes};
    const int result = runWith(d, [&](MapSizeDialog& dlg) {
        auto box = [&](int id) { return dlg.handle()->findChild<QComboBox*>(QString::number(id)); };
        box(1000)->setCurrentText("300");
        click(dlg, 1);  // out of range: stays open
        EXPECT_TRUE(dlg.handle()->isVisible());
        box(1000)->setCurrentText("48");
        click(dlg, 1018);  // bottom right
        click(dlg, 1);     // smaller: asks; No keeps it open
        EXPECT_TRUE(dlg.handle()->isVisible());
        click(dlg, 1);  // Yes
    });
    ASSERT_EQ(prompts.seen.size(), 3u);
    EXPECT_EQ(prompts.seen[0].text, "マップの横幅が範囲外です。(1～256)");
    EXPECT_EQ(prompts.seen[0].caption, "注意");
    EXPECT_EQ(prompts.seen[1].caption, "確認");
    EXPECT_EQ(
        prompts.seen[1].text,
        "マップサイズが小さくなるため、一部地形が削除されます。\nサイズを変更してよろしいですか？");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(w, 48);
    EXPECT_EQ(h, 64);
    EXPECT_EQ(anchor, 8);
}

TEST(FactionExchangeDialogTest, EachListLeavesOutTheOthersChoice) {
    FactionExchangeDialog d(nullptr);
    QStringList firstItems, secondItems;
    EXPECT_EQ(runWith(d,
                      [&](FactionExchangeDialog& dlg) {
                          auto* a = dlg.handle()->findChild<QComboBox*>("1000");
                          auto* b = dlg.handle()->findChild<QComboBox*>("1001");
                          b->setCurrentIndex(b->findData(4));
                          for (int i = 0; i < a->count(); ++i) firstItems << a->itemText(i);
                          for (int i = 0; i < b->count(); ++i) secondItems << b->itemText(i);
                          click(dlg, 1);
                      }),
              1);
    EXPECT_EQ(firstItems.size(), 5);
    EXPECT_EQ(secondItems.size(), 5);
    const QString slot0 = QString::fromUtf8(std::string(factionColourName(0)).c_str());
    const QString slot4 = QString::fromUtf8(std::string(factionColourName(4)).c_str());
    EXPECT_FALSE(firstItems.contains(slot4));
    EXPECT_TRUE(firstItems.contains(slot0));
    EXPECT_FALSE(secondItems.contains(slot0));
    EXPECT_TRUE(secondItems.contains(slot4));
    EXPECT_EQ(d.first, 0);
    EXPECT_EQ(d.second, 4);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// The rows of the batch dialog's status list.
QStringList statusRows(BatchDialog& d) {
    QStringList rows;
    auto* list = d.handle()->findChild<QListWidget*>("1007");
    for (int i = 0; list && i < list->count(); ++i) rows << list->item(i)->text();
    return rows;
}

TEST(BatchDialogTest, ListsEveryMapAndEachFailureWithItsFileAndReason) {
    kvtest::TempDir dir, out;
    kvtest::copySampleData(dir.path());
    setProgramPath(dir.file("kvornme"));
    {
        MapDocument doc;
        doc.loadResources();
        doc.resetToNewMap();
        BatchDialog d(nullptr, doc);
        setFileDialogHook([&](FileDialogRequest& r) {
            return std::optional<std::string>(
                r.title == kBatchSourceBrowseTitle ? dir.file("map/legacy") : out.path());
        });
        QStringList rows;
        runWith(d, [&](BatchDialog& dlg) {
            click(dlg, 1003);
            click(dlg, 1005);
            click(dlg, 1006);
            rows = statusRows(dlg);
            click(dlg, 2);
        });
        setFileDialogHook(nullptr);
        EXPECT_TRUE(d.started);
        EXPECT_EQ(d.converted, 4);
        ASSERT_EQ(rows.size(), 6);
        EXPECT_TRUE(rows[0].startsWith("マップ名 ["));
        EXPECT_EQ(rows.mid(4), QStringList({"変換を完了しました。", "マップ数 4 枚"}));
        EXPECT_EQ(readFolderKey(kBatchSourceKey), dir.file("map/legacy"));
        EXPECT_EQ(readFolderKey(kBatchDestinationKey), out.path());

        // Maps that cannot be written (a folder holds one name) are listed by file with the
        // reason, and counted at the end.
        const std::vector<std::string> sources = filesOfFolder(dir.file("map/legacy"));
        ASSERT_EQ(sources.size(), 4u);
        kvtest::TempDir blocked;
        for (const auto& e : std::filesystem::directory_iterator(out.path()))
            std::filesystem::create_directories(blocked.file(e.path().filename().string()) +
                                                "/inside");
        BatchDialog again(nullptr, doc);
        runWith(again, [&](BatchDialog& dlg) {
            dlg.handle()->findChild<QLineEdit*>("1002")->setText(
                QString::fromStdString(dir.file("map/legacy")));
            dlg.handle()->findChild<QLineEdit*>("1004")->setText(
                QString::fromStdString(blocked.path()));
            click(dlg, 1006);
            rows = statusRows(dlg);
            click(dlg, 2);
        });
        EXPECT_EQ(again.converted, 0);
        ASSERT_EQ(rows.size(), 7);
        for (int i = 0; i < 4; ++i) {
            const QString name =
                QString::fromStdString(std::filesystem::path(sources[i]).filename().string());
            EXPECT_TRUE(rows[i].startsWith(name + ": ")) << rows[i].toStdString();
            EXPECT_GT(rows[i].size(), name.size() + 2);  // a reason follows
        }
        EXPECT_EQ(rows.mid(4), QStringList({"変換を完了しました。", "マップ数 0 枚",
                                            "変換できなかったマップ 4 枚"}));
    }
    setProgramPath("");
}

// Every static text of a dialog shows whole: no line is wider than its label.
void expectNoLabelCut(Dialog& d) {
    for (QLabel* l : d.handle()->findChildren<QLabel*>()) {
        if (l->wordWrap() || l->text().isEmpty()) continue;
        for (const QString& line : l->text().split(u'\n'))
            EXPECT_LE(l->fontMetrics().horizontalAdvance(line), l->width())
                << d.handle()->windowTitle().toStdString() << ": " << line.toStdString();
    }
}

TEST(DialogLooks, TextsShowWholeAndTheAnchorsShowTheirDirections) {
    MapDocument doc;
    BatchDialog batch(nullptr, doc);
    runWith(batch, [](BatchDialog& dlg) {
        expectNoLabelCut(dlg);
        click(dlg, 2);
    });
    ConfirmSaveDialog confirm(nullptr);
    runWith(confirm, [](ConfirmSaveDialog& dlg) {
        expectNoLabelCut(dlg);
        click(dlg, 2);
    });
    MapSizeDialog size(nullptr, 64, 64, {});
    std::vector<QImage> pictures;
    runWith(size, [&](MapSizeDialog& dlg) {
        expectNoLabelCut(dlg);
        for (int a = 0; a < 9; ++a) {
            auto* b = dlg.handle()->findChild<QPushButton*>(QString::number(1010 + a));
            pictures.push_back(b->icon().pixmap(b->iconSize()).toImage());
        }
        click(dlg, 2);
    });
    // Nine different pictures, none of them blank.
    ASSERT_EQ(pictures.size(), 9u);
    for (size_t i = 0; i < 9; ++i) {
        ASSERT_FALSE(pictures[i].isNull()) << i;
        bool drawn = false;
        for (int y = 0; y < pictures[i].height() && !drawn; ++y)
            for (int x = 0; x < pictures[i].width() && !drawn; ++x)
                drawn = qAlpha(pictures[i].pixel(x, y)) > 0;
        EXPECT_TRUE(drawn) << i;
        for (size_t k = 0; k < i; ++k) EXPECT_NE(pictures[i], pictures[k]) << i << " " << k;
    }
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

TEST(MapOpenDialogTest, ListsTheMapFilesUnderTheirKinds) {
    kvtest::TempDir dir;
    for (const char* f : {"b.kvn", "a.kvn", "s.KVS", "x.ksm", "y.kst", "t.kvt", "notes.txt"})
        kvtest::writeFile(dir.file(f), "x");
    std::filesystem::create_directories(dir.file("sub.kvn"));  // a folder is no map
    const auto kinds = MapOpenDialog::listFolder(dir.path());
    ASSERT_EQ(kinds.size(), 4u);
    EXPECT_EQ(kinds[0], (std::vector<std::string>{"a.kvn", "b.kvn"}));
    EXPECT_EQ(kinds[1], (std::vector<std::string>{"s.KVS"}));
    EXPECT_EQ(kinds[2], (std::vector<std::string>{"x.ksm", "y.kst"}));
    EXPECT_EQ(kinds[3], (std::vector<std::string>{"t.kvt"}));
    EXPECT_EQ(MapOpenDialog::kindOfFile("a.kvn.bak"), -1);
    EXPECT_TRUE(MapOpenDialog::listFolder(dir.file("missing"))[0].empty());

    // OK on a kind heading opens nothing; on a file it chooses the file.
    MapOpenDialog d(nullptr, dir.path());
    EXPECT_EQ(runWith(d,
                      [](MapOpenDialog& dlg) {
                          auto* tree = dlg.handle()->findChild<QTreeWidget*>("1002");
                          tree->setCurrentItem(tree->topLevelItem(3));
                          click(dlg, 1);
                          EXPECT_TRUE(dlg.handle()->isVisible());
                          tree->setCurrentItem(tree->topLevelItem(3)->child(0));
                          click(dlg, 1);
                      }),
              1);
    EXPECT_EQ(d.chosenPath, dir.file("t.kvt"));
}

}  // namespace
}  // namespace kv
