// How the standard controls look: edits, buttons, list boxes, static text.

#include "host/ui/Canvas.h"
#include "host/ui/PaintTools.h"
#include "host/ui/StdCtrls.h"

namespace host {

// --- edits ------------------------------------------------------------------

void TCustomEdit::SetTextHint(const std::string& value) {
    if (FTextHint == value) return;
    FTextHint = value;
    if (Text().empty()) Invalidate();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
    value = value == bsNone ? bsNone : bsSingle;
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    Invalidate();
}

// One line: the text between brackets (the frame), scrolled so the caret
// shows; the selection highlighted while the box has the focus. A
// read-only box has the face colour, a disabled one grey text.
void TCustomEdit::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect all = Rect(0, 0, Width(), Height());
    canvas.Brush()->SetColor(FReadOnly ? clBtnFace : Color());
    canvas.FillRect(all);
    const bool framed = FBorderStyle == bsSingle;
    if (framed) {
        canvas.Brush()->SetColor(Enabled() ? clWindowFrame : clGrayText);
        canvas.FrameRect(all);
        canvas.Brush()->SetColor(FReadOnly ? clBtnFace : Color());
    }
    const int left = framed ? kCellWidth : 0;
    const int room = CellColumns(canvas, all) - (framed ? 2 : 0);
    if (room <= 0) return;
    const bool focused = Focused();
    if (Text().empty() && !focused && !FTextHint.empty()) {
        PaintTextHint(canvas, left, room);
        return;
    }
    const std::u32string chars = DecodeUtf8(Text());
    const int caret = CaretPos();
    const int selFrom = SelStart();
    const int selTo = selFrom + SelLength();
    // Scrolled to the caret while focused; from the start otherwise. Right
    // aligned text that fits ends at the box's right edge (the caret after it).
    const int count = static_cast<int>(chars.size());
    const bool right = FAlignment == taRightJustify && count <= room;
    const int first = right ? count - room : focused && caret >= room ? caret - room + 1 : 0;
    const int top = CenteredTextTop(Height());
    const TColor text = Enabled() ? Font()->Color() : clGrayText;
    const TColor back = canvas.Brush()->Color();
    for (int i = std::max(first, 0); i < count && i - first < room; ++i) {
        const bool selected = focused && i >= selFrom && i < selTo;
        canvas.PutChar(left + (i - first) * kCellWidth, top, chars[static_cast<size_t>(i)],
                       selected ? clHighlightText : text, selected ? clHighlight : back,
                       selected ? caReverse : 0);
    }
    if (focused) canvas.SetCaretPos(left + (caret - first) * kCellWidth, top);
}

void TCustomEdit::PaintTextHint(TCanvas& canvas, int left, int room) {
    const std::u32string hint = DecodeUtf8(FTextHint);
    const int top = CenteredTextTop(Height());
    const TColor back = canvas.Brush()->Color();
    for (int i = 0; i < static_cast<int>(hint.size()) && i < room; ++i)
        canvas.PutChar(left + i * kCellWidth, top, hint[static_cast<size_t>(i)], clGrayText, back);
}

// --- buttons ----------------------------------------------------------------

// A button is its caption between brackets on the face colour, one row:
// rows above and below it are the parent's (a panel's edge stays whole).
// The default button's caption is bold, the focused one's reversed; held
// down, the caption moves a cell to the right.
void TButton::Paint() {
    TCanvas& canvas = *Canvas();
    const int top = CenteredTextTop(Height());
    const TRect all = Rect(0, top, Width(), top + kCellHeight);
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(all);
    const int columns = CellColumns(canvas, all);
    const TColor edge = Enabled() ? clBtnText : clGrayText;
    canvas.PutChar(0, top, U'[', edge, clBtnFace, FDefault ? caBold : 0);
    if (columns > 1) canvas.PutChar((columns - 1) * kCellWidth, top, U']', edge, clBtnFace, FDefault ? caBold : 0);
    if (columns <= 2) return;
    // Held down, the face moves a cell right, cut at the bracket.
    const int shift = Pressed() ? kCellWidth : 0;
    const TCanvas::TState saved = canvas.SaveState();
    canvas.IntersectClipRect(Rect(kCellWidth, 0, (columns - 1) * kCellWidth, Height()));
    PaintFace(canvas, Rect(kCellWidth + shift, 0, (columns - 1) * kCellWidth + shift, Height()), top);
    canvas.RestoreState(saved);
}

void TButton::PaintFace(TCanvas& canvas, const TRect& inner, int textTop) {
    const int width = AccelTextWidth(canvas, Caption());
    PaintCaption(canvas, inner, AlignedTextLeft(inner.Left, inner.Width(), width, taCenter), textTop);
}

void TButton::PaintCaption(TCanvas& canvas, const TRect& inner, int left, int textTop) {
    canvas.Font()->SetColor(Enabled() ? clBtnText : clGrayText);
    canvas.Brush()->SetColor(clBtnFace);
    TCellAttrs attrs = 0;
    if (FDefault) attrs |= caBold;
    if (Focused()) attrs |= caReverse;
    canvas.SetTextAttrs(attrs);
    TCanvas::TState saved = canvas.SaveState();
    canvas.IntersectClipRect(inner);
    DrawAccelText(canvas, left, textTop, Caption());
    canvas.RestoreState(saved);
    canvas.SetTextAttrs(0);
}

// --- list boxes -------------------------------------------------------------

// One item a row from TopIndex on; the selected ones highlighted, the
// caret's item reversed while the box has the focus.
void TCustomListBox::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(Rect(0, 0, Width(), Height()));
    const int rows = VisibleRows();
    const bool focused = Focused();
    for (int row = 0; row < rows; ++row) {
        const int index = FTopIndex + row;
        if (index >= Count()) break;
        const bool selected = FItems->FItems[static_cast<size_t>(index)].Selected || index == FItemIndex;
        canvas.Brush()->SetColor(selected ? clHighlight : Color());
        canvas.Font()->SetColor(!Enabled() ? clGrayText : selected ? clHighlightText : Font()->Color());
        canvas.SetTextAttrs(selected && focused ? caReverse : 0);
        const TRect line = ItemRect(index);
        canvas.TextRect(line, 0, line.Top, FItems->Get(index));
    }
    canvas.SetTextAttrs(0);
}

// --- static text ------------------------------------------------------------

void TCustomStaticText::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR) {
        if (FShowAccelChar && FFocusControl && IsAccel(static_cast<std::uint16_t>(message.WParam), Caption()) &&
            FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            message.Result = 1;
        }
        return;
    }
    inherited::WndProc(message);
}

void TCustomStaticText::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect all = Rect(0, 0, Width(), Height());
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(all);
    int left = 0;
    int width = Width();
    if (FBorderStyle != sbsNone) {
        canvas.Brush()->SetColor(FBorderStyle == sbsSunken ? clBtnShadow : clWindowFrame);
        canvas.FrameRect(all);
        canvas.Brush()->SetColor(Color());
        left = kCellWidth;
        width -= 2 * kCellWidth;
    }
    canvas.Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
    const int textWidth = AccelTextWidth(canvas, Caption(), FShowAccelChar);
    DrawAccelText(canvas, AlignedTextLeft(left, width, textWidth, FAlignment), 0, Caption(), FShowAccelChar);
}

} // namespace host
