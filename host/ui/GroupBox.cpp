#include "host/core/Publisher.h"
#include "host/ui/Canvas.h"
#include "host/ui/PaintTools.h"
#include "host/ui/PropertyTypes.h"
#include "host/ui/StdCtrls.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomGroupBox, TCustomControl)
HOST_IMPLEMENT_COMPONENT(TGroupBox, TCustomGroupBox)

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 185, 105);
    SetColor(clBtnFace);
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks,
                     csReplicatable});
}

void TCustomGroupBox::AdjustClientRect(TRect& rect) {
    inherited::AdjustClientRect(rect);
    // Below the caption line and inside the frame's sides.
    rect.Top += kCellHeight;
    rect.Left += kCellWidth;
    rect.Right = std::max(rect.Left, rect.Right - kCellWidth);
    rect.Bottom = std::max(rect.Top, rect.Bottom - kCellHeight);
}

// A frame with the caption in its top line.
void TCustomGroupBox::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect all = Rect(0, 0, Width(), Height());
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(all);
    DrawBoxFrame(canvas, all, clBtnShadow);
    if (Caption().empty()) return;
    canvas.Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
    canvas.Brush()->SetColor(Color());
    const TRect cells = canvas.CellRect(all);
    TCanvas::TState saved = canvas.SaveState();
    canvas.IntersectClipRect(Rect(kCellWidth, 0, (cells.Width() - 1) * kCellWidth, kCellHeight));
    canvas.TextOut(2 * kCellWidth, 0, " ");
    DrawAccelText(canvas, 3 * kCellWidth, 0, Caption());
    canvas.TextOut(3 * kCellWidth + AccelTextWidth(canvas, Caption()), 0, " ");
    canvas.RestoreState(saved);
}

void TGroupBox::DeclarePublished(TPublisher& publisher) {
    // Caption, colours and font are every control's; nothing of its own but
    // what a new one is, which is not written.
    publisher.Of<TGroupBox>().Redeclare("ParentColor").Default(false);
}

} // namespace host
