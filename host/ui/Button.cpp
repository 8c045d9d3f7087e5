#include "host/core/Publisher.h"
#include "host/ui/Forms.h"
#include "host/ui/PaintTools.h"
#include "host/ui/PropertyTypes.h"
#include "host/ui/StdCtrls.h"

namespace host {

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TButtonControl, TWinControl)
HOST_IMPLEMENT_COMPONENT(TButton, TButtonControl)

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    SetControlStyle({csSetCaption, csClickEvents, csDoubleClicks});
}

void TButton::Click() {
    if (FModalResult != mrNone)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    inherited::Click();
}

void TButton::WndProc(TMessage& message) {
    if (message.Msg == BM_CLICK) {
        if (Enabled()) Click();
        return;
    }
    if (message.Msg == CM_DIALOGCHAR) {
        if (IsAccel(static_cast<std::uint16_t>(message.WParam), Caption()) && CanFocus()) {
            message.Result = 1;
            Click();
        }
        return;
    }
    inherited::WndProc(message);
}

void TButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        // A button pressed with the mouse takes the focus, as buttons do.
        if (CanFocus() && !Focused()) SetFocus();
        FMouseDown = true;
        Invalidate();
    }
    inherited::MouseDown(button, shift, x, y);
}

void TButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && FMouseDown) {
        FMouseDown = false;
        Invalidate();
    }
    inherited::MouseUp(button, shift, x, y);
}

void TButton::KeyDown(std::uint16_t& key, TShiftState shift) {
    inherited::KeyDown(key, shift);
    if (key == VK_SPACE && shift.Empty()) {
        FSpaceDown = true;
        Invalidate();
        key = 0;
    }
}

void TButton::KeyUp(std::uint16_t& key, TShiftState shift) {
    inherited::KeyUp(key, shift);
    if (key == VK_SPACE && FSpaceDown) {
        FSpaceDown = false;
        Invalidate();
        key = 0;
        Click();
    }
}

void TButton::WMKillFocus(TMessage& message) {
    // Space pressed here and released elsewhere clicks nothing.
    FSpaceDown = false;
    inherited::WMKillFocus(message);
}

namespace {

const TIntegerInfo& ModalResultInfo() {
    static const TIntegerInfo info{"TModalResult", {}};
    return info;
}

} // namespace

void TButton::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TButton>();
    // What a new one is, is not written.
    p.Redeclare("TabStop").Default(true);
    p.Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
    p.Boolean("Default", &TButton::Default, &TButton::SetDefault).Default(false);
    p.Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, ModalResultInfo()).Default(mrNone);
}

} // namespace host
