// File and folder selection through Qt's dialogs, or the test hook.
#include "framework/file_dialogs.h"

#include <QFileDialog>
#include <QStringList>

#include "framework/window.h"

namespace kv {

namespace {
FileDialogHook g_hook;
}

void setFileDialogHook(FileDialogHook hook) { g_hook = std::move(hook); }

std::optional<std::string> askForFile(FileDialogRequest& r, Window* owner) {
    if (g_hook) return g_hook(r);
    QFileDialog dialog(owner ? owner->handle() : nullptr, QString::fromStdString(r.title),
                       QString::fromStdString(r.startFolder));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    QStringList filters;
    for (const auto& [label, patterns] : r.filters)
        filters << QString::fromStdString(label + " (" + patterns + ")");
    if (r.kind == FileDialogRequest::Folder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
    } else {
        dialog.setNameFilters(filters);
        if (r.filterIndex >= 0 && r.filterIndex < filters.size())
            dialog.selectNameFilter(filters[r.filterIndex]);
        dialog.setAcceptMode(r.kind == FileDialogRequest::Save ? QFileDialog::AcceptSave
                                                               : QFileDialog::AcceptOpen);
        dialog.setFileMode(r.kind == FileDialogRequest::Save ? QFileDialog::AnyFile
                                                             : QFileDialog::ExistingFile);
        if (!r.defaultSuffix.empty()) dialog.setDefaultSuffix(QString::fromStdString(r.defaultSuffix));
        // The editor asks its own overwrite question.
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    r.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace kv
