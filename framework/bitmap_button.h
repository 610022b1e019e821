// Buttons whose faces come from the face sheets of the bitmap folder: one sheet per button
// size, a column per face number, rows normal / pushed / disabled / focus.
#pragma once

#include <QAbstractButton>

#include "framework/picture.h"
#include "framework/window.h"

class QPainter;

namespace kv {

enum class FaceSheet : int {
    B16x16,
    B20x20,
    B24x20,
    B26x26,
    B28x20,
    B32x20,
    B48x16,
    B48x20,
    B55x20,
    B70x20,
    B90x20,
    B228x20,
    B230x20,
    Count
};

struct FaceSheetInfo {
    const char* file;
    int width, height;
};
const FaceSheetInfo& faceSheetInfo(FaceSheet sheet);

// A push button drawn from up to four faces. Clicking it sends its id (code Clicked) to the
// parent window's onCommand.
class BitmapButton : public ChildControl {
public:
    // The four faces of face `face` of `sheet`. A sheet that cannot be read is reported with
    // the parent as owner and leaves the button without faces (still usable).
    BitmapButton(Window* parent, FaceSheet sheet, int face, int id, int x, int y);

    Picture normalFace, pushedFace, disabledFace, focusFace;
    int buttonWidth = 0, buttonHeight = 0;
    // Drawn pushed whatever the mouse does (toggle buttons).
    bool latched = false;
    bool ignoreDisabledFace = false;
    // The window text in white over the face.
    bool showText = false;

    struct DrawState {
        bool selected = false, disabled = false, focused = false;
    };
    // What drawItem shows for a state.
    enum class Look { Pushed, Disabled, Focus, Normal, NormalSunken, NormalRaised };
    Look lookFor(const DrawState& s) const;
    // Paints the button as it looks in `s`.
    void paint(QPainter& p, const DrawState& s) const;
    // drawInfo: a QPainter* on the button; the state is read from the button itself.
    void drawItem(void* drawInfo) override;

    void setLatched(bool on);
    void setText(const QString& text);
    QAbstractButton* button() const { return qobject_cast<QAbstractButton*>(handle()); }

private:
    void loadFaces(FaceSheet sheet, int face);
};

// The cached sheets are read again from the files (the program folder changed).
void clearFaceSheetCache();

}  // namespace kv
