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

#include "host/core/Object.h"
#include "host/ui/Messages.h"

namespace host {

class TControl;

class TControlSubclass : public TObject {
    HOST_CLASS(TControlSubclass, TObject)
public:
    virtual void BeforeWndProc(TMessage& message);
    virtual void AfterWndProc(TMessage& message);

protected:
    TControlSubclass() = default;
    void Destroy() override;
    // Freed from inside one of its own calls, the object leaves every
    // registration at once and ends when that call returns.
    void Detach() override;

private:
    friend class TSubclassHook;
    enum class TPass { Before, After };
    void Deliver(TPass pass, TMessage& message);
};

// Registering a pair that is registered already changes nothing.
void RegisterSubclass(TControl* control, TControlSubclass* subclass);
// Does nothing for a pair that is not registered (also while the control is
// being destroyed, after the registration ended with it).
void UnRegisterSubclass(TControl* control, TControlSubclass* subclass);
bool IsSubclassRegistered(const TControl* control, const TControlSubclass* subclass);

} // namespace host
