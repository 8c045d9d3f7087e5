#include "host/ui/Canvas.h"

#include "host/ui/Graphics.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>

namespace host {

namespace {

// No clip asked for: everything the surface has.
constexpr int kUnclipped = 1 << 28;

// Box-drawing characters indexed by lbUp | lbDown | lbLeft | lbRight.
constexpr std::array<char32_t, 16> kLineChars{{
    U' ',       // none
    U'\u2575',  // up            ╵
    U'\u2577',  // down          ╷
    U'\u2502',  // up down       │
    U'\u2574',  // left          ╴
    U'\u2518',  // up left       ┘
    U'\u2510',  // down left     ┐
    U'\u2524',  // up down left  ┤
    U'\u2576',  // right         ╶
    U'\u2514',  // up right      └
    U'\u250C',  // down right    ┌
    U'\u251C',  // up down right ├
    U'\u2500',  // left right    ─
    U'\u2534',  // up left right ┴
    U'\u252C',  // down left right ┬
    U'\u253C',  // all           ┼
}};

TRect Intersect(const TRect& a, const TRect& b) {
    TRect r = Rect(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                   std::min(a.Bottom, b.Bottom));
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    return r;
}

TRect Offset(const TRect& r, TPoint by) {
    return Rect(r.Left + by.X, r.Top + by.Y, r.Right + by.X, r.Bottom + by.Y);
}

// Control characters would reach a terminal as commands: they show as the
// replacement character instead, a tab as a space.
char32_t Printable(char32_t ch) {
    if (ch == U'\t') return U' ';
    if (ch < 0x20 || (ch >= 0x7F && ch < 0xA0)) return U'\uFFFD';
    return ch;
}

// Shades for the share of a cell a bitmap's pixels cover.
char32_t Shade(int covered, int total) {
    if (covered * 4 >= total * 3) return U'\u2588';  // █
    if (covered * 2 >= total) return U'\u2593';      // ▓
    if (covered * 4 >= total) return U'\u2592';      // ▒
    return U'\u2591';                                // ░
}

} // namespace

char32_t LineChar(TLineBits bits) { return kLineChars[bits & 15]; }

TLineBits LineBitsOf(char32_t ch) {
    for (size_t i = 1; i < kLineChars.size(); ++i)
        if (kLineChars[i] == ch) return static_cast<TLineBits>(i);
    return 0;
}

TCanvas::TCanvas(TSurface& surface)
    : FSurface(surface),
      FPen(TPen::Create()),
      FBrush(TBrush::Create()),
      FFont(TFont::Create()),
      FClip(Rect(-kUnclipped, -kUnclipped, kUnclipped, kUnclipped)) {}

TCanvas::TCanvas(TPaintDevice& device)
    : FDevice(&device),
      FSurface(FNoCells),
      FPen(TPen::Create()),
      FBrush(TBrush::Create()),
      FFont(TFont::Create()),
      FClip(Rect(-kUnclipped, -kUnclipped, kUnclipped, kUnclipped)) {}

TPaintDevice& TCanvas::Pixels() const {
    FDevice->SetClip(Intersect(FClip, Rect(0, 0, FDevice->Width(), FDevice->Height())));
    return *FDevice;
}

TRect TCanvas::ToDevice(const TRect& rect) const { return Offset(rect, FOrigin); }

// --- clipping ---------------------------------------------------------------

TRect TCanvas::ClipRect() const {
    TRect whole = FDevice ? Rect(0, 0, FDevice->Width(), FDevice->Height())
                          : Rect(0, 0, FSurface.Columns() * kCellWidth, FSurface.Rows() * kCellHeight);
    return Offset(Intersect(FClip, whole), Point(-FOrigin.X, -FOrigin.Y));
}

void TCanvas::SetClipRect(const TRect& value) { FClip = Offset(value, FOrigin); }

void TCanvas::IntersectClipRect(const TRect& rect) { FClip = Intersect(FClip, Offset(rect, FOrigin)); }

void TCanvas::RestoreState(const TState& state) {
    FOrigin = state.Origin;
    FClip = state.Clip;
}

TRect TCanvas::ClipCells() const {
    return Intersect(PixelRectToCells(FClip), Rect(0, 0, FSurface.Columns(), FSurface.Rows()));
}

bool TCanvas::InClip(int column, int row) const { return ClipCells().Contains(Point(column, row)); }

TRect TCanvas::CellRect(const TRect& rect) const { return PixelRectToCells(Offset(rect, FOrigin)); }

void TCanvas::WriteCell(int column, int row, const TCell& cell) {
    if (InClip(column, row)) FSurface.PutCell(column, row, cell);
}

// --- text -------------------------------------------------------------------

TCellAttrs TCanvas::FontAttrs() const {
    TCellAttrs attrs = FTextAttrs;
    if (FFont->Style().Contains(fsBold)) attrs |= caBold;
    if (FFont->Style().Contains(fsUnderline)) attrs |= caUnderline;
    return attrs;
}

TColor TCanvas::TextBack(int column, int row) const {
    if (FBrush->Style() == bsSolid) return FBrush->Color();
    return FSurface.CellAt(column, row).Back;
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    if (FDevice) {
        Pixels().Text(x + FOrigin.X, y + FOrigin.Y, text, *FFont, FBrush->Style() == bsSolid, FBrush->Color());
        FPenPos = Point(x + TextWidth(text), y);
        return;
    }
    int column = PixelToColumn(x + FOrigin.X);
    int row = PixelToRow(y + FOrigin.Y);
    TCellAttrs attrs = FontAttrs();
    for (char32_t ch : DecodeUtf8(text)) {
        WriteCell(column, row, TCell{Printable(ch), FFont->Color(), TextBack(column, row), attrs});
        ++column;
    }
    FPenPos = Point(x + TextWidth(text), y);
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::string& text) {
    TState saved = SaveState();
    IntersectClipRect(rect);
    FillRect(rect);
    TextOut(x, y, text);
    RestoreState(saved);
}

int TCanvas::TextWidth(const std::string& text) const {
    if (FDevice) return FDevice->TextExtent(text, *FFont).X;
    return static_cast<int>(DecodeUtf8(text).size()) * kCellWidth;
}

int TCanvas::TextHeight(const std::string& text) const {
    if (FDevice) return FDevice->TextExtent(text.empty() ? std::string("Wg") : text, *FFont).Y;
    return kCellHeight;
}

void TCanvas::PutChar(int x, int y, char32_t ch, TColor fore, TColor back, TCellAttrs attrs) {
    if (FDevice) {
        Owned<TFont> font(TFont::Create());
        font->Assign(FFont.get());
        font->SetColor(fore);
        std::string text;
        AppendUtf8(text, Printable(ch));
        Pixels().Text(x + FOrigin.X, y + FOrigin.Y, text, *font, true, back);
        return;
    }
    WriteCell(PixelToColumn(x + FOrigin.X), PixelToRow(y + FOrigin.Y), TCell{Printable(ch), fore, back, attrs});
}

void TCanvas::SetCaretPos(int x, int y) {
    if (FDevice) {
        const TPoint at = Point(x + FOrigin.X, y + FOrigin.Y);
        if (ClipRect().Contains(Point(x, y)))
            FDevice->SetCaret(at.X, at.Y, TextHeight(std::string()));
        else
            FDevice->HideCaret();
        return;
    }
    int column = PixelToColumn(x + FOrigin.X);
    int row = PixelToRow(y + FOrigin.Y);
    if (InClip(column, row))
        FSurface.SetCaret(column, row);
    else
        FSurface.HideCaret();
}

// --- areas and frames -------------------------------------------------------

void TCanvas::FillRect(const TRect& rect) {
    if (FBrush->Style() == bsClear) return;
    if (FDevice) return Pixels().FillRect(ToDevice(rect), FBrush->Color());
    TRect cells = Intersect(CellRect(rect), ClipCells());
    TCell blank{U' ', FFont->Color(), FBrush->Color(), 0};
    for (int r = cells.Top; r < cells.Bottom; ++r)
        for (int c = cells.Left; c < cells.Right; ++c) FSurface.PutCell(c, r, blank);
}

void TCanvas::FrameRect(const TRect& rect) {
    if (FBrush->Style() == bsClear) return;
    if (FDevice) return Pixels().FrameRect(ToDevice(rect), FBrush->Color(), 1);
    DrawFrame(rect, FBrush->Color());
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    TRect rect = Rect(left, top, right, bottom);
    FillRect(rect);
    if (FPen->Style() != psClear) DrawFrame(rect, FPen->Color());
}

void TCanvas::JoinLine(int column, int row, TLineBits bits, TColor color) {
    if (!InClip(column, row)) return;
    TCell cell = FSurface.CellAt(column, row);
    cell.Ch = LineChar(static_cast<TLineBits>(LineBitsOf(cell.Ch) | bits));
    cell.Fore = color;
    cell.Attrs = 0;
    FSurface.PutCell(column, row, cell);
}

void TCanvas::DrawFrame(const TRect& rect, TColor color) {
    if (FDevice) return Pixels().FrameRect(ToDevice(rect), color, FPen->Width());
    TRect cells = CellRect(rect);
    if (cells.Width() <= 0 || cells.Height() <= 0) return;
    int right = cells.Right - 1;
    int bottom = cells.Bottom - 1;
    if (cells.Height() == 1) {
        // No room for lines above and below: brackets at the ends.
        auto bracket = [&](int column, char32_t ch) {
            if (!InClip(column, cells.Top)) return;
            TCell cell = FSurface.CellAt(column, cells.Top);
            cell.Ch = ch;
            cell.Fore = color;
            cell.Attrs = 0;
            FSurface.PutCell(column, cells.Top, cell);
        };
        bracket(cells.Left, U'[');
        if (right > cells.Left) bracket(right, U']');
        return;
    }
    if (cells.Width() == 1) {
        for (int r = cells.Top; r <= bottom; ++r)
            JoinLine(cells.Left, r, static_cast<TLineBits>((r > cells.Top ? lbUp : 0) | (r < bottom ? lbDown : 0)), color);
        return;
    }
    JoinLine(cells.Left, cells.Top, lbDown | lbRight, color);
    JoinLine(right, cells.Top, lbDown | lbLeft, color);
    JoinLine(cells.Left, bottom, lbUp | lbRight, color);
    JoinLine(right, bottom, lbUp | lbLeft, color);
    for (int c = cells.Left + 1; c < right; ++c) {
        JoinLine(c, cells.Top, lbLeft | lbRight, color);
        JoinLine(c, bottom, lbLeft | lbRight, color);
    }
    for (int r = cells.Top + 1; r < bottom; ++r) {
        JoinLine(cells.Left, r, lbUp | lbDown, color);
        JoinLine(right, r, lbUp | lbDown, color);
    }
}

// --- lines ------------------------------------------------------------------

void TCanvas::LineTo(int x, int y) {
    TPoint from = FPenPos;
    FPenPos = Point(x, y);
    if (FPen->Style() == psClear) return;
    if (FDevice) {
        const TLinePen pen{FPen->Color(), FPen->Width(), FPen->Style()};
        return Pixels().Line(Point(from.X + FOrigin.X, from.Y + FOrigin.Y), Point(x + FOrigin.X, y + FOrigin.Y), pen);
    }
    int c0 = PixelToColumn(from.X + FOrigin.X);
    int r0 = PixelToRow(from.Y + FOrigin.Y);
    int c1 = PixelToColumn(x + FOrigin.X);
    int r1 = PixelToRow(y + FOrigin.Y);
    TColor color = FPen->Color();
    // The end cells of a straight line hold only the half towards its
    // middle, so a line ending on a frame makes a tee there.
    auto bits = [](int i, int first, int last, TLineBits back, TLineBits on) {
        if (first == last) return static_cast<TLineBits>(back | on);
        return static_cast<TLineBits>((i > first ? back : 0) | (i < last ? on : 0));
    };
    if (r0 == r1) {
        int first = std::min(c0, c1);
        int last = std::max(c0, c1) - 1;
        for (int c = first; c <= last; ++c) JoinLine(c, r0, bits(c, first, last, lbLeft, lbRight), color);
    } else if (c0 == c1) {
        int first = std::min(r0, r1);
        int last = std::max(r0, r1) - 1;
        for (int r = first; r <= last; ++r) JoinLine(c0, r, bits(r, first, last, lbUp, lbDown), color);
    } else {
        // Slanted: a dot in each cell on the way, the end point excluded.
        int steps = std::max(std::abs(c1 - c0), std::abs(r1 - r0));
        for (int i = 0; i < steps; ++i) {
            int c = c0 + (c1 - c0) * i / steps;
            int r = r0 + (r1 - r0) * i / steps;
            if (!InClip(c, r)) continue;
            TCell cell = FSurface.CellAt(c, r);
            cell.Ch = U'\u00B7';
            cell.Fore = color;
            FSurface.PutCell(c, r, cell);
        }
    }
}

// --- bitmaps ----------------------------------------------------------------

void TCanvas::Draw(int x, int y, const TBitmap* bitmap) {
    if (bitmap) DrawBitmap(x, y, bitmap, Rect(0, 0, bitmap->Width(), bitmap->Height()), false, 0);
}

void TCanvas::StretchDraw(const TRect& rect, const TBitmap* bitmap) {
    if (!bitmap || bitmap->Empty()) return;
    const TRect whole = Rect(0, 0, bitmap->Width(), bitmap->Height());
    if (FDevice) return Pixels().Image(ToDevice(rect), *bitmap, whole, false, 0);
    TState saved = SaveState();
    IntersectClipRect(rect);
    DrawBitmap(rect.Left, rect.Top, bitmap, whole, false, 0);
    RestoreState(saved);
}

void TCanvas::DrawTransparent(int x, int y, const TBitmap* bitmap, std::uint32_t transparent) {
    if (bitmap) DrawBitmap(x, y, bitmap, Rect(0, 0, bitmap->Width(), bitmap->Height()), true, transparent);
}

void TCanvas::DrawGlyph(int x, int y, const TBitmap* bitmap, const TRect& source) {
    if (!bitmap || bitmap->Empty()) return;
    const TRect part = Intersect(source, Rect(0, 0, bitmap->Width(), bitmap->Height()));
    if (part.Width() <= 0 || part.Height() <= 0) return;
    DrawBitmap(x, y, bitmap, part, true, bitmap->Pixels(part.Left, part.Bottom - 1));
}

// Each cell the bitmap covers takes the colour most of its shown pixels
// have, shaded by how much of the cell they cover.
void TCanvas::DrawBitmap(int x, int y, const TBitmap* bitmap, const TRect& source, bool transparent,
                         std::uint32_t key) {
    if (bitmap == nullptr || bitmap->Empty()) return;
    if (FDevice)
        return Pixels().Image(Bounds(x + FOrigin.X, y + FOrigin.Y, source.Width(), source.Height()), *bitmap, source,
                              transparent, key);
    int left = x + FOrigin.X;
    int top = y + FOrigin.Y;
    TRect cells = Intersect(PixelRectToCells(Bounds(left, top, source.Width(), source.Height())), ClipCells());
    for (int r = cells.Top; r < cells.Bottom; ++r) {
        for (int c = cells.Left; c < cells.Right; ++c) {
            std::map<std::uint32_t, int> counts;
            int total = 0;
            for (int py = r * kCellHeight; py < (r + 1) * kCellHeight; ++py) {
                for (int px = c * kCellWidth; px < (c + 1) * kCellWidth; ++px) {
                    int bx = px - left;
                    int by = py - top;
                    if (bx < 0 || by < 0 || bx >= source.Width() || by >= source.Height()) continue;
                    ++total;
                    std::uint32_t pixel = bitmap->Pixels(source.Left + bx, source.Top + by);
                    if (!transparent || pixel != key) ++counts[pixel];
                }
            }
            if (counts.empty()) continue;
            auto most = std::max_element(counts.begin(), counts.end(),
                                         [](const auto& a, const auto& b) { return a.second < b.second; });
            int shown = 0;
            for (const auto& entry : counts) shown += entry.second;
            std::uint32_t rgb = most->first;
            TColor color = RGBColor(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                                    static_cast<std::uint8_t>(rgb));
            TCell cell = FSurface.CellAt(c, r);
            cell.Ch = Shade(shown, total);
            cell.Fore = color;
            cell.Attrs = 0;
            FSurface.PutCell(c, r, cell);
        }
    }
}

} // namespace host
