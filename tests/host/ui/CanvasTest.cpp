#include "host/ui/Canvas.h"
#include "host/ui/CellSurface.h"
#include "host/ui/Graphics.h"

#include <gtest/gtest.h>

using namespace host;

namespace {

// The surface as lines of text, for pictures.
std::vector<std::string> Lines(const TCellSurface& surface) {
    std::vector<std::string> lines;
    for (int r = 0; r < surface.Rows(); ++r) lines.push_back(surface.RowText(r));
    return lines;
}

} // namespace

TEST(CellSurface, PixelEdgesGoToTheNearestCellEdge) {
    EXPECT_EQ(PixelToColumn(0), 0);
    EXPECT_EQ(PixelToColumn(3), 0);
    EXPECT_EQ(PixelToColumn(4), 1);
    EXPECT_EQ(PixelToColumn(96), 12);
    EXPECT_EQ(PixelToColumn(-5), -1);
    EXPECT_EQ(PixelToRow(12), 1);
    EXPECT_EQ(PixelToRow(33), 2);
    EXPECT_EQ(PixelToRow(40), 3);
    EXPECT_EQ(PixelToRow(-8), -1);
    // The usual edit rows of a form land one cell high on rows of their own.
    EXPECT_EQ(PixelRectToCells(Bounds(96, 12, 121, 21)), Rect(12, 1, 27, 2));
    EXPECT_EQ(PixelRectToCells(Bounds(96, 40, 121, 21)), Rect(12, 3, 27, 4));
    EXPECT_EQ(PixelRectToCells(Bounds(96, 68, 121, 21)), Rect(12, 5, 27, 6));
    EXPECT_EQ(CellsToPixelRect(Rect(1, 2, 3, 4)), Rect(8, 28, 24, 56));
}

TEST(CellSurface, RecordsOnlyCellsThatChangedAndTheCaret) {
    TCellSurface surface(10, 3);
    EXPECT_TRUE(surface.HasChanges());
    EXPECT_EQ(surface.DirtyRows()[2], (TDirtySpan{0, 10}));
    surface.ClearDirty();
    EXPECT_FALSE(surface.HasChanges());

    surface.PutCell(3, 1, TCell{U'a', clRed, clWhite, caBold});
    surface.PutCell(7, 1, TCell{U'b', clRed, clWhite, 0});
    surface.PutCell(5, 2, TCell{});  // the same as it was: no change
    surface.PutCell(12, 1, TCell{U'x'});  // outside: ignored
    EXPECT_TRUE(surface.DirtyRows()[0].Empty());
    EXPECT_EQ(surface.DirtyRows()[1], (TDirtySpan{3, 8}));
    EXPECT_TRUE(surface.DirtyRows()[2].Empty());
    EXPECT_EQ(surface.CellAt(3, 1).Attrs, caBold);
    EXPECT_EQ(surface.CellAt(12, 1), TCell{});
    EXPECT_EQ(surface.RowText(1), "   a   b  ");

    surface.ClearDirty();
    surface.SetCaret(4, 2);
    EXPECT_TRUE(surface.HasChanges());
    EXPECT_TRUE(surface.CaretChanged());
    EXPECT_EQ(surface.Caret(), Point(4, 2));
    surface.ClearDirty();
    surface.SetCaret(4, 2);
    EXPECT_FALSE(surface.HasChanges());
    surface.SetCaret(40, 2);  // outside: hidden
    EXPECT_FALSE(surface.CaretVisible());

    // Resizing keeps what stays inside and asks for a whole redraw.
    surface.ClearDirty();
    surface.Resize(5, 2);
    EXPECT_EQ(surface.Text(), "     \n   a \n");
    EXPECT_EQ(surface.DirtyRows()[1], (TDirtySpan{0, 5}));
}

TEST(CellSurface, DecodesAnyBytesAndEncodesBack) {
    EXPECT_EQ(DecodeUtf8("a\xC3\xA9\xE2\x94\x80"), U"a\u00E9\u2500");
    // A stray continuation byte, a cut sequence, an overlong form, a surrogate.
    EXPECT_EQ(DecodeUtf8("\x80x"), U"\uFFFDx");
    EXPECT_EQ(DecodeUtf8("\xE2\x94"), U"\uFFFD\uFFFD");
    EXPECT_EQ(DecodeUtf8("\xC0\xAF"), U"\uFFFD\uFFFD");
    EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");
    std::string out;
    AppendUtf8(out, U'\u2514');
    AppendUtf8(out, U'\U0001F600');
    AppendUtf8(out, 0x110000);
    EXPECT_EQ(out, "\xE2\x94\x94\xF0\x9F\x98\x80\xEF\xBF\xBD");
}

