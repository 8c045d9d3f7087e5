#include "host/core/Exception.h"
#include "host/ui/Backend.h"
#include "host/ui/Buttons.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Mouse.h"
#include "host/ui/StdCtrls.h"
#include "tests/host/ui/Probe.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace host;
using probe::TProbe;

namespace {

// A caller form with a focused control, and a dialog laid out as a lookup
// form is: a list over a panel with OK and Cancel.
class ModalTest : public ::testing::Test {
protected:
    void SetUp() override {
        Keyboard().SetShiftState({});
        Screen()->SetSize(1024, 768);
        backend = HeadlessBackend();
        ASSERT_NE(backend, nullptr);
        backend->ClearShown();
        backend->ClearModalAnswers();

        caller->SetName("CallerForm");
        caller->Show();
        callerControl = TProbe::Create(caller.get());
        callerControl->SetName("Caller");
        callerControl->Log = &log;
        callerControl->SetParent(caller.get());
        callerControl->SetFocus();

        dialog->SetName("Dialog");
        dialog->SetCaption("Pick one");
        dialog->SetBorderStyle(bsDialog);
        dialog->SetBounds(287, 259, 451, 265);
        list = TListBox::Create(dialog.get());
        list->SetName("List");
        list->SetParent(dialog.get());
        list->Items()->SetCommaText("Alpha,Beta,Gamma");
        list->SetItemIndex(0);
        list->OnDblClick = [this](TObject*) { dialog->SetModalResult(mrOk); };
        panel = TPanel::Create(dialog.get());
        panel->SetParent(dialog.get());
        panel->SetAlign(alBottom);
        ok = MakeButton("bOk", "OK", mrOk, 285);
        ok->SetDefault(true);
        cancel = MakeButton("bCancel", "Cancel", mrCancel, 365);
        cancel->SetCancel(true);
        dialog->SetActiveControl(list);
        log.clear();
    }

    void TearDown() override {
        backend->ClearModalAnswers();
        backend->ClearShown();
        Keyboard().SetShiftState({});
    }

    TBitBtn* MakeButton(const std::string& name, const std::string& caption, TModalResult result, int left) {
        TBitBtn* b = TBitBtn::Create(dialog.get());
        b->SetName(name);
        b->SetParent(panel);
        b->SetCaption(caption);
        b->SetModalResult(result);
        b->SetBounds(left, 4, 75, 25);
        return b;
    }

    TModalResult Run(TModalAnswer answer) {
        backend->QueueModalAnswer(std::move(answer));
        return dialog->ShowModal();
    }

    // Only the focus messages of the log.
    std::vector<std::string> FocusLog() const {
        std::vector<std::string> result;
        for (const std::string& entry : log)
            if (entry.find("FOCUS") != std::string::npos) result.push_back(entry);
        return result;
    }

    THeadlessBackend* backend = nullptr;
    std::vector<std::string> log;
    Owned<TForm> caller{TForm::Create(nullptr)};
    TProbe* callerControl = nullptr;
    Owned<TForm> dialog{TForm::Create(nullptr)};
    TListBox* list = nullptr;
    TPanel* panel = nullptr;
    TBitBtn* ok = nullptr;
    TBitBtn* cancel = nullptr;
};

TEST_F(ModalTest, WhileAFormRunsModallyTheMouseReachesOnlyThatForm) {
    TButton* behind = TButton::Create(caller.get());
    behind->SetParent(caller.get());
    int clicks = 0;
    behind->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_EQ(TModalRuns::Innermost(), nullptr);
    Run([&](TCustomForm* form) {
        EXPECT_EQ(TModalRuns::Innermost(), form);
        Mouse().Click(behind);
        Mouse().ClickCloseBox(caller.get());
        EXPECT_TRUE(caller->Visible()) << "the caller's close box is out of reach too";
        Mouse().Click(ok);
    });
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(TModalRuns::Innermost(), nullptr);
    Mouse().Click(behind);
    EXPECT_EQ(clicks, 1) << "after the run the caller takes clicks again";
}

} // namespace

