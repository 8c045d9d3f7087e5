#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/core/TextUtils.h"
#include "host/ui/CellSurface.h"
#include "host/ui/PaintTools.h"
#include "host/ui/PropertyTypes.h"
#include "host/ui/StdCtrls.h"

#include <algorithm>
#include <cctype>

namespace host {

HOST_IMPLEMENT_CLASS(TListBoxStrings, TStrings)
HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomListBox, TWinControl)
HOST_IMPLEMENT_COMPONENT(TListBox, TCustomListBox)

// --- TListBoxStrings ------------------------------------------------------------

void TListBoxStrings::Check(int index, int count) const {
    if (index < 0 || index >= count) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

std::string TListBoxStrings::Get(int index) const {
    Check(index, Count());
    return FItems[static_cast<size_t>(index)].Text;
}

void TListBoxStrings::Put(int index, const std::string& s) {
    Check(index, Count());
    FItems[static_cast<size_t>(index)].Text = s;
    if (FListBox->Sorted()) {
        // The item takes its place in the order, selection and all.
        Item item = FItems[static_cast<size_t>(index)];
        FItems.erase(FItems.begin() + index);
        auto at = std::upper_bound(FItems.begin(), FItems.end(), item.Text,
                                   [](const std::string& t, const Item& i) { return CompareText(t, i.Text) < 0; });
        const int to = static_cast<int>(at - FItems.begin());
        FItems.insert(at, item);
        if (to != index) FListBox->ItemMoved(index, to);
    }
    FListBox->Invalidate();
}

TObject* TListBoxStrings::Objects(int index) const {
    Check(index, Count());
    return FItems[static_cast<size_t>(index)].Object;
}

void TListBoxStrings::PutObject(int index, TObject* object) {
    Check(index, Count());
    FItems[static_cast<size_t>(index)].Object = object;
}

int TListBoxStrings::Add(const std::string& s) {
    if (!FListBox->Sorted()) return inherited::Add(s);
    auto at = std::upper_bound(FItems.begin(), FItems.end(), s,
                               [](const std::string& t, const Item& i) { return CompareText(t, i.Text) < 0; });
    const int index = static_cast<int>(at - FItems.begin());
    Insert(index, s);
    return index;
}

void TListBoxStrings::Insert(int index, const std::string& s) {
    Check(index, Count() + 1);
    FItems.insert(FItems.begin() + index, Item{s, nullptr, false});
    FListBox->ItemsInserted(index);
}

void TListBoxStrings::Delete(int index) {
    Check(index, Count());
    FItems.erase(FItems.begin() + index);
    FListBox->ItemsDeleted(index);
}

void TListBoxStrings::Clear() {
    FItems.clear();
    FListBox->ItemsCleared();
}

void TListBoxStrings::SortItems() {
    std::stable_sort(FItems.begin(), FItems.end(),
                     [](const Item& a, const Item& b) { return CompareText(a.Text, b.Text) < 0; });
}

// --- TCustomListBox: items and selection -------------------------------------------

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner), FItems(TListBoxStrings::Create(this)) {
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    // The list makes its own clicks from its selections.
    SetControlStyle({csSetCaption, csDoubleClicks});
}

void TCustomListBox::ItemsInserted(int index) {
    if (FItemIndex >= index) ++FItemIndex;
    if (FAnchor >= index) ++FAnchor;
    Invalidate();
}

void TCustomListBox::ItemsDeleted(int index) {
    auto adjust = [index](int& i) {
        if (i == index)
            i = -1;
        else if (i > index)
            --i;
    };
    adjust(FItemIndex);
    adjust(FAnchor);
    SetTopIndex(FTopIndex);
    Invalidate();
}

void TCustomListBox::ItemsCleared() {
    FItemIndex = -1;
    FAnchor = -1;
    FTopIndex = 0;
    Invalidate();
}

void TCustomListBox::ItemMoved(int from, int to) {
    auto follow = [from, to](int& i) {
        if (i == from)
            i = to;
        else if (from < to && i > from && i <= to)
            --i;
        else if (to < from && i >= to && i < from)
            ++i;
    };
    follow(FItemIndex);
    follow(FAnchor);
}

void TCustomListBox::SetItemIndex(int value) {
    if (value < 0 || value >= Count()) value = -1;
    if (FMultiSelect) {
        if (value >= 0) FItems->FItems[static_cast<size_t>(value)].Selected = true;
    }
    FItemIndex = value;
    FAnchor = value;
    if (value >= 0) MakeVisible(value);
    Invalidate();
}

