#include "host/ui/PaintTools.h"

#include <cctype>

namespace host {

std::string StripAccelChars(const std::string& caption) {
    std::string text;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        text.push_back(caption[i]);
    }
    return text;
}

char AccelCharOf(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

bool IsAccel(std::uint16_t key, const std::string& caption) {
    const char accel = AccelCharOf(caption);
    return accel != 0 && key < 0x80 && static_cast<char>(std::toupper(key)) == accel;
}

void DrawAccelText(TCanvas& canvas, int x, int y, const std::string& caption, bool showAccel) {
    if (!showAccel) {
        canvas.TextOut(x, y, caption);
        return;
    }
    // Drawn in runs: the text before the key, the key underlined, the rest.
    std::string run;
    bool underlined = false;
    const TCellAttrs attrs = canvas.TextAttrs();
    auto flush = [&](bool underline) {
        if (run.empty()) return;
        canvas.SetTextAttrs(underline ? static_cast<TCellAttrs>(attrs | caUnderline) : attrs);
        canvas.TextOut(x, y, run);
        x += canvas.TextWidth(run);
        run.clear();
    };
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;
            if (caption[i] != '&' && !underlined) {
                flush(false);
                // The whole character, even when it takes several bytes.
                size_t end = i + 1;
                while (end < caption.size() && (static_cast<unsigned char>(caption[end]) & 0xC0) == 0x80) ++end;
                run = caption.substr(i, end - i);
                flush(true);
                underlined = true;
                i = end - 1;
                continue;
            }
        }
        run.push_back(caption[i]);
    }
    flush(false);
    canvas.SetTextAttrs(attrs);
}

int AccelTextWidth(const TCanvas& canvas, const std::string& caption, bool showAccel) {
    return canvas.TextWidth(showAccel ? StripAccelChars(caption) : caption);
}

TRect TopLevelBounds(const TControl* control) {
    // Only a form has a client area inset from its picture; it is the top.
    TPoint at = Point(0, 0);
    for (const TControl* c = control; c->Parent(); c = c->Parent()) at = Point(at.X + c->Left(), at.Y + c->Top());
    return Bounds(at.X, at.Y, control->Width(), control->Height());
}

TRect TopLevelCells(const TControl* control) { return PixelRectToCells(TopLevelBounds(control)); }

int CenteredTextTop(int height) { return (height - kCellHeight) / 2; }

int AlignedTextLeft(int areaLeft, int areaWidth, int width, TAlignment alignment) {
    switch (alignment) {
    case taLeftJustify: return areaLeft;
    case taRightJustify: return areaLeft + areaWidth - width;
    case taCenter: break;
    }
    // Centred on whole cells, so the text does not shift by rounding; an
    // odd cell left over goes before the text.
    const int cells = (areaWidth - width) / kCellWidth;
    return areaLeft + ((cells + 1) / 2) * kCellWidth;
}

void DrawBoxFrame(TCanvas& canvas, const TRect& rect, TColor color) {
    // In pixels a box is etched: a shadow line with a highlight beside it.
    if (canvas.Device()) {
        const TRect inner = Rect(rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom);
        const TRect outer = Rect(rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1);
        canvas.Pen()->SetColor(clBtnHighlight);
        canvas.Frame(inner);
        canvas.Pen()->SetColor(clBtnShadow);
        canvas.Frame(outer);
        return;
    }
    const TRect cells = canvas.CellRect(rect);
    if (cells.Height() >= 3) {
        canvas.Pen()->SetColor(color);
        canvas.Frame(rect);
    } else if (cells.Height() == 2) {
        canvas.Pen()->SetColor(color);
        canvas.MoveTo(rect.Left, rect.Top);
        canvas.LineTo(rect.Right, rect.Top);
    }
}

int CellColumns(const TCanvas& canvas, const TRect& rect) { return canvas.CellRect(rect).Width(); }

} // namespace host
