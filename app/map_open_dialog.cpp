// The map selection dialog.
#include "app/map_open_dialog.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>

#include "app/map_file_filters.h"
#include "framework/file_dialogs.h"

namespace kv {

namespace {
const char* const kKindNames[4] = {"ノーマル", "シナリオ", "シンプル", "中間データ"};
}

MapOpenDialog::MapOpenDialog(Window* ownerWindow, std::string startFolder)
    : Dialog(kTemplateId, ownerWindow), folder(std::move(startFolder)) {
    title = "マップを開く";
    width = 420;
    height = 360;
}

int MapOpenDialog::kindOfFile(const std::string& name) {
    std::string ext = std::filesystem::path(name).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".kvn") return 0;
    if (ext == ".kvs") return 1;
    if (ext == ".ksm" || ext == ".kst") return 2;
    if (ext == ".kvt") return 3;
    return -1;
}

std::vector<std::vector<std::string>> MapOpenDialog::listFolder(const std::string& dir) {
    std::vector<std::vector<std::string>> kinds(4);
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
        if (!e.is_regular_file(ec)) continue;
        const std::string name = e.path().filename().string();
        const int kind = kindOfFile(name);
        if (kind >= 0) kinds[kind].push_back(name);
    }
    for (auto& list : kinds) std::sort(list.begin(), list.end());
    return kinds;
}

int MapOpenDialog::onInitDialog() {
    QWidget* d = handle();
    folderEdit_ = addEdit(kIdFolder, 10, 10, width - 100, 22);
    folderEdit_->setText(QString::fromStdString(folder));
    QObject::connect(folderEdit_, &QLineEdit::editingFinished, d, [this] {
        folder = folderEdit_->text().toStdString();
        refill();
    });
    addButton(kIdBrowse, "参照...", width - 84, 9, 74, 24);
    tree_ = add<QTreeWidget>(kIdTree, 10, 40, width - 20, height - 84);
    tree_->setHeaderHidden(true);
    QObject::connect(tree_, &QTreeWidget::itemDoubleClicked, d, [this](QTreeWidgetItem* item) {
        if (item && item->parent()) sendCommand(kIdOk);
    });
    addButton(kIdOk, "OK", width - 180, height - 36, 80, 26)->setDefault(true);
    addButton(kIdCancel, "ｷｬﾝｾﾙ", width - 90, height - 36, 80, 26);
    refill();
    return 0;
}

void MapOpenDialog::refill() {
    tree_->clear();
    const auto kinds = listFolder(folder);
    for (int k = 0; k < 4; ++k) {
        auto* top = new QTreeWidgetItem(tree_, {QString::fromUtf8(kKindNames[k])});
        for (const std::string& name : kinds[k])
            new QTreeWidgetItem(top, {QString::fromStdString(name)});
        top->setExpanded(true);
    }
}

void MapOpenDialog::browse() {
    // A map file picked anywhere: its folder is listed and the file chosen in the list.
    FileDialogRequest r;
    r.kind = FileDialogRequest::Open;
    r.title = "マップを開く";
    r.startFolder = folder;
    for (const MapFileFilter& f : kReadableMapFilters) r.filters.push_back(dialogFilter(f));
    const std::optional<std::string> chosen = askForFile(r, this);
    if (!chosen) return;
    const std::filesystem::path path(*chosen);
    folder = path.parent_path().string();
    folderEdit_->setText(QString::fromStdString(folder));
    refill();
    const QString name = QString::fromStdString(path.filename().string());
    for (int k = 0; k < tree_->topLevelItemCount(); ++k) {
        QTreeWidgetItem* top = tree_->topLevelItem(k);
        for (int i = 0; i < top->childCount(); ++i)
            if (top->child(i)->text(0) == name) tree_->setCurrentItem(top->child(i));
    }
}

int MapOpenDialog::onCommand(MessageRecord& m, int id, int code) {
    if (id == kIdBrowse) {
        browse();
        return 1;
    }
    if (id == kIdOk) {
        // Only a file, not a kind heading, can be opened.
        QTreeWidgetItem* item = tree_->currentItem();
        if (!item || !item->parent()) return 1;
    }
    return Dialog::onCommand(m, id, code);
}

void MapOpenDialog::exchangeData(bool toObject) {
    if (!toObject) return;
    QTreeWidgetItem* item = tree_->currentItem();
    if (item && item->parent())
        chosenPath = (std::filesystem::path(folder) / item->text(0).toStdString()).string();
}

}  // namespace kv
