// The map settings dialog.
#include "app/map_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "app/rule_dialog.h"
#include "app/text_fields.h"
#include "app/victory_dialog.h"
#include "document/map_document.h"
#include "framework/errors.h"
#include "framework/prompter.h"
#include "framework/sound.h"
#include "gamedata/rules.h"
#include "scenario/victory_block.h"

namespace kv {

namespace {

using D = MapSettingsDialog;

constexpr int kRowTop = 176, kRowHeight = 138;
constexpr const char* kRanks[] = {"設定なし",   "部隊長", "統合部隊長", "連隊長",
                                  "統合連隊長", "師団長", "統合師団長"};
constexpr const char* kBehaviours[] = {"侵攻重視", "防御重視", "攻防均等"};
constexpr const char* kParticipation[] = {"不参戦", "USER", "COMP"};
constexpr int kShareIds[3] = {D::kIdAirShare, D::kIdLandShare, D::kIdSeaShare};

// Selects the item whose data is `value`; `fallback` (an index, -1 for none) when none has it.
void selectData(QComboBox* box, int value, int fallback) {
    const int i = box->findData(value);
    box->setCurrentIndex(i >= 0 ? i : fallback);
}

QString numberText(int64_t v) {
    return QString::number(static_cast<qlonglong>(v));
}

}  // namespace

MapSettingsDialog::MapSettingsDialog(Window* ownerWindow, MapDocument& doc)
    : Dialog(kTemplateId, ownerWindow), doc_(doc), settings_(mapSettingsOf(doc)) {
    title = "マップ設定";
    setFixedClientSize(kWidth, kHeight);
    for (int s = 0; s < kFactionCount; ++s) {
        numbers_[size_t(s)] = FactionNumbers::of(settings_.factions[size_t(s)]);
        groups_[size_t(s)] = settings_.factions[size_t(s)].alliances();
    }
}

MapSettingsDialog::~MapSettingsDialog() = default;

// --- building ---------------------------------------------------------------------------------

int MapSettingsDialog::onInitDialog() {
    filling_ = true;
    addMapControls();
    for (int r = 0; r < kRows; ++r) addRow(r);
    addButton(kIdOkButton, "OK", kWidth - 190, kHeight - 34, 84, 26)->setDefault(true);
    addButton(kIdCancelButton, "ｷｬﾝｾﾙ", kWidth - 96, kHeight - 34, 84, 26);
    fillMap();
    for (int r = 0; r < kRows; ++r) fillRow(r);
    showAlliances();
    filling_ = false;
    return 0;
}

void MapSettingsDialog::addMapControls() {
    addLabel(" ﾏｯﾌﾟ名：", 10, 12, 66, 20);
    limitToBytes(addEdit(kIdMapName, 78, 10, 330, 22), 40);
    addLabel(" 難易度：", 420, 12, 60, 20);
    QComboBox* difficulty = addCombo(kIdDifficulty, 482, 10, 110, 22);
    for (int k = 0; k <= 5; ++k)
        difficulty->addItem(QString(k, QChar(0x2605)) + QString(5 - k, QChar(0x2606)), k);
    addLabel("日数制限：", 604, 12, 66, 20);
    digitsOnly(addEdit(kIdTurnLimit, 672, 10, 30, 22), 2);
    addLabel("日間", 706, 12, 40, 20);

    addLabel("建物収入：", 10, 42, 66, 20);
    addRadio(kIdIncomeOn, "あり", 78, 40, 54, 22, kNewGroup);
    addRadio(kIdIncomeOff, "なし", 134, 40, 54, 22);
    addLabel("設定変更：", 200, 42, 66, 20);
    addRadio(kIdSettingsFree, "可能", 268, 40, 54, 22, kNewGroup);
    addRadio(kIdSettingsLocked, "不可", 324, 40, 54, 22);
    addLabel("操作階級：", 400, 42, 66, 20);
    QComboBox* rank = addCombo(kIdOperationRank, 468, 40, 110, 22);
    for (int i = 0; i < 7; ++i) rank->addItem(QString::fromUtf8(kRanks[i]), i);
    addButton(kIdRules, "ルール設定", 590, 38, 76, 26);
    addButton(kIdVictory, "勝利条件設定", 670, 38, 80, 26);

    addLabel("メッセージ：", 10, 72, 66, 20);
    QPlainTextEdit* message = addMultiLineEdit(kIdMessage, 78, 70, 672, 62);
    limitToBytes(message, 512);

    auto* tabs = add<QTabBar>(kIdTabs, 10, 142, 300, 26);
    for (int t = 0; t < 2; ++t) {
        QStringList words;
        for (int r = 0; r < kRows; ++r)
            words << QString::fromUtf8(std::string(factionColourName(r + kRows * t)).c_str());
        tabs->addTab(words.join(QStringLiteral("･")));
    }
    QObject::connect(tabs, &QTabBar::currentChanged, tabs, [this](int t) {
        if (!filling_) tabChanged(t);
    });
}

void MapSettingsDialog::addRow(int r) {
    const int y = kRowTop + kRowHeight * r;
    addGroup(0, "", 10, y - 6, kWidth - 20, kRowHeight - 4);
    QLabel* word = addLabel(kIdColourWord + r, "", 20, y + 2, 56, 20);
    word->setStyleSheet(QStringLiteral("font-weight: bold"));
    addLabel("参戦", 80, y + 2, 30, 20);
    QComboBox* part = addCombo(kIdParticipation + r, 110, y, 70, 22);
    for (int v = 0; v < 3; ++v) part->addItem(QString::fromUtf8(kParticipation[v]), v);
    limitToBytes(addEdit(kIdFactionName + r, 186, y, 150, 22), 16);
    addLabel("ﾀｲﾌﾟ", 344, y + 2, 30, 20);
    QComboBox* type = addCombo(kIdProductType + r, 376, y, 170, 22);
    const GameDatabase& db = doc_.gameDatabase;
    for (int t = 0; t < ProductTypeData::kStandardSlots + ProductTypeData::kUserSlots; ++t) {
        const std::string name = db.productType(t).name();
        if (!name.empty()) type->addItem(textOfBytes(name), t);
    }
    addLabel("行動", 556, y + 2, 30, 20);
    QComboBox* behaviour = addCombo(kIdBehaviour + r, 588, y, 90, 22);
    for (int v = 0; v < 3; ++v) behaviour->addItem(QString::fromUtf8(kBehaviours[v]), v);

    const int y1 = y + 28;
    addLabel("資金", 20, y1 + 2, 30, 20);
    digitsOnly(addEdit(kIdFunds + r, 52, y1, 90, 22), 9);
    addLabel("上限", 150, y1 + 2, 30, 20);
    digitsOnly(addEdit(kIdFundsLimit + r, 182, y1, 90, 22), 9);
    addLabel("生産", 280, y1 + 2, 30, 20);
    digitsOnly(addEdit(kIdProductionLimit + r, 312, y1, 40, 22), 3);
    addLabel("国歌", 364, y1 + 2, 30, 20);
    QComboBox* anthem = addCombo(kIdAnthem + r, 396, y1, 250, 22);
    anthem->addItem(QStringLiteral("自動設定"), 0);
    const std::vector<std::string>& anthems = db.anthemNames();
    for (size_t i = 0; i < anthems.size() && i + FactionRecord::kFirstAnthem < 256; ++i)
        anthem->addItem(textOfBytes(anthems[i]), int(FactionRecord::kFirstAnthem + i));
    addButton(kIdPlayAnthem + r, "♪", 650, y1, 28, 22);

    const int y2 = y + 56;
    addLabel("配分", 20, y2 + 2, 30, 20);
    QComboBox* preset = addCombo(kIdPreset + r, 52, y2, 150, 22);
    preset->addItem(QStringLiteral("カスタム"), int{FactionRecord::kCustomPreset});
    for (const ProductionPreset& p : db.presets())
        if (p.defined) preset->addItem(textOfBytes(p.name), int{p.number});
    const char* branch[3] = {"空", "陸", "海"};
    for (int b = 0; b < 3; ++b) {
        addLabel(branch[b], 212 + 62 * b, y2 + 2, 16, 20);
        digitsOnly(addEdit(kShareIds[b] + r, 230 + 62 * b, y2, 36, 22), 3);
    }
    addLabel(kIdShareTotal + r, "", 400, y2 + 2, 80, 20);

    const int y3 = y + 84;
    addLabel("連隊部隊数", 20, y3 + 2, 70, 20);
    const char* division[3] = {"空軍", "陸軍", "海軍"};
    for (int d = 0; d < 3; ++d) {
        const int x = 92 + 112 * d;
        addLabel(division[d], x, y3 + 2, 30, 20);
        digitsOnly(addEdit(kIdRegiments + 3 * r + d, x + 32, y3, 30, 22), 2);
        digitsOnly(addEdit(kIdUnits + 3 * r + d, x + 66, y3, 34, 22), 2);
    }
    addLabel("USER連隊", 432, y3 + 2, 60, 20);
    digitsOnly(addEdit(kIdUserRegiments + r, 494, y3, 30, 22), 2);
    addLabel("USER部隊", 534, y3 + 2, 60, 20);
    digitsOnly(addEdit(kIdUserUnits + r, 596, y3, 30, 22), 2);

    const int y4 = y + 108;
    addLabel("同盟", 20, y4 + 2, 30, 20);
    for (int j = 0; j < kFactionCount; ++j)
        addCheck(kIdFirstAlliance + 6 * r + j, std::string(factionColourName(j)).c_str(),
                 56 + 84 * j, y4, 80, 22);
}

// --- filling and storing ----------------------------------------------------------------------

void MapSettingsDialog::fillMap() {
    control<QLineEdit>(kIdMapName)->setText(textOfBytes(settings_.mapName));
    QString message = textOfBytes(settings_.message);
    message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    control<QPlainTextEdit>(kIdMessage)->setPlainText(message);
    selectData(control<QComboBox>(kIdDifficulty), settings_.difficulty, -1);
    control<QLineEdit>(kIdTurnLimit)->setText(QString::number(settings_.turnLimit));
    control<QRadioButton>(settings_.buildingIncome == 1 ? kIdIncomeOn : kIdIncomeOff)
        ->setChecked(true);
    control<QRadioButton>(settings_.settingsLocked == 1 ? kIdSettingsLocked : kIdSettingsFree)
        ->setChecked(true);
    selectData(control<QComboBox>(kIdOperationRank), settings_.operationRank, 0);
}

void MapSettingsDialog::fillRow(int r) {
    const int s = slotOf(r);
    const FactionRecord& f = settings_.factions[size_t(s)];
    const FactionNumbers& n = numbers_[size_t(s)];
    const bool was = filling_;
    filling_ = true;
    control<QLabel>(kIdColourWord + r)
        ->setText(QString::fromUtf8(std::string(factionColourName(s)).c_str()));
    selectData(control<QComboBox>(kIdParticipation + r), f.participation(), 0);
    control<QLineEdit>(kIdFactionName + r)->setText(textOfBytes(f.name()));
    selectData(control<QComboBox>(kIdProductType + r), f.productionType(), -1);
    selectData(control<QComboBox>(kIdBehaviour + r), f.behaviour(), -1);
    control<QLineEdit>(kIdFunds + r)->setText(numberText(n.funds));
    control<QLineEdit>(kIdFundsLimit + r)->setText(numberText(n.fundsLimit));
    control<QLineEdit>(kIdProductionLimit + r)->setText(numberText(n.productionCountLimit));
    selectData(control<QComboBox>(kIdAnthem + r), f.anthem(), 0);
    selectData(control<QComboBox>(kIdPreset + r), f.preset(), 0);
    for (int b = 0; b < 3; ++b)
        control<QLineEdit>(kShareIds[b] + r)->setText(numberText(n.shares[size_t(b)]));
    for (int d = 0; d < 3; ++d) {
        control<QLineEdit>(kIdRegiments + 3 * r + d)
            ->setText(numberText(n.divisionLimits[size_t(d)]));
        control<QLineEdit>(kIdUnits + 3 * r + d)
            ->setText(numberText(n.divisionLimits[size_t(d + 3)]));
    }
    control<QLineEdit>(kIdUserRegiments + r)->setText(numberText(n.divisionLimits[6]));
    control<QLineEdit>(kIdUserUnits + r)->setText(numberText(n.divisionLimits[7]));
    showTotal(r);
    enableRow(r);
    filling_ = was;
}

void MapSettingsDialog::enableRow(int r) {
    const bool on = settings_.factions[size_t(slotOf(r))].takesPart();
    const int ids[] = {kIdFactionName, kIdProductType,     kIdBehaviour, kIdFunds,
                       kIdFundsLimit,  kIdProductionLimit, kIdAnthem,    kIdPlayAnthem,
                       kIdPreset,      kIdUserRegiments,   kIdUserUnits};
    for (int id : ids)
        if (QWidget* w = handle()->findChild<QWidget*>(QString::number(id + r))) w->setEnabled(on);
    for (int d = 0; d < 3; ++d) {
        control<QLineEdit>(kIdRegiments + 3 * r + d)->setEnabled(on);
        control<QLineEdit>(kIdUnits + 3 * r + d)->setEnabled(on);
    }
    const bool custom =
        control<QComboBox>(kIdPreset + r)->currentData().toInt() == FactionRecord::kCustomPreset;
    for (int id : kShareIds) control<QLineEdit>(id + r)->setEnabled(on && custom);
}

void MapSettingsDialog::showAlliances() {
    const uint8_t part = participating();
    const bool was = filling_;
    filling_ = true;
    for (int r = 0; r < kRows; ++r) {
        const int p = slotOf(r);
        for (int j = 0; j < kFactionCount; ++j) {
            QCheckBox* box = control<QCheckBox>(kIdFirstAlliance + 6 * r + j);
            box->setChecked(groups_[size_t(p)] & (1u << j));
            box->setEnabled(allianceBoxEnabled(part, p, j));
        }
    }
    filling_ = was;
}

void MapSettingsDialog::showTotal(int r) {
    int64_t sum = 0;
    for (int id : kShareIds) sum += numberIn(control<QLineEdit>(id + r));
    control<QLabel>(kIdShareTotal + r)
        ->setText(QString::asprintf("合計%4lld", static_cast<long long>(sum)));
}

void MapSettingsDialog::storeRow(int r) {
    const int s = slotOf(r);
    FactionRecord& f = settings_.factions[size_t(s)];
    if (!f.takesPart()) return;
    const QString name = control<QLineEdit>(kIdFactionName + r)->text();
    // An unchanged name keeps its bytes; a new one is stored as far as CP932 can hold it.
    if (name != textOfBytes(f.name()))
        if (const std::optional<std::string> bytes = bytesOfText(name)) f.setName(*bytes);
    const QComboBox* type = control<QComboBox>(kIdProductType + r);
    if (type->currentIndex() >= 0) {
        const int t = type->currentData().toInt();
        // The faction's list is replaced only when it gets another type.
        if (t != f.productionType()) {
            f.setProductionType(static_cast<uint8_t>(t));
            settings_.productionLists[size_t(s)] = doc_.gameDatabase.productType(t);
        }
    }
    FactionNumbers& n = numbers_[size_t(s)];
    for (int b = 0; b < 3; ++b)
        n.shares[size_t(b)] = numberIn(control<QLineEdit>(kShareIds[b] + r));
    f.setPreset(static_cast<uint8_t>(control<QComboBox>(kIdPreset + r)->currentData().toInt()));
    n.funds = numberIn(control<QLineEdit>(kIdFunds + r));
    n.fundsLimit = numberIn(control<QLineEdit>(kIdFundsLimit + r));
    n.productionCountLimit = numberIn(control<QLineEdit>(kIdProductionLimit + r));
    for (int d = 0; d < 3; ++d) {
        n.divisionLimits[size_t(d)] = numberIn(control<QLineEdit>(kIdRegiments + 3 * r + d));
        n.divisionLimits[size_t(d + 3)] = numberIn(control<QLineEdit>(kIdUnits + 3 * r + d));
    }
    n.divisionLimits[6] = numberIn(control<QLineEdit>(kIdUserRegiments + r));
    n.divisionLimits[7] = numberIn(control<QLineEdit>(kIdUserUnits + r));
    const int anthem = control<QComboBox>(kIdAnthem + r)->currentData().toInt();
    f.setAnthem(static_cast<uint8_t>(anthem));
    const std::vector<std::string>& names = doc_.gameDatabase.anthemNames();
    if (anthem >= FactionRecord::kFirstAnthem &&
        size_t(anthem - FactionRecord::kFirstAnthem) < names.size())
        f.setAnthemName(names[size_t(anthem - FactionRecord::kFirstAnthem)]);
    const QComboBox* behaviour = control<QComboBox>(kIdBehaviour + r);
    if (behaviour->currentIndex() >= 0)
        f.setBehaviour(static_cast<uint8_t>(behaviour->currentData().toInt()));
}

bool MapSettingsDialog::warn(const std::string& text) {
    if (text.empty()) return false;
    showMessage("注意", text, PromptIcon::Exclamation, PromptButtons::Ok, this);
    return true;
}

bool MapSettingsDialog::checkShownRows() {
    for (int r = 0; r < kRows; ++r) {
        const int s = slotOf(r);
        if (settings_.factions[size_t(s)].takesPart() && warn(checkFactionRow(numbers_[size_t(s)])))
            return false;
    }
    return true;
}

// --- reactions --------------------------------------------------------------------------------

void MapSettingsDialog::tabChanged(int tab) {
    for (int r = 0; r < kRows; ++r) storeRow(r);
    auto* tabs = control<QTabBar>(kIdTabs);
    if (!checkShownRows()) {
        filling_ = true;
        tabs->setCurrentIndex(tab_);
        filling_ = false;
        return;
    }
    tab_ = tab;
    filling_ = true;
    for (int r = 0; r < kRows; ++r) fillRow(r);
    showAlliances();
    filling_ = false;
}

void MapSettingsDialog::participationChanged(int r) {
    const int s = slotOf(r);
    const int v = control<QComboBox>(kIdParticipation + r)->currentData().toInt();
    settings_.factions[size_t(s)].setParticipation(static_cast<uint8_t>(v));
    if (v == kFactionAbsent) afterWithdrawal(groups_, participating());
    enableRow(r);
    showAlliances();
}

void MapSettingsDialog::allianceClicked(int r, int j) {
    const int p = slotOf(r);
    if (control<QCheckBox>(kIdFirstAlliance + 6 * r + j)->isChecked()) {
        joinAlliance(groups_, participating(), p, j);
    } else {
        leaveAlliance(groups_, p, j);
    }
    showAlliances();
}

void MapSettingsDialog::presetChosen(int r) {
    const int number = control<QComboBox>(kIdPreset + r)->currentData().toInt();
    if (const ProductionPreset* p = doc_.gameDatabase.preset(number);
        p && number != FactionRecord::kCustomPreset) {
        const uint8_t shares[3] = {p->airShare, p->landShare, p->seaShare};
        for (int b = 0; b < 3; ++b)
            control<QLineEdit>(kShareIds[b] + r)->setText(QString::number(shares[b]));
    }
    enableRow(r);
    showTotal(r);
}

void MapSettingsDialog::openRules() {
    RuleSet copy;
    static_cast<RuleSettings&>(copy) = settings_.rules;
    RuleSettingsDialog d(this, doc_.gameDatabase, copy, RuleSettingsDialog::ChooseForScenario);
    if (!d.run() || d.result != kIdOk) return;
    const bool limitChanged = d.ruleSet().value(50) != settings_.rules.value(50);
    if (limitChanged)
        for (int r = 0; r < kRows; ++r) storeRow(r);
    settings_.rules = d.ruleSet();
    if (limitChanged)
        for (int r = 0; r < kRows; ++r) fillRow(r);
}

void MapSettingsDialog::openVictory() {
    const uint8_t part = participating();
    if (part == 0) {
        showMessage("注意", "参加陣営がありません。", PromptIcon::Exclamation, PromptButtons::Ok,
                    this);
        return;
    }
    VictoryConditionDialog d(this, VictoryBlock::of(settings_.factions), part);
    if (!d.run() || d.result != kIdOk) return;
    d.block().writeTo(settings_.factions);
}

void MapSettingsDialog::playAnthem(int r) {
    if (!anthem_) anthem_ = std::make_unique<AnthemPreview>(this);
    anthem_->stop();
    const int data = control<QComboBox>(kIdAnthem + r)->currentData().toInt();
    const std::vector<std::string>& files = doc_.gameDatabase.anthemFiles();
    const int i = data - FactionRecord::kFirstAnthem;
    if (i < 0 || size_t(i) >= files.size()) return;
    try {
        anthem_->play(files[size_t(i)]);
    } catch (const swCError& e) {
        e.report(this);
    }
}

void MapSettingsDialog::accept() {
    for (int r = 0; r < kRows; ++r) storeRow(r);
    const uint8_t part = participating();
    for (int s = 0; s < kFactionCount; ++s)
        if ((part & (1u << s)) && warn(checkFactionRow(numbers_[size_t(s)]))) return;
    if (warn(checkFactionTotals(numbers_, part, settings_.rules.value(50) != 0))) return;
    const int64_t turns = numberIn(control<QLineEdit>(kIdTurnLimit));
    if (warn(checkTurnLimit(static_cast<int>(std::min<int64_t>(turns, MapHeader::kMaxTurnLimit)),
                            latestAppearanceTurn(doc_))))
        return;
    // Texts: unchanged ones keep their bytes; new ones must be CP932.
    const QString name = control<QLineEdit>(kIdMapName)->text();
    QString message = control<QPlainTextEdit>(kIdMessage)->toPlainText();
    message.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    std::string nameBytes = settings_.mapName, messageBytes = settings_.message;
    if (name != textOfBytes(nameBytes)) {
        const std::optional<std::string> b = bytesOfText(name);
        if (!b) {
            warn("マップ名に使用できない文字が含まれています。");
            return;
        }
        nameBytes = *b;
    }
    if (message != textOfBytes(messageBytes)) {
        const std::optional<std::string> b = bytesOfText(message);
        if (!b) {
            warn("メッセージに使用できない文字が含まれています。");
            return;
        }
        messageBytes = *b;
    }
    for (int s = 0; s < kFactionCount; ++s) {
        FactionRecord& f = settings_.factions[size_t(s)];
        if (f.takesPart()) numbers_[size_t(s)].storeInto(f);
        f.setAlliances(groups_[size_t(s)]);
    }
    settings_.mapName = nameBytes;
    settings_.message = messageBytes;
    settings_.turnLimit = static_cast<int>(turns);
    // A value the list does not offer stays as it was.
    if (const QComboBox* d = control<QComboBox>(kIdDifficulty); d->currentIndex() >= 0)
        settings_.difficulty = static_cast<uint8_t>(d->currentData().toInt());
    settings_.buildingIncome = control<QRadioButton>(kIdIncomeOn)->isChecked() ? 1 : 0;
    settings_.settingsLocked = control<QRadioButton>(kIdSettingsLocked)->isChecked() ? 1 : 0;
    settings_.operationRank =
        static_cast<uint8_t>(control<QComboBox>(kIdOperationRank)->currentData().toInt());
    if (anthem_) anthem_->stop();
    applyMapSettings(doc_, settings_);
    result = kIdOk;
    end();
}

void MapSettingsDialog::cancel() {
    // Nothing reached the document: the factions, lists and rules it holds are the ones it had.
    if (anthem_) anthem_->stop();
    result = 0;
    end();
}

int MapSettingsDialog::onCommand(MessageRecord& m, int id, int code) {
    if (id == kIdOkButton || id == kIdOk) {
        accept();
        return 1;
    }
    if (id == kIdCancelButton || id == kIdCancel) {
        cancel();
        return 1;
    }
    if (id == kIdRules) {
        openRules();
        return 1;
    }
    if (id == kIdVictory) {
        openVictory();
        return 1;
    }
    if (filling_) return Dialog::onCommand(m, id, code);
    if (id >= kIdFirstAlliance && id < kIdFirstAlliance + 6 * kRows) {
        allianceClicked((id - kIdFirstAlliance) / 6, (id - kIdFirstAlliance) % 6);
        return 1;
    }
    for (int r = 0; r < kRows; ++r) {
        if (id == kIdParticipation + r && code == SelectionChanged) {
            participationChanged(r);
            return 1;
        }
        if (id == kIdPreset + r && code == SelectionChanged) {
            presetChosen(r);
            return 1;
        }
        if (id == kIdPlayAnthem + r) {
            playAnthem(r);
            return 1;
        }
        for (int share : kShareIds) {
            if (id == share + r && code == TextChanged) {
                showTotal(r);
                return 1;
            }
        }
    }
    return Dialog::onCommand(m, id, code);
}

}  // namespace kv
