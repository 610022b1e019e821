// The mine palette.
#include "app/mine_palette.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

#include "app/main_frame.h"
#include "document/map_document.h"
#include "framework/cp932.h"

namespace kv {

MinePalette::MinePalette(MainFrame& frame)
    : PaletteWindow(frame, ToolKind::MinePalette, kClassName, "地雷パレット", 230, 170) {}

// While the palette is up, the terrain mode's pen lays mines.
MinePalette::~MinePalette() {
    doc_.tool.minePlacement = 0;
}

int MinePalette::onInitDialog() {
    doc_.tool.minePlacement = 1;
    addRadio(kIdLandMine, "地雷", 8, 8, 60, 20, kNewGroup);
    addRadio(kIdSeaMine, "機雷", 74, 8, 60, 20);
    addRadio(kIdDelete, "削除", 140, 8, 60, 20);
    addLabel("発動回数：", 8, 38, 80, 20);
    QComboBox* count = addCombo(kIdCount, 90, 36, 60, 22);
    for (int n = 1; n <= kMaxCount; ++n) count->addItem(QString::number(n));
    addLabel("配置確認陣営：", 8, 66, 120, 20);
    for (int f = 0; f < kFactionCount; ++f)
        addCheck(kIdSeenBy + f, "", 8 + (f % 2) * 110, 88 + (f / 2) * 24, 108, 20);
    return 0;
}

void MinePalette::refresh() {
    filling_ = true;
    const int kind = doc_.tool.mineKind;
    const int radio = kind == kLandMine ? kIdLandMine : kind == kSeaMine ? kIdSeaMine : kIdDelete;
    if (auto* r = control<QRadioButton>(radio)) r->setChecked(true);
    if (doc_.tool.mineCount < 1 || doc_.tool.mineCount > kMaxCount) doc_.tool.mineCount = 1;
    if (auto* c = control<QComboBox>(kIdCount)) c->setCurrentIndex(doc_.tool.mineCount - 1);
    for (int f = 0; f < kFactionCount; ++f) {
        if (auto* c = control<QCheckBox>(kIdSeenBy + f)) {
            c->setText(QString::fromStdString(decodeCp932Lossy(doc_.factions[size_t(f)].name())));
            c->setChecked((doc_.tool.mineSeenBy >> f) & 1);
        }
    }
    filling_ = false;
}

int MinePalette::onCommand(MessageRecord& m, int id, int code) {
    if (filling_ && id >= kIdLandMine && id < kIdSeenBy + kFactionCount) return 1;
    switch (id) {
        case kIdLandMine: doc_.tool.mineKind = kLandMine; return 1;
        case kIdSeaMine: doc_.tool.mineKind = kSeaMine; return 1;
        case kIdDelete: doc_.tool.mineKind = kNoMine; return 1;
        case kIdCount:
            if (code == SelectionChanged)
                doc_.tool.mineCount =
                    static_cast<uint8_t>(control<QComboBox>(kIdCount)->currentIndex() + 1);
            return 1;
        default: break;
    }
    if (id >= kIdSeenBy && id < kIdSeenBy + kFactionCount) {
        const int f = id - kIdSeenBy;
        const bool on = control<QCheckBox>(id)->isChecked();
        doc_.tool.mineSeenBy = static_cast<uint8_t>(on ? doc_.tool.mineSeenBy | (1 << f)
                                                       : doc_.tool.mineSeenBy & ~(1 << f));
        return 1;
    }
    return PaletteWindow::onCommand(m, id, code);
}

}  // namespace kv
