// The scroll track and its thumb.
#include "framework/scroll_control.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace kv {

namespace {

class TrackWidget : public FrameworkWidget<QWidget> {
public:
    using FrameworkWidget<QWidget>::FrameworkWidget;

protected:
    ScrollControl* control() const { return static_cast<ScrollControl*>(Window::lookup(this)); }
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        ScrollControl* c = control();
        if (c && !c->background.isNull()) {
            p.drawImage(e->rect(), c->background, e->rect());
        } else {
            p.fillRect(e->rect(), QColor(200, 198, 192));
        }
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        if (ScrollControl* c = control())
            c->trackPressed(e->position().toPoint().x(), e->position().toPoint().y());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        if (ScrollControl* c = control()) c->trackReleased();
    }
};

class ThumbWidget : public QWidget {
public:
    ThumbWidget(QWidget* parent, ScrollControl* control, bool horizontal)
        : QWidget(parent), control_(control), horizontal_(horizontal) {
        setObjectName(QString::fromLatin1(ScrollControl::kThumbClassName));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect r = rect().adjusted(0, 0, -1, -1);
        p.fillRect(rect(), QColor(222, 220, 214));
        p.setPen(Qt::white);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(QColor(96, 96, 96));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        dragging_ = true;
        grab_ = along(e->globalPosition().toPoint());
        start_ = horizontal_ ? x() : y();
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!dragging_) return;
        const int start = horizontal_ ? control_->trackRect().left : control_->trackRect().top;
        control_->thumbDraggedTo(start_ + along(e->globalPosition().toPoint()) - grab_ - start);
    }
    void mouseReleaseEvent(QMouseEvent*) override { dragging_ = false; }

private:
    int along(QPoint p) const { return horizontal_ ? p.x() : p.y(); }
    ScrollControl* control_;
    bool horizontal_;
    bool dragging_ = false;
    int grab_ = 0, start_ = 0;
};

}  // namespace

ScrollControl::ScrollControl(Window* parentWindow, int controlId, const Rect& track,
                             bool horizontal)
    : controlId_(controlId), track_(track), horizontal_(horizontal) {
    setClassName(kClassName);
    parent = parentWindow;
    menuOrId = controlId;
}

ScrollControl::~ScrollControl() {
    stopTimer();
}

QWidget* ScrollControl::createWidget(QWidget* parentWidget) {
    auto* w = new TrackWidget(parentWidget);
    w->setAttribute(Qt::WA_OpaquePaintEvent);
    thumb_ = new ThumbWidget(w, this, horizontal_);
    timer_ = new QTimer(w);
    timer_->setSingleShot(true);
    QObject::connect(timer_, &QTimer::timeout, w, [this] { repeatTick(); });
    return w;
}

bool ScrollControl::create() {
    if (!Window::create()) return false;
    placeThumb(thumbOffset_);
    return true;
}

int ScrollControl::extent() const {
    return std::max(1, horizontal_ ? track_.width() : track_.height());
}

Rect ScrollControl::thumbRect() const {
    const int a = (horizontal_ ? track_.left : track_.top) + thumbOffset_;
    if (horizontal_) return {a, track_.top, a + thumbLength_, track_.bottom};
    return {track_.left, a, track_.right, a + thumbLength_};
}

void ScrollControl::setRange(int minimum, int maximum, int page) {
    // The order matters: an upside-down range is mended before the page is limited by it.
    if (maximum < minimum) maximum = minimum;
    const int64_t span = int64_t(maximum) - minimum + 1;
    page = static_cast<int>(std::clamp<int64_t>(page, 0, span));
    if (minimum == minimum_ && maximum == maximum_ && page == page_ && position_ >= 0) return;
    minimum_ = minimum;
    maximum_ = maximum;
    page_ = page;
    const int64_t length = page == 0 ? extent() : int64_t(page) * extent() / span;
    thumbLength_ = static_cast<int>(std::clamp<int64_t>(length, 3, std::max(3, extent())));
    setPosition(position_ < 0 ? minimum_ : position_, false);
}

int ScrollControl::clamped(int value) const {
    int64_t v = std::clamp<int64_t>(value, minimum_, maximum_);
    if (v + page_ > int64_t(maximum_) + 1) v = int64_t(maximum_) + 1 - page_;
    return static_cast<int>(std::max<int64_t>(v, minimum_));
}

void ScrollControl::setPosition(int value, bool notify) {
    value = clamped(value);
    const bool changed = value != position_;
    position_ = value;
    if (notify && changed) postMessage(parent, kPositionChanged, uintptr_t(controlId_), value);
    const int64_t span = int64_t(maximum_) - minimum_ + 1;
    const int far = std::max(0, extent() - thumbLength_);
    if (int64_t(position_) + page_ == int64_t(maximum_) + 1) {
        placeThumb(far);
    } else {
        placeThumb(static_cast<int>(
            std::min<int64_t>(far, (int64_t(position_) - minimum_) * extent() / span)));
    }
}

void ScrollControl::placeThumb(int offset) {
    thumbOffset_ = offset;
    if (!thumb_) return;
    const Rect r = thumbRect();
    thumb_->setGeometry(r.left, r.top, r.width(), r.height());
}

void ScrollControl::thumbDraggedTo(int offset) {
    const int far = std::max(0, extent() - thumbLength_);
    offset = std::clamp(offset, 0, far);
    const int64_t span = int64_t(maximum_) - minimum_ + 1;
    const int value = offset == far ? maximum_ - page_ + 1
                                    : static_cast<int>(minimum_ + span * offset / extent());
    const int before = position_;
    position_ = clamped(value);
    if (position_ != before)
        postMessage(parent, kPositionChanged, uintptr_t(controlId_), position_);
    placeThumb(offset);  // the thumb follows the mouse
}

void ScrollControl::trackPressed(int px, int py) {
    if (QWidget* w = handle()) w->grabMouse();
    pressed_ = true;
    stopTimer();
    const int at = horizontal_ ? px : py;
    const int start = horizontal_ ? track_.left : track_.top;
    const int end = horizontal_ ? track_.right : track_.bottom;
    const Rect t = thumbRect();
    const int thumbStart = horizontal_ ? t.left : t.top;
    const int thumbEnd = horizontal_ ? t.right : t.bottom;
    int timer = kNoTimer;
    if (at < start) {
        timer = kLineBack;
    } else if (at >= end) {
        timer = kLineForward;
    } else if (at < thumbStart) {
        timer = kPageBack;
    } else if (at >= thumbEnd) {
        timer = kPageForward;
    }
    if (timer == kNoTimer) return;  // on the thumb: the thumb drags
    stepFor(timer);
    repeatTimer_ = timer;
    if (timer_) timer_->start(kFirstDelayMs);
}

void ScrollControl::stepFor(int timer) {
    const int pageStep = std::max(1, page_ - 1);
    switch (timer) {
        case kLineBack: setPosition(position_ - 1, true); break;
        case kLineForward: setPosition(position_ + 1, true); break;
        case kPageBack: setPosition(position_ - pageStep, true); break;
        case kPageForward: setPosition(position_ + pageStep, true); break;
        default: break;
    }
}

void ScrollControl::repeatTick() {
    if (!pressed_ || repeatTimer_ == kNoTimer) return;
    stepFor(repeatTimer_);
    if (timer_) timer_->start(kRepeatMs);
}

void ScrollControl::trackReleased() {
    if (QWidget* w = handle()) w->releaseMouse();
    pressed_ = false;
    stopTimer();
}

void ScrollControl::stopTimer() {
    repeatTimer_ = kNoTimer;
    if (timer_) timer_->stop();
}

}  // namespace kv
