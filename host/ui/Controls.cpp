#include "host/ui/Controls.h"

#include "host/core/ComponentRef.h"
#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/ui/Focus.h"
#include "host/ui/PropertyTypes.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace host {

HOST_IMPLEMENT_CLASS(TSizeConstraints, TPersistent)
HOST_IMPLEMENT_COMPONENT(TControl, TComponent)
HOST_IMPLEMENT_COMPONENT(TGraphicControl, TControl)

// --- TSizeConstraints -------------------------------------------------------

void TSizeConstraints::SetMaxHeight(int value) {
    value = std::max(value, 0);
    if (value == FMaxHeight) return;
    FMaxHeight = value;
    if (value > 0 && value < FMinHeight) FMinHeight = value;
    Change();
}

void TSizeConstraints::SetMaxWidth(int value) {
    value = std::max(value, 0);
    if (value == FMaxWidth) return;
    FMaxWidth = value;
    if (value > 0 && value < FMinWidth) FMinWidth = value;
    Change();
}

void TSizeConstraints::SetMinHeight(int value) {
    value = std::max(value, 0);
    if (value == FMinHeight) return;
    FMinHeight = value;
    if (FMaxHeight > 0 && value > FMaxHeight) FMaxHeight = value;
    Change();
}

void TSizeConstraints::SetMinWidth(int value) {
    value = std::max(value, 0);
    if (value == FMinWidth) return;
    FMinWidth = value;
    if (FMaxWidth > 0 && value > FMaxWidth) FMaxWidth = value;
    Change();
}

void TSizeConstraints::Constrain(int& width, int& height) const {
    auto clamp = [](int& v, int lo, int hi) {
        if (lo > 0 && v < lo)
            v = lo;
        else if (hi > 0 && v > hi)
            v = hi;
        if (v < 0) v = 0;
    };
    clamp(width, FMinWidth, FMaxWidth);
    clamp(height, FMinHeight, FMaxHeight);
}

void TSizeConstraints::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TSizeConstraints*>(source)) {
        FMaxHeight = other->FMaxHeight;
        FMaxWidth = other->FMaxWidth;
        FMinHeight = other->FMinHeight;
        FMinWidth = other->FMinWidth;
        Change();
        return;
    }
    inherited::Assign(source);
}

void TSizeConstraints::Change() {
    if (FControl) FControl->ApplyConstraints();
    if (OnChange) OnChange(this);
}

// --- TControl: life ---------------------------------------------------------

TControl::TControl(TComponent* owner)
    : TComponent(owner),
      FConstraints(TSizeConstraints::Create(this)),
      FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks},
      FFont(TFont::Create()) {
    FFont->OnChange = [this](TObject* sender) { FontChange(sender); };
}

TControl::~TControl() {
    // The hooks hear of the end last, so each still sees every message the
    // destruction sends.
    const TNotifyList<TWndProcHook> hooks = std::exchange(FHooks, {});
    for (TWndProcHook* hook : hooks) hook->ControlDestroyed(this);
}

void TControl::BeforeDestruction() {
    // The focus leaves while the whole object still answers its messages.
    FocusManager().RemoveFocusFrom(this);
    inherited::BeforeDestruction();
}

void TControl::Destroy() {
    if (FParent) SetParent(nullptr);
    inherited::Destroy();
}

// --- TControl: parent and bounds ---------------------------------------------

bool TControl::HasParent(const TWinControl* control) const {
    if (!control) return false;
    for (const TWinControl* p = FParent; p; p = p->FParent)
        if (p == control) return true;
    return false;
}

void TControl::SetParent(TWinControl* value) {
    if (FParent == value) return;
    if (value) {
        if (static_cast<TControl*>(value) == this) throw EInvalidOperation("A control cannot have itself as its parent");
        for (const TControl* p = value; p; p = p->FParent)
            if (p == this) throw EInvalidOperation("A control cannot have one of its children as its parent");
    }
    if (value) SetNestedIn(nullptr);
    if (FParent) FParent->RemoveControl(this);
    if (value) value->InsertControl(this);
    if (value && FParentColor) TakeParentColor();
    if (value && FParentFont) TakeParentFont();
    UpdateAnchorRules();
    ParentChanged();
}

TComponent* TControl::GetParentComponent() const { return FParent ? FParent : FNestedIn; }

