#pragma once
// TSQLiteConnection: a connection to an SQLite database file (created when
// missing) or to a private database in memory (":memory:"). A "file:" URI
// takes the engine's options ("file:orders.db?mode=ro" opens read-only).
// Date-times are stored as text ("yyyy-mm-dd hh:nn:ss"), which sorts and
// compares in time order.
//
// Transactions take the write lock when they start (BEGIN IMMEDIATE),
// waiting up to BusyTimeout for another connection to let it go. Starting
// and committing one is refused while the file was deleted or moved away
// under the connection, since what is written there is lost.

#include "host/core/Export.h"
#include "host/data/SqlConnection.h"

#include <string>

struct sqlite3;

VESKAR_PUBLIC_BEGIN

namespace host {

class TSQLiteConnection : public TSQLConnection {
    HOST_CLASS(TSQLiteConnection, TSQLConnection)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    const std::string& DatabaseName() const { return FDatabaseName; }
    // Raises while connected: close first.
    void SetDatabaseName(const std::string& value);
    // How long a statement waits for another connection's lock before it
    // raises "database is locked", in milliseconds.
    int BusyTimeout() const { return FBusyTimeout; }
    void SetBusyTimeout(int milliseconds);

    TSQLStatementPtr DoPrepare(const std::string& sql) override;
    void DoExecuteDirect(const std::string& sql) override;
    std::vector<std::string> PrimaryKeyFields(const std::string& tableName) override;
    TCondition PrefixRange(const std::string& quotedColumn, const std::string& prefix,
                           bool caseInsensitive) const override;
    std::string EqualsIgnoreCase(const std::string& quotedColumn) const override;
    bool BinaryTextOrder() const override { return true; }
    std::string OrderTerm(const std::string& quotedColumn, bool descending) const override;
    std::string NullSafeEquals(const std::string& quotedColumn) const override;
    std::string RowIdColumn(const std::string& tableName) override;
    // The span of a table's row ids: right for a table whose rows were
    // mostly appended; -1 for a view.
    int64_t EstimatedRowCount(const std::string& tableName) override;
    bool IntegersMayExceedDeclared() const override { return true; }

    // The engine's handle while connected, nil otherwise.
    sqlite3* Handle() const { return FHandle; }

protected:
    explicit TSQLiteConnection(TComponent* owner) : TSQLConnection(owner) {}
    void DoConnect() override;
    void DoDisconnect() override;
    void DoStartTransaction() override;
    void DoCommit() override;

private:
    VESKAR_LOCAL void CheckFileInPlace() const;
    // Raises EDatabaseError with the engine's message for the handle.
    [[noreturn]] VESKAR_LOCAL void EngineError(const std::string& context = {}) const;

    std::string FDatabaseName;
    int FBusyTimeout = 2000;
    sqlite3* FHandle = nullptr;
};

} // namespace host

VESKAR_PUBLIC_END
