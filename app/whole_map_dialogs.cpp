// The small dialogs of the main frame's file and map commands.
#include "app/whole_map_dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <cmath>

#include "document/faction_record.h"
#include "framework/prompter.h"

namespace kv {

namespace {

void centreOver(QWidget* dialog, QWidget* owner) {
    QRect area;
    if (owner && !owner->isMinimized()) {
        area = QRect(owner->mapToGlobal(QPoint(0, 0)), owner->size());
    } else if (QScreen* s = QGuiApplication::primaryScreen()) {
        area = s->geometry();
    }
    if (area.isValid())
        dialog->move(area.center() - QPoint(dialog->width() / 2, dialog->height() / 2));
}

// The picture of an anchor button: an arrow from the centre towards the button's place, a
// dot for the centre itself.
QIcon anchorIcon(int anchor) {
    constexpr int kSize = 18;
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::black);
    const QPointF centre(kSize / 2.0, kSize / 2.0);
    const int dx = anchor % 3 - 1, dy = anchor / 3 - 1;
    if (dx == 0 && dy == 0) {
        p.drawEllipse(centre, 3.0, 3.0);
        return QIcon(picture);
    }
    const double length = std::hypot(double(dx), double(dy));
    const QPointF dir(dx / length, dy / length), side(-dir.y(), dir.x());
    const QPointF tip = centre + dir * 7.0, tail = centre - dir * 6.0;
    p.drawLine(tail, tip - dir * 3.0);
    const QPointF head[3] = {tip, tip - dir * 6.0 + side * 4.0, tip - dir * 6.0 - side * 4.0};
    p.drawPolygon(head, 3);
    return QIcon(picture);
}

}  // namespace

// --- ConfirmSaveDialog -----------------------------------------------------------------------

ConfirmSaveDialog::ConfirmSaveDialog(Window* ownerWindow) : Dialog(kTemplateId, ownerWindow) {
    title = "確認";
    setFixedClientSize(300, 110);
}

int ConfirmSaveDialog::onInitDialog() {
    handle()->setWindowFlag(Qt::WindowCloseButtonHint, false);
    addLabel("編集中のマップを保存しますか？", 20, 18, 260, 20);
    addButton(kIdYes, "はい", 30, 64, 72, 24)->setDefault(true);
    addButton(kIdNo, "いいえ", 114, 64, 72, 24);
    addButton(kIdCancel, "ｷｬﾝｾﾙ", 198, 64, 72, 24);
    centreOver(handle(), owner ? owner->handle() : nullptr);
    return 0;
}

int ConfirmSaveDialog::onCommand(MessageRecord&, int id, int) {
    if (id != kIdYes && id != kIdNo && id != kIdCancel) return 0;
    result = id;
    end();
    return 1;
}

// --- MapCheckDialog --------------------------------------------------------------------------

MapCheckDialog::MapCheckDialog(Window* ownerWindow, std::vector<std::string> problemLines)
    : Dialog(kTemplateId, ownerWindow), lines_(std::move(problemLines)) {
    title = "マップチェック";
    width = 520;
    height = 340;
}

std::string MapCheckDialog::textOf(const std::vector<std::string>& lines) {
    if (lines.empty()) return "エラーは発見されませんでした。";
    std::string out;
    for (const std::string& l : lines) {
        if (!out.empty()) out += "\r\n";
        out += l;
    }
    return out;
}

int MapCheckDialog::onInitDialog() {
    auto* list = addMultiLineEdit(kIdText, 10, 10, width - 20, height - 56);
    list->setReadOnly(true);
    // The control shows CR LF line ends as plain line breaks.
    QString text = QString::fromStdString(textOf(lines_));
    text.replace("\r\n", "\n");
    list->setPlainText(text);
    addButton(kIdOk, "OK", width / 2 - 40, height - 38, 80, 26)->setDefault(true);
    return 0;
}

// --- MapSizeDialog ---------------------------------------------------------------------------

MapSizeDialog::MapSizeDialog(Window* ownerWindow, int w, int h,
                             std::function<void(int, int, int)> apply)
    : Dialog(kTemplateId, ownerWindow),
      currentWidth_(w),
      currentHeight_(h),
      apply_(std::move(apply)) {
    title = "ﾏｯﾌﾟｻｲｽﾞの変更";
    setFixedClientSize(300, 200);
}

