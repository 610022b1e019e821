// Terrain editing: symmetric links and their undo images, placing pieces with their
// fix-ups, the mine rules, territories and borderlines, and link strokes.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <vector>

#include "document/link_stroke.h"
#include "sample_document.h"

namespace kv {
namespace {

constexpr uint8_t kPlain = 1, kForest = 2, kHills = 4, kMountains = 5, kShallows = 28, kSea = 29,
                  kCapital = 31, kMissileBaseTerrain = 44, kTempBridgeTerrain = 53;

uint8_t bit(int d) {
    return static_cast<uint8_t>(1u << d);
}

class MapTerrainEdit : public kvtest::SampleDocument {
protected:
    void SetUp() override {
        SampleDocument::SetUp();
        for (HexCell& c : doc().mapGrid.cells) {
            c.terrain = kPlain;
            c.picture = 1;
        }
    }
    HexCell& cell(int col, int row) { return *doc().cellAt(col, row); }
    // The hexes the undo stack holds images of.
    std::set<std::pair<int, int>> recordedHexes() {
        std::set<std::pair<int, int>> out;
        for (const UndoRecord& r : doc().history.undoStack())
            if (r.kind == UndoRecord::Hex) out.insert({r.col, r.row});
        return out;
    }
    static TerrainBrush brush(int terrain, int picture, int owner = 0) {
        TerrainBrush b;
        b.valid = 1;
        b.terrainId = static_cast<uint16_t>(terrain);
        b.picture = static_cast<uint16_t>(picture);
        b.owner = static_cast<uint16_t>(owner);
        return b;
    }
};

TEST_F(MapTerrainEdit, RemovingARoadClearsTheNeighboursLinksAndRecordsThem) {
    // A road crossing (5,5) from west to east, and one more branch to the north-east.
    cell(4, 5).roadLinks = bit(3);
    cell(5, 5).roadLinks = bit(0) | bit(3) | bit(4);
    cell(6, 5).roadLinks = bit(0) | bit(3);
    cell(6, 4).roadLinks = bit(1);  // north-east of an odd row's hex (5,5) is (6,4)
    cell(5, 4).roadLinks = bit(1);  // a neighbour whose road does not lead here
    doc().history.begin();
    EXPECT_TRUE(doc().removeRoad(5, 5));
    EXPECT_EQ(cell(5, 5).roadLinks, 0);
    EXPECT_EQ(cell(4, 5).roadLinks, 0);
    EXPECT_EQ(cell(6, 5).roadLinks, bit(3));
    EXPECT_EQ(cell(6, 4).roadLinks, 0);
    EXPECT_EQ(cell(5, 4).roadLinks, bit(1));
    EXPECT_EQ(recordedHexes(), (std::set<std::pair<int, int>>{{5, 5}, {4, 5}, {6, 5}, {6, 4}}));
    // Every image was taken before its hex changed.
    for (const UndoRecord& r : doc().history.undoStack()) EXPECT_NE(r.cell.roadLinks, 0);
    EXPECT_FALSE(doc().removeRoad(5, 5));
}

TEST_F(MapTerrainEdit, RoadRemovalIsUndoneInOneStep) {
    cell(4, 5).roadLinks = bit(3);
    cell(5, 5).roadLinks = bit(0) | bit(3) | bit(2);
    cell(6, 5).roadLinks = bit(0);
    cell(6, 6).roadLinks = bit(5);
    const std::vector<HexCell> before = doc().mapGrid.cells;
    doc().history.begin();
    doc().removeRoad(5, 5);
    doc().history.undo();
    EXPECT_EQ(doc().mapGrid.cells, before);
    doc().history.redo();
    for (auto [c, r] : {std::pair{4, 5}, {5, 5}, {6, 5}, {6, 6}})
        EXPECT_EQ(cell(c, r).roadLinks, 0);
}

TEST_F(MapTerrainEdit, SupplyLinesAndRiversAreKeptSymmetricToo) {
    cell(2, 2).supplyLinks = bit(3);
    cell(3, 2).supplyLinks = bit(0);
    EXPECT_TRUE(doc().removeSeaLine(3, 2));
    EXPECT_EQ(cell(2, 2).supplyLinks, 0);

    cell(2, 8).river = 0x40 | bit(3);
    cell(2, 8).tempBridge = 2;
    cell(3, 8).river = 0x40 | bit(0);
    EXPECT_TRUE(doc().removeRiver(3, 8));
    EXPECT_EQ(cell(3, 8).river, 0);
    EXPECT_EQ(cell(2, 8).river, 0x40);    // the variant stays
    EXPECT_EQ(cell(2, 8).tempBridge, 0);  // no river left under the bridge

    cell(5, 8).river = bit(3);
    cell(6, 8).river = bit(0);
    EXPECT_TRUE(doc().removeRiver(6, 8, true));
    EXPECT_EQ(cell(5, 8).river, bit(3));
}

TEST_F(MapTerrainEdit, RiverLinksDriveRoadsAwayAndRespectBuildings) {
    cell(3, 3).roadLinks = bit(3);
    cell(4, 3).roadLinks = bit(0);
    EXPECT_TRUE(doc().addRiverLinks(3, 3, bit(1), 1));
    EXPECT_EQ(cell(3, 3).river, 0x40 | bit(1));
    EXPECT_EQ(cell(3, 3).roadLinks, 0);
    EXPECT_EQ(cell(4, 3).roadLinks, 0);
    EXPECT_FALSE(doc().addRiverLinks(3, 3, bit(1), 1));  // nothing new
    cell(8, 8).terrain = kCapital;
    EXPECT_FALSE(doc().addRiverLinks(8, 8, bit(1), 0));
    EXPECT_EQ(cell(8, 8).river, 0);
    EXPECT_TRUE(doc().addRoadLinks(9, 9, 0xFF));
    EXPECT_EQ(cell(9, 9).roadLinks, 0x3F);  // only six directions exist
    EXPECT_FALSE(doc().addRoadLinks(99, 9, 1));
}

TEST_F(MapTerrainEdit, PlacingAPieceSetsTheHexAndKeepsTheRestValid) {
    cell(5, 5).roadLinks = bit(3);
    cell(6, 5).roadLinks = bit(0);
    cell(5, 5).missile = 9;
    doc().history.begin();
    const PlacedTerrain r = doc().setTerrain(5, 5, brush(kMountains, 5, 2));
    EXPECT_EQ(cell(5, 5).terrain, kMountains);
    EXPECT_EQ(cell(5, 5).owner, 2);
    EXPECT_EQ(cell(5, 5).missile, 0);
    // Roads pass mountains but are not linked on them; the neighbour's link goes too.
    EXPECT_EQ(cell(5, 5).roadLinks, 0);
    EXPECT_EQ(cell(6, 5).roadLinks, 0);
    EXPECT_FALSE(r.buildingAdded);
    EXPECT_EQ(doc().history.undoStack().front().cell.terrain, kPlain);
    EXPECT_FALSE(doc().setTerrain(5, 5, brush(kCapital, 0, 1)).buildingRemoved);
    EXPECT_TRUE(doc().setTerrain(5, 5, brush(kPlain, 1)).buildingRemoved);
}

TEST_F(MapTerrainEdit, LandOnARiverHexRemovesTheRiverUnlessItIsABridge) {
    cell(4, 4).river = bit(3);
    cell(5, 4).river = bit(0) | bit(3);
    cell(6, 4).river = bit(0);
    doc().setTerrain(5, 4, brush(kTerrainBridge, 2));
    EXPECT_EQ(cell(5, 4).terrain, kTerrainBridge);
    EXPECT_EQ(cell(5, 4).bridgePiece, 3);
    EXPECT_EQ(cell(4, 4).river, bit(3));  // neighbours keep their links
    EXPECT_EQ(cell(5, 4).river, 0);
    cell(5, 4).river = bit(0) | bit(3);
    doc().setTerrain(5, 4, brush(kSea, 29));  // no rivers on the sea
    EXPECT_EQ(cell(5, 4).river, 0);
    EXPECT_EQ(cell(4, 4).river, 0);
    EXPECT_EQ(cell(6, 4).river, 0);
}

TEST_F(MapTerrainEdit, TemporaryBridgesOnlyGoOnRivers) {
    doc().setTerrain(2, 2, brush(kTempBridgeTerrain, 1));
    EXPECT_EQ(cell(2, 2).tempBridge, 0);
    EXPECT_EQ(cell(2, 2).terrain, kPlain);
    cell(3, 2).river = bit(0);
    doc().setTerrain(3, 2, brush(kTempBridgeTerrain, 1));
    EXPECT_EQ(cell(3, 2).tempBridge, 2);
    EXPECT_EQ(cell(3, 2).terrain, kPlain);
}

TEST_F(MapTerrainEdit, AMissileBaseGetsTheFirstWarhead) {
    doc().setTerrain(7, 7, brush(kMissileBaseTerrain, 44, 1));
    EXPECT_EQ(cell(7, 7).missile, kvtest::kWarhead + 1);
    EXPECT_EQ(cell(7, 7).bridgePiece, 5);
    EXPECT_EQ(cell(7, 7).shownCount, 2);
}

TEST_F(MapTerrainEdit, PaintingOneMemberOfAMegaPieceResetsTheOthers) {
    // A group of seven around (10,10) with pictures 1007..1013.
    const HexPos centre{10, 10};
    for (int m = 0; m < 7; ++m) {
        const int side = megaMemberSide(m);
        const HexPos h = side == kDirectionSelf ? centre : neighbourPos(centre, side);
        cell(h.col, h.row).terrain = kMountains;
        cell(h.col, h.row).picture = static_cast<uint16_t>(1007 + m);
    }
    doc().history.begin();
    const HexPos west = neighbourPos(centre, 0);
    doc().setTerrain(west.col, west.row, brush(kForest, 2));
    EXPECT_EQ(cell(west.col, west.row).terrain, kForest);
    for (int side = 1; side < 6; ++side) {
        const HexPos h = neighbourPos(centre, side);
        EXPECT_NE(cell(h.col, h.row).picture / 1000, 1) << side;  // no member picture left
    }
    EXPECT_EQ(doc().connectedTerrainTouched, 1);
    EXPECT_NE(cell(centre.col, centre.row).picture, 1010);
    doc().history.undo();
    EXPECT_EQ(cell(centre.col, centre.row).picture, 1010);
    EXPECT_EQ(cell(west.col, west.row).picture, 1009);
}

TEST_F(MapTerrainEdit, MegaPenPlacesTheMemberForItsSide) {
    const HexPos centre{10, 10};
    doc().setTerrain(10, 10, brush(kMountains, 1010));
    for (int side = 0; side < 6; ++side) {
        const HexPos h = neighbourPos(centre, side);
        doc().setTerrain(h.col, h.row, brush(kMountains, 1010), side + 1);
    }
    EXPECT_EQ(cell(10, 10).picture, 1010);
    for (int side = 0; side < 6; ++side) {
        const HexPos h = neighbourPos(centre, side);
        EXPECT_EQ(cell(h.col, h.row).picture, 1007 + megaMemberOnSide(side)) << side;
    }
    // Other tools put the terrain's own picture down.
    doc().setTerrain(20, 20, brush(kMountains, 1010), kMegaByOtherTool);
    EXPECT_EQ(cell(20, 20).picture, doc().gameDatabase.terrain(kMountains).defaultPicture);
}

TEST_F(MapTerrainEdit, HillsJoinWithTheHexesBelowThem) {
    doc().setTerrain(6, 6, brush(kHills, 4));
    EXPECT_EQ(cell(6, 6).picture, doc().gameDatabase.terrain(kHills).defaultPicture);
    // (5,7) and (6,7) are the lower pair of (6,6), an even row.
    doc().setTerrain(5, 7, brush(kMountains, 5));
    EXPECT_EQ(cell(6, 6).picture, 2001);  // joined to the south-west only
    doc().setTerrain(6, 7, brush(kHills, 4));
    EXPECT_EQ(cell(6, 6).picture, 2002);
    doc().setTerrain(5, 7, brush(kPlain, 1));
    EXPECT_EQ(cell(6, 6).picture, 2000);
}

TEST_F(MapTerrainEdit, VictoryLabelIsDemotedWhenItsBuildingGoes) {
    doc().setTerrain(3, 3, brush(kCapital, 0, 1));
    doc().setLabel(3, 3, "Capital", MapDocument::kLabelVictory, 1);
    doc().history.begin();
    EXPECT_TRUE(doc().setTerrain(3, 3, brush(kPlain, 1)).labelDemoted);
    EXPECT_EQ(doc().labelAt(3, 3)->kind, 0);
    doc().history.undo();
    EXPECT_EQ(doc().labelAt(3, 3)->kind, MapDocument::kLabelVictory);
    EXPECT_EQ(cell(3, 3).terrain, kCapital);
}

class MapMines : public MapTerrainEdit {};

TEST_F(MapMines, LandMinesNeedDryLandThatAllowsThem) {
    HexCell c{};
    const TerrainData& t = doc().gameDatabase;
    c.terrain = kPlain;
    EXPECT_TRUE(mineAllowed(c, kLandMine, t));
    EXPECT_FALSE(mineAllowed(c, kSeaMine, t));
    c.river = 0x80;  // only a variant, no link
    EXPECT_TRUE(mineAllowed(c, kLandMine, t));
    c.river = 0x81;
    EXPECT_FALSE(mineAllowed(c, kLandMine, t));
    c.river = 0;
    c.tempBridge = 1;
    EXPECT_FALSE(mineAllowed(c, kLandMine, t));
    c.tempBridge = 0;
    c.terrain = 12;  // high mountains: no land mines in the data
    EXPECT_FALSE(mineAllowed(c, kLandMine, t));
    c.terrain = kCapital;  // a building category
    EXPECT_FALSE(mineAllowed(c, kLandMine, t));
    EXPECT_TRUE(mineAllowed(c, kNoMine, t));
    EXPECT_FALSE(mineAllowed(c, 3, t));
}

TEST_F(MapMines, SeaMinesNeedWaterWithoutAnyRiverByte) {
    HexCell c{};
    const TerrainData& t = doc().gameDatabase;
    c.terrain = kShallows;
    EXPECT_TRUE(mineAllowed(c, kSeaMine, t));
    c.river = 0x40;  // a variant alone already forbids a sea mine
    EXPECT_FALSE(mineAllowed(c, kSeaMine, t));
    c.river = 0;
    c.tempBridge = 3;
    EXPECT_FALSE(mineAllowed(c, kSeaMine, t));
}

TEST_F(MapMines, SetMineLaysTheBrushAndRefusesForbiddenHexes) {
    const MineBrush mine{kLandMine, 3, 0x05};
    EXPECT_TRUE(doc().setMine(2, 2, mine));
    EXPECT_EQ(cell(2, 2).mineKind, kLandMine);
    EXPECT_EQ(cell(2, 2).mineCount, 3);
    EXPECT_EQ(cell(2, 2).mineSeenBy, 0x05);
    cell(3, 3).terrain = kSea;
    EXPECT_FALSE(doc().setMine(3, 3, mine));
    EXPECT_EQ(cell(3, 3).mineKind, 0);
    // Clearing drops the count and the factions whatever the brush still holds.
    EXPECT_TRUE(doc().setMine(2, 2, MineBrush{kNoMine, 3, 0x05}));
    EXPECT_EQ(cell(2, 2).mineCount, 0);
    EXPECT_EQ(cell(2, 2).mineSeenBy, 0);
    EXPECT_FALSE(doc().setMine(-1, 2, mine));
}

TEST_F(MapMines, TerrainAndRiverChangesRemoveMinesNoLongerAllowed) {
    const MineBrush mine{kLandMine, 1, 0};
    doc().setMine(4, 4, mine);
    doc().setMine(5, 5, mine);
    doc().setTerrain(4, 4, brush(kSea, 29));
    EXPECT_EQ(cell(4, 4).mineKind, 0);
    EXPECT_EQ(cell(4, 4).mineCount, 0);
    doc().addRiverLinks(5, 5, bit(0), 0);
    EXPECT_EQ(cell(5, 5).mineKind, 0);
}

class MapBorderlines : public MapTerrainEdit {};

TEST_F(MapBorderlines, TerritoriesDrawBorderlinesOnTheirCommonSides) {
    doc().history.begin();
    doc().setBorderline(4, 4, BorderBrush{1, 3});
    EXPECT_EQ(cell(4, 4).territory, 1);
    for (int side = 0; side < 6; ++side) EXPECT_EQ(cell(4, 4).borderKind(side), 3);
    EXPECT_EQ(doc().history.undoStack().size(), 7u);  // the hex and its six neighbours
    doc().setBorderline(5, 4, BorderBrush{2, 3});
    EXPECT_TRUE(doc().overlayAt(4, 4)->borderBits & bit(3));
    EXPECT_TRUE(doc().overlayAt(5, 4)->borderBits & bit(0));
    doc().setBorderline(5, 4, BorderBrush{1, 3});
    EXPECT_FALSE(doc().overlayAt(4, 4)->borderBits & bit(3));
    // A hex without territory shows none, even beside others.
    EXPECT_EQ(doc().overlayAt(6, 4)->borderBits, 0);
    // At the map edge there is no neighbour to differ from.
    doc().setBorderline(0, 0, BorderBrush{1, 3});
    EXPECT_FALSE(doc().overlayAt(0, 0)->borderBits & bit(0));
    EXPECT_TRUE(doc().overlayAt(0, 0)->borderBits & bit(3));
    doc().clearBorderline(4, 4);
    EXPECT_EQ(cell(4, 4).territory, 0);
    EXPECT_EQ(cell(4, 4).borderKinds[0] | cell(4, 4).borderKinds[1] | cell(4, 4).borderKinds[2], 0);
    EXPECT_EQ(doc().overlayAt(4, 4)->borderBits, 0);
    EXPECT_TRUE(doc().overlayAt(5, 4)->borderBits & bit(0));
}

class MapLinkStroke : public MapTerrainEdit {};

TEST_F(MapLinkStroke, RoadAlongALineLinksEveryPairBothWays) {
    LinkStroke stroke(doc(), LinkKind::Road);
    const auto line = hexLine({2, 2}, {8, 5});
    for (HexPos h : line) stroke.visit(h);
    for (size_t i = 1; i < line.size(); ++i) {
        const int d = directionTo(line[i], line[i - 1]);
        if (d < 0) continue;  // a hex visited twice
        EXPECT_TRUE(cell(line[i].col, line[i].row).roadLinks & bit(d));
        EXPECT_TRUE(cell(line[i - 1].col, line[i - 1].row).roadLinks & bit(oppositeDirection(d)));
    }
}

TEST_F(MapLinkStroke, RoadsCrossARiverOnlyOnATemporaryBridgeWithoutLinkingIt) {
    cell(4, 2).river = bit(1) | bit(4);
    cell(4, 2).tempBridge = 1;
    cell(7, 2).river = bit(1) | bit(4);
    LinkStroke stroke(doc(), LinkKind::Road);
    for (int col = 3; col <= 5; ++col) stroke.visit({col, 2});
    EXPECT_EQ(cell(3, 2).roadLinks, bit(3));
    EXPECT_EQ(cell(4, 2).roadLinks, 0);  // roads are not linked on a river hex
    EXPECT_EQ(cell(5, 2).roadLinks, bit(0));
    stroke.restart();
    for (int col = 6; col <= 8; ++col) stroke.visit({col, 2});
    EXPECT_EQ(cell(6, 2).roadLinks, 0);  // no bridge: the road stops at the river
    EXPECT_EQ(cell(8, 2).roadLinks, 0);
}

TEST_F(MapLinkStroke, JumpsBetweenHexesThatAreNotNeighboursLinkNothing) {
    LinkStroke stroke(doc(), LinkKind::Road);
    stroke.visit({2, 2});
    stroke.visit({5, 2});
    stroke.visit({5, 2});
    stroke.visit({300, 2});  // outside: ignored
    EXPECT_EQ(cell(2, 2).roadLinks, 0);
    EXPECT_EQ(cell(5, 2).roadLinks, 0);
}

TEST_F(MapLinkStroke, RiverIntoTheSeaLinksOnlyTheLandSide) {
    cell(6, 6).terrain = kSea;
    LinkStroke stroke(doc(), LinkKind::River, 2);
    stroke.visit({4, 6});
    stroke.visit({5, 6});
    EXPECT_TRUE(stroke.visit({6, 6}) == false);
    EXPECT_EQ(cell(4, 6).river, 0x80 | bit(3));
    EXPECT_EQ(cell(5, 6).river, 0x80 | bit(0) | bit(3));
    EXPECT_EQ(cell(6, 6).river, 0);
}

TEST_F(MapLinkStroke, SupplyLinesOnlyBetweenWatersAndPorts) {
    cell(2, 9).terrain = kSea;
    cell(3, 9).terrain = kSea;
    cell(4, 9).terrain = kPlain;
    LinkStroke stroke(doc(), LinkKind::SupplyLine);
    for (int col = 2; col <= 4; ++col) stroke.visit({col, 9});
    EXPECT_EQ(cell(2, 9).supplyLinks, bit(3));
    EXPECT_EQ(cell(3, 9).supplyLinks, bit(0));
    EXPECT_EQ(cell(4, 9).supplyLinks, 0);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// Any sequence of strokes, deletes, placements and fills on a mixed map keeps every link
// pointing at a hex of the map, leaves no neighbour linked towards a hex whose links were
// deleted, and one undo of the whole sequence gives back every byte of the grid.
TEST_F(MapLinkStroke, RandomEditsKeepLinksInsideTheMapAndUndoWhole) {
    std::mt19937 rng(11);
    auto any = [&](int n) { return int(rng() % unsigned(n)); };
    const int w = 20, h = 20;
    doc().mapHeader.setSize(w, h);
    doc().renewRedrawGrid();
    const uint8_t terrains[] = {kPlain, kForest, kHills, kShallows, kSea, kCapital, 49, 47};
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) cell(c, r) = HexCell{.terrain = terrains[any(8)]};
    const auto& cells = doc().mapGrid.cells;
    const std::vector<HexCell> start(cells.begin(), cells.begin() + w * h);
    auto linksOf = [](const HexCell& x, int kind) {
        return kind == 0 ? x.roadLinks : kind == 1 ? x.supplyLinks : x.riverLinks();
    };
    doc().history.clear();
    {
        EditOperation op(doc());
        for (int step = 0; step < 400; ++step) {
            SCOPED_TRACE(step);
            const HexPos a{any(w), any(h)};
            switch (any(5)) {
                case 0: {  // a stroke of any kind along a line
                    LinkStroke stroke(doc(), LinkKind(any(3)), any(3));
                    for (HexPos p : hexLine(a, {any(w), any(h)})) stroke.visit(p);
                    break;
                }
                case 1: {
                    const int kind = any(3);
                    // A hex without links of the kind is left as it is, even when a
                    // neighbour still points at it.
                    const bool had = linksOf(cell(a.col, a.row), kind) != 0;
                    if (kind == 0) doc().removeRoad(a.col, a.row);
                    if (kind == 1) doc().removeSeaLine(a.col, a.row);
                    if (kind == 2) doc().removeRiver(a.col, a.row);
                    EXPECT_EQ(linksOf(cell(a.col, a.row), kind), 0);
                    for (int d = 0; d < kDirectionCount; ++d) {
                        const HexPos n = neighbourPos(a, d);
                        if (had && doc().contains(n.col, n.row)) {
                            EXPECT_FALSE(linksOf(cell(n.col, n.row), kind) &
                                         bit(oppositeDirection(d)));
                        }
                    }
                    break;
                }
                case 2: doc().setTerrain(a.col, a.row, brush(terrains[any(8)], 0)); break;
                case 3: doc().fillTerrain(a, brush(terrains[any(8)], 0)); break;
                default: doc().setTerrain(a.col, a.row, brush(kTempBridgeTerrain, any(3))); break;
            }
            for (int r = 0; r < h; ++r)
                for (int c = 0; c < w; ++c)
                    for (int kind = 0; kind < 3; ++kind)
                        for (int d = 0; d < kDirectionCount; ++d) {
                            const HexPos n = neighbourPos({c, r}, d);
                            if (linksOf(cell(c, r), kind) & bit(d)) {
                                ASSERT_TRUE(doc().contains(n.col, n.row)) << c << "," << r;
                            }
                        }
        }
    }
    doc().history.undo();
    for (int i = 0; i < w * h; ++i)
        ASSERT_EQ(std::memcmp(&cells[size_t(i)], &start[size_t(i)], sizeof(HexCell)), 0) << i;
}

}  // namespace
}  // namespace kv
