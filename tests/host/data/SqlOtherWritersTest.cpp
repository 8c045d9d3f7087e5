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
    std::string Stored(int custNo) {
        const auto rows = Database->Query("SELECT \"Company\", \"City\", \"Rating\" FROM customer WHERE \"CustNo\" = " +
                                          std::to_string(custNo));
        return rows.empty() ? "(none)" : rows.front();
    }
    // The message of the exception Act raises; empty when none.
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

    std::optional<TSqlTestDatabase> Database;
    TComponent* Owner = nullptr;
    TSQLConnection* Mine = nullptr;
    TSQLConnection* Other = nullptr;
    TSQLTable* Table = nullptr;
};

TEST_P(SqlOtherWritersTest, PostOverAChangedRowIsRefusedAsTheUpdateModeSays) {
    EXPECT_EQ(Table->UpdateMode(), upWhereChanged);
    // The same column: refused, the edit kept, nothing written; Cancel shows
    // the other's value.
    GoTo(3);
    Table->Edit();
    Table->FieldByName("Company")->SetValue("Mine");
    Table->FieldByName("Rating")->SetValue(99);
    Other->ExecSQL("UPDATE customer SET \"Company\" = 'Theirs' WHERE \"CustNo\" = 3");
    EXPECT_EQ(ErrorOf([&] { Table->Post(); }), "Record changed by another user (table customer)");
    EXPECT_EQ(Table->State(), dsEdit);
    EXPECT_EQ(Company(), "Mine");
    EXPECT_EQ(Table->FieldByName("Rating")->AsInteger(), 99);
    EXPECT_EQ(Stored(3), "Theirs|Town|3") << "nothing half-written";
    Table->Cancel();
    EXPECT_EQ(Table->State(), dsBrowse);
    EXPECT_EQ(Company(), "Theirs") << "Cancel shows the row as it is now";
    EXPECT_EQ(Table->FieldByName("CustNo")->AsInteger(), 3);

    // Another column: both changes stand, as only changed columns are set
    // and compared (a NULL column compared too).
    GoTo(5);
    Table->Edit();
    Table->FieldByName("Rating")->SetValue(50);
    Table->FieldByName("City")->SetValue("Port");
    Other->ExecSQL("UPDATE customer SET \"Company\" = 'Theirs' WHERE \"CustNo\" = 5");
    Table->Post();
    EXPECT_EQ(Stored(5), "Theirs|Port|50");

    // upWhereAll: any column changed elsewhere refuses; a NULL compares equal.
    Table->SetUpdateMode(upWhereAll);
    GoTo(10);
    Table->Edit();
    Table->FieldByName("Rating")->SetValue(11);
    Table->Post();
    EXPECT_EQ(Stored(10), "Company 10||11") << "NULL City matched itself";
    GoTo(6);
    Table->Edit();
    Table->FieldByName("Rating")->SetValue(60);
    Other->ExecSQL("UPDATE customer SET \"City\" = 'Elsewhere' WHERE \"CustNo\" = 6");
    EXPECT_EQ(ErrorOf([&] { Table->Post(); }), "Record changed by another user (table customer)");
    EXPECT_EQ(Stored(6), "Company 6|Elsewhere|6");
    Table->Cancel();

    // upWhereKeyOnly: the later writer wins, in its own columns only.
    Table->SetUpdateMode(upWhereKeyOnly);
    GoTo(7);
    Table->Edit();
    Table->FieldByName("Company")->SetValue("Mine");
    Other->ExecSQL("UPDATE customer SET \"Company\" = 'Theirs', \"Rating\" = 70 WHERE \"CustNo\" = 7");
    Table->Post();
    EXPECT_EQ(Stored(7), "Mine|Town|70");
}

TEST_P(SqlOtherWritersTest, WritesToARowDeletedElsewhereAreRefused) {
    // A post inside the application's own transaction: refused, the
    // transaction goes on untouched.
    GoTo(8);
    Table->Edit();
    Table->FieldByName("Company")->SetValue("Mine");
    Other->ExecSQL("DELETE FROM customer WHERE \"CustNo\" = 8");
    Mine->StartTransaction();
    Mine->ExecSQL("UPDATE customer SET \"Rating\" = 0 WHERE \"CustNo\" = 1");
    EXPECT_EQ(ErrorOf([&] { Table->Post(); }), "Record deleted by another user (table customer)");
    EXPECT_EQ(Table->State(), dsEdit);
    EXPECT_EQ(Company(), "Mine");
    Mine->Commit();
    EXPECT_EQ(Stored(1), "Company 1|Town|0");
    EXPECT_EQ(Stored(8), "(none)");
    Table->Cancel();
    EXPECT_EQ(Table->FieldByName("CustNo")->AsInteger(), 9) << "the neighbour, as the row is gone";
    EXPECT_EQ(Table->RecordCount(), 19);

    GoTo(12);
    Other->ExecSQL("DELETE FROM customer WHERE \"CustNo\" = 12");
    EXPECT_EQ(ErrorOf([&] { Table->Delete(); }), "Record deleted by another user (table customer)");
    // upWhereAll deletes only the row as shown.
    Table->SetUpdateMode(upWhereAll);
    GoTo(13);
    Other->ExecSQL("UPDATE customer SET \"Rating\" = 130 WHERE \"CustNo\" = 13");
    EXPECT_EQ(ErrorOf([&] { Table->Delete(); }), "Record changed by another user (table customer)");
    EXPECT_EQ(Stored(13), "Company 13|Town|130");
    Table->RefreshRecord();
    EXPECT_EQ(Table->FieldByName("Rating")->AsInteger(), 130);
    Table->Delete();
    EXPECT_EQ(Stored(13), "(none)");
}

