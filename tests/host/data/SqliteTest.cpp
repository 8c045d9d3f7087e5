// The SQLite connection and the SQL datasets beyond the common contract:
// names that try to escape their quotes, database files that cannot be
// used, refused posts, transactions, large tables read in windows, queries.

#include "host/core/Component.h"
#include "host/core/Exception.h"
#include "host/data/SqlParams.h"
#include "host/data/SqlQuery.h"
#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace host::testing {
namespace {

class SqliteTest : public ::testing::Test {
protected:
    void SetUp() override {
        Module = TDataModule::Create(nullptr);
        Connection = TSQLiteConnection::Create(Module);
        Connection->SetDatabaseName(":memory:");
        Connection->Open();
    }
    void TearDown() override {
        Free(Module);
        if (!File.empty()) std::filesystem::remove(File);
    }
    TSQLTable* Table(const std::string& name, const std::string& order = {}) {
        TSQLTable* table = TSQLTable::Create(Module);
        table->SetConnection(Connection);
        table->SetTableName(name);
        table->SetIndexFieldNames(order);
        return table;
    }
    // Table q of ids 1..100 named n1..n100, and a query on it that reads
    // windows of 8 rows.
    TSQLQuery* QueryOverHundredRows() {
        Connection->ExecuteDirect(
            "CREATE TABLE q (id INTEGER PRIMARY KEY, name VARCHAR(8));"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100)"
            " INSERT INTO q SELECT i, 'n' || i FROM n");
        TSQLQuery* query = TSQLQuery::Create(Module);
        query->SetConnection(Connection);
        query->SetWindowSize(8);
        return query;
    }
    std::string TempFile(const char* tag) {
        File = (std::filesystem::temp_directory_path() / (std::string("veskar-") + tag + "-" +
                                                          std::to_string(getpid()) + ".db")).string();
        std::filesystem::remove(File);
        return File;
    }
    static std::string ErrorOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const EDatabaseError& e) {
            return e.Message();
        }
        return "(no error)";
    }

    TDataModule* Module = nullptr;
    TSQLiteConnection* Connection = nullptr;
    std::string File;
};

TEST_F(SqliteTest, NamesAreQuotedNeverExecuted) {
    const std::string evil = "x\"; DROP TABLE t; --";
    // ";" separates names in field lists: a searched column goes without.
    const std::string column = "y\" OR 1=1 --";
    Connection->ExecuteDirect("CREATE TABLE t (a INTEGER)");
    Connection->ExecuteDirect("CREATE TABLE " + Connection->QuoteIdentifier(evil) + " (" +
                              Connection->QuoteIdentifier(column) + " VARCHAR(30), \"b c\" INTEGER PRIMARY KEY, " +
                              Connection->QuoteIdentifier(evil) + " INTEGER)");
    TSQLTable* table = Table(evil, column);
    table->Open();
    table->Append();
    table->Fields(0)->SetValue("'); DELETE FROM t; --");
    table->Fields(2)->SetValue(7);
    table->Post();
    EXPECT_TRUE(table->Locate(column, "');", {loPartialKey}));
    EXPECT_EQ(table->Lookup("b c", table->FieldByName("b c")->Value(), column), Variant("'); DELETE FROM t; --"));
    EXPECT_EQ(table->Fields(2)->Value(), Variant(7));
    table->Edit();
    table->Fields(0)->SetValue("x\"y");
    table->Post();
    table->Delete();
    EXPECT_EQ(table->RecordCount(), 0);
    EXPECT_EQ(Connection->ExecSQL("INSERT INTO t VALUES (1)"), 1) << "table t is still there";
    EXPECT_EQ(Connection->QuoteIdentifier("a\"b"), "\"a\"\"b\"");
    EXPECT_THROW(Connection->QuoteIdentifier(std::string("a\0b", 3)), EDatabaseError);
}

