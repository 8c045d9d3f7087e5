// The published properties of fonts, colours, forms, panels, buttons, list
// boxes, static text, labels, group boxes, check boxes, memos and the
// data-aware labels, check boxes and navigators, and the descriptors of the
// types they use.

#include "host/stream/HostTypes.h"
#include "host/stream/Publisher.h"
#include "host/ui/Buttons.h"
#include "host/ui/DBCtrls.h"
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

const TEnumInfo& TextLayoutInfo() {
    static const TEnumInfo info{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};
    return info;
}

const TEnumInfo& CheckBoxStateInfo() {
    static const TEnumInfo info{"TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}};
    return info;
}

const TEnumInfo& NavigateBtnInfo() {
    static const TEnumInfo info{"TNavigateBtn", {"nbFirst", "nbPrior", "nbNext", "nbLast", "nbInsert", "nbDelete",
                                                 "nbEdit", "nbPost", "nbCancel", "nbRefresh"}};
    return info;
}

const TSetInfo& ButtonSetInfo() {
    static const TSetInfo info{"TButtonSet", &NavigateBtnInfo()};
    return info;
}

// What every label declares, a data-aware one included.
template <class L>
void DeclareLabel(TClassPublisher<L>& p, bool autoSize) {
    p.Enumeration("Alignment", &L::Alignment, &L::SetAlignment, AlignmentInfo()).Default(taLeftJustify);
    p.Boolean("AutoSize", &L::AutoSize, &L::SetAutoSize).Default(autoSize);
    p.Enumeration("Layout", &L::Layout, &L::SetLayout, TextLayoutInfo()).Default(tlTop);
    p.Boolean("Transparent", &L::Transparent, &L::SetTransparent).Default(false);
    p.Boolean("WordWrap", &L::WordWrap, &L::SetWordWrap).Default(false);
}

template <class C>
void DeclareCheckBox(TClassPublisher<C>& p) {
    p.Enumeration("Alignment", &C::Alignment, &C::SetAlignment, AlignmentInfo()).Default(taRightJustify);
    p.Boolean("AllowGrayed", &C::AllowGrayed, &C::SetAllowGrayed).Default(false);
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
    p.Integer("ItemHeight", &TListBox::StoredItemHeight, &TListBox::SetItemHeight).Default(13);
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

void TLabel::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TLabel>();
    DeclareLabel(p, true);
    p.Component("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
    p.Boolean("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
}

void TGroupBox::DeclarePublished(TPublisher& publisher) {
    // Caption, colours and font are every control's; nothing of its own.
    publisher.Of<TGroupBox>();
}

void TCheckBox::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TCheckBox>();
    DeclareCheckBox(p);
    // Checked before State, so a greyed box reads back greyed.
    p.Boolean("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Default(false);
    p.Enumeration("State", &TCheckBox::State, &TCheckBox::SetState, CheckBoxStateInfo()).Default(cbUnchecked);
}

void TMemo::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TMemo>();
    p.Strings("Lines", &TMemo::Lines);
    p.Integer("MaxLength", &TMemo::MaxLength, &TMemo::SetMaxLength).Default(0);
    p.Boolean("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly).Default(false);
    p.Boolean("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns).Default(true);
    p.Boolean("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap).Default(true);
}

void TDBText::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDBText>();
    DeclareLabel(p, false);
    p.String("DataField", &TDBText::DataField, &TDBText::SetDataField).Default("");
    p.Component("DataSource", &TDBText::DataSource, &TDBText::SetDataSource);
}

void TDBCheckBox::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDBCheckBox>();
    DeclareCheckBox(p);
    p.String("DataField", &TDBCheckBox::DataField, &TDBCheckBox::SetDataField).Default("");
    p.Component("DataSource", &TDBCheckBox::DataSource, &TDBCheckBox::SetDataSource);
    p.Boolean("ReadOnly", &TDBCheckBox::ReadOnly, &TDBCheckBox::SetReadOnly).Default(false);
    p.String("ValueChecked", &TDBCheckBox::ValueChecked, &TDBCheckBox::SetValueChecked).Default("True");
    p.String("ValueUnchecked", &TDBCheckBox::ValueUnchecked, &TDBCheckBox::SetValueUnchecked).Default("False");
}

void TDBNavigator::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDBNavigator>();
    p.Boolean("ConfirmDelete", &TDBNavigator::ConfirmDelete, &TDBNavigator::SetConfirmDelete).Default(true);
    p.Component("DataSource", &TDBNavigator::DataSource, &TDBNavigator::SetDataSource);
    p.Set("VisibleButtons", &TDBNavigator::VisibleButtons, &TDBNavigator::SetVisibleButtons, ButtonSetInfo())
        .Default(TButtonSet{nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh});
    p.Event("BeforeAction", &TDBNavigator::BeforeAction, "TNavClickEvent");
    // The navigator's click says which button: it takes the place of every
    // control's OnClick.
    p.ReplaceEvent("OnClick", &TDBNavigator::OnNavClick, "TNavClickEvent");
}

} // namespace host
