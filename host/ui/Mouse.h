#pragma once
// The mouse: clicks delivered to a control as the button messages a real
// mouse would produce, with the keyboard's modifiers in the key flags.

#include "host/core/Export.h"
#include "host/ui/Geometry.h"

VESKAR_PUBLIC_BEGIN

namespace host {

class TControl;
class TWinControl;
class TCustomListBox;

class TMouse {
public:
    // WM_LBUTTONDOWN then WM_LBUTTONUP at Point (client coordinates of
    // Control); the middle of the control when Point is left out.
    void Click(TControl* control);
    void Click(TControl* control, TPoint point);
    // A click, then WM_LBUTTONDBLCLK and WM_LBUTTONUP at the same point.
    void DblClick(TControl* control);
    void DblClick(TControl* control, TPoint point);
    // A click on a list box's item, scrolled into view first as a user
    // would: the box takes the focus, selects the item and runs OnClick.
    // Nothing for an index outside the items.
    void ClickItem(TCustomListBox* listBox, int index);
    // Notches of the wheel over Control (at Point, client coordinates; the
    // middle when left out): positive away from the user, negative toward.
    // One WM_MOUSEWHEEL with the whole distance, as a quick turn sends.
    void Wheel(TControl* control, int notches);
    void Wheel(TControl* control, int notches, TPoint point);
    // A click on the close box of a top-level window's frame: WM_SYSCOMMAND
    // with SC_CLOSE, which a form with a frame answers by closing.
    void ClickCloseBox(TWinControl* window);
};

TMouse& Mouse();

// What a back end asks when a real pointer moves or clicks: the deepest
// visible control under Point (Parent's client coordinates), topmost
// first, Parent itself when none is; and whether a control takes pointer
// input at all (hidden or disabled controls do not, nor any outside the
// form of a modal run).
TControl* ControlAtPoint(TWinControl* parent, TPoint point);
bool TakesPointerInput(const TControl* control);

} // namespace host

VESKAR_PUBLIC_END
