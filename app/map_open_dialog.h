// The map selection dialog "マップを開く": the map files of a folder listed under their kinds
// (ノーマル, シナリオ, シンプル, 中間データ), with a button that picks a map file in another
// folder.
#pragma once

#include <string>
#include <vector>

#include "framework/window.h"

class QLineEdit;
class QTreeWidget;

namespace kv {

class MapOpenDialog : public Dialog {
public:
    static constexpr int kTemplateId = 130;
    enum Control : int { kIdFolder = 1000, kIdBrowse = 1001, kIdTree = 1002 };
    MapOpenDialog(Window* owner, std::string folder);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    void exchangeData(bool toObject) override;

    // The kind a file name belongs to: 0 ノーマル, 1 シナリオ, 2 シンプル, 3 中間データ, −1 none.
    static int kindOfFile(const std::string& name);
    // The map files of a folder by kind, each list sorted by name.
    static std::vector<std::vector<std::string>> listFolder(const std::string& folder);

    // After OK: the chosen file, and the folder it was chosen in.
    std::string chosenPath;
    std::string folder;

private:
    void refill();
    void browse();
    QLineEdit* folderEdit_ = nullptr;
    QTreeWidget* tree_ = nullptr;
};

}  // namespace kv
