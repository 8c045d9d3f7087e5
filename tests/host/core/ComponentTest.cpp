// Components: ownership, removal notices and the lifetime rules.

#include "host/core/Component.h"
#include "host/core/ComponentRef.h"
#include "host/core/Exception.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace host;

namespace {

std::vector<std::string> Log;

// Logs its notices and its destruction chain.
class TProbe : public TComponent {
    HOST_CLASS(TProbe, TComponent)
public:
    TComponent* Ref = nullptr;

    void ValidateContainer(TComponent* container) override {
        inherited::ValidateContainer(container);
        Log.push_back(Name() + " validate");
        if (Refuses) throw Exception("refused");
    }
    void Notification(TComponent* component, TOperation operation) override {
        inherited::Notification(component, operation);
        if (operation == opRemove) {
            Log.push_back(Name() + " hears removal of " + component->Name());
            if (component == Ref) Ref = nullptr;
        }
    }
    static bool Refuses;

protected:
    explicit TProbe(TComponent* owner) : TComponent(owner) {}
    void Destroy() override {
        Log.push_back(Name() + " destroy");
        Teardown();
        inherited::Destroy();
    }
    // A virtual call from the destruction chain.
    virtual void Teardown() {}
};
bool TProbe::Refuses = false;
HOST_IMPLEMENT_COMPONENT(TProbe, TComponent)

class TDerivedProbe : public TProbe {
    HOST_CLASS(TDerivedProbe, TProbe)
protected:
    explicit TDerivedProbe(TComponent* owner) : TProbe(owner) {}
    void Teardown() override { Log.push_back(Name() + " derived teardown"); }
};
HOST_IMPLEMENT_COMPONENT(TDerivedProbe, TProbe)

TProbe* Probe(TComponent* owner, const std::string& name) {
    TProbe* p = TProbe::Create(owner);
    p->SetName(name);
    return p;
}

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log.clear();
        TProbe::Refuses = false;
    }
};

TEST_F(ComponentTest, ClassReferencesKnowTheirAncestry) {
    const TComponentClass& cls = ClassOf<TDerivedProbe>();
    EXPECT_EQ(cls.ClassName(), "TDerivedProbe");
    EXPECT_EQ(cls.ClassParent(), &TProbe::ClassInfo());
    EXPECT_TRUE(cls.InheritsFrom(TComponent::ClassInfo()));
    EXPECT_FALSE(TComponent::ClassInfo().InheritsFrom(cls));
    Owned<TComponent> made(cls.Create(nullptr));
    EXPECT_EQ(made->ClassName(), "TDerivedProbe");
    EXPECT_TRUE(Is<TProbe>(made.get()));
}

// A descendant declared without a class record of its own.
class TUnrecordedProbe : public TDerivedProbe {
public:
    explicit TUnrecordedProbe(TComponent* owner) : TDerivedProbe(owner) {}
};

TEST_F(ComponentTest, TheClassChainTestAgreesWithTheTypeTest) {
    Owned<TComponent> plain(TComponent::Create(nullptr));
    Owned<TComponent> derived(TDerivedProbe::Create(nullptr));
    for (TObject* object : {static_cast<TObject*>(plain.get()), static_cast<TObject*>(derived.get())}) {
        EXPECT_EQ(KindOf<TProbe>(object), As<TProbe>(object));
        EXPECT_EQ(KindOf<TDerivedProbe>(object), As<TDerivedProbe>(object));
        EXPECT_EQ(KindOf<TComponent>(object), As<TComponent>(object));
    }
    EXPECT_EQ(KindOf<TProbe>(derived.get()), derived.get());
    EXPECT_EQ(KindOf<TProbe>(plain.get()), nullptr);
    EXPECT_EQ(KindOf<TProbe>(nullptr), nullptr);
    EXPECT_EQ(&ClassRecord<TDerivedProbe>(), &TDerivedProbe::ClassInfo());

    // Without a record of its own an object answers as its nearest recorded
    // ancestor, both to ClassType and to the chain test.
    Owned<TUnrecordedProbe> unrecorded(Construct<TUnrecordedProbe>(nullptr));
    EXPECT_EQ(&unrecorded->ClassType(), &TDerivedProbe::ClassInfo());
    EXPECT_EQ(KindOf<TProbe>(unrecorded.get()), unrecorded.get());
}

TEST_F(ComponentTest, InsertionValidatesOnTheWholeObjectAndARefusalLeavesNothing) {
    Owned<TDataModule> owner(TDataModule::Create(nullptr));
    TProbe* kept = Probe(owner.get(), "Kept");
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(kept->Owner(), owner.get());

    TProbe::Refuses = true;
    Log.clear();
    EXPECT_THROW(TDerivedProbe::Create(owner.get()), Exception);
    // The override ran, the object was destroyed with its whole chain.
    EXPECT_EQ(Log, (std::vector<std::string>{" validate", " destroy", " derived teardown"}));
    EXPECT_EQ(owner->ComponentCount(), 1);
}

TEST_F(ComponentTest, FreeNotificationsComeFirstThenTheOwnerTellsEveryone) {
    Owned<TDataModule> owner(TDataModule::Create(nullptr));
    owner->SetName("Owner");
    TProbe* a = Probe(owner.get(), "A");
    TProbe* b = Probe(owner.get(), "B");
    TProbe* outsider = Probe(nullptr, "Outsider");
    outsider->Ref = a;
    outsider->FreeNotification(a);
    outsider->FreeNotification(a);  // asking twice notifies once
    Log.clear();
    a->Free();
    EXPECT_EQ(Log, (std::vector<std::string>{"A destroy", "Outsider hears removal of A", "B hears removal of A",
                                             "A hears removal of A"}));
    EXPECT_EQ(outsider->Ref, nullptr);
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(owner->Components(0), b);

    // Both ways: freeing the outsider tells B.
    b->FreeNotification(outsider);
    Log.clear();
    outsider->Free();
    EXPECT_EQ(Log, (std::vector<std::string>{"Outsider destroy", "B hears removal of Outsider"}));
}

