// Datasets: states, navigation, editing, fields, Lookup and Locate.

#include "DataFixture.h"

namespace host::testing {
namespace {

TEST_F(DataTest, NavigationMovesTheCursorAndMarksTheEnds) {
    EXPECT_EQ(Customers->RecordCount(), 4);
    EXPECT_TRUE(Customers->Bof());
    EXPECT_EQ(Customers->RecNo(), 1);
    Customers->Prior();
    EXPECT_TRUE(Customers->Bof());
    EXPECT_EQ(Customers->RecNo(), 1);
    Customers->Next();
    EXPECT_FALSE(Customers->Bof());
    EXPECT_EQ(Value("Company"), Variant("Unisco"));
    Customers->Last();
    EXPECT_TRUE(Customers->Eof());
    Customers->Next();
    EXPECT_TRUE(Customers->Eof());
    EXPECT_EQ(Customers->RecNo(), 4);
    Customers->SetRecNo(2);
    EXPECT_EQ(Value("CustNo"), Variant(1231));

    int seen = 0;
    for (Customers->First(); !Customers->Eof(); Customers->Next()) ++seen;
    EXPECT_EQ(seen, 4);
}

TEST_F(DataTest, ClosedDatasetsHaveNoFieldsAndRefuseWork) {
    Customers->Close();
    EXPECT_FALSE(Customers->Active());
    EXPECT_EQ(Customers->FieldCount(), 0);
    EXPECT_EQ(Customers->FindField("CustNo"), nullptr);
    EXPECT_THROW(Customers->First(), EDatabaseError);
    EXPECT_THROW(Customers->Edit(), EDatabaseError);
    Customers->SetActive(true);
    EXPECT_EQ(Customers->RecordCount(), 4) << "records stay across Close and Open";
    EXPECT_EQ(Customers->FieldByName("company")->FieldName(), "Company");
}

TEST_F(DataTest, UnknownFieldsAndWritesOutsideEditingRaiseWithTheDatasetsName) {
    EXPECT_EQ(Customers->FindField("Nope"), nullptr);
    try {
        Customers->FieldByName("Nope");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Field 'Nope' not found");
    }
    Customers->SetName("Customers");
    try {
        Customers->FieldByName("CustNo")->SetValue(1);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Customers: Dataset not in edit or insert mode");
    }
}

TEST_F(DataTest, FieldWritesConvertCutOrRefuse) {
    Customers->Edit();
    TField* company = Customers->FieldByName("Company");
    company->SetValue("A name far too long for twelve");
    EXPECT_EQ(company->AsString(), "A name far t");
    TField* custNo = Customers->FieldByName("CustNo");
    custNo->SetValue("42");
    EXPECT_EQ(custNo->Value(), Variant(42));
    EXPECT_THROW(custNo->SetValue("forty-two"), EConvertError);
    EXPECT_THROW(custNo->SetValue(4.5), EConvertError);
    EXPECT_EQ(custNo->Value(), Variant(42)) << "a refused value leaves the field";
    custNo->Clear();
    EXPECT_TRUE(custNo->IsNull());
    custNo->SetValue(Variant());
    EXPECT_TRUE(custNo->IsNull());
    Customers->FieldByName("Rating")->SetAsString("1.5");
    EXPECT_EQ(Customers->FieldByName("Rating")->AsFloat(), 1.5);
    EXPECT_EQ(company->DataType(), ftString);
    EXPECT_EQ(company->Size(), 12);
    EXPECT_EQ(company->DataSize(), 13);
}

TEST_F(DataTest, PostStoresCancelRestores) {
    Customers->Edit();
    EXPECT_EQ(Customers->State(), dsEdit);
    Customers->FieldByName("Company")->SetValue("Changed");
    Customers->Cancel();
    EXPECT_EQ(Value("Company"), Variant("Kauai Dive"));

    Customers->Edit();
    Customers->FieldByName("Company")->SetValue("Changed");
    Customers->Post();
    EXPECT_EQ(Customers->State(), dsBrowse);
    EXPECT_EQ(Value("Company"), Variant("Changed"));

    // Moving posts a pending edit; Insert goes before the current record.
    Customers->Edit();
    Customers->FieldByName("Company")->SetValue("Moved on");
    Customers->Next();
    Customers->First();
    EXPECT_EQ(Value("Company"), Variant("Moved on"));
    Customers->Next();
    Customers->Insert();
    EXPECT_EQ(Customers->State(), dsInsert);
    EXPECT_TRUE(Customers->FieldByName("CustNo")->IsNull());
    Customers->FieldByName("CustNo")->SetValue(1);
    Customers->Post();
    EXPECT_EQ(Customers->RecNo(), 2);
    EXPECT_EQ(Customers->RecordCount(), 5);
    Customers->Delete();
    EXPECT_EQ(Customers->RecordCount(), 4);
    EXPECT_EQ(Value("CustNo"), Variant(1231));
}

TEST_F(DataTest, LookupFindsExactlyWithoutMoving) {
    Customers->Next();
    EXPECT_EQ(Customers->Lookup("CustNo", 1351, "Company"), Variant("Sight Diver"));
    EXPECT_EQ(Customers->RecNo(), 2);
    EXPECT_TRUE(VarIsNull(Customers->Lookup("CustNo", 9, "Company")));
    EXPECT_TRUE(VarIsNull(Customers->Lookup("Company", "unisco", "CustNo"))) << "letter case counts";
    EXPECT_TRUE(VarIsNull(Customers->Lookup("Company", "Unis", "CustNo"))) << "whole values only";
    EXPECT_TRUE(VarIsNull(Customers->Lookup("CustNo", 1351, "Rating"))) << "a null result field";

    const Variant both = Customers->Lookup("CustNo", 1354, "Company;Rating;Active");
    ASSERT_TRUE(VarIsArray(both));
    EXPECT_EQ(VarArrayLowBound(both, 1), 0);
    EXPECT_EQ(VarArrayHighBound(both, 1), 2);
    EXPECT_EQ(both[0], Variant("Cayman Dive"));
    EXPECT_EQ(both[1], Variant(2.25));
    EXPECT_TRUE(both[2].IsNull());

    EXPECT_EQ(Customers->Lookup("Company;Active", VarArrayOf({"Unisco", false}), "CustNo"), Variant(1231));
    EXPECT_TRUE(VarIsNull(Customers->Lookup("Company;Active", VarArrayOf({"Unisco", true}), "CustNo")));
    EXPECT_EQ(Customers->Lookup("Rating", Variant::Null(), "CustNo"), Variant(1351)) << "null matches null";
    EXPECT_EQ(Customers->Lookup("CustNo", "1231", "Company"), Variant("Unisco")) << "numbers by value";
    EXPECT_THROW(Customers->Lookup("CustNo", "abc", "Company"), EConvertError);
    EXPECT_THROW(Customers->Lookup("Nope", 1, "Company"), EDatabaseError);
}

TEST_F(DataTest, LocateMovesOnlyWhenItFinds) {
    EXPECT_TRUE(Customers->Locate("Company", "sight", {loCaseInsensitive, loPartialKey}));
    EXPECT_EQ(Customers->RecNo(), 3);
    EXPECT_FALSE(Customers->Locate("Company", "sight", {loPartialKey}));
    EXPECT_EQ(Customers->RecNo(), 3);
    EXPECT_FALSE(Customers->Locate("Company", "unisco", {loPartialKey}));
    EXPECT_TRUE(Customers->Locate("Company", "UNISCO", {loCaseInsensitive}));
    EXPECT_EQ(Customers->RecNo(), 2);
    EXPECT_FALSE(Customers->Locate("Company", "UNIS", {loCaseInsensitive})) << "partial needs loPartialKey";
    EXPECT_TRUE(Customers->Locate("CustNo;Active", VarArrayOf({1351, true}), {}));
    EXPECT_EQ(Customers->RecNo(), 3);
    EXPECT_TRUE(Customers->Locate("Active", Variant::Null(), {}));
    EXPECT_EQ(Customers->RecNo(), 4);

    // A pending edit is posted first.
    Customers->Edit();
    Customers->FieldByName("Company")->SetValue("Renamed");
    EXPECT_TRUE(Customers->Locate("Company", "Renamed", {}));
    EXPECT_EQ(Customers->State(), dsBrowse);
}

TEST_F(DataTest, AbstractDatasetsCannotBeMadeFromTheirClass) {
    EXPECT_THROW(ClassOf<TDataSet>().Create(nullptr), EInvalidOperation);
    TComponent* made = ClassOf<TMemoryDataSet>().Create(Module);
    EXPECT_TRUE(Is<TDataSet>(made));
}

TEST_F(DataTest, FreeingADatasetDetachesItsSources) {
    Owned<TLoggingLink> link(TLoggingLink::Create());
    link->SetDataSource(Source);
    link->SetFieldName("CustNo");
    Customers->Free();
    EXPECT_EQ(Source->DataSet(), nullptr);
    EXPECT_FALSE(link->Active());
    EXPECT_EQ(link->Field(), nullptr);
    Source->Free();
    EXPECT_EQ(link->DataSource(), nullptr);
}

} // namespace
} // namespace host::testing
