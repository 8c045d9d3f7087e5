#include "host/terminal/InputDispatch.h"

#include "host/ui/App.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Messages.h"
#include "host/ui/Mouse.h"

#include <algorithm>

namespace host::term {

namespace {

void MoveToTop(std::vector<TCustomForm*>& forms, TCustomForm* form) {
    auto it = std::find(forms.begin(), forms.end(), form);
    if (it == forms.end()) return;
    forms.erase(it);
    forms.push_back(form);
}

std::uintptr_t KeysOf(TShiftState shift, bool buttonDown) {
    std::uintptr_t keys = buttonDown ? MK_LBUTTON : 0;
    if (shift.Contains(ssShift)) keys |= MK_SHIFT;
    if (shift.Contains(ssCtrl)) keys |= MK_CONTROL;
    return keys;
}

} // namespace

std::vector<TCustomForm*> FormsInZOrder() {
    std::vector<TCustomForm*> forms;
    for (int i = 0; i < Screen()->FormCount(); ++i)
        if (TCustomForm* form = Screen()->Forms(i); form->Visible()) forms.push_back(form);
    if (TCustomForm* active = Screen()->ActiveForm()) MoveToTop(forms, active);
    // Modal runs nest, the innermost on top; an outer one stays above the
    // forms it keeps from the user.
    std::vector<TCustomForm*> modal;
    for (TCustomForm* form : forms)
        if (form->Modal()) modal.push_back(form);
    for (TCustomForm* form : modal) MoveToTop(forms, form);
    if (TCustomForm* innermost = TModalRuns::Innermost()) MoveToTop(forms, innermost);
    return forms;
}

THit HitTest(TPoint cell) {
    THit hit;
    const auto forms = FormsInZOrder();
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
        TCustomForm* form = *it;
        const TPoint origin = form->SurfaceOrigin();
        const TCellSurface& picture = form->Surface();
        const TPoint local = Point(cell.X - origin.X, cell.Y - origin.Y);
        if (!Rect(0, 0, picture.Columns(), picture.Rows()).Contains(local)) continue;
        hit.Form = form;
        hit.FormCell = local;
        hit.Control = form;
        if (!form->ClientCells().Contains(local)) return hit;
        const TPoint client = form->SurfaceCellToClient(local);
        hit.Control = ControlAtPoint(form, client);
        hit.Point = hit.Control->ScreenToClient(form->ClientToScreen(client));
        return hit;
    }
    return hit;
}

bool HasCloseBox(const TCustomForm* form) { return form->BorderStyle() != bsNone; }

bool InCloseBox(TCustomForm* form, TPoint cell) {
    const int right = form->Surface().Columns() - 1;
    return HasCloseBox(form) && cell.Y == 0 && cell.X >= right - 3 && cell.X < right;
}

void TInputDispatcher::Dispatch(const TInputEvent& event, long timeMs) {
    switch (event.Kind) {
    case TInputKind::Key: Key(event); break;
    case TInputKind::Text:
        // A printable character has no shortcut; its key arrives with it.
        Keyboard().Type(event.Text);
        break;
    case TInputKind::Mouse: Mouse(event, timeMs); break;
    case TInputKind::None: break;
    }
}

void TInputDispatcher::Key(const TInputEvent& event) {
    if (Application()->IsShortCut(event.Key, event.Shift)) return;
    Keyboard().Press(event.Key, event.Shift);
}

void TInputDispatcher::Mouse(const TInputEvent& event, long timeMs) {
    if (event.Motion) return;
    if (event.Button == TMouseButtonCode::WheelUp || event.Button == TMouseButtonCode::WheelDown) {
        if (event.Pressed) Wheel(event);
        return;
    }
    if (event.Pressed && event.Button == TMouseButtonCode::Left)
        Press(event, timeMs);
    else if (!event.Pressed)
        Release(event);
}

void TInputDispatcher::Press(const TInputEvent& event, long timeMs) {
    const bool isDouble = FClicks.Press(event.X, event.Y, timeMs);
    const THit hit = HitTest(Point(event.X, event.Y));
    TControl* target = hit.Control;
    TCustomForm* form = hit.Form;
    FPressed.Set(nullptr);
    if (!target || !TakesPointerInput(target)) return;
    if (target == form && InCloseBox(form, hit.FormCell)) {
        host::Mouse().ClickCloseBox(form);
        return;
    }
    const TComponentRef<TControl> alive(target);
    // A click on a window gives it the focus before it sees the button.
    auto* windowed = dynamic_cast<TWinControl*>(target);
    if (windowed && windowed != form && windowed->CanFocus() && !windowed->Focused()) windowed->SetFocus();
    if (!alive) return;
    target->Perform(isDouble ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, KeysOf(event.Shift, true),
                    PointToLParam(hit.Point.X, hit.Point.Y));
    if (alive) FPressed.Set(target);
}

// A terminal reports the wheel a notch at a time, to the control under the
// mouse; what it leaves goes on to its parents.
void TInputDispatcher::Wheel(const TInputEvent& event) {
    const THit hit = HitTest(Point(event.X, event.Y));
    if (!hit.Control || !TakesPointerInput(hit.Control)) return;
    const TPoint screen = hit.Form->ClientToScreen(hit.Form->SurfaceCellToClient(hit.FormCell));
    const int distance = event.Button == TMouseButtonCode::WheelUp ? WHEEL_DELTA : -WHEEL_DELTA;
    hit.Control->Perform(WM_MOUSEWHEEL,
                         MakeWParam(static_cast<std::uint16_t>(KeysOf(event.Shift, false)),
                                    static_cast<std::uint16_t>(static_cast<std::int16_t>(distance))),
                         PointToLParam(screen.X, screen.Y));
}

void TInputDispatcher::Release(const TInputEvent& event) {
    TControl* target = FPressed.Get();
    FPressed.Set(nullptr);
    if (!target) return;
    // Released outside the control's form: a point outside the control.
    const THit hit = HitTest(Point(event.X, event.Y));
    TPoint client = Point(-1, -1);
    if (hit.Form && hit.Form == GetParentForm(target))
        client = target->ScreenToClient(hit.Form->ClientToScreen(hit.Form->SurfaceCellToClient(hit.FormCell)));
    target->Perform(WM_LBUTTONUP, KeysOf(event.Shift, false), PointToLParam(client.X, client.Y));
}

} // namespace host::term