bool TCustomListBox::Selected(int index) const {
    FItems->Check(index, Count());
    return FMultiSelect ? FItems->FItems[static_cast<size_t>(index)].Selected : index == FItemIndex;
}

void TCustomListBox::SetSelected(int index, bool value) {
    FItems->Check(index, Count());
    if (FMultiSelect)
        FItems->FItems[static_cast<size_t>(index)].Selected = value;
    else if (value)
        FItemIndex = index;
    else if (FItemIndex == index)
        FItemIndex = -1;
    Invalidate();
}

int TCustomListBox::SelCount() const {
    if (!FMultiSelect) return FItemIndex >= 0 ? 1 : 0;
    return static_cast<int>(std::count_if(FItems->FItems.begin(), FItems->FItems.end(),
                                          [](const TListBoxStrings::Item& i) { return i.Selected; }));
}

void TCustomListBox::ClearSelection() {
    for (auto& item : FItems->FItems) item.Selected = false;
    if (!FMultiSelect) FItemIndex = -1;
    Invalidate();
}

void TCustomListBox::SelectAll() {
    if (!FMultiSelect) return;
    for (auto& item : FItems->FItems) item.Selected = true;
    Invalidate();
}

void TCustomListBox::SelectRange(int from, int to) {
    if (from > to) std::swap(from, to);
    for (int i = 0; i < Count(); ++i) FItems->FItems[static_cast<size_t>(i)].Selected = i >= from && i <= to;
}

void TCustomListBox::SetMultiSelect(bool value) {
    if (FMultiSelect == value) return;
    // The one selected item is the only one kept selected either way.
    for (size_t i = 0; i < FItems->FItems.size(); ++i)
        FItems->FItems[i].Selected = static_cast<int>(i) == FItemIndex;
    FMultiSelect = value;
    Invalidate();
}

void TCustomListBox::SetSorted(bool value) {
    if (FSorted == value) return;
    FSorted = value;
    if (!value) return;
    // The selected item and the anchor stay with their items.
    const auto& items = FItems->FItems;
    std::vector<int> order(items.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(),
                     [&items](int a, int b) { return CompareText(items[static_cast<size_t>(a)].Text, items[static_cast<size_t>(b)].Text) < 0; });
    auto newIndex = [&order](int old) {
        if (old < 0) return old;
        return static_cast<int>(std::find(order.begin(), order.end(), old) - order.begin());
    };
    FItemIndex = newIndex(FItemIndex);
    FAnchor = newIndex(FAnchor);
    FItems->SortItems();
    Invalidate();
}

// --- TCustomListBox: view ---------------------------------------------------------------

int TCustomListBox::ItemHeight() const { return kCellHeight; }

int TCustomListBox::FormTop() const { return TopLevelBounds(this).Top; }

namespace {
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
} // namespace

int TCustomListBox::RowAt(int y) const {
    const int top = FormTop();
    return FloorDiv(top + y, kCellHeight) - PixelToRow(top);
}

// A row shows when a click in its middle lands on the list: the cell a
// rounded edge half covers belongs to the control on the other side.
int TCustomListBox::VisibleRows() const {
    const int top = FormTop();
    return std::max(1, FloorDiv(ClientHeight() - kCellHeight / 2 - 1 + top, kCellHeight) - PixelToRow(top) + 1);
}

void TCustomListBox::SetTopIndex(int value) {
    const int last = std::max(0, Count() - VisibleRows());
    FTopIndex = std::clamp(value, 0, last);
    Invalidate();
}

void TCustomListBox::MakeVisible(int index) {
    if (index < FTopIndex)
        SetTopIndex(index);
    else if (index >= FTopIndex + VisibleRows())
        SetTopIndex(index - VisibleRows() + 1);
}

void TCustomListBox::Resize() {
    // More rows in view may leave room above the first one.
    SetTopIndex(FTopIndex);
    inherited::Resize();
}

int TCustomListBox::ItemAtPos(TPoint pos, bool existing) const {
    const int row = RowAt(pos.Y);
    if (!ClientRect().Contains(pos) || row < 0 || row >= VisibleRows()) return existing ? -1 : Count();
    const int index = FTopIndex + row;
    if (index < Count()) return index;
    return existing ? -1 : Count();
}

