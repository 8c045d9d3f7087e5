// The published properties of the host's controls, and the descriptors of
// the types they use.

#include "host/stream/HostTypes.h"
#include "host/stream/Publisher.h"
#include "host/ui/Controls.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Grids.h"
#include "host/ui/ShortCuts.h"
#include "host/ui/SpeedButton.h"
#include "host/ui/StdCtrls.h"

namespace host {

const TEnumInfo& AlignTypeInfo() {
    static const TEnumInfo info{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};
    return info;
}

const TIntegerInfo& CursorTypeInfo() {
    static const TIntegerInfo info{"TCursor",
                                   {{"crDefault", crDefault},
                                    {"crNone", crNone},
                                    {"crArrow", crArrow},
                                    {"crCross", crCross},
                                    {"crIBeam", crIBeam},
                                    {"crHourGlass", crHourGlass},
                                    {"crHandPoint", crHandPoint},
                                    {"crSizeAll", crSizeAll}}};
    return info;
}

const TIntegerInfo& ShortCutTypeInfo() {
    static const TIntegerInfo info{"TShortCut", {}};
    return info;
}

const TEnumInfo& DBGridOptionTypeInfo() {
    static const TEnumInfo info{"TDBGridOption",
                                {"dgEditing", "dgAlwaysShowEditor", "dgTitles", "dgIndicator", "dgColumnResize",
                                 "dgColLines", "dgRowLines", "dgTabs", "dgRowSelect", "dgAlwaysShowSelection",
                                 "dgConfirmDelete", "dgCancelOnExit", "dgMultiSelect", "dgTitleClick",
                                 "dgTitleHotTrack"}};
    return info;
}

const TSetInfo& DBGridOptionsTypeInfo() {
    static const TSetInfo info{"TDBGridOptions", &DBGridOptionTypeInfo()};
    return info;
}

namespace {

// What the designer keeps of a control beyond its published properties: the
// size it was designed at, and its own bounds where alignment changed them.
void DefineDesignerBounds(TClassPublisher<TControl>& p) {
    TDefinedProp designSize;
    designSize.Name = "DesignSize";
    designSize.Stored = [](const TObject* o) { return static_cast<const TControl*>(o)->DesignSize() != TPoint{}; };
    designSize.Read = [](TObject* o, const TFormValue& value) {
        if (value.Kind != fvList || value.List.size() != 2) publishing::InvalidValue();
        const auto x = publishing::IntegerOf(value.List[0], INT32_MIN, INT32_MAX);
        const auto y = publishing::IntegerOf(value.List[1], INT32_MIN, INT32_MAX);
        static_cast<TControl*>(o)->SetDesignSize(Point(static_cast<int>(x), static_cast<int>(y)));
    };
    designSize.Write = [](const TObject* o) {
        const TPoint size = static_cast<const TControl*>(o)->DesignSize();
        TFormValue value;
        value.Kind = fvList;
        value.List = {publishing::IntegerValue(size.X), publishing::IntegerValue(size.Y)};
        return value;
    };
    p.Define(std::move(designSize));
    // Each explicit bound: left, top, width, height.
    using TSide = int (*)(const TRect&);
    auto define = [&p](const char* name, TSide side, int index) {
        p.DefineInteger(
            name, [side](const TControl& c) { return side(c.ExplicitBounds()); },
            [index](TControl& c, std::int64_t v) {
                const TRect e = c.ExplicitBounds();
                int sides[4] = {e.Left, e.Top, e.Width(), e.Height()};
                sides[index] = static_cast<int>(v);
                c.SetExplicitBounds(Bounds(sides[0], sides[1], sides[2], sides[3]));
            },
            [side](const TControl& c) { return side(c.ExplicitBounds()) != side(c.BoundsRect()); });
    };
    define("ExplicitLeft", [](const TRect& r) { return r.Left; }, 0);
    define("ExplicitTop", [](const TRect& r) { return r.Top; }, 1);
    define("ExplicitWidth", [](const TRect& r) { return r.Width(); }, 2);
    define("ExplicitHeight", [](const TRect& r) { return r.Height(); }, 3);
}

} // namespace

void TSizeConstraints::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TSizeConstraints>();
    static const TIntegerInfo size{"TConstraintSize", {}};
    p.Integer("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight, size).Default(0);
    p.Integer("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth, size).Default(0);
    p.Integer("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight, size).Default(0);
    p.Integer("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth, size).Default(0);
}

void TControl::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TControl>();
    // Bounds have no default: a control is always stored where it is.
    p.Integer("Left", &TControl::Left, &TControl::SetLeft);
    p.Integer("Top", &TControl::Top, &TControl::SetTop);
    p.Integer("Width", &TControl::Width, &TControl::SetWidth);
    p.Integer("Height", &TControl::Height, &TControl::SetHeight);
    p.Enumeration("Align", &TControl::Align, &TControl::SetAlign, AlignTypeInfo()).Default(alNone);
    p.String("Caption", &TControl::Caption, &TControl::SetCaption, "TCaption").Default("");
    p.Object("Constraints", &TControl::Constraints);
    p.Integer("Cursor", &TControl::Cursor, &TControl::SetCursor, CursorTypeInfo()).Default(crDefault);
    p.String("Hint", &TControl::Hint, &TControl::SetHint).Default("");
    p.Boolean("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Default(false);
    p.Boolean("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
    p.Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
    // Colour and font are stored only where they are the control's own.
    p.Integer("Color", &TControl::Color, &TControl::SetColor, ColorTypeInfo()).StoredWhen([](const TObject* o) {
        return !static_cast<const TControl*>(o)->ParentColor();
    });
    p.Object("Font", &TControl::Font).StoredWhen([](const TObject* o) {
        return !static_cast<const TControl*>(o)->ParentFont();
    });
    p.Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true);
    p.Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
    p.Event("OnClick", &TControl::OnClick);
    p.Event("OnDblClick", &TControl::OnDblClick);
    DefineDesignerBounds(p);
}

void TWinControl::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TWinControl>();
    // A control without a parent (a form) has no place in a tab order.
    p.Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).StoredWhen([](const TObject* o) {
        return static_cast<const TWinControl*>(o)->Parent() != nullptr;
    });
    p.Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
    p.Event("OnEnter", &TWinControl::OnEnter);
    p.Event("OnExit", &TWinControl::OnExit);
    p.Event("OnKeyDown", &TWinControl::OnKeyDown, "TKeyEvent");
    p.Event("OnKeyPress", &TWinControl::OnKeyPress, "TKeyPressEvent");
    p.Event("OnKeyUp", &TWinControl::OnKeyUp, "TKeyEvent");
}

void TCustomEdit::DeclarePublished(TPublisher& publisher) {
    // An edit's caption is its text: stored as Text where it is stored at all.
    auto p = publisher.Of<TCustomEdit>();
    p.Redeclare("Caption").Stored(false);
    // What a new edit is: a text cursor, its own window colour, a tab stop.
    p.Redeclare("Cursor").Default(crIBeam);
    p.Redeclare("Color").Default(clWindow);
    p.Redeclare("ParentColor").Default(false);
    p.Redeclare("TabStop").Default(true);
}

void TEdit::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TEdit>();
    p.Boolean("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(false);
    p.String("Text", &TEdit::Text, &TEdit::SetText, "TCaption").Default("");
}

void TDBEdit::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDBEdit>();
    p.String("DataField", &TDBEdit::DataField, &TDBEdit::SetDataField).Default("");
    p.Component("DataSource", &TDBEdit::DataSource, &TDBEdit::SetDataSource);
    p.Boolean("ReadOnly", &TDBEdit::ReadOnly, &TDBEdit::SetReadOnly).Default(false);
}

void TDBGrid::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDBGrid>();
    p.Component("DataSource", &TDBGrid::DataSource, &TDBGrid::SetDataSource);
    p.Set("Options", &TDBGrid::Options, &TDBGrid::SetOptions, DBGridOptionsTypeInfo())
        .Default(TDBGridOptions{dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
                                dgConfirmDelete, dgCancelOnExit});
    p.Boolean("ReadOnly", &TDBGrid::ReadOnly, &TDBGrid::SetReadOnly).Default(false);
    p.Object("TitleFont", &TDBGrid::TitleFont);
}

void TSpeedButton::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TSpeedButton>();
    p.Boolean("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
    p.Object("Glyph", &TSpeedButton::Glyph);
}

} // namespace host
