#include "host/core/Publisher.h"
#include "host/ui/Canvas.h"
#include "host/ui/PaintTools.h"
#include "host/ui/PublishLabels.h"
#include "host/ui/StdCtrls.h"

namespace host {

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomCheckBox, TButtonControl)
HOST_IMPLEMENT_COMPONENT(TCheckBox, TCustomCheckBox)

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
    SetControlStyle({csSetCaption, csDoubleClicks});
}

void TCustomCheckBox::SetState(TCheckBoxState value) {
    if (FState == value) return;
    FState = value;
    Invalidate();
    Click();
}

void TCustomCheckBox::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

void TCustomCheckBox::Toggle() {
    switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbGrayed: SetState(cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    }
}

void TCustomCheckBox::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR) {
        if (IsAccel(static_cast<std::uint16_t>(message.WParam), Caption()) && CanFocus()) {
            SetFocus();
            if (Focused()) Toggle();
            message.Result = 1;
        }
        return;
    }
    inherited::WndProc(message);
}

void TCustomCheckBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && Enabled()) {
        if (CanFocus() && !Focused()) SetFocus();
        Toggle();
    }
    inherited::MouseDown(button, shift, x, y);
}

void TCustomCheckBox::KeyPress(char& key) {
    inherited::KeyPress(key);
    if (key == ' ') {
        Toggle();
        key = 0;
    }
}

// "[x] Caption" (the box on the right with taLeftJustify); "[-]" greyed.
void TCustomCheckBox::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect all = Rect(0, 0, Width(), Height());
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(all);
    const int top = CenteredTextTop(Height());
    const int columns = canvas.CellRect(all).Width();
    const bool boxLeft = FAlignment == taRightJustify;
    const int boxX = boxLeft ? 0 : (columns - 3) * kCellWidth;
    const TColor text = Enabled() ? Font()->Color() : clGrayText;
    const char32_t mark = FState == cbChecked ? U'x' : FState == cbGrayed ? U'-' : U' ';
    canvas.PutChar(boxX, top, U'[', text, Color());
    canvas.PutChar(boxX + kCellWidth, top, mark, text, clWindow);
    canvas.PutChar(boxX + 2 * kCellWidth, top, U']', text, Color());
    canvas.Font()->SetColor(text);
    canvas.SetTextAttrs(Focused() ? caReverse : 0);
    const int left = boxLeft ? 4 * kCellWidth : 0;
    TCanvas::TState saved = canvas.SaveState();
    canvas.IntersectClipRect(boxLeft ? Rect(left, 0, Width(), Height()) : Rect(0, 0, boxX - kCellWidth, Height()));
    DrawAccelText(canvas, left, top, Caption());
    canvas.RestoreState(saved);
    canvas.SetTextAttrs(0);
}

namespace {

const TEnumInfo& CheckBoxStateInfo() {
    static const TEnumInfo info{"TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}};
    return info;
}

} // namespace

void TCheckBox::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TCheckBox>();
    // What a new one is, is not written.
    p.Redeclare("TabStop").Default(true);
    DeclareCheckBox(p);
    // Checked before State, so a greyed box reads back greyed.
    p.Boolean("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Default(false);
    p.Enumeration("State", &TCheckBox::State, &TCheckBox::SetState, CheckBoxStateInfo()).Default(cbUnchecked);
}

} // namespace host
