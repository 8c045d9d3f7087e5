#pragma once
// The keyboard focus: at most one windowed control has it. Moving it sends
// WM_KILLFOCUS to the control that loses it and then WM_SETFOCUS to the one
// that gains it; the new control is recorded first, so it answers Focused()
// while it handles its own WM_SETFOCUS.

#include "host/core/Event.h"

namespace host {

class TControl;
class TWinControl;

class TFocusManager {
public:
    TWinControl* Focused() const { return FFocused; }

    // Moves the focus to Control (nil: to no control). WM_KILLFOCUS carries
    // the new control's handle in WParam, WM_SETFOCUS the old one's. A
    // handler that moves the focus elsewhere wins: the messages still due for
    // the earlier move are not sent. Checks nothing; TWinControl::SetFocus
    // checks and then calls this.
    void SetFocus(TWinControl* control);
    // Moves the focus to no control when Control or one of its children has
    // it (the control is going, hidden, disabled or losing its window).
    void RemoveFocusFrom(TControl* control);

    // Told after every completed move, with the control that has the focus
    // now (the screen keeps its active control from it).
    TEvent<void(TWinControl* Focused)> OnChange;

private:
    TWinControl* FFocused = nullptr;
    unsigned FMoves = 0;
};

// The focus of the application.
TFocusManager& FocusManager();
// The control that has the focus, or nil.
TWinControl* FocusedControl();

} // namespace host
