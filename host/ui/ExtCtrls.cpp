#include "host/core/Publisher.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/PropertyTypes.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomPanel, TCustomControl)
HOST_IMPLEMENT_COMPONENT(TPanel, TCustomPanel)

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                     csReplicatable});
}

void TCustomPanel::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
    if (FBevelInner == value) return;
    FBevelInner = value;
    FrameChanged();
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
    if (FBevelOuter == value) return;
    FBevelOuter = value;
    FrameChanged();
}

void TCustomPanel::SetBevelWidth(TBevelWidth value) {
    value = std::max(value, 1);
    if (FBevelWidth == value) return;
    FBevelWidth = value;
    FrameChanged();
}

void TCustomPanel::SetBorderWidth(TBorderWidth value) {
    value = std::max(value, 0);
    if (FBorderWidth == value) return;
    FBorderWidth = value;
    FrameChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
    value = value == bsNone ? bsNone : bsSingle;
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    FrameChanged();
}

void TCustomPanel::FrameChanged() {
    Realign();
    Invalidate();
}

TRect TCustomPanel::InnerRect() const {
    int inset = FBorderWidth + (FBorderStyle == bsSingle ? 1 : 0);
    if (FBevelOuter != bvNone) inset += FBevelWidth;
    if (FBevelInner != bvNone) inset += FBevelWidth;
    const TRect client = ClientRect();
    return Rect(client.Left + inset, client.Top + inset, std::max(client.Left + inset, client.Right - inset),
                std::max(client.Top + inset, client.Bottom - inset));
}

void TCustomPanel::AdjustClientRect(TRect& rect) {
    inherited::AdjustClientRect(rect);
    rect = InnerRect();
}

namespace {

const TEnumInfo& BevelCutInfo() {
    static const TEnumInfo info{"TPanelBevel", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
    return info;
}

} // namespace

void TPanel::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TPanel>();
    // What a new one is, is not written.
    p.Redeclare("ParentColor").Default(false);
    p.Enumeration("Alignment", &TPanel::Alignment, &TPanel::SetAlignment, AlignmentTypeInfo()).Default(taCenter);
    p.Enumeration("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner, BevelCutInfo()).Default(bvNone);
    p.Enumeration("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter, BevelCutInfo()).Default(bvRaised);
    p.Integer("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
    p.Integer("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
    p.Enumeration("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle, FormBorderStyleTypeInfo()).Default(bsNone);
    // A panel's caption is stored even when empty: it is not its name.
    p.Redeclare("Caption").NoDefault();
}

} // namespace host
