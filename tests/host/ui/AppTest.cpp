#include "host/core/Exception.h"
#include "host/ui/App.h"
#include "host/ui/Backend.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Keyboard.h"
#include "host/ui/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace host;

namespace {

// A fresh application of its own per test, driven through the headless
// back end's queued input.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend = HeadlessBackend();
        ASSERT_NE(backend, nullptr);
        backend->ClearShown();
        backend->ClearModalAnswers();
        Keyboard().SetShiftState({});
    }
    void TearDown() override {
        // Leftover input must not reach the next test.
        backend->ClearInput();
        FocusManager().SetFocus(nullptr);
        app->DestroyComponents();
    }

    // A form with two edits, the second its active control.
    TForm* MakeForm(const char* name) {
        TForm* form = As<TForm>(app->CreateForm(ClassOf<TForm>()));
        form->SetName(name);
        for (const char* edit : {"First", "Second"}) {
            TEdit* e = TEdit::Create(form);
            e->SetName(edit);
            e->SetText("");
            e->SetParent(form);
        }
        form->SetActiveControl(As<TWinControl>(form->FindComponent("Second")));
        return form;
    }

    THeadlessBackend* backend = nullptr;
    Owned<TApplication> app{TApplication::Create(nullptr)};
};

TEST_F(AppTest, TheFirstFormMadeIsTheMainFormAndTheApplicationOwnsIt) {
    EXPECT_EQ(app->MainForm(), nullptr);
    TForm* main = MakeForm("MainForm");
    TForm* other = MakeForm("Other");
    EXPECT_EQ(app->MainForm(), main);
    EXPECT_EQ(main->Owner(), app.get());
    EXPECT_EQ(other->Owner(), app.get());
    TForm* typed = nullptr;
    app->CreateForm(typed);
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(app->MainForm(), main);
    // A main form freed elsewhere is forgotten, not left dangling.
    main->Free();
    EXPECT_EQ(app->MainForm(), nullptr);
    EXPECT_THROW(app->CreateForm(ClassOf<TCustomEdit>()), EInvalidOperation);
}

TEST_F(AppTest, RunShowsTheMainFormFocusedAndEndsWhenItCloses) {
    TForm* main = MakeForm("MainForm");
    std::vector<std::string> seen;
    backend->QueueInput([&] {
        seen.push_back(main->Visible() ? "shown" : "hidden");
        seen.push_back(FocusedControl() ? FocusedControl()->Name() : "none");
        EXPECT_TRUE(app->Running());
        Keyboard().Type("ab");
    });
    backend->QueueInput([&] { main->Close(); });
    backend->QueueInput([&] { seen.push_back("after the close"); });
    app->Run();
    EXPECT_EQ(seen, (std::vector<std::string>{"shown", "Second"}));
    EXPECT_EQ(As<TEdit>(main->FindComponent("Second"))->Text(), "ab");
    EXPECT_FALSE(main->Visible());
    EXPECT_TRUE(app->Terminated());
    EXPECT_FALSE(app->Running());
    EXPECT_EQ(backend->PendingInput(), 1);
    // A terminated application runs no more.
    main->Show();
    app->Run();
    EXPECT_EQ(backend->PendingInput(), 1);
}

TEST_F(AppTest, RunEndsOnTerminateOnAFreedMainFormAndWhenInputRunsOut) {
    TForm* main = MakeForm("MainForm");
    backend->QueueInput([&] { app->Terminate(); });
    backend->QueueInput([] { ADD_FAILURE() << "input after Terminate"; });
    app->Run();
    EXPECT_TRUE(main->Visible());
    EXPECT_EQ(backend->PendingInput(), 1);
    backend->ClearInput();

    Owned<TApplication> second(TApplication::Create(nullptr));
    TForm* form = As<TForm>(second->CreateForm(ClassOf<TForm>()));
    form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    backend->QueueInput([&] { form->Close(); });
    second->Run();
    EXPECT_EQ(second->MainForm(), nullptr);
    EXPECT_TRUE(second->Terminated());

    // Nothing queued: the headless back end never has input again.
    Owned<TApplication> third(TApplication::Create(nullptr));
    TForm* idle = As<TForm>(third->CreateForm(ClassOf<TForm>()));
    third->Run();
    EXPECT_TRUE(third->Terminated());
    EXPECT_TRUE(idle->Visible());
    idle->Hide();
}

TEST_F(AppTest, AModalRunNestsInTheLoopAndRunRefusesToNest) {
    TForm* main = MakeForm("MainForm");
    TForm* dialog = MakeForm("Dialog");
    TModalResult result = mrNone;
    backend->QueueModalAnswer([](TCustomForm* form) { form->SetModalResult(mrOk); });
    backend->QueueInput([&] { result = dialog->ShowModal(); });
    backend->QueueInput([&] {
        EXPECT_THROW(app->Run(), EInvalidOperation);
        main->Close();
    });
    app->Run();
    EXPECT_EQ(result, mrOk);
    ASSERT_EQ(backend->Shown().size(), 1u);
    EXPECT_EQ(backend->Shown()[0].Kind, TShownKind::ModalForm);
}

TEST_F(AppTest, ProcessMessagesHandlesWhatIsWaitingAndShortCutsGoToTheEvent) {
    int handled = 0;
    backend->QueueInput([&] { ++handled; });
    backend->QueueInput([&] { ++handled; });
    app->ProcessMessages();
    EXPECT_EQ(handled, 2);
    app->ProcessMessages();
    EXPECT_EQ(handled, 2);
    EXPECT_FALSE(app->HandleMessage());

    EXPECT_FALSE(app->IsShortCut('Q', {ssCtrl}));
    std::vector<std::uint16_t> keys;
    app->OnShortCut = [&](std::uint16_t key, TShiftState shift, bool& taken) {
        keys.push_back(key);
        taken = shift.Contains(ssCtrl);
    };
    EXPECT_TRUE(app->IsShortCut('Q', {ssCtrl}));
    EXPECT_FALSE(app->IsShortCut('Q', {}));
    EXPECT_EQ(keys, (std::vector<std::uint16_t>{'Q', 'Q'}));
}

} // namespace
