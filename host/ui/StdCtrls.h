#pragma once
// The standard controls.
// Code: StdCtrls.cpp (edits), Button.cpp, ListBox.cpp, StaticText.cpp;
// DeclarePublished in host/stream/PublishedControls.cpp (edits) and
// PublishedForms.cpp (the others).
//
// Edit boxes: a windowed control holding one line of text that the user
// types into. A printable character (WM_CHAR) goes at the end of the text,
// backspace takes the last one off; a read-only box takes neither.
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

#include "host/core/Strings.h"
#include "host/ui/Controls.h"
#include "host/ui/ModalResult.h"

#include <vector>

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
    // The most characters typing may make; 0 is no limit. Text set by the
    // program is not cut.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value) { FMaxLength = value > 0 ? value : 0; }

    // Run on every change of the text, typed or set.
    TNotifyEvent OnChange;

protected:
    explicit TCustomEdit(TComponent* owner);

    void WMChar(TMessage& message) override;
    void TextChanged() override;
    // Runs OnChange.
    virtual void Change();
    // Asked before a typed key changes the text; false refuses the key.
    virtual bool EditCanModify() { return !FReadOnly; }

private:
    bool FReadOnly = false;
    bool FModified = false;
    int FMaxLength = 0;
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

    void Click() override;

protected:
    explicit TButton(TComponent* owner);

    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyUp(std::uint16_t& key, TShiftState shift) override;
    void WMKillFocus(TMessage& message) override;

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
    void SortItems();

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

    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value) { FItemHeight = value > 0 ? value : 1; }
    // The first item in view.
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int value);
    // The item at a point of the client area: -1 outside the items with
    // Existing, else the item count below the last one.
    int ItemAtPos(TPoint pos, bool existing) const;
    TRect ItemRect(int index) const;

protected:
    explicit TCustomListBox(TComponent* owner);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void Resize() override;

private:
    friend class TListBoxStrings;
    void ItemsInserted(int index);
    void ItemsDeleted(int index);
    void ItemsCleared();
    void ItemMoved(int from, int to);
    int VisibleRows() const;
    void MakeVisible(int index);
    // A selection made by the user: moves the caret, selects as the mode
    // and the held keys say, and runs Click.
    void UserSelect(int index, TShiftState shift, bool toggle);
    void SelectRange(int from, int to);

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

} // namespace host
