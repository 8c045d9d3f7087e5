#include "host/brindle/Usubcls.h"
#include "host/ui/Controls.h"
#include "host/ui/Focus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace host;

namespace {

using TLog = std::vector<std::string>;

std::string Label(unsigned msg) {
    switch (msg) {
    case WM_SETFOCUS: return "SETFOCUS";
    case WM_KILLFOCUS: return "KILLFOCUS";
    case WM_DESTROY: return "DESTROY";
    case WM_KEYDOWN: return "KEYDOWN";
    default: return std::to_string(msg);
    }
}

// A control that writes its own handling of each message into the log.
class TLoggedControl : public TWinControl {
    HOST_CLASS(TLoggedControl, TWinControl)
public:
    TLog* Log = nullptr;
    std::uintptr_t SeenWParam = 0;
    std::function<void()> During;  // run inside the control's own handling

protected:
    explicit TLoggedControl(TComponent* owner) : TWinControl(owner) {}
    void WndProc(TMessage& message) override {
        if (Log) Log->push_back("control " + Label(message.Msg));
        SeenWParam = message.WParam;
        message.Result = 42;
        if (During) During();
        inherited::WndProc(message);
    }
};
HOST_IMPLEMENT_COMPONENT(TLoggedControl, TWinControl)

class TLoggingSubclass : public TControlSubclass {
    HOST_CLASS(TLoggingSubclass, TControlSubclass)
public:
    std::string Tag;
    TLog* Log = nullptr;
    std::function<void(TMessage&)> Before;
    std::function<void(TMessage&)> After;
    std::intptr_t ResultSeenAfter = 0;

    void BeforeWndProc(TMessage& message) override {
        if (Log) Log->push_back(Tag + " before " + Label(message.Msg));
        if (Before) Before(message);
    }
    void AfterWndProc(TMessage& message) override {
        if (Log) Log->push_back(Tag + " after " + Label(message.Msg));
        ResultSeenAfter = message.Result;
        if (After) After(message);
    }
    void Destroy() override {
        if (Log) Log->push_back(Tag + " ends");
        inherited::Destroy();
    }

protected:
    TLoggingSubclass(std::string tag, TLog* log) : Tag(std::move(tag)), Log(log) {}
};
HOST_IMPLEMENT_CLASS(TLoggingSubclass, TControlSubclass)

class UsubclsTest : public ::testing::Test {
protected:
    TLoggingSubclass* Subclass(const std::string& tag) {
        subclasses.emplace_back(TLoggingSubclass::Create(tag, &log));
        return subclasses.back().get();
    }
    TLoggedControl* NewControl() {
        TLoggedControl* c = TLoggedControl::Create(nullptr);
        c->Log = &log;
        return c;
    }

    TLog log;
    // Declared before the control: the control goes first, so the end of a
    // registration with its control is what these tests see.
    std::vector<Owned<TLoggingSubclass>> subclasses;
    Owned<TLoggedControl> control{NewControl()};
};

// Unregisters its subclass when the control it watches goes, as a control
// link does from its free notification.
class TWatcher : public TComponent {
    HOST_CLASS(TWatcher, TComponent)
public:
    TControl* Control = nullptr;
    TControlSubclass* Subclass = nullptr;

protected:
    explicit TWatcher(TComponent* owner) : TComponent(owner) {}
    void Notification(TComponent* component, TOperation operation) override {
        if (operation == opRemove && component == Control) {
            UnRegisterSubclass(Control, Subclass);
            FreeAndNil(Subclass);
            Control = nullptr;
        }
        inherited::Notification(component, operation);
    }
};
HOST_IMPLEMENT_COMPONENT(TWatcher, TComponent)

} // namespace

