#pragma once
// TPostgresConnection: a connection to a PostgreSQL server through libpq,
// over a unix socket or TCP. Give either the separate properties or a libpq
// ConnectionString ("host=/run/postgresql dbname=shop user=clerk"); a
// property that is set overrides the same keyword in the string.
//
// Statements are prepared once per connection and kept by their text, so a
// dataset's repeated Lookup costs one round trip. Locate's prefix and
// letter-case searches come as byte-wise ranges over the column or over
// lower(column COLLATE "C"); these indexes serve them:
//   CREATE INDEX ON t (col text_pattern_ops);
//   CREATE INDEX ON t (lower(col COLLATE "C") text_pattern_ops);
//
// A session the server ended (restarted, or the session terminated) fails
// the statement that finds out, with "Connection to the database server was
// lost: ...". The next statement opens a new session and runs AfterConnect
// again (settings such as search_path belong there), with the datasets left
// open and their edits kept, unless a transaction was open: its work is
// gone, so statements keep failing until Rollback ends it. A write whose
// answer was lost may or may not have been stored; posting the record again
// is refused as changed by another user when it was.

#include "host/core/Export.h"
#include "host/data/SqlConnection.h"

#include <memory>
#include <string>
#include <unordered_map>

VESKAR_PUBLIC_BEGIN

namespace host {

namespace pg {
class TPgSession;
struct TPgPrepared;
struct TPgLink;
} // namespace pg

class TPostgresConnection : public TSQLConnection {
    HOST_CLASS(TPostgresConnection, TSQLConnection)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    // ---- where to connect (read when connecting) --------------------------
    const std::string& HostName() const { return FHostName; }
    void SetHostName(const std::string& value) { FHostName = value; }
    // 0: libpq's default (5432 unless the string or environment says).
    int Port() const { return FPort; }
    void SetPort(int value);
    const std::string& DatabaseName() const { return FDatabaseName; }
    void SetDatabaseName(const std::string& value) { FDatabaseName = value; }
    const std::string& UserName() const { return FUserName; }
    void SetUserName(const std::string& value) { FUserName = value; }
    const std::string& Password() const { return FPassword; }
    void SetPassword(const std::string& value) { FPassword = value; }
    const std::string& ConnectionString() const { return FConnectionString; }
    void SetConnectionString(const std::string& value) { FConnectionString = value; }

    // ---- statements --------------------------------------------------------
    TSQLStatementPtr DoPrepare(const std::string& sql) override;
    void DoExecuteDirect(const std::string& sql) override;

    // ---- the dialect -------------------------------------------------------
    TCondition PrefixRange(const std::string& quotedColumn, const std::string& prefix,
                           bool caseInsensitive) const override;
    std::string EqualsIgnoreCase(const std::string& quotedColumn) const override;
    std::vector<std::string> PrimaryKeyFields(const std::string& tableName) override;
    // The planner's figure (pg_class.reltuples); -1 before the table was
    // first analysed.
    int64_t EstimatedRowCount(const std::string& tableName) override;

    // The server process of this session; 0 when not connected.
    int BackendPid() const;
    // Statements prepared on the server in this session. Past
    // KeptStatements, those no statement object holds any more are
    // deallocated before another is prepared.
    int PreparedCount() const { return static_cast<int>(FPrepared.size()); }
    static constexpr int KeptStatements = 128;

    // For the statements: the server-side statement for Sql (in $n form),
    // prepared on first use in the current session.
    std::shared_ptr<const pg::TPgPrepared> Prepared(const std::string& sql, int paramCount);
    pg::TPgSession& Session();

protected:
    explicit TPostgresConnection(TComponent* owner);
    void Destroy() override;
    void DoConnect() override;
    void DoDisconnect() override;
    // Raises when the server ended the transaction with a rollback instead.
    void DoCommit() override;
    // A lost session's transaction is over already.
    void DoRollback() override;

private:
    VESKAR_LOCAL void DropUnusedStatements();
    VESKAR_LOCAL void Reconnect();

    std::string FHostName;
    int FPort = 0;
    std::string FDatabaseName;
    std::string FUserName;
    std::string FPassword;
    std::string FConnectionString;
    std::unique_ptr<pg::TPgSession> FSession;
    std::unordered_map<std::string, std::shared_ptr<const pg::TPgPrepared>> FPrepared;
    uint64_t FStatementNumber = 0;  // names are never reused within a session
    // Shared with the statements, so one that outlives the session (or the
    // connection) finds out instead of using it.
    std::shared_ptr<pg::TPgLink> FLink;
};

} // namespace host

VESKAR_PUBLIC_END
