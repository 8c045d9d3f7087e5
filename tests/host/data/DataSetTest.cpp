// Datasets: states, navigation, editing, fields, Lookup and Locate.

#include "DataFixture.h"

#include <functional>

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

TEST_F(DataTest, EmptyTextClearsEveryFieldButAStringOne) {
    Customers->Edit();
    const std::pair<const char*, const char*> samples[] = {{"CustNo", "1"}, {"Rating", "1.5"}, {"Active", "T"}};
    for (const auto& [name, sample] : samples) {
        TField* field = Customers->FieldByName(name);
        ASSERT_FALSE(field->IsNull()) << name;
        field->SetAsString("");
        EXPECT_TRUE(field->IsNull()) << name << " through AsString";
        field->SetAsString(sample);
        ASSERT_FALSE(field->IsNull()) << name;
        field->SetText("");
        EXPECT_TRUE(field->IsNull()) << name << " through Text";
    }
    TField* company = Customers->FieldByName("Company");
    company->SetAsString("");
    EXPECT_EQ(company->AsString(), "");
}

TEST_F(DataTest, BooleanFieldsTakeAnyBeginningOfTheirWords) {
    Customers->Edit();
    TField* active = Customers->FieldByName("Active");
    const std::pair<const char*, bool> accepted[] = {
        {"T", true}, {"tr", true}, {"TRUE", true}, {"true", true}, {"f", false}, {"Fal", false}, {"FALSE", false}};
    for (const auto& [text, expected] : accepted) {
        active->SetAsString(expected ? "False" : "True");
        active->SetAsString(text);
        EXPECT_EQ(active->Value(), Variant(expected)) << text;
        active->SetText(expected ? "F" : "T");
        active->SetText(text);
        EXPECT_EQ(active->AsBoolean(), expected) << text << " as Text";
    }
    active->SetAsString("True");
    for (const char* refused : {"1", "0", "yes", "Trueish", "Falsehood", " T", "x"}) {
        try {
            active->SetAsString(refused);
            ADD_FAILURE() << refused << " was taken";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + std::string(refused) + "' is not a valid boolean value for field 'Active'");
        }
        EXPECT_EQ(active->Value(), Variant(true)) << "a refused text leaves the field";
    }
    EXPECT_EQ(active->AsString(), "True");
}

// The message of the host error Read raises; "no error" when it raises none.
std::string ErrorOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "no error";
}

TEST_F(DataTest, StringFieldsReadTheirTextAsEveryType) {
    Customers->Edit();
    TField* company = Customers->FieldByName("Company");
    for (const auto& [text, flag] : std::vector<std::pair<const char*, bool>>{
             {"Yes", true}, {"y", true}, {"Tomorrow", true}, {"No", false}, {"B2", false}, {"", false},
             {"\xC3\x89t\xC3\xA9", false}}) {
        company->SetAsString(text);
        EXPECT_EQ(company->AsBoolean(), flag) << text;
    }
    company->SetAsString("$1F");
    EXPECT_EQ(company->AsInteger(), 31);
    company->SetAsString("2.5");
    EXPECT_EQ(company->AsFloat(), 2.5);
    company->Clear();
    EXPECT_EQ(ErrorOf([&] { (void)company->AsInteger(); }), "'' is not a valid integer value");
    EXPECT_EQ(ErrorOf([&] { (void)company->AsFloat(); }), "'' is not a valid floating point value");
}

TEST_F(DataTest, FieldsRefuseTypesTheirClassDoesNotHold) {
    TField* active = Customers->FieldByName("Active");
    TField* rating = Customers->FieldByName("Rating");
    EXPECT_EQ(ErrorOf([&] { (void)active->AsInteger(); }), "Cannot access field 'Active' as type Integer");
    EXPECT_EQ(ErrorOf([&] { (void)active->AsFloat(); }), "Cannot access field 'Active' as type Float");
    EXPECT_EQ(ErrorOf([&] { (void)rating->AsBoolean(); }), "Cannot access field 'Rating' as type Boolean");
    EXPECT_EQ(ErrorOf([&] { (void)Customers->FieldByName("CustNo")->AsBoolean(); }),
              "Cannot access field 'CustNo' as type Boolean");
    EXPECT_EQ(rating->AsInteger(), 4) << "4.5 rounds to even";

    Customers->SetRecNo(3);  // a Null rating
    EXPECT_EQ(ErrorOf([&] { (void)rating->AsBoolean(); }), "Cannot access field 'Rating' as type Boolean");
    Customers->Next();  // a Null Active
    EXPECT_EQ(ErrorOf([&] { (void)active->AsInteger(); }), "Cannot access field 'Active' as type Integer");

    // Writers refuse alike and leave the value; the message names the label.
    Customers->Edit();
    rating->SetAsFloat(1e20);
    active->SetDisplayLabel("Flag");
    EXPECT_EQ(ErrorOf([&] { (void)rating->AsBoolean(); }), "Cannot access field 'Rating' as type Boolean");
    EXPECT_EQ(ErrorOf([&] { active->SetAsInteger(1); }), "Cannot access field 'Flag' as type Integer");
    EXPECT_TRUE(active->IsNull());
}

