// The map view widget: scroll bars and client area, geometry, scrolling and the private
// messages.
#include "view/map_view.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QThread>

#include <algorithm>

#include "document/map_document.h"

namespace kv {

namespace {

constexpr QRgb kCornerGrey = 0xFFC0C0C0u;

class MapViewWidget : public FrameworkWidget<QWidget> {
public:
    MapViewWidget(QWidget* parent, MapView* view) : FrameworkWidget<QWidget>(parent), view_(view) {}

protected:
    void paintEvent(QPaintEvent* e) override { view_->paint(e->rect()); }

private:
    MapView* view_;
};

QSize screenSizeOf(const QWidget* widget) {
    const QScreen* screen = widget ? widget->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1920, 1080);
}

}  // namespace

MapView::MapView(Window* parentWindow, MapDocument& doc, MapViewHost* host)
    : doc_(doc), host_(host) {
    setClassName(kClassName);
    parent = parentWindow;
    clock_.start();
}

void MapView::queueRow(int row) {
    if (row < 0 || row >= doc_.height()) return;
    for (int c = 0; c < doc_.width(); ++c) queueHex(c, row);
}

MapView::~MapView() = default;

QWidget* MapView::createWidget(QWidget* parentWidget) {
    auto* w = new MapViewWidget(parentWidget, this);
    w->setAttribute(Qt::WA_OpaquePaintEvent);
    w->setAttribute(Qt::WA_NoSystemBackground);
    w->setMouseTracking(true);
    hbar_ = new QScrollBar(Qt::Horizontal, w);
    vbar_ = new QScrollBar(Qt::Vertical, w);
    for (QScrollBar* bar : {hbar_, vbar_}) {
        bar->setFocusPolicy(Qt::NoFocus);
        const bool vertical = bar == vbar_;
        QObject::connect(bar, &QAbstractSlider::actionTriggered, w,
                         [this, vertical](int action) { scrollBarAction(vertical, action); });
    }
    return w;
}

bool MapView::create() {
    if (!Window::create()) return false;
    renderer_ = std::make_unique<MapRenderer>(doc_, screenSizeOf(handle()));
    {
        std::lock_guard lock(drawLock_);
        renderer_->rebuildSheets();
    }
    layout(handle()->width(), handle()->height());
    return true;
}

// --- geometry ---------------------------------------------------------------------------

PixelPos MapView::hexToPixel(int col, int row) const {
    return HexPixels(doc_.viewSettings.hexSize).hexToPixel({col, row}, origin_);
}

HexPos MapView::pixelToHex(int x, int y) const {
    return HexPixels(doc_.viewSettings.hexSize).pixelToHex(x, y, origin_);
}

HexPos MapView::visibleSize() const {
    return HexPixels(doc_.viewSettings.hexSize).visibleSize(clientWidth_, clientHeight_);
}

bool MapView::isHexVisible(int col, int row) const {
    const HexPos v = visibleSize();
    return col >= origin_.col && col < origin_.col + v.col && row >= origin_.row &&
           row < origin_.row + v.row;
}

// --- layout and scrolling -----------------------------------------------------------------

void MapView::layout(int width, int height) {
    if (!hbar_ || !vbar_) return;
    const int e = handle()->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, handle());
    vbar_->setGeometry(std::max(width - e, 0), 0, e, std::max(height - e, 0));
    hbar_->setGeometry(0, std::max(height - e, 0), std::max(width - e, 0), e);
    resizeClient(std::max(width - e, 0), std::max(height - e, 0));
}

void MapView::resizeClient(int width, int height) {
    if (!renderer_) return;
    std::lock_guard lock(drawLock_);
    // The images are as large as the screen: only the client rectangle changes.
    renderer_->setClientSize(width, height);
    clientWidth_ = renderer_->clientWidth();
    clientHeight_ = renderer_->clientHeight();
    const HexPos before = origin_;
    updateScrollBars();
    if (!(before == origin_)) doc_.viewSettings.redrawGrid.markAllDirty();
    drawMap();
    present();
}

