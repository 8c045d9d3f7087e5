// The lookup run end to end through the headless UI: a captured edit or grid
// on the order form, the shortcut, the default lookup form shown modally
// beside the control, answered as a user would, and the copy of the keys.

#include "host/core/Variant.h"
#include "host/ui/Mouse.h"
#include "lookup/Lddlg.h"
#include "lookup/LkFill.h"
#include "tests/lookup/DialogFixture.h"

#include <algorithm>
#include <typeinfo>

namespace dialog {
namespace {

class LookupRunTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        Panel = MakePanel(Form, "Panel");
        CustEdit = MakeEdit(Panel, "CustEdit", "CustNo");
        Grid = MakeGrid(Form, "Grid");
        LinkCustomers();
        Form->Show();
    }

    THeadlessBackend* Ui() const { return HeadlessBackend(); }

    // Queues what the user does in the lookup form, and what it saw.
    void Answer(std::function<void(TDefaultLookupForm*)> act) {
        Ui()->QueueModalAnswer([this, act](TCustomForm* form) {
            Seen = As<TDefaultLookupForm>(form);
            ASSERT_NE(Seen, nullptr);
            SeenRecord = Text(Customers, "CustNo");
            SeenBounds = form->BoundsRect();
            act(Seen);
        });
    }
    void PressOk() {
        Answer([](TDefaultLookupForm* form) { Mouse().Click(form->bOk); });
    }

    TPanel* Panel = nullptr;
    TDBEdit* CustEdit = nullptr;
    TDBGrid* Grid = nullptr;
    TDefaultLookupForm* Seen = nullptr;
    std::string SeenRecord;
    TRect SeenBounds{};
};

TEST_F(LookupRunTest, TheShortcutOpensTheFormBesideTheEditOnTheTypedKey) {
    CustEdit->SetFocus();
    Keyboard().Type("ce");
    int forms = Screen()->FormCount();
    Answer([&](TDefaultLookupForm* form) {
        EXPECT_EQ(form->Owner(), Form) << "the dialog's owner owns the form";
        EXPECT_EQ(form->GetDataSource(), CustomersSource);
        EXPECT_TRUE(form->lGrid->Focused());
        EXPECT_FALSE(CustEdit->Focused());
        EXPECT_EQ(form->Position(), poDesigned);
        Mouse().Click(form->bOk);
    });
    EXPECT_TRUE(CtrlF1());
    EXPECT_EQ(SeenRecord, "CE300") << "the first key beginning with the typed letters, any case";
    const TPoint origin = CustEdit->ClientOrigin();
    EXPECT_EQ(SeenBounds.Left, origin.X + CustEdit->Width());
    EXPECT_EQ(SeenBounds.Top, origin.Y);
    EXPECT_EQ(Text(Orders, "CustNo"), "CE300");
    EXPECT_EQ(Orders->State(), dsEdit) << "posting is left to the user";
    EXPECT_EQ(Screen()->FormCount(), forms) << "the form is freed";
    EXPECT_TRUE(CustEdit->Focused()) << "the focus comes back";
    EXPECT_EQ(CustEdit->Text(), "CE300");
    EXPECT_EQ(Ui()->PendingModalAnswers(), 0);
}

TEST_F(LookupRunTest, OkCopiesAndAFillOnTheSameKeysFillsTheResults) {
    veskar::TLookupFill* fill = veskar::TLookupFill::Create(Form);
    fill->KeyFields()->SetCommaText("CustNo");
    fill->LookupKeyFields()->SetCommaText("CustNo");
    fill->ResultFields()->SetCommaText("Company");
    fill->LookupResultFields()->SetCommaText("Company");
    fill->SetDataSource(OrdersSource);
    fill->SetLookupDataSource(CustomersSource);
    int lookups = 0;
    fill->AfterLookup = [&](veskar::TLookupFill*, bool&) { ++lookups; };

    CustEdit->SetFocus();
    Answer([&](TDefaultLookupForm* form) {
        Customers->Last();  // the user moves to another record
        Mouse().DblClick(form->lGrid);
    });
    CtrlF1();
    EXPECT_EQ(Text(Orders, "CustNo"), "CE300");
    EXPECT_EQ(Text(Orders, "Company"), "Celtic Dive");
    EXPECT_EQ(lookups, 1) << "one change notice after the copy";
}

