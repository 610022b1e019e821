// The map view's messages: the private messages of the other windows, resizing, and the
// mouse work of the view itself (the hex under the mouse, Shift + right-drag scrolling,
// the guard after a context menu).
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <memory>
#include <string>

#include "document/map_document.h"
#include "view/map_view.h"
#include "view/underlay_picture.h"

namespace kv {

namespace {

constexpr int kWheelStep = 120;
constexpr int kWheelRows = 3;

}  // namespace

QPoint MapView::pointOf(const MessageRecord& m) const {
    if (m.event) {
        if (auto* me = dynamic_cast<QMouseEvent*>(m.event)) return me->position().toPoint();
    }
    return {static_cast<int16_t>(m.lParam & 0xFFFF),
            static_cast<int16_t>((m.lParam >> 16) & 0xFFFF)};
}

int MapView::onMessage(MessageRecord& m) {
    switch (m.message) {
        case msg::Size:
            layout(static_cast<int16_t>(m.lParam & 0xFFFF),
                   static_cast<int16_t>((m.lParam >> 16) & 0xFFFF));
            return 0;
        case msg::Move: frameMoved(); return 0;
        case msg::MouseMove: return mouseMove(m) ? 1 : 0;
        case msg::LButtonDown:
            // The router ignores the click that closed a context menu.
            if (dragScrolling_) return 1;
            return tools_.press(*this, toolPoint(m), clock_.elapsed()) ? 1 : 0;
        case msg::LButtonUp: return tools_.release(*this, toolPoint(m)) ? 1 : 0;
        case msg::RButtonDown:
            if (rightButtonDown(m)) return 1;
            return tools_.rightPress(*this, toolPoint(m)) ? 1 : 0;
        case msg::RButtonUp:
            if (!dragScrolling_) return tools_.rightRelease(*this, toolPoint(m)) ? 1 : 0;
            endDragScroll();
            return 1;
        case msg::MouseWheel:
        case msg::MouseHWheel: {
            const int delta = static_cast<int16_t>((m.wParam >> 16) & 0xFFFF);
            if (delta == 0) return 0;
            const int steps = delta / kWheelStep * kWheelRows;
            // Shift turns the wheel sideways; a sideways wheel scrolls sideways anyway.
            if (m.message == msg::MouseHWheel || (m.wParam & msg::KeyStateShift) != 0)
                scrollTo(origin_.col - steps, origin_.row);
            else
                scrollTo(origin_.col, origin_.row - steps);
            return 1;
        }
        case viewmsg::Redraw:
            if (doc_.documentOpen != 1) return 1;
            updateScrollBars();
            drawMap();
            present();
            return 1;
        case viewmsg::ScrollTo:
            scrollTo(static_cast<int16_t>(m.wParam & 0xFFFF),
                     static_cast<int16_t>((m.wParam >> 16) & 0xFFFF));
            return 1;
        case viewmsg::NewMap: handleNewMap(); return 1;
        case viewmsg::LoadUnderlay: {
            std::unique_ptr<std::string> path(reinterpret_cast<std::string*>(m.wParam));
            if (path && renderer_) {
                std::lock_guard lock(drawLock_);
                renderer_->setUnderlayPlacement(underlayOffsetCol, underlayOffsetRow,
                                                underlayActualSize);
                if (!underlayPicture.isNull())
                    renderer_->setUnderlay(underlayPicture);
                else
                    renderer_->loadUnderlay(*path);
            }
            underlayPicture = QImage();
            present();
            return 1;
        }
        case viewmsg::PasteUnderlay: {
            UnderlayRead read;
            if (!underlayPicture.isNull()) {
                read.image = underlayPicture;
            } else {
                read = takeUnderlayImage(QGuiApplication::clipboard()->image(),
                                         maximumUnderlaySize(doc_.width(), doc_.height()));
            }
            underlayPicture = QImage();
            if (read.problem == UnderlayRead::None && renderer_) {
                std::lock_guard lock(drawLock_);
                renderer_->setUnderlayPlacement(underlayOffsetCol, underlayOffsetRow,
                                                underlayActualSize);
                renderer_->setUnderlay(read.image);
            }
            present();
            return 1;
        }
        case viewmsg::LocateTroop:
            locateTroop(static_cast<int>(m.wParam), static_cast<int>(m.lParam));
            return 1;
        case viewmsg::FlashHex:
            flashHex(static_cast<int>(m.wParam), static_cast<int>(m.lParam));
            return 1;
        case viewmsg::CancelTroopSelection:
            // A troop picked up for a move is put down again.
            if (doc_.tool.editMode == kEditTroops || doc_.tool.editMode == kEditReinforcements)
                tools_.reset(*this);
            if (!((doc_.tool.editMode == kEditTroops ||
                   doc_.tool.editMode == kEditReinforcements) &&
                  doc_.tool.troopDrawKind == 1))
                cancelTroopSelection();
            return 1;
        case viewmsg::UnderlayPlacement:
            if (renderer_) {
                std::lock_guard lock(drawLock_);
                renderer_->setUnderlayPlacement(underlayOffsetCol, underlayOffsetRow,
                                                underlayActualSize);
            }
            present();
            return 1;
        case viewmsg::RebuildSheets:
            if (renderer_) {
                std::lock_guard lock(drawLock_);
                renderer_->rebuildSheets();
            }
            return 1;
        case viewmsg::RedrawRow: redrawRow(static_cast<int>(m.wParam)); return 1;
        case viewmsg::RemoveUnderlay:
            if (renderer_) {
                std::lock_guard lock(drawLock_);
                renderer_->dropUnderlay();
            }
            present();
            return 1;
        case viewmsg::LoadCustomIcon:
            if (renderer_) {
                std::lock_guard lock(drawLock_);
                renderer_->reloadCustomIcon(static_cast<int>(m.wParam));
            }
            return 1;
        default: return 0;
    }
}

void MapView::handleNewMap() {
    cancelTroopSelection();
    std::lock_guard lock(drawLock_);
    if (renderer_) {
        renderer_->dropUnderlay();
        // The new map's user-defined weapons bring their own icons.
        renderer_->rebuildSheets();
    }
    doneBits_.assign((size_t(doc_.width()) * size_t(doc_.height()) + 7) / 8, 0);
    changedHexes_.clear();
    updateScrollBars();
    drawMap();
    present();
}

void MapView::cancelTroopSelection() {
    if (!selectedTroopHex) return;
    const HexPos h = *selectedTroopHex;
    selectedTroopHex.reset();
    if (uint32_t* marks = doc_.marksAt(h.col, h.row)) *marks &= ~kMarkMoveSource;
    redrawHex(h.col, h.row);
    present();
}

ToolPoint MapView::toolPoint(const MessageRecord& m) const {
    ToolPoint t;
    const QPoint p = pointOf(m);
    t.x = p.x();
    t.y = p.y();
    t.hex = pixelToHex(p.x(), p.y());
    t.inMap = p.x() >= 0 && p.y() >= 0 && p.x() < clientWidth_ && p.y() < clientHeight_ &&
              doc_.contains(t.hex.col, t.hex.row);
    const auto* me = dynamic_cast<const QMouseEvent*>(m.event);
    const Qt::KeyboardModifiers mods = me ? me->modifiers() : QGuiApplication::keyboardModifiers();
    t.shift = (mods & Qt::ShiftModifier) != 0;
    t.control = (mods & Qt::ControlModifier) != 0;
    return t;
}

bool MapView::mouseMove(const MessageRecord& m) {
    const QPoint p = pointOf(m);
    if (dragScrolling_) {
        if (!(m.wParam & Qt::RightButton)) {
            endDragScroll();
        } else {
            const HexPixels g(doc_.viewSettings.hexSize);
            const HexPos v = visibleSize();
            const int col = std::clamp(dragOrigin_.col - (p.x() - dragStart_.x()) / g.size(), 0,
                                       std::max(doc_.width() - v.col, 0));
            const int row = std::clamp(dragOrigin_.row - (p.y() - dragStart_.y()) / g.rowPitch(), 0,
                                       std::max(doc_.height() - v.row, 0));
            if (!(HexPos{col, row} == origin_)) scrollTo(col, row);
            return true;
        }
    }
    if (p.x() >= 0 && p.y() >= 0 && p.x() < clientWidth_ && p.y() < clientHeight_) {
        const HexPos h = pixelToHex(p.x(), p.y());
        if (!mouseHex_ || !(*mouseHex_ == h)) {
            mouseHex_ = h;
            if (host_) host_->hexUnderMouse(h);
        }
    }
    return tools_.move(*this, toolPoint(m), (m.wParam & Qt::LeftButton) != 0);
}

bool MapView::rightButtonDown(const MessageRecord& m) {
    const auto* me = dynamic_cast<QMouseEvent*>(m.event);
    const Qt::KeyboardModifiers mods = me ? me->modifiers() : QGuiApplication::keyboardModifiers();
    if (!(mods & Qt::ShiftModifier) || (m.wParam & Qt::LeftButton) || contextMenuOpen ||
        dragScrolling_)
        return false;
    dragScrolling_ = true;
    dragStart_ = pointOf(m);
    dragOrigin_ = origin_;
    if (QWidget* w = handle()) {
        w->setCursor(Qt::ClosedHandCursor);
        w->grabMouse();
    }
    return true;
}

void MapView::endDragScroll() {
    dragScrolling_ = false;
    if (QWidget* w = handle()) {
        w->releaseMouse();
        w->unsetCursor();
    }
}

namespace {

void addMenuItems(QMenu* menu, const std::vector<ToolMenuItem>& items) {
    for (const ToolMenuItem& item : items) {
        if (!item.submenu.empty()) {
            QMenu* sub = menu->addMenu(QString::fromStdString(item.caption));
            sub->setEnabled(item.enabled);
            addMenuItems(sub, item.submenu);
            continue;
        }
        if (item.id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(QString::fromStdString(item.caption));
        a->setData(item.id);
        a->setEnabled(item.enabled);
        if (item.checked) {
            a->setCheckable(true);
            a->setChecked(true);
        }
    }
}

}  // namespace

int MapView::contextMenu(HexPos at, const std::vector<ToolMenuItem>& items) {
    if (items.empty()) return 0;
    int chosen = 0;
    contextMenuOpen = true;
    if (menuSeam) {
        chosen = menuSeam(at, items);
    } else if (handle()) {
        const HexPixels g(doc_.viewSettings.hexSize);
        const PixelPos p = hexToPixel(at.col, at.row);
        QMenu menu(handle());
        addMenuItems(&menu, items);
        const QPoint centre(p.x + g.size() / 2, p.y + g.size() / 2);
        if (QAction* a = menu.exec(handle()->mapToGlobal(centre))) chosen = a->data().toInt();
    }
    contextMenuOpen = false;
    noteContextMenuClosed();
    return chosen;
}

}  // namespace kv
