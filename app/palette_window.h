// The common ground of the tool window and the palettes: a small window of its own above the
// main frame that remembers where it was, stays reachable while it is dragged and asks the
// main frame to close it when its close box is pressed.
#pragma once

#include "app/tool_windows.h"
#include "framework/window.h"

namespace kv {

class MainFrame;
class MapDocument;

class PaletteWindow : public Dialog {
public:
    PaletteWindow(MainFrame& frame, ToolKind kind, const char* className, const char* caption,
                  int clientWidth, int clientHeight);

    // Creates the window at its saved position (or beside the main frame) and shows it.
    bool open();
    // Saves the position, then goes.
    void destroy() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    int onMessage(MessageRecord& m) override;

    // The saved position's keys are the class name followed by these.
    static constexpr const char* kLeftKey = "WindowPosLeft";
    static constexpr const char* kTopKey = "WindowPosTop";
    static constexpr const char* kRightKey = "WindowPosRight";
    static constexpr const char* kBottomKey = "WindowPosBottom";

protected:
    QWidget* createWidget(QWidget* parentWidget) override;
    // Reads everything shown from the document again.
    virtual void refresh() {}
    // Where the window goes when no position is saved, relative to the main frame's corner.
    virtual QPoint defaultOffset() const { return {40, 60}; }
    // The top-left of the main frame's client area (below its menu bar), relative to the
    // frame's corner.
    QPoint clientAreaOffset() const;

    MainFrame& frame_;
    MapDocument& doc_;
    ToolKind kind_;
    // Can be resized; its size is kept with its position.
    bool resizable_ = false;
};

}  // namespace kv

namespace kv {
// The factory of a window kind made with the main frame alone; null when it cannot open.
template <class T>
ToolWindows::Factory windowFactory(MainFrame& frame) {
    return [&frame]() -> Window* {
        T* w = newWindow<T>(frame);
        if (w->open()) return w;
        delete w;
        return nullptr;
    };
}
// Installs the factories of the tool window and the palettes in the main frame's bookkeeping.
void installPaletteFactories(MainFrame& frame);
// Registers the label edit mode's tool with the label dialog.
void installLabelEditing(MainFrame& frame);
}  // namespace kv