TEST_P(SqlOtherWritersTest, RefreshAndRefreshRecordReadWhatIsThereNow) {
    GoTo(2);
    Other->ExecSQL("UPDATE customer SET \"Company\" = 'Renamed' WHERE \"CustNo\" = 2");
    EXPECT_EQ(Company(), "Company 2") << "the window is a snapshot";
    Table->RefreshRecord();
    EXPECT_EQ(Company(), "Renamed");
    EXPECT_EQ(Table->RecNo(), 2);

    // Rows before the cursor come and go: Refresh keeps the cursor on its row.
    Other->ExecSQL("INSERT INTO customer VALUES (0, 'First', NULL, 0)");
    Other->ExecSQL("DELETE FROM customer WHERE \"CustNo\" = 1");
    Other->ExecSQL("INSERT INTO customer VALUES (-1, 'Before', NULL, 0)");
    Table->Refresh();
    EXPECT_EQ(Table->FieldByName("CustNo")->AsInteger(), 2);
    EXPECT_EQ(Table->RecNo(), 3);
    EXPECT_EQ(Table->RecordCount(), 21);

    // The current row deleted elsewhere: RefreshRecord moves to its neighbour.
    Other->ExecSQL("DELETE FROM customer WHERE \"CustNo\" = 2");
    Table->RefreshRecord();
    EXPECT_EQ(Table->FieldByName("CustNo")->AsInteger(), 3);
    EXPECT_EQ(Table->RecordCount(), 20);
}

TEST_P(SqlOtherWritersTest, ScrollingOverRowsChangedElsewhereShowsEachOnceNeverNull) {
    Table->First();
    EXPECT_EQ(Company(), "Company 1") << "the first window read";
    // Deleted in the window, ahead of it and at the end; changed and
    // inserted ahead.
    Other->ExecuteDirect(
        "DELETE FROM customer WHERE \"CustNo\" IN (2, 10, 19, 20);"
        "UPDATE customer SET \"Company\" = 'Changed' WHERE \"CustNo\" = 12;"
        "INSERT INTO customer VALUES (25, 'Late', 'Town', 25)");
    std::vector<int> seen;
    for (; !Table->Eof(); Table->Next()) {
        ASSERT_FALSE(Table->FieldByName("CustNo")->IsNull()) << "after " << seen.size() << " rows";
        ASSERT_FALSE(Table->FieldByName("Company")->IsNull());
        seen.push_back(Table->FieldByName("CustNo")->AsInteger());
        if (seen.back() == 12) {
            EXPECT_EQ(Company(), "Changed");
        }
        ASSERT_LT(seen.size(), 30u);
    }
    const std::vector<int> expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 25};
    EXPECT_EQ(seen, expected) << "row 2 shows as read with its window";
    EXPECT_EQ(Table->RecordCount(), static_cast<int>(expected.size()));
    EXPECT_EQ(Table->RecNo(), Table->RecordCount());

    // Back to the start, over rows deleted behind: numbered anew, the cursor
    // with them.
    Other->ExecuteDirect("DELETE FROM customer WHERE \"CustNo\" IN (1, 3, 4, 5, 6)");
    std::vector<int> back;
    for (; !Table->Bof(); Table->Prior()) {
        ASSERT_FALSE(Table->FieldByName("CustNo")->IsNull()) << "after " << back.size() << " rows";
        back.push_back(Table->FieldByName("CustNo")->AsInteger());
        ASSERT_LT(back.size(), 30u);
    }
    for (size_t i = 1; i < back.size(); ++i) {
        EXPECT_GT(back[i - 1], back[i]) << "at " << i;
    }
    EXPECT_EQ(back.back(), 7) << "the first row there is now";
    EXPECT_EQ(Table->RecNo(), 1);

    // A query's rows shrink the same way.
    TSQLQuery* query = TSQLQuery::Create(Owner);
    query->SetConnection(Mine);
    query->SQL()->Add("SELECT \"CustNo\" FROM customer ORDER BY \"CustNo\"");
    query->SetWindowSize(4);
    query->Open();
    const int counted = query->RecordCount();
    Other->ExecuteDirect("DELETE FROM customer WHERE \"CustNo\" > 15");
    int rows = 0;
    for (; !query->Eof(); query->Next(), ++rows) {
        ASSERT_FALSE(query->Fields(0)->IsNull()) << "row " << rows;
        ASSERT_LT(rows, counted);
    }
    EXPECT_EQ(rows, counted - 4) << "16, 17, 18 and 25 gone";
    EXPECT_EQ(query->RecordCount(), rows);
}

INSTANTIATE_TEST_SUITE_P(Engines, SqlOtherWritersTest, ::testing::Values("Sqlite", "Postgres"),
                         [](const auto& info) { return info.param; });

} // namespace
} // namespace host::testing
