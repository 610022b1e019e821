// Qt's file dialog as the editor shows it: each filter under its own caption, listing the
// files of that filter's patterns.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTimer>

#include <gtest/gtest.h>

#include "framework/file_dialogs.h"
#include "support/test_paths.h"

namespace kv {
namespace {

TEST(FileDialogs, CaptionsShowAsGivenAndTheirPatternsPickTheFiles) {
    kvtest::TempDir dir;
    FileDialogRequest r;
    r.kind = FileDialogRequest::Open;
    r.title = "ケステルｼﾘｰｽﾞﾏｯﾌﾟを開く";
    r.startFolder = dir.path();
    r.filters = {{"リアルタイム版ケステルドラヴィ1.0(*.wtm)", "*.wtm"},
                 {"ケステルドラヴィ2.0(*.qus;*.qum)", "*.qus;*.qum"}};
    r.filterIndex = 1;
    QStringList shown;
    std::vector<QStringList> listed;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        auto* combo = d->findChild<QComboBox*>("fileTypeCombo");
        auto* model = d->findChild<QFileSystemModel*>();
        ASSERT_NE(combo, nullptr);
        ASSERT_NE(model, nullptr);
        for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
        listed.push_back(model->nameFilters());
        // The user picks the other filter.
        combo->setCurrentIndex(0);
        emit combo->activated(0);
        emit combo->textActivated(combo->itemText(0));
        listed.push_back(model->nameFilters());
        d->reject();
    });
    EXPECT_EQ(askForFile(r, nullptr), std::nullopt);
    EXPECT_EQ(shown, QStringList({"リアルタイム版ケステルドラヴィ1.0(*.wtm)",
                                  "ケステルドラヴィ2.0(*.qus;*.qum)"}));
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0], QStringList({"*.qus", "*.qum"}));
    EXPECT_EQ(listed[1], QStringList({"*.wtm"}));
}

}  // namespace
}  // namespace kv
