#pragma once
// Scope guards: the framework's try/finally written once. A guard runs its
// cleanup when the scope ends, however it ends. A cleanup that raises while
// another exception is already on its way is dropped, so the first error
// reaches the caller (a destructor must not raise then).

#include "host/core/Export.h"

#include <exception>
#include <utility>

VESKAR_PUBLIC_BEGIN

namespace host {

// Runs Cleanup at the end of a guard's scope; Unwinding is the count of
// exceptions in flight when the guard was made.
template <class F>
void RunCleanup(int unwinding, F&& cleanup) {
    if (std::uncaught_exceptions() == unwinding) {
        cleanup();
        return;
    }
    try {
        cleanup();
    } catch (...) {
    }
}

template <class F>
class TFinally {
public:
    explicit TFinally(F cleanup) : FCleanup(std::move(cleanup)) {}
    ~TFinally() noexcept(false) { RunCleanup(FUnwinding, FCleanup); }
    TFinally(const TFinally&) = delete;
    TFinally& operator=(const TFinally&) = delete;

private:
    F FCleanup;
    int FUnwinding = std::uncaught_exceptions();
};

// A flag raised for the length of a call and lowered after it, also when
// a nested call raised it already (the flag says "in a call", not how deep).
class TScopedFlag {
public:
    explicit TScopedFlag(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TScopedFlag() { FFlag = false; }
    TScopedFlag(const TScopedFlag&) = delete;
    TScopedFlag& operator=(const TScopedFlag&) = delete;

private:
    bool& FFlag;
};

// Calls Begin on the target now and End when the scope ends.
template <class T, auto Begin, auto End>
class TPairGuard {
public:
    explicit TPairGuard(T& target) : FTarget(target) { (FTarget.*Begin)(); }
    ~TPairGuard() noexcept(false) { RunCleanup(FUnwinding, [this] { (FTarget.*End)(); }); }
    TPairGuard(const TPairGuard&) = delete;
    TPairGuard& operator=(const TPairGuard&) = delete;

private:
    T& FTarget;
    int FUnwinding = std::uncaught_exceptions();
};

// Classes rather than alias templates: clang 14, which builds the fuzz
// targets, deduces the arguments of class templates only.
// String lists and collections.
template <class T>
class TUpdateGuard : public TPairGuard<T, &T::BeginUpdate, &T::EndUpdate> {
public:
    explicit TUpdateGuard(T& target) : TPairGuard<T, &T::BeginUpdate, &T::EndUpdate>(target) {}
};
// Datasets.
template <class T>
class TControlsDisabled : public TPairGuard<T, &T::DisableControls, &T::EnableControls> {
public:
    explicit TControlsDisabled(T& target) : TPairGuard<T, &T::DisableControls, &T::EnableControls>(target) {}
};

} // namespace host

VESKAR_PUBLIC_END
