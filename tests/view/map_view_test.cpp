// The map view widget: centring a small map, the scroll bars, the wheel, Shift + right-drag,
// the guard after a context menu, the hex under the mouse, resizing, the private messages
// and the flush of changed hexes.
#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "render_fixture.h"
#include "view/map_view.h"

namespace kv {
namespace {

struct RecordingHost : MapViewHost {
    std::vector<HexPos> mouse, redrawn, origins;
    int many = 0;
    std::vector<bool> flushes;
    void hexUnderMouse(HexPos h) override { mouse.push_back(h); }
    void viewOriginChanged(HexPos h) override { origins.push_back(h); }
    void hexRedrawn(HexPos h) override { redrawn.push_back(h); }
    void manyHexesRedrawn() override { ++many; }
    void terrainFlushed(bool labelled) override { flushes.push_back(labelled); }
};

class MapViewTest : public kvtest::RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        doc().viewSettings.hexSize = 32;
    }
    void TearDown() override {
        view_.reset();
        RenderFixture::TearDown();
    }
    MapView& open(int width = 660, int height = 500) {
        view_ = std::make_unique<MapView>(nullptr, doc(), &host);
        view_->width = width;
        view_->height = height;
        EXPECT_TRUE(view_->create());
        view_->handle()->show();
        view_->setFlashInterval(0);
        QApplication::processEvents();
        return *view_;
    }
    void send(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) {
        MessageRecord m;
        m.message = message;
        m.wParam = wParam;
        m.lParam = lParam;
        view_->sendMessage(m);
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent e(type, at, view_->handle()->mapToGlobal(at), button, buttons, mods);
        QApplication::sendEvent(view_->handle(), &e);
    }

    RecordingHost host;
    std::unique_ptr<MapView> view_;
};

TEST_F(MapViewTest, MapNarrowerThanTheViewIsCentredAndCannotScrollSideways) {
    resize(10, 40);
    MapView& v = open();
    const HexPos visible = v.visibleSize();
    ASSERT_GT(visible.col, 10);
    EXPECT_EQ(v.scrollOrigin().col, -((visible.col - 10) / 2));
    EXPECT_LT(v.scrollOrigin().col, 0);
    EXPECT_FALSE(v.horizontalBar()->isEnabled());
    EXPECT_EQ(v.horizontalBar()->maximum(), 0);
    EXPECT_TRUE(v.verticalBar()->isEnabled());
    v.scrollTo(3, 5);
    EXPECT_EQ(v.scrollOrigin(), (HexPos{-((visible.col - 10) / 2), 5}));
    // The map's first hex is drawn where the centred origin puts it.
    EXPECT_EQ(v.hexToPixel(0, 4).x, 32 * ((visible.col - 10) / 2));
    EXPECT_EQ(v.hexToPixel(0, 5).x, 32 * ((visible.col - 10) / 2) + 16);
}

