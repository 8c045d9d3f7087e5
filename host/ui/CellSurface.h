#pragma once
// Character-cell surfaces: what a canvas draws on when the screen is a grid
// of character cells, as a terminal's is.
//
// Forms are laid out in pixels; a fixed cell size (kCellWidth x kCellHeight
// pixels) maps that layout to cells, so a stored form keeps its design. The
// height of 14 pixels puts the usual edit rows of a form (21 pixels high,
// 24 to 28 apart) on rows of their own, one cell high each.
//
// A cell holds one character (a Unicode code point: text, or box-drawing
// characters for frames and lines), a foreground and a background colour
// (TColor as controls give them, system colours included: ColorToRGB gives
// the RGB value) and attributes.
//
// TCellSurface keeps, for each row, the span of columns changed since the
// last ClearDirty, so an output writes only what changed.
// Code: CellSurface.cpp.

#include "host/core/Export.h"
#include "host/core/TextUtils.h"  // AppendUtf8
#include "host/ui/Colors.h"
#include "host/ui/Geometry.h"

#include <cstdint>
#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

using TCellAttrs = std::uint8_t;
constexpr TCellAttrs caBold = 1;
constexpr TCellAttrs caUnderline = 2;
constexpr TCellAttrs caReverse = 4;

struct TCell {
    char32_t Ch = U' ';
    TColor Fore = clWindowText;
    TColor Back = clWindow;
    TCellAttrs Attrs = 0;
    constexpr bool operator==(const TCell&) const = default;
};

constexpr int kCellWidth = 8;
constexpr int kCellHeight = 14;

// A pixel edge (a rectangle's side, the point a text starts at) goes to the
// nearest cell edge; the cell a pixel lies in is the one below that edge.
int PixelToColumn(int x);
int PixelToRow(int y);
// The cells a pixel rectangle covers, its edges rounded as above.
TRect PixelRectToCells(const TRect& rect);
// The pixel rectangle of a rectangle of cells.
TRect CellsToPixelRect(const TRect& cells);

// A grid of cells a canvas draws on. Coordinates are columns and rows;
// cells outside the surface are ignored on writing.
class TSurface {
public:
    virtual ~TSurface() = default;
    virtual int Columns() const = 0;
    virtual int Rows() const = 0;
    // A blank cell for a position outside the surface.
    virtual TCell CellAt(int column, int row) const = 0;
    virtual void PutCell(int column, int row, const TCell& cell) = 0;
    // Where the text cursor shows (the focused edit's caret); one per surface.
    virtual void SetCaret(int column, int row) = 0;
    virtual void HideCaret() = 0;
};

// The columns [Left, Right) of one row that changed; empty when Left >= Right.
struct TDirtySpan {
    int Left = 0;
    int Right = 0;
    constexpr bool Empty() const { return Left >= Right; }
    constexpr bool operator==(const TDirtySpan&) const = default;
};

class TCellSurface : public TSurface {
public:
    TCellSurface() = default;
    TCellSurface(int columns, int rows) { Resize(columns, rows); }

    // Keeps the cells that stay inside; new cells are blank. Everything
    // counts as changed afterwards (an output must redraw it all).
    void Resize(int columns, int rows);
    int Columns() const override { return FColumns; }
    int Rows() const override { return FRows; }

    TCell CellAt(int column, int row) const override;
    // Marks the cell changed only when it differs from what it held.
    void PutCell(int column, int row, const TCell& cell) override;
    // Every cell set to Blank.
    void Fill(const TCell& blank);
    // Copies the cells of Source onto this surface with Source's top left
    // cell at (Column, Row), clipped to both; for stacking forms on a screen.
    void CopyFrom(const TCellSurface& source, int column, int row);

    void SetCaret(int column, int row) override;
    void HideCaret() override;
    bool CaretVisible() const { return FCaretVisible; }
    TPoint Caret() const { return FCaret; }

    // One span per row: the columns from the leftmost to the rightmost cell
    // that differs from what it held at the last ClearDirty (a cell painted
    // over and back to what it was does not count). Everything after
    // Resize or MarkAllDirty.
    const std::vector<TDirtySpan>& DirtyRows() const;
    // True when a cell changed, or the caret moved, shows or hides.
    bool HasChanges() const;
    bool CaretChanged() const { return FCaretChanged; }
    void ClearDirty();
    // Every cell counts as changed (after the output was lost or resized).
    void MarkAllDirty();

    // The characters of one row as UTF-8, every column included.
    std::string RowText(int row) const;
    // Every row, each ended by a line feed.
    std::string Text() const;

private:
    VESKAR_LOCAL void MarkDirty(int column, int row);

    int FColumns = 0;
    int FRows = 0;
    std::vector<TCell> FCells;
    std::vector<TCell> FClean;  // the cells at the last ClearDirty
    mutable std::vector<TDirtySpan> FDirty;
    bool FChanged = false;
    bool FAllDirty = false;
    TPoint FCaret;
    bool FCaretVisible = false;
    bool FCaretChanged = false;
};

// The code points of a UTF-8 text; a byte that does not start a valid
// sequence gives U+FFFD, so any input decodes.
std::u32string DecodeUtf8(const std::string& text);

} // namespace host

VESKAR_PUBLIC_END
