#include "host/stream/ComponentTracker.h"

#include <algorithm>

namespace host {

void TComponentTracker::Add(TComponent* component) {
    if (!component || Contains(component)) return;
    FItems.push_back(component);
    FHeld.insert(component);
    FWatch.Watch(component);
}

void TComponentTracker::Remove(TComponent* component) {
    if (!Contains(component)) return;
    std::erase(FItems, component);
    FHeld.erase(component);
    FWatch.Unwatch(component);
}

bool TComponentTracker::Contains(const TComponent* component) const {
    return component && FHeld.contains(component);
}

void TComponentTracker::Gone(TComponent* component) {
    if (!Contains(component)) return;
    std::erase(FItems, component);
    FHeld.erase(component);
    if (OnGone) OnGone(component);
}

} // namespace host
