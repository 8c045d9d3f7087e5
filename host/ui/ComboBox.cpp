// Combo boxes: an edit box with a list of items to pick its text from,
// dropped as a list box over the form below the box.

#include "host/core/Guards.h"
#include "host/core/Publisher.h"
#include "host/ui/CellSurface.h"
#include "host/ui/Forms.h"
#include "host/ui/PaintTools.h"
#include "host/ui/PropertyTypes.h"
#include "host/ui/StdCtrls.h"

#include <algorithm>
#include <cctype>
#include <functional>

namespace host {

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomComboBox, TCustomEdit)
HOST_IMPLEMENT_COMPONENT(TComboBox, TCustomComboBox)

namespace {

// The list a combo box drops: a list box that hands its clicks to the box
// and leaves the focus with it.
class TComboDropList : public TListBox {
    HOST_CLASS(TComboDropList, TListBox)
public:
    std::function<void(int)> OnPick;

protected:
    explicit TComboDropList(TComponent* owner) : TListBox(owner) {}
    void MouseDown(TMouseButton button, TShiftState, int x, int y) override {
        const int index = ItemAtPos(Point(x, y), true);
        if (button == mbLeft && index >= 0 && OnPick) OnPick(index);
    }
};

} // namespace

HOST_IMPLEMENT_COMPONENT(TComboDropList, TListBox)

TCustomComboBox::TCustomComboBox(TComponent* owner) : TCustomEdit(owner), FItems(TStringList::Create()) {
    SetBounds(Left(), Top(), 145, 21);
    SetCursor(crDefault);
    FItems->OnChange = [this](TObject*) {
        if (FItemIndex >= FItems->Count() && !Loading()) FItemIndex = -1;
        Invalidate();
    };
}

void TCustomComboBox::Destroy() {
    CloseList();
    inherited::Destroy();
}

void TCustomComboBox::SetItems(const TStrings* value) {
    FItems->Assign(value);
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
}

// A form file may give the index before the items: it waits for Loaded.
bool TCustomComboBox::Loading() const { return ComponentState().Contains(csLoading); }

void TCustomComboBox::Loaded() {
    inherited::Loaded();
    if (FItemIndex >= 0) SetItemIndex(FItemIndex);
}

void TCustomComboBox::SetItemIndex(int value) {
    if (Loading()) {
        FItemIndex = value;
        return;
    }
    if (value < 0 || value >= FItems->Count()) value = -1;
    FItemIndex = value;
    {
        const TScopedFlag picking(FPicking);
        SetText(value >= 0 ? FItems->Get(value) : std::string());
    }
    SelectAll();
    if (FDropList) FDropList->SetItemIndex(value);
    Invalidate();
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
    FStyle = value;
    Invalidate();
}

void TCustomComboBox::SetSorted(bool value) {
    if (FSorted == value) return;
    FSorted = value;
    const std::string current = FItemIndex >= 0 ? FItems->Get(FItemIndex) : std::string();
    FItems->SetSorted(value);
    if (FItemIndex >= 0) FItemIndex = FItems->IndexOf(current);
}

// Text typed (or set) picks the item of that text, when there is one.
void TCustomComboBox::TextChanged() {
    if (!FPicking && !Loading()) FItemIndex = FItems->IndexOf(Text());
    inherited::TextChanged();
}

bool TCustomComboBox::EditCanModify() { return FStyle != csDropDownList && inherited::EditCanModify(); }

void TCustomComboBox::Select() {
    if (OnSelect) OnSelect(this);
}

void TCustomComboBox::UserPick(int index) {
    if (index < 0 || index >= FItems->Count()) return;
    const bool changed = index != FItemIndex || Text() != FItems->Get(index);
    SetItemIndex(index);
    SetModified(true);
    if (changed) Select();
}

void TCustomComboBox::SetDroppedDown(bool value) {
    if (value)
        OpenList();
    else
        CloseList();
}

