#include "host/ui/Mouse.h"

#include "host/ui/Controls.h"

namespace host {

namespace {

// Keeps track of whether a control still exists between the messages of one
// click, since any of them may end it.
class TControlWatch : public TComponent {
    HOST_CLASS(TControlWatch, TComponent)
public:
    TControl* Watched = nullptr;

protected:
    explicit TControlWatch(TComponent* owner) : TComponent(owner) {}
    void Notification(TComponent* component, TOperation operation) override {
        if (operation == opRemove && component == Watched) Watched = nullptr;
        inherited::Notification(component, operation);
    }
};
HOST_IMPLEMENT_CLASS(TControlWatch, TComponent)

// A disabled or hidden control gets no mouse input.
bool TakesInput(const TControl* control) {
    for (const TControl* c = control; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

std::uintptr_t HeldKeys() {
    const TShiftState shift = Keyboard().ShiftState();
    std::uintptr_t keys = 0;
    if (shift.Contains(ssShift)) keys |= MK_SHIFT;
    if (shift.Contains(ssCtrl)) keys |= MK_CONTROL;
    return keys;
}

TPoint Middle(const TControl* control) { return Point(control->ClientWidth() / 2, control->ClientHeight() / 2); }

// Sends the messages in turn while the control exists.
void Send(TControl* control, TPoint point, std::initializer_list<unsigned> messages) {
    if (!control || !TakesInput(control)) return;
    Owned<TControlWatch> watch(TControlWatch::Create(nullptr));
    watch->Watched = control;
    watch->FreeNotification(control);
    for (unsigned msg : messages) {
        if (!watch->Watched) return;
        const std::uintptr_t keys = HeldKeys() | (msg == WM_LBUTTONUP ? 0 : MK_LBUTTON);
        control->Perform(msg, keys, PointToLParam(point.X, point.Y));
    }
    // A control freed by the last message already dropped the notice.
    if (watch->Watched) watch->RemoveFreeNotification(control);
}

} // namespace

TMouse& Mouse() {
    static TMouse mouse;
    return mouse;
}

void TMouse::Click(TControl* control) {
    if (control) Click(control, Middle(control));
}

void TMouse::Click(TControl* control, TPoint point) { Send(control, point, {WM_LBUTTONDOWN, WM_LBUTTONUP}); }

void TMouse::DblClick(TControl* control) {
    if (control) DblClick(control, Middle(control));
}

void TMouse::ClickCloseBox(TWinControl* window) {
    if (window && !window->Parent() && TakesInput(window)) window->Perform(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void TMouse::DblClick(TControl* control, TPoint point) {
    Send(control, point, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP});
}

} // namespace host
