// The version dialog.
#include "app/version_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/main_frame.h"
#include "framework/font.h"

namespace kv {

VersionDialog::VersionDialog(Window* ownerWindow) : Dialog(kTemplateId, ownerWindow) {
    title = "バージョン情報";
    width = 300;
    height = 120;
}

int VersionDialog::onInitDialog() {
    QWidget* d = handle();
    d->setFixedSize(width, height);
    auto* name = new QLabel(QString::fromUtf8(MainFrame::kBaseTitle), d);
    name->setFont(createFont(16, 700));
    name->setObjectName("title");
    name->setGeometry(20, 16, 260, 24);
    auto* version = new QLabel(QStringLiteral("Version 1.00a"), d);
    version->setFont(createFont(14, 400));
    version->setObjectName("version");
    version->setGeometry(20, 44, 260, 20);
    addButton(1, "OK", 110, 80, 80, 26)->setDefault(true);
    return 0;
}

}  // namespace kv
