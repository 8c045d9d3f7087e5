#pragma once
// Controls: visual components with a parent, bounds, alignment and a window
// procedure. TWinControl is a windowed control: it parents other controls,
// owns a window handle made on demand, and can take the focus.
// TGraphicControl has no window of its own and paints on its parent.
// Code: Controls.cpp (TControl), WinControl.cpp (TWinControl), Align.cpp
// (Realign, EnableAlign, AlignControls), ControlLook.cpp (colour and font),
// ControlPaint.cpp (PaintTo, invalidation).
//
// Owner and parent are independent: the owner frees what it owns, the
// parent lays out and shows its child controls. A windowed control being
// freed frees the controls it parents; a control being freed leaves its
// parent.
//
// Every message sent to a control goes through WindowProc: the hooks added
// with AddWndProcHook see it first, then the control's virtual WndProc
// handles it, then the hooks see it once more. A control freed while one of
// its messages is being handled is ended when that handling returns.

#include "host/core/Export.h"
#include "host/core/Component.h"
#include "host/core/Event.h"
#include "host/core/NotifyList.h"
#include "host/core/Set.h"
#include "host/ui/Colors.h"
#include "host/ui/Font.h"
#include "host/ui/Geometry.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Messages.h"

#include <cstdint>
#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TCanvas;
class TControl;
class TWinControl;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// The parent's edges a control keeps its distance to when the parent is
// resized: right or bottom alone move it, both sides of an axis stretch it,
// neither keeps its centre where it was in proportion.
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
constexpr TAnchors kDefaultAnchors{akLeft, akTop};

// How a text sits in its control.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// The frame of a window. A form takes any of them; the other controls that
// have a border (panels) only bsNone and bsSingle.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

enum TControlStyleFlag {
    csAcceptsControls,
    csCaptureMouse,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
};
using TControlStyle = TSet<TControlStyleFlag>;

// Mouse pointer shapes; the stock ones are negative.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crHandPoint = -21;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TKeyEvent = TEvent<void(TObject* Sender, std::uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, char& Key)>;
using TMouseEvent = TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;

// Limits on a control's size; 0 is no limit. Changing one re-applies the
// limits to the control's current size.
class TSizeConstraints : public TPersistent {
    HOST_CLASS(TSizeConstraints, TPersistent)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    int MaxHeight() const { return FMaxHeight; }
    int MaxWidth() const { return FMaxWidth; }
    int MinHeight() const { return FMinHeight; }
    int MinWidth() const { return FMinWidth; }
    // A maximum below the minimum lowers the minimum, and the other way round.
    void SetMaxHeight(int value);
    void SetMaxWidth(int value);
    void SetMinHeight(int value);
    void SetMinWidth(int value);

    // Applies the limits to a width and a height.
    void Constrain(int& width, int& height) const;
    TControl* Control() const { return FControl; }

    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

protected:
    explicit TSizeConstraints(TControl* control) : FControl(control) {}

private:
    void Change();

    TControl* FControl;
    int FMaxHeight = 0;
    int FMaxWidth = 0;
    int FMinHeight = 0;
    int FMinWidth = 0;
};

// Sees every message that reaches a control's window procedure, before and
// after the control handles it. The control does not own its hooks. A hook
// is part of an object (Self) that the control keeps alive for the length
// of each call, so a hook freed from inside its own call ends when the call
// returns.
class TWndProcHook {
public:
    virtual void BeforeWndProc(TMessage& message) = 0;
    virtual void AfterWndProc(TMessage& message) = 0;
    // The control is going away; it holds the hook no longer. Control is
    // only an identity here: it must not be used.
    virtual void ControlDestroyed(TControl* control) = 0;

protected:
    explicit TWndProcHook(TObject* self) : FSelf(self) {}
    ~TWndProcHook() = default;

private:
    friend class TControl;
    TObject* FSelf;
};

class TControl : public TComponent {
    HOST_CLASS(TControl, TComponent)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    // Parent and child controls.
    TWinControl* Parent() const { return FParent; }
    // Moves the control into another parent (nil: none). Raises
    // EInvalidOperation for the control itself or one of its children.
    virtual void SetParent(TWinControl* value);
    // True when Control is this control's parent, its parent's parent, ...
    bool HasParent(const TWinControl* control) const;

