// The batch conversion dialog.
#include "app/batch_dialog.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <filesystem>

#include "document/batch_conversion.h"
#include "framework/file_dialogs.h"
#include "framework/font.h"
#include "framework/profile.h"

namespace kv {

namespace {

// Rows of the dialog, from the top.
constexpr int kWidth = 460;
constexpr int kStatusTop = 108, kStatusHeight = 132;
constexpr int kProgressTop = kStatusTop + kStatusHeight + 6;
constexpr int kButtonTop = kProgressTop + 24;
constexpr int kHeight = kButtonTop + 36;

}  // namespace

BatchDialog::BatchDialog(Window* ownerWindow, MapDocument& doc)
    : Dialog(kTemplateId, ownerWindow), doc_(doc) {
    title = kBatchDialogTitle;
    width = kWidth;
    height = kHeight;
}

int BatchDialog::onInitDialog() {
    QWidget* d = handle();
    d->setFixedSize(width, height);
    const QFont font = createFont(12, 400);
    // The labels take the whole row: the destination's caption is twelve full-width characters.
    auto label = [this](const char* text, int y) { addLabel(text, 12, y, 436, 20); };
    auto edit = [&](int id, const char* key, int y) {
        auto* e = new QLineEdit(QString::fromStdString(readFolderKey(key)), d);
        e->setObjectName(QString::number(id));
        e->setFont(font);
        e->setGeometry(12, y, 360, 22);
        return e;
    };
    label("変換元フォルダー", 8);
    source_ = edit(1002, kBatchSourceKey, 28);
    addButton(1003, "参照...", 380, 27, 68, 24);
    label("変換マップ格納フォルダー", 56);
    destination_ = edit(1004, kBatchDestinationKey, 76);
    addButton(1005, "参照...", 380, 75, 68, 24);
    status_ = new QListWidget(d);
    status_->setObjectName("1007");
    status_->setFont(font);
    status_->setGeometry(12, kStatusTop, 436, kStatusHeight);
    status_->setSelectionMode(QAbstractItemView::NoSelection);
    status_->setFocusPolicy(Qt::NoFocus);
    progress_ = new QProgressBar(d);
    progress_->setGeometry(12, kProgressTop, 436, 14);
    progress_->setTextVisible(false);
    progress_->setValue(0);
    addButton(1006, "変換開始", 250, kButtonTop, 96, 24)->setDefault(true);
    addButton(2, "閉じる", 352, kButtonTop, 96, 24);
    return 0;
}

void BatchDialog::addStatus(const std::string& text) {
    // One row per line, so that a closing text of several lines reads as several rows.
    for (const QString& line : QString::fromStdString(text).split(u'\n')) status_->addItem(line);
    status_->scrollToBottom();
}

void BatchDialog::browse(int editId, const char* browseTitle) {
    QLineEdit* e = editId == 1002 ? source_ : destination_;
    FileDialogRequest r;
    r.kind = FileDialogRequest::Folder;
    r.title = browseTitle;
    r.startFolder = e->text().toStdString();
    if (const std::optional<std::string> folder = askForFile(r, this))
        e->setText(QString::fromStdString(*folder));
}

void BatchDialog::start() {
    const std::string from = source_->text().trimmed().toStdString();
    const std::string to = destination_->text().trimmed().toStdString();
    writeFolderKey(kBatchSourceKey, from);
    writeFolderKey(kBatchDestinationKey, to);
    status_->clear();
    progress_->setValue(0);
    const CursorShape previous = beginBusy();
    const BatchResult result = convertFolder(doc_, from, to, [this](const BatchEvent& e) {
        if (e.kind == BatchEvent::Failed) {
            // The reason alone would not say which map it was.
            std::string reason = e.status;
            std::replace(reason.begin(), reason.end(), '\n', ' ');
            addStatus(std::filesystem::path(e.source).filename().string() + ": " + reason);
        } else {
            addStatus(e.status);
        }
        progress_->setMaximum(std::max(1, e.total));
        progress_->setValue(e.done);
        // A long batch keeps the window painted.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    endBusy(previous);
    converted = result.converted;
    if (result.refusal.empty()) {
        started = true;
    } else {
        addStatus(result.refusal);
    }
}

int BatchDialog::onCommand(MessageRecord& m, int id, int code) {
    switch (id) {
    case 1003: browse(1002, kBatchSourceBrowseTitle); return 1;
    case 1005: browse(1004, kBatchDestinationBrowseTitle); return 1;
    case 1006: start(); return 1;
    default: return Dialog::onCommand(m, id, code);
    }
}

}  // namespace kv