TEST_F(SqliteTest, UnusableDatabasesGiveClearErrors) {
    EXPECT_NE(ErrorOf([&] { Table("missing")->Open(); }).find("no such table: missing"), std::string::npos);

    TSQLiteConnection* other = TSQLiteConnection::Create(Module);
    other->SetDatabaseName(TempFile("corrupt"));
    {
        std::ofstream out(File, std::ios::binary);
        out << std::string(4096, 'z');
    }
    EXPECT_NE(ErrorOf([&] { other->Open(); }).find("file is not a database"), std::string::npos);
    EXPECT_FALSE(other->Connected());

    other->SetDatabaseName("/nonexistent-folder/x.db");
    EXPECT_NE(ErrorOf([&] { other->Open(); }).find("unable to open database file"), std::string::npos);
    other->SetDatabaseName("");
    EXPECT_EQ(ErrorOf([&] { other->Open(); }), "Missing DatabaseName");
    EXPECT_EQ(ErrorOf([&] { Connection->SetDatabaseName("y.db"); }), "Cannot change the database of an open connection");
    EXPECT_NE(ErrorOf([&] { Connection->Prepare("SELEKT 1"); }).find("syntax error"), std::string::npos);
}

TEST_F(SqliteTest, ReadOnlyFileRefusesWritesAndKeepsTheEdit) {
    Connection->Close();
    Connection->SetDatabaseName(TempFile("readonly"));
    Connection->Open();
    Connection->ExecuteDirect("CREATE TABLE r (id INTEGER PRIMARY KEY, name VARCHAR(10)); INSERT INTO r VALUES (1, 'a')");
    Connection->Close();
    // File permissions do not bind the superuser: the engine's read-only mode does.
    Connection->SetDatabaseName("file:" + File + "?mode=ro");
    TSQLTable* table = Table("r");
    table->Open();
    table->Edit();
    table->FieldByName("name")->SetValue("b");
    EXPECT_NE(ErrorOf([&] { table->Post(); }).find("readonly"), std::string::npos);
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_EQ(table->FieldByName("name")->Value(), Variant("b"));
}

TEST_F(SqliteTest, RefusedPostsKeepWhatWasTypedAndPostAgain) {
    Connection->ExecuteDirect("CREATE TABLE p (id INTEGER PRIMARY KEY, name VARCHAR(10) NOT NULL CHECK (name <> 'bad'));"
                              "INSERT INTO p VALUES (1, 'one')");
    TSQLTable* table = Table("p");
    table->Open();
    table->Append();
    table->FieldByName("id")->SetValue(1);
    table->FieldByName("name")->SetValue("dup");
    EXPECT_NE(ErrorOf([&] { table->Post(); }).find("UNIQUE constraint failed"), std::string::npos);
    EXPECT_EQ(table->State(), dsInsert);
    EXPECT_EQ(table->FieldByName("name")->Value(), Variant("dup"));
    EXPECT_FALSE(Connection->InTransaction()) << "the automatic transaction is rolled back";
    table->FieldByName("id")->SetValue(2);
    table->Post();
    EXPECT_EQ(table->RecordCount(), 2);

    table->Edit();
    table->FieldByName("name")->SetValue("bad");
    EXPECT_NE(ErrorOf([&] { table->Post(); }).find("CHECK constraint failed"), std::string::npos);
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_EQ(table->FieldByName("name")->Value(), Variant("bad"));
    table->Cancel();
    EXPECT_EQ(table->FieldByName("name")->Value(), Variant("dup"));
}

