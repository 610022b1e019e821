// The HQ map window.
#include "app/hq_map_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWidget>

#include "app/building_count_window.h"
#include "app/main_frame.h"
#include "document/map_document.h"
#include "view/map_view.h"
#include "view/window_messages.h"

namespace kv {

namespace {

int g_colourRow = 0;  // shared by every HQ map window of the process

constexpr int kButtonWidth = 48, kButtonHeight = 20;

// Paints through the window and passes the left button on.
class HqCanvas : public QWidget {
public:
    HqCanvas(QWidget* parent, HqMapWindow* window) : QWidget(parent), window_(window) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        window_->paint(p);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) window_->mousePress(e->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* e) override { window_->mouseMove(e->position().toPoint()); }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) window_->mouseRelease();
    }

private:
    HqMapWindow* window_;
};

}  // namespace

int HqMapWindow::colourRow() {
    return g_colourRow;
}

void HqMapWindow::setColourRowForTesting(int row) {
    g_colourRow = row == 1 ? 1 : 0;
}

HqMapWindow::HqMapWindow(MainFrame& frame)
    : PaletteWindow(
          frame, ToolKind::HqMap, kClassName, "ＨＱマップ",
          HqLayout::of(frame.document().width(), frame.document().height()).clientWidth,
          HqLayout::of(frame.document().width(), frame.document().height()).clientHeight) {}

QPoint HqMapWindow::defaultOffset() const {
    return clientAreaOffset();  // the top-left of the main frame's client area
}

int HqMapWindow::onInitDialog() {
    overview_.loadStrips();
    canvas_ = new HqCanvas(handle(), this);
    canvas_->setObjectName(QStringLiteral("HqCanvas"));
    rowButtons_[0] = addButton(kIdRow0, "地形", 0, 0, kButtonWidth, kButtonHeight);
    rowButtons_[1] = addButton(kIdRow1, "走行", 0, 0, kButtonWidth, kButtonHeight);
    for (QPushButton* b : rowButtons_) {
        b->setCheckable(true);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
    }
    rowButtons_[0]->setToolTip(QStringLiteral("地形の色"));
    rowButtons_[1]->setToolTip(QStringLiteral("車両の走行しやすさ"));
    overview_.reset(doc_, g_colourRow);
    placeControls();
    return 0;
}

void HqMapWindow::placeControls() {
    const HqLayout& l = overview_.layout();
    setFixedClientSize(l.clientWidth, l.clientHeight);
    if (canvas_) canvas_->setGeometry(0, 0, l.clientWidth, l.clientHeight);
    for (int i = 0; i < 2; ++i) {
        if (!rowButtons_[i]) continue;
        rowButtons_[i]->move(l.buttonX(i), l.buttonY(overview_.mapHeight()));
        rowButtons_[i]->setChecked(g_colourRow == i);
        rowButtons_[i]->raise();
    }
}

HexPos HqMapWindow::viewOrigin() const {
    const MapView* view = frame_.mapView();
    return view ? view->scrollOrigin() : HexPos{0, 0};
}

HexPos HqMapWindow::viewSize() const {
    const MapView* view = frame_.mapView();
    return view ? view->visibleSize() : HexPos{overview_.mapWidth(), overview_.mapHeight()};
}

HqFrame HqMapWindow::viewFrame() const {
    return hqFrame(overview_.layout(), overview_.mapWidth(), overview_.mapHeight(),
                   dragging_ ? drag_ : viewOrigin(), viewSize());
}

void HqMapWindow::paint(QPainter& p) {
    const HqLayout& l = overview_.layout();
    p.fillRect(QRect(0, 0, l.clientWidth, l.clientHeight), canvas_->palette().window());
    p.drawImage(l.originX, l.originY, overview_.image());
    const HqFrame f = viewFrame();
    if (!f.shown) return;
    p.setPen(Qt::white);
    p.setBrush(Qt::NoBrush);
    // A one-pixel outline whose right and bottom lines are the last pixels it covers.
    p.drawRect(QRect(QPoint(l.originX + f.left, l.originY + f.top),
                     QPoint(l.originX + f.right, l.originY + f.bottom))
                   .adjusted(0, 0, -1, -1));
}

