#include "host/core/Exception.h"
#include "host/ui/Canvas.h"
#include "host/ui/PaintTools.h"
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
    while (line + 1 < starts.size() && starts[line + 1] <= CaretPos()) ++line;
    const std::string before = Text().substr(static_cast<size_t>(starts[line]),
                                             static_cast<size_t>(CaretPos() - starts[line]));
    return Point(static_cast<int>(DecodeUtf8(before).size()), static_cast<int>(line));
}

int TCustomMemo::PosOf(int line, int column) const {
    const auto starts = LineStarts(Text());
    line = std::clamp(line, 0, static_cast<int>(starts.size()) - 1);
    const int end = LineEnd(Text(), starts, static_cast<size_t>(line));
    int pos = starts[static_cast<size_t>(line)];
    for (int c = 0; c < column && pos < end; ++c) pos = NextCharPos(pos);
    return std::min(pos, end);
}

void TCustomMemo::EditKey(std::uint16_t& key, TShiftState shift) {
    const bool extend = shift.Contains(ssShift);
    const TPoint at = CaretPoint();
    switch (key) {
    case VK_RETURN:
        if (!FWantReturns) break;
        if (EditCanModify()) ReplaceSelection("\r\n");
        key = 0;
        return;
    case VK_UP:
        MoveCaret(PosOf(at.Y - 1, at.X), extend);
        key = 0;
        return;
    case VK_DOWN:
        MoveCaret(PosOf(at.Y + 1, at.X), extend);
        key = 0;
        return;
    case VK_HOME:
        MoveCaret(PosOf(at.Y, 0), extend);
        key = 0;
        return;
    case VK_END:
        MoveCaret(PosOf(at.Y, 1 << 30), extend);
        key = 0;
        return;
    default: break;
    }
    // Left and Right step over a line break whole.
    if (key == VK_LEFT && CaretPos() >= 2 && Text().compare(static_cast<size_t>(CaretPos()) - 2, 2, "\r\n") == 0) {
        MoveCaret(CaretPos() - 2, extend);
        key = 0;
        return;
    }
    if (key == VK_RIGHT && Text().compare(static_cast<size_t>(CaretPos()), 2, "\r\n") == 0) {
        MoveCaret(CaretPos() + 2, extend);
        key = 0;
        return;
    }
    inherited::EditKey(key, shift);
}

// The lines from the one scrolled to, the caret's line kept in view; long
// lines are cut at the edge.
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
    const int rows = cells.Height() - 2 * inset;
    const int columns = cells.Width() - 2 * inset;
    if (rows <= 0 || columns <= 0) return;
    const TPoint caret = CaretPoint();
    if (caret.Y < FTopLine) FTopLine = caret.Y;
    if (caret.Y >= FTopLine + rows) FTopLine = caret.Y - rows + 1;
    const auto starts = LineStarts(Text());
    const int selFrom = SelStart();
    const int selTo = SelStart() + SelLength();
    const bool focused = Focused();
    const TColor text = Enabled() ? Font()->Color() : clGrayText;
    const TColor back = canvas.Brush()->Color();
    for (int r = 0; r < rows && FTopLine + r < static_cast<int>(starts.size()); ++r) {
        const size_t line = static_cast<size_t>(FTopLine + r);
        int pos = starts[line];
        const int end = LineEnd(Text(), starts, line);
        const int first = line == static_cast<size_t>(caret.Y) && caret.X >= columns ? caret.X - columns + 1 : 0;
        for (int c = 0; pos < end; ++c) {
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
        if (focused && line == static_cast<size_t>(caret.Y))
            canvas.SetCaretPos((inset + caret.X - first) * kCellWidth, (inset + r) * kCellHeight);
    }
}

} // namespace host
