// Forms: construction, frame geometry and placement on the screen.

#include "host/ui/Forms.h"

#include "host/core/GlobalRoots.h"
#include "host/core/InitComponent.h"

#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/ui/PropertyTypes.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_COMPONENT(TCustomForm, TWinControl)
HOST_IMPLEMENT_COMPONENT(TForm, TCustomForm)

TFrameMetrics FrameMetrics(TFormBorderStyle style) {
    switch (style) {
    case bsNone: return {0, 0};
    case bsSingle: return {3, 19};
    case bsSizeable: return {4, 19};
    case bsDialog: return {3, 19};
    case bsToolWindow: return {3, 15};
    case bsSizeToolWin: return {4, 15};
    }
    return {};
}

TCustomForm* GetParentForm(const TControl* control) {
    if (!control) return nullptr;
    const TControl* top = control;
    while (top->Parent()) top = top->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(top));
}

TCustomForm* CreateForm(const TComponentClass& formClass, TComponent* owner) {
    if (!formClass.InheritsFrom(TCustomForm::ClassInfo()))
        throw EInvalidOperation(formClass.ClassName() + " is not a form class");
    TComponent* made = formClass.Create(owner);
    auto* form = dynamic_cast<TCustomForm*>(made);
    if (!form) {
        // A class reference whose factory makes something else.
        made->Free();
        throw EInvalidOperation(formClass.ClassName() + " did not make a form");
    }
    return form;
}

// --- construction -------------------------------------------------------------

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    FFormState.Include(fsCreating);
    SetVisible(false);
    SetBounds(0, 0, 320, 240);
    SetColor(clBtnFace);
    SetParentFont(false);
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
}

void TCustomForm::Constructed() {
    inherited::Constructed();
    Screen()->AddForm(this);
    AddGlobalRoot(this);
    LoadDefinition();
    FFormState.Exclude(fsCreating);
}

void TCustomForm::AfterConstruction() {
    inherited::AfterConstruction();
    DoCreate();
}

void TCustomForm::BeforeDestruction() {
    DoDestroy();
    inherited::BeforeDestruction();
}

void TCustomForm::LoadDefinition() {
    // The plain form classes are made empty; every class below them reads
    // the stored definitions of its own classes, and must have one.
    const TClass& cls = ClassType();
    if (&cls == &TForm::ClassInfo() || &cls == &TCustomForm::ClassInfo()) return;
    if (!InitInheritedComponent(this, TForm::ClassInfo())) throw EResNotFound("Resource " + ClassName() + " not found");
}

void TCustomForm::Destroy() {
    RemoveGlobalRoot(this);
    Screen()->RemoveForm(this);
    inherited::Destroy();
}

void TCustomForm::Detach() {
    // A run on this form's stack ends first; ShowModal's keep-alive frees it.
    if (Modal() && FModalResult == mrNone) FModalResult = mrCancel;
    inherited::Detach();
}

void TCustomForm::Loaded() {
    inherited::Loaded();
    // The client size read from a stored form wins over the outer size,
    // now that the frame is known.
    if (FLoadedClientWidth >= 0) inherited::SetClientWidth(FLoadedClientWidth);
    if (FLoadedClientHeight >= 0) inherited::SetClientHeight(FLoadedClientHeight);
    FLoadedClientWidth = FLoadedClientHeight = -1;
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TCustomForm::DoDestroy() {
    if (OnDestroy) OnDestroy(this);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && component && component == FActiveControl) FActiveControl = nullptr;
}

// --- frame and client area -------------------------------------------------------

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    Realign();
    Invalidate();
}

TRect TCustomForm::ClientRect() const {
    const TFrameMetrics m = Frame();
    return Rect(0, 0, std::max(0, Width() - 2 * m.Frame), std::max(0, Height() - 2 * m.Frame - m.Caption));
}

TPoint TCustomForm::ClientOrigin() const {
    const TFrameMetrics m = Frame();
    const TPoint base = Parent() ? Parent()->ClientOrigin() : Point(0, 0);
    return Point(base.X + Left() + m.Frame, base.Y + Top() + m.Frame + m.Caption);
}