TEST_F(UsubclsTest, SubclassesSeeEachMessageBeforeAndAfterTheControl) {
    TLoggingSubclass* a = Subclass("A");
    TLoggingSubclass* b = Subclass("B");
    RegisterSubclass(control.get(), a);
    RegisterSubclass(control.get(), b);
    RegisterSubclass(control.get(), a);
    a->Before = [](TMessage& m) { m.WParam = 7; };

    EXPECT_EQ(control->Perform(WM_KEYDOWN, 1, 0), 42);
    EXPECT_EQ(log, (TLog{"A before KEYDOWN", "B before KEYDOWN", "control KEYDOWN", "A after KEYDOWN",
                         "B after KEYDOWN"}));
    // One message, by reference, all the way.
    EXPECT_EQ(control->SeenWParam, 7u);
    EXPECT_EQ(b->ResultSeenAfter, 42);
    EXPECT_TRUE(IsSubclassRegistered(control.get(), a));
}

TEST_F(UsubclsTest, UnregisteringOnePairLeavesTheOthers) {
    Owned<TLoggedControl> other(NewControl());
    TLoggingSubclass* a = Subclass("A");
    TLoggingSubclass* b = Subclass("B");
    RegisterSubclass(control.get(), a);
    RegisterSubclass(control.get(), b);
    RegisterSubclass(other.get(), a);

    UnRegisterSubclass(control.get(), a);
    UnRegisterSubclass(control.get(), a);
    UnRegisterSubclass(other.get(), b);
    control->Perform(WM_SETFOCUS);
    other->Perform(WM_KILLFOCUS);
    EXPECT_EQ(log, (TLog{"B before SETFOCUS", "control SETFOCUS", "B after SETFOCUS", "A before KILLFOCUS",
                         "control KILLFOCUS", "A after KILLFOCUS"}));
    EXPECT_FALSE(IsSubclassRegistered(control.get(), a));
    EXPECT_TRUE(IsSubclassRegistered(other.get(), a));
}

TEST_F(UsubclsTest, ChangesDuringDispatchTakeEffectAsTheContractSays) {
    TLoggingSubclass* a = Subclass("A");
    TLoggingSubclass* b = Subclass("B");
    TLoggingSubclass* c = Subclass("C");
    RegisterSubclass(control.get(), a);
    RegisterSubclass(control.get(), b);
    // A drops B before B's turn and adds C: B hears nothing more, C starts
    // with the next message.
    a->Before = [&](TMessage&) {
        UnRegisterSubclass(control.get(), b);
        RegisterSubclass(control.get(), c);
    };
    control->Perform(WM_SETFOCUS);
    EXPECT_EQ(log, (TLog{"A before SETFOCUS", "control SETFOCUS", "A after SETFOCUS"}));

    // A subclass that drops itself gets no After for the same message.
    a->Before = [&](TMessage&) { UnRegisterSubclass(control.get(), a); };
    log.clear();
    control->Perform(WM_KILLFOCUS);
    EXPECT_EQ(log, (TLog{"A before KILLFOCUS", "C before KILLFOCUS", "control KILLFOCUS", "C after KILLFOCUS"}));
}

TEST_F(UsubclsTest, ALoneSubclassFollowsTheSameContract) {
    TLoggingSubclass* a = Subclass("A");
    TLoggingSubclass* b = Subclass("B");
    RegisterSubclass(control.get(), a);
    // Alone on the control, A adds B: B starts with the next message.
    a->Before = [&](TMessage&) { RegisterSubclass(control.get(), b); };
    control->Perform(WM_SETFOCUS);
    EXPECT_EQ(log, (TLog{"A before SETFOCUS", "control SETFOCUS", "A after SETFOCUS"}));
    UnRegisterSubclass(control.get(), b);

    // Leaving and registering again inside its own call is a new
    // registration: it waits for the next message.
    a->Before = [&](TMessage&) {
        UnRegisterSubclass(control.get(), a);
        RegisterSubclass(control.get(), a);
    };
    log.clear();
    control->Perform(WM_KILLFOCUS);
    EXPECT_EQ(log, (TLog{"A before KILLFOCUS", "control KILLFOCUS"}));

    // Freed in its own call, it is called no more and the control goes on.
    a->Before = [a](TMessage&) { a->Free(); };
    (void)subclasses.front().release();  // it frees itself
    subclasses.erase(subclasses.begin());
    log.clear();
    control->Perform(WM_KEYDOWN);
    control->Perform(WM_KEYDOWN);
    EXPECT_EQ(log, (TLog{"A before KEYDOWN", "control KEYDOWN", "A ends", "control KEYDOWN"}));
}

