#pragma once
// The standard controls.
// Code: StdCtrls.cpp (edits), Button.cpp, ListBox.cpp, StaticText.cpp.
//
// Edit boxes: a windowed control holding one line of text that the user
// types into. A printable character (WM_CHAR) replaces the selection or
// goes in at the caret, backspace takes the selection or the character
// before the caret off, Delete the one after it; Left, Right, Home and End
// move the caret, with Shift they select. Text set by the program puts the
// caret at its end, so typing there adds to it. A read-only box takes no
// change. Positions count bytes and always stay on whole UTF-8 characters.
//
// Buttons: a windowed control clicked by the mouse, by Space while it has
// the focus, or by its form's dialog keys (Enter for the focused or the
// Default button, Esc for the Cancel button).
//
// List boxes: a list of texts, one (or, with MultiSelect, several) of them
// selected by the mouse, by the arrow keys or by typing an item's first
// letter; every selection the user makes runs OnClick.
//
// Static text: a caption in a window of its own.
//
// Labels: a caption drawn on the parent, with no window of its own. Its
// access key (Alt and the letter marked with "&") focuses FocusControl.
//
// Group boxes: a frame with a caption that groups other controls.
//
// Check boxes: a box, checked or not (or greyed, with AllowGrayed), and a
// caption; a click, Space or the access key toggles it, and every change
// of Checked or State runs OnClick.
//
// Memos: an edit box of several lines (Lines); Enter starts a new line,
// Up and Down move between lines.
// Code: Label.cpp, GroupBox.cpp, CheckBox.cpp, Memo.cpp.

#include "host/core/ComponentRef.h"
#include "host/core/Export.h"
#include "host/core/Strings.h"
#include "host/ui/Controls.h"
#include "host/ui/ModalResult.h"

#include <algorithm>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TCustomEdit : public TWinControl {
    HOST_CLASS(TCustomEdit, TWinControl)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    bool ReadOnly() const { return FReadOnly; }
    virtual void SetReadOnly(bool value) { FReadOnly = value; }
    // True once the user typed since the flag was last cleared; text set by
    // the program leaves it alone.
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }
    void Clear() { SetText(""); }
    // The most characters (code points) typing may make; 0 is no limit.
    // Text set by the program is not cut.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value) { FMaxLength = value > 0 ? value : 0; }
    // How the text lies in the box while it fits (a grid's editor follows
    // its column).
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // bsSingle (the default) frames the box; bsNone (a grid's editor) not.
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    // Shown in grey in an empty box that does not have the focus.
    const std::string& TextHint() const { return FTextHint; }
    void SetTextHint(const std::string& value);

    // The selection: where it starts and how long it is; the caret is at
    // one of its ends (CaretPos). Counted in characters (code points) and
    // kept inside the text.
    int SelStart() const;
    int SelLength() const;
    std::string SelText() const;
    int CaretPos() const;
    // Puts the caret at Value with nothing selected.
    void SetSelStart(int value);
    // Selects from SelStart on, the caret at the end.
    void SetSelLength(int value);
    void SelectAll();

    // Run on every change of the text, typed or set.
    TNotifyEvent OnChange;

protected:
    explicit TCustomEdit(TComponent* owner);

    void WMChar(TMessage& message) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void TextChanged() override;
    // Runs OnChange.
    virtual void Change();
    // Asked before a typed key changes the text; false refuses the key.
    virtual bool EditCanModify() { return !FReadOnly; }
    void Paint() override;

    // The editing keys (after OnKeyDown, which may consume them): moves
    // the caret, selects, deletes; clears Key when it used it.
    virtual void EditKey(std::uint16_t& key, TShiftState shift);
    // Replaces the selection with Text, as typed; the caret after it.
    void ReplaceSelection(const std::string& text);
    // Types one whole character, unless MaxLength is reached.
    void TypeChar(const std::string& ch);
    // The caret and the selection as byte positions of Text, each on a
    // character's start.
    int CaretByte() const { return FCaret; }
    int SelStartByte() const { return std::min(FAnchor, FCaret); }
    int SelEndByte() const { return std::max(FAnchor, FCaret); }
    // The caret to byte position Pos (kept on a whole character); with
    // Extend the selection stretches to it.
    void MoveCaret(int pos, bool extend);
    int Clamp(int pos) const;
    int PrevCharPos(int pos) const;
    int NextCharPos(int pos) const;

