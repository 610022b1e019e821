// File and folder selection through Qt's dialogs, or the test hook.
#include "framework/file_dialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QRegularExpression>
#include <QStringList>

#include "framework/window.h"

namespace kv {

namespace {
FileDialogHook g_hook;

QStringList patternsOf(const std::string& patterns) {
    static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
    return QString::fromStdString(patterns).split(separators, Qt::SkipEmptyParts);
}

// Shows each filter under its own caption. Qt would take the patterns out of the caption's
// last parentheses, split at blanks only, so a caption like "…(*.qus;*.qum)" would list
// nothing: the listing follows the request's patterns instead, whenever a filter is chosen.
void setFilters(QFileDialog& dialog, const FileDialogRequest& r, QStringList& captions) {
    std::vector<QStringList> patterns;
    for (const auto& [caption, pattern] : r.filters) {
        captions << QString::fromStdString(caption);
        patterns.push_back(patternsOf(pattern));
    }
    if (captions.isEmpty()) return;
    dialog.setNameFilters(captions);
    auto* model = dialog.findChild<QFileSystemModel*>();
    auto listUnder = [model, captions, patterns](const QString& caption) {
        const qsizetype index = captions.indexOf(caption);
        if (model && index >= 0) model->setNameFilters(patterns[static_cast<size_t>(index)]);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, listUnder);
    const int first = r.filterIndex >= 0 && r.filterIndex < captions.size() ? r.filterIndex : 0;
    dialog.selectNameFilter(captions[first]);
    listUnder(captions[first]);
}

}  // namespace

void setFileDialogHook(FileDialogHook hook) {
    g_hook = std::move(hook);
}

std::optional<std::string> askForFile(FileDialogRequest& r, Window* owner) {
    if (g_hook) return g_hook(r);
    QFileDialog dialog(owner ? owner->handle() : nullptr, QString::fromStdString(r.title),
                       QString::fromStdString(r.startFolder));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    QStringList captions;
    if (r.kind == FileDialogRequest::Folder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
    } else {
        dialog.setAcceptMode(r.kind == FileDialogRequest::Save ? QFileDialog::AcceptSave
                                                               : QFileDialog::AcceptOpen);
        dialog.setFileMode(r.kind == FileDialogRequest::Save ? QFileDialog::AnyFile
                                                             : QFileDialog::ExistingFile);
        if (!r.defaultSuffix.empty())
            dialog.setDefaultSuffix(QString::fromStdString(r.defaultSuffix));
        // The editor asks its own overwrite question.
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        setFilters(dialog, r, captions);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    r.filterIndex = static_cast<int>(captions.indexOf(dialog.selectedNameFilter()));
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace kv