TEST_F(MapViewTest, ScrollBarsStepByOneAndByThreeQuartersOfAPage) {
    MapView& v = open();
    const HexPos visible = v.visibleSize();
    QScrollBar* bar = v.verticalBar();
    EXPECT_EQ(bar->pageStep(), visible.row);
    EXPECT_EQ(bar->maximum(), 64 - visible.row);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(v.scrollOrigin().row, 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(v.scrollOrigin().row, 1 + visible.row * 3 / 4);
    EXPECT_EQ(bar->value(), v.scrollOrigin().row);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(v.scrollOrigin().row, 64 - visible.row);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // clamped
    EXPECT_EQ(v.scrollOrigin().row, 64 - visible.row);
    v.horizontalBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(v.scrollOrigin(), (HexPos{1, 64 - visible.row}));
    EXPECT_FALSE(host.origins.empty());
}

TEST_F(MapViewTest, ShiftRightDragScrollsByWholeHexesAndEndsOnRelease) {
    MapView& v = open();
    v.scrollTo(10, 10);
    const QPoint start(300, 200);
    mouse(QEvent::MouseButtonPress, start, Qt::RightButton, Qt::RightButton, Qt::ShiftModifier);
    mouse(QEvent::MouseMove, start + QPoint(-70, -50), Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(v.scrollOrigin(), (HexPos{12, 12}));  // 70 / 32 columns, 50 / 24 rows
    mouse(QEvent::MouseMove, start + QPoint(40, 30), Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(v.scrollOrigin(), (HexPos{9, 9}));
    mouse(QEvent::MouseButtonRelease, start, Qt::RightButton, Qt::NoButton);
    mouse(QEvent::MouseMove, start + QPoint(-200, 0), Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(v.scrollOrigin(), (HexPos{9, 9}));
    // Without Shift a right press is the tools' business.
    mouse(QEvent::MouseButtonPress, start, Qt::RightButton, Qt::RightButton);
    mouse(QEvent::MouseMove, start + QPoint(-100, 0), Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(v.scrollOrigin(), (HexPos{9, 9}));
    mouse(QEvent::MouseButtonRelease, start, Qt::RightButton, Qt::NoButton);
}

TEST_F(MapViewTest, TheWheelScrollsThreeRowsAndWithShiftOrSidewaysThreeColumns) {
    MapView& v = open();
    v.scrollTo(10, 10);
    auto wheel = [&](QPoint delta, Qt::KeyboardModifiers mods) {
        const QPointF at(100, 100);
        QWheelEvent e(at, v.handle()->mapToGlobal(at), QPoint(), delta, Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(v.handle(), &e);
    };
    wheel({0, -120}, Qt::NoModifier);
    EXPECT_EQ(v.scrollOrigin(), (HexPos{10, 13}));
    wheel({0, -120}, Qt::ShiftModifier);
    EXPECT_EQ(v.scrollOrigin(), (HexPos{13, 13}));
    wheel({0, 240}, Qt::ShiftModifier);
    EXPECT_EQ(v.scrollOrigin(), (HexPos{7, 13}));
    wheel({120, 0}, Qt::NoModifier);  // a tilt to the left
    EXPECT_EQ(v.scrollOrigin(), (HexPos{4, 13}));
}

TEST_F(MapViewTest, PrimaryPressRightAfterAContextMenuIsIgnored) {
    MapView& v = open();
    MessageRecord press;
    press.message = msg::LButtonDown;
    EXPECT_EQ(v.onMessage(press), 0);
    v.noteContextMenuClosed();
    EXPECT_EQ(v.onMessage(press), 1);
    QTest::qWait(MapView::kMenuGuardMs + 50);
    EXPECT_EQ(v.onMessage(press), 0);
}

// Real mouse events reach the tool of the current mode with the hexes under the mouse; Shift +
// right-drag stays the view's own and a press right after a context menu reaches no tool.
TEST_F(MapViewTest, MouseInputReachesTheCurrentToolAsHexes) {
    struct Tool : MapTool {
        std::vector<std::string> calls;
        void log(const char* what, const ToolPoint& p) {
            calls.push_back(std::string(what) + " " + std::to_string(p.hex.col) + "," +
                            std::to_string(p.hex.row) + (p.inMap ? "" : " outside"));
        }
        void press(ToolHost& h, const ToolPoint& p) override {
            log("press", p);
            h.queueHex(p.hex);
            h.flush();
        }
        void move(ToolHost&, const ToolPoint& p) override { log("move", p); }
        void release(ToolHost&, const ToolPoint& p) override { log("release", p); }
        void hover(ToolHost&, const ToolPoint& p) override { log("hover", p); }
        bool rightPress(ToolHost&, const ToolPoint& p) override {
            log("right", p);
            return true;
        }
    };
    MapView& v = open();
    v.scrollTo(5, 7);
    auto tool = std::make_shared<Tool>();
    v.tools().add(kEditTerrain, ToolRouter::kAnyKind, tool);
    const QPoint a(100, 60), b(140, 60);
    const HexPos ha = v.pixelToHex(a.x(), a.y()), hb = v.pixelToHex(b.x(), b.y());
    auto at = [](HexPos h) { return std::to_string(h.col) + "," + std::to_string(h.row); };
    host.redrawn.clear();
    mouse(QEvent::MouseMove, a, Qt::NoButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, b, Qt::RightButton, Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, b, Qt::RightButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, b, Qt::RightButton, Qt::RightButton, Qt::ShiftModifier);
    mouse(QEvent::MouseButtonRelease, b, Qt::RightButton, Qt::NoButton, Qt::ShiftModifier);
    v.noteContextMenuClosed();
    mouse(QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    const std::vector<std::string> expected = {"hover " + at(ha), "press " + at(ha),
                                               "move " + at(hb), "release " + at(hb),
                                               "right " + at(hb)};
    EXPECT_EQ(tool->calls, expected);
    // While the button is held the main frame still hears of the hex under the mouse.
    ASSERT_FALSE(host.mouse.empty());
    EXPECT_EQ(host.mouse.back(), hb);
    // The hex the tool queued was drawn again.
    ASSERT_FALSE(host.redrawn.empty());
    EXPECT_EQ(host.redrawn.front(), ha);
}

TEST_F(MapViewTest, HexUnderTheMouseIsReportedOncePerHex) {
    MapView& v = open();
    v.scrollTo(5, 7);
    host.mouse.clear();
    const QPoint a(100, 60), b(104, 62), c(140, 60);
    mouse(QEvent::MouseMove, a, Qt::NoButton, Qt::NoButton);
    mouse(QEvent::MouseMove, b, Qt::NoButton, Qt::NoButton);
    mouse(QEvent::MouseMove, c, Qt::NoButton, Qt::NoButton);
    ASSERT_EQ(host.mouse.size(), 2u);
    EXPECT_EQ(host.mouse[0], v.pixelToHex(a.x(), a.y()));
    EXPECT_EQ(host.mouse[1], v.pixelToHex(c.x(), c.y()));
    EXPECT_EQ(host.mouse[0].row, 7 + 60 / 24);
}

TEST_F(MapViewTest, ResizingKeepsTheImagesAndReclampsTheOrigin) {
    resize(40, 30);
    MapView& v = open(420, 300);
    v.scrollTo(100, 100);
    const HexPos before = v.scrollOrigin();
    const uchar* bits = v.renderer().screenImage().constBits();
    // Growing the view shows more hexes, so the last ones need a smaller origin.
    v.handle()->resize(780, 580);
    QApplication::processEvents();
    EXPECT_EQ(v.renderer().screenImage().constBits(), bits);
    EXPECT_GT(v.clientWidth(), 700);
    const HexPos visible = v.visibleSize();
    EXPECT_EQ(v.scrollOrigin(), (HexPos{40 - visible.col, 30 - visible.row}));
    EXPECT_NE(v.scrollOrigin(), before);
    // Shrinking it again keeps a valid origin where it is.
    const HexPos grown = v.scrollOrigin();
    v.handle()->resize(500, 400);
    QApplication::processEvents();
    EXPECT_EQ(v.scrollOrigin(), grown);
    EXPECT_EQ(v.renderer().screenImage().constBits(), bits);
}

TEST_F(MapViewTest, ScrollToMessageCarriesColumnAndRowInOneWord) {
    open();
    send(viewmsg::ScrollTo, uintptr_t{6} << 16 | 9);
    EXPECT_EQ(view_->scrollOrigin(), (HexPos{9, 6}));
}

TEST_F(MapViewTest, FlashingSetsAndClearsTheMarkAndBringsTheHexIntoView) {
    MapView& v = open();
    std::vector<HexPos> log;
    v.renderer().setDrawLog(&log);
    send(viewmsg::FlashHex, 50, 55);
    EXPECT_TRUE(v.isHexVisible(50, 55));
    EXPECT_EQ(doc().mapGrid.hexMarks[size_t(50 + 55 * 64)] & kMarkFlash, 0u);
    EXPECT_EQ(std::count(log.begin(), log.end(), HexPos{50, 55}),
              4 + 1);  // four steps and the move
}

TEST_F(MapViewTest, LocatingATroopFlashesItsHex) {
    putTroop(2, 5, troop(kvtest::kTank, 60, 60));
    MapView& v = open();
    send(viewmsg::LocateTroop, 2, 5);
    EXPECT_TRUE(v.isHexVisible(60, 60));
    send(viewmsg::ScrollTo, 0);
    send(viewmsg::LocateTroop, 2, 6);  // an empty slot: nothing happens
    EXPECT_EQ(v.scrollOrigin(), (HexPos{0, 0}));
}

TEST_F(MapViewTest, SheetsAreRebuiltForANewZoomAndTheUnderlayGoesWithANewMap) {
    MapView& v = open();
    doc().viewSettings.hexSize = 48;
    send(viewmsg::RebuildSheets);
    EXPECT_EQ(v.renderer().sheets().hexSize(), 48);
    QImage picture(20, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    v.renderer().setUnderlay(picture);
    send(viewmsg::RemoveUnderlay);
    EXPECT_FALSE(v.renderer().underlayLoaded());
    v.renderer().setUnderlay(picture);
    send(viewmsg::NewMap);
    EXPECT_FALSE(v.renderer().underlayLoaded());
}

TEST_F(MapViewTest, UnderlayMessagesHandOverThePlacement) {
    MapView& v = open();
    kvtest::TempDir dir;
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("under.png"))));
    v.underlayActualSize = true;
    v.underlayOffsetCol = 1;
    doc().tool.mapDrawMethod = kUnderlayOnly;
    send(viewmsg::LoadUnderlay,
         reinterpret_cast<uintptr_t>(new std::string(dir.file("under.png"))));
    ASSERT_TRUE(v.renderer().underlayLoaded());
    EXPECT_EQ(v.renderer().screenImage().pixel(32, 0), 0xFF0000FFu);
    EXPECT_EQ(v.renderer().screenImage().pixel(31, 0), 0xFF000000u);
    v.underlayOffsetCol = 2;
    send(viewmsg::UnderlayPlacement);
    EXPECT_EQ(v.renderer().screenImage().pixel(32, 0), 0xFF000000u);
    EXPECT_EQ(v.renderer().screenImage().pixel(64, 0), 0xFF0000FFu);
}

TEST_F(MapViewTest, FlushDrawsEachQueuedHexOnceAndReportsIt) {
    MapView& v = open();
    doc().tool.editMode = kEditTerrain;
    ASSERT_TRUE(doc().setLabel(4, 3, "L", 0, 0));
    std::vector<HexPos> log;
    v.renderer().setDrawLog(&log);
    v.queueHex(3, 3);
    v.queueHex(4, 3);
    v.queueHex(3, 3);
    v.queueHex(60, 60);  // out of view
    v.flushChangedHexes();
    EXPECT_EQ(log, (std::vector<HexPos>{{3, 3}, {4, 3}, {60, 60}}));
    EXPECT_EQ(host.redrawn, (std::vector<HexPos>{{3, 3}, {4, 3}, {60, 60}}));
    EXPECT_TRUE(v.changedHexes().empty());
    EXPECT_TRUE(doc().viewSettings.redrawGrid.isDirty(60, 60));
    EXPECT_FALSE(doc().viewSettings.redrawGrid.isDirty(3, 3));
    EXPECT_EQ(host.flushes, (std::vector<bool>{true}));
    // More than 200 hexes: one report for the whole overview.
    for (int i = 0; i < 201; ++i) v.queueHex(i % 64, i / 64);
    v.flushChangedHexes();
    EXPECT_EQ(host.many, 1);
    EXPECT_EQ(host.redrawn.size(), 3u);
}

TEST_F(MapViewTest, ConnectedTerrainChangeRedrawsTheWholeView) {
    MapView& v = open();
    std::vector<HexPos> log;
    v.renderer().setDrawLog(&log);
    doc().connectedTerrainTouched = 1;
    v.queueHex(3, 3);
    v.flushChangedHexes();
    EXPECT_EQ(doc().connectedTerrainTouched, 0);
    EXPECT_GT(log.size(), size_t(v.visibleSize().col * v.visibleSize().row));
}

TEST_F(MapViewTest, RedrawRowLeavesTheRowToBeDrawnAgain) {
    MapView& v = open();
    std::vector<HexPos> log;
    v.renderer().setDrawLog(&log);
    send(viewmsg::RedrawRow, 4);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](HexPos h) { return h.row == 4; }), 64);
    EXPECT_TRUE(std::all_of(log.begin(), log.end(), [](HexPos h) { return h.row == 4; }));
    EXPECT_TRUE(doc().viewSettings.redrawGrid.isDirty(2, 4));
    // At the smallest size the rows around it go with it.
    doc().viewSettings.hexSize = 16;
    send(viewmsg::RebuildSheets);
    send(viewmsg::Redraw);
    log.clear();
    send(viewmsg::RedrawRow, 4);
    for (int row : {3, 4, 5})
        EXPECT_EQ(std::count_if(log.begin(), log.end(), [row](HexPos h) { return h.row == row; }),
                  64);
}

}  // namespace
}  // namespace kv
