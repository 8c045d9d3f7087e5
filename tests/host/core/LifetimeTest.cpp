// The lifetime toolkit: keep-alives, the watch, the safe notification loop
// and the scope guards.

#include "host/core/Component.h"
#include "host/core/ComponentRef.h"
#include "host/core/Exception.h"
#include "host/core/Guards.h"
#include "host/core/NotifyList.h"
#include "host/core/Strings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace host;

namespace {

std::vector<std::string> Log;

// Logs its detachment and its destruction.
class TTenant : public TComponent {
    HOST_CLASS(TTenant, TComponent)
public:
    // A call of its own that runs Action while the tenant is kept alive,
    // and looks at the tenant afterwards.
    template <class F>
    void Call(F action) {
        TKeepAlive alive(this);
        action();
        Log.push_back(Name() + " still readable after the call's action");
    }

protected:
    explicit TTenant(TComponent* owner) : TComponent(owner) {}
    void Detach() override { Log.push_back(Name() + " detach"); }
    void Destroy() override {
        Log.push_back(Name() + " destroy");
        inherited::Destroy();
    }
};
HOST_IMPLEMENT_COMPONENT(TTenant, TComponent)

// Frees its sibling when it hears of another component's insertion.
class TSiblingKiller : public TComponent {
    HOST_CLASS(TSiblingKiller, TComponent)
public:
    TComponent* Sibling = nullptr;
    int Heard = 0;
    void Notification(TComponent* component, TOperation operation) override {
        inherited::Notification(component, operation);
        if (operation != opInsert || component == this) return;
        ++Heard;
        FreeAndNil(Sibling);
    }

protected:
    explicit TSiblingKiller(TComponent* owner) : TComponent(owner) {}
};
HOST_IMPLEMENT_COMPONENT(TSiblingKiller, TComponent)

TTenant* Tenant(const std::string& name, TComponent* owner = nullptr) {
    TTenant* t = TTenant::Create(owner);
    t->SetName(name);
    return t;
}

class LifetimeTest : public ::testing::Test {
protected:
    void SetUp() override { Log.clear(); }
};

} // namespace

TEST_F(LifetimeTest, AFreeUnderAKeepAliveDetachesAtOnceAndEndsWithTheOutermost) {
    TTenant* t = Tenant("T");
    t->Call([&] {
        t->Call([&] {
            t->Free();
            EXPECT_TRUE(t->FreePending());
            t->Free();  // asked again: still one detach
        });
        EXPECT_EQ(Log, (std::vector<std::string>{"T detach", "T still readable after the call's action"}));
    });
    EXPECT_EQ(Log, (std::vector<std::string>{"T detach", "T still readable after the call's action",
                                             "T still readable after the call's action", "T destroy"}));

    // Without a keep-alive, Free ends the object at once and never detaches.
    Log.clear();
    Tenant("U")->Free();
    EXPECT_EQ(Log, (std::vector<std::string>{"U destroy"}));
}

TEST_F(LifetimeTest, AKeepAliveEndedByAnExceptionStillFinishesTheFree) {
    TTenant* owner = Tenant("Owner");
    TTenant* t = Tenant("T", owner);
    EXPECT_THROW(t->Call([&] {
        t->Free();
        throw Exception("raised after the free");
    }),
                 Exception);
    EXPECT_EQ(Log, (std::vector<std::string>{"T detach", "T destroy"}));
    EXPECT_EQ(owner->ComponentCount(), 0) << "the owner let the freed component go";
    owner->Free();
}

TEST_F(LifetimeTest, AWatchHearsOfTheEndOfWhatItWatchesUntilItGoes) {
    std::vector<TComponent*> gone;
    TTenant* a = Tenant("A");
    TTenant* b = Tenant("B");
    TTenant* c = Tenant("C");
    {
        TComponentWatch watch([&](TComponent* component) { gone.push_back(component); });
        watch.Watch(a);
        watch.Watch(a);
        watch.Watch(b);
        watch.Watch(c);
        watch.Unwatch(b);
        a->Free();
        b->Free();
        EXPECT_EQ(gone, (std::vector<TComponent*>{a})) << "once for A, never for the unwatched B";
    }
    c->Free();  // the watch is gone: nothing hears of C
    EXPECT_EQ(gone.size(), 1u);

    TComponentRef<TTenant> ref(Tenant("D"));
    ASSERT_TRUE(ref);
    ref->Free();
    EXPECT_FALSE(ref) << "the reference turns nil with its component";
    ref.Set(Tenant("E"));
    ref.FreeTarget();
    EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_EQ(Log.back(), "E destroy");
}