    // Bounds, in the parent's client coordinates.
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    // The size is clamped to the constraints.
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }

    // The client area, in the control's own coordinates.
    virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    virtual void SetClientWidth(int value);
    virtual void SetClientHeight(int value);
    // The screen position of the client area's top left corner. A control
    // without a parent (a form) has its client area at its Left and Top.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint point) const;
    TPoint ScreenToClient(TPoint point) const;

    // The bounds last given other than by alignment; form files keep them
    // where they differ from the bounds (an aligned control's own size).
    TRect ExplicitBounds() const { return FExplicit; }
    void SetExplicitBounds(const TRect& value) { FExplicit = value; }
    // The client size the control was designed at, kept by form files.
    TPoint DesignSize() const { return FDesignSize; }
    void SetDesignSize(TPoint value) { FDesignSize = value; }

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);
    // Anchors hold for a control that is not aligned, from the bounds last
    // given to it and the parent's client size then.
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors value);
    TSizeConstraints* Constraints() const { return FConstraints.get(); }
    void SetConstraints(const TSizeConstraints* value) { FConstraints->Assign(value); }

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value) { FCursor = value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value) { FShowHint = value; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent visible too.
    bool Showing() const;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);

    // Colour and font. With ParentColor (ParentFont) the control takes its
    // parent's colour (font) and follows its changes; setting the colour
    // (changing the font) turns the flag off.
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* value) { FFont->Assign(value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);

    // Caption and Text are one text.
    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    const std::string& Caption() const { return FText; }
    void SetCaption(const std::string& value) { SetText(value); }

    // Z-order: the order of the parent's Controls, bottom first.
    void BringToFront();
    void SendToBack();

    // Painting. A control paints only when something it shows changed:
    // Invalidate marks it (counted, so the requests can be observed), and
    // its form's next PaintInvalid paints the marked controls. A control
    // that moves, shows or hides marks its parent, whose area it changes.
    virtual void Invalidate();
    int InvalidateCount() const { return FInvalidateCount; }
    // True from Invalidate until the control is next painted; a new control
    // has not been painted.
    bool PaintPending() const { return FPaintPending; }
    // Paints what is invalid on the control's form now.
    void Update();
    // Invalidate and Update.
    void Repaint();
    // Draws the control on Canvas with its top left corner at Origin (in
    // the canvas's coordinates), clipped to its bounds; a windowed control
    // then draws its visible children, bottom first. Clears PaintPending.
    void PaintTo(TCanvas& canvas, TPoint origin);
    // Paints only the controls from this one down that are invalid, and
    // the controls above them that they overlap; answers whether anything
    // was painted.
    bool PaintInvalidTo(TCanvas& canvas, TPoint origin);
    // The canvas the control paints on while its Paint runs; nil otherwise.
    TCanvas* Canvas() const { return FCanvas; }

    // Sends a message to the control's window procedure; answers its Result.
    std::intptr_t Perform(unsigned msg, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);
    // The window procedure: hooks before, WndProc, hooks after.
    void WindowProc(TMessage& message);
    // A hook added while a message is being handled sees the next message
    // first; one removed then gets no further call, not even for that one.
    // Adding a hook twice adds it once.
    void AddWndProcHook(TWndProcHook* hook);
    void RemoveWndProcHook(TWndProcHook* hook);
    // As RemoveWndProcHook and AddWndProcHook: the hook sees messages after
    // the others, from the next one on. Free for a hook that is last already
    // while no message is being handled (capturing a form again renews
    // thousands).
    void RenewWndProcHook(TWndProcHook* hook);
    bool IsLastWndProcHook(const TWndProcHook* hook) const { return !FHooks.Empty() && FHooks.Last() == hook; }

    virtual void Click();
    virtual void DblClick();

    void SetName(const std::string& newName) override;
    // In a form file a control is nested in its parent. A control read
    // inside a component that cannot parent it has no parent but stays
    // nested there, so it is written back where it was read. Raises
    // EInvalidOperation when the nesting would go round in a circle.
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* value) override;
    void Notification(TComponent* component, TOperation operation) override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

