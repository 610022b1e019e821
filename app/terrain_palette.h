// The terrain palette: nine tabs of terrain pieces in every owner colour; a click chooses the
// piece the terrain tools paint.
#pragma once

#include <QImage>

#include <array>
#include <memory>
#include <vector>

#include "app/palette_window.h"
#include "document/palette_pieces.h"

class QTabBar;

namespace kv {

class SpriteSheets;
class ToolTips;

class TerrainPalette : public PaletteWindow {
public:
    static constexpr const char* kClassName = "KOBMEC_LANDPALETTEWINDOW_CNAME";
    enum Control : int { kIdTabs = 1000, kIdGrid, kIdBrushName, kIdBrushPicture };
    static constexpr int kGridLeft = 8, kGridTop = 34;
    static constexpr int kClientWidth = 620, kClientHeight = 222;

    explicit TerrainPalette(MainFrame& frame);
    ~TerrainPalette() override;

    int onInitDialog() override;
    int onMessage(MessageRecord& m) override;

    int currentTab() const { return tab_; }
    void selectTab(int tab);
    // A click on grid cell (col, row) of the current tab; false when it chose nothing.
    bool chooseCell(int col, int row);
    const std::vector<PalettePiece>& pieces(int tab) const { return pieces_[size_t(tab)]; }
    // The tab's grid as drawn with every cell raised.
    const QImage& tabImage(int tab) const { return images_[size_t(tab)]; }
    // The tooltip of a cell of the current tab (UTF-8), "" for an empty cell.
    std::string tooltipAt(int col, int row) const;
    // Paints the current tab with the brush's cell sunken.
    void paintGrid(QPainter& p) const;

protected:
    void refresh() override;
    QPoint defaultOffset() const override { return {60, 420}; }

private:
    void buildPictures();
    void showTooltips();
    std::string ownerName(int row) const;

    int tab_ = 0;
    std::array<std::vector<PalettePiece>, kPaletteTabCount> pieces_;
    std::array<QImage, kPaletteTabCount> images_;
    QTabBar* tabs_ = nullptr;
    QWidget* grid_ = nullptr;
    ToolTips* tips_ = nullptr;
    bool filling_ = false;
};

}  // namespace kv
