// The smart lookup as a component: construction and its owner, the
// forwarding writers, loading, activation and its order, re-parsing, the
// designer, and data sources that go before or after it.

#include "host/ui/ShortCuts.h"
#include "tests/lookup/SmartFixture.h"

namespace smart {
namespace {

// Hears of the end of the components it watches and asks, right then, what
// it was told to.
class TEndWatch : public TComponent {
    HOST_CLASS(TEndWatch, TComponent)
public:
    std::function<void()> OnEnd;

protected:
    explicit TEndWatch(TComponent* owner) : TComponent(owner) {}
    void Notification(TComponent* component, TOperation operation) override {
        inherited::Notification(component, operation);
        if (operation == opRemove && OnEnd) OnEnd();
    }
};
HOST_IMPLEMENT_COMPONENT(TEndWatch, TComponent)

TEST_F(SmartTest, ANewSmartLookupHoldsItsDefaultsAndTwoIdleInnerComponents) {
    TSmartDBLookup* lookup = TSmartDBLookup::Create(Form);
    EXPECT_TRUE(lookup->Active());
    EXPECT_EQ(lookup->DataSource(), nullptr);
    EXPECT_EQ(lookup->LookupDataSource(), nullptr);
    EXPECT_EQ(lookup->ConnectionKey(), "");
    EXPECT_EQ(lookup->ConnectionResult(), "");
    EXPECT_EQ(lookup->LookupShortCut(), TextToShortCut("Ctrl+F1"));
    EXPECT_TRUE(lookup->NullOnKeyNotFound());
    EXPECT_TRUE(lookup->ErrorOnKeyNotFound());
    EXPECT_FALSE(lookup->GetLookupFormClass() || lookup->OnSyncLookupDataSource() || lookup->BeforeLookup() ||
                 lookup->AfterLookup() || lookup->OnLookupError());

    TLookupDialog* dialog = lookup->Dialog();
    TLookupFill* fill = lookup->Fill();
    ASSERT_TRUE(dialog && fill);
    EXPECT_EQ(dialog->Owner(), lookup);
    EXPECT_EQ(fill->Owner(), lookup);
    EXPECT_EQ(lookup->ComponentCount(), 2);
    EXPECT_EQ(lookup->ComponentIndex(), Form->ComponentCount() - 1) << "the smart lookup itself sits on the form";
    for (TComponent* inner : {static_cast<TComponent*>(dialog), static_cast<TComponent*>(fill)})
        EXPECT_EQ(Form->FindComponent(inner->Name()), nullptr) << "the inner components are not the form's";
    EXPECT_FALSE(dialog->Active());
    EXPECT_FALSE(fill->Active());
    EXPECT_EQ(dialog->DataSource(), nullptr);
    EXPECT_EQ(fill->LookupDataSource(), nullptr);
    EXPECT_EQ(dialog->KeyFields()->Count() + fill->KeyFields()->Count() + fill->ResultFields()->Count(), 0);
    EXPECT_EQ(dialog->LookupShortCut(), lookup->LookupShortCut());

    // Freeing it frees both; the form keeps nothing of them.
    const int before = Form->ComponentCount();
    lookup->Free();
    EXPECT_EQ(Form->ComponentCount(), before - 1);
}

TEST_F(SmartTest, OnlyAFormOrNoOwnerIsAccepted) {
    Owned<TDataModule> module(TDataModule::Create(nullptr));
    EXPECT_EQ(RaisedMessage([&] { TSmartDBLookup::Create(module.get()); }),
              "TSmartDBLookup: Container must be TCustomForm.");
    EXPECT_EQ(module->ComponentCount(), 0);

    // A lookup container may own a dialog, but a smart lookup only sits on a form.
    TSmartDBLookup* onForm = TSmartDBLookup::Create(Form);
    EXPECT_EQ(RaisedMessage([&] { TSmartDBLookup::Create(onForm); }), "TSmartDBLookup: Container must be TCustomForm.");
    EXPECT_EQ(onForm->ComponentCount(), 2);

    Owned<TSmartDBLookup> loose(TSmartDBLookup::Create(nullptr));
    ASSERT_NE(loose->Dialog(), nullptr);
    EXPECT_EQ(loose->Dialog()->Owner(), loose.get());
    EXPECT_EQ(loose->Fill()->Owner(), loose.get());
}

TEST_F(SmartTest, WritersForwardAtOnceOutsideLoadingEvenWhenInactive) {
    TSmartDBLookup* lookup = TSmartDBLookup::Create(Form);
    lookup->SetActive(false);
    TLookupDialog* dialog = lookup->Dialog();
    TLookupFill* fill = lookup->Fill();

    lookup->SetDataSource(OrdersSource);
    lookup->SetLookupDataSource(CustomersSource);
    EXPECT_EQ(dialog->DataSource(), OrdersSource);
    EXPECT_EQ(fill->DataSource(), OrdersSource);
    EXPECT_EQ(dialog->LookupDataSource(), CustomersSource);
    EXPECT_EQ(fill->LookupDataSource(), CustomersSource);

    lookup->SetKeyConnection(" CustNo , CustNo ;OrderNo,Cust No");
    EXPECT_EQ(lookup->ConnectionKey(), " CustNo , CustNo ;OrderNo,Cust No") << "read back as assigned";
    EXPECT_EQ(Items(fill->KeyFields()), (Names{"CustNo", "OrderNo"}));
    EXPECT_EQ(Items(fill->LookupKeyFields()), (Names{"CustNo", "CustNo"}));
    EXPECT_EQ(Items(dialog->KeyFields()), (Names{"CustNo", "OrderNo"}));
    EXPECT_EQ(Items(dialog->LookupKeyFields()), (Names{"CustNo", "CustNo"}));
    EXPECT_NE(dialog->KeyFields(), fill->KeyFields()) << "the dialog holds copies";
    EXPECT_TRUE(fill->ResultFields()->Count() == 0 && fill->LookupResultFields()->Count() == 0);

    lookup->SetResultConnection("ShipTo,Company;City,City;");
    EXPECT_EQ(lookup->ConnectionResult(), "ShipTo,Company;City,City;");
    EXPECT_EQ(Items(fill->ResultFields()), (Names{"ShipTo", "City"}));
    EXPECT_EQ(Items(fill->LookupResultFields()), (Names{"Company", "City"}));
    EXPECT_EQ(dialog->KeyFields()->Count(), 2) << "results are the fill's alone";
    EXPECT_TRUE(ShownErrors().empty());

    // A malformed text is kept as it is; the lists it would fill are empty.
    lookup->SetKeyConnection("CustNo;CustNo");
    EXPECT_EQ(ShownErrors(), Names{"FieldPairParser: Comma expected!"});
    EXPECT_EQ(lookup->ConnectionKey(), "CustNo;CustNo");
    EXPECT_EQ(fill->KeyFields()->Count() + fill->LookupKeyFields()->Count(), 0);
    EXPECT_EQ(dialog->KeyFields()->Count() + dialog->LookupKeyFields()->Count(), 0);
    lookup->SetResultConnection("ShipTo,");
    EXPECT_EQ(ShownErrors(), Names{"FieldPairParser: PairParser: KeyField missing!"});
    EXPECT_EQ(fill->ResultFields()->Count(), 0);

    const TShortCut ctrlL = TextToShortCut("Ctrl+L");
    lookup->SetLookupShortCut(ctrlL);
    EXPECT_EQ(lookup->LookupShortCut(), ctrlL);
    EXPECT_EQ(dialog->LookupShortCut(), ctrlL);
    lookup->SetNullOnKeyNotFound(false);
    lookup->SetErrorOnKeyNotFound(false);
    EXPECT_FALSE(fill->NullOnKeyNotFound() || fill->ErrorOnKeyNotFound());
    EXPECT_FALSE(lookup->NullOnKeyNotFound() || lookup->ErrorOnKeyNotFound());

    // Nothing was switched on by any of it.
    EXPECT_FALSE(dialog->Active() || fill->Active());
}

TEST_F(SmartTest, WhileLoadingOnlyEventsPoliciesAndTheShortcutReachTheInnerComponents) {
    MakeEdit("CustEdit", "CustNo");
    TSmartDBLookup* lookup = TSmartDBLookup::Create(Form);
    TLookupDialog* dialog = lookup->Dialog();
    TLookupFill* fill = lookup->Fill();
    int befores = 0;
    {
        TLoadingSession session;
        session.Add(lookup);
        lookup->SetActive(false);  // only recorded while loading
        lookup->SetActive(true);
        lookup->SetDataSource(OrdersSource);
        lookup->SetLookupDataSource(CustomersSource);
        lookup->SetKeyConnection("CustNo,CustNo");
        lookup->SetResultConnection("ShipTo,Company;City");  // malformed: shown when activated, not now
        lookup->SetLookupShortCut(TextToShortCut("Ctrl+L"));
        lookup->SetErrorOnKeyNotFound(false);
        lookup->SetBeforeLookup([&](TLookupFill*, bool&) { ++befores; });

        EXPECT_EQ(dialog->DataSource(), nullptr);
        EXPECT_EQ(fill->DataSource(), nullptr);
        EXPECT_EQ(fill->LookupDataSource(), nullptr);
        EXPECT_EQ(fill->KeyFields()->Count() + dialog->KeyFields()->Count() + fill->ResultFields()->Count(), 0);
        EXPECT_TRUE(ShownErrors().empty());
        EXPECT_EQ(dialog->LookupShortCut(), TextToShortCut("Ctrl+L"));
        EXPECT_FALSE(fill->ErrorOnKeyNotFound());
        EXPECT_TRUE(fill->BeforeLookup.Assigned());
        EXPECT_FALSE(dialog->Active() || fill->Active());

        session.Finish();
    }
    // Loaded pushed everything and switched both on.
    EXPECT_TRUE(lookup->Active());
    EXPECT_EQ(ShownErrors(), Names{"FieldPairParser: Comma expected!"});
    EXPECT_TRUE(dialog->Active() && fill->Active());
    EXPECT_EQ(dialog->DataSource(), OrdersSource);
    EXPECT_EQ(fill->LookupDataSource(), CustomersSource);
    EXPECT_EQ(dialog->Connections()->Count(), 1);
    EXPECT_EQ(dialog->ControlsList()->Count(), 1) << "the form's CustNo edit is captured";
    EXPECT_EQ(fill->KeyLinks()->Count(), 1);
    EXPECT_EQ(fill->ResultLinks()->Count(), 0) << "the malformed results gave no result links";

    Orders->Edit();
    Orders->FieldByName("CustNo")->SetValue("AB100");
    EXPECT_EQ(befores, 1);
}

TEST_F(SmartTest, LoadedInactiveLeavesTheInnerComponentsWithoutSourcesAndLists) {
    TSmartDBLookup* lookup = TSmartDBLookup::Create(Form);
    {
        TLoadingSession session;
        session.Add(lookup);
        lookup->SetActive(false);
        lookup->SetDataSource(OrdersSource);
        lookup->SetLookupDataSource(CustomersSource);
        lookup->SetKeyConnection("CustNo,CustNo");
        session.Finish();
    }
    EXPECT_FALSE(lookup->Active());
    EXPECT_EQ(lookup->DataSource(), OrdersSource);
    EXPECT_EQ(lookup->Dialog()->DataSource(), nullptr);
    EXPECT_EQ(lookup->Fill()->LookupDataSource(), nullptr);
    EXPECT_EQ(lookup->Fill()->KeyFields()->Count() + lookup->Dialog()->KeyFields()->Count(), 0);

    // Switched on, it pushes what it kept.
    lookup->SetActive(true);
    EXPECT_EQ(lookup->Dialog()->DataSource(), OrdersSource);
    EXPECT_EQ(lookup->Fill()->LookupDataSource(), CustomersSource);
    EXPECT_EQ(lookup->Dialog()->Connections()->Count(), 1);
    EXPECT_EQ(lookup->Fill()->KeyLinks()->Count(), 1);
}

TEST_F(SmartTest, ActivationSwitchesTheDialogOnBeforeTheFill) {
    // The fill cannot link a result field the orders do not have: the dialog,
    // switched on first, is on; the fill is not; the error goes on.
    TSmartDBLookup* lookup = MakeSmart("CustNo,CustNo", "Nope,Company");
    lookup->SetActive(false);
    const std::string raised = RaisedMessage([&] { lookup->SetActive(true); });
    EXPECT_NE(raised.find("Nope"), std::string::npos) << raised;
    EXPECT_FALSE(lookup->Active()) << "Active keeps its value when activation fails";
    EXPECT_TRUE(lookup->Dialog()->Active());
    EXPECT_EQ(lookup->Dialog()->Connections()->Count(), 1);
    EXPECT_FALSE(lookup->Fill()->Active());

    // Mended, the next activation pushes the new text and switches the fill on.
    lookup->SetResultConnection("ShipTo,Company");
    lookup->SetActive(true);
    EXPECT_TRUE(lookup->Active() && lookup->Fill()->Active());
    EXPECT_EQ(lookup->Fill()->ResultLinks()->Count(), 1);
}

TEST_F(SmartTest, DeactivationSwitchesTheDialogOffBeforeTheFill) {
    TDBEdit* edit = MakeEdit("CustEdit", "CustNo");
    Form->Show();
    TSmartDBLookup* lookup = ActiveSmart();
    edit->SetFocus();
    TLookupButton* button = lookup->Dialog()->ControlsList()->Links(0)->Button();
    ASSERT_NE(button, nullptr) << "the focused key edit shows the lookup button";

    // The button goes when the dialog lets go of the edit; the fill's links
    // must still be there at that moment.
    int fillLinksWhenTheButtonWent = -1;
    Owned<TEndWatch> watch(TEndWatch::Create(nullptr));
    watch->FreeNotification(button);
    watch->OnEnd = [&] { fillLinksWhenTheButtonWent = lookup->Fill()->KeyLinks()->Count(); };
    lookup->SetActive(false);
    EXPECT_EQ(fillLinksWhenTheButtonWent, 1);

    EXPECT_FALSE(lookup->Active() || lookup->Dialog()->Active() || lookup->Fill()->Active());
    EXPECT_EQ(lookup->Dialog()->ControlsList()->Count(), 0);
    EXPECT_EQ(lookup->Dialog()->Connections()->Count(), 0);
    EXPECT_EQ(lookup->Fill()->KeyLinks()->Count() + lookup->Fill()->ResultLinks()->Count(), 0);
    // Sources and lists stay with the inner components.
    EXPECT_EQ(lookup->Dialog()->DataSource(), OrdersSource);
    EXPECT_EQ(lookup->Fill()->ResultFields()->Count(), 2);
}

TEST_F(SmartTest, OnlySwitchingOffAndOnReparsesAndRelinks) {
    TSmartDBLookup* lookup = ActiveSmart();
    TLookupFill* fill = lookup->Fill();
    TLookupDialog* dialog = lookup->Dialog();

    // Already on: nothing is pushed or parsed again.
    fill->KeyFields()->Clear();
    dialog->LookupKeyFields()->Clear();
    lookup->SetActive(true);
    EXPECT_EQ(fill->KeyFields()->Count() + dialog->LookupKeyFields()->Count(), 0);
    EXPECT_EQ(fill->KeyLinks()->Count(), 1) << "and nothing relinked";

    // A text assigned while on replaces the lists at once, the links later.
    lookup->SetKeyConnection("CustNo,CustNo;OrderNo,City");
    EXPECT_EQ(Items(fill->KeyFields()), (Names{"CustNo", "OrderNo"}));
    EXPECT_EQ(Items(dialog->LookupKeyFields()), (Names{"CustNo", "City"}));
    EXPECT_EQ(fill->KeyLinks()->Count(), 1);
    EXPECT_EQ(dialog->Connections()->Count(), 1);

    fill->KeyFields()->Clear();
    fill->ResultFields()->Clear();
    lookup->SetActive(false);
    lookup->SetActive(true);
    EXPECT_EQ(Items(fill->KeyFields()), (Names{"CustNo", "OrderNo"})) << "parsed again";
    EXPECT_EQ(fill->ResultFields()->Count(), 2);
    EXPECT_EQ(fill->KeyLinks()->Count(), 2);
    EXPECT_EQ(fill->ResultLinks()->Count(), 2);
    EXPECT_EQ(dialog->Connections()->Count(), 2);

    // A malformed text shows its message each time it is parsed, and only then.
    lookup->SetResultConnection("ShipTo Company");
    EXPECT_EQ(ShownErrors().size(), 1u);
    lookup->SetActive(true);
    EXPECT_TRUE(ShownErrors().empty());
    lookup->SetActive(false);
    EXPECT_TRUE(ShownErrors().empty());
    lookup->SetActive(true);
    EXPECT_EQ(ShownErrors(), Names{"FieldPairParser: Comma expected!"});
    EXPECT_EQ(fill->ResultLinks()->Count(), 0);
    EXPECT_TRUE(fill->Active()) << "activation goes on with empty lists";
}

TEST_F(SmartTest, InTheDesignerActiveOnlyRecordsAndTheWritersStillForward) {
    Form->SetDesigning(true);
    TSmartDBLookup* lookup = TSmartDBLookup::Create(Form);
    EXPECT_TRUE(lookup->Dialog()->ComponentState().Contains(csDesigning));
    lookup->SetActive(false);
    lookup->SetActive(true);
    lookup->SetDataSource(OrdersSource);
    lookup->SetLookupDataSource(CustomersSource);
    lookup->SetKeyConnection("CustNo");
    EXPECT_EQ(ShownErrors(), Names{"FieldPairParser: Comma expected!"}) << "parsed at once, in the designer too";
    lookup->SetKeyConnection("CustNo,CustNo");
    EXPECT_EQ(lookup->Dialog()->DataSource(), OrdersSource);
    EXPECT_EQ(lookup->Fill()->KeyFields()->Count(), 1);
    lookup->SetActive(false);
    lookup->SetActive(true);
    EXPECT_FALSE(lookup->Dialog()->Active() || lookup->Fill()->Active());
    EXPECT_EQ(lookup->Dialog()->Connections()->Count() + lookup->Fill()->KeyLinks()->Count(), 0);
}

TEST_F(SmartTest, ADataSourceThatGoesIsForgottenEverywhere) {
    TSmartDBLookup* lookup = ActiveSmart();
    CustomersSource->Free();
    EXPECT_EQ(lookup->LookupDataSource(), nullptr);
    EXPECT_EQ(lookup->Dialog()->LookupDataSource(), nullptr);
    EXPECT_EQ(lookup->Fill()->LookupDataSource(), nullptr);
    EXPECT_TRUE(lookup->Active() && lookup->Dialog()->Active());
    EXPECT_EQ(lookup->Dialog()->Connections()->Count(), 0);

    // Switched off and on, nothing gone is pushed.
    lookup->SetActive(false);
    lookup->SetActive(true);
    OrdersSource->Free();
    EXPECT_EQ(lookup->DataSource(), nullptr);
    EXPECT_EQ(lookup->Dialog()->DataSource(), nullptr);
    EXPECT_EQ(lookup->Fill()->DataSource(), nullptr);
}

TEST_F(SmartTest, ASourceKeptOnlyByTheSmartLookupIsForgottenToo) {
    // Read inactive, the inner components never got the sources: only the
    // smart lookup's own notice can clear its references.
    TSmartDBLookup* lookup = TSmartDBLookup::Create(Form);
    {
        TLoadingSession session;
        session.Add(lookup);
        lookup->SetActive(false);
        lookup->SetDataSource(OrdersSource);
        lookup->SetLookupDataSource(OrdersSource);
        session.Finish();
    }
    lookup->SetDataSource(CustomersSource);
    OrdersSource->Free();
    EXPECT_EQ(lookup->LookupDataSource(), nullptr) << "still watched for the reference left";
    EXPECT_EQ(lookup->DataSource(), CustomersSource);
    lookup->SetActive(true);
    EXPECT_EQ(lookup->Dialog()->LookupDataSource(), nullptr);
    EXPECT_EQ(lookup->Dialog()->DataSource(), CustomersSource);

}

TEST_F(SmartTest, TheFormMayFreeSourcesAndSmartLookupInAnyOrder) {
    // Sources made after the smart lookup go first when the form goes, and
    // the other way round; each component left must be clean (the sanitizer
    // run checks the rest).
    for (bool sourcesFirst : {true, false}) {
        TForm* form = TForm::Create(nullptr);
        auto source = [&](TDataSet* set) {
            TDataSource* s = TDataSource::Create(form);
            s->SetDataSet(set);
            return s;
        };
        TDataSource *orders = nullptr, *customers = nullptr;
        if (!sourcesFirst) {
            orders = source(Orders);
            customers = source(Customers);
        }
        TSmartDBLookup* lookup = TSmartDBLookup::Create(form);
        if (sourcesFirst) {
            orders = source(Orders);
            customers = source(Customers);
        }
        lookup->SetKeyConnection("CustNo,CustNo");
        lookup->SetDataSource(orders);
        lookup->SetLookupDataSource(customers);
        lookup->SetActive(false);
        lookup->SetActive(true);
        ASSERT_EQ(lookup->Fill()->KeyLinks()->Count(), 1);
        form->Free();
    }

    // By hand: the smart lookup first, then the sources; its inner links
    // leave the sources with it.
    const int ordersLinks = OrdersSource->DataLinkCount();
    const int customersLinks = CustomersSource->DataLinkCount();
    TSmartDBLookup* lookup = ActiveSmart();
    EXPECT_GT(OrdersSource->DataLinkCount(), ordersLinks);
    EXPECT_GT(CustomersSource->DataLinkCount(), customersLinks);
    lookup->Free();
    EXPECT_EQ(OrdersSource->DataLinkCount(), ordersLinks);
    EXPECT_EQ(CustomersSource->DataLinkCount(), customersLinks);
    OrdersSource->Free();
    CustomersSource->Free();
}

} // namespace
} // namespace smart
