#include "host/ui/Controls.h"

#include "host/core/Guards.h"

#include <algorithm>

namespace host {

void TWinControl::Realign() {
    if (FAlignDisabled > 0) {
        FAlignPending = true;
        return;
    }
    // The children's own moves during a layout do not start another one.
    if (FAligning || ComponentState().Contains(csDestroying)) return;
    const TScopedFlag aligning(FAligning);
    TRect rect = ClientRect();
    AdjustClientRect(rect);
    AlignControls(nullptr, rect);
}

void TWinControl::EnableAlign() {
    if (FAlignDisabled == 0) return;
    if (--FAlignDisabled == 0 && FAlignPending) {
        FAlignPending = false;
        Realign();
    }
}

namespace {

// Docks one child against the side of Rect its alignment names and takes
// the space it covers out of Rect.
void Dock(TControl* child, TRect& rect) {
    int width = child->Width();
    int height = child->Height();
    const int freeWidth = std::max(rect.Width(), 0);
    const int freeHeight = std::max(rect.Height(), 0);
    switch (child->Align()) {
    case alTop:
    case alBottom: width = freeWidth; break;
    case alLeft:
    case alRight: height = freeHeight; break;
    case alClient:
        width = freeWidth;
        height = freeHeight;
        break;
    case alNone: return;
    }
    child->Constraints()->Constrain(width, height);
    switch (child->Align()) {
    case alTop:
        child->SetBounds(rect.Left, rect.Top, width, height);
        rect.Top += height;
        break;
    case alBottom:
        child->SetBounds(rect.Left, rect.Bottom - height, width, height);
        rect.Bottom -= height;
        break;
    case alLeft:
        child->SetBounds(rect.Left, rect.Top, width, height);
        rect.Left += width;
        break;
    case alRight:
        child->SetBounds(rect.Right - width, rect.Top, width, height);
        rect.Right -= width;
        break;
    case alClient: child->SetBounds(rect.Left, rect.Top, width, height); break;
    case alNone: break;
    }
}

} // namespace

void TWinControl::AlignControls(TControl* /*control*/, TRect& rect) {
    // Top and bottom first, then left and right in what is left, then the
    // client children; among equals, the order of Controls.
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (size_t i = 0; i < FControls.size(); ++i) {
            TControl* child = FControls[i];
            if (child->Align() == align && child->Visible()) Dock(child, rect);
        }
    }
    // Anchored controls follow the parent's whole client area once it is read.
    if (ComponentState().Contains(csLoading)) return;
    const TRect client = ClientRect();
    for (size_t i = 0; i < FControls.size(); ++i) FControls[i]->ApplyAnchors(TPoint{client.Width(), client.Height()});
}

} // namespace host
