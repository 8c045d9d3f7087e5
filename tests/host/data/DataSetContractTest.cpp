// The dataset contract: what every storage back end's dataset does alike.

#include "ContractFixture.h"

#include "host/core/Exception.h"
#include "host/core/TextUtils.h"
#include "host/data/SqlDataSet.h"

namespace host::testing {
namespace {

using Ids = std::vector<int64_t>;

TEST_P(DataSetContract, OpensWithTypedFieldsAndNulls) {
    ASSERT_EQ(Customers->FieldCount(), 5);
    const TFieldType types[] = {ftInteger, ftString, ftFloat, ftBoolean, ftDateTime};
    const char* names[] = {"CustNo", "Company", "Rating", "Active", "Since"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Customers->Fields(i)->DataType(), types[i]) << names[i];
        EXPECT_TRUE(SameText(Customers->Fields(i)->FieldName(), names[i])) << names[i];
    }
    EXPECT_EQ(Customers->FieldByName("Company")->Size(), 12);
    EXPECT_EQ(Customers->RecordCount(), 5);
    EXPECT_EQ(Value("CustNo"), Variant(1221));
    EXPECT_EQ(Value("Company"), Variant("Kauai Dive"));
    EXPECT_EQ(Value("Rating"), Variant(4.5));
    EXPECT_EQ(Value("Active"), Variant(true));
    EXPECT_EQ(Value("Since").AsDateTime(), 40000.0);
    Customers->SetRecNo(3);
    EXPECT_TRUE(Customers->FieldByName("Rating")->IsNull());
    EXPECT_TRUE(Customers->FieldByName("Since")->IsNull());
    Customers->Next();
    EXPECT_TRUE(Customers->FieldByName("Active")->IsNull());
    EXPECT_EQ(Value("Since").AsDateTime(), 39000.25);
}

TEST_P(DataSetContract, NavigatesInOrderAndMarksTheEnds) {
    EXPECT_EQ(CustNos(), (Ids{1221, 1231, 1351, 1354, 1356}));
    Customers->First();
    EXPECT_TRUE(Customers->Bof());
    EXPECT_EQ(Customers->RecNo(), 1);
    Customers->Prior();
    EXPECT_TRUE(Customers->Bof());
    Customers->Last();
    EXPECT_TRUE(Customers->Eof());
    EXPECT_EQ(Customers->RecNo(), 5);
    EXPECT_EQ(Value("CustNo"), Variant(1356));
    EXPECT_EQ(Customers->MoveBy(-3), -3);
    EXPECT_EQ(Value("CustNo"), Variant(1231));
    EXPECT_EQ(Customers->MoveBy(10), 3);
    EXPECT_TRUE(Customers->Eof());
    Customers->SetRecNo(3);
    EXPECT_EQ(Value("Company"), Variant("Sight Diver"));
    Customers->Close();
    EXPECT_EQ(Customers->FieldCount(), 0);
    EXPECT_THROW(Customers->First(), EDatabaseError);
    Customers->Open();
    EXPECT_EQ(Customers->RecordCount(), 5) << "records stay across Close and Open";
}

TEST_P(DataSetContract, EditsPostAndStayPosted) {
    Customers->SetRecNo(2);
    Customers->Edit();
    EXPECT_EQ(Customers->State(), dsEdit);
    Customers->FieldByName("Company")->SetValue("Unisco Ltd and more");
    EXPECT_EQ(Value("Company"), Variant("Unisco Ltd a")) << "cut to the field's size";
    Customers->FieldByName("Rating")->Clear();
    Customers->FieldByName("Active")->SetValue(true);
    Customers->FieldByName("Since")->SetValue(Variant::FromDateTime(42000.5));
    Customers->Post();
    EXPECT_EQ(Customers->State(), dsBrowse);
    Customers->Close();
    Customers->Open();
    Customers->SetRecNo(2);
    EXPECT_EQ(Value("CustNo"), Variant(1231));
    EXPECT_EQ(Value("Company"), Variant("Unisco Ltd a"));
    EXPECT_TRUE(Customers->FieldByName("Rating")->IsNull());
    EXPECT_EQ(Value("Active"), Variant(true));
    EXPECT_EQ(Value("Since").AsDateTime(), 42000.5);
}

TEST_P(DataSetContract, CancelRestoresAndBrowseRefusesWrites) {
    EXPECT_THROW(Customers->FieldByName("Company")->SetValue("x"), EDatabaseError);
    Customers->Edit();
    Customers->FieldByName("Company")->SetValue("Changed");
    EXPECT_THROW(Customers->FieldByName("CustNo")->SetValue("not a number"), EConvertError);
    EXPECT_EQ(Value("CustNo"), Variant(1221)) << "a refused value leaves the field";
    Customers->Cancel();
    EXPECT_EQ(Customers->State(), dsBrowse);
    EXPECT_EQ(Value("Company"), Variant("Kauai Dive"));
}

TEST_P(DataSetContract, AppendsAndDeletes) {
    Customers->Append();
    EXPECT_EQ(Customers->State(), dsInsert);
    Customers->FieldByName("CustNo")->SetValue(1400);
    Customers->FieldByName("Company")->SetValue("New Co");
    Customers->Post();
    EXPECT_EQ(Customers->RecordCount(), 6);
    EXPECT_EQ(Value("CustNo"), Variant(1400)) << "the cursor is on the new record";
    EXPECT_EQ(Customers->Lookup("CustNo", 1400, "Company"), Variant("New Co"));
    EXPECT_TRUE(Customers->Lookup("CustNo", 1400, "Rating").IsNull());

    ASSERT_TRUE(Customers->Locate("CustNo", 1231, {}));
    Customers->Delete();
    EXPECT_EQ(Customers->RecordCount(), 5);
    EXPECT_EQ(Value("CustNo"), Variant(1351)) << "the next record takes the place";
    EXPECT_EQ(CustNos(), (Ids{1221, 1351, 1354, 1356, 1400}));
    EXPECT_TRUE(Customers->Lookup("CustNo", 1231, "Company").IsNull());
}

TEST_P(DataSetContract, LookupAnswersWithoutMoving) {
    Customers->SetRecNo(2);
    EXPECT_EQ(Customers->Lookup("CustNo", 1354, "Company"), Variant("Cayman Dive"));
    EXPECT_EQ(Customers->Lookup("CustNo", "1354", "Company"), Variant("Cayman Dive")) << "the key converts";
    const Variant both = Customers->Lookup("Company", "Sight Diver", "CustNo;Rating");
    ASSERT_TRUE(both.IsArray());
    EXPECT_EQ(both.LowBound(), 0);
    EXPECT_EQ(both.HighBound(), 1);
    EXPECT_EQ(both[0], Variant(1351));
    EXPECT_TRUE(both[1].IsNull());
    EXPECT_TRUE(Customers->Lookup("Company", "sight diver", "CustNo").IsNull()) << "case matters";
    EXPECT_TRUE(Customers->Lookup("Company", "Sight", "CustNo").IsNull()) << "whole values only";
    EXPECT_EQ(Customers->Lookup("Rating", Variant::Null(), "CustNo"), Variant(1351)) << "Null finds Null";
    EXPECT_EQ(Customers->Lookup("Active;Rating", VarArrayOf({false, 1.0}), "CustNo"), Variant(1356));
    EXPECT_TRUE(Customers->Lookup("CustNo", 9999, "Company").IsNull());
    EXPECT_EQ(Customers->RecNo(), 2);
    EXPECT_EQ(Value("CustNo"), Variant(1231));
    EXPECT_THROW(Customers->Lookup("Nope", 1, "Company"), EDatabaseError);
}

TEST_P(DataSetContract, LookupReadsTheResultNamesOnlyAfterAHit) {
    EXPECT_TRUE(Customers->Lookup("CustNo", 9999, "Nope").IsNull());
    EXPECT_TRUE(Customers->Lookup("Company", "Nobody", "CustNo;Nope").IsNull());
    try {
        Customers->Lookup("CustNo", 1231, "Company;Nope");
        ADD_FAILURE() << "an unknown result field was let through on a hit";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().ends_with("Field 'Nope' not found")) << e.Message();
    }
    EXPECT_EQ(Customers->Lookup("CustNo", 1231, "Company"), Variant("Unisco"));
}

