// The window object layer: one framework object per widget, virtual message, command and
// notification handlers, self-deleting windows, dialogs, posted private messages, the
// process-wide override cursor and saved window placement.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QEvent>
#include <QMainWindow>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/placement.h"

namespace kv {

// Message numbers. Platform-style numbers for the window events the framework
// translates; private messages of the editor are 1128 and above.
namespace msg {
constexpr uint32_t Destroy = 0x0002;
constexpr uint32_t Move = 0x0003;
constexpr uint32_t Size = 0x0005;
constexpr uint32_t Close = 0x0010;
constexpr uint32_t ActivateApp = 0x001C;
constexpr uint32_t Notify = 0x004E;
constexpr uint32_t KeyDown = 0x0100;
constexpr uint32_t Command = 0x0111;
constexpr uint32_t MouseMove = 0x0200;
constexpr uint32_t LButtonDown = 0x0201;
constexpr uint32_t LButtonUp = 0x0202;
constexpr uint32_t LButtonDblClk = 0x0203;
constexpr uint32_t RButtonDown = 0x0204;
constexpr uint32_t RButtonUp = 0x0205;
constexpr uint32_t MouseWheel = 0x020A;   // wParam: delta in the high word, key state low
constexpr uint32_t MouseHWheel = 0x020E;  // the same for a sideways wheel (positive: left)
constexpr uint32_t DisplayChange = 0x007E;
// Key state bits of the wheel messages' low word.
constexpr uint32_t KeyStateShift = 0x0004;
constexpr uint32_t KeyStateControl = 0x0008;
}  // namespace msg

struct MessageRecord {
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    intptr_t result = 0;        // returned to the sender when a handler reports "handled"
    QEvent* event = nullptr;    // the window-system event behind the message, if any
};

class Window;

// --- the framework allocator -------------------------------------------------------
namespace detail {
extern void* g_lastFrameworkAllocation;
}
// Allocates a window that deletes itself when its widget is destroyed. The window
// class must have `Window` as its first base.
template <class T, class... Args>
T* newWindow(Args&&... args) {
    void* p = ::operator new(sizeof(T));
    detail::g_lastFrameworkAllocation = p;
    try {
        return new (p) T(std::forward<Args>(args)...);
    } catch (...) {
        detail::g_lastFrameworkAllocation = nullptr;
        ::operator delete(p);
        throw;
    }
}

class Window {
public:
    static constexpr int kDefault = INT32_MIN;  // platform default position or size

    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Destroys the widget; the destroy message follows when it is gone.
    virtual void destroy();
    // Creates the widget and attaches to it. Returns whether a widget exists.
    virtual bool create();
    virtual int onMessage(MessageRecord& m);
    virtual int onCommand(MessageRecord& m, int id, int code);
    virtual int onNotify(MessageRecord& m, int id, void* header);

    QWidget* handle() const { return handle_; }
    bool ownedByFramework() const { return ownedByFramework_; }
    const std::string& className() const { return className_; }
    static Window* lookup(const QWidget* widget);

    // Sends a command to this window's handlers at once (menus, buttons, accelerators).
    int sendCommand(int id, int code = 0);
    // Sends a message to this window's handlers at once; returns whether it was handled.
    bool sendMessage(MessageRecord& m);

    void setNumberText(int value, int scale);
    void savePlacement() const;
    void restorePlacement(bool resizable, bool show);

