#include "host/ui/Canvas.h"
#include "host/ui/Controls.h"
#include "host/ui/Forms.h"

#include <vector>

namespace host {

namespace {

bool Overlap(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TPoint Add(TPoint a, TPoint b) { return Point(a.X + b.X, a.Y + b.Y); }

// Gives the control's Paint its canvas for the length of the call, even
// when Paint raises.
class TPaintScope {
public:
    TPaintScope(TCanvas*& slot, TCanvas& canvas) : FSlot(slot) { FSlot = &canvas; }
    ~TPaintScope() { FSlot = nullptr; }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;

private:
    TCanvas*& FSlot;
};

class TCanvasStateScope {
public:
    explicit TCanvasStateScope(TCanvas& canvas) : FCanvas(canvas), FState(canvas.SaveState()) {}
    ~TCanvasStateScope() { FCanvas.RestoreState(FState); }
    TCanvasStateScope(const TCanvasStateScope&) = delete;
    TCanvasStateScope& operator=(const TCanvasStateScope&) = delete;

private:
    TCanvas& FCanvas;
    TCanvas::TState FState;
};

} // namespace

void TControl::Invalidate() {
    ++FInvalidateCount;
    FPaintPending = true;
}

void TControl::Update() {
    if (TCustomForm* form = GetParentForm(this)) form->PaintInvalid();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::PaintTo(TCanvas& canvas, TPoint origin) {
    {
        TCanvasStateScope state(canvas);
        canvas.SetOrigin(Add(canvas.Origin(), origin));
        canvas.IntersectClipRect(PaintRect());
        canvas.SetFont(FFont.get());
        canvas.Brush()->SetColor(FColor);
        canvas.Pen()->SetColor(clWindowFrame);
        canvas.Pen()->SetStyle(psSolid);
        canvas.SetTextAttrs(0);
        TPaintScope scope(FCanvas, canvas);
        FPaintPending = false;
        Paint();
    }
    auto* self = dynamic_cast<TWinControl*>(this);
    if (!self) return;
    TCanvasStateScope state(canvas);
    const TRect area = PaintRect();
    canvas.IntersectClipRect(Rect(origin.X + area.Left, origin.Y + area.Top, origin.X + area.Right, origin.Y + area.Bottom));
    const TPoint client = Add(origin, PaintClientOffset());
    for (TControl* child : self->FControls)
        if (child->FVisible) child->PaintTo(canvas, Add(client, Point(child->FLeft, child->FTop)));
}

bool TControl::PaintInvalidTo(TCanvas& canvas, TPoint origin) {
    if (FPaintPending) {
        PaintTo(canvas, origin);
        return true;
    }
    auto* self = dynamic_cast<TWinControl*>(this);
    if (!self) return false;
    TCanvasStateScope state(canvas);
    const TRect area = PaintRect();
    canvas.IntersectClipRect(Rect(origin.X + area.Left, origin.Y + area.Top, origin.X + area.Right, origin.Y + area.Bottom));
    const TPoint client = Add(origin, PaintClientOffset());
    // A child painted again covers the controls above it that it overlaps:
    // they paint again too.
    std::vector<TRect> painted;
    bool any = false;
    for (TControl* child : self->FControls) {
        if (!child->FVisible) continue;
        const TRect bounds = child->BoundsRect();
        for (const TRect& below : painted)
            if (Overlap(below, bounds)) child->FPaintPending = true;
        if (child->PaintInvalidTo(canvas, Add(client, Point(child->FLeft, child->FTop)))) {
            painted.push_back(bounds);
            any = true;
        }
    }
    return any;
}

} // namespace host
