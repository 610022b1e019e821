// Tooltips for rectangles and controls.
#include "framework/tool_tips.h"

#include <QHelpEvent>
#include <QToolTip>

namespace kv {

ToolTips::ToolTips(QWidget* owner) : QObject(owner), owner_(owner) {
    // Shown even while another window is active.
    owner->setAttribute(Qt::WA_AlwaysShowToolTips);
    owner->installEventFilter(this);
}

void ToolTips::addToolRect(int id, const Rect& rect, const std::string& text) {
    rects_.push_back({id, rect, QString::fromStdString(text)});
}

void ToolTips::addToolControl(QWidget* control, const std::string& text) {
    if (!control) return;
    control->setToolTip(QString::fromStdString(text));
    controls_.emplace_back(control);
}

void ToolTips::removeAll() {
    rects_.clear();
    for (const QPointer<QWidget>& c : controls_)
        if (c) c->setToolTip(QString());
    controls_.clear();
}

QString ToolTips::textAt(int x, int y) const {
    for (const RectTool& r : rects_)
        if (r.rect.contains(x, y)) return r.text;
    return {};
}

bool ToolTips::eventFilter(QObject* watched, QEvent* e) {
    if (watched == owner_ && e->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(e);
        const QString text = textAt(he->pos().x(), he->pos().y());
        if (text.isEmpty()) {
            QToolTip::hideText();
            e->ignore();
        } else {
            QToolTip::showText(he->globalPos(), text, owner_);
        }
        return true;
    }
    return QObject::eventFilter(watched, e);
}

}  // namespace kv
