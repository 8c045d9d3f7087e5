#include "host/core/Component.h"

#include "host/core/Exception.h"
#include "host/core/GlobalRoots.h"
#include "host/core/InitComponent.h"
#include "host/core/Publisher.h"
#include "host/core/TextUtils.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_COMPONENT(TComponent, TPersistent)
HOST_IMPLEMENT_COMPONENT(TDataModule, TComponent)

void TDataModule::Constructed() {
    inherited::Constructed();
    AddGlobalRoot(this);
    LoadDefinition();
}

void TDataModule::LoadDefinition() {
    // The plain class is made empty, as the reader makes it for a form text.
    if (&ClassType() == &TDataModule::ClassInfo()) return;
    if (!InitInheritedComponent(this, TDataModule::ClassInfo()))
        throw EResNotFound("Resource " + ClassName() + " not found");
}

void TDataModule::AfterConstruction() {
    inherited::AfterConstruction();
    DoCreate();
}

void TDataModule::BeforeDestruction() {
    DoDestroy();
    inherited::BeforeDestruction();
}

void TDataModule::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TDataModule::DoDestroy() {
    if (OnDestroy) OnDestroy(this);
}

void TDataModule::Destroy() {
    RemoveGlobalRoot(this);
    inherited::Destroy();
}

bool IsValidIdent(const std::string& name) {
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (name.empty() || !alpha(name[0])) return false;
    return std::all_of(name.begin() + 1, name.end(), [&](char c) { return alpha(c) || digit(c); });
}

TComponent::TComponent(TComponent* owner) : FOwner(owner) {}

namespace {

// Entries are unique, and the one to drop was mostly added last.
void drop(std::vector<TComponent*>& list, const TComponent* c) {
    auto it = std::find(list.rbegin(), list.rend(), c);
    if (it != list.rend()) list.erase(std::next(it).base());
}

} // namespace

void TComponent::Constructed() {
    inherited::Constructed();
    // Insertion needs the whole object: ValidateContainer is virtual.
    if (TComponent* owner = FOwner) {
        FOwner = nullptr;
        owner->InsertComponent(this);
    }
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FComponents[index];
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    return FOwner->FComponents.IndexOf(this);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    const auto [first, last] = FNames.equal_range(UpperCase(name));
    if (first == last) return nullptr;
    if (std::next(first) == last) return first->second;
    // Names are unique in an owner unless an override of ValidateRename
    // lets two share one: then the first made answers.
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name)) return c;
    return nullptr;
}

void TComponent::IndexName(TComponent* component, bool add) {
    if (component->FName.empty()) return;
    const std::string key = UpperCase(component->FName);
    if (add) {
        FNames.emplace(key, component);
        return;
    }
    const auto [first, last] = FNames.equal_range(key);
    for (auto it = first; it != last; ++it)
        if (it->second == component) {
            FNames.erase(it);
            return;
        }
}

void TComponent::SetName(const std::string& newName) {
    if (FName == newName) return;
    if (!newName.empty() && !IsValidIdent(newName))
        throw EComponentError("'" + newName + "' is not a valid component name");
    if (FOwner)
        FOwner->ValidateRename(this, FName, newName);
    else
        ValidateRename(nullptr, FName, newName);
    if (FOwner && !FName.empty()) UpdatePublishedReference(FOwner, FName, this, false);
    if (FOwner) FOwner->IndexName(this, false);
    FName = newName;
    if (FOwner) FOwner->IndexName(this, true);
    if (FOwner && !FName.empty()) UpdatePublishedReference(FOwner, FName, this, true);
}

void TComponent::ValidateRename(TComponent* component, const std::string& curName, const std::string& newName) {
    if (!component || newName.empty() || SameText(curName, newName)) return;
    TComponent* other = FindComponent(newName);
    if (other && other != component)
        throw EComponentError("A component named " + newName + " already exists");
}

void TComponent::ValidateContainer(TComponent* container) { container->ValidateInsert(this); }

void TComponent::ValidateInsert(TComponent*) {}

void TComponent::InsertComponent(TComponent* component) {
    component->ValidateContainer(this);
    ValidateRename(component, std::string(), component->FName);
    Insert(component);
    if (FComponentState.Contains(csDesigning)) component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    Notification(component, opRemove);
    Remove(component);
}

void TComponent::Insert(TComponent* component) {
    FComponents.Add(component);
    IndexName(component, true);
    component->FOwner = this;
    if (!component->FName.empty()) UpdatePublishedReference(this, component->FName, component, true);
}

void TComponent::Remove(TComponent* component) {
    if (!component->FName.empty()) UpdatePublishedReference(this, component->FName, component, false);
    // Components mostly go last made first: looked for from the end.
    if (FComponents.RemoveOne(component)) IndexName(component, false);
    component->FOwner = nullptr;
}

void TComponent::NotifyOwned(TComponent* component, TOperation operation) {
    // An owner being destroyed passes nothing on; one being read passes on
    // no insertion, as its components hold no references before the read
    // ends. Either way the cost does not grow with the square of the form.
    if (FComponentState.Contains(csDestroying)) return;
    if (operation == opInsert && FComponentState.Contains(csLoading)) return;
    // A notice may free components of this owner.
    FComponents.ForEachBackward([&](TComponent* c) { c->Notification(component, operation); });
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component) RemoveFreeNotification(component);
    NotifyOwned(component, operation);
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component) return;
    if (component == this) {
        // Asked of itself: it hears its own removal once, when it goes.
        if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), this) == FFreeNotifies.end())
            FFreeNotifies.push_back(this);
        FComponentState.Include(csFreeNotification);
        return;
    }
    // The two lists hold each other or neither: the shorter one tells.
    const bool mineShorter = FFreeNotifies.size() <= component->FFreeNotifies.size();
    const auto& shorter = mineShorter ? FFreeNotifies : component->FFreeNotifies;
    const TComponent* other = mineShorter ? component : this;
    if (std::find(shorter.begin(), shorter.end(), other) == shorter.end()) {
        FFreeNotifies.push_back(component);
        component->FFreeNotifies.push_back(this);
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    drop(FFreeNotifies, component);
    drop(component->FFreeNotifies, this);
}

