// Faults a clerk meets for real, made for real: on PostgreSQL a session the
// administrator ends and a server restarted under its clients; on SQLite a
// second process that holds the write lock past the busy timeout, a file
// opened read-only and a file deleted under the program. Each time: one
// clear error, the typed record kept in its edit state, nothing half
// written (the table read afterwards through a connection of its own), and
// the next post stores the record once where that is safe.

#include "PgTestServer.h"
#include "SqlTestDatabase.h"

#include "host/core/Exception.h"
#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using ::testing::HasSubstr;

namespace host::testing {
namespace {

// The message of the database error Act raises; empty when none.
template <class F>
std::string ErrorOf(F act) {
    try {
        act();
    } catch (const EDatabaseError& e) {
        return e.Message();
    }
    return {};
}

// A customer table of three rows and a table dataset over it on Conn,
// with the record of CustNo 2 edited as a clerk types it.
class TTypedRecord {
public:
    TTypedRecord(TComponent* owner, TSQLConnection* conn) {
        conn->ExecuteDirect("CREATE TABLE customer (\"CustNo\" INTEGER PRIMARY KEY, \"Company\" VARCHAR(20))");
        for (int no = 1; no <= 3; ++no)
            conn->ExecSQL("INSERT INTO customer VALUES (?, ?)", {no, "Company " + std::to_string(no)});
        Table = TSQLTable::Create(owner);
        Table->SetConnection(conn);
        Table->SetTableName("customer");
        Table->Open();
        Type();
    }
    void Type() {
        if (!Table->Locate("CustNo", 2, {})) throw Exception("no customer 2");
        Table->Edit();
        Table->FieldByName("Company")->SetValue("Typed");
    }
    // The post fails with Expected and leaves the record as typed.
    void ExpectRefused(const std::string& expected) const {
        EXPECT_THAT(ErrorOf([&] { Table->Post(); }), HasSubstr(expected));
        EXPECT_EQ(Table->State(), dsEdit);
        EXPECT_EQ(Table->FieldByName("Company")->AsString(), "Typed");
    }
    TSQLTable* Table = nullptr;
};

// ---- PostgreSQL ----------------------------------------------------------

class PgRealFaultTest : public PgTest {};

TEST_F(PgRealFaultTest, ASessionEndedByTheServerFailsOnePostAndTheNextReconnects) {
    TTypedRecord record(Owner, Conn);
    TPostgresConnection* other = Connect();
    auto stored = [&] {
        TSQLStatementPtr read = other->Prepare("SELECT \"Company\" FROM customer WHERE \"CustNo\" = 2");
        read->Execute();
        return read->Fetch() ? read->ColumnValue(0).AsString() : std::string("(none)");
    };
    Terminate(*Conn);
    record.ExpectRefused("Connection to the database server was lost");
    EXPECT_EQ(stored(), "Company 2");
    record.Table->Post();
    EXPECT_EQ(stored(), "Typed");

    // A new record: refused once, kept, stored once.
    record.Table->Append();
    record.Table->FieldByName("CustNo")->SetValue(4);
    record.Table->FieldByName("Company")->SetValue("New");
    Terminate(*Conn);
    EXPECT_THAT(ErrorOf([&] { record.Table->Post(); }), HasSubstr("lost"));
    EXPECT_EQ(record.Table->State(), dsInsert);
    record.Table->Post();
    TSQLStatementPtr count = other->Prepare("SELECT count(*) FROM customer WHERE \"CustNo\" = 4");
    count->Execute();
    ASSERT_TRUE(count->Fetch());
    EXPECT_EQ(count->ColumnValue(0).AsInteger(), 1);
    record.Table->Last();
    EXPECT_EQ(record.Table->FieldByName("Company")->AsString(), "New");
}

// A cluster of the test's own: restarting the shared one would fail the
// tests that run beside this one.
class TPrivateCluster {
public:
    TPrivateCluster() {
        FState = std::filesystem::temp_directory_path() / ("veskar-pg-state-" + std::to_string(getpid()));
        ConnInfo = Run("start");
    }
    ~TPrivateCluster() { Run("stop"); }
    void Restart() { Run("restart"); }
    std::string ConnInfo;

private:
    std::string Run(const std::string& command) {
        const std::string line = "VESKAR_PG_STATE='" + FState.string() + "' '" VESKAR_SOURCE_DIR
                                  "/scripts/pg-cluster' " + command + " 2>/dev/null";
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(line.c_str(), "r"), pclose);
        std::string out;
        std::array<char, 256> buffer{};
        while (pipe && fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get())) out += buffer.data();
        while (!out.empty() && out.back() == '\n') out.pop_back();
        return out;
    }
    std::filesystem::path FState;
};

