// The focus within a form: each top-level window (a form, as a rule) keeps
// the control that last took the focus within it, and tells the controls the
// focus leaves and enters on its way there. The window focus moving to
// another form and back leaves that control as it was: an edit in the form
// behind a modal form is not left, so it writes nothing.

#include "host/ui/Controls.h"
#include "host/ui/Focus.h"

namespace host {

TWinControl* TWinControl::TopLevel() {
    TWinControl* top = this;
    while (top->Parent()) top = top->Parent();
    return top;
}

namespace {
bool IsOrContains(const TWinControl* outer, const TWinControl* control) {
    return outer == control || outer->ContainsControl(control);
}
} // namespace

void TWinControl::SetFocusedControl(TWinControl* control) {
    if (!FFocusedControl) FFocusedControl = this;
    // A handler that moves the focus elsewhere ends the telling: the move it
    // made tells its own.
    auto stillFocused = [control] { return FocusedControl() == control; };
    while (FFocusedControl && !IsOrContains(FFocusedControl, control)) {
        TWinControl* leaving = FFocusedControl;
        FFocusedControl = leaving->Parent();
        leaving->Perform(CM_EXIT);
        if (!stillFocused()) return;
    }
    if (!FFocusedControl) FFocusedControl = this;
    while (FFocusedControl != control) {
        TWinControl* entering = control;
        while (entering->Parent() != FFocusedControl) entering = entering->Parent();
        FFocusedControl = entering;
        entering->Perform(CM_ENTER);
        if (!stillFocused()) return;
    }
}

void TWinControl::DefocusControl(TWinControl* control) {
    if (FFocusedControl && IsOrContains(control, FFocusedControl))
        FFocusedControl = control == this ? nullptr : control->Parent();
}

void TWinControl::CMEnter(TMessage& message) {
    DoEnter();
    DefaultHandler(message);
}

void TWinControl::CMExit(TMessage& message) {
    DoExit();
    DefaultHandler(message);
}

} // namespace host
