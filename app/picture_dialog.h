// Picture dialogs: a frameless dialog with rounded corners whose background and button faces
// come from pictures of the bitmap folder; a right click anywhere cancels it.
#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QPoint>

#include <string>

#include "framework/window.h"

namespace kv {

// A button drawn from a cell of the button sheet ("rule_btn.bmp"). The sheet keeps four looks
// of every face one below the other, 32 pixels apart: normal, checked, pressed, disabled. The
// button keeps a checked state of its own (drawn checked even while disabled); the dialogs group
// buttons by checking one and unchecking its partners.
class PictureButton : public QAbstractButton {
public:
    static constexpr int kLookStep = 32;
    PictureButton(QWidget* parent, const QImage* sheet, QPoint face);
    QPoint face() const { return face_; }

protected:
    void paintEvent(QPaintEvent*) override;
    // A click reports only; the dialog decides what is checked.
    void nextCheckState() override {}

private:
    const QImage* sheet_;
    QPoint face_;
};

class PictureDialog : public Dialog {
public:
    static constexpr int kTemplateId = 108;
    static constexpr const char* kButtonSheet = "rule_btn.bmp";
    static constexpr int kOkWidth = 96, kOkHeight = 32;
    static const QPoint kOkFace, kCancelFace;

    // `okId` and `cancelId` are the dialog's own OK and Cancel buttons; a right click, Escape
    // and the window's close send `cancelId`.
    PictureDialog(Window* owner, int clientWidth, int clientHeight, std::string background,
                  int okId, int cancelId);

    // Loads the pictures, shapes and centres the window, then calls addControls; every control
    // then passes its right clicks to the dialog.
    int onInitDialog() final;
    virtual void addControls() = 0;

    // A picture button that reports `id` to onCommand when clicked.
    PictureButton* addPictureButton(int id, int x, int y, int w, int h, QPoint face);
    // Checks `id` and unchecks the others of `group`.
    void checkInGroup(std::initializer_list<int> group, int id);
    bool isChecked(int id) const;
    int cancelId() const { return cancelId_; }
    // The dialog's own Cancel, and the system's, end it with 0.
    int onCommand(MessageRecord& m, int id, int code) override;

    // The distance of the window's edge from its sides in pixel row `row` of a window `height`
    // rows high: the rounded corners.
    static int cornerInset(int row, int height);
    const QImage& background() const { return background_; }

protected:
    QWidget* createWidget(QWidget* parentWidget) override;

private:
    void loadPictures();
    std::string backgroundFile_;
    int okId_, cancelId_;
    QImage background_;
    QImage buttons_;
};

}  // namespace kv