TEST_F(SqliteTest, LockedDatabaseRaisesAndThePostGoesThroughLater) {
    Connection->Close();
    Connection->SetDatabaseName(TempFile("locked"));
    Connection->SetBusyTimeout(20);
    Connection->Open();
    Connection->ExecuteDirect("CREATE TABLE l (id INTEGER PRIMARY KEY, name VARCHAR(10)); INSERT INTO l VALUES (1, 'a')");
    TSQLiteConnection* other = TSQLiteConnection::Create(Module);
    other->SetDatabaseName(File);
    other->Open();
    other->ExecuteDirect("BEGIN EXCLUSIVE");
    TSQLTable* table = Table("l");
    EXPECT_NE(ErrorOf([&] { table->Open(); }).find("database is locked"), std::string::npos);
    other->ExecuteDirect("COMMIT");
    table->Open();
    table->Edit();
    table->FieldByName("name")->SetValue("b");
    other->ExecuteDirect("BEGIN EXCLUSIVE");
    EXPECT_NE(ErrorOf([&] { table->Post(); }).find("database is locked"), std::string::npos);
    EXPECT_EQ(table->State(), dsEdit);
    other->ExecuteDirect("ROLLBACK");
    table->Post();
    EXPECT_EQ(other->Connected(), true);
    table->Close();
    table->Open();
    EXPECT_EQ(table->FieldByName("name")->Value(), Variant("b"));
}

TEST_F(SqliteTest, TransactionsSpanPostsUntilCommitOrRollback) {
    Connection->Close();
    Connection->SetDatabaseName(TempFile("transactions"));
    Connection->Open();
    Connection->ExecuteDirect("CREATE TABLE tr (id INTEGER PRIMARY KEY, name VARCHAR(10))");
    TSQLTable* table = Table("tr");
    table->Open();
    Connection->StartTransaction();
    EXPECT_THROW(Connection->StartTransaction(), EDatabaseError);
    table->Append();
    table->FieldByName("name")->SetValue("gone");
    table->Post();
    EXPECT_TRUE(Connection->InTransaction());
    Connection->Rollback();
    table->Refresh();
    EXPECT_EQ(table->RecordCount(), 0);
    EXPECT_THROW(Connection->Commit(), EDatabaseError);
    table->Append();
    table->FieldByName("name")->SetValue("kept");
    table->Post();
    EXPECT_FALSE(Connection->InTransaction());
    Connection->Close();
    EXPECT_FALSE(table->Active()) << "closing the connection closes its datasets";
    table->Open();
    EXPECT_EQ(table->FieldByName("name")->Value(), Variant("kept"));
}

TEST_F(SqliteTest, LargeTablesAreReadInWindows) {
    Connection->ExecuteDirect(
        "CREATE TABLE big (id INTEGER PRIMARY KEY, name VARCHAR(20), grp INTEGER);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000)"
        " INSERT INTO big SELECT i, printf('name %05d', 5001 - i), CASE WHEN i % 7 = 0 THEN NULL ELSE i % 3 END FROM n;"
        "CREATE INDEX big_grp ON big (grp)");
    TSQLTable* table = Table("big", "grp");
    table->SetWindowSize(16);
    table->Open();
    EXPECT_EQ(table->RecordCount(), 5000);
    int seen = 0, nulls = 0, maxCached = 0;
    Variant previous;
    for (table->First(); !table->Eof(); table->Next()) {
        const Variant grp = table->FieldByName("grp")->Value();
        if (grp.IsNull()) ++nulls;
        if (!previous.IsEmpty() && !previous.IsNull() && !grp.IsNull()) {
            EXPECT_LE(previous.AsInteger(), grp.AsInteger());
        }
        EXPECT_FALSE(!previous.IsEmpty() && !previous.IsNull() && grp.IsNull()) << "NULL sorts first";
        previous = grp;
        ++seen;
        maxCached = std::max(maxCached, table->CachedRows());
    }
    EXPECT_EQ(seen, 5000);
    EXPECT_EQ(nulls, 714);
    EXPECT_LE(maxCached, 16);
    int back = 0;
    for (table->Last(); !table->Bof(); table->Prior()) ++back;
    EXPECT_EQ(back, 5000);

    table->SetRecNo(2600);
    const Variant id = table->FieldByName("id")->Value();
    table->First();
    ASSERT_TRUE(table->Locate("id", id, {}));
    EXPECT_EQ(table->RecNo(), 2600) << "the record number of a found record is counted";
    // name 00010 to name 00019 and name 00001 match; id 4984 has a NULL grp
    // and so comes first in the order.
    ASSERT_TRUE(table->Locate("name", "NAME 0001", {loPartialKey, loCaseInsensitive}));
    EXPECT_EQ(table->FieldByName("id")->Value(), Variant(4984));
    table->MoveBy(-20);
    table->MoveBy(40);
    EXPECT_LE(table->CachedRows(), 16);
    EXPECT_EQ(table->Lookup("name", "name 02500", "id"), Variant(2501));
    EXPECT_LT(table->CachedStatements(), 20) << "searches reuse their prepared statements";
}

