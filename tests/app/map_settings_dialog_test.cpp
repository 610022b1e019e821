// The map settings dialog, the rule and victory-condition picture dialogs and the rule editor,
// driven through their controls with the prompter answering.
#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <deque>
#include <filesystem>
#include <functional>
#include <set>

#include <gtest/gtest.h>

#include "app/map_settings_dialog.h"
#include "app/picture_dialog.h"
#include "app/rule_dialog.h"
#include "app/rule_editor.h"
#include "app/victory_dialog.h"
#include "document/map_file.h"
#include "framework/data_paths.h"
#include "framework/picture.h"
#include "gamedata/rule_set.h"
#include "tests/document/sample_document.h"

namespace kv {
namespace {

// Runs `dialog`; each dialog that opens (the outer one first, then any it opens) gets the next
// step once it is up.
class Steps {
public:
    using Step = std::function<void(Dialog&)>;
    explicit Steps(std::initializer_list<Step> steps) : steps_(steps) {
        Dialog::onModalStart = [this](Dialog& d) {
            if (steps_.empty()) return;
            Step s = std::move(steps_.front());
            steps_.pop_front();
            QTimer::singleShot(0, [&d, s] { s(d); });
        };
    }
    ~Steps() { Dialog::onModalStart = nullptr; }
    bool done() const { return steps_.empty(); }

private:
    std::deque<Step> steps_;
};

template <class T>
T* ctl(Dialog& d, int id) {
    T* c = d.control<T>(id);
    EXPECT_NE(c, nullptr) << id;
    return c;
}
void press(Dialog& d, int id) {
    if (auto* b = d.control<QAbstractButton>(id)) b->click();
}
bool checked(Dialog& d, int id) {
    auto* b = d.control<QAbstractButton>(id);
    return b && b->isChecked();
}
bool enabled(Dialog& d, int id) {
    auto* w = d.handle()->findChild<QWidget*>(QString::number(id));
    return w && w->isEnabled();
}
void setText(Dialog& d, int id, const QString& text) {
    ctl<QLineEdit>(d, id)->setText(text);
}

using R = RuleSettingsDialog;
using V = VictoryConditionDialog;
using M = MapSettingsDialog;

class SettingsDialogs : public kvtest::SampleDocument {
protected:
    void SetUp() override {
        kvtest::SampleDocument::SetUp();
        setPrompter(&prompts_);
    }
    void TearDown() override {
        setPrompter(nullptr);
        kvtest::SampleDocument::TearDown();
    }
    RecordingPrompter prompts_;
};

// --- the rule dialog -------------------------------------------------------------------------

TEST_F(SettingsDialogs, RuleDialogChoosesSetsOrEditsRulesByHand) {
    const RuleData& rules = doc().gameDatabase;
    ASSERT_GE(rules.ruleSets().size(), 2u);
    const RuleSet& chosen = rules.ruleSets()[1];
    RuleSet start;
    static_cast<RuleSettings&>(start) = chosen;
    bool allDisabled = true, zocOn = false;
    {
        Steps steps{[&](Dialog& d) {
            for (const R::Row& r : R::kRows)
                allDisabled = allDisabled && !enabled(d, R::kIdFirstLeft + r.rule) &&
                              !enabled(d, R::kIdFirstRight + r.rule);
            // カスタム keeps the values of the set last chosen and makes them editable.
            ctl<QComboBox>(d, R::kIdRuleSet)->setCurrentIndex(0);
            zocOn = checked(d, R::kIdFirstLeft + 1) == (chosen.value(1) == 1);
            EXPECT_TRUE(enabled(d, R::kIdFirstLeft + 1) && enabled(d, R::kIdFirstRight + 1));
            press(d, R::kIdFirstRight + 3);  // 索敵 off: 隠蔽 shown off and fixed
            EXPECT_TRUE(checked(d, R::kIdFirstRight + 10));
            EXPECT_FALSE(enabled(d, R::kIdFirstLeft + 10) || enabled(d, R::kIdFirstRight + 10));
            press(d, R::kIdFirstLeft + 25);
            EXPECT_FALSE(enabled(d, R::kIdFirstLeft + 25));  // the chosen button stays down
            press(d, R::kIdOkButton);
        }};
        R d(nullptr, rules, start, R::ChooseForScenario);
        d.run();
        ASSERT_EQ(d.result, kIdOk);
        EXPECT_EQ(d.ruleSet().ruleId, kCustomRuleId);
        EXPECT_EQ(d.ruleSet().value(3), 0);
        EXPECT_EQ(d.ruleSet().value(10), 0);
        EXPECT_EQ(d.ruleSet().value(25), 0);  // the inverted rule: its left button stores 0
        // Rows left alone keep their stored bytes, whatever they held.
        EXPECT_EQ(d.ruleSet().values[33], chosen.values[33]);
    }
    EXPECT_TRUE(allDisabled);
    EXPECT_TRUE(zocOn);

    // A rule set chosen replaces the whole record.
    RuleSet custom;
    custom.ruleId = kCustomRuleId;
    custom.values.fill(7);
    {
        Steps steps{[&](Dialog& d) {
            ctl<QComboBox>(d, R::kIdRuleSet)->setCurrentIndex(2);
            press(d, R::kIdOkButton);
        }};
        R d(nullptr, rules, custom, R::ChooseForScenario);
        d.run();
        EXPECT_EQ(0, std::memcmp(&static_cast<const RuleSettings&>(d.ruleSet()),
                                 &static_cast<const RuleSettings&>(chosen), sizeof(RuleSettings)));
    }

    // Editing a rule set: an empty name refuses OK and the dialog stays.
    RuleSet named = chosen;
    named.name = "X";
    {
        Steps steps{[&](Dialog& d) {
            setText(d, R::kIdName, "");
            press(d, R::kIdOkButton);
            EXPECT_TRUE(d.dialog()->isVisible());
            setText(d, R::kIdName, QStringLiteral("新ルール"));
            press(d, R::kIdOkButton);
        }};
        R d(nullptr, rules, named, R::EditRuleSet);
        d.run();
        EXPECT_EQ(d.result, kIdOk);
        EXPECT_EQ(d.ruleSet().name, "\x90\x56\x83\x8B\x81\x5B\x83\x8B");  // 新ルール in CP932
    }
    ASSERT_EQ(prompts_.seen.size(), 1u);
    EXPECT_EQ(prompts_.seen[0].caption, "注意");
    EXPECT_EQ(prompts_.seen[0].text, "ルール名を設定してください。");
}

TEST_F(SettingsDialogs, PictureDialogsAreRoundedCancelOnARightClickAndSurviveAMissingPicture) {
    const int insets[] = {9, 6, 4, 3, 2, 2, 1, 1, 1, 0};
    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(PictureDialog::cornerInset(row, 560), insets[row]) << row;
        EXPECT_EQ(PictureDialog::cornerInset(559 - row, 560), insets[row]) << row;
    }
    RuleSet set;
    QRegion shape;
    {
        Steps steps{[&](Dialog& d) {
            shape = d.dialog()->mask();
            EXPECT_EQ(d.dialog()->size(), QSize(R::kWidth, R::kHeight));
            // A right click on a control is Cancel.
            QTest::mouseClick(ctl<QWidget>(d, R::kIdFirstLeft + 1), Qt::RightButton);
        }};
        R d(nullptr, doc().gameDatabase, set, R::ChooseForScenario);
        d.run();
        EXPECT_EQ(d.result, 0);
    }
    // Every face of both dialogs, in all four looks, lies inside the button sheet, and the
    // backgrounds have the dialogs' sizes.
    const QImage sheet = loadPicture(PictureDialog::kButtonSheet).image();
    const auto facesInside = [&](Dialog& d) {
        for (PictureButton* b : d.handle()->findChildren<PictureButton*>()) {
            const QRect last(b->face() + QPoint(0, 3 * PictureButton::kLookStep), b->size());
            EXPECT_TRUE(sheet.rect().contains(last)) << b->objectName().toStdString();
        }
        EXPECT_EQ(static_cast<PictureDialog&>(d).background().size(), d.dialog()->size());
        press(d, static_cast<PictureDialog&>(d).cancelId());
    };
    {
        Steps steps{facesInside};
        R d(nullptr, doc().gameDatabase, set, R::EditRuleSet);
        d.run();
    }
    {
        Steps steps{facesInside};
        V d(nullptr, VictoryBlock{}, 0b111111);
        d.run();
    }
    EXPECT_FALSE(shape.contains(QPoint(8, 0)));
    EXPECT_TRUE(shape.contains(QPoint(9, 0)));
    EXPECT_FALSE(shape.contains(QPoint(R::kWidth - 1, R::kHeight - 1)));
    EXPECT_TRUE(shape.contains(QPoint(0, 9)));
    EXPECT_TRUE(prompts_.seen.empty());

