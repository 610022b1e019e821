// The terrain palette.
#include "app/terrain_palette.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTabBar>

#include <algorithm>

#include "app/main_frame.h"
#include "document/map_document.h"
#include "framework/cp932.h"
#include "framework/tool_tips.h"
#include "view/hex_painter.h"
#include "view/sheet_cache.h"
#include "view/sprite_sheets.h"
#include "view/window_messages.h"

namespace kv {

namespace {

constexpr int kCell = kPaletteCell;
constexpr int kPicture = 16;
const QColor kFace(212, 208, 200);

void edge(QPainter& p, const QRect& r, bool sunken) {
    const QRect e = r.adjusted(0, 0, -1, -1);
    p.setPen(sunken ? QColor(96, 96, 96) : QColor(255, 255, 255));
    p.drawLine(e.topLeft(), e.topRight());
    p.drawLine(e.topLeft(), e.bottomLeft());
    p.setPen(sunken ? QColor(255, 255, 255) : QColor(96, 96, 96));
    p.drawLine(e.bottomLeft(), e.bottomRight());
    p.drawLine(e.topRight(), e.bottomRight());
}

// The grid of cells: paints through the palette, clicks choose a cell.
class GridWidget : public QWidget {
public:
    GridWidget(QWidget* parent, TerrainPalette* palette) : QWidget(parent), palette_(palette) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        palette_->paintGrid(p);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        const QPoint at = e->position().toPoint();
        if (at.x() < 0 || at.y() < 0) return;
        palette_->chooseCell(at.x() / kCell, at.y() / kCell);
    }

private:
    TerrainPalette* palette_;
};

}  // namespace

TerrainPalette::TerrainPalette(MainFrame& frame)
    : PaletteWindow(frame, ToolKind::TerrainPalette, kClassName, "地形パレット", kClientWidth,
                    kClientHeight) {}

TerrainPalette::~TerrainPalette() = default;

int TerrainPalette::onInitDialog() {
    tabs_ = add<QTabBar>(kIdTabs, 4, 4, kClientWidth - 8, 26);
    tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px; }"));
    tabs_->setExpanding(false);
    tabs_->setDrawBase(true);
    for (int t = 0; t < kPaletteTabCount; ++t)
        tabs_->addTab(QString::fromUtf8(paletteTabName(PaletteTab(t))));
    QObject::connect(tabs_, &QTabBar::currentChanged, tabs_, [this](int t) {
        if (!filling_) selectTab(t);
    });
    grid_ = new GridWidget(handle(), this);
    grid_->setObjectName(QString::number(kIdGrid));
    grid_->setGeometry(kGridLeft, kGridTop, kClientWidth - kGridLeft - 4, kPaletteRows * kCell);
    tips_ = new ToolTips(grid_);
    addLabel(kIdBrushName, "", kGridLeft + 18 * kCell + 10, kGridTop + 4, 150, 18);
    buildPictures();
    showTooltips();
    return 0;
}

void TerrainPalette::buildPictures() {
    const SpriteSheets sheets = cachedTerrainSheets(doc_.factionColours, kPicture);
    for (int t = 0; t < kPaletteTabCount; ++t) {
        pieces_[size_t(t)] = palettePieces(PaletteTab(t), doc_.gameDatabase);
        QImage image(kPaletteColumns * kCell, kPaletteRows * kCell, QImage::Format_RGB32);
        image.fill(kFace);
        DrawSurface surface = DrawSurface::of(image);
        HexPainter painter(doc_, sheets, surface, {0, 0, image.width(), image.height()},
                           HexDrawOptions{}, nullptr);
        for (const PalettePiece& piece : pieces_[size_t(t)])
            painter.drawPiece(piece.cell, piece.col * kCell + 2, piece.row * kCell + 2);
        QPainter p(&image);
        for (const PalettePiece& piece : pieces_[size_t(t)])
            edge(p, QRect(piece.col * kCell, piece.row * kCell, kCell, kCell), false);
        images_[size_t(t)] = std::move(image);
    }
}

std::string TerrainPalette::ownerName(int row) const {
    if (row <= 0 || row > kFactionCount) return "中立";
    return decodeCp932Lossy(doc_.factions[size_t(row - 1)].name());
}

