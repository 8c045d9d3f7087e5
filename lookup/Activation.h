#pragma once
// The one way the package's components change a data source they refer to:
// deactivate, store, reactivate, so an active component rebuilds against
// the new source. Each source is watched for its removal while either of
// the component's two references holds it.

#include "host/data/DataSource.h"

namespace veskar {

template <class Component>
void ReplaceDataSource(Component& component, host::TDataSource*& slot, host::TDataSource* value,
                       const host::TDataSource* other) {
    if (value == slot) return;
    const bool wasActive = component.Active();
    component.SetActive(false);
    host::TDataSource* old = slot;
    slot = value;
    if (old && old != other) component.RemoveFreeNotification(old);
    if (value) component.FreeNotification(value);
    component.SetActive(wasActive);
}

} // namespace veskar
