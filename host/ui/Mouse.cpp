#include "host/ui/Mouse.h"

#include "host/core/ComponentRef.h"
#include "host/ui/Controls.h"
#include "host/ui/Forms.h"
#include "host/ui/StdCtrls.h"

namespace host {

namespace {

// A disabled or hidden control gets no mouse input, nor one outside the
// form of a modal run.
bool TakesInput(const TControl* control) {
    for (const TControl* c = control; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return TModalRuns::TakesUserInput(control);
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
    // Any of the messages may end the control.
    const TComponentRef<TControl> alive(control);
    for (unsigned msg : messages) {
        if (!alive) return;
        const std::uintptr_t keys = HeldKeys() | (msg == WM_LBUTTONUP ? 0 : MK_LBUTTON);
        control->Perform(msg, keys, PointToLParam(point.X, point.Y));
    }
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

void TMouse::Wheel(TControl* control, int notches) {
    if (control) Wheel(control, notches, Middle(control));
}

void TMouse::Wheel(TControl* control, int notches, TPoint point) {
    if (!control || !TakesInput(control)) return;
    const TPoint screen = control->ClientToScreen(point);
    const auto distance = static_cast<std::uint16_t>(static_cast<std::int16_t>(notches * WHEEL_DELTA));
    control->Perform(WM_MOUSEWHEEL, MakeWParam(static_cast<std::uint16_t>(HeldKeys()), distance),
                     PointToLParam(screen.X, screen.Y));
}

void TMouse::ClickCloseBox(TWinControl* window) {
    if (window && !window->Parent() && TakesInput(window)) window->Perform(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void TMouse::ClickItem(TCustomListBox* listBox, int index) {
    if (!listBox || index < 0 || index >= listBox->Count()) return;
    if (index < listBox->TopIndex() || listBox->ItemRect(index).Bottom > listBox->ClientHeight())
        listBox->SetTopIndex(index);
    const TRect r = listBox->ItemRect(index);
    Click(listBox, Point(r.Left + r.Width() / 2, r.Top + r.Height() / 2));
}

void TMouse::DblClick(TControl* control, TPoint point) {
    Send(control, point, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP});
}

TControl* ControlAtPoint(TWinControl* parent, TPoint point) {
    for (int i = parent->ControlCount() - 1; i >= 0; --i) {
        TControl* child = parent->Controls(i);
        if (!child->Visible() || !child->BoundsRect().Contains(point)) continue;
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            return ControlAtPoint(windowed, windowed->ScreenToClient(parent->ClientToScreen(point)));
        return child;
    }
    return parent;
}

bool TakesPointerInput(const TControl* control) {
    for (const TControl* c = control; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return TModalRuns::TakesUserInput(control);
}

} // namespace host