// The typed text is the lookup's starting point, not a key: the lookup form
// taking the focus does not write it, so a fill on the same key does not
// look it up (and report it missing) before the form opens.
TEST_F(LookupRunTest, TypedTextIsNotWrittenWhenTheLookupFormTakesTheFocus) {
    veskar::TLookupFill* fill = veskar::TLookupFill::Create(Form);
    fill->KeyFields()->SetCommaText("CustNo");
    fill->LookupKeyFields()->SetCommaText("CustNo");
    fill->ResultFields()->SetCommaText("Company");
    fill->LookupResultFields()->SetCommaText("Company");
    fill->SetDataSource(OrdersSource);
    fill->SetLookupDataSource(CustomersSource);
    std::vector<std::string> looked;
    fill->BeforeLookup = [&](veskar::TLookupFill*, bool&) { looked.push_back(Text(Orders, "CustNo")); };

    CustEdit->SetFocus();
    Keyboard().Type("ce");
    Answer([&](TDefaultLookupForm* form) {
        EXPECT_TRUE(looked.empty()) << "nothing was looked up before the form opened";
        EXPECT_EQ(Text(Orders, "CustNo"), "");
        Mouse().Click(form->bOk);
    });
    CtrlF1();
    EXPECT_EQ(looked, std::vector<std::string>{"CE300"});
    EXPECT_EQ(Text(Orders, "Company"), "Celtic Dive");
    EXPECT_EQ(CustEdit->Text(), "CE300");
    EXPECT_EQ(Ui()->PendingModalAnswers(), 0);
}

TEST_F(LookupRunTest, CancelEscAndTheCloseBoxCopyNothing) {
    CustEdit->SetFocus();
    Keyboard().Type("cd");
    // The lookup form taking the focus does not leave the edit within its
    // form: the text stays in the edit, unwritten.
    Answer([](TDefaultLookupForm* form) { Mouse().Click(form->bCancel); });
    Answer([](TDefaultLookupForm*) { Keyboard().Press(VK_ESCAPE); });
    Answer([](TDefaultLookupForm* form) { Mouse().ClickCloseBox(form); });
    for (int i = 0; i < 3; ++i) {
        CtrlF1();
        EXPECT_EQ(SeenRecord, "CD200");
        EXPECT_EQ(Text(Orders, "CustNo"), "");
        EXPECT_EQ(CustEdit->Text(), "cd");
    }
    EXPECT_EQ(Ui()->PendingModalAnswers(), 0);
}

TEST_F(LookupRunTest, TheFormIsKeptOnTheScreen) {
    const TPoint origin = CustEdit->ClientOrigin();
    CustEdit->SetFocus();
    Answer([](TDefaultLookupForm* form) { Mouse().Click(form->bCancel); });
    CtrlF1();
    const int width = SeenBounds.Width(), height = SeenBounds.Height();

    // Near the right and bottom edges it moves left and up to fit.
    Screen()->SetSize(origin.X + CustEdit->Width() + width / 2, origin.Y + height / 2);
    Answer([](TDefaultLookupForm* form) { Mouse().Click(form->bCancel); });
    CtrlF1();
    EXPECT_EQ(SeenBounds.Left, Screen()->Width() - width);
    EXPECT_EQ(SeenBounds.Top, Screen()->Height() - height);

    // Larger than the screen: 5 pixels from the edge.
    Screen()->SetSize(width - 10, height - 10);
    Answer([](TDefaultLookupForm* form) { Mouse().Click(form->bCancel); });
    CtrlF1();
    EXPECT_EQ(SeenBounds.Left, 5);
    EXPECT_EQ(SeenBounds.Top, 5);
    Screen()->SetSize(1024, 768);
}

