#pragma once
// Usubcls: the subclass registry. A subclass object registered for a control
// sees every message that reaches the control's window procedure, by
// reference, in BeforeWndProc before the control handles it and in
// AfterWndProc after.
//
// A registration is identified by its pair (control, subclass); a control
// may carry several, and they see each message in the order they were
// registered. A subclass unregistered while a message is being handled gets
// no further call from then on, not even for that message; one registered
// then starts with the next message. A registration ends by itself when the
// control or the subclass object goes, so a freed subclass is never called.

#include "host/core/Export.h"
#include "host/core/Object.h"
#include "host/ui/Controls.h"
#include "host/ui/Messages.h"

#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TSubclassRegistry;

// The object is itself the hook in the window procedure of each control it
// is registered with: a message reaches its BeforeWndProc and AfterWndProc
// straight from the control, one virtual call a pass.
class TControlSubclass : public TObject, public TWndProcHook {
    HOST_CLASS(TControlSubclass, TObject)
public:
    void BeforeWndProc(TMessage& message) override;
    void AfterWndProc(TMessage& message) override;

protected:
    TControlSubclass() : TWndProcHook(this) {}
    void Destroy() override;
    // Freed from inside one of its own calls, the object leaves every
    // registration at once and ends when that call returns.
    void Detach() override;

private:
    friend class TSubclassRegistry;
    void ControlDestroyed(TControl* control) final;

    // The controls it is registered with; the registry knows each one's place.
    std::vector<TControl*> FControls;
};

// Registering a pair that is registered already changes nothing.
void RegisterSubclass(TControl* control, TControlSubclass* subclass);
// Does nothing for a pair that is not registered (also while the control is
// being destroyed, after the registration ended with it).
void UnRegisterSubclass(TControl* control, TControlSubclass* subclass);
bool IsSubclassRegistered(const TControl* control, const TControlSubclass* subclass);
// As UnRegisterSubclass and then RegisterSubclass: the subclass sees the
// control's messages after its other hooks, from the next message on; the
// registration itself is kept rather than ended and made again.
void RenewSubclass(TControl* control, TControlSubclass* subclass);

} // namespace host

VESKAR_PUBLIC_END