// The list lies on the form below the box, as wide, DropDownCount items
// high at most, above the other controls.
void TCustomComboBox::OpenList() {
    if (FDropList || FItems->Count() == 0) return;
    TCustomForm* form = GetParentForm(this);
    if (!form) return;
    TComboDropList* list = TComboDropList::Create(this);
    const TRect box = TopLevelBounds(this);
    const int rows = std::min(FDropDownCount, FItems->Count());
    list->SetBounds(box.Left, box.Bottom, box.Width(), rows * kCellHeight);
    list->SetTabStop(false);
    list->Items()->Assign(FItems.get());
    list->SetItemIndex(FItemIndex);
    list->OnPick = [this](int picked) {
        // The list's own message keeps it alive until the message ends.
        CloseList();
        UserPick(picked);
    };
    list->SetParent(form);
    list->BringToFront();
    FDropList.Set(list);
    Invalidate();
}

void TCustomComboBox::CloseList() {
    if (!FDropList) return;
    FDropList.FreeTarget();
    Invalidate();
}

void TCustomComboBox::KeyDown(std::uint16_t& key, TShiftState shift) {
    const bool drop = key == VK_F4 || ((key == VK_DOWN || key == VK_UP) && shift.Contains(ssAlt));
    if (drop) {
        SetDroppedDown(!DroppedDown());
        key = 0;
        return;
    }
    if (FDropList && (key == VK_RETURN || key == VK_ESCAPE)) {
        const int picked = FDropList->ItemIndex();
        CloseList();
        if (key == VK_RETURN) UserPick(picked);
        key = 0;
        return;
    }
    if ((key == VK_UP || key == VK_DOWN) && shift.Empty() && FItems->Count() > 0) {
        const int from = FDropList ? FDropList->ItemIndex() : FItemIndex;
        const int to = std::clamp(from < 0 ? 0 : from + (key == VK_DOWN ? 1 : -1), 0, FItems->Count() - 1);
        if (FDropList)
            FDropList->SetItemIndex(to);
        else
            UserPick(to);
        key = 0;
        return;
    }
    inherited::KeyDown(key, shift);
}

int TCustomComboBox::FindPrefix(char letter) const {
    const int count = FItems->Count();
    const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (int step = 1; step <= count; ++step) {
        const int i = (std::max(FItemIndex, -1) + step) % count;
        const std::string& text = FItems->StringRef(i);
        if (!text.empty() && std::toupper(static_cast<unsigned char>(text[0])) == wanted) return i;
    }
    return -1;
}

void TCustomComboBox::KeyPress(char& key) {
    inherited::KeyPress(key);
    const auto c = static_cast<unsigned char>(key);
    if (FStyle != csDropDownList || c <= 0x20 || c == 0x7F) return;
    const int found = FindPrefix(key);
    if (found >= 0) {
        UserPick(found);
        if (FDropList) FDropList->SetItemIndex(found);
    }
    key = 0;
}

// The button is the box's last cell column inside its frame.
void TCustomComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && (x >= Width() - 2 * kCellWidth || FStyle == csDropDownList)) {
        if (CanFocus() && !Focused()) SetFocus();
        SetDroppedDown(!DroppedDown());
    }
    inherited::MouseDown(button, shift, x, y);
}

void TCustomComboBox::WMKillFocus(TMessage& message) {
    CloseList();
    inherited::WMKillFocus(message);
}

void TCustomComboBox::Paint() {
    inherited::Paint();
    TCanvas& canvas = *Canvas();
    if (Width() < 4 * kCellWidth) return;
    const int top = CenteredTextTop(Height());
    canvas.PutChar(Width() - 2 * kCellWidth, top, U'\u25BC', Enabled() ? clBtnText : clGrayText, clBtnFace);
}

void TComboBox::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TComboBox>();
    p.Redeclare("Cursor").Default(crDefault);
    p.Integer("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount).Default(8);
    p.Integer("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex).Default(-1);
    p.Boolean("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted).Default(false);
    p.Enumeration("Style", &TComboBox::Style, &TComboBox::SetStyle, ComboBoxStyleTypeInfo()).Default(csDropDown);
    p.String("Text", &TComboBox::Text, &TComboBox::SetText, "TCaption").Default("");
    p.Event("OnChange", &TComboBox::OnChange);
    p.Event("OnSelect", &TComboBox::OnSelect);
    p.Strings("Items", &TComboBox::Items);
}

} // namespace host
