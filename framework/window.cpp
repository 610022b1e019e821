// The window object layer over Qt widgets.
#include "framework/window.h"

#include "framework/errors.h"
#include "framework/font.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QThread>
#include <QWheelEvent>

namespace kv {

namespace detail {
void* g_lastFrameworkAllocation = nullptr;
}

namespace {

const char* const kObjectProperty = "kv.window";

// The one event type that carries posted private messages.
const QEvent::Type kPostedType = static_cast<QEvent::Type>(QEvent::registerEventType());

class PostedEvent : public QEvent {
public:
    PostedEvent(uint32_t m, uintptr_t w, intptr_t l)
        : QEvent(kPostedType), message(m), wParam(w), lParam(l) {}
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

std::vector<PostedMessage>* g_postSink = nullptr;
CursorShape g_cursor;

intptr_t packPoint(int x, int y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) |
                                 static_cast<uint32_t>(x & 0xFFFF));
}

QWidget* parentWidgetOf(const Window* w) {
    return w ? w->handle() : nullptr;
}

// A dialog widget that turns its accept and reject paths into OK and Cancel commands.
class DialogWidget : public FrameworkWidget<QDialog> {
public:
    using FrameworkWidget<QDialog>::FrameworkWidget;
    void accept() override {
        command(kIdOk, [this] { QDialog::accept(); });
    }
    void reject() override {
        command(kIdCancel, [this] { QDialog::reject(); });
    }

private:
    template <class F>
    void command(int id, F fallback) {
        Window* w = Window::lookup(this);
        if (!w || !w->sendCommand(id)) fallback();
    }
};

// Passes a control's signal to its dialog's `onCommand` as `id` with `code`. The dialog is found
// through its widget, so that a signal sent while the dialog goes away reaches nothing.
template <class Control, class Signal>
void reportTo(QWidget* dialog, Control* control, Signal signal, int id, int code) {
    QObject::connect(control, signal, control, [dialog = QPointer<QWidget>(dialog), id, code] {
        if (Window* w = Window::lookup(dialog)) w->sendCommand(id, code);
    });
}

}  // namespace

// --- Window ---------------------------------------------------------------------------

Window::Window() {
    if (detail::g_lastFrameworkAllocation == this) ownedByFramework_ = true;
    detail::g_lastFrameworkAllocation = nullptr;
}

Window::~Window() {
    if (handle_) {
        QWidget* w = handle_;
        detach();
        // The object goes away before its widget: take the widget with it.
        delete w;
    }
}

void Window::destroy() {
    if (!handle_) return;
    handle_->hide();
    handle_->deleteLater();
}

bool Window::create() {
    QWidget* w = createWidget(parentWidgetOf(parent));
    if (!w) return false;
    attach(w);
    if (!title.empty()) w->setWindowTitle(QString::fromStdString(title));
    if (x != kDefault && y != kDefault) w->move(x, y);
    if (width != kDefault && height != kDefault) w->resize(width, height);
    if (parent) w->show();
    return handle_ != nullptr;
}

int Window::onMessage(MessageRecord&) {
    return 0;
}
int Window::onCommand(MessageRecord&, int, int) {
    return 0;
}
int Window::onNotify(MessageRecord&, int, void*) {
    return 0;
}

QWidget* Window::createWidget(QWidget* parentWidget) {
    return new FrameworkWidget<QWidget>(parentWidget);
}

void Window::attach(QWidget* widget) {
    handle_ = widget;
    widget->setProperty(kObjectProperty, QVariant::fromValue(static_cast<void*>(this)));
    if (!className_.empty()) widget->setObjectName(QString::fromStdString(className_));
}

void Window::detach() {
    if (handle_) handle_->setProperty(kObjectProperty, QVariant());
    handle_ = nullptr;
}

