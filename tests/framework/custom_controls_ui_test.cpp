// The framework's own controls: the scroll track's range, thumb and steps, the bitmap
// button's faces from its sheet and the face it draws in each state, tooltips and the tree.
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "framework/bitmap_button.h"
#include "framework/data_paths.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "framework/scroll_control.h"
#include "framework/tool_tips.h"
#include "framework/tree_view.h"
#include "sampledata/art.h"
#include "support/bitmap_fixture.h"
#include "support/test_paths.h"

namespace kv {
namespace {

// A parent that keeps the position messages posted to it.
struct Parent : Window {
    int onMessage(MessageRecord& m) override {
        if (m.message == ScrollControl::kPositionChanged)
            posts.emplace_back(int(m.wParam), int(m.lParam));
        return 1;
    }
    std::vector<std::pair<int, int>> posts;
};

class ScrollControlTest : public testing::Test {
protected:
    void SetUp() override {
        parent.create();
        // A vertical track of 100 pixels from y = 16, with room for the arrows around it.
        track = newWindow<ScrollControl>(&parent, 77, Rect{0, 16, 16, 116}, false);
        track->width = 16;
        track->height = 132;
        ASSERT_TRUE(track->create());
    }
    void flush() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    Parent parent;
    ScrollControl* track = nullptr;
};

TEST_F(ScrollControlTest, RangeThumbAndPositionFollowTheRules) {
    // Ten positions, a page of two: a fifth of the track.
    track->setRange(0, 9, 2);
    EXPECT_EQ(track->thumbRect().height(), 20);
    EXPECT_EQ(track->position(), 0);
    track->setPosition(5, false);
    EXPECT_EQ(track->thumbRect().top, 16 + 50);
    // The last page: the thumb sits at the far end and the position stops at max - page + 1.
    track->setPosition(100, false);
    EXPECT_EQ(track->position(), 8);
    EXPECT_EQ(track->thumbRect().bottom, 116);
    // A page larger than the range fills the track, and the only position is the minimum.
    track->setRange(3, 6, 50);
    EXPECT_EQ(track->page(), 4);
    EXPECT_EQ(track->position(), 3);
    EXPECT_EQ(track->thumbRect().top, 16);
    EXPECT_EQ(track->thumbRect().height(), 100);
    // Never thinner than 3 pixels, whatever the range.
    for (int max : {99, 999, 100000, 2000000000}) {
        track->setRange(0, max, 1);
        EXPECT_GE(track->thumbRect().height(), 3) << max;
        track->setPosition(max, false);
        EXPECT_LE(track->thumbRect().bottom, 116) << max;
        EXPECT_GE(track->thumbRect().top, 16) << max;
    }
    // An upside-down range is mended before the page is limited by it; a negative minimum
    // keeps the thumb inside the track.
    track->setRange(5, 2, 3);
    EXPECT_EQ(track->maximum(), 5);
    EXPECT_EQ(track->page(), 1);
    track->setRange(-50, 49, 10);
    track->setPosition(-50, false);
    EXPECT_EQ(track->thumbRect().top, 16);
    track->setPosition(0, false);
    EXPECT_EQ(track->thumbRect().top, 16 + 50);
}

TEST_F(ScrollControlTest, OnlyChangesAreToldAndTheTrackStepsByLineOrPage) {
    track->setRange(0, 99, 10);
    track->setPosition(40, true);
    track->setPosition(40, true);  // the same position: nothing
    flush();
    EXPECT_EQ(parent.posts, (std::vector<std::pair<int, int>>{{77, 40}}));
    parent.posts.clear();
    // Before the track: one back; beyond it: one on; beside the thumb: a page less one.
    const Rect thumb = track->thumbRect();
    track->trackPressed(8, 4);
    EXPECT_EQ(track->repeatTimer(), ScrollControl::kLineBack);
    track->trackReleased();
    EXPECT_EQ(track->repeatTimer(), ScrollControl::kNoTimer);
    track->trackPressed(8, 126);
    track->trackReleased();
    track->trackPressed(8, thumb.top - 2);
    EXPECT_EQ(track->repeatTimer(), ScrollControl::kPageBack);
    // The held button repeats the step; released, a late tick does nothing.
    track->repeatTick();
    track->trackReleased();
    track->repeatTick();
    track->trackPressed(8, track->thumbRect().bottom + 2);
    EXPECT_EQ(track->repeatTimer(), ScrollControl::kPageForward);
    track->trackReleased();
    flush();
    EXPECT_EQ(parent.posts,
              (std::vector<std::pair<int, int>>{{77, 39}, {77, 40}, {77, 31}, {77, 22}, {77, 31}}));
    // With a page of 1 a click beside the thumb moves by one.
    parent.posts.clear();
    track->setRange(0, 99, 1);
    track->setPosition(50, false);
    track->trackPressed(8, track->thumbRect().bottom + 2);
    track->trackReleased();
    track->trackPressed(8, track->thumbRect().top - 2);
    track->trackReleased();
    flush();
    EXPECT_EQ(parent.posts, (std::vector<std::pair<int, int>>{{77, 51}, {77, 50}}));
}

TEST_F(ScrollControlTest, DraggingTheThumbReachesBothEndsAndToldOncePerChange) {
    track->setRange(10, 59, 5);
    track->thumbDraggedTo(1000);
    EXPECT_EQ(track->position(), 55);
    EXPECT_EQ(track->thumbRect().bottom, 116);
    track->thumbDraggedTo(1000);
    track->thumbDraggedTo(-30);
    EXPECT_EQ(track->position(), 10);
    track->thumbDraggedTo(50);
    EXPECT_EQ(track->position(), 35);
    flush();
    EXPECT_EQ(parent.posts, (std::vector<std::pair<int, int>>{{77, 55}, {77, 10}, {77, 35}}));
}

// Face sheets are written from the bitmap layout: face n of a 16 x 16 sheet has pixel value
// 0x10 * n + row in its row, so every cut can be told apart.
class BitmapButtonTest : public testing::Test {
protected:
    void SetUp() override {
        setProgramPath(dir.file("kvornme"));
        clearFaceSheetCache();
        parent.create();
    }
    void TearDown() override {
        clearFaceSheetCache();
        setProgramPath("");
    }
    void writeSheet(int faces, int rows) {
        kvtest::BitmapFixture b;
        b.width = 16 * faces;
        b.height = 16 * rows;
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x)
                b.pixels.push_back(uint32_t(0x10 * (x / 16) + y / 16) << 8);
        std::filesystem::create_directories(dir.file("bmp"));
        kvtest::writeFile(dir.file("bmp/btn16x16.bmp"), kvtest::makeBitmap(b));
    }
    static int tag(const Picture& p) { return p.isNull() ? -1 : qGreen(p.image().pixel(5, 5)); }
    kvtest::TempDir dir;
    Parent parent;
    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
};

TEST_F(BitmapButtonTest, FacesAreCutFromTheirColumnAndTheStateChoosesOne) {
    writeSheet(3, 3);  // no focus row
    auto* b = newWindow<BitmapButton>(&parent, FaceSheet::B16x16, 2, 1234, 5, 6);
    EXPECT_EQ(tag(b->normalFace), 0x20);
    EXPECT_EQ(tag(b->pushedFace), 0x21);
    EXPECT_EQ(tag(b->disabledFace), 0x22);
    EXPECT_EQ(tag(b->focusFace), -1);
    EXPECT_EQ(b->handle()->geometry(), QRect(5, 6, 16, 16));
    using L = BitmapButton::Look;
    EXPECT_EQ(b->lookFor({}), L::Normal);
    EXPECT_EQ(b->lookFor({.selected = true}), L::Pushed);
    EXPECT_EQ(b->lookFor({.disabled = true}), L::Disabled);
    EXPECT_EQ(b->lookFor({.focused = true}), L::Normal);  // a focus mark is drawn instead
    b->ignoreDisabledFace = true;
    EXPECT_EQ(b->lookFor({.disabled = true}), L::Normal);
    b->setLatched(true);
    EXPECT_EQ(b->lookFor({.disabled = true}), L::Pushed);
    // Without a pushed face the normal face is shifted into a sunken edge, or raised.
    b->pushedFace.clear();
    EXPECT_EQ(b->lookFor({}), L::NormalSunken);
    b->setLatched(false);
    EXPECT_EQ(b->lookFor({}), L::NormalRaised);
    EXPECT_EQ(b->lookFor({.disabled = true}), L::Normal);
    // A click tells the parent the button's id.
    struct Clicks : Window {
        int onCommand(MessageRecord&, int id, int code) override {
            got.emplace_back(id, code);
            return 1;
        }
        std::vector<std::pair<int, int>> got;
    } owner;
    owner.create();
    auto* c = newWindow<BitmapButton>(&owner, FaceSheet::B16x16, 0, 55, 0, 0);
    QTest::mouseClick(c->handle(), Qt::LeftButton);
    EXPECT_EQ(owner.got, (std::vector<std::pair<int, int>>{{55, Dialog::Clicked}}));
    EXPECT_TRUE(prompts.seen.empty());
}

TEST_F(BitmapButtonTest, AMissingSheetOrAFaceBeyondItLeavesAnEmptyButtonThatStillWorks) {
    auto* b = newWindow<BitmapButton>(&parent, FaceSheet::B16x16, 0, 1, 0, 0);
    ASSERT_EQ(prompts.seen.size(), 1u);  // the sheet's error, once
    EXPECT_TRUE(b->normalFace.isNull());
    ASSERT_NE(b->button(), nullptr);
    b->handle()->repaint();  // paints without faces
    writeSheet(1, 2);
    clearFaceSheetCache();
    auto* beyond = newWindow<BitmapButton>(&parent, FaceSheet::B16x16, 4, 2, 0, 0);
    EXPECT_TRUE(beyond->normalFace.isNull());
    auto* tworows = newWindow<BitmapButton>(&parent, FaceSheet::B16x16, 0, 3, 0, 0);
    EXPECT_FALSE(tworows->pushedFace.isNull());
    EXPECT_TRUE(tworows->disabledFace.isNull());
    EXPECT_EQ(prompts.seen.size(), 1u);
}

TEST(FaceSheetArtTest, EverySizeHasASheetOfWholeFacesWithThreeDistinctRows) {
    const std::vector<sample::ArtFile> sheets = sample::buttonSheets();
    for (int k = 0; k < int(FaceSheet::Count); ++k) {
        const FaceSheetInfo& info = faceSheetInfo(FaceSheet(k));
        const auto it = std::find_if(sheets.begin(), sheets.end(), [&](const sample::ArtFile& f) {
            return f.path == std::string("bmp/") + info.file;
        });
        ASSERT_NE(it, sheets.end()) << info.file;
        const QImage& image = it->image;
        EXPECT_EQ(image.width() % info.width, 0) << info.file;
        EXPECT_GE(image.width() / info.width, 2) << info.file;
        EXPECT_EQ(image.height(), 3 * info.height) << info.file;
        // Normal, pushed and disabled faces can be told apart.
        for (int face = 0; face < image.width() / info.width; ++face) {
            const QImage normal = image.copy(face * info.width, 0, info.width, info.height);
            EXPECT_NE(normal, image.copy(face * info.width, info.height, info.width, info.height));
            EXPECT_NE(normal,
                      image.copy(face * info.width, 2 * info.height, info.width, info.height));
        }
    }
}

TEST(ToolTipsTest, RectanglesAndControlsCarryTheirTexts) {
    QWidget owner;
    QWidget child(&owner);
    ToolTips tips(&owner);
    tips.addToolRect(1, {0, 0, 20, 20}, "中立:首都");
    tips.addToolRect(2, {20, 0, 40, 20}, "b");
    tips.addToolControl(&child, "ﾍﾟﾝ");
    EXPECT_EQ(tips.textAt(19, 19).toStdString(), "中立:首都");
    EXPECT_EQ(tips.textAt(20, 0).toStdString(), "b");
    EXPECT_TRUE(tips.textAt(40, 0).isEmpty());
    EXPECT_EQ(child.toolTip().toStdString(), "ﾍﾟﾝ");
    tips.removeAll();
    EXPECT_EQ(tips.count(), 0);
    EXPECT_TRUE(tips.textAt(0, 0).isEmpty());
    EXPECT_TRUE(child.toolTip().isEmpty());
}

TEST(TreeViewTest, ItemsGoWhereAskedAndKeepTheirData) {
    Parent parent;
    parent.create();
    auto* tree = newWindow<TreeView>(&parent, 9);
    ASSERT_TRUE(tree->create());
    TreeView::Item a = tree->insertItem("a", nullptr, TreeView::kLast, 1);
    TreeView::Item c = tree->insertItem("c", nullptr, TreeView::kLast, 3);
    TreeView::Item b = tree->insertItem("b", nullptr, a, -2);
    tree->insertItem("first", nullptr, TreeView::kFirst, 0);
    TreeView::Item child = tree->insertItem("child", b, TreeView::kLast, 42);
    QTreeWidget* w = tree->tree();
    ASSERT_EQ(w->topLevelItemCount(), 4);
    EXPECT_EQ(w->topLevelItem(0)->text(0), "first");
    EXPECT_EQ(w->topLevelItem(2), b);
    EXPECT_EQ(w->topLevelItem(3), c);
    EXPECT_EQ(b->child(0), child);
    EXPECT_EQ(tree->itemData(b), -2);
    tree->setItemData(child, intptr_t(1) << 40);
    EXPECT_EQ(tree->itemData(child), intptr_t(1) << 40);
    tree->setItemText(a, "名前");
    EXPECT_EQ(a->text(0).toStdString(), "名前");
    EXPECT_EQ(tree->itemData(nullptr), 0);
}

}  // namespace
}  // namespace kv