TRect TCustomListBox::ItemRect(int index) const {
    const int formTop = FormTop();
    const int top = (PixelToRow(formTop) + index - FTopIndex) * kCellHeight - formTop;
    return Rect(0, top, ClientWidth(), top + kCellHeight);
}

// --- TCustomListBox: the user ------------------------------------------------------

void TCustomListBox::UserSelect(int index, TShiftState shift, bool toggle) {
    if (index < 0 || index >= Count()) return;
    if (!FMultiSelect) {
        FItemIndex = index;
        FAnchor = index;
    } else if (toggle || !FExtendedSelect || shift.Contains(ssCtrl)) {
        auto& item = FItems->FItems[static_cast<size_t>(index)];
        item.Selected = !item.Selected;
        FItemIndex = index;
        FAnchor = index;
    } else if (shift.Contains(ssShift) && FAnchor >= 0) {
        SelectRange(FAnchor, index);
        FItemIndex = index;
    } else {
        SelectRange(index, index);
        FItemIndex = index;
        FAnchor = index;
    }
    MakeVisible(index);
    Invalidate();
    Click();
}

void TCustomListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        // The second press of a double click leaves the selection alone.
        if (!shift.Contains(ssDouble)) UserSelect(ItemAtPos(Point(x, y), true), shift, false);
    }
    inherited::MouseDown(button, shift, x, y);
}

bool TCustomListBox::DoMouseWheelDown(TShiftState, TPoint) {
    SetTopIndex(FTopIndex + WHEEL_SCROLL_LINES);
    return true;
}

bool TCustomListBox::DoMouseWheelUp(TShiftState, TPoint) {
    SetTopIndex(FTopIndex - WHEEL_SCROLL_LINES);
    return true;
}

void TCustomListBox::KeyDown(std::uint16_t& key, TShiftState shift) {
    inherited::KeyDown(key, shift);
    if (Count() == 0) return;
    const int current = FItemIndex;
    int target = -1;
    switch (key) {
    case VK_UP: target = current < 0 ? 0 : current - 1; break;
    case VK_DOWN: target = current < 0 ? 0 : current + 1; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = Count() - 1; break;
    case VK_PRIOR: target = current < 0 ? 0 : current - VisibleRows() + 1; break;
    case VK_NEXT: target = current < 0 ? 0 : current + VisibleRows() - 1; break;
    case VK_SPACE:
        if (FMultiSelect && !FExtendedSelect && current >= 0) {
            UserSelect(current, {}, true);
            key = 0;
        }
        return;
    default: return;
    }
    key = 0;
    target = std::clamp(target, 0, Count() - 1);
    if (FMultiSelect && !FExtendedSelect) {
        // The caret moves; Space selects.
        FItemIndex = target;
        MakeVisible(target);
        Invalidate();
        return;
    }
    if (!FMultiSelect && target == current) return;
    UserSelect(target, shift - TShiftState{ssCtrl}, false);
}

void TCustomListBox::KeyPress(char& key) {
    inherited::KeyPress(key);
    const auto c = static_cast<unsigned char>(key);
    if (c <= 0x20 || c == 0x7F || Count() == 0) return;
    // The next item, after the current one and round, that starts with it.
    const char wanted = static_cast<char>(std::toupper(c));
    for (int step = 1; step <= Count(); ++step) {
        const int i = (std::max(FItemIndex, -1) + step) % Count();
        const std::string text = FItems->Get(i);
        if (!text.empty() && std::toupper(static_cast<unsigned char>(text[0])) == wanted) {
            if (i != FItemIndex || FMultiSelect) UserSelect(i, {}, false);
            break;
        }
    }
    key = 0;
}

void TListBox::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TListBox>();
    // What a new one is, is not written.
    p.Redeclare("ParentColor").Default(false);
    p.Redeclare("TabStop").Default(true);
    p.Boolean("ExtendedSelect", &TListBox::ExtendedSelect, &TListBox::SetExtendedSelect).Default(true);
    p.Integer("ItemHeight", &TListBox::StoredItemHeight, &TListBox::SetItemHeight).Default(13);
    p.Strings("Items", &TListBox::Items);
    p.Boolean("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect).Default(false);
    p.Boolean("Sorted", &TListBox::Sorted, &TListBox::SetSorted).Default(false);
    // OnClick and OnDblClick are every control's, published with TControl.
}

} // namespace host