Window* Window::lookup(const QWidget* widget) {
    if (!widget) return nullptr;
    QVariant v = widget->property(kObjectProperty);
    return v.isValid() ? static_cast<Window*>(v.value<void*>()) : nullptr;
}

int Window::sendCommand(int id, int code) {
    MessageRecord m;
    m.message = msg::Command;
    m.wParam = static_cast<uintptr_t>((static_cast<uint32_t>(code) << 16) | (id & 0xFFFF));
    return WindowDispatch::dispatch(this, m) ? 1 : 0;
}

bool Window::sendMessage(MessageRecord& m) {
    return WindowDispatch::dispatch(this, m);
}

void Window::setNumberText(int value, int scale) {
    if (!handle_) return;
    const QString text = QString::fromStdString(numberText(value, scale));
    // A window's text is its title; a control's is what it shows (labels, edits, buttons).
    if (handle_->isWindow()) {
        handle_->setWindowTitle(text);
        return;
    }
    const QMetaObject* meta = handle_->metaObject();
    for (const char* property : {"text", "plainText"}) {
        if (meta->indexOfProperty(property) >= 0) {
            handle_->setProperty(property, text);
            return;
        }
    }
}

void Window::savePlacement() const {
    if (!handle_) return;
    SavedPlacement p;
    p.zoomed = handle_->isMaximized();
    p.iconic = handle_->isMinimized();
    const QRect r = handle_->isWindow() ? handle_->normalGeometry() : handle_->geometry();
    const QRect g = r.isValid() ? r : handle_->geometry();
    p.normal = {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    writePlacement(className_, p);
}

void Window::restorePlacement(bool resizable, bool show) {
    if (!handle_) return;
    const std::optional<SavedPlacement> p = readPlacement(className_);
    if (!p) {
        handle_->setVisible(show);
        return;
    }
    const int w = resizable ? p->normal.width() : handle_->width();
    const int h = resizable ? p->normal.height() : handle_->height();
    handle_->setGeometry(p->normal.left, p->normal.top, w, h);
    if (!show) {
        handle_->hide();
    } else if (p->iconic) {
        handle_->showMinimized();
    } else if (p->zoomed) {
        handle_->showMaximized();
    } else {
        handle_->showNormal();
    }
}

// --- dispatch ---------------------------------------------------------------------------

namespace {
bool g_loopError = false;

// An error no handler caught is shown and ends the message loop.
void endLoopWithError(const swCError& e) {
    e.report(nullptr);
    g_loopError = true;
    QCoreApplication::exit(0);
}
}  // namespace

bool loopError() {
    return g_loopError;
}
void clearLoopError() {
    g_loopError = false;
}

bool WindowDispatch::dispatch(Window* w, MessageRecord& m) {
    try {
        return dispatchUnguarded(w, m);
    } catch (const swCError& e) {
        endLoopWithError(e);
    } catch (const std::exception& e) {
        endLoopWithError(swCError(0, e.what()));
    }
    return true;
}

bool WindowDispatch::dispatchUnguarded(Window* w, MessageRecord& m) {
    if (!w) return false;
    int handled = 0;
    if (m.message == msg::Notify) {
        handled = w->onNotify(m, static_cast<int>(m.wParam), reinterpret_cast<void*>(m.lParam));
    } else if (m.message == msg::Command) {
        handled = w->onCommand(m, static_cast<int>(m.wParam & 0xFFFF),
                               static_cast<int>((m.wParam >> 16) & 0xFFFF));
    } else {
        handled = w->onMessage(m);
    }
    return handled != 0;
}

bool WindowDispatch::translate(QWidget* widget, QEvent* e) {
    Window* w = Window::lookup(widget);
    if (!w) return false;
    MessageRecord m;
    m.event = e;
    switch (e->type()) {
        case QEvent::Close: {
            if (qobject_cast<QDialog*>(widget)) return false;  // becomes the Cancel command
            m.message = msg::Close;
            if (!dispatch(w, m)) w->destroy();
            e->ignore();
            return true;
        }
        case QEvent::Move:
            m.message = msg::Move;
            m.lParam = packPoint(widget->x(), widget->y());
            break;
        case QEvent::Resize:
            m.message = msg::Size;
            m.lParam = packPoint(widget->width(), widget->height());
            break;
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            auto* me = static_cast<QMouseEvent*>(e);
            const bool right = me->button() == Qt::RightButton;
            switch (e->type()) {
                case QEvent::MouseMove:
                    m.message = msg::MouseMove;
                    if (g_cursor) widget->setCursor(*g_cursor);
                    break;
                case QEvent::MouseButtonPress:
                    m.message = right ? msg::RButtonDown : msg::LButtonDown;
                    break;
                case QEvent::MouseButtonRelease:
                    m.message = right ? msg::RButtonUp : msg::LButtonUp;
                    break;
                default: m.message = msg::LButtonDblClk; break;
            }
            const QPoint p = me->position().toPoint();
            m.wParam = static_cast<uintptr_t>(me->buttons().toInt());
            m.lParam = packPoint(p.x(), p.y());
            break;
        }
        case QEvent::Wheel: {
            auto* we = static_cast<QWheelEvent*>(e);
            const QPoint delta = we->angleDelta();
            uint32_t keys = 0;
            if (we->modifiers() & Qt::ShiftModifier) keys |= msg::KeyStateShift;
            if (we->modifiers() & Qt::ControlModifier) keys |= msg::KeyStateControl;
            // A tilt or a sideways swipe comes as its own message.
            const bool sideways = delta.y() == 0 && delta.x() != 0;
            m.message = sideways ? msg::MouseHWheel : msg::MouseWheel;
            const int amount = sideways ? delta.x() : delta.y();
            m.wParam = static_cast<uintptr_t>((static_cast<uint32_t>(amount) << 16) | keys);
            break;
        }
        case QEvent::KeyPress:
            m.message = msg::KeyDown;
            m.wParam = static_cast<uintptr_t>(static_cast<QKeyEvent*>(e)->key());
            break;
        default:
            if (e->type() == kPostedType) {
                auto* pe = static_cast<PostedEvent*>(e);
                m.message = pe->message;
                m.wParam = pe->wParam;
                m.lParam = pe->lParam;
                dispatch(w, m);
                return true;
            }
            return false;
    }
    return dispatch(w, m);
}

