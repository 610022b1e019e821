// The information windows and the product type editor on the sample data: each window opens
// from its menu with the rows of the database, the troop table leads the map to a troop, the
// weapon list's order buttons sort and reverse, detail windows stop at two, and update files
// travel through the editor unchanged while damaged ones change nothing.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/info_windows.h"
#include "app/main_frame.h"
#include "app/product_type_editor.h"
#include "document/map_document.h"
#include "document/troop_list.h"
#include "framework/cp932.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/editor_fixture.h"
#include "support/test_paths.h"
#include "view/map_view.h"
#include "view/window_messages.h"

namespace kv {
namespace {

class InfoWindowsTest : public kvtest::SuiteEditorTest {
protected:
    void SetUp() override {
        SuiteEditorTest::SetUp();
        flush();
        prompts.seen.clear();
    }
    static void flush() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    template <class T>
    T* window(ToolKind kind) {
        return dynamic_cast<T*>(frame->tools().window(kind));
    }
    static std::vector<int> keys(const InfoListView* list) {
        std::vector<int> out;
        for (int r = 0; r < list->proxy()->rowCount(); ++r) out.push_back(list->keyAt(r));
        return out;
    }
    void putTroop(int table, int slot, int weapon, int col, int row) {
        TroopRecord* t = doc->troopAt(table, slot);
        t->setAppearanceTurn(1);
        t->setWeaponId(uint16_t(weapon));
        t->setName(doc->gameDatabase.weapon(weapon).name());
        t->setPosition(col, row);
        t->setUnits(2, 10);
        doc->troops.raiseCount(table, slot);
    }

    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(InfoWindowsTest, EveryWindowOpensFromItsMenuWithTheDatabasesRows) {
    const GameDatabase& db = doc->gameDatabase;
    const size_t terrainRows = terrainListOrder(db).size();
    ASSERT_GT(terrainRows, 10u);
    struct Case {
        ToolKind kind;
        size_t rows;
    };
    for (const Case& c :
         {Case{ToolKind::WeaponList, db.weaponList().size()},
          Case{ToolKind::TerrainInfo, terrainRows}, Case{ToolKind::TerrainMoveTable, terrainRows},
          Case{ToolKind::TerrainAvoidTable, terrainRows},
          Case{ToolKind::TransportableTerrain, terrainRows},
          Case{ToolKind::TroopTable, troopListTable(*doc).rows.size()}}) {
        SCOPED_TRACE(int(c.kind));
        frame->sendCommand(toolInfo(c.kind).menuId);
        flush();
        auto* w = window<InfoListWindow>(c.kind);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(size_t(w->list()->proxy()->rowCount()), c.rows);
        EXPECT_TRUE(w->handle()->isVisible());
    }
    // Terrain information comes with its companion; the message toggles it, and closing the
    // list takes it along.
    auto* info = window<TerrainInfoWindow>(ToolKind::TerrainInfo);
    ASSERT_NE(info->companion(), nullptr);
    info->list()->setCurrentIndex(info->list()->proxy()->index(0, 0));
    EXPECT_GT(info->companion()->list()->proxy()->rowCount(), 20);
    postMessage(frame, mainmsg::ToggleTerrainInfoCompanion);
    flush();
    EXPECT_EQ(info->companion(), nullptr);
    postMessage(frame, mainmsg::ToggleTerrainInfoCompanion);
    flush();
    QPointer<QWidget> companion = info->companion()->handle();
    frame->sendCommand(cmd::TerrainInfo);
    flush();
    EXPECT_FALSE(frame->tools().isOpen(ToolKind::TerrainInfo));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(companion.isNull());
    EXPECT_EQ(ProfileEntry("Environment", "ShowLandList").readInt(-1), 0);
}

TEST_F(InfoWindowsTest, TheOptionWindowChoosesTheTerrainColumns) {
    doc->viewSettings.landListOption = -1;
    frame->tools().open(ToolKind::TerrainInfo);
    auto* info = window<TerrainInfoWindow>(ToolKind::TerrainInfo);
    const int before = info->list()->tableModel()->columnCount();
    EXPECT_EQ(before, 2 + kTerrainListColumnCount - 1);
    Dialog::onModalStart = [](Dialog& d) {
        auto& o = dynamic_cast<TerrainListOptionDialog&>(d);
        EXPECT_EQ(o.control<QCheckBox>(TerrainListOptionDialog::kFirstCheck + kListPillbox),
                  nullptr);  // never offered
        o.control<QCheckBox>(TerrainListOptionDialog::kFirstCheck + kListIncome)->setChecked(false);
        QTimer::singleShot(0, [&o] { o.sendCommand(kIdOk); });
    };
    info->sendCommand(TerrainInfoWindow::kIdOptions);
    EXPECT_EQ(doc->viewSettings.landListOption, ~(1 << kListIncome));
    EXPECT_EQ(info->list()->tableModel()->columnCount(), before - 1);
    EXPECT_EQ(info->list()->tableModel()->headerData(2, Qt::Horizontal, Qt::DisplayRole),
              QStringLiteral("視界"));
}

TEST_F(InfoWindowsTest, TheTroopTableLeadsTheMapToATroopAndCopiesRows) {
    const int tank = doc->gameDatabase.weaponList().front();
    putTroop(0, 0, tank, 20, 9);
    putTroop(0, 1, tank, 4, 30);
    putTroop(2, 0, tank, 11, 2);
    frame->tools().open(ToolKind::TroopTable);
    auto* table = window<TroopTableWindow>(ToolKind::TroopTable);
    ASSERT_NE(table, nullptr);
    InfoListView* list = table->list();
    EXPECT_EQ(keys(list), (std::vector<int>{0, 1, 2 * kTroopKeyTable}));

    std::vector<PostedMessage> posts;
    recordPosts(&posts);
    list->setFocus();
    list->setCurrentIndex(list->proxy()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Down);  // keyboard navigation chooses too
    recordPosts(nullptr);
    ASSERT_GE(posts.size(), 4u);
    const PostedMessage& scroll = posts[posts.size() - 2];
    const PostedMessage& flash = posts.back();
    EXPECT_EQ(scroll.target, frame->mapView());
    EXPECT_EQ(scroll.message, viewmsg::ScrollTo);
    EXPECT_EQ(scroll.wParam, uintptr_t(4 | 30 << 16));
    EXPECT_EQ(flash.message, viewmsg::FlashHex);
    EXPECT_EQ(flash.wParam, 4u);
    EXPECT_EQ(flash.lParam, 30);

    // Sorting by the coordinates column; Ctrl+C copies the selected rows in the view's order.
    list->sortByColumn(4, Qt::AscendingOrder);
    EXPECT_EQ(keys(list), (std::vector<int>{1, 2 * kTroopKeyTable, 0}));
    list->selectAll();
    QTest::keySequence(list, QKeySequence::Copy);
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("4, 30")));
    EXPECT_EQ(lines[0].split('\t').size(), 10);
    list->clearSort();
    EXPECT_EQ(keys(list), (std::vector<int>{0, 1, 2 * kTroopKeyTable}));

