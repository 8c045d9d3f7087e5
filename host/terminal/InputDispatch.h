#pragma once
// Delivers decoded terminal input to the host: keys to the application's
// shortcut hook and then to the focused control as the keyboard would,
// text as typed characters, and mouse presses to the control under the
// cell (a focusable control takes the focus first, as a window does when it
// is clicked), with double clicks told apart by time and place, and the
// wheel's notches to the control under the mouse. Cells map
// to the screen's pixels through a fixed cell size.
// Code: InputDispatch.cpp.

#include "host/core/Export.h"
#include "host/core/ComponentRef.h"
#include "host/terminal/TermInput.h"
#include "host/ui/Controls.h"

#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {
class TCustomForm;
}

namespace host::term {

// The visible forms bottom to top: in the order they were made, the active
// form above the others, modal forms above all in the order they run.
std::vector<TCustomForm*> FormsInZOrder();

// What is under a cell of the screen: the topmost form whose picture
// covers it, the deepest visible control there (the form itself on its
// frame), and the point in that control's client coordinates.
struct THit {
    TCustomForm* Form = nullptr;
    TControl* Control = nullptr;
    TPoint Point;
    // The cell on the form's picture.
    TPoint FormCell;
};
THit HitTest(TPoint cell);

// The close box a form with a frame shows: three cells before the top
// right corner of its picture. Cell is a cell of the form's picture.
bool HasCloseBox(const TCustomForm* form);
bool InCloseBox(TCustomForm* form, TPoint cell);

class TInputDispatcher {
public:
    // Delivers one event; TimeMs tells double clicks apart.
    void Dispatch(const TInputEvent& event, long timeMs);

private:
    void Key(const TInputEvent& event);
    void Mouse(const TInputEvent& event, long timeMs);
    void Press(const TInputEvent& event, long timeMs);
    void Release(const TInputEvent& event);
    void Wheel(const TInputEvent& event);

    TClickTracker FClicks;
    // The control that got the press gets the release, wherever it is.
    TComponentRef<TControl> FPressed;
};

} // namespace host::term

VESKAR_PUBLIC_END
