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
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY ||
        status == PGRES_SINGLE_TUPLE)
        return result;
    std::string message = ResultError(raw, FConn.get());
    if (!Alive()) message = "Connection to the database server was lost: " + message;
    throw EDatabaseError(message);
}

TPgResult TPgSession::Exec(const std::string& sql) {
    Interrupt();
    return Check(PQexec(FConn.get(), sql.c_str()));
}

TPgResult TPgSession::ExecParams(const std::string& sql, const TPgParams& params) {
    Interrupt();
    std::vector<const char*> values = params.Pointers();
    return Check(PQexecParams(FConn.get(), sql.c_str(), params.Count(), nullptr, values.data(), nullptr, nullptr, 0));
}

void TPgSession::Prepare(const std::string& name, const std::string& sql, int paramCount) {
    Interrupt();
    Check(PQprepare(FConn.get(), name.c_str(), sql.c_str(), paramCount, nullptr));
}

TPgResult TPgSession::ExecPrepared(const std::string& name, const TPgParams& params) {
    Interrupt();
    std::vector<const char*> values = params.Pointers();
    return Check(PQexecPrepared(FConn.get(), name.c_str(), params.Count(), values.data(), nullptr, nullptr, 0));
}

TPgResult TPgSession::Describe(const std::string& name) {
    Interrupt();
    return Check(PQdescribePrepared(FConn.get(), name.c_str()));
}

void TPgSession::RaiseConnectionError() const {
    std::string message = Trimmed(PQerrorMessage(FConn.get()));
    if (!Alive()) message = "Connection to the database server was lost: " + message;
    throw EDatabaseError(message);
}

void TPgSession::Interrupt() {
    if (!FReading) return;
    if (std::function<void()> interrupt = std::move(FInterrupt)) {
        FInterrupt = nullptr;
        interrupt();
    }
    AbandonRows();
}

TPgResult TPgSession::StartRows(const std::string& name, const TPgParams& params, std::function<void()> interrupt) {
    Interrupt();
    std::vector<const char*> values = params.Pointers();
    FReadInTransaction = PQtransactionStatus(FConn.get()) != PQTRANS_IDLE;
    if (!PQsendQueryPrepared(FConn.get(), name.c_str(), params.Count(), values.data(), nullptr, nullptr, 0))
        RaiseConnectionError();
    return ReadFirstRow(std::move(interrupt));
}

TPgResult TPgSession::StartRowsOfText(const std::string& sql, const TPgParams& params,
                                      std::function<void()> interrupt) {
    Interrupt();
    std::vector<const char*> values = params.Pointers();
    FReadInTransaction = PQtransactionStatus(FConn.get()) != PQTRANS_IDLE;
    if (!PQsendQueryParams(FConn.get(), sql.c_str(), params.Count(), nullptr, values.data(), nullptr, nullptr, 0))
        RaiseConnectionError();
    return ReadFirstRow(std::move(interrupt));
}

TPgResult TPgSession::ReadFirstRow(std::function<void()> interrupt) {
    PQsetSingleRowMode(FConn.get());
    FReading = true;
    FInterrupt = std::move(interrupt);
    return NextRow();
}

TPgResult TPgSession::NextRow() {
    if (!FReading) throw EDatabaseError("No rows are being read");
    PGresult* raw = PQgetResult(FConn.get());
    if (raw && PQresultStatus(raw) == PGRES_SINGLE_TUPLE) return TPgResult(raw);
    // The final result: the session is free once libpq has seen the end.
    TPgResult last(raw);
    while (PGresult* more = PQgetResult(FConn.get())) PQclear(more);
    FReading = false;
    FInterrupt = nullptr;
    if (!raw) RaiseConnectionError();
    return Check(last.Release());
}

void TPgSession::AbandonRows() noexcept {
    if (!FReading) return;
    FInterrupt = nullptr;
    // A window's worth is cheaper to read than to cancel; inside a
    // transaction a cancel would abort it, so everything is read there.
    for (int skipped = 0; FReadInTransaction || skipped < 64; ++skipped) {
        PGresult* result = PQgetResult(FConn.get());
        if (!result) {
            FReading = false;
            return;
        }
        PQclear(result);
    }
    if (PGcancel* cancel = PQgetCancel(FConn.get())) {
        char error[256];
        PQcancel(cancel, error, sizeof error);
        PQfreeCancel(cancel);
    }
    while (PGresult* result = PQgetResult(FConn.get())) PQclear(result);
    FReading = false;
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
