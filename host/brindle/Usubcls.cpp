#include "host/brindle/Usubcls.h"

#include "host/ui/Controls.h"

#include <functional>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>

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

// Registrations by pair, and the controls of each subclass object, so that
// registering, ending and freeing cost the same on a form of ten thousand
// captured controls as on a form of ten.
class TRegistry {
public:
    ~TRegistry() {
        // The program is ending: the controls that remain stop calling in.
        for (const auto& [pair, hook] : FHooks) hook->Control->RemoveWndProcHook(hook.get());
        Gone() = true;
    }

    static bool& Gone() {
        static bool gone = false;
        return gone;
    }

    TSubclassHook* Find(const TControl* control, const TControlSubclass* subclass) const {
        const auto it = FHooks.find({control, subclass});
        return it == FHooks.end() ? nullptr : it->second.get();
    }

    void Add(TControl* control, TControlSubclass* subclass) {
        if (Find(control, subclass)) return;
        auto hook = std::make_unique<TSubclassHook>(control, subclass);
        TSubclassHook* added = hook.get();
        FHooks.emplace(TPair{control, subclass}, std::move(hook));
        FControlsOf[subclass].insert(control);
        control->AddWndProcHook(added);
    }

    void Remove(TControl* control, TControlSubclass* subclass) {
        if (TSubclassHook* hook = Find(control, subclass)) {
            control->RemoveWndProcHook(hook);
            Drop(hook);
        }
    }

    // Ends every registration of Subclass.
    void RemoveSubclass(const TControlSubclass* subclass) {
        const auto it = FControlsOf.find(subclass);
        if (it == FControlsOf.end()) return;
        const std::unordered_set<const TControl*> controls = std::move(it->second);
        FControlsOf.erase(it);
        for (const TControl* control : controls) {
            const auto hook = FHooks.find({control, subclass});
            if (hook == FHooks.end()) continue;
            hook->second->Control->RemoveWndProcHook(hook->second.get());
            FHooks.erase(hook);
        }
    }

    // Forgets a hook its control no longer holds.
    void Drop(const TSubclassHook* hook) {
        const TPair pair{hook->Control, hook->Subclass};
        if (const auto it = FControlsOf.find(pair.second); it != FControlsOf.end()) {
            it->second.erase(pair.first);
            if (it->second.empty()) FControlsOf.erase(it);
        }
        FHooks.erase(pair);
    }

private:
    using TPair = std::pair<const TControl*, const TControlSubclass*>;
    struct TPairHash {
        size_t operator()(const TPair& p) const {
            return std::hash<const void*>{}(p.first) * 31 + std::hash<const void*>{}(p.second);
        }
    };
    std::unordered_map<TPair, std::unique_ptr<TSubclassHook>, TPairHash> FHooks;
    std::unordered_map<const TControlSubclass*, std::unordered_set<const TControl*>> FControlsOf;
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