TEST_F(LookupRunTest, AGridSearchesTheEditorsTextAndAnchorsTheFormThere) {
    Grid->SetFocus();
    Grid->SetSelectedField(Orders->FieldByName("CustNo"));
    Keyboard().Type("a");  // starts the edit in the key column
    TInplaceEdit* editor = Grid->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(Dialog->ControlsList()->GetLinkToControl(Grid)->Button(), nullptr);
    PressOk();
    EXPECT_TRUE(Keyboard().Press(VK_F1, TShiftState{ssCtrl}));
    EXPECT_EQ(SeenRecord, "AB100");
    EXPECT_EQ(SeenBounds.Left, editor->ClientOrigin().X + editor->Width());
    EXPECT_EQ(SeenBounds.Top, editor->ClientOrigin().Y);
    EXPECT_EQ(Text(Orders, "CustNo"), "AB100");
}

// Writes down the change notices of one dataset's links.
class TNoticeLink : public TDataLink {
    HOST_CLASS(TNoticeLink, TDataLink)
public:
    std::vector<std::string> Heard;

protected:
    TNoticeLink() = default;
    void RecordChanged(TField* field) override { Heard.push_back(field ? field->FieldName() : "record"); }
};
HOST_IMPLEMENT_CLASS(TNoticeLink, TDataLink)

TEST_F(LookupRunTest, SeveralKeysGoTogetherAndAFailedCopyIsShownOnce) {
    // Three pairs; the second destination field (a number) cannot take a company name.
    Orders->Close();
    Orders->FieldDefs().Add("Rank", ftInteger);
    Orders->Open();
    Orders->First();
    Dialog->KeyFields()->SetCommaText("CustNo,Rank,PartNo");
    Dialog->LookupKeyFields()->SetCommaText("CustNo,Company,PartNo");
    Dialog->SetActive(false);
    Dialog->SetActive(true);
    Owned<TNoticeLink> notices(TNoticeLink::Create());
    notices->SetDataSource(OrdersSource);

    Customers->Locates.clear();
    Answer([&](TDefaultLookupForm* form) {
        Customers->First();
        notices->Heard.clear();
        Mouse().Click(form->bOk);
    });
    Dialog->GoLookupDialog(CustEdit, Orders->FieldByName("CustNo"), nullptr);
    ASSERT_EQ(Customers->Locates.size(), 1u);
    EXPECT_EQ(Customers->Locates[0].Fields, "CustNo;Company;PartNo");
    EXPECT_EQ(VarArrayDimCount(Customers->Locates[0].Values), 1);
    EXPECT_EQ(VarArrayHighBound(Customers->Locates[0].Values, 1), 2);

    ASSERT_EQ(Ui()->Shown().size(), 2u);
    EXPECT_EQ(Ui()->Shown()[0].Kind, TShownKind::ModalForm);
    EXPECT_EQ(Ui()->Shown()[1].Kind, TShownKind::Exception) << "one message";
    EXPECT_EQ(Text(Orders, "CustNo"), "AB100") << "the first key stays copied";
    EXPECT_TRUE(Orders->FieldByName("Rank")->IsNull());
    EXPECT_EQ(Text(Orders, "PartNo"), "") << "copying stopped";
    EXPECT_FALSE(Orders->ControlsDisabled());
    ASSERT_FALSE(notices->Heard.empty());
    EXPECT_EQ(notices->Heard.back(), "CustNo") << "the first key assigned once more";
    EXPECT_EQ(std::count(notices->Heard.begin(), notices->Heard.end(), "CustNo"), 1);
}

