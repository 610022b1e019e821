// The campaign editor and its link diagram driven through their controls: the player faction
// fixed by the first map, a full campaign, the diagram in step both ways, saving an opened
// campaign again byte for byte, the save refusals and the close question.
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "app/campaign_dialog.h"
#include "app/map_open_dialog.h"
#include "document/faction_record.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/byte_cursor.h"
#include "framework/cp932.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using E = CampaignEditor;

// The chapters of the demo campaign: slot k holds chapter k + 1, the player is faction 0.
std::string chapterPath(const kvtest::TempDir& dir, int n) {
    return dir.file("map/campaign/chapter" + std::to_string(n) + ".kvs");
}

// A map file whose factions take part as `participation` says, patched in the file's bytes.
std::string withParticipation(std::string map, std::array<uint8_t, kFactionCount> participation) {
    const std::optional<MapFileHeader> header = parseMapFileHeader(map);
    const SectionDescriptor& s = header->sections[kFactionSection];
    for (int f = 0; f < kFactionCount; ++f)
        map[s.offset + s.recordSize * size_t(f) + FactionRecord::kParticipationAt] =
            static_cast<char>(participation[size_t(f)]);
    return map;
}

// A campaign file laid out by hand: the named maps in slots 0.., no links, player faction 0.
std::string campaignFile(const std::string& map, int count) {
    std::string data(CampaignData::kSize, '\0');
    for (int k = 0; k < count; ++k) {
        const std::string name = "map" + std::to_string(k);
        data.replace(36 + 49 * size_t(k) + 6, name.size(), name);
        data[36 + 49 * size_t(k) + 48] = static_cast<char>(k == 0 ? 255 : 0);
    }
    data[2486] = 0;
    std::string file;
    ByteAppender<std::string> out(file);
    out.text("TALMACAMPAIGN001", 16);
    out.u32(872);
    out.u32(872);
    out.u32(CampaignData::kSize);
    out.u32(1);
    uint32_t at = 872 + CampaignData::kSize;
    for (int k = 0; k < 50; ++k) {
        const uint32_t size = k < count ? static_cast<uint32_t>(map.size()) : 0;
        out.u32(at);
        out.u32(size);
        out.u32(1);
        at += size;
    }
    out.zeros(12 * 20);
    out.bytes(data);
    for (int k = 0; k < count; ++k) out.bytes(map);
    return file;
}

class CampaignDialogTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        data_ = new kvtest::TempDir;
        kvtest::copySampleData(data_->path());
    }
    static void TearDownTestSuite() {
        delete data_;
        data_ = nullptr;
    }
    void SetUp() override {
        setProgramPath(data_->file("kvornme"));
        doc = std::make_unique<MapDocument>();
        doc->loadResources();
        Dialog::onModalStart = [this](Dialog& d) {
            ASSERT_FALSE(steps.empty()) << "an unexpected dialog: " << d.title;
            auto step = std::move(steps.front());
            steps.pop_front();
            QTimer::singleShot(0, [&d, step] { step(d); });
        };
    }
    void TearDown() override {
        EXPECT_TRUE(steps.empty());
        Dialog::onModalStart = nullptr;
        setFileDialogHook(nullptr);
        doc.reset();
        setProgramPath("");
    }

    // The editor, open without waiting, so the test drives it step by step.
    std::unique_ptr<E> open(const std::string& path = {}) {
        auto e = std::make_unique<E>(nullptr, *doc, path);
        e->createModeless();
        QCoreApplication::sendPostedEvents();
        return e;
    }
    // The next map-open dialog chooses `path`.
    void willOpenMap(const std::string& path) {
        steps.push_back([path](Dialog& d) {
            auto& open = dynamic_cast<MapOpenDialog&>(d);
            open.chosenPath = path;
            open.result = kIdOk;
            open.end();
        });
    }
    static QComboBox* combo(E& e, int id) { return e.control<QComboBox>(id); }
    static std::vector<int> choices(E& e, int id) {
        std::vector<int> data;
        for (int i = 0; i < combo(e, id)->count(); ++i)
            data.push_back(combo(e, id)->itemData(i).toInt());
        return data;
    }
    static void choose(E& e, int id, int data) {
        const int index = combo(e, id)->findData(data);
        ASSERT_GE(index, 0) << "no choice " << data << " in combo " << id;
        combo(e, id)->setCurrentIndex(index);
        QCoreApplication::sendPostedEvents();
    }
    static void click(E& e, int id) {
        e.control<QPushButton>(id)->click();
        QCoreApplication::sendPostedEvents();
    }
    std::string writeMap(const std::string& name, const std::string& bytes) {
        const std::string path = work.file(name);
        kvtest::writeFile(path, bytes);
        return path;
    }
    const Prompt& lastPrompt() const { return prompts.seen.back(); }

    static inline kvtest::TempDir* data_ = nullptr;
    kvtest::TempDir work;
    std::unique_ptr<MapDocument> doc;
    std::deque<std::function<void(Dialog&)>> steps;
    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(CampaignDialogTest, TheFirstMapFixesThePlayerFactionAndOthersAreRefused) {
    const std::string chapter1 = kvtest::readFile(chapterPath(*data_, 1));
    const std::string otherUser = writeMap("other.kvs", withParticipation(chapter1, {2, 1}));
    const std::string noUser = writeMap("none.kvs", withParticipation(chapter1, {2, 2}));
    const std::string twoUsers = writeMap("two.kvs", withParticipation(chapter1, {1, 1}));
    auto e = open();
    EXPECT_EQ(e->data().userFaction(), kUserFactionUndecided);
    EXPECT_EQ(choices(*e, E::kIdVictory), std::vector<int>{-1});

    willOpenMap(chapterPath(*data_, 1));
    click(*e, E::kIdLoadMap);
    EXPECT_TRUE(prompts.seen.empty());
    EXPECT_EQ(e->data().userFaction(), 0);
    EXPECT_EQ(e->selectedMap(), 0);
    EXPECT_EQ(e->data().map(0).linkedFrom(), kNoCampaignSlot);
    EXPECT_EQ(e->sources()[0].sourcePath, chapterPath(*data_, 1));
    EXPECT_NE(e->control<QLabel>(E::kIdThumbnail)->pixmap().width(), 0);

    // Each refused map leaves every slot and the link as they were.
    const std::pair<std::string, std::string> refusals[] = {
        {otherUser, "USER陣営は " + std::string(factionColourName(0)) +
                        " 陣営にする必要があります。\n読み込みをキャンセルします。"},
        {noUser, "USER陣営の存在しないマップはキャンペーンに使用できません。"},
        {twoUsers, "USER陣営が２陣営以上存在するマップはキャンペーンに使用できません。"}};
    for (const auto& [path, text] : refusals) {
        willOpenMap(path);
        choose(*e, E::kIdVictory, E::kAddMapChoice);
        ASSERT_FALSE(prompts.seen.empty());
        EXPECT_EQ(lastPrompt().text, text);
        EXPECT_EQ(lastPrompt().caption, "注意");
        EXPECT_FALSE(e->sources()[1].used);
        EXPECT_EQ(e->data().map(0).linkType(kVictoryLink), kLinkEnd);
        EXPECT_EQ(combo(*e, E::kIdVictory)->currentData().toInt(), kLinkEnd);
    }
    EXPECT_EQ(e->data().userFaction(), 0);

    // The same faction is taken as a new map behind the victory link, and the diagram shows it.
    willOpenMap(chapterPath(*data_, 2));
    choose(*e, E::kIdVictory, E::kAddMapChoice);
    EXPECT_TRUE(e->sources()[1].used);
    EXPECT_EQ(e->data().map(1).linkedFrom(), 0);
    EXPECT_EQ(e->data().map(0).linkedSlot(kVictoryLink), 1);
    EXPECT_EQ(combo(*e, E::kIdVictory)->currentData().toInt(), E::kLinkChoiceBase + 1);
    ASSERT_NE(e->diagram().mapItem(1), nullptr);
    EXPECT_EQ(e->diagram().mapItem(1)->parent(), e->diagram().mapItem(0));
}

