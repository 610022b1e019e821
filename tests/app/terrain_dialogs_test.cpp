// The missile base and borderline dialogs reached from the map's context menus: their checks
// keep the dialog open and the hex unchanged, OK stores one undo step, and the borderline
// dialog offers only the sides that have a line.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstring>

#include <gtest/gtest.h>

#include "app/terrain_dialogs.h"
#include "document/edit_operation.h"
#include "document/sample_document.h"

namespace kv {
namespace {

constexpr int kMissileBaseTerrain = 44;

class TerrainDialogs : public kvtest::SampleDocument {
protected:
    template <class D, class F>
    int runWith(D& dialog, F act) {
        Dialog::onModalStart = [&act](Dialog& d) {
            QTimer::singleShot(0, [&d, &act] { act(static_cast<D&>(d)); });
        };
        dialog.run();
        Dialog::onModalStart = nullptr;
        return dialog.result;
    }
    static void click(Dialog& d, int id) {
        d.handle()->findChild<QPushButton*>(QString::number(id))->click();
    }
    static void type(Dialog& d, int id, const char* text) {
        d.control<QLineEdit>(id)->setText(text);
    }
    HexCell& cell(int col, int row) { return *doc().cellAt(col, row); }
};

TEST_F(TerrainDialogs, MissileSettingsAreCheckedBeforeAnythingIsStored) {
    TerrainBrush b;
    b.valid = 1;
    b.terrainId = kMissileBaseTerrain;
    b.picture = 44;
    doc().setTerrain(7, 7, b);
    const HexCell fresh = cell(7, 7);
    ASSERT_EQ(fresh.missile, kvtest::kWarhead + 1);
    doc().history.clear();
    // Count 0, 11 and an interval that a narrow number would wrap into range are refused, each
    // with its message, the dialog staying open; then a valid entry is stored.
    MissileBaseDialog d(nullptr, doc(), {7, 7});
    QString time;
    const int result = runWith(d, [&](MissileBaseDialog& dlg) {
        EXPECT_EQ(dlg.control<QComboBox>(MissileBaseDialog::kIdMissile)->currentData().toInt(),
                  kvtest::kWarhead + 1);
        for (const char* count : {"0", "11"}) {
            type(dlg, MissileBaseDialog::kIdCount, count);
            click(dlg, kIdOk);
        }
        type(dlg, MissileBaseDialog::kIdCount, "10");
        type(dlg, MissileBaseDialog::kIdInterval, "1024");
        click(dlg, kIdOk);
        EXPECT_EQ(std::memcmp(&cell(7, 7), &fresh, sizeof(HexCell)), 0);
        type(dlg, MissileBaseDialog::kIdInterval, "7");
        time = dlg.control<QLabel>(MissileBaseDialog::kIdTime)->text();
        click(dlg, kIdOk);
    });
    EXPECT_EQ(result, kIdOk);
    EXPECT_EQ(time, "時間(420ｶｳﾝﾄ)");
    ASSERT_EQ(prompts.seen.size(), 3u);
    EXPECT_EQ(prompts.seen[0].text, "ミサイル数は1～10の値を設定してください。");
    EXPECT_EQ(prompts.seen[1].text, "ミサイル数は1～10の値を設定してください。");
    EXPECT_EQ(prompts.seen[2].text, "ミサイル発射間隔は0～255の値を設定してください。");
    EXPECT_EQ(cell(7, 7).shownCount, 10);
    EXPECT_EQ(cell(7, 7).bridgePiece, 7);
    doc().history.undo();
    EXPECT_EQ(std::memcmp(&cell(7, 7), &fresh, sizeof(HexCell)), 0);

    // "なし" stores no count and no interval, whatever the edits hold.
    MissileBaseDialog none(nullptr, doc(), {7, 7});
    runWith(none, [&](MissileBaseDialog& dlg) {
        dlg.control<QComboBox>(MissileBaseDialog::kIdMissile)->setCurrentIndex(0);
        type(dlg, MissileBaseDialog::kIdCount, "0");
        click(dlg, kIdOk);
    });
    EXPECT_EQ(cell(7, 7).missile, 0);
    EXPECT_EQ(cell(7, 7).shownCount, 0);
    EXPECT_EQ(cell(7, 7).bridgePiece, 0);
}

TEST_F(TerrainDialogs, BorderlineDialogChangesOnlyTheSidesChosen) {
    // Hex (5,5) of territory 1 with territory 2 to its west and east and 1 on its other
    // sides; its kinds are 1 (a kind the dialog does not offer) everywhere.
    for (int d : {kSouthWest, kSouthEast, kNorthEast, kNorthWest}) {
        const HexPos n = neighbourPos({5, 5}, d);
        doc().setBorderline(n.col, n.row, {1, 2});
    }
    doc().setBorderline(5, 5, {1, 1});
    doc().setBorderline(4, 5, {2, 3});
    doc().setBorderline(6, 5, {2, 3});
    doc().history.clear();
    const uint8_t bits = doc().overlayAt(5, 5)->borderBits;
    ASSERT_EQ(bits, (1u << kWest) | (1u << kEast));
    BorderlineDialog d(nullptr, doc(), {5, 5});
    runWith(d, [&](BorderlineDialog& dlg) {
        for (int side = 0; side < 6; ++side) {
            QComboBox* box = dlg.control<QComboBox>(BorderlineDialog::kIdFirstSide + side);
            EXPECT_EQ(box->isEnabled(), (bits & (1u << side)) != 0) << side;
        }
        // East becomes not crossable; west is left alone.
        QComboBox* east = dlg.control<QComboBox>(BorderlineDialog::kIdFirstSide + kEast);
        east->setCurrentIndex(east->findData(3));
        click(dlg, kIdOk);
    });
    EXPECT_EQ(cell(5, 5).borderKind(kEast), 3);
    EXPECT_EQ(cell(5, 5).borderKind(kWest), 1);
    EXPECT_EQ(cell(5, 5).borderKind(kNorthEast), 1);
    doc().history.undo();
    EXPECT_EQ(cell(5, 5).borderKind(kEast), 1);
    // OK with nothing changed leaves the map clean.
    doc().isClean = 1;
    BorderlineDialog same(nullptr, doc(), {5, 5});
    runWith(same, [&](BorderlineDialog& dlg) { click(dlg, kIdOk); });
    EXPECT_EQ(doc().isClean, 1);
}

}  // namespace
}  // namespace kv