TEST_P(DataSetContract, LocateWithEveryOption) {
    const TLocateOptions none, ci{loCaseInsensitive}, partial{loPartialKey}, both{loCaseInsensitive, loPartialKey};
    EXPECT_TRUE(Customers->Locate("Company", "Cayman Dive", none));
    EXPECT_EQ(Customers->RecNo(), 4);
    EXPECT_FALSE(Customers->Locate("Company", "cayman dive", none));
    EXPECT_EQ(Customers->RecNo(), 4) << "no move when nothing is found";
    EXPECT_TRUE(Customers->Locate("Company", "CAYMAN DIVE", ci));
    EXPECT_EQ(Customers->RecNo(), 4);
    EXPECT_FALSE(Customers->Locate("Company", "Cayman", ci)) << "whole values without loPartialKey";
    EXPECT_TRUE(Customers->Locate("Company", "Kauai", partial));
    EXPECT_EQ(Value("CustNo"), Variant(1221));
    EXPECT_FALSE(Customers->Locate("Company", "KAUAI S", partial));
    EXPECT_TRUE(Customers->Locate("Company", "KAUAI S", both));
    EXPECT_EQ(Value("CustNo"), Variant(1356));
    EXPECT_TRUE(Customers->Locate("Company", "kauai", both));
    EXPECT_EQ(Value("CustNo"), Variant(1221)) << "the first match in the dataset's order";
    EXPECT_TRUE(Customers->Locate("Company", "", partial)) << "an empty prefix matches every text";
    EXPECT_EQ(Customers->RecNo(), 1);
    EXPECT_TRUE(Customers->Locate("Active", Variant::Null(), none));
    EXPECT_EQ(Value("CustNo"), Variant(1354));
    EXPECT_TRUE(Customers->Locate("Active;Company", VarArrayOf({true, "si"}), both));
    EXPECT_EQ(Value("CustNo"), Variant(1351));
    EXPECT_TRUE(Customers->Locate("Since", Variant::FromDateTime(41000.0), none));
    EXPECT_EQ(Value("CustNo"), Variant(1356));
    EXPECT_FALSE(Customers->Locate("CustNo", 1, none));
    EXPECT_EQ(Value("CustNo"), Variant(1356));
}

