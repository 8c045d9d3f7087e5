#pragma once
// Watching components owned elsewhere. TComponentWatch is the one way to
// hear of their end (through their removal notices); TComponentRef is a
// reference built on it that turns nil when its component goes, for code
// that holds a component across calls that may free it (a click, a modal
// run, a form being read).

#include "host/core/Component.h"

#include <functional>

namespace host {

class TComponentWatch {
public:
    // OnGone hears of each watched component that is ending; it is no
    // longer watched then.
    explicit TComponentWatch(std::function<void(TComponent*)> onGone);
    ~TComponentWatch();
    TComponentWatch(const TComponentWatch&) = delete;
    TComponentWatch& operator=(const TComponentWatch&) = delete;

    // Watching one twice watches it once.
    void Watch(TComponent* component);
    void Unwatch(TComponent* component);

private:
    class TListener;
    Owned<TListener> FListener;
    std::function<void(TComponent*)> FOnGone;
};

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
