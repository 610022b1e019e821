// The terrain tools driven by real mouse events on a map view: what each draw kind paints,
// one undo step per gesture restoring every byte of the grid, the preview of a line, the
// links along a line brush's path, and the right-button pick-up.
#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <vector>

#include "document/edit_operation.h"
#include "render_fixture.h"
#include "view/map_view.h"
#include "view/terrain_tools.h"

namespace kv {
namespace {

constexpr int kMountain = 5, kMegaMountainCentre = 1003;

class TerrainToolsTest : public kvtest::RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        doc().viewSettings.hexSize = 32;
        doc().tool.editMode = kEditTerrain;
        brush.valid = 1;
        brush.terrainId = kvtest::kForest;
        brush.picture = 0;
    }
    void TearDown() override {
        view_.reset();
        RenderFixture::TearDown();
    }
    MapView& open() {
        doc().recomputeDerivedHexData();
        view_ = std::make_unique<MapView>(nullptr, doc(), nullptr);
        view_->width = 660;
        view_->height = 500;
        EXPECT_TRUE(view_->create());
        view_->handle()->show();
        view_->setFlashInterval(0);
        installTerrainTools(view_->tools(), brush);
        view_->scrollTo(0, 0);
        QApplication::processEvents();
        return *view_;
    }
    QPoint at(HexPos h) {
        const PixelPos p = view_->hexToPixel(h.col, h.row);
        const QPoint q(p.x + 16, p.y + 16);
        EXPECT_EQ(view_->pixelToHex(q.x(), q.y()), h);
        return q;
    }
    void mouse(QEvent::Type type, HexPos h, Qt::MouseButton button, Qt::MouseButtons buttons) {
        const QPoint q = at(h);
        QMouseEvent e(type, q, view_->handle()->mapToGlobal(q), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view_->handle(), &e);
    }
    // Press on the first hex, move through the others, release on the last.
    void drag(const std::vector<HexPos>& hexes) {
        mouse(QEvent::MouseButtonPress, hexes.front(), Qt::LeftButton, Qt::LeftButton);
        for (size_t i = 1; i < hexes.size(); ++i)
            mouse(QEvent::MouseMove, hexes[i], Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, hexes.back(), Qt::LeftButton, Qt::NoButton);
    }
    std::vector<uint8_t> gridBytes() {
        const auto& cells = doc().mapGrid.cells;
        std::vector<uint8_t> bytes(cells.size() * sizeof(HexCell));
        std::memcpy(bytes.data(), cells.data(), bytes.size());
        return bytes;
    }
    bool anyPreviewMark() {
        for (int r = 0; r < doc().height(); ++r)
            for (int c = 0; c < doc().width(); ++c)
                if (*doc().marksAt(c, r) & kMarkPreview) return true;
        return false;
    }
    // The hexes whose cells differ from `before`.
    std::set<std::pair<int, int>> changedSince(const std::vector<uint8_t>& before) {
        std::set<std::pair<int, int>> out;
        const std::vector<uint8_t> now = gridBytes();
        for (int r = 0; r < doc().height(); ++r)
            for (int c = 0; c < doc().width(); ++c) {
                const size_t i = size_t(c + r * doc().width()) * sizeof(HexCell);
                if (std::memcmp(&now[i], &before[i], sizeof(HexCell)) != 0) out.insert({c, r});
            }
        return out;
    }
    int roadTerrain() {
        for (size_t id = 0; id < kMaxTerrainTypes; ++id)
            if (doc().gameDatabase.terrain(id).category == TerrainCategory::Road) return int(id);
        ADD_FAILURE() << "no road terrain";
        return 0;
    }

    TerrainBrush brush;
    std::unique_ptr<MapView> view_;
};

