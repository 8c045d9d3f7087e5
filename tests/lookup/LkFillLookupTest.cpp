// DoLookup: what it asks of the lookup dataset, what it writes, and its
// policies and events.

#include "FillFixture.h"

using namespace host;

namespace veskar::testing {
namespace {

class LookupTest : public FillTest {
protected:
    void SetUp() override {
        FillTest::SetUp();
        Fill = MakeFill<TCountingFill>();
        Orders->Edit();
    }
    void TypeCustNo(const Variant& value) { Field("CustNo")->SetValue(value); }

    TCountingFill* Fill = nullptr;
};

TEST_F(LookupTest, AKeyChangeFillsTheResultFields) {
    TypeCustNo(1231);
    EXPECT_EQ(Value("Name"), Variant("Unisco"));
    EXPECT_EQ(Value("City"), Variant("Freeport"));
    TypeCustNo(1221);
    EXPECT_EQ(Value("Name"), Variant("Kauai Dive Shoppe"));
    EXPECT_EQ(Value("City"), Variant("Kapaa"));
    EXPECT_EQ(Orders->State(), dsEdit);
    EXPECT_EQ(Customers->RecNo(), 1) << "the lookup does not move the lookup cursor";
}

TEST_F(LookupTest, WhatTheLookupDatasetIsAsked) {
    Fill->LookupResultFields()->SetCommaText("Company,City");
    TypeCustNo(1231);
    ASSERT_EQ(Customers->Calls.size(), 1u);
    EXPECT_EQ(Customers->Calls[0].KeyFields, "CustNo");
    EXPECT_EQ(Customers->Calls[0].ResultFields, "Company;City");
    EXPECT_FALSE(VarIsArray(Customers->Calls[0].KeyValues)) << "one key goes as the value itself";
    EXPECT_EQ(Customers->Calls[0].KeyValues, Variant(1231));

    // Two keys go as an array in link order; names are joined with ";" only.
    Fill->KeyFields()->SetCommaText("CustNo,City");
    Fill->LookupKeyFields()->SetCommaText("CustNo,City");
    Fill->ResultFields()->SetCommaText("Name");
    Fill->LookupResultFields()->SetCommaText("Company");
    Fill->CreateFieldLinks();
    Fill->SetErrorOnKeyNotFound(false);
    Field("City")->SetValue("Kapaa");
    Customers->Calls.clear();
    TypeCustNo(1221);
    ASSERT_EQ(Customers->Calls.size(), 1u);
    const Variant& keys = Customers->Calls[0].KeyValues;
    EXPECT_EQ(Customers->Calls[0].KeyFields, "CustNo;City");
    ASSERT_TRUE(VarIsArray(keys));
    EXPECT_EQ(VarArrayLowBound(keys, 1), 0);
    EXPECT_EQ(VarArrayHighBound(keys, 1), 1);
    EXPECT_EQ(keys[0], Variant(1221));
    EXPECT_EQ(keys[1], Variant("Kapaa"));
    EXPECT_EQ(Value("Name"), Variant("Kauai Dive Shoppe"));
}

TEST_F(LookupTest, RenamedLookupFieldsApplyAtOnceButRecountedOnesFail) {
    Fill->LookupResultFields()->SetCommaText("City,Company");
    TypeCustNo(1231);
    EXPECT_EQ(Value("Name"), Variant("Freeport"));
    EXPECT_EQ(Value("City"), Variant("Unisco"));

    Fill->LookupResultFields()->SetCommaText("Company");
    EXPECT_EQ(RaisedMessage([&] { TypeCustNo(1221); }), "Rsult field number mismatch.");
    Fill->LookupResultFields()->SetCommaText("Company,City");
    Fill->KeyFields()->SetCommaText("CustNo,OrderNo");
    EXPECT_EQ(RaisedMessage([&] { Fill->DoLookup(); }), "Key field number mismatch.");
    EXPECT_FALSE(Fill->InLookup());
    Fill->KeyFields()->SetCommaText("CustNo");
    Fill->CreateFieldLinks();
    TypeCustNo(1351);
    EXPECT_EQ(Value("Name"), Variant("Sight Diver"));
}

TEST_F(LookupTest, EveryChangeOfTheLookupListsReachesTheNextLookup) {
    TypeCustNo(1231);
    EXPECT_EQ(Customers->Calls.back().ResultFields, "Company;City");
    // An item replaced, then lists changed inside an update that has not
    // ended yet, then the update ended: each lookup asks with the lists as
    // they are.
    Fill->LookupResultFields()->Put(0, "City");
    TypeCustNo(1221);
    EXPECT_EQ(Customers->Calls.back().ResultFields, "City;City");
    EXPECT_EQ(Value("Name"), Variant("Kapaa"));

    Fill->LookupResultFields()->BeginUpdate();
    Fill->LookupResultFields()->Put(1, "Company");
    TypeCustNo(1231);
    EXPECT_EQ(Customers->Calls.back().ResultFields, "City;Company");
    Fill->LookupResultFields()->Put(0, "Company");
    TypeCustNo(1221);
    EXPECT_EQ(Customers->Calls.back().ResultFields, "Company;Company");
    Fill->LookupResultFields()->EndUpdate();
    Fill->LookupKeyFields()->Put(0, "custno");
    TypeCustNo(1351);
    EXPECT_EQ(Customers->Calls.back().KeyFields, "custno");
    EXPECT_EQ(Customers->Calls.back().ResultFields, "Company;Company");
    EXPECT_EQ(Value("City"), Variant("Sight Diver"));

    // Lists taken from elsewhere as a whole.
    Owned<TStringList> names(TStringList::Create());
    names->SetCommaText("City,Company");
    Fill->SetLookupResultFields(names.get());
    TypeCustNo(1231);
    EXPECT_EQ(Customers->Calls.back().ResultFields, "City;Company");
    EXPECT_EQ(Value("Name"), Variant("Freeport"));
}

TEST_F(LookupTest, AClosedLookupDatasetIsOpenedAndStaysOpen) {
    Customers->Close();
    TypeCustNo(1231);
    EXPECT_TRUE(Customers->Active());
    EXPECT_EQ(Value("Name"), Variant("Unisco"));
}

TEST_F(LookupTest, BeforeLookupCanCancelAndAfterLookupHearsIt) {
    std::vector<std::string> events;
    Fill->BeforeLookup = [&](TLookupFill* sender, bool& go) {
        EXPECT_EQ(sender, Fill);
        EXPECT_TRUE(go);
        EXPECT_TRUE(sender->InLookup());
        events.push_back("before");
        go = false;
    };
    Fill->AfterLookup = [&](TLookupFill*, bool& go) { events.push_back(go ? "after:true" : "after:false"); };
    TypeCustNo(1231);
    EXPECT_EQ(events, (std::vector<std::string>{"before", "after:false"}));
    EXPECT_TRUE(Customers->Calls.empty());
    EXPECT_EQ(Value("Name"), Variant(""));
}

TEST_F(LookupTest, NotFoundWithBothPoliciesClearsAndRaises) {
    TypeCustNo(1231);
    bool after = false;
    Fill->AfterLookup = [&](TLookupFill*, bool&) { after = true; };
    EXPECT_EQ(RaisedMessage([&] { TypeCustNo(9999); }), "TLookupFill: Key not found");
    EXPECT_TRUE(Value("Name").IsNull());
    EXPECT_TRUE(Value("City").IsNull());
    EXPECT_EQ(Value("CustNo"), Variant(9999)) << "the key that started it stays";
    EXPECT_FALSE(after);
    EXPECT_FALSE(Fill->InLookup());
}

TEST_F(LookupTest, TheErrorEventReplacesTheException) {
    TypeCustNo(1231);
    std::vector<int> codes;
    Fill->OnLookupError = [&](TLookupFill* sender, int code) {
        EXPECT_TRUE(sender->InLookup());
        EXPECT_TRUE(sender->ResultLink(0)->Field()->IsNull()) << "cleared before the event";
        codes.push_back(code);
    };
    EXPECT_EQ(RaisedMessage([&] { TypeCustNo(9999); }), "");
    EXPECT_EQ(codes, std::vector<int>{1});
}

TEST_F(LookupTest, NotFoundPoliciesCombine) {
    TypeCustNo(1231);
    Fill->SetNullOnKeyNotFound(false);
    EXPECT_EQ(RaisedMessage([&] { TypeCustNo(9999); }), "TLookupFill: Key not found");
    EXPECT_EQ(Value("Name"), Variant("Unisco")) << "kept without the null policy";

    Fill->SetErrorOnKeyNotFound(false);
    EXPECT_EQ(RaisedMessage([&] { TypeCustNo(9998); }), "");
    EXPECT_EQ(Value("Name"), Variant("Unisco"));

    Fill->SetNullOnKeyNotFound(true);
    EXPECT_EQ(RaisedMessage([&] { TypeCustNo(9997); }), "");
    EXPECT_TRUE(Value("Name").IsNull());
}

TEST_F(LookupTest, ASingleNullResultCountsAsNotFound) {
    Fill->ResultFields()->SetCommaText("City");
    Fill->LookupResultFields()->SetCommaText("City");
    Fill->CreateFieldLinks();
    Field("City")->SetValue("before");
    int errors = 0;
    Fill->OnLookupError = [&](TLookupFill*, int) { ++errors; };
    TypeCustNo(1351);  // Sight Diver has no city
    EXPECT_EQ(errors, 1);
    EXPECT_TRUE(Value("City").IsNull());
}

TEST_F(LookupTest, AShortResultArrayLeavesTheLaterFieldsAlone) {
    Field("City")->SetValue("kept");
    Customers->Override = true;
    Customers->Answer = VarArrayOf({"Only the name"});
    TypeCustNo(1231);
    EXPECT_EQ(Value("Name"), Variant("Only the name"));
    EXPECT_EQ(Value("City"), Variant("kept"));
}

TEST_F(LookupTest, AFieldThatRefusesItsValueStopsTheCopyThere) {
    Customers->Override = true;
    Customers->Answer = VarArrayOf({"written", "not written"});
    Fill->ResultFields()->SetCommaText("Name,OrderNo");
    Fill->CreateFieldLinks();
    bool after = false;
    Fill->AfterLookup = [&](TLookupFill*, bool&) { after = true; };
    EXPECT_THROW(TypeCustNo(1231), EConvertError);
    EXPECT_EQ(Value("Name"), Variant("written"));
    EXPECT_EQ(Value("OrderNo"), Variant(1001));
    EXPECT_FALSE(after);
    EXPECT_FALSE(Fill->InLookup());
}

TEST_F(LookupTest, DirectCallsNestButInLookupIsAFlag) {
    int nested = 0;
    Fill->BeforeLookup = [&](TLookupFill* sender, bool&) {
        if (nested++ == 0) {
            sender->DoLookup();
            EXPECT_FALSE(sender->InLookup()) << "the nested call reset the flag";
        }
    };
    TypeCustNo(1231);
    EXPECT_EQ(nested, 2);
    EXPECT_EQ(Fill->Lookups, 2);
    EXPECT_EQ(Customers->Calls.size(), 2u);
}

TEST_F(LookupTest, DirectCallsOnAnIncompleteFillFailInOrder) {
    // Without a lookup dataset behind the source.
    CustomersSource->SetDataSet(nullptr);
    EXPECT_EQ(RaisedMessage([&] { Fill->DoLookup(); }), "TLookupFill: No lookup dataset.");
    EXPECT_FALSE(Fill->InLookup());
    CustomersSource->SetDataSet(Customers);

    // Without key links.
    Fill->SetActive(false);
    Fill->KeyFields()->Clear();
    Fill->LookupKeyFields()->Clear();
    Fill->ResultFields()->Clear();
    Fill->LookupResultFields()->Clear();
    EXPECT_EQ(RaisedMessage([&] { Fill->DoLookup(); }), "TLookupFill: No key fields linked.");

    // Without result links, a plain answer has nowhere to go.
    Fill->KeyFields()->SetCommaText("CustNo");
    Fill->LookupKeyFields()->SetCommaText("CustNo");
    Fill->SetActive(true);
    Customers->Override = true;
    Customers->Answer = Variant("plain");
    const int lookups = Fill->Lookups;
    TypeCustNo(1231);
    EXPECT_EQ(Fill->Lookups, lookups + 1);
    EXPECT_EQ(Value("Name"), Variant(""));
}

} // namespace
} // namespace veskar::testing
