#pragma once
// Ldcapt: control capture. The lookup button shown inside a focused control,
// the links that take over a captured control's window procedure, and the
// list that owns those links and hears what they report.
//
// A link sees the messages of its control through the subclass registry.
// While the control has the focus (for a grid: its in-place editor) and the
// list allows a lookup there, the link shows a TLookupButton docked to the
// control's right edge; a click on it, or the list's shortcut typed into the
// control, reaches the list's LookupButtonClicked.
//
// Lifetime: a link or list freed while one of its own calls is on the stack
// (a hook that clears the list while a lookup runs) lets go of its controls
// at once and ends when that call returns, so neither it nor the button
// being clicked is used after it is gone.

#include "host/core/Export.h"
#include "host/brindle/Usubcls.h"
#include "host/core/List.h"
#include "host/data/Field.h"
#include "host/ui/Controls.h"
#include "host/ui/ShortCuts.h"
#include "host/ui/SpeedButton.h"

VESKAR_PUBLIC_BEGIN

namespace veskar {

class TLookupControlsList;
class TLookupWinControlLink;
class TLookupGridControlLink;

// The small button with the magnifying glass. Its owner must be a windowed
// control; it sizes itself as a square 2 pixels lower than that owner.
class TLookupButton : public host::TSpeedButton {
    HOST_CLASS(TLookupButton, host::TSpeedButton)
public:
    // Refuses an owner that is not a TWinControl.
    void ValidateContainer(host::TComponent* AComponent) override;

protected:
    explicit TLookupButton(host::TComponent* AOwner) : TSpeedButton(AOwner) {}
    // Runs after the insertion into the owner (and its validation).
    void Constructed() override;

private:
    VESKAR_LOCAL void LoadGlyph();
    VESKAR_LOCAL void FitToOwner();
};

// Registered for a captured control; hands every message to its link.
class TLookupControlSubclass : public host::TControlSubclass {
    HOST_CLASS(TLookupControlSubclass, host::TControlSubclass)
public:
    void BeforeWndProc(host::TMessage& Message) override;
    TLookupWinControlLink* Link() const { return FLink; }

protected:
    TLookupControlSubclass() = default;

private:
    friend class TLookupWinControlLink;
    TLookupWinControlLink* FLink = nullptr;
};

// Registered for a grid's in-place editor; hands every message to the grid
// link's InplaceEditorWndProc.
class TInplaceEditorSubclass : public host::TControlSubclass {
    HOST_CLASS(TInplaceEditorSubclass, host::TControlSubclass)
public:
    void BeforeWndProc(host::TMessage& Message) override;
    TLookupGridControlLink* Link() const { return FLink; }

protected:
    TInplaceEditorSubclass() = default;

private:
    friend class TLookupGridControlLink;
    TLookupGridControlLink* FLink = nullptr;
};

// The link of one edit control. It is a component only to hear of the
// destruction of its control and its button; it never has an owner.
class TLookupWinControlLink : public host::TComponent {
    HOST_CLASS(TLookupWinControlLink, host::TComponent)
public:
    virtual void WndProc(host::TMessage& Message);
    virtual void DoBeginEdit();
    virtual void DoEndEdit();
    virtual void ShowLookupButton(host::TWinControl* AControl);
    virtual void HideLookupButton();
    virtual void LookupButtonClicked();
    virtual bool CheckControlLookup();
    // Start and stop watching the control; both may be called again.
    virtual void Capture();
    virtual void UnCapture();
    // UnCapture and then Capture; for a captured control without a button,
    // in one cheap step that keeps its registrations.
    virtual void Recapture();

    // The list's shortcut, or Ctrl+F1 for a link without a list.
    host::TShortCut GetLookupShortCut() const;
    // The button's OnClick.
    void LookupButtonClick(host::TObject* Sender);

    host::TWinControl* Control() const { return FControl; }
    TLookupControlsList* OwnerList() const { return FOwnerList; }
    TLookupButton* Button() const { return FButton; }
    bool Captured() const { return FCaptured; }
    bool InButtonClick() const { return FInButtonClick; }
    // The object registered for the control while it is captured.
    TLookupControlSubclass* Subclass() const { return FSubclass.get(); }

    void Notification(host::TComponent* AComponent, host::TOperation Operation) override;

protected:
    // The plain component constructor: no control, no list; never captures.
    explicit TLookupWinControlLink(host::TComponent* AOwner);
    // The list's constructor. Raises "Control is NIL." or "Owner is NIL.".
    TLookupWinControlLink(host::TWinControl* AControl, TLookupControlsList* AList);

    void Destroy() override;
    // A Free arrived during one of its calls: stop watching and reporting now.
    void Detach() override;

