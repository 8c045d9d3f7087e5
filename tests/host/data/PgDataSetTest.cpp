// The SQL datasets on PostgreSQL where the server's own behaviour matters:
// names that look like SQL, writes the server refuses, a session that is
// lost under an open dataset, and a query with named parameters.

#include "host/core/ClassRegistry.h"
#include "host/core/Exception.h"
#include "host/data/DataSource.h"
#include "host/data/SqlQuery.h"
#include "host/data/SqlRegistration.h"
#include "host/data/SqlTable.h"
#include "host/stream/Reader.h"
#include "host/stream/Writer.h"
#include "tests/host/data/PgTestServer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace host::testing {
namespace {

using ::testing::HasSubstr;

class PgDataSetTest : public PgTest {
protected:
    TSQLTable* Table(const std::string& name) {
        TSQLTable* table = TSQLTable::Create(Owner);
        table->SetConnection(Conn);
        table->SetTableName(name);
        table->SetWindowSize(2);
        return table;
    }
    Variant Count(const std::string& sql) {
        TSQLStatementPtr statement = Conn->Prepare(sql);
        statement->Execute();
        return statement->Fetch() ? statement->ColumnValue(0) : Variant();
    }
};

TEST_F(PgDataSetTest, NamesThatLookLikeSqlAreQuotedNeverRun) {
    const std::string tableName = "x\"; DROP TABLE t; --";
    // ";" separates names in a field list, so the searched field has none.
    const std::string fieldName = "a\"b DROP TABLE t --";
    const std::string otherName = "c\"; DROP TABLE t; --";
    Conn->ExecuteDirect("CREATE TABLE t (id integer)");
    Conn->ExecuteDirect("CREATE TABLE " + Conn->QuoteIdentifier(tableName) + " (id integer PRIMARY KEY, " +
                        Conn->QuoteIdentifier(fieldName) + " varchar(30), " + Conn->QuoteIdentifier(otherName) +
                        " text)");
    TSQLTable* table = Table(tableName);
    table->Open();
    ASSERT_NE(table->FindField(fieldName), nullptr);
    for (int i = 1; i <= 3; ++i) {
        table->Append();
        table->FieldByName("id")->SetValue(i);
        table->FieldByName(fieldName)->SetValue("'); DROP TABLE t; -- " + std::to_string(i));
        table->FieldByName(otherName)->SetValue("x");
        table->Post();
    }
    EXPECT_EQ(table->Lookup(fieldName, "'); DROP TABLE t; -- 2", "id"), Variant(2));
    EXPECT_TRUE(table->Locate(fieldName, "'); drop", {loPartialKey, loCaseInsensitive}));
    EXPECT_EQ(table->FieldByName("id")->Value(), Variant(1));
    table->Last();
    table->Edit();
    table->FieldByName(fieldName)->SetValue("\"; --");
    table->Post();
    table->Delete();
    table->Close();
    table->Open();
    EXPECT_EQ(table->RecordCount(), 2);
    EXPECT_EQ(table->FieldByName(otherName)->Value(), Variant("x"));
    EXPECT_EQ(Count("SELECT count(*) FROM t"), Variant(0));  // still there
}

TEST_F(PgDataSetTest, APostTheServerRefusesKeepsWhatTheUserTyped) {
    Conn->ExecuteDirect(
        "CREATE TABLE part (id integer PRIMARY KEY, name varchar(20) NOT NULL, price numeric CHECK (price >= 0))");
    Conn->ExecSQL("INSERT INTO part VALUES (?, ?, ?)", {Variant(1), Variant("bolt"), Variant(0.25)});
    TSQLTable* parts = Table("part");
    parts->Open();

    parts->Append();
    parts->FieldByName("id")->SetValue(1);  // taken
    parts->FieldByName("name")->SetValue("nut");
    parts->FieldByName("price")->SetValue(0.1);
    try {
        parts->Post();
        FAIL() << "the duplicate key was posted";
    } catch (const EDatabaseError& e) {
        EXPECT_THAT(e.Message(), HasSubstr("duplicate key value violates unique constraint"));
    }
    EXPECT_EQ(parts->State(), dsInsert);
    EXPECT_EQ(parts->FieldByName("name")->Value(), Variant("nut"));
    EXPECT_EQ(parts->FieldByName("price")->Value(), Variant(0.1));
    EXPECT_FALSE(Conn->InTransaction());  // its own transaction was rolled back
    parts->FieldByName("id")->SetValue(2);
    parts->Post();
    EXPECT_EQ(parts->State(), dsBrowse);
    EXPECT_EQ(Count("SELECT count(*) FROM part"), Variant(2));

    ASSERT_TRUE(parts->Locate("id", 2, {}));
    parts->Edit();
    parts->FieldByName("price")->SetValue(-5.0);
    EXPECT_THROW(parts->Post(), EDatabaseError);
    EXPECT_EQ(parts->State(), dsEdit);
    EXPECT_EQ(parts->FieldByName("price")->Value(), Variant(-5.0));
    parts->Cancel();
    EXPECT_EQ(parts->FieldByName("price")->Value(), Variant(0.1));

    // Inside the user's own transaction the refusal leaves it to them.
    Conn->StartTransaction();
    parts->Edit();
    parts->FieldByName("name")->Clear();
    EXPECT_THAT([&] { parts->Post(); }, ::testing::Throws<EDatabaseError>());
    EXPECT_EQ(parts->State(), dsEdit);
    Conn->Rollback();
    parts->FieldByName("name")->SetValue("washer");
    parts->Post();
    EXPECT_EQ(Count("SELECT count(*) FROM part WHERE name = 'washer'"), Variant(1));

    // The refusal undoes the refused write alone: the server's transaction
    // is not left failed, and the mended record posts within it.
    Conn->StartTransaction();
    parts->Edit();
    parts->FieldByName("name")->Clear();
    EXPECT_THROW(parts->Post(), EDatabaseError);
    parts->FieldByName("name")->SetValue("hinge");
    parts->Post();
    Conn->Commit();
    EXPECT_EQ(Count("SELECT count(*) FROM part WHERE name = 'hinge'"), Variant(1));
}

TEST_F(PgDataSetTest, ALostSessionUnderAnOpenDataSetRaisesAndReopens) {
    Conn->ExecuteDirect("CREATE TABLE n (id integer PRIMARY KEY, name text)");
    Conn->ExecuteDirect("INSERT INTO n SELECT g, 'row ' || g FROM generate_series(1, 50) g");
    TSQLTable* table = Table("n");
    table->Open();
    Terminate(*Conn);

    try {
        table->Last();
        table->FieldByName("id")->Value();  // the last rows come from the server
        FAIL() << "no error after the session was lost";
    } catch (const EDatabaseError& e) {
        EXPECT_THAT(e.Message(), HasSubstr("lost"));
    }
    Conn->Close();
    EXPECT_FALSE(table->Active());
    Conn->Open();
    Scratch->Use(*Conn);
    table->Open();
    table->Last();
    EXPECT_EQ(table->FieldByName("id")->Value(), Variant(50));
    EXPECT_EQ(table->Lookup("id", 7, "name"), Variant("row 7"));
}

TEST_F(PgDataSetTest, BigintColumnsGetLargeIntegerFields) {
    Conn->ExecuteDirect(
        "CREATE TABLE event (id bigint PRIMARY KEY, hits integer, tag oid);"
        "INSERT INTO event VALUES (5000000001, 3, 4000000000), (5000000002, NULL, 1), (9007199254740993, 4, 2)");
    TSQLTable* events = Table("event");
    events->Open();
    EXPECT_EQ(events->FieldByName("id")->DataType(), ftLargeint);
    EXPECT_EQ(events->FieldByName("hits")->DataType(), ftInteger);
    EXPECT_EQ(events->FieldByName("tag")->DataType(), ftLargeint) << "an oid is unsigned 32 bits";
    events->Last();
    EXPECT_EQ(events->FieldByName("id")->AsInteger(), int64_t{9007199254740993});
    EXPECT_EQ(events->Lookup("id", int64_t{9007199254740993}, "hits"), Variant(4));
    EXPECT_TRUE(events->Lookup("id", int64_t{9007199254740992}, "hits").IsNull()) << "no rounding through a double";
    EXPECT_EQ(events->Lookup("tag", int64_t{4000000000}, "id"), Variant(int64_t{5000000001}));
    ASSERT_TRUE(events->Locate("id", 5000000002.0, {}));
    EXPECT_EQ(events->RecNo(), 2);
    events->Edit();
    events->FieldByName("id")->SetText("-9223372036854775808");
    events->Post();
    EXPECT_EQ(events->RecNo(), 1) << "the smallest key goes first";
    EXPECT_EQ(Count("SELECT count(*) FROM event WHERE id = -9223372036854775808"), Variant(1));
    events->Append();
    events->FieldByName("id")->SetValue(INT64_MAX);
    events->FieldByName("hits")->SetValue(1);
    EXPECT_THROW(events->FieldByName("hits")->SetValue(int64_t{3000000000}), EDatabaseError);
    events->Post();
    EXPECT_EQ(Count("SELECT hits FROM event WHERE id = 9223372036854775807"), Variant(1));
}

TEST_F(PgDataSetTest, AQueryBindsItsNamedParameters) {
    Conn->ExecuteDirect("CREATE TABLE c (id integer PRIMARY KEY, city text, since date)");
    Conn->ExecuteDirect(
        "INSERT INTO c SELECT g, CASE WHEN g % 3 = 0 THEN 'Oslo' ELSE 'Bergen' END, DATE '2020-01-01' + g"
        " FROM generate_series(1, 30) g");
    TSQLQuery* query = TSQLQuery::Create(Owner);
    query->SetConnection(Conn);
    query->SetWindowSize(4);
    query->SQL()->SetText("SELECT id, city FROM c WHERE city = :City AND id > :From -- not :This\nORDER BY id");
    query->ParamByName("City").SetValue("Oslo");
    query->ParamByName("From").SetValue(10);
    Conn->StatementLog().SetActive(true);
    Conn->StatementLog().Clear();
    query->Open();
    EXPECT_EQ(query->FieldByName("id")->Value(), Variant(12));
    query->Last();
    EXPECT_EQ(query->FieldByName("id")->Value(), Variant(30));
    EXPECT_EQ(query->RecNo(), 7);
    EXPECT_EQ(Conn->StatementLog().CountContaining("COUNT("), 0) << "opened, read to the end, never counted";
    EXPECT_EQ(query->RecordCount(), 7);
    query->Close();
    query->ParamByName("City").SetValue("'; DROP TABLE c; --");
    query->Open();
    EXPECT_TRUE(query->IsEmpty());
    EXPECT_EQ(Count("SELECT count(*) FROM c"), Variant(30));
}

// A connection string in a form file: quotes inside it survive the form's
// string syntax, and the module connects and opens once it is read.
TEST_F(PgDataSetTest, AFormFileHoldsTheConnectionAndOpensItsTable) {
    RegisterSQLClasses();
    RegisterClasses({&TDataModule::ClassInfo(), &TDataSource::ClassInfo()});
    Conn->ExecuteDirect("CREATE TABLE customer (\"CustNo\" integer PRIMARY KEY, \"Company\" varchar(30))");
    Conn->ExecSQL("INSERT INTO customer VALUES (?, ?), (?, ?)",
                  {Variant(1231), Variant("Unisco"), Variant(1221), Variant("Kauai Dive Shoppe")});
    const std::string conninfo = *PgConnInfo() + " options='-c search_path=" + Scratch->Schema() + "'";
    std::string quoted;
    for (char c : conninfo) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    const std::string text = "object OrderData: TDataModule\n"
                             "  object Database: TPostgresConnection\n"
                             "    Connected = True\n"
                             "    ConnectionString = '" + quoted + "'\n"
                             "  end\n"
                             "  object Customers: TSQLTable\n"
                             "    Active = True\n"
                             "    Connection = Database\n"
                             "    TableName = 'customer'\n"
                             "  end\n"
                             "end\n";
    Owned<TDataModule> module(As<TDataModule>(CreateComponentFromText(text)));
    auto* database = As<TPostgresConnection>(module->FindComponent("Database"));
    auto* customers = As<TSQLTable>(module->FindComponent("Customers"));
    ASSERT_TRUE(database && customers);
    EXPECT_EQ(database->ConnectionString(), conninfo);
    EXPECT_TRUE(database->Connected());
    ASSERT_TRUE(customers->Active());
    EXPECT_EQ(customers->FieldByName("CustNo")->Value(), Variant(1221));  // in key order
    EXPECT_EQ(customers->RecordCount(), 2);

    const std::string written = WriteComponentText(module.get());
    for (const char* absent : {"Port =", "UserName =", "Password =", "HostName =", "DatabaseName ="})
        EXPECT_EQ(written.find(absent), std::string::npos) << absent << " is at its default";
    Owned<TDataModule> again(As<TDataModule>(CreateComponentFromText(written)));
    EXPECT_EQ(As<TPostgresConnection>(again->FindComponent("Database"))->ConnectionString(), conninfo);
    EXPECT_EQ(WriteComponentText(again.get()), written);
    database->SetPort(6543);
    database->SetUserName("clerk");
    const std::string more = WriteComponentText(module.get());
    EXPECT_NE(more.find("Port = 6543"), std::string::npos) << more;
    EXPECT_NE(more.find("UserName = 'clerk'"), std::string::npos) << more;
}

} // namespace
} // namespace host::testing
