#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/ui/Canvas.h"
#include "host/ui/PaintTools.h"
#include "host/ui/PropertyTypes.h"
#include "host/ui/StdCtrls.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_CLASS(TMemoStrings, TStrings)
HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomMemo, TCustomEdit)
HOST_IMPLEMENT_COMPONENT(TMemo, TCustomMemo)

namespace {

// The lines of a text: split at LF, a CR before it dropped. An empty text
// has no line; a text ending in a line break has no empty last line.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line.push_back(text[i]);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// Line starts (byte positions) of a text, every line including the last,
// empty one.
std::vector<int> LineStarts(const std::string& text) {
    std::vector<int> starts{0};
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') starts.push_back(static_cast<int>(i) + 1);
    return starts;
}

int LineEnd(const std::string& text, const std::vector<int>& starts, size_t line) {
    int end = line + 1 < starts.size() ? starts[line + 1] - 1 : static_cast<int>(text.size());
    if (end > starts[line] && text[static_cast<size_t>(end) - 1] == '\r') --end;
    return end;
}

} // namespace

// --- TMemoStrings ---------------------------------------------------------------

std::vector<std::string> TMemoStrings::Split() const { return SplitLines(FMemo->Text()); }

void TMemoStrings::Join(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines[i];
    }
    FMemo->SetText(text);
}

void TMemoStrings::Check(int index, int count) const {
    if (index < 0 || index >= count) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

int TMemoStrings::Count() const { return static_cast<int>(Split().size()); }

std::string TMemoStrings::Get(int index) const {
    const auto lines = Split();
    Check(index, static_cast<int>(lines.size()));
    return lines[static_cast<size_t>(index)];
}

void TMemoStrings::Put(int index, const std::string& s) {
    auto lines = Split();
    Check(index, static_cast<int>(lines.size()));
    lines[static_cast<size_t>(index)] = s;
    Join(lines);
}

int TMemoStrings::Add(const std::string& s) {
    auto lines = Split();
    lines.push_back(s);
    Join(lines);
    return static_cast<int>(lines.size()) - 1;
}

void TMemoStrings::Insert(int index, const std::string& s) {
    auto lines = Split();
    Check(index, static_cast<int>(lines.size()) + 1);
    lines.insert(lines.begin() + index, s);
    Join(lines);
}

void TMemoStrings::Delete(int index) {
    auto lines = Split();
    Check(index, static_cast<int>(lines.size()));
    lines.erase(lines.begin() + index);
    Join(lines);
}

void TMemoStrings::Clear() { FMemo->SetText(""); }

// --- TCustomMemo ----------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), FLines(TMemoStrings::Create(this)) {
    SetBounds(0, 0, 185, 89);
}

void TCustomMemo::SetWordWrap(bool value) {
    if (FWordWrap == value) return;
    FWordWrap = value;
    Invalidate();
}

TPoint TCustomMemo::CaretPoint() const {
    const auto starts = LineStarts(Text());
    size_t line = 0;
    while (line + 1 < starts.size() && starts[line + 1] <= CaretByte()) ++line;
    const std::string before = Text().substr(static_cast<size_t>(starts[line]),
                                             static_cast<size_t>(CaretByte() - starts[line]));
    return Point(static_cast<int>(DecodeUtf8(before).size()), static_cast<int>(line));
}

std::vector<TCustomMemo::TRow> TCustomMemo::Rows(int columns) const {
    const std::string& text = Text();
    const auto starts = LineStarts(text);
    columns = std::max(columns, 1);
    std::vector<TRow> rows;
    for (size_t line = 0; line < starts.size(); ++line) {
        const int end = LineEnd(text, starts, line);
        const int index = static_cast<int>(line);
        int pos = starts[line];
        for (;;) {
            int cut = pos;
            for (int n = 0; n < columns && cut < end; ++n) cut = NextCharPos(cut);
            int next = end;
            if (FWordWrap && cut < end) {
                next = cut;
                if (text[static_cast<size_t>(cut)] == ' ') {
                    // The spaces the break falls on stay at the row's end.
                    while (next < end && text[static_cast<size_t>(next)] == ' ') ++next;
                } else {
                    int space = cut;
                    while (space > pos && text[static_cast<size_t>(space) - 1] != ' ') --space;
                    if (space > pos) next = space;
                }
            }
            if (next >= end) {
                rows.push_back({pos, end, index, true});
                break;
            }
            rows.push_back({pos, next, index, false});
            pos = next;
        }
    }
    return rows;
}

int TCustomMemo::TextColumns() const {
    const TRect cells = TopLevelCells(this);
    const bool framed = BorderStyle() == bsSingle && cells.Height() >= 3;
    return std::max(1, cells.Width() - (framed ? 2 : 0));
}

int TCustomMemo::CaretRow(const std::vector<TRow>& rows) const {
    const int caret = CaretByte();
    // End on a row broken inside a word leaves the caret after its last
    // character, which is also where the next row starts.
    if (caret == FRowEndCaret)
        for (size_t r = 0; r < rows.size(); ++r)
            if (!rows[r].LastOfLine && rows[r].End == caret) return static_cast<int>(r);
    for (size_t r = 0; r < rows.size(); ++r)
        if (caret >= rows[r].Start && (caret < rows[r].End || (caret == rows[r].End && rows[r].LastOfLine)))
            return static_cast<int>(r);
    return static_cast<int>(rows.size()) - 1;
}

int TCustomMemo::ColumnIn(const TRow& row, int pos) const {
    const std::string before = Text().substr(static_cast<size_t>(row.Start), static_cast<size_t>(pos - row.Start));
    return static_cast<int>(DecodeUtf8(before).size());
}

