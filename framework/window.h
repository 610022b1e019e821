// The window object layer: one framework object per widget, virtual message, command and
// notification handlers, self-deleting windows, dialogs, posted private messages, the
// process-wide override cursor and saved window placement.
#pragma once

#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/placement.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;

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
    intptr_t result = 0;      // returned to the sender when a handler reports "handled"
    QEvent* event = nullptr;  // the window-system event behind the message, if any
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

// The standard button ids. A dialog ended by OK holds kIdOk in `result`, by Cancel 0; a
// dialog of Yes/No/Cancel buttons holds the id of the one pressed.
enum DialogId : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// A dialog whose controls are created in code. Modal dialogs live on the caller's stack.
//
// A dialog names its controls in an `enum` of ids and makes them in `onInitDialog` with the
// `add…` helpers at their pixel positions (x, y, width, height in the client area), in the
// dialog's 12-pixel font; the object name of each widget is its id, so `control<T>(id)` and the
// tests find it. Values move between the controls and the dialog's members in `exchangeData`.
// What happens to a control comes to `onCommand` with its id and one of the `Notification`
// codes: a click on a button, check box or radio button; a new current item of a combo or list
// box; a new text or value of an edit or spin box. Changes made in code are reported as well, so
// a dialog that fills its controls while a handler must not react guards that with a flag.
class Dialog : public Window {
public:
    // The codes that come with a control's id to `onCommand`.
    enum Notification : int { Clicked = 0, SelectionChanged = 1, TextChanged = 0x0300 };
    // `addRadio`'s last argument for the first button of a group.
    static constexpr bool kNewGroup = true;

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
    // The client area is `w` × `h` and cannot be resized (the title bar offers only the close
    // box). Called before the dialog runs, typically in the constructor; without it the dialog
    // opens at `width` × `height` and can be resized.
    void setFixedClientSize(int w, int h);
    // The font of the dialog and of the controls it adds.
    static QFont defaultFont();

    // A push button; clicking it sends its id (for IdOk and IdCancel: ends the dialog).
    QPushButton* addButton(int id, const char* text, int x, int y, int w, int h);
    // A static text, with or without an id.
    QLabel* addLabel(const char* text, int x, int y, int w, int h);
    QLabel* addLabel(int id, const char* text, int x, int y, int w, int h);
    QLineEdit* addEdit(int id, int x, int y, int w, int h);
    // An edit of several lines.
    QPlainTextEdit* addMultiLineEdit(int id, int x, int y, int w, int h);
    // A drop-down list; `setEditable(true)` lets a value be typed.
    QComboBox* addCombo(int id, int x, int y, int w, int h);
    QCheckBox* addCheck(int id, const char* text, int x, int y, int w, int h);
    // Radio buttons in a group exclude each other. The first radio button of a dialog, and one
    // added with `kNewGroup`, starts a group; the ones added after it join that group.
    QRadioButton* addRadio(int id, const char* text, int x, int y, int w, int h,
                           bool newGroup = false);
    QSpinBox* addSpin(int id, int x, int y, int w, int h, int minimum, int maximum);
    QListWidget* addList(int id, int x, int y, int w, int h);
    // A frame with a caption around other controls; it stays beneath them whenever it is added.
    QGroupBox* addGroup(int id, const char* text, int x, int y, int w, int h);
    // Any other widget, named, in the dialog's font and placed like the ones above.
    template <class T>
    T* add(int id, int x, int y, int w, int h) {
        T* widget = new T(handle());
        place(widget, id, x, y, w, h);
        return widget;
    }
    // The control with `id`; null when there is none or it is not a `T`.
    template <class T>
    T* control(int id) const {
        return handle() ? handle()->findChild<T*>(QString::number(id)) : nullptr;
    }

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
    // Names, fonts and places a control made by one of the `add…` helpers.
    void place(QWidget* control, int id, int x, int y, int w, int h);
    int templateId_;
    bool fixedSize_ = false;
    QButtonGroup* radioGroup_ = nullptr;
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