private:
    VESKAR_LOCAL void PaintTextHint(TCanvas& canvas, int left, int room);
    // Gathers the bytes of a character typed one WM_CHAR at a time; true
    // once FPendingChar holds a whole one.
    VESKAR_LOCAL bool CollectByte(unsigned char byte);

    bool FReadOnly = false;
    bool FModified = false;
    int FMaxLength = 0;
    std::string FTextHint;
    int FAnchor = 0;
    int FCaret = 0;
    bool FTyping = false;
    std::string FPendingChar;
    TAlignment FAlignment = taLeftJustify;
    TBorderStyle FBorderStyle = bsSingle;
};

// An edit box that may restrict what is typed through an edit mask. The
// mask is kept as text; an empty mask (the default) accepts any character.
class TCustomMaskEdit : public TCustomEdit {
    HOST_CLASS(TCustomMaskEdit, TCustomEdit)
public:
    const std::string& EditMask() const { return FEditMask; }
    void SetEditMask(const std::string& value) { FEditMask = value; }

protected:
    explicit TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

private:
    std::string FEditMask;
};

class TEdit : public TCustomEdit {
    HOST_CLASS(TEdit, TCustomEdit)
    static void DeclarePublished(::host::TPublisher& publisher);
protected:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

// --- buttons --------------------------------------------------------------------

class TButtonControl : public TWinControl {
    HOST_CLASS(TButtonControl, TWinControl)
protected:
    explicit TButtonControl(TComponent* owner) : TWinControl(owner) {}
};

class TButton : public TButtonControl {
    HOST_CLASS(TButton, TButtonControl)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    // Enter clicks the Default button of a form unless another button has
    // the focus; Esc clicks the Cancel button.
    bool Default() const { return FDefault; }
    void SetDefault(bool value) { FDefault = value; }
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    // Given to the button's form on every click when not mrNone; a modal
    // form ends its run with it.
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // True while the left button or Space holds it down.
    bool Pressed() const { return FMouseDown || FSpaceDown; }
    // The caption's access key (Alt and the letter) clicks the button.

    void Click() override;

protected:
    explicit TButton(TComponent* owner);

    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyUp(std::uint16_t& key, TShiftState shift) override;
    void WMKillFocus(TMessage& message) override;
    void Paint() override;
    // Draws the caption (and a bit button its glyph) inside the brackets.
    virtual void PaintFace(TCanvas& canvas, const TRect& inner, int textTop);
    // The caption at Left in the button's look, clipped to Inner.
    void PaintCaption(TCanvas& canvas, const TRect& inner, int left, int textTop);

private:
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
    bool FMouseDown = false;
    bool FSpaceDown = false;
};

// --- list boxes -----------------------------------------------------------------

class TCustomListBox;

// The items of a list box: texts with objects and a selected flag each. A
// sorted list box keeps Add in order, letter case ignored; Insert puts an
// item where it is told.
class TListBoxStrings : public TStrings {
    HOST_CLASS(TListBoxStrings, TStrings)
public:
    int Count() const override { return static_cast<int>(FItems.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    TObject* Objects(int index) const override;
    void PutObject(int index, TObject* object) override;
    int Add(const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    TCustomListBox* ListBox() const { return FListBox; }

protected:
    explicit TListBoxStrings(TCustomListBox* listBox) : FListBox(listBox) {}

private:
    friend class TCustomListBox;
    struct Item {
        std::string Text;
        TObject* Object = nullptr;
        bool Selected = false;
    };
    void Check(int index, int count) const;
    VESKAR_LOCAL void SortItems();

    TCustomListBox* FListBox;
    std::vector<Item> FItems;
};

class TCustomListBox : public TWinControl {
    HOST_CLASS(TCustomListBox, TWinControl)
public:
    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* value) { FItems->Assign(value); }
    int Count() const { return FItems->Count(); }
    void Clear() { FItems->Clear(); }

    // The selected item (with MultiSelect, the item that has the caret);
    // -1 for none. An index outside the items selects none.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    // Raise EListError for an index out of range.
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int SelCount() const;
    void ClearSelection();
    // Selects every item; only with MultiSelect.
    void SelectAll();

    // Several items may be selected. With ExtendedSelect (the default) a
    // click selects one item, Ctrl+click toggles one, Shift+click selects a
    // range; without, a click (or Space) toggles one.
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool value) { FExtendedSelect = value; }
    // Sorts the items (letter case ignored); the selection stays with them.
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);

