#pragma once
// How the package's components switch on and off, written once. A component
// with an Active switch and data sources follows four rules, each a piece
// here so a component can take the ones it needs:
//   SetActive    records the value while the component is designed or being
//                read; otherwise a change is applied at once (SetActiveState).
//   Loaded       applies the value that was read (ApplyActiveAfterLoading).
//   data sources are changed by deactivating, storing and reactivating
//                (ReplaceDataSource), and watched for their removal while
//                the component refers to them (WatchDataSource).
//   Notification drops a data source that goes, through its setter, as if
//                it had been set to nil (DropRemovedDataSource).

#include "host/core/Export.h"
#include "host/data/DataSource.h"

VESKAR_PUBLIC_BEGIN

namespace veskar {

// Apply(Value) builds or takes down what the active component needs.
template <class Apply>
void SetActiveState(const host::TComponent& component, bool& active, bool value, Apply apply) {
    const host::TComponentState state = component.ComponentState();
    if (value != active && !state.Contains(host::csDesigning) && !state.Contains(host::csLoading)) apply(value);
    active = value;
}

// Through the component's own SetActive, so a descendant's override runs.
template <class Component>
void ApplyActiveAfterLoading(Component& component) {
    if (component.Active() && !component.ComponentState().Contains(host::csDesigning)) {
        component.SetActive(false);
        component.SetActive(true);
    }
}

// Slot is one of the component's two data source references, Other the
// second: a source stays watched while either holds it.
inline void WatchDataSource(host::TComponent& component, host::TDataSource*& slot, host::TDataSource* value,
                            const host::TDataSource* other) {
    host::TDataSource* old = slot;
    slot = value;
    if (old && old != value && old != other) component.RemoveFreeNotification(old);
    if (value) component.FreeNotification(value);
}

template <class Component>
void ReplaceDataSource(Component& component, host::TDataSource*& slot, host::TDataSource* value,
                       const host::TDataSource* other) {
    if (value == slot) return;
    const bool wasActive = component.Active();
    component.SetActive(false);
    WatchDataSource(component, slot, value, other);
    component.SetActive(wasActive);
}

// Not while the component goes itself: it is letting everything go anyway.
template <class Component>
void DropRemovedDataSource(Component& component, const host::TComponent* removed, host::TOperation operation,
                           const host::TDataSource* source, void (Component::*setter)(host::TDataSource*)) {
    if (operation != host::opRemove || !removed || removed != source) return;
    if (!component.ComponentState().Contains(host::csDestroying)) (component.*setter)(nullptr);
}

} // namespace veskar

VESKAR_PUBLIC_END
