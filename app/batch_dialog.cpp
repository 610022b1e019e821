// The batch conversion dialog.
#include "app/batch_dialog.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>

#include <algorithm>
#include <filesystem>

#include "document/batch_conversion.h"
#include "framework/file_dialogs.h"
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
    setFixedClientSize(kWidth, kHeight);
}

int BatchDialog::onInitDialog() {
    // The labels take the whole row: the destination's caption is twelve full-width characters.
    addLabel("変換元フォルダー", 12, 8, 436, 20);
    source_ = addEdit(kIdSource, 12, 28, 360, 22);
    source_->setText(QString::fromStdString(readFolderKey(kBatchSourceKey)));
    addButton(kIdBrowseSource, "参照...", 380, 27, 68, 24);
    addLabel("変換マップ格納フォルダー", 12, 56, 436, 20);
    destination_ = addEdit(kIdDestination, 12, 76, 360, 22);
    destination_->setText(QString::fromStdString(readFolderKey(kBatchDestinationKey)));
    addButton(kIdBrowseDestination, "参照...", 380, 75, 68, 24);
    status_ = addList(kIdStatus, 12, kStatusTop, 436, kStatusHeight);
    status_->setSelectionMode(QAbstractItemView::NoSelection);
    status_->setFocusPolicy(Qt::NoFocus);
    progress_ = add<QProgressBar>(0, 12, kProgressTop, 436, 14);
    progress_->setTextVisible(false);
    progress_->setValue(0);
    addButton(kIdStart, "変換開始", 250, kButtonTop, 96, 24)->setDefault(true);
    addButton(kIdCancel, "閉じる", 352, kButtonTop, 96, 24);
    return 0;
}

void BatchDialog::addStatus(const std::string& text) {
    // One row per line, so that a closing text of several lines reads as several rows.
    for (const QString& line : QString::fromStdString(text).split(u'\n')) status_->addItem(line);
    status_->scrollToBottom();
}

void BatchDialog::browse(int editId, const char* browseTitle) {
    QLineEdit* e = editId == kIdSource ? source_ : destination_;
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
        case kIdBrowseSource: browse(kIdSource, kBatchSourceBrowseTitle); return 1;
        case kIdBrowseDestination: browse(kIdDestination, kBatchDestinationBrowseTitle); return 1;
        case kIdStart: start(); return 1;
        default: return Dialog::onCommand(m, id, code);
    }
}

}  // namespace kv
