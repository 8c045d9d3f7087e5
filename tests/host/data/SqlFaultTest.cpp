// The SQL datasets over a connection whose Nth step fails at the engine's
// boundary, for every N until a run no longer reaches the failure, on SQLite
// and on the PostgreSQL test server. Each time the error is raised once and
// names its operation, or the failure was only in finding a written
// record's place and is kept quiet; the stored rows (read through a
// connection of their own) are the ones before or the ones after, never a
// mix; what was typed stays in the edit and posts on the second try without
// storing anything twice; and the dataset shows what is stored.

#include "PgTestServer.h"
#include "SqlTestDatabase.h"

#include "host/core/Exception.h"
#include "host/data/SqlQuery.h"
#include "host/data/SqlTable.h"
#include "tests/support/FaultyConnection.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace host::testing {
namespace {

using Rows = std::vector<std::string>;

// Part 01 to Part 12, numbered 10 to 120.
std::string Baseline() {
    std::string sql = "DELETE FROM part; INSERT INTO part VALUES ";
    for (int i = 1; i <= 12; ++i) {
        const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
        sql += (i > 1 ? ", (" : "(") + std::to_string(i * 10) + ", 'Part " + n + "')";
    }
    return sql;
}

class SqlFaultTest : public ::testing::TestWithParam<std::string> {
protected:
    bool OnServer() const { return GetParam() == "Postgres"; }

    void SetUp() override {
        if (OnServer()) VESKAR_NEED_PG();
        Database.emplace(OnServer());
        Owner = TComponent::Create(nullptr);
        Real = Database->Connect(Owner);
        Real->ExecuteDirect("CREATE TABLE part (\"PartNo\" INTEGER PRIMARY KEY, \"Name\" VARCHAR(20));"
                            "CREATE INDEX part_name ON part (\"Name\")");
        Real->ExecuteDirect(Baseline());
        Faulty = TFaultyConnection::Create(Owner);
        Faulty->SetName("Database");
        Faulty->SetTarget(Real);
    }
    void TearDown() override {
        if (Owner) Owner->Free();
        Database.reset();
    }

    // A table on the parts in name order, its window smaller than the table.
    TSQLTable* PartTable() {
        TSQLTable* table = TSQLTable::Create(Owner);
        table->SetName("Parts");
        table->SetConnection(Faulty);
        table->SetTableName("part");
        table->SetIndexFieldNames("Name");
        table->SetWindowSize(4);
        table->Open();
        return table;
    }

    // The stored parts in name order as "number|name", read through a
    // connection of their own.
    Rows Stored() { return Database->Query("SELECT \"PartNo\", \"Name\" FROM part ORDER BY \"Name\""); }

    // What the dataset shows, record by record, read without moving it.
    static Rows Seen(const TDataSet* dataSet) {
        Rows rows;
        for (int r = 0; r < dataSet->DisplayRowCount(); ++r)
            rows.push_back(dataSet->DisplayValue(r, *dataSet->Fields(0)).AsString() + "|" +
                           dataSet->DisplayValue(r, *dataSet->Fields(1)).AsString());
        return rows;
    }

    // Runs Step with the Nth step of the connection failing; answers the
    // message raised, if any. Failed and Operation tell of the failure.
    std::optional<std::string> FailingAt(int n, const std::function<void()>& step) {
        Faulty->FailAt(n);
        std::optional<std::string> raised;
        try {
            step();
        } catch (const EDatabaseError& e) {
            raised = e.Message();
        }
        Failed = Faulty->Failed();
        Operation = Faulty->FailedOperation();
        Faulty->FailAt(0);
        return raised;
    }

    // The message Step raised; "" when it raised none.
    static std::string RaisedBy(const std::function<void()>& step) {
        try {
            step();
        } catch (const EDatabaseError& e) {
            return e.Message();
        }
        return {};
    }

    static std::string Expected(TStorageOperation operation) {
        return std::string("Database: the storage failed to ") + StorageOperationVerb(operation);
    }

