// Two connections on one database, on SQLite and on the PostgreSQL test
// server: a table dataset on the first while the second writes as another
// user would. Posts over rows the other changed or deleted are refused as
// the update mode says, keep the edit and write nothing; Cancel, Refresh and
// RefreshRecord show the rows as they are now; scrolling over rows the other
// changed, deleted or inserted shows each row once, in order, never Null.

#include "PgTestServer.h"
#include "SqlTestDatabase.h"

#include "host/core/Exception.h"
#include "host/data/SqlQuery.h"
#include "host/data/SqlTable.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace host::testing {
namespace {

class SqlOtherWritersTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (GetParam() == "Postgres") VESKAR_NEED_PG();
        Database.emplace(GetParam() == "Postgres");
        Owner = TComponent::Create(nullptr);
        Mine = Database->Connect(Owner);
        Other = Database->Connect(Owner);
        Other->ExecuteDirect(
            "CREATE TABLE customer (\"CustNo\" INTEGER PRIMARY KEY, \"Company\" VARCHAR(20), \"City\" VARCHAR(20),"
            " \"Rating\" INTEGER)");
        for (int no = 1; no <= 20; ++no)
            Other->ExecSQL("INSERT INTO customer VALUES (?, ?, ?, ?)",
                           {no, "Company " + std::to_string(no), no % 5 == 0 ? Variant::Null() : Variant("Town"), no});
        Table = TSQLTable::Create(Owner);
        Table->SetConnection(Mine);
        Table->SetTableName("customer");
        Table->SetWindowSize(4);
        Table->Open();
    }
    void TearDown() override {
        if (Owner) Owner->Free();
        Database.reset();
    }

    void GoTo(int custNo) { ASSERT_TRUE(Table->Locate("CustNo", custNo, {})); }
    void Edit(int custNo, const char* field, const Variant& value) {
        GoTo(custNo);
        Table->Edit();
        Table->FieldByName(field)->SetValue(value);
    }
    std::string Stored(int custNo) {
        const auto rows = Database->Query("SELECT \"Company\", \"City\", \"Rating\" FROM customer WHERE \"CustNo\" = " +
                                          std::to_string(custNo));
        return rows.empty() ? "(none)" : rows.front();
    }
    // The message of the error Act raises; empty when none.
    template <class F>
    static std::string ErrorOf(F act) {
        try {
            act();
        } catch (const EDatabaseError& e) {
            return e.Message();
        }
        return {};
    }
    std::string Company() const { return Table->FieldByName("Company")->AsString(); }
    int CustNo() const { return static_cast<int>(Table->FieldByName("CustNo")->AsInteger()); }
    static constexpr const char* Changed = "Record changed by another user (table customer)";
    static constexpr const char* Deleted = "Record deleted by another user (table customer)";

    std::optional<TSqlTestDatabase> Database;
    TComponent* Owner = nullptr;
    TSQLConnection* Mine = nullptr;
    TSQLConnection* Other = nullptr;
    TSQLTable* Table = nullptr;
};

TEST_P(SqlOtherWritersTest, PostOverAChangedRowIsRefusedAsTheUpdateModeSays) {
    // The same column: refused, the edit kept, nothing written; Cancel shows
    // the row as it is now. Other columns: both edits stand.
    Edit(3, "Company", "Mine");
    Other->ExecSQL("UPDATE customer SET \"Company\" = 'Theirs' WHERE \"CustNo\" = 3");
    EXPECT_EQ(ErrorOf([&] { Table->Post(); }), Changed);
    EXPECT_EQ(Table->State(), dsEdit);
    EXPECT_EQ(Company(), "Mine");
    EXPECT_EQ(Stored(3), "Theirs|Town|3");
    Table->Cancel();
    EXPECT_EQ(Company(), "Theirs");
    Edit(5, "Rating", 50);
    Other->ExecSQL("UPDATE customer SET \"Company\" = 'Theirs' WHERE \"CustNo\" = 5");
    Table->Post();
    EXPECT_EQ(Stored(5), "Theirs||50");
    // upWhereAll: any column changed refuses, unless its field leaves pfInWhere.
    Table->SetUpdateMode(upWhereAll);
    Edit(6, "Rating", 60);
    Other->ExecSQL("UPDATE customer SET \"City\" = 'Port' WHERE \"CustNo\" = 6");
    EXPECT_EQ(ErrorOf([&] { Table->Post(); }), Changed);
    Table->Cancel();
    Table->FieldByName("City")->SetProviderFlags({pfInUpdate});
    Edit(6, "Rating", 60);
    Other->ExecSQL("UPDATE customer SET \"City\" = 'Dock' WHERE \"CustNo\" = 6");
    Table->Post();
    EXPECT_EQ(Stored(6), "Company 6|Dock|60");
    // upWhereKeyOnly: the later writer wins; a field without pfInUpdate is not written.
    Table->SetUpdateMode(upWhereKeyOnly);
    Table->FieldByName("Rating")->SetProviderFlags({pfInWhere});
    Edit(7, "Company", "Mine");
    Table->FieldByName("Rating")->SetValue(1);
    Other->ExecSQL("UPDATE customer SET \"Company\" = 'Theirs' WHERE \"CustNo\" = 7");
    Table->Post();
    EXPECT_EQ(Stored(7), "Mine|Town|7");
}