protected:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    void BeforeDestruction() override;
    void Destroy() override;

    // Handles a message; the default routes the mouse buttons to the
    // handlers below and everything else to DefaultHandler.
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    virtual void WMLButtonDown(TMessage& message);
    virtual void WMLButtonUp(TMessage& message);
    virtual void WMLButtonDblClk(TMessage& message);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // A turn of the wheel over the control: DoMouseWheel gathers the
    // distance and calls DoMouseWheelDown or DoMouseWheelUp once a notch;
    // answering true takes it. What the control leaves goes to its parent,
    // as the system passes a wheel message on.
    virtual void WMMouseWheel(TMessage& message);
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual bool DoMouseWheelDown(TShiftState /*shift*/, TPoint /*mousePos*/) { return false; }
    virtual bool DoMouseWheelUp(TShiftState /*shift*/, TPoint /*mousePos*/) { return false; }

    // Called after the size changed (and, for a windowed control, after its
    // children were laid out again).
    virtual void Resize();
    virtual void VisibleChanged();
    virtual void EnabledChanged();
    virtual void TextChanged() {}
    // Called after the colour or the font changed, by whatever means; a
    // windowed control passes the change on to the children that follow it.
    virtual void ColorChanged();
    virtual void FontChanged();
    // Draws the control on Canvas(), in the control's own coordinates; the
    // canvas comes with the control's font, a brush of its colour and a
    // clip to its bounds. Nothing to draw by default.
    virtual void Paint() {}
    // Where the client area (and the children) lie in the painted picture;
    // a form's frame moves them.
    virtual TPoint PaintClientOffset() const { return Point(0, 0); }
    // The area the control's picture takes, in its own coordinates: its
    // bounds, or a form's frame around its client area.
    virtual TRect PaintRect() const { return Rect(0, 0, FWidth, FHeight); }
    // Called after the control moved into another parent (or none).
    virtual void ParentChanged() {}
    // The parent lays out its aligned children again.
    void RequestAlign();

private:
    friend class TWinControl;
    friend class TSizeConstraints;
    VESKAR_LOCAL void ApplyConstraints();
    VESKAR_LOCAL void UpdateAnchorRules();
    VESKAR_LOCAL void ApplyAnchors(TPoint space);
    VESKAR_LOCAL void SetNestedIn(TComponent* value);
    VESKAR_LOCAL void FontChange(TObject* sender);
    VESKAR_LOCAL void TakeParentColor();
    VESKAR_LOCAL void TakeParentFont();

    TWinControl* FParent = nullptr;
    TComponent* FNestedIn = nullptr;  // see SetParentComponent
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    TRect FExplicit;
    TPoint FDesignSize;
    TAlign FAlign = alNone;
    TAnchors FAnchors = kDefaultAnchors;
    TRect FAnchorBase;      // the bounds the anchors keep distances from
    TPoint FAnchorSpace{-1, -1};  // the parent's client size with them; -1: no parent
    bool FAnchorMove = false;
    Owned<TSizeConstraints> FConstraints;
    TControlStyle FControlStyle;
    TCursor FCursor = crDefault;
    std::string FHint;
    bool FShowHint = false;
    bool FVisible = true;
    bool FEnabled = true;
    std::string FText;
    TColor FColor = clWindow;
    bool FParentColor = true;
    Owned<TFont> FFont;
    bool FParentFont = true;
    bool FTakingParentFont = false;
    int FInvalidateCount = 0;
    bool FPaintPending = true;
    TCanvas* FCanvas = nullptr;
    bool FClicked = false;
    VESKAR_LOCAL static void CallHook(TWndProcHook* hook, void (TWndProcHook::*call)(TMessage&), TMessage& message);
    int FWheelAccumulator = 0;  // distance turned short of a notch
    TNotifyList<TWndProcHook> FHooks;
};

// A windowed control.
class TWinControl : public TControl {
    HOST_CLASS(TWinControl, TControl)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    // Raises EListError for an index out of range.
    TControl* Controls(int index) const {
        if (static_cast<size_t>(index) >= FControls.size()) ControlIndexError(index);
        return FControls[static_cast<size_t>(index)];
    }
    // True when Control is a child of this control, at any depth.
    bool ContainsControl(const TControl* control) const;

    // The window handle, made on demand (with the parent's first).
    TWindowHandle Handle();
    bool HandleAllocated() const { return FHandle != 0; }
    void HandleNeeded();
    // Destroys the window (the children's first); made again on demand.
    void DestroyHandle();

