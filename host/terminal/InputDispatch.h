#pragma once
// Delivers decoded terminal input to the host: keys to the application's
// shortcut hook and then to the focused control as the keyboard would,
// text as typed characters, and mouse presses to the control under the
// cell (a focusable control takes the focus first, as a window does when it
// is clicked), with double clicks told apart by time and place. Cells map
// to the screen's pixels through a fixed cell size.
// Code: InputDispatch.cpp.

#include "host/core/ComponentRef.h"
#include "host/terminal/TermInput.h"
#include "host/ui/Controls.h"

#include <vector>

namespace host {
class TCustomForm;
}

namespace host::term {

// The visible forms bottom to top: in the order they were made, the active
// form above the others, modal forms above all in the order they run.
std::vector<TCustomForm*> FormsInZOrder();

// The topmost visible control under a screen point, the deepest one; its
// form in Form. Nil when no form is there.
TControl* ControlAtScreen(TPoint point, TCustomForm** form = nullptr);

// Where a form's close box is: the caption bar's right end.
bool InCloseBox(const TCustomForm* form, TPoint screenPoint, int cellWidth);

class TInputDispatcher {
public:
    TInputDispatcher(int cellWidth, int cellHeight) : FCellWidth(cellWidth), FCellHeight(cellHeight) {}

    // Delivers one event; TimeMs tells double clicks apart.
    void Dispatch(const TInputEvent& event, long timeMs);

    // The middle of a cell in screen pixels.
    TPoint CellCentre(int x, int y) const;

private:
    void Key(const TInputEvent& event);
    void Mouse(const TInputEvent& event, long timeMs);
    void Press(const TInputEvent& event, long timeMs);
    void Release(const TInputEvent& event);

    int FCellWidth;
    int FCellHeight;
    TClickTracker FClicks;
    // The control that got the press gets the release, wherever it is.
    TComponentRef<TControl> FPressed;
};

} // namespace host::term