    // Without its background the dialog says so and still works.
    std::filesystem::rename(dataPath("rule.bmp", DataKind::Bmp),
                            dataPath("gone.bmp", DataKind::Bmp));
    {
        Steps steps{[&](Dialog& d) {
            press(d, R::kIdFirstRight + 1);
            press(d, R::kIdOkButton);
        }};
        R d(nullptr, doc().gameDatabase, set, R::ChooseForScenario);
        d.run();
        EXPECT_EQ(d.result, kIdOk);
    }
    std::filesystem::rename(dataPath("gone.bmp", DataKind::Bmp),
                            dataPath("rule.bmp", DataKind::Bmp));
    ASSERT_EQ(prompts_.seen.size(), 1u);
    EXPECT_NE(prompts_.seen[0].caption.find("rule.bmp"), std::string::npos);
}

// --- the victory-condition dialog ------------------------------------------------------------

TEST_F(SettingsDialogs, VictoryDialogChecksTheSlotItLeavesAndEnablesOkOnlyForAChange) {
    std::array<FactionRecord, kFactionCount> factions{};
    factions[1].setVictory(VictoryBlock::Building, 2);
    factions[1].setVictory(VictoryBlock::Options, 0x81);  // other bits ride along
    factions[1].setVictoryValue(2, 12345);
    const VictoryBlock block = VictoryBlock::of(factions);
    const uint8_t part = 0b000111;  // slots 0, 1, 2
    {
        Steps steps{[&](Dialog& dlg) {
            auto& d = static_cast<V&>(dlg);
            // Slot 0, all zero: no condition, the options off and fixed, 100 in the count.
            EXPECT_EQ(d.currentSlot(), 0);
            EXPECT_TRUE(checked(d, V::kIdBuildingNone) && checked(d, V::kIdTroopNone) &&
                        checked(d, V::kIdTransportNone));
            EXPECT_FALSE(checked(d, V::kIdTwoWayClear) || checked(d, V::kIdTwoWaySet));
            EXPECT_FALSE(enabled(d, V::kIdTwoWayClear) || enabled(d, V::kIdTwoWaySet));
            EXPECT_EQ(ctl<QLineEdit>(d, V::kIdTransportCount)->text(), "100");
            EXPECT_FALSE(enabled(d, V::kIdTransportCount));
            EXPECT_FALSE(enabled(d, V::kIdOkButton));
            press(d, V::kIdTroop1);
            EXPECT_TRUE(enabled(d, V::kIdOkButton));
            EXPECT_TRUE(checked(d, V::kIdTwoWayClear));
            press(d, V::kIdTroopNone);  // undone by hand
            EXPECT_FALSE(enabled(d, V::kIdOkButton));
            // Transport on with 0, then 101: leaving the slot is refused, it stays current.
            press(d, V::kIdTransportOn);
            for (const char* bad : {"0", "101"}) {
                setText(d, V::kIdTransportCount, bad);
                press(d, V::kIdFirstSlot + 1);
                EXPECT_EQ(d.currentSlot(), 0);
                EXPECT_TRUE(checked(d, V::kIdFirstSlot + 0));
                EXPECT_FALSE(checked(d, V::kIdFirstSlot + 1));
            }
            press(d, V::kIdOkButton);  // refused as well
            setText(d, V::kIdTransportCount, "100");
            press(d, V::kIdFirstSlot + 1);
            EXPECT_EQ(d.currentSlot(), 1);
            // Slot 1 shows its own values, not slot 0's.
            EXPECT_TRUE(checked(d, V::kIdBuilding2));
            EXPECT_TRUE(checked(d, V::kIdTransportNone));
            EXPECT_TRUE(checked(d, V::kIdFirstValueOn + 4));
            EXPECT_EQ(ctl<QLineEdit>(d, V::kIdFirstValueEdit + 2)->text(), "12345");
            press(d, V::kIdTwoWaySet);
            press(d, V::kIdFirstValueOn);  // the first value on, with 7
            setText(d, V::kIdFirstValueEdit + 0, "7");
            press(d, V::kIdOkButton);
        }};
        V d(nullptr, block, part);
        d.run();
        ASSERT_EQ(d.result, kIdOk);
        const VictoryBlock& out = d.block();
        EXPECT_EQ(out.victory(0, VictoryBlock::Transport), 100);
        EXPECT_EQ(out.victory(0, VictoryBlock::Troop), 0);
        EXPECT_EQ(out.victory(1, VictoryBlock::Building), 2);
        EXPECT_EQ(out.victory(1, VictoryBlock::Options), 0x83);
        EXPECT_EQ(out.value(1, 0), 7);
        EXPECT_EQ(out.value(1, 2), 12345);
        EXPECT_EQ(out.victory(1, VictoryBlock::Transport), 0);  // none stores 0
    }
    ASSERT_EQ(prompts_.seen.size(), 3u);
    for (const Prompt& p : prompts_.seen)
        EXPECT_EQ(p.text, "達成機数には1～100までを指定してください。");
}

// --- the map settings dialog -----------------------------------------------------------------

TEST_F(SettingsDialogs, MapSettingsCancelLeavesTheDocumentAndChecksComeInOrder) {
    doc().factions[0].setParticipation(kFactionUser);
    doc().factions[1].setParticipation(kFactionComputer);
    const auto before = doc().factions;
    const auto lists = doc().productionLists;
    {
        Steps steps{[&](Dialog& d) {
            ctl<QComboBox>(d, M::kIdParticipation + 1)->setCurrentIndex(0);  // COMP → 不参戦
            EXPECT_FALSE(enabled(d, M::kIdFactionName + 1));
            // With two factions or fewer every alliance box is fixed.
            for (int j = 0; j < kFactionCount; ++j)
                EXPECT_FALSE(enabled(d, M::kIdFirstAlliance + j));
            ctl<QComboBox>(d, M::kIdProductType)->setCurrentIndex(1);
            press(d, M::kIdCancelButton);
        }};
        M d(nullptr, doc());
        d.run();
        EXPECT_EQ(d.result, 0);
    }
    for (int s = 0; s < kFactionCount; ++s) {
        EXPECT_EQ(doc().factions[size_t(s)].bytes, before[size_t(s)].bytes) << s;
        EXPECT_EQ(doc().productionLists[size_t(s)].bytes, lists[size_t(s)].bytes) << s;
    }

    // OK: shares first, then the funds limit, then the turn limit against a reinforcement.
    putTroop(0, 0, troop(kvtest::kTank, 2, 2, 21));
    {
        Steps steps{[&](Dialog& d) {
            setText(d, M::kIdAirShare, "40");
            setText(d, M::kIdLandShare, "30");
            setText(d, M::kIdSeaShare, "31");
            EXPECT_EQ(ctl<QLabel>(d, M::kIdShareTotal)->text(), "合計 101");
            // The rows shown are checked before another tab shows; failing, the tab stays.
            ctl<QTabBar>(d, M::kIdTabs)->setCurrentIndex(1);
            EXPECT_EQ(ctl<QTabBar>(d, M::kIdTabs)->currentIndex(), 0);
            EXPECT_EQ(static_cast<M&>(d).shownTab(), 0);
            setText(d, M::kIdFunds, "500");
            setText(d, M::kIdFundsLimit, "499");
            setText(d, M::kIdTurnLimit, "20");
            press(d, M::kIdOkButton);
            setText(d, M::kIdSeaShare, "30");
            press(d, M::kIdOkButton);
            setText(d, M::kIdFundsLimit, "500");  // equal to the funds: accepted
            press(d, M::kIdOkButton);
            setText(d, M::kIdTurnLimit, "21");
            press(d, M::kIdOkButton);
        }};
        M d(nullptr, doc());
        d.run();
        EXPECT_EQ(d.result, kIdOk);
    }
    std::vector<std::string> texts;
    for (const Prompt& p : prompts_.seen) texts.push_back(p.text);
    const std::string shares = "生産割合の設定で空陸海の合計が100になるよう設定してください。";
    EXPECT_EQ(texts, (std::vector<std::string>{
                         shares, shares, "軍資金上限には資金より大きい金額を設定してください。",
                         "ターン制限に増援ターン数以下の数値が設定されています。"}));
    EXPECT_EQ(doc().mapHeader.turnLimit(), 21);
    EXPECT_EQ(doc().factions[0].fundsLimit(), 500);
}

QJsonObject infoOf(const std::string& path) {
    const kvtest::CliRun run = kvtest::runKvmap("info --json " + path);
    EXPECT_EQ(run.code, 0) << run.out;
    const size_t from = run.out.find('{'), to = run.out.rfind('}');
    if (from == std::string::npos || to == std::string::npos) return {};
    return QJsonDocument::fromJson(QByteArray::fromStdString(run.out.substr(from, to - from + 1)))
        .object();
}

TEST_F(SettingsDialogs, EveryControlChangedReachesTheSavedFile) {
    for (int s = 0; s < 4; ++s) doc().factions[size_t(s)].setParticipation(kFactionComputer);
    const RuleData& rules = doc().gameDatabase;
    const std::vector<std::string>& anthems = rules.anthemNames();
    ASSERT_FALSE(anthems.empty());
    // The outer step opens the rule dialog, then the victory dialog, then presses OK; each
    // inner dialog takes the next step.
    Steps steps{
        [&](Dialog& d) {
            setText(d, M::kIdMapName, QStringLiteral("試験マップ"));
            ctl<QComboBox>(d, M::kIdDifficulty)->setCurrentIndex(3);
            setText(d, M::kIdTurnLimit, "45");
            press(d, M::kIdIncomeOn);
            press(d, M::kIdSettingsLocked);
            ctl<QComboBox>(d, M::kIdOperationRank)->setCurrentIndex(5);
            ctl<QPlainTextEdit>(d, M::kIdMessage)->setPlainText(QStringLiteral("一行目\n二行目"));
            ctl<QComboBox>(d, M::kIdParticipation)->setCurrentIndex(1);  // USER
            setText(d, M::kIdFactionName, QStringLiteral("青軍"));
            QComboBox* type = ctl<QComboBox>(d, M::kIdProductType);
            type->setCurrentIndex(type->count() - 1);
            ctl<QComboBox>(d, M::kIdBehaviour)->setCurrentIndex(1);
            setText(d, M::kIdFunds, "5000");
            setText(d, M::kIdFundsLimit, "9000");
            setText(d, M::kIdProductionLimit, "12");
            ctl<QComboBox>(d, M::kIdAnthem)->setCurrentIndex(1);
            ctl<QComboBox>(d, M::kIdPreset)->setCurrentIndex(0);
            setText(d, M::kIdAirShare, "50");
            setText(d, M::kIdLandShare, "30");
            setText(d, M::kIdSeaShare, "20");
            for (int dv = 0; dv < 3; ++dv) {
                setText(d, M::kIdRegiments + dv, QString::number(5 - dv));
                setText(d, M::kIdUnits + dv, QString::number(20 + dv));
            }
            setText(d, M::kIdUserRegiments, "2");
            setText(d, M::kIdUserUnits, "5");
            press(d, M::kIdFirstAlliance + 1);  // BLUE with RED
            ctl<QTabBar>(d, M::kIdTabs)->setCurrentIndex(1);
            setText(d, M::kIdFunds + 0, "4321");  // slot 3
            setText(d, M::kIdFundsLimit + 0, "4321");
            press(d, M::kIdRules);
            press(d, M::kIdVictory);
            press(d, M::kIdOkButton);
        },
        [&](Dialog& d) {
            ctl<QComboBox>(d, R::kIdRuleSet)->setCurrentIndex(0);
            press(d, R::kIdFirstRight + 1);  // ZOC off
            press(d, R::kIdOkButton);
        },
        [&](Dialog& d) {
            press(d, V::kIdBuilding1);  // slot 0, the first that takes part
            press(d, V::kIdOkButton);
        },
    };
    M d(nullptr, doc());
    d.run();
    ASSERT_EQ(d.result, kIdOk) << (prompts_.seen.empty() ? "" : prompts_.seen[0].text);
    EXPECT_TRUE(steps.done());

    kvtest::TempDir out;
    const std::string path = out.file("settings.kvs");
    writeMapFile(doc(), path, MapFileKind::Scenario);
    const QJsonObject info = infoOf(path);
    const QJsonObject h = info["mapHeader"].toObject();
    EXPECT_EQ(h["name"].toString(), QStringLiteral("試験マップ"));
    EXPECT_EQ(h["message"].toString(), QStringLiteral("一行目\r\n二行目"));
    EXPECT_EQ(h["difficulty"].toInt(), 3);
    EXPECT_EQ(h["turnLimit"].toInt(), 45);
    EXPECT_EQ(h["buildingIncome"].toInt(), 1);
    EXPECT_EQ(h["settingsLocked"].toInt(), 1);
    EXPECT_EQ(h["operationRank"].toInt(), 5);
    const QJsonObject f0 = info["factions"].toArray()[0].toObject();
    EXPECT_EQ(f0["participation"].toInt(), 1);
    EXPECT_EQ(f0["name"].toString(), QStringLiteral("青軍"));
    EXPECT_EQ(f0["behaviour"].toInt(), 1);
    EXPECT_EQ(f0["funds"].toInt(), 5000);
    EXPECT_EQ(f0["fundsLimit"].toInt(), 9000);
    EXPECT_EQ(f0["productionCountLimit"].toInt(), 12);
    EXPECT_EQ(f0["anthem"].toInt(), 100);
    EXPECT_EQ(f0["anthemName"].toString().toStdString(),
              QString::fromStdString(decodeCp932Lossy(anthems[0])).toStdString());
    EXPECT_EQ(f0["preset"].toInt(), 200);
    EXPECT_EQ(f0["shares"].toArray(), (QJsonArray{50, 30, 20}));
    EXPECT_EQ(f0["divisionLimits"].toArray(), (QJsonArray{5, 4, 3, 20, 21, 22, 2, 5}));
    EXPECT_EQ(f0["alliances"].toInt(), 0b11);
    EXPECT_EQ(info["factions"].toArray()[1].toObject()["alliances"].toInt(), 0b11);
    EXPECT_EQ(f0["victoryConditions"].toObject()["building"].toInt(), 1);
    EXPECT_EQ(info["factions"].toArray()[3].toObject()["funds"].toInt(), 4321);
    EXPECT_EQ(info["rules"].toObject()["ruleId"].toInt(), 200);
    EXPECT_EQ(info["rules"].toObject()["values"].toArray()[1].toInt(), 0);
    EXPECT_GT(f0["productionType"].toInt(), 0);
}

// --- the rule editor -------------------------------------------------------------------------

TEST_F(SettingsDialogs, RuleEditorSavesWithItsStampAndSurvivesAFailedWrite) {
    RuleData& rules = doc().gameDatabase;
    const std::string file = dataPath("class5.rul", DataKind::Rule);
    const std::string old = kvtest::readFile(file);
    {
        Steps steps{[&](Dialog& d) {
            setText(d, R::kIdName, QStringLiteral("夜戦"));
            press(d, R::kIdFirstRight + 22);
            press(d, R::kIdOkButton);
        }};
        RuleEditorDialog editor(nullptr, rules);
        editor.now = [] { return std::time_t(86400 * 365); };
        EXPECT_TRUE(editor.editRuleSet(5));
    }
    const RuleSet& saved = rules.ruleSets()[5];
    std::tm local{};
    const std::time_t when = 86400 * 365;
    localtime_r(&when, &local);
    char date[48];
    std::snprintf(date, sizeof date, "%04d/%02d/%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    EXPECT_EQ(saved.date, date);
    EXPECT_EQ(saved.time.size(), 8u);
    EXPECT_EQ(saved.value(22), 0);
    // Read back from the file, it is the same rule set.
    const RuleSet reread = parseRuleFile(kvtest::readFile(file), saved.ruleId);
    EXPECT_EQ(reread.name, saved.name);
    EXPECT_EQ(reread.date, saved.date);
    EXPECT_EQ(reread.time, saved.time);
    EXPECT_EQ(0, std::memcmp(&static_cast<const RuleSettings&>(reread),
                             &static_cast<const RuleSettings&>(saved), sizeof(RuleSettings)));
    EXPECT_NE(kvtest::readFile(file), old);

    // A write that fails (here a folder stands where the file goes, so the new file cannot
    // be renamed into place): what was there stays, and so does the table.
    const auto entries = [&] {
        std::set<std::string> names;
        for (const auto& e :
             std::filesystem::directory_iterator(std::filesystem::path(file).parent_path()))
            names.insert(e.path().filename().string());
        return names;
    };
    std::filesystem::remove(file);
    std::filesystem::create_directories(file + "/inside");
    const std::set<std::string> before = entries();
    const RuleSet keptSet = saved;
    {
        Steps steps{[&](Dialog& d) {
            setText(d, R::kIdName, QStringLiteral("失敗"));
            press(d, R::kIdOkButton);
        }};
        RuleEditorDialog editor(nullptr, rules);
        EXPECT_FALSE(editor.editRuleSet(5));
    }
    EXPECT_TRUE(std::filesystem::is_directory(file + "/inside"));
    EXPECT_EQ(rules.ruleSets()[5].name, keptSet.name);
    EXPECT_EQ(rules.ruleSets()[5].date, keptSet.date);
    EXPECT_EQ(prompts_.seen.size(), 1u);
    EXPECT_EQ(entries(), before);  // no temporary file left behind
    std::filesystem::remove_all(file);
}

}  // namespace
}  // namespace kv
