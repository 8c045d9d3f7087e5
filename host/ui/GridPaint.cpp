// How grids look: cells, titles, lines, the current cell, and a data
// grid's records read a screenful at a time.

#include "host/ui/Canvas.h"
#include "host/ui/Grids.h"
#include "host/ui/PaintTools.h"

#include <algorithm>

namespace host {

namespace {

constexpr TColor kLineColor = clBtnShadow;

// The text area of a cell: the column line, when there is one, is not in it.
TRect TextArea(int x, int y, int width, int height, bool line) {
    return Rect(x, y, x + width - (line && width > kCellWidth ? kCellWidth : 0), y + height);
}

} // namespace

// --- TCustomGrid --------------------------------------------------------------

void TCustomGrid::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(Rect(0, 0, Width(), Height()));
    const auto cols = VisibleCols();
    const auto rows = VisibleRows();
    int bottom = 0;
    for (auto [row, y] : rows) {
        for (auto [col, x] : cols) {
            const bool line = FOptions.Contains(col < FFixedCols ? goFixedVertLine : goVertLine);
            DrawCell(col, row, TextArea(x, y, ColWidths(col), RowHeights(row), line), col == FCol && row == FRow);
        }
        bottom = y + RowHeights(row);
    }
    DrawGridLines(std::min(bottom, Height()));
}

int TCustomGrid::ColumnsRight() const {
    const auto cols = VisibleCols();
    return cols.empty() ? 0 : cols.back().second + ColWidths(cols.back().first);
}

void TCustomGrid::DrawCell(int col, int row, const TRect& rect, bool current) {
    TCanvas& canvas = *Canvas();
    const bool fixed = col < FFixedCols || row < FFixedRows;
    const bool highlight = current && (Focused() || FOptions.Contains(goDrawFocusSelected));
    canvas.Brush()->SetColor(fixed ? clBtnFace : highlight ? clHighlight : Color());
    canvas.Font()->SetColor(highlight ? clHighlightText : Font()->Color());
    canvas.SetTextAttrs(highlight ? caReverse : 0);
    canvas.TextRect(rect, rect.Left, rect.Top + std::max(0, CenteredTextTop(rect.Height())), Cells(col, row));
    canvas.SetTextAttrs(0);
}

void TCustomGrid::DrawGridLines(int bottom) {
    TCanvas& canvas = *Canvas();
    canvas.Pen()->SetColor(kLineColor);
    canvas.Pen()->SetStyle(psSolid);
    // The lines run a cell past each end, cut there by the clip, so they
    // show whole up to the grid's edges.
    const TCanvas::TState saved = canvas.SaveState();
    // Past the last column there is nothing: no line closes it, and the
    // line under the titles ends with it.
    const int right = std::min(ColumnsRight(), Width());
    canvas.IntersectClipRect(Rect(0, 0, right, bottom));
    for (auto [col, x] : VisibleCols()) {
        const int width = ColWidths(col);
        if (col == FColCount - 1) continue;
        if (!FOptions.Contains(col < FFixedCols ? goFixedVertLine : goVertLine) || width <= kCellWidth) continue;
        canvas.MoveTo(x + width - kCellWidth, -kCellHeight);
        canvas.LineTo(x + width - kCellWidth, bottom + kCellHeight);
    }
    int fixedBottom = 0;
    for (int r = 0; r < FFixedRows; ++r) fixedBottom += RowHeights(r);
    if (FFixedRows > 0 && FOptions.Contains(goFixedHorzLine) && RowHeights(FFixedRows - 1) >= 2 * kCellHeight) {
        canvas.MoveTo(-kCellWidth, fixedBottom - kCellHeight);
        canvas.LineTo(Width() + kCellWidth, fixedBottom - kCellHeight);
    }
    canvas.RestoreState(saved);
}

// --- TCustomDBGrid ------------------------------------------------------------

int TCustomDBGrid::ColWidths(int col) const {
    const int indicator = IndicatorOffset();
    if (col < indicator) return 2 * kCellWidth;
    const int index = col - indicator;
    if (index >= ColumnCount()) return DefaultColWidth();
    if (const TColumn* column = ColumnAt(index)) return column->Width();
    const TField* field = FColumns[static_cast<size_t>(index)];
    const int chars = std::max(field->DisplayWidth(), static_cast<int>(DecodeUtf8(field->DisplayLabel()).size()));
    return (chars + 1) * kCellWidth;
}