    // A new troop reaches the table with the redraw message; the companion shows the choice.
    putTroop(1, 0, tank, 1, 1);
    postMessage(table, trooptablemsg::Redraw);
    postMessage(frame, mainmsg::ToggleTroopTableCompanion);
    flush();
    EXPECT_EQ(list->proxy()->rowCount(), 4);
    ASSERT_NE(table->companion(), nullptr);
    EXPECT_GT(table->companion()->list()->proxy()->rowCount(), 5);
}

TEST_F(InfoWindowsTest, OrderButtonsSortAndThePressedOrderReverses) {
    GameDatabase& db = doc->gameDatabase;
    frame->tools().open(ToolKind::WeaponList);
    auto* list = window<WeaponListWindow>(ToolKind::WeaponList);
    ASSERT_NE(list, nullptr);
    for (int order : {2, 3, 0}) {
        list->sendCommand(WeaponListWindow::kIdOrder0 + order);
        EXPECT_EQ(db.weaponListOrder(), order);
        const std::vector<int> sorted = db.weaponList();
        EXPECT_EQ(keys(list->list()), sorted);
        // The order in force once more: the list turned round, not sorted again.
        list->sendCommand(WeaponListWindow::kIdOrder0 + order);
        EXPECT_EQ(keys(list->list()), std::vector<int>(sorted.rbegin(), sorted.rend()));
        list->sendCommand(WeaponListWindow::kIdOrder0 + order);
        EXPECT_EQ(keys(list->list()), sorted);
    }
    // Sorted by type, a row of each type precedes the rows of later types.
    for (size_t i = 1; i < db.weaponList().size(); ++i)
        EXPECT_LE(db.weapon(db.weaponList()[i - 1]).weaponType(),
                  db.weapon(db.weaponList()[i]).weaponType());
}

TEST_F(InfoWindowsTest, AtMostTwoDetailWindowsAndTheThirdIsRefused) {
    const std::vector<int>& ids = doc->gameDatabase.weaponList();
    ASSERT_GE(ids.size(), 3u);
    for (int i : {0, 1, 0, 2})
        postMessage(frame, mainmsg::OpenWeaponDetail, uintptr_t(ids[size_t(i)]));
    flush();
    const auto& details = frame->tools().details();
    ASSERT_EQ(details.size(), 2u);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].caption, "注意");
    EXPECT_EQ(prompts.seen[0].text, "これ以上兵器詳細ウィンドウを開くことはできません。");
    auto* first = dynamic_cast<WeaponDetailWindow*>(details[0].window);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->weaponId(), ids[0]);
    EXPECT_EQ(first->fields()->tableModel()->table().rows[0].cells[1].text,
              decodeCp932Lossy(doc->gameDatabase.weapon(ids[0]).name()));
    // The close box frees its key for the next one.
    first->sendCommand(kIdCancel);
    flush();
    ASSERT_EQ(details.size(), 1u);
    postMessage(frame, mainmsg::OpenWeaponDetail, uintptr_t(ids[2]));
    flush();
    ASSERT_EQ(details.size(), 2u);
    EXPECT_EQ(details[1].key, 0);
    EXPECT_EQ(details[1].weaponId, ids[2]);
}

