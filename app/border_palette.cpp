// The borderline palette.
#include "app/border_palette.h"

#include <QComboBox>

#include "app/main_frame.h"
#include "document/map_document.h"
#include "framework/cp932.h"

namespace kv {

namespace {
// The faction box's entries in order: the six factions, neutral, delete.
constexpr int kFactionValues[] = {1, 2, 3, 4, 5, 6, 7, 0};
constexpr int kKindValues[] = {2, 3};
}  // namespace

BorderPalette::BorderPalette(MainFrame& frame)
    : PaletteWindow(frame, ToolKind::BorderPalette, kClassName, "国境線パレット", 220, 72) {}

int BorderPalette::onInitDialog() {
    addLabel("配置陣営：", 8, 10, 80, 20);
    addCombo(kIdFaction, 90, 8, 122, 22);
    addLabel("国境種類：", 8, 40, 80, 20);
    QComboBox* kind = addCombo(kIdKind, 90, 38, 122, 22);
    kind->addItem(QStringLiteral("越境可能"));
    kind->addItem(QStringLiteral("越境不可"));
    return 0;
}

void BorderPalette::refresh() {
    QComboBox* faction = control<QComboBox>(kIdFaction);
    QComboBox* kind = control<QComboBox>(kIdKind);
    if (!faction || !kind) return;
    filling_ = true;
    faction->clear();
    for (int f = 0; f < kFactionCount; ++f)
        faction->addItem(QString::fromStdString(decodeCp932Lossy(doc_.factions[size_t(f)].name())));
    faction->addItem(QStringLiteral("中立"));
    faction->addItem(QStringLiteral("削除"));
    // Values the palette does not offer become its first entries.
    int fi = 0, ki = 0;
    for (int i = 0; i < 8; ++i)
        if (kFactionValues[i] == doc_.tool.borderFaction) fi = i;
    for (int i = 0; i < 2; ++i)
        if (kKindValues[i] == doc_.tool.borderKind) ki = i;
    faction->setCurrentIndex(fi);
    kind->setCurrentIndex(ki);
    doc_.tool.borderFaction = kFactionValues[fi];
    doc_.tool.borderKind = kKindValues[ki];
    kind->setEnabled(doc_.tool.borderFaction != 0);
    filling_ = false;
}

int BorderPalette::onCommand(MessageRecord& m, int id, int code) {
    if ((id == kIdFaction || id == kIdKind) && code == SelectionChanged) {
        if (filling_) return 1;
        const int fi = control<QComboBox>(kIdFaction)->currentIndex();
        const int ki = control<QComboBox>(kIdKind)->currentIndex();
        if (fi >= 0 && fi < 8) doc_.tool.borderFaction = kFactionValues[fi];
        if (ki >= 0 && ki < 2) doc_.tool.borderKind = kKindValues[ki];
        control<QComboBox>(kIdKind)->setEnabled(doc_.tool.borderFaction != 0);
        return 1;
    }
    return PaletteWindow::onCommand(m, id, code);
}

}  // namespace kv
