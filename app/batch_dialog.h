// The batch conversion dialog "マップ一括変換": a source and a destination folder, a start
// button, the status list (a line per map, each failure with its file and reason, and the
// closing count) with a progress bar, and a close button.
#pragma once

#include <string>

#include "framework/window.h"

class QLineEdit;
class QListWidget;
class QProgressBar;

namespace kv {

class MapDocument;

class BatchDialog : public Dialog {
public:
    static constexpr int kTemplateId = 172;
    enum Control : int {
        kIdSource = 1002,
        kIdBrowseSource = 1003,
        kIdDestination = 1004,
        kIdBrowseDestination = 1005,
        kIdStart = 1006,
        kIdStatus = 1007,
    };
    BatchDialog(Window* owner, MapDocument& doc);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    // Maps converted by the last run; whether a batch ran through the document at all.
    int converted = 0;
    bool started = false;

private:
    void browse(int editId, const char* title);
    void start();
    void addStatus(const std::string& text);

    MapDocument& doc_;
    QLineEdit* source_ = nullptr;
    QLineEdit* destination_ = nullptr;
    QListWidget* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
};

}  // namespace kv