TEST_F(ComponentTest, AComponentAskedToNotifyItselfHearsItsOwnRemoval) {
    TProbe* self = Probe(nullptr, "Self");
    TProbe* outsider = Probe(nullptr, "Outsider");
    self->FreeNotification(self);
    self->FreeNotification(self);  // asking twice notifies once
    outsider->FreeNotification(self);
    Log.clear();
    self->Free();
    EXPECT_EQ(Log, (std::vector<std::string>{"Self destroy", "Outsider hears removal of Self",
                                             "Self hears removal of Self"}));
    // Nothing of Self is left in the outsider's lists.
    Log.clear();
    outsider->Free();
    EXPECT_EQ(Log, (std::vector<std::string>{"Outsider destroy"}));
}

TEST_F(ComponentTest, AnOwnerFreesLastCreatedFirstWithoutCrossNotices) {
    TDataModule* owner = TDataModule::Create(nullptr);
    Probe(owner, "First");
    TProbe* second = Probe(owner, "Second");
    TProbe* third = Probe(owner, "Third");
    third->FreeNotification(second);
    Log.clear();
    owner->Free();
    EXPECT_EQ(Log, (std::vector<std::string>{"Third destroy", "Second hears removal of Third", "Second destroy",
                                             "First destroy"}));
}

TEST_F(ComponentTest, DesignStateIsInheritedFromTheOwner) {
    Owned<TDataModule> owner(TDataModule::Create(nullptr));
    TProbe* before = Probe(owner.get(), "Before");
    owner->SetDesigning(true);
    EXPECT_TRUE(before->ComponentState().Contains(csDesigning));
    TProbe* after = Probe(owner.get(), "After");
    EXPECT_TRUE(after->ComponentState().Contains(csDesigning));
    owner->SetDesigning(false);
    EXPECT_FALSE(after->ComponentState().Contains(csDesigning));
}

TEST_F(ComponentTest, NamesAreIdentifiersUniqueInTheirOwnerIgnoringCase) {
    Owned<TDataModule> owner(TDataModule::Create(nullptr));
    TProbe* a = Probe(owner.get(), "Orders");
    TProbe* b = Probe(owner.get(), "Customers");
    try {
        b->SetName("ORDERS");
        FAIL() << "duplicate accepted";
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named ORDERS already exists");
    }
    EXPECT_EQ(b->Name(), "Customers");
    EXPECT_THROW(b->SetName("1st"), EComponentError);
    EXPECT_THROW(b->SetName("a b"), EComponentError);
    a->SetName("orders");  // its own name in another case is fine
    EXPECT_EQ(owner->FindComponent("ORDERS"), a);
    EXPECT_EQ(owner->FindComponent("nobody"), nullptr);
    EXPECT_THROW(owner->Components(2), EListError);
}

TEST_F(ComponentTest, LoadingEndsWithLoadedInOrderAndSkipsFreedComponents) {
    Owned<TDataModule> owner(TDataModule::Create(nullptr));
    TProbe* a = Probe(owner.get(), "A");
    TProbe* b = Probe(owner.get(), "B");
    TProbe* c = Probe(owner.get(), "C");
    TLoadingSession session;
    session.Add(a);
    session.Add(b);
    session.Add(c);
    EXPECT_TRUE(b->ComponentState().Contains(csLoading));
    b->Free();
    session.Finish();
    EXPECT_FALSE(a->ComponentState().Contains(csLoading));
    EXPECT_FALSE(c->ComponentState().Contains(csLoading));
}

TEST_F(ComponentTest, FreeAndNilClearsTheReferenceBeforeTheObjectGoes) {
    TProbe* owner = Probe(nullptr, "Owner");
    TProbe* watcher = Probe(nullptr, "Watcher");
    watcher->Ref = owner;
    watcher->FreeNotification(owner);
    FreeAndNil(owner);
    EXPECT_EQ(owner, nullptr);
    EXPECT_EQ(watcher->Ref, nullptr);
    watcher->Free();
    Free(nullptr);  // freeing nothing is fine
}

TEST(ComponentRefTest, TurnsNilWhenItsComponentGoesAndFreesWhatItStillHolds) {
    Owned<TComponent> owner(TDataModule::Create(nullptr));
    TComponent* a = TComponent::Create(owner.get());
    TComponent* b = TComponent::Create(owner.get());
    TComponentRef<TComponent> ref(a);
    EXPECT_EQ(ref.Get(), a);
    Free(a);
    EXPECT_FALSE(ref) << "the removal notice cleared it";

    ref.Set(b);
    ref.Set(b);
    EXPECT_EQ(ref->Owner(), owner.get());
    ref.FreeTarget();
    EXPECT_FALSE(ref);
    EXPECT_EQ(owner->ComponentCount(), 0);
    ref.FreeTarget();  // nothing left: nothing happens

    // A reference that ends first leaves nothing behind in its component.
    TComponent* c = TComponent::Create(owner.get());
    { TComponentRef<TComponent> shortLived(c); }
    Free(c);
}

} // namespace