TEST_F(CampaignDialogTest, AFullCampaignOffersNeitherANewMapNorAnUnplacedCopy) {
    const std::string chapter1 = kvtest::readFile(chapterPath(*data_, 1));
    const std::string path = work.file("49.kvc");
    kvtest::writeFile(path, campaignFile(chapter1, 49));
    auto e = open(path);
    e->selectMap(0);
    auto copies = [&](int id) {
        int n = 0;
        for (int d : choices(*e, id)) n += d >= E::kCopyChoiceBase;
        return n;
    };
    auto offersNewMap = [&](int id) {
        const std::vector<int> c = choices(*e, id);
        return std::find(c.begin(), c.end(), E::kAddMapChoice) != c.end();
    };
    EXPECT_TRUE(offersNewMap(E::kIdDraw));
    EXPECT_EQ(copies(E::kIdDraw), 0);  // every copy is in its slot

    // Slot 0 takes copy 1 from "マップ選択": copy 0 is left over.
    prompts.script = {PromptAnswer::Yes};
    steps.push_back([](Dialog& d) {
        d.control<QListWidget>(MapChoiceDialog::kIdList)->setCurrentRow(1);
        d.sendCommand(kIdOk);
    });
    click(*e, E::kIdLoadMap);
    EXPECT_EQ(prompts.seen.at(0).text,
              "読み込み済みのマップが存在します。\nこれらのマップの中から選択しますか？");
    EXPECT_EQ(e->sources()[0].blobIndex, 1);
    EXPECT_EQ(e->data().map(0).mapName(), "map1");
    EXPECT_FALSE(e->loadedMaps()[0].placed);
    for (int id : {E::kIdVictory, E::kIdDraw, E::kIdDefeat}) {
        EXPECT_TRUE(offersNewMap(id));
        EXPECT_EQ(copies(id), 1);
    }
    choose(*e, E::kIdDraw, E::kCopyChoiceBase + 0);
    EXPECT_TRUE(e->sources()[49].used);
    EXPECT_EQ(e->sources()[49].blobIndex, 0);
    EXPECT_EQ(e->data().map(49).linkedFrom(), 0);
    EXPECT_EQ(e->data().map(0).linkedSlot(kDrawLink), 49);
    // Full, with a copy left over again: slot 49 takes copy 2 instead of copy 0.
    e->selectMap(49);
    prompts.script = {PromptAnswer::Yes};
    steps.push_back([](Dialog& d) {
        d.control<QListWidget>(MapChoiceDialog::kIdList)->setCurrentRow(2);
        d.sendCommand(kIdOk);
    });
    click(*e, E::kIdLoadMap);
    EXPECT_EQ(e->sources()[49].blobIndex, 2);
    EXPECT_FALSE(e->loadedMaps()[0].placed);
    for (int id : {E::kIdVictory, E::kIdDraw, E::kIdDefeat}) {
        EXPECT_FALSE(offersNewMap(id));
        EXPECT_EQ(copies(id), 0);
    }
}