void MapView::updateScrollBars() {
    const HexPos v = visibleSize();
    const ScrollAxis rows = fitScrollAxis(origin_.row, doc_.height(), v.row);
    const ScrollAxis cols = fitScrollAxis(origin_.col, doc_.width(), v.col);
    origin_ = {cols.origin, rows.origin};
    const std::pair<QScrollBar*, ScrollAxis> bars[] = {{vbar_, rows}, {hbar_, cols}};
    for (const auto& [bar, axis] : bars) {
        if (!bar) continue;
        const QSignalBlocker block(bar);
        if (axis.scrollable) {
            bar->setRange(0, axis.maximum - axis.page + 1);
            bar->setPageStep(axis.page);
            bar->setSingleStep(1);
            bar->setValue(axis.origin);
        } else {
            bar->setRange(0, 0);
            bar->setValue(0);
        }
        bar->setEnabled(axis.scrollable);
    }
    if (renderer_) renderer_->setOrigin(origin_);
}

void MapView::scrollBarAction(bool vertical, int action) {
    QScrollBar* bar = vertical ? vbar_ : hbar_;
    const int current = vertical ? origin_.row : origin_.col;
    int target = current;
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: target = current + 1; break;
        case QAbstractSlider::SliderSingleStepSub: target = current - 1; break;
        case QAbstractSlider::SliderPageStepAdd: target = current + bar->pageStep() * 3 / 4; break;
        case QAbstractSlider::SliderPageStepSub: target = current - bar->pageStep() * 3 / 4; break;
        case QAbstractSlider::SliderMove: target = bar->sliderPosition(); break;
        case QAbstractSlider::SliderToMinimum: target = bar->minimum(); break;
        case QAbstractSlider::SliderToMaximum: target = bar->maximum(); break;
        default: return;
    }
    target = std::clamp(target, bar->minimum(), bar->maximum());
    bar->setSliderPosition(target);
    if (target == current) return;
    if (vertical)
        scrollTo(origin_.col, target);
    else
        scrollTo(target, origin_.row);
}

void MapView::scrollTo(int col, int row) {
    std::lock_guard lock(drawLock_);
    origin_ = {col, row};
    updateScrollBars();
    drawMap();
    present();
}

void MapView::centreOn(int col, int row) {
    const HexPos v = visibleSize();
    scrollTo(col - v.col / 2, row - v.row / 2);
}

// --- drawing ------------------------------------------------------------------------------

void MapView::drawMap() {
    if (!renderer_) return;
    std::lock_guard lock(drawLock_);
    renderer_->setOrigin(origin_);
    renderer_->drawMap();
    if (renderer_->originMoved() && host_) host_->viewOriginChanged(origin_);
}

void MapView::drawLabelsOnly() {
    if (!renderer_) return;
    std::lock_guard lock(drawLock_);
    renderer_->drawLabelsOnly();
}

void MapView::redrawHex(int col, int row) {
    if (!renderer_) return;
    std::lock_guard lock(drawLock_);
    renderer_->setOrigin(origin_);
    renderer_->redrawHex(col, row);
}

void MapView::present() {
    if (!renderer_) return;
    std::lock_guard lock(drawLock_);
    showOnWidget(renderer_->present());
}

void MapView::showOnWidget(const PresentResult& result) {
    QWidget* w = handle();
    if (!w || !w->isVisible()) return;
    const QWidget* top = w->window();
    if (top && top->isMinimized()) return;
    if (result.whole) {
        w->update(0, 0, clientWidth_, clientHeight_);
        return;
    }
    for (const Rect& r : result.rects) w->update(r.left, r.top, r.width(), r.height());
}

void MapView::paint(const QRect& rect) {
    QWidget* w = handle();
    if (!w) return;
    QPainter p(w);
    const QRect client(0, 0, clientWidth_, clientHeight_);
    if (renderer_) {
        std::lock_guard lock(drawLock_);
        renderer_->present();  // whatever is still pending goes into the screen image
        const QRect part = rect & client;
        if (!part.isEmpty()) p.drawImage(part.topLeft(), renderer_->screenImage(), part);
    }
    // The corner between the scroll bars.
    const QRect corner(clientWidth_, clientHeight_, w->width() - clientWidth_,
                       w->height() - clientHeight_);
    if (rect.intersects(corner)) p.fillRect(corner, QColor::fromRgb(kCornerGrey));
}

namespace {
// How many rows above and below its own a label's picture may reach.
constexpr int kLabelRowReach = 2;
}  // namespace

