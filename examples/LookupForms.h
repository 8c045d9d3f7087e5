#pragma once
// The order form's lookup forms: the default lookup form with a caption
// that says what is being picked. Where the screen has no room for it
// beside the control it was called from (an 80-column terminal), it opens
// below that control instead of over it, and it always lies wholly on the
// screen.

#include "lookup/Lddlg.h"
#include "lookup/Ldlkpdlg.h"

namespace demo {

class TCaptionedLookupForm : public veskar::TDefaultLookupForm {
    HOST_CLASS(TCaptionedLookupForm, veskar::TDefaultLookupForm)
protected:
    explicit TCaptionedLookupForm(host::TComponent* owner) : TDefaultLookupForm(owner) {}
    void DoCreate() override;
    void DoShow() override;
    // The form's height, made shorter to fit Room pixels if need be.
    int HeightWithin(int room) const;
    virtual const char* PickCaption() const { return ""; }
};

class TCustomerLookupForm : public TCaptionedLookupForm {
    HOST_CLASS(TCustomerLookupForm, TCaptionedLookupForm)
protected:
    explicit TCustomerLookupForm(host::TComponent* owner) : TCaptionedLookupForm(owner) {}
    const char* PickCaption() const override { return "Customers"; }
};

class TPartLookupForm : public TCaptionedLookupForm {
    HOST_CLASS(TPartLookupForm, TCaptionedLookupForm)
protected:
    explicit TPartLookupForm(host::TComponent* owner) : TCaptionedLookupForm(owner) {}
    const char* PickCaption() const override { return "Parts"; }
};

// Handlers for a lookup's GetLookupFormClass.
veskar::TBaseLookupFormClass CustomerLookupForm(veskar::TLookupDialog* dialog);
veskar::TBaseLookupFormClass PartLookupForm(veskar::TLookupDialog* dialog);

} // namespace demo
