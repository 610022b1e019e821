// The batch conversion dialog "マップ一括変換": a source and a destination folder, a start
// button, a status line with a progress bar, and a close button.
#pragma once

#include "framework/window.h"

class QLabel;
class QLineEdit;
class QProgressBar;

namespace kv {

class MapDocument;

class BatchDialog : public Dialog {
public:
    static constexpr int kTemplateId = 172;
    BatchDialog(Window* owner, MapDocument& doc);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    // Maps converted by the last run.
    int converted = 0;

private:
    void browse(int editId, const char* title);
    void start();

    MapDocument& doc_;
    QLineEdit* source_ = nullptr;
    QLineEdit* destination_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
};

}  // namespace kv
