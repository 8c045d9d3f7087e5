#include "examples/LookupForms.h"

#include "examples/OrderEntry.h"
#include "host/ui/Focus.h"
#include "host/ui/Screen.h"
#include "host/ui/StdCtrls.h"

#include <algorithm>

using namespace host;
using namespace veskar;

namespace demo {

HOST_IMPLEMENT_COMPONENT(TCustomerLookupForm, TSearchLookupForm)
HOST_IMPLEMENT_COMPONENT(TPartLookupForm, TDefaultLookupForm)

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

// The form's height, made shorter to fit Room pixels if need be: by whole
// rows, so the controls keep their places in the cells.
int HeightWithin(const TCustomForm& form, int room) {
    if (form.Height() <= room) return form.Height();
    return form.Height() - (form.Height() - room + kCellHeight - 1) / kCellHeight * kCellHeight;
}

} // namespace

void PlaceLookupForm(TCustomForm& form) {
    TRect caller;
    if (CallerBounds(caller) && Overlap(form.BoundsRect(), caller)) {
        // Below the edit, else above it, shorter if need be.
        const int below = caller.Bottom + kCellHeight / 2;
        const int roomBelow = Screen()->Height() - below;
        const int roomAbove = caller.Top - kCellHeight / 2;
        if (roomBelow >= kLeastHeight) {
            form.SetBounds(form.Left(), below, form.Width(), HeightWithin(form, roomBelow));
        } else if (roomAbove >= kLeastHeight) {
            const int height = HeightWithin(form, roomAbove);
            form.SetBounds(form.Left(), roomAbove - height, form.Width(), height);
        }
    }
    FitToScreen(&form);
}

void TCustomerLookupForm::DoCreate() {
    SetCaption("Customers");
    inherited::DoCreate();
}

void TCustomerLookupForm::DoShow() {
    PlaceLookupForm(*this);
    inherited::DoShow();
}

void TPartLookupForm::DoCreate() {
    SetCaption("Parts");
    inherited::DoCreate();
}

void TPartLookupForm::DoShow() {
    PlaceLookupForm(*this);
    inherited::DoShow();
}

TBaseLookupFormClass CustomerLookupForm(TLookupDialog*) { return &ClassOf<TCustomerLookupForm>(); }
TBaseLookupFormClass PartLookupForm(TLookupDialog*) { return &ClassOf<TPartLookupForm>(); }

} // namespace demo
