#pragma once
// The order form's lookup forms, each with a caption that says what is
// being picked: customers in the form that searches as the clerk types (by
// number, or by company after a click on its title), parts in the default
// form. Where the screen has no room for a lookup form beside the control
// it was called from (an 80-column terminal), it opens below that control
// instead of over it, and it always lies wholly on the screen.

#include "lookup/Lddlg.h"
#include "lookup/Ldlkpdlg.h"

namespace demo {

// Moves a lookup form off the control it was called from when it covers
// it, shorter if need be, and onto the screen.
void PlaceLookupForm(host::TCustomForm& form);

class TCustomerLookupForm : public veskar::TSearchLookupForm {
    HOST_CLASS(TCustomerLookupForm, veskar::TSearchLookupForm)
protected:
    explicit TCustomerLookupForm(host::TComponent* owner) : TSearchLookupForm(owner) {}
    void DoCreate() override;
    void DoShow() override;
};

class TPartLookupForm : public veskar::TDefaultLookupForm {
    HOST_CLASS(TPartLookupForm, veskar::TDefaultLookupForm)
protected:
    explicit TPartLookupForm(host::TComponent* owner) : TDefaultLookupForm(owner) {}
    void DoCreate() override;
    void DoShow() override;
};

// Handlers for a lookup's GetLookupFormClass.
veskar::TBaseLookupFormClass CustomerLookupForm(veskar::TLookupDialog* dialog);
veskar::TBaseLookupFormClass PartLookupForm(veskar::TLookupDialog* dialog);

} // namespace demo