TEST_F(SqliteTest, APrefixIgnoringCaseFindsTheFirstMatchInTheTablesOwnOrder) {
    Connection->ExecuteDirect(
        "CREATE TABLE words (id INTEGER PRIMARY KEY, word VARCHAR(20));"
        "CREATE INDEX words_word ON words (word);"
        "INSERT INTO words (word) VALUES ('apple'), ('Apricot'), ('banana'), ('APEX'), ('Ap'), ('AQ'), ('@p'),"
        " ('zebra'), ('ap'), (NULL), ('A'), ('a\xff');");
    TSQLTable* table = Table("words", "word");
    table->Open();
    const TLocateOptions both{loCaseInsensitive, loPartialKey};
    // In byte order: APEX, Ap, Apricot, ap, apple.
    ASSERT_TRUE(table->Locate("word", "ap", both));
    EXPECT_EQ(table->FieldByName("word")->Value(), Variant("APEX"));
    EXPECT_EQ(table->RecNo(), 4) << "after NULL, @p, A";
    ASSERT_TRUE(table->Locate("word", "APR", both));
    EXPECT_EQ(table->FieldByName("word")->Value(), Variant("Apricot"));
    ASSERT_TRUE(table->Locate("word", "app", both));
    EXPECT_EQ(table->FieldByName("word")->Value(), Variant("apple"));
    EXPECT_FALSE(table->Locate("word", "apz", both));
    EXPECT_EQ(table->FieldByName("word")->Value(), Variant("apple"));
    ASSERT_TRUE(table->Locate("word", "@", both));
    EXPECT_EQ(table->FieldByName("word")->Value(), Variant("@p"));
    ASSERT_TRUE(table->Locate("word", "Z", both));
    EXPECT_EQ(table->FieldByName("word")->Value(), Variant("zebra"));
    ASSERT_TRUE(table->Locate("word", "", both));
    EXPECT_EQ(table->FieldByName("word")->Value(), Variant("@p")) << "an empty prefix: the first text";
    ASSERT_TRUE(table->Locate("word", "aq", both));
    EXPECT_EQ(table->FieldByName("word")->Value(), Variant("AQ"));
}

TEST_F(SqliteTest, AnEditThatMovesTheRecordInTheOrderKeepsTheCursorOnIt) {
    Connection->ExecuteDirect(
        "CREATE TABLE m (id INTEGER PRIMARY KEY, name VARCHAR(10));"
        "INSERT INTO m (name) VALUES ('b'), ('d'), ('f'), ('h')");
    TSQLTable* table = Table("m", "name");
    table->SetWindowSize(2);
    table->Open();
    table->SetRecNo(2);
    table->Edit();
    table->FieldByName("name")->SetValue("z");
    table->Post();
    EXPECT_EQ(table->FieldByName("id")->Value(), Variant(2));
    EXPECT_EQ(table->RecNo(), 4);
    table->Edit();
    table->FieldByName("name")->SetValue("a");
    table->Post();
    EXPECT_EQ(table->FieldByName("name")->Value(), Variant("a"));
    EXPECT_EQ(table->RecNo(), 1);
    table->Next();
    EXPECT_EQ(table->FieldByName("name")->Value(), Variant("b"));
}

