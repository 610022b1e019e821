// Tooltips of a window: texts for rectangles of the window and for its controls, shown
// whether or not the window is active.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

#include "framework/placement.h"

namespace kv {

class ToolTips : public QObject {
public:
    explicit ToolTips(QWidget* owner);
    // A rectangle of the owner (client pixels) with its text (UTF-8).
    void addToolRect(int id, const Rect& rect, const std::string& text);
    // A control with its text.
    void addToolControl(QWidget* control, const std::string& text);
    void removeAll();
    // The text shown at a point of the owner, or "" (rectangles first, in order of adding).
    QString textAt(int x, int y) const;
    int count() const { return int(rects_.size() + controls_.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    struct RectTool {
        int id;
        Rect rect;
        QString text;
    };
    QPointer<QWidget> owner_;
    std::vector<RectTool> rects_;
    std::vector<QPointer<QWidget>> controls_;
};

}  // namespace kv
