// The terrain palette's pieces over the sample game data, and label editing as the label
// dialog and its context menu do it.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "document/label_edit.h"
#include "document/palette_pieces.h"
#include "framework/cp932.h"
#include "sample_document.h"

namespace kvtest {
namespace {

using namespace kv;

class PalettePiecesTest : public SampleDocument {};

TEST_F(PalettePiecesTest, EveryTabHoldsItsPiecesOncePerCellInsideTheGrid) {
    const TerrainData& t = doc().gameDatabase;
    for (int tab = 0; tab < kPaletteTabCount; ++tab) {
        const auto pieces = palettePieces(PaletteTab(tab), t);
        EXPECT_FALSE(pieces.empty()) << tab;
        std::set<std::pair<int, int>> cells;
        for (const PalettePiece& p : pieces) {
            EXPECT_TRUE(cells.insert({p.col, p.row}).second)
                << tab << ": " << p.col << "," << p.row;
            EXPECT_LT(p.col, kPaletteColumns);
            EXPECT_LT(p.row, kPaletteRows);
            EXPECT_EQ(p.brush.valid, 1);
            EXPECT_EQ(pieceAt(pieces, p.col, p.row), &p);
            const bool destroyedTab = tab >= int(PaletteTab::DestroyedA);
            EXPECT_EQ(p.brush.destroyed, destroyedTab ? 1 : 0) << tab;
            EXPECT_FALSE(p.name.empty()) << tab << ": " << p.brush.terrainId;
        }
    }
}

TEST_F(PalettePiecesTest, BuildingTabsTakeTheirCategoriesByColumnAndOwnerRows) {
    const TerrainData& t = doc().gameDatabase;
    auto categoryOfPiece = [&t](const PalettePiece& p) {
        return static_cast<int>(t.terrain(p.brush.terrainId).category);
    };
    const std::set<int> setA = {12, 13, 14, 15, 16, 17, 18, 19, 23};
    const std::set<int> setB = {21, 22, 24, 25, 26, 27};
    for (PaletteTab tab : {PaletteTab::BuildingsA, PaletteTab::BuildingsB, PaletteTab::DestroyedA,
                           PaletteTab::DestroyedB}) {
        const bool a = tab == PaletteTab::BuildingsA || tab == PaletteTab::DestroyedA;
        const auto pieces = palettePieces(tab, t);
        std::map<int, int> columnTerrain;
        int lastOrder = -1, lastCol = -1;
        for (const PalettePiece& p : pieces) {
            EXPECT_EQ((a ? setA : setB).count(categoryOfPiece(p)), 1u) << p.brush.terrainId;
            EXPECT_EQ(p.brush.owner, p.row);  // colour row = owner
            EXPECT_TRUE(p.ownerRows);
            // One terrain per column; columns in sort-key order.
            auto [it, fresh] = columnTerrain.emplace(p.col, p.brush.terrainId);
            EXPECT_EQ(it->second, p.brush.terrainId);
            if (fresh && p.col > lastCol) {
                EXPECT_GE(int(t.terrain(p.brush.terrainId).listOrder), lastOrder);
                lastOrder = t.terrain(p.brush.terrainId).listOrder;
                lastCol = p.col;
            }
            if (categoryOfPiece(p) == 12) {
                EXPECT_NE(p.row, 0);  // a capital has no neutral cell
                EXPECT_FALSE(tab == PaletteTab::DestroyedA);
            }
        }
    }
    // A capital's column stays empty when destroyed; ports take four pictures in a row.
    const auto intact = palettePieces(PaletteTab::BuildingsA, t);
    const auto destroyed = palettePieces(PaletteTab::DestroyedA, t);
    int capitalCol = -1;
    for (const PalettePiece& p : intact)
        if (p.brush.terrainId == kTerrainCapital) capitalCol = p.col;
    ASSERT_GE(capitalCol, 0);
    for (int row = 0; row < kPaletteColourRows; ++row)
        EXPECT_EQ(pieceAt(destroyed, capitalCol, row), nullptr);
    EXPECT_NE(pieceAt(destroyed, capitalCol + 1, 0), nullptr);
    int ports = 0;
    for (const PalettePiece& p : intact) {
        if (t.terrain(p.brush.terrainId).category != TerrainCategory::Port || p.row != 1) continue;
        const PalettePiece* first = pieceAt(intact, p.col, 1);
        const int k = p.brush.picture - t.terrain(p.brush.terrainId).defaultPicture;
        EXPECT_TRUE(k >= 0 && k < 4) << k;
        EXPECT_EQ(first->cell.picture, p.brush.picture);
        ++ports;
    }
    EXPECT_EQ(ports % 4, 0);
    EXPECT_GT(ports, 0);
}

TEST_F(PalettePiecesTest, LinePiecesMegaPiecesAndBridgesAreTheBrushesTheToolsExpect) {
    const TerrainData& t = doc().gameDatabase;
    const auto lines = palettePieces(PaletteTab::Lines, t);
    int lineBrushes = 0, supply = 0;
    for (const PalettePiece& p : lines) {
        lineBrushes += p.brush.isLineBrush(t) ? 1 : 0;
        supply += p.brush.supplyLine;
    }
    EXPECT_EQ(lineBrushes, int(lines.size()));
    EXPECT_EQ(supply, 1);
    EXPECT_EQ(decodeCp932(brushName(lines.back().brush, t)), "海上補給線");
    int mega = 0;
    for (const PalettePiece& p : palettePieces(PaletteTab::Basic, t)) {
        if (!isMegaPicture(p.brush.picture)) {
            EXPECT_LE(t.terrain(p.brush.terrainId).category, TerrainCategory::Building);
            continue;
        }
        EXPECT_EQ((p.brush.picture - kMegaFirstPicture) % kMegaGroupSize, kMegaCentreMember);
        ++mega;
    }
    EXPECT_EQ(mega, 2);
    for (const PalettePiece& p : palettePieces(PaletteTab::DestroyedBridges, t)) {
        EXPECT_EQ(p.brush.terrainId, kTerrainBridge);
        EXPECT_EQ(p.cell.bridgePiece, p.brush.picture + 1);
    }
    // Bridges and pieces differing only in owner or damage are different brushes.
    TerrainBrush a = palettePieces(PaletteTab::Bridges, t)[0].brush, b = a;
    b.destroyed = 1;
    EXPECT_FALSE(sameBrush(a, b));
    b = a;
    b.owner = 3;
    EXPECT_FALSE(sameBrush(a, b));
    EXPECT_TRUE(sameBrush(a, a));
}

// Labels as the dialog's OK and the context menu change them.
class LabelEditTest : public SampleDocument {};

TEST_F(LabelEditTest, TheDialogsTextIsTrimmedFilledWithTheTerrainOrDeletesTheLabel) {
    MapDocument& d = doc();
    const std::string fw = "\x81\x40";  // a full-width space
    EXPECT_EQ(trimLabelText(fw +
                            " \x83\x40"
                            "A " +
                            fw),
              "\x83\x40"
              "A");  // ァA: 0x40 trail kept
    EXPECT_EQ(trimLabelText(" " + fw + " "), "");
    EXPECT_EQ(trimLabelText("\x81"), "\x81");  // a lone lead byte is not a blank

    const std::string name = *encodeCp932("橋頭堡");
    EXPECT_EQ(applyLabelEdit(d, {3, 4}, "  " + name + " ", true, true), LabelEdit::Stored);
    const TerrainLabel* l = d.labelAt(3, 4);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->textString(), name);
    EXPECT_EQ(l->kind, 1);
    EXPECT_EQ(l->value, 1);
    EXPECT_EQ(d.isClean, 0);
    // An empty text with a box ticked takes the terrain's name.
    EXPECT_EQ(applyLabelEdit(d, {5, 5}, fw, false, true), LabelEdit::Stored);
    EXPECT_EQ(d.labelAt(5, 5)->textString(),
              fieldText(d.gameDatabase.terrain(d.cellAt(5, 5)->terrain).name, kTerrainNameBytes));
    // Emptied with no box ticked: deleted, the later label moves down and keeps its hex.
    EXPECT_EQ(applyLabelEdit(d, {3, 4}, "   ", false, false), LabelEdit::Deleted);
    EXPECT_EQ(d.labelAt(3, 4), nullptr);
    EXPECT_EQ(d.labelCount(), 1);
    EXPECT_EQ(d.labelNumberAt(5, 5), 1);
    // Each edit is its own undo step.
    d.history.undo();
    EXPECT_NE(d.labelAt(3, 4), nullptr);
    EXPECT_TRUE(deleteLabelAt(d, {5, 5}));
    EXPECT_FALSE(deleteLabelAt(d, {5, 5}));
}

TEST_F(LabelEditTest, TheThousandthLabelIsTheLastButExistingOnesStayEditable) {
    MapDocument& d = doc();
    int placed = 0;
    for (int row = 0; row < d.height() && placed < MapGrid::kMaxLabels; ++row)
        for (int col = 0; col < d.width() && placed < MapGrid::kMaxLabels; ++col, ++placed)
            ASSERT_TRUE(d.setLabel(col, row, "L", 0, 0));
    ASSERT_EQ(d.labelCount(), MapGrid::kMaxLabels);
    const HexPos free{d.width() - 1, d.height() - 1};
    EXPECT_FALSE(labelPlaceable(d, free));
    EXPECT_EQ(applyLabelEdit(d, free, "X", false, false), LabelEdit::Refused);
    EXPECT_EQ(d.labelAt(free.col, free.row), nullptr);
    EXPECT_TRUE(labelPlaceable(d, {0, 0}));
    EXPECT_EQ(applyLabelEdit(d, {0, 0}, "Y", true, false), LabelEdit::Stored);
    EXPECT_EQ(d.labelAt(0, 0)->textString(), "Y");
    EXPECT_EQ(d.labelCount(), MapGrid::kMaxLabels);
}

}  // namespace
}  // namespace kvtest