TEST_F(SqliteTest, QueriesBindNamedParametersAndStayReadOnly) {
    TSQLQuery* query = QueryOverHundredRows();
    query->SQL()->SetText("SELECT id, name, ':skip' AS note FROM q -- :nothing\nWHERE id > :Low AND id <= :low + 50 ORDER BY id DESC");
    EXPECT_EQ(ErrorOf([&] { query->Open(); }), "No value for parameter 'Low'");
    query->ParamByName("LOW").SetValue(10);
    query->Open();
    EXPECT_EQ(query->RecordCount(), 50);
    EXPECT_EQ(query->FieldByName("name")->DataType(), ftString);
    EXPECT_EQ(query->FieldByName("name")->Size(), 8);
    EXPECT_EQ(query->FieldByName("id")->Value(), Variant(60));
    EXPECT_EQ(query->FieldByName("note")->Value(), Variant(":skip"));
    query->Last();
    EXPECT_EQ(query->FieldByName("id")->Value(), Variant(11));
    query->SetRecNo(5);
    EXPECT_EQ(query->FieldByName("id")->Value(), Variant(56));
    EXPECT_LE(query->CachedRows(), 8);
    EXPECT_TRUE(query->Locate("name", "N2", {loPartialKey, loCaseInsensitive}));
    EXPECT_EQ(query->FieldByName("id")->Value(), Variant(29));
    EXPECT_THROW(query->Edit(), EDatabaseError);
    Connection->ExecuteDirect("DELETE FROM q WHERE id > 55");
    query->Refresh();
    EXPECT_EQ(query->RecordCount(), 45);
    query->First();
    EXPECT_EQ(query->FieldByName("id")->Value(), Variant(55)) << "Refresh runs the query again";

    const TParsedSQL parsed = ParseSQLParams("a = :x and b = ':y' and c = \":z\" and d::text /* :w */ = :x2 -- :v");
    EXPECT_EQ(parsed.Text, "a = ? and b = ':y' and c = \":z\" and d::text /* :w */ = ? -- :v");
    EXPECT_EQ(parsed.Names, (std::vector<std::string>{"x", "x2"}));
    EXPECT_EQ(ParseSQLParams("'open :a").Names.size(), 0u) << "an unterminated quote runs to the end";
    EXPECT_EQ(ParseSQLParams(":").Text, ":");
}

// Opening, scrolling, searching, Last and Refresh never count a query's
// rows; RecNo is exact from the first window, RecordCount counts once.
TEST_F(SqliteTest, QueriesCountOnlyWhenTheCountIsAskedFor) {
    TSQLQuery* query = QueryOverHundredRows();
    query->SQL()->SetText("SELECT id, name FROM q WHERE id > :low ORDER BY id");
    query->ParamByName("low").SetValue(10);
    TSQLStatementLog& log = Connection->StatementLog();
    log.SetActive(true);
    log.Clear();
    query->Open();
    EXPECT_EQ(query->RecNo(), 1);
    int seen = 0;
    for (query->First(); !query->Eof(); query->Next()) ++seen;
    EXPECT_EQ(seen, 90) << "reading on past every window read";
    query->Refresh();
    EXPECT_TRUE(query->Locate("name", "n95", {})) << "the search reads on past the rows read";
    EXPECT_EQ(query->RecNo(), 85);
    query->Refresh();
    query->Last();
    EXPECT_EQ(query->FieldByName("id")->Value(), Variant(100));
    EXPECT_EQ(query->RecNo(), 90);
    query->Refresh();
    query->First();
    EXPECT_EQ(query->MoveBy(30), 30) << "a move past the rows read reads on";
    EXPECT_EQ(query->FieldByName("id")->Value(), Variant(41));
    EXPECT_LE(query->CachedRows(), 8);
    EXPECT_EQ(log.CountContaining("COUNT("), 0) << log.Texts().back();

    query->Refresh();
    EXPECT_EQ(query->RecordCount(), 90);
    EXPECT_EQ(log.CountContaining("COUNT("), 1);
    EXPECT_EQ(query->RecordCount(), 90);
    EXPECT_EQ(log.CountContaining("COUNT("), 1) << "the end stays known";

    // Fewer rows than a window: the first read finds their end.
    query->Close();
    query->ParamByName("low").SetValue(95);
    query->Open();
    EXPECT_EQ(query->RecordCount(), 5);
    query->Close();
    query->ParamByName("low").SetValue(100);
    query->Open();
    EXPECT_TRUE(query->IsEmpty());
    EXPECT_EQ(query->RecordCount(), 0);
    EXPECT_EQ(log.CountContaining("COUNT("), 1);
}

