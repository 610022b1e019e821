// The version dialog.
#include "app/version_dialog.h"

#include "app/main_frame.h"
#include "framework/font.h"

namespace kv {

VersionDialog::VersionDialog(Window* ownerWindow) : Dialog(kTemplateId, ownerWindow) {
    title = "バージョン情報";
    setFixedClientSize(300, 120);
}

int VersionDialog::onInitDialog() {
    addLabel(MainFrame::kBaseTitle, 20, 16, 260, 24)->setFont(createFont(16, 700));
    addLabel("Version 1.00a", 20, 44, 260, 20)->setFont(createFont(14, 400));
    addButton(kIdOk, "OK", 110, 80, 80, 26)->setDefault(true);
    return 0;
}

}  // namespace kv
