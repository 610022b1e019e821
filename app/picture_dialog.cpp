// Picture dialogs and their picture buttons.
#include "app/picture_dialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>

#include <utility>

#include "framework/errors.h"
#include "framework/picture.h"

namespace kv {

const QPoint PictureDialog::kOkFace{288, 256};
const QPoint PictureDialog::kCancelFace{384, 256};

namespace {

// The dialog's window: paints the background, is dragged by its background (kept reachable),
// and turns a right click, Escape or the close request into the dialog's Cancel.
class PictureDialogWidget : public FrameworkWidget<QDialog> {
public:
    using FrameworkWidget<QDialog>::FrameworkWidget;
    void reject() override {
        if (auto* d = dynamic_cast<PictureDialog*>(Window::lookup(this)))
            d->sendCommand(d->cancelId());
        else
            QDialog::reject();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        auto* d = dynamic_cast<PictureDialog*>(Window::lookup(this));
        if (d && !d->background().isNull()) {
            p.drawImage(0, 0, d->background());
        } else {
            p.fillRect(rect(), palette().window());  // the plain look without its picture
        }
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::RightButton) {
            reject();
            return;
        }
        if (e->button() == Qt::LeftButton) dragFrom_ = e->globalPosition().toPoint() - pos();
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!(e->buttons() & Qt::LeftButton) || !dragFrom_) return;
        const QPoint to = e->globalPosition().toPoint() - *dragFrom_;
        Rect r{to.x(), to.y(), to.x() + width(), to.y() + height()};
        r = keepReachable(r, workArea());
        move(r.left, r.top);
    }
    void mouseReleaseEvent(QMouseEvent*) override { dragFrom_.reset(); }

private:
    std::optional<QPoint> dragFrom_;
};

// Passes a right click on a control to the dialog as Cancel.
class RightClickCancels : public QObject {
public:
    RightClickCancels(QObject* parent, QDialog* dialog) : QObject(parent), dialog_(dialog) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::ContextMenu) return false;
        if (e->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(e)->button() != Qt::RightButton)
            return false;
        if (dialog_) dialog_->reject();
        return true;
    }

private:
    QPointer<QDialog> dialog_;
};

}  // namespace

// --- PictureButton ---------------------------------------------------------------------------

PictureButton::PictureButton(QWidget* parent, const QImage* sheet, QPoint face)
    : QAbstractButton(parent), sheet_(sheet), face_(face) {
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // A chosen button shows as chosen even while it cannot be changed.
    const int look = isChecked() ? 1 : !isEnabled() ? 3 : isDown() ? 2 : 0;
    const QRect cell(face_.x(), face_.y() + look * kLookStep, width(), height());
    if (sheet_ && !sheet_->isNull() && sheet_->rect().contains(cell)) {
        p.drawImage(QPoint(0, 0), *sheet_, cell);
        return;
    }
    // Without the sheet the button still shows its state.
    p.fillRect(rect(), isChecked() ? QColor(90, 110, 150) : QColor(200, 200, 200));
    p.setPen(isEnabled() ? Qt::black : Qt::gray);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawText(rect(), Qt::AlignCenter, text());
}

// --- PictureDialog ---------------------------------------------------------------------------

PictureDialog::PictureDialog(Window* ownerWindow, int w, int h, std::string background, int okId,
                             int cancelId)
    : Dialog(kTemplateId, ownerWindow),
      backgroundFile_(std::move(background)),
      okId_(okId),
      cancelId_(cancelId) {
    setFixedClientSize(w, h);
}

QWidget* PictureDialog::createWidget(QWidget* parentWidget) {
    auto* d = new PictureDialogWidget(parentWidget);
    d->setModal(true);
    d->setFont(defaultFont());
    d->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    return d;
}

int PictureDialog::cornerInset(int row, int h) {
    static constexpr int top[9] = {9, 6, 4, 3, 2, 2, 1, 1, 1};
    if (row < 0 || row >= h) return 0;
    if (row < 9) return top[row];
    const int fromBottom = h - 1 - row;
    return fromBottom < 9 ? top[fromBottom] : 0;
}

void PictureDialog::loadPictures() {
    // A missing picture is reported; the dialog still works on a plain background.
    try {
        background_ = loadPicture(backgroundFile_).image();
    } catch (const swCError& e) {
        e.report(this);
    }
    try {
        buttons_ = loadPicture(kButtonSheet).image();
    } catch (const swCError& e) {
        e.report(this);
    }
}

int PictureDialog::onInitDialog() {
    QDialog* d = dialog();
    loadPictures();
    // Thirteen bands of rows, each as wide as the corner allows.
    QRegion shape;
    for (int row = 0; row < height;) {
        const int inset = cornerInset(row, height);
        int end = row + 1;
        while (end < height && cornerInset(end, height) == inset) ++end;
        shape += QRegion(inset, row, width - 2 * inset, end - row);
        row = end;
    }
    d->setMask(shape);
    // Centred over the owner's client area, kept inside the work area.
    QRect over = owner && owner->handle() ? owner->handle()->geometry()
                                          : QGuiApplication::primaryScreen()->geometry();
    if (owner && owner->handle() && owner->handle()->parentWidget() == nullptr)
        over = QRect(owner->handle()->mapToGlobal(QPoint(0, 0)), owner->handle()->size());
    moveWithin(d, over.x() + (over.width() - width) / 2, over.y() + (over.height() - height) / 2,
               width, height, false, 1);
    addControls();
    auto* filter = new RightClickCancels(d, d);
    for (QWidget* child : d->findChildren<QWidget*>()) child->installEventFilter(filter);
    return 0;
}

PictureButton* PictureDialog::addPictureButton(int id, int x, int y, int w, int h, QPoint face) {
    auto* b = new PictureButton(handle(), &buttons_, face);
    b->setObjectName(QString::number(id));
    b->setGeometry(x, y, w, h);
    QObject::connect(b, &QAbstractButton::clicked, b, [dlg = QPointer<QWidget>(handle()), id] {
        if (Window* win = Window::lookup(dlg)) win->sendCommand(id, Clicked);
    });
    return b;
}

void PictureDialog::checkInGroup(std::initializer_list<int> group, int id) {
    for (int member : group) {
        if (auto* b = control<PictureButton>(member)) {
            b->setChecked(member == id);
        }
    }
}

bool PictureDialog::isChecked(int id) const {
    const auto* b = control<PictureButton>(id);
    return b && b->isChecked();
}

int PictureDialog::onCommand(MessageRecord& m, int id, int code) {
    if (id == cancelId_ || id == kIdCancel) {
        result = 0;
        end();
        return 1;
    }
    return Dialog::onCommand(m, id, code);
}

}  // namespace kv
