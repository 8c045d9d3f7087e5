// The lookup dialog as a component: container rule, activation, field links,
// removed data sources, and which controls it discovers and captures.

#include "tests/lookup/DialogFixture.h"

namespace dialog {
namespace {

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "no error";
}

TEST_F(DialogTest, ANewDialogIsActiveAndEmpty) {
    EXPECT_TRUE(Dialog->Active());
    EXPECT_EQ(Dialog->DataSource(), nullptr);
    EXPECT_EQ(Dialog->LookupDataSource(), nullptr);
    EXPECT_EQ(Dialog->KeyFields()->Count(), 0);
    EXPECT_EQ(Dialog->LookupKeyFields()->Count(), 0);
    EXPECT_EQ(Dialog->LookupShortCut(), TextToShortCut("Ctrl+F1"));
    EXPECT_EQ(Dialog->Connections()->Count(), 0);
    EXPECT_EQ(Dialog->ControlsList()->OwnerDialog(), Dialog);
    EXPECT_FALSE(Dialog->GetLookupFormClass.Assigned());
    EXPECT_FALSE(Dialog->OnSyncLookupDataSource.Assigned());
    Dialog->SetShortCut(TextToShortCut("Ctrl+L"));
    EXPECT_EQ(Dialog->ControlsList()->LookupShortCut(), TextToShortCut("Ctrl+L"));
}

TEST_F(DialogTest, OnlyAFormOrALookupContainerMayOwnADialog) {
    Owned<TDataModule> module(TDataModule::Create(nullptr));
    EXPECT_EQ(MessageOf([&] { TLookupDialog::Create(module.get()); }),
              "TLookupDialog: Container must be TCustomForm or TLookupContainer.");
    EXPECT_EQ(module->ComponentCount(), 0);
    Owned<TLookupContainer> container(TLookupContainer::Create(nullptr));
    EXPECT_EQ(TLookupDialog::Create(container.get())->Owner(), container.get());
    Owned<TLookupDialog> loose(TLookupDialog::Create(nullptr));
    EXPECT_EQ(MessageOf([&] { module->InsertComponent(loose.get()); }),
              "TLookupDialog: Container must be TCustomForm or TLookupContainer.");
}

TEST_F(DialogTest, ActivationBuildsOneConnectionPerKeyPair) {
    Dialog->KeyFields()->SetCommaText("CustNo,PartNo");
    Dialog->LookupKeyFields()->SetCommaText("CustNo");
    Dialog->SetDataSource(OrdersSource);
    EXPECT_EQ(Dialog->Connections()->Count(), 0) << "one source missing: nothing built, nothing raised";

    EXPECT_EQ(MessageOf([&] { Dialog->SetLookupDataSource(CustomersSource); }), "TLookupDialog: Fields doesn't match.");
    EXPECT_EQ(Dialog->LookupDataSource(), CustomersSource) << "stored before the activation failed";
    EXPECT_FALSE(Dialog->Active()) << "the failed reactivation keeps the flag it had set";
    EXPECT_EQ(Dialog->Connections()->Count(), 0);

    Dialog->LookupKeyFields()->SetCommaText("CustNo,PartNo");
    Dialog->SetActive(true);
    ASSERT_EQ(Dialog->Connections()->Count(), 2);
    TLookupFieldConnection* first = Dialog->Connection(0);
    TLookupFieldConnection* second = Dialog->Connection(1);
    EXPECT_EQ(first->KeyLink()->DataSource(), OrdersSource);
    EXPECT_EQ(first->KeyLink()->Field(), Orders->FieldByName("CustNo"));
    EXPECT_EQ(first->LookupLink()->Field(), Customers->FieldByName("CustNo"));
    EXPECT_EQ(second->LookupLink()->Field(), Customers->FieldByName("PartNo"));
    EXPECT_TRUE(first->KeyLink()->OnActiveChange.Assigned());
    EXPECT_TRUE(first->LookupLink()->OnActiveChange.Assigned());
    EXPECT_FALSE(second->KeyLink()->OnActiveChange.Assigned());
    EXPECT_EQ(Dialog->FindKeyField(Orders->FieldByName("PartNo")), 1);
    EXPECT_EQ(Dialog->FindKeyField(Orders->FieldByName("OrderNo")), -1);
    EXPECT_EQ(Dialog->FindKeyField(nullptr), -1);

    // A list change waits for the next activation; the same source rebuilds nothing.
    Dialog->KeyFields()->SetCommaText("CustNo");
    Dialog->LookupKeyFields()->SetCommaText("CustNo");
    Dialog->SetDataSource(OrdersSource);
    EXPECT_EQ(Dialog->Connection(0), first);
    EXPECT_EQ(Dialog->Connections()->Count(), 2);
    Dialog->SetActive(false);
    EXPECT_EQ(Dialog->Connections()->Count(), 0);
    Dialog->SetActive(true);
    EXPECT_EQ(Dialog->Connections()->Count(), 1);

    // Empty lists with both sources: nothing built, nothing raised.
    Dialog->KeyFields()->Clear();
    Dialog->LookupKeyFields()->Clear();
    Dialog->SetActive(false);
    Dialog->SetActive(true);
    EXPECT_EQ(Dialog->Connections()->Count(), 0);
}

TEST_F(DialogTest, ARemovedDataSourceIsDroppedAndTheDialogStaysActive) {
    LinkCustomers();
    ASSERT_EQ(Dialog->Connections()->Count(), 1);
    Free(CustomersSource);
    EXPECT_EQ(Dialog->LookupDataSource(), nullptr);
    EXPECT_TRUE(Dialog->Active());
    EXPECT_EQ(Dialog->Connections()->Count(), 0);

    // One source in both roles goes from both at once.
    Dialog->SetLookupDataSource(OrdersSource);
    Free(OrdersSource);
    EXPECT_EQ(Dialog->DataSource(), nullptr);
    EXPECT_EQ(Dialog->LookupDataSource(), nullptr);

    // A data source owned elsewhere is watched as well.
    Owned<TDataModule> module(TDataModule::Create(nullptr));
    TDataSource* foreign = TDataSource::Create(module.get());
    Dialog->SetDataSource(foreign);
    module.reset();
    EXPECT_EQ(Dialog->DataSource(), nullptr);
}

TEST_F(DialogTest, InTheDesignerAndWhileLoadingActiveIsOnlyRecorded) {
    Dialog->SetDesigning(true);
    LinkCustomers();
    EXPECT_EQ(Dialog->Connections()->Count(), 0);
    Dialog->SetActive(false);
    Dialog->SetActive(true);
    EXPECT_TRUE(Dialog->Active());
    EXPECT_EQ(Dialog->Connections()->Count(), 0);
    {
        TLoadingSession session;
        session.Add(Dialog);
        session.Finish();
    }
    EXPECT_EQ(Dialog->Connections()->Count(), 0) << "Loaded in the designer builds nothing";

    Dialog->SetDesigning(false);
    TLookupDialog* loaded = TLookupDialog::Create(Form);
    {
        TLoadingSession session;
        session.Add(loaded);
        loaded->KeyFields()->SetCommaText("CustNo");
        loaded->LookupKeyFields()->SetCommaText("CustNo");
        loaded->SetDataSource(OrdersSource);
        loaded->SetLookupDataSource(CustomersSource);
        EXPECT_EQ(loaded->Connections()->Count(), 0);
        session.Finish();
    }
    EXPECT_EQ(loaded->Connections()->Count(), 1) << "Loaded applies the stored wish";

    TLookupDialog* stored = TLookupDialog::Create(Form);
    {
        TLoadingSession session;
        session.Add(stored);
        stored->KeyFields()->SetCommaText("CustNo");
        stored->LookupKeyFields()->SetCommaText("CustNo");
        stored->SetDataSource(OrdersSource);
        stored->SetLookupDataSource(CustomersSource);
        stored->SetActive(false);
        session.Finish();
    }
    EXPECT_EQ(stored->Connections()->Count(), 0);
    EXPECT_FALSE(stored->Active());
}

TEST_F(DialogTest, DiscoveryFollowsParenthoodParentsFirst) {
    TPanel* top = MakePanel(Form, "Top");
    TPanel* inner = MakePanel(top, "Inner");
    MakeEdit(inner, "DeepCust", "custno");  // letter case does not matter
    MakeEdit(top, "TopPart", "PartNo");
    MakeEdit(Form, "FormCust", "CustNo");
    MakeEdit(Form, "Other", "CustNo", CustomersSource);  // another data source
    MakeEdit(top, "NoKey", "Company");
    MakeGrid(inner, "InnerGrid");
    LinkCustomers("CustNo,PartNo", "CustNo,PartNo");
    EXPECT_EQ(CapturedNames(), (Names{"DeepCust", "InnerGrid", "TopPart", "FormCust"}));

    // Re-activating releases first: nothing is captured twice.
    Dialog->SetActive(false);
    EXPECT_TRUE(CapturedNames().empty());
    Dialog->SetActive(true);
    Dialog->SetActive(true);
    EXPECT_EQ(CapturedNames().size(), 4u);

    // Reopening the destination discovers afresh (a control made meanwhile).
    MakeEdit(Form, "LateCust", "CustNo");
    Orders->Close();
    Orders->Open();
    EXPECT_EQ(CapturedNames(), (Names{"DeepCust", "InnerGrid", "TopPart", "FormCust", "LateCust"}));

    // A grid on the destination is captured even without key fields.
    Dialog->KeyFields()->Clear();
    Dialog->LookupKeyFields()->Clear();
    Dialog->SetActive(false);
    Dialog->SetActive(true);
    EXPECT_EQ(CapturedNames(), (Names{"InnerGrid"}));
}

TEST_F(DialogTest, ADialogInAContainerCapturesOnTheContainersForm) {
    MakeEdit(Form, "CustEdit", "CustNo");
    TLookupContainer* container = TLookupContainer::Create(Form);
    TLookupDialog* inner = TLookupDialog::Create(container);
    inner->KeyFields()->SetCommaText("CustNo");
    inner->LookupKeyFields()->SetCommaText("CustNo");
    inner->SetDataSource(OrdersSource);
    inner->SetLookupDataSource(CustomersSource);
    EXPECT_EQ(inner->ControlsList()->Count(), 1);

    Owned<TLookupContainer> alone(TLookupContainer::Create(nullptr));
    TLookupDialog* homeless = TLookupDialog::Create(alone.get());
    homeless->KeyFields()->SetCommaText("CustNo");
    homeless->LookupKeyFields()->SetCommaText("CustNo");
    homeless->SetDataSource(OrdersSource);
    homeless->SetLookupDataSource(CustomersSource);
    EXPECT_EQ(homeless->ControlsList()->Count(), 0) << "no window among its owners";
}

TEST_F(DialogTest, CollectingControlsSurvivesFailingChildren) {
    TPanel* panel = MakePanel(Form, "Panel");
    MakeEdit(panel, "A", "CustNo");
    MakeEdit(Form, "B", "CustNo");
    Owned<TList> list(TList::Create());
    int marker = 0;
    list->Add(&marker);
    GetAllControlsInAList(Form, nullptr, [](TWinControl*) { return true; });
    GetAllControlsInAList(Form, list.get(), TConditionMethod());
    EXPECT_EQ(list->Count(), 1) << "left untouched";

    GetAllControlsInAList(Form, list.get(), [](TWinControl* c) {
        if (c->Name() == "Panel") throw Exception("refused");
        return true;
    });
    ASSERT_EQ(list->Count(), 2) << "the failing panel and its subtree are skipped";
    EXPECT_EQ(list->Get<TWinControl>(0), Form);
    EXPECT_EQ(list->Get<TWinControl>(1)->Name(), "B");

    GetAllControlsInAList(Form, list.get(), [](TWinControl*) -> bool { throw Exception("no"); });
    EXPECT_EQ(list->Count(), 0) << "the start failing ends the walk";
}

TEST_F(DialogTest, CollectingCountsANodesChildrenBeforeTestingIt) {
    TPanel* panel = MakePanel(Form, "Panel");
    MakeEdit(panel, "A", "CustNo");
    Owned<TList> list(TList::Create());
    Names tested;
    GetAllControlsInAList(Form, list.get(), [&](TWinControl* c) {
        tested.push_back(c->Name());
        // Children added to the node under test wait for the next walk.
        if (c == Form) MakePanel(Form, "LateTop");
        if (c == panel) MakeEdit(panel, "LateInner", "CustNo");
        return true;
    });
    EXPECT_EQ(tested, (Names{"OrderForm", "Panel", "A"}));
    EXPECT_EQ(list->Count(), 3);

    tested.clear();
    GetAllControlsInAList(Form, list.get(), [&](TWinControl* c) {
        tested.push_back(c->Name());
        return true;
    });
    EXPECT_EQ(tested, (Names{"OrderForm", "Panel", "A", "LateInner", "LateTop"}));
}

TEST_F(DialogTest, TheDialogOffersTheLookupOnOpenEditsAndKeyColumns) {
    TDBEdit* edit = MakeEdit(Form, "CustEdit", "CustNo");
    TDBGrid* grid = MakeGrid(Form, "Grid");
    LinkCustomers();
    TField* custNo = Orders->FieldByName("CustNo");
    EXPECT_TRUE(Dialog->CheckControlLookup(edit, custNo));
    EXPECT_TRUE(Dialog->CheckControlLookup(edit, Orders->FieldByName("Company"))) << "edits are not compared again";
    EXPECT_FALSE(Dialog->CheckControlLookup(edit, nullptr));
    EXPECT_TRUE(Dialog->CheckControlLookup(grid, custNo));
    EXPECT_FALSE(Dialog->CheckControlLookup(grid, Orders->FieldByName("PartNo")));
    EXPECT_FALSE(Dialog->CheckControlLookup(Form, custNo));

    // Through the focus: a button on the edit, and in the grid only in the key column.
    Form->Show();
    edit->SetFocus();
    EXPECT_NE(Dialog->ControlsList()->GetLinkToControl(edit)->Button(), nullptr);
    auto* gridLink = Dialog->ControlsList()->GetLinkToControl(grid);
    grid->SetFocus();
    grid->SetSelectedField(Orders->FieldByName("PartNo"));
    grid->ShowEditor();
    EXPECT_EQ(gridLink->Button(), nullptr);
    edit->SetFocus();
    grid->SetSelectedField(custNo);
    grid->SetFocus();
    EXPECT_NE(gridLink->Button(), nullptr);

    // A list without a dialog refuses and ignores.
    Owned<TLookupDialogControlsList> orphan(TLookupDialogControlsList::Create(nullptr));
    EXPECT_FALSE(orphan->CheckControlLookup(edit, custNo));
    orphan->LookupButtonClicked(edit, custNo);
}

} // namespace
} // namespace dialog