TEST_F(LifetimeTest, ANotificationLoopSkipsMembersRemovedMeanwhileEvenAtAReusedAddress) {
    int a = 0, b = 0, c = 0, d = 0;
    TNotifyList<int> list;
    list.Add(&a);
    list.Add(&b);
    list.Add(&c);
    std::vector<int*> seen;
    list.ForEach([&](int* member) {
        seen.push_back(member);
        if (member == &a) {
            // B leaves and comes back as a new member; C leaves; D joins.
            list.Remove(&b);
            list.Add(&b);
            list.Remove(&c);
            list.Add(&d);
        }
    });
    EXPECT_EQ(seen, (std::vector<int*>{&a})) << "neither the returned B, nor C, nor D";

    seen.clear();
    list.ForEachBackward([&](int* member) { seen.push_back(member); });
    EXPECT_EQ(seen, (std::vector<int*>{&d, &b, &a}));

    // A member moved within the list is still the same member; the loop
    // keeps the order it began with.
    seen.clear();
    list.ForEach([&](int* member) {
        seen.push_back(member);
        if (member == &a) list.Move(2, 1);
    });
    EXPECT_EQ(seen, (std::vector<int*>{&a, &b, &d}));
    EXPECT_EQ(list.IndexOf(&d), 1);
}

TEST_F(LifetimeTest, ALoopOverAListEmptiedOrReplacedMeanwhileCallsNoOneElse) {
    int a = 0, b = 0, c = 0, d = 0, e = 0;
    TNotifyList<int> list;
    list.Add(&a);
    list.Add(&b);
    std::vector<int*> seen;
    TNotifyList<int> taken;
    // The list is moved away from under the loop: its members are no longer
    // its members.
    list.ForEach([&](int* member) {
        seen.push_back(member);
        taken = std::move(list);
    });
    EXPECT_EQ(seen, (std::vector<int*>{&a}));
    EXPECT_EQ(list.Count(), 0);

    // Overwritten by a copy of other members, even of as many.
    list = taken;
    TNotifyList<int> others;
    others.Add(&c);
    others.Add(&d);
    seen.clear();
    list.ForEach([&](int* member) {
        seen.push_back(member);
        list = others;
    });
    EXPECT_EQ(seen, (std::vector<int*>{&a}));

    // The watch of a single member: held while the list is untouched or the
    // member stays, not once it left and came back.
    TNotifyList<int> one;
    one.Add(&e);
    const auto watch = one.Watch(0);
    EXPECT_TRUE(watch.Held());
    one.Add(&a);
    EXPECT_TRUE(watch.Held()) << "another member joined";
    one.Remove(&e);
    one.Add(&e);
    EXPECT_FALSE(watch.Held()) << "a new membership at the same address";
}

TEST_F(LifetimeTest, AnOwnerNotifiesThroughASnapshotWhenANoticeFreesASibling) {
    TTenant* owner = Tenant("Owner");
    TSiblingKiller* first = TSiblingKiller::Create(owner);
    TSiblingKiller* second = TSiblingKiller::Create(owner);
    first->Sibling = second;
    second->Sibling = first;
    Tenant("Third", owner);
    // The last ones hear first: the second frees the first, which is then
    // skipped, and no one hears twice.
    ASSERT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(0), second);
    EXPECT_EQ(second->Heard, 1);
    owner->Free();
}

TEST_F(LifetimeTest, GuardsRunTheirCleanupHoweverTheScopeEnds) {
    std::vector<std::string> steps;
    {
        const TFinally done([&] { steps.push_back("cleanup"); });
        steps.push_back("body");
    }
    EXPECT_THROW(
        {
            const TFinally done([&] { steps.push_back("cleanup after error"); });
            throw Exception("first");
        },
        Exception);
    EXPECT_EQ(steps, (std::vector<std::string>{"body", "cleanup", "cleanup after error"}));

    // A cleanup that raises on a normal end raises; while an error is on its
    // way the first error wins.
    EXPECT_THROW({ const TFinally fails([] { throw EListError("cleanup"); }); }, EListError);
    try {
        const TFinally fails([] { throw EListError("cleanup"); });
        throw EConvertError("first");
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "first");
    }

    bool flag = false;
    EXPECT_THROW(
        {
            const TScopedFlag raised(flag);
            EXPECT_TRUE(flag);
            throw Exception("inside");
        },
        Exception);
    EXPECT_FALSE(flag);
}

TEST_F(LifetimeTest, AnUpdateGuardGivesOneChangeForTheWholeUpdate) {
    Owned<TStringList> list(TStringList::Create());
    int changes = 0;
    list->OnChange = [&](TObject*) { ++changes; };
    {
        const TUpdateGuard update(*list);
        list->Add("a");
        list->Add("b");
        EXPECT_EQ(changes, 0);
    }
    EXPECT_EQ(changes, 1);
}
