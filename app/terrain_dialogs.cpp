// The missile base and borderline dialogs.
#include "app/terrain_dialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>

#include <cmath>
#include <string>

#include "app/text_fields.h"
#include "document/edit_operation.h"
#include "document/map_document.h"
#include "framework/faction_colours.h"
#include "framework/prompter.h"

namespace kv {

namespace {

constexpr int kMaxMissiles = 10;
constexpr int kMaxInterval = 255;
constexpr int kCountsPerInterval = 60;
constexpr int kKindCrossable = 2, kKindClosed = 3;

QLineEdit* digitsEdit(Dialog& d, int id, int x, int y, int maxDigits) {
    QLineEdit* e = d.addEdit(id, x, y, 60, 22);
    digitsOnly(e, maxDigits);
    return e;
}

}  // namespace

// --- missile base ------------------------------------------------------------------------

MissileBaseDialog::MissileBaseDialog(Window* ownerWindow, MapDocument& doc, HexPos hex)
    : Dialog(kTemplateId, ownerWindow), doc_(doc), hex_(hex) {
    title = "ミサイル設定";
    setFixedClientSize(300, 160);
}

int MissileBaseDialog::onInitDialog() {
    const HexCell* c = doc_.cellAt(hex_.col, hex_.row);
    addLabel("ミサイル種類：", 16, 18, 96, 22);
    QComboBox* kinds = addCombo(kIdMissile, 112, 18, 170, 22);
    kinds->addItem("なし", 0);
    bool found = c == nullptr || c->missile == 0;
    for (uint16_t id : doc_.missileWeaponIds()) {
        kinds->addItem(textOfBytes(doc_.gameDatabase.weapon(id).name()), id + 1);
        if (c && c->missile == id + 1) found = true;
    }
    // A missile the weapon table no longer offers stays selectable as it is.
    if (!found)
        kinds->addItem(QString("(ID %1)").arg(c->missile - 1), static_cast<int>(c->missile));
    kinds->setCurrentIndex(std::max(0, kinds->findData(c ? int(c->missile) : 0)));
    addLabel("ミサイル数：", 16, 52, 96, 22);
    digitsEdit(*this, kIdCount, 112, 52, 3)->setText(QString::number(c ? c->shownCount : 0));
    addLabel("発射間隔：", 16, 84, 96, 22);
    digitsEdit(*this, kIdInterval, 112, 84, 4)->setText(QString::number(c ? c->bridgePiece : 0));
    addLabel(kIdTime, "", 182, 84, 110, 22);
    showTime();
    addButton(kIdOk, "OK", 50, 122, 90, 26)->setDefault(true);
    addButton(kIdCancel, "ｷｬﾝｾﾙ", 160, 122, 90, 26);
    return 0;
}

void MissileBaseDialog::showTime() {
    const int64_t interval = numberIn(control<QLineEdit>(kIdInterval));
    if (QLabel* time = control<QLabel>(kIdTime))
        time->setText(QString("時間(%1ｶｳﾝﾄ)").arg(interval * kCountsPerInterval));
}

int MissileBaseDialog::onCommand(MessageRecord& m, int id, int code) {
    if (id == kIdInterval && code == TextChanged) {
        showTime();
        return 1;
    }
    if (id != kIdOk) return Dialog::onCommand(m, id, code);
    MissileSettings s;
    s.missile = static_cast<uint16_t>(control<QComboBox>(kIdMissile)->currentData().toInt());
    if (s.missile != 0) {
        const int64_t count = numberIn(control<QLineEdit>(kIdCount));
        if (count < 1 || count > kMaxMissiles) {
            showMessage("注意", "ミサイル数は1～10の値を設定してください。",
                        PromptIcon::Exclamation, PromptButtons::Ok, this);
            return 1;
        }
        const int64_t interval = numberIn(control<QLineEdit>(kIdInterval));
        if (interval > kMaxInterval) {
            showMessage("注意", "ミサイル発射間隔は0～255の値を設定してください。",
                        PromptIcon::Exclamation, PromptButtons::Ok, this);
            return 1;
        }
        s.count = static_cast<uint8_t>(count);
        s.interval = static_cast<uint8_t>(interval);
    }
    {
        EditOperation op(doc_, EditOperation::History::NewStep, "ミサイル設定");
        doc_.setMissileBase(hex_.col, hex_.row, s);
    }
    result = kIdOk;
    end();
    return 1;
}

// --- borderlines -----------------------------------------------------------------------------

namespace {

// Corner k of a point-up hexagon of radius r around the centre, k = 0 at the top, clockwise.
QPointF corner(QPointF centre, double r, int k) {
    const double a = (-90.0 + 60.0 * k) * M_PI / 180.0;
    return centre + QPointF(r * std::cos(a), r * std::sin(a));
}

// The two corners of side i (0 west, 1 south-west, 2 south-east, 3 east, 4 north-east,
// 5 north-west) in corner numbers.
std::pair<int, int> sideCorners(int side) {
    static constexpr int kFirst[6] = {4, 3, 2, 1, 0, 5};
    return {kFirst[side], (kFirst[side] + 1) % 6};
}

// The hex in its territory's colour, every side with a borderline drawn thick in the colour
// of its kind.
// The territory's colour as the map shows it: the faction's hue turned from the blue of the
// first faction's art, grey for neutral and no territory.
QColor territoryColour(int territory, const FactionColourTable& colours) {
    constexpr uint32_t kFirstFactionBlue = 0x3c64d2, kNeutralGrey = 0xb4b4b4;
    if (territory < 1 || territory > kFactionCount) return QColor::fromRgb(kNeutralGrey);
    const int angle = colours.hueAngle(FactionColourTable::factionEntry(territory - 1));
    return QColor::fromRgb(rotateHue(kFirstFactionBlue, angle) & 0xffffff);
}

QPixmap hexPicture(const HexCell& c, uint8_t borderBits, const FactionColourTable& colours,
                   int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size / 2.0, size / 2.0);
    const double r = size / 2.0 - 6;
    QPolygonF hex;
    for (int k = 0; k < 6; ++k) hex << corner(centre, r, k);
    p.setBrush(territoryColour(c.territory, colours));
    p.setPen(QPen(Qt::darkGray, 1));
    p.drawPolygon(hex);
    for (int side = 0; side < 6; ++side) {
        if (!(borderBits & (1u << side))) continue;
        const auto [a, b] = sideCorners(side);
        const QColor colour =
            c.borderKind(side) == kKindClosed ? QColor(200, 0, 0) : QColor(0, 90, 200);
        p.setPen(QPen(colour, 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(corner(centre, r, a), corner(centre, r, b));
    }
    return pm;
}

}  // namespace

BorderlineDialog::BorderlineDialog(Window* ownerWindow, MapDocument& doc, HexPos hex)
    : Dialog(kTemplateId, ownerWindow), doc_(doc), hex_(hex) {
    title = "国境線設定";
    setFixedClientSize(360, 250);
}

int BorderlineDialog::onInitDialog() {
    const HexCell* c = doc_.cellAt(hex_.col, hex_.row);
    const HexOverlay* o = doc_.overlayAt(hex_.col, hex_.row);
    if (!c || !o) return 0;
    constexpr int kPicture = 110;
    QLabel* picture = addLabel("", 125, 40, kPicture, kPicture);
    picture->setPixmap(hexPicture(*c, o->borderBits, doc_.factionColours, kPicture));
    // Each box beside its side: west and east at the middle, the slanted sides at the corners.
    static constexpr int kBoxX[6] = {12, 30, 230, 248, 230, 30};
    static constexpr int kBoxY[6] = {84, 146, 146, 84, 22, 22};
    for (int side = 0; side < 6; ++side) {
        QComboBox* box = addCombo(kIdFirstSide + side, kBoxX[side], kBoxY[side], 100, 22);
        if (!(o->borderBits & (1u << side))) {
            box->setEnabled(false);
            shownIndex_[size_t(side)] = -1;
            continue;
        }
        box->addItem("越境可能", kKindCrossable);
        box->addItem("越境不可", kKindClosed);
        // Kinds the dialog does not offer show no choice until one is made.
        box->setCurrentIndex(box->findData(c->borderKind(side)));
        shownIndex_[size_t(side)] = box->currentIndex();
    }
    addButton(kIdOk, "OK", 80, 206, 90, 26)->setDefault(true);
    addButton(kIdCancel, "ｷｬﾝｾﾙ", 190, 206, 90, 26);
    return 0;
}

int BorderlineDialog::onCommand(MessageRecord& m, int id, int code) {
    if (id != kIdOk) return Dialog::onCommand(m, id, code);
    {
        EditOperation op(doc_, EditOperation::History::NewStep, "国境線設定");
        bool changed = false;
        for (int side = 0; side < 6; ++side) {
            QComboBox* box = control<QComboBox>(kIdFirstSide + side);
            if (!box || !box->isEnabled() || box->currentIndex() == shownIndex_[size_t(side)] ||
                box->currentIndex() < 0)
                continue;
            doc_.setBorderlineKind(hex_.col, hex_.row, side, box->currentData().toInt());
            changed = true;
        }
        // The neighbours show the same line.
        doc_.recomputeBorderlines(hex_.col, hex_.row);
        for (int d = 0; changed && d < kDirectionCount; ++d) {
            const HexPos n = neighbourPos(hex_, d);
            if (doc_.contains(n.col, n.row)) {
                doc_.recomputeBorderlines(n.col, n.row);
                doc_.markDirty(n.col, n.row);
            }
        }
    }
    result = kIdOk;
    end();
    return 1;
}

}  // namespace kv