TEST_F(SqliteTest, IntegersBeyondThirtyTwoBitsGetLargeIntegerFields) {
    // Ids beyond 32 bits in the key, a time stamp in milliseconds in a plain
    // INTEGER column, and 64-bit names for columns holding small values.
    Connection->ExecuteDirect(
        "CREATE TABLE event (id INTEGER PRIMARY KEY, stamp INTEGER, hits INTEGER, total BIGINT, seq INT8,"
        " note VARCHAR(10));"
        "INSERT INTO event VALUES (5000000001, 1700000000123, 3, 1, NULL, 'a'),"
        " (5000000002, 1700000000456, NULL, 2, 7, 'b'), (5000000003, 17, 4, 3, 8, 'c')");
    TSQLTable* events = Table("event");
    events->SetWindowSize(2);
    events->Open();
    const std::pair<const char*, TFieldType> types[] = {{"id", ftLargeint},   {"stamp", ftLargeint},
                                                        {"hits", ftInteger},  {"total", ftLargeint},
                                                        {"seq", ftLargeint},  {"note", ftString}};
    for (const auto& [name, type] : types) EXPECT_EQ(events->FieldByName(name)->DataType(), type) << name;

    EXPECT_EQ(events->Lookup("stamp", int64_t{1700000000456}, "note"), Variant("b"));
    EXPECT_TRUE(events->Locate("id", 5000000003.0, {}));
    EXPECT_EQ(events->RecNo(), 3);
    events->Edit();
    events->FieldByName("total")->SetAsInteger((int64_t{1} << 62) + 1);
    events->FieldByName("stamp")->SetText("-9223372036854775808");
    EXPECT_THROW(events->FieldByName("hits")->SetValue(int64_t{3000000000}), EDatabaseError)
        << "a column of small values keeps a 32-bit field";
    events->Post();
    TSQLStatementPtr stored = Connection->Prepare("SELECT total, stamp FROM event WHERE id = 5000000003");
    stored->Execute();
    ASSERT_TRUE(stored->Fetch());
    EXPECT_EQ(stored->ColumnValue(0), Variant((int64_t{1} << 62) + 1));
    EXPECT_EQ(stored->ColumnValue(1), Variant(INT64_MIN));
    stored->Reset();

    events->Append();
    events->FieldByName("id")->SetValue(int64_t{1} << 32);
    events->Post();
    EXPECT_EQ(events->RecNo(), 1) << "a new key below the others goes first";
    EXPECT_EQ(events->FieldByName("id")->AsInteger(), int64_t{1} << 32);
    events->Last();
    EXPECT_EQ(events->FieldByName("total")->AsInteger(), (int64_t{1} << 62) + 1);

    // A query's columns are asked the same, over the rows it answers.
    TSQLQuery* query = TSQLQuery::Create(Module);
    query->SetConnection(Connection);
    query->SQL()->SetText("SELECT stamp, hits, stamp / 1000000 AS whole FROM event WHERE stamp > :low ORDER BY stamp");
    query->ParamByName("low").SetValue(20);
    query->Open();
    EXPECT_EQ(query->FieldByName("stamp")->DataType(), ftLargeint);
    EXPECT_EQ(query->FieldByName("hits")->DataType(), ftInteger);
    EXPECT_EQ(query->RecordCount(), 2);
    EXPECT_TRUE(query->Locate("stamp", int64_t{1700000000456}, {}));
    query->Close();
    query->ParamByName("low").SetValue(int64_t{1700000000456});
    query->Open();
    EXPECT_EQ(query->FieldByName("stamp")->DataType(), ftInteger) << "no row answered holds a large value";
    query->Close();
    query->SQL()->SetText("SELECT a.id, b.id FROM event a JOIN event b ON b.id = a.id");
    EXPECT_EQ(ErrorOf([&] { query->Open(); }), "Duplicate field name 'id'") << "not an error of the probe";
}

