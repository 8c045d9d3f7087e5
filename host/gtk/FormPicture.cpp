#include "host/gtk/FormPicture.h"

#include "host/ui/Canvas.h"
#include "host/ui/Forms.h"

#include <vector>

namespace host::gtk {

void PaintFormClient(TCustomForm* form, TCanvas& canvas) {
    // The window manager draws the frame and caption: the client area only.
    canvas.Brush()->SetColor(form->Color());
    canvas.FillRect(Rect(0, 0, form->ClientWidth(), form->ClientHeight()));
    for (int i = 0; i < form->ControlCount(); ++i) {
        TControl* child = form->Controls(i);
        if (child->Visible()) child->PaintTo(canvas, Point(child->Left(), child->Top()));
    }
}

bool FormPaintPending(const TCustomForm* form) {
    std::vector<const TControl*> pending{form};
    while (!pending.empty()) {
        const TControl* control = pending.back();
        pending.pop_back();
        if (control != form && control->Visible() && control->PaintPending()) return true;
        if (auto* windowed = dynamic_cast<const TWinControl*>(control))
            for (int i = 0; i < windowed->ControlCount(); ++i) pending.push_back(windowed->Controls(i));
    }
    return false;
}

} // namespace host::gtk