TEST_F(DataTest, IntegerFieldsRoundFloatsAndRefuseWhatTheirBitsCannotHold) {
    Customers->Edit();
    TField* custNo = Customers->FieldByName("CustNo");
    const std::pair<double, int> rounded[] = {{4.5, 4}, {5.5, 6}, {-4.5, -4}, {4.4, 4}, {4.6, 5}, {2147483647.4, 2147483647}};
    for (const auto& [value, expected] : rounded) {
        custNo->SetValue(value);
        EXPECT_EQ(custNo->Value(), Variant(expected)) << value;
    }
    custNo->SetAsFloat(-2147483648.5);
    EXPECT_EQ(custNo->AsInteger(), -2147483648LL) << "the even neighbour is in range";
    custNo->SetValue(42);
    const std::pair<Variant, std::string> refused[] = {
        {Variant(int64_t{3000000000}), "3000000000"},
        {Variant(int64_t{-2147483649}), "-2147483649"},
        {Variant(2147483647.5), "2147483647.5"},
        {Variant(1e30), "1E30"},
        {Variant("2147483648"), "2147483648"},
    };
    for (const auto& [value, text] : refused) {
        try {
            custNo->SetValue(value);
            ADD_FAILURE() << text << " was taken";
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.Message(), text + " is not a valid value for field 'CustNo'. The allowed range is -2147483648 "
                                          "to 2147483647");
        }
        EXPECT_EQ(custNo->Value(), Variant(42)) << "a refused value leaves the field";
    }
    EXPECT_THROW(custNo->SetAsInteger(int64_t{1} << 40), EDatabaseError);
    custNo->SetValue(true);
    EXPECT_EQ(custNo->Value(), Variant(-1)) << "True is -1";
}

TEST_F(DataTest, LargeIntegerFieldsHoldSixtyFourBitsAndSearchLikeIntegers) {
    constexpr int64_t two53 = int64_t{1} << 53;
    constexpr int64_t highest = INT64_MAX;
    TMemoryDataSet* ids = TMemoryDataSet::Create(Module);
    ids->FieldDefs().Add("Id", ftLargeint);
    ids->FieldDefs().Add("Name", ftString, 10);
    ids->Open();
    for (const auto& [id, name] : std::vector<std::pair<Variant, const char*>>{
             {two53, "two53"}, {two53 + 1, "two53+1"}, {highest, "highest"}, {INT64_MIN, "lowest"},
             {5, "five"}, {int64_t{3000000000}, "three bn"}, {Variant::Null(), "none"}})
        ids->AppendRecord({id, name});
    TField* id = ids->FieldByName("Id");
    EXPECT_EQ(id->DataType(), ftLargeint);
    EXPECT_STREQ(FieldTypeName(ftLargeint), "Largeint");
    EXPECT_EQ(id->DataSize(), 8);
    EXPECT_EQ(id->DisplayWidth(), 20);

    ids->First();
    ids->Next();
    EXPECT_EQ(id->AsInteger(), two53 + 1) << "no detour through a double";
    EXPECT_EQ(id->Text(), "9007199254740993");
    ids->Edit();
    id->SetText("9223372036854775807");
    EXPECT_EQ(id->Value(), Variant(highest));
    id->SetValue(2.5);
    EXPECT_EQ(id->Value(), Variant(2)) << "a float rounds half to even, as in an integer field";
    id->SetValue(-9.2e18);
    EXPECT_EQ(id->AsInteger(), int64_t{-9200000000000000000});
    const std::pair<Variant, std::string> refused[] = {{Variant(9223372036854775808.0), "9.22337203685478E18"},
                                                       {Variant(-1e19), "-1E19"}};
    for (const auto& [value, text] : refused) {
        try {
            id->SetValue(value);
            ADD_FAILURE() << text << " was taken";
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.Message(), text + " is not a valid value for field 'Id'. The allowed range is "
                                          "-9223372036854775808 to 9223372036854775807");
        }
    }
    EXPECT_THROW(id->SetText("9223372036854775808"), EConvertError);
    EXPECT_THROW(id->SetText("12a"), EConvertError);
    EXPECT_EQ(id->AsInteger(), int64_t{-9200000000000000000}) << "a refused value leaves the field";
    ids->Cancel();

    // Indexed or scanned, a search tells 2^53 from 2^53 + 1 and takes 5.0 for 5.
    for (bool indexed : {true, false}) {
        ids->SetIndexed(indexed);
        EXPECT_EQ(ids->Lookup("Id", two53 + 1, "Name"), Variant("two53+1")) << indexed;
        EXPECT_EQ(ids->Lookup("Id", static_cast<double>(two53), "Name"), Variant("two53")) << indexed;
        EXPECT_EQ(ids->Lookup("Id", 5.0, "Name"), Variant("five")) << indexed;
        EXPECT_EQ(ids->Lookup("Id", "3000000000", "Name"), Variant("three bn")) << indexed;
        EXPECT_EQ(ids->Lookup("Id", INT64_MIN, "Name"), Variant("lowest")) << indexed;
        EXPECT_TRUE(ids->Lookup("Id", two53 + 2, "Name").IsNull()) << indexed;
        EXPECT_TRUE(ids->Locate("Id", highest, {}));
        EXPECT_EQ(ids->RecNo(), 3) << indexed;
        EXPECT_TRUE(ids->Locate("Id", Variant::Null(), {}));
        EXPECT_EQ(ids->RecNo(), 7) << indexed;
    }
}