int MapSizeDialog::onInitDialog() {
    auto sizeBox = [this](int id, int value, int y) {
        QComboBox* box = addCombo(id, 56, y, 80, 22);
        box->setEditable(true);
        box->addItems({"48", "64", "128", "256"});
        box->setCurrentText(QString::number(value));
    };
    addLabel("横幅", 14, 20, 40, 22);
    sizeBox(kIdWidth, currentWidth_, 20);
    addLabel("縦幅", 14, 52, 40, 22);
    sizeBox(kIdHeight, currentHeight_, 52);
    // Nine anchors in a 3 × 3 grid; anchor = row × 3 + column. One stays pressed.
    auto* group = new QButtonGroup(handle());
    for (int a = 0; a < 9; ++a) {
        QPushButton* b =
            addButton(kIdFirstAnchor + a, "", 170 + (a % 3) * 36, 16 + (a / 3) * 30, 32, 26);
        b->setCheckable(true);
        b->setChecked(a == anchor);
        b->setIcon(anchorIcon(a));
        b->setIconSize(QSize(18, 18));
        group->addButton(b);
    }
    addButton(kIdOk, "OK", 60, 150, 80, 26)->setDefault(true);
    addButton(kIdCancel, "ｷｬﾝｾﾙ", 160, 150, 80, 26);
    return 0;
}

int MapSizeDialog::onCommand(MessageRecord& m, int id, int code) {
    if (id >= kIdFirstAnchor && id < kIdFirstAnchor + 9) {
        anchor = id - kIdFirstAnchor;
        return 1;
    }
    if (id != kIdOk) return Dialog::onCommand(m, id, code);
    auto value = [this](int boxId) {
        auto* box = control<QComboBox>(boxId);
        bool ok = false;
        const int v = box ? box->currentText().trimmed().toInt(&ok) : 0;
        return ok ? v : 0;
    };
    const int w = value(kIdWidth), h = value(kIdHeight);
    if (w < 1 || w > 256) {
        showMessage("注意", "マップの横幅が範囲外です。(1～256)", PromptIcon::Exclamation,
                    PromptButtons::Ok, this);
        return 1;
    }
    if (h < 1 || h > 256) {
        showMessage("注意", "マップの縦幅が範囲外です。(1～256)", PromptIcon::Exclamation,
                    PromptButtons::Ok, this);
        return 1;
    }
    if ((w < currentWidth_ || h < currentHeight_) &&
        showMessage("確認",
                    "マップサイズが小さくなるため、一部地形が削除されます。\n"
                    "サイズを変更してよろしいですか？",
                    PromptIcon::Question, PromptButtons::YesNo, this) != PromptAnswer::Yes)
        return 1;
    if (apply_) apply_(w, h, anchor);
    result = kIdOk;
    end();
    return 1;
}

// --- FactionExchangeDialog ---------------------------------------------------------------------

FactionExchangeDialog::FactionExchangeDialog(Window* ownerWindow)
    : Dialog(kTemplateId, ownerWindow) {
    title = "陣営色の入れ替え";
    setFixedClientSize(280, 120);
}

int FactionExchangeDialog::onInitDialog() {
    addCombo(kIdFirst, 20, 20, 110, 22);
    addCombo(kIdSecond, 150, 20, 110, 22);
    addLabel("⇔", 133, 20, 16, 22);
    refill();
    addButton(kIdOk, "OK", 50, 76, 80, 26)->setDefault(true);
    addButton(kIdCancel, "ｷｬﾝｾﾙ", 150, 76, 80, 26);
    return 0;
}

int FactionExchangeDialog::onCommand(MessageRecord& m, int id, int code) {
    if ((id != kIdFirst && id != kIdSecond) || code != SelectionChanged)
        return Dialog::onCommand(m, id, code);
    if (!filling_) {
        (id == kIdFirst ? first : second) = control<QComboBox>(id)->currentData().toInt();
        refill();
    }
    return 1;
}

void FactionExchangeDialog::refill() {
    // Each drop-down lists the six slots except the one chosen in the other.
    filling_ = true;
    const int chosen[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        QComboBox* box = control<QComboBox>(i == 0 ? kIdFirst : kIdSecond);
        box->clear();
        for (int slot = 0; slot < kFactionCount; ++slot) {
            if (slot == chosen[1 - i]) continue;
            box->addItem(QString::fromUtf8(std::string(factionColourName(slot)).c_str()), slot);
            if (slot == chosen[i]) box->setCurrentIndex(box->count() - 1);
        }
    }
    filling_ = false;
}

void FactionExchangeDialog::exchangeData(bool toObject) {
    if (!toObject) return;
    first = control<QComboBox>(kIdFirst)->currentData().toInt();
    second = control<QComboBox>(kIdSecond)->currentData().toInt();
}

}  // namespace kv
