#pragma once
// TComponentRef: a reference to a component owned elsewhere that turns nil
// when the component goes (it is built on TComponentWatch). For code that
// holds a component across calls that may free it (a click, a modal run).

#include "host/core/Export.h"
#include "host/core/Component.h"

VESKAR_PUBLIC_BEGIN

namespace host {

class TComponentRefBase {
public:
    TComponentRefBase(const TComponentRefBase&) = delete;
    TComponentRefBase& operator=(const TComponentRefBase&) = delete;

protected:
    TComponentRefBase() = default;
    TComponent* Target() const { return FTarget; }
    void SetTarget(TComponent* component);

private:
    TComponent* FTarget = nullptr;
    TComponentWatch FWatch{[this](TComponent*) { FTarget = nullptr; }};
};

template <class T>
class TComponentRef : public TComponentRefBase {
public:
    TComponentRef() = default;
    explicit TComponentRef(T* component) { Set(component); }

    T* Get() const { return static_cast<T*>(Target()); }
    void Set(T* component) { SetTarget(component); }
    T* operator->() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }

    // Frees the component if it still exists; the reference is nil after.
    void FreeTarget() {
        T* doomed = Get();
        Set(nullptr);
        Free(doomed);
    }
};

} // namespace host

VESKAR_PUBLIC_END