// Every draw kind paints exactly its hexes in one gesture, leaves no preview behind, and one
// undo gives back every byte of the grid.
TEST_F(TerrainToolsTest, EachDrawKindPaintsItsHexesAsOneUndoStep) {
    // A forest patch of three hexes with two neighbouring cities of different owners.
    for (HexPos h : {HexPos{8, 8}, HexPos{9, 8}, HexPos{9, 9}}) {
        cell(h.col, h.row).terrain = kvtest::kForest;
        cell(h.col, h.row).picture = 0;
    }
    for (int c = 3; c <= 5; ++c) {
        cell(c, 12).terrain = kvtest::kMediumCity;
        cell(c, 12).picture = kvtest::kMediumCityPicture;
        cell(c, 12).owner = c == 5 ? 2 : 1;
    }
    MapView& v = open();
    (void)v;
    using Hexes = std::set<std::pair<int, int>>;
    auto gesture = [&](int kind, int penKind, const std::vector<HexPos>& hexes,
                       const Hexes& expected) {
        SCOPED_TRACE(kind * 10 + penKind);
        doc().tool.drawKind = kind;
        doc().tool.penKind = penKind;
        const std::vector<uint8_t> before = gridBytes();
        doc().history.clear();
        drag(hexes);
        EXPECT_FALSE(anyPreviewMark());
        EXPECT_EQ(changedSince(before), expected);
        doc().history.undo();
        EXPECT_TRUE(gridBytes() == before);
        EXPECT_FALSE(doc().history.canUndo());
    };
    brush.terrainId = kvtest::kSea;
    // Pen: every hex the drag passes.
    gesture(kDrawPen, 0, {{2, 2}, {3, 2}, {3, 3}}, {{2, 2}, {3, 2}, {3, 3}});
    // Mega pen: the hex and its six neighbours.
    Hexes ring = {{15, 15}};
    for (int d = 0; d < kDirectionCount; ++d) {
        const HexPos n = neighbourPos({15, 15}, d);
        ring.insert({n.col, n.row});
    }
    gesture(kDrawPen, 1, {{15, 15}}, ring);
    // Box: the rectangle between press and release, whatever the hexes passed on the way.
    Hexes box;
    for (int r = 4; r <= 6; ++r)
        for (int c = 10; c <= 13; ++c) box.insert({c, r});
    gesture(kDrawBox, 0, {{13, 4}, {15, 9}, {10, 6}}, box);
    // Line: the hex line from the anchor to the hex released on.
    Hexes line;
    for (HexPos h : hexLine({2, 14}, {9, 17})) line.insert({h.col, h.row});
    gesture(kDrawLine, 0, {{2, 14}, {4, 18}, {9, 17}}, line);
    // Flood fill: the connected forest only; cities stop at another owner's.
    gesture(kDrawFlood, 0, {{9, 9}}, {{8, 8}, {9, 8}, {9, 9}});
    gesture(kDrawFlood, 0, {{3, 12}}, {{3, 12}, {4, 12}});
    // Delete: the roads of the hexes passed and their neighbours' links towards them.
    for (int c = 14; c <= 17; ++c) {
        cell(c, 10).roadLinks = static_cast<uint8_t>((c > 14 ? 1 : 0) | (c < 17 ? 8 : 0));
    }
    gesture(kDrawDeleteLinks, 0, {{15, 10}, {16, 10}}, {{14, 10}, {15, 10}, {16, 10}, {17, 10}});
    // A mega piece: the pen lays the group's seven members around the centre.
    brush.terrainId = kMountain;
    brush.picture = kMegaMountainCentre;
    gesture(kDrawPen, 0, {{15, 15}}, ring);
    doc().tool.drawKind = kDrawPen;
    drag({{15, 15}});
    EXPECT_EQ(cell(15, 15).picture, kMegaMountainCentre);
    for (int d = 0; d < kDirectionCount; ++d) {
        const HexPos n = neighbourPos({15, 15}, d);
        EXPECT_EQ(cell(n.col, n.row).picture, kMegaFirstPicture + megaMemberOnSide(d));
    }
}

// A line brush draws a line whatever the draw kind: the preview follows the mouse, and on
// release the road links every consecutive pair of the path on both sides.
TEST_F(TerrainToolsTest, LineBrushLinksEveryConsecutivePairOfThePath) {
    MapView& v = open();
    (void)v;
    brush.terrainId = static_cast<uint16_t>(roadTerrain());
    brush.picture = 0;
    doc().tool.drawKind = kDrawPen;
    ASSERT_EQ(effectiveTerrainDrawKind(doc(), brush), kDrawLine);
    const HexPos from{3, 3}, to{8, 15};
    const std::vector<uint8_t> before = gridBytes();
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, {12, 4}, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    const std::vector<HexPos> path = hexLine(from, to);
    std::set<std::pair<int, int>> onPath;
    for (HexPos h : path) onPath.insert({h.col, h.row});
    for (int r = 0; r < doc().height(); ++r)
        for (int c = 0; c < doc().width(); ++c)
            EXPECT_EQ((*doc().marksAt(c, r) & kMarkPreview) != 0, onPath.count({c, r}) == 1)
                << c << "," << r;
    EXPECT_TRUE(gridBytes() == before);  // nothing placed before the release
    mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(anyPreviewMark());
    int links = 0;
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] == path[i - 1]) continue;
        const int d = directionTo(path[i - 1], path[i]);
        ASSERT_GE(d, 0) << "not neighbours at " << i;
        EXPECT_TRUE(cell(path[i - 1].col, path[i - 1].row).roadLinks & (1u << d));
        EXPECT_TRUE(cell(path[i].col, path[i].row).roadLinks & (1u << oppositeDirection(d)));
        ++links;
    }
    EXPECT_GT(links, 10);
    doc().history.undo();
    EXPECT_TRUE(gridBytes() == before);
}