void MapView::flushChangedHexes() {
    if (!renderer_) return;
    std::lock_guard lock(drawLock_);
    if (doc_.connectedTerrainTouched != 0) {
        doc_.connectedTerrainTouched = 0;
        doc_.recomputeDerivedHexData();
        doc_.viewSettings.redrawGrid.markAllDirty();
        changedHexes_.clear();
        drawMap();
        present();
        return;
    }
    const int width = doc_.width(), height = doc_.height();
    doneBits_.assign((size_t(width) * size_t(height) + 7) / 8, 0);
    const size_t limit = std::min<size_t>(size_t(width) * size_t(height) / 3, 200);
    const bool many = changedHexes_.size() > limit;
    bool labelled = false;
    renderer_->setOrigin(origin_);
    int firstRow = height, lastRow = -1;
    for (const HexPos& h : changedHexes_) {
        if (!doc_.contains(h.col, h.row)) continue;
        const size_t index = size_t(h.row) * size_t(width) + size_t(h.col);
        const uint8_t bit = static_cast<uint8_t>(1u << (index % 8));
        if (doneBits_[index / 8] & bit) continue;
        doneBits_[index / 8] |= bit;
        renderer_->redrawHex(h.col, h.row, false);
        firstRow = std::min(firstRow, h.row);
        lastRow = std::max(lastRow, h.row);
        if (!many && host_) host_->hexRedrawn(h);
        if (doc_.labelNumberAt(h.col, h.row) != 0) labelled = true;
        if (!isHexVisible(h.col, h.row)) doc_.viewSettings.redrawGrid.markDirty(h.col, h.row);
    }
    changedHexes_.clear();
    // Labels run across their row and reach into the rows beside it: those are drawn again
    // over the redrawn hexes, not the whole view.
    if (lastRow >= 0)
        renderer_->drawLabelsOfRows(firstRow - kLabelRowReach, lastRow + kLabelRowReach);
    present();
    if (many && host_) host_->manyHexesRedrawn();
    if (doc_.tool.editMode == kEditTerrain && host_) host_->terrainFlushed(labelled);
}

void MapView::redrawRow(int row) {
    std::lock_guard lock(drawLock_);
    HexBitGrid& grid = doc_.viewSettings.redrawGrid;
    const int width = doc_.width(), height = doc_.height();
    auto markRows = [&](int first, int last) {
        for (int r = std::max(first, 0); r <= std::min(last, height - 1); ++r)
            for (int c = 0; c < width; ++c) grid.markDirty(c, r);
    };
    const bool small = HexPixels(doc_.viewSettings.hexSize).size() == 16;
    if (small && (row <= 0 || row >= height - 1)) {
        markRows(row - 1, row + 1);
        drawMap();
        present();
        markRows(row - 1, row + 1);
        return;
    }
    const int first = small ? row - 1 : row, last = small ? row + 1 : row;
    markRows(first, last);
    for (int r = std::max(first, 0); r <= std::min(last, height - 1); ++r)
        for (int c = 0; c < width; ++c) queueHex(c, r);
    flushChangedHexes();
    markRows(first, last);
}

void MapView::flashHex(int col, int row) {
    if (!doc_.contains(col, row)) return;
    if (!isHexVisible(col, row)) centreOn(col, row);
    for (int step = 0; step < 4; ++step) {
        if (uint32_t* marks = doc_.marksAt(col, row)) {
            if (step % 2 == 0)
                *marks |= kMarkFlash;
            else
                *marks &= ~kMarkFlash;
        }
        redrawHex(col, row);
        present();
        if (handle() && handle()->isVisible()) handle()->repaint(0, 0, clientWidth_, clientHeight_);
        if (flashIntervalMs_ > 0) QThread::msleep(static_cast<unsigned long>(flashIntervalMs_));
    }
}

void MapView::locateTroop(int faction, int troopIndex) {
    const TroopRecord* t = doc_.troopAt(faction, troopIndex);
    if (t && t->inUse()) flashHex(t->col(), t->row());
}

void MapView::displayChanged() {
    if (!renderer_ || !handle()) return;
    {
        std::lock_guard lock(drawLock_);
        renderer_->recreate(screenSizeOf(handle()));
    }
    layout(handle()->width(), handle()->height());
}

void MapView::frameMoved() {
    if (handle()) handle()->lower();
}

}  // namespace kv
