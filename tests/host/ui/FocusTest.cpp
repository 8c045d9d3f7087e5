#include "host/core/Exception.h"
#include "host/ui/Controls.h"
#include "host/ui/Focus.h"
#include "tests/host/ui/Probe.h"

#include <gtest/gtest.h>

using namespace host;
using probe::TProbe;

namespace {

struct Form {
    std::vector<std::string> log;
    Owned<TProbe> form{TProbe::Create(nullptr)};
    TProbe* a = Add("A");
    TProbe* b = Add("B");

    Form() {
        form->SetName("Form");
        form->Log = &log;
    }

    TProbe* Add(const std::string& name, TWinControl* parent = nullptr) {
        TProbe* p = TProbe::Create(nullptr);
        p->SetName(name);
        p->Log = &log;
        p->SetParent(parent ? parent : form.get());
        return p;
    }
};

} // namespace

TEST(Focus, KillFocusGoesToTheOldControlThenSetFocusToTheNew) {
    Form f;
    f.a->SetFocus();
    EXPECT_EQ(FocusedControl(), f.a);
    EXPECT_TRUE(f.a->FocusedInSetFocus);
    f.log.clear();

    f.b->SetFocus();
    ASSERT_EQ(f.log, (std::vector<std::string>{"A:WM_KILLFOCUS", "B:WM_SETFOCUS", "A:CM_EXIT", "B:CM_ENTER"}));
    EXPECT_EQ(f.a->Received(WM_KILLFOCUS).back().WParam, f.b->Handle());
    EXPECT_EQ(f.b->Received(WM_SETFOCUS).back().WParam, f.a->Handle());
    EXPECT_TRUE(f.b->FocusedInSetFocus);
    EXPECT_TRUE(f.b->Focused());
    EXPECT_FALSE(f.a->Focused());

    // Focusing the focused control again sends nothing.
    f.log.clear();
    f.b->SetFocus();
    EXPECT_TRUE(f.log.empty());
}

TEST(Focus, InvisibleOrDisabledControlsRefuseTheFocus) {
    Form f;
    TProbe* inner = f.Add("Inner", f.b);
    f.a->SetFocus();
    auto expectRefused = [&](TWinControl* c) {
        try {
            c->SetFocus();
            ADD_FAILURE() << "focus was taken";
        } catch (const EInvalidOperation& e) {
            EXPECT_EQ(e.Message(), "Cannot focus a disabled or invisible window");
        }
        EXPECT_EQ(FocusedControl(), f.a);
    };
    f.b->SetVisible(false);
    EXPECT_FALSE(inner->CanFocus());
    expectRefused(f.b);
    expectRefused(inner);
    f.b->SetVisible(true);
    f.b->SetEnabled(false);
    expectRefused(inner);
    f.b->SetEnabled(true);
    inner->SetEnabled(false);
    expectRefused(inner);
    inner->SetEnabled(true);
    inner->SetFocus();
    EXPECT_EQ(FocusedControl(), inner);
}

TEST(Focus, DestroyingOrHidingTheFocusedControlLeavesNoFocus) {
    Form f;
    TProbe* inner = f.Add("Inner", f.b);
    inner->SetFocus();
    // Hiding the parent of the focused control takes the focus away.
    f.b->SetVisible(false);
    EXPECT_EQ(FocusedControl(), nullptr);
    ASSERT_EQ(inner->Received(WM_KILLFOCUS).size(), 1u);
    EXPECT_EQ(inner->Received(WM_KILLFOCUS).back().WParam, 0u);

    f.a->SetFocus();
    f.log.clear();
    f.a->Free();
    EXPECT_EQ(FocusedControl(), nullptr);
    // The control heard of the loss while it still was whole.
    ASSERT_FALSE(f.log.empty());
    EXPECT_EQ(f.log.front(), "A:WM_KILLFOCUS");

    f.b->SetVisible(true);
    inner->SetFocus();
    f.form.reset();
    EXPECT_EQ(FocusedControl(), nullptr);
}

TEST(Focus, AMoveMadeWhileTheFocusIsLostWins) {
    Form f;
    TProbe* c = f.Add("C");
    f.a->SetFocus();
    f.a->OnMessage = [&](TProbe*, TMessage& m) {
        if (m.Msg == WM_KILLFOCUS && FocusedControl() == f.b) c->SetFocus();
    };
    f.log.clear();
    f.b->SetFocus();
    EXPECT_EQ(FocusedControl(), c);
    // B never hears of a focus it did not keep.
    EXPECT_TRUE(f.b->Received(WM_SETFOCUS).empty());
    EXPECT_EQ(f.log.back(), "C:CM_ENTER");
}

TEST(Focus, FocusEventsAndChangeNotice) {
    Form f;
    std::vector<std::string> events;
    f.a->OnEnter = [&](TObject*) { events.push_back("enter A"); };
    f.a->OnExit = [&](TObject*) { events.push_back("exit A"); };
    TWinControl* noticed = nullptr;
    FocusManager().OnChange = [&](TWinControl* now) { noticed = now; };
    f.a->SetFocus();
    EXPECT_EQ(noticed, f.a);
    f.b->SetFocus();
    EXPECT_EQ(noticed, f.b);
    FocusManager().OnChange.Clear();
    EXPECT_EQ(events, (std::vector<std::string>{"enter A", "exit A"}));
}

