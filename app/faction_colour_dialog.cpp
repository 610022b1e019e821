// The faction colour dialog: selection by tab and button, the angle in an edit and a track
// bar, previews turned with the map's own rotation, and saving on OK.
#include "app/faction_colour_dialog.h"

#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QTabBar>

#include <algorithm>
#include <charconv>
#include <string>

#include "app/main_frame.h"
#include "app/tool_windows.h"
#include "document/map_document.h"
#include "framework/errors.h"
#include "view/faction_colour_preview.h"
#include "view/map_view.h"
#include "view/window_messages.h"

namespace kv {

namespace {

constexpr int kButtons = 6;
constexpr int kMaxAngle = 360;
// The blue of the first faction's art: the swatches show what the angle makes of it.
constexpr uint32_t kArtBlue = 0x3c64d2;
constexpr QRgb kPreviewGround = 0xFFD4D0C8u;
constexpr const char* kPreviewNames[FactionColourPreview::KindCount] = {"地形", "建物", "国境線",
                                                                        "領土", "兵器"};

QPixmap swatch(int angle) {
    QPixmap pm(22, 14);
    pm.fill(QColor::fromRgb(rotateHue(kArtBlue, angle) & 0xFFFFFF));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, pm.width() - 1, pm.height() - 1);
    return pm;
}

}  // namespace

FactionColourDialog::FactionColourDialog(Window* ownerWindow, MapDocument& doc)
    : Dialog(kTemplateId, ownerWindow), table(doc.factionColours), doc_(doc) {
    title = "陣営色のカスタマイズ";
    setFixedClientSize(480, 430);
}

FactionColourDialog::~FactionColourDialog() = default;

int FactionColourDialog::onInitDialog() {
    preview_ = std::make_unique<FactionColourPreview>();
    auto* tabs = add<QTabBar>(kIdTabs, 8, 8, 464, 26);
    tabs->setExpanding(false);
    tabs->addTab(QStringLiteral("陣営"));
    tabs->addTab(QStringLiteral("その他"));
    QObject::connect(tabs, &QTabBar::currentChanged, tabs, [this](int t) {
        if (!filling_) select(t, button_);
    });
    for (int i = 0; i < kButtons; ++i) {
        QPushButton* b =
            addButton(kIdFirstColour + i, std::to_string(i + 1).c_str(), 12 + i * 76, 42, 70, 28);
        b->setCheckable(true);
        b->setAutoDefault(false);
    }
    addLabel("色相：", 12, 88, 50, 20);
    QLineEdit* hue = addEdit(kIdHue, 62, 86, 60, 22);
    // Digits with an optional sign; the value is clamped as it is typed.
    hue->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,4}")), hue));
    auto* bar = add<QSlider>(kIdHueBar, 132, 86, 336, 24);
    bar->setOrientation(Qt::Horizontal);
    bar->setRange(0, kMaxAngle);
    bar->setPageStep(15);
    QObject::connect(bar, &QSlider::valueChanged, bar, [this](int v) {
        if (!filling_) setHue(v, kIdHueBar);
    });
    for (int k = 0; k < FactionColourPreview::KindCount; ++k) {
        addLabel(kPreviewNames[k], 12, 130 + 54 * k, 60, 20);
        addLabel(kIdFirstPreview + k, "", 76, 122 + 54 * k, 340, 48);
    }
    addButton(kIdDefault, "標準に戻す", 12, 396, 110, 26)->setAutoDefault(false);
    addButton(kIdOk, "OK", 290, 396, 80, 26)->setDefault(true);
    addButton(kIdCancel, "ｷｬﾝｾﾙ", 380, 396, 90, 26);
    select(0, 0);
    return 0;
}

void FactionColourDialog::select(int tab, int button) {
    tab_ = std::clamp(tab, 0, 1);
    button_ = std::clamp(button, 0, kButtons - 1);
    filling_ = true;
    if (auto* tabs = control<QTabBar>(kIdTabs)) tabs->setCurrentIndex(tab_);
    const int angle = table.hueAngle(selectedEntry());
    if (auto* hue = control<QLineEdit>(kIdHue)) hue->setText(QString::number(angle));
    if (auto* bar = control<QSlider>(kIdHueBar)) bar->setValue(angle);
    filling_ = false;
    showColourButtons();
    showPreviews();
}

void FactionColourDialog::setHue(int angle, int fromControl) {
    angle = std::clamp(angle, 0, kMaxAngle);
    table.entries[size_t(selectedEntry())].hueAngle = static_cast<uint16_t>(angle);
    filling_ = true;
    if (auto* hue = control<QLineEdit>(kIdHue)) {
        // The field shows the value used, also when it was typed out of range.
        const QString text = QString::number(angle);
        if (fromControl != kIdHue || hue->text() != text) hue->setText(text);
    }
    if (auto* bar = control<QSlider>(kIdHueBar)) bar->setValue(angle);
    filling_ = false;
    showColourButtons();
    showPreviews();
}

void FactionColourDialog::showColourButtons() {
    const int first = tab_ == 0 ? FactionColourTable::kFirstFactionEntry : 0;
    for (int i = 0; i < kButtons; ++i) {
        auto* b = control<QPushButton>(kIdFirstColour + i);
        if (!b) continue;
        b->setIcon(swatch(table.hueAngle(first + i)));
        b->setChecked(i == button_);
    }
}

void FactionColourDialog::showPreviews() {
    if (!preview_) return;
    const int angle = table.hueAngle(selectedEntry());
    for (int k = 0; k < FactionColourPreview::KindCount; ++k) {
        auto* label = control<QLabel>(kIdFirstPreview + k);
        if (!label) continue;
        const QImage image = preview_->render(FactionColourPreview::Kind(k), angle, kPreviewGround);
        label->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
    }
}

void FactionColourDialog::commit() {
    doc_.factionColours = table;
    try {
        table.save();
    } catch (const swCError& e) {
        // The colours still apply to this session; the user is told they were not kept.
        e.report(this);
    }
}

int FactionColourDialog::onCommand(MessageRecord& m, int id, int code) {
    if (id >= kIdFirstColour && id < kIdFirstColour + kButtons && code == Clicked) {
        select(tab_, id - kIdFirstColour);
        return 1;
    }
    if (id == kIdHue && code == TextChanged && !filling_) {
        const auto* hue = control<QLineEdit>(kIdHue);
        const std::string text = hue ? hue->text().toStdString() : std::string();
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc() && end == text.data() + text.size()) setHue(value, kIdHue);
        return 1;
    }
    if (id == kIdDefault && code == Clicked) {
        setHue(FactionColourTable().hueAngle(selectedEntry()), kIdDefault);
        return 1;
    }
    if (id == kIdOk) commit();
    return Dialog::onCommand(m, id, code);
}

void customiseFactionColours(MainFrame& frame) {
    MapDocument& doc = frame.document();
    FactionColourDialog d(&frame, doc);
    if (!d.run() || d.result != kIdOk) return;
    MapView* view = frame.mapView();
    postMessage(view, viewmsg::RebuildSheets);
    doc.viewSettings.redrawGrid.markAllDirty();
    postMessage(view, viewmsg::Redraw);
    frame.tools().post(ToolKind::ToolWindow, toolmsg::RefreshUnitPreview);
    frame.tools().post(ToolKind::ToolWindow, toolmsg::RefreshWeaponPreview);
    frame.tools().post(ToolKind::TerrainPalette, terrainpalettemsg::Recolour);
}

}  // namespace kv
