// How panels, speed buttons and bit buttons look.

#include "host/ui/Buttons.h"
#include "host/ui/Canvas.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/PaintTools.h"
#include "host/ui/SpeedButton.h"

namespace host {

// The face colour with a frame for the bevels (a raised outer bevel in
// the light colour, a lowered one in the shadow), the caption centred.
void TCustomPanel::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect all = Rect(0, 0, Width(), Height());
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(all);
    if (FBorderStyle == bsSingle)
        DrawBoxFrame(canvas, all, clWindowFrame);
    else if (FBevelOuter != bvNone && FBevelOuter != bvSpace)
        DrawBoxFrame(canvas, all, FBevelOuter == bvRaised ? clBtnHighlight : clBtnShadow);
    if (Caption().empty()) return;
    canvas.Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
    canvas.Brush()->SetStyle(bsClear);
    const TRect inner = InnerRect();
    const int cells = canvas.CellRect(all).Height();
    const int top = cells >= 3 ? CenteredTextTop(Height()) : 0;
    const int width = AccelTextWidth(canvas, Caption());
    const int left = AlignedTextLeft(inner.Left, inner.Width(), width, FAlignment);
    DrawAccelText(canvas, left < inner.Left ? inner.Left : left, top, Caption());
}

// The glyph (or the caption when there is none) centred on the face; held
// down it shows reversed. A flat button keeps its parent's colour.
void TSpeedButton::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect all = Rect(0, 0, Width(), Height());
    if (!FFlat) {
        canvas.Brush()->SetColor(clBtnFace);
        canvas.FillRect(all);
    }
    if (!FGlyph->Empty()) {
        const int x = (Width() - FGlyph->Width()) / 2;
        const int y = (Height() - FGlyph->Height()) / 2;
        canvas.DrawGlyph(x, y, FGlyph.get(), Rect(0, 0, FGlyph->Width(), FGlyph->Height()));
    } else {
        canvas.Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
        canvas.Brush()->SetStyle(bsClear);
        const int width = canvas.TextWidth(Caption());
        canvas.TextOut(AlignedTextLeft(0, Width(), width, taCenter), CenteredTextTop(Height()), Caption());
    }
    if (!FPressed) return;
    const TRect cells = canvas.CellRect(all);
    for (int r = cells.Top; r < cells.Bottom; ++r)
        for (int c = cells.Left; c < cells.Right; ++c) {
            TCell cell = canvas.Surface().CellAt(c, r);
            const TPoint at = canvas.Origin();
            canvas.PutChar(c * kCellWidth - at.X, r * kCellHeight - at.Y, cell.Ch, cell.Fore, cell.Back,
                           static_cast<TCellAttrs>(cell.Attrs | caReverse));
        }
}

// The first image of the glyph, then a space, then the caption, centred
// together. Where the caption and the glyph do not both fit, the caption
// alone: it is what names the button.
void TBitBtn::PaintFace(TCanvas& canvas, const TRect& inner, int textTop) {
    if (FGlyph->Empty()) {
        inherited::PaintFace(canvas, inner, textTop);
        return;
    }
    const int imageWidth = FGlyph->Width() / FNumGlyphs;
    const int glyphCells = (imageWidth + kCellWidth - 1) / kCellWidth;
    const int textWidth = AccelTextWidth(canvas, Caption());
    const int total = glyphCells * kCellWidth + (Caption().empty() ? 0 : kCellWidth + textWidth);
    if (total > inner.Width() && !Caption().empty()) {
        inherited::PaintFace(canvas, inner, textTop);
        return;
    }
    const int left = AlignedTextLeft(inner.Left, inner.Width(), total, taCenter);
    TCanvas::TState saved = canvas.SaveState();
    canvas.IntersectClipRect(inner);
    const int glyphTop = textTop + (kCellHeight - FGlyph->Height()) / 2;
    canvas.DrawGlyph(left, glyphTop, FGlyph.get(), Rect(0, 0, imageWidth, FGlyph->Height()));
    canvas.RestoreState(saved);
    if (!Caption().empty()) PaintCaption(canvas, inner, left + (glyphCells + 1) * kCellWidth, textTop);
}

} // namespace host