    // creation parameters
    std::string title;
    int x = kDefault, y = kDefault, width = kDefault, height = kDefault;
    Window* parent = nullptr;
    int menuOrId = 0;

protected:
    void setClassName(std::string name) { className_ = std::move(name); }
    // Makes the widget for `create`; the default is a plain widget.
    virtual QWidget* createWidget(QWidget* parentWidget);
    void attach(QWidget* widget);
    void detach();

private:
    friend struct WindowDispatch;
    std::string className_;
    QPointer<QWidget> handle_;
    bool ownedByFramework_ = false;
};

// Dispatch from a widget's events to its window object.
struct WindowDispatch {
    // The window's handlers for `m`; `true` when one reported "handled".
    static bool dispatch(Window* w, MessageRecord& m);
    static bool dispatchUnguarded(Window* w, MessageRecord& m);
    // Translates a window-system event; `true` when a handler consumed it.
    static bool translate(QWidget* widget, QEvent* e);
    // The widget is being destroyed: destroy message, then delete or detach.
    static void widgetDestroyed(QWidget* widget);
};

// A widget that reports its events and its destruction to its window object.
template <class Base>
class FrameworkWidget : public Base {
public:
    using Base::Base;
    ~FrameworkWidget() override { WindowDispatch::widgetDestroyed(this); }

protected:
    bool event(QEvent* e) override {
        if (WindowDispatch::translate(this, e)) return true;
        return Base::event(e);
    }
};

// A top-level window; destroying it ends the message loop.
class FrameWindow : public Window {
public:
    FrameWindow();
    ~FrameWindow() override;

protected:
    QWidget* createWidget(QWidget* parentWidget) override;
};

// A control of a standard kind inside a parent window, addressed by its id.
class ChildControl : public Window {
public:
    using Factory = std::function<QWidget*(QWidget* parent)>;
    ChildControl(std::string systemClass, Window* parentWindow, int id, Factory factory = {});
    int id() const { return menuOrId; }
    virtual void drawItem(void* drawInfo);

protected:
    QWidget* createWidget(QWidget* parentWidget) override;

private:
    Factory factory_;
};

// A dialog whose controls are created in code. Modal dialogs live on the caller's stack.
class Dialog : public Window {
public:
    Dialog(int templateId, Window* owner);
    ~Dialog() override;

    // Runs the dialog modally; `result` holds what it ended with.
    bool run();
    bool create() override { return run(); }
    // Creates the dialog without waiting; the caller adds it to the modeless list.
    bool createModeless();
    void end();
    void destroy() override { end(); }
    int onCommand(MessageRecord& m, int id, int code) override;
    virtual int onInitDialog() { return 0; }
    virtual void exchangeData(bool /*toObject*/) {}

    QDialog* dialog() const { return qobject_cast<QDialog*>(handle()); }
    // Controls made at their pixel positions in the dialog's 12-pixel font: a push button
    // that sends its command id, and a static text.
    QPushButton* addButton(int id, const char* text, int x, int y, int w, int h);
    QLabel* addLabel(const char* text, int x, int y, int w, int h);
    int templateId() const { return templateId_; }
    int result = 0;
    Window* owner = nullptr;
    Dialog* nextModeless = nullptr;
    // The control (by id, the object name of its widget) that takes the focus once the
    // dialog is initialised; 0 leaves the focus where the platform puts it.
    int focusControlId = 0;
    // Test seam: called with the dialog after it is initialised, before it runs.
    static std::function<void(Dialog&)> onModalStart;

protected:
    QWidget* createWidget(QWidget* parentWidget) override;

private:
    bool initialise();
    int templateId_;
};

// The list of open modeless dialogs (newest first).
class ModelessList {
public:
    void add(Dialog* d);
    void remove(Dialog* d);
    Dialog* first() const { return head_; }
    int count() const;

private:
    Dialog* head_ = nullptr;
};

// --- posted private messages -----------------------------------------------------------
struct PostedMessage {
    Window* target;
    std::string targetClass;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};
// Posts a message to a window; it is handled after the current command, in posting
// order. Posting to no window or to a window without a widget does nothing.
bool postMessage(Window* target, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
// Test seam: every successful post is also appended here while recording is on.
void recordPosts(std::vector<PostedMessage>* sink);

// Whether an error escaped a handler and ended the message loop.
bool loopError();
void clearLoopError();

// --- override cursor ---------------------------------------------------------------
using CursorShape = std::optional<Qt::CursorShape>;
void setCursor(CursorShape cursor);
CursorShape currentCursor();
// Shows the wait cursor and returns the override that was in force.
CursorShape beginBusy();
void endBusy(CursorShape previous);

// --- work area ---------------------------------------------------------------------
Rect workArea();
bool moveWithin(QWidget* window, int x, int y, int width, int height, bool repaint, int mode);

}  // namespace kv