std::string TerrainPalette::tooltipAt(int col, int row) const {
    const PalettePiece* p = pieceAt(pieces_[size_t(tab_)], col, row);
    if (!p) return {};
    const std::string name = decodeCp932Lossy(p->name);
    return p->ownerRows ? ownerName(p->row) + ":" + name : name;
}

void TerrainPalette::showTooltips() {
    if (!tips_) return;
    tips_->removeAll();
    for (const PalettePiece& p : pieces_[size_t(tab_)])
        tips_->addToolRect(p.col * kPaletteRows + p.row,
                           {p.col * kCell, p.row * kCell, (p.col + 1) * kCell, (p.row + 1) * kCell},
                           tooltipAt(p.col, p.row));
}

void TerrainPalette::selectTab(int tab) {
    if (tab < 0 || tab >= kPaletteTabCount) return;
    tab_ = tab;
    if (tabs_ && tabs_->currentIndex() != tab) {
        filling_ = true;
        tabs_->setCurrentIndex(tab);
        filling_ = false;
    }
    showTooltips();
    if (grid_) grid_->update();
}

void TerrainPalette::paintGrid(QPainter& p) const {
    const QImage& image = images_[size_t(tab_)];
    p.fillRect(QRect(0, 0, grid_ ? grid_->width() : image.width(), image.height()), kFace);
    p.drawImage(0, 0, image);
    const TerrainBrush& brush = frame_.terrainBrush();
    if (!brush.valid) return;
    for (const PalettePiece& piece : pieces_[size_t(tab_)]) {
        if (!sameBrush(piece.brush, brush)) continue;
        const QRect r(piece.col * kCell, piece.row * kCell, kCell, kCell);
        p.fillRect(r, kFace);
        p.drawImage(r.topLeft() + QPoint(3, 3), image,
                    QRect(r.topLeft() + QPoint(2, 2), QSize(kPicture, kPicture)));
        edge(p, r, true);
    }
}

bool TerrainPalette::chooseCell(int col, int row) {
    if (doc_.tool.areaSelectActive) return false;  // a paste is pending
    const PalettePiece* piece = pieceAt(pieces_[size_t(tab_)], col, row);
    if (!piece) return false;
    TerrainBrush brush = piece->brush;
    if (isMegaPicture(brush.picture))
        brush.picture = static_cast<uint16_t>(
            kMegaFirstPicture +
            kMegaGroupSize * ((brush.picture - kMegaFirstPicture) / kMegaGroupSize) +
            kMegaCentreMember);
    frame_.terrainBrush() = brush;
    if (doc_.tool.drawKind == kDrawCopy || doc_.tool.drawKind == kDrawDeleteLinks)
        frame_.sendCommand(cmd::DrawPen);
    frame_.tools().post(ToolKind::ToolWindow, toolmsg::DrawKindChanged);
    refresh();
    return true;
}

void TerrainPalette::refresh() {
    if (QLabel* name = control<QLabel>(kIdBrushName))
        name->setText(QString::fromStdString(
            decodeCp932Lossy(brushName(frame_.terrainBrush(), doc_.gameDatabase))));
    if (grid_) grid_->update();
}

int TerrainPalette::onMessage(MessageRecord& m) {
    if (m.message == terrainpalettemsg::Recolour) {
        buildPictures();
        refresh();
        return 1;
    }
    if (m.message == terrainpalettemsg::ShowBrush) {
        // A pick-up chose a piece: show the tab that holds it.
        const TerrainBrush& brush = frame_.terrainBrush();
        auto holds = [&brush](const std::vector<PalettePiece>& pieces) {
            return std::any_of(pieces.begin(), pieces.end(),
                               [&](const PalettePiece& p) { return sameBrush(p.brush, brush); });
        };
        if (!holds(pieces_[size_t(tab_)])) {
            for (int t = 0; t < kPaletteTabCount; ++t) {
                if (!holds(pieces_[size_t(t)])) continue;
                selectTab(t);
                break;
            }
        }
        refresh();
        return 1;
    }
    return PaletteWindow::onMessage(m);
}

}  // namespace kv
