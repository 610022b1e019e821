// The modeless windows' bookkeeping: visibility keys, messages and the weapon detail rules.
#include <QApplication>

#include <gtest/gtest.h>

#include <set>

#include "app/command_ids.h"
#include "app/tool_windows.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "framework/window.h"
#include "support/test_paths.h"
#include "view/window_messages.h"

namespace kv {
namespace {

struct Plain : Window {
    Plain() { setClassName("KOBMEC_TESTTOOL_CNAME"); }
};

Window* makeWindow() {
    Plain* w = newWindow<Plain>();
    w->create();
    return w;
}

class ToolWindowsTest : public testing::Test {
protected:
    void SetUp() override { setProgramPath(dir.file("kvornme")); }
    void TearDown() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setProgramPath("");
    }
    kvtest::TempDir dir;
    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(ToolWindowsTest, TheTableKnowsEveryWindowByMenuAndMessage) {
    EXPECT_EQ(toolByMenuId(cmd::HqMap), ToolKind::HqMap);
    EXPECT_EQ(toolByMenuId(cmd::MinePalette), ToolKind::MinePalette);
    bool opens = false;
    EXPECT_EQ(toolByMessage(mainmsg::OpenMinePalette, opens), ToolKind::MinePalette);
    EXPECT_TRUE(opens);
    EXPECT_EQ(toolByMessage(mainmsg::CloseTroopTable, opens), ToolKind::TroopTable);
    EXPECT_FALSE(opens);
    EXPECT_EQ(toolByMessage(mainmsg::RebuildTitle, opens), std::nullopt);  // not a window
    // Every window comes back from its menu command and its two messages, and no message
    // opens or closes two windows or is one the main frame handles otherwise.
    std::set<uint32_t> seen;
    for (int k = 0; k < static_cast<int>(ToolKind::Count); ++k) {
        const ToolWindowInfo& info = toolInfo(static_cast<ToolKind>(k));
        EXPECT_EQ(info.kind, static_cast<ToolKind>(k));
        if (info.menuId) {
            EXPECT_EQ(toolByMenuId(info.menuId), info.kind);
        }
        EXPECT_EQ(toolByMessage(info.openMessage, opens), info.kind);
        EXPECT_TRUE(opens);
        EXPECT_EQ(toolByMessage(info.closeMessage, opens), info.kind);
        EXPECT_FALSE(opens);
        EXPECT_TRUE(seen.insert(info.openMessage).second) << info.openMessage;
        EXPECT_TRUE(seen.insert(info.closeMessage).second) << info.closeMessage;
    }
    for (uint32_t m : {mainmsg::Exit, mainmsg::RebuildTitle, mainmsg::EditModeChanged,
                       mainmsg::OpenWeaponDetail, mainmsg::CloseWeaponDetail})
        EXPECT_EQ(seen.count(m), 0u) << m;
    EXPECT_STREQ(toolInfo(ToolKind::TerrainInfo).key, "ShowLandList");
    EXPECT_EQ(toolInfo(ToolKind::TerrainAvoidTable).key, nullptr);
}

TEST_F(ToolWindowsTest, OpeningAndClosingWriteTheKeyAtOnce) {
    ToolWindows tools;
    // Not built yet: stays closed and writes nothing.
    EXPECT_FALSE(tools.open(ToolKind::HqMap));
    EXPECT_FALSE(tools.isOpen(ToolKind::HqMap));
    EXPECT_EQ(ProfileEntry("Environment", "ShowHq").readInt(-1), -1);

    tools.setFactory(ToolKind::HqMap, makeWindow);
    EXPECT_TRUE(tools.open(ToolKind::HqMap));
    Window* hq = tools.window(ToolKind::HqMap);
    ASSERT_NE(hq, nullptr);
    EXPECT_EQ(ProfileEntry("Environment", "ShowHq").readInt(-1), 1);
    EXPECT_TRUE(tools.open(ToolKind::HqMap));  // already open: the same window
    EXPECT_EQ(tools.window(ToolKind::HqMap), hq);
    tools.close(ToolKind::HqMap);
    EXPECT_FALSE(tools.isOpen(ToolKind::HqMap));
    EXPECT_EQ(ProfileEntry("Environment", "ShowHq").readInt(-1), 0);
}

TEST_F(ToolWindowsTest, AtMostTwoWeaponDetailWindowsWithTheLowestFreeKeys) {
    ToolWindows tools;
    std::vector<std::pair<int, int>> made;
    tools.setDetailFactory([&made](int weapon, int key) {
        made.emplace_back(weapon, key);
        return makeWindow();
    });
    tools.openWeaponDetail(100);
    tools.openWeaponDetail(110);
    tools.openWeaponDetail(100);  // already shown: only raised
    EXPECT_EQ(made, (std::vector<std::pair<int, int>>{{100, 0}, {110, 1}}));
    EXPECT_TRUE(prompts.seen.empty());
    tools.openWeaponDetail(120);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].caption, "注意");
    EXPECT_EQ(prompts.seen[0].text, "これ以上兵器詳細ウィンドウを開くことはできません。");
    EXPECT_EQ(tools.details().size(), 2u);

    tools.closeWeaponDetail(0);
    ASSERT_EQ(tools.details().size(), 1u);
    EXPECT_EQ(tools.details()[0].key, 1);
    tools.openWeaponDetail(120);  // key 0 is free again
    EXPECT_EQ(made.back(), (std::pair<int, int>{120, 0}));
    tools.setDetailWeapon(1, 130);
    EXPECT_EQ(tools.details()[0].weaponId, 130);

    std::vector<ToolWindows::Detail> full;
    for (int k = 0; k <= 98; ++k) full.push_back({nullptr, k, 0});
    EXPECT_EQ(ToolWindows::lowestFreeKey(full), 99);
}

}  // namespace
}  // namespace kv
