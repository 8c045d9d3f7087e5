// Message boxes and questions: the message form a back end shows, the
// headless back end's scripted answers, and the navigator's confirmation.

#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/core/Exception.h"
#include "host/ui/App.h"
#include "host/ui/Backend.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Dialogs.h"
#include "host/ui/Focus.h"
#include "host/ui/Keyboard.h"
#include "host/ui/MessageForm.h"
#include "host/ui/Mouse.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace host;

namespace {

std::vector<std::string> Texts(TCustomForm* box) {
    std::vector<std::string> texts;
    for (int i = 0; i < box->ControlCount(); ++i)
        if (auto* label = dynamic_cast<TStaticText*>(box->Controls(i))) texts.push_back(label->Caption());
    return texts;
}

std::vector<std::string> ButtonCaptions(TCustomForm* box) {
    std::vector<std::string> captions;
    for (int i = 0; i < box->ControlCount(); ++i)
        if (auto* button = dynamic_cast<TButton*>(box->Controls(i))) captions.push_back(button->Caption());
    return captions;
}

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Screen()->SetSize(800, 480);
        Keyboard().SetShiftState({});
        HeadlessBackend()->ClearShown();
        HeadlessBackend()->ClearModalAnswers();
        HeadlessBackend()->ClearMessageAnswers();
    }
    void TearDown() override {
        FocusManager().SetFocus(nullptr);
        HeadlessBackend()->ClearShown();
        HeadlessBackend()->ClearModalAnswers();
        HeadlessBackend()->ClearMessageAnswers();
    }
};

} // namespace

TEST_F(DialogsTest, APlainMessageIsTextOverAnOkButtonThatEnterAndEscPress) {
    Owned<TMessageForm> box(TMessageForm::Make("Order entry", "No customer has that number.\nSecond line", {}));
    EXPECT_EQ(box->Caption(), "Order entry");
    EXPECT_EQ(box->Position(), poScreenCenter);
    EXPECT_EQ(Texts(box.get()), (std::vector<std::string>{"No customer has that number.", "Second line"}));
    EXPECT_EQ(ButtonCaptions(box.get()), (std::vector<std::string>{"OK"}));
    TButton* ok = box->Button(mbOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->Name(), "OK");
    EXPECT_TRUE(ok->Default());
    EXPECT_TRUE(ok->Cancel());
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_EQ(box->KeysText(), "Enter/Esc OK");
    // Wide enough for the longest line with a margin, and on the screen.
    EXPECT_GE(box->ClientWidth(), (28 + 4) * kCellWidth);
    EXPECT_LE(box->Width(), 800);
    HeadlessBackend()->QueueModalAnswer([](TCustomForm*) { Keyboard().Press(VK_ESCAPE); });
    EXPECT_EQ(box->ShowModal(), mrOk);
    EXPECT_EQ(box->Answer(), mrOk);
}

TEST_F(DialogsTest, AQuestionAnswersByItsButtonsLettersEnterEscAndTheCloseBox) {
    // The buttons keep their own order, whatever order they are given in.
    Owned<TMessageForm> box(TMessageForm::Make("Confirm", "Delete record?", {mbNo, mbYes}));
    EXPECT_EQ(ButtonCaptions(box.get()), (std::vector<std::string>{"&Yes", "&No"}));
    EXPECT_TRUE(box->Button(mbYes)->Default());
    EXPECT_FALSE(box->Button(mbYes)->Cancel());
    EXPECT_TRUE(box->Button(mbNo)->Cancel());
    EXPECT_EQ(box->Button(mbOK), nullptr);
    EXPECT_EQ(box->KeysText(), "Y Yes  N No  Enter Yes  Esc No");
    // Side by side on the row under the text, inside the form.
    EXPECT_EQ(box->Button(mbYes)->Top(), box->Button(mbNo)->Top());
    EXPECT_LT(box->Button(mbYes)->Left() + box->Button(mbYes)->Width(), box->Button(mbNo)->Left());
    EXPECT_LE(box->Button(mbNo)->Left() + box->Button(mbNo)->Width(), box->ClientWidth());

    struct TCase {
        const char* What;
        std::function<void(TCustomForm*)> Act;
        TModalResult Answer;
    };
    const std::vector<TCase> cases = {
        {"Enter", [](TCustomForm*) { Keyboard().Press(VK_RETURN); }, mrYes},
        {"Esc", [](TCustomForm*) { Keyboard().Press(VK_ESCAPE); }, mrNo},
        {"a plain N", [](TCustomForm*) { Keyboard().Press('N'); }, mrNo},
        {"a plain Y", [](TCustomForm*) { Keyboard().Press('Y'); }, mrYes},
        {"Alt+N", [](TCustomForm*) { Keyboard().Press('N', TShiftState{ssAlt}); }, mrNo},
        {"a letter of no button, then Tab and Enter",
         [](TCustomForm*) {
             Keyboard().Press('Q');
             Keyboard().Press(VK_TAB);
             Keyboard().Press(VK_RETURN);
         },
         mrNo},
        {"the close box", [](TCustomForm* form) { Mouse().ClickCloseBox(form); }, mrNo},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        HeadlessBackend()->QueueModalAnswer(c.Act);
        box->ShowModal();
        EXPECT_EQ(box->Answer(), c.Answer);
    }
}

