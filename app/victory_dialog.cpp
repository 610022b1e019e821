// The victory-condition dialog.
#include "app/victory_dialog.h"

#include <QLineEdit>

#include <algorithm>

#include "app/text_fields.h"
#include "framework/prompter.h"

namespace kv {

namespace {

using V = VictoryConditionDialog;

constexpr int kChoice = 88, kValueButton = 76, kOption = 180, kThree = 120;

int valueOn(int v) {
    return V::kIdFirstValueOn + 2 * v;
}
int valueOff(int v) {
    return V::kIdFirstValueOn + 2 * v + 1;
}

}  // namespace

VictoryConditionDialog::VictoryConditionDialog(Window* ownerWindow, const VictoryBlock& block,
                                               uint8_t participating)
    : PictureDialog(ownerWindow, kWidth, kHeight, "victory.bmp", kIdOkButton, kIdCancelButton),
      block_(block),
      initial_(block),
      participating_(participating) {}

void VictoryConditionDialog::addControls() {
    filling_ = true;
    int k = 0;
    for (int i = 0; i < kFactionCount; ++i) {
        if (!(participating_ & (1u << i))) continue;
        addPictureButton(kIdFirstSlot + i, 20 + 36 * k, 20, 32, 32, QPoint(656 + 32 * i, 256));
        ++k;
    }
    const int choiceX[3] = {134, 222, 310};
    const QPoint choiceFace[3] = {{0, 128}, {88, 128}, {264, 128}};
    const int building[3] = {kIdBuilding1, kIdBuilding2, kIdBuildingNone};
    const int troop[3] = {kIdTroop1, kIdTroop2, kIdTroopNone};
    for (int c = 0; c < 3; ++c) {
        addPictureButton(building[c], choiceX[c], 88, kChoice, 32, choiceFace[c]);
        addPictureButton(troop[c], choiceX[c], 128, kChoice, 32, choiceFace[c]);
    }
    addPictureButton(kIdTransportOn, 134, 168, kChoice, 32, QPoint(176, 128));
    addPictureButton(kIdTransportNone, 222, 168, kChoice, 32, QPoint(264, 128));
    digitsOnly(addEdit(kIdTransportCount, 360, 181, 24, 18), 3);
    addPictureButton(kIdTwoWaySet, 38, 208, kOption, 32, QPoint(504, 128));
    addPictureButton(kIdTwoWayClear, 218, 208, kOption, 32, QPoint(684, 128));
    addPictureButton(kIdThreeWay1, 38, 292, kThree, 32, QPoint(0, 256));
    addPictureButton(kIdThreeWay2, 158, 292, kThree, 32, QPoint(120, 256));
    addPictureButton(kIdThreeWayNone, 278, 292, kThree, 32, QPoint(800, 0));
    for (int v = 0; v < FactionRecord::kVictoryValueCount; ++v) {
        const int y = 376 + 40 * v;
        addPictureButton(valueOn(v), 134, y, kValueButton, 32, QPoint(352, 128));
        addPictureButton(valueOff(v), 210, y, kValueButton, 32, QPoint(428, 128));
        const bool small = v < 2;
        digitsOnly(addEdit(kIdFirstValueEdit + v, small ? 368 : 344, y + 13, small ? 24 : 48, 18),
                   small ? 3 : 6);
    }
    addPictureButton(kIdOkButton, 224, 558, kOkWidth, kOkHeight, kOkFace);
    addPictureButton(kIdCancelButton, 328, 558, kOkWidth, kOkHeight, kCancelFace);
    filling_ = false;
    for (int i = 0; i < kFactionCount; ++i) {
        if (participating_ & (1u << i)) {
            chooseSlot(i);
            break;
        }
    }
    changed();
}

void VictoryConditionDialog::markSlot(int slot) {
    for (int i = 0; i < kFactionCount; ++i)
        if (auto* b = control<PictureButton>(kIdFirstSlot + i)) b->setChecked(i == slot);
}

void VictoryConditionDialog::chooseSlot(int slot) {
    current_ = slot;
    markSlot(slot);
    fill(slot);
}

void VictoryConditionDialog::fill(int s) {
    filling_ = true;
    const auto pick = [this](std::initializer_list<int> group, int id) { checkInGroup(group, id); };
    const uint8_t building = block_.victory(s, VictoryBlock::Building);
    pick({kIdBuildingNone, kIdBuilding1, kIdBuilding2}, building == 1   ? kIdBuilding1
                                                        : building == 2 ? kIdBuilding2
                                                                        : kIdBuildingNone);
    const uint8_t troop = block_.victory(s, VictoryBlock::Troop);
    pick({kIdTroopNone, kIdTroop1, kIdTroop2}, troop == 1   ? kIdTroop1
                                               : troop == 2 ? kIdTroop2
                                                            : kIdTroopNone);
    const uint8_t transport = block_.victory(s, VictoryBlock::Transport);
    pick({kIdTransportNone, kIdTransportOn}, transport == 0 ? kIdTransportNone : kIdTransportOn);
    control<QLineEdit>(kIdTransportCount)
        ->setText(QString::number(transport == 0 ? 100 : transport));
    const bool twoWay = block_.victory(s, VictoryBlock::Options) & VictoryBlock::kTwoWayBit;
    pick({kIdTwoWayClear, kIdTwoWaySet}, twoWay ? kIdTwoWaySet : kIdTwoWayClear);
    const uint8_t three = block_.victory(s, VictoryBlock::ThreeWay);
    pick({kIdThreeWay1, kIdThreeWay2, kIdThreeWayNone}, three == 1   ? kIdThreeWay1
                                                        : three == 2 ? kIdThreeWay2
                                                                     : kIdThreeWayNone);
    for (int v = 0; v < FactionRecord::kVictoryValueCount; ++v) {
        const int32_t value = block_.value(s, v);
        pick({valueOn(v), valueOff(v)}, value != 0 ? valueOn(v) : valueOff(v));
        control<QLineEdit>(kIdFirstValueEdit + v)->setText(QString::number(value));
    }
    applyEnabling();
    filling_ = false;
}

void VictoryConditionDialog::applyEnabling() {
    control<QLineEdit>(kIdTransportCount)->setEnabled(isChecked(kIdTransportOn));
    auto* set = control<PictureButton>(kIdTwoWaySet);
    auto* clear = control<PictureButton>(kIdTwoWayClear);
    if (isChecked(kIdBuildingNone) && isChecked(kIdTroopNone) && isChecked(kIdTransportNone)) {
        set->setChecked(false);
        clear->setChecked(false);
        set->setEnabled(false);
        clear->setEnabled(false);
    } else {
        set->setEnabled(true);
        clear->setEnabled(true);
        if (!set->isChecked() && !clear->isChecked()) {
            const bool bit =
                block_.victory(current_, VictoryBlock::Options) & VictoryBlock::kTwoWayBit;
            checkInGroup({kIdTwoWayClear, kIdTwoWaySet}, bit ? kIdTwoWaySet : kIdTwoWayClear);
        }
    }
    for (int v = 0; v < FactionRecord::kVictoryValueCount; ++v)
        control<QLineEdit>(kIdFirstValueEdit + v)->setEnabled(isChecked(valueOn(v)));
}

void VictoryConditionDialog::store(int s) {
    const auto narrow = [](int64_t v, int64_t hi) { return std::clamp<int64_t>(v, 0, hi); };
    block_.setVictory(s, VictoryBlock::Building,
                      isChecked(kIdBuildingNone) ? 0
                      : isChecked(kIdBuilding1)  ? 1
                                                 : 2);
    block_.setVictory(s, VictoryBlock::Troop,
                      isChecked(kIdTroopNone) ? 0
                      : isChecked(kIdTroop1)  ? 1
                                              : 2);
    const int64_t count = numberIn(control<QLineEdit>(kIdTransportCount));
    // A count outside 1..100 is refused by the check; it is never wrapped into range.
    block_.setVictory(s, VictoryBlock::Transport,
                      isChecked(kIdTransportNone) ? 0 : static_cast<uint8_t>(narrow(count, 255)));
    uint8_t options = block_.victory(s, VictoryBlock::Options);
    options = static_cast<uint8_t>(isChecked(kIdTwoWaySet) ? options | VictoryBlock::kTwoWayBit
                                                           : options & ~VictoryBlock::kTwoWayBit);
    block_.setVictory(s, VictoryBlock::Options, options);
    block_.setVictory(s, VictoryBlock::ThreeWay,
                      isChecked(kIdThreeWay1)   ? 1
                      : isChecked(kIdThreeWay2) ? 2
                                                : 0);
    for (int v = 0; v < FactionRecord::kVictoryValueCount; ++v) {
        const int64_t n = numberIn(control<QLineEdit>(kIdFirstValueEdit + v));
        block_.setValue(s, v, isChecked(valueOn(v)) ? static_cast<int32_t>(narrow(n, 999999)) : 0);
    }
}

bool VictoryConditionDialog::checkSlot(int s) {
    store(s);
    const int64_t count = numberIn(control<QLineEdit>(kIdTransportCount));
    if (isChecked(kIdTransportOn) && (count < 1 || count > 100)) {
        showMessage("注意", "達成機数には1～100までを指定してください。", PromptIcon::Exclamation,
                    PromptButtons::Ok, this);
        return false;
    }
    return true;
}

void VictoryConditionDialog::changed() {
    if (auto* ok = control<PictureButton>(kIdOkButton)) ok->setEnabled(!(block_ == initial_));
}

int VictoryConditionDialog::onCommand(MessageRecord& m, int id, int code) {
    static const std::initializer_list<int> kGroups[] = {
        {kIdBuildingNone, kIdBuilding1, kIdBuilding2},
        {kIdTroopNone, kIdTroop1, kIdTroop2},
        {kIdTransportNone, kIdTransportOn},
        {kIdTwoWayClear, kIdTwoWaySet},
        {kIdThreeWay1, kIdThreeWay2, kIdThreeWayNone},
        {valueOn(0), valueOff(0)},
        {valueOn(1), valueOff(1)},
        {valueOn(2), valueOff(2)},
        {valueOn(3), valueOff(3)}};
    for (const auto& group : kGroups) {
        if (std::find(group.begin(), group.end(), id) == group.end()) continue;
        checkInGroup(group, id);
        applyEnabling();
        store(current_);
        changed();
        return 1;
    }
    if (code == TextChanged &&
        (id == kIdTransportCount || (id >= kIdFirstValueEdit && id < kIdFirstValueEdit + 4))) {
        if (filling_) return 1;
        store(current_);
        changed();
        return 1;
    }
    if (id >= kIdFirstSlot && id < kIdFirstSlot + kFactionCount) {
        const int slot = id - kIdFirstSlot;
        // The slot left is checked by its own index before anything of the new one is shown;
        // when it fails it stays current with its controls as they are.
        if (slot == current_ || !checkSlot(current_)) {
            markSlot(current_);
            return 1;
        }
        chooseSlot(slot);
        changed();
        return 1;
    }
    if (id == kIdOkButton) {
        if (!checkSlot(current_)) return 1;
        result = kIdOk;
        end();
        return 1;
    }
    return PictureDialog::onCommand(m, id, code);
}

}  // namespace kv