int TCustomDBGrid::RowHeights(int row) const {
    return row < TitleOffset() ? 2 * kCellHeight : kCellHeight;
}

int TCustomDBGrid::TitleHeight() const { return TitleOffset() ? 2 * kCellHeight : 0; }

// Only the records in view are read, straight from the dataset; the
// cursor does not move.
void TCustomDBGrid::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(Rect(0, 0, Width(), Height()));
    const auto cols = VisibleCols();
    if (TitleOffset()) PaintTitles(cols);
    int bottom = TitleHeight();
    TDataSet* dataSet = FDataLink->Active() ? FDataLink->DataSet() : nullptr;
    if (dataSet) {
        const int count = dataSet->DisplayRowCount();
        const int current = dataSet->DisplayRow();
        const int visible = std::max(1, (Height() - TitleHeight()) / kCellHeight);
        int top = TopRow() - FixedRows();
        if (current >= 0 && current < top) top = current;
        if (current >= top + visible) top = current - visible + 1;
        top = std::clamp(top, 0, std::max(0, count - visible));
        // The grid's own rows scroll with what is shown, for the mouse.
        ScrollQuietly(top + FixedRows());
        // Reading a row may find more after it than the count first said.
        for (int i = 0; i < visible && top + i < dataSet->DisplayRowCount(); ++i) {
            PaintRecord(dataSet, top + i, TitleHeight() + i * kCellHeight, top + i == current, cols);
            bottom = TitleHeight() + (i + 1) * kCellHeight;
        }
    }
    DrawGridLines(std::min(bottom, Height()));
    PlaceEditor();
}

void TCustomDBGrid::PaintTitles(const std::vector<std::pair<int, int>>& cols) {
    TCanvas& canvas = *Canvas();
    canvas.SetFont(FTitleFont.get());
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(Rect(0, 0, std::min(ColumnsRight(), Width()), kCellHeight));
    for (auto [col, x] : cols) {
        const int index = col - IndicatorOffset();
        if (index < 0 || index >= ColumnCount()) continue;
        const TRect area = TextArea(x, 0, ColWidths(col), kCellHeight, FOptions.Contains(dgColLines));
        canvas.TextRect(area, x, 0, TitleText(index));
    }
    canvas.SetFont(Font());
}

void TCustomDBGrid::PaintRecord(TDataSet* dataSet, int record, int y, bool current,
                                const std::vector<std::pair<int, int>>& cols) {
    TCanvas& canvas = *Canvas();
    const bool showSelection = Focused() || FOptions.Contains(dgAlwaysShowSelection);
    for (auto [col, x] : cols) {
        const int index = col - IndicatorOffset();
        const TRect area = TextArea(x, y, ColWidths(col), kCellHeight, FOptions.Contains(dgColLines));
        if (index < 0) {
            // The indicator: where the cursor is, and what it is doing.
            char32_t mark = U' ';
            if (current)
                mark = dataSet->State() == dsInsert ? U'*' : dataSet->State() == dsEdit ? U'I' : U'\u25B6';
            canvas.Brush()->SetColor(clBtnFace);
            canvas.FillRect(area);
            canvas.PutChar(x, y, mark, clBtnText, clBtnFace);
            continue;
        }
        if (index >= ColumnCount()) continue;
        TField* field = FColumns[static_cast<size_t>(index)];
        const bool highlight =
            current && showSelection && (FOptions.Contains(dgRowSelect) || col == Col());
        canvas.Brush()->SetColor(highlight ? clHighlight : Color());
        canvas.Font()->SetColor(highlight ? clHighlightText : Font()->Color());
        canvas.SetTextAttrs(highlight ? caReverse : 0);
        const std::string text = VarToStr(dataSet->DisplayValue(record, *field));
        const int width = canvas.TextWidth(text);
        const TAlignment alignment = FieldAlignment(index);
        const int left = alignment == taRightJustify ? std::max(area.Left, area.Right - width)
                         : alignment == taCenter     ? std::max(area.Left, (area.Left + area.Right - width) / 2)
                                                     : area.Left;
        canvas.TextRect(area, left, y, text);
        canvas.SetTextAttrs(0);
    }
}

} // namespace host