    // The height of an item: one line of text, which on the cells is one
    // cell row (kCellHeight), whatever was set, as a standard list box's
    // items follow its font. Items are painted, hit and scrolled by it.
    int ItemHeight() const;
    // Kept as given (a stored form's value) and written back unchanged.
    void SetItemHeight(int value) { FItemHeight = value > 0 ? value : 1; }
    int StoredItemHeight() const { return FItemHeight; }
    // The first item in view.
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int value);
    // The item at a point of the client area: -1 outside the items with
    // Existing, else the item count below the last one.
    int ItemAtPos(TPoint pos, bool existing) const;
    // Where an item is painted, in client pixels: exactly the cell row it
    // shows on, so its middle hits it.
    TRect ItemRect(int index) const;
    // The items that show whole, one at least.
    int VisibleRows() const;

protected:
    explicit TCustomListBox(TComponent* owner);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void Resize() override;
    void Paint() override;
    // A notch of the wheel scrolls the items by WHEEL_SCROLL_LINES; the
    // selection stays.
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;

private:
    friend class TListBoxStrings;
    VESKAR_LOCAL void ItemsInserted(int index);
    VESKAR_LOCAL void ItemsDeleted(int index);
    VESKAR_LOCAL void ItemsCleared();
    VESKAR_LOCAL void ItemMoved(int from, int to);
    // The list's top in its form's client area: painting rounds it to a
    // cell row, and the item rows follow from that row.
    VESKAR_LOCAL int FormTop() const;
    // The item row (from the first in view) that a client y falls in.
    VESKAR_LOCAL int RowAt(int y) const;
    VESKAR_LOCAL void MakeVisible(int index);
    // A selection made by the user: moves the caret, selects as the mode
    // and the held keys say, and runs Click.
    VESKAR_LOCAL void UserSelect(int index, TShiftState shift, bool toggle);
    VESKAR_LOCAL void SelectRange(int from, int to);

    Owned<TListBoxStrings> FItems;
    int FItemIndex = -1;
    int FAnchor = -1;
    int FTopIndex = 0;
    int FItemHeight = 13;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FSorted = false;
};

class TListBox : public TCustomListBox {
    HOST_CLASS(TListBox, TCustomListBox)
    static void DeclarePublished(::host::TPublisher& publisher);
protected:
    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

// --- combo boxes --------------------------------------------------------------------

// csDropDown: an edit box with a list to pick its text from; csDropDownList:
// only the list's items, typing picks the next item that starts with the
// letter. Alt+Down, F4 or a click on the button drops the list (a list box
// over the form, below the box); Up and Down pick the item before or
// after, Enter or a click in the list takes it, Escape closes it.
// Code: ComboBox.cpp.
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox : public TCustomEdit {
    HOST_CLASS(TCustomComboBox, TCustomEdit)
public:
    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* value);
    // The item whose text shows; -1 for none. Setting it sets the text.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle value);
    // The most items the dropped list shows at once.
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value) { FDropDownCount = std::max(1, value); }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    bool DroppedDown() const { return static_cast<bool>(FDropList); }
    void SetDroppedDown(bool value);
    // The dropped list, nil while closed.
    TCustomListBox* DropList() const { return FDropList.Get(); }

    // Run when the user picks an item (not when the program sets one).
    TNotifyEvent OnSelect;