void WindowDispatch::widgetDestroyed(QWidget* widget) {
    Window* w = Window::lookup(widget);
    if (!w) return;
    MessageRecord m;
    m.message = msg::Destroy;
    dispatch(w, m);
    w->detach();
    if (w->ownedByFramework()) delete w;
}

// --- FrameWindow ------------------------------------------------------------------------

FrameWindow::FrameWindow() = default;

FrameWindow::~FrameWindow() {
    // Destroying the top-level window ends the message loop (when one runs: asking a
    // loop that has not started to quit would end the next modal loop at once).
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

QWidget* FrameWindow::createWidget(QWidget*) {
    return new FrameworkWidget<QMainWindow>();
}

// --- ChildControl -----------------------------------------------------------------------

ChildControl::ChildControl(std::string systemClass, Window* parentWindow, int id, Factory factory)
    : factory_(std::move(factory)) {
    setClassName(std::move(systemClass));
    parent = parentWindow;
    menuOrId = id;
}

void ChildControl::drawItem(void*) {}

QWidget* ChildControl::createWidget(QWidget* parentWidget) {
    return factory_ ? factory_(parentWidget) : new FrameworkWidget<QWidget>(parentWidget);
}

// --- Dialog -----------------------------------------------------------------------------

std::function<void(Dialog&)> Dialog::onModalStart;

Dialog::Dialog(int templateId, Window* ownerWindow) : owner(ownerWindow), templateId_(templateId) {
    parent = ownerWindow;
}

Dialog::~Dialog() = default;

QWidget* Dialog::createWidget(QWidget* parentWidget) {
    auto* d = new DialogWidget(parentWidget);
    d->setModal(true);
    d->setFont(defaultFont());
    // A title and a close box; a dialog is never minimised (a window manager would offer it
    // for a dialog without an owner).
    d->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    return d;
}

bool Dialog::initialise() {
    QWidget* w = createWidget(parentWidgetOf(owner));
    if (!w) return false;
    attach(w);
    if (!title.empty()) w->setWindowTitle(QString::fromStdString(title));
    if (fixedSize_) {
        w->setFixedSize(width, height);
    } else if (width != kDefault && height != kDefault) {
        w->resize(width, height);
    }
    if (x != kDefault && y != kDefault) w->move(x, y);
    radioGroup_ = nullptr;
    onInitDialog();
    // Only a dialog that can change its size can be maximised.
    if (w->minimumSize() != w->maximumSize()) w->setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    if (focusControlId != 0) {
        if (auto* c = w->findChild<QWidget*>(QString::number(focusControlId))) c->setFocus();
    }
    exchangeData(false);
    return true;
}

bool Dialog::run() {
    result = 0;
    if (!initialise()) return false;
    QPointer<QDialog> d = dialog();
    if (onModalStart) onModalStart(*this);
    if (d) d->exec();
    // A modal dialog's window is gone once it has ended.
    if (d) delete d.data();
    return true;
}

bool Dialog::createModeless() {
    if (!initialise()) return false;
    if (QDialog* d = dialog()) {
        d->setModal(false);
        d->show();
    }
    return true;
}

void Dialog::setFixedClientSize(int w, int h) {
    width = w;
    height = h;
    fixedSize_ = true;
    if (QWidget* d = handle()) d->setFixedSize(w, h);
}

QFont Dialog::defaultFont() {
    return createFont(12, 400);
}

void Dialog::place(QWidget* control, int id, int x, int y, int w, int h) {
    if (id != 0) control->setObjectName(QString::number(id));
    control->setFont(defaultFont());
    control->setGeometry(x, y, w, h);
}

QPushButton* Dialog::addButton(int id, const char* text, int x, int y, int w, int h) {
    auto* b = add<QPushButton>(id, x, y, w, h);
    b->setText(QString::fromUtf8(text));
    reportTo(handle(), b, &QPushButton::clicked, id, Clicked);
    return b;
}

QLabel* Dialog::addLabel(const char* text, int x, int y, int w, int h) {
    return addLabel(0, text, x, y, w, h);
}

QLabel* Dialog::addLabel(int id, const char* text, int x, int y, int w, int h) {
    auto* l = add<QLabel>(id, x, y, w, h);
    l->setText(QString::fromUtf8(text));
    return l;
}

QLineEdit* Dialog::addEdit(int id, int x, int y, int w, int h) {
    auto* e = add<QLineEdit>(id, x, y, w, h);
    reportTo(handle(), e, &QLineEdit::textChanged, id, TextChanged);
    return e;
}

QPlainTextEdit* Dialog::addMultiLineEdit(int id, int x, int y, int w, int h) {
    auto* e = add<QPlainTextEdit>(id, x, y, w, h);
    reportTo(handle(), e, &QPlainTextEdit::textChanged, id, TextChanged);
    return e;
}

QComboBox* Dialog::addCombo(int id, int x, int y, int w, int h) {
    auto* c = add<QComboBox>(id, x, y, w, h);
    reportTo(handle(), c, &QComboBox::currentIndexChanged, id, SelectionChanged);
    return c;
}

QCheckBox* Dialog::addCheck(int id, const char* text, int x, int y, int w, int h) {
    auto* c = add<QCheckBox>(id, x, y, w, h);
    c->setText(QString::fromUtf8(text));
    reportTo(handle(), c, &QCheckBox::clicked, id, Clicked);
    return c;
}

QRadioButton* Dialog::addRadio(int id, const char* text, int x, int y, int w, int h,
                               bool newGroup) {
    auto* r = add<QRadioButton>(id, x, y, w, h);
    r->setText(QString::fromUtf8(text));
    // Radio buttons of one parent would all exclude each other; a group keeps them apart.
    if (newGroup || !radioGroup_) radioGroup_ = new QButtonGroup(handle());
    radioGroup_->addButton(r);
    reportTo(handle(), r, &QRadioButton::clicked, id, Clicked);
    return r;
}

QSpinBox* Dialog::addSpin(int id, int x, int y, int w, int h, int minimum, int maximum) {
    auto* s = add<QSpinBox>(id, x, y, w, h);
    s->setRange(minimum, maximum);
    reportTo(handle(), s, &QSpinBox::valueChanged, id, TextChanged);
    return s;
}

QListWidget* Dialog::addList(int id, int x, int y, int w, int h) {
    auto* l = add<QListWidget>(id, x, y, w, h);
    reportTo(handle(), l, &QListWidget::currentRowChanged, id, SelectionChanged);
    return l;
}

QGroupBox* Dialog::addGroup(int id, const char* text, int x, int y, int w, int h) {
    auto* g = add<QGroupBox>(id, x, y, w, h);
    g->setTitle(QString::fromUtf8(text));
    // Beneath the controls it frames, which may have been added before it.
    g->lower();
    return g;
}

void Dialog::end() {
    if (QDialog* d = dialog()) d->done(result);
}

int Dialog::onCommand(MessageRecord&, int id, int) {
    if (id == kIdOk) {
        exchangeData(true);
        result = kIdOk;
        end();
        return 1;
    }
    if (id == kIdCancel) {
        result = 0;
        end();
        return 1;
    }
    return 0;
}

// --- ModelessList ----------------------------------------------------------------------

void ModelessList::add(Dialog* d) {
    d->nextModeless = head_;
    head_ = d;
}

void ModelessList::remove(Dialog* d) {
    for (Dialog** p = &head_; *p; p = &(*p)->nextModeless) {
        if (*p == d) {
            *p = d->nextModeless;
            d->nextModeless = nullptr;
            return;
        }
    }
}

int ModelessList::count() const {
    int n = 0;
    for (Dialog* d = head_; d; d = d->nextModeless) ++n;
    return n;
}

// --- posted messages -------------------------------------------------------------------

bool postMessage(Window* target, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (!target || !target->handle()) return false;
    QCoreApplication::postEvent(target->handle(), new PostedEvent(message, wParam, lParam));
    if (g_postSink) g_postSink->push_back({target, target->className(), message, wParam, lParam});
    return true;
}

void recordPosts(std::vector<PostedMessage>* sink) {
    g_postSink = sink;
}

// --- override cursor --------------------------------------------------------------------

void setCursor(CursorShape cursor) {
    if (g_cursor) QGuiApplication::restoreOverrideCursor();
    g_cursor = cursor;
    if (g_cursor) QGuiApplication::setOverrideCursor(QCursor(*g_cursor));
}

CursorShape currentCursor() {
    return g_cursor;
}

CursorShape beginBusy() {
    CursorShape previous = g_cursor;
    setCursor(Qt::WaitCursor);
    return previous;
}

void endBusy(CursorShape previous) {
    setCursor(previous);
}

// --- work area --------------------------------------------------------------------------

Rect workArea() {
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return {0, 0, 800, 600};
    const QRect g = s->availableGeometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

bool moveWithin(QWidget* window, int x, int y, int width, int height, bool repaint, int mode) {
    const bool adjusted = adjustWithin(x, y, width, height, workArea(), mode);
    if (window) {
        window->setGeometry(x, y, width, height);
        if (repaint) window->update();
    }
    return adjusted;
}

}  // namespace kv