void TComponent::DestroyComponents() {
    // The owner is going: its components are not told of each other's
    // removal through it, only through their free notifications.
    while (!FComponents.Empty()) {
        TComponent* last = FComponents.Last();
        Remove(last);
        last->Free();
    }
}

void TComponent::SetDesigning(bool value, bool setChildren) {
    if (value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    if (setChildren)
        for (TComponent* c : FComponents) c->SetDesigning(value, true);
}

void TComponent::Loading() { FComponentState.Include(csLoading).Include(csReading); }

void TComponent::Loaded() { FComponentState.Exclude(csLoading).Exclude(csReading); }

void TComponent::Destroying() {
    if (FComponentState.Contains(csDestroying)) return;
    FComponentState.Include(csDestroying);
    for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::BeforeDestruction() {
    inherited::BeforeDestruction();
    Destroying();
}

void TComponent::Destroy() {
    Destroying();
    // Those that asked to hear of this component's end hear it first.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        drop(other->FFreeNotifies, this);
        // The notice takes it out of the list, found at the end at once
        // (one who watches thousands is done with each at once); an
        // override that does not pass the notice on leaves it there.
        other->Notification(this, opRemove);
        if (!FFreeNotifies.empty() && FFreeNotifies.back() == other) FFreeNotifies.pop_back();
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
    inherited::Destroy();
}

// --- TComponentWatch -----------------------------------------------------------

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

// The listener's own end drops its notices both ways; it tells no one.
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

// --- TLoadingSession -------------------------------------------------------------

void TLoadingSession::Add(TComponent* component) {
    component->Loading();
    FComponents.push_back(component);
    FWatch.Watch(component);
}

void TLoadingSession::Gone(TComponent* component) {
    std::replace(FComponents.begin(), FComponents.end(), component, static_cast<TComponent*>(nullptr));
}

bool TLoadingSession::Contains(const TComponent* component) const {
    return component && std::find(FComponents.begin(), FComponents.end(), component) != FComponents.end();
}

void TLoadingSession::Abandon() {
    for (TComponent* c : FComponents)
        if (c) c->FComponentState.Exclude(csLoading).Exclude(csReading);
}

void TLoadingSession::Finish() {
    std::exception_ptr first;
    for (size_t i = 0; i < FComponents.size(); ++i) {
        TComponent* c = FComponents[i];
        if (!c) continue;
        try {
            c->Loaded();
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    if (first) std::rethrow_exception(first);
}

void TComponent::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TComponent>();
    // The object line carries the name.
    p.String("Name", &TComponent::Name, &TComponent::SetName, "TComponentName").Stored(false);
    p.Integer("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
    // The designer's place of a component; a control's own Left and Top win.
    auto half = [](const TComponent& c, int shift) {
        return static_cast<std::int16_t>((static_cast<unsigned long>(c.DesignInfo()) >> shift) & 0xFFFF);
    };
    auto setHalf = [](TComponent& c, std::int64_t value, int shift) {
        const unsigned long mask = 0xFFFFul << shift;
        const auto bits = (static_cast<unsigned long>(value) & 0xFFFF) << shift;
        c.SetDesignInfo(static_cast<long>((static_cast<unsigned long>(c.DesignInfo()) & ~mask) | bits));
    };
    p.DefineInteger(
        "Left", [half](const TComponent& c) { return half(c, 0); },
        [setHalf](TComponent& c, std::int64_t v) { setHalf(c, v, 0); },
        [half](const TComponent& c) { return half(c, 0) != 0; }, -32768, 65535);
    p.DefineInteger(
        "Top", [half](const TComponent& c) { return half(c, 16); },
        [setHalf](TComponent& c, std::int64_t v) { setHalf(c, v, 16); },
        [half](const TComponent& c) { return half(c, 16) != 0; }, -32768, 65535);
}

void TDataModule::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDataModule>();
    p.Boolean("OldCreateOrder", &TDataModule::OldCreateOrder, &TDataModule::SetOldCreateOrder);
    p.Event("OnCreate", &TDataModule::OnCreate);
    p.Event("OnDestroy", &TDataModule::OnDestroy);
    using TArea = TDataModule::TDesignArea;
    auto define = [&p](const char* name, int TArea::*field) {
        p.DefineInteger(
            name, [field](const TDataModule& m) { return m.DesignArea().*field; },
            [field](TDataModule& m, std::int64_t v) { m.DesignArea().*field = static_cast<int>(v); },
            [field](const TDataModule& m) { return m.DesignArea().*field != 0; });
    };
    define("Height", &TArea::Height);
    define("Width", &TArea::Width);
    define("HorizontalOffset", &TArea::HorizontalOffset);
    define("VerticalOffset", &TArea::VerticalOffset);
    define("PixelsPerInch", &TArea::PixelsPerInch);
}

} // namespace host