// The right button takes the hex's piece into the brush: a bridge its bridge piece, a mega
// member its group's centre; nothing on the map changes.
TEST_F(TerrainToolsTest, RightButtonPicksUpTheHexIntoTheBrush) {
    HexCell& bridge = cell(4, 5);
    bridge.terrain = kvtest::kBridgeTerrain;
    bridge.bridgePiece = 3;
    bridge.owner = 2;
    HexCell& member = cell(7, 7);
    member.terrain = kMountain;
    member.picture = kMegaFirstPicture + 7 + 5;  // the second group's south-west member
    member.destroyed = 1;
    MapView& v = open();
    (void)v;
    const std::vector<uint8_t> before = gridBytes();
    brush.supplyLine = 1;
    mouse(QEvent::MouseButtonPress, {4, 5}, Qt::RightButton, Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, {4, 5}, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(brush.terrainId, kvtest::kBridgeTerrain);
    EXPECT_EQ(brush.picture, 2);
    EXPECT_EQ(brush.owner, 2);
    EXPECT_EQ(brush.supplyLine, 0);
    mouse(QEvent::MouseButtonPress, {7, 7}, Qt::RightButton, Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, {7, 7}, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(brush.terrainId, kMountain);
    EXPECT_EQ(brush.picture, kMegaFirstPicture + 7 + kMegaCentreMember);
    EXPECT_EQ(brush.destroyed, 1);
    EXPECT_TRUE(gridBytes() == before);
}

// Copy and paste: the block keeps its shape on the screen wherever it lands (odd onto even
// rows, overlapping its source, clamped at the map's edge), every source cell arrives once,
// the right button gives up a waiting paste, and one undo gives back every byte.
TEST_F(TerrainToolsTest, PasteMovesTheBlockAsOneShapeAndUndoRestoresTheGrid) {
    resize(18, 15);
    // Each source cell carries its own number, so its landing place can be found.
    const HexRect source{3, 3, 6, 6};
    auto tagOf = [](const HexCell& c) { return int(c.missile); };
    for (int r = source.top; r <= source.bottom; ++r)
        for (int c = source.left; c <= source.right; ++c) {
            cell(c, r).terrain = kvtest::kForest;
            cell(c, r).missile = static_cast<uint16_t>(100 + c + r * 20);
        }
    MapView& v = open();
    doc().tool.drawKind = kDrawCopy;
    auto pasteAt = [&](HexPos cursor) {
        SCOPED_TRACE(cursor.col * 100 + cursor.row);
        const std::vector<uint8_t> before = gridBytes();
        doc().history.clear();
        drag({{source.left, source.top}, {source.right, source.bottom}});
        EXPECT_EQ(doc().tool.areaSelectActive, 1);
        EXPECT_TRUE(gridBytes() == before);  // selecting changes nothing
        mouse(QEvent::MouseMove, cursor, Qt::NoButton, Qt::NoButton);
        EXPECT_TRUE(anyPreviewMark());  // the outline follows the mouse
        drag({cursor});
        EXPECT_EQ(doc().tool.areaSelectActive, 0);
        EXPECT_FALSE(anyPreviewMark());
        // Every tag lands once, and all of them moved by the same number of pixels.
        std::optional<QPoint> shift;
        int found = 0;
        for (int r = 0; r < doc().height(); ++r)
            for (int c = 0; c < doc().width(); ++c) {
                const int tag = tagOf(cell(c, r));
                if (tag == 0) continue;
                const int sc = (tag - 100) % 20, sr = (tag - 100) / 20;
                const PixelPos from = v.hexToPixel(sc, sr), to = v.hexToPixel(c, r);
                const QPoint d(to.x - from.x, to.y - from.y);
                if (!source.contains({c, r}) || d != QPoint(0, 0)) {
                    if (!shift) shift = d;
                    EXPECT_EQ(d, *shift) << c << "," << r;
                    ++found;
                }
            }
        EXPECT_EQ(found, source.width() * source.height());
        doc().history.undo();
        EXPECT_TRUE(gridBytes() == before);
    };
    pasteAt({11, 4});   // odd top row onto an even one
    pasteAt({11, 9});   // odd onto odd
    pasteAt({5, 6});    // overlapping its own source
    pasteAt({17, 14});  // against the bottom-right corner: clamped into the map
    // The right button gives a waiting paste up without touching the map.
    const std::vector<uint8_t> before = gridBytes();
    drag({{3, 3}, {4, 4}});
    mouse(QEvent::MouseMove, {10, 10}, Qt::NoButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, {10, 10}, Qt::RightButton, Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, {10, 10}, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(doc().tool.areaSelectActive, 0);
    EXPECT_FALSE(anyPreviewMark());
    EXPECT_TRUE(gridBytes() == before);
    // So does a change of draw kind while it waits.
    drag({{3, 3}, {4, 4}});
    mouse(QEvent::MouseMove, {10, 10}, Qt::NoButton, Qt::NoButton);
    v.tools().reset(v);
    EXPECT_EQ(doc().tool.areaSelectActive, 0);
    EXPECT_FALSE(anyPreviewMark());
}

// The border mode paints territories with the same tools: after any sequence of them the
// borderline bits of every hex are those the territories give, a fill stops at another
// territory, and undo of each gesture restores cells and borderlines.
TEST_F(TerrainToolsTest, BorderModeKeepsBorderlinesTrueToTheTerritories) {
    resize(18, 15);
    MapView& v = open();
    (void)v;
    doc().setEditMode(kEditBorderlines);
    auto overlays = [&] {
        std::vector<uint8_t> bits;
        for (int r = 0; r < doc().height(); ++r)
            for (int c = 0; c < doc().width(); ++c)
                bits.push_back(doc().overlayAt(c, r)->borderBits);
        return bits;
    };
    auto expectTrueBorderlines = [&] {
        for (int r = 0; r < doc().height(); ++r)
            for (int c = 0; c < doc().width(); ++c) {
                const HexCell& h = cell(c, r);
                uint8_t want = 0;
                for (int d = 0; d < kDirectionCount && h.territory != 0; ++d) {
                    const HexPos n = neighbourPos({c, r}, d);
                    if (doc().contains(n.col, n.row) && cell(n.col, n.row).territory != h.territory)
                        want |= uint8_t(1u << d);
                }
                ASSERT_EQ(doc().overlayAt(c, r)->borderBits, want) << c << "," << r;
            }
    };
    std::mt19937 rng(7);
    auto any = [&](int n) { return int(rng() % unsigned(n)); };
    for (int step = 0; step < 40; ++step) {
        SCOPED_TRACE(step);
        doc().tool.borderFaction = any(4);
        doc().tool.borderKind = 2 + any(2);
        doc().tool.penKind = any(3) == 0 ? 1 : 0;
        const int kinds[] = {kDrawPen, kDrawLine, kDrawBox, kDrawFlood};
        doc().tool.drawKind = kinds[any(4)];
        const std::vector<uint8_t> cells = gridBytes(), bits = overlays();
        doc().history.clear();
        const HexPos a{any(18), any(15)}, b{any(18), any(15)};
        const int seedTerritory = cell(a.col, a.row).territory;
        drag(doc().tool.drawKind == kDrawFlood ? std::vector<HexPos>{a}
                                               : std::vector<HexPos>{a, b});
        expectTrueBorderlines();
        if (doc().tool.drawKind == kDrawFlood && seedTerritory != doc().tool.borderFaction) {
            // Nothing of another territory was painted.
            for (auto [c, r] : changedSince(cells)) {
                const size_t i = size_t(c + r * 18) * sizeof(HexCell) + 11;
                EXPECT_EQ(cells[i], seedTerritory) << c << "," << r;
            }
        }
        if (any(3) == 0) {
            doc().history.undo();
            EXPECT_TRUE(gridBytes() == cells);
            EXPECT_TRUE(overlays() == bits);
        }
    }
    // Copy and delete are not tools of the border mode.
    doc().tool.drawKind = kDrawCopy;
    const std::vector<uint8_t> before = gridBytes();
    drag({{2, 2}, {4, 4}});
    EXPECT_EQ(doc().tool.areaSelectActive, 0);
    EXPECT_TRUE(gridBytes() == before);
}

// The right button's menus: a missile base (after the pick-up) and a hex with a territory
// offer "プロパティ", enabled for a territory only when it has a borderline; choosing it opens
// the hex's dialog, and the press right after the menu closed paints nothing.
TEST_F(TerrainToolsTest, RightButtonMenusOpenTheHexDialogs) {
    constexpr int kMissileBaseTerrain = 44;
    cell(6, 6).terrain = kMissileBaseTerrain;
    MapView& v = open();
    std::vector<std::pair<char, HexPos>> opened;
    TerrainToolHooks hooks;
    hooks.missileBaseDialog = [&](ToolHost&, HexPos h) { opened.push_back({'m', h}); };
    hooks.borderlineDialog = [&](ToolHost&, HexPos h) { opened.push_back({'b', h}); };
    installTerrainTools(v.tools(), brush, hooks);
    std::vector<bool> enabled;
    v.menuSeam = [&](HexPos, const std::vector<ToolMenuItem>& items) {
        enabled.push_back(items.at(0).enabled);
        return items.at(0).enabled ? kHexPropertiesItem : 0;
    };
    auto rightClick = [&](HexPos h) {
        mouse(QEvent::MouseButtonPress, h, Qt::RightButton, Qt::RightButton);
        mouse(QEvent::MouseButtonRelease, h, Qt::RightButton, Qt::NoButton);
    };
    rightClick({5, 5});  // plain land: a pick-up, no menu
    rightClick({6, 6});
    EXPECT_EQ(brush.terrainId, kMissileBaseTerrain);
    const std::vector<uint8_t> before = gridBytes();
    doc().tool.drawKind = kDrawPen;
    drag({{6, 6}});  // within the guard after the menu
    EXPECT_TRUE(gridBytes() == before);

    doc().setEditMode(kEditBorderlines);
    doc().setBorderline(3, 3, {1, 2});
    doc().setBorderline(12, 12, {1, 2});
    for (int d = 0; d < kDirectionCount; ++d) {
        const HexPos n = neighbourPos({12, 12}, d);
        doc().setBorderline(n.col, n.row, {1, 2});
    }
    rightClick({9, 9});    // no territory: no menu
    rightClick({3, 3});    // borderlines all round
    rightClick({12, 12});  // inside its territory: the menu, its entry greyed
    EXPECT_EQ(enabled, (std::vector<bool>{true, true, false}));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], (std::pair<char, HexPos>{'m', {6, 6}}));
    EXPECT_EQ(opened[1], (std::pair<char, HexPos>{'b', {3, 3}}));
}

// While the mine palette is shown the pen lays its mine on the hexes that allow it and the
// delete kind takes mines away, one undo step per stroke; terrain stays as it was.
TEST_F(TerrainToolsTest, TheMinePaletteTurnsThePenIntoAMineLayer) {
    cell(4, 2).terrain = kvtest::kSea;
    open();
    doc().tool.drawKind = kDrawPen;
    doc().tool.minePlacement = 1;
    doc().tool.mineKind = 1;
    doc().tool.mineCount = 3;
    doc().tool.mineSeenBy = 0x05;
    const std::vector<uint8_t> before = gridBytes();
    doc().history.clear();
    doc().history.setLimits(10);
    drag({{2, 2}, {3, 2}, {4, 2}});
    for (int c : {2, 3}) {
        EXPECT_EQ(cell(c, 2).mineKind, 1);
        EXPECT_EQ(cell(c, 2).mineCount, 3);
        EXPECT_EQ(cell(c, 2).mineSeenBy, 0x05);
        EXPECT_EQ(cell(c, 2).terrain, kvtest::kPlain);
    }
    EXPECT_EQ(cell(4, 2).mineKind, 0) << "a land mine does not go into the sea";
    // The view marks a mine in the hex's lower left; the hex without one shows no mark there.
    auto markAt = [&](HexPos h) {
        const PixelPos p = view_->hexToPixel(h.col, h.row);
        return view_->renderer().mapImage().pixel(p.x + 32 * 3 / 10, p.y + 32 * 7 / 10) & 0xffffff;
    };
    EXPECT_EQ(markAt({2, 2}), 0xb01818u);
    EXPECT_NE(markAt({4, 2}), 0xb01818u);
    doc().tool.mineKind = 0;
    drag({{3, 2}});
    EXPECT_EQ(cell(3, 2).mineKind, 0);
    EXPECT_EQ(cell(2, 2).mineKind, 1);
    doc().history.undo();
    doc().history.undo();
    EXPECT_TRUE(gridBytes() == before);
    // Without the palette the pen paints terrain again.
    doc().tool.minePlacement = 0;
    drag({{6, 6}});
    EXPECT_EQ(cell(6, 6).terrain, kvtest::kForest);
}

}  // namespace
}  // namespace kv