TEST_F(DataTest, FloatFieldsShowFifteenSignificantDigits) {
    Customers->Edit();
    TField* rating = Customers->FieldByName("Rating");
    TField* company = Customers->FieldByName("Company");
    const std::pair<double, const char*> shown[] = {
        {1.0 / 3.0, "0.333333333333333"}, {1e20, "1E20"}, {0.0001, "0.0001"}, {0.1, "0.1"},
        {1234567890123456.0, "1.23456789012346E15"}, {0.00001, "1E-5"}, {-2.5, "-2.5"}};
    for (const auto& [value, text] : shown) {
        rating->SetAsFloat(value);
        EXPECT_EQ(rating->AsString(), text);
        EXPECT_EQ(rating->Text(), text);
        EXPECT_EQ(rating->DisplayText(), text);
        // A string field given the float's value takes the same text, cut
        // to its twelve characters.
        company->SetValue(rating->Value());
        EXPECT_EQ(company->AsString(), std::string(text).substr(0, 12));
    }
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
    // A float meets an integer key field as the field would store it.
    EXPECT_EQ(Customers->Lookup("CustNo", 1351.4, "Company"), Variant("Sight Diver"));
    EXPECT_EQ(Customers->Lookup("CustNo", 1350.5, "Company"), Variant::Null()) << "1350.5 is 1350";
    EXPECT_EQ(Customers->Lookup("CustNo", 1351.5, "Company"), Variant::Null()) << "1351.5 is 1352";
    EXPECT_EQ(Customers->Lookup("CustNo", 1354.5, "Company"), Variant("Cayman Dive"));
    EXPECT_TRUE(Customers->Locate("CustNo", 1230.6, {}));
    EXPECT_EQ(Customers->RecNo(), 2);
    EXPECT_THROW(Customers->Lookup("Nope", 1, "Company"), EDatabaseError);
}

TEST_F(DataTest, SearchesFollowTheFieldsAcrossReopeningAndManyNameLists) {
    // More name lists than the dataset remembers, in turns: each search
    // still reads its own fields, keys and results alike.
    const std::vector<std::pair<std::string, Variant>> results = {
        {"Company", Variant("Unisco")}, {"Rating", Variant(3.0)}, {"Active", Variant(false)},
        {"company", Variant("Unisco")}, {"CUSTNO", Variant(1231)}, {"Rating ", Variant(3.0)}};
    for (int round = 0; round < 3; ++round)
        for (const auto& [names, expected] : results) {
            EXPECT_EQ(Customers->Lookup("CustNo", 1231, names), expected) << names;
            EXPECT_EQ(Customers->Lookup(round % 2 ? "Company" : "company", "Unisco", names), expected) << names;
        }
    const Variant two = Customers->Lookup("Company;Active", VarArrayOf({"Unisco", false}), "Rating;CustNo");
    ASSERT_TRUE(VarIsArray(two));
    EXPECT_EQ(two[0], Variant(3.0));
    EXPECT_EQ(two[1], Variant(1231));
    EXPECT_THROW(Customers->Lookup("CustNo", 1231, "Company;Nope"), EDatabaseError) << "a bad list is not remembered";
    EXPECT_THROW(Customers->Lookup("CustNo", 1231, "Company;Nope"), EDatabaseError);

    // Reopened, the dataset has new field objects: the old ones are not used.
    Customers->Close();
    Customers->Open();
    EXPECT_EQ(Customers->Lookup("CustNo", 1351, "Company"), Variant("Sight Diver"));
    EXPECT_TRUE(Customers->Locate("Company", "Unisco", {}));
    EXPECT_EQ(Value("CustNo"), Variant(1231));
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