TEST(PgRestartTest, AServerRestartedUnderTheClerkFailsOnePostAndTheNextReconnects) {
    VESKAR_NEED_PG();
    TPrivateCluster cluster;
    ASSERT_FALSE(cluster.ConnInfo.empty()) << "the private cluster did not start";
    Owned<TComponent> owner(TComponent::Create(nullptr));
    TPostgresConnection* conn = TPostgresConnection::Create(owner.get());
    conn->SetConnectionString(cluster.ConnInfo);
    conn->Open();
    TTypedRecord record(owner.get(), conn);
    cluster.Restart();
    record.ExpectRefused("lost");
    record.Table->Post();
    record.Table->Refresh();
    EXPECT_EQ(record.Table->Lookup("CustNo", 2, "Company"), Variant("Typed"));
    EXPECT_EQ(record.Table->Lookup("CustNo", 3, "Company"), Variant("Company 3"));
}

// ---- SQLite --------------------------------------------------------------

class SqliteRealFaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        Owner = TComponent::Create(nullptr);
        Conn = As<TSQLiteConnection>(Database.Connect(Owner));
        Record.emplace(Owner, Conn);
    }
    void TearDown() override { Owner->Free(); }
    std::string Stored() {
        const auto rows = Database.Query("SELECT \"Company\" FROM customer WHERE \"CustNo\" = 2");
        return rows.empty() ? "(none)" : rows.front();
    }

    TSqlTestDatabase Database{false};
    TComponent* Owner = nullptr;
    TSQLiteConnection* Conn = nullptr;
    std::optional<TTypedRecord> Record;
};

// Another process writing the same file: it takes the write lock, says so
// through a pipe, and lets it go when the test writes back.
class TLockingProcess {
public:
    explicit TLockingProcess(const std::string& file) {
        if (pipe(FReady.data()) != 0 || pipe(FRelease.data()) != 0) throw std::runtime_error("pipe");
        FChild = fork();
        if (FChild == 0) {
            sqlite3* db = nullptr;
            char byte = 0;
            const bool locked = sqlite3_open(file.c_str(), &db) == SQLITE_OK &&
                                sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
            byte = locked ? 'L' : 'E';
            (void)!write(FReady[1], &byte, 1);
            (void)!read(FRelease[0], &byte, 1);
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close(db);
            _exit(0);
        }
        char byte = 0;
        Locked = read(FReady[0], &byte, 1) == 1 && byte == 'L';
    }
    ~TLockingProcess() { Release(); }
    void Release() {
        if (FChild <= 0) return;
        const char byte = 'R';
        (void)!write(FRelease[1], &byte, 1);
        waitpid(FChild, nullptr, 0);
        FChild = 0;
        for (int fd : {FReady[0], FReady[1], FRelease[0], FRelease[1]}) close(fd);
    }
    bool Locked = false;

private:
    std::array<int, 2> FReady{};
    std::array<int, 2> FRelease{};
    pid_t FChild = 0;
};

TEST_F(SqliteRealFaultTest, ALockHeldPastTheBusyTimeoutFailsThePostClearly) {
    Conn->SetBusyTimeout(100);
    TLockingProcess other(Conn->DatabaseName());
    ASSERT_TRUE(other.Locked);
    Record->ExpectRefused("database is locked (another connection kept it locked for longer than the busy timeout)");
    other.Release();
    EXPECT_EQ(Stored(), "Company 2");
    Record->Table->Post();
    EXPECT_EQ(Stored(), "Typed");
}

TEST_F(SqliteRealFaultTest, AReadOnlyOrVanishedFileTakesNoWriteAndSaysWhy) {
    // Read-only (as root, file permissions would not stop the write).
    TSQLiteConnection* readOnly = TSQLiteConnection::Create(Owner);
    readOnly->SetDatabaseName("file:" + Conn->DatabaseName() + "?mode=ro");
    readOnly->Open();
    TSQLTable* table = TSQLTable::Create(Owner);
    table->SetConnection(readOnly);
    table->SetTableName("customer");
    table->Open();
    ASSERT_TRUE(table->Locate("CustNo", 2, {}));
    table->Edit();
    table->FieldByName("Company")->SetValue("Typed");
    EXPECT_THAT(ErrorOf([&] { table->Post(); }), HasSubstr("readonly database"));
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_EQ(Stored(), "Company 2");

    // Deleted under the open connection: a write would go to a file no one
    // opens again, so it is refused, every time.
    const std::string file = Conn->DatabaseName();
    const std::string kept = file + ".kept";
    std::filesystem::copy_file(file, kept);
    std::filesystem::remove(file);
    const std::string gone = "The database file " + file + " was moved or deleted: nothing was written";
    Record->ExpectRefused(gone);
    Record->ExpectRefused(gone);
    EXPECT_FALSE(std::filesystem::exists(file)) << "no new empty database made in its place";
    std::filesystem::remove(kept);
}

} // namespace
} // namespace host::testing
