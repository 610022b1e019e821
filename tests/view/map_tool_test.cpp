// The tool router: which tool gets the mouse, the guard after a context menu, and drags that
// are broken off.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/map_document.h"
#include "view/map_tool.h"

namespace kv {
namespace {

struct LogTool : MapTool {
    explicit LogTool(std::string name, std::string& log) : name(std::move(name)), log(log) {}
    std::string name;
    std::string& log;
    void add(const char* what, const ToolPoint* p = nullptr) {
        log += name + "." + what;
        if (p) log += "(" + std::to_string(p->hex.col) + "," + std::to_string(p->hex.row) + ")";
        log += " ";
    }
    void press(ToolHost&, const ToolPoint& p) override { add("press", &p); }
    void move(ToolHost&, const ToolPoint& p) override { add("move", &p); }
    void release(ToolHost&, const ToolPoint& p) override { add("release", &p); }
    void cancel(ToolHost&) override { add("cancel"); }
    void hover(ToolHost&, const ToolPoint& p) override { add("hover", &p); }
    bool rightPress(ToolHost&, const ToolPoint& p) override {
        add("right", &p);
        return true;
    }
};

struct Host : ToolHost {
    MapDocument doc;
    MapDocument& document() override { return doc; }
    void queueHex(HexPos) override {}
    void queueRow(int) override {}
    void flush() override {}
};

ToolPoint at(int col, int row) {
    return {{col, row}, true, 0, 0, false, false};
}

TEST(ToolRouter, RoutesByModeAndKindAndBreaksOffDragsOnce) {
    Host host;
    std::string log;
    ToolRouter router;
    router.add(kEditTerrain, kDrawPen, std::make_shared<LogTool>("pen", log));
    router.add(kEditTerrain, kDrawLine, std::make_shared<LogTool>("line", log));
    router.add(kEditTroops, ToolRouter::kAnyKind, std::make_shared<LogTool>("troop", log));
    MapDocument& doc = host.doc;

    // A whole drag goes to the tool it started with.
    EXPECT_TRUE(router.press(host, at(1, 1), 1000));
    EXPECT_TRUE(router.move(host, at(2, 1), true));
    EXPECT_TRUE(router.rightPress(host, at(2, 1)));  // swallowed while dragging
    EXPECT_TRUE(router.release(host, at(3, 1)));
    EXPECT_FALSE(router.dragging());
    EXPECT_EQ(log, "pen.press(1,1) pen.move(2,1) pen.release(3,1) ");

    // A press just after a context menu closed is taken and ignored; later ones work.
    log.clear();
    router.contextMenuClosed(5000);
    EXPECT_TRUE(router.press(host, at(1, 1), 5000 + ToolRouter::kMenuGuardMs - 1));
    EXPECT_FALSE(router.dragging());
    EXPECT_TRUE(router.press(host, at(1, 1), 5000 + ToolRouter::kMenuGuardMs));
    EXPECT_TRUE(router.dragging());

    // The draw kind changes mid-drag: the pen is cancelled once, the release goes nowhere.
    doc.tool.drawKind = kDrawLine;
    router.move(host, at(4, 4), true);
    EXPECT_FALSE(router.release(host, at(4, 4)));
    // A move with the button no longer held ends a drag whose release went elsewhere.
    router.press(host, at(0, 0), 9000);
    router.move(host, at(0, 1), false);
    router.move(host, at(0, 2), false);
    EXPECT_EQ(log, "pen.press(1,1) pen.cancel line.press(0,0) line.cancel line.hover(0,2) ");

    // Troop modes choose by the troop draw kind, falling back to the mode's any-kind tool;
    // a mode without tools takes nothing.
    log.clear();
    doc.tool.editMode = kEditTroops;
    doc.tool.troopDrawKind = 2;
    EXPECT_TRUE(router.rightPress(host, at(5, 6)));
    doc.tool.editMode = kEditLabels;
    EXPECT_FALSE(router.press(host, at(5, 6), 10000));
    EXPECT_FALSE(router.move(host, at(5, 6), false));
    EXPECT_EQ(log, "troop.right(5,6) ");
}

}  // namespace
}  // namespace kv