TEST_P(SqlOtherWritersTest, WritesToARowDeletedElsewhereAreRefused) {
    Edit(8, "Company", "Mine");
    Other->ExecSQL("DELETE FROM customer WHERE \"CustNo\" = 8");
    EXPECT_EQ(ErrorOf([&] { Table->Post(); }), Deleted);
    EXPECT_EQ(Company(), "Mine");
    Table->Cancel();
    EXPECT_EQ(CustNo(), 9) << "the neighbour, as the row is gone";
    Other->ExecSQL("DELETE FROM customer WHERE \"CustNo\" = 9");
    EXPECT_EQ(ErrorOf([&] { Table->Delete(); }), Deleted);
}

TEST_P(SqlOtherWritersTest, RefreshAndRefreshRecordReadWhatIsThereNow) {
    GoTo(2);
    Other->ExecuteDirect(
        "UPDATE customer SET \"Company\" = 'Renamed' WHERE \"CustNo\" = 2;"
        "INSERT INTO customer VALUES (0, 'First', NULL, 0), (-1, 'Before', NULL, 0)");
    EXPECT_EQ(Company(), "Company 2") << "the window is a snapshot";
    Table->RefreshRecord();
    EXPECT_EQ(Company(), "Renamed");
    Table->Refresh();
    EXPECT_EQ(CustNo(), 2) << "Refresh keeps the cursor on its row";
    EXPECT_EQ(Table->RecNo(), 4);
}

TEST_P(SqlOtherWritersTest, ScrollingOverRowsChangedElsewhereShowsEachOnceNeverNull) {
    EXPECT_EQ(Company(), "Company 1") << "the first window read";
    Other->ExecuteDirect(
        "DELETE FROM customer WHERE \"CustNo\" IN (2, 10, 19, 20);"
        "INSERT INTO customer VALUES (25, 'Late', 'Town', 25)");
    std::vector<int> seen;
    for (; !Table->Eof() && seen.size() < 30; Table->Next()) {
        ASSERT_FALSE(Table->FieldByName("Company")->IsNull()) << "after " << seen.size() << " rows";
        seen.push_back(CustNo());
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 25}));
    EXPECT_EQ(Table->RecNo(), Table->RecordCount());
    // Back over rows deleted behind: numbered anew, the cursor with them.
    Other->ExecuteDirect("DELETE FROM customer WHERE \"CustNo\" IN (1, 3, 4, 5, 6)");
    std::vector<int> back;
    for (; !Table->Bof() && back.size() < 30; Table->Prior()) {
        ASSERT_FALSE(Table->FieldByName("Company")->IsNull()) << "after " << back.size() << " rows";
        back.push_back(CustNo());
    }
    EXPECT_EQ(back, (std::vector<int>{25, 18, 17, 16, 15, 14, 13, 12, 11, 9, 8, 7}));
    EXPECT_EQ(Table->RecNo(), 1);
    // A query's rows shrink the same way.
    TSQLQuery* query = TSQLQuery::Create(Owner);
    query->SetConnection(Mine);
    query->SQL()->Add("SELECT \"CustNo\" FROM customer ORDER BY \"CustNo\"");
    query->SetWindowSize(4);
    query->Open();
    Other->ExecuteDirect("DELETE FROM customer WHERE \"CustNo\" > 15");
    int rows = 0;
    for (; !query->Eof() && rows < 30; query->Next(), ++rows) ASSERT_FALSE(query->Fields(0)->IsNull());
    EXPECT_EQ(rows, 8);
    EXPECT_EQ(query->RecordCount(), 8);
}

// Reached by key, the record's number is an estimate: scrolling both ways
// from it over rows the other inserted and deleted still shows each row
// once, and the ends are where the rows end.
TEST_P(SqlOtherWritersTest, ScrollingFromARecordFoundByKeyNeitherRepeatsNorSkips) {
    GoTo(10);
    const TBookmark ten = Table->GetBookmark();
    Other->ExecuteDirect(
        "DELETE FROM customer WHERE \"CustNo\" IN (3, 12, 13, 20);"
        "INSERT INTO customer VALUES (0, 'Early', 'Town', 0);"
        "INSERT INTO customer VALUES (30, 'Late', 'Town', 30)");
    std::vector<int> ahead;
    for (; !Table->Eof() && ahead.size() < 40; Table->Next()) ahead.push_back(CustNo());
    EXPECT_EQ(ahead, (std::vector<int>{10, 11, 14, 15, 16, 17, 18, 19, 30}));
    Table->GotoBookmark(ten);
    EXPECT_EQ(CustNo(), 10);
    std::vector<int> behind;
    for (; !Table->Bof() && behind.size() < 40; Table->Prior()) behind.push_back(CustNo());
    EXPECT_EQ(behind, (std::vector<int>{10, 9, 8, 7, 6, 5, 4, 2, 1, 0}));
    EXPECT_EQ(Table->RecNo(), 1);
    EXPECT_EQ(Table->RecordCount(), 18);
    // A bookmark of a row gone elsewhere: refused, the cursor stays.
    GoTo(19);
    const TBookmark nineteen = Table->GetBookmark();
    Other->ExecuteDirect("DELETE FROM customer WHERE \"CustNo\" = 19");
    Table->First();
    EXPECT_FALSE(Table->BookmarkValid(nineteen));
    EXPECT_EQ(ErrorOf([&] { Table->GotoBookmark(nineteen); }), "Record not found");
    EXPECT_EQ(CustNo(), 0);
    Table->Last();
    EXPECT_EQ(CustNo(), 30);
    EXPECT_EQ(Table->RecNo(), 17);
}

INSTANTIATE_TEST_SUITE_P(Engines, SqlOtherWritersTest, ::testing::Values("Sqlite", "Postgres"),
                         [](const auto& info) { return info.param; });

} // namespace
} // namespace host::testing
