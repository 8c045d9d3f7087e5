#pragma once
// Forms: top-level windowed controls (they have no parent) with a frame and
// a caption, placed on the screen, shown modelessly or modally.
// Code: Forms.cpp (construction, frame, placement), FormModal.cpp (showing,
// ShowModal and TModalRuns, closing, dialog keys), FormPaint.cpp (the
// form's surface).
//
// Construction. A form is made through its class reference like any
// component (ClassOf<TMyForm>().Create(owner), or CreateForm). Once the
// whole object exists it is inserted into its owner, put on the screen's
// list, given its stored definition by LoadDefinition, and then OnCreate
// runs. A new form is hidden.
//
// Frame. The client area sits inside a frame and, below the frame's top, a
// caption bar, whose sizes follow the border style:
//   bsNone         no frame, no caption
//   bsSingle       frame 3, caption 19
//   bsSizeable     frame 4, caption 19
//   bsDialog       frame 3, caption 19
//   bsToolWindow   frame 3, caption 15
//   bsSizeToolWin  frame 4, caption 15
// Left, Top, Width and Height are the outer bounds in screen coordinates;
// ClientOrigin is Left + frame, Top + frame + caption, and so the controls
// of the form have their ClientOrigin on the screen too. While the form is
// being read (csLoading) ClientWidth and ClientHeight are kept and applied
// in Loaded, when the border style is known, whatever the reading order.
//
// Modal runs. ShowModal refuses a visible or modal form; it shows the form
// (Position applied, OnShow), moves the focus to ActiveControl (else to the
// first control in tab order, else to the form), which sends WM_KILLFOCUS to
// the control that had it, then lets the UI back end run the loop until the
// form answers (a ModalResult other than mrNone that OnCloseQuery and
// OnClose accept). Whatever ends the run, the form is hidden and the focus
// goes back to the control that had it (WM_SETFOCUS), if it still exists and
// can take it; then ShowModal answers ModalResult. A form freed during its
// own modal run ends the run and is freed when ShowModal returns.
//
// Painting. A form is drawn in character cells on a surface of its own:
// with a border style other than bsNone, a line around the client area
// (double for bsDialog) with the caption in its top line; the client area
// inside, its pixels mapped to cells from its top left corner. An output
// puts the surface on the screen with the client area's top left cell at
// the cell of ClientOrigin (SurfaceOrigin), and turns a cell back into a
// client point with SurfaceCellToClient.
//
// Dialog keys. A key the focused control leaves unconsumed reaches the form:
// Enter clicks the focused button, or else the Default button; Esc clicks
// the Cancel button; Tab and Shift+Tab move the focus through the tab order.

#include "host/core/Export.h"
#include "host/core/Event.h"
#include "host/ui/CellSurface.h"
#include "host/ui/Controls.h"
#include "host/ui/ModalResult.h"
#include "host/ui/Screen.h"

#include <memory>
#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TCustomForm;

enum TPosition {
    poDesigned,         // Left and Top as they are
    poDefault,          // the system's position and size
    poDefaultPosOnly,   // the system's position, the form's size
    poDefaultSizeOnly,  // the form's position, the system's size
    poScreenCenter,
    poDesktopCenter,    // the desktop is the one screen
    poMainFormCenter,   // over the screen's main form; else the screen
    poOwnerFormCenter,  // over the form that owns this one; else as above
};

enum TCloseAction { caNone, caHide, caFree, caMinimize };

// The buttons of the caption bar, kept for form files; the frame draws none.
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
constexpr TBorderIcons kDefaultBorderIcons{biSystemMenu, biMinimize, biMaximize};

enum TFormStateFlag { fsCreating, fsVisible, fsShowing, fsModal, fsActivated };
using TFormState = TSet<TFormStateFlag>;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;

// The frame of a border style: the width of the frame on each side and the
// height of the caption bar below the frame's top.
struct TFrameMetrics {
    int Frame = 0;
    int Caption = 0;
};
TFrameMetrics FrameMetrics(TFormBorderStyle style);