TEST_F(DialogsTest, TheHeadlessBackEndRecordsQuestionsAndTakesScriptedAnswers) {
    Application()->SetTitle("Orders");
    HeadlessBackend()->QueueMessageAnswer(mrNo);
    HeadlessBackend()->QueueMessageAnswer(mrCancel);
    EXPECT_EQ(MessageDlg("Delete record?", mtConfirmation, {mbYes, mbNo}), mrNo);
    EXPECT_EQ(MessageDlg("Save changes?", mtWarning, {mbYes, mbNo, mbCancel}), mrCancel);
    // One button needs no answer: it is the only one to press.
    EXPECT_EQ(MessageDlg("Saved.", mtCustom, {}), mrOk);
    EXPECT_EQ(HeadlessBackend()->PendingMessageAnswers(), 0);
    const auto& shown = HeadlessBackend()->Shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].Kind, TShownKind::MessageDlg);
    EXPECT_EQ(shown[0].Text, "Delete record?");
    EXPECT_EQ(shown[0].Detail, "Confirm");
    EXPECT_EQ(shown[1].Detail, "Warning");
    EXPECT_EQ(shown[2].Detail, "Orders");

    // A question nobody answers, or answered with a button it lacks, stops
    // the script.
    EXPECT_THROW(MessageDlg("Delete record?", mtConfirmation, {mbYes, mbNo}), EInvalidOperation);
    HeadlessBackend()->QueueMessageAnswer(mrOk);
    try {
        MessageDlg("Delete record?", mtConfirmation, {mbYes, mbNo});
        ADD_FAILURE() << "an answer of no button was taken";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Message dialog \"Delete record?\" has no button for the answer 1");
    }
    Application()->SetTitle("");
}

TEST_F(DialogsTest, ABackEndWithAModalLoopAsksThroughTheMessageForm) {
    // The base's question: a message form run modally, here answered by
    // the headless loop underneath.
    class TFormsOnly : public THeadlessBackend {
    public:
        TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override {
            return TUIBackend::MessageDlg(text, type, buttons);
        }
    };
    auto previous = SetUIBackend(std::make_unique<TFormsOnly>());
    std::vector<std::string> seen;
    HeadlessBackend()->QueueModalAnswer([&](TCustomForm* form) {
        seen.push_back(form->Caption());
        for (const std::string& text : Texts(form)) seen.push_back(text);
        Mouse().ClickCloseBox(form);
    });
    EXPECT_EQ(MessageDlg("Delete record?", mtConfirmation, {mbYes, mbNo}), mrNo);
    EXPECT_EQ(seen, (std::vector<std::string>{"Confirm", "Delete record?"}));
    HeadlessBackend()->QueueModalAnswer([](TCustomForm*) { Keyboard().Press('Y'); });
    EXPECT_EQ(MessageDlg("Delete record?", mtConfirmation, {mbYes, mbNo}), mrYes);
    SetUIBackend(std::move(previous));
}

TEST_F(DialogsTest, TheNavigatorAsksBeforeItDeletes) {
    Owned<TDataModule> module(TDataModule::Create(nullptr));
    TMemoryDataSet* parts = TMemoryDataSet::Create(module.get());
    parts->FieldDefs().Add("Part", ftString, 8);
    parts->Open();
    for (const char* name : {"Bolt", "Nut", "Gear"}) parts->AppendRecord({name});
    parts->First();
    TDataSource* source = TDataSource::Create(module.get());
    source->SetDataSet(parts);
    Owned<TForm> form(TForm::Create(nullptr));
    TDBNavigator* nav = TDBNavigator::Create(form.get());
    nav->SetParent(form.get());
    nav->SetDataSource(source);
    EXPECT_TRUE(nav->ConfirmDelete());
    std::vector<std::string> log;
    nav->BeforeAction = [&](TObject*, TNavigateBtn button) {
        log.push_back("before " + std::to_string(button) + " shown " +
                      std::to_string(HeadlessBackend()->Shown().size()));
    };
    nav->OnNavClick = [&](TObject*, TNavigateBtn button) { log.push_back("click " + std::to_string(button)); };

    // No keeps the record; the click is told all the same.
    HeadlessBackend()->QueueMessageAnswer(mrNo);
    nav->BtnClick(nbDelete);
    EXPECT_EQ(parts->RecordCount(), 3);
    ASSERT_EQ(HeadlessBackend()->Shown().size(), 1u);
    EXPECT_EQ(HeadlessBackend()->Shown()[0].Text, "Delete record?");
    EXPECT_EQ(HeadlessBackend()->Shown()[0].Detail, "Confirm");
    EXPECT_EQ(log, (std::vector<std::string>{"before 5 shown 0", "click 5"}));

    // Yes deletes the current record.
    HeadlessBackend()->QueueMessageAnswer(mrYes);
    nav->Buttons(nbDelete)->Click();
    EXPECT_EQ(parts->RecordCount(), 2);
    EXPECT_EQ(parts->FieldByName("Part")->AsString(), "Nut");

    // Without confirmation it deletes at once, asking nothing.
    nav->SetConfirmDelete(false);
    nav->BtnClick(nbDelete);
    EXPECT_EQ(parts->RecordCount(), 1);
    EXPECT_EQ(HeadlessBackend()->Shown().size(), 2u);
    EXPECT_EQ(HeadlessBackend()->PendingMessageAnswers(), 0);
    FocusManager().SetFocus(nullptr);
}