void HqMapWindow::mousePress(const QPoint& at) {
    const HqLayout& l = overview_.layout();
    const QRect area(l.originX, l.originY, overview_.image().width(), overview_.image().height());
    if (!area.contains(at)) return;
    if (!hqFrameShown(overview_.mapWidth(), overview_.mapHeight(), viewSize())) return;
    drag_ = hqFrameAt(l, overview_.mapWidth(), overview_.mapHeight(), viewSize(), at.x(), at.y());
    dragging_ = true;
    if (canvas_) canvas_->update();
}

void HqMapWindow::mouseMove(const QPoint& at) {
    if (!dragging_) return;
    const HexPos next = hqFrameAt(overview_.layout(), overview_.mapWidth(), overview_.mapHeight(),
                                  viewSize(), at.x(), at.y());
    if (next == drag_) return;
    drag_ = next;
    if (canvas_) canvas_->update();
}

void HqMapWindow::mouseRelease() {
    if (!dragging_) return;
    dragging_ = false;
    const uintptr_t at = (uintptr_t(uint32_t(drag_.row)) << 16) | (uint32_t(drag_.col) & 0xFFFF);
    postMessage(frame_.mapView(), viewmsg::ScrollTo, at);
    if (canvas_) canvas_->update();
}

void HqMapWindow::repaintSquare(int col, int row) {
    if (!canvas_) return;
    const HqLayout& l = overview_.layout();
    // The frame may cross the square: repaint a pixel around it.
    canvas_->update(QRect(l.originX + col * l.scale - 1, l.originY + row * l.scale - 1, l.scale + 2,
                          l.scale + 2));
}

void HqMapWindow::newMap() {
    QWidget* w = handle();
    const bool shown = w && w->isVisible();
    if (shown) w->hide();
    dragging_ = false;
    overview_.reset(doc_, g_colourRow);
    placeControls();
    if (shown) {
        w->show();
        w->raise();
    }
}

void HqMapWindow::chooseRow(int row) {
    if (row != g_colourRow) {
        g_colourRow = row;
        overview_.setColourRow(row);
        overview_.rebuild(doc_);
        if (canvas_) canvas_->update();
    }
    // A toggle button pressed again stays pressed.
    for (int i = 0; i < 2; ++i)
        if (rowButtons_[i]) rowButtons_[i]->setChecked(g_colourRow == i);
}

int HqMapWindow::onCommand(MessageRecord& m, int id, int code) {
    if (id == kIdRow0 || id == kIdRow1) {
        chooseRow(id - kIdRow0);
        return 1;
    }
    return PaletteWindow::onCommand(m, id, code);
}

int HqMapWindow::onMessage(MessageRecord& m) {
    switch (m.message) {
        case hqmsg::Redraw:
            overview_.rebuild(doc_);
            if (canvas_) canvas_->update();
            return 1;
        case hqmsg::RedrawHex: {
            const int col = int(m.wParam), row = int(m.lParam);
            if (overview_.updateHex(doc_, col, row)) repaintSquare(col, row);
            return 1;
        }
        case hqmsg::ViewMoved:
            if (canvas_) canvas_->update();
            return 1;
        case hqmsg::NewMap: newMap(); return 1;
        default: return PaletteWindow::onMessage(m);
    }
}

void installAnalysisWindows(MainFrame& frame) {
    auto opened = [](PaletteWindow* w) -> Window* {
        if (w->open()) return w;
        delete w;
        return nullptr;
    };
    frame.tools().setFactory(ToolKind::HqMap,
                             [&frame, opened] { return opened(newWindow<HqMapWindow>(frame)); });
    frame.tools().setFactory(ToolKind::BuildingCount, [&frame, opened] {
        return opened(newWindow<BuildingCountWindow>(frame));
    });
}

}  // namespace kv
