#pragma once
// A thin owner of libpq's connection and result handles. Every failure
// becomes an EDatabaseError carrying the server's (or libpq's) message;
// values travel as text and are bound as parameters, never spliced into SQL.

#include "host/core/Export.h"

#include <libpq-fe.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace host::pg {

// PostgreSQL's built-in type numbers that the datasets tell apart.
enum : Oid {
    kBoolOid = 16,
    kInt8Oid = 20,
    kInt2Oid = 21,
    kInt4Oid = 23,
    kTextOid = 25,
    kOidOid = 26,
    kFloat4Oid = 700,
    kFloat8Oid = 701,
    kBpCharOid = 1042,
    kVarCharOid = 1043,
    kDateOid = 1082,
    kTimeOid = 1083,
    kTimestampOid = 1114,
    kTimestampTzOid = 1184,
    kNumericOid = 1700,
    kNameOid = 19,
};

struct TResultDeleter {
    void operator()(PGresult* result) const noexcept { PQclear(result); }
};
struct TConnDeleter {
    void operator()(PGconn* conn) const noexcept { PQfinish(conn); }
};

// A finished command's result: rows of text values with their column types.
class TPgResult {
public:
    TPgResult() = default;
    explicit TPgResult(PGresult* result) : FResult(result) {}
    explicit operator bool() const { return FResult != nullptr; }
    // One row of a result read row by row (more may follow).
    bool IsRow() const { return FResult && PQresultStatus(FResult.get()) == PGRES_SINGLE_TUPLE; }

    int Rows() const { return PQntuples(FResult.get()); }
    // The command's tag ("INSERT 0 1", "COMMIT", ...).
    std::string CommandStatus() const { return PQcmdStatus(FResult.get()); }
    // Parameters of a described prepared statement.
    int Params() const { return PQnparams(FResult.get()); }
    int Columns() const { return PQnfields(FResult.get()); }
    std::string ColumnName(int column) const { return PQfname(FResult.get(), column); }
    Oid ColumnType(int column) const { return PQftype(FResult.get(), column); }
    // The declared type modifier (varchar(n) holds n + 4); -1 when none.
    int ColumnModifier(int column) const { return PQfmod(FResult.get(), column); }
    bool IsNull(int row, int column) const { return PQgetisnull(FResult.get(), row, column) != 0; }
    std::string_view Text(int row, int column) const {
        return {PQgetvalue(FResult.get(), row, column),
                static_cast<size_t>(PQgetlength(FResult.get(), row, column))};
    }
    // Rows an INSERT, UPDATE or DELETE touched.
    long AffectedRows() const;
    PGresult* Handle() const { return FResult.get(); }
    PGresult* Release() { return FResult.release(); }

private:
    std::unique_ptr<PGresult, TResultDeleter> FResult;
};

// Parameter values in libpq's text form; a missing value is SQL NULL.
class TPgParams {
public:
    void AddNull() { FValues.emplace_back(); FNull.push_back(true); }
    void AddText(std::string text) { FValues.push_back(std::move(text)); FNull.push_back(false); }
    int Count() const { return static_cast<int>(FValues.size()); }
    void Clear() { FValues.clear(); FNull.clear(); }
    // Pointers for libpq, valid until the next Add or Clear.
    std::vector<const char*> Pointers() const;

private:
    std::vector<std::string> FValues;
    std::vector<bool> FNull;
};

using TPgKeywords = std::vector<std::pair<std::string, std::string>>;

// One session with the server.
class TPgSession {
public:
    // Connects with a libpq connection string (may be empty) and keyword
    // pairs that override it (empty values are left out); raises
    // EDatabaseError with libpq's reason when the server cannot be reached
    // or refuses.
    static std::unique_ptr<TPgSession> Connect(const std::string& conninfo, const TPgKeywords& keywords);

    // True while the link to the server holds, as far as libpq knows.
    bool Alive() const { return PQstatus(FConn.get()) == CONNECTION_OK; }
    // Runs one or more statements without parameters.
    TPgResult Exec(const std::string& sql);
    // Runs a statement with parameters, not prepared (one round trip).
    TPgResult ExecParams(const std::string& sql, const TPgParams& params);
    // Prepares Sql under Name; parameter types are left to the server to
    // infer from where each parameter stands.
    void Prepare(const std::string& name, const std::string& sql, int paramCount);
    TPgResult ExecPrepared(const std::string& name, const TPgParams& params);
    // The parameters and result columns of a prepared statement.
    TPgResult Describe(const std::string& name);
    // ---- a result read row by row ----------------------------------------
    // Sends a prepared statement and answers its first row (IsRow; the
    // others follow from NextRow) or, when it has none, its final result.
    // One such read runs at a time: before any other command the session
    // calls Interrupt, which takes the remaining rows with NextRow (or lets
    // them be skipped).
    TPgResult StartRows(const std::string& name, const TPgParams& params, std::function<void()> interrupt);
    // The same for a statement sent as text, planned by the server for
    // these values each time.
    TPgResult StartRowsOfText(const std::string& sql, const TPgParams& params, std::function<void()> interrupt);
    // The next row, or the final result that ends the read; raises for an
    // error the server sends midway.
    TPgResult NextRow();
    bool Reading() const { return FReading; }
    // Ends a read early: a few rows are skipped, beyond those the server is
    // told to stop, so a large result is never read to its end for nothing.
    void AbandonRows() noexcept;

    // The server process serving this session (for tests and diagnostics).
    int BackendPid() const { return PQbackendPID(FConn.get()); }
    // Inside a transaction block (or a failed one) as the server reports.
    bool InTransaction() const;

private:
    explicit TPgSession(PGconn* conn) : FConn(conn) {}
    // Turns an unsuccessful result into an EDatabaseError.
    TPgResult Check(PGresult* result) const;
    // Makes way for another command: the running read takes or skips its rest.
    VESKAR_LOCAL void Interrupt();
    [[noreturn]] VESKAR_LOCAL void RaiseConnectionError() const;
    // Single-row mode for the read just sent, and its first row.
    VESKAR_LOCAL TPgResult ReadFirstRow(std::function<void()> interrupt);

    std::unique_ptr<PGconn, TConnDeleter> FConn;
    bool FReading = false;
    bool FReadInTransaction = false;  // a cancel would spoil the transaction
    std::function<void()> FInterrupt;
};

// Double quotes around a name, doubling any quote inside: any text is one
// identifier, never SQL. A NUL byte cannot be part of a name and raises.
std::string QuoteIdent(std::string_view name);

} // namespace host::pg
