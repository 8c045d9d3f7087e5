#include "host/data/PgClient.h"

#include "host/core/Exception.h"

#include <cstdlib>

namespace host::pg {

namespace {

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

// The server's own words when it sent an error, libpq's otherwise.
std::string ResultError(const PGresult* result, PGconn* conn) {
    if (result) {
        const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
        if (primary && *primary) {
            std::string message = primary;
            if (const char* detail = PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL); detail && *detail)
                message += std::string("\n") + detail;
            return message;
        }
        if (const char* text = PQresultErrorMessage(result); text && *text) return Trimmed(text);
    }
    return Trimmed(PQerrorMessage(conn));
}

} // namespace

long TPgResult::AffectedRows() const {
    const char* text = PQcmdTuples(FResult.get());
    return (text && *text) ? std::strtol(text, nullptr, 10) : 0;
}

std::vector<const char*> TPgParams::Pointers() const {
    std::vector<const char*> pointers(FValues.size());
    for (size_t i = 0; i < FValues.size(); ++i) pointers[i] = FNull[i] ? nullptr : FValues[i].c_str();
    return pointers;
}

std::unique_ptr<TPgSession> TPgSession::Connect(const std::string& conninfo, const TPgKeywords& keywords) {
    std::vector<const char*> keys, values;
    // A whole connection string goes first, as the one dbname libpq expands;
    // the keywords after it override what it says.
    if (!conninfo.empty()) {
        keys.push_back("dbname");
        values.push_back(conninfo.c_str());
    }
    for (const auto& [key, value] : keywords) {
        if (value.empty()) continue;
        keys.push_back(key.c_str());
        values.push_back(value.c_str());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    PGconn* conn = PQconnectdbParams(keys.data(), values.data(), conninfo.empty() ? 0 : 1);
    if (!conn) throw EDatabaseError("Out of memory while connecting to the database server");
    std::unique_ptr<TPgSession> session(new TPgSession(conn));
    if (PQstatus(conn) != CONNECTION_OK)
        throw EDatabaseError("Cannot connect to the database server: " + Trimmed(PQerrorMessage(conn)));
    // The server's notices ("table ... does not exist, skipping") are not
    // errors; libpq would print them on standard error.
    PQsetNoticeProcessor(conn, [](void*, const char*) {}, nullptr);
    return session;
}

TPgResult TPgSession::Check(PGresult* raw) const {
    TPgResult result(raw);
    ExecStatusType status = raw ? PQresultStatus(raw) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY) return result;
    std::string message = ResultError(raw, FConn.get());
    if (!Alive()) message = "Connection to the database server was lost: " + message;
    throw EDatabaseError(message);
}

TPgResult TPgSession::Exec(const std::string& sql) {
    return Check(PQexec(FConn.get(), sql.c_str()));
}

TPgResult TPgSession::ExecParams(const std::string& sql, const TPgParams& params) {
    std::vector<const char*> values = params.Pointers();
    return Check(PQexecParams(FConn.get(), sql.c_str(), params.Count(), nullptr, values.data(), nullptr, nullptr, 0));
}

void TPgSession::Prepare(const std::string& name, const std::string& sql, int paramCount) {
    Check(PQprepare(FConn.get(), name.c_str(), sql.c_str(), paramCount, nullptr));
}

TPgResult TPgSession::ExecPrepared(const std::string& name, const TPgParams& params) {
    std::vector<const char*> values = params.Pointers();
    return Check(PQexecPrepared(FConn.get(), name.c_str(), params.Count(), values.data(), nullptr, nullptr, 0));
}

TPgResult TPgSession::Describe(const std::string& name) {
    return Check(PQdescribePrepared(FConn.get(), name.c_str()));
}

bool TPgSession::InTransaction() const {
    PGTransactionStatusType status = PQtransactionStatus(FConn.get());
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

std::string QuoteIdent(std::string_view name) {
    if (name.find('\0') != std::string_view::npos) throw EDatabaseError("A name cannot contain a zero byte");
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

} // namespace host::pg