// Enter and exit notices follow the focus within each top-level window: the
// focus going to another form and back leaves the control as it was.
TEST(Focus, EnterAndExitFollowTheFocusWithinEachForm) {
    Form f;
    TProbe* panel = f.Add("Panel");
    TProbe* inner = f.Add("Inner", panel);
    Form other;
    other.form->SetName("Other");
    std::vector<std::string> notices;
    auto keep = [&] {
        for (const auto& line : f.log)
            if (line.find(":CM_") != std::string::npos) notices.push_back(line);
        for (const auto& line : other.log)
            if (line.find(":CM_") != std::string::npos) notices.push_back(line);
        f.log.clear();
        other.log.clear();
        std::vector<std::string> taken;
        taken.swap(notices);
        return taken;
    };
    using V = std::vector<std::string>;
    f.a->SetFocus();
    EXPECT_EQ(keep(), (V{"A:CM_ENTER"}));
    other.a->SetFocus();
    EXPECT_EQ(keep(), (V{"A:CM_ENTER"})) << "only the other form's control is told";
    EXPECT_EQ(f.a->Received(WM_KILLFOCUS).size(), 1u) << "the window focus still went";
    f.a->SetFocus();
    EXPECT_EQ(keep(), V{}) << "back in its form, A never left it";
    inner->SetFocus();
    EXPECT_EQ(keep(), (V{"A:CM_EXIT", "Panel:CM_ENTER", "Inner:CM_ENTER"}));
    other.b->SetFocus();
    EXPECT_EQ(keep(), (V{"A:CM_EXIT", "B:CM_ENTER"}));
    f.b->SetFocus();
    EXPECT_EQ(keep(), (V{"Inner:CM_EXIT", "Panel:CM_EXIT", "B:CM_ENTER"}));
    f.form->SetFocus();
    EXPECT_EQ(keep(), (V{"B:CM_EXIT"})) << "the form itself is never told";

    // A control that goes while it is its form's current control is not
    // told of a later move, and its parent is not entered again.
    inner->SetFocus();
    keep();
    other.a->SetFocus();
    EXPECT_EQ(keep(), (V{"B:CM_EXIT", "A:CM_ENTER"}));
    inner->Free();
    f.a->SetFocus();
    EXPECT_EQ(keep(), (V{"Panel:CM_EXIT", "A:CM_ENTER"}));
}

TEST(Handles, AreMadeOnDemandParentFirstAndAnnouncedToTheParent) {
    Form f;
    EXPECT_FALSE(f.form->HandleAllocated());
    EXPECT_FALSE(f.a->HandleAllocated());

    const TWindowHandle a = f.a->Handle();
    EXPECT_TRUE(f.form->HandleAllocated());
    EXPECT_NE(a, 0u);
    EXPECT_NE(a, f.form->Handle());
    // The visible children come with the parent's window.
    EXPECT_TRUE(f.b->HandleAllocated());
    EXPECT_NE(f.b->Handle(), a);
    EXPECT_EQ(FindControl(a), f.a);

    auto notices = f.form->Received(WM_PARENTNOTIFY);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(LoWord(notices[0].WParam), WM_CREATE);
    EXPECT_EQ(static_cast<TWindowHandle>(notices[0].LParam), a);
    EXPECT_EQ(static_cast<TWindowHandle>(notices[1].LParam), f.b->Handle());
    ASSERT_EQ(f.a->Received(WM_CREATE).size(), 1u);

    // A child placed in a parent that has its window gets one at once.
    f.log.clear();
    TProbe* late = f.Add("Late");
    EXPECT_TRUE(late->HandleAllocated());
    EXPECT_EQ(f.log, (std::vector<std::string>{"Late:WM_CREATE", "Form:WM_PARENTNOTIFY"}));
    EXPECT_EQ(static_cast<TWindowHandle>(f.form->Messages.back().LParam), late->Handle());

    // Its end is announced too, with the handle it had.
    const TWindowHandle lateHandle = late->Handle();
    f.log.clear();
    late->Free();
    ASSERT_EQ(f.log.size(), 2u);
    EXPECT_EQ(f.log[0], "Form:WM_PARENTNOTIFY");
    EXPECT_EQ(f.log[1], "Late:WM_DESTROY");
    const TMessage& gone = f.form->Messages.back();
    EXPECT_EQ(LoWord(gone.WParam), WM_DESTROY);
    EXPECT_EQ(static_cast<TWindowHandle>(gone.LParam), lateHandle);
    EXPECT_EQ(FindControl(lateHandle), nullptr);

    // A window made again has a new number.
    f.a->DestroyHandle();
    EXPECT_FALSE(f.a->HandleAllocated());
    EXPECT_NE(f.a->Handle(), a);
}

TEST(Focus, NextControlInTabOrder) {
    Form f;
    TProbe* c = f.Add("C");
    f.a->SetTabStop(true);
    f.b->SetTabStop(true);
    c->SetTabStop(true);
    EXPECT_EQ(f.form->FindNextControl(f.a, true, true), f.b);
    EXPECT_EQ(f.form->FindNextControl(c, true, true), f.a);
    EXPECT_EQ(f.form->FindNextControl(f.a, false, true), c);
    c->SetTabOrder(0);
    EXPECT_EQ(c->TabOrder(), 0);
    EXPECT_EQ(f.form->FindNextControl(c, true, true), f.a);
    f.a->SetEnabled(false);
    EXPECT_EQ(f.form->FindNextControl(c, true, true), f.b);
    f.b->SetTabStop(false);
    EXPECT_EQ(f.form->FindNextControl(c, true, true), c);
    EXPECT_EQ(f.form->FindNextControl(c, true, false), f.b);
}
