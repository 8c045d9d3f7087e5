#pragma once
// The keyboard focus: at most one windowed control has it. Moving it sends
// WM_KILLFOCUS to the control that loses it and then WM_SETFOCUS to the one
// that gains it; the new control is recorded first, so it answers Focused()
// while it handles its own WM_SETFOCUS.

#include "host/core/Export.h"
#include "host/core/Event.h"

#include <functional>
#include <vector>

VESKAR_PUBLIC_BEGIN

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
    // now: first the listeners, oldest first, then OnChange. A move made by
    // one of them ends the telling of the earlier one.
    TEvent<void(TWinControl* Focused)> OnChange;
    // Listeners stay until removed, whatever is done with OnChange (the
    // screen keeps its active form and control through one). Answers the
    // listener's number.
    int AddListener(std::function<void(TWinControl* Focused)> listener);
    void RemoveListener(int id);

private:
    struct TListener {
        int Id;
        std::function<void(TWinControl*)> Call;
    };
    TWinControl* FFocused = nullptr;
    unsigned FMoves = 0;
    std::vector<TListener> FListeners;
    int FNextListener = 1;
};

// The focus of the application.
TFocusManager& FocusManager();
// The control that has the focus, or nil.
TWinControl* FocusedControl();

} // namespace host

VESKAR_PUBLIC_END
