#include "host/terminal/InputDispatch.h"
#include "host/terminal/TerminalBackend.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"

#include <vector>

namespace host::term {

namespace {

constexpr TCell kDesktop{U' ', clWindowText, clAppWorkSpace, 0};

// Text from the start of a row, cut at its end.
void PutText(TCellSurface& surface, int column, int row, const std::string& text, TColor fore, TColor back,
             TCellAttrs attrs) {
    for (char32_t ch : DecodeUtf8(text)) {
        if (column >= surface.Columns()) return;
        surface.PutCell(column++, row, TCell{ch, fore, back, attrs});
    }
}

void PutCloseBox(TCellSurface& screen, TCustomForm* form, TPoint origin) {
    if (!HasCloseBox(form)) return;
    const int right = origin.X + form->Surface().Columns() - 1;
    const TCell corner = screen.CellAt(right, origin.Y);
    PutText(screen, right - 3, origin.Y, "[x]", clCaptionText, corner.Back, 0);
}

void PutStatus(TCellSurface& screen, const std::string& status) {
    const int row = screen.Rows() - 1;
    if (row < 0) return;
    for (int column = 0; column < screen.Columns(); ++column)
        screen.PutCell(column, row, TCell{U' ', clBtnText, clBtnFace, caReverse});
    PutText(screen, 0, row, status, clBtnText, clBtnFace, caReverse);
}

bool Covers(TCustomForm* form, TPoint cell) {
    const TPoint origin = form->SurfaceOrigin();
    const TCellSurface& picture = form->Surface();
    return cell.X >= origin.X && cell.Y >= origin.Y && cell.X < origin.X + picture.Columns() &&
           cell.Y < origin.Y + picture.Rows();
}

// The caret of the focused control's form, on the screen, unless a form
// above it covers that cell.
bool CaretCell(const std::vector<TCustomForm*>& forms, TPoint& cell) {
    TWinControl* focused = FocusedControl();
    TCustomForm* owner = focused ? GetParentForm(focused) : nullptr;
    for (std::size_t i = 0; i < forms.size(); ++i) {
        if (forms[i] != owner) continue;
        const TCellSurface& picture = owner->Surface();
        if (!picture.CaretVisible()) return false;
        const TPoint origin = owner->SurfaceOrigin();
        cell = Point(origin.X + picture.Caret().X, origin.Y + picture.Caret().Y);
        for (std::size_t j = i + 1; j < forms.size(); ++j)
            if (Covers(forms[j], cell)) return false;
        return true;
    }
    return false;
}

} // namespace

void ComposeScreen(TCellSurface& screen, const std::string& status) {
    // Built whole on a scratch surface, then copied: the screen marks only
    // the cells that came out different.
    TCellSurface next(screen.Columns(), screen.Rows());
    next.Fill(kDesktop);
    const std::vector<TCustomForm*> forms = FormsInZOrder();
    for (TCustomForm* form : forms) {
        form->PaintInvalid();
        const TPoint origin = form->SurfaceOrigin();
        next.CopyFrom(form->Surface(), origin.X, origin.Y);
        form->Surface().ClearDirty();
        PutCloseBox(next, form, origin);
    }
    PutStatus(next, status);
    screen.CopyFrom(next, 0, 0);
    TPoint caret;
    if (CaretCell(forms, caret) && caret.Y < screen.Rows() - 1)
        screen.SetCaret(caret.X, caret.Y);
    else
        screen.HideCaret();
}

} // namespace host::term