void TCustomForm::SetClientWidth(int value) {
    if (ComponentState().Contains(csLoading)) FLoadedClientWidth = value;
    inherited::SetClientWidth(value);
}

void TCustomForm::SetClientHeight(int value) {
    if (ComponentState().Contains(csLoading)) FLoadedClientHeight = value;
    inherited::SetClientHeight(value);
}

// --- active control ----------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == FActiveControl) return;
    const bool loading = ComponentState().Contains(csLoading);
    if (control && !loading && !ContainsControl(control))
        throw EInvalidOperation("Control " + control->Name() + " is not on form " + Name());
    WatchActiveControl(control);
    if (control && !loading && Visible()) control->SetFocus();
}

void TCustomForm::WatchActiveControl(TWinControl* control) {
    if (control == FActiveControl) return;
    if (FActiveControl) RemoveFreeNotification(FActiveControl);
    FActiveControl = control;
    if (control) FreeNotification(control);
}

void TCustomForm::FocusChangedTo(TWinControl* focused) {
    if (focused && focused != this && ContainsControl(focused)) WatchActiveControl(focused);
}

// --- placement ---------------------------------------------------------------------

void TCustomForm::ApplyPosition() {
    TScreen* screen = Screen();
    const TRect whole = Rect(0, 0, screen->Width(), screen->Height());
    auto mainForm = [&]() -> TCustomForm* {
        TCustomForm* main = screen->MainForm();
        return main != this ? main : nullptr;
    };
    switch (FPosition) {
    case poDesigned: break;
    case poDefault: {
        const int width = screen->DefaultFormWidth();
        const int height = screen->DefaultFormHeight();
        const TPoint at = screen->NextDefaultPosition(width, height);
        SetBounds(at.X, at.Y, width, height);
        break;
    }
    case poDefaultPosOnly: {
        const TPoint at = screen->NextDefaultPosition(Width(), Height());
        SetBounds(at.X, at.Y, Width(), Height());
        break;
    }
    case poDefaultSizeOnly: SetBounds(Left(), Top(), screen->DefaultFormWidth(), screen->DefaultFormHeight()); break;
    case poScreenCenter:
    case poDesktopCenter: CenterOn(whole, false); break;
    case poOwnerFormCenter:
        if (auto* owner = dynamic_cast<TCustomForm*>(Owner()); owner && owner != this) {
            CenterOn(owner->BoundsRect(), true);
            break;
        }
        [[fallthrough]];
    case poMainFormCenter:
        if (TCustomForm* main = mainForm())
            CenterOn(main->BoundsRect(), true);
        else
            CenterOn(whole, false);
        break;
    }
}

void TCustomForm::CenterOn(TRect area, bool keepOnScreen) {
    int x = area.Left + (area.Width() - Width()) / 2;
    int y = area.Top + (area.Height() - Height()) / 2;
    if (keepOnScreen) {
        // Centred over another form, the form still stays on the screen.
        x = std::max(0, std::min(x, Screen()->Width() - Width()));
        y = std::max(0, std::min(y, Screen()->Height() - Height()));
    }
    SetBounds(x, y, Width(), Height());
}

namespace {

const TEnumInfo& PositionInfo() {
    static const TEnumInfo info{"TPosition",
                                {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                                 "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}};
    return info;
}

} // namespace

void TForm::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TForm>();
    // What a new one is, is not written.
    p.Redeclare("ParentColor").Default(false);
    p.Redeclare("ParentFont").Default(false);
    // A form is stored by its client size; the frame follows its border style.
    p.Redeclare("Width").Stored(false);
    p.Redeclare("Height").Stored(false);
    // A new form is hidden; it is shown by the program, not by its file.
    p.Redeclare("Visible").Default(false);
    p.Component("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl);
    p.Set("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons, BorderIconsTypeInfo()).Default(kDefaultBorderIcons);
    p.Enumeration("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle, FormBorderStyleTypeInfo()).Default(bsSizeable);
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

} // namespace host
