#include "host/core/Publisher.h"
#include "host/ui/PropertyTypes.h"
#include "host/ui/StdCtrls.h"

namespace host {

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomStaticText, TWinControl)
HOST_IMPLEMENT_COMPONENT(TStaticText, TCustomStaticText)

TCustomStaticText::TCustomStaticText(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 65, 17);
    SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable});
}

void TCustomStaticText::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

void TCustomStaticText::SetBorderStyle(TStaticBorderStyle value) {
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    Invalidate();
}

void TCustomStaticText::SetShowAccelChar(bool value) {
    if (FShowAccelChar == value) return;
    FShowAccelChar = value;
    Invalidate();
}

std::string TCustomStaticText::DisplayText() const {
    if (!FShowAccelChar) return Caption();
    std::string text;
    const std::string& caption = Caption();
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        text.push_back(caption[i]);
    }
    return text;
}

void TCustomStaticText::SetFocusControl(TWinControl* value) {
    if (FFocusControl == value) return;
    if (FFocusControl) RemoveFreeNotification(FFocusControl);
    FFocusControl = value;
    if (value) FreeNotification(value);
}

void TCustomStaticText::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && component && component == FFocusControl) FFocusControl = nullptr;
}

namespace {

const TEnumInfo& StaticFormBorderStyleTypeInfo() {
    static const TEnumInfo info{"TStaticBorderStyle", {"sbsNone", "sbsSingle", "sbsSunken"}};
    return info;
}

} // namespace

void TStaticText::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TStaticText>();
    p.Enumeration("Alignment", &TStaticText::Alignment, &TStaticText::SetAlignment, AlignmentTypeInfo())
        .Default(taLeftJustify);
    p.Enumeration("BorderStyle", &TStaticText::BorderStyle, &TStaticText::SetBorderStyle, StaticFormBorderStyleTypeInfo())
        .Default(sbsNone);
    p.Component("FocusControl", &TStaticText::FocusControl, &TStaticText::SetFocusControl);
    p.Boolean("ShowAccelChar", &TStaticText::ShowAccelChar, &TStaticText::SetShowAccelChar).Default(true);
}

} // namespace host