TEST_F(InfoWindowsTest, UpdateFilesTravelThroughTheEditorUnchanged) {
    GameDatabase& db = doc->gameDatabase;
    ProductType r;
    r.setName("\x83\x65\x83\x58\x83\x67");  // "テスト"
    for (size_t i = 0; i < 5 && i < db.weaponList().size(); ++i)
        r.set(ProductType::Land, db.weaponList()[i]);
    db.setProductType(150, r);
    db.setProductType(151, ProductType());
    ProductTypeEditor editor(frame, db);
    ASSERT_TRUE(editor.createModeless());

    const kvtest::TempDir dir;
    std::string answer;
    std::vector<FileDialogRequest> asked;
    setFileDialogHook([&](FileDialogRequest& q) {
        asked.push_back(q);
        return std::optional<std::string>(answer);
    });
    answer = dir.file("a.upd");
    editor.selectSlot(150);
    editor.exportCurrent();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, "ユーザ定義生産タイプ書出");
    EXPECT_EQ(asked[0].filters.at(0).first, "ユーザ定義生産タイプ(*.upd)");
    editor.selectSlot(151);
    editor.importIntoCurrent();  // an empty slot: no question
    EXPECT_EQ(asked.back().title, "ユーザ定義生産タイプ読込");
    EXPECT_EQ(asked.back().startFolder, dir.path());
    EXPECT_EQ(db.productType(151), r);
    answer = dir.file("b.upd");
    editor.exportCurrent();
    EXPECT_EQ(kvtest::readFile(dir.file("b.upd")), kvtest::readFile(dir.file("a.upd")));
    EXPECT_TRUE(prompts.seen.empty());
    // The user file holds the imported type.
    EXPECT_EQ(ProductTypeData::readFile(data_->file("productutype.dat"), 100, nullptr).at(1), r);

    // Damaged files: a foreign magic, a record cut short. The message, and the slot keeps its
    // type; declining the overwrite question stops before any file is asked for.
    const std::string good = kvtest::readFile(dir.file("a.upd"));
    kvtest::writeFile(dir.file("magic.upd"), "GLOSSAMERUPD0000" + good.substr(16));
    kvtest::writeFile(dir.file("cut.upd"), good.substr(0, 16 + 4 + 3000));
    ProductType other = r;
    other.setName("other");
    db.setProductType(151, other);
    for (const char* name : {"magic.upd", "cut.upd"}) {
        prompts.seen.clear();
        answer = dir.file(name);
        editor.importIntoCurrent();
        ASSERT_EQ(prompts.seen.size(), 2u) << name;
        EXPECT_EQ(prompts.seen[0].text, "既存の生産タイプに上書きしますか？");
        EXPECT_EQ(prompts.seen[1].caption, "警告");
        EXPECT_EQ(prompts.seen[1].text,
                  "選択されたファイルはユーザ定義生産タイプデータではありません。");
        EXPECT_EQ(db.productType(151), other);
    }
    prompts.seen.clear();
    prompts.script = {PromptAnswer::No};
    const size_t before = asked.size();
    answer = dir.file("a.upd");
    editor.importIntoCurrent();
    EXPECT_EQ(asked.size(), before);
    EXPECT_EQ(db.productType(151), other);
    editor.end();
}

}  // namespace
}  // namespace kv
