// The map view widget.
#include "view/map_view.h"

#include <QPainter>
#include <QPaintEvent>

namespace kv {

namespace {

class MapViewWidget : public FrameworkWidget<QWidget> {
public:
    using FrameworkWidget<QWidget>::FrameworkWidget;

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        p.fillRect(e->rect(), QColor(128, 128, 128));
    }
};

}  // namespace

MapView::MapView(Window* parentWindow) {
    setClassName(kClassName);
    parent = parentWindow;
}

int MapView::onMessage(MessageRecord&) { return 0; }

QWidget* MapView::createWidget(QWidget* parentWidget) {
    auto* w = new MapViewWidget(parentWidget);
    w->setAttribute(Qt::WA_OpaquePaintEvent);
    w->setMouseTracking(true);
    return w;
}

}  // namespace kv