protected:
    explicit TCustomComboBox(TComponent* owner);
    void Destroy() override;
    void Loaded() override;

    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void WMKillFocus(TMessage& message) override;
    bool EditCanModify() override;
    void TextChanged() override;
    void Paint() override;
    // Runs OnSelect.
    virtual void Select();
    // Picks an item as the user does: text, Change, Select.
    void UserPick(int index);

private:
    VESKAR_LOCAL void OpenList();
    VESKAR_LOCAL void CloseList();
    VESKAR_LOCAL int FindPrefix(char letter) const;
    VESKAR_LOCAL bool Loading() const;

    Owned<TStringList> FItems;
    // Owned by the box, parented by the form: it goes with either.
    TComponentRef<TCustomListBox> FDropList;
    int FItemIndex = -1;
    TComboBoxStyle FStyle = csDropDown;
    int FDropDownCount = 8;
    bool FSorted = false;
    bool FPicking = false;
};

class TComboBox : public TCustomComboBox {
    HOST_CLASS(TComboBox, TCustomComboBox)
    static void DeclarePublished(::host::TPublisher& publisher);
protected:
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

// --- static text ------------------------------------------------------------------

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };

class TCustomStaticText : public TWinControl {
    HOST_CLASS(TCustomStaticText, TWinControl)
public:
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TStaticBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TStaticBorderStyle value);
    // "&" marks the next character as the accelerator; "&&" is an "&".
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    // The caption as it is drawn: accelerator marks taken out.
    std::string DisplayText() const;
    // The control the text labels; cleared when that control goes.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);

    void Notification(TComponent* component, TOperation operation) override;

protected:
    explicit TCustomStaticText(TComponent* owner);
    void WndProc(TMessage& message) override;
    void Paint() override;

private:
    TAlignment FAlignment = taLeftJustify;
    TStaticBorderStyle FBorderStyle = sbsNone;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TStaticText : public TCustomStaticText {
    HOST_CLASS(TStaticText, TCustomStaticText)
    static void DeclarePublished(::host::TPublisher& publisher);
protected:
    explicit TStaticText(TComponent* owner) : TCustomStaticText(owner) {}
};

// --- labels ---------------------------------------------------------------------

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
    HOST_CLASS(TCustomLabel, TGraphicControl)
public:
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // The label fits its width to its caption (one cell per character).
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    // The control the access key focuses; cleared when it goes.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    // A transparent label leaves its parent's colour behind the text.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // The text drawn (access key marks in it when ShowAccelChar is on): the
    // caption.
    virtual std::string GetLabelText() const;

    void Notification(TComponent* component, TOperation operation) override;

protected:
    explicit TCustomLabel(TComponent* owner);
    void WndProc(TMessage& message) override;
    void Paint() override;
    void TextChanged() override;
    void Loaded() override;
    void AdjustBounds();

private:
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    TWinControl* FFocusControl = nullptr;
    bool FShowAccelChar = true;
    bool FTransparent = false;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
};

