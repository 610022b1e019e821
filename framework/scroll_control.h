// A scroll track with a draggable thumb: a range, a page and a position, stepping while the
// mouse is held on the track, telling its parent every new position.
#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>

#include <cstdint>

#include "framework/placement.h"
#include "framework/window.h"

namespace kv {

class ScrollControl : public Window {
public:
    static constexpr const char* kClassName = "SWCSCROLL_CONTROL";
    static constexpr const char* kThumbClassName = "SWCSCROLL_CONTROL_THUMB";
    // Posted to the parent: wParam the control id, lParam the new position.
    static constexpr uint32_t kPositionChanged = 1128;
    // Repeat timer ids: one step back / forward past the track's ends, a page back / forward.
    enum RepeatTimer : int {
        kNoTimer = 0,
        kLineBack = 1,
        kLineForward = 2,
        kPageBack = 3,
        kPageForward = 4
    };
    static constexpr int kFirstDelayMs = 400, kRepeatMs = 50;

    // `track`: where the thumb moves, in the control's client pixels (right, bottom exclusive).
    ScrollControl(Window* parentWindow, int controlId, const Rect& track, bool horizontal);
    ~ScrollControl() override;

    bool create() override;
    void setRange(int minimum, int maximum, int page);
    void setPosition(int value, bool notify);

    int controlId() const { return controlId_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int page() const { return page_; }
    int position() const { return position_; }
    int repeatTimer() const { return repeatTimer_; }
    const Rect& trackRect() const { return track_; }
    // The thumb's rectangle in client pixels.
    Rect thumbRect() const;
    // Drawn over the client area; a flat colour without it.
    QImage background;

    // Mouse input (the widgets call these; tests may too). A press on the track steps once
    // and starts the repeat timer; a tick repeats the step while the press lasts.
    void trackPressed(int x, int y);
    void trackReleased();
    void repeatTick();
    // The thumb was dragged to `offset` pixels from the track start.
    void thumbDraggedTo(int offset);

protected:
    QWidget* createWidget(QWidget* parentWidget) override;

private:
    int extent() const;  // the track's length in pixels
    int clamped(int value) const;
    void stepFor(int timer);
    void stopTimer();
    void placeThumb(int offset);

    int controlId_;
    Rect track_;
    bool horizontal_;
    int minimum_ = 0, maximum_ = 0, page_ = 0;
    int position_ = -1;
    int thumbLength_ = 3, thumbOffset_ = 0;
    int repeatTimer_ = kNoTimer;
    bool pressed_ = false;
    QPointer<QTimer> timer_;
    QPointer<QWidget> thumb_;
};

}  // namespace kv
