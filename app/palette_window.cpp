// Tool window and palette frames.
#include "app/palette_window.h"

#include <QDialog>

#include "app/main_frame.h"
#include "framework/profile.h"
#include "view/window_messages.h"

namespace kv {

QPoint PaletteWindow::clientAreaOffset() const {
    const MapView* view = frame_.mapView();
    if (!view || !view->handle() || !frame_.handle()) return {};
    return view->handle()->mapTo(frame_.handle(), QPoint(0, 0));
}

PaletteWindow::PaletteWindow(MainFrame& frame, ToolKind kind, const char* className,
                             const char* caption, int clientWidth, int clientHeight)
    : Dialog(0, &frame), frame_(frame), doc_(frame.document()), kind_(kind) {
    setClassName(className);
    title = caption;
    setFixedClientSize(clientWidth, clientHeight);
}

QWidget* PaletteWindow::createWidget(QWidget* parentWidget) {
    QWidget* w = Dialog::createWidget(parentWidget);
    // A small window of its own that stays above the main frame and never takes it over.
    w->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowCloseButtonHint);
    if (auto* d = qobject_cast<QDialog*>(w)) d->setModal(false);
    return w;
}

bool PaletteWindow::open() {
    if (!createModeless()) return false;
    QWidget* w = handle();
    const std::string name = className();
    const int left = ProfileEntry("WindowInfo", name + kLeftKey).readInt(INT32_MIN);
    const int top = ProfileEntry("WindowInfo", name + kTopKey).readInt(INT32_MIN);
    if (resizable_) {
        w->setMinimumSize(120, 80);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        const int right = ProfileEntry("WindowInfo", name + kRightKey).readInt(INT32_MIN);
        const int bottom = ProfileEntry("WindowInfo", name + kBottomKey).readInt(INT32_MIN);
        if (right != INT32_MIN && bottom != INT32_MIN && right > left && bottom > top)
            w->resize(right - left, bottom - top);
    }
    if (left != INT32_MIN && top != INT32_MIN) {
        w->move(left, top);
    } else if (QWidget* main = frame_.handle()) {
        w->move(main->geometry().topLeft() + defaultOffset());
    }
    refresh();
    w->show();
    w->raise();  // above the main frame even where no window manager stacks it
    return true;
}

void PaletteWindow::destroy() {
    if (QWidget* w = handle()) {
        const std::string name = className();
        ProfileEntry("WindowInfo", name + kLeftKey).writeInt(w->x());
        ProfileEntry("WindowInfo", name + kTopKey).writeInt(w->y());
        if (resizable_) {
            ProfileEntry("WindowInfo", name + kRightKey).writeInt(w->x() + w->width());
            ProfileEntry("WindowInfo", name + kBottomKey).writeInt(w->y() + w->height());
        }
    }
    Window::destroy();
}

int PaletteWindow::onCommand(MessageRecord& m, int id, int code) {
    if (id == kIdCancel) {
        // The close box (or Escape): the main frame closes the window and keeps its button
        // and menu check in step.
        postMessage(&frame_, toolInfo(kind_).closeMessage, mainmsg::FromCloseBox);
        return 1;
    }
    if (id == kIdOk) return 1;  // Enter does not close a palette
    return Dialog::onCommand(m, id, code);
}

int PaletteWindow::onMessage(MessageRecord& m) {
    if (m.message == msg::Move) {
        QWidget* w = handle();
        if (!w || !w->isVisible()) return 0;
        const QRect g = w->frameGeometry();
        const Rect r{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
        const Rect kept = keepReachable(r, workArea());
        if (!(kept == r)) w->move(w->x() + kept.left - r.left, w->y() + kept.top - r.top);
    }
    return 0;
}

}  // namespace kv
