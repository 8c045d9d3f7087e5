#pragma once
// Components: named objects with an owner that frees them, removal notices,
// and the design and loading states.

#include "host/core/Event.h"
#include "host/core/Export.h"
#include "host/core/NotifyList.h"
#include "host/core/Object.h"
#include "host/core/Set.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

enum TComponentStateFlag {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance,
};
using TComponentState = TSet<TComponentStateFlag>;

// csSubComponent: a part its owner makes for itself (an inner component).
enum TComponentStyleFlag { csSubComponent };
using TComponentStyle = TSet<TComponentStyleFlag>;

enum TOperation { opInsert, opRemove };

class TLoadingSession;

class TComponent : public TPersistent {
    HOST_CLASS(TComponent, TPersistent)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return FComponents.Count(); }
    // Raises EListError for an index out of range.
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    // Finds an owned component by name, letter case ignored; nil when none.
    TComponent* FindComponent(const std::string& name) const;

    const std::string& Name() const { return FName; }
    // Raises EComponentError for a name that is not an identifier or that
    // another component of the same owner already has.
    virtual void SetName(const std::string& newName);
    long Tag() const { return FTag; }
    void SetTag(long value) { FTag = value; }
    // Where the designer shows a component that is no control: Left in the
    // low 16 bits, Top in the next 16 (each signed). Form files keep it.
    long DesignInfo() const { return FDesignInfo; }
    void SetDesignInfo(long value) { FDesignInfo = value; }

    TComponentState ComponentState() const { return FComponentState; }
    TComponentStyle ComponentStyle() const { return FComponentStyle; }
    // A sub-component is not written to form files as an object of its
    // own: making its owner makes it again, so reading it back would make
    // a second one.
    void SetSubComponent(bool value) {
        value ? FComponentStyle.Include(csSubComponent) : FComponentStyle.Exclude(csSubComponent);
    }

    // Inserting validates first: AComponent->ValidateContainer(this).
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, last created first.
    void DestroyComponents();

    // Asks for Notification(component, opRemove) when Component is freed, and
    // the other way round. Asking twice notifies once; a component asked of
    // itself hears Notification(this, opRemove) as it goes.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Called on a component about to be inserted into AComponent; raising
    // refuses the placement.
    virtual void ValidateContainer(TComponent* container);
    // Called on the owner for a component about to be inserted.
    virtual void ValidateInsert(TComponent* component);

    // Puts this component (and, with setChildren, those it owns) in or out of
    // the designer. Used by the designer model and the form reader.
    void SetDesigning(bool value, bool setChildren = true);
    // Marks the start of reading stored properties; Loaded ends it.
    void Loading();

    // Tells this component, and everything it owns, of an insertion or a
    // coming removal.
    virtual void Notification(TComponent* component, TOperation operation);

    // Where the component sits in a form file: the component it is nested
    // in (a control's parent), and the components nested in it that Root
    // owns, in the order they are written. None by default.
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* /*value*/) {}
    virtual void GetChildren(std::vector<TComponent*>& /*children*/, const TComponent* /*root*/) const {}
    // Called by the form reader once every object nested in this one is
    // read (a windowed control then applies its children's tab orders).
    virtual void ChildrenRead() {}

protected:
    explicit TComponent(TComponent* owner);

    void Constructed() override;
    void BeforeDestruction() override;
    void Destroy() override;

    // Called once after all stored properties are read; ends the loading state.
    virtual void Loaded();
    virtual void ValidateRename(TComponent* component, const std::string& curName, const std::string& newName);
    void Destroying();

    friend class TLoadingSession;

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    VESKAR_LOCAL void NotifyOwned(TComponent* component, TOperation operation);
    VESKAR_LOCAL void IndexName(TComponent* component, bool add);

    TComponent* FOwner;
    TNotifyList<TComponent> FComponents;
    // The owned components by name in upper case, so finding one by name
    // does not grow with the form.
    std::unordered_multimap<std::string, TComponent*> FNames;
    std::vector<TComponent*> FFreeNotifies;
    std::string FName;
    long FTag = 0;
    long FDesignInfo = 0;
    TComponentState FComponentState;
    TComponentStyle FComponentStyle;
};

// A non-visual owner of components (data sources, datasets, lookups). A
// data module is a global root while it lives: form files of other roots
// refer to its components as DataModuleName.ComponentName.
//
// Like a form, a class below TDataModule reads the stored definitions of its
// classes while it is constructed (and must have one); OnCreate runs once the
// whole object exists and its definition is read, OnDestroy first when it is
// freed, while its components still exist.
class TDataModule : public TComponent {
    HOST_CLASS(TDataModule, TComponent)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    bool OldCreateOrder() const { return FOldCreateOrder; }
    void SetOldCreateOrder(bool value) { FOldCreateOrder = value; }
    // The designer's window for the module, kept by form files.
    struct TDesignArea {
        int Width = 0;
        int Height = 0;
        int HorizontalOffset = 0;
        int VerticalOffset = 0;
        int PixelsPerInch = 0;
    };
    TDesignArea& DesignArea() { return FDesignArea; }
    const TDesignArea& DesignArea() const { return FDesignArea; }

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;

protected:
    explicit TDataModule(TComponent* owner) : TComponent(owner) {}
    void Constructed() override;
    void AfterConstruction() override;
    void BeforeDestruction() override;
    void Destroy() override;
    virtual void LoadDefinition();
    virtual void DoCreate();
    virtual void DoDestroy();

private:
    bool FOldCreateOrder = false;
    TDesignArea FDesignArea;
};

// The class reference of a component class.
template <class T>
const TComponentClass& ClassOf() {
    return static_cast<const TComponentClass&>(T::ClassInfo());
}

// Hears of the end of components held elsewhere, through their removal
// notices: the one watch that TComponentRef, the loading session and the
// form reader's tracker share.
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

// The loading state of a set of components being read as one form: each is
// in csLoading until Finish calls its Loaded, in the order they were added.
class TLoadingSession {
public:
    TLoadingSession() = default;
    TLoadingSession(const TLoadingSession&) = delete;
    TLoadingSession& operator=(const TLoadingSession&) = delete;

    void Add(TComponent* component);
    bool Contains(const TComponent* component) const;
    // Calls Loaded on every component added that still exists. The first
    // exception a Loaded raises goes on after all of them had their call.
    void Finish();
    // Ends the loading state of every component added that still exists,
    // without Loaded: for a read that failed part way.
    void Abandon();

private:
    void Gone(TComponent* component);

    // A component that ends while the session runs leaves a nil behind.
    std::vector<TComponent*> FComponents;
    TComponentWatch FWatch{[this](TComponent* component) { Gone(component); }};
};

// Points the owner's published field Name at Component (Assign), or clears
// it when it points at Component (not Assign). A field whose class Component
// does not inherit from is left alone. Defined with the published tables in
// host/stream; a component calls it when it is named, renamed, inserted or
// removed, so a form's field never outlives its component.
void UpdatePublishedReference(TComponent* owner, const std::string& name, TComponent* component, bool assign);

// True when Name is an identifier: a letter or "_" followed by letters,
// digits and "_".
bool IsValidIdent(const std::string& name);

} // namespace host

VESKAR_PUBLIC_END