class TLabel : public TCustomLabel {
    HOST_CLASS(TLabel, TCustomLabel)
    static void DeclarePublished(::host::TPublisher& publisher);
protected:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

// --- group boxes -----------------------------------------------------------------

class TCustomGroupBox : public TCustomControl {
    HOST_CLASS(TCustomGroupBox, TCustomControl)
protected:
    explicit TCustomGroupBox(TComponent* owner);
    // The children share the area inside the frame, below the caption.
    void AdjustClientRect(TRect& rect) override;
    void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
    HOST_CLASS(TGroupBox, TCustomGroupBox)
    static void DeclarePublished(::host::TPublisher& publisher);
protected:
    explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

// --- check boxes -----------------------------------------------------------------

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
    HOST_CLASS(TCustomCheckBox, TButtonControl)
public:
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    // Runs OnClick when the state changes.
    void SetState(TCheckBoxState value);
    // Greyed is a state the user can toggle to.
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    // taRightJustify (the default) puts the caption right of the box.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

protected:
    explicit TCustomCheckBox(TComponent* owner);
    // The user's toggle: unchecked, checked, greyed (when allowed) in turn.
    virtual void Toggle();
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyPress(char& key) override;
    void Paint() override;

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
    HOST_CLASS(TCheckBox, TCustomCheckBox)
    static void DeclarePublished(::host::TPublisher& publisher);
protected:
    explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

// --- memos -----------------------------------------------------------------------

class TCustomMemo;

// The lines of a memo: reading and writing them goes through the memo's
// text, so both always agree.
class TMemoStrings : public TStrings {
    HOST_CLASS(TMemoStrings, TStrings)
public:
    int Count() const override;
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    TObject* Objects(int) const override { return nullptr; }
    void PutObject(int, TObject*) override {}
    int Add(const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;

protected:
    explicit TMemoStrings(TCustomMemo* memo) : FMemo(memo) {}

private:
    VESKAR_LOCAL std::vector<std::string> Split() const;
    VESKAR_LOCAL void Join(const std::vector<std::string>& lines);
    void Check(int index, int count) const;

    TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
    HOST_CLASS(TCustomMemo, TCustomEdit)
public:
    // Lines are kept in Text separated by CR LF.
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(const TStrings* value) { FLines->Assign(value); }
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool value) { FWantReturns = value; }
    // Lines longer than the memo is wide go on in the rows below, broken
    // after the last space that fits (a word wider than the memo at its
    // edge). The breaks are only shown: Lines and Text keep the lines as
    // they are. Without, long lines are cut at the edge and scroll
    // sideways with the caret.
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // The line and column (in characters) of the caret.
    TPoint CaretPoint() const;

    // A row on the screen: the bytes [Start, End) of Text, from Line.
    // Wrapped rows of one line follow each other; the spaces a break
    // falls on end the row before it.
    struct TRow {
        int Start = 0;
        int End = 0;
        int Line = 0;
        bool LastOfLine = true;
    };
    // The rows the text shows in, Columns characters wide.
    std::vector<TRow> Rows(int columns) const;
    // The characters a row shows: the width inside the frame when painted.
    int TextColumns() const;

protected:
    explicit TCustomMemo(TComponent* owner);
    void EditKey(std::uint16_t& key, TShiftState shift) override;
    void Paint() override;

private:
    // The row the caret shows on, and its column there.
    VESKAR_LOCAL int CaretRow(const std::vector<TRow>& rows) const;
    VESKAR_LOCAL int ColumnIn(const TRow& row, int pos) const;
    // The byte position of a column on a row, kept on the row.
    VESKAR_LOCAL int PosInRow(const TRow& row, int column) const;
    // Up, Down, Home and End over the rows shown.
    VESKAR_LOCAL bool RowKey(std::uint16_t key, bool extend);

    Owned<TMemoStrings> FLines;
    bool FWantReturns = true;
    bool FWordWrap = true;
    int FTopLine = 0;  // the first row shown
    // Where End left the caret at the end of a row broken inside a word;
    // the caret shows there until it moves (-1: nowhere).
    int FRowEndCaret = -1;
};

class TMemo : public TCustomMemo {
    HOST_CLASS(TMemo, TCustomMemo)
    static void DeclarePublished(::host::TPublisher& publisher);
protected:
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

} // namespace host

VESKAR_PUBLIC_END