TEST_F(LookupRunTest, OneKeyIsSearchedAsAPlainValueAndNullsAreCopied) {
    Customers->AppendRecord({Variant::Null(), "Nobody", Variant::Null()});
    Orders->Edit();
    Orders->FieldByName("CustNo")->SetValue("CD");
    Customers->Locates.clear();
    Answer([&](TDefaultLookupForm* form) {
        Customers->Last();
        Mouse().Click(form->bOk);
    });
    Dialog->GoLookupDialog(Grid, Orders->FieldByName("CustNo"), nullptr);  // no editor: the field's value
    ASSERT_EQ(Customers->Locates.size(), 1u);
    EXPECT_EQ(Customers->Locates[0].Fields, "CustNo");
    EXPECT_EQ(VarArrayDimCount(Customers->Locates[0].Values), 0);
    EXPECT_EQ(VarToStr(Customers->Locates[0].Values), "CD");
    EXPECT_EQ(SeenRecord, "CD200");
    EXPECT_TRUE(Orders->FieldByName("CustNo")->IsNull()) << "Null is copied as Null";
}

class TPlainLookupForm : public TBaseLookupForm {
    HOST_CLASS(TPlainLookupForm, TBaseLookupForm)
public:
    TDataSource* Shown = nullptr;
    TDataSource* GetDataSource() override { return Shown; }
    void SetDataSource(TDataSource* Value) override { Shown = Value; }

protected:
    explicit TPlainLookupForm(TComponent* owner) : TBaseLookupForm(owner) {}
    void LoadDefinition() override {}  // built in code, no stored form
};
HOST_IMPLEMENT_COMPONENT(TPlainLookupForm, TBaseLookupForm)

TEST_F(LookupRunTest, TheFormClassComesFromTheEventThenTheCallerThenTheDefault) {
    std::vector<std::string> classes;
    auto record = [&] {
        Ui()->QueueModalAnswer([&](TCustomForm* form) {
            classes.push_back(form->ClassName());
            form->SetModalResult(mrCancel);
        });
    };
    record();
    Dialog->GoLookupDialog(CustEdit, nullptr, &ClassOf<TPlainLookupForm>());
    Dialog->GetLookupFormClass = [](TLookupDialog*) -> TBaseLookupFormClass { return nullptr; };
    record();
    Dialog->GoLookupDialog(CustEdit, nullptr, &ClassOf<TPlainLookupForm>());
    Dialog->GetLookupFormClass = [](TLookupDialog*) -> TBaseLookupFormClass { return &ClassOf<TPlainLookupForm>(); };
    record();
    Dialog->GoLookupDialog(CustEdit, nullptr, nullptr);
    EXPECT_EQ(classes, (std::vector<std::string>{"TPlainLookupForm", "TDefaultLookupForm", "TPlainLookupForm"}));

    // A class that is no lookup form is refused before anything is made.
    Dialog->GetLookupFormClass = nullptr;
    EXPECT_THROW(Dialog->GoLookupDialog(CustEdit, nullptr, &ClassOf<TForm>()), EInvalidCast);
}

TEST_F(LookupRunTest, TheLookupTableIsOpenedOrRefreshedAndTheSyncEventReplacesTheSearch) {
    Customers->Close();
    Customers->Locates.clear();
    int syncs = 0;
    Dialog->OnSyncLookupDataSource = [&](TObject* sender) {
        EXPECT_EQ(sender, Dialog);
        ++syncs;
        Customers->Last();
    };
    Answer([](TDefaultLookupForm* form) { Mouse().Click(form->bCancel); });
    Dialog->GoLookupDialog(CustEdit, Orders->FieldByName("CustNo"), nullptr);
    EXPECT_TRUE(Customers->Active()) << "opened, and left open";
    EXPECT_EQ(Customers->Refreshes, 0);
    EXPECT_EQ(syncs, 1);
    EXPECT_EQ(SeenRecord, "CE300");
    EXPECT_TRUE(Customers->Locates.empty());

    Answer([](TDefaultLookupForm* form) { Mouse().Click(form->bCancel); });
    Dialog->GoLookupDialog(CustEdit, Orders->FieldByName("CustNo"), nullptr);
    EXPECT_EQ(Customers->Refreshes, 1);

    // A failing refresh leaves the run after the form is freed; no form shows.
    const int forms = Screen()->FormCount();
    Customers->FailRefresh = true;
    Ui()->ClearShown();
    EXPECT_THROW(Dialog->GoLookupDialog(CustEdit, nullptr, nullptr), EDatabaseError);
    EXPECT_EQ(Screen()->FormCount(), forms);
    EXPECT_TRUE(Ui()->Shown().empty());
    EXPECT_EQ(Ui()->PendingModalAnswers(), 0);
}

