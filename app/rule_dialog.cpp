// The rule dialog.
#include "app/rule_dialog.h"

#include <QComboBox>
#include <QLineEdit>

#include "app/text_fields.h"
#include "framework/font.h"
#include "framework/prompter.h"

namespace kv {

namespace {

// A rule that only counts while another is on: (rule, the rule it needs).
constexpr std::pair<int, int> kDependent[] = {{10, 3}, {34, 15}};

}  // namespace

const std::array<RuleSettingsDialog::Row, 17> RuleSettingsDialog::kRows = {{
    {32, 200, 56, 0},
    {33, 200, 96, 2},
    {13, 200, 136, 4},
    {5, 200, 176, 2},
    {15, 200, 216, 2},
    {34, 200, 256, 2},
    {25, 200, 296, 6},
    {1, 200, 376, 2},
    {29, 200, 416, 2},
    {3, 200, 456, 2},
    {10, 200, 496, 2},
    {31, 608, 96, 2},
    {22, 608, 136, 2},
    {46, 608, 176, 2},
    {39, 608, 256, 2},
    {40, 608, 296, 2},
    {23, 608, 336, 2},
}};

RuleSettingsDialog::RuleSettingsDialog(Window* ownerWindow, const RuleData& rules, RuleSet ruleSet,
                                       Mode mode)
    : PictureDialog(ownerWindow, kWidth, kHeight, "rule.bmp", kIdOkButton, kIdCancelButton),
      rules_(rules),
      ruleSet_(std::move(ruleSet)),
      mode_(mode) {}

void RuleSettingsDialog::addControls() {
    filling_ = true;
    const QFont large = createFont(24, 400);
    if (mode_ == EditRuleSet) {
        // Frameless, and widened by the edit's own 2-pixel margins, so that the text area is
        // 144 × 24 at (672, 396) and six full-width characters show whole.
        QLineEdit* name = addEdit(kIdName, 670, 396, 148, 24);
        name->setFrame(false);
        name->setFont(large);
        name->setText(textOfBytes(ruleSet_.name));
        limitToBytes(name, 12);
    } else {
        QComboBox* box = addCombo(kIdRuleSet, 668, 392, 160, 32);
        box->setFont(large);
        box->addItem(QStringLiteral("カスタム"), int{kCustomRuleId});
        for (const RuleSet& set : rules_.ruleSets())
            box->addItem(textOfBytes(set.name), int{set.ruleId});
        box->setCurrentIndex(std::max(0, box->findData(int{ruleSet_.ruleId})));
    }
    for (const Row& r : kRows) {
        addPictureButton(kIdFirstLeft + r.rule, r.x, r.y, 100, 32, QPoint(100 * r.face, 0));
        addPictureButton(kIdFirstRight + r.rule, r.x + 100, r.y, 100, 32,
                         QPoint(100 * (r.face + 1), 0));
    }
    addPictureButton(kIdOkButton, 632, 518, kOkWidth, kOkHeight, kOkFace);
    addPictureButton(kIdCancelButton, 736, 518, kOkWidth, kOkHeight, kCancelFace);
    filling_ = false;
    fill();
}

bool RuleSettingsDialog::editable() const {
    if (mode_ == EditRuleSet) return true;
    const auto* box = control<QComboBox>(kIdRuleSet);
    return box && box->currentData().toInt() == kCustomRuleId;
}

int RuleSettingsDialog::rowOf(int rule) const {
    for (size_t i = 0; i < kRows.size(); ++i)
        if (kRows[i].rule == rule) return static_cast<int>(i);
    return -1;
}

bool RuleSettingsDialog::shownOn(int rule) const {
    return isChecked(kIdFirstLeft + rule);
}

void RuleSettingsDialog::fill() {
    const bool canEdit = editable();
    for (const Row& r : kRows) {
        const uint8_t v = ruleSet_.value(size_t(r.rule));
        const bool on = r.rule == kInvertedRule ? v == 0 : v == 1;
        checkInGroup({kIdFirstLeft + r.rule, kIdFirstRight + r.rule},
                     on ? kIdFirstLeft + r.rule : kIdFirstRight + r.rule);
        for (int id : {kIdFirstLeft + r.rule, kIdFirstRight + r.rule})
            if (auto* b = control<PictureButton>(id)) b->setEnabled(canEdit);
    }
    touched_.reset();
    if (canEdit) applyDependencies(-1);
}

void RuleSettingsDialog::applyDependencies(int changedRule) {
    for (auto [rule, needs] : kDependent) {
        if (changedRule >= 0 && changedRule != needs) continue;
        auto* left = control<PictureButton>(kIdFirstLeft + rule);
        auto* right = control<PictureButton>(kIdFirstRight + rule);
        if (!left || !right) continue;
        if (!shownOn(needs)) {
            checkInGroup({kIdFirstLeft + rule, kIdFirstRight + rule}, kIdFirstRight + rule);
            left->setEnabled(false);
            right->setEnabled(false);
        } else if (changedRule >= 0) {
            left->setEnabled(true);
            right->setEnabled(true);
        }
    }
}

void RuleSettingsDialog::store() {
    std::bitset<kRuleCount> write = touched_;
    if (editable())
        for (auto [rule, needs] : kDependent)
            if (!shownOn(needs)) write.set(size_t(rule));
    for (const Row& r : kRows) {
        if (!write.test(size_t(r.rule))) continue;
        const bool on = shownOn(r.rule);
        ruleSet_.setValue(size_t(r.rule), r.rule == kInvertedRule ? !on : on);
    }
}

void RuleSettingsDialog::clickRule(int rule, bool on) {
    const int chosen = (on ? kIdFirstLeft : kIdFirstRight) + rule;
    const int partner = (on ? kIdFirstRight : kIdFirstLeft) + rule;
    checkInGroup({chosen, partner}, chosen);
    if (auto* b = control<PictureButton>(chosen)) b->setEnabled(false);
    if (auto* b = control<PictureButton>(partner)) b->setEnabled(true);
    touched_.set(size_t(rule));
    applyDependencies(rule);
    store();
}

int RuleSettingsDialog::onCommand(MessageRecord& m, int id, int code) {
    if (id == kIdRuleSet && code == SelectionChanged) {
        if (filling_) return 1;
        const int ruleId = control<QComboBox>(kIdRuleSet)->currentData().toInt();
        ruleSet_.ruleId = static_cast<uint8_t>(ruleId);
        if (ruleId != kCustomRuleId) {
            if (const RuleSet* chosen = rules_.ruleSet(unsigned(ruleId)))
                static_cast<RuleSettings&>(ruleSet_) = *chosen;
            ruleSet_.ruleId = static_cast<uint8_t>(ruleId);
        }
        fill();
        return 1;
    }
    if (id >= kIdFirstLeft && id < kIdFirstRight && rowOf(id - kIdFirstLeft) >= 0) {
        clickRule(id - kIdFirstLeft, true);
        return 1;
    }
    if (id >= kIdFirstRight && id < kIdOkButton && rowOf(id - kIdFirstRight) >= 0) {
        clickRule(id - kIdFirstRight, false);
        return 1;
    }
    if (id == kIdOkButton) {
        store();
        if (mode_ == EditRuleSet) {
            const QString name = control<QLineEdit>(kIdName)->text();
            const std::optional<std::string> bytes = bytesOfText(name);
            if (name.isEmpty() || !bytes) {
                showMessage("注意", "ルール名を設定してください。", PromptIcon::Exclamation,
                            PromptButtons::Ok, this);
                return 1;
            }
            ruleSet_.name = *bytes;
        }
        result = kIdOk;
        end();
        return 1;
    }
    return PictureDialog::onCommand(m, id, code);
}

}  // namespace kv