void TControl::SetParentComponent(TComponent* value) {
    if (auto* parent = As<TWinControl>(value)) {
        SetParent(parent);
        return;
    }
    for (const TComponent* c = value; c; c = c->GetParentComponent())
        if (c == this) throw EInvalidOperation("A control cannot be nested in itself");
    if (value && FParent) SetParent(nullptr);
    SetNestedIn(value);
}

void TControl::SetNestedIn(TComponent* value) {
    if (FNestedIn == value) return;
    if (FNestedIn) FNestedIn->RemoveFreeNotification(this);
    FNestedIn = value;
    if (FNestedIn) FNestedIn->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FNestedIn) FNestedIn = nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    FConstraints->Constrain(width, height);
    if (!FParent || !FParent->FAligning) FExplicit = Bounds(left, top, width, height);
    const bool same = left == FLeft && top == FTop && width == FWidth && height == FHeight;
    const bool resized = width != FWidth || height != FHeight;
    if (!same) {
        FLeft = left;
        FTop = top;
        FWidth = width;
        FHeight = height;
    }
    if (!FAnchorMove) UpdateAnchorRules();
    if (same) return;
    Invalidate();
    if (FParent) FParent->Invalidate();
    if (resized) {
        if (auto* self = dynamic_cast<TWinControl*>(this)) self->Realign();
        Resize();
    }
    if (FAlign != alNone) RequestAlign();
}

void TControl::SetClientWidth(int value) { SetWidth(FWidth - ClientWidth() + value); }

void TControl::SetClientHeight(int value) { SetHeight(FHeight - ClientHeight() + value); }

TPoint TControl::ClientOrigin() const {
    const TPoint base = FParent ? FParent->ClientOrigin() : Point(0, 0);
    return Point(base.X + FLeft, base.Y + FTop);
}

TPoint TControl::ClientToScreen(TPoint point) const {
    const TPoint origin = ClientOrigin();
    return Point(point.X + origin.X, point.Y + origin.Y);
}

TPoint TControl::ScreenToClient(TPoint point) const {
    const TPoint origin = ClientOrigin();
    return Point(point.X - origin.X, point.Y - origin.Y);
}

void TControl::SetAlign(TAlign value) {
    if (FAlign == value) return;
    FAlign = value;
    RequestAlign();
}

void TControl::ApplyConstraints() {
    SetBounds(FLeft, FTop, FWidth, FHeight);
    if (FAlign != alNone) RequestAlign();
}

void TControl::RequestAlign() {
    if (FParent) FParent->Realign();
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

// --- TControl: state ----------------------------------------------------------

void TControl::SetVisible(bool value) {
    if (FVisible == value) return;
    FVisible = value;
    VisibleChanged();
    if (FAlign != alNone) RequestAlign();
    Invalidate();
    if (FParent) FParent->Invalidate();
}

void TControl::VisibleChanged() {}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FVisible) return false;
    return true;
}

void TControl::SetEnabled(bool value) {
    if (FEnabled == value) return;
    FEnabled = value;
    EnabledChanged();
    Invalidate();
}

void TControl::EnabledChanged() {}

void TControl::SetText(const std::string& value) {
    if (FText == value) return;
    FText = value;
    TextChanged();
    Invalidate();
}

void TControl::SetName(const std::string& newName) {
    // A control whose text still is its name follows a rename, except while
    // a form is being read.
    auto loading = [](const TComponent* c) { return c && c->ComponentState().Contains(csLoading); };
    const bool followText = FControlStyle.Contains(csSetCaption) && !loading(this) && Name() == FText &&
                            !(Is<TControl>(Owner()) && loading(Owner()));
    inherited::SetName(newName);
    if (followText) SetText(newName);
}

void TControl::BringToFront() {
    if (FParent) FParent->MoveControl(this, FParent->FControls.size() - 1);
}

void TControl::SendToBack() {
    if (FParent) FParent->MoveControl(this, 0);
}

// A control freed by its own click handler ends when the handler returns,
// as one freed while it handles a message does.
void TControl::Click() {
    TKeepAlive alive(this);
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    TKeepAlive alive(this);
    if (OnDblClick) OnDblClick(this);
}

// --- TControl: messages -------------------------------------------------------

std::intptr_t TControl::Perform(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
    TMessage message{msg, wparam, lparam, 0};
    WindowProc(message);
    return message.Result;
}