TEST_P(DataSetContract, LocatePostsAnEditFirst) {
    Customers->Edit();
    Customers->FieldByName("Company")->SetValue("Kauai Diving");
    EXPECT_TRUE(Customers->Locate("CustNo", 1354, {}));
    EXPECT_EQ(Customers->State(), dsBrowse);
    EXPECT_EQ(Customers->Lookup("CustNo", 1221, "Company"), Variant("Kauai Diving"));
}

TEST_P(DataSetContract, DataLinksHearEveryChange) {
    Owned<TLoggingLink> link(TLoggingLink::Create());
    link->SetFieldName("Company");
    link->SetDataSource(Source);
    Customers->Edit();
    Customers->FieldByName("Company")->SetValue("Kauai Diver");
    Customers->FieldByName("Rating")->SetValue(5);
    Customers->Post();
    Customers->Next();
    Customers->Close();
    EXPECT_EQ(link->Heard, (std::vector<std::string>{"active", "browsing", "record", "editing", "record",
                                                      "record:Company", "record:Rating", "browsing", "record", "record",
                                                      "inactive", "browsing", "record"}));
}

TEST_P(DataSetContract, BookmarksFindTheirRecordAndCompareInOrder) {
    EXPECT_TRUE(Customers->Locate("CustNo", 1351, {}));
    const TBookmark sight = Customers->GetBookmark();
    ASSERT_FALSE(sight.empty());
    Customers->First();
    const TBookmark first = Customers->GetBookmark();
    Customers->Last();
    const TBookmark last = Customers->GetBookmark();
    EXPECT_LT(Customers->CompareBookmarks(first, sight), 0);
    EXPECT_GT(Customers->CompareBookmarks(last, sight), 0);
    EXPECT_EQ(Customers->CompareBookmarks(sight, sight), 0);
    EXPECT_LT(Customers->CompareBookmarks({}, first), 0) << "no bookmark comes first";
    EXPECT_TRUE(Customers->BookmarkValid(sight));
    EXPECT_EQ(Value("CustNo"), Variant(1356)) << "checking a bookmark does not move";
    Customers->GotoBookmark(sight);
    EXPECT_EQ(Value("CustNo"), Variant(1351));
    EXPECT_EQ(Customers->RecNo(), 3);
    Customers->Next();
    EXPECT_EQ(Value("CustNo"), Variant(1354)) << "scrolls on from the bookmarked record";
    Customers->GotoBookmark(first);
    EXPECT_EQ(Value("CustNo"), Variant(1221));
    EXPECT_THROW(Customers->GotoBookmark({}), EDatabaseError);
    EXPECT_EQ(Value("CustNo"), Variant(1221)) << "a bad bookmark leaves the cursor";
    Customers->Append();
    EXPECT_TRUE(Customers->GetBookmark().empty()) << "a record being inserted has none yet";
    Customers->Cancel();
}

