#include "host/core/ComponentRef.h"

namespace host {

void TComponentRefBase::SetTarget(TComponent* component) {
    if (component == FTarget) return;
    FWatch.Unwatch(FTarget);
    FTarget = component;
    FWatch.Watch(component);
}

} // namespace host