TEST_F(UsubclsTest, AFreedSubclassIsNeverCalled) {
    TLoggingSubclass* a = TLoggingSubclass::Create("A", &log);
    TLoggingSubclass* b = Subclass("B");
    RegisterSubclass(control.get(), a);
    RegisterSubclass(control.get(), b);
    a->Free();
    EXPECT_FALSE(IsSubclassRegistered(control.get(), a));
    control->Perform(WM_SETFOCUS);
    EXPECT_EQ(log, (TLog{"A ends", "B before SETFOCUS", "control SETFOCUS", "B after SETFOCUS"}));

    // Freed from inside its own call, it ends once the call returns.
    TLoggingSubclass* c = TLoggingSubclass::Create("C", &log);
    RegisterSubclass(control.get(), c);
    c->Before = [c](TMessage&) { c->Free(); };
    log.clear();
    control->Perform(WM_KILLFOCUS);
    control->Perform(WM_KILLFOCUS);
    EXPECT_EQ(log, (TLog{"B before KILLFOCUS", "C before KILLFOCUS", "C ends", "control KILLFOCUS",
                         "B after KILLFOCUS", "B before KILLFOCUS", "control KILLFOCUS", "B after KILLFOCUS"}));
}

TEST_F(UsubclsTest, ALoneSubclassFreedDuringTheMessageEndsWhenTheMessageIsOver) {
    // Freed by the control's own handling: no After, and the object ends
    // once the message is over, not under the handler's feet.
    TLoggingSubclass* a = TLoggingSubclass::Create("A", &log);
    RegisterSubclass(control.get(), a);
    control->During = [&] {
        a->Free();
        log.push_back("freed");
    };
    control->Perform(WM_KEYDOWN);
    EXPECT_EQ(log, (TLog{"A before KEYDOWN", "control KEYDOWN", "freed", "A ends"}));
    EXPECT_FALSE(IsSubclassRegistered(control.get(), a));

    // Freed in its After, the same.
    TLoggingSubclass* b = TLoggingSubclass::Create("B", &log);
    RegisterSubclass(control.get(), b);
    control->During = nullptr;
    b->After = [b, this](TMessage&) {
        b->Free();
        log.push_back("freed");
    };
    log.clear();
    control->Perform(WM_KEYDOWN);
    control->Perform(WM_KEYDOWN);
    EXPECT_EQ(log, (TLog{"B before KEYDOWN", "control KEYDOWN", "B after KEYDOWN", "freed", "B ends", "control KEYDOWN"}));
}

TEST_F(UsubclsTest, UnregisteringWhileTheControlIsDestroyedIsSafe) {
    Owned<TWinControl> form(TWinControl::Create(nullptr));
    TLoggedControl* edit = NewControl();
    edit->SetParent(form.get());
    Owned<TWatcher> watcher(TWatcher::Create(nullptr));
    watcher->Control = edit;
    watcher->Subclass = TLoggingSubclass::Create("L", &log);
    RegisterSubclass(edit, watcher->Subclass);
    edit->FreeNotification(watcher.get());
    TLoggingSubclass* kept = Subclass("K");
    RegisterSubclass(edit, kept);
    edit->SetFocus();
    log.clear();

    edit->Free();
    EXPECT_EQ(watcher->Control, nullptr);
    EXPECT_EQ(watcher->Subclass, nullptr);
    EXPECT_EQ(FocusedControl(), nullptr);
    // Both saw the messages of the control's end, the focus loss first.
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "L before KILLFOCUS");
    EXPECT_NE(std::find(log.begin(), log.end(), "K after DESTROY"), log.end());
    EXPECT_FALSE(IsSubclassRegistered(edit, kept));
    // The remaining pair ended with the control; unregistering it now is a no-op.
    UnRegisterSubclass(edit, kept);
}