// What each step ran on an SQL back end's connection: none may count.
TEST_P(DataSetContract, OrdinaryActionsNeverCountTheTable) {
    auto* sql = dynamic_cast<TCustomSQLDataSet*>(Customers);
    if (!sql) GTEST_SKIP() << "no statements to watch";
    TSQLStatementLog& log = sql->Connection()->StatementLog();
    log.SetActive(true);
    log.Clear();
    auto step = [&](const char* what, auto act) {
        const int64_t before = log.Count();
        act();
        EXPECT_EQ(log.CountContaining("COUNT("), 0) << what << " counted:\n" << log.Texts().back();
        return log.Count() - before;
    };
    Customers->Close();
    step("open", [&] { Customers->Open(); });
    step("scroll", [&] { EXPECT_EQ(CustNos(), (Ids{1221, 1231, 1351, 1354, 1356})); });
    step("locate", [&] { EXPECT_TRUE(Customers->Locate("Company", "sight", {loCaseInsensitive, loPartialKey})); });
    EXPECT_EQ(step("locate in the window", [&] { EXPECT_TRUE(Customers->Locate("CustNo", 1351, {})); }), 1)
        << "one search, no window read";
    step("back", [&] { Customers->Prior(); Customers->Prior(); EXPECT_TRUE(Customers->Bof() || Value("CustNo") == Variant(1221)); });
    step("last", [&] { Customers->Last(); EXPECT_EQ(Value("CustNo"), Variant(1356)); });
    step("first", [&] { Customers->First(); EXPECT_EQ(Value("CustNo"), Variant(1221)); });
    step("post", [&] {
        EXPECT_TRUE(Customers->Locate("CustNo", 1354, {}));
        Customers->Edit();
        Customers->FieldByName("Rating")->SetValue(3.5);
        Customers->Post();
        Customers->Append();
        Customers->FieldByName("CustNo")->SetValue(1300);
        Customers->Post();
        EXPECT_EQ(Value("CustNo"), Variant(1300));
        Customers->Delete();
    });
    step("bookmark", [&] {
        EXPECT_TRUE(Customers->Locate("CustNo", 1356, {}));
        const TBookmark mark = Customers->GetBookmark();
        Customers->First();
        Customers->GotoBookmark(mark);
        EXPECT_EQ(Value("CustNo"), Variant(1356));
    });
    step("refresh", [&] { Customers->Refresh(); Customers->RefreshRecord(); EXPECT_EQ(Value("CustNo"), Variant(1356)); });
    // Asked for, numbers are exact: counted then, once.
    EXPECT_TRUE(Customers->Locate("CustNo", 1351, {}));
    EXPECT_EQ(Customers->RecNo(), 3);
    EXPECT_EQ(Customers->RecordCount(), 5);
    EXPECT_GT(log.CountContaining("COUNT("), 0);
    log.Clear();
    EXPECT_EQ(Customers->RecNo(), 3);
    EXPECT_EQ(Customers->RecordCount(), 5);
    EXPECT_EQ(log.Count(), 0) << "exact numbers stay known";
    log.SetActive(false);
    sql->Connection()->ExecSQL("SELECT 1");
    EXPECT_EQ(log.Count(), 1) << "counted with the texts off, none kept";
    EXPECT_TRUE(log.Texts().empty());
}

} // namespace
} // namespace host::testing