TEST_F(SqliteTest, StatementsBindByTypeAndMapDeclaredTypes) {
    Connection->ExecuteDirect(
        "CREATE TABLE typed (i BIGINT, f NUMERIC(10,2), s NVARCHAR(7), t TEXT, b BOOL, d TIMESTAMP, x)");
    TSQLStatementPtr insert = Connection->Prepare("INSERT INTO typed VALUES (?, ?, ?, ?, ?, ?, ?)");
    EXPECT_EQ(insert->ParamCount(), 7);
    insert->BindAll({int64_t(1) << 40, 2.5, "seven", "long text", true, Variant::FromDateTime(45000.75), Variant()});
    insert->Execute();
    EXPECT_EQ(insert->RowsAffected(), 1);
    insert->BindAll({Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null(), false, Variant::Null(), 3});
    insert->Execute();
    EXPECT_THROW(insert->Bind(0, VarArrayOf({1, 2})), EDatabaseError);

    TSQLStatementPtr select = Connection->Prepare("SELECT i, f, s, t, b, d, x, i * 2 AS twice FROM typed ORDER BY b DESC");
    const TFieldType types[] = {ftLargeint, ftFloat, ftString, ftString, ftBoolean, ftDateTime};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(select->ColumnType(c).DataType, types[c]) << select->ColumnName(c);
    EXPECT_EQ(select->ColumnType(2).Size, 7);
    EXPECT_EQ(select->ColumnType(3).Size, DefaultStringSize) << "a text without a length";
    EXPECT_EQ(select->ColumnName(7), "twice");
    select->Execute();
    ASSERT_TRUE(select->Fetch());
    EXPECT_EQ(select->ColumnValue(0), Variant(int64_t(1) << 40));
    EXPECT_EQ(select->ColumnValue(1), Variant(2.5));
    EXPECT_EQ(select->ColumnValue(4), Variant(true));
    EXPECT_EQ(select->ColumnValue(5).VarType(), varDate);
    EXPECT_EQ(select->ColumnValue(5).AsDateTime(), 45000.75);
    EXPECT_TRUE(select->ColumnValue(6).IsNull()) << "unassigned binds NULL";
    EXPECT_EQ(select->ColumnType(7).DataType, ftLargeint) << "an expression takes its value's type, 2^41 here";
    ASSERT_TRUE(select->Fetch());
    EXPECT_EQ(select->ColumnValue(4), Variant(false));
    EXPECT_TRUE(select->ColumnValue(0).IsNull());
    EXPECT_FALSE(select->Fetch());
    EXPECT_FALSE(select->Fetch()) << "the end stays the end";

    EXPECT_EQ(ErrorOf([&] { Connection->Prepare("SELECT 1; SELECT 2"); }), "One statement expected in the SQL text");
    EXPECT_EQ(ErrorOf([&] { Connection->Prepare("  "); }), "No statement in the SQL text");
    EXPECT_EQ(Connection->ExecSQL("UPDATE typed SET x = ? WHERE b = ?", {5, true}), 1);
}

TEST_F(SqliteTest, FreeingTheConnectionClosesAndDetachesItsDatasets) {
    Connection->ExecuteDirect("CREATE TABLE f (id INTEGER PRIMARY KEY)");
    TSQLTable* table = Table("f");
    table->Open();
    TSQLStatementPtr kept = Connection->Prepare("SELECT COUNT(*) FROM f");
    EXPECT_EQ(Connection->ClientCount(), 1);
    EXPECT_EQ(ErrorOf([&] { table->SetConnection(nullptr); }), "Cannot change the connection of an open dataset");
    Free(Connection);
    EXPECT_FALSE(table->Active());
    EXPECT_EQ(table->Connection(), nullptr);
    EXPECT_EQ(ErrorOf([&] { table->Open(); }), "Missing Connection");
    kept.reset();  // a statement kept past its connection still ends safely
}

} // namespace
} // namespace host::testing
