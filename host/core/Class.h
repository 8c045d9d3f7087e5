#pragma once
// Class references: a metaclass object per class with its name, its parent and,
// for classes that can be made from a reference, a virtual constructor.

#include "host/core/Export.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TObject;
class TComponent;
class TCollection;
class TCollectionItem;
class TPublisher;   // host/core/Publisher.h
class TTypeData;    // host/core/TypInfo.h

// Declares a class's own published properties, fields and methods; a class
// that publishes anything has a static DeclarePublished(TPublisher&).
using TDeclarePublished = void (*)(TPublisher& publisher);

class TClass {
public:
    TClass(const char* name, const TClass* parent, TDeclarePublished declarePublished = nullptr)
        : FName(name), FParent(parent), FDeclarePublished(declarePublished) {
        if (parent) FChain = parent->FChain;
        FChain.push_back(this);
    }
    TClass(const TClass&) = delete;
    TClass& operator=(const TClass&) = delete;
    virtual ~TClass() = default;

    const std::string& ClassName() const { return FName; }
    const TClass* ClassParent() const { return FParent; }
    // True for this class itself and for every class derived from Other.
    // One comparison: a class's ancestors stand at their depth in its chain.
    bool InheritsFrom(const TClass& other) const {
        const size_t depth = other.FChain.size() - 1;
        return depth < FChain.size() && FChain[depth] == &other;
    }

    // The class's own published declarations; nil when it adds none.
    TDeclarePublished DeclarePublished() const { return FDeclarePublished; }
    // The published table built from the declarations on first use (see
    // host/core/TypInfo.h). It lives with the class reference, so a class
    // whose library unloads takes its table with it.
    const std::shared_ptr<const TTypeData>& TypeDataCache() const { return FTypeData; }
    void SetTypeDataCache(std::shared_ptr<const TTypeData> data) const { FTypeData = std::move(data); }

private:
    std::string FName;
    const TClass* FParent;
    // The root class first, this class last.
    std::vector<const TClass*> FChain;
    TDeclarePublished FDeclarePublished;
    mutable std::shared_ptr<const TTypeData> FTypeData;
};

// A class reference to a component class: Create(owner) builds the most
// derived class it stands for.
class TComponentClass : public TClass {
public:
    using Factory = TComponent* (*)(TComponent* owner);
    TComponentClass(const char* name, const TClass* parent, Factory factory,
                    TDeclarePublished declarePublished = nullptr)
        : TClass(name, parent, declarePublished), FFactory(factory) {}
    bool IsAbstract() const { return FFactory == nullptr; }
    // Raises EInvalidOperation for an abstract class.
    TComponent* Create(TComponent* owner) const;

private:
    Factory FFactory;
};

// A collection's item class: Create(collection) adds a new item to it.
class TCollectionItemClass : public TClass {
public:
    using Factory = TCollectionItem* (*)(TCollection* collection);
    TCollectionItemClass(const char* name, const TClass* parent, Factory factory,
                         TDeclarePublished declarePublished = nullptr)
        : TClass(name, parent, declarePublished), FFactory(factory) {}
    TCollectionItem* Create(TCollection* collection) const;

private:
    Factory FFactory;
};

// Builds an object, then runs the steps that need the finished object
// (Constructed, AfterConstruction). If one of them raises, the object's whole
// destruction chain runs and the exception goes on; no object results.
struct Constructor {
    template <class T, class... A>
    static T* Make(A&&... args);

    // Self's own DeclarePublished, or nil when Self declares none (a static
    // function found in Base by name lookup is Base's, not Self's). Lives
    // here because every host class befriends Constructor, so a private
    // declaration is found too.
    template <class Self, class Base>
    static TDeclarePublished OwnDeclarePublished() {
        if constexpr (requires { static_cast<TDeclarePublished>(&Self::DeclarePublished); }) {
            TDeclarePublished own = &Self::DeclarePublished;
            if constexpr (requires { static_cast<TDeclarePublished>(&Base::DeclarePublished); }) {
                if (own == static_cast<TDeclarePublished>(&Base::DeclarePublished)) return nullptr;
            }
            return own;
        } else {
            return nullptr;
        }
    }
};

template <class T, class... A>
T* Construct(A&&... args) { return Constructor::Make<T>(std::forward<A>(args)...); }

// T::ClassInfo() asked once and kept: the record's function lies in another
// library, and class tests run on every control of a walk and every message.
template <class T>
[[gnu::always_inline]] inline const TClass& ClassRecord() {
    static const TClass& record = T::ClassInfo();
    return record;
}

} // namespace host

// Declares the class-reference members of a host class. Put it first in the
// class body; it leaves the access at private.
#define HOST_CLASS(Self, Base)                                                   \
public:                                                                          \
    using inherited = Base;                                                      \
    static const ::host::TClass& ClassInfo();                                    \
    const ::host::TClass& ClassType() const override { return ::host::ClassRecord<Self>(); } \
    template <class... HostArgs>                                                 \
    static Self* Create(HostArgs&&... args) {                                    \
        return ::host::Construct<Self>(std::forward<HostArgs>(args)...);         \
    }                                                                            \
    friend struct ::host::Constructor;                                           \
                                                                                 \
private:

// Defines ClassInfo for a plain class.
#define HOST_IMPLEMENT_CLASS(Self, Base)                                         \
    const ::host::TClass& Self::ClassInfo() {                                    \
        static const ::host::TClass info(#Self, &Base::ClassInfo(),              \
            ::host::Constructor::OwnDeclarePublished<Self, Base>());             \
        return info;                                                             \
    }

// Defines ClassInfo for a component class with a virtual constructor.
#define HOST_IMPLEMENT_COMPONENT(Self, Base)                                     \
    const ::host::TClass& Self::ClassInfo() {                                    \
        static const ::host::TComponentClass info(                               \
            #Self, &Base::ClassInfo(),                                           \
            [](::host::TComponent* owner) -> ::host::TComponent* { return Self::Create(owner); }, \
            ::host::Constructor::OwnDeclarePublished<Self, Base>());             \
        return info;                                                             \
    }

// Defines ClassInfo for a component class that is never made itself.
#define HOST_IMPLEMENT_ABSTRACT_COMPONENT(Self, Base)                            \
    const ::host::TClass& Self::ClassInfo() {                                    \
        static const ::host::TComponentClass info(#Self, &Base::ClassInfo(), nullptr, \
            ::host::Constructor::OwnDeclarePublished<Self, Base>());             \
        return info;                                                             \
    }

// Defines ClassInfo for a collection item class.
#define HOST_IMPLEMENT_COLLECTION_ITEM(Self, Base)                               \
    const ::host::TClass& Self::ClassInfo() {                                    \
        static const ::host::TCollectionItemClass info(                          \
            #Self, &Base::ClassInfo(),                                           \
            [](::host::TCollection* c) -> ::host::TCollectionItem* { return Self::Create(c); }, \
            ::host::Constructor::OwnDeclarePublished<Self, Base>());             \
        return info;                                                             \
    }

VESKAR_PUBLIC_END
