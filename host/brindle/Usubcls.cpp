#include "host/brindle/Usubcls.h"

#include "host/ui/Controls.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace host {

HOST_IMPLEMENT_CLASS(TControlSubclass, TObject)

// One registration: hooks one subclass object into one control's window
// procedure. It never touches itself after handing a message on, since the
// call may end the registration.
class TSubclassHook final : public TWndProcHook {
public:
    TSubclassHook(TControl* control, TControlSubclass* subclass) : Control(control), Subclass(subclass) {}
    void BeforeMessage(TControl*, TMessage& message) override {
        Subclass->Deliver(TControlSubclass::TPass::Before, message);
    }
    void AfterMessage(TControl*, TMessage& message) override {
        Subclass->Deliver(TControlSubclass::TPass::After, message);
    }
    void ControlDestroyed(TControl* control) override;

    TControl* const Control;
    TControlSubclass* const Subclass;
};

namespace {

class TRegistry {
public:
    ~TRegistry() {
        // The program is ending: the controls that remain stop calling in.
        for (const auto& hook : FHooks) hook->Control->RemoveWndProcHook(hook.get());
        Gone() = true;
    }

    static bool& Gone() {
        static bool gone = false;
        return gone;
    }

    TSubclassHook* Find(const TControl* control, const TControlSubclass* subclass) const {
        for (const auto& hook : FHooks)
            if (hook->Control == control && hook->Subclass == subclass) return hook.get();
        return nullptr;
    }

    void Add(TControl* control, TControlSubclass* subclass) {
        if (Find(control, subclass)) return;
        FHooks.push_back(std::make_unique<TSubclassHook>(control, subclass));
        control->AddWndProcHook(FHooks.back().get());
    }

    void Remove(TControl* control, TControlSubclass* subclass) {
        if (TSubclassHook* hook = Find(control, subclass)) {
            control->RemoveWndProcHook(hook);
            Drop(hook);
        }
    }

    // Ends every registration of Subclass.
    void RemoveSubclass(const TControlSubclass* subclass) {
        for (size_t i = FHooks.size(); i-- > 0;)
            if (FHooks[i]->Subclass == subclass) {
                FHooks[i]->Control->RemoveWndProcHook(FHooks[i].get());
                FHooks.erase(FHooks.begin() + static_cast<std::ptrdiff_t>(i));
            }
    }

    // Forgets a hook its control no longer holds.
    void Drop(const TSubclassHook* hook) {
        auto it = std::find_if(FHooks.begin(), FHooks.end(), [hook](const auto& h) { return h.get() == hook; });
        if (it != FHooks.end()) FHooks.erase(it);
    }

private:
    std::vector<std::unique_ptr<TSubclassHook>> FHooks;
};

TRegistry* Registry() {
    static TRegistry registry;
    return TRegistry::Gone() ? nullptr : &registry;
}

} // namespace

void TSubclassHook::ControlDestroyed(TControl*) {
    if (TRegistry* registry = Registry()) registry->Drop(this);
}

void TControlSubclass::BeforeWndProc(TMessage&) {}

void TControlSubclass::AfterWndProc(TMessage&) {}

void TControlSubclass::Deliver(TPass pass, TMessage& message) {
    TKeepAlive alive(this);
    if (pass == TPass::Before)
        BeforeWndProc(message);
    else
        AfterWndProc(message);
}

void TControlSubclass::Detach() {
    if (TRegistry* registry = Registry()) registry->RemoveSubclass(this);
}

void TControlSubclass::Destroy() {
    Detach();
    inherited::Destroy();
}

void RegisterSubclass(TControl* control, TControlSubclass* subclass) {
    if (!control || !subclass) return;
    if (TRegistry* registry = Registry()) registry->Add(control, subclass);
}

void UnRegisterSubclass(TControl* control, TControlSubclass* subclass) {
    if (TRegistry* registry = Registry()) registry->Remove(control, subclass);
}

bool IsSubclassRegistered(const TControl* control, const TControlSubclass* subclass) {
    TRegistry* registry = Registry();
    return registry && registry->Find(control, subclass);
}

} // namespace host