    void SetCaptured(bool value) { FCaptured = value; }

private:
    VESKAR_LOCAL void Init(host::TWinControl* AControl, TLookupControlsList* AList);

    TLookupControlsList* FOwnerList = nullptr;
    host::TWinControl* FControl = nullptr;
    TLookupButton* FButton = nullptr;
    bool FCaptured = false;
    bool FInButtonClick = false;
    host::Owned<TLookupControlSubclass> FSubclass;
};

// The link of a grid. The button lives on the grid's in-place editor, which
// the link captures whenever the grid has one.
class TLookupGridControlLink : public TLookupWinControlLink {
    HOST_CLASS(TLookupGridControlLink, TLookupWinControlLink)
public:
    // Watches the grid's WM_PARENTNOTIFY only, to find a new editor.
    void WndProc(host::TMessage& Message) override;
    void ShowLookupButton(host::TWinControl* AControl) override;
    void LookupButtonClicked() override;
    bool CheckControlLookup() override;
    void Capture() override;
    void UnCapture() override;
    void Recapture() override;

    // The in-place editor's messages, handled as an edit link handles its
    // control's.
    virtual void InplaceEditorWndProc(host::TMessage& Message);
    virtual void CaptureInplaceEditor();
    virtual void UnCaptureInplaceEditor();

    host::TWinControl* InplaceEditor() const { return FInplaceEditor; }

    void Notification(host::TComponent* AComponent, host::TOperation Operation) override;

protected:
    explicit TLookupGridControlLink(host::TComponent* AOwner);
    TLookupGridControlLink(host::TWinControl* AControl, TLookupControlsList* AList);

private:
    VESKAR_LOCAL void InitInplace();

    host::TWinControl* FInplaceEditor = nullptr;
    host::Owned<TInplaceEditorSubclass> FInplaceSubclass;
};

// The links of one owner, and the shortcut they answer. The four hooks are
// empty or permissive here; a descendant decides through them where the
// button is offered and what a click does.
class TLookupControlsList : public host::TList {
    HOST_CLASS(TLookupControlsList, host::TList)
public:
    host::TShortCut LookupShortCut() const { return FLookupShortCut; }
    void SetLookupShortCut(host::TShortCut Value) { FLookupShortCut = Value; }

    virtual void ControlBeginEdit(TLookupWinControlLink* Link);
    virtual void ControlEndEdit(TLookupWinControlLink* Link);
    virtual bool CheckControlLookup(host::TWinControl* Control, host::TField* Field);
    virtual void LookupButtonClicked(host::TWinControl* Control, host::TField* Field);
    // Makes a link for AControl (a grid link for a grid) and appends it;
    // answers its index.
    virtual int AddLookupControl(host::TWinControl* AControl, bool ACapture);
    // Releases and frees the first link of AControl; answers the index it
    // had, -1 when there is none.
    virtual int RemoveLookupControl(host::TWinControl* AControl);
    // Frees the link at AIndex and deletes the item; the list's index error
    // for an index out of range.
    virtual void DeleteLookupControl(int AIndex);
    // Releases and frees every link.
    void Clear() override;
    // Leaves the list as Clear and then AddLookupControl(control, true) for
    // each of AControls, in order, would; but the link of a control listed
    // again is kept, released and captured afresh, instead of being freed
    // and made again.
    void RecaptureControls(const host::TList& AControls);

    // The control of the link at AIndex; nil for a link whose control is
    // gone and for an index out of range.
    host::TWinControl* Controls(int AIndex) const;
    int IndexOfControl(host::TWinControl* AControl) const;
    TLookupWinControlLink* GetLinkToControl(host::TWinControl* AControl) const;
    // The link at AIndex (nil once deleted); the list's index error out of
    // range.
    TLookupWinControlLink* Links(int AIndex) const { return Get<TLookupWinControlLink>(AIndex); }

protected:
    TLookupControlsList();
    // Freed from inside one of its hooks (a link holds it alive while it
    // calls one), the list lets its links go at once.
    void Detach() override { Clear(); }

private:
    // A link RecaptureControls may keep: one of the two kinds this list
    // makes, for the control it was made for, and in none of its own calls.
    VESKAR_LOCAL bool Reusable(const TLookupWinControlLink* ALink, const host::TWinControl* AControl) const;

    host::TShortCut FLookupShortCut;
};

namespace Ldcapt {

// The unit's start-up and shut-down, run by the package's Initialize and
// Finalize; they do nothing of their own.
void Initialization();
void Finalization();

} // namespace Ldcapt

} // namespace veskar

VESKAR_PUBLIC_END