TEST_F(ModalTest, TheRunTakesTheFocusFromTheCallerAndGivesItBack) {
    TProbe* inner = TProbe::Create(dialog.get());
    inner->SetName("Inner");
    inner->Log = &log;
    inner->SetParent(dialog.get());
    dialog->SetActiveControl(inner);

    bool checked = false;
    const TModalResult result = Run([&](TCustomForm* form) {
        EXPECT_EQ(form, dialog.get());
        EXPECT_TRUE(form->Visible());
        EXPECT_TRUE(form->Modal());
        EXPECT_TRUE(inner->Focused());
        EXPECT_EQ(Screen()->ActiveForm(), form);
        EXPECT_EQ(Screen()->ActiveControl(), inner);
        // The caller's control lost the focus to the form's active control.
        EXPECT_EQ(callerControl->Received(WM_KILLFOCUS).back().WParam, inner->Handle());
        Keyboard().Press(VK_RETURN);
        checked = true;
    });

    EXPECT_TRUE(checked);
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(FocusLog(), (std::vector<std::string>{"Caller:WM_KILLFOCUS", "Inner:WM_SETFOCUS",
                                                    "Inner:WM_KILLFOCUS", "Caller:WM_SETFOCUS"}));
    EXPECT_FALSE(dialog->Visible());
    EXPECT_FALSE(dialog->Modal());
    EXPECT_TRUE(callerControl->Focused());
    EXPECT_EQ(Screen()->ActiveForm(), caller.get());
    EXPECT_EQ(backend->PendingModalAnswers(), 0);
}

