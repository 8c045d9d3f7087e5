// Status bars: panels of text side by side along the form's bottom row.

#include "host/core/Publisher.h"
#include "host/ui/Canvas.h"
#include "host/ui/CellSurface.h"
#include "host/ui/ComCtrls.h"
#include "host/ui/PropertyTypes.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_COLLECTION_ITEM(TStatusPanel, TCollectionItem)
HOST_IMPLEMENT_CLASS(TStatusPanels, TCollection)
HOST_IMPLEMENT_COMPONENT(TStatusBar, TWinControl)

// --- TStatusPanel -----------------------------------------------------------------

void TStatusPanel::SetText(const std::string& value) {
    FText = value;
    Changed(false);
}

void TStatusPanel::SetWidth(int value) {
    FWidth = std::max(0, value);
    Changed(false);
}

void TStatusPanel::SetAlignment(TAlignment value) {
    FAlignment = value;
    Changed(false);
}

void TStatusPanel::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TStatusPanel*>(source)) {
        FText = other->FText;
        FWidth = other->FWidth;
        FAlignment = other->FAlignment;
        Changed(false);
        return;
    }
    inherited::Assign(source);
}

void TStatusPanel::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TStatusPanel>();
    p.Enumeration("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment, AlignmentTypeInfo())
        .Default(taLeftJustify);
    p.String("Text", &TStatusPanel::Text, &TStatusPanel::SetText).Default("");
    p.Integer("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth);
}

// --- TStatusPanels ------------------------------------------------------------------

TStatusPanels::TStatusPanels(TStatusBar* bar) : TCollection(TStatusPanel::ClassInfo()), FBar(bar) {}

void TStatusPanels::Update(TCollectionItem*) {
    if (FBar) FBar->Invalidate();
}

// --- TStatusBar -------------------------------------------------------------------

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), FPanels(TStatusPanels::Create(this)) {
    SetBounds(0, 0, 19 * 10, 19);
    SetAlign(alBottom);
    SetColor(clBtnFace);
    SetControlStyle({csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
}

void TStatusBar::SetSimplePanel(bool value) {
    FSimplePanel = value;
    Invalidate();
}

void TStatusBar::SetSimpleText(const std::string& value) {
    FSimpleText = value;
    Invalidate();
}

// One row, the bar's last: each panel's text in its width, a bar between
// panels; the last panel takes what is left.
void TStatusBar::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(Rect(0, 0, Width(), Height()));
    canvas.Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
    const int top = std::max(0, Height() - kCellHeight);
    if (FSimplePanel || FPanels->Count() == 0) {
        const TCanvas::TState saved = canvas.SaveState();
        canvas.IntersectClipRect(Rect(0, top, Width(), top + kCellHeight));
        canvas.TextOut(0, top, FSimplePanel ? FSimpleText : Caption());
        canvas.RestoreState(saved);
        return;
    }
    int left = 0;
    for (int i = 0; i < FPanels->Count() && left < Width(); ++i) {
        const TStatusPanel& panel = *FPanels->Items(i);
        const bool last = i + 1 == FPanels->Count();
        const int right = last ? Width() : std::min(Width(), left + std::max(panel.Width(), kCellWidth));
        PaintPanel(panel, left, last ? right : right - kCellWidth, top);
        if (!last) canvas.TextOut(right - kCellWidth, top, "\u2502");
        left = right;
    }
}

void TStatusBar::PaintPanel(const TStatusPanel& panel, int left, int right, int top) {
    TCanvas& canvas = *Canvas();
    if (right <= left) return;
    const int width = canvas.TextWidth(panel.Text());
    int x = left;
    if (panel.Alignment() == taRightJustify) x = std::max(left, right - width);
    if (panel.Alignment() == taCenter) x = std::max(left, left + (right - left - width) / 2 / kCellWidth * kCellWidth);
    canvas.TextRect(Rect(left, top, right, top + kCellHeight), x, top, panel.Text());
}

void TStatusBar::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TStatusBar>();
    p.Redeclare("Align").Default(alBottom);
    p.Redeclare("Color").Default(clBtnFace);
    p.Redeclare("ParentColor").Default(false);
    p.Collection("Panels", &TStatusBar::Panels);
    p.Boolean("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel).Default(false);
    p.String("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText).Default("");
}

} // namespace host