TEST(Canvas, TextTakesFontAndBrushAndStaysInTheClip) {
    TCellSurface surface(12, 2);
    TCanvas canvas(surface);
    canvas.Font()->SetColor(clNavy);
    canvas.Font()->SetStyle(TFontStyles{fsBold, fsUnderline});
    canvas.Brush()->SetColor(clYellow);
    canvas.TextOut(8, 0, "Hi\x1B[2J");
    EXPECT_EQ(surface.RowText(0), " Hi\uFFFD[2J     ");
    TCell cell = surface.CellAt(1, 0);
    EXPECT_EQ(cell.Fore, clNavy);
    EXPECT_EQ(cell.Back, clYellow);
    EXPECT_EQ(cell.Attrs, caBold | caUnderline);
    EXPECT_EQ(canvas.TextWidth("H\xC3\xA9llo"), 5 * kCellWidth);
    EXPECT_EQ(canvas.TextHeight("x"), kCellHeight);

    // A clear brush keeps the background that is there.
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(0, 14, "ab");
    EXPECT_EQ(surface.CellAt(0, 1).Back, TCell{}.Back);

    // The origin moves the drawing; the clip stops it.
    canvas.SetOrigin(Point(16, 14));
    canvas.SetClipRect(Rect(0, 0, 24, 14));
    EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 24, 14));
    canvas.TextOut(0, 0, "clipped");
    EXPECT_EQ(surface.RowText(1), "abcli       ");
    canvas.IntersectClipRect(Rect(8, 0, 100, 100));
    EXPECT_EQ(canvas.ClipRect(), Rect(8, 0, 24, 14));
}

TEST(Canvas, FramesAndLinesJoinWhereTheyMeet) {
    TCellSurface surface(8, 5);
    TCanvas canvas(surface);
    canvas.Rectangle(0, 0, 8 * kCellWidth, 5 * kCellHeight);
    canvas.MoveTo(0, 2 * kCellHeight);
    canvas.LineTo(8 * kCellWidth, 2 * kCellHeight);
    canvas.MoveTo(3 * kCellWidth, 0);
    canvas.LineTo(3 * kCellWidth, 5 * kCellHeight);
    EXPECT_EQ(Lines(surface), (std::vector<std::string>{
                                  "┌──┬───┐",
                                  "│  │   │",
                                  "├──┼───┤",
                                  "│  │   │",
                                  "└──┴───┘",
                              }));
    EXPECT_EQ(canvas.PenPos(), Point(3 * kCellWidth, 5 * kCellHeight));

    // A frame one cell high shows as brackets; the brush colour fills it.
    TCellSurface row(6, 1);
    TCanvas small(row);
    small.Brush()->SetColor(clRed);
    small.FrameRect(Rect(0, 0, 48, 14));
    EXPECT_EQ(row.RowText(0), "[    ]");
    EXPECT_EQ(row.CellAt(0, 0).Fore, clRed);
    EXPECT_EQ(LineChar(LineBitsOf(U'┼')), U'┼');
    EXPECT_EQ(LineBitsOf(U'x'), 0);
}

TEST(Canvas, BitmapsShadeTheCellsTheyCover) {
    Owned<TBitmap> glyph(TBitmap::Create());
    glyph->SetSize(16, 14);
    // Left half of the first cell green, the rest transparent white.
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 16; ++x) glyph->SetPixel(x, y, x < 4 ? 0x00FF00 : 0xFFFFFF);
    TCellSurface surface(4, 1);
    TCanvas canvas(surface);
    canvas.DrawTransparent(8, 0, glyph.get(), 0xFFFFFF);
    EXPECT_EQ(surface.RowText(0), " ▓  ");
    EXPECT_EQ(surface.CellAt(1, 0).Fore, clLime);
    canvas.Draw(8, 0, glyph.get());
    EXPECT_EQ(surface.RowText(0), " ██ ");
    EXPECT_EQ(surface.CellAt(2, 0).Fore, clWhite);
}
