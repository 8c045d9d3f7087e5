// Configuration, activation and the key-field links of the fill.

#include "FillFixture.h"

using namespace host;

namespace veskar::testing {
namespace {

TEST_F(FillTest, NewFillHasItsDefaultsAndNoLinks) {
    TLookupFill* fill = TLookupFill::Create(Module);
    EXPECT_TRUE(fill->Active());
    EXPECT_TRUE(fill->NullOnKeyNotFound());
    EXPECT_TRUE(fill->ErrorOnKeyNotFound());
    EXPECT_FALSE(fill->InLookup());
    EXPECT_EQ(fill->DataSource(), nullptr);
    EXPECT_EQ(fill->LookupDataSource(), nullptr);
    EXPECT_EQ(fill->KeyFields()->Count() + fill->LookupKeyFields()->Count() + fill->ResultFields()->Count() +
                  fill->LookupResultFields()->Count(),
              0);
    EXPECT_EQ(fill->KeyLinks()->Count(), 0);
    EXPECT_EQ(fill->ResultLinks()->Count(), 0);
    EXPECT_FALSE(fill->BeforeLookup.Assigned());
    EXPECT_FALSE(fill->AfterLookup.Assigned());
    EXPECT_FALSE(fill->OnLookupError.Assigned());
    EXPECT_EQ(fill->Owner(), Module);
}

TEST_F(FillTest, LinksAreBuiltOnlyOnceBothSourcesAreSet) {
    TLookupFill* fill = TLookupFill::Create(Module);
    Configure(fill);
    fill->SetActive(false);
    fill->SetDataSource(OrdersSource);
    fill->SetActive(true);
    EXPECT_TRUE(fill->Active());
    EXPECT_EQ(fill->KeyLinks()->Count(), 0);

    fill->SetLookupDataSource(CustomersSource);
    ASSERT_EQ(fill->KeyLinks()->Count(), 1);
    ASSERT_EQ(fill->ResultLinks()->Count(), 2);
    TKeyFieldDataLink* key = fill->KeyLink(0);
    EXPECT_EQ(key->DataSource(), OrdersSource);
    EXPECT_EQ(key->FieldName(), "CustNo");
    EXPECT_EQ(key->Field(), Field("CustNo"));
    EXPECT_TRUE(key->OnFieldChange.Assigned());
    EXPECT_TRUE(key->OnActiveChange.Assigned());
    EXPECT_FALSE(key->VisualControl());
    EXPECT_TRUE(key->NotifyEnabled);
    for (int n = 0; n < 2; ++n) {
        TKeyFieldDataLink* result = fill->ResultLink(n);
        EXPECT_EQ(result->DataSource(), OrdersSource);
        EXPECT_FALSE(result->OnFieldChange.Assigned());
        EXPECT_FALSE(result->OnActiveChange.Assigned());
    }
    EXPECT_EQ(fill->ResultLink(1)->Field(), Field("City"));
    EXPECT_TRUE(fill->KeyLinks()->Items(0)->InheritsFrom(TKeyLinkItem::ClassInfo()));
}

TEST_F(FillTest, OnlyTheFirstKeyLinkWatchesActivation) {
    TLookupFill* fill = TLookupFill::Create(Module);
    Configure(fill);
    fill->KeyFields()->SetCommaText("OrderNo,CustNo");
    fill->LookupKeyFields()->SetCommaText("CustNo,Company");
    fill->SetDataSource(OrdersSource);
    fill->SetLookupDataSource(CustomersSource);
    ASSERT_EQ(fill->KeyLinks()->Count(), 2);
    EXPECT_TRUE(fill->KeyLink(0)->OnActiveChange.Assigned());
    EXPECT_FALSE(fill->KeyLink(1)->OnActiveChange.Assigned());
    EXPECT_TRUE(fill->KeyLink(1)->OnFieldChange.Assigned());
}

TEST_F(FillTest, MismatchedListsRefuseToLink) {
    TLookupFill* fill = TLookupFill::Create(Module);
    Configure(fill);
    fill->KeyFields()->SetCommaText("OrderNo,CustNo");
    fill->SetActive(false);
    fill->SetDataSource(OrdersSource);
    fill->SetLookupDataSource(CustomersSource);
    EXPECT_EQ(RaisedMessage([&] { fill->SetActive(true); }), "TLookupFill: Key fields doesn't match.");
    EXPECT_FALSE(fill->Active());
    EXPECT_EQ(fill->KeyLinks()->Count(), 0);

    fill->KeyFields()->SetCommaText("CustNo");
    fill->ResultFields()->SetCommaText("Name");
    EXPECT_EQ(RaisedMessage([&] { fill->SetActive(true); }), "TLookupFill: Result fields doesn't match.");
    EXPECT_FALSE(fill->Active());
    EXPECT_EQ(fill->KeyLinks()->Count(), 0);

    // Raised through a data-source writer: the new source is stored, the
    // fill is left inactive.
    fill->ResultFields()->SetCommaText("Name,City");
    fill->SetActive(true);
    ASSERT_TRUE(fill->Active());
    fill->ResultFields()->SetCommaText("Name");
    TDataSource* other = TDataSource::Create(Module);
    other->SetDataSet(Orders);
    EXPECT_EQ(RaisedMessage([&] { fill->SetDataSource(other); }), "TLookupFill: Result fields doesn't match.");
    EXPECT_EQ(fill->DataSource(), other);
    EXPECT_FALSE(fill->Active());
}

TEST_F(FillTest, UnknownDestinationFieldPassesThroughAndKeepsEarlierLinks) {
    TLookupFill* fill = TLookupFill::Create(Module);
    Configure(fill);
    fill->ResultFields()->SetCommaText("Name,Nowhere");
    fill->SetDataSource(OrdersSource);
    EXPECT_EQ(RaisedMessage([&] { fill->SetLookupDataSource(CustomersSource); }),
              "Orders: Field 'Nowhere' not found");
    EXPECT_EQ(fill->KeyLinks()->Count(), 1);
    EXPECT_EQ(fill->ResultLinks()->Count(), 2);
    EXPECT_EQ(fill->ResultLink(1)->Field(), nullptr);
    EXPECT_FALSE(fill->Active());
}

TEST_F(FillTest, SettingTheSameSourceDoesNotRebuildButANewOneDoes) {
    auto* fill = MakeFill<TCountingFill>();
    const int creates = fill->Creates;
    fill->SetDataSource(OrdersSource);
    fill->SetLookupDataSource(CustomersSource);
    EXPECT_EQ(fill->Creates, creates);

    TDataSource* other = TDataSource::Create(Module);
    other->SetDataSet(Customers);
    fill->SetLookupDataSource(other);
    EXPECT_EQ(fill->Creates, creates + 1);
    EXPECT_EQ(fill->KeyLinks()->Count(), 1);

    // An inactive fill only stores the new reference.
    fill->SetActive(false);
    const int after = fill->Creates;
    fill->SetLookupDataSource(CustomersSource);
    EXPECT_EQ(fill->Creates, after);
    EXPECT_EQ(fill->LookupDataSource(), CustomersSource);
    EXPECT_EQ(fill->KeyLinks()->Count(), 0);
}

TEST_F(FillTest, FieldListsAreCopiedAndTakeEffectAtTheNextRebuild) {
    TLookupFill* fill = MakeFill();
    TStrings* ownList = fill->ResultFields();
    Owned<TStringList> given(TStringList::Create());
    given->SetCommaText("City");
    fill->SetResultFields(given.get());
    fill->SetLookupResultFields(given.get());
    EXPECT_EQ(fill->ResultFields(), ownList);
    EXPECT_EQ(fill->ResultFields()->CommaText(), "City");
    given->SetCommaText("Other");
    EXPECT_EQ(fill->ResultFields()->CommaText(), "City");
    EXPECT_EQ(fill->ResultLinks()->Count(), 2);

    fill->SetActive(false);
    fill->SetActive(true);
    ASSERT_EQ(fill->ResultLinks()->Count(), 1);
    EXPECT_EQ(fill->ResultLink(0)->FieldName(), "City");
}

TEST_F(FillTest, DesignerAndLoadingOnlyRecordTheRequest) {
    Module->SetDesigning(true);
    auto* designed = TCountingFill::Create(Module);
    EXPECT_TRUE(designed->ComponentState().Contains(csDesigning));
    Configure(designed);
    designed->SetDataSource(OrdersSource);
    designed->SetLookupDataSource(CustomersSource);
    designed->SetActive(false);
    designed->SetActive(true);
    EXPECT_EQ(designed->Creates, 0);
    {
        TLoadingSession session;
        session.Add(designed);
        session.Finish();
    }
    EXPECT_EQ(designed->KeyLinks()->Count(), 0);
    EXPECT_TRUE(designed->Active());
    Module->SetDesigning(false);

    auto* loaded = TCountingFill::Create(Module);
    TLoadingSession session;
    session.Add(loaded);
    loaded->SetActive(false);
    Configure(loaded);
    loaded->SetDataSource(OrdersSource);
    loaded->SetLookupDataSource(CustomersSource);
    loaded->SetActive(true);
    EXPECT_EQ(loaded->Creates, 0);
    EXPECT_EQ(loaded->Destroys, 0);
    session.Finish();
    EXPECT_FALSE(loaded->ComponentState().Contains(csLoading));
    EXPECT_EQ(loaded->KeyLinks()->Count(), 1);
    EXPECT_EQ(loaded->ResultLinks()->Count(), 2);

    // Stored inactive: Loaded builds nothing.
    auto* stored = TCountingFill::Create(Module);
    TLoadingSession second;
    second.Add(stored);
    Configure(stored);
    stored->SetActive(false);
    stored->SetDataSource(OrdersSource);
    stored->SetLookupDataSource(CustomersSource);
    second.Finish();
    EXPECT_EQ(stored->Creates, 0);
    EXPECT_FALSE(stored->Active());
}

TEST_F(FillTest, LoadedWithMismatchedListsRaisesAndLeavesTheFillInactive) {
    TLookupFill* fill = TLookupFill::Create(Module);
    TLoadingSession session;
    session.Add(fill);
    Configure(fill);
    fill->LookupKeyFields()->SetCommaText("CustNo,City");
    fill->SetDataSource(OrdersSource);
    fill->SetLookupDataSource(CustomersSource);
    EXPECT_EQ(RaisedMessage([&] { session.Finish(); }), "TLookupFill: Key fields doesn't match.");
    EXPECT_FALSE(fill->Active());
}

TEST_F(FillTest, ActiveChangedActsOnlyForTheDestinationSource) {
    auto* fill = MakeFill<TCountingFill>();
    const int creates = fill->Creates, destroys = fill->Destroys;
    fill->ActiveChanged(CustomersSource);
    fill->ActiveChanged(fill->KeyLink(0));
    fill->ActiveChanged(nullptr);
    EXPECT_EQ(fill->Creates, creates);
    EXPECT_EQ(fill->Destroys, destroys);

    fill->ActiveChanged(OrdersSource);
    EXPECT_EQ(fill->Creates, creates + 1);
    EXPECT_EQ(fill->KeyLinks()->Count(), 1);

    Orders->Close();
    fill->ActiveChanged(OrdersSource);
    EXPECT_EQ(fill->KeyLinks()->Count(), 0);
    EXPECT_TRUE(fill->Active());
}

TEST_F(FillTest, ReopeningTheDestinationKeepsTheLinksAndResolvesTheirFields) {
    auto* fill = MakeFill<TCountingFill>();
    const int creates = fill->Creates;
    Orders->Close();
    ASSERT_EQ(fill->KeyLinks()->Count(), 1);
    EXPECT_EQ(fill->KeyLink(0)->Field(), nullptr);
    Orders->Open();
    EXPECT_EQ(fill->Creates, creates);
    EXPECT_EQ(fill->KeyLink(0)->Field(), Field("CustNo"));
    EXPECT_EQ(fill->ResultLink(0)->Field(), Field("Name"));

    Orders->Edit();
    Field("CustNo")->SetValue(1231);
    EXPECT_EQ(Value("Name"), Variant("Unisco"));
}

TEST_F(FillTest, OnlyAKeyChangeWithEveryKeySetStartsALookup) {
    auto* fill = TCountingFill::Create(Module);
    Configure(fill);
    fill->KeyFields()->SetCommaText("CustNo,OrderNo");
    fill->LookupKeyFields()->SetCommaText("CustNo,CustNo");
    fill->SetDataSource(OrdersSource);
    fill->SetLookupDataSource(CustomersSource);
    Orders->Edit();
    Field("OrderNo")->Clear();
    Field("CustNo")->SetValue(1221);
    EXPECT_EQ(fill->Lookups, 0) << "another key field is null";
    Field("Name")->SetValue("typed");
    EXPECT_EQ(fill->Lookups, 0) << "a result-only field changed";
    Field("OrderNo")->SetValue(1221);
    EXPECT_EQ(fill->Lookups, 1);
    EXPECT_EQ(Value("Name"), Variant("Kauai Dive Shoppe"));
}

TEST_F(FillTest, AKeyLinkWithoutAFieldStartsNoLookup) {
    auto* fill = MakeFill<TCountingFill>();
    Orders->Edit();
    Field("CustNo")->SetValue(1221);
    ASSERT_EQ(fill->Lookups, 1);
    fill->KeyLink(0)->SetDataSource(nullptr);
    EXPECT_EQ(fill->KeyLink(0)->Field(), nullptr);
    fill->KeyFieldChange(fill->KeyLink(0));
    EXPECT_EQ(fill->Lookups, 1);

    // No key links at all: nothing to test, no lookup.
    fill->DestroyFieldLinks();
    fill->KeyFieldChange(nullptr);
    EXPECT_EQ(fill->Lookups, 1);
}

TEST_F(FillTest, KeyNamesAreComparedWithLetterCase) {
    auto* fill = TCountingFill::Create(Module);
    Configure(fill);
    fill->KeyFields()->SetCommaText("custno");
    fill->SetDataSource(OrdersSource);
    fill->SetLookupDataSource(CustomersSource);
    ASSERT_EQ(fill->KeyLink(0)->Field(), Field("CustNo")) << "the host finds the field ignoring case";
    Orders->Edit();
    Field("CustNo")->SetValue(1221);
    EXPECT_EQ(fill->Lookups, 0);
}

TEST_F(FillTest, ALookupWritingItsOwnKeyFieldDoesNotNest) {
    auto* fill = TCountingFill::Create(Module);
    Configure(fill);
    // The key field is also a result field: CustNo comes back from the lookup.
    fill->ResultFields()->SetCommaText("CustNo,Name");
    fill->LookupResultFields()->SetCommaText("CustNo,Company");
    fill->SetDataSource(OrdersSource);
    fill->SetLookupDataSource(CustomersSource);
    bool sawInLookup = false;
    fill->AfterLookup = [&](TLookupFill* sender, bool&) { sawInLookup = sender->InLookup(); };
    Orders->Edit();
    Field("CustNo")->SetValue(1351);
    EXPECT_EQ(fill->Lookups, 1);
    EXPECT_TRUE(sawInLookup);
    EXPECT_FALSE(fill->InLookup());
    EXPECT_EQ(Value("Name"), Variant("Sight Diver"));
}

TEST_F(FillTest, DestructionRunsTheDescendantsDestroyFieldLinks) {
    int destroysAtEnd = 0;
    auto* fill = MakeFill<TCountingFill>();
    fill->DestroysAtEnd = &destroysAtEnd;
    fill->Free();
    EXPECT_EQ(destroysAtEnd, 1);
    // The links went with the fill: a key change reaches nobody.
    Orders->Edit();
    Field("CustNo")->SetValue(1221);
    EXPECT_EQ(Value("Name"), Variant(""));
}

TEST_F(FillTest, ADestroyedDataSourceIsDroppedAsIfCleared) {
    TLookupFill* fill = MakeFill();
    CustomersSource->Free();
    EXPECT_EQ(fill->LookupDataSource(), nullptr);
    EXPECT_TRUE(fill->Active());
    EXPECT_EQ(fill->KeyLinks()->Count(), 0);
    OrdersSource->Free();
    EXPECT_EQ(fill->DataSource(), nullptr);

    // A source still used by the other reference stays watched.
    TDataSource* both = TDataSource::Create(Module);
    both->SetDataSet(Orders);
    fill->SetDataSource(both);
    fill->SetLookupDataSource(both);
    TDataSource* other = TDataSource::Create(Module);
    fill->SetDataSource(other);
    both->Free();
    EXPECT_EQ(fill->LookupDataSource(), nullptr);
    EXPECT_EQ(fill->DataSource(), other);
}

TEST_F(FillTest, RebuildingFromInsideALinksNoticeIsSafe) {
    auto* fill = MakeFill<TCountingFill>();
    int rebuilds = 0;
    // Rebuilding frees the key link whose change notice is running.
    fill->BeforeLookup = [&](TLookupFill* sender, bool&) {
        if (rebuilds++ == 0) sender->CreateFieldLinks();
    };
    Orders->Edit();
    Field("CustNo")->SetValue(1221);
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(Value("Name"), Variant("Kauai Dive Shoppe"));
    ASSERT_EQ(fill->KeyLinks()->Count(), 1);
    // The new links work.
    Field("CustNo")->SetValue(1231);
    EXPECT_EQ(Value("City"), Variant("Freeport"));
    EXPECT_EQ(fill->Lookups, 2);

    // Deactivating from inside the notice works too.
    fill->BeforeLookup = [&](TLookupFill* sender, bool& go) {
        sender->SetActive(false);
        go = false;
    };
    Field("CustNo")->SetValue(1351);
    EXPECT_FALSE(fill->Active());
    EXPECT_EQ(fill->KeyLinks()->Count(), 0);
}

} // namespace
} // namespace veskar::testing