int TCustomMemo::PosInRow(const TRow& row, int column) const {
    // A wrapped row's end is where the next one starts: the caret stops a
    // character before it, so it stays on this row.
    const int limit = row.LastOfLine ? row.End : PrevCharPos(row.End);
    int pos = row.Start;
    for (int c = 0; c < column && pos < limit; ++c) pos = NextCharPos(pos);
    return std::min(pos, limit);
}

bool TCustomMemo::RowKey(std::uint16_t key, bool extend) {
    const auto rows = Rows(TextColumns());
    const int r = CaretRow(rows);
    FRowEndCaret = -1;
    const TRow& row = rows[static_cast<size_t>(r)];
    const int last = static_cast<int>(rows.size()) - 1;
    switch (key) {
    case VK_UP: MoveCaret(PosInRow(rows[static_cast<size_t>(std::max(r - 1, 0))], ColumnIn(row, CaretByte())), extend); return true;
    case VK_DOWN: MoveCaret(PosInRow(rows[static_cast<size_t>(std::min(r + 1, last))], ColumnIn(row, CaretByte())), extend); return true;
    case VK_HOME: MoveCaret(row.Start, extend); return true;
    case VK_END:
        if (!row.LastOfLine && Text()[static_cast<size_t>(row.End) - 1] != ' ') {
            MoveCaret(row.End, extend);
            FRowEndCaret = row.End;
            return true;
        }
        MoveCaret(PosInRow(row, 1 << 30), extend);
        return true;
    default: return false;
    }
}

void TCustomMemo::EditKey(std::uint16_t& key, TShiftState shift) {
    const bool extend = shift.Contains(ssShift);
    const int rowEnd = FRowEndCaret;
    FRowEndCaret = -1;
    if (key == VK_RETURN && FWantReturns) {
        if (EditCanModify()) ReplaceSelection("\r\n");
        key = 0;
        return;
    }
    FRowEndCaret = rowEnd;  // the row keys start from the row shown
    if (RowKey(key, extend)) {
        key = 0;
        return;
    }
    FRowEndCaret = -1;
    // Left and Right step over a line break whole.
    if (key == VK_LEFT && CaretByte() >= 2 && Text().compare(static_cast<size_t>(CaretByte()) - 2, 2, "\r\n") == 0) {
        MoveCaret(CaretByte() - 2, extend);
        key = 0;
        return;
    }
    if (key == VK_RIGHT && Text().compare(static_cast<size_t>(CaretByte()), 2, "\r\n") == 0) {
        MoveCaret(CaretByte() + 2, extend);
        key = 0;
        return;
    }
    inherited::EditKey(key, shift);
}

// The rows from the one scrolled to, the caret's row kept in view; without
// word wrap, long lines are cut at the edge and the caret's scrolls.
void TCustomMemo::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect all = Rect(0, 0, Width(), Height());
    canvas.Brush()->SetColor(ReadOnly() ? clBtnFace : Color());
    canvas.FillRect(all);
    const TRect cells = canvas.CellRect(all);
    const bool framed = BorderStyle() == bsSingle && cells.Height() >= 3;
    if (framed) {
        canvas.Pen()->SetColor(Enabled() ? clWindowFrame : clGrayText);
        canvas.Frame(all);
    }
    const int inset = framed ? 1 : 0;
    const int height = cells.Height() - 2 * inset;
    const int columns = cells.Width() - 2 * inset;
    if (height <= 0 || columns <= 0) return;
    const auto rows = Rows(columns);
    const int caretRow = CaretRow(rows);
    const int caretColumn = ColumnIn(rows[static_cast<size_t>(caretRow)], CaretByte());
    FTopLine = std::clamp(FTopLine, 0, static_cast<int>(rows.size()) - 1);
    if (caretRow < FTopLine) FTopLine = caretRow;
    if (caretRow >= FTopLine + height) FTopLine = caretRow - height + 1;
    const int selFrom = SelStartByte();
    const int selTo = SelEndByte();
    const bool focused = Focused();
    const TColor text = Enabled() ? Font()->Color() : clGrayText;
    const TColor back = canvas.Brush()->Color();
    for (int r = 0; r < height && FTopLine + r < static_cast<int>(rows.size()); ++r) {
        const int index = FTopLine + r;
        const TRow& row = rows[static_cast<size_t>(index)];
        // A wrapped caret past the edge (after the spaces of a break) stays
        // at the edge; an unwrapped line scrolls to it.
        const int first =
            !FWordWrap && index == caretRow && caretColumn >= columns ? caretColumn - columns + 1 : 0;
        int pos = row.Start;
        for (int c = 0; pos < row.End; ++c) {
            const int next = NextCharPos(pos);
            const int shown = c - first;
            if (shown >= columns) break;
            if (shown >= 0) {
                const bool selected = focused && pos >= selFrom && pos < selTo;
                const std::u32string ch = DecodeUtf8(Text().substr(static_cast<size_t>(pos), static_cast<size_t>(next - pos)));
                canvas.PutChar((inset + shown) * kCellWidth, (inset + r) * kCellHeight, ch.empty() ? U' ' : ch[0],
                               selected ? clHighlightText : text, selected ? clHighlight : back,
                               selected ? caReverse : 0);
            }
            pos = next;
        }
        if (focused && index == caretRow)
            canvas.SetCaretPos((inset + std::min(caretColumn - first, columns - 1)) * kCellWidth,
                               (inset + r) * kCellHeight);
    }
}

void TMemo::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TMemo>();
    p.Strings("Lines", &TMemo::Lines);
    p.Integer("MaxLength", &TMemo::MaxLength, &TMemo::SetMaxLength).Default(0);
    p.Boolean("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly).Default(false);
    p.Boolean("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns).Default(true);
    p.Boolean("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap).Default(true);
}

} // namespace host