TEST_F(CampaignDialogTest, DiagramFollowsTheLinksAndSavingAgainWritesTheSameFile) {
    const std::string demo = data_->file("map/demo_campaign.kvc");
    auto e = open(demo);
    // Loading a map with nothing selected gives the first map another file, not other links.
    prompts.script = {PromptAnswer::No};
    willOpenMap(chapterPath(*data_, 1));
    click(*e, E::kIdLoadMap);
    EXPECT_EQ(e->selectedMap(), 0);
    EXPECT_EQ(e->sources()[0].sourcePath, chapterPath(*data_, 1));
    EXPECT_EQ(e->data().map(0).linkedSlot(kVictoryLink), 1);
    EXPECT_EQ(e->data().map(0).linkedSlot(kDefeatLink), 2);
    LinkDiagram& diagram = e->diagram();
    QTreeWidget* tree = diagram.tree()->tree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0).toStdString(), decodeCp932Lossy(e->data().name()));
    // 1 → (2 → (4, 3 plain, ﾘﾄﾗｲ), ﾘﾄﾗｲ, 3 → (4 plain, 終了, 終了)).
    ASSERT_EQ(root->childCount(), 1);
    QTreeWidgetItem* first = root->child(0);
    EXPECT_EQ(first, diagram.mapItem(0));
    ASSERT_EQ(first->childCount(), 3);
    EXPECT_EQ(first->child(0), diagram.mapItem(1));
    EXPECT_EQ(first->child(1)->text(0), "ﾘﾄﾗｲ");
    EXPECT_EQ(first->child(2), diagram.mapItem(2));
    EXPECT_EQ(diagram.mapItem(3)->parent(), diagram.mapItem(1));
    ASSERT_EQ(diagram.mapItem(2)->childCount(), 3);
    EXPECT_EQ(diagram.mapItem(2)->child(0)->childCount(), 0);  // chapter 4, shown already
    EXPECT_EQ(diagram.mapItem(2)->child(0)->text(0), diagram.mapItem(3)->text(0));
    EXPECT_EQ(diagram.mapItem(3)->child(0)->text(0), "ｴﾝﾃﾞｨﾝｸﾞ");

    // Picking a map in the diagram selects it in the editor, and the other way round.
    tree->setCurrentItem(diagram.mapItem(2));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(e->selectedMap(), 2);
    EXPECT_EQ(e->control<QListWidget>(E::kIdLinkedFrom)->count(), 2);  // chapters 1 and 2
    e->selectMap(3);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(tree->currentItem(), diagram.mapItem(3));

    // The first map's file holds the bytes the campaign held, and the name comes back as it
    // was: the file comes out the same.
    QLineEdit* name = e->control<QLineEdit>(E::kIdName);
    const QString original = name->text();
    name->setText(QStringLiteral("別名"));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(root->text(0), QStringLiteral("別名"));
    name->setText(original);
    EXPECT_TRUE(e->modified());
    const std::string again = work.file("again.kvc");
    setFileDialogHook([&](FileDialogRequest&) { return std::optional<std::string>(again); });
    click(*e, E::kIdSave);
    EXPECT_EQ(prompts.seen.size(), 1u);  // only the question of the loaded copies
    EXPECT_FALSE(e->modified());
    EXPECT_EQ(kvtest::readFile(again), kvtest::readFile(demo));
}

TEST_F(CampaignDialogTest, SaveRefusesAnEmptyNameAndNamesAMissingMapFile) {
    const std::string chapter2 = writeMap("chapter2.kvs", kvtest::readFile(chapterPath(*data_, 2)));
    auto e = open();
    willOpenMap(chapterPath(*data_, 1));
    click(*e, E::kIdLoadMap);
    willOpenMap(chapter2);
    choose(*e, E::kIdDefeat, E::kAddMapChoice);
    const std::string out = work.file("out.kvc");
    int asked = 0;
    setFileDialogHook([&](FileDialogRequest& r) {
        ++asked;
        EXPECT_EQ(r.defaultSuffix, "kvc");
        return std::optional<std::string>(out);
    });

    e->control<QLineEdit>(E::kIdName)->setText(QStringLiteral(" 　 "));
    click(*e, E::kIdSave);
    EXPECT_EQ(lastPrompt().text, "キャンペーン名を入力してください。");

    e->control<QLineEdit>(E::kIdName)->setText(QStringLiteral("戦役"));
    std::filesystem::remove(chapter2);
    prompts.script = {PromptAnswer::No};
    click(*e, E::kIdSave);
    EXPECT_NE(lastPrompt().text.find("第二章「川沿いの平原」"), std::string::npos)
        << lastPrompt().text;
    EXPECT_EQ(lastPrompt().buttons, PromptButtons::YesNo);
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_TRUE(e->modified());
}

TEST_F(CampaignDialogTest, ClosingAsksOnlyWhenModifiedAndNoKeepsTheEditorOpen) {
    auto fresh = open();
    click(*fresh, E::kIdClose);
    EXPECT_TRUE(prompts.seen.empty());
    EXPECT_FALSE(fresh->handle()->isVisible());

    auto e = open();
    willOpenMap(chapterPath(*data_, 1));
    click(*e, E::kIdLoadMap);
    const char* question = "保存されていないキャンペーンですが、編集を終了してよろしいですか？";
    prompts.script = {PromptAnswer::No, PromptAnswer::Yes};
    click(*e, E::kIdClose);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(lastPrompt().text, question);
    EXPECT_TRUE(e->handle()->isVisible());
    e->sendCommand(kIdCancel);  // Escape or the close box
    ASSERT_EQ(prompts.seen.size(), 2u);
    EXPECT_EQ(lastPrompt().text, question);
    EXPECT_FALSE(e->handle()->isVisible());
    EXPECT_FALSE(e->diagram().handle()->isVisible());
}

}  // namespace
}  // namespace kv
