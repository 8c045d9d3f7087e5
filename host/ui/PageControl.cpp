// Page controls: a tab row, and below it the active sheet only.

#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/ui/Canvas.h"
#include "host/ui/ComCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/PaintTools.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_COMPONENT(TTabSheet, TWinControl)
HOST_IMPLEMENT_COMPONENT(TPageControl, TWinControl)

// --- TTabSheet ------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetAlign(alClient);
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
}

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(Parent()); }

void TTabSheet::SetPageControl(TPageControl* value) { SetParent(value); }

int TTabSheet::PageIndex() const {
    const TPageControl* control = PageControl();
    if (!control) return -1;
    const auto& pages = control->FPages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetParent(TWinControl* value) {
    if (TPageControl* old = PageControl(); old && old != value) old->RemovePage(this);
    inherited::SetParent(value);
    if (TPageControl* control = PageControl()) control->InsertPage(this);
}

void TTabSheet::TextChanged() {
    inherited::TextChanged();
    if (TPageControl* control = PageControl()) control->Invalidate();
}

void TTabSheet::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(Rect(0, 0, Width(), Height()));
}

// --- TPageControl ------------------------------------------------------------

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks});
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FPages[static_cast<size_t>(index)];
}

void TPageControl::InsertPage(TTabSheet* page) {
    if (std::find(FPages.begin(), FPages.end(), page) != FPages.end()) return;
    FPages.push_back(page);
    page->FreeNotification(this);
    // The first page is active until another is made so; the others hide.
    if (!FActivePage) FActivePage = page;
    ShowActive();
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end()) return;
    const int index = static_cast<int>(it - FPages.begin());
    FPages.erase(it);
    page->RemoveFreeNotification(this);
    if (FActivePage == page)
        FActivePage = FPages.empty() ? nullptr : FPages[static_cast<size_t>(std::min(index, PageCount() - 1))];
    ShowActive();
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove)
        if (auto* page = dynamic_cast<TTabSheet*>(component)) RemovePage(page);
}

void TPageControl::SetActivePage(TTabSheet* value) {
    if (value && value->PageControl() != this) return;
    // A form file names the page before its sheets are read.
    FActivePage = value;
    ShowActive();
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int value) {
    SetActivePage(value >= 0 && value < PageCount() ? FPages[static_cast<size_t>(value)] : nullptr);
}

void TPageControl::Loaded() {
    inherited::Loaded();
    ShowActive();
}

// Only the active sheet shows; the focus does not stay on a hidden one.
void TPageControl::ShowActive() {
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
    TCustomForm* form = GetParentForm(this);
    if (form && form->ComponentState().Contains(csDestroying)) return;
    for (TTabSheet* page : FPages)
        if (page != FActivePage) page->SetVisible(false);
    if (FActivePage) {
        FActivePage->SetVisible(true);
        FActivePage->BringToFront();
    }
    if (form) {
        TWinControl* focused = form->ActiveControl();
        for (TWinControl* c = focused; c; c = c->Parent())
            if (auto* page = dynamic_cast<TTabSheet*>(c); page && page != FActivePage && page->PageControl() == this) {
                if (CanFocus()) SetFocus();
                break;
            }
    }
    Invalidate();
}

void TPageControl::UserSelect(int index) {
    if (index < 0 || index >= PageCount() || index == ActivePageIndex()) return;
    SetActivePageIndex(index);
    if (OnChange) OnChange(this);
}

void TPageControl::SelectNextPage(bool goForward) {
    if (PageCount() == 0) return;
    const int current = std::max(0, ActivePageIndex());
    UserSelect((current + (goForward ? 1 : PageCount() - 1)) % PageCount());
}

// --- tabs -------------------------------------------------------------------------

// The tabs lie along the top row, each " caption " and a bar after it.
TRect TPageControl::TabRect(int index) const {
    int left = 0;
    for (int i = 0; i < PageCount(); ++i) {
        const std::string shown = StripAccelChars(FPages[static_cast<size_t>(i)]->Caption());
        const int width = (static_cast<int>(DecodeUtf8(shown).size()) + 3) * kCellWidth;
        if (i == index) return Rect(left, 0, left + width, kCellHeight);
        left += width;
    }
    return Rect(0, 0, 0, 0);
}

int TPageControl::IndexOfTabAt(int x, int y) const {
    for (int i = 0; i < PageCount(); ++i)
        if (TabRect(i).Contains(Point(x, y))) return i;
    return -1;
}

void TPageControl::AdjustClientRect(TRect& rect) {
    inherited::AdjustClientRect(rect);
    rect.Top = std::min(rect.Bottom, rect.Top + kCellHeight);
}

void TPageControl::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(Rect(0, 0, Width(), Height()));
    const bool focused = Focused();
    for (int i = 0; i < PageCount(); ++i) {
        const TRect tab = TabRect(i);
        if (tab.Left >= Width()) break;
        const bool active = FPages[static_cast<size_t>(i)] == FActivePage;
        const TCanvas::TState saved = canvas.SaveState();
        canvas.IntersectClipRect(Rect(tab.Left, tab.Top, std::min(tab.Right, Width()), tab.Bottom));
        canvas.Brush()->SetColor(active ? clWindow : clBtnFace);
        canvas.Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
        canvas.SetTextAttrs(active && focused ? caReverse : 0);
        canvas.TextOut(tab.Left, tab.Top, " ");
        DrawAccelText(canvas, tab.Left + kCellWidth, tab.Top, FPages[static_cast<size_t>(i)]->Caption());
        canvas.TextOut(tab.Right - 2 * kCellWidth, tab.Top, " ");
        canvas.SetTextAttrs(0);
        canvas.Brush()->SetColor(clBtnFace);
        canvas.TextOut(tab.Right - kCellWidth, tab.Top, "\u2502");
        canvas.RestoreState(saved);
    }
}

void TPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        const int index = IndexOfTabAt(x, y);
        if (index >= 0) {
            if (CanFocus() && !Focused()) SetFocus();
            UserSelect(index);
        }
    }
    inherited::MouseDown(button, shift, x, y);
}

void TPageControl::KeyDown(std::uint16_t& key, TShiftState shift) {
    inherited::KeyDown(key, shift);
    if (key == 0) return;
    // Focused itself, the arrows walk the tabs.
    if ((key == VK_LEFT || key == VK_RIGHT) && shift.Empty()) {
        SelectNextPage(key == VK_RIGHT);
        key = 0;
    } else if (DialogKey(key, shift)) {
        key = 0;
    }
}

bool TPageControl::DialogKey(std::uint16_t& key, TShiftState shift) {
    if (key == VK_TAB && shift.Contains(ssCtrl) && !shift.Contains(ssAlt)) {
        SelectNextPage(!shift.Contains(ssShift));
        return true;
    }
    return inherited::DialogKey(key, shift);
}

void TTabSheet::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TTabSheet>();
    // The page control shows and places its sheets: neither is written.
    p.Redeclare("Align").Stored(false);
    p.Redeclare("Visible").Stored(false);
    p.Component("PageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl).Stored(false);
}

void TPageControl::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TPageControl>();
    p.Redeclare("TabStop").Default(true);
    p.Component("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
    p.Event("OnChange", &TPageControl::OnChange);
}

} // namespace host
