// The published properties of fonts, colours, forms, panels, buttons, list
// boxes and static text, and the descriptors of the types they use.

#include "host/stream/HostTypes.h"
#include "host/stream/Publisher.h"
#include "host/ui/Buttons.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Font.h"
#include "host/ui/Forms.h"
#include "host/ui/StdCtrls.h"

namespace host {

const TIntegerInfo& ColorTypeInfo() {
    static const TIntegerInfo info = [] {
        TIntegerInfo made{"TColor", {}};
        EnumColorIdents([&](const char* ident, TColor color) { made.Idents.push_back({ident, color}); });
        return made;
    }();
    return info;
}

const TIntegerInfo& CharsetTypeInfo() {
    static const TIntegerInfo info = [] {
        TIntegerInfo made{"TFontCharset", {}};
        EnumCharsetIdents([&](const char* ident, TFontCharset charset) { made.Idents.push_back({ident, charset}); });
        return made;
    }();
    return info;
}

namespace {

const TEnumInfo& FontStyleInfo() {
    static const TEnumInfo info{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
    return info;
}
const TSetInfo& FontStylesInfo() {
    static const TSetInfo info{"TFontStyles", &FontStyleInfo()};
    return info;
}
const TEnumInfo& AlignmentInfo() {
    static const TEnumInfo info{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
    return info;
}
const TEnumInfo& BorderStyleInfo() {
    static const TEnumInfo info{"TFormBorderStyle",
                                {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
    return info;
}
const TEnumInfo& PositionInfo() {
    static const TEnumInfo info{"TPosition",
                                {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                                 "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}};
    return info;
}
const TEnumInfo& BevelCutInfo() {
    static const TEnumInfo info{"TPanelBevel", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
    return info;
}
const TEnumInfo& BitBtnKindInfo() {
    static const TEnumInfo info{"TBitBtnKind", {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose",
                                                "bkAbort", "bkRetry", "bkIgnore", "bkAll"}};
    return info;
}
const TEnumInfo& ButtonLayoutInfo() {
    static const TEnumInfo info{"TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
    return info;
}
const TEnumInfo& StaticBorderStyleInfo() {
    static const TEnumInfo info{"TStaticBorderStyle", {"sbsNone", "sbsSingle", "sbsSunken"}};
    return info;
}
const TIntegerInfo& ModalResultInfo() {
    static const TIntegerInfo info{"TModalResult", {}};
    return info;
}

} // namespace

void TFont::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TFont>();
    p.Integer("Charset", &TFont::Charset, &TFont::SetCharset, CharsetTypeInfo());
    p.Integer("Color", &TFont::Color, &TFont::SetColor, ColorTypeInfo());
    p.Integer("Height", &TFont::Height, &TFont::SetHeight);
    p.String("Name", &TFont::Name, &TFont::SetName, "TFontName");
    p.Set("Style", &TFont::Style, &TFont::SetStyle, FontStylesInfo());
}

void TForm::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TForm>();
    // A form is stored by its client size; the frame follows its border style.
    p.Redeclare("Width").Stored(false);
    p.Redeclare("Height").Stored(false);
    // A new form is hidden; it is shown by the program, not by its file.
    p.Redeclare("Visible").Default(false);
    p.Component("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl);
    p.Enumeration("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle, BorderStyleInfo()).Default(bsSizeable);
    p.Integer("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight);
    p.Integer("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth);
    p.Boolean("OldCreateOrder", &TForm::OldCreateOrder, &TForm::SetOldCreateOrder);
    p.Enumeration("Position", &TForm::Position, &TForm::SetPosition, PositionInfo()).Default(poDesigned);
    p.Integer("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch);
    p.Integer("TextHeight", &TForm::TextHeight, &TForm::SetTextHeight);
    p.Event("OnActivate", &TForm::OnActivate);
    p.Event<TCloseEvent>("OnClose", &TForm::OnClose, "TCloseEvent");
    p.Event<TCloseQueryEvent>("OnCloseQuery", &TForm::OnCloseQuery, "TCloseQueryEvent");
    p.Event("OnCreate", &TForm::OnCreate);
    p.Event("OnDeactivate", &TForm::OnDeactivate);
    p.Event("OnDestroy", &TForm::OnDestroy);
    p.Event("OnHide", &TForm::OnHide);
    p.Event("OnShow", &TForm::OnShow);
}

void TPanel::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TPanel>();
    p.Enumeration("Alignment", &TPanel::Alignment, &TPanel::SetAlignment, AlignmentInfo()).Default(taCenter);
    p.Enumeration("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner, BevelCutInfo()).Default(bvNone);
    p.Enumeration("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter, BevelCutInfo()).Default(bvRaised);
    p.Integer("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
    p.Integer("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
    p.Enumeration("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle, BorderStyleInfo()).Default(bsNone);
    // A panel's caption is stored even when empty: it is not its name.
    p.Redeclare("Caption").NoDefault();
}

void TButton::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TButton>();
    p.Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
    p.Boolean("Default", &TButton::Default, &TButton::SetDefault).Default(false);
    p.Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, ModalResultInfo()).Default(mrNone);
}

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

void TListBox::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TListBox>();
    p.Boolean("ExtendedSelect", &TListBox::ExtendedSelect, &TListBox::SetExtendedSelect).Default(true);
    p.Integer("ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight).Default(13);
    p.Strings("Items", &TListBox::Items);
    p.Boolean("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect).Default(false);
    p.Boolean("Sorted", &TListBox::Sorted, &TListBox::SetSorted).Default(false);
    // OnClick and OnDblClick are every control's, published with TControl.
}

void TStaticText::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TStaticText>();
    p.Enumeration("Alignment", &TStaticText::Alignment, &TStaticText::SetAlignment, AlignmentInfo())
        .Default(taLeftJustify);
    p.Enumeration("BorderStyle", &TStaticText::BorderStyle, &TStaticText::SetBorderStyle, StaticBorderStyleInfo())
        .Default(sbsNone);
    p.Component("FocusControl", &TStaticText::FocusControl, &TStaticText::SetFocusControl);
    p.Boolean("ShowAccelChar", &TStaticText::ShowAccelChar, &TStaticText::SetShowAccelChar).Default(true);
}

} // namespace host