TEST_F(LookupRunTest, ARunWithoutLookupTableOrWithAClosedDestinationDoesNoHarm) {
    // A closed destination: the keys have no fields, so nothing is searched or copied.
    Orders->Close();
    Customers->Locates.clear();
    PressOk();
    Dialog->GoLookupDialog(nullptr, nullptr, nullptr);
    EXPECT_TRUE(Customers->Locates.empty());
    EXPECT_EQ(Ui()->PendingModalAnswers(), 0);

    // No lookup data source: no form at all.
    Dialog->SetLookupDataSource(nullptr);
    Ui()->ClearShown();
    Dialog->GoLookupDialog(CustEdit, nullptr, nullptr);
    EXPECT_TRUE(Ui()->Shown().empty());
}

TEST_F(LookupRunTest, AnErrorAfterTheCopyComesBackAsAPlainExceptionAfterTheFormIsFreed) {
    // A fill on the same key that finds nothing raises when the copy ends.
    TRecordingTable* empty = MakeTable("Empty", {{"CustNo", ftString, 10}, {"Company", ftString, 30}});
    veskar::TLookupFill* fill = veskar::TLookupFill::Create(Form);
    fill->KeyFields()->SetCommaText("CustNo");
    fill->LookupKeyFields()->SetCommaText("CustNo");
    fill->ResultFields()->SetCommaText("Company");
    fill->LookupResultFields()->SetCommaText("Company");
    fill->SetDataSource(OrdersSource);
    fill->SetLookupDataSource(MakeSource("EmptySource", empty));
    const int forms = Screen()->FormCount();
    bool formAliveAtError = true;
    PressOk();
    try {
        CustEdit->SetFocus();
        CtrlF1();
        FAIL() << "the fill's error must come out";
    } catch (const EDatabaseError&) {
        FAIL() << "the class is not kept";
    } catch (const Exception& e) {
        formAliveAtError = Screen()->FormCount() != forms;
        EXPECT_EQ(e.Message(), "TLookupFill: Key not found");
        EXPECT_STREQ(typeid(e).name(), typeid(Exception).name());
    }
    EXPECT_FALSE(formAliveAtError);
    EXPECT_EQ(Text(Orders, "CustNo"), "AB100");
}

// The dialog freed by the user's own action while its lookup runs: it lets
// go of everything at once and ends when the run returns.
TEST_F(LookupRunTest, ADialogFreedDuringItsRunEndsAfterIt) {
    CustEdit->SetFocus();
    Answer([&](TDefaultLookupForm* form) {
        Free(Dialog);
        EXPECT_EQ(Dialog->ControlsList()->Count(), 0) << "released at once";
        EXPECT_EQ(Dialog->LookupDataSource(), nullptr);
        Mouse().Click(form->bOk);
    });
    CtrlF1();
    EXPECT_EQ(Form->FindComponent("CustomerLookup"), nullptr);
    EXPECT_EQ(Text(Orders, "CustNo"), "") << "a dialog on its way out copies nothing";
    Dialog = nullptr;
}

} // namespace
} // namespace dialog