// The hook's object outlives the call even when the call frees it.
inline void TControl::CallHook(TWndProcHook* hook, void (TWndProcHook::*call)(TMessage&), TMessage& message) {
    TKeepAlive alive(hook->FSelf);
    (hook->*call)(message);
}

// Only the hooks present when a message arrives see it, and each only while
// it is still present; a control whose free is pending hears nothing more.
void TControl::WindowProc(TMessage& message) {
    TKeepAlive alive(this);
    switch (FHooks.Count()) {
    case 0:
        if (!FreePending()) WndProc(message);
        break;
    case 1: {
        // The common case (one capture on the control), without a loop, and
        // with the hook's object kept once for the whole message.
        const auto hook = FHooks.Watch(0);
        TKeepAlive hookAlive(hook.Item()->FSelf);
        if (!FreePending()) hook.Item()->BeforeWndProc(message);
        if (!FreePending()) WndProc(message);
        if (!FreePending() && hook.Held()) hook.Item()->AfterWndProc(message);
        break;
    }
    default: {
        const auto hooks = FHooks.Snapshot();
        hooks.ForEach([&](TWndProcHook* hook) {
            if (!FreePending()) CallHook(hook, &TWndProcHook::BeforeWndProc, message);
        });
        if (!FreePending()) WndProc(message);
        hooks.ForEach([&](TWndProcHook* hook) {
            if (!FreePending()) CallHook(hook, &TWndProcHook::AfterWndProc, message);
        });
        break;
    }
    }
}

void TControl::AddWndProcHook(TWndProcHook* hook) {
    if (hook && !FHooks.Contains(hook)) FHooks.Add(hook);
}

void TControl::RemoveWndProcHook(TWndProcHook* hook) {
    FHooks.Remove(hook);
}

void TControl::RenewWndProcHook(TWndProcHook* hook) {
    if (!hook) return;
    if (IsLastWndProcHook(hook) && !KeptAlive()) return;
    FHooks.Remove(hook);
    FHooks.Add(hook);
}

void TControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(message); break;
    case WM_LBUTTONUP: WMLButtonUp(message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(message); break;
    case WM_MOUSEWHEEL: WMMouseWheel(message); break;
    default: DefaultHandler(message); break;
    }
}

void TControl::DefaultHandler(TMessage& /*message*/) {}

void TControl::WMLButtonDown(TMessage& message) {
    TWMMouse mouse(message);
    if (FControlStyle.Contains(csClickEvents)) FClicked = true;
    MouseDown(mbLeft, KeysToShiftState(mouse.Keys()).Include(ssLeft), mouse.XPos(), mouse.YPos());
}

void TControl::WMLButtonUp(TMessage& message) {
    TWMMouse mouse(message);
    const bool clicked = FClicked;
    FClicked = false;
    MouseUp(mbLeft, KeysToShiftState(mouse.Keys()), mouse.XPos(), mouse.YPos());
    if (clicked && ClientRect().Contains(Point(mouse.XPos(), mouse.YPos()))) Click();
}

void TControl::WMLButtonDblClk(TMessage& message) {
    TWMMouse mouse(message);
    if (FControlStyle.Contains(csDoubleClicks)) DblClick();
    MouseDown(mbLeft, KeysToShiftState(mouse.Keys()).Include(ssLeft).Include(ssDouble), mouse.XPos(), mouse.YPos());
}

void TControl::WMMouseWheel(TMessage& message) {
    TWMMouseWheel wheel(message);
    const TComponentRef<TControl> alive(this);
    if (DoMouseWheel(KeysToShiftState(wheel.Keys()), wheel.WheelDelta(), Point(wheel.XPos(), wheel.YPos()))) {
        message.Result = 1;
        return;
    }
    if (alive && FParent) message.Result = FParent->Perform(WM_MOUSEWHEEL, message.WParam, message.LParam);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    // A fine wheel sends less than a notch at a time: the turns add up.
    FWheelAccumulator += wheelDelta;
    bool handled = false;
    const TComponentRef<TControl> alive(this);
    while (alive && std::abs(FWheelAccumulator) >= WHEEL_DELTA) {
        const bool down = FWheelAccumulator < 0;
        FWheelAccumulator += down ? WHEEL_DELTA : -WHEEL_DELTA;
        if (down ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos)) handled = true;
    }
    return handled;
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
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
    p.Set("Anchors", &TControl::Anchors, &TControl::SetAnchors, AnchorsTypeInfo()).Default(kDefaultAnchors);
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

} // namespace host