class TCustomForm : public TWinControl {
    HOST_CLASS(TCustomForm, TWinControl)
public:
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    // The outer bounds stay; the client area changes with the frame.
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value) { FBorderIcons = value; }
    TFrameMetrics Frame() const { return FrameMetrics(FBorderStyle); }
    TPosition Position() const { return FPosition; }
    // Takes effect when the form is next shown.
    void SetPosition(TPosition value) { FPosition = value; }

    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    void SetClientWidth(int value) override;
    void SetClientHeight(int value) override;

    // The control that gets the focus when the form is shown modally; it
    // follows the focus while the focus is inside the form. Setting a
    // control that is not on the form raises EInvalidOperation; on a visible
    // form the control also takes the focus.
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);

    // Stored values: the resolution and text height the form was designed
    // with (the form is not scaled by them), and the order in which OnCreate
    // and OnDestroy ran against the construction.
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int value) { FPixelsPerInch = value; }
    int TextHeight() const { return FTextHeight; }
    void SetTextHeight(int value) { FTextHeight = value; }
    bool OldCreateOrder() const { return FOldCreateOrder; }
    void SetOldCreateOrder(bool value) { FOldCreateOrder = value; }

    TFormState FormState() const { return FFormState; }
    bool Modal() const { return FFormState.Contains(fsModal); }
    bool Active() const { return FFormState.Contains(fsActivated); }

    // Show and Hide (Visible) are the control's: showing applies Position
    // and runs OnShow, and leaves the focus where it is (ShowModal moves
    // it); hiding takes the focus out of the form and runs OnHide; hiding a
    // modal form ends its run with mrCancel when it has no result yet.
    //
    // A modal form: sets ModalResult to mrCancel when it is mrNone, which
    // ends the run. Otherwise: asks OnCloseQuery, then OnClose with caHide
    // and acts on the action it leaves (caHide and caMinimize hide the form,
    // caFree frees it, caNone keeps it).
    void Close();
    // Asks OnCloseQuery; true when the form may close.
    virtual bool CloseQuery();
    // Frees the form; during its own message handling or modal run, once
    // that ends.
    void Release() { Free(); }

    // Raises EInvalidOperation "Cannot make a visible window modal" for a
    // visible or modal form.
    virtual TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // Run by the UI back end's modal loop after each turn: when ModalResult
    // is set, asks OnCloseQuery and OnClose; answers true when the run ends,
    // and puts ModalResult back to mrNone when the form refuses to close.
    bool CloseModal();

    void Notification(TComponent* component, TOperation operation) override;

    // The form's picture; sized to the form by PaintInvalid.
    TCellSurface& Surface();
    // Paints onto Surface what became invalid since it last painted (all of
    // it when the form's size in cells changed); answers whether anything
    // was painted.
    bool PaintInvalid();
    // The client area's cells on Surface.
    TRect ClientCells() const;
    // The surface's top left cell on a screen of cells.
    TPoint SurfaceOrigin() const;
    // The client point in the middle of a cell of Surface.
    TPoint SurfaceCellToClient(TPoint cell) const;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    explicit TCustomForm(TComponent* owner);

    void Constructed() override;
    void AfterConstruction() override;
    void BeforeDestruction() override;
    void Destroy() override;
    void Detach() override;
    void Loaded() override;

    // Gives the new form its stored definition, with the whole object, once,
    // during construction: the definitions of its classes below TForm, found
    // by the upper-cased class name among the modules' resources. A class
    // below TForm without any raises EResNotFound "Resource X not found";
    // a class built in code overrides this.
    virtual void LoadDefinition();

    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void Activate();
    virtual void Deactivate();

    void VisibleChanged() override;
    void Paint() override;
    TPoint PaintClientOffset() const override;
    TRect PaintRect() const override;
    void WndProc(TMessage& message) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    bool DialogKey(std::uint16_t& key, TShiftState shift) override;

private:
    friend class TScreen;
    VESKAR_LOCAL void ApplyPosition();
    VESKAR_LOCAL void CenterOn(TRect area, bool keepOnScreen);
    void SetActive(bool value);
    VESKAR_LOCAL void FocusChangedTo(TWinControl* focused);
    VESKAR_LOCAL void FocusFirst();
    VESKAR_LOCAL void EndModal(TWinControl* previous);
    VESKAR_LOCAL bool ClickDialogButton(std::uint16_t key);
    VESKAR_LOCAL void WatchActiveControl(TWinControl* control);

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = kDefaultBorderIcons;
    TPosition FPosition = poDesigned;
    TWinControl* FActiveControl = nullptr;
    int FPixelsPerInch = 96;
    int FTextHeight = 13;
    bool FOldCreateOrder = false;
    TFormState FFormState;
    TModalResult FModalResult = mrNone;
    int FLoadedClientWidth = -1;
    int FLoadedClientHeight = -1;
    std::unique_ptr<TCellSurface> FSurface;
    // The control the caret was last painted for.
    TWinControl* FCaretFor = nullptr;
};

class TForm : public TCustomForm {
    HOST_CLASS(TForm, TCustomForm)
    static void DeclarePublished(::host::TPublisher& publisher);
protected:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// The form a control is on: the top of its parent chain when that is a form
// (a form is on itself); nil otherwise.
TCustomForm* GetParentForm(const TControl* control);

// The modal runs in progress, innermost last. While one runs, the user's
// mouse reaches only its form: the other forms are disabled for the user,
// not for the program.
class TModalRuns {
public:
    static TCustomForm* Innermost();
    static bool TakesUserInput(const TControl* control);

    // Held by ShowModal for the length of a run.
    class TScope {
    public:
        explicit TScope(TCustomForm* form);
        ~TScope();
        TScope(const TScope&) = delete;
        TScope& operator=(const TScope&) = delete;

    private:
        TCustomForm* FForm;
    };

private:
    static std::vector<TCustomForm*>& Forms();
};

// Makes a form through a class reference; raises EInvalidOperation when the
// class is not a form class (nothing is made then) or is abstract.
TCustomForm* CreateForm(const TComponentClass& formClass, TComponent* owner);

} // namespace host

VESKAR_PUBLIC_END