    // Visible and enabled, with every parent visible and enabled.
    bool CanFocus() const;
    // Raises EInvalidOperation "Cannot focus a disabled or invisible window"
    // when the control cannot have the focus.
    virtual void SetFocus();
    // True while the control has the focus, already while it handles its
    // own WM_SETFOCUS.
    virtual bool Focused() const;

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value) { FTabStop = value; }
    // Position among the parent's windowed children when tabbing. While the
    // control is being read the value is kept and applied once all its
    // siblings are read, so the order does not depend on who came first.
    int TabOrder() const;
    void SetTabOrder(int value);
    // The next (or previous) windowed control after Current among this
    // control's children at any depth, in tab order, wrapping around; only
    // controls that can take the focus (and with CheckTabStop, have
    // TabStop). Nil when there is none.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop) const;

    // The child controls that Root owns, in z-order.
    void GetChildren(std::vector<TComponent*>& children, const TComponent* root) const override;
    // Puts the children in the tab orders they were read with.
    void ChildrenRead() override;

    // Lays the aligned children out again in the client area.
    void Realign();
    void DisableAlign() { ++FAlignDisabled; }
    void EnableAlign();

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    explicit TWinControl(TComponent* owner);

    void Destroy() override;

    void WndProc(TMessage& message) override;
    virtual void WMCreate(TMessage& message) { DefaultHandler(message); }
    virtual void WMDestroy(TMessage& message) { DefaultHandler(message); }
    virtual void WMSetFocus(TMessage& message);
    virtual void WMKillFocus(TMessage& message);
    virtual void WMKeyDown(TMessage& message);
    virtual void WMKeyUp(TMessage& message);
    virtual void WMSysKeyDown(TMessage& message);
    virtual void WMSysKeyUp(TMessage& message);
    virtual void WMChar(TMessage& message);
    virtual void WMParentNotify(TMessage& message) { DefaultHandler(message); }
    // The focus entering or leaving this control within its form.
    virtual void CMEnter(TMessage& message);
    virtual void CMExit(TMessage& message);

    // Run by CMEnter and CMExit: within a form only.
    virtual void DoEnter();
    virtual void DoExit();
    // Run by WMKeyDown and WMSysKeyDown; clearing Key consumes it.
    virtual void KeyDown(std::uint16_t& key, TShiftState shift);
    virtual void KeyUp(std::uint16_t& key, TShiftState shift);
    // Run by WMChar; clearing Key consumes it.
    virtual void KeyPress(char& key);
    // Offered a key that the focused control below left unconsumed, on each
    // parent from the innermost out; answering true consumes it. A form
    // answers its dialog keys here.
    virtual bool DialogKey(std::uint16_t& key, TShiftState shift);

    // Makes the window: the handle and WM_CREATE. CreateHandle then tells
    // the parent (WM_PARENTNOTIFY) and makes the visible children's windows.
    virtual void CreateWnd();
    // Ends the window: WM_DESTROY and the handle. DestroyHandle has told the
    // parent before.
    virtual void DestroyWnd();
    // Moves the aligned children into Rect, the client area left to them.
    virtual void AlignControls(TControl* control, TRect& rect);
    // Shrinks the client area the children are aligned in (borders).
    virtual void AdjustClientRect(TRect& /*rect*/) {}

    void VisibleChanged() override;
    void EnabledChanged() override;

private:
    [[noreturn]] static void ControlIndexError(int index);
    friend class TControl;
    VESKAR_LOCAL void InsertControl(TControl* control);
    VESKAR_LOCAL void RemoveControl(TControl* control);
    VESKAR_LOCAL void CreateHandle();
    VESKAR_LOCAL void CreateChildHandles();
    VESKAR_LOCAL void DestroyChildHandles();
    VESKAR_LOCAL void NotifyParent(unsigned event);
    VESKAR_LOCAL void FreeChildControls();
    VESKAR_LOCAL void MoveControl(TControl* control, size_t index);
    VESKAR_LOCAL void ListTabOrder(std::vector<TWinControl*>& list) const;
    VESKAR_LOCAL bool DispatchDialogKey(std::uint16_t& key, TShiftState shift);
    // In EnterExit.cpp. The top of the parent chain: the form, as a rule.
    VESKAR_LOCAL TWinControl* TopLevel();
    // On the top level, as Control takes the window focus: CM_EXIT to the
    // controls the focus leaves within this window, innermost first, then
    // CM_ENTER to those it enters, outermost first.
    VESKAR_LOCAL void SetFocusedControl(TWinControl* control);
    // Control (with its children) is leaving its window or going: the
    // window's focused control becomes Control's parent, without notices.
    VESKAR_LOCAL void DefocusControl(TWinControl* control);

    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    // On a top-level window: the control that last entered within it.
    TWinControl* FFocusedControl = nullptr;
    TWindowHandle FHandle = 0;
    bool FTabStop = false;
    int FReadTabOrder = -1;
    int FAlignDisabled = 0;
    bool FAligning = false;
    bool FAlignPending = false;
};

// A windowed control that paints itself (grids, panels).
class TCustomControl : public TWinControl {
    HOST_CLASS(TCustomControl, TWinControl)
protected:
    explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}
};

// A control without a window of its own; it paints on its parent.
class TGraphicControl : public TControl {
    HOST_CLASS(TGraphicControl, TControl)
protected:
    explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
};

// The windowed control that has Handle, or nil.
TWinControl* FindControl(TWindowHandle handle);

} // namespace host

VESKAR_PUBLIC_END
