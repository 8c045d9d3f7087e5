#include "host/stream/ComponentTracker.h"

#include "host/core/Component.h"

#include <algorithm>

namespace host {

class TTrackerWatch : public TComponent {
    HOST_CLASS(TTrackerWatch, TComponent)
public:
    TComponentTracker* Tracker = nullptr;

protected:
    explicit TTrackerWatch(TComponent* owner) : TComponent(owner) {}
    void Notification(TComponent* component, TOperation operation) override {
        inherited::Notification(component, operation);
        if (operation == opRemove && Tracker) Tracker->Gone(component);
    }
};

HOST_IMPLEMENT_CLASS(TTrackerWatch, TComponent)

// The watch's class reference is made first, so a tracker with static
// storage is ended before it.
TComponentTracker::TComponentTracker() { (void)TTrackerWatch::ClassInfo(); }

TComponentTracker::~TComponentTracker() {
    if (!FWatch) return;
    FWatch->Tracker = nullptr;
    for (TComponent* c : FItems) FWatch->RemoveFreeNotification(c);
    Free(FWatch);
}

void TComponentTracker::Add(TComponent* component) {
    if (!component || Contains(component)) return;
    if (!FWatch) {
        FWatch = TTrackerWatch::Create(nullptr);
        FWatch->Tracker = this;
    }
    FItems.push_back(component);
    FWatch->FreeNotification(component);
}

void TComponentTracker::Remove(TComponent* component) {
    if (!Contains(component)) return;
    std::erase(FItems, component);
    FWatch->RemoveFreeNotification(component);
}

bool TComponentTracker::Contains(const TComponent* component) const {
    return component && std::find(FItems.begin(), FItems.end(), component) != FItems.end();
}

void TComponentTracker::Gone(TComponent* component) {
    if (!Contains(component)) return;
    std::erase(FItems, component);
    if (OnGone) OnGone(component);
}

} // namespace host
