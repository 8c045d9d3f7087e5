#pragma once
// The root of the host's classes and its lifetime rules.
//
// Objects are made through T::Create(...) and ended through Free(). Create
// runs the C++ constructor and then the steps that need the whole object
// (Constructed, AfterConstruction), so a virtual call made there reaches the
// most derived override. Free runs BeforeDestruction and the virtual Destroy
// chain on the whole object before the memory goes, so a base class's
// destruction may still call a descendant's overrides. Each Destroy override
// does its own work and ends with inherited::Destroy().
//
// An object freed while a call of its own is on the stack (a handler that
// frees the control it was called for) ends when that call returns: the
// call holds a TKeepAlive on the object, Free then only runs Detach (the
// object lets go of its links, registrations and captures at once) and the
// outermost keep-alive finishes the Free.
//
// Owned members: a member the object owns is held in an Owned<> and goes
// with the C++ object, after Destroy. A Destroy override frees (reset()) an
// owned member by hand only when it must go before something else in the
// destruction; it says why where it does.

#include "host/core/Export.h"
#include "host/core/Class.h"

#include <memory>

VESKAR_PUBLIC_BEGIN

namespace host {

class TObject {
public:
    static const TClass& ClassInfo();
    virtual const TClass& ClassType() const { return ClassInfo(); }
    const std::string& ClassName() const { return ClassType().ClassName(); }
    bool InheritsFrom(const TClass& cls) const { return ClassType().InheritsFrom(cls); }

    // Ends the object. Safe to call once; a second call while the first runs
    // does nothing. Under a keep-alive it detaches the object now and leaves
    // the rest to the outermost keep-alive.
    void Free();
    bool Freeing() const { return FFreeing; }
    // True once Free was asked for while a keep-alive holds the object: it is
    // detached and ends when the keep-alive does.
    bool FreePending() const { return FFreePending; }
    // True while a keep-alive holds the object: a call of its own is running.
    bool KeptAlive() const { return FKeepAlive > 0; }

    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;

protected:
    TObject() = default;
    virtual ~TObject() = default;

    // Steps of construction that need the finished object.
    virtual void Constructed() {}
    virtual void AfterConstruction() {}
    // Steps of destruction, run on the whole object.
    virtual void BeforeDestruction() {}
    virtual void Destroy() {}
    // Free arrived under a keep-alive: stop taking part (unregister, let go of
    // links and captures) now; the memory stays until the keep-alive ends.
    virtual void Detach() {}
    // Ends an object whose construction failed after the C++ constructor.
    void DestroyFailed() noexcept;

    friend struct Constructor;

private:
    friend class TKeepAlive;
    int FKeepAlive = 0;
    bool FFreeing = false;
    bool FFreePending = false;
};

// Keeps an object's memory for the length of a call that may free it; a Free
// asked for meanwhile completes when the outermost keep-alive ends.
class TKeepAlive {
public:
    explicit TKeepAlive(TObject* object) : FObject(object) { ++FObject->FKeepAlive; }
    // Inline: it runs on every message and notice, and almost always only
    // counts down.
    ~TKeepAlive() {
        if (--FObject->FKeepAlive <= 0 && FObject->FFreePending) FinishFree();
    }
    TKeepAlive(const TKeepAlive&) = delete;
    TKeepAlive& operator=(const TKeepAlive&) = delete;

private:
    void FinishFree();
    TObject* FObject;
};

// Frees an object that may be null.
inline void Free(TObject* object) {
    if (object) object->Free();
}

// Clears the pointer before the object goes, so nothing reached from the
// destruction sees a dangling reference through it.
template <class T>
void FreeAndNil(T*& object) {
    T* doomed = object;
    object = nullptr;
    Free(doomed);
}

struct FreeDeleter {
    void operator()(TObject* object) const { Free(object); }
};

// Holds an object the holder owns; frees it through Free().
template <class T>
using Owned = std::unique_ptr<T, FreeDeleter>;

template <class T, class... A>
Owned<T> MakeOwned(A&&... args) {
    return Owned<T>(T::Create(std::forward<A>(args)...));
}

// The framework's "is a T or a descendant" test.
template <class T>
T* As(TObject* object) { return dynamic_cast<T*>(object); }
template <class T>
bool Is(const TObject* object) { return dynamic_cast<const T*>(object) != nullptr; }

// The same test by the class chain, for loops over many objects: a few loads
// against dynamic_cast's walk of the type tree. A class declared without
// its own class record answers as its nearest ancestor that has one.
template <class T>
T* KindOf(TObject* object) {
    return object && object->InheritsFrom(ClassRecord<T>()) ? static_cast<T*>(object) : nullptr;
}

// TPersistent: objects that copy their content from one another.
class TPersistent : public TObject {
    HOST_CLASS(TPersistent, TObject)
public:
    // Copies Source's content; raises EConvertError when the two do not know
    // each other.
    virtual void Assign(const TPersistent* source);

protected:
    TPersistent() = default;
    virtual void AssignTo(TPersistent* dest) const;
};

template <class T, class... A>
inline T* Constructor::Make(A&&... args) {
    T* object = new T(std::forward<A>(args)...);
    try {
        object->Constructed();
        object->AfterConstruction();
    } catch (...) {
        object->DestroyFailed();
        throw;
    }
    return object;
}

} // namespace host

VESKAR_PUBLIC_END
