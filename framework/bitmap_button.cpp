// Bitmap-faced buttons.
#include "framework/bitmap_button.h"

#include <QPaintEvent>
#include <QPainter>

#include <map>

#include "framework/errors.h"
#include "framework/font.h"

namespace kv {

namespace {

const FaceSheetInfo kSheets[] = {
    {"btn16x16.bmp", 16, 16},   {"btn20x20.bmp", 20, 20}, {"btn24x20.bmp", 24, 20},
    {"btn26x26.bmp", 26, 26},   {"btn28x20.bmp", 28, 20}, {"btn32x20.bmp", 32, 20},
    {"btn48x16.bmp", 48, 16},   {"btn48x20.bmp", 48, 20}, {"btn55x20.bmp", 55, 20},
    {"btn70x20.bmp", 70, 20},   {"btn90x20.bmp", 90, 20}, {"btn228x20.bmp", 228, 20},
    {"btn230x20.bmp", 230, 20},
};
static_assert(std::size(kSheets) == size_t(FaceSheet::Count));

// Every button of a size shares one read of its sheet.
std::map<std::string, Picture>& sheetCache() {
    static std::map<std::string, Picture> cache;
    return cache;
}

const Picture& sheetPicture(const FaceSheetInfo& info) {
    const std::string path = dataPath(info.file, DataKind::Bmp);
    auto it = sheetCache().find(path);
    if (it != sheetCache().end()) return it->second;
    Picture p;
    p.loadFile(path);  // throws: nothing is cached, the next button tries again
    return sheetCache().emplace(path, std::move(p)).first->second;
}

// The button widget: painting goes to the framework object's drawItem.
class FaceButton : public FrameworkWidget<QAbstractButton> {
public:
    using FrameworkWidget<QAbstractButton>::FrameworkWidget;
    QSize sizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (auto* b = static_cast<BitmapButton*>(Window::lookup(this))) b->drawItem(&p);
    }
};

void edge(QPainter& p, const QRect& r, bool sunken) {
    const QColor light(255, 255, 255), dark(96, 96, 96);
    p.setPen(sunken ? dark : light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(sunken ? light : dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace

const FaceSheetInfo& faceSheetInfo(FaceSheet sheet) {
    return kSheets[static_cast<int>(sheet)];
}

void clearFaceSheetCache() {
    sheetCache().clear();
}

BitmapButton::BitmapButton(Window* parentWindow, FaceSheet sheet, int face, int id, int bx, int by)
    : ChildControl("Button", parentWindow, id,
                   [](QWidget* parentWidget) -> QWidget* { return new FaceButton(parentWidget); }) {
    const FaceSheetInfo& info = faceSheetInfo(sheet);
    buttonWidth = info.width;
    buttonHeight = info.height;
    x = bx;
    y = by;
    width = info.width;
    height = info.height;
    try {
        loadFaces(sheet, face);
    } catch (const swCError& e) {
        e.report(parentWindow);
    }
    if (!create()) return;
    QAbstractButton* b = button();
    b->setObjectName(QString::number(id));
    b->setFocusPolicy(Qt::NoFocus);
    QObject::connect(b, &QAbstractButton::clicked, b, [this, id] {
        if (parent) parent->sendCommand(id, Dialog::Clicked);
    });
}

void BitmapButton::loadFaces(FaceSheet sheet, int face) {
    const FaceSheetInfo& info = faceSheetInfo(sheet);
    const Picture& s = sheetPicture(info);
    const int left = face * info.width;
    if (face < 0 || left + info.width > s.width()) return;
    // A row the sheet does not reach is a face the button has not.
    Picture* rows[] = {&normalFace, &pushedFace, &disabledFace, &focusFace};
    for (int r = 0; r < 4; ++r) {
        const int top = r * info.height;
        if (top + info.height > s.height()) break;
        *rows[r] = s.cut({left, top, left + info.width, top + info.height});
    }
}

BitmapButton::Look BitmapButton::lookFor(const DrawState& s) const {
    if (!normalFace.isNull() && !pushedFace.isNull()) {
        if (s.selected || latched) return Look::Pushed;
        if (!ignoreDisabledFace && s.disabled && !disabledFace.isNull()) return Look::Disabled;
        if (s.focused && !focusFace.isNull()) return Look::Focus;
        return Look::Normal;
    }
    if (s.selected || latched) return Look::NormalSunken;
    if (s.focused && !focusFace.isNull()) return Look::Focus;
    return s.disabled ? Look::Normal : Look::NormalRaised;
}

void BitmapButton::paint(QPainter& p, const DrawState& s) const {
    const QRect r(0, 0, handle() ? handle()->width() : buttonWidth,
                  handle() ? handle()->height() : buttonHeight);
    p.fillRect(r, QColor(212, 208, 200));
    const Look look = lookFor(s);
    auto draw = [&](const Picture& face, int shift) {
        if (!face.isNull()) p.drawImage(QPoint(shift, shift), face.image());
    };
    switch (look) {
        case Look::Pushed: draw(pushedFace, 0); break;
        case Look::Disabled: draw(disabledFace, 0); break;
        case Look::Focus: draw(focusFace, 0); break;
        case Look::Normal: draw(normalFace, 0); break;
        case Look::NormalSunken:
            draw(normalFace, 1);
            edge(p, r.adjusted(0, 0, -1, -1), true);
            break;
        case Look::NormalRaised:
            draw(normalFace, 0);
            edge(p, r.adjusted(0, 0, -1, -1), false);
            break;
    }
    if (showText && handle()) {
        const auto* b = button();
        p.setFont(b->font());
        p.setPen(Qt::white);
        p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, b->text());
    }
    if (s.focused && focusFace.isNull()) {
        p.setPen(QColor(64, 64, 64));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(3, 3, -4, -4));
    }
}

void BitmapButton::drawItem(void* drawInfo) {
    const QAbstractButton* b = button();
    if (!b || !drawInfo) return;
    DrawState s;
    s.selected = b->isDown();
    s.disabled = !b->isEnabled();
    s.focused = b->hasFocus();
    paint(*static_cast<QPainter*>(drawInfo), s);
}

void BitmapButton::setLatched(bool on) {
    if (latched == on) return;
    latched = on;
    if (QWidget* w = handle()) w->update();
}

void BitmapButton::setText(const QString& text) {
    if (QAbstractButton* b = button()) b->setText(text);
}

}  // namespace kv
