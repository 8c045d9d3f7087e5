// Radio groups: a group box of items, one picked, each drawn as a mark and
// its text inside the frame.

#include "host/core/Publisher.h"
#include "host/ui/Canvas.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/PaintTools.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomRadioGroup, TCustomGroupBox)
HOST_IMPLEMENT_COMPONENT(TRadioGroup, TCustomRadioGroup)

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner), FItems(TStringList::Create()) {
    SetTabStop(true);
    // Its clicks are the picks it makes, not every press of the mouse.
    SetControlStyle({csCaptureMouse, csSetCaption, csDoubleClicks, csReplicatable});
    FItems->OnChange = [this](TObject*) {
        // A form file gives the index before the items: it waits for Loaded.
        if (!ComponentState().Contains(csLoading) && FItemIndex >= FItems->Count()) FItemIndex = -1;
        Invalidate();
    };
}

void TCustomRadioGroup::Loaded() {
    inherited::Loaded();
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
}

void TCustomRadioGroup::SetItemIndex(int value) {
    if (ComponentState().Contains(csLoading)) {
        FItemIndex = value;
        return;
    }
    FItemIndex = value >= 0 && value < FItems->Count() ? value : -1;
    Invalidate();
}

void TCustomRadioGroup::SetColumns(int value) {
    FColumns = std::clamp(value, 1, 16);
    Invalidate();
}

int TCustomRadioGroup::RowsPerColumn() const {
    const int count = FItems->Count();
    return std::max(1, (count + FColumns - 1) / FColumns);
}

TRect TCustomRadioGroup::ItemRect(int index) const {
    // Inside the group box's frame, below its caption line.
    const TRect inner = Rect(kCellWidth, kCellHeight, std::max(kCellWidth, Width() - kCellWidth), Height());
    const int rows = RowsPerColumn();
    // Columns share the inside in whole cells.
    const int columnWidth = std::max(1, inner.Width() / kCellWidth / FColumns) * kCellWidth;
    const int left = inner.Left + (index / rows) * columnWidth;
    const int top = inner.Top + (index % rows) * kCellHeight;
    return Rect(left, top, left + columnWidth, top + kCellHeight);
}

int TCustomRadioGroup::ItemAtPos(TPoint pos) const {
    for (int i = 0; i < FItems->Count(); ++i)
        if (ItemRect(i).Contains(pos)) return i;
    return -1;
}

void TCustomRadioGroup::UserPick(int index) {
    if (index < 0 || index >= FItems->Count() || index == FItemIndex) return;
    SetItemIndex(index);
    Click();
}

void TCustomRadioGroup::KeyDown(std::uint16_t& key, TShiftState shift) {
    inherited::KeyDown(key, shift);
    if (FItems->Count() == 0 || !shift.Empty()) return;
    const int from = FItemIndex < 0 ? 0 : FItemIndex;
    switch (key) {
    case VK_UP:
    case VK_LEFT: UserPick(std::max(0, FItemIndex < 0 ? 0 : from - 1)); break;
    case VK_DOWN:
    case VK_RIGHT: UserPick(std::min(FItems->Count() - 1, FItemIndex < 0 ? 0 : from + 1)); break;
    default: return;
    }
    key = 0;
}

void TCustomRadioGroup::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        UserPick(ItemAtPos(Point(x, y)));
    }
    inherited::MouseDown(button, shift, x, y);
}

// "(•) text" for the picked item, "( ) text" for the others; the focused
// group shows its picked item's text reversed.
void TCustomRadioGroup::Paint() {
    inherited::Paint();
    TCanvas& canvas = *Canvas();
    const bool focused = Focused();
    for (int i = 0; i < FItems->Count(); ++i) {
        const TRect rect = ItemRect(i);
        if (rect.Top >= Height() - kCellHeight / 2) break;
        const TCanvas::TState saved = canvas.SaveState();
        canvas.IntersectClipRect(rect);
        canvas.Brush()->SetColor(Color());
        canvas.Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
        canvas.TextOut(rect.Left, rect.Top, i == FItemIndex ? "(\u2022) " : "( ) ");
        const bool highlight = focused && i == FItemIndex;
        if (highlight) {
            canvas.Brush()->SetColor(clHighlight);
            canvas.Font()->SetColor(clHighlightText);
            canvas.SetTextAttrs(caReverse);
        }
        DrawAccelText(canvas, rect.Left + 4 * kCellWidth, rect.Top, FItems->Get(i));
        canvas.SetTextAttrs(0);
        canvas.RestoreState(saved);
    }
}

void TRadioGroup::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TRadioGroup>();
    // What a new one is, is not written.
    p.Redeclare("ParentColor").Default(false);
    p.Redeclare("TabStop").Default(true);
    p.Integer("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns).Default(1);
    p.Integer("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex).Default(-1);
    p.Strings("Items", &TRadioGroup::Items);
}

} // namespace host