    std::optional<TSqlTestDatabase> Database;
    TComponent* Owner = nullptr;
    TSQLConnection* Real = nullptr;
    TFaultyConnection* Faulty = nullptr;
    bool Failed = false;
    TStorageOperation Operation = TStorageOperation::Open;
};

enum class TEdit { Move, Insert, Delete };

struct TEditCase {
    TEdit Kind;
    bool InUsersTransaction;
    const char* Name;
};

TEST_P(SqlFaultTest, EveryEditOverFailingStatements) {
    TSQLTable* parts = PartTable();
    const Rows before = Stored();
    for (const TEditCase& edit : {TEditCase{TEdit::Move, false, "move"}, TEditCase{TEdit::Insert, false, "insert"},
                                  TEditCase{TEdit::Delete, false, "delete"}, TEditCase{TEdit::Move, true, "move in a transaction"},
                                  TEditCase{TEdit::Insert, true, "insert in a transaction"},
                                  TEditCase{TEdit::Delete, true, "delete in a transaction"}}) {
        // The stored parts after the edit, and the record the cursor ends on.
        Rows after = before;
        std::string landing;
        switch (edit.Kind) {
        case TEdit::Move:
            after.erase(after.begin() + 2);
            after.insert(after.begin() + 9, landing = "30|Part 10b");
            break;
        case TEdit::Insert: after.insert(after.begin() + 6, landing = "65|Part 06b"); break;
        case TEdit::Delete:
            after.erase(after.begin() + 2);
            landing = "40|Part 04";
            break;
        }
        int reached = 0;
        for (int n = 1; n < 500; ++n) {
            const std::string where = std::string(edit.Name) + ", failing at " + std::to_string(n);
            SCOPED_TRACE(where);
            Real->ExecuteDirect(Baseline());
            parts->Refresh();
            ASSERT_TRUE(parts->Locate("PartNo", 30, {}));
            if (edit.InUsersTransaction) Faulty->StartTransaction();
            const auto act = [&] {
                if (edit.Kind == TEdit::Delete) {
                    parts->Delete();
                    return;
                }
                if (edit.Kind == TEdit::Insert) {
                    parts->Insert();
                    parts->FieldByName("PartNo")->SetValue(65);
                } else {
                    parts->Edit();
                }
                parts->FieldByName("Name")->SetValue(edit.Kind == TEdit::Insert ? "Part 06b" : "Part 10b");
                parts->Post();
            };
            // Once the storage works, the same command stores it once.
            const auto again = [&] {
                if (edit.Kind == TEdit::Delete)
                    parts->Delete();
                else
                    parts->Post();
            };
            const auto raised = FailingAt(n, act);
            const bool failed = Failed;
            const TStorageOperation operation = Operation;
            if (raised) {
                EXPECT_TRUE(failed);
                EXPECT_EQ(*raised, Expected(operation));
                EXPECT_EQ(operation, edit.Kind == TEdit::Delete ? TStorageOperation::Delete : TStorageOperation::Post);
                // Nothing stored (the stored rows are read once the
                // transaction is over); what was typed is still there.
                if (edit.Kind != TEdit::Delete) {
                    EXPECT_EQ(parts->State(), edit.Kind == TEdit::Insert ? dsInsert : dsEdit);
                    EXPECT_EQ(parts->FieldByName("Name")->AsString(), edit.Kind == TEdit::Insert ? "Part 06b" : "Part 10b");
                } else {
                    EXPECT_EQ(parts->State(), dsBrowse);
                    EXPECT_EQ(parts->FieldByName("PartNo")->AsInteger(), 30) << "still on the record to delete";
                }
                if (!edit.InUsersTransaction) {
                    EXPECT_EQ(Stored(), before) << "a failed write stores nothing";
                }
                if (const std::string refused = RaisedBy(again); !refused.empty()) {
                    // A server that gave the transaction up (the failure
                    // struck before the write's savepoint stood) refuses
                    // all until it is rolled back; then the same command
                    // stores it, what was typed being still there.
                    EXPECT_TRUE(edit.InUsersTransaction && OnServer()) << refused;
                    Faulty->Rollback();
                    EXPECT_EQ(Stored(), before);
                    Faulty->StartTransaction();
                    again();
                }
            } else if (failed) {
                EXPECT_EQ(operation, TStorageOperation::Locate) << "only finding the written record's place is quiet";
            }
            if (edit.InUsersTransaction) {
                if (const std::string refused = RaisedBy([&] { Faulty->Commit(); }); !refused.empty()) {
                    // The server gave the transaction up while finding the
                    // written record's place: the work is lost, and the
                    // commit says so. Done again, it is stored.
                    EXPECT_TRUE(OnServer() && failed && !raised) << refused;
                    EXPECT_EQ(refused, "The transaction was rolled back: a statement in it had failed");
                    Faulty->Rollback();
                    EXPECT_EQ(Stored(), before);
                    parts->Refresh();
                    EXPECT_EQ(Seen(parts), before);
                    ASSERT_TRUE(parts->Locate("PartNo", 30, {}));
                    act();
                }
            }
            EXPECT_EQ(parts->State(), dsBrowse);
            EXPECT_EQ(Stored(), after);
            EXPECT_EQ(parts->RecordCount(), static_cast<int>(after.size()));
            EXPECT_EQ(Seen(parts), after) << "the dataset shows what is stored";
            if (!failed || raised) {
                EXPECT_EQ(parts->FieldByName("PartNo")->AsString() + "|" + parts->FieldByName("Name")->AsString(),
                          landing);
            }
            if (!failed) {
                reached = n;
                break;
            }
        }
        // Read, begin, write, commit, find the place: several steps each.
        EXPECT_GE(reached, 4) << edit.Name;
    }
}

// Reading a table and a query in windows, searching them: a failed read is
// raised and the next one, with the storage working again, reads the right
// rows, not what a half-read window left behind.
TEST_P(SqlFaultTest, ReadingAndSearchingOverFailingStatements) {
    TSQLQuery* query = TSQLQuery::Create(Owner);
    query->SetName("PartQuery");
    query->SetConnection(Faulty);
    query->SQL()->SetText("SELECT \"PartNo\", \"Name\" FROM part ORDER BY \"Name\"");
    query->SetWindowSize(4);
    query->Open();
    TSQLTable* table = PartTable();
    const Rows stored = Stored();
    for (TDataSet* dataSet : {static_cast<TDataSet*>(table), static_cast<TDataSet*>(query)}) {
        int reached = 0;
        for (int n = 1; n < 1000; ++n) {
            const std::string where = dataSet->Name() + ", failing at " + std::to_string(n);
            SCOPED_TRACE(where);
            dataSet->First();
            Rows walked;
            Variant found;
            const auto raised = FailingAt(n, [&] {
                // Down through every window, and back up.
                while (!dataSet->Eof()) {
                    walked.push_back(dataSet->Fields(1)->AsString());
                    dataSet->Next();
                }
                while (!dataSet->Bof()) dataSet->Prior();
                dataSet->Locate("Name", "part 1", TLocateOptions{loCaseInsensitive, loPartialKey});
                found = dataSet->Lookup("PartNo", 70, "Name");
            });
            const bool failed = Failed;
            if (raised) {
                EXPECT_EQ(*raised, Expected(Operation));
            } else {
                EXPECT_FALSE(failed);
            }
            EXPECT_EQ(Seen(dataSet), stored) << "the next reads find every row";
            EXPECT_EQ(dataSet->Lookup("PartNo", 70, "Name"), Variant("Part 07"));
            EXPECT_TRUE(dataSet->Locate("Name", "part 1", TLocateOptions{loCaseInsensitive, loPartialKey}));
            EXPECT_EQ(dataSet->FieldByName("PartNo")->AsInteger(), 100);
            if (!failed) {
                EXPECT_EQ(walked.size(), stored.size());
                EXPECT_EQ(found, Variant("Part 07"));
                reached = n;
                break;
            }
        }
        EXPECT_GE(reached, 10) << dataSet->Name();
    }
}

// Opening fails at each step in turn; the dataset stays closed, raises once,
// and opens on the next try.
TEST_P(SqlFaultTest, OpeningOverFailingStatements) {
    TSQLTable* table = PartTable();
    table->Close();
    Faulty->Close();
    for (int n = 1;; ++n) {
        SCOPED_TRACE("failing at " + std::to_string(n));
        const auto raised = FailingAt(n, [&] { table->Open(); });
        const bool failed = Failed;
        EXPECT_EQ(raised.has_value(), failed);
        if (raised) {
            EXPECT_EQ(*raised, "Database: the storage failed to open");
            EXPECT_FALSE(table->Active());
            EXPECT_EQ(table->CachedStatements(), 0);
            table->Open();
        }
        EXPECT_EQ(Seen(table), Stored());
        table->Close();
        if (!failed) {
            EXPECT_GE(n, 4) << "connect, read the columns and the key, count";
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, SqlFaultTest, ::testing::Values("Sqlite", "Postgres"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
} // namespace host::testing
