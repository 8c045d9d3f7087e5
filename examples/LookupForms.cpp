#include "examples/LookupForms.h"

#include "examples/OrderEntry.h"
#include "host/ui/Focus.h"
#include "host/ui/Screen.h"
#include "host/ui/StdCtrls.h"

#include <algorithm>

using namespace host;
using namespace veskar;

namespace demo {

HOST_IMPLEMENT_COMPONENT(TCaptionedLookupForm, TDefaultLookupForm)
HOST_IMPLEMENT_COMPONENT(TCustomerLookupForm, TCaptionedLookupForm)
HOST_IMPLEMENT_COMPONENT(TPartLookupForm, TCaptionedLookupForm)

namespace {

// The rows a lookup form keeps however little room there is: its frame,
// the titles and a few records, and the buttons.
constexpr int kLeastHeight = 10 * kCellHeight;

// The edit the lookup was called from (an edit, or a grid's cell editor),
// in screen pixels: the focus is still there while the form is being shown.
bool CallerBounds(TRect& bounds) {
    const auto* caller = dynamic_cast<const TCustomEdit*>(FocusManager().Focused());
    if (!caller) return false;
    const TPoint at = caller->ClientOrigin();
    bounds = Rect(at.X, at.Y, at.X + caller->Width(), at.Y + caller->Height());
    return true;
}

bool Overlap(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

} // namespace

void TCaptionedLookupForm::DoCreate() {
    SetCaption(PickCaption());
    inherited::DoCreate();
}

int TCaptionedLookupForm::HeightWithin(int room) const {
    // Shorter by whole rows, so the controls keep their places in the cells.
    if (Height() <= room) return Height();
    return Height() - (Height() - room + kCellHeight - 1) / kCellHeight * kCellHeight;
}

void TCaptionedLookupForm::DoShow() {
    TRect caller;
    if (CallerBounds(caller) && Overlap(BoundsRect(), caller)) {
        // Below the edit, else above it, shorter if need be.
        const int below = caller.Bottom + kCellHeight / 2;
        const int roomBelow = Screen()->Height() - below;
        const int roomAbove = caller.Top - kCellHeight / 2;
        if (roomBelow >= kLeastHeight) {
            SetBounds(Left(), below, Width(), HeightWithin(roomBelow));
        } else if (roomAbove >= kLeastHeight) {
            const int height = HeightWithin(roomAbove);
            SetBounds(Left(), roomAbove - height, Width(), height);
        }
    }
    FitToScreen(this);
    inherited::DoShow();
}

TBaseLookupFormClass CustomerLookupForm(TLookupDialog*) { return &ClassOf<TCustomerLookupForm>(); }
TBaseLookupFormClass PartLookupForm(TLookupDialog*) { return &ClassOf<TPartLookupForm>(); }

} // namespace demo
