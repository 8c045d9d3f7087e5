#include "host/ui/CellSurface.h"

#include <algorithm>

namespace host {

namespace {

// Rounds Value / Size to the nearest integer, halves up, for any sign.
int NearestEdge(int value, int size) {
    int twice = 2 * value + size;
    int d = twice / (2 * size);
    if (twice % (2 * size) != 0 && twice < 0) --d;
    return d;
}

} // namespace

int PixelToColumn(int x) { return NearestEdge(x, kCellWidth); }
int PixelToRow(int y) { return NearestEdge(y, kCellHeight); }

TRect PixelRectToCells(const TRect& rect) {
    return Rect(PixelToColumn(rect.Left), PixelToRow(rect.Top), PixelToColumn(rect.Right),
                PixelToRow(rect.Bottom));
}

TRect CellsToPixelRect(const TRect& cells) {
    return Rect(cells.Left * kCellWidth, cells.Top * kCellHeight, cells.Right * kCellWidth,
                cells.Bottom * kCellHeight);
}

// --- TCellSurface -----------------------------------------------------------

void TCellSurface::Resize(int columns, int rows) {
    columns = std::max(columns, 0);
    rows = std::max(rows, 0);
    std::vector<TCell> cells(static_cast<size_t>(columns) * static_cast<size_t>(rows));
    for (int r = 0; r < std::min(rows, FRows); ++r)
        for (int c = 0; c < std::min(columns, FColumns); ++c)
            cells[static_cast<size_t>(r * columns + c)] = FCells[static_cast<size_t>(r * FColumns + c)];
    FCells = std::move(cells);
    FColumns = columns;
    FRows = rows;
    FDirty.assign(static_cast<size_t>(rows), TDirtySpan{});
    if (FCaret.X >= columns || FCaret.Y >= rows) HideCaret();
    MarkAllDirty();
}

TCell TCellSurface::CellAt(int column, int row) const {
    if (column < 0 || row < 0 || column >= FColumns || row >= FRows) return TCell{};
    return FCells[static_cast<size_t>(row * FColumns + column)];
}

void TCellSurface::PutCell(int column, int row, const TCell& cell) {
    if (column < 0 || row < 0 || column >= FColumns || row >= FRows) return;
    TCell& held = FCells[static_cast<size_t>(row * FColumns + column)];
    if (held == cell) return;
    held = cell;
    MarkDirty(column, row);
}

void TCellSurface::Fill(const TCell& blank) {
    for (int r = 0; r < FRows; ++r)
        for (int c = 0; c < FColumns; ++c) PutCell(c, r, blank);
}

void TCellSurface::CopyFrom(const TCellSurface& source, int column, int row) {
    for (int r = 0; r < source.FRows; ++r)
        for (int c = 0; c < source.FColumns; ++c)
            PutCell(column + c, row + r, source.FCells[static_cast<size_t>(r * source.FColumns + c)]);
}

void TCellSurface::SetCaret(int column, int row) {
    if (column < 0 || row < 0 || column >= FColumns || row >= FRows) {
        HideCaret();
        return;
    }
    if (FCaretVisible && FCaret == Point(column, row)) return;
    FCaret = Point(column, row);
    FCaretVisible = true;
    FCaretChanged = true;
}

void TCellSurface::HideCaret() {
    if (!FCaretVisible) return;
    FCaretVisible = false;
    FCaretChanged = true;
}

void TCellSurface::MarkDirty(int column, int row) {
    TDirtySpan& span = FDirty[static_cast<size_t>(row)];
    if (span.Empty()) {
        span = TDirtySpan{column, column + 1};
    } else {
        span.Left = std::min(span.Left, column);
        span.Right = std::max(span.Right, column + 1);
    }
    FChanged = true;
}

const std::vector<TDirtySpan>& TCellSurface::DirtyRows() const {
    if (FAllDirty) return FDirty;
    // Trims each span to the cells that differ from the clean picture.
    for (int r = 0; r < FRows; ++r) {
        TDirtySpan& span = FDirty[static_cast<size_t>(r)];
        auto same = [&](int c) {
            const size_t i = static_cast<size_t>(r * FColumns + c);
            return FCells[i] == FClean[i];
        };
        while (!span.Empty() && same(span.Left)) ++span.Left;
        while (!span.Empty() && same(span.Right - 1)) --span.Right;
        if (span.Empty()) span = TDirtySpan{};
    }
    return FDirty;
}

bool TCellSurface::HasChanges() const {
    if (FCaretChanged) return true;
    if (!FChanged) return false;
    for (const TDirtySpan& span : DirtyRows())
        if (!span.Empty()) return true;
    return false;
}

void TCellSurface::ClearDirty() {
    std::fill(FDirty.begin(), FDirty.end(), TDirtySpan{});
    FClean = FCells;
    FChanged = false;
    FAllDirty = false;
    FCaretChanged = false;
}

void TCellSurface::MarkAllDirty() {
    std::fill(FDirty.begin(), FDirty.end(), TDirtySpan{0, FColumns});
    FChanged = FColumns > 0 && FRows > 0;
    FAllDirty = true;
    FCaretChanged = true;
}

std::string TCellSurface::RowText(int row) const {
    std::string text;
    if (row < 0 || row >= FRows) return text;
    for (int c = 0; c < FColumns; ++c) AppendUtf8(text, FCells[static_cast<size_t>(row * FColumns + c)].Ch);
    return text;
}

std::string TCellSurface::Text() const {
    std::string text;
    for (int r = 0; r < FRows; ++r) {
        text += RowText(r);
        text += '\n';
    }
    return text;
}

// --- UTF-8 ------------------------------------------------------------------

namespace {

// The length of the sequence a lead byte starts and the bits it carries;
// 0 for a byte that starts none.
int SequenceLength(unsigned char lead, char32_t& bits) {
    if (lead < 0x80) { bits = lead; return 1; }
    if (lead >= 0xC2 && lead <= 0xDF) { bits = lead & 0x1F; return 2; }
    if (lead >= 0xE0 && lead <= 0xEF) { bits = lead & 0x0F; return 3; }
    if (lead >= 0xF0 && lead <= 0xF4) { bits = lead & 0x07; return 4; }
    return 0;
}

char32_t MinimumFor(int length) { return length == 3 ? 0x800 : length == 4 ? 0x10000 : 0x80; }

} // namespace

std::u32string DecodeUtf8(const std::string& text) {
    std::u32string out;
    size_t i = 0;
    while (i < text.size()) {
        char32_t ch = 0;
        int length = SequenceLength(static_cast<unsigned char>(text[i]), ch);
        bool valid = length > 0 && i + static_cast<size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80) valid = false;
            ch = (ch << 6) | (next & 0x3F);
        }
        if (valid && length > 1 && (ch < MinimumFor(length) || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)))
            valid = false;
        if (!valid) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        out += ch;
        i += static_cast<size_t>(length);
    }
    return out;
}

} // namespace host
