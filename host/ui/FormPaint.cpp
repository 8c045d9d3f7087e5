// Forms: the picture in character cells, frame and caption included.

#include "host/ui/Canvas.h"
#include "host/ui/Forms.h"
#include "host/ui/Screen.h"

namespace host {

namespace {

// The cells the frame takes on each side.
int FrameCells(TFormBorderStyle style) { return style == bsNone ? 0 : 1; }

constexpr char32_t kDoubleH = U'\u2550';   // ═
constexpr char32_t kDoubleV = U'\u2551';   // ║
constexpr char32_t kDoubleTL = U'\u2554';  // ╔
constexpr char32_t kDoubleTR = U'\u2557';  // ╗
constexpr char32_t kDoubleBL = U'\u255A';  // ╚
constexpr char32_t kDoubleBR = U'\u255D';  // ╝

} // namespace

TRect TCustomForm::ClientCells() const {
    const int frame = FrameCells(FBorderStyle);
    const TRect client = ClientRect();
    return Rect(frame, frame, frame + PixelToColumn(client.Width()), frame + PixelToRow(client.Height()));
}

TRect TCustomForm::PaintRect() const {
    const TRect client = ClientCells();
    const int frame = FrameCells(FBorderStyle);
    return CellsToPixelRect(Rect(0, 0, client.Right + frame, client.Bottom + frame));
}

TPoint TCustomForm::PaintClientOffset() const {
    const TRect client = ClientCells();
    return Point(client.Left * kCellWidth, client.Top * kCellHeight);
}

TPoint TCustomForm::SurfaceOrigin() const {
    const TPoint origin = ClientOrigin();
    const TRect client = ClientCells();
    return Point(PixelToColumn(origin.X) - client.Left, PixelToRow(origin.Y) - client.Top);
}

TPoint TCustomForm::SurfaceCellToClient(TPoint cell) const {
    const TRect client = ClientCells();
    return Point((cell.X - client.Left) * kCellWidth + kCellWidth / 2,
                 (cell.Y - client.Top) * kCellHeight + kCellHeight / 2);
}

TCellSurface& TCustomForm::Surface() {
    if (!FSurface) FSurface = std::make_unique<TCellSurface>();
    return *FSurface;
}

bool TCustomForm::PaintInvalid() {
    TCellSurface& surface = Surface();
    const TRect area = PixelRectToCells(PaintRect());
    if (surface.Columns() != area.Width() || surface.Rows() != area.Height()) {
        surface.Resize(area.Width(), area.Height());
        Invalidate();
    }
    // The caret belongs to the focused control; a new one shows its own
    // when it paints, as the focus change made it invalid.
    TWinControl* focused = Screen()->ActiveControl();
    if (focused != FCaretFor) {
        surface.HideCaret();
        FCaretFor = focused;
    }
    TCanvas canvas(surface);
    return PaintInvalidTo(canvas, Point(0, 0));
}

void TCustomForm::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect all = PaintRect();
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(all);
    if (FBorderStyle == bsNone) return;
    const TRect cells = PixelRectToCells(all);
    const int right = (cells.Right - 1) * kCellWidth;
    const int bottom = (cells.Bottom - 1) * kCellHeight;
    const TColor frame = Active() ? clActiveBorder : clInactiveBorder;
    const TColor back = Color();
    if (FBorderStyle == bsDialog) {
        for (int x = kCellWidth; x < right; x += kCellWidth) {
            canvas.PutChar(x, 0, kDoubleH, frame, back);
            canvas.PutChar(x, bottom, kDoubleH, frame, back);
        }
        for (int y = kCellHeight; y < bottom; y += kCellHeight) {
            canvas.PutChar(0, y, kDoubleV, frame, back);
            canvas.PutChar(right, y, kDoubleV, frame, back);
        }
        canvas.PutChar(0, 0, kDoubleTL, frame, back);
        canvas.PutChar(right, 0, kDoubleTR, frame, back);
        canvas.PutChar(0, bottom, kDoubleBL, frame, back);
        canvas.PutChar(right, bottom, kDoubleBR, frame, back);
    } else {
        canvas.Pen()->SetColor(frame);
        canvas.Frame(all);
    }
    // The caption in the top line, set off by a space on each side; the
    // active form's stands out.
    const std::u32string caption = DecodeUtf8(Caption());
    const int room = cells.Width() - 4;
    if (room <= 0 || caption.empty()) return;
    std::string shown = " ";
    for (size_t i = 0; i < caption.size() && static_cast<int>(i) < room - 2; ++i) AppendUtf8(shown, caption[i]);
    shown += ' ';
    canvas.Font()->SetColor(Active() ? clCaptionText : clInactiveCaptionText);
    canvas.Brush()->SetColor(Active() ? clActiveCaption : clInactiveCaption);
    canvas.SetTextAttrs(Active() ? caBold : 0);
    canvas.TextOut(2 * kCellWidth, 0, shown);
    canvas.SetTextAttrs(0);
}

} // namespace host