TEST_F(UsubclsTest, ControlFreedByASubclassEndsAfterTheMessage) {
    TLoggingSubclass* a = Subclass("A");
    TLoggingSubclass* b = Subclass("B");
    TLoggedControl* doomed = NewControl();
    RegisterSubclass(doomed, a);
    RegisterSubclass(doomed, b);
    a->Before = [doomed](TMessage& m) {
        if (m.Msg == WM_KEYDOWN) doomed->Free();
    };
    doomed->Perform(WM_KEYDOWN);
    // Nothing more is handled for a control that was freed.
    EXPECT_EQ(std::count(log.begin(), log.end(), "control KEYDOWN"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "B before KEYDOWN"), 0);
    EXPECT_FALSE(IsSubclassRegistered(doomed, a));
}

TEST_F(UsubclsTest, RenewingAPairActsAsUnregisteringAndRegisteringIt) {
    TLoggingSubclass* a = Subclass("A");
    TLoggingSubclass* b = Subclass("B");
    RegisterSubclass(control.get(), a);
    RegisterSubclass(control.get(), b);
    RenewSubclass(control.get(), a);
    control->Perform(WM_SETFOCUS);
    EXPECT_EQ(log, (TLog{"B before SETFOCUS", "A before SETFOCUS", "control SETFOCUS", "B after SETFOCUS",
                         "A after SETFOCUS"}))
        << "the renewed pair goes behind the others";

    // Renewed during a message it is new for that message: no After.
    a->Before = [&](TMessage&) { RenewSubclass(control.get(), a); };
    log.clear();
    control->Perform(WM_KILLFOCUS);
    EXPECT_EQ(log, (TLog{"B before KILLFOCUS", "A before KILLFOCUS", "control KILLFOCUS", "B after KILLFOCUS"}));

    // A pair not registered is registered; nil changes nothing.
    Owned<TLoggedControl> other(NewControl());
    RenewSubclass(other.get(), b);
    RenewSubclass(nullptr, b);
    RenewSubclass(other.get(), nullptr);
    EXPECT_TRUE(IsSubclassRegistered(other.get(), b));
    a->Before = nullptr;
    UnRegisterSubclass(control.get(), a);
    EXPECT_FALSE(IsSubclassRegistered(control.get(), a));
    EXPECT_TRUE(IsSubclassRegistered(control.get(), b));
}

TEST_F(UsubclsTest, OneSubclassOnManyControlsKeepsEveryRegistrationApart) {
    // Registrations of one object end one by one, out of order, then with
    // their controls, then with the object: each ends once and only its own.
    TLoggingSubclass* a = TLoggingSubclass::Create("A", nullptr);
    std::vector<Owned<TLoggedControl>> controls;
    for (int i = 0; i < 8; ++i) {
        controls.emplace_back(NewControl());
        controls.back()->Log = nullptr;
        RegisterSubclass(controls.back().get(), a);
    }
    UnRegisterSubclass(controls[2].get(), a);
    UnRegisterSubclass(controls[0].get(), a);
    controls[7].reset();
    controls[3].reset();
    for (size_t i = 0; i < controls.size(); ++i) {
        if (!controls[i]) continue;
        EXPECT_EQ(IsSubclassRegistered(controls[i].get(), a), i != 0 && i != 2) << i;
    }
    int seen = 0;
    a->Before = [&](TMessage&) { ++seen; };
    for (auto& c : controls)
        if (c) c->Perform(WM_KEYDOWN);
    EXPECT_EQ(seen, 4);
    a->Free();
    for (auto& c : controls) {
        if (!c) continue;
        EXPECT_FALSE(IsSubclassRegistered(c.get(), a));
        c->Perform(WM_KEYDOWN);
    }
    EXPECT_EQ(seen, 4);
}
