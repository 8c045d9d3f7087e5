#include "host/core/ComponentRef.h"

namespace host {

// The component that asks for the removal notices on the watch's behalf.
class TComponentWatch::TListener : public TComponent {
    HOST_CLASS(TListener, TComponent)
public:
    TComponentWatch* Watch = nullptr;

    void Notification(TComponent* component, TOperation operation) override {
        inherited::Notification(component, operation);
        if (operation == opRemove && Watch && Watch->FOnGone) Watch->FOnGone(component);
    }

protected:
    explicit TListener(TComponent* owner) : TComponent(owner) {}
};

const TClass& TComponentWatch::TListener::ClassInfo() {
    static const TClass info("TComponentWatch", &TComponent::ClassInfo());
    return info;
}

// The listener's class reference is made first, so a watch with static
// storage is ended before it.
TComponentWatch::TComponentWatch(std::function<void(TComponent*)> onGone) : FOnGone(std::move(onGone)) {
    (void)TListener::ClassInfo();
}

// The listener's own end drops its notices both ways, and it tells no one.
TComponentWatch::~TComponentWatch() {
    if (FListener) FListener->Watch = nullptr;
}

void TComponentWatch::Watch(TComponent* component) {
    if (!component) return;
    if (!FListener) {
        FListener.reset(TListener::Create(nullptr));
        FListener->Watch = this;
    }
    FListener->FreeNotification(component);
}

void TComponentWatch::Unwatch(TComponent* component) {
    if (component && FListener) FListener->RemoveFreeNotification(component);
}

void TComponentRefBase::SetTarget(TComponent* component) {
    if (component == FTarget) return;
    FWatch.Unwatch(FTarget);
    FTarget = component;
    FWatch.Watch(component);
}

} // namespace host