TEST_F(ModalTest, EveryWayAUserAnswersGivesItsResult) {
    struct Case {
        const char* What;
        std::function<void(TCustomForm*)> Answer;
        TModalResult Expected;
    };
    const std::vector<Case> cases{
        {"click OK", [&](TCustomForm*) { Mouse().Click(ok); }, mrOk},
        {"click Cancel", [&](TCustomForm*) { Mouse().Click(cancel); }, mrCancel},
        {"Enter", [](TCustomForm*) { Keyboard().Press(VK_RETURN); }, mrOk},
        {"Esc", [](TCustomForm*) { Keyboard().Press(VK_ESCAPE); }, mrCancel},
        {"close box", [](TCustomForm* f) { Mouse().ClickCloseBox(f); }, mrCancel},
        {"double click", [&](TCustomForm*) { Mouse().DblClick(list, Point(5, 5)); }, mrOk},
        {"Close", [](TCustomForm* f) { f->Close(); }, mrCancel},
        {"result set", [](TCustomForm* f) { f->SetModalResult(mrRetry); }, mrRetry},
        {"Hide", [](TCustomForm* f) { f->Hide(); }, mrCancel},
        {"Space on Cancel", [&](TCustomForm*) { cancel->SetFocus(); Keyboard().Press(VK_SPACE); }, mrCancel},
        // Enter on a focused button clicks that button, not the Default one.
        {"Enter on Cancel", [&](TCustomForm*) { cancel->SetFocus(); Keyboard().Press(VK_RETURN); }, mrCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        dialog->SetActiveControl(list);
        EXPECT_EQ(Run(c.Answer), c.Expected);
        EXPECT_FALSE(dialog->Visible());
        EXPECT_TRUE(callerControl->Focused());
    }
    // Every run was recorded as the user saw it.
    ASSERT_EQ(backend->Shown().size(), cases.size());
    const TShownItem& shown = backend->Shown().front();
    EXPECT_EQ(shown.Kind, TShownKind::ModalForm);
    EXPECT_EQ(shown.Text, "Pick one");
    EXPECT_EQ(shown.Detail, "TForm");
    EXPECT_EQ(shown.Bounds, Bounds(287, 259, 451, 265));
}

TEST_F(ModalTest, KeysWithModifiersOrOnADisabledButtonAnswerNothing) {
    cancel->SetEnabled(false);
    EXPECT_THROW(Run([](TCustomForm*) { Keyboard().Press(VK_ESCAPE); }), EInvalidOperation);
    EXPECT_THROW(Run([](TCustomForm*) { Keyboard().Press(VK_RETURN, {ssShift}); }), EInvalidOperation);
    ok->SetDefault(false);
    EXPECT_THROW(Run([](TCustomForm*) { Keyboard().Press(VK_RETURN); }), EInvalidOperation);
}

TEST_F(ModalTest, TabMovesTheFocusThroughTheFormInTabOrder) {
    Run([&](TCustomForm*) {
        EXPECT_TRUE(list->Focused());
        Keyboard().Press(VK_TAB);
        EXPECT_TRUE(ok->Focused());
        Keyboard().Press(VK_TAB);
        EXPECT_TRUE(cancel->Focused());
        Keyboard().Press(VK_TAB);
        EXPECT_TRUE(list->Focused());
        Keyboard().Press(VK_TAB, {ssShift});
        EXPECT_TRUE(cancel->Focused());
        Mouse().Click(cancel);
    });
    // The form remembers where the focus was for the next run.
    EXPECT_EQ(dialog->ActiveControl(), cancel);
    EXPECT_EQ(Run([](TCustomForm*) { Keyboard().Press(VK_RETURN); }), mrCancel);
}

TEST_F(ModalTest, ShowModalRefusesAVisibleOrModalForm) {
    dialog->Show();
    try {
        dialog->ShowModal();
        ADD_FAILURE() << "a visible form ran modally";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Cannot make a visible window modal");
    }
    EXPECT_FALSE(dialog->Modal());
    EXPECT_TRUE(callerControl->Focused());
    dialog->Hide();

    bool refused = false;
    EXPECT_EQ(Run([&](TCustomForm* f) {
                  try {
                      f->ShowModal();
                  } catch (const EInvalidOperation&) {
                      refused = true;
                  }
                  f->SetModalResult(mrOk);
              }),
              mrOk);
    EXPECT_TRUE(refused);
}

TEST_F(ModalTest, ARunLeftWithoutAnAnswerRaisesAndCleansUp) {
    auto expectCleanedUp = [&] {
        EXPECT_FALSE(dialog->Visible());
        EXPECT_FALSE(dialog->Modal());
        EXPECT_TRUE(callerControl->Focused());
    };
    try {
        dialog->ShowModal();
        ADD_FAILURE() << "a run without answers returned";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Modal form Dialog was left without an answer");
    }
    expectCleanedUp();

    // An answer that answers nothing does not take the next run's answer.
    backend->QueueModalAnswer([](TCustomForm*) {});
    backend->QueueModalAnswer([](TCustomForm* f) { f->SetModalResult(mrOk); });
    EXPECT_THROW(dialog->ShowModal(), EInvalidOperation);
    expectCleanedUp();
    EXPECT_EQ(backend->PendingModalAnswers(), 1);
    EXPECT_EQ(dialog->ShowModal(), mrOk);

    // An answer's own error ends the run with it.
    EXPECT_THROW(Run([](TCustomForm*) { throw EDatabaseError("broken"); }), EDatabaseError);
    expectCleanedUp();

    // A form without a name is named by its class.
    dialog->SetName("");
    try {
        dialog->ShowModal();
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Modal form TForm was left without an answer");
    }
}

TEST_F(ModalTest, ARefusedCloseGivesTheNextAnswerATurn) {
    int queries = 0;
    std::vector<TCloseAction> closes;
    dialog->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++queries > 1; };
    dialog->OnClose = [&](TObject*, TCloseAction& action) { closes.push_back(action); };
    backend->QueueModalAnswer([&](TCustomForm*) { Mouse().Click(ok); });
    backend->QueueModalAnswer([&](TCustomForm* f) {
        // Still shown, with its result put back.
        EXPECT_TRUE(f->Visible());
        EXPECT_EQ(f->ModalResult(), mrNone);
        Mouse().Click(cancel);
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(closes, (std::vector<TCloseAction>{caHide}));

    // OnClose leaving caNone keeps the form open likewise.
    dialog->OnCloseQuery.Clear();
    bool keep = true;
    dialog->OnClose = [&](TObject*, TCloseAction& action) {
        if (keep) action = caNone;
        keep = false;
    };
    backend->QueueModalAnswer([](TCustomForm*) { Keyboard().Press(VK_RETURN); });
    backend->QueueModalAnswer([](TCustomForm*) { Keyboard().Press(VK_ESCAPE); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST_F(ModalTest, AFormFreedDuringItsRunIsFreedWhenTheRunEnds) {
    const int forms = Screen()->FormCount();
    TForm* doomed = dialog.release();
    backend->QueueModalAnswer([](TCustomForm* f) {
        f->Free();
        // Still whole while the run is on the stack.
        EXPECT_TRUE(f->Visible());
    });
    EXPECT_EQ(doomed->ShowModal(), mrCancel);
    EXPECT_EQ(Screen()->FormCount(), forms - 1);
    EXPECT_TRUE(callerControl->Focused());

    // caFree from OnClose frees it after the run too, with the result kept.
    TForm* freed = TForm::Create(nullptr);
    freed->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    backend->QueueModalAnswer([](TCustomForm* f) { f->SetModalResult(mrYes); });
    EXPECT_EQ(freed->ShowModal(), mrYes);
    EXPECT_EQ(Screen()->FormCount(), forms - 1);
}

TEST_F(ModalTest, AnAnswerMayRunAnotherModalFormWhichTakesTheNextAnswer) {
    Owned<TForm> second(TForm::Create(nullptr));
    second->SetCaption("Are you sure?");
    TButton* yes = TButton::Create(second.get());
    yes->SetParent(second.get());
    yes->SetModalResult(mrYes);
    TModalResult inner = mrNone;
    backend->QueueModalAnswer([&](TCustomForm*) {
        inner = second->ShowModal();
        // The focus came back into the first form.
        EXPECT_TRUE(list->Focused());
        Mouse().Click(ok);
    });
    backend->QueueModalAnswer([&](TCustomForm* f) {
        EXPECT_EQ(f, second.get());
        EXPECT_TRUE(yes->Focused());
        Keyboard().Press(VK_SPACE);
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(inner, mrYes);
    ASSERT_EQ(backend->Shown().size(), 2u);
    EXPECT_EQ(backend->Shown()[0].Text, "Pick one");
    EXPECT_EQ(backend->Shown()[1].Text, "Are you sure?");
}

TEST_F(ModalTest, ClosingAModelessFormFollowsOnCloseQueryAndTheCloseAction) {
    bool allow = false;
    TCloseAction wanted = caHide;
    dialog->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
    dialog->OnClose = [&](TObject*, TCloseAction& action) {
        EXPECT_EQ(action, caHide);
        action = wanted;
    };
    dialog->Show();
    dialog->Close();
    EXPECT_TRUE(dialog->Visible());
    allow = true;
    wanted = caNone;
    Mouse().ClickCloseBox(dialog.get());
    EXPECT_TRUE(dialog->Visible());
    wanted = caHide;
    Mouse().ClickCloseBox(dialog.get());
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(dialog->ModalResult(), mrNone);

    // A form without a frame has no close box.
    dialog->SetBorderStyle(bsNone);
    dialog->Show();
    Mouse().ClickCloseBox(dialog.get());
    EXPECT_TRUE(dialog->Visible());

    const int forms = Screen()->FormCount();
    wanted = caFree;
    dialog.release()->Close();
    EXPECT_EQ(Screen()->FormCount(), forms - 1);
}

TEST(ModalBackend, ABackEndWithoutAModalLoopRefusesTheRun) {
    class TMessagesOnly : public TUIBackend {
    public:
        void ShowMessage(const std::string&) override {}
        void ShowException(const std::string&) override {}
    };
    Owned<TForm> form(TForm::Create(nullptr));
    form->SetName("Lonely");
    auto previous = SetUIBackend(std::make_unique<TMessagesOnly>());
    try {
        form->ShowModal();
        ADD_FAILURE() << "the run returned";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "The user interface cannot run the modal form Lonely");
    }
    SetUIBackend(std::move(previous));
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Modal());
}
