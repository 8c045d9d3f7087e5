#include "tools/designer/DesignerWindow.h"

#include "host/ui/Canvas.h"
#include "host/ui/CellSurface.h"
#include "host/ui/Colors.h"

namespace designer {

using namespace host;

namespace {

bool Contains(const TRect& rect, TPoint point) {
    return point.X >= rect.Left && point.X < rect.Right && point.Y >= rect.Top && point.Y < rect.Bottom;
}

TRect BoundsOf(const TControl* control) {
    return Rect(control->Left(), control->Top(), control->Left() + control->Width(), control->Top() + control->Height());
}

// The innermost visible control of Parent at Point (Parent's client
// coordinates); the last one added wins where they overlap, as it is drawn
// on top.
TControl* ControlAt(const TWinControl* parent, TPoint point) {
    for (int i = parent->ControlCount() - 1; i >= 0; --i) {
        TControl* control = parent->Controls(i);
        if (!control->Visible() || !Contains(BoundsOf(control), point)) continue;
        if (auto* inner = dynamic_cast<TWinControl*>(control))
            if (TControl* found = ControlAt(inner, Point(point.X - control->Left(), point.Y - control->Top())))
                return found;
        return control;
    }
    return nullptr;
}

// Where a control is on the form: its bounds moved by its parents'.
TRect FormBounds(const TControl* control, const TComponent* root) {
    TRect rect = BoundsOf(control);
    for (const TWinControl* p = control->Parent(); p && p != root; p = p->Parent()) {
        rect.Left += p->Left();
        rect.Right += p->Left();
        rect.Top += p->Top();
        rect.Bottom += p->Top();
    }
    return rect;
}

int SnapX(int x) { return x / kCellWidth * kCellWidth; }
int SnapY(int y) { return y / kCellHeight * kCellHeight; }

} // namespace

HOST_IMPLEMENT_COMPONENT(TDesignSurface, TCustomControl)

TDesignSurface::TDesignSurface(TComponent* owner) : TCustomControl(owner) {
    SetTabStop(true);
    SetColor(clBtnFace);
}

TRect TDesignSurface::IconRect(const TComponent* component) const {
    const int left = DesignLeft(component);
    const int top = DesignTop(component);
    const int width = (static_cast<int>(component->Name().size()) + 2) * kCellWidth;
    return Rect(left, top, left + width, top + kCellHeight);
}

TComponent* TDesignSurface::ComponentAt(TPoint point) const {
    TComponent* root = FWindow ? FWindow->Designer().Root() : nullptr;
    if (!root) return nullptr;
    for (int i = root->ComponentCount() - 1; i >= 0; --i) {
        TComponent* component = root->Components(i);
        if (!dynamic_cast<TControl*>(component) && Contains(IconRect(component), point)) return component;
    }
    if (auto* form = dynamic_cast<TWinControl*>(root))
        if (TControl* control = ControlAt(form, point)) return control;
    return root;
}

void TDesignSurface::Paint() {
    TCanvas* canvas = Canvas();
    TComponent* root = FWindow ? FWindow->Designer().Root() : nullptr;
    auto* form = dynamic_cast<TWinControl*>(root);
    // The form's client area on the workspace around it.
    canvas->Brush()->SetColor(clAppWorkSpace);
    canvas->FillRect(ClientRect());
    if (!form) return;
    canvas->Brush()->SetColor(form->Color());
    canvas->FillRect(form->ClientRect());
    // The form's controls as they look at run time.
    for (int i = 0; i < form->ControlCount(); ++i) {
        TControl* control = form->Controls(i);
        if (control->Visible()) control->PaintTo(*canvas, Point(control->Left(), control->Top()));
    }
    // Its non-visual components as named icons.
    canvas->Brush()->SetColor(clWindow);
    for (int i = 0; i < root->ComponentCount(); ++i) {
        const TComponent* component = root->Components(i);
        if (dynamic_cast<const TControl*>(component)) continue;
        const TRect icon = IconRect(component);
        canvas->FillRect(icon);
        canvas->TextOut(icon.Left, icon.Top, "[" + component->Name() + "]");
    }
    // The selection: a frame around it.
    const TComponent* selected = FWindow->Selected();
    if (!selected || selected == root) return;
    TRect rect = dynamic_cast<const TControl*>(selected) ? FormBounds(static_cast<const TControl*>(selected), root)
                                                         : IconRect(selected);
    canvas->Pen()->SetColor(clHighlight);
    canvas->FrameRect(Rect(rect.Left - kCellWidth, rect.Top - kCellHeight, rect.Right + kCellWidth, rect.Bottom + kCellHeight));
}

void TDesignSurface::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    inherited::MouseDown(button, shift, x, y);
    if (!FWindow || button != mbLeft) return;
    if (!Focused()) SetFocus();
    if (shift.Contains(ssDouble)) {
        FWindow->RunDefaultVerb();
        return;
    }
    if (!FWindow->PendingClass().empty()) {
        FWindow->PlaceAt(Point(SnapX(x), SnapY(y)));
        return;
    }
    FWindow->SelectComponent(ComponentAt(Point(x, y)));
}

void TDesignSurface::KeyDown(std::uint16_t& key, TShiftState shift) {
    inherited::KeyDown(key, shift);
    if (!FWindow || key == 0) return;
    const bool resize = shift == TShiftState{ssShift};
    if (!shift.Empty() && !resize) return;
    switch (key) {
    case VK_LEFT: FWindow->MoveSelection(-kCellWidth, 0, resize); break;
    case VK_RIGHT: FWindow->MoveSelection(kCellWidth, 0, resize); break;
    case VK_UP: FWindow->MoveSelection(0, -kCellHeight, resize); break;
    case VK_DOWN: FWindow->MoveSelection(0, kCellHeight, resize); break;
    case VK_F10:
        if (!resize) return;
        FWindow->ShowVerbs();
        break;
    case VK_DELETE:
        if (resize) return;
        FWindow->DeleteSelection();
        break;
    case VK_RETURN:
        if (resize) return;
        FWindow->RunDefaultVerb();
        break;
    case VK_ESCAPE:
        if (resize) return;
        FWindow->ChoosePaletteClass("");
        FWindow->SetStatus("");
        break;
    default: return;
    }
    key = 0;
}

} // namespace designer
