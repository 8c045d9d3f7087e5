#include "host/brindle/Usubcls.h"

#include <functional>
#include <unordered_map>
#include <utility>

namespace host {

HOST_IMPLEMENT_CLASS(TControlSubclass, TObject)

// Registrations by pair, each with its place in the subclass object's list
// of controls, so that registering, ending and freeing cost the same on a
// form of ten thousand captured controls as on a form of ten, and a
// registration costs one small allocation.
class TSubclassRegistry {
public:
    ~TSubclassRegistry() {
        // The program is ending: the controls that remain stop calling in.
        for (const auto& [pair, place] : FPlaces) const_cast<TControl*>(pair.first)->RemoveWndProcHook(Hook(pair.second));
        Gone() = true;
    }

    static bool& Gone() {
        static bool gone = false;
        return gone;
    }

    bool Find(const TControl* control, const TControlSubclass* subclass) const {
        return FPlaces.contains({control, subclass});
    }

    void Add(TControl* control, TControlSubclass* subclass) {
        if (!FPlaces.try_emplace({control, subclass}, subclass->FControls.size()).second) return;
        subclass->FControls.push_back(control);
        control->AddWndProcHook(subclass);
    }

    void Remove(TControl* control, TControlSubclass* subclass) {
        const auto it = FPlaces.find({control, subclass});
        if (it == FPlaces.end()) return;
        control->RemoveWndProcHook(subclass);
        Forget(it);
    }

    // Ends every registration of Subclass.
    void RemoveSubclass(TControlSubclass* subclass) {
        const std::vector<TControl*> controls = std::exchange(subclass->FControls, {});
        for (TControl* control : controls) {
            FPlaces.erase({control, subclass});
            control->RemoveWndProcHook(subclass);
        }
    }

    // Forgets a registration its control no longer holds.
    void Drop(const TControl* control, TControlSubclass* subclass) {
        const auto it = FPlaces.find({control, subclass});
        if (it != FPlaces.end()) Forget(it);
    }

private:
    using TPair = std::pair<const TControl*, const TControlSubclass*>;
    struct TPairHash {
        size_t operator()(const TPair& p) const {
            return std::hash<const void*>{}(p.first) * 31 + std::hash<const void*>{}(p.second);
        }
    };
    using TPlaces = std::unordered_map<TPair, size_t, TPairHash>;

    static TWndProcHook* Hook(const TControlSubclass* subclass) { return const_cast<TControlSubclass*>(subclass); }

    // The last control of the subclass takes the place of the one that goes.
    void Forget(TPlaces::iterator it) {
        auto* subclass = const_cast<TControlSubclass*>(it->first.second);
        std::vector<TControl*>& controls = subclass->FControls;
        const size_t place = it->second;
        FPlaces.erase(it);
        if (place + 1 < controls.size()) {
            controls[place] = controls.back();
            FPlaces[{controls[place], subclass}] = place;
        }
        controls.pop_back();
    }

    TPlaces FPlaces;
};

namespace {

TSubclassRegistry* Registry() {
    static TSubclassRegistry registry;
    return TSubclassRegistry::Gone() ? nullptr : &registry;
}

} // namespace

void TControlSubclass::ControlDestroyed(TControl* control) {
    if (TSubclassRegistry* registry = Registry()) registry->Drop(control, this);
}

void TControlSubclass::BeforeWndProc(TMessage&) {}

void TControlSubclass::AfterWndProc(TMessage&) {}

void TControlSubclass::Detach() {
    if (TSubclassRegistry* registry = Registry()) registry->RemoveSubclass(this);
}

void TControlSubclass::Destroy() {
    Detach();
    inherited::Destroy();
}

void RegisterSubclass(TControl* control, TControlSubclass* subclass) {
    if (!control || !subclass) return;
    if (TSubclassRegistry* registry = Registry()) registry->Add(control, subclass);
}

void UnRegisterSubclass(TControl* control, TControlSubclass* subclass) {
    if (TSubclassRegistry* registry = Registry()) registry->Remove(control, subclass);
}

void RenewSubclass(TControl* control, TControlSubclass* subclass) {
    if (!control || !subclass) return;
    // Only a registration puts a subclass among a control's hooks: one that
    // is last already, outside a message, has nothing to renew.
    if (control->IsLastWndProcHook(subclass) && !control->KeptAlive()) return;
    TSubclassRegistry* registry = Registry();
    if (!registry) return;
    if (!registry->Find(control, subclass)) {
        registry->Add(control, subclass);
        return;
    }
    control->RenewWndProcHook(subclass);
}

bool IsSubclassRegistered(const TControl* control, const TControlSubclass* subclass) {
    TSubclassRegistry* registry = Registry();
    return registry && registry->Find(control, subclass);
}

} // namespace host
