#include "host/ui/Buttons.h"

#include "host/core/Publisher.h"
#include "host/ui/Forms.h"
#include "host/ui/PropertyTypes.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_COMPONENT(TBitBtn, TButton)

const char* BitBtnCaption(TBitBtnKind kind) {
    switch (kind) {
    case bkCustom: return "";
    case bkOK: return "OK";
    case bkCancel: return "Cancel";
    case bkHelp: return "&Help";
    case bkYes: return "&Yes";
    case bkNo: return "&No";
    case bkClose: return "&Close";
    case bkAbort: return "Abort";
    case bkRetry: return "&Retry";
    case bkIgnore: return "&Ignore";
    case bkAll: return "&All";
    }
    return "";
}

TModalResult BitBtnModalResult(TBitBtnKind kind) {
    switch (kind) {
    case bkOK: return mrOk;
    case bkCancel: return mrCancel;
    case bkYes: return mrYes;
    case bkNo: return mrNo;
    case bkAbort: return mrAbort;
    case bkRetry: return mrRetry;
    case bkIgnore: return mrIgnore;
    case bkAll: return mrAll;
    case bkCustom:
    case bkHelp:
    case bkClose: return mrNone;
    }
    return mrNone;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), FGlyph(TBitmap::Create()) {
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

void TBitBtn::SetNumGlyphs(int value) {
    value = std::clamp(value, 1, 4);
    if (FNumGlyphs == value) return;
    FNumGlyphs = value;
    Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind value) {
    if (FKind == value) return;
    FKind = value;
    if (value == bkCustom || ComponentState().Contains(csLoading)) return;
    SetDefault(value == bkOK || value == bkYes);
    SetCancel(value == bkCancel || value == bkNo);
    SetCaption(BitBtnCaption(value));
    SetModalResult(BitBtnModalResult(value));
}

void TBitBtn::SetLayout(TButtonLayout value) {
    if (FLayout == value) return;
    FLayout = value;
    Invalidate();
}

void TBitBtn::SetMargin(int value) {
    value = std::max(value, -1);
    if (FMargin == value) return;
    FMargin = value;
    Invalidate();
}

void TBitBtn::SetSpacing(int value) {
    if (FSpacing == value) return;
    FSpacing = value;
    Invalidate();
}

void TBitBtn::Click() {
    // A close button on a form closes it instead of running OnClick.
    if (FKind == bkClose)
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
            return;
        }
    inherited::Click();
}

namespace {

const TEnumInfo& BitBtnKindInfo() {
    static const TEnumInfo info{"TBitBtnKind", {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose",
                                                "bkAbort", "bkRetry", "bkIgnore", "bkAll"}};
    return info;
}

const TEnumInfo& ButtonLayoutInfo() {
    static const TEnumInfo info{"TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
    return info;
}

} // namespace

void TBitBtn::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TBitBtn>();
    p.Object("Glyph", &TBitBtn::Glyph).StoredWhen([](const TObject* o) {
        return !static_cast<const TBitBtn*>(o)->Glyph()->Empty();
    });
    p.Enumeration("Kind", &TBitBtn::Kind, &TBitBtn::SetKind, BitBtnKindInfo()).Default(bkCustom);
    p.Enumeration("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout, ButtonLayoutInfo()).Default(blGlyphLeft);
    p.Integer("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin).Default(-1);
    p.Integer("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs).Default(1);
    p.Integer("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing).Default(4);
}

} // namespace host
