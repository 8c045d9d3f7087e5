#include "host/core/ComponentRef.h"

namespace host {

class TComponentRefBase::TWatch : public TComponent {
    HOST_CLASS(TWatch, TComponent)
public:
    TComponent* Watched = nullptr;

    void Notification(TComponent* component, TOperation operation) override {
        if (operation == opRemove && component == Watched) Watched = nullptr;
        inherited::Notification(component, operation);
    }

protected:
    explicit TWatch(TComponent* owner) : TComponent(owner) {}
};

const TClass& TComponentRefBase::TWatch::ClassInfo() {
    static const TClass info("TComponentWatch", &TComponent::ClassInfo());
    return info;
}

TComponentRefBase::TComponentRefBase() : FWatch(TWatch::Create(nullptr)) {}

// The watch's own end drops its notices both ways.
TComponentRefBase::~TComponentRefBase() = default;

TComponent* TComponentRefBase::Target() const { return FWatch->Watched; }

void TComponentRefBase::SetTarget(TComponent* component) {
    if (component == FWatch->Watched) return;
    if (FWatch->Watched) FWatch->RemoveFreeNotification(FWatch->Watched);
    FWatch->Watched = component;
    if (component) FWatch->FreeNotification(component);
}

} // namespace host
