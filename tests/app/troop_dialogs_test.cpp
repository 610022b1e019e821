// The chooser and the troop property dialog, driven through the dialog seam.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/troop_dialogs.h"
#include "document/sample_document.h"
#include "document/troop_capacity.h"
#include "document/troop_edit.h"
#include "framework/cp932.h"

namespace kv {
namespace {

template <class D, class F>
void runWith(D& dialog, F act) {
    Dialog::onModalStart = [&act](Dialog& d) {
        QTimer::singleShot(0, [&d, &act] { act(static_cast<D&>(d)); });
    };
    dialog.run();
    Dialog::onModalStart = nullptr;
}

TEST(TroopChooserTest, HeadingsAreNotChosenAndAClickChoosesItsLine) {
    const std::vector<TroopChooserEntry> entries = {
        {TroopChooserEntry::Place, -1, -1, "ここに配置"},
        {TroopChooserEntry::Heading, -1, -1, "ここに搭載"},
        {TroopChooserEntry::Troop, 0, 7, "APC 10"}};
    TroopChooser chooser(nullptr, entries, QPoint(10, 10));
    QStringList shown;
    runWith(chooser, [&](TroopChooser& c) {
        QListWidget* list = c.control<QListWidget>(TroopChooser::kIdList);
        for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
        emit list->itemClicked(list->item(1));
        EXPECT_EQ(c.chosen, -1);
        emit list->itemClicked(list->item(2));
    });
    EXPECT_EQ(shown, (QStringList{"ここに配置", "ここに搭載", "APC 10"}));
    EXPECT_EQ(chooser.chosen, 2);
}

class TroopPropertyDialogTest : public kvtest::SampleDocument {};

TEST_F(TroopPropertyDialogTest, OkChecksInOrderKeepsTheDialogOpenAndStoresOnSuccess) {
    MapDocument& d = doc();
    d.mapHeader.setTurnLimit(20);
    d.setEditMode(kEditReinforcements);
    d.tool.reinforcementTurn = 3;
    d.tool.troopBrush = TroopBrush{1, 0, 0, 0, 0, 0, kvtest::kFighter, 0, 10};
    const int slot = placeTroop(d, 5, 5, false);
    ASSERT_GE(slot, 0);

    TroopPropertyDialog dialog(nullptr, d, 0, slot);
    std::vector<std::string> levels;
    runWith(dialog, [&](TroopPropertyDialog& dlg) {
        auto* name = dlg.control<QLineEdit>(TroopPropertyDialog::kIdName);
        auto* exp = dlg.control<QLineEdit>(TroopPropertyDialog::kIdExperience);
        auto* turn = dlg.control<QSpinBox>(TroopPropertyDialog::kIdTurn);
        auto* ok = dlg.control<QPushButton>(kIdOk);
        ASSERT_TRUE(name && exp && turn && ok);
        EXPECT_FALSE(dlg.control<QSpinBox>(TroopPropertyDialog::kIdDestCol)->isEnabled());
        dlg.control<QRadioButton>(TroopPropertyDialog::kIdTransport)->click();
        EXPECT_TRUE(dlg.control<QSpinBox>(TroopPropertyDialog::kIdDestCol)->isEnabled());
        turn->setValue(25);  // above the limit: told and set back
        EXPECT_EQ(turn->value(), 20);
        turn->setValue(1);
        name->setText("");
        exp->setText("999");
        levels.push_back(dlg.control<QLabel>(TroopPropertyDialog::kIdLevel)->text().toStdString());
        ok->click();
        name->setText("第一戦隊");
        ok->click();
        turn->setValue(4);
        ok->click();
        exp->setText("120");
        levels.push_back(dlg.control<QLabel>(TroopPropertyDialog::kIdLevel)->text().toStdString());
        dlg.control<QComboBox>(TroopPropertyDialog::kIdUnits)->setCurrentIndex(2);
        ok->click();
    });
    std::vector<std::string> texts;
    for (const Prompt& p : prompts.seen) {
        texts.push_back(p.text);
        EXPECT_EQ(p.caption, "注意");
    }
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "ターン制限数を超えています。", "部隊名を入力してください。",
                         "配置条件の登場ターンが2未満もしくは最大ターン以上に設定されています。",
                         "経験値には0～250までを指定してください。"}));
    EXPECT_EQ(levels, (std::vector<std::string>{"Lv：－", "Lv：2"}));
    EXPECT_EQ(dialog.result, kIdOk);
    const TroopRecord& t = *d.troopAt(0, slot);
    EXPECT_EQ(t.experienceTimes10(), 1200);
    EXPECT_EQ(t.unitCount(), 3);
    EXPECT_EQ(t.appearanceTurn(), 4);
    EXPECT_TRUE(hasTransportCondition(t));
    EXPECT_EQ(decodeCp932Lossy(t.name()), "第一戦隊");
    EXPECT_TRUE(d.history.canUndo());
}

TEST_F(TroopPropertyDialogTest, RenamingATroopOfAMapsOwnWeaponAsksFirst) {
    MapDocument& d = doc();
    d.tool.troopBrush = TroopBrush{1, 0, 0, 0, 0, 0, kvtest::kFighter, 0, 10};
    const int slot = placeTroop(d, 5, 5, false);
    ASSERT_GE(slot, 0);
    d.troopAt(0, slot)->setWeaponId(10001);
    const TroopRecord before = *d.troopAt(0, slot);
    prompts.script = {PromptAnswer::No};
    TroopPropertyDialog dialog(nullptr, d, 0, slot);
    runWith(dialog, [&](TroopPropertyDialog& dlg) {
        dlg.control<QLineEdit>(TroopPropertyDialog::kIdName)->setText("X");
        dlg.control<QPushButton>(kIdOk)->click();
        dlg.control<QPushButton>(kIdCancel)->click();
    });
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].buttons, PromptButtons::YesNo);
    EXPECT_NE(dialog.result, kIdOk);
    EXPECT_EQ(*d.troopAt(0, slot), before);
}

}  // namespace
}  // namespace kv
