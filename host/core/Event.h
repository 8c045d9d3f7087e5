#pragma once
// Events: a method of some object, or any callable, that can be unassigned,
// tested, called, and copied from one component to another. An event bound
// by name (from a form file) remembers the method's name so it can be
// written back.

#include "host/core/Export.h"

#include <functional>
#include <string>
#include <utility>

VESKAR_PUBLIC_BEGIN

namespace host {

class TObject;

template <class Sig>
class TEvent;

template <class R, class... A>
class TEvent<R(A...)> {
public:
    TEvent() = default;
    TEvent(std::nullptr_t) {}
    template <class F,
              class = std::enable_if_t<std::is_invocable_r_v<R, F&, A...> &&
                                       !std::is_same_v<std::decay_t<F>, TEvent>>>
    TEvent(F handler) : FHandler(std::move(handler)) {}

    // Binds a method of an object; Name is the method's published name, if any.
    template <class T, class M>
    static TEvent Method(T* object, M method, std::string name = {}) {
        TEvent e([object, method](A... args) -> R { return (object->*method)(std::forward<A>(args)...); });
        e.FData = object;
        e.FMethodName = std::move(name);
        return e;
    }

    bool Assigned() const { return static_cast<bool>(FHandler); }
    explicit operator bool() const { return Assigned(); }
    R operator()(A... args) const { return FHandler(std::forward<A>(args)...); }

    // The object whose method is bound (nil for a plain callable).
    TObject* Data() const { return FData; }
    const std::string& MethodName() const { return FMethodName; }
    void Clear() { *this = TEvent(); }

private:
    std::function<R(A...)> FHandler;
    TObject* FData = nullptr;
    std::string FMethodName;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

} // namespace host

VESKAR_PUBLIC_END
